// The library's HTML text: a table of marked-up texts, each measured against
// the plain widths of its pieces in the font that draws them, with the links
// it records; colours drawn into a 32-bit bitmap; hostile texts that must
// neither fail, hang nor leave GDI objects behind.
#include <gtest/gtest.h>
#include "GdiHandles.h"
#include "TestSupport.h"
#include "sHtmlParse.h"

namespace {

struct TPiece {
    String Text;
    bool Bold = false;
    int Size = 9;
};

struct THtmlCase {
    const wchar_t* Name;
    String Text;
    std::vector<TPiece> Row;     // pieces whose widths add up to the measured width
    int Rows = 1;
    std::vector<String> URLs;
    int AreaWidth = 0;
};

void SetupFont(TFont* Font, int Size = 9, bool Bold = false)
{
    Font->SetName(L"Tahoma");
    Font->SetSize(Size);
    Font->SetStyle(Bold ? TFontStyles{fsBold} : TFontStyles{});
    Font->SetColor(clBlack);
    Font->SetQuality(fqNonAntialiased);
}

TSize PlainExtent(const TPiece& Piece)
{
    TOwned<TBitmap> bmp(New<TBitmap>(4, 4));
    SetupFont(bmp->GetCanvas()->GetFont(), Piece.Size, Piece.Bold);
    return bmp->GetCanvas()->TextExtent(Piece.Text);
}

TOwned<TBitmap> WhiteBitmap(int Width, int Height)
{
    TOwned<TBitmap> bmp(New<TBitmap>());
    bmp->SetPixelFormat(pf32bit);
    bmp->SetSize(Width, Height);
    bmp->GetCanvas()->GetBrush()->SetColor(clWhite);
    bmp->GetCanvas()->FillRect(TRect(0, 0, Width, Height));
    SetupFont(bmp->GetCanvas()->GetFont());
    return bmp;
}

TRect Layout(TBitmap* Bmp, const String& Text, TacLinks& Links, bool CalcOnly, int AreaWidth = 0,
             int Hot = -1, int Pressed = -1)
{
    TsHtml html;
    html.Init(Bmp, Text, Pressed, Hot, TRect(0, 0, AreaWidth, 0));
    return html.HTMLText(Links, CalcOnly);
}

// Pixels of exactly this colour in the bitmap.
int CountColor(TBitmap* Bmp, COLORREF Color)
{
    int n = 0;
    for (int y = 0; y < Bmp->GetHeight(); ++y) {
        auto* row = static_cast<const DWORD*>(Bmp->GetScanLine(y));
        for (int x = 0; x < Bmp->GetWidth(); ++x)
            if ((row[x] & 0xFFFFFF) == ((GetRValue(Color) << 16) | (GetGValue(Color) << 8) | GetBValue(Color)))
                ++n;
    }
    return n;
}

const std::vector<THtmlCase>& Cases()
{
    static const std::vector<THtmlCase> cases = {
        {L"BoldMiddleLetter", L"a<B>b</B>c", {{L"a"}, {L"b", true}, {L"c"}}},
        {L"TwoAmpEntities", L"&amp;&amp;", {{L"&"}, {L"&"}}},
        {L"TwoAmpersandsShowOne", L"x&&y", {{L"x"}, {L"&y"}}},
        {L"EntityWithoutSemicolon", L"&lt x", {{L"&lt x"}}},
        {L"CentByName", L"&cent;", {{L"\u00A2"}}},
        {L"CentByNumber", L"&#162;", {{L"\u00A2"}}},
        {L"Euro", L"&euro;", {{L"\u20AC"}}},
        {L"AacuteUpperAndLower", L"&Aacute;&aacute;", {{L"\u00C1"}, {L"\u00E1"}}},
        {L"AmpInCapitals", L"&AMP;", {{L"&"}}},
        {L"TradeIsTheTradeMark", L"&trade;", {{L"\u2122"}}},
        {L"UnknownEntity", L"&bogus;x", {{L"&bogus;x"}}},
        {L"TwoOpeningBrackets", L"a<<b", {{L"a"}, {L"<b"}}},
        {L"BracketWithoutClose", L"a<b", {{L"a"}, {L"b"}}},
        {L"SizePlusTwo", L"<FONT SIZE=+2>x</FONT>y", {{L"x", false, 11}, {L"y"}}},
        {L"SizeNoNumberIsEight", L"<FONT SIZE=big>x</FONT>", {{L"x", false, 8}}},
        {L"LinkInSingleQuotes", L"go <A HREF='http://x.test/'>link</A>", {{L"go "}, {L"link"}}, 1,
         {L"http://x.test/"}},
        {L"LinkWithoutHref", L"<A>x</A>", {{L"x"}}, 1, {L""}},
        {L"UnknownTagShownLiterally", L"one <X> two", {{L"one "}, {L"<X> two"}}},
        {L"TableStartsALink", L"<TABLE>t", {{L"t"}}, 1, {L"<TABLE>"}},
        {L"StrayClosingTags", L"</A></B></FONT>x", {{L"x"}}},
        {L"BreakMakesTwoRows", L"ab<BR>c", {{L"ab"}}, 2},
        {L"ParagraphMakesTwoRows", L"ab<P>c", {{L"ab"}}, 2},
        {L"NoAreaNoWrap", L"many words in one long row without any wrap at all",
         {{L"many words in one long row without any wrap at all"}}},
    };
    return cases;
}

class HtmlText : public testing::TestWithParam<THtmlCase> {};

} // namespace

