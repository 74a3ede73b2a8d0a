// The shared text routines: characters, strings, line breaks, addresses,
// cell references and dates, and the clipboard's HTML block read back the
// way a receiving program reads it.
#include "AdvUtil.h"
#include "Classes.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

struct TSeparators {
    TFormatSettings saved = FormatSettings;
    TSeparators(wchar_t decimal, wchar_t thousand, wchar_t date = L'/', wchar_t time = L':')
    {
        FormatSettings.DecimalSeparator = decimal;
        FormatSettings.ThousandSeparator = thousand;
        FormatSettings.DateSeparator = date;
        FormatSettings.TimeSeparator = time;
    }
    ~TSeparators() { FormatSettings = saved; }
};

} // namespace

TEST(TextHelpers, CharacterClassesFollowTheLocaleSeparators)
{
    const TSeparators locale(L',', L'.');
    struct Case {
        wchar_t ch;
        bool number, floatText, signedFloat, syntax, editKey, wordBreak;
    } cases[] = {
        {L'7', true, true, true, true, true, false},       {L'\x0663', true, true, true, true, true, false},
        {L',', false, true, true, false, true, true},      {L'.', false, true, true, true, true, true},
        {L'e', false, true, true, true, false, false},     {L'+', false, false, true, true, false, false},
        {L'-', false, false, true, true, true, true},       {L' ', false, false, false, false, false, true},
        {L'\'', false, false, false, false, false, true},   {wchar_t(8), false, false, false, false, true, false},
        {wchar_t(27), false, false, false, false, true, false}, {L'x', false, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "character " << int(c.ch));
        EXPECT_EQ(IsNumberChar(c.ch), c.number);
        EXPECT_EQ(IsNumericChar(c.ch), c.number);
        EXPECT_EQ(IsNumberOrMinusChar(c.ch), c.number || c.ch == L'-');
        EXPECT_EQ(IsFloatTextChar(c.ch), c.floatText);
        EXPECT_EQ(IsSignedFloatChar(c.ch), c.signedFloat);
        EXPECT_EQ(IsNumberSyntaxChar(c.ch), c.syntax);
        EXPECT_EQ(IsNumericEditKey(c.ch), c.editKey);
        EXPECT_EQ(IsWordBreakChar(c.ch), c.wordBreak);
    }
    EXPECT_EQ(GetDecimalSeparatorChar(), L',');
    EXPECT_EQ(GetThousandSeparatorChar(), L'.');
}

TEST(TextHelpers, IntegersAndPositions)
{
    EXPECT_EQ(ClampInt(5, 0, 3), 3);
    EXPECT_EQ(ClampInt(-5, 0, 3), 0);
    EXPECT_EQ(ClampInt(2, 0, 3), 2);
    EXPECT_EQ(IntMax(2, 3), 3);
    EXPECT_EQ(IntMin(2, 3), 2);
    EXPECT_TRUE(CellInGridRect(TRect(1, 1, 3, 3), 3, 3));
    EXPECT_FALSE(CellInGridRect(TRect(1, 1, 3, 3), 4, 1));

    int pos = 99;
    EXPECT_EQ(FindCharPos(L'z', L"abc", pos), 0);
    EXPECT_EQ(pos, 99) << "untouched when absent";
    EXPECT_EQ(FindCharPos(L'b', L"abcb", pos), 2);
    EXPECT_EQ(pos, 2);
    EXPECT_EQ(FindSubstrPos(L"cb", L"abcb", pos), 3);
    EXPECT_EQ(PosInUpperCase(L"\x0416X", L"a\x0436x"), 2);
    EXPECT_EQ(PosInUpperCase(L"x", L"X"), 0) << "the searched text is taken as given";
    EXPECT_EQ(CountCharOccurrences(L'a', L';', L"a;a;b"), 2);
}

TEST(TextHelpers, SingleQuotesAmongDoubledOnes)
{
    struct Case {
        const wchar_t* text;
        int first, count;
    } cases[] = {
        {L"a\"b", 2, 1},        {L"a\"\"b", 0, 0},     {L"\"\"\"x", 3, 1},    {L"ab\"", 3, 1},
        {L"\"a\",\"b\"", 1, 4}, {L"a\"\"", 3, 1},      {L"", 0, 0},
    };
    for (const Case& c : cases) {
        int pos = -1;
        EXPECT_EQ(FindSingleChar(L'"', c.text, pos), c.first) << testing::PrintToString(String(c.text));
        EXPECT_EQ(CountSingleChars(L'"', c.text), c.count) << testing::PrintToString(String(c.text));
    }
}

