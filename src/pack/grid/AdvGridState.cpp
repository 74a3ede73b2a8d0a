// The data grid's row and column state: counts that keep their fixed rows and
// columns, the current cell, the disjunct row and column selections, the
// modified and enabled marks of rows, partial repaints and the listeners.
#include "AdvGrid.h"
#include <algorithm>

namespace {

bool FlagSet(const TList* list, int index)
{
    return index >= 0 && index < list->Count() && list->Get(index) != nullptr;
}

void PutFlag(TList* list, int index, bool value)
{
    list->Put(index, value ? reinterpret_cast<void*>(1) : nullptr);
}

} // namespace

// --- counts and fixed cells -----------------------------------------------------------

void TAdvStringGrid::SetRowCount(int Value)
{
    const int oldCount = GetRowCount();
    if (oldCount == TStringGrid::GetFixedRows() && FFixedRowAlways && IsSelectionHidden())
        UnHideSelection();
    if (GetCol() == GetColCount() || GetRow() == GetRowCount())
        FocusCell(GetFixedCols(), GetFixedRows());
    TStringGrid::SetRowCount(Value);
    if (FFixedRowsMin < GetRowCount() && FFixedRowAlways)
        SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, Value);
    FNormalRowCount = Value;
    if (FFooterPanel)
        FFooterPanel->Invalidate();
    UpdateScrollBarsAlways(false);
    // The footer row travels with the end of the grid; its cell objects move
    // with it rather than being freed.
    if (FFloatingFooter && FFloatingFooter->GetVisible() && Value > oldCount && oldCount > 0) {
        for (int c = 0; c < TotalColCount(); ++c) {
            SetRawCell(c, Value - 1, GetRawCell(c, oldCount - 1));
            SetRawObject(c, Value - 1, GetRawObject(c, oldCount - 1));
        }
        FNilObjects = true;
        ClearRows(oldCount - 1, 1);
        CalcFooter(-1);
        FNilObjects = false;
    }
}

void TAdvStringGrid::SetColCount(int Value)
{
    TStringGrid::SetColCount(Value);
    if (FFixedColsMin < GetColCount() && FFixedColAlways)
        SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, Value);
    if (FFooterPanel)
        FFooterPanel->Invalidate();
    SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
    UpdateScrollBarsAlways(false);
}

int TAdvStringGrid::GetFixedRows() const
{
    const int fixed = TStringGrid::GetFixedRows();
    return fixed == 0 && FFixedRowAlways ? 1 : fixed;
}

int TAdvStringGrid::GetFixedCols() const
{
    const int fixed = TStringGrid::GetFixedCols();
    return fixed == 0 && FFixedColAlways ? 1 : fixed;
}

void TAdvStringGrid::SetFixedRows(int Value)
{
    const int requested = Value;
    if (FFixedRowAlways && Value >= GetRowCount())
        Value = GetRowCount() - 1;
    TStringGrid::SetFixedRows(std::max(Value, 0));
    if (!LoadingNow())
        FFixedRowsMin = requested;
}

void TAdvStringGrid::SetFixedCols(int Value)
{
    const int requested = Value;
    if (FFixedColAlways && Value >= GetColCount())
        Value = GetColCount() - 1;
    TStringGrid::SetFixedCols(std::max(Value, 0));
    if (!LoadingNow())
        FFixedColsMin = requested;
}

void TAdvStringGrid::SetFixedRowAlways(bool Value)
{
    FFixedRowAlways = Value;
    Invalidate();
}

void TAdvStringGrid::SetFixedColAlways(bool Value)
{
    FFixedColAlways = Value;
    Invalidate();
}

void TAdvStringGrid::SetDefaultRowHeight(int Value)
{
    TStringGrid::SetDefaultRowHeight(Value);
    if (DesignTime())
        FFixedRowHeight = Value;
    if (FFloatingFooter) {
        FFloatingFooter->SetHeight(Value);
        if (FFloatingFooter->GetVisible())
            FFooterPanel->SetHeight(Value);
    }
}

