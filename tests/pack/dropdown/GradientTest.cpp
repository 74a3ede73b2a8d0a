// Stepped gradients and gradient rectangles, rendered into a DIB and read
// back band by band.
#include "AdvDropDown.h"
#include "DropDownSurface.h"
#include <vector>

namespace {

constexpr COLORREF Background = RGB(255, 0, 255);

// num / den (den > 0) rounded to the nearest integer, halves to even, in
// integers only.
int RoundHalfEven(int num, int den)
{
    int q = num / den;
    int r = num % den;
    if (r < 0) {
        --q;
        r += den;
    }
    if (2 * r > den || (2 * r == den && (q & 1)))
        ++q;
    return q;
}

COLORREF BandColor(COLORREF from, COLORREF to, int band, int steps)
{
    auto channel = [&](int f, int t) { return f + RoundHalfEven(band * (t - f), steps); };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

class StepGradientTest : public SurfaceTest {
protected:
    StepGradientTest() : SurfaceTest(320, 320, Background) {}
};

struct BandCase {
    int steps;
    TColor from;
    TColor to;
};

const BandCase bandCases[] = {
    {0, 0x102030, 0xF0E0D0},   {1, 0x102030, 0xF0E0D0},   {2, clBlack, clWhite},
    {3, clWhite, clBlack},     {7, 0x00FF00, 0xFF0000},   {80, 0xC0C0C0, 0xFFFFFF},
    {128, 0xFFEEDD, 0x112233}, {128, clBtnFace, clNavy},
};

// Every band, at a few step counts and in both directions, starts at its
// rounded offset and has exactly its stepped colour all across the rectangle.
TEST_F(StepGradientTest, EveryBandHasItsSteppedColourAtItsOffset)
{
    for (bool horizontal : {true, false}) {
        for (const BandCase& c : bandCases) {
            SCOPED_TRACE(testing::Message() << "steps " << c.steps << (horizontal ? " horizontal" : " vertical"));
            Surface().Clear(Background);
            const TRect r = horizontal ? Rect(5, 3, 305, 23) : Rect(3, 5, 23, 305);
            DrawStepGradient(Canvas(), c.from, c.to, c.steps, r, horizontal);

            const int steps = c.steps == 0 ? 1 : c.steps;
            const int length = 299; // the last pixel is left out of the spacing
            const COLORREF from = ColorToRGB(c.from);
            const COLORREF to = ColorToRGB(c.to);
            for (int band = 0; band < steps; ++band) {
                const int offset = RoundHalfEven(band * length, steps);
                const COLORREF expected = BandColor(from, to, band, steps);
                if (horizontal) {
                    ASSERT_EQ(Surface().Pixel(r.left + offset, r.top), expected) << "band " << band;
                    ASSERT_EQ(Surface().Pixel(r.left + offset, r.bottom - 1), expected) << "band " << band;
                } else {
                    ASSERT_EQ(Surface().Pixel(r.left, r.top + offset), expected) << "band " << band;
                    ASSERT_EQ(Surface().Pixel(r.right - 1, r.top + offset), expected) << "band " << band;
                }
            }
            // Nothing outside the rectangle.
            const TRect around = Rect(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1);
            EXPECT_EQ(Surface().CountPixels(Background, around) - Surface().CountPixels(Background, r),
                      around.Width() * around.Height() - r.Width() * r.Height());
        }
    }
}

TEST_F(StepGradientTest, TwoBandsOverTenPixelsLeaveTheLastColumnAndNeverDrawTheEndColour)
{
    DrawStepGradient(Canvas(), clBlack, clWhite, 2, Rect(0, 0, 10, 4), true);
    std::vector<COLORREF> row;
    for (int x = 0; x < 11; ++x)
        row.push_back(Surface().Pixel(x, 2));
    const COLORREF k = RGB(0, 0, 0);
    const COLORREF g = RGB(128, 128, 128);
    EXPECT_EQ(row, (std::vector<COLORREF>{k, k, k, k, g, g, g, g, g, Background, Background}));
}

TEST_F(StepGradientTest, StepsZeroFillsTheWholeRectangleWithTheStartColour)
{
    for (bool horizontal : {true, false}) {
        Surface().Clear(Background);
        DrawStepGradient(Canvas(), 0x336699, clWhite, 0, Rect(10, 10, 40, 30), horizontal);
        EXPECT_EQ(Surface().CountPixels(RGB(0x99, 0x66, 0x33), Rect(10, 10, 40, 30)), 30 * 20);
        EXPECT_EQ(Surface().CountPixels(Background, Rect(0, 0, 320, 320)), 320 * 320 - 30 * 20);
    }
}

// More bands than pixels (128 bands in a small grid cell): the bands pile up,
// but the cell is covered and runs steadily from the start colour.
TEST_F(StepGradientTest, MoreBandsThanPixelsStillRunSteadilyFromTheStartColour)
{
    const TRect cell = Rect(20, 20, 60, 37);
    DrawStepGradient(Canvas(), clWhite, clBlack, 128, cell, false);
    // Bands 0 to 4 all start on the first row (4 x 16 / 128 = 0.5 goes to 0);
    // band 4 is drawn last there.
    EXPECT_EQ(Surface().Pixel(30, cell.top), BandColor(RGB(255, 255, 255), 0, 4, 128));
    int previous = 256;
    for (int y = cell.top; y < cell.bottom - 1; ++y) {
        const COLORREF p = Surface().Pixel(30, y);
        ASSERT_NE(p, Background) << "row " << y;
        ASSERT_EQ(GetRValue(p), GetBValue(p));
        ASSERT_LE(GetRValue(p), previous) << "row " << y;
        previous = GetRValue(p);
    }
    EXPECT_GT(previous, 0) << "the end colour is approached, never drawn";
}

TEST_F(StepGradientTest, EmptyRectanglesAndNoCanvasDrawNothing)
{
    for (const TRect& r : {Rect(10, 10, 10, 30), Rect(10, 10, 30, 10), Rect(30, 10, 10, 30)})
        for (bool horizontal : {true, false})
            DrawStepGradient(Canvas(), clBlack, clWhite, 128, r, horizontal);
    EXPECT_EQ(Surface().CountPixels(Background, Rect(0, 0, 320, 320)), 320 * 320);
    DrawStepGradient(nullptr, clBlack, clWhite, 128, Rect(0, 0, 10, 10), true);
}

// A wide or clear pen and a clear brush left on the canvas by earlier
// drawing must neither spill the bands nor leave them empty.
TEST_F(StepGradientTest, PenAndBrushLeftOnTheCanvasDoNotChangeTheBands)
{
    TCanvas* canvas = Canvas();
    canvas->GetPen()->SetWidth(5);
    canvas->GetPen()->SetStyle(psClear);
    canvas->GetBrush()->SetColor(clRed);
    canvas->GetBrush()->SetStyle(bsClear);
    DrawStepGradient(canvas, clRed, clBlue, 4, Rect(50, 50, 90, 60), true);
    EXPECT_EQ(Surface().CountPixels(Background, Rect(40, 40, 100, 70)), 60 * 30 - 40 * 10);
    EXPECT_EQ(Surface().Pixel(51, 55), RGB(255, 0, 0));
    EXPECT_EQ(Surface().Pixel(70, 55), BandColor(RGB(255, 0, 0), RGB(0, 0, 255), 2, 4));
}

// ---------------------------------------------------------------------------
struct FillCase {
    const char* name;
    TColor color;
    TColor colorTo;
    TColor borderColor;
    int borderWidth;
    AdvDropDown::TGradientDirection direction;
    // Expected one pixel in from the start and from the end along the
    // direction (bands 1 and 79 of a gradient), and on the edges
    // (CLR_INVALID: the gradient shows there).
    COLORREF first;
    COLORREF last;
    COLORREF border;
};

const FillCase fillCases[] = {
    {"vertical gradient", 0x000000, 0xFFFFFF, clNone, 1, AdvDropDown::gdVertical, RGB(3, 3, 3),
     RGB(252, 252, 252), CLR_INVALID},
    {"horizontal gradient", 0x0000FF, 0x00FF00, clNone, 0, AdvDropDown::gdHorizontal,
     BandColor(RGB(255, 0, 0), RGB(0, 255, 0), 1, 80), BandColor(RGB(255, 0, 0), RGB(0, 255, 0), 79, 80),
     CLR_INVALID},
    {"plain fill", 0x808000, clNone, clNone, 1, AdvDropDown::gdVertical, RGB(0, 128, 128), RGB(0, 128, 128),
     RGB(0, 128, 128)},
    {"plain fill, system colour", clBtnFace, clNone, clNone, 1, AdvDropDown::gdVertical,
     GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)},
    {"nothing", clNone, clNone, clNone, 1, AdvDropDown::gdVertical, Background, Background, Background},
    {"border only", clNone, clNone, 0x0000FF, 1, AdvDropDown::gdVertical, Background, Background,
     RGB(255, 0, 0)},
    {"fill with border", 0x808000, clNone, 0x000080, 1, AdvDropDown::gdVertical, RGB(0, 128, 128),
     RGB(0, 128, 128), RGB(128, 0, 0)},
    {"border width 0 draws none", 0x808000, clNone, 0x000080, 0, AdvDropDown::gdVertical, RGB(0, 128, 128),
     RGB(0, 128, 128), RGB(0, 128, 128)},
};

TEST_F(StepGradientTest, GradientRectanglesFillAndFrameByTheirColours)
{
    const TRect r = Rect(100, 100, 200, 180);
    for (const FillCase& c : fillCases) {
        SCOPED_TRACE(c.name);
        Surface().Clear(Background);
        FillGradientRect(Canvas(), r, c.color, c.colorTo, c.borderColor, c.borderWidth, c.direction);
        if (c.direction == AdvDropDown::gdVertical) {
            EXPECT_EQ(Surface().Pixel(150, r.top + 1), c.first);
            EXPECT_EQ(Surface().Pixel(150, r.bottom - 2), c.last);
        } else {
            EXPECT_EQ(Surface().Pixel(r.left + 1, 140), c.first);
            EXPECT_EQ(Surface().Pixel(r.right - 2, 140), c.last);
        }
        if (c.border != CLR_INVALID) {
            EXPECT_EQ(Surface().Pixel(r.left, 140), c.border);
            EXPECT_EQ(Surface().Pixel(r.right - 1, 140), c.border);
            EXPECT_EQ(Surface().Pixel(150, r.top), c.border);
            EXPECT_EQ(Surface().Pixel(150, r.bottom - 1), c.border);
        }
        EXPECT_EQ(Surface().Pixel(r.right, 140), Background);
        EXPECT_EQ(Surface().Pixel(150, r.bottom), Background);
    }
}

TEST_F(StepGradientTest, WideBorderIsDrawnInsideAndOverTheGradient)
{
    const TRect r = Rect(100, 100, 200, 180);
    FillGradientRect(Canvas(), r, clBlack, clWhite, clRed, 3, AdvDropDown::gdHorizontal);
    // A pen of width 3 is centred on the edge, so two of its pixels lie inside.
    for (int x : {r.left, r.left + 1, r.right - 2})
        EXPECT_EQ(Surface().Pixel(x, 140), RGB(255, 0, 0)) << x;
    EXPECT_EQ(Surface().Pixel(150, r.top + 1), RGB(255, 0, 0));
    const COLORREF inside = Surface().Pixel(r.left + 4, 140);
    EXPECT_NE(inside, RGB(255, 0, 0));
    EXPECT_EQ(GetRValue(inside), GetBValue(inside)) << "the grey gradient shows inside the border";
    FillGradientRect(nullptr, r, clBlack, clWhite, clRed, 3, AdvDropDown::gdHorizontal);
}

} // namespace
