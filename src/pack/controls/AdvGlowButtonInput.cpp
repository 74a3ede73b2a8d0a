// The glow button's behaviour: mouse enter and leave with the hover fade,
// press and release with the push fade, check and radio groups, the
// drop-down menu and split part, click repeat, keys, Default and Cancel,
// accelerators and focus.
//
// The fade runs on a timer that exists only while a fade runs: each tick
// moves the step by the increment and repaints; a step that passes 0 or 100
// is clamped and ends the fade on that tick without a repaint.
#include "AdvGlowButton.h"
#include "Forms.h"
#include "ScopeExit.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include "ToolBarMessages.h"
#include <cmath>
#include <windowsx.h>

namespace {

bool IsGlowButton(TControl* Control)
{
    return dynamic_cast<TAdvCustomGlowButton*>(Control) != nullptr;
}

} // namespace

void TAdvCustomGlowButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        // The face covers the whole window.
        Message.Result = 1;
        return;
    case WM_LBUTTONUP: WMLButtonUp(Message); return;
    case WM_KILLFOCUS:
        FHasFocus = false;
        Invalidate();
        break;
    case CM_MOUSEENTER: CMMouseEnter(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_DIALOGKEY: CMDialogKey(Message); return;
    case CM_DIALOGCHAR: CMDialogChar(Message); return;
    case CM_BUTTONPRESSED: CMButtonPressed(Message); return;
    case CM_FOCUSCHANGED: CMFocusChanged(Message); return;
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == 0)
            Click();
        return;
    case WM_GETDLGCODE:
        if (OnInternalKeyDown) {
            Message.Result = DLGC_WANTARROWS;
            return;
        }
        break;
    case CM_TEXTCHANGED:
        TCustomControl::Dispatch(Message);
        ContentChanged();
        return;
    case CM_FONTCHANGED:
    case CM_ENABLEDCHANGED:
        TCustomControl::Dispatch(Message);
        Invalidate();
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

void TAdvCustomGlowButton::CreateWnd()
{
    TCustomControl::CreateWnd();
    FActive = FDefault;
    FGlowState = gsNone;
    FLeftDown = FMouseInControl = FMouseEnter = FMouseDown = FHot = FDragging = false;
    FStepHover = 0;
    if (!FInitialDown) {
        FState = absUp;
        FDown = false;
    }
    FFirstPaint = true;
    if (GetCapture() == Handle())
        ReleaseCapture();
    FTimer.reset();
}

void TAdvCustomGlowButton::Loaded()
{
    TCustomControl::Loaded();
    if (FInitialDown != FDownChecked)
        SetDown(FInitialDown);
    if (GetAutoSize())
        ContentChanged();
}

// --- fading ------------------------------------------------------------------------------
void TAdvCustomGlowButton::StartFade()
{
    if (FTimer || GetGlowFadeInterval() <= 0)
        return;
    FTimer.reset(New<TTimer>(nullptr));
    FTimer->SetInterval(static_cast<Cardinal>(GetGlowFadeInterval()));
    FTimer->OnTimer = [this](TObject*) { FadeTick(); };
    FTimer->SetEnabled(true);
}

void TAdvCustomGlowButton::StopFade()
{
    FGlowState = gsNone;
    FTimer.reset();
}

void TAdvCustomGlowButton::FadeTick()
{
    auto step = [this](int& value) {
        value += FTimeInc;
        if ((value > 100 && FTimeInc > 0) || (value < 0 && FTimeInc < 0)) {
            value = std::clamp(value, 0, 100);
            return true;
        }
        Invalidate();
        return false;
    };
    switch (FGlowState) {
    case gsHover:
        if (step(FStepHover))
            StopFade();
        break;
    case gsPush:
        if (step(FStepPush)) {
            const bool released = FTimeInc < 0;
            StopFade();
            if (released && FStyle == bsButton) {
                FDown = false;
                FLeftDown = false;
                Perform(CM_MOUSELEAVE, 0, 0);
            }
        }
        break;
    case gsNone:
        break;
    }
}

