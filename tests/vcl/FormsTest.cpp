// Forms, the application and the screen through real windows: the life
// cycle events, closing, modal showing, keys, hints, exceptions and scaling.
#include <gtest/gtest.h>
#include "Forms.h"
#include "TestSupport.h"
#include "VclTestSupport.h"

using namespace vcl_test;

namespace {

// A form built the way a form resource builds it: children made while
// loading, then OnCreate.
class TJournalForm : public TForm {
public:
    explicit TJournalForm(TComponent* AOwner, std::vector<String>* journal) : TForm(AOwner)
    {
        BeginLoading();
        SetBounds(100, 100, 400, 300);
        first = NewBox(this, alNone, 50, 20, L"First");
        first->SetTabStop(true);
        second = NewBox(this, alNone, 50, 20, L"Second");
        second->SetBounds(0, 30, 50, 20);
        second->SetTabStop(true);
        OnCreate = [journal](TObject*) { journal->push_back(L"create"); };
        OnShow = [journal](TObject*) { journal->push_back(L"show"); };
        OnActivate = [journal](TObject*) { journal->push_back(L"activate"); };
        OnClose = [journal](TObject*, TCloseAction&) { journal->push_back(L"close"); };
        OnHide = [journal](TObject*) { journal->push_back(L"hide"); };
    }
    TBox* first = nullptr;
    TBox* second = nullptr;
};

// Waits (pumping) until the condition holds or a second has passed.
template <class F>
bool WaitFor(F condition)
{
    for (int i = 0; i < 100; ++i) {
        Pump();
        if (condition())
            return true;
        Sleep(10);
    }
    return condition();
}

TEST(Forms, LifeCycleEventsRunInOrder)
{
    std::vector<String> journal;
    auto* form = New<TJournalForm>(nullptr, &journal);
    EXPECT_EQ(journal, (std::vector<String>{L"create"}));
    EXPECT_FALSE(form->HandleAllocated());
    form->Show();
    ASSERT_TRUE(WaitFor([&] { return journal.size() >= 3; }));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(form->Active());
    EXPECT_EQ(Screen->ActiveForm(), form);
    form->Close();
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(journal, (std::vector<String>{L"create", L"show", L"activate", L"close", L"hide"}));
    form->Free();
    Pump();
}

TEST(Forms, CloseOfAMaximizedFormKeepsTheRestoredRectangle)
{
    std::vector<String> journal;
    auto* form = New<TJournalForm>(nullptr, &journal);
    form->SetBounds(120, 110, 500, 350);
    form->SetWindowState(wsMaximized);
    WINDOWPLACEMENT seen{sizeof(seen)};
    TWindowState stateAtClose = wsNormal;
    form->OnClose = [&](TObject*, TCloseAction&) {
        ASSERT_TRUE(form->HandleAllocated());
        GetWindowPlacement(form->Handle(), &seen);
        stateAtClose = form->GetWindowState();
    };
    form->Show();
    Pump();
    EXPECT_TRUE(IsZoomed(form->Handle()));
    EXPECT_GT(form->GetWidth(), 500);
    form->Close();
    EXPECT_EQ(stateAtClose, wsMaximized);
    EXPECT_EQ(seen.rcNormalPosition.left, 120);
    EXPECT_EQ(seen.rcNormalPosition.top, 110);
    EXPECT_EQ(seen.rcNormalPosition.right - seen.rcNormalPosition.left, 500);
    EXPECT_EQ(seen.rcNormalPosition.bottom - seen.rcNormalPosition.top, 350);
    form->Free();
    Pump();
}

TEST(Forms, CloseActionsAndCloseQuery)
{
    std::vector<String> journal;
    auto* form = New<TJournalForm>(nullptr, &journal);
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    form->Show();
    form->Close();
    EXPECT_TRUE(form->GetVisible());
    allow = true;
    form->OnClose = [](TObject*, TCloseAction& action) { action = caNone; };
    form->Close();
    EXPECT_TRUE(form->GetVisible());

    // caFree releases the form once its messages are done.
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    int formsBefore = Screen->FormCount();
    form->Close();
    EXPECT_FALSE(destroyed);
    Pump();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(Screen->FormCount(), formsBefore - 1);
}

TEST(Forms, ShowModalRunsUntilAModalResult)
{
    std::vector<String> journal;
    auto* owner = New<TJournalForm>(nullptr, &journal);
    owner->Show();
    Pump();
    auto* dialog = New<TForm>(nullptr);
    dialog->SetBorderStyle(bsDialog);
    bool ownerDisabledWhileModal = false;
    dialog->OnShow = [&](TObject*) {
        PostMessageW(dialog->Handle(), WM_APP + 7, 0, 0);
    };
    TWndMethod original = dialog->WindowProc;
    dialog->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_APP + 7) {
            ownerDisabledWhileModal = !IsWindowEnabled(owner->Handle());
            dialog->SetModalResult(mrOk);
            return;
        }
        original(m);
    };
    bool closed = false;
    dialog->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(ownerDisabledWhileModal);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_FALSE(dialog->GetVisible());
    // A visible form cannot go modal.
    dialog->Show();
    EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
    dialog->WindowProc = original;
    dialog->Free();
    owner->Free();
    Pump();
}

