// Sorting: the value format each compare detects, directions, blanks, ties,
// several columns, the return to the order before sorting and the
// sort-settings string.
#include "DataGridSupport.h"
#include "SysUtils.h"
#include <algorithm>
#include <charconv>
#include <cwchar>
#include <gtest/gtest.h>
#include <iterator>
#include <random>

using namespace datagrid_test;

namespace {

// A grid with a header row, the given texts down column 1 and the row's
// original position in column 0 ("0", "1", ...).
struct TSortGrid : TFilledGrid<> {
    explicit TSortGrid(const std::vector<String>& values, int cols = 3)
        : TFilledGrid<>(cols, static_cast<int>(values.size()) + 1)
    {
        grid->SetFixedRows(1);
        grid->SetFixedCols(0);
        for (size_t i = 0; i < values.size(); ++i) {
            grid->SetCells(0, static_cast<int>(i) + 1, IntToStr(static_cast<int>(i)));
            grid->SetCells(1, static_cast<int>(i) + 1, values[i]);
            for (int c = 2; c < cols; ++c)
                grid->SetCells(c, static_cast<int>(i) + 1, String());
        }
    }
    std::vector<String> Column(int col) const
    {
        std::vector<String> texts;
        for (int r = 1; r < grid->GetRowCount(); ++r)
            texts.push_back(grid->GetCells(col, r));
        return texts;
    }
    // Writes the texts down a column, from the first row under the header.
    void SetColumn(int col, const std::vector<String>& texts)
    {
        for (size_t i = 0; i < texts.size(); ++i)
            grid->SetCells(col, static_cast<int>(i) + 1, texts[i]);
    }
    void SortBy(int col, TSortDirection direction) { grid->Sort(col, direction); }
};

// A locale with "/" dates, ":" times, "." decimals and "," thousands,
// restored after the test.
struct TLocaleScope {
    TFormatSettings saved = FormatSettings;
    TLocaleScope()
    {
        FormatSettings.DateSeparator = L'/';
        FormatSettings.TimeSeparator = L':';
        FormatSettings.DecimalSeparator = L'.';
        FormatSettings.ThousandSeparator = L',';
        FormatSettings.ShortDateFormat = L"dd/mm/yyyy";
    }
    ~TLocaleScope() { FormatSettings = saved; }
};

} // namespace

TEST(Sort, AutomaticFormatDetection)
{
    TLocaleScope locale;
    struct Case {
        const char* name;
        std::vector<String> values;
        std::vector<String> ascending;
    };
    const Case cases[] = {
        {"integers by value", {L"10", L"9", L"100", L"-3"}, {L"-3", L"9", L"10", L"100"}},
        {"floats and exponents", {L"2.5", L"1e1", L"-0.5", L"2.25"}, {L"-0.5", L"2.25", L"2.5", L"1e1"}},
        {"empty cell counts as 0 against numbers", {L"10", L"9", L""}, {L"", L"9", L"10"}},
        {"dates by date", {L"03/04/2021", L"12/05/2020", L"01/01/2019"}, {L"01/01/2019", L"12/05/2020", L"03/04/2021"}},
        {"times by time", {L"10:30", L"9:05", L"23:59"}, {L"9:05", L"10:30", L"23:59"}},
        {"text by code unit", {L"pear", L"Apple", L"apple", L"banana"}, {L"Apple", L"apple", L"banana", L"pear"}},
        {"date-like text against a word compares as text", {L"apple", L"12/05"}, {L"12/05", L"apple"}},
        {"empty cells of a text column first", {L"b", L"", L"a"}, {L"", L"a", L"b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSortGrid g(c.values);
        g.SortBy(1, sdAscending);
        EXPECT_EQ(g.Column(1), c.ascending);
        g.SortBy(1, sdDescending);
        EXPECT_EQ(g.Column(1), std::vector<String>(c.ascending.rbegin(), c.ascending.rend()));
    }
}

TEST(Sort, MixedColumnTakesEachComparesFormatFromItsFirstCell)
{
    TLocaleScope locale;
    TSortGrid g({L"10", L"abc"});
    // (number, word) compares as numbers: "abc" reads 0, so 10 is larger.
    EXPECT_EQ(g->CompareCells(1, 1, 2, sdAscending), 1);
    // (word, number) compares as text: "abc" after "10".
    EXPECT_EQ(g->CompareCells(1, 2, 1, sdAscending), 1);
    // Contradicting compares still sort without losing a row.
    TSortGrid mixed({L"abc", L"10", L"x", L"2", L"", L"7"});
    mixed.SortBy(1, sdAscending);
    std::vector<String> sorted = mixed.Column(1);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<String>{L"", L"10", L"2", L"7", L"abc", L"x"}));
}

