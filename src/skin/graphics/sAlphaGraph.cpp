#include "sAlphaGraph.h"
#include "GdiHandles.h"
#include "sGraphUtilsRows.h"
#include "acntUtils.h"
#include "sVclUtils.h"
#include <algorithm>
#include <cmath>

namespace {

inline Byte* Px(const TPixelRows& rows, int x, int y)
{
    return reinterpret_cast<Byte*>(rows.Row(y) + x);
}

// An exclusive rectangle limited to the bitmap; empty when nothing is left.
TRect ClipToRows(const TRect& R, const TPixelRows& Rows)
{
    return TRect(std::max<LONG>(R.left, 0), std::max<LONG>(R.top, 0), std::min<LONG>(R.right, Rows.Width),
                 std::min<LONG>(R.bottom, Rows.Height));
}

template <class F>
void ForEachPixelIn(const TRect& R, const TPixelRows& Rows, F f)
{
    const TRect clip = ClipToRows(R, Rows);
    for (int y = clip.top; y < clip.bottom; ++y)
        for (int x = clip.left; x < clip.right; ++x)
            f(Rows.Row(y)[x]);
}

} // namespace

void FillBitmap32Rect(TBitmap* Bitmap, const TRect& Rect, TColor Color, Byte Alpha)
{
    TPixelRows rows = PixelRows32(Bitmap);
    if (!rows)
        return;
    const Cardinal value = (SwapRedBlue(static_cast<Cardinal>(Color)) & 0xFFFFFFu) | (Cardinal(Alpha) << 24);
    ForEachPixelIn(Rect, rows, [value](Cardinal& p) { p = value; });
}

