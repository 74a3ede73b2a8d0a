// Row and column structure: whole-row storage, inserting and removing rows
// (by range, by list, by duplicates, by selection) and columns, with the
// hidden rows, hidden columns, heights and widths kept in step.
#include "AdvGrid.h"
#include <algorithm>
#include <set>

// --- whole rows in storage --------------------------------------------------------------

void TAdvStringGrid::ReadStoredRow(int ARow, TStrings* Items) const
{
    Items->Clear();
    for (int c = 0, n = TotalColCount(); c < n; ++c)
        Items->AddObject(GetRawCell(c, ARow), GetRawObject(c, ARow));
}

void TAdvStringGrid::WriteStoredRow(int ARow, TStrings* Items)
{
    const int stored = Items->Count();
    for (int c = 0, n = TotalColCount(); c < n; ++c) {
        SetRawCell(c, ARow, c < stored ? Items->Get(c) : String());
        SetRawObject(c, ARow, c < stored ? Items->GetObject(c) : nullptr);
    }
}

void TAdvStringGrid::TakeStoredRow(int ARow, TStrings* Items)
{
    auto* list = dynamic_cast<TStringList*>(Items);
    if (!list || list->GetSorted()) {
        ReadStoredRow(ARow, Items);
        return;
    }
    list->Clear();
    const int n = TotalColCount();
    list->Reserve(n);
    for (int c = 0; c < n; ++c)
        list->AddObjectTaking(TakeStoredText(c, ARow), GetRawObject(c, ARow));
}

void TAdvStringGrid::PutStoredRow(int ARow, TStrings* Items)
{
    auto* list = dynamic_cast<TStringList*>(Items);
    if (!list) {
        WriteStoredRow(ARow, Items);
        return;
    }
    const int stored = list->Count();
    for (int c = 0, n = TotalColCount(); c < n; ++c) {
        PutStoredText(c, ARow, c < stored ? list->TakeString(c) : String());
        SetRawObject(c, ARow, c < stored ? list->GetObject(c) : nullptr);
    }
}

void TAdvStringGrid::EmptyStoredRow(int ARow)
{
    for (int c = 0, n = TotalColCount(); c < n; ++c) {
        SetRawCell(c, ARow, {});
        SetRawObject(c, ARow, nullptr);
    }
}

void TAdvStringGrid::DiscardStaleRows(int FromRow, int ToRow)
{
    for (int r = FromRow; r < ToRow; ++r) {
        for (int c = 0, n = TotalColCount(); c < n; ++c)
            if (auto* props = dynamic_cast<TCellProperties*>(GetRawObject(c, r))) {
                SetRawObject(c, r, nullptr);
                props->Free();
            }
        EmptyStoredRow(r);
    }
}

void TAdvStringGrid::CloseRowGaps(const std::vector<int>& Gone)
{
    if (Gone.empty())
        return;
    const int count = GetRowCount();
    std::vector<int> heights(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r)
        heights[static_cast<size_t>(r)] = GetRowHeights(r);
    size_t g = 0;
    int next = Gone.front();
    for (int r = Gone.front(); r < count; ++r) {
        if (g < Gone.size() && Gone[g] == r) {
            ++g;
            continue;
        }
        SwapStoredRows(next, r);
        SetRowHeights(next, heights[static_cast<size_t>(r)]);
        ++next;
    }
}

void TAdvStringGrid::OpenRowGaps(const std::vector<int>& Slots, int OldRowCount)
{
    const int count = GetRowCount();
    std::vector<int> heights(static_cast<size_t>(OldRowCount));
    for (int r = 0; r < OldRowCount; ++r)
        heights[static_cast<size_t>(r)] = GetRowHeights(r);
    // From the bottom: the row taking position t comes from above it, and
    // what t held (a row already moved, or nothing) goes back in its place.
    int source = OldRowCount - 1;
    int slot = static_cast<int>(Slots.size()) - 1;
    for (int t = count - 1; t >= 0 && slot >= 0; --t) {
        if (Slots[static_cast<size_t>(slot)] == t) {
            --slot;
            continue;
        }
        SwapStoredRows(source, t);
        SetRowHeights(t, heights[static_cast<size_t>(source)]);
        --source;
    }
}

