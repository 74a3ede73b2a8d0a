// The grid drop-down. In items mode each grid data row carries the index of
// the item it shows as its column-0 cell object, so the grid may sort and
// filter its rows while ItemIndex keeps naming an item; in grid mode
// ItemIndex is a data-row number (row - FixedRows). The grid is reloaded and
// its events rewired at every opening.
#include "AdvCustomGridDropDown.h"

#include "AdvUtil.h"
#include "ImgList.h"
#include "ScopeExit.h"
#include "SysUtils.h"

#include <algorithm>

using namespace AdvCustomGridDropDown;
using AdvMultiColumnDropDown::TMeasureCanvas;

// ---------------------------------------------------------------------------
// Columns and items.

void AdvCustomGridDropDown::TDropDownColumn::Assign(TPersistent* Source)
{
    if (dynamic_cast<TDropDownColumn*>(Source))
        AdvMultiColumnDropDown::TDropDownColumn::Assign(Source);
    else
        TCollectionItem::Assign(Source);
}

TDropDownItem::TDropDownItem(TCollection* Collection) : TCollectionItem(Collection), Text(New<TStringList>()) {}

void TDropDownItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TDropDownItem*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    ImageIndex = source->ImageIndex;
    Text->Assign(source->Text.get());
}

String TDropDownItem::CellText(int Column) const
{
    return Column >= 0 && Column < Text->Count() ? Text->Get(Column) : String();
}

namespace {

bool IsNavigationKey(Word Key)
{
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN;
}

String Trimmed(const String& S)
{
    const size_t first = S.find_first_not_of(L" \t");
    if (first == String::npos)
        return String();
    return S.substr(first, S.find_last_not_of(L" \t") - first + 1);
}

} // namespace

// ---------------------------------------------------------------------------
// The popup grid.

TAdvColGrid::TAdvColGrid(TComponent* AOwner)
    : TAdvStringGrid(AOwner), Columns(New<TDropDownColumns>(this)), HeaderFont(New<TFont>())
{
    SetFixedRowAlways(true);
    SetFixedRows(1);
    SetFixedCols(0);
    TGridOptions options = GetOptions();
    options >> goRangeSelect;
    options << goHorzLine << goRowSelect;
    SetOptions(options);
    SetBorderStyle(bsNone);
    OldRow = GetRow();
}

void TAdvColGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    TAdvStringGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Images)
        Images = nullptr;
}

void TAdvColGrid::DoSelect()
{
    if (OnSelect)
        OnSelect(this);
}

void TAdvColGrid::LoadFromDropDown(TCustomAdvGridDropDown* Source)
{
    if (!Source)
        return;
    DropDown = Source;
    Columns->Assign(Source->GetColumns());
    if (GetColCount() < Columns->Count())
        SetColCount(Columns->Count());
    if (Source->GetUseItems())
        SetRowCount(Source->GetItems()->Count() + 1);
    for (int c = 0; c < Columns->Count(); ++c)
        SetColWidths(c, Columns->GetItem(c)->GetWidth());
    LineColor = Source->GetLineColor();
    FixedLineColor = Source->GetFixedLineColor();
    HeaderColor = Source->GetHeaderColor();
    HeaderColorTo = Source->GetHeaderColorTo();
    HeaderHeight = Source->GetHeaderHeight();
    HeaderFont->Assign(Source->GetHeaderFont());
    Images = Source->GetImages();
    if (Source->GetDropDownRowHeight() > 0)
        SetDefaultRowHeight(Source->GetDropDownRowHeight());
    if (HeaderHeight > 0)
        SetRowHeights(0, HeaderHeight);
    TGridOptions options = GetOptions();
    auto option = [&](TGridOption Option, bool On) {
        if (On)
            options << Option;
        else
            options >> Option;
    };
    option(goColSizing, Source->GetColumnSizing());
    option(goColMoving, Source->GetColumnMoving());
    option(goRowSizing, Source->GetRowSizing());
    option(goRowMoving, Source->GetRowMoving());
    SetOptions(options);
    if (Source->GetAutoSizeColumns()) {
        if (Source->GetUseItems())
            AutoSizeItemColumns();
        else
            TAdvStringGrid::AutoSizeColumns(false, 4);
    }
    AutoSizeWrappedRows();
}

void TAdvColGrid::LoadItems()
{
    if (!DropDown)
        return;
    if (GetColCount() != Columns->Count() && Columns->Count() > 0)
        SetColCount(Columns->Count());
    for (int c = 0; c < Columns->Count(); ++c) {
        SetCellText(c, 0, Columns->GetItem(c)->GetHeader());
        SetCellObject(c, 0, -1);
    }
    TDropDownItems* items = DropDown->GetItems();
    if (items->Count() > 0)
        SetRowCount(items->Count() + GetFixedRows());
    for (int r = 0; r < items->Count(); ++r) {
        TDropDownItem* item = items->GetItem(r);
        for (int c = 0; c < Columns->Count(); ++c)
            SetCellText(c, r + 1, item->CellText(c));
        SetCellObject(0, r + 1, r);
    }
}

void TAdvColGrid::AutoSizeItemColumns()
{
    for (int c = 0; c < Columns->Count(); ++c)
        if (Columns->GetItem(c)->GetAutoSize())
            AutoSizeItemColumn(c);
}

void TAdvColGrid::AutoSizeItemColumn(int ACol)
{
    auto* form = dynamic_cast<TDropDownForm*>(GetParent());
    if (!form || !DropDown || ACol < 0 || ACol >= Columns->Count())
        return;
    TDropDownColumn* column = Columns->GetItem(ACol);
    if (!column->GetAutoSize())
        return;
    TMeasureCanvas canvas(form, column->GetFont());
    TDropDownItems* items = DropDown->GetItems();
    int widest = 0;
    for (int r = 1; r < GetRowCount(); ++r) {
        String text;
        int imageIndex = -1;
        if (r - 1 < items->Count()) {
            TDropDownItem* item = items->GetItem(r - 1);
            if (ACol < item->GetText()->Count()) {
                text = item->GetText()->Get(ACol);
                if (column->GetColumnType() == ctImage)
                    imageIndex = item->GetImageIndex();
            }
        }
        widest = std::max(widest, AdvMultiColumnDropDown::ItemCellWidth(canvas.Get(), text, imageIndex, Images));
    }
    column->SetWidth(widest);
    SetColWidths(ACol, widest);
}

