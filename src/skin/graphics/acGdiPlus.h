// GDI+ bound by name at start-up, so that the program runs where it is
// missing, and the small GDI+ painters of the skin library. Each painter
// draws nothing when GDI+ or an entry point it needs is missing.
#pragma once

#include "sConst.h"
#include <gdiplus.h>

#define AC_GDIPLUS_FLAT_ENTRIES(X)                                                              \
    X(GdipDrawArc) X(GdipDrawLine) X(GdipCreatePen1) X(GdipDrawEllipse) X(GdipFillEllipse)     \
    X(GdipFillRectangle) X(GdipCreateFromHDC) X(GdipCreateSolidFill) X(GdipSetSmoothingMode)  \
    X(GdipDrawImageRectRect) X(GdipCreateLineBrush) X(GdipSetCompositingMode)                 \
    X(GdipSetCompositingQuality) X(GdipDeleteGraphics) X(GdipDisposeImage) X(GdipBitmapLockBits) \
    X(GdipCreateBitmapFromScan0) X(GdipBitmapUnlockBits) X(GdipCreatePathGradient)            \
    X(GdipDeleteBrush) X(GdipDeletePen) X(GdipCreateEffect) X(GdipSetEffectParameters)        \
    X(GdipBitmapCreateApplyEffect) X(GdipCreateBitmapFromHBITMAP) X(GdipCreateHBITMAPFromBitmap) \
    X(GdipSetPenBrushFill) X(GdipSetPathGradientCenterColor)                                  \
    X(GdipSetPathGradientSurroundColorsWithCount)

using TGdiplusStartup = Gdiplus::GpStatus(WINAPI*)(ULONG_PTR*, const Gdiplus::GdiplusStartupInput*,
                                                    Gdiplus::GdiplusStartupOutput*);
using TGdiplusShutdown = VOID(WINAPI*)(ULONG_PTR);

struct TGdiPlusBindings {
    HMODULE Module = nullptr;
    TGdiplusStartup GdiplusStartup = nullptr;
    TGdiplusShutdown GdiplusShutdown = nullptr;
#define AC_GDIPLUS_POINTER(Name) decltype(&Gdiplus::DllExports::Name) Name = nullptr;
    AC_GDIPLUS_FLAT_ENTRIES(AC_GDIPLUS_POINTER)
#undef AC_GDIPLUS_POINTER
    ULONG_PTR Token = 0;   // non-zero while GDI+ is started
};
TGdiPlusBindings& GdiPlus();

// The smoothing mode the line painter uses (SmoothingModeHighQuality).
extern Byte GdiPlusSmoothingMode;

void StartGdiPlus(bool Enabled);
void StopGdiPlus(bool Enabled);

// Colours here are TColor byte order with alpha in the top byte.
void DrawAntialiasedLine(HDC DC, TColor Color, float X1, float Y1, float X2, float Y2, float Width);
void FillRectHorzGradient(HDC DC, Cardinal Color1, Cardinal Color2, float X, float Y, float W, float H);
void FillRectVertGradient(HDC DC, Cardinal Color1, Cardinal Color2, float X, float Y, float W, float H);
// Corners top-left, top-right, bottom-right, bottom-left.
void FillRectPathGradient(HDC DC, const TPoint Corners[4], const Cardinal CornerColors[4], float X,
                          float Y, float W, float H, Cardinal CenterColor);
// Smooth scaled copy of SrcRect of Source into DstRect of a 32-bit Target.
void StretchBitmapGdiPlus(TBitmap* Target, TBitmap* Source, const TRect& DstRect, const TRect& SrcRect);

void acGdiPlus_Initialize();
void acGdiPlus_Finalize();
