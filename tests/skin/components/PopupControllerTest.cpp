// The popup controller on real forms without a skin: where a popup goes and
// which way it opens, its shadow, that it never takes activation, and how it
// closes (a real click on the control, held open while forbidden, the
// control destroyed under it), leaving nothing behind.
#include <gtest/gtest.h>
#include <windows.h>
#include "ExtCtrls.h"
#include "Forms.h"
#include "TestSupport.h"
#include "acPopupController.h"
#include "sFormAnimations.h"
#include "sWindowHelpers.h"

namespace {

void Pump(int rounds = 10)
{
    for (int i = 0; i < rounds; ++i) {
        testing_support::PumpMessages();
        CheckSynchronize(0);
        Sleep(2);
    }
}

void ClickAt(POINT Screen)
{
    INPUT in[3] = {};
    for (INPUT& i : in)
        i.type = INPUT_MOUSE;
    in[0].mi.dx = MulDiv(Screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in[0].mi.dy = MulDiv(Screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, in, sizeof(INPUT));
    Pump(30);
}

// A parent form with one panel (the control that opens the popup) and a
// borderless popup form of 200 x 100.
struct TPopupScene {
    TPopupScene()
    {
        parent.reset(New<TForm>(nullptr));
        parent->SetBorderStyle(bsNone);
        parent->SetBounds(0, 0, 100, 40);
        control = New<TPanel>(parent.get());
        control->SetParent(parent.get());
        control->SetBounds(0, 0, 80, 24);
        control->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ++controlClicks; };
        parent->Show();
        // The application is the active one: the popup closes otherwise.
        SetForegroundWindow(parent->GetHandle());
        popup.reset(New<TForm>(nullptr));
        popup->SetBorderStyle(bsNone);
        popup->SetBounds(0, 0, 200, 100);
        controller.reset(New<TsPopupController>(nullptr));
        Pump();
    }
    ~TPopupScene()
    {
        controller.reset();
        popup.reset();
        parent.reset();
        Pump();
    }
    void PlaceParent(int X, int Y) { SetWindowPos(parent->GetHandle(), nullptr, X, Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER); }
    RECT ControlRect() const
    {
        RECT r;
        GetWindowRect(control->GetHandle(), &r);
        return r;
    }
    RECT PopupRect() const
    {
        RECT r;
        GetWindowRect(popup->GetHandle(), &r);
        return r;
    }
    TacFormHandler* Handler() const
    {
        const int index = controller->GetFormIndex(popup.get());
        return index >= 0 ? controller->FormHandlers[index] : nullptr;
    }

    TOwned<TForm> parent;
    TPanel* control = nullptr;
    int controlClicks = 0;
    TOwned<TForm> popup;
    TOwned<TsPopupController> controller;
};

TRect WorkArea()
{
    TRect wa;
    GetWorkAreaAt(TPoint(10, 10), wa);
    return wa;
}

} // namespace

