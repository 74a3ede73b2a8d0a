// The text tests behind the typed-input rules: number kinds, separators and
// hexadecimal digits, under the separators of different locales.
#include "AdvDropDown.h"
#include <climits>
#include <gtest/gtest.h>

namespace {

struct KindCase {
    const wchar_t* text;
    int kind;
};

// Thousand separator ',' and decimal separator '.'.
const KindCase englishCases[] = {
    {L"", nkText},         {L"-", nkInteger},    {L"12", nkInteger},  {L"-12", nkInteger},
    {L"1,234.5", nkFloat}, {L"12.5", nkFloat},   {L"-0.5", nkFloat},  {L"12,34", nkFloat},
    {L",5", nkText},       {L"1,,2", nkText},    {L"FF", nkHex},      {L"ff", nkHex},
    {L"1A", nkHex},        {L"1e5", nkHex},      {L"FF-", nkHex},     {L"1-2-3", nkText},
    {L"--", nkText},       {L"1.2.3", nkText},   {L"0x1F", nkText},   {L"12 345", nkText},
    {L"xyz", nkText},      {L"1.5A", nkText},
};

// Thousand separator '.' and decimal separator ','.
const KindCase germanCases[] = {
    {L"1.234,5", nkFloat}, {L"1.234.567,8", nkFloat}, {L".5", nkText},
    {L"1.2.3", nkText},    {L"1,2,3", nkText},        {L"1234,5", nkFloat},
};

// Thousand separator ' ' and decimal separator ','.
const KindCase spaceCases[] = {
    {L"1 234,5", nkText},
    {L"1234,5", nkFloat},
    {L"1234", nkInteger},
};

class TypedInputTextTest : public testing::Test {
protected:
    void TearDown() override { FormatSettings = saved_; }
    void UseSeparators(wchar_t thousand, wchar_t decimal)
    {
        FormatSettings.ThousandSeparator = thousand;
        FormatSettings.DecimalSeparator = decimal;
    }
    static void ExpectKinds(const KindCase* begin, const KindCase* end)
    {
        for (const KindCase* c = begin; c != end; ++c)
            EXPECT_EQ(DetectNumberKind(c->text), c->kind) << testing::PrintToString(String(c->text));
    }

private:
    TFormatSettings saved_ = FormatSettings;
};

TEST_F(TypedInputTextTest, NumberKindFollowsTheSeparatorsOfTheMoment)
{
    UseSeparators(L',', L'.');
    ExpectKinds(std::begin(englishCases), std::end(englishCases));
    UseSeparators(L'.', L',');
    ExpectKinds(std::begin(germanCases), std::end(germanCases));
    UseSeparators(L' ', L',');
    ExpectKinds(std::begin(spaceCases), std::end(spaceCases));
}

TEST_F(TypedInputTextTest, ThousandSeparatorsAreRemovedByTheLocale)
{
    UseSeparators(L',', L'.');
    EXPECT_EQ(RemoveThousandSeparators(L"1,234,567.5"), L"1234567.5");
    UseSeparators(L'.', L',');
    EXPECT_EQ(RemoveThousandSeparators(L"1.234.567,5"), L"1234567,5");
    EXPECT_TRUE(RemoveThousandSeparators(String()).empty());
}

TEST(TypedInputText, HexDigitsAndValues)
{
    const std::pair<wchar_t, int> digits[] = {
        {L'0', 0},  {L'9', 9},  {L'A', 10}, {L'F', 15}, {L'a', 10}, {L'f', 15},
        {L'G', 0},  {L'g', 0},  {L'-', 0},  {L' ', 0},  {L'@', 0},  {L'`', 0},
    };
    for (auto [ch, value] : digits)
        EXPECT_EQ(HexDigitValue(ch), value) << static_cast<char>(ch);

    const std::pair<const wchar_t*, Integer> values[] = {
        {L"", 0},
        {L"1G", 16}, // G counts as 0 but keeps its place
        {L"G1", 1},
        {L"ff", 255},
        {L"Ab12", 0xAB12},
        {L"7FFFFFFF", INT_MAX},
        {L"80000000", INT_MIN},
        {L"FFFFFFFF", -1},
        {L"100000000", 0}, // wraps at 32 bits
        {L"123456789", 0x23456789},
    };
    for (auto [text, value] : values)
        EXPECT_EQ(HexToInt(text), value) << testing::PrintToString(String(text));
}

TEST(TypedInputText, RangeSeparatorsAndCompareKeys)
{
    for (wchar_t ch : {L',', L'-', L';'})
        EXPECT_TRUE(IsRangeSeparator(ch)) << static_cast<char>(ch);
    for (wchar_t ch : {L'.', L' ', L':', L'0', L'+'})
        EXPECT_FALSE(IsRangeSeparator(ch)) << static_cast<char>(ch);

    EXPECT_EQ(CaseCompareKey(L"Abc", true), L"Abc");
    EXPECT_EQ(CaseCompareKey(L"Abc", false), L"ABC");
    EXPECT_EQ(CaseCompareKey(L"\u00e9lan", false), L"\u00c9LAN") << "upper case follows the locale";
}

} // namespace
