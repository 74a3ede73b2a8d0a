// The grid family's flat button and check box.
//
// The button keeps the speed button's rules for groups: only a grouped or
// checking button stays down, pressing one of a group releases the others,
// and a down button of a group without AllowAllUp stays down when pressed
// again. The check box fires its own clicks: a toggle by the mouse, by Space
// or by its accelerator, never a second one from the class library.
#include "AdvGridButtons.h"
#include "AdvXPVS.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include <algorithm>
#include <cmath>
#include <vssym32.h>

namespace {

struct TLookColors {
    TColor Color, ColorTo, ColorHot, ColorHotTo, ColorDown, ColorDownTo, ColorChecked, ColorCheckedTo,
        BorderDownColor, BorderHotColor;
};

constexpr TLookColors LookColors[] = {
    {0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, clNone, 0xAF987A, 0xC3CECE},
    {clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31, 0xC56A31},
    {0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0, 0},
    {0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0, 0},
    {0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0, 0},
    {clBtnFace, clNone, clBtnFace, clNone, 0xD8D3D2, clNone, 0xCAC7C7, clNone, clNone, clNone},
    {0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, 0x808080, 0x808080},
};

constexpr int DropDownWidth = 12;

bool EmptyBitmap(const TBitmap* b) { return !b || b->GetWidth() == 0 || b->GetHeight() == 0; }

void Outline(TCanvas* Canvas, const TRect& R, TColor Color, bool Rounded)
{
    if (Color == clNone)
        return;
    Canvas->GetPen()->SetColor(Color);
    Canvas->GetBrush()->SetStyle(bsClear);
    if (Rounded)
        Canvas->RoundRect(R.left, R.top, R.right, R.bottom, 8, 8);
    else
        Canvas->Rectangle(R.left, R.top, R.right, R.bottom);
    Canvas->GetBrush()->SetStyle(bsSolid);
}

void Face(TCanvas* Canvas, const TRect& R, TColor From, TColor To, TColor Border)
{
    if (To == clNone) {
        Canvas->GetBrush()->SetColor(From);
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->FillRect(R);
        if (Border != clNone)
            Outline(Canvas, R, Border, false);
    } else {
        DrawButtonGradient(Canvas, From, To, false, R, 16, Border);
    }
}

} // namespace

void DrawButtonGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R,
                        int Steps, TColor Border)
{
    Steps = std::max(Steps, 1);
    const COLORREF from = ColorToRGB(FromColor);
    const COLORREF to = ColorToRGB(ToColor);
    const int extent = Horizontal ? R.right - R.left : R.bottom - R.top;
    for (int i = 0; i < Steps; ++i) {
        auto channel = [&](int f, int t) { return f + static_cast<int>(std::lround(i * (t - f) / double(Steps))); };
        const COLORREF c = RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
                               channel(GetBValue(from), GetBValue(to)));
        const int start = extent * i / Steps;
        const int end = extent * (i + 1) / Steps + 1;
        TRect band = R;
        if (Horizontal) {
            band.left = R.left + start;
            band.right = std::min<LONG>(R.right, R.left + end);
        } else {
            band.top = R.top + start;
            band.bottom = std::min<LONG>(R.bottom, R.top + end);
        }
        Canvas->GetBrush()->SetColor(static_cast<TColor>(c));
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->FillRect(band);
    }
    if (Border != clNone)
        Outline(Canvas, R, Border, false);
}

int LookForColorScheme(const String& Scheme, bool Themed)
{
    if (!Themed)
        return 1;
    if (Scheme == L"NormalColor")
        return 2;
    if (Scheme == L"HomeStead")
        return 3;
    if (Scheme == L"Metallic")
        return 4;
    return 1;
}

String GetXPColorScheme()
{
    if (!PlatformProbe().ThemeActive || !AdvXPVS::GetCurrentThemeName)
        return {};
    wchar_t file[MAX_PATH]{}, colour[MAX_PATH]{}, size[MAX_PATH]{};
    if (AdvXPVS::GetCurrentThemeName(file, MAX_PATH, colour, MAX_PATH, size, MAX_PATH) != S_OK)
        return {};
    return colour;
}

