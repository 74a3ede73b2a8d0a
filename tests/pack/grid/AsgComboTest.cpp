// The combo box under the grid's combo editors: the button width's range,
// the label at each of its 13 places, the focus colour, the flat look while
// disabled, and the coloured button's pixels at rest, hot and down.
#include <gtest/gtest.h>
#include "EditorTestSupport.h"
#include "AsgCombo.h"
#include "PlatformProbe.h"

namespace {

using namespace AsgCombo;
using pack_test::Pump;
using pack_test::TSnapshot;

class AsgComboTest : public pack_test::FormTest {
protected:
    void SetUp() override
    {
        editor_test::WarmUpPlatformControls();
        FormTest::SetUp();
    }
    TAsgComboBox* NewCombo(int Left = 150, int Top = 100)
    {
        auto* combo = New<TAsgComboBox>(form);
        combo->SetParent(form);
        combo->SetBounds(Left, Top, 140, 24);
        combo->GetItems()->SetCommaText(L"one,two,three");
        return combo;
    }
};

TEST_F(AsgComboTest, ButtonWidthTakesOnly14To32)
{
    auto* combo = NewCombo();
    const int start = combo->GetButtonWidth();
    EXPECT_EQ(start, GetSystemMetrics(SM_CXVSCROLL) + 2);
    struct Case {
        int given, kept;
    };
    int expected = start;
    for (const Case& c : {Case{13, -1}, Case{14, 14}, Case{32, 32}, Case{33, -1}, Case{0, -1}, Case{20, 20}}) {
        combo->SetButtonWidth(c.given);
        if (c.kept >= 0)
            expected = c.kept;
        EXPECT_EQ(combo->GetButtonWidth(), expected) << c.given;
    }
}

TEST_F(AsgComboTest, LabelStandsAtEachOfItsThirteenPlaces)
{
    auto* combo = NewCombo();
    combo->SetLabelCaption(L"Name:");
    TLabel* label = combo->GetComboLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->GetParent(), form);
    EXPECT_EQ(label->GetFocusControl(), combo);
    EXPECT_EQ(combo->GetLabelCaption(), L"Name:");
    const int T = combo->GetTop(), L = combo->GetLeft(), H = combo->GetHeight(), W = combo->GetWidth();
    const int LH = label->GetHeight(), LW = label->GetWidth(), M = 4;
    ASSERT_GT(LW, 10);
    ASSERT_LT(LH, H) << "the table below takes the label lower than the combo";
    struct Case {
        TLabelPosition position;
        int top, left;
    };
    const Case cases[] = {
        {lpLeftTop, T, L - LW - M},
        {lpLeftCenter, T + (H - LH) / 2, L - LW - M},
        {lpLeftBottom, T + H - LH, L - LW - M},
        {lpTopLeft, T - LH - M, L},
        {lpBottomLeft, T + H + M, L},
        {lpLeftTopLeft, T, L - M},
        {lpLeftCenterLeft, T + (H - LH) / 2, L - M},
        {lpLeftBottomLeft, T + H - LH, L - M},
        {lpTopCenter, T - LH - M, L + (W - LW) / 2},
        {lpBottomCenter, T + H + M, L + (W - LW) / 2},
        {lpRightTop, T, L + W + M},
        {lpRightCenter, T + (H - LH) / 2, L + W + M},
        {lpRighBottom, T + H - LH, L + W + M},
    };
    for (const Case& c : cases) {
        combo->SetLabelPosition(c.position);
        EXPECT_EQ(label->GetTop(), c.top) << c.position;
        EXPECT_EQ(label->GetLeft(), c.left) << c.position;
        EXPECT_EQ(label->GetWidth(), LW);
        EXPECT_EQ(label->GetHeight(), LH);
    }
    // The label follows the combo when it moves, hides and is disabled.
    combo->SetLabelPosition(lpLeftTop);
    combo->SetLabelMargin(10);
    combo->SetBounds(200, 50, 140, 24);
    EXPECT_EQ(label->GetLeft(), 200 - LW - 10);
    EXPECT_EQ(label->GetTop(), 50);
    combo->SetVisible(false);
    EXPECT_FALSE(label->GetVisible());
    combo->SetVisible(true);
    ShowForm();
    combo->SetEnabled(false);
    EXPECT_FALSE(label->GetEnabled());
    combo->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(label->GetEnabled());
}

