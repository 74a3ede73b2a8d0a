// The mouse: selecting cells and ranges (with the drag-scroll timer when the
// pointer leaves the cells), sizing columns and rows by their borders in the
// fixed cells, and moving columns and rows by their fixed cells.
#include "Grids.h"
#include <algorithm>

namespace {

constexpr UINT_PTR DragScrollTimer = 1;
constexpr UINT DragScrollInterval = 60;
// How far from a border the pointer may be and still grab it.
constexpr int SizingSlack = 2;

} // namespace

void TCustomGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                  TGridDrawInfo& FixedInfo)
{
    State = gsNormal;
    Index = -1;
    // Borders are grabbed in the fixed cells only: columns in the fixed rows,
    // rows in the fixed columns. The nearest border to the pointer wins.
    auto find = [&](const Axis& axis, const TGridAxisDrawInfo& info, int pos, TGridState sizing) {
        int best = SizingSlack + 1;
        int at = 0;
        auto test = [&](int i) {
            const int extent = axis.Extent(i);
            if (extent < 0)
                return;
            const int edge = at + extent;
            const int distance = pos < edge ? edge - pos : std::max(0, pos - edge - info.EffectiveLineWidth + 1);
            if (distance < best) {
                best = distance;
                State = sizing;
                Index = i;
                SizingPos = pos;
                SizingOfs = edge - pos;
            }
            at = edge + info.EffectiveLineWidth;
        };
        for (int i = 0; i < axis.fixed; ++i)
            test(i);
        for (int i = axis.first; i < axis.count && at < info.GridExtent; ++i)
            test(i);
    };
    if (options_.Contains(goColSizing) && Y >= 0 && Y < FixedInfo.Vert.FixedBoundary)
        find(horz_, FixedInfo.Horz, X, gsColSizing);
    if (State == gsNormal && options_.Contains(goRowSizing) && X >= 0 && X < FixedInfo.Horz.FixedBoundary)
        find(vert_, FixedInfo.Vert, Y, gsRowSizing);
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (!ComponentState().Contains(csDesigning) && CanFocus() && !IsActiveControl()) {
        SetFocus();
        if (!IsActiveControl()) {
            // The form kept the focus elsewhere: no selecting with a dead grid.
            SetMouseCapture(false);
            return;
        }
    }
    lastMouse_ = {X, Y};
    if (Button == mbLeft && Shift.Contains(ssDouble)) {
        DblClick();
    } else if (Button == mbLeft) {
        TGridDrawInfo info;
        CalcDrawInfo(info);
        CalcSizingState(X, Y, FGridState, sizingIndex_, sizingPos_, sizingOfs_, info);
        if (FGridState != gsNormal) {
            HideEditor();
            DrawSizingLine();
        } else {
            const TGridCoord cell = MouseCoord(X, Y);
            const bool normal = cell.X >= horz_.fixed && cell.Y >= vert_.fixed;
            if (cell.X >= 0 && normal) {
                if (options_.Contains(goEditing) && cell == current_ && !options_.Contains(goRowSelect)) {
                    ShowEditor();
                } else {
                    const bool extend = Shift.Contains(ssShift) && options_.Contains(goRangeSelect);
                    MoveCurrent(cell.X, cell.Y, !extend, true);
                    UpdateEdit();
                    FGridState = gsSelecting;
                    SetTimer(GetHandle(), DragScrollTimer, DragScrollInterval, nullptr);
                    scrollTimerOn_ = true;
                }
            } else if (cell.X >= 0 && options_.Contains(goColMoving) && cell.Y < vert_.fixed &&
                       cell.X >= horz_.fixed) {
                HideEditor();
                FGridState = gsColMoving;
                moveIndex_ = movePos_ = cell.X;
            } else if (cell.X >= 0 && options_.Contains(goRowMoving) && cell.X < horz_.fixed &&
                       cell.Y >= vert_.fixed) {
                HideEditor();
                FGridState = gsRowMoving;
                moveIndex_ = movePos_ = cell.Y;
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::CancelSizing()
{
    if (FGridState != gsColSizing && FGridState != gsRowSizing)
        return;
    if (sizingLineShown_)
        DrawSizingLine();
    FGridState = gsNormal;
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    lastMouse_ = {X, Y};
    switch (FGridState) {
    case gsSelecting:
        SelectTo(X, Y);
        break;
    case gsColSizing:
    case gsRowSizing:
        if (sizingLineShown_)
            DrawSizingLine();
        sizingPos_ = FGridState == gsColSizing ? X : Y;
        DrawSizingLine();
        break;
    case gsColMoving:
    case gsRowMoving:
        UpdateMoveTarget(X, Y);
        break;
    default:
        break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::UpdateMoveTarget(int X, int Y)
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (FGridState == gsColMoving && cell.X >= horz_.fixed)
        movePos_ = cell.X;
    else if (FGridState == gsRowMoving && cell.Y >= vert_.fixed)
        movePos_ = cell.Y;
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    lastMouse_ = {X, Y};
    switch (FGridState) {
    case gsSelecting: {
        SelectTo(X, Y);
        if (scrollTimerOn_ && HandleAllocated())
            KillTimer(GetHandle(), DragScrollTimer);
        scrollTimerOn_ = false;
        FGridState = gsNormal;
        UpdateEdit();
        Click();
        break;
    }
    case gsColSizing:
    case gsRowSizing: {
        if (sizingLineShown_)
            DrawSizingLine();
        const bool columns = FGridState == gsColSizing;
        const Axis& axis = columns ? horz_ : vert_;
        int start = 0, end = 0;
        if (AxisSpan(axis, LineWidthOf(columns), ClientExtent(columns), sizingIndex_, sizingIndex_, false, start,
                     end)) {
            const int size = std::max(0, (columns ? X : Y) + sizingOfs_ - start);
            // The state stays until the size is set, so that the change reads as the user's.
            if (columns)
                SetColWidths(sizingIndex_, size);
            else
                SetRowHeights(sizingIndex_, size);
        }
        FGridState = gsNormal;
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        UpdateMoveTarget(X, Y);
        const bool columns = FGridState == gsColMoving;
        FGridState = gsNormal;
        if (moveIndex_ != movePos_) {
            if (columns)
                MoveColumn(moveIndex_, movePos_);
            else
                MoveRow(moveIndex_, movePos_);
        }
        break;
    }
    default:
        UpdateEdit();
        break;
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// While a selecting press holds the pointer outside the cells, the view
// scrolls towards it and the selection follows.
void TCustomGrid::ScrollTimer()
{
    if (FGridState != gsSelecting) {
        if (scrollTimerOn_ && HandleAllocated())
            KillTimer(GetHandle(), DragScrollTimer);
        scrollTimerOn_ = false;
        return;
    }
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const POINT p = lastMouse_;
    const int dx = p.x < info.Horz.FixedBoundary ? -1 : p.x >= info.Horz.FullVisBoundary ? 1 : 0;
    const int dy = p.y < info.Vert.FixedBoundary ? -1 : p.y >= info.Vert.FullVisBoundary ? 1 : 0;
    if (dx || dy)
        TimedScroll(dx, dy);
}

void TCustomGrid::TimedScroll(int dx, int dy)
{
    const int maxLeft = MaxFirst(horz_, LineWidthOf(true), ClientExtent(true));
    const int maxTop = MaxFirst(vert_, LineWidthOf(false), ClientExtent(false));
    MoveTopLeft(std::clamp(horz_.first + dx, horz_.fixed, std::max(maxLeft, horz_.first)),
                std::clamp(vert_.first + dy, vert_.fixed, std::max(maxTop, vert_.first)));
    // The cell nearest the pointer inside the scrollable cells.
    TGridDrawInfo info;
    CalcDrawInfo(info);
    const int x = std::clamp(static_cast<int>(lastMouse_.x), info.Horz.FixedBoundary,
                             std::max(info.Horz.FixedBoundary, info.Horz.GridBoundary - 1));
    const int y = std::clamp(static_cast<int>(lastMouse_.y), info.Vert.FixedBoundary,
                             std::max(info.Vert.FixedBoundary, info.Vert.GridBoundary - 1));
    SelectTo(x, y);
}

// A selecting press reaching a scrollable cell: the range (or the current cell) follows.
void TCustomGrid::SelectTo(int X, int Y)
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X >= horz_.fixed && cell.Y >= vert_.fixed && cell != current_)
        MoveCurrent(cell.X, cell.Y, !options_.Contains(goRangeSelect), false);
}
