// TApplication: the hidden application window, the message loop, key
// routing to controls, hints and the default exception box.
#include "Forms.h"
#include "Menus.h"
#include "ScopeExit.h"
#include <algorithm>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;
THintWindowClass HintWindowClass = [](TComponent* owner) -> THintWindow* { return New<THintWindow>(owner); };

namespace {

const wchar_t* const AppWindowClass = L"TApplication";
constexpr UINT_PTR HintTimerId = 0x4849;
enum HintTimerKind { htNone, htShow, htHide };

// The first part of a hint "short|long".
String ShortHint(const String& hint)
{
    auto bar = hint.find(L'|');
    return bar == String::npos ? hint : hint.substr(0, bar);
}

TControl* HintControlFor(TControl* control)
{
    while (control && !control->GetShowHint())
        control = control->GetParent();
    if (control && control->ComponentState().Contains(csDesigning))
        return nullptr;
    return control;
}

} // namespace

LRESULT CALLBACK ApplicationWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!Application || Application->handle_ != wnd)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        Application->WndProc(m);
    } catch (...) {
        Application->HandleException(Application);
    }
    return m.Result;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    wchar_t path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    String exe(path, n);
    auto slash = exe.find_last_of(L"\\/");
    String base = slash == String::npos ? exe : exe.substr(slash + 1);
    auto dot = base.rfind(L'.');
    title_ = dot == String::npos ? base : base.substr(0, dot);
}

TApplication::~TApplication()
{
    StopHintTimer();
    if (hintWindow_) {
        hintWindow_->Free();
        hintWindow_ = nullptr;
    }
    if (handle_) {
        WakeMainThread = nullptr;
        HWND wnd = handle_;
        handle_ = nullptr;
        DestroyWindow(wnd);
    }
}

void TApplication::CreateHandle()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = ApplicationWndProc;
    wc.hInstance = HInstance();
    wc.lpszClassName = AppWindowClass;
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    WNDCLASSW existing{};
    if (!GetClassInfoW(HInstance(), AppWindowClass, &existing))
        RegisterClassW(&wc);
    // A window that is never shown: it owns the forms' taskbar life, the
    // hint timer and the messages posted to the application.
    handle_ = CreateWindowExW(0, AppWindowClass, title_.c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                              nullptr, nullptr, HInstance(), nullptr);
    if (!handle_)
        throw EOutOfResources(L"Cannot create the application window");
    // Other threads wake the loop with a message; it then runs their calls.
    HWND wnd = handle_;
    WakeMainThread = [wnd] { PostMessageW(wnd, WM_TAVELIN_WAKEMAINTHREAD, 0, 0); };
}

HWND TApplication::GetHandle()
{
    if (!handle_)
        CreateHandle();
    return handle_;
}

void TApplication::Initialize()
{
    GetHandle();
}

void TApplication::SetTitle(const String& value)
{
    title_ = value;
    if (handle_)
        SetWindowTextW(handle_, value.c_str());
}

String TApplication::ExeName() const
{
    wchar_t path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    return String(path, n);
}

void TApplication::SetMainForm(TCustomForm* form)
{
    mainForm_ = form;
}

// --- message loop -------------------------------------------------------------
bool TApplication::ProcessMessage(MSG& msg)
{
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    bool handled = false;
    if (OnMessage)
        OnMessage(msg, handled);
    if (!handled && !IsHintMsg(msg) && !IsKeyMsg(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
    CheckSynchronize();
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg))
        Idle(msg);
}

void TApplication::Idle(const MSG&)
{
    // The control under the mouse may have changed without a mouse message
    // (a window moved or closed under the cursor).
    POINT p;
    if (GetCursorPos(&p)) {
        TControl* under = FindDragTarget(p, true);
        if (under != MouseControl() && (!GetCapture() || !under))
            SetMouseControl(under);
        if (hintControl_ && HintControlFor(under) != hintControl_)
            CancelHint();
    }
    bool done = true;
    try {
        if (OnIdle)
            OnIdle(this, done);
        if (CheckSynchronize())
            done = false;
    } catch (...) {
        HandleException(this);
    }
    if (done && !terminated_)
        WaitMessage();
}

