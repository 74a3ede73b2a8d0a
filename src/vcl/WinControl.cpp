// TWinControl: the real window behind a control, its window procedure,
// children, alignment, painting, keys and focus.
#include "Controls.h"
#include "Forms.h"
#include "Menus.h"
#include "TypInfo.h"
#include "ScopeExit.h"
#include <algorithm>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace {

const wchar_t* const ControlProp = L"TavelinControl";

// Our windows' controls, looked up on every message. The window property
// stays for whoever reads it, but reading one is a round trip to the
// platform's server under Wine, which every message would pay.
class TControlTable {
public:
    void Bind(HWND Wnd, TWinControl* Control)
    {
        std::lock_guard lock(mutex_);
        controls_[Wnd] = Control;
    }
    void Unbind(HWND Wnd, const TWinControl* Control)
    {
        std::lock_guard lock(mutex_);
        auto found = controls_.find(Wnd);
        if (found != controls_.end() && found->second == Control)
            controls_.erase(found);
    }
    TWinControl* Find(HWND Wnd)
    {
        std::lock_guard lock(mutex_);
        auto found = controls_.find(Wnd);
        return found == controls_.end() ? nullptr : found->second;
    }

private:
    std::mutex mutex_;
    std::unordered_map<HWND, TWinControl*> controls_;
};
TControlTable controlTable;
// The control whose window CreateWindowEx is making on this thread: the
// first message of the new window binds the two.
thread_local TWinControl* creationControl = nullptr;

struct RegisteredClass {
    String name;
    WNDPROC defProc;
};
std::vector<RegisteredClass> registeredClasses;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

} // namespace

// Every window of a control runs this: the message goes to the control's
// WindowProc; no exception may leave it.
LRESULT CALLBACK ControlWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = controlTable.Find(wnd);
    if (!control)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        control->WindowProc(m);
    } catch (...) {
        if (Application)
            Application->HandleException(control);
    }
    if (msg == WM_NCDESTROY && controlTable.Find(wnd) == control) {
        RemovePropW(wnd, ControlProp);
        controlTable.Unbind(wnd, control);
        control->handle_ = nullptr;
    }
    return m.Result;
}

LRESULT CALLBACK InitControlWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = creationControl;
    if (!control)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    creationControl = nullptr;
    control->handle_ = wnd;
    SetPropW(wnd, ControlProp, control);
    controlTable.Bind(wnd, control);
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWndProc));
    return ControlWndProc(wnd, msg, wParam, lParam);
}

TWinControl* TWinControl::FromHandle(HWND wnd)
{
    if (!wnd)
        return nullptr;
    // Only our own procedure's windows carry our pointer; a foreign window
    // could carry a property of the same name with other meaning.
    if (GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&ControlWndProc))
        return controlTable.Find(wnd);
    return static_cast<TWinControl*>(GetPropW(wnd, ControlProp));
}

// ---------------------------------------------------------------------------
TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner)
{
    brush_ = New<TBrush>();
    brush_->SetColor(GetColor());
}

TWinControl::~TWinControl()
{
    if (brush_)
        brush_->Free();
}

TWinControl* TWinControl::CreateParented(HWND ParentWindow)
{
    auto* control = New<TWinControl>(nullptr);
    control->SetParentWindow(ParentWindow);
    return control;
}

void TWinControl::BeforeDestruction()
{
    TControl::BeforeDestruction();
    // Children that nobody owns go with their parent.
    while (!winControls_.empty() || !controls_.empty()) {
        TControl* child = !winControls_.empty() ? static_cast<TControl*>(winControls_.back()) : controls_.back();
        if (child->GetOwner() == nullptr || child->GetOwner() == this) {
            child->Free();
        } else {
            RemoveControl(child);
        }
    }
    if (handle_)
        DestroyWindowHandle();
}

