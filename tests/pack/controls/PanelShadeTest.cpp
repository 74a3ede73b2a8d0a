// Caption shades read from the generated shade bitmap and from the painted
// caption: intensities per shade type at chosen pixels, the small and square
// captions whose edges or spread have no room, the bitmap modes and shapes.
#include "AdvPanel.h"
#include "PackControlsTestSupport.h"

using namespace pack_test;

namespace {

class PanelShades : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        panel = New<TAdvPanel>(form);
        panel->SetBounds(10, 10, 100, 80);
        panel->SetBevelOuter(bvNone);
        panel->SetColor(clWhite);
        panel->SetParent(form);
        caption = panel->GetCaption();
        caption->SetColor(clWhite); // intensities read back as grey levels
        caption->SetShadeLight(255);
        caption->SetVisible(true);
        ShowForm();
    }
    // The grey level of the shade bitmap at (X, Y).
    int Level(int X, int Y)
    {
        TBitmap* shade = panel->GetShadedHeader();
        return GetBValue(ColorToRGB(shade->GetCanvas()->GetPixels(X, Y)));
    }
    TAdvPanel* panel = nullptr;
    TPanelCaption* caption = nullptr;
};

// The caption is 100 x 20 and white, ShadeLight 255.
TEST_F(PanelShades, IntensitiesPerType)
{
    struct Case {
        TShadeType type;
        int x, y, level;
    } cases[] = {
        {stDiagShade, 0, 0, 255},   {stDiagShade, 50, 10, 191},
        {stHShade, 0, 5, 132},      {stHShade, 50, 5, 192},
        {stHShadeInv, 0, 5, 251},   {stHShadeInv, 50, 5, 192},
        {stVShade, 30, 0, 253},     {stVShade, 30, 10, 224},
        {stVShadeInv, 30, 0, 194},  {stVBump, 30, 0, 250},
        {stVBump, 30, 10, 191},     {stHardBump, 50, 10, 191},
        {stIRadial, 50, 10, 255},   {stIRadial, 0, 0, 92},
        {stORadial, 50, 10, 0},     {stNoise, 7, 7, 191},
    };
    caption->SetShadeGrain(0);
    for (const Case& c : cases) {
        caption->SetShadeType(c.type);
        EXPECT_EQ(Level(c.x, c.y), c.level) << "type " << c.type << " at " << c.x << "," << c.y;
    }
    caption->SetShadeType(stNoise);
    caption->SetShadeGrain(1);
    for (int x : {0, 33, 99})
        EXPECT_EQ(Level(x, 19), 191) << "grain 1 is uniform too";
}

TEST_F(PanelShades, OutOfRangeIntensitiesAndTinyCaptions)
{
    caption->SetShadeLight(150);
    EXPECT_EQ(caption->GetShadeLight(), 200);
    // 256 shades as 0: the noise intensity -64 stays black instead of
    // spilling into the neighbouring channels.
    caption->SetShadeLight(256);
    caption->SetShadeGrain(0);
    caption->SetShadeType(stNoise);
    EXPECT_EQ(panel->GetShadedHeader()->GetCanvas()->GetPixels(10, 10), clBlack);

    caption->SetShadeLight(255);
    panel->SetWidth(5);
    caption->SetShadeType(stHardBump);
    EXPECT_EQ(panel->GetShadedHeader()->GetWidth(), 5);
    EXPECT_EQ(Level(2, 10), 191) << "no edge pass without room for it";

    panel->SetWidth(20);
    caption->SetColor(clRed);
    caption->SetShadeType(stIRadial);
    EXPECT_EQ(panel->GetShadedHeader()->GetCanvas()->GetPixels(3, 3), clRed) << "a square has no radial spread";
}

TEST_F(PanelShades, BitmapModesAndShapes)
{
    caption->SetColor(clNavy);
    caption->SetShadeType(stBitmap);
    {
        TSnapshot picture(panel);
        EXPECT_EQ(picture.Pixel(50, 10), clWhite) << "no caption bitmap: the strip keeps the background";
    }
    TOwned<TBitmap> strip(New<TBitmap>(10, 20));
    strip->GetCanvas()->GetBrush()->SetColor(clLime);
    strip->GetCanvas()->FillRect(TRect(0, 0, 10, 20));
    strip->GetCanvas()->GetBrush()->SetColor(clRed);
    strip->GetCanvas()->FillRect(TRect(7, 0, 10, 20));
    caption->SetBackground(strip.get());
    {
        TSnapshot picture(panel);
        EXPECT_EQ(picture.Pixel(50, 10), clLime) << "stretched over the strip";
    }
    caption->SetShadeType(stBitmapRStretch);
    {
        TSnapshot picture(panel);
        EXPECT_EQ(picture.Pixel(3, 10), clLime) << "drawn as it is";
        EXPECT_EQ(picture.Pixel(60, 10), clRed) << "its right columns stretched";
    }

    caption->SetShadeType(stVBump);
    {
        TSnapshot picture(panel);
        EXPECT_EQ(picture.Pixel(99, 10), 0x808080) << "shadow edge";
        EXPECT_EQ(picture.Pixel(0, 10), 0xFFFFFF) << "highlight edge";
        EXPECT_NE(picture.Pixel(50, 10), clWhite);
    }
    caption->SetShape(csRounded);
    TSnapshot picture(panel);
    EXPECT_EQ(picture.Pixel(0, 1), clWhite) << "outside the rounded corner";
    EXPECT_NE(picture.Pixel(50, 10), clWhite);
}

} // namespace
