// The combo box: properties, focus and hover, the label, and the own look
// painted over the platform's. Order of the own look: the field and the
// button first with the button column clipped out, then the platform paints
// the edit part, the borders last on the window DC.
#include "AsgCombo.h"

#include "AdvXPVS.h"
#include "AsgFlatLook.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include <utility>
#include <vssym32.h>

using namespace AsgCombo;
using namespace AsgFlatLook;

namespace {

// Border of a disabled control under visual styles.
constexpr COLORREF DisabledThemedBorder = RGB(127, 157, 185);

bool MouseButtonDown()
{
    return GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0 || GetKeyState(VK_MBUTTON) < 0;
}

} // namespace

TAsgCustomCombo::TAsgCustomCombo(TComponent* AOwner)
    : TCustomComboBox(AOwner), FLabelFont(New<TFont>())
{
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FLabelFont->OnChange = [this](TObject*) { PositionLabel(); };
    // The colour outside the focus starts as the colour the control has, so
    // that a control never loaded (made at run time) gets it back on exit.
    FNormalColor = GetColor();
}

void TAsgCustomCombo::BeforeDestruction()
{
    if (TLabel* label = std::exchange(FLabel, nullptr))
        label->Free();
    TCustomComboBox::BeforeDestruction();
}

bool TAsgCustomCombo::IsThemed() const { return PlatformProbe().ComCtlMajor > 5; }
bool TAsgCustomCombo::ThemesActive() const { return IsThemed() && PlatformProbe().ThemeActive; }

void TAsgCustomCombo::Init() { FNormalColor = GetColor(); }

void TAsgCustomCombo::SelectItem(const String& AString)
{
    const int index = GetItems()->IndexOf(AString);
    if (index >= 0)
        SetItemIndex(index);
}

// --- properties --------------------------------------------------------------------

void TAsgCustomCombo::SetButtonWidth(int Value)
{
    if (Value < 14 || Value > 32)
        return;
    FButtonWidth = Value;
    Invalidate();
}

void TAsgCustomCombo::SetFlat(bool Value)
{
    if (FFlat == Value)
        return;
    FFlat = Value;
    if (FFlat && FFlatParentColor && GetParent())
        SetColor(GetParent()->GetBrush()->GetColor());
    else
        SetColor(FLoadedColor);
    Invalidate();
}

void TAsgCustomCombo::SetEtched(bool Value)
{
    FEtched = Value;
    Invalidate();
}

void TAsgCustomCombo::SetFlatLineColor(TColor Value)
{
    FFlatLineColor = Value;
    Invalidate();
}

void TAsgCustomCombo::SetFlatParentColor(bool Value)
{
    FFlatParentColor = Value;
    Invalidate();
}

void TAsgCustomCombo::SetBorderColor(TColor Value)
{
    if (FBorderColor == Value)
        return;
    FBorderColor = Value;
    if (HandleAllocated())
        SendMessageW(GetHandle(), WM_NCPAINT, 0, 0);
}

void TAsgCustomCombo::SetDisabledBorder(bool Value)
{
    FDisabledBorder = Value;
    Invalidate();
}

void TAsgCustomCombo::SetFocusBorder(bool Value)
{
    FFocusBorder = Value;
    Invalidate();
}

void TAsgCustomCombo::SetFocusBorderColor(TColor Value)
{
    FFocusBorderColor = Value;
    Invalidate();
}

void TAsgCustomCombo::SetDropWidth(int Value)
{
    FDropWidth = Value;
    if (Value > 0 && HandleAllocated())
        SendMessageW(GetHandle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(Value), 0);
}

void TAsgCustomCombo::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    Invalidate();
}

void TAsgCustomCombo::SetIsVista(bool Value)
{
    FIsVista = Value;
    Invalidate();
}

void TAsgCustomCombo::SetButtonColor(TColor Value)
{
    FButtonColor = Value;
    Invalidate();
}

