// Pictures in the grid variant of the HTML engine: named pictures of a
// container, URL pictures through the cache, system icons, their place in
// the line, hit testing with ALT pictures, and BODY backgrounds.
#include <gtest/gtest.h>

#include "HTMLTestSupport.h"
#include "ImgList.h"
#include "PictureContainer.h"

using namespace htmltest;

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF White = RGB(255, 255, 255);

class GridHTMLPicturesTest : public testing::Test {
protected:
    void SetUp() override
    {
        // "anim": 20 x 10, its first frame red in the top-left 8 x 6 corner; "dot": 4 x 4.
        Add(L"anim", L"TAVELIN_TEST_GIF");
        Add(L"dot", L"TAVELIN_TEST_PNG");
    }
    void Add(const wchar_t* name, const wchar_t* resource)
    {
        TPictureItem* item = container->GetItems()->Add();
        item->SetName(name);
        static_cast<THTMLPicture*>(item->GetPicture())->LoadFromResourceName(HInstance(), resource);
    }
    TArgs With(TArgs args)
    {
        args.PictureContainer = container.get();
        args.PictureCache = cache.get();
        return args;
    }
    int LineHeight() { return canvas->TextHeight(L"gh"); }

    TSurface surface{200, 100};
    TCanvas* canvas = surface.Canvas();
    TOwned<TPictureContainer> container{New<TPictureContainer>(nullptr)};
    TOwned<THTMLPictureCache> cache{New<THTMLPictureCache>()};
};

TEST_F(GridHTMLPicturesTest, PicturesTakeTheirSizeOrTheGivenOne)
{
    const int h = LineHeight();
    const struct {
        const wchar_t* Text;
        int Width;
        int Height;
    } cases[] = {
        {L"<IMG SRC=\"anim\">", 20, std::max(h, 10)},
        {L"<img src=\"ANIM\" width=\"40\">", 40, 20},
        {L"<IMG SRC=\"anim\" HEIGHT=\"30\">", 60, 30},
        {L"<IMG SRC=\"anim\" WIDTH=\"7\" HEIGHT=\"33\">", 7, 33},
        {L"<IMG SRC=\"missing\" WIDTH=\"40\">", 0, h},
        {L"<IMG SRC=\"C:\\dot\">", 0, h},
        {L"x<IMG SRC=\"dot\">", canvas->TextWidth(L"x") + 4, h},
    };
    for (const auto& c : cases) {
        TResult r = Draw(canvas, c.Text, With(Measure()));
        EXPECT_EQ(r.XSize, c.Width) << c.Text;
        EXPECT_EQ(r.YSize, c.Height) << c.Text;
    }
}

TEST_F(GridHTMLPicturesTest, AnimationsDrawTheirFrameOnTheirArea)
{
    TArgs args = With(TArgs());
    args.Rect = TRect(10, 10, 200, 100);
    Draw(canvas, L"<IMG SRC=\"anim\">", args);
    EXPECT_EQ(surface.Pixel(11 + 3, 10 + 3), Red);
    EXPECT_EQ(surface.Pixel(11 + 15, 10 + 8), White);

    // Stretched into the given size.
    surface.Clear();
    Draw(canvas, L"<IMG SRC=\"anim\" WIDTH=\"40\">", args);
    EXPECT_EQ(surface.Pixel(11 + 14, 10 + 10), Red);
    EXPECT_EQ(surface.Pixel(11 + 18, 10 + 14), White);
}

TEST_F(GridHTMLPicturesTest, URLPicturesAreLoadedOnceIntoTheCache)
{
    const String text = L"<IMG SRC=\"res://tavelin_test_gif\"><IMG SRC=\"http://example.org/x.png\">";
    EXPECT_EQ(Draw(canvas, text, With(Measure())).XSize, 20);
    EXPECT_EQ(Draw(canvas, text, With(TArgs())).XSize, 20);
    ASSERT_EQ(cache->Count(), 2);
    EXPECT_EQ(cache->GetPicture(0)->GetID(), L"RES://TAVELIN_TEST_GIF");
    EXPECT_TRUE(cache->GetPicture(1)->GetEmpty());
    EXPECT_EQ(surface.Pixel(4, 3), Red);

    // Without a cache URL pictures are skipped.
    TArgs noCache = Measure();
    noCache.PictureContainer = container.get();
    EXPECT_EQ(Draw(canvas, text, noCache).XSize, 0);
}