TEST(Sort, FixedFormatsAndPrefixes)
{
    TLocaleScope locale;
    struct Case {
        const char* name;
        TSortStyle style;
        String prefix, suffix;
        String first, second;
        int expected;
    };
    const Case cases[] = {
        {"numeric: words that fail compare equal", ssNumeric, L"", L"", L"n/a", L"abc", 0},
        {"financial: thousands removed", ssFinancial, L"", L"", L"1,234.50", L"999", 1},
        {"numeric with prefix and suffix", ssNumeric, L"$", L" kg", L"$5 kg", L"$12 kg", -1},
        {"no case: ASCII folded", ssAlphaNoCase, L"", L"", L"apple", L"APPLE", 0},
        {"alphabetic keeps case", ssAlphabetic, L"", L"", L"apple", L"APPLE", 1},
        {"natural: digit runs by value", ssNatural, L"", L"", L"file10", L"file9", 1},
        {"short EU dates", ssShortDateEU, L"", L"", L"02/01/2020", L"01/02/2020", -1},
        {"short US dates", ssShortDateUS, L"", L"", L"02/01/2020", L"01/02/2020", 1},
        {"alphanumeric: numbers when both are", ssAlphaNumeric, L"", L"", L"9", L"10", -1},
        {"alphanumeric: text otherwise", ssAlphaNumeric, L"", L"", L"9", L"10a", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSortGrid g({c.first, c.second});
        g->GetSortSettings()->SetAutoFormat(false);
        g->OnGetFormat = [&c](TObject*, int, TSortStyle& style, String& prefix, String& suffix) {
            style = c.style;
            prefix = c.prefix;
            suffix = c.suffix;
        };
        EXPECT_EQ(g->CompareCells(1, 1, 2, sdAscending), c.expected);
    }
}

TEST(Sort, BlanksGoWhereTheSettingsSayInBothDirections)
{
    TLocaleScope locale;
    for (TSortDirection direction : {sdAscending, sdDescending}) {
        TSortGrid g({L"10", L"", L"9"});
        g->GetSortSettings()->SetIgnoreBlanks(true);
        g->GetSortSettings()->SetBlankPos(blLast);
        g.SortBy(1, direction);
        EXPECT_EQ(g.Column(1).back(), L"");
        g->GetSortSettings()->SetBlankPos(blFirst);
        g.SortBy(1, direction);
        EXPECT_EQ(g.Column(1).front(), L"");
    }
    TSortGrid g({L"10", L"", L"9"});
    g->GetSortSettings()->SetIgnoreBlanks(true);
    g->GetSortSettings()->SetBlankPos(blLast);
    g.SortBy(1, sdAscending);
    EXPECT_EQ(g.Column(1), (std::vector<String>{L"9", L"10", L""}));
}

TEST(Sort, TiesFollowTheColumnsToTheRightOrKeepTheirOrder)
{
    TSortGrid g({L"b", L"a", L"b", L"a"}, 4);
    const std::vector<String> right = {L"2", L"9", L"1", L"3"};
    g.SetColumn(2, right);
    g.SortBy(1, sdAscending);
    EXPECT_EQ(g.Column(2), (std::vector<String>{L"3", L"9", L"1", L"2"}));

    // Without the tie-break equal rows keep the order they had.
    TSortGrid stable({L"b", L"a", L"b", L"a", L"b"});
    stable->GetSortSettings()->SetFull(false);
    stable.SortBy(1, sdAscending);
    EXPECT_EQ(stable.Column(0), (std::vector<String>{L"1", L"3", L"0", L"2", L"4"}));
    stable.SortBy(1, sdDescending);
    EXPECT_EQ(stable.Column(0), (std::vector<String>{L"0", L"2", L"4", L"1", L"3"}));

    // An ignored column counts as equal.
    TSortGrid ignored({L"b", L"a", L"b", L"a"}, 4);
    ignored.SetColumn(2, right);
    ignored->GetIgnoreColumns()->Add(2);
    ignored->GetSortSettings()->SetFull(true);
    ignored.SortBy(1, sdAscending);
    EXPECT_EQ(ignored.Column(0), (std::vector<String>{L"1", L"3", L"0", L"2"}));
}

TEST(Sort, RowsMoveWholeWithHiddenColumnsAndHeights)
{
    TSortGrid g({L"c", L"a", L"b"}, 4);
    for (int r = 1; r <= 3; ++r)
        g->SetCells(3, r, L"hidden" + g->GetCells(1, r));
    g->SetRowHeights(1, 40);
    g->HideColumn(3);
    g.SortBy(1, sdAscending);
    EXPECT_EQ(g.Column(1), (std::vector<String>{L"a", L"b", L"c"}));
    EXPECT_EQ(g.Column(3), (std::vector<String>{L"hiddena", L"hiddenb", L"hiddenc"}));
    EXPECT_EQ(g->GetRowHeights(3), 40);
    EXPECT_EQ(g->GetColCount(), 3);
    EXPECT_EQ(g->GetCells(1, 0), L"r0c1") << "the header row stays";
}

TEST(Sort, SeveralColumnsEachInItsOwnDirection)
{
    TSortGrid g({L"b", L"a", L"b", L"a"}, 4);
    const std::vector<String> second = {L"1", L"2", L"3", L"4"};
    g.SetColumn(2, second);
    g->GetSortIndexes()->AddIndex(1, true);
    g->GetSortIndexes()->AddIndex(2, false);
    g->QSortIndexed();
    EXPECT_EQ(g.Column(1), (std::vector<String>{L"a", L"a", L"b", L"b"}));
    EXPECT_EQ(g.Column(2), (std::vector<String>{L"4", L"2", L"3", L"1"}));

    g->GetSortIndexes()->Clear();
    EXPECT_THROW(g->QSortIndexed(), EAdvGridError);
}

TEST(Sort, UnsortRestoresTheOrderOfTheFirstSort)
{
    TSortGrid g({L"d", L"b", L"a", L"c"}, 3);
    for (int r = 1; r <= 4; ++r)
        g->SetCells(2, r, IntToStr(5 - r));
    g->QUnSort();
    EXPECT_EQ(g.Column(0), (std::vector<String>{L"0", L"1", L"2", L"3"})) << "nothing to undo";
    g.SortBy(1, sdAscending);
    g.SortBy(2, sdDescending);
    g.SortBy(1, sdDescending);
    g->QUnSort();
    EXPECT_EQ(g.Column(0), (std::vector<String>{L"0", L"1", L"2", L"3"}));
    EXPECT_EQ(g.Column(1), (std::vector<String>{L"d", L"b", L"a", L"c"}));
    for (int r = 0; r < g->GetRowCount(); ++r)
        EXPECT_EQ(g->GetSortRowXRef()->GetItem(r), r);
}

TEST(Sort, ACompareThatRaisesMovesNoRowAndLeavesTheCountsAlone)
{
    TSortGrid g({L"c", L"a", L"b"}, 4);
    g->HideColumn(3);
    g->GetSortSettings()->SetAutoFormat(false);
    g->GetSortSettings()->SetDefaultFormat(ssCustom);
    g->OnCustomCompare = [](TObject*, const String&, const String&, int&) { throw Exception(L"compare failed"); };
    EXPECT_THROW(g.SortBy(1, sdAscending), Exception);
    EXPECT_EQ(g.Column(1), (std::vector<String>{L"c", L"a", L"b"}));
    EXPECT_EQ(g->GetColCount(), 3);
    EXPECT_EQ(g->GetRowCount(), 4);
    EXPECT_EQ(g->NumHiddenColumns(), 1);
}

TEST(Sort, SortLinePutsTwoRowsInOrder)
{
    TSortGrid g({L"b", L"a", L"a"}, 3);
    for (int r = 1; r <= 3; ++r)
        g->SetCells(2, r, L"same");
    g->GetSortSettings()->SetDirection(sdAscending);
    EXPECT_TRUE(g->SortLine(1, 1, 2));
    EXPECT_EQ(g.Column(1), (std::vector<String>{L"a", L"b", L"a"}));
    EXPECT_FALSE(g->SortLine(1, 1, 3)) << "rows equal in every column stay";
    EXPECT_EQ(g.Column(0), (std::vector<String>{L"1", L"0", L"2"}));
}

TEST(Sort, SettingsStringToAndFro)
{
    struct Case {
        const char* name;
        String text;
        std::vector<String> column1;
        String saved;
    };
    const Case cases[] = {
        {"ascending", L"u1", {L"a", L"b", L"c"}, L"u1"},
        {"descending", L"d1", {L"c", L"b", L"a"}, L"d1"},
        {"any other letter is descending", L"x1", {L"c", L"b", L"a"}, L"d1"},
        {"indexed", L"i;d1;u2", {L"c", L"b", L"a"}, L"i;d1;u2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSortGrid g({L"b", L"c", L"a"});
        g->GetSortSettings()->LoadFromString(c.text);
        EXPECT_TRUE(g->GetSortSettings()->GetShow());
        EXPECT_EQ(g.Column(1), c.column1);
        EXPECT_EQ(g->GetSortSettings()->SaveToString(), c.saved);
    }

    TSortGrid g({L"b", L"c", L"a"});
    EXPECT_EQ(g->GetSortSettings()->SaveToString(), L"u-1");
    g->GetSortSettings()->LoadFromString(L"");
    EXPECT_FALSE(g->GetSortSettings()->GetShow());
    EXPECT_THROW(g->GetSortSettings()->LoadFromString(L"u"), Exception);
    EXPECT_TRUE(g->GetSortSettings()->GetShow());
    g->GetSortSettings()->LoadFromString(L"i;");
    EXPECT_TRUE(g->GetSortSettings()->GetIndexShow());
    EXPECT_EQ(g.Column(1), (std::vector<String>{L"b", L"c", L"a"}));
}

TEST(Sort, ASortAgreesWithTheSingleCompareOnNumbersAndWords)
{
    TLocaleScope locale;
    // A pair (number, word) compares as numbers and (word, number) as text,
    // so the order is what the merge makes of those answers; a word read as
    // a failed number stays a failed number with the value it read.
    TSortGrid mixed({L"5", L"n/a", L"3", L"n/a", L"8", L"1", L"n/a", L"4", L"6"});
    EXPECT_EQ(mixed->CompareCells(1, 1, 2, sdAscending), 1) << "5 against n/a: numbers, n/a reads 0";
    mixed.SortBy(1, sdAscending);
    EXPECT_EQ(mixed.Column(1),
              (std::vector<String>{L"1", L"3", L"5", L"n/a", L"n/a", L"6", L"8", L"n/a", L"4"}));

    // Partial numbers keep the value read before the first stray character.
    TSortGrid partial({L"20", L"12abc", L"5"});
    partial->GetSortSettings()->SetAutoFormat(false);
    partial->GetSortSettings()->SetDefaultFormat(ssNumeric);
    EXPECT_EQ(partial->CompareCells(1, 2, 3, sdAscending), 1) << "12abc reads 12";
    EXPECT_EQ(partial->CompareCells(1, 2, 1, sdAscending), -1);
    partial.SortBy(1, sdAscending);
    EXPECT_EQ(partial.Column(1), (std::vector<String>{L"5", L"12abc", L"20"}));
    partial.SortBy(1, sdDescending);
    EXPECT_EQ(partial.Column(1), (std::vector<String>{L"20", L"12abc", L"5"}));
}

namespace {

// Texts that make the compares disagree with one another: numbers of every
// kind, partial numbers, words in both cases, dates, times, HTML, blanks.
const String SortPool[] = {
    L"10",         L"9",          L"-3",       L"2.5",         L"1e1",      L"007",     L"0.10",   L"-0",
    L"12abc",      L"3x",         L"n/a",      L"abc",         L"Abc",      L"apple",   L"Zeta",   L"zeta",
    L"",           L"",           L"",         L"03/04/2021",  L"12/05/2020", L"1/1/2019", L"12/05", L"31/12/99",
    L"10:30",      L"9:05",       L"23:59:01", L"03/04/2021 10:30", L"<b>b</b>", L"<i>a</i>", L"file10", L"file9",
    L" 5",         L"1,234.50",   L"$5 kg",    L"$12 kg",      L"12345678901234567890", L"1.5e400", L"5.",  L".5",
    L"-",          L"-.5",        L"12/",      L"1//2",        L"1/2/3/4",  L"9:",      L"1:2:3:4", L"3.4.2021",
};

struct TRoadCase {
    const char* name;
    bool autoFormat = true;
    TSortStyle format = ssAutomatic;
    bool ignoreCase = false;
    bool ignoreBlanks = false;
    TSortBlankPosition blankPos = blFirst;
    bool full = true;
    bool indexed = false;
    bool virtualCells = true;
};

// Fills a grid: column 0 the row's first place, the others random texts,
// repeated often enough to make ties.
void FillRandom(TSortGrid& g, std::mt19937& random, int cols)
{
    std::uniform_int_distribution<size_t> pick(0, std::size(SortPool) - 1);
    std::uniform_int_distribution<int> small(0, 12);
    for (int r = 1; r < g->GetRowCount(); ++r)
        for (int c = 1; c < cols; ++c)
            g->SetCells(c, r, small(random) < 4 ? IntToStr(small(random)) : SortPool[pick(random)]);
}

void Configure(TAdvStringGrid* grid, const TRoadCase& c, std::mt19937& random, int cols)
{
    TSortSettings* settings = grid->GetSortSettings();
    settings->SetAutoFormat(c.autoFormat);
    settings->SetDefaultFormat(c.format);
    settings->SetIgnoreCase(c.ignoreCase);
    settings->SetIgnoreBlanks(c.ignoreBlanks);
    settings->SetBlankPos(c.blankPos);
    settings->SetFull(c.full);
    settings->SetSortOnVirtualCells(c.virtualCells);
    if (c.indexed) {
        std::uniform_int_distribution<int> col(1, cols - 1);
        for (int i = 0; i < 3; ++i)
            grid->GetSortIndexes()->AddIndex(col(random), i != 1);
    }
    grid->OnCustomCompare = [](TObject*, const String& a, const String& b, int& r) {
        r = a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
    };
    grid->OnRawCompare = [grid](TObject*, int col, int row1, int row2, int& r) {
        r = grid->GetCells(col, row1).compare(grid->GetCells(col, row2)) < 0 ? 1 : 0;
    };
    // The display hook changes what virtual cells read.
    grid->OnGetDisplText = [](TObject*, int col, int, String& value) {
        if (col == 2 && value == L"abc")
            value.clear();
    };
}

} // namespace

TEST(Sort, KeysReadOnceGiveTheOrderOfTheSingleCompareAtEveryStep)
{
    TLocaleScope locale;
    const TRoadCase cases[] = {
        {"automatic"},
        {"automatic without case", true, ssAutomatic, true},
        {"blanks first", true, ssAutomatic, false, true, blFirst},
        {"blanks last", true, ssAutomatic, false, true, blLast},
        {"no tie-break", true, ssAutomatic, false, false, blFirst, false},
        {"indexed", true, ssAutomatic, false, true, blLast, true, true},
        {"indexed, first index only", true, ssAutomatic, false, false, blFirst, false, true},
        {"stored texts", true, ssAutomatic, false, false, blFirst, true, false, false},
        {"numeric", false, ssNumeric, false, true, blLast},
        {"financial", false, ssFinancial},
        {"alphabetic", false, ssAlphabetic},
        {"no case", false, ssAlphaNoCase, false, true},
        {"ignore case over the default", false, ssNumeric, true},
        {"locale with case", false, ssAnsiAlphaCase},
        {"locale without case", false, ssAnsiAlphaNoCase},
        {"dates", false, ssDate, false, true, blLast},
        {"date and time", false, ssDateTime},
        {"times", false, ssTime},
        {"short EU dates", false, ssShortDateEU},
        {"short US dates", false, ssShortDateUS},
        {"alphanumeric", false, ssAlphaNumeric},
        {"alphanumeric without case", false, ssAlphaNumericNoCase},
        {"natural", false, ssNatural},
        {"HTML", false, ssHTML, false, true},
        {"custom", false, ssCustom},
        {"raw", false, ssRaw},
    };
    constexpr int Cols = 5;
    constexpr int Rows = 60;
    for (const TRoadCase& c : cases) {
        for (unsigned seed = 1; seed <= 4; ++seed) {
            SCOPED_TRACE(testing::Message() << c.name << ", seed " << seed);
            TSortGrid fast(std::vector<String>(Rows), Cols);
            TSortGrid slow(std::vector<String>(Rows), Cols);
            TSortGrid asked(std::vector<String>(Rows), Cols);
            for (TSortGrid* g : {&fast, &slow, &asked}) {
                std::mt19937 random(seed);
                FillRandom(*g, random, Cols);
                Configure(g->grid, c, random, Cols);
            }
            slow->SetSortBySingleCompare(true);
            // A format handler that changes nothing must change nothing.
            int asks = 0;
            asked->OnGetFormat = [&asks](TObject*, int, TSortStyle&, String&, String&) { ++asks; };

            const int col = 1 + static_cast<int>(seed % (Cols - 1));
            const TSortDirection direction = seed % 2 ? sdAscending : sdDescending;
            for (TSortGrid* g : {&fast, &slow, &asked}) {
                if (c.indexed)
                    (*g)->QSortIndexed();
                else
                    g->SortBy(col, direction);
            }
            EXPECT_EQ(fast.Column(0), slow.Column(0));
            EXPECT_EQ(asked.Column(0), slow.Column(0));
            EXPECT_EQ(fast->GetCompares(), slow->GetCompares()) << "the same pairs compared";
            EXPECT_EQ(asks, asked->GetCompares()) << "the format asked at every compare";
        }
    }
}

TEST(Sort, ColumnsOfOneKindGiveTheOrderOfTheSingleCompare)
{
    TLocaleScope locale;
    // Columns whose every cell takes the same format are compared by value
    // at once; partial numbers, blanks and ties keep their rules there too.
    struct Case {
        const char* name;
        std::vector<String> pool;
        bool autoFormat;
        TSortStyle format;
    };
    const Case cases[] = {
        {"numbers", {L"10", L"9", L"-3", L"2.5", L"1e1", L"007", L"-0", L"0.10", L"5."}, true, ssAutomatic},
        {"numbers by default", {L"10", L"12abc", L"n/a", L"", L"3x", L"2.5", L"abc"}, false, ssNumeric},
        {"words", {L"abc", L"Abc", L"apple", L"Zeta", L"zeta", L"", L"PC-1234-1", L"PC-1234-10", L"a\u00e9"}, true,
         ssAutomatic},
        {"words by default", {L"10", L"abc", L"12/05/2020", L"", L"PC-1234-1", L"PC-1234-10"}, false, ssAlphabetic},
        {"dates", {L"03/04/2021", L"12/05/2020", L"1/1/2019", L"31/12/99", L"29/02/2021"}, true, ssAutomatic},
        {"dates by default", {L"03/04/2021", L"", L"abc", L"1/1/2019", L"10:30"}, false, ssDate},
    };
    for (const Case& c : cases) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            SCOPED_TRACE(testing::Message() << c.name << ", seed " << seed);
            TSortGrid fast(std::vector<String>(80), 4);
            TSortGrid slow(std::vector<String>(80), 4);
            for (TSortGrid* g : {&fast, &slow}) {
                std::mt19937 random(seed);
                std::uniform_int_distribution<size_t> pick(0, c.pool.size() - 1);
                for (int r = 1; r < (*g)->GetRowCount(); ++r)
                    for (int col = 1; col < 4; ++col)
                        (*g)->SetCells(col, r, c.pool[pick(random)]);
                (*g)->GetSortSettings()->SetAutoFormat(c.autoFormat);
                (*g)->GetSortSettings()->SetDefaultFormat(c.format);
            }
            slow->SetSortBySingleCompare(true);
            const TSortDirection direction = seed % 2 ? sdAscending : sdDescending;
            fast.SortBy(1, direction);
            slow.SortBy(1, direction);
            EXPECT_EQ(fast.Column(0), slow.Column(0));
            EXPECT_EQ(fast->GetCompares(), slow->GetCompares());
        }
    }
}

