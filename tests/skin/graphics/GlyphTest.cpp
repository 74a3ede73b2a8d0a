// Glyph strips, glyph masks, bitmaps blended onto canvases and the small
// arrows, checked as pixel tables on 32-bit bitmaps.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "TestSupport.h"
#include <string>
#include <vector>

namespace {

// '#' where the pixel equals Value.
std::vector<std::string> Art(TBitmap* bmp, Cardinal value)
{
    std::vector<std::string> rows;
    for (int y = 0; y < bmp->GetHeight(); ++y) {
        std::string row;
        for (int x = 0; x < bmp->GetWidth(); ++x)
            row += GetBitmap32Pixel(bmp, x, y) == value ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Blank(int rows) { return std::vector<std::string>(rows, "............"); }

TEST(SolidArrow, FourDirectionsAsPixelTables)
{
    // The default arrow is 7 wide and 4 high, centred in the rectangle.
    ASSERT_EQ(ArrowWidth, 7);
    ASSERT_EQ(ArrowHeight, 4);
    struct Case {
        int direction;
        std::vector<std::pair<int, std::string>> rows;
    } cases[] = {
        {3, {{4, "..#######..."}, {5, "...#####...."}, {6, "....###....."}, {7, ".....#......"}}},
        {1, {{4, ".....#......"}, {5, "....###....."}, {6, "...#####...."}, {7, "..#######..."}}},
        {2, {{2, "....#......."}, {3, "....##......"}, {4, "....###....."}, {5, "....####...."},
             {6, "....###....."}, {7, "....##......"}, {8, "....#......."}}},
        // The left arrow starts one row lower than the right one.
        {0, {{3, ".......#...."}, {4, "......##...."}, {5, ".....###...."}, {6, "....####...."},
             {7, ".....###...."}, {8, "......##...."}, {9, ".......#...."}}},
    };
    for (const Case& c : cases) {
        auto bmp = Bitmap32(12, 12);
        PaintSolidArrow(bmp.get(), TColor(0x800000FF), TRect(0, 0, 12, 12), c.direction);
        auto expected = Blank(12);
        for (const auto& [row, text] : c.rows)
            expected[row] = text;
        EXPECT_EQ(Art(bmp.get(), 0x80FF0000u), expected) << "direction " << c.direction;
    }

    // Touching the right or bottom edge draws nothing; one pixel less fits.
    auto bmp = Bitmap32(12, 12);
    PaintSolidArrow(bmp.get(), clRed, TRect(5, 5, 12, 12), 3);
    EXPECT_EQ(Art(bmp.get(), 0x00FF0000u), Blank(12));
    PaintSolidArrow(bmp.get(), clRed, TRect(5, 8, 12, 12), 1);
    EXPECT_EQ(Art(bmp.get(), 0x00FF0000u), Blank(12));
    PaintSolidArrow(bmp.get(), clRed, TRect(4, 4, 11, 11), 3);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 4, 5), 0x00FF0000u);
}

// Pixels with alpha above one half, per column and per row of a box.
std::pair<std::vector<int>, std::vector<int>> OpaqueCounts(TBitmap* bmp, const TRect& box)
{
    std::vector<int> columns, rows;
    for (int x = box.left; x < box.right; ++x) {
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            n += (GetBitmap32Pixel(bmp, x, y) >> 24) > 128;
        columns.push_back(n);
    }
    for (int y = box.top; y < box.bottom; ++y) {
        int n = 0;
        for (int x = box.left; x < box.right; ++x)
            n += (GetBitmap32Pixel(bmp, x, y) >> 24) > 128;
        rows.push_back(n);
    }
    return {columns, rows};
}

TEST(ArrowGlyph, FilledGlyphInEveryDirection)
{
    // Size 5 less one for a filled glyph: 8 x 4, turned for left and right.
    auto down = Bitmap32(12, 12);
    PaintArrowGlyph(down.get(), TColor(0xFF0000FF), clNone, TRect(0, 0, 12, 12), 3, 0, 0, 0);
    EXPECT_EQ(OpaqueCounts(down.get(), TRect(2, 4, 10, 8)).second, (std::vector<int>{8, 6, 4, 2}));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(down.get(), 5, 5), 0xFEFE0000u, 1)) << "the fill colour, opaque";
    EXPECT_EQ(GetBitmap32Pixel(down.get(), 2, 7), 0u) << "outside the glyph";
    EXPECT_EQ(OpaqueCounts(down.get(), TRect(0, 0, 12, 12)).first,
              (std::vector<int>{0, 0, 1, 2, 3, 4, 4, 3, 2, 1, 0, 0}));

    const DWORD gdiBefore = testing_support::GdiObjectCount();
    auto up = Bitmap32(12, 12);
    PaintArrowGlyph(up.get(), TColor(0xFF0000FF), clNone, TRect(0, 0, 12, 12), 1, 0, 0, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(GetBitmap32Pixel(up.get(), x, 4 + y), GetBitmap32Pixel(down.get(), x, 7 - y)) << x << "," << y;

    auto left = Bitmap32(12, 12);
    PaintArrowGlyph(left.get(), TColor(0xFF0000FF), clNone, TRect(0, 0, 12, 12), 0, 0, 0, 0);
    EXPECT_EQ(OpaqueCounts(left.get(), TRect(4, 2, 8, 10)).first, (std::vector<int>{2, 4, 6, 8}));
    auto right = Bitmap32(12, 12);
    PaintArrowGlyph(right.get(), TColor(0xFF0000FF), clNone, TRect(0, 0, 12, 12), 2, 0, 0, 0);
    EXPECT_EQ(OpaqueCounts(right.get(), TRect(4, 2, 8, 10)).first, (std::vector<int>{8, 6, 4, 2}));

    // Line-drawn and turned by an angle: drawn, and nothing left behind.
    auto turned = Bitmap32(12, 12);
    PaintArrowGlyph(turned.get(), TColor(0xFF0000FF), TColor(0x00FF00), TRect(0, 0, 12, 12), 3, 45, 0, 1);
    EXPECT_GT(OpaqueCounts(turned.get(), TRect(0, 0, 12, 12)).first[6], 0);
    up.reset();
    left.reset();
    right.reset();
    turned.reset();
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
}

