// The grid variant of the HTML engine drawing into a 32-bit surface:
// tags and entities, line layout and wrapping, anchors and hit testing.
#include <gtest/gtest.h>

#include "HTMLTestSupport.h"
#include "SysUtils.h"
#include "TestSupport.h"

using namespace htmltest;

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);

class GridHTMLDrawTest : public testing::Test {
protected:
    TSurface surface{300, 200};
    TCanvas* canvas = surface.Canvas();

    int TextWidth(const String& text, int points = 8, TFontStyles style = TFontStyles())
    {
        TFont* font = canvas->GetFont();
        const int size = font->GetSize();
        const TFontStyles old = font->GetStyle();
        font->SetSize(points);
        font->SetStyle(style);
        const int w = canvas->TextWidth(text);
        font->SetSize(size);
        font->SetStyle(old);
        return w;
    }
    int LineHeight() { return canvas->TextHeight(L"gh"); }
};

TEST_F(GridHTMLDrawTest, EmptyTextIsOneLineHigh)
{
    TResult r = Draw(canvas, L"");
    EXPECT_FALSE(r.Hit);
    EXPECT_EQ(r.XSize, 0);
    EXPECT_EQ(r.YSize, LineHeight());
    EXPECT_EQ(r.MouseLink, -1);
    EXPECT_EQ(surface.Count(surface.All(), White), 300 * 200);
}

TEST_F(GridHTMLDrawTest, TagsAreRecognisedByTheirFirstLettersInAnyCase)
{
    const int plain = TextWidth(L"bold");
    const int bold = TextWidth(L"bold", 8, {fsBold});
    ASSERT_GT(bold, plain);
    for (const wchar_t* text : {L"<b>bold</b>", L"<B>bold</B>", L"<BIG>bold"})
        EXPECT_EQ(Draw(canvas, text, Measure()).XSize, bold) << text;
    // Switches, not counters: one closing tag ends bold.
    EXPECT_EQ(Draw(canvas, L"<B><B>x</B>bold", Measure()).XSize, TextWidth(L"x", 8, {fsBold}) + plain);
    EXPECT_EQ(Draw(canvas, L"a<br>b<BR>c", Measure()).YSize, 3 * LineHeight());
    EXPECT_EQ(Draw(canvas, L"<unknown>bold", Measure()).XSize, plain);
}

TEST_F(GridHTMLDrawTest, FontColoursNeedQuotesAndKnownForms)
{
    const struct {
        const wchar_t* Tag;
        COLORREF Expected;
    } cases[] = {
        {L"<FONT COLOR=red>", Black},        {L"<FONT COLOR=\"red\">", Black},
        {L"<FONT COLOR=\"clRed\">", RGB(255, 0, 0)}, {L"<FONT COLOR=\"#ff0000\">", RGB(255, 0, 0)},
        {L"<font color=\"#00FF00\">", RGB(0, 255, 0)}, {L"<FONT BGCOLOR=\"clYellow\">", Black},
    };
    for (const auto& c : cases) {
        surface.Clear();
        Draw(canvas, String(c.Tag) + L"WWWW");
        EXPECT_GT(surface.Count(surface.All(), c.Expected), 20) << c.Tag;
        EXPECT_EQ(surface.Count(surface.All(), [](COLORREF p) { return p != White && p != Black && p != RGB(255, 0, 0) &&
                                                                       p != RGB(0, 255, 0) && p != RGB(255, 255, 0); }),
                  0)
            << c.Tag;
    }
    // The background of FONT BGCOLOR lies behind the text only.
    surface.Clear();
    Draw(canvas, L"<FONT BGCOLOR=\"clYellow\">WW</FONT>WW");
    const int yellow = surface.Count(surface.All(), RGB(255, 255, 0));
    EXPECT_GT(yellow, 0);
    EXPECT_LE(yellow, TextWidth(L"WW") * LineHeight());
}

