// Painted controls: the control canvas, TGraphicControl, TCustomControl
// and the hint window.
#include "Controls.h"
#include "Forms.h"
#include "ScopeExit.h"
#include <algorithm>

TControlCanvas::~TControlCanvas()
{
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* value)
{
    if (control_ == value)
        return;
    FreeHandle();
    control_ = value;
}

void TControlCanvas::FreeHandle()
{
    if (!dc_)
        return;
    SetHandle(nullptr);
    dc_.reset();
}

void TControlCanvas::PaintOn(HDC DC, const std::function<void()>& Paint)
{
    Lock();
    FreeHandle();
    SetHandle(DC);
    if (control_) {
        GetFont()->Assign(control_->GetFont());
        GetBrush()->SetColor(control_->GetColor());
    }
    const TScopeExit release([this] {
        SetHandle(nullptr);
        Unlock();
    });
    Paint();
}

void TControlCanvas::CreateHandle()
{
    if (!control_)
        return;
    HWND wnd = nullptr;
    POINT origin{0, 0};
    RECT clip{};
    if (auto* w = dynamic_cast<TWinControl*>(control_)) {
        wnd = w->GetHandle();
        clip = w->GetClientRect();
    } else if (TWinControl* parent = control_->GetParent()) {
        // A graphic control draws on its parent's window, in its own rectangle.
        wnd = parent->GetHandle();
        origin = {control_->GetLeft(), control_->GetTop()};
        clip = {0, 0, control_->GetWidth(), control_->GetHeight()};
    }
    if (!wnd)
        return;
    HDC dc = GetDCEx(wnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!dc)
        return;
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    dc_.emplace(wnd, dc);
    SetHandle(dc);
}

// ---------------------------------------------------------------------------
TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner)
{
    canvas_.reset(New<TControlCanvas>());
    canvas_->SetControl(this);
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_PAINT) {
        if (Message.WParam)
            PaintControl(reinterpret_cast<HDC>(Message.WParam));
        return;
    }
    TControl::Dispatch(Message);
}

void TGraphicControl::PaintControl(HDC dc)
{
    canvas_->PaintOn(dc, [this] { Paint(); });
}

// ---------------------------------------------------------------------------
TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner)
{
    canvas_.reset(New<TControlCanvas>());
    canvas_->SetControl(this);
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_PAINT) {
        // The control paints itself, even without graphic children.
        ControlState << csCustomPaint;
        const TScopeExit endPaint([this] { ControlState >> csCustomPaint; });
        TWinControl::Dispatch(Message);
        return;
    }
    if (Message.Msg == WM_NCDESTROY || Message.Msg == WM_DESTROY)
        canvas_->FreeHandle();
    TWinControl::Dispatch(Message);
}

void TCustomControl::PaintWindow(HDC DC)
{
    canvas_->PaintOn(DC, [this] { Paint(); });
}

// ---------------------------------------------------------------------------
THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetColor(clInfoBk);
    GetFont()->Assign(Screen ? Screen->GetHintFont() : GetFont());
    SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP | WS_BORDER;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
    Params.WndParent = Application ? Application->GetHandle() : nullptr;
}

RECT THintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*)
{
    RECT r{0, 0, MaxWidth, 0};
    const TWindowDC screenDC;
    const TSelectObject selectFont(screenDC.Get(), GetFont()->GetHandle());
    DrawTextW(screenDC.Get(), AHint.c_str(), -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.right += 6;
    r.bottom += 2;
    return r;
}

void THintWindow::ActivateHint(RECT Rect, const String& AHint)
{
    SetCaption(AHint);
    // Keep the hint on the monitor the cursor is on.
    HMONITOR mon = MonitorFromPoint({Rect.left, Rect.top}, MONITOR_DEFAULTTONEAREST);
    MONITORINFO mi{sizeof(mi)};
    GetMonitorInfoW(mon, &mi);
    int w = Rect.right - Rect.left, h = Rect.bottom - Rect.top;
    int border = 2 * GetSystemMetrics(SM_CXBORDER);
    w += border;
    h += border;
    if (Rect.left + w > mi.rcWork.right)
        Rect.left = mi.rcWork.right - w;
    if (Rect.left < mi.rcWork.left)
        Rect.left = mi.rcWork.left;
    if (Rect.top + h > mi.rcWork.bottom)
        Rect.top = mi.rcWork.bottom - h;
    if (Rect.top < mi.rcWork.top)
        Rect.top = mi.rcWork.top;
    SetBounds(Rect.left, Rect.top, w, h);
    HWND wnd = GetHandle();
    SetWindowPos(wnd, HWND_TOPMOST, Rect.left, Rect.top, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(wnd, nullptr, TRUE);
    active_ = true;
}

void THintWindow::ActivateHintData(RECT Rect, const String& AHint, void*)
{
    ActivateHint(Rect, AHint);
}

bool THintWindow::IsHintMsg(const MSG& Msg) const
{
    return (Msg.message >= WM_KEYFIRST && Msg.message <= WM_KEYLAST) ||
           Msg.message == WM_LBUTTONDOWN || Msg.message == WM_RBUTTONDOWN ||
           Msg.message == WM_MBUTTONDOWN || Msg.message == WM_NCLBUTTONDOWN ||
           Msg.message == WM_NCRBUTTONDOWN || Msg.message == WM_ACTIVATEAPP ||
           Msg.message == CM_ACTIVATE || Msg.message == CM_DEACTIVATE;
}

void THintWindow::ReleaseHandle()
{
    active_ = false;
    DestroyHandle();
}

void THintWindow::Paint()
{
    TCanvas* canvas = GetCanvas();
    RECT r = GetClientRect();
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(r);
    InflateRect(&r, -2, -1);
    canvas->GetFont()->SetColor(Screen ? Screen->GetHintFont()->GetColor() : clInfoText);
    SetBkMode(canvas->GetHandle(), TRANSPARENT);
    String text = GetCaption();
    HGDIOBJ old = SelectObject(canvas->GetHandle(), canvas->GetFont()->GetHandle());
    SetTextColor(canvas->GetHandle(), ColorToRGB(canvas->GetFont()->GetColor()));
    DrawTextW(canvas->GetHandle(), text.c_str(), -1, &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
    SelectObject(canvas->GetHandle(), old);
}

void THintWindow::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCHITTEST:
        Message.Result = HTTRANSPARENT;
        return;
    case WM_MOUSEACTIVATE:
        Message.Result = MA_NOACTIVATE;
        return;
    default:
        TCustomControl::Dispatch(Message);
    }
}
