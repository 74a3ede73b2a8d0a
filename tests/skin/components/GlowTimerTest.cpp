// State fades and hover glows on a real form: a skinned test control whose
// cache shows its section's state colour, the test skin "Blocks" loaded from
// its generated folder. Each frame is read from the window DC as the step
// paints it.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <sstream>
#include "Forms.h"
#include "SkinWriter.h"
#include "TestSupport.h"
#include "acGlow.h"
#include "acThdTimer.h"
#include "sGraphUtils.h"
#include "sMessages.h"
#include "sSkinManager.h"

namespace {

class TFadeControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    void AfterConstruction() override
    {
        TCustomControl::AfterConstruction();
        Cache.reset(MakeBitmap32(0, 0));
        Data.reset(New<TsCommonData>(this));
        Data->FCacheBmp = Cache.get();
    }
    // The cache is the control's own here, not the state's.
    ~TFadeControl() override
    {
        Data->FCacheBmp = nullptr;
        Data.reset();
    }

    // The cache in the section's colour of PaintState.
    void BuildCache()
    {
        ++Builds;
        Cache->SetSize(GetWidth(), GetHeight());
        const TColor color = Data->GetSkinManager()->gd[Data->SkinIndex].Props[PaintState].Color;
        TBrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
        RECT r{0, 0, GetWidth(), GetHeight()};
        FillRect(Cache->GetCanvas()->GetHandle(), &r, brush.Get());
        Data->BGChanged = false;
    }

    TOwned<TBitmap> Cache;
    TOwned<TsCommonData> Data;
    int PaintState = 0;
    int Builds = 0;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == SkinCommandMessage && HIWORD(Message.WParam) == SKC_BUILD_CACHE) {
            BuildCache();
            Message.Result = 0;
            return;
        }
        TCustomControl::WndProc(Message);
    }
    void Paint() override
    {
        BitBlt(GetCanvas()->GetHandle(), 0, 0, GetWidth(), GetHeight(), Cache->GetCanvas()->GetHandle(), 0, 0,
               SRCCOPY);
    }
};

// One painted frame: the step's iteration and level and the window's pixel.
struct TFrame {
    int Iteration;
    double Level;
    COLORREF Pixel;
};
std::vector<TFrame> frames;
TFadeControl* recorded = nullptr;

bool RecordingCrossFade(TObject* Data, Integer Iteration)
{
    const bool more = CrossFadeStep(Data, Iteration);
    if (recorded && recorded->Data->AnimTimer) {
        HDC dc = GetWindowDC(recorded->GetHandle());
        frames.push_back({Iteration, recorded->Data->AnimTimer->Glow, GetPixel(dc, 6, 6)});
        ReleaseDC(recorded->GetHandle(), dc);
    }
    return more;
}

// Each channel of Mixed lies between From and To at the weight of Level
// (0 From, 255 To).
void ExpectBlend(COLORREF From, COLORREF To, double Level, COLORREF Mixed)
{
    const int a = std::clamp(static_cast<int>(std::nearbyint(Level)), 0, 255);
    for (int shift : {0, 8, 16}) {
        const int f = (From >> shift) & 0xFF, t = (To >> shift) & 0xFF, m = (Mixed >> shift) & 0xFF;
        EXPECT_NEAR(m, (f * (255 - a) + t * a) / 255.0, 2.5) << "level " << Level << " channel " << shift;
    }
}

// Pumps until the control's fade has ended (a hang fails the test).
void RunFade(TacThreadedTimer* Timer)
{
    for (int i = 0; i < 5000 && Timer->GetEnabled(); ++i) {
        testing_support::PumpMessages();
        Sleep(1);
    }
    ASSERT_FALSE(Timer->GetEnabled()) << "the fade did not end";
}

struct TFadeScene {
    testing_support::TempDir dir;
    TOwned<TsSkinManager> manager;
    TOwned<TForm> form;
    TFadeControl* control = nullptr;
    COLORREF normal = 0, hot = 0;

    TFadeScene()
    {
        std::istringstream in(testing_support::FileBytes(testing_support::SourceDir() + L"\\tests\\fixtures\\skins\\Blocks.skin"));
        const skindesc::Skin skin = skindesc::Parse(in);
        CreateDirectoryW(dir.File(L"Blocks").c_str(), nullptr);
        for (const auto& [name, bytes] : skinwriter::SkinFiles(skin))
            testing_support::WriteBytes(dir.File(L"Blocks\\" + std::wstring(name.begin(), name.end())), bytes);
        manager.reset(New<TsSkinManager>(nullptr));
        manager->SetSkinDirectory(dir.Path());
        manager->SetSkinName(L"Blocks");
        form.reset(New<TForm>(nullptr));
        form->SetBounds(100, 100, 300, 200);
        form->Show();
        control = MakeControl();
        frames.clear();
        recorded = control;
    }
    ~TFadeScene() { recorded = nullptr; }

