// The program's start-up runs the skinned components' units: the icon font
// is installed before the default glyph list is built from it.
#include <gtest/gtest.h>
#include "acAlphaImageList.h"
#include "sGraphUtils.h"

TEST(ProgramStartup, InstallsTheIconFontAndBuildsTheDefaultGlyphList)
{
    EXPECT_NE(acIconFontHandle(), nullptr);
    ASSERT_NE(DefaultCharImageList, nullptr);
    EXPECT_EQ(DefaultCharImageList->Count(), 25);
    EXPECT_EQ(DefaultCharImageList->NativeCount(), 25);
    // Its check mark renders.
    TOwned<TBitmap> check(DefaultCharImageList->CreateBitmap32(6, 16, 14));
    ASSERT_NE(check, nullptr);
    int ink = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 16; ++x)
            ink += (GetBitmap32Pixel(check.get(), x, y) >> 24) >= 200;
    EXPECT_GE(ink, 4);
}
