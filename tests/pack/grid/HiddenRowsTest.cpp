// Hidden rows: hiding and showing singly, by range and as filter levels,
// what travels with a hidden row, and the translation between display and
// real row indexes, checked against a model of the whole table.
#include "DataGridSupport.h"
#include <algorithm>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

using namespace datagrid_test;

namespace {

// The whole table as the test knows it: the texts of every real row in
// order, and the real rows that are hidden with the filter level that hid them.
struct TModel {
    std::vector<String> texts;
    std::map<int, int> hidden;  // real row -> level

    explicit TModel(int rows)
    {
        for (int r = 0; r < rows; ++r)
            texts.push_back(CellName(0, r));
    }
    std::vector<int> Shown() const
    {
        std::vector<int> shown;
        for (int r = 0; r < static_cast<int>(texts.size()); ++r)
            if (!hidden.count(r))
                shown.push_back(r);
        return shown;
    }
};

void ExpectMatches(TAdvStringGrid* g, const TModel& m)
{
    const std::vector<int> shown = m.Shown();
    ASSERT_EQ(g->GetRowCount(), static_cast<int>(shown.size()));
    ASSERT_EQ(g->TotalRowCount(), static_cast<int>(m.texts.size()));
    for (int d = 0; d < static_cast<int>(shown.size()); ++d) {
        EXPECT_EQ(g->GetCells(0, d), m.texts[static_cast<size_t>(shown[static_cast<size_t>(d)])]) << "display row " << d;
        EXPECT_EQ(g->RealRowIndex(d), shown[static_cast<size_t>(d)]) << "display row " << d;
    }
    for (int r = 0; r < static_cast<int>(m.texts.size()); ++r) {
        const int before = static_cast<int>(std::lower_bound(shown.begin(), shown.end(), r) - shown.begin());
        EXPECT_EQ(g->DisplRowIndex(r), before) << "real row " << r;
        EXPECT_EQ(g->IsHiddenRow(r), m.hidden.count(r) == 1) << "real row " << r;
    }
}

// ---------------------------------------------------------------------------
// The translation with hidden rows before, after and around

TEST(HiddenRows, WithoutHiddenRowsEveryTranslationIsTheIdentity)
{
    TFilledGrid<> g(3, 10);
    for (int r : {-1, 0, 5, 9, 12}) {
        EXPECT_EQ(g->RealRowIndex(r), r);
        EXPECT_EQ(g->DisplRowIndex(r), r);
    }
    EXPECT_FALSE(g->IsHiddenRow(3));
}

TEST(HiddenRows, TranslationFollowsTheHiddenRowsWhereverTheyAre)
{
    const std::vector<std::vector<int>> cases = {
        {0}, {9}, {3, 4}, {0, 1, 8, 9}, {1, 3, 5, 7}, {2, 3, 4, 5, 6, 7},
    };
    for (const auto& hidden : cases) {
        TFilledGrid<> g(3, 10);
        TModel m(10);
        for (int r : hidden) {
            g->HideRow(r);
            m.hidden[r] = 0;
        }
        SCOPED_TRACE(testing::Message() << "hidden from " << hidden.front() << ", " << hidden.size() << " rows");
        ExpectMatches(g.grid, m);
    }
}

TEST(HiddenRows, TwoHiddenRowsInTheMiddle)
{
    TFilledGrid<> g(3, 10);
    g->HideRows(3, 4);
    EXPECT_EQ(g->RealRowIndex(3), 5);
    EXPECT_EQ(g->DisplRowIndex(5), 3);
    EXPECT_EQ(g->DisplRowIndex(4), 3) << "a hidden row maps to the next shown one";
    EXPECT_EQ(g->RealRowIndex(-1), -1);
    EXPECT_EQ(g->GetRowCount(), 8);
    EXPECT_EQ(g->TotalRowCount(), 10);
    EXPECT_EQ(g->NumHiddenRows(), 2);
}

// ---------------------------------------------------------------------------
// Hiding and showing by range

TEST(HiddenRows, HidingARangeSkipsRowsAlreadyHidden)
{
    TFilledGrid<> g(3, 10);
    g->HideRow(4);
    g->HideRows(2, 6);
    EXPECT_EQ(g->GetRowCount(), 5) << "four more rows left the display";
    EXPECT_EQ(ColumnTexts(g.grid, 1), Names(1, {0, 1, 7, 8, 9}));
    std::vector<int> stored;
    for (int i = 0; i < g->NumHiddenRows(); ++i) {
        TGridItem* item = g->GetGridItems()->Item(i);
        stored.push_back(item->GetIdx());
        EXPECT_EQ(item->GetItems()->Get(1), CellName(1, item->GetIdx()));
    }
    EXPECT_EQ(stored, (std::vector<int>{2, 3, 4, 5, 6})) << "in real order";
    g->HideRows(3, 5);
    EXPECT_EQ(g->GetRowCount(), 5) << "a range hidden already changes nothing";
}

TEST(HiddenRows, ARangeGoesInRealOrderAmongHiddenRowsBeforeInsideAndAfterIt)
{
    TFilledGrid<> g(3, 14);
    for (int r : {11, 5, 1, 7})
        g->HideRow(r);
    g->HideRows(3, 9);
    std::vector<int> stored;
    for (int i = 0; i < g->NumHiddenRows(); ++i)
        stored.push_back(g->GetGridItems()->Item(i)->GetIdx());
    EXPECT_EQ(stored, (std::vector<int>{1, 3, 4, 5, 6, 7, 8, 9, 11}));
    EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 2, 10, 12, 13}));
    g->UnHideRowsAll();
    EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
}

