// The string grid's cells: texts and objects travel together through row and
// column copies and moves, storage outlives lowered counts, and the layout
// rules that callers lean on (fixed counts, default sizes).
#include <gtest/gtest.h>
#include "Grids.h"
#include "GridTestSupport.h"

using grid_test::TJournalGrid;

namespace {

struct GridStorage : testing::Test {
    TJournalGrid* grid = nullptr;
    TObject* a = nullptr;
    TObject* b = nullptr;
    void SetUp() override
    {
        grid = New<TJournalGrid>(nullptr);
        grid->SetColCount(4);
        grid->SetRowCount(6);
        a = New<TObject>();
        b = New<TObject>();
    }
    void TearDown() override
    {
        grid->Free();
        a->Free();
        b->Free();
    }
    void FillRow(int row, const String& prefix)
    {
        for (int c = 0; c < grid->GetColCount(); ++c)
            grid->SetCells(c, row, prefix + IntToStr(c));
    }
};

TEST_F(GridStorage, RowCopyCarriesTextsAndObjects)
{
    FillRow(1, L"r1c");
    grid->SetObjects(2, 1, a);
    grid->SetObjects(3, 4, b);  // overwritten by the copy below
    grid->SetCells(3, 4, L"old");

    grid->SetRows(4, grid->GetRows(1));

    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid->GetCells(c, 4), L"r1c" + IntToStr(c));
    EXPECT_EQ(grid->GetObjects(2, 4), a);
    EXPECT_EQ(grid->GetObjects(3, 4), nullptr);
    EXPECT_EQ(grid->GetObjects(2, 1), a) << "the source keeps its object";

    // A list with objects, shorter than the row: the rest of the row is emptied.
    TOwned<TStringList> list(New<TStringList>());
    list->AddObject(L"x", b);
    grid->SetRows(1, list.get());
    EXPECT_EQ(grid->GetCells(0, 1), L"x");
    EXPECT_EQ(grid->GetObjects(0, 1), b);
    EXPECT_EQ(grid->GetCells(1, 1), L"");
    EXPECT_EQ(grid->GetObjects(2, 1), nullptr);

    // And back out: the row as a list.
    list->Assign(grid->GetRows(4));
    ASSERT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Get(3), L"r1c3");
    EXPECT_EQ(list->GetObject(2), a);
}

TEST_F(GridStorage, ColumnCopyAndViewsFollowTheCounts)
{
    grid->SetCells(1, 0, L"head");
    grid->SetCells(1, 5, L"tail");
    grid->SetObjects(1, 3, a);
    grid->SetCols(2, grid->GetCols(1));
    EXPECT_EQ(grid->GetCells(2, 0), L"head");
    EXPECT_EQ(grid->GetCells(2, 5), L"tail");
    EXPECT_EQ(grid->GetObjects(2, 3), a);

    TStrings* row = grid->GetRows(0);
    EXPECT_EQ(row->Count(), 4);
    grid->SetColCount(7);
    EXPECT_EQ(row->Count(), 7) << "a view is live";
    EXPECT_EQ(grid->GetCols(2)->Count(), 6);
    EXPECT_THROW(row->Get(7), EInvalidGridOperation);
    EXPECT_THROW(row->Insert(0, L"x"), EInvalidGridOperation);
}

TEST_F(GridStorage, LoweredCountsKeepStorageForCellsThatComeBack)
{
    FillRow(5, L"last");
    grid->SetObjects(3, 5, a);
    grid->SetRowCount(3);
    EXPECT_EQ(grid->GetRowCount(), 3);
    grid->SetRowCount(6);
    EXPECT_EQ(grid->GetCells(2, 5), L"last2") << "the row comes back with its old text";
    EXPECT_EQ(grid->GetObjects(3, 5), a);

    // A column kept outside ColCount (as a hidden column is) rides along in a
    // row copy made while the count is widened.
    grid->SetCells(3, 2, L"hidden");
    grid->SetColCount(3);
    EXPECT_EQ(grid->GetRows(2)->Count(), 3);
    EXPECT_EQ(grid->GetCells(3, 2), L"hidden") << "cells past ColCount stay readable";
    grid->SetColCount(4);
    grid->SetRows(4, grid->GetRows(2));
    grid->SetColCount(3);
    EXPECT_EQ(grid->GetCells(3, 4), L"hidden");
}

