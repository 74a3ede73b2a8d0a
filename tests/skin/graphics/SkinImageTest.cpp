// The nine-part painter over a hand-made image whose every pixel names its
// own place (green = column, blue = row), so that a painted pixel tells
// which source pixel it came from.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "sSkinImage.h"

namespace {

Cardinal Place(int x, int y) { return 0xFF000000u | (Cardinal(x) << 8) | Cardinal(y); }

struct ImageFixture {
    TOwned<TsSkinManager> manager{New<TsSkinManager>(nullptr)};
    TOwned<TBitmap> image;
    TsMaskData mask;

    // States of Width x Height side by side; Masked adds a mask of MaskValue below.
    ImageFixture(int Width, int Height, int States, int WL, int WT, int WR, int WB, bool Masked = false,
                 Cardinal MaskValue = 0xFF000000u)
    {
        const int rows = Masked ? 2 * Height : Height;
        image = Bitmap32(Width * States, rows);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width * States; ++x) {
                SetBitmap32Pixel(image.get(), x, y, Place(x, y));
                if (Masked)
                    SetBitmap32Pixel(image.get(), x, y + Height, MaskValue);
            }
        mask.Bmp = image.get();
        mask.Manager = manager.get();
        mask.R = TRect(0, 0, Width * States, rows);
        mask.ImageCount = static_cast<std::int16_t>(States);
        mask.MaskType = Masked ? 1 : 0;
        mask.Width = Width;
        mask.Height = Height;
        mask.WL = static_cast<std::int16_t>(WL);
        mask.WT = static_cast<std::int16_t>(WT);
        mask.WR = static_cast<std::int16_t>(WR);
        mask.WB = static_cast<std::int16_t>(WB);
    }
};

struct Expect {
    int X, Y;
    Cardinal Rgb;
};

void CheckPixels(TBitmap* bmp, std::initializer_list<Expect> table, int tolerance = 0)
{
    for (const Expect& e : table)
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp, e.X, e.Y) & 0xFFFFFF, e.Rgb & 0xFFFFFF, tolerance))
            << "at " << e.X << "," << e.Y;
}

TEST(SkinImage, TiledNinePartsCoverTheTarget)
{
    for (bool masked : {false, true}) {
        SCOPED_TRACE(masked ? "masked" : "keyed");
        ImageFixture f(16, 16, 1, 3, 3, 3, 3, masked);
        f.mask.DrawMode = dmCentre;
        TOwned<TBitmap> bmp = Bitmap32(40, 40, 0);
        // 31 x 31 at (2, 2): each edge is 25 long over a source middle of 10.
        PaintSkinImage(bmp.get(), TRect(2, 2, 33, 33), TCacheInfo(), f.mask, 0, false);
        CheckPixels(bmp.get(), {
            {2, 2, Place(0, 0)},     {5, 2, Place(3, 0)},     {15, 2, Place(3, 0)},
            {25, 2, Place(3, 0)},    {29, 2, Place(7, 0)},    {30, 2, Place(13, 0)},
            {32, 32, Place(15, 15)}, {2, 29, Place(0, 7)},    {2, 30, Place(0, 13)},
            {5, 5, Place(3, 3)},     {29, 29, Place(7, 7)},   {20, 20, Place(8, 8)},
            {32, 15, Place(15, 3)},  {15, 32, Place(3, 15)},
            {1, 1, 0},               {33, 33, 0},             {33, 10, 0},
        });
    }
}

TEST(SkinImage, MarginsShrinkForNarrowTargets)
{
    const struct {
        int WR, ImageWidth;
        std::initializer_list<Expect> Pixels;
    } cases[] = {
        // d = 4: WL 6, WR 4; the right corner starts at source column 10.
        {6, 14, {{5, 0, Place(5, 0)}, {6, 0, Place(10, 0)}, {9, 0, Place(13, 0)}}},
        // d = 3: WL 7, WR 3.
        {5, 13, {{6, 0, Place(6, 0)}, {7, 0, Place(10, 0)}, {9, 0, Place(12, 0)}}},
    };
    for (const auto& c : cases) {
        ImageFixture f(c.ImageWidth, 6, 1, 8, 2, c.WR, 2);
        TOwned<TBitmap> bmp = Bitmap32(10, 6, 0);
        PaintSkinImage(bmp.get(), TRect(0, 0, 10, 6), TCacheInfo(), f.mask, 0, false);
        CheckPixels(bmp.get(), c.Pixels);
    }
}

