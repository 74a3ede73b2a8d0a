// Hover on a skinned test control driven by real mouse input: the common
// message handling marks the control, shows its glow around it (read back
// from the screen) and fades it out when the mouse leaves; kinds that never
// hover get neither.
#include "../engine/SkinnedControls.h"
#include "acGlow.h"

using namespace skinned_controls;

namespace {

void MoveMouseTo(POINT Screen)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(Screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(Screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
    for (int i = 0; i < 20; ++i) {
        testing_support::PumpMessages();
        Sleep(2);
    }
}

COLORREF ScreenPixel(POINT P)
{
    testing_support::PumpMessages();
    HDC dc = GetDC(nullptr);
    const COLORREF c = GetPixel(dc, P.x, P.y);
    ReleaseDC(nullptr, dc);
    return c;
}

// Pumps until the fade has ended (a hang fails the test).
void RunFade(TsCommonData* Data)
{
    for (int i = 0; i < 5000 && Data->AnimTimer && Data->AnimTimer->GetEnabled(); ++i) {
        testing_support::PumpMessages();
        Sleep(1);
    }
    ASSERT_FALSE(Data->AnimTimer && Data->AnimTimer->GetEnabled()) << "the fade did not end";
}

TEST(Hover, MouseEnterShowsTheGlowAndLeaveFadesIt)
{
    TControlsScene scene;
    MoveMouseTo({5, 5});
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"EDIT", 60, 60, 80, 30);
    box->Data->EnsureCacheBmp();
    box->Data->BGChanged = false;
    RECT r{};
    GetWindowRect(box->GetHandle(), &r);
    MoveMouseTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    ASSERT_TRUE(box->Data->FMouseAbove);
    ASSERT_GE(box->Data->GlowID, 0) << "the section has a glow";
    RunFade(box->Data.get());
    // The glow image's margins (4) less the section's glow margin (1) around the control.
    const POINT outside{r.left - 2, r.top + 10};
    EXPECT_EQ(ScreenPixel(outside), RGB(0xE0, 0x00, 0xE0));

    MoveMouseTo({5, 5});
    // The window hears of the leave on the system's tracking timer.
    for (int i = 0; i < 3000 && box->Data->FMouseAbove; ++i) {
        testing_support::PumpMessages();
        Sleep(1);
    }
    EXPECT_FALSE(box->Data->FMouseAbove);
    RunFade(box->Data.get());
    EXPECT_EQ(box->Data->GlowID, -1);
    EXPECT_NE(ScreenPixel(outside), RGB(0xE0, 0x00, 0xE0));
}

TEST(Hover, KindsThatNeverHoverStayCold)
{
    TControlsScene scene;
    MoveMouseTo({5, 5});
    for (Byte kind : {19, 60, 110, 150}) {
        auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"EDIT", 60, 60, 80, 30);
        box->Data->COC = kind;
        RECT r{};
        GetWindowRect(box->GetHandle(), &r);
        MoveMouseTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        EXPECT_FALSE(box->Data->FMouseAbove) << int(kind);
        EXPECT_EQ(box->Data->GetHotState(), 0) << int(kind);
        EXPECT_EQ(box->Data->GlowID, -1) << int(kind);
        MoveMouseTo({5, 5});
        box->Free();
    }
}

} // namespace
