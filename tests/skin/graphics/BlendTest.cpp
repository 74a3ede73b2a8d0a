// Copies and blends between 32-bit bitmaps, checked pixel by pixel against
// the mixing rules worked out by hand: alpha, transparency, tint, key
// colours, the parent background, and reflections that stop at the top.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "TestSupport.h"

namespace {

// d moves towards s by k, per colour byte.
Cardinal Mixed(Cardinal s, Cardinal d, int k, Cardinal alpha)
{
    Cardinal out = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        int sb = (s >> shift) & 0xFF, db = (d >> shift) & 0xFF;
        out |= static_cast<Cardinal>(((sb - db) * k + db * 256) >> 8 & 0xFF) << shift;
    }
    return out;
}

TCacheInfo ReadyBackground(TBitmap* bmp, int x = 0, int y = 0)
{
    TCacheInfo ci = MakeCacheInfo(bmp, x, y);
    return ci;
}

struct CopyCase {
    const char* name;
    Cardinal source;
    Cardinal target;
    int transparency;
    TColor tint;
    bool ready;
    bool fill;
    Cardinal expected;
};

TEST(CopyRectWithAlpha, OnePixelByTheRules)
{
    const Cardinal background = 0x80102030u;
    const int half = 255 - 50 * 255 / 100; // transparency 50 leaves weight 128
    const CopyCase cases[] = {
        {"alpha mixes, target alpha rises", 0x80FF0000u, 0x400000FFu, 0, clNone, false, false,
         Mixed(0x80FF0000u, 0x400000FFu, 0x80, 0x80)},
        {"target alpha is kept when higher", 0x80FF0000u, 0xF00000FFu, 0, clNone, false, false,
         Mixed(0x80FF0000u, 0xF00000FFu, 0x80, 0xF0)},
        {"transparency scales the weight", 0xFFFF0000u, 0x200000FFu, 50, clNone, false, false,
         Mixed(0xFFFF0000u, 0x200000FFu, half * 255 >> 8, 0x20)},
        {"transparency 100 keeps the target", 0xFFFF0000u, 0x200000FFu, 100, clNone, false, false, 0x200000FFu},
        {"alpha 16 is transparent when ready", 0x10FF0000u, 0x200000FFu, 0, clNone, true, false, 0x200000FFu},
        {"alpha 17 is mixed when ready", 0x11FF0000u, 0x200000FFu, 0, clNone, true, false,
         Mixed(0x11FF0000u, 0x200000FFu, 0x11, 0x20)},
        {"alpha 16 mixes when not ready", 0x10FF0000u, 0x200000FFu, 0, clNone, false, false,
         Mixed(0x10FF0000u, 0x200000FFu, 0x10, 0x20)},
        {"fuchsia takes the background's colour bytes", 0x00FF00FFu, 0x200000FFu, 0, clNone, true, true,
         0x20102030u},
        {"transparent without fill leaves the target", 0x00FF00FFu, 0x200000FFu, 30, clNone, true, false,
         0x200000FFu},
        // Blue tint: g = 255/4 + 255/2 + 255/4 = 253, blue 255 * 253 >> 8 = 252.
        // Target alpha: ((255 - 0) * 255 + 0) >> 8 = 254.
        {"blue tint of opaque white on white", 0xFFFFFFFFu, 0x00FFFFFFu, 0, clBlue, false, false, 0xFE0000FCu},
        {"blue tint of grey is darker", 0xFF808080u, 0x00000000u, 0, clBlue, false, false,
         Mixed(0x0000007Fu, 0, 255, 254)},
        {"tint with a ready background keeps target alpha", 0xFFFFFFFFu, 0x40FFFFFFu, 0, clBlue, true, false,
         0x400000FCu},
    };
    TOwned<TBitmap> bgBmp = Bitmap32(1, 1, background);
    for (const CopyCase& c : cases) {
        auto src = Bitmap32(1, 1, c.source);
        auto dst = Bitmap32(1, 1, c.target);
        TCacheInfo ci = c.ready ? ReadyBackground(bgBmp.get()) : TCacheInfo();
        CopyRectWithAlpha(TRect(0, 0, 1, 1), TRect(0, 0, 1, 1), dst.get(), false, c.transparency, c.tint, c.fill,
                          ci, src.get());
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(dst.get(), 0, 0), c.expected)) << c.name;
    }
}

