// The parts of a skinned form the provider measures and keeps: the title
// icon, the caption-button zone, the menu line, the preparation a skin
// change repeats, a docked form's region, and what a provider leaves when
// it goes (MDI parent and child, glued forms, the system menu style).
#include "SkinnedControls.h"
#include "Menus.h"
#include "sConst.h"
#include "sSkinProvider.h"

using namespace skinned_controls;

namespace {

TOwned<TForm> MakeForm(TBorderStyle Style, int X = 100)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBorderStyle(Style);
    form->SetBounds(X, 100, 240, 180);
    form->HandleNeeded();
    return form;
}

TsSkinProvider* Skin(TForm* Form, TsSkinManager* Manager)
{
    auto* provider = New<TsSkinProvider>(Form);
    provider->FCommonData->SetSkinManager(Manager);
    provider->FCommonData->UpdateIndexes(true);
    return provider;
}

// A system menu with fixed answers.
class TStandInSysMenu : public TsCustomSysMenu {
public:
    using TsCustomSysMenu::TsCustomSysMenu;
    bool Max = true, Min = true;
    bool VisibleClose() override { return true; }
    bool VisibleMax() override { return Max; }
    bool VisibleMin() override { return Min; }
    bool EnabledMax() override { return true; }
    bool EnabledMin() override { return true; }
    bool EnabledRestore() override { return true; }
};

TEST(FormMetrics, TitleIconSizes)
{
    TControlsScene scene;
    auto form = MakeForm(bsSizeable);
    TOwned<TsSkinProvider> provider(Skin(form.get(), scene.manager.get()));
    TsTitleIcon* icon = TitleIconOf(provider.get());
    ASSERT_TRUE(icon);
    const int fitted = DefaultIconSize(provider->CaptionHeight(true) - scene.manager->CommonSkinData.BITopMargin);
    EXPECT_EQ(provider->TitleIconWidth(), fitted);
    EXPECT_EQ(provider->TitleIconHeight(), fitted);

    TOwned<TBitmap> glyph(MakeBitmap32(24, 18));
    icon->SetGlyph(glyph.get());
    EXPECT_EQ(provider->TitleIconWidth(), 24) << "the picture's size";
    EXPECT_EQ(provider->TitleIconHeight(), 18);
    icon->SetWidth(20);
    EXPECT_EQ(provider->TitleIconWidth(), 20) << "the size set";
    EXPECT_EQ(provider->TitleIconHeight(), 18);

    // Not shown: hidden icon, no application icon, a dialog frame.
    icon->SetVisible(false);
    EXPECT_EQ(provider->TitleIconWidth(), 0);
    icon->SetVisible(true);
    provider->FShowAppIcon = false;
    EXPECT_EQ(provider->TitleIconHeight(), 0);
    provider->FShowAppIcon = true;
    form->SetBorderStyle(bsDialog);
    EXPECT_EQ(provider->TitleIconWidth(), 0);
}

