// The fill description: change notification, and what its GDI+ painting
// puts where (body, halves, corners, shadow, glow, focus frame, pictures).
#include "GDIPFill.h"
#include "PackControlsTestSupport.h"
#include "PngWriter.h"
#include <cstdlib>

using namespace pack_test;

namespace {

// A picture of one opaque colour (a PNG's bytes).
void LoadSolidPicture(TAdvGDIPPicture* Picture, int Width, int Height, TColor Colour)
{
    pngwriter::Image image;
    image.Width = Width;
    image.Height = Height;
    image.ColorType = 2;
    for (int i = 0; i < Width * Height; ++i) {
        image.Samples.push_back(GetRValue(Colour));
        image.Samples.push_back(GetGValue(Colour));
        image.Samples.push_back(GetBValue(Colour));
    }
    const std::string bytes = pngwriter::Encode(image);
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream->SetPosition(0);
    Picture->LoadFromStream(stream.get());
}

// The fill painted over white into a Width x Height DIB; returns Fill's result.
TGPRectF PaintFill(TGDIPFill* Fill, TSnapshot& Picture, const TGPRectF& R, Byte Opacity = 255)
{
    TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(Picture.DC());
    canvas->GetBrush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, Picture.Width(), Picture.Height()));
    canvas->SetHandle(nullptr);
    TGPRectF result;
    {
        TGPGraphics graphics(Picture.DC());
        result = Fill->Fill(&graphics, R, 255, Opacity, 255, 255, 255);
    }
    return result;
}

// The smallest rectangle holding every pixel that is not white.
TRect InkExtent(const TSnapshot& Picture)
{
    TRect found(Picture.Width(), Picture.Height(), 0, 0);
    for (int y = 0; y < Picture.Height(); ++y)
        for (int x = 0; x < Picture.Width(); ++x)
            if (Picture.Pixel(x, y) != clWhite) {
                found.left = std::min<LONG>(found.left, x);
                found.top = std::min<LONG>(found.top, y);
                found.right = std::max<LONG>(found.right, x + 1);
                found.bottom = std::max<LONG>(found.bottom, y + 1);
            }
    return found;
}

bool Near(TColor a, TColor b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class FillPaint : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        fill.reset(New<TGDIPFill>());
    }
    void TearDown() override
    {
        fill.reset();
        FormTest::TearDown();
    }
    TOwned<TGDIPFill> fill;
};

TEST(GDIPFill, ChangesNotifyOutsideUpdatesOnly)
{
    TOwned<TGDIPFill> fill(New<TGDIPFill>());
    int changes = 0;
    fill->OnChange = [&](TObject*) { ++changes; };
    fill->SetColor(0xC0C0C0);
    EXPECT_EQ(changes, 0) << "same value";
    fill->SetColor(clRed);
    EXPECT_EQ(changes, 1);
    LoadSolidPicture(fill->GetPicture(), 4, 4, clRed);
    EXPECT_EQ(changes, 2) << "a new picture";

    fill->BeginUpdate();
    fill->SetColorTo(clBlue);
    fill->SetBorderColor(clBlack);
    fill->SetGradientType(gtSolid);
    fill->EndUpdate();
    EXPECT_EQ(changes, 2) << "EndUpdate does not notify";
    fill->EndUpdate();
    fill->SetBorderWidth(3);
    EXPECT_EQ(changes, 3) << "an extra EndUpdate leaves the count at 0";

    TOwned<TGDIPFill> source(New<TGDIPFill>());
    source->SetColorMirror(clLime);
    source->SetHatchStyleMirror(HatchStyleCross);
    source->SetRounding(7);
    source->SetRoundingType(rtLeft);
    source->SetShadowType(stSurround);
    source->SetGlow(gmRadial);
    source->SetOpacityMirrorTo(9);
    source->SetPictureSize(psCustom);
    source->SetBackGroundPicturePosition(GDIPFill::ppCustom);
    LoadSolidPicture(source->GetBackGroundPicture(), 3, 2, clBlue);
    fill->SetFocus(true);
    changes = 0;
    fill->Assign(source.get());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fill->GetColor(), 0xC0C0C0);
    EXPECT_EQ(fill->GetColorMirror(), clLime);
    EXPECT_EQ(fill->GetBorderWidth(), 1);
    EXPECT_EQ(fill->GetHatchStyleMirror(), HatchStyleCross);
    EXPECT_EQ(fill->GetRounding(), 7);
    EXPECT_EQ(fill->GetRoundingType(), rtLeft);
    EXPECT_EQ(fill->GetShadowType(), stSurround);
    EXPECT_EQ(fill->GetGlow(), gmRadial);
    EXPECT_EQ(fill->GetOpacityMirrorTo(), 9);
    EXPECT_EQ(fill->GetPictureSize(), psCustom);
    EXPECT_EQ(fill->GetBackGroundPicturePosition(), GDIPFill::ppCustom);
    EXPECT_TRUE(fill->GetPicture()->GetEmpty()) << "the source's empty picture";
    EXPECT_EQ(fill->GetBackGroundPicture()->GetWidth(), 3);
    EXPECT_TRUE(fill->GetFocus()) << "Focus is not copied";

    TOwned<TFont> font(New<TFont>());
    changes = 0;
    fill->Assign(font.get());
    EXPECT_EQ(changes, 0);
    fill->BeginUpdate();
    fill->Assign(source.get());
    EXPECT_EQ(changes, 0) << "Assign inside an update";
}