void TAdvColGrid::AutoSizeWrappedRows()
{
    auto* form = dynamic_cast<TDropDownForm*>(GetParent());
    if (!form || !DropDown)
        return;
    bool anyWrap = false;
    for (int c = 0; c < Columns->Count(); ++c)
        anyWrap = anyWrap || Columns->GetItem(c)->GetWordwrap();
    if (!anyWrap)
        return;
    TMeasureCanvas canvas(form, HeaderFont.get());
    TDropDownItems* items = DropDown->GetItems();
    for (int r = GetFixedRows(); r < GetRowCount(); ++r) {
        // A grid row without an item measures as empty text.
        const int index = r - GetFixedRows();
        TDropDownItem* item = index < items->Count() ? items->GetItem(index) : nullptr;
        int h = 24;
        for (int c = 0; c < Columns->Count(); ++c) {
            TDropDownColumn* column = Columns->GetItem(c);
            if (!column->GetWordwrap())
                continue;
            canvas.SetFont(column->GetFont());
            const bool image = item && column->GetColumnType() == ctImage && item->GetImageIndex() >= 0;
            h = std::max(h, AdvMultiColumnDropDown::WrappedCellHeight(
                                canvas.Get(), item ? item->CellText(c) : String(), GetColWidths(c), image, Images));
        }
        SetRowHeights(r, h);
    }
}

int TAdvColGrid::GetTotalWidth()
{
    int width = 2 * GetBorderWidth();
    for (int c = 0; c < GetColCount(); ++c)
        width += GetColWidths(c);
    if (GetVisibleRowCount() + GetFixedRows() != GetRowCount())
        width += GetSystemMetrics(SM_CXVSCROLL);
    return width;
}

void TAdvColGrid::HandleKeyDown(Word& Key, TShiftState Shift)
{
    ConfirmSelection = true;
    if (Shift.Contains(ssAlt) && (Key == VK_UP || Key == VK_DOWN)) {
        if (DropDown && DropDown->HandleAllocated())
            SendMessageW(DropDown->Handle(), WM_KEYDOWN, Key, 0x20000000);
        return;
    }
    if (Key == VK_RETURN) {
        // Enter chooses the row; the grid does not move on with it.
        Key = 0;
        TAdvStringGrid::HandleKeyDown(Key, Shift);
        DoSelect();
        return;
    }
    TAdvStringGrid::HandleKeyDown(Key, Shift);
}

void TAdvColGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    ConfirmSelection = true;
    OldRow = GetRow();
    TAdvStringGrid::MouseDown(Button, Shift, X, Y);
}

void TAdvColGrid::HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAdvStringGrid::HandleMouseUp(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    // A node's first cell opens or closes the node; it chooses nothing.
    if (row >= GetFixedRows() && row < GetRowCount() && col >= 0 && !HasCheckBox(col, row) &&
        !(col == 0 && IsNode(row)))
        DoSelect();
}

bool TAdvColGrid::HandleWheelDown(TShiftState Shift, POINT MousePos)
{
    WheelSelection = true;
    ConfirmSelection = false;
    TScopeExit done([this] { WheelSelection = false; });
    return TAdvStringGrid::HandleWheelDown(Shift, MousePos);
}

bool TAdvColGrid::HandleWheelUp(TShiftState Shift, POINT MousePos)
{
    WheelSelection = true;
    ConfirmSelection = false;
    TScopeExit done([this] { WheelSelection = false; });
    return TAdvStringGrid::HandleWheelUp(Shift, MousePos);
}

void TAdvColGrid::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN:
        if (Message.WParam == VK_TAB)
            return;
        break;
    case WM_CHAR:
        if (Message.WParam == VK_RETURN) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB;
        return;
    default:
        break;
    }
    TAdvStringGrid::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// Construction.

TCustomAdvGridDropDown::TCustomAdvGridDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      Items(New<TDropDownItems>(this)),
      Columns(New<TDropDownColumns>(this)),
      HeaderFont(New<TFont>()),
      LookupList(New<TStringList>()),
      Bands(New<TBands>()),
      Navigation(New<TNavigation>()),
      MouseActions(New<TMouseActions>(this))
{
}

void TCustomAdvGridDropDown::AfterConstruction()
{
    TAdvCustomDropDown::AfterConstruction();
    // Dropped in the designer, not read from a stream.
    TComponent* owner = GetOwner();
    const bool streamed =
        owner && (owner->ComponentState().Contains(csReading) || owner->ComponentState().Contains(csLoading));
    const bool designing = ComponentState().Contains(csDesigning) && !streamed;
    Items.reset(CreateItems(this));
    SetDropDownColor(clWhite);
    SetDropDownHeight(200);
    SetAutoSelect(true);
    HeaderColorTo = 0x808080;
    HeaderColor = clWhite;
    HeaderHeight = 25;
    LineColor = clSilver;
    SetSelectionColorStyle(scOffice2007);
    SearchFooter.reset(New<TSearchFooter>(this, designing));
    Navigation->SetHomeEndKey(heFirstLastRow);
    if (designing) {
        Columns->Clear();
        for (int i = 0; i < 3; ++i)
            Columns->Add();
    }
}

TDropDownItems* TCustomAdvGridDropDown::CreateItems(TPersistent* AOwner)
{
    return New<TDropDownItems>(AOwner);
}

Cardinal TCustomAdvGridDropDown::GetVersionNr() const
{
    return (6u << 24) | (0u << 16) | (2u << 8) | 1u;
}

void TCustomAdvGridDropDown::Loaded()
{
    TAdvCustomDropDown::Loaded();
    BuildLookupList();
    if (Grid)
        Grid->LoadItems();
}

void TCustomAdvGridDropDown::Notification(TComponent* AComponent, TOperation Operation)
{
    TAdvCustomDropDown::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == GridImages)
        GridImages = nullptr;
    if (AComponent == Grid)
        Grid = nullptr;
}

void TCustomAdvGridDropDown::SetGridImages(TCustomImageList* Value)
{
    if (GridImages)
        GridImages->RemoveFreeNotification(this);
    GridImages = Value;
    if (Value)
        Value->FreeNotification(this);
    if (Grid)
        Grid->SetGridImages(Value);
}

void TCustomAdvGridDropDown::SetStyle(TDropDownStyle Value)
{
    Style = Value;
    SetEditorEnabled(Value == AdvCustomGridDropDown::dsDropDown);
}

void TCustomAdvGridDropDown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    if (!Grid) {
        Grid = New<TAdvColGrid>(this);
        Grid->SetParent(FDropDownForm);
    }
    Grid->SetDropDown(this);
    Grid->SetLeft(0);
    Grid->SetTop(0);
    Grid->SetHeight(180);
    Grid->SetColor(FDropDownColor);
    Grid->SetDoubleBuffered(true);
    Grid->GetNavigation()->SetHomeEndKey(heFirstLastRow);
    Grid->GetMouseActions()->SetNoAutoRangeScroll(true);
    SetControl(Grid);
}

// ---------------------------------------------------------------------------
// Styles: those of the multi-column drop-down.

void TCustomAdvGridDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    if (Value == scOffice2007) {
        LineColor = 0xF1EDEB;
        FixedLineColor = 0xD1BBA4;
    } else if (Value == scWindowsVista || Value == scWindows7) {
        LineColor = 0xECECF0;
        FixedLineColor = 0xD4D2D1;
    }
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
}

void STDMETHODCALLTYPE TCustomAdvGridDropDown::SetComponentStyle(TPackStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    const AdvMultiColumnDropDown::TColumnDropDownStyle* row = AdvMultiColumnDropDown::FindColumnDropDownStyle(AStyle);
    if (!row)
        return;
    HeaderColor = row->HeaderColor;
    HeaderColorTo = row->HeaderColorTo;
    SetSelectionColorStyle(row->Selection);
    if (row->Selection == scCustom) {
        SetSelectionColor(row->SelectionColor);
        SetSelectionColorTo(row->SelectionColor);
    }
    if (row->HeaderFontColor != clDefault)
        HeaderFont->SetColor(row->HeaderFontColor);
    SelectionTextColor = row->SelectionTextColor;
    LineColor = row->LineColor;
    FixedLineColor = row->FixedLineColor;
}

// ---------------------------------------------------------------------------
// Entries.

int TCustomAdvGridDropDown::GetItemCount() const
{
    if (UseItems)
        return Items->Count();
    return Grid ? Grid->GetRowCount() - Grid->GetFixedRows() : 0;
}

int TCustomAdvGridDropDown::RowToItem(int Row) const
{
    if (Grid && Row >= 0 && Row < Grid->GetRowCount())
        return static_cast<int>(Grid->GetCellObject(0, Row));
    return Row;
}

int TCustomAdvGridDropDown::ItemToRow(int Index) const
{
    if (!Grid || Index < 0)
        return ItemIndex;
    for (int r = Grid->GetFixedRows(); r < Grid->GetRowCount(); ++r)
        if (Grid->GetCellObject(0, r) == Index)
            return r;
    return ItemIndex;
}

String TCustomAdvGridDropDown::GridCell(int ACol, int ARow) const
{
    if (!Grid || ACol < 0 || ARow < 0 || ARow >= Grid->GetRowCount())
        return String();
    return Grid->GetCellText(ACol, ARow);
}

void TCustomAdvGridDropDown::BuildLookupList()
{
    if (LookupColumn < 0 || Items->Count() == 0)
        return;
    LookupList->Clear();
    for (int i = 0; i < Items->Count(); ++i)
        LookupList->Add(Items->GetItem(i)->CellText(LookupColumn));
}

void TCustomAdvGridDropDown::SetItemIndex(int Value)
{
    if (UseItems) {
        if (Value >= Items->Count())
            return;
        ItemIndex = Value;
        SetText(Value < 0 || LookupColumn < 0 ? String() : Items->GetItem(Value)->CellText(LookupColumn));
        return;
    }
    if (!Grid) {
        ItemIndex = Value;
        return;
    }
    if (Value == ItemIndex || Value >= Grid->GetRowCount())
        return;
    ItemIndex = Value;
    SetText(Value < 0 ? String() : GridCell(LookupColumn, Value + Grid->GetFixedRows()));
}

bool TCustomAdvGridDropDown::FindPrefixMatch(const String& Prefix, String& Text, int& Row) const
{
    Text.clear();
    Row = -1;
    const String key = CaseCompareKey(Prefix, CaseSensitive);
    if (key.empty() || LookupColumn < 0)
        return false;
    auto matches = [&](const String& S) {
        return S.size() >= key.size() && CaseCompareKey(S, CaseSensitive).compare(0, key.size(), key) == 0;
    };
    if (UseItems) {
        for (int i = 0; i < Items->Count(); ++i) {
            const String lookup = Items->GetItem(i)->CellText(LookupColumn);
            if (matches(lookup)) {
                Text = lookup;
                Row = i;
                return true;
            }
        }
        return false;
    }
    if (!Grid)
        return false;
    for (int r = Grid->GetFixedRows(); r < Grid->GetRowCount(); ++r) {
        const String lookup = GridCell(LookupColumn, r);
        if (matches(lookup)) {
            Text = lookup;
            Row = r;
            return true;
        }
    }
    return false;
}

void TCustomAdvGridDropDown::SelectFrom(int From)
{
    if (!HandleAllocated())
        return;
    const int prefix = static_cast<int>(GetPrefix().size());
    SendMessageW(Handle(), EM_SETSEL, prefix + From, prefix + static_cast<int>(GetText().size()));
}

int TCustomAdvGridDropDown::IncrementalLookup(wchar_t Key)
{
    if (LookupMethod == AdvCustomGridDropDown::lmNone)
        return -1;
    if (Key == VK_BACK) {
        const int prefix = static_cast<int>(GetPrefix().size());
        const int start = std::max(GetSelStart() - prefix, 0);
        const int length = GetSelLength();
        String text;
        if (length <= 0) {
            if (!LookupEntry.empty())
                LookupEntry.pop_back();
            text = LookupEntry;
        } else {
            // The selected characters go, as they would in the edit.
            text = GetText();
            if (start < static_cast<int>(text.size()))
                text.erase(static_cast<size_t>(start), static_cast<size_t>(length));
        }
        SetText(text);
        SelectFrom(static_cast<int>(text.size()));
        // Erasing widens a narrowed grid again: an empty narrow-down brings
        // every row back, then the shorter text, if any, narrows afresh.
        if (LookupMethod == AdvCustomGridDropDown::lmNarrowDown && Grid) {
            const String search = Trimmed(LookupEntry);
            Grid->NarrowDown(String(), LookupColumn);
            Grid->RemoveAllFilters();
            if (!search.empty())
                Grid->NarrowDown(search, LookupColumn);
            return Grid->GetFixedRows();
        }
        return -1;
    }
    if (Key != VK_TAB)
        LookupEntry += Key;
    const String search = Trimmed(LookupEntry);
    const bool dropDown = Style == AdvCustomGridDropDown::dsDropDown;
    if (LookupMethod == AdvCustomGridDropDown::lmNarrowDown) {
        if (!Grid)
            return -1;
        if (search.empty()) {
            Grid->RemoveAllFilters();
        } else {
            Grid->SetFixedRowAlways(true);
            Grid->NarrowDown(search, LookupColumn);
            if (dropDown && Grid->GetRowCount() > Grid->GetFixedRows()) {
                SetText(GridCell(LookupColumn, Grid->GetFixedRows()));
                SelectFrom(static_cast<int>(LookupEntry.size()));
            }
        }
        return Grid->GetFixedRows();
    }
    String found;
    int index = -1;
    if (FindPrefixMatch(search, found, index)) {
        ItemIndex = UseItems || !Grid ? index : index - Grid->GetFixedRows();
        SelectedRow = index;
        SetText(found);
        if (dropDown)
            SelectFrom(static_cast<int>(LookupEntry.size()));
        return index;
    }
    if (dropDown)
        return -1;
    const String single(1, Key);
    if (FindPrefixMatch(single, found, index)) {
        ItemIndex = UseItems || !Grid ? index : index - Grid->GetFixedRows();
        SetText(found);
        LookupEntry = single;
        return index;
    }
    LookupEntry.clear();
    return -1;
}

