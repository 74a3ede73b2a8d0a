// The grid's scroll bars beyond the inherited ones: flat bars through the
// common controls, thumbs in proportion to what shows, the slim scrollers
// of ssMetro, the scroll bar control over an in-cell scroll bar, and the
// two timed scrolls: on after a flick, and near the edges while something
// is dragged over the grid.
//
// The flat-bar entry points are looked up each time through the platform
// probe; a missing one leaves normal bars. The drag-scroll timer is the
// grid's own, so that a grid freed mid-drag takes it along.
#include "AdvGrid.h"
#include "PlatformProbe.h"
#include "ProcBinding.h"
#include <algorithm>
#include <cmath>
#include <commctrl.h>

namespace {

using InitFlatFn = BOOL(WINAPI*)(HWND);
using UninitFlatFn = HRESULT(WINAPI*)(HWND);
using SetPropFn = BOOL(WINAPI*)(HWND, UINT, INT_PTR, BOOL);
using ShowBarFn = BOOL(WINAPI*)(HWND, int, BOOL);
using SetInfoFn = int(WINAPI*)(HWND, int, LPSCROLLINFO, BOOL);

template <class F>
F FlatEntry(const char* Name)
{
    auto lookup = PlatformProbe().ComCtlEntry;
    FARPROC proc = lookup ? lookup(Name) : nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(proc));
}

bool HasBar(TScrollStyle Bars, bool Vertical)
{
    return Bars == ssBoth || Bars == (Vertical ? ssVertical : ssHorizontal);
}

constexpr int MetroThickness = 6;

} // namespace

// --- settings ------------------------------------------------------------------------------------

void TAdvStringGrid::SetScrollType(TScrollType Value)
{
    if (Value == FScrollType)
        return;
    FScrollType = Value;
    if (Value == ssFlat || Value == ssEncarta) {
        FlatInit();
        FlatApplyAll();
    } else {
        FlatDone();
    }
    if (HandleAllocated()) {
        if (Value == ssMetro) {
            MetroControls(true);
            SetScrollBars(ssNone);
        } else if (FVScrollControl || FHScrollControl) {
            MetroControls(false);
            SetScrollBars(ssBoth);
        }
    }
    FlatApplyStyle();
}

void TAdvStringGrid::SetScrollColor(TColor Value)
{
    FScrollColor = Value;
    FlatApplyColor();
}

void TAdvStringGrid::SetScrollWidth(int Value)
{
    FScrollWidth = Value;
    FlatApplyWidth();
}

void TAdvStringGrid::SetScrollProportional(bool Value)
{
    FScrollProportional = Value;
    if (Value) {
        UpdateVScrollBar();
        UpdateHScrollBar();
    } else if (FIsFlatSB && FScrollType == ssNormal && HandleAllocated()) {
        FlatDone();
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_PAGE;
        SetScrollInfo(GetHandle(), SB_VERT, &si, TRUE);
        SetScrollInfo(GetHandle(), SB_HORZ, &si, TRUE);
    }
}

// --- flat bars -------------------------------------------------------------------------------------

void TAdvStringGrid::FlatInit()
{
    if (!HandleAllocated())
        return;
    auto init = FlatEntry<InitFlatFn>("InitializeFlatSB");
    FIsFlatSB = init != nullptr;
    if (init)
        init(GetHandle());
}

void TAdvStringGrid::FlatDone()
{
    FIsFlatSB = false;
    if (!HandleAllocated())
        return;
    if (auto done = FlatEntry<UninitFlatFn>("UninitializeFlatSB"))
        done(GetHandle());
}

void TAdvStringGrid::FlatSetProp(UINT Index, INT_PTR Value)
{
    if (!FIsFlatSB || !HandleAllocated())
        return;
    if (auto setProp = FlatEntry<SetPropFn>("FlatSB_SetScrollProp"))
        setProp(GetHandle(), Index, Value, TRUE);
}

void TAdvStringGrid::FlatApplyStyle()
{
    int mode = -1;
    switch (FScrollType) {
    case ssNormal: mode = FSB_REGULAR_MODE; break;
    case ssFlat: mode = FSB_FLAT_MODE; break;
    case ssEncarta: mode = FSB_ENCARTA_MODE; break;
    case ssMetro: break;
    }
    if (mode < 0)
        return;
    FlatSetProp(WSB_PROP_VSTYLE, mode);
    FlatSetProp(WSB_PROP_HSTYLE, mode);
}

void TAdvStringGrid::FlatApplyColor()
{
    if (FScrollColor == clNone)
        return;
    FlatSetProp(WSB_PROP_VBKGCOLOR, static_cast<INT_PTR>(ColorToRGB(FScrollColor)));
    FlatSetProp(WSB_PROP_HBKGCOLOR, static_cast<INT_PTR>(ColorToRGB(FScrollColor)));
}

