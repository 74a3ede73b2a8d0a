// Filter conditions against cell values, the five ways conditions join,
// filter levels applied, narrowed and removed, and the filter file written,
// read back and read from broken files.
#include "DataGridSupport.h"
#include "ScopeExit.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;
using enum AdvGrid::TFilterType;
using testing_support::FileBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

struct TConditionCase {
    const wchar_t* condition;
    const wchar_t* value;
    bool expected;
    bool caseSensitive = false;
    TFilterMethod method = fmExpression;
    const wchar_t* prefix = L"";
    const wchar_t* suffix = L"";
    bool removeAccented = false;
};

const TConditionCase ConditionCases[] = {
    {L"Server", L"server", true},
    {L"Server", L"SERVER", true},
    {L"Server", L"Server 2", false},
    {L"*erv*", L"Server 2", true},
    {L"Server", L"server", false, true},
    {L">100", L"250", true},
    {L">100", L"99", false},
    {L">=100", L"100", true},
    {L"<100", L"99", true},
    {L">1,5", L"2,5", true},
    {L">1,5", L"1,25", false},
    {L">b", L"c", true},
    {L">b", L"a", false},
    // As texts "15.01.2020" is above "01.02.2020"; as dates it is not.
    {L">01.02.2020", L"15.01.2020", false},
    {L">01.02.2020", L"15.03.2020", true},
    {L"<01.02.2020", L"31.01.2020", true},
    {L"a|b", L"a", true},
    {L"a|b", L"b", true},
    {L"a;b", L"c", false},
    {L"a*&*b", L"a-b", true},
    {L"a*&*b", L"a-c", false},
    {L"!a", L"b", true},
    {L"!a", L"a", false},
    {L"!*a*", L"xyz", true},
    {L"!*a*", L"bab", false},
    {L"a?c", L"abc", true},
    {L"a?c", L"abbc", false},
    {L"\"Main Office\"", L"Main Office", true},
    {L"\"Main Office\"", L"Main Office 2", false},
    {L"\"\"", L"", true},
    {L"\"\"", L"x", false},
    {L"=a", L"a", true},
    {L"(a*|b*)&*c", L"bc", true},
    {L"(a*|b*)&*c", L"ac", true},
    {L"(a*|b*)&*c", L"c", false},
    // A group typed without its ")" runs to the end rather than hanging.
    {L"(a|b", L"a", true},
    {L"(a|b", L"c", false},
    {L"a*", L"a*", true, true, fmLiteral},
    {L"a*", L"abc", false, true, fmLiteral},
    {L"\"\"", L"", true, true, fmLiteral},
    {L">100", L"$250", true, false, fmExpression, L"$"},
    {L"<10", L"8 kg", true, false, fmExpression, L"", L" kg"},
    {L"*Zurich*", L"Z\u00fcrich", true, false, fmExpression, L"", L"", true},
    {L"*Zurich*", L"Z\u00fcrich", false},
    {L"", L"anything", true},
};

// Locale settings for the duration of a test.
struct TLocale {
    TFormatSettings saved = FormatSettings;
    TLocale()
    {
        FormatSettings.DecimalSeparator = L',';
        FormatSettings.ThousandSeparator = L' ';
        FormatSettings.DateSeparator = L'.';
        FormatSettings.ShortDateFormat = L"dd.mm.yyyy";
        FormatSettings.TimeSeparator = L':';
    }
    ~TLocale() { FormatSettings = saved; }
};

// A grid with a header row and the given texts in columns 1 and 2.
struct TValuesGrid : TFilledGrid<> {
    explicit TValuesGrid(const std::vector<std::pair<String, String>>& rows)
        : TFilledGrid<>(3, static_cast<int>(rows.size()) + 1)
    {
        for (size_t i = 0; i < rows.size(); ++i) {
            grid->SetCells(1, static_cast<int>(i) + 1, rows[i].first);
            grid->SetCells(2, static_cast<int>(i) + 1, rows[i].second);
        }
    }
    std::vector<String> Shown(int col = 1) const
    {
        std::vector<String> texts;
        for (int r = 1; r < grid->GetRowCount(); ++r)
            texts.push_back(grid->GetCells(col, r));
        return texts;
    }
};

} // namespace

