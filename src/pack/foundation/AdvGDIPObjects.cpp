// The GDI+ wrappers besides the graphics object: pens, brushes, string
// formats, paths, images, matrices, regions, fonts and image attributes.
// Each forwards to its flat function and records a failure.
#include "AdvGDIPAccess.h"

namespace {

template <class T>
T* As(void* native)
{
    return reinterpret_cast<T*>(native);
}

Status Record(Status& field, Status status)
{
    if (status != Ok)
        field = status;
    return status;
}

constexpr GUID FormatGuid(unsigned char last)
{
    return {0xB96B3CA9u + (last - 0xA9u), 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
}

struct TFormatEntry {
    GUID Guid;
    TGPImageFormat Format;
};
// The raw-format identifiers GDI+ reports for each file format.
constexpr TFormatEntry formats[] = {
    {FormatGuid(0xAA), ifMemoryBMP}, {FormatGuid(0xAB), ifBMP},  {FormatGuid(0xAC), ifEMF},
    {FormatGuid(0xAD), ifWMF},       {FormatGuid(0xAE), ifJPEG}, {FormatGuid(0xAF), ifPNG},
    {FormatGuid(0xB0), ifGIF},       {FormatGuid(0xB1), ifTIFF}, {FormatGuid(0xB2), ifEXIF},
    {FormatGuid(0xB5), ifIcon},
};

} // namespace

// ---------------------------------------------------------------------------
TGPPen::TGPPen(ARGB color, float width)
{
    gp::GpPen* pen = nullptr;
    lastResult = St(gp::GdipCreatePen1(color, width, Gdiplus::UnitWorld, &pen));
    nativePen = pen;
}

TGPPen::TGPPen(const TGPBrush* brush, float width)
{
    gp::GpPen* pen = nullptr;
    lastResult = St(gp::GdipCreatePen2(N(brush), width, Gdiplus::UnitWorld, &pen));
    nativePen = pen;
}

TGPPen::~TGPPen() { gp::GdipDeletePen(N(this)); }
Status TGPPen::SetStatus(Status status) { return Record(lastResult, status); }
Status TGPPen::GetLastStatus() { return std::exchange(lastResult, Ok); }

Status TGPPen::SetDashStyle(DashStyle dashStyle)
{
    return SetStatus(St(gp::GdipSetPenDashStyle(N(this), static_cast<Gdiplus::DashStyle>(dashStyle))));
}

DashStyle TGPPen::GetDashStyle()
{
    Gdiplus::DashStyle style = Gdiplus::DashStyleSolid;
    SetStatus(St(gp::GdipGetPenDashStyle(N(this), &style)));
    return static_cast<DashStyle>(style);
}

Status TGPPen::SetEndCap(LineCap endCap)
{
    return SetStatus(St(gp::GdipSetPenEndCap(N(this), static_cast<Gdiplus::LineCap>(endCap))));
}

Status TGPPen::SetBrush(const TGPBrush* brush) { return SetStatus(St(gp::GdipSetPenBrushFill(N(this), N(brush)))); }

PenType TGPPen::GetPenType()
{
    Gdiplus::PenType type = Gdiplus::PenTypeUnknown;
    SetStatus(St(gp::GdipGetPenFillType(N(this), &type)));
    return static_cast<PenType>(type);
}

std::unique_ptr<TGPBrush> TGPPen::GetBrush()
{
    gp::GpBrush* brush = nullptr;
    const Status status = SetStatus(St(gp::GdipGetPenBrushFill(N(this), &brush)));
    switch (GetPenType()) {
    case PenTypeSolidColor:
        return TGPAccess::Adopt<TGPSolidBrush>(brush, status);
    case PenTypeHatchFill:
        return TGPAccess::Adopt<TGPHatchBrush>(brush, status);
    case PenTypeTextureFill:
        return TGPAccess::Adopt<TGPTextureBrush>(brush, status);
    case PenTypePathGradient:
        return TGPAccess::Adopt<TGPBrush>(brush, status);
    case PenTypeLinearGradient:
        return TGPAccess::Adopt<TGPLinearGradientBrush>(brush, status);
    default:
        if (brush)
            gp::GdipDeleteBrush(brush);
        return nullptr;
    }
}

// ---------------------------------------------------------------------------
TGPBrush::TGPBrush() : lastResult(NotImplemented) {}
TGPBrush::TGPBrush(void* brush, Status status) : nativeBrush(brush), lastResult(status) {}
TGPBrush::~TGPBrush() { gp::GdipDeleteBrush(N(this)); }
Status TGPBrush::SetStatus(Status status) { return Record(lastResult, status); }
Status TGPBrush::GetLastStatus() { return std::exchange(lastResult, Ok); }

TGPSolidBrush::TGPSolidBrush(ARGB color)
{
    gp::GpSolidFill* brush = nullptr;
    lastResult = St(gp::GdipCreateSolidFill(color, &brush));
    SetNativeHandle(brush);
}

TGPHatchBrush::TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor)
{
    gp::GpHatch* brush = nullptr;
    lastResult = St(gp::GdipCreateHatchBrush(static_cast<Gdiplus::HatchStyle>(hatchStyle), foreColor, backColor, &brush));
    SetNativeHandle(brush);
}

HatchStyle TGPHatchBrush::GetHatchStyle()
{
    Gdiplus::HatchStyle style = Gdiplus::HatchStyleHorizontal;
    SetStatus(St(gp::GdipGetHatchStyle(As<gp::GpHatch>(nativeBrush), &style)));
    return static_cast<HatchStyle>(style);
}

ARGB TGPHatchBrush::GetForegroundColor()
{
    ARGB color = 0;
    SetStatus(St(gp::GdipGetHatchForegroundColor(As<gp::GpHatch>(nativeBrush), &color)));
    return color;
}

ARGB TGPHatchBrush::GetBackgroundColor()
{
    ARGB color = 0;
    SetStatus(St(gp::GdipGetHatchBackgroundColor(As<gp::GpHatch>(nativeBrush), &color)));
    return color;
}

