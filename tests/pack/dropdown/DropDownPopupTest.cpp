// The popup through real input: opened by the button, keys and clicks, its
// hooks in order, placed against the work area, closed keeping or cancelling
// the value, and its footer buttons and size grip.
#include "AdvDropDown.h"
#include "../controls/PackControlsTestSupport.h"
#include "DropDownInput.h"
#include <thread>

using namespace pack_test;

namespace {

using dropdown_input::Key;
using dropdown_input::MouseButton;

void ClickAt(TControl* Control, POINT P)
{
    const POINT screen = Control->ClientToScreen(P);
    SetCursorPos(screen.x, screen.y);
    Pump();
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
}

// An editor that writes down its hooks as they run.
class TRecordingDropDown : public TAdvDropDown {
public:
    using TAdvDropDown::TAdvDropDown;
    std::vector<std::string> Calls;
    void BeforeDropDown() override
    {
        Calls.push_back("BeforeDropDown");
        TAdvDropDown::BeforeDropDown();
    }
    void AdjustDropDownSize() override
    {
        Calls.push_back("AdjustDropDownSize");
        TAdvDropDown::AdjustDropDownSize();
    }
    void PlaceControl() override
    {
        Calls.push_back("PlaceControl");
        TAdvDropDown::PlaceControl();
    }
    void AfterDropDown(int& Height) override { Calls.push_back("AfterDropDown"); }
    void FocusDropDownControl() override
    {
        Calls.push_back("FocusDropDownControl");
        TAdvDropDown::FocusDropDownControl();
    }
    void CloseDropDown(bool Cancel) override
    {
        Calls.push_back(Cancel ? "CloseDropDown(cancel)" : "CloseDropDown");
        TAdvDropDown::CloseDropDown(Cancel);
    }
};

class DropDownPopupTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        other = New<TEdit>(form);
        other->SetBounds(10, 300, 80, 21);
        other->SetParent(form);
        edit = New<TRecordingDropDown>(form);
        edit->SetBounds(20, 20, 150, 21);
        edit->SetParent(form);
        edit->SetTabStop(true);
        content = New<TEdit>(form);
        content->SetBounds(0, 0, 180, 60);
        content->SetTabStop(true);
        edit->SetControl(content);
        edit->SetFocusControl(content);
        ShowForm();
        edit->SetFocus();
        Pump();
    }
    TDropDownForm* Popup() const { return edit->GetDropDownForm(); }
    bool Open() const { return Popup()->GetVisible() && edit->GetDroppedDown(); }
    // Press and release in one go: the press closes an open popup and the
    // release must find it closed well within the 250 ms it waits.
    void ClickButton()
    {
        const POINT screen = edit->GetButton()->ClientToScreen({8, 8});
        SetCursorPos(screen.x, screen.y);
        Pump();
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(2, in, sizeof(INPUT));
        Pump();
    }
    RECT PopupRect() const
    {
        RECT r{};
        GetWindowRect(edit->GetDropDownForm()->Handle(), &r);
        return r;
    }

    TEdit* other = nullptr;
    TRecordingDropDown* edit = nullptr;
    TEdit* content = nullptr;
};

