// Spreadsheet number formats: the section chosen for a value, colours,
// literals, digit runs, date and elapsed-time runs, text values, and formats
// that end in the middle of something (they render what they can, never more).
#include "asgxlsfmt.h"
#include <gtest/gtest.h>
#include <cmath>
#include <limits>

namespace {

const String NoSection = L"###################";

// Runs every case with "." and "," as the process's separators.
class ExcelFormatTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = FormatSettings;
        FormatSettings.DecimalSeparator = L'.';
        FormatSettings.ThousandSeparator = L',';
        asgxlsfmt_Initialize();
    }
    void TearDown() override
    {
        asgxlsfmt_Finalize();
        FormatSettings = saved_;
    }
    // The locale the renderer formats dates and times with.
    static TFormatSettings Locale() { return TFormatSettings::Create(LOCALE_USER_DEFAULT); }

private:
    TFormatSettings saved_;
};

struct TNumberCase {
    double value;
    const wchar_t* format;
    const wchar_t* shown;
};

const TNumberCase NumberCases[] = {
    // Sections by sign; the second section shows the absolute value.
    {1.5, L"0.00;(0.00)", L"1.50"},
    {-1.5, L"0.00;(0.00)", L"(1.50)"},
    {-1.5, L"0.00", L"-1.50"},
    {0, L"0;-0;\"zero\"", L"zero"},
    {0, L"0;-0", L"0"},
    {-2, L"0;;0", L""},
    // Conditions and the minus sign they keep or drop.
    {-5, L"[>100]0;0", L"-5"},
    {50, L"[>100]0;0", L"50"},
    {500, L"[>100]\"big \"0;0", L"big 500"},
    {0, L"[<0]0;[>0]0", L"###################"},
    {-2, L"[=-2]0;0", L"2"},
    {-7, L"[<0]\"minus \"0;0", L"minus 7"},
    {3, L"[>=3]0.0;[<3]0", L"3.0"},
    // Digit runs, percent, exponents, literals, currency brackets.
    {0.25, L"0%", L"25%"},
    {1234.5, L"#,##0", L"1,235"},
    {1234.5, L"#,##0.00", L"1,234.50"},
    {12345, L"0.00E+00", L"1.23E+04"},
    {5, L"0 \"kg\"", L"5 kg"},
    {5, L"\"$\"#,##0", L"$5"},
    {5, L"0_)", L"5 "},
    {5, L"**0", L"*5"},
    {5, L"\\#0", L"#5"},
    {1234.5, L"[$\u20AC-407]#,##0.00", L"\u20AC1,234.50"},
    {5, L"[$-409]0", L"5"},
    {0.5, L"#.?", L".5"},
    {2.5, L"General", L"2.5"},
    {-2.5, L"General;General", L"2.5"},
    // Elapsed time and times.
    {1.5, L"[h]:mm", L"36:00"},
    {0.5, L"[mm]", L"720"},
    {1.5, L"[h]", L"36"},
    {-1.5, L"[h]", L"-36"},
    {0.001, L"[ss]", L"86"},
    {0.75, L"hh", L"18"},
};

TEST_F(ExcelFormatTest, NumbersShowByTheirSection)
{
    for (const TNumberCase& c : NumberCases)
        EXPECT_EQ(FormatExcelValue(Variant(c.value), c.format), String(c.shown))
            << "value " << c.value << " format " << testing::PrintToString(String(c.format));
    // Integers and single-precision values take the same road as doubles.
    EXPECT_EQ(FormatExcelValue(Variant(-1234), L"#,##0;(#,##0)"), L"(1,234)");
    EXPECT_EQ(FormatExcelValue(Variant(static_cast<Int64>(1) << 40), L"0"), L"1099511627776");
}

