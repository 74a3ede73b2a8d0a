// The caption shades: the generated shade bitmap and how the caption strip
// is drawn from it, from the caption bitmap or from the theme.
#include "AdvPanel.h"
#include "APXPVS.h"
#include "GdiHandles.h"
#include <cmath>
#include <random>
#include <vsstyle.h>

namespace {

int Cube(int t) { return t * t * t / 128 / 128; }
int Bump(int t, int k) { return Cube(t) * k / 128 + 128; }

// Writes pixels of intensity v (Caption.Color scaled) into a DIB section.
class TShadeSurface {
public:
    TShadeSurface(TBitmap* Bitmap, TColor Color) : bitmap_(Bitmap)
    {
        const COLORREF c = ColorToRGB(Color);
        r_ = GetRValue(c);
        g_ = GetGValue(c);
        b_ = GetBValue(c);
        w_ = Bitmap->GetWidth();
        h_ = Bitmap->GetHeight();
    }
    int Width() const { return w_; }
    int Height() const { return h_; }
    // Intensities outside 0..255 would spill into the neighbouring channel.
    void Set(int x, int y, int v)
    {
        if (x < 0 || y < 0 || x >= w_ || y >= h_)
            return;
        v = std::clamp(v, 0, 255);
        auto* row = static_cast<DWORD*>(bitmap_->GetScanLine(y));
        row[x] = (r_ * v / 255) << 16 | (g_ * v / 255) << 8 | (b_ * v / 255);
    }
    int Blue(int x, int y)
    {
        if (x < 0 || y < 0 || x >= w_ || y >= h_)
            return 255;
        return static_cast<DWORD*>(bitmap_->GetScanLine(y))[x] & 0xFF;
    }

private:
    TBitmap* bitmap_;
    int r_, g_, b_;
    int w_, h_;
};

} // namespace