void BlendColorIntoRect(TBitmap* Bitmap, const TRect& Rect, Byte Weight, TColor Color)
{
    TPixelRows rows = PixelRows32(Bitmap);
    if (!rows)
        return;
    const TColor rgb = ColorToRGB(Color);
    const int colour[3] = {(rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF};
    const TRect inclusive(Rect.left, Rect.top, Rect.right + 1, Rect.bottom + 1);
    ForEachPixelIn(inclusive, rows, [&](Cardinal& p) {
        Byte* b = reinterpret_cast<Byte*>(&p);
        for (int c = 0; c < 3; ++c)
            b[c] = static_cast<Byte>((b[c] * Weight + colour[c] * (255 - Weight)) / 256);
    });
}

void TintRectToColor(TBitmap* Bitmap, const TRect& Rect, TColor Color, int Percent, Byte Alpha)
{
    TPixelRows rows = PixelRows32(Bitmap);
    if (!rows)
        return;
    const TColor rgb = ColorToRGB(Color);
    const int colour[3] = {(rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF};
    ForEachPixelIn(Rect, rows, [&](Cardinal& p) {
        Byte* b = reinterpret_cast<Byte*>(&p);
        for (int c = 0; c < 3; ++c)
            b[c] = static_cast<Byte>(b[c] - Percent * (b[c] - colour[c]) / 100);
        b[3] = Alpha;
    });
}

void SetBitmap32Alpha(TBitmap* Bitmap, const TRect& Rect, Byte Alpha, Cardinal Key)
{
    TPixelRows rows = PixelRows32(Bitmap);
    if (!rows)
        return;
    // Callers pass rectangles with unlimited edges: only the part inside is touched.
    const bool keyed = Key != static_cast<Cardinal>(clNone);
    ForEachPixelIn(Rect, rows, [&](Cardinal& p) {
        if (!keyed || p != Key)
            p = (p & 0xFFFFFFu) | (Cardinal(Alpha) << 24);
    });
}

void ClearTransparentWhite(TBitmap* Bitmap)
{
    TPixelRows rows = PixelRows32(Bitmap);
    if (!rows)
        return;
    ForEachPixelIn(TRect(0, 0, rows.Width, rows.Height), rows, [](Cardinal& p) {
        if (p == 0x00FFFFFFu)
            p = 0;
    });
}

// ---------------------------------------------------------------------------
void PremultiplyBitmap32(TBitmap* Bitmap)
{
    if (Bitmap)
        PremultiplyBitmap32Rect(Bitmap, TRect(0, 0, Bitmap->GetWidth(), Bitmap->GetHeight()));
}

void PremultiplyBitmap32Rect(TBitmap* Bitmap, const TRect& Rect)
{
    TPixelRows rows = PixelRows32(Bitmap);
    if (!rows)
        return;
    const bool composition = IsAeroEnabled();
    ForEachPixelIn(Rect, rows, [composition](Cardinal& p) {
        if (p == 0x00FFFFFFu) {
            p = 0;
            return;
        }
        Byte* b = reinterpret_cast<Byte*>(&p);
        const int a = b[3];
        const bool nearWhite = !composition && b[0] >= 245 && b[1] >= 245 && b[2] >= 245;
        for (int c = 0; c < 3; ++c) {
            int value = b[c] * a >> 8;
            b[c] = static_cast<Byte>(nearWhite ? std::min(value, 244) : value);
        }
    });
}

void MakeAlphaFromCorner(TBitmap* Bitmap)
{
    TPixelRows rows = PixelRows32(Bitmap);
    if (!rows)
        return;
    for (int y = 0; y < rows.Height; ++y)
        for (int x = 0; x < rows.Width; ++x)
            if (rows.Row(y)[x] >> 24)
                return;
    const Cardinal key = rows.Row(rows.Height - 1)[0] & 0xFFFFFFu;
    for (int x = 0; x < rows.Width; ++x)
        for (int y = 0; y < rows.Height; ++y)
            if (rows.Row(y)[x] != key)
                rows.Row(y)[x] |= 0xFF000000u;
}

HICON CreateIconFromAlphaBitmap(TBitmap* Bitmap)
{
    if (!Bitmap || Bitmap->GetWidth() <= 0 || Bitmap->GetHeight() <= 0)
        return nullptr;
    Bitmap->SetPixelFormat(pf32bit);
    TPixelRows rows = PixelRows32(Bitmap);
    if (!rows)
        return nullptr;
    // An 8-bit mask with a grey palette: each byte is 255 minus the alpha.
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[256];
    } info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = rows.Width;
    info.Header.biHeight = -rows.Height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = 8;
    info.Header.biCompression = BI_RGB;
    info.Header.biClrUsed = 256;
    for (int i = 0; i < 256; ++i)
        info.Colors[i] = RGBQUAD{Byte(i), Byte(i), Byte(i), 0};
    void* bits = nullptr;
    TBitmapHandle mask(
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!mask)
        return nullptr;
    const int stride = (rows.Width + 3) & ~3;
    for (int y = 0; y < rows.Height; ++y)
        for (int x = 0; x < rows.Width; ++x)
            static_cast<Byte*>(bits)[y * stride + x] = static_cast<Byte>(255 - (rows.Row(y)[x] >> 24));
    GdiFlush();
    ICONINFO icon{};
    icon.fIcon = TRUE;
    icon.hbmColor = Bitmap->GetHandle();
    icon.hbmMask = mask.Get();
    return CreateIconIndirect(&icon);
}

// ---------------------------------------------------------------------------
void CopyPixelsByFuchsiaKey(TBitmap* Target, TBitmap* Source, const TRect& Rect, const TPoint& SrcPos,
                            int MaskIndex, TsSkinManager* SkinManager, int Corner)
{
    TPixelRows target = PixelRows32(Target), source = PixelRows32(Source);
    if (!target || !source)
        return;
    const int cols = std::min<int>(Rect.right - Rect.left, source.Width - SrcPos.x);
    const int rowCount = std::min<int>(Rect.bottom - Rect.top, source.Height - SrcPos.y);
    if (cols < 0 || rowCount < 0)
        return;

    TPixelRows key;
    TPoint keyOrigin;
    if (MaskIndex != -1) {
        TsSkinManager* manager = SkinManager ? SkinManager : DefaultManager;
        if (!manager || !manager->IsValidImgIndex(MaskIndex))
            return;
        const TsMaskData& mask = manager->ma[static_cast<std::size_t>(MaskIndex)];
        key = PixelRows32(mask.Bmp ? mask.Bmp : manager->MasterBitmap);
        if (!key)
            return;
        keyOrigin = mask.R.TopLeft();
        if (Corner == 14 || Corner == 17)
            keyOrigin.x = mask.R.left + mask.Width - mask.WR;
        if (Corner == 16 || Corner == 17)
            keyOrigin.y = mask.R.top + mask.Height - mask.WB;
    }
    // Every pixel of the three bitmaps is checked against its own bounds: the
    // area, the source position and the key corner each may reach outside.
    for (int j = 0; j < rowCount; ++j)
        for (int i = 0; i < cols; ++i) {
            const int tx = Rect.left + i, ty = Rect.top + j, sx = SrcPos.x + i, sy = SrcPos.y + j;
            if (!target.Contains(tx, ty) || !source.Contains(sx, sy))
                continue;
            Cardinal& t = target.Row(ty)[tx];
            if (MaskIndex == -1) {
                t &= 0xFFFFFFu;
                if (t == 0x00FF00FFu)
                    t = source.Row(sy)[sx];
                continue;
            }
            const int kx = keyOrigin.x + i, ky = keyOrigin.y + j;
            if (key.Contains(kx, ky) && (key.Row(ky)[kx] & 0xFFFFFFu) == 0xFF00FFu)
                t = source.Row(sy)[sx];
        }
}

// ---------------------------------------------------------------------------
void DrawTextOnBitmap32(TBitmap* Bitmap, const void* Text, bool AlphaMode, const TRect& Rect, UINT Format,
                        TColor Color, bool AnsiText)
{
    TPixelRows rows = PixelRows32(Bitmap);
    const int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    if (!rows || !Text || w <= 0 || h <= 0)
        return;
    TOwned<TBitmap> rendered(MakeBitmap32(w, h));
    TCanvas* canvas = rendered->GetCanvas();
    canvas->GetFont()->Assign(Bitmap->GetCanvas()->GetFont());
    HDC dc = canvas->GetHandle();
    PaintSolidRect(dc, TRect(0, 0, w, h), clWhite);
    {
        TSelectObject font(dc, canvas->GetFont()->GetHandle());
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        RECT area{0, 0, w, h};
        if (AnsiText)
            DrawTextA(dc, static_cast<const char*>(Text), -1, &area, Format);
        else
            DrawTextW(dc, static_cast<const wchar_t*>(Text), -1, &area, Format);
        GdiFlush();
    }
    TPixelRows text = PixelRows32(rendered.get());
    if (!text)
        return;
    const TColor rgb = ColorToRGB(Color);
    const int m[3] = {(rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF};
    for (int y = std::max<int>(0, -Rect.top); y < h && Rect.top + y < rows.Height; ++y)
        for (int x = std::max<int>(0, -Rect.left); x < w && Rect.left + x < rows.Width; ++x) {
            const Cardinal r = text.Row(y)[x];
            if (r == 0x00FFFFFFu || r == 0xFFFFFFFFu)
                continue;
            const Byte* s = reinterpret_cast<const Byte*>(&r);
            Byte* t = Px(rows, Rect.left + x, Rect.top + y);
            if (!AlphaMode) {
                t[3] = 255;
                for (int c = 0; c < 3; ++c)
                    t[c] = static_cast<Byte>(((t[c] - m[c]) * s[c] + m[c] * 256) >> 8);
                continue;
            }
            const bool black = (r & 0xFFFFFFu) == 0;
            const int coverage = black ? 1 : static_cast<int>(std::nearbyint(0.299 * s[2] + 0.587 * s[1] + 0.114 * s[0]));
            const int l = std::max<int>(t[3], black ? 254 : 255 - coverage);
            t[3] = static_cast<Byte>(l);
            for (int c = 0; c < 3; ++c)
                t[c] = static_cast<Byte>((((t[c] - m[c]) * coverage + m[c] * 256) * l) >> 16);
        }
}

void DrawSkinTextOnBitmap32(TBitmap* Bitmap, const String& Text, bool AlphaMode, const TRect& Rect, UINT Format,
                            int SkinIndex, int State, TsSkinManager* SkinManager)
{
    if (!Bitmap || Text.empty() || Rect.IsEmpty())
        return;
    TsSkinManager* manager = SkinManager ? SkinManager : DefaultManager;
    if (!manager || !manager->IsValidSkinIndex(SkinIndex)) {
        DrawTextOnBitmap32(Bitmap, Text.c_str(), AlphaMode, Rect, Format, Bitmap->GetCanvas()->GetFont()->GetColor());
        return;
    }
    const TsGeneralData& section = manager->gd[static_cast<std::size_t>(SkinIndex)];
    const TsFontColor& colours = section.Props[std::clamp(State, 0, 2)].FontColor;
    if (AlphaMode) {
        const struct {
            TColor Color;
            int DX, DY;
        } contours[] = {{colours.Left, -1, 0}, {colours.Top, 0, -1}, {colours.Right, 1, 0}, {colours.Bottom, 0, 1}};
        for (const auto& contour : contours)
            if (contour.Color != -1)
                DrawTextOnBitmap32(Bitmap, Text.c_str(), true, OffsetRectCopy(Rect, contour.DX, contour.DY), Format,
                                   contour.Color);
    }
    DrawTextOnBitmap32(Bitmap, Text.c_str(), AlphaMode, Rect, Format, colours.Color);
}

// ---------------------------------------------------------------------------
void ApplyControlBitmapEffects(TBitmap* Bitmap, Byte Flags, TWinControl* Control, const TCacheInfo& CacheInfo,
                               const TPoint& Offset)
{
    if (!PixelRows32(Bitmap))
        return;
    if (Flags & 2) {
        if (DisabledSaturation == -100)
            MakeGrayscale(Bitmap);
        else
            ForEachBitmapPixel(Bitmap, SaturationPixelProc, DisabledSaturation * 255 / 100, clFuchsia);
    }
    if (Flags & 1) {
        TRect r(0, 0, Bitmap->GetWidth() - 1, Bitmap->GetHeight() - 1);
        if (CacheInfo.Ready) {
            OffsetRect(&r, CacheInfo.X + Offset.x, CacheInfo.Y + Offset.y);
            BlendRectExceptKey(Bitmap, 0, 0, 0x00FF00FFu, DisabledBlend, r, CacheInfo.Bmp);
        } else {
            TColor colour = CacheInfo.FillColor == clFuchsia ? GetControlColor(Control) : CacheInfo.FillColor;
            BlendColorIntoRect(Bitmap, r, DisabledBlend, colour);
        }
    }
}
