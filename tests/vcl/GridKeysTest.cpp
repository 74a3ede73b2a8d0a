// The keyboard through real key messages: navigation stops at the fixed
// cells and scrolls the view, Shift extends a range, Ctrl scrolls, Tab walks
// under goTabs, and the grid tells the dialog manager which keys it wants.
#include <gtest/gtest.h>
#include "GridTestSupport.h"

using namespace grid_test;

namespace {

struct GridKeys : GridFixture {
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->SetColCount(12);
        grid->SetRowCount(100);
        grid->SetFixedCols(1);
        grid->SetFixedRows(2);
    }
};

TEST_F(GridKeys, NavigationAcrossFixedCellsAndScrolledViews)
{
    // 8 rows of 25 pixels show: 2 fixed and 6 scrollable; 5 columns: 1 fixed and 4 scrollable.
    struct Case {
        const char* name;
        TGridCoord from;
        WPARAM key;
        bool shift, ctrl;
        TGridCoord to;
        int top, left;
    } cases[] = {
        {"up stops at the fixed rows", {3, 2}, VK_UP, false, false, {3, 2}, 2, 1},
        {"left stops at the fixed column", {1, 5}, VK_LEFT, false, false, {1, 5}, 2, 1},
        {"down past the page scrolls one row", {1, 7}, VK_DOWN, false, false, {1, 8}, 3, 1},
        {"right past the page scrolls one column", {4, 2}, VK_RIGHT, false, false, {5, 2}, 2, 2},
        {"page down moves row and view by a page", {1, 3}, VK_NEXT, false, false, {1, 9}, 8, 1},
        {"page up at the top", {1, 4}, VK_PRIOR, false, false, {1, 2}, 2, 1},
        {"end", {2, 4}, VK_END, false, false, {11, 4}, 2, 8},
        {"home", {11, 4}, VK_HOME, false, false, {1, 4}, 2, 1},
        {"ctrl end", {2, 4}, VK_END, false, true, {11, 99}, 94, 8},
        {"ctrl home", {11, 99}, VK_HOME, false, true, {1, 2}, 2, 1},
        {"ctrl down scrolls without moving", {2, 4}, VK_DOWN, false, true, {2, 4}, 3, 1},
        {"down at the last row", {3, 99}, VK_DOWN, false, false, {3, 99}, 94, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        grid->SetTopRow(2);
        grid->SetLeftCol(1);
        grid->FocusCell(k.from.X, k.from.Y, true);
        THeldKeys held(k.shift, k.ctrl);
        Key(k.key);
        EXPECT_EQ((TGridCoord{grid->GetCol(), grid->GetRow()}), k.to);
        EXPECT_EQ(grid->GetTopRow(), k.top);
        EXPECT_EQ(grid->GetLeftCol(), k.left);
    }
}

TEST_F(GridKeys, ShiftExtendsARangeAndAPlainKeyEndsIt)
{
    grid->FocusCell(2, 3, true);
    {
        THeldKeys shift(true);
        Key(VK_DOWN);
        Key(VK_RIGHT);
    }
    EXPECT_EQ(grid->GetSelection(), (TGridRect{2, 3, 3, 4}));
    Key(VK_UP);
    EXPECT_EQ(grid->GetSelection(), (TGridRect{3, 3, 3, 3}));
    // Without goRangeSelect Shift moves the cell alone.
    grid->SetOptions(grid->GetOptions() >> goRangeSelect);
    THeldKeys shift(true);
    Key(VK_DOWN);
    EXPECT_EQ(grid->GetSelection(), (TGridRect{3, 4, 3, 4}));
}

TEST_F(GridKeys, TabWalksTheCellsUnderGoTabs)
{
    grid->FocusCell(11, 5, true);
    Key(VK_TAB);
    EXPECT_EQ(grid->GetCol(), 11) << "without goTabs Tab is not the grid's";
    grid->SetOptions(grid->GetOptions() << goTabs);
    Key(VK_TAB);
    EXPECT_EQ((TGridCoord{grid->GetCol(), grid->GetRow()}), (TGridCoord{1, 6})) << "wraps to the next row";
    {
        THeldKeys shift(true);
        Key(VK_TAB);
    }
    EXPECT_EQ((TGridCoord{grid->GetCol(), grid->GetRow()}), (TGridCoord{11, 5}));
    EXPECT_EQ(grid->GetSelection(), (TGridRect{11, 5, 11, 5})) << "Shift+Tab does not extend";
    grid->FocusCell(11, 99, true);
    Key(VK_TAB);
    EXPECT_EQ((TGridCoord{grid->GetCol(), grid->GetRow()}), (TGridCoord{1, 2})) << "from the last cell to the first";
}

TEST_F(GridKeys, DialogCodesFollowTheOptions)
{
    auto code = [&] { return SendMessageW(Wnd(), WM_GETDLGCODE, 0, 0); };
    EXPECT_EQ(code(), DLGC_WANTARROWS);
    grid->SetOptions(grid->GetOptions() << goTabs << goEditing);
    EXPECT_EQ(code(), DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
    grid->SetOptions(grid->GetOptions() << goRowSelect);
    EXPECT_EQ(code(), DLGC_WANTARROWS);
}

TEST_F(GridKeys, RowSelectMovesRowsAndScrollsColumns)
{
    grid->SetOptions(grid->GetOptions() << goRowSelect);
    grid->FocusCell(1, 4, true);
    Key(VK_RIGHT);
    EXPECT_EQ(grid->GetLeftCol(), 2);
    EXPECT_EQ(grid->GetRow(), 4);
    Key(VK_END);
    EXPECT_EQ(grid->GetRow(), 99);
    EXPECT_EQ(grid->GetSelection(), (TGridRect{1, 99, 11, 99}));
    Key(VK_HOME);
    EXPECT_EQ(grid->GetRow(), 2);
}

} // namespace
