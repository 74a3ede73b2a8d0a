// Grouping: header and summary rows around each run of a column's values,
// the column taken out and put back, group results in the summary rows,
// sub-groups and back, sorts that stay inside the groups, the release that
// selects a group, and a grid that no handler can touch while it is half
// grouped.
#include "DataGridSupport.h"
#include "SysUtils.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// One header row; column 1 a name, column 2 the group value, column 3 a
// number, column 4 a note.
struct TGroupGrid : TFilledGrid<> {
    struct Row {
        const wchar_t* name;
        const wchar_t* group;
        const wchar_t* number;
    };
    explicit TGroupGrid(const std::vector<Row>& rows) : TFilledGrid<>(5, static_cast<int>(rows.size()) + 1)
    {
        const wchar_t* captions[] = {L"", L"Name", L"Group", L"Number", L"Note"};
        for (int c = 0; c < 5; ++c)
            grid->SetCells(c, 0, captions[c]);
        for (size_t i = 0; i < rows.size(); ++i) {
            const int r = static_cast<int>(i) + 1;
            grid->SetCells(1, r, rows[i].name);
            grid->SetCells(2, r, rows[i].group);
            grid->SetCells(3, r, rows[i].number);
        }
        grid->SetColWidths(2, 77);
    }
};

// What each display row is: "H" a node, "S" a summary, "-" a plain row,
// with the text of the given column.
std::vector<String> Layout(TAdvStringGrid* g, int col)
{
    std::vector<String> rows;
    for (int r = g->GetFixedRows(); r < g->GetRowCount(); ++r) {
        const String kind = g->IsNode(r) ? L"H" : (g->IsSummary(r) ? L"S" : L"-");
        rows.push_back(kind + L" " + g->GetCells(col, r));
    }
    return rows;
}

std::vector<String> Texts(TAdvStringGrid* g, int col)
{
    std::vector<String> texts;
    for (int r = 0; r < g->GetRowCount(); ++r)
        texts.push_back(g->GetCells(col, r));
    return texts;
}

const std::vector<TGroupGrid::Row> ThreeRows = {{L"n1", L"A", L"1"}, {L"n2", L"A", L"2"}, {L"n3", L"B", L"4"}};

} // namespace

TEST(Grouping, RowsBecomeGroupsUnderHeadersWithOrWithoutSummaries)
{
    for (const bool summary : {false, true}) {
        SCOPED_TRACE(summary ? "summary" : "no summary");
        TGroupGrid g(ThreeRows);
        g->GetGrouping()->SetSummary(summary);
        g->Group(2);
        EXPECT_EQ(g->GetGroupColumn(), 2);
        EXPECT_EQ(g->GetColCount(), 4) << "the group column is out";
        EXPECT_EQ(g->GetCells(2, 0), L"Number");
        const std::vector<String> expected =
            summary ? std::vector<String>{L"H A", L"- n1", L"- n2", L"S ", L"H B", L"- n3", L"S "}
                    : std::vector<String>{L"H A", L"- n1", L"- n2", L"H B", L"- n3"};
        EXPECT_EQ(Layout(g.grid, 1), expected);
        const int second = summary ? 5 : 4;
        EXPECT_EQ(g->GetNodeSpan(1), 3);
        EXPECT_EQ(g->GetNodeSpan(second), 2);
        EXPECT_EQ(g->GetNodeLevel(1), 1);
        EXPECT_EQ(g->GetRow(), 1);
        EXPECT_FALSE(g->GetIsGrouping());
    }
}

