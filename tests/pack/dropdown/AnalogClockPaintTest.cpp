// What the analog clock paints, read back from a 32-bit DIB at pixels inside
// lines and fills: marks and their radii, numbers, hands, tails, shadows,
// the second hand, the AM/PM box, the twelve looks and the component styles.
#include "AdvTimePickerDropDown.h"
#include "DropDownInput.h"
#include "SysUtils.h"

using namespace pack_test;

namespace {

TDateTime HM(int H, int M)
{
    return EncodeTime(H, M, 0, 0);
}

int Channel(TColor C, int Shift)
{
    return static_cast<int>((ColorToRGB(C) >> Shift) & 0xFF);
}

// Every channel of Pixel between those of A and B, give or take 2.
bool Between(TColor Pixel, TColor A, TColor B)
{
    for (int shift : {0, 8, 16}) {
        const int p = Channel(Pixel, shift), a = Channel(A, shift), b = Channel(B, shift);
        if (p < std::min(a, b) - 2 || p > std::max(a, b) + 2)
            return false;
    }
    return true;
}

bool Near(TColor Pixel, TColor Expected, int Tolerance = 3)
{
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(Pixel, shift) - Channel(Expected, shift)) > Tolerance)
            return false;
    return true;
}

std::string Hex(TColor C)
{
    char buffer[16];
    snprintf(buffer, sizeof buffer, "%06X", static_cast<unsigned>(ColorToRGB(C)));
    return buffer;
}

class AnalogClockPaintTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        watch = New<TAdvWatch>(form);
        watch->SetParent(form);
        watch->SetBounds(20, 20, 180, 180);
        watch->SetAnimation(false);
        ShowForm();
    }
    std::unique_ptr<TSnapshot> Paint()
    {
        Pump();
        return std::make_unique<TSnapshot>(watch);
    }
    TAdvWatch* watch = nullptr;
};

TEST_F(AnalogClockPaintTest, MarksRunBetweenTheirRadii)
{
    TWatchAppearance* a = watch->GetAppearance();
    a->SetHourMarkWidth(3);
    a->SetMinuteMarkWidth(3);
    watch->SetShowNumbers(false);
    watch->SetShowAMPM(false);
    watch->SetTime(HM(0, 0));
    auto picture = Paint();
    // Three o'clock: the hour mark from 78 to 70.2 along y = 90.
    EXPECT_EQ(picture->Pixel(90 + 74, 90), clBlack);
    EXPECT_EQ(picture->Pixel(90 + 67, 90), clWhite) << "inside the hour mark's inner radius";
    // The first minute mark after three, from 78 to 74.1 at 6 degrees.
    EXPECT_EQ(picture->Pixel(165, 98), clGray);
    EXPECT_EQ(picture->Pixel(160, 97), clWhite) << "inside the minute mark's inner radius";

    struct Case {
        const char* what;
        TTickMarks marks;
        THourMarkStyle style;
        TColor atThree, aboveThree, atOne;
    } cases[] = {
        {"all marks", tmAll, hmsLine, clBlack, clWhite, clBlack},
        {"double quarter lines", tmAll, hmsQuartDblLine, clWhite, clBlack, clBlack},
        {"quarters only", tmQuartHours, hmsLine, clBlack, clWhite, clWhite},
        {"no marks", tmNone, hmsLine, clWhite, clWhite, clWhite},
    };
    a->SetHourMarkWidth(2);
    for (const Case& c : cases) {
        a->SetTickMarks(c.marks);
        a->SetHourMarkStyle(c.style);
        picture = Paint();
        EXPECT_EQ(picture->Pixel(164, 90), c.atThree) << c.what;
        EXPECT_EQ(picture->Pixel(164, 88), c.aboveThree) << c.what;
        // One o'clock: angle 30 degrees from twelve, radius 74.
        EXPECT_EQ(picture->Pixel(90 + 37, 90 - 64), c.atOne) << c.what;
    }
}