TEST(SkinImage, StatesAndDrawModes)
{
    ImageFixture f(8, 8, 3, 2, 2, 2, 2);
    TOwned<TBitmap> bmp = Bitmap32(12, 12, 0);
    PaintSkinImage(bmp.get(), TRect(0, 0, 12, 12), TCacheInfo(), f.mask, 5, false);
    CheckPixels(bmp.get(), {{0, 0, Place(16, 0)}, {11, 11, Place(23, 7)}, {5, 5, 0}});

    f.mask.DrawMode = dmNoState0;
    TOwned<TBitmap> none = Bitmap32(12, 12, 0);
    PaintSkinImage(none.get(), TRect(0, 0, 12, 12), TCacheInfo(), f.mask, 0, false);
    CheckPixels(none.get(), {{0, 0, 0}, {11, 11, 0}});

    f.mask.DrawMode = dmNoState0 | dmCentre;
    PaintSkinImage(none.get(), TRect(0, 0, 12, 12), TCacheInfo(), f.mask, 1, false);
    CheckPixels(none.get(), {{0, 0, Place(8, 0)}, {5, 5, Place(13, 5)}});

    // Too small a target, or no manager: nothing.
    TOwned<TBitmap> small = Bitmap32(12, 12, 0);
    PaintSkinImage(small.get(), TRect(0, 0, 1, 12), TCacheInfo(), f.mask, 1, false);
    f.mask.Manager = nullptr;
    PaintSkinImage(small.get(), TRect(0, 0, 12, 12), TCacheInfo(), f.mask, 1, false);
    CheckPixels(small.get(), {{0, 0, 0}, {6, 6, 0}});
}

TEST(SkinImage, MaskedImageWithoutMiddleFinishes)
{
    ImageFixture f(6, 6, 1, 3, 2, 3, 2, true);
    TOwned<TBitmap> bmp = Bitmap32(12, 6, 0);
    PaintSkinImage(bmp.get(), TRect(0, 0, 12, 6), TCacheInfo(), f.mask, 0, false);
    // The edges are drawn once from the start of the (empty) source middle,
    // as far as the image reaches.
    CheckPixels(bmp.get(), {{0, 0, Place(0, 0)}, {3, 0, Place(3, 0)}, {5, 5, Place(5, 5)},
                            {9, 0, Place(3, 0)}, {11, 5, Place(5, 5)}});
}

TEST(SkinImage, StretchedEdgesAndCentre)
{
    for (bool masked : {false, true}) {
        SCOPED_TRACE(masked ? "masked" : "keyed");
        ImageFixture f(16, 16, 1, 3, 3, 3, 3, masked);
        f.mask.DrawMode = dmStretch | dmCentre;
        TOwned<TBitmap> bmp = Bitmap32(40, 30, 0);
        PaintSkinImage(bmp.get(), TRect(0, 0, 40, 30), TCacheInfo(), f.mask, 0, false);
        CheckPixels(bmp.get(), {
            {0, 0, Place(0, 0)}, {39, 29, Place(15, 15)}, {3, 0, Place(3, 0)}, {36, 0, Place(12, 0)},
            {0, 3, Place(0, 3)}, {0, 26, Place(0, 12)},   {39, 26, Place(15, 12)},
        });
        // The centre: stretched (smoothed when masked), from its first to its last column.
        CheckPixels(bmp.get(), {{3, 3, Place(3, 3)}, {36, 26, Place(12, 12)}}, masked ? 2 : 0);
    }
}

TEST(SkinImage, KeyedCornersShowTheBackgroundOnlyWhenAsked)
{
    ImageFixture f(8, 8, 1, 3, 3, 3, 3);
    SetBitmap32Pixel(f.image.get(), 0, 0, FuchsiaPixel);
    SetBitmap32Pixel(f.image.get(), 7, 7, FuchsiaPixel);
    TOwned<TBitmap> parent = Bitmap32(20, 20, 0xFFAABBCC);
    TCacheInfo ci = MakeCacheInfo(parent.get(), 0, 0);
    f.mask.CornerType = 1;
    TOwned<TBitmap> bmp = Bitmap32(10, 10, 0xFF010203);
    PaintSkinImage(bmp.get(), TRect(0, 0, 10, 10), ci, f.mask, 0, true);
    CheckPixels(bmp.get(), {{0, 0, 0xAABBCC}, {9, 9, 0xAABBCC}, {1, 0, Place(1, 0)}});

    f.mask.CornerType = 0;
    TOwned<TBitmap> kept = Bitmap32(10, 10, 0xFF010203);
    PaintSkinImage(kept.get(), TRect(0, 0, 10, 10), ci, f.mask, 0, true);
    CheckPixels(kept.get(), {{0, 0, 0x010203}, {9, 9, 0x010203}});
}

TEST(SkinImage, AlphaVariantBuildsTheAlphaChannel)
{
    ImageFixture f(8, 8, 1, 2, 2, 2, 2, true, 0xFF808080);
    TOwned<TBitmap> bmp = Bitmap32(8, 8, 0x00404040);
    PaintSkinImageAlpha(bmp.get(), TRect(0, 0, 8, 8), TCacheInfo(), f.mask, 0);
    const Cardinal p = GetBitmap32Pixel(bmp.get(), 0, 0);
    EXPECT_EQ(p >> 24, 255u - 0x80u);
    EXPECT_EQ(p & 0xFF, (0x40u * 0x80u) >> 8); // source blue 0
    // An opaque target keeps its alpha.
    TOwned<TBitmap> opaque = Bitmap32(8, 8, 0xFF404040);
    PaintSkinImageAlpha(opaque.get(), TRect(0, 0, 8, 8), TCacheInfo(), f.mask, 0);
    EXPECT_EQ(GetBitmap32Pixel(opaque.get(), 3, 0) >> 24, 255u);
}