TEST(Grouping, UnGroupGivesBackEveryRowAndTheColumnSorted)
{
    const std::vector<TGroupGrid::Row> rows = {
        {L"n1", L"B", L"1"}, {L"n2", L"A", L"2"}, {L"n3", L"B", L"3"}, {L"n4", L"", L"4"}, {L"n5", L"A", L"5"}};
    for (const bool summary : {false, true}) {
        SCOPED_TRACE(summary ? "summary" : "no summary");
        TGroupGrid g(rows);
        g->GetGrouping()->SetSummary(summary);
        g->GetGrouping()->SetHeaderColor(clYellow);
        g->GetGrouping()->SetSummaryTextColor(clRed);
        g->Group(2);
        // The empty value sorts first and makes a group of its own.
        EXPECT_EQ(g->GetCells(1, 1), L"");
        EXPECT_TRUE(g->IsNode(1));
        EXPECT_EQ(g->GetCellProperties(1, 1)->GetBrushColor(), clYellow);
        if (summary) {
            EXPECT_EQ(g->GetCellProperties(1, 3)->GetFontColor(), clRed);
        }
        g->GroupSum(2);
        g->UnGroup();
        EXPECT_EQ(g->GetGroupColumn(), -1);
        EXPECT_EQ(g->GetNumNodes(), 0);
        EXPECT_EQ(g->GetColCount(), 5);
        EXPECT_EQ(g->GetRowCount(), 6);
        EXPECT_EQ(g->GetColWidths(2), 77);
        EXPECT_EQ(Texts(g.grid, 2), (std::vector<String>{L"Group", L"", L"A", L"A", L"B", L"B"}));
        EXPECT_EQ(Texts(g.grid, 1), (std::vector<String>{L"Name", L"n4", L"n2", L"n5", L"n1", L"n3"}));
        EXPECT_EQ(Texts(g.grid, 3), (std::vector<String>{L"Number", L"4", L"2", L"5", L"1", L"3"}));
        for (int r = 1; r < g->GetRowCount(); ++r) {
            EXPECT_FALSE(g->IsSummary(r));
            EXPECT_EQ(g->GetCellBrushColor(1, r), clNone) << r;
        }
    }
}

TEST(Grouping, TheColumnWriterTheFirstColumnAndValuesThatLookLikeNoValue)
{
    TGroupGrid g(ThreeRows);
    g->SetGroupColumn(0);
    EXPECT_EQ(g->GetGroupColumn(), -1) << "0 changes nothing";
    EXPECT_EQ(g->GetColCount(), 5);

    // Grouped by column 1, the header values still end in column 1.
    g->SetGroupColumn(1);
    EXPECT_EQ(g->GetGroupColumn(), 1);
    EXPECT_EQ(Layout(g.grid, 1), (std::vector<String>{L"H n1", L"- A", L"H n2", L"- A", L"H n3", L"- B"}));
    // Grouping by another column ungroups first.
    g->SetGroupColumn(2);
    EXPECT_EQ(g->GetGroupColumn(), 2);
    EXPECT_EQ(g->GetCells(1, 0), L"Name");
    g->SetGroupColumn(-1);
    EXPECT_EQ(g->GetGroupColumn(), -1);
    EXPECT_EQ(Texts(g.grid, 1), (std::vector<String>{L"Name", L"n1", L"n2", L"n3"}));

    // A text that an old sentinel would have taken for "no value yet".
    TGroupGrid odd({{L"n1", L"\u044F\u044E", L"1"}, {L"n2", L"\u044F\u044E", L"2"}, {L"n3", L"b", L"3"}});
    odd->GetSortSettings()->SetAutoSortForGrouping(false);
    odd->Group(2);
    EXPECT_EQ(Layout(odd.grid, 1),
              (std::vector<String>{L"H \u044F\u044E", L"- n1", L"- n2", L"H b", L"- n3"}));

    // Column 0 holds the node buttons, and a column past the last is none.
    TGroupGrid none(ThreeRows);
    none->SetFixedCols(0);
    none->Group(0);
    none->Group(9);
    EXPECT_EQ(none->GetGroupColumn(), -1);
    EXPECT_EQ(none->GetNumNodes(), 0);
    EXPECT_EQ(none->GetColCount(), 5);
}

