// The program's start-up runs the skinned components' units: the icon font
// is installed before the default glyph list is built from it; the shell
// unit makes the desktop's item, starts OLE and wraps the system images.
#include <gtest/gtest.h>
#include "acAlphaHints.h"
#include <shellapi.h>
#include "acAlphaImageList.h"
#include "acPopupController.h"
#include "acShellCtrls.h"
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

TEST(ProgramStartup, MakesTheDesktopItemStartsOleAndWrapsTheSmallSystemImages)
{
    ASSERT_NE(RootShellFolder, nullptr);
    EXPECT_EQ(RootShellFolder->Parent(), nullptr);
    EXPECT_NE(RootShellFolder->ShellFolder(), nullptr);
    // The desktop's list is the empty one.
    EXPECT_EQ(RootShellFolder->AbsoluteID()->mkid.cb, 0);
    // OLE is up on this thread: a further start only counts.
    const HRESULT again = OleInitialize(nullptr);
    EXPECT_EQ(again, S_FALSE);
    if (SUCCEEDED(again))
        OleUninitialize();
    ASSERT_NE(SystemImageList, nullptr);
    SHFILEINFOW info{};
    auto small = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    EXPECT_EQ(SystemImageList->GetHandle(), small);
    EXPECT_EQ(ImageList_GetBkColor(small), CLR_NONE);
    EXPECT_TRUE(SystemImageList->GetShareImages());
    EXPECT_FALSE(SystemImageList->AllowScale);
    EXPECT_GT(SystemImageList->NativeCount(), 0);
}

TEST(ProgramStartup, MakesThePopupShadowPicture)
{
    ASSERT_NE(DefaultPopupShadow, nullptr);
    EXPECT_EQ(DefaultPopupShadow->GetWidth(), 35);
    EXPECT_EQ(DefaultPopupShadow->GetHeight(), 45);
    EXPECT_EQ(PopupController, nullptr);
}
