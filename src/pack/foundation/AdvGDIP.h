// The component pack's one door to GDI+: thin wrappers that each own one
// native GDI+ object and forward to the flat API, colour and geometry
// helpers, the fill routine of the fill kinds, the picture that keeps its
// encoded bytes and draws through GDI+, and the unit start-up that brackets
// the program's use of GDI+.
//
// No wrapper raises. Every failure is a Status, returned by the call and kept
// in the wrapper's last-error field until GetLastStatus reads and clears it,
// so the field remembers the most recent failure, not the most recent call.
#pragma once

#include "Classes.h"
#include "ComObj.h"
#include "Graphics.h"
#include "SysUtils.h"
#include <memory>

// ---------------------------------------------------------------------------
// Values and enumerations, value for value as the flat API declares them.
using ARGB = DWORD;

struct TGPPointF {
    float X = 0, Y = 0;
};
struct TGPPoint {
    int X = 0, Y = 0;
};
struct TGPRectF {
    float X = 0, Y = 0, Width = 0, Height = 0;
};
struct TGPRect {
    int X = 0, Y = 0, Width = 0, Height = 0;
};
// m11, m12, m21, m22, dx, dy.
using TMatrixArray = float[6];

enum Status {
    Ok, GenericError, InvalidParameter, OutOfMemory, ObjectBusy, InsufficientBuffer, NotImplemented,
    Win32Error, WrongState, Aborted, FileNotFound, ValueOverflow, AccessDenied, UnknownImageFormat,
    FontFamilyNotFound, FontStyleNotFound, NotTrueTypeFont, UnsupportedGdiplusVersion,
    GdiplusNotInitialized, PropertyNotFound, PropertyNotSupported
};
enum FillMode { FillModeAlternate, FillModeWinding };
enum Unit_ { UnitWorld, UnitDisplay, UnitPixel, UnitPoint, UnitInch, UnitDocument, UnitMillimeter };
enum HatchStyle {
    HatchStyleHorizontal, HatchStyleVertical, HatchStyleForwardDiagonal, HatchStyleBackwardDiagonal,
    HatchStyleCross, HatchStyleDiagonalCross, HatchStyle05Percent, HatchStyle10Percent,
    HatchStyle20Percent, HatchStyle25Percent, HatchStyle30Percent, HatchStyle40Percent,
    HatchStyle50Percent, HatchStyle60Percent, HatchStyle70Percent, HatchStyle75Percent,
    HatchStyle80Percent, HatchStyle90Percent, HatchStyleLightDownwardDiagonal,
    HatchStyleLightUpwardDiagonal, HatchStyleDarkDownwardDiagonal, HatchStyleDarkUpwardDiagonal,
    HatchStyleWideDownwardDiagonal, HatchStyleWideUpwardDiagonal, HatchStyleLightVertical,
    HatchStyleLightHorizontal, HatchStyleNarrowVertical, HatchStyleNarrowHorizontal,
    HatchStyleDarkVertical, HatchStyleDarkHorizontal, HatchStyleDashedDownwardDiagonal,
    HatchStyleDashedUpwardDiagonal, HatchStyleDashedHorizontal, HatchStyleDashedVertical,
    HatchStyleSmallConfetti, HatchStyleLargeConfetti, HatchStyleZigZag, HatchStyleWave,
    HatchStyleDiagonalBrick, HatchStyleHorizontalBrick, HatchStyleWeave, HatchStylePlaid,
    HatchStyleDivot, HatchStyleDottedGrid, HatchStyleDottedDiamond, HatchStyleShingle,
    HatchStyleTrellis, HatchStyleSphere, HatchStyleSmallGrid, HatchStyleSmallCheckerBoard,
    HatchStyleLargeCheckerBoard, HatchStyleOutlinedDiamond, HatchStyleSolidDiamond, HatchStyleTotal
};
enum DashStyle { DashStyleSolid, DashStyleDash, DashStyleDot, DashStyleDashDot, DashStyleDashDotDot, DashStyleCustom };
enum WrapMode { WrapModeTile, WrapModeTileFlipX, WrapModeTileFlipY, WrapModeTileFlipXY, WrapModeClamp };
enum LinearGradientMode {
    LinearGradientModeHorizontal, LinearGradientModeVertical, LinearGradientModeForwardDiagonal,
    LinearGradientModeBackwardDiagonal
};
enum CombineMode {
    CombineModeReplace, CombineModeIntersect, CombineModeUnion, CombineModeXor, CombineModeExclude,
    CombineModeComplement
};
enum MatrixOrder { MatrixOrderPrepend, MatrixOrderAppend };
enum ColorMatrixFlags { ColorMatrixFlagsDefault, ColorMatrixFlagsSkipGrays, ColorMatrixFlagsAltGray };
enum ColorChannelFlags { ColorChannelFlagsC, ColorChannelFlagsM, ColorChannelFlagsY, ColorChannelFlagsK, ColorChannelFlagsLast };
enum TextRenderingHint {
    TextRenderingHintSystemDefault, TextRenderingHintSingleBitPerPixelGridFit,
    TextRenderingHintSingleBitPerPixel, TextRenderingHintAntiAliasGridFit, TextRenderingHintAntiAlias,
    TextRenderingHintClearTypeGridFit
};
enum StringAlignment { StringAlignmentNear, StringAlignmentCenter, StringAlignmentFar };
enum StringTrimming {
    StringTrimmingNone, StringTrimmingCharacter, StringTrimmingWord, StringTrimmingEllipsisCharacter,
    StringTrimmingEllipsisWord, StringTrimmingEllipsisPath
};
enum HotkeyPrefix { HotkeyPrefixNone, HotkeyPrefixShow, HotkeyPrefixHide };
enum FlushIntention { FlushIntentionFlush, FlushIntentionSync };
enum RotateFlipType {
    RotateNoneFlipNone, Rotate90FlipNone, Rotate180FlipNone, Rotate270FlipNone, RotateNoneFlipX,
    Rotate90FlipX, Rotate180FlipX, Rotate270FlipX
};
enum ColorAdjustType {
    ColorAdjustTypeDefault, ColorAdjustTypeBitmap, ColorAdjustTypeBrush, ColorAdjustTypePen,
    ColorAdjustTypeText, ColorAdjustTypeCount, ColorAdjustTypeAny
};
enum SmoothingMode {
    SmoothingModeInvalid = -1, SmoothingModeDefault, SmoothingModeHighSpeed, SmoothingModeHighQuality,
    SmoothingModeNone, SmoothingModeAntiAlias, SmoothingModeAntiAlias8x8
};
enum CompositingQuality {
    CompositingQualityInvalid = -1, CompositingQualityDefault, CompositingQualityHighSpeed,
    CompositingQualityHighQuality, CompositingQualityGammaCorrected, CompositingQualityAssumeLinear
};
enum LineCap {
    LineCapFlat = 0, LineCapSquare = 1, LineCapRound = 2, LineCapTriangle = 3, LineCapNoAnchor = 0x10,
    LineCapSquareAnchor = 0x11, LineCapRoundAnchor = 0x12, LineCapDiamondAnchor = 0x13,
    LineCapArrowAnchor = 0x14, LineCapCustom = 0xFF
};
enum PenType {
    PenTypeUnknown = -1, PenTypeSolidColor, PenTypeHatchFill, PenTypeTextureFill, PenTypePathGradient,
    PenTypeLinearGradient
};
// Font style bits of TGPFont.
enum FontStyle {
    FontStyleRegular = 0, FontStyleBold = 1, FontStyleItalic = 2, FontStyleBoldItalic = 3,
    FontStyleUnderline = 4, FontStyleStrikeout = 8
};

