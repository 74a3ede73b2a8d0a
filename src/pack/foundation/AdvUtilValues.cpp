// Judging and comparing the values that cell texts hold.
#include "AdvUtil.h"
#include "SysUtils.h"
#include <shlwapi.h>
#include <string_view>

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

namespace {

// Digits with separators between them: at most two, none adjacent, none at
// either end.
bool IsSeparatedDigits(std::wstring_view s, wchar_t separator)
{
    int separators = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == separator) {
            if (i == 0 || i + 1 == s.size() || s[i - 1] == separator)
                return false;
            ++separators;
        } else if (!IsNumericChar(s[i])) {
            return false;
        }
    }
    return separators >= 1 && separators <= 2;
}

// An optional minus sign, digits, at most one decimal separator and an
// optional exponent with its own sign.
Byte NumberKind(std::wstring_view s, wchar_t decimal)
{
    size_t i = 0;
    if (i < s.size() && s[i] == L'-')
        ++i;
    int digits = 0;
    int decimals = 0;
    for (; i < s.size(); ++i) {
        if (IsNumericChar(s[i]))
            ++digits;
        else if (s[i] == decimal)
            ++decimals;
        else
            break;
    }
    if (digits == 0 || decimals > 1)
        return vkText;
    if (i == s.size())
        return decimals ? vkFloat : vkInteger;
    if (s[i] != L'e' && s[i] != L'E')
        return vkText;
    ++i;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+'))
        ++i;
    if (i == s.size())
        return vkText;
    for (; i < s.size(); ++i)
        if (!IsNumericChar(s[i]))
            return vkText;
    return vkFloatExponent;
}

} // namespace

Byte DetectValueKind(const String& s)
{
    // The text without blanks at either end, as Trim leaves it, uncopied:
    // a sort asks this of every cell.
    std::wstring_view text(s);
    while (!text.empty() && text.front() <= L' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() <= L' ')
        text.remove_suffix(1);
    if (text.empty())
        return vkText;
    const Byte number = NumberKind(text, FormatSettings.DecimalSeparator);
    if (number != vkText)
        return number;
    if (IsSeparatedDigits(text, FormatSettings.DateSeparator))
        return vkDate;
    if (IsSeparatedDigits(text, FormatSettings.TimeSeparator))
        return vkTime;
    return vkText;
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
