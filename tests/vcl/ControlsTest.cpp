// Controls over real windows: alignment and anchors, the WindowProc chain,
// control messages, mouse tracking and capture, reflection, scaling.
#include <gtest/gtest.h>
#include "Controls.h"
#include "Forms.h"
#include "TestSupport.h"
#include "VclTestSupport.h"
#include <memory>

using namespace vcl_test;

namespace {

// A control that writes down the control messages it handles.
template <class Base>
class TJournaled : public Base {
public:
    explicit TJournaled(TComponent* AOwner) : Base(AOwner) { this->SetBounds(0, 0, 40, 20); }
    std::vector<String> journal;

protected:
    void Dispatch(TMessage& Message) override
    {
        switch (Message.Msg) {
        case CM_MOUSEENTER: journal.push_back(L"enter"); break;
        case CM_MOUSELEAVE: journal.push_back(L"leave"); break;
        case CM_ENABLEDCHANGED: journal.push_back(L"enabled"); break;
        case CM_VISIBLECHANGED: journal.push_back(L"visible"); break;
        case CM_SHOWINGCHANGED: journal.push_back(L"showing"); break;
        case CM_FONTCHANGED: journal.push_back(L"font"); break;
        case CM_COLORCHANGED: journal.push_back(L"color"); break;
        case CM_TEXTCHANGED: journal.push_back(L"text"); break;
        case CN_COMMAND: journal.push_back(L"cn_command " + IntToStr(HIWORD(Message.WParam))); break;
        case WM_APP + 1: journal.push_back(L"handler"); break;
        case WM_APP + 2: throw EInvalidOperation(L"broken handler");
        default: break;
        }
        Base::Dispatch(Message);
    }
};
using TJournaledBox = TJournaled<TBox>;
using TJournaledGraphic = TJournaled<TGraphicControl>;

// A push button window, to see its notification come back reflected.
class TPushWindow : public TJournaled<TWinControl> {
public:
    // The system button tracks the mouse itself.
    explicit TPushWindow(TComponent* AOwner) : TJournaled(AOwner) { ControlStyle = {csSetCaption, csDoubleClicks}; }

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TWinControl::CreateParams(Params);
        CreateSubClass(Params, L"BUTTON");
        Params.Style |= BS_PUSHBUTTON;
    }
};

struct FormFixture : testing::Test {
    TCustomForm* form = nullptr;
    void SetUp() override
    {
        form = New<TForm>(nullptr);
        form->SetBounds(50, 50, 400, 300);
    }
    void TearDown() override
    {
        form->Free();
        Pump();
    }
    RECT Bounds(TControl* c) { return c->GetBoundsRect(); }
};

void ExpectBounds(TControl* c, int l, int t, int w, int h)
{
    EXPECT_EQ(c->GetLeft(), l) << c->GetName();
    EXPECT_EQ(c->GetTop(), t) << c->GetName();
    EXPECT_EQ(c->GetWidth(), w) << c->GetName();
    EXPECT_EQ(c->GetHeight(), h) << c->GetName();
}

// --- alignment -----------------------------------------------------------------