TEST(TextHelpers, ListsTokensAndQuotes)
{
    TOwned<TStringList> list(New<TStringList>());
    SplitStringToList(L';', L"a;;b;", list.get());
    ASSERT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Get(1), L"");
    EXPECT_EQ(list->Get(3), L"") << "the empty last part is kept";
    EXPECT_EQ(ConcatStrings(list.get()), L"ab");

    String s = L"one,two", token = L"x";
    ExtractToken(s, L',', token);
    EXPECT_EQ(token, L"one");
    EXPECT_EQ(s, L"two");
    ExtractToken(s, L',', token);
    EXPECT_EQ(token, L"");
    EXPECT_EQ(s, L"two");

    EXPECT_EQ(DoubleQuoteChars(L"a\"b\""), L"a\"\"b\"\"");
    EXPECT_EQ(UndoubleChar(L'"', L"a\"\"b\"\"\"c"), L"a\"b\"\"c");
    String password = L"secret";
    FillStringChars(password, L'*');
    EXPECT_EQ(password, L"******");
}

TEST(TextHelpers, NamesAreCapitalisedAsNames)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* name;
    } cases[] = {
        {L"mcdonald", L"McDonald"},           {L"JOHN SMITH III", L"John Smith III"},
        {L"o'brien-smith", L"O'Brien-Smith"}, {L"ann mcbride", L"Ann McBride"},
        {L"louis i", L"Louis I"},             {L"\x0438\x0432\x0430\x043D", L"\x0418\x0432\x0430\x043D"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CapitalizeName(c.text), c.name) << testing::PrintToString(String(c.text));
}

TEST(TextHelpers, DiacriticsGoFromTextsOfAnyLength)
{
    EXPECT_EQ(RemoveDiacritics(L"Cr\x00E8me br\x00FBl\x00E9" L"e"), L"Creme brulee");
    EXPECT_EQ(RemoveDiacritics(L""), L"");
    // Long texts are not cut: the accents at the far end go too.
    const String longText = String(600, L'x') + L"\x00E9\x00E0";
    EXPECT_EQ(RemoveDiacritics(longText), String(600, L'x') + L"ea");
}

TEST(TextHelpers, OEMTextRoundTrips)
{
    String text = L"Stra\x00DF" L"e \x00E4";
    StringToOEM(text);
    for (wchar_t ch : text)
        EXPECT_LT(ch, 256);
    OEMToString(text);
    EXPECT_EQ(text, L"Stra\x00DF" L"e \x00E4");
}

