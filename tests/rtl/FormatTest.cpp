// FormatFloat and FormatDateTime against the class library's documented
// outputs, dates and their edge cases, reading dates and times, and the
// format settings of a locale.
#include <gtest/gtest.h>
#include "SysUtils.h"

namespace {

TFormatSettings Us()
{
    return TFormatSettings();
}

TFormatSettings German()
{
    TFormatSettings s;
    s.DecimalSeparator = L',';
    s.ThousandSeparator = L'.';
    s.DateSeparator = L'.';
    s.ShortDateFormat = L"dd.MM.yyyy";
    return s;
}

TDateTime At(Word y, Word mo, Word d, Word h = 0, Word mi = 0, Word s = 0, Word ms = 0)
{
    return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, ms);
}

} // namespace

TEST(FormatFloat, DocumentedPatterns)
{
    struct Case {
        const wchar_t* format;
        double value;
        const wchar_t* text;
    } cases[] = {
        {L"0", 1234, L"1234"},        {L"0", -1234, L"-1234"},         {L"0", 0.5, L"1"},
        {L"0", 0, L"0"},              {L"0.00", 1234, L"1234.00"},     {L"0.00", -1234, L"-1234.00"},
        {L"0.00", 0.5, L"0.50"},      {L"0.00", 0, L"0.00"},           {L"#.##", 1234, L"1234"},
        {L"#.##", -1234, L"-1234"},   {L"#.##", 0.5, L".5"},           {L"#.##", 0, L""},
        {L"#,##0.00", 1234, L"1,234.00"}, {L"#,##0.00", -1234, L"-1,234.00"}, {L"#,##0.00", 0.5, L"0.50"},
        {L"#,##0.00;(#,##0.00)", -1234, L"(1,234.00)"}, {L"#,##0.00;(#,##0.00)", 0.5, L"0.50"},
        {L"#,##0.00;;Zero", 0, L"Zero"}, {L"#,##0.00;;Zero", -1234, L"-1,234.00"},
        {L"0.000E+00", 1234, L"1.234E+03"}, {L"0.000E+00", -1234, L"-1.234E+03"},
        {L"0.000E+00", 0.5, L"5.000E-01"}, {L"0.000E+00", 0, L"0.000E+00"},
        {L"#.###E-0", 1234, L"1.234E3"}, {L"#.###E-0", 0.5, L"5E-1"}, {L"#.###E-0", 0, L"0E0"},
        {L"#,##0", 1234.5, L"1,235"}, {L"#,##0", 1234567, L"1,234,567"}, {L"#,##0", 12, L"12"},
        {L"0.00", 2.675, L"2.68"},    {L"0.00", 1.005, L"1.01"},       {L"0.0", -0.04, L"0.0"},
        {L"\"$\"#,##0.00", 1234.5, L"$1,234.50"}, {L"0 'kg'", 12, L"12 kg"}, {L"00-00", 123, L"01-23"},
        {L"#0-00", 123, L"1-23"},
        {L"000", 7, L"007"},          {L"#0.0#", 3.14159, L"3.14"},    {L"#0.0#", 3.1, L"3.1"},
        {L"0.00", 1e20, L"100000000000000000000.00"}, {L"0;-0;\"nil\"", 0.2, L"nil"},
        {L"x;y", -1, L"y"},           {L"", 1.5, L"1.5"},
    };
    const TFormatSettings us = Us();
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloat(c.format, c.value, us), c.text) << c.format << " with " << c.value;
    EXPECT_EQ(FormatFloat(L"#,##0.00", 1234.5, German()), L"1.234,50");
}

