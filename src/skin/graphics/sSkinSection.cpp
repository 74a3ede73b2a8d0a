#include "sSkinSection.h"
#include "GdiHandles.h"
#include "ScopeExit.h"
#include "acProviderServices.h"
#include "acntUtils.h"
#include "sAlphaGraph.h"
#include "sGradient.h"
#include "sGraphUtilsRows.h"
#include "sSkinImage.h"
#include "sWindowHelpers.h"
#include <algorithm>
#include <cmath>

namespace {

const TRect NoRect(-1, -1, -1, -1);

TsSkinManager* ManagerOr(TsSkinManager* Manager) { return Manager ? Manager : DefaultManager; }

TBitmap* ImageBitmap(const TsMaskData& M)
{
    if (M.Bmp)
        return M.Bmp;
    return M.Manager ? M.Manager->MasterBitmap : nullptr;
}

int ClampState(const TsGeneralData& Section, int State)
{
    return std::max(0, std::min(State, Section.States - 1));
}

bool IsOverlay(const TsGradArray& G) { return !G.empty() && (G[0].Mode & 0x20) != 0; }

void FillRectColor(TBitmap* Bmp, const TRect& R, TColor Color)
{
    if (Bmp->GetPixelFormat() == pf32bit)
        FillBitmap32Rect(Bmp, R, static_cast<TColor>(ColorToRGB(Color)), 255);
    else
        PaintSolidRect(Bmp->GetCanvas()->GetHandle(), R, Color);
}

TRect Inclusive(const TRect& R) { return TRect(R.left, R.top, R.right - 1, R.bottom - 1); }

// What the fill procedure paints: colour, gradient, texture and their shares.
struct TFill {
    TsSkinManager* Manager;
    TColor C;
    TsGradArray G;
    int IP = 0;
    int GP = 0;
    int TextureIndex = -1;
    TCacheInfo CI;
    bool Simple = false;
    bool ParentOnly = false;   // simple variant: the parent colour fills what nothing else does

    const TsMaskData* Texture() const
    {
        return Manager->IsValidImgIndex(TextureIndex) ? &Manager->ma[static_cast<std::size_t>(TextureIndex)] : nullptr;
    }