#ifndef PixelFormat32bppARGB
// The pixel formats the pack creates bitmaps in.
constexpr int PixelFormat24bppRGB = 0x00021808;
constexpr int PixelFormat32bppRGB = 0x00022009;
constexpr int PixelFormat32bppARGB = 0x0026200A;
#endif

// The GDI+ records, as its headers declare them.
struct TColorMatrix {
    float m[5][5];
};
struct TColorMap {
    ARGB oldColor;
    ARGB newColor;
};
struct TColorPalette {
    UINT Flags;
    UINT Count;
    ARGB Entries[1];
};
struct TEncoderParameter {
    GUID Guid;
    ULONG NumberOfValues;
    ULONG Type;
    void* Value;
};
struct TEncoderParameters {
    UINT Count;
    TEncoderParameter Parameter[1];
};

enum TGPImageFormat {
    ifUndefined, ifMemoryBMP, ifBMP, ifEMF, ifWMF, ifJPEG, ifPNG, ifGIF, ifTIFF, ifEXIF, ifIcon
};

// A fill kind of the pack's fill descriptions; the numbers are what settings store.
enum TAdvGradientType {
    gtSolid, gtRadial, gtVertical, gtHorizontal, gtForwardDiagonal, gtBackwardDiagonal, gtAngle,
    gtHatch, gtPath, gtTexture, gtNone
};

enum TAntiAlias { aaNone, aaClearType, aaAntiAlias };

using TDrawImageAbort = BOOL(CALLBACK*)(void* callbackData);
using TGetThumbnailImageAbort = BOOL(CALLBACK*)(void* callbackData);

class TGPImage;
class TGPBrush;
class TGPPen;
class TGPMatrix;
class TGPRegion;
class TGPGraphicsPath;
class TGPFont;
class TGPFontFamily;
class TGPFontCollection;
class TGPStringFormat;
class TGPImageAttributes;
class TAdvGDIPPicture;
struct TGPAccess;

// ---------------------------------------------------------------------------
// Root of every wrapper: instances live in GDI+'s own heap, zero-filled.
// Allocating before GDI+ runs starts it first.
class TGdiplusBase {
public:
    static void* operator new(std::size_t size);
    static void operator delete(void* p);
    TGdiplusBase() = default;
    TGdiplusBase(const TGdiplusBase&) = delete;
    TGdiplusBase& operator=(const TGdiplusBase&) = delete;
    virtual ~TGdiplusBase() = default;
};

