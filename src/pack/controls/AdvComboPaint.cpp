// The combo box base's own look: the field, the drop button and the borders
// painted over the platform's combo box. Order matters: the field and the
// button go first with the button clipped out, the platform paints the rest
// of the field, and the borders go last over its edges.
#include "ACXPVS.h"
#include "AdvCombo.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include <vssym32.h>

namespace {

// Colour of a disabled control's border under visual styles.
constexpr TColor DisabledThemedBorder = 12164479;

void FrameWith(HDC DC, RECT R, TColor Color)
{
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(Color)));
    FrameRect(DC, &R, brush.Get());
}

void FillWith(HDC DC, RECT R, TColor Color)
{
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(Color)));
    FillRect(DC, &R, brush.Get());
}

bool MouseButtonDown()
{
    return GetKeyState(VK_LBUTTON) < 0;
}

} // namespace

bool TAdvCustomCombo::Themed() const
{
    return PlatformProbe().ComCtlMajor > 5 && PlatformProbe().ThemeActive;
}

bool TAdvCustomCombo::DrawsOwnLook()
{
    return FFlat || FButtonColor != clNone || FBorderColor != clNone ||
           (FFocusBorderColor != clNone && FHasFocus) || (!GetEnabled() && Themed() && !FDisabledBorder);
}

TColor TAdvCustomCombo::BorderColorNow()
{
    if (!GetEnabled() && Themed() && !FDisabledBorder)
        return DisabledThemedBorder;
    if (FHasFocus && FFocusBorderColor != clNone)
        return FFocusBorderColor;
    return FBorderColor;
}

void TAdvCustomCombo::PaintOwnLook(HDC DC, bool OnWindowDC)
{
    RECT client{};
    ::GetClientRect(GetHandle(), &client);
    {
        TSavedDC saved(DC);
        if (GetStyle() != csSimple) {
            FillRect(DC, &client, GetBrush()->GetHandle());
            DrawButton(DC);
            ExcludeClipRect(DC, client.right - FButtonWidth, client.top, client.right, client.bottom);
        }
        TMessage platformPaint{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
        DefaultHandler(platformPaint);
    }
    if (OnWindowDC) {
        TWindowDC window(GetHandle(), true);
        DrawBorders(window.Get());
        DrawClassicButtonEdge(window.Get());
    } else {
        DrawBorders(DC);
        DrawClassicButtonEdge(DC);
    }
}

void TAdvCustomCombo::DrawButton(HDC DC)
{
    RECT window{};
    GetWindowRect(GetHandle(), &window);
    RECT r{GetClientWidth() - FButtonWidth + 2, 0, window.right - window.left, window.bottom - window.top};
    InflateRect(&r, -1, -1);
    const bool down = MouseButtonDown();

    if (FButtonColor != clNone) {
        TColor fill = FButtonColor;
        if (FButtonHover && down && FButtonColorDown != clNone)
            fill = FButtonColorDown;
        else if (FButtonHover && FButtonColorHot != clNone)
            fill = FButtonColorHot;
        FillWith(DC, r, fill);
        if (FButtonBorderColor != clNone) {
            TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(FButtonBorderColor)));
            TSelectObject selectPen(DC, pen.Get());
            MoveToEx(DC, r.left, r.top, nullptr);
            LineTo(DC, r.left, r.bottom);
        }
        TColor text = FButtonTextColor != clNone ? FButtonTextColor : GetFont()->GetColor();
        if (down && FButtonTextColorDown != clNone)
            text = FButtonTextColorDown;
        else if (FButtonHover && FButtonTextColorHot != clNone)
            text = FButtonTextColorHot;
        const POINT arrow[] = {{r.left + 4, r.top + 7}, {r.left + 10, r.top + 7}, {r.left + 7, r.top + 10}};
        TBrushHandle brush(CreateSolidBrush(ColorToRGB(text)));
        TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(text)));
        TSelectObject selectBrush(DC, brush.Get());
        TSelectObject selectPen(DC, pen.Get());
        Polygon(DC, arrow, 3);
        return;
    }

    if (Themed() && ACXPVS::OpenThemeData) {
        if (HTHEME theme = ACXPVS::OpenThemeData(GetHandle(), L"combobox")) {
            int state = CBXS_NORMAL;
            if (!GetEnabled())
                state = CBXS_DISABLED;
            else if (GetDroppedDown() && down)
                state = CBXS_PRESSED;
            else if (FButtonHover)
                state = CBXS_HOT;
            ACXPVS::DrawThemeBackground(theme, DC, CP_DROPDOWNBUTTON, state, &r, nullptr);
            ACXPVS::CloseThemeData(theme);
            return;
        }
    }
    DrawFrameControl(DC, &r, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | DFCS_FLAT | (GetEnabled() ? 0 : DFCS_INACTIVE));
}

void TAdvCustomCombo::DrawBorders(HDC DC)
{
    RECT window{};
    GetWindowRect(GetHandle(), &window);
    RECT r{0, 0, window.right - window.left, window.bottom - window.top};

    const TColor colour = BorderColorNow();
    if (colour != clNone) {
        FrameWith(DC, r, colour);
    } else {
        const bool active = FFocusBorder && (FMouseInControl || FHasFocus);
        const TColor outer = active ? clBtnFace : (GetParent() ? GetParent()->GetColor() : clBtnFace);
        const TColor inner = GetColor();
        if (active) {
            DrawEdge(DC, &r, BDR_SUNKENOUTER, BF_RECT);
            InflateRect(&r, -1, -1);
            FrameWith(DC, r, outer);
        } else {
            FrameWith(DC, r, outer);
            InflateRect(&r, -1, -1);
            r.right -= FButtonWidth;
            FrameWith(DC, r, outer);
        }
        InflateRect(&r, -1, -1);
        FrameWith(DC, r, inner);
    }

    if (FFlat && FFlatLineColor != clNone) {
        const int height = window.bottom - window.top;
        const int right = window.right - window.left - 2 - FButtonWidth - 1;
        RECT line{0, height - 1, right, height};
        FillWith(DC, line, FFlatLineColor);
    }
}

void TAdvCustomCombo::DrawClassicButtonEdge(HDC DC)
{
    // A coloured button has its own border line; the platform's themed
    // button needs no edge.
    if (GetStyle() == csSimple || Themed() || FButtonColor != clNone)
        return;
    RECT window{};
    GetWindowRect(GetHandle(), &window);
    RECT r{GetClientWidth() - FButtonWidth - 2, 0, window.right - window.left, window.bottom - window.top};
    InflateRect(&r, -2, -2);
    if (FMouseInControl || FHasFocus) {
        const UINT edge = FEtched ? EDGE_ETCHED : EDGE_RAISED;
        DrawEdge(DC, &r, edge, BF_RECT | (GetDroppedDown() ? BF_FLAT : 0));
    } else {
        // At rest the button is flat: its edge band takes the button face,
        // the arrow stays.
        FrameWith(DC, r, clBtnFace);
        InflateRect(&r, -1, -1);
        FrameWith(DC, r, clBtnFace);
    }
}
