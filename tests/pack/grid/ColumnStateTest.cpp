// The column-state string: what a layout writes, that a written layout comes
// back in another grid, and that a string a user broke changes nothing.
#include "DataGridSupport.h"
#include "SysUtils.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// What a user sees of the columns: header texts and widths in display order.
struct TLayout {
    int colCount = 0;
    std::vector<String> headers;
    std::vector<int> widths;
    String state;
    bool operator==(const TLayout&) const = default;
};

TLayout LayoutOf(TAdvStringGrid* g)
{
    TLayout layout;
    layout.colCount = g->GetColCount();
    for (int d = 0; d < g->GetColCount(); ++d) {
        layout.headers.push_back(g->GetCells(g->RealColIndex(d), 0));
        layout.widths.push_back(g->GetColWidths(d));
    }
    layout.state = g->ColumnStatesToString();
    return layout;
}

// Six columns 10 .. 60 wide; column 4 moved to position 1, then the real
// column holding the first column's data hidden.
void ArrangeSixColumns(TAdvStringGrid* g)
{
    for (int c = 0; c < 6; ++c)
        g->SetColWidths(c, 10 * (c + 1));
    g->MoveColumn(4, 1);
    g->HideColumn(2);
}

const wchar_t* const SixColumnState = L"6#10,50,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1";

} // namespace

TEST(ColumnState, NeverReorderedGridWritesTheIdentityOrder)
{
    TFilledGrid<> g(4, 3);
    g->SetColWidths(1, 80);
    g->SetColWidths(2, 120);
    EXPECT_EQ(g->ColumnStatesToString(), L"4#64,80,120,64#0,1,2,3#1,1,1,1");
}

TEST(ColumnState, MovedAndHiddenColumnsRoundTrip)
{
    TFilledGrid<> source(6, 3);
    ArrangeSixColumns(source.grid);
    ASSERT_EQ(source->ColumnStatesToString(), SixColumnState);

    TFilledGrid<> target(6, 3);
    target->StringToColumnStates(SixColumnState);
    EXPECT_EQ(LayoutOf(target.grid), LayoutOf(source.grid));
    EXPECT_EQ(LayoutOf(target.grid).headers,
              (std::vector<String>{L"r0c0", L"r0c4", L"r0c2", L"r0c3", L"r0c5"}));
    EXPECT_TRUE(target->IsHiddenColumn(2));
    EXPECT_EQ(target->GetColumnOrder()->GetStrValue(), L"0,4,1,2,3,5");
}

TEST(ColumnState, InventoryDefaultWidthsSurviveARoundTrip)
{
    TFilledGrid<> window(28, 2);
    window->SetDefaultColWidth(120);
    const std::pair<int, int> widths[] = {{0, 160}, {7, 140}, {15, 130}, {19, 125}, {24, 130}};
    for (auto [col, width] : widths)
        window->SetColWidths(col, width);
    const String state = window->ColumnStatesToString();

    TFilledGrid<> restored(28, 2);
    restored->StringToColumnStates(state);
    for (int c = 0; c < 28; ++c)
        EXPECT_EQ(restored->GetColWidths(c), window->GetColWidths(c)) << "column " << c;
    EXPECT_EQ(restored->ColumnStatesToString(), state);
}

TEST(ColumnState, StoredCountReplacesTheGridsCount)
{
    TFilledGrid<> g(6, 3);
    g->StringToColumnStates(L"3#40,50,60#2,0,1#1,1,1");
    EXPECT_EQ(g->GetColCount(), 3);
    EXPECT_EQ(LayoutOf(g.grid).headers, (std::vector<String>{L"r0c2", L"r0c0", L"r0c1"}));
    EXPECT_EQ(LayoutOf(g.grid).widths, (std::vector<int>{40, 50, 60}));
}

TEST(ColumnState, EmptyOrderFieldMovesNothingAndKeepsNoOrder)
{
    TFilledGrid<> g(3, 2);
    g->StringToColumnStates(L"3#40,50,60##1,0,1");
    EXPECT_EQ(g->GetColumnOrder()->Count(), 0);
    EXPECT_EQ(LayoutOf(g.grid).headers, (std::vector<String>{L"r0c0", L"r0c2"}));
    EXPECT_EQ(LayoutOf(g.grid).widths, (std::vector<int>{40, 50}));
}

TEST(ColumnState, StringWithoutSeparatorIsIgnored)
{
    TFilledGrid<> g(6, 3);
    ArrangeSixColumns(g.grid);
    const TLayout before = LayoutOf(g.grid);
    g->StringToColumnStates(L"6,10,50");
    g->StringToColumnStates(L"");
    EXPECT_EQ(LayoutOf(g.grid), before);
}

TEST(ColumnState, MalformedStringLeavesTheLayoutUntouched)
{
    struct Case {
        const char* name;
        const wchar_t* state;
    };
    const Case cases[] = {
        {"count not a number", L"six#10,50,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1"},
        {"count zero", L"0###"},
        {"count negative", L"-2#1,2#0,1#1,1"},
        {"width not a number", L"6#10,5x,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1"},
        {"width with a space", L"6#10, 50,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1"},
        {"empty width item", L"6#10,,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1"},
        {"too few widths", L"6#10,50,30#0,4,1,2,3,5#1,1,0,1,1,1"},
        {"too few order entries", L"6#10,50,30,40,60,64#0,4,1#1,1,0,1,1,1"},
        {"order repeats a column", L"6#10,50,30,40,60,64#0,4,4,2,3,5#1,1,0,1,1,1"},
        {"order names a missing column", L"6#10,50,30,40,60,64#0,4,1,2,3,9#1,1,0,1,1,1"},
        {"order with -1", L"6#10,50,30,40,60,64#0,4,1,2,3,-1#1,1,0,1,1,1"},
        {"too few flags", L"6#10,50,30,40,60,64#0,4,1,2,3,5#1,1"},
        {"flag other than 0 or 1", L"6#10,50,30,40,60,64#0,4,1,2,3,5#1,1,2,1,1,1"},
        {"missing flags field", L"6#10,50,30,40,60,64#0,4,1,2,3,5"},
        {"extra field", L"6#10,50,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1#7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFilledGrid<> g(6, 3);
        ArrangeSixColumns(g.grid);
        const TLayout before = LayoutOf(g.grid);
        EXPECT_THROW(g->StringToColumnStates(c.state), Exception);
        EXPECT_EQ(LayoutOf(g.grid), before);
    }
}