TEST(GDIPFill, FitPictureToRect)
{
    struct Case {
        int w, h, width, height;
        TPictureMode mode;
        int cx, cy;
    } cases[] = {
        {200, 100, 100, 50, pmStretch, 100, 50}, {200, 100, 100, 50, pmNormal, 100, 50},
        {16, 16, 100, 50, pmNormal, 16, 16},     {16, 16, 100, 50, pmStretch, 50, 50},
        {40, 10, 100, 50, pmStretch, 100, 25},   {0, 16, 100, 50, pmNormal, 0, 0},
        {16, 16, 100, -1, pmStretch, 0, 0},
    };
    for (const Case& c : cases) {
        const TSize size = TGDIPFill::FitPictureToRect(c.w, c.h, c.width, c.height, c.mode);
        EXPECT_EQ(size.cx, c.cx) << c.w << "x" << c.h << " in " << c.width << "x" << c.height;
        EXPECT_EQ(size.cy, c.cy) << c.w << "x" << c.h << " in " << c.width << "x" << c.height;
    }
}

TEST_F(FillPaint, BodyInOneAreaOrTwoHalves)
{
    struct Case {
        const char* name;
        std::function<void(TGDIPFill*)> set;
        // Expected colours at rows 1, 19 (the lower half's first row), 30.
        TColor row1, row19, row30;
        int tolerance;
    } cases[] = {
        {"no body colour", [](TGDIPFill* f) { f->SetColor(clNone); }, clWhite, clWhite, clWhite, 0},
        {"no end colour is solid",
         [](TGDIPFill* f) {
             f->SetColor(clRed);
             f->SetColorTo(clNone);
         },
         clRed, clRed, clRed, 0},
        {"two halves, the lower starting with a line",
         [](TGDIPFill* f) {
             f->SetColor(clRed);
             f->SetColorTo(clRed);
             f->SetColorMirror(clBlue);
             f->SetColorMirrorTo(clLime);
             f->SetGradientMirrorType(gtVertical);
         },
         clRed, clBlue, 0x758A00, 30},
        {"hatch keeps one area",
         [](TGDIPFill* f) {
             f->SetColor(clRed);
             f->SetColorTo(clRed);
             f->SetColorMirror(clBlue);
             f->SetGradientType(gtHatch);
         },
         clRed, clRed, clRed, 0},
        {"radial halves are left to the radial fill",
         [](TGDIPFill* f) {
             f->SetColor(clNone);
             f->SetGradientType(gtRadial);
         },
         clWhite, clWhite, clWhite, 0},
    };
    for (const Case& c : cases) {
        fill.reset(New<TGDIPFill>());
        c.set(fill.get());
        TSnapshot picture(40, 40);
        PaintFill(fill.get(), picture, TGPRectF{0, 0, 40, 40});
        EXPECT_TRUE(Near(picture.Pixel(20, 1), c.row1, c.tolerance)) << c.name << " " << std::hex << picture.Pixel(20, 1);
        EXPECT_TRUE(Near(picture.Pixel(20, 19), c.row19, 0)) << c.name << " " << std::hex << picture.Pixel(20, 19);
        EXPECT_TRUE(Near(picture.Pixel(20, 30), c.row30, c.tolerance)) << c.name << " " << std::hex
                                                                       << picture.Pixel(20, 30);
    }
}

