// The alpha primitives: rectangle fills and tints clipped to the bitmap,
// premultiplication with desktop composition on and off, icons from alpha
// bitmaps, key-colour copies that stay inside every bitmap they read, text
// with coverage and the disabled look of control images.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "PlatformProbe.h"
#include "TestSupport.h"
#include "sAlphaGraph.h"
#include <climits>

namespace {

// Composition as the probe reports it, for one test.
class CompositionScope {
public:
    explicit CompositionScope(bool on)
    {
        PlatformProbe().WindowsMajor = 10;
        PlatformProbe().CompositionEnabled = on;
    }
    ~CompositionScope() { ResetPlatformProbe(); }
};

int CountPixels(TBitmap* bmp, bool (*match)(Cardinal))
{
    int n = 0;
    for (int y = 0; y < bmp->GetHeight(); ++y)
        for (int x = 0; x < bmp->GetWidth(); ++x)
            n += match(GetBitmap32Pixel(bmp, x, y));
    return n;
}

TEST(AlphaRects, FillsBlendsAndTintsStayInside)
{
    auto bmp = Bitmap32(20, 20, 0x11223344u);
    BlendColorIntoRect(bmp.get(), TRect(0, 0, 10, 10), 0, clWhite);
    EXPECT_EQ(CountPixels(bmp.get(), [](Cardinal p) { return p != 0x11223344u; }), 121) << "inclusive: 11 x 11";
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 10, 10), 0x11FEFEFEu) << "weight 0: nearly the colour, alpha kept";

    bmp = Bitmap32(4, 3, 0);
    FillBitmap32Rect(bmp.get(), TRect(2, -5, 100, 2), 0x0000FF, 0x80);
    EXPECT_EQ(CountPixels(bmp.get(), [](Cardinal p) { return p == 0x80FF0000u; }), 4);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 2, 2), 0u);

    bmp = Bitmap32(2, 1, 0xFF0A6432u);
    TintRectToColor(bmp.get(), TRect(0, 0, 1, 1), 0x000000, 50, 0x40);
    // channel - 50 * channel div 100: 0x32 -> 25, 0x64 -> 50, 0x0A -> 5.
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0x40053219u);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), 0xFF0A6432u);

    bmp = Bitmap32(3, 5, 0x00FFFFFFu);
    SetBitmap32Pixel(bmp.get(), 1, 2, 0x01FFFFFFu);
    ClearTransparentWhite(bmp.get());
    EXPECT_EQ(CountPixels(bmp.get(), [](Cardinal p) { return p == 0; }), 14) << "all 15 pixels visited, one kept";

    // An unlimited right edge, as the window helpers pass it, is clipped.
    bmp = Bitmap32(4, 2, 0x00FF00FFu);
    SetBitmap32Pixel(bmp.get(), 3, 0, 0x00123456u);
    SetBitmap32Alpha(bmp.get(), TRect(1, 0, INT_MAX, 1), 0xFF, 0x00FF00FFu);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 3, 0), 0xFF123456u);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 2, 0), 0x00FF00FFu) << "the key keeps its alpha";
    SetBitmap32Alpha(bmp.get(), TRect(-3, 1, INT_MAX, INT_MAX), 0x7F, Cardinal(clNone));
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 1), 0x7FFF00FFu);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0x00FF00FFu);
    SetBitmap32Alpha(bmp.get(), TRect(2, 0, 1, 2), 0x11, Cardinal(clNone));
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), 0x00FF00FFu) << "negative width: nothing";
}

