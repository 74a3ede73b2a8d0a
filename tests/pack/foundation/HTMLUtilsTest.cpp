// Plain text, entities and search highlights of marked-up text.
#include <gtest/gtest.h>

#include "HTMLUtils.h"

namespace {

struct TextCase {
    const wchar_t* Input;
    const wchar_t* Grid;
    const wchar_t* Panel;
};

const TextCase PlainTextCases[] = {
    {L"a<b>b</b><br>c", L"ab\r\nc", L"ab\r\nc"},
    {L"x > 1 <i>y</i>", L"x > 1 y", L"x > 1 y"},
    {L"abc<def", L"abc<def", L"abc<def"},
    {L"a<Z>secret</Z>b", L"asecretb", L"ab"},
    {L"a<z>secret</z>b<z>more", L"asecretbmore", L"abmore"},
    {L"one<HR>two<Br>three<BR x>four", L"one\r\ntwo\r\nthreefour", L"one\r\ntwo\r\nthreefour"},
    {L"&amp;<font color=\"clRed\">red</font>", L"&amp;red", L"&amp;red"},
};

TEST(HTMLToText, GridAndPanelFlavours)
{
    for (const auto& c : PlainTextCases) {
        EXPECT_EQ(GridHTMLToText(c.Input), c.Grid) << c.Input;
        EXPECT_EQ(PanelHTMLToText(c.Input), c.Panel) << c.Input;
    }
}

TEST(HTMLToText, StripTagsStopsAtAStrayClosingBracket)
{
    EXPECT_EQ(StripHTMLTags(L"<b>bold</b> & <i>it</i>"), L"bold & it");
    EXPECT_EQ(StripHTMLTags(L"a > b <i>c</i>"), L"a > b <i>c</i>");
    EXPECT_EQ(StripHTMLTags(L"a<b>c<d"), L"ac<d");
    EXPECT_EQ(StripHTMLTags(L"<br>"), L"");
}

TEST(HTMLEntities, EncodeAndDecodeRoundTrip)
{
    const String plain = L"a<b & \"c\"";
    const String encoded = EncodeHTMLEntities(plain, false);
    EXPECT_EQ(encoded, L"a&lt;b &amp; &quot;c&quot;");
    EXPECT_EQ(DecodeHTMLEntities(encoded, false), plain);

    const String accented = L"caf\u00E9 \u20AC5 \u00ABx\u00BB \u00C5";
    EXPECT_EQ(EncodeHTMLEntities(accented, true), L"caf&eacute; &euro;5 &laquo;x&raquo; &Aring;");
    EXPECT_EQ(EncodeHTMLEntities(accented, false), accented);
    EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(accented, true), true), accented);
    // The named characters keep their letter case; basic decoding leaves them.
    EXPECT_EQ(DecodeHTMLEntities(L"&Eacute;&eacute;&EACUTE;", true), L"\u00C9\u00E9&EACUTE;");
    EXPECT_EQ(DecodeHTMLEntities(L"&eacute;", false), L"&eacute;");
}

TEST(HTMLEntities, DecodingRunsOneKindAfterTheOther)
{
    EXPECT_EQ(DecodeHTMLEntities(L"&amp;lt;", false), L"&lt;");
    // What an entity decodes to is not decoded again.
    EXPECT_EQ(DecodeHTMLEntities(L"&amp;quot;&amp;amp;", false), L"&quot;&amp;");
    EXPECT_EQ(DecodeHTMLEntities(L"&amp;eacute;", true), L"&eacute;");
    EXPECT_EQ(DecodeHTMLEntities(L"&LT;", false), L"&LT;");
}

TEST(HTMLEntities, LiteralTextThatLooksLikeAnEscapeSurvives)
{
    const String text = L"*amp; & *amp;";
    EXPECT_EQ(DecodeHTMLEntities(EncodeHTMLEntities(text, false), false), text);
}

TEST(HTMLEntities, SpacesBecomeNonBreaking)
{
    EXPECT_EQ(SpacesToNbsp(L" a b "), L"&nbsp;a&nbsp;b&nbsp;");
}

struct HighlightCase {
    const wchar_t* Text;
    const wchar_t* Search;
    bool DoCase;
    bool FullText;
    const wchar_t* Expected;
};

const HighlightCase HighlightCases[] = {
    {L"abc", L"b", false, false, L"a<HI>b</HI>c"},
    {L"abc", L"B", true, false, L"abc"},
    {L"abcb", L"B", false, false, L"a<HI>b</HI>c<HI>b</HI>"},
    {L"a<b c", L"b", false, false, L"a&lt;<HI>b</HI> c"},
    {L"a<b c", L"zz", false, false, L"a<b c"},
    {L"<b>abc</b>", L"bc", false, false, L"<b>a<HI>bc</HI></b>"},
    {L"<b>abc</b>", L"ab", false, false, L"<b><HI>ab</HI>c</b>"},
    {L"<i>a</i>b<i>c</i>", L"ABC", false, false, L"<i><HI>a</i>b<i>c</HI></i>"},
    {L"x&amp;y</b>", L"&y", false, false, L"x<HI>&amp;y</HI></b>"},
    {L"<font color=\"clRed\">ab</font>cd</b>", L"bc", false, false,
     L"<font color=\"clRed\">a<HI>b</font></HI><HI>c</HI>d</b>"},
    {L"\u00E9t\u00E9 <b>\u00E9</b>", L"\u00C9", false, false,
     L"<HI>\u00E9</HI>t<HI>\u00E9</HI> <b><HI>\u00E9</HI></b>"},
    {L"abc", L"ABC", false, true, L"<HI>abc</HI>"},
    {L"a&b", L"A&B", false, true, L"<HI>a&amp;b</HI>"},
    {L"<b>ab</b>", L"ab", false, true, L"<HI><b>ab</b></HI>"},
    {L"abc", L"ab", false, true, L"abc"},
    {L"a<hi>b</HI>c", L"c", false, false, L"ab<HI>c</HI>"},
    {L"abc", L"", false, false, L"abc"},
};

TEST(HTMLHighlight, WrapsEveryVisibleMatch)
{
    for (const auto& c : HighlightCases)
        EXPECT_EQ(HighlightHTMLText(c.Text, c.Search, L"hi", c.DoCase, c.FullText), c.Expected)
            << c.Text << " / " << c.Search;
}

TEST(HTMLHighlight, UnhighlightGivesTheTextBack)
{
    EXPECT_EQ(UnhighlightHTMLText(L"a<HI>b</HI>c", L"hi"), L"abc");
    EXPECT_EQ(UnhighlightHTMLText(L"<b>a<hi>bc</Hi></b>", L"HI"), L"<b>abc</b>");
    // A plain text highlighted with encoded pieces gets its characters back.
    for (const wchar_t* text : {L"a<b & c>", L"x \"b\" z"}) {
        const String marked = HighlightHTMLText(text, L"b", L"e", false, false);
        EXPECT_NE(marked.find(L"<E>b</E>"), String::npos) << marked;
        EXPECT_EQ(UnhighlightHTMLText(marked, L"e"), text);
    }
}

} // namespace