TEST(Filter, ConditionsAgainstValues)
{
    TLocale locale;
    TFilledGrid<> g(2, 2);
    for (const TConditionCase& c : ConditionCases) {
        SCOPED_TRACE(testing::Message() << "condition " << UTF8Encode(c.condition) << " value "
                                        << UTF8Encode(c.value));
        g->GetFilter()->Clear();
        TFilterData* data = g->GetFilter()->Add();
        data->SetColumn(1);
        data->SetCondition(c.condition);
        data->SetCaseSensitive(c.caseSensitive);
        data->SetMethod(c.method);
        data->SetPrefix(c.prefix);
        data->SetSuffix(c.suffix);
        data->SetRemoveAccented(c.removeAccented);
        g->SetCells(1, 1, c.value);
        EXPECT_EQ(g->MatchFilterRow(1), c.expected);
    }
}

TEST(Filter, BuiltConditionsAcceptWhatTheirTypeSays)
{
    struct Case {
        TFilterType type;
        const wchar_t* text;
        const wchar_t* condition;
    };
    const Case cases[] = {
        {ftStartsWith, L"ab", L"ab*"},       {ftEndsWith, L"ab", L"*ab"},     {ftContains, L"a b", L"*\"a b\"*"},
        {ftNotContains, L"ab", L"!*ab*"},    {ftEqual, L"ab", L"ab"},         {ftNotEqual, L"ab", L"!ab"},
        {ftLargerThan, L"5", L">5"},         {ftSmallerThan, L"5", L"<5"},    {ftClear, L"x", L"kept"},
        {ftNone, L"x", L"kept"},
    };
    TFilledGrid<> g(2, 2);
    for (const Case& c : cases) {
        TFilterData* data = g->GetFilter()->Add();
        data->SetCondition(L"kept");
        data->SetFilterType(c.type);
        data->BuildCondition(c.text);
        EXPECT_EQ(data->GetCondition(), c.condition);
    }
    EXPECT_EQ(g->GetFilter()->Item(0)->GetOperation(), foNONE);
    EXPECT_EQ(g->GetFilter()->Item(1)->GetOperation(), foAND);
    EXPECT_EQ(g->GetFilter()->Insert(0)->GetOperation(), foSHORT);
    EXPECT_EQ(g->GetFilter()->HasFilterType(7), ftContains) << "no condition";
}

TEST(Filter, TheFiveOperationsJoinConditionsInOrder)
{
    struct Case {
        TFilterOperation first;
        TFilterOperation second;
        std::vector<String> shown;
    };
    const Case cases[] = {
        {foNONE, foAND, {L"x"}},
        {foNONE, foOR, {L"x", L"x", L"n"}},
        {foNONE, foXOR, {L"x", L"n"}},
        {foNONE, foNONE, {L"x", L"n"}},
        // A failing foSHORT condition ends the test of its row.
        {foSHORT, foOR, {L"x", L"x"}},
    };
    for (const Case& c : cases) {
        TValuesGrid g({{L"x", L"y"}, {L"x", L"n"}, {L"n", L"y"}, {L"n", L"n"}});
        TFilterData* a = g->GetFilter()->Add();
        a->SetColumn(1);
        a->SetCondition(L"x");
        a->SetOperation(c.first);
        TFilterData* b = g->GetFilter()->Add();
        b->SetColumn(2);
        b->SetCondition(L"y");
        b->SetOperation(c.second);
        g->SetFilterActive(true);
        EXPECT_EQ(g.Shown(), c.shown) << c.first << " " << c.second;
    }
}

