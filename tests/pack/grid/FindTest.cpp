// Finding text in cells: the option flags over a table of cells, both visiting
// orders and their continuation, hidden rows and columns, replacing, the row
// search by conditions and the prefix search of incremental typing.
#include "DataGridSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// A 5 x 6 grid with one fixed row and column; the texts name what a flag tells apart.
//        c1          c2            c3       c4
//  r1    "one"       "xABCx"       ""       "plain"
//  r2    "abc"       "<b>ab</b>c"  "Abc"    "two words"
//  r3..5 "z"
struct TFindGrid : TFilledGrid<> {
    TFindGrid() : TFilledGrid<>(5, 6)
    {
        const wchar_t* texts[2][4] = {{L"one", L"xABCx", L"", L"plain"}, {L"abc", L"<b>ab</b>c", L"Abc", L"two words"}};
        for (int r = 1; r <= 5; ++r)
            for (int c = 1; c <= 4; ++c)
                grid->SetCells(c, r, r <= 2 ? texts[r - 1][c - 1] : L"z");
    }
};

TPoint P(int x, int y)
{
    return TPoint(x, y);
}

TEST(Find, FlagsChooseTheFirstMatchingCell)
{
    struct Case {
        const wchar_t* text;
        TFindParams params;
        TPoint expected;
    };
    const Case cases[] = {
        {L"abc", {}, P(1, 2)},                                      // contains, any case, column by column
        {L"abc", {fnDirectionLeftRight}, P(2, 1)},                  // row by row: row 1 first
        {L"abc", {fnMatchStart}, P(1, 2)},                          // xABCx does not start with it
        {L"abc", {fnMatchFull}, P(1, 2)},                           // only a whole-cell match
        {L"abc", {fnMatchFull, fnDirectionLeftRight}, P(1, 2)},
        {L"Abc", {fnMatchCase}, P(3, 2)},                           // case counts
        {L"ABC", {fnMatchCase}, P(2, 1)},
        {L"b>c", {}, P(2, 2)},                                      // tags are text ...
        {L"b>c", {fnIgnoreHTMLTags}, P(-1, -1)},                    // ... unless stripped
        {L"abc", {fnIgnoreHTMLTags, fnMatchFull, fnBackward}, P(3, 2)},
        {L"\"\"", {}, P(3, 1)},                                     // two quotes: the first empty cell
        {L"r0c2", {}, P(-1, -1)},                                   // fixed cells are not searched ...
        {L"r0c2", {fnIncludeFixed}, P(2, 0)},                       // ... unless included
        {L"TWO*", {fnMatchRegular}, P(4, 2)},                       // a filter expression
        {L"one|plain", {fnMatchRegular, fnDirectionLeftRight}, P(1, 1)},
        {L"z", {fnBackward}, P(4, 5)},                              // backward from the last cell
        {L"z", {fnBackward, fnDirectionLeftRight}, P(4, 5)},
        {L"", {}, P(-1, -1)},                                       // an empty text is found nowhere
    };
    for (const Case& c : cases) {
        TFindGrid g;
        const TPoint found = g->FindFirst(c.text, c.params);
        EXPECT_EQ(found, c.expected) << "text " << std::string(c.text, c.text + wcslen(c.text));
        EXPECT_EQ(g->SearchCell, c.expected);
        // A find without fnAutoGoto leaves the current cell.
        EXPECT_EQ(g->GetCol(), 1);
        EXPECT_EQ(g->GetRow(), 1);
    }
}

TEST(Find, BothVisitingOrdersContinueToTheEndAndStop)
{
    struct Case {
        TFindParams params;
        std::vector<TPoint> visits;
    };
    const Case cases[] = {
        {{}, {P(1, 3), P(1, 4), P(1, 5), P(2, 3), P(2, 4)}},
        {{fnDirectionLeftRight}, {P(1, 3), P(2, 3), P(3, 3), P(4, 3), P(1, 4)}},
        {{fnBackward}, {P(4, 5), P(4, 4), P(4, 3), P(3, 5), P(3, 4)}},
        {{fnBackward, fnDirectionLeftRight}, {P(4, 5), P(3, 5), P(2, 5), P(1, 5), P(4, 4)}},
    };
    for (const Case& c : cases) {
        TFindGrid g;
        std::vector<TPoint> visits{g->FindFirst(L"z", c.params)};
        while (visits.size() < c.visits.size())
            visits.push_back(g->FindNext());
        EXPECT_EQ(visits, c.visits);
        // Twelve cells hold z; after the twelfth a plain FindNext ends.
        for (int i = 5; i < 12; ++i)
            EXPECT_GE(g->FindNext().x, 0);
        EXPECT_EQ(g->FindNext(), P(-1, -1));
        EXPECT_EQ(g->SearchCell, P(-1, -1));
    }
}