class TGPGraphics : public TGdiplusBase {
    friend struct TGPAccess;
public:
    explicit TGPGraphics(HDC hdc);
    // A nil image leaves the object without a handle and its status untouched.
    explicit TGPGraphics(TGPImage* image);
    ~TGPGraphics() override;
    static std::unique_ptr<TGPGraphics> FromImage(TGPImage* image);

    void Flush(FlushIntention intention = FlushIntentionFlush);
    Status Clear(ARGB color);
    HDC GetHDC();
    void ReleaseHDC(HDC hdc);

    Status SetTextRenderingHint(TextRenderingHint newMode);
    TextRenderingHint GetTextRenderingHint();
    Status SetSmoothingMode(SmoothingMode smoothingMode);
    // SmoothingModeInvalid when the query leaves the value unset.
    SmoothingMode GetSmoothingMode();
    Status SetCompositingQuality(CompositingQuality compositingQuality);
    CompositingQuality GetCompositingQuality();

    Status SetTransform(const TGPMatrix* matrix);
    Status MultiplyTransform(const TGPMatrix* matrix, MatrixOrder order = MatrixOrderPrepend);
    Status TranslateTransform(float dx, float dy, MatrixOrder order = MatrixOrderPrepend);
    Status RotateTransform(float angle, MatrixOrder order = MatrixOrderPrepend);
    Status ScaleTransform(float sx, float sy, MatrixOrder order = MatrixOrderPrepend);
    Status ResetTransform();

    Status DrawLine(const TGPPen* pen, float x1, float y1, float x2, float y2);
    Status DrawRectangle(const TGPPen* pen, const TGPRectF& rect);
    Status DrawRectangle(const TGPPen* pen, float x, float y, float width, float height);
    Status DrawEllipse(const TGPPen* pen, const TGPRectF& rect);
    Status DrawEllipse(const TGPPen* pen, float x, float y, float width, float height);
    Status DrawEllipse(const TGPPen* pen, const TGPRect& rect);
    Status DrawEllipse(const TGPPen* pen, int x, int y, int width, int height);
    Status DrawArc(const TGPPen* pen, float x, float y, float width, float height, float startAngle,
                   float sweepAngle);
    Status DrawArc(const TGPPen* pen, const TGPRectF& rect, float startAngle, float sweepAngle);
    Status DrawBezier(const TGPPen* pen, float x1, float y1, float x2, float y2, float x3, float y3, float x4,
                      float y4);
    Status DrawBezier(const TGPPen* pen, const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                      const TGPPointF& pt4);
    Status DrawBeziers(const TGPPen* pen, const TGPPointF* points, int count);
    Status DrawPath(const TGPPen* pen, const TGPGraphicsPath* path);

    Status FillRectangle(const TGPBrush* brush, const TGPRectF& rect);
    Status FillRectangle(const TGPBrush* brush, float x, float y, float width, float height);
    Status FillEllipse(const TGPBrush* brush, const TGPRectF& rect);
    Status FillEllipse(const TGPBrush* brush, float x, float y, float width, float height);
    Status FillEllipse(const TGPBrush* brush, const TGPRect& rect);
    Status FillEllipse(const TGPBrush* brush, int x, int y, int width, int height);
    Status FillPolygon(const TGPBrush* brush, const TGPPointF* points, int count,
                       FillMode fillMode = FillModeAlternate);
    Status FillPolygon(const TGPBrush* brush, const TGPPoint* points, int count,
                       FillMode fillMode = FillModeAlternate);
    Status FillPath(const TGPBrush* brush, const TGPGraphicsPath* path);

    Status DrawImage(TGPImage* image, float x, float y, float width, float height);
    Status DrawImage(TGPImage* image, const TGPRectF& rect);
    Status DrawImage(TGPImage* image, int x, int y);
    Status DrawImage(TGPImage* image, const TGPRectF& destRect, float srcx, float srcy, float srcwidth,
                     float srcheight, Unit_ srcUnit, const TGPImageAttributes* imageAttributes = nullptr,
                     TDrawImageAbort callback = nullptr, void* callbackData = nullptr);
    Status DrawImageRect(TGPImage* image, int x, int y, int width, int height);
    Status DrawImageRect(TGPImage* image, const TGPRect& rect);

    Status SetClip(const TGPRegion* region, CombineMode combineMode = CombineModeReplace);
    Status SetClip(const TGPGraphicsPath* path, CombineMode combineMode = CombineModeReplace);
    Status ExcludeClip(const TGPRectF& rect);
    Status ExcludeClip(const TGPRegion* region);
    Status ResetClip();

    // A length below 0 or beyond the text means the whole text.
    Status MeasureString(const String& string, int length, const TGPFont* font, const TGPRectF& layoutRect,
                         const TGPStringFormat* stringFormat, TGPRectF& boundingBox,
                         int* codepointsFitted = nullptr, int* linesFilled = nullptr);
    Status MeasureString(const String& string, int length, const TGPFont* font, const TGPPointF& origin,
                         const TGPStringFormat* stringFormat, TGPRectF& boundingBox);
    Status MeasureString(const String& string, int length, const TGPFont* font, const TGPRectF& layoutRect,
                         TGPRectF& boundingBox);
    // Every overload draws the whole text, whatever the length says.
    Status DrawString(const String& string, int length, const TGPFont* font, const TGPPointF& origin,
                      const TGPStringFormat* stringFormat, const TGPBrush* brush);
    Status DrawString(const String& string, int length, const TGPFont* font, const TGPPointF& origin,
                      const TGPBrush* brush);
    Status DrawString(const String& string, int length, const TGPFont* font, const TGPRectF& layoutRect,
                      const TGPStringFormat* stringFormat, const TGPBrush* brush);

