// The circular gauge: defaults, refused values, the ring's arcs and the
// value and caption texts it paints.
#include "AdvGaugeCircle.h"
#include "PackControlsTestSupport.h"
#include "SysUtils.h"
#include <cmath>
#include <numbers>

using namespace pack_test;

namespace {

TEST(GaugeCircle, NewGaugeDefaults)
{
    TOwned<TAdvGaugeCircle> gauge(New<TAdvGaugeCircle>(nullptr));
    EXPECT_EQ(gauge->GetWidth(), 100);
    EXPECT_EQ(gauge->GetHeight(), 100);
    EXPECT_EQ(gauge->GetMinimum(), 0);
    EXPECT_EQ(gauge->GetMaximum(), 100);
    EXPECT_EQ(gauge->GetPosition(), 50);
    EXPECT_EQ(gauge->GetIncrement(), 5);
    EXPECT_EQ(gauge->GetInnerMargin(), 10);
    EXPECT_EQ(gauge->GetArcWidth(), 2);
    EXPECT_EQ(gauge->GetPenColor(), 0xFF0000);
    EXPECT_EQ(gauge->GetCircleBackgroundColor(), 0xC0C0C0);
    EXPECT_EQ(gauge->GetText(), L"Text");
    EXPECT_EQ(gauge->GetFormat(), L"");
    EXPECT_EQ(gauge->GetBackground()->GetColor(), clWhite);
    EXPECT_EQ(gauge->GetBackground()->GetColorTo(), clWhite);
    EXPECT_EQ(gauge->GetBackground()->GetBorderColor(), clNone);
    EXPECT_EQ(gauge->GetFont()->GetName(), L"Trebuchet Sans MS");
    EXPECT_EQ(gauge->GetFont()->GetSize(), 14);
    EXPECT_EQ(gauge->GetFont()->GetColor(), clBlack);
    EXPECT_TRUE(gauge->GetDoubleBuffered());
    EXPECT_EQ(gauge->GetVersion(), L"1.0.0.0");
    EXPECT_FALSE(gauge->GetIsRange());
}

TEST(GaugeCircle, OutOfRangeValuesAreRefusedSilently)
{
    TOwned<TAdvGaugeCircle> gauge(New<TAdvGaugeCircle>(nullptr));
    struct Step {
        const char* what;
        std::function<void()> write;
        double minimum, maximum, position;
    } steps[] = {
        {"Position above Maximum", [&] { gauge->SetPosition(150); }, 0, 100, 50},
        {"Position below Minimum", [&] { gauge->SetPosition(-1); }, 0, 100, 50},
        {"Position at Maximum", [&] { gauge->SetPosition(100); }, 0, 100, 100},
        {"Position at Minimum", [&] { gauge->SetPosition(0); }, 0, 100, 0},
        {"Maximum equal to Minimum", [&] { gauge->SetMaximum(0); }, 0, 100, 0},
        {"Maximum below Minimum", [&] { gauge->SetMaximum(-5); }, 0, 100, 0},
        {"Minimum equal to Maximum", [&] { gauge->SetMinimum(100); }, 0, 100, 0},
        {"Minimum raised", [&] { gauge->SetMinimum(20); }, 20, 100, 0},
        {"Position below the new Minimum", [&] { gauge->SetPosition(10); }, 20, 100, 0},
        {"Maximum lowered", [&] { gauge->SetMaximum(30); }, 20, 30, 0},
        {"Position inside", [&] { gauge->SetPosition(25.5); }, 20, 30, 25.5},
    };
    for (const Step& s : steps) {
        s.write();
        EXPECT_EQ(gauge->GetMinimum(), s.minimum) << s.what;
        EXPECT_EQ(gauge->GetMaximum(), s.maximum) << s.what;
        EXPECT_EQ(gauge->GetPosition(), s.position) << s.what;
    }
}

TEST(GaugeCircle, ValueTextFollowsFormatAndTheRegionalSeparator)
{
    TOwned<TAdvGaugeCircle> gauge(New<TAdvGaugeCircle>(nullptr));
    const wchar_t saved = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = L',';
    gauge->SetPosition(12.5);
    EXPECT_EQ(gauge->ValueText(), L"12,5");
    gauge->SetPosition(12);
    EXPECT_EQ(gauge->ValueText(), L"12");
    gauge->SetFormat(L"%.2f");
    EXPECT_EQ(gauge->ValueText(), L"12,00");
    FormatSettings.DecimalSeparator = saved;
}

// A gauge set up as the main window sets up its own.
class GaugePaint : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        gauge = New<TAdvGaugeCircle>(form);
        gauge->SetBounds(10, 10, 100, 100);
        gauge->SetMaximum(100);
        gauge->SetIncrement(5);
        gauge->SetArcWidth(3);
        gauge->SetText(L"%");
        gauge->GetFont()->SetName(L"Trebuchet Sans MS");
        gauge->GetFont()->SetHeight(-19);
        gauge->GetFont()->SetColor(clBlack);
        gauge->GetFont()->SetQuality(fqNonAntialiased);
        gauge->GetBackground()->SetGradientType(gtSolid);
        gauge->SetParent(form);
        ShowForm();
    }
    // The ring's pixel at Degrees clockwise from 12 o'clock: side 100 - 2 *
    // 10 - 3 = 77 from (11, 11), so its centre line has radius 38.5.
    static POINT RingPoint(double Degrees)
    {
        const double rad = Degrees * std::numbers::pi / 180.0;
        return {static_cast<LONG>(std::lround(49.5 + 38.5 * std::sin(rad))),
                static_cast<LONG>(std::lround(49.5 - 38.5 * std::cos(rad)))};
    }
    TAdvGaugeCircle* gauge = nullptr;
};