// --- the button ------------------------------------------------------------------------------------

TAdvGridButton::TAdvGridButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(New<TBitmap>()), FGlyphHot(New<TBitmap>()), FGlyphDown(New<TBitmap>()),
      FGlyphDisabled(New<TBitmap>()), FShade(New<TBitmap>())
{
    SetBounds(0, 0, 22, 23);
    // The button fires its own click on release (group and check logic
    // decide first), so the base class's click on release is off.
    ControlStyle = {csCaptureMouse, csDoubleClicks};
}

void TAdvGridButton::SetDown(bool Value)
{
    if (FGroupIndex == 0 && FStyle != tasCheck)
        Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        Invalidate();
        return;
    }
    if (Value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp)
            Invalidate();
        FState = bsExclusive;
        UpdateExclusive();
    } else {
        FState = bsUp;
        Invalidate();
    }
}

void TAdvGridButton::SetGroupIndex(int Value)
{
    if (Value == FGroupIndex)
        return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TAdvGridButton::SetAllowAllUp(bool Value)
{
    if (Value == FAllowAllUp)
        return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TAdvGridButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !GetParent())
        return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
    GetParent()->Broadcast(m);
}

void TAdvGridButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_BUTTONPRESSED:
        if (static_cast<int>(Message.WParam) == FGroupIndex) {
            auto* sender = reinterpret_cast<TAdvGridButton*>(Message.LParam);
            if (sender && sender != this) {
                if (sender->GetDown() && FDown) {
                    FDown = false;
                    FState = bsUp;
                    Invalidate();
                }
                FAllowAllUp = sender->GetAllowAllUp();
            }
        }
        return;
    case WM_THEMECHANGED:
    case CM_SYSCOLORCHANGE:
        if (FAutoThemeAdapt)
            AdaptToTheme();
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<Word>(Message.WParam), FCaption) && GetEnabled() && GetVisible() && GetParent() &&
            GetParent()->Showing()) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(Message);
}

void TAdvGridButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropDownMenu)
        FDropDownMenu = nullptr;
}

void TAdvGridButton::Loaded()
{
    TGraphicControl::Loaded();
    BuildShade();
    if (FAutoThemeAdapt)
        AdaptToTheme();
}

void TAdvGridButton::SetGlyph(TBitmap* Value)
{
    FGlyph->Assign(Value);
    if (EmptyBitmap(FGlyphDisabled.get()) && !EmptyBitmap(FGlyph.get())) {
        const int w = FGlyph->GetWidth(), h = FGlyph->GetHeight();
        FGlyphDisabled->SetPixelFormat(pf24bit);
        FGlyphDisabled->SetSize(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF p = ColorToRGB(FGlyph->GetCanvas()->GetPixels(x, y));
                const int grey =
                    static_cast<int>(std::lround((GetRValue(p) + GetGValue(p) + GetBValue(p)) / 3.0)) / 2 + 96;
                FGlyphDisabled->GetCanvas()->SetPixels(x, y, static_cast<TColor>(RGB(grey, grey, grey)));
            }
    }
    if (FShaded && !ComponentState().Contains(csLoading))
        BuildShade();
    Invalidate();
}

void TAdvGridButton::SetGlyphHot(TBitmap* Value) { FGlyphHot->Assign(Value); }
void TAdvGridButton::SetGlyphDown(TBitmap* Value) { FGlyphDown->Assign(Value); }
void TAdvGridButton::SetGlyphDisabled(TBitmap* Value) { FGlyphDisabled->Assign(Value); }

void TAdvGridButton::BuildShade()
{
    if (!FShaded || EmptyBitmap(FGlyph.get())) {
        FShade->SetSize(0, 0);
        return;
    }
    const int w = FGlyph->GetWidth(), h = FGlyph->GetHeight();
    const TColor transparent = FGlyph->GetCanvas()->GetPixels(0, h - 1);
    FShade->SetPixelFormat(pf24bit);
    FShade->SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor p = FGlyph->GetCanvas()->GetPixels(x, y);
            FShade->GetCanvas()->SetPixels(x, y, p == transparent ? transparent : TColor(0x808080));
        }
}

