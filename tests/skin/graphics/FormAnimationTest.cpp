// Forms shown and hidden through layered copies: frame geometry, a real
// form shown through a provider that paints a known picture, and hides that
// step on the timer while messages flow.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "Forms.h"
#include "TestSupport.h"
#include "sFormAnimations.h"
#include "sMessages.h"

namespace {

class TPictureProvider : public TsSkinProvider {
public:
    using TsSkinProvider::TsSkinProvider;
    std::vector<TacAnimEvent> Events;
    TOwned<TBitmap> Cache;
    int Paints = 0;

    void SetFormState(Cardinal Value) override { FFormState = Value; }
    // The form's picture: a plain colour of the form's size.
    void PaintAll() override
    {
        ++Paints;
        Cache = Bitmap32(Form->GetWidth(), Form->GetHeight(), 0xFF2080C0);
        FCommonData->FCacheBmp = Cache.get();
    }
    TBitmap* CreateFormBitmap(bool) override { return nullptr; }
    void FindTransparentCorners() override { Rects = {TRect(0, 0, 2, 1)}; }
    void ApplyFormRegion(bool, bool) override {}
    HRGN BuildFormRegion(int, int) override { return nullptr; }
    int SkinTitleHeight(bool) override { return 0; }
    int CaptionHeight(bool) override { return 0; }
    int OffsetX() override { return 0; }
    int OffsetY() override { return 0; }
    TRect ShadowSize() override { return TRect(); }
};

class TProvidedForm : public TForm {
public:
    using TForm::TForm;
    TsSkinProvider* Provider = nullptr;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == SkinCommandMessage && HIWORD(Message.WParam) == SKC_QUERY_PROVIDER) {
            Message.Result = reinterpret_cast<LRESULT>(Provider);
            return;
        }
        TForm::WndProc(Message);
    }
};

struct SkinnedForm {
    TOwned<TProvidedForm> form{New<TProvidedForm>(nullptr)};
    TOwned<TPictureProvider> provider{New<TPictureProvider>(nullptr)};
    TsCommonData data{provider.get()};
    SkinnedForm()
    {
        form->SetBorderStyle(bsNone);
        form->SetBounds(30, 40, 120, 80);
        form->SetColor(0x00336699);
        provider->Form = form.get();
        provider->FCommonData = &data;
        provider->OnAfterAnimation = [this](TacAnimEvent e) { provider->Events.push_back(e); };
        form->Provider = provider.get();
        form->GetHandle();
    }
};

BOOL CALLBACK CountWindow(HWND, LPARAM Count)
{
    ++*reinterpret_cast<int*>(Count);
    return TRUE;
}

int TopLevelWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

bool PumpUntil(const std::function<bool()>& Done, DWORD Timeout = 3000)
{
    const DWORD start = GetTickCount();
    while (!Done()) {
        if (GetTickCount() - start > Timeout)
            return false;
        testing_support::PumpMessages();
        Sleep(2);
    }
    return true;
}

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

} // namespace
