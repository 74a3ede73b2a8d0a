// Scaling (the scale index and its arithmetic, the system scale read from
// the registry, scroll-bar widths, the rescale of a real form and of every
// skinned form at a scale-mode change), the application font, and the
// option objects' defaults and setters.
#include <gtest/gtest.h>
#include "DescribedSkin.h"
#include "SkinFiles.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TestSupport.h"
#include "acLibraryGlobals.h"
#include "sFormRegistry.h"
#include "sMessages.h"
#include <optional>
#include <stdexcept>

namespace {

using testing_support::PumpMessages;

TOwned<TsSkinManager> ManagerAt(TacScaleMode Mode, Integer SysFontScale = 0)
{
    TOwned<TsSkinManager> m(New<TsSkinManager>(nullptr));
    m->SysFontScale = SysFontScale;
    // A default manager rescales the library's sizes; these tests leave them.
    const TLibraryMetrics metrics = LibraryMetrics;
    m->BeginLoading();
    m->Options.SetScaleMode(Mode);
    m->EndLoading();
    LibraryMetrics = metrics;
    return m;
}

// "AppliedDPI" of the prefix's current user, put back afterwards.
class AppliedDpi {
public:
    AppliedDpi()
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, Path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        DWORD value = 0, size = sizeof(value), type = 0;
        if (RegQueryValueExW(key_, L"AppliedDPI", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS)
            saved_ = value;
    }
    ~AppliedDpi()
    {
        if (saved_)
            Set(*saved_);
        else
            RegDeleteValueW(key_, L"AppliedDPI");
        RegCloseKey(key_);
    }
    void Set(DWORD dpi)
    {
        RegSetValueExW(key_, L"AppliedDPI", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    }

private:
    static constexpr const wchar_t* Path = L"Control Panel\\Desktop\\WindowMetrics";
    HKEY key_ = nullptr;
    std::optional<DWORD> saved_;
};

TEST(Scale, ScaleIntAndGetScale)
{
    struct Case {
        TacScaleMode mode;
        Integer sysFontScale;
        Integer value;
        Integer sysScale;
        Integer expected;
        Integer scale;
    } cases[] = {
        {sm100, 0, 10, 0, 10, 0},      {sm125, 0, 10, 0, 12, 1},     {sm150, 0, 10, 0, 15, 2},
        {sm200, 0, 10, 0, 20, 3},      {smOldMode, 3, 10, 0, 10, 0}, {sm150, 0, -10, 0, -15, 2},
        {sm125, 0, -10, 0, -12, 1},    {smAuto, 2, 10, 0, 15, 2},    {smAuto, 0, 10, 0, 10, 0},
        {sm200, 0, 10, 1, 12, 3},      {sm150, 0, 10, 3, 10, 2},     {sm150, 0, 10, 2, 10, 2},
        {smOldMode, 0, 10, 1, 10, 0},
    };
    for (const Case& c : cases) {
        auto m = ManagerAt(c.mode, c.sysFontScale);
        EXPECT_EQ(m->GetScale(), c.scale) << c.mode;
        EXPECT_EQ(m->ScaleInt(c.value, c.sysScale), c.expected) << c.mode << " " << c.value << " " << c.sysScale;
    }
    auto designed = ManagerAt(sm200);
    designed->SetDesigning(true);
    EXPECT_EQ(designed->GetScale(), 0) << "no scaling at design time";
}

TEST(Scale, SystemScaleFromTheRegistry)
{
    AppliedDpi dpi;
    const std::pair<DWORD, Integer> cases[] = {{96, 0}, {119, 0}, {120, 1}, {143, 1}, {144, 2}, {191, 2}, {192, 3}, {288, 3}};
    for (auto [value, expected] : cases) {
        dpi.Set(value);
        TOwned<TsSkinManager> m(New<TsSkinManager>(nullptr));
        EXPECT_EQ(m->SysFontScale, expected) << value;
    }
}

TEST(Scale, ScrollBarWidths)
{
    const int system = GetSystemMetrics(SM_CXVSCROLL);
    struct Case {
        TacScaleMode mode;
        Integer sysFontScale;
        Integer scrollSize;
        Integer expected;
    } cases[] = {
        {smOldMode, 0, -1, system},  {smAuto, 2, -1, system},          {sm200, 0, -1, MulDiv(system, 200, 100)},
        {sm150, 1, -1, MulDiv(system, 150, 125)}, {sm150, 0, 20, 20},   {smOldMode, 0, 0, 0},
    };
    for (const Case& c : cases) {
        auto m = ManagerAt(c.mode, c.sysFontScale);
        m->ScrollsOptions()->SetIntProp(1, c.scrollSize);
        EXPECT_EQ(m->GetScrollBarWidth(), c.expected) << c.mode << " " << c.scrollSize;
        EXPECT_EQ(m->GetMaxScrollBarWidth(), std::max(system, c.expected));
    }
}

// A form that records the library commands it gets and can fail its own scaling.
class TScaledForm : public TForm {
public:
    using TForm::TForm;
    LRESULT ScaleAnswer = 0;
    bool FailScaling = false;
    std::vector<std::pair<int, LPARAM>> Commands;
    int Paints = 0;