TEST(Premultiply, WithAndWithoutComposition)
{
    struct Case {
        bool composition;
        Cardinal pixel, expected;
    } cases[] = {
        {false, 0xFFFAFAFAu, 0xFFF4F4F4u}, // near-white stops at 244
        {true, 0xFFFAFAFAu, 0xFFF9F9F9u},
        {false, 0xFFFAFA0Au, 0xFFF9F909u}, // blue below 245: plain premultiplication
        {false, 0x80FF8040u, 0x807F4020u},
        {true, 0x00FFFFFFu, 0u},           // empty white becomes 0
        {false, 0x00FFFFFFu, 0u},
        {false, 0x01FFFFFFu, 0x01000000u},
    };
    for (const Case& c : cases) {
        CompositionScope scope(c.composition);
        ASSERT_EQ(IsAeroEnabled(), c.composition);
        auto bmp = Bitmap32(2, 2, c.pixel);
        PremultiplyBitmap32(bmp.get());
        EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 1), c.expected) << std::hex << c.pixel << " " << c.composition;
    }
    auto bmp = Bitmap32(3, 3, 0x80FFFFFFu);
    PremultiplyBitmap32Rect(bmp.get(), TRect(1, -1, INT_MAX, 2));
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 2, 1), 0x807F7F7Fu) << "clipped, not refused";
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 1), 0x80FFFFFFu);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 2, 2), 0x80FFFFFFu);
}

TEST(AlphaFromCorner, OnlyWithoutAlpha)
{
    auto bmp = Bitmap32(3, 2, 0x00102030u);
    SetBitmap32Pixel(bmp.get(), 0, 1, 0x00FF00FFu);
    SetBitmap32Pixel(bmp.get(), 2, 0, 0x00FF00FFu);
    MakeAlphaFromCorner(bmp.get());
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 1), 0xFF102030u);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 2, 0), 0x00FF00FFu) << "the bottom-left colour stays transparent";

    auto touched = Bitmap32(3, 2, 0x00102030u);
    SetBitmap32Pixel(touched.get(), 1, 0, 0x01102030u);
    MakeAlphaFromCorner(touched.get());
    EXPECT_EQ(GetBitmap32Pixel(touched.get(), 0, 0), 0x00102030u) << "one pixel of alpha 1 leaves it alone";
}

TEST(AlphaIcon, DrawsByItsAlphaAndLeavesNoObject)
{
    auto bmp = Bitmap32(4, 4, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x)
            SetBitmap32Pixel(bmp.get(), x, y, 0xFFFF0000u);
    auto target = Bitmap32(4, 4, 0xFFFFFFFFu);
    HDC targetDC = target->GetCanvas()->GetHandle();
    bmp->GetHandle();
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    HICON icon = CreateIconFromAlphaBitmap(bmp.get());
    ASSERT_NE(icon, nullptr);
    DrawIconEx(targetDC, 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL);
    GdiFlush();
    DestroyIcon(icon);
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 3, 3) & 0xFFFFFF, 0xFFFFFFu);
    TOwned<TBitmap> empty(MakeBitmap32(0, 0));
    EXPECT_EQ(CreateIconFromAlphaBitmap(empty.get()), nullptr);
}

