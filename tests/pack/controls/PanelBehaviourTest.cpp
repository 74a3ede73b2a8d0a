// What a panel does at run time, through real messages and mouse input:
// collapsing and expanding, the caption buttons and the hit tests of moving
// and sizing.
#include "AdvPanel.h"
#include "PackControlsTestSupport.h"

using namespace pack_test;

namespace {

class PanelBehaviour : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        panel = New<TAdvPanel>(form);
        panel->SetName(L"Panel1");
        panel->SetBounds(100, 20, 200, 150);
        panel->SetParent(form);
        panel->GetCaption()->SetVisible(true);
        ShowForm();
    }
    TAdvPanel* panel = nullptr;
};

TEST_F(PanelBehaviour, CollapsesAtOnceOrInSteps)
{
    auto* child = New<TPanel>(form);
    child->SetBounds(10, 40, 50, 50);
    child->SetParent(panel);
    auto* hidden = New<TPanel>(form);
    hidden->SetBounds(70, 40, 50, 50);
    hidden->SetVisible(false);
    hidden->SetParent(panel);
    int minimized = 0, maximized = 0, ended = 0;
    panel->OnMinimize = [&](TObject*) { ++minimized; };
    panel->OnMaximize = [&](TObject*) { ++maximized; };
    panel->OnEndCollapsExpand = [&](TObject*) { ++ended; };
    panel->SetColor(clWhite);

    panel->SetCollaps(true);
    EXPECT_EQ(panel->GetHeight(), 20 - 2);
    EXPECT_EQ(panel->GetFullHeight(), 150);
    EXPECT_EQ(panel->GetColor(), clWhite) << "no steps, no recolouring";
    EXPECT_FALSE(child->GetVisible());
    panel->SetCollaps(true);
    EXPECT_EQ(minimized, 1);
    EXPECT_EQ(ended, 2) << "also when the state stays";

    panel->SetCollaps(false);
    EXPECT_EQ(panel->GetHeight(), 150);
    EXPECT_TRUE(child->GetVisible());
    EXPECT_FALSE(hidden->GetVisible()) << "hidden before, hidden after";
    EXPECT_EQ(maximized, 1);

    // The example size: 20 + 2 * (2 + 2) - 2.
    panel->SetBorderWidth(2);
    panel->SetBorderShadow(true);
    panel->SetCollapsSteps(3);
    panel->SetCollapsDelay(0);
    panel->SetCollapsColor(clRed);
    std::vector<int> heights;
    panel->OnResize = [&](TObject*) { heights.push_back(panel->GetHeight()); };
    panel->SetCollaps(true);
    EXPECT_EQ(panel->GetHeight(), 26);
    EXPECT_EQ(panel->GetColor(), clRed);
    // (150 - 20 - 2 * 2) div 3 = 42 per step, then the final size.
    EXPECT_EQ(heights, (std::vector<int>{108, 66, 24, 26}));
    heights.clear();
    panel->SetCollaps(false);
    EXPECT_EQ(panel->GetColor(), clWhite);
    EXPECT_EQ(heights, (std::vector<int>{69, 112, 155, 150}));
}

TEST_F(PanelBehaviour, RightCaptionKeepsItsRightEdge)
{
    panel->GetCaption()->SetPosition(cpRight);
    panel->SetWidth(200);
    for (int steps : {0, 3}) {
        panel->SetCollapsSteps(steps);
        panel->SetCollapsDelay(0);
        panel->SetCollaps(true);
        EXPECT_EQ(panel->GetWidth(), 20) << steps;
        EXPECT_EQ(panel->GetLeft() + panel->GetWidth(), 300) << steps;
        panel->SetCollaps(false);
        EXPECT_EQ(panel->GetWidth(), 200) << steps;
        EXPECT_EQ(panel->GetLeft(), 100) << steps;
    }
}

TEST_F(PanelBehaviour, CloseButtonWithFreeOnCloseFreesAfterTheClick)
{
    auto* group = New<TAdvPanelGroup>(form);
    group->SetBounds(0, 0, 90, 300);
    group->SetParent(form);
    TCustomAdvPanel* closing = group->AddPanel();
    closing->GetCaption()->SetVisible(true);
    closing->GetCaption()->SetCloseButton(true);
    closing->SetFreeOnClose(true);
    int closed = 0, captionClicks = 0;
    closing->OnClose = [&](TObject*) { ++closed; };
    closing->OnCaptionClick = [&](TObject*) { ++captionClicks; };
    Pump();
    ASSERT_EQ(group->PanelCount(), 1);
    const int w = closing->GetWidth();
    ClickWithMouse(closing, {w - 8, 8}, {w - 8, 8});
    Pump();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(captionClicks, 0);
    EXPECT_EQ(group->PanelCount(), 0) << "freed, and the group forgot it";
    EXPECT_EQ(group->ControlCount(), 1) << "only the scroll bar is left";
}

TEST_F(PanelBehaviour, CaptionClicksToggleAndButtonsCollapse)
{
    panel->GetCaption()->SetMinMaxButton(true);
    int clicks = 0;
    panel->OnCaptionClick = [&](TObject*) { ++clicks; };
    ClickWithMouse(panel, {200 - 8, 8}, {200 - 8, 8});
    EXPECT_TRUE(panel->GetCollaps());
    EXPECT_EQ(clicks, 1) << "a button inside the band also reports the caption click";
    ClickWithMouse(panel, {60, 8}, {60, 8});
    EXPECT_TRUE(panel->GetCollaps()) << "MinMaxCaption off";
    panel->GetCaption()->SetMinMaxCaption(true);
    ClickWithMouse(panel, {60, 8}, {60, 8});
    EXPECT_FALSE(panel->GetCollaps());
    EXPECT_EQ(clicks, 3);
}

TEST_F(PanelBehaviour, HitTestsForMovingAndSizing)
{
    auto hit = [&](POINT p) {
        const POINT s = panel->ClientToScreen(p);
        return SendMessageW(panel->Handle(), WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y));
    };
    EXPECT_EQ(hit({60, 8}), HTCLIENT) << "CanMove off";
    panel->SetCanMove(true);
    EXPECT_EQ(hit({60, 8}), HTCAPTION);
    EXPECT_EQ(hit({60, 60}), HTCLIENT);
    panel->SetCanSize(true);
    const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
    EXPECT_EQ(hit({199, 149}), HTBOTTOMRIGHT);
    EXPECT_EQ(hit({60, 150 - fy + 1}), HTBOTTOM);
    EXPECT_EQ(hit({200 - fx + 1, 60}), HTRIGHT);
    panel->SetFixedHeight(true);
    EXPECT_EQ(hit({199, 149}), HTRIGHT) << "a fixed height leaves the right edge";
    panel->SetFixedWidth(true);
    EXPECT_EQ(hit({199, 149}), HTCLIENT);
    panel->GetCaption()->SetPosition(cpRight);
    panel->SetFixedHeight(false);
    panel->SetFixedWidth(false);
    EXPECT_EQ(hit({0, 149}), HTBOTTOMLEFT);
    EXPECT_EQ(hit({1, 60}), HTLEFT);
    panel->SetCollaps(true);
    EXPECT_NE(hit({1, 10}), HTLEFT) << "a collapsed panel does not size";
}

} // namespace