TEST(FormatDateTime, SpecifiersAndSettings)
{
    const TDateTime t = At(2024, 3, 5, 14, 7, 9, 45);
    struct Case {
        const wchar_t* format;
        TDateTime value;
        const wchar_t* text;
    } cases[] = {
        {L"yyyy-mm-dd hh:nn:ss.zzz", t, L"2024-03-05 14:07:09.045"},
        {L"d/m/yy", t, L"5/3/24"},
        {L"dddd, mmmm d", t, L"Tuesday, March 5"},
        {L"ddd mmm", t, L"Tue Mar"},
        {L"h:mm AM/PM", t, L"2:07 PM"},
        {L"hh:mm am/pm", t, L"02:07 pm"},
        {L"h a/p", t, L"2 p"},
        {L"hh:nn ampm", t, L"02:07 PM"},
        {L"mm:ss", t, L"03:09"},
        {L"h:n:s z", t, L"14:7:9 45"},
        {L"c", t, L"3/5/2024 2:07:09 PM"},
        {L"c", EncodeDate(2024, 3, 5), L"3/5/2024"},
        {L"ddddd", t, L"3/5/2024"},
        {L"dddddd", t, L"Tuesday, March 5, 2024"},
        {L"t", t, L"2:07 PM"},
        {L"tt", t, L"2:07:09 PM"},
        {L"\"Today is\" dddd", t, L"Today is Tuesday"},
        {L"'h' hh", t, L"h 14"},
        {L"yy", EncodeDate(2005, 1, 1), L"05"},
        {L"h:nn ampm", EncodeTime(0, 5, 0, 0), L"12:05 AM"},
        {L"h:nn ampm", EncodeTime(12, 0, 0, 0), L"12:00 PM"},
        {L"dd/mm/yyyy", 0, L"30/12/1899"},
    };
    const TFormatSettings us = Us();
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.format, c.value, us), c.text) << c.format;
    EXPECT_EQ(FormatDateTime(L"dd/mm/yyyy hh:nn", t, German()), L"05.03.2024 14:07");
    EXPECT_EQ(DateToStr(t, German()), L"05.03.2024");
    EXPECT_EQ(TimeToStr(t, us), L"2:07:09 PM");
    EXPECT_EQ(DateTimeToStr(t, us), L"3/5/2024 2:07:09 PM");
}

TEST(Dates, EncodingCountsFromTheEpochAndRejectsInvalidParts)
{
    struct Valid {
        Word y, m, d;
        double serial;
    } valid[] = {
        {1899, 12, 30, 0}, {1900, 1, 1, 2}, {2000, 1, 1, 36526}, {2000, 2, 29, 36585},
        {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1899, 12, 29, -1},
    };
    for (const auto& c : valid) {
        EXPECT_DOUBLE_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        Word y, m, d;
        DecodeDate(c.serial, y, m, d);
        EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d) << c.serial;
    }
    struct Invalid {
        Word y, m, d;
    } invalid[] = {{2023, 2, 29}, {1900, 2, 29}, {2024, 13, 1}, {2024, 0, 1}, {0, 1, 1}, {2024, 4, 31}, {2024, 1, 0}, {10000, 1, 1}};
    for (const auto& c : invalid) {
        TDateTime out = -7;
        EXPECT_FALSE(TryEncodeDate(c.y, c.m, c.d, out)) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(out, -7);
        EXPECT_THROW(EncodeDate(c.y, c.m, c.d), EConvertError);
    }
    try {
        EncodeDate(2023, 2, 29);
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"Invalid argument to date encode");
    }
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(1, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(1, 0, 0, 1000), EConvertError);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
}