TEST(Grouping, MergedHeaderAndSummaryRowsSplitWhenUngrouped)
{
    TGroupGrid g(ThreeRows);
    TGrouping* grouping = g->GetGrouping();
    grouping->SetSummary(true);
    grouping->SetMergeHeader(true);
    grouping->SetMergeSummary(true);
    grouping->SetHeaderColor(clYellow);
    g->Group(2);
    EXPECT_TRUE(g->IsMergedCell(1, 1));
    EXPECT_EQ(g->CellSpan(1, 1).x, 2) << "columns 1 to 3";
    EXPECT_EQ(g->GetCellBrushColor(1, 1), clYellow);
    EXPECT_TRUE(g->IsMergedCell(1, 4)) << "the summary";
    EXPECT_FALSE(g->IsMergedCell(1, 2)) << "a child";
    g->UnGroup();
    for (int r = 0; r < g->GetRowCount(); ++r)
        EXPECT_FALSE(g->IsMergedCell(1, r)) << r;
    EXPECT_EQ(Texts(g.grid, 1), (std::vector<String>{L"Name", L"n1", L"n2", L"n3"}));
}

TEST(Grouping, ColumnPositionsAndMovesWorkAroundTheGroupColumn)
{
    TGroupGrid g(ThreeRows);
    g->SetColumnOrder();
    TGrouping* grouping = g->GetGrouping();
    grouping->SetMergeHeader(true);
    g->Group(2);
    EXPECT_EQ(g->ColumnPosition(3), 2) << "the number column now stands at 2";
    EXPECT_EQ(g->ColumnPosition(1), 1);
    EXPECT_EQ(g->ColumnAtPosition(2), 3);
    EXPECT_EQ(g->ColumnAtPosition(1), 1);

    // A moved column leaves the merged header rows whole.
    g->MoveColumn(3, 2);
    EXPECT_EQ(g->GetCells(2, 0), L"Note");
    for (const int header : {1, 4}) {
        EXPECT_TRUE(g->IsMergedCell(1, header)) << header;
        EXPECT_EQ(g->CellSpan(1, header).x, 2) << header;
    }
    EXPECT_EQ(g->GetCells(1, 1), L"A");
    EXPECT_FALSE(g->IsMergedCell(1, 2));
}

TEST(Grouping, ExpandOneLeavesOnlyTheFirstGroupOpen)
{
    TGroupGrid g({{L"n1", L"A", L"1"}, {L"n2", L"B", L"2"}, {L"n3", L"C", L"3"}});
    g->GetCellNode()->SetExpandOne(true);
    g->Group(2);
    EXPECT_EQ(Layout(g.grid, 1), (std::vector<String>{L"H A", L"- n1", L"H B", L"H C"}));
    g->UnGroup();
    EXPECT_TRUE(g->GetCellNode()->GetExpandOne());
    EXPECT_EQ(Texts(g.grid, 1), (std::vector<String>{L"Name", L"n1", L"n2", L"n3"}));
}

// --- group results ---------------------------------------------------------------------------