TEST_F(AnalogClockPaintTest, NumbersSitInsideTheMarks)
{
    watch->SetShowAMPM(false);
    watch->SetTime(HM(0, 0));
    const TRect three(148, 82, 160, 100);  // around radius 61 at three o'clock
    const TRect four(130, 116, 142, 128);  // around radius 61 at four o'clock
    auto picture = Paint();
    EXPECT_GT(picture->Count(clBlack, three), 0);
    EXPECT_EQ(picture->Count(clBlack, TRect(112, 84, 124, 96)), 0) << "nothing at radius 28";
    watch->GetAppearance()->SetTickMarks(tmQuartHours);
    picture = Paint();
    EXPECT_GT(picture->Count(clBlack, three), 0);
    EXPECT_EQ(picture->Count(clBlack, four), 0) << "only 3, 6, 9 and 12 with quarter marks";
    watch->SetShowNumbers(false);
    picture = Paint();
    EXPECT_EQ(picture->Count(clBlack, three), 0);
}

TEST_F(AnalogClockPaintTest, HandsAtHalfPastThree)
{
    TWatchAppearance* a = watch->GetAppearance();
    a->SetHourPointerShadow(clNone);
    a->SetMinutePointerShadow(clNone);
    a->SetCenterPointSize(0);
    watch->SetShowAMPM(false);
    watch->SetShowNumbers(false);
    watch->SetTime(HM(3, 30));
    auto picture = Paint();
    // The minute hand points down (180 degrees) to 0.7 R.
    EXPECT_EQ(picture->Pixel(90, 120), clBlack);
    EXPECT_EQ(picture->Pixel(90, 143), clBlack);
    EXPECT_EQ(picture->Pixel(90, 150), clWhite) << "past 0.7 R";
    // The hour hand at 105 degrees, half a degree a minute past three.
    EXPECT_EQ(picture->Pixel(114, 96), clBlack);
    EXPECT_EQ(picture->Pixel(114, 84), clWhite) << "not at three o'clock itself";
    // The tail of 0.1 R behind the centre.
    EXPECT_EQ(picture->Pixel(90, 84), clBlack);
    a->SetPointerStyle(psShortLine);
    picture = Paint();
    EXPECT_EQ(picture->Pixel(90, 84), clWhite) << "short hands start at the centre";
    EXPECT_EQ(picture->Pixel(90, 120), clBlack);
}

TEST_F(AnalogClockPaintTest, ShadowsFallThreePixelsBelowTheHands)
{
    watch->SetShowAMPM(false);
    watch->SetShowNumbers(false);
    watch->SetTime(HM(9, 15));  // minute hand to the right, hour hand to the left
    auto picture = Paint();
    EXPECT_EQ(picture->Pixel(120, 90), clBlack) << "the minute hand";
    // clBtnShadow's raw bytes, RGB(16, 0, 0), at alpha 80 over white.
    EXPECT_TRUE(Near(picture->Pixel(120, 93), RGB(180, 175, 175))) << Hex(picture->Pixel(120, 93));
    watch->GetAppearance()->SetMinutePointerShadow(clNone);
    picture = Paint();
    EXPECT_EQ(picture->Pixel(120, 93), clWhite);
}

TEST_F(AnalogClockPaintTest, TheSecondHandShowsOnlyInAutomaticModeWithSeconds)
{
    watch->SetShowAMPM(false);
    const TRect all(0, 0, 180, 180);
    auto picture = Paint();
    EXPECT_EQ(picture->Count(clRed, all), 0);
    watch->GetSettings()->SetAuto(true);
    picture = Paint();
    EXPECT_GT(picture->Count(clRed, all), 20);
    watch->GetSettings()->SetSecond(false);
    picture = Paint();
    EXPECT_EQ(picture->Count(clRed, all), 0);
}