TEST_F(GridHTMLPicturesTest, PicturesAndTheLine)
{
    const int h = LineHeight();
    // Narrower than the line but not fitting after the text: next line.
    const int textWidth = canvas->TextWidth(L"aaaa");
    TResult next = Draw(canvas, L"aaaa<IMG SRC=\"anim\">", With(Measure(TRect(0, 0, textWidth + 12, 100))));
    EXPECT_EQ(next.YSize, h + std::max(h, 10));
    // Wider than the whole line: stays where it is.
    TResult stays = Draw(canvas, L"a<IMG SRC=\"anim\">", With(Measure(TRect(0, 0, 15, 100))));
    EXPECT_EQ(stays.YSize, std::max(h, 10));
    EXPECT_EQ(stays.XSize, canvas->TextWidth(L"a") + 20);
}

TEST_F(GridHTMLPicturesTest, AlignMovesTheTextOfTheLine)
{
    const String picture = L"<IMG SRC=\"anim\" WIDTH=\"80\"";
    Draw(canvas, picture + L" ALIGN=\"TOP\">x", With(TArgs()));
    const TRect top = surface.Inked(TRect(82, 0, 200, 100));
    surface.Clear();
    Draw(canvas, picture + L">x", With(TArgs()));
    const TRect bottom = surface.Inked(TRect(82, 0, 200, 100));
    surface.Clear();
    Draw(canvas, picture + L" ALIGN=\"MIDDLE\">x", With(TArgs()));
    const TRect middle = surface.Inked(TRect(82, 0, 200, 100));
    EXPECT_LT(top.bottom, LineHeight() + 1);
    EXPECT_GT(bottom.top, 40 - LineHeight() - 1);
    // The baseline rises by the free height for TOP and by half of it for MIDDLE.
    const int free = 40 - LineHeight();
    EXPECT_EQ(middle.top - top.top, free - free / 2);
}

TEST_F(GridHTMLPicturesTest, PicturesInAnchorsAreHitAndSwapToTheirAlt)
{
    const String text = L"<A HREF=\"go\" TITLE=\"tip\"><IMG SRC=\"dot\" ALT=\"anim\"></A>";
    TResult hit = Draw(canvas, text, With(HitTest(3, 2)));
    EXPECT_TRUE(hit.Hit);
    EXPECT_EQ(hit.AnchorVal, L"go");
    EXPECT_EQ(hit.AnchorHint, L"tip");
    EXPECT_EQ(hit.XSize, 20); // the second pass lays out the ALT picture

    TResult miss = Draw(canvas, text, With(HitTest(30, 2)));
    EXPECT_FALSE(miss.Hit);
    EXPECT_EQ(miss.XSize, 4);

    // Outside an anchor a picture is not hit.
    EXPECT_FALSE(Draw(canvas, L"<IMG SRC=\"dot\">", With(HitTest(3, 2))).Hit);
}