    void Paint(TBitmap* Target, const TRect& R) const
    {
        if (R.IsEmpty())
            return;
        const TsMaskData* texture = Texture();
        if (IP + GP == 100 && GP >= 1 && GP <= 99 && texture && texture->DrawMode == 0 && !G.empty() &&
            G[0].Mode < 2) {
            PaintGradientTexture(Target, R, G, ImageBitmap(*texture), texture->R,
                                 static_cast<Byte>(IP * 255 / 100), 255);
            return;
        }
        bool textured = false;
        if (IP > 0 && texture) {
            TRect left = R;
            if (texture->MaskType != 0)
                PaintTextureWithMask(Target, left, CI, texture->DrawMode, *texture);
            else
                PaintTexture(Target->GetCanvas(), left, texture->DrawMode, *texture);
            if (left.right != -1)
                FillRectColor(Target, left, C);
            textured = true;
        }
        if (GP > 0) {
            if (textured) {
                TOwned<TBitmap> temp(MakeBitmap32(R.right - R.left, R.bottom - R.top));
                const TRect whole(0, 0, temp->GetWidth(), temp->GetHeight());
                if (!G.empty())
                    PaintGradient(temp.get(), whole, G);
                else
                    FillBitmap32Rect(temp.get(), whole, static_cast<TColor>(ColorToRGB(C)), 255);
                const int weight = Simple ? IP * 255 / 100 : ClampValue(IP * 255 / 100, 0, 255);
                BlendRectUniform(Target, temp.get(), static_cast<Byte>(weight), R.TopLeft(), Inclusive(whole));
            } else if (!G.empty()) {
                PaintGradient(Target, R, G);
            } else {
                FillRectColor(Target, R, C);
            }
        }
        const int s = IP + GP;
        if (s > 0 && s < 100)
            BlendColorIntoRect(Target, Inclusive(R), static_cast<Byte>(s * 255 / 100), C);
        else if (!Simple && s == 0)
            FillRectColor(Target, R, C);
        else if (Simple && (s < 1 || s > 100))
            FillRectColor(Target, R, ParentOnly ? CI.FillColor : C);
    }
};

void CopyParentBitmap(TBitmap* Bmp, const TRect& R, const TCacheInfo& CI, const TPoint& Offset)
{
    BitBlt(Bmp->GetCanvas()->GetHandle(), R.left, R.top, R.right - R.left, R.bottom - R.top,
           CI.Bmp->GetCanvas()->GetHandle(), CI.X + Offset.x, CI.Y + Offset.y, SRCCOPY);
}

// The strips of a parent bitmap that FillRect marks as real, the rest its colour.
void CopyParentStrips(TBitmap* Bmp, const TRect& R, const TCacheInfo& CI, const TPoint& Offset)
{
    const int w = R.right - R.left, h = R.bottom - R.top;
    const TRect a(Offset.x, Offset.y, Offset.x + w, Offset.y + h);
    const TRect& fr = CI.FillRect;
    const int bw = CI.Bmp->GetWidth(), bh = CI.Bmp->GetHeight();
    const int l = fr.left - CI.X > 0 && fr.left > a.left ? std::min<int>(fr.left - a.left, w) : 0;
    const int t = fr.top - CI.Y > 0 && fr.top > a.top ? std::min<int>(fr.top - a.top, h) : 0;
    const int r = fr.right > 0 && bw - fr.right < a.right && a.right < bw ? std::min<int>(a.right + fr.right - bw, w) : 0;
    const int b = fr.bottom > 0 && bh - fr.bottom < a.bottom && a.bottom < bh ? std::min<int>(a.bottom + fr.bottom - bh, h)
                                                                              : 0;
    HDC dst = Bmp->GetCanvas()->GetHandle(), src = CI.Bmp->GetCanvas()->GetHandle();
    if (l > 0)
        BitBlt(dst, R.left, R.top, l, h, src, CI.X + Offset.x, CI.Y + Offset.y, SRCCOPY);
    if (t > 0)
        BitBlt(dst, R.left, R.top, w, t, src, CI.X + Offset.x, CI.Y + Offset.y, SRCCOPY);
    if (r > 0)
        BitBlt(dst, R.right - r, R.top, r, h, src, CI.X + a.right - r, CI.Y + Offset.y, SRCCOPY);
    if (b > 0)
        BitBlt(dst, R.left, R.bottom - b, w, b, src, CI.X + Offset.x, CI.Y + a.bottom - b, SRCCOPY);
    FillBitmap32Rect(Bmp, TRect(R.left + l, R.top + t, R.right - r, R.bottom - b),
                     static_cast<TColor>(ColorToRGB(CI.FillColor)), 255);
}

// Transparency T over the parent: the fill painted apart, then mixed.
void PaintOverParent(TBitmap* Bmp, const TRect& R, const TFill& Fill, int T, const TCacheInfo& CI,
                     const TPoint& Offset)
{
    TOwned<TBitmap> temp(MakeBitmap32(R.right - R.left, R.bottom - R.top));
    const TRect whole(0, 0, temp->GetWidth(), temp->GetHeight());
    Fill.Paint(temp.get(), whole);
    if (!CI.Ready)
        FillBitmap32Rect(Bmp, R, static_cast<TColor>(ColorToRGB(CI.FillColor)), 255);
    else if (CI.Bmp && CI.Bmp != Bmp)
        CopyParentBitmap(Bmp, R, CI, Offset);
    BlendRectUniform(Bmp, temp.get(), static_cast<Byte>(T * 255 / 100), R.TopLeft(), Inclusive(whole));
}

void PaintCornerImages(const TsGeneralData& Section, TsSkinManager* M, TBitmap* Bmp, const TRect& R)
{
    const TCacheInfo self = MakeCacheInfo(Bmp, 0, 0);
    const struct {
        int Index;
        bool Right, Bottom;
    } corners[] = {{Section.ImgTL, false, false}, {Section.ImgTR, true, false}, {Section.ImgBL, false, true},
                   {Section.ImgBR, true, true}};
    for (const auto& c : corners) {
        if (!M->IsValidImgIndex(c.Index))
            continue;
        const TsMaskData& image = M->ma[static_cast<std::size_t>(c.Index)];
        const int x = c.Right ? R.right - image.Width : R.left, y = c.Bottom ? R.bottom - image.Height : R.top;
        DrawSkinImageAt(Bmp, TRect(x, y, x + image.Width, y + image.Height), 0, 1, image, self);
    }
}

bool InsideBitmap(const TRect& R, TBitmap* Bmp)
{
    return R.left >= 0 && R.top >= 0 && R.right <= Bmp->GetWidth() && R.bottom <= Bmp->GetHeight();
}

TCacheInfo Moved(TCacheInfo CI, const TPoint& Offset)
{
    CI.X += Offset.x;
    CI.Y += Offset.y;
    return CI;
}

// A tile at (X, Y) cut to Clip.
void BltTile(HDC Dst, HDC Src, int X, int Y, int W, int H, int SrcX, int SrcY, const TRect& Clip)
{
    const int l = std::max<int>(X, Clip.left), t = std::max<int>(Y, Clip.top);
    const int r = std::min<int>(X + W, Clip.right), b = std::min<int>(Y + H, Clip.bottom);
    if (r > l && b > t)
        BitBlt(Dst, l, t, r - l, b - t, Src, SrcX + (l - X), SrcY + (t - Y), SRCCOPY);
}

} // namespace

