// The panel variant of the HTML engine drawing into a 32-bit surface: the
// tags it adds or treats its own way, hanging offsets, line spacing, hit
// tests and measuring, and the banded gradient fill.
#include <gtest/gtest.h>

#include "HTMLTestSupport.h"
#include "ImgList.h"
#include "PictureContainer.h"
#include "SysUtils.h"
#include "TestSupport.h"

using namespace htmltest;

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

class PanelHTMLDrawTest : public testing::Test {
protected:
    void SetUp() override
    {
        // "anim": 20 x 10, its first frame red in the top-left 8 x 6 corner.
        TPictureItem* item = container->GetItems()->Add();
        item->SetName(L"anim");
        static_cast<THTMLPicture*>(item->GetPicture())->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_GIF");
    }
    TArgs With(TArgs args)
    {
        args.PictureContainer = container.get();
        args.PictureCache = cache.get();
        return args;
    }
    // How the panel measures its text: a hit test with word wrap.
    static TArgs PanelMeasure(TRect rect = TRect(0, 0, 200, 100)) { return HitTest(-1, -1, rect); }
    int LineHeight() { return canvas->TextHeight(L"gh"); }
    int TextWidth(const String& text) { return canvas->TextWidth(text); }
    // Where the ink of a text drawn at x = 0 starts.
    int InkStart(const String& text)
    {
        TSurface plain(300, 50);
        plain.Canvas()->GetFont()->Assign(canvas->GetFont());
        DrawPanel(plain.Canvas(), text);
        return plain.Inked(plain.All()).left;
    }

    TSurface surface{300, 200};
    TCanvas* canvas = surface.Canvas();
    TOwned<TPictureContainer> container{New<TPictureContainer>(nullptr)};
    TOwned<THTMLPictureCache> cache{New<THTMLPictureCache>()};
};

TEST_F(PanelHTMLDrawTest, BodyGradientsRunLeftToRightOrTopToBottom)
{
    TArgs args;
    args.Rect = TRect(10, 10, 138, 74);
    DrawPanel(canvas, L"<BODY BGCOLOR=\"clWhite\" BGCOLORTO=\"clSilver\">", args);
    // 64 bands of 2 pixels: white at the left, the last band 1/64 short of silver.
    EXPECT_EQ(surface.Pixel(10, 10), White);
    EXPECT_EQ(surface.Pixel(137, 73), RGB(193, 193, 193));
    EXPECT_EQ(surface.Pixel(74, 40), RGB(224, 224, 224)); // band 32
    for (int x = 11; x < 138; ++x) {
        EXPECT_LE(GetRValue(surface.Pixel(x, 40)), GetRValue(surface.Pixel(x - 1, 40))) << x;
        EXPECT_EQ(surface.Pixel(x, 10), surface.Pixel(x, 73)) << x;
    }
    EXPECT_EQ(surface.Count(TRect(10, 10, 138, 74), White), 2 * 64);
    EXPECT_EQ(surface.Count(surface.All(), White), 300 * 200 - 128 * 64 + 2 * 64);

    surface.Clear();
    DrawPanel(canvas, L"<BODY BGCOLOR=\"clWhite\" BGCOLORTO=\"clSilver\" DIR=\"v\">", args);
    EXPECT_EQ(surface.Pixel(137, 10), White);
    EXPECT_EQ(surface.Pixel(10, 73), RGB(193, 193, 193));
    for (int y = 11; y < 74; ++y) {
        EXPECT_LE(GetRValue(surface.Pixel(60, y)), GetRValue(surface.Pixel(60, y - 1))) << y;
        EXPECT_EQ(surface.Pixel(10, y), surface.Pixel(137, y)) << y;
    }

    // Without BGCOLORTO a plain fill, two pixels wider on the left; the
    // panel reads any colour form.
    surface.Clear();
    DrawPanel(canvas, L"<BODY BGCOLOR=\"#0000ff\">", args);
    EXPECT_EQ(surface.Count(TRect(8, 10, 138, 74), Blue), 130 * 64);
    EXPECT_EQ(surface.Count(surface.All(), Blue), 130 * 64);
    // Drawn as selected, BODY does nothing.
    surface.Clear();
    args.Selected = true;
    DrawPanel(canvas, L"<BODY BGCOLOR=\"#0000ff\">", args);
    EXPECT_EQ(surface.Count(surface.All(), White), 300 * 200);
}