// --- mouse ---------------------------------------------------------------------------------
void TAdvCustomGlowButton::CMMouseEnter(TMessage& M)
{
    TCustomControl::Dispatch(M);
    if (ComponentState().Contains(csDesigning) || FMouseEnter)
        return;
    FHot = true;
    if (FLeftDown)
        FDown = true;
    StartFade();
    if (!FDown && FGlowState != gsPush) {
        FTimeInc = 20;
        FGlowState = gsHover;
    }
    Invalidate();
    FMouseInControl = FMouseEnter = FHasMouse = true;
}

void TAdvCustomGlowButton::CMMouseLeave(TMessage& M)
{
    TCustomControl::Dispatch(M);
    if (ComponentState().Contains(csDesigning) || !FMouseEnter)
        return;
    FHasMouse = FMouseEnter = FMouseInControl = FHot = FInButton = false;
    if (FMouseDown && (GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000)) {
        FDown = false;
        FTimeInc = -20;
        FGlowState = gsHover;
        Invalidate();
        FLeftDown = true;
    } else {
        FDown = false;
        FStepHover = 100;
        FTimeInc = -20;
        FGlowState = gsHover;
        Invalidate();
    }
    StartFade();
}

bool TAdvCustomGlowButton::OnArrowArea(int X, int Y) const
{
    // One width for pressing, hovering and drawing: the drawn arrow area.
    const int area = static_cast<int>(std::lround(14 * GetGlowDPIScale()));
    return FDropDownPosition == dpRight ? X >= GetWidth() - area : Y >= GetHeight() - area;
}

TPoint TAdvCustomGlowButton::DropDownPoint() const
{
    POINT p = FDropDownDirection == ddDown ? POINT{0, GetHeight()} : POINT{GetWidth(), 0};
    p = ClientToScreen(p);
    if (FDropDownMenu) {
        if (FDropDownMenu->GetAlignment() == paRight)
            p.x += GetWidth();
        else if (FDropDownMenu->GetAlignment() == paCenter)
            p.x += GetWidth() / 2;
    }
    return TPoint(p.x, p.y);
}

void TAdvCustomGlowButton::PopupDropDown()
{
    FDropDownMenu->SetPopupComponent(this);
    FDown = !FDropDownSplit;
    FDroppedDown = true;
    FMouseEnter = false;
    Repaint();
    const TPoint at = DropDownPoint();
    FDropDownMenu->Popup(at.x, at.y);
    FDown = false;
    FDroppedDown = false;
    POINT cursor{};
    GetCursorPos(&cursor);
    if (!HandleAllocated() || WindowFromPoint(cursor) != Handle())
        FMouseEnter = FMouseInControl = FHot = FInButton = false;
    Invalidate();
}

void TAdvCustomGlowButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    if (FRepeatClick) {
        if (!FRepeatTimer) {
            FRepeatTimer.reset(New<TTimer>(nullptr));
            FRepeatTimer->OnTimer = [this](TObject* Sender) { RepeatTimerTick(Sender); };
        }
        FRepeatTimer->SetInterval(static_cast<Cardinal>(FInitRepeatPause));
        FRepeatTimer->SetEnabled(true);
    }
    FDown = FMouseDown = true;
    if (GetTabStop() && CanFocus())
        SetFocus();
    StartFade();
    FTimeInc = 20;
    FGlowState = gsPush;

    if (FDropDownButton &&
        ((OnArrowArea(X, Y) && FDropDownSplit) || (!FDropDownSplit && FStyle == bsButton && FGroupIndex <= 0))) {
        FMouseInControl = false;
        if (OnDropDown)
            OnDropDown(this);
        if (FDropDownMenu) {
            // The menu takes the mouse: the press ends here, without a click.
            ControlState >> csClicked;
            FMouseDown = false;
            PopupDropDown();
        }
        return;
    }
    if (FStyle == bsCheck)
        SetDown(!FDownChecked);
    if (!FDownChecked || FStyle == bsCheck) {
        FState = absDown;
        Invalidate();
    }
    FDragging = true;
}

void TAdvCustomGlowButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    const bool inArrow = FDropDownButton && OnArrowArea(X, Y);
    if (inArrow != FInButton) {
        FInButton = inArrow;
        Invalidate();
    }
    if (FDragging) {
        const bool inside = X >= 0 && X < GetClientWidth() && Y >= 0 && Y <= GetClientHeight();
        TAdvButtonState state = inside ? absDown : absUp;
        if (FDownChecked && FStyle != bsCheck)
            state = absExclusive;
        if (FDownChecked && FStyle == bsCheck)
            state = absDown;
        if (state != FState) {
            FState = state;
            Invalidate();
        }
    } else if (!FMouseInControl) {
        TrackingCheck();
    }
}