void TAdvGridButton::SetStyle(TAdvGridButtonStyle Value)
{
    FStyle = Value;
    Invalidate();
}

void TAdvGridButton::SetFlat(bool Value)
{
    if (Value != FFlat) {
        FFlat = Value;
        Invalidate();
    }
}

void TAdvGridButton::SetLayout(TButtonLayout Value)
{
    if (Value != FLayout) {
        FLayout = Value;
        Invalidate();
    }
}

void TAdvGridButton::SetMargin(int Value)
{
    if (Value >= -1 && Value != FMargin) {
        FMargin = Value;
        Invalidate();
    }
}

void TAdvGridButton::SetSpacing(int Value)
{
    if (Value != FSpacing) {
        FSpacing = Value;
        Invalidate();
    }
}

void TAdvGridButton::SetShowCaption(bool Value)
{
    if (Value != FShowCaption) {
        FShowCaption = Value;
        Invalidate();
    }
}

void TAdvGridButton::SetColor(TColor Value)
{
    FColor = Value;
    Invalidate();
}

void TAdvGridButton::SetColorTo(TColor Value)
{
    FColorTo = Value;
    Invalidate();
}

void TAdvGridButton::SetColorChecked(TColor Value)
{
    FColorChecked = Value;
    Invalidate();
}

void TAdvGridButton::SetColorCheckedTo(TColor Value)
{
    FColorCheckedTo = Value;
    Invalidate();
}

void TAdvGridButton::SetBorderColor(TColor Value)
{
    FBorderColor = Value;
    Invalidate();
}

void TAdvGridButton::SetRounded(bool Value)
{
    FRounded = Value;
    Invalidate();
}

void TAdvGridButton::SetShaded(bool Value)
{
    FShaded = Value;
    if (!ComponentState().Contains(csLoading))
        BuildShade();
}

void TAdvGridButton::SetDropDownButton(bool Value)
{
    FDropDownButton = Value;
    Invalidate();
}

void TAdvGridButton::SetDropDownMenu(TPopupMenu* Value)
{
    FDropDownMenu = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TAdvGridButton::SetCaption(const String& Value)
{
    FCaption = Value;
    Invalidate();
}

void TAdvGridButton::SetAutoThemeAdapt(bool Value)
{
    FAutoThemeAdapt = Value;
    if (Value && !ComponentState().Contains(csLoading))
        AdaptToTheme();
}

void TAdvGridButton::AdaptToTheme()
{
    const TPlatformProbe& probe = PlatformProbe();
    const bool xp = probe.WindowsMajor > 5 || (probe.WindowsMajor == 5 && probe.WindowsMinor > 0);
    SetLook(LookForColorScheme(GetXPColorScheme(), xp && probe.ThemeActive));
}

void TAdvGridButton::SetLook(int Value)
{
    if (Value < 0 || Value > 6)
        return;
    FLook = Value;
    const TLookColors& c = LookColors[Value];
    FFlat = true;
    FRounded = Value == 0;
    FBorderColor = clNone;
    FColor = c.Color;
    FColorTo = c.ColorTo;
    FColorHot = c.ColorHot;
    FColorHotTo = c.ColorHotTo;
    FColorDown = c.ColorDown;
    FColorDownTo = c.ColorDownTo;
    FColorChecked = c.ColorChecked;
    FColorCheckedTo = c.ColorCheckedTo;
    FBorderDownColor = c.BorderDownColor;
    FBorderHotColor = c.BorderHotColor;
    Invalidate();
}

void TAdvGridButton::Click() { TGraphicControl::Click(); }

void TAdvGridButton::MouseEnter()
{
    if (GetEnabled() && !GetCaptureControl())
        FMouseInControl = true;
    Invalidate();
    TGraphicControl::MouseEnter();
}

void TAdvGridButton::MouseLeave()
{
    if (!FDragging)
        FMouseInControl = false;
    Invalidate();
    TGraphicControl::MouseLeave();
}

void TAdvGridButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !GetEnabled())
        return;
    if (Shift.Contains(ssDouble)) {
        if (FDown && OnDblClick)
            OnDblClick(this);
        return;
    }
    if (FDropDownButton && X >= GetWidth() - DropDownWidth) {
        FState = bsUp;
        if (OnDropDown)
            OnDropDown(this);
        if (FDropDownMenu) {
            POINT p{0, GetHeight()};
            p = ClientToScreen(p);
            FDropDownMenu->Popup(p.x, p.y);
        }
        return;
    }
    if (!FDown || FStyle == tasCheck)
        FState = bsDown;
    FDragging = true;
    Repaint();
}

void TAdvGridButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    const bool inside = X >= 0 && X < GetWidth() && Y >= 0 && Y < GetHeight();
    TButtonState state = inside ? (FDown ? bsExclusive : bsDown) : (FDown ? bsExclusive : bsUp);
    if (FStyle == tasCheck && FDown)
        state = bsDown;
    if (state != FState) {
        FState = state;
        Invalidate();
    }
}

void TAdvGridButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging || Button != mbLeft)
        return;
    FDragging = false;
    const bool inside = X >= 0 && X < GetWidth() && Y >= 0 && Y < GetHeight();
    if (FStyle == tasCheck) {
        FState = bsUp;
        if (inside)
            SetDown(!FDown);
    } else if (FGroupIndex == 0) {
        FState = bsUp;
    } else if (inside) {
        SetDown(!FDown);
        FState = FDown ? bsExclusive : bsUp;
    } else {
        FState = FDown ? bsExclusive : bsUp;
    }
    if (inside)
        Click();
    // The hover state from where the cursor is now.
    POINT p{};
    GetCursorPos(&p);
    if (GetParent() && GetParent()->HandleAllocated()) {
        p = ScreenToClient(p);
        FMouseInControl = p.x >= 0 && p.x < GetWidth() && p.y >= 0 && p.y < GetHeight();
    }
    Invalidate();
}

TBitmap* TAdvGridButton::ChosenGlyph() const
{
    const bool pressed = FState == bsDown;
    if (!GetEnabled())
        return EmptyBitmap(FGlyphDisabled.get()) ? FGlyph.get() : FGlyphDisabled.get();
    if (FMouseInControl) {
        if (pressed && !EmptyBitmap(FGlyphDown.get()))
            return FGlyphDown.get();
        if (!EmptyBitmap(FGlyphHot.get()) && !ComponentState().Contains(csDesigning))
            return FGlyphHot.get();
        return FGlyph.get();
    }
    if ((pressed || FState == bsExclusive) && !EmptyBitmap(FGlyphDown.get()))
        return FGlyphDown.get();
    return FGlyph.get();
}

