// Hidden columns and the display/real column mapping, suppressed columns,
// moving columns, the column order, the hidden selection and scrolling a
// cell into view.
#include "DataGridSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

std::vector<int> Widths(TAdvStringGrid* g)
{
    std::vector<int> widths;
    for (int c = 0; c < g->GetColCount(); ++c)
        widths.push_back(g->GetColWidths(c));
    return widths;
}

// The real columns shown, in display order.
std::vector<int> Shown(TAdvStringGrid* g)
{
    std::vector<int> shown;
    for (int d = 0; d < g->GetColCount(); ++d)
        shown.push_back(g->RealColIndex(d));
    return shown;
}

// ---------------------------------------------------------------------------
// Hiding and showing

TEST(HiddenColumns, AHiddenColumnLeavesTheDisplayButKeepsItsCells)
{
    TFilledGrid<> g(5, 4);
    for (int c = 0; c < 5; ++c)
        g->SetColWidths(c, 40 + c);
    g->HideColumn(1);
    EXPECT_EQ(g->GetColCount(), 4);
    EXPECT_EQ(g->TotalColCount(), 5);
    EXPECT_EQ(g->NumHiddenColumns(), 1);
    EXPECT_EQ(g->RealColIndex(1), 2);
    EXPECT_EQ(g->DisplColIndex(2), 1);
    EXPECT_EQ(g->DisplColIndex(1), 1) << "a hidden column maps to the next shown one";
    EXPECT_TRUE(g->IsHiddenColumn(1));
    EXPECT_EQ(Widths(g.grid), (std::vector<int>{40, 42, 43, 44}));
    EXPECT_EQ(g->GetCells(1, 2), CellName(1, 2));
    g->UnHideColumn(1);
    EXPECT_EQ(Widths(g.grid), (std::vector<int>{40, 41, 42, 43, 44}));
    EXPECT_EQ(g->NumHiddenColumns(), 0);
}

TEST(HiddenColumns, TheMappingFollowsHiddenColumnsBeforeBetweenAndAfter)
{
    struct Case {
        std::vector<int> hidden;
        std::vector<int> shown;
    };
    const Case cases[] = {
        {{}, {0, 1, 2, 3, 4, 5}},
        {{0}, {1, 2, 3, 4, 5}},
        {{5}, {0, 1, 2, 3, 4}},
        {{1, 3, 4}, {0, 2, 5}},
        {{0, 1, 4, 5}, {2, 3}},
    };
    for (const Case& c : cases) {
        TFilledGrid<> g(6, 3);
        for (int col : c.hidden)
            g->HideColumn(col);
        EXPECT_EQ(Shown(g.grid), c.shown);
        for (size_t d = 0; d < c.shown.size(); ++d)
            EXPECT_EQ(g->DisplColIndex(c.shown[d]), static_cast<int>(d));
        // Indexes outside the table come back unchanged.
        for (int outside : {-1, 6, 9}) {
            EXPECT_EQ(g->RealColIndex(outside), outside);
            EXPECT_EQ(g->DisplColIndex(outside), outside);
        }
    }
}

TEST(HiddenColumns, OneColumnAlwaysStaysDisplayed)
{
    TFilledGrid<> g(5, 3);
    g->HideColumns(0, 4);
    EXPECT_EQ(g->GetColCount(), 1);
    EXPECT_EQ(g->RealColIndex(0), 4);
    g->HideColumn(4);
    EXPECT_FALSE(g->IsHiddenColumn(4));
    g->UnHideColumnsAll();
    EXPECT_EQ(Shown(g.grid), (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(HiddenColumns, HidingOrShowingTwiceChangesNothing)
{
    TFilledGrid<> g(5, 3);
    g->HideColumn(2);
    g->HideColumn(2);
    g->UnHideColumn(3);
    g->HideColumns(7, 9);
    EXPECT_EQ(g->GetColCount(), 4);
    EXPECT_EQ(g->NumHiddenColumns(), 1);
}

TEST(HiddenColumns, RememberedWidthsSurviveOtherColumnsAndWideValues)
{
    TFilledGrid<> g(5, 3);
    g->SetColWidths(1, 40000);  // more than 16 bits hold
    g->SetColWidths(3, 77);
    g->HideColumn(3);
    g->HideColumn(1);
    g->UnHideColumn(3);
    g->HideColumn(0);
    g->UnHideColumnsAll();
    EXPECT_EQ(g->GetColWidths(1), 40000);
    EXPECT_EQ(g->GetColWidths(3), 77);
}

TEST(HiddenColumns, SuppressingKeepsTheColumnAtWidthZero)
{
    TFilledGrid<> g(5, 3);
    g->SetColWidths(2, 55);
    g->SuppressColumn(2);
    EXPECT_EQ(g->GetColCount(), 5);
    EXPECT_EQ(g->GetColWidths(2), 0);
    EXPECT_EQ(g->RealColIndex(2), 2);
    g->UnSuppressColumn(2);
    EXPECT_EQ(g->GetColWidths(2), 55);
}

// ---------------------------------------------------------------------------
// Moving columns and the column order

TEST(HiddenColumns, TheColumnOrderFollowsMovesAndResets)
{
    TFilledGrid<> g(5, 3);
    std::vector<std::pair<int, int>> moved;
    g->OnColumnMoved = [&](TObject*, int From, int To) { moved.emplace_back(From, To); };
    g->MoveColumn(0, 2);
    EXPECT_EQ(g->ColumnAtPosition(2), 0);
    EXPECT_EQ(g->ColumnPosition(0), 2);
    EXPECT_EQ(g->GetCells(2, 1), CellName(0, 1));
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{0, 2}}));
    g->MoveColumn(4, 1);
    g->ResetColumnOrder();
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(g->GetCells(c, 1), CellName(c, 1));
        EXPECT_EQ(g->ColumnAtPosition(c), c);
    }
    g->MoveColumn(0, 9);
    g->MoveColumn(-1, 2);
    EXPECT_EQ(g->GetCells(0, 1), CellName(0, 1)) << "moves outside the grid are ignored";
}

