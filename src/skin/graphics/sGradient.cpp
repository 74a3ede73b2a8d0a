#include "sGradient.h"
#include "SysUtils.h"
#include "acGdiPlus.h"
#include "ProcBinding.h"
#include "acntUtils.h"
#include "sGraphUtilsRows.h"
#include <algorithm>
#include <optional>
#include <utility>

namespace {

TModuleHandle msimgModule;

std::optional<Int64> Field(const String& S, int N)
{
    Int64 value = 0;
    if (!TryStrToInt64(GetNthWordW(N, S, TSysCharSet{';'}), value))
        return std::nullopt;
    return value;
}

// Pixel-order colour of a stop, fully opaque.
Cardinal StopPixel(const TsGradPoint& Stop)
{
    return SwapRedBlue(static_cast<Cardinal>(Stop.Color.C)) | 0xFF000000u;
}

Cardinal Interpolate(Cardinal From, Cardinal To, int Step, int Steps)
{
    Cardinal result = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        int a = (From >> shift) & 0xFF, b = (To >> shift) & 0xFF;
        int c = static_cast<int>(Round(a + static_cast<double>(b - a) * Step / Steps));
        result |= static_cast<Cardinal>(std::clamp(c, 0, 255)) << shift;
    }
    return result;
}

// Where each band (stop k-1 to stop k) ends along Length, counted from 0.
std::vector<int> BandEnds(const TsGradArray& Grad, int Length, bool Horizontal)
{
    std::vector<int> ends(Grad.size(), 0);
    int position = 0;
    for (size_t k = 1; k < Grad.size(); ++k) {
        int span = Grad[k].Percent - Grad[k - 1].Percent;
        int size = Horizontal ? static_cast<int>(Round(span * Length / 100.0)) : span * Length / 100;
        position = std::clamp(position + size, 0, Length);
        if (k == Grad.size() - 1)
            position = Length;
        ends[k] = position;
    }
    return ends;
}

// The gradient's pixel along a line of Length pixels.
std::vector<Cardinal> GradientLine(const TsGradArray& Grad, int Length, bool Horizontal)
{
    std::vector<Cardinal> line(static_cast<size_t>(Length), StopPixel(Grad.front()));
    std::vector<int> ends = BandEnds(Grad, Length, Horizontal);
    int start = 0;
    for (size_t k = 1; k < Grad.size(); ++k) {
        int n = ends[k] - start;
        Cardinal from = StopPixel(Grad[k - 1]), to = StopPixel(Grad[k]);
        for (int i = 0; i < n; ++i)
            line[static_cast<size_t>(start + i)] = from == to ? from : Interpolate(from, to, i, n);
        start = ends[k];
    }
    return line;
}

// Positions of the line that GDI+ paints with alpha (none without GDI+,
// where those bands keep their opaque interpolation).
std::vector<bool> AlphaPositions(const TsGradArray& Grad, int Length, bool Horizontal)
{
    std::vector<bool> alpha(static_cast<size_t>(Length), false);
    if (!GdiPlus().Token)
        return alpha;
    std::vector<int> ends = BandEnds(Grad, Length, Horizontal);
    int start = 0;
    for (size_t k = 1; k < Grad.size(); ++k) {
        if ((Grad[k].Mode | Grad[k - 1].Mode) & 0x10)
            std::fill(alpha.begin() + start, alpha.begin() + ends[k], true);
        start = ends[k];
    }
    return alpha;
}

// Bands whose stops ask for alpha are painted through GDI+.
void PaintAlphaBands(TBitmap* Bitmap, const TRect& R, const TsGradArray& Grad, bool Horizontal)
{
    HDC dc = nullptr;
    int length = Horizontal ? R.Width() : R.Height();
    std::vector<int> ends = BandEnds(Grad, length, Horizontal);
    int start = 0;
    for (size_t k = 1; k < Grad.size(); ++k) {
        int n = ends[k] - start;
        if (n > 0 && ((Grad[k].Mode | Grad[k - 1].Mode) & 0x10)) {
            if (!dc)
                dc = Bitmap->GetCanvas()->GetHandle();
            TSavedDC saved(dc);
            Cardinal from = static_cast<Cardinal>(Grad[k - 1].Color.C);
            Cardinal to = static_cast<Cardinal>(Grad[k].Color.C);
            // The brush starts one pixel early so the band's first line is
            // not the brush's seam; the clip keeps that pixel off.
            if (Horizontal) {
                int x = R.left + start;
                IntersectClipRect(dc, x, R.top, x + n, R.bottom);
                FillRectHorzGradient(dc, from, to, static_cast<float>(x - 1), static_cast<float>(R.top),
                                     static_cast<float>(n + 1), static_cast<float>(R.Height()));
            } else {
                int y = R.top + start;
                IntersectClipRect(dc, R.left, y, R.right, y + n);
                FillRectVertGradient(dc, from, to, static_cast<float>(R.left), static_cast<float>(y - 1),
                                     static_cast<float>(R.Width()), static_cast<float>(n + 1));
            }
        }
        start = ends[k];
    }
    if (dc)
        GdiFlush();
}