TEST_F(FillPaint, DefaultGradientRunsFromColorToColorTo)
{
    TSnapshot picture(40, 40);
    PaintFill(fill.get(), picture, TGPRectF{0, 0, 40, 40});
    EXPECT_TRUE(Near(picture.Pixel(20, 0), 0xC0C0C0, 4)) << std::hex << picture.Pixel(20, 0);
    EXPECT_TRUE(Near(picture.Pixel(20, 39), 0x808080, 4)) << std::hex << picture.Pixel(20, 39);
    for (int y = 1; y < 40; ++y)
        EXPECT_LE(GetRValue(picture.Pixel(20, y)), GetRValue(picture.Pixel(20, y - 1))) << "row " << y;
    EXPECT_EQ(picture.Pixel(0, 20), picture.Pixel(39, 20)) << "no border";
}

TEST_F(FillPaint, OpacityArgumentsOverrideOnlyBelow255)
{
    fill->SetGradientType(gtSolid);
    fill->SetColor(clBlue);
    fill->SetOpacity(255);
    struct Case {
        Byte argument;
        Byte property;
        TColor expected;
    } cases[] = {{255, 255, clBlue}, {128, 255, 0xFF7F7F}, {255, 128, 0xFF7F7F}, {254, 128, 0xFF0101}};
    for (const Case& c : cases) {
        fill->SetOpacity(c.property);
        TSnapshot picture(20, 20);
        PaintFill(fill.get(), picture, TGPRectF{0, 0, 20, 20}, c.argument);
        EXPECT_TRUE(Near(picture.Pixel(10, 10), c.expected, 1))
            << int(c.argument) << "/" << int(c.property) << " " << std::hex << picture.Pixel(10, 10);
    }
}

TEST_F(FillPaint, ShadowTakesItsRoom)
{
    fill->SetGradientType(gtSolid);
    fill->SetColor(clBlue);
    fill->SetShadowOffset(4);
    fill->SetShadowColor(clBlack);
    struct Case {
        TShadowType type;
        TGPRectF result;
        POINT shadow;
    } cases[] = {
        {stSurround, {14, 14, 52, 32}, {12, 30}},
        {stRightBottom, {10, 10, 56, 36}, {66, 30}},
        {stBottom, {10, 10, 60, 36}, {40, 47}},
    };
    for (const Case& c : cases) {
        fill->SetShadowType(c.type);
        TSnapshot picture(80, 60);
        const TGPRectF r = PaintFill(fill.get(), picture, TGPRectF{10, 10, 60, 40});
        EXPECT_EQ(r.X, c.result.X) << c.type;
        EXPECT_EQ(r.Y, c.result.Y) << c.type;
        EXPECT_EQ(r.Width, c.result.Width) << c.type;
        EXPECT_EQ(r.Height, c.result.Height) << c.type;
        EXPECT_EQ(picture.Pixel(40, 30), clBlue) << c.type;
        const TColor shade = picture.Pixel(c.shadow.x, c.shadow.y);
        EXPECT_NE(shade, clWhite) << c.type << " shadow";
        EXPECT_NE(shade, clBlue) << c.type << " shadow";
        EXPECT_EQ(GetRValue(shade), GetBValue(shade)) << c.type << " a grey shadow";
        EXPECT_EQ(picture.Pixel(75, 55), clWhite) << c.type;
    }
    fill->SetShadowType(static_cast<TShadowType>(7));
    TSnapshot picture(80, 60);
    const TGPRectF r = PaintFill(fill.get(), picture, TGPRectF{10, 10, 60, 40});
    EXPECT_EQ(r.Width, 60) << "an unknown shadow type takes no room";
}

