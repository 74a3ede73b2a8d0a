// Forms shown and hidden through layered copies: frame geometry, a real
// form shown and hidden through a provider that paints a known picture,
// hides that step on the timer while messages flow, dialogs, and the
// skin-change animation.
#include <gtest/gtest.h>
#include "ExtCtrls.h"
#include "PlatformProbe.h"
#include "ScopeExit.h"
#include "SkinnedFormFixtures.h"
#include "sFormAnimations.h"

namespace {

using namespace skinned_fixtures;

TEST(FormAnimation, ShowFrameGeometry)
{
    const auto drop = ShowAnimationFrames(atDropDown, 40, 100, 20, 200, false);
    std::vector<double> bottoms;
    for (const TShowFrame& f : drop) {
        bottoms.push_back(f.Bottom);
        EXPECT_EQ(f.Opacity, 255);
        EXPECT_EQ(f.Right, 40.0);
    }
    EXPECT_EQ(bottoms, (std::vector<double>{0, 50, 75, 87.5, 93.75, 96.875}));

    const struct {
        TacAnimType Type;
        int Frames;
        bool Dialog;
        std::vector<int> Opacities;
    } fades[] = {
        {atFading, 4, false, {50, 100, 150, 200, 200}},
        {atFading, 4, true, {40, 80, 120, 160, 200}},
        {atAero, 2, false, {100, 200, 200}},
        {atFading, 0, false, {}},
    };
    for (const auto& c : fades) {
        std::vector<int> opacities;
        for (const TShowFrame& f : ShowAnimationFrames(c.Type, 64, 32, c.Frames, 200, c.Dialog))
            opacities.push_back(f.Opacity);
        EXPECT_EQ(opacities, c.Opacities) << c.Type << " " << c.Frames;
    }

    const auto aero = ShowAnimationFrames(atAero, 64, 32, 2, 255, false);
    ASSERT_EQ(aero.size(), 3u);
    EXPECT_EQ(aero[0].Left, 2.0);
    EXPECT_EQ(aero[0].Top, 1.0);
    EXPECT_EQ(aero[0].Right, 62.0);
    EXPECT_EQ(aero[1].Left, 1.0);
    EXPECT_EQ(aero[1].Bottom, 31.5);
    EXPECT_EQ(aero[2].Left, 0.0);
    EXPECT_EQ(aero[2].Bottom, 32.0);
    EXPECT_FALSE(aero[2].Whole);
}

TEST(FormAnimation, ShowOfARealFormLeavesItVisibleAndCleansUp)
{
    for (TacAnimType type : {atFading, atAero, atDropDown}) {
        SCOPED_TRACE(type);
        SkinnedForm f;
        const int windows = TopLevelWindows();
        const DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
        ShowFormAnimated(f.provider.get(), 60, 255, type);
        HWND wnd = f.form->GetHandle();
        EXPECT_TRUE(IsWindowVisible(wnd));
        EXPECT_FALSE(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_FALSE(AnimationRunning);
        EXPECT_FALSE(f.provider->FInAnimation);
        EXPECT_EQ(f.provider->Events, (std::vector<TacAnimEvent>{aeShowing}));
        EXPECT_EQ(TopLevelWindows(), windows) << "the copy window is gone";
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi);
    }

    // An alpha-blended form stays layered at its own alpha.
    SkinnedForm f;
    f.form->SetAlphaBlend(true);
    f.form->SetAlphaBlendValue(180);
    ShowFormAnimated(f.provider.get(), 0, 180, atFading);
    BYTE alpha = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(f.form->GetHandle(), nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 180);
    EXPECT_EQ(f.provider->Events.size(), 1u);
}

TEST(FormAnimation, NothingForAMinimizedForm)
{
    SkinnedForm f;
    f.form->SetWindowState(wsMinimized);
    ShowFormAnimated(f.provider.get(), 60, 255, atFading);
    EXPECT_EQ(f.provider->Paints, 0);
    EXPECT_TRUE(f.provider->Events.empty());
    EXPECT_FALSE(AnimationRunning);
}

TacGlowForm* CopyWindow(int x)
{
    TacGlowForm* glow = New<TacGlowForm>(nullptr);
    glow->SetBounds(x, 60, 40, 30);
    glow->GetHandle();
    return glow;
}

TEST(FormAnimation, HideStepsOnTheTimerWhileMessagesFlow)
{
    SkinnedForm f;
    TacGlowForm* glow = CopyWindow(300);
    HWND copy = glow->GetHandle();
    RunHideAnimation(glow, Bitmap32(40, 30, 0xFFFF0000).release(), 120, f.form->GetHandle(), atFading, 255);
    ASSERT_NE(HideAnimationTimer, nullptr);
    EXPECT_TRUE(HideAnimationTimer->GetEnabled());
    EXPECT_TRUE(IsWindowVisible(copy));
    EXPECT_GT(HideAnimationTimer->i, 0);
    EXPECT_LE(HideAnimationTimer->i, 2) << "the caller returns at once";
    ASSERT_TRUE(PumpUntil([] { return HideAnimationTimer->Form == nullptr; }));
    EXPECT_FALSE(IsWindow(copy));
    EXPECT_EQ(HideAnimationTimer->SrcBmp, nullptr);
    EXPECT_EQ(HideAnimationTimer->DstBmp, nullptr);
    EXPECT_FALSE(HideAnimationTimer->GetEnabled());
    EXPECT_EQ(f.provider->Events, (std::vector<TacAnimEvent>{aeHiding}));
}

TEST(FormAnimation, HideOverARunningHideEndsTheFirst)
{
    SkinnedForm a, b;
    TacGlowForm* first = CopyWindow(300);
    HWND firstWnd = first->GetHandle();
    RunHideAnimation(first, Bitmap32(40, 30, 0xFFFF0000).release(), 600, a.form->GetHandle(), atAero, 255);
    TacGlowForm* second = CopyWindow(360);
    RunHideAnimation(second, Bitmap32(40, 30, 0xFF00FF00).release(), 60, b.form->GetHandle(), atDropDown, 200);
    EXPECT_FALSE(IsWindow(firstWnd));
    EXPECT_EQ(a.provider->Events, (std::vector<TacAnimEvent>{aeHiding}));
    ASSERT_TRUE(PumpUntil([] { return HideAnimationTimer->Form == nullptr; }));
    EXPECT_EQ(a.provider->Events.size(), 1u);
    EXPECT_EQ(b.provider->Events, (std::vector<TacAnimEvent>{aeHiding}));
}

TEST(FormAnimation, ShortHidesEndAtOnceAndTheEventSurvivesTheTimer)
{
    SkinnedForm f;
    TacGlowForm* glow = CopyWindow(300);
    HWND wnd = glow->GetHandle();
    RunHideAnimation(glow, Bitmap32(40, 30).release(), 11, f.form->GetHandle(), atFading, 255);
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_TRUE(f.provider->Events.empty());

    TacGlowForm* running = CopyWindow(300);
    HWND runningWnd = running->GetHandle();
    RunHideAnimation(running, Bitmap32(40, 30).release(), 600, f.form->GetHandle(), atFading, 255);
    ASSERT_NE(HideAnimationTimer, nullptr);
    HideAnimationTimer->Free();
    EXPECT_EQ(HideAnimationTimer, nullptr);
    EXPECT_FALSE(IsWindow(runningWnd));
    EXPECT_EQ(f.provider->Events, (std::vector<TacAnimEvent>{aeHiding}));
}

// ---------------------------------------------------------------------------
// Hiding a form through its provider.

struct ManagerWithHide {
    EngineAnimSettings engine;
    TOwned<TsSkinManager> manager{New<TsSkinManager>(nullptr)};
    ManagerWithHide(Word Time, TacAnimType Mode)
    {
        manager->AnimEffects()->FormHide->Time = Time;
        manager->AnimEffects()->FormHide->Mode = Mode;
        manager->AnimEffects()->DialogHide->Time = Time;
        manager->AnimEffects()->DialogHide->Mode = Mode;
    }
};

TEST(FormAnimation, HideFormTakesTheManagersHideSettingsAndCleansUp)
{
    ManagerWithHide m(1200, atAero);
    const int windows = TopLevelWindows();
    const DWORD gdi = GdiObjects();
    {
        SkinnedForm f(m.manager.get());
        f.form->Show();
        testing_support::PumpMessages();
        f.provider->PaintAll();
        HWND wnd = f.form->GetHandle();
        f.provider->FindTransparentCorners();
        HideFormAnimated(f.provider.get());
        EXPECT_EQ(f.provider->Paints, 2) << "the image is painted anew unless state bit 0x200 is set";
        EXPECT_FALSE(IsWindowVisible(wnd));
        EXPECT_FALSE(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
        EXPECT_FALSE(AnimationRunning);
        ASSERT_NE(HideAnimationTimer, nullptr);
        ASSERT_NE(HideAnimationTimer->Form, nullptr);
        EXPECT_EQ(HideAnimationTimer->StepCount, 100);
        EXPECT_EQ(HideAnimationTimer->AnimType, atAero);
        EXPECT_EQ(HideAnimationTimer->ParentWnd, wnd);
        HWND copy = HideAnimationTimer->Form->GetHandle();
        RECT place;
        GetWindowRect(copy, &place);
        EXPECT_EQ(place.left, 30);
        EXPECT_EQ(place.top, 40);
        // Held at its first step while the screen is read.
        HideAnimationTimer->SetEnabled(false);
        // The copy shows the form's picture, its corner rectangle cleared.
        // The first step is at 252 of 255.
        EXPECT_TRUE(PixelNear(SettledScreenPixel(60, 70, RGB(0x20, 0x80, 0xC0), 3), RGB(0x20, 0x80, 0xC0), 3));
        EXPECT_FALSE(PixelNear(ScreenPixel(30, 40), RGB(0x20, 0x80, 0xC0), 3));
        HideAnimationTimer->Finish();
        EXPECT_FALSE(IsWindow(copy));
        EXPECT_EQ(f.provider->Events, (std::vector<TacAnimEvent>{aeHiding}));
    }
    EXPECT_EQ(TopLevelWindows(), windows);
    EXPECT_EQ(GdiObjects(), gdi);
}

TEST(FormAnimation, HideFormCases)
{
    ManagerWithHide m(60, atFading);
    const struct {
        const char* Case;
        bool Cover, Alpha, Ready, NoCache;
    } cases[] = {
        {"the cover form is taken over", true, false, false, false},
        {"an alpha-blended form stays layered", false, true, false, false},
        {"a ready image is not painted again", false, false, true, false},
        {"no image: nothing", false, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        SkinnedForm f(m.manager.get());
        f.form->Show();
        HWND wnd = f.form->GetHandle();
        HWND cover = nullptr;
        if (c.Cover) {
            f.provider->CoverForm = CreateSnapshotForm(wnd);
            cover = f.provider->CoverForm->GetHandle();
        }
        if (c.Alpha) {
            f.form->SetAlphaBlend(true);
            f.form->SetAlphaBlendValue(150);
        }
        if (c.Ready)
            f.provider->SetFormState(0x200);
        if (!c.NoCache)
            f.provider->PaintAll();
        const int paints = f.provider->Paints;
        HideFormAnimated(f.provider.get());
        EXPECT_FALSE(AnimationRunning);
        EXPECT_EQ(f.provider->CoverForm, nullptr);
        if (c.NoCache) {
            EXPECT_EQ(f.provider->Paints, 0);
            EXPECT_TRUE(IsWindowVisible(wnd));
            EXPECT_TRUE(f.provider->Events.empty());
            continue;
        }
        EXPECT_EQ(f.provider->Paints, paints + (c.Ready ? 0 : 1));
        if (c.Cover)
            EXPECT_EQ(HideAnimationTimer->Form->GetHandle(), cover);
        if (c.Alpha) {
            BYTE alpha = 0;
            EXPECT_TRUE(GetLayeredWindowAttributes(wnd, nullptr, &alpha, nullptr));
            EXPECT_EQ(alpha, 150);
        }
        ASSERT_TRUE(PumpUntil([] { return HideAnimationTimer->Form == nullptr; }));
        if (cover)
            EXPECT_FALSE(IsWindow(cover));
        EXPECT_EQ(f.provider->Events, (std::vector<TacAnimEvent>{aeHiding}));
    }
}

TEST(FormAnimation, HideWithABorderFormTakesItsWindow)
{
    ManagerWithHide m(60, atDropDown);
    SkinnedForm f(m.manager.get());
    TTestBorderForm* border = f.AddBorder();
    f.form->Show();
    f.provider->PaintAll();
    border->CreateNewForm();
    HWND borderWnd = border->AForm->GetHandle();
    HideFormAnimated(f.provider.get());
    EXPECT_EQ(border->AForm, nullptr) << "detached from the border form";
    ASSERT_NE(HideAnimationTimer->Form, nullptr);
    EXPECT_EQ(HideAnimationTimer->Form->GetHandle(), borderWnd);
    const int hooked = border->Hooked;
    SendMessageW(borderWnd, WM_NULL, 0, 0);
    EXPECT_EQ(border->Hooked, hooked) << "its own window procedure is back";
    EXPECT_FALSE(IsWindowVisible(f.form->GetHandle()));
    EXPECT_FALSE(AnimationRunning);
    ASSERT_TRUE(PumpUntil([] { return HideAnimationTimer->Form == nullptr; }));
    EXPECT_FALSE(IsWindow(borderWnd));
    EXPECT_EQ(f.provider->Events, (std::vector<TacAnimEvent>{aeHiding}));
    EXPECT_NE(f.provider->BorderForm, nullptr) << "freed only while the application terminates";
}

TEST(FormAnimation, ShowWithABorderFormKeepsItsWindow)
{
    SkinnedForm f;
    TTestBorderForm* border = f.AddBorder();
    border->OnPaintAll = [&f] { f.provider->PaintAll(); };
    ShowFormAnimated(f.provider.get(), 36, 255, atAero);
    EXPECT_TRUE(IsWindowVisible(f.form->GetHandle()));
    ASSERT_NE(border->AForm, nullptr);
    EXPECT_TRUE(IsWindowVisible(border->AForm->GetHandle()));
    EXPECT_EQ(border->Made, 1);
    EXPECT_EQ(border->Paints, 1);
    EXPECT_FALSE(border->ExBorderShowing);
    EXPECT_FALSE(AnimationRunning);
    EXPECT_EQ(f.provider->Regions, 1);
    EXPECT_EQ(f.provider->Events, (std::vector<TacAnimEvent>{aeShowing}));
}

// ---------------------------------------------------------------------------
// Dialogs: a real window with two child windows, skinned by a handler of ours.

class TTestDialogProvider : public TacProvider {
public:
    // Every child window as a red block at its place.
    void PrintHwndControls(HWND Wnd, HDC DC) override
    {
        const TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
        for (HWND child = GetWindow(Wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, Wnd, reinterpret_cast<POINT*>(&r), 2);
            FillRect(DC, &r, red.Get());
        }
    }
};

class TTestDialog : public TacDialogWnd {
public:
    TOwned<TForm> Window{New<TForm>(nullptr)};
    TOwned<TBitmap> Cache;
    TsCommonData Data{nullptr};
    TTestDialogProvider Printer;
    TPoint Offset{5, 6};
    int Redraws = 0, Regions = 0, Paints = 0;

    TTestDialog()
    {
        Window->SetBorderStyle(bsNone);
        Window->SetBounds(220, 50, 100, 60);
        Window->SetColor(0x000000FF);
        for (const TRect& r : {TRect(10, 10, 40, 30), TRect(90, 50, 120, 70)}) {
            TPanel* child = New<TPanel>(Window.get());
            child->SetParent(Window.get());
            child->SetBounds(r.left, r.top, r.Width(), r.Height());
        }
        CtrlHandle = Window->GetHandle();
        for (int i = 0; i < Window->ControlCount(); ++i)
            static_cast<TWinControl*>(Window->Controls(i))->GetHandle();
        SkinData = &Data;
        Provider = &Printer;
    }
    ~TTestDialog() override
    {
        Data.FCacheBmp = nullptr; // the dialog's own picture
        FreeAndNil(BorderForm);
    }
    LRESULT ProcessMessage(UINT Msg, WPARAM WParam, LPARAM LParam) override
    {
        if (Msg == WM_SETREDRAW && WParam)
            ++Redraws;
        return SendMessageW(CtrlHandle, Msg, WParam, LParam);
    }
    void CalcTransparentRects() override { ArOR = {TRect(0, 0, 2, 1)}; }
    int CaptionHeight(bool) override { return 0; }
    int OffsetX() override { return Offset.x; }
    int OffsetY() override { return Offset.y; }
    TRect ShadowSize() override { return TRect(); }
    // The frame: grey around the client area.
    void PaintAll() override
    {
        ++Paints;
        Cache = Bitmap32(100 + 2 * Offset.x, 60 + 2 * Offset.y, 0xFF808080);
        Data.FCacheBmp = Cache.get();
    }
    void UpdateRegion(bool) override { ++Regions; }
};

TEST(FormAnimation, PaintDialogToBitmapAtTheClientOffsets)
{
    TTestDialog dlg;
    // The second child reaches past the client area's bottom-right corner.
    RECT client;
    GetClientRect(dlg.CtrlHandle, &client);
    dlg.Window->Controls(1)->SetBounds(client.right - 10, client.bottom - 10, 30, 20);
    const int insideX = 5 + client.right - 5, pastX = 5 + client.right + 1, lastY = 6 + client.bottom - 5;
    const struct {
        const char* Case;
        bool Border;
        Cardinal Corner;     // (1, 1): outside the client part
        Cardinal Child;      // (20, 20): the first child
        Cardinal PastClient; // the second child beyond the client size
    } cases[] = {
        {"without border form: alpha everywhere", false, 0xFF000000, 0xFFFF0000, 0xFF000000},
        {"with border form: alpha on the client part", true, 0x00000000, 0xFFFF0000, 0x00000000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        if (c.Border)
            dlg.BorderForm = new TTestBorderForm(dlg.CtrlHandle);
        TOwned<TBitmap> bmp = Bitmap32(110, 72);
        PaintDialogToBitmap(&dlg, bmp.get(), false);
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 1, 1), c.Corner));
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 20, 20), c.Child));
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), pastX, lastY), c.PastClient));
        EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), insideX, lastY), 0xFFFF0000));
    }

    // From the screen: the client area as shown, limited to the bitmap.
    dlg.Window->Show();
    UpdateWindow(dlg.CtrlHandle);
    testing_support::PumpMessages();
    TOwned<TBitmap> bmp = Bitmap32(60, 40);
    PaintDialogToBitmap(&dlg, bmp.get(), true);
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 1, 1), 0));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 8, 8), 0xFFFF0000)) << "the form's red";
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(bmp.get(), 59, 39), 0xFFFF0000));
}

