// The nine-part skin image painter: a skin image (corners of fixed size,
// edges and centre tiled or stretched, states side by side, an optional mask
// in the lower half of its rectangle) drawn into any rectangle, its variants
// for alpha bitmaps and for thin margins, the part copiers, the unscaled
// single-image painter and the repair of control corners over the parent.
//
// Rectangles here are exclusive (Right and Bottom one past). Masks: byte 255
// keeps the target, 0 gives the image. Fuchsia (0x00FF00FF as a pixel) is
// the key colour of images without mask.
#pragma once

#include "sGraphUtils.h"

class TsCommonData;

constexpr Cardinal FuchsiaPixel = 0x00FF00FF;

// DrawMode bits of a skin image.
constexpr int dmStretch = 1;      // edges and centre stretched instead of tiled
constexpr int dmNoState0 = 2;     // nothing painted for state 0
constexpr int dmCentre = 4;       // the centre is painted

void PaintSkinImage(TBitmap* Bitmap, const TRect& Rect, const TCacheInfo& CacheInfo, const TsMaskData& MaskData,
                    int State, bool CornersOnBackground);
// The same layout for 32-bit bitmaps whose alpha is kept and built up.
void PaintSkinImageAlpha(TBitmap* Bitmap, const TRect& Rect, const TCacheInfo& CacheInfo,
                         const TsMaskData& MaskData, int State);
// Masked images: edges only as thick as Margins allows, faded by Opacity, no
// centre. Images without mask paint as PaintSkinImage over the background.
void PaintSkinImageWithMargins(TBitmap* Bitmap, const TRect& Rect, const TCacheInfo& CacheInfo,
                               const TsMaskData& MaskData, int State, const TRect& Margins, Byte Opacity);
// One state image, unscaled, at Rect's top-left. Mode 1 the normal look,
// other modes the lighter (inactive) look.
void DrawSkinImageAt(TBitmap* Bitmap, const TRect& Rect, int State, int Mode, const TsMaskData& MaskData,
                     const TCacheInfo& CacheInfo);
// Corner bits: 1 top-left, 2 bottom-left, 4 top-right, 8 bottom-right.
void PaintControlCorners(TsCommonData* SkinData, int State, Byte Corners);

// ---------------------------------------------------------------------------
// Part copiers. The mask lies half the height of MaskData.R below the image.

// Target channel t := (t * mr + s * (255 - mr)) shr 8 with mr the mask's red.
void CopyMaskedRectAlpha(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, const TsMaskData& MaskData,
                         const TCacheInfo& CI, TBitmap* Src);
// As above with the image's share scaled by Opacity.
void CopyMaskedRectFaded(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, const TsMaskData& MaskData,
                         const TCacheInfo& CI, TBitmap* Src, Byte Opacity);
// SrcRect's image at (X, Y) where the mask is not white; images without mask
// are copied except fuchsia. Needs a 32-bit target.
void CopyMaskedRectAt(TBitmap* Dst, int X, int Y, const TRect& SrcRect, TBitmap* Src, const TsMaskData& MaskData,
                      int Mode);
// A masked texture tile; fuchsia image pixels take CI's fill colour, or
// with fill colour fuchsia the ready background.
void PaintMaskedPiece(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, const TsMaskData& MaskData,
                      const TCacheInfo& CI, TBitmap* Src);
// A stretched part, its mask MaskOffset rows below it (0: no mask).
void StretchMaskedRect(TBitmap* Dst, const TRect& DstRect, TBitmap* Src, const TRect& SrcRect, int MaskOffset,
                       bool Smoothing);
void StretchMaskedRectAlpha(TBitmap* Dst, const TRect& DstRect, TBitmap* Src, const TRect& SrcRect, int MaskOffset);
void StretchMaskedRectFaded(TBitmap* Dst, const TRect& DstRect, TBitmap* Src, const TRect& SrcRect, int MaskOffset,
                            Byte Opacity);