TEST(CopyRectWithAlpha, ClipsAndKeepsCopyingWhereTheBackgroundEnds)
{
    // Row of three: fuchsia, fuchsia, opaque red; the background is one pixel wide.
    auto src = Bitmap32(3, 1, 0x00FF00FFu);
    SetBitmap32Pixel(src.get(), 2, 0, 0xFFFF0000u);
    auto bg = Bitmap32(1, 1, 0xFF00FF00u);
    auto dst = Bitmap32(4, 2, 0xFF0000FFu);
    CopyRectWithAlpha(TRect(-1, 1, 3, 2), TRect(-1, 0, 3, 1), dst.get(), false, 0, clNone, true,
                      ReadyBackground(bg.get(), 0, -1), src.get());
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 0, 1), 0xFF00FF00u) << "background behind the key pixel";
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 1, 1), 0xFF0000FFu) << "no background: left alone";
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(dst.get(), 2, 1), 0xFFFF0000u, 1))
        << "copied after a pixel past the background's last column";
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 3, 1), 0xFF0000FFu) << "outside the block";
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 0, 0), 0xFF0000FFu);
}

TEST(CopyRectWithAlpha, ReflectionFadesAndStopsAtTheSourceTop)
{
    // Source 1 x 8; the block is the top two rows, so mirroring runs out after one row.
    auto src = Bitmap32(1, 8, 0xFF00FF00u);
    SetBitmap32Pixel(src.get(), 0, 0, 0xFFFF0000u);
    auto dst = Bitmap32(1, 10, 0xFF000000u);
    CopyRectWithAlpha(TRect(0, 0, 1, 2), TRect(0, 0, 1, 2), dst.get(), true, 0, clNone, false, TCacheInfo(),
                      src.get());
    // Q = min(8 div 2 - 1, 10 - 2 - 1) = 3; row r = 1 takes source row 2 - 1 - 1 = 0.
    const int k = 255 * (3 - 1) / 3 * 255 >> 9;
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 0, 2), 0xFF000000u) << "row Bottom itself is not painted";
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(dst.get(), 0, 3), Mixed(0xFFFF0000u, 0xFF000000u, k, 0xFF)));
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 0, 4), 0xFF000000u) << "nothing above source row 0 is mirrored";

    // A whole source mirrors Q rows with falling weight.
    auto whole = Bitmap32(1, 8, 0xFFFFFFFFu);
    auto below = Bitmap32(1, 16, 0xFF000000u);
    CopyRectWithAlpha(TRect(0, 0, 1, 8), TRect(0, 0, 1, 8), below.get(), true, 0, clNone, false, TCacheInfo(),
                      whole.get());
    int previous = 256;
    for (int r = 1; r <= 3; ++r) {
        int value = GetBitmap32Pixel(below.get(), 0, 8 + r) & 0xFF;
        EXPECT_LT(value, previous) << "row " << r;
        previous = value;
    }
    EXPECT_EQ(GetBitmap32Pixel(below.get(), 0, 12), 0xFF000000u);
}