    TFadeControl* MakeControl()
    {
        auto* c = New<TFadeControl>(form.get());
        c->SetParent(form.get());
        c->SetBounds(40, 40, 80, 30);
        c->Data->SkinIndex = manager->GetSkinIndex(L"SPEEDBUTTON");
        c->Data->Loading = false;
        c->HandleNeeded();
        c->BuildCache();
        normal = ColorToRGB(manager->gd[c->Data->SkinIndex].Props[0].Color);
        hot = ColorToRGB(manager->gd[c->Data->SkinIndex].Props[1].Color);
        c->Invalidate();
        testing_support::PumpMessages();
        return c;
    }
    void ToState(int State, bool Glow = false)
    {
        control->PaintState = State;
        AnimateStateChange(control->Data.get(), State, RecordingCrossFade, true, false, Glow);
    }
};

} // namespace

TEST(StateFade, HotFadePaintsTheFirstFrameAtOnceAndTheRestOnTicksEachABlend)
{
    TFadeScene s;
    s.ToState(1);
    TacThreadedTimer* timer = s.control->Data->AnimTimer;
    ASSERT_NE(timer, nullptr);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(timer->GetInterval(), 12u);
    EXPECT_TRUE(timer->GetEnabled());
    EXPECT_EQ(timer->Iterations, 6);
    EXPECT_EQ(frames[0].Iteration, 0);
    RunFade(timer);
    // The first frame and six ticks; the last shows the hot colour.
    ASSERT_EQ(frames.size(), 7u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].Iteration, static_cast<int>(i));
        if (i > 0)
            EXPECT_GT(frames[i].Level, frames[i - 1].Level);
        ExpectBlend(s.normal, s.hot, frames[i].Level, frames[i].Pixel);
    }
    EXPECT_LT(frames[0].Level, 64);
    EXPECT_EQ(frames.back().Pixel, s.hot);
    EXPECT_EQ(timer->State, 1);
}

TEST(StateFade, ReversalContinuesFromTheCurrentLevel)
{
    TFadeScene s;
    s.ToState(1);
    TacThreadedTimer* timer = s.control->Data->AnimTimer;
    for (int i = 0; i < 5000 && frames.size() < 3; ++i) {
        testing_support::PumpMessages();
        Sleep(1);
    }
    ASSERT_EQ(frames.size(), 3u);
    const TFrame lastHot = frames.back();
    frames.clear();
    s.ToState(0);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(timer->State, 0);
    // One step below the level shown, not back at the start.
    EXPECT_LT(frames[0].Level, lastHot.Level);
    EXPECT_GT(frames[0].Level, lastHot.Level - 255.0 / 12 - 1);
    ExpectBlend(s.normal, s.hot, frames[0].Level, frames[0].Pixel);
    for (int shift : {0, 8, 16})
        EXPECT_NEAR((frames[0].Pixel >> shift) & 0xFF, (lastHot.Pixel >> shift) & 0xFF, 255.0 / 12 + 3);
    RunFade(timer);
    for (std::size_t i = 1; i < frames.size(); ++i) {
        EXPECT_LE(frames[i].Level, frames[i - 1].Level);
        ExpectBlend(s.normal, s.hot, frames[i].Level, frames[i].Pixel);
    }
    EXPECT_EQ(frames.back().Pixel, s.normal);
}

TEST(StateFade, RequestForTheRunningStateIsIgnored)
{
    TFadeScene s;
    s.ToState(1);
    TacThreadedTimer* timer = s.control->Data->AnimTimer;
    const int builds = s.control->Builds;
    const int iteration = timer->Iteration;
    const double level = timer->Glow;
    s.ToState(1);
    EXPECT_EQ(s.control->Builds, builds);
    EXPECT_EQ(frames.size(), 1u);
    EXPECT_EQ(timer->Iteration, iteration);
    EXPECT_EQ(timer->Glow, level);
    RunFade(timer);
}