// ---------------------------------------------------------------------------
// Row steps of the closed edit.

void TCustomAdvGridDropDown::MoveGridRow(int Row)
{
    if (!Grid || Row < Grid->GetFixedRows() || Row >= Grid->GetRowCount())
        return;
    Grid->SetRow(Row);
    SelectedRow = Grid->GetRow();
}

void TCustomAdvGridDropDown::SelectFirst()
{
    if (GetItemCount() == 0)
        return;
    SetItemIndex(0);
    if (Grid)
        MoveGridRow(Grid->GetFixedRows());
}

void TCustomAdvGridDropDown::SelectLast()
{
    if (GetItemCount() == 0)
        return;
    SetItemIndex(GetItemCount() - 1);
    if (Grid)
        MoveGridRow(Grid->GetRowCount() - 1);
}

void TCustomAdvGridDropDown::SelectNext()
{
    if (GetItemCount() == 0)
        return;
    if (ItemIndex < 0) {
        SetItemIndex(0);
        if (Grid)
            MoveGridRow(Grid->GetFixedRows());
    } else if (ItemIndex + 1 < GetItemCount()) {
        SetItemIndex(ItemIndex + 1);
        if (Grid)
            MoveGridRow(Grid->GetRow() + 1);
    }
}

void TCustomAdvGridDropDown::SelectPrevious()
{
    if (GetItemCount() == 0)
        return;
    if (ItemIndex < 0) {
        SetItemIndex(0);
        if (Grid)
            MoveGridRow(Grid->GetFixedRows());
    } else if (ItemIndex > 0) {
        SetItemIndex(ItemIndex - 1);
        if (Grid)
            MoveGridRow(Grid->GetRow() - 1);
    }
}

void TCustomAdvGridDropDown::SelectNextPage()
{
    const int n = GetItemCount();
    if (n == 0)
        return;
    if (ItemIndex < 0) {
        SetItemIndex(0);
        if (Grid)
            MoveGridRow(Grid->GetFixedRows());
    } else if (ItemIndex + 10 < n) {
        SetItemIndex(ItemIndex + 10);
        if (Grid)
            MoveGridRow(std::min(Grid->GetRow() + 10, Grid->GetRowCount() - 1));
    } else {
        SetItemIndex(n - 1);
        if (Grid)
            MoveGridRow(Grid->GetRowCount() - 1);
    }
}

void TCustomAdvGridDropDown::SelectPreviousPage()
{
    if (GetItemCount() == 0)
        return;
    if (ItemIndex < 0 || ItemIndex - 10 < 0) {
        SetItemIndex(0);
        if (Grid)
            MoveGridRow(Grid->GetFixedRows());
    } else {
        SetItemIndex(ItemIndex - 10);
        if (Grid)
            MoveGridRow(std::max(Grid->GetRow() - 10, Grid->GetFixedRows()));
    }
}

void TCustomAdvGridDropDown::StepKeys(Word Key, TShiftState Shift)
{
    if (!IsNavigationKey(Key))
        return;
    LookupEntry.clear();
    const bool list = Style == AdvCustomGridDropDown::dsDropDownList && !Shift.Contains(ssShift);
    switch (Key) {
    case VK_PRIOR: SelectPreviousPage(); break;
    case VK_NEXT: SelectNextPage(); break;
    case VK_UP: SelectPrevious(); break;
    case VK_DOWN: SelectNext(); break;
    case VK_HOME:
        if (list)
            SelectFirst();
        break;
    case VK_END:
        if (list)
            SelectLast();
        break;
    default: break;
    }
}

void TCustomAdvGridDropDown::WheelDown()
{
    TAdvCustomDropDown::WheelDown();
    SelectNext();
}

void TCustomAdvGridDropDown::WheelUp()
{
    TAdvCustomDropDown::WheelUp();
    SelectPrevious();
}

// ---------------------------------------------------------------------------
// Typing in the edit.

void TCustomAdvGridDropDown::Change()
{
    // A text this completion writes reports a change of its own; that one
    // is only passed on.
    if (completing_) {
        TAdvCustomDropDown::Change();
        return;
    }
    ItemChange = false;
    TAdvCustomDropDown::Change();
    if (ComponentState().Contains(csDesigning) || !CompletionEnabled || !HandleAllocated())
        return;
    const String text = GetText();
    SetModifiedFlag(!text.empty());
    const int caret =
        std::clamp(GetSelStart() - static_cast<int>(GetPrefix().size()), 0, static_cast<int>(text.size()));
    const String typed = text.substr(0, static_cast<size_t>(caret));
    const String prefix = CaseCompareKey(typed, MatchCase);
    completing_ = true;
    TScopeExit done([this] { completing_ = false; });
    if (LookupList->Count() > 0 && !prefix.empty()) {
        for (int i = 0; i < LookupList->Count(); ++i) {
            const String entry = LookupList->Get(i);
            if (entry.size() < prefix.size() || CaseCompareKey(entry, MatchCase).compare(0, prefix.size(), prefix) != 0)
                continue;
            const int previous = ItemIndex;
            // The list may be older than Items: only a real item is taken.
            if (i < Items->Count()) {
                ItemIndex = i;
                CompletedItem = i;
                ItemChange = true;
            }
            CompletedPrefixLength = static_cast<int>(prefix.size());
            SetText(typed + entry.substr(prefix.size()));
            SelectFrom(static_cast<int>(prefix.size()));
            if (ItemIndex != previous && OnChange)
                OnChange(this);
            return;
        }
    }
    if (!typed.empty()) {
        if (typed != text)
            SetText(typed);
        SelectFrom(caret);
    }
}