TEST(Filter, LevelsApplyNarrowAndComeOff)
{
    TValuesGrid g({{L"apple", L"1"}, {L"avocado", L"2"}, {L"banana", L"3"}, {L"abc", L"4"}, {L"kiwi", L"5"}});
    std::vector<short> progress;
    g->OnFilterProgress = [&](TObject*, short p) { progress.push_back(p); };
    TFilterData* data = g->GetFilter()->Add();
    data->SetColumn(1);
    data->SetCondition(L"a*");
    g->SetFilterActive(true);
    EXPECT_EQ(g.Shown(), (std::vector<String>{L"apple", L"avocado", L"abc"}));
    EXPECT_EQ(progress, (std::vector<short>{20, 40, 60, 80, 100, 100}));
    EXPECT_EQ(g->RealRowIndex(3), 4);
    g->SetFilterActive(false);
    EXPECT_EQ(g->GetRowCount(), 6);
    EXPECT_EQ(g->GetFilter()->Count(), 1) << "the conditions stay";
    g->SetFilterActive(true);
    EXPECT_EQ(g->GetRowCount(), 4) << "the same conditions again";

    // Two conditions in one level: everything comes back, one condition goes.
    TValuesGrid h({{L"apple", L"1"}, {L"avocado", L"2"}, {L"banana", L"3"}, {L"abc", L"4"}});
    h->GetFilter()->Add()->SetColumn(1);
    h->GetFilter()->Item(0)->SetCondition(L"a*");
    h->GetFilter()->Add()->SetColumn(2);
    h->GetFilter()->Item(1)->SetCondition(L"<3");
    h->SetFilterActive(true);
    EXPECT_EQ(h.Shown(), (std::vector<String>{L"apple", L"avocado"}));
    h->RemoveAllFilters();
    EXPECT_EQ(h->GetRowCount(), 5);
    EXPECT_EQ(h->GetFilter()->Count(), 1);
    EXPECT_EQ(h->GetFilterLevel(), 0);
}

TEST(Filter, NarrowDownNarrowsAsTheTextGrowsAndWidensAsItShrinks)
{
    TValuesGrid g({{L"apple", L""}, {L"crab", L""}, {L"Kiwi", L""}, {L"bread", L""}});
    g->NarrowDown(L"a", 1);
    EXPECT_EQ(g.Shown(), (std::vector<String>{L"apple", L"crab", L"bread"}));
    g->NarrowDown(L"ab", 1);
    EXPECT_EQ(g.Shown(), (std::vector<String>{L"crab"}));
    EXPECT_EQ(g->GetFilterLevel(), 2);
    g->NarrowDown(L"a", 1);
    EXPECT_EQ(g.Shown(), (std::vector<String>{L"apple", L"crab", L"bread"}));
    g->NarrowDown(L"KI", -1);
    EXPECT_EQ(g.Shown(), (std::vector<String>{L"Kiwi"})) << "whole rows, without case";
    g->NarrowDown(L"", 1);
    EXPECT_EQ(g->GetRowCount(), 5);
    EXPECT_EQ(g->NumHiddenRows(), 0);

    // Two levels: removing one leaves one, which answers False.
    g->NarrowDown(L"r", 1);
    g->NarrowDown(L"ra", 1);
    EXPECT_FALSE(g->RemoveLastFilter());
    EXPECT_EQ(g->GetFilterLevel(), 1);
}

