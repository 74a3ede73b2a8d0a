// The calculator keypad: 28 glossy keys in a six-column pad (or any custom
// set of buttons), hot and pressed tracking, and clicks reported by index.
// Overlapping keys share a pixel row or column; the lower index wins a hit.
#include "AdvCalculatorDropdown.h"

#include "AdvGDIP.h"
#include "ImgList.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Buttons and appearance.

TCalcButtonItem::TCalcButtonItem(TCollection* Collection) : TCollectionItem(Collection), Image(New<TPicture>()) {}

void TCalcButtonItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TCalcButtonItem*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(source->Caption);
    SetCaptionColor(source->CaptionColor);
    Tag = source->Tag;
    ImageIndex = source->ImageIndex;
    Image->Assign(source->Image.get());
    Enabled = source->Enabled;
    Name = source->Name;
}

TButtonAppearance::TButtonAppearance() : FFont(New<TFont>())
{
    FFont->SetSize(10);
    FFont->SetStyle(TFontStyles() << fsBold);
}

void TButtonAppearance::Store(TColor& Field, TColor Value)
{
    if (Field == Value)
        return;
    Field = Value;
    Changed();
}

void TButtonAppearance::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TButtonAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TButtonAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(s->FColor);
    SetColorTo(s->FColorTo);
    SetShineColor(s->FShineColor);
    SetColorHot(s->FColorHot);
    SetColorHotTo(s->FColorHotTo);
    SetGlowColorHot(s->FGlowColorHot);
    SetColorDown(s->FColorDown);
    SetColorDownTo(s->FColorDownTo);
    SetGlowColorDown(s->FGlowColorDown);
    SetColorChecked(s->FColorChecked);
    SetColorCheckedTo(s->FColorCheckedTo);
    SetColorDisabled(s->FColorDisabled);
    SetColorDisabledTo(s->FColorDisabledTo);
    SetBorderColor(s->FBorderColor);
    SetBorderColorHot(s->FBorderColorHot);
    SetBorderColorDown(s->FBorderColorDown);
    SetBorderColorChecked(s->FBorderColorChecked);
    SetFont(s->FFont.get());
    SetTextColor(s->FTextColor);
    SetSpecialTextColor(s->FSpecialTextColor);
}

// ---------------------------------------------------------------------------
// The glossy painter.

namespace {

ARGB WithAlpha(Byte Alpha, TColor Color) { return ColorToGPColorAlpha(Alpha, Color); }

void FillGradient(TGPGraphics& g, float x, float y, float w, float h, ARGB from, ARGB to, LinearGradientMode mode)
{
    if (w <= 0 || h <= 0)
        return;
    TGPLinearGradientBrush brush(MakeGPRectF(x, y, w, h), from, to, mode);
    g.FillRectangle(&brush, x, y, w, h);
}

} // namespace