TEST(HiddenColumns, MovingAColumnPastHiddenOnesKeepsThemHiddenWithTheirCells)
{
    TFilledGrid<> g(6, 4);
    g->HideColumn(2);
    g->HideRow(2);
    // Display columns: real 0, 1, 3, 4, 5. Move display 1 (real 1) to display 3 (real 4).
    g->MoveColumn(1, 3);
    EXPECT_EQ(g->NumHiddenColumns(), 1);
    // On the screen: the columns first numbered 0, 3, 4, 1, 5; column 2 still hidden.
    const std::vector<int> onScreen = {0, 3, 4, 1, 5};
    for (int d = 0; d < g->GetColCount(); ++d)
        EXPECT_EQ(g->GetCells(g->RealColIndex(d), 1), CellName(onScreen[static_cast<size_t>(d)], 1)) << d;
    EXPECT_TRUE(g->IsHiddenColumn(1));
    EXPECT_EQ(g->GetCells(1, 1), CellName(2, 1));
    g->UnHideRowsAll();
    g->UnHideColumnsAll();
    // Real order now 0, 2, 3, 4, 1, 5: the moved column landed after real 4.
    const std::vector<int> order = {0, 2, 3, 4, 1, 5};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 6; ++c)
            EXPECT_EQ(g->GetCells(c, r), CellName(order[static_cast<size_t>(c)], r)) << c << "," << r;
    EXPECT_EQ(g->ColumnPosition(1), 4);
}

TEST(HiddenColumns, AHeaderIsFoundInHiddenColumnsAndHiddenRows)
{
    TFilledGrid<> g(5, 3);
    g->SetCells(3, 0, L"Serial");
    g->HideColumn(3);
    EXPECT_EQ(g->ColumnByHeader(L"Serial"), 3);
    g->HideRow(0);
    EXPECT_EQ(g->ColumnByHeader(L"Serial"), 3);
    EXPECT_EQ(g->ColumnByHeader(L"serial"), -1) << "case matters";
}

// ---------------------------------------------------------------------------
// The hidden selection and scrolling into view

TEST(HiddenColumns, TheHiddenSelectionLiesJustOutsideTheGrid)
{
    TFilledGrid<> g(5, 6);
    g->SetSelection({1, 2, 3, 4});
    g->HideSelection();
    EXPECT_TRUE(g->IsSelectionHidden());
    EXPECT_EQ(g->GetSelection(), (TGridRect{5, 6, 5, 6}));
    EXPECT_EQ(g->GetCol(), 5);
    EXPECT_EQ(g->GetRow(), 6);
    g->UnHideSelection();
    EXPECT_FALSE(g->IsSelectionHidden());
    EXPECT_EQ(g->GetSelection(), (TGridRect{1, 2, 3, 4}));
}

TEST(HiddenColumns, AHiddenSelectionShowsAgainWhereTheKeysTakeIt)
{
    TShownGrid<> g(5, 6);
    g->HideSelection();
    SendMessageW(g->GetHandle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_FALSE(g->IsSelectionHidden());
    EXPECT_LT(g->GetRow(), g->GetRowCount());
}

TEST(HiddenColumns, ScrollInViewPutsARowWhereAsked)
{
    TShownGrid<> g(4, 200);
    const int visible = g->GetVisibleRowCount();
    g->ScrollInView(1, 100, spLeading);
    EXPECT_EQ(g->GetTopRow(), 100);
    EXPECT_EQ(g->GetRow(), 100);
    g->ScrollInView(1, 150, spMiddle);
    EXPECT_EQ(g->GetTopRow(), 150 - visible / 2);
    g->ScrollInView(1, 40, spTrailing);
    EXPECT_EQ(g->GetTopRow(), 40 - visible + 1);
    // Leading near the end stops where the last rows fill the page.
    g->ScrollInView(1, 199, spLeading);
    EXPECT_EQ(g->GetTopRow(), 200 + 1 - visible);
    g->ScrollInView(1, 250, spLeading);
    EXPECT_EQ(g->GetRow(), 199) << "outside the grid: nothing";
}

} // namespace