void TCustomAdvGridDropDown::KeyDown(Word& Key, TShiftState Shift)
{
    if (Grid && Grid->GetEditorMode() && Key == VK_RETURN && !Shift.Contains(ssShift)) {
        Grid->HideInplaceEdit();
        const int row = Grid->GetRow();
        SetText(GridCell(LookupColumn, row));
        ItemIndex = row - Grid->GetFixedRows();
        Key = 0;
        return;
    }
    if (LookupColumn < 0 || GetItemCount() == 0) {
        TAdvCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
    case VK_BACK:
    case VK_ESCAPE:
    case VK_DELETE:
        // Deleting must not complete again.
        CompletionEnabled = false;
        break;
    case VK_RETURN: {
        const int i = LookupList->IndexOf(GetText());
        if (i >= 0 && i < Items->Count()) {
            SetText(LookupList->Get(i));
            SetItemIndex(i);
            Change();
        }
        if (ReturnIsTab) {
            PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
            Key = 0;
        }
        break;
    }
    default:
        CompletionEnabled = true;
        break;
    }
    if (Key == VK_ESCAPE || (Key >= VK_PRIOR && Key <= VK_DOWN))
        LookupEntry.clear();
    const bool escape = Key == VK_ESCAPE;
    TAdvCustomDropDown::KeyDown(Key, Shift);
    if (escape) {
        const int i = LookupList->IndexOf(GetText());
        SetItemIndex(i < Items->Count() ? i : -1);
    }
}

void TCustomAdvGridDropDown::KeyPress(wchar_t& Key)
{
    if (Key == VK_RETURN && ReturnIsTab) {
        Key = 0;
        return;
    }
    TAdvCustomDropDown::KeyPress(Key);
}

void TCustomAdvGridDropDown::KeyUp(Word& Key, TShiftState Shift)
{
    if (!(Key == VK_RETURN && ReturnIsTab))
        TAdvCustomDropDown::KeyUp(Key, Shift);
    if (Grid && Grid->GetOptions().Contains(goEditing) && Grid->GetEditorMode() && Key == VK_RETURN &&
        !Shift.Contains(ssShift)) {
        if (Grid->GetCol() == LookupColumn)
            HideDropDown(false);
        else
            Grid->HideInplaceEdit();
    }
    if (ItemChange) {
        SetItemIndex(CompletedItem);
        SelectFrom(CompletedPrefixLength);
        ItemChange = false;
    }
}

void TCustomAdvGridDropDown::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN: {
        if (Message.WParam == VK_RETURN && Grid)
            Grid->SetConfirmSelection(true);
        TAdvCustomDropDown::Dispatch(Message);
        if (GetKeyState(VK_MENU) < 0 || (Message.LParam & 0x20000000) || !GetEnabled())
            return;
        TShiftState shift;
        if (GetKeyState(VK_SHIFT) < 0)
            shift << ssShift;
        StepKeys(static_cast<Word>(Message.WParam), shift);
        return;
    }
    case WM_CHAR: {
        const wchar_t key = static_cast<wchar_t>(Message.WParam);
        TAdvCustomDropDown::Dispatch(Message);
        if (key == VK_RETURN || key == VK_ESCAPE)
            return;
        IncrementalLookup(key);
        if (AutoShowDropDown && !GetDroppedDown())
            ShowDropDown();
        return;
    }
    case WM_SETFOCUS:
        TAdvCustomDropDown::Dispatch(Message);
        // Entering the edit starts a new search over every row.
        if (LookupMethod == AdvCustomGridDropDown::lmNarrowDown && Grid && !Grid->GetFilterActive())
            Grid->RemoveAllFilters();
        LookupEntry.clear();
        return;
    default:
        TAdvCustomDropDown::Dispatch(Message);
    }
}

// ---------------------------------------------------------------------------
// The open grid.

void TCustomAdvGridDropDown::GridSelectCell(TObject*, int ACol, int ARow, bool&)
{
    NodeCell = false;
    if (!Grid)
        return;
    if (ACol == 0 && Grid->IsNode(ARow)) {
        NodeCell = true;
        return;
    }
    SelectedRow = ARow;
    if (UseItems) {
        SetItemIndex(RowToItem(ARow));
    } else {
        SetText(GridCell(LookupColumn, ARow));
        ItemIndex = ARow - Grid->GetFixedRows();
    }
}

void TCustomAdvGridDropDown::GridSelect(TObject*)
{
    if (!Grid || NodeCell)
        return;
    if (Grid->GetConfirmSelection()) {
        // Data rows start below every fixed row, in this as in the other
        // places that turn a grid row into ItemIndex.
        if (UseItems)
            SetItemIndex(RowToItem(Grid->GetRow()));
        else
            SetItemIndex(Grid->GetRow() - Grid->GetFixedRows());
    }
    if (!GridEditable)
        CloseDropDown(false);
    if (OnSelect)
        OnSelect(this);
}

void TCustomAdvGridDropDown::GridSortStart(TObject*, int, bool&)
{
    SortItem = ItemIndex;
}

void TCustomAdvGridDropDown::GridSortDone(TObject*, int)
{
    const int row = ItemToRow(SortItem);
    if (Grid && row >= Grid->GetFixedRows() && row < Grid->GetRowCount())
        Grid->SetRow(row);
}

void TCustomAdvGridDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    if (!IsNavigationKey(Key) || Shift.Contains(ssAlt))
        TAdvCustomDropDown::ControlKeyDown(Key, Shift);
    if (OnGridKeyDown)
        OnGridKeyDown(this, Key, Shift);
}

void TCustomAdvGridDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    if (IsNavigationKey(Key) && !Shift.Contains(ssAlt))
        LookupEntry.clear();
    else
        TAdvCustomDropDown::ControlKeyUp(Key, Shift);
    if (OnGridKeyUp)
        OnGridKeyUp(this, Key, Shift);
}

void TCustomAdvGridDropDown::ControlKeyPress(wchar_t& Key)
{
    if (Grid) {
        if (Key == VK_RETURN || Key == VK_ESCAPE || Grid->GetOptions().Contains(goEditing)) {
            LookupEntry.clear();
        } else {
            int row = IncrementalLookup(Key);
            if (UseItems && LookupMethod == AdvCustomGridDropDown::lmLookup && row >= 0)
                row = ItemToRow(row);
            if (row < Grid->GetFixedRows() || row >= Grid->GetRowCount()) {
                LookupEntry.clear();
            } else {
                if (Grid->GetVisibleRowCount() + Grid->GetFixedRows() < Grid->GetRowCount())
                    Grid->SetTopRow(row);
                Grid->SetRow(row);
                Grid->SetCol(0);
                Grid->RepaintRow(row);
            }
        }
    }
    if (OnGridKeyPress)
        OnGridKeyPress(this, Key);
}

// ---------------------------------------------------------------------------
// Opening and closing.

