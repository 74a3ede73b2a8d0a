// Sorting rows: the compare of two cells with the value format detected per
// compare, the tie-break on further columns, the plain and indexed sorts,
// the return to the order before sorting, and the sort-settings string.
//
// A sort first works out the new order of the rows, reading them where
// they stand, and only then moves them, each move through SortSwapRows so
// that heights, marks and the cross-reference follow. Equal rows keep
// their order, and a compare that raises leaves every row in place.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "HTMLUtils.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <cwchar>

// --- the sort settings' own operations ------------------------------------------------

String TSortSettings::SaveToString() const
{
    auto* grid = dynamic_cast<TAdvStringGrid*>(grid_);
    if (indexShow_ && grid)
        return L"i;" + grid->GetSortIndexes()->SaveToString();
    return (direction_ == sdDescending ? L"d" : L"u") + IntToStr(column_);
}

void TSortSettings::LoadFromString(const String& Value)
{
    if (Value.empty())
        return;
    SetShow(true);
    if (Value.size() < 2)
        throw Exception(L"Invalid sort settings specifier");
    auto* grid = dynamic_cast<TAdvStringGrid*>(grid_);
    if (Value.find(L"i;") != String::npos) {
        SetIndexShow(true);
        const String rest = Value.substr(2);
        if (!rest.empty() && grid) {
            grid->GetSortIndexes()->LoadFromString(rest);
            grid->QSortIndexed();
        }
        return;
    }
    SetIndexShow(false);
    direction_ = Value.find(L'u') != String::npos ? sdAscending : sdDescending;
    Integer column = 0;
    if (TryStrToInt(Value.substr(1), column)) {
        column_ = column;
        if (grid)
            grid->QSort();
    }
}

void TSortSettings::Remove()
{
    column_ = -1;
    if (auto* grid = dynamic_cast<TAdvStringGrid*>(grid_)) {
        grid->GetSortIndexes()->Clear();
        if (grid->GetFixedRows() > 0)
            grid->RepaintRow(grid->GetFixedRows() - 1);
    }
}

void TSortSettings::ToggleDirection()
{
    direction_ = direction_ == sdAscending ? sdDescending : sdAscending;
}

// --- reading values -----------------------------------------------------------------------

