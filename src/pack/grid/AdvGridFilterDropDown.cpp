// The header filter drop-down and the filter-edit row: a column's values
// offered in a list, a choice or a set of checks turned into the column's
// condition, a typed text and a filter type turned into another.
//
// A value picked from a list must select exactly the cells that read it.
// Characters the condition language takes as operators ("&", "|", ";",
// "^", "(", ")", a leading "=", double quotes, blanks) are protected by
// quoting; "*", "?", "!", "<" and ">" act even inside quotes, so values
// holding them are matched as exact texts instead.
#include "AdvGrid.h"
#include "HTMLUtils.h"
#include <algorithm>

using enum AdvGrid::TFilterType;

namespace {

const String Tab = L"\t";

String ShownPart(const String& Entry)
{
    const size_t tab = Entry.find(L'\t');
    return tab == String::npos ? Entry : Entry.substr(0, tab);
}

bool HasAnyOf(const String& s, const wchar_t* Chars)
{
    return s.find_first_of(Chars) != String::npos;
}

// The value in double quotes, its own double quotes doubled.
String Quoted(const String& Value)
{
    String out = L"\"";
    for (wchar_t ch : Value) {
        out += ch;
        if (ch == L'"')
            out += L'"';
    }
    return out + L"\"";
}

bool NeedsExactMatch(const String& Value)
{
    return HasAnyOf(Value, L"*?!<>");
}

bool NeedsQuotes(const String& Value)
{
    return HasAnyOf(Value, L" &()|;^\"") || Value.starts_with(L"=");
}

// A drop-down entry for a cell text (already trimmed).
String EntryFor(const String& Text)
{
    if (Text.empty())
        return Tab + L"\"\"";
    // Exact values keep their plain text: the pick matches them as they are.
    if (NeedsExactMatch(Text))
        return Text;
    if (Text.find(L' ') != String::npos)
        return Text + Tab + Quoted(Text);
    return Text;
}

} // namespace

String TAdvStringGrid::PickedCondition(const String& Value, bool& Exact)
{
    Exact = false;
    if (Value.empty() || Value == L" ")
        return L"\"\"";
    if (NeedsExactMatch(Value)) {
        Exact = true;
        return {};
    }
    if (NeedsQuotes(Value))
        return Quoted(Value);
    return Value;
}

void TAdvStringGrid::SetFilterDropDownAuto(bool Value)
{
    if (!StoreChanged(FFilterDropDownAuto, Value))
        return;
    Invalidate();
    if (Value)
        SetFixedRowAlways(true);
}

void TAdvStringGrid::SetFilterDropDownRow(int Value)
{
    if (Value < 0 || Value >= GetFixedRows())
        return;
    FFilterDropDownRow = Value;
    Invalidate();
}

// --- the value list --------------------------------------------------------------------

