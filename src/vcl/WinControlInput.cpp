// TWinControl: focus, tab order, keys and the mouse.
#include "Controls.h"
#include "Forms.h"
#include "Menus.h"
#include <algorithm>

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
