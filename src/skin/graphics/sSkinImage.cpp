#include "sSkinImage.h"
#include "acntUtils.h"
#include "sAlphaGraph.h"
#include "sGraphUtilsRows.h"
#include "sVclUtils.h"
#include <algorithm>

namespace {

struct TPart {
    int DstX = 0, DstY = 0, SrcX = 0, SrcY = 0, Width = 0, Height = 0;
};

// The block both rectangles and both bitmaps hold; SrcExtra rows below the
// source (its mask) must exist too.
bool ClipPart(const TRect& DstRect, const TRect& SrcRect, const TPixelRows& dst, const TPixelRows& src, int SrcExtra,
              TPart& p)
{
    p.DstX = DstRect.left;
    p.DstY = DstRect.top;
    p.SrcX = SrcRect.left;
    p.SrcY = SrcRect.top;
    p.Width = std::min(DstRect.right - DstRect.left, SrcRect.right - SrcRect.left);
    p.Height = std::min(DstRect.bottom - DstRect.top, SrcRect.bottom - SrcRect.top);
    const int shiftX = std::max({0, -p.DstX, -p.SrcX}), shiftY = std::max({0, -p.DstY, -p.SrcY});
    p.DstX += shiftX;
    p.SrcX += shiftX;
    p.Width -= shiftX;
    p.DstY += shiftY;
    p.SrcY += shiftY;
    p.Height -= shiftY;
    p.Width = std::min({p.Width, dst.Width - p.DstX, src.Width - p.SrcX});
    p.Height = std::min({p.Height, dst.Height - p.DstY, src.Height - SrcExtra - p.SrcY});
    return p.Width > 0 && p.Height > 0;
}

int MaskShift(const TsMaskData& MaskData) { return (MaskData.R.bottom - MaskData.R.top) / 2; }

Byte* Bytes(Cardinal& Pixel) { return reinterpret_cast<Byte*>(&Pixel); }

bool BackgroundOf(const TCacheInfo& CI, const TPixelRows& bg, int X, int Y, Cardinal& Pixel)
{
    const int bx = CI.X + X, by = CI.Y + Y;
    if (!bg || !bg.Contains(bx, by))
        return false;
    Pixel = bg.Row(by)[bx];
    return true;
}

// The alpha rule of the alpha copiers for a mask red of mr.
void BuildAlpha(Byte& Alpha, int mr)
{
    if (Alpha == 0)
        Alpha = static_cast<Byte>(255 - mr);
    else if (Alpha < 255)
        Alpha = static_cast<Byte>(std::max<int>(Alpha, 255 - mr));
}

// The fuchsia rule of the alpha copiers: the background pixel, else a clear target.
void FuchsiaToBackground(Cardinal& d, const TCacheInfo& CI, const TPixelRows& bg, int X, int Y)
{
    Cardinal background = 0;
    if (CI.Ready && BackgroundOf(CI, bg, X, Y, background))
        d = background;
    else
        Bytes(d)[3] = 0;
}

void CopyMaskedFadedImpl(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, const TsMaskData& MaskData,
                         const TCacheInfo& CI, TBitmap* Src, int Opacity)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    const int shift = MaskShift(MaskData);
    TPart p;
    if (!dst || !src || !ClipPart(DstRect, SrcRect, dst, src, shift, p))
        return;
    const TPixelRows bg = CI.Ready ? PixelRows32(CI.Bmp) : TPixelRows();
    for (int row = 0; row < p.Height; ++row)
        for (int col = 0; col < p.Width; ++col) {
            Cardinal s = src.Row(p.SrcY + row)[p.SrcX + col];
            Cardinal m = src.Row(p.SrcY + row + shift)[p.SrcX + col];
            Cardinal& d = dst.Row(p.DstY + row)[p.DstX + col];
            if (s == FuchsiaPixel) {
                FuchsiaToBackground(d, CI, bg, p.DstX + col, p.DstY + row);
                continue;
            }
            const int mr = Bytes(m)[2];
            Byte* t = Bytes(d);
            const Byte* sb = Bytes(s);
            if (Opacity < 0) {
                for (int c = 0; c < 3; ++c)
                    t[c] = static_cast<Byte>((t[c] * mr + sb[c] * (255 - mr)) >> 8);
            } else {
                const int k = (Opacity * (255 - mr)) >> 8;
                for (int c = 0; c < 3; ++c)
                    t[c] = static_cast<Byte>((t[c] * (255 - k) + sb[c] * k) >> 8);
            }
            BuildAlpha(t[3], mr);
        }
}

