// Hidden rows: the hidden-row items, hiding and showing rows singly, by
// range and as filter levels, and the translation between display and real
// row indexes.
//
// Every item keeps its row's real index, also for rows hidden as a filter
// level, so that the translation is exact however levels and ranges stack.
#include "AdvGrid.h"
#include <algorithm>

// --- TGridItem and the item collection -------------------------------------------------

TGridItem::TGridItem(TCollection* Collection) : TCollectionItem(Collection), FItems(New<TStringList>()) {}

TGridItem::~TGridItem() = default;

void TGridItem::SetIdx(int Value)
{
    if (Value == FIdx)
        return;
    FIdx = Value;
    Changed(false);
}

void TGridItem::SetItems(TStrings* Value)
{
    if (Value == FItems.get())
        return;
    FItems.reset(Value);
}

THiddenRowItems::THiddenRowItems(TAdvStringGrid* Grid)
    : TCollection(ItemClass<TGridItem>(), Grid), grid_(Grid)
{
}

void THiddenRowItems::Update(TCollectionItem*)
{
    if (grid_)
        grid_->ClearHiddenRowLookup();
}

// --- translation ------------------------------------------------------------------------

void TAdvStringGrid::BuildHiddenRowLookup() const
{
    if (FHiddenRowLookupValid)
        return;
    FHiddenRowLookup.clear();
    FHiddenRowLookup.reserve(static_cast<size_t>(FGridItems->Count()));
    for (int i = 0; i < FGridItems->Count(); ++i)
        FHiddenRowLookup.push_back(FGridItems->Item(i)->GetIdx());
    std::sort(FHiddenRowLookup.begin(), FHiddenRowLookup.end());
    FHiddenRowLookup.erase(std::unique(FHiddenRowLookup.begin(), FHiddenRowLookup.end()), FHiddenRowLookup.end());
    FHiddenRowLookupValid = true;
}

bool TAdvStringGrid::IsHiddenRow(int ARow) const
{
    if (NumHiddenRows() == 0)
        return false;
    BuildHiddenRowLookup();
    return std::binary_search(FHiddenRowLookup.begin(), FHiddenRowLookup.end(), ARow);
}

int TAdvStringGrid::RealRowIndex(int ARow) const
{
    if (NumHiddenRows() == 0)
        return ARow;
    if (ARow < 0)
        return -1;
    BuildHiddenRowLookup();
    // hidden[k] - k counts the shown rows before the k-th hidden row and
    // never falls; the hidden rows before display row ARow are those with
    // at most ARow shown rows before them.
    const std::vector<int>& hidden = FHiddenRowLookup;
    size_t lo = 0;
    size_t hi = hidden.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (hidden[mid] - static_cast<int>(mid) <= ARow)
            lo = mid + 1;
        else
            hi = mid;
    }
    return ARow + static_cast<int>(lo);
}

int TAdvStringGrid::DisplRowIndex(int ARow) const
{
    if (NumHiddenRows() == 0)
        return ARow;
    BuildHiddenRowLookup();
    const auto below = std::lower_bound(FHiddenRowLookup.begin(), FHiddenRowLookup.end(), ARow);
    return ARow - static_cast<int>(below - FHiddenRowLookup.begin());
}

// --- hiding -----------------------------------------------------------------------------

void TAdvStringGrid::HideRows(int FromRow, int ToRow)
{
    HideRowRange(FromRow, ToRow, false);
}

void TAdvStringGrid::HideRowsEx(int FromRow, int ToRow)
{
    HideRowRange(FromRow, ToRow, true);
}