// ---------------------------------------------------------------------------
TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode)
{
    gp::GpTexture* brush = nullptr;
    lastResult = St(gp::GdipCreateTexture(N(image), Wrap(wrapMode), &brush));
    SetNativeHandle(brush);
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRectF& dstRect)
    : TGPTextureBrush(image, wrapMode, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height)
{
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, float dstX, float dstY, float dstWidth,
                                 float dstHeight)
{
    gp::GpTexture* brush = nullptr;
    lastResult = St(gp::GdipCreateTexture2(N(image), Wrap(wrapMode), dstX, dstY, dstWidth, dstHeight, &brush));
    SetNativeHandle(brush);
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, const TGPRect& dstRect)
    : TGPTextureBrush(image, wrapMode, dstRect.X, dstRect.Y, dstRect.Width, dstRect.Height)
{
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, WrapMode wrapMode, int dstX, int dstY, int dstWidth,
                                 int dstHeight)
{
    gp::GpTexture* brush = nullptr;
    lastResult = St(gp::GdipCreateTexture2I(N(image), Wrap(wrapMode), dstX, dstY, dstWidth, dstHeight, &brush));
    SetNativeHandle(brush);
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRectF& dstRect, const TGPImageAttributes* imageAttributes)
{
    gp::GpTexture* brush = nullptr;
    lastResult = St(gp::GdipCreateTextureIA(N(image), N(imageAttributes), dstRect.X, dstRect.Y, dstRect.Width,
                                            dstRect.Height, &brush));
    SetNativeHandle(brush);
}

TGPTextureBrush::TGPTextureBrush(TGPImage* image, const TGPRect& dstRect, const TGPImageAttributes* imageAttributes)
{
    gp::GpTexture* brush = nullptr;
    lastResult = St(gp::GdipCreateTextureIAI(N(image), N(imageAttributes), dstRect.X, dstRect.Y, dstRect.Width,
                                             dstRect.Height, &brush));
    SetNativeHandle(brush);
}

Status TGPTextureBrush::ResetTransform()
{
    return SetStatus(St(gp::GdipResetTextureTransform(As<gp::GpTexture>(nativeBrush))));
}

Status TGPTextureBrush::TranslateTransform(float dx, float dy, MatrixOrder order)
{
    return SetStatus(St(gp::GdipTranslateTextureTransform(As<gp::GpTexture>(nativeBrush), dx, dy, Order(order))));
}

Status TGPTextureBrush::ScaleTransform(float sx, float sy, MatrixOrder order)
{
    return SetStatus(St(gp::GdipScaleTextureTransform(As<gp::GpTexture>(nativeBrush), sx, sy, Order(order))));
}

Status TGPTextureBrush::RotateTransform(float angle, MatrixOrder order)
{
    return SetStatus(St(gp::GdipRotateTextureTransform(As<gp::GpTexture>(nativeBrush), angle, Order(order))));
}

Status TGPTextureBrush::SetWrapMode(WrapMode wrapMode)
{
    return SetStatus(St(gp::GdipSetTextureWrapMode(As<gp::GpTexture>(nativeBrush), Wrap(wrapMode))));
}

WrapMode TGPTextureBrush::GetWrapMode()
{
    Gdiplus::WrapMode mode = Gdiplus::WrapModeTile;
    SetStatus(St(gp::GdipGetTextureWrapMode(As<gp::GpTexture>(nativeBrush), &mode)));
    return static_cast<WrapMode>(mode);
}

std::unique_ptr<TGPImage> TGPTextureBrush::GetImage()
{
    gp::GpImage* image = nullptr;
    const Status status = SetStatus(St(gp::GdipGetTextureImage(As<gp::GpTexture>(nativeBrush), &image)));
    return TGPAccess::Adopt<TGPImage>(image, status);
}