TEST_F(GaugePaint, ValueArcGrowsClockwiseFromTheTop)
{
    const TColor blue = gauge->GetPenColor();
    const TColor silver = gauge->GetCircleBackgroundColor();
    struct Case {
        double position;
        std::vector<std::pair<double, TColor>> ring;
    } cases[] = {
        {25, {{10, blue}, {45, blue}, {80, blue}, {100, silver}, {180, silver}, {270, silver}, {350, silver}}},
        {0, {{10, silver}, {90, silver}, {180, silver}, {270, silver}}},
        {100, {{10, blue}, {90, blue}, {180, blue}, {270, blue}, {350, blue}}},
        {75, {{10, blue}, {180, blue}, {260, blue}, {280, silver}, {350, silver}}},
    };
    for (const Case& c : cases) {
        gauge->SetPosition(c.position);
        TSnapshot picture(gauge);
        for (const auto& [degrees, colour] : c.ring) {
            const POINT p = RingPoint(degrees);
            EXPECT_EQ(picture.Pixel(p.x, p.y), colour) << "position " << c.position << " at " << degrees;
        }
        EXPECT_EQ(picture.Pixel(2, 2), clWhite) << "background";
        EXPECT_EQ(picture.Pixel(97, 97), clWhite) << "background";
    }
}

TEST_F(GaugePaint, WideGaugeCentresTheRing)
{
    gauge->SetBounds(10, 10, 200, 100);
    gauge->SetPosition(100);
    TSnapshot picture(gauge);
    // left = (200 - 100) / 2 + 10 + trunc(3 / 2) = 61: the ring's centre line
    // passes x = 61 + 38.5 on the top and 61 on the left.
    EXPECT_EQ(picture.Pixel(100, 11), gauge->GetPenColor());
    EXPECT_EQ(picture.Pixel(62, 50), gauge->GetPenColor());
    EXPECT_EQ(picture.Pixel(12, 50), clWhite);
    EXPECT_EQ(picture.Pixel(187, 50), clWhite);
}

// Draws what the gauge's texts should look like into Picture: Value centred
// on the ring square (Top, Top, Side), Caption right under it unless it
// would pass the square's bottom. Answers whether the caption was drawn.
bool DrawExpectedTexts(TSnapshot& Picture, TFont* Font, const String& Value, const String& Caption, double Top,
                       double Side)
{
    TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(Picture.DC());
    canvas->GetBrush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, Picture.Width(), Picture.Height()));
    canvas->GetFont()->Assign(Font);
    canvas->GetBrush()->SetStyle(bsClear);
    const double centre = Top + Side / 2;
    const TSize v = canvas->TextExtent(Value);
    canvas->TextOut(static_cast<int>(centre - v.cx / 2.0), static_cast<int>(centre - v.cy / 2.0), Value);
    const TSize c = canvas->TextExtent(Caption);
    const double captionTop = centre - v.cy / 2.0 + v.cy;
    const bool drawn = captionTop + c.cy < Top + Side;
    if (drawn)
        canvas->TextOut(static_cast<int>(centre - c.cx / 2.0), static_cast<int>(captionTop), Caption);
    canvas->SetHandle(nullptr);
    return drawn;
}

TEST_F(GaugePaint, ValueAndCaptionAreDrawnInTheMiddle)
{
    struct Case {
        const char* name;
        int innerMargin;
        double position;
        String format;
        String value;
        bool captionDrawn;
    } cases[] = {
        {"whole value", 10, 40, L"", L"40", true},
        {"formatted value", 10, 12, L"%.2f", L"12.00", true},
        {"caption past the ring", 34, 40, L"", L"40", false},
    };
    for (const Case& c : cases) {
        gauge->SetInnerMargin(c.innerMargin);
        gauge->SetPosition(c.position);
        gauge->SetFormat(c.format);
        ASSERT_EQ(gauge->ValueText(), c.value) << c.name;
        TSnapshot picture(gauge);
        TSnapshot expected(100, 100);
        const double top = c.innerMargin + 1;
        const double side = 100 - 2.0 * c.innerMargin - 3;
        ASSERT_EQ(DrawExpectedTexts(expected, gauge->GetFont(), c.value, L"%", top, side), c.captionDrawn) << c.name;
        // The ring is blue and silver: only the texts are black.
        int differing = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x)
                differing += (expected.Pixel(x, y) == clBlack) != (picture.Pixel(x, y) == clBlack);
        EXPECT_EQ(differing, 0) << c.name;
        EXPECT_GT(picture.Count(clBlack, TRect(0, 0, 100, 100)), 30) << c.name;
    }
}

} // namespace