namespace {

constexpr double NotRead = HUGE_VAL;

bool IsNumberKind(Byte kind)
{
    return kind == vkInteger || kind == vkFloat || kind == vkFloatExponent;
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

template <class T>
int Order(T a, T b)
{
    return a > b ? 1 : (a == b ? 0 : -1);
}

String RemoveFirst(String text, const String& part)
{
    if (!part.empty())
        if (const size_t at = text.find(part); at != String::npos)
            text.erase(at, part.size());
    return text;
}

// The run-time conversion: leading blanks, a sign, "." decimals and an
// exponent, the whole text used. A text that fails part-way keeps the value
// read so far (0 when nothing could be read).
bool ConvertFloat(const String& text, double& value)
{
    const wchar_t* begin = text.c_str();
    wchar_t* end = nullptr;
    value = std::wcstod(begin, &end);
    if (end == begin) {
        value = 0;
        return false;
    }
    if (!std::isfinite(value)) {
        value = 0;  // out of range: taken as converted
        return true;
    }
    return *end == L'\0';
}

// The number text of a numeric or financial cell.
String NumberText(const String& text, const String& prefix, const String& suffix, bool financial)
{
    String s = RemoveFirst(RemoveFirst(text, suffix), prefix);
    if (financial)
        s.erase(std::remove(s.begin(), s.end(), FormatSettings.ThousandSeparator), s.end());
    if (FormatSettings.DecimalSeparator != L'.')
        if (const size_t at = s.find(FormatSettings.DecimalSeparator); at != String::npos)
            s[at] = L'.';
    return s;
}

TDateTime DateValue(const String& text)
{
    TDateTime value = 0;
    if (text.empty() || !TryStrToDateTime(text, value))
        return 0;
    return value;
}

TDateTime TimeValue(const String& text)
{
    TDateTime value = 0;
    if (!TryStrToTime(text, value))
        return 0;
    return value;
}

// The separator at position 2 or 3 (counted from 1), not last, with digits
// on both sides.
bool SeparatorAmidDigits(const String& s, wchar_t separator, bool& placed)
{
    const size_t p = s.find(separator);
    placed = p != String::npos && p >= 1 && p <= 2 && p + 1 < s.size();
    return placed && IsNumericChar(s[p - 1]) && IsNumericChar(s[p + 1]);
}

} // namespace

// Texts and number values of one column's rows, read once per sort run.
struct TAdvStringGrid::TSortColumnCache {
    std::vector<String> texts;
    std::vector<Byte> kinds;
    std::vector<double> numbers;
    std::vector<bool> read;
};

String TAdvStringGrid::SortCellText(int ACol, int ARow)
{
    return FSortSettings->GetSortOnVirtualCells() ? GetCellText(ACol, ARow) : GetRawCell(ACol, ARow);
}

const String& TAdvStringGrid::CachedSortText(int ACol, int ARow, Byte* Kind)
{
    if (!FSortRun || ARow < FSortRun->first || ARow >= FSortRun->first + FSortRun->count || ACol < 0) {
        FSortScratch = SortCellText(ACol, ARow);
        if (Kind)
            *Kind = DetectValueKind(FSortScratch);
        return FSortScratch;
    }
    if (static_cast<int>(FSortRun->columns.size()) <= ACol)
        FSortRun->columns.resize(static_cast<size_t>(ACol) + 1);
    TSortColumnCache& cache = FSortRun->columns[static_cast<size_t>(ACol)];
    const size_t n = static_cast<size_t>(FSortRun->count);
    if (cache.read.empty()) {
        cache.texts.resize(n);
        cache.kinds.assign(n, 0xFF);
        cache.numbers.assign(n, NotRead);
        cache.read.assign(n, false);
    }
    const size_t i = static_cast<size_t>(ARow - FSortRun->first);
    if (!cache.read[i]) {
        cache.texts[i] = SortCellText(ACol, ARow);
        cache.read[i] = true;
    }
    if (Kind) {
        if (cache.kinds[i] == 0xFF)
            cache.kinds[i] = DetectValueKind(cache.texts[i]);
        *Kind = cache.kinds[i];
    }
    return cache.texts[i];
}

bool TAdvStringGrid::SortNumber(int ACol, int ARow, const String& Text, const String& Prefix,
                                const String& Suffix, bool Financial, double& Value)
{
    // Only the plain numeric form is remembered: prefix and suffix may change
    // from one compare to the next.
    double* slot = nullptr;
    if (FSortRun && !Financial && Prefix.empty() && Suffix.empty() && ARow >= FSortRun->first &&
        ARow < FSortRun->first + FSortRun->count && ACol < static_cast<int>(FSortRun->columns.size()) &&
        !FSortRun->columns[static_cast<size_t>(ACol)].numbers.empty())
        slot = &FSortRun->columns[static_cast<size_t>(ACol)].numbers[static_cast<size_t>(ARow - FSortRun->first)];
    if (slot && *slot != NotRead) {
        Value = std::fabs(*slot) == HUGE_VAL ? 0 : *slot;
        return !std::isnan(*slot);
    }
    bool converted = ConvertFloat(NumberText(Text, Prefix, Suffix, Financial), Value);
    if (!converted && GetCellText(ACol, ARow).empty()) {
        Value = 0;
        converted = true;
    }
    if (slot)
        *slot = converted ? Value : std::nan("");
    return converted;
}

// --- compares ------------------------------------------------------------------------------

int TAdvStringGrid::CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Direction)
{
    ++FCompares;
    TSortStyle format = FSortSettings->GetAutoFormat()    ? ssAutomatic
                        : FSortSettings->GetIgnoreCase() ? ssAlphaNoCase
                                                         : FSortSettings->GetDefaultFormat();
    String prefix, suffix;
    DoGetFormat(ACol, format, prefix, suffix);

    Byte kind1 = vkText;
    String s1 = CachedSortText(ACol, ARow1, &kind1);
    String s2 = CachedSortText(ACol, ARow2, nullptr);

    if (format == ssAutomatic) {
        if (IsNumberKind(kind1)) {
            format = ssNumeric;
        } else {
            format = FSortSettings->GetIgnoreCase() ? ssAlphaNoCase : ssAlphabetic;
            bool placed = false;
            const bool dateDigits = SeparatorAmidDigits(s1, FormatSettings.DateSeparator, placed);
            if (placed) {
                if (dateDigits && s2.find(FormatSettings.DateSeparator) != String::npos)
                    format = s1.find(FormatSettings.TimeSeparator) != String::npos ? ssDateTime : ssDate;
            } else if (SeparatorAmidDigits(s1, FormatSettings.TimeSeparator, placed) &&
                       s2.find(FormatSettings.TimeSeparator) != String::npos) {
                format = ssTime;
            }
        }
    }
    if (format == ssAlphaNumeric || format == ssAlphaNumericNoCase) {
        const bool numbers = IsNumberKind(DetectValueKind(s1)) && IsNumberKind(DetectValueKind(s2));
        format = numbers ? ssNumeric : (format == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase);
    }

    int r = 0;
    switch (format) {
    case ssAutomatic:
    case ssAlphabetic:
    case ssAlphaCase:
        r = Sign(s1.compare(s2));
        break;
    case ssAlphaNoCase:
        s1 = UpperCase(s1);
        s2 = UpperCase(s2);
        r = Sign(s1.compare(s2));
        break;
    case ssAnsiAlphaCase:
        r = Sign(AnsiCompareStr(s1, s2));
        break;
    case ssAnsiAlphaNoCase:
        r = Sign(AnsiCompareText(s1, s2));
        break;
    case ssNumeric:
    case ssFinancial: {
        const bool financial = format == ssFinancial;
        double v1 = 0, v2 = 0;
        const bool ok1 = SortNumber(ACol, ARow1, s1, prefix, suffix, financial, v1);
        const bool ok2 = SortNumber(ACol, ARow2, s2, prefix, suffix, financial, v2);
        r = (!ok1 && !ok2) ? 0 : Order(v1, v2);
        s1 = RemoveFirst(RemoveFirst(s1, suffix), prefix);
        s2 = RemoveFirst(RemoveFirst(s2, suffix), prefix);
        break;
    }
    case ssDate:
    case ssDateTime:
        r = Order(DateValue(s1), DateValue(s2));
        break;
    case ssShortDateEU:
        r = Order(ParseDateDMY(s1), ParseDateDMY(s2));
        break;
    case ssShortDateUS:
        r = Order(ParseDateMDY(s1), ParseDateMDY(s2));
        break;
    case ssTime:
        r = Order(TimeValue(s1), TimeValue(s2));
        break;
    case ssCustom:
        if (OnCustomCompare)
            OnCustomCompare(this, s1, s2, r);
        break;
    case ssRaw:
        if (OnRawCompare)
            OnRawCompare(this, ACol, ARow1, ARow2, r);
        break;
    case ssHTML:
        s1 = StripHTMLTags(GetCellText(ACol, ARow1));
        s2 = StripHTMLTags(GetCellText(ACol, ARow2));
        r = Sign(s1.compare(s2));
        break;
    case ssImages:
    case ssCheckBox:
        // Cells hold no pictures or check boxes of their own yet: all equal.
        break;
    case ssNatural:
        r = CompareStrLogical(s1, s2);
        break;
    case ssAlphaNumeric:
    case ssAlphaNumericNoCase:
        break;
    }

    if (FSortSettings->GetIgnoreBlanks()) {
        // Blanks go to the top (blFirst) or the bottom (blLast) whatever the direction.
        const bool last = FSortSettings->GetBlankPos() == blLast;
        const int away = (Direction == sdAscending) == last ? 1 : -1;
        if (s1.empty() && !s2.empty())
            r = away;
        else if (s2.empty() && !s1.empty())
            r = -away;
    }
    return r;
}

