// Gradient strings parsed and painted, GDI+ painters, and soft shadows.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "acGdiPlus.h"
#include "acShadow.h"
#include "sGradient.h"
#include <cmath>

namespace {

struct Stop {
    Cardinal color;
    int percent;
    int mode;
};

std::vector<Stop> Stops(const TsGradArray& grad)
{
    std::vector<Stop> stops;
    for (size_t i = 0; i < grad.size(); ++i) {
        EXPECT_EQ(grad[i].Index, i);
        stops.push_back({static_cast<Cardinal>(grad[i].Color.I), grad[i].Percent, grad[i].Mode});
    }
    return stops;
}

bool operator==(const Stop& a, const Stop& b)
{
    return a.color == b.color && a.percent == b.percent && a.mode == b.mode;
}

void PrintTo(const Stop& s, std::ostream* os)
{
    *os << std::hex << s.color << std::dec << "/" << s.percent << "%/" << s.mode;
}

TEST(GradientStrings, BothFormatsAndMalformedText)
{
    struct Case {
        const wchar_t* text;
        std::vector<Stop> stops;
    } cases[] = {
        {L"16711680;0;50;0;0;255;0;50;0;0;0", {{0xFFFF0000, 0, 0}, {0xFF0000FF, 100, 0}}},
        {L"255;0;16;65280;100;0;B", {{255, 0, 0x30}, {65280, 100, 0}}},
        // Old format: percents add up the steps (each limited to 100), bit 0x10 dropped.
        {L"1;0;30;16;0;2;0;150;1;0;3;0;10;1;0;0", {{0xFF000001, 0, 0}, {0xFF000002, 30, 1}, {0xFF000003, 100, 1}}},
        // A four-corner gradient is padded to five stops.
        {L"1;0;50;2;0;2;0;50;2;0;0", {{0xFF000001, 0, 2}, {0xFF000002, 50, 2}, {0xFF000002, 50, 2},
                                      {0xFF000002, 50, 2}, {0xFF000002, 100, 2}}},
        // New format: alpha from the colour's top byte, percents limited.
        {L"4278190335;150;1;65280;-5;1;B", {{0xFF0000FF, 100, 1}, {65280, 100, 1}}},
        {L"255;0;0;A", {{255, 100, 0}}},
        // More stops announced than fields present: only whole stops count.
        {L"255;0;0;65280;50;Z", {{255, 100, 0}}},
        {L"255;0;0;65280;50;0;Z", {{255, 0, 0}, {65280, 100, 0}}},
        {L"1;A", {}},
        {L"", {}},
        {L"255;0;0;5", {}},
        {L"255;x;0;A", {}},
        {L"255;0;0;0A", {}},
        {L"a;0;50;0;0;255;0;50;0;0;0", {}},
        {L"1;2;3;4;0", {{0xFF000001, 100, 4}}},
        {L"1;2;3;4", {}},
    };
    for (const Case& c : cases) {
        TsGradArray grad(3);
        ParseGradientString(c.text, grad);
        EXPECT_EQ(Stops(grad), c.stops) << "\"" << std::string(c.text, c.text + wcslen(c.text)) << "\"";
    }
}

TsGradArray Gradient(const wchar_t* text)
{
    TsGradArray grad;
    ParseGradientString(text, grad);
    return grad;
}

TEST(GradientPainting, VerticalAndHorizontalBands)
{
    auto bmp = Bitmap32(12, 12, 0x12345678u);
    // Red (colour order 0x0000FF) to blue over rows 1..10.
    PaintGradient(bmp.get(), TRect(1, 1, 11, 11), Gradient(L"255;0;0;16711680;100;0;B"));
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 1), 0xFFFF0000u);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 10, 6), 0xFF800080u) << "half way: row 5 of 10";
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 5, 10), 0xFF1A00E6u) << "row 9 of 10";
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 5), 0x12345678u) << "outside the rectangle";
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 5, 11), 0x12345678u);

    auto row = Bitmap32(4, 3);
    PaintGradient(row.get(), TRect(0, 1, 4, 2), Gradient(L"255;0;0;16711680;100;0;B"));
    EXPECT_EQ(GetBitmap32Pixel(row.get(), 3, 1), 0xFFFF0000u) << "one row takes the first colour";
    EXPECT_EQ(GetBitmap32Pixel(row.get(), 3, 2), 0u);

    // Three horizontal stops, green in the middle, over a rectangle larger than the bitmap.
    auto wide = Bitmap32(10, 2);
    PaintGradient(wide.get(), TRect(-5, -5, 10, 50), Gradient(L"255;0;1;65280;50;1;16711680;100;1;C"));
    EXPECT_EQ(GetBitmap32Pixel(wide.get(), 0, 0), 0xFFFF0000u);
    EXPECT_EQ(GetBitmap32Pixel(wide.get(), 5, 1), 0xFF00FF00u);
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(wide.get(), 9, 0), 0xFF0033CCu, 1));

    // Equal neighbours fill the band with one colour; empty input paints nothing.
    auto flat = Bitmap32(3, 3, 7);
    PaintGradient(flat.get(), TRect(0, 0, 3, 3), Gradient(L"65280;0;0;65280;100;0;B"));
    EXPECT_EQ(GetBitmap32Pixel(flat.get(), 2, 2), 0xFF00FF00u);
    PaintGradient(flat.get(), TRect(0, 0, 3, 3), Gradient(L"broken"));
    PaintGradient(flat.get(), TRect(2, 2, 2, 5), Gradient(L"255;0;0;A"));
    EXPECT_EQ(GetBitmap32Pixel(flat.get(), 2, 2), 0xFF00FF00u);
}

