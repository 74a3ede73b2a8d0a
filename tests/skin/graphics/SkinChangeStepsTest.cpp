// The three steps of a skin change over real registered forms: covered with
// a snapshot (border forms), frozen, then thawed and revealed with the
// manager's skin-changing animation; minimized forms and a minimized
// application are left alone. And the skin data's window shadows.
#include <gtest/gtest.h>
#include "ScopeExit.h"
#include "SkinnedFormFixtures.h"
#include "sFormAnimations.h"
#include "sVclUtils.h"

namespace {

using namespace skinned_fixtures;

constexpr Cardinal Covered = 0x1000, Locked = 0x10000;

struct ChangingManager {
    EngineAnimSettings engine;
    TOwned<TsSkinManager> manager{New<TsSkinManager>(nullptr)};
    ChangingManager(bool Active, Word Time, TacAnimType Mode)
    {
        TacSkinChanging* changing = manager->AnimEffects()->SkinChanging.get();
        changing->Active = Active;
        changing->Time = Time;
        changing->Mode = Mode;
    }
};

TEST(SkinChangeSteps, CoverLockAndRevealWithABorderForm)
{
    ChangingManager m(true, 36, atAero);
    ASSERT_TRUE(m.manager->IsDefault());
    SkinnedForm f(m.manager.get());
    f.Register();
    TTestBorderForm* border = f.AddBorder();
    f.form->Show();
    f.provider->Picture = 0xFF10A040;   // the old skin
    f.provider->PaintAll();
    border->CreateNewForm();
    SkinnedForm minimized(m.manager.get(), 300);
    minimized.Register();
    minimized.form->Show();
    minimized.form->SetWindowState(wsMinimized);
    testing_support::PumpMessages();

    PrepareFormsForSkinChange(m.manager.get());
    EXPECT_TRUE(SkinChangeAnimating);
    EXPECT_EQ(f.provider->GetFormState(), Covered);
    ASSERT_NE(f.provider->CoverBmp, nullptr);
    EXPECT_EQ(f.provider->Snapshots, 1);
    EXPECT_TRUE(f.provider->FInAnimation);

    LockFormsForSkinUpdate(m.manager.get());
    EXPECT_EQ(f.provider->GetFormState(), Covered | Locked);
    EXPECT_EQ(f.form->RedrawOff, 1);
    // Frozen, the form has lost WS_VISIBLE; the snapshot stands in the border window.
    EXPECT_FALSE(IsWindowVisible(f.form->GetHandle()));
    testing_support::PumpMessages();
    EXPECT_EQ(SettledScreenPixel(25, 35, RGB(0x10, 0xA0, 0x40)), RGB(0x10, 0xA0, 0x40));

    UnlockFormsAfterSkinUpdate(m.manager.get(), 1);
    EXPECT_FALSE(SkinChangeAnimating);
    EXPECT_EQ(f.provider->GetFormState(), 0u) << "the frozen form was reached again";
    EXPECT_FALSE(f.provider->FInAnimation);
    EXPECT_TRUE(IsWindowVisible(f.form->GetHandle()));
    EXPECT_GE(f.form->RedrawOn, 1);
    EXPECT_EQ(f.provider->CoverBmp, nullptr) << "the old image went to the animation";
    EXPECT_EQ(border->Made, 2) << "a new border window shows the new look";
    EXPECT_GE(border->Updates, 1);
    EXPECT_EQ(f.provider->Regions, 1);
    EXPECT_FALSE(AnimationRunning);
    testing_support::PumpMessages();
    // The new look is the form painted with its controls, here outside the form.
    EXPECT_EQ(SettledScreenPixel(25, 35, RGB(0x99, 0x66, 0x33)), RGB(0x99, 0x66, 0x33));

    for (TPictureProvider* p : {minimized.provider.get()})
        EXPECT_FALSE(p->FInAnimation || p->GetFormState() || p->CoverBmp);
    EXPECT_EQ(minimized.form->RedrawOff + minimized.form->RedrawOn, 0);
}

TEST(SkinChangeSteps, PlainUnlockWithoutAnimation)
{
    ChangingManager m(false, 100, atFading);
    SkinnedForm f(m.manager.get());
    f.Register();
    f.form->Show();
    PrepareFormsForSkinChange(m.manager.get());
    EXPECT_FALSE(SkinChangeAnimating);
    EXPECT_EQ(f.provider->CoverBmp, nullptr) << "no border form: no snapshot";
    EXPECT_TRUE(f.provider->FInAnimation);
    LockFormsForSkinUpdate(m.manager.get());
    EXPECT_EQ(f.provider->GetFormState(), Locked);
    EXPECT_EQ(f.form->RedrawOff, 1);

    UnlockFormsAfterSkinUpdate(m.manager.get(), 0);
    EXPECT_EQ(f.provider->GetFormState(), 0u);
    EXPECT_EQ(f.form->RedrawOn, 2);
    EXPECT_EQ(f.provider->Paints, 0) << "mode 0 reveals nothing";
    EXPECT_TRUE(IsWindowVisible(f.form->GetHandle()));

    // Mode 1 without the animation: redrawn in place, region applied.
    LockFormsForSkinUpdate(m.manager.get());
    UnlockFormsAfterSkinUpdate(m.manager.get(), 1);
    EXPECT_EQ(f.provider->GetFormState(), 0u);
    EXPECT_FALSE(f.provider->FInAnimation);
    EXPECT_EQ(f.provider->Regions, 1);
    EXPECT_EQ(f.provider->Paints, 0);
}

TEST(SkinChangeSteps, NothingWhileTheApplicationIsMinimizedOrTheManagerLoads)
{
    ChangingManager m(true, 36, atFading);
    SkinnedForm f(m.manager.get());
    f.Register();
    f.form->Show();
    HWND app = Application->GetHandle();
    const LONG style = GetWindowLongW(app, GWL_STYLE);
    {
        // IsIconic reads the style bit.
        SetWindowLongW(app, GWL_STYLE, style | WS_MINIMIZE);
        const TScopeExit restore([app, style] { SetWindowLongW(app, GWL_STYLE, style); });
        PrepareFormsForSkinChange(m.manager.get());
        LockFormsForSkinUpdate(m.manager.get());
        EXPECT_FALSE(SkinChangeAnimating);
        EXPECT_FALSE(f.provider->FInAnimation);
        EXPECT_EQ(f.provider->GetFormState(), 0u);
        EXPECT_EQ(f.form->RedrawOff, 0);
        SkinChangeAnimating = true;
        UnlockFormsAfterSkinUpdate(m.manager.get(), 1);
        EXPECT_TRUE(SkinChangeAnimating) << "the unlock leaves everything as it was";
        SkinChangeAnimating = false;
    }

    m.manager->SetDesigning(true);
    PrepareFormsForSkinChange(m.manager.get());
    m.manager->SetDesigning(false);
    m.manager->BeginLoading();
    PrepareFormsForSkinChange(m.manager.get());
    m.manager->EndLoading();
    EXPECT_FALSE(SkinChangeAnimating);
    EXPECT_FALSE(f.provider->FInAnimation);
}

TEST(SkinData, ShadowsAreMadeOnceAndAgainAfterReset)
{
    TsSkinData data;
    data.WndShadowRadius = 6;
    data.WndShadowSize = 4;
    data.WndShadowOffset = 2;
    data.WndShadowColorA = 0xFF0000FF;
    data.WndShadowColorN = 0xFF00FF00;
    data.Active = true;
    TBitmap* active = data.GetActiveShadow();
    TBitmap* passive = data.GetPassiveShadow();
    ASSERT_NE(active, nullptr);
    ASSERT_NE(passive, nullptr);
    EXPECT_EQ(data.GetActiveShadow(), active);
    // 2 * radius + 1 wide; 2 * radius + (radius - size) * 2 + offset + 1 high.
    EXPECT_EQ(active->GetWidth(), 13);
    EXPECT_EQ(active->GetHeight(), 19);
    const Cardinal activeCentre = GetBitmap32Pixel(active, 6, 10);
    const Cardinal passiveCentre = GetBitmap32Pixel(passive, 6, 10);
    EXPECT_GT(activeCentre >> 24, 0u);
    EXPECT_NE(activeCentre & 0xFFFFFF, passiveCentre & 0xFFFFFF) << "each from its own colour";

    data.Reset();
    EXPECT_FALSE(data.Active);
    data.WndShadowRadius = 3;
    TBitmap* again = data.GetActiveShadow();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetWidth(), 7) << "made from the current values";
}

} // namespace