int TAdvStringGrid::CompareRows(int ACol, int ARow1, int ARow2)
{
    // Iterative form of the tie-break: the columns to the right, in turn.
    const int lastCol = TotalColCount() - 1;
    for (int col = ACol;; ++col) {
        const int r = IsIgnoredColumn(col) ? 0 : CompareCells(col, ARow1, ARow2, FSortSettings->GetDirection());
        if (r != 0 || !FSortSettings->GetFull() || col >= lastCol)
            return r;
    }
}

int TAdvStringGrid::CompareRowsIndexed(int Depth, int ARow1, int ARow2)
{
    for (int d = Depth; d < FSortIndexes->Count(); ++d) {
        const int col = FSortIndexes->GetColumn(d);
        const bool ascending = FSortIndexes->GetAscending(d);
        const int r = IsIgnoredColumn(col) ? 0 : CompareCells(col, ARow1, ARow2, ascending ? sdAscending : sdDescending);
        if (r != 0)
            return ascending ? r : -r;
        if (!FSortSettings->GetFull())
            return 0;
    }
    return 0;
}

// --- ordering and moving rows ---------------------------------------------------------------

namespace {

// A stable merge sort of positions; it stays in bounds whatever the
// comparison answers, even when the compares contradict one another.
template <class Less>
void StableOrder(std::vector<int>& items, Less less)
{
    std::vector<int> buffer(items.size());
    for (size_t width = 1; width < items.size(); width *= 2) {
        for (size_t lo = 0; lo < items.size(); lo += 2 * width) {
            const size_t mid = std::min(lo + width, items.size());
            const size_t hi = std::min(lo + 2 * width, items.size());
            size_t a = lo, b = mid, out = lo;
            while (a < mid && b < hi)
                buffer[out++] = less(items[b], items[a]) ? items[b++] : items[a++];
            while (a < mid)
                buffer[out++] = items[a++];
            while (b < hi)
                buffer[out++] = items[b++];
        }
        items.swap(buffer);
    }
}

} // namespace