    void ChangeScale(int M, int D) override
    {
        if (FailScaling)
            throw std::runtime_error("cannot scale");
        TForm::ChangeScale(M, D);
    }

protected:
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_PAINT)
            ++Paints;
        if (m.Msg == SkinCommandMessage) {
            Commands.emplace_back(m.WParamHi(), m.LParam);
            if (m.WParamHi() == SKC_QUERY_SCALE) {
                m.Result = ScaleAnswer;
                return;
            }
        }
        TForm::WndProc(m);
    }
};

struct ScaledScene {
    TOwned<TScaledForm> form;
    TPanel* stretched = nullptr;
    TPanel* right = nullptr;

    ScaledScene()
    {
        form.reset(New<TScaledForm>(nullptr));
        // Without a caption: a captioned window is at least 112 wide here.
        form->SetBorderStyle(bsNone);
        form->SetBounds(30, 30, 100, 50);
        stretched = New<TPanel>(form.get());
        stretched->SetParent(form.get());
        stretched->SetBounds(5, 5, 40, 10);
        stretched->SetAnchors({akLeft, akTop, akRight, akBottom});
        right = New<TPanel>(form.get());
        right->SetParent(form.get());
        right->SetBounds(60, 5, 20, 10);
        right->SetAnchors({akTop, akRight});
        form->Show();
        PumpMessages();
    }
};

TEST(Scale, UpdateScaleOfARealForm)
{
    auto m = ManagerAt(sm150);
    ScaledScene s;
    m->UpdateScale(s.form.get(), 100);
    EXPECT_EQ(s.form->GetWidth(), 150);
    EXPECT_EQ(s.form->GetHeight(), 75);
    EXPECT_EQ(s.form->GetLeft(), 30) << "the position stays";
    EXPECT_EQ(s.stretched->GetAnchors(), (TAnchors{akLeft, akTop, akRight, akBottom})) << "anchors restored";
    EXPECT_EQ(s.right->GetAnchors(), (TAnchors{akTop, akRight}));
    EXPECT_TRUE(IsWindowVisible(s.form->GetHandle()));
    EXPECT_FALSE(s.form->AlignDisabled());
    EXPECT_TRUE(m->Effects()->AllowAnimation);
    ASSERT_FALSE(s.form->Commands.empty());
    EXPECT_EQ(s.form->Commands.back(), (std::pair<int, LPARAM>{SKC_SET_SCALE, 150}));

    // The form now answers 150: nothing more to do.
    s.form->ScaleAnswer = 150;
    m->UpdateScale(s.form.get(), 100);
    EXPECT_EQ(s.form->GetWidth(), 150);
}

TEST(Scale, ControlsThatDoNotScale)
{
    auto m = ManagerAt(sm200);
    for (LRESULT answer : {LRESULT(-1), LRESULT(-7)}) {
        ScaledScene s;
        s.form->ScaleAnswer = answer;
        m->UpdateScale(s.form.get(), 100);
        EXPECT_EQ(s.form->GetWidth(), 100) << answer;
        EXPECT_EQ(s.form->GetHeight(), 50) << answer;
    }
}

TEST(Scale, AControlFailingToScaleLeavesNothingBehind)
{
    auto m = ManagerAt(sm150);
    ScaledScene s;
    s.form->FailScaling = true;
    EXPECT_THROW(m->UpdateScale(s.form.get(), 100), std::runtime_error);
    EXPECT_TRUE(IsWindowVisible(s.form->GetHandle())) << "shown again";
    EXPECT_FALSE(s.form->AlignDisabled());
    EXPECT_EQ(s.stretched->GetAnchors(), (TAnchors{akLeft, akTop, akRight, akBottom}));
    EXPECT_TRUE(m->Effects()->AllowAnimation);
}

