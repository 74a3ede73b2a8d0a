// Hooking a handler into real windows and out again: a class-library list
// box, a bare "LISTBOX" window and a provider form. The handler sees
// messages first; unhooking gives back what it replaced; a subclass put on
// top after the handler keeps working after unhooking and after the handler
// is freed; a destroyed bare scroll handler passes WM_NCDESTROY on; pointer
// commands from another thread are refused.
#include "SkinnedControls.h"
#include "acSBUtils.h"
#include <thread>

using namespace skinned_controls;

namespace {

// The spy under or over a bare window's handler: counts what reaches it.
struct TSpyCounts {
    int Messages = 0;
    int NcDestroys = 0;
    int UiStates = 0;
    int Commands = 0;
};
TSpyCounts Spy;
WNDPROC SpyNext = nullptr;

LRESULT CALLBACK SpyProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    ++Spy.Messages;
    if (Msg == WM_NCDESTROY)
        ++Spy.NcDestroys;
    if (Msg == WM_UPDATEUISTATE)
        ++Spy.UiStates;
    if (Msg == SkinCommandMessage)
        ++Spy.Commands;
    return CallWindowProcW(SpyNext, Wnd, Msg, WParam, LParam);
}

void InstallSpy(HWND Wnd)
{
    Spy = TSpyCounts();
    SpyNext = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SpyProc)));
}

LRESULT Command(HWND Wnd, int Cmd, LPARAM LParam = 0)
{
    return SendMessageW(Wnd, SkinCommandMessage, SkinCommandWParam(Cmd), LParam);
}

enum TWindowKind { wkControl, wkBare, wkProviderForm };

struct THookCase {
    const char* Name;
    TWindowKind Kind;
};

const THookCase HookCases[] = {
    {"class-library list box", wkControl},
    {"bare LISTBOX window", wkBare},
    {"provider form", wkProviderForm},
};

// One window of a kind with a handler of the base kind hooked into it.
struct THookedWindow {
    TControlsScene& Scene;
    TWindowKind Kind;
    TListBox* List = nullptr;
    HWND Bare = nullptr;
    TOwned<TForm> Form;
    TOwned<TsSkinProvider> Provider;
    TacMainWnd* Handler = nullptr;
    // Counts what reaches the control's method under the handler.
    int MethodCommands = 0;

    THookedWindow(TControlsScene& S, TWindowKind K) : Scene(S), Kind(K)
    {
        TacSkinParams params;
        params.SkinSection = L"PANEL";
        TsCommonData* data = nullptr;
        HWND wnd = nullptr;
        switch (Kind) {
        case wkControl: {
            List = New<TListBox>(Scene.form.get());
            List->SetParent(Scene.form.get());
            List->SetBounds(10, 10, 100, 80);
            List->HandleNeeded();
            TWndMethod old = List->WindowProc;
            List->WindowProc = [this, old](TMessage& M) {
                if (M.Msg == SkinCommandMessage)
                    ++MethodCommands;
                old(M);
            };
            params.Control = List;
            wnd = List->GetHandle();
            break;
        }
        case wkBare:
            Bare = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 80,
                                   Scene.form->GetHandle(), nullptr, GetModuleHandleW(nullptr), nullptr);
            InstallSpy(Bare);
            wnd = Bare;
            break;
        case wkProviderForm:
            Form.reset(New<TForm>(nullptr));
            Form->SetBounds(150, 150, 200, 150);
            Provider.reset(New<TsSkinProvider>(Form.get()));
            Form->HandleNeeded();
            data = Provider->FCommonData;
            wnd = Form->GetHandle();
            break;
        }
        Handler = new TacMainWnd();
        Handler->Create(wnd, true, params, Scene.manager.get(), data);
    }
    ~THookedWindow()
    {
        FreeAndNil(Handler);
        // The control goes while every subclass in its chain still exists.
        if (List)
            List->Free();
        Provider.reset();
        Form.reset();
        if (Bare)
            DestroyWindow(Bare);
    }
    HWND Wnd() const { return Handler ? Handler->CtrlHandle : List ? List->GetHandle() : Bare ? Bare : Form->GetHandle(); }
    TWndMethod* Method() { return Kind == wkControl ? &List->WindowProc : Kind == wkProviderForm ? &Form->WindowProc : nullptr; }
};

// A later subclass: counts and passes on.
struct TLaterSubclass {
    int Seen = 0;
    TWndMethod Old;
};
TLaterSubclass* LaterBare = nullptr;
WNDPROC LaterNext = nullptr;
LRESULT CALLBACK LaterProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (LaterBare)
        ++LaterBare->Seen;
    return CallWindowProcW(LaterNext, Wnd, Msg, WParam, LParam);
}

