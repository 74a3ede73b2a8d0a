// Moving over merged blocks: the arrows step over a block as over one cell,
// and keys and the wheel always end on a block's base cell; scrolling and
// selecting repaint merged cells whole.
#include "BaseGrid.h"
#include <algorithm>

namespace {

// A selection wider than the current cell, which moving the cell keeps.
bool KeepsRange(const TGridRect& sel, bool rowSelect)
{
    return sel.Top != sel.Bottom || (!rowSelect && sel.Left != sel.Right);
}

} // namespace

void TBaseGrid::AlignToBaseCell()
{
    const int row = GetRow();
    int baseCol = 0;
    int baseRow = 0;
    if (ResolveBaseCell(RealColIndex(GetCol()), row, baseCol, baseRow))
        return;
    const bool keepRange = KeepsRange(GetSelection(), GetOptions().Contains(goRowSelect));
    MoveColRow(DisplColIndex(baseCol), baseRow, !keepRange, true);
}

void TBaseGrid::HandleKeyDown(Word& Key, TShiftState Shift)
{
    const int rowCount = GetRowCount();
    const int colCount = GetColCount();
    const bool moveAnchor = !Shift.Contains(ssShift);
    // A floating footer in the last row is never paged onto.
    if (Key == VK_NEXT && FHideLastRow && rowCount > 1 &&
        rowCount == GetVisibleRowCount() + GetTopRow() - GetFixedRows() + 1)
        MoveColRow(GetCol(), rowCount - 2, moveAnchor, true);

    const int col = GetCol();
    const int row = GetRow();
    const int realCol = RealColIndex(col);
    if (const TCellProperties* props = PropertiesOf(realCol, row)) {
        const TPoint base = props->GetBaseCell(realCol, row);
        const TCellProperties* baseProps = PropertiesOf(base.x, base.y);
        const int baseCol = DisplColIndex(base.x);
        const int baseRow = base.y;
        const int spanX = baseProps ? baseProps->GetCellSpanX() : -1;
        const int spanY = baseProps ? baseProps->GetCellSpanY() : -1;
        switch (Key) {
        case VK_LEFT:
            // From inside a block: leave it from its left edge.
            if (baseCol < col && col > GetFixedCols() && baseCol > 0)
                MoveColRow(baseCol, row, moveAnchor, true);
            break;
        case VK_UP:
            if (baseRow < row && row > GetFixedRows() && baseRow > 0)
                MoveColRow(col, baseRow, moveAnchor, true);
            break;
        case VK_RIGHT:
            // To the block's last column, so that the standard step leaves it.
            if (baseCol + spanX >= col && col < colCount - 1 && baseCol < colCount - 1 && baseCol + spanX < colCount)
                MoveColRow(baseCol + spanX, row, moveAnchor, true);
            break;
        case VK_DOWN:
            if (baseRow + spanY >= row && row < rowCount - 1 && baseRow < rowCount - 1)
                MoveColRow(col, std::min(baseRow + spanY, rowCount - 1), moveAnchor, true);
            break;
        default:
            break;
        }
    }
    TStringGrid::KeyDown(Key, Shift);
    AlignToBaseCell();
}

bool TBaseGrid::HandleWheelDown(TShiftState Shift, POINT MousePos)
{
    const bool handled = TStringGrid::DoMouseWheelDown(Shift, MousePos);
    // Keep a floating footer's row out of the scrolled rows.
    if (FHideLastRow && GetRow() < GetRowCount() - 1 && GetRow() - GetTopRow() > GetVisibleRowCount())
        SetTopRow(GetTopRow() + 1);
    AlignToBaseCell();
    return handled;
}

bool TBaseGrid::HandleWheelUp(TShiftState Shift, POINT MousePos)
{
    const bool handled = TStringGrid::DoMouseWheelUp(Shift, MousePos);
    AlignToBaseCell();
    return handled;
}

void TBaseGrid::HandleTopLeftChanged()
{
    TStringGrid::TopLeftChanged();
    if (!HandleAllocated())
        return;
    // A block partly scrolled under the fixed cells redraws whole.
    const int rowCount = GetRowCount();
    const int colCount = GetColCount();
    const int lastRow = std::min(GetTopRow() + GetVisibleRowCount(), rowCount - 1);
    for (int r = GetTopRow(); r <= lastRow; ++r)
        for (int c = 0; c < GetFixedCols(); ++c)
            if (IsMergedCell(RealColIndex(c), r))
                RepaintCell(c, r);
    const int lastCol = std::min(GetLeftCol() + GetVisibleColCount(), colCount - 1);
    for (int c = GetLeftCol(); c <= lastCol; ++c)
        for (int r = 0; r < GetFixedRows(); ++r)
            if (IsMergedCell(RealColIndex(c), r))
                RepaintCell(c, r);
}

bool TBaseGrid::SelectCell(int ACol, int ARow)
{
    // The old and the new cell repaint with their whole blocks.
    RepaintCell(GetCol(), GetRow());
    const bool selected = TStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return selected;
}