// ---------------------------------------------------------------------------
TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPointF& point1, const TGPPointF& point2, ARGB color1,
                                               ARGB color2)
{
    gp::GpLineGradient* brush = nullptr;
    lastResult = St(gp::GdipCreateLineBrush(Pts(&point1), Pts(&point2), color1, color2, Gdiplus::WrapModeTile, &brush));
    SetNativeHandle(brush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPPoint& point1, const TGPPoint& point2, ARGB color1,
                                               ARGB color2)
{
    gp::GpLineGradient* brush = nullptr;
    lastResult =
        St(gp::GdipCreateLineBrushI(Pts(&point1), Pts(&point2), color1, color2, Gdiplus::WrapModeTile, &brush));
    SetNativeHandle(brush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2,
                                               LinearGradientMode mode)
{
    gp::GpLineGradient* brush = nullptr;
    lastResult = St(gp::GdipCreateLineBrushFromRect(Rc(&rect), color1, color2,
                                                    static_cast<Gdiplus::LinearGradientMode>(mode),
                                                    Gdiplus::WrapModeTile, &brush));
    SetNativeHandle(brush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, LinearGradientMode mode)
{
    gp::GpLineGradient* brush = nullptr;
    lastResult = St(gp::GdipCreateLineBrushFromRectI(Rc(&rect), color1, color2,
                                                     static_cast<Gdiplus::LinearGradientMode>(mode),
                                                     Gdiplus::WrapModeTile, &brush));
    SetNativeHandle(brush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRectF& rect, ARGB color1, ARGB color2, float angle,
                                               bool isAngleScalable)
{
    gp::GpLineGradient* brush = nullptr;
    lastResult = St(gp::GdipCreateLineBrushFromRectWithAngle(Rc(&rect), color1, color2, angle, isAngleScalable,
                                                             Gdiplus::WrapModeTile, &brush));
    SetNativeHandle(brush);
}

TGPLinearGradientBrush::TGPLinearGradientBrush(const TGPRect& rect, ARGB color1, ARGB color2, float angle,
                                               bool isAngleScalable)
{
    gp::GpLineGradient* brush = nullptr;
    lastResult = St(gp::GdipCreateLineBrushFromRectWithAngleI(Rc(&rect), color1, color2, angle, isAngleScalable,
                                                              Gdiplus::WrapModeTile, &brush));
    SetNativeHandle(brush);
}

Status TGPLinearGradientBrush::SetGammaCorrection(bool useGammaCorrection)
{
    return SetStatus(St(gp::GdipSetLineGammaCorrection(As<gp::GpLineGradient>(nativeBrush), useGammaCorrection)));
}

Status TGPLinearGradientBrush::SetInterpolationColors(const ARGB* presetColors, const float* blendPositions,
                                                      int count)
{
    if (count <= 0 || !presetColors)
        return SetStatus(InvalidParameter);
    return SetStatus(
        St(gp::GdipSetLinePresetBlend(As<gp::GpLineGradient>(nativeBrush), presetColors, blendPositions, count)));
}

// ---------------------------------------------------------------------------
TGPPathGradientBrush::TGPPathGradientBrush(const TGPGraphicsPath* path)
{
    gp::GpPathGradient* brush = nullptr;
    lastResult = St(gp::GdipCreatePathGradientFromPath(N(path), &brush));
    SetNativeHandle(brush);
}

Status TGPPathGradientBrush::SetCenterColor(ARGB color)
{
    return SetStatus(St(gp::GdipSetPathGradientCenterColor(As<gp::GpPathGradient>(nativeBrush), color)));
}

Status TGPPathGradientBrush::GetCenterColor(ARGB& color)
{
    return SetStatus(St(gp::GdipGetPathGradientCenterColor(As<gp::GpPathGradient>(nativeBrush), &color)));
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPointF& point)
{
    return SetStatus(St(gp::GdipSetPathGradientCenterPoint(As<gp::GpPathGradient>(nativeBrush), Pts(&point))));
}

Status TGPPathGradientBrush::SetCenterPoint(const TGPPoint& point)
{
    return SetStatus(St(gp::GdipSetPathGradientCenterPointI(As<gp::GpPathGradient>(nativeBrush), Pts(&point))));
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPointF& point)
{
    return SetStatus(St(gp::GdipGetPathGradientCenterPoint(As<gp::GpPathGradient>(nativeBrush), Pts(&point))));
}

Status TGPPathGradientBrush::GetCenterPoint(TGPPoint& point)
{
    return SetStatus(St(gp::GdipGetPathGradientCenterPointI(As<gp::GpPathGradient>(nativeBrush), Pts(&point))));
}

int TGPPathGradientBrush::GetPointCount()
{
    int count = 0;
    SetStatus(St(gp::GdipGetPathGradientPointCount(As<gp::GpPathGradient>(nativeBrush), &count)));
    return count;
}

Status TGPPathGradientBrush::SetSurroundColors(const ARGB* colors, int& count)
{
    const int points = GetPointCount();
    if (!colors || points <= 0 || count > points || count <= 0)
        return SetStatus(InvalidParameter);
    int taken = count;
    const Status status =
        SetStatus(St(gp::GdipSetPathGradientSurroundColorsWithCount(As<gp::GpPathGradient>(nativeBrush), colors, &taken)));
    if (status == Ok)
        count = taken;
    return status;
}

Status TGPPathGradientBrush::GetSurroundColors(ARGB* colors, int& count)
{
    if (!colors)
        return SetStatus(InvalidParameter);
    int have = 0;
    const Status status =
        SetStatus(St(gp::GdipGetPathGradientSurroundColorCount(As<gp::GpPathGradient>(nativeBrush), &have)));
    if (status != Ok)
        return status;
    if (count < have || have <= 0)
        return SetStatus(InsufficientBuffer);
    const Status read =
        SetStatus(St(gp::GdipGetPathGradientSurroundColorsWithCount(As<gp::GpPathGradient>(nativeBrush), colors, &have)));
    if (read == Ok)
        count = have;
    return read;
}

Status TGPPathGradientBrush::SetInterpolationColors(const ARGB* presetColors, const float* blendPositions, int count)
{
    if (count <= 0 || !presetColors)
        return SetStatus(InvalidParameter);
    return SetStatus(St(gp::GdipSetPathGradientPresetBlend(As<gp::GpPathGradient>(nativeBrush), presetColors,
                                                           blendPositions, count)));
}

Status TGPPathGradientBrush::SetGammaCorrection(bool useGammaCorrection)
{
    return SetStatus(
        St(gp::GdipSetPathGradientGammaCorrection(As<gp::GpPathGradient>(nativeBrush), useGammaCorrection)));
}

Status TGPPathGradientBrush::SetWrapMode(WrapMode wrapMode)
{
    return SetStatus(St(gp::GdipSetPathGradientWrapMode(As<gp::GpPathGradient>(nativeBrush), Wrap(wrapMode))));
}

// ---------------------------------------------------------------------------
TGPStringFormat::TGPStringFormat(int formatFlags, WORD language)
{
    gp::GpStringFormat* format = nullptr;
    lastError = St(gp::GdipCreateStringFormat(formatFlags, language, &format));
    nativeFormat = format;
}

TGPStringFormat::TGPStringFormat(const TGPStringFormat* format)
{
    gp::GpStringFormat* clone = nullptr;
    lastError = St(gp::GdipCloneStringFormat(N(format), &clone));
    nativeFormat = clone;
}

TGPStringFormat::~TGPStringFormat() { gp::GdipDeleteStringFormat(N(this)); }
Status TGPStringFormat::SetStatus(Status status) { return Record(lastError, status); }
Status TGPStringFormat::GetLastStatus() { return std::exchange(lastError, Ok); }

Status TGPStringFormat::SetAlignment(StringAlignment align)
{
    return SetStatus(St(gp::GdipSetStringFormatAlign(N(this), static_cast<Gdiplus::StringAlignment>(align))));
}

StringAlignment TGPStringFormat::GetAlignment()
{
    Gdiplus::StringAlignment align = Gdiplus::StringAlignmentNear;
    SetStatus(St(gp::GdipGetStringFormatAlign(N(this), &align)));
    return static_cast<StringAlignment>(align);
}

Status TGPStringFormat::SetLineAlignment(StringAlignment align)
{
    return SetStatus(St(gp::GdipSetStringFormatLineAlign(N(this), static_cast<Gdiplus::StringAlignment>(align))));
}

StringAlignment TGPStringFormat::GetLineAlignment()
{
    Gdiplus::StringAlignment align = Gdiplus::StringAlignmentNear;
    SetStatus(St(gp::GdipGetStringFormatLineAlign(N(this), &align)));
    return static_cast<StringAlignment>(align);
}

Status TGPStringFormat::SetFormatFlags(int flags) { return SetStatus(St(gp::GdipSetStringFormatFlags(N(this), flags))); }

int TGPStringFormat::GetFormatFlags()
{
    INT flags = 0;
    SetStatus(St(gp::GdipGetStringFormatFlags(N(this), &flags)));
    return flags;
}

Status TGPStringFormat::SetTrimming(StringTrimming trimming)
{
    return SetStatus(St(gp::GdipSetStringFormatTrimming(N(this), static_cast<Gdiplus::StringTrimming>(trimming))));
}

StringTrimming TGPStringFormat::GetTrimming()
{
    Gdiplus::StringTrimming trimming = Gdiplus::StringTrimmingNone;
    SetStatus(St(gp::GdipGetStringFormatTrimming(N(this), &trimming)));
    return static_cast<StringTrimming>(trimming);
}

Status TGPStringFormat::SetHotkeyPrefix(HotkeyPrefix hotkeyPrefix)
{
    return SetStatus(St(gp::GdipSetStringFormatHotkeyPrefix(N(this), hotkeyPrefix)));
}

HotkeyPrefix TGPStringFormat::GetHotkeyPrefix()
{
    INT prefix = 0;
    SetStatus(St(gp::GdipGetStringFormatHotkeyPrefix(N(this), &prefix)));
    return static_cast<HotkeyPrefix>(prefix);
}

// ---------------------------------------------------------------------------
TGPGraphicsPath::TGPGraphicsPath(FillMode fillMode)
{
    gp::GpPath* path = nullptr;
    lastResult = St(gp::GdipCreatePath(static_cast<Gdiplus::FillMode>(fillMode), &path));
    nativePath = path;
}

TGPGraphicsPath::TGPGraphicsPath(const TGPPointF* points, const BYTE* types, int count, FillMode fillMode)
{
    gp::GpPath* path = nullptr;
    lastResult = St(gp::GdipCreatePath2(Pts(points), types, count, static_cast<Gdiplus::FillMode>(fillMode), &path));
    nativePath = path;
}

TGPGraphicsPath::~TGPGraphicsPath() { gp::GdipDeletePath(N(this)); }
Status TGPGraphicsPath::SetStatus(Status status) { return Record(lastResult, status); }
Status TGPGraphicsPath::GetLastStatus() { return std::exchange(lastResult, Ok); }

Status TGPGraphicsPath::Reset() { return SetStatus(St(gp::GdipResetPath(N(this)))); }
Status TGPGraphicsPath::CloseFigure() { return SetStatus(St(gp::GdipClosePathFigure(N(this)))); }

int TGPGraphicsPath::GetPointCount()
{
    INT count = 0;
    SetStatus(St(gp::GdipGetPointCount(N(this), &count)));
    return count;
}

Status TGPGraphicsPath::GetPathPoints(TGPPointF* points, int count)
{
    return SetStatus(St(gp::GdipGetPathPoints(N(this), Pts(points), count)));
}

Status TGPGraphicsPath::GetPathTypes(BYTE* types, int count)
{
    return SetStatus(St(gp::GdipGetPathTypes(N(this), types, count)));
}

Status TGPGraphicsPath::GetBounds(TGPRectF& bounds, const TGPMatrix* matrix, const TGPPen* pen)
{
    return SetStatus(St(gp::GdipGetPathWorldBounds(N(this), reinterpret_cast<Gdiplus::RectF*>(&bounds), N(matrix),
                                                   N(pen))));
}

Status TGPGraphicsPath::AddLine(const TGPPointF& pt1, const TGPPointF& pt2) { return AddLine(pt1.X, pt1.Y, pt2.X, pt2.Y); }

Status TGPGraphicsPath::AddLine(float x1, float y1, float x2, float y2)
{
    return SetStatus(St(gp::GdipAddPathLine(N(this), x1, y1, x2, y2)));
}

Status TGPGraphicsPath::AddLines(const TGPPoint* points, int count)
{
    return SetStatus(St(gp::GdipAddPathLine2I(N(this), Pts(points), count)));
}

Status TGPGraphicsPath::AddRectangle(const TGPRectF& rect)
{
    return SetStatus(St(gp::GdipAddPathRectangle(N(this), rect.X, rect.Y, rect.Width, rect.Height)));
}

Status TGPGraphicsPath::AddRectangle(const TGPRect& rect)
{
    return SetStatus(St(gp::GdipAddPathRectangleI(N(this), rect.X, rect.Y, rect.Width, rect.Height)));
}

Status TGPGraphicsPath::AddArc(const TGPRectF& rect, float startAngle, float sweepAngle)
{
    return AddArc(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddArc(float x, float y, float width, float height, float startAngle, float sweepAngle)
{
    return SetStatus(St(gp::GdipAddPathArc(N(this), x, y, width, height, startAngle, sweepAngle)));
}

Status TGPGraphicsPath::AddEllipse(const TGPRectF& rect) { return AddEllipse(rect.X, rect.Y, rect.Width, rect.Height); }

Status TGPGraphicsPath::AddEllipse(float x, float y, float width, float height)
{
    return SetStatus(St(gp::GdipAddPathEllipse(N(this), x, y, width, height)));
}

Status TGPGraphicsPath::AddPie(const TGPRectF& rect, float startAngle, float sweepAngle)
{
    return AddPie(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphicsPath::AddPie(float x, float y, float width, float height, float startAngle, float sweepAngle)
{
    return SetStatus(St(gp::GdipAddPathPie(N(this), x, y, width, height, startAngle, sweepAngle)));
}

Status TGPGraphicsPath::AddPolygon(const TGPPointF* points, int count)
{
    return SetStatus(St(gp::GdipAddPathPolygon(N(this), Pts(points), count)));
}

Status TGPGraphicsPath::AddPolygon(const TGPPoint* points, int count)
{
    return SetStatus(St(gp::GdipAddPathPolygonI(N(this), Pts(points), count)));
}

Status TGPGraphicsPath::AddCurve(const TGPPointF* points, int count)
{
    return SetStatus(St(gp::GdipAddPathCurve(N(this), Pts(points), count)));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, int count)
{
    return SetStatus(St(gp::GdipAddPathCurveI(N(this), Pts(points), count)));
}

Status TGPGraphicsPath::AddCurve(const TGPPoint* points, int count, float tension)
{
    return SetStatus(St(gp::GdipAddPathCurve2I(N(this), Pts(points), count, tension)));
}

Status TGPGraphicsPath::AddBezier(const TGPPoint& pt1, const TGPPoint& pt2, const TGPPoint& pt3, const TGPPoint& pt4)
{
    return SetStatus(
        St(gp::GdipAddPathBezierI(N(this), pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y)));
}

Status TGPGraphicsPath::AddBezier(const TGPPointF& pt1, const TGPPointF& pt2, const TGPPointF& pt3,
                                  const TGPPointF& pt4)
{
    return AddBezier(pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}

Status TGPGraphicsPath::AddBezier(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4)
{
    return SetStatus(St(gp::GdipAddPathBezier(N(this), x1, y1, x2, y2, x3, y3, x4, y4)));
}

Status TGPGraphicsPath::AddString(const String& string, int length, const TGPFontFamily* family, int style,
                                  float emSize, const TGPPointF& origin, const TGPStringFormat* format)
{
    return AddString(string, length, family, style, emSize, TGPRectF{origin.X, origin.Y, 0, 0}, format);
}

Status TGPGraphicsPath::AddString(const String& string, int length, const TGPFontFamily* family, int style,
                                  float emSize, const TGPRectF& layoutRect, const TGPStringFormat* format)
{
    return SetStatus(St(gp::GdipAddPathString(N(this), string.c_str(), ClampLength(string, length), N(family), style,
                                              emSize, Rc(&layoutRect), N(format))));
}

// ---------------------------------------------------------------------------
TGPImage::TGPImage(const String& filename, bool useEmbeddedColorManagement)
{
    gp::GpImage* image = nullptr;
    lastResult = St(useEmbeddedColorManagement ? gp::GdipLoadImageFromFileICM(filename.c_str(), &image)
                                               : gp::GdipLoadImageFromFile(filename.c_str(), &image));
    nativeImage = image;
}

TGPImage::TGPImage(IStream* stream, bool useEmbeddedColorManagement)
{
    gp::GpImage* image = nullptr;
    lastResult = St(useEmbeddedColorManagement ? gp::GdipLoadImageFromStreamICM(stream, &image)
                                               : gp::GdipLoadImageFromStream(stream, &image));
    nativeImage = image;
}

TGPImage::~TGPImage() { gp::GdipDisposeImage(N(this)); }
Status TGPImage::SetStatus(Status status) { return Record(lastResult, status); }
Status TGPImage::GetLastStatus() { return std::exchange(lastResult, Ok); }

UINT TGPImage::GetWidth()
{
    UINT width = 0;
    SetStatus(St(gp::GdipGetImageWidth(N(this), &width)));
    return width;
}

UINT TGPImage::GetHeight()
{
    UINT height = 0;
    SetStatus(St(gp::GdipGetImageHeight(N(this), &height)));
    return height;
}

int TGPImage::GetPixelFormat()
{
    Gdiplus::PixelFormat format = 0;
    SetStatus(St(gp::GdipGetImagePixelFormat(N(this), &format)));
    return format;
}

TGPImageFormat TGPImage::GetFormat()
{
    GUID guid{};
    if (SetStatus(St(gp::GdipGetImageRawFormat(N(this), &guid))) != Ok)
        return ifUndefined;
    for (const TFormatEntry& entry : formats)
        if (IsEqualGUID(entry.Guid, guid))
            return entry.Format;
    return ifUndefined;
}

std::unique_ptr<TGPImage> TGPImage::GetThumbnailImage(UINT thumbWidth, UINT thumbHeight,
                                                      TGetThumbnailImageAbort callback, void* callbackData)
{
    gp::GpImage* thumbnail = nullptr;
    const Status status = SetStatus(St(gp::GdipGetImageThumbnail(
        N(this), thumbWidth, thumbHeight, &thumbnail, reinterpret_cast<Gdiplus::GetThumbnailImageAbort>(callback),
        callbackData)));
    return TGPAccess::Adopt<TGPImage>(thumbnail, status);
}

Status TGPImage::Save(const String& filename, const CLSID& clsidEncoder, const TEncoderParameters* encoderParams)
{
    return SetStatus(St(gp::GdipSaveImageToFile(N(this), filename.c_str(), &clsidEncoder,
                                                reinterpret_cast<const Gdiplus::EncoderParameters*>(encoderParams))));
}

Status TGPImage::Save(IStream* stream, const CLSID& clsidEncoder, const TEncoderParameters* encoderParams)
{
    return SetStatus(St(gp::GdipSaveImageToStream(N(this), stream, &clsidEncoder,
                                                  reinterpret_cast<const Gdiplus::EncoderParameters*>(encoderParams))));
}

Status TGPImage::SaveAdd(TGPImage* newImage, const TEncoderParameters* encoderParams)
{
    if (!newImage)
        return SetStatus(InvalidParameter);
    return SetStatus(St(gp::GdipSaveAddImage(N(this), N(newImage),
                                             reinterpret_cast<const Gdiplus::EncoderParameters*>(encoderParams))));
}

Status TGPImage::RotateFlip(RotateFlipType rotateFlipType)
{
    return SetStatus(St(gp::GdipImageRotateFlip(N(this), static_cast<Gdiplus::RotateFlipType>(rotateFlipType))));
}

// ---------------------------------------------------------------------------
TGPBitmap::TGPBitmap(IStream* stream, bool useEmbeddedColorManagement) : TGPImage(nullptr, Ok)
{
    gp::GpBitmap* bitmap = nullptr;
    lastResult = St(useEmbeddedColorManagement ? gp::GdipCreateBitmapFromStreamICM(stream, &bitmap)
                                               : gp::GdipCreateBitmapFromStream(stream, &bitmap));
    nativeImage = bitmap;
}

TGPBitmap::TGPBitmap(int width, int height, int format) : TGPImage(nullptr, Ok)
{
    gp::GpBitmap* bitmap = nullptr;
    lastResult = St(gp::GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, &bitmap));
    nativeImage = bitmap;
}

std::unique_ptr<TGPBitmap> TGPBitmap::FromStream(IStream* stream, bool useEmbeddedColorManagement)
{
    return std::make_unique<TGPBitmap>(stream, useEmbeddedColorManagement);
}

Status TGPBitmap::GetHBITMAP(ARGB colorBackground, HBITMAP& hbmReturn)
{
    hbmReturn = nullptr;
    return SetStatus(St(gp::GdipCreateHBITMAPFromBitmap(As<gp::GpBitmap>(nativeImage), &hbmReturn, colorBackground)));
}

Status TGPBitmap::GetPixel(int x, int y, ARGB& color)
{
    return SetStatus(St(gp::GdipBitmapGetPixel(As<gp::GpBitmap>(nativeImage), x, y, &color)));
}

Status TGPBitmap::SetPixel(int x, int y, ARGB color)
{
    return SetStatus(St(gp::GdipBitmapSetPixel(As<gp::GpBitmap>(nativeImage), x, y, color)));
}

// ---------------------------------------------------------------------------
TGPMatrix::TGPMatrix()
{
    gp::GpMatrix* matrix = nullptr;
    lastResult = St(gp::GdipCreateMatrix(&matrix));
    nativeMatrix = matrix;
}

TGPMatrix::TGPMatrix(float m11, float m12, float m21, float m22, float dx, float dy)
{
    gp::GpMatrix* matrix = nullptr;
    lastResult = St(gp::GdipCreateMatrix2(m11, m12, m21, m22, dx, dy, &matrix));
    nativeMatrix = matrix;
}

TGPMatrix::TGPMatrix(const TGPRectF& rect, const TGPPointF* dstplg)
{
    gp::GpMatrix* matrix = nullptr;
    lastResult = St(gp::GdipCreateMatrix3(Rc(&rect), Pts(dstplg), &matrix));
    nativeMatrix = matrix;
}

TGPMatrix::TGPMatrix(const TGPRect& rect, const TGPPoint* dstplg)
{
    gp::GpMatrix* matrix = nullptr;
    lastResult = St(gp::GdipCreateMatrix3I(Rc(&rect), Pts(dstplg), &matrix));
    nativeMatrix = matrix;
}

TGPMatrix::~TGPMatrix() { gp::GdipDeleteMatrix(N(this)); }
Status TGPMatrix::SetStatus(Status status) { return Record(lastResult, status); }
Status TGPMatrix::GetLastStatus() { return std::exchange(lastResult, Ok); }

std::unique_ptr<TGPMatrix> TGPMatrix::Clone()
{
    gp::GpMatrix* clone = nullptr;
    if (SetStatus(St(gp::GdipCloneMatrix(N(this), &clone))) != Ok)
        return nullptr;
    return TGPAccess::Adopt<TGPMatrix>(clone, Ok);
}

Status TGPMatrix::GetElements(TMatrixArray& m) { return SetStatus(St(gp::GdipGetMatrixElements(N(this), m))); }

Status TGPMatrix::SetElements(float m11, float m12, float m21, float m22, float dx, float dy)
{
    return SetStatus(St(gp::GdipSetMatrixElements(N(this), m11, m12, m21, m22, dx, dy)));
}

float TGPMatrix::OffsetX()
{
    TMatrixArray m{};
    return GetElements(m) == Ok ? m[4] : 0.0f;
}

float TGPMatrix::OffsetY()
{
    TMatrixArray m{};
    return GetElements(m) == Ok ? m[5] : 0.0f;
}

Status TGPMatrix::Reset() { return SetElements(1, 0, 0, 1, 0, 0); }

Status TGPMatrix::Multiply(const TGPMatrix* matrix, MatrixOrder order)
{
    return SetStatus(St(gp::GdipMultiplyMatrix(N(this), N(matrix), Order(order))));
}

Status TGPMatrix::Translate(float offsetX, float offsetY, MatrixOrder order)
{
    return SetStatus(St(gp::GdipTranslateMatrix(N(this), offsetX, offsetY, Order(order))));
}

Status TGPMatrix::Scale(float scaleX, float scaleY, MatrixOrder order)
{
    return SetStatus(St(gp::GdipScaleMatrix(N(this), scaleX, scaleY, Order(order))));
}

Status TGPMatrix::Rotate(float angle, MatrixOrder order)
{
    return SetStatus(St(gp::GdipRotateMatrix(N(this), angle, Order(order))));
}

Status TGPMatrix::RotateAt(float angle, const TGPPointF& center, MatrixOrder order)
{
    if (order == MatrixOrderPrepend) {
        SetStatus(St(gp::GdipTranslateMatrix(N(this), center.X, center.Y, Order(order))));
        SetStatus(St(gp::GdipRotateMatrix(N(this), angle, Order(order))));
        return SetStatus(St(gp::GdipTranslateMatrix(N(this), -center.X, -center.Y, Order(order))));
    }
    SetStatus(St(gp::GdipTranslateMatrix(N(this), -center.X, -center.Y, Order(order))));
    SetStatus(St(gp::GdipRotateMatrix(N(this), angle, Order(order))));
    return SetStatus(St(gp::GdipTranslateMatrix(N(this), center.X, center.Y, Order(order))));
}

Status TGPMatrix::Shear(float shearX, float shearY, MatrixOrder order)
{
    return SetStatus(St(gp::GdipShearMatrix(N(this), shearX, shearY, Order(order))));
}

Status TGPMatrix::Invert() { return SetStatus(St(gp::GdipInvertMatrix(N(this)))); }

Status TGPMatrix::TransformPoints(TGPPointF* pts, int count)
{
    return SetStatus(St(gp::GdipTransformMatrixPoints(N(this), Pts(pts), count)));
}

Status TGPMatrix::TransformPoints(TGPPoint* pts, int count)
{
    return SetStatus(St(gp::GdipTransformMatrixPointsI(N(this), Pts(pts), count)));
}

Status TGPMatrix::TransformVectors(TGPPointF* pts, int count)
{
    return SetStatus(St(gp::GdipVectorTransformMatrixPoints(N(this), Pts(pts), count)));
}

Status TGPMatrix::TransformVectors(TGPPoint* pts, int count)
{
    return SetStatus(St(gp::GdipVectorTransformMatrixPointsI(N(this), Pts(pts), count)));
}

bool TGPMatrix::IsInvertible()
{
    BOOL result = FALSE;
    SetStatus(St(gp::GdipIsMatrixInvertible(N(this), &result)));
    return result != FALSE;
}

bool TGPMatrix::IsIdentity()
{
    BOOL result = FALSE;
    SetStatus(St(gp::GdipIsMatrixIdentity(N(this), &result)));
    return result != FALSE;
}

// ---------------------------------------------------------------------------
TGPRegion::TGPRegion(const TGPRectF& rect)
{
    gp::GpRegion* region = nullptr;
    lastResult = St(gp::GdipCreateRegionRect(Rc(&rect), &region));
    nativeRegion = region;
}

TGPRegion::TGPRegion(const TGPGraphicsPath* path)
{
    gp::GpRegion* region = nullptr;
    lastResult = St(gp::GdipCreateRegionPath(N(path), &region));
    nativeRegion = region;
}

TGPRegion::~TGPRegion() { gp::GdipDeleteRegion(N(this)); }
Status TGPRegion::SetStatus(Status status) { return Record(lastResult, status); }
Status TGPRegion::GetLastStatus() { return std::exchange(lastResult, Ok); }

Status TGPRegion::Exclude(const TGPGraphicsPath* path)
{
    return SetStatus(St(gp::GdipCombineRegionPath(N(this), N(path), Gdiplus::CombineModeExclude)));
}

Status TGPRegion::Union(const TGPRegion* region)
{
    return SetStatus(St(gp::GdipCombineRegionRegion(N(this), N(region), Gdiplus::CombineModeUnion)));
}

// ---------------------------------------------------------------------------
TGPFontFamily::TGPFontFamily(const String& name, const TGPFontCollection*)
{
    gp::GpFontFamily* family = nullptr;
    lastResult = St(gp::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &family));
    nativeFamily = family;
}

TGPFontFamily::~TGPFontFamily() { gp::GdipDeleteFontFamily(N(this)); }
Status TGPFontFamily::GetLastStatus() { return std::exchange(lastResult, Ok); }

TGPFontFamily* TGPFontFamily::GenericSansSerif()
{
    TGPFontFamily*& family = TGPAccess::GenericFamily(0);
    if (!family) {
        gp::GpFontFamily* native = nullptr;
        const Status status = St(gp::GdipGetGenericFontFamilySansSerif(&native));
        family = TGPAccess::Adopt<TGPFontFamily>(native, status).release();
    }
    return family;
}

TGPFontFamily* TGPFontFamily::GenericSerif()
{
    TGPFontFamily*& family = TGPAccess::GenericFamily(1);
    if (!family) {
        gp::GpFontFamily* native = nullptr;
        const Status status = St(gp::GdipGetGenericFontFamilySerif(&native));
        family = TGPAccess::Adopt<TGPFontFamily>(native, status).release();
    }
    return family;
}

TGPFontFamily* TGPFontFamily::GenericMonospace()
{
    TGPFontFamily*& family = TGPAccess::GenericFamily(2);
    if (!family) {
        gp::GpFontFamily* native = nullptr;
        const Status status = St(gp::GdipGetGenericFontFamilyMonospace(&native));
        family = TGPAccess::Adopt<TGPFontFamily>(native, status).release();
    }
    return family;
}

// ---------------------------------------------------------------------------
TGPFont::TGPFont(const TGPFontFamily* family, float emSize, int style, Unit_ unit)
{
    gp::GpFont* font = nullptr;
    lastResult = St(gp::GdipCreateFont(N(family), emSize, style, static_cast<Gdiplus::Unit>(unit), &font));
    nativeFont = font;
}

TGPFont::TGPFont(const String& familyName, float emSize, TFontStyles style, Unit_ unit,
                 const TGPFontCollection* fontCollection)
{
    int styleBits = FontStyleRegular;
    if (style.Contains(fsBold))
        styleBits |= FontStyleBold;
    if (style.Contains(fsItalic))
        styleBits |= FontStyleItalic;
    if (style.Contains(fsUnderline))
        styleBits |= FontStyleUnderline;
    if (style.Contains(fsStrikeOut))
        styleBits |= FontStyleStrikeout;
    const std::unique_ptr<TGPFontFamily> family = std::make_unique<TGPFontFamily>(familyName, fontCollection);
    gp::GpFont* font = nullptr;
    lastResult = St(gp::GdipCreateFont(N(family.get()), emSize, styleBits, static_cast<Gdiplus::Unit>(unit), &font));
    if (lastResult != Ok) {
        font = nullptr;
        lastResult = St(gp::GdipCreateFont(N(TGPFontFamily::GenericSansSerif()), emSize, styleBits,
                                           static_cast<Gdiplus::Unit>(unit), &font));
    }
    nativeFont = font;
}

TGPFont::TGPFont(HDC hdc)
{
    gp::GpFont* font = nullptr;
    lastResult = St(gp::GdipCreateFontFromDC(hdc, &font));
    nativeFont = font;
}

TGPFont::~TGPFont() { gp::GdipDeleteFont(N(this)); }
Status TGPFont::SetStatus(Status status) { return Record(lastResult, status); }
Status TGPFont::GetLastStatus() { return std::exchange(lastResult, Ok); }

// ---------------------------------------------------------------------------
TGPImageAttributes::TGPImageAttributes()
{
    gp::GpImageAttributes* attributes = nullptr;
    lastResult = St(gp::GdipCreateImageAttributes(&attributes));
    nativeImageAttr = attributes;
}

TGPImageAttributes::~TGPImageAttributes() { gp::GdipDisposeImageAttributes(N(this)); }
Status TGPImageAttributes::SetStatus(Status status) { return Record(lastResult, status); }
Status TGPImageAttributes::GetLastStatus() { return std::exchange(lastResult, Ok); }

std::unique_ptr<TGPImageAttributes> TGPImageAttributes::Clone()
{
    gp::GpImageAttributes* clone = nullptr;
    const Status status = SetStatus(St(gp::GdipCloneImageAttributes(N(this), &clone)));
    return TGPAccess::Adopt<TGPImageAttributes>(clone, status);
}

Status TGPImageAttributes::SetToIdentity(ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesToIdentity(N(this), Adjust(type))));
}

Status TGPImageAttributes::Reset(ColorAdjustType type)
{
    return SetStatus(St(gp::GdipResetImageAttributes(N(this), Adjust(type))));
}

Status TGPImageAttributes::SetColorMatrix(const TColorMatrix& colorMatrix, ColorMatrixFlags mode, ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesColorMatrix(
        N(this), Adjust(type), TRUE, reinterpret_cast<const Gdiplus::ColorMatrix*>(&colorMatrix), nullptr,
        static_cast<Gdiplus::ColorMatrixFlags>(mode))));
}

Status TGPImageAttributes::ClearColorMatrix(ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesColorMatrix(N(this), Adjust(type), FALSE, nullptr, nullptr,
                                                              Gdiplus::ColorMatrixFlagsDefault)));
}

Status TGPImageAttributes::SetColorMatrices(const TColorMatrix& colorMatrix, const TColorMatrix& grayMatrix,
                                            ColorMatrixFlags mode, ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesColorMatrix(
        N(this), Adjust(type), TRUE, reinterpret_cast<const Gdiplus::ColorMatrix*>(&colorMatrix),
        reinterpret_cast<const Gdiplus::ColorMatrix*>(&grayMatrix), static_cast<Gdiplus::ColorMatrixFlags>(mode))));
}