TEST(HoverGlow, AppearsAroundTheControlClickThroughWithItsAlphaOnScreen)
{
    TFadeScene s;
    s.ToState(1, true);
    TsCommonData* data = s.control->Data.get();
    ASSERT_GE(data->GlowID, 0);
    RunFade(data->AnimTimer);
    const TacGlowEffect& glow = *GlowEffects()[data->GlowID];
    HWND wnd = glow.Wnd->GetHandle();
    // The glow image's margins (8) less the section's glow margin (2) on every side.
    RECT control, around;
    GetWindowRect(s.control->GetHandle(), &control);
    GetWindowRect(wnd, &around);
    EXPECT_EQ(around.left, control.left - 6);
    EXPECT_EQ(around.top, control.top - 6);
    EXPECT_EQ(around.right, control.right + 6);
    EXPECT_EQ(around.bottom, control.bottom + 6);
    EXPECT_TRUE(IsWindowVisible(wnd));
    const LONG exStyle = GetWindowLongW(wnd, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TRANSPARENT);
    EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(around.left + 2, around.top + 2)), HTTRANSPARENT);

    // A point of the glow outside the control, read from the screen: the
    // glow image at alpha 255, and at 128 its colour at that weight (what a
    // layered window shows reads back with its alpha applied).
    const POINT p{around.left + 2, around.top + 2};
    auto screenPixel = [&] {
        testing_support::PumpMessages();
        HDC dc = GetDC(nullptr);
        const COLORREF c = GetPixel(dc, p.x, p.y);
        ReleaseDC(nullptr, dc);
        return c;
    };
    SetGlowAlpha(data->GlowID, 255);
    const COLORREF full = screenPixel();
    EXPECT_EQ(full, RGB(0x00, 0xE0, 0xE0));
    SetGlowAlpha(data->GlowID, 128);
    const COLORREF half = screenPixel();
    for (int shift : {0, 8, 16})
        EXPECT_NEAR((half >> shift) & 0xFF, ((full >> shift) & 0xFF) * 128 / 255.0, 3);
    // Back to normal fades the glow out and hides it.
    s.ToState(0, true);
    RunFade(data->AnimTimer);
    EXPECT_EQ(data->GlowID, -1);
}

TEST(HoverGlow, IdsAreNotReusedUntilTheListIsCleared)
{
    TFadeScene s;
    ClearGlowEffects(true);
    TsCommonData* data = s.control->Data.get();
    const TRect r(10, 10, 50, 40);
    Integer first = ShowGlowEffect(r, L"SPEEDBUTTON", L"GLOW", 2, 255, nullptr, data);
    Integer second = ShowGlowEffect(r, L"EDIT", L"GLOW", 1, 255, nullptr, data);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(ShowGlowEffect(r, L"TOOLBAR", L"GLOW", 1, 255, nullptr, data), -1);
    EXPECT_EQ(ShowGlowEffectByMask(r, {}, 1, 255, nullptr, data), -1);
    EXPECT_EQ(ShowGlowEffectByMask(r, {-1}, 1, 255, nullptr, data), -1);
    HideGlowEffect(first, false);
    EXPECT_EQ(first, -1);
    ASSERT_EQ(GlowEffects().size(), 2u);
    EXPECT_FALSE(GlowEffects()[0]);
    // Hiding twice and invalid ids change nothing.
    Integer stale = 0, outside = 7;
    HideGlowEffect(stale, false);
    SetGlowAlpha(outside, 10);
    EXPECT_EQ(ShowGlowEffect(r, L"SPEEDBUTTON", L"GLOW", 2, 255, nullptr, data), 2);
    ClearGlowEffects(true);
    EXPECT_TRUE(GlowEffects().empty());
    EXPECT_EQ(ShowGlowEffect(r, L"SPEEDBUTTON", L"GLOW", 2, 255, nullptr, data), 0);
    ClearGlowEffects(true);
}

namespace {
class TFreeWatch : public TComponent {
public:
    using TComponent::TComponent;
    bool TimerFreed = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove)
            TimerFreed = true;
    }
};
} // namespace

TEST(StateFade, ControlFreedDuringAFadeLeavesNothingBehind)
{
    TFadeScene s;
    s.control->Free();
    s.control = nullptr;
    // Frees a new control in the middle of its hot fade with a glow; answers
    // whether its timer went with it.
    auto freeDuringFade = [&] {
        s.control = s.MakeControl();
        recorded = s.control;
        frames.clear();
        s.ToState(1, true);
        EXPECT_GE(s.control->Data->GlowID, 0);
        TOwned<TFreeWatch> watch(New<TFreeWatch>(nullptr));
        s.control->Data->AnimTimer->FreeNotification(watch.get());
        for (int i = 0; i < 5000 && frames.size() < 3; ++i) {
            testing_support::PumpMessages();
            Sleep(1);
        }
        // One pump can run more than one due tick on a busy machine.
        EXPECT_GE(frames.size(), 3u);
        recorded = nullptr;
        s.control->Free();
        s.control = nullptr;
        // Ticks that were due find nothing to run; the glow window goes.
        for (int i = 0; i < 30; ++i) {
            testing_support::PumpMessages();
            Sleep(2);
        }
        return watch->TimerFreed;
    };
    // The first round fills the system's caches of window DCs.
    EXPECT_TRUE(freeDuringFade());
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    const DWORD userBefore = testing_support::UserObjectCount();
    EXPECT_TRUE(freeDuringFade());
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
    EXPECT_EQ(testing_support::UserObjectCount(), userBefore);
    for (const auto& glow : GlowEffects())
        EXPECT_FALSE(glow);
}
