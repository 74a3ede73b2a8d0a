// The grid's scroll bars show while the cells do not fit, judged on the
// client without the bars, so that bars go again once the cells fit; their
// messages move the top row and the left column.
#include <gtest/gtest.h>
#include "GridTestSupport.h"
#include <algorithm>

using namespace grid_test;

namespace {

struct GridScrollBars : GridFixture {
    bool Shows(LONG_PTR bar) { return (GetWindowLongPtrW(Wnd(), GWL_STYLE) & bar) != 0; }
};

TEST_F(GridScrollBars, ShowWhileTheCellsDoNotFitAndGoWhenTheyDo)
{
    // The window is exactly five columns wide and eight rows high.
    grid->SetColCount(5);
    grid->SetRowCount(20);
    grid->SetScrollBars(ssBoth);
    vcl_test::Pump();
    EXPECT_TRUE(Shows(WS_VSCROLL));
    EXPECT_TRUE(Shows(WS_HSCROLL)) << "the vertical bar leaves too little width";

    grid->SetRowCount(8);
    vcl_test::Pump();
    EXPECT_FALSE(Shows(WS_VSCROLL));
    EXPECT_FALSE(Shows(WS_HSCROLL));
    EXPECT_EQ(grid->GetClientWidth(), 5 * 65);

    grid->SetColCount(6);
    vcl_test::Pump();
    EXPECT_TRUE(Shows(WS_HSCROLL));
    EXPECT_TRUE(Shows(WS_VSCROLL)) << "the horizontal bar leaves too little height";
}

// With both bars the client holds exactly five columns and eight rows: a
// page is four scrollable columns beside the fixed one and seven
// scrollable rows below the fixed one.
struct GridScrolling : GridFixture {
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->SetScrollBars(ssBoth);
        grid->SetBounds(0, 0, 5 * 65 + GetSystemMetrics(SM_CXVSCROLL), 8 * 25 + GetSystemMetrics(SM_CYHSCROLL));
        Steps(127, 127);
    }
    static int Page(bool horizontal) { return horizontal ? 4 : 7; }
    // Counts for which the first page starts at column (row) 1 and the last
    // one that many lines further on.
    void Steps(int cols, int rows)
    {
        grid->SetColCount(1 + cols + Page(true));
        grid->SetRowCount(1 + rows + Page(false));
        vcl_test::Pump();
        ASSERT_EQ(grid->GetClientWidth(), 5 * 65);
        ASSERT_EQ(grid->GetClientHeight(), 8 * 25);
    }
    void Scroll(bool horizontal, int code, int pos = 0)
    {
        SendMessageW(Wnd(), horizontal ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(code, pos), 0);
    }
    int First(bool horizontal) { return horizontal ? grid->GetLeftCol() : grid->GetTopRow(); }
    int Thumb(bool horizontal) { return GetScrollPos(Wnd(), horizontal ? SB_HORZ : SB_VERT); }
    void MoveTo(bool horizontal, int first)
    {
        if (horizontal)
            grid->SetLeftCol(first);
        else
            grid->SetTopRow(first);
    }
};

TEST_F(GridScrolling, TheThumbRunsFrom0To127AndItsEndReachesTheLastPageWhateverTheCount)
{
    // 100,000 rows would not fit the 16-bit thumb position of the messages.
    for (int steps : {4, 127, 1000, 99992}) {
        Steps(steps, steps);
        for (bool horizontal : {true, false}) {
            SCOPED_TRACE(testing::Message() << steps << (horizontal ? " columns" : " rows"));
            int low = -1, high = -1;
            GetScrollRange(Wnd(), horizontal ? SB_HORZ : SB_VERT, &low, &high);
            EXPECT_EQ(low, 0);
            EXPECT_EQ(high, 127);

            Scroll(horizontal, SB_THUMBPOSITION, 127);
            const int count = horizontal ? grid->GetColCount() : grid->GetRowCount();
            EXPECT_EQ(First(horizontal), count - Page(horizontal)) << "the last page, whole";
            EXPECT_EQ(Thumb(horizontal), 127);
            Scroll(horizontal, SB_THUMBPOSITION, 0);
            EXPECT_EQ(First(horizontal), 1) << "the first one after the fixed one";
            EXPECT_EQ(Thumb(horizontal), 0);
        }
    }
}

