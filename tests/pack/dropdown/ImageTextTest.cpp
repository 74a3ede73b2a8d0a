// Glyphs on a background colour and mini-HTML texts, drawn into a bitmap.
#include "AdvDropDown.h"
#include "AdvUtil.h"
#include "DropDownSurface.h"
#include "ImgList.h"

namespace {

constexpr COLORREF Background = RGB(255, 255, 255);

class ImageTextTest : public SurfaceTest {
protected:
    ImageTextTest() : SurfaceTest(200, 100, Background) {}
    void SetUp() override
    {
        SurfaceTest::SetUp();
        Canvas()->GetFont()->SetName(L"Tahoma");
        Canvas()->GetFont()->SetHeight(-13);
        Canvas()->GetFont()->SetColor(clBlack);
        Canvas()->GetBrush()->SetStyle(bsClear);
    }
    // The box holding every pixel of Area that is not background; empty for none.
    TRect PaintedBox(TRect area = Rect(0, 0, 200, 100))
    {
        TRect box(area.right, area.bottom, area.left, area.top);
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (Surface().Pixel(x, y) != Background) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
};

// An 8 x 8 glyph: Key all round, Face in the middle, and Corner on the
// top-left pixel, whose colour is the one shown as the back colour.
TOwned<TBitmap> MakeGlyph(TColor key, TColor face, TColor corner)
{
    TOwned<TBitmap> glyph(New<TBitmap>(8, 8));
    TCanvas* c = glyph->GetCanvas();
    c->GetBrush()->SetColor(key);
    c->FillRect(Rect(0, 0, 8, 8));
    c->GetBrush()->SetColor(face);
    c->FillRect(Rect(2, 2, 6, 6));
    c->SetPixels(0, 0, corner);
    return glyph;
}

TEST_F(ImageTextTest, GlyphShowsItsTopLeftColourAsTheBackColour)
{
    const COLORREF btnFace = GetSysColor(COLOR_BTNFACE);
    auto glyph = MakeGlyph(clFuchsia, clNavy, clFuchsia);
    DrawBitmapTransparent(Canvas(), glyph.get(), clBtnFace, Rect(10, 10, 18, 18));
    EXPECT_EQ(Surface().Pixel(10, 10), btnFace);
    EXPECT_EQ(Surface().Pixel(17, 17), btnFace);
    EXPECT_EQ(Surface().Pixel(13, 13), RGB(0, 0, 128));
    EXPECT_EQ(Surface().CountPixels(btnFace, Rect(10, 10, 18, 18)), 64 - 16);
    EXPECT_EQ(PaintedBox(), Rect(10, 10, 18, 18));

    // The key is the top-left pixel, whatever colour it is.
    auto cornerKey = MakeGlyph(clFuchsia, clNavy, clLime);
    DrawBitmapTransparent(Canvas(), cornerKey.get(), clRed, Rect(30, 10, 38, 18));
    EXPECT_EQ(Surface().Pixel(30, 10), RGB(255, 0, 0));
    EXPECT_EQ(Surface().Pixel(31, 10), RGB(255, 0, 255));
    EXPECT_EQ(Surface().Pixel(33, 13), RGB(0, 0, 128));
}

TEST_F(ImageTextTest, NoGlyphOrNoCanvasDrawsNothing)
{
    TOwned<TBitmap> empty(New<TBitmap>());
    DrawBitmapTransparent(Canvas(), empty.get(), clRed, Rect(0, 0, 8, 8));
    DrawBitmapTransparent(Canvas(), nullptr, clRed, Rect(0, 0, 8, 8));
    auto glyph = MakeGlyph(clFuchsia, clNavy, clFuchsia);
    DrawBitmapTransparent(nullptr, glyph.get(), clRed, Rect(0, 0, 8, 8));
    EXPECT_TRUE(PaintedBox().IsEmpty());
}

// A 16 x 16 image list holding one red square.
TOwned<TImageList> MakeRedImages()
{
    TOwned<TImageList> images(New<TImageList>(nullptr, 16, 16));
    TOwned<TBitmap> red(New<TBitmap>(16, 16));
    red->GetCanvas()->GetBrush()->SetColor(clRed);
    red->GetCanvas()->FillRect(Rect(0, 0, 16, 16));
    images->Add(red.get(), nullptr);
    return images;
}

struct ImageTextCase {
    const char* name;
    TRect rect;
    int imageIndex;
    bool withImages;
    // Top-left of the red image; x < 0: no image.
    POINT image;
    // Where the text's painted box starts (left) or is centred (centre).
    bool centred;
};

TEST_F(ImageTextTest, ImageSitsLeftAndCentredAndTheTextFollowsIt)
{
    constexpr COLORREF red = RGB(255, 0, 0);
    auto images = MakeRedImages();
    const ImageTextCase cases[] = {
        {"image and text", Rect(10, 10, 190, 40), 0, true, {14, 17}, false},
        {"no image index", Rect(10, 10, 190, 40), -1, true, {-1, 0}, true},
        {"no image list", Rect(10, 10, 190, 40), 0, false, {-1, 0}, true},
        // (9 - 16) div 2 truncates toward zero to -3.
        {"image taller than the rectangle", Rect(10, 60, 190, 69), 0, true, {14, 57}, false},
    };
    for (const ImageTextCase& c : cases) {
        SCOPED_TRACE(c.name);
        Surface().Clear(Background);
        DrawImageAndText(Canvas(), c.rect, L"Caption", c.imageIndex, c.withImages ? images.get() : nullptr);
        const int textLeft = c.image.x >= 0 ? c.rect.left + 16 + 8 : c.rect.left;
        if (c.image.x >= 0) {
            const TRect image = Bounds(c.image.x, c.image.y, 16, 16);
            EXPECT_EQ(Surface().CountPixels(red, image), 16 * 16);
            EXPECT_EQ(Surface().CountPixels(red, Rect(0, 0, 200, 100)), 16 * 16);
        }
        // The text alone: what is painted right of the image.
        const TRect text = PaintedBox(Rect(c.image.x >= 0 ? c.image.x + 16 : 0, 0, 200, 100));
        ASSERT_FALSE(text.IsEmpty());
        const TSize extent = Canvas()->TextExtent(L"Caption");
        const int expectedLeft = c.centred ? c.rect.left + (c.rect.Width() - extent.cx) / 2 : textLeft;
        EXPECT_NEAR(text.left, expectedLeft, 2);
        EXPECT_LE(text.right, c.rect.right);
        const int middle = (text.top + text.bottom) / 2;
        EXPECT_NEAR(middle, (c.rect.top + c.rect.bottom) / 2, 3) << "the text is centred vertically";
    }
}

TEST_F(ImageTextTest, LongTextEndsInEllipsisInsideTheRectangle)
{
    const TRect r = Rect(10, 10, 80, 30);
    DrawImageAndText(Canvas(), r, L"A caption far too long for its place", -1, nullptr);
    const TRect box = PaintedBox();
    ASSERT_FALSE(box.IsEmpty());
    EXPECT_GE(box.left, r.left);
    EXPECT_LE(box.right, r.right);

    Surface().Clear(Background);
    DrawImageAndText(Canvas(), r, String(), -1, nullptr);
    DrawImageAndText(nullptr, r, L"text", -1, nullptr);
    EXPECT_TRUE(PaintedBox().IsEmpty());
}

TEST_F(ImageTextTest, HTMLTextIsMeasuredWithoutPaintingAndPaintedWithinItsSize)
{
    const TRect r = Rect(10, 20, 190, 90);
    const TSize measured = DrawHTMLText(Canvas(), L"Pick a <b>colour</b>", r, nullptr, false, nullptr);
    EXPECT_GT(measured.cx, 0);
    EXPECT_GT(measured.cy, 0);
    EXPECT_TRUE(PaintedBox().IsEmpty()) << "measuring paints nothing";

    const TSize painted = DrawHTMLText(Canvas(), L"Pick a <b>colour</b>", r, nullptr, true, nullptr);
    EXPECT_EQ(painted, measured);
    const TRect box = PaintedBox();
    ASSERT_FALSE(box.IsEmpty());
    EXPECT_GE(box.left, r.left);
    EXPECT_GE(box.top, r.top);
    EXPECT_LE(box.right, r.left + measured.cx);
    EXPECT_LE(box.bottom, r.top + measured.cy);
    EXPECT_GT(Surface().CountPixels(RGB(0, 0, 0), box), 0) << "drawn in the canvas's font colour";

    EXPECT_EQ(DrawHTMLText(Canvas(), String(), r, nullptr, true, nullptr), TSize(0, 0));
    EXPECT_EQ(DrawHTMLText(nullptr, L"text", r, nullptr, true, nullptr), TSize(0, 0));
}

TEST_F(ImageTextTest, HTMLSizeFollowsTheMarkup)
{
    const TRect r = Rect(0, 0, 200, 100);
    const TSize plain = DrawHTMLText(Canvas(), L"Wide", r, nullptr, false, nullptr);
    const TSize bold = DrawHTMLText(Canvas(), L"<b>Wide</b>", r, nullptr, false, nullptr);
    const TSize lines = DrawHTMLText(Canvas(), L"Wide<br>Wide", r, nullptr, false, nullptr);
    EXPECT_GT(bold.cx, plain.cx);
    EXPECT_EQ(lines.cx, plain.cx);
    EXPECT_EQ(lines.cy, 2 * plain.cy);
}

TEST_F(ImageTextTest, HTMLAnchorsAreDrawnInBlue)
{
    const TRect r = Rect(0, 0, 200, 100);
    DrawHTMLText(Canvas(), L"plain", r, nullptr, true, nullptr);
    EXPECT_EQ(Surface().CountPixels(RGB(0, 0, 255), r), 0);
    DrawHTMLText(Canvas(), L"<a href=\"more\">more</a>", Rect(0, 50, 200, 100), nullptr, true, nullptr);
    EXPECT_GT(Surface().CountPixels(RGB(0, 0, 255), Rect(0, 50, 200, 100)), 0);
}

} // namespace