TEST(Dates, DecodingTimesAndWeekdays)
{
    Word h, m, s, ms, y, mo, d;
    DecodeTime(At(2024, 3, 5, 23, 59, 59, 999), h, m, s, ms);
    EXPECT_EQ((std::vector<int>{h, m, s, ms}), (std::vector<int>{23, 59, 59, 999}));
    // Before the epoch the date counts back and the time still runs forward.
    DecodeDate(-1.25, y, mo, d);
    DecodeTime(-1.25, h, m, s, ms);
    EXPECT_EQ((std::vector<int>{y, mo, d, h}), (std::vector<int>{1899, 12, 29, 6}));
    // A fraction a hair below midnight rounds into the next day.
    DecodeDate(2.9999999999, y, mo, d);
    DecodeTime(2.9999999999, h, m, s, ms);
    EXPECT_EQ((std::vector<int>{y, mo, d, h, m}), (std::vector<int>{1900, 1, 2, 0, 0}));

    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 5)), 3) << "Tuesday; Sunday is 1";
    EXPECT_EQ(DayOfWeek(0), 7) << "the epoch was a Saturday";
    EXPECT_EQ(DayOfWeek(-1), 6);

    SYSTEMTIME st;
    DateTimeToSystemTime(At(2024, 3, 5, 14, 7, 9, 45), st);
    EXPECT_EQ(st.wDayOfWeek, 2);
    EXPECT_DOUBLE_EQ(SystemTimeToDateTime(st), At(2024, 3, 5, 14, 7, 9, 45));
    EXPECT_LT(std::abs(Now() - (Date() + Time())), 1.0 / 86400);
}