// SrcRect of the source resampled to Width x Height with Filter, in memory
// (temporary bitmaps cost far more than the pixels). Parts one pixel wide or
// high are widened to two first, which the resampler needs.
std::vector<Cardinal> ScalePart(const TPixelRows& Src, const TRect& SrcRect, int Width, int Height, int Filter)
{
    const int sw = SrcRect.right - SrcRect.left, sh = SrcRect.bottom - SrcRect.top;
    const int pw = std::max(sw, 2), ph = std::max(sh, 2);
    std::vector<Cardinal> part(static_cast<size_t>(pw) * ph), out(static_cast<size_t>(Width) * Height);
    for (int y = 0; y < ph; ++y)
        for (int x = 0; x < pw; ++x)
            part[static_cast<size_t>(y) * pw + x] = Src.Row(SrcRect.top + y * sh / ph)[SrcRect.left + x * sw / pw];
    ResamplePixels(part.data(), pw, ph, 4 * static_cast<std::ptrdiff_t>(pw), out.data(), Width, Height, Filter);
    return out;
}

enum class TStretchKind { Plain, Alpha, Faded };

void StretchMaskedImpl(TBitmap* Dst, const TRect& DstRect, TBitmap* Src, const TRect& SrcRect, int MaskOffset,
                       bool Smoothing, TStretchKind Kind, int Opacity)
{
    const int x = DstRect.left, y = DstRect.top, w = DstRect.right - x, h = DstRect.bottom - y;
    if (!Dst || !Src || x < 0 || y < 0 || w <= 0 || h <= 0 || Dst->GetWidth() < 2 || Dst->GetHeight() < 2)
        return;
    const int sw = SrcRect.right - SrcRect.left, sh = SrcRect.bottom - SrcRect.top;
    if (sw <= 0 || sh <= 0)
        return;
    if (MaskOffset == 0) {
        HDC dc = Dst->GetCanvas()->GetHandle();
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, x, y, w, h, Src->GetCanvas()->GetHandle(), SrcRect.left, SrcRect.top, sw, sh, SRCCOPY);
        return;
    }
    if (SrcRect.left < 0 || SrcRect.top < 0 || SrcRect.right > Src->GetWidth() ||
        SrcRect.bottom + MaskOffset > Src->GetHeight())
        return;
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    if (!dst || !src)
        return;
    const int rows = std::min(h, dst.Height - y), cols = std::min(w, dst.Width - x);
    if (Kind == TStretchKind::Plain && sw == 1 && sh == 1 && Smoothing) {
        const Cardinal s = src.Row(SrcRect.top)[SrcRect.left];
        Cardinal m = src.Row(SrcRect.top + MaskOffset)[SrcRect.left];
        if (Bytes(m)[2] == 0) {
            FillBitmap32Rect(Dst, DstRect, static_cast<TColor>(SwapRedBlue(s) & 0xFFFFFF), 255);
            return;
        }
        if (Bytes(m)[2] == 255)
            return;
        const Byte* sb = reinterpret_cast<const Byte*>(&s);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                Byte* t = Bytes(dst.Row(y + r)[x + c]);
                for (int k = 0; k < 3; ++k)
                    t[k] = static_cast<Byte>(((t[k] - sb[k]) * Bytes(m)[k] + sb[k] * 256) >> 8);
            }
        return;
    }
    TRect maskRect = SrcRect;
    OffsetRect(&maskRect, 0, MaskOffset);
    // Plain stretching picks the nearest source pixel, as COLORONCOLOR does.
    bool resampleImage = false, resampleMask = true;
    int maskFilter = 2;
    if (Kind == TStretchKind::Plain) {
        const bool oneWayShrink = (w < sw && h == sh) || (h < sh && w == sw);
        resampleImage = resampleMask = Smoothing || oneWayShrink;
        maskFilter = 6;
    }
    resampleImage = resampleImage && w > 1 && h > 1;
    resampleMask = resampleMask && w > 1 && h > 1;
    std::vector<Cardinal> image, mask;
    if (resampleImage)
        image = ScalePart(src, SrcRect, w, h, 6);
    if (resampleMask)
        mask = ScalePart(src, maskRect, w, h, maskFilter);
    auto nearest = [&](const TRect& Part, int c, int r) {
        return src.Row(Part.top + r * sh / h)[Part.left + c * sw / w];
    };
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            const std::size_t at = static_cast<std::size_t>(r) * w + c;
            Cardinal s = resampleImage ? image[at] : nearest(SrcRect, c, r);
            Cardinal m = resampleMask ? mask[at] : nearest(maskRect, c, r);
            Byte* t = Bytes(dst.Row(y + r)[x + c]);
            const Byte* sb = Bytes(s);
            const Byte* mb = Bytes(m);
            const int mr = mb[2];
            switch (Kind) {
            case TStretchKind::Plain:
                for (int k = 0; k < 3; ++k)
                    t[k] = static_cast<Byte>(((t[k] - sb[k]) * mb[k] + sb[k] * 256) >> 8);
                t[3] = 255;
                break;
            case TStretchKind::Alpha:
                if (mr == 0) {
                    dst.Row(y + r)[x + c] = s | 0xFF000000u;
                } else if (mr < 255) {
                    for (int k = 0; k < 3; ++k)
                        t[k] = static_cast<Byte>((mr * t[k] + sb[k] * (255 - mr)) >> 8);
                    t[3] = static_cast<Byte>(std::max(int(t[3]), 255 - mr));
                }
                break;
            case TStretchKind::Faded:
                if (mr == 0) {
                    for (int k = 0; k < 3; ++k)
                        t[k] = static_cast<Byte>((t[k] * (255 - Opacity) + sb[k] * Opacity) >> 8);
                    t[3] = 255;
                } else if (mr < 255) {
                    const int kk = ((255 - mr) * Opacity) >> 8;
                    for (int k = 0; k < 3; ++k)
                        t[k] = static_cast<Byte>((t[k] * (255 - kk) + sb[k] * kk) >> 8);
                    BuildAlpha(t[3], mr);
                }
                break;
            }
        }
}