TEST(Filter, TheFilterFileIsWrittenExactlyAndReadBack)
{
    TempDir dir;
    const std::wstring file = dir.File(L"filter.ini");
    TFilledGrid<> g(3, 3);
    TFilterData* a = g->GetFilter()->Add();
    a->SetColumn(2);
    a->SetCondition(L"\"Main Office\"|b*");
    a->SetData(fcNormal);
    a->SetFilterType(ftEqual);
    a->SetFriendlyName(L"Main Office|b");
    TFilterData* b = g->GetFilter()->Add();
    b->SetColumn(1);
    b->SetCondition(L">5");
    b->SetOperation(foXOR);
    b->SetMethod(fmLiteral);
    b->SetCaseSensitive(false);
    b->SetEnabled(false);
    b->SetRemoveAccented(true);
    b->SetPrefix(L"$");
    b->SetSuffix(L" kg");
    g->SaveFilter(file);
    // The profile functions write a new file as UTF-16 with its byte-order mark.
    auto utf16 = [](const std::string& text) {
        std::string bytes = "\xFF\xFE";
        for (char ch : text)
            bytes += std::string{ch, '\0'};
        return bytes;
    };
    EXPECT_EQ(FileBytes(file), utf16("[FILTER]\r\nCOUNT=2\r\n"
                               "[ITEM0]\r\nCONDITION=\"Main Office\"|b*\r\nCOLUMN=2\r\nOPERATION=1\r\nMETHOD=0\r\n"
                               "CASE=1\r\nENABLED=1\r\nREMOVEACCENTED=0\r\nPREFIX=\r\nSUFFIX=\r\n"
                               "FRIENDLYNAME=Main Office|b\r\n"
                               "[ITEM1]\r\nCONDITION=>5\r\nCOLUMN=1\r\nOPERATION=3\r\nMETHOD=1\r\nCASE=0\r\n"
                               "ENABLED=0\r\nREMOVEACCENTED=1\r\nPREFIX=$\r\nSUFFIX=\" kg\"\r\nFRIENDLYNAME=\r\n"));

    TFilledGrid<> h(3, 3);
    h->LoadFilter(file);
    ASSERT_EQ(h->GetFilter()->Count(), 2);
    const TFilterData* la = h->GetFilter()->Item(0);
    const TFilterData* lb = h->GetFilter()->Item(1);
    EXPECT_EQ(la->GetCondition(), L"\"Main Office\"|b*");
    EXPECT_EQ(la->GetColumn(), 2);
    EXPECT_EQ(la->GetOperation(), foNONE);
    EXPECT_EQ(la->GetFriendlyName(), L"Main Office|b");
    EXPECT_EQ(la->GetData(), fcVirtual) << "not stored";
    EXPECT_EQ(la->GetFilterType(), ftStartsWith) << "not stored";
    EXPECT_EQ(lb->GetOperation(), foXOR);
    EXPECT_EQ(lb->GetMethod(), fmLiteral);
    EXPECT_FALSE(lb->GetCaseSensitive());
    EXPECT_FALSE(lb->GetEnabled());
    EXPECT_TRUE(lb->GetRemoveAccented());
    EXPECT_EQ(lb->GetPrefix(), L"$");
    EXPECT_EQ(lb->GetSuffix(), L" kg");
}

TEST(Filter, BrokenFilterFilesEndAsTheyShould)
{
    TempDir dir;
    struct Case {
        const wchar_t* name;
        std::string bytes;
        int count;  // -1: the conditions are left as they were
        String firstCondition;
    };
    const Case cases[] = {
        {L"no count", "[ITEM0]\r\nCONDITION=a\r\n", -1, L""},
        {L"count not a number", "[FILTER]\r\nCOUNT=many\r\n[ITEM0]\r\nCONDITION=a\r\n", -1, L""},
        {L"count zero", "[FILTER]\r\nCOUNT=0\r\n", -1, L""},
        {L"count negative", "[FILTER]\r\nCOUNT=-4\r\n", -1, L""},
        {L"count far beyond the items", "[FILTER]\r\nCOUNT=2000000000\r\n[ITEM0]\r\nCONDITION=a\r\n", 1, L"a"},
        {L"a missing item reads as defaults", "[FILTER]\r\nCOUNT=3\r\n[ITEM1]\r\nCONDITION=b\r\n", 2, L""},
        {L"count but no items", "[FILTER]\r\nCOUNT=5\r\n", 0, L""},
        {L"bad numbers", "[FILTER]\r\nCOUNT=1\r\n[ITEM0]\r\nCONDITION=c\r\nOPERATION=99\r\nCOLUMN=x\r\n", 1, L"c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.name));
        const std::wstring file = dir.File(std::wstring(c.name) + L".ini");
        WriteBytes(file, c.bytes);
        TFilledGrid<> g(3, 3);
        g->GetFilter()->Add()->SetCondition(L"before");
        g->LoadFilter(file);
        if (c.count < 0) {
            ASSERT_EQ(g->GetFilter()->Count(), 1);
            EXPECT_EQ(g->GetFilter()->Item(0)->GetCondition(), L"before");
            continue;
        }
        ASSERT_EQ(g->GetFilter()->Count(), c.count);
        if (c.count > 0) {
            EXPECT_EQ(g->GetFilter()->Item(0)->GetCondition(), c.firstCondition);
            EXPECT_EQ(g->GetFilter()->Item(0)->GetOperation(), foSHORT);
            EXPECT_EQ(g->GetFilter()->Item(0)->GetColumn(), 0);
        }
    }
    TFilledGrid<> g(3, 3);
    g->GetFilter()->Add()->SetCondition(L"before");
    g->LoadFilter(dir.File(L"missing.ini"));
    EXPECT_EQ(g->GetFilter()->Count(), 1);
}