void TAdvStringGrid::DropRows(const std::vector<int>& Gone, bool AdjustHidden)
{
    const int oldCount = GetRowCount();
    // Real indexes before anything moves: the hidden rows after each removed
    // row move up by one.
    std::vector<int> removedReal;
    if (AdjustHidden && NumHiddenRows() > 0)
        for (int r : Gone)
            removedReal.push_back(RealRowIndex(r));
    CloseRowGaps(Gone);
    const int newCount = oldCount - static_cast<int>(Gone.size());
    for (int r = newCount; r < oldCount; ++r)
        EmptyStoredRow(r);
    if (!removedReal.empty()) {
        FGridItems->BeginUpdate();
        for (int i = 0; i < FGridItems->Count(); ++i) {
            TGridItem* item = FGridItems->Item(i);
            const auto below = std::lower_bound(removedReal.begin(), removedReal.end(), item->GetIdx());
            item->SetIdx(item->GetIdx() - static_cast<int>(below - removedReal.begin()));
        }
        FGridItems->EndUpdate();
    }
    TStringGrid::SetRowCount(newCount);
}

void TAdvStringGrid::KeepCurrentRow(int OldRow, int OldTop)
{
    const int normalEnd = GetRowCount() - FFixedFooters;
    if (OldRow >= 0 && OldRow < normalEnd) {
        if (TStringGrid::GetRow() != OldRow)
            MoveColRow(TStringGrid::GetCol(), OldRow, true, false);
        if (OldTop != TStringGrid::GetTopRow())
            TStringGrid::SetTopRow(OldTop);
    } else if (normalEnd - 1 >= GetFixedRows()) {
        FSelectionParked = false;
        MoveColRow(TStringGrid::GetCol(), normalEnd - 1, true, true);
    } else {
        HideSelection();
    }
    FSelHidden = false;
}

