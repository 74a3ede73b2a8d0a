// The circular gauge: defaults, refused values, the ring's arcs and the
// value and caption texts it paints.
#include "AdvGaugeCircle.h"
#include "PackControlsTestSupport.h"
#include "PngWriter.h"
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
    gauge->SetVersion(L"2");
    EXPECT_EQ(gauge->GetVersion(), L"1.0.0.0");
    EXPECT_EQ(gauge->GetPenOpacity(), 255);
    EXPECT_FALSE(gauge->GetShowUpDown());
    EXPECT_EQ(gauge->GetEndPosition(), 0);
    // The step pictures come from the program's resources.
    EXPECT_EQ(gauge->GetPictureUp()->GetWidth(), 16);
    EXPECT_EQ(gauge->GetPictureUp()->GetHeight(), 10);
    EXPECT_EQ(gauge->GetPictureDown()->GetWidth(), 16);
    EXPECT_EQ(gauge->GetPictureDown()->GetHeight(), 10);
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
    // A format that does not take a floating argument shows the plain text.
    gauge->SetPosition(12.5);
    for (const wchar_t* format : {L"%d", L"%x", L"%s %s", L"%"}) {
        gauge->SetFormat(format);
        EXPECT_EQ(gauge->ValueText(), L"12,5") << testing::PrintToString(String(format));
    }
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

TEST_F(GaugePaint, PenOpacityAndPositionsPastTheRange)
{
    // Half the pen over the white background, exactly.
    gauge->SetPenOpacity(128);
    gauge->SetPosition(50);
    {
        TSnapshot picture(gauge);
        EXPECT_EQ(picture.Pixel(RingPoint(90).x, RingPoint(90).y), 0xFF7F7F);
        const TColor ring = picture.Pixel(RingPoint(270).x, RingPoint(270).y);
        EXPECT_EQ(ring, 0xDFDFDF) << std::hex << ring;
    }
    gauge->SetPenOpacity(255);
    // Maximum lowered below Position keeps Position: a full ring; Minimum
    // raised above it: an empty one.
    gauge->SetPosition(80);
    gauge->SetMaximum(50);
    ASSERT_EQ(gauge->GetPosition(), 80);
    {
        TSnapshot picture(gauge);
        for (double degrees : {10.0, 100.0, 200.0, 300.0, 350.0})
            EXPECT_EQ(picture.Pixel(RingPoint(degrees).x, RingPoint(degrees).y), clBlue) << degrees;
    }
    gauge->SetMaximum(100);
    gauge->SetPosition(10);
    gauge->SetMinimum(40);
    ASSERT_EQ(gauge->GetPosition(), 10);
    {
        TSnapshot picture(gauge);
        for (double degrees : {10.0, 100.0, 200.0, 300.0, 350.0})
            EXPECT_EQ(picture.Pixel(RingPoint(degrees).x, RingPoint(degrees).y), clSilver) << degrees;
    }
}

// Rows of dark ink (text and step pictures) inside the ring: blocks of
// rows that hold ink, top to bottom, each with its horizontal extent.
std::vector<TRect> InkBlocks(const TSnapshot& Picture)
{
    auto dark = [](TColor c) { return GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128; };
    std::vector<TRect> blocks;
    bool inBlock = false;
    for (int y = 14; y < 86; ++y) {
        int left = 100, right = -1;
        for (int x = 14; x < 86; ++x)
            if (dark(Picture.Pixel(x, y))) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
            }
        if (right < 0) {
            inBlock = false;
            continue;
        }
        if (!inBlock)
            blocks.push_back(TRect(left, y, right, y + 1));
        TRect& b = blocks.back();
        b.left = std::min<LONG>(b.left, left);
        b.right = std::max<LONG>(b.right, right);
        b.bottom = y + 1;
        inBlock = true;
    }
    return blocks;
}

