// Glyphs on 32-bit bitmaps: font glyph masks, one image of a glyph strip
// with its fading reflection, bitmaps blended onto canvases, and the small
// arrows of combo boxes, spin buttons and headers.
#include "sGraphUtilsRows.h"
#include "acGdiPlus.h"
#include "GdiHandles.h"
#include <algorithm>
#include <cmath>

namespace {

inline Byte* Px(const TPixelRows& rows, int x, int y)
{
    return reinterpret_cast<Byte*>(rows.Row(y) + x);
}

// The colour channels of a TColor in pixel byte order (blue first).
struct TChannels {
    int C[3];
    explicit TChannels(TColor Color) : C{(Color >> 16) & 0xFF, (Color >> 8) & 0xFF, Color & 0xFF} {}
};

// A 32-bit copy of any bitmap, for reading its pixels.
TOwned<TBitmap> Copy32(TBitmap* Bmp)
{
    TOwned<TBitmap> copy(New<TBitmap>());
    DuplicateBitmap(copy.get(), Bmp);
    copy->SetPixelFormat(pf32bit);
    return copy;
}

} // namespace

void PaintGlyphMask(TBitmap* Dst, TBitmap* Src, TPoint Point, TColor Color, TColor BgColor)
{
    if (!Dst || !Src)
        return;
    const bool alphaCoverage = BgColor == clNone && Src->GetPixelFormat() == pf32bit;
    TOwned<TBitmap> converted;
    if (Src->GetPixelFormat() != pf32bit)
        converted = Copy32(Src);
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(converted ? converted.get() : Src);
    if (!dst || !src)
        return;
    Point.x = std::max<LONG>(Point.x, 0);
    Point.y = std::max<LONG>(Point.y, 0);
    const int w = std::min<int>(src.Width, dst.Width - Point.x), h = std::min<int>(src.Height, dst.Height - Point.y);
    const TChannels colour(Color), background(BgColor);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Byte* s = Px(src, x, y);
            Byte* d = Px(dst, Point.x + x, Point.y + y);
            const int v = alphaCoverage ? s[3] : 255 - (s[0] + s[1] + s[2]) / 3;
            for (int c = 0; c < 3; ++c) {
                if (BgColor != clNone)
                    d[c] = static_cast<Byte>(((colour.C[c] - background.C[c]) * v + background.C[c] * 256) >> 8);
                else
                    d[c] = static_cast<Byte>(((colour.C[c] - d[c]) * v + d[c] * 256) >> 8);
            }
        }
}

void DrawMultiStateGlyph(TBitmap* Glyph, TBitmap* Dst, TRect R, bool Reflection, int AltIndex, int Blend,
                         int State, bool StateImages, int ImageCount)
{
    // No images in the strip: nothing to choose from (and no width to divide by).
    if (!Glyph || !Dst || ImageCount <= 0 || Glyph->GetWidth() <= 0 || Glyph->GetHeight() <= 0)
        return;
    const bool fourBit = Glyph->GetPixelFormat() == pf4bit;
    TOwned<TBitmap> copy = Copy32(Glyph);
    if (Reflection)
        OffsetRect(&R, 0, -(R.bottom - R.top) / 8);
    if (ImageCount == 1)
        State = 0;
    if (State > 0)
        Blend = 0;

    const TsSkinManager* manager = DefaultManager;
    const bool skinOrder = manager && !manager->Options.StdGlyphsOrder;
    int index = 0;
    if (StateImages && State != 0) {
        switch (State) {
        case 1:
            index = skinOrder && !fourBit ? 1 : 0;
            break;
        case 2:
            index = AltIndex + 2;
            if (index >= ImageCount)
                index = fourBit || !skinOrder ? 0 : std::min(1, ImageCount - 1);
            break;
        case 3:
            index = ImageCount >= 3 ? 2 : 0;
            break;
        default:
            return;
        }
    }
    const int w = Glyph->GetWidth() / ImageCount, h = copy->GetHeight();
    const TColor key = static_cast<TColor>(SwapRedBlue(GetBitmap32Pixel(copy.get(), index * w, h - 1)) & 0xFFFFFFu);
    const TRect srcRect(index * w, 0, (index + 1) * w - 1, h - 1);
    if (StateImages || Blend == 0)
        CopyRectExceptColor(Dst, copy.get(), R.left, key, srcRect, R.top);
    else
        BlendRectExceptKey(Dst, R.left, R.top, 0xFF00FF, static_cast<Byte>(Blend), srcRect, copy.get());
    if (Reflection) {
        OffsetRect(&R, 0, R.bottom - R.top);
        PaintGlyphReflection(Dst, copy.get(), R, Blend, key, srcRect);
    }
}