TEST(SkinImage, MarginsVariantPaintsThinFadedEdgesAndNoCentre)
{
    ImageFixture f(12, 12, 1, 4, 4, 4, 4, true);
    f.mask.DrawMode = dmCentre;
    TOwned<TBitmap> bmp = Bitmap32(20, 20, 0xFF000000);
    PaintSkinImageWithMargins(bmp.get(), TRect(0, 0, 20, 20), TCacheInfo(), f.mask, 0, TRect(1, 2, 1, 2), 255);
    CheckPixels(bmp.get(), {
        {0, 0, Place(0, 0)}, {3, 3, Place(3, 3)},      // corners keep the full margins
        {0, 8, Place(0, 4)}, {1, 8, 0},                // left edge one column, from the outer side
        {8, 1, Place(4, 1)}, {8, 2, 0},                // top edge two rows
        {19, 8, Place(11, 4)}, {18, 8, 0},             // right edge from its outer column
        {8, 18, Place(4, 10)}, {8, 17, 0},             // bottom edge from its outer rows
        {10, 10, 0},                                   // no centre
    }, 2);
    // Half opacity mixes half of the image in.
    TOwned<TBitmap> faded = Bitmap32(20, 20, 0xFF000000);
    PaintSkinImageWithMargins(faded.get(), TRect(0, 0, 20, 20), TCacheInfo(), f.mask, 0, TRect(1, 1, 1, 1), 128);
    // Source (11, 4) at full strength would be 0x000B04.
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(faded.get(), 19, 8) & 0xFFFFFF, 0x000501, 1));
}

TEST(SkinImage, DrawSkinImageAtCutsNegativePartsAndSkipsTheKey)
{
    ImageFixture f(6, 6, 2, 0, 0, 0, 0);
    SetBitmap32Pixel(f.image.get(), 9, 3, FuchsiaPixel);
    TOwned<TBitmap> bmp = Bitmap32(10, 10, 0xFF0A0B0C);
    DrawSkinImageAt(bmp.get(), TRect(-2, -1, 4, 5), 1, 1, f.mask, TCacheInfo());
    // State 1 begins at source column 6; two columns and one row are cut.
    CheckPixels(bmp.get(), {{0, 0, Place(8, 1)}, {3, 4, Place(11, 5)}, {1, 2, 0x0A0B0C}, {4, 0, 0x0A0B0C}});

    // From the master bitmap, masked: the mask decides.
    ImageFixture m(4, 4, 1, 0, 0, 0, 0, true, 0xFF000000);
    SetBitmap32Pixel(m.image.get(), 1, 5, 0xFFFFFFFF); // white mask keeps the target
    m.manager->MasterBitmap = m.image.release(); // the manager frees it
    m.mask.Bmp = nullptr;
    TOwned<TBitmap> target = Bitmap32(4, 4, 0xFF0A0B0C);
    DrawSkinImageAt(target.get(), TRect(0, 0, 4, 4), 0, 1, m.mask, TCacheInfo());
    CheckPixels(target.get(), {{0, 0, Place(0, 0)}, {1, 1, 0x0A0B0C}, {3, 3, Place(3, 3)}});
}

TEST(SkinImage, ControlCornersStayInsideASmallControl)
{
    ImageFixture f(24, 24, 1, 10, 10, 10, 10);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            SetBitmap32Pixel(f.image.get(), x, y, FuchsiaPixel);
    f.mask.CornerType = 1;
    f.manager->ma.push_back(f.mask);
    f.image.release(); // the manager frees its images' bitmaps
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetColor(0x00336699);
    TPanel* panel = New<TPanel>(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(5, 5, 6, 4);
    TsCommonData data(panel);
    data.FSkinManager = f.manager.get();
    data.BorderIndex = 0;
    TOwned<TBitmap> cache = Bitmap32(6, 4, 0xFF000000);
    data.FCacheBmp = cache.get();
    PaintControlCorners(&data, 0, 1 | 2 | 4 | 8);
    // Every pixel is a corner pixel of some corner; nothing past the cache.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(GetBitmap32Pixel(cache.get(), x, y), 0xFF996633u) << x << "," << y;

    // A cache not yet grown to the control's size is written only where it exists.
    TOwned<TBitmap> tiny = Bitmap32(2, 2, 0xFF000000);
    data.FCacheBmp = tiny.get();
    PaintControlCorners(&data, 0, 8);
    EXPECT_EQ(GetBitmap32Pixel(tiny.get(), 1, 1), 0xFF996633u);
    data.FCacheBmp = nullptr;
}

} // namespace