void TAdvStringGrid::FlatApplyWidth()
{
    FlatSetProp(WSB_PROP_CXVSCROLL, FScrollWidth);
    FlatSetProp(WSB_PROP_CYHSCROLL, FScrollWidth);
}

void TAdvStringGrid::FlatApplyAll()
{
    FlatApplyStyle();
    FlatApplyColor();
    FlatApplyWidth();
    const bool rowsHidden = GetVisibleRowCount() + GetFixedRows() < GetRowCount();
    FlatShowBar(SB_VERT, rowsHidden);
    if (rowsHidden)
        FlatReapplyInfo(SB_VERT);
    const bool colsHidden = GetVisibleColCount() + GetFixedCols() < GetColCount();
    FlatShowBar(SB_HORZ, colsHidden);
    if (colsHidden)
        FlatReapplyInfo(SB_HORZ);
}

void TAdvStringGrid::FlatShowBar(int Bar, bool Show)
{
    if (!FIsFlatSB || !HandleAllocated() || !HasBar(GetScrollBars(), Bar == SB_VERT))
        return;
    if (auto show = FlatEntry<ShowBarFn>("FlatSB_ShowScrollBar"))
        show(GetHandle(), Bar, Show);
}

void TAdvStringGrid::FlatReapplyInfo(int Bar)
{
    if (!FIsFlatSB || !HandleAllocated() || !HasBar(GetScrollBars(), Bar == SB_VERT))
        return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(GetHandle(), Bar, &si);
    if (auto setInfo = FlatEntry<SetInfoFn>("FlatSB_SetScrollInfo"))
        setInfo(GetHandle(), Bar, &si, TRUE);
}

// --- proportional thumbs ---------------------------------------------------------------------------
//
// The inherited bars run over 0 .. 127; a page of nMax - 126 keeps that
// range of positions while the thumb takes the share of the rows that show.

void TAdvStringGrid::UpdateVScrollBar()
{
    if (LoadingNow() || DesignTime() || !FScrollProportional || FScrollType == ssMetro ||
        !HasBar(GetScrollBars(), true) || FScrollLock || !HandleAllocated())
        return;
    if (GetVisibleRowCount() + GetFixedRows() >= GetRowCount())
        return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(GetHandle(), SB_VERT, &si);
    const int lw = GetGridLineWidth();
    int H = GetHeight();
    if (GetVisibleColCount() + GetFixedCols() < GetColCount())
        H -= GetSystemMetrics(SM_CYHSCROLL);
    int F = lw, T = lw, A = lw;
    for (int r = 0; r < GetRowCount(); ++r) {
        const int extent = lw + GetRowHeights(r);
        if (r < GetFixedRows()) {
            F += extent;
        } else {
            T += extent;
            if (r < GetTopRow())
                A += extent;
        }
    }
    if (T == 0)
        return;
    const float e = static_cast<float>(H - F) / static_cast<float>(T);
    if (e >= 0.9999f)
        return;
    si.nMax = static_cast<int>(std::trunc((e + 127) / (1 - e)));
    si.nPage = static_cast<UINT>(std::max(0, si.nMax - 126));
    si.nPos = H < T ? static_cast<int>(std::trunc(A / static_cast<double>(T - H) * 128)) : 127;
    si.fMask = SIF_ALL;
    SetScrollInfo(GetHandle(), SB_VERT, &si, TRUE);
    FlatReapplyInfo(SB_VERT);
}

void TAdvStringGrid::UpdateHScrollBar()
{
    if (LoadingNow() || DesignTime() || !FScrollProportional || FScrollType == ssMetro ||
        !HasBar(GetScrollBars(), false) || FScrollLock || !HandleAllocated())
        return;
    if (GetVisibleColCount() + GetFixedCols() >= GetColCount())
        return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    GetScrollInfo(GetHandle(), SB_HORZ, &si);
    const int lw = GetGridLineWidth();
    int W = GetWidth();
    if (GetVisibleRowCount() + GetFixedRows() < GetRowCount())
        W -= GetSystemMetrics(SM_CXVSCROLL);
    int F = lw, T = lw, A = lw;
    for (int c = 0; c < GetColCount(); ++c) {
        const int extent = lw + GetColWidths(c);
        if (c < GetFixedCols()) {
            F += extent;
        } else {
            T += extent;
            if (c < GetLeftCol())
                A += extent;
        }
    }
    if (T == 0 || F + T < W)
        return;
    const float e = static_cast<float>(W - F) / static_cast<float>(T);
    if (e >= 0.99999f)
        return;
    si.nMax = static_cast<int>(std::trunc((e + 127) / (1 - e)));
    si.nPage = static_cast<UINT>(std::max(0, si.nMax - 126));
    if (W < T)
        si.nPos = static_cast<int>(std::trunc(A / static_cast<double>(T - W) * 128));
    if (si.nPage >= 4000)
        return;
    si.fMask = SIF_ALL;
    SetScrollInfo(GetHandle(), SB_HORZ, &si, TRUE);
    FlatReapplyInfo(SB_HORZ);
}

