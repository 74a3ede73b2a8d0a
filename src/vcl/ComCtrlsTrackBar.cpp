#include "ComCtrls.h"

#include <algorithm>
#include <commctrl.h>

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, 150, 45);
    SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& Params)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, TRACKBAR_CLASSW);
    Params.Style |= TBS_AUTOTICKS | (orientation_ == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND wnd = GetHandle();
    SendMessageW(wnd, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageW(wnd, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageW(wnd, TBM_SETTICFREQ, frequency_, 0);
    SendMessageW(wnd, TBM_SETPAGESIZE, 0, pageSize_);
    SendMessageW(wnd, TBM_SETLINESIZE, 0, lineSize_);
    SendMessageW(wnd, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::Changed()
{
    if (OnChange)
        OnChange(this);
}

// The one place the position changes: the window follows, then the event.
void TTrackBar::MoveTo(int Value)
{
    Value = std::clamp(Value, min_, max_);
    if (HandleAllocated() && SendMessageW(GetHandle(), TBM_GETPOS, 0, 0) != Value)
        SendMessageW(GetHandle(), TBM_SETPOS, TRUE, Value);
    if (Value == position_)
        return;
    position_ = Value;
    Changed();
}

void TTrackBar::SetPosition(int Value)
{
    MoveTo(Value);
}

void TTrackBar::SetMin(int Value)
{
    if (Value > max_ || Value == min_)
        return;
    min_ = Value;
    if (HandleAllocated())
        SendMessageW(GetHandle(), TBM_SETRANGEMIN, TRUE, min_);
    MoveTo(position_);
}

void TTrackBar::SetMax(int Value)
{
    if (Value < min_ || Value == max_)
        return;
    max_ = Value;
    if (HandleAllocated())
        SendMessageW(GetHandle(), TBM_SETRANGEMAX, TRUE, max_);
    MoveTo(position_);
}

void TTrackBar::SetFrequency(int Value)
{
    frequency_ = Value;
    if (HandleAllocated())
        SendMessageW(GetHandle(), TBM_SETTICFREQ, Value, 0);
}

void TTrackBar::SetPageSize(int Value)
{
    pageSize_ = Value;
    if (HandleAllocated())
        SendMessageW(GetHandle(), TBM_SETPAGESIZE, 0, Value);
}

void TTrackBar::SetLineSize(int Value)
{
    lineSize_ = Value;
    if (HandleAllocated())
        SendMessageW(GetHandle(), TBM_SETLINESIZE, 0, Value);
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value)
{
    if (Value == orientation_)
        return;
    orientation_ = Value;
    RecreateWnd();
}

void TTrackBar::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
        // The user moved the thumb by key, click or drag.
        position_ = std::clamp(position_, min_, max_);
        if (const int pos = static_cast<int>(SendMessageW(GetHandle(), TBM_GETPOS, 0, 0)); pos != position_) {
            position_ = pos;
            Changed();
        }
        Message.Result = 0;
        return;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}
