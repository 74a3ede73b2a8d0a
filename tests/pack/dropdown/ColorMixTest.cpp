// Colour blending and channel scaling.
#include "AdvDropDown.h"
#include <gtest/gtest.h>

namespace {

const TColor btnFace = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));

struct BlendCase {
    TColor color1;
    TColor color2;
    int percent;
    TColor expected;
};

TEST(ColorMixTest, BlendMixesResolvedChannelsByPercent)
{
    const BlendCase cases[] = {
        {clBtnFace, clRed, 100, clBtnFace}, // unchanged, not resolved
        {clBtnFace, clRed, 250, clBtnFace},
        {clRed, clBtnFace, 0, clBtnFace},
        {clRed, clBtnFace, -5, clBtnFace},
        {clWhite, clBlack, 50, 0x808080}, // 127.5 goes to the even 128
        {clBlack, clWhite, 50, 0x808080},
        {0x0000FF, 0x00FF00, 25, 0x00BF40},
        {0x0000FF, 0x00FF00, 99, 0x0003FC},
        {0x0000FF, 0x00FF00, 1, 0x00FC03},
        {0x102030, 0x102030, 37, 0x102030},
    };
    for (const BlendCase& c : cases)
        EXPECT_EQ(BlendColor(c.color1, c.color2, c.percent), c.expected)
            << std::hex << c.color1 << " " << c.color2 << " " << std::dec << c.percent;

    // A system colour is resolved before it is mixed.
    ASSERT_NE(btnFace, clBtnFace & 0xFFFFFF);
    EXPECT_EQ(BlendColor(clBtnFace, clBlack, 50), BlendColor(btnFace, clBlack, 50));
    EXPECT_EQ(BlendColor(clBtnFace, clBtnFace, 40), btnFace);
}

struct ScaleCase {
    TColor color;
    int red, green, blue;
    TColor expected;
};

TEST(ColorMixTest, ScalingDarkensProportionallyAndLiftsEmptyChannels)
{
    const ScaleCase cases[] = {
        // The latched-down colours of a bar button, from its hot colours.
        {0xF5F0E1, -10, -10, 0, 0xF5D8CA},
        {0xF9D2B2, -10, -10, 0, 0xF9BDA0},
        // The disabled shading.
        {0x646464, -5, -5, -5, 0x5F5F5F},
        // Positive percents leave non-zero channels alone and lift zeros.
        {0x808080, 50, 50, 50, 0x808080},
        {0x000000, 10, 20, 30, 0x1E140A},
        {0x000000, -10, -20, -30, 0x000000},
        {0x0000FF, 0, 0, 0, 0x0000FF},
        // Beyond a byte or below nothing, the channel stops at the limit.
        {0x000000, 300, 0, 0, 0x0000FF},
        {0xFFFFFF, -150, -100, 0, 0xFF0000},
    };
    for (const ScaleCase& c : cases)
        EXPECT_EQ(ScaleColorChannels(c.color, c.red, c.green, c.blue), c.expected)
            << std::hex << c.color << std::dec << " " << c.red << " " << c.green << " " << c.blue;

    EXPECT_EQ(ScaleColorChannels(clBtnFace, 0, 0, 0), btnFace) << "system colours are resolved";
}

} // namespace