TEST_F(GridScrolling, ThumbPositionsBetweenTheEndsMapOntoRowsAndColumnsRounded)
{
    struct Case {
        int steps, pos, first;
    };
    const Case cases[] = {
        // One thumb position per line.
        {127, 1, 2},
        {127, 64, 65},
        {127, 126, 127},
        // Fewer lines than positions: each line shows for a run of them.
        {4, 15, 1},
        {4, 16, 2},
        {4, 111, 4},
        {4, 112, 5},
        // More lines than positions: 64/127 and 1/127 of the way, rounded.
        {99992, 64, 1 + 50390},
        {99992, 1, 1 + 787},
    };
    for (const Case& c : cases)
        for (bool horizontal : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.steps << (horizontal ? " columns, " : " rows, ") << c.pos);
            Steps(horizontal ? c.steps : 127, horizontal ? 127 : c.steps);
            MoveTo(true, 1);
            MoveTo(false, 1);
            Scroll(horizontal, SB_THUMBPOSITION, c.pos);
            EXPECT_EQ(First(horizontal), c.first);
            EXPECT_EQ(First(!horizontal), 1) << "the other axis stays";
        }
}

TEST_F(GridScrolling, ThumbTrackingMovesOnlyWithTheOption)
{
    for (bool tracking : {false, true}) {
        TGridOptions options = grid->GetOptions();
        if (tracking)
            options << goThumbTracking;
        else
            options >> goThumbTracking;
        grid->SetOptions(options);
        for (bool horizontal : {true, false}) {
            SCOPED_TRACE(testing::Message() << (tracking ? "tracking, " : "no tracking, ")
                                            << (horizontal ? "columns" : "rows"));
            MoveTo(horizontal, 1);
            Scroll(horizontal, SB_THUMBTRACK, 40);
            EXPECT_EQ(First(horizontal), tracking ? 41 : 1);
            Scroll(horizontal, SB_THUMBPOSITION, 50);
            EXPECT_EQ(First(horizontal), 51) << "the dropped thumb moves either way";
            Scroll(horizontal, SB_ENDSCROLL);
            EXPECT_EQ(First(horizontal), 51);
        }
    }
}

TEST_F(GridScrolling, LinesPagesAndEndsStopAtTheFixedCellsAndTheLastPage)
{
    constexpr int Last = 128; // the first column (row) of the last page
    struct Case {
        int code, from, to, pages; // lands on to + pages * the axis's page
    };
    const Case cases[] = {
        {SB_LINEDOWN, 1, 2, 0},
        {SB_LINEDOWN, Last, Last, 0},
        {SB_LINEUP, 10, 9, 0},
        {SB_LINEUP, 1, 1, 0},
        {SB_PAGEDOWN, 1, 1, 1},
        {SB_PAGEDOWN, Last - 2, Last, 0},
        {SB_PAGEUP, 60, 60, -1},
        {SB_PAGEUP, 3, 1, 0},
        {SB_TOP, 60, 1, 0},
        {SB_BOTTOM, 1, Last, 0},
        {SB_ENDSCROLL, 60, 60, 0},
        // Code may scroll past the last page; lines do not take it further.
        {SB_LINEDOWN, Last + 3, Last + 3, 0},
        {SB_LINEUP, Last + 3, Last + 2, 0},
    };
    for (bool horizontal : {true, false})
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << (horizontal ? "columns, code " : "rows, code ") << c.code
                                            << " from " << c.from);
            const int to = c.to + c.pages * Page(horizontal);
            MoveTo(horizontal, c.from);
            ASSERT_EQ(First(horizontal), c.from);
            const int changes = grid->topLeftChanged;
            Scroll(horizontal, c.code);
            EXPECT_EQ(First(horizontal), to);
            EXPECT_EQ(grid->topLeftChanged - changes, to == c.from ? 0 : 1);
            EXPECT_EQ(Thumb(horizontal), std::min(to - 1, 127)) << "the thumb follows";
        }
}

} // namespace
