// Copies and blends between 32-bit bitmaps with their transparency rules.
// Each routine clips its block against both bitmaps first; the rectangle
// conventions (inclusive or exclusive Right and Bottom) are each routine's
// own and stated at its declaration. Bytes are addressed by position: 0
// blue, 1 green, 2 red, 3 alpha.
#include "sGraphUtilsRows.h"
#include <algorithm>

namespace {

// d moves towards s by k (0 keeps d, 255 gives nearly s).
inline Byte Mix(int s, int d, int k)
{
    return static_cast<Byte>(((s - d) * k + d * 256) >> 8);
}

inline void MixColour(Byte* d, const Byte* s, int k)
{
    d[0] = Mix(s[0], d[0], k);
    d[1] = Mix(s[1], d[1], k);
    d[2] = Mix(s[2], d[2], k);
}

inline Byte* Px(const TPixelRows& rows, int x, int y)
{
    return reinterpret_cast<Byte*>(rows.Row(y) + x);
}

inline bool IsTransparentPixel(Cardinal value)
{
    return value == 0x00FF00FFu || (value >> 24) <= 16;
}

// An exclusive block of equal size in both bitmaps.
struct TBlock {
    int SrcX = 0, SrcY = 0, DstX = 0, DstY = 0, Width = 0, Height = 0;
    bool Empty() const { return Width <= 0 || Height <= 0; }
};

TBlock ClipExclusive(const TRect& DstRect, const TRect& SrcRect, const TPixelRows& Dst, const TPixelRows& Src)
{
    TBlock b{SrcRect.left, SrcRect.top, DstRect.left, DstRect.top,
             std::min(SrcRect.right - SrcRect.left, DstRect.right - DstRect.left),
             std::min(SrcRect.bottom - SrcRect.top, DstRect.bottom - DstRect.top)};
    auto clipStart = [](int& a, int& other, int& size) {
        if (a < 0) {
            other -= a;
            size += a;
            a = 0;
        }
    };
    clipStart(b.SrcX, b.DstX, b.Width);
    clipStart(b.DstX, b.SrcX, b.Width);
    clipStart(b.SrcY, b.DstY, b.Height);
    clipStart(b.DstY, b.SrcY, b.Height);
    b.Width = std::min({b.Width, Src.Width - b.SrcX, Dst.Width - b.DstX});
    b.Height = std::min({b.Height, Src.Height - b.SrcY, Dst.Height - b.DstY});
    return b;
}

// SrcRect inclusive, placed at DstPoint; both clipped together.
TBlock ClipInclusiveAt(const TPoint& DstPoint, const TRect& SrcRect, const TPixelRows& Dst, const TPixelRows& Src)
{
    TBlock b{SrcRect.left, SrcRect.top, DstPoint.x, DstPoint.y, 0, 0};
    int right = SrcRect.right, bottom = SrcRect.bottom;
    if (b.DstX < 0) {
        b.SrcX -= b.DstX;
        b.DstX = 0;
    }
    if (b.DstY < 0) {
        b.SrcY -= b.DstY;
        b.DstY = 0;
    }
    if (b.SrcX < 0) {
        b.DstX -= b.SrcX;
        b.SrcX = 0;
    }
    if (b.SrcY < 0) {
        b.DstY -= b.SrcY;
        b.SrcY = 0;
    }
    if (b.SrcX >= Src.Width || b.SrcY >= Src.Height || b.DstX >= Dst.Width || b.DstY >= Dst.Height)
        return {};
    right = std::min({right, Src.Width - 1, b.SrcX + Dst.Width - 1 - b.DstX});
    bottom = std::min({bottom, Src.Height - 1, b.SrcY + Dst.Height - 1 - b.DstY});
    b.Width = right - b.SrcX + 1;
    b.Height = bottom - b.SrcY + 1;
    return b;
}

// SrcRect clipped to the source as an inclusive rectangle; with ShiftTarget
// a start moved into the source moves the target start with it.
bool ClipSourceInclusive(TRect& SrcRect, const TPixelRows& Src, int& X, int& Y, bool ShiftTarget)
{
    if (SrcRect.left < 0) {
        if (ShiftTarget)
            X -= SrcRect.left;
        SrcRect.left = 0;
    }
    if (SrcRect.top < 0) {
        if (ShiftTarget)
            Y -= SrcRect.top;
        SrcRect.top = 0;
    }
    SrcRect.right = std::min<LONG>(SrcRect.right, Src.Width - 1);
    SrcRect.bottom = std::min<LONG>(SrcRect.bottom, Src.Height - 1);
    return SrcRect.left <= SrcRect.right && SrcRect.top <= SrcRect.bottom;
}

// The tint's bytes raised so that the brightest is 255, in pixel order.
struct TTint {
    int R = 0, G = 0, B = 0;
    explicit TTint(TColor Color)
    {
        int r = Color & 0xFF, g = (Color >> 8) & 0xFF, b = (Color >> 16) & 0xFF;
        int lift = 255 - std::max({r, g, b});
        R = r + lift;
        G = g + lift;
        B = b + lift;
    }
    void Apply(const Byte* s, Byte* out) const
    {
        int grey = s[2] / 4 + s[1] / 2 + s[0] / 4;
        out[0] = static_cast<Byte>(B * grey >> 8);
        out[1] = static_cast<Byte>(G * grey >> 8);
        out[2] = static_cast<Byte>(R * grey >> 8);
    }
};

// The parent background behind one target pixel; false where CI has none.
bool BackgroundPixel(const TPixelRows& Bg, const TCacheInfo& CI, int X, int Y, Cardinal& Value)
{
    int bx = CI.X + X, by = CI.Y + Y;
    if (!Bg || !Bg.Contains(bx, by))
        return false;
    Value = Bg.Row(by)[bx];
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
void CopyRectWithAlpha(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, bool Reflection,
                       int Transparency, TColor Color, bool FillFromCI, const TCacheInfo& CI, TBitmap* Src)
{
    if (!Src || !Dst)
        return;
    Src->SetPixelFormat(pf32bit);
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src)
        return;
    const TBlock block = ClipExclusive(DstRect, SrcRect, dst, src);
    if (block.Empty())
        return;
    const int w = 255 - Transparency * 255 / 100;
    const bool tinted = Color != clNone;
    const TTint tint(tinted ? Color : 0);
    const TPixelRows bg = CI.Ready && FillFromCI ? PixelRows32(CI.Bmp) : TPixelRows();

    for (int row = 0; row < block.Height; ++row) {
        const int ty = block.DstY + row;
        for (int col = 0; col < block.Width; ++col) {
            const int tx = block.DstX + col;
            const Byte* s = Px(src, block.SrcX + col, block.SrcY + row);
            Byte* d = Px(dst, tx, ty);
            const Cardinal value = *reinterpret_cast<const Cardinal*>(s);
            if (CI.Ready && IsTransparentPixel(value)) {
                // Only the colour bytes of the background; the target keeps its
                // alpha. Where the background has no pixel nothing is filled,
                // and the rest of the row is still copied.
                Cardinal background = 0;
                if (FillFromCI && BackgroundPixel(bg, CI, tx, ty, background)) {
                    d[0] = background & 0xFF;
                    d[1] = (background >> 8) & 0xFF;
                    d[2] = (background >> 16) & 0xFF;
                }
                continue;
            }
            const int a = s[3];
            Byte tintedValue[3];
            const Byte* colour = s;
            if (tinted) {
                tint.Apply(s, tintedValue);
                colour = tintedValue;
            }
            if (Transparency > 0) {
                MixColour(d, colour, w * a >> 8);
            } else {
                MixColour(d, colour, a);
                if (!tinted)
                    d[3] = std::max<Byte>(d[3], s[3]);
                else if (!CI.Ready)
                    d[3] = static_cast<Byte>(((255 - d[3]) * a + d[3] * 256) >> 8);
            }
        }
    }

    if (!Reflection)
        return;
    const int q = std::min<int>(src.Height / 2 - 1, dst.Height - DstRect.bottom - 1);
    const int step = 255 / src.Height;
    for (int r = 1; r <= q; ++r) {
        const int ty = DstRect.bottom + r, sy = SrcRect.bottom - r - 1;
        // A source block near the top has fewer rows to mirror than the target has room for.
        if (sy < 0)
            break;
        if (ty < 0 || sy >= src.Height)
            continue;
        const int fade = 255 - (r - 1) * step;
        for (int col = 0; col < block.Width; ++col) {
            const Byte* s = Px(src, block.SrcX + col, sy);
            if (IsTransparentPixel(*reinterpret_cast<const Cardinal*>(s)))
                continue;
            const int faded = s[3] * (q - r) / q;
            int k;
            if (!tinted)
                k = Transparency > 0 ? faded * fade / 512 * w >> 8 : faded * fade >> 9;
            else
                k = Transparency > 0 ? faded / 4 * w >> 8 : faded >> 2;
            Byte tintedValue[3];
            const Byte* colour = s;
            if (tinted) {
                tint.Apply(s, tintedValue);
                colour = tintedValue;
            }
            MixColour(Px(dst, block.DstX + col, ty), colour, k);
        }
    }
}

void BlendRectExceptKey(TBitmap* Dst, int X, int Y, Cardinal Key, Byte Weight, TRect SrcRect, TBitmap* Src)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src || !ClipSourceInclusive(SrcRect, src, X, Y, true))
        return;
    for (int sy = SrcRect.top, ty = Y; sy <= SrcRect.bottom; ++sy, ++ty) {
        if (ty < 0 || ty >= dst.Height)
            continue;
        for (int sx = SrcRect.left, tx = X; sx <= SrcRect.right; ++sx, ++tx) {
            if (tx < 0 || tx >= dst.Width)
                continue;
            const Byte* s = Px(src, sx, sy);
            if (*reinterpret_cast<const Cardinal*>(s) == Key)
                continue;
            Byte* d = Px(dst, tx, ty);
            for (int c = 0; c < 4; ++c)
                d[c] = static_cast<Byte>(((255 - Weight) * s[c] + Weight * d[c]) >> 8);
        }
    }
}

