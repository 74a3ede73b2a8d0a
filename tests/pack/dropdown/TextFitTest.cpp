// Measuring text in the canvas's font and shortening it to a width.
#include "AdvDropDown.h"
#include "DropDownSurface.h"

namespace {

class TextFitTest : public SurfaceTest {
protected:
    TextFitTest() : SurfaceTest(64, 64, RGB(255, 255, 255)) {}
    void SetUp() override
    {
        SurfaceTest::SetUp();
        Canvas()->GetFont()->SetName(L"Tahoma");
        Canvas()->GetFont()->SetHeight(-13);
    }
    int WidthOf(const String& text) const { return MeasureTextSize(Canvas(), text).cx; }
};

TEST_F(TextFitTest, MeasuresOneLineInTheCanvasFont)
{
    EXPECT_EQ(MeasureTextSize(Canvas(), String()), TSize(0, 0));
    EXPECT_EQ(MeasureTextSize(nullptr, L"text"), TSize(0, 0));

    const TSize small = MeasureTextSize(Canvas(), L"Drop-down");
    EXPECT_EQ(small, Canvas()->TextExtent(L"Drop-down"));
    Canvas()->GetFont()->SetHeight(-26);
    const TSize large = MeasureTextSize(Canvas(), L"Drop-down");
    EXPECT_EQ(large, Canvas()->TextExtent(L"Drop-down"));
    EXPECT_GT(large.cx, small.cx * 3 / 2);

    // Wider than the starting rectangle, and line breaks do not wrap it.
    const String wide(200, L'W');
    EXPECT_EQ(MeasureTextSize(Canvas(), wide).cx, Canvas()->TextExtent(wide).cx);
    EXPECT_GT(MeasureTextSize(Canvas(), wide).cx, 1000);
    EXPECT_EQ(MeasureTextSize(Canvas(), L"one\r\ntwo").cy, large.cy);
}

struct FitCase {
    const char* name;
    int widthDelta; // MaxWidth relative to the text's own width
    bool addEllipsis;
};

// Cut texts are the longest start of the text that, with or without "...",
// stays narrower than MaxWidth.
TEST_F(TextFitTest, CutsToTheLongestStartNarrowerThanTheWidth)
{
    const String text = L"Popup header caption";
    const int full = WidthOf(text);
    const FitCase cases[] = {
        {"wider", 10, true},         {"exactly as wide", 0, true}, {"one pixel short", -1, true},
        {"half", -full / 2, true},   {"half, no ellipsis", -full / 2, false},
        {"one pixel short, no ellipsis", -1, false},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const int maxWidth = full + c.widthDelta;
        const String result = FitTextToWidth(Canvas(), text, maxWidth, c.addEllipsis);
        if (c.widthDelta >= 0) {
            EXPECT_EQ(result, text);
            continue;
        }
        const String suffix = c.addEllipsis ? String(L"...") : String();
        ASSERT_GE(result.size(), suffix.size());
        const size_t kept = result.size() - suffix.size();
        ASSERT_LT(kept, text.size());
        EXPECT_EQ(result, text.substr(0, kept) + suffix);
        EXPECT_LT(WidthOf(result), maxWidth);
        EXPECT_GE(WidthOf(text.substr(0, kept + 1) + suffix), maxWidth) << "a longer start would fit";
    }
}

TEST_F(TextFitTest, TextThatCannotBeCutNarrowEnoughIsKeptWhole)
{
    const String text = L"Caption";
    const int dots = WidthOf(L"...");
    EXPECT_EQ(FitTextToWidth(Canvas(), text, dots, true), text) << "even \"...\" alone is too wide";
    EXPECT_EQ(FitTextToWidth(Canvas(), text, dots + 1, true), L"...");
    EXPECT_TRUE(FitTextToWidth(Canvas(), text, 1, false).empty()) << "the empty start is narrower than 1";
    EXPECT_EQ(FitTextToWidth(Canvas(), text, 0, false), text);
    EXPECT_TRUE(FitTextToWidth(Canvas(), String(), 0, true).empty());
}

} // namespace
