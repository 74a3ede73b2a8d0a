// The small text tests on which the edit control's typed-input rules rest.
#include "AdvDropDown.h"

namespace {

bool IsDigit(wchar_t ch)
{
    return ch >= L'0' && ch <= L'9';
}

bool IsHexLetter(wchar_t ch)
{
    return (ch >= L'A' && ch <= L'F') || (ch >= L'a' && ch <= L'f');
}

} // namespace

bool IsRangeSeparator(wchar_t ch)
{
    return ch == L',' || ch == L'-' || ch == L';';
}

int DetectNumberKind(const String& S)
{
    const wchar_t thousandSeparator = FormatSettings.ThousandSeparator;
    const wchar_t decimalSeparator = FormatSettings.DecimalSeparator;
    bool isInteger = !S.empty();
    bool isFloat = isInteger;
    bool isHex = isInteger;
    int minusCount = 0;
    int decimalCount = 0;
    int lastThousand = -1;
    for (int i = 1; i <= static_cast<int>(S.size()); ++i) {
        const wchar_t ch = S[i - 1];
        const bool digitOrMinus = IsDigit(ch) || ch == L'-';
        if (!digitOrMinus)
            isInteger = false;
        if (!digitOrMinus && ch != L',' && ch != L'.')
            isFloat = false;
        if (!digitOrMinus && !IsHexLetter(ch))
            isHex = false;
        if (ch == thousandSeparator) {
            // Thousand separators stand at least three places apart, and
            // never first.
            if (i - lastThousand < 3)
                isFloat = false;
            lastThousand = i;
        }
        if (ch == decimalSeparator)
            ++decimalCount;
        if (ch == L'-')
            ++minusCount;
    }

    int kind = nkText;
    if (isHex && !isInteger)
        kind = nkHex;
    if (isInteger)
        kind = nkInteger;
    else if (isFloat)
        kind = nkFloat;
    if (minusCount > 1 || decimalCount > 1)
        kind = nkText;
    return kind;
}

String RemoveThousandSeparators(const String& S)
{
    String result = S;
    std::erase(result, FormatSettings.ThousandSeparator);
    return result;
}

int HexDigitValue(wchar_t ch)
{
    if (IsDigit(ch))
        return ch - L'0';
    if (ch >= L'A' && ch <= L'F')
        return ch - L'A' + 10;
    if (ch >= L'a' && ch <= L'f')
        return ch - L'a' + 10;
    return 0;
}

Integer HexToInt(const String& S)
{
    Cardinal value = 0;
    for (wchar_t ch : S)
        value = value * 16 + static_cast<Cardinal>(HexDigitValue(ch));
    return static_cast<Integer>(value);
}

String CaseCompareKey(const String& S, bool CaseSensitive)
{
    return CaseSensitive ? S : AnsiUpperCase(S);
}