void TAdvStringGrid::HideRowRange(int FromRow, int ToRow, bool Append)
{
    FromRow = std::max(FromRow, 0);
    ToRow = std::min(ToRow, TotalRowCount() - 1);
    if (FromRow > ToRow)
        return;
    BuildHiddenRowLookup();
    const std::vector<int> hidden = FHiddenRowLookup;
    const int hiddenBefore =
        static_cast<int>(std::lower_bound(hidden.begin(), hidden.end(), FromRow) - hidden.begin());
    // The shown rows of the range are a run of display rows from FromRow's place.
    std::vector<int> newlyHidden;
    for (int r = FromRow; r <= ToRow; ++r)
        if (!std::binary_search(hidden.begin(), hidden.end(), r))
            newlyHidden.push_back(r);
    // The grid keeps one displayed row at least: its first, the header.
    int firstDisplay = FromRow - hiddenBefore;
    if (!newlyHidden.empty() && static_cast<int>(newlyHidden.size()) >= GetRowCount()) {
        newlyHidden.erase(newlyHidden.begin());
        ++firstDisplay;
    }
    if (newlyHidden.empty())
        return;

    FGridItems->BeginUpdate();
    const int before = FGridItems->Count();
    for (size_t k = 0; k < newlyHidden.size(); ++k) {
        const int displayRow = firstDisplay + static_cast<int>(k);
        auto* item = static_cast<TGridItem*>(FGridItems->Add());
        item->SetIdx(newlyHidden[k]);
        item->SetHeight(GetRowHeights(displayRow));
        TakeStoredRow(displayRow, item->GetItems());
    }
    if (!Append)
        PlaceNewItems(before, newlyHidden);
    FGridItems->EndUpdate();
    if (const TCellProperties* props = PropertiesOf(1, firstDisplay); props && props->GetControl())
        props->GetControl()->SetVisible(false);
    RemoveRowsCore(firstDisplay, static_cast<int>(newlyHidden.size()), false);
    CellControlsUpdate(false);
}

void TAdvStringGrid::PlaceNewItems(int Before, const std::vector<int>& NewRows)
{
    // The items from Before on were just appended for NewRows (ascending).
    // Each goes in real order among the items before it: after the existing
    // items whose index is below its own. One walk gives every item's final
    // place, and each exchange then puts one item there for good.
    std::vector<int> below;  // existing indexes in ascending order
    below.reserve(static_cast<size_t>(Before));
    for (int i = 0; i < Before; ++i)
        below.push_back(FGridItems->Item(i)->GetIdx());
    if (!std::is_sorted(below.begin(), below.end()))
        std::sort(below.begin(), below.end());
    const int total = FGridItems->Count();
    std::vector<int> order;  // order[p]: the present position of the item that goes to p
    order.reserve(static_cast<size_t>(total));
    size_t smaller = 0;
    int existing = 0;
    for (size_t k = 0; k < NewRows.size(); ++k) {
        while (smaller < below.size() && below[smaller] < NewRows[k])
            ++smaller;
        while (existing < static_cast<int>(smaller))
            order.push_back(existing++);
        order.push_back(Before + static_cast<int>(k));
    }
    while (existing < Before)
        order.push_back(existing++);
    std::vector<int> at(static_cast<size_t>(total));     // item now at p, by its first position
    std::vector<int> where(static_cast<size_t>(total));  // where the item first at i now is
    for (int p = 0; p < total; ++p)
        at[static_cast<size_t>(p)] = where[static_cast<size_t>(p)] = p;
    for (int p = 0; p < total; ++p) {
        const int wanted = order[static_cast<size_t>(p)];
        const int from = where[static_cast<size_t>(wanted)];
        if (from == p)
            continue;
        FGridItems->Exchange(p, from);
        const int displaced = at[static_cast<size_t>(p)];
        at[static_cast<size_t>(from)] = displaced;
        where[static_cast<size_t>(displaced)] = from;
        at[static_cast<size_t>(p)] = wanted;
        where[static_cast<size_t>(wanted)] = p;
    }
}

void TAdvStringGrid::HideRowList(TIntList* RowList)
{
    std::vector<int> rows;
    if (RowList)
        for (int i = 0; i < RowList->Count(); ++i)
            if (const int r = RowList->GetItem(i); r >= 0 && r < GetRowCount())
                rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // The grid keeps one displayed row at least: its first, the header.
    if (!rows.empty() && static_cast<int>(rows.size()) >= GetRowCount())
        rows.erase(rows.begin());

    // Real indexes first: every new item discards the lookup.
    std::vector<int> reals;
    reals.reserve(rows.size());
    for (int r : rows)
        reals.push_back(RealRowIndex(r));
    FGridItems->BeginUpdate();
    for (size_t k = 0; k < rows.size(); ++k) {
        auto* item = static_cast<TGridItem*>(FGridItems->Add());
        item->SetIdx(reals[k]);
        item->SetHeight(GetRowHeights(rows[k]));
        item->SetLevel(FFilterLevel);
        TakeStoredRow(rows[k], item->GetItems());
    }
    FGridItems->EndUpdate();
    ++FFilterLevel;
    if (!rows.empty())
        DropRows(rows, false);
    ClearHiddenRowLookup();
    CellControlsUpdate(false);
}