TEST(Find, RestrictionsContinueFromTheLastMatch)
{
    // A current-column restriction in row-by-row order once started on the
    // previous match again; each match must come once and the search end.
    struct Case {
        TFindParams params;
        std::vector<TPoint> visits;
    };
    const Case cases[] = {
        {{fnFindInCurrentCol, fnDirectionLeftRight}, {P(2, 3), P(2, 4), P(2, 5), P(-1, -1)}},
        {{fnFindInCurrentCol}, {P(2, 3), P(2, 4), P(2, 5), P(-1, -1)}},
        {{fnFindInCurrentRow}, {P(1, 4), P(2, 4), P(3, 4), P(4, 4), P(-1, -1)}},
        {{fnFindInCurrentRow, fnDirectionLeftRight, fnBackward}, {P(4, 4), P(3, 4), P(2, 4), P(1, 4), P(-1, -1)}},
        {{fnFindInPresetCol, fnFindInPresetRow}, {P(3, 5), P(-1, -1)}},
    };
    for (const Case& c : cases) {
        TFindGrid g;
        g->FocusCell(2, 4);
        g->FindCol = 3;
        g->FindRow = 5;
        std::vector<TPoint> visits{g->FindFirst(L"z", c.params)};
        while (visits.size() < c.visits.size())
            visits.push_back(g->FindNext());
        EXPECT_EQ(visits, c.visits);
    }
}

TEST(Find, IgnoreColumnsOnlyInRowOrder)
{
    TFindGrid g;
    g->GetIgnoreColumns()->Add(1);
    EXPECT_EQ(g->FindFirst(L"z", {fnDirectionLeftRight}), P(2, 3));
    EXPECT_EQ(g->FindFirst(L"z", {}), P(1, 3));
}

TEST(Find, SelectedCellsOnly)
{
    TFindGrid g;
    g->SetSelection(TGridRect{3, 3, 4, 4});
    EXPECT_EQ(g->FindFirst(L"z", {fnSelectedCells}), P(3, 3));
    EXPECT_EQ(g->FindFirst(L"z", {fnSelectedCells, fnBackward}), P(4, 4));
}

TEST(Find, HiddenColumnsAreSearchedByRealIndex)
{
    TFindGrid g;
    g->SetCells(2, 4, L"secret");
    g->HideColumn(2);
    EXPECT_EQ(g->FindFirst(L"secret", {}), P(-1, -1));
    EXPECT_EQ(g->FindFirst(L"secret", {fnIncludeHiddenColumns}), P(2, 4));
    // Displayed columns map to real ones: "plain" sits in real column 4, shown at 3.
    EXPECT_EQ(g->FindFirst(L"plain", {}), P(3, 1));
    // With the flag the found column is real; going there shows its displayed place.
    g->UnHideColumn(2);
    g->SetCells(4, 5, L"target");
    g->HideColumn(2);
    EXPECT_EQ(g->FindFirst(L"target", {fnIncludeHiddenColumns, fnAutoGoto}), P(4, 5));
    EXPECT_EQ(g->GetCol(), 3);
    EXPECT_EQ(g->GetRow(), 5);
}

TEST(Find, HiddenRowsAreSearchedByRealIndexAndAFilteredRowStaysHidden)
{
    TFindGrid g;
    g->SetCells(3, 4, L"secret");
    g->HideRow(4);
    EXPECT_EQ(g->FindFirst(L"secret", {}), P(-1, -1));
    // The row stays hidden: found as real row 4, the current cell stays.
    EXPECT_EQ(g->FindFirst(L"secret", {fnIncludeHiddenRows, fnAutoGoto}), P(3, 4));
    EXPECT_EQ(g->GetRow(), 1);
    // Row 5 is displayed as 4: going there makes display row 4 current.
    g->SetCells(2, 4, L"below");
    EXPECT_EQ(g->FindFirst(L"below", {fnIncludeHiddenRows, fnAutoGoto}), P(2, 5));
    EXPECT_EQ(g->GetRow(), 4);
    EXPECT_EQ(g->GetCol(), 2);
}