// ---------------------------------------------------------------------------
// The nine-part layout, shared by the three painters.
enum class TVariant { Plain, Alpha, Margins };

struct TNinePart {
    TBitmap* Dst;
    TBitmap* Src;
    const TsMaskData& Mask;
    const TCacheInfo& CI;
    TVariant Variant;
    bool CornersOnBackground;
    Byte Opacity;
    bool Stretch;
    bool Masked;

    void Corner(const TRect& DstRect, const TRect& SrcRect) const
    {
        if (DstRect.IsEmpty() || SrcRect.IsEmpty())
            return;
        if (!Masked) {
            const bool background = Variant != TVariant::Plain || CornersOnBackground;
            const int w = std::min(DstRect.right - DstRect.left, SrcRect.right - SrcRect.left);
            const int h = std::min(DstRect.bottom - DstRect.top, SrcRect.bottom - SrcRect.top);
            CopyRectExceptKey(Dst, Src, DstRect.left, background, CI, FuchsiaPixel,
                              TRect(SrcRect.left, SrcRect.top, SrcRect.left + w - 1, SrcRect.top + h - 1), DstRect.top);
            return;
        }
        static const TCacheInfo none;
        switch (Variant) {
        case TVariant::Plain:
            CopyMaskedRect(DstRect, SrcRect, Dst, Mask, CornersOnBackground, CornersOnBackground ? CI : none, Src);
            break;
        case TVariant::Alpha:
            CopyMaskedRectAlpha(DstRect, SrcRect, Dst, Mask, CI, Src);
            break;
        case TVariant::Margins:
            CopyMaskedRectFaded(DstRect, SrcRect, Dst, Mask, CI, Src, Opacity);
            break;
        }
    }