void TAsgCustomCombo::SetEnabled(bool Value)
{
    const bool changed = Value != GetEnabled();
    TCustomComboBox::SetEnabled(Value);
    if (changed && FLabel && !FLabelAlwaysEnabled && !ComponentState().Contains(csLoading)
        && !ComponentState().Contains(csDesigning)) {
        FLabel->SetEnabled(Value);
        PositionLabel();
    }
}

// --- window, loading and notifications ---------------------------------------------

void TAsgCustomCombo::CreateWnd()
{
    TCustomComboBox::CreateWnd();
    if (FDropWidth > 0)
        SendMessageW(GetHandle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropWidth), 0);
}

void TAsgCustomCombo::Loaded()
{
    TCustomComboBox::Loaded();
    if (FDropWidth > 0 && HandleAllocated())
        SendMessageW(GetHandle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropWidth), 0);
    FOldColor = FLoadedColor;
    if (!(FFlatParentColor && !FFlat))
        SetColor(FLoadedColor);
    if (FLabel) {
        if (!FLabelAlwaysEnabled)
            FLabel->SetEnabled(GetEnabled());
        if (FLabel->GetParentFont())
            FLabel->GetFont()->Assign(GetFont());
    }
    PositionLabel();
    Init();
}

void TAsgCustomCombo::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FLabel)
        FLabel = nullptr;
}

void TAsgCustomCombo::InvalidateButton()
{
    if (!HandleAllocated())
        return;
    RECT area{};
    ::GetClientRect(GetHandle(), &area);
    area.left = area.right - FButtonWidth;
    InvalidateRect(GetHandle(), &area, FALSE);
}

void TAsgCustomCombo::DropDown()
{
    TCustomComboBox::DropDown();
    InvalidateButton();
}

void TAsgCustomCombo::CloseUp()
{
    TCustomComboBox::CloseUp();
    InvalidateButton();
    if (OnDropUp)
        OnDropUp(this);
}

void TAsgCustomCombo::LabelBold(bool Bold)
{
    if (!FLabel || !FFocusLabel)
        return;
    TFontStyles style = FLabel->GetFont()->GetStyle();
    if (Bold)
        style << fsBold;
    else
        style >> fsBold;
    FLabel->GetFont()->SetStyle(style);
}

