// String helpers: 1-based positions, replacing, trimming, case and quoting.
#include <gtest/gtest.h>
#include "SysUtils.h"

TEST(Strings, PositionsCountFromOne)
{
    EXPECT_EQ(Pos(L"lo", L"hello"), 4);
    EXPECT_EQ(Pos(L"x", L"hello"), 0);
    EXPECT_EQ(Pos(L"", L"hello"), 0);
    EXPECT_EQ(PosEx(L"l", L"hello", 4), 4);
    EXPECT_EQ(PosEx(L"l", L"hello", 5), 0);
    EXPECT_EQ(PosEx(L"l", L"hello", 9), 0);
    EXPECT_EQ(Copy(L"hello", 2, 3), L"ell");
    EXPECT_EQ(Copy(L"hello", 4, 100), L"lo");
    EXPECT_EQ(Copy(L"hello", 6, 1), L"");
    EXPECT_EQ(Copy(L"hello", 0, 2), L"he");
    EXPECT_EQ(LastDelimiter(L"\\.", L"c:\\a.b\\c.txt"), 9);
    EXPECT_EQ(LastDelimiter(L";", L"abc"), 0);

    String s = L"hello";
    Delete(s, 2, 2);
    EXPECT_EQ(s, L"hlo");
    Delete(s, 10, 1);
    EXPECT_EQ(s, L"hlo");
    Insert(L"el", s, 2);
    EXPECT_EQ(s, L"hello");
    Insert(L"!", s, 100);
    EXPECT_EQ(s, L"hello!");
}

TEST(Strings, ReplaceHonoursFlags)
{
    struct Case {
        const wchar_t* flagsName;
        TReplaceFlags flags;
        const wchar_t* expected;
    } cases[] = {
        {L"first", {}, L"xbAB ab"},
        {L"all", {rfReplaceAll}, L"xbAB xb"},
        {L"first, any case", {rfIgnoreCase}, L"xbAB ab"},
        {L"all, any case", {rfReplaceAll, rfIgnoreCase}, L"xbxB xb"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StringReplace(L"abAB ab", L"a", L"x", c.flags), c.expected) << c.flagsName;
    EXPECT_EQ(StringReplace(L"Привет мир", L"ПРИВЕТ", L"Пока", {rfIgnoreCase}), L"Пока мир");
    EXPECT_EQ(StringReplace(L"aaa", L"", L"x", {rfReplaceAll}), L"aaa");
}

TEST(Strings, TrimRemovesBlanksAndControls)
{
    EXPECT_EQ(Trim(L" \t a b \r\n"), L"a b");
    EXPECT_EQ(TrimLeft(L"  a "), L"a ");
    EXPECT_EQ(TrimRight(L"  a \x01"), L"  a");
    EXPECT_EQ(Trim(L" \t "), L"");
    // A non-breaking space is text, not a blank.
    EXPECT_EQ(Trim(L"\x00A0x\x00A0"), L"\x00A0x\x00A0");
}

TEST(Strings, AsciiCaseLeavesCyrillicButLocaleCaseChangesIt)
{
    EXPECT_EQ(UpperCase(L"abc Привет"), L"ABC Привет");
    EXPECT_EQ(LowerCase(L"ABC ПРИВЕТ"), L"abc ПРИВЕТ");
    EXPECT_EQ(AnsiUpperCase(L"abc Привет ё"), L"ABC ПРИВЕТ Ё");
    EXPECT_EQ(AnsiLowerCase(L"ABC ПРИВЕТ"), L"abc привет");
    EXPECT_TRUE(AnsiSameText(L"Привет", L"пРИВЕТ"));
    EXPECT_FALSE(SameText(L"Привет", L"пРИВЕТ"));
    EXPECT_TRUE(SameText(L"Hello", L"hELLO"));
    EXPECT_LT(CompareStr(L"B", L"a"), 0);
    EXPECT_GT(AnsiCompareText(L"B", L"a"), 0);
    EXPECT_LT(AnsiCompareStr(L"a", L"B"), 0);
    EXPECT_LT(AnsiCompareText(L"апельсин", L"Банан"), 0);
}

TEST(Strings, QuotingDoublesAndUndoublesTheQuote)
{
    EXPECT_EQ(QuotedStr(L"it's"), L"'it''s'");
    EXPECT_EQ(AnsiQuotedStr(L"a\"b", L'"'), L"\"a\"\"b\"");
    EXPECT_EQ(AnsiDequotedStr(L"\"a\"\"b\"", L'"'), L"a\"b");
    EXPECT_EQ(AnsiDequotedStr(L"plain", L'"'), L"plain");
    EXPECT_EQ(AnsiDequotedStr(L"\"open", L'"'), L"\"open");
}

TEST(Strings, CodePageConversionsRoundTrip)
{
    const String text = L"Текст ü €";
    EXPECT_EQ(UTF8ToString(UTF8Encode(text)), text);
    EXPECT_EQ(UTF8Encode(L"я"), "\xD1\x8F");
    EXPECT_EQ(AnsiToWide(WideToAnsi(L"Текст", 1251), 1251), L"Текст");
    EXPECT_EQ(WideToAnsi(L"Ж", 1251), "\xC6");
}