TEST(Grouping, GroupResultsGoIntoSummaryRowsOrHeaderRows)
{
    const std::vector<TGroupGrid::Row> rows = {
        {L"n1", L"A", L"1"}, {L"n2", L"A", L"4"}, {L"n3", L"A", L"4"}, {L"n4", L"B", L"10"}};
    struct Case {
        const char* name;
        void (TAdvStringGrid::*calc)(int);
        const wchar_t* a;
        const wchar_t* b;
    };
    const Case cases[] = {
        {"sum", &TAdvStringGrid::GroupSum, L"9.00", L"10.00"},
        {"avg", &TAdvStringGrid::GroupAvg, L"3.00", L"10.00"},
        {"min", &TAdvStringGrid::GroupMin, L"1.00", L"10.00"},
        {"max", &TAdvStringGrid::GroupMax, L"4.00", L"10.00"},
        {"count", &TAdvStringGrid::GroupCount, L"3", L"1"},
        {"distinct", &TAdvStringGrid::GroupDistinct, L"2.00", L"1.00"},
        {"stddev", &TAdvStringGrid::GroupStdDev, L"1.41", L"0.00"},
        {"custom", &TAdvStringGrid::GroupCustomCalc, L"32.00", L"12.00"},
    };
    for (const bool summary : {true, false})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (summary ? " summary" : " header"));
            TGroupGrid g(rows);
            g->GetGrouping()->SetSummary(summary);
            g->OnGroupCalc = [](TObject*, int col, int from, int to, double& res) { res = (to - from + 1) * 10 + col; };
            g->Group(2);
            (g.grid->*c.calc)(2);
            const int a = summary ? 5 : 1;
            const int b = summary ? 8 : 5;
            EXPECT_EQ(g->GetCells(2, a), c.a);
            EXPECT_EQ(g->GetCells(2, b), c.b);
            EXPECT_EQ(g->GetCells(2, 2), L"1") << "the children keep their values";
        }
}

TEST(Grouping, ContractedGroupsKeepTheirResultAndSpansStayInsideTheGrid)
{
    TGroupGrid g({{L"n1", L"A", L"1"}, {L"n2", L"A", L"2"}, {L"n3", L"B", L"4"}});
    g->GetGrouping()->SetSummary(true);
    g->Group(2);
    g->GroupCount(2);
    EXPECT_EQ(g->GetCells(2, 4), L"2");
    EXPECT_EQ(g->GetCells(2, 7), L"1");
    g->SetCells(2, 3, L"7");
    g->ContractNode(1);
    g->GroupSum(2);
    EXPECT_EQ(g->GetCells(2, 2), L"2") << "the contracted group's summary keeps its count";
    EXPECT_EQ(g->GetCells(2, 5), L"4.00");
    g->ExpandNode(1);

    // A span past the end, as a cell file can hold: nothing past the normal
    // rows is read or written, and the footer row keeps its text.
    g->SetFixedFooters(1);
    g->SetCells(2, 7, L"footer");
    g->SetNodeSpan(5, 50);
    g->SetNodeSpan(1, 50);
    g->GroupSum(2);
    EXPECT_EQ(g->GetCells(2, 7), L"footer");
    g->GetGrouping()->SetSummary(false);
    g->GroupCount(2);
    EXPECT_EQ(g->GetCells(2, 1), L"5") << "rows 2 to 6, the normal rows it reaches";
    EXPECT_EQ(g->GetCells(2, 7), L"footer");
}

TEST(Grouping, ColumnCalculationsSkipHeaderAndSummaryRowsWhileGrouped)
{
    TGroupGrid g(ThreeRows);
    g->GetGrouping()->SetSummary(true);
    g->Group(2);
    g->GroupSum(2);
    g->SetCells(2, 1, L"100");  // a number in a header row
    EXPECT_DOUBLE_EQ(g->ColumnSum(2, -1, -1), 7);
    g->UnGroup();
    g->SetCells(3, 1, L"100");
    EXPECT_DOUBLE_EQ(g->ColumnSum(3, -1, -1), 106);
}

TEST(Grouping, TheFooterTakesTheCalculationOfTheWrappers)
{
    TGroupGrid g(ThreeRows);
    g->Group(2);
    g->GetFloatingFooter()->SetVisible(true);
    const int last = g->GetRowCount() - 1;
    g->GroupMax(2);
    EXPECT_EQ(g->GetCellProperties(2, last)->GetCalcType(), acMAX);
    g->GroupCount(2);
    EXPECT_EQ(g->GetCellProperties(2, last)->GetCalcType(), acCOUNT);
    g->GroupDistinct(2);
    EXPECT_EQ(g->GetCellProperties(2, last)->GetCalcType(), acCOUNT) << "no footer entry";
}

