// TWinControl: the real window behind a control, its life and its window
// procedure. Its bounds, children and alignment are in WinControlLayout.cpp,
// its painting in WinControlPaint.cpp, keys, focus and the mouse in
// WinControlInput.cpp.
#include "Controls.h"
#include "Forms.h"
#include "Menus.h"
#include "TypInfo.h"
#include <algorithm>
#include <mutex>
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
    brush_.reset(New<TBrush>());
    brush_->SetColor(GetColor());
}

TWinControl::~TWinControl() = default;

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
    case CN_CHAR: CNChar(Message); return;
    case CN_SYSCHAR:
        // Alt+letter is an accelerator even where the focused control takes
        // characters (an edit line beside the buttons it belongs to).
        Message.Result = 0;
        if (!ComponentState().Contains(csDesigning) && Message.WParam != VK_SPACE)
            if (TCustomForm* form = GetParentForm(this))
                Message.Result = form->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
        return;
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
