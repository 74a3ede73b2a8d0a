// Merged cells: making and splitting blocks, the block queries, and the
// rectangles of cells and blocks on the screen.
#include "BaseGrid.h"
#include <algorithm>

namespace {

// A cell's properties say it belongs to a block (of one cell or more).
bool InBlock(const TCellProperties* props)
{
    return props && (props->GetCellSpanX() != -1 || props->GetCellSpanY() > 0);
}

TRect Union(const TRect& a, const TRect& b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

} // namespace

// --- making and splitting blocks -----------------------------------------------------

void TBaseGrid::MergeCells(int c, int r, int spanx, int spany)
{
    if (spanx < 1 || spany < 1 || c < 0 || r < 0 || c + spanx > TotalColCount() || r + spany > GetRowCount())
        return;
    // A cell belongs to one block at most: blocks the new one overlaps go first.
    for (int i = c; i < c + spanx; ++i)
        for (int j = r; j < r + spany; ++j)
            if (InBlock(PropertiesOf(i, j)))
                SplitCells(i, j);
    ++FMergeCount;
    for (int i = c; i < c + spanx; ++i)
        for (int j = r; j < r + spany; ++j) {
            TCellProperties* props = GetCellProperties(i, j);
            const bool base = i == c && j == r;
            props->SetIsBaseCell(base);
            props->SetCellSpanX(base ? spanx - 1 : i - c);
            props->SetCellSpanY(base ? spany - 1 : j - r);
        }
    RepaintCell(DisplColIndex(c), r);
}

void TBaseGrid::SplitCells(int c, int r)
{
    const TCellProperties* props = PropertiesOf(c, r);
    if (!InBlock(props))
        return;
    const TPoint base = props->GetBaseCell(c, r);
    const TCellProperties* baseProps = PropertiesOf(base.x, base.y);
    if (!baseProps)
        return;
    const int spanX = std::max(baseProps->GetCellSpanX(), 0);
    const int spanY = std::max(baseProps->GetCellSpanY(), 0);
    // The repaint needs the block's extent, so it comes before the split.
    RepaintCell(DisplColIndex(base.x), base.y);
    for (int i = base.x; i <= base.x + spanX; ++i)
        for (int j = base.y; j <= base.y + spanY; ++j)
            if (TCellProperties* cell = PropertiesOf(i, j)) {
                cell->SetIsBaseCell(true);
                cell->SetCellSpanX(-1);
                cell->SetCellSpanY(-1);
            }
    --FMergeCount;
}

// --- block queries ------------------------------------------------------------------

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    return props ? props->GetBaseCell(ACol, ARow) : TPoint(ACol, ARow);
}

