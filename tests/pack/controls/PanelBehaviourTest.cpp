// What a panel does at run time, through real messages and mouse input:
// collapsing and expanding, the caption buttons and the hit tests of moving
// and sizing.
#include "AdvPanel.h"
#include "PackControlsTestSupport.h"
#include <thread>
#include <utility>

using namespace pack_test;

namespace {

// A drag with the left button from From to To (client points of Control).
// The press starts the system's move or size loop, which runs inside this
// thread's message handling until the release; the rest of the drag comes
// from another thread once that loop has begun.
void DragWithMouse(TControl* Control, POINT From, POINT To)
{
    const POINT from = Control->ClientToScreen(From);
    const POINT to = Control->ClientToScreen(To);
    SetCursorPos(from.x, from.y);
    Pump();
    const DWORD loopThread = GetCurrentThreadId();
    std::thread drag([=] {
        auto input = [](DWORD Flags) {
            INPUT in{};
            in.type = INPUT_MOUSE;
            in.mi.dwFlags = Flags;
            SendInput(1, &in, sizeof(in));
        };
        GUITHREADINFO info{sizeof(info)};
        for (int i = 0; i < 1000; ++i) {
            if (GetGUIThreadInfo(loopThread, &info) && (info.flags & GUI_INMOVESIZE))
                break;
            Sleep(10);
        }
        const int steps = 4;
        for (int step = 1; step <= steps; ++step) {
            SetCursorPos(from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps);
            input(MOUSEEVENTF_MOVE);
            Sleep(30);
        }
        input(MOUSEEVENTF_LEFTUP);
    });
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &down, sizeof(down));
    Pump();
    drag.join();
    Pump();
}

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

// Notes when a component it watches is freed, and whether a call the test
// marks was still running then.
class TFreeWatch : public TComponent {
public:
    using TComponent::TComponent;
    bool Freed = false;
    bool FreedInside = false;
    bool Inside = false;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent != this) {
            Freed = true;
            FreedInside = Inside;
        }
    }
};

