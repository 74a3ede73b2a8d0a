// The string grid's cells: texts and objects by row, and the row and column
// views over them.
#include "Grids.h"
#include <utility>
#include <algorithm>

namespace {

const wchar_t* const IndexOutOfRange = L"Grid index out of range";

template <class T>
void MoveItem(std::vector<T>& items, size_t from, size_t to)
{
    if (from < to)
        std::rotate(items.begin() + from, items.begin() + from + 1, items.begin() + to + 1);
    else
        std::rotate(items.begin() + to, items.begin() + from, items.begin() + from + 1);
}

} // namespace

// --- TStringGridStrings -----------------------------------------------------------

int TStringGridStrings::Count() const
{
    return isRow_ ? grid_->GetColCount() : grid_->GetRowCount();
}

void TStringGridStrings::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EInvalidGridOperation(IndexOutOfRange);
}

String TStringGridStrings::Get(int index) const
{
    CheckIndex(index);
    return isRow_ ? grid_->GetCells(index, index_) : grid_->GetCells(index_, index);
}

void TStringGridStrings::Put(int index, const String& s)
{
    CheckIndex(index);
    if (isRow_)
        grid_->SetCells(index, index_, s);
    else
        grid_->SetCells(index_, index, s);
}

TObject* TStringGridStrings::GetObject(int index) const
{
    CheckIndex(index);
    return isRow_ ? grid_->GetObjects(index, index_) : grid_->GetObjects(index_, index);
}

void TStringGridStrings::PutObject(int index, TObject* obj)
{
    CheckIndex(index);
    if (isRow_)
        grid_->SetObjects(index, index_, obj);
    else
        grid_->SetObjects(index_, index, obj);
}

int TStringGridStrings::Add(const String& s)
{
    for (int i = 0, n = Count(); i < n; ++i)
        if (Get(i).empty()) {
            Put(i, s);
            return i;
        }
    return -1;
}

void TStringGridStrings::Insert(int, const String&)
{
    throw EInvalidGridOperation(L"Cannot insert into a grid row or column");
}

void TStringGridStrings::Delete(int)
{
    throw EInvalidGridOperation(L"Cannot delete from a grid row or column");
}

void TStringGridStrings::Clear()
{
    for (int i = 0, n = Count(); i < n; ++i) {
        Put(i, {});
        PutObject(i, nullptr);
    }
}

void TStringGridStrings::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TStrings*>(Source);
    if (!source) {
        TStrings::Assign(Source);
        return;
    }
    if (source == this)
        return;
    const int n = Count();
    const int copied = std::min(n, source->Count());
    for (int i = 0; i < copied; ++i) {
        Put(i, source->Get(i));
        PutObject(i, source->GetObject(i));
    }
    for (int i = copied; i < n; ++i) {
        Put(i, {});
        PutObject(i, nullptr);
    }
}

// --- TStringGrid ------------------------------------------------------------------

TStringGrid::TStringGrid(TComponent* AOwner) : TDrawGrid(AOwner) {}

TStringGrid::~TStringGrid() = default;

void TStringGrid::CheckIndex(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        throw EInvalidGridOperation(IndexOutOfRange);
}

TStringGrid::CellRow& TStringGrid::EnsureRow(int ARow)
{
    if (static_cast<size_t>(ARow) >= rows_.size())
        rows_.resize(static_cast<size_t>(ARow) + 1);
    return rows_[static_cast<size_t>(ARow)];
}

String TStringGrid::GetCells(int ACol, int ARow) const
{
    CheckIndex(ACol, ARow);
    if (static_cast<size_t>(ARow) >= rows_.size())
        return {};
    const CellRow& row = rows_[static_cast<size_t>(ARow)];
    return static_cast<size_t>(ACol) < row.texts.size() ? row.texts[static_cast<size_t>(ACol)] : String();
}

void TStringGrid::SetCells(int ACol, int ARow, const String& Value)
{
    CheckIndex(ACol, ARow);
    if (Value.empty() && GetCells(ACol, ARow).empty())
        return;
    CellRow& row = EnsureRow(ARow);
    if (static_cast<size_t>(ACol) >= row.texts.size())
        row.texts.resize(static_cast<size_t>(ACol) + 1);
    row.texts[static_cast<size_t>(ACol)] = Value;
    CellChanged(ACol, ARow);
}

TObject* TStringGrid::GetObjects(int ACol, int ARow) const
{
    CheckIndex(ACol, ARow);
    if (static_cast<size_t>(ARow) >= rows_.size())
        return nullptr;
    const CellRow& row = rows_[static_cast<size_t>(ARow)];
    return static_cast<size_t>(ACol) < row.objects.size() ? row.objects[static_cast<size_t>(ACol)] : nullptr;
}

void TStringGrid::SetObjects(int ACol, int ARow, TObject* Value)
{
    CheckIndex(ACol, ARow);
    if (!Value && !GetObjects(ACol, ARow))
        return;
    CellRow& row = EnsureRow(ARow);
    if (static_cast<size_t>(ACol) >= row.objects.size())
        row.objects.resize(static_cast<size_t>(ACol) + 1);
    row.objects[static_cast<size_t>(ACol)] = Value;
}