TEST_F(PanelHTMLDrawTest, ListMarkersTakeTheirTypeAndColour)
{
    const int h = LineHeight();
    const int inkX = InkStart(L"x");
    DrawPanel(canvas, L"<UL><LI TYPE=\"SQUARE\" COLOR=\"clRed\">x");
    // An 8 x 8 red square two pixels down, the text 12 pixels right of it.
    EXPECT_EQ(surface.Count(TRect(0, 2, 8, 10), Red), 64);
    EXPECT_EQ(surface.Count(surface.All(), Red), 64);
    EXPECT_EQ(surface.Inked(TRect(9, 0, 300, h)).left, 12 + inkX);

    // Without COLOR the marker takes the font colour; a circle fills less of its box.
    surface.Clear();
    canvas->GetFont()->SetColor(clBlue);
    DrawPanel(canvas, L"<UL><LI TYPE=\"circle\">x");
    const int circle = surface.Count(TRect(0, 2, 8, 10), Blue);
    EXPECT_GT(circle, 30);
    EXPECT_LT(circle, 64);
    EXPECT_EQ(surface.Count(TRect(0, 0, 8, 2), Blue), 0);

    // Any other TYPE draws no marker; without TYPE the bullet comes in COLOR.
    surface.Clear();
    DrawPanel(canvas, L"<UL><LI TYPE=\"disc\">x");
    EXPECT_EQ(surface.Inked(surface.All()).left, 12 + inkX);
    surface.Clear();
    canvas->GetFont()->SetColor(clBlack);
    DrawPanel(canvas, L"<UL><LI COLOR=\"clRed\">x");
    EXPECT_GT(surface.Count(TRect(0, 0, 10, h), Red), 0);
    EXPECT_EQ(surface.Count(TRect(10, 0, 300, h), Red), 0);
    EXPECT_GT(surface.Count(TRect(10, 0, 300, h), Black), 0);
}

TEST_F(PanelHTMLDrawTest, AHangingOffsetHoldsUntilItsClosingTag)
{
    const int h = LineHeight();
    TArgs args;
    args.Rect = TRect(0, 0, 20 + TextWidth(L"aaaa bb"), 200);
    const TResult r = DrawPanel(canvas, L"<OF x=\"20\">aaaa bbbb cccc</O> dddd", args);
    EXPECT_EQ(r.YSize, 4 * h);
    const wchar_t* const firsts[] = {L"a", L"b", L"c"};
    for (int line = 0; line < 3; ++line)
        EXPECT_EQ(surface.Inked(TRect(0, line * h, 300, (line + 1) * h)).left, 20 + InkStart(firsts[line])) << line;
    EXPECT_EQ(surface.Inked(TRect(0, 3 * h, 300, 4 * h)).left, InkStart(L"d"));

    // The offset lines count for the widest line.
    EXPECT_EQ(DrawPanel(canvas, L"<OF x=\"20\">aaaa aaaa aaaa", PanelMeasure(args.Rect)).XSize,
              20 + TextWidth(L"aaaa") + 2);
    // Right alignment puts the offset line's end at the right edge too.
    surface.Clear();
    DrawPanel(canvas, L"<P ALIGN=\"RIGHT\"><OF x=\"20\">aaaa aaaa", args);
    const TRect first = surface.Inked(TRect(0, 0, 300, h));
    const TRect second = surface.Inked(TRect(0, h, 300, 2 * h));
    EXPECT_EQ(first.left, second.left);
    EXPECT_EQ(first.right, second.right);
    surface.Clear();
    DrawPanel(canvas, L"aaaa");
    EXPECT_EQ(first.right, args.Rect.right - TextWidth(L"aaaa") + surface.Inked(surface.All()).right);
}