    void Copy(const TRect& DstRect, const TRect& SrcRect) const
    {
        if (DstRect.IsEmpty() || SrcRect.IsEmpty())
            return;
        static const TCacheInfo none;
        if (!Masked) {
            BitBlt(Dst->GetCanvas()->GetHandle(), DstRect.left, DstRect.top,
                   std::min(DstRect.right - DstRect.left, SrcRect.right - SrcRect.left),
                   std::min(DstRect.bottom - DstRect.top, SrcRect.bottom - SrcRect.top), Src->GetCanvas()->GetHandle(),
                   SrcRect.left, SrcRect.top, SRCCOPY);
            return;
        }
        switch (Variant) {
        case TVariant::Plain:
            CopyMaskedRect(DstRect, SrcRect, Dst, Mask, false, none, Src);
            break;
        case TVariant::Alpha:
            CopyMaskedRectAlpha(DstRect, SrcRect, Dst, Mask, none, Src);
            break;
        case TVariant::Margins:
            CopyMaskedRectFaded(DstRect, SrcRect, Dst, Mask, none, Src, Opacity);
            break;
        }
    }

    void StretchPart(const TRect& DstRect, const TRect& SrcRect, bool Smoothing) const
    {
        if (DstRect.IsEmpty() || SrcRect.IsEmpty())
            return;
        const int shift = Masked ? MaskShift(Mask) : 0;
        switch (Variant) {
        case TVariant::Plain:
            StretchMaskedRect(Dst, DstRect, Src, SrcRect, shift, Smoothing);
            break;
        case TVariant::Alpha:
            StretchMaskedRectAlpha(Dst, DstRect, Src, SrcRect, shift);
            break;
        case TVariant::Margins:
            StretchMaskedRectFaded(Dst, DstRect, Src, SrcRect, shift, Opacity);
            break;
        }
    }

    // Copies of the source along one axis: whole copies while one still
    // ends before End, then the rest cut to length.
    void TileRow(int Y, int Height, int Start, int End, int SrcX, int SrcY, int SrcW) const
    {
        int x = Start;
        if (SrcW > 0)
            for (; x + SrcW < End; x += SrcW)
                Copy(TRect(x, Y, x + SrcW, Y + Height), TRect(SrcX, SrcY, SrcX + SrcW, SrcY + Height));
        if (x < End)
            Copy(TRect(x, Y, End, Y + Height), TRect(SrcX, SrcY, SrcX + (End - x), SrcY + Height));
    }

    void TileColumn(int X, int Width, int Start, int End, int SrcX, int SrcY, int SrcH) const
    {
        int y = Start;
        if (SrcH > 0)
            for (; y + SrcH < End; y += SrcH)
                Copy(TRect(X, y, X + Width, y + SrcH), TRect(SrcX, SrcY, SrcX + Width, SrcY + SrcH));
        if (y < End)
            Copy(TRect(X, y, X + Width, End), TRect(SrcX, SrcY, SrcX + Width, SrcY + (End - y)));
    }

    void Horizontal(int Y, int Height, int Start, int End, int SrcX, int SrcY, int SrcW) const
    {
        if (Height <= 0 || End <= Start)
            return;
        if (Stretch)
            StretchPart(TRect(Start, Y, End, Y + Height), TRect(SrcX, SrcY, SrcX + SrcW, SrcY + Height), false);
        else
            TileRow(Y, Height, Start, End, SrcX, SrcY, SrcW);
    }

    void Vertical(int X, int Width, int Start, int End, int SrcX, int SrcY, int SrcH) const
    {
        if (Width <= 0 || End <= Start)
            return;
        if (Stretch)
            StretchPart(TRect(X, Start, X + Width, End), TRect(SrcX, SrcY, SrcX + Width, SrcY + SrcH), false);
        else
            TileColumn(X, Width, Start, End, SrcX, SrcY, SrcH);
    }

