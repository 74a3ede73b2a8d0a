// Integers and floats to and from text, Format and rounding.
#include <gtest/gtest.h>
#include "SysUtils.h"

namespace {

// Runs a test body with changed global settings and restores them after.
class SettingsGuard {
public:
    SettingsGuard() : saved_(FormatSettings) {}
    ~SettingsGuard() { FormatSettings = saved_; }

private:
    TFormatSettings saved_;
};

TFormatSettings UsSettings()
{
    TFormatSettings s;
    return s;
}

TFormatSettings GermanStyle()
{
    TFormatSettings s;
    s.DecimalSeparator = L',';
    s.ThousandSeparator = L'.';
    return s;
}

} // namespace

TEST(Conversion, IntegerTexts)
{
    struct Case {
        const wchar_t* text;
        bool valid;
        Integer value;
    } cases[] = {
        {L"0", true, 0},
        {L"-17", true, -17},
        {L"+17", true, 17},
        {L"  42", true, 42},
        {L"$FF", true, 255},
        {L"0x1f", true, 31},
        {L"-$10", true, -16},
        {L"$FFFFFFFF", true, -1},
        {L"2147483647", true, 2147483647},
        {L"-2147483648", true, -2147483647 - 1},
        {L"2147483648", false, 0},
        {L"42 ", false, 0},
        {L"", false, 0},
        {L"-", false, 0},
        {L"$", false, 0},
        {L"12a", false, 0},
        {L"1.5", false, 0},
    };
    for (const auto& c : cases) {
        Integer v = 12345;
        EXPECT_EQ(TryStrToInt(c.text, v), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(v, c.value) << c.text;
            EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
        } else {
            EXPECT_EQ(v, 12345) << "failure must leave the value alone: " << c.text;
            EXPECT_EQ(StrToIntDef(c.text, -9), -9) << c.text;
        }
    }
    try {
        StrToInt(L"abc");
        ADD_FAILURE() << "no error raised";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'abc' is not a valid integer value");
    }
    EXPECT_EQ(StrToInt64(L"9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64(L"-9223372036854775808"), INT64_MIN);
    EXPECT_THROW(StrToInt64(L"9223372036854775808"), EConvertError);
}

TEST(Conversion, IntToHexPadsAndShowsTwosComplement)
{
    EXPECT_EQ(IntToHex(255, 4), L"00FF");
    EXPECT_EQ(IntToHex(0x12345, 2), L"12345");
    EXPECT_EQ(IntToHex(0, 0), L"0");
    EXPECT_EQ(IntToHex(-1, 0), L"FFFFFFFFFFFFFFFF");
}

TEST(Conversion, ValReportsWhereReadingStopped)
{
    struct Case {
        const wchar_t* text;
        int code;
        double value;
    } cases[] = {
        {L"1.5", 0, 1.5},
        {L"-2.5e3", 0, -2500},
        {L"  7", 0, 7},
        {L"1,5", 2, 0},
        {L"12x", 3, 0},
        {L"", 1, 0},
        {L"1e", 3, 0},
        {L"-", 2, 0},
    };
    for (const auto& c : cases) {
        double v = -1;
        int code = -1;
        Val(c.text, v, code);
        EXPECT_EQ(code, c.code) << c.text;
        EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
    Integer i = 0;
    int code = 0;
    Val(L"12z4", i, code);
    EXPECT_EQ(code, 3);
}

TEST(Conversion, FloatTextsUseTheDecimalSeparator)
{
    const TFormatSettings german = GermanStyle();
    EXPECT_DOUBLE_EQ(StrToFloat(L"1,25", german), 1.25);
    EXPECT_DOUBLE_EQ(StrToFloat(L" -3.5E2 ", UsSettings()), -350);
    double v = 0;
    EXPECT_FALSE(TryStrToFloat(L"1.25", v, german));
    EXPECT_FALSE(TryStrToFloat(L"1.234,5", v, german)) << "no thousand separators";
    EXPECT_FALSE(TryStrToFloat(L"-", v, german));
    EXPECT_THROW(StrToFloat(L"abc", german), EConvertError);
    try {
        StrToFloat(L"x1", UsSettings());
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'x1' is not a valid floating point value");
    }

    SettingsGuard guard;
    FormatSettings.DecimalSeparator = L',';
    EXPECT_DOUBLE_EQ(StrToFloat(L"0,5"), 0.5);
    EXPECT_EQ(FloatToStr(0.5), L"0,5");
}

TEST(Conversion, FloatToStrGivesFifteenSignificantDigits)
{
    const TFormatSettings us = UsSettings();
    struct Case {
        double value;
        const wchar_t* text;
    } cases[] = {
        {0, L"0"},
        {1, L"1"},
        {-1.5, L"-1.5"},
        {0.1 + 0.2, L"0.3"},
        {1.0 / 3, L"0.333333333333333"},
        {123456789012345.0, L"123456789012345"},
        {1e15, L"1E15"},
        {1.5e20, L"1.5E20"},
        {0.0001, L"0.0001"},
        {0.00001, L"1E-5"},
        {-2.5e-7, L"-2.5E-7"},
        {100, L"100"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FloatToStr(c.value, us), c.text) << c.value;
    EXPECT_EQ(FloatToStr(2.5, GermanStyle()), L"2,5");
}

TEST(Conversion, FloatToStrFFormats)
{
    const TFormatSettings g = GermanStyle();
    EXPECT_EQ(FloatToStrF(1234567.891, ffFixed, 15, 2, g), L"1234567,89");
    EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2, g), L"1.234.567,89");
    EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 15, 2, g), L"0,00");
    EXPECT_EQ(FloatToStrF(1234.5, ffExponent, 4, 2, UsSettings()), L"1.235E+03");
    EXPECT_EQ(FloatToStrF(-0.5, ffNumber, 15, 0, UsSettings()), L"-1");
    TFormatSettings money = UsSettings();
    money.NegCurrFormat = 0;
    EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, money), L"($1,234.50)");
    money.NegCurrFormat = 1;
    EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, money), L"-$1,234.50");
    money.CurrencyString = L"₽";
    money.CurrencyFormat = 3;
    EXPECT_EQ(FloatToStrF(7, ffCurrency, 15, 0, money), L"7 ₽");
}

