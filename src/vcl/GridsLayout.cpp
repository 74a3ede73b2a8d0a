// Where cells lie on the screen: the draw information of both axes, cell and
// box rectangles, hit testing, the view (top row, left column) and keeping
// the current cell in it. Every walk starts at the fixed cells or the view and
// stops at the client's edge, so its cost follows the screen, not the grid.
#include "Grids.h"
#include <algorithm>

namespace {

// What a cell takes along its axis: nothing when hidden (negative size).
int Step(int extent, int lineWidth)
{
    return extent < 0 ? 0 : extent + lineWidth;
}

} // namespace

int TCustomGrid::LineWidthOf(bool horizontal) const
{
    const bool lines = horizontal ? (options_.Contains(goFixedVertLine) || options_.Contains(goVertLine))
                                  : (options_.Contains(goFixedHorzLine) || options_.Contains(goHorzLine));
    return lines ? gridLineWidth_ : 0;
}

int TCustomGrid::ClientExtent(bool horizontal)
{
    return horizontal ? GetClientWidth() : GetClientHeight();
}

void TCustomGrid::CalcAxis(const Axis& axis, int lineWidth, int gridExtent, TGridAxisDrawInfo& info) const
{
    info.EffectiveLineWidth = lineWidth;
    info.GridExtent = gridExtent;
    info.FixedCellCount = axis.fixed;
    info.FirstGridCell = axis.first;
    info.GridCellCount = axis.count;
    int pos = 0;
    for (int i = 0; i < axis.fixed; ++i)
        pos += Step(axis.Extent(i), lineWidth);
    info.FixedBoundary = pos;
    info.LastVisibleCell = axis.fixed - 1;
    info.LastFullVisibleCell = axis.first - 1;
    info.FullVisBoundary = pos;
    for (int i = axis.first; i < axis.count && pos < gridExtent; ++i) {
        const int extent = axis.Extent(i);
        if (extent < 0)
            continue;
        info.LastVisibleCell = i;
        if (pos + extent <= gridExtent) {
            info.LastFullVisibleCell = i;
            info.FullVisBoundary = pos + extent + lineWidth;
        }
        pos += extent + lineWidth;
    }
    info.GridBoundary = std::min(pos, gridExtent);
}

void TCustomGrid::CalcDrawInfo(TGridDrawInfo& DrawInfo)
{
    CalcAxis(horz_, LineWidthOf(true), ClientExtent(true), DrawInfo.Horz);
    CalcAxis(vert_, LineWidthOf(false), ClientExtent(false), DrawInfo.Vert);
}

void TCustomGrid::CalcFixedInfo(TGridDrawInfo& DrawInfo)
{
    CalcDrawInfo(DrawInfo);
    // Only the fixed cells count: nothing scrollable lies beyond them.
    for (TGridAxisDrawInfo* info : {&DrawInfo.Horz, &DrawInfo.Vert}) {
        info->GridExtent = info->FixedBoundary;
        info->GridBoundary = info->FixedBoundary;
        info->LastVisibleCell = info->FixedCellCount - 1;
        info->LastFullVisibleCell = info->FixedCellCount - 1;
        info->FullVisBoundary = info->FixedBoundary;
    }
}

int TCustomGrid::MaxFirst(const Axis& axis, int lineWidth, int gridExtent) const
{
    int fixedEnd = 0;
    for (int i = 0; i < axis.fixed; ++i)
        fixedEnd += Step(axis.Extent(i), lineWidth);
    // The last cell's own line may fall off the edge.
    const int room = gridExtent - fixedEnd + lineWidth;
    int used = 0;
    int first = axis.count - 1;
    for (int i = axis.count - 1; i >= axis.fixed; --i) {
        const int step = Step(axis.Extent(i), lineWidth);
        if (used + step > room)
            break;
        used += step;
        first = i;
    }
    return std::max(first, axis.fixed);
}

bool TCustomGrid::AxisSpan(const Axis& axis, int lineWidth, int gridExtent, int lo, int hi, bool includeLine,
                           int& start, int& end) const
{
    if (lo > hi)
        std::swap(lo, hi);
    lo = std::max(lo, 0);
    hi = std::min(hi, axis.count - 1);
    if (lo > hi)
        return false;
    bool found = false;
    auto visit = [&](int i, int pos) {
        const int extent = axis.Extent(i);
        if (i < lo || i > hi || extent < 0)
            return;
        if (!found)
            start = pos;
        found = true;
        end = pos + extent + (includeLine ? lineWidth : 0);
    };
    int pos = 0;
    for (int i = 0; i < axis.fixed; ++i) {
        visit(i, pos);
        pos += Step(axis.Extent(i), lineWidth);
    }
    if (hi >= axis.first)
        for (int i = std::max(axis.first, 0); i < axis.count && pos < gridExtent && i <= hi; ++i) {
            visit(i, pos);
            pos += Step(axis.Extent(i), lineWidth);
        }
    return found;
}

int TCustomGrid::AxisHit(const Axis& axis, int lineWidth, int gridExtent, int pos) const
{
    if (pos < 0 || pos >= gridExtent)
        return -1;
    int at = 0;
    // A cell owns the line after it.
    for (int i = 0; i < axis.fixed; ++i) {
        at += Step(axis.Extent(i), lineWidth);
        if (pos < at)
            return i;
    }
    for (int i = axis.first; i < axis.count && at < gridExtent; ++i) {
        at += Step(axis.Extent(i), lineWidth);
        if (pos < at)
            return i;
    }
    return -1;
}