TEST(Sort, FormatsChosenPerCompareByTheHandlerAgreeOnBothRoads)
{
    TLocaleScope locale;
    constexpr int Cols = 5;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        TSortGrid fast(std::vector<String>(50), Cols);
        TSortGrid slow(std::vector<String>(50), Cols);
        for (TSortGrid* g : {&fast, &slow}) {
            std::mt19937 random(seed);
            FillRandom(*g, random, Cols);
            g->grid->GetSortSettings()->SetIgnoreBlanks(seed % 2 == 0);
            // Prefixes and suffixes change from one compare to the next.
            int calls = 0;
            g->grid->OnGetFormat = [calls](TObject*, int col, TSortStyle& style, String& prefix,
                                           String& suffix) mutable {
                ++calls;
                if (col == 1) {
                    style = ssNumeric;
                    prefix = calls % 3 ? L"$" : L"";
                    suffix = calls % 2 ? L" kg" : L"";
                } else if (col == 2) {
                    style = calls % 2 ? ssFinancial : ssNumeric;
                } else if (col == 3) {
                    style = calls % 2 ? ssAutomatic : ssDate;
                }
            };
        }
        slow->SetSortBySingleCompare(true);
        const int col = 1 + static_cast<int>(seed % 3);
        fast.SortBy(col, sdAscending);
        slow.SortBy(col, sdAscending);
        EXPECT_EQ(fast.Column(0), slow.Column(0));
    }
}