    // One line of text at rect's top-left in the font's colour, over bkColor
    // unless clNone. Style 0x400 (DT_CALCRECT) measures only. When measuring
    // or filling, rect takes the text's extent; returns rect's height.
    int DrawText(const String& text, int len, TRect& rect, TFont* font, Cardinal style, TColor bkColor);
    int TextWidth(const String& text, TFont* font);
    int TextHeight(const String& text, TFont* font);
    // The GDI+ font of a class-library font; an unknown face falls back to
    // the generic sans-serif family.
    std::unique_ptr<TGPFont> MakeFont(TFont* font);

    // The most recent failure, which is then forgotten.
    Status GetLastStatus();

protected:
    TGPGraphics(void* graphics, Status status);
    Status SetStatus(Status status);
    void SetNativeHandle(void* graphics) { nativeGraphics = graphics; }

private:
    void* nativeGraphics = nullptr;
    Status lastResult = Ok;
};

class TGPPen : public TGdiplusBase {
    friend struct TGPAccess;
public:
    TGPPen(ARGB color, float width = 1.0f);
    TGPPen(const TGPBrush* brush, float width = 1.0f);
    ~TGPPen() override;

    Status SetDashStyle(DashStyle dashStyle);
    DashStyle GetDashStyle();
    Status SetEndCap(LineCap endCap);
    Status SetBrush(const TGPBrush* brush);
    PenType GetPenType();
    // A new brush of the class matching the pen's fill; null for other fills.
    std::unique_ptr<TGPBrush> GetBrush();
    Status GetLastStatus();

private:
    Status SetStatus(Status status);
    void* nativePen = nullptr;
    Status lastResult = Ok;
};

class TGPBrush : public TGdiplusBase {
    friend struct TGPAccess;
public:
    // An abstract brush: no handle, NotImplemented.
    TGPBrush();
    ~TGPBrush() override;
    Status GetLastStatus();

protected:
    TGPBrush(void* brush, Status status);
    Status SetStatus(Status status);
    void SetNativeHandle(void* brush) { nativeBrush = brush; }
    void* nativeBrush = nullptr;
    Status lastResult = Ok;

private:
};

class TGPSolidBrush : public TGPBrush {
    friend struct TGPAccess;
public:
    explicit TGPSolidBrush(ARGB color);

protected:
    TGPSolidBrush(void* brush, Status status) : TGPBrush(brush, status) {}
};

class TGPHatchBrush : public TGPBrush {
    friend struct TGPAccess;
public:
    TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor = 0xFF000000);
    HatchStyle GetHatchStyle();
    ARGB GetForegroundColor();
    ARGB GetBackgroundColor();

protected:
    TGPHatchBrush(void* brush, Status status) : TGPBrush(brush, status) {}
};

class TGPTextureBrush : public TGPBrush {
    friend struct TGPAccess;
public:
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode = WrapModeTile);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRectF& dstRect);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, float dstX, float dstY, float dstWidth, float dstHeight);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRect& dstRect);
    TGPTextureBrush(TGPImage* image, WrapMode wrapMode, int dstX, int dstY, int dstWidth, int dstHeight);
    TGPTextureBrush(TGPImage* image, const TGPRectF& dstRect, const TGPImageAttributes* imageAttributes);
    TGPTextureBrush(TGPImage* image, const TGPRect& dstRect, const TGPImageAttributes* imageAttributes);

    Status ResetTransform();
    Status TranslateTransform(float dx, float dy, MatrixOrder order = MatrixOrderPrepend);
    Status ScaleTransform(float sx, float sy, MatrixOrder order = MatrixOrderPrepend);
    Status RotateTransform(float angle, MatrixOrder order = MatrixOrderPrepend);
    Status SetWrapMode(WrapMode wrapMode);
    WrapMode GetWrapMode();
    std::unique_ptr<TGPImage> GetImage();

protected:
    TGPTextureBrush(void* brush, Status status) : TGPBrush(brush, status) {}
};

class TGPLinearGradientBrush : public TGPBrush {
    friend struct TGPAccess;
public:
    TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1, ARGB color2);
    TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1, ARGB color2);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, LinearGradientMode mode);
    TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, float angle,
                           bool isAngleScalable = false);
    TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, float angle,
                           bool isAngleScalable = false);

    Status SetGammaCorrection(bool useGammaCorrection);
    // InvalidParameter without a flat call when count is 0 or less.
    Status SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int count);

protected:
    TGPLinearGradientBrush(void* brush, Status status) : TGPBrush(brush, status) {}
};

class TGPPathGradientBrush : public TGPBrush {
    friend struct TGPAccess;
public:
    explicit TGPPathGradientBrush(const TGPGraphicsPath* path);

