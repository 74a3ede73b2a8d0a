// Buttons, check boxes, radio buttons, scroll bars and group boxes.
#include "StdCtrls.h"
#include <algorithm>

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
    // The system button tracks the mouse and reports clicks itself.
    ControlStyle = {csSetCaption, csDoubleClicks};
    SetTabStop(true);
}

void TButtonControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"BUTTON");
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// ---------------------------------------------------------------------------
TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool value)
{
    default_ = value;
    if (handle_)
        SendMessageW(handle_, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click()
{
    // A button with a modal result closes the modal form it sits on.
    if (modalResult_ != mrNone)
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED)
            Click();
        return;
    case CM_DIALOGKEY:
        // Enter presses the default button, Escape the cancel button.
        if (((Message.WParam == VK_RETURN && default_) || (Message.WParam == VK_ESCAPE && cancel_)) &&
            GetKeyState(VK_MENU) >= 0 && GetEnabled() && IsVisibleOnScreen()) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && GetEnabled() && IsVisibleOnScreen()) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TButtonControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    // The control keeps the state; the window only shows it.
    Params.Style |= BS_3STATE;
    if (alignment_ == taLeftJustify)
        Params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageW(handle_, BM_SETCHECK, state_, 0);
}

void TCustomCheckBox::SetState(TCheckBoxState value)
{
    if (state_ == value)
        return;
    state_ = value;
    if (handle_)
        SendMessageW(handle_, BM_SETCHECK, state_, 0);
    // Setting the state in code is a click too, except while building the form.
    if (!ComponentState().Contains(csLoading))
        Click();
}

void TCustomCheckBox::SetAlignment(TAlignment value)
{
    if (alignment_ == value)
        return;
    alignment_ = value;
    RecreateWnd();
}

void TCustomCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCustomCheckBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED)
            Toggle();
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && CanFocus()) {
            SetFocus();
            if (Focused())
                Toggle();
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TButtonControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& Params)
{
    TButtonControl::CreateParams(Params);
    Params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWnd()
{
    TButtonControl::CreateWnd();
    SendMessageW(handle_, BM_SETCHECK, checked_, 0);
}

void TRadioButton::SetChecked(bool value)
{
    if (checked_ == value)
        return;
    checked_ = value;
    SetTabStop(value);
    if (handle_)
        SendMessageW(handle_, BM_SETCHECK, checked_, 0);
    if (value) {
        // One radio button per parent is checked.
        if (TWinControl* parent = GetParent())
            for (int i = 0; i < parent->ControlCount(); ++i)
                if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this)
                    other->SetChecked(false);
        if (!ComponentState().Contains(csLoading))
            Click();
    }
}

void TRadioButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED || HIWORD(Message.WParam) == BN_DOUBLECLICKED)
            SetChecked(true);
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && CanFocus()) {
            SetFocus();
            SetChecked(true);
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TButtonControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner)
{
    ControlStyle = {csFramed, csDoubleClicks};
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"SCROLLBAR");
    Params.Style |= kind_ == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateInfo();
}

void TScrollBar::SetKind(TScrollBarKind value)
{
    if (kind_ == value)
        return;
    kind_ = value;
    // A bar turned on its side swaps its width and height.
    if (!ComponentState().Contains(csLoading))
        SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
    RecreateWnd();
}

void TScrollBar::SetPageSize(int value)
{
    if (value < 0 || value > max_ - min_ + 1)
        throw EInvalidOperation(L"Property value out of range");
    pageSize_ = value;
    UpdateInfo();
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax)
{
    if (AMax < AMin)
        throw EInvalidOperation(L"Scroll bar property out of range");
    APosition = std::clamp(APosition, AMin, AMax);
    bool changed = APosition != position_;
    min_ = AMin;
    max_ = AMax;
    position_ = APosition;
    UpdateInfo();
    if (changed)
        Change();
}

void TScrollBar::UpdateInfo()
{
    if (!handle_)
        return;
    SCROLLINFO si{sizeof(si)};
    si.fMask = SIF_ALL;
    si.nMin = min_;
    si.nMax = max_;
    si.nPage = static_cast<UINT>(pageSize_);
    si.nPos = position_;
    SetScrollInfo(handle_, SB_CTL, &si, TRUE);
}

void TScrollBar::Change()
{
    TControl::Changed();
    if (OnChange)
        OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos)
{
    if (OnScroll)
        OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(int code)
{
    static const TScrollCode codes[] = {scLineUp, scLineDown, scPageUp, scPageDown, scPosition,
                                        scTrack,  scTop,      scBottom, scEndScroll};
    if (code < 0 || code > SB_ENDSCROLL)
        return;
    int pos = position_;
    int maxPos = pageSize_ > 0 ? max_ - pageSize_ + 1 : max_;
    switch (code) {
    case SB_LINEUP: pos -= smallChange_; break;
    case SB_LINEDOWN: pos += smallChange_; break;
    case SB_PAGEUP: pos -= largeChange_; break;
    case SB_PAGEDOWN: pos += largeChange_; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        SCROLLINFO si{sizeof(si)};
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(handle_, SB_CTL, &si);
        pos = si.nTrackPos;
        break;
    }
    case SB_TOP: pos = min_; break;
    case SB_BOTTOM: pos = maxPos; break;
    default: break;
    }
    pos = std::clamp(pos, min_, std::max(min_, maxPos));
    Scroll(codes[code], pos);
    SetPosition(pos);
}

void TScrollBar::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
        DoScroll(LOWORD(Message.WParam));
        Message.Result = 0;
        return;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
TCustomGroupBox::TCustomGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(RECT& Rect)
{
    TCustomControl::AdjustClientRect(Rect);
    // Children go below the caption, inside the frame.
    TWindowDC dc;
    TSelectObject font(dc.Get(), GetFont()->GetHandle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    Rect.top += tm.tmHeight;
    InflateRect(&Rect, -1, -1);
}

void TCustomGroupBox::Paint()
{
    TCanvas* canvas = GetCanvas();
    HDC dc = canvas->GetHandle();
    TSelectObject font(dc, GetFont()->GetHandle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT frame{0, tm.tmHeight / 2, GetWidth(), GetHeight()};
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(TRect(0, 0, GetWidth(), GetHeight()));
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    String caption = GetCaption();
    if (!caption.empty()) {
        RECT text{8, 0, 0, tm.tmHeight};
        DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, ColorToRGB(GetColor()));
        SetTextColor(dc, ColorToRGB(GetEnabled() ? GetFont()->GetColor() : clGrayText));
        DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE);
    }
}

void TCustomGroupBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TCustomControl::Dispatch(Message);
        Realign();
        Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && CanFocus()) {
            if (TWinControl* first = FindNextControl(nullptr, true, true, false))
                first->SetFocus();
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}