TEST(FormAnimation, ShowAndHideADialog)
{
    for (bool withBorder : {false, true}) {
        SCOPED_TRACE(withBorder ? "border form" : "no border form");
        const int windows = TopLevelWindows();
        const DWORD gdi = GdiObjects();
        {
            TTestDialog dlg;
            TTestBorderForm* border = nullptr;
            if (withBorder)
                dlg.BorderForm = border = new TTestBorderForm(dlg.CtrlHandle);
            ShowDialogAnimated(&dlg, 36, 255, atDropDown);
            EXPECT_TRUE(IsWindowVisible(dlg.CtrlHandle));
            EXPECT_EQ(dlg.Redraws, 1);
            EXPECT_EQ(dlg.Regions, withBorder ? 2 : 1);
            EXPECT_EQ(dlg.Paints, 1);
            EXPECT_FALSE(AnimationRunning);
            if (withBorder) {
                ASSERT_NE(border->AForm, nullptr) << "the border keeps its window";
                EXPECT_EQ(border->Updates, 1);
                EXPECT_FALSE(border->ExBorderShowing);
            } else {
                EXPECT_EQ(TopLevelWindows(), windows + 1) << "the copy window is gone";
            }

            ManagerWithHide m(60, atFading);
            dlg.Data.FSkinManager = m.manager.get();
            HWND cover = nullptr;
            if (!withBorder) {
                dlg.CoverForm = CreateSnapshotForm(dlg.CtrlHandle);
                cover = dlg.CoverForm->GetHandle();
            }
            HideDialogAnimated(&dlg);
            EXPECT_FALSE(AnimationRunning);
            EXPECT_EQ(dlg.BorderForm, nullptr);
            EXPECT_EQ(dlg.CoverForm, nullptr);
            ASSERT_NE(HideAnimationTimer->Form, nullptr);
            EXPECT_EQ(HideAnimationTimer->ParentWnd, nullptr) << "no event for dialogs";
            if (cover)
                EXPECT_EQ(HideAnimationTimer->Form->GetHandle(), cover);
            ASSERT_TRUE(PumpUntil([] { return HideAnimationTimer->Form == nullptr; }));
        }
        EXPECT_EQ(TopLevelWindows(), windows);
        EXPECT_EQ(GdiObjects(), gdi);
    }
}