void TApplication::Run()
{
    running_ = true;
    const TScopeExit stopped([this] { running_ = false; });
    if (mainForm_ && showMainForm_) {
        mainForm_->SetVisible(true);
    }
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate()
{
    // The loop ends when it takes the quit message, so none is left behind.
    PostQuitMessage(0);
}

bool TApplication::IsKeyMsg(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    HWND wnd = GetCapture();
    if (!wnd)
        wnd = msg.hwnd;
    // Keys of a foreign inner window (a combo box's edit) go to the
    // nearest control that contains it.
    while (wnd && !FindControl(wnd))
        wnd = GetParent(wnd);
    if (!wnd)
        return false;
    return SendMessageW(wnd, CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

void TApplication::HookMainWindow(int id, TWindowHook hook)
{
    UnhookMainWindow(id);
    hooks_.emplace_back(id, std::move(hook));
}

void TApplication::UnhookMainWindow(int id)
{
    hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [id](const auto& h) { return h.first == id; }),
                 hooks_.end());
}

void TApplication::WndProc(TMessage& Message)
{
    // A hook may unhook itself (or others) while it runs.
    auto hooks = hooks_;
    for (auto& hook : hooks)
        if (hook.second && hook.second(Message))
            return;
    switch (Message.Msg) {
    case WM_CLOSE:
        if (mainForm_)
            mainForm_->Close();
        return;
    case WM_ACTIVATEAPP:
        active_ = Message.WParam != 0;
        if (!active_)
            CancelHint();
        if (active_ && OnActivate)
            OnActivate(this);
        if (!active_ && OnDeactivate)
            OnDeactivate(this);
        break;
    case WM_ENDSESSION:
        if (Message.WParam)
            Terminate();
        return;
    case WM_TAVELIN_WAKEMAINTHREAD:
        CheckSynchronize();
        return;
    case WM_TIMER:
        if (Message.WParam == HintTimerId) {
            HintTimerExpired();
            return;
        }
        break;
    case WM_DRAWITEM:
        // Owner-drawn pop-up menus belong to this window.
        if (auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam); dis && dis->CtlType == ODT_MENU) {
            if (TMenuItem* item = TMenu::FindItemForCommand(dis->itemID)) {
                item->DrawItem(dis);
                Message.Result = TRUE;
                return;
            }
        }
        break;
    case WM_MEASUREITEM:
        if (auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam); mis && mis->CtlType == ODT_MENU) {
            if (TMenuItem* item = TMenu::FindItemForCommand(mis->itemID)) {
                item->MeasureItem(mis);
                Message.Result = TRUE;
                return;
            }
        }
        break;
    case CM_RELEASE: {
        // Forms asked to be freed once their own messages were done.
        auto* form = reinterpret_cast<TCustomForm*>(Message.LParam);
        if (Screen) {
            for (int i = 0; i < Screen->FormCount(); ++i)
                if (Screen->Forms(i) == form) {
                    form->Free();
                    break;
                }
        }
        return;
    }
    default:
        break;
    }
    Message.Result = DefWindowProcW(handle_, Message.Msg, Message.WParam, Message.LParam);
}

// --- exceptions ---------------------------------------------------------------------
void TApplication::HandleException(TObject* Sender)
{
    // Called from a catch block: the exception in flight is the one handled.
    if (handlingException_)
        return;
    handlingException_ = true;
    const TScopeExit reset([this] { handlingException_ = false; });
    try {
        throw;
    } catch (const EAbort&) {
    } catch (const Exception& e) {
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    } catch (const std::exception& e) {
        Exception wrapped(String(e.what(), e.what() + std::char_traits<char>::length(e.what())));
        if (OnException)
            OnException(Sender, wrapped);
        else
            ShowException(wrapped);
    } catch (...) {
        Exception unknown(L"Unknown exception");
        if (OnException)
            OnException(Sender, unknown);
        else
            ShowException(unknown);
    }
}