void PaintCorners(TBitmap* Bitmap, const TRect& R, const TsGradArray& Grad)
{
    HDC dc = Bitmap->GetCanvas()->GetHandle();
    if (Grad[0].Mode & 0x20) {
        const TPoint corners[4] = {{R.left, R.top}, {R.right, R.top}, {R.right, R.bottom}, {R.left, R.bottom}};
        const Cardinal colors[4] = {static_cast<Cardinal>(Grad[0].Color.C), static_cast<Cardinal>(Grad[2].Color.C),
                                    static_cast<Cardinal>(Grad[3].Color.C), static_cast<Cardinal>(Grad[4].Color.C)};
        FillRectPathGradient(dc, corners, colors, static_cast<float>(R.left), static_cast<float>(R.top),
                             static_cast<float>(R.Width()), static_cast<float>(R.Height()),
                             static_cast<Cardinal>(Grad[1].Color.C));
        return;
    }
    TGradientFill gradientFill = GradientFillBinding();
    if (!gradientFill)
        return;
    auto vertex = [](LONG x, LONG y, const TsGradPoint& stop) {
        TRIVERTEX v{};
        v.x = x;
        v.y = y;
        v.Red = static_cast<COLOR16>(stop.Color.R << 8);
        v.Green = static_cast<COLOR16>(stop.Color.G << 8);
        v.Blue = static_cast<COLOR16>(stop.Color.B << 8);
        v.Alpha = 0xFF00;
        return v;
    };
    TRIVERTEX vertices[5] = {vertex(R.left, R.top, Grad[0]),
                             vertex((R.left + R.right) / 2, (R.top + R.bottom) / 2, Grad[1]),
                             vertex(R.right, R.top, Grad[2]), vertex(R.right, R.bottom, Grad[3]),
                             vertex(R.left, R.bottom, Grad[4])};
    GRADIENT_TRIANGLE triangles[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
    gradientFill(dc, vertices, 5, triangles, 4, GRADIENT_FILL_TRIANGLE);
    GdiFlush();
}

} // namespace

TGradientFill& GradientFillBinding()
{
    static TGradientFill binding = nullptr;
    return binding;
}

void FillDWords(void* P, int Count, Cardinal Value)
{
    if (Count > 0)
        std::fill_n(static_cast<Cardinal*>(P), Count, Value);
}

void ParseGradientString(const String& S, TsGradArray& Grad)
{
    Grad.clear();
    if (S.size() <= 4)
        return;
    const TSysCharSet separator{';'};
    const int fields = CountWordsW(S, separator);
    TsGradArray stops;
    if (S.back() == L'0') {
        const int count = fields / 5;
        int percent = 0;
        for (int i = 0; i < count; ++i) {
            auto color = Field(S, 5 * i + 1), step = Field(S, 5 * i + 3), mode = Field(S, 5 * i + 4);
            if (!color || !step || !mode)
                return;
            TsGradPoint stop;
            stop.Index = static_cast<Word>(i);
            stop.Color.I = static_cast<Integer>(static_cast<Cardinal>(*color) | 0xFF000000u);
            stop.Percent = static_cast<TPercent>(std::min(percent, 100));
            stop.Mode = static_cast<Integer>(*mode) & ~0x10;
            stops.push_back(stop);
            percent += static_cast<int>(std::clamp<Int64>(*step, 0, 100));
        }
        if (!stops.empty() && (stops[0].Mode & 3) == 2)
            while (stops.size() < 5) {
                stops.push_back(stops.back());
                stops.back().Index = static_cast<Word>(stops.size() - 1);
            }
    } else if (S.back() > 64) {
        // The count letter is a field of its own; only whole stops before it count.
        if (GetNthWordW(fields, S, separator).size() != 1)
            return;
        const int count = std::min<int>(S.back() - 64, (fields - 1) / 3);
        for (int a = 0; a < count; ++a) {
            auto color = Field(S, 3 * a + 1), percent = Field(S, 3 * a + 2), mode = Field(S, 3 * a + 3);
            if (!color || !percent || !mode)
                return;
            TsGradPoint stop;
            stop.Index = static_cast<Word>(a);
            stop.Color.I = static_cast<Integer>(static_cast<Cardinal>(*color));
            stop.Percent = static_cast<TPercent>(std::clamp<Int64>(*percent, 0, 100));
            stop.Mode = static_cast<Integer>(*mode);
            if (stop.Mode & 0x10)
                stop.Mode |= 0x20;
            stops.push_back(stop);
        }
    }
    if (!stops.empty())
        stops.back().Percent = 100;
    Grad = std::move(stops);
}

