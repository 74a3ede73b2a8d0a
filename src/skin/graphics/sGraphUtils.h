// The lowest drawing layer of the skin library: 32-bit bitmaps, their rows
// and pixels, colour transforms, channel transfers, rotation, resampling,
// and the layout and layered-window entry points bound at start-up.
//
// Pixel order: a pixel read as a 32-bit value is 0xAARRGGBB (blue in byte
// 0); a TColor is 0x00BBGGRR (colour order). SwapRedBlue converts.
#pragma once

#include "acEngineServices.h"
#include "acntTypes.h"
#include "sConst.h"
#include <cstddef>

class TControl;

// ---------------------------------------------------------------------------
// Byte order and pixel access.
Cardinal SwapRedBlue(Cardinal Value);
Cardinal SwapBytes32(Cardinal Value);
// Reverses the bytes of Count values in place; nothing for Count < 1.
void SwapBytes32Array(Cardinal* P, int Count);

// Pixels of a 32-bit bitmap; a coordinate outside it reads 0 and writes nothing.
Cardinal GetBitmap32Pixel(TBitmap* Bitmap, int X, int Y);
void SetBitmap32Pixel(TBitmap* Bitmap, int X, int Y, Cardinal Value);

void PaintSolidRect(HDC DC, const TRect& R, TColor Color);
TCacheInfo MakeCacheInfo(TBitmap* Bmp, int X = 0, int Y = 0);

// ---------------------------------------------------------------------------
// Bitmap creation and copies. Every Make... result belongs to the caller.

// A 32-bit DIB bitmap; a size the system refuses gives an empty one, never null.
TBitmap* MakeBitmap32(int Width, int Height);
TBitmap* MakeBitmap32ForRect(const TRect& R);
TBitmap* MakeBitmap32OfSize(const TPoint& Size);
TBitmap* MakeBitmap32Like(TBitmap* Bmp);
// The form's whole size, frame included.
TBitmap* MakeBitmap32ForForm(const TCustomForm* Form);
// Same size and pixel format; the contents are not copied.
TBitmap* MakeBitmapLike(TBitmap* Bmp);
// Target takes Source's format, handle type, size and pixels.
void DuplicateBitmap(TBitmap* Target, TBitmap* Source);

// Row 0 and the signed distance to row 1 (0 for one row); false without rows.
bool GetScanlineBase(TBitmap* Bmp, Byte*& Base, std::ptrdiff_t& Stride);

// An icon with Bmp as its colour image and an empty mask; the caller owns it.
HICON CreateIconFromBitmap(TBitmap* Bmp);
// A copy of a 32-bit bitmap turned clockwise by 90, 180 or 270 degrees (any
// other angle copies it). Null for a missing or non-32-bit bitmap. With
// FreeSource the source is freed and the variable cleared.
TBitmap* RotateBitmap32(TBitmap*& Bmp, int Angle, bool FreeSource);
void SetFileDataBitmap32(TacExtFileData& Data);

// Skin images with the colours in the upper half and the mask below.
TBitmap* MaskedImageToAlpha(TBitmap* Bmp, const TRect& R);
TBitmap* AlphaToMaskedImage(TBitmap* Bmp);

// Channel is the byte position 0..3 of a pixel. These work on the area that
// both bitmaps cover.
void CopyBitmapChannel(TBitmap* Target, TBitmap* Source, int Channel);
// ToBytes: 32-bit channel into the 8-bit bitmap; else the other way.
void TransferChannel8(TBitmap* Bmp32, TBitmap* Bmp8, int Channel, bool ToBytes);
// Target := Second mixed towards First by Weight (0..255), or per channel by
// the Mask bitmap's bytes. Nothing unless all bitmaps are 32-bit and large enough.
void MixBitmaps32(TBitmap* Target, TBitmap* First, TBitmap* Second, Byte Weight, TBitmap* Mask);

// Two-pass filtered resampling of Src into Dst (Src becomes 32-bit).
// Filters: 0 box, 1 triangle, 2 Hermite, 3 bell, 4 B-spline, 5 sine, 6 Mitchell.
void ResampleBitmap(TBitmap* Src, TBitmap* Dst, int NewWidth, int NewHeight, int Filter);
// The same on pixels in memory: Src rows SrcStride bytes apart, Dst packed
// NewWidth pixels a row.
void ResamplePixels(const Cardinal* Src, int SrcWidth, int SrcHeight, std::ptrdiff_t SrcStride, Cardinal* Dst,
                    int NewWidth, int NewHeight, int Filter);

