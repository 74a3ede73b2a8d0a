// Packed wide text: 16-bit text carried in 8-bit-safe strings.
#include "AdvUtil.h"
#include <gtest/gtest.h>

TEST(PackedWideText, PacksEachUnitAsHighAndLowByte)
{
    EXPECT_EQ(PackWideText(L"\x0410"), String(L"|\\") + wchar_t(4) + wchar_t(16));
    EXPECT_EQ(PackWideText(L""), L"|\\");
}

TEST(PackedWideText, UnpacksWhatWasPackedAndLeavesOtherTextAlone)
{
    const String text = L"A\x0410\xFFFF\x00FF z";
    EXPECT_EQ(UnpackWideText(PackWideText(text)), text);
    EXPECT_EQ(UnpackWideText(L"plain |\\ later"), L"plain |\\ later");
    // A dangling half unit is dropped.
    EXPECT_EQ(UnpackWideText(String(L"|\\") + wchar_t(4) + wchar_t(16) + wchar_t(4)), L"\x0410");
}