void BlendRectUniform(TBitmap* Dst, TBitmap* Src, Byte Weight, const TPoint& DstPoint, const TRect& SrcRect)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src)
        return;
    const TBlock block = ClipInclusiveAt(DstPoint, SrcRect, dst, src);
    for (int row = 0; row < block.Height; ++row)
        for (int col = 0; col < block.Width; ++col) {
            const Byte* s = Px(src, block.SrcX + col, block.SrcY + row);
            Byte* d = Px(dst, block.DstX + col, block.DstY + row);
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<Byte>((Weight * (d[c] - s[c]) + s[c] * 256) >> 8);
            d[3] = static_cast<Byte>(s[3] + ((Weight * (d[3] - s[3])) >> 8));
        }
}

void BlendRectOver(TBitmap* Dst, TBitmap* Src, const TRect& SrcRect, const TPoint& DstPoint)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src)
        return;
    const TBlock block = ClipInclusiveAt(DstPoint, SrcRect, dst, src);
    for (int row = 0; row < block.Height; ++row)
        for (int col = 0; col < block.Width; ++col) {
            const Byte* s = Px(src, block.SrcX + col, block.SrcY + row);
            Byte* d = Px(dst, block.DstX + col, block.DstY + row);
            const int a = s[3];
            MixColour(d, s, a);
            d[3] = static_cast<Byte>(((a - d[3]) * a + d[3] * 256) >> 8);
        }
}

