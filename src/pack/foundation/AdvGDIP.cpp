// The GDI+ unit: start-up and shut-down, the wrappers' heap, colours, the
// graphics object and the fill routine of the fill kinds. The other wrappers
// are in AdvGDIPObjects.cpp, the picture in AdvGDIPPicture.cpp.
#include <gdiplus.h>

#include "AdvGDIPAccess.h"
#include "PlatformProbe.h"
#include <cmath>
#include <utility>

namespace {

ULONG_PTR gdiplusToken = 0;
ULONG_PTR hookToken = 0;
Gdiplus::GdiplusStartupOutput startupOutput;
bool hooked = false;

bool gdipDrawOptionA = false;
bool gdipDrawOptionB = false;

TGPFontFamily* genericFamilies[3] = {};

void StartGdiplus()
{
    if (gdiplusToken)
        return;
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = TRUE;
    input.SuppressExternalCodecs = FALSE;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &input, &startupOutput) != Gdiplus::Ok) {
        gdiplusToken = 0;
        return;
    }
    // Before Vista the background thread's work falls to the program, through
    // the notification hook.
    if (!IsWindowsVersion6OrLater() && startupOutput.NotificationHook)
        hooked = startupOutput.NotificationHook(&hookToken) == Gdiplus::Ok;
}

// Bankers' rounding, as the text measures round.
int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

} // namespace

TGPFontFamily*& TGPAccess::GenericFamily(int index) { return genericFamilies[index]; }

// ---------------------------------------------------------------------------
void AdvGDIP_Initialize() { StartGdiplus(); }

void AdvGDIP_Finalize()
{
    // The shared families are GDI+ objects: they must go while it still runs.
    for (TGPFontFamily*& family : genericFamilies) {
        delete family;
        family = nullptr;
    }
    if (hooked && startupOutput.NotificationUnhook)
        startupOutput.NotificationUnhook(hookToken);
    hooked = false;
    hookToken = 0;
    if (gdiplusToken)
        Gdiplus::GdiplusShutdown(gdiplusToken);
    gdiplusToken = 0;
}

bool AdvGDIP_Started() { return gdiplusToken != 0; }
bool AdvGDIP_NotificationHooked() { return hooked; }

bool GetGDIPDrawOptionA() { return gdipDrawOptionA; }
bool GetGDIPDrawOptionB() { return gdipDrawOptionB; }
bool IsWindowsVersion6OrLater() { return PlatformProbe().WindowsMajor > 5; }

// ---------------------------------------------------------------------------
void* TGdiplusBase::operator new(std::size_t size)
{
    void* p = Gdiplus::DllExports::GdipAlloc(size);
    if (!p) {
        StartGdiplus();
        p = Gdiplus::DllExports::GdipAlloc(size);
    }
    if (!p)
        throw std::bad_alloc();
    std::memset(p, 0, size);
    return p;
}

void TGdiplusBase::operator delete(void* p)
{
    if (p)
        Gdiplus::DllExports::GdipFree(p);
}

// ---------------------------------------------------------------------------
ARGB ColorToGPColor(TColor Color) { return ColorToGPColorAlpha(255, Color); }

