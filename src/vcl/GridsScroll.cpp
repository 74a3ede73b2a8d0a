// The grid's window: its creation parameters, the standard scroll bars and
// their messages, focus, cursor, timer and the other messages it handles.
//
// The scroll bars' thumb range is 0..127 whatever the counts; positions map
// onto rows and columns by MulDiv, so the 16-bit thumb position of the scroll
// messages covers any count and descendants can compute the same mapping.
#include "Grids.h"
#include <algorithm>

namespace {

constexpr int ThumbRange = 127;
constexpr UINT_PTR DragScrollTimer = 1;

bool HasBar(TScrollStyle style, bool horizontal)
{
    return style == ssBoth || style == (horizontal ? ssHorizontal : ssVertical);
}

} // namespace

void TCustomGrid::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_TABSTOP;
    if (HasBar(scrollBars_, false))
        Params.Style |= WS_VSCROLL;
    if (HasBar(scrollBars_, true))
        Params.Style |= WS_HSCROLL;
    if (borderStyle_ == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    // The grid repaints what changed itself; a resize need not repaint all.
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGrid::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollRange();
}

void TCustomGrid::DestroyWnd()
{
    if (scrollTimerOn_ && HandleAllocated())
        KillTimer(GetHandle(), DragScrollTimer);
    scrollTimerOn_ = false;
    FGridState = gsNormal;
    TCustomControl::DestroyWnd();
}

void TCustomGrid::Resize()
{
    UpdateScrollRange();
    // A larger window shows the last page whole again.
    const int maxLeft = MaxFirst(horz_, LineWidthOf(true), ClientExtent(true));
    const int maxTop = MaxFirst(vert_, LineWidthOf(false), ClientExtent(false));
    if (horz_.first > maxLeft || vert_.first > maxTop)
        MoveTopLeft(std::min(horz_.first, maxLeft), std::min(vert_.first, maxTop));
    InvalidateEditor();
    TCustomControl::Resize();
}

void TCustomGrid::ChangeScale(int M, int D)
{
    TCustomControl::ChangeScale(M, D);
    if (M == D)
        return;
    for (Axis* axis : {&horz_, &vert_}) {
        axis->defaultExtent = MulDiv(axis->defaultExtent, M, D);
        for (int& e : axis->extents)
            if (e > 0)
                e = MulDiv(e, M, D);
    }
    InvalidateGrid();
    UpdateScrollRange();
}

int TCustomGrid::ScrollBarCode(bool horizontal) const
{
    return horizontal ? SB_HORZ : SB_VERT;
}

void TCustomGrid::UpdateScrollRange()
{
    if (!HandleAllocated() || updatingScrollBars_)
        return;
    updatingScrollBars_ = true;
    // Judged on the client as it would be without the bars, so that bars
    // shown once go again when the cells fit; showing one bar narrows the
    // client and may call for the other.
    const LONG_PTR style = GetWindowLongPtrW(GetHandle(), GWL_STYLE);
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int barHeight = GetSystemMetrics(SM_CYHSCROLL);
    const int fullWidth = ClientExtent(true) + ((style & WS_VSCROLL) ? barWidth : 0);
    const int fullHeight = ClientExtent(false) + ((style & WS_HSCROLL) ? barHeight : 0);
    auto needed = [this](bool horizontal, int extent) {
        const Axis& axis = horizontal ? horz_ : vert_;
        return HasBar(scrollBars_, horizontal) &&
               (MaxFirst(axis, LineWidthOf(horizontal), extent) > axis.fixed || axis.first > axis.fixed);
    };
    bool horzBar = false;
    bool vertBar = false;
    for (int round = 0; round < 2; ++round) {
        horzBar = needed(true, fullWidth - (vertBar ? barWidth : 0));
        vertBar = needed(false, fullHeight - (horzBar ? barHeight : 0));
    }
    for (bool horizontal : {true, false}) {
        if (!HasBar(scrollBars_, horizontal))
            continue;
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE;
        si.nMin = 0;
        si.nMax = (horizontal ? horzBar : vertBar) ? ThumbRange : 0;
        si.nPage = 0;
        SetScrollInfo(GetHandle(), ScrollBarCode(horizontal), &si, TRUE);
    }
    updatingScrollBars_ = false;
    UpdateScrollPos();
}