// ---------------------------------------------------------------------------
void PaintSkinBackground(int SkinIndex, const TCacheInfo& CI, int State, const TRect& R, const TPoint& Offset,
                         TBitmap* Bmp, TsSkinManager* SkinManager, int TextureIndex, int HotTextureIndex,
                         TColor CustomColor)
{
    TsSkinManager* m = ManagerOr(SkinManager);
    if (!m || !Bmp || !m->IsValidSkinIndex(SkinIndex))
        return;
    const TsGeneralData& section = m->gd[static_cast<std::size_t>(SkinIndex)];
    State = std::min(ClampState(section, State), 2);
    const TsGenState& p = section.Props[State];
    TFill fill{m, CustomColor};
    fill.CI = CI;
    int t = 0;
    bool overlay = false;
    if (CustomColor == NoCustomColor) {
        overlay = IsOverlay(p.GradientArray);
        fill.C = p.Color;
        t = p.Transparency;
        if (t < 100) {
            fill.IP = p.ImagePercent;
            fill.GP = overlay ? 0 : p.GradientPercent;
            if (fill.IP > 0 && TextureIndex < 0)
                TextureIndex = p.TextureIndex;
        }
        if (fill.GP > 0 || overlay)
            fill.G = p.GradientArray;
    }
    fill.TextureIndex = TextureIndex;
    if (CI.Ready || CI.FillColor != clFuchsia) {
        if (t == 0) {
            fill.Paint(Bmp, R);
        } else if (t == 100) {
            if (CI.Ready && CI.Bmp) {
                if (CI.Bmp != Bmp)
                    CopyParentBitmap(Bmp, R, CI, Offset);
            } else if (!CI.Bmp) {
                FillBitmap32Rect(Bmp, R, static_cast<TColor>(ColorToRGB(CI.FillColor)), 255);
            } else {
                CopyParentStrips(Bmp, R, CI, Offset);
            }
        } else if (CI.Ready || fill.GP + fill.IP > 0) {
            PaintOverParent(Bmp, R, fill, t, CI, Offset);
        } else {
            FillBitmap32Rect(Bmp, R, static_cast<TColor>(MixColors(ColorToRGB(CI.FillColor), ColorToRGB(fill.C),
                                                                   static_cast<Byte>(t * 255 / 100)) & 0xFFFFFF),
                             255);
        }
    } else {
        fill.Paint(Bmp, R);
    }
    if (overlay)
        PaintGradient(Bmp, R, fill.G);
    if (TextureIndex < 0)
        TextureIndex = p.TextureIndex;
    const int last = State != 0 ? HotTextureIndex : TextureIndex;
    if (m->IsValidImgIndex(last)) {
        const TsMaskData& texture = m->ma[static_cast<std::size_t>(last)];
        if (texture.MaskType > 0 && texture.DrawMode == 10) {
            TRect area = R;
            PaintTextureWithMask(Bmp, area, Moved(CI, Offset), 10, texture);
        }
    }
}

void PaintSkinBackgroundSimple(int SkinIndex, int TextureIndex, TsSkinManager* SkinManager, TBitmap* Bmp,
                               const TPoint& Offset, const TRect& R, int State, const TCacheInfo& CI)
{
    TsSkinManager* m = ManagerOr(SkinManager);
    if (!m || !Bmp || !m->IsValidSkinIndex(SkinIndex))
        return;
    const TsGenState& p = m->gd[static_cast<std::size_t>(SkinIndex)].Props[std::max(0, std::min(State, 2))];
    const bool overlay = IsOverlay(p.GradientArray);
    TFill fill{m, p.Color};
    fill.CI = CI;
    fill.Simple = true;
    fill.IP = p.ImagePercent;
    fill.GP = overlay ? 0 : p.GradientPercent;
    fill.TextureIndex = TextureIndex >= 0 ? TextureIndex : p.TextureIndex;
    if (fill.GP > 0 || overlay)
        fill.G = p.GradientArray;
    const int t = p.Transparency;
    fill.ParentOnly = !CI.Ready && t == 100;
    if (!CI.Ready || t == 0) {
        fill.Paint(Bmp, R);
    } else if (t < 100) {
        TOwned<TBitmap> temp(MakeBitmap32(R.right - R.left, R.bottom - R.top));
        const TRect whole(0, 0, temp->GetWidth(), temp->GetHeight());
        fill.Paint(temp.get(), whole);
        if (CI.Bmp && CI.Bmp != Bmp)
            CopyParentBitmap(Bmp, R, CI, Offset);
        BlendRectUniform(Bmp, temp.get(), static_cast<Byte>(t * 255 / 100), R.TopLeft(), Inclusive(whole));
    } else if (CI.Bmp && CI.Bmp != Bmp) {
        CopyParentBitmap(Bmp, R, CI, Offset);
    }
    if (overlay)
        PaintGradient(Bmp, R, fill.G);
}