namespace {

std::vector<int> Run(int From, int Count)
{
    std::vector<int> rows(static_cast<size_t>(std::max(Count, 0)));
    for (int k = 0; k < Count; ++k)
        rows[static_cast<size_t>(k)] = From + k;
    return rows;
}

// The distinct rows of a list that lie in 0 .. count - 1, ascending.
std::vector<int> RowsOf(TIntList* List, int count)
{
    std::vector<int> rows;
    if (List)
        for (int i = 0; i < List->Count(); ++i)
            if (const int r = List->GetItem(i); r >= 0 && r < count)
                rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

// --- inserting rows ---------------------------------------------------------------------

void TAdvStringGrid::InsertRows(int Row, int Count, bool UpdateCellControls)
{
    if (Count <= 0 || Row < 0 || Row > GetRowCount())
        return;
    if (IsSelectionHidden())
        UnHideSelection();
    // New rows go right before display row Row in the whole table too, so
    // hidden rows from there on move down with the rows around them.
    const int firstReal = NumHiddenRows() > 0 ? RealRowIndex(Row) : 0;
    const int oldCount = GetRowCount();
    TStringGrid::SetRowCount(oldCount + Count);
    DiscardStaleRows(oldCount, oldCount + Count);
    const std::vector<int> slots = Run(Row, Count);
    OpenRowGaps(slots, oldCount);
    for (int r : slots)
        SetRowHeights(r, GetDefaultRowHeight());
    if (NumHiddenRows() > 0) {
        FGridItems->BeginUpdate();
        for (int i = 0; i < FGridItems->Count(); ++i)
            if (TGridItem* item = FGridItems->Item(i); item->GetIdx() >= firstReal)
                item->SetIdx(item->GetIdx() + Count);
        FGridItems->EndUpdate();
    }
    if (UpdateCellControls)
        CellControlsUpdate(false);
    if (!Destroying())
        DoCellsChanged(TRect(0, Row, GetColCount() - 1, Row + Count));
}

void TAdvStringGrid::AddRow()
{
    InsertRows(GetRowCount(), 1, true);
    ClearRows(GetRowCount() - 1, 1);
}

// --- removing rows ----------------------------------------------------------------------

void TAdvStringGrid::RemoveRowsCore(const std::vector<int>& Rows, const TRowRemoval& How)
{
    if (Rows.empty())
        return;
    if (How.FreeProperties)
        for (int r : Rows)
            FreeCellPropertiesRange(0, r, TotalColCount() - 1, r);
    const int oldTop = GetTopRow();
    DropRows(Rows, How.AdjustHidden);
    if (How.ShrinkMaxRowCount)
        FMaxRowCount = std::max(FMaxRowCount - static_cast<int>(Rows.size()), GetRowCount());
    if (How.CurrentRow)
        KeepCurrentRow(*How.CurrentRow, oldTop);
    if (How.Changed)
        DoCellsChanged(*How.Changed);
    if (How.KeepLastPage) {
        // Keep the last page of rows filled after removing near the end.
        const int visible = GetVisibleRowCount();
        const int lastTop = GetRowCount() + GetFixedRows() - visible - 2;
        if (GetTopRow() >= lastTop && GetRowCount() - visible - 1 > 0)
            SetTopRowEx(lastTop);
    }
    if (How.UpdateCellControls)
        CellControlsUpdate(false);
}

void TAdvStringGrid::RemoveRowRun(int Row, int Count, TRowRemoval How)
{
    if (Row < 0 || Row >= GetRowCount() || Count <= 0)
        return;
    Count = std::min(Count, GetRowCount() - Row);
    How.CurrentRow = GetRow();
    How.Changed = TRect(0, Row, GetColCount() - 1, Row + Count);
    RemoveRowsCore(Run(Row, Count), How);
}

void TAdvStringGrid::RemoveRowsCore(int Row, int Count, bool AdjustHidden)
{
    RemoveRowRun(Row, Count, {.FreeProperties = false, .AdjustHidden = AdjustHidden});
}

void TAdvStringGrid::RemoveRowRange(int RowIndex, int RCount)
{
    RemoveRowRun(RowIndex, RCount, {});
}

void TAdvStringGrid::RemoveRows(int RowIndex, int RCount)
{
    RemoveRowRun(RowIndex, RCount, {.ShrinkMaxRowCount = true, .KeepLastPage = true});
}

void TAdvStringGrid::RemoveRowsEx(int RowIndex, int RCount)
{
    RemoveRowRun(RowIndex, RCount, {.FreeProperties = false, .ShrinkMaxRowCount = true, .UpdateCellControls = false});
}

void TAdvStringGrid::RemoveRowList(TIntList* RowList)
{
    RemoveRowsCore(RowsOf(RowList, GetRowCount()), {});
}

void TAdvStringGrid::RemoveDuplicates(int ACol, bool Flag)
{
    if (ACol < 0 || ACol >= GetColCount())
        return;
    const int col = RealColIndex(ACol);
    auto lessNoCase = [](const String& a, const String& b) { return AnsiCompareText(a, b) < 0; };
    std::set<String, decltype(lessNoCase)> seen(lessNoCase);
    TOwned<TIntList> duplicates(New<TIntList>(0, 0));
    for (int r = GetFixedRows(), end = GetRowCount() - FFixedFooters; r < end; ++r) {
        const String text = GetRawCell(col, r);
        if (!seen.insert(Flag ? text : AnsiUpperCase(text)).second)
            duplicates->Add(r);
    }
    RemoveRowList(duplicates.get());
}

// --- rows by selection -----------------------------------------------------------------

bool TAdvStringGrid::IsRowSelected(int ARow)
{
    const TGridRect sel = GetSelection();
    return ARow >= sel.Top && ARow <= sel.Bottom;
}

void TAdvStringGrid::RemoveSelectedRows()
{
    const TGridRect sel = GetSelection();
    const int top = sel.Top;
    const int bottom = std::min(sel.Bottom, GetRowCount() - 1);
    if (top >= GetRowCount())
        return;
    RemoveRowRange(top, bottom - top + 1);
}

void TAdvStringGrid::RemoveUnSelectedRows()
{
    std::vector<int> rows;
    for (int r = GetFixedRows(), end = GetRowCount() - FFixedFooters; r < end; ++r)
        if (!IsRowSelected(r))
            rows.push_back(r);
    if (rows.empty())
        return;
    // The current row stays on its row, which moves up past the removed ones.
    const int oldRow = GetRow();
    const int newRow = oldRow - static_cast<int>(std::lower_bound(rows.begin(), rows.end(), oldRow) - rows.begin());
    TRowRemoval how;
    how.CurrentRow = std::binary_search(rows.begin(), rows.end(), oldRow) ? -1 : newRow;
    how.Changed = TRect(0, rows.front(), GetColCount() - 1, rows.back());
    RemoveRowsCore(rows, how);
}

void TAdvStringGrid::HideSelectedRows()
{
    const TGridRect sel = GetSelection();
    const int top = std::max(sel.Top, GetFixedRows());
    const int bottom = std::min(sel.Bottom, GetRowCount() - 1);
    if (top > bottom)
        return;
    HideRows(RealRowIndex(top), RealRowIndex(bottom));
}

void TAdvStringGrid::HideUnSelectedRows()
{
    const TGridRect sel = GetSelection();
    const int fixed = GetFixedRows();
    const int top = sel.Top;
    const int bottom = sel.Bottom;
    // The unselected rows are the runs above and below the selection; real
    // indexes do not change by hiding, so both are taken first.
    const int last = GetRowCount() - 1;
    const bool below = bottom + 1 <= last;
    const bool above = fixed <= std::min(top - 1, last);
    const int belowFrom = below ? RealRowIndex(std::max(bottom + 1, fixed)) : 0;
    const int belowTo = below ? RealRowIndex(last) : -1;
    const int aboveFrom = above ? RealRowIndex(fixed) : 0;
    const int aboveTo = above ? RealRowIndex(std::min(top - 1, last)) : -1;
    if (below)
        HideRows(belowFrom, belowTo);
    if (above)
        HideRows(aboveFrom, aboveTo);
}

// --- columns ----------------------------------------------------------------------------

void TAdvStringGrid::MoveColumnCells(int FromCol, int Count, bool Insert)
{
    const int total = TotalColCount();
    const int end = Insert ? total + Count : total;
    // The column each cell from FromCol on takes its contents from; -1 empties it.
    auto sourceOf = [&](int c) {
        if (Insert)
            return c < FromCol + Count ? -1 : c - Count;
        return c + Count < total ? c + Count : -1;
    };
    // Inserting walks from the right and removing from the left, so that no
    // source is overwritten before it is read.
    for (int r = 0, rows = GetRowCount(); r < rows; ++r)
        for (int k = 0; k < end - FromCol; ++k) {
            const int c = Insert ? end - 1 - k : FromCol + k;
            const int source = sourceOf(c);
            SetRawCell(c, r, source < 0 ? String() : GetRawCell(source, r));
            SetRawObject(c, r, source < 0 ? nullptr : GetRawObject(source, r));
        }
    // The hidden rows' cells follow their columns as well.
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TStrings* items = FGridItems->Item(i)->GetItems();
        while (items->Count() < total)
            items->Add({});
        for (int k = 0; k < Count; ++k) {
            if (Insert)
                items->InsertObject(FromCol, {}, nullptr);
            else
                items->Delete(FromCol);
        }
    }
}

void TAdvStringGrid::InsertCols(int ColIndex, int CCount)
{
    if (CCount <= 0 || ColIndex < 0 || ColIndex > TotalColCount())
        return;
    const int oldColCount = GetColCount();
    const int display = ColIndex >= TotalColCount() ? oldColCount : DisplColIndex(ColIndex);
    std::vector<int> widths;
    for (int c = 0; c < oldColCount; ++c)
        widths.push_back(GetColWidths(c));
    widths.insert(widths.begin() + display, static_cast<size_t>(CCount), GetDefaultColWidth());
    MoveColumnCells(ColIndex, CCount, true);
    FVisibleCol.insert(FVisibleCol.begin() + ColIndex, static_cast<size_t>(CCount), true);
    FAllColWidths.insert(FAllColWidths.begin() + ColIndex, static_cast<size_t>(CCount), 0);
    FColumnMapValid = false;
    TStringGrid::SetColCount(oldColCount + CCount);
    for (int c = display; c < GetColCount(); ++c)
        SetColWidths(c, widths[static_cast<size_t>(c)]);
}

void TAdvStringGrid::AddColumn()
{
    InsertCols(TotalColCount(), 1);
}

void TAdvStringGrid::RemoveCols(int ColIndex, int CCount)
{
    if (CCount <= 0 || ColIndex < 0 || ColIndex >= TotalColCount())
        return;
    CCount = std::min(CCount, TotalColCount() - ColIndex);
    ClearRectCore(ColIndex, 0, ColIndex + CCount - 1, GetRowCount() - 1, false);
    // What clearing may have kept goes with the columns: nothing refers to it afterwards.
    FreeCellPropertiesRange(ColIndex, 0, ColIndex + CCount - 1, GetRowCount() - 1);
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TStrings* items = FGridItems->Item(i)->GetItems();
        for (int c = ColIndex; c < ColIndex + CCount && c < items->Count(); ++c)
            if (auto* props = dynamic_cast<TCellProperties*>(items->GetObject(c))) {
                items->PutObject(c, nullptr);
                props->Free();
            }
    }
    // The widths of the displayed columns that stay.
    std::vector<int> widths;
    int removedShown = 0;
    int firstDisplay = GetColCount();
    for (int c = 0; c < GetColCount(); ++c) {
        const int real = RealColIndex(c);
        if (real >= ColIndex && real < ColIndex + CCount) {
            ++removedShown;
            firstDisplay = std::min(firstDisplay, c);
        } else {
            widths.push_back(GetColWidths(c));
        }
    }
    MoveColumnCells(ColIndex, CCount, false);
    FVisibleCol.erase(FVisibleCol.begin() + ColIndex, FVisibleCol.begin() + ColIndex + CCount);
    FAllColWidths.erase(FAllColWidths.begin() + ColIndex, FAllColWidths.begin() + ColIndex + CCount);
    FNumHidden -= CCount - removedShown;
    FColumnMapValid = false;
    TStringGrid::SetColCount(GetColCount() - removedShown);
    for (int c = firstDisplay; c < GetColCount() && c < static_cast<int>(widths.size()); ++c)
        SetColWidths(c, widths[static_cast<size_t>(c)]);
    DoCellsChanged(TRect(ColIndex, 0, ColIndex + CCount, GetRowCount() - 1));
}

void TAdvStringGrid::RemoveSelectedCols()
{
    const TGridRect sel = GetSelection();
    for (int c = std::min(sel.Right, GetColCount() - 1); c >= sel.Left && c >= 0; --c)
        RemoveCols(RealColIndex(c), 1);
}

void TAdvStringGrid::RemoveUnSelectedCols()
{
    const TGridRect sel = GetSelection();
    for (int c = GetColCount() - 1; c > sel.Right; --c)
        RemoveCols(RealColIndex(c), 1);
    for (int c = std::min(sel.Left, GetColCount()) - 1; c >= GetFixedCols(); --c)
        RemoveCols(RealColIndex(c), 1);
}