TEST(Find, AutoGotoExpandsTheNodeOfAHiddenChild)
{
    TFilledGrid<> g(4, 8);
    g->SetCells(2, 4, L"child");
    g->AddNode(2, 4); // rows 2..5
    g->ContractNode(2);
    ASSERT_TRUE(g->IsHiddenRow(4));
    EXPECT_EQ(g->FindFirst(L"child", {fnIncludeHiddenRows, fnAutoGoto}), P(2, 4));
    EXPECT_FALSE(g->IsHiddenRow(4));
    EXPECT_EQ(g->GetRow(), 4);
}

TEST(Find, AutoGotoMovesTheCurrentCellOrTheRowMark)
{
    TFindGrid g;
    EXPECT_EQ(g->FindFirst(L"plain", {fnAutoGoto}), P(4, 1));
    EXPECT_EQ(g->GetCol(), 4);
    EXPECT_EQ(g->GetRow(), 1);
    g->GetMouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(1, true);
    EXPECT_EQ(g->FindFirst(L"two", {fnAutoGoto}), P(4, 2));
    EXPECT_EQ(g->GetRow(), 2);
    EXPECT_TRUE(g->GetRowSelect(2));
    EXPECT_FALSE(g->GetRowSelect(1));
}

TEST(Find, WideSearchIsNotContinuedByFindNext)
{
    TFindGrid g;
    g->SetCellWideText(3, 3, L"\x0436\x0451");
    EXPECT_EQ(g->FindWide(P(-1, -1), L"\x0451", {}), P(3, 3));
    EXPECT_EQ(g->FindNext(), P(-1, -1));
}

// Counts the hooks a find calls.
class TCountingGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    std::vector<std::pair<int, int>> notes;

protected:
    void ExportNotification(int AState, int ARow) override { notes.emplace_back(AState, ARow); }
};

TEST(Find, HooksReportProgressAndNothingWithoutNormalColumns)
{
    TFilledGrid<TCountingGrid> g(2, 3);
    g->SetCells(1, 2, L"hit");
    g->FindFirst(L"hit", {});
    const std::vector<std::pair<int, int>> expected{{0, -1}, {5, 1}, {5, 2}, {4, -1}};
    EXPECT_EQ(g->notes, expected);
    g->notes.clear();
    g->FindFirst(L"none", {});
    EXPECT_EQ(g->notes.back(), std::make_pair(2, -1));
}

TEST(Replace, ReplacesEveryOccurrenceAndCountsTheCellsChanged)
{
    struct Case {
        const wchar_t* from;
        const wchar_t* to;
        TFindParams params;
        int changed;
        std::vector<String> after;
    };
    const Case cases[] = {
        {L"a", L"b", {}, 2, {L"bb", L"b", L"cb"}},
        {L"a", L"b", {fnMatchCase}, 1, {L"Ab", L"b", L"cA"}},
        {L"A", L"xy", {fnMatchCase}, 2, {L"xya", L"b", L"cxy"}},
        // The replacement holds the text: the search still moves on.
        {L"a", L"aa", {}, 2, {L"aaaa", L"b", L"caa"}},
        {L"", L"b", {}, 0, {L"Aa", L"b", L"cA"}},
        {L"a", L"b", {fnFindInCurrentCol, fnDirectionLeftRight}, 2, {L"bb", L"b", L"cb"}},
    };
    for (const Case& c : cases) {
        TFilledGrid<> g(2, 4);
        g->SetCells(1, 1, L"Aa");
        g->SetCells(1, 2, L"b");
        g->SetCells(1, 3, L"cA");
        g->GetShowModified()->SetEnabled(true);
        EXPECT_EQ(g->Replace(c.from, c.to, c.params), c.changed) << std::wstring(c.from);
        EXPECT_EQ(ColumnTexts(g.grid, 1), (std::vector<String>{L"r0c1", c.after[0], c.after[1], c.after[2]}));
        EXPECT_EQ(g->GetRowModified(2), false);
        EXPECT_EQ(g->GetRowModified(1), c.changed > 0);
    }
}

