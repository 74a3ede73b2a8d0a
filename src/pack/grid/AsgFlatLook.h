#pragma once

// Painting shared by the grid's combo box and date picker, which draw their
// own flat button and borders over the platform's control.
#include "Graphics.h"

namespace AsgFlatLook {

void FrameWith(HDC DC, RECT R, COLORREF Color);
void FillWith(HDC DC, RECT R, COLORREF Color);
// The window's rectangle moved to (0, 0): what a window DC paints in.
RECT WindowRectAtOrigin(HWND Wnd);

struct TFlatButtonColors {
    TColor Normal, Hot, Down, Border, Text, TextDown;
};

// The flat button's face colour for the mouse state.
TColor ButtonFace(const TFlatButtonColors& Colors, bool Hover, bool Pressed);
// The rule left of the button and the arrow whose upper left is at Arrow;
// a clNone colour leaves either out.
void DrawButtonRuleAndArrow(HDC DC, const RECT& R, POINT Arrow, const TFlatButtonColors& Colors, bool Pressed);
// The drop button as the visual style draws it, or as a flat frame control
// when no style draws.
void DrawStyledDropButton(HDC DC, HWND Wnd, RECT R, bool ThemesActive, bool Enabled, bool Pressed, bool Hover,
                          bool DroppedDown);
// Clips the button's inner face out of the window DC and gives the button
// rectangle its border paints round.
RECT ButtonBorderRect(HDC DC, HWND Wnd, int ClientWidth, int ButtonWidth);

} // namespace AsgFlatLook
