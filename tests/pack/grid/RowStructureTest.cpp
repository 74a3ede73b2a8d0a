// Rows and columns inserted, removed and cleared; runs of equal cells merged
// and split; the used-cell and save ranges.
#include "DataGridSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// ---------------------------------------------------------------------------
// Inserting and removing rows

TEST(RowStructure, InsertedRowsAreEmptyAndPushTheRowsBelowDown)
{
    struct Case {
        int at, count;
        std::vector<int> expected;  // -1 for a new row
    };
    const Case cases[] = {
        {0, 1, {-1, 0, 1, 2, 3}},
        {2, 2, {0, 1, -1, -1, 2, 3}},
        {4, 1, {0, 1, 2, 3, -1}},
    };
    for (const Case& c : cases) {
        TFilledGrid<> g(3, 4);
        g->SetDefaultRowHeight(30);
        g->SetRowHeights(1, 12);
        std::vector<TRect> changed;
        g->OnCellsChanged = [&](TObject*, const TRect& R) { changed.push_back(R); };
        g->InsertRows(c.at, c.count);
        EXPECT_EQ(ColumnTexts(g.grid, 2), Names(2, c.expected)) << "at " << c.at;
        for (int r = 0; r < g->GetRowCount(); ++r) {
            const int from = c.expected[static_cast<size_t>(r)];
            EXPECT_EQ(g->GetRowHeights(r), from == 1 ? 12 : 30) << "row " << r;
        }
        ASSERT_EQ(changed.size(), 1u);
        EXPECT_EQ(changed[0], TRect(0, c.at, 2, c.at + c.count));
    }
}

TEST(RowStructure, InsertsAndRemovesOutsideTheGridChangeNothing)
{
    TFilledGrid<> g(3, 4);
    g->InsertRows(5, 1);
    g->InsertRows(-1, 1);
    g->InsertRows(1, 0);
    g->RemoveRows(4, 1);
    g->RemoveRows(-1, 2);
    g->RemoveRows(1, 0);
    EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 1, 2, 3}));
}

TEST(RowStructure, RemovedRowsLeaveNothingBehindPastTheEnd)
{
    TFilledGrid<> g(3, 6);
    g->GetCellProperties(1, 4)->SetBrushColor(clRed);
    g->RemoveRows(2, 2);
    EXPECT_EQ(ColumnTexts(g.grid, 1), Names(1, {0, 1, 4, 5}));
    EXPECT_EQ(g->GetCellProperties(1, 2)->GetBrushColor(), clRed) << "properties move with their row";
    // Rows that come back into the grid read as empty, not as what was removed.
    g->SetRowCount(6);
    EXPECT_EQ(ColumnTexts(g.grid, 1), Names(1, {0, 1, 4, 5, -1, -1}));
    EXPECT_FALSE(g->HasCellProperties(1, 4));
}

TEST(RowStructure, NewRowsNeverShowWhatALoweredRowCountLeftInStorage)
{
    TFilledGrid<> g(3, 6);
    g->GetCellProperties(1, 5);
    g->SetRowCount(4);  // the class library keeps rows 4 and 5 stored
    g->InsertRows(1, 2);
    EXPECT_EQ(ColumnTexts(g.grid, 1), Names(1, {0, -1, -1, 1, 2, 3}));
    EXPECT_FALSE(g->HasCellProperties(1, 1));
    EXPECT_FALSE(g->HasCellProperties(1, 2));
}

TEST(RowStructure, RemovingTheLastRowMovesTheCurrentRowUp)
{
    TFilledGrid<> g(3, 6);
    g->SetRow(5);
    g->RemoveRows(5, 1);
    EXPECT_EQ(g->GetRow(), 4);
    g->SetRow(2);
    g->RemoveRows(3, 2);
    EXPECT_EQ(g->GetRow(), 2) << "a current row above the removed ones stays";
}

TEST(RowStructure, AddRowAppendsAnEmptyRow)
{
    TFilledGrid<> g(3, 3);
    g->AddRow();
    EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 1, 2, -1}));
}

TEST(RowStructure, RemovingAListTakesAllItsRowsAtOnce)
{
    TFilledGrid<> g(3, 8);
    TOwned<TIntList> list(New<TIntList>(0, 0));
    for (int r : {6, 1, 3, 3, 12})  // unordered, a duplicate and one outside
        list->Add(r);
    g->RemoveRowList(list.get());
    EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 2, 4, 5, 7}));
}