void PaintSkinItem(int SkinIndex, const TCacheInfo& CI, int State, const TRect& R, const TPoint& Offset,
                   TBitmap* Bmp, TsSkinManager* SkinManager, int TextureIndex, int HotTextureIndex)
{
    TsSkinManager* m = ManagerOr(SkinManager);
    if (!Bmp || R.IsEmpty() || !m || !m->IsValidSkinIndex(SkinIndex) || !InsideBitmap(R, Bmp))
        return;
    const TsGeneralData& section = m->gd[static_cast<std::size_t>(SkinIndex)];
    State = ClampState(section, State);
    PaintSkinBackground(SkinIndex, CI, State, R, Offset, Bmp, m, TextureIndex, HotTextureIndex, NoCustomColor);
    PaintCornerImages(section, m, Bmp, R);
    if (m->IsValidImgIndex(section.BorderIndex))
        PaintSkinImage(Bmp, R, Moved(CI, Offset), m->ma[static_cast<std::size_t>(section.BorderIndex)], State, true);
}

void PaintSkinItemWithBorderImage(int SkinIndex, int BorderIndex, int TextureIndex, const TCacheInfo& CI, int State,
                                  const TRect& R, const TPoint& Offset, TBitmap* Bmp, TsSkinManager* SkinManager)
{
    TsSkinManager* m = ManagerOr(SkinManager);
    if (!Bmp || !m || !m->IsValidSkinIndex(SkinIndex) || !InsideBitmap(R, Bmp))
        return;
    State = ClampState(m->gd[static_cast<std::size_t>(SkinIndex)], State);
    PaintSkinBackgroundSimple(SkinIndex, TextureIndex, m, Bmp, Offset, R, State, CI);
    if (m->IsValidImgIndex(BorderIndex))
        PaintSkinImage(Bmp, R, Moved(CI, Offset), m->ma[static_cast<std::size_t>(BorderIndex)], State, true);
}