TEST_F(FormFixture, AlignmentLaysOutNestedPanelsAndFollowsResizes)
{
    // The main window's frame: a client panel holding a spacer on top, a
    // column on the left and a right part with a status line at the bottom.
    form->DisableAlign();
    TBox* outer = NewBox(form, alClient, 10, 10, L"Outer");
    TBox* spacer = NewBox(outer, alTop, 10, 9, L"Spacer");
    TBox* column = NewBox(outer, alLeft, 200, 10, L"Column");
    TBox* columnTop = NewBox(column, alTop, 10, 129, L"ColumnTop");
    TBox* columnRest = NewBox(column, alClient, 10, 10, L"ColumnRest");
    TBox* right = NewBox(outer, alClient, 10, 10, L"Right");
    TBox* status = NewBox(right, alBottom, 10, 46, L"Status");
    TBox* statusRight = NewBox(status, alRight, 302, 10, L"StatusRight");
    TBox* body = NewBox(right, alClient, 10, 10, L"Body");
    form->EnableAlign();
    form->SetClientWidth(974);
    form->SetClientHeight(618);
    form->Show();
    Pump();

    ExpectBounds(outer, 0, 0, 974, 618);
    ExpectBounds(spacer, 0, 0, 974, 9);
    ExpectBounds(column, 0, 9, 200, 609);
    ExpectBounds(columnTop, 0, 0, 200, 129);
    ExpectBounds(columnRest, 0, 129, 200, 480);
    ExpectBounds(right, 200, 9, 774, 609);
    ExpectBounds(status, 0, 563, 774, 46);
    ExpectBounds(statusRight, 472, 0, 302, 46);
    ExpectBounds(body, 0, 0, 774, 563);
    // The windows themselves are where the controls say.
    RECT r;
    GetWindowRect(body->Handle(), &r);
    MapWindowPoints(nullptr, right->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.right - r.left, 774);
    EXPECT_EQ(r.bottom - r.top, 563);

    form->SetClientWidth(800);
    form->SetClientHeight(500);
    Pump();
    ExpectBounds(outer, 0, 0, 800, 500);
    ExpectBounds(column, 0, 9, 200, 491);
    ExpectBounds(right, 200, 9, 600, 491);
    ExpectBounds(status, 0, 445, 600, 46);
    ExpectBounds(statusRight, 298, 0, 302, 46);
    ExpectBounds(body, 0, 0, 600, 445);

    // Hiding a part gives its room to the others.
    column->Hide();
    ExpectBounds(right, 0, 9, 800, 491);
    column->Show();
    ExpectBounds(right, 200, 9, 600, 491);
}

TEST_F(FormFixture, StackedControlsKeepTheirOrderAndTheMovedOneWinsATie)
{
    TBox* a = NewBox(form, alTop, 10, 20, L"A");
    TBox* b = NewBox(form, alTop, 10, 30, L"B");
    a->SetTop(0);
    b->SetTop(25);
    EXPECT_EQ(a->GetTop(), 0);
    EXPECT_EQ(b->GetTop(), 20);
    // Dragging B to the top edge puts it first.
    b->SetTop(0);
    EXPECT_EQ(b->GetTop(), 0);
    EXPECT_EQ(a->GetTop(), 30);

    TBox* l1 = NewBox(form, alLeft, 40, 10, L"L1");
    TBox* r1 = NewBox(form, alRight, 60, 10, L"R1");
    TBox* bottom = NewBox(form, alBottom, 10, 15, L"Bottom");
    RECT client = form->GetClientRect();
    EXPECT_EQ(l1->GetLeft(), 0);
    EXPECT_EQ(r1->GetLeft() + r1->GetWidth(), client.right);
    EXPECT_EQ(bottom->GetTop() + bottom->GetHeight(), client.bottom);
    // Left and right columns fill what the rows left.
    EXPECT_EQ(l1->GetTop(), 50);
    EXPECT_EQ(l1->GetHeight(), client.bottom - 50 - 15);
}

