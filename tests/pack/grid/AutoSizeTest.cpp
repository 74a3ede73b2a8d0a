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

TEST(AutoSize, ColumnMakesRoomForAShownDropDownButton)
{
    TEmptyGrid g(3, 4);
    g->SetCells(1, 2, L"choice");
    g->AutoSizeCol(1, 0);
    const int plain = g->GetColWidths(1);
    g->OnGetEditorType = [](TObject*, int, int row, TEditorType& editor) {
        if (row == 2)
            editor = edComboList;
    };
    g->AutoSizeCol(1, 0);
    EXPECT_EQ(g->GetColWidths(1), plain) << "the button shows only when asked to";
    g->GetControlLook()->SetDropDownAlwaysVisible(true);
    g->AutoSizeCol(1, 0);
    EXPECT_EQ(g->GetColWidths(1), plain + 16);
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

TEST(AutoSize, RowsByLineCountOrByMeasure)
{
    // Without word wrap a row is as high as its most lines, counted only
    // for multi-line cells; with it, as its measured texts.
    TEmptyGrid g(3, 4);
    g->SetWordWrap(false);
    g->SetCells(1, 1, L"one");
    g->SetCells(2, 2, L"a\r\nb\r\nc");
    g->AutoSizeRows(false, 0);
    const int one = g->GetRowHeights(1);
    EXPECT_EQ(g->GetRowHeights(2), one) << "lines count only for multi-line cells";
    g->SetMultilineCells(true);
    g->AutoSizeRows(false, 0);
    EXPECT_EQ(g->GetRowHeights(2) - g->GetXYOffset().y, 3 * (g->GetRowHeights(1) - g->GetXYOffset().y));
    g->SetRowHeights(0, 50);
    g->AutoSizeRows(false, 0);
    EXPECT_EQ(g->GetRowHeights(0), 50) << "fixed rows stay";
    g->AutoSizeRows(true, 5);
    EXPECT_EQ(g->GetRowHeights(1), one + 5);
    EXPECT_LT(g->GetRowHeights(0), 50);

    g->SetWordWrap(true);
    g->AutoSizeRows(false, 0);
    EXPECT_EQ(g->GetRowHeights(2), RowHeightFor(L"a\r\nb\r\nc", 2));
}

TEST(AutoSize, RowHeightForLines)
{
    TEmptyGrid g(3, 3);
    g->SetRowHeightForLines(1, 1, 0);
    const int one = g->GetRowHeights(1);
    g->SetRowHeightForLines(1, 3, 0);
    const int three = g->GetRowHeights(1);
    const int line = (three - one) / 2;
    EXPECT_GT(line, 8);
    EXPECT_EQ(one, line + g->GetXYOffset().y);
    g->SetRowHeightForLines(1, 1, 7);
    EXPECT_EQ(g->GetRowHeights(1), one + 7);
    // The limits apply before the text offset is added.
    g->SetMaxRowHeight(line);
    g->SetRowHeightForLines(1, 3, 0);
    EXPECT_EQ(g->GetRowHeights(1), line + g->GetXYOffset().y);
    // The row's font decides the line height.
    g->SetMaxRowHeight(0);
    g->GetCellProperties(g->GetFixedCols(), 1)->SetFontSize(24);
    g->SetRowHeightForLines(1, 1, 0);
    EXPECT_GT(g->GetRowHeights(1), one);
}

TEST(AutoSize, CellsTakeTheirColumnsWidestAndTheirRowsTallestText)
{
    TEmptyGrid g(4, 4);
    g->SetFixedRows(1);
    g->SetFixedCols(1);
    g->SetCells(1, 1, L"a\r\nb\r\nc");
    g->SetCells(2, 1, L"x");
    g->SetCells(1, 2, L"y");
    g->SetCells(2, 2, L"a much longer text\r\nb");
    g->AutoSizeCells(false, 0, 0);
    const int tall = g->GetRowHeights(1);
    EXPECT_GT(tall, g->GetRowHeights(2)) << "three lines against two";
    EXPECT_GT(g->GetRowHeights(2), g->GetRowHeights(3)) << "the later column's taller cell counts";
    EXPECT_GT(g->GetColWidths(2), g->GetColWidths(1));
    EXPECT_EQ(g->GetColWidths(0), g->GetDefaultColWidth()) << "fixed cells stay";

    // Padding adds exactly once to every size.
    const int width2 = g->GetColWidths(2);
    g->AutoSizeCells(false, 10, 4);
    EXPECT_EQ(g->GetColWidths(2), width2 + 10);
    EXPECT_EQ(g->GetRowHeights(1), tall + 4);

    // Grow only keeps larger sizes; merged cells do not count across their span.
    g->SetSizeGrowOnly(true);
    g->AutoSizeCells(false, 0, 0);
    EXPECT_EQ(g->GetColWidths(2), width2 + 10);
    g->SetSizeGrowOnly(false);
    g->MergeCells(1, 3, 2, 1);
    g->SetCells(1, 3, L"a text far wider than any other in the grid");
    g->AutoSizeCells(false, 0, 0);
    EXPECT_EQ(g->GetColWidths(2), width2);
}

TEST(AutoSize, FittedColumnsFillTheWidthExactly)
{
    struct Case {
        const char* name;
        int rows;
        bool fixedToo;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {"narrow columns grow", 3, true, {40, 60, 80, 20}},
        {"wide columns shrink", 3, true, {300, 200, 250, 90}},
        {"normal columns only", 3, false, {50, 60, 70, 80}},
        {"room for the shown scroll bar", 60, true, {40, 60, 80, 20}},
        {"columns of no width share alike", 3, false, {50, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TShownGrid<> g(4, c.rows);
        g->SetFixedCols(1);
        for (int col = 0; col < 4; ++col)
            g->SetColWidths(col, c.widths[static_cast<size_t>(col)]);
        g->AutoFitColumns(c.fixedToo);
        int sum = 0;
        for (int col = 0; col < 4; ++col)
            sum += g->GetColWidths(col);
        const int bar = c.rows > 20 ? GetSystemMetrics(SM_CXVSCROLL) : 0;
        EXPECT_EQ(sum, g->GetWidth() - 4 - bar);
        EXPECT_EQ(g->GetClientWidth(), sum) << "the columns fill the client area";
        if (!c.fixedToo)
            EXPECT_EQ(g->GetColWidths(0), 50) << "the fixed column keeps its width";
        if (c.widths[1] > 0)
            EXPECT_NEAR(double(g->GetColWidths(2)) / g->GetColWidths(1), double(c.widths[2]) / c.widths[1], 0.05);
        else  // the rounding rest, less than one pixel per column, goes to one of them
            EXPECT_NEAR(g->GetColWidths(1), g->GetColWidths(3), 3);

        // Fitting again changes nothing.
        const std::vector<int> fitted{g->GetColWidths(0), g->GetColWidths(1), g->GetColWidths(2), g->GetColWidths(3)};
        g->AutoFitColumns(c.fixedToo);
        EXPECT_EQ((std::vector<int>{g->GetColWidths(0), g->GetColWidths(1), g->GetColWidths(2), g->GetColWidths(3)}),
                  fitted);
    }
}

TEST(AutoSize, ControlSizedToItsCells)
{
    TShownGrid<> g(3, 4);
    g->SetColWidths(1, 90);
    g->SetRowHeights(2, 40);
    g->SizeToCells();
    EXPECT_EQ(g->GetClientWidth(), 2 * g->GetDefaultColWidth() + 90);
    EXPECT_EQ(g->GetClientHeight(), 3 * g->GetDefaultRowHeight() + 40);
    EXPECT_EQ(g->GetScrollBars(), ssBoth) << "the scroll bar setting comes back";
}