void TAsgCustomCombo::Dispatch(TMessage& Message)
{
    const bool designing = ComponentState().Contains(csDesigning);
    switch (Message.Msg) {
    case WM_PAINT:
        if (FIsVista && FButtonColor == clNone)
            break;
        if (!PaintsOwnLook())
            break;
        if (HDC given = reinterpret_cast<HDC>(Message.WParam)) {
            PaintOwnLook(given);
        } else {
            TPaintDC dc(GetHandle());
            PaintOwnLook(dc.Get());
        }
        PaintBorders();
        Message.Result = 0;
        return;
    case WM_NCPAINT:
        TCustomComboBox::Dispatch(Message);
        if (FFlat || (!GetEnabled() && ThemesActive() && !FDisabledBorder)
            || (FFocusBorderColor != clNone && FHasFocus) || FBorderColor != clNone)
            PaintBorders();
        return;
    case CM_ENTER:
        if (!designing) {
            FHasFocus = true;
            PaintBorders();
            if (FFocusColor != clNone)
                SetColor(FFocusColor);
            LabelBold(true);
        }
        break;
    case CM_EXIT:
        if (!designing) {
            FHasFocus = false;
            PaintBorders();
            if (FNormalColor != clNone && FFocusColor != clNone)
                SetColor(FNormalColor);
            LabelBold(false);
        }
        break;
    case WM_SETFOCUS:
        TCustomComboBox::Dispatch(Message);
        if (FFocusBorderColor != clNone)
            Invalidate();
        if (FFocusColor != clNone)
            SetColor(FFocusColor);
        LabelBold(true);
        return;
    case WM_KILLFOCUS:
        TCustomComboBox::Dispatch(Message);
        if (FNormalColor != clNone && FFocusColor != clNone)
            SetColor(FNormalColor);
        LabelBold(false);
        Invalidate();
        return;
    case CM_MOUSEENTER:
        TCustomComboBox::Dispatch(Message);
        if (!FMouseInControl && GetEnabled()) {
            FMouseInControl = true;
            PaintBorders();
        }
        if (FAutoFocus && !designing) {
            TCustomForm* form = GetParentForm(this);
            if ((!form || GetActiveWindow() == form->GetHandle()) && CanFocus())
                SetFocus();
        }
        if (FIsWinXP)
            Invalidate();
        return;
    case CM_MOUSELEAVE:
        TCustomComboBox::Dispatch(Message);
        if (FMouseInControl && GetEnabled()) {
            FMouseInControl = false;
            PaintBorders();
        }
        FButtonHover = false;
        if (FIsWinXP)
            Invalidate();
        return;
    case WM_MOUSEMOVE: {
        TCustomComboBox::Dispatch(Message);
        const int x = static_cast<short>(LOWORD(Message.LParam));
        const bool over = x > GetWidth() - FButtonWidth && x < GetWidth();
        if (over != FButtonHover) {
            FButtonHover = over;
            Invalidate();
        }
        return;
    }
    case CM_ENABLEDCHANGED:
        if (FFlat && !ComponentState().Contains(csLoading)) {
            if (!GetEnabled()) {
                FOldColor = GetColor();
                FOldParentColor = GetParentColor();
                SetParentColor(true);
            } else {
                SetColor(FOldColor);
                SetParentColor(FOldParentColor);
            }
        }
        break;
    case CM_COLORCHANGED:
        if (ComponentState().Contains(csLoading))
            FLoadedColor = GetColor();
        break;
    case CM_FONTCHANGED:
        TCustomComboBox::Dispatch(Message);
        if ((designing || ComponentState().Contains(csLoading)) && FLabel && FLabel->GetParentFont())
            FLabel->GetFont()->Assign(GetFont());
        return;
    case CM_PARENTFONTCHANGED:
        TCustomComboBox::Dispatch(Message);
        if (FLabel && FLabel->GetParentFont()) {
            FLabel->GetFont()->Assign(GetFont());
            PositionLabel();
        }
        return;
    case CM_VISIBLECHANGED:
        TCustomComboBox::Dispatch(Message);
        if (FLabel)
            FLabel->SetVisible(GetVisible());
        return;
    }
    TCustomComboBox::Dispatch(Message);
}

// --- painting ----------------------------------------------------------------------

bool TAsgCustomCombo::PaintsOwnLook()
{
    return FFlat || FButtonColor != clNone || FBorderColor != clNone || (FFocusBorderColor != clNone && FHasFocus)
           || (!GetEnabled() && ThemesActive() && !FDisabledBorder);
}

