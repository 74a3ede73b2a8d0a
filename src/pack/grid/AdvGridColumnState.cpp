// The column layout kept outside the grid: the column-state string (the
// column count, the widths by display position, the kept column order and
// the shown flags by real column, as "4#64,80,120,64#0,1,2,3#1,1,1,1"), and
// the column widths and positions in an INI file or the registry.
#include "AdvGrid.h"
#include "IniFiles.h"
#include "Registry.h"
#include "SysUtils.h"
#include <algorithm>
#include <vector>

namespace {

String JoinInts(const std::vector<int>& values)
{
    String text;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += L',';
        text += IntToStr(values[i]);
    }
    return text;
}

// The items of one comma-separated field; an empty field has none.
std::vector<String> SplitField(const String& field)
{
    std::vector<String> items;
    if (field.empty())
        return items;
    size_t start = 0;
    for (;;) {
        const size_t comma = field.find(L',', start);
        items.push_back(field.substr(start, comma == String::npos ? String::npos : comma - start));
        if (comma == String::npos)
            break;
        start = comma + 1;
    }
    return items;
}

int ParseItem(const String& item)
{
    // Digits with an optional minus sign only: the writer never puts spaces,
    // signs or hexadecimal into the string.
    const size_t digits = (!item.empty() && item[0] == L'-') ? 1 : 0;
    if (item.size() == digits || item.find_first_not_of(L"0123456789", digits) != String::npos)
        throw EConvertError(L"'" + item + L"' is not a valid integer value");
    return StrToInt(item);
}

// Every column exactly once, or the moves would lose columns.
bool IsPermutation(const std::vector<int>& order)
{
    std::vector<bool> seen(order.size(), false);
    for (int entry : order) {
        if (entry < 0 || entry >= static_cast<int>(order.size()) || seen[static_cast<size_t>(entry)])
            return false;
        seen[static_cast<size_t>(entry)] = true;
    }
    return true;
}

std::vector<int> ParseField(const String& field, int count, const wchar_t* what)
{
    const std::vector<String> items = SplitField(field);
    if (static_cast<int>(items.size()) < count)
        throw EListError(String(L"Column state: the ") + what + L" list holds fewer than " + IntToStr(count) +
                         L" items");
    std::vector<int> values;
    values.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        values.push_back(ParseItem(items[static_cast<size_t>(i)]));
    return values;
}

// The layout a string describes, read whole before the grid changes.
struct TColumnStates {
    int count = 0;
    std::vector<int> widths;
    std::vector<int> order;  // empty: keep the columns where they are
    std::vector<bool> shown;
};

TColumnStates ParseColumnStates(const String& value)
{
    std::vector<String> fields;
    size_t start = 0;
    for (;;) {
        const size_t hash = value.find(L'#', start);
        fields.push_back(value.substr(start, hash == String::npos ? String::npos : hash - start));
        if (hash == String::npos)
            break;
        start = hash + 1;
    }
    if (fields.size() != 4)
        throw EListError(L"Column state: four fields separated by \"#\" expected");

    TColumnStates states;
    states.count = ParseItem(fields[0]);
    if (states.count < 1)
        throw EListError(L"Column state: the column count must be positive");
    states.widths = ParseField(fields[1], states.count, L"width");
    for (int w : states.widths)
        if (w < -1)
            throw EListError(L"Column state: a column width below -1");
    if (!fields[2].empty()) {
        states.order = ParseField(fields[2], states.count, L"order");
        if (!IsPermutation(states.order))
            throw EListError(L"Column state: the column order is not a permutation of the columns");
    }
    for (int flag : ParseField(fields[3], states.count, L"visibility")) {
        if (flag != 0 && flag != 1)
            throw EListError(L"Column state: a visibility flag other than 0 or 1");
        states.shown.push_back(flag == 1);
    }
    return states;
}

} // namespace

String TAdvStringGrid::ColumnStatesToString() const
{
    const int count = GetColCount() + NumHiddenColumns();
    std::vector<int> widths;
    for (int p = 0; p < count; ++p)
        widths.push_back(p < GetColCount() ? GetColWidths(p) : GetDefaultColWidth());
    std::vector<int> order;
    if (FColumnOrder->Count() > 0) {
        for (int i = 0; i < FColumnOrder->Count(); ++i)
            order.push_back(FColumnOrder->GetItem(i));
    } else {
        for (int c = 0; c < count; ++c)
            order.push_back(c);
    }
    std::vector<int> flags;
    for (int c = 0; c < count; ++c)
        flags.push_back(GetVisibleCol(c) ? 1 : 0);
    return IntToStr(count) + L"#" + JoinInts(widths) + L"#" + JoinInts(order) + L"#" + JoinInts(flags);
}