// ---------------------------------------------------------------------------
// Colour values (see each operation for the byte order it expects).
Cardinal MixColors(Cardinal A, Cardinal B, Byte Weight);
Cardinal ChangeBrightness(Cardinal Color, int Amount);
Cardinal ChangeSaturation(Cardinal Color, int Amount);
// Amount is in units of 1/256.
Cardinal SaturateValue(int Amount, Cardinal Value);
Cardinal ChangeHue(int Angle, Cardinal Color);
// Value in pixel order.
Cardinal HueShiftValue(int Angle, Cardinal Value);
// The tone is given in the opposite byte order to the value.
Cardinal ColorToneValue(Cardinal Value, Cardinal Tone);
inline Cardinal ApplyColorTone(Cardinal Value, Cardinal Tone) { return ColorToneValue(Value, Tone); }
// Exchanges bytes 0 and 2 of a value below 2^24 (colours read from text).
Cardinal ReverseColorBytes(Cardinal Value);

// ---------------------------------------------------------------------------
// Per-pixel operations on 32-bit bitmaps.
using TPixelProc = void (*)(Cardinal& Pixel, Integer Param);
// Calls PixelProc for every pixel, row by row; pixels equal to KeyColor
// (colour order, clNone for no key) are skipped.
void ForEachBitmapPixel(TBitmap* Bmp, TPixelProc PixelProc, Integer Param, TColor KeyColor = clNone);
void BrightnessPixelProc(Cardinal& Pixel, Integer Param);
void SaturationPixelProc(Cardinal& Pixel, Integer Param);
void HuePixelProc(Cardinal& Pixel, Integer Param);
void TonePixelProc(Cardinal& Pixel, Integer Param);
void OpaquePixelProc(Cardinal& Pixel, Integer Param);

void MakeGrayscale(TBitmap* Bmp);
void MakeGrayscaleExceptKey(TBitmap* Bmp, TColor Key);
// Runs of pixels equal to Key and 0xFFFFFF, row by row.
TRects CollectKeyRects(TBitmap* Bmp, Cardinal Key);
// The bitmap's rectangle without its key pixels; the caller owns the region.
HRGN MakeBitmapRegion(TBitmap* Bmp, Cardinal Key);

// ---------------------------------------------------------------------------
// Copies and blends between 32-bit bitmaps. A transparent source pixel is
// 0x00FF00FF or has alpha 16 or less. Inclusive rectangles have Right and
// Bottom on the last column and row; exclusive ones one past.

// The general copy (exclusive rects): per-pixel alpha scaled by (100 -
// Transparency) percent, an optional tint Color (clNone for none), the
// background of CI behind transparent pixels with FillFromCI, and with
// Reflection a fading mirror image below DstRect. Src becomes 32-bit.
void CopyRectWithAlpha(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, bool Reflection,
                       int Transparency, TColor Color, bool FillFromCI, const TCacheInfo& CI, TBitmap* Src);
// SrcRect inclusive, at (X, Y); pixels whose value is not Key mix all four
// bytes, Weight 0 giving the source and 255 keeping the target.
void BlendRectExceptKey(TBitmap* Dst, int X, int Y, Cardinal Key, Byte Weight, TRect SrcRect, TBitmap* Src);
// SrcRect inclusive, at DstPoint, one weight for the block (0 the source).
void BlendRectUniform(TBitmap* Dst, TBitmap* Src, Byte Weight, const TPoint& DstPoint, const TRect& SrcRect);
// SrcRect inclusive, at DstPoint, by the source's alpha.
void BlendRectOver(TBitmap* Dst, TBitmap* Src, const TRect& SrcRect, const TPoint& DstPoint);
// Exclusive rects, by the source's alpha; with a ready CI fuchsia pixels
// are skipped or, with FillFromCI, take the background.
void BlendRectByAlpha(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, bool FillFromCI,
                      const TCacheInfo& CI, TBitmap* Src);
// A skin image whose mask is the lower half of MaskData.R: white mask keeps
// the target, black gives the image.
void CopyMaskedRect(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, const TsMaskData& MaskData,
                    bool FillFromCI, const TCacheInfo& CI, TBitmap* Src);
// The whole of Src at (X, Y) except pixels of Key (colour order); copied
// pixels become opaque.
void CopyBitmapExceptKey(TBitmap* Dst, TBitmap* Src, int X, TColor Key, int Y);
// SrcRect inclusive, at (X, Y); Key is a raw pixel value. Key pixels take
// the background of CI (its fill colour when CI is not ready); the others
// are copied.
void CopyRectExceptKey(TBitmap* Dst, TBitmap* Src, int X, bool FillFromCI, const TCacheInfo& CI, Cardinal Key,
                       TRect SrcRect, int Y);
