// Skin sections painted into 32-bit bitmaps: transparency, texture and
// gradient shares over a ready or plain parent, textures by draw mode, whole
// sections with alpha, bitmaps by margins and corner key rectangles.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "sSkinImage.h"
#include "sSkinSection.h"

namespace {

Cardinal Place(int x, int y) { return 0xFF000000u | (Cardinal(x) << 8) | Cardinal(y); }
Cardinal Rgb(TBitmap* bmp, int x, int y) { return GetBitmap32Pixel(bmp, x, y) & 0xFFFFFF; }
// A TColor as the pixel it paints.
Cardinal Px(TColor c) { return SwapRedBlue(static_cast<Cardinal>(c)) & 0xFFFFFF; }

struct Skin {
    // The manager frees its images' bitmaps.
    TOwned<TsSkinManager> manager{New<TsSkinManager>(nullptr)};

    int AddSection(TColor c0, TColor c1, TColor c2, int states = 3)
    {
        TsGeneralData data;
        data.States = states;
        data.Props[0].Color = c0;
        data.Props[1].Color = c1;
        data.Props[2].Color = c2;
        manager->gd.push_back(data);
        return static_cast<int>(manager->gd.size() - 1);
    }
    TsGenState& State(int section, int state) { return manager->gd[section].Props[state]; }
    // A texture of w x h whose pixels name their place; masked: black mask below.
    int AddTexture(int w, int h, int drawMode, bool masked = false, Cardinal maskValue = 0xFF000000u)
    {
        TOwned<TBitmap> bmp = Bitmap32(w, masked ? 2 * h : h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                SetBitmap32Pixel(bmp.get(), x, y, Place(x, y));
                if (masked)
                    SetBitmap32Pixel(bmp.get(), x, y + h, maskValue);
            }
        TsMaskData m;
        m.Bmp = bmp.release();
        m.Manager = manager.get();
        m.R = TRect(0, 0, w, masked ? 2 * h : h);
        m.Width = w;
        m.Height = h;
        m.ImageCount = 1;
        m.MaskType = masked ? 1 : 0;
        m.DrawMode = static_cast<std::int16_t>(drawMode);
        manager->ma.push_back(m);
        return static_cast<int>(manager->ma.size() - 1);
    }
};

TsGradArray FlatGradient(TColor c)
{
    TsGradArray g(2);
    g[0].Color.C = c;
    g[0].Percent = 100;
    g[1].Color.C = c;
    g[1].Index = 1;
    return g;
}

TEST(SkinSection, BackgroundSharesOverParents)
{
    const TColor C = 0x204080, P = 0x806040, G = 0x10F010;
    Skin skin;
    TOwned<TBitmap> parent = Bitmap32(20, 20, 0xFF000000 | Px(P));
    const TCacheInfo ready = MakeCacheInfo(parent.get(), 2, 3);
    TCacheInfo plain;
    plain.FillColor = P;
    const TCacheInfo none;
    struct Case {
        const char* Name;
        int Transparency, ImagePercent, GradientPercent;
        bool Gradient;
        TCacheInfo CI;
        TColor Custom;
        Cardinal Expected;
        int Tolerance;
    } cases[] = {
        {"opaque over nothing", 0, 0, 0, false, none, NoCustomColor, Px(C), 0},
        {"opaque over a parent", 0, 0, 0, false, ready, NoCustomColor, Px(C), 0},
        {"transparent over a ready parent", 100, 0, 0, false, ready, NoCustomColor, Px(P), 0},
        {"transparent over a plain parent", 100, 0, 0, false, plain, NoCustomColor, Px(P), 0},
        {"half over a plain parent", 50, 0, 0, false, plain, NoCustomColor,
         MixColors(Px(P), Px(C), 127) & 0xFFFFFF, 0},
        {"half over a ready parent", 50, 0, 0, false, ready, NoCustomColor,
         MixColors(Px(P), Px(C), 127) & 0xFFFFFF, 2},
        {"whole gradient", 0, 0, 100, true, none, NoCustomColor, Px(G), 1},
        {"half gradient, half colour", 0, 0, 50, true, none, NoCustomColor,
         MixColors(Px(G), Px(C), 127) & 0xFFFFFF, 2},
        {"custom colour ignores the rest", 100, 0, 50, true, ready, 0x00AA55, Px(0x00AA55), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const int s = skin.AddSection(C, C, C);
        skin.State(s, 0).Transparency = c.Transparency;
        skin.State(s, 0).GradientPercent = c.GradientPercent;
        if (c.Gradient)
            skin.State(s, 0).GradientArray = FlatGradient(G);
        TOwned<TBitmap> bmp = Bitmap32(10, 10, 0xFF000000);
        PaintSkinBackground(s, c.CI, 0, TRect(1, 1, 9, 9), TPoint(0, 0), bmp.get(), skin.manager.get(), -1, -1,
                            c.Custom);
        EXPECT_TRUE(PixelNear(Rgb(bmp.get(), 4, 4), c.Expected, c.Tolerance));
        EXPECT_EQ(Rgb(bmp.get(), 0, 0), 0u);
        EXPECT_EQ(Rgb(bmp.get(), 9, 9), 0u);
    }
}

TEST(SkinSection, TransparentSectionOverItselfCopiesNothing)
{
    Skin skin;
    const int s = skin.AddSection(0x123456, 0, 0);
    skin.State(s, 0).Transparency = 100;
    TOwned<TBitmap> bmp = Bitmap32(10, 10, 0xFF0A0B0C);
    PaintSkinBackground(s, MakeCacheInfo(bmp.get(), 3, 3), 0, TRect(0, 0, 5, 5), TPoint(0, 0), bmp.get(),
                        skin.manager.get());
    EXPECT_EQ(Rgb(bmp.get(), 2, 2), 0x0A0B0Cu);
}

TEST(SkinSection, StatesAreClampedToTheSection)
{
    Skin skin;
    const int three = skin.AddSection(0x000011, 0x000022, 0x000033);
    const int one = skin.AddSection(0x000044, 0x000055, 0x000066, 1);
    TOwned<TBitmap> bmp = Bitmap32(4, 4, 0);
    PaintSkinItem(three, TCacheInfo(), 5, TRect(0, 0, 4, 4), TPoint(0, 0), bmp.get(), skin.manager.get());
    EXPECT_EQ(Rgb(bmp.get(), 1, 1), Px(0x000033));
    PaintSkinItem(one, TCacheInfo(), 5, TRect(0, 0, 4, 4), TPoint(0, 0), bmp.get(), skin.manager.get());
    EXPECT_EQ(Rgb(bmp.get(), 1, 1), Px(0x000044));

    // Partly outside the bitmap: nothing.
    TOwned<TBitmap> other = Bitmap32(4, 4, 0);
    PaintSkinItem(three, TCacheInfo(), 0, TRect(-1, 0, 4, 4), TPoint(0, 0), other.get(), skin.manager.get());
    PaintSkinItem(three, TCacheInfo(), 0, TRect(0, 0, 5, 4), TPoint(0, 0), other.get(), skin.manager.get());
    EXPECT_EQ(Rgb(other.get(), 1, 1), 0u);
}

TEST(SkinSection, TextureSharesAndTheBorderImage)
{
    Skin skin;
    const TColor C = 0x404040;
    const int s = skin.AddSection(C, C, C);
    const int texture = skin.AddTexture(4, 4, 0);
    skin.State(s, 0).TextureIndex = texture;
    skin.State(s, 0).ImagePercent = 100;
    TOwned<TBitmap> bmp = Bitmap32(10, 10, 0);
    PaintSkinItem(s, TCacheInfo(), 0, TRect(0, 0, 10, 10), TPoint(0, 0), bmp.get(), skin.manager.get());
    EXPECT_EQ(Rgb(bmp.get(), 5, 6), Place(1, 2) & 0xFFFFFF);

    skin.State(s, 0).ImagePercent = 50;
    PaintSkinItem(s, TCacheInfo(), 0, TRect(0, 0, 10, 10), TPoint(0, 0), bmp.get(), skin.manager.get());
    EXPECT_TRUE(PixelNear(Rgb(bmp.get(), 5, 6), MixColors(Place(1, 2), Px(C), 127) & 0xFFFFFF, 1));

    // A border image over it, corners from a keyed image.
    const int border = skin.AddTexture(6, 6, 0);
    skin.manager->ma[border].WL = skin.manager->ma[border].WT = 2;
    skin.manager->ma[border].WR = skin.manager->ma[border].WB = 2;
    skin.manager->gd[s].BorderIndex = border;
    PaintSkinItem(s, TCacheInfo(), 0, TRect(0, 0, 10, 10), TPoint(0, 0), bmp.get(), skin.manager.get());
    EXPECT_EQ(Rgb(bmp.get(), 0, 0), Place(0, 0) & 0xFFFFFF);
    EXPECT_EQ(Rgb(bmp.get(), 9, 9), Place(5, 5) & 0xFFFFFF);
}

TEST(SkinSection, TextureModesOverTwoAndAHalfTiles)
{
    const TRect R(0, 0, 10, 10);
    const TRect All(-1, -1, -1, -1);
    struct Case {
        int Mode;
        TRect Left;
        std::vector<std::pair<TPoint, Cardinal>> Pixels;
    } cases[] = {
        {0, All, {{{0, 0}, Place(0, 0)}, {{9, 9}, Place(1, 1)}, {{5, 2}, Place(1, 2)}}},
        {1, All, {{{0, 0}, Place(0, 0)}, {{9, 9}, Place(3, 3)}}},
        {2, TRect(0, 4, 10, 10), {{{9, 3}, Place(1, 3)}, {{5, 4}, 0}}},
        {3, TRect(4, 0, 10, 10), {{{3, 9}, Place(3, 1)}, {{4, 5}, 0}}},
        {4, TRect(0, 4, 10, 10), {{{0, 0}, Place(0, 0)}, {{9, 3}, Place(3, 3)}, {{5, 4}, 0}}},
        {5, TRect(4, 0, 10, 10), {{{0, 0}, Place(0, 0)}, {{3, 9}, Place(3, 3)}, {{4, 5}, 0}}},
        {6, TRect(0, 0, 10, 6), {{{0, 6}, Place(0, 0)}, {{9, 9}, Place(1, 3)}, {{5, 5}, 0}}},
        {7, TRect(0, 0, 6, 10), {{{6, 0}, Place(0, 0)}, {{9, 9}, Place(3, 1)}, {{5, 5}, 0}}},
        // Whole rows only: the last, partial row stays unpainted.
        {10, All, {{{9, 7}, Place(1, 3)}, {{9, 8}, 0}}},
        // Stretched rows and columns stop at R's edge.
        {11, All, {{{0, 8}, Place(0, 0)}, {{9, 9}, Place(3, 1)}}},
        {12, All, {{{8, 0}, Place(0, 0)}, {{9, 9}, Place(1, 3)}}},
        // Aligned to the bottom-right: the cut tiles at the left and top show their right and bottom parts.
        {13, All, {{{9, 9}, Place(3, 3)}, {{0, 0}, Place(2, 2)}, {{2, 2}, Place(0, 0)}}},
        {20, TRect(6, 0, 10, 10), {{{9, 9}, Place(1, 1)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Mode);
        Skin skin;
        const int t = skin.AddTexture(4, 4, c.Mode);
        TOwned<TBitmap> bmp = Bitmap32(12, 12, 0);
        TRect r = R;
        PaintTexture(bmp->GetCanvas(), r, c.Mode, skin.manager->ma[t]);
        EXPECT_EQ(r, c.Left);
        for (const auto& [at, value] : c.Pixels)
            EXPECT_EQ(Rgb(bmp.get(), at.x, at.y), value & 0xFFFFFF) << at.x << "," << at.y;
        EXPECT_EQ(Rgb(bmp.get(), 10, 10), 0u);
        EXPECT_EQ(Rgb(bmp.get(), 11, 3), 0u);
    }
}

TEST(SkinSection, EmptyTilesAndRowlessMasksPaintNothing)
{
    Skin skin;
    const int empty = skin.AddTexture(4, 4, 0);
    skin.manager->ma[empty].R = TRect(0, 0, 0, 4);
    TOwned<TBitmap> bmp = Bitmap32(10, 10, 0);
    TRect r(0, 0, 10, 10);
    PaintTexture(bmp->GetCanvas(), r, 0, skin.manager->ma[empty]);
    EXPECT_EQ(r, TRect(0, 0, 10, 10));

    const int oneRow = skin.AddTexture(4, 1, 0, false);
    skin.manager->ma[oneRow].MaskType = 1;   // a mask half of no rows
    PaintTextureWithMask(bmp.get(), r, TCacheInfo(), 0, skin.manager->ma[oneRow]);
    EXPECT_EQ(r, TRect(0, 0, 10, 10));
    EXPECT_EQ(Rgb(bmp.get(), 0, 0), 0u);

    TRects rects;
    TsMaskData rowless = skin.manager->ma[empty];
    rowless.MaskType = -1;
    rowless.WB = 2;
    AddCornerKeyRects(rects, 100, rowless, true, 0);
    EXPECT_TRUE(rects.empty());
}

TEST(SkinSection, MaskedTextureModes)
{
    Skin skin;
    const int t = skin.AddTexture(4, 4, 10, true);
    TOwned<TBitmap> parent = Bitmap32(20, 20, 0xFF112233);
    TOwned<TBitmap> bmp = Bitmap32(10, 10, 0);
    TRect r(0, 0, 10, 10);
    PaintTextureWithMask(bmp.get(), r, MakeCacheInfo(parent.get(), 0, 0), 10, skin.manager->ma[t]);
    EXPECT_EQ(r, TRect(-1, -1, -1, -1));
    EXPECT_EQ(Rgb(bmp.get(), 1, 1), Place(1, 1) & 0xFFFFFF);
    EXPECT_EQ(Rgb(bmp.get(), 5, 5), Place(1, 1) & 0xFFFFFF);
    EXPECT_EQ(Rgb(bmp.get(), 9, 2), 0x112233u);   // right of the last whole column
    EXPECT_EQ(Rgb(bmp.get(), 2, 9), 0x112233u);   // below the last whole row

    TOwned<TBitmap> mode0 = Bitmap32(10, 10, 0);
    r = TRect(0, 0, 10, 10);
    PaintTextureWithMask(mode0.get(), r, TCacheInfo(), 0, skin.manager->ma[t]);
    EXPECT_EQ(Rgb(mode0.get(), 9, 5), Place(1, 1) & 0xFFFFFF);  // last column cut
    EXPECT_EQ(Rgb(mode0.get(), 5, 9), 0u);                      // last row kept unpainted
}

TEST(SkinSection, CornerKeyRectsStayInsideTheImage)
{
    Skin skin;
    const int b = skin.AddTexture(8, 6, 0);
    TsMaskData& m = skin.manager->ma[b];
    m.WL = m.WT = m.WR = m.WB = 2;
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {7, 0}, {6, 5}, {7, 5}})
        SetBitmap32Pixel(m.Bmp, x, y, FuchsiaPixel);
    TRects top, bottom;
    AddCornerKeyRects(top, 100, m, false, 10);
    EXPECT_EQ(top, (TRects{TRect(0, 10, 2, 11), TRect(99, 10, 100, 11), TRect(0, 11, 1, 12)}));
    AddCornerKeyRects(bottom, 100, m, true, 40);
    EXPECT_EQ(bottom, (TRects{TRect(98, 41, 100, 42)}));

    // Corners wider than the bitmap read nothing past it.
    m.WR = 20;
    m.Width = 20;
    TRects wide;
    AddCornerKeyRects(wide, 50, m, false, 0);
    EXPECT_EQ(wide.size(), 5u);
}

TEST(SkinSection, WholeSectionOnBitmap32IsPremultipliedOnlyWhenWhole)
{
    Skin skin;
    const int s = skin.AddSection(0x0000C8, 0, 0);
    skin.State(s, 0).Transparency = 50;
    TOwned<TBitmap> whole = Bitmap32(8, 8, 0);
    PaintSkinSectionOnBitmap32(s, 0, TRect(0, 0, 8, 8), whole.get(), skin.manager.get());
    const Cardinal p = GetBitmap32Pixel(whole.get(), 3, 3);
    EXPECT_EQ(p >> 24, 128u);
    EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 0xC8 * 128 / 256, 1);

    TOwned<TBitmap> part = Bitmap32(8, 8, 0);
    PaintSkinSectionOnBitmap32(s, 0, TRect(1, 1, 7, 7), part.get(), skin.manager.get());
    const Cardinal q = GetBitmap32Pixel(part.get(), 3, 3);
    EXPECT_EQ(q >> 24, 128u);
    EXPECT_EQ((q >> 16) & 0xFF, 0xC8u);

    skin.State(s, 0).Transparency = 100;
    TOwned<TBitmap> kept = Bitmap32(8, 8, 0xFF445566);
    PaintSectionBackground32(s, 0, TRect(1, 1, 7, 7), kept.get(), skin.manager.get(), clFuchsia);
    EXPECT_EQ(GetBitmap32Pixel(kept.get(), 3, 3), 0xFF445566u);
    PaintSectionBackground32(s, 0, TRect(0, 0, 8, 8), kept.get(), skin.manager.get(), clFuchsia);
    EXPECT_EQ(GetBitmap32Pixel(kept.get(), 3, 3), 0u);
}

TEST(SkinSection, ControlBackgroundTakesTheCustomColour)
{
    Skin skin;
    const int s = skin.AddSection(0x112233, 0, 0);
    TOwned<TPanel> panel(New<TPanel>(nullptr));
    panel->SetColor(0x00336699);
    TsCommonData data(panel.get());
    data.FSkinManager = skin.manager.get();
    data.SkinIndex = s;
    TOwned<TBitmap> bmp = Bitmap32(6, 6, 0);
    PaintControlBackground(&data, TCacheInfo(), 0, TRect(0, 0, 6, 6), TPoint(0, 0), bmp.get());
    EXPECT_EQ(Rgb(bmp.get(), 2, 2), Px(0x112233));
    data.FCustomColor = true;
    PaintControlBackground(&data, TCacheInfo(), 0, TRect(0, 0, 6, 6), TPoint(0, 0), bmp.get());
    EXPECT_EQ(Rgb(bmp.get(), 2, 2), Px(0x336699));

    // The whole skin with a hue turn of 120 degrees: red becomes green.
    skin.manager->gd[s].Props[0].Color = 0x0000FF;
    data.FCustomColor = false;
    data.FHUEOffset = 120;
    PaintControlSkin(&data, TCacheInfo(), 0, TRect(0, 0, 6, 6), TPoint(0, 0), bmp.get(), false);
    EXPECT_TRUE(PixelNear(Rgb(bmp.get(), 2, 2), 0x00FF00, 2));
}

TEST(SkinSection, BitmapByMarginsAndBorderCopies)
{
    TOwned<TBitmap> src = Bitmap32(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            SetBitmap32Pixel(src.get(), x, y, Place(x, y));
    TOwned<TBitmap> dst = Bitmap32(20, 20, 0);
    PaintBitmapByMargins(dst.get(), src.get(), TRect(0, 0, 20, 20), TRect(0, 0, 8, 8), TRect(2, 2, 2, 2),
                         TRect(2, 2, 2, 2), TEdgeModes(0, 0, 0, 0), false, true);
    EXPECT_EQ(Rgb(dst.get(), 0, 0), Place(0, 0) & 0xFFFFFF);
    EXPECT_EQ(Rgb(dst.get(), 19, 19), Place(7, 7) & 0xFFFFFF);
    EXPECT_EQ(Rgb(dst.get(), 6, 0), Place(2, 0) & 0xFFFFFF);   // second tile of the top edge
    EXPECT_EQ(Rgb(dst.get(), 7, 7), Place(3, 3) & 0xFFFFFF);   // centre tiles
    TOwned<TBitmap> noCentre = Bitmap32(20, 20, 0);
    PaintBitmapByMargins(noCentre.get(), src.get(), TRect(0, 0, 20, 20), TRect(0, 0, 8, 8), TRect(2, 2, 2, 2),
                         TRect(1, 1, 1, 1), TEdgeModes(1, 1, 1, 1), false, false);
    EXPECT_EQ(Rgb(noCentre.get(), 1, 0), Place(1, 0) & 0xFFFFFF); // the corner keeps its outer row
    EXPECT_EQ(Rgb(noCentre.get(), 1, 1), 0u);                     // limited inwards
    EXPECT_EQ(Rgb(noCentre.get(), 10, 10), 0u);

    TOwned<TBitmap> ring = Bitmap32(10, 10, 0);
    BitBltBorder(ring->GetCanvas()->GetHandle(), 0, 0, 8, 8, src->GetCanvas()->GetHandle(), 0, 0, 2);
    EXPECT_EQ(Rgb(ring.get(), 0, 0), Place(0, 0) & 0xFFFFFF);
    EXPECT_EQ(Rgb(ring.get(), 7, 7), Place(7, 7) & 0xFFFFFF);
    EXPECT_EQ(Rgb(ring.get(), 4, 4), 0u);
}

} // namespace
