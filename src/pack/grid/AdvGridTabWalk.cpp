// The Tab walk: Tab and Shift+Tab move between the cells that take the cursor
// (not fixed, and editable while goEditing is on), step over merged blocks,
// wrap from a row's end to the next row and from the last cell to the first,
// may add a row at the end or hand the focus on to the next control. The same
// tab-stop test finds the next cell after an edit (NextAdvanceCell).
//
// Rows without a tab stop are skipped; in a grid without any the walk ends
// after one pass instead of running on.
#include "AdvGrid.h"
#include <algorithm>

namespace {

// Leaves a flag set for the life of the guard.
struct TFlagGuard {
    bool& flag;
    explicit TFlagGuard(bool& f) : flag(f) { flag = true; }
    ~TFlagGuard() { flag = false; }
};

} // namespace

bool TAdvStringGrid::IsTabStopCell(int ACol, int ARow)
{
    // The leading fixed rows and columns never take the cursor.
    if (ACol < GetFixedCols() || ARow < GetFixedRows() || ACol >= GetColCount() || ARow >= GetRowCount())
        return false;
    bool stop = GetOptions().Contains(goEditing) ? IsEditable(RealColIndex(ACol), ARow) : !IsFixed(ACol, ARow);
    if (stop && OnSelectCell)
        OnSelectCell(this, ACol, ARow, stop);
    return stop;
}

int TAdvStringGrid::FirstTabStopCol(int ARow)
{
    for (int c = 0; c < GetColCount(); ++c)
        if (IsTabStopCell(c, ARow))
            return c;
    return -1;
}

int TAdvStringGrid::LastTabStopCol(int ARow)
{
    for (int c = GetColCount() - 1; c >= 0; --c)
        if (IsTabStopCell(c, ARow))
            return c;
    return -1;
}

int TAdvStringGrid::VisibleFixedRightCols()
{
    if (NumHiddenColumns() == 0)
        return FFixedRightCols;
    int shown = 0;
    const int total = TotalColCount();
    for (int c = std::max(0, total - FFixedRightCols); c < total; ++c)
        if (!IsHiddenColumn(c))
            ++shown;
    return shown;
}

TPoint TAdvStringGrid::NextAdvanceCell(int ACol, int ARow)
{
    const int firstCol = GetFixedCols();
    const int lastCol = GetColCount() - FFixedRightCols - 1;
    const int firstRow = GetFixedRows();
    const int lastRow = GetRowCount() - FFixedFooters - 1;
    const TAdvanceDirection dir = FNavigation->GetAdvanceDirection();
    int c = ACol;
    int r = ARow;
    const bool topBottom = dir == adTopBottom || dir == adTopBottomInCol;
    for (;;) {
        if (topBottom) {
            if (++r > lastRow) {
                if (dir == adTopBottomInCol || c >= lastCol)
                    return {-1, -1};
                ++c;
                r = firstRow;
            }
        } else if (++c > lastCol) {
            if (dir == adLeftRightInRow || r >= lastRow)
                return {-1, -1};
            ++r;
            c = firstCol;
        }
        if (c > lastCol || r > lastRow)
            return {-1, -1};
        if (IsTabStopCell(c, r))
            return {c, r};
    }
}

void TAdvStringGrid::SimulateCellClick(int ACol, int ARow)
{
    const TFlagGuard forced(FForceSel);
    TMouseEvent down = std::move(OnMouseDown);
    TMouseEvent up = std::move(OnMouseUp);
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    const TScopeExit restore([&] {
        OnMouseDown = std::move(down);
        OnMouseUp = std::move(up);
    });
    const TRect r = CellRect(ACol, ARow);
    TBaseGrid::MouseDown(mbLeft, TShiftState(), r.left + 2, r.top + 2);
    TBaseGrid::MouseUp(mbLeft, TShiftState(), r.left + 2, r.top + 2);
}

bool TAdvStringGrid::MoveToNextRowStop(int FromRow, int Col)
{
    const int lastRow = GetRowCount() - FFixedFooters - 1;
    for (int r = FromRow + 1; r <= lastRow; ++r) {
        const int target = FirstTabStopCol(r);
        if (target < 0)
            continue;
        bool allow = true;
        if (OnRowChanging)
            OnRowChanging(this, FromRow, r, allow);
        if (OnCellChanging)
            OnCellChanging(this, FromRow, Col, r, target, allow);
        if (OnColChanging)
            OnColChanging(this, Col, target, allow);
        if (allow && CanMoveToCol(target)) {
            const TFlagGuard forced(FForceSel);
            MoveCurrentCell(target, r);
        }
        return true;
    }
    return false;
}

