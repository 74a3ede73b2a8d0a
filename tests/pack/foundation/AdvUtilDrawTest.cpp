// Cell backgrounds and selection bands, drawn on a white 32-bit bitmap and
// read back pixel by pixel.
#include "AdvUtil.h"
#include "HTMLTestSupport.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using htmltest::TSurface;

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

// The red channel of a pixel, for gradients that run over red only.
int Red(const TSurface& s, int x, int y) { return GetRValue(s.Pixel(x, y)); }

// A pen and brush the caller left behind must not change what is drawn.
void LeaveFatPen(TCanvas* canvas)
{
    canvas->GetPen()->SetWidth(5);
    canvas->GetPen()->SetStyle(psDash);
    canvas->GetBrush()->SetStyle(bsClear);
}

TEST(GradientRect, BandsRunFromColourToColourAndStopAtTheEdges)
{
    struct Case {
        const char* name;
        TRect rect;
        int steps;
        bool horizontal;
        // Red along the gradient, from its start, one value per pixel.
        std::vector<int> reds;
    } cases[] = {
        // Ten pixels of spacing, ten steps: one band per pixel, the last pixel red.
        {"one band per pixel", {10, 10, 21, 14}, 10, true, {0, 26, 51, 76, 102, 128, 153, 178, 204, 230, 255}},
        // More steps than pixels: as many steps as there are pixels to space.
        {"steps clamped to the size", {10, 10, 15, 14}, 64, true, {0, 64, 128, 191, 255}},
        // Two steps over five pixels: bands two pixels long, the last on the edge.
        {"two steps", {10, 10, 15, 14}, 2, true, {0, 0, 128, 128, 255}},
        {"vertical", {10, 10, 14, 15}, 4, false, {0, 64, 128, 191, 255}},
        // An inverted rectangle is drawn as its upright self.
        {"top below bottom", {10, 15, 14, 10}, 4, false, {0, 64, 128, 191, 255}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TSurface s(40, 40);
        LeaveFatPen(s.Canvas());
        DrawGradientRect(s.Canvas(), clBlack, clRed, k.steps, k.rect, k.horizontal);
        const TRect r(k.rect.left, std::min(k.rect.top, k.rect.bottom), k.rect.right,
                      std::max(k.rect.top, k.rect.bottom));
        std::vector<int> along;
        for (int i = 0; i < static_cast<int>(k.reds.size()); ++i)
            along.push_back(k.horizontal ? Red(s, r.left + i, r.bottom - 1) : Red(s, r.right - 1, r.top + i));
        EXPECT_EQ(along, k.reds);
        // Across the gradient the colour stays, and nothing lands outside.
        if (k.horizontal)
            EXPECT_EQ(s.Pixel(r.left + 2, r.top), s.Pixel(r.left + 2, r.bottom - 1));
        else
            EXPECT_EQ(s.Pixel(r.left, r.top + 2), s.Pixel(r.right - 1, r.top + 2));
        EXPECT_EQ(s.Count(s.All(), [](COLORREF p) { return p != White; }), r.Width() * r.Height());
    }
}

TEST(GradientRect, AMissingColourFillsWithTheOtherAndNoHeightDrawsNothing)
{
    struct Case {
        const char* name;
        TColor from, to;
        TRect rect;
        COLORREF fill;  // White: nothing drawn
    } cases[] = {
        {"no end colour", clBlue, clNone, {5, 5, 25, 15}, RGB(0, 0, 255)},
        {"no start colour", clNone, clLime, {5, 5, 25, 15}, RGB(0, 255, 0)},
        {"a system colour is resolved", clBtnFace, clNone, {5, 5, 25, 15}, GetSysColor(COLOR_BTNFACE)},
        {"no colour at all", clNone, clNone, {5, 5, 25, 15}, White},
        {"no height", clBlue, clRed, {5, 5, 25, 5}, White},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TSurface s(30, 20);
        DrawGradientRect(s.Canvas(), k.from, k.to, 64, k.rect, true);
        const int area = k.rect.Width() * k.rect.Height();
        EXPECT_EQ(s.Count(k.rect, k.fill), area);
        EXPECT_EQ(s.Count(s.All(), White), s.Width() * s.Height() - (k.fill == White ? 0 : area));
    }
}

TEST(CellBackground, FillsSolidGradientOrMirroredHalves)
{
    constexpr TRect R(4, 4, 24, 24);
    struct Case {
        const char* name;
        TColor color, colorTo, mirror, mirrorTo;
        bool vertical;
        // Red at the first pixel, the last pixel of the first half, the first
        // of the second half and the last pixel, along the gradient.
        int first, halfEnd, halfStart, last;
        int paintedRows;  // rows painted from R.top
    } cases[] = {
        // A solid fill reaches one row below the rectangle.
        {"solid", clRed, clNone, clNone, clNone, true, 255, 255, 255, 255, 21},
        {"vertical gradient", clBlack, clRed, clNone, clNone, true, 0, 121, 134, 255, 20},
        {"horizontal gradient", clBlack, clRed, clNone, clNone, false, 0, 121, 134, 255, 20},
        {"mirrored halves", clBlack, RGB(100, 0, 0), RGB(200, 0, 0), clRed, true, 0, 100, 200, 255, 20},
        {"mirror without its end colour", clBlack, RGB(100, 0, 0), RGB(200, 0, 0), clNone, false, 0, 100, 200, 200,
         20},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TSurface s(30, 30);
        DrawCellBackground(s.Canvas(), R, k.color, k.colorTo, k.mirror, k.mirrorTo, k.vertical, clNone, false, true);
        auto at = [&](int i) { return k.vertical ? Red(s, R.left + 3, R.top + i) : Red(s, R.left + i, R.top + 3); };
        EXPECT_EQ(at(0), k.first);
        EXPECT_EQ(at(9), k.halfEnd);
        EXPECT_EQ(at(10), k.halfStart);
        EXPECT_EQ(at(19), k.last);
        EXPECT_EQ(s.Count(TRect(R.left, R.top, R.right, 30), [](COLORREF p) { return p != White; }),
                  R.Width() * k.paintedRows);
    }
}

TEST(CellBackground, FramesOrSidesInTheBorderColourAndFillsOnlyWhenAsked)
{
    constexpr TRect R(4, 4, 24, 24);
    constexpr COLORREF Border = RGB(0, 0, 255);
    struct Case {
        const char* name;
        TColor color;
        bool sidesOnly, fill;
        COLORREF top, side, inside;
    } cases[] = {
        {"frame", clRed, false, true, Border, Border, RGB(255, 0, 0)},
        {"sides only", clRed, true, true, RGB(255, 0, 0), Border, RGB(255, 0, 0)},
        {"frame without fill", clRed, false, false, Border, Border, White},
        {"no colour, no fill", clNone, false, true, Border, Border, White},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TSurface s(30, 30);
        DrawCellBackground(s.Canvas(), R, k.color, clNone, clNone, clNone, true, clBlue, k.sidesOnly, k.fill);
        EXPECT_EQ(s.Pixel(12, R.top), k.top);
        EXPECT_EQ(s.Pixel(12, R.bottom - 1), k.top);
        EXPECT_EQ(s.Pixel(R.left, 12), k.side);
        EXPECT_EQ(s.Pixel(R.right - 1, 12), k.side);
        EXPECT_EQ(s.Pixel(12, 12), k.inside);
        EXPECT_EQ(s.Pixel(R.right, 12), White);
    }
}

// A band cell on (10, 10, 40, 30): it covers columns 10 .. 38 and rows
// 10 .. 28, leaving column 39 and row 29 to the grid lines.
struct SelectionBand : testing::Test {
    static constexpr TRect R{10, 10, 40, 30};
    static constexpr COLORREF Fill = RGB(10, 0, 0), FillTo = RGB(200, 0, 0), Mirror = RGB(0, 10, 0),
                              MirrorTo = RGB(0, 200, 0), InnerTop = RGB(1, 1, 1), InnerBottom = RGB(2, 2, 2),
                              Border = RGB(3, 3, 3), Corner = RGB(4, 4, 4), Behind = RGB(5, 5, 5);
    static constexpr int Left = 10, Right = 38, Top = 10, Bottom = 28;

    TSurface s{50, 40};
    void Draw(int part, TColor colorTo = FillTo, TColor mirror = clNone, TColor mirrorTo = clNone)
    {
        LeaveFatPen(s.Canvas());
        DrawStyledSelectionRect(s.Canvas(), Fill, colorTo, mirror, mirrorTo, InnerTop, InnerBottom, Border, Corner,
                                Behind, R, part);
    }
};

TEST_F(SelectionBand, RoundsTheEndsThePartAsksFor)
{
    struct Case {
        int part;
        bool roundLeft, roundRight;
        int insetLeft, insetRight;
    } cases[] = {
        {0, true, true, 2, 2}, {1, true, false, 2, 0}, {2, false, true, 0, 2}, {3, false, false, 0, 0},
        {7, false, false, 2, 2},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "part " << k.part);
        s.Clear();
        Draw(k.part);
        struct End {
            bool round;
            int inset, outerX, innerX;
        } ends[] = {{k.roundLeft, k.insetLeft, Left, Left + 1}, {k.roundRight, k.insetRight, Right, Right - 1}};
        for (const End& e : ends) {
            if (e.round) {
                for (int y : {Top, Bottom}) {
                    const int inward = y == Top ? 1 : -1;
                    EXPECT_EQ(s.Pixel(e.outerX, y), Behind) << "corner x " << e.outerX << " y " << y;
                    EXPECT_EQ(s.Pixel(e.innerX, y), Corner);
                    EXPECT_EQ(s.Pixel(e.outerX, y + inward), Corner);
                    EXPECT_EQ(s.Pixel(e.innerX, y + inward), Corner);
                }
                EXPECT_EQ(s.Pixel(e.outerX, 15), Border) << "outer edge";
                EXPECT_EQ(s.Pixel(e.innerX, 15), InnerTop) << "inner edge, upper half";
                EXPECT_EQ(s.Pixel(e.innerX, 24), InnerBottom) << "inner edge, lower half";
            } else {
                // The band runs on to the cell's edge, or stops two pixels short.
                const COLORREF edge = e.inset ? White : Border;
                EXPECT_EQ(s.Pixel(e.outerX, Top), edge) << "top line at x " << e.outerX;
                EXPECT_EQ(s.Pixel(e.outerX, Bottom), edge);
                EXPECT_NE(s.Pixel(e.outerX, 15), Border) << "no outer edge";
            }
        }
        EXPECT_EQ(s.Pixel(25, Top), Border);
        EXPECT_EQ(s.Pixel(25, Top + 1), InnerTop);
        EXPECT_EQ(s.Pixel(25, Bottom - 1), InnerBottom);
        EXPECT_EQ(s.Pixel(25, Bottom), Border);
        // The grid lines' column and row stay free.
        EXPECT_EQ(s.Count(TRect(R.right - 1, 0, R.right, 40), White), 40);
        EXPECT_EQ(s.Count(TRect(0, R.bottom - 1, 50, R.bottom), White), 50);
    }
}

