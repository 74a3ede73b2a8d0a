// Sorting rows: the compare of two cells with the value format detected per
// compare, the tie-break on further columns, the plain and indexed sorts,
// the return to the order before sorting, and the sort-settings string.
//
// A sort first works out the new order of the rows, reading them where
// they stand, and only then moves them, each move through SortSwapRows so
// that heights, marks and the cross-reference follow. Equal rows keep
// their order, and a compare that raises leaves every row in place.
// While it works out the order it reads each compared cell once, and every
// compare gives the answer CompareCells gives for the same two cells.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "HTMLUtils.h"
#include "ScopeExit.h"
#include "SysUtils.h"
#include <algorithm>
#include <iterator>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <numeric>
#include <string_view>
#include <typeinfo>

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

// Plain decimal text (a sign, at most 19 digits and at most one "." among
// them) read without the run-time conversion, which is many times slower
// here. The run time reads into extended precision and rounds that to a
// double; the exact digits divided once by an exact power of ten in extended
// precision and then rounded to a double give the same value to the last
// bit, where the correctly rounded reading of std::from_chars into a double
// differs now and then.
bool ParsePlainNumber(std::wstring_view text, double& value)
{
    static constexpr long double Powers[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                             1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                             1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L};
    constexpr size_t MostDigits = 19;  // any 19 digits fit 64 bits exactly
    const size_t n = text.size();
    if (n == 0 || n > MostDigits + 2)
        return false;
    char digits[MostDigits];
    size_t used = 0;
    size_t decimals = 0;
    bool point = false;
    size_t i = 0;
    const bool negative = text[0] == L'-';
    if (negative || text[0] == L'+')
        i = 1;
    for (; i < n; ++i) {
        const wchar_t ch = text[i];
        if (ch >= L'0' && ch <= L'9') {
            if (used == MostDigits)
                return false;
            digits[used++] = static_cast<char>(ch);
            decimals += point ? 1 : 0;
        } else if (ch == L'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (used == 0)
        return false;
    uint64_t mantissa = 0;
    std::from_chars(digits, digits + used, mantissa);
    const double read = static_cast<double>(static_cast<long double>(mantissa) / Powers[decimals]);
    value = negative ? -read : read;
    return true;
}

// The run-time conversion: leading blanks, a sign, "." decimals and an
// exponent, the whole text used. A text that fails part-way keeps the value
// read so far (0 when nothing could be read).
bool ConvertFloat(const String& text, double& value)
{
    if (ParsePlainNumber(text, value))
        return true;
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

// The value a date or time format compares.
double FormatValue(const String& text, TSortStyle format)
{
    switch (format) {
    case ssShortDateEU:
        return ParseDateDMY(text);
    case ssShortDateUS:
        return ParseDateMDY(text);
    case ssTime:
        return TimeValue(text);
    default:
        return DateValue(text);
    }
}

// The separator at position 2 or 3 (counted from 1), not last, with digits
// on both sides.
bool SeparatorAmidDigits(const String& s, wchar_t separator, bool& placed)
{
    const size_t p = s.find(separator);
    placed = p != String::npos && p >= 1 && p <= 2 && p + 1 < s.size();
    return placed && IsNumericChar(s[p - 1]) && IsNumericChar(s[p + 1]);
}

// DetectValueKind is asked only when the first character after the blanks
// can start a number, a date or a time; a thousand separator can (".5" is a
// number where "." parts the thousands).
Byte ValueKind(const String& s)
{
    size_t i = 0;
    while (i < s.size() && s[i] <= L' ')
        ++i;
    if (i == s.size())
        return vkText;
    const wchar_t ch = s[i];
    if (ch < 128 && (ch < L'0' || ch > L'9') && ch != L'-' && ch != FormatSettings.DecimalSeparator &&
        ch != FormatSettings.ThousandSeparator)
        return vkText;
    return DetectValueKind(s);
}

// DetectValueKind's answer, without asking it, for the texts a sort meets
// most: ASCII digits with a leading minus and at most one decimal separator,
// or digits parted by date separators or by time separators. False for any
// other text. The separators must differ from one another, from the digits,
// the minus and the exponent's letters.
bool QuickValueKind(std::wstring_view s, wchar_t date, wchar_t time, wchar_t decimal, Byte& kind)
{
    const size_t n = s.size();
    if (n == 0)
        return false;
    size_t decimals = 0, dates = 0, times = 0;
    bool adjacent = false;
    wchar_t previous = 0;
    for (size_t j = 0; j < n; ++j) {
        const wchar_t c = s[j];
        if (c >= L'0' && c <= L'9') {
        } else if (c == L'-' && j == 0) {
        } else if (c == decimal) {
            ++decimals;
        } else if (c == date || c == time) {
            adjacent = adjacent || c == previous;
            ++(c == date ? dates : times);
        } else {
            return false;
        }
        previous = c;
    }
    const bool minus = s[0] == L'-';
    if (dates + times == 0) {
        if (decimals > 1)
            return false;
        kind = decimals ? vkFloat : vkInteger;
        return true;
    }
    // Digits first, and one kind of separator only.
    if (minus || decimals > 0 || (dates > 0 && times > 0) || s[0] == date || s[0] == time)
        return false;
    kind = adjacent || dates + times > 2 ? vkText : (dates ? vkDate : vkTime);
    return true;
}

// The ordinal compare of the texts as the ASCII-only upper-casing leaves them.
int CompareNoCase(std::wstring_view a, std::wstring_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        wchar_t x = a[i];
        wchar_t y = b[i];
        if (x >= L'a' && x <= L'z')
            x = static_cast<wchar_t>(x - 32);
        if (y >= L'a' && y <= L'z')
            y = static_cast<wchar_t>(y - 32);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return Order(a.size(), b.size());
}

} // namespace

String TAdvStringGrid::SortCellText(int ACol, int ARow)
{
    return FSortSettings->GetSortOnVirtualCells() ? GetCellText(ACol, ARow) : GetRawCell(ACol, ARow);
}

bool TAdvStringGrid::SortNumber(int ACol, int ARow, const String& Text, const String& Prefix, const String& Suffix,
                                bool Financial, double& Value)
{
    bool converted = ConvertFloat(NumberText(Text, Prefix, Suffix, Financial), Value);
    if (!converted && GetCellText(ACol, ARow).empty()) {
        Value = 0;
        converted = true;
    }
    return converted;
}

// --- the keys of one sort ------------------------------------------------------------------

// The cells a sort compares, each read once: its text, its kind and where
// its separators stand, and, the first time a compare asks, its number, its
// date or time value and its text without HTML tags. Each column keeps them
// in arrays of their own, so that a compare touches only what it reads. The
// settings, the locale's separators and which events are assigned are read
// once too.
struct TAdvStringGrid::TSortKeys {
    enum : uint16_t {
        Read = 1,
        NumberRead = 2,
        Converted = 4,
        DatePlaced = 8,   // the first date separator at position 2 or 3, not last
        DateDigits = 16,  // ... with digits on both sides
        HasDate = 32,
        HasTime = 64,
        TimeDigits = 128,  // the first time separator placed so, digits on both sides
        StrippedRead = 256,
        ValueRead = 512,  // values[i] holds the value of valueFormats[i]
        KindShift = 12,  // the value kind in the top bits
    };
    struct TColumn {
        unsigned sort = 0;  // the sort the arrays were last set up for
        std::vector<uint16_t> flags;
        // The first eight code units, four to a number, the first highest:
        // numbers that differ order the texts as the ordinal compare does.
        std::vector<uint64_t> prefix;
        // The texts one after another, each at its start for its length.
        String pool;
        std::vector<uint32_t> starts;
        std::vector<uint32_t> lengths;
        std::vector<double> numbers;  // what the plain number conversion left, with Converted
        std::vector<double> values;   // the value of the date or time format in valueFormats
        std::vector<Byte> valueFormats;
        std::vector<String> stripped;  // texts without HTML tags
    };

    TAdvStringGrid& grid;
    unsigned sort = 0;  // counts the sorts, so that a column knows whether its keys are this sort's
    bool busy = false;
    int first = 0;
    int count = 0;
    TSortStyle startFormat = ssAutomatic;
    bool formatEvent = false;
    bool ignoreCase = false;
    bool ignoreBlanks = false;
    bool blanksLast = false;
    bool full = false;
    bool virtualCells = false;
    bool plainShown = false;  // a cell without properties shows its stored text
    bool quickKinds = false;  // the locale's separators let QuickValueKind answer
    wchar_t dateSeparator = 0;
    wchar_t timeSeparator = 0;
    wchar_t decimalSeparator = 0;
    int lastCol = -1;
    std::vector<char> ignored;  // per column up to lastCol
    std::vector<TColumn> columns;
    // The positions a sort orders and the merge's second array.
    std::vector<int> order;
    std::vector<int> merged;

    explicit TSortKeys(TAdvStringGrid& Grid) : grid(Grid) {}

    // Readies the keys for a sort of Count rows from First. The arrays stay
    // from one sort to the next: allocating and freeing them again cost a
    // small sort more than its compares.
    void Begin(int First, int Count)
    {
        busy = true;
        ++sort;
        first = First;
        count = Count;
        lastCol = grid.TotalColCount() - 1;
        TSortSettings* settings = grid.FSortSettings.get();
        ignoreCase = settings->GetIgnoreCase();
        startFormat = settings->GetAutoFormat() ? ssAutomatic : ignoreCase ? ssAlphaNoCase : settings->GetDefaultFormat();
        formatEvent = static_cast<bool>(grid.OnGetFormat);
        ignoreBlanks = settings->GetIgnoreBlanks();
        blanksLast = settings->GetBlankPos() == blLast;
        full = settings->GetFull();
        virtualCells = settings->GetSortOnVirtualCells();
        // Nothing changes a text on its way to the screen: no event, no
        // link shortening, no GetDisplText of a descendant.
        plainShown = typeid(grid) == typeid(TAdvStringGrid) && !grid.OnGetDisplText && !grid.OnGetDisplWideText &&
                     !grid.FURLShowInText;
        dateSeparator = FormatSettings.DateSeparator;
        timeSeparator = FormatSettings.TimeSeparator;
        decimalSeparator = FormatSettings.DecimalSeparator;
        const wchar_t separators[] = {dateSeparator, timeSeparator, decimalSeparator, FormatSettings.ThousandSeparator};
        quickKinds = true;
        for (size_t a = 0; a < std::size(separators); ++a) {
            const wchar_t c = separators[a];
            quickKinds = quickKinds && !IsNumericChar(c) && c != L'-' && c != L'e' && c != L'E';
            for (size_t b = a + 1; b < std::size(separators); ++b)
                quickKinds = quickKinds && c != separators[b];
        }
        ignored.resize(static_cast<size_t>(std::max(lastCol + 1, 0)));
        for (int c = 0; c <= lastCol; ++c)
            ignored[static_cast<size_t>(c)] = grid.IsIgnoredColumn(c);
        if (columns.size() < ignored.size())
            columns.resize(ignored.size());
    }

    // After a sort: the arrays of a few columns stay, up to a limit, the
    // texts without tags go.
    void End()
    {
        busy = false;
        constexpr size_t Kept = 32u << 20;
        size_t kept = 0;
        for (TColumn& column : columns) {
            column.stripped.clear();
            const size_t size = column.flags.capacity() * sizeof(uint16_t) +
                                column.prefix.capacity() * sizeof(uint64_t) +
                                column.pool.capacity() * sizeof(wchar_t) +
                                (column.starts.capacity() + column.lengths.capacity()) * sizeof(uint32_t) +
                                (column.numbers.capacity() + column.values.capacity()) * sizeof(double) +
                                column.valueFormats.capacity();
            if (kept + size <= Kept)
                kept += size;
            else
                column = TColumn();
        }
        if (columns.size() > ignored.size())
            columns.resize(ignored.size());
    }

    bool Ignored(int col) const
    {
        return col >= 0 && col < static_cast<int>(ignored.size()) ? ignored[static_cast<size_t>(col)] != 0
                                                                   : grid.IsIgnoredColumn(col);
    }

    TColumn& Column(int col)
    {
        if (static_cast<size_t>(col) >= columns.size())
            columns.resize(static_cast<size_t>(col) + 1);
        TColumn& column = columns[static_cast<size_t>(col)];
        if (column.sort != sort) {
            column.sort = sort;
            const size_t n = static_cast<size_t>(count);
            column.flags.assign(n, 0);
            column.prefix.resize(2 * n);
            column.starts.resize(n);
            column.lengths.resize(n);
            column.pool.clear();
            column.pool.reserve(16 * n);
        }
        return column;
    }

    // The place of a row's key in its column's arrays, read on first use.
    size_t Index(TColumn& column, int col, int row)
    {
        const size_t i = static_cast<size_t>(row - first);
        if (!(column.flags[i] & Read))
            ReadCell(column, i, col, row);
        return i;
    }

    void ReadCell(TColumn& column, size_t i, int col, int row)
    {
        // The stored text is read in place, without virtual cells or where it
        // is what the cell shows (properties may make it show another cell's).
        const bool stored = !virtualCells || (plainShown && !grid.GetRawObject(col, row));
        String shown;
        if (!stored)
            shown = grid.GetCellText(col, row);
        const String& text = stored ? grid.StoredText(col, row) : shown;
        column.starts[i] = static_cast<uint32_t>(column.pool.size());
        column.lengths[i] = static_cast<uint32_t>(text.size());
        column.pool += text;
        uint64_t prefix[2] = {0, 0};
        for (size_t k = 0; k < 8 && k < text.size(); ++k)
            prefix[k / 4] |= static_cast<uint64_t>(static_cast<uint16_t>(text[k])) << (48 - 16 * (k % 4));
        column.prefix[2 * i] = prefix[0];
        column.prefix[2 * i + 1] = prefix[1];
        Byte kind = vkText;
        if (!quickKinds || !QuickValueKind(text, dateSeparator, timeSeparator, decimalSeparator, kind))
            kind = ValueKind(text);
        uint16_t flags = Read | static_cast<uint16_t>(kind << KindShift);
        // The first of each separator, in one walk.
        const size_t n = text.size();
        size_t date = n, time = n;
        for (size_t k = 0; k < n && (date == n || time == n); ++k) {
            if (text[k] == dateSeparator && date == n)
                date = k;
            if (text[k] == timeSeparator && time == n)
                time = k;
        }
        // Placed at position 2 or 3 (counted from 1), not last; digits on both sides.
        const auto placed = [n](size_t at) { return at >= 1 && at <= 2 && at + 1 < n; };
        const auto amidDigits = [&text](size_t at) { return IsNumericChar(text[at - 1]) && IsNumericChar(text[at + 1]); };
        if (date < n) {
            flags |= HasDate;
            if (placed(date))
                flags |= DatePlaced | (amidDigits(date) ? DateDigits : 0);
        }
        if (time < n) {
            flags |= HasTime;
            if (placed(time) && amidDigits(time))
                flags |= TimeDigits;
        }
        column.flags[i] = flags;
    }

    // Valid until the next cell of the column is read.
    static std::wstring_view Text(const TColumn& column, size_t i)
    {
        return {column.pool.data() + column.starts[i], column.lengths[i]};
    }

    static Byte Kind(uint16_t flags) { return static_cast<Byte>(flags >> KindShift); }

    // The ordinal compare of two texts, mostly decided by their prefixes.
    static int CompareOrdinal(const TColumn& column, size_t i1, size_t i2)
    {
        const uint64_t* a = &column.prefix[2 * i1];
        const uint64_t* b = &column.prefix[2 * i2];
        if (a[0] != b[0])
            return a[0] < b[0] ? -1 : 1;
        if (a[1] != b[1])
            return a[1] < b[1] ? -1 : 1;
        return Sign(Text(column, i1).compare(Text(column, i2)));
    }

    // The plain numeric value of a cell: no prefix, no suffix, not financial.
    bool Number(TColumn& column, size_t i, int col, int row)
    {
        uint16_t& flags = column.flags[i];
        if (!(flags & NumberRead)) {
            if (column.numbers.size() < static_cast<size_t>(count))
                column.numbers.resize(static_cast<size_t>(count));
            const std::wstring_view text = Text(column, i);
            double value = 0;
            bool converted = false;
            if (decimalSeparator != L'.' && text.find(decimalSeparator) != std::wstring_view::npos)
                converted = ConvertFloat(NumberText(String(text), String(), String(), false), value);
            else
                converted = ParsePlainNumber(text, value) || ConvertFloat(String(text), value);
            // An empty displayed text counts as 0; with virtual cells the text
            // read is the displayed one.
            if (!converted && (virtualCells ? text.empty() : grid.GetCellText(col, row).empty())) {
                value = 0;
                converted = true;
            }
            column.numbers[i] = value;
            flags |= NumberRead | (converted ? Converted : 0);
        }
        return (flags & Converted) != 0;
    }

    double Value(TColumn& column, size_t i, TSortStyle format)
    {
        if (format == ssDateTime)
            format = ssDate;
        if (!HasValue(column, i, format)) {
            column.values[i] = FormatValue(String(Text(column, i)), format);
            column.valueFormats[i] = static_cast<Byte>(format);
            column.flags[i] |= ValueRead;
        }
        return column.values[i];
    }

    // Value(ssDate) read from the stored text in place.
    void StoredValue(TColumn& column, size_t i, int col, int row)
    {
        if (!HasValue(column, i, ssDate)) {
            column.values[i] = FormatValue(grid.StoredText(col, row), ssDate);
            column.valueFormats[i] = static_cast<Byte>(ssDate);
            column.flags[i] |= ValueRead;
        }
    }

    bool HasValue(TColumn& column, size_t i, TSortStyle format)
    {
        if (column.values.size() < static_cast<size_t>(count)) {
            column.values.resize(static_cast<size_t>(count));
            column.valueFormats.resize(static_cast<size_t>(count));
        }
        return (column.flags[i] & ValueRead) && column.valueFormats[i] == format;
    }

    const String& Stripped(TColumn& column, size_t i, int col, int row)
    {
        if (column.stripped.size() < static_cast<size_t>(count))
            column.stripped.resize(static_cast<size_t>(count));
        if (!(column.flags[i] & StrippedRead)) {
            column.stripped[i] = StripHTMLTags(grid.GetCellText(col, row));
            column.flags[i] |= StrippedRead;
        }
        return column.stripped[i];
    }

    // Where every pair of a column's cells takes one format whatever the
    // order of the two (no format event, no blanks moved, and the cells all
    // numbers, all plain text, or all dates), a compare goes straight to
    // the values. Reads the whole column.
    enum TLane { General, Numbers, Ordinal, Dates };
    TLane Lane(int col)
    {
        if (formatEvent || ignoreBlanks || col < 0 || count <= 0)
            return General;
        TColumn& column = Column(col);
        bool numbers = true, ordinal = !ignoreCase, dates = true;
        for (int row = first; row < first + count; ++row) {
            const uint16_t f = column.flags[Index(column, col, row)];
            const bool number = IsNumberKind(Kind(f));
            numbers = numbers && number;
            ordinal = ordinal && !number && !(f & (DatePlaced | TimeDigits));
            dates = dates && !number && (f & DatePlaced) && (f & DateDigits) && (f & HasDate) && !(f & HasTime);
        }
        TLane lane = General;
        if (startFormat == ssNumeric || (startFormat == ssAutomatic && numbers))
            lane = Numbers;
        else if (startFormat == ssAlphabetic || startFormat == ssAlphaCase || (startFormat == ssAutomatic && ordinal))
            lane = Ordinal;
        else if (startFormat == ssDate || (startFormat == ssAutomatic && dates))
            lane = Dates;
        for (int row = first; row < first + count; ++row) {
            const size_t i = static_cast<size_t>(row - first);
            if (lane == Numbers)
                Number(column, i, col, row);
            else if (lane == Dates && virtualCells)
                Value(column, i, ssDate);
            else if (lane == Dates)
                StoredValue(column, i, col, row);
        }
        return lane;
    }

    // The compare of CompareKeys in a lane, for rows at i1 and i2.
    static int LaneCompare(const TColumn& column, TLane lane, size_t i1, size_t i2)
    {
        switch (lane) {
        case Numbers: {
            const bool ok1 = (column.flags[i1] & Converted) != 0;
            const bool ok2 = (column.flags[i2] & Converted) != 0;
            return (!ok1 && !ok2) ? 0 : Order(column.numbers[i1], column.numbers[i2]);
        }
        case Dates:
            return Order(column.values[i1], column.values[i2]);
        default:
            return CompareOrdinal(column, i1, i2);
        }
    }

    // The automatic format of a pair, from the first cell's kind and
    // separators and whether the second holds the separator.
    TSortStyle Detect(uint16_t f1, uint16_t f2) const
    {
        if (IsNumberKind(Kind(f1)))
            return ssNumeric;
        const TSortStyle text = ignoreCase ? ssAlphaNoCase : ssAlphabetic;
        if (f1 & DatePlaced) {
            if ((f1 & DateDigits) && (f2 & HasDate))
                return (f1 & HasTime) ? ssDateTime : ssDate;
            return text;
        }
        if ((f1 & TimeDigits) && (f2 & HasTime))
            return ssTime;
        return text;
    }
};

// --- compares ------------------------------------------------------------------------------

int TAdvStringGrid::CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Direction)
{
    ++FSort.compares;
    TSortStyle format = FSortSettings->GetAutoFormat()    ? ssAutomatic
                        : FSortSettings->GetIgnoreCase() ? ssAlphaNoCase
                                                         : FSortSettings->GetDefaultFormat();
    String prefix, suffix;
    DoGetFormat(ACol, format, prefix, suffix);

    String s1 = SortCellText(ACol, ARow1);
    String s2 = SortCellText(ACol, ARow2);

    if (format == ssAutomatic) {
        if (IsNumberKind(DetectValueKind(s1))) {
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

// CompareCells on the keys of a sort: the same answer for every pair.
int TAdvStringGrid::CompareKeys(TSortKeys& Keys, int ACol, int ARow1, int ARow2, TSortDirection Direction)
{
    ++FSort.compares;
    TSortStyle format = Keys.startFormat;
    String prefix, suffix;
    if (Keys.formatEvent)
        DoGetFormat(ACol, format, prefix, suffix);
    TSortKeys::TColumn& column = Keys.Column(ACol);
    const size_t i1 = Keys.Index(column, ACol, ARow1);
    const size_t i2 = Keys.Index(column, ACol, ARow2);
    const std::wstring_view s1 = TSortKeys::Text(column, i1);
    const std::wstring_view s2 = TSortKeys::Text(column, i2);

    if (format == ssAutomatic)
        format = Keys.Detect(column.flags[i1], column.flags[i2]);
    if (format == ssAlphaNumeric || format == ssAlphaNumericNoCase) {
        const bool numbers =
            IsNumberKind(TSortKeys::Kind(column.flags[i1])) && IsNumberKind(TSortKeys::Kind(column.flags[i2]));
        format = numbers ? ssNumeric : (format == ssAlphaNumeric ? ssAlphabetic : ssAlphaNoCase);
    }

    // Only blanks that count are looked at: a text costs a read from memory.
    bool blank1 = Keys.ignoreBlanks && s1.empty();
    bool blank2 = Keys.ignoreBlanks && s2.empty();
    int r = 0;
    switch (format) {
    case ssAutomatic:
    case ssAlphabetic:
    case ssAlphaCase:
        r = TSortKeys::CompareOrdinal(column, i1, i2);
        break;
    case ssAlphaNoCase:
        r = CompareNoCase(s1, s2);
        break;
    case ssAnsiAlphaCase:
        r = Sign(AnsiCompareStr(String(s1), String(s2)));
        break;
    case ssAnsiAlphaNoCase:
        r = Sign(AnsiCompareText(String(s1), String(s2)));
        break;
    case ssNumeric:
    case ssFinancial:
        if (format == ssNumeric && prefix.empty() && suffix.empty()) {
            const bool ok1 = Keys.Number(column, i1, ACol, ARow1);
            const bool ok2 = Keys.Number(column, i2, ACol, ARow2);
            r = (!ok1 && !ok2) ? 0 : Order(column.numbers[i1], column.numbers[i2]);
        } else {
            // Prefix and suffix may change from one compare to the next.
            const bool financial = format == ssFinancial;
            double v1 = 0, v2 = 0;
            const String t1(s1), t2(s2);
            const bool ok1 = SortNumber(ACol, ARow1, t1, prefix, suffix, financial, v1);
            const bool ok2 = SortNumber(ACol, ARow2, t2, prefix, suffix, financial, v2);
            r = (!ok1 && !ok2) ? 0 : Order(v1, v2);
            blank1 = RemoveFirst(RemoveFirst(t1, suffix), prefix).empty();
            blank2 = RemoveFirst(RemoveFirst(t2, suffix), prefix).empty();
        }
        break;
    case ssDate:
    case ssDateTime:
    case ssShortDateEU:
    case ssShortDateUS:
    case ssTime:
        r = Order(Keys.Value(column, i1, format), Keys.Value(column, i2, format));
        break;
    case ssCustom:
        if (OnCustomCompare)
            OnCustomCompare(this, String(s1), String(s2), r);
        break;
    case ssRaw:
        if (OnRawCompare)
            OnRawCompare(this, ACol, ARow1, ARow2, r);
        break;
    case ssHTML: {
        const String& h1 = Keys.Stripped(column, i1, ACol, ARow1);
        const String& h2 = Keys.Stripped(column, i2, ACol, ARow2);
        r = Sign(h1.compare(h2));
        blank1 = h1.empty();
        blank2 = h2.empty();
        break;
    }
    case ssImages:
    case ssCheckBox:
    case ssAlphaNumeric:
    case ssAlphaNumericNoCase:
        break;
    case ssNatural:
        r = CompareStrLogical(String(s1), String(s2));
        break;
    }

    if (Keys.ignoreBlanks) {
        const int away = (Direction == sdAscending) == Keys.blanksLast ? 1 : -1;
        if (blank1 && !blank2)
            r = away;
        else if (blank2 && !blank1)
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
// comparison answers, even when the compares contradict one another, as
// the per-compare format detection may make them.
template <class Less>
void StableOrder(std::vector<int>& items, std::vector<int>& buffer, Less less)
{
    buffer.resize(items.size());
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
    // Order[k] is the row that goes to Left + k.
    const int n = static_cast<int>(Order.size());
    // Where nothing but the texts, the cross-reference and the heights
    // follow a row, and no descendant follows the exchanges, each of these
    // is put in order at once.
    if (typeid(*this) == typeid(TAdvStringGrid) && !FUseEnabledRows && !FSortSettings->GetSingleColumn() &&
        !(FMouseActions->GetDisjunctRowSelect() && FNavigation->GetMoveRowOnSort()) && !FShowModified->GetEnabled() &&
        Left + n <= FSortRowXRef->Count()) {
        PlaceRowsAtOnce(Left, Order);
        return;
    }
    // Each exchange puts one row in its place for good.
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

void TAdvStringGrid::TSortKeysDelete::operator()(TSortKeys* Keys) const
{
    delete Keys;
}

void TAdvStringGrid::PlaceRowsAtOnce(int Left, const std::vector<int>& Order)
{
    const size_t n = Order.size();
    std::vector<Integer> xref(n);
    std::vector<int> heights(n);
    bool sameHeights = true;
    for (size_t k = 0; k < n; ++k) {
        const int row = Order[k];
        xref[k] = FSortRowXRef->GetItem(row);
        heights[k] = GetRowHeights(row);
        sameHeights = sameHeights && heights[k] == heights[0];
    }
    // The texts by exchanges along each cycle of the order: a row moves
    // once, and as many exchanges are counted as one at a time would make.
    std::vector<char> placed(n, 0);
    for (size_t k = 0; k < n; ++k) {
        if (placed[k])
            continue;
        placed[k] = 1;
        size_t at = k;
        for (size_t from = static_cast<size_t>(Order[at] - Left); from != k; from = static_cast<size_t>(Order[at] - Left)) {
            SwapStoredRows(Left + static_cast<int>(at), Left + static_cast<int>(from));
            ++FSort.swaps;
            placed[from] = 1;
            at = from;
        }
    }
    const int current = FSort.row;
    for (size_t k = 0; k < n; ++k) {
        const int row = Left + static_cast<int>(k);
        if (FSortRowXRef->GetItem(row) != xref[k])
            FSortRowXRef->SetItem(row, xref[k]);
        if (!sameHeights && GetRowHeights(row) != heights[k])
            SetRowHeights(row, heights[k]);
        if (Order[k] == current)
            FSort.row = row;
    }
}

void TAdvStringGrid::SortRange(int Left, int Right, int Col, bool Indexed)
{
    if (Right <= Left)
        return;
    const TSortDirection direction = FSortSettings->GetDirection();
    const int dir = direction == sdAscending ? 1 : -1;

    // A column left of the first has no keys: the single compare reports it.
    if (FSort.singleCompare || (!Indexed && Col < 0)) {
        std::vector<int> order(static_cast<size_t>(Right - Left + 1));
        std::iota(order.begin(), order.end(), Left);
        std::vector<int> merged;
        if (Indexed)
            StableOrder(order, merged, [this](int a, int b) { return CompareRowsIndexed(0, a, b) < 0; });
        else
            StableOrder(order, merged, [this, Col, dir](int a, int b) { return dir * CompareRows(Col, a, b) < 0; });
        PlaceRows(Left, order);
        return;
    }

    // A sort started from an event of this one gets keys of its own.
    std::unique_ptr<TSortKeys, TSortKeysDelete> ownKeys;
    if (!FSortKeys)
        FSortKeys.reset(new TSortKeys(*this));
    TSortKeys* inUse = FSortKeys.get();
    if (inUse->busy) {
        ownKeys.reset(new TSortKeys(*this));
        inUse = ownKeys.get();
    }
    TSortKeys& keys = *inUse;
    keys.Begin(Left, Right - Left + 1);
    const TScopeExit end([&keys] { keys.End(); });
    std::vector<int>& order = keys.order;
    order.resize(static_cast<size_t>(Right - Left + 1));
    std::iota(order.begin(), order.end(), Left);
    if (Indexed) {
        struct TIndex {
            int col;
            bool ascending;
        };
        std::vector<TIndex> indexes;
        for (int d = 0; d < FSortIndexes->Count(); ++d)
            indexes.push_back({FSortIndexes->GetColumn(d), FSortIndexes->GetAscending(d)});
        StableOrder(order, keys.merged, [&](int a, int b) {
            for (const TIndex& index : indexes) {
                const int r = keys.Ignored(index.col)
                                  ? 0
                                  : CompareKeys(keys, index.col, a, b, index.ascending ? sdAscending : sdDescending);
                if (r != 0)
                    return (index.ascending ? r : -r) < 0;
                if (!keys.full)
                    return false;
            }
            return false;
        });
    } else {
        const TSortKeys::TLane lane = keys.Ignored(Col) ? TSortKeys::General : keys.Lane(Col);
        TSortKeys::TColumn* laneColumn = lane == TSortKeys::General ? nullptr : &keys.Column(Col);
        // A further column that breaks many ties (dates tie often) is read
        // whole once and then compared in its lane, where it has one.
        const size_t known = keys.columns.size();
        std::vector<int> ties(known, 0);
        std::vector<signed char> lanes(known, -1);
        const int enough = keys.count / 8 + 1;
        // The columns right of the first, for a tie.
        const auto tieBreak = [&](int a, int b) {
            for (int col = Col + 1;; ++col) {
                int r = 0;
                if (!keys.Ignored(col)) {
                    const auto c = static_cast<size_t>(col);
                    if (c < known && lanes[c] < 0 && ++ties[c] >= enough)
                        lanes[c] = static_cast<signed char>(keys.Lane(col));
                    if (c < known && lanes[c] > 0) {
                        ++FSort.compares;
                        r = TSortKeys::LaneCompare(keys.columns[c], static_cast<TSortKeys::TLane>(lanes[c]),
                                                   static_cast<size_t>(a - Left), static_cast<size_t>(b - Left));
                    } else {
                        r = CompareKeys(keys, col, a, b, direction);
                    }
                }
                if (r != 0 || col >= keys.lastCol)
                    return r;
            }
        };
        // The merge with the first column's compare made for its lane.
        const auto orderBy = [&](auto first) {
            StableOrder(order, keys.merged, [&](int a, int b) {
                const int r = first(static_cast<size_t>(a - Left), static_cast<size_t>(b - Left), a, b);
                if (r != 0 || !keys.full || Col >= keys.lastCol)
                    return dir * r < 0;
                return dir * tieBreak(a, b) < 0;
            });
        };
        switch (lane) {
        case TSortKeys::Numbers: {
            const std::vector<uint16_t>& flags = laneColumn->flags;
            const std::vector<double>& numbers = laneColumn->numbers;
            orderBy([&](size_t i1, size_t i2, int, int) {
                ++FSort.compares;
                const bool failed = !(flags[i1] & TSortKeys::Converted) && !(flags[i2] & TSortKeys::Converted);
                return failed ? 0 : Order(numbers[i1], numbers[i2]);
            });
            break;
        }
        case TSortKeys::Dates: {
            const std::vector<double>& values = laneColumn->values;
            orderBy([&](size_t i1, size_t i2, int, int) {
                ++FSort.compares;
                return Order(values[i1], values[i2]);
            });
            break;
        }
        case TSortKeys::Ordinal: {
            const TSortKeys::TColumn& column = *laneColumn;
            orderBy([&](size_t i1, size_t i2, int, int) {
                ++FSort.compares;
                return TSortKeys::CompareOrdinal(column, i1, i2);
            });
            break;
        }
        default:
            orderBy([&](size_t, size_t, int a, int b) {
                return keys.Ignored(Col) ? 0 : CompareKeys(keys, Col, a, b, direction);
            });
            break;
        }
    }
    PlaceRows(Left, order);
}

void TAdvStringGrid::QuickSort(int Col, int Left, int Right)
{
    SortRange(Left, Right, Col, false);
}

void TAdvStringGrid::QuickSortIndexed(int Left, int Right)
{
    SortRange(Left, Right, 0, true);
}

void TAdvStringGrid::InitSortXRef()
{
    FSortRowXRef->Clear();
    for (int r = 0; r < GetRowCount(); ++r)
        FSortRowXRef->Add(r);
}

void TAdvStringGrid::SortSwapRows(int ARow1, int ARow2)
{
    ++FSort.swaps;
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
    if (FSort.row == ARow1)
        FSort.row = ARow2;
    else if (FSort.row == ARow2)
        FSort.row = ARow1;
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

std::vector<String> TAdvStringGrid::NormalCellsColumn()
{
    std::vector<String> column0;
    if (FSortSettings->GetNormalCellsOnly() && GetFixedCols() > 0)
        for (int r = 0; r < GetRowCount(); ++r)
            column0.push_back(GetRawCell(0, r));
    return column0;
}

void TAdvStringGrid::RestoreNormalCellsColumn(const std::vector<String>& Column0)
{
    for (int r = 0; r < GetRowCount() && r < static_cast<int>(Column0.size()); ++r)
        SetRawCell(0, r, Column0[static_cast<size_t>(r)]);
}

void TAdvStringGrid::RunSort(bool Indexed)
{
    if (GroupPumping())
        return;
    if (GetRowCount() != FSortRowXRef->Count())
        InitSortXRef();
    if (!Indexed)
        FSortIndexes->Clear();

    // Column 0 stays where it is with NormalCellsOnly.
    std::vector<String> column0 = NormalCellsColumn();
    const int topRow = GetTopRowEx();
    const bool clearTextOnly = std::exchange(FClearTextOnly, false);
    const int r0 = GetRowEx();
    const bool moveRow = FNavigation->GetMoveRowOnSort();
    BeginUpdate();
    // Put back on every way out, also when a compare raises.
    const TScopeExit restore([&] {
        RestoreNormalCellsColumn(column0);
        if (FNavigation->GetKeepScrollOnSort())
            SetTopRowEx(topRow);
        FClearTextOnly = clearTextOnly;
        EndUpdate();
        Invalidate();
    });
    FSort.row = r0;
    const int first = GetFixedRows();
    const int last = GetRowCount() - FFixedFooters - 1;
    if (Indexed)
        QuickSortIndexed(first, last);
    else
        QuickSort(FSortSettings->GetColumn(), first, last);

    if (!Indexed && FMouseActions->GetDisjunctRowSelect()) {
        // the marks moved with their rows; the current row stays put
    } else if (moveRow) {
        if (FSort.row >= 0 && FSort.row < GetRowCount())
            SetRowEx(FSort.row);
    } else if (r0 >= GetFixedRows() && r0 < GetRowCount()) {
        SetRowEx(r0);
    }
    if (!Indexed && OnRowUpdate && !moveRow)
        OnRowUpdate(this, r0, GetRowEx());
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
    if (GroupPumping())
        return;
    if (GetRowCount() != FSortRowXRef->Count())
        return;  // nothing was recorded for the present rows
    std::vector<String> column0 = NormalCellsColumn();
    BeginUpdate();
    const TScopeExit restore([&] {
        RestoreNormalCellsColumn(column0);
        EndUpdate();
        Invalidate();
    });
    // Entry r of the cross-reference is where the row now at r came from; a
    // row whose entry is out of range stays last.
    const int n = GetRowCount();
    std::vector<int> order(static_cast<size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    std::vector<int> key(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r)
        key[static_cast<size_t>(r)] = FSortRowXRef->GetItem(r);
    std::vector<int> merged;
    StableOrder(order, merged, [&key](int a, int b) { return key[static_cast<size_t>(a)] < key[static_cast<size_t>(b)]; });
    PlaceRows(0, order);
    if (FSortSettings->GetIndexShow())
        FSortIndexes->Clear();
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
