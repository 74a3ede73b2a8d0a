// What is selected: the test for one cell in each selection model, the
// counts with merged blocks at the edges, the selected text as a block of
// tabs and line ends, and selecting cells from code.
#include "DataGridSupport.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

using namespace datagrid_test;

namespace {

// Five columns and six rows with a header row and column.
struct TSelectGrid : TFilledGrid<> {
    TSelectGrid() : TFilledGrid<>(5, 6)
    {
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
    }
};

} // namespace

TEST(Selection, IsSelectedFollowsTheSelectionModel)
{
    struct Case {
        const char* name;
        std::function<void(TAdvStringGrid*)> arrange;
        std::vector<std::pair<int, int>> selected;
    };
    const Case cases[] = {
        {"the rectangle", [](TAdvStringGrid* g) { g->SetSelection({2, 2, 3, 3}); },
         {{2, 2}, {3, 2}, {2, 3}, {3, 3}}},
        {"marked rows",
         [](TAdvStringGrid* g) {
             g->GetMouseActions()->SetDisjunctRowSelect(true);
             g->SetRowSelect(2, true);
             g->SetRowSelect(4, true);
         },
         {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}},
        {"marked rows by real row",
         [](TAdvStringGrid* g) {
             g->GetMouseActions()->SetDisjunctRowSelect(true);
             g->GetMouseActions()->SetRowSelectPersistent(true);
             g->SetRowSelect(4, true);
             g->HideRow(2);  // real row 4 shows as row 3
         },
         {{1, 3}, {2, 3}, {3, 3}, {4, 3}}},
        {"marked columns",
         [](TAdvStringGrid* g) {
             g->GetMouseActions()->SetDisjunctColSelect(true);
             g->SetColSelect(3, true);
         },
         {{3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}}},
        {"marked cells",
         [](TAdvStringGrid* g) {
             g->GetMouseActions()->SetDisjunctCellSelect(true);
             g->SetCellSelected(1, 5, true);
             g->SetCellSelected(4, 2, true);
             g->SetCellSelected(0, 0, true);  // fixed: marked, never selected
         },
         {{1, 5}, {4, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSelectGrid g;
        c.arrange(g.grid);
        std::vector<std::pair<int, int>> selected;
        for (int row = 0; row < g->GetRowCount(); ++row)
            for (int col = 0; col < g->GetColCount(); ++col)
                if (g->IsSelected(col, row))
                    selected.push_back({col, row});
        // Listed row by row, as the walk finds them.
        std::vector<std::pair<int, int>> expected = c.selected;
        std::sort(expected.begin(), expected.end(),
                  [](auto a, auto b) { return std::tie(a.second, a.first) < std::tie(b.second, b.first); });
        EXPECT_EQ(selected, expected);
    }
}

TEST(Selection, CountsTakeMergedBlocksAtTheEdgesWhole)
{
    struct Case {
        const char* name;
        std::function<void(TAdvStringGrid*)> arrange;
        TGridRect selection;
        int cols, rows, cells;
    };
    const Case cases[] = {
        {"plain rectangle", [](TAdvStringGrid*) {}, {1, 2, 3, 3}, 3, 2, 6},
        {"left cell merged over three columns, right edge inside",
         [](TAdvStringGrid* g) { g->MergeCells(1, 2, 3, 1); }, {1, 2, 2, 2}, 3, 1, 2},
        {"right cell merged over two columns", [](TAdvStringGrid* g) { g->MergeCells(3, 2, 2, 1); }, {1, 2, 3, 2},
         4, 1, 3},
        {"top cell merged over three rows, bottom inside", [](TAdvStringGrid* g) { g->MergeCells(2, 1, 1, 3); },
         {2, 1, 2, 2}, 1, 3, 2},
        {"bottom cell merged over two rows", [](TAdvStringGrid* g) { g->MergeCells(1, 3, 1, 2); }, {1, 1, 1, 3}, 1,
         4, 3},
        {"footer rows left out", [](TAdvStringGrid* g) { g->SetFixedFooters(2); }, {1, 1, 1, 5}, 1, 3, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSelectGrid g;
        c.arrange(g.grid);
        g->SetSelection(c.selection);
        EXPECT_EQ(g->GetSelectedColCount(), c.cols);
        EXPECT_EQ(g->GetSelectedRowCount(), c.rows);
        EXPECT_EQ(g->GetSelectedCellsCount(), c.cells);
    }
}

TEST(Selection, CountsOfMarks)
{
    TSelectGrid g;
    g->GetMouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(1, true);
    g->SetRowSelect(3, true);
    EXPECT_EQ(g->GetSelectedRowCount(), 2);
    g->GetMouseActions()->SetDisjunctRowSelect(false);

    g->GetMouseActions()->SetDisjunctColSelect(true);
    g->SetColSelect(2, true);
    EXPECT_EQ(g->GetSelectedColCount(), 1);
    g->GetMouseActions()->SetDisjunctColSelect(false);

    g->GetMouseActions()->SetDisjunctCellSelect(true);
    g->SelectCells(3, 2, 2, 4);
    EXPECT_EQ(g->GetSelectedCellsCount(), 6);
    EXPECT_TRUE(g->IsSelected(2, 4));
    EXPECT_FALSE(g->IsSelected(1, 2));
    g->SetCellSelected(2, 4, false);
    g->SetCellSelected(2, 4, false);
    EXPECT_EQ(g->GetSelectedCellsCount(), 5);
    g->ClearSelectedCells();
    EXPECT_EQ(g->GetSelectedCellsCount(), 0);
    EXPECT_EQ(g->GetSelection(), (TGridRect{1, 1, 1, 1}));
}

TEST(Selection, CellsPastTheMarkRangeCannotBeMarked)
{
    // Marks hold the row in 16 bits: row 70000 would read as row 4464.
    TOwned<TAdvStringGrid> g(New<TAdvStringGrid>(nullptr));
    g->SetRowCount(70001);
    g->GetMouseActions()->SetDisjunctCellSelect(true);
    g->SetCellSelected(1, 70000, true);
    EXPECT_FALSE(g->IsSelected(1, 70000));
    EXPECT_FALSE(g->IsSelected(1, 70000 - 65536));
    EXPECT_EQ(g->GetSelectedCellsCount(), 0);
    g->SetCellSelected(1, 65535, true);
    EXPECT_TRUE(g->IsSelected(1, 65535));
}

TEST(Selection, SelectCellsWithoutMarks)
{
    TSelectGrid g;
    g->SelectCells(3, 2, 3, 2);
    EXPECT_EQ(g->GetCol(), 3);
    EXPECT_EQ(g->GetRow(), 2);
    EXPECT_EQ(g->GetSelection(), (TGridRect{3, 2, 3, 2}));
    g->SelectCells(1, 2, 3, 4);
    EXPECT_EQ(g->GetSelection(), (TGridRect{1, 2, 3, 4}));
}

TEST(Selection, SelectedTextIsABlockOfTabsAndLineEnds)
{
    struct Case {
        const char* name;
        std::function<void(TAdvStringGrid*)> arrange;
        String text;
    };
    const Case cases[] = {
        {"two by two, no line end after the last row",
         [](TAdvStringGrid* g) { g->SetSelection({2, 1, 3, 2}); }, L"r1c2\tr1c3\r\nr2c2\tr2c3"},
        {"marked rows each end their line",
         [](TAdvStringGrid* g) {
             g->GetMouseActions()->SetDisjunctRowSelect(true);
             g->SetSelection({2, 1, 3, 1});
             g->SetRowSelect(2, true);
             g->SetRowSelect(4, true);
         },
         L"r2c2\tr2c3\r\nr4c2\tr4c3\r\n"},
        {"a hidden column is left out",
         [](TAdvStringGrid* g) {
             g->HideColumn(2);
             g->SetSelection({1, 1, 2, 1});
         },
         L"r1c1\tr1c3"},
        {"saving hidden cells counts the columns as stored",
         [](TAdvStringGrid* g) {
             g->HideColumn(2);
             g->SetSaveHiddenCells(true);
             g->SetSelection({2, 1, 2, 1});
         },
         L"r1c2\tr1c3"},
        {"whole rows for dragging", [](TAdvStringGrid* g) {
             g->GetDragDropSettings()->SetOleEntireRows(true);
             g->SetSelection({2, 3, 2, 3});
         },
         L"r3c0\tr3c1\tr3c2\tr3c3\tr3c4"},
        {"multi-line cells quoted for a spreadsheet",
         [](TAdvStringGrid* g) {
             g->SetExcelClipboardFormat(true);
             g->SetMultilineCells(true);
             g->SetCells(1, 1, L"a\r\nb");
             g->SetCells(2, 1, L"c\r\n");
             g->SetSelection({1, 1, 2, 1});
         },
         L"\"a\vb\"\tc\r\n"},
        {"multi-line cells as they are without the spreadsheet format",
         [](TAdvStringGrid* g) {
             g->SetMultilineCells(true);
             g->SetCells(1, 1, L"a\r\nb");
             g->SetSelection({1, 1, 1, 1});
         },
         L"a\r\nb"},
        {"nothing while the selection is hidden", [](TAdvStringGrid* g) { g->HideSelection(); }, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSelectGrid g;
        c.arrange(g.grid);
        EXPECT_EQ(g->SelectedText(), c.text);
    }
}

TEST(Selection, ClearModifiedRows)
{
    TSelectGrid g;
    g->SetRowModified(2, true);
    g->SetRowModified(4, true);
    ASSERT_EQ(g->ModifiedRowCount(), 2);
    g->ClearModifiedRows();
    EXPECT_EQ(g->ModifiedRowCount(), 0);
    EXPECT_FALSE(g->GetRowModified(2));
}