TEST(Forms, TabMovesTheFocusThroughTheTabOrder)
{
    std::vector<String> journal;
    auto* form = New<TJournalForm>(nullptr, &journal);
    std::vector<String> focus;
    form->first->OnEnter = [&](TObject*) { focus.push_back(L"enter first"); };
    form->first->OnExit = [&](TObject*) { focus.push_back(L"exit first"); };
    form->second->OnEnter = [&](TObject*) { focus.push_back(L"enter second"); };
    form->Show();
    ASSERT_TRUE(WaitFor([&] { return form->first->Focused(); }));
    EXPECT_EQ(form->GetActiveControl(), form->first);

    // The key goes through the application's loop, as typed keys do.
    PostMessageW(form->first->Handle(), WM_KEYDOWN, VK_TAB, 1);
    ASSERT_TRUE(WaitFor([&] { return form->second->Focused(); }));
    EXPECT_EQ(form->GetActiveControl(), form->second);
    EXPECT_EQ(Screen->ActiveControl(), form->second);
    EXPECT_EQ(focus, (std::vector<String>{L"enter first", L"exit first", L"enter second"}));

    form->second->SetTabOrder(0);
    EXPECT_EQ(form->FindNextControl(nullptr, true, true, false), form->second);
    form->Free();
    Pump();
}

TEST(Forms, KeyPreviewLetsTheFormSeeKeysFirst)
{
    std::vector<String> journal;
    auto* form = New<TJournalForm>(nullptr, &journal);
    form->SetKeyPreview(true);
    std::vector<String> keys;
    form->OnKeyDown = [&](TObject*, Word& key, TShiftState) {
        keys.push_back(L"form " + IntToStr(key));
        if (key == 'X')
            key = 0;
    };
    form->first->OnKeyDown = [&](TObject*, Word& key, TShiftState) { keys.push_back(L"control " + IntToStr(key)); };
    form->Show();
    Pump();
    SendMessageW(form->first->Handle(), WM_KEYDOWN, 'A', 1);
    SendMessageW(form->first->Handle(), WM_KEYDOWN, 'X', 1);
    EXPECT_EQ(keys, (std::vector<String>{L"form 65", L"control 65", L"form 88"}));
    form->Free();
    Pump();
}