TEST_F(PanelHTMLDrawTest, LinesAsTallAsTheirContentPlusSpacing)
{
    const int h = LineHeight();
    TArgs args = With(PanelMeasure());
    EXPECT_EQ(DrawPanel(canvas, L"<IMG SRC=\"anim\">", args).YSize, 10);
    args.LineSpacing = 4;
    EXPECT_EQ(DrawPanel(canvas, L"<IMG SRC=\"anim\">", args).YSize, 14);
    EXPECT_EQ(DrawPanel(canvas, L"a<BR>b", args).YSize, 2 * (h + 4));
    // A wrapped picture leaves its line as tall as the text.
    args.LineSpacing = 0;
    EXPECT_EQ(DrawPanel(canvas, L"<IMG SRC=\"anim\" HEIGHT=\"40\" WRAP>x", args).YSize, h);
    EXPECT_EQ(DrawPanel(canvas, L"<IMG SRC=\"anim\" HEIGHT=\"40\">x", args).YSize, 40);

    // Drawn: the text after an image-only line starts LineSpacing below the image.
    TArgs draw = With(TArgs());
    draw.LineSpacing = 4;
    DrawPanel(canvas, L"<IMG SRC=\"anim\"></P>x", draw);
    EXPECT_EQ(surface.Pixel(3, 5), Red);
    // The spacing lies above the text of the next line, which is drawn on its bottom.
    const TRect x = surface.Inked(TRect(0, 13, 300, 200));
    EXPECT_GE(x.top, 14 + 4);
    EXPECT_LE(x.bottom, 14 + 4 + h);
}