void PaintSkinItemToDC(int SkinIndex, const TCacheInfo& CI, int State, const TRect& R, const TPoint& Offset, HDC DC,
                       TsSkinManager* SkinManager)
{
    TsSkinManager* m = ManagerOr(SkinManager);
    if (!m || !m->IsValidSkinIndex(SkinIndex) || R.left < 0 || R.top < 0 || R.IsEmpty())
        return;
    const TSavedDC saved(DC);
    TOwned<TBitmap> temp(MakeBitmap32(R.right - R.left, R.bottom - R.top));
    PaintSkinItem(SkinIndex, CI, State, TRect(0, 0, temp->GetWidth(), temp->GetHeight()), Offset, temp.get(), m);
    BitBlt(DC, R.left, R.top, temp->GetWidth(), temp->GetHeight(), temp->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
}

int PaintSkinItemFromDC(TBitmap* Bmp, int Index, int FallbackIndex, int State, TsSkinManager* SkinManager,
                        const TRect& R, TColor FillColor, HDC SrcDC)
{
    if (Index < 0)
        Index = FallbackIndex;
    if (Index < 0 || !Bmp)
        return Index;
    TCacheInfo ci;
    ci.FillColor = FillColor;
    if (SrcDC) {
        BitBlt(Bmp->GetCanvas()->GetHandle(), 0, 0, Bmp->GetWidth(), Bmp->GetHeight(), SrcDC, R.left, R.top, SRCCOPY);
        ci.Bmp = Bmp;
        ci.X = ci.Y = 0;
        ci.Ready = true;
    }
    PaintSkinItem(Index, ci, State, BitmapRect(Bmp), TPoint(0, 0), Bmp, SkinManager);
    return Index;
}

void PaintControlBackground(TsCommonData* SkinData, const TCacheInfo& CI, int State, const TRect& R,
                            const TPoint& Offset, TBitmap* Bmp)
{
    if (!SkinData)
        return;
    TsSkinManager* m = SkinData->GetSkinManager();
    if (!m || !m->IsValidSkinIndex(SkinData->SkinIndex))
        return;
    TColor custom = NoCustomColor;
    if (SkinData->FCustomColor) {
        if (auto* provider = dynamic_cast<TsSkinProvider*>(SkinData->FOwnerObject); provider && provider->Form)
            custom = ColorToSkinColor(provider->Form->GetColor(), m);
        else if (SkinData->FOwnerControl)
            custom = ColorToSkinColor(SkinData->FOwnerControl->GetColor(), m);
    }
    State = ClampState(m->gd[static_cast<std::size_t>(SkinData->SkinIndex)], State);
    PaintSkinBackground(SkinData->SkinIndex, CI, State, R, Offset, Bmp, m, -1, -1, custom);
}

void PaintControlSkin(TsCommonData* SkinData, const TCacheInfo& CI, int State, const TRect& R, const TPoint& Offset,
                      TBitmap* Bmp, bool BorderFlag)
{
    if (!SkinData || !Bmp)
        return;
    TsSkinManager* m = SkinData->GetSkinManager();
    if (!m || !m->IsValidSkinIndex(SkinData->SkinIndex) || !RectInRect(BitmapRect(Bmp), R, true))
        return;
    const TsGeneralData& section = m->gd[static_cast<std::size_t>(SkinData->SkinIndex)];
    State = ClampState(section, State);
    PaintControlBackground(SkinData, CI, State, R, Offset, Bmp);
    PaintCornerImages(section, m, Bmp, R);
    bool effects = false;
    const bool border = m->IsValidImgIndex(SkinData->BorderIndex);
    if (border && !(State == 0 && (m->ma[static_cast<std::size_t>(SkinData->BorderIndex)].DrawMode & dmNoState0))) {
        PaintSkinImage(Bmp, R, Moved(CI, Offset), m->ma[static_cast<std::size_t>(SkinData->BorderIndex)], State,
                       BorderFlag);
        effects = true;
    } else {
        effects = section.Props[std::min(State, 2)].Transparency == 0;
    }
    if (!effects)
        return;
    if (SkinData->FColorTone != clNone)
        ForEachBitmapPixel(Bmp, TonePixelProc, ColorToSkinColor(SkinData->FColorTone, m), clFuchsia);
    if (SkinData->FHUEOffset != 0)
        ForEachBitmapPixel(Bmp, HuePixelProc, SkinData->FHUEOffset, clFuchsia);
    if (SkinData->FSaturation != 0)
        ForEachBitmapPixel(Bmp, SaturationPixelProc, SkinData->FSaturation, clFuchsia);
}

// ---------------------------------------------------------------------------
void PaintTexture(TCanvas* Canvas, TRect& R, int Mode, const TsMaskData& MaskData)
{
    TBitmap* src = ImageBitmap(MaskData);
    const int w = MaskData.R.right - MaskData.R.left, h = MaskData.R.bottom - MaskData.R.top;
    // An empty tile would never advance: the whole of R stays for the colour.
    if (!Canvas || !src || w <= 0 || h <= 0 || R.IsEmpty())
        return;
    HDC dc = Canvas->GetHandle(), sdc = src->GetCanvas()->GetHandle();
    SetStretchBltMode(dc, COLORONCOLOR);
    const int sx = MaskData.R.left, sy = MaskData.R.top;
    const TRect r = R;
    auto tiles = [&](const TRect& Area, int Bottom) {
        for (int y = Area.top; y < Bottom; y += h)
            for (int x = Area.left; x < Area.right; x += w)
                BltTile(dc, sdc, x, y, w, h, sx, sy, Area);
    };
    switch (Mode) {
    case 0:
        tiles(r, r.bottom);
        R = NoRect;
        break;
    case 1:
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, sdc, sx, sy, w, h, SRCCOPY);
        R = NoRect;
        break;
    case 2:
        tiles(TRect(r.left, r.top, r.right, std::min<int>(r.top + h, r.bottom)), r.top + 1);
        R = TRect(r.left, r.top + h, r.right, r.bottom);
        break;
    case 3:
        for (int y = r.top; y < r.bottom; y += h)
            BltTile(dc, sdc, r.left, y, w, h, sx, sy, r);
        R = TRect(r.left + w, r.top, r.right, r.bottom);
        break;
    case 4:
        StretchBlt(dc, r.left, r.top, r.right - r.left, std::min<int>(h, r.bottom - r.top), sdc, sx, sy, w,
                   std::min<int>(h, r.bottom - r.top), SRCCOPY);
        R = TRect(r.left, r.top + h, r.right, r.bottom);
        break;
    case 5:
        StretchBlt(dc, r.left, r.top, std::min<int>(w, r.right - r.left), r.bottom - r.top, sdc, sx, sy,
                   std::min<int>(w, r.right - r.left), h, SRCCOPY);
        R = TRect(r.left + w, r.top, r.right, r.bottom);
        break;
    case 6:
        for (int x = r.left; x < r.right; x += w)
            BltTile(dc, sdc, x, r.bottom - h, w, h, sx, sy, r);
        R = TRect(r.left, r.top, r.right, r.bottom - h);
        break;
    case 7:
        for (int y = r.top; y < r.bottom; y += h)
            BltTile(dc, sdc, r.right - w, y, w, h, sx, sy, r);
        R = TRect(r.left, r.top, r.right - w, r.bottom);
        break;
    case 10:
        // The last row, whole or partial, stays for the caller.
        tiles(r, r.bottom - h);
        R = NoRect;
        break;
    case 11:
        for (int y = r.top; y < r.bottom; y += h) {
            const int rowHeight = std::min<int>(h, r.bottom - y);
            StretchBlt(dc, r.left, y, r.right - r.left, rowHeight, sdc, sx, sy, w, rowHeight, SRCCOPY);
        }
        R = NoRect;
        break;
    case 12:
        for (int x = r.left; x < r.right; x += w) {
            const int columnWidth = std::min<int>(w, r.right - x);
            StretchBlt(dc, x, r.top, columnWidth, r.bottom - r.top, sdc, sx, sy, columnWidth, h, SRCCOPY);
        }
        R = NoRect;
        break;
    case 13:
        for (int y = r.bottom - h; y > r.top - h; y -= h)
            for (int x = r.right - w; x > r.left - w; x -= w)
                BltTile(dc, sdc, x, y, w, h, sx, sy, r);
        R = NoRect;
        break;
    default:
        tiles(r, r.bottom);
        R = TRect(r.right - w, r.top, r.right, r.bottom);
        break;
    }
}