// --- handle life --------------------------------------------------------------
HWND TWinControl::GetHandle()
{
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded()
{
    if (handle_)
        return;
    if (parent_)
        parent_->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateHandle()
{
    if (handle_)
        return;
    CreateWnd();
    if (parent_) {
        // Keep the window's z order that of the child list, the last on top
        // (as BringToFront leaves it): below the next sibling that has a
        // window, else on top. The platform puts new child windows at the bottom.
        HWND after = HWND_TOP;
        auto& siblings = parent_->winControls_;
        auto it = std::find(siblings.begin(), siblings.end(), this);
        for (auto next = it == siblings.end() ? it : it + 1; next != siblings.end(); ++next)
            if ((*next)->handle_) {
                after = (*next)->handle_;
                break;
            }
        SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    for (TControl* c : controls_)
        c->UpdateAnchorRules();
    for (TWinControl* c : winControls_)
        c->UpdateAnchorRules();
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params = TCreateParams{};
    Params.Caption = text_;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle.Contains(csAcceptsControls))
        Params.Style |= WS_CLIPCHILDREN;
    if (!GetEnabled())
        Params.Style |= WS_DISABLED;
    if (tabStop_)
        Params.Style |= WS_TABSTOP;
    Params.X = left_;
    Params.Y = top_;
    Params.Width = width_;
    Params.Height = height_;
    if (parent_)
        Params.WndParent = measuringParams_ ? nullptr : parent_->GetHandle();
    else
        Params.WndParent = parentWindow_;
    Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    Params.WindowClass.lpfnWndProc = DefWindowProcW;
    Params.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    Params.WindowClass.hbrBackground = nullptr;
    Params.WindowClass.hInstance = HInstance();
    Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName)
{
    WNDCLASSW wc{};
    if (!GetClassInfoW(nullptr, ControlClassName, &wc) && !GetClassInfoW(HInstance(), ControlClassName, &wc))
        throw EOutOfResources(L"Cannot find the window class " + String(ControlClassName));
    // Keep the styles the control asked for except the ones the system class owns.
    const UINT keep = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.style = (wc.style & ~keep) | (Params.WindowClass.style & keep);
    wc.hInstance = HInstance();
    wc.lpszClassName = nullptr;
    Params.WindowClass = wc;
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if (params.WndParent == nullptr && (params.Style & WS_CHILD))
        throw EInvalidOperation(L"Control '" + GetName() + L"' has no parent window");

    // One registered class per control class; its first message goes to
    // InitControlWndProc, the class's own procedure becomes DefWndProc.
    auto found = std::find_if(registeredClasses.begin(), registeredClasses.end(),
                              [&](const RegisteredClass& r) { return r.name == params.WinClassName; });
    if (found == registeredClasses.end()) {
        WNDCLASSW wc = params.WindowClass;
        WNDPROC defProc = wc.lpfnWndProc ? wc.lpfnWndProc : DefWindowProcW;
        wc.lpfnWndProc = InitControlWndProc;
        wc.lpszClassName = params.WinClassName.c_str();
        wc.hInstance = HInstance();
        WNDCLASSW existing{};
        if (GetClassInfoW(HInstance(), wc.lpszClassName, &existing))
            UnregisterClassW(wc.lpszClassName, HInstance());
        if (!RegisterClassW(&wc))
            throw EOutOfResources(L"Cannot register the window class " + params.WinClassName);
        registeredClasses.push_back({params.WinClassName, defProc});
        found = registeredClasses.end() - 1;
    }
    defWndProc_ = found->defProc;
    CreateWindowHandle(params);
    if (!handle_)
        throw EOutOfResources(L"Error creating window for '" + GetName() + L"'");
    handleDestroyed_ = false;
    ReadHandleBounds();
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 0);
    if (GetAutoSize())
        DoAutoSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params)
{
    TWinControl* outer = creationControl;
    creationControl = this;
    HWND wnd = CreateWindowExW(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                               Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                               Params.WndParent, nullptr, HInstance(), Params.Param);
    creationControl = outer;
    if (!wnd)
        handle_ = nullptr;
}

void TWinControl::ReadHandleBounds()
{
    RECT r;
    GetWindowRect(handle_, &r);
    HWND parentWnd = ::GetParent(handle_);
    if ((GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD) && parentWnd)
        MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
    UpdateBoundsRect(r);
}

void TWinControl::DestroyHandle()
{
    if (!handle_)
        return;
    for (TWinControl* c : winControls_)
        c->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd()
{
    // The text lives in the window while it exists; keep it for the next one.
    text_ = GetTextBuf();
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle()
{
    ControlState << csDestroyingHandle;
    HWND wnd = handle_;
    if (wnd) {
        DestroyWindow(wnd);
        if (controlTable.Find(wnd) == this) {
            RemovePropW(wnd, ControlProp);
            controlTable.Unbind(wnd, this);
        }
    }
    handle_ = nullptr;
    showing_ = false;
    handleDestroyed_ = true;
    ControlState >> csDestroyingHandle;
}

void TWinControl::RecreateWnd()
{
    if (handle_)
        Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::CMRecreateWnd(TMessage&)
{
    bool wasFocused = Focused();
    ControlState << csRecreating;
    DestroyHandle();
    UpdateControlState();
    ControlState >> csRecreating;
    if (wasFocused && handle_)
        ::SetFocus(handle_);
}

void TWinControl::SetParentWindow(HWND value)
{
    if (parent_ || parentWindow_ == value)
        return;
    if (handle_ && parentWindow_ && value) {
        ::SetParent(handle_, value);
        parentWindow_ = value;
        UpdateControlState();
        return;
    }
    DestroyHandle();
    parentWindow_ = value;
    UpdateControlState();
}

void TWinControl::SetParent(TWinControl* AParent)
{
    if (parent_ == AParent)
        return;
    // A window changing parent is made again under the new one.
    if (handle_ && !ComponentState().Contains(csDestroying))
        DestroyHandle();
    TControl::SetParent(AParent);
    if (parent_)
        UpdateControlState();
}

// --- messages -------------------------------------------------------------------
void TWinControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this)) {
            if (!form->SetFocusedControl(this))
                return;
        }
        break;
    case WM_KILLFOCUS:
        if (ControlState.Contains(csFocusing))
            return;
        break;
    case WM_NCHITTEST: {
        TControl::WndProc(Message);
        POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
        if (Message.Result == HTTRANSPARENT && ControlAtPos(ScreenToClient(p), false))
            Message.Result = HTCLIENT;
        return;
    }
    case WM_CANCELMODE:
        if (handle_ && GetCapture() == handle_ && captureChild() )
            GetCaptureControl()->Perform(WM_CANCELMODE, 0, 0);
        break;
    default:
        if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL &&
            Message.Msg != WM_MOUSEHWHEEL) {
            TWMMouse m(Message);
            if (IsControlMouseMsg(m)) {
                // The graphic child took it; the window still sees it for its own
                // bookkeeping (cursor, capture) unless the child answered.
                if (Message.Result == 0 && handle_)
                    DefWindowProcW(handle_, Message.Msg, Message.WParam, Message.LParam);
                return;
            }
            if (Message.Msg == WM_MOUSEMOVE && handle_) {
                // Ask to be told when the mouse leaves the window.
                TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
                TrackMouseEvent(&tme);
                SetMouseControl(this);
            }
        }
        break;
    }
    TControl::WndProc(Message);
}

bool TWinControl::captureChild() const
{
    TControl* c = GetCaptureControl();
    return c && c->GetParent() == this && !dynamic_cast<TWinControl*>(c);
}

bool TWinControl::IsControlMouseMsg(TWMMouse& Message)
{
    TControl* control = nullptr;
    POINT p = Message.Pos();
    if (handle_ && GetCapture() == handle_) {
        TControl* c = GetCaptureControl();
        if (c && c != this && c->GetParent() == this && !dynamic_cast<TWinControl*>(c))
            control = c;
    } else {
        control = ControlAtPos(p, false);
    }
    if (!control || dynamic_cast<TWinControl*>(control)) {
        return false;
    }
    if (Message.Msg() == WM_MOUSEMOVE) {
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
        TrackMouseEvent(&tme);
        SetMouseControl(control);
    }
    POINT local{p.x - control->GetLeft(), p.y - control->GetTop()};
    Message.M.Result = control->Perform(Message.Msg(), Message.M.WParam, MAKELPARAM(local.x, local.y));
    return true;
}

void TWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT: { TWMPaint m(Message); WMPaint(m); return; }
    case WM_ERASEBKGND: { TWMEraseBkgnd m(Message); WMEraseBkgnd(m); return; }
    case WM_COMMAND: WMCommand(Message); return;
    case WM_NOTIFY: WMNotify(Message); return;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM: WMDrawItem(Message); return;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
        if (Message.LParam && FindControl(reinterpret_cast<HWND>(Message.LParam))) {
            ReflectNotification(Message, reinterpret_cast<HWND>(Message.LParam));
            return;
        }
        break;
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        WMCtlColor(Message);
        return;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(Message); return;
    case WM_SIZE: WMSize(Message); return;
    case WM_SETFOCUS: WMSetFocus(Message); return;
    case WM_KILLFOCUS: WMKillFocus(Message); return;
    case WM_KEYDOWN: WMKeyDown(Message); return;
    case WM_SYSKEYDOWN: WMSysKeyDown(Message); return;
    case WM_KEYUP:
    case WM_SYSKEYUP: WMKeyUp(Message); return;
    case WM_CHAR: WMChar(Message); return;
    case WM_MOUSEWHEEL: WMMouseWheel(Message); return;
    case WM_SETCURSOR: WMSetCursor(Message); return;
    case WM_NCCALCSIZE: WMNCCalcSize(Message); return;
    case WM_NCPAINT: WMNCPaint(Message); return;
    case WM_GETDLGCODE: WMGetDlgCode(Message); return;
    case WM_MOUSELEAVE: WMMouseLeave(Message); return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: CNKeyDown(Message); return;
    case CN_CHAR:
    case CN_SYSCHAR: CNChar(Message); return;
    case CM_SHOWINGCHANGED: CMShowingChanged(Message); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); return;
    case CM_FONTCHANGED: CMFontChanged(Message); return;
    case CM_COLORCHANGED: CMColorChanged(Message); return;
    case CM_DIALOGKEY: CMDialogKey(Message); return;
    case CM_DIALOGCHAR: CMDialogChar(Message); return;
    case CM_ENTER: CMEnter(Message); return;
    case CM_EXIT: CMExit(Message); return;
    case CM_MOUSEWHEEL: CMMouseWheel(Message); return;
    case CM_INVALIDATE: CMInvalidate(Message); return;
    case CM_RECREATEWND: CMRecreateWnd(Message); return;
    default: break;
    }
    TControl::Dispatch(Message);
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    const UINT msg = Message.Msg;
    if (msg >= CN_CTLCOLORMSGBOX && msg <= CN_CTLCOLORSTATIC) {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
        SetBkColor(dc, ColorToRGB(GetColor()));
        Message.Result = reinterpret_cast<LRESULT>(brush_->GetHandle());
        return;
    }
    // Reflected notifications nobody handled end here, not in the system's
    // procedure, which would not know them.
    if (msg >= CN_BASE && msg < CN_BASE + 0x400) {
        Message.Result = 0;
        return;
    }
    if (!handle_) {
        TControl::DefaultHandler(Message);
        return;
    }
    if (msg == WM_CONTEXTMENU && parent_) {
        // Unanswered, the menu request travels to the parent control.
        Message.Result = CallWindowProcW(defWndProc_, handle_, msg, Message.WParam, Message.LParam);
        if (Message.Result == 0)
            Message.Result = parent_->Perform(msg, Message.WParam, Message.LParam);
        return;
    }
    Message.Result = CallWindowProcW(defWndProc_, handle_, msg, Message.WParam, Message.LParam);
}

void TWinControl::ReflectNotification(TMessage& Message, HWND child)
{
    TWinControl* control = FindControl(child);
    if (!control) {
        TControl::Dispatch(Message);
        return;
    }
    Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::WMCommand(TMessage& M)
{
    HWND ctl = reinterpret_cast<HWND>(M.LParam);
    if (ctl && FindControl(ctl)) {
        ReflectNotification(M, ctl);
        return;
    }
    // Menu commands of the form's menus.
    if (!ctl && HIWORD(M.WParam) == 0) {
        if (TCustomForm* form = GetParentForm(this)) {
            if (form->DispatchMenuCommand(LOWORD(M.WParam))) {
                M.Result = 0;
                return;
            }
        }
    }
    TControl::Dispatch(M);
}

void TWinControl::WMNotify(TMessage& M)
{
    auto* hdr = reinterpret_cast<NMHDR*>(M.LParam);
    if (hdr && FindControl(hdr->hwndFrom)) {
        ReflectNotification(M, hdr->hwndFrom);
        return;
    }
    TControl::Dispatch(M);
}

void TWinControl::WMDrawItem(TMessage& M)
{
    HWND child = nullptr;
    switch (M.Msg) {
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
        if (dis->CtlType == ODT_MENU) {
            if (TCustomForm* form = GetParentForm(this))
                if (form->DispatchMenuDrawItem(dis)) {
                    M.Result = TRUE;
                    return;
                }
        } else {
            child = dis->hwndItem;
        }
        break;
    }
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam);
        if (mis->CtlType == ODT_MENU) {
            if (TCustomForm* form = GetParentForm(this))
                if (form->DispatchMenuMeasureItem(mis)) {
                    M.Result = TRUE;
                    return;
                }
        } else if (handle_) {
            child = GetDlgItem(handle_, static_cast<int>(mis->CtlID));
        }
        break;
    }
    case WM_DELETEITEM:
        child = reinterpret_cast<DELETEITEMSTRUCT*>(M.LParam)->hwndItem;
        break;
    case WM_COMPAREITEM:
        child = reinterpret_cast<COMPAREITEMSTRUCT*>(M.LParam)->hwndItem;
        break;
    }
    if (child && FindControl(child)) {
        ReflectNotification(M, child);
        return;
    }
    TControl::Dispatch(M);
}

