// Hidden columns and the display/real column mapping, column suppression,
// moving columns and rows, and the column order.
#include "AdvGrid.h"
#include <algorithm>

// --- flags and the column map ------------------------------------------------------------

void TAdvStringGrid::FitColumnFlags()
{
    // One flag per real column: ColCount shown ones plus the hidden ones. A
    // count lowered under hidden columns drops columns from the end, hidden
    // ones too, until the two agree again.
    for (;;) {
        const size_t wanted = static_cast<size_t>(GetColCount() + FNumHidden);
        if (FVisibleCol.size() == wanted)
            break;
        if (FVisibleCol.size() < wanted) {
            FVisibleCol.resize(wanted, true);
        } else {
            FVisibleCol.resize(wanted);
            FNumHidden = static_cast<int>(std::count(FVisibleCol.begin(), FVisibleCol.end(), false));
        }
    }
    FAllColWidths.resize(FVisibleCol.size(), 0);
    FColumnMapValid = false;
}

void TAdvStringGrid::BuildColumnMap() const
{
    if (FColumnMapValid)
        return;
    FDisplToReal.clear();
    FHiddenBefore.assign(FVisibleCol.size(), 0);
    int hidden = 0;
    for (size_t r = 0; r < FVisibleCol.size(); ++r) {
        FHiddenBefore[r] = hidden;
        if (FVisibleCol[r])
            FDisplToReal.push_back(static_cast<int>(r));
        else
            ++hidden;
    }
    FColumnMapValid = true;
}

int TAdvStringGrid::RealColIndex(int ACol) const
{
    if (FNumHidden == 0 || ACol < 0 || ACol >= TotalColCount())
        return ACol;
    BuildColumnMap();
    return ACol < static_cast<int>(FDisplToReal.size()) ? FDisplToReal[static_cast<size_t>(ACol)] : ACol;
}

int TAdvStringGrid::DisplColIndex(int ACol) const
{
    if (FNumHidden == 0 || ACol < 0 || ACol >= TotalColCount())
        return ACol;
    BuildColumnMap();
    return ACol - FHiddenBefore[static_cast<size_t>(ACol)];
}

bool TAdvStringGrid::GetVisibleCol(int ACol) const
{
    if (ACol < 0 || ACol >= static_cast<int>(FVisibleCol.size()))
        return true;
    return FVisibleCol[static_cast<size_t>(ACol)];
}

void TAdvStringGrid::SetVisibleCol(int ACol, bool Value)
{
    if (ACol < 0 || ACol >= static_cast<int>(FVisibleCol.size()))
        return;
    FVisibleCol[static_cast<size_t>(ACol)] = Value;
    FColumnMapValid = false;
}

bool TAdvStringGrid::IsHiddenColumn(int ACol) const
{
    return ACol >= 0 && ACol < TotalColCount() && !GetVisibleCol(ACol);
}

// --- hiding and showing columns -----------------------------------------------------------

void TAdvStringGrid::HideColumns(int FromCol, int ToCol)
{
    HideInplaceEdit();
    for (int c = std::max(FromCol, 0); c <= ToCol && c < TotalColCount(); ++c) {
        if (!GetVisibleCol(c) || GetColCount() < 2)
            continue;
        const int display = DisplColIndex(c);
        FAllColWidths[static_cast<size_t>(c)] = GetColWidths(display);
        for (int d = display; d < GetColCount() - 1; ++d)
            SetColWidths(d, GetColWidths(d + 1));
        ++FNumHidden;
        SetVisibleCol(c, false);
        if (TStringGrid::GetCol() == GetColCount() - 1 && TStringGrid::GetCol() > 0)
            MoveColRow(TStringGrid::GetCol() - 1, TStringGrid::GetRow(), true, false);
        TStringGrid::SetColCount(GetColCount() - 1);
    }
    Invalidate();
}

void TAdvStringGrid::UnHideColumns(int FromCol, int ToCol)
{
    HideInplaceEdit();
    for (int c = std::max(FromCol, 0); c <= ToCol && c < TotalColCount(); ++c) {
        if (GetVisibleCol(c))
            continue;
        --FNumHidden;
        SetVisibleCol(c, true);
        TStringGrid::SetColCount(GetColCount() + 1);
        const int display = DisplColIndex(c);
        for (int d = GetColCount() - 1; d > display; --d)
            SetColWidths(d, GetColWidths(d - 1));
        SetColWidths(display, FAllColWidths[static_cast<size_t>(c)]);
    }
    Invalidate();
}

void TAdvStringGrid::SuppressColumn(int ACol)
{
    if (ACol < 0 || ACol >= GetColCount())
        return;
    while (FSuppressColSizes->Count() <= ACol)
        FSuppressColSizes->Add(GetDefaultColWidth());
    FSuppressColSizes->SetItem(ACol, GetColWidths(ACol));
    SetColWidths(ACol, 0);
}

void TAdvStringGrid::UnSuppressColumn(int ACol)
{
    if (ACol < 0 || ACol >= GetColCount() || ACol >= FSuppressColSizes->Count())
        return;
    SetColWidths(ACol, FSuppressColSizes->GetItem(ACol));
}

// --- moving columns and rows ------------------------------------------------------------

void TAdvStringGrid::MoveColumn(int FromIndex, int ToIndex)
{
    const int count = GetColCount();
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= count || ToIndex >= count || FromIndex == ToIndex)
        return;
    if (FColumnOrder->Count() == 0)
        SetColumnOrder();
    // Merged group rows would move in pieces: split around the move.
    const bool groupMerged =
        FGroupColumn != -1 && (FGrouping->GetMergeHeader() || FGrouping->GetMergeSummary());
    if (groupMerged)
        SplitGroupRows();
    TStringGrid::MoveColumn(FromIndex, ToIndex);
    CellControlsUpdate(false);
    if (groupMerged)
        MergeGroupRows();
}

