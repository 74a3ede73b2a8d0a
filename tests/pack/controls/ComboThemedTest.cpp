// The drop button of a flat combo box where a visual style is active. The
// prefix draws classic; a process started while the theme manager says
// "ThemeActive" 1 gets the platform's light style, so the check runs in a
// child process of this suite and the setting goes back to "0" afterwards.
#include "ThemeActiveScope.h"
#include "ACXPVS.h"
#include "AdvCombo.h"
#include "PackControlsTestSupport.h"
#include "PlatformProbe.h"
#include <vssym32.h>

using namespace pack_test;

namespace {

const wchar_t* const ChildVariable = L"TAVELIN_THEMED_COMBO_CHILD";

// The loader unit the combo box draws its themed button through, bound for
// the child's test as the program's start-up binds it.
class TComboThemeUnit {
public:
    TComboThemeUnit() { ACXPVS_Initialize(); }
    ~TComboThemeUnit() { ACXPVS_Finalize(); }
    TComboThemeUnit(const TComboThemeUnit&) = delete;
    TComboThemeUnit& operator=(const TComboThemeUnit&) = delete;
};

} // namespace

TEST(ComboThemed, FlatComboDrawsTheStylesDropButtonWhereOneIsActive)
{
    if (IsChild(ChildVariable))
        GTEST_SKIP() << "the child runs only its own test";
    DWORD code = 0;
    {
        const TThemeActiveScope themed;
        code = RunChild(L"ComboThemedChild.*", ChildVariable);
    }
    EXPECT_EQ(code, 0u) << "the themed child process failed (its output is above)";
}

class ComboThemedChild : public FormTest {
protected:
    void SetUp() override
    {
        if (!IsChild(ChildVariable))
            GTEST_SKIP() << "runs in the child process that the themed test starts";
        unit_.emplace();
        ResetPlatformProbe();
        PlatformProbe().ComCtlMajor = 6;
        WarmUp();
        FormTest::SetUp();
    }
    void TearDown() override
    {
        if (!IsChild(ChildVariable))
            return;
        ResetPlatformProbe();
        FormTest::TearDown();
        unit_.reset();
    }

private:
    // The style keeps what it loads for a kind of control for good once
    // it has drawn one; the same controls shown once here keep that out of
    // the test's leak check.
    static void WarmUp()
    {
        auto* form = New<TForm>(nullptr);
        form->SetBounds(40, 40, 300, 100);
        auto* edit = New<TEdit>(form);
        edit->SetParent(form);
        auto* combo = New<TAdvCustomCombo>(form);
        combo->SetStyle(csDropDownList);
        combo->SetBounds(10, 40, 140, 24);
        combo->SetParent(form);
        combo->SetFlat(true);
        combo->GetItems()->Add(L"English");
        form->Show();
        SetForegroundWindow(form->Handle());
        edit->SetFocus();
        Pump();
        {
            TSnapshot themed(combo->Handle());
            PlatformProbe().ThemeActive = false;
            TSnapshot classic(combo->Handle());
            PlatformProbe().ThemeActive = true;
            combo->SetButtonColor(clYellow);
            Pump();
            TSnapshot coloured(combo->Handle());
        }
        form->Free();
        Pump();
    }
    std::optional<TComboThemeUnit> unit_;
};

TEST_F(ComboThemedChild, ThemedDropButtonDiffersFromClassicAndColouredOnes)
{
    ResetPlatformProbe();
    ASSERT_TRUE(PlatformProbe().ThemeActive) << "no visual style in a process started with ThemeActive 1";
    // The version branch is set as the other look tests set it; the style
    // itself is this process's own.
    PlatformProbe().ComCtlMajor = 6;

    auto* other = New<TEdit>(form);
    other->SetBounds(300, 10, 80, 21);
    other->SetParent(form);
    auto* combo = New<TAdvCustomCombo>(form);
    combo->SetStyle(csDropDownList);
    combo->SetBounds(10, 10, 140, 24);
    combo->SetParent(form);
    combo->GetItems()->Add(L"English");
    combo->SetFlat(true);
    ShowForm();
    other->SetFocus();
    Pump();

    // The button's rectangle on the window, as the control places it.
    const int w = combo->GetWidth(), h = combo->GetHeight();
    const TRect b(combo->GetClientWidth() - combo->GetButtonWidth() + 3, 1, w - 1, h - 1);
    const TRect inside(b.left + 1, b.top + 1, b.right - 1, b.bottom - 1);

    // The style's own drop button at rest, drawn over the field's colour.
    TSnapshot expected(w, h);
    {
        TBrushHandle field(CreateSolidBrush(ColorToRGB(combo->GetColor())));
        RECT all{0, 0, w, h};
        FillRect(expected.DC(), &all, field.Get());
        HTHEME theme = ACXPVS::OpenThemeData(combo->Handle(), L"combobox");
        ASSERT_NE(theme, nullptr) << "the style opens no combobox data";
        RECT r = b;
        ACXPVS::DrawThemeBackground(theme, expected.DC(), CP_DROPDOWNBUTTON, CBXS_NORMAL, &r, nullptr);
        ACXPVS::CloseThemeData(theme);
    }

    TSnapshot themed(combo->Handle());
    int matching = 0, total = 0;
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x) {
            ++total;
            matching += themed.Pixel(x, y) == expected.Pixel(x, y);
        }
    EXPECT_EQ(matching, total) << "the button as the style draws it";

    // The same control without the style: the classic button.
    PlatformProbe().ThemeActive = false;
    TSnapshot classic(combo->Handle());
    // And with a button colour: the coloured one, whatever the style.
    PlatformProbe().ThemeActive = true;
    combo->SetButtonColor(clYellow);
    Pump();
    TSnapshot coloured(combo->Handle());

    int fromClassic = 0, fromColoured = 0;
    for (int y = inside.top; y < inside.bottom; ++y)
        for (int x = inside.left; x < inside.right; ++x) {
            fromClassic += themed.Pixel(x, y) != classic.Pixel(x, y);
            fromColoured += themed.Pixel(x, y) != coloured.Pixel(x, y);
        }
    EXPECT_GT(fromClassic, 20) << "the style's look, not the classic button";
    EXPECT_GT(fromColoured, 20) << "the style's look, not the coloured button";
    EXPECT_EQ(coloured.Pixel(b.right - 2, b.top + 2), clYellow);
}