TEST_F(PanelHTMLDrawTest, EntitiesAndAmpersands)
{
    TArgs args = PanelMeasure();
    const struct {
        const wchar_t* Text;
        const wchar_t* Drawn; // measured without prefix processing
    } cases[] = {
        {L"R&D and x & y", L"R&D and x & y"}, // a free-standing ampersand switches prefixes off
        {L"R&D", L"RD"},
        {L"a &amp; b", L"a & b"},
        {L"&euro;", L"\u20AC"},
        {L"x&nbsp;&lt;y&gt;", L"x <y>"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DrawPanel(canvas, c.Text, args).XSize, TextWidth(c.Drawn) + 2) << c.Text;
    // No named characters: "&eacute;" stays as typed.
    const TResult typed = DrawPanel(canvas, L"&eacute;", Measure());
    EXPECT_EQ(typed.StripVal, L"&eacute;");
    EXPECT_NE(typed.XSize, TextWidth(L"\u00E9") + 2);

    // Both ampersands drawn: the same ink as the grid variant drawing doubled
    // ampersands (the grid starts one pixel in).
    DrawPanel(canvas, L"R&D and x & y");
    TSurface doubled(300, 200);
    doubled.Canvas()->GetFont()->Assign(canvas->GetFont());
    TArgs grid;
    grid.Rect = TRect(-1, 0, 200, 100);
    Draw(doubled.Canvas(), L"R&&D and x && y", grid);
    EXPECT_EQ(surface.Count(surface.All(), Black), doubled.Count(doubled.All(), Black));
    EXPECT_EQ(surface.Inked(surface.All()), doubled.Inked(doubled.All()));
    surface.Clear();
    DrawPanel(canvas, L"R&D and x&y");
    EXPECT_LT(surface.Count(surface.All(), Black), doubled.Count(doubled.All(), Black));
}

TEST_F(PanelHTMLDrawTest, AnchorsAndPicturesAreHit)
{
    const int h = LineHeight();
    const String text = L"go <A HREF=\"http://x.org/Page\" TITLE=\"Hint\">one two</A> end";
    TResult r = DrawPanel(canvas, text, HitTest(TextWidth(L"go one ") + 2, h / 2));
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.AnchorVal, L"http://x.org/Page");
    EXPECT_EQ(r.FocusAnchor, L"Hint");
    EXPECT_EQ(r.MouseLink, 1);
    EXPECT_EQ(r.HoverRect.left, TextWidth(L"go "));
    TResult miss = DrawPanel(canvas, text, HitTest(2, h / 2));
    EXPECT_FALSE(miss.Hit);
    EXPECT_EQ(miss.AnchorVal, L"");

    const String picture = L"x<A HREF=\"pic\" TITLE=\"tip\"><IMG SRC=\"anim\"></A>";
    const int px = TextWidth(L"x");
    TResult onPicture = DrawPanel(canvas, picture, With(HitTest(px + 5, 5)));
    EXPECT_TRUE(onPicture.Hit);
    EXPECT_EQ(onPicture.AnchorVal, L"pic");
    EXPECT_EQ(onPicture.FocusAnchor, L"tip");
    EXPECT_FALSE(DrawPanel(canvas, picture, With(HitTest(px + 25, 5))).Hit);

    // Text on an offset line is hit where it is drawn.
    const TRect narrow(0, 0, 20 + TextWidth(L"aaaa bb"), 200);
    const String offset = L"<OF x=\"20\">aaaa <A HREF=\"b\">bbbb</A>";
    EXPECT_TRUE(DrawPanel(canvas, offset, HitTest(20 + TextWidth(L"bbbb") - 3, h + h / 2, narrow)).Hit);
    EXPECT_FALSE(DrawPanel(canvas, offset, HitTest(17, h + h / 2, narrow)).Hit);

    // Form controls are not the panel's: the tag is dropped.
    TResult control = DrawPanel(canvas, L"<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"20\">x",
                                HitTest(5, 5));
    EXPECT_FALSE(control.Hit);
    EXPECT_EQ(control.XSize, TextWidth(L"x") + 2);
}

TEST_F(PanelHTMLDrawTest, TheMeasuredSizeIsWhatDrawingTakes)
{
    const String texts[] = {
        L"<b>PC-0042</b> 16 GB <font color=\"clRed\">2 disks</font> <a href=\"x\">details</a>",
        L"<i>Inventory</i> of <b>three</b> rooms<br><u>done</u>",
        L"<UL><LI>one<LI>two</UL>after",
    };
    for (const String& text : texts) {
        surface.Clear();
        const TRect rect(10, 10, 290, 190);
        const TResult size = DrawPanel(canvas, text, PanelMeasure(rect));
        TArgs draw;
        draw.Rect = rect;
        const TResult drawn = DrawPanel(canvas, text, draw);
        EXPECT_EQ(drawn.XSize, size.XSize);
        EXPECT_EQ(drawn.YSize, size.YSize);
        const TRect ink = surface.Inked(surface.All());
        EXPECT_GE(ink.left, 10);
        EXPECT_GE(ink.top, 10);
        EXPECT_LE(ink.right, 10 + size.XSize) << text;
        EXPECT_GT(ink.right, 10 + size.XSize - 6) << text;
        EXPECT_LE(ink.bottom, 10 + size.YSize) << text;
        EXPECT_GT(ink.bottom, 10 + size.YSize - LineHeight() / 2) << text;
    }
}

