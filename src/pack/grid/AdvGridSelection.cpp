// What is selected, in each selection model (the selection rectangle, and
// the disjunct marks of rows, columns and single cells): the test for one
// cell, the counts, the selected text as a tab-separated block, and
// selecting cells from code.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include <algorithm>

namespace {

// A marked cell of the disjunct cell selection: the column in the low 16
// bits, the row in the high ones. Cells beyond either range cannot be
// marked, rather than being taken for another cell.
constexpr int MaxKeyIndex = 0xFFFF;

bool HasKey(int ACol, int ARow)
{
    return ACol >= 0 && ARow >= 0 && ACol <= MaxKeyIndex && ARow <= MaxKeyIndex;
}

Integer CellKey(int ACol, int ARow)
{
    return static_cast<Integer>(static_cast<uint32_t>(ARow) << 16 | static_cast<uint32_t>(ACol));
}

} // namespace

bool TAdvStringGrid::IsSelected(int ACol, int ARow)
{
    if (ACol < GetFixedCols() || ARow < GetFixedRows())
        return false;
    TMouseActions* actions = FMouseActions.get();
    if (actions->GetDisjunctCellSelect())
        return HasKey(ACol, ARow) && FSelectedCells->HasValue(CellKey(ACol, ARow));
    if (actions->GetDisjunctRowSelect())
        return GetRowSelect(actions->GetRowSelectPersistent() ? RealRowIndex(ARow) : ARow);
    if (actions->GetDisjunctColSelect())
        return GetColSelect(ACol);
    return GetSelection().Contains(ACol, ARow);
}

void TAdvStringGrid::SetCellSelected(int ACol, int ARow, bool Value)
{
    if (!HasKey(ACol, ARow))
        return;
    const Integer key = CellKey(ACol, ARow);
    const bool present = FSelectedCells->HasValue(key);
    if (Value && !present)
        FSelectedCells->Add(key);
    else if (!Value && present)
        FSelectedCells->DeleteValue(key);
    else
        return;
    RepaintCell(ACol, ARow);
}

void TAdvStringGrid::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    if (FMouseActions->GetDisjunctCellSelect()) {
        ClearSelectedCells();
        const TGridRect r = GridRect({FromCol, FromRow}, {ToCol, ToRow});
        for (int c = r.Left; c <= r.Right; ++c)
            for (int row = r.Top; row <= r.Bottom; ++row)
                SetCellSelected(c, row, true);
        return;
    }
    const bool single = FromCol == ToCol && FromRow == ToRow;
    if (single && GetCol() >= 0 && GetRow() >= 0 && GetCol() < GetColCount() - 1 && GetRow() < GetRowCount() - 1) {
        SetCol(FromCol);
        SetRow(FromRow);
        return;
    }
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

void TAdvStringGrid::ClearSelectedCells()
{
    SetSelection({GetFixedCols(), GetFixedRows(), GetFixedCols(), GetFixedRows()});
    FSelectedCells->Clear();
    Invalidate();
}

void TAdvStringGrid::ClearModifiedRows()
{
    FModifiedRows->Clear();
    Invalidate();
}

int TAdvStringGrid::GetSelectedCellsCount()
{
    if (FMouseActions->GetDisjunctCellSelect())
        return FSelectedCells->Count();
    const TGridRect sel = GetSelection();
    return (sel.Right - sel.Left + 1) * (sel.Bottom - sel.Top + 1);
}

int TAdvStringGrid::GetSelectedColCount()
{
    if (FMouseActions->GetDisjunctColSelect())
        return GetColSelectCount();
    const TGridRect sel = GetSelection();
    // A merged block counts with all its columns.
    const int span = CellSpan(RealColIndex(sel.Left), sel.Top).x;
    if (span > 0 && sel.Left + span > sel.Right)
        return span + 1;
    const TPoint right = BaseCell(RealColIndex(sel.Right), sel.Top);
    const int rightSpan = CellSpan(right.x, right.y).x;
    if (rightSpan > 0)
        return std::abs(sel.Left - sel.Right) + rightSpan + 1;
    return std::abs(sel.Left - sel.Right) + 1;
}

int TAdvStringGrid::GetSelectedRowCount()
{
    if (FMouseActions->GetDisjunctRowSelect())
        return FSelectedRows->Count();
    TGridRect sel = GetSelection();
    const int lastNormal = GetRowCount() - FFixedFooters - 1;
    if (sel.Bottom > lastNormal && !FFloatingFooter->GetVisible())
        sel.Bottom = lastNormal;
    const int leftCol = RealColIndex(sel.Left);
    const int span = CellSpan(leftCol, sel.Top).y;
    if (span > 0)
        return sel.Bottom < sel.Top + span ? span + 1 : std::abs(sel.Top - sel.Bottom) + 1;
    const TPoint bottom = BaseCell(leftCol, sel.Bottom);
    const int bottomSpan = CellSpan(bottom.x, bottom.y).y;
    if (bottomSpan > 0)
        return std::abs(sel.Top - sel.Bottom) + bottomSpan + 1;
    return std::abs(sel.Top - sel.Bottom) + 1;
}

String TAdvStringGrid::SelectedText()
{
    // Only cells inside the grid: a hidden selection lies beyond its edge.
    TGridRect sel = GetSelection();
    sel.Right = std::min(sel.Right, GetColCount() - 1);
    sel.Bottom = std::min(sel.Bottom, GetRowCount() - 1);
    if (FDragDropSettings->GetOleEntireRows()) {
        sel.Left = 0;
        sel.Right = GetColCount() - 1;
    }
    // With SaveHiddenCells the columns address the cells as stored, hidden ones counted.
    if (FSaveHiddenCells)
        sel.Right += NumHiddenColumns();

    auto rowText = [&](int ARow) {
        String line;
        for (int c = sel.Left; c <= sel.Right; ++c) {
            String text = GetCellText(FSaveHiddenCells ? c : RealColIndex(c), ARow);
            if (FExcelClipboardFormat && CountTextLines(text, FMultilineCells) > 1)
                QuoteMultilineCell(text);
            if (c > sel.Left)
                line += L'\t';
            line += text;
        }
        return line;
    };

    String text;
    TMouseActions* actions = FMouseActions.get();
    if (actions->GetDisjunctRowSelect()) {
        // Every marked row, each with its line end.
        for (int r = GetFixedRows(); r < GetRowCount(); ++r)
            if (GetRowSelect(actions->GetRowSelectPersistent() ? RealRowIndex(r) : r))
                text += rowText(r) + L"\r\n";
        return text;
    }
    for (int r = sel.Top; r <= sel.Bottom; ++r) {
        if (r > sel.Top)
            text += L"\r\n";
        text += rowText(r);
    }
    return text;
}