void BlendRectByAlpha(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, bool FillFromCI,
                      const TCacheInfo& CI, TBitmap* Src)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src)
        return;
    const TBlock block = ClipExclusive(DstRect, SrcRect, dst, src);
    const TPixelRows bg = CI.Ready && FillFromCI ? PixelRows32(CI.Bmp) : TPixelRows();
    for (int row = 0; row < block.Height; ++row)
        for (int col = 0; col < block.Width; ++col) {
            const int tx = block.DstX + col, ty = block.DstY + row;
            const Byte* s = Px(src, block.SrcX + col, block.SrcY + row);
            Byte* d = Px(dst, tx, ty);
            if (CI.Ready && *reinterpret_cast<const Cardinal*>(s) == 0x00FF00FFu) {
                Cardinal background = 0;
                if (FillFromCI && BackgroundPixel(bg, CI, tx, ty, background))
                    *reinterpret_cast<Cardinal*>(d) = background | 0xFF000000u;
                continue;
            }
            const int a = s[3];
            MixColour(d, s, a);
            if (a != 0)
                d[3] = static_cast<Byte>(d[3] + ((255 - d[3]) * a >> 8));
        }
}

void CopyMaskedRect(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, const TsMaskData& MaskData,
                    bool FillFromCI, const TCacheInfo& CI, TBitmap* Src)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src)
        return;
    TBlock block = ClipExclusive(DstRect, SrcRect, dst, src);
    const int maskShift = (MaskData.R.bottom - MaskData.R.top) / 2;
    block.Height = std::min(block.Height, src.Height - maskShift - block.SrcY);
    const TPixelRows bg = CI.Ready && FillFromCI ? PixelRows32(CI.Bmp) : TPixelRows();
    const Cardinal fill = SwapRedBlue(static_cast<Cardinal>(CI.FillColor));
    for (int row = 0; row < block.Height; ++row)
        for (int col = 0; col < block.Width; ++col) {
            const int tx = block.DstX + col, ty = block.DstY + row;
            const int sx = block.SrcX + col, sy = block.SrcY + row;
            const Byte* s = Px(src, sx, sy);
            const Byte* m = Px(src, sx, sy + maskShift);
            Byte* d = Px(dst, tx, ty);
            const Cardinal value = *reinterpret_cast<const Cardinal*>(s);
            if (CI.Ready) {
                Cardinal background = 0;
                if (FillFromCI && value == 0x00FF00FFu) {
                    if (BackgroundPixel(bg, CI, tx, ty, background))
                        *reinterpret_cast<Cardinal*>(d) = background;
                    continue;
                }
            } else if ((value & 0xFFFFFFu) == 0xFF00FFu) {
                if (FillFromCI)
                    *reinterpret_cast<Cardinal*>(d) = fill;
                continue;
            }
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<Byte>(((d[c] - s[c]) * m[c] + s[c] * 256) >> 8);
            if (CI.Ready)
                d[3] = 255;
        }
}