// A strip of Count 4 x 2 images: image i is 0x00AA00i0 with a fuchsia key
// at its bottom-left pixel.
TOwned<TBitmap> Strip(int count = 3)
{
    auto strip = Bitmap32(4 * count, 2);
    for (int i = 0; i < count; ++i)
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 4; ++x)
                SetBitmap32Pixel(strip.get(), 4 * i + x, y, 0x00AA0000u | Cardinal(0x10 * (i + 1)));
    for (int i = 0; i < count; ++i)
        SetBitmap32Pixel(strip.get(), 4 * i, 1, 0x00FF00FFu);
    return strip;
}

Cardinal ImageColour(int i) { return 0x00AA0000u | Cardinal(0x10 * (i + 1)); }

TEST(MultiStateGlyph, StateChoosesTheImage)
{
    enum Manager { none, skinOrder, stdOrder };
    struct Case {
        int imageCount, state, altIndex;
        bool stateImages;
        Manager manager;
        int expected; // image index, -1 for nothing drawn
    } cases[] = {
        {3, 0, 0, true, none, 0},       {1, 2, 0, true, skinOrder, 0},  {3, 1, 0, true, none, 0},
        {3, 1, 0, true, skinOrder, 1},  {3, 1, 0, true, stdOrder, 0},   {3, 2, 0, true, none, 2},
        {2, 2, 0, true, skinOrder, 1},  {2, 2, 0, true, none, 0},       {3, 2, 5, true, stdOrder, 0},
        {3, 3, 0, true, none, 2},       {2, 3, 0, true, none, 0},       {3, 5, 0, true, none, -1},
        {3, 2, 0, false, skinOrder, 0}, {0, 0, 0, true, none, -1},
    };
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
    for (const Case& c : cases) {
        auto strip = Strip(c.imageCount > 0 ? c.imageCount : 3);
        manager->Options.StdGlyphsOrder = c.manager == stdOrder;
        DefaultManager = c.manager == none ? nullptr : manager.get();
        auto dst = Bitmap32(10, 10);
        DrawMultiStateGlyph(strip.get(), dst.get(), TRect(2, 2, 6, 4), false, c.altIndex, 0, c.state, c.stateImages,
                            c.imageCount);
        DefaultManager = nullptr;
        const Cardinal drawn = GetBitmap32Pixel(dst.get(), 3, 2);
        if (c.expected < 0) {
            EXPECT_EQ(drawn, 0u) << c.imageCount << "/" << c.state;
            continue;
        }
        EXPECT_EQ(drawn, ImageColour(c.expected))
            << "count " << c.imageCount << ", state " << c.state << ", alt " << c.altIndex;
        EXPECT_EQ(GetBitmap32Pixel(dst.get(), 2, 3), 0u) << "the key pixel is not copied";
        EXPECT_EQ(GetBitmap32Pixel(dst.get(), 6, 2), 0u) << "one image only";
    }
}

TEST(MultiStateGlyph, BlendAndReflection)
{
    auto strip = Strip();
    auto dst = Bitmap32(10, 10);
    DrawMultiStateGlyph(strip.get(), dst.get(), TRect(2, 2, 6, 4), false, 0, 128, 0, false, 3);
    // ((255 - 128) * s + 128 * 0) >> 8 on all four bytes.
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 3, 2), Cardinal((127 * 0xAA >> 8) << 16 | (127 * 0x10 >> 8)));
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 2, 3), 0u) << "fuchsia is the key of the blend";

    // A reflection mirrors the rows upwards from the source block's bottom and
    // stops at the source's first row.
    auto src = Bitmap32(1, 9, 0xFF0000FFu);
    SetBitmap32Pixel(src.get(), 0, 0, 0xFFFF0000u);
    SetBitmap32Pixel(src.get(), 0, 1, 0xFF00FF00u);
    auto target = Bitmap32(1, 10, 0xFF000000u);
    PaintGlyphReflection(target.get(), src.get(), TRect(0, 2, 1, 9), 0, clFuchsia, TRect(0, 0, 0, 1));
    // n = min(9 div 3 * 2, 10 - 2) = 6: k = 255 * 255 >> 9 = 127, then m = 204, F = 213: 84.
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 2), 0xFF007E00u);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 3), 0xFF530000u);
    for (int y = 4; y < 10; ++y)
        EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, y), 0xFF000000u) << "row " << y;
}