void TCustomAdvPanel::BuildShadedHeader()
{
    const bool top = FCaption->GetPosition() == cpTop;
    int w = top ? GetWidth() : FCaption->GetHeight();
    int h = top ? FCaption->GetHeight() : GetHeight();
    if (w == 0)
        w = top ? 100 : 20;
    if (h == 0)
        h = top ? 20 : 100;
    TBitmap* bitmap = FShadedHeader.get();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(w, h);
    TCanvas* canvas = bitmap->GetCanvas();
    const TShadeType type = FCaption->GetShadeType();
    if (type == stNormal || type >= stXPCaption) {
        canvas->GetBrush()->SetColor(FCaption->GetColor());
        canvas->FillRect(TRect(0, 0, w, h));
        return;
    }
    canvas->GetBrush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, w, h));
    GdiFlush();
    std::minstd_rand random(std::random_device{}());
    auto rnd = [&random](int n) { return n <= 0 ? 0 : static_cast<int>(random() % static_cast<unsigned>(n)); };
    TShadeSurface s(bitmap, FCaption->GetColor());
    const int Lt = FCaption->GetShadeLight() & 0xFF;
    const int grain = FCaption->GetShadeGrain();
    switch (type) {
    case stNoise:
        for (int x = 0; x <= w; ++x)
            for (int y = 0; y <= h; ++y)
                s.Set(x, y, Lt - (rnd(grain) + 128) / 2);
        break;
    case stDiagShade:
        for (int x = 0; x <= w; ++x)
            for (int y = 0; y <= h; ++y)
                s.Set(x, y, Lt - (Lt + 129 * x / w + 129 * y / h - 255) / 2);
        break;
    case stHShade:
    case stHShadeInv:
        for (int x = 0; x <= w; ++x) {
            const int v = Lt - ((w - x) * 239 / w + 8) / 2;
            for (int y = 0; y <= h; ++y)
                s.Set(type == stHShade ? x : w - x, y, v);
        }
        break;
    case stVShade:
    case stVShadeInv:
        for (int y = 0; y <= h; ++y) {
            const int v = Lt - (y * 239 / h + 8) / 4;
            for (int x = 0; x <= w; ++x) {
                if (type == stVShade)
                    s.Set(w - x, y, v);
                else
                    s.Set(x, h - y, v);
            }
        }
        break;
    case stHBump:
        for (int x = 0; x <= w; ++x)
            for (int y = 0; y <= h; ++y)
                s.Set(x, y, Lt - Bump(255 * (w - x) / w - 127, 120) / 2);
        break;
    case stVBump:
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x)
                s.Set(x, y, Lt - Bump(255 * y / h - 127, 120) / 2);
        break;
    case stSoftBump:
        for (int x = 0; x <= w; ++x)
            for (int y = 0; y <= h; ++y) {
                const int v = std::clamp((Cube(255 * y / h - 127) + Cube(255 * (w - x) / w - 127)) * 120 / 128 + 128, 8, 247);
                s.Set(x, y, Lt - v / 2);
            }
        break;
    case stHardBump: {
        for (int y = 0; y <= h; ++y)
            for (int x = 0; x <= w; ++x)
                s.Set(x, y, Lt - Bump(255 * y / h - 127, 112) / 2);
        const int g = std::min(16, w / 6);
        const int quarter = h * h / 4;
        // A caption too small for the edges would divide by zero.
        if (g == 0 || quarter == 0)
            break;
        for (int y = 0; y <= h; ++y) {
            const int dy = y - h / 2;
            const int limit = dy * dy * g / quarter + w / 2 - g;
            for (int x = 0; x <= w; ++x) {
                const int dx = x - w / 2;
                if (dx > limit)
                    s.Set(x, y, Lt - ((w - x) * 128 / g + 8) / 2);
                else if (dx + limit < 0)
                    s.Set(x, y, Lt - (247 - x * 128 / g) / 2);
            }
        }
        break;
    }
    case stLMetal:
    case stRMetal:
        for (int i = 0; i < 251; ++i) {
            const int sx = rnd(w), sy = rnd(h);
            const int length = rnd(std::min(w, h) / 2);
            const int v = Lt - rnd(40);
            for (int k = 0; k <= length; ++k) {
                const int d = type == stLMetal ? k : -k;
                if (sx - k > 0 && sy + k < h)
                    s.Set(sx + d, sy + k, v);
                if (sx + k < w && sy - k > 0)
                    s.Set(sx - d, sy - k, v);
            }
        }
        for (int x = 0; x <= w; ++x)
            for (int y = 0; y <= h; ++y)
                s.Set(x, y, Lt - (Lt + 120 * x / w + 120 * y / h - s.Blue(x, y)) / 2);
        break;
    case stIRadial:
    case stORadial: {
        const int D = std::abs(w - h);
        if (D == 0) {
            // A square bitmap has no radial spread: a plain caption colour.
            canvas->GetBrush()->SetColor(FCaption->GetColor());
            canvas->FillRect(TRect(0, 0, w, h));
            break;
        }
        for (int x = 0; x <= w / 2; ++x)
            for (int y = 0; y <= h / 2; ++y) {
                const int d = static_cast<int>(std::nearbyint(std::hypot(x - w / 2, y - h / 2)));
                const double ratio = (type == stIRadial ? D - d : d) / static_cast<double>(D);
                const int v = static_cast<int>(std::nearbyint(ratio * Lt));
                s.Set(x, y, v);
                s.Set(w - x, h - y, v);
                s.Set(w - x, y, v);
                s.Set(x, h - y, v);
            }
        break;
    }
    default:
        break;
    }
}

