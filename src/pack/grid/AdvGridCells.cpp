// Cell contents over ranges: clearing, trimming and colouring, merging and
// splitting runs of equal cells, and the queries of the file writers.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include <algorithm>

// --- clearing ---------------------------------------------------------------------------

void TAdvStringGrid::ClearRectCore(int ACol1, int ARow1, int ACol2, int ARow2, bool DisplayColumns)
{
    const int left = std::max(std::min(ACol1, ACol2), 0);
    const int right = std::max(ACol1, ACol2);
    const int top = std::max(std::min(ARow1, ARow2), 0);
    const int bottom = std::max(ARow1, ARow2);
    if (left > right || top > bottom)
        return;
    const bool destroying = Destroying();
    for (int r = top; r <= bottom; ++r)
        for (int c = left; c <= right; ++c) {
            const int col = DisplayColumns ? RealColIndex(c) : c;
            if (TCellProperties* props = PropertiesOf(col, r)) {
                if (FOwnsObjects && props->GetCellObject()) {
                    reinterpret_cast<TObject*>(props->GetCellObject())->Free();
                    props->SetCellObject(0);
                }
                if (!FClearTextOnly) {
                    if (FNilObjects)
                        SetRawObject(col, r, nullptr);
                    else
                        FreeCellPropertiesRange(col, r, col, r);
                }
            }
            if (!destroying && !GetRawCell(col, r).empty()) {
                SetRawCell(col, r, {});
                if (col != c)
                    RepaintCell(c, r);
            }
        }
    if (!DisplayColumns && FNumHidden > 0)
        Invalidate();
    // A clear of every cell the grid may hold leaves no properties anywhere.
    if (left == 0 && top == 0 && !DisplayColumns && right >= std::max(TotalColCount(), FMaxColCount) - 1 &&
        bottom >= std::max(GetRowCount(), FMaxRowCount) - 1 && NumHiddenRows() == 0)
        FHasCellProps = false;
    if (!destroying)
        DoCellsChanged(TRect(DisplayColumns ? RealColIndex(left) : left, top,
                             DisplayColumns ? RealColIndex(right) : right, bottom));
}

void TAdvStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    ClearRectCore(ACol1, ARow1, ACol2, ARow2, FSaveHiddenCells);
}

namespace {

bool Empty(const TAdvStringGrid* grid)
{
    return grid->GetRowCount() == 0 || grid->GetColCount() == 0;
}

} // namespace

void TAdvStringGrid::ClearRows(int RowIndex, int RCount)
{
    if (Empty(this) || RCount <= 0)
        return;
    ClearRectCore(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1, false);
}

void TAdvStringGrid::ClearCols(int ColIndex, int CCount)
{
    if (Empty(this) || CCount <= 0)
        return;
    ClearRect(ColIndex, 0, ColIndex + CCount - 1, GetRowCount() - 1);
}

void TAdvStringGrid::ClearNormalRows(int RowIndex, int RCount)
{
    if (Empty(this) || RCount <= 0)
        return;
    ClearRect(GetFixedCols(), RowIndex, TotalColCount() - FFixedRightCols - 1, RowIndex + RCount - 1);
}

void TAdvStringGrid::ClearNormalCols(int ColIndex, int CCount)
{
    if (Empty(this) || CCount <= 0)
        return;
    ClearRect(ColIndex, GetFixedRows(), ColIndex + CCount - 1, GetRowCount() - FFixedFooters - 1);
}

void TAdvStringGrid::ClearNormalCells()
{
    if (Empty(this))
        return;
    RemoveAllNodes();
    ClearRect(GetFixedCols(), GetFixedRows(), TotalColCount() - FFixedRightCols - 1,
              GetRowCount() - FFixedFooters - 1);
}

void TAdvStringGrid::ClearSelection()
{
    // The selection is what the user sees: display columns.
    const TGridRect sel = GetSelection();
    if (sel.Left >= GetColCount() || sel.Top >= GetRowCount())
        return;
    ClearRectCore(sel.Left, sel.Top, std::min<int>(sel.Right, GetColCount() - 1),
                  std::min<int>(sel.Bottom, GetRowCount() - 1), true);
}