TEST(FormMetrics, CaptionButtonZoneAndMenuLine)
{
    TControlsScene scene;
    auto form = MakeForm(bsSizeable);
    TOwned<TsSkinProvider> provider(Skin(form.get(), scene.manager.get()));
    TsSkinData& info = scene.manager->CommonSkinData;
    info.BIRightMargin = 5;
    info.BISpacing = 3;
    const int border = scene.manager->GetMaskIndex(L"FORM", L"BORDERSMASK");
    ASSERT_GE(border, 0);
    const int image = scene.manager->ma[border].Width;
    // The test skin has no title glyphs: each button is 21 wide.
    const int b = 21;
    provider->ButtonClose.cpGlyphType = tgClose;
    provider->ButtonMax.cpGlyphType = tgMax;
    provider->ButtonMin.cpGlyphType = tgMin;
    provider->ButtonHelp.cpGlyphType = tgHelp;
    EXPECT_EQ(provider->TitleBarMaskWidth(border), 5 + image) << "no system menu: the margin only";
    EXPECT_EQ(provider->TitleBarMaskWidth(-1), 5);

    auto* menu = New<TStandInSysMenu>(nullptr);
    provider->SystemMenu = menu;
    const struct {
        bool Max, Min, Help, Big, SystemMenu;
        int Zone;
    } rows[] = {
        {true, true, false, false, true, 5 + 3 * b},
        {true, false, false, false, true, 5 + 2 * b},
        {false, false, true, false, true, 5 + 2 * b},
        {true, true, true, true, true, 5 + 4 * b + 3 * 3},
        {true, true, true, true, false, 5},
    };
    for (const auto& row : rows) {
        menu->Max = row.Max;
        menu->Min = row.Min;
        provider->BigButtons = row.Big;
        TBorderIcons icons;
        if (row.SystemMenu)
            icons.Include(biSystemMenu);
        if (row.Help)
            icons.Include(biHelp);
        form->SetBorderIcons(icons);
        EXPECT_EQ(provider->TitleBarMaskWidth(border), row.Zone + image)
            << row.Max << row.Min << row.Help << row.Big << row.SystemMenu;
    }

    // The menu line: one pixel less than the system's menu height.
    EXPECT_EQ(provider->MenuHeight(), 0);
    auto* mainMenu = New<TMainMenu>(form.get());
    auto* item = New<TMenuItem>(mainMenu);
    item->SetCaption(L"File");
    mainMenu->GetItems()->Add(item);
    form->SetMenu(mainMenu);
    EXPECT_EQ(provider->MenuHeight(), GetSystemMetrics(SM_CYMENU) - 1);
    form->SetBorderStyle(bsDialog);
    EXPECT_EQ(provider->MenuHeight(), 0) << "a dialog has no menu line";
    form->SetBorderStyle(bsSizeable);
    form->SetFormStyle(fsMDIChild);
    EXPECT_EQ(provider->MenuHeight(), 0) << "an MDI child's menu is the parent's";
    form->SetFormStyle(fsNormal);
    form->SetMenu(nullptr);
}

TEST(FormRegion, OnlyADockedFormGoesWithout)
{
    TControlsScene scene;
    TOwned<TForm> host(New<TForm>(nullptr));
    host->SetBounds(0, 0, 400, 400);
    host->Show();
    auto form = MakeForm(bsSizeable);
    TOwned<TsSkinProvider> provider(Skin(form.get(), scene.manager.get()));
    form->SetParent(host.get());
    form->Show();
    HWND wnd = form->GetHandle();
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    provider->ApplyFormRegion(false, true);
    ASSERT_NE(GetWindowRgn(wnd, region.Get()), ERROR) << "placed, not docked: the skin's corners";
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 5, 5));
    form->SetDragKind(dkDock);
    provider->ApplyFormRegion(false, true);
    EXPECT_EQ(GetWindowRgn(wnd, region.Get()), ERROR);
    form->SetParent(nullptr);
}

TEST(SkinProvider, PreparationFollowsTheActiveSkin)
{
    TControlsScene scene;
    ASSERT_EQ(DefaultManager, scene.manager.get());
    auto form = MakeForm(bsSizeable);
    form->SetColor(0x00102030);
    form->Show();
    HWND wnd = form->GetHandle();
    ASSERT_TRUE(GetWindowLongW(wnd, GWL_STYLE) & WS_SYSMENU);
    {
        TOwned<TsSkinProvider> provider(New<TsSkinProvider>(form.get()));
        EXPECT_FALSE(provider->FCommonData->Loading) << "prepared at construction";
        EXPECT_FALSE(GetWindowLongW(wnd, GWL_STYLE) & WS_SYSMENU) << "the system draws no caption buttons";
        EXPECT_EQ(form->GetColor(), scene.manager->GetGlobalColor());
        EXPECT_FALSE(provider->ClearButtons);

        // Frame skinning off: the system menu style comes back.
        provider->FDrawNonClientArea = false;
        provider->PrepareForm();
        EXPECT_TRUE(GetWindowLongW(wnd, GWL_STYLE) & WS_SYSMENU);
        provider->FDrawNonClientArea = true;
        provider->PrepareForm();
        EXPECT_FALSE(GetWindowLongW(wnd, GWL_STYLE) & WS_SYSMENU);

        // Without the global colour the form keeps its own.
        form->SetColor(0x00102030);
        provider->FUseGlobalColor = false;
        provider->PrepareForm();
        EXPECT_EQ(form->GetColor(), 0x00102030);

        // A run-time provider not yet initialised, and an inactive skin: nothing.
        provider->FUseGlobalColor = true;
        provider->RTInit = true;
        provider->PrepareForm();
        EXPECT_EQ(form->GetColor(), 0x00102030);
        provider->RTInit = false;
        scene.manager->SetActive(false);
        provider->PrepareForm();
        EXPECT_EQ(form->GetColor(), 0x00102030);
        scene.manager->SetActive(true);
    }
    // The provider gone, the form has its system menu (and buttons) again.
    EXPECT_TRUE(GetWindowLongW(wnd, GWL_STYLE) & WS_SYSMENU);

    // An MDI parent's provider becomes the MDI parent's once, at its first preparation.
    auto parent = MakeForm(bsSizeable, 300);
    parent->SetFormStyle(fsMDIForm);
    {
        TOwned<TsSkinProvider> provider(New<TsSkinProvider>(parent.get()));
        EXPECT_EQ(MDISkinProvider, provider.get());
    }
    EXPECT_EQ(MDISkinProvider, nullptr);
}