TEST_F(DropDownPopupTest, TheButtonOpensThePopupBelowTheEditWithTheHooksInOrder)
{
    // Editors size the popup themselves: the content fills it once placed.
    edit->SetControl(nullptr);
    edit->GetDropDownHeader()->SetHeight(40);
    edit->Calls.clear();
    std::vector<std::string> events;
    edit->OnBeforeDropDown = [&](TObject*) { events.push_back("OnBeforeDropDown"); };
    edit->OnDropDown = [&](TObject*, bool&) {
        events.push_back("OnDropDown");
        edit->Calls.push_back("OnDropDown");
    };
    ClickButton();
    ASSERT_TRUE(Open());
    const std::vector<std::string> expected = {"BeforeDropDown", "AdjustDropDownSize", "PlaceControl", "OnDropDown",
                                               "AfterDropDown", "FocusDropDownControl"};
    EXPECT_EQ(edit->Calls, expected);
    EXPECT_EQ(events.front(), "OnBeforeDropDown");
    const POINT origin = edit->ClientToScreen({0, 0});
    RECT editRect{};
    GetWindowRect(edit->Handle(), &editRect);
    const RECT popup = PopupRect();
    EXPECT_EQ(popup.left, editRect.left);
    EXPECT_EQ(popup.top, editRect.bottom - 1) << "one pixel over the edit";
    EXPECT_EQ(popup.right - popup.left, 150) << "as wide as the edit";
    EXPECT_EQ(popup.bottom - popup.top, 2 + 40 + 22) << "borders, header and footer";
    EXPECT_EQ(GetFocus(), content->Handle()) << "the focus is inside";
    EXPECT_TRUE(GetWindowLongW(Popup()->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetClassLongW(Popup()->Handle(), GCL_STYLE) & CS_DROPSHADOW);
    EXPECT_EQ(GetWindow(Popup()->Handle(), GW_OWNER), form->Handle());
    (void)origin;
}

TEST_F(DropDownPopupTest, EscapeCancelsEnterKeepsAndTheEditGetsTheFocusBack)
{
    edit->SetText(L"kept");
    struct Case {
        WORD key;
        const wchar_t* value;
    };
    const Case cases[] = {{VK_ESCAPE, L"kept"}, {VK_RETURN, L"typed"}};
    for (const Case& c : cases) {
        Sleep(260);
        ClickButton();
        ASSERT_TRUE(Open());
        edit->SetRawText(L"typed");
        bool cancelled = false;
        edit->OnDropUp = [&](TObject*, bool Cancelled) { cancelled = Cancelled; };
        Key(c.key);
        EXPECT_FALSE(Open()) << c.key;
        EXPECT_EQ(edit->GetText(), c.value);
        EXPECT_EQ(cancelled, c.key == VK_ESCAPE);
        EXPECT_EQ(GetFocus(), edit->Handle());
        edit->SetText(L"kept");
    }
}

TEST_F(DropDownPopupTest, F4AndAltArrowsToggle)
{
    edit->SetFocusControl(nullptr);
    const struct {
        WORD key, modifier;
    } toggles[] = {{VK_F4, 0}, {VK_DOWN, VK_MENU}, {VK_UP, VK_MENU}};
    for (const auto& t : toggles) {
        edit->SetFocus();
        Pump();
        Key(t.key, t.modifier);
        EXPECT_TRUE(Open()) << t.key;
        // The keys reach the editor from the popup as well.
        Key(t.key, t.modifier);
        EXPECT_FALSE(Open()) << t.key;
    }
}

TEST_F(DropDownPopupTest, AClickOnTheButtonWhileOpenClosesWithoutReopening)
{
    ClickButton();
    ASSERT_TRUE(Open());
    ClickButton();
    EXPECT_FALSE(Open()) << "the click that closed it does not open it again";
    Sleep(300);
    ClickButton();
    EXPECT_TRUE(Open()) << "a click after 250 ms opens it";
}

TEST_F(DropDownPopupTest, AClickElsewhereClosesByCancelOnDeActivate)
{
    for (bool cancel : {true, false}) {
        edit->SetText(L"before");
        Popup()->SetCancelOnDeActivate(cancel);
        Sleep(260);
        ClickButton();
        ASSERT_TRUE(Open());
        edit->SetRawText(L"chosen");
        ClickAt(form, {300, 200});
        EXPECT_FALSE(Open());
        EXPECT_EQ(edit->GetText(), cancel ? L"before" : L"chosen");
    }
}

TEST_F(DropDownPopupTest, AWindowOwnedByThePopupKeepsItOpen)
{
    ClickButton();
    ASSERT_TRUE(Open());
    auto* dialog = New<TForm>(nullptr);
    dialog->SetBorderStyle(bsSizeable);
    dialog->SetParentWindow(Popup()->Handle());
    dialog->SetBounds(600, 100, 200, 120);
    dialog->Show();
    SetForegroundWindow(dialog->Handle());
    Pump();
    EXPECT_TRUE(Open()) << "a dialog of the popup's own";
    dialog->Free();
    Pump();
    edit->HideDropDown(false);
    Pump();
    Sleep(260);
    SetForegroundWindow(form->Handle());
    Pump();
    ClickButton();
    EXPECT_TRUE(Open()) << "and it opens again afterwards";
}

TEST_F(DropDownPopupTest, AVetoKeepsItClosedUntilTheNextTry)
{
    bool accept = false;
    edit->OnDropDown = [&](TObject*, bool& acceptdrop) { acceptdrop = accept; };
    edit->ShowDropDown();
    Pump();
    EXPECT_FALSE(Open());
    EXPECT_FALSE(edit->GetDroppedDown());
    accept = true;
    edit->ShowDropDown();
    Pump();
    EXPECT_TRUE(Open());
}

TEST_F(DropDownPopupTest, PlacementAgainstTheScreenAndTheWorkArea)
{
    edit->SetControl(nullptr);
    edit->GetDropDownHeader()->SetVisible(false);
    edit->GetDropDownFooter()->SetVisible(false);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    struct Case {
        TDropPosition position;
        int formLeft, formTop;
        int width, height;
    };
    const Case cases[] = {
        {dpDown, 40, 40, 0, 0},                        // as wide as the edit, 50 high at least
        {dpUp, 40, 300, 0, 150},                       // above the edit
        {dpAuto, 40, screenHeight - 150, 0, 150},      // no room below: above
        {dpDown, work.right - 200, 40, 400, 100},      // pulled back inside the work area
    };
    for (const Case& c : cases) {
        Sleep(10);
        form->SetBounds(c.formLeft, c.formTop, 500, 120);
        Pump();
        edit->SetDropPosition(c.position);
        edit->SetDropDownWidth(c.width);
        edit->SetDropDownHeight(c.height);
        edit->ShowDropDown();
        Pump();
        ASSERT_TRUE(Open());
        RECT e{};
        GetWindowRect(edit->Handle(), &e);
        const RECT p = PopupRect();
        const int w = c.width ? c.width : std::max(150, 80);
        const int h = c.height ? c.height : 50;
        EXPECT_EQ(p.right - p.left, w) << c.position;
        EXPECT_EQ(p.bottom - p.top, h) << c.position;
        if (c.position == dpDown)
            EXPECT_EQ(p.top, e.bottom - 1);
        else
            EXPECT_EQ(p.top, e.top - h);
        if (e.left + w > work.right)
            EXPECT_EQ(p.right, work.right);
        else
            EXPECT_EQ(p.left, e.left);
        edit->HideDropDown(false);
        Pump();
    }
}

TEST_F(DropDownPopupTest, TheSizeTheUserGaveIsKeptUntilTheHeightIsSet)
{
    edit->ShowDropDown();
    Pump();
    ASSERT_TRUE(Open());
    SetWindowPos(Popup()->Handle(), nullptr, 0, 0, 260, 170, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    edit->HideDropDown(false);
    Pump();
    edit->ShowDropDown();
    Pump();
    RECT r = PopupRect();
    EXPECT_EQ(r.right - r.left, 260);
    EXPECT_EQ(r.bottom - r.top, 170);
    edit->HideDropDown(false);
    edit->SetDropDownHeight(90);
    edit->ShowDropDown();
    Pump();
    r = PopupRect();
    EXPECT_EQ(r.bottom - r.top, 90);
    EXPECT_EQ(r.right - r.left, 260) << "the width is still the user's";
}

TEST_F(DropDownPopupTest, FooterButtonsCloseByTheirModalResult)
{
    edit->SetFocusControl(nullptr);
    edit->SetDropDownWidth(300);
    struct Case {
        TModalResult result;
        bool closes;
        bool cancels;
    };
    const Case cases[] = {{mrOk, true, false}, {mrCancel, true, true}, {mrRetry, false, false}, {mrNone, false, false}};
    TFooterButtons* buttons = edit->GetDropDownFooter()->GetButtons();
    for (const Case& c : cases) {
        TFooterButton* item = buttons->Add();
        item->SetCaption(L"B" + IntToStr(c.result));
        item->SetModalResult(c.result);
    }
    for (int i = 0; i < 4; ++i) {
        const Case& c = cases[i];
        edit->SetText(L"before");
        Sleep(260);
        edit->ShowDropDown();
        Pump();
        ASSERT_TRUE(Open());
        edit->SetRawText(L"chosen");
        int clicked = -1;
        edit->OnDropDownFooterButtonClick = [&](TObject* Sender, int Index) {
            EXPECT_EQ(Sender, edit);
            clicked = Index;
        };
        auto* button = static_cast<TAdvButton*>(Popup()->GetFooter()->GetButtonList()->GetItem(i));
        ClickAt(button, {4, 4});
        EXPECT_EQ(clicked, i) << c.result;
        EXPECT_EQ(Open(), !c.closes) << c.result;
        if (c.closes)
            EXPECT_EQ(edit->GetText(), c.cancels ? L"before" : L"chosen") << c.result;
        edit->HideDropDown(false);
        Pump();
    }
    // Enter on a focused footer button closes without the click event.
    Sleep(260);
    edit->ShowDropDown();
    Pump();
    int clicked = -1;
    edit->OnDropDownFooterButtonClick = [&](TObject*, int Index) { clicked = Index; };
    auto* ok = static_cast<TAdvButton*>(Popup()->GetFooter()->GetButtonList()->GetItem(0));
    ok->SetFocus();
    Pump();
    Key(VK_RETURN);
    EXPECT_FALSE(Open());
    EXPECT_EQ(clicked, -1);
}

TEST_F(DropDownPopupTest, DraggingTheGripResizesThePopup)
{
    edit->SetControl(nullptr);
    edit->SetDropDownWidth(200);
    edit->SetDropDownHeight(120);
    edit->ShowDropDown();
    Pump();
    ASSERT_TRUE(Open());
    TAdvFooter* footer = Popup()->GetFooter();
    ASSERT_TRUE(footer->SizeGripActive());
    const RECT before = PopupRect();
    const POINT grip = footer->ClientToScreen({footer->GetWidth() - 5, footer->GetHeight() - 5});
    SetCursorPos(grip.x, grip.y);
    Pump();
    // The system's sizing loop runs inside the press; the rest of the drag
    // comes from another thread.
    std::thread drag([grip] {
        Sleep(300);
        for (int step = 1; step <= 5; ++step) {
            SetCursorPos(grip.x + step * 10, grip.y + step * 8);
            INPUT move{};
            move.type = INPUT_MOUSE;
            move.mi.dwFlags = MOUSEEVENTF_MOVE;
            SendInput(1, &move, sizeof(move));
            Sleep(50);
        }
        INPUT up{};
        up.type = INPUT_MOUSE;
        up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &up, sizeof(up));
    });
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    drag.join();
    Pump();
    const RECT after = PopupRect();
    EXPECT_GT(after.right - after.left, before.right - before.left);
    EXPECT_GT(after.bottom - after.top, before.bottom - before.top);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
}

} // namespace
