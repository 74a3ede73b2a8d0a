// The pickers' flat look. The native picker paints first; the own button and
// the borders go over it on the window DC, the button column clipped out of
// what follows.
#include "AsgDateTimePicker.h"

#include "AdvXPVS.h"
#include "AsgFlatLook.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include <vssym32.h>

using namespace AsgFlatLook;

namespace {

constexpr COLORREF ThemedBorder = RGB(127, 157, 185);

bool MouseButtonDown()
{
    return GetKeyState(VK_LBUTTON) < 0 || GetKeyState(VK_RBUTTON) < 0;
}

} // namespace

TDateTimePickerLook::TDateTimePickerLook(TComponent* AOwner)
    : TDateTimePicker(AOwner)
{
    FButtonWidth = GetSystemMetrics(SM_CXVSCROLL) + 2;
    FIsWinXP = PlatformProbe().WindowsMajor > 5 || (PlatformProbe().WindowsMajor == 5 && PlatformProbe().WindowsMinor >= 1);
}

bool TDateTimePickerLook::IsThemed() const { return PlatformProbe().ComCtlMajor > 5; }
bool TDateTimePickerLook::ThemesActive() const { return IsThemed() && PlatformProbe().ThemeActive; }

void TDateTimePickerLook::SetBorderStyle(TBorderStyle Value)
{
    if (FBorderStyle == Value)
        return;
    FBorderStyle = Value;
    Invalidate();
}

void TDateTimePickerLook::SetCtl3D(bool Value)
{
    if (FCtl3D == Value)
        return;
    FCtl3D = Value;
    Invalidate();
}

void TDateTimePickerLook::SetBorderColor(TColor Value)
{
    if (FBorderColor == Value)
        return;
    FBorderColor = Value;
    Invalidate();
}

void TDateTimePickerLook::SetMetroStyle(bool Value)
{
    if (FMetroStyle == Value)
        return;
    FMetroStyle = Value;
    Invalidate();
}

void TDateTimePickerLook::SetButtonColor(TColor Value)
{
    FButtonColor = Value;
    Invalidate();
}

TColor TDateTimePickerLook::FlatBorderColour() const
{
    if (FBorderStyle == bsNone && GetParent())
        return GetParent()->GetBrush()->GetColor();
    if (IsThemed())
        return static_cast<TColor>(ThemedBorder);
    return FBorderColor;
}