TEST(BlendRects, KeyedUniformOverAndByAlpha)
{
    auto src = Bitmap32(3, 1, 0xFF204060u);
    SetBitmap32Pixel(src.get(), 1, 0, 0x00FF00FFu);

    auto dst = Bitmap32(3, 1, 0x80808080u);
    BlendRectExceptKey(dst.get(), 0, 0, 0x00FF00FFu, 0, TRect(0, 0, 2, 0), src.get());
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 0, 0), 0xFE1F3F5Fu) << "weight 0: the source, all four bytes";
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 1, 0), 0x80808080u) << "key skipped";
    dst = Bitmap32(3, 1, 0x80808080u);
    BlendRectExceptKey(dst.get(), 0, 0, 0x00FF00FFu, 255, TRect(0, 0, 2, 0), src.get());
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(dst.get(), 0, 0), 0x80808080u, 1)) << "weight 255: about the target";
    dst = Bitmap32(3, 1, 0);
    BlendRectExceptKey(dst.get(), 1, 0, 0x00FF00FFu, 0, TRect(-1, 0, 0, 0), src.get());
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 1, 0), 0) << "a negative start shifts the target";
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 2, 0), 0xFE1F3F5Fu);

    auto wide = Bitmap32(6, 2, 0xFF102030u);
    auto target = Bitmap32(8, 2, 0);
    BlendRectUniform(target.get(), wide.get(), 0, TPoint(1, 0), TRect(2, 0, 4, 0));
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(GetBitmap32Pixel(target.get(), x, 0), x >= 1 && x <= 3 ? 0xFF102030u : 0u) << x;
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 1), 0u) << "one row only";
    target = Bitmap32(2, 1, 0x00FFFFFFu);
    BlendRectUniform(target.get(), wide.get(), 128, TPoint(-1, 0), TRect(0, 0, 5, 1));
    // Colour: (128 * (d - s) + s * 256) >> 8; alpha: s + (128 * (d - s)) >> 8 with the sign kept.
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 0), 0x7F878F97u);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), 0x7F878F97u);

    auto half = Bitmap32(1, 1, 0x80FF0000u);
    target = Bitmap32(1, 1, 0x400000FFu);
    BlendRectOver(target.get(), half.get(), TRect(0, 0, 0, 0), TPoint(0, 0));
    // alpha := ((128 - 64) * 128 + 64 * 256) >> 8 = 96.
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 0), Mixed(0x80FF0000u, 0x400000FFu, 128, 96));

    auto bg = Bitmap32(4, 4, 0x00336699u);
    target = Bitmap32(2, 1, 0x40000000u);
    auto keyed = Bitmap32(2, 1, 0x00FF00FFu);
    SetBitmap32Pixel(keyed.get(), 1, 0, 0x80FFFFFFu);
    BlendRectByAlpha(TRect(0, 0, 2, 1), TRect(0, 0, 2, 1), target.get(), true, MakeCacheInfo(bg.get(), 1, 1),
                     keyed.get());
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 0), 0xFF336699u) << "fuchsia takes the opaque background";
    // alpha += (255 - 64) * 128 >> 8 = 95.
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), Mixed(0x80FFFFFFu, 0x40000000u, 128, 64 + 95));
    target = Bitmap32(1, 1, 0x40000000u);
    BlendRectByAlpha(TRect(0, 0, 1, 1), TRect(0, 0, 1, 1), target.get(), true, TCacheInfo(), keyed.get());
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 0), 0x40000000u) << "not ready: fuchsia of alpha 0 mixes by 0";
}

