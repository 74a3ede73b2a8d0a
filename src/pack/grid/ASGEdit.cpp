#include "ASGEdit.h"

#include "AdvXPVS.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include "ScopeExit.h"
#include <vssym32.h>

namespace {

int FontPixelHeight(HFONT Font)
{
    TMemoryDC dc;
    TSelectObject select(dc.Get(), Font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    return tm.tmHeight;
}

bool AltKeyDown()
{
    return GetKeyState(VK_MENU) < 0 || GetKeyState(VK_LMENU) < 0 || GetKeyState(VK_RMENU) < 0;
}

struct TMenuDestroyer {
    void operator()(HMENU Menu) const { DestroyMenu(Menu); }
};
using TMenuHandle = std::unique_ptr<std::remove_pointer_t<HMENU>, TMenuDestroyer>;

} // namespace

// --- the push button ---------------------------------------------------------------

TAdvSpeedButton::TAdvSpeedButton(TComponent* AOwner)
    : TSpeedButton(AOwner)
{
}

TAsgEditButton* TAdvSpeedButton::Holder() const { return dynamic_cast<TAsgEditButton*>(GetOwner()); }

void TAdvSpeedButton::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    Invalidate();
}

void TAdvSpeedButton::SetFlat(bool Value)
{
    FFlat = Value;
    Invalidate();
}

void TAdvSpeedButton::Paint()
{
    TCanvas* canvas = GetCanvas();
    HDC dc = canvas->GetHandle();
    RECT r{0, 0, GetWidth(), GetHeight()};
    const bool pressed = State() == bsDown || State() == bsExclusive;
    TAsgEditButton* holder = Holder();

    bool drawn = false;
    if (holder && holder->GetButtonColor() != clNone) {
        FFlat = true;
        TColor fill = holder->GetButtonColor();
        if (pressed && holder->GetButtonColorDown() != clNone)
            fill = holder->GetButtonColorDown();
        else if (FHot && holder->GetButtonColorHot() != clNone)
            fill = holder->GetButtonColorHot();
        canvas->GetBrush()->SetColor(fill);
        canvas->FillRect(TRect(r));
        drawn = true;
    } else if (FIsWinXP && GetParent()) {
        AdvXPVS::TThemeData theme(PlatformProbe().ThemeActive, GetParent()->GetHandle(), L"button");
        const int state = pressed ? PBS_PRESSED : FHot ? PBS_HOT : PBS_NORMAL;
        drawn = theme.Draw(dc, BP_PUSHBUTTON, state, r);
    }
    if (!drawn) {
        if (FFlat) {
            DrawEdge(dc, &r, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
            InflateRect(&r, -1, -1);
        } else {
            DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
        }
    }

    TBitmap* glyph = GetGlyph();
    if (glyph && !glyph->GetEmpty()) {
        const int glyphWidth = glyph->GetWidth() / std::max(1, GetNumGlyphs());
        const int glyphHeight = glyph->GetHeight();
        int x = glyphWidth < GetWidth() ? (GetWidth() - glyphWidth) / 2 : 0;
        int y = glyphHeight < GetHeight() ? (GetHeight() - glyphHeight) / 2 : 0;
        if (pressed) {
            ++x;
            ++y;
        }
        const TColor transparent = glyph->GetCanvas()->GetPixels(0, glyphHeight - 1);
        TransparentBlt(dc, x, y, glyphWidth, glyphHeight, glyph->GetCanvas()->GetHandle(), 0, 0, glyphWidth,
                       glyphHeight, ColorToRGB(transparent));
    }

    const String caption = GetCaption();
    if (!caption.empty()) {
        if (pressed)
            OffsetRect(&r, 1, 1);
        TSelectObject font(dc, GetFont()->GetHandle());
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TAdvSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft)
        FPressedHere = true;
    TSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TAdvSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool release = Button == mbLeft && FPressedHere;
    if (Button == mbLeft)
        FPressedHere = false;
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (release)
        if (TAsgEditButton* holder = Holder())
            holder->ButtonReleased();
}

void TAdvSpeedButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FHot = Message.Msg == CM_MOUSEENTER;
        TSpeedButton::Dispatch(Message);
        Invalidate();
        return;
    default:
        TSpeedButton::Dispatch(Message);
    }
}

// --- the button control ------------------------------------------------------------

TAsgEditButton::TAsgEditButton(TComponent* AOwner)
    : TWinControl(AOwner)
{
    ControlStyle = ControlStyle - csAcceptsControls - csSetCaption + csOpaque;
    SetBounds(0, 0, 20, 25);
    FButton = New<TAdvSpeedButton>(this);
    FButton->SetParent(this);
    FitButton();
}

void TAsgEditButton::FitButton()
{
    if (FButton && !ComponentState().Contains(csLoading))
        FButton->SetBounds(0, 0, GetWidth(), GetHeight());
}

void TAsgEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FitButton();
}

void TAsgEditButton::Loaded()
{
    TWinControl::Loaded();
    FitButton();
}