TEST(RowStructure, DuplicatesGoWhateverTheirCase)
{
    for (bool flag : {false, true}) {
        TFilledGrid<> g(3, 6);
        const wchar_t* texts[] = {L"head", L"Abc", L"x", L"ABC", L"abc", L"X"};
        for (int r = 0; r < 6; ++r)
            g->SetCells(1, r, texts[r]);
        g->RemoveDuplicates(1, flag);
        EXPECT_EQ(ColumnTexts(g.grid, 1), (std::vector<String>{L"head", L"Abc", L"x"})) << "flag " << flag;
        EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 1, 2}));
    }
}

TEST(RowStructure, MovingRowsCarriesTheirCellsOverEveryColumn)
{
    TFilledGrid<> g(4, 8);
    g->HideColumn(2);
    g->MoveRows(1, 5, 2);
    g->UnHideColumn(2);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(ColumnTexts(g.grid, c), Names(c, {0, 3, 4, 1, 2, 5, 6, 7})) << "column " << c;
}

TEST(RowStructure, RowsOfTheSelectionGoOrHide)
{
    {
        TFilledGrid<> g(3, 8);
        g->SetSelection({1, 2, 2, 4});
        g->RemoveSelectedRows();
        EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 1, 5, 6, 7}));
    }
    {
        TFilledGrid<> g(3, 8);
        g->SetSelection({1, 2, 2, 4});
        g->RemoveUnSelectedRows();
        EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 2, 3, 4}));
    }
    {
        TFilledGrid<> g(3, 8);
        g->SetSelection({1, 2, 2, 4});
        g->HideUnSelectedRows();
        EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 2, 3, 4}));
        g->SetSelection({1, 2, 2, 2});  // display row 2 is real row 3
        g->HideSelectedRows();
        EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 2, 4}));
        g->UnHideRowsAll();
        EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 1, 2, 3, 4, 5, 6, 7}));
    }
}

// ---------------------------------------------------------------------------
// Inserting and removing columns

TEST(RowStructure, RemovingColumnsIsCutAtTheLastColumn)
{
    TFilledGrid<> g(5, 3);
    g->SetColWidths(1, 33);
    g->RemoveCols(2, 10);
    EXPECT_EQ(g->GetColCount(), 2);
    EXPECT_EQ(g->GetCells(1, 1), CellName(1, 1));
    EXPECT_EQ(g->GetColWidths(1), 33);
    // Columns that come back read as empty.
    g->SetColCount(4);
    EXPECT_EQ(g->GetCells(2, 1), L"");
    EXPECT_EQ(g->GetCells(3, 1), L"");
}

TEST(RowStructure, InsertedColumnsAreEmptyAndShiftCellsAndWidthsRight)
{
    TFilledGrid<> g(4, 3);
    g->SetDefaultColWidth(50);
    g->SetColWidths(2, 70);
    g->InsertCols(1, 2);
    EXPECT_EQ(g->GetColCount(), 6);
    const std::vector<int> from = {0, -1, -1, 1, 2, 3};
    for (int c = 0; c < 6; ++c) {
        const int source = from[static_cast<size_t>(c)];
        EXPECT_EQ(g->GetCells(c, 2), source < 0 ? String() : CellName(source, 2)) << "column " << c;
        EXPECT_EQ(g->GetColWidths(c), source == 2 ? 70 : 50) << "column " << c;
    }
    g->AddColumn();
    EXPECT_EQ(g->GetColCount(), 7);
    EXPECT_EQ(g->GetCells(6, 2), L"");
}

TEST(RowStructure, ColumnsComeAndGoAroundHiddenColumnsAndHiddenRows)
{
    TFilledGrid<> g(5, 4);
    g->HideColumn(3);
    g->HideRow(2);
    g->InsertCols(1, 1);
    EXPECT_TRUE(g->IsHiddenColumn(4)) << "the hidden column moved right with its cells";
    EXPECT_EQ(g->GetColCount(), 5);
    g->RemoveCols(2, 1);
    EXPECT_TRUE(g->IsHiddenColumn(3));
    g->UnHideRowsAll();
    g->UnHideColumnsAll();
    // Columns: 0, new, 2, 3, 4 (old 1 removed); every row, the hidden one too.
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(g->GetCells(0, r), CellName(0, r));
        EXPECT_EQ(g->GetCells(1, r), L"");
        EXPECT_EQ(g->GetCells(2, r), CellName(2, r));
        EXPECT_EQ(g->GetCells(3, r), CellName(3, r));
        EXPECT_EQ(g->GetCells(4, r), CellName(4, r));
    }
}

