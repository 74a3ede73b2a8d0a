// The kinds of value a text holds, with the locale's separators; the size
// limit rule; logical comparison and short dates.
#include <gtest/gtest.h>
#include "AdvUtil.h"
#include "SysUtils.h"

namespace {

struct TLocaleScope {
    TFormatSettings saved = FormatSettings;
    TLocaleScope(wchar_t decimal, wchar_t date, wchar_t time, wchar_t thousand = L',')
    {
        FormatSettings.DecimalSeparator = decimal;
        FormatSettings.ThousandSeparator = thousand;
        FormatSettings.DateSeparator = date;
        FormatSettings.TimeSeparator = time;
    }
    ~TLocaleScope() { FormatSettings = saved; }
};

} // namespace

TEST(ValueKind, DetectsByTheLocalesSeparators)
{
    struct Case {
        const wchar_t* text;
        Byte kind;
    };
    const Case english[] = {
        {L"42", vkInteger},      {L"123", vkInteger},     {L"-42", vkInteger},       {L"-12", vkInteger},
        {L"3.25", vkFloat},      {L"1.5", vkFloat},       {L"-0.5", vkFloat},        {L"1e10", vkFloatExponent},
        {L"2.5E-3", vkFloatExponent}, {L"1E5", vkFloatExponent}, {L"-1.5E-3", vkFloatExponent},
        {L"", vkText},           {L"abc", vkText},        {L"--4", vkText},          {L"1-2", vkText},
        {L"1.2.3", vkText},      {L"1e", vkText},         {L"E5", vkText},           {L"12/05/2020", vkDate},
        {L"12/05", vkDate},      {L"12//05", vkText},     {L"1//2", vkText},         {L"1/2/3/4", vkText},
        {L"/12", vkText},        {L"10:30", vkTime},      {L"10:30:15", vkTime},
        // Thousand groups of three make a number; shorter groups do not.
        {L"1,000", vkFloat},     {L"1,234,567", vkFloat}, {L"1,23,4", vkText},
        // A time separator after digits is enough for a time.
        {L"10:", vkTime},
        // The text is judged as it stands: blanks are characters too.
        {L" 7 ", vkText},
    };
    TLocaleScope locale(L'.', L'/', L':');
    for (const Case& c : english)
        EXPECT_EQ(DetectValueKind(c.text), c.kind) << c.text;

    TLocaleScope russian(L',', L'.', L':', L' ');
    EXPECT_EQ(DetectValueKind(L"3,25"), vkFloat);
    EXPECT_EQ(DetectValueKind(L"3.25"), vkDate);
    EXPECT_EQ(DetectValueKind(L"12.05.2020"), vkDate);
}

TEST(ValueKind, MinMaxLimits)
{
    struct Case {
        int value, min, max, expected;
    };
    const Case cases[] = {
        {50, 10, 10, 50}, {50, 0, 40, 40}, {5, 10, 0, 10}, {5, 10, 40, 10}, {50, 10, 40, 40}, {20, 10, 40, 20},
        {50, 0, 0, 50},   {-5, -1, 0, -5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ApplyMinMaxLimits(c.value, c.min, c.max), c.expected) << c.value << " " << c.min << " " << c.max;
}

TEST(ValueKind, LogicalComparisonAndShortDates)
{
    EXPECT_LT(CompareStrLogical(L"file9", L"file10"), 0);
    EXPECT_GT(CompareStrLogical(L"b", L"a"), 0);
    EXPECT_EQ(CompareStrLogical(L"x1", L"x1"), 0);

    EXPECT_EQ(ParseDateMDY(L"02/01/2020"), EncodeDate(2020, 2, 1));
    EXPECT_EQ(ParseDateDMY(L"02.01.2020"), EncodeDate(2020, 1, 2));
    EXPECT_EQ(ParseDateDMY(L"02-01-25"), EncodeDate(2025, 1, 2));
    EXPECT_EQ(ParseDateDMY(L"02-01-26"), EncodeDate(1926, 1, 2));
    for (const wchar_t* bad : {L"", L"2020", L"02/01-2020", L"31/02/2020", L"a/b/c", L"1/2/3/4"})
        EXPECT_EQ(ParseDateDMY(bad), 0) << bad;
}

TEST(ValueKind, CellTextsAreClassifiedByTheirOpeningAndTheirMarks)
{
    struct Case {
        const wchar_t* text;
        bool detectHTML;
        Byte kind;
    };
    const Case cases[] = {
        {L"=A1+1", true, ctkFormula},        {L"|\\\x04\x10", true, ctkPackedWide}, {L"{\\rtf1 x}", true, ctkRTF},
        {L"a<br>b", true, ctkHTML},          {L"<img src=\"x\">", true, ctkHTML},  {L"<b>x</b>", true, ctkHTML},
        {L"<control id=\"c\">", true, ctkHTML}, {L"a<br>b", false, ctkPlain},       {L"<b>bold", true, ctkPlain},
        {L"see http://x.org", true, ctkURL}, {L"mailto:a@b.org", false, ctkURL},  {L"x = 1", true, ctkPlain},
        {L"", true, ctkPlain},               {L"a</b", true, ctkHTML},             {L"a</b", false, ctkPlain},
        {L"x<Br", true, ctkHTML},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyCellText(c.text, c.detectHTML), c.kind) << testing::PrintToString(String(c.text));
    // Packed wide text of a formula is a formula; a lone packed "=" is not.
    EXPECT_EQ(ClassifyCellText(PackWideText(L"=A1+1"), true), ctkFormula);
    EXPECT_EQ(ClassifyCellText(PackWideText(L"="), true), ctkPackedWide);
    EXPECT_EQ(ClassifyCellText(PackWideText(L"a=b"), true), ctkPackedWide);
}

TEST(ValueKind, NumberTextsLoseWhatNoNumberHolds)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* number;
    };
    const Case english[] = {
        {L"$1,234.50", L"1234.50"}, {L"(12)", L"-12"}, {L"- 3e5 kg", L"-3e5"}, {L"7", L"7"},
        {L".5", L".5"},             {L"abc", L""},     {L"", L""},         {L"EUR 12", L"12"},
        {L"e-5", L"-5"},
    };
    TLocaleScope locale(L'.', L'/', L':');
    FormatSettings.ThousandSeparator = L',';
    for (const Case& c : english)
        EXPECT_EQ(NormalizeNumberText(c.text), c.number) << c.text;

    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    EXPECT_EQ(NormalizeNumberText(L"1.234,5 EUR"), L"1234.5");
    EXPECT_EQ(NormalizeNumberText(L"  (1.234,5)"), L"-1234.5");
    EXPECT_EQ(NormalizeNumberText(L"abc-12"), L"-12");
}