void TAsgEditButton::Dispatch(TMessage& Message)
{
    TWinControl::Dispatch(Message);
    if (Message.Msg == WM_SIZE)
        FitButton();
}

void TAsgEditButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
    if (Operation == opRemove && AComponent == FButton)
        FButton = nullptr;
}

void TAsgEditButton::SetFocusControl(TWinControl* Value)
{
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TAsgEditButton::ButtonReleased()
{
    if (OnClick)
        OnClick(this);
    if (FFocusControl && FFocusControl->GetTabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (GetTabStop() && !Focused() && CanFocus())
        SetFocus();
}

String TAsgEditButton::GetButtonCaption() const { return FButton ? FButton->GetCaption() : String(); }

void TAsgEditButton::SetButtonCaption(const String& Value)
{
    if (FButton)
        FButton->SetCaption(Value);
}

TBitmap* TAsgEditButton::GetGlyph() const { return FButton ? FButton->GetGlyph() : nullptr; }

void TAsgEditButton::SetGlyph(TBitmap* Value)
{
    if (FButton)
        FButton->SetGlyph(Value);
}

int TAsgEditButton::GetNumGlyphs() const { return FButton ? FButton->GetNumGlyphs() : 1; }

void TAsgEditButton::SetNumGlyphs(int Value)
{
    if (FButton)
        FButton->SetNumGlyphs(Value);
}

void TAsgEditButton::SetFlat(bool Value)
{
    FFlat = Value;
    if (FButton)
        FButton->SetFlat(Value);
}

void TAsgEditButton::SetButtonColor(TColor Value)
{
    FButtonColor = Value;
    if (FButton)
        FButton->Invalidate();
}

// --- the edit ----------------------------------------------------------------------

TAsgEditBtn::TAsgEditBtn(TComponent* AOwner)
    : TCustomMaskEdit(AOwner)
{
    ControlStyle = ControlStyle - csSetCaption;
    SetText(L"0");
    FButton = New<TAsgEditButton>(this);
    FButton->SetBounds(0, 0, 18, 18);
    FButton->SetVisible(true);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnClick = [this](TObject* Sender) { DoClickBtn(Sender); };
}

void TAsgEditBtn::BeforeDestruction()
{
    // The owned button goes with the components; nothing may reach it then.
    FButton = nullptr;
    TCustomMaskEdit::BeforeDestruction();
}

void TAsgEditBtn::DoClickBtn(TObject* Sender)
{
    if (OnClickBtn)
        OnClickBtn(Sender);
}

void TAsgEditBtn::SetButtonCaption(const String& Value)
{
    if (FButton)
        FButton->SetButtonCaption(Value);
}

void TAsgEditBtn::SetGlyph(TBitmap* Value)
{
    if (FButton)
        FButton->SetGlyph(Value);
}

void TAsgEditBtn::SetButtonWidth(int Value)
{
    FButtonWidth = Value;
    if (FButton)
        FButton->SetWidth(Value);
    Resized();
}

void TAsgEditBtn::SetRightAlign(bool Value)
{
    if (FRightAlign == Value)
        return;
    FRightAlign = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TAsgEditBtn::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    if (FButton && FButton->GetButton())
        FButton->GetButton()->SetIsWinXP(Value);
}

void TAsgEditBtn::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    if (FRightAlign)
        Params.Style |= ES_RIGHT;
}

void TAsgEditBtn::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TAsgEditBtn::SetEditRect()
{
    if (!HandleAllocated() || !FButton)
        return;
    const int margin = GetBorderStyle() == bsSingle ? 1 : 3;
    RECT r{margin, margin, GetClientWidth() - (FButton->GetWidth() + FUnitSize + 5), GetClientHeight() + 1};
    if (FUnitSize > 0)
        r.right -= 3;
    SendMessageW(GetHandle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

int TAsgEditBtn::MinHeight()
{
    const int fontHeight = FontPixelHeight(GetFont()->GetHandle());
    const int systemHeight = FontPixelHeight(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    return fontHeight + std::min(fontHeight, systemHeight) / 4;
}

void TAsgEditBtn::Resized()
{
    if (!FButton)
        return;
    const int minHeight = MinHeight();
    if (GetHeight() < minHeight) {
        SetHeight(minHeight);
        return;
    }
    const bool bordered = GetBorderStyle() == bsSingle;
    const int width = FButton->GetWidth();
    FButton->SetBounds(GetWidth() - width - (bordered ? 5 : 1), 0, width, GetHeight() - (bordered ? 5 : 1));
    SetEditRect();
}

void TAsgEditBtn::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CHAR:
        if (FEditorEnabled)
            TCustomMaskEdit::Dispatch(Message);
        return;
    case WM_PASTE:
    case WM_CUT:
        if (FEditorEnabled && !GetReadOnly())
            TCustomMaskEdit::Dispatch(Message);
        return;
    case CM_ENTER:
        if (GetAutoSelect() && !(GetKeyState(VK_LBUTTON) < 0))
            SelectAll();
        TCustomMaskEdit::Dispatch(Message);
        return;
    case WM_SIZE:
        TCustomMaskEdit::Dispatch(Message);
        Resized();
        return;
    default:
        TCustomMaskEdit::Dispatch(Message);
    }
}

void TAsgEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    TCustomMaskEdit::KeyDown(Key, Shift);
    // AltGr arrives as Ctrl with the right Alt: either rules the key out.
    if (Key == VK_F4 && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt) && !AltKeyDown())
        DoClickBtn(this);
}

