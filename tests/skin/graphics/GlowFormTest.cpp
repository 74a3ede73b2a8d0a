// The borderless window under glows, shadows and animations: never active,
// not in the task bar, hidden at once, and transparent to the mouse.
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "acntTypes.h"
#include "sConst.h"

namespace {

TEST(GlowForm, BorderlessToolWindowThatNeverActivates)
{
    TOwned<TacGlowForm> glow(New<TacGlowForm>(nullptr));
    EXPECT_EQ(glow->GetTag(), NoSkinTag);
    EXPECT_EQ(glow->GetBorderStyle(), bsNone);
    EXPECT_TRUE(glow->TransparentMouse);

    HWND wnd = glow->Handle();
    LONG_PTR exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
    EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION);
    EXPECT_FALSE(GetClassLongPtrW(wnd, GCL_STYLE) & CS_DROPSHADOW);
}

TEST(GlowForm, HitTestFallsThroughOnlyWhenTransparent)
{
    TOwned<TacGlowForm> glow(New<TacGlowForm>(nullptr));
    glow->SetBounds(100, 100, 50, 50);
    HWND wnd = glow->Handle();
    LPARAM inside = MAKELPARAM(120, 120);
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, inside), HTTRANSPARENT);
    glow->TransparentMouse = false;
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, inside), HTCLIENT);
}

TEST(GlowForm, HidesAtOnceWithoutTakingActivation)
{
    TOwned<TForm> owner(New<TForm>(nullptr));
    owner->SetBounds(0, 0, 200, 150);
    owner->Show();
    SetActiveWindow(owner->Handle());
    TOwned<TacGlowForm> glow(New<TacGlowForm>(nullptr));
    glow->SetBounds(20, 20, 60, 60);
    HWND wnd = glow->Handle();
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    testing_support::PumpMessages();
    ASSERT_TRUE(IsWindowVisible(wnd));

    SendMessageW(wnd, WM_SHOWWINDOW, TRUE, 0);
    EXPECT_TRUE(IsWindowVisible(wnd)) << "showing is left alone";
    // The message alone hides nothing in the system's own procedure.
    SendMessageW(wnd, WM_SHOWWINDOW, FALSE, 0);
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_EQ(GetActiveWindow(), owner->Handle());
}

} // namespace
