// Colour values and per-pixel transforms against values worked out by hand.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"

namespace {

struct ValueCase {
    const char* name;
    Cardinal actual, expected;
};

TEST(ColorValues, ByteOrderAndMixing)
{
    const ValueCase cases[] = {
        {"SwapRedBlue keeps the top byte", SwapRedBlue(0x80FF8040u), 0x804080FFu},
        {"SwapBytes32", SwapBytes32(0x11223344u), 0x44332211u},
        {"ReverseColorBytes", ReverseColorBytes(0x123456u), 0x563412u},
        {"ReverseColorBytes leaves large values", ReverseColorBytes(0x01123456u), 0x01123456u},
        {"MixColors full weight", MixColors(0x80FFFFFFu, 0x00000000u, 255), 0x80FEFEFEu},
        {"MixColors no weight", MixColors(0x80FFFFFFu, 0x00204060u, 0), 0x801F3F5Fu},
        {"MixColors half", MixColors(0x000000FFu, 0x0000FF00u, 128), 0x00007E7Fu},
    };
    for (const ValueCase& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.name;

    Cardinal values[3] = {0x11223344u, 0xAABBCCDDu, 0x01020304u};
    SwapBytes32Array(values, 2);
    EXPECT_EQ(values[0], 0x44332211u);
    EXPECT_EQ(values[1], 0xDDCCBBAAu);
    EXPECT_EQ(values[2], 0x01020304u) << "only Count values are swapped";
    SwapBytes32Array(values, 0);
    EXPECT_EQ(values[0], 0x44332211u);
}

TEST(ColorValues, BrightnessSaturationHueAndTone)
{
    const ValueCase cases[] = {
        {"white brighter stays white", ChangeBrightness(0x00FFFFFFu, 100), 0x00FFFFFFu},
        {"white by -256 is black", ChangeBrightness(0x00FFFFFFu, -256), 0x00000000u},
        {"brightness keeps the top byte", ChangeBrightness(0x7F404040u, 128), 0x7F606060u},
        {"darker by half", ChangeBrightness(0x33804020u, -128), 0x33402010u},
        {"no saturation change", SaturateValue(0, 0x12345678u), 0x12345678u},
        {"grey keeps its level but for truncation", SaturateValue(100, 0x00808080u), 0x007F7F7Fu},
        {"full desaturation of red", SaturateValue(-255, 0x44FF0000u), 0x444B4B4Bu},
        {"more saturation clips at 255", SaturateValue(256, 0x00FF8000u), 0x00FF6800u},
        {"hue of grey", HueShiftValue(77, 0x00808080u), 0x00808080u},
        {"red plus 120 is green", HueShiftValue(120, 0x80FF0000u), 0x8000FF00u},
        {"red plus 240 is blue", HueShiftValue(240, 0x00FF0000u), 0x000000FFu},
        {"red minus 120 is blue", HueShiftValue(-120, 0x00FF0000u), 0x000000FFu},
        {"red plus 60 is yellow", HueShiftValue(60, 0x00FF0000u), 0x00FFFF00u},
        {"ChangeHue works on colour order", ChangeHue(120, 0x000000FFu), 0x0000FF00u},
        {"ChangeHue by 0", ChangeHue(0, 0x12345678u), 0x12345678u},
        {"tone of black", ColorToneValue(0x00000000u, 0x00123456u), 0x00000000u},
        {"white toned red", ColorToneValue(0x00FFFFFFu, 0x000000FFu), 0x00FE0000u},
        {"tone keeps the value's top byte", ColorToneValue(0x80808080u, 0x00FF0000u), 0x8000007Fu},
        {"ApplyColorTone", ApplyColorTone(0x00FFFFFFu, 0x0000FF00u), 0x0000FE00u},
    };
    for (const ValueCase& c : cases)
        EXPECT_TRUE(PixelNear(c.actual, c.expected)) << c.name;
    EXPECT_EQ(ChangeSaturation(0x00123456u, 0), 0x00123456u);
}

void Mark(Cardinal& pixel, Integer param)
{
    pixel = static_cast<Cardinal>(param);
}

TEST(PixelOperations, KeyPixelsAreSkippedOnlyWhenTheWholeValueMatches)
{
    auto bmp = Bitmap32(3, 1);
    SetBitmap32Pixel(bmp.get(), 0, 0, 0x00FF00FFu);   // fuchsia, no alpha: the key
    SetBitmap32Pixel(bmp.get(), 1, 0, 0xFFFF00FFu);   // fuchsia with alpha: processed
    SetBitmap32Pixel(bmp.get(), 2, 0, 0x00000000u);
    ForEachBitmapPixel(bmp.get(), Mark, 0x11111111, clFuchsia);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0x00FF00FFu);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), 0x11111111u);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 2, 0), 0x11111111u);

    ForEachBitmapPixel(bmp.get(), Mark, 0x22222222, clNone);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0x22222222u);
    ForEachBitmapPixel(nullptr, Mark, 0, clNone);
}

TEST(PixelOperations, ProceduresOverABitmap)
{
    struct Case {
        const char* name;
        TPixelProc proc;
        Integer param;
        Cardinal before, after;
    } cases[] = {
        {"brightness", BrightnessPixelProc, -128, 0x10804020u, 0x10402010u},
        {"saturation", SaturationPixelProc, -255, 0x00FF0000u, 0x004B4B4Bu},
        {"hue", HuePixelProc, 120, 0x00FF0000u, 0x0000FF00u},
        {"tone", TonePixelProc, 0x0000FF, 0x00FFFFFFu, 0x00FE0000u},
        {"opaque", OpaquePixelProc, 0, 0x00123456u, 0xFF123456u},
    };
    for (const Case& c : cases) {
        auto bmp = Bitmap32(2, 2, c.before);
        ForEachBitmapPixel(bmp.get(), c.proc, c.param);
        EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 1), c.after) << c.name;
    }
}

TEST(PixelOperations, Grayscale)
{
    auto bmp = Bitmap32(2, 1);
    SetBitmap32Pixel(bmp.get(), 0, 0, 0x80FF0000u);
    SetBitmap32Pixel(bmp.get(), 1, 0, 0x00FF00FFu);
    MakeGrayscaleExceptKey(bmp.get(), clFuchsia);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0x804C4C4Cu);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), 0x00FF00FFu);
    MakeGrayscale(bmp.get());
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), 0x00696969u);
}

} // namespace
