// Calculations over columns, rows and rectangles, automatic numbers and
// swaps of rows and columns.
#include "DataGridSupport.h"
#include "SysUtils.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// A grid with a header row and the values down column 1.
struct TValueGrid : TFilledGrid<> {
    explicit TValueGrid(const std::vector<String>& values) : TFilledGrid<>(3, static_cast<int>(values.size()) + 1)
    {
        grid->SetFixedRows(1);
        for (size_t i = 0; i < values.size(); ++i)
            grid->SetCells(1, static_cast<int>(i) + 1, values[i]);
    }
};

} // namespace

TEST(Calc, ColumnFunctions)
{
    struct Case {
        const char* name;
        std::vector<String> values;
        double (TAdvStringGrid::*calc)(int, int, int);
        double expected;
    };
    const Case cases[] = {
        {"sum skips non-numbers", {L"1", L"x", L"3"}, &TAdvStringGrid::ColumnSum, 4},
        {"average divides by every row", {L"1", L"x", L"3"}, &TAdvStringGrid::ColumnAvg, 4.0 / 3},
        {"empty and dash read 0", {L"", L"-", L"5"}, &TAdvStringGrid::ColumnSum, 5},
        {"population deviation", {L"2", L"4", L"4", L"4", L"5", L"5", L"7", L"9"}, &TAdvStringGrid::ColumnStdDev, 2},
        {"distinct ignores case", {L"a", L"A", L"b", L""}, &TAdvStringGrid::ColumnDistinct, 3},
        {"minimum", {L"4", L"x", L"-2.5", L"3"}, &TAdvStringGrid::ColumnMin, -2.5},
        {"maximum", {L"4", L"x", L"12", L"3"}, &TAdvStringGrid::ColumnMax, 12},
        {"count of the normal rows", {L"1", L"2", L"3"}, &TAdvStringGrid::ColumnCount, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TValueGrid g(c.values);
        EXPECT_DOUBLE_EQ((g.grid->*c.calc)(1, -1, -1), c.expected);
    }
}

TEST(Calc, RangesAndErrors)
{
    TValueGrid g({L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"});
    EXPECT_DOUBLE_EQ(g->ColumnCount(1, 3, 7), 5);
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 3, 7), 3 + 4 + 5 + 6 + 7);
    // Empty ranges give 0 instead of dividing by zero rows.
    EXPECT_DOUBLE_EQ(g->ColumnAvg(1, 5, 4), 0);
    EXPECT_DOUBLE_EQ(g->ColumnStdDev(1, 5, 4), 0);
    EXPECT_DOUBLE_EQ(g->RowAvg(1, 2, 1), 0);
    EXPECT_DOUBLE_EQ(g->RowSum(1, 2, 1), 0);

    TValueGrid words({L"x", L"2"});
    EXPECT_THROW(words->ColumnMin(1, -1, -1), EAdvGridError);
    EXPECT_THROW(words->ColumnStdDev(1, -1, -1), EAdvGridError);
    EXPECT_THROW(words->GetFloatCell(1, 1), EAdvGridError);
}

TEST(Calc, HiddenRowsCountWhenTheRangeReachesPastTheShownRows)
{
    TValueGrid g({L"1", L"2", L"3", L"4"});
    g->HideRow(2);
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, -1, -1), 1 + 3 + 4);
    EXPECT_DOUBLE_EQ(g->ColumnSum(1, 1, 4), 1 + 2 + 3 + 4);
}

TEST(Calc, RowsAndRectangles)
{
    TFilledGrid<> g(4, 4);
    const int values[4][4] = {{0, 0, 0, 0}, {0, 1, 2, 3}, {0, 4, 5, 6}, {0, 7, 8, 9}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            g->SetCells(c, r, IntToStr(values[r][c]));
    EXPECT_DOUBLE_EQ(g->RowSum(2, 1, 3), 15);
    EXPECT_DOUBLE_EQ(g->RowAvg(2, 1, 3), 5);
    EXPECT_DOUBLE_EQ(g->RowMin(3, 1, 3), 7);
    EXPECT_DOUBLE_EQ(g->RowMax(3, 1, 3), 9);
    const TGridRect rect{1, 1, 2, 2};
    const TGridRect reversed{2, 2, 1, 1};
    EXPECT_DOUBLE_EQ(g->RectSum(rect), 12);
    EXPECT_DOUBLE_EQ(g->RectSum(reversed), 12);
    EXPECT_DOUBLE_EQ(g->RectAvg(reversed), 3);
    EXPECT_DOUBLE_EQ(g->RectMin(reversed), 1);
    EXPECT_DOUBLE_EQ(g->RectMax(rect), 5);
    g->SetCells(2, 2, L"x");
    EXPECT_THROW(g->RectSum(rect), EAdvGridError);
}

TEST(Calc, AutoNumberColumnBothDirections)
{
    TValueGrid g({L"", L"", L"", L"", L""});
    g->AutoNumberCol(1);
    EXPECT_EQ(ColumnTexts(g.grid, 1), (std::vector<String>{L"r0c1", L"1", L"2", L"3", L"4", L"5"}));
    g->SetAutoNumberDirection(sdDescending);
    g->SetAutoNumberOffset(10);
    g->AutoNumberCol(1);
    EXPECT_EQ(ColumnTexts(g.grid, 1), (std::vector<String>{L"r0c1", L"15", L"14", L"13", L"12", L"11"}));
}

TEST(Calc, SwapsKeepWhatBelongsToTheRowOrColumn)
{
    TFilledGrid<> g(4, 4);
    g->SetRowHeights(1, 40);
    g->HideColumn(3);
    g->SwapRows(1, 2);
    EXPECT_EQ(g->GetCells(3, 1), L"r2c3") << "the hidden column's text moves with its row";
    EXPECT_EQ(g->GetCells(0, 2), L"r1c0");
    EXPECT_EQ(g->GetRowHeights(2), 40);

    g->SetColWidths(0, 30);
    g->GetSortSettings()->SetColumn(0);
    g->SwapColumns(0, 2);
    EXPECT_EQ(g->GetCells(0, 0), L"r0c2");
    EXPECT_EQ(g->GetCells(2, 0), L"r0c0");
    EXPECT_EQ(g->GetColWidths(2), 30);
    EXPECT_EQ(g->GetSortSettings()->GetColumn(), 2);
}