TEST_P(HtmlText, MeasuresDrawsAndRecordsLinks)
{
    const THtmlCase& c = GetParam();
    TOwned<TBitmap> bmp = WhiteBitmap(400, 100);
    TacLinks links;
    const TRect measured = Layout(bmp.get(), c.Text, links, true, c.AreaWidth);
    int width = 0, height = 0;
    for (const TPiece& p : c.Row) {
        const TSize e = PlainExtent(p);
        width += e.cx;
        height = std::max<int>(height, e.cy);
    }
    EXPECT_EQ(measured.left, 0);
    EXPECT_EQ(measured.Width(), width);
    if (c.Rows == 1)
        EXPECT_EQ(measured.Height(), height);
    else
        EXPECT_GT(measured.Height(), height * c.Rows);
    ASSERT_EQ(links.size(), c.URLs.size());
    for (std::size_t i = 0; i < links.size(); ++i)
        EXPECT_EQ(links[i].URL, c.URLs[i]);

    // Drawing lays out the same way; something black appears only where text is.
    TacLinks drawnLinks;
    const TRect drawn = Layout(bmp.get(), c.Text, drawnLinks, false, c.AreaWidth);
    EXPECT_EQ(drawn, measured);
    EXPECT_EQ(drawnLinks.size(), links.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, HtmlText, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<THtmlCase>& info) {
                             std::string name;
                             for (const wchar_t* p = info.param.Name; *p; ++p)
                                 name += static_cast<char>(*p);
                             return name;
                         });

TEST(HtmlTextLinks, RectangleCoversTheLinkText)
{
    TOwned<TBitmap> bmp = WhiteBitmap(300, 60);
    TacLinks links;
    Layout(bmp.get(), L"go <A HREF=\"http://x.test/\">link</A> on", links, true);
    ASSERT_EQ(links.size(), 1u);
    const int go = PlainExtent({L"go "}).cx;
    const TSize link = PlainExtent({L"link"});
    EXPECT_EQ(links[0].Bounds, TRect(go, 0, go + link.cx, link.cy));
}