void TAdvStringGrid::PlaceRows(int Left, const std::vector<int>& Order)
{
    // Order[k] is the row that goes to Left + k. Each exchange puts one row
    // in its place for good.
    const int n = static_cast<int>(Order.size());
    std::vector<int> at(static_cast<size_t>(n));      // row now at Left + k
    std::vector<int> where(static_cast<size_t>(n));   // where row Left + k now is
    for (int k = 0; k < n; ++k) {
        at[static_cast<size_t>(k)] = Left + k;
        where[static_cast<size_t>(k)] = k;
    }
    for (int k = 0; k < n; ++k) {
        const int wanted = Order[static_cast<size_t>(k)];
        const int from = where[static_cast<size_t>(wanted - Left)];
        if (from == k)
            continue;
        SortSwapRows(Left + k, Left + from);
        const int displaced = at[static_cast<size_t>(k)];
        at[static_cast<size_t>(from)] = displaced;
        where[static_cast<size_t>(displaced - Left)] = from;
        at[static_cast<size_t>(k)] = wanted;
        where[static_cast<size_t>(wanted - Left)] = k;
    }
}

void TAdvStringGrid::SortRange(int Left, int Right, const std::function<int(int, int)>& Compare)
{
    if (Right <= Left)
        return;
    std::vector<int> order;
    for (int r = Left; r <= Right; ++r)
        order.push_back(r);
    TSortRun run;
    run.first = Left;
    run.count = Right - Left + 1;
    TSortRun* outer = std::exchange(FSortRun, &run);
    try {
        StableOrder(order, [&](int a, int b) { return Compare(a, b) < 0; });
    } catch (...) {
        FSortRun = outer;
        throw;
    }
    FSortRun = outer;
    PlaceRows(Left, order);
}

void TAdvStringGrid::QuickSort(int Col, int Left, int Right)
{
    const int dir = FSortSettings->GetDirection() == sdAscending ? 1 : -1;
    SortRange(Left, Right, [this, Col, dir](int a, int b) { return dir * CompareRows(Col, a, b); });
}

void TAdvStringGrid::QuickSortIndexed(int Left, int Right)
{
    SortRange(Left, Right, [this](int a, int b) { return CompareRowsIndexed(0, a, b); });
}

void TAdvStringGrid::InitSortXRef()
{
    FSortRowXRef->Clear();
    for (int r = 0; r < GetRowCount(); ++r)
        FSortRowXRef->Add(r);
}

