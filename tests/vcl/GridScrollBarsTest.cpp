// The grid's scroll bars show while the cells do not fit, judged on the
// client without the bars, so that bars go again once the cells fit.
#include <gtest/gtest.h>
#include "GridTestSupport.h"

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

} // namespace