TEST_F(AnalogClockPaintTest, TheAMPMBoxIsFilledOutlinedAndLabelled)
{
    TWatchAppearance* a = watch->GetAppearance();
    a->SetAMPMColor(clYellow);
    // A face GDI+ does not have still draws its text.
    TOwned<TFont> font(New<TFont>());
    font->SetName(L"No Such Face");
    font->SetSize(10);
    a->SetAMPMFont(font.get());
    watch->SetTime(HM(9, 0));
    const TRect box = watch->GetAMPMRect();
    auto picture = Paint();
    EXPECT_EQ(picture->Pixel(box.left, box.top + 3), clBlack) << "outline";
    EXPECT_EQ(picture->Pixel(box.left + 2, box.top + 2), clYellow) << "fill";
    TRect inner = box;
    InflateRect(&inner, -2, -2);
    EXPECT_GT(picture->Count(clYellow, inner), 0);
    const int yellow = picture->Count(clYellow, inner);
    EXPECT_LT(yellow, inner.Width() * inner.Height()) << "the text covers part of the box";
    a->SetAMPMColor(clNone);
    picture = Paint();
    EXPECT_EQ(picture->Count(clYellow, inner), 0);
    EXPECT_EQ(picture->Pixel(box.left, box.top + 3), clBlack) << "still outlined";
}

TEST_F(AnalogClockPaintTest, EachLookFillsItsFace)
{
    struct Case {
        TWatchStyle style;
        TColor from, to;
    } cases[] = {
        {wsClassic, clWhite, clWhite},
        {wsTower, RGB(254, 240, 177), RGB(232, 204, 91)},
        {wsFluorescent, clBlack, clBlack},
        {wsEmerald, RGB(0, 232, 58), clBlack},
        {wsBlueStar, RGB(213, 213, 255), RGB(0, 0, 160)},
        {wsFuchsia, clBlack, clBlack},
        {wsBlack, RGB(32, 32, 32), RGB(32, 32, 32)},
        {wsBlackWhite, clWhite, clWhite},
        {wsGray, RGB(209, 209, 209), RGB(108, 108, 108)},
        {wsSuperNova, clWhite, RGB(211, 211, 209)},
        {wsSports, clBlack, clBlack},
        {wsSmooth, clWhite, RGB(177, 176, 171)},
    };
    watch->SetTime(HM(0, 0));
    for (const Case& c : cases) {
        watch->SetStyle(c.style);
        auto picture = Paint();
        const TColor p = picture->Pixel(60, 110);
        EXPECT_TRUE(Between(p, c.from, c.to)) << "style " << c.style << ": " << Hex(p);
        EXPECT_NE(p, ColorToRGB(clBtnFace)) << "style " << c.style;
    }
}

TEST_F(AnalogClockPaintTest, EachComponentStyleColoursTheFace)
{
    watch->SetTime(HM(0, 0));
    for (int s = tsOffice2003Blue; s <= tsOffice2010Black; ++s) {
        const auto style = static_cast<TPackStyle>(s);
        if (style == tsCustom)
            continue;
        watch->SetComponentStyle(style);
        TWatchAppearance* a = watch->GetAppearance();
        EXPECT_EQ(a->GetHourColor(), a->GetMinuteColor()) << s;
        EXPECT_EQ(a->GetHourPointer(), a->GetMinutePointer()) << s;
        EXPECT_EQ(a->GetCenterPointOuterBorderColor(), clBlack) << s;
        auto picture = Paint();
        const TColor p = picture->Pixel(60, 110);
        EXPECT_TRUE(Between(p, a->GetBackgroundColor(), a->GetBackgroundColorTo())) << "style " << s << ": " << Hex(p);
    }
    // The styles after the table change only the first step.
    watch->GetAppearance()->SetBackgroundColor(clAqua);
    watch->SetComponentStyle(tsWindows10);
    EXPECT_EQ(watch->GetAppearance()->GetBackgroundColor(), clAqua);
    watch->SetComponentStyle(tsOffice2007Obsidian);
    EXPECT_EQ(watch->GetAppearance()->GetHourFont()->GetColor(), RGB(240, 241, 242));
}