bool TAdvStringGrid::BuildFilterList(int ACol, bool FirstOnly)
{
    TStringList* list = FFilterList.get();
    list->Clear();
    list->SetCaseSensitive(FFilterDropDown->GetCaseSensitive());
    list->SetSorted(false);
    if (FFilterDropDownAuto && (ACol >= GetFixedCols() || FFilterDropDownColumns == fdAll)) {
        list->SetSorted(FFilterDropDown->GetSorted());
        auto add = [list](const String& Entry) {
            // A sorted list drops duplicates itself; an unsorted one is asked.
            if (list->GetSorted() || list->IndexOf(Entry) < 0)
                list->Add(Entry);
        };
        if (IsDataCheckBoxColumn(ACol) && !FFilterDropDown->GetTextChecked().empty() &&
            !FFilterDropDown->GetTextUnChecked().empty()) {
            add(FFilterDropDown->GetTextChecked());
            add(FFilterDropDown->GetTextUnChecked());
        } else {
            for (int r = GetFixedRows(), end = GetRowCount() - FFixedFooters; r < end; ++r) {
                if (IsNode(r))
                    continue;
                // The text the row test reads: markup only where a closing tag
                // shows there is some, so that "<none>" stays a value.
                String t = GetCellText(ACol, r);
                if (t.find(L"</") != String::npos)
                    t = GridHTMLToText(t);
                add(EntryFor(Trim(t)));
                if (FirstOnly && list->Count() > 0)
                    break;
            }
            const bool hiddenToo = !FFilterIncremental && (!FFilterDropDownMultiCol || FFilter->HasFilter(ACol));
            if (hiddenToo && !(FirstOnly && list->Count() > 0)) {
                for (int i = 0; i < FGridItems->Count(); ++i) {
                    const TGridItem* item = FGridItems->Item(i);
                    TStrings* texts = item->GetItems();
                    String t = ACol >= 0 && ACol < texts->Count() ? Trim(texts->Get(ACol)) : String();
                    if (OnGetDisplText)
                        OnGetDisplText(this, ACol, item->GetIdx(), t);
                    add(EntryFor(t));
                    if (FirstOnly && list->Count() > 0)
                        break;
                }
            }
        }
        list->SetSorted(false);
        if (!FFilterDropDownClear.empty() && !FFilterDropDownCheck)
            list->Insert(0, FFilterDropDownClear);
        if (!FFilterDropDownCheckUnCheckAll.empty() && FFilterDropDownCheck)
            list->Insert(0, FFilterDropDownCheckUnCheckAll);
    }
    if (OnGetColumnFilter)
        OnGetColumnFilter(this, ACol, list);
    return list->Count() > 0;
}

bool TAdvStringGrid::FilterValueChosen(int ACol, const String& Text)
{
    for (int i = 0; i < FFilter->Count(); ++i) {
        const TFilterData* data = FFilter->Item(i);
        if (data->GetColumn() != ACol)
            continue;
        const std::vector<String>& exact = data->GetExactValues();
        if (std::find(exact.begin(), exact.end(), Text) != exact.end())
            return true;
        bool isExact = false;
        const String wanted = PickedCondition(Text, isExact);
        if (isExact)
            continue;
        // The condition's values, split at "|" outside double quotes.
        const String& c = data->GetCondition();
        String part;
        int quotes = 0;
        for (size_t k = 0; k <= c.size(); ++k) {
            if (k == c.size() || (c[k] == L'|' && quotes % 2 == 0)) {
                if (part == wanted || part == Text)
                    return true;
                part.clear();
                continue;
            }
            if (c[k] == L'"')
                ++quotes;
            part += c[k];
        }
    }
    return false;
}

// --- a choice in the single list -------------------------------------------------------

void TAdvStringGrid::FilterListSelect(int ItemIndex)
{
    if (HandleAllocated() && CanFocus())
        SetFocus();
    const int column = FFilterColumn;
    const TScopeExit closed([this] { FFilterColumn = -1; });
    if (column < 0 || column >= TotalColCount() || ItemIndex < 0 || ItemIndex >= FDropList->Count())
        return;
    BuildFilterList(column, false);
    // The list may have changed since it was shown.
    if (ItemIndex >= FFilterList->Count())
        return;
    String entry = FFilterList->Get(ItemIndex);
    const String shown = ShownPart(entry);
    if (IsDataCheckBoxColumn(column)) {
        if (entry == FFilterDropDown->GetTextChecked())
            GetCheckedFilterValue(column, entry);
        else if (entry == FFilterDropDown->GetTextUnChecked())
            GetUncheckedFilterValue(column, entry);
    }
    if (FAutoFilterUpdate)
        SetFilterActive(false);

    const size_t tab = entry.find(L'\t');
    String c = tab == String::npos ? entry : entry.substr(tab + 1);
    bool exact = false;
    if (!FFilterDropDownClear.empty() && c == FFilterDropDownClear && tab == String::npos && ItemIndex == 0)
        c.clear();
    else if (tab == String::npos)
        c = PickedCondition(c, exact);
    if (OnFilterSelect)
        OnFilterSelect(this, column, ItemIndex, shown, c);
    if (!FFilterDropDownMultiCol)
        FFilter->Clear();
    if (exact) {
        TFilterData* data = FFilter->ColumnItem(column);
        data->SetFriendlyName(shown);
        data->SetCondition(c);
        data->SetExactValues({entry});
    } else if (!c.empty()) {
        TFilterData* data = FFilter->ColumnItem(column);
        data->SetFriendlyName(shown);
        data->SetCondition(c);
        data->SetExactValues({});
    } else {
        FFilter->RemoveColumnFilter(column);
    }
    if (FAutoFilterUpdate) {
        SetFixedRowAlways(true);
        SetFilterActive(true);
        if (GetRowCount() != GetFixedRows() && GetRowCount() != 1)
            SetRow(GetFixedRows());
        DoFilterDone();
    }
}