void TAdvStringGrid::SetFixedRowHeight(int Value)
{
    FFixedRowHeight = Value;
    if (LoadingNow() || Value == GetDefaultRowHeight())
        return;
    for (int r = 0; r < TStringGrid::GetFixedRows(); ++r)
        SetRowHeights(r, Value);
}

void TAdvStringGrid::SetFixedColWidth(int Value)
{
    if (LoadingNow() || Value == GetDefaultColWidth())
        return;
    for (int c = 0; c < TStringGrid::GetFixedCols(); ++c)
        SetColWidths(c, Value);
}

void TAdvStringGrid::SetWordWrap(bool Value)
{
    TBaseGrid::SetWordWrap(Value);
    FWordWrapEx = Value;
    if (FUpdateCount == 0)
        Invalidate();
}

// --- current cell -------------------------------------------------------------------

void TAdvStringGrid::SetCol(int Value)
{
    FSelectionParked = false;
    TStringGrid::SetCol(Value);
    FDisSelection = GetSelection();
    FAECol = -1;
    FAERow = -1;
    if (FSyncGrid && FSyncGrid->GetGrid() && FSyncGrid->GetSelectionColumn()) {
        if (auto* other = dynamic_cast<TAdvStringGrid*>(FSyncGrid->GetGrid()))
            other->SetCol(Value);
        else
            FSyncGrid->GetGrid()->SetCol(Value);
    }
}

void TAdvStringGrid::SetCursor(TCursor Value)
{
    TControl::SetCursor(Value);
    FOldCursor = Value;
}

void TAdvStringGrid::GotoCell(int ACol, int ARow)
{
    SetRowEx(ARow);
    SetCol(ACol);
}

void TAdvStringGrid::EditCell(int ACol, int ARow)
{
    if (CanFocus())
        SetFocus();
    GotoCell(ACol, ARow);
    ShowInplaceEdit();
}

void TAdvStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow)
{
    SetRowEx(ToRow);
    SetCol(ToCol);
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

// --- disjunct row selection -----------------------------------------------------------

void TAdvStringGrid::GrowFlags(TList* List, int Count)
{
    while (List->Count() < Count)
        List->Add(nullptr);
}

void TAdvStringGrid::SetRowSelect(int ARow, bool Value)
{
    FRowSelMod = false;
    if (ARow < 0 || (ARow >= GetRowCount() + NumHiddenRows() && GetRowCount() > GetFixedRows()))
        throw EAdvGridError(L"Invalid row accessed");
    bool allow = true;
    bool announced = false;
    if (ARow >= FRowSelect->Count() || FlagSet(FRowSelect.get(), ARow) != Value) {
        if (OnRowDisjunctSelect)
            OnRowDisjunctSelect(this, ARow, Value, allow);
        announced = true;
    }
    if (!allow)
        return;
    GrowFlags(FRowSelect.get(), ARow + 1);
    const bool wasSet = FlagSet(FRowSelect.get(), ARow);
    if (Value) {
        if (!wasSet)
            RepaintRow(ARow);
        FRowSelMod = !wasSet;
        PutFlag(FRowSelect.get(), ARow, true);
        if (!FSelectedRows->HasValue(ARow) && ARow >= GetFixedRows())
            FSelectedRows->Add(ARow);
    } else {
        if (wasSet)
            RepaintRow(ARow);
        FRowSelMod = wasSet;
        PutFlag(FRowSelect.get(), ARow, false);
        FSelectedRows->DeleteValue(ARow);
    }
    if (announced && OnRowDisjunctSelected)
        OnRowDisjunctSelected(this, ARow);
}

bool TAdvStringGrid::GetRowSelect(int ARow)
{
    if (!FMouseActions->GetRowSelectPersistent() && (ARow < 0 || ARow >= GetRowCount() + NumHiddenRows()))
        throw EAdvGridError(L"Invalid row " + IntToStr(ARow) + L" accessed");
    if (ARow < 0)
        return false;
    if (FMouseActions->GetDisjunctRowSelect()) {
        if (FRowSelect->Count() < ARow + 1)
            GrowFlags(FRowSelect.get(), std::max(GetRowCount(), ARow + 1));
        return FlagSet(FRowSelect.get(), ARow);
    }
    const TGridRect sel = GetSelection();
    return ARow >= sel.Top && ARow <= sel.Bottom;
}

void TAdvStringGrid::ClearDisjunctRowSelect()
{
    for (int i = 0; i < FRowSelect->Count(); ++i) {
        const bool wasSet = FlagSet(FRowSelect.get(), i);
        if (wasSet)
            RepaintRow(i);
        PutFlag(FRowSelect.get(), i, false);
        if (wasSet && OnRowDisjunctSelected)
            OnRowDisjunctSelected(this, i);
    }
    FSelectedRows->Clear();
}

void TAdvStringGrid::ClearRowSelect()
{
    ClearDisjunctRowSelect();
    SetSelection({GetColCount(), GetRowCount(), GetColCount(), GetRowCount()});
}

void TAdvStringGrid::RowSelectRange(int RowIndex, int RCount, bool Value)
{
    for (int r = RowIndex; r < RowIndex + RCount; ++r) {
        const int index = FMouseActions->GetRowSelectPersistent() ? RealRowIndex(r) : r;
        if (index >= 0 && index < GetRowCount())
            SetRowSelect(index, Value);
    }
}

void TAdvStringGrid::SelectRows(int RowIndex, int RCount)
{
    RCount = std::min(RCount, GetRowCount() - RowIndex);
    if (!FMouseActions->GetDisjunctRowSelect()) {
        if (RCount > 0)
            SetSelection({GetFixedCols(), RowIndex, GetColCount() - 1, RowIndex + RCount - 1});
    } else {
        RowSelectRange(RowIndex, RCount, true);
        if (!FRowIndicator->GetEmpty())
            RepaintCol(0);
    }
    FSelChange = false;
}

void TAdvStringGrid::UnSelectRows(int RowIndex, int RCount)
{
    if (FMouseActions->GetDisjunctRowSelect())
        RowSelectRange(RowIndex, RCount, false);
    FSelChange = false;
}

bool TAdvStringGrid::SelectionToRowSelect(bool All)
{
    TGridRect sel = GetSelection();
    if (sel.Top == FDisSelection.Top)
        return false;
    sel.Bottom = std::min(sel.Bottom, GetRowCount() - FFixedFooters - 1);
    const int top = std::min(sel.Top, sel.Bottom);
    const int bottom = std::max(sel.Top, sel.Bottom);
    bool changed = false;
    for (int r = GetFixedRows(); r < GetRowCount(); ++r) {
        const bool inside = r >= top && r <= bottom;
        if (!All && !inside)
            continue;
        SetRowSelect(FMouseActions->GetRowSelectPersistent() ? RealRowIndex(r) : r, inside);
        changed = changed || FRowSelMod;
    }
    if (NumHiddenRows() > 0)
        Invalidate();
    FDisSelection = GetSelection();
    return changed;
}

int TAdvStringGrid::GetRowSelectCount()
{
    if (FMouseActions->GetDisjunctRowSelect()) {
        const int n = std::min(GetRowCount() + NumHiddenRows(), FRowSelect->Count());
        int count = 0;
        for (int i = 0; i < n; ++i)
            count += FlagSet(FRowSelect.get(), i) ? 1 : 0;
        return count;
    }
    if (GetOptions().Contains(goRowSelect)) {
        const TGridRect sel = GetSelection();
        return std::abs(sel.Bottom - sel.Top) + 1;
    }
    return 0;
}

// --- disjunct column selection ----------------------------------------------------------

bool TAdvStringGrid::GetColSelect(int ACol)
{
    if (ACol < 0 || ACol >= GetColCount())
        throw EAdvGridError(L"Invalid column accessed");
    GrowFlags(FColSelect.get(), ACol + 1);
    return FlagSet(FColSelect.get(), ACol);
}

void TAdvStringGrid::SetColSelect(int ACol, bool Value)
{
    if (ACol < 0 || ACol >= GetColCount())
        throw EAdvGridError(L"Invalid column accessed");
    GrowFlags(FColSelect.get(), ACol + 1);
    if (FlagSet(FColSelect.get(), ACol) != Value)
        RepaintCol(ACol);
    PutFlag(FColSelect.get(), ACol, Value);
}

void TAdvStringGrid::SelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->GetDisjunctColSelect()) {
        SetSelection({ColIndex, GetFixedRows(), ColIndex + CCount - 1, GetRowCount() - 1});
        return;
    }
    for (int c = ColIndex; c < ColIndex + CCount && c < GetColCount(); ++c)
        SetColSelect(c, true);
}