TEST(Forms, BorderlessNoActivateFormShowsWithoutTakingActivation)
{
    class TPopup : public TForm {
    public:
        using TForm::TForm;

    protected:
        void CreateParams(TCreateParams& Params) override
        {
            TForm::CreateParams(Params);
            Params.ExStyle |= WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
        }
        void Dispatch(TMessage& Message) override
        {
            if (Message.Msg == WM_MOUSEACTIVATE) {
                Message.Result = MA_NOACTIVATE;
                return;
            }
            TForm::Dispatch(Message);
        }
    };
    std::vector<String> journal;
    auto* main = New<TJournalForm>(nullptr, &journal);
    main->Show();
    ASSERT_TRUE(WaitFor([&] { return main->Active(); }));
    auto* popup = New<TPopup>(nullptr);
    popup->SetBorderStyle(bsNone);
    bool activated = false;
    popup->OnActivate = [&](TObject*) { activated = true; };
    popup->Show();
    Pump();
    EXPECT_TRUE(IsWindowVisible(popup->Handle()));
    EXPECT_EQ(GetWindowLongW(popup->Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_EQ(GetActiveWindow(), main->Handle());
    EXPECT_FALSE(activated);
    EXPECT_EQ(SendMessageW(popup->Handle(), WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(main->Handle()),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    popup->Free();
    main->Free();
    Pump();
}

TEST(Forms, FormDesignedAtAnotherResolutionScalesWhenLoaded)
{
    class TDesignedForm : public TForm {
    public:
        explicit TDesignedForm(TComponent* AOwner) : TForm(AOwner)
        {
            BeginLoading();
            SetPixelsPerInch(Screen->PixelsPerInch() * 2);
            SetClientWidth(400);
            SetClientHeight(200);
            box = NewBox(this, alNone, 100, 40);
            box->SetBounds(20, 10, 100, 40);
        }
        TBox* box = nullptr;
    };
    auto* form = New<TDesignedForm>(nullptr);
    EXPECT_EQ(form->GetClientWidth(), 200);
    EXPECT_EQ(form->GetClientHeight(), 100);
    EXPECT_EQ(form->box->GetLeft(), 10);
    EXPECT_EQ(form->box->GetWidth(), 50);
    EXPECT_EQ(form->GetPixelsPerInch(), Screen->PixelsPerInch());
    form->Free();
}

// --- application ---------------------------------------------------------------------

TEST(Application, UnhandledExceptionShowsTheDefaultBox)
{
    auto* form = New<TForm>(nullptr);
    form->Show();
    Pump();
    String oldTitle = Application->GetTitle();
    Application->SetTitle(L"Tavelin");
    MessageBoxReader::Arm();
    TWndMethod original = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_APP + 3)
            throw EConvertError(L"'abc' is not a valid integer value");
        original(m);
    };
    SendMessageW(form->Handle(), WM_APP + 3, 0, 0);
    Application->SetTitle(oldTitle);
    EXPECT_EQ(MessageBoxReader::caption, L"Tavelin");
    EXPECT_EQ(MessageBoxReader::text, L"'abc' is not a valid integer value.");
    form->WindowProc = original;
    form->Free();
    Pump();
}

TEST(Application, MainWindowHooksSeeMessagesFirst)
{
    std::vector<UINT> seen;
    Application->HookMainWindow(1, [&](TMessage& m) {
        if (m.Msg == WM_APP + 9) {
            seen.push_back(m.Msg);
            m.Result = 42;
            return true;
        }
        return false;
    });
    EXPECT_EQ(SendMessageW(Application->GetHandle(), WM_APP + 9, 0, 0), 42);
    Application->UnhookMainWindow(1);
    EXPECT_EQ(SendMessageW(Application->GetHandle(), WM_APP + 9, 0, 0), 0);
    EXPECT_EQ(seen.size(), 1u);
}

TEST(Application, MainFormCloseEndsTheLoop)
{
    std::vector<String> journal;
    TJournalForm* form = nullptr;
    auto* saved = Application->GetMainForm();
    form = New<TJournalForm>(Application, &journal);
    Application->SetMainForm(form);
    form->OnShow = [&](TObject*) { PostMessageW(form->Handle(), WM_CLOSE, 0, 0); };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(journal.back(), L"close");
    form->Free();
    Application->SetMainForm(saved);
    // Later tests run their own loops: start the application afresh.
    Forms_Finalize();
    Forms_Initialize();
    Application->Initialize();
}

TEST(Application, CallsQueuedByAnotherThreadRunInTheLoop)
{
    class TWorker : public TThread {
    public:
        TWorker() : TThread(true) {}
        std::vector<DWORD> ranOn;

    protected:
        void Execute() override
        {
            Queue([this] { ranOn.push_back(GetCurrentThreadId()); });
            Synchronize([this] { ranOn.push_back(GetCurrentThreadId()); });
        }
    };
    auto* worker = New<TWorker>();
    worker->Start();
    // Synchronize holds the worker until the loop has run both calls.
    ASSERT_TRUE(WaitFor([&] { return worker->ranOn.size() == 2; }));
    worker->WaitFor();
    EXPECT_EQ(worker->ranOn, (std::vector<DWORD>{GetCurrentThreadId(), GetCurrentThreadId()}));
    worker->Free();
}

class THintedBox : public TBox {
public:
    using TBox::TBox;
    int hintShows = 0;

protected:
    void Dispatch(TMessage& Message) override
    {
        if (Message.Msg == CM_HINTSHOW) {
            ++hintShows;
            auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
            info->HintStr += L" (more)";
            Message.Result = 0;
            return;
        }
        TBox::Dispatch(Message);
    }
};

TEST(Application, HintShowsAfterThePauseAndCancels)
{
    auto* form = New<TForm>(nullptr);
    form->SetBounds(200, 200, 300, 200);
    auto* box = New<THintedBox>(form);
    box->SetBounds(10, 10, 100, 50);
    box->SetParent(form);
    box->SetHint(L"Save the list|Writes the computer list to a file");
    box->SetShowHint(true);
    String shown;
    Application->OnShowHint = [&](String& hint, bool& canShow, THintInfo& info) {
        shown = hint;
        EXPECT_EQ(info.HintControl, box);
        canShow = true;
    };
    form->Show();
    Pump();
    Application->SetHintPause(10);
    POINT at = box->ClientToScreen({20, 20});
    SetCursorPos(at.x, at.y);
    SendMessageW(box->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    ASSERT_TRUE(WaitFor([&] { return Application->HintWindow() && Application->HintWindow()->Active(); }));
    EXPECT_EQ(box->hintShows, 1);
    EXPECT_EQ(shown, L"Save the list (more)");
    EXPECT_EQ(Application->HintWindow()->GetCaption(), L"Save the list (more)");
    EXPECT_TRUE(IsWindowVisible(Application->HintWindow()->Handle()));
    Application->CancelHint();
    EXPECT_FALSE(Application->HintWindow()->Active());
    Application->OnShowHint = nullptr;
    Application->SetHintPause(500);
    form->Free();
    Pump();
}

// --- screen ----------------------------------------------------------------------------

TEST(Screen, KnowsFormsCursorsFontsAndMonitors)
{
    int before = Screen->FormCount();
    auto* form = New<TForm>(nullptr);
    EXPECT_EQ(Screen->FormCount(), before + 1);
    EXPECT_EQ(Screen->Forms(Screen->FormCount() - 1), form);
    form->Free();
    EXPECT_EQ(Screen->FormCount(), before);

    EXPECT_EQ(Screen->GetCursors(crIBeam), LoadCursorW(nullptr, IDC_IBEAM));
    EXPECT_EQ(Screen->GetCursors(crDefault), LoadCursorW(nullptr, IDC_ARROW));
    HCURSOR own = CopyCursor(LoadCursorW(nullptr, IDC_CROSS));
    Screen->SetCursors(1, own);
    EXPECT_EQ(Screen->GetCursors(1), own);
    Screen->SetCursors(1, nullptr);

    EXPECT_GT(Screen->PixelsPerInch(), 0);
    EXPECT_GT(Screen->Fonts()->Count(), 0);
    EXPECT_GE(Screen->Fonts()->IndexOf(L"Tahoma"), 0);
    EXPECT_FALSE(Screen->GetHintFont()->GetName().empty());
    ASSERT_GE(Screen->MonitorCount(), 1);
    TMonitor* m = Screen->MonitorFromPoint({10, 10});
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->Primary());
    RECT work = Screen->WorkAreaRect();
    EXPECT_GT(work.right - work.left, 0);
    EXPECT_EQ(Screen->MonitorFromPoint({-30000, -30000}, mdNull), nullptr);
}

} // namespace