void TWinControl::WMCtlColor(TMessage& M)
{
    HWND child = reinterpret_cast<HWND>(M.LParam);
    if (child && FindControl(child)) {
        ReflectNotification(M, child);
        return;
    }
    TControl::Dispatch(M);
}

// --- bounds ---------------------------------------------------------------------
void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    DoConstraints(AWidth, AHeight);
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_)
        return;
    if (!CanResize(AWidth, AHeight))
        return;
    if (handle_ && !IsIconic(handle_) && !IsZoomed(handle_)) {
        SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const bool sized = AWidth != width_ || AHeight != height_;
        left_ = ALeft;
        top_ = ATop;
        width_ = AWidth;
        height_ = AHeight;
        if (handle_) {
            // A maximized or minimized window keeps these as its normal rectangle.
            WINDOWPLACEMENT wp{sizeof(wp)};
            GetWindowPlacement(handle_, &wp);
            wp.rcNormalPosition = {ALeft, ATop, ALeft + AWidth, ATop + AHeight};
            SetWindowPlacement(handle_, &wp);
        } else if (sized) {
            Realign();
            if (!ComponentState().Contains(csLoading))
                Resize();
        }
    }
    UpdateAnchorRules();
    RequestAlign();
}

void TWinControl::UpdateBounds()
{
    if (!handle_)
        return;
    RECT old = GetBoundsRect();
    ReadHandleBounds();
    RECT now = GetBoundsRect();
    if (!EqualRect(&old, &now) && parent_ && !parent_->ControlState.Contains(csAligning))
        UpdateAnchorRules();
}

void TWinControl::WMWindowPosChanged(TMessage& M)
{
    auto* wp = reinterpret_cast<WINDOWPOS*>(M.LParam);
    const bool moved = !(wp->flags & SWP_NOMOVE) || !(wp->flags & SWP_NOSIZE);
    if (moved)
        UpdateBounds();
    if (wp->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))
        Invalidate();
    DefaultHandler(M);
}

void TWinControl::WMSize(TMessage& M)
{
    UpdateBounds();
    DefaultHandler(M);
    Realign();
    if (!ComponentState().Contains(csLoading))
        Resize();
}

RECT TWinControl::GetClientRect() const
{
    if (handle_) {
        RECT r;
        ::GetClientRect(handle_, &r);
        return r;
    }
    // Without a window, the frame the window will have is taken off.
    RECT frame{0, 0, 0, 0};
    TCreateParams params;
    {
        measuringParams_ = true;
        const TScopeExit measured([this] { measuringParams_ = false; });
        const_cast<TWinControl*>(this)->CreateParams(params);
    }
    AdjustWindowRectEx(&frame, params.Style & ~WS_VSCROLL & ~WS_HSCROLL, FALSE, params.ExStyle);
    RECT r{0, 0, width_ - (frame.right - frame.left), height_ - (frame.bottom - frame.top)};
    InflateRect(&r, -borderWidth_, -borderWidth_);
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

POINT TWinControl::GetClientOrigin() const
{
    if (handle_) {
        POINT p{0, 0};
        ::ClientToScreen(handle_, &p);
        return p;
    }
    return TControl::GetClientOrigin();
}

void TWinControl::SetBorderWidth(int value)
{
    if (borderWidth_ == value)
        return;
    borderWidth_ = value;
    if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    Realign();
}

void TWinControl::WMNCCalcSize(TMessage& M)
{
    DefaultHandler(M);
    if (borderWidth_ > 0 && M.LParam) {
        auto* r = reinterpret_cast<RECT*>(M.LParam);
        InflateRect(r, -borderWidth_, -borderWidth_);
        if (r->right < r->left)
            r->right = r->left;
        if (r->bottom < r->top)
            r->bottom = r->top;
    }
}

void TWinControl::WMNCPaint(TMessage& M)
{
    DefaultHandler(M);
    if (borderWidth_ > 0 && handle_) {
        // Paint the border band in the control's colour.
        const TWindowDC windowDC(handle_, true);
        const HDC dc = windowDC.Get();
        RECT wr, cr;
        GetWindowRect(handle_, &wr);
        GetClientRect();
        ::GetClientRect(handle_, &cr);
        MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&cr), 2);
        OffsetRect(&cr, -wr.left, -wr.top);
        OffsetRect(&wr, -wr.left, -wr.top);
        ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.bottom);
        FillRect(dc, &wr, brush_->GetHandle());
    }
}

// --- children ---------------------------------------------------------------------
TControl* TWinControl::Controls(int index) const
{
    int n = static_cast<int>(controls_.size());
    if (index < 0 || index >= ControlCount())
        throw EListError(L"Control index out of bounds (" + IntToStr(index) + L")");
    return index < n ? controls_[static_cast<std::size_t>(index)]
                     : winControls_[static_cast<std::size_t>(index - n)];
}

void TWinControl::InsertControl(TControl* AControl)
{
    Perform(CM_CONTROLLISTCHANGING, reinterpret_cast<WPARAM>(AControl), TRUE);
    AControl->parent_ = this;
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        winControls_.push_back(w);
        tabList_.push_back(w);
    } else {
        controls_.push_back(AControl);
    }
    if (!AControl->ComponentState().Contains(csReading)) {
        AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
        AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
            if (handle_)
                w->UpdateControlState();
        } else if (handle_) {
            AControl->Invalidate();
        }
        Realign();
    }
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
}

