// A panel's caption where a visual style is active: the style's window
// caption and its close, minimize and restore buttons. The prefix draws
// classic; a process started while the theme manager says "ThemeActive" 1
// gets the platform's light style, so the check runs in a child process of
// this suite and the setting goes back to "0" afterwards.
#include "ThemeActiveScope.h"
#include "APXPVS.h"
#include "AdvPanel.h"
#include "PackControlsTestSupport.h"
#include <vssym32.h>

using namespace pack_test;

namespace {

const wchar_t* const ChildVariable = L"TAVELIN_THEMED_PANEL_CHILD";

// The panels' loader unit, bound as the program's start-up binds it.
class TPanelThemeUnit {
public:
    TPanelThemeUnit() { APXPVS_Initialize(); }
    ~TPanelThemeUnit() { APXPVS_Finalize(); }
    TPanelThemeUnit(const TPanelThemeUnit&) = delete;
    TPanelThemeUnit& operator=(const TPanelThemeUnit&) = delete;
};

} // namespace

TEST(PanelThemed, CaptionAndButtonsAreTheStylesWhereOneIsActive)
{
    if (IsChild(ChildVariable))
        GTEST_SKIP() << "the child runs only its own test";
    DWORD code = 0;
    {
        const TThemeActiveScope themed;
        code = RunChild(L"PanelThemedChild.*", ChildVariable);
    }
    EXPECT_EQ(code, 0u) << "the themed child process failed (its output is above)";
}

TEST(PanelThemed, ClassicPrefixDrawsThePlainCaption)
{
    if (IsChild(ChildVariable))
        GTEST_SKIP() << "the child runs only its own test";
    const TPanelThemeUnit unit;
    TOwned<TAdvPanel> panel(New<TAdvPanel>(nullptr));
    EXPECT_FALSE(panel->IsThemed());
}

class PanelThemedChild : public FormTest {
protected:
    void SetUp() override
    {
        if (!IsChild(ChildVariable))
            GTEST_SKIP() << "runs in the child process that the themed test starts";
        unit_.emplace();
        WarmUp();
        FormTest::SetUp();
    }
    void TearDown() override
    {
        if (!IsChild(ChildVariable))
            return;
        FormTest::TearDown();
        unit_.reset();
    }
    static TAdvPanel* NewPanel(TForm* Form)
    {
        auto* panel = New<TAdvPanel>(Form);
        panel->SetBounds(10, 10, 200, 80);
        panel->SetBevelOuter(bvNone);
        panel->SetColor(clWhite);
        panel->GetCaption()->SetVisible(true);
        panel->GetCaption()->SetShadeType(stXPCaption);
        panel->GetCaption()->SetCloseButton(true);
        panel->GetCaption()->SetMinMaxButton(true);
        panel->SetParent(Form);
        return panel;
    }

private:
    // The style keeps what it loads for a class for good once it has drawn
    // it; the same panel shown once here keeps that out of the leak check.
    static void WarmUp()
    {
        auto* form = New<TForm>(nullptr);
        form->SetBounds(40, 40, 300, 200);
        TAdvPanel* panel = NewPanel(form);
        form->Show();
        Pump();
        {
            TSnapshot first(panel);
            panel->SetCollaps(true);
            TSnapshot collapsed(panel);
        }
        form->Free();
        Pump();
    }
    std::optional<TPanelThemeUnit> unit_;
};

TEST_F(PanelThemedChild, CaptionCloseAndCollapseButtonsAsTheStyleDrawsThem)
{
    auto* panel = NewPanel(form);
    ShowForm();
    ASSERT_TRUE(panel->IsThemed()) << "no visual style in a process started with ThemeActive 1";

    const int W = panel->GetWidth();
    // What the style draws: the caption over the strip grown by one, the
    // close button 2 in from the right, the collapse button 14 further in.
    auto expected = [&](int CollapsePart) {
        auto picture = std::make_unique<TSnapshot>(W, 20);
        // Over the panel's colour, which the background step paints first.
        PatBlt(picture->DC(), 0, 0, W, 20, WHITENESS);
        HTHEME theme = APXPVS::OpenThemeData(panel->Handle(), L"window");
        EXPECT_NE(theme, nullptr) << "the style opens no window data";
        if (!theme)
            return picture;
        const RECT caption{-1, -1, W + 1, 21};
        const RECT close{W - 16, 4, W - 2, 18};
        const RECT collapse{W - 30, 4, W - 16, 18};
        APXPVS::DrawThemeBackground(theme, picture->DC(), WP_CAPTION, 1, &caption, nullptr);
        APXPVS::DrawThemeBackground(theme, picture->DC(), WP_CLOSEBUTTON, 1, &close, nullptr);
        APXPVS::DrawThemeBackground(theme, picture->DC(), CollapsePart, 1, &collapse, nullptr);
        APXPVS::CloseThemeData(theme);
        GdiFlush();
        return picture;
    };
    auto differing = [&](const TSnapshot& Want, const TSnapshot& Got) {
        int n = 0;
        for (int y = 0; y < 18; ++y)
            for (int x = 0; x < W; ++x)
                n += Want.Pixel(x, y) != Got.Pixel(x, y);
        return n;
    };

    {
        TSnapshot expanded(panel);
        const auto want = expected(WP_MINBUTTON);
        EXPECT_EQ(differing(*want, expanded), 0) << "caption, close and minimize buttons";
        EXPECT_GT(differing(*expected(WP_RESTOREBUTTON), expanded), 10) << "the parts differ";
    }
    panel->SetCollaps(true);
    {
        TSnapshot collapsed(panel);
        EXPECT_EQ(differing(*expected(WP_RESTOREBUTTON), collapsed), 0) << "collapsed: the restore button";
    }

    // The themed buttons are 16 wide for the mouse: the collapse button is
    // hit 16 + 2 in from the close button's room.
    panel->SetCollaps(false);
    ClickWithMouse(panel, {W - 16 - 8, 10}, {W - 16 - 8, 10});
    EXPECT_TRUE(panel->GetCollaps());
}