// --- sub-groups ----------------------------------------------------------------------------

TEST(Grouping, SubGroupsInsideTheGroupsAndBack)
{
    const std::vector<TGroupGrid::Row> rows = {{L"n1", L"A", L"x"}, {L"n2", L"A", L"x"}, {L"n3", L"A", L"y"},
                                               {L"n4", L"B", L"z"}};
    for (const bool summary : {false, true}) {
        SCOPED_TRACE(summary ? "summary" : "no summary");
        TGroupGrid g(rows);
        g->SetCells(4, 0, L"Note");
        g->GetGrouping()->SetSummary(summary);
        g->Group(2);
        // Grouped, column 2 holds the numbers' column ("x", "y", "z").
        g->SubGroup(2);
        const std::vector<String> expected =
            summary ? std::vector<String>{L"H A", L"H ", L"- n1", L"- n2", L"S ", L"H ", L"- n3", L"S ", L"S ",
                                          L"H B", L"H ", L"- n4", L"S ", L"S "}
                    : std::vector<String>{L"H A", L"H ", L"- n1", L"- n2", L"H ", L"- n3", L"H B", L"H ", L"- n4"};
        EXPECT_EQ(Layout(g.grid, 1), expected);
        EXPECT_EQ(g->GetCells(3, 2), L"x") << "the sub-group value beside its column";
        EXPECT_EQ(g->GetCells(2, 3), L"") << "the column emptied";
        EXPECT_EQ(g->GetNodeLevel(2), 2);
        EXPECT_EQ(g->GetNodeSpan(1), summary ? 8 : 6);
        EXPECT_EQ(g->GetNodeSpan(2), 3);
        EXPECT_EQ(g->GetGroupColumn(), 2) << "still grouped by the first column";
        g->SubGroup(2);
        EXPECT_EQ(Layout(g.grid, 1), expected) << "one level of sub-groups";

        g->SubUnGroup(2);
        const std::vector<String> back = summary
                                             ? std::vector<String>{L"H A", L"- n1", L"- n2", L"- n3", L"S ", L"H B",
                                                                   L"- n4", L"S "}
                                             : std::vector<String>{L"H A", L"- n1", L"- n2", L"- n3", L"H B", L"- n4"};
        EXPECT_EQ(Layout(g.grid, 1), back);
        EXPECT_EQ(g->GetNodeSpan(1), 4);
        const std::vector<String> values =
            summary ? std::vector<String>{L"H ", L"- x", L"- x", L"- y", L"S ", L"H ", L"- z", L"S "}
                    : std::vector<String>{L"H ", L"- x", L"- x", L"- y", L"H ", L"- z"};
        EXPECT_EQ(Layout(g.grid, 2), values);

        // Back to the plain grid through UnGroup, also from a sub-grouped one.
        g->SubGroup(2);
        g->UnGroup();
        EXPECT_EQ(g->GetNumNodes(), 0);
        EXPECT_EQ(Texts(g.grid, 1), (std::vector<String>{L"Name", L"n1", L"n2", L"n3", L"n4"}));
        EXPECT_EQ(Texts(g.grid, 2), (std::vector<String>{L"Group", L"A", L"A", L"A", L"B"}));
        EXPECT_EQ(Texts(g.grid, 3), (std::vector<String>{L"Number", L"x", L"x", L"y", L"z"}));
        EXPECT_EQ(Texts(g.grid, 4), (std::vector<String>{L"Note", L"r1c4", L"r2c4", L"r3c4", L"r4c4"}));
    }
}

TEST(Grouping, SubUnGroupOfAColumnNotSubGroupedKeepsItsValues)
{
    TGroupGrid g(ThreeRows);
    g->Group(2);
    const std::vector<String> before = Texts(g.grid, 2);
    g->SubUnGroup(2);
    EXPECT_EQ(Texts(g.grid, 2), before);
}