    void Centre(const TRect& Area, int SrcX, int SrcY, int SrcW, int SrcH) const
    {
        if (Area.IsEmpty())
            return;
        if (Stretch) {
            StretchPart(Area, TRect(SrcX, SrcY, SrcX + SrcW, SrcY + SrcH), true);
            return;
        }
        int y = Area.top;
        if (SrcH > 0)
            for (; y + SrcH < Area.bottom; y += SrcH)
                TileRow(y, SrcH, Area.left, Area.right, SrcX, SrcY, SrcW);
        if (y < Area.bottom)
            TileRow(y, Area.bottom - y, Area.left, Area.right, SrcX, SrcY, SrcW);
    }
};

// Margins shrunk to a target narrower or lower than their sum; the second one takes the odd pixel.
void FitMargins(int Extent, int& First, int& Second)
{
    if (Extent < First + Second) {
        const int d = First + Second - Extent, h = d / 2;
        First -= h;
        Second -= h + (d % 2);
        First = std::max(First, 0);
        Second = std::max(Second, 0);
    }
}

void PaintNineParts(TBitmap* Bitmap, const TRect& Rect, const TCacheInfo& CI, const TsMaskData& M, int State,
                    bool CornersOnBackground, TVariant Variant, const TRect* Margins, Byte Opacity)
{
    if ((State == 0 && (M.DrawMode & dmNoState0)) || Rect.right - Rect.left < 2 || Rect.bottom - Rect.top < 2 ||
        !M.Manager || !Bitmap)
        return;
    int wl = M.WL, wt = M.WT, wr = M.WR, wb = M.WB;
    const int L = Rect.left, T = Rect.top, Rt = Rect.right, B = Rect.bottom;
    FitMargins(Rt - L, wl, wr);
    FitMargins(B - T, wt, wb);
    State = std::max(0, std::min<int>(State, M.ImageCount - 1));
    const int x0 = M.R.left + State * M.Width, y0 = M.R.top;
    const int sw = M.Width - wl - wr, sh = M.Height - wt - wb;
    if (sw < 0 || sh < 0)
        return;
    TBitmap* src = M.Bmp ? M.Bmp : M.Manager->MasterBitmap;
    if (!src)
        return;
    const bool stretch = (M.DrawMode & dmStretch) != 0;
    if (stretch)
        SetStretchBltMode(Bitmap->GetCanvas()->GetHandle(), COLORONCOLOR);
    const bool masked = M.MaskType != 0;
    if (Variant == TVariant::Margins && !masked)
        Variant = TVariant::Plain, CornersOnBackground = true;
    const TNinePart p{Bitmap, src, M, CI, Variant, CornersOnBackground, Opacity, stretch, masked};
    // Edge thickness: the margins, or for thin margins the outer part of each edge.
    const bool thin = Variant == TVariant::Margins;
    const int el = thin ? std::min<int>(wl, Margins->left) : wl, et = thin ? std::min<int>(wt, Margins->top) : wt;
    const int er = thin ? std::min<int>(wr, Margins->right) : wr, eb = thin ? std::min<int>(wb, Margins->bottom) : wb;

    p.Corner(TRect(L, T, L + wl, T + wt), TRect(x0, y0, x0 + wl, y0 + wt));
    p.Vertical(L, el, T + wt, B - wb, x0, y0 + wt, sh);
    p.Horizontal(T, et, L + wl, Rt - wr, x0 + wl, y0, sw);
    p.Corner(TRect(L, B - wb, L + wl, B), TRect(x0, y0 + M.Height - wb, x0 + wl, y0 + M.Height));
    p.Horizontal(B - eb, eb, L + wl, Rt - wr, x0 + wl, y0 + M.Height - eb, sw);
    p.Corner(TRect(Rt - wr, B - wb, Rt, B), TRect(x0 + wl + sw, y0 + M.Height - wb, x0 + wl + sw + wr, y0 + M.Height));
    p.Corner(TRect(Rt - wr, T, Rt, T + wt), TRect(x0 + wl + sw, y0, x0 + wl + sw + wr, y0 + wt));
    p.Vertical(Rt - er, er, T + wt, B - wb, x0 + wl + sw + wr - er, y0 + wt, sh);
    if ((M.DrawMode & dmCentre) && !thin)
        p.Centre(TRect(L + wl, T + wt, Rt - wr, B - wb), x0 + wl, y0 + wt, sw, sh);
}

} // namespace