void TAdvCustomGlowButton::TrackingCheck()
{
    if (!GetEnabled())
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    TControl* under = FindDragTarget(cursor, true);
    const bool other = under != this;
    if (other == FMouseInControl)
        return;
    FMouseInControl = other;
    Perform(other ? CM_MOUSELEAVE : CM_MOUSEENTER, 0, 0);
}

void TAdvCustomGlowButton::WMLButtonUp(TMessage& M)
{
    FTimeInc = -10;
    FStepPush = 100;
    FGlowState = gsPush;
    FMouseDown = FLeftDown = false;
    StartFade();
    const POINT p{GET_X_LPARAM(M.LParam), GET_Y_LPARAM(M.LParam)};
    const bool inside = p.x >= 0 && p.x < GetClientWidth() && p.y >= 0 && p.y <= GetClientHeight();
    bool inheritedRan = false;
    if (FDragging) {
        FDragging = false;
        if (FGroupIndex != 0) {
            if (FActionLink && (FCheckLinked || FGroupIndexLinked)) {
                TCustomControl::Dispatch(M);
                inheritedRan = true;
            } else if (inside) {
                SetDown(!FDownChecked);
                if (FDownChecked)
                    Invalidate();
            } else if (FDownChecked) {
                FState = absExclusive;
                Invalidate();
            }
        } else {
            FState = absUp;
            FMouseInControl = false;
            auto* action = dynamic_cast<TCustomAction*>(GetAction());
            if (FStyle == bsCheck && action && (FCheckLinked || FGroupIndexLinked || action->GetAutoCheck())) {
                TCustomControl::Dispatch(M);
                return;
            }
            if (FStyle == bsCheck && !inside && FDownChecked) {
                SetDown(false);
                FMouseInControl = true;
                Invalidate();
            }
        }
        if (inside && FState != absDown && FState != absExclusive)
            Invalidate();
        TrackingCheck();
    }
    if (!inheritedRan && !FDroppedDown)
        TCustomControl::Dispatch(M);
    if (FStyle == bsCheck || FGroupIndex != 0)
        Invalidate();
}

void TAdvCustomGlowButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
}

void TAdvCustomGlowButton::RepeatTimerTick(TObject*)
{
    FRepeatTimer->SetInterval(static_cast<Cardinal>(FRepeatPause));
    if (!FDown || !MouseCapture())
        return;
    // A click that raises stops the repeating; the exception goes on.
    bool clicked = false;
    const TScopeExit stopOnError([&] {
        if (!clicked)
            FRepeatTimer->SetEnabled(false);
    });
    Click();
    clicked = true;
}

// --- checked and grouped buttons --------------------------------------------------------
void TAdvCustomGlowButton::SetDown(bool Value)
{
    if (ComponentState().Contains(csLoading) || !HandleAllocated()) {
        FInitialDown = Value;
        if (ComponentState().Contains(csLoading))
            return;
    }
    if (FStyle == bsButton && FGroupIndex == 0)
        return;
    if (FStyle == bsCheck) {
        FDownChecked = Value;
        FState = Value ? absDown : absUp;
        Invalidate();
        return;
    }
    if (Value == FDownChecked || (FDownChecked && !FAllowAllUp))
        return;
    FDownChecked = Value;
    if (Value) {
        if (FState == absUp)
            Invalidate();
        FState = absExclusive;
        BroadcastGroup();
    } else {
        FState = absUp;
        Invalidate();
    }
}

void TAdvCustomGlowButton::BroadcastGroup()
{
    if (!GetParent())
        return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
    GetParent()->Broadcast(m);
}

void TAdvCustomGlowButton::CMButtonPressed(TMessage& M)
{
    auto* sender = reinterpret_cast<TControl*>(M.LParam);
    auto* button = dynamic_cast<TAdvCustomGlowButton*>(sender);
    if (static_cast<int>(M.WParam) != FGroupIndex || !button || button == this)
        return;
    if (button->FDownChecked && FDownChecked) {
        FDownChecked = false;
        FState = absUp;
        Invalidate();
    }
}

