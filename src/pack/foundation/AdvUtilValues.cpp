// Judging and comparing the values that cell texts hold.
#include "AdvUtil.h"
#include "SysUtils.h"
#include <shlwapi.h>
#include <cstdio>
#include <iterator>

int ApplyMinMaxLimits(int Value, int Min, int Max)
{
    if (Min == Max)
        return Value;
    if (Max > 0 && Value > Max)
        return Max;
    if (Min > 0 && Value < Min)
        return Min;
    return Value;
}

bool IsNumericChar(wchar_t ch)
{
    if (ch >= L'0' && ch <= L'9')
        return true;
    WORD type = 0;
    return ch > 127 && GetStringTypeW(CT_CTYPE1, &ch, 1, &type) && (type & C1_DIGIT) != 0;
}

Byte DetectValueKind(const String& s)
{
    if (s.empty())
        return vkText;
    const wchar_t D = FormatSettings.DateSeparator;
    const wchar_t T = FormatSettings.TimeSeparator;
    const wchar_t K = FormatSettings.ThousandSeparator;
    const wchar_t P = FormatSettings.DecimalSeparator;
    bool isTime = s.find(T) != String::npos;
    bool isDate = s.find(D) != String::npos;
    bool allInt = true;
    bool isFloat = true;
    bool isExp = true;
    bool hasE = false;
    int dates = 0, times = 0, minuses = 0, decimals = 0;
    size_t lastDate = String::npos, lastTime = String::npos, lastThousand = String::npos;
    const size_t n = s.size();
    for (size_t j = 0; j < n; ++j) {
        const wchar_t c = s[j];
        const bool digit = IsNumericChar(c);
        if (c == L'e' || c == L'E') {
            if (hasE || j == 0)
                isExp = false;
            hasE = true;
        }
        if (!digit && !(c == L'-' && j == 0))
            allInt = false;
        if (c == L'-' && j > 0)
            isFloat = false;
        if (j == 0 && !digit)
            isTime = isDate = false;
        if (j + 1 == n && (c == L'+' || c == L'-' || c == L'E' || c == L'e'))
            isExp = false;
        if (!digit && c != L'-' && c != K && c != P)
            isFloat = false;
        if (!digit) {
            if (c != D)
                isDate = false;
            if (c != T)
                isTime = false;
        }
        if (!IsSignedFloatChar(c) || c == K)
            isExp = false;
        // A separator more than twice, or twice in a row, makes no date or time.
        if (c == D) {
            if (++dates > 2 || (lastDate != String::npos && lastDate + 1 == j))
                isDate = false;
            lastDate = j;
        }
        if (c == T) {
            if (++times > 2 || (lastTime != String::npos && lastTime + 1 == j))
                isTime = false;
            lastTime = j;
        }
        if (c == L'-')
            ++minuses;
        if (c == P)
            ++decimals;
        // Thousand groups hold three digits.
        if (c == K) {
            if (lastThousand != String::npos && j - lastThousand < 4)
                isFloat = false;
            lastThousand = j;
        }
    }
    Byte kind = allInt ? vkInteger : (!isFloat || hasE) ? vkText : vkFloat;
    if (isExp && hasE) {
        kind = vkFloatExponent;
        // The exponent's own sign beside the number's.
        if (minuses == 2)
            minuses = 1;
    }
    if (isTime)
        return vkTime;
    if (isDate)
        return vkDate;
    if (minuses > 1 || decimals > 1)
        return vkText;
    return kind;
}

String ColorToHTMLHex(COLORREF Rgb)
{
    wchar_t text[8];
    std::swprintf(text, std::size(text), L"%02X%02X%02X", GetRValue(Rgb), GetGValue(Rgb), GetBValue(Rgb));
    return text;
}

bool ParseR1C1CellRef(const String& Text, TPoint& Cell)
{
    const String s = AnsiUpperCase(Text);
    if (s.size() <= 3 || s[0] != L'R')
        return false;
    const size_t c = s.find(L'C', 1);
    if (c == String::npos)
        return false;
    Integer row = 0, col = 0;
    if (!TryStrToInt(s.substr(1, c - 1), row) || !TryStrToInt(s.substr(c + 1), col))
        return false;
    Cell = TPoint(col, row);
    return true;
}

bool HasDateSeparators(const String& S)
{
    const size_t first = S.find(FormatSettings.DateSeparator);
    if (first == String::npos || first < 1)
        return false;
    const size_t second = S.find(FormatSettings.DateSeparator, first + 1);
    return second != String::npos && second > first + 1;
}

TDateTime StepDate(int Years, int Months, int Days, TDateTime Date, double Increment)
{
    Word year = 0, month = 0, day = 0;
    DecodeDate(Date, year, month, day);
    const TDateTime time = Date - static_cast<Int64>(Date);
    TDateTime stepped = 0;
    if (Days != 0 && Years == 0 && Months == 0)
        return Date + Days;
    if (Years != 0 && Months == 0 && Days == 0) {
        if (!TryEncodeDate(static_cast<Word>(year + Years), month, day, stepped))
            return Date;
        return stepped + time;
    }
    if (Months != 0 && Years == 0 && Days == 0) {
        int m = month + Months;
        int y = year;
        if (m <= 0) {
            m += 12;
            --y;
        } else if (m > 12) {
            m -= 12;
            ++y;
        }
        if (m < 1 || m > 12 || !TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), day, stepped))
            return Date;
        return stepped + time;
    }
    return Date + Increment;
}

int CompareStrLogical(const String& s1, const String& s2)
{
    return StrCmpLogicalW(s1.c_str(), s2.c_str());
}

namespace {

TDateTime ParseDate(const String& s, bool dayFirst)
{
    const size_t first = s.find_first_of(L"/.-");
    if (first == String::npos)
        return 0;
    const wchar_t separator = s[first];
    const size_t second = s.find(separator, first + 1);
    if (second == String::npos || s.find(separator, second + 1) != String::npos)
        return 0;
    Integer a = 0, b = 0, year = 0;
    const String yearText = Trim(s.substr(second + 1));
    if (!TryStrToInt(Trim(s.substr(0, first)), a) || !TryStrToInt(Trim(s.substr(first + 1, second - first - 1)), b) ||
        !TryStrToInt(yearText, year))
        return 0;
    if (yearText.size() <= 2)
        year += year <= 25 ? 2000 : 1900;
    const Integer month = dayFirst ? b : a;
    const Integer day = dayFirst ? a : b;
    TDateTime date = 0;
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 ||
        !TryEncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day), date))
        return 0;
    return date;
}

} // namespace

TDateTime ParseDateMDY(const String& s)
{
    return ParseDate(s, false);
}

TDateTime ParseDateDMY(const String& s)
{
    return ParseDate(s, true);
}