void TAdvStringGrid::StringToColumnStates(const String& Value)
{
    if (Value.find(L'#') == String::npos)
        return;
    // The string comes from a settings file the user may have edited: it is
    // checked whole first, so a bad one leaves the layout as it was.
    const TColumnStates states = ParseColumnStates(Value);

    FColumnOrder->Clear();
    UnHideColumnsAll();
    SetColCount(states.count);

    if (!states.order.empty())
        ShowColumnOrder(states.order);

    for (int c = states.count - 1; c >= 0; --c)
        if (!states.shown[static_cast<size_t>(c)])
            HideColumn(c);

    // Stretching is off while the widths are set. A stretched grid first
    // gives every column the stretched column's width as its default.
    TColumnSize* columnSize = FColumnSize.get();
    const bool stretch = columnSize->GetStretch();
    if (stretch) {
        const int stretchCol = columnSize->GetStretchColumn() == -1 ? GetColCount() - 1 : columnSize->GetStretchColumn();
        if (stretchCol >= 0 && stretchCol < GetColCount())
            SetDefaultColWidth(GetColWidths(stretchCol));
        columnSize->SetStretch(false);
    }
    for (int p = 0; p < GetColCount(); ++p)
        SetColWidths(p, states.widths[static_cast<size_t>(p)]);
    if (stretch)
        columnSize->SetStretch(true);
}

void TAdvStringGrid::ShowColumnOrder(const std::vector<int>& Order)
{
    // ResetColumnOrder sorts the columns by their entries: entry k of the
    // inverse is the position where the column now at k belongs. Afterwards
    // the list holds the order as given again.
    std::vector<int> inverse(Order.size());
    for (size_t k = 0; k < Order.size(); ++k)
        inverse[static_cast<size_t>(Order[k])] = static_cast<int>(k);
    FColumnOrder->Clear();
    for (int entry : inverse)
        FColumnOrder->Add(entry);
    ResetColumnOrder();
    FColumnOrder->Clear();
    for (int entry : Order)
        FColumnOrder->Add(entry);
}

// --- widths and positions in an INI file or the registry ----------------------------------

namespace {

String SizeName(int DisplayCol)
{
    return L"Col" + IntToStr(DisplayCol);
}

String PositionName(int Index)
{
    return L"Pos" + IntToStr(Index);
}

} // namespace

void TAdvStringGrid::UseColumnStore(const std::function<void(TCustomIniFile& Store, const String& Section)>& Work)
{
    const TColumnSize* columnSize = FColumnSize.get();
    if (columnSize->GetKey().empty() || columnSize->GetSection().empty() || DesignTime())
        return;
    TOwned<TCustomIniFile> store;
    if (columnSize->GetLocation() == clIniFile)
        store.reset(New<TMemIniFile>(columnSize->GetKey()));
    else
        store.reset(New<TRegistryIniFile>(columnSize->GetKey()));
    Work(*store, columnSize->GetSection());
    // An INI file is written back after a load too.
    store->UpdateFile();
}

void TAdvStringGrid::SaveColSizes()
{
    UseColumnStore([this](TCustomIniFile& store, const String& section) {
        for (int c = 0; c < GetColCount(); ++c)
            store.WriteInteger(section, SizeName(c), GetColWidths(c));
    });
}

void TAdvStringGrid::LoadColSizes()
{
    UseColumnStore([this](TCustomIniFile& store, const String& section) {
        for (int c = 0; c < GetColCount(); ++c) {
            const int width = store.ReadInteger(section, SizeName(c), GetColWidths(c));
            // The file is the user's: a width the grid cannot take keeps the column as it is.
            if (width != GetColWidths(c) && width >= -1)
                SetColWidths(c, width);
        }
    });
}

void TAdvStringGrid::SaveColPositions()
{
    UseColumnStore([this](TCustomIniFile& store, const String& section) {
        for (int k = 0; k < FColumnOrder->Count(); ++k)
            store.WriteInteger(section, PositionName(k), FColumnOrder->GetItem(k));
    });
}

void TAdvStringGrid::LoadColPositions()
{
    UseColumnStore([this](TCustomIniFile& store, const String& section) {
        if (store.ReadInteger(section, PositionName(0), -1) == -1)
            return;
        std::vector<int> order;
        for (int k = 0, n = GetAllColCount(); k < n; ++k)
            if (const int entry = store.ReadInteger(section, PositionName(k), -1); entry != -1)
                order.push_back(entry);
        // Checked before anything moves: a store written for other columns,
        // or edited by hand, leaves the columns and their kept order alone.
        if (static_cast<int>(order.size()) != GetAllColCount() || !IsPermutation(order))
            throw EListError(L"Column positions: the stored order is not one of every column");
        // Hidden columns are hidden again at their places once the columns stand in order.
        std::vector<int> hidden;
        for (int c = 0; c < GetAllColCount(); ++c)
            if (IsHiddenColumn(c))
                hidden.push_back(c);
        UnHideColumnsAll();
        ShowColumnOrder(order);
        for (int c : hidden)
            HideColumn(c);
    });
}