    Status SetCenterColor(ARGB color);
    Status GetCenterColor(ARGB& color);
    Status SetCenterPoint(const TGPPointF& point);
    Status SetCenterPoint(const TGPPoint& point);
    Status GetCenterPoint(TGPPointF& point);
    Status GetCenterPoint(TGPPoint& point);
    int GetPointCount();
    // count: in, the colours given; out, the colours taken.
    Status SetSurroundColors(const ARGB* colors, int& count);
    Status GetSurroundColors(ARGB* colors, int& count);
    Status SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int count);
    Status SetGammaCorrection(bool useGammaCorrection);
    Status SetWrapMode(WrapMode wrapMode);
};

class TGPStringFormat : public TGdiplusBase {
    friend struct TGPAccess;
public:
    explicit TGPStringFormat(int formatFlags = 0, WORD language = LANG_NEUTRAL);
    // A copy of format (nil clones a null handle, which fails).
    explicit TGPStringFormat(const TGPStringFormat* format);
    ~TGPStringFormat() override;

    Status SetAlignment(StringAlignment align);
    StringAlignment GetAlignment();
    Status SetLineAlignment(StringAlignment align);
    StringAlignment GetLineAlignment();
    Status SetFormatFlags(int flags);
    int GetFormatFlags();
    Status SetTrimming(StringTrimming trimming);
    StringTrimming GetTrimming();
    Status SetHotkeyPrefix(HotkeyPrefix hotkeyPrefix);
    HotkeyPrefix GetHotkeyPrefix();
    Status GetLastStatus();

private:
    Status SetStatus(Status status);
    void* nativeFormat = nullptr;
    Status lastError = Ok;
};

class TGPGraphicsPath : public TGdiplusBase {
    friend struct TGPAccess;
public:
    explicit TGPGraphicsPath(FillMode fillMode = FillModeAlternate);
    TGPGraphicsPath(const TGPPointF* points, const BYTE* types, int count, FillMode fillMode = FillModeAlternate);
    ~TGPGraphicsPath() override;

    Status Reset();
    Status CloseFigure();
    int GetPointCount();
    Status GetPathPoints(TGPPointF* points, int count);
    Status GetPathTypes(BYTE* types, int count);
    Status GetBounds(TGPRectF& bounds, const TGPMatrix* matrix = nullptr, const TGPPen* pen = nullptr);

    Status AddLine(const TGPPointF& pt1, const TGPPointF& pt2);
    Status AddLine(float x1, float y1, float x2, float y2);
    Status AddLines(const TGPPoint* points, int count);
    Status AddRectangle(const TGPRectF& rect);
    Status AddRectangle(const TGPRect& rect);
    Status AddArc(const TGPRectF& rect, float startAngle, float sweepAngle);
    Status AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle);
    Status AddEllipse(const TGPRectF& rect);
    Status AddEllipse(float x, float y, float width, float height);
    Status AddPie(const TGPRectF& rect, float startAngle, float sweepAngle);
    Status AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle);
    Status AddPolygon(const TGPPointF* points, int count);
    Status AddPolygon(const TGPPoint* points, int count);
    Status AddCurve(const TGPPointF* points, int count);
    Status AddCurve(const TGPPoint* points, int count);
    Status AddCurve(const TGPPoint* points, int count, float tension);
    Status AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4);
    Status AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3, const TGPPointF& pt4);
    Status AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4);
    Status AddString(const String& string, int length, const TGPFontFamily* family, int style, float emSize,
                     const TGPPointF& origin, const TGPStringFormat* format);
    Status AddString(const String& string, int length, const TGPFontFamily* family, int style, float emSize,
                     const TGPRectF& layoutRect, const TGPStringFormat* format);
    Status GetLastStatus();

protected:
    TGPGraphicsPath(void* path, Status status) : nativePath(path), lastResult(status) {}

private:
    Status SetStatus(Status status);
    void* nativePath = nullptr;
    Status lastResult = Ok;
};

class TGPImage : public TGdiplusBase {
    friend struct TGPAccess;
public:
    TGPImage(const String& filename, bool useEmbeddedColorManagement = false);
    // The stream must outlive the image: GDI+ reads it on demand.
    TGPImage(IStream* stream, bool useEmbeddedColorManagement = false);
    ~TGPImage() override;

    UINT GetWidth();
    UINT GetHeight();
    UINT Width() { return GetWidth(); }
    UINT Height() { return GetHeight(); }
    int GetPixelFormat();
    int GetPixelDepth() { return (GetPixelFormat() >> 8) & 0xFF; }
    bool HasAlphaChannel() { return (GetPixelFormat() & 0x40000) != 0; }
    bool HasPalette() { return (GetPixelFormat() & 0x10000) != 0; }
    TGPImageFormat GetFormat();
    std::unique_ptr<TGPImage> GetThumbnailImage(UINT thumbWidth, UINT thumbHeight,
                                                TGetThumbnailImageAbort callback = nullptr,
                                                void* callbackData = nullptr);
    Status Save(const String& filename, const CLSID& clsidEncoder,
                const TEncoderParameters* encoderParams = nullptr);
    Status Save(IStream* stream, const CLSID& clsidEncoder, const TEncoderParameters* encoderParams = nullptr);
    Status SaveAdd(TGPImage* newImage, const TEncoderParameters* encoderParams);
    Status RotateFlip(RotateFlipType rotateFlipType);
    Status GetLastStatus();

protected:
    TGPImage(void* image, Status status) : nativeImage(image), lastResult(status) {}
    Status SetStatus(Status status);
    void* nativeImage = nullptr;
    Status lastResult = Ok;
    // Recorded by nothing; kept for the owner.
    Status loadStatus = Ok;

private:
};