void TCustomAdvPanel::DrawShadedCaption(TCanvas* ACanvas, const TRect& Strip)
{
    const int W = GetWidth(), H = GetHeight();
    const TShadeType type = FCaption->GetShadeType();
    TRect S = Strip;
    if (type == stXPCaption) {
        if (!HandleAllocated() || !APXPVS::OpenThemeData)
            return;
        HTHEME theme = APXPVS::OpenThemeData(GetHandle(), L"window");
        if (!theme)
            return;
        const TRect r(S.left - 1, S.top - 1, S.right + 1, S.bottom + 1);
        APXPVS::DrawThemeBackground(theme, ACanvas->GetHandle(), WP_CAPTION, 1, &r, nullptr);
        APXPVS::CloseThemeData(theme);
        return;
    }
    TBitmap* background = FCaption->GetBackground();
    if (type == stBitmap || type == stBitmapRStretch || type == stBitmapLStretch) {
        if (background->GetEmpty())
            return;
        const int bw = background->GetWidth(), bh = background->GetHeight();
        const bool top = FCaption->GetPosition() == cpTop;
        TCanvas* source = background->GetCanvas();
        if (type == stBitmap) {
            ACanvas->StretchDraw(S, background);
        } else if (type == stBitmapLStretch) {
            if (top) {
                const int x0 = std::max(0, W - bw);
                ACanvas->Draw(S.left + x0, S.top, background);
                ACanvas->CopyRect(TRect(0, S.top, x0, S.bottom), source, TRect(0, 0, 2, bh));
            } else {
                ACanvas->Draw(S.left, S.top, background);
                ACanvas->CopyRect(TRect(0, S.bottom - std::max(0, H - bh), S.right, S.bottom), source,
                                  TRect(0, bh - 3, bw, bh));
            }
        } else if (top) {
            ACanvas->Draw(S.left, S.top, background);
            ACanvas->CopyRect(TRect(bw, S.top, S.right, S.bottom), source, TRect(bw - 3, 0, bw, bh));
        } else {
            ACanvas->Draw(S.left, S.bottom - bh, background);
            ACanvas->CopyRect(TRect(S.left, S.top, S.right, S.bottom - bh), source, TRect(0, 0, bw, 3));
        }
        return;
    }
    HDC dc = ACanvas->GetHandle();
    TPen* pen = ACanvas->GetPen();
    pen->SetWidth(1);
    auto clipTo = [&](HRGN region) { SelectClipRgn(dc, region); };
    const int half = (S.bottom - S.top) / 2;
    TRegionHandle shape;
    switch (FCaption->GetShape()) {
    case csRectangle:
        if (!FCaption->GetFlat()) {
            pen->SetColor(0x808080);
            ACanvas->MoveTo(S.left, S.bottom - 1);
            ACanvas->LineTo(S.right - 1, S.bottom - 1);
            ACanvas->LineTo(S.right - 1, S.top);
            pen->SetColor(0xFFFFFF);
            ACanvas->LineTo(S.left, S.top);
            ACanvas->LineTo(S.left, S.bottom - 1);
            S = TRect(S.left + 1, S.top + 1, S.right - 1, S.bottom - 1);
        }
        shape.Reset(CreateRectRgn(S.left, S.top, S.right, S.bottom));
        break;
    case csRounded:
    case csSemiRounded: {
        ACanvas->GetBrush()->SetStyle(bsClear);
        {
            const TRegionHandle lower(CreateRoundRectRgn(S.left, S.top + half, S.right, S.bottom, 32, 32));
            clipTo(lower.Get());
            pen->SetColor(0x808080);
            ACanvas->RoundRect(S.left, S.top, S.right, S.bottom, 32, 32);
        }
        {
            const TRegionHandle upper(CreateRoundRectRgn(S.left, S.top, S.right, S.bottom - half, 32, 32));
            clipTo(upper.Get());
            pen->SetColor(0xFFFFFF);
            ACanvas->RoundRect(S.left, S.top, S.right, S.bottom, 32, 32);
        }
        ACanvas->GetBrush()->SetStyle(bsSolid);
        {
            const TRegionHandle panel(CreateRectRgn(0, 0, W, H));
            clipTo(panel.Get());
        }
        if (FCaption->GetShape() == csRounded) {
            pen->SetColor(0x808080);
            ACanvas->MoveTo(S.left + 16, S.bottom - 1);
            ACanvas->LineTo(S.right - 16, S.bottom - 1);
            S.top += 1;
            shape.Reset(CreateRoundRectRgn(S.left, S.top, S.right, S.bottom, 32, 32));
        } else {
            pen->SetColor(0xFFFFFF);
            ACanvas->MoveTo(S.left + (S.right - S.left) / 2, S.top);
            ACanvas->LineTo(S.left, S.top);
            ACanvas->LineTo(S.left, S.bottom - 1);
            pen->SetColor(0x808080);
            ACanvas->LineTo(S.right - 16, S.bottom - 1);
            S.top += 1;
            S.left += 1;
            shape.Reset(CreateRoundRectRgn(S.left, S.top, S.right, S.bottom, 32, 32));
            const TRegionHandle square(CreateRectRgn(S.left, S.top, S.right - (S.right - S.left) / 2, S.bottom - 1));
            CombineRgn(shape.Get(), shape.Get(), square.Get(), RGN_DIFF);
        }
        break;
    }
    }
    clipTo(shape.Get());
    ACanvas->Draw(S.left, S.top, FShadedHeader.get());
    clipTo(nullptr);
}
