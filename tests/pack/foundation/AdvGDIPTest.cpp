// The GDI+ wrappers over Wine's GDI+: statuses and their memory, the fill
// kinds drawn into a white 32-bit bitmap and read back inside the fills (the
// platform's edges are not smoothed, so no test looks at an edge), text with
// the font fallback, and the unit's start-up on both sides of Vista.
#include "AdvGDIP.h"
#include "HTMLTestSupport.h"
#include "PlatformProbe.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstdlib>

using htmltest::TSurface;

namespace {

bool Near(COLORREF actual, COLORREF expected, int tolerance = 3)
{
    return std::abs(GetRValue(actual) - GetRValue(expected)) <= tolerance &&
           std::abs(GetGValue(actual) - GetGValue(expected)) <= tolerance &&
           std::abs(GetBValue(actual) - GetBValue(expected)) <= tolerance;
}

TEST(GDIPStatus, BadCallsGiveTheirStatusBeforeOrFromTheFlatCall)
{
    TGPGraphicsPath triangle;
    const TGPPoint corners[] = {{0, 0}, {10, 0}, {0, 10}};
    triangle.AddPolygon(corners, 3);
    TGPPathGradientBrush pathBrush(&triangle);
    TGPLinearGradientBrush lineBrush(TGPRectF{0, 0, 10, 10}, 0xFF000000, 0xFFFFFFFF, LinearGradientModeVertical);
    TGPBitmap bitmap(4, 4);
    const ARGB colors[2] = {0xFFFF0000, 0xFF0000FF};
    const float positions[2] = {0, 1};
    ARGB read[4] = {};

    struct Case {
        const char* name;
        std::function<Status()> call;
        Status expected;
    } cases[] = {
        {"line colours, count 0", [&] { return lineBrush.SetInterpolationColors(colors, positions, 0); },
         InvalidParameter},
        {"path colours, count -1", [&] { return pathBrush.SetInterpolationColors(colors, positions, -1); },
         InvalidParameter},
        {"surround colours, nil", [&] { int n = 1; return pathBrush.SetSurroundColors(nullptr, n); },
         InvalidParameter},
        {"surround colours, more than points", [&] { int n = 4; return pathBrush.SetSurroundColors(colors, n); },
         InvalidParameter},
        {"read surround colours, nil", [&] { int n = 4; return pathBrush.GetSurroundColors(nullptr, n); },
         InvalidParameter},
        {"read surround colours, no room", [&] { int n = 0; return pathBrush.GetSurroundColors(read, n); },
         InsufficientBuffer},
        {"save-add nil", [&] { return bitmap.SaveAdd(nullptr, nullptr); }, InvalidParameter},
        {"abstract brush", [] { return TGPBrush().GetLastStatus(); }, NotImplemented},
        {"unknown face", [] { return TGPFontFamily(L"No Such Face 4711").GetLastStatus(); }, FontFamilyNotFound},
        {"pixel outside", [&] { ARGB c = 0; return bitmap.GetPixel(9, 9, c); }, InvalidParameter},
        {"pen on a nil brush", [] { return TGPPen(static_cast<const TGPBrush*>(nullptr)).GetLastStatus(); },
         InvalidParameter},
        {"good call", [&] { return bitmap.SetPixel(1, 1, 0xFF00FF00); }, Ok},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(k.call(), k.expected);
    }

    // Surround colours within the path's points are taken and read back.
    int given = 2;
    ASSERT_EQ(pathBrush.SetSurroundColors(colors, given), Ok);
    int room = 4;
    ASSERT_EQ(pathBrush.GetSurroundColors(read, room), Ok);
    EXPECT_EQ(read[0], colors[0]);
}

TEST(GDIPStatus, TheLastFailureStaysUntilItIsRead)
{
    TSurface s(20, 20);
    TGPGraphics graphics(s.Canvas()->GetHandle());
    ASSERT_EQ(graphics.GetLastStatus(), Ok);
    TGPSolidBrush brush(0xFF000000);
    EXPECT_EQ(graphics.DrawImage(static_cast<TGPImage*>(nullptr), 0, 0), InvalidParameter);
    EXPECT_EQ(graphics.FillRectangle(&brush, 0, 0, 5, 5), Ok);
    EXPECT_EQ(graphics.GetLastStatus(), InvalidParameter);
    EXPECT_EQ(graphics.GetLastStatus(), Ok);

    TGPMatrix matrix(0, 0, 0, 0, 0, 0);
    EXPECT_EQ(matrix.Invert(), InvalidParameter);
    EXPECT_FALSE(matrix.IsInvertible());
    EXPECT_EQ(matrix.GetLastStatus(), InvalidParameter);
    EXPECT_EQ(matrix.GetLastStatus(), Ok);
}

TEST(GDIPModes, ModesAndTransformsReadBack)
{
    TSurface s(20, 20);
    TGPGraphics graphics(s.Canvas()->GetHandle());
    for (SmoothingMode mode : {SmoothingModeAntiAlias, SmoothingModeHighSpeed, SmoothingModeNone}) {
        ASSERT_EQ(graphics.SetSmoothingMode(mode), Ok);
        EXPECT_EQ(graphics.GetSmoothingMode(), mode);
    }
    ASSERT_EQ(graphics.SetTextRenderingHint(TextRenderingHintAntiAlias), Ok);
    EXPECT_EQ(graphics.GetTextRenderingHint(), TextRenderingHintAntiAlias);

    TGPMatrix matrix;
    matrix.RotateAt(90, TGPPointF{10, 10});
    TGPPointF p{15, 10};
    matrix.TransformPoints(&p);
    EXPECT_NEAR(p.X, 10, 0.01);
    EXPECT_NEAR(p.Y, 15, 0.01);
    auto copy = matrix.Clone();
    ASSERT_TRUE(copy);
    EXPECT_FALSE(copy->IsIdentity());
    copy->Reset();
    EXPECT_TRUE(copy->IsIdentity());
}

// ---------------------------------------------------------------------------
// The fill kinds. Each case fills (10, 10, 40, 40) and looks at pixels well
// inside it, or at the strip and border lines the routine draws itself.
TEST(FillGradientTypeArea, EachKindPaintsItsPixels)
{
    TOwned<TBitmap> tile(New<TBitmap>());
    tile->SetPixelFormat(pf24bit);
    tile->SetSize(4, 4);
    tile->GetCanvas()->GetBrush()->SetColor(clLime);
    tile->GetCanvas()->FillRect(TRect(0, 0, 4, 4));
    TOwned<TAdvGDIPPicture> picture(New<TAdvGDIPPicture>());
    picture->Assign(tile.get());

    // Gradients run over the rectangle grown by one on each side, so its
    // first and last rows are a little inside the end colours.
    struct Probe {
        int x, y;
        COLORREF color;
        int tolerance = 4;
    };
    struct Case {
        const char* name;
        std::function<void(TGradientFillParams&)> set;
        std::vector<Probe> probes;
    } cases[] = {
        {"solid at half opacity over white",
         [](TGradientFillParams& p) {
             p.Kind = gtSolid;
             p.Color = clRed;
             p.Opacity = 128;
         },
         {{30, 30, RGB(255, 127, 127)}, {5, 5, RGB(255, 255, 255)}}},
        {"vertical from black to white",
         [](TGradientFillParams& p) {
             p.Kind = gtVertical;
             p.Color = clBlack;
             p.ColorTo = clWhite;
         },
         {{30, 11, RGB(14, 14, 14), 8}, {30, 48, RGB(240, 240, 240), 8}, {12, 30, RGB(128, 128, 128), 8}}},
        {"horizontal from blue to red",
         [](TGradientFillParams& p) {
             p.Kind = gtHorizontal;
             p.Color = clBlue;
             p.ColorTo = clRed;
         },
         {{11, 30, RGB(14, 0, 240), 8}, {48, 30, RGB(240, 0, 14), 8}}},
        {"mirror half starts with a strip of its first colour",
         [](TGradientFillParams& p) {
             p.Kind = gtVertical;
             p.Color = clRed;
             p.ColorTo = clBlue;
             p.IsMirror = true;
         },
         {{30, 10, RGB(255, 0, 0)}, {30, 48, RGB(14, 0, 240), 8}}},
        {"hatch cross of red on blue",
         [](TGradientFillParams& p) {
             p.Kind = gtHatch;
             p.HatchStyle = HatchStyleCross;
             p.Color = clRed;
             p.ColorTo = clBlue;
         },
         {}},
        {"texture tiles the picture",
         [&](TGradientFillParams& p) {
             p.Kind = gtTexture;
             p.Picture = picture.get();
         },
         {{12, 12, RGB(0, 255, 0)}, {30, 30, RGB(0, 255, 0)}, {48, 48, RGB(0, 255, 0)}, {5, 5, RGB(255, 255, 255)}}},
        {"none with a border draws the border alone",
         [](TGradientFillParams& p) {
             p.Kind = gtNone;
             p.BorderColor = clGreen;
             p.BorderWidth = 1;
         },
         {{30, 10, RGB(0, 128, 0)}, {10, 30, RGB(0, 128, 0)}, {30, 30, RGB(255, 255, 255)}}},
        {"radial fills nothing either",
         [](TGradientFillParams& p) {
             p.Kind = gtRadial;
             p.Color = clRed;
             p.BorderColor = clNavy;
         },
         {{30, 10, RGB(0, 0, 128)}, {30, 30, RGB(255, 255, 255)}}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TSurface s(60, 60);
        {
            TGPGraphics graphics(s.Canvas()->GetHandle());
            TGradientFillParams params;
            params.Graphics = &graphics;
            params.Rect = TGPRectF{10, 10, 40, 40};
            k.set(params);
            FillGradientTypeArea(params);
        }
        for (const Probe& probe : k.probes)
            EXPECT_PRED3(Near, s.Pixel(probe.x, probe.y), probe.color, probe.tolerance) << probe.x << "," << probe.y;
        if (std::string(k.name).find("hatch") == 0) {
            const TRect inside(12, 12, 48, 48);
            const int red = s.Count(inside, RGB(255, 0, 0));
            const int blue = s.Count(inside, RGB(0, 0, 255));
            EXPECT_GT(red, 36 * 2);
            EXPECT_GT(blue, 36 * 18);
            EXPECT_EQ(red + blue, 36 * 36);
        }
    }
}

TEST(FillGradientTypeArea, NothingWithoutKindOrBorderAndTheRouteOfAPath)
{
    TSurface s(60, 60);
    // GDI+ keeps some objects of its own from its first drawing on a DC on.
    {
        TGPGraphics graphics(s.Canvas()->GetHandle());
        TGPSolidBrush brush(0xFFFFFFFF);
        graphics.FillRectangle(&brush, 0, 0, 1, 1);
    }
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    {
        TGPGraphics graphics(s.Canvas()->GetHandle());
        TGradientFillParams params;
        params.Graphics = &graphics;
        params.Rect = TGPRectF{10, 10, 40, 40};
        params.Kind = gtNone;
        FillGradientTypeArea(params);
        EXPECT_EQ(s.Count(s.All(), RGB(255, 255, 255)), 60 * 60);

        // A path target fills the path, not the rectangle.
        TGPGraphicsPath path;
        path.AddRectangle(TGPRectF{30, 30, 20, 20});
        params.Path = &path;
        params.UsePath = true;
        params.Kind = gtSolid;
        params.Color = clRed;
        FillGradientTypeArea(params);
    }
    EXPECT_EQ(s.Pixel(15, 15), RGB(255, 255, 255));
    EXPECT_EQ(s.Pixel(40, 40), RGB(255, 0, 0));
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
}

// ---------------------------------------------------------------------------
TEST(GDIPText, AFaceThatIsNotInstalledStillDrawsInTheGenericFamily)
{
    TOwned<TFont> missing(New<TFont>());
    missing->SetName(L"No Such Face 4711");
    missing->SetSize(12);
    missing->SetColor(clBlack);
    TOwned<TFont> generic(New<TFont>());
    generic->Assign(missing.get());
    generic->SetName(L"Tahoma");

    TSurface s(200, 40);
    TGPGraphics graphics(s.Canvas()->GetHandle());
    auto font = graphics.MakeFont(missing.get());
    ASSERT_TRUE(font);
    EXPECT_EQ(font->GetLastStatus(), Ok);
    EXPECT_EQ(graphics.TextWidth(L"Hello there", missing.get()), graphics.TextWidth(L"Hello there", generic.get()));
    EXPECT_GT(graphics.TextWidth(L"Hello there", missing.get()), 30);

    TRect r(5, 5, 150, 35);
    graphics.DrawText(L"Hello there", -1, r, missing.get(), 0, clNone);
    graphics.Flush(FlushIntentionSync);
    EXPECT_GT(s.Count(s.All(), [](COLORREF p) { return GetRValue(p) < 100; }), 20);

    // The same fallback for a font made by name.
    TGPFont byName(L"No Such Face 4711", 12);
    EXPECT_EQ(byName.GetLastStatus(), Ok);
}

TEST(GDIPText, DrawTextMeasuresTrailingSpacesAndClampsTheLength)
{
    TOwned<TFont> font(New<TFont>());
    font->SetName(L"Tahoma");
    font->SetSize(10);
    TSurface s(200, 40);
    TGPGraphics graphics(s.Canvas()->GetHandle());
    const auto measure = [&](const String& text, int len = -1) {
        TRect r(10, 5, 100, 30);
        const int height = graphics.DrawText(text, len, r, font.get(), 0x400, clNone);
        EXPECT_EQ(height, r.Height());
        return r;
    };
    const TRect ab = measure(L"ab");
    EXPECT_GT(measure(L"ab ").Width(), ab.Width());
    EXPECT_GT(measure(L"a ").Width(), measure(L"a").Width());
    // A text of one space keeps its space: its extent is the space's own.
    {
        auto gpFont = graphics.MakeFont(font.get());
        TGPRectF space;
        graphics.MeasureString(L" ", 1, gpFont.get(), TGPRectF{10, 5, 1090, 25}, space);
        EXPECT_EQ(measure(L" ").Width(), static_cast<int>(std::nearbyint(space.Width - 3)));
    }
    // Measuring alone draws nothing.
    EXPECT_EQ(s.Count(s.All(), RGB(255, 255, 255)), 200 * 40);
    // A length past the text is the text.
    EXPECT_EQ(measure(L"ab", 5000), ab);
    TGPRectF whole, clamped;
    auto gpFont = graphics.MakeFont(font.get());
    graphics.MeasureString(L"abc", 3, gpFont.get(), TGPRectF{0, 0, 500, 50}, whole);
    graphics.MeasureString(L"abc", 1 << 20, gpFont.get(), TGPRectF{0, 0, 500, 50}, clamped);
    EXPECT_FLOAT_EQ(whole.Width, clamped.Width);

    // A background colour fills behind the text and sets the extent.
    TRect r(10, 5, 100, 30);
    graphics.DrawText(L"ab", -1, r, font.get(), 0, clYellow);
    graphics.Flush(FlushIntentionSync);
    EXPECT_GT(r.Width(), 5);
    EXPECT_EQ(s.Pixel(r.left + 1, r.top + 1), RGB(255, 255, 0));
}

// ---------------------------------------------------------------------------
// The unit's start-up on both sides of Vista; the suite's own start-up is put
// back afterwards.
TEST(GDIPStartup, BeforeVistaTheNotificationHookBracketsTheRun)
{
    struct Restore {
        ~Restore()
        {
            AdvGDIP_Finalize();
            ResetPlatformProbe();
            AdvGDIP_Initialize();
        }
    } restore;
    for (DWORD major : {5u, 10u}) {
        SCOPED_TRACE(major);
        AdvGDIP_Finalize();
        EXPECT_FALSE(AdvGDIP_Started());
        PlatformProbe().WindowsMajor = major;
        AdvGDIP_Initialize();
        EXPECT_TRUE(AdvGDIP_Started());
        EXPECT_EQ(IsWindowsVersion6OrLater(), major > 5);
        EXPECT_EQ(AdvGDIP_NotificationHooked(), major == 5);

        // Drawing and the shared generic family work in either run; the
        // family of the previous run was freed before GDI+ went down.
        TSurface s(20, 20);
        {
            TGPGraphics graphics(s.Canvas()->GetHandle());
            TGPSolidBrush brush(0xFF0000FF);
            EXPECT_EQ(graphics.FillRectangle(&brush, 0, 0, 10, 10), Ok);
            TGPFont font(TGPFontFamily::GenericSansSerif(), 10);
            EXPECT_EQ(font.GetLastStatus(), Ok);
        }
        EXPECT_EQ(s.Pixel(5, 5), RGB(0, 0, 255));
        AdvGDIP_Finalize();
        EXPECT_FALSE(AdvGDIP_NotificationHooked());
    }
}

} // namespace