TEST(Sort, PlainNumbersReadToTheLastBitAsTheRunTimeReadsThem)
{
    TLocaleScope locale;
    // Texts whose correctly rounded value and the run time's differ in the
    // last bit, each beside the shortest text of the run time's value: read
    // as the run time reads them the two are equal, and the sort keeps them
    // in their order.
    std::mt19937_64 random(7);
    std::vector<String> texts;
    for (int tries = 0; tries < 1000000 && texts.size() < 16; ++tries) {
        std::string digits = std::to_string(random() % 10000000000000000000ull);
        const size_t decimals = std::min<size_t>(digits.size(), random() % 12);
        digits.insert(digits.end() - static_cast<std::ptrdiff_t>(decimals), '.');
        double correct = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), correct);
        const String text(digits.begin(), digits.end());
        const double runtime = std::wcstod(text.c_str(), nullptr);
        if (correct == runtime)
            continue;
        char shortest[40];
        const auto end = std::to_chars(shortest, shortest + sizeof shortest, runtime).ptr;
        const String same(shortest, end);
        if (std::wcstod(same.c_str(), nullptr) != runtime)
            continue;
        texts.push_back(same);
        texts.push_back(text);
    }
    ASSERT_GE(texts.size(), 8u);
    std::vector<String> expected = texts;
    std::stable_sort(expected.begin(), expected.end(), [](const String& a, const String& b) {
        return std::wcstod(a.c_str(), nullptr) < std::wcstod(b.c_str(), nullptr);
    });
    TSortGrid g(texts);
    g->GetSortSettings()->SetAutoFormat(false);
    g->GetSortSettings()->SetDefaultFormat(ssNumeric);
    g.SortBy(1, sdAscending);
    EXPECT_EQ(g.Column(1), expected);
}