// --- the slim scrollers ------------------------------------------------------------------------------

void TAdvStringGrid::MetroControls(bool Make)
{
    if (!Make) {
        for (TScrollControl** control : {&FVScrollControl, &FHScrollControl}) {
            if (*control)
                (*control)->Free();
            *control = nullptr;
        }
        return;
    }
    if (FVScrollControl)
        return;
    FVScrollControl = New<TScrollControl>(this);
    FVScrollControl->SetDirection(sdVertical);
    FVScrollControl->SetWidth(MetroThickness);
    FVScrollControl->SetAlign(alRight);
    FHScrollControl = New<TScrollControl>(this);
    FHScrollControl->SetDirection(sdHorizontal);
    FHScrollControl->SetHeight(MetroThickness);
    FHScrollControl->SetAlign(alBottom);
    for (TScrollControl* control : {FVScrollControl, FHScrollControl}) {
        control->SetDoubleBuffered(true);
        control->SetParent(this);
        control->SetVisible(true);
    }
}

// --- scroll messages ---------------------------------------------------------------------------------

void TAdvStringGrid::DoScrollCell(int ACol, int ARow, int Position, int Min, int Max)
{
    if (OnScrollCell)
        OnScrollCell(this, ACol, ARow, Position, Min, Max);
}

bool TAdvStringGrid::CellScrollBarMessage(TMessage& Message)
{
    if (!FScrollBar || !FScrollBar->HandleAllocated() ||
        reinterpret_cast<HWND>(Message.LParam) != FScrollBar->GetHandle())
        return false;
    const int code = LOWORD(Message.WParam);
    const int before = FScrollBar->GetPosition();
    int pos = before;
    switch (code) {
    case SB_LINEUP: pos = std::max(FScrollBar->GetMin(), pos - 10); break;
    case SB_PAGEUP: pos = std::max(FScrollBar->GetMin(), pos - 100); break;
    case SB_LINEDOWN: pos = std::min(FScrollBar->GetMax(), pos + 10); break;
    case SB_PAGEDOWN: pos = std::min(FScrollBar->GetMax(), pos + 100); break;
    case SB_THUMBTRACK: pos = static_cast<short>(HIWORD(Message.WParam)); break;
    default: break;
    }
    if (pos != before) {
        FScrollBar->SetPosition(pos);
        Message.Result = 1;
        if (FScrollCol >= 0 && FScrollRow >= 0) {
            SetScrollPosition(FScrollCol, FScrollRow, FScrollBar->GetPosition());
            RepaintCell(FScrollCol, FScrollRow);
            DoScrollCell(FScrollCol, FScrollRow, FScrollBar->GetPosition(), FScrollBar->GetMin(),
                         FScrollBar->GetMax());
        }
    }
    return true;
}

void TAdvStringGrid::ScrollBarMessage(TMessage& Message)
{
    const bool vertical = Message.Msg == WM_VSCROLL;
    if (DesignTime()) {
        TBaseGrid::WndProc(Message);
        return;
    }
    if (vertical && CellScrollBarMessage(Message))
        return;
    ScrollHintAndSynch(Message);
    const int code = LOWORD(Message.WParam);
    if (FNavigation->GetAlwaysEdit() && GetEditorMode())
        HideInplaceEdit();
    if (FIsFlatSB && code == SB_THUMBPOSITION) {
        // The flat bar reports its thumb over the room it leaves; spread
        // that over the whole 0 .. 127 again. A grid without columns
        // (rows) has no share to spread.
        const int count = vertical ? GetRowCount() : GetColCount();
        const int visible = vertical ? GetVisibleRowCount() : GetVisibleColCount();
        if (count > 0) {
            const int v = static_cast<int>(std::lround(visible * 128.0 / count));
            if (v != 128 && v < 128) {
                const int pos = static_cast<short>(HIWORD(Message.WParam));
                const int spread = static_cast<int>(std::lround(pos * 127.0 / (128 - v)));
                Message.WParam = MAKEWPARAM(code, static_cast<WORD>(std::clamp(spread, 0, 127)));
            }
        }
    }
    TBaseGrid::WndProc(Message);
    FlatReapplyInfo(SB_HORZ);
    FlatReapplyInfo(SB_VERT);
    if (vertical)
        UpdateVScrollBar();
    else
        UpdateHScrollBar();
    if (FFloatingFooter->GetVisible() && FFooterPanel)
        FFooterPanel->Invalidate();
    for (TScrollControl* control : {FVScrollControl, FHScrollControl})
        if (control)
            control->Invalidate();
}