void TWinControl::RemoveControl(TControl* AControl)
{
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
    Perform(CM_CONTROLLISTCHANGING, reinterpret_cast<WPARAM>(AControl), FALSE);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(w, true);
        if (w->handle_)
            w->DestroyHandle();
        winControls_.erase(std::remove(winControls_.begin(), winControls_.end(), w), winControls_.end());
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    } else {
        AControl->InvalidateControl(AControl->GetVisible(), false);
        controls_.erase(std::remove(controls_.begin(), controls_.end(), AControl), controls_.end());
    }
    if (GetCapture() && GetCaptureControl() == AControl)
        SetCaptureControl(nullptr);
    if (MouseControl() == AControl)
        SetMouseControl(nullptr);
    AControl->parent_ = nullptr;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
    if (!ComponentState().Contains(csDestroying))
        Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const
{
    for (TControl* c = Control; c; c = c->GetParent())
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(POINT Pos, bool AllowDisabled, bool AllowWinControls, bool AllLevels) const
{
    auto hit = [&](TControl* c, POINT& local) {
        if (!c->GetVisible() || (!AllowDisabled && !c->GetEnabled()))
            return false;
        RECT r = c->GetBoundsRect();
        if (!PtInRect(&r, Pos))
            return false;
        local = {Pos.x - c->GetLeft(), Pos.y - c->GetTop()};
        return c->IsControlHitTest(local);
    };
    POINT local{};
    if (AllowWinControls) {
        for (auto it = winControls_.rbegin(); it != winControls_.rend(); ++it) {
            if (hit(*it, local)) {
                if (AllLevels)
                    if (TControl* inner = (*it)->ControlAtPos(local, AllowDisabled, true, true))
                        return inner;
                return *it;
            }
        }
    }
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if (hit(*it, local))
            return *it;
    return nullptr;
}

TControl* TWinControl::FindChildControl(const String& ControlName) const
{
    for (int i = 0; i < ControlCount(); ++i)
        if (SameText(Controls(i)->GetName(), ControlName))
            return Controls(i);
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message)
{
    for (int i = 0; i < ControlCount(); ++i) {
        Controls(i)->WindowProc(Message);
        if (Message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT Msg)
{
    TMessage m{Msg, 0, 0, 0};
    Broadcast(m);
}

void TWinControl::DestroyChildHandles()
{
    for (TWinControl* c : winControls_)
        c->DestroyHandle();
}

// --- showing ------------------------------------------------------------------------
void TWinControl::UpdateShowing()
{
    // A form without a parent is a top-level window and shows on its own.
    bool show = (GetVisible() || (ComponentState().Contains(csDesigning) &&
                                  !ControlStyle.Contains(csNoDesignVisible))) &&
                (parent_ ? parent_->showing_ || parent_->willShow_
                         : parentWindow_ != nullptr || dynamic_cast<TCustomForm*>(this) != nullptr);
    if (show) {
        if (!handle_)
            CreateHandle();
        // Children are ready (and showing) before this window appears, so a
        // form's OnShow finds its controls in place.
        willShow_ = true;
        const TScopeExit shown([this] { willShow_ = false; });
        for (TWinControl* c : std::vector<TWinControl*>(winControls_))
            c->UpdateShowing();
    }
    if (handle_ && showing_ != show) {
        showing_ = show;
        // A change that fails is undone.
        TScopeExit undo([this, show] { showing_ = !show; });
        Perform(CM_SHOWINGCHANGED, 0, 0);
        undo.Dismiss();
    }
    if (!show)
        for (TWinControl* c : std::vector<TWinControl*>(winControls_))
            c->UpdateShowing();
}

void TWinControl::UpdateControlState()
{
    // Only a chain of showing parents up to a top window makes a window.
    for (TWinControl* p = parent_; p; p = p->parent_) {
        if (!p->showing_ && !p->willShow_)
            return;
    }
    if (parent_ || parentWindow_ || dynamic_cast<TCustomForm*>(this))
        UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&)
{
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (showing_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage& M)
{
    if (!GetVisible() && parent_) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(this, false);
    }
    if (!ComponentState().Contains(csLoading))
        UpdateControlState();
    TControl::CMVisibleChanged(M);
}

void TWinControl::CMEnabledChanged(TMessage& M)
{
    if (!GetEnabled() && parent_) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(this, false);
    }
    if (handle_)
        EnableWindow(handle_, GetEnabled());
    TControl::CMEnabledChanged(M);
}

void TWinControl::CMFontChanged(TMessage& M)
{
    if (handle_)
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 0);
    NotifyControls(CM_PARENTFONTCHANGED);
    TControl::CMFontChanged(M);
}

void TWinControl::CMColorChanged(TMessage& M)
{
    brush_->SetColor(GetColor());
    NotifyControls(CM_PARENTCOLORCHANGED);
    TControl::CMColorChanged(M);
}

void TWinControl::CMInvalidate(TMessage& M)
{
    if (handle_)
        InvalidateRect(handle_, nullptr, !ControlStyle.Contains(csOpaque));
    (void)M;
}

// --- alignment -------------------------------------------------------------------
void TWinControl::DisableAlign()
{
    ++alignLevel_;
}

void TWinControl::EnableAlign()
{
    if (alignLevel_ > 0 && --alignLevel_ == 0 && ControlState.Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::AlignControl(TControl* AControl)
{
    RECT r = GetClientRect();
    AlignControls(AControl, r);
}

void TWinControl::Realign()
{
    RECT r = GetClientRect();
    AlignControls(nullptr, r);
}

void TWinControl::AdjustClientRect(RECT&) {}

void TWinControl::AlignControls(TControl* AControl, RECT& Rect)
{
    if (alignLevel_ > 0 || ComponentState().Contains(csLoading) || ControlState.Contains(csAligning)) {
        ControlState << csAlignmentNeeded;
        return;
    }
    ControlState >> csAlignmentNeeded;
    ControlState << csAligning;
    {
        ++alignLevel_;
        const TScopeExit aligned([this] {
            --alignLevel_;
            ControlState >> csAligning;
        });
        AdjustClientRect(Rect);
        DoAlign(AControl, Rect);
    }
    ControlsAligned();
}

void TWinControl::DoAlign(TControl* AControl, RECT& Rect)
{
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient, alCustom})
        AlignOne(a, AControl, Rect);
    AnchorAll(GetClientRect());
}

void TWinControl::AlignOne(TAlign align, TControl* AControl, RECT& Rect)
{
    std::vector<TControl*> list;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->GetAlign() == align && (c->GetVisible() || c->ComponentState().Contains(csDesigning)))
            list.push_back(c);
    }
    if (list.empty())
        return;
    // Order by the edge the controls stack against; the control being moved
    // wins a tie so that dragging it across a neighbour swaps them.
    auto key = [align](TControl* c) {
        switch (align) {
        case alTop: return c->GetTop();
        case alBottom: return -(c->GetTop() + c->GetHeight());
        case alLeft: return c->GetLeft();
        case alRight: return -(c->GetLeft() + c->GetWidth());
        default: return 0;
        }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
        int ka = key(a), kb = key(b);
        if (ka != kb)
            return ka < kb;
        return a == AControl && b != AControl;
    });
    for (TControl* c : list) {
        int w = Width(Rect), h = Height(Rect);
        switch (align) {
        case alTop:
            c->SetBounds(Rect.left, Rect.top, w, c->GetHeight());
            Rect.top += c->GetHeight();
            break;
        case alBottom:
            c->SetBounds(Rect.left, Rect.bottom - c->GetHeight(), w, c->GetHeight());
            Rect.bottom -= c->GetHeight();
            break;
        case alLeft:
            c->SetBounds(Rect.left, Rect.top, c->GetWidth(), h);
            Rect.left += c->GetWidth();
            break;
        case alRight:
            c->SetBounds(Rect.right - c->GetWidth(), Rect.top, c->GetWidth(), h);
            Rect.right -= c->GetWidth();
            break;
        case alClient:
            c->SetBounds(Rect.left, Rect.top, std::max(w, 0), std::max(h, 0));
            break;
        default:
            break;
        }
        if (Rect.bottom < Rect.top)
            Rect.bottom = Rect.top;
        if (Rect.right < Rect.left)
            Rect.right = Rect.left;
    }
}