// Overlapping siblings: the one later in the child list shows on top, as a
// form lists them, also after a window is made again.
TEST_F(FormFixture, LaterSiblingsLieAboveEarlierOnes)
{
    TBox* first = NewBox(form, alNone, 100, 100, L"First");
    TBox* second = NewBox(form, alNone, 100, 100, L"Second");
    TBox* third = NewBox(form, alNone, 100, 100, L"Third");
    form->Show();
    Pump();
    const auto above = [](TWinControl* upper, TWinControl* lower) {
        for (HWND w = GetWindow(lower->Handle(), GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
            if (w == upper->Handle())
                return true;
        return false;
    };
    EXPECT_TRUE(above(second, first));
    EXPECT_TRUE(above(third, second));

    first->BringToFront();
    EXPECT_TRUE(above(first, third));
    // A window made again takes its place in the list.
    second->RecreateWnd();
    second->HandleNeeded();
    EXPECT_TRUE(above(third, second));
    EXPECT_TRUE(above(first, third));
}

TEST_F(FormFixture, AnchorsAndConstraintsOnResize)
{
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    struct Case {
        TAnchors anchors;
        int left, top, width, height;  // after the parent grows by 100 x 50
    };
    const Case cases[] = {
        {{akLeft, akTop}, 10, 10, 50, 20},
        {{akRight, akBottom}, 110, 60, 50, 20},
        {{akLeft, akTop, akRight}, 10, 10, 150, 20},
        {{akLeft, akTop, akRight, akBottom}, 10, 10, 150, 70},
    };
    std::vector<TBox*> boxes;
    for (const Case& c : cases) {
        TBox* box = NewBox(form, alNone, 50, 20);
        box->SetBounds(10, 10, 50, 20);
        box->SetAnchors(c.anchors);
        boxes.push_back(box);
    }
    form->Show();
    form->SetClientWidth(400);
    form->SetClientHeight(250);
    Pump();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectBounds(boxes[i], cases[i].left, cases[i].top, cases[i].width, cases[i].height);
    }

    TBox* limited = NewBox(form, alNone, 50, 20);
    limited->GetConstraints()->SetMinWidth(30);
    limited->GetConstraints()->SetMaxHeight(40);
    limited->SetBounds(0, 0, 10, 100);
    EXPECT_EQ(limited->GetWidth(), 30);
    EXPECT_EQ(limited->GetHeight(), 40);
}

// --- the message chain -------------------------------------------------------------

TEST_F(FormFixture, WindowProcSeesMessagesFirstAndCanSwallowThem)
{
    auto* box = New<TJournaledBox>(form);
    box->SetParent(form);
    form->Show();
    box->journal.clear();
    std::vector<String> seen;
    TWndMethod original = box->WindowProc;
    bool swallow = false;
    box->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_APP + 1) {
            seen.push_back(L"hook");
            if (swallow) {
                m.Result = 7;
                return;
            }
        }
        original(m);
    };
    // Sent to the real window and performed directly: both go through the hook.
    SendMessageW(box->Handle(), WM_APP + 1, 0, 0);
    box->Perform(WM_APP + 1, 0, 0);
    EXPECT_EQ(seen, (std::vector<String>{L"hook", L"hook"}));
    EXPECT_EQ(box->journal, (std::vector<String>{L"handler", L"handler"}));

    swallow = true;
    EXPECT_EQ(SendMessageW(box->Handle(), WM_APP + 1, 0, 0), 7);
    EXPECT_EQ(box->journal.size(), 2u);
    box->WindowProc = original;
}

namespace {
WNDPROC subclassedProc = nullptr;
LRESULT CALLBACK ForwardingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(subclassedProc, wnd, msg, wParam, lParam);
}
} // namespace

// A window leads to its control for as long as both live: subclassed by
// someone else, recreated, and no longer once the control is freed.
TEST_F(FormFixture, WindowsLeadToTheirControlsWhileTheyLive)
{
    auto* box = New<TJournaledBox>(form);
    box->SetParent(form);
    form->Show();
    const HWND first = box->Handle();
    EXPECT_EQ(TWinControl::FromHandle(first), box);
    EXPECT_EQ(TWinControl::FromHandle(form->Handle()), form);
    const HWND foreign =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, form->Handle(), nullptr, nullptr, nullptr);
    EXPECT_EQ(TWinControl::FromHandle(foreign), nullptr);
    DestroyWindow(foreign);

    subclassedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForwardingProc)));
    EXPECT_EQ(TWinControl::FromHandle(first), box);
    box->journal.clear();
    SendMessageW(first, WM_APP + 1, 0, 0);
    SetWindowLongPtrW(first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassedProc));
    EXPECT_EQ(box->journal, std::vector<String>{L"handler"});

    box->RecreateWnd();
    const HWND second = box->Handle();
    ASSERT_NE(second, first);
    EXPECT_EQ(TWinControl::FromHandle(first), nullptr);
    EXPECT_EQ(TWinControl::FromHandle(second), box);
    box->journal.clear();
    SendMessageW(second, WM_APP + 1, 0, 0);
    EXPECT_EQ(box->journal, std::vector<String>{L"handler"});

    box->Free();
    EXPECT_EQ(TWinControl::FromHandle(second), nullptr);
}

