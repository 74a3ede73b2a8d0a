// The program's start-up runs the skinned components' units: the icon font
// is installed before the default glyph list is built from it.
#include <gtest/gtest.h>
#include "acAlphaHints.h"
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

TEST(ProgramStartup, BuildsTheDefaultHintTemplateAndRegistersTheEditLabel)
{
    ASSERT_NE(DefaultHintTemplate, nullptr);
    TacHintImage* image = DefaultHintTemplate->GetImageDefault();
    EXPECT_EQ(image->GetImageWidth(), 27);
    EXPECT_EQ(image->GetImageHeight(), 27);
    EXPECT_EQ(image->GetBordersWidths()->AsRect(), TRect(11, 10, 14, 15));
    EXPECT_EQ(image->GetShadowSizes()->AsRect(), TRect(6, 5, 7, 8));
    EXPECT_EQ(image->GetClientMargins()->AsRect(), TRect(11, 8, 16, 15));
    EXPECT_TRUE(DefaultHintTemplate->SingleImageUsed());
    EXPECT_TRUE(FindStreamClass(L"TsEditLabel"));
    // The program creates no hints component: its hints stay the class library's.
    EXPECT_EQ(AlphaHints, nullptr);
}
