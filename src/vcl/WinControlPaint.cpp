// TWinControl: painting, double buffering, graphic children and the border.
#include "Controls.h"
#include "Forms.h"
#include "ScopeExit.h"
#include <algorithm>
#include <optional>

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


// --- the non-client border -------------------------------------------------------
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