TEST_F(PanelHTMLDrawTest, ColoursReturnToWhatWasInForce)
{
    const int h = LineHeight();
    // </FONT> and </A> go back to the colour before their opening tag.
    DrawPanel(canvas, L"<FONT COLOR=\"clRed\">WW<FONT COLOR=\"clBlue\">WW</FONT>WW");
    const int w = TextWidth(L"WW");
    EXPECT_GT(surface.Count(TRect(2 * w, 0, 3 * w + 2, h + 2), Red), 10);
    EXPECT_EQ(surface.Count(TRect(2 * w + 1, 0, 300, h + 2), Blue), 0);

    surface.Clear();
    TArgs args;
    args.URLColor = clBlue;
    DrawPanel(canvas, L"<FONT COLOR=\"clRed\"><A HREF=\"x\">WW</A>WW", args);
    EXPECT_GT(surface.Count(TRect(0, 0, w, h + 2), Blue), 10);
    EXPECT_GT(surface.Count(TRect(w + 1, 0, 300, h + 2), Red), 10);
    EXPECT_EQ(surface.Count(TRect(w + 1, 0, 300, h + 2), Black), 0);

    // HI always in the system's highlight colours; a closing tag without an
    // opening one has no colours to restore and leaves the text as it is.
    surface.Clear();
    SetHTMLHighlightColors(clLime, clNavy);
    DrawPanel(canvas, L"<HI>WW</HI>");
    SetHTMLHighlightColors(clHighlight, clHighlightText);
    EXPECT_GT(surface.Count(surface.All(), static_cast<COLORREF>(ColorToRGB(clHighlight))), 10);
    EXPECT_EQ(surface.Count(surface.All(), RGB(0, 255, 0)), 0);
    surface.Clear();
    DrawPanel(canvas, L"</HI>WW");
    EXPECT_GT(surface.Count(surface.All(), Black), 10);

    // HR in its COLOR from the line's left to its right edge, below the line.
    surface.Clear();
    args.Rect = TRect(10, 0, 110, 100);
    DrawPanel(canvas, L"x<HR COLOR=\"clRed\">y", args);
    EXPECT_EQ(surface.Count(TRect(0, h + 1, 300, h + 2), Red), 100);
    EXPECT_EQ(surface.Count(surface.All(), Red), 100);
    surface.Clear();
    DrawPanel(canvas, L"x<HR>y", args);
    EXPECT_EQ(surface.Count(TRect(0, h + 1, 300, h + 2), Black), 100);

    // A paragraph gradient spans the rectangle, two pixels past the line.
    surface.Clear();
    DrawPanel(canvas, L"<P BGCOLOR=\"clRed\" BGCOLORTO=\"clBlue\">x</P>", args);
    EXPECT_EQ(surface.Pixel(10, 0), Red);
    EXPECT_EQ(surface.Pixel(10, h + 1), Red);
    EXPECT_EQ(surface.Pixel(10, h + 2), White);
    EXPECT_GT(GetBValue(surface.Pixel(108, 2)), 240);
}

TEST_F(PanelHTMLDrawTest, CornerPictures)
{
    TOwned<TImageList> images(New<TImageList>(nullptr, 8, 8));
    TOwned<TBitmap> square(New<TBitmap>(8, 8));
    square->GetCanvas()->GetBrush()->SetColor(clBlue);
    square->GetCanvas()->FillRect(TRect(0, 0, 8, 8));
    images->Add(square.get(), nullptr);
    TArgs args = With(TArgs());
    args.Images = images.get();
    args.Rect = TRect(10, 10, 110, 60);

    DrawPanel(canvas, L"<BODY BGTOPRIGHT=\"idx:0\" BGTOPLEFT=\"IDX:0\">", args);
    EXPECT_EQ(surface.Count(TRect(102, 10, 110, 18), Blue), 64);
    EXPECT_EQ(surface.Count(TRect(10, 10, 18, 18), Blue), 64);
    EXPECT_EQ(surface.Count(surface.All(), Blue), 128);

    // Named pictures: BACKGROUND tiles, BGTOPRIGHT a column down the right edge.
    surface.Clear();
    DrawPanel(canvas, L"<BODY BGTOPRIGHT=\"anim\">", args);
    for (int y : {13, 23, 33, 43, 53})
        EXPECT_EQ(surface.Pixel(90 + 3, y), Red) << y;
    EXPECT_EQ(surface.Count(TRect(0, 0, 90, 200), Red), 0);
    EXPECT_EQ(surface.Count(TRect(0, 60, 300, 200), Red), 0);
    surface.Clear();
    DrawPanel(canvas, L"<BODY BACKGROUND=\"anim\">", args);
    EXPECT_EQ(surface.Pixel(10 + 3, 10 + 3), Red);
    EXPECT_EQ(surface.Pixel(90 + 3, 50 + 3), Red);

    // A small system icon without an image list sits at the right edge by its own width.
    surface.Clear();
    args.Images = nullptr;
    DrawPanel(canvas, L"<BODY BGTOPRIGHT=\"SSYS:0\">", args);
    const TRect icon = surface.Inked(surface.All());
    EXPECT_FALSE(icon.IsEmpty());
    EXPECT_GE(icon.left, 110 - GetSystemMetrics(SM_CXSMICON));
    EXPECT_LE(icon.right, 110);
}