void TAsgCustomCombo::PaintOwnLook(HDC DC)
{
    TSavedDC saved(DC);
    const bool leftToRight = !(GetWindowLongW(GetHandle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
    if (GetStyle() != csSimple) {
        RECT client{};
        ::GetClientRect(GetHandle(), &client);
        FillRect(DC, &client, GetBrush()->GetHandle());
        if (leftToRight)
            DrawButton(DC);
    }
    TMessage platformPaint{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
    DefaultHandler(platformPaint);
}

void TAsgCustomCombo::DrawButton(HDC DC)
{
    RECT r = WindowRectAtOrigin(GetHandle());
    r.left = GetClientWidth() - FButtonWidth + 2;
    InflateRect(&r, -1, -1);
    const bool down = MouseButtonDown();

    if (FButtonColor != clNone) {
        const TFlatButtonColors colors{FButtonColor,     FButtonColorHot, FButtonColorDown,
                                       FButtonBorderColor, FButtonTextColor, FButtonTextColorDown};
        r.left -= 1;
        r.top += 1;
        r.bottom -= 1;
        r.right -= 1;
        {
            const COLORREF fill = ColorToRGB(ButtonFace(colors, FButtonHover, down));
            TBrushHandle brush(CreateSolidBrush(fill));
            TPenHandle pen(CreatePen(PS_SOLID, 1, fill));
            TSelectObject selectBrush(DC, brush.Get());
            TSelectObject selectPen(DC, pen.Get());
            Rectangle(DC, r.left, r.top, r.right, r.bottom);
        }
        DrawButtonRuleAndArrow(DC, r, POINT{r.left + 4, r.top + 7}, colors, down);
    } else {
        DrawStyledDropButton(DC, GetHandle(), r, ThemesActive(), GetEnabled(), down, FButtonHover, GetDroppedDown());
    }
    ExcludeClipRect(DC, GetClientWidth() - FButtonWidth - 4, 0, GetClientWidth() + 2, GetClientHeight());
}

void TAsgCustomCombo::PaintBorders()
{
    if (!HandleAllocated())
        return;
    if ((GetEnabled() && !FFlat && FBorderColor == clNone && FFocusBorderColor == clNone)
        || (FIsVista && FBorderColor == clNone))
        return;
    TWindowDC dc(GetHandle(), true);
    DrawControlBorder(dc.Get());
    if (GetStyle() != csSimple && !(FIsWinXP && ThemesActive()))
        DrawButtonBorder(dc.Get());
}

void TAsgCustomCombo::DrawControlBorder(HDC DC)
{
    RECT r = WindowRectAtOrigin(GetHandle());
    TColor colour = clNone;
    if (!GetEnabled() && IsThemed() && !FDisabledBorder) {
        FrameWith(DC, r, DisabledThemedBorder);
        return;
    }
    colour = FBorderColor;
    if (FFocusBorderColor != clNone && (FBorderColor == clNone || FHasFocus))
        colour = FFocusBorderColor;
    if (colour == FFocusBorderColor && colour != clNone && !FHasFocus && FBorderColor == clNone)
        return;  // a focus border without the focus shows nothing
    if (colour != clNone) {
        FrameWith(DC, r, ColorToRGB(colour));
        return;
    }
    const bool designing = ComponentState().Contains(csDesigning);
    const bool focusBorder = FFocusBorder && (FMouseInControl || FHasFocus) && !designing;
    const COLORREF outer = ColorToRGB(focusBorder ? clBtnFace : (GetParent() ? GetParent()->GetBrush()->GetColor()
                                                                              : clBtnFace));
    const COLORREF inner = ColorToRGB(GetColor());
    if (focusBorder) {
        DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FrameWith(DC, r, outer);
        InflateRect(&r, -1, -1);
        FrameWith(DC, r, inner);
    } else {
        FrameWith(DC, r, outer);
        InflateRect(&r, -1, -1);
        RECT narrower = r;
        narrower.right -= FButtonWidth;
        FrameWith(DC, narrower, outer);
        InflateRect(&r, -1, -1);
        FrameWith(DC, r, inner);
        if (FFlat && FFlatLineColor != clNone) {
            RECT line{r.left - 2, r.bottom, r.right - FButtonWidth - 1, r.bottom + 1};
            FillWith(DC, line, ColorToRGB(FFlatLineColor));
        }
    }
}

void TAsgCustomCombo::DrawButtonBorder(HDC DC)
{
    const RECT r = ButtonBorderRect(DC, GetHandle(), GetClientWidth(), FButtonWidth);
    const bool designing = ComponentState().Contains(csDesigning);
    const bool flatten = designing ? !GetEnabled() : !(FMouseInControl || FHasFocus);
    if (flatten) {
        RECT face{r.left, r.top + 1, r.right - 1, r.bottom - 1};
        FillWith(DC, face, ColorToRGB(clBtnFace));
    }
    ExcludeClipRect(DC, r.left, r.top, r.right, r.bottom);
}

// --- the label ---------------------------------------------------------------------

String TAsgCustomCombo::GetLabelCaption() const { return FLabel ? FLabel->GetCaption() : String(); }

void TAsgCustomCombo::SetLabelCaption(const String& Value)
{
    if (!FLabel) {
        FLabel = New<TLabel>(this);
        FLabel->FreeNotification(this);
        FLabel->SetParent(GetParent());
        FLabel->SetFocusControl(this);
        FLabel->GetFont()->Assign(FLabelFont.get());
        FLabel->SetParentFont(GetParentFont());
    }
    FLabel->SetCaption(Value);
    PositionLabel();
}

void TAsgCustomCombo::SetLabelPosition(TLabelPosition Value)
{
    FLabelPosition = Value;
    PositionLabel();
}

void TAsgCustomCombo::SetLabelMargin(int Value)
{
    FLabelMargin = Value;
    PositionLabel();
}

void TAsgCustomCombo::SetLabelFont(TFont* Value)
{
    if (!GetParentFont())
        FLabelFont->Assign(Value);
}

void TAsgCustomCombo::SetLabelTransparent(bool Value)
{
    FLabelTransparent = Value;
    PositionLabel();
}

void TAsgCustomCombo::SetLabelAlwaysEnabled(bool Value)
{
    FLabelAlwaysEnabled = Value;
    if (FLabel && Value)
        FLabel->SetEnabled(true);
    PositionLabel();
}

void TAsgCustomCombo::SetParent(TWinControl* AParent)
{
    TCustomComboBox::SetParent(AParent);
    if (FLabel) {
        FLabel->SetParent(AParent);
        PositionLabel();
    }
}

void TAsgCustomCombo::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomComboBox::SetBounds(ALeft, ATop, AWidth, AHeight);
    PositionLabel();
}

void TAsgCustomCombo::PositionLabel()
{
    if (!FLabel)
        return;
    FLabel->SetTransparent(FLabelTransparent);
    if (!GetParentFont() && !FLabel->GetParentFont())
        FLabel->GetFont()->Assign(FLabelFont.get());

    // The caption's width as the label draws it.
    RECT measure{0, 0, 1000, 255};
    {
        TWindowDC screen(nullptr);
        TSelectObject font(screen.Get(), FLabel->GetFont()->GetHandle());
        const String caption = FLabel->GetCaption();
        DrawTextW(screen.Get(), caption.c_str(), -1, &measure, DT_CALCRECT | DT_HIDEPREFIX);
    }
    const int W = measure.right - measure.left;
    const int T = GetTop(), L = GetLeft(), H = GetHeight(), Wd = GetWidth();
    const int LH = FLabel->GetHeight(), LW = FLabel->GetWidth(), M = FLabelMargin;
    const int centreTop = LH <= H ? T + (H - LH) / 2 : T - (LH - H) / 2;
    const int centreLeft = LW <= Wd ? L + (Wd - LW) / 2 : L - (LW - Wd) / 2;

    struct Place {
        int top, left;
    };
    Place place{T, L};
    switch (FLabelPosition) {
    case lpLeftTop: place = {T, L - W - M}; break;
    case lpLeftCenter: place = {centreTop, L - W - M}; break;
    case lpLeftBottom: place = {T + H - LH, L - W - M}; break;
    case lpTopLeft: place = {T - LH - M, L}; break;
    case lpBottomLeft: place = {T + H + M, L}; break;
    case lpLeftTopLeft: place = {T, L - M}; break;
    case lpLeftCenterLeft: place = {centreTop, L - M}; break;
    case lpLeftBottomLeft: place = {T + H - LH, L - M}; break;
    case lpTopCenter: place = {T - LH - M, centreLeft}; break;
    case lpBottomCenter: place = {T + H + M, centreLeft}; break;
    case lpRightTop: place = {T, L + Wd + M}; break;
    case lpRightCenter: place = {centreTop, L + Wd + M}; break;
    case lpRighBottom: place = {T + H - LH, L + Wd + M}; break;
    }
    FLabel->SetBounds(place.left, place.top, LW, LH);
    FLabel->SetVisible(GetVisible());
}