void DrawGlossyButton(TCanvas* Canvas, const TRect& R, TColor BorderColor, TColor InnerLineColor, TColor Color,
                      TColor ColorTo, TColor GlowColor, TColor ShineColor)
{
    const float l = static_cast<float>(R.left), t = static_cast<float>(R.top);
    const float r = static_cast<float>(R.right), b = static_cast<float>(R.bottom);
    const float w = r - l;
    const float mid = static_cast<float>(R.top + (R.bottom - R.top) / 2);
    TGPGraphics g(Canvas->GetHandle());
    g.SetSmoothingMode(SmoothingModeAntiAlias);

    FillGradient(g, l, mid, w - 1, b - mid - 1, ColorToGPColor(Color), ColorToGPColor(ColorTo),
                 LinearGradientModeVertical);
    {
        TGPSolidBrush upper(ColorToGPColor(Color));
        g.FillRectangle(&upper, l, t, w - 1, mid - t);
    }
    FillGradient(g, l, t, w - 1, mid - t, WithAlpha(160, ShineColor), WithAlpha(90, ShineColor),
                 LinearGradientModeVertical);
    {
        TGPPen white(ColorToGPColor(clWhite), 1.0f);
        g.DrawLine(&white, l, t + 1, r, t + 1);
    }
    {
        TGPGraphicsPath path;
        path.AddLine(l + 1, t + 2, l + 1, b - 2);
        path.AddLine(l + 1, b - 2, r - 1, b - 2);
        path.AddLine(r - 1, b - 2, r - 1, t + 1);
        TGPPen inner(ColorToGPColor(InnerLineColor), 1.0f);
        g.DrawPath(&inner, &path);
    }
    {
        TGPPen border(ColorToGPColor(BorderColor), 1.0f);
        g.DrawRectangle(&border, l, t, w, b - t - 1);
    }
    if (GlowColor == clNone)
        return;
    {
        TGPPen glow(WithAlpha(100, GlowColor), 1.0f);
        g.DrawRectangle(&glow, l, t, w, b - t - 1);
    }
    // Strong at the button, fading out away from it; the diagonal modes run
    // from the upper left (forward) or upper right (backward) corner.
    const ARGB atButton = WithAlpha(130, GlowColor), away = WithAlpha(0, GlowColor);
    FillGradient(g, l - 8, t, 8, b - t, away, atButton, LinearGradientModeHorizontal);
    FillGradient(g, r - 1, t, 9, b - t, atButton, away, LinearGradientModeHorizontal);
    FillGradient(g, l, t - 8, w, 8, away, atButton, LinearGradientModeVertical);
    FillGradient(g, l, b - 1, w, 8, atButton, away, LinearGradientModeVertical);
    FillGradient(g, l - 6, b - 1, 6, 6, atButton, away, LinearGradientModeBackwardDiagonal);
    FillGradient(g, r, t - 6, 5, 6, away, atButton, LinearGradientModeBackwardDiagonal);
    FillGradient(g, r, b, 5, 5, atButton, away, LinearGradientModeForwardDiagonal);
    FillGradient(g, l - 6, t - 6, 6, 6, away, atButton, LinearGradientModeForwardDiagonal);
}

// ---------------------------------------------------------------------------
// The keypad.

namespace {

struct KeyDef {
    const wchar_t* caption;
    const wchar_t* name;
    int tag;
    bool special;
};

constexpr KeyDef CalculatorKeys[] = {
    {L"", L"BTN_ON", 30, false},        {L"Back", L"BTN_BACK", 31, true}, {L"CE", L"BTN_CE", 32, true},
    {L"C", L"BTN_C", 16, true},         {L"MC", L"BTN_MC", 33, true},     {L"MR", L"BTN_MR", 34, true},
    {L"MS", L"BTN_MS", 35, true},       {L"M+", L"BTN_M+", 36, true},     {L"0", L"BTN_0", 0, false},
    {L"1", L"BTN_1", 1, false},         {L"4", L"BTN_4", 4, false},       {L"7", L"BTN_7", 7, false},
    {L"8", L"BTN_8", 8, false},         {L"5", L"BTN_5", 5, false},       {L"2", L"BTN_2", 2, false},
    {L"+/-", L"BTN_+/-", 14, false},    {L".", L"BTN_.", 15, false},      {L"3", L"BTN_3", 3, false},
    {L"6", L"BTN_6", 6, false},         {L"9", L"BTN_9", 9, false},       {L"/", L"BTN_/", 13, true},
    {L"*", L"BTN_*", 12, true},         {L"-", L"BTN_-", 11, true},       {L"+", L"BTN_+", 10, true},
    {L"=", L"BTN_=", 17, true},         {L"1/x", L"BTN_1/x", 38, false},  {L"%", L"BTN_%", 18, false},
    {L"sqrt", L"BTN_sqrt", 37, true},
};

// Keys of the four lower rows by column, top to bottom.
constexpr int PadColumns[6][4] = {
    {4, 5, 6, 7}, {11, 10, 9, 8}, {12, 13, 14, 15}, {19, 18, 17, 16}, {20, 21, 22, 23}, {27, 26, 25, 24},
};

} // namespace

TCustomButtonPanel::TCustomButtonPanel(TComponent* AOwner)
    : TCustomControl(AOwner), Buttons(New<TCalcButtonItems>(this)), ButtonAppearance(New<TButtonAppearance>())
{
    Buttons->OnChange = [this](TObject* s) { ButtonsChanged(s); };
    ButtonAppearance->OnChange = [this](TObject* s) { AppearanceChanged(s); };
    OSVERSIONINFOW version{sizeof(version)};
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&version);
#pragma GCC diagnostic pop
    IsWinXP = version.dwMajorVersion > 5 || (version.dwMajorVersion == 5 && version.dwMinorVersion >= 1);
    SetDoubleBuffered(true);
}