TEST_F(PanelHTMLDrawTest, SmallPicturesSitOnTheTextLine)
{
    TOwned<TImageList> images(New<TImageList>(nullptr, 4, 4));
    TOwned<TBitmap> square(New<TBitmap>(4, 4));
    square->GetCanvas()->GetBrush()->SetColor(clBlue);
    square->GetCanvas()->FillRect(TRect(0, 0, 4, 4));
    images->Add(square.get(), nullptr);
    TArgs args;
    args.Images = images.get();
    const int th = LineHeight();
    const struct {
        const wchar_t* Text;
        int Top;
    } cases[] = {
        {L"x<IMG SRC=\"IDX:0\">", th - 4},
        {L"x<IMG SRC=\"IDX:0\" ALIGN=\"middle\">", (th - 4) / 2},
        {L"x<IMG SRC=\"IDX:0\" ALIGN=\"TOP\">", 0},
    };
    for (const auto& c : cases) {
        surface.Clear();
        DrawPanel(canvas, c.Text, args);
        EXPECT_EQ(surface.Inked(TRect(TextWidth(L"x"), 0, 300, 100)).top, c.Top) << c.Text;
    }
}

TEST_F(PanelHTMLDrawTest, LoopsEndOnPicturesOfNoSizeAndPicturesBetweenTheWidths)
{
    // Bytes GDI+ cannot decode: a picture that is there but has no size.
    TPictureItem* item = container->GetItems()->Add();
    item->SetName(L"broken");
    TOwned<TMemoryStream> junk(New<TMemoryStream>());
    junk->WriteBuffer("not a picture", 13);
    item->GetPicture()->LoadFromStream(junk.get());
    ASSERT_FALSE(item->GetPicture()->GetEmpty());
    ASSERT_EQ(item->GetPicture()->GetWidth(), 0);
    for (const wchar_t* text : {L"<BODY BACKGROUND=\"broken\">", L"<BODY BGTOPRIGHT=\"broken\">",
                                L"<BODY BGTOPLEFT=\"broken\">x"}) {
        surface.Clear();
        DrawPanel(canvas, text, With(TArgs()));
        EXPECT_EQ(surface.Count(surface.All(), Red), 0) << text;
    }

    // Narrower than the whole line, wider than what the offset leaves: it
    // moves to the next line once and stays there.
    TArgs args = With(PanelMeasure(TRect(0, 0, 100, 200)));
    const TResult r = DrawPanel(canvas, L"<OF x=\"20\">a<IMG SRC=\"anim\" WIDTH=\"90\">", args);
    EXPECT_EQ(r.YSize, LineHeight() + 45);
    EXPECT_EQ(r.XSize, 20 + 90 + 2);
    TArgs draw = With(TArgs());
    draw.Rect = args.Rect;
    DrawPanel(canvas, L"<OF x=\"20\">a<IMG SRC=\"anim\" WIDTH=\"90\">", draw);
    EXPECT_EQ(surface.Pixel(20 + 10, LineHeight() + 10), Red);
}

