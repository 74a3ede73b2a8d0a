// Filter expressions as the grid's filters and search footer use them: the
// table holds expression, value, case rule and answer.
#include "AdvUtil.h"
#include "SysUtils.h"
#include <gtest/gtest.h>

namespace {

// A locale with day-first dates, "." as date and ":" as time separator and
// "." as decimal point.
struct TFilterLocale {
    TFormatSettings saved = FormatSettings;
    TFilterLocale()
    {
        FormatSettings.DecimalSeparator = L'.';
        FormatSettings.ThousandSeparator = L',';
        FormatSettings.DateSeparator = L'.';
        FormatSettings.TimeSeparator = L':';
        FormatSettings.ShortDateFormat = L"dd.MM.yyyy";
    }
    ~TFilterLocale() { FormatSettings = saved; }
};

struct Case {
    const wchar_t* filter;
    const wchar_t* value;
    bool caseSensitive;
    bool matches;
};

const Case cases[] = {
    // Plain texts and the case rule.
    {L"=abc", L"ABC", false, true},
    {L"=abc", L"ABC", true, false},
    {L"abc", L"abc", true, true},
    {L"  abc  ", L"abc", true, true},
    // Comparisons: numbers, then date-times, then texts.
    {L">10", L"11", false, true},
    {L">10", L"10", false, false},
    {L">=10", L"10", false, true},
    {L"<5", L"4.5", false, true},
    {L"<=5", L"5", false, true},
    {L"< 5", L"6", false, false},
    {L">b", L"c", false, true},
    {L">10", L"abc", false, true},
    {L">1,000", L"1,500", false, true},
    {L">31.12.2019", L"01.01.2020", false, true},
    {L"<01.01.2020", L"31.12.2019", false, true},
    {L">\"b\"", L"c", false, true},
    // Wildcards.
    {L"a*", L"abc", false, true},
    {L"a*", L"a", false, true},
    {L"*c", L"abc", false, true},
    {L"a?c", L"abc", false, true},
    {L"a?c", L"ac", false, false},
    {L"*", L"", false, true},
    {L"a**c", L"ac", false, true},
    {L"", L"", false, true},
    {L"", L"x", false, false},
    // Negation.
    {L"!a*", L"bcd", false, true},
    {L"!a*", L"abc", false, false},
    {L"!test", L"TEST", false, false},
    // Quotes: the empty value, and quoted spaces and operators.
    {L"\"\"", L"", false, true},
    {L"\"\"", L"x", false, false},
    {L"\"a b\"", L"a b", true, true},
    {L"a b", L"ab", true, true},
    {L"\"a|b\"", L"a|b", true, true},
    {L"a\"\"b", L"a\"b", true, true},
    // Operators, strictly left to right.
    {L"a*|b*&*c", L"bc", false, true},
    {L"a*|b*&*c", L"abc", false, true},
    {L"a*|b*&*c", L"ab", false, false},
    {L"x;y", L"y", false, true},
    {L"x^y", L"x", false, true},
    {L"(a*|b*)&!*x", L"bx", false, false},
    {L"(a*|b*)&!*x", L"by", false, true},
    {L"c&(a*|b*)", L"c", false, false},
    {L"((a))", L"a", false, true},
    // A group without its closing parenthesis runs to the end.
    {L"(a|b", L"b", false, true},
    {L"(a|b", L"c", false, false},
    {L"x|(a", L"a", false, true},
    {L"(", L"", false, true},
};

} // namespace

TEST(FilterExpression, AnswersEachCaseOfTheTable)
{
    const TFilterLocale locale;
    for (const Case& c : cases)
        EXPECT_EQ(MatchFilterExpression(c.filter, c.value, c.caseSensitive), c.matches)
            << testing::PrintToString(String(c.filter)) << " against " << testing::PrintToString(String(c.value))
            << (c.caseSensitive ? " (case-sensitive)" : "");
}