void PaintTextureWithMask(TBitmap* Bmp, TRect& R, const TCacheInfo& CI, int Mode, const TsMaskData& MaskData)
{
    TBitmap* src = ImageBitmap(MaskData);
    const int w = MaskData.Width, a = (MaskData.R.bottom - MaskData.R.top) / 2;
    if (!Bmp || !MaskData.Manager || !src || w <= 0 || a <= 0 || (Mode != 0 && Mode != 10))
        return;
    const TRect r = R;
    const TRect tile(MaskData.R.left, MaskData.R.top, MaskData.R.left + w, MaskData.R.top + a);
    const int right = Mode == 10 ? r.right - w : r.right;
    int x = r.left, y = r.top;
    for (; y < r.bottom - a; y += a)
        for (x = r.left; x < right; x += w)
            PaintMaskedPiece(TRect(x, y, std::min<int>(x + w, r.right), y + a), tile, Bmp, MaskData, CI, src);
    if (Mode == 10) {
        if (y == r.top)
            x = r.left;
        auto background = [&](const TRect& Strip) {
            if (Strip.IsEmpty())
                return;
            if (CI.Ready && CI.Bmp)
                BitBlt(Bmp->GetCanvas()->GetHandle(), Strip.left, Strip.top, Strip.right - Strip.left,
                       Strip.bottom - Strip.top, CI.Bmp->GetCanvas()->GetHandle(), Strip.left + CI.X,
                       Strip.top + CI.Y, SRCCOPY);
            else
                FillRectColor(Bmp, Strip, CI.FillColor);
        };
        background(TRect(r.left, y, r.right, r.bottom));
        background(TRect(x, r.top, r.right, r.bottom));
    }
    R = NoRect;
}

void PaintBitmapByMargins(TBitmap* Dst, TBitmap* Src, const TRect& D, const TRect& S, const TRect& M,
                          const TRect& Lim, const TEdgeModes& EdgeModes, bool StretchCentre, bool FillCentre)
{
    if (!Dst || !Src)
        return;
    HDC dc = Dst->GetCanvas()->GetHandle(), sdc = Src->GetCanvas()->GetHandle();
    SetStretchBltMode(dc, COLORONCOLOR);
    const int dL = std::min(M.left, Lim.left), dT = std::min(M.top, Lim.top);
    const int dR = std::min(M.right, Lim.right), dB = std::min(M.bottom, Lim.bottom);
    auto blt = [&](int x, int y, int w, int h, int sx, int sy) {
        if (w > 0 && h > 0)
            BitBlt(dc, x, y, w, h, sdc, sx, sy, SRCCOPY);
    };
    // Corners as L shapes: the full margin along the outer edge, the limited one inwards.
    blt(D.left, D.top, M.left, dT, S.left, S.top);
    if (dT != M.top)
        blt(D.left, D.top + dT, dL, M.top - dT, S.left, S.top + dT);
    blt(D.right - M.right, D.top, M.right, dT, S.right - M.right, S.top);
    if (dT != M.top)
        blt(D.right - dR, D.top + dT, dR, M.top - dT, S.right - dR, S.top + dT);
    blt(D.left, D.bottom - dB, M.left, dB, S.left, S.bottom - dB);
    if (dB != M.bottom)
        blt(D.left, D.bottom - M.bottom, dL, M.bottom - dB, S.left, S.bottom - M.bottom);
    blt(D.right - M.right, D.bottom - dB, M.right, dB, S.right - M.right, S.bottom - dB);
    if (dB != M.bottom)
        blt(D.right - dR, D.bottom - M.bottom, dR, M.bottom - dB, S.right - dR, S.bottom - M.bottom);

    const int cw = std::max(0, int(S.right - S.left) - int(M.right) - int(M.left));
    const int ch = std::max(0, int(S.bottom - S.top) - int(M.bottom) - int(M.top));
    const int dw = (D.right - M.right) - (D.left + M.left), dh = (D.bottom - M.bottom) - (D.top + M.top);
    auto along = [&](bool Stretch, bool Horizontal, int x, int y, int thickness, int sx, int sy) {
        const int length = Horizontal ? dw : dh, source = Horizontal ? cw : ch;
        if (thickness <= 0 || length <= 0)
            return;
        if (Stretch) {
            if (Horizontal)
                StretchBlt(dc, x, y, length, thickness, sdc, sx, sy, source, thickness, SRCCOPY);
            else
                StretchBlt(dc, x, y, thickness, length, sdc, sx, sy, thickness, source, SRCCOPY);
            return;
        }
        for (int pos = 0; pos < length; pos += source) {
            const int part = std::min(source, length - pos);
            if (Horizontal)
                blt(x + pos, y, part, thickness, sx, sy);
            else
                blt(x, y + pos, thickness, part, sx, sy);
        }
    };
    if (ch != 0)
        along(EdgeModes.left == 1, false, D.left, D.top + M.top, dL, S.left, S.top + M.top);
    if (cw != 0)
        along(EdgeModes.top == 1, true, D.left + M.left, D.top, dT, S.left + M.left, S.top);
    if (ch != 0)
        along(EdgeModes.right == 1, false, D.right - dR, D.top + M.top, dR, S.right - dR, S.top + M.top);
    if (cw != 0)
        along(EdgeModes.bottom == 1, true, D.left + M.left, D.bottom - dB, dB, S.left + M.left, S.bottom - dB);
    if (!FillCentre || dw <= 0 || dh <= 0)
        return;
    if (StretchCentre) {
        StretchBlt(dc, D.left + M.left, D.top + M.top, dw, dh, sdc, S.left + M.left, S.top + M.top, cw, ch, SRCCOPY);
    } else if (cw != 0 && ch != 0) {
        const TRect area(D.left + M.left, D.top + M.top, D.right - M.right, D.bottom - M.bottom);
        for (int y = area.top; y < area.bottom; y += ch)
            for (int x = area.left; x < area.right; x += cw)
                BltTile(dc, sdc, x, y, cw, ch, S.left + M.left, S.top + M.top, area);
    }
}

