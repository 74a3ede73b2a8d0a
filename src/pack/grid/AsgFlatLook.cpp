#include "AsgFlatLook.h"

#include "AdvXPVS.h"
#include "GdiHandles.h"
#include <vssym32.h>

namespace AsgFlatLook {

void FrameWith(HDC DC, RECT R, COLORREF Color)
{
    TBrushHandle brush(CreateSolidBrush(Color));
    FrameRect(DC, &R, brush.Get());
}

void FillWith(HDC DC, RECT R, COLORREF Color)
{
    TBrushHandle brush(CreateSolidBrush(Color));
    FillRect(DC, &R, brush.Get());
}

RECT WindowRectAtOrigin(HWND Wnd)
{
    RECT window{};
    GetWindowRect(Wnd, &window);
    return RECT{0, 0, window.right - window.left, window.bottom - window.top};
}

TColor ButtonFace(const TFlatButtonColors& Colors, bool Hover, bool Pressed)
{
    if (Hover && Pressed && Colors.Down != clNone)
        return Colors.Down;
    if (Hover && Colors.Hot != clNone)
        return Colors.Hot;
    return Colors.Normal;
}

void DrawButtonRuleAndArrow(HDC DC, const RECT& R, POINT Arrow, const TFlatButtonColors& Colors, bool Pressed)
{
    if (Colors.Border != clNone) {
        TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(Colors.Border)));
        TSelectObject selectPen(DC, pen.Get());
        MoveToEx(DC, R.left, R.top, nullptr);
        LineTo(DC, R.left, R.bottom);
    }
    const TColor text = Pressed && Colors.TextDown != clNone ? Colors.TextDown : Colors.Text;
    if (text == clNone)
        return;
    const POINT arrow[] = {{Arrow.x, Arrow.y}, {Arrow.x + 6, Arrow.y}, {Arrow.x + 3, Arrow.y + 3}};
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(text)));
    TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(text)));
    TSelectObject selectBrush(DC, brush.Get());
    TSelectObject selectPen(DC, pen.Get());
    Polygon(DC, arrow, 3);
}

void DrawStyledDropButton(HDC DC, HWND Wnd, RECT R, bool ThemesActive, bool Enabled, bool Pressed, bool Hover,
                          bool DroppedDown)
{
    if (ThemesActive) {
        int state = CBXS_HOT;
        if (!Enabled)
            state = CBXS_DISABLED;
        else if (Pressed && DroppedDown)
            state = CBXS_PRESSED;
        else if (Pressed || !Hover || DroppedDown)
            state = CBXS_NORMAL;
        AdvXPVS::TThemeData theme(true, Wnd, L"combobox");
        if (theme.Draw(DC, CP_DROPDOWNBUTTON, state, R))
            return;
    }
    RECT button = R;
    button.left -= 4;
    button.top += 1;
    button.bottom -= 1;
    DrawFrameControl(DC, &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (Enabled ? DFCS_FLAT : DFCS_INACTIVE));
}

RECT ButtonBorderRect(HDC DC, HWND Wnd, int ClientWidth, int ButtonWidth)
{
    RECT r = WindowRectAtOrigin(Wnd);
    ExcludeClipRect(DC, ClientWidth - ButtonWidth + 4, 4, ClientWidth - 4, r.bottom - 4);
    r.left = ClientWidth - ButtonWidth - 2;
    InflateRect(&r, -2, -2);
    return r;
}

} // namespace AsgFlatLook