TEST(FuchsiaKeyCopy, KeysFromTheTargetOrASkinCornerWithinBounds)
{
    auto source = Bitmap32(4, 1, 0xAABBCCDDu);
    auto target = Bitmap32(3, 1, 0xFFFF00FFu);
    SetBitmap32Pixel(target.get(), 1, 0, 0x80123456u);
    CopyPixelsByFuchsiaKey(target.get(), source.get(), TRect(0, 0, 3, 1), TPoint(0, 0), -1, nullptr, 0);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 0), 0xAABBCCDDu) << "fuchsia once its alpha is cleared";
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), 0x00123456u) << "alpha cleared, not a key";

    // Key image 8 x 4 with right and bottom margins of 4 and 2: each corner
    // marks a different column of the four copied.
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
    auto keys = Bitmap32(8, 4, 0xFF000000u);
    for (auto [x, y] : {std::pair{0, 0}, {5, 0}, {2, 2}, {7, 2}})
        SetBitmap32Pixel(keys.get(), x, y, 0xFFFF00FFu);
    // The key image is an external file's bitmap: the manager owns it.
    manager->ExtArray.push_back({keys.release(), L"KEYS.BMP", 0});
    TsMaskData image;
    image.Bmp = manager->ExtArray.back().Bmp;
    image.R = TRect(0, 0, 8, 4);
    image.Width = 8;
    image.Height = 4;
    image.WR = 4;
    image.WB = 2;
    manager->ma.push_back(image);
    for (auto [corner, column] : {std::pair{13, 0}, {0, 0}, {14, 1}, {16, 2}, {17, 3}}) {
        target = Bitmap32(4, 1, 0);
        CopyPixelsByFuchsiaKey(target.get(), source.get(), TRect(0, 0, 4, 1), TPoint(0, 0), 0, manager.get(), corner);
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(GetBitmap32Pixel(target.get(), x, 0), x == column ? 0xAABBCCDDu : 0u)
                << "corner " << corner << ", column " << x;
    }

    // Areas reaching past the target, the source and the key image, and a
    // bad index, copy what lies inside or nothing.
    DefaultManager = manager.get();
    target = Bitmap32(4, 1, 0);
    CopyPixelsByFuchsiaKey(target.get(), source.get(), TRect(-2, 0, 40, 5), TPoint(2, 0), 0, nullptr, 14);
    DefaultManager = nullptr;
    EXPECT_EQ(CountPixels(target.get(), [](Cardinal p) { return p != 0; }), 0) << "only columns left of the target";
    target = Bitmap32(4, 1, 0);
    CopyPixelsByFuchsiaKey(target.get(), source.get(), TRect(2, 0, 40, 5), TPoint(0, 0), 0, manager.get(), 17);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 0), 0u) << "key column 4 + 0 is not fuchsia";
    image.R = TRect(6, 3, 14, 7);
    manager->ma.push_back(image);
    CopyPixelsByFuchsiaKey(target.get(), source.get(), TRect(0, 0, 4, 1), TPoint(0, 0), 1, manager.get(), 17);
    CopyPixelsByFuchsiaKey(target.get(), source.get(), TRect(0, 0, 4, 1), TPoint(0, 0), 7, manager.get(), 13);
    CopyPixelsByFuchsiaKey(target.get(), source.get(), TRect(0, 0, 4, 1), TPoint(0, 0), -5, manager.get(), 13);
    CopyPixelsByFuchsiaKey(target.get(), source.get(), TRect(0, 0, 4, 1), TPoint(9, 0), -1, manager.get(), 13);
    EXPECT_EQ(CountPixels(target.get(), [](Cardinal p) { return p != 0; }), 0);
}

TEST(TextOnBitmap, CoverageAndSkinColours)
{
    auto bmp = Bitmap32(40, 20, 0);
    bmp->GetCanvas()->GetFont()->SetSize(12);
    bmp->GetCanvas()->GetFont()->SetStyle(TFontStyles{fsBold});
    const UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE;
    DrawTextOnBitmap32(bmp.get(), L"WW", true, TRect(0, 0, 40, 20), format, 0x0000FF);
    EXPECT_GT(CountPixels(bmp.get(), [](Cardinal p) { return p == 0xFEFC0000u; }), 0)
        << "full coverage: alpha 254, red 252";
    EXPECT_EQ(CountPixels(bmp.get(), [](Cardinal p) { return p != 0 && ((p >> 16 & 0xFF) < (p & 0xFF)); }), 0);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 39, 19), 0u);

    auto plain = Bitmap32(40, 20, 0x00FFFFFFu);
    plain->GetCanvas()->GetFont()->Assign(bmp->GetCanvas()->GetFont());
    DrawTextOnBitmap32(plain.get(), "WW", false, TRect(-4, -2, 36, 18), format, 0x0000FF, true);
    EXPECT_GT(CountPixels(plain.get(), [](Cardinal p) { return p == 0xFFFF0000u; }), 0) << "8-bit text, opaque";
    EXPECT_EQ(GetBitmap32Pixel(plain.get(), 39, 19), 0x00FFFFFFu);

    // A section whose text is blue; a red contour on the left only when given.
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
    manager->gd.resize(1);
    manager->gd[0].Props[0].FontColor.Color = 0xFF0000;
    auto reddish = [](Cardinal p) { return (p >> 16 & 0xFF) > 128 && (p & 0xFF) < 64; };
    auto bluish = [](Cardinal p) { return (p & 0xFF) > 128 && (p >> 16 & 0xFF) < 64; };
    for (TColor left : {TColor(-1), TColor(0x0000FF)}) {
        manager->gd[0].Props[0].FontColor.Left = left;
        auto text = Bitmap32(40, 20, 0);
        text->GetCanvas()->GetFont()->Assign(bmp->GetCanvas()->GetFont());
        DrawSkinTextOnBitmap32(text.get(), L"II", true, TRect(4, 0, 40, 20), format, 0, 0, manager.get());
        EXPECT_GT(CountPixels(text.get(), bluish), 0);
        EXPECT_EQ(CountPixels(text.get(), reddish) > 0, left != -1) << "contour " << left;
    }
    auto fallback = Bitmap32(40, 20, 0);
    fallback->GetCanvas()->GetFont()->Assign(bmp->GetCanvas()->GetFont());
    fallback->GetCanvas()->GetFont()->SetColor(0x0000FF);
    DrawSkinTextOnBitmap32(fallback.get(), L"II", true, TRect(0, 0, 40, 20), format, 5, 0, manager.get());
    EXPECT_GT(CountPixels(fallback.get(), reddish), 0) << "invalid section: the canvas font's colour";
    auto untouched = Bitmap32(4, 4, 0);
    DrawSkinTextOnBitmap32(untouched.get(), L"", true, TRect(0, 0, 4, 4), format, 0, 0, manager.get());
    DrawSkinTextOnBitmap32(untouched.get(), L"I", true, TRect(2, 2, 2, 4), format, 0, 0, manager.get());
    EXPECT_EQ(CountPixels(untouched.get(), [](Cardinal p) { return p != 0; }), 0);
}