void TCustomAdvGridDropDown::BeforeDropDown()
{
    if (FDropDownForm)
        FDropDownForm->SetCancelOnDeActivate(false);
    if (!Grid) {
        TAdvCustomDropDown::BeforeDropDown();
        OldItemIndex = ItemIndex;
        return;
    }
    Grid->LoadFromDropDown(this);
    Grid->SetColor(FDropDownColor);
    TSortSettings* sort = Grid->GetSortSettings();
    sort->SetShow(false);
    sort->SetIndexShow(false);
    if (Sorting != AdvCustomGridDropDown::gsNone)
        sort->SetShow(true);
    if (Sorting == AdvCustomGridDropDown::gsMultiColumn)
        sort->SetIndexShow(true);
    BalloonInit = false;
    Grid->SetGridImages(GetImages());
    Grid->OnSelectCell = nullptr;
    Grid->OnSelect = [this](TObject* s) { GridSelect(s); };
    WireGridEvents();
    Grid->GetSearchFooter()->Assign(SearchFooter.get());
    Grid->GetMouseActions()->Assign(MouseActions.get());
    Grid->GetNavigation()->Assign(Navigation.get());
    Grid->GetBands()->Assign(Bands.get());
    TGridOptions options = Grid->GetOptions();
    options << goThumbTracking;
    if (RowSelect)
        options << goRowSelect;
    else
        options >> goRowSelect;
    if (GridEditable)
        options << goEditing;
    else
        options >> goEditing;
    Grid->SetOptions(options);
    Grid->SetGridImages(GridImages);
    Grid->OnCanSort = [this](TObject* s, int c, bool& d) { GridSortStart(s, c, d); };
    Grid->OnClickSort = [this](TObject* s, int c) { GridSortDone(s, c); };
    Grid->OnSelectCell = [this](TObject* s, int c, int r, bool& can) { GridSelectCell(s, c, r, can); };
    Grid->SetComponentStyle(GetComponentStyle());
    if (UseItems) {
        // The handler may still fill Items.
        TAdvCustomDropDown::BeforeDropDown();
        Grid->SetRowCount(Items->Count() + 1);
        Grid->SetFixedRows(1);
        Grid->LoadItems();
        const int row = ItemToRow(ItemIndex);
        if (row >= Grid->GetFixedRows() && row < Grid->GetRowCount())
            Grid->SetRow(row);
    } else {
        String found;
        int row = -1;
        if (FindPrefixMatch(GetText(), found, row))
            Grid->SetRow(row);
        else if (Grid->GetRowCount() > Grid->GetFixedRows())
            Grid->SetRow(Grid->GetFixedRows());
    }
    if (sort->GetColumn() >= 0 && sort->GetShow())
        Grid->QSort();
    OldItemIndex = ItemIndex;
    if (!UseItems)
        TAdvCustomDropDown::BeforeDropDown();
}

void TCustomAdvGridDropDown::PlaceControl()
{
    if (Grid && FControl != Grid) {
        SetControl(Grid);
        return;
    }
    TAdvCustomDropDown::PlaceControl();
}

void TCustomAdvGridDropDown::AdjustDropDownSize()
{
    TAdvCustomDropDown::AdjustDropDownSize();
    if (!DropDownAutoWidth || !FDropDownForm || !Grid)
        return;
    Grid->SetAlign(alNone);
    Grid->SetWidth(Grid->GetTotalWidth());
    FDropDownForm->SetWidth(Grid->GetWidth() + 2 * FDropDownBorderWidth);
    Grid->SetAlign(alClient);
}

void TCustomAdvGridDropDown::AfterDropDown(int& Height)
{
    // A row height below 1 gives no rows to snap to.
    if (DropDownRowHeight < 1)
        return;
    int bars = 0;
    if (FDropDownHeader->GetVisible())
        bars += FDropDownHeader->GetHeight();
    if (FDropDownFooter->GetVisible())
        bars += FDropDownFooter->GetHeight();
    Height = bars + HeaderHeight + 2 + ((Height - bars - HeaderHeight - 2) / DropDownRowHeight) * DropDownRowHeight + 4;
}

void TCustomAdvGridDropDown::OpenDropDown()
{
    TAdvCustomDropDown::OpenDropDown();
    if (!Grid)
        return;
    if (!UseItems)
        while (Columns->Count() < Grid->GetColCount())
            Columns->Add();
    if (FDropDownForm && FDropDownForm->GetVisible())
        SizeColumnsToDropDown();
    const int visible = Grid->GetVisibleRowCount();
    if (visible + Grid->GetFixedRows() < Grid->GetRowCount()) {
        const int row = Grid->GetRow();
        if (row > Grid->GetTopRow() + visible || row < Grid->GetTopRow())
            Grid->SetTopRow(row);
        if (Grid->GetSearchFooter()->GetVisible() && row > Grid->GetTopRow() + visible - 2)
            Grid->SetTopRow(Grid->GetTopRow() + 2);
    }
    if (SelectedRow < Grid->GetFixedRows())
        SelectedRow = Grid->GetFixedRows();
    Grid->SetTabStop(true);
    if (FDroppedDown && Grid->CanFocus())
        Grid->SetFocus();
}

void TCustomAdvGridDropDown::CloseDropDown(bool Cancel)
{
    if (!FDropDownForm || !FDropDownForm->GetVisible() || !Grid) {
        TAdvCustomDropDown::CloseDropDown(Cancel);
        return;
    }
    if (Cancel) {
        SetItemIndex(OldItemIndex);
    } else if (Grid->GetConfirmSelection()) {
        if (UseItems)
            SetItemIndex(RowToItem(SelectedRow));
        else
            SetItemIndex(SelectedRow - Grid->GetFixedRows());
    }
    OldItemIndex = ItemIndex;
    Grid->SetConfirmSelection(false);
    TAdvCustomDropDown::CloseDropDown(Cancel);
}

void TCustomAdvGridDropDown::DropDownSizing()
{
    TAdvCustomDropDown::DropDownSizing();
    SizeColumnsToDropDown();
}

void TCustomAdvGridDropDown::SizeColumnsToDropDown()
{
    if (!ColumnSizeWithDropDown || !Grid || !FDropDownForm)
        return;
    Grid->SetScrollBars(ssVertical);
    if (Columns->Count() == 0)
        return;
    std::vector<int> widths;
    for (int c = 0; c < Columns->Count(); ++c)
        widths.push_back(Columns->GetItem(c)->GetWidth());
    int avail = FDropDownForm->GetWidth();
    if (Grid->GetVisibleRowCount() + Grid->GetFixedRows() < Grid->GetRowCount())
        avail -= GetSystemMetrics(SM_CXVSCROLL);
    const std::vector<int> scaled = AdvMultiColumnDropDown::ScaleColumnWidths(widths, avail);
    for (int c = 0; c < static_cast<int>(scaled.size()) && c < Grid->GetColCount(); ++c)
        Grid->SetColWidths(c, scaled[c]);
}

// ---------------------------------------------------------------------------
// The grid's events, passed on.

namespace {

template <class Event, class... Args>
void Relay(const Event& Handler, Args&&... A)
{
    if (Handler)
        Handler(std::forward<Args>(A)...);
}

} // namespace