TEST_F(GridStorage, MovesCarryCellsAndSizesAndReportOnce)
{
    FillRow(1, L"a");
    FillRow(2, L"b");
    grid->SetObjects(0, 1, a);
    grid->SetRowHeights(1, 40);
    grid->MoveRow(1, 4);
    EXPECT_EQ(grid->GetCells(0, 4), L"a0");
    EXPECT_EQ(grid->GetObjects(0, 4), a);
    EXPECT_EQ(grid->GetCells(0, 1), L"b0") << "the rows between move up";
    EXPECT_EQ(grid->GetRowHeights(4), 40);
    EXPECT_EQ(grid->GetRowHeights(1), grid->GetDefaultRowHeight());
    ASSERT_EQ(grid->rowsMoved.size(), 1u);
    EXPECT_EQ(grid->rowsMoved[0], std::make_pair(1, 4));

    grid->SetCells(3, 0, L"h3");
    grid->SetColWidths(3, 90);
    grid->MoveColumn(3, 1);
    EXPECT_EQ(grid->GetCells(1, 0), L"h3");
    EXPECT_EQ(grid->GetCells(3, 4), L"a2");
    EXPECT_EQ(grid->GetColWidths(1), 90);
    EXPECT_EQ(grid->columnsMoved, (std::vector<std::pair<int, int>>{{3, 1}}));

    // Deleting a row moves it to the end and lowers the count; the text stays stored there.
    grid->DeleteRow(1);
    EXPECT_EQ(grid->GetRowCount(), 5);
    EXPECT_EQ(grid->GetCells(0, 3), L"a0");
    grid->SetRowCount(6);
    EXPECT_EQ(grid->GetCells(0, 5), L"b0");
}

TEST_F(GridStorage, DefaultSizesResetEveryEntry)
{
    grid->SetColWidths(1, 100);
    grid->SetColWidths(3, 10);
    grid->SetRowHeights(2, 50);
    const int changes = grid->colWidthsChanged;
    grid->SetDefaultColWidth(70);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(grid->GetColWidths(c), 70) << c;
    EXPECT_GT(grid->colWidthsChanged, changes);
    EXPECT_EQ(grid->GetRowHeights(2), 50) << "rows keep their own sizes";
    grid->SetDefaultRowHeight(30);
    EXPECT_EQ(grid->GetRowHeights(2), 30);
    grid->SetColCount(6);
    EXPECT_EQ(grid->GetColWidths(5), 70) << "new columns take the default";
}

TEST_F(GridStorage, BadIndexesAndCountsAreRefused)
{
    EXPECT_THROW(grid->SetCells(-1, 0, L"x"), EInvalidGridOperation);
    EXPECT_THROW(grid->GetObjects(0, -1), EInvalidGridOperation);
    EXPECT_THROW(grid->SetColWidths(4, 10), EInvalidGridOperation);
    EXPECT_THROW(grid->SetFixedRows(6), EInvalidGridOperation);
    EXPECT_THROW(grid->SetFixedCols(-1), EInvalidGridOperation);
    EXPECT_THROW(grid->SetRow(6), EInvalidGridOperation);
    // Lowering a count below the fixed count lowers the fixed count.
    grid->SetFixedRows(3);
    grid->SetRowCount(2);
    EXPECT_EQ(grid->GetFixedRows(), 1);
    EXPECT_EQ(grid->GetRow(), 1);
    grid->SetRowCount(0);
    EXPECT_EQ(grid->GetRowCount(), 1);
    EXPECT_EQ(grid->GetFixedRows(), 0);
}

} // namespace
