// The editor controls where a visual style is active: the spin arrows, the
// edit button and the combo's drop button draw the style's parts, and an own
// button colour still wins over them. The prefix draws classic; a process
// started while "ThemeActive" is 1 gets the platform's light style, so the
// checks run in a child process and the setting goes back afterwards.
#include "ThemeActiveScope.h"
#include <gtest/gtest.h>
#include "ASGEdit.h"
#include "AdvXPVS.h"
#include "AsgCombo.h"
#include "AsgDateTimePicker.h"
#include "EditorTestSupport.h"
#include "PlatformProbe.h"
#include "asgspin.h"

using namespace pack_test;

namespace {

const wchar_t* const ChildVariable = L"TAVELIN_THEMED_EDITORS_CHILD";

// Pixels that differ between two pictures of one size inside Area.
int Differing(const TSnapshot& A, const TSnapshot& B, const TRect& Area)
{
    int n = 0;
    for (int y = Area.top; y < Area.bottom; ++y)
        for (int x = Area.left; x < Area.right; ++x)
            n += A.Pixel(x, y) != B.Pixel(x, y);
    return n;
}

} // namespace

TEST(EditorsThemed, EditorsDrawTheStylesPartsWhereOneIsActive)
{
    if (IsChild(ChildVariable))
        GTEST_SKIP() << "the child runs only its own test";
    DWORD code = 0;
    {
        const TThemeActiveScope themed;
        code = RunChild(L"EditorsThemedChild.*", ChildVariable);
    }
    EXPECT_EQ(code, 0u) << "the themed child process failed (its output is above)";
}

class EditorsThemedChild : public testing::Test {
protected:
    void SetUp() override
    {
        if (!IsChild(ChildVariable))
            GTEST_SKIP() << "runs in the child process that the themed test starts";
        AdvXPVS_Initialize();
        ResetPlatformProbe();
        form = New<TForm>(nullptr);
        form->SetBounds(40, 40, 500, 300);
        form->SetColor(clBtnFace);
    }
    void TearDown() override
    {
        if (!IsChild(ChildVariable))
            return;
        form->Free();
        Pump();
        ResetPlatformProbe();
        AdvXPVS_Finalize();
    }
    void Show()
    {
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
    }
    TForm* form = nullptr;
};

TEST_F(EditorsThemedChild, ThemedPartsDifferFromClassicAndAColourWins)
{
    ASSERT_TRUE(PlatformProbe().ThemeActive) << "no visual style in a process started with ThemeActive 1";
    PlatformProbe().ComCtlMajor = 6;

    auto* spin = New<TAsgSpinEdit>(form);
    spin->SetParent(form);
    spin->SetBounds(20, 20, 120, 24);
    auto* edit = New<TAsgEditBtn>(form);
    edit->SetParent(form);
    edit->SetBounds(20, 70, 120, 24);
    edit->SetButtonWidth(20);
    auto* combo = New<TAsgComboBox>(form);
    combo->SetParent(form);
    combo->SetBounds(20, 120, 140, 24);
    combo->SetFlat(true);
    auto* picker = New<TAsgDateTimePicker>(form);
    picker->SetParent(form);
    picker->SetBounds(20, 170, 200, 24);
    picker->SetMetroStyle(true);
    Show();

    auto pictures = [&](auto Switch, TWinControl* Control) {
        Switch(true);
        auto themed = std::make_unique<TSnapshot>(Control);
        Switch(false);
        auto classic = std::make_unique<TSnapshot>(Control);
        return std::make_pair(std::move(themed), std::move(classic));
    };
    {
        TAsgSpinButton* pair = spin->GetButton();
        auto [themed, classic] = pictures([&](bool on) { spin->SetIsWinXP(on); }, pair);
        EXPECT_GT(Differing(*themed, *classic, TRect(0, 0, pair->GetWidth(), pair->GetHeight())), 10) << "spin";
    }
    {
        TAsgEditButton* button = edit->GetButton();
        auto [themed, classic] = pictures([&](bool on) { edit->SetIsWinXP(on); }, button);
        EXPECT_GT(Differing(*themed, *classic, TRect(0, 0, button->GetWidth(), button->GetHeight())), 10) << "edit";
    }
    {
        auto [themed, classic] = pictures([&](bool on) { PlatformProbe().ThemeActive = on; }, combo);
        PlatformProbe().ThemeActive = true;
        const int cw = combo->GetClientWidth(), bw = combo->GetButtonWidth();
        EXPECT_GT(Differing(*themed, *classic, TRect(cw - bw + 3, 2, cw - 2, combo->GetClientHeight() - 2)), 10)
            << "combo";
    }
    {
        auto shot = [&](bool on) {
            PlatformProbe().ThemeActive = on;
            return std::make_unique<TSnapshot>(picker->Handle());
        };
        auto themed = shot(true);
        auto classic = shot(false);
        PlatformProbe().ThemeActive = true;
        const int cw = picker->GetClientWidth(), bw = picker->GetButtonWidth();
        EXPECT_GT(Differing(*themed, *classic, TRect(cw - bw + 3, 2, cw - 2, picker->GetHeight() - 3)), 10)
            << "metro date button";
    }
    // An own colour wins over the style.
    spin->SetIsWinXP(true);
    spin->GetButton()->SetButtonColor(clRed);
    EXPECT_EQ(TSnapshot(spin->GetButton()).Pixel(1, 1), ColorToRGB(clRed));
    edit->SetIsWinXP(true);
    edit->GetButton()->SetButtonColor(clRed);
    EXPECT_EQ(TSnapshot(edit->GetButton()).Pixel(1, 1), ColorToRGB(clRed));
}