TEST_F(ExcelFormatTest, DateAndTimeRunsUseTheLocale)
{
    const TFormatSettings loc = Locale();
    const String ts(1, loc.TimeSeparator), ds(1, loc.DateSeparator);
    EXPECT_EQ(FormatExcelValue(Variant(0.75), L"hh:mm"), L"18" + ts + L"00");
    // Without an hour before it, "mm" is the month.
    const double when = EncodeDate(2026, 3, 15) + EncodeTime(10, 20, 30, 0);
    EXPECT_EQ(FormatExcelValue(Variant(when), L"mm:ss"), L"03" + ts + L"30");
    EXPECT_EQ(FormatExcelValue(Variant(when), L"hh:mm:ss"), L"10" + ts + L"20" + ts + L"30");
    EXPECT_EQ(FormatExcelValue(Variant(when), L"dd/mm/yyyy"), L"15" + ds + L"03" + ds + L"2026");
    EXPECT_EQ(FormatExcelValue(Variant::FromDateTime(when), L"yyyy-mm-dd"), L"2026-03-15");
    // The 1904 system counts from 1 January 1904.
    TColor color = 0;
    EXPECT_EQ(FormatExcelValueColor(Variant(0.0), L"dd/mm/yyyy", true, nullptr, color),
              L"01" + ds + L"01" + ds + L"1904");
    // A 12-hour clock with a blank before its designator.
    EXPECT_EQ(FormatExcelValue(Variant(0.75), L"h:mm AM/PM"), L"6" + ts + L"00 PM");
    EXPECT_EQ(FormatExcelValue(Variant(0.25), L"h:mm am/pm"), L"6" + ts + L"00 AM");
    // A negative date has no day to show.
    EXPECT_EQ(FormatExcelValue(Variant::FromDateTime(-3), L"dd/mm/yyyy"), NoSection);
}

TEST_F(ExcelFormatTest, FlagsTellWhatWasShown)
{
    struct TFlagCase {
        const wchar_t* format;
        bool hasTime, hasDate;
    };
    const TFlagCase cases[] = {
        {L"dd/mm/yyyy", false, true}, {L"hh:mm", true, false}, {L"[h]", true, false},
        {L"yyyy h:mm", true, true},  {L"0.00", false, false},  {L"AM/PM", true, false},
    };
    for (const TFlagCase& c : cases) {
        bool hasTime = true, hasDate = true;
        TColor color = 0;
        FormatExcelValueEx(Variant(45000.5), c.format, false, nullptr, hasTime, hasDate, color);
        EXPECT_EQ(hasTime, c.hasTime) << testing::PrintToString(String(c.format));
        EXPECT_EQ(hasDate, c.hasDate) << testing::PrintToString(String(c.format));
    }
}

TEST_F(ExcelFormatTest, LocaleDateAndTimeBracketsTakeTheGivenSettings)
{
    TFormatSettings settings = Locale();
    settings.LongDateFormat = L"yyyy-mm-dd";
    settings.LongTimeFormat = L"hh-nn";
    const Variant when = Variant::FromDateTime(EncodeDate(2026, 3, 15) + EncodeTime(10, 20, 0, 0));
    bool hasTime = false, hasDate = false;
    TColor color = 0;
    EXPECT_EQ(FormatExcelValueEx(when, L"[$-f800]dddd", false, &settings, hasTime, hasDate, color), L"2026-03-15");
    EXPECT_TRUE(hasDate);
    EXPECT_FALSE(hasTime);
    EXPECT_EQ(FormatExcelValueEx(when, L"[$-F400]", false, &settings, hasTime, hasDate, color), L"10-20");
    EXPECT_TRUE(hasTime);
    EXPECT_FALSE(hasDate);
    // Without settings the user's locale gives the long date.
    const TFormatSettings loc = Locale();
    EXPECT_EQ(FormatExcelValue(when, L"[$-F800]"), FormatDateTime(loc.LongDateFormat, when.ToDateTime(), loc));
}

TEST_F(ExcelFormatTest, ColourNamesAreExactAndChangeOnlyWhenNamed)
{
    struct TColourCase {
        Variant value;
        const wchar_t* format;
        const wchar_t* shown;
        TColor colour;
    };
    const TColor untouched = 0x123456;
    const TColourCase cases[] = {
        {Variant(2.0), L"[Red]0.00", L"2.00", 0x0000FF},
        {Variant(2.0), L"[red]0.00", L"2.00", untouched},
        {Variant(-2.0), L"[Blue]0;[Magenta]0", L"2", 0xFF00FF},
        {Variant(2.0), L"0;[Green]0", L"2", untouched},
        {Variant(L"abc"), L"[Blue]General", L"abc", 0xFF0000},
        {Variant(L"abc"), L"[Blue]0.00", L"abc", untouched},
        {Variant(L"abc"), L"[Yellow]@", L"abc", 0x00FFFF},
        {Variant(2.0), L"[Cyan", L"2", untouched},
    };
    for (const TColourCase& c : cases) {
        TColor colour = untouched;
        EXPECT_EQ(FormatExcelValueColor(c.value, c.format, false, nullptr, colour), String(c.shown))
            << testing::PrintToString(String(c.format));
        EXPECT_EQ(colour, c.colour) << testing::PrintToString(String(c.format));
    }
}