// ---------------------------------------------------------------------------
// The skin-change animation.

TEST(FormAnimation, SkinChangeOfAFormThroughALayeredCopy)
{
    const int windows = TopLevelWindows();
    const DWORD gdi = GdiObjects();
    {
        SkinnedForm f;
        f.form->SetAlphaBlend(true);
        f.form->SetAlphaBlendValue(100);
        f.form->Show();
        testing_support::PumpMessages();
        AnimateSkinChange(f.form.get(), 48, 200, true);
        EXPECT_FALSE(AnimationRunning);
        EXPECT_EQ(f.form->GetAlphaBlendValue(), 200);
        EXPECT_EQ(f.form->RedrawOn, 1);
        EXPECT_EQ(f.provider->Paints, 1);
        EXPECT_EQ(TopLevelWindows(), windows + 1) << "only the form: the copy is gone";
    }
    EXPECT_EQ(TopLevelWindows(), windows);
    EXPECT_EQ(GdiObjects(), gdi);
}

TEST(FormAnimation, SkinChangeWithABorderFormSwapsItsWindow)
{
    SkinnedForm f;
    TTestBorderForm* border = f.AddBorder();
    f.form->Show();
    f.provider->PaintAll();
    border->CreateNewForm();
    HWND oldWnd = border->AForm->GetHandle();
    f.provider->CoverBmp = f.provider->CreateFormBitmap(false);
    AnimateSkinChange(f.form.get(), 36, 255, false);
    EXPECT_EQ(f.provider->CoverBmp, nullptr) << "the old image was taken over";
    EXPECT_FALSE(IsWindow(oldWnd));
    ASSERT_NE(border->AForm, nullptr);
    HWND newWnd = border->AForm->GetHandle();
    EXPECT_TRUE(IsWindowVisible(newWnd));
    RECT r;
    GetWindowRect(newWnd, &r);
    EXPECT_EQ(r.left, 20) << "placed like the old window";
    EXPECT_EQ(border->Updates, 1);
    EXPECT_EQ(f.form->RedrawOn, 1);
    EXPECT_FALSE(AnimationRunning);
    testing_support::PumpMessages();
    // The new image is the form painted with its controls, outside the form here.
    EXPECT_EQ(SettledScreenPixel(25, 35, RGB(0x99, 0x66, 0x33)), RGB(0x99, 0x66, 0x33)) << "the new image in the border's window";
}