// ---------------------------------------------------------------------------
void PaintSkinImage(TBitmap* Bitmap, const TRect& Rect, const TCacheInfo& CacheInfo, const TsMaskData& MaskData,
                    int State, bool CornersOnBackground)
{
    PaintNineParts(Bitmap, Rect, CacheInfo, MaskData, State, CornersOnBackground && MaskData.CornerType > 0,
                   TVariant::Plain, nullptr, 255);
}

void PaintSkinImageAlpha(TBitmap* Bitmap, const TRect& Rect, const TCacheInfo& CacheInfo,
                         const TsMaskData& MaskData, int State)
{
    PaintNineParts(Bitmap, Rect, CacheInfo, MaskData, State, true, TVariant::Alpha, nullptr, 255);
}

void PaintSkinImageWithMargins(TBitmap* Bitmap, const TRect& Rect, const TCacheInfo& CacheInfo,
                               const TsMaskData& MaskData, int State, const TRect& Margins, Byte Opacity)
{
    PaintNineParts(Bitmap, Rect, CacheInfo, MaskData, State, true, TVariant::Margins, &Margins, Opacity);
}

void CopyMaskedRectAlpha(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, const TsMaskData& MaskData,
                         const TCacheInfo& CI, TBitmap* Src)
{
    CopyMaskedFadedImpl(DstRect, SrcRect, Dst, MaskData, CI, Src, -1);
}

void CopyMaskedRectFaded(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, const TsMaskData& MaskData,
                         const TCacheInfo& CI, TBitmap* Src, Byte Opacity)
{
    CopyMaskedFadedImpl(DstRect, SrcRect, Dst, MaskData, CI, Src, Opacity);
}

void CopyMaskedRectAt(TBitmap* Dst, int X, int Y, const TRect& SrcRect, TBitmap* Src, const TsMaskData& MaskData,
                      int Mode)
{
    if (!Dst || Dst->GetPixelFormat() != pf32bit)
        return;
    if (MaskData.MaskType == 0) {
        CopyRectExceptColor(Dst, Src, X, clFuchsia,
                            TRect(SrcRect.left, SrcRect.top, SrcRect.right - 1, SrcRect.bottom - 1), Y);
        return;
    }
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    const int shift = MaskShift(MaskData);
    TPart p;
    const TRect dstRect(X, Y, X + SrcRect.right - SrcRect.left, Y + SrcRect.bottom - SrcRect.top);
    if (!dst || !src || !ClipPart(dstRect, SrcRect, dst, src, shift, p))
        return;
    for (int row = 0; row < p.Height; ++row)
        for (int col = 0; col < p.Width; ++col) {
            Cardinal s = src.Row(p.SrcY + row)[p.SrcX + col];
            Cardinal m = src.Row(p.SrcY + row + shift)[p.SrcX + col];
            const int mr = Bytes(m)[2];
            if (s == FuchsiaPixel || mr == 255)
                continue;
            Byte* t = Bytes(dst.Row(p.DstY + row)[p.DstX + col]);
            const Byte* sb = Bytes(s);
            const Byte* mb = Bytes(m);
            for (int c = 0; c < 3; ++c) {
                const int w = Mode == 1 ? mb[c] : std::min(mb[c] + 100, 255);
                t[c] = static_cast<Byte>(((t[c] - sb[c]) * w + sb[c] * 256) >> 8);
            }
            t[3] = static_cast<Byte>(t[3] + (((t[3] - 255) * (mr - 255)) >> 8));
        }
}

