// The mouse through real messages: clicks select and ask SelectCell, row and
// range selection, dragging past the edge scrolls, borders size columns and
// rows, fixed cells move columns with their data.
#include <gtest/gtest.h>
#include "GridTestSupport.h"

using namespace grid_test;

namespace {

struct GridMouse : GridFixture {
    int clicks = 0;
    std::vector<TGridCoord> selectEvents;
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->SetColCount(10);
        grid->SetRowCount(50);
        grid->OnClick = [this](TObject*) { ++clicks; };
        grid->OnSelectCell = [this](TObject*, int c, int r, bool&) { selectEvents.push_back({c, r}); };
    }
};

TEST_F(GridMouse, ClickSelectsTheCellAsksSelectCellAndClicksOnce)
{
    Click(InCell(3, 2));
    EXPECT_EQ(grid->GetCol(), 3);
    EXPECT_EQ(grid->GetRow(), 2);
    EXPECT_EQ(grid->GetSelection(), (TGridRect{3, 2, 3, 2}));
    EXPECT_EQ(selectEvents, (std::vector<TGridCoord>{{3, 2}}));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(grid->State(), gsNormal);

    // A refused cell stays unselected; a fixed cell is not selected at all.
    grid->refuse = {4, 4};
    Click(InCell(4, 4));
    Click(InCell(0, 3));
    Click(InCell(2, 0));
    EXPECT_EQ(grid->GetCol(), 3);
    EXPECT_EQ(grid->GetRow(), 2);
    EXPECT_EQ(grid->selectAsked.back(), (TGridCoord{4, 4}));
    EXPECT_EQ(selectEvents.size(), 1u) << "the refused cell never reached the event";
}

TEST_F(GridMouse, RangeSelectionByShiftClickAndByDragging)
{
    Click(InCell(1, 1));
    Click(InCell(3, 4), MK_SHIFT);
    EXPECT_EQ(grid->GetSelection(), (TGridRect{1, 1, 3, 4}));
    EXPECT_EQ(grid->GetCol(), 3);

    Press(InCell(4, 5));
    Drag(InCell(2, 6));
    Release(InCell(2, 6));
    EXPECT_EQ(grid->GetSelection(), (TGridRect{2, 5, 4, 6}));
    EXPECT_EQ(grid->GetRow(), 6);

    // Without range selection a drag moves the current cell only.
    grid->SetOptions(grid->GetOptions() >> goRangeSelect);
    Press(InCell(4, 5));
    Drag(InCell(2, 6));
    Release(InCell(2, 6));
    EXPECT_EQ(grid->GetSelection(), (TGridRect{2, 6, 2, 6}));
}

TEST_F(GridMouse, RowSelectSpansTheNormalColumns)
{
    grid->SetFixedCols(2);
    grid->SetOptions(grid->GetOptions() << goRowSelect);
    Click(InCell(3, 5));
    EXPECT_EQ(grid->GetRow(), 5);
    EXPECT_EQ(grid->GetSelection(), (TGridRect{2, 5, 9, 5}));
    Press(InCell(3, 2));
    Drag(InCell(4, 3));
    Release(InCell(4, 3));
    EXPECT_EQ(grid->GetSelection(), (TGridRect{2, 2, 9, 3}));
}

TEST_F(GridMouse, DraggingBelowTheCellsScrollsOnTheTimer)
{
    Press(InCell(2, 3));
    Drag(At(100, 8 * 25 + 30));  // below the client
    EXPECT_EQ(grid->GetTopRow(), 1);
    for (int tick = 0; tick < 5; ++tick)
        SendMessageW(Wnd(), WM_TIMER, 1, 0);
    EXPECT_EQ(grid->GetTopRow(), 6);
    EXPECT_EQ(grid->GetSelection().Top, 3);
    EXPECT_EQ(grid->GetSelection().Bottom, grid->GetTopRow() + grid->GetVisibleRowCount() - 1)
        << "the selection follows to the last row on screen";
    Release(At(100, 8 * 25 + 30));
    SendMessageW(Wnd(), WM_TIMER, 1, 0);
    EXPECT_EQ(grid->GetTopRow(), 6) << "the timer ends with the press";
}

TEST_F(GridMouse, DraggingABorderSizesAndReportsOnRelease)
{
    grid->SetOptions(grid->GetOptions() << goColSizing << goRowSizing);
    const int before = grid->colWidthsChanged;
    // The border between columns 1 and 2 lies at x = 129 in the fixed row.
    Press(At(129, 10));
    EXPECT_EQ(grid->State(), gsColSizing);
    Drag(At(150, 10));
    EXPECT_EQ(grid->colWidthsChanged, before) << "nothing changes until the release";
    Release(At(160, 10));
    EXPECT_EQ(grid->GetColWidths(1), 64 + 31);
    EXPECT_EQ(grid->colWidthsChanged, before + 1);
    EXPECT_EQ(grid->State(), gsNormal);

    // Rows by their border in the fixed column; a press away from borders selects.
    Press(At(20, 3 * 25 - 1));
    EXPECT_EQ(grid->State(), gsRowSizing);
    Release(At(20, 3 * 25 + 9));
    EXPECT_EQ(grid->GetRowHeights(2), 24 + 10);
    EXPECT_EQ(grid->rowHeightsChanged, 1);
    Press(At(100, 3 * 25 + 20));
    EXPECT_EQ(grid->State(), gsSelecting);
    Release(At(100, 3 * 25 + 20));
}

TEST_F(GridMouse, DraggingAFixedCellMovesTheColumnAndItsData)
{
    grid->SetOptions(grid->GetOptions() << goColMoving);
    for (int c = 0; c < 10; ++c)
        grid->SetCells(c, 3, L"c" + IntToStr(c));
    grid->SetObjects(1, 3, grid);
    Click(InCell(1, 4));
    Press(InCell(1, 0));
    EXPECT_EQ(grid->State(), gsColMoving);
    Drag(InCell(3, 0));
    Release(InCell(3, 0));
    EXPECT_EQ(grid->columnsMoved, (std::vector<std::pair<int, int>>{{1, 3}}));
    EXPECT_EQ(grid->GetCells(3, 3), L"c1");
    EXPECT_EQ(grid->GetObjects(3, 3), grid);
    EXPECT_EQ(grid->GetCells(1, 3), L"c2");
    EXPECT_EQ(grid->GetCol(), 3) << "the current column goes with its column";
}

TEST_F(GridMouse, DoubleClickAndWheel)
{
    int doubles = 0;
    grid->OnDblClick = [&](TObject*) { ++doubles; };
    Click(InCell(2, 2));
    SendMessageW(Wnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, InCell(2, 2));
    Release(InCell(2, 2));
    EXPECT_EQ(doubles, 1);

    POINT screen{30, 30};
    ClientToScreen(Wnd(), &screen);
    const LPARAM at = MAKELPARAM(screen.x, screen.y);
    SendMessageW(Wnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), at);
    EXPECT_EQ(grid->GetRow(), 3);
    SendMessageW(Wnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), at);
    SendMessageW(Wnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), at);
    EXPECT_EQ(grid->GetRow(), 1);
    SendMessageW(Wnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), at);
    EXPECT_EQ(grid->GetRow(), 1) << "not into the fixed row";
    // A handler that takes the wheel keeps the row.
    grid->OnMouseWheelDown = [](TObject*, TShiftState, POINT, bool& handled) { handled = true; };
    SendMessageW(Wnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), at);
    EXPECT_EQ(grid->GetRow(), 1);
}

} // namespace
