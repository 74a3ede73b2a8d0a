// The start-up of the skin graphics units as the program runs it: every unit
// leaves its state at shut-down and takes it again at the next start; the
// pipette cursor and the colour slots of the library's colour dialogs.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "Forms.h"
#include "acColorTools.h"
#include "acEncodings.h"
#include "acGdiPlus.h"
#include "acGraphicsStartup.h"
#include "sGradient.h"

namespace {

struct TUnitState {
    bool captions, encodings, gdiPlus, gradientFill, layeredWindows, colorSlots, kernel, shell;
};

TUnitState CurrentState()
{
    return {!StrOK.empty() && !StrFrameAdapterNotOnFrame.empty(),
            !EncodingCaptions[5].empty(),
            GdiPlus().Token != 0,
            GradientFillBinding() != nullptr,
            LayeredWindowsAvailable(),
            CustomColorSlots != nullptr,
            KernelBindings().IsWow64Process != nullptr,
            KernelBindings().SHGetFileInfoW != nullptr};
}

bool All(const TUnitState& s, bool value)
{
    for (bool b : {s.captions, s.encodings, s.gdiPlus, s.gradientFill, s.layeredWindows, s.colorSlots,
                   s.kernel, s.shell})
        if (b != value)
            return false;
    return true;
}

TEST(SkinStartup, ShutDownReleasesEveryUnitAndTheNextStartTakesItAgain)
{
    ASSERT_TRUE(All(CurrentState(), true)) << "the suite starts the library as the program does";
    SkinGraphics_Finalize();
    EXPECT_TRUE(All(CurrentState(), false));
    SkinGraphics_Initialize();
    EXPECT_TRUE(All(CurrentState(), true));
    EXPECT_NE(Screen->GetCursors(crPipette), nullptr);
}

TEST(ColorTools, EighteenWhiteSlots)
{
    ASSERT_NE(CustomColorSlots, nullptr);
    ASSERT_EQ(CustomColorSlots->Count(), CustomColorSlotCount);
    EXPECT_EQ(CustomColorSlotCount, 18);
    for (int i = 0; i < CustomColorSlots->Count(); ++i)
        EXPECT_EQ(CustomColorSlots->Get(i), L"FFFFFF") << i;
    // A second start refills the slots instead of adding to them.
    CustomColorSlots->Put(0, L"123456");
    acColorTools_Initialize();
    EXPECT_EQ(CustomColorSlots->Count(), 18);
    EXPECT_EQ(CustomColorSlots->Get(0), L"FFFFFF");
}

TEST(ColorTools, PipetteCursorPointsWithItsTip)
{
    HCURSOR pipette = Screen->GetCursors(crPipette);
    ASSERT_NE(pipette, nullptr);
    ASSERT_NE(pipette, Screen->GetCursors(crArrow));
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(pipette, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 1u);
    EXPECT_EQ(info.yHotspot, 30u);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);

    // Drawn on white: the tip is black, the corner away from the pipette shows through.
    auto bmp = Bitmap32(32, 32, 0xFFFFFFu);
    DrawIconEx(bmp->GetCanvas()->GetHandle(), 0, 0, pipette, 32, 32, 0, nullptr, DI_NORMAL);
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 1, 30) & 0xFFFFFF, 0x000000));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 30, 30) & 0xFFFFFF, 0xFFFFFF));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 0, 0) & 0xFFFFFF, 0xFFFFFF));
    // The glass along the tube is white, its outline black.
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 9, 22) & 0xFFFFFF, 0xFFFFFF));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 7, 22) & 0xFFFFFF, 0x000000));
}

} // namespace