void PaintMaskedPiece(const TRect& DstRect, const TRect& SrcRect, TBitmap* Dst, const TsMaskData& MaskData,
                      const TCacheInfo& CI, TBitmap* Src)
{
    TPixelRows dst = PixelRows32(Dst), src = PixelRows32(Src);
    const int shift = MaskShift(MaskData);
    TPart p;
    if (!dst || !src || !ClipPart(DstRect, SrcRect, dst, src, shift, p))
        return;
    const bool fillFromBackground = (CI.FillColor & 0xFFFFFF) == clFuchsia;
    const TPixelRows bg = CI.Ready ? PixelRows32(CI.Bmp) : TPixelRows();
    const Cardinal fill = SwapRedBlue(static_cast<Cardinal>(CI.FillColor)) & 0xFFFFFFu;
    for (int row = 0; row < p.Height; ++row)
        for (int col = 0; col < p.Width; ++col) {
            Cardinal s = src.Row(p.SrcY + row)[p.SrcX + col];
            Cardinal m = src.Row(p.SrcY + row + shift)[p.SrcX + col];
            Cardinal& d = dst.Row(p.DstY + row)[p.DstX + col];
            if (s == FuchsiaPixel) {
                if (!fillFromBackground) {
                    d = fill | (d & 0xFF000000u);
                } else {
                    Cardinal background = 0;
                    if (BackgroundOf(CI, bg, p.DstX + col, p.DstY + row, background))
                        d = background;
                }
                continue;
            }
            Byte* t = Bytes(d);
            const Byte* sb = Bytes(s);
            const Byte* mb = Bytes(m);
            for (int c = 0; c < 3; ++c)
                t[c] = static_cast<Byte>(((t[c] - sb[c]) * mb[c] + sb[c] * 256) >> 8);
        }
}

void StretchMaskedRect(TBitmap* Dst, const TRect& DstRect, TBitmap* Src, const TRect& SrcRect, int MaskOffset,
                       bool Smoothing)
{
    StretchMaskedImpl(Dst, DstRect, Src, SrcRect, MaskOffset, Smoothing, TStretchKind::Plain, 255);
}

void StretchMaskedRectAlpha(TBitmap* Dst, const TRect& DstRect, TBitmap* Src, const TRect& SrcRect, int MaskOffset)
{
    StretchMaskedImpl(Dst, DstRect, Src, SrcRect, MaskOffset, false, TStretchKind::Alpha, 255);
}

void StretchMaskedRectFaded(TBitmap* Dst, const TRect& DstRect, TBitmap* Src, const TRect& SrcRect, int MaskOffset,
                            Byte Opacity)
{
    StretchMaskedImpl(Dst, DstRect, Src, SrcRect, MaskOffset, false, TStretchKind::Faded, Opacity);
}

void DrawSkinImageAt(TBitmap* Bitmap, const TRect& Rect, int State, int Mode, const TsMaskData& MaskData,
                     const TCacheInfo& CacheInfo)
{
    if (!Bitmap)
        return;
    const int cutX = std::max(0, -static_cast<int>(Rect.left)), cutY = std::max(0, -static_cast<int>(Rect.top));
    const int x = Rect.left + cutX, y = Rect.top + cutY;
    State = std::max(0, std::min<int>(State, MaskData.ImageCount - 1));
    TRect src(MaskData.R.left + State * MaskData.Width + cutX, MaskData.R.top + cutY,
              MaskData.R.left + (State + 1) * MaskData.Width, MaskData.R.top + MaskData.Height);
    if (src.IsEmpty())
        return;
    if (MaskData.Bmp) {
        if (MaskData.Bmp->GetWidth() < MaskData.R.right || MaskData.Bmp->GetHeight() < MaskData.R.bottom)
            return;
        CopyMaskedRectAt(Bitmap, x, y, src, MaskData.Bmp, MaskData, Mode);
        return;
    }
    if (!MaskData.Manager || !MaskData.Manager->MasterBitmap || MaskData.ImageCount <= 0)
        return;
    TBitmap* master = MaskData.Manager->MasterBitmap;
    const TRect inclusive(src.left, src.top, src.right - 1, src.bottom - 1);
    if (MaskData.MaskType != 0)
        CopyMaskedRectAt(Bitmap, x, y, src, master, MaskData, Mode);
    else if (Mode == 1)
        CopyRectExceptKey(Bitmap, master, x, true, CacheInfo, FuchsiaPixel, inclusive, y);
    else
        BlendRectExceptKey(Bitmap, x, y, FuchsiaPixel, 127, inclusive, master);
}