Status TGPImageAttributes::ClearColorMatrices(ColorAdjustType type) { return ClearColorMatrix(type); }

Status TGPImageAttributes::SetThreshold(float threshold, ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesThreshold(N(this), Adjust(type), TRUE, threshold)));
}

Status TGPImageAttributes::ClearThreshold(ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesThreshold(N(this), Adjust(type), FALSE, 0)));
}

Status TGPImageAttributes::SetGamma(float gamma, ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesGamma(N(this), Adjust(type), TRUE, gamma)));
}

Status TGPImageAttributes::ClearGamma(ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesGamma(N(this), Adjust(type), FALSE, 0)));
}

Status TGPImageAttributes::SetNoOp(ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesNoOp(N(this), Adjust(type), TRUE)));
}

Status TGPImageAttributes::ClearNoOp(ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesNoOp(N(this), Adjust(type), FALSE)));
}

Status TGPImageAttributes::SetColorKey(ARGB colorLow, ARGB colorHigh, ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesColorKeys(N(this), Adjust(type), TRUE, colorLow, colorHigh)));
}

Status TGPImageAttributes::ClearColorKey(ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesColorKeys(N(this), Adjust(type), FALSE, 0, 0)));
}

Status TGPImageAttributes::SetOutputChannel(ColorChannelFlags channelFlags, ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesOutputChannel(
        N(this), Adjust(type), TRUE, static_cast<Gdiplus::ColorChannelFlags>(channelFlags))));
}