TEST(Dates, IncMonthKeepsTheDayWhereItCan)
{
    struct Case {
        TDateTime from;
        int months;
        TDateTime to;
    } cases[] = {
        {EncodeDate(2024, 1, 31), 1, EncodeDate(2024, 2, 29)},
        {EncodeDate(2023, 1, 31), 1, EncodeDate(2023, 2, 28)},
        {EncodeDate(2024, 3, 31), -1, EncodeDate(2024, 2, 29)},
        {EncodeDate(2024, 11, 15), 3, EncodeDate(2025, 2, 15)},
        {EncodeDate(2024, 1, 15), -12, EncodeDate(2023, 1, 15)},
        {At(2024, 5, 10, 6), 1, At(2024, 6, 10, 6)},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(IncMonth(c.from, c.months), c.to) << FormatDateTime(L"yyyy-mm-dd", c.from, Us());
}

TEST(Dates, ReadingDatesAndTimes)
{
    TFormatSettings us = Us();
    us.TwoDigitYearCenturyWindow = 0;
    Word year, m, d;
    DecodeDate(Date(), year, m, d);
    struct Case {
        const wchar_t* text;
        bool valid;
        TDateTime value;
    } dates[] = {
        {L"3/5/2024", true, EncodeDate(2024, 3, 5)},
        {L" 3/5/2024 ", true, EncodeDate(2024, 3, 5)},
        {L"3/5/24", true, EncodeDate(static_cast<Word>(year - year % 100 + 24), 3, 5)},
        {L"3/5", true, EncodeDate(year, 3, 5)},
        {L"2/29/2023", false, 0}, {L"13/5/2024", false, 0}, {L"3-5-2024", false, 0},
        {L"", false, 0}, {L"3/5/2024x", false, 0}, {L"3", false, 0}, {L"3/", false, 0},
    };
    for (const auto& c : dates) {
        TDateTime v = -1;
        EXPECT_EQ(TryStrToDate(c.text, v, us), c.valid) << c.text;
        if (c.valid)
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
    EXPECT_DOUBLE_EQ(StrToDate(L"05.03.2024", German()), EncodeDate(2024, 3, 5));
    TFormatSettings iso = Us();
    iso.ShortDateFormat = L"yyyy-MM-dd";
    iso.DateSeparator = L'-';
    EXPECT_DOUBLE_EQ(StrToDate(L"2024-03-05", iso), EncodeDate(2024, 3, 5));

    struct TimeCase {
        const wchar_t* text;
        bool valid;
        TDateTime value;
    } times[] = {
        {L"14:07", true, EncodeTime(14, 7, 0, 0)},
        {L"2:07 PM", true, EncodeTime(14, 7, 0, 0)},
        {L"12:00 AM", true, 0},
        {L"12:30 pm", true, EncodeTime(12, 30, 0, 0)},
        {L"14:07:09.5", true, EncodeTime(14, 7, 9, 500)},
        {L"2 PM", true, EncodeTime(14, 0, 0, 0)},
        {L"25:00", false, 0}, {L"14", false, 0}, {L"13:00 PM", false, 0}, {L"10:60", false, 0},
    };
    for (const auto& c : times) {
        TDateTime v = -1;
        EXPECT_EQ(TryStrToTime(c.text, v, us), c.valid) << c.text;
        if (c.valid)
            EXPECT_NEAR(v, c.value, 1e-9) << c.text;
    }

    EXPECT_NEAR(StrToDateTime(L"3/5/2024 14:07:09", us), At(2024, 3, 5, 14, 7, 9), 1e-9);
    EXPECT_DOUBLE_EQ(StrToDateTime(L"3/5/2024", us), EncodeDate(2024, 3, 5));
    EXPECT_NEAR(StrToDateTime(L"14:07", us), EncodeTime(14, 7, 0, 0), 1e-9);
    try {
        StrToDateTime(L"x", us);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'x' is not a valid date and time");
    }
    EXPECT_THROW(StrToDate(L"31/31/2024", us), EConvertError);
    EXPECT_THROW(StrToTime(L"noon", us), EConvertError);
    // What DateTimeToStr writes, StrToDateTime reads.
    const TDateTime t = At(2031, 12, 1, 23, 5, 1);
    EXPECT_NEAR(StrToDateTime(DateTimeToStr(t, us), us), t, 1e-9);
}

TEST(Dates, TwoDigitYearsFollowTheCenturyWindow)
{
    Word year, m, d;
    DecodeDate(Date(), year, m, d);
    TFormatSettings s = Us();
    s.TwoDigitYearCenturyWindow = 50;
    const int pivot = year - 50;   // two-digit years land in [pivot, pivot + 99]
    for (int yy : {0, 24, 49, 50, 75, 99}) {
        TDateTime v = StrToDate(L"1/1/" + Format(L"%.2d", {yy}), s);
        Word y2, m2, d2;
        DecodeDate(v, y2, m2, d2);
        EXPECT_EQ(y2 % 100, yy);
        EXPECT_GE(y2, pivot) << yy;
        EXPECT_LE(y2, pivot + 99) << yy;
    }
}

TEST(FormatSettingsTest, LocaleDefaults)
{
    const TFormatSettings ru = TFormatSettings::Create(MAKELCID(MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), SORT_DEFAULT));
    EXPECT_EQ(ru.DecimalSeparator, L',');
    EXPECT_EQ(ru.DateSeparator, L'.');
    EXPECT_EQ(ru.ShortDateFormat, L"dd.MM.yyyy");
    EXPECT_EQ(TimeToStr(EncodeTime(14, 5, 0, 0), ru), L"14:05:00") << "24-hour clock, minutes as minutes";
    EXPECT_GT(ru.LongMonthNames[0][0], 0x400) << "Cyrillic month names";
    EXPECT_EQ(FormatDateTime(L"ddddd", EncodeDate(2024, 3, 5), ru), L"05.03.2024");
    EXPECT_DOUBLE_EQ(StrToFloat(L"1,5", ru), 1.5);

    const TFormatSettings us = TFormatSettings::Create(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
    EXPECT_EQ(us.ShortDateFormat, L"M/d/yyyy");
    EXPECT_EQ(us.ShortTimeFormat, L"h:nn AMPM");
    EXPECT_EQ(us.TimeAMString, L"AM");
    EXPECT_EQ(us.LongDayNames[0], L"Sunday");
    EXPECT_EQ(us.ShortMonthNames[11], L"Dec");

    const TFormatSettings inv = TFormatSettings::Invariant();
    EXPECT_EQ(FormatDateTime(L"ddddd t", At(2024, 3, 5, 9, 4), inv), L"03/05/2024 09:04");
}