// --- flick scrolling --------------------------------------------------------------------------------

void TAdvStringGrid::StartFlickScroll(bool Vertical, int Delta, int Steps)
{
    if (!FScrollTimer) {
        FScrollTimer = New<TTimer>(this);
        FScrollTimer->SetEnabled(false);
        FScrollTimer->OnTimer = [this](TObject*) { FlickTick(); };
    }
    FScrollVert = Vertical;
    FScrollDelta = Delta;
    FScrollSteps = Steps;
    FScrollTimer->SetInterval(10);
    FScrollTimer->SetEnabled(Steps > 0);
}

void TAdvStringGrid::FlickTick()
{
    if (FScrollVert)
        SetTopRow(std::clamp(GetTopRow() + FScrollDelta, GetFixedRows(),
                             std::max(GetFixedRows(), GetRowCount() - GetVisibleRowCount())));
    else
        SetLeftCol(std::clamp(GetLeftCol() + FScrollDelta, GetFixedCols(),
                              std::max(GetFixedCols(), GetColCount() - GetVisibleColCount())));
    --FScrollSteps;
    FScrollEnd = false;
    FScrollTimer->SetEnabled(FScrollSteps > 0);
}

// --- scrolling while something is dragged over the grid ---------------------------------------------

void TAdvStringGrid::StopDragScroll()
{
    if (FDragTmr)
        FDragTmr->Free();
    FDragTmr = nullptr;
}

void TAdvStringGrid::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    TDragScrollOptions* options = FDragScrollOptions.get();
    if (!options->GetActive()) {
        StopDragScroll();
    } else if (State == dsDragLeave) {
        StopDragScroll();
    } else {
        const TDragScrollDirections previous = FDragScrollDirection;
        TDragScrollDirections direction;
        TDragScrollMargins* margins = options->GetMargins();
        if (Y < margins->GetTopMargin())
            direction << dsdUp;
        else if (Y > GetHeight() - margins->GetBottomMargin())
            direction << dsdDown;
        if (X < margins->GetLeftMargin())
            direction << dsdLeft;
        else if (X > GetWidth() - margins->GetRightMargin())
            direction << dsdRight;
        FDragScrollDirection = direction;
        if (direction.Empty()) {
            StopDragScroll();
        } else if (!FDragTmr) {
            FDragTmr = New<TTimer>(this);
            FDragTmr->SetEnabled(false);
            FDragTmr->OnTimer = [this](TObject*) { DragScrollTick(); };
            FDragTmr->SetInterval(static_cast<Cardinal>(std::max(1, options->GetDelays()->GetInitialDelay())));
            FDragTmr->SetEnabled(true);
        } else if (!previous.Empty() && previous != direction) {
            FDragTmr->SetInterval(static_cast<Cardinal>(std::max(1, options->GetDelays()->GetInitialDelay())));
        }
    }
    TBaseGrid::DragOver(Source, X, Y, State, Accept);
}

void TAdvStringGrid::DragScrollTick()
{
    TDragScrollOptions* options = FDragScrollOptions.get();
    if (!options->GetActive()) {
        // Freed at the next drag event or with the grid: not from inside its own tick.
        FDragTmr->SetEnabled(false);
        return;
    }
    FDragTmr->SetInterval(static_cast<Cardinal>(std::max(1, options->GetDelays()->GetRepeatDelay())));
    TDragScrollDirections direction = FDragScrollDirection;
    if (OnDragScroll) {
        bool canScroll = true;
        OnDragScroll(this, GetTopRow(), GetLeftCol(), direction, canScroll);
        if (!canScroll)
            return;
    }
    if (direction.Contains(dsdUp) && GetTopRow() > GetFixedRows())
        SetTopRow(GetTopRow() - 1);
    if (direction.Contains(dsdDown) && GetTopRow() + GetVisibleRowCount() < GetRowCount())
        SetTopRow(GetTopRow() + 1);
    if (direction.Contains(dsdLeft) && GetLeftCol() > GetFixedCols())
        SetLeftCol(GetLeftCol() - 1);
    if (direction.Contains(dsdRight) && GetLeftCol() + GetVisibleColCount() < GetColCount())
        SetLeftCol(GetLeftCol() + 1);
}