void TAdvGridButton::Paint()
{
    TCanvas* canvas = GetCanvas();
    const bool designing = ComponentState().Contains(csDesigning);
    if (!GetEnabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown)
        FState = bsDown;
    const bool hovered = FMouseInControl && GetEnabled() && !designing;
    TRect r(0, 0, GetWidth(), GetHeight());

    if (FFlat) {
        TRect face = r;
        if (FBorderDownColor == clNone || FRounded)
            face = TRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
        if (!hovered) {
            if (FStyle == tasCheck && FDown) {
                Face(canvas, face, FColorChecked, FColorCheckedTo, FBorderDownColor);
            } else {
                const TColor border = FRounded ? clNone : FDown ? FBorderDownColor : FBorderColor;
                Face(canvas, face, FColor, FColorTo, border);
            }
            Outline(canvas, face, FBorderColor, FRounded);
        } else {
            TColor from = FColorHot, to = FColorHotTo, border = FBorderHotColor;
            if (FState == bsDown) {
                from = FColorDown;
                to = FColorDownTo;
                border = FBorderDownColor;
            } else if (FStyle == tasCheck && FDown) {
                from = FColorChecked;
                to = FColorCheckedTo;
            }
            Face(canvas, face, from, to, FRounded ? clNone : border);
            if (FRounded)
                Outline(canvas, face, border, true);
            if (FDropDownButton) {
                canvas->GetPen()->SetColor(border == clNone ? clGray : border);
                canvas->MoveTo(r.right - DropDownWidth, r.top + 2);
                canvas->LineTo(r.right - DropDownWidth, r.bottom - 2);
            }
        }
        r = TRect(face.left + 1, face.top + 1, face.right - 1, face.bottom - 1);
    } else {
        const bool pressed = FState == bsDown || FState == bsExclusive;
        RECT edge = r;
        const AdvXPVS::TThemeData theme(FAutoXPStyle && PlatformProbe().ThemeActive && PlatformProbe().ComCtl6(),
                                        GetParent() ? GetParent()->GetHandle() : nullptr, L"button");
        const int state = pressed ? PBS_PRESSED : FMouseInControl ? PBS_HOT : PBS_NORMAL;
        if (!theme.Draw(canvas->GetHandle(), BP_PUSHBUTTON, state, edge))
            DrawFrameControl(canvas->GetHandle(), &edge, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    }
    if (FState == bsExclusive && (!FFlat || !hovered))
        Face(canvas, r, FColorChecked, FColorCheckedTo, FDown ? FBorderDownColor : FBorderColor);

    int offset = 0;
    if (!designing && !FFlat && (FState == bsDown || FState == bsExclusive))
        offset = 1;
    if (!designing && FFlat && hovered && FShaded && FState != bsDown && FState != bsExclusive)
        offset = -1;
    if (FDropDownButton) {
        const int mid = (r.top + r.bottom) / 2;
        const TPoint arrow[3] = {TPoint(r.right - 8, mid), TPoint(r.right - 4, mid), TPoint(r.right - 6, mid + 2)};
        canvas->GetPen()->SetColor(GetFont()->GetColor());
        canvas->GetBrush()->SetColor(GetFont()->GetColor());
        canvas->Polygon(arrow, 3);
        r.right -= DropDownWidth;
    }

    // Glyph and caption as a speed button lays them out.
    TBitmap* glyph = ChosenGlyph();
    const bool hasGlyph = !EmptyBitmap(glyph);
    const String caption = FShowCaption ? FCaption : String();
    canvas->GetFont()->Assign(GetFont());
    SIZE text{};
    if (!caption.empty())
        GetTextExtentPoint32W(canvas->GetHandle(), caption.c_str(), static_cast<int>(caption.size()), &text);
    const int gw = hasGlyph ? glyph->GetWidth() : 0;
    const int gh = hasGlyph ? glyph->GetHeight() : 0;
    const bool sideways = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const int spacing = hasGlyph && !caption.empty() ? std::max(FSpacing, 0) : 0;
    const int total = sideways ? gw + spacing + text.cx : gh + spacing + text.cy;
    const int room = sideways ? r.right - r.left : r.bottom - r.top;
    const int start = FMargin < 0 || caption.empty() ? (room - total) / 2 : FMargin;
    POINT glyphAt{}, textAt{};
    if (sideways) {
        const bool first = FLayout == blGlyphLeft;
        glyphAt = {r.left + (first ? start : start + text.cx + spacing), r.top + (r.bottom - r.top - gh) / 2};
        textAt = {r.left + (first ? start + gw + spacing : start), r.top + (r.bottom - r.top - text.cy) / 2};
    } else {
        const bool first = FLayout == blGlyphTop;
        glyphAt = {r.left + (r.right - r.left - gw) / 2, r.top + (first ? start : start + text.cy + spacing)};
        textAt = {r.left + (r.right - r.left - text.cx) / 2, r.top + (first ? start + gh + spacing : start)};
    }
    if (hasGlyph) {
        if (hovered && FShaded && FState != bsDown && !EmptyBitmap(FShade.get())) {
            const int shift = caption.empty() ? 0 : 2;
            FShade->SetTransparent(true);
            canvas->Draw(glyphAt.x + shift, glyphAt.y + shift, FShade.get());
        }
        glyph->SetTransparent(true);
        canvas->Draw(glyphAt.x + offset, glyphAt.y + offset, glyph);
    }
    if (!caption.empty()) {
        canvas->GetBrush()->SetStyle(bsClear);
        if (!GetEnabled()) {
            canvas->GetFont()->SetColor(clBtnHighlight);
            canvas->TextOut(textAt.x + 1, textAt.y + 1, caption);
            canvas->GetFont()->SetColor(clBtnShadow);
        }
        canvas->TextOut(textAt.x + offset, textAt.y + offset, caption);
        canvas->GetBrush()->SetStyle(bsSolid);
    }
}

// --- the check box -------------------------------------------------------------------------------------

TAdvCheckBox::TAdvCheckBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 98, 20);
    // Toggle and click come from the box's own release and Space handling.
    ControlStyle >> csClickEvents;
    SetTabStop(false);
    SetParentColor(true);
}