TEST(Scale, ScaleModeChangeRescalesFormsAndMetrics)
{
    AppliedDpi dpi;
    dpi.Set(144);
    testing_support::TempDir dir;
    WriteSkinFolder(dir.File(L"Blocks"), DescribedSkinFiles("Blocks"));
    TOwned<TsSkinManager> m(New<TsSkinManager>(nullptr));
    ASSERT_TRUE(m->IsDefault());
    ASSERT_EQ(m->SysFontScale, 2);
    m->SetSkinDirectory(dir.Path());
    FillManager(*m, DescribedSkin("Blocks"));
    m->SetSkinName(L"Blocks");
    ScaledScene s;
    RegisterSkinnedForm(s.form.get());
    std::vector<TScaleChangeData> reported;
    m->OnScaleModeChange = [&](TObject*, TScaleChangeData& d) { reported.push_back(d); };
    int scaleChanged = 0;
    m->OnScaleChanged = [&](TObject* sender) {
        EXPECT_EQ(sender, &m->Options);
        ++scaleChanged;
    };
    LibraryMetrics = TLibraryMetrics{};
    const TLibraryMetrics before = LibraryMetrics;
    s.form->Paints = 0;

    m->Options.SetScaleMode(smAuto);
    UnregisterSkinnedForm(s.form.get());
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].OldScaleMode, smOldMode);
    EXPECT_EQ(reported[0].NewScaleMode, smAuto);
    EXPECT_EQ(reported[0].OldScalePercent, 100);
    EXPECT_EQ(reported[0].NewScalePercent, 150);
    EXPECT_EQ(scaleChanged, 1);
    EXPECT_EQ(m->GetScale(), 2);
    EXPECT_EQ(LibraryMetrics.ArrowSize, 11);
    EXPECT_EQ(LibraryMetrics.ArrowHalf, 6);
    EXPECT_EQ(LibraryMetrics.SmallMargin, 6);
    EXPECT_EQ(LibraryMetrics.SmallMargin2, 8);
    EXPECT_EQ(LibraryMetrics.Sizes[0], MulDiv(before.Sizes[0], 150, 100));
    EXPECT_EQ(LibraryMetrics.Sizes[2], 3);
    EXPECT_EQ(s.form->GetWidth(), 150) << "skinned forms rescale";
    EXPECT_TRUE(m->ManagerState.Empty());
    EXPECT_FALSE(m->NoAutoUpdate);
    EXPECT_TRUE(m->CommonSkinData.Active) << "the skin is announced again";
    PumpMessages();
    EXPECT_GT(s.form->Paints, 0) << "the forms repaint";
    LibraryMetrics = TLibraryMetrics{};
}

// ---------------------------------------------------------------------------
struct FontScene {
    TOwned<TsSkinManager> manager;
    TForm* forms[2] = {};
    std::vector<std::pair<TForm*, int>> commands;

    FontScene() : manager(New<TsSkinManager>(nullptr))
    {
        for (TForm*& form : forms) {
            form = New<TForm>(Application);
            form->SetBounds(0, 0, 120, 80);
            TForm* self = form;
            TWndMethod old = form->WindowProc;
            form->WindowProc = [this, self, old](TMessage& m) {
                if (m.Msg == SkinCommandMessage && m.WParamHi() != SKC_QUERY_HANDLED)
                    commands.emplace_back(self, m.WParamHi());
                old(m);
            };
            form->HandleNeeded();
        }
    }
    ~FontScene()
    {
        for (TForm* form : forms)
            form->Free();
    }
};

TEST(Fonts, ChangeAppFontTellsEveryFormOnce)
{
    FontScene s;
    std::vector<std::pair<String, String>> events;
    s.manager->OnFontChanged = [&](TObject*, const String& old, const String& name) { events.emplace_back(old, name); };
    s.manager->ChangeAppFont(L"Courier New", true);
    ASSERT_EQ(s.commands.size(), 2u);
    for (auto [form, command] : s.commands)
        EXPECT_EQ(command, SKC_FONTS_CHANGED);
    EXPECT_NE(s.commands[0].first, s.commands[1].first);
    const String stored = s.manager->DefStoredFontName;
    EXPECT_FALSE(stored.empty());
    EXPECT_EQ(events, (std::vector<std::pair<String, String>>{{stored, L"Courier New"}}));
    EXPECT_EQ(s.manager->DefOldFontName, L"Courier New");
    EXPECT_EQ(s.manager->DefNewFontName, L"Courier New");
    EXPECT_TRUE(s.manager->ManagerState.Empty());

    s.commands.clear();
    s.manager->ChangeAppFont(L"Courier New", true);
    EXPECT_TRUE(s.commands.empty()) << "the name in use: nothing";
    EXPECT_EQ(events.size(), 1u);

    s.manager->Fonts()->SetMainMode(fmDefault);
    s.manager->Fonts()->SetMainFont(L"Tahoma");
    EXPECT_EQ(events.size(), 1u) << "a custom font is applied only in custom mode";
    s.manager->Fonts()->SetMainMode(fmCustom);
    EXPECT_EQ(events.back(), (std::pair<String, String>{L"Courier New", L"Tahoma"}));
}

