// Per-pixel primitives of 32-bit alpha bitmaps: fills and tints of
// rectangles, the alpha channel, premultiplication, icons, key-colour
// copies, text with coverage, and the disabled look of control images.
//
// Keys: fuchsia (0xFF00FF) marks transparent parts of skin images;
// 0x00FFFFFF (white with alpha 0) counts as empty; clNone as a key means
// none. Every routine clips to the bitmap and does nothing for a bitmap
// without rows.
#pragma once

#include "sGraphUtils.h"

// Rows max(0, Top) up to but excluding min(Height, Bottom), columns alike.
void FillBitmap32Rect(TBitmap* Bitmap, const TRect& Rect, TColor Color, Byte Alpha);
// Rect inclusive; Weight 255 keeps nearly the old pixel, 0 gives nearly Color; alpha kept.
void BlendColorIntoRect(TBitmap* Bitmap, const TRect& Rect, Byte Weight, TColor Color);
// Each colour channel moves Percent of the way towards Color; alpha := Alpha.
void TintRectToColor(TBitmap* Bitmap, const TRect& Rect, TColor Color, int Percent, Byte Alpha);
// Alpha of the pixels of Rect (exclusive), or with a Key other than clNone
// only of those whose whole value differs from Key.
void SetBitmap32Alpha(TBitmap* Bitmap, const TRect& Rect, Byte Alpha, Cardinal Key);
void ClearTransparentWhite(TBitmap* Bitmap);

// Colour channels times alpha / 256; 0x00FFFFFF becomes 0. Without desktop
// composition near-white stops at 244.
void PremultiplyBitmap32(TBitmap* Bitmap);
void PremultiplyBitmap32Rect(TBitmap* Bitmap, const TRect& Rect);
// A bitmap whose alpha is all 0 gets alpha 255 everywhere except on the
// colour of its bottom-left pixel.
void MakeAlphaFromCorner(TBitmap* Bitmap);
// Bitmap (made 32-bit) as the colour image of an icon; the caller owns it.
HICON CreateIconFromAlphaBitmap(TBitmap* Bitmap);

// Source pixels from SrcPos go into Rect of Target wherever the key is
// fuchsia: with MaskIndex -1 the key is the target itself (its alpha
// cleared first); else the corner of skin image MaskIndex that Corner names
// (14 top-right, 16 bottom-left, 17 bottom-right, anything else top-left).
// SkinManager null means the default manager.
void CopyPixelsByFuchsiaKey(TBitmap* Target, TBitmap* Source, const TRect& Rect, const TPoint& SrcPos,
                            int MaskIndex, TsSkinManager* SkinManager, int Corner);

// Text in the bitmap canvas's font into Rect, coverage from a black-on-white
// rendering. Text points to wide characters, or to 8-bit ones with AnsiText.
// In AlphaMode the target's alpha rises with the coverage.
void DrawTextOnBitmap32(TBitmap* Bitmap, const void* Text, bool AlphaMode, const TRect& Rect, UINT Format,
                        TColor Color, bool AnsiText = false);
// The same in the font colours of a skin section's state, contours first
// in AlphaMode; without a manager or section in the canvas font's colour.
void DrawSkinTextOnBitmap32(TBitmap* Bitmap, const String& Text, bool AlphaMode, const TRect& Rect, UINT Format,
                            int SkinIndex, int State, TsSkinManager* SkinManager);

// The disabled look: Flags 2 desaturates by DisabledSaturation, Flags 1
// blends with the background (CacheInfo's image at its position plus
// Offset, else its fill colour or the control's colour) by DisabledBlend.
void ApplyControlBitmapEffects(TBitmap* Bitmap, Byte Flags, TWinControl* Control, const TCacheInfo& CacheInfo,
                               const TPoint& Offset);
