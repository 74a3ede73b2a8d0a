// Skin sections painted into bitmaps: a section's colour, transparency over
// the parent background, gradient, texture, corner images and border image;
// a whole section with alpha; bitmaps drawn by margins, border strips, and
// the transparent corners of window borders. Without a manager or a valid
// section every painter returns at once. Rectangles are exclusive.
#pragma once

#include "sGraphUtils.h"

class TsCommonData;

constexpr TColor NoCustomColor = clFuchsia;

void PaintSkinBackground(int SkinIndex, const TCacheInfo& CI, int State, const TRect& R, const TPoint& Offset,
                         TBitmap* Bmp, TsSkinManager* SkinManager, int TextureIndex = -1, int HotTextureIndex = -1,
                         TColor CustomColor = NoCustomColor);
// The lighter variant under given border images: no custom colour, no final texture.
void PaintSkinBackgroundSimple(int SkinIndex, int TextureIndex, TsSkinManager* SkinManager, TBitmap* Bmp,
                               const TPoint& Offset, const TRect& R, int State, const TCacheInfo& CI);
// Background, corner images and border image of a section.
void PaintSkinItem(int SkinIndex, const TCacheInfo& CI, int State, const TRect& R, const TPoint& Offset,
                   TBitmap* Bmp, TsSkinManager* SkinManager, int TextureIndex = -1, int HotTextureIndex = -1);
void PaintSkinItemWithBorderImage(int SkinIndex, int BorderIndex, int TextureIndex, const TCacheInfo& CI, int State,
                                  const TRect& R, const TPoint& Offset, TBitmap* Bmp, TsSkinManager* SkinManager);
void PaintSkinItemToDC(int SkinIndex, const TCacheInfo& CI, int State, const TRect& R, const TPoint& Offset, HDC DC,
                       TsSkinManager* SkinManager);
// The whole Bmp over SrcDC's content (or FillColor); answers the index used,
// FallbackIndex when Index is negative; negative: nothing painted.
int PaintSkinItemFromDC(TBitmap* Bmp, int Index, int FallbackIndex, int State, TsSkinManager* SkinManager,
                        const TRect& R, TColor FillColor, HDC SrcDC);
void PaintControlBackground(TsCommonData* SkinData, const TCacheInfo& CI, int State, const TRect& R,
                            const TPoint& Offset, TBitmap* Bmp);
// The whole skin of a control, with its colour tone, hue and saturation.
void PaintControlSkin(TsCommonData* SkinData, const TCacheInfo& CI, int State, const TRect& R, const TPoint& Offset,
                      TBitmap* Bmp, bool BorderFlag);

// A texture without mask by its draw mode; R returns the part left for the
// section colour, or (-1, -1, -1, -1) when nothing is left. An empty tile
// paints nothing and leaves R.
void PaintTexture(TCanvas* Canvas, TRect& R, int Mode, const TsMaskData& MaskData);
// A masked texture (modes 0 and 10) over the background CI.
void PaintTextureWithMask(TBitmap* Bmp, TRect& R, const TCacheInfo& CI, int Mode, const TsMaskData& MaskData);

// Per edge (Left, Top, Right, Bottom): 0 tiles, 1 stretches.
using TEdgeModes = TRect;
void PaintBitmapByMargins(TBitmap* Dst, TBitmap* Src, const TRect& DstRect, const TRect& SrcRect,
                          const TRect& Margins, const TRect& Limits, const TEdgeModes& EdgeModes, bool StretchCentre,
                          bool FillCentre);
// The ring B wide around a W x H area at (X, Y), copied from the source.
void BitBltBorder(HDC DstDC, int X, int Y, int W, int H, HDC SrcDC, int SrcX, int SrcY, int B);
void ExcludeControlsFromClip(HDC DC, TWinControl* WinControl, int DX, int DY);
// One-row rectangles of the fuchsia pixels in the top (or bottom) corners of
// a border image, for a window Width wide, at rows from Y.
void AddCornerKeyRects(TRects& Rects, int Width, const TsMaskData& MaskData, bool Bottom, int Y);

// A whole section (background, then border image) into a 32-bit bitmap with alpha.
void PaintSkinSectionOnBitmap32(int SkinIndex, int State, const TRect& Rect, TBitmap* Bitmap,
                                TsSkinManager* SkinManager);
void PaintSectionBackground32(int SkinIndex, int State, const TRect& Rect, TBitmap* Bitmap,
                              TsSkinManager* SkinManager, TColor KeyColor);