void PaintControlCorners(TsCommonData* SkinData, int State, Byte Corners)
{
    if (!SkinData || !SkinData->FCacheBmp || !SkinData->FOwnerControl)
        return;
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (!manager || !manager->IsValidImgIndex(SkinData->BorderIndex))
        return;
    TsMaskData mask = manager->ma[static_cast<std::size_t>(SkinData->BorderIndex)];
    if (mask.CornerType == 0)
        return;
    TControl* control = SkinData->FOwnerControl;
    TacBGRequest request;
    request.R = ControlRect(control);
    if (control->GetParent()) {
        GetControlBGInfo(request, control->GetParent(), false);
    } else if (auto* win = dynamic_cast<TWinControl*>(control); win && win->HandleAllocated()) {
        GetWindowBGInfo(request, GetParent(win->GetHandle()), false);
    }
    if (request.BgKind == bgImage)
        request.Offset = TPoint(request.Offset.x + control->GetLeft(), request.Offset.y + control->GetTop());
    TBitmap* src = mask.Bmp ? mask.Bmp : manager->MasterBitmap;
    if (mask.Bmp && mask.ImageCount == 0) {
        mask.MaskType = 1;
        mask.ImageCount = 3;
        mask.R = BitmapRect(mask.Bmp);
        mask.Width = mask.Bmp->GetWidth() / 3;
        mask.Height = mask.Bmp->GetHeight() / 2;
    }
    TPixelRows image = PixelRows32(src), cache = PixelRows32(SkinData->FCacheBmp);
    if (!image || !cache)
        return;
    const TPixelRows bg = request.BgKind == bgImage ? PixelRows32(request.Bmp) : TPixelRows();
    const Cardinal color = SwapRedBlue(static_cast<Cardinal>(ColorToRGB(request.Color))) | 0xFF000000u;
    State = std::max(0, std::min<int>(State, mask.ImageCount - 1));
    const int x0 = mask.R.left + State * mask.Width, y0 = mask.R.top;
    const int w = control->GetWidth(), h = control->GetHeight();
    struct TCorner {
        Byte Bit;
        int SrcX, SrcY, DstX, DstY, Width, Height;
    } corners[] = {
        {1, x0, y0, 0, 0, mask.WL, mask.WT},
        {2, x0, y0 + mask.Height - mask.WB, 0, h - mask.WB, mask.WL, mask.WB},
        {4, x0 + mask.Width - mask.WR, y0, w - mask.WR, 0, mask.WR, mask.WT},
        {8, x0 + mask.Width - mask.WR, y0 + mask.Height - mask.WB, w - mask.WR, h - mask.WB, mask.WR, mask.WB},
    };
    for (const TCorner& c : corners) {
        if (!(Corners & c.Bit))
            continue;
        for (int row = 0; row < c.Height; ++row)
            for (int col = 0; col < c.Width; ++col) {
                // A control smaller than its corners, or a cache not sized yet, stops here.
                const int sx = c.SrcX + col, sy = c.SrcY + row, dx = c.DstX + col, dy = c.DstY + row;
                if (!image.Contains(sx, sy) || !cache.Contains(dx, dy) || image.Row(sy)[sx] != FuchsiaPixel)
                    continue;
                const int bx = request.Offset.x + dx, by = request.Offset.y + dy;
                cache.Row(dy)[dx] = bg && bg.Contains(bx, by) ? bg.Row(by)[bx] : color;
            }
    }
}