void TAdvStringGrid::Clear()
{
    if (Empty(this))
        return;
    RemoveAllNodes();
    ClearRectCore(0, 0, TotalColCount() - 1, GetRowCount() - 1, false);
}

void TAdvStringGrid::ClearAll()
{
    if (Destroying())
        return;
    RemoveAllNodes();
    ClearRectCore(0, 0, std::max(FMaxColCount, TotalColCount()) - 1, std::max(FMaxRowCount, GetRowCount()) - 1,
                  false);
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TStrings* items = FGridItems->Item(i)->GetItems();
        for (int c = 0; c < items->Count(); ++c)
            items->Put(c, {});
    }
}

// --- trimming and colouring -----------------------------------------------------------------

void TAdvStringGrid::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    for (int r = std::max(ARow1, 0); r <= ARow2; ++r)
        for (int c = std::max(ACol1, 0); c <= ACol2; ++c) {
            const int col = StorageCol(c);
            const String text = GetRawCell(col, r);
            const String trimmed = Trim(text);
            if (trimmed != text)
                SetRawCell(col, r, trimmed);
        }
}

void TAdvStringGrid::TrimColumn(int ACol)
{
    TrimRect(ACol, 0, ACol, GetRowCount() - 1);
}

void TAdvStringGrid::TrimRow(int ARow)
{
    TrimRect(0, ARow, GetColCount() - 1, ARow);
}

void TAdvStringGrid::TrimAll()
{
    TrimRect(0, 0, GetColCount() - 1, GetRowCount() - 1);
}

void TAdvStringGrid::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor)
{
    for (int r = std::max(ARow1, 0); r <= std::min(ARow2, GetRowCount() - 1); ++r)
        for (int c = std::max(ACol1, 0); c <= std::min(ACol2, TotalColCount() - 1); ++c)
            GetCellProperties(c, r)->SetBrushColor(AColor);
}

// --- merging runs of equal cells --------------------------------------------------------------

void TAdvStringGrid::MergeColumnCells(int ColIndex, bool MainMerge)
{
    if (ColIndex < 0 || ColIndex >= TotalColCount())
        return;
    const int end = GetRowCount() - FFixedFooters;
    int runStart = GetFixedRows();
    for (int r = GetFixedRows() + 1; r <= end; ++r) {
        const bool continues = r < end && GetRawCell(ColIndex, r) == GetRawCell(ColIndex, r - 1) &&
                               (MainMerge || RowSpanIdentical(r - 1, r));
        if (continues)
            continue;
        if (r - runStart >= 2)
            MergeCells(ColIndex, runStart, 1, r - runStart);
        runStart = r;
    }
}

void TAdvStringGrid::MergeRowCells(int RowIndex, bool MainMerge)
{
    if (RowIndex < 0 || RowIndex >= GetRowCount())
        return;
    const int end = GetColCount() - FFixedRightCols;
    int runStart = GetFixedCols();
    for (int c = GetFixedCols() + 1; c <= end; ++c) {
        const bool continues = c < end &&
                               GetRawCell(RealColIndex(c), RowIndex) == GetRawCell(RealColIndex(c - 1), RowIndex) &&
                               (MainMerge || ColSpanIdentical(RealColIndex(c - 1), RealColIndex(c)));
        if (continues)
            continue;
        if (c - runStart >= 2) {
            const int first = RealColIndex(runStart);
            MergeCells(first, RowIndex, RealColIndex(c - 1) - first + 1, 1);
        }
        runStart = c;
    }
}

void TAdvStringGrid::SplitColumnCells(int ColIndex)
{
    for (int r = 0; r < GetRowCount() - FFixedFooters - 1;) {
        const TPoint span = CellSpan(ColIndex, r);
        if (span.y > 0) {
            const TPoint base = BaseCell(ColIndex, r);
            SplitCells(ColIndex, r);
            r = base.y + span.y + 1;
        } else {
            ++r;
        }
    }
}

void TAdvStringGrid::SplitRowCells(int RowIndex)
{
    for (int c = 0; c < TotalColCount() - FFixedRightCols - 1;) {
        const TPoint span = CellSpan(c, RowIndex);
        if (span.x > 0) {
            const TPoint base = BaseCell(c, RowIndex);
            SplitCells(c, RowIndex);
            c = base.x + span.x + 1;
        } else {
            ++c;
        }
    }
}