TEST(Conversion, FormatSpecifiers)
{
    const TFormatSettings us = UsSettings();
    struct Case {
        String text;
        const wchar_t* expected;
    } cases[] = {
        {Format(L"%d items", {42}, us), L"42 items"},
        {Format(L"%d", {-7}, us), L"-7"},
        {Format(L"%.8d", {123}, us), L"00000123"},
        {Format(L"%.3d", {-5}, us), L"-005"},
        {Format(L"%5d|%-5d|", {12, 34}, us), L"   12|34   |"},
        {Format(L"%s and %s", {L"this", String(L"that")}, us), L"this and that"},
        {Format(L"%.2s", {L"abc"}, us), L"ab"},
        {Format(L"%x", {255}, us), L"FF"},
        {Format(L"%.4x", {255}, us), L"00FF"},
        {Format(L"%x", {-1}, us), L"FFFFFFFF"},
        {Format(L"%.2f", {3.14159}, us), L"3.14"},
        {Format(L"%.2f", {2.675}, us), L"2.68"},
        {Format(L"%f", {1.0}, us), L"1.00"},
        {Format(L"%.0f", {2.5}, us), L"3"},
        {Format(L"%.2n", {1234567.891}, us), L"1,234,567.89"},
        {Format(L"%.0n", {-1234.0}, us), L"-1,234"},
        {Format(L"%n", {0.5}, us), L"0.50"},
        {Format(L"%g", {0.5}, us), L"0.5"},
        {Format(L"%g", {1234.5678}, us), L"1234.5678"},
        {Format(L"%g", {1e20}, us), L"1E20"},
        {Format(L"%e", {1000.0}, us), L"1.00000000000000E+003"},
        {Format(L"%.3e", {-0.000123}, us), L"-1.23E-004"},
        {Format(L"%u", {-1}, us), L"4294967295"},
        {Format(L"100%%", {}, us), L"100%"},
        {Format(L"%1:s %0:s %s", {L"a", L"b"}, us), L"b a b"},
        {Format(L"%*d", {4, 7}, us), L"   7"},
        {Format(L"%.*f", {1, 2.25}, us), L"2.3"},
        {Format(L"%d%s", {5, L'x'}, us), L"5x"},
        {Format(L"%.2f", {1.5}, GermanStyle()), L"1,50"},
        {Format(L"%.1n", {1234.56}, GermanStyle()), L"1.234,6"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, c.expected);
    EXPECT_EQ(Format(L"%d-%s", 3, L"x"), L"3-x") << "the variadic form";
}

TEST(Conversion, FormatRejectsBadSpecifiersAndArguments)
{
    EXPECT_THROW(Format(L"%d", {1.5}), EConvertError);
    EXPECT_THROW(Format(L"%f", {1}), EConvertError);
    EXPECT_THROW(Format(L"%s", {1}), EConvertError);
    EXPECT_THROW(Format(L"%d %d", {1}), EConvertError);
    EXPECT_THROW(Format(L"%q", {1}), EConvertError);
    EXPECT_THROW(Format(L"%", {1}), EConvertError);
    try {
        Format(L"%d", {L"x"});
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"Format '%d' invalid or incompatible with argument");
    }
}

TEST(Conversion, RoundSendsHalvesToTheEvenNeighbour)
{
    struct Case {
        double value;
        Int64 rounded;
        Int64 truncated;
    } cases[] = {
        {12.5, 12, 12}, {37.5, 38, 37}, {0.5, 0, 0}, {1.5, 2, 1}, {2.5, 2, 2},
        {-2.5, -2, -2}, {-3.5, -4, -3}, {2.4999, 2, 2}, {-0.6, -1, 0}, {1e12 + 0.5, 1000000000000, 1000000000000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Round(c.value), c.rounded) << c.value;
        EXPECT_EQ(Trunc(c.value), c.truncated) << c.value;
    }
    EXPECT_DOUBLE_EQ(Frac(-2.25), -0.25);
    EXPECT_DOUBLE_EQ(Int(-2.75), -2);
}