TEST(TextHelpers, LineBreakConversions)
{
    struct Case {
        const char* name;
        String (*convert)(const String&);
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {"CR to <br>", [](const String& s) { return CRToBRTags(s); }, L"a\r\nb", L"a<br>\nb"},
        {"\\n to CR", [](const String& s) { return EscapedNToCR(s); }, L"a\\nb\\", L"a\rb\\"},
        {"CR to \\n", [](const String& s) { return CRToEscapedN(s); }, L"a\r\nb", L"a\\nb"},
        {"VT to CR LF", [](const String& s) { String t = s; VTToCRLF(t); return t; }, L"a\vb", L"a\r\nb"},
        {"CR LF to LF", [](const String& s) { String t = s; CRLFToLF(t); return t; }, L"a\r\nb\rc", L"a\nb\rc"},
        {"CR to ~", [](const String& s) { String t = s; CRToTilde(t); return t; }, L"a\r\nb", L"a~b"},
        {"~ to CR LF", [](const String& s) { String t = s; TildeToCRLF(t); return t; }, L"a~b", L"a\r\nb"},
        {"a lone ^ is empty", [](const String& s) { String t = s; TildeToCRLF(t); return t; }, L"^", L""},
        {"no CR", [](const String& s) { return RemoveCRChars(s); }, L"a\r\nb\r", L"a\nb"},
        {"CR to LF", [](const String& s) { return CRToLF(s); }, L"a\r\nb", L"a\n\nb"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.convert(c.in), c.out) << c.name;

    // Line breaks and zero characters survive a line-based store and come back.
    const String text(L"a\r\nb\0c", 6);
    const String encoded = EncodeLineBreakChars(text);
    EXPECT_EQ(encoded, String(L"a\t\bb\x01" L"c"));
    EXPECT_EQ(DecodeLineBreakChars(encoded, true), text);
    EXPECT_EQ(DecodeLineBreakChars(encoded, false), L"a");
    EXPECT_EQ(EncodeLineBreakChars(L"tab\tonly"), L"tab\tonly");
    EXPECT_EQ(DecodeLineBreakChars(L"x\ty", true), L"x\ty");
}

TEST(TextHelpers, FirstLinesAndTheWidestLine)
{
    String s = L"one\r\ntwo\rthree", line;
    TakeFirstLine(s, true, line);
    EXPECT_EQ(line, L"one");
    EXPECT_EQ(s, L"two\rthree");
    TakeFirstLine(s, true, line);
    EXPECT_EQ(s, L"three");
    TakeFirstLine(s, true, line);
    EXPECT_EQ(line, L"three");
    EXPECT_EQ(s, L"");
    s = L"a\r\nb";
    TakeFirstLine(s, false, line);
    EXPECT_EQ(s, L"");

    TOwned<TBitmap> bitmap(New<TBitmap>(10, 10));
    TCanvas* canvas = bitmap->GetCanvas();
    canvas->GetFont()->SetName(L"Tahoma");
    // Every line counts, also those after an empty one.
    EXPECT_EQ(GetWidestLine(canvas, L"ab\r\n\r\nlongest line\r\nmid"), L"longest line");
    EXPECT_EQ(GetWidestLine(canvas, L"iiii\r\nWW"), L"WW") << "measured, not counted";
    EXPECT_EQ(GetWidestLine(canvas, L""), L"");
}

TEST(TextHelpers, AddressesBecomeLinks)
{
    EXPECT_TRUE(ContainsURL(L"a://b"));
    EXPECT_TRUE(ContainsURL(L"mailto:x"));
    EXPECT_FALSE(ContainsURL(L"MAILTO:x"));
    struct Strip {
        const wchar_t* in;
        const wchar_t* out;
    } strips[] = {{L"http://host/a", L"host/a"}, {L"mailto:me@host", L"me@host"}, {L"plain", L"plain"}};
    for (const Strip& c : strips) {
        String s = c.in;
        StripURLScheme(s);
        EXPECT_EQ(s, c.out);
    }

    struct Case {
        const wchar_t* text;
        const wchar_t* prefix;
        const wchar_t* html;  // nullptr: no link
    } cases[] = {
        {L"go www.Host.org/a_b now", L"WWW.", L"go <a href=\"www.Host.org/a_b\">www.Host.org/a_b</a> now"},
        // The address stops at the first character no address holds.
        {L"x http://h/p?q=1", L"HTTP://", L"x <a href=\"http://h/p\">http://h/p</a>?q=1"},
        {L"<b>http://a.b/c</b>", L"HTTP://", L"&lt;b&gt;<a href=\"http://a.b/c\">http://a.b/c</a>&lt;/b&gt;"},
        {L"\"http://a.b\"onclick=x", L"HTTP://", L"\"<a href=\"http://a.b\">http://a.b</a>\"onclick=x"},
        {L"two http://a http://b", L"HTTP://", L"two <a href=\"http://a\">http://a</a> http://b"},
        {L"no address", L"HTTP://", nullptr},
    };
    for (const Case& c : cases) {
        String html = L"unchanged";
        EXPECT_EQ(InsertURLLink(c.text, c.prefix, html), c.html != nullptr) << testing::PrintToString(String(c.text));
        EXPECT_EQ(html, c.html ? c.html : L"unchanged");
    }
}

TEST(TextHelpers, ColoursCellReferencesAndDates)
{
    EXPECT_EQ(ColorToHTMLHex(RGB(0x12, 0xAB, 0xF0)), L"12ABF0");
    EXPECT_EQ(ColorToHTMLHex(clRed), L"FF0000");

    struct Ref {
        const wchar_t* text;
        bool ok;
        TPoint cell;
    } refs[] = {
        {L"R2C3", true, {3, 2}}, {L"r10c1", true, {1, 10}}, {L"RC1", false, {}},  {L"R1C", false, {}},
        {L"C1R1", false, {}},    {L"R1X1", false, {}},      {L"RaC3", false, {}},
    };
    for (const Ref& r : refs) {
        TPoint cell(-1, -1);
        EXPECT_EQ(ParseR1C1CellRef(r.text, cell), r.ok) << testing::PrintToString(String(r.text));
        if (r.ok) {
            EXPECT_EQ(cell, r.cell);
        }
    }

    const TSeparators locale(L'.', L',', L'/');
    EXPECT_TRUE(HasDateSeparators(L"1/2/3"));
    EXPECT_FALSE(HasDateSeparators(L"/2/3")) << "not at the start";
    EXPECT_FALSE(HasDateSeparators(L"1//3")) << "not twice in a row";
    EXPECT_FALSE(HasDateSeparators(L"1/2"));

    EXPECT_EQ(ParseDateDMY(L"31-12-99"), EncodeDate(1999, 12, 31));
    EXPECT_EQ(ParseDateDMY(L"1/2/25"), EncodeDate(2025, 2, 1));

    const TDateTime day = EncodeDate(2020, 1, 31);
    struct Step {
        int years, months, days;
        TDateTime expected;
    } steps[] = {
        {0, 0, 3, EncodeDate(2020, 2, 3)},   {2, 0, 0, EncodeDate(2022, 1, 31)},
        {0, -1, 0, EncodeDate(2019, 12, 31)}, {0, 11, 0, EncodeDate(2020, 12, 31)},
        {1, 1, 0, day + 0.5},                 {0, 0, 0, day + 0.5},
    };
    for (const Step& s : steps)
        EXPECT_EQ(StepDate(s.years, s.months, s.days, day, 0.5), s.expected)
            << s.years << " " << s.months << " " << s.days;
    EXPECT_EQ(StepDate(0, 12, 0, EncodeDate(2020, 5, 5), 0), EncodeDate(2021, 5, 5));
}

namespace {

// The number after Name in the block's header.
size_t HeaderNumber(const std::string& block, const std::string& name)
{
    const size_t at = block.find(name);
    EXPECT_NE(at, std::string::npos) << name;
    return at == std::string::npos ? 0 : std::stoul(block.substr(at + name.size(), 8));
}

} // namespace

TEST(ClipboardHTML, OffsetsCountTheBytesOfTheUTF8Block)
{
    // A Russian fragment: two bytes a letter in UTF-8.
    const String fragment = L"<b>\x041F\x0440\x0438\x0432\x0435\x0442</b>, \x043C\x0438\x0440";
    String html = fragment;
    WrapCFHTML(html);
    const std::string block = UTF8Encode(html);

    EXPECT_TRUE(block.starts_with("Version:1.0\r\nStartHTML:00000097\r\nEndHTML:"));
    const size_t startHTML = HeaderNumber(block, "StartHTML:");
    const size_t endHTML = HeaderNumber(block, "EndHTML:");
    const size_t startFragment = HeaderNumber(block, "StartFragment:");
    const size_t endFragment = HeaderNumber(block, "EndFragment:");
    EXPECT_EQ(block.substr(startHTML, 9), "<!DOCTYPE");
    EXPECT_EQ(endHTML, block.size());
    EXPECT_EQ(block.substr(startFragment, endFragment - startFragment), UTF8Encode(fragment));
    EXPECT_TRUE(block.substr(0, startFragment).ends_with("<!--StartFragment-->"));
    EXPECT_TRUE(block.substr(endFragment).starts_with("<!--EndFragment-->"));
    EXPECT_NE(block.find("charset=utf-8"), std::string::npos);
    for (const char* line : {"StartHTML:", "EndHTML:", "StartFragment:", "EndFragment:"}) {
        const size_t at = block.find(line) + strlen(line);
        EXPECT_EQ(block.substr(at + 8, 2), "\r\n") << line << " has eight digits";
    }

    String plain = L"<b>x</b>";
    WrapCFHTML(plain);
    const std::string plainBlock = UTF8Encode(plain);
    EXPECT_EQ(HeaderNumber(plainBlock, "EndFragment:") - HeaderNumber(plainBlock, "StartFragment:"), 8u);
}

TEST(LayeredWindows, AttributesReachARealLayeredWindow)
{
    HWND window = CreateWindowExW(WS_EX_LAYERED, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(CallSetLayeredWindowAttributes(window, 0, 128, LWA_ALPHA));
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    DestroyWindow(window);
    EXPECT_FALSE(CallSetLayeredWindowAttributes(nullptr, 0, 128, LWA_ALPHA)) << "a failure is reported";
}