TEST_F(PanelBehaviour, CloseDuringACollapseFreesThePanelAfterTheCollapse)
{
    auto* group = New<TAdvPanelGroup>(form);
    group->SetBounds(0, 0, 90, 300);
    group->SetParent(form);
    group->GetDefaultPanel()->GetCaption()->SetVisible(true);
    group->GetDefaultPanel()->GetCaption()->SetCloseButton(true);
    group->GetDefaultPanel()->SetCollapsSteps(3);
    TCustomAdvPanel* closing = group->AddPanel();
    TCustomAdvPanel* other = group->AddPanel();
    closing->SetFreeOnClose(true);
    closing->SetCollapsDelay(0);
    TOwned<TFreeWatch> watch(New<TFreeWatch>(nullptr));
    closing->FreeNotification(watch.get());
    int closed = 0, ended = 0;
    closing->OnClose = [&](TObject*) { ++closed; };
    closing->OnEndCollapsExpand = [&](TObject*) { ++ended; };
    Pump();
    // A click on the close button arrives while the collapse lets messages run.
    bool clicked = false;
    closing->OnResize = [&](TObject*) {
        if (std::exchange(clicked, true))
            return;
        const LPARAM at = MAKELPARAM(closing->GetWidth() - 8, 8);
        PostMessageW(closing->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(closing->Handle(), WM_LBUTTONUP, 0, at);
    };
    watch->Inside = true;
    closing->SetCollaps(true);
    watch->Inside = false;
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(watch->FreedInside) << "not freed while its collapse still runs";
    EXPECT_EQ(ended, 0) << "a panel being released reports no end of collapsing";
    Pump();
    EXPECT_TRUE(watch->Freed);
    EXPECT_EQ(group->PanelCount(), 1);
    EXPECT_EQ(group->Panel(0), other);
}

TEST_F(PanelBehaviour, PanelClosedWhileTheGroupCollapsesAllIsLeftOut)
{
    auto* group = New<TAdvPanelGroup>(form);
    group->SetBounds(0, 0, 90, 300);
    group->SetParent(form);
    group->GetDefaultPanel()->GetCaption()->SetVisible(true);
    group->GetDefaultPanel()->GetCaption()->SetCloseButton(true);
    group->GetDefaultPanel()->SetCollapsSteps(3);
    TCustomAdvPanel* first = group->AddPanel();
    TCustomAdvPanel* second = group->AddPanel();
    group->ArrangePanels();
    first->SetCollapsDelay(0);
    second->SetFreeOnClose(true);
    Pump();
    // The second panel's close button is clicked while the first one collapses.
    bool clicked = false;
    first->OnResize = [&](TObject*) {
        if (std::exchange(clicked, true))
            return;
        const LPARAM at = MAKELPARAM(second->GetWidth() - 8, 8);
        PostMessageW(second->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(second->Handle(), WM_LBUTTONUP, 0, at);
    };
    group->CloseAllPanels();
    Pump();
    EXPECT_TRUE(first->GetCollaps());
    ASSERT_EQ(group->PanelCount(), 1);
    EXPECT_EQ(group->Panel(0), first);
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

TEST_F(PanelBehaviour, MovedByItsCaptionWithTheMouse)
{
    panel->SetCanMove(true);
    int ended = 0;
    panel->OnEndMoveSize = [&](TObject*) { ++ended; };
    DragWithMouse(panel, {60, 8}, {90, 33});
    EXPECT_EQ(panel->GetBoundsRect(), Bounds(130, 45, 200, 150));
    EXPECT_EQ(ended, 1);

    // A pinned edge stays where the move started.
    panel->SetFixedTop(true);
    DragWithMouse(panel, {60, 8}, {40, 48});
    EXPECT_EQ(panel->GetBoundsRect(), Bounds(110, 45, 200, 150));
    panel->SetFixedTop(false);
    panel->SetFixedLeft(true);
    DragWithMouse(panel, {60, 8}, {100, 0});
    EXPECT_EQ(panel->GetBoundsRect(), Bounds(110, 37, 200, 150));
    EXPECT_EQ(ended, 3);

    // Without CanMove the caption is the panel's own: a click, no move.
    panel->SetCanMove(false);
    int clicks = 0;
    panel->OnCaptionClick = [&](TObject*) { ++clicks; };
    ClickWithMouse(panel, {60, 8}, {90, 12});
    EXPECT_EQ(panel->GetBoundsRect(), Bounds(110, 37, 200, 150));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ended, 3);
}

TEST_F(PanelBehaviour, SizedByItsBordersWithTheMouse)
{
    panel->SetCanSize(true);
    int ended = 0;
    panel->OnEndMoveSize = [&](TObject*) { ++ended; };
    DragWithMouse(panel, {198, 148}, {228, 178});
    EXPECT_EQ(panel->GetBoundsRect(), Bounds(100, 20, 230, 180));
    EXPECT_EQ(panel->GetFullHeight(), 180) << "the expanded height follows the sizing";
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(panel->GetShadedHeader()->GetWidth(), 230) << "the shade is built for the new width";

    // A fixed width leaves the corner to the bottom edge's sizing only.
    panel->SetFixedWidth(true);
    DragWithMouse(panel, {228, 178}, {188, 158});
    EXPECT_EQ(panel->GetBoundsRect(), Bounds(100, 20, 230, 160));
    EXPECT_EQ(panel->GetFullHeight(), 160);
    panel->SetFixedWidth(false);

    // A right caption sizes from the left edge and keeps the right one.
    panel->GetCaption()->SetPosition(cpRight);
    DragWithMouse(panel, {1, 60}, {-29, 60});
    EXPECT_EQ(panel->GetBoundsRect(), Bounds(70, 20, 260, 160));
    EXPECT_EQ(panel->GetFullHeight(), 260) << "a side caption's extent is the width";
    EXPECT_EQ(ended, 3);
}

TEST_F(PanelBehaviour, MovingAPanelInAGroupReordersTheGroup)
{
    auto* group = New<TAdvPanelGroup>(form);
    group->SetBounds(0, 0, 90, 380);
    group->SetParent(form);
    group->GetDefaultPanel()->SetCanMove(true);
    group->GetDefaultPanel()->GetCaption()->SetVisible(true);
    group->GetDefaultPanel()->SetHeight(100);
    TCustomAdvPanel* first = group->AddPanel();
    TCustomAdvPanel* second = group->AddPanel();
    group->ArrangePanels();
    Pump();
    ASSERT_EQ(first->GetTop(), 8);
    ASSERT_EQ(second->GetTop(), 116);
    int arranged = 0;
    group->OnArrangedControls = [&](TObject*) { ++arranged; };
    // Dragged above the first panel, the second one takes the first place.
    DragWithMouse(second, {30, 8}, {30, -105});
    EXPECT_GE(arranged, 1) << "the end of the move arranges the group";
    EXPECT_EQ(second->GetTop(), 8);
    EXPECT_EQ(first->GetTop(), 116);
    EXPECT_EQ(second->GetLeft(), 8) << "and puts it back in its column";
}

TEST_F(PanelBehaviour, AutoSizeFitsTheText)
{
    panel->GetCaption()->SetVisible(false);
    panel->GetFont()->SetName(L"Tahoma");
    panel->GetFont()->SetHeight(-11);
    panel->SetText(L"<B>Inventory</B> of the computers");
    EXPECT_EQ(panel->GetBoundsRect(), Bounds(100, 20, 200, 150)) << "auto-size is off";

    // The text's laid-out size, as the renderer gives it for this width.
    const TSize text = panel->GetHTMLSize();
    ASSERT_GT(text.cx, 60);
    ASSERT_GT(text.cy, 8);
    panel->GetAutoSizeSettings()->SetEnabled(true);
    EXPECT_EQ(panel->GetWidth(), 2 + text.cx) << "the raised bevel on both sides";
    EXPECT_EQ(panel->GetHeight(), 2 + text.cy);
    const int tw = text.cx, th = text.cy;

    struct Case {
        const char* what;
        std::function<void()> change;
        int width, height;
    } cases[] = {
        {"indents", [&] { panel->SetIndent(7); panel->SetTopIndent(3); }, 2 + tw + 7, 2 + th + 3},
        {"top caption", [&] { panel->GetCaption()->SetVisible(true); }, 2 + tw + 7, 20 + th + 2 + 3},
        {"and status bar", [&] { panel->GetStatusBar()->SetVisible(true); }, 2 + tw + 7, 20 + th + 18 + 2 + 3},
        {"border width", [&] { panel->SetBorderWidth(2); },
         2 + tw + 4 + 7, 20 + th + 4 + 18 + 2 + 3 + 4},
        {"left caption", [&] { panel->GetCaption()->SetPosition(cpLeft); },
         20 + tw + 4 + 18 + 2 + 7, 2 + th + 4 + 3},
        {"border shadow", [&] { panel->SetBorderShadow(true); },
         20 + tw + 6 + 18 + 2 + 7, 2 + th + 6 + 3},
        {"side caption hidden", [&] { panel->GetCaption()->SetVisible(false); },
         18 + tw + 6 + 2 + 7, 2 + th + 6 + 3},
    };
    for (const Case& c : cases) {
        c.change();
        // The size follows the text again once it is set.
        panel->SetText(panel->GetText());
        EXPECT_EQ(panel->GetWidth(), c.width) << c.what;
        EXPECT_EQ(panel->GetHeight(), c.height) << c.what;
    }

    // Only the height follows, with a second line.
    panel->GetAutoSizeSettings()->SetWidth(false);
    panel->SetWidth(300);
    panel->SetText(L"<B>Inventory</B> of the computers<BR>and their disks");
    EXPECT_EQ(panel->GetWidth(), 300);
    EXPECT_GT(panel->GetHeight(), 2 + 2 * th - 2 + 6 + 3) << "two lines";
}

TEST_F(PanelBehaviour, AutoSizedPanelMovesItsNeighboursInAGroup)
{
    auto* group = New<TAdvPanelGroup>(form);
    group->SetBounds(0, 0, 90, 380);
    group->SetParent(form);
    group->GetDefaultPanel()->SetHeight(100);
    TCustomAdvPanel* first = group->AddPanel();
    TCustomAdvPanel* second = group->AddPanel();
    group->ArrangePanels();
    ASSERT_EQ(second->GetTop(), 116);
    first->GetAutoSizeSettings()->SetWidth(false);
    first->GetAutoSizeSettings()->SetEnabled(true);
    first->SetText(L"one<BR>two<BR>three");
    const int height = first->GetHeight();
    EXPECT_LT(height, 100);
    EXPECT_EQ(second->GetTop(), 8 + height + 8) << "the group arranged after the size changed";
}

} // namespace