TEST(Fonts, UpdateFontNameAsATable)
{
    FontScene s;
    TsSkinManager& m = *s.manager;
    m.StoreDefFont();
    const String stored = m.DefStoredFontName;
    m.ChangeAppFont(L"Courier New", false);
    TForm* form = s.forms[0];
    auto panel = [&](bool parentFont, const String& font, bool withParent) {
        TPanel* p = New<TPanel>(form);
        if (withParent)
            p->SetParent(form);
        p->GetFont()->SetName(font);
        p->SetParentFont(parentFont);
        return p;
    };
    struct Case {
        const char* what;
        TControl* control;
        bool expected;
        String name;   // the font name afterwards
    } cases[] = {
        {"uses its parent's font", panel(true, stored, true), false, stored},
        {"a font of its own", panel(false, L"Wingdings", true), false, L"Wingdings"},
        {"the old default", panel(false, L"Courier New", true), true, stored},
        {"the stored default", panel(false, stored, true), true, stored},
        {"a window without a handle", panel(false, stored, false), false, stored},
    };
    TLabel* label = New<TLabel>(form);
    label->SetParent(form);
    label->SetParentFont(false);
    label->GetFont()->SetName(L"Courier New");
    for (const Case& c : cases) {
        if (auto* win = dynamic_cast<TWinControl*>(c.control); win && win->GetParent())
            win->HandleNeeded();
        EXPECT_EQ(m.UpdateFontName(c.control), c.expected) << c.what;
        EXPECT_EQ(c.control->GetFont()->GetName(), c.name) << c.what;
    }
    EXPECT_TRUE(m.UpdateFontName(label)) << "a graphic control with a parent";

    // With an active skin the name last given is used.
    m.CommonSkinData.Active = true;
    TPanel* skinned = panel(false, stored, true);
    skinned->HandleNeeded();
    EXPECT_TRUE(m.UpdateFontName(skinned));
    EXPECT_EQ(skinned->GetFont()->GetName(), L"Courier New");
    m.CommonSkinData.Active = false;
}