void TAdvStringGrid::UnSelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->GetDisjunctColSelect())
        return;
    for (int c = ColIndex; c < ColIndex + CCount && c < GetColCount(); ++c)
        SetColSelect(c, false);
}

void TAdvStringGrid::ClearColSelect()
{
    for (int c = 0; c < FColSelect->Count(); ++c)
        if (FlagSet(FColSelect.get(), c)) {
            RepaintCol(c);
            PutFlag(FColSelect.get(), c, false);
        }
}

void TAdvStringGrid::SelectionToColSelect(bool All)
{
    const TGridRect sel = GetSelection();
    for (int c = GetFixedCols(); c < GetColCount(); ++c) {
        const bool inside = c >= sel.Left && c <= sel.Right;
        if (All || inside)
            SetColSelect(c, inside);
    }
}

int TAdvStringGrid::GetColSelectCount()
{
    if (FMouseActions->GetDisjunctColSelect()) {
        int count = 0;
        for (int c = 0; c < FColSelect->Count(); ++c)
            count += FlagSet(FColSelect.get(), c) ? 1 : 0;
        return count;
    }
    const TGridRect sel = GetSelection();
    return sel.Right - sel.Left + 1;
}

// --- modified and enabled rows -------------------------------------------------------------

bool TAdvStringGrid::GetRowModified(int ARow) const
{
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->GetItem(ARow) == 1;
}

void TAdvStringGrid::SetRowModified(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    while (FModifiedRows->Count() < ARow + 1)
        FModifiedRows->Add(0);
    FModifiedRows->SetItem(ARow, Value ? 1 : 0);
    RepaintCell(0, DisplRowIndex(ARow));
}

int TAdvStringGrid::ModifiedRowCount() const
{
    int count = 0;
    for (int i = 0; i < FModifiedRows->Count(); ++i)
        count += FModifiedRows->GetItem(i) == 1 ? 1 : 0;
    return count;
}

bool TAdvStringGrid::GetRowEnabled(int ARow) const
{
    return !(ARow >= 0 && ARow < FEnabledRows->Count() && FEnabledRows->GetItem(ARow) != 0);
}

void TAdvStringGrid::SetRowEnabled(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    // A row being disabled stops being current when another row can take over.
    if (!Value && ARow == GetRow()) {
        for (int r = GetFixedRows(); r < GetRowCount(); ++r)
            if (r != ARow && GetRowEnabled(r)) {
                SetRowEx(r);
                break;
            }
    }
    FUseEnabledRows = true;
    while (FEnabledRows->Count() < ARow + 1)
        FEnabledRows->Add(0);
    FEnabledRows->SetItem(ARow, Value ? 0 : 1);
    RepaintRow(ARow);
}

// --- repainting ----------------------------------------------------------------------------

bool TAdvStringGrid::RowOnScreen(int ARow)
{
    if (ARow < GetFixedRows())
        return true;
    return ARow >= GetTopRow() && ARow <= GetTopRow() + GetVisibleRowCount();
}