TEST_F(GaugePaint, ValueAndCaptionInkInTheMiddle)
{
    // The face "Trebuchet Sans MS" exists nowhere: the value shows all the same.
    gauge->SetPosition(40);
    TSnapshot picture(gauge);
    const std::vector<TRect> blocks = InkBlocks(picture);
    ASSERT_EQ(blocks.size(), 2u) << "the value and the caption";
    const TRect& value = blocks[0];
    const TRect& caption = blocks[1];
    EXPECT_NEAR((value.left + value.right) / 2.0, 49.5, 2) << "centred on the ring";
    EXPECT_NEAR((value.top + value.bottom) / 2.0, 49.5, 5);
    EXPECT_GE(value.Width(), 12) << "two digits";
    EXPECT_GE(value.Height(), 10);
    EXPECT_NEAR((caption.left + caption.right) / 2.0, 49.5, 2);
    EXPECT_GT(caption.top, value.bottom) << "under the value";
    EXPECT_LT(caption.bottom, 88) << "inside the ring";

    // No room under the value: no caption.
    gauge->SetInnerMargin(34);
    TSnapshot tight(gauge);
    EXPECT_EQ(InkBlocks(tight).size(), 1u);
}

TEST_F(GaugePaint, FormattedValueUsesTheRegionalSeparator)
{
    gauge->SetText(L"");
    gauge->SetPosition(12);
    gauge->SetFormat(L"%.2f");
    const wchar_t saved = FormatSettings.DecimalSeparator;
    FormatSettings.DecimalSeparator = L'.';
    gauge->Invalidate();
    TSnapshot dot(gauge);
    FormatSettings.DecimalSeparator = L',';
    gauge->Invalidate();
    TSnapshot comma(gauge);
    FormatSettings.DecimalSeparator = saved;
    const std::vector<TRect> withDot = InkBlocks(dot);
    const std::vector<TRect> withComma = InkBlocks(comma);
    ASSERT_EQ(withDot.size(), 1u);
    ASSERT_EQ(withComma.size(), 1u);
    EXPECT_GE(withDot[0].Width(), 25) << "five characters";
    // The comma's tail reaches below the digits; the dot sits on their line.
    EXPECT_GT(withComma[0].bottom, withDot[0].bottom);
    EXPECT_EQ(withComma[0].top, withDot[0].top);
}

TEST_F(GaugePaint, StepPicturesPlacedAndScaled)
{
    gauge->SetText(L"");
    gauge->SetShowUpDown(true);
    TSnapshot picture(gauge);
    const TGPRectF up = gauge->GetUpArea();
    const TGPRectF down = gauge->GetDownArea();
    // Natural size, centred, right above and right under the value.
    EXPECT_EQ(up.Width, 16);
    EXPECT_EQ(up.Height, 10);
    EXPECT_FLOAT_EQ(up.X, 11 + 38.5f - 8);
    EXPECT_FLOAT_EQ(down.X, up.X);
    EXPECT_EQ(down.Width, 16);
    EXPECT_EQ(down.Height, 10);
    EXPECT_GT(down.Y, up.Y + up.Height) << "the value between them";
    EXPECT_FLOAT_EQ((up.Y + up.Height + down.Y) / 2, 49.5f) << "around the value, centred on the ring";
    // The arrows' own colour inside them, near the up arrow's base and the
    // down arrow's top.
    const int cx = static_cast<int>(up.X + 8);
    EXPECT_EQ(picture.Pixel(cx, static_cast<int>(up.Y + up.Height) - 3), 0x404040);
    EXPECT_EQ(picture.Pixel(cx, static_cast<int>(down.Y) + 3), 0x404040);
    EXPECT_EQ(picture.Pixel(static_cast<int>(up.X) + 1, static_cast<int>(up.Y) + 1), clWhite) << "the point is narrow";

    // Less room above the value than the picture is high: scaled to the room.
    gauge->SetInnerMargin(31);
    TSnapshot tight(gauge);
    const TGPRectF small = gauge->GetUpArea();
    EXPECT_FLOAT_EQ(small.Y, 31 + 1) << "from the ring square's top";
    EXPECT_LT(small.Height, 10);
    EXPECT_NEAR(small.Width, 16 * small.Height / 10, 0.01);

    // A picture wider than the ring: scaled to the ring's side.
    gauge->SetInnerMargin(10);
    pngwriter::Image image = pngwriter::MakeImage(200, 20, 2, 8);
    const std::string bytes = pngwriter::Encode(image);
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream->SetPosition(0);
    TOwned<TAdvGDIPPicture> wide(New<TAdvGDIPPicture>());
    wide->LoadFromStream(stream.get());
    gauge->SetPictureUp(wide.get());
    TSnapshot wider(gauge);
    EXPECT_FLOAT_EQ(gauge->GetUpArea().Width, 77);
    EXPECT_FLOAT_EQ(gauge->GetUpArea().Height, 20 * 77 / 200.0f);
    EXPECT_FLOAT_EQ(gauge->GetUpArea().X, 11);

    // No room at all above the value: nothing drawn, nothing to click.
    gauge->SetBounds(10, 10, 30, 30);
    TSnapshot none(gauge);
    EXPECT_EQ(gauge->GetUpArea().Width, 0);
    EXPECT_EQ(gauge->GetDownArea().Height, 0);

    gauge->SetShowUpDown(false);
    gauge->SetBounds(10, 10, 100, 100);
    TSnapshot off(gauge);
    EXPECT_EQ(gauge->GetUpArea().Width, 0);
    EXPECT_EQ(gauge->GetDownArea().Height, 0);
}