void BitBltBorder(HDC DstDC, int X, int Y, int W, int H, HDC SrcDC, int SrcX, int SrcY, int B)
{
    // The copies reach past the W x H area; the destination's clip keeps them in.
    BitBlt(DstDC, X, Y, B, H, SrcDC, SrcX, SrcY, SRCCOPY);
    BitBlt(DstDC, X + B, Y, W, B, SrcDC, SrcX + B, SrcY, SRCCOPY);
    BitBlt(DstDC, W - B, Y + B, W, H, SrcDC, SrcX + W - B, SrcY + B, SRCCOPY);
    BitBlt(DstDC, X + B, H - B, W - B, H, SrcDC, SrcX + B, SrcY + H - B, SRCCOPY);
}

void ExcludeControlsFromClip(HDC DC, TWinControl* WinControl, int DX, int DY)
{
    if (!WinControl)
        return;
    const bool graphicToo = DefaultManager && !DefaultManager->Options.StdImgTransparency;
    for (int i = 0; i < WinControl->ControlCount(); ++i) {
        TControl* c = WinControl->Controls(i);
        if (!c->GetVisible() || (!dynamic_cast<TWinControl*>(c) && !graphicToo))
            continue;
        ExcludeClipRect(DC, DX + c->GetLeft(), DY + c->GetTop(), DX + c->GetLeft() + c->GetWidth(),
                        DY + c->GetTop() + c->GetHeight());
    }
}

void AddCornerKeyRects(TRects& Rects, int Width, const TsMaskData& MaskData, bool Bottom, int Y)
{
    TBitmap* bmp = ImageBitmap(MaskData);
    // MaskType -1: the image has no rows to divide.
    if (!MaskData.Manager || !bmp || MaskData.MaskType < 0)
        return;
    TPixelRows rows = PixelRows32(bmp);
    if (!rows)
        return;
    const int sh = Bottom ? MaskData.WB : MaskData.WT;
    const int first = MaskData.R.top +
                      (Bottom ? (MaskData.R.bottom - MaskData.R.top) / (MaskData.MaskType + 1) - MaskData.WB : 0);
    if (first < 0 || rows.Height < first + sh)
        return;
    auto runs = [&](int Row, int From, int To, int RowY, auto PlaceX) {
        int start = -1;
        for (int c = From; c <= To + 1; ++c) {
            const bool key = c <= To && c >= 0 && c < rows.Width && rows.Row(Row)[c] == FuchsiaPixel;
            if (key && start < 0)
                start = c;
            else if (!key && start >= 0) {
                Rects.push_back(TRect(PlaceX(start), RowY, PlaceX(start) + (c - start), RowY + 1));
                start = -1;
            }
        }
    };
    const int left = MaskData.R.left;
    for (int i = 0; i < sh; ++i) {
        const int row = first + i;
        runs(row, left, left + MaskData.WL - 1, Y + i, [&](int c) { return c - left; });
        runs(row, left + MaskData.Width - MaskData.WR, left + MaskData.Width - 1, Y + i,
             [&](int c) { return Width - (MaskData.Width - (c - left)); });
    }
}