TEST_F(GridHTMLDrawTest, FontSizesAndFaces)
{
    const struct {
        const wchar_t* Text;
        int Points;
    } cases[] = {
        {L"<FONT SIZE=\"3\">Wide</FONT>", 12},
        {L"<FONT SIZE=\"1\">Wide</FONT>", 8},
        {L"<FONT SIZE=\"5\">Wide</FONT>", 16},
        {L"<FONT SIZE=\"20\">Wide</FONT>", 20},
        {L"<FONT SIZE=\"14px\">Wide</FONT>", 14},
        {L"<FONT STYLE=\"font-size:9pt\" SIZE=\"5\">Wide</FONT>", 9},
        {L"<FONT STYLE=\"color:red\" SIZE=\"5\">Wide</FONT>", 8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Draw(canvas, c.Text, Measure()).XSize, TextWidth(L"Wide", c.Points)) << c.Text;
    // </FONT> goes back to the starting font.
    EXPECT_EQ(Draw(canvas, L"<FONT SIZE=\"5\">W</FONT>W", Measure()).XSize, TextWidth(L"W", 16) + TextWidth(L"W"));
    const int courier = Draw(canvas, L"<FONT FACE=\"Courier New\">iiii</FONT>", Measure()).XSize;
    EXPECT_NE(courier, TextWidth(L"iiii"));
}

TEST_F(GridHTMLDrawTest, EntitiesAndPrefixCharacters)
{
    const struct {
        const wchar_t* Text;
        const wchar_t* Drawn; // measured without prefix processing
    } cases[] = {
        {L"a &amp; b", L"a & b"},       {L"R&D", L"RD"},
        {L"&euro;&EURO;", L"\u20AC\u20AC"}, {L"&eacute;t&eacute;", L"\u00E9t\u00E9"},
        {L"&lt;b&gt;", L"<b>"},         {L"<#1>", L"#1"},
        {L"x&nbsp;y", L"x y"},          {L"&Eacute;&EACUTE;", L"\u00C9EACUTE;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Draw(canvas, c.Text, Measure()).XSize, TextWidth(c.Drawn)) << c.Text;

    // A single "&" underlines the character after it.
    Draw(canvas, L"RD", TArgs());
    const int plain = surface.Count(surface.All(), Black);
    surface.Clear();
    Draw(canvas, L"R&D", TArgs());
    EXPECT_GT(surface.Count(surface.All(), Black), plain);
}

TEST_F(GridHTMLDrawTest, LineBreaksAndDroppedTails)
{
    const struct {
        const wchar_t* Text;
        int Lines;
        const wchar_t* Strip; // measuring runs each line once
    } cases[] = {
        {L"one\r\ntwo", 2, L"one\rtwo"},
        {L"one\ntwo", 1, L"onetwo"},
        {L"abc<", 1, L"abc"},
        {L"abc<d", 1, L"abc"},
        {L"abc<unknown tag", 1, L"abc"},
        {L"a<Z>secret</Z>b", 1, L"asecretb"},
        {L"<HR>x", 2, L"x"},
        {L"x</P>y</LI>z", 3, L"xyz"},
    };
    for (const auto& c : cases) {
        TResult r = Draw(canvas, c.Text, Measure());
        EXPECT_EQ(r.YSize, c.Lines * LineHeight()) << c.Text;
        EXPECT_EQ(r.StripVal, c.Strip) << c.Text;
    }
    // Hidden text takes no room; a drawing call lays each line out twice.
    EXPECT_EQ(Draw(canvas, L"a<Z>secret</Z>b", Measure()).XSize, TextWidth(L"ab"));
    EXPECT_EQ(Draw(canvas, L"one<br>two").StripVal, L"one\rone\rtwotwo");
}

TEST_F(GridHTMLDrawTest, WrappingKeepsWordsWhole)
{
    const int aaa = TextWidth(L"aaa");
    TArgs narrow = Measure(TRect(0, 0, TextWidth(L"aaa bb"), 100));

    TResult wrapped = Draw(canvas, L"aaa bbb", narrow);
    EXPECT_EQ(wrapped.YSize, 2 * LineHeight());
    EXPECT_EQ(wrapped.XSize, aaa);

    narrow.WordWrap = false;
    TResult single = Draw(canvas, L"aaa bbb", narrow);
    EXPECT_EQ(single.YSize, LineHeight());

    // A word longer than the line keeps its own line, unsplit.
    TResult longWord = Draw(canvas, L"abcdefghijklmnop", Measure(TRect(0, 0, 30, 100)));
    EXPECT_EQ(longWord.YSize, LineHeight());
    EXPECT_EQ(longWord.XSize, TextWidth(L"abcdefghijklmnop"));

    // Text touching across a tag is one word.
    TResult touching = Draw(canvas, L"aaa bb<b>bb</b>", Measure(TRect(0, 0, TextWidth(L"aaa bb") + 2, 100)));
    EXPECT_EQ(touching.YSize, LineHeight());
}

TEST_F(GridHTMLDrawTest, WithoutWrapTheLineEndsInAnEllipsis)
{
    const TRect rect(0, 0, TextWidth(L"aaa bb"), 40);
    TArgs args;
    args.Rect = rect;
    args.WordWrap = false;
    // A run runs to the next tag; one narrower than the line that overflows
    // after another ends the text.
    Draw(canvas, L"aaa bbbbbbbbbbbbbbbbbbbbbbbbbb<br>second", args);
    EXPECT_GT(surface.Inked(surface.All()).bottom, LineHeight() + 2);
    surface.Clear();
    Draw(canvas, L"aaa<b>bbbb</b><br>second", args);
    const TRect inked = surface.Inked(surface.All());
    EXPECT_LE(inked.right, rect.right);
    EXPECT_LT(inked.bottom, LineHeight() + 2);
    // The ellipsis: three dots at the end of the line.
    surface.Clear();
    Draw(canvas, L"aaa bbbbbbbbbbbbbbbbbbbbbbbbbb", args);
    const TRect tail(rect.right - TextWidth(L"..."), 0, rect.right, LineHeight());
    const TRect dots = surface.Inked(tail);
    EXPECT_GT(dots.top, LineHeight() / 2);
}

TEST_F(GridHTMLDrawTest, MeasuringIgnoresTheBottomAndDrawingStopsThere)
{
    const String text = L"1<br>2<br>3<br>4<br>5<br>6";
    const TRect small(0, 0, 100, 2 * LineHeight() + 2);
    EXPECT_EQ(Draw(canvas, text, Measure(small)).YSize, 6 * LineHeight());
    TArgs draw;
    draw.Rect = small;
    TResult r = Draw(canvas, text, draw);
    EXPECT_LT(r.YSize, 6 * LineHeight());
    EXPECT_GE(r.YSize, 2 * LineHeight());
    EXPECT_LE(surface.Inked(surface.All()).bottom, r.YSize);
}

TEST_F(GridHTMLDrawTest, ParagraphAlignment)
{
    TArgs args;
    args.Rect = TRect(0, 0, 200, 100);
    Draw(canvas, L"<P ALIGN=\"CENTER\">xx</P>yy", args);
    const int h = LineHeight();
    const TRect first = surface.Inked(TRect(0, 0, 300, h));
    const TRect second = surface.Inked(TRect(0, h, 300, 2 * h));
    const int centre = (first.left + first.right) / 2;
    EXPECT_NEAR(centre, 100, 3);
    EXPECT_LE(second.left, 3);

    // Right alignment ends the last character, not the trailing blank, at the edge.
    surface.Clear();
    Draw(canvas, L"right", args);
    const int inkBeyondAdvance = surface.Inked(surface.All()).right - (1 + TextWidth(L"right"));
    surface.Clear();
    Draw(canvas, L"<P ALIGN=\"RIGHT\">right </P>", args);
    EXPECT_EQ(surface.Inked(surface.All()).right, 200 + inkBeyondAdvance);

    // The last of RIGHT, LEFT and CENTER found wins; INDENT shifts the lines.
    surface.Clear();
    Draw(canvas, L"<P ALIGN=\"CENTERLEFT\" INDENT=\"40\">x", args);
    EXPECT_NEAR(surface.Inked(surface.All()).left, 100 - TextWidth(L"x") / 2 + 40, 3);
}

TEST_F(GridHTMLDrawTest, ListsPutMarkersBeforeIndentedItems)
{
    Draw(canvas, L"one");
    const int inkStart = surface.Inked(surface.All()).left;
    surface.Clear();

    TResult r = Draw(canvas, L"<UL><LI>one<LI>one</UL>after<UL><LI>x");
    const int h = LineHeight();
    EXPECT_EQ(r.YSize, 3 * h);
    for (int line = 0; line < 2; ++line) {
        // The marker at the left edge, the text 12 pixels further.
        EXPECT_LE(surface.Inked(TRect(0, line * h, 300, (line + 1) * h)).left, 6) << line;
        EXPECT_EQ(surface.Inked(TRect(8, line * h, 300, (line + 1) * h)).left, inkStart + 12) << line;
    }
    // Closing the list does not end the line; opening one after text does.
    EXPECT_GE(surface.Inked(TRect(0, h, 300, 2 * h)).right, 13 + TextWidth(L"oneafter") - 3);

    // Ordered items are numbered.
    TResult ordered = Draw(canvas, L"<OL><LI>a<LI>b</OL>", Measure());
    EXPECT_EQ(ordered.YSize, 2 * h);
    EXPECT_EQ(ordered.XSize, 12 + TextWidth(L"a"));
}

TEST_F(GridHTMLDrawTest, AnchorsAreHitOnTheirText)
{
    const String text = L"go <A HREF=\"http://x.org/Page\" TITLE=\"Hint\">one two</A> end";
    const int h = LineHeight();
    const int twoX = 1 + TextWidth(L"go one ") + 2;

    TResult r = Draw(canvas, text, HitTest(twoX, h / 2));
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.AnchorVal, L"http://x.org/Page");
    EXPECT_EQ(r.AnchorHint, L"Hint");
    EXPECT_EQ(r.MouseLink, 1);
    EXPECT_EQ(r.HyperLinks, 1);
    EXPECT_EQ(r.HoverRect.left, 1 + TextWidth(L"go "));
    EXPECT_EQ(r.HoverRect.right, 1 + TextWidth(L"go one two"));

    for (const auto& [x, y] : {std::pair{3, h / 2}, std::pair{1 + TextWidth(L"go one two end") - 2, h / 2}}) {
        TResult miss = Draw(canvas, text, HitTest(x, y));
        EXPECT_FALSE(miss.Hit) << x;
        EXPECT_EQ(miss.MouseLink, -1) << x;
        EXPECT_EQ(miss.AnchorVal, L"") << x;
    }
    // Below the text band the point is no hit, though the line still names its anchor.
    EXPECT_FALSE(Draw(canvas, text, HitTest(twoX, h + 3)).Hit);
    // An anchor without HREF is counted but never hit.
    TResult noRef = Draw(canvas, L"<A>one</A><A HREF=\"b\">two</A>", HitTest(3, h / 2));
    EXPECT_FALSE(noRef.Hit);
    EXPECT_EQ(noRef.HyperLinks, 2);
}

TEST_F(GridHTMLDrawTest, AHitBetweenTwoAnchorLinesMissesBoth)
{
    const String text = L"<A HREF=\"a\">first</A><br><br><A HREF=\"b\">second</A>";
    const int h = LineHeight();
    EXPECT_TRUE(Draw(canvas, text, HitTest(4, h / 2)).Hit);
    EXPECT_EQ(Draw(canvas, text, HitTest(4, 2 * h + h / 2)).AnchorVal, L"b");
    EXPECT_FALSE(Draw(canvas, text, HitTest(4, h + h / 2)).Hit);
}

TEST_F(GridHTMLDrawTest, AnchorColoursAndHover)
{
    TArgs args;
    args.URLColor = clRed;
    Draw(canvas, L"<A HREF=\"x\">WW</A>WW", args);
    const int h = LineHeight();
    const int split = 1 + TextWidth(L"WW");
    EXPECT_GT(surface.Count(TRect(0, 0, split, h + 2), RGB(255, 0, 0)), 10);
    EXPECT_EQ(surface.Count(TRect(split, 0, 300, h + 2), RGB(255, 0, 0)), 0);

    // Drawn as selected, anchors keep the text colour.
    surface.Clear();
    args.Selected = true;
    Draw(canvas, L"<A HREF=\"x\">WW</A>", args);
    EXPECT_EQ(surface.Count(surface.All(), RGB(255, 0, 0)), 0);

    // Hover colours only on the hovered anchor when HoverStyle is on.
    surface.Clear();
    args.Selected = false;
    args.HoverStyle = true;
    args.HoverLink = 2;
    args.HoverColor = clYellow;
    args.HoverFontColor = clGreen;
    Draw(canvas, L"<A HREF=\"a\">WW</A> <A HREF=\"b\">WW</A>", args);
    const int second = 1 + TextWidth(L"WW ");
    EXPECT_EQ(surface.Count(TRect(0, 0, second, h + 2), RGB(255, 255, 0)), 0);
    EXPECT_GT(surface.Count(TRect(second, 0, 300, h + 2), RGB(255, 255, 0)), 10);
    EXPECT_GT(surface.Count(TRect(second, 0, 300, h + 2), RGB(0, 128, 0)), 10);
    EXPECT_GT(surface.Count(TRect(0, 0, second, h + 2), RGB(255, 0, 0)), 10);
}

TEST_F(GridHTMLDrawTest, FocusRectanglesFollowAWrappedAnchor)
{
    const String text = L"<A HREF=\"x\">aaaa bbbb</A>";
    TArgs args;
    args.Rect = TRect(0, 5, TextWidth(L"aaaa b"), 100);
    Draw(canvas, text, args);
    TSurface plain(300, 200);
    plain.Canvas()->GetFont()->Assign(canvas->GetFont());
    Draw(plain.Canvas(), text, args);

    surface.Clear();
    args.FocusLink = 0;
    TResult r = Draw(canvas, text, args);
    EXPECT_EQ(r.FocusAnchor, L"x");
    // Rows where the dotted frame edges run: the top and bottom of each rectangle.
    int frameRows = 0;
    for (int y = 0; y < 60; ++y) {
        int differing = 0;
        for (int x = 0; x < 300; ++x)
            differing += surface.Pixel(x, y) != plain.Pixel(x, y) ? 1 : 0;
        frameRows += differing >= 8 ? 1 : 0;
    }
    EXPECT_EQ(frameRows, 4);
}

TEST_F(GridHTMLDrawTest, HighlightShadowBlinkAndErrorLine)
{
    const int h = LineHeight();
    SetHTMLHighlightColors(clLime, clNavy);
    Draw(canvas, L"<HI>WW</HI>WW");
    EXPECT_GT(surface.Count(surface.All(), RGB(0, 255, 0)), 10);
    EXPECT_GT(surface.Count(surface.All(), RGB(0, 0, 128)), 10);
    EXPECT_EQ(surface.Count(TRect(1 + TextWidth(L"WW"), 0, 300, h + 2), RGB(0, 255, 0)), 0);
    SetHTMLHighlightColors(clHighlight, clHighlightText);

    surface.Clear();
    TArgs shadow;
    shadow.ShadowColor = clRed;
    shadow.ShadowOffset = 2;
    Draw(canvas, L"<SHAD>WW</SHAD>", shadow);
    EXPECT_GT(surface.Count(surface.All(), RGB(255, 0, 0)), 10);
    EXPECT_GT(surface.Count(surface.All(), Black), 10);

    surface.Clear();
    TArgs blinkOff;
    blinkOff.Blink = false;
    Draw(canvas, L"<BLINK>WW</BLINK>", blinkOff);
    EXPECT_EQ(surface.Count(surface.All(), White), 300 * 200);
    Draw(canvas, L"<BLINK>WW</BLINK>");
    EXPECT_GT(surface.Count(surface.All(), Black), 10);

    surface.Clear();
    Draw(canvas, L"<E>WWWW</E>");
    EXPECT_GT(surface.Count(surface.All(), RGB(255, 0, 0)), TextWidth(L"WWWW") / 2);
}

TEST_F(GridHTMLDrawTest, PositionsRotationAndSpanBackgrounds)
{
    // IND moves only forward, to pixels from the rectangle's left edge.
    TResult moved = Draw(canvas, L"a<IND x=\"50\">b", Measure());
    EXPECT_EQ(moved.XSize, 50 + TextWidth(L"b"));
    EXPECT_EQ(Draw(canvas, L"aaaaaaaaaaaaaaa<IND x=\"5\">b", Measure()).XSize, TextWidth(L"aaaaaaaaaaaaaaab"));
    EXPECT_EQ(Draw(canvas, L"a<IND x=\"5px\">b", Measure()).XSize, TextWidth(L"ab"));

    TArgs args;
    args.Rect = TRect(20, 60, 300, 200);
    Draw(canvas, L"<R a=\"90\">Rotated</R>", args);
    const TRect rotated = surface.Inked(surface.All());
    EXPECT_GT(rotated.Height(), 2 * rotated.Width());

    surface.Clear();
    Draw(canvas, L"<SPAN STYLE=\"background-color:#FFFF00\">WW</SPAN>WW<SPAN STYLE=\"color:#FF0000\">WW</SPAN>");
    const int yellow = surface.Count(surface.All(), RGB(255, 255, 0));
    EXPECT_GT(yellow, 0);
    EXPECT_LE(yellow, TextWidth(L"WW") * LineHeight());
}

TEST_F(GridHTMLDrawTest, SubscriptAndSuperscriptAddRoom)
{
    const int h = LineHeight();
    EXPECT_EQ(Draw(canvas, L"x<SUB>2</SUB>", Measure()).YSize, h + h / 4);
    EXPECT_EQ(Draw(canvas, L"x<SUP>2</SUP>", Measure()).YSize, h + h / 4);
    EXPECT_EQ(Draw(canvas, L"x<SUBWAY>2", Measure()).YSize, h);
}

TEST_F(GridHTMLDrawTest, CanvasToolsAreRestored)
{
    canvas->GetPen()->SetColor(clPurple);
    canvas->GetPen()->SetWidth(3);
    canvas->GetBrush()->SetColor(clTeal);
    canvas->GetFont()->SetColor(clMaroon);
    Draw(canvas, L"<FONT FACE=\"Courier New\" SIZE=\"5\" COLOR=\"clRed\"><B><I><A HREF=\"x\">a</A><P BGCOLOR=\"clRed\">x");
    EXPECT_EQ(canvas->GetPen()->GetColor(), clPurple);
    EXPECT_EQ(canvas->GetPen()->GetWidth(), 3);
    EXPECT_EQ(canvas->GetBrush()->GetColor(), clTeal);
    EXPECT_EQ(canvas->GetBrush()->GetStyle(), bsSolid);
    EXPECT_EQ(canvas->GetFont()->GetColor(), clMaroon);
    EXPECT_EQ(canvas->GetFont()->GetName(), L"Tahoma");
    EXPECT_TRUE(canvas->GetFont()->GetStyle().Empty());
    EXPECT_EQ(canvas->GetFont()->GetSize(), 8);
}

TEST_F(GridHTMLDrawTest, LeavesNoGdiObjectsBehind)
{
    const String text = L"<FONT FACE=\"Courier New\" SIZE=\"5\"><B>x</B></FONT><R a=\"90\">r</R>"
                        L"<A HREF=\"x\">a</A><UL><LI>i</UL><E>e</E>"
                        L"<CONTROL TYPE=\"COMBO\" ID=\"c\" VALUE=\"v\" WIDTH=\"60\">";
    TArgs args;
    args.FocusLink = 0;
    Draw(canvas, text, args);
    const DWORD before = testing_support::GdiObjectCount();
    for (int i = 0; i < 20; ++i)
        Draw(canvas, text, args);
    EXPECT_EQ(testing_support::GdiObjectCount(), before);
}

} // namespace