TEST(FormAnimation, SkinChangeMixWeights)
{
    EXPECT_TRUE(SkinChangeMixWeights(0).empty());
    EXPECT_EQ(SkinChangeMixWeights(3), (std::vector<Byte>{255, 170, 85}));
    EXPECT_EQ(SkinChangeMixWeights(2), (std::vector<Byte>{255, 128}));
    // More steps than weights: one less each step, and the mix ends.
    const std::vector<Byte> many = SkinChangeMixWeights(300);
    ASSERT_EQ(many.size(), 253u);
    EXPECT_EQ(many.back(), 3);
}

TEST(FormAnimation, SkinChangeThroughTheOutputWindow)
{
    const struct {
        const char* Case;
        bool Layered;
        bool Panel;
    } cases[] = {
        {"a control", true, true},
        {"a form without layered windows", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Case);
        const int windows = TopLevelWindows();
        const DWORD gdi = GdiObjects();
        {
            PlatformProbe().LayeredWindows = c.Layered;
            const TScopeExit probe([] { ResetPlatformProbe(); });
            SkinnedForm f;
            TPanel* panel = New<TPanel>(f.form.get());
            panel->SetParent(f.form.get());
            panel->SetBounds(10, 10, 50, 40);
            f.form->Show();
            testing_support::PumpMessages();
            TWinControl* target = c.Panel ? static_cast<TWinControl*>(panel) : f.form.get();
            const int children = f.form->ControlCount();
            AnimateSkinChange(target, 72, 255, false);
            EXPECT_FALSE(AnimationRunning);
            EXPECT_EQ(f.form->ControlCount(), children) << "the output window is gone";
            EXPECT_TRUE(IsWindowVisible(target->GetHandle()));
            EXPECT_EQ(TopLevelWindows(), windows + 1);
        }
        EXPECT_EQ(TopLevelWindows(), windows);
        EXPECT_EQ(GdiObjects(), gdi);
    }

    // A hidden control or a minimized form: nothing.
    SkinnedForm hidden;
    AnimateSkinChange(hidden.form.get(), 72, 255, false);
    EXPECT_EQ(hidden.provider->Paints, 0);
    EXPECT_FALSE(AnimationRunning);
}

} // namespace

