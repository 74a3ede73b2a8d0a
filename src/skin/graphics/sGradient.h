// Skin gradients: the description strings skins carry, and their painters.
// Triangle gradients go through msimg32's GradientFill, bound by name at
// start-up; alpha bands and path gradients go through GDI+.
#pragma once

#include "sConst.h"

// Parses a gradient description into Grad. Old format (last character "0"):
// five fields per stop, colour;unused;step;mode;unused. New format (last
// field a letter, "A" for one stop, "B" for two ...): colour;percent;mode
// per stop. Anything malformed gives an empty array; the stop count never
// exceeds the fields present.
void ParseGradientString(const String& S, TsGradArray& Grad);

// Fills Rect (clipped to the 32-bit bitmap) with the gradient.
void PaintGradient(TBitmap* Bitmap, const TRect& Rect, const TsGradArray& Grad);
// A vertical or horizontal gradient mixed with the tiled SrcRect of Texture
// (an empty SrcRect means the whole texture); every pixel gets Alpha.
void PaintGradientTexture(TBitmap* Bitmap, const TRect& Rect, const TsGradArray& Grad, TBitmap* Texture,
                          const TRect& SrcRect, Byte TextureWeight, Byte Alpha);

void FillDWords(void* P, int Count, Cardinal Value);

using TGradientFill = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
// Null when msimg32 or its entry point is missing.
TGradientFill& GradientFillBinding();

void sGradient_Initialize();
void sGradient_Finalize();