TEST_F(SelectionBand, FillsSolidGradientOrMirroredInside)
{
    struct Case {
        const char* name;
        TColor colorTo, mirror, mirrorTo;
        COLORREF firstRow, lastRow;
    } cases[] = {
        {"solid", clNone, clNone, clNone, Fill, Fill},
        {"gradient", FillTo, clNone, clNone, Fill, FillTo},
        {"mirrored", FillTo, Mirror, MirrorTo, Fill, MirrorTo},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        s.Clear();
        Draw(3, k.colorTo, k.mirror, k.mirrorTo);
        EXPECT_EQ(s.Pixel(20, Top + 2), k.firstRow);
        EXPECT_EQ(s.Pixel(20, Bottom - 2), k.lastRow);
        if (k.mirror != clNone) {
            // Rows 12 .. 26: the upper half ends in FillTo, the lower starts in Mirror.
            EXPECT_EQ(s.Pixel(20, 18), FillTo);
            EXPECT_EQ(s.Pixel(20, 19), Mirror);
        }
    }
}

TEST(DrawHelpers, LeaveNoGdiObjectsBehind)
{
    TSurface s(60, 40);
    auto drawAll = [&] {
        DrawGradientRect(s.Canvas(), clBlack, clRed, 64, TRect(0, 0, 60, 10), true);
        DrawCellBackground(s.Canvas(), TRect(0, 10, 60, 20), clBlack, clRed, clBlue, clLime, true, clGray, false, true);
        DrawStyledSelectionRect(s.Canvas(), clWhite, clGray, clNone, clNone, clBlack, clBlack, clBlack, clBlack,
                                clWhite, TRect(0, 20, 60, 40), 0);
    };
    // The first round gives the canvas its own pen and brush.
    drawAll();
    const DWORD before = testing_support::GdiObjectCount();
    for (int i = 0; i < 20; ++i)
        drawAll();
    EXPECT_EQ(testing_support::GdiObjectCount(), before);
}

} // namespace