bool TAdvStringGrid::TabStep(bool Backward, bool& Again)
{
    Again = false;
    const int col = GetCol();
    const int row = GetRow();
    const int firstCol = GetFixedCols() == 0 && HasNodes() ? 1 : GetFixedCols();
    const int vfr = VisibleFixedRightCols();
    const int lastCol = GetColCount() - vfr - 1;
    const int lastRow = GetRowCount() - FFixedFooters - 1;
    const bool leftRight = FNavigation->GetTabAdvanceDirection() == adLeftRight;
    bool result = true;
    const auto endOfGrid = [&] {
        if (GetParent() && FNavigation->GetTabToNextAtEnd()) {
            PostMessageW(GetParent()->GetHandle(), WM_KEYDOWN, VK_TAB, 0);
            result = false;
        }
    };
    // The first row from FixedRows with a tab stop, and that stop.
    const auto firstStop = [&](int& stopCol, int& stopRow) {
        for (int r = GetFixedRows(); r <= lastRow; ++r)
            if ((stopCol = FirstTabStopCol(r)) >= 0) {
                stopRow = r;
                return true;
            }
        return false;
    };
    const auto moveTo = [&](int c, int r) {
        const TFlagGuard forced(FForceSel);
        MoveCurrentCell(c, r);
        if (!IsBaseCell(RealColIndex(GetCol()), GetRow()))
            AlignToBaseCell();
    };

    if (Backward && !leftRight) {
        if (row > GetFixedRows())
            moveTo(col, row - 1);
        else
            moveTo(col > firstCol ? col - 1 : lastCol, lastRow);
    } else if (Backward) {
        for (int c = col - 1; c >= firstCol; --c) {
            if (IsTabStopCell(c, row) && IsBaseCell(RealColIndex(c), row)) {
                moveTo(c, row);
                return result;
            }
        }
        // The last stop of the rows above, wrapping from the first normal row to the last.
        for (int step = 1; step <= lastRow - GetFixedRows() + 1; ++step) {
            int r = row - step;
            if (r < GetFixedRows())
                r += lastRow - GetFixedRows() + 1;
            const int c = LastTabStopCol(r);
            if (c < 0)
                continue;
            moveTo(c, r);
            if (r > row)
                ScrollInView(GetCol(), GetRow(), spMiddle);
            return result;
        }
    } else if (!leftRight) {
        const TPoint span = CellSpan(RealColIndex(col), row);
        if (row + span.y + 1 < GetRowCount() - FFixedFooters) {
            moveTo(col, row + span.y + 1);
        } else {
            MoveToFirstRow();
            if (col < lastCol) {
                moveTo(col + 1, GetRow());
            } else {
                moveTo(firstCol, GetRow());
                endOfGrid();
            }
        }
    } else {
        const TPoint span = CellSpan(RealColIndex(col), row);
        for (int c = col + span.x + 1; c <= lastCol; ++c) {
            if (IsTabStopCell(c, row) && IsBaseCell(RealColIndex(c), row)) {
                moveTo(c, row);
                return result;
            }
        }
        const bool pastLastCol = col + span.x + 1 > lastCol;
        if (row < lastRow && MoveToNextRowStop(row, col)) {
            Again = !IsBaseCell(RealColIndex(GetCol()), GetRow());
            return result;
        }
        // The end of the grid: a new row, or back to the first stop.
        if (pastLastCol && FNavigation->GetAdvanceInsert() && !FNavigation->GetTabToNextAtEnd()) {
            bool allow = true;
            DoCanAddRow(allow);
            if (allow) {
                if (FFloatingFooter->GetVisible()) {
                    InsertRows(GetRowCount() - 1, 1);
                    MoveCurrentCell(GetCol(), GetRowCount() - 2);
                } else {
                    SetRowCount(GetRowCount() + 1);
                    MoveCurrentCell(GetCol(), GetRowCount() - 1 - FFixedFooters);
                }
                if (OnAutoAddRow)
                    OnAutoAddRow(this, GetRowCount() - FFixedFooters - 1);
                const int c = FirstTabStopCol(GetRow());
                if (c >= 0)
                    moveTo(c, GetRow());
                endOfGrid();
                return result;
            }
        }
        int stopCol = -1;
        int stopRow = -1;
        if (firstStop(stopCol, stopRow))
            moveTo(stopCol, stopRow);
        endOfGrid();
    }
    return result;
}

bool TAdvStringGrid::TabKeyPressed(bool Backward)
{
    if (FNavigation->GetAlwaysEdit())
        HideInplaceEdit();
    if (OnKeyDown) {
        Word key = VK_TAB;
        OnKeyDown(this, key, Backward ? TShiftState{ssShift} : TShiftState());
        if (key != VK_TAB)
            return true;
    }
    const int lastCol = FLastTabCol;
    const int lastRow = FLastTabRow;
    bool result = true;
    // One pass over the grid at most: each step moves on by at least one cell
    // or the walk stops.
    const int maxSteps = GetColCount() * GetRowCount() + 1;
    for (int step = 0; step < maxSteps; ++step) {
        if (GetCol() == FLastTabCol && GetRow() == FLastTabRow)
            break;
        FLastTabCol = GetCol();
        FLastTabRow = GetRow();
        bool again = false;
        result = TabStep(Backward, again);
        if (!result)
            break;
        if (again || (GetOptions().Contains(goEditing) && !IsEditable(GetRealCol(), GetRow())))
            continue;
        if (FNavigation->GetAdvanceAutoEdit() && !IsControlCell(GetRealCol(), GetRow()))
            SimulateCellClick(GetCol(), GetRow());
        break;
    }
    if (lastCol >= 0 && lastCol < GetColCount() && lastRow >= 0 && lastRow < GetRowCount() &&
        IsMergedCell(RealColIndex(lastCol), lastRow))
        RepaintCell(lastCol, lastRow);
    FLastTabCol = -1;
    FLastTabRow = -1;
    if (FNavigation->GetAlwaysEdit() && CanFocus())
        SetFocus();
    if (FMouseActions->GetDisjunctRowSelect()) {
        ClearDisjunctRowSelect();
        SetRowSelect(GetRow(), true);
    }
    return result;
}