TEST_F(FillPaint, ThinAndEmptyRectangles)
{
    fill->SetBorderColor(clRed);
    fill->SetShadowOffset(3);
    fill->SetShadowColor(clBlack);
    {
        TSnapshot picture(30, 10);
        const TGPRectF r = PaintFill(fill.get(), picture, TGPRectF{0, 5, 30, 1});
        EXPECT_EQ(r.Height, 1) << "no shadow room taken";
        EXPECT_EQ(picture.Count(clWhite, TRect(0, 0, 30, 4)), 30 * 4) << "only the border line";
        EXPECT_EQ(picture.Count(clWhite, TRect(0, 7, 30, 10)), 30 * 3) << "only the border line";
        EXPECT_GT(picture.Count(clRed, TRect(0, 4, 30, 7)) + picture.Count(0x7F7FFF, TRect(0, 4, 30, 7)), 20);
    }
    for (const TGPRectF& r : {TGPRectF{5, 5, 0, 20}, TGPRectF{5, 5, 20, 0}, TGPRectF{5, 5, -4, 20}}) {
        TSnapshot picture(30, 30);
        PaintFill(fill.get(), picture, r);
        EXPECT_EQ(picture.Count(clWhite, TRect(0, 0, 30, 30)), 900) << r.Width << "x" << r.Height;
    }
    EXPECT_EQ(fill->Fill(nullptr, TGPRectF{1, 2, 3, 4}).Width, 3) << "no graphics";
}

TEST_F(FillPaint, RoundingTypesRoundTheirCorners)
{
    fill->SetGradientType(gtSolid);
    fill->SetColor(clBlue);
    fill->SetRounding(10);
    struct Case {
        TFillRoundingType type;
        bool topLeft, topRight, bottomRight, bottomLeft;
    } cases[] = {
        {rtNone, false, false, false, false}, {rtTop, true, true, false, false},  {rtBottom, false, false, true, true},
        {rtBoth, true, true, true, true},     {rtLeft, true, false, false, true}, {rtRight, false, true, true, false},
    };
    for (const Case& c : cases) {
        fill->SetRoundingType(c.type);
        TSnapshot picture(60, 40);
        PaintFill(fill.get(), picture, TGPRectF{0, 0, 60, 40});
        const std::pair<POINT, bool> corners[] = {
            {{1, 1}, c.topLeft}, {{58, 1}, c.topRight}, {{58, 38}, c.bottomRight}, {{1, 38}, c.bottomLeft}};
        for (const auto& [p, rounded] : corners)
            EXPECT_EQ(picture.Pixel(p.x, p.y), rounded ? clWhite : clBlue) << c.type << " at " << p.x << "," << p.y;
        EXPECT_EQ(picture.Pixel(30, 1), clBlue) << c.type;
        EXPECT_EQ(picture.Pixel(1, 20), clBlue) << c.type;
    }
    // Halves take the outer corners only: rtBoth rounds the top of the main
    // half and the bottom of the mirror half.
    fill->SetRoundingType(rtBoth);
    fill->SetColorMirror(clRed);
    fill->SetGradientMirrorType(gtSolid);
    TSnapshot halves(60, 40);
    PaintFill(fill.get(), halves, TGPRectF{0, 0, 60, 40});
    EXPECT_EQ(halves.Pixel(1, 1), clWhite);
    EXPECT_EQ(halves.Pixel(1, 38), clWhite);
    EXPECT_EQ(halves.Pixel(1, 18), clBlue);
    EXPECT_EQ(halves.Pixel(1, 21), clRed);
    // One area with a mirror colour (hatch) rounds like the main half.
    fill->SetGradientType(gtHatch);
    fill->SetColorTo(clBlue);
    TSnapshot hatch(60, 40);
    PaintFill(fill.get(), hatch, TGPRectF{0, 0, 60, 40});
    EXPECT_EQ(hatch.Pixel(1, 1), clWhite);
    EXPECT_EQ(hatch.Pixel(1, 38), clBlue);
}