class TGPBitmap : public TGPImage {
    friend struct TGPAccess;
public:
    TGPBitmap(IStream* stream, bool useEmbeddedColorManagement = false);
    TGPBitmap(int width, int height, int format = PixelFormat32bppARGB);
    static std::unique_ptr<TGPBitmap> FromStream(IStream* stream, bool useEmbeddedColorManagement = false);

    // A new GDI bitmap of the picture over colorBackground; the caller frees it.
    Status GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn);
    Status GetPixel(int x, int y, ARGB& color);
    Status SetPixel(int x, int y, ARGB color);

protected:
    TGPBitmap(void* bitmap, Status status) : TGPImage(bitmap, status) {}
};

class TGPMatrix : public TGdiplusBase {
    friend struct TGPAccess;
public:
    TGPMatrix();
    TGPMatrix(float m11, float m12, float m21, float m22, float dx, float dy);
    TGPMatrix(const TGPRectF& rect, const TGPPointF* dstplg);
    TGPMatrix(const TGPRect& rect, const TGPPoint* dstplg);
    ~TGPMatrix() override;

    std::unique_ptr<TGPMatrix> Clone();
    Status GetElements(TMatrixArray& m);
    Status SetElements(float m11, float m12, float m21, float m22, float dx, float dy);
    float OffsetX();
    float OffsetY();
    Status Reset();
    Status Multiply(const TGPMatrix* matrix, MatrixOrder order = MatrixOrderPrepend);
    Status Translate(float offsetX, float offsetY, MatrixOrder order = MatrixOrderPrepend);
    Status Scale(float scaleX, float scaleY, MatrixOrder order = MatrixOrderPrepend);
    Status Rotate(float angle, MatrixOrder order = MatrixOrderPrepend);
    Status RotateAt(float angle, const TGPPointF& center, MatrixOrder order = MatrixOrderPrepend);
    Status Shear(float shearX, float shearY, MatrixOrder order = MatrixOrderPrepend);
    Status Invert();
    Status TransformPoints(TGPPointF* pts, int count = 1);
    Status TransformPoints(TGPPoint* pts, int count = 1);
    Status TransformVectors(TGPPointF* pts, int count = 1);
    Status TransformVectors(TGPPoint* pts, int count = 1);
    bool IsInvertible();
    bool IsIdentity();
    Status GetLastStatus();

protected:
    TGPMatrix(void* matrix, Status status) : nativeMatrix(matrix), lastResult(status) {}

private:
    Status SetStatus(Status status);
    void* nativeMatrix = nullptr;
    Status lastResult = Ok;
};

class TGPRegion : public TGdiplusBase {
    friend struct TGPAccess;
public:
    explicit TGPRegion(const TGPRectF& rect);
    explicit TGPRegion(const TGPGraphicsPath* path);
    ~TGPRegion() override;

    Status Exclude(const TGPGraphicsPath* path);
    Status Union(const TGPRegion* region);
    Status GetLastStatus();

private:
    Status SetStatus(Status status);
    void* nativeRegion = nullptr;
    Status lastResult = Ok;
};

// Holds no native collection: the system's installed fonts are used.
class TGPFontCollection : public TGdiplusBase {
};

class TGPFontFamily : public TGdiplusBase {
    friend struct TGPAccess;
public:
    // The status tells whether the face exists.
    explicit TGPFontFamily(const String& name, const TGPFontCollection* fontCollection = nullptr);
    ~TGPFontFamily() override;

    // One shared instance each, made on first use and freed by the unit's
    // shut-down before GDI+ stops.
    static TGPFontFamily* GenericSansSerif();
    static TGPFontFamily* GenericSerif();
    static TGPFontFamily* GenericMonospace();
    Status GetLastStatus();

protected:
    TGPFontFamily(void* family, Status status) : nativeFamily(family), lastResult(status) {}

private:
    void* nativeFamily = nullptr;
    Status lastResult = Ok;
};

class TGPFont : public TGdiplusBase {
    friend struct TGPAccess;
public:
    TGPFont(const TGPFontFamily* family, float emSize, int style = FontStyleRegular, Unit_ unit = UnitPoint);
    // A face that cannot be made falls back to the generic sans-serif family.
    TGPFont(const String& familyName, float emSize, TFontStyles style = TFontStyles(), Unit_ unit = UnitPoint,
            const TGPFontCollection* fontCollection = nullptr);
    // The font selected into hdc as GDI realised it: a face that is not
    // installed comes as the platform's substitute.
    explicit TGPFont(HDC hdc);
    ~TGPFont() override;
    Status GetLastStatus();

protected:
    TGPFont(void* font, Status status) : nativeFont(font), lastResult(status) {}

private:
    Status SetStatus(Status status);
    void* nativeFont = nullptr;
    Status lastResult = Ok;
};

