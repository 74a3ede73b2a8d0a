#include "acGdiPlus.h"
#include "sGraphUtilsRows.h"
#include "ProcBinding.h"
#include "UniqueHandle.h"
#include <algorithm>

using namespace Gdiplus;

Byte GdiPlusSmoothingMode = SmoothingModeHighQuality;

namespace {

// The module the bindings were taken from; they hold copies of its handle.
TModuleHandle gdiplusModule;

// Releases what a painter created on every path.
struct TGdiPlusGraphics {
    explicit TGdiPlusGraphics(HDC dc)
    {
        if (GdiPlus().Token && GdiPlus().GdipCreateFromHDC && GdiPlus().GdipDeleteGraphics &&
            GdiPlus().GdipCreateFromHDC(dc, &Graphics) != Ok)
            Graphics = nullptr;
    }
    ~TGdiPlusGraphics()
    {
        if (Graphics)
            GdiPlus().GdipDeleteGraphics(Graphics);
    }
    TGdiPlusGraphics(const TGdiPlusGraphics&) = delete;
    TGdiPlusGraphics& operator=(const TGdiPlusGraphics&) = delete;
    GpGraphics* Graphics = nullptr;
};

struct TGdiPlusBrush {
    ~TGdiPlusBrush()
    {
        if (Brush && GdiPlus().GdipDeleteBrush)
            GdiPlus().GdipDeleteBrush(Brush);
    }
    GpBrush* Brush = nullptr;
};

ARGB ToArgb(Cardinal Color)
{
    return SwapRedBlue(Color);
}

void FillLinearGradient(HDC DC, Cardinal Color1, Cardinal Color2, const GpPointF& From, const GpPointF& To,
                        float X, float Y, float W, float H)
{
    auto& gp = GdiPlus();
    if (!gp.GdipCreateLineBrush || !gp.GdipFillRectangle || !gp.GdipDeleteBrush)
        return;
    TGdiPlusGraphics graphics(DC);
    if (!graphics.Graphics)
        return;
    TGdiPlusBrush brush;
    GpLineGradient* line = nullptr;
    if (gp.GdipCreateLineBrush(&From, &To, ToArgb(Color1), ToArgb(Color2), WrapModeTile, &line) != Ok)
        return;
    brush.Brush = line;
    gp.GdipFillRectangle(graphics.Graphics, brush.Brush, X, Y, W, H);
}

} // namespace

TGdiPlusBindings& GdiPlus()
{
    static TGdiPlusBindings bindings;
    return bindings;
}

void StartGdiPlus(bool Enabled)
{
    auto& gp = GdiPlus();
    if (!Enabled || !gp.Module || !gp.GdiplusStartup || gp.Token)
        return;
    GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    if (gp.GdiplusStartup(&gp.Token, &input, nullptr) != Ok)
        gp.Token = 0;
}

void StopGdiPlus(bool Enabled)
{
    auto& gp = GdiPlus();
    if (Enabled && gp.Module && gp.GdiplusShutdown && gp.Token)
        gp.GdiplusShutdown(std::exchange(gp.Token, 0));
}

void DrawAntialiasedLine(HDC DC, TColor Color, float X1, float Y1, float X2, float Y2, float Width)
{
    auto& gp = GdiPlus();
    if (!gp.GdipCreatePen1 || !gp.GdipDrawLine || !gp.GdipDeletePen || !gp.GdipSetSmoothingMode)
        return;
    TGdiPlusGraphics graphics(DC);
    if (!graphics.Graphics)
        return;
    gp.GdipSetSmoothingMode(graphics.Graphics, static_cast<SmoothingMode>(GdiPlusSmoothingMode));
    ARGB color = ToArgb(static_cast<Cardinal>(Color));
    if (color < 0x01000000u)
        color |= 0xFF000000u;
    GpPen* pen = nullptr;
    if (gp.GdipCreatePen1(color, Width, UnitWorld, &pen) != Ok)
        return;
    gp.GdipDrawLine(graphics.Graphics, pen, X1, Y1, X2, Y2);
    gp.GdipDeletePen(pen);
}

void FillRectHorzGradient(HDC DC, Cardinal Color1, Cardinal Color2, float X, float Y, float W, float H)
{
    FillLinearGradient(DC, Color1, Color2, {X, Y}, {X + W, Y}, X, Y, W, H);
}

void FillRectVertGradient(HDC DC, Cardinal Color1, Cardinal Color2, float X, float Y, float W, float H)
{
    FillLinearGradient(DC, Color1, Color2, {X, Y}, {X, Y + H}, X, Y, W, H);
}