TEST_F(FormFixture, ExceptionsStopAtTheWindowProcedure)
{
    auto* box = New<TJournaledBox>(form);
    box->SetParent(form);
    form->Show();
    String caught;
    TObject* sender = nullptr;
    Application->OnException = [&](TObject* s, const Exception& e) {
        sender = s;
        caught = e.Message();
    };
    SendMessageW(box->Handle(), WM_APP + 2, 0, 0);
    Application->OnException = nullptr;
    EXPECT_EQ(caught, L"broken handler");
    EXPECT_EQ(sender, box);
}

TEST_F(FormFixture, PropertyChangesSendTheirControlMessages)
{
    auto* box = New<TJournaledBox>(form);
    box->SetParent(form);
    auto* child = New<TJournaledBox>(form);
    child->SetParent(box);
    form->Show();
    box->journal.clear();
    child->journal.clear();

    box->SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(box->Handle()));
    box->SetColor(clRed);
    box->GetFont()->SetHeight(-20);
    box->SetText(L"caption");
    EXPECT_EQ(box->GetText(), L"caption");
    wchar_t buf[32];
    GetWindowTextW(box->Handle(), buf, 32);
    EXPECT_STREQ(buf, L"caption");
    box->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(box->Handle()));
    EXPECT_FALSE(child->Showing());
    EXPECT_EQ(box->journal, (std::vector<String>{L"enabled", L"color", L"font", L"text", L"visible", L"showing"}));
    // The child follows its parent's colour and font and is told that it is hidden.
    EXPECT_EQ(child->GetColor(), clRed);
    EXPECT_EQ(child->GetFont()->GetHeight(), -20);
    EXPECT_EQ(child->journal, (std::vector<String>{L"color", L"font", L"showing"}));

    // A font set on the child itself stops it following.
    child->GetFont()->SetHeight(-9);
    EXPECT_FALSE(child->GetParentFont());
    box->GetFont()->SetHeight(-30);
    EXPECT_EQ(child->GetFont()->GetHeight(), -9);
}

TEST_F(FormFixture, ChildNotificationsComeBackReflected)
{
    auto* button = New<TPushWindow>(form);
    button->SetParent(form);
    form->Show();
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    Pump();
    ASSERT_FALSE(button->journal.empty());
    EXPECT_EQ(button->journal.back(), L"cn_command " + IntToStr(BN_CLICKED));
}

// --- mouse ----------------------------------------------------------------------------