// ---------------------------------------------------------------------------
// Clearing

TEST(RowStructure, ClearRowsEmptiesEveryColumnAndToleratesRowsPastTheEnd)
{
    TFilledGrid<> g(4, 5);
    g->HideColumn(2);
    g->GetCellProperties(1, 3)->SetBrushColor(clRed);
    g->ClearRows(3, 5);  // runs three rows past the end
    g->ClearRows(0, 0);
    g->UnHideColumn(2);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(ColumnTexts(g.grid, c), Names(c, {0, 1, 2, -1, -1})) << "column " << c;
    EXPECT_FALSE(g->HasCellProperties(1, 3));
    EXPECT_EQ(g->GetCellText(1, 6), L"");
}

int freedTags = 0;

class TTagObject : public TObject {
public:
    ~TTagObject() override { ++freedTags; }
};

TEST(RowStructure, ClearingFreesOwnedTagsAndKeepsTheLookOnlyWhenAskedTo)
{
    freedTags = 0;
    TFilledGrid<> g(4, 4);
    g->SetOwnsObjects(true);
    g->SetCellObject(1, 1, reinterpret_cast<intptr_t>(New<TTagObject>()));
    g->GetCellProperties(2, 1)->SetBrushColor(clLime);
    g->SetClearTextOnly(true);
    g->ClearRect(1, 1, 2, 1);
    EXPECT_EQ(freedTags, 1);
    EXPECT_EQ(g->GetCellObject(1, 1), 0) << "no tag left pointing at a freed object";
    EXPECT_EQ(g->GetCellProperties(2, 1)->GetBrushColor(), clLime);
    EXPECT_EQ(g->GetCells(2, 1), L"");
    g->SetClearTextOnly(false);
    g->ClearRect(2, 1, 2, 1);
    EXPECT_FALSE(g->HasCellProperties(2, 1));
}

TEST(RowStructure, ClearingASelectionClearsTheCellsOnTheScreen)
{
    TFilledGrid<> g(5, 4);
    g->HideColumn(1);
    g->SetSelection({1, 1, 2, 2});  // display columns 1 and 2 are real 2 and 3
    g->ClearSelection();
    g->UnHideColumn(1);
    EXPECT_EQ(g->GetCells(1, 1), CellName(1, 1));
    EXPECT_EQ(g->GetCells(2, 1), L"");
    EXPECT_EQ(g->GetCells(3, 2), L"");
    EXPECT_EQ(g->GetCells(4, 2), CellName(4, 2));
}

TEST(RowStructure, ColouringARectangleStopsAtTheGridsEdge)
{
    TFilledGrid<> g(4, 4);
    g->ColorRect(2, 2, 9, 9, clAqua);
    EXPECT_EQ(g->GetCellProperties(3, 3)->GetBrushColor(), clAqua);
    EXPECT_FALSE(g->HasCellProperties(1, 1));
    EXPECT_EQ(g->GetRawObject(4, 4), nullptr);
}

TEST(RowStructure, TrimmingTakesSpacesAndControlCharactersFromBothEnds)
{
    TFilledGrid<> g(3, 3);
    g->SetCells(1, 1, L" \t a b \r\n");
    g->SetCells(2, 1, L"  c");
    g->TrimRow(1);
    EXPECT_EQ(g->GetCells(1, 1), L"a b");
    EXPECT_EQ(g->GetCells(2, 1), L"c");
}

// ---------------------------------------------------------------------------
// Merging runs of equal cells

TEST(RowStructure, EqualNeighboursInARowMergeIntoOneCell)
{
    struct Case {
        std::vector<String> texts;
        std::vector<TPoint> blocks;  // base column, columns
    };
    const Case cases[] = {
        {{L"A", L"A", L"B", L"B"}, {{0, 2}, {2, 2}}},
        {{L"A", L"B", L"C", L"D"}, {}},
        {{L"A", L"A", L"A", L"B"}, {{0, 3}}},
    };
    for (const Case& c : cases) {
        TFilledGrid<> g(4, 3);
        g->SetFixedCols(0);
        for (int col = 0; col < 4; ++col)
            g->SetCells(col, 1, c.texts[static_cast<size_t>(col)]);
        g->MergeRowCells(1, true);
        std::vector<TPoint> blocks;
        for (int col = 0; col < 4; ++col)
            if (g->IsBaseCell(col, 1) && g->IsMergedCell(col, 1))
                blocks.push_back({col, g->CellSpan(col, 1).x + 1});
        EXPECT_EQ(blocks, c.blocks) << c.texts[1];
    }
}