TEST_F(PanelHTMLDrawTest, CanvasToolsComeBackAndNoGdiObjectIsLeft)
{
    canvas->GetBrush()->SetColor(clTeal);
    canvas->GetFont()->SetColor(clMaroon);
    const String text = L"<FONT FACE=\"Courier New\" SIZE=\"5\" COLOR=\"clRed\"><B><I><A HREF=\"x\">a</A>"
                        L"<BODY BGCOLOR=\"clRed\" BGCOLORTO=\"clBlue\"><P BGCOLOR=\"clRed\">x<R a=\"90\">r</R>"
                        L"<UL><LI TYPE=\"SQUARE\">i<LI TYPE=\"CIRCLE\" COLOR=\"clLime\">j</UL><HR COLOR=\"clRed\">"
                        L"<OF x=\"10\">o</O><E>e</E>";
    TArgs args = With(TArgs());
    args.FocusLink = 0;
    DrawPanel(canvas, text, args);
    EXPECT_EQ(canvas->GetBrush()->GetColor(), clTeal);
    EXPECT_EQ(canvas->GetBrush()->GetStyle(), bsSolid);
    EXPECT_EQ(canvas->GetFont()->GetColor(), clMaroon);
    EXPECT_EQ(canvas->GetFont()->GetName(), L"Tahoma");
    EXPECT_TRUE(canvas->GetFont()->GetStyle().Empty());
    EXPECT_EQ(canvas->GetFont()->GetSize(), 8);

    const DWORD before = testing_support::GdiObjectCount();
    for (int i = 0; i < 20; ++i)
        DrawPanel(canvas, text, args);
    EXPECT_EQ(testing_support::GdiObjectCount(), before);
}

// ---------------------------------------------------------------------------
TEST(GradientFillRect, BandsStartWithTheirColour)
{
    TSurface surface(60, 40);
    TCanvas* canvas = surface.Canvas();
    // Three bands of 10 pixels from red to blue: thirds of the way.
    GradientFillRect(canvas, clRed, clBlue, true, TRect(10, 5, 40, 25), 3, clNone);
    const COLORREF bands[] = {RGB(255, 0, 0), RGB(170, 0, 85), RGB(85, 0, 170)};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(surface.Pixel(10 + 10 * i, 5), bands[i]) << i;
        EXPECT_EQ(surface.Count(TRect(10 + 10 * i, 5, 20 + 10 * i, 25), bands[i]), 200) << i;
    }
    EXPECT_EQ(surface.Count(surface.All(), White), 60 * 40 - 30 * 20);

    surface.Clear();
    GradientFillRect(canvas, clRed, clBlue, false, TRect(10, 5, 40, 35), 3, clNone);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(surface.Count(TRect(10, 5 + 10 * i, 40, 15 + 10 * i), bands[i]), 300) << i;

    // Steps 0 (and below) is one band in the first colour.
    for (int steps : {0, -3}) {
        surface.Clear();
        GradientFillRect(canvas, clRed, clBlue, true, TRect(10, 5, 40, 25), steps, clNone);
        EXPECT_EQ(surface.Count(surface.All(), Red), 30 * 20) << steps;
    }

    // A border only when given; system colours are resolved.
    surface.Clear();
    GradientFillRect(canvas, clBtnFace, clBtnFace, true, TRect(10, 5, 40, 25), 4, clBlack);
    EXPECT_EQ(surface.Count(surface.All(), Black), 2 * 30 + 2 * 18);
    EXPECT_EQ(surface.Pixel(20, 15), static_cast<COLORREF>(ColorToRGB(clBtnFace)));
}

} // namespace
