// TCustomForm: top-level windows with their life cycle, activation, focus,
// closing and modal showing.
#include "Forms.h"
#include "ScopeExit.h"
#include "Menus.h"
#include "PlatformProbe.h"
#include <algorithm>

namespace {

BOOL CALLBACK CollectTaskWindow(HWND wnd, LPARAM data)
{
    if (IsWindowVisible(wnd) && IsWindowEnabled(wnd))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(wnd);
    return TRUE;
}

} // namespace

std::vector<HWND> DisableTaskWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectTaskWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND wnd : windows)
        EnableWindow(wnd, FALSE);
    return windows;
}

void EnableTaskWindows(const std::vector<HWND>& Windows)
{
    for (HWND wnd : Windows)
        if (IsWindow(wnd))
            EnableWindow(wnd, TRUE);
}

TCustomForm* GetParentForm(TControl* Control, bool TopForm)
{
    TCustomForm* found = nullptr;
    for (TControl* c = Control; c; c = c->GetParent()) {
        if (auto* f = dynamic_cast<TCustomForm*>(c)) {
            found = f;
            if (!TopForm)
                return f;
        }
    }
    return found;
}

TCustomForm::TCustomForm(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetVisible(false);
    SetParentFont(false);
    SetParentColor(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    canvas_.reset(New<TControlCanvas>());
    static_cast<TControlCanvas*>(canvas_.get())->SetControl(this);
    if (Screen)
        Screen->AddForm(this);
}

TCustomForm::~TCustomForm() = default;

void TCustomForm::AfterConstruction()
{
    TScrollingWinControl::AfterConstruction();
    // A constructor that built the form "as streamed" ends loading here, on
    // the complete object, so Loaded runs the derived overrides.
    if (ComponentState().Contains(csLoading))
        EndLoading();
    created_ = true;
    DoCreate();
}

void TCustomForm::BeforeDestruction()
{
    if (GetVisible() && handle_ && !ComponentState().Contains(csDestroying))
        ShowWindow(handle_, SW_HIDE);
    try {
        DoDestroy();
    } catch (...) {
        if (Application)
            Application->HandleException(this);
    }
    if (Screen)
        Screen->RemoveForm(this);
    if (Application && Application->GetMainForm() == this)
        Application->SetMainForm(nullptr);
    TScrollingWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::DoDestroy()
{
    if (OnDestroy)
        OnDestroy(this);
}

void TCustomForm::Loaded()
{
    TScrollingWinControl::Loaded();
    // Designed at one resolution, shown at the screen's.
    int screenPpi = Screen ? Screen->PixelsPerInch() : ScreenPixelsPerInch();
    if (scaled_ && pixelsPerInch_ > 0 && pixelsPerInch_ != screenPpi) {
        ChangeScale(screenPpi, pixelsPerInch_);
        pixelsPerInch_ = screenPpi;
    }
}

void TCustomForm::ChangeScale(int M, int D)
{
    // A form keeps its position; its client area and contents scale.
    int cw = MulDiv(GetClientWidth(), M, D), ch = MulDiv(GetClientHeight(), M, D);
    int l = left_, t = top_;
    TScrollingWinControl::ChangeScale(M, D);
    SetBounds(l, t, width_, height_);
    SetClientWidth(cw);
    SetClientHeight(ch);
}

// --- window -------------------------------------------------------------------
void TCustomForm::CreateParams(TCreateParams& Params)
{
    TScrollingWinControl::CreateParams(Params);
    Params.WinClassName = ClassName();
    Params.WindowClass.style = CS_DBLCLKS;
    Params.WindowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    if (parent_) {
        Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        return;
    }
    Params.Style = WS_CLIPCHILDREN;
    Params.ExStyle = 0;
    Params.WndParent = GetParentWindow();
    if (!Params.WndParent && Application && !measuringParams_) {
        TCustomForm* main = Application->GetMainForm();
        // Other forms belong to the main form, so they stay above it and go with it.
        if (main && main != this && main->HandleAllocated())
            Params.WndParent = main->Handle();
    }
    switch (borderStyle_) {
    case bsNone: Params.Style |= WS_POPUP; break;
    case bsSingle: Params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        Params.Style |= WS_POPUP | WS_CAPTION;
        Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case bsToolWindow:
        Params.Style |= WS_CAPTION;
        Params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        Params.Style |= WS_CAPTION | WS_THICKFRAME;
        Params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
    if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) {
        Params.Style |= WS_SYSMENU;
        if (borderStyle_ == bsSingle || borderStyle_ == bsSizeable) {
            if (borderIcons_.Contains(biMinimize))
                Params.Style |= WS_MINIMIZEBOX;
            if (borderIcons_.Contains(biMaximize))
                Params.Style |= WS_MAXIMIZEBOX;
        }
        if (borderIcons_.Contains(biHelp) && !borderIcons_.Contains(biMinimize) &&
            !borderIcons_.Contains(biMaximize))
            Params.ExStyle |= WS_EX_CONTEXTHELP;
    }
    if (formStyle_ == fsStayOnTop)
        Params.ExStyle |= WS_EX_TOPMOST;
    if (alphaBlend_ && PlatformProbe().LayeredWindows)
        Params.ExStyle |= WS_EX_LAYERED;
}

void TCustomForm::CreateWnd()
{
    TScrollingWinControl::CreateWnd();
    if (menu_)
        SetMenu(menu_);
    ApplyAlphaBlend();
}

void TCustomForm::DestroyWindowHandle()
{
    // A window destroys its menu bar with it; the menu keeps its own.
    if (handle_ && menu_ && !parent_)
        ::SetMenu(handle_, nullptr);
    TScrollingWinControl::DestroyWindowHandle();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TScrollingWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == menu_)
        SetMenu(nullptr);
}

void TCustomForm::SetBorderStyle(TBorderStyle value)
{
    if (borderStyle_ == value)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value)
{
    if (borderIcons_ == value)
        return;
    borderIcons_ = value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value)
{
    if (formStyle_ == value)
        return;
    formStyle_ = value;
    if (handle_)
        SetWindowPos(handle_, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::GetWindowState() const
{
    if (handle_ && IsWindowVisible(handle_)) {
        if (IsIconic(handle_))
            return wsMinimized;
        if (IsZoomed(handle_))
            return wsMaximized;
        return wsNormal;
    }
    return windowState_;
}

void TCustomForm::SetWindowState(TWindowState value)
{
    windowState_ = value;
    // A hidden window takes the state when it is shown.
    if (handle_ && IsWindowVisible(handle_)) {
        static const int commands[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
        ShowWindow(handle_, commands[value]);
    }
}

void TCustomForm::SetAlphaBlend(bool value)
{
    if (alphaBlend_ == value)
        return;
    alphaBlend_ = value;
    ApplyAlphaBlend();
}

void TCustomForm::SetAlphaBlendValue(Byte value)
{
    if (alphaBlendValue_ == value)
        return;
    alphaBlendValue_ = value;
    ApplyAlphaBlend();
}

void TCustomForm::ApplyAlphaBlend()
{
    if (!handle_ || parent_ || !PlatformProbe().LayeredWindows)
        return;
    LONG ex = GetWindowLongW(handle_, GWL_EXSTYLE);
    if (alphaBlend_) {
        SetWindowLongW(handle_, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredWindowAttributes(handle_, 0, alphaBlendValue_, LWA_ALPHA);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongW(handle_, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
        RedrawWindow(handle_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

void TCustomForm::SetMenu(TMainMenu* value)
{
    menu_ = value;
    if (value)
        value->FreeNotification(this);
    if (handle_ && !parent_) {
        ::SetMenu(handle_, value ? value->GetHandle() : nullptr);
        DrawMenuBar(handle_);
    }
}

// --- showing --------------------------------------------------------------------
void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); return;
    case CM_ACTIVATE: CMActivate(Message); return;
    case CM_DEACTIVATE: CMDeactivate(Message); return;
    case CM_DIALOGKEY: CMDialogKey(Message); return;
    case WM_ACTIVATE: WMActivate(Message); return;
    case WM_CLOSE: WMClose(Message); return;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(Message); return;
    case WM_SYSCOMMAND: WMSysCommand(Message); return;
    case WM_SIZE:
        if (!parent_) {
            if (Message.WParam == SIZE_MAXIMIZED)
                windowState_ = wsMaximized;
            else if (Message.WParam == SIZE_MINIMIZED)
                windowState_ = wsMinimized;
            else if (Message.WParam == SIZE_RESTORED)
                windowState_ = wsNormal;
        }
        break;
    case WM_NCCREATE:
        // The window exists before CreateWindowEx returns; read its text from us.
        break;
    default:
        break;
    }
    TScrollingWinControl::Dispatch(Message);
}

void TCustomForm::CMShowingChanged(TMessage&)
{
    if (formState_.Contains(fsShowing))
        throw EInvalidOperation(L"Cannot change Visible in OnShow or OnHide");
    formState_ << fsShowing;
    const TScopeExit clear([this] { formState_ >> fsShowing; });
    if (Showing()) {
        try {
            DoShow();
        } catch (...) {
            if (Application)
                Application->HandleException(this);
        }
        if (!parent_)
            ApplyPosition();
        const bool noActivate = (GetWindowLongW(handle_, GWL_EXSTYLE) & WS_EX_NOACTIVATE) != 0;
        int cmd = SW_SHOWNORMAL;
        if (parent_ || noActivate)
            cmd = SW_SHOWNOACTIVATE;
        else if (windowState_ == wsMaximized)
            cmd = SW_SHOWMAXIMIZED;
        else if (windowState_ == wsMinimized)
            cmd = SW_SHOWMINIMIZED;
        ShowWindow(handle_, cmd);
        formState_ << fsVisible;
        if (!noActivate && !parent_ && windowState_ != wsMinimized)
            SetForegroundWindow(handle_);
    } else {
        try {
            DoHide();
        } catch (...) {
            if (Application)
                Application->HandleException(this);
        }
        if (Screen && Screen->focusedForm_ == this)
            Screen->SetFocused(nullptr, nullptr);
        ShowWindow(handle_, SW_HIDE);
        formState_ >> fsVisible;
    }
}

void TCustomForm::ApplyPosition()
{
    RECT area{};
    const TCustomForm* relative = nullptr;
    switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        break;
    case poMainFormCenter:
        relative = Application ? Application->GetMainForm() : nullptr;
        break;
    case poOwnerFormCenter:
        relative = dynamic_cast<TCustomForm*>(GetOwner());
        break;
    default:
        return;
    }
    if (relative && relative != this)
        area = relative->GetBoundsRect();
    else if (!relative && area.right == 0)
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    int x = area.left + ((area.right - area.left) - width_) / 2;
    int y = area.top + ((area.bottom - area.top) - height_) / 2;
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    SetBounds(x, y, width_, height_);
    // Centred once; later shows keep wherever the window is.
    position_ = poDesigned;
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

// --- activation and focus ---------------------------------------------------------
void TCustomForm::WMActivate(TMessage& M)
{
    const bool activating = LOWORD(M.WParam) != WA_INACTIVE;
    if (!activating) {
        // Another window took over; if it is none of our forms, this form
        // loses the focus for good and is told so now.
        auto* other = dynamic_cast<TCustomForm*>(FindControl(reinterpret_cast<HWND>(M.LParam)));
        if (!other && Screen && Screen->focusedForm_ == this) {
            Screen->SetFocused(nullptr, nullptr);
            Perform(CM_DEACTIVATE, 0, 0);
        }
    }
    SetActive(activating);
    M.Result = 0;
}

void TCustomForm::SetActive(bool value)
{
    active_ = value;
    if (!value)
        return;
    if (!activeControl_ && !ComponentState().Contains(csDesigning))
        activeControl_ = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
}

void TCustomForm::SetWindowFocus()
{
    HWND focus = activeControl_ && activeControl_->HandleAllocated() ? activeControl_->Handle() : handle_;
    if (!focus)
        return;
    ::SetFocus(focus);
    // Focus that was already there sends no WM_SETFOCUS; tell the form anyway.
    if (GetFocus() == focus && Screen && Screen->focusedForm_ != this)
        SendMessageW(focus, WM_SETFOCUS, 0, 0);
}

void TCustomForm::CMActivate(TMessage&)
{
    formState_ << fsActivated;
    Activate();
}

void TCustomForm::CMDeactivate(TMessage&)
{
    Deactivate();
}

void TCustomForm::Activate()
{
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate)
        OnDeactivate(this);
}

void TCustomForm::SetActiveControl(TWinControl* value)
{
    if (activeControl_ == value)
        return;
    if (value && (value == this || GetParentForm(value) != this ||
                  (!ComponentState().Contains(csLoading) && !value->CanFocus())))
        throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    activeControl_ = value;
    if (!ComponentState().Contains(csLoading) && active_)
        SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control)
{
    bool wasActive = active_;
    SetActiveControl(Control);
    if (!wasActive || !Control->Focused())
        SetFocus();
}

void TCustomForm::SetFocus()
{
    if (!GetVisible() || !GetEnabled())
        throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    HandleNeeded();
    SetWindowFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing)
{
    if (Removing && focusedControl_ && Control->ContainsControl(focusedControl_))
        focusedControl_ = Control->GetParent();
    if (activeControl_ && Control->ContainsControl(activeControl_))
        activeControl_ = nullptr;
}

bool TCustomForm::SetFocusedControl(TWinControl* Control)
{
    if (ComponentState().Contains(csDestroying))
        return true;
    if (Control != this)
        activeControl_ = Control;
    if (Screen && Screen->focusedForm_ != this) {
        if (TCustomForm* old = Screen->focusedForm_) {
            Screen->focusedForm_ = nullptr;
            old->Perform(CM_DEACTIVATE, 0, 0);
        }
        Screen->SetFocused(this, Control);
        Perform(CM_ACTIVATE, 0, 0);
    }
    if (focusedControl_ != Control) {
        // Exit from the old focus up to the common parent, enter down to the new.
        std::vector<TWinControl*> oldChain, newChain;
        for (TWinControl* c = focusedControl_; c && c != this; c = c->GetParent())
            oldChain.push_back(c);
        for (TWinControl* c = Control; c && c != this; c = c->GetParent())
            newChain.push_back(c);
        while (!oldChain.empty() && !newChain.empty() && oldChain.back() == newChain.back()) {
            oldChain.pop_back();
            newChain.pop_back();
        }
        focusedControl_ = Control;
        for (TWinControl* c : oldChain)
            c->Perform(CM_EXIT, 0, 0);
        for (auto it = newChain.rbegin(); it != newChain.rend(); ++it)
            (*it)->Perform(CM_ENTER, 0, 0);
    }
    if (Screen)
        Screen->SetFocused(this, Control);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
    return true;
}

void TCustomForm::SendCancelMode(TControl* Sender)
{
    if (active_ && activeControl_)
        activeControl_->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

void TCustomForm::CMDialogKey(TMessage& M)
{
    const WPARAM key = M.WParam;
    if (GetKeyState(VK_MENU) >= 0) {
        switch (key) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
                M.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (activeControl_ && activeControl_->GetParent()) {
                activeControl_->GetParent()->SelectNext(activeControl_, key == VK_RIGHT || key == VK_DOWN, false);
                M.Result = 1;
            }
            return;
        default:
            break;
        }
    }
    TScrollingWinControl::Dispatch(M);
}

// --- closing -------------------------------------------------------------------------
bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Close()
{
    if (formState_.Contains(fsModal)) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->GetMainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release()
{
    if (Application && Application->GetHandle())
        PostMessageW(Application->GetHandle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(this));
}

void TCustomForm::CloseModal()
{
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        modalResult_ = mrNone;
    else if (action == caFree)
        Release();
}

int TCustomForm::ShowModal()
{
    if (GetVisible() || !GetEnabled() || formState_.Contains(fsModal))
        throw EInvalidOperation(L"Cannot make a visible window modal");
    if (Application)
        Application->CancelHint();
    if (HWND captured = GetCapture()) {
        SendMessageW(captured, WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    formState_ << fsModal;
    const std::vector<HWND> disabled = DisableTaskWindows();
    const TScopeExit restore([this, &disabled] {
        EnableTaskWindows(disabled);
        formState_ >> fsModal;
    });
    modalResult_ = mrNone;
    Show();
    SendMessageW(Handle(), CM_ACTIVATE, 0, 0);
    do {
        Application->HandleMessage();
        if (Application->Terminated())
            modalResult_ = mrCancel;
        else if (modalResult_ != mrNone)
            CloseModal();
    } while (modalResult_ == mrNone);
    Hide();
    return modalResult_;
}

void TCustomForm::WMClose(TMessage&)
{
    Close();
}

void TCustomForm::WMGetMinMaxInfo(TMessage& M)
{
    DefaultHandler(M);
    auto* info = reinterpret_cast<MINMAXINFO*>(M.LParam);
    TSizeConstraints* c = GetConstraints();
    if (c->GetMinWidth() > 0)
        info->ptMinTrackSize.x = c->GetMinWidth();
    if (c->GetMinHeight() > 0)
        info->ptMinTrackSize.y = c->GetMinHeight();
    if (c->GetMaxWidth() > 0)
        info->ptMaxTrackSize.x = c->GetMaxWidth();
    if (c->GetMaxHeight() > 0)
        info->ptMaxTrackSize.y = c->GetMaxHeight();
}

void TCustomForm::WMSysCommand(TMessage& M)
{
    DefaultHandler(M);
}

// --- painting and menus ---------------------------------------------------------------
void TCustomForm::PaintWindow(HDC DC)
{
    static_cast<TControlCanvas*>(canvas_.get())->PaintOn(DC, [this] { Paint(); });
}

void TCustomForm::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

bool TCustomForm::DispatchMenuCommand(UINT id)
{
    if (menu_ && menu_->DispatchCommand(id))
        return true;
    return TPopupMenu::DispatchPopupCommand(id);
}

bool TCustomForm::DispatchMenuDrawItem(DRAWITEMSTRUCT* dis)
{
    if (TMenuItem* item = TMenu::FindItemForCommand(dis->itemID)) {
        item->DrawItem(dis);
        return true;
    }
    return false;
}

bool TCustomForm::DispatchMenuMeasureItem(MEASUREITEMSTRUCT* mis)
{
    if (TMenuItem* item = TMenu::FindItemForCommand(mis->itemID)) {
        item->MeasureItem(mis);
        return true;
    }
    return false;
}