void TWinControl::AnchorAll(const RECT& client)
{
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->GetAlign() != alNone || !c->anchorRulesSet_)
            continue;
        TAnchors a = c->GetAnchors();
        int l = c->GetLeft(), t = c->GetTop(), w = c->GetWidth(), h = c->GetHeight();
        if (a.Contains(akRight)) {
            int right = client.right - c->anchorRight_;
            if (a.Contains(akLeft))
                w = std::max(0, right - l);
            else
                l = right - w;
        }
        if (a.Contains(akBottom)) {
            int bottom = client.bottom - c->anchorBottom_;
            if (a.Contains(akTop))
                h = std::max(0, bottom - t);
            else
                t = bottom - h;
        }
        c->SetBounds(l, t, w, h);
    }
}

// --- painting ------------------------------------------------------------------------
void TWinControl::Invalidate()
{
    Perform(CM_INVALIDATE, 0, 0);
}

void TWinControl::Update()
{
    if (handle_)
        UpdateWindow(handle_);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::WMPaint(TWMPaint& M)
{
    if (doubleBuffered_ && !M.DC() && handle_) {
        const TPaintDC paintDC(handle_);
        const HDC dc = paintDC.Get();
        RECT client;
        ::GetClientRect(handle_, &client);
        const TMemoryDC memDC(dc);
        const TBitmapHandle bmp(
            CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)));
        const TSelectObject selectBmp(memDC.Get(), bmp.Get());
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memDC.Get()), reinterpret_cast<LPARAM>(memDC.Get()));
        TMessage inner{WM_PAINT, reinterpret_cast<WPARAM>(memDC.Get()), 0, 0};
        TWMPaint innerPaint(inner);
        WMPaint(innerPaint);
        BitBlt(dc, 0, 0, client.right, client.bottom, memDC.Get(), 0, 0, SRCCOPY);
        return;
    }
    if (!ControlState.Contains(csCustomPaint) && controls_.empty()) {
        DefaultHandler(M.M);
        return;
    }
    PaintHandler(M);
}