void TDateTimePickerLook::Dispatch(TMessage& Message)
{
    const bool designing = ComponentState().Contains(csDesigning);
    switch (Message.Msg) {
    case WM_PAINT:
        TDateTimePicker::Dispatch(Message);
        PaintMetro();
        return;
    case WM_NCPAINT:
        TDateTimePicker::Dispatch(Message);
        if (HandleAllocated()) {
            TWindowDC dc(GetHandle(), true);
            DrawFlatBorder(dc.Get());
        }
        if (!GetEnabled() && ThemesActive() && !FDisabledBorder)
            PaintBorders();
        if (FFocusBorderColor != clNone && (FHasFocus || FBorderColor != clNone))
            PaintBorders();
        Message.Result = 0;
        return;
    case CM_ENTER:
    case CM_EXIT:
        if (!designing) {
            FHasFocus = Message.Msg == CM_ENTER;
            PaintBorders();
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TDateTimePicker::Dispatch(Message);
        if (!designing) {
            FMouseInControl = Message.Msg == CM_MOUSEENTER;
            if (!FMouseInControl)
                FButtonHover = false;
            if (GetEnabled())
                PaintBorders();
            if (FIsWinXP)
                Invalidate();
        }
        return;
    case WM_MOUSEMOVE: {
        TDateTimePicker::Dispatch(Message);
        const int x = static_cast<short>(LOWORD(Message.LParam));
        const bool over = x > GetWidth() - FButtonWidth && x < GetWidth();
        if (over != FButtonHover) {
            FButtonHover = over;
            Invalidate();
        }
        return;
    }
    case CM_CTL3DCHANGED:
        Invalidate();
        break;
    }
    TDateTimePicker::Dispatch(Message);
}

void TDateTimePickerLook::PaintMetro()
{
    if (!HandleAllocated() || (FCtl3D && !IsMetro()) || !PlatformProbe().IsVistaOrLater())
        return;
    TWindowDC dc(GetHandle(), true);
    const TPlatformProbe& probe = PlatformProbe();
    const int cw = GetClientWidth(), h = GetHeight();
    if (IsMetro() && GetKind() != dtkTime) {
        if (probe.ComCtl6()) {
            RECT native = ThemesActive() ? RECT{cw - FButtonWidth - NativeButtonInset(), 1, cw, h}
                                         : RECT{cw - FButtonWidth - 2, 4, cw - 2, h - 4};
            FillRect(dc.Get(), &native, GetBrush()->GetHandle());
        }
        DrawButton(dc.Get());
    }
    DrawOutline(dc.Get());
    PaintBorders();
}

void TDateTimePickerLook::DrawButton(HDC DC)
{
    RECT r = WindowRectAtOrigin(GetHandle());
    r.left = GetClientWidth() - FButtonWidth + 2;
    InflateRect(&r, -1, -1);
    const bool down = MouseButtonDown();
    if (FButtonColor != clNone) {
        const TFlatButtonColors colors{FButtonColor,     FButtonColorHot, FButtonColorDown,
                                       FButtonBorderColor, FButtonTextColor, FButtonTextColorDown};
        FillWith(DC, RECT{r.left + 2, r.top, r.right, r.bottom}, ColorToRGB(ButtonFace(colors, FButtonHover, down)));
        DrawButtonRuleAndArrow(DC, r, POINT{r.left + 5, r.top + 7}, colors, down);
    } else {
        DrawStyledDropButton(DC, GetHandle(), r, ThemesActive(), GetEnabled(), down, FButtonHover, GetDroppedDown());
    }
    ExcludeClipRect(DC, GetClientWidth() - FButtonWidth - 4, 0, GetClientWidth() + 2, GetClientHeight());
}

void TDateTimePickerLook::PaintBorders()
{
    if (!HandleAllocated() || !IsMetro())
        return;
    if (GetEnabled() && FBorderColor == clNone && FFocusBorderColor == clNone)
        return;
    TWindowDC dc(GetHandle(), true);
    DrawControlBorder(dc.Get());
    if (!(FIsWinXP && ThemesActive()))
        DrawButtonBorder(dc.Get());
}

void TDateTimePickerLook::DrawControlBorder(HDC DC)
{
    RECT r = WindowRectAtOrigin(GetHandle());
    if (!GetEnabled() && IsThemed() && !FDisabledBorder) {
        FrameWith(DC, r, ThemedBorder);
        return;
    }
    TColor colour = FBorderColor;
    if (FFocusBorderColor != clNone && (FBorderColor == clNone || FHasFocus))
        colour = FFocusBorderColor;
    if (colour != clNone && colour == FFocusBorderColor && FBorderColor == clNone && !FHasFocus)
        return;
    if (colour != clNone) {
        FrameWith(DC, r, ColorToRGB(colour));
        return;
    }
    const bool focusBorder = FFocusBorder && (FMouseInControl || FHasFocus);
    const COLORREF outer =
        ColorToRGB(focusBorder ? clBtnFace : (GetParent() ? GetParent()->GetBrush()->GetColor() : clBtnFace));
    if (focusBorder) {
        DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FrameWith(DC, r, outer);
    } else {
        FrameWith(DC, r, outer);
        InflateRect(&r, -1, -1);
        FrameWith(DC, RECT{r.left, r.top, r.right - FButtonWidth, r.bottom}, outer);
    }
    InflateRect(&r, -1, -1);
    FrameWith(DC, r, ColorToRGB(GetColor()));
}

void TDateTimePickerLook::DrawButtonBorder(HDC DC)
{
    RECT r = ButtonBorderRect(DC, GetHandle(), GetClientWidth(), FButtonWidth);
    const bool designing = ComponentState().Contains(csDesigning);
    if (designing ? GetEnabled() : (FMouseInControl || FHasFocus))
        DrawEdge(DC, &r, EDGE_RAISED, BF_RECT | (GetDroppedDown() ? BF_FLAT : 0));
    else
        FillWith(DC, RECT{r.left, r.top + 1, r.right - 1, r.bottom - 1}, ColorToRGB(clBtnFace));
    ExcludeClipRect(DC, r.left, r.top, r.right, r.bottom);
}

void TDateTimePickerLook::DrawFlatBorder(HDC DC)
{
    if (FCtl3D || FBorderColor == clNone)
        return;
    const int w = WindowRectAtOrigin(GetHandle()).right, h = WindowRectAtOrigin(GetHandle()).bottom;
    TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(FlatBorderColour())));
    {
        TSelectObject selectPen(DC, pen.Get());
        const POINT outline[] = {{0, h}, {0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}};
        Polyline(DC, outline, 5);
    }
    if (GetParent()) {
        TPenHandle inner(CreatePen(PS_SOLID, 1,
                                   ColorToRGB(FBorderStyle == bsSingle ? GetParent()->GetBrush()->GetColor()
                                                                      : FlatBorderColour())));
        TSelectObject selectPen(DC, inner.Get());
        const POINT line[] = {{1, h - 2}, {1, 1}, {w - 1, 1}};
        Polyline(DC, line, 3);
    }
}

// --- the grid's picker -------------------------------------------------------------

TAsgDateTimePicker::TAsgDateTimePicker(TComponent* AOwner)
    : TDateTimePickerLook(AOwner)
{
    SetDoubleBuffered(true);
    FCtl3D = true;
}

bool TAsgDateTimePicker::IsMetro() const { return FMetroStyle && !ComponentState().Contains(csDesigning); }