void TAdvStringGrid::SortSwapRows(int ARow1, int ARow2)
{
    ++FSwaps;
    if (ARow1 < FSortRowXRef->Count() && ARow2 < FSortRowXRef->Count()) {
        const Integer x = FSortRowXRef->GetItem(ARow1);
        FSortRowXRef->SetItem(ARow1, FSortRowXRef->GetItem(ARow2));
        FSortRowXRef->SetItem(ARow2, x);
    }
    if (FUseEnabledRows) {
        const bool e1 = GetRowEnabled(ARow1);
        SetRowEnabled(ARow1, GetRowEnabled(ARow2));
        SetRowEnabled(ARow2, e1);
    }
    if (FSortSettings->GetSingleColumn()) {
        const int col = FSortSettings->GetColumn();
        SwapCells({col, ARow1}, {col, ARow2});
        return;
    }
    SwapStoredRows(ARow1, ARow2);
    const int h1 = GetRowHeights(ARow1);
    const int h2 = GetRowHeights(ARow2);
    if (h1 != h2) {
        SetRowHeights(ARow1, h2);
        SetRowHeights(ARow2, h1);
    }
    if (FMouseActions->GetDisjunctRowSelect() && FNavigation->GetMoveRowOnSort()) {
        const int m1 = NumHiddenRows() > 0 ? RealRowIndex(ARow1) : ARow1;
        const int m2 = NumHiddenRows() > 0 ? RealRowIndex(ARow2) : ARow2;
        const bool s1 = GetRowSelect(m1);
        SetRowSelect(m1, GetRowSelect(m2));
        SetRowSelect(m2, s1);
    }
    if (FShowModified->GetEnabled()) {
        const bool m1 = GetRowModified(ARow1);
        SetRowModified(ARow1, GetRowModified(ARow2));
        SetRowModified(ARow2, m1);
    }
    if (FSortRow == ARow1)
        FSortRow = ARow2;
    else if (FSortRow == ARow2)
        FSortRow = ARow1;
}

// --- columns that move -----------------------------------------------------------------------

namespace {

// Where a column index ends up when the column at From moves to To: the
// moved one lands at To and those it passed shift one place toward From.
int AfterMove(int Index, int From, int To)
{
    if (Index == From)
        return To;
    if (From < To && Index > From && Index <= To)
        return Index - 1;
    if (To < From && Index >= To && Index < From)
        return Index + 1;
    return Index;
}

} // namespace

void TAdvStringGrid::SortColumnMoved(int From, int To)
{
    if (From == To)
        return;
    if (FSortSettings->GetColumn() >= 0)
        FSortSettings->SetColumn(AfterMove(FSortSettings->GetColumn(), From, To));
    if (!FSortSettings->GetIndexShow())
        return;
    // The column is in the low 16 bits; the direction flag and the rest stay.
    for (int i = 0; i < FSortIndexes->Count(); ++i) {
        const auto item = static_cast<uint32_t>(FSortIndexes->GetItem(i));
        const auto column = static_cast<uint32_t>(AfterMove(static_cast<int>(item & 0xFFFF), From, To));
        FSortIndexes->SetItem(i, static_cast<Integer>((item & 0xFFFF0000u) | (column & 0xFFFF)));
    }
}

// --- the sort routines ------------------------------------------------------------------------

void TAdvStringGrid::RunSort(bool Indexed)
{
    if (GetRowCount() != FSortRowXRef->Count())
        InitSortXRef();
    if (!Indexed)
        FSortIndexes->Clear();

    // Column 0 stays where it is with NormalCellsOnly.
    std::vector<String> column0;
    const bool keepColumn0 = FSortSettings->GetNormalCellsOnly() && GetFixedCols() > 0;
    if (keepColumn0)
        for (int r = 0; r < GetRowCount(); ++r)
            column0.push_back(GetRawCell(0, r));

    const int topRow = GetTopRowEx();
    const bool clearTextOnly = std::exchange(FClearTextOnly, false);
    const int r0 = GetRowEx();
    const bool moveRow = FNavigation->GetMoveRowOnSort();
    BeginUpdate();
    try {
        FSortRow = r0;
        const int first = GetFixedRows();
        const int last = GetRowCount() - FFixedFooters - 1;
        if (Indexed)
            QuickSortIndexed(first, last);
        else
            QuickSort(FSortSettings->GetColumn(), first, last);

        if (!Indexed && FMouseActions->GetDisjunctRowSelect()) {
            // the marks moved with their rows; the current row stays put
        } else if (moveRow) {
            if (FSortRow >= 0 && FSortRow < GetRowCount())
                SetRowEx(FSortRow);
        } else if (r0 >= GetFixedRows() && r0 < GetRowCount()) {
            SetRowEx(r0);
        }
        if (!Indexed && OnRowUpdate && !moveRow)
            OnRowUpdate(this, r0, GetRowEx());
    } catch (...) {
        FClearTextOnly = clearTextOnly;
        EndUpdate();
        throw;
    }
    if (keepColumn0)
        for (int r = 0; r < GetRowCount() && r < static_cast<int>(column0.size()); ++r)
            SetRawCell(0, r, column0[static_cast<size_t>(r)]);
    if (FNavigation->GetKeepScrollOnSort())
        SetTopRowEx(topRow);
    FClearTextOnly = clearTextOnly;
    EndUpdate();
    Invalidate();
}