TEST(HiddenRows, ShowingARangeBringsBackItsHiddenRowsAtTheirPlaces)
{
    struct Case {
        std::vector<int> hidden;
        std::vector<int> stillHidden;
    };
    // The second case shows a row inside the range although the range's
    // first row is not hidden.
    for (const Case& c : {Case{{2, 6}, {}}, Case{{4}, {}}, Case{{1, 2, 6, 8}, {1, 8}}}) {
        TFilledGrid<> g(3, 10);
        TModel m(10);
        for (int r : c.hidden) {
            g->HideRow(r);
            m.hidden[r] = 0;
        }
        g->UnHideRows(2, 6);
        for (int r = 2; r <= 6; ++r)
            m.hidden.erase(r);
        ExpectMatches(g.grid, m);
        EXPECT_EQ(g->NumHiddenRows(), static_cast<int>(c.stillHidden.size()));
    }
}

TEST(HiddenRows, UnHideRowsAllBringsBackEveryRunInOrder)
{
    TFilledGrid<> g(3, 10);
    for (int r : {7, 2, 3})
        g->HideRow(r);
    g->UnHideRowsAll();
    EXPECT_EQ(g->NumHiddenRows(), 0);
    EXPECT_EQ(ColumnTexts(g.grid, 2), Names(2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(HiddenRows, AHiddenRowTakesItsHiddenColumnsHeightAndCellPropertiesAlong)
{
    TShownGrid<> g(5, 10);
    g->SetRowHeights(3, 41);
    g->SetRowHeights(4, 17);
    g->HideColumn(2);
    TCellProperties* props = g->GetCellProperties(3, 3);
    props->SetBrushColor(clYellow);
    g->HideRow(3);
    EXPECT_EQ(g->GetRowHeights(3), 17) << "the row below moved up with its height";
    EXPECT_EQ(g->GetCellProperties(3, 3)->GetBrushColor(), g->GetColor()) << "row 4's cell has its own";
    g->UnHideRow(3);
    EXPECT_EQ(g->GetRowHeights(3), 41);
    EXPECT_EQ(g->GetRowHeights(4), 17);
    EXPECT_EQ(g->GetCellProperties(3, 3), props);
    g->UnHideColumn(2);
    EXPECT_EQ(ColumnTexts(g.grid, 2), Names(2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(HiddenRows, TheGridKeepsOneDisplayedRow)
{
    TFilledGrid<> g(3, 4);
    g->HideRows(0, 3);
    EXPECT_EQ(g->GetRowCount(), 1);
    EXPECT_EQ(g->GetCells(1, 0), CellName(1, 0)) << "the first row stays";
    g->UnHideRowsAll();
    EXPECT_EQ(ColumnTexts(g.grid, 1), Names(1, {0, 1, 2, 3}));
}

TEST(HiddenRows, RangesAndRowsOutsideTheTableTouchOnlyTheRowsThatExist)
{
    struct Case {
        const char* call;
        std::function<void(TAdvStringGrid*)> run;
        std::set<int> hiddenAfter;
    };
    // Real rows 0..9 with 2, 4 and 8 hidden before each call.
    const std::set<int> before{2, 4, 8};
    const Case cases[] = {
        {"HideRows(-3, 1)", [](TAdvStringGrid* g) { g->HideRows(-3, 1); }, {0, 1, 2, 4, 8}},
        {"HideRows(7, 15)", [](TAdvStringGrid* g) { g->HideRows(7, 15); }, {2, 4, 7, 8, 9}},
        {"HideRows(10, 15)", [](TAdvStringGrid* g) { g->HideRows(10, 15); }, before},
        {"HideRows(-5, -1)", [](TAdvStringGrid* g) { g->HideRows(-5, -1); }, before},
        {"HideRows(6, 3)", [](TAdvStringGrid* g) { g->HideRows(6, 3); }, before},
        {"HideRows(INT_MIN, INT_MIN)", [](TAdvStringGrid* g) { g->HideRows(INT_MIN, INT_MIN); }, before},
        {"HideRows(INT_MAX, INT_MAX)", [](TAdvStringGrid* g) { g->HideRows(INT_MAX, INT_MAX); }, before},
        {"HideRow(-1)", [](TAdvStringGrid* g) { g->HideRow(-1); }, before},
        {"HideRow(10)", [](TAdvStringGrid* g) { g->HideRow(10); }, before},
        {"UnHideRows(-5, 3)", [](TAdvStringGrid* g) { g->UnHideRows(-5, 3); }, {4, 8}},
        {"UnHideRows(5, 40)", [](TAdvStringGrid* g) { g->UnHideRows(5, 40); }, {2, 4}},
        {"UnHideRows(10, 40)", [](TAdvStringGrid* g) { g->UnHideRows(10, 40); }, before},
        {"UnHideRows(-9, -1)", [](TAdvStringGrid* g) { g->UnHideRows(-9, -1); }, before},
        {"UnHideRows(8, 2)", [](TAdvStringGrid* g) { g->UnHideRows(8, 2); }, before},
        {"UnHideRows(INT_MIN, INT_MAX)", [](TAdvStringGrid* g) { g->UnHideRows(INT_MIN, INT_MAX); }, {}},
        {"UnHideRow(-1)", [](TAdvStringGrid* g) { g->UnHideRow(-1); }, before},
        {"UnHideRow(10)", [](TAdvStringGrid* g) { g->UnHideRow(10); }, before},
        {"UnHideRow(3)", [](TAdvStringGrid* g) { g->UnHideRow(3); }, before},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        TFilledGrid<> g(3, 10);
        for (int r : before)
            g->HideRow(r);
        c.run(g.grid);
        TModel m(10);
        for (int r : c.hiddenAfter)
            m.hidden[r] = 0;
        ExpectMatches(g.grid, m);
        g->UnHideRowsAll();
        EXPECT_EQ(ColumnTexts(g.grid, 2), Names(2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9})) << "every row comes back whole";
    }
}

// ---------------------------------------------------------------------------
// Filter levels

TEST(HiddenRows, StackedFilterLevelsTranslateExactlyAndComeOffInReverse)
{
    TFilledGrid<> g(3, 10);
    for (int r = 0; r < 10; ++r)
        g->SetRowHeights(r, 20 + r);
    TModel m(10);
    TOwned<TIntList> first(New<TIntList>(0, 0));
    first->Add(2);
    first->Add(5);
    g->HideRowList(first.get());
    m.hidden[2] = m.hidden[5] = 0;
    EXPECT_EQ(g->GetFilterLevel(), 1);
    ExpectMatches(g.grid, m);

    // Display rows 2 and 4 are now real rows 3 and 6.
    TOwned<TIntList> second(New<TIntList>(0, 0));
    second->Add(2);
    second->Add(4);
    g->HideRowList(second.get());
    m.hidden[3] = m.hidden[6] = 1;
    EXPECT_EQ(g->GetFilterLevel(), 2);
    ExpectMatches(g.grid, m);

    g->UnHideRowList();
    g->SetFilterLevel(g->GetFilterLevel() - 1);
    m.hidden.erase(3);
    m.hidden.erase(6);
    ExpectMatches(g.grid, m);

    g->UnHideRowList();
    g->SetFilterLevel(g->GetFilterLevel() - 1);
    m.hidden.clear();
    ExpectMatches(g.grid, m);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(g->GetRowHeights(r), 20 + r);
}

TEST(HiddenRows, RowsHiddenByRangeComeBackWithTheFirstFilterLevelOnly)
{
    TFilledGrid<> g(3, 10);
    g->HideRow(8);
    TOwned<TIntList> list(New<TIntList>(0, 0));
    list->Add(1);
    g->HideRowList(list.get());
    list->Clear();
    list->Add(1);
    g->HideRowList(list.get());
    EXPECT_EQ(g->NumHiddenRows(), 3);
    g->UnHideRowList();
    g->SetFilterLevel(1);
    EXPECT_EQ(g->NumHiddenRows(), 2) << "the second level only";
    EXPECT_TRUE(g->IsHiddenRow(8));
    g->UnHideRowList();
    g->SetFilterLevel(0);
    EXPECT_EQ(g->NumHiddenRows(), 0);
    EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(HiddenRows, TheTranslationSeesANewLevelAtOnce)
{
    TFilledGrid<> g(3, 10);
    EXPECT_EQ(g->GetRealRow(), g->GetRow());
    g->SetRow(4);
    TOwned<TIntList> list(New<TIntList>(0, 0));
    list->Add(1);
    g->HideRowList(list.get());
    EXPECT_EQ(g->GetRealRow(), g->GetRow() + 1);
}

TEST(HiddenRows, AFilterLevelHidesTheListsRowsThatExistAndOnlyThose)
{
    struct Case {
        const char* list;
        std::vector<int> rows;  // display rows
        std::set<int> hiddenByLevel;  // real rows
    };
    // Real rows 0..9 with 2, 4 and 8 hidden: display rows 0..6 are real
    // rows 0, 1, 3, 5, 6, 7 and 9.
    const Case cases[] = {
        {"good and bad", {-2, 1, 3, 7, 250}, {1, 5}},
        {"unordered with a repeat", {5, 1, 5}, {1, 7}},
        {"only bad", {-1, 7, 8}, {}},
        {"empty", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        TFilledGrid<> g(3, 10);
        TModel m(10);
        for (int r : {2, 4, 8}) {
            g->HideRow(r);
            m.hidden[r] = 0;
        }
        TOwned<TIntList> list(New<TIntList>(0, 0));
        for (int r : c.rows)
            list->Add(r);
        g->HideRowList(list.get());
        for (int r : c.hiddenByLevel)
            m.hidden[r] = 0;
        ExpectMatches(g.grid, m);
        EXPECT_EQ(g->GetFilterLevel(), 1) << "a level opens however many rows it hides, so that closing it pairs up";

        // Closing the first level shows every row, those hidden by range too.
        g->UnHideRowList();
        g->SetFilterLevel(0);
        EXPECT_EQ(g->NumHiddenRows(), 0);
        EXPECT_EQ(ColumnTexts(g.grid, 2), Names(2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    }
}

// ---------------------------------------------------------------------------
// Rows inserted and removed around hidden rows

TEST(HiddenRows, InsertedAndRemovedRowsKeepHiddenRowsBetweenTheirNeighbours)
{
    TFilledGrid<> g(3, 10);
    g->HideRow(5);
    // Before the hidden row: it moves down with the rows around it.
    g->InsertRows(2, 2);
    EXPECT_TRUE(g->IsHiddenRow(7));
    // After it: nothing changes for it.
    g->InsertRows(9, 1);
    g->RemoveRows(9, 1);
    EXPECT_TRUE(g->IsHiddenRow(7));
    // Removing the rows just before it: display rows 4 to 6 are real rows 4 to 6.
    g->RemoveRows(4, 3);
    EXPECT_TRUE(g->IsHiddenRow(4));
    g->UnHideRowsAll();
    EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 1, -1, -1, 5, 6, 7, 8, 9}));
}

TEST(HiddenRows, ARemovalAcrossAHiddenRowLowersItByTheRowsBelowItOnly)
{
    TFilledGrid<> g(3, 10);
    g->HideRow(4);
    // Display rows 3 and 4 are real rows 3 and 5, around the hidden row 4.
    g->RemoveRows(3, 2);
    EXPECT_TRUE(g->IsHiddenRow(3));
    g->UnHideRowsAll();
    EXPECT_EQ(ColumnTexts(g.grid, 0), Names(0, {0, 1, 2, 4, 6, 7, 8, 9}));
}

// ---------------------------------------------------------------------------
// Row and top row

TEST(HiddenRows, TopRowIgnoresValuesOutsideTheScrollableRows)
{
    TShownGrid<> g(3, 40);
    g->SetTopRow(10);
    for (int v : {g->GetFixedRows() - 1, g->GetRowCount(), -5})
        g->SetTopRow(v);
    EXPECT_EQ(g->GetTopRow(), 10);
}

TEST(HiddenRows, RowUpdateFiresOncePerChangeWithTheOldAndNewRow)
{
    TFilledGrid<> g(3, 10);
    std::vector<std::pair<int, int>> updates;
    g->OnRowUpdate = [&](TObject*, int OldRow, int NewRow) { updates.emplace_back(OldRow, NewRow); };
    g->SetRow(3);
    g->SetRow(3);
    g->SetRow(7);
    EXPECT_EQ(updates, (std::vector<std::pair<int, int>>{{0, 3}, {3, 7}}));
}

// ---------------------------------------------------------------------------
// Many operations in a row, checked against the model after each

TEST(HiddenRows, AnyMixOfOperationsKeepsTheTableAndTheTranslationExact)
{
    std::mt19937 random(20240611);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    TFilledGrid<> g(3, 30);
    TModel m(30);
    int level = 0;
    int made = 0;
    for (int step = 0; step < 300; ++step) {
        const int total = static_cast<int>(m.texts.size());
        const int op = pick(0, 5);
        SCOPED_TRACE(testing::Message() << "step " << step << " op " << op);
        if (op == 0) {
            // Rows 1 and up: the first row always stays shown.
            const int from = pick(1, total - 1);
            const int to = std::min(total - 1, from + pick(0, 4));
            g->HideRows(from, to);
            for (int r = from; r <= to; ++r)
                m.hidden.emplace(r, 0);
        } else if (op == 1) {
            const int from = pick(0, total - 1);
            const int to = std::min(total - 1, from + pick(0, 6));
            g->UnHideRows(from, to);
            for (int r = from; r <= to; ++r)
                m.hidden.erase(r);
        } else if (op == 2 && level < 4) {
            const std::vector<int> shown = m.Shown();
            TOwned<TIntList> list(New<TIntList>(0, 0));
            for (int d = 1; d < static_cast<int>(shown.size()); ++d)
                if (pick(0, 3) == 0) {
                    list->Add(d);
                    m.hidden[shown[static_cast<size_t>(d)]] = level;
                }
            g->HideRowList(list.get());
            ++level;
        } else if (op == 3 && level > 0) {
            g->UnHideRowList();
            g->SetFilterLevel(--level);
            for (auto it = m.hidden.begin(); it != m.hidden.end();)
                it = it->second >= level ? m.hidden.erase(it) : std::next(it);
        } else if (op == 4) {
            const std::vector<int> shown = m.Shown();
            const int d = pick(1, static_cast<int>(shown.size()));
            const int count = pick(1, 3);
            const int at = d < static_cast<int>(shown.size()) ? shown[static_cast<size_t>(d)] : total;
            g->InsertRows(d, count);
            std::map<int, int> moved;
            for (auto [r, l] : m.hidden)
                moved[r >= at ? r + count : r] = l;
            m.hidden = moved;
            for (int k = 0; k < count; ++k) {
                const String name = L"new" + std::to_wstring(made++);
                g->SetCells(0, d + k, name);
                m.texts.insert(m.texts.begin() + at + k, name);
            }
        } else if (op == 5 && g->GetRowCount() > 3) {
            const std::vector<int> shown = m.Shown();
            const int d = pick(1, static_cast<int>(shown.size()) - 2);
            const int count = std::min(pick(1, 3), static_cast<int>(shown.size()) - d - 1);
            g->RemoveRows(d, count);
            std::vector<int> gone(shown.begin() + d, shown.begin() + d + count);
            std::map<int, int> moved;
            for (auto [r, l] : m.hidden)
                moved[r - static_cast<int>(std::lower_bound(gone.begin(), gone.end(), r) - gone.begin())] = l;
            m.hidden = moved;
            for (auto it = gone.rbegin(); it != gone.rend(); ++it)
                m.texts.erase(m.texts.begin() + *it);
        }
        ExpectMatches(g.grid, m);
        if (HasFailure())
            return;
    }
    g->UnHideRowsAll();
    m.hidden.clear();
    ExpectMatches(g.grid, m);
}

} // namespace