TRect TCustomGrid::BoxRectEx(int ALeft, int ATop, int ARight, int ABottom, bool includeLines)
{
    TRect r;
    int l = 0, rr = 0, t = 0, b = 0;
    if (!AxisSpan(horz_, LineWidthOf(true), ClientExtent(true), ALeft, ARight, includeLines, l, rr) ||
        !AxisSpan(vert_, LineWidthOf(false), ClientExtent(false), ATop, ABottom, includeLines, t, b))
        return r;
    return TRect(l, t, rr, b);
}

TRect TCustomGrid::BoxRect(int ALeft, int ATop, int ARight, int ABottom)
{
    return BoxRectEx(ALeft, ATop, ARight, ABottom, false);
}

TRect TCustomGrid::CellRect(int ACol, int ARow)
{
    return BoxRectEx(ACol, ARow, ACol, ARow, false);
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y)
{
    TGridCoord c{AxisHit(horz_, LineWidthOf(true), ClientExtent(true), X),
                 AxisHit(vert_, LineWidthOf(false), ClientExtent(false), Y)};
    if (c.X < 0 || c.Y < 0)
        c = {-1, -1};
    return c;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow)
{
    const TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

int TCustomGrid::GetVisibleRowCount()
{
    TGridAxisDrawInfo info;
    CalcAxis(vert_, LineWidthOf(false), ClientExtent(false), info);
    return std::max(1, info.LastFullVisibleCell - vert_.first + 1);
}

int TCustomGrid::GetVisibleColCount()
{
    TGridAxisDrawInfo info;
    CalcAxis(horz_, LineWidthOf(true), ClientExtent(true), info);
    return std::max(1, info.LastFullVisibleCell - horz_.first + 1);
}

int TCustomGrid::GetGridWidth()
{
    TGridAxisDrawInfo info;
    CalcAxis(horz_, LineWidthOf(true), ClientExtent(true), info);
    return info.GridBoundary;
}

int TCustomGrid::GetGridHeight()
{
    TGridAxisDrawInfo info;
    CalcAxis(vert_, LineWidthOf(false), ClientExtent(false), info);
    return info.GridBoundary;
}

// --- the view ---------------------------------------------------------------------

void TCustomGrid::SetTopRow(int Value)
{
    MoveTopLeft(horz_.first, Value);
}

void TCustomGrid::SetLeftCol(int Value)
{
    MoveTopLeft(Value, vert_.first);
}

void TCustomGrid::MoveTopLeft(int ALeft, int ATop)
{
    // Code may scroll past the last full page (descendants keep a row above a
    // footer that way); the keys and scroll bars stop at it.
    ALeft = std::clamp(ALeft, horz_.fixed, horz_.count - 1);
    ATop = std::clamp(ATop, vert_.fixed, vert_.count - 1);
    if (ALeft == horz_.first && ATop == vert_.first)
        return;
    horz_.first = ALeft;
    vert_.first = ATop;
    if (HandleAllocated()) {
        UpdateScrollPos();
        Invalidate();
    }
    TopLeftChanged();
}

void TCustomGrid::TopLeftChanged()
{
    InvalidateEditor();
}

void TCustomGrid::ClampInView(TGridCoord Coord)
{
    if (!HandleAllocated())
        return;
    auto clamp = [this](const Axis& axis, bool horizontal, int index) {
        if (index < axis.fixed)
            return axis.first;
        if (index < axis.first)
            return index;
        const int lineWidth = LineWidthOf(horizontal);
        const int extent = ClientExtent(horizontal);
        TGridAxisDrawInfo info;
        CalcAxis(axis, lineWidth, extent, info);
        if (index <= info.LastFullVisibleCell)
            return axis.first;
        // The first cell from which the wanted one still shows whole at the far edge.
        const int room = extent - info.FixedBoundary + lineWidth;
        int used = 0;
        int first = index;
        for (int i = index; i >= axis.fixed; --i) {
            const int step = Step(axis.Extent(i), lineWidth);
            if (i != index && used + step > room)
                break;
            used += step;
            first = i;
        }
        return first;
    };
    MoveTopLeft(clamp(horz_, true, Coord.X), clamp(vert_, false, Coord.Y));
}

// --- invalidation -----------------------------------------------------------------

void TCustomGrid::InvalidateRect(const TGridRect& ARect)
{
    if (!HandleAllocated())
        return;
    const TRect r = BoxRectEx(ARect.Left, ARect.Top, ARect.Right, ARect.Bottom, true);
    if (!r.IsEmpty())
        ::InvalidateRect(GetHandle(), &r, FALSE);
}

void TCustomGrid::InvalidateCell(int ACol, int ARow)
{
    InvalidateRect({ACol, ARow, ACol, ARow});
}

void TCustomGrid::InvalidateCol(int ACol)
{
    InvalidateRect({ACol, 0, ACol, vert_.count - 1});
}

void TCustomGrid::InvalidateRow(int ARow)
{
    InvalidateRect({0, ARow, horz_.count - 1, ARow});
}

void TCustomGrid::InvalidateGrid()
{
    Invalidate();
}