// --- showing ----------------------------------------------------------------------------

void TAdvStringGrid::UnHideRows(int FromRow, int ToRow)
{
    std::vector<TGridItem*> restored;
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TGridItem* item = FGridItems->Item(i);
        if (item->GetIdx() >= FromRow && item->GetIdx() <= ToRow)
            restored.push_back(item);
    }
    if (restored.empty())
        return;
    const bool firstRestored =
        std::any_of(restored.begin(), restored.end(), [&](TGridItem* item) { return item->GetIdx() == FromRow; });
    RestoreHiddenRows(restored);
    // A control placed in the first restored row shows over its cell again.
    if (firstRestored) {
        const int displayRow = DisplRowIndex(FromRow);
        if (const TCellProperties* props = PropertiesOf(1, displayRow); props && props->GetControl()) {
            const TRect r = CellRect(DisplColIndex(1), displayRow);
            props->GetControl()->SetBounds(r.left, r.top, r.Width(), r.Height() - 1);
            props->GetControl()->SetVisible(true);
        }
    }
    CellControlsUpdate(false);
}

void TAdvStringGrid::UnHideRowList()
{
    if (FFilterLevel < 1)
        return;
    const int level = FFilterLevel - 1;
    if (IsSelectionHidden())
        FocusCell(GetFixedCols(), GetFixedRows());
    std::vector<TGridItem*> restored;
    for (int i = 0; i < FGridItems->Count(); ++i)
        if (FGridItems->Item(i)->GetLevel() >= level)
            restored.push_back(FGridItems->Item(i));
    RestoreHiddenRows(restored);
    CellControlsUpdate(false);
}

void TAdvStringGrid::UnHideRowsAll()
{
    std::vector<TGridItem*> restored;
    for (int i = 0; i < FGridItems->Count(); ++i)
        restored.push_back(FGridItems->Item(i));
    RestoreHiddenRows(restored);
    CellControlsUpdate(false);
}

void TAdvStringGrid::RestoreHiddenRows(const std::vector<TGridItem*>& Restored)
{
    if (Restored.empty())
        return;
    std::vector<TGridItem*> items = Restored;
    std::sort(items.begin(), items.end(), [](TGridItem* a, TGridItem* b) { return a->GetIdx() < b->GetIdx(); });
    std::vector<TGridItem*> byAddress = items;
    std::sort(byAddress.begin(), byAddress.end(), std::less<>());
    std::vector<int> staying;
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TGridItem* item = FGridItems->Item(i);
        if (!std::binary_search(byAddress.begin(), byAddress.end(), item, std::less<>()))
            staying.push_back(item->GetIdx());
    }
    std::sort(staying.begin(), staying.end());

    const int oldCount = GetRowCount();
    const int newCount = oldCount + static_cast<int>(items.size());
    // A restored row's display index counts the shown rows before it: the
    // real index less the rows that stay hidden below it.
    std::vector<int> slots;
    slots.reserve(items.size());
    for (size_t k = 0; k < items.size(); ++k) {
        const int idx = items[k]->GetIdx();
        int slot = idx - static_cast<int>(std::lower_bound(staying.begin(), staying.end(), idx) - staying.begin());
        // Indexes that no longer fit the table are put back in order at the end.
        const int lowest = slots.empty() ? 0 : slots.back() + 1;
        const int highest = newCount - static_cast<int>(items.size() - k);
        slots.push_back(std::clamp(slot, lowest, highest));
    }

    TStringGrid::SetRowCount(newCount);
    DiscardStaleRows(oldCount, newCount);
    OpenRowGaps(slots, oldCount);
    for (size_t k = 0; k < items.size(); ++k) {
        PutStoredRow(slots[k], items[k]->GetItems());
        SetRowHeights(slots[k], items[k]->GetHeight());
    }
    // The objects now live in the grid again; the items go without them,
    // last first, which the collection finds at once.
    FGridItems->BeginUpdate();
    for (int i = FGridItems->Count() - 1; i >= 0; --i)
        if (TGridItem* item = FGridItems->Item(i); std::binary_search(byAddress.begin(), byAddress.end(), item, std::less<>()))
            item->Free();
    FGridItems->EndUpdate();
    ClearHiddenRowLookup();
}