TEST(GradientPainting, FourCornersThroughGradientFillAndPaths)
{
    ASSERT_NE(GradientFillBinding(), nullptr);
    // Corners red, blue, green, white; centre black.
    const wchar_t* corners = L"255;0;2;0;0;2;16711680;0;2;65280;0;2;16777215;0;2;E";
    auto bmp = Bitmap32(21, 21);
    PaintGradient(bmp.get(), TRect(0, 0, 21, 21), Gradient(corners));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 0, 0), 0xFFFF0000u, 24));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 20, 0), 0xFF0000FFu, 24));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 20, 20), 0xFF00FF00u, 24));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 0, 20), 0xFFFFFFFFu, 24));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 10, 10) & 0xFFFFFF, 0, 24));

    // Four stops are not enough for corners: nothing is painted.
    auto four = Bitmap32(4, 4, 9);
    PaintGradient(four.get(), TRect(0, 0, 4, 4), Gradient(L"255;0;2;0;0;2;1;0;2;2;0;2;D"));
    EXPECT_EQ(GetBitmap32Pixel(four.get(), 1, 1), 9u);

    TGradientFill saved = GradientFillBinding();
    GradientFillBinding() = nullptr;
    auto none = Bitmap32(4, 4, 9);
    PaintGradient(none.get(), TRect(0, 0, 4, 4), Gradient(corners));
    EXPECT_EQ(GetBitmap32Pixel(none.get(), 0, 0), 9u) << "no triangles without GradientFill";
    GradientFillBinding() = saved;

    // Bit 0x10 on the first stop asks for the GDI+ path gradient instead.
    auto path = Bitmap32(21, 21);
    PaintGradient(path.get(), TRect(0, 0, 21, 21),
                  Gradient(L"4278190335;0;18;4278190080;0;2;4294901760;0;2;4278255360;0;2;4294967295;0;2;E"));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(path.get(), 1, 1) & 0xFFFFFF, 0xFF0000u, 60));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(path.get(), 10, 10) & 0xFFFFFF, 0, 40));
}

TEST(GradientPainting, AlphaBandsGoThroughGdiPlus)
{
    ASSERT_NE(GdiPlus().Token, 0u) << "GDI+ is started with the units";
    // Opaque red to blue drawn by GDI+ over green.
    auto bmp = Bitmap32(4, 20, 0xFF00FF00u);
    PaintGradient(bmp.get(), TRect(0, 0, 4, 20), Gradient(L"4278190335;0;16;4294901760;100;16;B"));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 2, 0) & 0xFFFFFF, 0xFF0000u, 30));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 2, 19) & 0xFFFFFF, 0x0000FFu, 30));
    EXPECT_LT((GetBitmap32Pixel(bmp.get(), 1, 10) >> 8) & 0xFF, 40u) << "no green left in the band";
}