void TCustomGrid::UpdateScrollPos()
{
    if (!HandleAllocated())
        return;
    for (bool horizontal : {true, false}) {
        if (!HasBar(scrollBars_, horizontal))
            continue;
        const Axis& axis = horizontal ? horz_ : vert_;
        const int span = MaxFirst(axis, LineWidthOf(horizontal), ClientExtent(horizontal)) - axis.fixed;
        const int pos = span > 0 ? std::clamp(MulDiv(axis.first - axis.fixed, ThumbRange, span), 0, ThumbRange)
                                 : (axis.first > axis.fixed ? ThumbRange : 0);
        SetScrollPos(GetHandle(), ScrollBarCode(horizontal), pos, TRUE);
    }
}

void TCustomGrid::ScrollMessage(bool horizontal, int code, int pos)
{
    Axis& axis = horizontal ? horz_ : vert_;
    const int maxFirst = MaxFirst(axis, LineWidthOf(horizontal), ClientExtent(horizontal));
    const int page = horizontal ? GetVisibleColCount() : GetVisibleRowCount();
    int first = axis.first;
    switch (code) {
    case SB_LINEUP: --first; break;
    case SB_LINEDOWN: ++first; break;
    case SB_PAGEUP: first -= page; break;
    case SB_PAGEDOWN: first += page; break;
    case SB_TOP: first = axis.fixed; break;
    case SB_BOTTOM: first = maxFirst; break;
    case SB_THUMBTRACK:
        if (!options_.Contains(goThumbTracking))
            return;
        [[fallthrough]];
    case SB_THUMBPOSITION:
        first = axis.fixed + MulDiv(std::clamp(pos, 0, ThumbRange), maxFirst - axis.fixed, ThumbRange);
        break;
    default:
        return;
    }
    first = std::clamp(first, axis.fixed, std::max(maxFirst, std::min(axis.first, axis.count - 1)));
    if (horizontal)
        MoveTopLeft(first, vert_.first);
    else
        MoveTopLeft(horz_.first, first);
}

void TCustomGrid::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        if (!options_.Contains(goRowSelect)) {
            if (options_.Contains(goTabs))
                Message.Result |= DLGC_WANTTAB;
            if (options_.Contains(goEditing))
                Message.Result |= DLGC_WANTCHARS;
        }
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        // The thumb position of the message is only 16 bits wide; the range keeps it small.
        ScrollMessage(Message.Msg == WM_HSCROLL, LOWORD(Message.WParam), static_cast<short>(HIWORD(Message.WParam)));
        Message.Result = 0;
        return;
    case WM_TIMER:
        if (Message.WParam == DragScrollTimer) {
            ScrollTimer();
            return;
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(Message.LParam) == HTCLIENT && FGridState == gsNormal &&
            (options_.Contains(goColSizing) || options_.Contains(goRowSizing))) {
            POINT p;
            GetCursorPos(&p);
            ::ScreenToClient(GetHandle(), &p);
            TGridDrawInfo info;
            CalcDrawInfo(info);
            TGridState state = gsNormal;
            int index = 0, pos = 0, ofs = 0;
            CalcSizingState(p.x, p.y, state, index, pos, ofs, info);
            if (state != gsNormal) {
                ::SetCursor(LoadCursorW(nullptr, state == gsColSizing ? IDC_SIZEWE : IDC_SIZENS));
                Message.Result = 1;
                return;
            }
        }
        break;
    case WM_SETFOCUS:
        TCustomControl::Dispatch(Message);
        if (!inplaceEdit_ || !inplaceEdit_->HandleAllocated() ||
            reinterpret_cast<HWND>(Message.WParam) != inplaceEdit_->GetHandle()) {
            InvalidateRect(GetSelection());
            UpdateEdit();
        }
        return;
    case WM_KILLFOCUS:
        TCustomControl::Dispatch(Message);
        InvalidateRect(GetSelection());
        if (!inplaceEdit_ || !inplaceEdit_->HandleAllocated() ||
            reinterpret_cast<HWND>(Message.WParam) != inplaceEdit_->GetHandle())
            HideEdit();
        return;
    case WM_CANCELMODE:
        if (sizingLineShown_)
            DrawSizingLine();
        if (scrollTimerOn_)
            KillTimer(GetHandle(), DragScrollTimer);
        scrollTimerOn_ = false;
        FGridState = gsNormal;
        break;
    case WM_ERASEBKGND:
        // Paint fills every pixel.
        Message.Result = 1;
        return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
        TCustomControl::Dispatch(Message);
        InvalidateGrid();
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}