class TGPImageAttributes : public TGdiplusBase {
    friend struct TGPAccess;
public:
    TGPImageAttributes();
    ~TGPImageAttributes() override;
    std::unique_ptr<TGPImageAttributes> Clone();

    Status SetToIdentity(ColorAdjustType type = ColorAdjustTypeDefault);
    Status Reset(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetColorMatrix(const TColorMatrix& colorMatrix, ColorMatrixFlags mode = ColorMatrixFlagsDefault,
                         ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorMatrix(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetColorMatrices(const TColorMatrix& colorMatrix, const TColorMatrix& grayMatrix,
                           ColorMatrixFlags mode = ColorMatrixFlagsDefault,
                           ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorMatrices(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetThreshold(float threshold, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearThreshold(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetGamma(float gamma, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearGamma(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetNoOp(ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearNoOp(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearColorKey(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetOutputChannel(ColorChannelFlags channelFlags, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearOutputChannel(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetOutputChannelColorProfile(const String& colorProfileFilename,
                                        ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearOutputChannelColorProfile(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetRemapTable(int mapSize, const TColorMap* map, ColorAdjustType type = ColorAdjustTypeDefault);
    Status ClearRemapTable(ColorAdjustType type = ColorAdjustTypeDefault);
    Status SetBrushRemapTable(int mapSize, const TColorMap* map);
    Status ClearBrushRemapTable();
    Status SetWrapMode(WrapMode wrap, ARGB color = 0xFF000000, bool clamp = false);
    Status GetAdjustedPalette(TColorPalette* colorPalette, ColorAdjustType colorAdjustType);
    Status GetLastStatus();

protected:
    TGPImageAttributes(void* attributes, Status status) : nativeImageAttr(attributes), lastResult(status) {}

private:
    Status SetStatus(Status status);
    void* nativeImageAttr = nullptr;
    Status lastResult = Ok;
};

// ---------------------------------------------------------------------------
// Colours and records.
ARGB ColorToGPColor(TColor Color);
ARGB ColorToGPColorAlpha(Byte Alpha, TColor Color);
constexpr ARGB MakeGPColor(Byte a, Byte r, Byte g, Byte b)
{
    return (ARGB(a) << 24) | (ARGB(r) << 16) | (ARGB(g) << 8) | ARGB(b);
}
constexpr ARGB MakeOpaqueGPColor(Byte r, Byte g, Byte b) { return MakeGPColor(255, r, g, b); }
constexpr Byte GetGPColorRed(ARGB color) { return Byte(color >> 16); }
constexpr Byte GetGPColorGreen(ARGB color) { return Byte(color >> 8); }
constexpr Byte GetGPColorBlue(ARGB color) { return Byte(color); }
constexpr TGPPoint MakeGPPoint(int x, int y) { return {x, y}; }
constexpr TGPPointF MakeGPPointF(float x, float y) { return {x, y}; }
constexpr TGPRectF MakeGPRectF(float x, float y, float width, float height) { return {x, y, width, height}; }

// What FillGradientTypeArea paints: a rectangle, or a path when UsePath.
struct TGradientFillParams {
    TGPGraphics* Graphics = nullptr;
    TGPGraphicsPath* Path = nullptr;
    bool UsePath = false;
    TGPRectF Rect;
    TAdvGradientType Kind = gtSolid;
    TColor Color = clWhite;
    TColor ColorTo = clWhite;
    Byte Opacity = 255;
    Byte OpacityTo = 255;
    ::HatchStyle HatchStyle = HatchStyleHorizontal;
    int Angle = 0;
    TAdvGDIPPicture* Picture = nullptr;
    TColor BorderColor = clNone;
    int BorderWidth = 1;
    DashStyle BorderDashStyle = DashStyleSolid;
    // This is the mirror half of a two-part fill.
    bool IsMirror = false;
};

// Fills the target by Kind, then draws the border in the first opacity. The
// caller chooses the smoothing mode.
void FillGradientTypeArea(const TGradientFillParams& params);

// Two switches the glow button reads; nothing sets them.
bool GetGDIPDrawOptionA();
bool GetGDIPDrawOptionB();
// Windows Vista or later, as the platform probe reports.
bool IsWindowsVersion6OrLater();

// ---------------------------------------------------------------------------
// What the pack's GDI+ pictures share: encoded bytes kept exactly as loaded
// and decoded only to draw or measure.
class TGDIPEncodedPicture : public TGraphic {
public:
    ~TGDIPEncodedPicture() override;
    // nil empties the picture (OnChange, then OnClear); another picture's
    // bytes are copied; any graphic or picture holder gives its file format.
    void Assign(TPersistent* Source) override;

    bool GetEmpty() const override { return FIsEmpty; }
    int GetWidth() const override { return FWidth; }
    void SetWidth(int) override {}
    int GetHeight() const override { return FHeight; }
    void SetHeight(int) override {}

    // Any failure leaves the picture empty; nothing is raised.
    void LoadFromFile(const String& FileName);
    // The whole stream from its start; nothing for nil.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;
    void LoadFromResourceName(HINSTANCE Instance, const String& ResName);
    // A missing resource raises EResNotFound.
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    // "RES://name" from the program's resources, "FILE://path", any case;
    // other addresses are not the picture's to load.
    void LoadFromURL(const String& url);
    void LoadFromClipboardFormat(Word, HANDLE, HPALETTE) override {}
    void SaveToClipboardFormat(Word&, HANDLE&, HPALETTE&) override {}

    // Decodes the bytes and records the size; false when there is no image.
    bool GetImageSizes();

    bool GetDoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
    // The stored bytes.
    TMemoryStream* GetDataStream() const { return FDatastream.get(); }

    TNotifyEvent OnClear;

protected:
    // IgnoreEmptyStreams: an empty stream (or form data) leaves the picture
    // as it was instead of emptying it.
    explicit TGDIPEncodedPicture(bool IgnoreEmptyStreams);
    // The size after a file load; decoded unless a picture knows better.
    virtual void MeasureLoadedFile(const String& FileName);
    bool HasBytes() const { return !FIsEmpty && FDatastream->GetSize() > 0; }
    // The "Data" of a form stream: all stored bytes.
    void ReadData(TStream* Stream) override;
    void WriteData(TStream* Stream) override;

    TOwned<TMemoryStream> FDatastream;
    bool FIsEmpty = true;
    int FWidth = 0;
    int FHeight = 0;

private:
    void TakeBytes(TStream* Stream);

    const bool FIgnoreEmptyStreams;
    bool FDoubleBuffered = false;
};

// A picture of any encoded format (PNG, JPEG, GIF, BMP, TIFF, icon,
// metafile), sized from the file's header when loaded from a file.
class TAdvGDIPPicture : public TGDIPEncodedPicture {
public:
    TAdvGDIPPicture();

    // Records the size that the file's header states; 0 x 0 when the
    // extension is not known or the header cannot be read.
    bool GetImageSizesFromFileName(const String& FileName);

    // Draws on an existing GDI+ surface, scaled into Rect; a BMP with
    // Transparent set has its key colour left out.
    void GDIPDraw(TGPGraphics* Graphics, const TRect& Rect);
    // The same; does nothing while a draw through it is running.
    void GDIPDraw(TGPGraphics* Graphics, const TGPRectF& Rect);
    // Tiles the image over R or Path, anchored at the surface's origin.
    void FillRect(TGPGraphics* graphics, const TGPRectF& R);
    void FillPath(TGPGraphics* graphics, TGPGraphicsPath* Path);

    const String& GetID() const { return FID; }
    void SetID(const String& Value) { FID = Value; }
    TTransparentMode GetTransparentMode() const { return FBitmapTransparentMode; }
    void SetTransparentMode(TTransparentMode Value) { FBitmapTransparentMode = Value; }
    TColor GetTransparentColor() const { return FBitmapTransparentColor; }
    void SetTransparentColor(TColor Value) { FBitmapTransparentColor = Value; }
    int GetPixelDepth() const { return FPixelDepth; }
    int GetPixelFormat() const { return FPixelFormat; }
    bool GetHasAlpha() const { return FHasAlpha; }
    bool GetHasPalette() const { return FHasPalette; }

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    void MeasureLoadedFile(const String& FileName) override { GetImageSizesFromFileName(FileName); }

private:
    void DrawDecoded(TGPGraphics* Graphics, const TGPRectF& Rect);

    bool FDrawing = false;
    String FID;
    TTransparentMode FBitmapTransparentMode = tmAuto;
    TColor FBitmapTransparentColor = 0xFFFFFF;
    int FPixelDepth = 0;
    int FPixelFormat = 0;
    bool FHasAlpha = false;
    bool FHasPalette = false;
};

// Encoded image bytes opened as a GDI+ image, with the stream GDI+ reads
// them from; no image when the bytes are empty or cannot be put in a
// stream. Raises Exception "Could not allocate memory for image" when
// global memory runs out.
class TGPDecodedImage {
public:
    TGPDecodedImage(const void* Data, std::size_t Size);
    explicit TGPDecodedImage(TMemoryStream* Data);
    ~TGPDecodedImage();
    TGPDecodedImage(const TGPDecodedImage&) = delete;
    TGPDecodedImage& operator=(const TGPDecodedImage&) = delete;

    TGPImage* Image() const { return image_.get(); }
    // The stream rewound, for a second decoder over the same bytes.
    IStream* Stream() const;

private:
    // Declared first so that the image goes before its stream.
    TComPtr<IStream> stream_;
    std::unique_ptr<TGPImage> image_;
};

// The pixel size of an encoded picture; false when it cannot be decoded.
bool DecodedImageSize(TMemoryStream* Data, int& Width, int& Height);

// Unit start-up: starts GDI+ (background thread suppressed) and, before
// Windows Vista, hooks its notifications. Shut-down undoes both after
// freeing the shared font families.
void AdvGDIP_Initialize();
void AdvGDIP_Finalize();
// GDI+ runs for the pack; its notification hook is in place.
bool AdvGDIP_Started();
bool AdvGDIP_NotificationHooked();