// ---------------------------------------------------------------------------
void PaintSectionBackground32(int SkinIndex, int State, const TRect& Rect, TBitmap* Bitmap,
                              TsSkinManager* SkinManager, TColor KeyColor)
{
    TsSkinManager* m = ManagerOr(SkinManager);
    if (!m || !Bitmap || !m->IsValidSkinIndex(SkinIndex))
        return;
    const TsGenState& p = m->gd[static_cast<std::size_t>(SkinIndex)].Props[std::max(0, std::min(State, 2))];
    const bool own = KeyColor == clFuchsia;
    const int t = own ? p.Transparency : 0;
    const bool whole = Rect == BitmapRect(Bitmap);
    if (t == 100) {
        if (whole)
            FillBitmap32Rect(Bitmap, Rect, 0, 0);
        return;
    }
    const TColor c = own ? p.Color : KeyColor;
    const int ip = own ? p.ImagePercent : 0, gp = own ? p.GradientPercent : 0;
    TsGradArray g = own ? p.GradientArray : TsGradArray();
    const int textureIndex = own ? p.TextureIndex : -1;
    const TsMaskData* texture = m->IsValidImgIndex(textureIndex) ? &m->ma[static_cast<std::size_t>(textureIndex)] : nullptr;
    const Byte alpha = static_cast<Byte>(std::lround((100 - t) * 255 / 100.0));
    if (ip + gp == 100 && gp >= 1 && gp <= 99 && texture && texture->DrawMode == 0 && !g.empty() && g[0].Mode < 2) {
        PaintGradientTexture(Bitmap, Rect, g, ImageBitmap(*texture), texture->R, static_cast<Byte>(ip * 255 / 100),
                             alpha);
        return;
    }
    const bool textured = ip > 0 && texture;
    if (textured) {
        TRect left = Rect;
        if (texture->MaskType != 0)
            PaintTextureWithMask(Bitmap, left, TCacheInfo(), texture->DrawMode, *texture);
        else
            PaintTexture(Bitmap->GetCanvas(), left, texture->DrawMode, *texture);
        if (left.right != -1)
            FillBitmap32Rect(Bitmap, left, static_cast<TColor>(ColorToRGB(c)), 255);
    }
    if (gp > 0) {
        if (!g.empty() && !(g[0].Mode & 0x10)) {
            for (TsGradPoint& point : g)
                point.Color.A = static_cast<Byte>((100 - t) * 255 / 100);
            g[0].Mode |= 0x10;
        }
        if (textured) {
            TOwned<TBitmap> temp(MakeBitmap32(Rect.right - Rect.left, Rect.bottom - Rect.top));
            const TRect all(0, 0, temp->GetWidth(), temp->GetHeight());
            if (!g.empty())
                PaintGradient(temp.get(), all, g);
            else
                FillBitmap32Rect(temp.get(), all, static_cast<TColor>(ColorToRGB(c)), 255);
            BlendRectUniform(Bitmap, temp.get(), static_cast<Byte>(ip * 255 / 100), Rect.TopLeft(), Inclusive(all));
        } else if (!g.empty()) {
            PaintGradient(Bitmap, Rect, g);
        } else {
            FillBitmap32Rect(Bitmap, Rect, static_cast<TColor>(ColorToRGB(c)), alpha);
        }
    }
    const int shares = (textured ? ip : 0) + gp;
    if (shares >= 1 && shares <= 99)
        BlendColorIntoRect(Bitmap, Inclusive(Rect), static_cast<Byte>(shares * 255 / 100), c);
    if (textured || gp > 0)
        return;
    const Cardinal first = GetBitmap32Pixel(Bitmap, Rect.left, Rect.top);
    if (first == 0)
        FillBitmap32Rect(Bitmap, Rect, static_cast<TColor>(ColorToRGB(c)), alpha);
    else if (t == 0)
        FillBitmap32Rect(Bitmap, Rect, static_cast<TColor>(ColorToRGB(c)), 255);
    else
        TintRectToColor(Bitmap, Rect, c, 100 - t, std::max<Byte>(static_cast<Byte>(first >> 24), alpha));
}

void PaintSkinSectionOnBitmap32(int SkinIndex, int State, const TRect& Rect, TBitmap* Bitmap,
                                TsSkinManager* SkinManager)
{
    TsSkinManager* m = ManagerOr(SkinManager);
    if (!Bitmap || Rect.IsEmpty() || !m || !m->IsValidSkinIndex(SkinIndex) || !InsideBitmap(Rect, Bitmap))
        return;
    const TsGeneralData& section = m->gd[static_cast<std::size_t>(SkinIndex)];
    State = ClampState(section, State);
    TOwned<TBitmap> copy(MakeBitmap32(Rect.right - Rect.left + 1, Rect.bottom - Rect.top + 1));
    BitBlt(copy->GetCanvas()->GetHandle(), 0, 0, copy->GetWidth(), copy->GetHeight(), Bitmap->GetCanvas()->GetHandle(),
           Rect.left, Rect.top, SRCCOPY);
    PaintSectionBackground32(SkinIndex, std::min(State, 2), Rect, Bitmap, m, clFuchsia);
    if (m->IsValidImgIndex(section.BorderIndex)) {
        TCacheInfo ci = MakeCacheInfo(copy.get(), -Rect.left, -Rect.top);
        PaintSkinImageAlpha(Bitmap, Rect, ci, m->ma[static_cast<std::size_t>(section.BorderIndex)], State);
    }
    if (Rect == BitmapRect(Bitmap))
        PremultiplyBitmap32Rect(Bitmap, Rect);
}