bool TBaseGrid::ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const
{
    const TPoint base = BaseCell(ACol, ARow);
    BaseCol = base.x;
    BaseRow = base.y;
    return base.x == ACol && base.y == ARow;
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    return !props || props->GetIsBaseCell();
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    return props && (props->GetCellSpanX() > 0 || props->GetCellSpanY() > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const
{
    return IsMergedCell(ACol, ARow) && !IsBaseCell(ACol, ARow);
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const
{
    if (!PropertiesOf(ACol, ARow))
        return false;
    const TPoint base = BaseCell(ACol, ARow);
    const TCellProperties* baseProps = PropertiesOf(base.x, base.y);
    return baseProps && baseProps->GetCellSpanX() > 0;
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const
{
    if (!PropertiesOf(ACol, ARow))
        return false;
    const TPoint base = BaseCell(ACol, ARow);
    const TCellProperties* baseProps = PropertiesOf(base.x, base.y);
    return baseProps && baseProps->GetCellSpanY() > 0;
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    if (!InBlock(props))
        return {0, 0};
    const TPoint base = props->GetBaseCell(ACol, ARow);
    const TCellProperties* baseProps = PropertiesOf(base.x, base.y);
    if (!baseProps)
        return {0, 0};
    return {baseProps->GetCellSpanX(), baseProps->GetCellSpanY()};
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    if (!InBlock(props))
        return {0, 0};
    const TPoint base = props->GetBaseCell(ACol, ARow);
    const TPoint span = CellSpan(ACol, ARow);
    return {base.x + span.x - ACol, base.y + span.y - ARow};
}

TRect TBaseGrid::FullCell(int c, int r) const
{
    const TPoint base = BaseCell(c, r);
    const TPoint span = CellSpan(c, r);
    return {base.x, base.y, base.x + span.x, base.y + span.y};
}

int TBaseGrid::MinRowSpan(int ARow) const
{
    int result = GetRowCount();
    for (int c = 0, n = TotalColCount(); c < n; ++c)
        if (const int span = CellSpan(c, ARow).y; span > 0)
            result = std::min(result, span);
    return result;
}

int TBaseGrid::MaxRowSpan(int ARow) const
{
    int result = 0;
    for (int c = 0, n = TotalColCount(); c < n; ++c)
        result = std::max(result, static_cast<int>(CellSpan(c, ARow).y));
    return result;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const
{
    bool found = false;
    for (int c = 0, n = TotalColCount(); c < n; ++c) {
        if (CellSpan(c, ARow1).y > 0 && CellSpan(c, ARow2).y > 0) {
            if (BaseCell(c, ARow1).y != BaseCell(c, ARow2).y)
                return false;
            found = true;
        }
    }
    return found;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const
{
    bool found = false;
    for (int r = 0, n = GetRowCount(); r < n; ++r) {
        const int span1 = CellSpan(ACol1, r).x;
        const int span2 = CellSpan(ACol2, r).x;
        if (span1 > 0 && span2 > 0) {
            if (BaseCell(ACol1, r).x != BaseCell(ACol2, r).x)
                return false;
            found = true;
        } else if (span1 != span2) {
            return false;
        }
    }
    return found;
}

// --- geometry -----------------------------------------------------------------------

TRect TBaseGrid::CalcCellBounds(int ACol, int ARow)
{
    // One axis: the start of cell index and its end, from the sizes alone.
    // Scrollable cells count from the first scrolled-in cell, which starts
    // right after the fixed cells (the class library's lines are 0 wide).
    auto span = [](auto extentOf, int index, int fixed, int first, LONG& start, LONG& end) {
        auto extent = [&](int i) { return std::max(extentOf(i), 0); };
        int pos = 0;
        if (index < fixed) {
            for (int i = 0; i < index; ++i)
                pos += extent(i);
        } else {
            for (int i = 0; i < fixed; ++i)
                pos += extent(i);
            for (int i = first; i < index; ++i)
                pos += extent(i);
            for (int i = index; i < first; ++i)
                pos -= extent(i);
        }
        start = pos;
        end = pos + extent(index);
    };
    TRect r;
    span([this](int i) { return GetColWidths(i); }, ACol, GetFixedCols(), GetLeftCol(), r.left, r.right);
    span([this](int i) { return GetRowHeights(i); }, ARow, GetFixedRows(), GetTopRow(), r.top, r.bottom);
    return r;
}

TRect TBaseGrid::CellRect(int c, int r)
{
    const int rc = RealColIndex(c);
    const TCellProperties* props = PropertiesOf(rc, r);
    if (InBlock(props)) {
        const TPoint base = props->GetBaseCell(rc, r);
        const TPoint span = CellSpan(rc, r);
        const int dc = DisplColIndex(base.x);
        TRect first = CalcCellBounds(dc, base.y);
        if (first.Width() == 0)
            ++first.right;
        TRect last = CalcCellBounds(dc + span.x, base.y + span.y);
        if (last.Width() == 0)
            --last.left;
        return Union(first, last);
    }
    if (props && props->GetControl())
        return CalcCellBounds(c, r);
    return TStringGrid::CellRect(c, r);
}

TPoint TBaseGrid::CellSize(int c, int r)
{
    const TCellProperties* props = PropertiesOf(c, r);
    TRect rect;
    if (InBlock(props)) {
        const TPoint base = props->GetBaseCell(c, r);
        const TPoint span = CellSpan(c, r);
        rect = Union(CalcCellBounds(base.x, base.y), CalcCellBounds(base.x + span.x, base.y + span.y));
    } else {
        rect = CalcCellBounds(c, r);
    }
    return {rect.Width(), rect.Height()};
}

void TBaseGrid::RepaintCell(int c, int r)
{
    if (!HandleAllocated())
        return;
    const TRect rect = CellRect(c, r);
    if (!rect.IsEmpty())
        ::InvalidateRect(GetHandle(), &rect, TRUE);
}