void TAdvStringGrid::SplitAllCells()
{
    for (int r = 0; r < GetRowCount(); ++r)
        for (int c = 0; c < TotalColCount(); ++c)
            if (IsMergedCell(c, r))
                SplitCells(c, r);
}

void TAdvStringGrid::MergeCols(int ColIndex1, int ColIndex2, const String& Separator)
{
    if (ColIndex1 == ColIndex2 || ColIndex1 < 0 || ColIndex2 < 0 || ColIndex1 >= TotalColCount() ||
        ColIndex2 >= TotalColCount())
        return;
    for (int r = GetFixedRows(); r < GetRowCount(); ++r)
        SetRawCell(ColIndex1, r, Trim(GetRawCell(ColIndex1, r) + Separator + GetRawCell(ColIndex2, r)));
    RemoveCols(ColIndex2, 1);
}

// --- queries ----------------------------------------------------------------------------

TRect TAdvStringGrid::FindUsedCellRange()
{
    TRect used(GetColCount(), GetRowCount(), -1, -1);
    for (int r = 0; r < GetRowCount(); ++r)
        for (int c = 0; c < GetColCount(); ++c)
            if (!GetRawCell(RealColIndex(c), r).empty()) {
                used.left = std::min<LONG>(used.left, c);
                used.top = std::min<LONG>(used.top, r);
                used.right = std::max<LONG>(used.right, c);
                used.bottom = std::max<LONG>(used.bottom, r);
            }
    return used.right < 0 ? TRect() : used;
}

bool TAdvStringGrid::IsCell(const String& SubStr, int& ACol, int& ARow)
{
    for (int r = 0; r < GetRowCount(); ++r)
        for (int c = 0; c < TotalColCount(); ++c)
            if (GetRawCell(c, r) == SubStr) {
                ACol = c;
                ARow = r;
                return true;
            }
    return false;
}

bool TAdvStringGrid::IsWideCell(int ACol, int ARow)
{
    const TPoint base = BaseCell(ACol, ARow);
    return IsPackedWideText(GetRawCell(base.x, base.y));
}

String TAdvStringGrid::GetCellWideText(int ACol, int ARow)
{
    return UnpackWideText(GetCellText(ACol, ARow));
}

void TAdvStringGrid::SetCellWideText(int ACol, int ARow, const String& Value)
{
    SetCellText(ACol, ARow, PackWideText(Value));
}

void TAdvStringGrid::InvalidateCellRange(const TGridRect& R)
{
    if (!HandleAllocated())
        return;
    const TRect first = CellRect(R.Left, R.Top);
    const TRect last = CellRect(R.Right, R.Bottom);
    TRect area = first.IsEmpty() ? last : first;
    if (!first.IsEmpty() && !last.IsEmpty())
        area = TRect(std::min(first.left, last.left), std::min(first.top, last.top), std::max(first.right, last.right),
                     std::max(first.bottom, last.bottom));
    if (!area.IsEmpty())
        ::InvalidateRect(GetHandle(), &area, FALSE);
}

// --- the range the file writers save ------------------------------------------------------

int TAdvStringGrid::SaveStartCol() const
{
    return FSaveFixedCells || FSaveFixedCols ? 0 : GetFixedCols();
}

int TAdvStringGrid::SaveEndCol() const
{
    return FSaveFixedCells || FSaveFixedCols ? GetColCount() - 1 : GetColCount() - FFixedRightCols - 1;
}

int TAdvStringGrid::SaveColCount() const
{
    return FSaveFixedCells || FSaveFixedCols ? GetColCount() : GetColCount() - GetFixedCols() - FFixedRightCols;
}

int TAdvStringGrid::SaveStartRow() const
{
    return FSaveFixedCells || FSaveFixedRows ? 0 : GetFixedRows();
}

int TAdvStringGrid::SaveEndRow() const
{
    return FSaveFixedCells || FSaveFixedRows ? GetRowCount() - 1 : GetRowCount() - FFixedFooters - 1;
}

int TAdvStringGrid::SaveRowCount() const
{
    return FSaveFixedCells || FSaveFixedRows ? GetRowCount() : GetRowCount() - GetFixedRows() - FFixedFooters;
}