void TAdvCheckBox::InvalidateBox()
{
    if (!HandleAllocated())
        return;
    RECT box = FAlignment == taRightJustify ? RECT{GetWidth() - 20, 0, GetWidth(), GetHeight()}
                                            : RECT{0, 0, 20, GetHeight()};
    ::InvalidateRect(GetHandle(), &box, TRUE);
}

void TAdvCheckBox::SetState(TCheckBoxState Value)
{
    if (Value == FState)
        return;
    FState = Value;
    InvalidateBox();
}

void TAdvCheckBox::SetChecked(bool Value)
{
    SetState(Value ? cbChecked : cbUnchecked);
    Invalidate();
}

void TAdvCheckBox::Toggle()
{
    if (!FReadOnly)
        SetChecked(!GetChecked());
}

void TAdvCheckBox::SetCaption(const String& Value)
{
    FCaption = Value;
    if (HandleAllocated())
        SetWindowTextW(GetHandle(), Value.c_str());
    Invalidate();
}

void TAdvCheckBox::SetAlignment(TAlignment Value)
{
    if (Value != FAlignment) {
        FAlignment = Value;
        Invalidate();
    }
}

void TAdvCheckBox::SetButtonVertAlign(TTextLayout Value)
{
    if (Value != FButtonVertAlign) {
        FButtonVertAlign = Value;
        Invalidate();
    }
}

void TAdvCheckBox::SetEllipsis(bool Value)
{
    if (Value != FEllipsis) {
        FEllipsis = Value;
        Invalidate();
    }
}

void TAdvCheckBox::SetTransparent(bool Value)
{
    FTransparent = Value;
    Invalidate();
}

void TAdvCheckBox::SetDown(bool Value)
{
    if (Value == FDown)
        return;
    FDown = Value;
    InvalidateBox();
}

void TAdvCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && GetEnabled()) {
        FMouseDown = true;
        if (CanFocus())
            SetFocus();
        SetMouseCapture(true);
        SetDown(true);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TAdvCheckBox::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FMouseDown && MouseCapture())
        SetDown(X >= 0 && X < GetWidth() && Y >= 0 && Y < GetHeight());
    TCustomControl::MouseMove(Shift, X, Y);
}

void TAdvCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && FMouseDown) {
        SetMouseCapture(false);
        SetDown(false);
        const bool inside = X >= 0 && X < GetWidth() && Y >= 0 && Y < GetHeight();
        FMouseDown = false;
        if (inside && Focused()) {
            FClicksDisabled = true;
            Toggle();
            FClicksDisabled = false;
            Click();
        }
        InvalidateBox();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TAdvCheckBox::MouseEnter()
{
    FHot = true;
    InvalidateBox();
    TCustomControl::MouseEnter();
}

void TAdvCheckBox::MouseLeave()
{
    FHot = false;
    InvalidateBox();
    TCustomControl::MouseLeave();
}

void TAdvCheckBox::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && FReturnIsTab) {
        PostMessageW(GetHandle(), WM_KEYDOWN, VK_TAB, 0);
        Key = 0;
    } else if (Key == VK_SPACE) {
        SetDown(true);
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TAdvCheckBox::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        SetDown(false);
        FClicksDisabled = true;
        Toggle();
        FClicksDisabled = false;
        Click();
    }
    TCustomControl::KeyUp(Key, Shift);
}