void CopyBitmapExceptKey(TBitmap* Dst, TBitmap* Src, int X, TColor Key, int Y)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src)
        return;
    const Cardinal key = SwapRedBlue(static_cast<Cardinal>(Key));
    const TBlock block = ClipExclusive(TRect(X, Y, X + src.Width, Y + src.Height), TRect(0, 0, src.Width, src.Height),
                                       dst, src);
    for (int row = 0; row < block.Height; ++row)
        for (int col = 0; col < block.Width; ++col) {
            const Cardinal s = src.Row(block.SrcY + row)[block.SrcX + col];
            if (s != key)
                dst.Row(block.DstY + row)[block.DstX + col] = s | 0xFF000000u;
        }
}

void CopyRectExceptKey(TBitmap* Dst, TBitmap* Src, int X, bool FillFromCI, const TCacheInfo& CI, Cardinal Key,
                       TRect SrcRect, int Y)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src || !ClipSourceInclusive(SrcRect, src, X, Y, false))
        return;
    const bool fromBackground = FillFromCI && CI.Ready && CI.Bmp;
    const bool intoBackground = fromBackground && CI.Bmp == Dst;
    const TPixelRows bg = fromBackground ? PixelRows32(CI.Bmp) : TPixelRows();
    const Cardinal fill = SwapRedBlue(static_cast<Cardinal>(CI.FillColor)) & 0xFFFFFFu;
    for (int sy = SrcRect.top, ty = Y; sy <= SrcRect.bottom; ++sy, ++ty) {
        if (ty < 0 || ty >= dst.Height)
            continue;
        for (int sx = SrcRect.left, tx = X; sx <= SrcRect.right; ++sx, ++tx) {
            if (tx < 0 || tx >= dst.Width)
                continue;
            const Cardinal s = src.Row(sy)[sx];
            Cardinal& d = dst.Row(ty)[tx];
            if (s != Key) {
                d = intoBackground ? s | 0xFF000000u : s;
                continue;
            }
            if (intoBackground || (CI.Ready && !fromBackground))
                continue;
            if (fromBackground) {
                // Outside the background nothing is filled; the row goes on.
                Cardinal background = 0;
                if (BackgroundPixel(bg, CI, tx, ty, background))
                    d = background;
            } else {
                d = fill | (d & 0xFF000000u);
            }
        }
    }
}

void CopyRectExceptColor(TBitmap* Dst, TBitmap* Src, int X, TColor Key, TRect SrcRect, int Y)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src || !ClipSourceInclusive(SrcRect, src, X, Y, false))
        return;
    const Cardinal key = SwapRedBlue(static_cast<Cardinal>(Key)) & 0xFFFFFFu;
    for (int sy = SrcRect.top, ty = Y; sy <= SrcRect.bottom; ++sy, ++ty) {
        if (ty < 0 || ty >= dst.Height)
            continue;
        for (int sx = SrcRect.left, tx = X; sx <= SrcRect.right; ++sx, ++tx) {
            const Cardinal s = src.Row(sy)[sx];
            if (tx >= 0 && tx < dst.Width && s != key)
                dst.Row(ty)[tx] = s;
        }
    }
}

void BlendBitmapWithColor(TBitmap* Bmp, Byte Weight, TColor Color)
{
    TPixelRows rows = PixelRows32(Bmp);
    if (!rows)
        return;
    const int colour[3] = {(Color >> 16) & 0xFF, (Color >> 8) & 0xFF, Color & 0xFF};
    for (int y = 0; y < rows.Height; ++y)
        for (int x = 0; x < rows.Width; ++x) {
            if (rows.Row(y)[x] == 0x00FF00FFu)
                continue;
            Byte* p = Px(rows, x, y);
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<Byte>((p[c] * Weight + colour[c] * (255 - Weight)) >> 8);
        }
}

void MixColorByMask(TBitmap* Target, TBitmap* Mask, TColor Color)
{
    TPixelRows target = PixelRows32(Target), mask = PixelRows32(Mask);
    if (!target || !mask || target.Width != mask.Width || target.Height != mask.Height)
        return;
    const int colour[3] = {(Color >> 16) & 0xFF, (Color >> 8) & 0xFF, Color & 0xFF};
    for (int y = 0; y < target.Height; ++y)
        for (int x = 0; x < target.Width; ++x) {
            Byte* t = Px(target, x, y);
            const Byte* m = Px(mask, x, y);
            for (int c = 0; c < 3; ++c)
                t[c] = static_cast<Byte>(((t[c] - colour[c]) * m[c] + colour[c] * 256) >> 8);
        }
}
