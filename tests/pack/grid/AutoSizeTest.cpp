// Sizing rows and columns to their texts: taller and wider texts give larger
// sizes, the limits and the grow-only switch hold, padding is added last.
#include "DataGridSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// A grid whose cells are empty but for the texts a test writes.
struct TEmptyGrid : TFilledGrid<> {
    TEmptyGrid(int cols, int rows) : TFilledGrid<>(cols, rows)
    {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                grid->SetCells(c, r, L"");
    }
};

int RowHeightFor(const String& text, int row = 1)
{
    TEmptyGrid g(3, 3);
    g->SetCells(1, row, text);
    g->AutoSizeRow(row, 0);
    return g->GetRowHeights(row);
}

} // namespace

TEST(AutoSize, RowFollowsTheNumberOfLines)
{
    const int one = RowHeightFor(L"Title");
    const int two = RowHeightFor(L"Title\r\nnext");
    const int three = RowHeightFor(L"Title\r\nnext\r\nlast");
    EXPECT_GT(one, 6);
    EXPECT_GT(two, one);
    EXPECT_EQ(three - two, two - one) << "one more line adds one line height";
    // Words wrap at the column's width, as lines do.
    EXPECT_GT(RowHeightFor(L"Title\r\nsecond line that wraps"), two);
}

TEST(AutoSize, RowMeasuresWithTheCellsFont)
{
    TEmptyGrid g(3, 3);
    g->SetCells(1, 1, L"Text");
    g->AutoSizeRow(1, 0);
    const int plain = g->GetRowHeights(1);

    g->GetCellProperties(1, 1)->SetFontSize(24);
    g->AutoSizeRow(1, 0);
    EXPECT_GT(g->GetRowHeights(1), plain);

    g->GetCellProperties(1, 1)->SetFontSize(0);
    g->SetZoomFactor(10);
    g->AutoSizeRow(1, 0);
    EXPECT_GT(g->GetRowHeights(1), plain);
}

TEST(AutoSize, HeaderRowUsesTheFixedFont)
{
    TEmptyGrid g(3, 3);
    g->SetCells(1, 0, L"Title");
    g->SetCells(1, 1, L"Title");
    g->GetFixedFont()->SetSize(20);
    g->AutoSizeRow(0, 0);
    g->AutoSizeRow(1, 0);
    EXPECT_GT(g->GetRowHeights(0), g->GetRowHeights(1));
}

TEST(AutoSize, IgnoredColumnsAndCoveredCellsDoNotCount)
{
    TEmptyGrid g(4, 4);
    g->SetCells(1, 1, L"one");
    g->AutoSizeRow(1, 0);
    const int single = g->GetRowHeights(1);

    g->SetCells(2, 1, L"a\r\nb\r\nc");
    g->GetIgnoreColumns()->Add(2);
    g->AutoSizeRow(1, 0);
    EXPECT_EQ(g->GetRowHeights(1), single);

    // A block's base text spreads over its rows; the covered row needs nothing of it.
    g->GetIgnoreColumns()->Clear();
    g->SetCells(2, 1, L"");
    g->SetCells(3, 1, L"a\r\nb\r\nc");
    g->MergeCells(3, 1, 1, 2);
    g->SetCells(1, 2, L"one");
    g->AutoSizeRow(2, 0);
    EXPECT_EQ(g->GetRowHeights(2), single);
}

TEST(AutoSize, RowLimitsGrowOnlyAndPadding)
{
    const int natural = RowHeightFor(L"a\r\nb");
    struct Case {
        const char* name;
        int minHeight, maxHeight, startHeight;
        bool growOnly;
        int padding;
        int expected;
    };
    const Case cases[] = {
        {"as measured", 0, 0, 5, false, 0, natural},
        {"capped by the maximum", 0, natural - 3, 5, false, 0, natural - 3},
        {"raised to the minimum", natural + 7, 0, 5, false, 0, natural + 7},
        {"equal limits leave the measure", 10, 10, 5, false, 0, natural},
        {"grow only keeps a taller row", 0, 0, natural + 20, true, 0, natural + 20},
        {"grow only grows a lower row", 0, 0, 5, true, 0, natural},
        {"shrinks without grow only", 0, 0, natural + 20, false, 0, natural},
        {"padding added", 0, 0, 5, false, 6, natural + 6},
        {"padding within the maximum", 0, natural + 2, 5, false, 6, natural + 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TEmptyGrid g(3, 3);
        g->SetCells(1, 1, L"a\r\nb");
        g->SetMinRowHeight(c.minHeight);
        g->SetMaxRowHeight(c.maxHeight);
        g->SetRowHeights(1, c.startHeight);
        g->SetSizeGrowOnly(c.growOnly);
        g->AutoSizeRow(1, c.padding);
        EXPECT_EQ(g->GetRowHeights(1), c.expected);
    }
}

TEST(AutoSize, ColumnFollowsItsWidestTextWithinLimits)
{
    TEmptyGrid g(3, 4);
    g->SetCells(1, 1, L"short");
    g->AutoSizeCol(1, 0);
    const int shortWidth = g->GetColWidths(1);
    g->SetCells(1, 2, L"a much longer text in the column");
    g->AutoSizeCol(1, 0);
    const int longWidth = g->GetColWidths(1);
    EXPECT_GT(longWidth, shortWidth);

    g->SetMaxColWidth(shortWidth);
    g->AutoSizeCol(1, 0);
    EXPECT_EQ(g->GetColWidths(1), shortWidth);

    g->SetMaxColWidth(0);
    g->SetMinColWidth(longWidth + 30);
    g->AutoSizeCol(1, 0);
    EXPECT_EQ(g->GetColWidths(1), longWidth + 30);

    g->SetMinColWidth(0);
    g->SetColWidths(1, longWidth + 50);
    g->AutoGrowCol(1, 0);
    EXPECT_EQ(g->GetColWidths(1), longWidth + 50) << "growing keeps the wider column";
    EXPECT_FALSE(g->GetSizeGrowOnly());
    g->AutoSizeCol(1, 4);
    EXPECT_EQ(g->GetColWidths(1), longWidth + 4);
}

TEST(AutoSize, ColumnsOfAHiddenLayoutMeasureTheirOwnTexts)
{
    TEmptyGrid g(4, 3);
    g->SetCells(2, 1, L"a much longer text in the column");
    g->HideColumn(1);
    g->AutoSizeColumns(true, 0);
    // Real column 2 shows at display position 1.
    EXPECT_GT(g->GetColWidths(1), g->GetColWidths(0));
    EXPECT_GT(g->GetColWidths(1), g->GetColWidths(2));
}

TEST(AutoSize, ColumnRowsSettingAndTheSizeEvent)
{
    TEmptyGrid g(3, 4);
    g->SetFixedRows(1);
    g->SetCells(1, 0, L"a much longer header text");
    g->SetCells(1, 2, L"short");
    g->GetColumnSize()->SetRows(arNormal);
    g->AutoSizeCol(1, 0);
    const int normal = g->GetColWidths(1);
    g->GetColumnSize()->SetRows(arFixed);
    g->AutoSizeCol(1, 0);
    EXPECT_GT(g->GetColWidths(1), normal) << "sized to the header alone";

    g->OnUpdateColumnSize = [](TObject*, int, int& width) { width += 7; };
    g->GetColumnSize()->SetRows(arNormal);
    g->AutoSizeCol(1, 0);
    EXPECT_EQ(g->GetColWidths(1), normal + 7);
}