void TStringGrid::SwapStoredRows(int ARow1, int ARow2)
{
    CheckIndex(0, ARow1);
    CheckIndex(0, ARow2);
    if (ARow1 == ARow2)
        return;
    const size_t highest = static_cast<size_t>(std::max(ARow1, ARow2));
    if (static_cast<size_t>(std::min(ARow1, ARow2)) >= rows_.size())
        return;
    if (highest >= rows_.size())
        rows_.resize(highest + 1);
    std::swap(rows_[static_cast<size_t>(ARow1)], rows_[static_cast<size_t>(ARow2)]);
}

const String& TStringGrid::StoredText(int ACol, int ARow) const
{
    static const String empty;
    CheckIndex(ACol, ARow);
    if (static_cast<size_t>(ARow) >= rows_.size())
        return empty;
    const CellRow& row = rows_[static_cast<size_t>(ARow)];
    return static_cast<size_t>(ACol) < row.texts.size() ? row.texts[static_cast<size_t>(ACol)] : empty;
}

String TStringGrid::TakeStoredText(int ACol, int ARow)
{
    CheckIndex(ACol, ARow);
    if (static_cast<size_t>(ARow) >= rows_.size())
        return {};
    CellRow& row = rows_[static_cast<size_t>(ARow)];
    if (static_cast<size_t>(ACol) >= row.texts.size())
        return {};
    return std::exchange(row.texts[static_cast<size_t>(ACol)], String());
}

void TStringGrid::PutStoredText(int ACol, int ARow, String&& Value)
{
    CheckIndex(ACol, ARow);
    if (Value.empty() && StoredText(ACol, ARow).empty())
        return;
    CellRow& row = EnsureRow(ARow);
    if (static_cast<size_t>(ACol) >= row.texts.size())
        row.texts.resize(static_cast<size_t>(ACol) + 1);
    row.texts[static_cast<size_t>(ACol)] = std::move(Value);
    CellChanged(ACol, ARow);
}

void TStringGrid::CellChanged(int ACol, int ARow)
{
    // Only a cell on the screen costs a repaint; filling a large grid stays cheap.
    if (HandleAllocated())
        InvalidateCell(ACol, ARow);
}

TStrings* TStringGrid::GetRows(int Index)
{
    if (Index < 0)
        throw EInvalidGridOperation(IndexOutOfRange);
    auto& view = rowViews_[Index];
    if (!view)
        view.reset(New<TStringGridStrings>(this, Index, true));
    return view.get();
}

void TStringGrid::SetRows(int Index, TStrings* Value)
{
    GetRows(Index)->Assign(Value);
}

TStrings* TStringGrid::GetCols(int Index)
{
    if (Index < 0)
        throw EInvalidGridOperation(IndexOutOfRange);
    auto& view = colViews_[Index];
    if (!view)
        view.reset(New<TStringGridStrings>(this, Index, false));
    return view.get();
}

void TStringGrid::SetCols(int Index, TStrings* Value)
{
    GetCols(Index)->Assign(Value);
}

String TStringGrid::GetEditText(int ACol, int ARow)
{
    String text = GetCells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, text);
    return text;
}

void TStringGrid::SetEditText(int ACol, int ARow, const String& Value)
{
    SetCells(ACol, ARow, Value);
    TDrawGrid::SetEditText(ACol, ARow, Value);
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (FromIndex != ToIndex && FromIndex >= 0 && ToIndex >= 0) {
        const size_t from = static_cast<size_t>(FromIndex);
        const size_t to = static_cast<size_t>(ToIndex);
        const size_t width = std::max(from, to) + 1;
        // Every stored row moves, those past RowCount too, so that they come back whole.
        for (CellRow& row : rows_) {
            if (row.texts.size() > std::min(from, to)) {
                row.texts.resize(std::max(row.texts.size(), width));
                MoveItem(row.texts, from, to);
            }
            if (row.objects.size() > std::min(from, to)) {
                row.objects.resize(std::max(row.objects.size(), width));
                MoveItem(row.objects, from, to);
            }
        }
        Invalidate();
    }
    TDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (FromIndex != ToIndex && FromIndex >= 0 && ToIndex >= 0) {
        const size_t highest = static_cast<size_t>(std::max(FromIndex, ToIndex));
        if (highest < rows_.size() || static_cast<size_t>(std::min(FromIndex, ToIndex)) < rows_.size()) {
            if (rows_.size() <= highest)
                rows_.resize(highest + 1);
            MoveItem(rows_, static_cast<size_t>(FromIndex), static_cast<size_t>(ToIndex));
        }
        Invalidate();
    }
    TDrawGrid::RowMoved(FromIndex, ToIndex);
}

void TStringGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (GetDefaultDrawing()) {
        const String text = GetCells(ACol, ARow);
        if (!text.empty())
            GetCanvas()->TextRect(ARect, ARect.left + 2, ARect.top + 2, text);
    }
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}