// SrcRect inclusive, at (X, Y); pixels other than Key (colour order, alpha
// 0) are copied whole.
void CopyRectExceptColor(TBitmap* Dst, TBitmap* Src, int X, TColor Key, TRect SrcRect, int Y);
// Every pixel but 0x00FF00FF mixed with Color by Weight (255 keeps the pixel).
void BlendBitmapWithColor(TBitmap* Bmp, Byte Weight, TColor Color);
// Same-size bitmaps: a white mask keeps the target, black gives Color.
void MixColorByMask(TBitmap* Target, TBitmap* Mask, TColor Color);

// ---------------------------------------------------------------------------
// Glyphs and arrows.

// A font glyph's coverage into Color at Point: from the glyph's alpha (32-bit
// glyph, no BgColor) or 255 minus its grey; with BgColor (not clNone) the
// result lies between BgColor and Color whatever the target held.
void PaintGlyphMask(TBitmap* Dst, TBitmap* Src, TPoint Point, TColor Color, TColor BgColor);
// One image of a strip of ImageCount images side by side, chosen by State
// (0 normal, 1 hot, 2 pressed, 3 disabled) and drawn at R's top-left; the
// bottom-left pixel of the image is its key colour.
void DrawMultiStateGlyph(TBitmap* Glyph, TBitmap* Dst, TRect R, bool Reflection, int AltIndex, int Blend,
                         int State, bool StateImages, int ImageCount);
// A fading mirror image of SrcRect (inclusive) from R's top down; Blend is a percent.
void PaintGlyphReflection(TBitmap* Dst, TBitmap* Src, TRect R, int Blend, TColor Key, TRect SrcRect);
// A 32-bit Bmp is blended by its alpha over the canvas at R (stretched when
// its size differs); other bitmaps draw themselves into R.
void DrawBitmap32OnCanvas(TCanvas* Canvas, TBitmap* Bmp, const TRect& R, bool Reflection);
// Directions: 0 left, 1 up, 2 right, 3 down. Nothing when the arrow would
// touch or leave the bitmap's right or bottom edge.
void PaintSolidArrow(TBitmap* Bmp, TColor Color, const TRect& R, int Direction);
// Style 0 and 2 filled, 1 and 3 lines (2 and 3 half height); Size 0 is
// ArrowGlyphSize; Angle turns the whole bitmap about its centre.
void PaintArrowGlyph(TBitmap* Bmp, TColor Color, TColor LineColor, const TRect& R, int Direction, double Angle,
                     int Size, int Style);

// ---------------------------------------------------------------------------
// Free rotation through PlgBlt.
class TPrlgram : public TObject {
public:
    struct TFloatPoint {
        double X = 0;
        double Y = 0;
    };
    // Takes the first four points: top-left, top-right, bottom-right, bottom-left.
    TPrlgram(const TPoint* Points, int Count);
    // Turns the points about the centre of the box.
    void Rotate(TAngle Angle);
    // Point Index rounded; Point is left alone for an index past 3.
    void GetPoint(int Index, TPoint& Point) const;

    TFloatPoint FPoints[4];
};

void FillSinCosTable();
inline double DegToRad(double X) { return X * 0.017453292519943295769; }
// Draws Bmp turned by Angle degrees about Centre.
void PlgBltRotated(HDC DC, TBitmap* Bmp, const TPoint& Centre, int Angle);

// ---------------------------------------------------------------------------
// Entry points bound at start-up, null when the system lacks them. The
// window helpers call the layered-window functions through these.
using TSetLayout = DWORD(WINAPI*)(HDC, DWORD);
using TGetLayout = DWORD(WINAPI*)(HDC);
using TUpdateLayeredWindow = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                           BLENDFUNCTION*, DWORD);
using TSetLayeredWindowAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
struct TLayoutBindings {
    TSetLayout SetLayout = nullptr;
    TGetLayout GetLayout = nullptr;
    TUpdateLayeredWindow UpdateLayeredWindow = nullptr;
    TSetLayeredWindowAttributes SetLayeredWindowAttributes = nullptr;
};
TLayoutBindings& LayoutBindings();

void SetDCLayout(HDC DC, DWORD Layout);
DWORD GetDCLayout(HDC DC);
// The entry point is bound and the platform has working layered windows.
bool LayeredWindowsAvailable();

void sGraphUtils_Initialize();
void sGraphUtils_Finalize();