void TCustomButtonPanel::ButtonsChanged(TObject*)
{
    if (!AdvDropDown)
        Invalidate();
}

void TCustomButtonPanel::AppearanceChanged(TObject*)
{
    if (!AdvDropDown)
        Invalidate();
}

void TCustomButtonPanel::Loaded()
{
    TCustomControl::Loaded();
    if (!AdvDropDown)
        CreateButtons();
}

void TCustomButtonPanel::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove || ComponentState().Contains(csDestroying))
        return;
    if (AComponent == Images)
        SetImages(nullptr);
    if (AComponent == Edit)
        SetEdit(nullptr);
}

void TCustomButtonPanel::SetImages(TCustomImageList* Value)
{
    if (Value == Images)
        return;
    Images = Value;
    ArrangeButtons();
}

void TCustomButtonPanel::SetEdit(TCustomEdit* Value) { Edit = Value; }

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType Value)
{
    if (Value == ButtonPanelType)
        return;
    ButtonPanelType = Value;
    ArrangeButtons();
}

void TCustomButtonPanel::GetButtonArea(TRect& Rect)
{
    Rect = GetClientRect();
    Rect.left += OffSetX;
    Rect.right -= OffSetX;
    Rect.top += OffSetY;
    Rect.bottom -= OffSetY;
}

void TCustomButtonPanel::ClearButtons() { Buttons->Clear(); }

void TCustomButtonPanel::ResetButtons()
{
    ClearButtons();
    CreateButtons();
}

void TCustomButtonPanel::CreateButtons()
{
    if (Buttons->Count() > 0)
        return;
    if (ButtonPanelType == plCalculator)
        for (const KeyDef& key : CalculatorKeys) {
            TCalcButtonItem* item = Buttons->Add();
            item->Caption = key.caption;
            item->Name = key.name;
            item->Tag = key.tag;
            item->Special = key.special;
            if (key.special)
                item->CaptionColor = RGB(128, 0, 0);
        }
    ArrangeButtons();
}

void TCustomButtonPanel::ArrangeButtons()
{
    if (Buttons->Count() == 0 || ButtonPanelType == plCustom)
        return;
    TRect area;
    GetButtonArea(area);
    constexpr int gap = 4;
    const int w = (area.right - area.left - 2 * gap) / 6;
    const int h = (area.bottom - area.top - gap) / 5;
    auto place = [&](int index, int x, int y, int width) {
        if (index >= Buttons->Count())
            return;
        TCalcButtonItem* item = Buttons->GetItem(index);
        item->Left = x;
        item->Top = y;
        item->Width = width;
        item->Height = h;
    };
    int x[6];
    x[0] = area.left;
    x[1] = x[0] + w + gap;
    x[2] = x[1] + w - 1;
    x[3] = x[2] + w - 1;
    x[4] = x[3] + w + gap;
    x[5] = x[4] + w - 1;
    const int y1 = area.top + h + gap;
    for (int column = 0; column < 6; ++column)
        for (int row = 0; row < 4; ++row)
            place(PadColumns[column][row], x[column], y1 + row * (h - 1), w);
    place(0, x[0], area.top, w);
    const int right = x[5] + w;
    const int x0 = x[0] + w + gap;
    const int w2 = (right - x0 - 2 * gap) / 3;
    place(1, x0, area.top, w2);
    place(2, x0 + w2 + gap, area.top, w2);
    place(3, x0 + 2 * (w2 + gap), area.top, right - (x0 + 2 * (w2 + gap)));
}

TRect TCustomButtonPanel::GetButtonRect(int Index) const
{
    if (!IsValid(Index))
        return TRect(-1, -1, -1, -1);
    return Buttons->GetItem(Index)->GetBoundsRect();
}

int TCustomButtonPanel::ButtonAtPos(int X, int Y) const
{
    for (int i = 0; i < Buttons->Count(); ++i) {
        const TRect r = Buttons->GetItem(i)->GetBoundsRect();
        if (X >= r.left && X < r.right && Y >= r.top && Y < r.bottom)
            return i;
    }
    return -1;
}

