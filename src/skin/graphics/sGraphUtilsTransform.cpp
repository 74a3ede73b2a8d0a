// Quarter turns, free rotation and filtered resampling of 32-bit bitmaps.
#include "sGraphUtilsRows.h"
#include "SysUtils.h"
#include <cmath>
#include <numbers>
#include <vector>

namespace {

struct TSinCos {
    float Sin = 0;
    float Cos = 0;
};
TSinCos SinCosTable[360];

// ---------------------------------------------------------------------------
// Resampling filters: support and weight.
struct TFilter {
    double Support;
    double (*Weight)(double X);
};

double Box(double x)
{
    return x > -0.5 && x <= 0.5 ? 1 : 0;
}
double Triangle(double x)
{
    return 1 - std::fabs(x);
}
double Hermite(double x)
{
    double r = std::fabs(x);
    return (2 * r - 3) * r * r + 1;
}
double Bell(double x)
{
    double r = std::fabs(x);
    return r < 0.5 ? 0.75 - r * r : 0.5 * (r - 1.5) * (r - 1.5);
}
double BSpline(double x)
{
    double r = std::fabs(x);
    if (r < 1)
        return (0.5 * r - 1) * r * r + 2.0 / 3;
    double t = 2 - r;
    return t * t * t / 6;
}
double Sine(double x)
{
    double r = std::fabs(x);
    if (r == 0)
        return 1;
    return std::sin(std::numbers::pi * r) * std::sin(r) / (std::numbers::pi * r * r);
}
double Mitchell(double x)
{
    double r = std::fabs(x);
    if (r < 1)
        return r * r * (7.0 / 6 * r - 2) + 8.0 / 9;
    return r * r * (2 - 7.0 / 18 * r) - 10.0 / 3 * r + 16.0 / 9;
}

constexpr TFilter Filters[] = {{0.51, Box},     {1.0, Triangle}, {1.0, Hermite}, {1.5, Bell},
                               {2.0, BSpline},  {3.0, Sine},     {2.0, Mitchell}};

struct TContributor {
    std::ptrdiff_t Offset;   // byte offset of the source sample
    int Weight;              // 16.16 fixed point
};

// For each of Targets indexes the weighted source samples (Sources of them,
// Step bytes apart) that make it.
std::vector<std::vector<TContributor>> Contributors(int Targets, int Sources, std::ptrdiff_t Step,
                                                    const TFilter& Filter)
{
    double scale = Sources > Targets ? static_cast<double>(Targets) / Sources : 1.0;
    double width = Filter.Support / scale;
    std::vector<std::vector<TContributor>> lists(static_cast<size_t>(Targets));
    for (int i = Targets - 1; i >= 0; --i) {
        double centre = static_cast<double>(Sources) * i / Targets;
        auto& list = lists[static_cast<size_t>(i)];
        for (int j = static_cast<int>(std::ceil(centre + width)); j >= static_cast<int>(std::floor(centre - width)); --j) {
            double x = (centre - j) * scale;
            if (std::fabs(x) >= Filter.Support)
                continue;
            double u = Filter.Weight(x);
            if (u == 0)
                continue;
            int s = j;
            if (s < 0) {
                s = -s;
                if (s >= Sources)
                    s = j + 2 * Sources - 1;
            } else if (s >= Sources) {
                s = 2 * Sources - s - 1;
            }
            // Mirroring alone can still miss a source far narrower than the filter.
            s = std::clamp(s, 0, Sources - 1);
            list.push_back({s * Step, static_cast<int>(Round(u * scale * 65536))});
        }
    }
    return lists;
}

void ApplyContributors(const std::vector<TContributor>& List, const Byte* Source, Byte* Target)
{
    for (int channel = 0; channel < 4; ++channel) {
        long long sum = 0;
        for (const TContributor& c : List)
            sum += static_cast<long long>(c.Weight) * Source[c.Offset + channel];
        Target[channel] = sum < 0 ? 0 : sum < 0xFF0001 ? static_cast<Byte>(sum >> 16) : 255;
    }
}

} // namespace