void TAdvStringGrid::QSort()
{
    if (FSortSettings->GetColumn() < 0)
        return;
    RunSort(false);
}

void TAdvStringGrid::QSortIndexed()
{
    if (GetRowCount() != FSortRowXRef->Count())
        InitSortXRef();
    if (FSortIndexes->Count() == 0)
        throw EAdvGridError(L"No indexes specified for indexed sort");
    RunSort(true);
}

void TAdvStringGrid::QUnSort()
{
    if (GetRowCount() != FSortRowXRef->Count())
        return;  // nothing was recorded for the present rows
    std::vector<String> column0;
    const bool keepColumn0 = FSortSettings->GetNormalCellsOnly() && GetFixedCols() > 0;
    if (keepColumn0)
        for (int r = 0; r < GetRowCount(); ++r)
            column0.push_back(GetRawCell(0, r));
    BeginUpdate();
    try {
        // Entry r of the cross-reference is where the row now at r came
        // from; a row whose entry is out of range stays last.
        const int n = GetRowCount();
        std::vector<int> order;
        for (int r = 0; r < n; ++r)
            order.push_back(r);
        std::vector<int> key(static_cast<size_t>(n));
        for (int r = 0; r < n; ++r)
            key[static_cast<size_t>(r)] = FSortRowXRef->GetItem(r);
        StableOrder(order, [&key](int a, int b) { return key[static_cast<size_t>(a)] < key[static_cast<size_t>(b)]; });
        PlaceRows(0, order);
        if (FSortSettings->GetIndexShow())
            FSortIndexes->Clear();
    } catch (...) {
        EndUpdate();
        throw;
    }
    if (keepColumn0)
        for (int r = 0; r < GetRowCount() && r < static_cast<int>(column0.size()); ++r)
            SetRawCell(0, r, column0[static_cast<size_t>(r)]);
    EndUpdate();
    Invalidate();
}

void TAdvStringGrid::Sort(int Column, TSortDirection Direction)
{
    FSortSettings->SetColumn(Column);
    FSortSettings->SetDirection(Direction);
    QSort();
    CellControlsUpdate(true);
}

void TAdvStringGrid::SortByColumn(int Col)
{
    if (GetRowCount() <= 1)
        return;
    FSortSettings->SetColumn(Col);
    QSort();
}

bool TAdvStringGrid::SortLine(int Col, int ARow1, int ARow2)
{
    const TSortDirection direction = FSortSettings->GetDirection();
    const int wanted = direction == sdAscending ? 1 : -1;
    for (int col = Col; col < TotalColCount(); ++col) {
        const int r = CompareCells(col, ARow1, ARow2, direction);
        if (r == wanted) {
            SortSwapRows(ARow1, ARow2);
            return true;
        }
        if (r != 0)
            return false;
    }
    return false;
}

TColumnType TAdvStringGrid::ColumnType(int Col)
{
    const int r1 = GetFixedRows();
    const int r2 = r1 + 1;
    const Byte k1 = DetectValueKind(GetCellText(Col, r1));
    const Byte k2 = DetectValueKind(GetCellText(Col, r2));
    if (k1 != k2)
        return ctAlpha;
    switch (k1) {
    case vkInteger:
        return ctNumeric;
    case vkFloat:
        return ctFloat;
    case vkDate:
        return ctDate;
    case vkTime:
        return ctTime;
    default:
        return ctAlpha;
    }
}