template <class Handler>
void TCustomAdvGridDropDown::WithActivationBlocked(Handler&& handler)
{
    // A dialog the handler opens must not close the popup; afterwards the
    // popup closes on deactivation again, also when the handler raised.
    if (FDropDownForm)
        FDropDownForm->SetBlockActivate(true);
    TScopeExit unblock([this] {
        if (FDropDownForm)
            FDropDownForm->SetBlockActivate(false);
    });
    handler();
}

void TCustomAdvGridDropDown::WireGridEvents()
{
    TAdvColGrid* g = Grid;
    g->OnButtonClick = [this](TObject* s, int c, int r) { RelayGridButtonClick(s, c, r); };
    g->OnCanSort = [this](TObject* s, int c, bool& d) { RelayGridCanSort(s, c, d); };
    g->OnClickSort = [this](TObject* s, int c) { RelayGridClickSort(s, c); };
    g->OnRowMoved = [this](TObject* s, int f, int t) { RelayGridRowMoved(s, f, t); };
    g->OnColumnMoved = [this](TObject* s, int f, int t) { RelayGridColumnMoved(s, f, t); };
    // Custom drawing costs every cell its call: connected only when wanted.
    if (OnGridCustomCellDraw)
        g->OnCustomCellDraw = [this](TObject* s, TCanvas* cv, int c, int r, TGridDrawState st, TRect rc, bool p) {
            RelayGridCustomCellDraw(s, cv, c, r, st, rc, p);
        };
    else
        g->OnCustomCellDraw = nullptr;
    if (OnGridCustomCellBkgDraw)
        g->OnCustomCellBkgDraw = [this](TObject* s, TCanvas* cv, int c, int r, TGridDrawState st, TRect rc,
                                        bool p) { RelayGridCustomCellBkgDraw(s, cv, c, r, st, rc, p); };
    else
        g->OnCustomCellBkgDraw = nullptr;
    g->OnCellBalloon = [this](TObject* s, int c, int r, TBalloonIcon& i, String& t, String& ti) {
        RelayGridCellBalloon(s, c, r, i, t, ti);
    };
    g->OnGetAlignment = [this](TObject* s, int r, int c, TAlignment& h, TVAlignment& v) {
        RelayGridGetAlignment(s, r, c, h, v);
    };
    g->OnGetCellColor = [this](TObject* s, int r, int c, TGridDrawState st, TBrush* b, TFont* f) {
        RelayGridGetCellColor(s, r, c, st, b, f);
    };
    g->OnGetCellGradient = [this](TObject* s, int r, int c, TColor& a, TColor& b, TColor& m, TColor& mt,
                                  TCellGradientDirection& gd) { RelayGridGetCellGradient(s, r, c, a, b, m, mt, gd); };
    g->OnGetFloatFormat = [this](TObject* s, int c, int r, bool& f, String& ff) {
        RelayGridGetFloatFormat(s, c, r, f, ff);
    };
    g->OnGetEditorType = [this](TObject* s, int c, int r, TEditorType& e) { RelayGridGetEditorType(s, c, r, e); };
    g->OnCanEditCell = [this](TObject* s, int r, int c, bool& e) { RelayGridCanEditCell(s, r, c, e); };
    g->OnEllipsClick = [this](TObject* s, int c, int r, String& v) { RelayGridEllipsClick(s, c, r, v); };
    g->OnGetDisplText = [this](TObject* s, int c, int r, String& v) { RelayGridGetDiplText(s, c, r, v); };
    g->OnGetFormat = [this](TObject* s, int c, TSortStyle& st, String& p, String& x) {
        RelayGridGetFormat(s, c, st, p, x);
    };
    g->OnGridHint = [this](TObject* s, int r, int c, String& h) { RelayGridHint(s, r, c, h); };
    g->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { RelayGridMouseMove(s, sh, x, y); };
    g->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        RelayGridMouseDown(s, b, sh, x, y);
    };
    g->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        RelayGridMouseUp(s, b, sh, x, y);
    };
    // The framework takes the key events over when the popup shows.
    g->OnKeyUp = [this](TObject* s, Word& k, TShiftState sh) { RelayGridKeyUp(s, k, sh); };
    g->OnScrollHint = [this](TObject* s, int r, String& h) { RelayGridScrollHint(s, r, h); };
    g->OnTopLeftChanged = [this](TObject* s) { RelayGridTopLeftChanged(s); };
    g->OnAutoAddRow = [this](TObject* s, int r) { RelayGridAutoAddRow(s, r); };
    g->OnAutoInsertRow = [this](TObject* s, int r) { RelayGridInsertRow(s, r); };
    g->OnCanAddRow = [this](TObject* s, bool& v) { RelayGridCanAddRow(s, v); };
    g->OnCanInsertRow = [this](TObject* s, int r, bool& v) { RelayGridCanInsertRow(s, r, v); };
    g->OnCanDeleteRow = [this](TObject* s, int r, bool& v) { RelayGridCanDeleteRow(s, r, v); };
    g->OnCheckBoxClick = [this](TObject* s, int c, int r, bool& v) { RelayGridCheckBoxClick(s, c, r, v); };
}

void TCustomAdvGridDropDown::RelayGridButtonClick(TObject* Sender, int ACol, int ARow)
{
    WithActivationBlocked([&] { Relay(OnGridButtonClick, Sender, ACol, ARow); });
}

void TCustomAdvGridDropDown::RelayGridEllipsClick(TObject* Sender, int ACol, int ARow, String& S)
{
    WithActivationBlocked([&] { Relay(OnGridEllipsClick, Sender, ACol, ARow, S); });
}

void TCustomAdvGridDropDown::RelayGridCanSort(TObject* Sender, int ACol, bool& DoSort)
{
    Relay(OnGridCanSort, Sender, ACol, DoSort);
}

void TCustomAdvGridDropDown::RelayGridClickSort(TObject* Sender, int ACol)
{
    Relay(OnGridClickSort, Sender, ACol);
}

void TCustomAdvGridDropDown::RelayGridCustomCompare(TObject* Sender, const String& str1, const String& str2, int& Res)
{
    Relay(OnGridCustomCompare, Sender, str1, str2, Res);
}

void TCustomAdvGridDropDown::RelayGridRawCompare(TObject* Sender, int ACol, int Row1, int Row2, int& Res)
{
    Relay(OnGridRawCompare, Sender, ACol, Row1, Row2, Res);
}

void TCustomAdvGridDropDown::RelayGridRowMoved(TObject* Sender, int FromIndex, int ToIndex)
{
    Relay(OnGridRowMoved, Sender, FromIndex, ToIndex);
}

void TCustomAdvGridDropDown::RelayGridColumnMoved(TObject* Sender, int FromIndex, int ToIndex)
{
    Relay(OnGridColumnMoved, Sender, FromIndex, ToIndex);
}