TEST_F(FillPaint, GlowBandsAndRadialGlow)
{
    fill->SetGradientType(gtSolid);
    fill->SetColor(clNavy);
    fill->SetGlowGradientColor(clWhite);
    fill->SetGlowRadialColor(clWhite);
    TSnapshot plain(80, 60);
    PaintFill(fill.get(), plain, TGPRectF{0, 0, 80, 60});
    ASSERT_EQ(plain.Pixel(40, 2), clNavy);

    fill->SetGlow(gmGradient);
    TSnapshot bands(80, 60);
    PaintFill(fill.get(), bands, TGPRectF{0, 0, 80, 60});
    // The outline 1 pixel inside, the bands fading from the top and towards the bottom.
    EXPECT_GT(GetRValue(bands.Pixel(40, 1)), 150) << std::hex << bands.Pixel(40, 1);
    EXPECT_GT(GetRValue(bands.Pixel(40, 2)), GetRValue(bands.Pixel(40, 4)));
    EXPECT_GT(GetRValue(bands.Pixel(40, 4)), 0);
    EXPECT_EQ(bands.Pixel(40, 30), clNavy) << "the middle keeps the body";
    EXPECT_GT(GetRValue(bands.Pixel(40, 57)), GetRValue(bands.Pixel(40, 53)));
    EXPECT_EQ(bands.Pixel(40, 50), clNavy);

    fill->SetGlow(gmRadial);
    TSnapshot radial(80, 60);
    PaintFill(fill.get(), radial, TGPRectF{0, 0, 80, 60});
    // Centred on (40, 59): lightest in the middle, the body towards the ellipse's edge.
    EXPECT_GT(GetRValue(radial.Pixel(40, 58)), 100) << std::hex << radial.Pixel(40, 58);
    EXPECT_GT(GetRValue(radial.Pixel(40, 58)), GetRValue(radial.Pixel(40, 10)));
    EXPECT_EQ(radial.Pixel(5, 30), clNavy) << "outside the ellipse";
}

TEST_F(FillPaint, DottedFocusFrameInsideTheBorder)
{
    fill->SetGradientType(gtSolid);
    fill->SetColor(clWhite);
    fill->SetBorderColor(clNone);
    fill->SetBorderWidth(3);
    fill->SetFocusColor(clBlack);
    fill->SetFocus(true);
    // Rounding below the border width: a negative radius, square corners.
    fill->SetRounding(2);
    TSnapshot negative(60, 40);
    PaintFill(fill.get(), negative, TGPRectF{0, 0, 60, 40});
    const TGPRectF focus = fill->GetFocusRect();
    EXPECT_EQ(focus.X, 3);
    EXPECT_EQ(focus.Y, 3);
    EXPECT_EQ(focus.Width, 54);
    EXPECT_EQ(focus.Height, 34);
    const int onTop = negative.Count(clBlack, TRect(3, 3, 57, 4));
    EXPECT_GT(onTop, 15) << "dots";
    EXPECT_LT(onTop, 45) << "with gaps";
    EXPECT_EQ(negative.Count(clBlack, TRect(5, 5, 55, 35)), 0);
    EXPECT_EQ(negative.Count(clBlack, TRect(0, 0, 60, 3)), 0);

    fill->SetRounding(3);
    TSnapshot zero(60, 40);
    PaintFill(fill.get(), zero, TGPRectF{0, 0, 60, 40});
    EXPECT_EQ(negative.Count(clBlack, TRect(0, 0, 60, 40)), zero.Count(clBlack, TRect(0, 0, 60, 40)));
    EXPECT_EQ(negative.Extent(clBlack, TRect(0, 0, 60, 40)), zero.Extent(clBlack, TRect(0, 0, 60, 40)));

    fill->SetFocus(false);
    TSnapshot off(60, 40);
    PaintFill(fill.get(), off, TGPRectF{0, 0, 60, 40});
    EXPECT_EQ(off.Count(clBlack, TRect(0, 0, 60, 40)), 0);
}