namespace {

// Locales whose separators let a sort judge the common texts itself, and
// ones where it leaves that to the full detection.
struct TSeparators {
    const char* name;
    wchar_t date, time, decimal, thousand;
};
const TSeparators Locales[] = {
    {"dots for dates, commas for decimals", L'.', L':', L',', L' '},
    {"dashes for dates", L'-', L':', L'.', L','},
    {"dots for dates and thousands", L'.', L':', L',', L'.'},
};

// Shows every text backwards; follows every exchange of rows.
struct TBackwardsGrid : TAdvStringGrid {
    using TAdvStringGrid::TAdvStringGrid;
    int exchanges = 0;
    void GetDisplText(int ACol, int ARow, String& Value) override
    {
        TAdvStringGrid::GetDisplText(ACol, ARow, Value);
        std::reverse(Value.begin(), Value.end());
    }
    void SortSwapRows(int ARow1, int ARow2) override
    {
        ++exchanges;
        TAdvStringGrid::SortSwapRows(ARow1, ARow2);
    }
};

} // namespace

TEST(Sort, EveryLocaleGivesTheOrderOfTheSingleCompare)
{
    TLocaleScope locale;
    constexpr int Cols = 4;
    for (const TSeparators& l : Locales) {
        FormatSettings.DateSeparator = l.date;
        FormatSettings.TimeSeparator = l.time;
        FormatSettings.DecimalSeparator = l.decimal;
        FormatSettings.ThousandSeparator = l.thousand;
        for (unsigned seed = 1; seed <= 4; ++seed) {
            SCOPED_TRACE(testing::Message() << l.name << ", seed " << seed);
            TSortGrid fast(std::vector<String>(60), Cols);
            TSortGrid slow(std::vector<String>(60), Cols);
            for (TSortGrid* g : {&fast, &slow}) {
                std::mt19937 random(seed);
                FillRandom(*g, random, Cols);
                (*g)->GetSortSettings()->SetAutoFormat(seed != 4);
                (*g)->GetSortSettings()->SetDefaultFormat(ssAlphaNumeric);
            }
            slow->SetSortBySingleCompare(true);
            const TSortDirection direction = seed % 2 ? sdAscending : sdDescending;
            fast.SortBy(1, direction);
            slow.SortBy(1, direction);
            EXPECT_EQ(fast.Column(0), slow.Column(0));
        }
    }
}