TEST(GlyphMask, CoverageIntoColour)
{
    auto grey = Bitmap32(2, 2, 0xFF808080u);
    auto dst = Bitmap32(3, 3, 0x7F00FF00u);
    PaintGlyphMask(dst.get(), grey.get(), TPoint(-5, 1), 0x0000FF, 0xFF0000);
    // v = 255 - 128 = 127: red (255 * 127) >> 8, blue (-255 * 127 + 255 * 256) >> 8.
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 0, 1), 0x7F7E0080u) << "between background and colour; point raised to 0";
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 2, 1), 0x7F00FF00u);
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 0, 0), 0x7F00FF00u);

    auto alphaGlyph = Bitmap32(1, 1, 0x80000000u);
    dst = Bitmap32(1, 1, 0xFF000000u);
    PaintGlyphMask(dst.get(), alphaGlyph.get(), TPoint(0, 0), 0x0000FF, clNone);
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 0, 0), 0xFF7F0000u) << "32-bit glyph: its alpha is the coverage";

    TOwned<TBitmap> plain(New<TBitmap>());
    plain->SetPixelFormat(pf24bit);
    plain->SetSize(1, 1);
    PaintSolidRect(plain->GetCanvas()->GetHandle(), TRect(0, 0, 1, 1), clBlack);
    dst = Bitmap32(1, 1, 0xFF000000u);
    PaintGlyphMask(dst.get(), plain.get(), TPoint(0, 0), 0x0000FF, clNone);
    EXPECT_EQ(GetBitmap32Pixel(dst.get(), 0, 0), 0xFFFE0000u) << "other glyphs: 255 minus their grey";
}

TEST(BitmapOnCanvas, BlendsByAlphaAndStretches)
{
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    auto canvasBmp = Bitmap32(6, 4, 0xFFFFFFFFu);
    auto half = Bitmap32(2, 2, 0x80FF0000u);
    DrawBitmap32OnCanvas(canvasBmp->GetCanvas(), half.get(), TRect(1, 1, 3, 3), false);
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvasBmp.get(), 1, 1) & 0xFFFFFF, 0xFF7F7Fu));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvasBmp.get(), 2, 2) & 0xFFFFFF, 0xFF7F7Fu));
    EXPECT_EQ(GetBitmap32Pixel(canvasBmp.get(), 0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(GetBitmap32Pixel(canvasBmp.get(), 3, 3) & 0xFFFFFF, 0xFFFFFFu);

    // Stretched: the alpha goes with the colours, so the transparent half stays white.
    canvasBmp = Bitmap32(6, 4, 0xFFFFFFFFu);
    auto pair = Bitmap32(2, 1, 0x80FF0000u);
    SetBitmap32Pixel(pair.get(), 1, 0, 0x000000FFu);
    DrawBitmap32OnCanvas(canvasBmp->GetCanvas(), pair.get(), TRect(0, 0, 4, 2), false);
    for (int x = 0; x < 4; ++x)
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvasBmp.get(), x, 1) & 0xFFFFFF, x < 2 ? 0xFF7F7Fu : 0xFFFFFFu))
            << x;

    TOwned<TBitmap> plain(New<TBitmap>());
    plain->SetPixelFormat(pf24bit);
    plain->SetSize(1, 1);
    PaintSolidRect(plain->GetCanvas()->GetHandle(), TRect(0, 0, 1, 1), clLime);
    DrawBitmap32OnCanvas(canvasBmp->GetCanvas(), plain.get(), TRect(4, 0, 6, 2), false);
    EXPECT_EQ(GetBitmap32Pixel(canvasBmp.get(), 5, 1) & 0xFFFFFF, 0x00FF00u) << "drawn itself, stretched";

    // With a reflection the rows below R take a fading mirror image.
    canvasBmp = Bitmap32(8, 16, 0xFF000000u);
    auto opaque = Bitmap32(8, 8, 0xFFFFFFFFu);
    DrawBitmap32OnCanvas(canvasBmp->GetCanvas(), opaque.get(), TRect(0, 0, 8, 8), true);
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(canvasBmp.get(), 0, 7) & 0xFFFFFF, 0xFFFFFFu, 1));
    EXPECT_EQ(GetBitmap32Pixel(canvasBmp.get(), 0, 9) & 0xFFFFFF, 0x535353u) << "255 * 84 >> 8";
    EXPECT_EQ(GetBitmap32Pixel(canvasBmp.get(), 0, 12) & 0xFFFFFF, 0u) << "below half the height";

    canvasBmp.reset();
    half.reset();
    pair.reset();
    plain.reset();
    opaque.reset();
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
}

} // namespace