TEST_F(FormFixture, MouseEnterAndLeaveFollowTheControlUnderTheMouse)
{
    auto* box = New<TJournaledBox>(form);
    box->SetBounds(0, 0, 200, 100);
    box->SetParent(form);
    auto* graphic = New<TJournaledGraphic>(form);
    graphic->SetBounds(10, 10, 40, 20);
    graphic->SetParent(box);
    form->Show();
    Pump();
    box->journal.clear();
    graphic->journal.clear();
    int entered = 0;
    box->OnMouseEnter = [&](TObject*) { ++entered; };

    SendMessageW(box->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
    SendMessageW(box->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    EXPECT_EQ(MouseControl(), graphic);
    EXPECT_TRUE(graphic->MouseInClient());
    SendMessageW(box->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(120, 50));
    EXPECT_FALSE(graphic->MouseInClient());
    // The window reports that the mouse left it.
    SendMessageW(box->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(box->journal, (std::vector<String>{L"enter", L"leave", L"enter", L"leave"}));
    EXPECT_EQ(graphic->journal, (std::vector<String>{L"enter", L"leave"}));
    EXPECT_EQ(entered, 2);
    EXPECT_EQ(MouseControl(), nullptr);
}

TEST_F(FormFixture, GraphicControlCapturesThroughItsParentAndClicksOnlyInside)
{
    auto* graphic = New<TJournaledGraphic>(form);
    graphic->SetBounds(10, 10, 40, 20);
    graphic->SetParent(form);
    form->Show();
    int clicks = 0;
    std::vector<POINT> moves;
    graphic->OnClick = [&](TObject*) { ++clicks; };
    graphic->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { moves.push_back({x, y}); };
    HWND wnd = form->Handle();

    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    EXPECT_EQ(GetCapture(), wnd);
    EXPECT_EQ(GetCaptureControl(), graphic);
    // Outside the control, the captured mouse still goes to it.
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 100));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].x, 190);
    EXPECT_EQ(moves[0].y, 90);
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(200, 100));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(GetCapture(), nullptr);

    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(22, 16));
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormFixture, FindsTheControlUnderAScreenPoint)
{
    form->SetPosition(poDesigned);
    TBox* panel = NewBox(form, alNone, 200, 150);
    panel->SetBounds(20, 20, 200, 150);
    auto* graphic = New<TJournaledGraphic>(form);
    graphic->SetBounds(30, 40, 50, 20);
    graphic->SetParent(panel);
    form->Show();
    Pump();
    EXPECT_EQ(FindVCLWindow(graphic->ClientToScreen({5, 5})), graphic);
    EXPECT_EQ(FindVCLWindow(panel->ClientToScreen({150, 100})), panel);
    EXPECT_EQ(FindDragTarget(panel->ClientToScreen({31, 41}), false), graphic);
    EXPECT_EQ(GetParentForm(graphic), form);
    EXPECT_EQ(panel->ControlAtPos({35, 45}, false), graphic);
    graphic->SetEnabled(false);
    EXPECT_EQ(panel->ControlAtPos({35, 45}, false), nullptr);
    EXPECT_EQ(panel->ControlAtPos({35, 45}, true), graphic);
}

// --- painting and scaling ---------------------------------------------------------------

class TSquare : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override
    {
        GetCanvas()->GetBrush()->SetColor(clRed);
        GetCanvas()->FillRect(TRect(0, 0, GetWidth(), GetHeight()));
    }
};

TEST_F(FormFixture, PaintToDrawsTheWindowAndItsGraphicChildren)
{
    form->SetColor(clWhite);
    form->SetClientWidth(100);
    form->SetClientHeight(60);
    auto* square = New<TSquare>(form);
    square->SetBounds(10, 10, 20, 20);
    square->SetParent(form);
    form->Show();
    Pump();

    TMemoryDC dc;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(bi.bmiHeader), 100, -60, 1, 32, BI_RGB};
    void* bits = nullptr;
    TBitmapHandle bmp(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    TSelectObject select(dc.Get(), bmp.Get());
    form->PaintTo(dc.Get(), 0, 0);
    GdiFlush();
    auto pixel = [&](int x, int y) { return static_cast<DWORD*>(bits)[y * 100 + x] & 0xFFFFFF; };
    EXPECT_EQ(pixel(15, 15), 0xFF0000u);  // red in a DIB's BGR order
    EXPECT_EQ(pixel(50, 50), 0xFFFFFFu);
    EXPECT_EQ(pixel(9, 9), 0xFFFFFFu);
}

TEST_F(FormFixture, ChangeScaleScalesBoundsFontsAndLimits)
{
    TBox* panel = NewBox(form, alNone, 100, 40);
    panel->SetBounds(10, 20, 100, 40);
    panel->GetConstraints()->SetMinWidth(50);
    panel->GetFont()->SetHeight(-12);
    TBox* inner = NewBox(panel, alNone, 30, 10);
    inner->SetBounds(5, 5, 30, 10);
    panel->ScaleBy(3, 2);
    ExpectBounds(panel, 15, 30, 150, 60);
    ExpectBounds(inner, 8, 8, 45, 15);
    EXPECT_EQ(panel->GetFont()->GetHeight(), -18);
    EXPECT_EQ(panel->GetConstraints()->GetMinWidth(), 75);
    // The child follows its parent's font rather than scaling its own.
    EXPECT_EQ(inner->GetFont()->GetHeight(), -18);
}

} // namespace