TEST(Sort, KeysKeptFromOneSortToTheNextFollowTheGridsChanges)
{
    TLocaleScope locale;
    TSortGrid fast(std::vector<String>(70), 5);
    TSortGrid slow(std::vector<String>(70), 5);
    slow->SetSortBySingleCompare(true);
    // Each step changes the texts, the rows or the columns, then sorts again.
    const struct {
        int rows, cols, col;
        bool full;
    } steps[] = {{70, 5, 1, true}, {30, 5, 2, true}, {90, 3, 1, false}, {90, 6, 4, true}, {5, 6, 1, true}};
    unsigned seed = 1;
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.rows << " rows, " << step.cols << " columns");
        for (TSortGrid* g : {&fast, &slow}) {
            (*g)->SetColCount(step.cols);
            (*g)->SetRowCount(step.rows + 1);
            std::mt19937 random(seed);
            FillRandom(*g, random, step.cols);
            for (int r = 1; r <= step.rows; ++r)
                (*g)->SetCells(0, r, IntToStr(r));
            (*g)->GetSortSettings()->SetFull(step.full);
        }
        fast.SortBy(step.col, sdAscending);
        slow.SortBy(step.col, sdAscending);
        EXPECT_EQ(fast.Column(0), slow.Column(0));
        ++seed;
    }
}

