// The panel settings bundle, how it is applied to panels, and the styler's
// presets, update batching and the style interfaces; with the panel model's
// own edge cases.
#include "AdvPanel.h"
#include "PackControlsTestSupport.h"
#include "SysUtils.h"

using namespace pack_test;

namespace {

TEST(PanelModel, EdgeCases)
{
    TOwned<TAdvPanel> panel(New<TAdvPanel>(nullptr));
    panel->SetVersion(L"9.9");
    EXPECT_EQ(panel->GetVersion(), L"2.4.1.0");
    TOwned<TPanel> other(New<TPanel>(nullptr));
    EXPECT_THROW(panel->Assign(other.get()), EInvalidCast);

    TOwned<TAdvPanel> source(New<TAdvPanel>(nullptr));
    source->SetText(L"<B>copied</B>");
    source->SetURLColor(clRed);
    source->GetCaption()->SetText(L"not copied");
    source->GetCaption()->SetShadeType(stVBump);
    panel->Assign(source.get());
    EXPECT_EQ(panel->GetText(), L"<B>copied</B>");
    EXPECT_EQ(panel->GetURLColor(), clRed);
    EXPECT_EQ(panel->GetCaption()->GetShadeType(), stVBump);
    EXPECT_EQ(panel->GetCaption()->GetText(), L"");

    TImageList* images = NewImageList(nullptr, 16, 16, {clRed});
    panel->SetImages(images);
    images->Free();
    EXPECT_EQ(panel->GetImages(), nullptr) << "the list's removal clears Images";

    IPackOfficeHint* hints = nullptr;
    ASSERT_EQ(panel->QueryInterface(__uuidof(IPackOfficeHint), reinterpret_cast<void**>(&hints)), S_OK);
    panel->GetCaption()->GetOfficeHint()->SetTitle(L"caption hint");
    EXPECT_EQ(hints->GetOfficeHint(TPoint(5, 5)), panel->GetOfficeHintInfo()) << "caption hidden";
    panel->GetCaption()->SetVisible(true);
    EXPECT_EQ(hints->GetOfficeHint(TPoint(5, 5)), panel->GetCaption()->GetOfficeHint());
    EXPECT_EQ(hints->GetOfficeHint(TPoint(5, 25)), panel->GetOfficeHintInfo());
}

TEST(PanelSettings, ChangesAreBatched)
{
    TOwned<TAdvPanelSettings> settings(New<TAdvPanelSettings>());
    EXPECT_EQ(settings->GetHeight(), 120);
    EXPECT_EQ(settings->GetBorderStyle(), bsSingle);
    EXPECT_TRUE(settings->GetAutoHideChildren());
    int changes = 0;
    settings->OnChange = [&](TObject*) { ++changes; };
    settings->SetColor(clRed);
    settings->SetColor(clRed);
    EXPECT_EQ(changes, 1) << "the same colour twice";
    settings->SetHeight(50);
    EXPECT_EQ(changes, 1) << "stored silently";
    settings->BeginUpdate();
    settings->BeginUpdate();
    settings->SetIndent(4);
    settings->GetCaption()->SetHeight(30);
    settings->EndUpdate();
    EXPECT_EQ(changes, 1);
    settings->EndUpdate();
    EXPECT_EQ(changes, 2);
    settings->EndUpdate();
    EXPECT_EQ(changes, 2) << "an extra EndUpdate";
}

TEST(PanelSettings, ApplySettingsLeavesTextSizeAndButtons)
{
    TOwned<TAdvPanelSettings> settings(New<TAdvPanelSettings>());
    settings->SetText(L"template text");
    settings->SetHint(L"template hint");
    settings->SetWidth(77);
    settings->SetCollaps(true);
    settings->SetColor(clYellow);
    settings->SetIndent(6);
    settings->GetCaption()->SetColor(clNavy);
    settings->GetCaption()->SetCloseButton(true);
    settings->GetStatusBar()->SetColor(clLime);
    TOwned<TAdvPanel> panel(New<TAdvPanel>(nullptr));
    panel->SetText(L"own");
    panel->GetCaption()->SetMinMaxButton(true);
    panel->ApplySettings(settings.get());
    EXPECT_EQ(panel->GetColor(), clYellow);
    EXPECT_EQ(panel->GetIndent(), 6);
    EXPECT_EQ(panel->GetBorderStyle(), bsSingle);
    EXPECT_EQ(panel->GetCaption()->GetColor(), clNavy);
    EXPECT_FALSE(panel->GetCaption()->GetCloseButton()) << "the panel's own buttons stay";
    EXPECT_TRUE(panel->GetCaption()->GetMinMaxButton());
    EXPECT_EQ(panel->GetStatusBar()->GetColor(), clLime);
    EXPECT_EQ(panel->GetText(), L"own");
    EXPECT_EQ(panel->GetWidth(), 300);
    EXPECT_EQ(panel->GetHint(), L"");
    EXPECT_FALSE(panel->GetCollaps());
    panel->AssignSettings(settings.get());
    EXPECT_EQ(panel->GetWidth(), 77);
    EXPECT_EQ(panel->GetHeight(), 120);
    EXPECT_EQ(panel->GetHint(), L"template hint");
}

TEST(PanelStyler, PresetsReachItsPanelsOnce)
{
    TOwned<TComponent> owner(New<TComponent>(nullptr));
    auto* styler = New<TAdvPanelStyler>(owner.get());
    EXPECT_EQ(styler->GetStyle(), TAdvPanelStyle::psXP);
    EXPECT_EQ(styler->NotifierWindow()->GetParent(), nullptr) << "no windowed owner";
    auto* styled = New<TAdvPanel>(owner.get());
    auto* unstyled = New<TAdvPanel>(owner.get());
    styled->SetStyler(styler);
    EXPECT_EQ(styled->GetColor(), 0xFFFFFF);
    EXPECT_EQ(styled->GetColorTo(), 0xE3F0F2);
    int pushes = 0;
    styled->OnResize = nullptr;
    styler->GetSettings()->OnChange = [&, previous = styler->GetSettings()->OnChange](TObject* s) {
        ++pushes;
        previous(s);
    };

    struct Row {
        TAdvPanelStyle style;
        TColor color, colorTo, captionColor, captionColorTo, statusColor, collapsColor;
        TShadeType shade;
        bool borderShadow;
    } rows[] = {
        {TAdvPanelStyle::psFlat, clBtnFace, clNone, clHighlight, clNone, clBtnFace, clBtnFace, stNormal, false},
        {TAdvPanelStyle::psPack, 0xFFFFFF, 0xE4E4E4, 0xFFFFFF, clNone, 0xDEDEDE, clBtnFace, stRMetal, true},
        {TAdvPanelStyle::psOffice2003Blue, 0xFDEADA, 0xE4AE88, 0xD68759, 0x933803, 0xE08F65, clNone, stNormal, false},
        {TAdvPanelStyle::psOffice2016White, 0xFFFFFF, clNone, 0xD4D4D4, clNone, 0xFFFFFF, clNone, stNormal, false},
    };
    for (const Row& r : rows) {
        pushes = 0;
        styler->SetStyle(r.style);
        EXPECT_EQ(pushes, 1) << "one push per preset";
        EXPECT_EQ(styled->GetColor(), r.color);
        EXPECT_EQ(styled->GetColorTo(), r.colorTo);
        EXPECT_EQ(styled->GetCaption()->GetColor(), r.captionColor);
        EXPECT_EQ(styled->GetCaption()->GetColorTo(), r.captionColorTo);
        EXPECT_EQ(styled->GetCaption()->GetShadeType(), r.shade);
        EXPECT_EQ(styled->GetStatusBar()->GetColor(), r.statusColor);
        EXPECT_EQ(styled->GetCollapsColor(), r.collapsColor);
        EXPECT_EQ(styled->GetBorderShadow(), r.borderShadow);
        EXPECT_EQ(unstyled->GetColor(), clBtnFace) << "only panels naming the styler";
    }
    styler->SetComponentStyleAndAppColor(tsOffice2016White, clTeal);
    EXPECT_EQ(styled->GetStatusBar()->GetColor(), clTeal) << "the application colour";
    styler->SetComponentStyle(tsCustom);
    EXPECT_EQ(styler->GetStyle(), TAdvPanelStyle::psOffice2003Blue);
    styler->SetComponentStyle(tsWindows10);
    EXPECT_EQ(styler->GetStyle(), TAdvPanelStyle::psWindows10);
    // Every row is data: each named style changes the settings.
    for (int s = 0; s <= static_cast<int>(TAdvPanelStyle::psOffice2016Black); ++s) {
        const auto style = static_cast<TAdvPanelStyle>(s);
        if (style == TAdvPanelStyle::psCustom)
            continue;
        pushes = 0;
        styler->SetStyle(style);
        EXPECT_EQ(pushes, 1) << s;
    }

    TColorTones tones;
    tones.Background = {0x101010, 0, 0x202020};
    tones.Selected = {0x303030, 0, 0x404040};
    tones.Foreground = {0x505050, 0, 0x606060};
    styler->SetColorTones(tones);
    EXPECT_EQ(styler->GetStyle(), TAdvPanelStyle::psCustom);
    EXPECT_EQ(styled->GetColor(), 0x101010);
    EXPECT_EQ(styled->GetCaption()->GetColor(), 0x303030);
    EXPECT_EQ(styled->GetStatusBar()->GetColor(), 0x505050);
    EXPECT_FALSE(styled->GetOptimizePaint()) << "only the panel's own SetColorTones optimises";
    styled->SetColorTones(tones);
    EXPECT_TRUE(styled->GetOptimizePaint());

    styler->Free();
    EXPECT_EQ(styled->GetStyler(), nullptr);
}

// The prefix has no Office and no XP colour scheme: the detected theme is
// Office 2003 classic, never "unknown", so the style follows it.
TEST(PanelStyler, AutoThemeAdaptFollowsTheDetectedTheme)
{
    ASSERT_EQ(GetInstalledOfficeVersion(), 0);
    ASSERT_EQ(DetectOfficeTheme(), ot2003Classic);
    TOwned<TAdvPanelStyler> styler(New<TAdvPanelStyler>(nullptr));
    styler->SetStyle(TAdvPanelStyle::psFlat);
    styler->SetAutoThemeAdapt(true);
    EXPECT_EQ(styler->GetStyle(), TAdvPanelStyle::psOffice2003Classic);
    EXPECT_EQ(styler->GetSettings()->GetColorTo(), 0xC9D1D5);
    // The hidden notifier window hears the desktop's theme change.
    styler->SetStyle(TAdvPanelStyle::psFlat);
    styler->NotifierWindow()->Perform(WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(styler->GetStyle(), TAdvPanelStyle::psOffice2003Classic);
}

} // namespace