// ---------------------------------------------------------------------------
TBitmap* RotateBitmap32(TBitmap*& Bmp, int Angle, bool FreeSource)
{
    if (!Bmp || Bmp->GetPixelFormat() != pf32bit)
        return nullptr;
    const int w = Bmp->GetWidth(), h = Bmp->GetHeight();
    std::vector<Cardinal> pixels(static_cast<size_t>(w) * static_cast<size_t>(std::max(h, 0)));
    TPixelRows source = PixelRows32(Bmp);
    if (source)
        for (int r = 0; r < h; ++r)
            std::copy_n(source.Row(r), w, pixels.begin() + static_cast<std::ptrdiff_t>(r) * w);
    if (FreeSource)
        FreeAndNil(Bmp);

    const bool quarter = Angle == 90 || Angle == 270;
    TBitmap* result = MakeBitmap32(quarter ? h : w, quarter ? w : h);
    TPixelRows target = PixelRows32(result);
    if (!target)
        return result;
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            int x = c, y = r;
            switch (Angle) {
            case 90: x = (target.Width - 1) - r; y = c; break;
            case 180: x = (w - 1) - c; y = (h - 1) - r; break;
            case 270: x = r; y = (w - 1) - c; break;
            }
            target.Row(y)[x] = pixels[static_cast<size_t>(r) * w + c];
        }
    return result;
}

void ResampleBitmap(TBitmap* Src, TBitmap* Dst, int NewWidth, int NewHeight, int Filter)
{
    if (!Src || !Dst || NewHeight == 0 || Src->GetWidth() <= 1 || Src->GetHeight() <= 1 || NewWidth <= 1 ||
        NewHeight <= 1)
        return;
    if (Src->GetWidth() == NewWidth && Src->GetHeight() == NewHeight) {
        if (Src != Dst)
            Dst->Assign(Src);
        return;
    }
    const TFilter& filter = Filters[Filter >= 0 && Filter < static_cast<int>(std::size(Filters)) ? Filter : 6];
    Src->SetPixelFormat(pf32bit);
    const int srcHeight = Src->GetHeight();
    TOwned<TBitmap> temp(MakeBitmap32(NewWidth, srcHeight));
    TPixelRows source = PixelRows32(Src), middle = PixelRows32(temp.get());
    if (!source || !middle)
        return;

    auto columns = Contributors(NewWidth, source.Width, 4, filter);
    for (int y = 0; y < srcHeight; ++y) {
        const Byte* from = reinterpret_cast<const Byte*>(source.Row(y));
        Byte* to = reinterpret_cast<Byte*>(middle.Row(y));
        for (int i = 0; i < NewWidth; ++i)
            ApplyContributors(columns[static_cast<size_t>(i)], from, to + 4 * i);
    }

    Dst->SetPixelFormat(pf32bit);
    Dst->SetSize(NewWidth, NewHeight);
    TPixelRows target = PixelRows32(Dst);
    if (!target)
        return;
    auto rows = Contributors(NewHeight, srcHeight, middle.Stride, filter);
    for (int x = 0; x < NewWidth; ++x) {
        const Byte* from = middle.Base + 4 * x;
        Byte* to = target.Base + 4 * x;
        for (int i = 0; i < NewHeight; ++i)
            ApplyContributors(rows[static_cast<size_t>(i)], from, to + i * target.Stride);
    }
}