// ---------------------------------------------------------------------------
TEST(Options, Defaults)
{
    TOwned<TsSkinManager> m(New<TsSkinManager>(nullptr));
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(m->Options.GetBoolProp(i)) << i;
    EXPECT_TRUE(m->Options.DrawNonClientArea);
    EXPECT_EQ(m->Options.GetScaleMode(), smOldMode);
    EXPECT_EQ(m->Options.GetArrowsStyle(), arsDefault);
    EXPECT_EQ(m->Options.OptimizingPriority, opSpeed);
    m->CommonSkinData.ArrowStyle = arsLines2;
    EXPECT_EQ(m->Options.ActualArrowStyle(), arsLines2) << "the skin's style while arsDefault";

    TacSkinEffects* e = m->Effects();
    EXPECT_TRUE(e->AllowAnimation && e->AllowAeroBluring && e->AllowGlowing && e->GetBoolProp(0));
    EXPECT_FALSE(e->GetBoolProp(1));
    EXPECT_EQ(e->Manager, m.get());

    TacAnimEffects* a = m->AnimEffects();
    EXPECT_EQ(a->Manager, m.get());
    struct Anim {
        const char* name;
        TacFormAnimation* anim;
        bool active;
        Word time;
        TacAnimType mode;
    } anims[] = {
        {"BlendOnMoving", a->BlendOnMoving.get(), false, 1000, atAero},
        {"DialogShow", a->DialogShow.get(), true, 0, atAero},
        {"FormShow", a->FormShow.get(), true, 0, atAero},
        {"FormHide", a->FormHide.get(), true, 0, atAero},
        {"DialogHide", a->DialogHide.get(), true, 0, atAero},
        {"Minimizing", a->Minimizing.get(), true, 120, atAero},
        {"PageChange", a->PageChange.get(), true, 0, atAero},
        {"SkinChanging", a->SkinChanging.get(), true, 100, atFading},
    };
    for (const Anim& x : anims) {
        EXPECT_EQ(x.anim->Active, x.active) << x.name;
        EXPECT_EQ(x.anim->Time, x.time) << x.name;
        EXPECT_EQ(x.anim->Mode, x.mode) << x.name;
    }
    EXPECT_EQ(a->BlendOnMoving->BlendValue, 170);
    EXPECT_EQ(a->Buttons->Events, (TacBtnEvents{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp}));

    EXPECT_FALSE(TacButtonsSupport::GetOldGlyphsMode());
    EXPECT_TRUE(m->ButtonsOptions()->ShowFocusRect);
    EXPECT_TRUE(m->ButtonsOptions()->ShiftContentOnClick);
    EXPECT_EQ(m->ButtonsOptions()->ModalButtonsColoring, TacModalButtonsColoring{bcGlyph});
    EXPECT_TRUE(m->LabelsOptions()->TransparentAlways);
    EXPECT_EQ(m->ScrollsOptions()->GetButtonsSize(), -1);
    EXPECT_EQ(m->ScrollsOptions()->GetScrollSize(), -1);
    EXPECT_EQ(m->Fonts()->GetMainMode(), fmDefault);
    EXPECT_EQ(m->Fonts()->GetMainFont(), L"");

    EXPECT_TRUE(m->GetActive());
    EXPECT_EQ(m->GetSkinName(), L"");
    EXPECT_EQ(m->GetSkinsFilter(), (TacSkinsFilter{sfiInternal, sfiExternal}));
    EXPECT_EQ(m->GetSkinningRules(), (TacSkinningRules{srStdForms, srStdDialogs, srThirdParty}));
    EXPECT_FALSE(m->GetExtendedBorders());
    EXPECT_TRUE(m->GetSkinnedPopups());
    EXPECT_EQ(m->GetSkinInfo(), L"N/A");
    EXPECT_EQ(m->GetVersion(), L"13.11");
    for (int i = 0; i < ThirdPartyKindCount; ++i) {
        EXPECT_EQ(m->ThirdParty()->GetString(i), ThirdPartyDefaults[i]) << i;
        EXPECT_EQ(m->ThirdLists(i)->GetCaseSensitive(), true);
    }
    EXPECT_EQ(m->ThirdLists(1)->Count(), 1);
    EXPECT_EQ((*m->ThirdLists(1))[0], L"TButton");
    EXPECT_EQ((*m->ThirdLists(0))[0], L" ") << "one blank: no classes, not refilled";
}

TEST(Options, SettersTellTheFormsOnlyOfChanges)
{
    FontScene s;
    TsSkinManager& m = *s.manager;
    m.ScrollsOptions()->SetIntProp(1, -1);
    EXPECT_TRUE(s.commands.empty()) << "ScrollSize set to its value sends nothing";
    m.ScrollsOptions()->SetIntProp(1, 12);
    ASSERT_EQ(s.commands.size(), 2u);
    EXPECT_EQ(s.commands[0].second, SKC_SCROLLBARS_CHANGED);

    s.commands.clear();
    m.ScrollsOptions()->SetIntProp(0, 9);
    std::vector<int> repaint;
    for (auto [form, command] : s.commands)
        if (form == s.forms[0])
            repaint.push_back(command);
    EXPECT_EQ(repaint, (std::vector<int>{SKC_RELOAD_DATA, SKC_REPAINT_SKIN})) << "ButtonsSize repaints";

    s.commands.clear();
    m.Effects()->SetBoolProp(0, true);
    EXPECT_TRUE(s.commands.empty()) << "AllowOuterEffects unchanged";
    m.BeginUpdate();
    m.Effects()->SetBoolProp(1, true);
    EXPECT_TRUE(s.commands.empty()) << "inside BeginUpdate";
    m.NoAutoUpdate = false;

    m.ThirdParty()->SetString(1, L"");
    m.BeginLoading();
    m.EndLoading();
    EXPECT_EQ(m.ThirdParty()->GetString(1), L"TButton") << "an emptied list is refilled at the next load";
    EXPECT_EQ((*m.ThirdLists(1))[0], L"TButton");
}

} // namespace