void TCustomAdvGridDropDown::RelayGridCustomCellDraw(TObject* Sender, TCanvas* Canvas, int ACol, int ARow,
                                                     TGridDrawState AState, TRect ARect, bool Printing)
{
    Relay(OnGridCustomCellDraw, Sender, Canvas, ACol, ARow, AState, ARect, Printing);
}

void TCustomAdvGridDropDown::RelayGridCustomCellBkgDraw(TObject* Sender, TCanvas* Canvas, int ACol, int ARow,
                                                        TGridDrawState AState, TRect ARect, bool Printing)
{
    Relay(OnGridCustomCellBkgDraw, Sender, Canvas, ACol, ARow, AState, ARect, Printing);
}

void TCustomAdvGridDropDown::RelayGridCellBalloon(TObject* Sender, int ACol, int ARow, TBalloonIcon& Icon,
                                                  String& Text, String& Title)
{
    Relay(OnGridCellBalloon, Sender, ACol, ARow, Icon, Text, Title);
}

void TCustomAdvGridDropDown::RelayGridGetAlignment(TObject* Sender, int ARow, int ACol, TAlignment& HAlign,
                                                   TVAlignment& VAlign)
{
    if (ACol >= 0 && ACol < Columns->Count())
        HAlign = Columns->GetItem(ACol)->GetAlignment();
    Relay(OnGridGetAlignment, Sender, ARow, ACol, HAlign, VAlign);
}

void TCustomAdvGridDropDown::RelayGridGetCellColor(TObject* Sender, int ARow, int ACol, TGridDrawState AState,
                                                   TBrush* ABrush, TFont* AFont)
{
    if (ACol >= 0 && ACol < Columns->Count()) {
        ABrush->SetColor(Columns->GetItem(ACol)->GetColor());
        AFont->Assign(Columns->GetItem(ACol)->GetFont());
    }
    Relay(OnGridGetCellColor, Sender, ARow, ACol, AState, ABrush, AFont);
}

void TCustomAdvGridDropDown::RelayGridGetCellGradient(TObject* Sender, int ARow, int ACol, TColor& Color,
                                                      TColor& ColorTo, TColor& MirrorColor, TColor& MirrorColorTo,
                                                      TCellGradientDirection& GD)
{
    Relay(OnGridGetCellGradient, Sender, ARow, ACol, Color, ColorTo, MirrorColor, MirrorColorTo, GD);
}

void TCustomAdvGridDropDown::RelayGridGetFloatFormat(TObject* Sender, int ACol, int ARow, bool& IsFloat,
                                                     String& FloatFormat)
{
    FloatFormat.clear();
    Relay(OnGridGetFloatFormat, Sender, ACol, ARow, IsFloat, FloatFormat);
}

void TCustomAdvGridDropDown::RelayGridGetEditorType(TObject* Sender, int ACol, int ARow, TEditorType& AEditor)
{
    Relay(OnGridGetEditorType, Sender, ACol, ARow, AEditor);
}

void TCustomAdvGridDropDown::RelayGridCanEditCell(TObject* Sender, int ARow, int ACol, bool& CanEdit)
{
    Relay(OnGridCanEditCell, Sender, ARow, ACol, CanEdit);
}

void TCustomAdvGridDropDown::RelayGridGetDiplText(TObject* Sender, int ACol, int ARow, String& Value)
{
    Relay(OnGridGetDiplText, Sender, ACol, ARow, Value);
}

void TCustomAdvGridDropDown::RelayGridGetFormat(TObject* Sender, int ACol, TSortStyle& AStyle, String& aPrefix,
                                                String& aSuffix)
{
    Relay(OnGridGetFormat, Sender, ACol, AStyle, aPrefix, aSuffix);
}

void TCustomAdvGridDropDown::RelayGridHint(TObject* Sender, int ARow, int ACol, String& HintStr)
{
    Relay(OnGridHint, Sender, ARow, ACol, HintStr);
}

void TCustomAdvGridDropDown::RelayGridMouseMove(TObject* Sender, TShiftState Shift, int X, int Y)
{
    if (!BalloonInit && Grid) {
        // The balloon window is set up again for the popup's own window.
        if (Grid->GetBalloon()->GetEnable()) {
            Grid->GetBalloon()->SetEnable(false);
            Grid->GetBalloon()->SetEnable(true);
        }
        BalloonInit = true;
    }
    Relay(OnGridMouseMove, Sender, Shift, X, Y);
}

void TCustomAdvGridDropDown::RelayGridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Relay(OnGridMouseDown, Sender, Button, Shift, X, Y);
}

void TCustomAdvGridDropDown::RelayGridMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    Relay(OnGridMouseUp, Sender, Button, Shift, X, Y);
}

void TCustomAdvGridDropDown::RelayGridKeyDown(TObject* Sender, Word& Key, TShiftState Shift)
{
    Relay(OnGridKeyDown, Sender, Key, Shift);
}

void TCustomAdvGridDropDown::RelayGridKeyUp(TObject* Sender, Word& Key, TShiftState Shift)
{
    Relay(OnGridKeyUp, Sender, Key, Shift);
}

void TCustomAdvGridDropDown::RelayGridKeyPress(TObject* Sender, wchar_t& Key)
{
    Relay(OnGridKeyPress, Sender, Key);
}

void TCustomAdvGridDropDown::RelayGridScrollHint(TObject* Sender, int ARow, String& HintStr)
{
    Relay(OnGridScrollHint, Sender, ARow, HintStr);
}

void TCustomAdvGridDropDown::RelayGridTopLeftChanged(TObject* Sender)
{
    Relay(OnGridTopLeftChanged, Sender);
}

void TCustomAdvGridDropDown::RelayGridAutoAddRow(TObject* Sender, int ARow)
{
    Relay(OnGridAutoAddRow, Sender, ARow);
}

void TCustomAdvGridDropDown::RelayGridInsertRow(TObject* Sender, int ARow)
{
    Relay(OnGridInsertRow, Sender, ARow);
}

void TCustomAdvGridDropDown::RelayGridCanAddRow(TObject* Sender, bool& Value)
{
    Relay(OnGridCanAddRow, Sender, Value);
}

void TCustomAdvGridDropDown::RelayGridCanInsertRow(TObject* Sender, int ARow, bool& CanInsert)
{
    Relay(OnGridCanInsertRow, Sender, ARow, CanInsert);
}

void TCustomAdvGridDropDown::RelayGridCanDeleteRow(TObject* Sender, int ARow, bool& CanDelete)
{
    Relay(OnGridCanDeleteRow, Sender, ARow, CanDelete);
}

void TCustomAdvGridDropDown::RelayGridCheckBoxClick(TObject* Sender, int ACol, int ARow, bool& Value)
{
    Relay(OnGridCheckBoxClick, Sender, ACol, ARow, Value);
}