// --- the unit edit -----------------------------------------------------------------

TAsgUnitEditBtn::TAsgUnitEditBtn(TComponent* AOwner)
    : TAsgEditBtn(AOwner), FUnits(New<TStringList>())
{
    FUnitSize = 20;
    SetRightAlign(true);
}

void TAsgUnitEditBtn::SetUnits(TStrings* Value)
{
    if (Value)
        FUnits->Assign(Value);
}

void TAsgUnitEditBtn::SetUnitID(const String& Value)
{
    FUnitID = Value;
    Invalidate();
}

void TAsgUnitEditBtn::SetUnitSpace(int Value)
{
    FUnitSize = Value;
    SetEditRect();
    Invalidate();
}

String TAsgUnitEditBtn::GetTextAndUnit() const { return GetText() + FUnitID; }

void TAsgUnitEditBtn::SetTextAndUnit(const String& Value)
{
    for (int i = 0; i < FUnits->Count(); ++i) {
        const String unit = FUnits->Get(i);
        if (unit.empty() || unit.size() > Value.size())
            continue;
        // The unit must end the value and appear nowhere before that.
        if (Value.find(unit) == Value.size() - unit.size()) {
            SetText(Value.substr(0, Value.size() - unit.size()));
            SetUnitID(unit);
            return;
        }
    }
}

void TAsgUnitEditBtn::DoClickBtn(TObject*)
{
    if (OnClickBtn)
        OnClickBtn(this);
    TMenuHandle menu(CreatePopupMenu());
    if (!menu)
        return;
    for (int i = 0; i < FUnits->Count(); ++i)
        AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(i + 1), FUnits->Get(i).c_str());
    const POINT origin = GetClientOrigin();
    TrackPopupMenu(menu.get(), TPM_LEFTBUTTON, origin.x + GetClientWidth() - 15, origin.y + GetClientHeight(), 0,
                   GetHandle(), nullptr);
}

void TAsgUnitEditBtn::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_COMMAND && Message.LParam == 0) {
        const int id = LOWORD(Message.WParam);
        // Only the menu's own identifiers choose: 0 would select no unit.
        if (HIWORD(Message.WParam) != 768 && id >= 1 && id <= FUnits->Count()) {
            const String previous = FUnitID;
            SetUnitID(FUnits->Get(id - 1));
            if (FUnitID != previous && OnUnitChanged)
                OnUnitChanged(this, FUnitID);
        }
        return;
    }
    TAsgEditBtn::Dispatch(Message);
    if (Message.Msg == WM_PAINT)
        PaintUnit();
}

void TAsgUnitEditBtn::PaintUnit()
{
    if (!HandleAllocated() || !FButton)
        return;
    TWindowDC dc(GetHandle());
    TSelectObject font(dc.Get(), GetFont()->GetHandle());
    RECT r{0, 2, GetClientWidth() - (FButton->GetWidth() + 3), GetClientHeight()};
    r.left = r.right - FUnitSize;
    DrawTextW(dc.Get(), FUnitID.c_str(), -1, &r, DT_EDITCONTROL);
}

// --- the image button --------------------------------------------------------------

TAsgSpeedButton::TAsgSpeedButton(TComponent* AOwner)
    : TSpeedButton(AOwner), FPicture(New<TPicture>())
{
}

void TAsgSpeedButton::SetPicture(TPicture* Value)
{
    FPicture->Assign(Value);
    Invalidate();
}

void TAsgSpeedButton::SetImages(TCustomImageList* Value)
{
    FImages = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TAsgSpeedButton::SetImageIndex(int Value)
{
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    Invalidate();
}

void TAsgSpeedButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TSpeedButton::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        FImages = nullptr;
}

void TAsgSpeedButton::Paint()
{
    TSpeedButton::Paint();
    TCanvas* canvas = GetCanvas();
    if (FImages && FImageIndex >= 0 && FImageIndex < FImages->Count())
        FImages->Draw(canvas, (GetWidth() - FImages->GetWidth()) / 2, (GetHeight() - FImages->GetHeight()) / 2,
                      FImageIndex, true);
    if (TGraphic* graphic = FPicture->GetGraphic(); graphic && !graphic->GetEmpty())
        canvas->Draw((GetWidth() - FPicture->GetWidth()) / 2, (GetHeight() - FPicture->GetHeight()) / 2, graphic);
}