TEST(GradientPainting, TextureMixedIn)
{
    auto texture = Bitmap32(2, 2, 0xFFFFFFFFu);
    SetBitmap32Pixel(texture.get(), 1, 0, 0xFF000000u);
    SetBitmap32Pixel(texture.get(), 0, 1, 0xFF000000u);
    const TsGradArray red = Gradient(L"255;0;1;255;100;1;B");

    auto plain = Bitmap32(4, 4);
    PaintGradientTexture(plain.get(), TRect(0, 0, 4, 4), red, texture.get(), TRect(), 0, 0x80);
    EXPECT_EQ(GetBitmap32Pixel(plain.get(), 3, 3), 0x80FF0000u) << "weight 0: the gradient alone";

    auto mixed = Bitmap32(4, 4);
    PaintGradientTexture(mixed.get(), TRect(0, 0, 4, 4), red, texture.get(), TRect(), 128, 0xFF);
    EXPECT_EQ(GetBitmap32Pixel(mixed.get(), 0, 0), 0xFFFF7F7Fu);
    EXPECT_EQ(GetBitmap32Pixel(mixed.get(), 1, 0), 0xFF7F0000u);
    EXPECT_EQ(GetBitmap32Pixel(mixed.get(), 3, 2), 0xFF7F0000u) << "the texture tiles";
    EXPECT_EQ(GetBitmap32Pixel(mixed.get(), 2, 2), 0xFFFF7F7Fu);

    // A source area past the texture is clipped to it; corners are refused.
    auto clipped = Bitmap32(2, 1);
    PaintGradientTexture(clipped.get(), TRect(0, 0, 2, 1), red, texture.get(), TRect(1, 0, 9, 1), 255, 0xFF);
    EXPECT_EQ(GetBitmap32Pixel(clipped.get(), 0, 0), 0xFF000000u);
    EXPECT_EQ(GetBitmap32Pixel(clipped.get(), 1, 0), 0xFF000000u);
    auto corners = Bitmap32(2, 2, 5);
    PaintGradientTexture(corners.get(), TRect(0, 0, 2, 2),
                         Gradient(L"255;0;2;0;0;2;1;0;2;2;0;2;3;0;2;E"), texture.get(), TRect(), 0, 0xFF);
    EXPECT_EQ(GetBitmap32Pixel(corners.get(), 0, 0), 5u);

    Cardinal cells[4] = {1, 1, 1, 1};
    FillDWords(cells, 3, 0xABCDEF01u);
    EXPECT_EQ(cells[2], 0xABCDEF01u);
    EXPECT_EQ(cells[3], 1u);
    FillDWords(cells, -1, 0);
    EXPECT_EQ(cells[0], 0xABCDEF01u);
}

TEST(GdiPlusPainters, DrawWhenBoundAndNothingWithout)
{
    auto bmp = Bitmap32(20, 20, 0xFFFFFFFFu);
    HDC dc = bmp->GetCanvas()->GetHandle();
    DrawAntialiasedLine(dc, clBlue, 0, 10, 20, 10, 3);
    FillRectHorzGradient(dc, 0xFF0000FFu, 0xFFFF0000u, 0, 0, 20, 4);
    GdiFlush();
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 10, 10) & 0xFFFFFF, 0x0000FFu, 40));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 0, 1) & 0xFFFFFF, 0xFF0000u, 30));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 19, 1) & 0xFFFFFF, 0x0000FFu, 30));
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 10, 16) & 0xFFFFFF, 0xFFFFFFu);

    TGdiPlusBindings saved = GdiPlus();
    GdiPlus().GdipCreateFromHDC = nullptr;
    auto untouched = Bitmap32(8, 8, 0xFFFFFFFFu);
    DrawAntialiasedLine(untouched->GetCanvas()->GetHandle(), clBlue, 0, 4, 8, 4, 3);
    FillRectVertGradient(untouched->GetCanvas()->GetHandle(), 0xFF0000FFu, 0xFFFF0000u, 0, 0, 8, 8);
    GdiFlush();
    EXPECT_EQ(GetBitmap32Pixel(untouched.get(), 4, 4), 0xFFFFFFFFu);
    GdiPlus() = saved;
}

TEST(GdiPlusPainters, StretchKeepsColourAndAlpha)
{
    auto source = Bitmap32(2, 2, 0xFF3060C0u);
    auto target = Bitmap32(8, 8, 0);
    StretchBitmapGdiPlus(target.get(), source.get(), TRect(0, 0, 8, 8), TRect(0, 0, 2, 2));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(target.get(), 4, 4), 0xFF3060C0u, 6));
}