// --- sorting inside the groups --------------------------------------------------------------

TEST(Grouping, QSortGroupSortsInsideTheDeepestExpandedGroupsOnly)
{
    TFilledGrid<> g(3, 12);
    const wchar_t* values[] = {L"", L"top", L"d", L"c", L"sub", L"b", L"a", L"sub2", L"z", L"y", L"last", L"k"};
    for (int r = 0; r < 12; ++r)
        g->SetCells(1, r, values[r]);
    g->AddNode(1, 10);  // level 1 over rows 1 .. 10
    g->AddNode(4, 3);   // level 2: "b", "a"
    g->AddNode(7, 3);   // level 2: "z", "y", contracted below
    g->ContractNode(7);
    g->GetSortSettings()->SetColumn(1);
    g->QSortGroup();
    g->ExpandNode(7);
    EXPECT_EQ(Texts(g.grid, 1), (std::vector<String>{L"", L"top", L"d", L"c", L"sub", L"a", L"b", L"sub2", L"z",
                                                     L"y", L"last", L"k"}));
    EXPECT_EQ(g->GetCells(2, 5), CellName(2, 6)) << "whole rows move";

    // A grouped grid sorts its groups apart: nothing crosses a header.
    TGroupGrid grouped({{L"n3", L"A", L"3"}, {L"n1", L"A", L"1"}, {L"n2", L"B", L"2"}, {L"n0", L"B", L"0"}});
    grouped->GetSortSettings()->SetAutoSortForGrouping(false);
    grouped->GetGrouping()->SetSummary(true);
    grouped->Group(2);
    grouped->GetSortSettings()->SetColumn(1);
    grouped->GetSortSettings()->SetDirection(sdAscending);
    grouped->QSortGroup();
    EXPECT_EQ(Layout(grouped.grid, 1),
              (std::vector<String>{L"H A", L"- n1", L"- n3", L"S ", L"H B", L"- n0", L"- n2", L"S "}));
    grouped->GetSortIndexes()->AddIndex(2, false);
    grouped->QSortGroupIndexed();
    EXPECT_EQ(Layout(grouped.grid, 1),
              (std::vector<String>{L"H A", L"- n3", L"- n1", L"S ", L"H B", L"- n2", L"- n0", L"S "}));
}

// --- the mouse -----------------------------------------------------------------------------

