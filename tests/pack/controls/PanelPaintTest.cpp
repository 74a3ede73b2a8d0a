// How a panel paints, read back from DIB pixels: gradients and colour
// blends, the caption's buttons for every caption and button position, the
// close glyphs, the status bar, the size grip, side captions and the
// background picture.
#include "AdvPanel.h"
#include "PackControlsTestSupport.h"

using namespace pack_test;

namespace {

TColor Rgb(TColor Color) { return static_cast<TColor>(ColorToRGB(Color)); }

TEST(PanelGradients, BlendsAndBands)
{
    EXPECT_EQ(BlendColors(clRed, clBlue, 100), clRed);
    EXPECT_EQ(BlendColors(0x000000, 0xFFFFFF, 50), 0x808080) << "127.5 rounds to the even 128";
    EXPECT_EQ(BlendColors(0x0000C8, 0x000000, 20), 0x000028);
    EXPECT_EQ(BlendColors(clBlack, clBtnFace, 0), Rgb(clBtnFace)) << "system colours become RGB";

    TSnapshot picture(64, 10);
    TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(picture.DC());
    DrawBandGradient(canvas.get(), 0x000000, 0x0000FF, true, TRect(0, 0, 64, 5), 0);
    DrawBandGradient(canvas.get(), 0x000000, 0x0000FF, true, TRect(0, 5, 64, 10), 64);
    canvas->SetHandle(nullptr);
    EXPECT_EQ(picture.Pixel(0, 2), 0x000000);
    EXPECT_EQ(picture.Pixel(63, 2), 0x000000) << "0 bands draw one solid band";
    std::set<TColor> bands;
    for (int x = 0; x < 64; ++x)
        bands.insert(picture.Pixel(x, 7));
    EXPECT_EQ(bands.size(), 32u) << "at most 32 bands";
    EXPECT_EQ(picture.Pixel(0, 7), 0x000000);
    EXPECT_EQ(picture.Pixel(63, 7), 0x0000F7) << "the last band starts 31/32 of the way";
}

class PanelPaint : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        panel = New<TAdvPanel>(form);
        panel->SetBounds(10, 10, 120, 100);
        panel->SetBevelOuter(bvNone);
        panel->SetColor(clWhite);
        panel->SetParent(form);
        ShowForm();
    }
    TAdvPanel* panel = nullptr;
};

TEST_F(PanelPaint, MirroredAndPlainBackgrounds)
{
    panel->SetColorMirror(clRed);
    panel->SetColorMirrorTo(clBlue);
    {
        TSnapshot picture(panel);
        EXPECT_EQ(picture.Pixel(60, 10), clWhite) << "the mirror needs ColorTo";
        EXPECT_EQ(picture.Pixel(60, 90), clWhite);
    }
    panel->SetColorTo(clBlack);
    TSnapshot picture(panel);
    EXPECT_EQ(picture.Pixel(60, 1), clWhite) << "Color to ColorTo over the upper half";
    EXPECT_EQ(picture.Pixel(60, 50), clRed) << "ColorMirror starts the lower half";
    EXPECT_NE(picture.Pixel(60, 98), clRed);
    EXPECT_GT(GetBValue(picture.Pixel(60, 98)), 0xE0);
}

TEST_F(PanelPaint, BorderShadowBlendsTowardsButtonFace)
{
    panel->SetBorderColor(clBlack);
    panel->SetBorderShadow(true);
    {
        TSnapshot none(panel);
        EXPECT_EQ(none.Count(clBlack, TRect(0, 0, 120, 100)), 0) << "no border without a border width";
    }
    panel->SetBorderWidth(1);
    TSnapshot picture(panel);
    const TRect client = panel->GetClientRect();
    const int R = client.right - 2 - 1, B = client.bottom - 2 - 1;
    EXPECT_EQ(picture.Pixel(R, 10), clBlack);
    EXPECT_EQ(picture.Pixel(R + 1, 10), BlendColors(clBlack, clBtnFace, 50));
    EXPECT_EQ(picture.Pixel(R + 2, 10), BlendColors(clBlack, clBtnFace, 20));
    EXPECT_EQ(picture.Pixel(10, B + 2), BlendColors(clBlack, clBtnFace, 20));
}

// Caption buttons for each caption and button side: the middle of the
// close cross (red) and a point inside the expanded panel's triangle (lime).
TEST_F(PanelPaint, CaptionButtonsForEveryPosition)
{
    struct Case {
        TCaptionPosition position;
        TCaptionButtonPosition buttons;
        POINT cross, triangle;
    } cases[] = {
        {cpTop, cbpLeft, {7, 7}, {19, 7}},       {cpTop, cbpRight, {113, 7}, {101, 7}},
        {cpLeft, cbpLeft, {7, 93}, {7, 81}},     {cpLeft, cbpRight, {7, 7}, {7, 19}},
        {cpRight, cbpLeft, {113, 7}, {112, 19}}, {cpRight, cbpRight, {113, 91}, {112, 79}},
    };
    TPanelCaption* caption = panel->GetCaption();
    caption->SetColor(clNavy);
    caption->SetCloseButton(true);
    caption->SetMinMaxButton(true);
    caption->SetCloseButtonColor(clRed);
    caption->SetMinMaxButtonColor(clLime);
    caption->SetVisible(true);
    for (const Case& c : cases) {
        caption->SetPosition(c.position);
        caption->SetButtonPosition(c.buttons);
        TSnapshot picture(panel);
        const int row = c.position * 2 + (c.buttons == cbpLeft ? 0 : 1);
        EXPECT_EQ(picture.Pixel(c.cross.x, c.cross.y), clRed) << "row " << row;
        EXPECT_EQ(picture.Pixel(c.triangle.x, c.triangle.y), clLime) << "row " << row;
        EXPECT_GT(picture.Count(clNavy, TRect(0, 0, 120, 100)), 100) << "row " << row;
    }
}