TEST_F(GaugePaint, ClicksOnTheStepPictures)
{
    gauge->SetText(L"");
    gauge->SetPosition(50);
    int ups = 0, downs = 0;
    gauge->OnClickUp = [&](TObject*) { ++ups; };
    gauge->OnClickDown = [&](TObject*) { ++downs; };
    auto click = [&](POINT p) {
        ClickWithMouse(gauge, p, p);
        Pump();
    };

    // As in the main window: pictures present, ShowUpDown off. Neither the
    // top-left pixel nor where the up picture would be steps anything.
    gauge->Repaint();
    click({0, 0});
    click({49, 30});
    click({49, 66});
    EXPECT_EQ(gauge->GetPosition(), 50);
    EXPECT_EQ(ups + downs, 0);

    gauge->SetShowUpDown(true);
    gauge->Repaint();
    const TGPRectF up = gauge->GetUpArea();
    const TGPRectF down = gauge->GetDownArea();
    const POINT onUp{static_cast<LONG>(up.X + up.Width / 2), static_cast<LONG>(up.Y + up.Height / 2)};
    const POINT onDown{static_cast<LONG>(down.X + down.Width / 2), static_cast<LONG>(down.Y + down.Height / 2)};
    click(onUp);
    EXPECT_EQ(gauge->GetPosition(), 55);
    EXPECT_EQ(ups, 1);
    click(onDown);
    click(onDown);
    EXPECT_EQ(gauge->GetPosition(), 45);
    EXPECT_EQ(downs, 2);
    // Within the range: a step past an end stops at it.
    gauge->SetPosition(97);
    click(onUp);
    EXPECT_EQ(gauge->GetPosition(), 100);
    click(onUp);
    EXPECT_EQ(gauge->GetPosition(), 100);
    EXPECT_EQ(ups, 3);
    gauge->SetPosition(2);
    click(onDown);
    EXPECT_EQ(gauge->GetPosition(), 0);
    // Beside the pictures and on the corner: nothing.
    click({0, 0});
    click({static_cast<LONG>(up.X) - 3, onUp.y});
    EXPECT_EQ(gauge->GetPosition(), 0);
    EXPECT_EQ(ups, 3);
    EXPECT_EQ(downs, 3);

    // Off again: the areas the last paint drew no longer step.
    gauge->SetShowUpDown(false);
    Pump();
    click(onUp);
    click(onDown);
    EXPECT_EQ(gauge->GetPosition(), 0);
    EXPECT_EQ(ups + downs, 6);
}

} // namespace