TEST(RowStructure, ColumnMergesFollowTheMainColumnsBlocks)
{
    TFilledGrid<> g(3, 7);
    const wchar_t* main[] = {L"h", L"a", L"a", L"b", L"b", L"b", L"c"};
    const wchar_t* sub[] = {L"h", L"x", L"x", L"x", L"x", L"y", L"y"};
    for (int r = 0; r < 7; ++r) {
        g->SetCells(1, r, main[r]);
        g->SetCells(2, r, sub[r]);
    }
    g->MergeColumnCells(1, true);
    g->MergeColumnCells(2, false);
    // The sub column merges only inside the main column's blocks.
    EXPECT_EQ(g->CellSpan(1, 1), TPoint(0, 1));
    EXPECT_EQ(g->CellSpan(1, 3), TPoint(0, 2));
    EXPECT_EQ(g->CellSpan(2, 1), TPoint(0, 1));
    EXPECT_EQ(g->BaseCell(2, 4), TPoint(2, 3));
    EXPECT_EQ(g->CellSpan(2, 4), TPoint(0, 1));
    EXPECT_FALSE(g->IsMergedCell(2, 6));

    g->SplitColumnCells(2);
    for (int r = 0; r < 7; ++r)
        EXPECT_FALSE(g->IsMergedCell(2, r));
    EXPECT_TRUE(g->IsMergedCell(1, 4));
    g->SplitAllCells();
    for (int r = 0; r < 7; ++r)
        EXPECT_FALSE(g->IsMergedCell(1, r));
}

TEST(RowStructure, MergingTwoColumnsJoinsTheirTextsAndDropsTheSecond)
{
    TFilledGrid<> g(4, 3);
    g->MergeCols(1, 2, L" / ");
    EXPECT_EQ(g->GetColCount(), 3);
    EXPECT_EQ(g->GetCells(1, 1), CellName(1, 1) + L" / " + CellName(2, 1));
    EXPECT_EQ(g->GetCells(1, 0), CellName(1, 0)) << "fixed rows stay";
    EXPECT_EQ(g->GetCells(2, 1), CellName(3, 1));
}

// ---------------------------------------------------------------------------
// Ranges the writers use

TEST(RowStructure, UsedCellRangeIsTheSmallestRectangleOfTextOrNothing)
{
    TFilledGrid<> g(5, 5);
    g->Clear();
    EXPECT_EQ(g->FindUsedCellRange(), TRect(0, 0, 0, 0));
    g->SetCells(3, 1, L"a");
    g->SetCells(1, 3, L"b");
    EXPECT_EQ(g->FindUsedCellRange(), TRect(1, 1, 3, 3));
}

TEST(RowStructure, SaveRangeLeavesFixedCellsOutUnlessAsked)
{
    TFilledGrid<> g(6, 8);
    g->SetFixedFooters(1);
    g->SetFixedRightCols(1);
    struct Case {
        bool cells, cols, rows;
        int startCol, endCol, colCount, startRow, endRow, rowCount;
    };
    const Case cases[] = {
        {false, false, false, 1, 4, 4, 1, 6, 6},
        {true, false, false, 0, 5, 6, 0, 7, 8},
        {false, true, false, 0, 5, 6, 1, 6, 6},
        {false, false, true, 1, 4, 4, 0, 7, 8},
    };
    for (const Case& c : cases) {
        g->SetSaveFixedCells(c.cells);
        g->SetSaveFixedCols(c.cols);
        g->SetSaveFixedRows(c.rows);
        EXPECT_EQ(g->SaveStartCol(), c.startCol);
        EXPECT_EQ(g->SaveEndCol(), c.endCol);
        EXPECT_EQ(g->SaveColCount(), c.colCount);
        EXPECT_EQ(g->SaveStartRow(), c.startRow);
        EXPECT_EQ(g->SaveEndRow(), c.endRow);
        EXPECT_EQ(g->SaveRowCount(), c.rowCount);
    }
}

} // namespace