TEST_F(AsgComboTest, FocusColourComesAndGoesBack)
{
    auto* combo = NewCombo();
    auto* other = NewCombo(150, 200);
    combo->SetColor(clAqua);
    combo->Init();
    combo->SetFocusColor(clYellow);
    combo->SetFocusLabel(true);
    combo->SetLabelCaption(L"Name:");
    ShowForm();
    combo->SetFocus();
    Pump();
    EXPECT_EQ(combo->GetColor(), clYellow);
    EXPECT_TRUE(combo->GetComboLabel()->GetFont()->GetStyle().Contains(fsBold));
    other->SetFocus();
    Pump();
    EXPECT_EQ(combo->GetColor(), clAqua);
    EXPECT_FALSE(combo->GetComboLabel()->GetFont()->GetStyle().Contains(fsBold));

    // Made at run time and never loaded: the colour it had comes back.
    other->SetFocusColor(clYellow);
    other->SetFocus();
    Pump();
    EXPECT_EQ(other->GetColor(), clYellow);
    combo->SetFocus();
    Pump();
    EXPECT_EQ(other->GetColor(), clWindow);
}

TEST_F(AsgComboTest, FlatComboTakesItsParentsColourWhileDisabled)
{
    form->SetColor(clMoneyGreen);
    auto* combo = NewCombo();
    combo->SetFlatParentColor(false);
    combo->SetFlat(true);
    combo->SetColor(clAqua);
    ShowForm();
    EXPECT_EQ(combo->GetColor(), clAqua);
    combo->SetEnabled(false);
    EXPECT_TRUE(combo->GetParentColor());
    EXPECT_EQ(combo->GetColor(), clMoneyGreen);
    combo->SetEnabled(true);
    EXPECT_FALSE(combo->GetParentColor());
    EXPECT_EQ(combo->GetColor(), clAqua);
    // With the parent's colour on, the flat look starts in it.
    auto* second = NewCombo(150, 200);
    second->SetFlat(true);
    EXPECT_EQ(second->GetColor(), clMoneyGreen);
}

TEST_F(AsgComboTest, ColouredButtonAtRestHotAndDown)
{
    auto* combo = NewCombo();
    combo->SetButtonColor(clRed);
    combo->SetButtonColorHot(clLime);
    combo->SetButtonColorDown(clBlue);
    combo->SetButtonTextColor(clBlack);
    combo->SetButtonBorderColor(clFuchsia);
    ShowForm();
    const int cw = combo->GetClientWidth(), bw = combo->GetButtonWidth();
    RECT window{};
    GetWindowRect(combo->Handle(), &window);
    // The button rectangle as painted: the right part of the window at the origin.
    const int left = cw - bw + 2 + 1 - 1, top = 1 + 1, right = (window.right - window.left) - 1 - 1;
    const POINT fill{right - 2, top + 2};
    {
        TSnapshot rest(combo);
        EXPECT_EQ(rest.Pixel(fill.x, fill.y), ColorToRGB(clRed));
        EXPECT_EQ(rest.Pixel(left, top + 3), ColorToRGB(clFuchsia)) << "the button's border line";
        EXPECT_EQ(rest.Pixel(left + 7, top + 8), ColorToRGB(clBlack)) << "the arrow";
        EXPECT_EQ(rest.Pixel(left + 7, top + 5), ColorToRGB(clRed)) << "above the arrow";
    }
    combo->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(combo->GetWidth() - 5, 5));
    EXPECT_EQ(TSnapshot(combo).Pixel(fill.x, fill.y), ColorToRGB(clLime));
    // The left button held, as the thread's key state tells it.
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_LBUTTON] |= 0x80;
    SetKeyboardState(keys);
    EXPECT_EQ(TSnapshot(combo).Pixel(fill.x, fill.y), ColorToRGB(clBlue));
    keys[VK_LBUTTON] &= ~0x80;
    SetKeyboardState(keys);
    combo->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(TSnapshot(combo).Pixel(fill.x, fill.y), ColorToRGB(clRed));
}

TEST_F(AsgComboTest, BorderColourFramesTheWindowWithoutTheFlatLook)
{
    auto* combo = NewCombo();
    auto* other = NewCombo(150, 200);
    combo->SetBorderColor(clRed);
    ShowForm();
    {
        TSnapshot shot(combo->Handle());
        EXPECT_EQ(shot.Pixel(0, 0), ColorToRGB(clRed));
        EXPECT_EQ(shot.Pixel(shot.Width() / 2, shot.Height() - 1), ColorToRGB(clRed));
    }
    other->SetFocusBorderColor(clBlue);
    EXPECT_NE(TSnapshot(other->Handle()).Pixel(0, 0), ColorToRGB(clBlue)) << "no frame without the focus";
    other->SetFocus();
    Pump();
    EXPECT_EQ(TSnapshot(other->Handle()).Pixel(0, 0), ColorToRGB(clBlue));
}

TEST_F(AsgComboTest, SelectItemChoosesByTextOnly)
{
    auto* combo = NewCombo();
    ShowForm();
    combo->SelectItem(L"two");
    EXPECT_EQ(combo->GetItemIndex(), 1);
    combo->SelectItem(L"four");
    EXPECT_EQ(combo->GetItemIndex(), 1);
}

} // namespace
