// Colours, bars, pies, cell shapes, button glyphs and the error zig-zag,
// drawn on a white 32-bit bitmap and read back pixel by pixel.
#include "AdvUtil.h"
#include "HTMLTestSupport.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <functional>
#include <set>

using htmltest::TSurface;

namespace {

constexpr COLORREF White = RGB(255, 255, 255);

// The runs of Color along row Y between X1 and X2, as (start, length).
std::vector<std::pair<int, int>> Runs(const TSurface& s, int y, int x1, int x2, COLORREF color)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = x1; x < x2; ++x) {
        if (s.Pixel(x, y) != color)
            continue;
        if (!runs.empty() && runs.back().first + runs.back().second == x)
            ++runs.back().second;
        else
            runs.push_back({x, 1});
    }
    return runs;
}

// Every colour of an area.
std::set<COLORREF> Colours(const TSurface& s, const TRect& area)
{
    std::set<COLORREF> colours;
    s.Count(area, [&](COLORREF p) {
        colours.insert(p);
        return false;
    });
    return colours;
}

TEST(ColourArithmetic, StepsHalvesAndBrightens)
{
    struct Case {
        const char* name;
        TColor got, expected;
    } cases[] = {
        {"half way", InterpolateColor(RGB(0, 100, 200), RGB(200, 100, 0), 0, 10, 5), RGB(100, 100, 100)},
        {"offset steps", InterpolateColor(RGB(0, 0, 0), RGB(100, 0, 0), 10, 20, 5), RGB(50, 0, 0)},
        {"no end colour", InterpolateColor(clRed, clNone, 0, 10, 5), clRed},
        {"equal steps", InterpolateColor(clRed, clBlue, 4, 4, 2), clRed},
        {"system colour", InterpolateColor(clBtnFace, clBtnFace, 0, 2, 1), TColor(GetSysColor(COLOR_BTNFACE))},
        {"halved", HalveColor(RGB(255, 128, 3)), RGB(127, 64, 1)},
        {"darker by 10 %", BrightenColor(RGB(200, 100, 0), -10), RGB(180, 90, 0)},
        {"darker by 20 %", BrightenColor(RGB(255, 255, 255), -20), RGB(204, 204, 204)},
        {"brighter stays a colour", BrightenColor(RGB(200, 100, 0), 50), RGB(255, 150, 0)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.name;
}

// A progress bar on (10, 5, 110, 25): the fill ends where the value says
// and the text takes the colour of the part it stands on.
struct ProgressBar : testing::Test {
    static constexpr COLORREF Fill = RGB(0, 0, 200), FillText = RGB(255, 255, 0), Empty = RGB(200, 200, 200),
                              EmptyText = RGB(200, 0, 0), Border = RGB(0, 128, 0), Entry = RGB(9, 9, 9);
    static constexpr TRect R{10, 5, 110, 25};
    TSurface s{120, 30};

    void Draw(double value, double min, double max, const String& format, bool below = false)
    {
        s.Canvas()->GetBrush()->SetColor(Entry);
        DrawProgressBar(s.Canvas(), R, Fill, FillText, Empty, EmptyText, value, 0, 0, min, max, format, Border,
                        below);
    }
    // Where the fill ends on the bar's last row, which the centred text leaves free.
    int FillEnd() const
    {
        const auto fill = Runs(s, R.bottom - 1, R.left, R.right, Fill);
        return fill.empty() ? R.left : fill.back().first + fill.back().second;
    }
};

TEST_F(ProgressBar, TextChangesColourAtTheFillEdge)
{
    Draw(50, 0, 100, L"");
    EXPECT_EQ(FillEnd(), 60);
    const std::set<COLORREF> left = Colours(s, TRect(R.left, R.top, 60, R.bottom));
    const std::set<COLORREF> right = Colours(s, TRect(60, R.top, R.right, R.bottom));
    EXPECT_EQ(left, (std::set<COLORREF>{Fill, FillText})) << "the text over the fill is in its colour";
    EXPECT_EQ(right, (std::set<COLORREF>{Empty, EmptyText}));
    // The border, then the canvas's brush colour of before around it.
    EXPECT_EQ(s.Pixel(R.left - 1, 15), Border);
    EXPECT_EQ(s.Pixel(R.left - 2, 15), Entry);
    EXPECT_EQ(s.Pixel(R.right + 1, 15), Entry);
    EXPECT_EQ(s.Pixel(R.right + 2, 15), White);
}

TEST_F(ProgressBar, PercentagesAreClampedAndAnEmptyRangeIsAnEmptyBar)
{
    struct Case {
        const char* name;
        double value, min, max;
        const wchar_t* format;
        int fillEnd;  // R.left: no fill
    } cases[] = {
        {"a formatted value beyond the maximum", 150, 0, 100, L"%d items", R.right},
        {"a value between min and max", 30, 20, 40, L"%.1f", 60},
        {"below zero", -5, 0, 100, L"", R.left},
        {"beyond 100", 250, 0, 100, L"", R.right},
        {"min equal to max", 5, 7, 7, L"%d", R.left},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.Clear();
        Draw(c.value, c.min, c.max, c.format);
        EXPECT_EQ(FillEnd(), c.fillEnd);
        // The text is drawn in one of its two colours.
        EXPECT_GT(s.Count(R, [](COLORREF p) { return p == FillText || p == EmptyText; }), 0);
    }
}

TEST_F(ProgressBar, TextBelowTheCentre)
{
    Draw(0, 0, 100, L"");
    const TRect centred = s.Inked(TRect(R.left, R.top, R.right, R.bottom));
    const int centredTop = [&] {
        for (int y = R.top; y < R.bottom; ++y)
            if (s.Count(TRect(R.left, y, R.right, y + 1), EmptyText))
                return y;
        return -1;
    }();
    s.Clear();
    Draw(0, 0, 100, L"", true);
    int belowTop = -1;
    for (int y = R.top; y < R.bottom && belowTop < 0; ++y)
        if (s.Count(TRect(R.left, y, R.right, y + 1), EmptyText))
            belowTop = y;
    EXPECT_GT(belowTop, centredTop);
    EXPECT_FALSE(centred.IsEmpty());
}

// A level bar 102 units long: 100 units to fill, one unit in from each side.
struct LevelBar : testing::Test {
    static constexpr COLORREF Back = RGB(250, 250, 250), L0 = RGB(0, 200, 0), L1 = RGB(200, 200, 0),
                              L2 = RGB(250, 120, 0), L3 = RGB(220, 0, 0), Outline = RGB(0, 0, 90);
    static constexpr TRect R{10, 10, 112, 22};
    TSurface s{130, 40};
    TProgressBarParams p;

    LevelBar()
    {
        p.Level0Color = L0, p.Level1Color = L1, p.Level2Color = L2, p.Level3Color = L3;
        p.Level0ColorTo = p.Level1ColorTo = p.Level2ColorTo = p.Level3ColorTo = clNone;
        p.Level1Perc = 70, p.Level2Perc = 90;
        p.BackgroundColor = Back, p.BorderColor = Outline, p.ShowBorder = true;
        p.ShowGradient = false, p.ShowPercentage = false;
    }
    void Draw(int percent)
    {
        s.Clear();
        DrawLevelProgressBar(s.Canvas(), R, percent, p);
    }
    std::vector<std::pair<int, int>> Row(COLORREF color) const { return Runs(s, 16, R.left, R.right, color); }
};

TEST_F(LevelBar, BlocksOfSevenWithTheirRemainder)
{
    p.CompletionSmooth = false;
    struct Case {
        int percent;
        std::vector<std::pair<int, int>> blocks;
    } cases[] = {
        {9, {{12, 8}}},                       // one block one shorter than the filled length
        {20, {{12, 7}, {21, 7}}},             // 20 mod 9 = 2: no remainder block
        {23, {{12, 7}, {21, 7}, {30, 4}}},    // remainder 5: a block of 4
        {1, {}},                              // too short for a block
        {-10, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.percent << " %");
        Draw(c.percent);
        EXPECT_EQ(Row(L0), c.blocks);
        // Blocks keep one unit off the top and bottom edges.
        EXPECT_EQ(s.Pixel(14, R.top), Outline);
        EXPECT_EQ(s.Pixel(14, R.top + 1), c.blocks.empty() ? Back : L0);
        EXPECT_EQ(s.Pixel(14, R.bottom - 2), c.blocks.empty() ? Back : L0);
    }
}

TEST_F(LevelBar, SmoothBarsTakeTheirLevelsColour)
{
    struct Case {
        int percent;
        COLORREF color;
        int length;
    } cases[] = {{50, L0, 50}, {80, L1, 80}, {95, L2, 95}, {100, L3, 100}, {150, L3, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.percent << " %");
        Draw(c.percent);
        EXPECT_EQ(Row(c.color), (std::vector<std::pair<int, int>>{{R.left + 1, c.length}}));
    }
}

TEST_F(LevelBar, StackedLevelsFollowEachOther)
{
    p.Stacked = true;
    Draw(95);
    EXPECT_EQ(Row(L0), (std::vector<std::pair<int, int>>{{11, 70}}));
    EXPECT_EQ(Row(L1), (std::vector<std::pair<int, int>>{{81, 20}}));
    EXPECT_EQ(Row(L3), (std::vector<std::pair<int, int>>{{101, 5}}));
    Draw(100);
    EXPECT_EQ(Row(L3), (std::vector<std::pair<int, int>>{{101, 10}})) << "to the very end";
}

TEST_F(LevelBar, VerticalBarsGrowUpwardsAndGradientsAreLightAtTheSides)
{
    p.Vertical = true;
    const TRect tall(10, 10, 22, 112);
    TSurface upright(40, 130);
    DrawLevelProgressBar(upright.Canvas(), tall, 30, p);
    EXPECT_EQ(upright.Pixel(16, tall.bottom - 2), L0);
    EXPECT_EQ(upright.Pixel(16, tall.bottom - 1 - 30), L0);
    EXPECT_EQ(upright.Pixel(16, tall.bottom - 2 - 30), Back);

    p.Vertical = false;
    p.ShowGradient = true;
    p.Level0ColorTo = RGB(255, 255, 255);
    p.Steps = 4;
    Draw(50);
    // Across the bar: light, the colour in the middle, light again.
    EXPECT_EQ(s.Pixel(30, R.top + 1), White);
    EXPECT_EQ(s.Pixel(30, 15), L0);
    EXPECT_EQ(s.Pixel(30, R.bottom - 2), White);
}

TEST_F(LevelBar, ThePercentageShowsInItsColour)
{
    p.ShowPercentage = true;
    p.CompleteFontColor = RGB(0, 0, 255);
    TOwned<TFont> font(New<TFont>());
    font->SetName(L"Tahoma");
    font->SetSize(8);
    p.Font = font.get();
    Draw(40);
    EXPECT_GT(s.Count(R, RGB(0, 0, 255)), 10);
    EXPECT_EQ(s.Pixel(R.left, 16), Outline) << "the outline drawn again over the text";
}

TEST(BalanceBar, GrowsFromTheCentreWithinItsRange)
{
    // (0, 0, 104, 20) shrunk by 2: half 50, centre at 52.
    constexpr TRect R{0, 0, 104, 20};
    constexpr COLORREF Negative = RGB(200, 0, 0), Positive = RGB(0, 150, 0);
    struct Case {
        const char* name;
        int value, maxValue;
        COLORREF color;
        std::vector<std::pair<int, int>> runs;
    } cases[] = {
        {"negative", -25, 50, Negative, {{27, 25}}},
        {"positive", 10, 20, Positive, {{52, 25}}},
        {"clamped", 500, 50, Positive, {{52, 50}}},
        {"zero", 0, 50, Positive, {}},
        {"no range", 5, 0, Positive, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSurface s(110, 25);
        DrawBalanceBar(s.Canvas(), R, c.value, c.maxValue, false, Negative, Positive);
        EXPECT_EQ(Runs(s, 10, 0, 110, c.color), c.runs);
        if (c.runs.empty()) {
            EXPECT_EQ(s.Count(s.All(), White), 110 * 25) << "nothing drawn";
        }
    }
    TSurface s(110, 25);
    DrawBalanceBar(s.Canvas(), R, -7, 0, true, Negative, Positive);
    const TRect text = s.Inked(s.All());
    EXPECT_FALSE(text.IsEmpty()) << "the value shows even without a bar";
    EXPECT_NEAR((text.left + text.right) / 2, 52, 3);
}

TEST(PieGlyph, FillsTheWedgeOfThePercentage)
{
    constexpr TRect R{10, 10, 50, 50};
    constexpr COLORREF Color = RGB(0, 0, 220), Grey = RGB(128, 128, 128);
    constexpr int cx = 30, cy = 30;
    struct Case {
        int percent;
        bool topRight, bottomRight, bottomLeft, topLeft;
    } cases[] = {
        {25, true, false, false, false}, {50, true, true, false, false}, {75, true, true, true, false},
        {100, true, true, true, true},   {0, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.percent << " %");
        TSurface s(60, 60);
        DrawPieGlyph(s.Canvas(), R, Color, c.percent, false);
        EXPECT_EQ(s.Pixel(cx + 8, cy - 8) == Color, c.topRight);
        EXPECT_EQ(s.Pixel(cx + 8, cy + 8) == Color, c.bottomRight);
        EXPECT_EQ(s.Pixel(cx - 8, cy + 8) == Color, c.bottomLeft);
        EXPECT_EQ(s.Pixel(cx - 8, cy - 8) == Color, c.topLeft);
        EXPECT_EQ(s.Pixel(cx, R.top + 5), Grey) << "the radius to the top";
        EXPECT_EQ(s.Pixel(5, 5), White) << "nothing outside";
    }
}

TEST(CellShape, EveryShapeCoversItsOwnPixels)
{
    constexpr COLORREF Brush = RGB(220, 0, 0), Pen = RGB(0, 0, 160);
    constexpr int x = 10, y = 10;
    struct Case {
        int shape;
        int width, height;
        POINT inside;   // the brush colour
        POINT outside;  // untouched
    } cases[] = {
        {csRectangle, 20, 20, {20, 20}, {10, 10}},   {csCircle, 30, 20, {20, 20}, {35, 20}},
        {csTriangleLeft, 20, 20, {27, 20}, {12, 12}}, {csTriangleRight, 20, 20, {13, 20}, {28, 12}},
        {csTriangleUp, 20, 20, {20, 27}, {12, 12}},   {csTriangleDown, 20, 20, {20, 13}, {12, 28}},
        {csDiamond, 20, 20, {20, 20}, {12, 12}},     {csRoundRect, 20, 20, {20, 20}, {10, 10}},
        {csEllips, 30, 20, {35, 20}, {11, 11}},      {csSquare, 30, 20, {20, 20}, {35, 20}},
        {csRoundSquare, 30, 20, {20, 20}, {35, 20}}, {csStar, 20, 20, {20, 20}, {12, 12}},
        {csHalfStar, 20, 20, {19, 21}, {23, 21}},    {csArrowUp, 20, 20, {20, 14}, {12, 27}},
        {csArrowDown, 20, 20, {20, 26}, {12, 13}},   {csArrowLeft, 20, 20, {14, 20}, {27, 12}},
        {csArrowRight, 20, 20, {26, 20}, {13, 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "shape " << c.shape);
        TSurface s(50, 40);
        DrawCellShape(s.Canvas(), x, y, c.width, c.height, c.shape, Brush, Pen);
        EXPECT_EQ(s.Pixel(c.inside.x, c.inside.y), Brush);
        EXPECT_EQ(s.Pixel(c.outside.x, c.outside.y), White);
        EXPECT_GT(s.Count(s.All(), Pen), 0) << "outlined in the pen colour";
    }
    // The lines are one unit wide, in the pen colour.
    struct Line {
        int shape;
        TRect covered;
    } lines[] = {{csLineVert, {20, 10, 21, 30}}, {csLineHorz, {10, 20, 30, 21}}};
    for (const Line& l : lines) {
        TSurface s(50, 40);
        DrawCellShape(s.Canvas(), x, y, 20, 20, l.shape, Brush, Pen);
        EXPECT_EQ(s.Count(l.covered, Pen), l.covered.Width() * l.covered.Height());
        EXPECT_EQ(s.Count(s.All(), White), 50 * 40 - l.covered.Width() * l.covered.Height());
    }
    for (int shape : {19, 100, -1}) {
        TSurface s(50, 40);
        DrawCellShape(s.Canvas(), x, y, 20, 20, shape, Brush, Pen);
        EXPECT_EQ(s.Count(s.All(), White), 50 * 40) << "shape " << shape << " draws nothing";
    }
}

TEST(SmallGlyphs, DownArrowAndTransparentResourceBitmap)
{
    TSurface s(40, 20);
    DrawSmallDownArrow(s.Canvas(), 10, 5, clBlue);
    EXPECT_EQ(s.Pixel(10, 7), RGB(0, 0, 255));
    EXPECT_EQ(s.Pixel(10, 4), White);
    EXPECT_EQ(s.Inked(s.All()), TRect(7, 5, 14, 9));

    // The test resource: its top-left pixel's colour shows as the back colour.
    TOwned<TBitmap> quad(New<TBitmap>());
    quad->LoadFromResourceName(reinterpret_cast<HINSTANCE>(GetModuleHandleW(nullptr)), L"TAVELIN_TEST_QUAD");
    s.Clear();
    DrawResourceBitmapTransparent(s.Canvas(), clLime, TRect(20, 10, 40, 20), L"TAVELIN_TEST_QUAD");
    const TColor key = quad->GetCanvas()->GetPixels(0, 0);
    for (int qy = 0; qy < quad->GetHeight(); ++qy)
        for (int qx = 0; qx < quad->GetWidth(); ++qx) {
            const TColor p = quad->GetCanvas()->GetPixels(qx, qy);
            EXPECT_EQ(s.Pixel(20 + qx, 10 + qy), p == key ? RGB(0, 255, 0) : static_cast<COLORREF>(p));
        }
    EXPECT_EQ(s.Inked(s.All()), TRect(20, 10, 20 + quad->GetWidth(), 10 + quad->GetHeight()));
    s.Clear();
    DrawResourceBitmapTransparent(s.Canvas(), clLime, TRect(0, 0, 10, 10), L"NO_SUCH_BITMAP");
    EXPECT_TRUE(s.Inked(s.All()).IsEmpty());
}

// Button glyphs in their four kinds; the prefix draws classic, so kind 0
// must look like kind 1 rather than leave the cell empty.
struct ButtonGlyphs : testing::Test {
    TColorTones tones;
    ButtonGlyphs()
    {
        tones.Background = {RGB(240, 240, 200), RGB(90, 90, 90), RGB(10, 10, 120)};
        tones.Hover = {RGB(255, 220, 150), RGB(200, 120, 0), RGB(120, 10, 10)};
        tones.Selected = {RGB(250, 180, 100), RGB(150, 80, 0), RGB(1, 1, 1)};
        tones.Disabled = {RGB(230, 230, 230), RGB(180, 180, 180), RGB(160, 160, 160)};
    }

    using TDraw = std::function<void(TCanvas*, int kind, int state)>;
    std::vector<std::pair<const char*, TDraw>> Glyphs() const
    {
        const TColorTones t = tones;
        return {
            {"drop-down", [t](TCanvas* c, int k, int st) { DrawDropDownButton(c, nullptr, TRect(0, 0, 60, 22), k, st, t); }},
            {"button", [t](TCanvas* c, int k, int st) { DrawButtonFace(c, nullptr, TRect(4, 2, 56, 20), k, st, t, false, L""); }},
            {"spin", [t](TCanvas* c, int k, int st) { DrawSpinButtons(c, nullptr, TRect(0, 1, 60, 23), k, st, t); }},
        };
    }
};

TEST_F(ButtonGlyphs, KindZeroWithoutVisualStylesDrawsClassicAndFlatDiffers)
{
    for (const auto& [name, draw] : Glyphs()) {
        for (int state : {0, 1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << name << " state " << state);
            TSurface themed(60, 24), classic(60, 24), flat(60, 24);
            draw(themed.Canvas(), 0, state);
            draw(classic.Canvas(), 1, state);
            draw(flat.Canvas(), 2, state);
            EXPECT_FALSE(classic.Inked(classic.All()).IsEmpty());
            int differing = 0;
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 60; ++x) {
                    EXPECT_EQ(themed.Pixel(x, y), classic.Pixel(x, y)) << x << "," << y;
                    differing += flat.Pixel(x, y) != classic.Pixel(x, y);
                }
            EXPECT_GT(differing, 0) << "the flat look is its own";
        }
    }
}

TEST_F(ButtonGlyphs, ToneKindTakesTheStatesColours)
{
    struct Case {
        int state;
        COLORREF face, border;
    } cases[] = {{0, RGB(240, 240, 200), RGB(90, 90, 90)},
                 {1, RGB(255, 220, 150), RGB(200, 120, 0)},
                 {2, RGB(250, 180, 100), RGB(150, 80, 0)},
                 {3, RGB(230, 230, 230), RGB(180, 180, 180)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state);
        // Drop-down: the right 17 units less 2, its left edge 3 further in.
        TSurface drop(60, 24);
        DrawDropDownButton(drop.Canvas(), nullptr, TRect(0, 0, 60, 22), 3, c.state, tones);
        EXPECT_EQ(drop.Pixel(56, 4), c.face);
        EXPECT_EQ(drop.Pixel(45, 4), RGB(90, 90, 90)) << "the line next to the left edge";
        EXPECT_EQ(drop.Pixel(52, 9), RGB(10, 10, 120)) << "the arrow";
        EXPECT_EQ(drop.Pixel(42, 4), White);

        TSurface button(60, 24);
        DrawButtonFace(button.Canvas(), nullptr, TRect(4, 2, 56, 20), 3, c.state, tones, false, L"");
        EXPECT_EQ(button.Pixel(10, 10), c.face);
        EXPECT_EQ(button.Pixel(4, 10), c.border) << "framed in the state's border colour";

        TSurface spin(60, 24);
        DrawSpinButtons(spin.Canvas(), nullptr, TRect(0, 1, 60, 23), 3, c.state, tones);
        EXPECT_EQ(spin.Pixel(46, 3), c.face) << "upper half";
        EXPECT_EQ(spin.Pixel(46, 18), c.face) << "lower half";
    }
}

TEST_F(ButtonGlyphs, CaptionsCentreOnTheFace)
{
    TSurface s(80, 30);
    s.Canvas()->GetFont()->SetColor(clBlack);
    DrawButtonFace(s.Canvas(), nullptr, TRect(0, 0, 80, 26), 3, 0, tones, false, L"&OK");
    const TRect ink = s.Inked(TRect(2, 2, 78, 24));
    EXPECT_GT(s.Count(TRect(2, 2, 78, 24), RGB(0, 0, 0)), 5);
    EXPECT_NEAR((ink.left + ink.right) / 2, 40, 4);
    // Centred on the face less its top 4 units (15), not on the face (13).
    EXPECT_GE((ink.top + ink.bottom) / 2, 13) << "the caption sits lower";
}

// The zig-zag under characters where a real edit control shows them.
TEST(ErrorUnderline, ZigZagsUnderTheMarkedCharacters)
{
    TSurface s(200, 40);
    const String text = L"mistaken word here";
    const TRect r(10, 5, 190, 25);
    constexpr int OffsetY = 12;
    DrawErrorUnderline(nullptr, s.Canvas(), text, r, OffsetY, 0, 8);
    const TRect first = s.Inked(s.All());
    ASSERT_FALSE(first.IsEmpty());
    EXPECT_EQ(Colours(s, first).count(RGB(255, 0, 0)), 1u);
    EXPECT_EQ(s.Count(first, [](COLORREF p) { return p != White && p != RGB(255, 0, 0); }), 0);
    // From where the first character starts to the start of the last one.
    const int advance = s.Canvas()->TextWidth(L"mistake");
    EXPECT_NEAR(first.Width(), advance, 3);
    EXPECT_GE(first.top, r.top + OffsetY - 1);
    EXPECT_LE(first.bottom, r.top + OffsetY + 6);
    EXPECT_GE(first.Height(), 4) << "a zig-zag, not a line";

    // Further in the text: moved right by the width of what stands before.
    s.Clear();
    DrawErrorUnderline(nullptr, s.Canvas(), text, r, OffsetY, 9, 4);
    const TRect word = s.Inked(s.All());
    EXPECT_NEAR(word.left - first.left, s.Canvas()->TextWidth(L"mistaken "), 2);

    // Past the end of the text: the last character and 4 units more.
    s.Clear();
    DrawErrorUnderline(nullptr, s.Canvas(), text, r, OffsetY, 14, 10);
    const TRect tail = s.Inked(s.All());
    EXPECT_NEAR(tail.right - first.left, s.Canvas()->TextWidth(L"mistaken word her") + 4, 4);

    s.Clear();
    DrawErrorUnderline(nullptr, s.Canvas(), text, r, OffsetY, 3, 0);
    DrawErrorUnderline(nullptr, s.Canvas(), L"", r, OffsetY, 0, 3);
    EXPECT_TRUE(s.Inked(s.All()).IsEmpty()) << "nothing to mark";
}

TEST(GlyphHelpers, LeaveNoGdiOrUserObjectsBehind)
{
    TSurface s(200, 60);
    TColorTones tones;
    ClearColorTones(tones);
    TProgressBarParams params;
    params.ShowPercentage = true;
    params.ShowGradient = true;
    params.Level0ColorTo = clWhite;
    auto drawAll = [&] {
        DrawProgressBar(s.Canvas(), TRect(0, 0, 100, 20), clBlue, clWhite, clSilver, clBlack, 40, 1, 1, 0, 100, L"",
                        clGray, false);
        DrawLevelProgressBar(s.Canvas(), TRect(0, 20, 100, 30), 40, params);
        params.Vertical = !params.Vertical;
        DrawLevelProgressBar(s.Canvas(), TRect(100, 0, 120, 60), 60, params);
        DrawBalanceBar(s.Canvas(), TRect(0, 30, 100, 40), -3, 10, true, clRed, clGreen);
        DrawPieGlyph(s.Canvas(), TRect(120, 0, 140, 20), clRed, 40, false);
        for (int shape = 0; shape <= 19; ++shape)
            DrawCellShape(s.Canvas(), 140, 0, 20, 20, shape, clRed, clBlue);
        for (int kind = 0; kind <= 3; ++kind) {
            DrawDropDownButton(s.Canvas(), nullptr, TRect(0, 40, 60, 60), kind, 1, tones);
            DrawButtonFace(s.Canvas(), nullptr, TRect(60, 40, 120, 60), kind, 2, tones, true, L"&Go");
            DrawSpinButtons(s.Canvas(), nullptr, TRect(120, 40, 180, 60), kind, 3, tones);
        }
        DrawErrorUnderline(nullptr, s.Canvas(), L"some text", TRect(0, 0, 100, 20), 10, 1, 3);
        DrawResourceBitmapTransparent(s.Canvas(), clLime, TRect(180, 0, 200, 20), L"TAVELIN_TEST_QUAD");
    };
    drawAll();
    const DWORD gdi = testing_support::GdiObjectCount();
    const DWORD user = testing_support::UserObjectCount();
    for (int i = 0; i < 10; ++i)
        drawAll();
    EXPECT_EQ(testing_support::GdiObjectCount(), gdi);
    EXPECT_EQ(testing_support::UserObjectCount(), user);
}

} // namespace