TEST(Shadows, SizeAndAlphaProfile)
{
    const Cardinal color = 0x44000000u;
    TOwned<TBitmap> shadow(MakeShadowBitmap(color, 17, 2, 8, 0, 0, false));
    ASSERT_EQ(BitmapSize(shadow.get()), TPoint(35, 45));
    for (int x = 0; x < 35; ++x) {
        EXPECT_EQ(GetBitmap32Pixel(shadow.get(), x, 0), 0u);
        EXPECT_EQ(GetBitmap32Pixel(shadow.get(), x, 1), 0u);
    }
    auto alpha = [&](int x, int y) { return static_cast<int>(GetBitmap32Pixel(shadow.get(), x, y) >> 24); };
    // Full strength at the centre, fading outwards, nothing past the radius.
    const int centreY = 2 + 17;
    EXPECT_EQ(alpha(17, centreY), (0x44 * 255) >> 8);
    for (int x = 17; x > 0; --x)
        EXPECT_GE(alpha(x, centreY), alpha(x - 1, centreY)) << x;
    EXPECT_LT(alpha(1, centreY), alpha(17, centreY) / 4);
    EXPECT_EQ(alpha(0, 2), 0) << "corner outside the radius";
    // Symmetric left to right and top to bottom, and stretched over the extra rows.
    for (int y = 2; y <= centreY; ++y)
        for (int x = 0; x <= 17; ++x) {
            EXPECT_EQ(GetBitmap32Pixel(shadow.get(), x, y), GetBitmap32Pixel(shadow.get(), 34 - x, y));
            EXPECT_EQ(GetBitmap32Pixel(shadow.get(), x, y), GetBitmap32Pixel(shadow.get(), x, 2 * centreY + 8 - y));
        }
    for (int y = centreY; y <= centreY + 8; ++y)
        EXPECT_EQ(GetBitmap32Pixel(shadow.get(), 5, y), GetBitmap32Pixel(shadow.get(), 5, centreY));
    // Premultiplied colour: black stays black.
    EXPECT_EQ(GetBitmap32Pixel(shadow.get(), 17, centreY) & 0xFFFFFF, 0u);

    TOwned<TBitmap> same(MakeShadowBitmap(color, 17, 2, 8, 0, 17, false));
    for (int y = 0; y < 45; y += 3)
        for (int x = 0; x < 35; x += 2)
            ASSERT_EQ(GetBitmap32Pixel(same.get(), x, y), GetBitmap32Pixel(shadow.get(), x, y)) << x << "," << y;
}

TEST(Shadows, BlurExtraWidthColourAndGreyMode)
{
    // With a blur of 4 the inner 6 pixels are at full strength.
    TOwned<TBitmap> sharp(MakeShadowBitmap(0xFF0000FFu, 10, 0, 0, 6, 4, false));
    ASSERT_EQ(BitmapSize(sharp.get()), TPoint(27, 21));
    EXPECT_EQ(GetBitmap32Pixel(sharp.get(), 10, 10), 0xFEFC0000u) << "red, premultiplied";
    EXPECT_EQ(GetBitmap32Pixel(sharp.get(), 4, 10) >> 24, 0xFEu);
    EXPECT_LT(GetBitmap32Pixel(sharp.get(), 2, 10) >> 24, 0xFEu);
    // The extra columns repeat the middle column; the right half moved to the end.
    for (int x = 11; x <= 16; ++x)
        EXPECT_EQ(GetBitmap32Pixel(sharp.get(), x, 3), GetBitmap32Pixel(sharp.get(), 10, 3)) << x;
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(GetBitmap32Pixel(sharp.get(), 26 - x, 7), GetBitmap32Pixel(sharp.get(), x, 7)) << x;

    TOwned<TBitmap> grey(MakeShadowBitmap(0x80000000u, 6, 1, 0, 0, 0, true));
    ASSERT_EQ(BitmapSize(grey.get()), TPoint(13, 14));
    EXPECT_EQ(GetBitmap32Pixel(grey.get(), 0, 0), 0xFFFFFFFFu) << "white outside";
    EXPECT_EQ(GetBitmap32Pixel(grey.get(), 0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(GetBitmap32Pixel(grey.get(), 6, 7), 0xFF7F7F7Fu) << "centre: (255 * 128) >> 8";
    Cardinal edge = GetBitmap32Pixel(grey.get(), 1, 7) & 0xFF;
    EXPECT_GT(edge, 0x7Fu);
    EXPECT_LT(edge, 0xFFu);
}

} // namespace