TEST_F(FillPaint, PicturePlacement)
{
    fill->SetColor(clNone);
    LoadSolidPicture(fill->GetPicture(), 10, 6, clRed);
    struct Case {
        TFillPicturePosition position;
        TRect expected;
    } cases[] = {
        {GDIPFill::ppTopLeft, {7, 5, 17, 11}},        {GDIPFill::ppTopCenter, {32, 5, 42, 11}},
        {GDIPFill::ppTopRight, {57, 5, 67, 11}},      {GDIPFill::ppBottomLeft, {7, 39, 17, 45}},
        {GDIPFill::ppBottomCenter, {32, 39, 42, 45}}, {GDIPFill::ppBottomRight, {57, 39, 67, 45}},
        {GDIPFill::ppCenterLeft, {7, 22, 17, 28}},    {GDIPFill::ppCenterCenter, {32, 22, 42, 28}},
        {GDIPFill::ppCenterRight, {57, 22, 67, 28}},  {GDIPFill::ppCustom, {2, 0, 12, 6}},
        {GDIPFill::ppStretched, {7, 5, 67, 45}},      {GDIPFill::ppTiled, {7, 5, 67, 45}},
    };
    // Offsets 2, 0 shift the rectangle (5, 5, 60, 40), and ppCustom takes
    // them as the place itself.
    fill->SetPictureLeft(2);
    for (const Case& c : cases) {
        fill->SetPicturePosition(c.position);
        TSnapshot picture(80, 60);
        PaintFill(fill.get(), picture, TGPRectF{5, 5, 60, 40});
        const TRect ink = InkExtent(picture);
        if (c.position == GDIPFill::ppStretched) {
            // Scaled up, the picture's edges blend with what is around them.
            EXPECT_LE(std::abs(ink.left - c.expected.left) + std::abs(ink.top - c.expected.top) +
                          std::abs(ink.right - c.expected.right) + std::abs(ink.bottom - c.expected.bottom),
                      2)
                << "stretched";
            EXPECT_EQ(picture.Pixel(37, 25), clRed) << "stretched";
        } else {
            EXPECT_EQ(ink, c.expected) << c.position;
            EXPECT_EQ(picture.Count(clRed, c.expected), c.expected.Width() * c.expected.Height()) << c.position;
        }
    }

    // Stretched keeping the aspect: a small picture stays, a large one fits.
    fill->SetPictureLeft(0);
    fill->SetPicturePosition(GDIPFill::ppStretched);
    fill->SetPictureAspectRatio(true);
    fill->SetPictureAspectMode(pmNormal);
    fill->SetPictureSize(psCustom);
    struct Fit {
        int w, h;
        TRect expected;
    } fits[] = {{16, 16, {42, 17, 58, 33}}, {200, 100, {0, 0, 100, 50}}};
    for (const Fit& f : fits) {
        fill->SetPictureWidth(f.w);
        fill->SetPictureHeight(f.h);
        TSnapshot picture(100, 50);
        PaintFill(fill.get(), picture, TGPRectF{0, 0, 100, 50});
        // Scaled, so its edges blend: within a pixel or two of the target.
        const TRect ink = InkExtent(picture);
        EXPECT_LE(std::abs(ink.left - f.expected.left) + std::abs(ink.top - f.expected.top) +
                      std::abs(ink.right - f.expected.right) + std::abs(ink.bottom - f.expected.bottom),
                  3)
            << f.w << ": " << ink.left << "," << ink.top << "," << ink.right << "," << ink.bottom;
        EXPECT_EQ(picture.Pixel((f.expected.left + f.expected.right) / 2, (f.expected.top + f.expected.bottom) / 2),
                  clRed);
    }
    // A size mode outside its two values gives no picture.
    fill->SetPictureSize(static_cast<TFillPictureSize>(5));
    TSnapshot none(100, 50);
    PaintFill(fill.get(), none, TGPRectF{0, 0, 100, 50});
    EXPECT_EQ(none.Count(clRed, TRect(0, 0, 100, 50)), 0);
}