TEST_F(ExcelFormatTest, OtherKindsOfValue)
{
    EXPECT_EQ(FormatExcelValue(Variant(true), L"0.00"), L"TRUE");
    EXPECT_EQ(FormatExcelValue(Variant(false), L"@"), L"FALSE");
    EXPECT_EQ(FormatExcelValue(Variant(), L"0.00"), L"");
    EXPECT_EQ(FormatExcelValue(Variant::Null(), L"0.00"), L"");
    EXPECT_EQ(FormatExcelValue(Variant(2.5), L""), Variant(2.5).ToString());
    // Texts: the text section, "@" and literals around it.
    EXPECT_EQ(FormatExcelValue(Variant(L"abc"), L"@\" kg\""), L"abc kg");
    EXPECT_EQ(FormatExcelValue(Variant(L"abc"), L"0.00"), L"abc");
    EXPECT_EQ(FormatExcelValue(Variant(L"abc"), L"0;0;0;\"<\"@\">\""), L"<abc>");
    EXPECT_EQ(FormatExcelValue(Variant(L"abc"), L"[$x-1]@_)"), L"xabc ");
    // Not a number and the infinities show as the platform writes them.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(FormatExcelValue(Variant(std::nan("")), L"0.00"), FloatToStr(std::nan("")));
    EXPECT_EQ(FormatExcelValue(Variant(inf), L"[h]:mm"), FloatToStr(inf));
    EXPECT_EQ(FormatExcelValue(Variant(-inf), L"0;(0)"), FloatToStr(-inf));
}

// Formats that stop in the middle of an escape, a quote or a bracket, and
// values too large for a date or an elapsed time.
struct TMalformedCase {
    Variant value;
    const wchar_t* format;
    const wchar_t* shown;
};

TEST_F(ExcelFormatTest, MalformedFormatsRenderWhatTheyCan)
{
    const TMalformedCase cases[] = {
        {Variant(5.0), L"0\\", L"5"},
        {Variant(5.0), L"0*", L"5"},
        {Variant(5.0), L"0_", L"5"},
        {Variant(5.0), L"\\", L""},
        {Variant(5.0), L"_", L""},
        {Variant(5.0), L"\"abc", L"abc"},
        {Variant(5.0), L"0\"abc", L"5abc"},
        {Variant(5.0), L"[", L"5"},
        {Variant(5.0), L"[$", L"5"},
        {Variant(5.0), L"[$-", L"5"},
        {Variant(5.0), L"[$USD", L""},
        {Variant(5.0), L"0[$-409", L"5"},
        {Variant(5.0), L"0.00[", L"5"},
        {Variant(5.0), L"[>5", L"5"},
        {Variant(7.0), L"[>5];0", L""},
        {Variant(5.0), L"[<=abc]0", L"5"},
        {Variant(5.0), L"[>]0;\"x\"", L"5"},
        {Variant(5.0), L";;;;", L""},
        {Variant(5.0), L"0;0;0;@;0.00", L"5"},
        {Variant(1.5), L"[h", L"1.5"},
        {Variant(0.75), L"h\\", L"18"},
        {Variant(0.75), L"hh\\:mm", L"18:00"},
        {Variant::FromDateTime(45000), L"[$-F800", L""},
        {Variant(1e300), L"[h]", L"##"},
        {Variant(1e15), L"[ss]", L"##"},
        {Variant(-1e300), L"[mm]", L"##"},
        {Variant(1e300), L"dd/mm/yyyy", L"##"},
        {Variant(-1e7), L"yyyy", L"##"},
        {Variant(L"abc"), L"@\\", L"abc"},
        {Variant(L"abc"), L"@\"x", L"abcx"},
        {Variant(L"abc"), L"[@", L"abc"},
        {Variant(L"abc"), L"@*", L"abc"},
    };
    for (const TMalformedCase& c : cases)
        EXPECT_EQ(FormatExcelValue(c.value, c.format), String(c.shown))
            << testing::PrintToString(String(c.format));
}

} // namespace