void InstallLater(THookedWindow& W, TLaterSubclass& Later)
{
    if (TWndMethod* slot = W.Method()) {
        Later.Old = *slot;
        TLaterSubclass* later = &Later;
        *slot = [later](TMessage& M) {
            ++later->Seen;
            later->Old(M);
        };
    } else {
        LaterBare = &Later;
        LaterNext = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(W.Bare, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
    }
}

class HookingTest : public testing::TestWithParam<THookCase> {
protected:
    TControlsScene scene{"Controls"};
};

} // namespace

TEST_P(HookingTest, HandlerSeesMessagesFirstAndUnhookingGivesBack)
{
    THookedWindow w(scene, GetParam().Kind);
    const HWND wnd = w.Wnd();
    EXPECT_EQ(Command(wnd, SKC_QUERY_HANDLER), reinterpret_cast<LRESULT>(w.Handler));
    EXPECT_EQ(Command(wnd, SKC_QUERY_HANDLED), 1);
    // Handled alone: the control's own handling never saw the two commands.
    if (GetParam().Kind == wkControl)
        EXPECT_EQ(w.MethodCommands, 0);
    if (GetParam().Kind == wkBare)
        EXPECT_EQ(Spy.Commands, 0);
    TacMainWnd* handler = w.Handler;
    UnhookWndHandler(wnd, false, false, handler);
    EXPECT_TRUE(w.Handler->Destroyed);
    EXPECT_NE(Command(wnd, SKC_QUERY_HANDLER), reinterpret_cast<LRESULT>(w.Handler));
    if (GetParam().Kind == wkBare)
        EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)), &SpyProc);
    if (GetParam().Kind == wkControl) {
        Command(wnd, SKC_QUERY_HANDLER);
        EXPECT_GE(w.MethodCommands, 1);
    }
}

TEST_P(HookingTest, LaterSubclassKeepsWorkingAfterUnhookAndFree)
{
    TLaterSubclass later;
    THookedWindow w(scene, GetParam().Kind);
    const HWND wnd = w.Wnd();
    InstallLater(w, later);
    TacMainWnd* handler = w.Handler;
    UnhookWndHandler(wnd, false, false, handler);
    EXPECT_FALSE(w.Handler->Destroyed);
    // Still in the chain under the later subclass: still answering.
    EXPECT_EQ(Command(wnd, SKC_QUERY_HANDLER), reinterpret_cast<LRESULT>(w.Handler));
    const LRESULT freed = reinterpret_cast<LRESULT>(w.Handler);
    FreeAndNil(w.Handler);
    const int seen = later.Seen;
    // The freed handler's place forwards: the window works as before.
    EXPECT_NE(Command(wnd, SKC_QUERY_HANDLER), freed);
    if (w.Kind != wkProviderForm) {
        SendMessageW(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
        SendMessageW(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"two"));
        EXPECT_EQ(SendMessageW(wnd, LB_GETCOUNT, 0, 0), 2);
    } else
        EXPECT_TRUE(SetWindowTextW(wnd, L"still here"));
    EXPECT_GT(later.Seen, seen);
    LaterBare = nullptr;
}

TEST_P(HookingTest, BaseEdgeCases)
{
    THookedWindow w(scene, GetParam().Kind);
    const HWND wnd = w.Wnd();
    // WM_UPDATEUISTATE never reaches the window's own handling.
    if (GetParam().Kind == wkBare) {
        SendMessageW(wnd, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
        EXPECT_EQ(Spy.UiStates, 0);
    }
    // SKC_SET_SECTION without a name answers 0 and changes nothing.
    const String section = w.Handler->SkinData->GetSkinSection();
    EXPECT_EQ(Command(wnd, SKC_SET_SECTION, 0), 0);
    EXPECT_EQ(w.Handler->SkinData->GetSkinSection(), section);
    // Only while the manager is active does the handler answer command 7.
    scene.manager->SetActive(false);
    const int before = GetParam().Kind == wkBare ? Spy.Commands : w.MethodCommands;
    Command(wnd, SKC_QUERY_HANDLED);
    if (GetParam().Kind == wkBare)
        EXPECT_EQ(Spy.Commands, before + 1);
    if (GetParam().Kind == wkControl)
        EXPECT_EQ(w.MethodCommands, before + 1);
    scene.manager->SetActive(true);
}

TEST_P(HookingTest, PointerCommandsFromAnotherThreadAnswerZero)
{
    THookedWindow w(scene, GetParam().Kind);
    const HWND wnd = w.Wnd();
    const String section = w.Handler->SkinData->GetSkinSection();
    const wchar_t* name = L"SOLID";
    TacBGRequest request;
    request.Color = 0x123456;
    LRESULT setAnswer = -1, bgAnswer = -1;
    std::thread sender([&] {
        setAnswer = SendMessageW(wnd, SkinCommandMessage, SkinCommandWParam(SKC_SET_SECTION),
                                 reinterpret_cast<LPARAM>(name));
        bgAnswer = SendMessageW(wnd, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_BACKGROUND),
                                reinterpret_cast<LPARAM>(&request));
    });
    while (bgAnswer == -1) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        testing_support::PumpMessages();
    }
    sender.join();
    EXPECT_EQ(setAnswer, 0);
    EXPECT_EQ(bgAnswer, 0);
    EXPECT_EQ(w.Handler->SkinData->GetSkinSection(), section);
    EXPECT_EQ(request.BgKind, bgNone);
    EXPECT_EQ(request.Color, 0x123456);
    // The same commands from this thread are answered.
    EXPECT_EQ(Command(wnd, SKC_SET_SECTION, reinterpret_cast<LPARAM>(name)), 1);
    EXPECT_EQ(w.Handler->SkinData->GetSkinSection(), L"SOLID");
}