TEST_F(FillPaint, BackgroundPictureOnlyWithTexture)
{
    fill->SetColor(clBlue);
    fill->SetColorTo(clBlue);
    fill->SetGradientType(gtSolid);
    LoadSolidPicture(fill->GetBackGroundPicture(), 10, 6, clRed);
    fill->SetBackGroundPicturePosition(GDIPFill::ppCenterCenter);
    TSnapshot solid(60, 40);
    PaintFill(fill.get(), solid, TGPRectF{0, 0, 60, 40});
    EXPECT_EQ(solid.Count(clRed, TRect(0, 0, 60, 40)), 0);

    // Texture kind: inside the outline or over everything, and tiled as the body itself.
    fill->SetGradientType(gtTexture);
    for (TFillPictureMode mode : {pmInsideFill, pmOutsideFill}) {
        fill->SetBackGroundPictureMode(mode);
        TSnapshot picture(60, 40);
        PaintFill(fill.get(), picture, TGPRectF{0, 0, 60, 40});
        EXPECT_EQ(picture.Extent(clRed, TRect(0, 0, 60, 40)), TRect(25, 17, 35, 23)) << mode;
    }
    fill->SetBackGroundPicturePosition(GDIPFill::ppTiled);
    TSnapshot tiled(60, 40);
    PaintFill(fill.get(), tiled, TGPRectF{0, 0, 60, 40});
    EXPECT_EQ(tiled.Count(clRed, TRect(0, 0, 60, 40)), 60 * 40);
}

} // namespace

namespace {

// Bytes in use on the process heap, where GDI+ keeps its objects.
SIZE_T BusyHeapBytes()
{
    SIZE_T busy = 0;
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            busy += entry.cbData;
    HeapUnlock(heap);
    return busy;
}

TEST_F(FillPaint, EveryPartLeavesNoObjectBehind)
{
    // Everything at once: shadow, radial halves, rounding, border, glow,
    // focus frame and both pictures.
    fill->SetGradientType(gtRadial);
    fill->SetColorMirror(clRed);
    fill->SetGradientMirrorType(gtRadial);
    fill->SetRounding(5);
    fill->SetBorderColor(clBlack);
    fill->SetShadowOffset(3);
    fill->SetGlow(gmRadialGradient);
    fill->SetFocus(true);
    LoadSolidPicture(fill->GetPicture(), 6, 6, clLime);
    LoadSolidPicture(fill->GetBackGroundPicture(), 6, 6, clBlue);
    TSnapshot picture(80, 60);
    auto paint = [&](int times) {
        for (int i = 0; i < times; ++i) {
            TGPGraphics graphics(picture.DC());
            fill->Fill(&graphics, TGPRectF{2, 2, 70, 50});
        }
    };
    paint(5);
    const SIZE_T before = BusyHeapBytes();
    paint(100);
    const SIZE_T after = BusyHeapBytes();
    // One path or brush per paint left behind would be kilobytes by now.
    EXPECT_LT(after > before ? after - before : 0, 2048u) << before << " -> " << after;
    EXPECT_EQ(picture.Pixel(4, 4), clLime) << "the foreground picture, last";
}

} // namespace