void ResamplePixels(const Cardinal* Src, int SrcWidth, int SrcHeight, std::ptrdiff_t SrcStride, Cardinal* Dst,
                    int NewWidth, int NewHeight, int Filter)
{
    if (!Src || !Dst || SrcWidth < 1 || SrcHeight < 1 || NewWidth < 1 || NewHeight < 1)
        return;
    const TFilter& filter = Filters[Filter >= 0 && Filter < static_cast<int>(std::size(Filters)) ? Filter : 6];
    std::vector<Cardinal> middle(static_cast<size_t>(NewWidth) * static_cast<size_t>(SrcHeight));
    auto columns = Contributors(NewWidth, SrcWidth, 4, filter);
    for (int y = 0; y < SrcHeight; ++y) {
        const Byte* from = reinterpret_cast<const Byte*>(Src) + y * SrcStride;
        Byte* to = reinterpret_cast<Byte*>(middle.data() + static_cast<size_t>(y) * NewWidth);
        for (int i = 0; i < NewWidth; ++i)
            ApplyContributors(columns[static_cast<size_t>(i)], from, to + 4 * i);
    }
    const std::ptrdiff_t middleStride = 4 * static_cast<std::ptrdiff_t>(NewWidth);
    auto rows = Contributors(NewHeight, SrcHeight, middleStride, filter);
    for (int x = 0; x < NewWidth; ++x) {
        const Byte* from = reinterpret_cast<const Byte*>(middle.data()) + 4 * x;
        Byte* to = reinterpret_cast<Byte*>(Dst) + 4 * x;
        for (int i = 0; i < NewHeight; ++i)
            ApplyContributors(rows[static_cast<size_t>(i)], from, to + i * middleStride);
    }
}

// ---------------------------------------------------------------------------
TPrlgram::TPrlgram(const TPoint* Points, int Count)
{
    for (int i = 0; i < std::min(Count, 4); ++i)
        FPoints[i] = {static_cast<double>(Points[i].x), static_cast<double>(Points[i].y)};
}

void TPrlgram::Rotate(TAngle Angle)
{
    if (SinCosTable[0].Cos == 0)
        FillSinCosTable();
    const TSinCos& sc = SinCosTable[((Angle % 360) + 360) % 360];
    float cx = static_cast<float>((FPoints[0].X + FPoints[2].X) / 2);
    float cy = static_cast<float>((FPoints[0].Y + FPoints[2].Y) / 2);
    for (TFloatPoint& p : FPoints) {
        float dx = static_cast<float>(p.X) - cx, dy = static_cast<float>(p.Y) - cy;
        p.X = cx + (dx * sc.Cos + dy * sc.Sin);
        p.Y = cy + (-dx * sc.Sin + dy * sc.Cos);
    }
}

void TPrlgram::GetPoint(int Index, TPoint& Point) const
{
    if (Index < 0 || Index >= 4)
        return;
    Point = {static_cast<LONG>(Round(FPoints[Index].X)), static_cast<LONG>(Round(FPoints[Index].Y))};
}

void FillSinCosTable()
{
    for (int i = 0; i < 360; ++i)
        SinCosTable[i] = {static_cast<float>(std::sin(DegToRad(i))), static_cast<float>(std::cos(DegToRad(i)))};
}

void PlgBltRotated(HDC DC, TBitmap* Bmp, const TPoint& Centre, int Angle)
{
    FillSinCosTable();
    int a = Angle > 0 && Angle <= 360 ? 360 - Angle : Angle > 360 ? 720 - Angle : -Angle;
    // Angles past a full turn must still land in the table.
    a = ((a % 360) + 360) % 360;
    const int w = Bmp->GetWidth(), h = Bmp->GetHeight();
    const int left = Centre.x - w / 2, top = Centre.y - h / 2;
    const TPoint corners[4] = {{left, top}, {left + w, top}, {left + w, top + h}, {left, top + h}};
    TOwned<TPrlgram> box(New<TPrlgram>(corners, 4));
    box->Rotate(a);
    POINT target[3];
    TPoint p;
    box->GetPoint(1, p);
    target[0] = p;
    box->GetPoint(2, p);
    target[1] = p;
    box->GetPoint(0, p);
    target[2] = p;
    PlgBlt(DC, target, Bmp->GetCanvas()->GetHandle(), 0, 0, w, h, nullptr, 0, 0);
}