ARGB ColorToGPColorAlpha(Byte Alpha, TColor Color)
{
    const COLORREF rgb = ColorToRGB(Color);
    return MakeGPColor(Alpha, GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// ---------------------------------------------------------------------------
TGPGraphics::TGPGraphics(HDC hdc)
{
    gp::GpGraphics* graphics = nullptr;
    lastResult = St(gp::GdipCreateFromHDC(hdc, &graphics));
    SetNativeHandle(graphics);
}

TGPGraphics::TGPGraphics(TGPImage* image)
{
    if (!image)
        return;
    gp::GpGraphics* graphics = nullptr;
    lastResult = St(gp::GdipGetImageGraphicsContext(N(image), &graphics));
    SetNativeHandle(graphics);
}

TGPGraphics::TGPGraphics(void* graphics, Status status) : nativeGraphics(graphics), lastResult(status) {}

TGPGraphics::~TGPGraphics() { gp::GdipDeleteGraphics(N(this)); }

std::unique_ptr<TGPGraphics> TGPGraphics::FromImage(TGPImage* image)
{
    return std::make_unique<TGPGraphics>(image);
}

Status TGPGraphics::SetStatus(Status status)
{
    if (status != Ok)
        lastResult = status;
    return status;
}

Status TGPGraphics::GetLastStatus() { return std::exchange(lastResult, Ok); }

void TGPGraphics::Flush(FlushIntention intention)
{
    gp::GdipFlush(N(this), static_cast<Gdiplus::FlushIntention>(intention));
}

Status TGPGraphics::Clear(ARGB color) { return SetStatus(St(gp::GdipGraphicsClear(N(this), color))); }

HDC TGPGraphics::GetHDC()
{
    HDC dc = nullptr;
    SetStatus(St(gp::GdipGetDC(N(this), &dc)));
    return dc;
}

void TGPGraphics::ReleaseHDC(HDC hdc) { SetStatus(St(gp::GdipReleaseDC(N(this), hdc))); }

Status TGPGraphics::SetTextRenderingHint(TextRenderingHint newMode)
{
    return SetStatus(St(gp::GdipSetTextRenderingHint(N(this), static_cast<Gdiplus::TextRenderingHint>(newMode))));
}

TextRenderingHint TGPGraphics::GetTextRenderingHint()
{
    Gdiplus::TextRenderingHint hint = Gdiplus::TextRenderingHintSystemDefault;
    SetStatus(St(gp::GdipGetTextRenderingHint(N(this), &hint)));
    return static_cast<TextRenderingHint>(hint);
}

Status TGPGraphics::SetSmoothingMode(SmoothingMode smoothingMode)
{
    return SetStatus(St(gp::GdipSetSmoothingMode(N(this), static_cast<Gdiplus::SmoothingMode>(smoothingMode))));
}

SmoothingMode TGPGraphics::GetSmoothingMode()
{
    Gdiplus::SmoothingMode mode = Gdiplus::SmoothingModeInvalid;
    SetStatus(St(gp::GdipGetSmoothingMode(N(this), &mode)));
    return static_cast<SmoothingMode>(mode);
}

Status TGPGraphics::SetCompositingQuality(CompositingQuality compositingQuality)
{
    return SetStatus(St(gp::GdipSetCompositingQuality(
        N(this), static_cast<Gdiplus::CompositingQuality>(compositingQuality))));
}

CompositingQuality TGPGraphics::GetCompositingQuality()
{
    Gdiplus::CompositingQuality quality = static_cast<Gdiplus::CompositingQuality>(-1);
    SetStatus(St(gp::GdipGetCompositingQuality(N(this), &quality)));
    return static_cast<CompositingQuality>(quality);
}

Status TGPGraphics::SetTransform(const TGPMatrix* matrix)
{
    return SetStatus(St(gp::GdipSetWorldTransform(N(this), N(matrix))));
}

Status TGPGraphics::MultiplyTransform(const TGPMatrix* matrix, MatrixOrder order)
{
    return SetStatus(St(gp::GdipMultiplyWorldTransform(N(this), N(matrix), Order(order))));
}

Status TGPGraphics::TranslateTransform(float dx, float dy, MatrixOrder order)
{
    return SetStatus(St(gp::GdipTranslateWorldTransform(N(this), dx, dy, Order(order))));
}

Status TGPGraphics::RotateTransform(float angle, MatrixOrder order)
{
    return SetStatus(St(gp::GdipRotateWorldTransform(N(this), angle, Order(order))));
}

Status TGPGraphics::ScaleTransform(float sx, float sy, MatrixOrder order)
{
    return SetStatus(St(gp::GdipScaleWorldTransform(N(this), sx, sy, Order(order))));
}

Status TGPGraphics::ResetTransform() { return SetStatus(St(gp::GdipResetWorldTransform(N(this)))); }

Status TGPGraphics::DrawLine(const TGPPen* pen, float x1, float y1, float x2, float y2)
{
    return SetStatus(St(gp::GdipDrawLine(N(this), N(pen), x1, y1, x2, y2)));
}

Status TGPGraphics::DrawRectangle(const TGPPen* pen, const TGPRectF& rect)
{
    return DrawRectangle(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawRectangle(const TGPPen* pen, float x, float y, float width, float height)
{
    return SetStatus(St(gp::GdipDrawRectangle(N(this), N(pen), x, y, width, height)));
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRectF& rect)
{
    return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, float x, float y, float width, float height)
{
    return SetStatus(St(gp::GdipDrawEllipse(N(this), N(pen), x, y, width, height)));
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRect& rect)
{
    return DrawEllipse(pen, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawEllipse(const TGPPen* pen, int x, int y, int width, int height)
{
    return SetStatus(St(gp::GdipDrawEllipseI(N(this), N(pen), x, y, width, height)));
}

Status TGPGraphics::DrawArc(const TGPPen* pen, float x, float y, float width, float height, float startAngle,
                            float sweepAngle)
{
    return SetStatus(St(gp::GdipDrawArc(N(this), N(pen), x, y, width, height, startAngle, sweepAngle)));
}

Status TGPGraphics::DrawArc(const TGPPen* pen, const TGPRectF& rect, float startAngle, float sweepAngle)
{
    return DrawArc(pen, rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle);
}

Status TGPGraphics::DrawBezier(const TGPPen* pen, float x1, float y1, float x2, float y2, float x3, float y3,
                               float x4, float y4)
{
    return SetStatus(St(gp::GdipDrawBezier(N(this), N(pen), x1, y1, x2, y2, x3, y3, x4, y4)));
}

Status TGPGraphics::DrawBezier(const TGPPen* pen, const TGPPointF& pt1, const TGPPointF& pt2,
                               const TGPPointF& pt3, const TGPPointF& pt4)
{
    return DrawBezier(pen, pt1.X, pt1.Y, pt2.X, pt2.Y, pt3.X, pt3.Y, pt4.X, pt4.Y);
}

Status TGPGraphics::DrawBeziers(const TGPPen* pen, const TGPPointF* points, int count)
{
    return SetStatus(St(gp::GdipDrawBeziers(N(this), N(pen), Pts(points), count)));
}

Status TGPGraphics::DrawPath(const TGPPen* pen, const TGPGraphicsPath* path)
{
    return SetStatus(St(gp::GdipDrawPath(N(this), N(pen), N(path))));
}

Status TGPGraphics::FillRectangle(const TGPBrush* brush, const TGPRectF& rect)
{
    return FillRectangle(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillRectangle(const TGPBrush* brush, float x, float y, float width, float height)
{
    return SetStatus(St(gp::GdipFillRectangle(N(this), N(brush), x, y, width, height)));
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRectF& rect)
{
    return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, float x, float y, float width, float height)
{
    return SetStatus(St(gp::GdipFillEllipse(N(this), N(brush), x, y, width, height)));
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRect& rect)
{
    return FillEllipse(brush, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::FillEllipse(const TGPBrush* brush, int x, int y, int width, int height)
{
    return SetStatus(St(gp::GdipFillEllipseI(N(this), N(brush), x, y, width, height)));
}

Status TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPointF* points, int count, FillMode fillMode)
{
    return SetStatus(
        St(gp::GdipFillPolygon(N(this), N(brush), Pts(points), count, static_cast<Gdiplus::FillMode>(fillMode))));
}

Status TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPoint* points, int count, FillMode fillMode)
{
    return SetStatus(
        St(gp::GdipFillPolygonI(N(this), N(brush), Pts(points), count, static_cast<Gdiplus::FillMode>(fillMode))));
}

Status TGPGraphics::FillPath(const TGPBrush* brush, const TGPGraphicsPath* path)
{
    return SetStatus(St(gp::GdipFillPath(N(this), N(brush), N(path))));
}

Status TGPGraphics::DrawImage(TGPImage* image, float x, float y, float width, float height)
{
    return SetStatus(St(gp::GdipDrawImageRect(N(this), N(image), x, y, width, height)));
}

Status TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& rect)
{
    return DrawImage(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::DrawImage(TGPImage* image, int x, int y)
{
    return SetStatus(St(gp::GdipDrawImageI(N(this), N(image), x, y)));
}

Status TGPGraphics::DrawImage(TGPImage* image, const TGPRectF& destRect, float srcx, float srcy, float srcwidth,
                              float srcheight, Unit_ srcUnit, const TGPImageAttributes* imageAttributes,
                              TDrawImageAbort callback, void* callbackData)
{
    return SetStatus(St(gp::GdipDrawImageRectRect(
        N(this), N(image), destRect.X, destRect.Y, destRect.Width, destRect.Height, srcx, srcy, srcwidth,
        srcheight, static_cast<Gdiplus::Unit>(srcUnit), N(imageAttributes),
        reinterpret_cast<Gdiplus::DrawImageAbort>(callback), callbackData)));
}

Status TGPGraphics::DrawImageRect(TGPImage* image, int x, int y, int width, int height)
{
    return DrawImage(image, static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                     static_cast<float>(height));
}

Status TGPGraphics::DrawImageRect(TGPImage* image, const TGPRect& rect)
{
    return DrawImageRect(image, rect.X, rect.Y, rect.Width, rect.Height);
}

Status TGPGraphics::SetClip(const TGPRegion* region, CombineMode combineMode)
{
    return SetStatus(St(gp::GdipSetClipRegion(N(this), N(region), Combine(combineMode))));
}

Status TGPGraphics::SetClip(const TGPGraphicsPath* path, CombineMode combineMode)
{
    return SetStatus(St(gp::GdipSetClipPath(N(this), N(path), Combine(combineMode))));
}

Status TGPGraphics::ExcludeClip(const TGPRectF& rect)
{
    return SetStatus(St(gp::GdipSetClipRect(N(this), rect.X, rect.Y, rect.Width, rect.Height,
                                            Gdiplus::CombineModeExclude)));
}

Status TGPGraphics::ExcludeClip(const TGPRegion* region)
{
    return SetStatus(St(gp::GdipSetClipRegion(N(this), N(region), Gdiplus::CombineModeExclude)));
}

Status TGPGraphics::ResetClip() { return SetStatus(St(gp::GdipResetClip(N(this)))); }

Status TGPGraphics::MeasureString(const String& string, int length, const TGPFont* font, const TGPRectF& layoutRect,
                                  const TGPStringFormat* stringFormat, TGPRectF& boundingBox, int* codepointsFitted,
                                  int* linesFilled)
{
    Gdiplus::RectF bounds;
    const Status status = SetStatus(St(gp::GdipMeasureString(N(this), string.c_str(), ClampLength(string, length),
                                                             N(font), Rc(&layoutRect), N(stringFormat), &bounds,
                                                             codepointsFitted, linesFilled)));
    boundingBox = {bounds.X, bounds.Y, bounds.Width, bounds.Height};
    return status;
}

Status TGPGraphics::MeasureString(const String& string, int length, const TGPFont* font, const TGPPointF& origin,
                                  const TGPStringFormat* stringFormat, TGPRectF& boundingBox)
{
    return MeasureString(string, length, font, TGPRectF{origin.X, origin.Y, 0, 0}, stringFormat, boundingBox);
}

Status TGPGraphics::MeasureString(const String& string, int length, const TGPFont* font, const TGPRectF& layoutRect,
                                  TGPRectF& boundingBox)
{
    return MeasureString(string, length, font, layoutRect, nullptr, boundingBox);
}

Status TGPGraphics::DrawString(const String& string, int, const TGPFont* font, const TGPPointF& origin,
                               const TGPStringFormat* stringFormat, const TGPBrush* brush)
{
    return DrawString(string, -1, font, TGPRectF{origin.X, origin.Y, 0, 0}, stringFormat, brush);
}

Status TGPGraphics::DrawString(const String& string, int, const TGPFont* font, const TGPPointF& origin,
                               const TGPBrush* brush)
{
    return DrawString(string, -1, font, TGPRectF{origin.X, origin.Y, 0, 0}, nullptr, brush);
}

Status TGPGraphics::DrawString(const String& string, int, const TGPFont* font, const TGPRectF& layoutRect,
                               const TGPStringFormat* stringFormat, const TGPBrush* brush)
{
    return SetStatus(St(gp::GdipDrawString(N(this), string.c_str(), static_cast<int>(string.size()), N(font),
                                           Rc(&layoutRect), N(stringFormat), N(brush))));
}

std::unique_ptr<TGPFont> TGPGraphics::MakeFont(TFont* font)
{
    // "Arial", the usual fallback, is not everywhere: the generic sans-serif
    // family always is.
    std::unique_ptr<TGPFontFamily> family = std::make_unique<TGPFontFamily>(font->GetName());
    const Status found = family->GetLastStatus();
    const TGPFontFamily* use = family.get();
    if (found != Ok)
        use = TGPFontFamily::GenericSansSerif();
    int style = FontStyleRegular;
    const TFontStyles fontStyle = font->GetStyle();
    if (fontStyle.Contains(fsBold))
        style |= FontStyleBold;
    if (fontStyle.Contains(fsItalic))
        style |= FontStyleItalic;
    if (fontStyle.Contains(fsUnderline))
        style |= FontStyleUnderline;
    if (fontStyle.Contains(fsStrikeOut))
        style |= FontStyleStrikeout;
    return std::make_unique<TGPFont>(use, static_cast<float>(font->GetSize()), style, UnitPoint);
}

int TGPGraphics::TextWidth(const String& text, TFont* font)
{
    const std::unique_ptr<TGPFont> gpFont = MakeFont(font);
    TGPRectF bounds;
    MeasureString(text, static_cast<int>(text.size()), gpFont.get(), TGPRectF{0, 0, 10000, 10000}, bounds);
    return RoundHalfEven(bounds.Width);
}

int TGPGraphics::TextHeight(const String& text, TFont* font)
{
    const std::unique_ptr<TGPFont> gpFont = MakeFont(font);
    TGPRectF bounds;
    MeasureString(text, static_cast<int>(text.size()), gpFont.get(), TGPRectF{0, 0, 10000, 10000}, bounds);
    return RoundHalfEven(bounds.Height);
}

int TGPGraphics::DrawText(const String& text, int len, TRect& rect, TFont* font, Cardinal style, TColor bkColor)
{
    constexpr Cardinal calcRect = 0x400;
    const std::unique_ptr<TGPFont> gpFont = MakeFont(font);
    const bool measuring = (style & calcRect) != 0;
    if (measuring || bkColor != clNone) {
        const int size = font->GetSize();
        const double allowance = size >= 9 ? RoundHalfEven((size - 8) / 1.5) + 2 : 2;
        // GDI+ leaves a final space out of the extent; a letter in its place
        // makes it count.
        String measured = text;
        if (measured.size() > 1 && measured.back() == L' ')
            measured.back() = L'i';
        TGPRectF bounds;
        MeasureString(measured, len, gpFont.get(),
                      TGPRectF{static_cast<float>(rect.left), static_cast<float>(rect.top),
                               static_cast<float>(rect.Width() + 1000), static_cast<float>(rect.Height())},
                      bounds);
        rect.right = rect.left + RoundHalfEven(bounds.Width - allowance);
        rect.bottom = rect.top + RoundHalfEven(bounds.Height);
        if (bkColor != clNone) {
            TGPSolidBrush background(ColorToGPColor(bkColor));
            FillRectangle(&background, static_cast<float>(rect.left + 1), static_cast<float>(rect.top),
                          static_cast<float>(bounds.Width - allowance + 1), bounds.Height);
        }
    }
    if (!measuring) {
        TGPSolidBrush textBrush(ColorToGPColor(font->GetColor()));
        DrawString(text, -1, gpFont.get(), TGPPointF{static_cast<float>(rect.left), static_cast<float>(rect.top)},
                   &textBrush);
    }
    return rect.Height();
}

// ---------------------------------------------------------------------------
void FillGradientTypeArea(const TGradientFillParams& params)
{
    TGPGraphics* graphics = params.Graphics;
    if (!graphics)
        return;
    const TGPRectF& r = params.Rect;
    const ARGB color1 = ColorToGPColorAlpha(params.Opacity, params.Color);
    const ARGB color2 = ColorToGPColorAlpha(params.OpacityTo, params.ColorTo);
    const auto fill = [&](const TGPBrush& brush) {
        if (params.UsePath)
            graphics->FillPath(&brush, params.Path);
        else
            graphics->FillRectangle(&brush, r);
    };
    // Gradients span one unit more on every side, so that their end colours
    // reach the target's edges instead of wrapping round.
    const TGPRectF grown{r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2};

    switch (params.Kind) {
    case gtSolid:
        fill(TGPSolidBrush(color1));
        break;
    case gtVertical:
    case gtHorizontal:
    case gtForwardDiagonal:
    case gtBackwardDiagonal: {
        static constexpr LinearGradientMode modes[] = {LinearGradientModeVertical, LinearGradientModeHorizontal,
                                                       LinearGradientModeForwardDiagonal,
                                                       LinearGradientModeBackwardDiagonal};
        TGPLinearGradientBrush brush(grown, color1, color2, modes[params.Kind - gtVertical]);
        brush.SetGammaCorrection(true);
        fill(brush);
        if (params.IsMirror) {
            TGPSolidBrush strip(color1);
            graphics->FillRectangle(&strip, r.X, r.Y, r.Width, 1);
        }
        break;
    }
    case gtAngle: {
        TGPLinearGradientBrush brush(grown, color1, color2, static_cast<float>(params.Angle), true);
        brush.SetGammaCorrection(true);
        fill(brush);
        break;
    }
    case gtHatch:
        fill(TGPHatchBrush(params.HatchStyle, color1, color2));
        break;
    case gtTexture:
        if (params.Picture) {
            if (params.UsePath)
                params.Picture->FillPath(graphics, params.Path);
            else
                params.Picture->FillRect(graphics, r);
        }
        break;
    case gtRadial:
    case gtPath:
    case gtNone:
        break;
    }

    if (params.BorderColor != clNone) {
        TGPPen pen(ColorToGPColorAlpha(params.Opacity, params.BorderColor), static_cast<float>(params.BorderWidth));
        pen.SetDashStyle(params.BorderDashStyle);
        if (params.UsePath)
            graphics->DrawPath(&pen, params.Path);
        else
            graphics->DrawRectangle(&pen, r);
    }
}