void TWinControl::PaintHandler(TWMPaint& M)
{
    std::optional<TPaintDC> paintDC;
    HDC dc = M.DC();
    if (!dc)
        dc = paintDC.emplace(handle_).Get();
    {
        const TSavedDC saved(dc);
        // Opaque graphic children cover the window: clip them out of its paint.
        for (TControl* c : controls_) {
            if (c->GetVisible() && c->ControlStyle.Contains(csOpaque)) {
                RECT r = c->GetBoundsRect();
                ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
            }
        }
        PaintWindow(dc);
    }
    PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC DC)
{
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC DC, TControl* First)
{
    auto start = controls_.begin();
    if (First) {
        auto it = std::find(controls_.begin(), controls_.end(), First);
        if (it != controls_.end())
            start = it;
    }
    for (auto it = start; it != controls_.end(); ++it) {
        TControl* c = *it;
        if (!c->GetVisible() && !(c->ComponentState().Contains(csDesigning)))
            continue;
        RECT r = c->GetBoundsRect();
        if (!RectVisible(DC, &r))
            continue;
        const TSavedDC saved(DC);
        POINT org;
        GetViewportOrgEx(DC, &org);
        SetViewportOrgEx(DC, org.x + r.left, org.y + r.top, nullptr);
        IntersectClipRect(DC, 0, 0, r.right - r.left, r.bottom - r.top);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
}

void TWinControl::PaintTo(HDC DC, int X, int Y)
{
    if (!handle_)
        return;
    ControlState << csPaintCopy;
    const TScopeExit endCopy([this] { ControlState >> csPaintCopy; });
    {
        const TSavedDC saved(DC);
        POINT org;
        GetViewportOrgEx(DC, &org);
        SetViewportOrgEx(DC, org.x + X, org.y + Y, nullptr);
        RECT client;
        ::GetClientRect(handle_, &client);
        IntersectClipRect(DC, 0, 0, client.right, client.bottom);
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
    for (TWinControl* c : winControls_) {
        if (c->GetVisible() && c->handle_)
            c->PaintTo(DC, X + c->GetLeft(), Y + c->GetTop());
    }
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd& M)
{
    RECT r;
    if (handle_)
        ::GetClientRect(handle_, &r);
    else
        r = GetClientRect();
    FillRect(M.DC(), &r, brush_->GetHandle());
    M.M.Result = 1;
}

// --- focus and keys -------------------------------------------------------------------
bool TWinControl::CanFocus() const
{
    TCustomForm* form = GetParentForm(const_cast<TWinControl*>(this));
    if (!form)
        return false;
    for (const TWinControl* c = this; c; c = c->parent_) {
        if (!c->GetVisible() || !c->GetEnabled())
            return false;
        if (c == form)
            break;
    }
    return true;
}

bool TWinControl::Focused() const
{
    return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus()
{
    TCustomForm* form = GetParentForm(this);
    if (form) {
        form->FocusControl(this);
    } else if (parentWindow_) {
        if (HandleAllocated())
            ::SetFocus(handle_);
    } else {
        ::SetFocus(GetHandle());
    }
}

bool TWinControl::SetFocusedToForm()
{
    TCustomForm* form = GetParentForm(this);
    return !form || form->SetFocusedControl(this);
}

void TWinControl::SetTabStop(bool value)
{
    if (tabStop_ == value)
        return;
    tabStop_ = value;
    if (handle_) {
        LONG style = GetWindowLongW(handle_, GWL_STYLE);
        SetWindowLongW(handle_, GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
    Perform(CM_TABSTOPCHANGED, 0, 0);
}

int TWinControl::GetTabOrder() const
{
    if (!parent_)
        return -1;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (!parent_)
        return;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    value = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const
{
    for (TWinControl* c : tabList_) {
        List.push_back(c);
        c->GetTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    int n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[static_cast<std::size_t>(i)] == CurControl)
            start = i;
    if (start < 0)
        start = GoForward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = GoForward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<std::size_t>(i)];
        if (c == CurControl)
            break;
        if ((!CheckTabStop || c->tabStop_) && (!CheckParent || c->parent_ == this) && c->CanFocus())
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop)
{
    if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
        next->SetFocus();
}

void TWinControl::SelectFirst()
{
    TCustomForm* form = GetParentForm(this);
    if (!form)
        return;
    TWinControl* c = form->FindNextControl(nullptr, true, true, false);
    if (!c)
        c = form->FindNextControl(nullptr, true, false, false);
    if (c)
        c->SetFocus();
}

void TWinControl::WMSetFocus(TMessage& M)
{
    DefaultHandler(M);
}

void TWinControl::WMKillFocus(TMessage& M)
{
    DefaultHandler(M);
}

void TWinControl::CMEnter(TMessage&)
{
    DoEnter();
}

void TWinControl::CMExit(TMessage&)
{
    DoExit();
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

bool TWinControl::DoKeyDown(TWMKey& Message)
{
    TShiftState shift = KeyDataToShiftState(Message.KeyData());
    if (TCustomForm* form = GetParentForm(this)) {
        if (form != this && form->GetKeyPreview() && form->DoKeyDown(Message))
            return true;
    }
    Word key = Message.CharCode();
    KeyDown(key, shift);
    Message.SetCharCode(key);
    return key == 0;
}

bool TWinControl::DoKeyUp(TWMKey& Message)
{
    TShiftState shift = KeyDataToShiftState(Message.KeyData());
    if (TCustomForm* form = GetParentForm(this)) {
        if (form != this && form->GetKeyPreview() && form->DoKeyUp(Message))
            return true;
    }
    Word key = Message.CharCode();
    KeyUp(key, shift);
    Message.SetCharCode(key);
    return key == 0;
}

bool TWinControl::DoKeyPress(TWMKey& Message)
{
    if (TCustomForm* form = GetParentForm(this)) {
        if (form != this && form->GetKeyPreview() && form->DoKeyPress(Message))
            return true;
    }
    wchar_t ch = static_cast<wchar_t>(Message.CharCode());
    KeyPress(ch);
    Message.SetCharCode(ch);
    return ch == 0;
}

void TWinControl::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(wchar_t& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TMessage& M)
{
    TWMKey k(M);
    if (!DoKeyDown(k))
        DefaultHandler(M);
}

void TWinControl::WMSysKeyDown(TMessage& M)
{
    TWMKey k(M);
    if (!DoKeyDown(k))
        DefaultHandler(M);
}

void TWinControl::WMKeyUp(TMessage& M)
{
    TWMKey k(M);
    if (!DoKeyUp(k))
        DefaultHandler(M);
}

void TWinControl::WMChar(TMessage& M)
{
    TWMKey k(M);
    if (!DoKeyPress(k))
        DefaultHandler(M);
}

void TWinControl::WMGetDlgCode(TMessage& M)
{
    DefaultHandler(M);
}

void TWinControl::CNKeyDown(TMessage& M)
{
    // Answers 1 when the key was a dialog key the form used; the loop then
    // does not dispatch it.
    M.Result = 1;
    TWMKey k(M);
    if (!ComponentState().Contains(csDesigning)) {
        // Shortcuts of the pop-up menus up the parent chain, then of the form's menu.
        TShiftState shift = KeyDataToShiftState(k.KeyData());
        for (TControl* c = this; c; c = c->GetParent())
            if (c->GetPopupMenu() && c->GetPopupMenu()->IsShortCut(k.CharCode(), shift))
                return;
        if (TCustomForm* form = GetParentForm(this))
            if (form->GetMenu() && form->GetMenu()->IsShortCut(k.CharCode(), shift))
                return;
        if (Perform(CM_CHILDKEY, k.CharCode(), reinterpret_cast<LPARAM>(this)) != 0)
            return;
        LRESULT mask = 0;
        switch (k.CharCode()) {
        case VK_TAB: mask = DLGC_WANTTAB; break;
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
        case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
        }
        if (mask && Perform(CM_WANTSPECIALKEY, k.CharCode(), k.KeyData()) == 0 &&
            (Perform(WM_GETDLGCODE, 0, 0) & mask) == 0) {
            if (TCustomForm* form = GetParentForm(this))
                if (form->Perform(CM_DIALOGKEY, k.CharCode(), k.KeyData()) != 0)
                    return;
        }
    }
    M.Result = 0;
}

void TWinControl::CNChar(TMessage& M)
{
    M.Result = 1;
    if (!ComponentState().Contains(csDesigning) && (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0) {
        if (TCustomForm* form = GetParentForm(this))
            if (form->Perform(CM_DIALOGCHAR, M.WParam, M.LParam) != 0)
                return;
    }
    M.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& M)
{
    Broadcast(M);
}

void TWinControl::CMDialogChar(TMessage& M)
{
    Broadcast(M);
}

// --- mouse ---------------------------------------------------------------------------
void TWinControl::WMMouseWheel(TMessage& M)
{
    TShiftState shift = MouseKeysToShiftState(LOWORD(M.WParam));
    WPARAM wp = MAKEWPARAM(static_cast<WORD>(shift.ToInt()), HIWORD(M.WParam));
    M.Result = Perform(CM_MOUSEWHEEL, wp, M.LParam);
    if (M.Result == 0)
        DefaultHandler(M);
}

void TWinControl::CMMouseWheel(TMessage& M)
{
    TShiftState shift = TShiftState::FromInt(LOWORD(M.WParam));
    int delta = static_cast<short>(HIWORD(M.WParam));
    POINT pos{static_cast<short>(LOWORD(M.LParam)), static_cast<short>(HIWORD(M.LParam))};
    if (DoMouseWheel(shift, delta, pos)) {
        M.Result = 1;
        return;
    }
    if (parent_)
        M.Result = parent_->Perform(CM_MOUSEWHEEL, M.WParam, M.LParam);
}

bool TWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (!handled) {
        if (WheelDelta < 0)
            handled = DoMouseWheelDown(Shift, MousePos);
        else if (WheelDelta > 0)
            handled = DoMouseWheelUp(Shift, MousePos);
    }
    return handled;
}

bool TWinControl::DoMouseWheelDown(TShiftState Shift, POINT MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TWinControl::DoMouseWheelUp(TShiftState Shift, POINT MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TWinControl::WMSetCursor(TMessage& M)
{
    if (LOWORD(M.LParam) == HTCLIENT && reinterpret_cast<HWND>(M.WParam) == handle_) {
        TCursor cursor = Screen ? Screen->GetCursor() : crDefault;
        if (cursor == crDefault) {
            POINT p;
            GetCursorPos(&p);
            TControl* c = ControlAtPos(ScreenToClient(p), false);
            if (c && c->GetCursor() != crDefault)
                cursor = c->GetCursor();
            else
                cursor = GetCursor();
        }
        if (cursor != crDefault && Screen) {
            ::SetCursor(Screen->GetCursors(cursor));
            M.Result = 1;
            return;
        }
    }
    DefaultHandler(M);
}

void TWinControl::WMMouseLeave(TMessage& M)
{
    // The mouse left the window: whichever of its controls had it loses it.
    TControl* mc = MouseControl();
    if (mc && (mc == this || mc->GetParent() == this)) {
        POINT p;
        GetCursorPos(&p);
        HWND under = WindowFromPoint(p);
        if (!under || (under != handle_ && !IsChild(handle_, under)) || mc != this)
            SetMouseControl(nullptr);
    }
    DefaultHandler(M);
}

// --- z order and scaling -------------------------------------------------------------
void TWinControl::SetZOrder(bool TopMost)
{
    if (parent_) {
        auto& list = parent_->winControls_;
        auto it = std::find(list.begin(), list.end(), this);
        if (it != list.end()) {
            list.erase(it);
            if (TopMost)
                list.push_back(this);
            else
                list.insert(list.begin(), this);
        }
    }
    if (handle_)
        SetWindowPos(handle_, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RequestAlign();
}

void TWinControl::ChangeScale(int M, int D)
{
    DisableAlign();
    const TScopeExit enableAlign([this] { EnableAlign(); });
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->ChangeScale(M, D);
    TControl::ChangeScale(M, D);
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    if (ControlState.Contains(csAlignmentNeeded) || ControlCount() > 0)
        Realign();
    if (handle_)
        UpdateControlState();
}

// ---------------------------------------------------------------------------
void Controls_Initialize()
{
    RegisterPublishedProperties<TControl>({
        IntegerProperty(L"Left", &TControl::GetLeft, &TControl::SetLeft),
        IntegerProperty(L"Top", &TControl::GetTop, &TControl::SetTop),
        IntegerProperty(L"Width", &TControl::GetWidth, &TControl::SetWidth),
        IntegerProperty(L"Height", &TControl::GetHeight, &TControl::SetHeight),
        EnumProperty(L"Align", &TControl::GetAlign, &TControl::SetAlign,
                     {L"alNone", L"alTop", L"alBottom", L"alLeft", L"alRight", L"alClient", L"alCustom"}),
        SetProperty(L"Anchors", &TControl::GetAnchors, &TControl::SetAnchors,
                    {L"akLeft", L"akTop", L"akRight", L"akBottom"}),
        IntegerProperty(L"Color", &TControl::GetColor, &TControl::SetColor),
        BooleanProperty(L"Enabled", &TControl::GetEnabled, &TControl::SetEnabled),
        ObjectProperty(L"Font", &TControl::GetFont),
        BooleanProperty(L"ParentColor", &TControl::GetParentColor, &TControl::SetParentColor),
        BooleanProperty(L"ParentFont", &TControl::GetParentFont, &TControl::SetParentFont),
        BooleanProperty(L"Visible", &TControl::GetVisible, &TControl::SetVisible),
    });
}

void Controls_Finalize()
{
    UnregisterPublishedProperties<TControl>();
    SetMouseControl(nullptr);
    for (const RegisteredClass& c : registeredClasses)
        UnregisterClassW(c.name.c_str(), HInstance());
    registeredClasses.clear();
}