void PaintGlyphReflection(TBitmap* Dst, TBitmap* Src, TRect R, int Blend, TColor Key, TRect SrcRect)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src)
        return;
    if (SrcRect.left < 0) {
        R.left -= SrcRect.left;
        SrcRect.left = 0;
    }
    if (SrcRect.top < 0) {
        R.top -= SrcRect.top;
        SrcRect.top = 0;
    }
    SrcRect.right = std::min<LONG>(SrcRect.right, src.Width - 1);
    SrcRect.bottom = std::min<LONG>(SrcRect.bottom, src.Height - 1);
    const int n = std::min<int>(src.Height / 3 * 2, dst.Height - R.top);
    if (n < 2)
        return;
    const Cardinal key = SwapRedBlue(static_cast<Cardinal>(Key)) & 0xFFFFFFu;
    const int step = 255 / n;
    int fade = 255;
    for (int i = 0; i < n; ++i) {
        const int ty = R.top + i, sy = SrcRect.bottom - i;
        // Mirrored rows run upwards through the source and end at its top.
        if (sy < 0)
            break;
        if (ty < 0 || ty >= dst.Height)
            continue;
        const int m = (n - 1 - i) * 255 / (n - 1);
        const int k = ((100 - Blend) * (m * fade >> 9) / 100) & 0xFF;
        for (int sx = SrcRect.left, tx = R.left; sx <= SrcRect.right; ++sx, ++tx) {
            if (tx < 0 || tx >= dst.Width)
                continue;
            const Byte* s = Px(src, sx, sy);
            if (*reinterpret_cast<const Cardinal*>(s) == key)
                continue;
            Byte* d = Px(dst, tx, ty);
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<Byte>(((s[c] - d[c]) * k + d[c] * 256) >> 8);
        }
        fade -= step;
    }
}