TEST_F(GridHTMLPicturesTest, ImageListEntriesByIndex)
{
    TOwned<TImageList> images(New<TImageList>(nullptr, 8, 8));
    for (TColor color : {clRed, clBlue}) {
        TOwned<TBitmap> square(New<TBitmap>(8, 8));
        square->GetCanvas()->GetBrush()->SetColor(color);
        square->GetCanvas()->FillRect(TRect(0, 0, 8, 8));
        images->Add(square.get(), nullptr);
    }
    TArgs args = With(TArgs());
    args.Images = images.get();
    const struct {
        const wchar_t* Text;
        int Width;
    } cases[] = {
        {L"<IMG SRC=\"IDX:1\">", 8}, {L"<IMG SRC=\"idx:0\">", 8},
        {L"<IMG SRC=\"IDX:2\">", 0}, {L"<IMG SRC=\"IDX:-1\">", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Draw(canvas, c.Text, args).XSize, c.Width) << c.Text;
    TArgs noList = With(Measure());
    EXPECT_EQ(Draw(canvas, L"<IMG SRC=\"IDX:1\">", noList).XSize, 0);

    surface.Clear();
    Draw(canvas, L"<IMG SRC=\"IDX:1\">x", args);
    EXPECT_EQ(surface.Count(TRect(1, 0, 9, 8), RGB(0, 0, 255)), 64);
    EXPECT_EQ(surface.Count(surface.All(), RGB(0, 0, 255)), 64);

    // Printing stretches list images by the resolution factor, not their room in the line.
    surface.Clear();
    args.Print = true;
    args.ResFactor = 2.0;
    EXPECT_EQ(Draw(canvas, L"<IMG SRC=\"IDX:1\">", args).XSize, 8);
    EXPECT_EQ(surface.Count(TRect(1, 0, 17, 16), RGB(0, 0, 255)), 256);
}

TEST_F(GridHTMLPicturesTest, SystemIconsComeFromTheShell)
{
    TResult small = Draw(canvas, L"<IMG SRC=\"SSYS:0\">", With(TArgs()));
    EXPECT_EQ(small.XSize, GetSystemMetrics(SM_CXSMICON));
    EXPECT_GE(small.YSize, GetSystemMetrics(SM_CYSMICON));
    EXPECT_FALSE(surface.Inked(surface.All()).IsEmpty());
    EXPECT_EQ(Draw(canvas, L"<IMG SRC=\"LSYS:C:\\NO\\SUCH.TXT\">", With(Measure())).XSize,
              GetSystemMetrics(SM_CXICON));
}

TEST_F(GridHTMLPicturesTest, BodyBackgroundsFillTheRectangle)
{
    TArgs args = With(TArgs());
    args.Rect = TRect(0, 0, 50, 25);
    Draw(canvas, L"<BODY BACKGROUND=\"anim\">", args);
    for (const auto& [x, y] : {std::pair{3, 3}, std::pair{23, 3}, std::pair{43, 13}, std::pair{3, 23}})
        EXPECT_EQ(surface.Pixel(x, y), Red) << x << "," << y;
    EXPECT_EQ(surface.Count(TRect(50, 0, 200, 100), White), 150 * 100);
    EXPECT_EQ(surface.Count(TRect(0, 25, 50, 100), White), 50 * 75);

    const struct {
        const wchar_t* Tag;
        COLORREF Fill;
    } fills[] = {
        {L"<BODY BGCOLOR=\"clYellow\">", RGB(255, 255, 0)},
        {L"<BODY BGCOLOR=\"#00ff00\">", RGB(0, 255, 0)},
        {L"<BODY BGCOLOR=\"yellow\">", White},
    };
    for (const auto& f : fills) {
        surface.Clear();
        Draw(canvas, f.Tag, args);
        EXPECT_EQ(surface.Count(TRect(0, 0, 50, 25), f.Fill), 50 * 25) << f.Tag;
        EXPECT_EQ(surface.Count(TRect(50, 0, 200, 100), White), 150 * 100) << f.Tag;
    }

    // A paragraph background spans the rectangle's width on each of its lines.
    surface.Clear();
    args.Rect = TRect(0, 0, 150, 100);
    Draw(canvas, L"<P BGCOLOR=\"clYellow\">a<br>b</P>c", args);
    const int h = LineHeight();
    EXPECT_GT(surface.Count(TRect(140, 0, 150, 2 * h), RGB(255, 255, 0)), 10 * 2 * h - 20);
    EXPECT_EQ(surface.Count(TRect(140, 2 * h + 1, 150, 3 * h), RGB(255, 255, 0)), 0);
}

} // namespace