namespace {

template <class List>
void MoveEntry(List& list, int from, int to)
{
    // A copy: vector<bool> hands out a reference that the erase would move.
    const typename List::value_type value = list[static_cast<size_t>(from)];
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, value);
}

} // namespace

void TAdvStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    // The class library moved the displayed column; storage is by real column.
    const int from = RealColIndex(FromIndex);
    const int to = RealColIndex(ToIndex);
    if (from < FColumnOrder->Count() && to < FColumnOrder->Count()) {
        const Integer entry = FColumnOrder->GetItem(from);
        FColumnOrder->Delete(from);
        FColumnOrder->Insert(to, entry);
    }
    // Hidden columns keep their flags and widths on their own columns.
    if (FNumHidden > 0) {
        MoveEntry(FVisibleCol, from, to);
        MoveEntry(FAllColWidths, from, to);
        FColumnMapValid = false;
    }
    TStringGrid::ColumnMoved(FNumHidden > 0 ? from : FromIndex, FNumHidden > 0 ? to : ToIndex);
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TStrings* items = FGridItems->Item(i)->GetItems();
        while (items->Count() <= std::max(from, to))
            items->Add({});
        items->Move(from, to);
    }
    SortColumnMoved(from, to);
    // A column dragged to another place is no header click.
    FPress.ColMoveFlg = true;
}

void TAdvStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    TStringGrid::RowMoved(FromIndex, ToIndex);
    if (FEnhRowColMove)
        FPress.ColMoveFlg = true;
}

void TAdvStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    const int count = GetRowCount();
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= count || ToIndex >= count || FromIndex == ToIndex)
        return;
    TStringGrid::MoveRow(FromIndex, ToIndex);
    CellControlsUpdate(false);
}

void TAdvStringGrid::MoveRows(int FromIndex, int ToIndex, int Count)
{
    if (FromIndex == ToIndex || Count <= 0 || FromIndex < 0 || FromIndex >= GetRowCount() || ToIndex < 0)
        return;
    Count = std::min(Count, GetRowCount() - FromIndex);
    std::vector<TOwned<TStringList>> copies;
    for (int k = 0; k < Count; ++k) {
        copies.emplace_back(New<TStringList>());
        ReadStoredRow(FromIndex + k, copies.back().get());
    }
    if (FromIndex + Count < ToIndex)
        ToIndex -= Count;
    RemoveRowsEx(FromIndex, Count);
    ToIndex = std::min(ToIndex, GetRowCount());
    InsertRows(ToIndex, Count, true);
    for (int k = 0; k < Count; ++k)
        WriteStoredRow(ToIndex + k, copies[static_cast<size_t>(k)].get());
    Invalidate();
}

// --- column order ------------------------------------------------------------------------

void TAdvStringGrid::SetColumnOrder()
{
    FColumnOrder->Clear();
    for (int c = 0, n = TotalColCount(); c < n; ++c)
        FColumnOrder->Add(c);
    FSuppressColSizes->Clear();
    for (int c = 0, n = GetColCount(); c < n; ++c)
        FSuppressColSizes->Add(GetColWidths(c));
}

void TAdvStringGrid::ResetColumnOrder()
{
    UnHideColumnsAll();
    if (FColumnOrder->Count() == 0) {
        SetColumnOrder();
        return;
    }
    // Each move puts a lower initial column further left; a list that no
    // longer matches the columns cannot make this go on for ever.
    const int positions = std::min(GetColCount(), FColumnOrder->Count());
    for (int pass = 0; pass <= positions; ++pass) {
        bool moved = false;
        for (int p = 0; p < positions; ++p) {
            const int entry = FColumnOrder->GetItem(p);
            if (entry < p && entry >= 0) {
                MoveColumn(p, entry);
                moved = true;
            }
        }
        if (!moved)
            break;
    }
}

int TAdvStringGrid::ColumnPosition(int ACol)
{
    for (int p = 0, n = std::min(FColumnOrder->Count(), TotalColCount()); p < n; ++p)
        if (FColumnOrder->GetItem(p) == ACol)
            return FGroupColumn != -1 && ACol >= FGroupColumn ? p - 1 : p;
    return ACol;
}

int TAdvStringGrid::ColumnAtPosition(int Position)
{
    if (FColumnOrder->Count() == 0)
        SetColumnOrder();
    if (Position < 0 || Position >= FColumnOrder->Count())
        return Position;
    const int column = FColumnOrder->GetItem(Position);
    // The grouped column is out of the grid: later ones sit one further left.
    return FGroupColumn != -1 && column >= FGroupColumn ? column + 1 : column;
}

String TAdvStringGrid::RealRowCell(int ACol, int ARealRow)
{
    for (int i = 0; i < FGridItems->Count(); ++i)
        if (const TGridItem* item = FGridItems->Item(i); item->GetIdx() == ARealRow) {
            TStrings* items = item->GetItems();
            return ACol < items->Count() ? items->Get(ACol) : String();
        }
    return GetRawCell(ACol, DisplRowIndex(ARealRow));
}

int TAdvStringGrid::ColumnByHeader(const String& Text)
{
    for (int c = 0, n = TotalColCount(); c < n; ++c)
        if (RealRowCell(c, 0) == Text)
            return c;
    return -1;
}