TEST(DisabledLook, DesaturatesAndBlendsWithTheBackground)
{
    auto bmp = Bitmap32(2, 1, 0xFFFF0000u);
    SetBitmap32Pixel(bmp.get(), 1, 0, 0x00FF00FFu);
    const int saturation = DisabledSaturation;
    DisabledSaturation = -100;
    ApplyControlBitmapEffects(bmp.get(), 2, nullptr, TCacheInfo(), TPoint());
    DisabledSaturation = saturation;
    const Cardinal grey = GetBitmap32Pixel(bmp.get(), 0, 0);
    EXPECT_TRUE((grey & 0xFF) == (grey >> 8 & 0xFF) && (grey & 0xFF) == (grey >> 16 & 0xFF)) << std::hex << grey;

    bmp = Bitmap32(2, 1, 0xFFFF0000u);
    SetBitmap32Pixel(bmp.get(), 1, 0, 0x00FF00FFu);
    ApplyControlBitmapEffects(bmp.get(), 2, nullptr, TCacheInfo(), TPoint());
    const Cardinal pale = GetBitmap32Pixel(bmp.get(), 0, 0);
    EXPECT_GT(pale & 0xFF, 0u) << "less saturated";
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), 0x00FF00FFu) << "fuchsia kept";

    // The parent's image at the control's place, fuchsia background skipped.
    auto background = Bitmap32(4, 1, 0xFF000000u);
    SetBitmap32Pixel(background.get(), 3, 0, 0x00FF00FFu);
    bmp = Bitmap32(2, 1, 0xFFFFFFFFu);
    ApplyControlBitmapEffects(bmp.get(), 1, nullptr, MakeCacheInfo(background.get(), 1, 0), TPoint(1, 0));
    // ((255 - 100) * 0 + 100 * 255) >> 8 = 99; alpha (155 * 255 + 100 * 255) >> 8 = 254.
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0xFE636363u);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), 0xFFFFFFFFu);

    TCacheInfo plain;
    plain.FillColor = clBlack;
    bmp = Bitmap32(2, 2, 0xFFFFFFFFu);
    ApplyControlBitmapEffects(bmp.get(), 1, nullptr, plain, TPoint());
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 1), 0xFF636363u) << "255 * 100 div 256";
    TOwned<TWinControl> control(New<TWinControl>(nullptr));
    control->SetColor(clRed);
    bmp = Bitmap32(1, 1, 0xFF000000u);
    ApplyControlBitmapEffects(bmp.get(), 1, control.get(), TCacheInfo(), TPoint());
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0xFF9A0000u) << "no fill colour: the control's, 255 * 155 div 256";
}

} // namespace