void PaintGradient(TBitmap* Bitmap, const TRect& Rect, const TsGradArray& Grad)
{
    TPixelRows rows = PixelRows32(Bitmap);
    if (!rows || Grad.empty())
        return;
    TRect r = IntersectRects(Rect, TRect(0, 0, rows.Width, rows.Height));
    if (r.IsEmpty())
        return;
    switch (Grad[0].Mode & 3) {
    case 0: {
        std::vector<Cardinal> line = GradientLine(Grad, r.Height(), false);
        std::vector<bool> alpha = AlphaPositions(Grad, r.Height(), false);
        for (int y = r.top; y < r.bottom; ++y)
            if (!alpha[static_cast<size_t>(y - r.top)])
                FillDWords(rows.Row(y) + r.left, r.Width(), line[static_cast<size_t>(y - r.top)]);
        PaintAlphaBands(Bitmap, r, Grad, false);
        break;
    }
    case 1: {
        std::vector<Cardinal> line = GradientLine(Grad, r.Width(), true);
        std::vector<bool> alpha = AlphaPositions(Grad, r.Width(), true);
        for (int y = r.top; y < r.bottom; ++y) {
            Cardinal* row = rows.Row(y) + r.left;
            for (size_t x = 0; x < line.size(); ++x)
                if (!alpha[x])
                    row[x] = line[x];
        }
        PaintAlphaBands(Bitmap, r, Grad, true);
        break;
    }
    case 2:
        if (Grad.size() > 4)
            PaintCorners(Bitmap, r, Grad);
        break;
    default:
        break;
    }
}

void PaintGradientTexture(TBitmap* Bitmap, const TRect& Rect, const TsGradArray& Grad, TBitmap* Texture,
                          const TRect& SrcRect, Byte TextureWeight, Byte Alpha)
{
    TPixelRows rows = PixelRows32(Bitmap);
    if (!rows || Grad.empty() || (Grad[0].Mode & 3) > 1)
        return;
    TRect r = IntersectRects(Rect, TRect(0, 0, rows.Width, rows.Height));
    if (r.IsEmpty())
        return;
    const bool horizontal = (Grad[0].Mode & 3) == 1;
    std::vector<Cardinal> line = GradientLine(Grad, horizontal ? r.Width() : r.Height(), horizontal);

    TPixelRows texture = PixelRows32(Texture);
    TRect area;
    if (texture) {
        const TRect whole(0, 0, texture.Width, texture.Height);
        area = SrcRect.IsEmpty() ? whole : IntersectRects(SrcRect, whole);
    }
    const bool textured = texture && !area.IsEmpty();
    const Cardinal alpha = static_cast<Cardinal>(Alpha) << 24;
    for (int y = r.top; y < r.bottom; ++y) {
        Cardinal* row = rows.Row(y);
        const Cardinal* textureRow =
            textured ? texture.Row(area.top + (y - r.top) % area.Height()) : nullptr;
        for (int x = r.left; x < r.right; ++x) {
            Cardinal g = line[static_cast<size_t>(horizontal ? x - r.left : y - r.top)];
            if (!textured) {
                row[x] = (g & 0x00FFFFFFu) | alpha;
                continue;
            }
            Cardinal t = textureRow[area.left + (x - r.left) % area.Width()];
            Cardinal mixed = alpha;
            for (int shift = 0; shift < 24; shift += 8) {
                int gc = (g >> shift) & 0xFF, tc = (t >> shift) & 0xFF;
                int c = ((tc - gc) * TextureWeight + gc * 256) >> 8;
                mixed |= static_cast<Cardinal>(std::clamp(c, 0, 255)) << shift;
            }
            row[x] = mixed;
        }
    }
}

void sGradient_Initialize()
{
    if (!msimgModule)
        msimgModule.Reset(LoadLibraryW(L"msimg32.dll"));
    if (msimgModule)
        BindProc(GradientFillBinding(), msimgModule.Get(), "GradientFill");
}

void sGradient_Finalize()
{
    GradientFillBinding() = nullptr;
    msimgModule.Reset();
}