TEST(PopupController, PlacementFollowsTheWorkAreaAndSetsTheDirection)
{
    const TRect wa = WorkArea();
    struct Case {
        const char* what;
        int parentX, parentY;
        int direction;
    } cases[] = {
        {"room below", wa.left + 50, wa.top + 50, 0},
        {"near the bottom", wa.left + 50, wa.bottom - 60, 1},
        {"near the right edge", wa.right - 120, wa.top + 50, 2},
        {"near the bottom right", wa.right - 120, wa.bottom - 60, 3},
    };
    for (const Case& c : cases) {
        TPopupScene scene;
        scene.PlaceParent(c.parentX, c.parentY);
        const RECT control = scene.ControlRect();
        scene.controller->ShowForm(scene.popup.get(), scene.control);
        Pump();
        EXPECT_EQ(scene.controller->AnimDirection, c.direction) << c.what;
        const RECT popup = scene.PopupRect();
        const int expectedTop = (c.direction & 1) ? control.top - 1 - 100 : control.bottom - 2;
        const int expectedLeft = (c.direction & 2) ? wa.right - 200 : control.left;
        EXPECT_EQ(popup.top, expectedTop) << c.what;
        EXPECT_EQ(popup.left, expectedLeft) << c.what;
        EXPECT_TRUE(IsWindowVisible(scene.popup->GetHandle())) << c.what;
        EXPECT_TRUE(GetWindowLongW(scene.popup->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST) << c.what;
        EXPECT_NE(GetActiveWindow(), scene.popup->GetHandle()) << c.what;
        EXPECT_NE(GetForegroundWindow(), scene.popup->GetHandle()) << c.what;
        EXPECT_FALSE(AnimationRunning);
    }
}

TEST(PopupController, FromAPointOpensAnimatedAndNeverActive)
{
    const TRect wa = WorkArea();
    struct Case {
        const char* what;
        POINT at;
        int direction;
        int left, top;
    } cases[] = {
        {"room below", {wa.left + 40, wa.top + 40}, 0, wa.left + 40, wa.top + 38},
        {"near the bottom", {wa.left + 40, wa.bottom - 20}, 1, wa.left + 40, wa.bottom - 20 - 100 - 1},
        {"near the right", {wa.right - 50, wa.top + 40}, 2, wa.right - 200 - 1, wa.top + 38},
    };
    for (const Case& c : cases) {
        TPopupScene scene;
        scene.controller->ShowFormPos(scene.popup.get(), TPoint(c.at.x, c.at.y));
        Pump();
        EXPECT_EQ(scene.controller->AnimDirection, c.direction) << c.what;
        const RECT popup = scene.PopupRect();
        EXPECT_EQ(popup.left, c.left) << c.what;
        EXPECT_EQ(popup.top, c.top) << c.what;
        EXPECT_TRUE(IsWindowVisible(scene.popup->GetHandle())) << c.what;
        EXPECT_NE(GetActiveWindow(), scene.popup->GetHandle()) << c.what;
        EXPECT_FALSE(AnimationRunning) << c.what;
    }
}

TEST(PopupController, WithoutASkinTheShadowLies13PixelsAround)
{
    TPopupScene scene;
    scene.PlaceParent(WorkArea().left + 60, WorkArea().top + 60);
    scene.controller->ShowForm(scene.popup.get(), scene.control);
    Pump();
    TacFormHandler* handler = scene.Handler();
    ASSERT_NE(handler, nullptr);
    ASSERT_NE(handler->ShadowForm, nullptr);
    const TRect margins = handler->ShadowForm->ShadowSize();
    EXPECT_EQ(margins, TRect(13, 13, 13, 13));
    const RECT popup = scene.PopupRect();
    RECT shadow;
    GetWindowRect(handler->ShadowForm->GetHandle(), &shadow);
    EXPECT_TRUE(IsWindowVisible(handler->ShadowForm->GetHandle()));
    EXPECT_EQ(shadow.left, popup.left - 13);
    EXPECT_EQ(shadow.top, popup.top - 13);
    EXPECT_EQ(shadow.right, popup.right + 13);
    EXPECT_EQ(shadow.bottom, popup.bottom + 13);
    // Click-through.
    EXPECT_EQ(SendMessageW(handler->ShadowForm->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(shadow.left + 2, shadow.top + 2)),
              HTTRANSPARENT);
}

TEST(PopupController, AClickOnTheControlClosesAndIsSwallowedUnlessForbidden)
{
    TPopupScene scene;
    scene.PlaceParent(WorkArea().left + 60, WorkArea().top + 60);
    const RECT control = scene.ControlRect();
    // Each click at another place: two at one place would make a double click.
    const int y = (control.top + control.bottom) / 2;
    const POINT first{control.left + 10, y}, second{control.left + 30, y}, third{control.left + 50, y};

    scene.controller->ShowForm(scene.popup.get(), scene.control);
    Pump();
    scene.controller->ClosingForbide(scene.popup.get());
    ClickAt(first);
    EXPECT_TRUE(IsWindowVisible(scene.popup->GetHandle())) << "forbidden to close";
    scene.controller->ClosingAllow(scene.popup.get());
    const int clicksBefore = scene.controlClicks;
    ClickAt(second);
    EXPECT_FALSE(IsWindowVisible(scene.popup->GetHandle()));
    EXPECT_EQ(scene.controlClicks, clicksBefore) << "the closing click is swallowed";
    ClickAt(third);
    EXPECT_EQ(scene.controlClicks, clicksBefore + 1) << "later clicks reach the control";
}

TEST(PopupController, AControlDestroyedWhileItsPopupShowsLeavesNothing)
{
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    const DWORD userBefore = testing_support::UserObjectCount();
    {
        TPopupScene scene;
        scene.PlaceParent(WorkArea().left + 60, WorkArea().top + 60);
        scene.controller->ShowForm(scene.popup.get(), scene.control);
        Pump();
        ASSERT_EQ(scene.controller->FormHandlers.size(), 1u);
        scene.control->Free();
        scene.control = nullptr;
        Pump();
        EXPECT_EQ(scene.controller->FormHandlers[0], nullptr);
        EXPECT_FALSE(AnimationRunning);
        // The popup's own window method is back.
        scene.popup->Hide();
        Pump();
    }
    Pump(30);
    EXPECT_LE(testing_support::GdiObjectCount(), gdiBefore + 2);
    EXPECT_LE(testing_support::UserObjectCount(), userBefore + 2);
}