void TAdvCheckBox::DoEnter()
{
    FFocused = true;
    Invalidate();
    TCustomControl::DoEnter();
}

void TAdvCheckBox::DoExit()
{
    FFocused = false;
    Invalidate();
    TCustomControl::DoExit();
}

void TAdvCheckBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        if (FTransparent) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_GETDLGCODE:
        // Space and Enter come to the box.
        TCustomControl::Dispatch(Message);
        Message.Result |= DLGC_WANTCHARS | (FReturnIsTab ? DLGC_WANTALLKEYS : 0);
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<Word>(Message.WParam), FCaption) && GetEnabled() && GetVisible()) {
            Toggle();
            if (GetTabStop() && CanFocus())
                SetFocus();
            Click();
            Message.Result = 1;
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        TCustomControl::Dispatch(Message);
        Invalidate();
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

void TAdvCheckBox::Paint()
{
    TCanvas* canvas = GetCanvas();
    HDC dc = canvas->GetHandle();
    const int w = GetWidth(), h = GetHeight();
    if (FTransparent && GetParent() && GetParent()->HandleAllocated()) {
        const TSavedDC saved(dc);
        POINT origin{};
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x - GetLeft(), origin.y - GetTop(), nullptr);
        IntersectClipRect(dc, GetLeft(), GetTop(), GetLeft() + w, GetTop() + h);
        GetParent()->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        GetParent()->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    } else {
        canvas->GetBrush()->SetColor(TCustomControl::GetColor());
        canvas->FillRect(TRect(0, 0, w, h));
    }
    const bool right = FAlignment == taRightJustify;
    const AdvXPVS::TThemeData theme(PlatformProbe().ThemeActive && PlatformProbe().ComCtl6(),
                                    HandleAllocated() ? GetHandle() : nullptr, L"button");
    bool drawn = false;
    if (theme) {
        const int y = FButtonVertAlign == tlTop ? 4 : FButtonVertAlign == tlCenter ? h / 2 - 6 : h - 14;
        const int x = right ? w - 15 : 0;
        const int base = FState == cbChecked ? 5 : FState == cbGrayed ? 9 : 1;
        const int condition = !GetEnabled() ? 3 : FDown ? 2 : FHot ? 1 : 0;
        drawn = theme.Draw(dc, BP_CHECKBOX, base + condition, RECT{x, y, x + 14, y + 14});
    }
    if (!drawn) {
        const int y = FButtonVertAlign == tlTop ? 4 : FButtonVertAlign == tlCenter ? h / 2 - 6 : h - 17;
        const int x = right ? w - 13 : 0;
        RECT box{x, y, x + 13, y + 13};
        UINT flags = DFCS_BUTTONCHECK;
        if (FState == cbChecked)
            flags |= DFCS_CHECKED;
        if (FState == cbGrayed || !GetEnabled())
            flags |= DFCS_INACTIVE;
        if (FDown)
            flags |= DFCS_PUSHED;
        DrawFrameControl(dc, &box, DFC_BUTTON, flags);
    }
    RECT text{right ? 6 : 15, 4, right ? w - 9 : w, h};
    canvas->GetFont()->Assign(GetFont());
    canvas->GetBrush()->SetStyle(bsClear);
    const UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE | (FEllipsis ? DT_END_ELLIPSIS : 0);
    if (!GetEnabled()) {
        RECT shadow{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1};
        SetTextColor(dc, RGB(255, 255, 255));
        DrawTextW(dc, FCaption.c_str(), -1, &shadow, format);
        SetTextColor(dc, RGB(128, 128, 128));
    }
    DrawTextW(dc, FCaption.c_str(), -1, &text, format);
    if (FFocused) {
        SIZE size{};
        GetTextExtentPoint32W(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &size);
        RECT focus{text.left - 2, text.top, text.left - 2 + size.cx + 1 + 2, text.top + size.cy + 1};
        DrawFocusRect(dc, &focus);
    }
    canvas->GetBrush()->SetStyle(bsSolid);
}