namespace {

struct TShownGroups : TShownGrid<> {
    TShownGroups() : TShownGrid<>(4, 6)
    {
        const wchar_t* groups[] = {L"Group", L"A", L"A", L"A", L"B", L"B"};
        const wchar_t* names[] = {L"Name", L"c", L"a", L"b", L"e", L"d"};
        for (int r = 0; r < 6; ++r) {
            grid->SetCells(2, r, groups[r]);
            grid->SetCells(1, r, names[r]);
        }
        grid->GetSortSettings()->SetAutoSortForGrouping(false);
        grid->GetGrouping()->SetAutoSelectGroup(true);
        grid->SetOptions(grid->GetOptions() << goRangeSelect);
        grid->Group(2);  // header A, c, a, b, header B, e, d
        Application->ProcessMessages();
    }
    void Click(int col, int row) const
    {
        const TRect r = grid->CellRect(col, row);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(grid->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(grid->GetHandle(), WM_LBUTTONUP, 0, at);
        Application->ProcessMessages();
    }
};

} // namespace

TEST(Grouping, AReleaseOnAGroupHeaderSelectsTheGroup)
{
    TShownGroups g;
    g.Click(1, 5);
    TGridRect sel = g->GetSelection();
    EXPECT_EQ(sel.Top, 5);
    EXPECT_EQ(sel.Bottom, 7);
    EXPECT_EQ(sel.Left, 1);
    EXPECT_EQ(sel.Right, g->GetColCount() - 1);

    g.Click(1, 2);
    sel = g->GetSelection();
    EXPECT_EQ(sel.Top, 2) << "a child selects itself";
    EXPECT_EQ(sel.Bottom, 2);

    // Contracted, the group is not selected; below a contracted group the
    // display rows are not the real ones.
    g->ContractNode(1);
    g.Click(1, 1);
    EXPECT_EQ(g->GetSelection().Bottom, 1);

    g->GetMouseActions()->SetDisjunctRowSelect(true);
    g.Click(1, 2);  // header B, shown as row 2
    EXPECT_TRUE(g->GetRowSelect(3));
    EXPECT_TRUE(g->GetRowSelect(4));
    EXPECT_FALSE(g->GetRowSelect(1));
}

TEST(Grouping, AHeaderClickWithNodesSortsInsideTheGroups)
{
    TShownGroups g;
    g->GetSortSettings()->SetShow(true);
    std::vector<int> sorted;
    g->OnClickSort = [&](TObject*, int col) { sorted.push_back(col); };
    g.Click(1, 0);
    EXPECT_EQ(Layout(g.grid, 1), (std::vector<String>{L"H A", L"- a", L"- b", L"- c", L"H B", L"- d", L"- e"}));
    g.Click(1, 0);
    EXPECT_EQ(Layout(g.grid, 1), (std::vector<String>{L"H A", L"- c", L"- b", L"- a", L"H B", L"- e", L"- d"}));
    EXPECT_EQ(sorted, (std::vector<int>{1, 1}));
}

// --- handlers run while grouping -----------------------------------------------------------

namespace {

TAdvStringGrid* PaintTarget = nullptr;
int Paints = 0;
bool PostedSeen = false;
constexpr UINT WM_TRY_UNGROUP = WM_APP + 35;

LRESULT CALLBACK MeddlingWindow(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        ValidateRect(hwnd, nullptr);
        if (++Paints > 1 || !PaintTarget)
            return 0;
        // Everything a handler might start on the grid it finds half grouped.
        PaintTarget->GetSortSettings()->SetColumn(1);
        PaintTarget->QSort();
        PaintTarget->UnGroup();
        PaintTarget->Group(1);
        PaintTarget->SetFilterActive(true);
        PaintTarget->NarrowDown(L"x", -1);
        return 0;
    }
    if (msg == WM_TRY_UNGROUP) {
        PostedSeen = true;
        PaintTarget->UnGroup();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

TEST(Grouping, HandlersTheGroupingRunsFindTheGridBusy)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = MeddlingWindow;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavelinGroupingMeddler";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(wc.lpszClassName, L"", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_TRUE(hwnd);
    Application->ProcessMessages();

    TGroupGrid g({{L"n2", L"B", L"2"}, {L"n1", L"A", L"1"}, {L"n3", L"B", L"3"}});
    PaintTarget = g.grid;
    Paints = 0;
    PostedSeen = false;
    InvalidateRect(hwnd, nullptr, TRUE);
    PostMessageW(hwnd, WM_TRY_UNGROUP, 0, 0);
    g->Group(2);
    EXPECT_GE(Paints, 1) << "the grouping let paint messages run";
    EXPECT_FALSE(PostedSeen) << "posted messages wait";
    EXPECT_EQ(g->GetGroupColumn(), 2);
    EXPECT_FALSE(g->GetFilterActive());
    EXPECT_EQ(Layout(g.grid, 1), (std::vector<String>{L"H A", L"- n1", L"H B", L"- n2", L"- n3"}));

    // Once the grouping is done, the posted message runs and ungroups.
    Application->ProcessMessages();
    EXPECT_TRUE(PostedSeen);
    EXPECT_EQ(g->GetGroupColumn(), -1);
    EXPECT_EQ(Texts(g.grid, 1), (std::vector<String>{L"Name", L"n1", L"n2", L"n3"}));
    PaintTarget = nullptr;
    DestroyWindow(hwnd);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
}