TEST(Sort, CellsThatShowAnotherTextSortByWhatTheyShow)
{
    TLocaleScope locale;
    // Merged cells show their block's first text.
    TSortGrid fast(std::vector<String>(40), 4);
    TSortGrid slow(std::vector<String>(40), 4);
    for (TSortGrid* g : {&fast, &slow}) {
        std::mt19937 random(3);
        FillRandom(*g, random, 4);
        for (int r = 1; r <= 40; r += 5)
            (*g)->MergeCells(1, r, 2, 1);
        (*g)->MergeCells(2, 3, 1, 2);
    }
    slow->SetSortBySingleCompare(true);
    fast.SortBy(2, sdAscending);
    slow.SortBy(2, sdAscending);
    EXPECT_EQ(fast.Column(0), slow.Column(0));

    // A descendant's own display text and its own row exchanges.
    TFilledGrid<TBackwardsGrid> backwards(2, 5);
    backwards->SetFixedRows(1);
    const String texts[] = {L"xa", L"ab", L"bc", L"cz"};
    for (int r = 1; r <= 4; ++r) {
        backwards->SetCells(0, r, IntToStr(r));
        backwards->SetCells(1, r, texts[r - 1]);
    }
    backwards->Sort(1, sdAscending);
    std::vector<String> order;
    for (int r = 1; r <= 4; ++r)
        order.push_back(backwards->GetCells(1, r));
    EXPECT_EQ(order, (std::vector<String>{L"xa", L"ab", L"bc", L"cz"})) << "a, b, c, z backwards";
    backwards->Sort(1, sdDescending);
    EXPECT_EQ(backwards->GetCells(1, 1), L"cz");
    EXPECT_GT(backwards->exchanges, 0);
    EXPECT_EQ(backwards->exchanges, backwards->GetSwaps());
}
