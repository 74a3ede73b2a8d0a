// Scrolling containers: the range follows the children, the scroll bars
// move them.
#include "Forms.h"
#include "ScopeExit.h"
#include <algorithm>

int TControlScrollBar::ClientSize() const
{
    RECT r = control_->GetClientRect();
    return kind_ == sbHorizontal ? r.right - r.left : r.bottom - r.top;
}

int TControlScrollBar::MaxPosition() const
{
    return std::max(0, range_ - ClientSize());
}

bool TControlScrollBar::IsScrollBarVisible() const
{
    return visible_ && range_ > ClientSize();
}

void TControlScrollBar::SetRange(int value)
{
    range_ = std::max(0, value);
    control_->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int value)
{
    value = std::clamp(value, 0, MaxPosition());
    if (value == position_)
        return;
    int delta = position_ - value;
    position_ = value;
    if (kind_ == sbHorizontal)
        control_->ScrollBy(delta, 0);
    else
        control_->ScrollBy(0, delta);
    if (control_->HandleAllocated())
        SetScrollPos(control_->Handle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, position_, TRUE);
}

void TControlScrollBar::SetVisible(bool value)
{
    visible_ = value;
    control_->UpdateScrollBars();
}

void TControlScrollBar::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TControlScrollBar*>(Source)) {
        increment_ = s->increment_;
        visible_ = s->visible_;
        SetRange(s->range_);
        SetPosition(s->position_);
        return;
    }
    TPersistent::Assign(Source);
}

void TControlScrollBar::Update()
{
    HWND wnd = control_->HandleAllocated() ? control_->Handle() : nullptr;
    if (position_ > MaxPosition())
        SetPosition(MaxPosition());
    if (!wnd)
        return;
    SCROLLINFO si{sizeof(si)};
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = IsScrollBarVisible() ? range_ - 1 : 0;
    si.nPage = IsScrollBarVisible() ? static_cast<UINT>(ClientSize()) : 0;
    si.nPos = position_;
    SetScrollInfo(wnd, kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &si, TRUE);
}

void TControlScrollBar::ScrollMessage(int code, int pos)
{
    int page = std::max(1, ClientSize() * 9 / 10);
    switch (code) {
    case SB_LINEUP: SetPosition(position_ - increment_); break;
    case SB_LINEDOWN: SetPosition(position_ + increment_); break;
    case SB_PAGEUP: SetPosition(position_ - page); break;
    case SB_PAGEDOWN: SetPosition(position_ + page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The message's position has 16 bits; the scroll info has them all.
        SCROLLINFO si{sizeof(si)};
        si.fMask = SIF_TRACKPOS;
        if (control_->HandleAllocated() &&
            GetScrollInfo(control_->Handle(), kind_ == sbHorizontal ? SB_HORZ : SB_VERT, &si))
            pos = si.nTrackPos;
        SetPosition(pos);
        break;
    }
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(MaxPosition()); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner)
{
    horz_.reset(New<TControlScrollBar>(this, sbHorizontal));
    vert_.reset(New<TControlScrollBar>(this, sbVertical));
    ControlStyle << csAcceptsControls;
}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TScrollingWinControl::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateScrollBars();
}

void TScrollingWinControl::SetAutoScroll(bool value)
{
    if (autoScroll_ == value)
        return;
    autoScroll_ = value;
    if (value)
        CalcAutoRange();
    else {
        horz_->SetRange(0);
        vert_->SetRange(0);
    }
}

void TScrollingWinControl::EnableAutoRange()
{
    if (autoRangeLevel_ > 0 && --autoRangeLevel_ == 0)
        CalcAutoRange();
}

void TScrollingWinControl::CalcAutoRange()
{
    if (!autoScroll_ || autoRangeLevel_ > 0 || ComponentState().Contains(csLoading))
        return;
    // The range covers every child not stuck to an edge, as if unscrolled.
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->GetVisible())
            continue;
        TAlign a = c->GetAlign();
        if (a == alNone || a == alLeft || a == alRight || a == alTop || a == alBottom || a == alCustom) {
            if (a != alTop && a != alBottom && a != alClient)
                right = std::max(right, c->GetLeft() + c->GetWidth() + horz_->position_);
            if (a != alLeft && a != alRight && a != alClient)
                bottom = std::max(bottom, c->GetTop() + c->GetHeight() + vert_->position_);
        }
    }
    horz_->range_ = right;
    vert_->range_ = bottom;
    UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars()
{
    if (updatingBars_)
        return;
    updatingBars_ = true;
    const TScopeExit reset([this] { updatingBars_ = false; });
    // Showing one bar narrows the client area, which may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        horz_->Update();
        vert_->Update();
    }
}

void TScrollingWinControl::ScrollBy(int DeltaX, int DeltaY)
{
    if (DeltaX == 0 && DeltaY == 0)
        return;
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetBounds(c->GetLeft() + DeltaX, c->GetTop() + DeltaY, c->GetWidth(), c->GetHeight());
    }
    ControlState >> csAlignmentNeeded;
    EnableAlign();
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, TRUE);
}

void TScrollingWinControl::ScrollInView(TControl* AControl)
{
    if (!AControl || !ContainsControl(AControl))
        return;
    POINT p = AControl->ClientToParent({0, 0}, this);
    RECT client = GetClientRect();
    if (p.x < 0)
        horz_->SetPosition(horz_->position_ + p.x);
    else if (p.x + AControl->GetWidth() > client.right)
        horz_->SetPosition(horz_->position_ + std::min(p.x, p.x + AControl->GetWidth() - client.right));
    if (p.y < 0)
        vert_->SetPosition(vert_->position_ + p.y);
    else if (p.y + AControl->GetHeight() > client.bottom)
        vert_->SetPosition(vert_->position_ + std::min(p.y, p.y + AControl->GetHeight() - client.bottom));
}

void TScrollingWinControl::AdjustClientRect(RECT& Rect)
{
    // Aligned children stay put in the scrolled area.
    OffsetRect(&Rect, -horz_->ScrollPos(), -vert_->ScrollPos());
    TWinControl::AdjustClientRect(Rect);
}

void TScrollingWinControl::AlignControls(TControl* AControl, RECT& Rect)
{
    TWinControl::AlignControls(AControl, Rect);
    if (!ControlState.Contains(csAlignmentNeeded))
        CalcAutoRange();
}

bool TScrollingWinControl::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos)
{
    if (TWinControl::DoMouseWheel(Shift, WheelDelta, MousePos))
        return true;
    TControlScrollBar* bar =
        vert_->IsScrollBarVisible() ? vert_.get() : (horz_->IsScrollBarVisible() ? horz_.get() : nullptr);
    if (!bar)
        return false;
    bar->SetPosition(bar->position_ - WheelDelta / WHEEL_DELTA * bar->increment_ * 3);
    return true;
}

void TScrollingWinControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        // Only the window's own bars; a scroll bar control's notification is reflected.
        if (Message.LParam == 0) {
            (Message.Msg == WM_HSCROLL ? horz_ : vert_)
                ->ScrollMessage(LOWORD(Message.WParam), static_cast<short>(HIWORD(Message.WParam)));
            Message.Result = 0;
            return;
        }
        break;
    case WM_SIZE:
        TWinControl::Dispatch(Message);
        if (!ComponentState().Contains(csLoading))
            CalcAutoRange();
        return;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner)
{
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle value)
{
    if (borderStyle_ == value)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params)
{
    TScrollingWinControl::CreateParams(Params);
    if (borderStyle_ == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}