INSTANTIATE_TEST_SUITE_P(Windows, HookingTest, testing::ValuesIn(HookCases),
                         [](const testing::TestParamInfo<THookCase>& info) {
                             std::string name;
                             for (const char* c = info.param.Name; *c; ++c)
                                 if (isalnum(static_cast<unsigned char>(*c)))
                                     name += *c;
                             return name;
                         });

TEST(ScrollHandlerHooking, DestroyedBareHandlerPassesNcDestroyOn)
{
    TControlsScene scene("Controls");
    HWND wnd = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 10, 10, 100, 80,
                               scene.form->GetHandle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    InstallSpy(wnd);
    auto* handler = new TacScrollWnd();
    TacSkinParams params;
    params.SkinSection = L"PANEL";
    handler->Create(wnd, true, params, scene.manager.get(), nullptr);
    EXPECT_EQ(GetWndScrollHandler(wnd), handler);
    TacMainWnd* h = handler;
    UnhookScrollWndHandler(wnd, false, false, h);
    EXPECT_TRUE(handler->Destroyed);
    DestroyWindow(wnd);
    EXPECT_EQ(Spy.NcDestroys, 1);
    FreeAndNil(h);
}

TEST(ScrollHandlerHooking, FreeingPutsTheBareProcedureBackOnlyWhenOnTop)
{
    TControlsScene scene("Controls");
    HWND wnd = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 10, 10, 100, 80,
                               scene.form->GetHandle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    const auto original = GetWindowLongPtrW(wnd, GWLP_WNDPROC);
    TacMainWnd* handler = new TacScrollWnd();
    handler->Create(wnd, true, TacSkinParams(), scene.manager.get(), nullptr);
    UnhookScrollWndHandler(wnd, true, false, handler);
    EXPECT_EQ(handler, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(wnd, GWLP_WNDPROC), original);
    // With a subclass on top, the subclass stays and the window keeps working.
    handler = new TacScrollWnd();
    handler->Create(wnd, true, TacSkinParams(), scene.manager.get(), nullptr);
    TLaterSubclass later;
    LaterBare = &later;
    LaterNext = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterProc)));
    UnhookScrollWndHandler(wnd, true, false, handler);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)), &LaterProc);
    SendMessageW(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"one"));
    EXPECT_EQ(SendMessageW(wnd, LB_GETCOUNT, 0, 0), 1);
    EXPECT_GT(later.Seen, 0);
    DestroyWindow(wnd);
    LaterBare = nullptr;
}

TEST(HandlerSelection, FirstListWinsAndUnbuiltKindsGiveNoHandler)
{
    TControlsScene scene("Controls");
    // A class named in two lists gets the lower list's kind.
    scene.manager->ThirdLists(3)->Add(L"TTwice");
    scene.manager->ThirdLists(20)->Add(L"TTwice");
    EXPECT_EQ(FindThirdPartyKind(scene.manager.get(), L"TTwice"), 3);
    EXPECT_EQ(FindThirdPartyKind(scene.manager.get(), L"TNobody"), -1);
    EXPECT_STREQ(ThirdPartyHandlerClasses[20].Name, L"TacSBWnd");
    EXPECT_EQ(CreateThirdPartyHandler(3, scene.form->GetHandle(), true, TacSkinParams(), scene.manager.get(), nullptr),
              nullptr);
}

TEST(HandlerStartup, BindsTheScrollBarFunctionsByName)
{
    EXPECT_NE(acGetScrollBarInfo, nullptr);
    EXPECT_NE(acInitializeFlatSB, nullptr);
    EXPECT_NE(acUninitializeFlatSB, nullptr);
}
