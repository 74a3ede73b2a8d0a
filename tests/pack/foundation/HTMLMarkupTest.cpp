// The language of marked-up text: pre-processing, attributes, numbers,
// colours and run entities.
#include <gtest/gtest.h>

#include "HTMLMarkup.h"

namespace {

TEST(HTMLMarkup, PreprocessingReplacesDocumentEntitiesAndLineBreaks)
{
    const struct {
        const wchar_t* Input;
        const wchar_t* Expected;
    } cases[] = {
        {L"a &amp; b", L"a && b"},
        {L"&EURO;&Euro;&euro;", L"\u20AC\u20AC\u20AC"},
        {L"&quot;x&quot; &sect;&permil;&reg;&copy;&para;&trade;", L"\"x\" \u00A7\u2030\u00AE\u00A9\u00B6\u2122"},
        {L"&amp;amp;", L"&&&"},
        {L"<#1> and <#abc>", L"#1 and #abc"},
        {L"<#open", L"#open"},
        {L"one\r\ntwo\nthree\rfour", L"one<BR>twothree<BR>four"},
        {L"&eacute; &nbsp;", L"&eacute; &nbsp;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreprocessHTML(c.Input), c.Expected) << c.Input;
}

TEST(HTMLMarkup, RunEntities)
{
    EXPECT_EQ(DecodeRunEntities(L"a&nbsp;&lt;b&gt;", false), L"a <b>");
    EXPECT_EQ(DecodeRunEntities(L"&NBSP;&LT;", false), L"&NBSP;&LT;");
    EXPECT_EQ(DecodeRunEntities(L"caf&eacute; &Ccedil;a", true), L"caf\u00E9 \u00C7a");
    EXPECT_EQ(DecodeRunEntities(L"caf&eacute;", false), L"caf&eacute;");
}

TEST(HTMLMarkup, AttributesAreFoundAsSubstringsAndNeedQuotes)
{
    const String font = L"FONT bgcolor=\"clYellow\" Color=\"clRed\" face=\"Arial\"";
    EXPECT_EQ(HTMLTagAttribute(font, L" COLOR"), L"clRed");
    EXPECT_EQ(HTMLTagAttribute(font, L"COLOR"), L"clYellow"); // first occurrence wins
    EXPECT_EQ(HTMLTagAttribute(font, L"FACE"), L"Arial");
    EXPECT_EQ(HTMLTagAttribute(L"FONT COLOR=red", L" COLOR"), L"");

    String value = L"old";
    EXPECT_FALSE(HTMLTagAttribute(L"IMG SRC=\"unterminated", L"SRC", value));
    EXPECT_EQ(value, L"");
    EXPECT_TRUE(HTMLTagAttribute(L"A href=\"Http://X.org/Path\"", L"HREF", value));
    EXPECT_EQ(value, L"Http://X.org/Path");
}

TEST(HTMLMarkup, Numbers)
{
    const struct {
        const wchar_t* Text;
        Integer Leading;
        bool Valid;
    } cases[] = {
        {L"12", 12, true},       {L"  -7", -7, true},  {L"+3", 3, true},
        {L"$1F", 31, true},      {L"0x10", 16, true},  {L"x0A", 10, true},
        {L"20px", 20, false},    {L"9pt;", 9, false},  {L"", 0, false},
        {L"abc", 0, false},      {L"99999999999", 0x7FFFFFFF, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HTMLLeadingInteger(c.Text), c.Leading) << c.Text;
        Integer n = -1;
        EXPECT_EQ(HTMLValidNumber(c.Text, n), c.Valid) << c.Text;
        EXPECT_EQ(n, c.Valid ? c.Leading : -1) << c.Text;
    }
}

TEST(HTMLMarkup, ColourValues)
{
    const struct {
        const wchar_t* Text;
        TColor Expected;
    } cases[] = {
        {L"#ff0000", 0x000000FF}, {L"#00FF80", 0x0080FF00}, {L"#0000fF", 0x00FF0000},
        {L"clRed", clRed},        {L"CLBTNFACE", clBtnFace}, {L"red", clBlack},
        {L"clNoSuchColour", clBlack}, {L"clzzz", clBlack},   {L"", clBlack},
        {L"#12", 0x00000012},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HTMLColor(c.Text), c.Expected) << c.Text;

    // Every name of the table is found.
    const struct {
        const wchar_t* Name;
        TColor Value;
    } names[] = {
        {L"cl3DDkShadow", cl3DDkShadow}, {L"cl3DLight", cl3DLight}, {L"clActiveBorder", clActiveBorder},
        {L"clActiveCaption", clActiveCaption}, {L"clAppWorkSpace", clAppWorkSpace}, {L"clAqua", clAqua},
        {L"clBackground", clBackground}, {L"clBlack", clBlack}, {L"clBlue", clBlue},
        {L"clBtnFace", clBtnFace}, {L"clBtnHighlight", clBtnHighlight}, {L"clBtnShadow", clBtnShadow},
        {L"clBtnText", clBtnText}, {L"clCaptionText", clCaptionText}, {L"clFuchsia", clFuchsia},
        {L"clGray", clGray}, {L"clGrayText", clGrayText}, {L"clGreen", clGreen},
        {L"clHighlight", clHighlight}, {L"clHighlightText", clHighlightText},
        {L"clInactiveBorder", clInactiveBorder}, {L"clInactiveCaption", clInactiveCaption},
        {L"clInactiveCaptionText", clInactiveCaptionText}, {L"clInfoBk", clInfoBk},
        {L"clInfoText", clInfoText}, {L"clLime", clLime}, {L"clMaroon", clMaroon}, {L"clMenu", clMenu},
        {L"clMenuText", clMenuText}, {L"clNavy", clNavy}, {L"clOlive", clOlive}, {L"clPurple", clPurple},
        {L"clRed", clRed}, {L"clSilver", clSilver}, {L"clTeal", clTeal}, {L"clWhite", clWhite},
        {L"clWindow", clWindow}, {L"clWindowFrame", clWindowFrame}, {L"clWindowText", clWindowText},
        {L"clYellow", clYellow},
    };
    for (const auto& n : names) {
        TColor c = -1;
        EXPECT_TRUE(HTMLNamedColor(n.Name, c)) << n.Name;
        EXPECT_EQ(c, n.Value) << n.Name;
    }
}

} // namespace