void FillRectPathGradient(HDC DC, const TPoint Corners[4], const Cardinal CornerColors[4], float X,
                          float Y, float W, float H, Cardinal CenterColor)
{
    auto& gp = GdiPlus();
    if (!gp.GdipCreatePathGradient || !gp.GdipSetPathGradientCenterColor ||
        !gp.GdipSetPathGradientSurroundColorsWithCount || !gp.GdipFillRectangle || !gp.GdipDeleteBrush)
        return;
    TGdiPlusGraphics graphics(DC);
    if (!graphics.Graphics)
        return;
    GpPointF points[4];
    ARGB surround[4];
    for (int i = 0; i < 4; ++i) {
        points[i] = {static_cast<REAL>(Corners[i].x), static_cast<REAL>(Corners[i].y)};
        surround[i] = ToArgb(CornerColors[i]);
    }
    TGdiPlusBrush brush;
    GpPathGradient* path = nullptr;
    if (gp.GdipCreatePathGradient(points, 4, WrapModeClamp, &path) != Ok)
        return;
    brush.Brush = path;
    INT count = 4;
    if (gp.GdipSetPathGradientCenterColor(path, ToArgb(CenterColor)) != Ok ||
        gp.GdipSetPathGradientSurroundColorsWithCount(path, surround, &count) != Ok)
        return;
    gp.GdipFillRectangle(graphics.Graphics, brush.Brush, X, Y, W, H);
}

void StretchBitmapGdiPlus(TBitmap* Target, TBitmap* Source, const TRect& DstRect, const TRect& SrcRect)
{
    auto& gp = GdiPlus();
    if (!gp.GdipCreateBitmapFromScan0 || !gp.GdipSetCompositingMode || !gp.GdipSetCompositingQuality ||
        !gp.GdipDrawImageRectRect || !gp.GdipDisposeImage)
        return;
    TPixelRows source = PixelRows32(Source);
    if (!source || !PixelRows32(Target))
        return;
    {
        TGdiPlusGraphics graphics(Target->GetCanvas()->GetHandle());
        if (!graphics.Graphics)
            return;
        // The copy's alpha is halved and lifted so that no pixel is fully
        // transparent on the way; the pass below undoes it.
        std::vector<Cardinal> pixels(static_cast<size_t>(source.Width) * source.Height);
        for (int y = 0; y < source.Height; ++y) {
            const Cardinal* row = source.Row(y);
            Cardinal* to = pixels.data() + static_cast<size_t>(y) * source.Width;
            for (int x = 0; x < source.Width; ++x)
                to[x] = (row[x] & 0x00FFFFFFu) | (((row[x] >> 24) / 2 + 127) << 24);
        }
        GpBitmap* bitmap = nullptr;
        if (gp.GdipCreateBitmapFromScan0(source.Width, source.Height, source.Width * 4, PixelFormat32bppARGB,
                                         reinterpret_cast<BYTE*>(pixels.data()), &bitmap) != Ok)
            return;
        gp.GdipSetCompositingMode(graphics.Graphics, CompositingModeSourceCopy);
        gp.GdipSetCompositingQuality(graphics.Graphics, CompositingQualityHighSpeed);
        gp.GdipDrawImageRectRect(graphics.Graphics, bitmap, static_cast<REAL>(DstRect.left),
                                 static_cast<REAL>(DstRect.top), static_cast<REAL>(DstRect.Width()),
                                 static_cast<REAL>(DstRect.Height()), static_cast<REAL>(SrcRect.left),
                                 static_cast<REAL>(SrcRect.top), static_cast<REAL>(SrcRect.Width()),
                                 static_cast<REAL>(SrcRect.Height()), UnitPixel, nullptr, nullptr, nullptr);
        gp.GdipDisposeImage(bitmap);
    }
    GdiFlush();
    TPixelRows target = PixelRows32(Target);
    for (int y = 0; y < target.Height; ++y) {
        Cardinal* row = target.Row(y);
        for (int x = 0; x < target.Width; ++x) {
            Cardinal a = row[x] >> 24;
            if (a == 0)
                continue;
            auto unmultiply = [&](int shift) { return std::min<Cardinal>(255, ((row[x] >> shift) & 0xFF) * 256 / a) << shift; };
            row[x] = unmultiply(0) | unmultiply(8) | unmultiply(16) | (std::min<Cardinal>(255, a * 2 + 1) << 24);
        }
    }
}

void acGdiPlus_Initialize()
{
    auto& gp = GdiPlus();
    if (!gp.Module) {
        gdiplusModule.Reset(LoadLibraryW(L"gdiplus.dll"));
        gp.Module = gdiplusModule.Get();
    }
    if (!gp.Module || gp.GdipCreateFromHDC)
        return;
    BindProc(gp.GdiplusStartup, gp.Module, "GdiplusStartup");
    BindProc(gp.GdiplusShutdown, gp.Module, "GdiplusShutdown");
#define AC_GDIPLUS_BIND(Name) BindProc(gp.Name, gp.Module, #Name);
    AC_GDIPLUS_FLAT_ENTRIES(AC_GDIPLUS_BIND)
#undef AC_GDIPLUS_BIND
    StartGdiPlus(true);
}

void acGdiPlus_Finalize()
{
    StopGdiPlus(true);
    GdiPlus() = {};
    gdiplusModule.Reset();
}