void TAdvStringGrid::RepaintCell(int c, int r)
{
    if (!RowOnScreen(r))
        return;
    if (c >= GetFixedCols() && c < GetLeftCol())
        return;
    if (c <= GetLeftCol() + GetVisibleColCount())
        TBaseGrid::RepaintCell(c, r);
}

void TAdvStringGrid::RepaintRow(int ARow)
{
    if (!HandleAllocated() || ARow < 0 || ARow >= GetRowCount() || !RowOnScreen(ARow))
        return;
    const TRect cell = TStringGrid::CellRect(GetFixedCols() > 0 ? 0 : GetLeftCol(), ARow);
    const RECT client = GetClientRect();
    RECT row{client.left, cell.top, client.right, cell.bottom};
    ::InvalidateRect(GetHandle(), &row, FALSE);
}

void TAdvStringGrid::RepaintCol(int ACol)
{
    if (!HandleAllocated() || ACol < 0 || ACol >= GetColCount())
        return;
    const TRect cell = TStringGrid::CellRect(ACol, GetFixedRows() > 0 ? 0 : GetTopRow());
    if (cell.right <= cell.left)
        return;
    const RECT client = GetClientRect();
    RECT column{cell.left, client.top, cell.right, client.bottom};
    ::InvalidateRect(GetHandle(), &column, FALSE);
}

void TAdvStringGrid::RepaintRect(const TRect& r)
{
    if (r.left < 0 || r.top < 0 || r.right < 0 || r.bottom < 0 || !HandleAllocated())
        return;
    const TRect first = TStringGrid::CellRect(r.left, r.top);
    const TRect last = TStringGrid::CellRect(std::min<int>(GetVisibleColCount() + GetFixedCols(), r.right), r.bottom);
    if (first.right <= first.left || last.right <= last.left) {
        Repaint();
        return;
    }
    RECT area{std::min(first.left, last.left), std::min(first.top, last.top), std::max(first.right, last.right),
              std::max(first.bottom, last.bottom)};
    ::InvalidateRect(GetHandle(), &area, TRUE);
}

void TAdvStringGrid::RepaintCellHeaders(int OldCol, int OldRow, int NewCol, int NewRow)
{
    for (const auto& [c, r] : {std::pair{OldCol, OldRow}, std::pair{NewCol, NewRow}}) {
        if (GetFixedRows() > 0)
            RepaintCell(c, GetFixedRows() - 1);
        if (GetFixedCols() > 0)
            RepaintCell(GetFixedCols() - 1, r);
    }
}

// --- cells, listeners ------------------------------------------------------------------------

void TAdvStringGrid::SwapCells(const TGridCoord& FromCell, const TGridCoord& ToCell)
{
    const String text = GetRawCell(FromCell.X, FromCell.Y);
    TObject* object = GetRawObject(FromCell.X, FromCell.Y);
    SetRawCell(FromCell.X, FromCell.Y, GetRawCell(ToCell.X, ToCell.Y));
    SetRawObject(FromCell.X, FromCell.Y, GetRawObject(ToCell.X, ToCell.Y));
    SetRawCell(ToCell.X, ToCell.Y, text);
    SetRawObject(ToCell.X, ToCell.Y, object);
}

void TAdvStringGrid::ScreenToCell(POINT pt, int& ACol, int& ARow)
{
    if (HandleAllocated())
        ::ScreenToClient(GetHandle(), &pt);
    MouseToCell(pt.x, pt.y, ACol, ARow);
}

void TAdvStringGrid::RegisterNotifier(TGridChangeNotifier* ANotifier)
{
    if (std::find(FNotifierList.begin(), FNotifierList.end(), ANotifier) == FNotifierList.end())
        FNotifierList.push_back(ANotifier);
}

void TAdvStringGrid::UnRegisterNotifier(TGridChangeNotifier* ANotifier)
{
    std::erase(FNotifierList, ANotifier);
}