Status TGPImageAttributes::ClearOutputChannel(ColorAdjustType type)
{
    return SetStatus(
        St(gp::GdipSetImageAttributesOutputChannel(N(this), Adjust(type), FALSE, Gdiplus::ColorChannelFlagsLast)));
}

Status TGPImageAttributes::SetOutputChannelColorProfile(const String& colorProfileFilename, ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesOutputChannelColorProfile(N(this), Adjust(type), TRUE,
                                                                            colorProfileFilename.c_str())));
}

Status TGPImageAttributes::ClearOutputChannelColorProfile(ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesOutputChannelColorProfile(N(this), Adjust(type), FALSE, nullptr)));
}

Status TGPImageAttributes::SetRemapTable(int mapSize, const TColorMap* map, ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesRemapTable(N(this), Adjust(type), TRUE, mapSize,
                                                             reinterpret_cast<const Gdiplus::ColorMap*>(map))));
}

Status TGPImageAttributes::ClearRemapTable(ColorAdjustType type)
{
    return SetStatus(St(gp::GdipSetImageAttributesRemapTable(N(this), Adjust(type), FALSE, 0, nullptr)));
}

Status TGPImageAttributes::SetBrushRemapTable(int mapSize, const TColorMap* map)
{
    return SetRemapTable(mapSize, map, ColorAdjustTypeBrush);
}

Status TGPImageAttributes::ClearBrushRemapTable() { return ClearRemapTable(ColorAdjustTypeBrush); }

Status TGPImageAttributes::SetWrapMode(WrapMode wrap, ARGB color, bool clamp)
{
    return SetStatus(St(gp::GdipSetImageAttributesWrapMode(N(this), Wrap(wrap), color, clamp)));
}

Status TGPImageAttributes::GetAdjustedPalette(TColorPalette* colorPalette, ColorAdjustType colorAdjustType)
{
    return SetStatus(St(gp::GdipGetImageAttributesAdjustedPalette(
        N(this), reinterpret_cast<Gdiplus::ColorPalette*>(colorPalette), Adjust(colorAdjustType))));
}