TEST_F(AnalogClockPaintTest, ARadialFaceResolvesASystemColourRim)
{
    TWatchAppearance* a = watch->GetAppearance();
    a->SetBackgroundGradient(wgRadial);
    a->SetBackgroundColor(clWhite);
    a->SetBackgroundColorTo(clBtnFace);
    watch->SetShowNumbers(false);
    watch->SetShowAMPM(false);
    watch->SetTime(HM(6, 0));
    auto picture = Paint();
    // Near the rim at the top, away from marks and hands.
    const TColor rim = picture->Pixel(60, 28);
    EXPECT_TRUE(Between(rim, clWhite, ColorToRGB(clBtnFace))) << Hex(rim);
}

TEST_F(AnalogClockPaintTest, HandsRepaintWithoutLeavingGdiObjects)
{
    watch->GetSettings()->SetAuto(true);
    Pump();
    watch->RepaintHands();
    const DWORD before = testing_support::GdiObjectCount();
    for (int i = 0; i < 200; ++i)
        watch->RepaintHands();
    EXPECT_EQ(testing_support::GdiObjectCount(), before);
}

TEST_F(AnalogClockPaintTest, APictureReplacesTheFillUnderTheOutline)
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetSize(180, 180);
    bitmap->GetCanvas()->GetBrush()->SetColor(clLime);
    bitmap->GetCanvas()->FillRect(TRect(0, 0, 180, 180));
    // The top-left pixel is the colour left out.
    ::SetPixel(bitmap->GetCanvas()->GetHandle(), 0, 0, RGB(255, 0, 0));
    watch->GetAppearance()->GetPicture()->SetGraphic(bitmap.get());
    watch->SetShowNumbers(false);
    watch->SetShowAMPM(false);
    auto picture = Paint();
    EXPECT_GT(picture->Count(clLime, TRect(0, 0, 180, 180)), 1000) << "the picture replaces the fill";
    EXPECT_EQ(picture->Pixel(90, 12), clBlack) << "the outline over it";
}

// A picture as the face can bring it: bytes no decoder reads, or a save
// that fails for want of memory.
class TBrokenGraphic : public TGraphic {
public:
    explicit TBrokenGraphic(bool Throws) : throws_(Throws) {}
    bool GetEmpty() const override { return false; }
    int GetWidth() const override { return 20; }
    void SetWidth(int) override {}
    int GetHeight() const override { return 20; }
    void SetHeight(int) override {}
    void LoadFromStream(TStream*) override {}
    void SaveToStream(TStream* Stream) override
    {
        if (throws_)
            throw Exception(L"Could not allocate memory for image");
        const char junk[] = "no picture format starts like this";
        Stream->WriteBuffer(junk, sizeof junk);
    }
    void Draw(TCanvas*, const TRect&) override {}

private:
    bool throws_;
};

TEST(DrawGraphicGDIPTest, APictureThatCannotBeDrawnDrawsNothing)
{
    for (bool throws : {false, true}) {
        TOwned<TBitmap> target(New<TBitmap>());
        target->SetPixelFormat(pf32bit);
        target->SetSize(30, 30);
        target->GetCanvas()->GetBrush()->SetColor(clWhite);
        target->GetCanvas()->FillRect(TRect(0, 0, 30, 30));
        TOwned<TBrokenGraphic> graphic(New<TBrokenGraphic>(throws));
        EXPECT_NO_THROW(DrawGraphicGDIP(nullptr, target->GetCanvas(), TRect(0, 0, 30, 30), graphic.get(), true, true))
            << throws;
        EXPECT_EQ(GetPixel(target->GetCanvas()->GetHandle(), 10, 10), clWhite) << throws;
    }
}

} // namespace
