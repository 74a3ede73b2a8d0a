// What the glow button shares with toolbars: the window messages toolbars
// exchange, the screen scale for sizes drawn in pixels, and TColor to ARGB.
#pragma once

#include "AdvGDIP.h"
#include "AdvStyleIF.h"

// Registered at start-up; nothing here sends or handles them.
extern UINT WM_TBCOMPACTWINHIDE;
extern UINT WM_TBSETAEROVISTA;
extern UINT WM_TBPSETIGNOREALT;
extern UINT WM_TBFUPDATECONTEXTMENU;
extern UINT WM_TBSETMETRO;
extern UINT WM_TBREVERTMETRO;
extern UINT WM_TBSETOFFICE2013;
extern UINT WM_TBSHOWSHORTCUTHINT;

// Cleared to clNone at start-up; kept for toolbars, read by nothing here.
extern TColorTones ToolBarMetroTones;
extern TColorTones ToolBarOffice2013Tones;

// The height of "0" in a Size-point font of the canvas's default face, as a
// screen canvas realises it at PixelsPerInch.
int FontTextHeightAtDPI(int PixelsPerInch, int Size);
// The scale of sizes designed at 96 pixels per inch for DC (the screen's
// when 0): 1.0 at 96, else the ratio of the "0" heights of a 9-point font,
// so that sizes follow the font metrics rather than the bare resolution.
float CalcDPIScale(HDC DC);
// The same for a device of PixelsPerInch.
float CalcDPIScaleAt(int PixelsPerInch);
// CalcDPIScale(0) of the first call, for the rest of the process.
float GetDPIScale();
float GetGlowDPIScale();
// Opaque ARGB of a TColor (system colours resolved).
ARGB ColorToARGB(TColor Color);

void ToolBarMessages_Initialize();
void ToolBarMessages_Finalize();