// --- a click on a check of the check list ----------------------------------------------

void TAdvStringGrid::FilterCheckListClick(int ItemIndex)
{
    const int column = FFilterColumn;
    TDropCheckList* checks = FDropCheckList;
    if (ItemIndex < 0 || ItemIndex >= checks->Count() || column < 0 || column >= TotalColCount())
        return;
    BuildFilterList(column, false);
    if (FAutoFilterUpdate)
        SetFilterActive(false);
    if (FFilterDropDownMultiCol)
        FFilter->RemoveColumnFilter(column);
    else
        FFilter->Clear();

    const bool allEntry = !FFilterDropDownCheckUnCheckAll.empty();
    bool allChecked = false;
    if (FFilterDropDownAuto) {
        if (allEntry && ItemIndex > 0 && !checks->GetChecked(ItemIndex))
            checks->SetChecked(0, false);
        allChecked = true;
        for (int i = allEntry ? 1 : 0; i < checks->Count(); ++i)
            allChecked = allChecked && checks->GetChecked(i);
    }
    if (allEntry && checks->GetItemIndex() == 0 && ItemIndex < FFilterList->Count() &&
        FFilterList->Get(ItemIndex) == FFilterDropDownCheckUnCheckAll) {
        for (int i = 1; i < checks->Count(); ++i)
            checks->SetChecked(i, checks->GetChecked(0));
        allChecked = checks->GetChecked(0);
    }
    if (OnFilterCheckClick)
        OnFilterCheckClick(this, column, ItemIndex, checks->GetChecked(ItemIndex), checks);

    if (!allChecked) {
        String conditions, names;
        std::vector<String> exactValues;
        const int entries = std::min(checks->Count(), FFilterList->Count());
        for (int i = 0; i < entries; ++i) {
            if (!checks->GetChecked(i))
                continue;
            String entry = FFilterList->Get(i);
            const String shown = ShownPart(entry);
            if (allEntry && i == 0 && entry == FFilterDropDownCheckUnCheckAll)
                continue;
            // A checked data check-box entry stands for the cells' own texts.
            if (IsDataCheckBoxColumn(column)) {
                if (entry == FFilterDropDown->GetTextChecked())
                    GetCheckedFilterValue(column, entry);
                else if (entry == FFilterDropDown->GetTextUnChecked())
                    GetUncheckedFilterValue(column, entry);
            }
            String c;
            bool exact = false;
            if (const size_t tab = entry.find(L'\t'); tab != String::npos)
                c = entry.substr(tab + 1);
            else
                c = PickedCondition(entry, exact);
            if (exact)
                exactValues.push_back(entry);
            if (OnFilterCheck)
                OnFilterCheck(this, column, i, shown, c, checks);
            if (!c.empty())
                conditions += conditions.empty() ? c : L"|" + c;
            names += names.empty() ? shown : L"|" + shown;
        }
        if (!conditions.empty() || !exactValues.empty()) {
            TFilterData* data = FFilter->Add();
            data->SetFriendlyName(names);
            data->SetCondition(conditions);
            data->SetExactValues(exactValues);
            data->SetColumn(column);
            data->SetCaseSensitive(FFilterDropDown->GetCaseSensitive());
            if (conditions.find(L"</") != String::npos)
                data->SetMethod(fmLiteral);
        }
        SetFilterActive(FFilter->Count() > 0);
        DoFilterDone();
    }
    checks->Invalidate();
}