void TApplication::ShowException(const Exception& E)
{
    String text = E.Message();
    // The box reads as a sentence.
    if (!text.empty() && text.back() > L'.')
        text += L'.';
    MessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

void TApplication::ShowException(const std::exception& E)
{
    const char* what = E.what();
    int n = MultiByteToWideChar(CP_UTF8, 0, what, -1, nullptr, 0);
    String text(static_cast<std::size_t>(std::max(n, 1)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, what, -1, text.data(), n);
    text.resize(static_cast<std::size_t>(std::max(n - 1, 0)));
    ShowException(Exception(text));
}

int TApplication::MessageBox(const String& Text, const String& Caption, UINT Flags)
{
    HWND owner = nullptr;
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
        owner = Screen->ActiveForm()->Handle();
    else if (mainForm_ && mainForm_->HandleAllocated())
        owner = mainForm_->Handle();
    CancelHint();
    return ::MessageBoxW(owner, Text.c_str(), Caption.c_str(), Flags);
}

void TApplication::Minimize()
{
    if (mainForm_ && mainForm_->HandleAllocated())
        ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
}

void TApplication::Restore()
{
    if (mainForm_ && mainForm_->HandleAllocated() && IsIconic(mainForm_->Handle()))
        ShowWindow(mainForm_->Handle(), SW_RESTORE);
}

void TApplication::BringToFront()
{
    if (mainForm_ && mainForm_->HandleAllocated())
        SetForegroundWindow(mainForm_->Handle());
}

// --- hints -------------------------------------------------------------------------
void TApplication::SetShowHint(bool value)
{
    showHint_ = value;
    if (!value)
        CancelHint();
}

void TApplication::SetHint(const String& value)
{
    if (hint_ == value)
        return;
    hint_ = value;
    if (OnHint)
        OnHint(this);
}

bool TApplication::IsHintMsg(const MSG& msg)
{
    if (hintWindow_ && hintWindow_->Active() && hintWindow_->IsHintMsg(msg))
        CancelHint();
    return false;
}

void TApplication::StartHintTimer(int pause, int kind)
{
    StopHintTimer();
    hintTimerKind_ = kind;
    SetTimer(GetHandle(), HintTimerId, static_cast<UINT>(std::max(pause, 1)), nullptr);
}

void TApplication::StopHintTimer()
{
    if (hintTimerKind_ != htNone && handle_)
        KillTimer(handle_, HintTimerId);
    hintTimerKind_ = htNone;
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message)
{
    TControl* control = HintControlFor(Control);
    POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
    POINT screenPos = Control->ClientToScreen(p);
    SetHint(control ? control->GetHint() : String());
    if (!showHint_ || !control) {
        CancelHint();
        return;
    }
    if (control == hintControl_ && hintActive_ && PtInRect(&hintCursorRect_, screenPos))
        return;
    bool wasActive = hintActive_;
    if (control != hintControl_ || !PtInRect(&hintCursorRect_, screenPos)) {
        if (hintWindow_)
            hintWindow_->ReleaseHandle();
        hintActive_ = false;
    }
    hintControl_ = control;
    StartHintTimer(wasActive ? hintShortPause_ : hintPause_, htShow);
}

void TApplication::HintTimerExpired()
{
    int kind = hintTimerKind_;
    StopHintTimer();
    if (kind == htHide) {
        CancelHint();
        return;
    }
    POINT p;
    GetCursorPos(&p);
    ActivateHint(p);
}

void TApplication::ActivateHint(POINT CursorPos)
{
    TControl* control = HintControlFor(FindDragTarget(CursorPos, true));
    if (!control || !showHint_ || (hintControl_ && control != hintControl_)) {
        CancelHint();
        return;
    }
    hintControl_ = control;
    THintInfo info;
    info.HintControl = control;
    info.HintWindowClass = HintWindowClass;
    info.HintPos = {CursorPos.x, CursorPos.y + GetSystemMetrics(SM_CYCURSOR) * 3 / 4};
    info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = hintColor_;
    info.CursorRect = control->GetClientRect();
    info.CursorPos = control->ScreenToClient(CursorPos);
    info.HideTimeout = hintHidePause_;
    info.HintStr = ShortHint(control->GetHint());
    bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    if (canShow && OnShowHint)
        OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty()) {
        CancelHint();
        return;
    }
    // A hint control may ask for its own window class each time.
    if (hintWindow_)
        hintWindow_->Free();
    hintWindow_ = info.HintWindowClass ? info.HintWindowClass(this) : HintWindowClass(this);
    hintWindow_->SetColor(info.HintColor);
    RECT r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(&r, info.HintPos.x, info.HintPos.y);
    hintWindow_->ActivateHintData(r, info.HintStr, info.HintData);
    hintActive_ = true;
    POINT tl = control->ClientToScreen({info.CursorRect.left, info.CursorRect.top});
    POINT br = control->ClientToScreen({info.CursorRect.right, info.CursorRect.bottom});
    hintCursorRect_ = {tl.x, tl.y, br.x, br.y};
    if (info.HideTimeout > 0)
        StartHintTimer(info.HideTimeout, htHide);
}

void TApplication::CancelHint()
{
    StopHintTimer();
    if (hintWindow_)
        hintWindow_->ReleaseHandle();
    hintActive_ = false;
    hintControl_ = nullptr;
}

void TApplication::ControlDestroyed(TControl* Control)
{
    if (hintControl_ == Control || (hintControl_ && dynamic_cast<TWinControl*>(Control) &&
                                    static_cast<TWinControl*>(Control)->ContainsControl(hintControl_)))
        CancelHint();
    if (Control == hintWindow_)
        hintWindow_ = nullptr;
}

bool TApplication::ModalFormRunning() const
{
    if (!Screen)
        return false;
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->FormState().Contains(fsModal))
            return true;
    return false;
}

// ---------------------------------------------------------------------------
void Forms_Initialize()
{
    if (!Screen)
        Screen = New<TScreen>(nullptr);
    if (!Application)
        Application = New<TApplication>(nullptr);
}

void Forms_Finalize()
{
    // The application frees the forms it owns; then the screen goes.
    if (Application) {
        TApplication* app = Application;
        app->Free();
        Application = nullptr;
    }
    if (Screen) {
        TScreen* screen = Screen;
        screen->Free();
        Screen = nullptr;
    }
}