TEST(KeyedCopies, MaskedImagesKeysAndColours)
{
    // A masked image: row 0 colours, row 1 the mask (white keeps, black gives the image).
    auto image = Bitmap32(3, 2, 0xFFC08040u);
    SetBitmap32Pixel(image.get(), 2, 0, 0x00FF00FFu);
    SetBitmap32Pixel(image.get(), 0, 1, 0xFFFFFFFFu);
    SetBitmap32Pixel(image.get(), 1, 1, 0xFF000000u);
    SetBitmap32Pixel(image.get(), 2, 1, 0xFF000000u);
    TsMaskData mask;
    mask.R = TRect(0, 0, 3, 2);
    auto target = Bitmap32(3, 1, 0x10204060u);
    auto bg = Bitmap32(3, 1, 0x44AABBCCu);
    CopyMaskedRect(TRect(0, 0, 3, 1), TRect(0, 0, 3, 1), target.get(), mask, true, MakeCacheInfo(bg.get()),
                   image.get());
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 0), 0xFF20405Fu) << "white mask keeps (nearly) the target, opaque";
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), 0xFFC08040u) << "black mask gives the image";
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 0), 0x44AABBCCu) << "fuchsia takes the background whole";
    TCacheInfo notReady;
    notReady.FillColor = 0x0000FF;
    target = Bitmap32(3, 1, 0x10204060u);
    CopyMaskedRect(TRect(0, 0, 3, 1), TRect(0, 0, 3, 1), target.get(), mask, true, notReady, image.get());
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 0), 0x00FF0000u) << "fill colour in pixel order";
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), 0x10C08040u) << "alpha kept when not ready";

    auto strip = Bitmap32(3, 1, 0x00123456u);
    SetBitmap32Pixel(strip.get(), 1, 0, 0x00FF00FFu);
    target = Bitmap32(3, 1, 0);
    CopyBitmapExceptKey(target.get(), strip.get(), -1, clFuchsia, 0);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 0), 0u) << "key skipped";
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), 0xFF123456u) << "copied opaque, one column skipped";
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 0), 0u);

    target = Bitmap32(3, 1, 0x77000000u);
    CopyRectExceptColor(target.get(), strip.get(), 0, clFuchsia, TRect(0, 0, 5, 0), 0);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 0), 0x00123456u);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), 0x77000000u);

    // Keyed copy with background: into the background itself, from it, and with a fill colour.
    auto cache = Bitmap32(3, 1, 0xFF0000AAu);
    CopyRectExceptKey(cache.get(), strip.get(), 0, true, MakeCacheInfo(cache.get()), 0x00FF00FFu, TRect(0, 0, 2, 0),
                      0);
    EXPECT_EQ(GetBitmap32Pixel(cache.get(), 0, 0), 0xFF123456u);
    EXPECT_EQ(GetBitmap32Pixel(cache.get(), 1, 0), 0xFF0000AAu);
    target = Bitmap32(3, 1, 0);
    CopyRectExceptKey(target.get(), strip.get(), 0, true, MakeCacheInfo(cache.get(), -1, 0), 0x00FF00FFu,
                      TRect(0, 0, 2, 0), 0);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), 0xFF123456u) << "background one column to the left";
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 0), 0x00123456u) << "others copied unchanged";
    target = Bitmap32(3, 1, 0);
    CopyRectExceptKey(target.get(), strip.get(), 0, true, MakeCacheInfo(cache.get(), 0, -1), 0x00FF00FFu,
                      TRect(0, 0, 2, 0), 0);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), 0u) << "no background above the cache";
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 0), 0x00123456u) << "the row goes on past it";
    target = Bitmap32(3, 1, 0x55000000u);
    TCacheInfo fill;
    fill.FillColor = 0x00FF00;
    CopyRectExceptKey(target.get(), strip.get(), 0, false, fill, 0x00FF00FFu, TRect(0, 0, 2, 0), 0);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), 0x5500FF00u) << "the fill keeps the pixel's own alpha";

    auto bmp = Bitmap32(2, 1, 0xFF808080u);
    SetBitmap32Pixel(bmp.get(), 1, 0, 0x00FF00FFu);
    BlendBitmapWithColor(bmp.get(), 128, 0x0000FF);
    // red: (128 * 128 + 255 * 127) >> 8 = 190; others (128 * 128) >> 8 = 64.
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0xFFBE4040u);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), 0x00FF00FFu);

    auto mixTarget = Bitmap32(2, 1, 0xFF102030u);
    auto maskBmp = Bitmap32(2, 1, 0xFFFFFFFFu);
    SetBitmap32Pixel(maskBmp.get(), 1, 0, 0xFF000000u);
    MixColorByMask(mixTarget.get(), maskBmp.get(), 0x0000FF);
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(mixTarget.get(), 0, 0), 0xFF102030u, 1)) << "white keeps the target";
    EXPECT_EQ(GetBitmap32Pixel(mixTarget.get(), 1, 0), 0xFFFF0000u) << "black gives the colour";
    auto smaller = Bitmap32(1, 1, 0);
    MixColorByMask(mixTarget.get(), smaller.get(), 0x00FF00);
    EXPECT_EQ(GetBitmap32Pixel(mixTarget.get(), 1, 0), 0xFFFF0000u) << "sizes differ: nothing";
}

} // namespace