TEST_F(PanelPaint, CloseGlyphFollowsTheCollapsedState)
{
    TPanelCaption* caption = panel->GetCaption();
    TOwned<TBitmap> collapsedGlyph(New<TBitmap>(10, 10));
    collapsedGlyph->GetCanvas()->GetBrush()->SetColor(clYellow);
    collapsedGlyph->GetCanvas()->FillRect(TRect(1, 1, 9, 9));
    TOwned<TBitmap> expandedGlyph(New<TBitmap>(10, 10));
    expandedGlyph->GetCanvas()->GetBrush()->SetColor(clFuchsia);
    expandedGlyph->GetCanvas()->FillRect(TRect(1, 1, 9, 9));
    caption->SetCloseMinGlyph(collapsedGlyph.get());
    caption->SetCloseMaxGlyph(expandedGlyph.get());
    caption->SetCloseButton(true);
    caption->SetVisible(true);
    {
        TSnapshot picture(panel);
        EXPECT_EQ(picture.Pixel(115, 7), clFuchsia);
        EXPECT_EQ(picture.Count(clYellow, TRect(0, 0, 120, 20)), 0);
    }
    panel->SetCollaps(true);
    TSnapshot picture(panel);
    EXPECT_EQ(picture.Pixel(115, 7), clYellow);
}

TEST_F(PanelPaint, StatusBarGripAndSideTexts)
{
    panel->GetStatusBar()->SetColor(clLime);
    panel->GetStatusBar()->SetVisible(true);
    panel->SetCanSize(true);
    {
        TSnapshot picture(panel);
        // One pixel above the bottom inset: from H - 18 - 1 to H - 1.
        EXPECT_EQ(picture.Pixel(50, 100 - 19), clLime);
        EXPECT_EQ(picture.Pixel(50, 100 - 20), clWhite);
        EXPECT_EQ(picture.Pixel(50, 98), clLime);
        EXPECT_EQ(picture.Pixel(50, 99), clWhite);
        EXPECT_EQ(picture.Pixel(115, 94), clGray) << "size grip";
        EXPECT_EQ(picture.Pixel(115, 93), clWhite) << "size grip";
    }
    panel->GetStatusBar()->SetVisible(false);
    panel->SetCanSize(false);
    TPanelCaption* caption = panel->GetCaption();
    caption->SetColor(clNavy);
    caption->SetText(L"Caption text");
    caption->GetFont()->SetColor(clYellow);
    caption->GetFont()->SetQuality(fqNonAntialiased);
    caption->SetVisible(true);
    for (TCaptionPosition position : {cpLeft, cpRight}) {
        caption->SetPosition(position);
        TSnapshot picture(panel);
        const TRect ink = picture.Extent(clYellow, TRect(0, 0, 120, 100));
        EXPECT_GT(ink.Height(), 2 * ink.Width()) << "text turned along the side, position " << position;
        if (position == cpLeft)
            EXPECT_LT(ink.right, 21);
        else
            EXPECT_GE(ink.left, 100);
    }
}

TEST_F(PanelPaint, BackgroundPicturePlaces)
{
    TOwned<TBitmap> source(New<TBitmap>(16, 8));
    source->GetCanvas()->GetBrush()->SetColor(clRed);
    source->GetCanvas()->FillRect(TRect(0, 0, 16, 8));
    TOwned<TAdvImage> image(New<TAdvImage>());
    image->Assign(source.get());
    panel->SetBackground(image.get());
    struct Case {
        TBackGroundPosition place;
        TRect expected;
    } cases[] = {// The far edges keep BevelWidth (1) free, bevel or not.
                 {bpTopLeft, TRect(0, 0, 16, 8)},
                 {bpTopRight, Bounds(120 - 16 - 1, 0, 16, 8)},
                 {bpBottomLeft, Bounds(0, 100 - 8 - 1, 16, 8)},
                 {bpBottomRight, Bounds(103, 91, 16, 8)},
                 {bpTiled, TRect(0, 0, 120, 100)},
                 {bpCenter, Bounds(103 / 2, 91 / 2, 16, 8)}};
    for (const Case& c : cases) {
        panel->SetBackgroundPosition(c.place);
        TSnapshot picture(panel);
        EXPECT_EQ(picture.Extent(clRed, TRect(0, 0, 120, 100)), c.expected) << "place " << c.place;
    }
}

} // namespace