TEST(HtmlTextColours, FontColoursLinkStatesAndNamedColours)
{
    struct TColourCase {
        String Text;
        int Hot, Pressed;
        COLORREF Expected;
    };
    const TColourCase cases[] = {
        {L"<FONT COLOR=#FF0000>HHHH</FONT>", -1, -1, RGB(0xFF, 0, 0)},
        {L"<FONT COLOR=navy>HHHH</FONT>", -1, -1, RGB(0, 0, 0x80)},
        {L"<FONT COLOR=AQUA>HHHH</FONT>", -1, -1, RGB(0, 0xFF, 0xFF)},
        {L"<FONT COLOR=00FF00>HHHH</FONT>", -1, -1, RGB(0, 0xFF, 0)},
        {L"<A HREF=x>HHHH</A>", -1, -1, RGB(0, 0, 0xFF)},
        {L"<A HREF=x>HHHH</A>", 0, 0, RGB(0xFF, 0, 0)},
    };
    for (const TColourCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.Text.begin(), c.Text.end()));
        TOwned<TBitmap> bmp = WhiteBitmap(200, 40);
        bmp->GetCanvas()->GetFont()->SetSize(20);
        TacLinks links;
        Layout(bmp.get(), c.Text, links, false, 0, c.Hot, c.Pressed);
        EXPECT_GT(CountColor(bmp.get(), c.Expected), 40);
        EXPECT_EQ(CountColor(bmp.get(), RGB(0, 0, 0)), 0) << "nothing drawn in the default colour";
    }
    // The colour ends with its FONT tag.
    TOwned<TBitmap> bmp = WhiteBitmap(200, 40);
    TacLinks links;
    Layout(bmp.get(), L"<FONT COLOR=RED>HH</FONT>HH", links, false);
    EXPECT_GT(CountColor(bmp.get(), RGB(0xFF, 0, 0)), 10);
    EXPECT_GT(CountColor(bmp.get(), RGB(0, 0, 0)), 10);
    EXPECT_EQ(HtmlColorValue(L"#ZZZZZZ"), 0);
}

TEST(HtmlTextColours, TextDrawsOnlyInsideItsMeasuredRectangle)
{
    TOwned<TBitmap> bmp = WhiteBitmap(300, 100);
    TacLinks links;
    const TRect r = Layout(bmp.get(), L"a <B>bold</B> word and more words", links, false, 80);
    ASSERT_GT(r.Height(), 0);
    for (int y = 0; y < bmp->GetHeight(); ++y) {
        auto* row = static_cast<const DWORD*>(bmp->GetScanLine(y));
        for (int x = 0; x < bmp->GetWidth(); ++x)
            if ((row[x] & 0xFFFFFF) != 0xFFFFFF)
                ASSERT_TRUE(x < 80 + 10 && y < r.bottom) << x << "," << y;
    }
}

TEST(HtmlTextWrap, WordWiderThanTheAreaTakesARowOfItsOwn)
{
    TOwned<TBitmap> bmp = WhiteBitmap(300, 200);
    const int h = PlainExtent({L"X"}).cy;
    TacLinks links;
    const int wide = PlainExtent({L"wwwwwwwwwwww"}).cx;
    const TRect r = Layout(bmp.get(), L"a wwwwwwwwwwww b", links, true, wide - 10);
    EXPECT_EQ(r.Width(), wide);
    EXPECT_GE(r.Height(), 3 * h);
    // Wrapping is a loop: thousands of rows do not exhaust the stack.
    String many;
    for (int i = 0; i < 50000; ++i)
        many += L"w ";
    const TRect tall = Layout(bmp.get(), many, links, true, 5);
    EXPECT_GE(tall.Height(), 50000 * h);
}

TEST(HtmlTextHostile, MalformedTextsEndCleanly)
{
    String nested;
    for (int i = 0; i < 10000; ++i)
        nested += L"<FONT SIZE=+1 COLOR=red>";
    nested += L"deep";
    String closers;
    for (int i = 0; i < 10000; ++i)
        closers += L"</FONT></A></B>";
    String entities;
    for (int i = 0; i < 3000; ++i)
        entities += L"&amp";
    const String texts[] = {
        L"<B",
        L"<FONT COLOR=red",
        L"text <A HREF='x'",
        L"<A HREF='x'>never closed",
        nested,
        nested + closers,
        closers + L"x",
        entities,
        L"end &",
        L"end &#",
        L"end &amp",
        L"&" + String(300, L'a') + L";",
        L"<<<<<<",
        L">>>>",
        String(2000, L'<'),
        L"<FONT FACE=\">x",
        L"<FONT SIZE=-99999999999>x",
    };
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    for (const String& text : texts) {
        // The canvas keeps the font a text leaves it with: a fresh bitmap each time.
        TacLinks links;
        const TRect measured = Layout(WhiteBitmap(120, 60).get(), text, links, true, 100);
        const TRect drawn = Layout(WhiteBitmap(120, 60).get(), text, links, false, 100);
        EXPECT_EQ(measured, drawn);
        EXPECT_GE(measured.Height(), 0);
    }
    EXPECT_LE(testing_support::GdiObjectCount(), gdiBefore + 2);
}