// Counts when its destructor runs.
class TDestroyProbe : public TObject {
public:
    explicit TDestroyProbe(int& Count) : count_(Count) {}
    ~TDestroyProbe() override { ++count_; }

private:
    int& count_;
};

class TPaintCountForm : public TForm {
public:
    using TForm::TForm;
    int NcPaints = 0;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_NCPAINT)
            ++NcPaints;
        TForm::WndProc(Message);
    }
};

TEST(SkinProvider, WhatAProviderLeavesWhenItGoes)
{
    TControlsScene scene;
    TOwned<TPaintCountForm> parent(New<TPaintCountForm>(nullptr));
    parent->SetBounds(100, 100, 300, 240);
    parent->SetFormStyle(fsMDIForm);
    parent->HandleNeeded();
    auto* parentProvider = Skin(parent.get(), scene.manager.get());
    parentProvider->HookMDI(true);
    ASSERT_EQ(MDISkinProvider, parentProvider);

    // A closing MDI child with a menu: the parent's menu line is counted
    // again and its frame repainted.
    auto child = MakeForm(bsSizeable, 400);
    child->SetFormStyle(fsMDIChild);
    auto* childMenu = New<TMainMenu>(child.get());
    child->SetMenu(childMenu);
    auto* childProvider = Skin(child.get(), scene.manager.get());
    ActiveChildProvider = childProvider;
    auto other = MakeForm(bsSizeable, 500);
    auto third = MakeForm(bsSizeable, 600);
    FormsCouples = {{child.get(), parent.get(), TPoint(1, 2)},
                    {other.get(), parent.get(), TPoint(3, 4)},
                    {child.get(), other.get(), TPoint(5, 6)},
                    {third.get(), child.get(), TPoint(7, 8)}};
    parentProvider->FLinesCount = 2;
    parentProvider->FCommonData->BGChanged = false;
    const int ncPaints = parent->NcPaints;
    childProvider->Free();
    EXPECT_EQ(parentProvider->FLinesCount, -1);
    EXPECT_TRUE(parentProvider->FCommonData->BGChanged);
    EXPECT_GT(parent->NcPaints, ncPaints);
    EXPECT_EQ(ActiveChildProvider, nullptr);
    ASSERT_EQ(FormsCouples.size(), 2u) << "the child's couples as slave go";
    for (const TacFormsCouple& couple : FormsCouples)
        EXPECT_NE(couple.Slave, child.get());
    EXPECT_EQ(MDISkinProvider, parentProvider);

    // Another form's provider leaves the active child alone.
    auto* otherProvider = Skin(other.get(), scene.manager.get());
    ActiveChildProvider = parentProvider;
    otherProvider->Free();
    EXPECT_EQ(ActiveChildProvider, parentProvider);
    EXPECT_EQ(FormsCouples.size(), 1u);

    // The MDI parent's provider gives up its MDI support and its place.
    int freed = 0;
    parentProvider->MDIForm = New<TDestroyProbe>(freed);
    parentProvider->Free();
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(MDISkinProvider, nullptr);
    EXPECT_EQ(ActiveChildProvider, nullptr);
    FormsCouples.clear();
}

} // namespace