// --- the filter-edit row ---------------------------------------------------------------

void TAdvStringGrid::ApplyFilterEditColumn(int ACol, TFilterType AType)
{
    SetFilterActive(false);
    const int row = FFilterEdit->GetRow();
    if (AType == ftClear) {
        if (row >= 0 && row < GetRowCount() && ACol >= 0 && ACol < TotalColCount())
            SetCells(ACol, row, {});
        AType = ftContains;
    }
    TFilterData* data = nullptr;
    if (FFilter->HasFilter(ACol)) {
        data = FFilter->ColumnItem(ACol);
    } else {
        data = FFilter->Add();
        data->SetFilterType(ftContains);
    }
    data->SetCaseSensitive(FFilterEdit->GetCaseSensitive());
    data->SetColumn(ACol);
    if (AType != ftNone)
        data->SetFilterType(AType);
    const String t = row >= 0 && row < GetRowCount() ? GetCellText(ACol, row) : String();
    data->BuildCondition(t);
    data->SetEnabled(!t.empty());
    DoFilterEditUpdate(ACol, t, data->GetFilterType());
    SetFilterActive(true);
    if (GetRowCount() > 0)
        RepaintRow(0);
    DoFilterDone();
}

void TAdvStringGrid::FilterTypeMenuClick(TObject* Sender)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item)
        return;
    const int type = item->GetTag();
    if (type < ftStartsWith || type > ftNone)
        return;
    ApplyFilterEditColumn(static_cast<int>(FFltrPopup->GetTag()), static_cast<TFilterType>(type));
}

// --- the list controls -----------------------------------------------------------------

namespace {

// A cancelled mode with the mouse outside Area (client coordinates) closes
// the list.
bool CancelledOutside(TWinControl* List, const TRect& Area)
{
    POINT p{};
    GetCursorPos(&p);
    p = List->ScreenToClient(p);
    return !(p.x >= Area.left && p.x < Area.right && p.y >= Area.top && p.y < Area.bottom);
}

void CloseList(TWinControl* List)
{
    if (auto* grid = dynamic_cast<TAdvStringGrid*>(List->GetParent())) {
        grid->DoFilterClose(grid->GetFilterColumn());
        grid->SetFilterColumn(-1);
    }
    List->SetVisible(false);
}

} // namespace

void TDropList::WndProc(TMessage& Message)
{
    // The 20 pixels above the list are the header button that opened it.
    if (Message.Msg == CM_CANCELMODE && CancelledOutside(this, TRect(0, -20, GetWidth(), GetHeight())))
        CloseList(this);
    TListBox::WndProc(Message);
}

void TDropList::KeyPress(wchar_t& Key)
{
    TListBox::KeyPress(Key);
    if (Key == L'\r') {
        SetVisible(false);
        if (OnSelect)
            OnSelect(this, GetItemIndex());
    }
}

void TDropList::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TListBox::MouseUp(Button, Shift, X, Y);
    SetVisible(false);
    if (OnSelect)
        OnSelect(this, GetItemIndex());
}

void TDropCheckList::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_CANCELMODE && CancelledOutside(this, TRect(0, 0, GetWidth(), GetHeight())))
        CloseList(this);
    TCheckListBox::WndProc(Message);
}

void TDropCheckList::ClickCheck()
{
    TCheckListBox::ClickCheck();
    if (OnSelect)
        OnSelect(this, GetItemIndex());
}