void TCustomButtonPanel::MeasureButtonSize(TSize& Size)
{
    TCanvas* canvas = GetCanvas();
    canvas->GetFont()->Assign(GetFont());
    int imageW = 0, imageH = 0, captionW = 0, captionH = 0;
    for (int i = 0; i < Buttons->Count(); ++i) {
        TCalcButtonItem* item = Buttons->GetItem(i);
        TGraphic* graphic = item->GetImage()->GetGraphic();
        if (graphic && !graphic->GetEmpty()) {
            imageW = std::max(imageW, graphic->GetWidth());
            imageH = std::max(imageH, graphic->GetHeight());
        } else if (Images && item->ImageIndex >= 0) {
            imageW = std::max(imageW, Images->GetWidth());
            imageH = std::max(imageH, Images->GetHeight());
        }
        const TSize text = MeasureTextSize(canvas, item->Caption);
        captionW = std::max<int>(captionW, text.cx);
        captionH = std::max<int>(captionH, text.cy);
    }
    const int gap = imageW > 0 && captionW > 0 ? CaptionGap : 0;
    if (ButtonLayout == ilCaptionLeft || ButtonLayout == ilCaptionRight) {
        Size.cx = 2 * ButtonOffSetX + imageW + gap + captionW;
        Size.cy = 2 * ButtonOffSetY + std::max(captionH, imageH);
    } else {
        Size.cx = 2 * ButtonOffSetX + std::max(captionW, imageW);
        Size.cy = 2 * ButtonOffSetY + imageH + (imageH > 0 && captionH > 0 ? CaptionGap : 0) + captionH;
    }
}