TEST(FilterExpression, ManyStarsAnswerAtOnceWithTheSameAnswers)
{
    const String as(40, L'a');
    EXPECT_FALSE(MatchFilterExpression(L"*a*a*a*a*a*b", as, true));
    EXPECT_TRUE(MatchFilterExpression(L"*a*a*a*a*a*b", as + L"b", true));
    EXPECT_TRUE(MatchFilterExpression(L"*a*a*a*a*a*", as, true));
    EXPECT_FALSE(MatchFilterExpression(L"*a*a*a*a*a*", L"aaaa", true)) << "five a needed";
    EXPECT_TRUE(MatchFilterExpression(L"!*a*a*a*a*a*b", as, true));
    EXPECT_TRUE(MatchFilterExpression(L"*?*?*?*x*?*", String(30, L'y') + L"x" + String(30, L'y'), true));
    EXPECT_FALSE(MatchFilterExpression(L"*?*?*?*x*?*", String(60, L'y') + L"x", true));
}

TEST(FilterExpression, PatternsAndConditionsAlone)
{
    const TFilterLocale locale;
    // A comparison pair inside one pattern: "&" needs both, "^" either.
    EXPECT_TRUE(MatchFilterPattern(L">5&<10", L"7"));
    EXPECT_FALSE(MatchFilterPattern(L">5&<10", L"12"));
    EXPECT_TRUE(MatchFilterPattern(L"<5^>10", L"12"));
    EXPECT_FALSE(MatchFilterPattern(L"<5^>10", L"7"));
    EXPECT_TRUE(MatchFilterCondition(L"\"\"", L"", true));
    EXPECT_TRUE(MatchFilterCondition(L"\x0436*", L"\x0416\x0416", false)) << "upper-cased by the locale";
}

TEST(FilterExpression, HelpersFindOperatorsAndGroupsOutsideQuotes)
{
    EXPECT_EQ(RemoveSpacesOutsideQuotes(L"a b \"c d\" e"), L"ab\"c d\"e");
    EXPECT_EQ(FindClosingParenthesis(L"(a(b)c)d"), 7);
    EXPECT_EQ(FindClosingParenthesis(L"(a(b)c"), 0);
    wchar_t op = L'x';
    int pos = 0;
    EXPECT_TRUE(FindOperatorOutsideQuotes(L"&|", L"\"a&b\"|c", op, pos));
    EXPECT_EQ(op, L'|');
    EXPECT_EQ(pos, 6);
    EXPECT_FALSE(FindOperatorOutsideQuotes(L"&|", L"\"a&b\"", op, pos));
    EXPECT_EQ(op, 0);
    EXPECT_EQ(pos, -1);

    const TFilterLocale locale;
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    EXPECT_EQ(NumberTextToDotDecimal(L"1.234,5"), L"1234.5");
}

TEST(FilterExpression, LocaleDateTimes)
{
    const TFilterLocale locale;
    struct DateCase {
        const wchar_t* text;
        bool ok;
        TDateTime expected;
    } dates[] = {
        {L"31.12.2020 10:30", true, EncodeDate(2020, 12, 31) + EncodeTime(10, 30, 0, 0)},
        {L"31.12.2020 10:30:15", true, EncodeDate(2020, 12, 31) + EncodeTime(10, 30, 15, 0)},
        {L"31.12.2020", true, EncodeDate(2020, 12, 31)},
        // A time part without its separator: the date is kept, the answer is no.
        {L"31.12.2020 10", false, EncodeDate(2020, 12, 31)},
        {L"32.12.2020", false, -1},
        {L"1.13.2020", false, -1},
        {L"31.2.2020", false, -1},
        {L"31.12.2020 24:00", false, -1},
        {L"31.12.2020 10:60", false, -1},
        {L"31.12", false, -1},
        {L"a.b.c", false, -1},
    };
    for (const DateCase& d : dates) {
        TDateTime dt = -1;
        EXPECT_EQ(ParseLocaleDateTime(d.text, dt), d.ok) << testing::PrintToString(String(d.text));
        EXPECT_DOUBLE_EQ(dt, d.expected) << testing::PrintToString(String(d.text));
    }

    // The order of the fields follows the short date format.
    FormatSettings.ShortDateFormat = L"yyyy/MM/dd";
    FormatSettings.DateSeparator = L'/';
    TDateTime dt = 0;
    ASSERT_TRUE(ParseLocaleDateTime(L"2021/03/04", dt));
    EXPECT_EQ(dt, EncodeDate(2021, 3, 4));
}