// --- keys ------------------------------------------------------------------------------------
void TAdvCustomGlowButton::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_SPACE) {
        FDown = true;
        FState = absDown;
        Invalidate();
    }
    if (Key == VK_F4 && Shift.Empty())
        DoDropDown();
    if (OnInternalKeyDown)
        OnInternalKeyDown(this, Key, Shift);
    TCustomControl::KeyDown(Key, Shift);
}

void TAdvCustomGlowButton::KeyUp(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_SPACE) {
        if (FGroupIndex > 0) {
            const bool wasDown = FDown;
            FDown = !FDown;
            FDownChecked = !FDownChecked;
            if (!wasDown)
                FState = absExclusive;
            BroadcastGroup();
        } else {
            FDown = false;
            FState = absUp;
        }
    }
    Invalidate();
    TCustomControl::KeyUp(Key, Shift);
}

void TAdvCustomGlowButton::KeyPress(wchar_t& Key)
{
    if (Key == VK_RETURN || Key == L' ') {
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(FModalResult);
        if (OnClick)
            OnClick(this);
    }
    TCustomControl::KeyPress(Key);
}

void TAdvCustomGlowButton::CMFocusChanged(TMessage& M)
{
    auto* focused = reinterpret_cast<TControl*>(M.LParam);
    FActive = focused == this ? true : (IsGlowButton(focused) ? false : FDefault);
    TCustomControl::Dispatch(M);
}

void TAdvCustomGlowButton::CMDialogKey(TMessage& M)
{
    const TShiftState shift = KeyDataToShiftState(M.LParam);
    const bool plain = !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
    // The form tells only itself of focus changes: ask where the focus is now.
    TControl* focused = FindControl(GetFocus());
    FActive = focused == this || (focused && !IsGlowButton(focused) && FDefault);
    const bool active = FActive;
    if (plain && ((M.WParam == VK_RETURN && active) || (M.WParam == VK_ESCAPE && FCancel)) && CanFocus()) {
        KeyboardClick();
        if (FGroupIndex == 0)
            FState = absUp;
        Invalidate();
        M.Result = 1;
        return;
    }
    TCustomControl::Dispatch(M);
}

void TAdvCustomGlowButton::KeyboardClick()
{
    if (FDropDownButton && !FDropDownSplit && FStyle == bsButton && FGroupIndex <= 0) {
        if (FDropDownMenu)
            DoDropDown();
        else
            Click();
        return;
    }
    if (FStyle == bsCheck) {
        SetDown(!FDownChecked);
        FState = absDown;
    }
    Click();
}

void TAdvCustomGlowButton::CMDialogChar(TMessage& M)
{
    const bool alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    const bool onToolBar = GetParent() && GetParent()->ClassName() == L"TAdvToolBar";
    if (alt || !onToolBar) {
        const Word key = static_cast<Word>(M.WParam);
        const bool accel = IsAccel(key, GetCaption()) || IsAccel(key, FWideCaption) || IsAccel(key, GetHint()) ||
                           IsAccel(key, FOfficeHint->GetTitle());
        if (accel && CanFocus()) {
            if (FDropDownMenu)
                DoDropDown();
            else
                Click();
            M.Result = 1;
            return;
        }
    }
    TCustomControl::Dispatch(M);
}

void TAdvCustomGlowButton::DoDropDown()
{
    if (!FDropDownMenu) {
        Invalidate();
        return;
    }
    if (OnInternalDropDown)
        OnInternalDropDown(this);
    FDropDownMenu->SetPopupComponent(this);
    FState = absDown;
    if (OnDropDown)
        OnDropDown(this);
    Repaint();
    const TPoint at = DropDownPoint();
    FDropDownMenu->Popup(at.x, at.y);
    FState = absUp;
    Invalidate();
}

// --- focus ----------------------------------------------------------------------------------
void TAdvCustomGlowButton::DoEnter()
{
    FHasFocus = true;
    Invalidate();
    TCustomControl::DoEnter();
}

void TAdvCustomGlowButton::DoExit()
{
    FHasFocus = false;
    if (FGroupIndex == 0) {
        FDown = false;
        FState = absUp;
    }
    Invalidate();
    TCustomControl::DoExit();
}