void TCustomButtonPanel::DrawButton(int Index, TCanvas* Canvas)
{
    if (!IsValid(Index) || !Canvas)
        return;
    TCalcButtonItem* item = Buttons->GetItem(Index);
    const TRect r = item->GetBoundsRect();
    if (r.left < 0 && r.right < 0)
        return;
    TButtonAppearance* a = ButtonAppearance.get();
    TColor border = a->GetBorderColor(), color = a->GetColor(), colorTo = a->GetColorTo(), glow = clNone;
    if (Index == ButtonDown) {
        border = a->GetBorderColorDown();
        color = a->GetColorDown();
        colorTo = a->GetColorDownTo();
        glow = a->GetGlowColorDown();
    } else if (Index == ButtonHot) {
        border = a->GetBorderColorHot();
        color = a->GetColorHot();
        colorTo = a->GetColorHotTo();
        glow = a->GetGlowColorHot();
    }
    DrawGlossyButton(Canvas, r, border, RGB(199, 224, 231), color, colorTo, glow, a->GetShineColor());

    TGraphic* picture = item->GetImage()->GetGraphic();
    if (picture && picture->GetEmpty())
        picture = nullptr;
    const bool listImage = !picture && Images && item->ImageIndex >= 0;
    const int imageW = picture ? picture->GetWidth() : listImage ? Images->GetWidth() : 0;
    const int imageH = picture ? picture->GetHeight() : listImage ? Images->GetHeight() : 0;
    const bool hasImage = picture || listImage;
    auto drawImage = [&](int x, int y) {
        if (picture)
            Canvas->Draw(x, y, picture);
        else if (listImage)
            Images->Draw(Canvas, x, y, item->ImageIndex, item->Enabled);
    };
    TRect c = r;
    c.left += ButtonOffSetX;
    c.right -= ButtonOffSetX;
    c.top += ButtonOffSetY;
    c.bottom -= ButtonOffSetY;
    Canvas->GetFont()->Assign(a->GetFont());
    Canvas->GetFont()->SetColor(item->Special ? a->GetSpecialTextColor() : a->GetTextColor());
    Canvas->GetBrush()->SetStyle(bsClear);
    const String& caption = item->Caption;
    auto drawCaption = [&](TRect cr, UINT flags) {
        DrawTextW(Canvas->GetHandle(), caption.c_str(), static_cast<int>(caption.size()), &cr, flags | DT_NOPREFIX);
    };
    const int centredY = c.top + (c.Height() - imageH) / 2;
    switch (ButtonLayout) {
    case ilCaptionLeft: {
        int imageX = c.left;
        if (!caption.empty()) {
            TRect cr = c;
            cr.right -= imageW;
            drawCaption(cr, DT_VCENTER | DT_SINGLELINE | (hasImage ? 0 : DT_CENTER));
            imageX = c.left + MeasureTextSize(Canvas, caption).cx + CaptionGap;
        }
        if (hasImage)
            drawImage(imageX, centredY);
        break;
    }
    case ilCaptionRight: {
        TRect cr = c;
        if (hasImage) {
            drawImage(c.left, centredY);
            cr.left = c.left + imageW + CaptionGap;
        }
        drawCaption(cr, DT_VCENTER | DT_SINGLELINE | (hasImage ? 0 : DT_CENTER));
        break;
    }
    case ilCaptionTop: {
        int imageY = centredY;
        if (!caption.empty()) {
            TRect cr = c;
            cr.bottom -= imageH;
            drawCaption(cr, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
            imageY = c.top + MeasureTextSize(Canvas, caption).cy + CaptionGap;
        }
        if (hasImage)
            drawImage(c.left, imageY);
        break;
    }
    case ilCaptionBottom: {
        TRect cr = c;
        if (hasImage) {
            const int imageY = caption.empty() ? centredY : c.top;
            drawImage(c.left, imageY);
            cr.top = imageY + imageH + CaptionGap;
        }
        drawCaption(cr, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        break;
    }
    }
    Canvas->GetBrush()->SetStyle(bsSolid);
}

void TCustomButtonPanel::DrawButtons(TCanvas* Canvas, bool IncludeHot)
{
    for (int i = 0; i < Buttons->Count(); ++i)
        if (IncludeHot || i != ButtonHot)
            DrawButton(i, Canvas);
}

void TCustomButtonPanel::Paint()
{
    TCustomControl::Paint();
    TCanvas* canvas = GetCanvas();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(GetClientRect());
    if (!AdvDropDown) {
        canvas->GetPen()->SetColor(clBlack);
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->Rectangle(GetClientRect());
        canvas->GetBrush()->SetStyle(bsSolid);
    }
    DrawButtons(canvas, false);
    if (ButtonHot >= 0)
        DrawButton(ButtonHot, canvas);
}

void TCustomButtonPanel::InvalidateButton(int Index)
{
    if (!IsValid(Index) || !HandleAllocated())
        return;
    TRect r = GetButtonRect(Index);
    InflateRect(&r, 8, 8);
    InvalidateRect(Handle(), &r, TRUE);
}

void TCustomButtonPanel::SetHotButton(int Index)
{
    if (Index == ButtonHot || (IsValid(Index) && !Buttons->GetItem(Index)->Enabled))
        return;
    if (ButtonHot >= 0) {
        const int old = ButtonHot;
        ButtonHot = -1;
        InvalidateButton(old);
    }
    ButtonHot = Index;
    if (Index >= 0 && HandleAllocated())
        DrawButton(Index, GetCanvas());
}

void TCustomButtonPanel::SetDownButton(int Index)
{
    if (Index == ButtonDown || (IsValid(Index) && !Buttons->GetItem(Index)->Enabled))
        return;
    if (ButtonDown >= 0) {
        const int old = ButtonDown;
        ButtonDown = -1;
        InvalidateButton(old);
    }
    ButtonDown = Index;
    if (Index >= 0 && HandleAllocated())
        DrawButton(Index, GetCanvas());
}

void TCustomButtonPanel::DoButtonClick(int Index)
{
    if (OnButtonClick)
        OnButtonClick(this, Index);
}

void TCustomButtonPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    const int i = ButtonAtPos(X, Y);
    if (i >= 0 && Buttons->GetItem(i)->Enabled)
        SetHotButton(i);
    else if (ButtonHot >= 0)
        SetHotButton(-1);
}

void TCustomButtonPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int i = ButtonAtPos(X, Y);
    if (i >= 0 && Buttons->GetItem(i)->Enabled)
        SetDownButton(i);
}

void TCustomButtonPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (ButtonDown < 0)
        return;
    const int pressed = ButtonDown;
    const int at = ButtonAtPos(X, Y);
    SetDownButton(-1);
    if (at == pressed)
        DoButtonClick(pressed);
}

void TCustomButtonPanel::MouseLeave()
{
    TCustomControl::MouseLeave();
    SetHotButton(-1);
}

void TCustomButtonPanel::Dispatch(TMessage& Message)
{
    TCustomControl::Dispatch(Message);
    if (Message.Msg == WM_SIZE)
        ArrangeButtons();
}