void DrawBitmap32OnCanvas(TCanvas* Canvas, TBitmap* Bmp, const TRect& R, bool Reflection)
{
    if (!Canvas || !Bmp)
        return;
    if (Bmp->GetPixelFormat() != pf32bit) {
        Canvas->StretchDraw(R, Bmp);
        return;
    }
    const int w = R.right - R.left, h = R.bottom - R.top;
    if (w <= 0 || h <= 0)
        return;
    HDC canvasDC = Canvas->GetHandle();
    TOwned<TBitmap> target(MakeBitmap32(w, h + (Reflection ? h / 2 : 0)));
    HDC targetDC = target->GetCanvas()->GetHandle();
    BitBlt(targetDC, 0, 0, w, target->GetHeight(), canvasDC, R.left, R.top, SRCCOPY);
    const TRect whole(0, 0, w, h);
    if (Bmp->GetWidth() == w && Bmp->GetHeight() == h) {
        CopyRectWithAlpha(whole, whole, target.get(), Reflection, 0, clNone, false, TCacheInfo(), Bmp);
    } else {
        // Colours and alpha are stretched apart: the alpha travels as a grey
        // image, since a blit does not promise to keep the fourth byte.
        TOwned<TBitmap> stretched(MakeBitmap32(w, h));
        TOwned<TBitmap> alpha(MakeBitmap32(Bmp->GetWidth(), Bmp->GetHeight()));
        TOwned<TBitmap> stretchedAlpha(MakeBitmap32(w, h));
        TPixelRows source = PixelRows32(Bmp), grey = PixelRows32(alpha.get());
        if (!source || !grey)
            return;
        for (int y = 0; y < source.Height; ++y)
            for (int x = 0; x < source.Width; ++x)
                grey.Row(y)[x] = (source.Row(y)[x] >> 24) * 0x010101u;
        auto stretch = [&](TBitmap* to, TBitmap* from) {
            HDC dc = to->GetCanvas()->GetHandle();
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchBlt(dc, 0, 0, w, h, from->GetCanvas()->GetHandle(), 0, 0, from->GetWidth(), from->GetHeight(),
                       SRCCOPY);
            GdiFlush();
        };
        stretch(stretched.get(), Bmp);
        stretch(stretchedAlpha.get(), alpha.get());
        TPixelRows colours = PixelRows32(stretched.get()), alphas = PixelRows32(stretchedAlpha.get());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                colours.Row(y)[x] = (colours.Row(y)[x] & 0xFFFFFFu) | ((alphas.Row(y)[x] & 0xFF) << 24);
        CopyRectWithAlpha(whole, whole, target.get(), false, 0, clNone, false, TCacheInfo(), stretched.get());
    }
    BitBlt(canvasDC, R.left, R.top, w, target->GetHeight(), targetDC, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------
void PaintSolidArrow(TBitmap* Bmp, TColor Color, const TRect& R, int Direction)
{
    TPixelRows rows = PixelRows32(Bmp);
    if (!rows)
        return;
    const Cardinal value = SwapRedBlue(static_cast<Cardinal>(Color));
    const int W = ArrowWidth, H = ArrowHeight;
    const bool vertical = Direction == 1 || Direction == 3;
    const int boxW = vertical ? W : H, boxH = vertical ? H : W;
    const int x0 = R.left + (R.right - R.left - boxW) / 2, y0 = R.top + (R.bottom - R.top - boxH) / 2;
    if (x0 < 0 || y0 < 0 || x0 + boxW >= rows.Width || y0 + boxH >= rows.Height)
        return;
    auto run = [&](int y, int from, int to) {
        for (int x = from; x <= to; ++x)
            rows.Row(y)[x] = value;
    };
    switch (Direction) {
    case 3: // down: two runs that meet when the arrow is at least half as high as wide
        for (int i = 0; i < H; ++i) {
            run(y0 + i, x0 + i, x0 + H - 1);
            run(y0 + i, x0 + W - H, x0 + W - 1 - i);
        }
        break;
    case 1:
        for (int i = 0; i < H; ++i)
            run(y0 + H - 1 - i, x0 + i, x0 + W - 1 - i);
        break;
    case 2:
        for (int i = 0; i < W; ++i)
            run(y0 + i, x0, x0 + (i < H ? i + 1 : W - i) - 1);
        break;
    case 0:
        // One row lower than the right arrow.
        for (int i = 1; i <= W; ++i) {
            if (i < H)
                run(y0 + i, x0 + H - i, x0 + H - 1);
            else
                run(y0 + i, x0 + i - H, x0 + i - H + (2 * H - i) - 1);
        }
        break;
    default:
        break;
    }
}

void PaintArrowGlyph(TBitmap* Bmp, TColor Color, TColor LineColor, const TRect& R, int Direction, double Angle,
                     int Size, int Style)
{
    if (!PixelRows32(Bmp))
        return;
    const bool lines = Style == 1 || Style == 3;
    const bool half = Style == 2 || Style == 3;
    const int rWidth = R.right - R.left;
    if (Size == 0)
        Size = ArrowGlyphSize;
    if (!lines)
        --Size;
    const int t = lines ? ArrowLineWidth : 1;
    const bool hasFill = !lines || LineColor != clNone;
    const Cardinal fill = (SwapRedBlue(static_cast<Cardinal>(lines ? LineColor : Color)) & 0xFFFFFFu) | 0xFF000000u;
    if (Style == 2 && rWidth % 2 == 0)
        ++Size;

    const int halfT = t / 2, b = std::max(1, halfT);
    int height = half ? Size - Size / 2 : Size;
    int width = 2 * Size + (rWidth % 2 != 0 ? 1 : 0);
    if (lines) {
        height += b + t;
        width += t;
    } else if (rWidth % 2 != 0) {
        ++height;
    }
    if (width <= 0 || height <= 0)
        return;
    const int parity = width % 2;
    TBitmap* glyph = MakeBitmap32(width, height);
    TOwned<TBitmap> glyphOwner(glyph);
    TPixelRows g = PixelRows32(glyph);
    if (!g)
        return;
    for (int y = 0; y < height; ++y)
        std::fill_n(g.Row(y), width, 0x00FFFFFFu);

    POINT p[4];
    if (lines) {
        p[0] = {b, b};
        p[1] = {b + Size, height - t};
        p[2] = {p[1].x + parity - halfT, p[1].y};
        p[3] = {p[2].x + Size, b};
    } else {
        p[0] = {0, 0};
        p[1] = {width / 2 + parity - 1, height - 1};
        p[2] = {p[1].x - parity + 1, height - 1};
        p[3] = {width / 2 + p[2].x + parity - 1, 0};
    }
    HDC dc = glyph->GetCanvas()->GetHandle();
    if (hasFill) {
        {
            TSavedDC saved(dc);
            SelectObject(dc, GetStockObject(BLACK_BRUSH));
            SelectObject(dc, GetStockObject(BLACK_PEN));
            Polygon(dc, p, 4);
            GdiFlush();
        }
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                Cardinal& px = g.Row(y)[x];
                if ((px & 0xFFFFFFu) == 0xFFFFFFu) {
                    px = 0x00FFFFFFu;
                    continue;
                }
                const int grey = ((px & 0xFF) + ((px >> 8) & 0xFF) + ((px >> 16) & 0xFF)) / 3;
                px = (fill & 0xFFFFFFu) | (static_cast<Cardinal>(255 - grey) << 24);
            }
    }
    DrawAntialiasedLine(dc, Color, float(p[0].x), float(p[0].y), float(p[1].x), float(p[1].y), float(t));
    DrawAntialiasedLine(dc, Color, float(p[2].x), float(p[2].y), float(p[3].x), float(p[3].y), float(t));
    GdiFlush();

    if (Direction == 1) {
        for (int y = 0; y < height / 2; ++y)
            std::swap_ranges(g.Row(y), g.Row(y) + width, g.Row(height - 1 - y));
    } else if (Direction == 0 || Direction == 2) {
        TBitmap* source = glyphOwner.release();
        glyph = RotateBitmap32(source, Direction == 0 ? 90 : 270, true);
        glyphOwner.reset(glyph);
        if (!glyph)
            return;
    }
    const int gw = glyph->GetWidth(), gh = glyph->GetHeight();
    BlendRectOver(Bmp, glyph, TRect(0, 0, gw - 1, gh - 1),
                  TPoint(R.left + (rWidth - gw) / 2, R.top + (R.bottom - R.top - gh) / 2));

    if (Angle != 0) {
        TOwned<TBitmap> copy(MakeBitmapLike(Bmp));
        DuplicateBitmap(copy.get(), Bmp);
        PlgBltRotated(Bmp->GetCanvas()->GetHandle(), copy.get(), TPoint(Bmp->GetWidth() / 2, Bmp->GetHeight() / 2),
                      static_cast<int>(std::nearbyint(Angle)) - 90);
    }
}