TEST(FindMulti, ConditionsByKindOverRows)
{
    TFilledGrid<> g(3, 6);
    const wchar_t* names[] = {L"Anna Berg", L"Bo", L"anna", L"Carl", L"Annabel"};
    const wchar_t* towns[] = {L"Oslo", L"Rome", L"Oslo", L"Oslo", L"Lund"};
    for (int r = 1; r <= 5; ++r) {
        g->SetCells(1, r, names[r - 1]);
        g->SetCells(2, r, towns[r - 1]);
    }
    struct Case {
        std::vector<String> values;
        std::vector<unsigned char> kinds;
        std::vector<bool> caseSensitive;
        std::vector<int> rows;
    };
    const Case cases[] = {
        {{L"anna", L"Oslo"}, {0, 3}, {false, false}, {1, 3}},
        {{L"anna", L"Oslo"}, {0, 3}, {true, false}, {3}},
        {{L"bel", L"o"}, {1, 2}, {false, false}, {}},
        {{L"nn", L"Oslo"}, {2, 4}, {false, false}, {5}},
        {{L"anna berg", L"x"}, {3, 5}, {false, false}, {1}},
        {{L"o", L"Oslo"}, {5, 3}, {false, false}, {1, 3, 4}},
    };
    for (const Case& c : cases) {
        std::vector<int> rows;
        for (int r = g->FindMulti(c.values, {1, 2}, c.kinds, c.caseSensitive, false); r >= 0; r = g->FindMultiNext())
            rows.push_back(r);
        EXPECT_EQ(rows, c.rows) << std::wstring(c.values[0]);
    }
    // Without conditions every normal row matches, one by one; AutoGoto moves to the first.
    g->SetRow(4);
    EXPECT_EQ(g->FindMulti({}, {}, {}, {}, true), 1);
    EXPECT_EQ(g->GetRow(), 1);
    EXPECT_EQ(g->FindMultiNext(), 2);
    EXPECT_EQ(g->FindMultiNext(), 3);
    EXPECT_EQ(g->GetRow(), 1);
}

TEST(FindMulti, BadArgumentsRaiseBeforeSearching)
{
    TFilledGrid<> g(3, 4);
    g->SearchCell = P(5, 5);
    auto raises = [&](const std::vector<String>& v, const std::vector<int>& cols, const std::vector<unsigned char>& k,
                      const std::vector<bool>& cs, const wchar_t* message) {
        try {
            g->FindMulti(v, cols, k, cs, true);
            ADD_FAILURE() << "no exception";
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), message);
        }
        EXPECT_EQ(g->SearchCell, P(5, 5));
    };
    raises({L"a"}, {1, 2}, {0}, {false}, L"Array size of parameters not matching");
    raises({L"a"}, {3}, {0}, {false}, L"Invalid column index");
    raises({L"a"}, {-1}, {0}, {false}, L"Invalid column index");
    raises({L"a"}, {1}, {6}, {false}, L"Invalid search kind");
}

TEST(Search, PrefixInTheSortColumn)
{
    TFilledGrid<> g(3, 5);
    const wchar_t* texts[] = {L"Beta", L"<b>Alpha</b>", L"alps", L"Gamma"};
    for (int r = 1; r <= 4; ++r) {
        g->SetCells(1, r, texts[r - 1]);
        g->SetCells(2, r, texts[4 - r]);
    }
    EXPECT_EQ(g->Search(L"ALP"), 2);
    EXPECT_EQ(g->Search(L"alp"), -1); // the typed text comes upper-cased
    EXPECT_EQ(g->Search(L"Z"), -1);
    g->GetSortSettings()->SetShow(true);
    g->GetSortSettings()->SetColumn(2);
    EXPECT_EQ(g->Search(L"ALP"), 2);
    EXPECT_EQ(g->Search(L"GA"), 1);
    g->GetSortSettings()->SetColumn(-1);
    EXPECT_EQ(g->Search(L"GA"), -1);
    TFilledGrid<> one(3, 1);
    EXPECT_EQ(one->Search(L"R"), -1);
}

} // namespace
