// String helpers, integer and float conversions.
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

wchar_t AsciiUpper(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c;
}

wchar_t AsciiLower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
}

int LocaleCompare(const String& a, const String& b, DWORD flags)
{
    int r = CompareStringW(LOCALE_USER_DEFAULT, flags, a.c_str(), static_cast<int>(a.size()),
                           b.c_str(), static_cast<int>(b.size()));
    return r == 0 ? 0 : r - CSTR_EQUAL;
}

String LocaleMap(const String& s, DWORD flags)
{
    if (s.empty())
        return s;
    int n = LCMapStringW(LOCALE_USER_DEFAULT, flags, s.c_str(), static_cast<int>(s.size()),
                         nullptr, 0);
    String out(static_cast<std::size_t>(n), L'\0');
    LCMapStringW(LOCALE_USER_DEFAULT, flags, s.c_str(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

// Reads an integer as the class library does: leading blanks, a sign, then
// decimal digits or "$"/"0x"/"x" and hexadecimal digits, nothing after.
// Returns the 1-based position of the first bad character, or 0.
int ParseInteger(const String& s, Int64& value, Int64 lo, Int64 hi)
{
    std::size_t i = 0, n = s.size();
    while (i < n && s[i] == L' ')
        ++i;
    bool negative = false;
    if (i < n && (s[i] == L'-' || s[i] == L'+'))
        negative = s[i++] == L'-';
    unsigned base = 10;
    if (i < n && s[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
        base = 16;
        i += 2;
    } else if (i < n && (s[i] == L'x' || s[i] == L'X')) {
        base = 16;
        ++i;
    }
    std::size_t digitsAt = i;
    bool narrow = hi == std::numeric_limits<Integer>::max();
    // Hexadecimal texts give the bit pattern, so "$FFFFFFFF" is -1 as an Integer.
    unsigned long long limit = base == 16 ? (narrow ? 0xFFFFFFFFULL : ~0ULL)
                                          : static_cast<unsigned long long>(hi) + (negative ? 1 : 0);
    unsigned long long acc = 0;
    for (; i < n; ++i) {
        wchar_t c = s[i];
        unsigned d;
        if (c >= L'0' && c <= L'9')
            d = c - L'0';
        else if (base == 16 && AsciiUpper(c) >= L'A' && AsciiUpper(c) <= L'F')
            d = AsciiUpper(c) - L'A' + 10;
        else
            return static_cast<int>(i + 1);
        if (acc > (limit - d) / base)
            return static_cast<int>(i + 1);
        acc = acc * base + d;
    }
    if (i == digitsAt)
        return static_cast<int>(i + 1);
    Int64 v = base == 16 && narrow ? static_cast<Int64>(static_cast<Integer>(static_cast<std::uint32_t>(acc)))
                                   : static_cast<Int64>(acc);
    if (negative)
        v = static_cast<Int64>(0ULL - static_cast<unsigned long long>(v));
    if (v < lo || v > hi)
        return static_cast<int>(n);
    value = v;
    return 0;
}

// Reads a float with the given decimal separator: blanks, sign, digits,
// fraction, exponent. Returns the 1-based position of the first bad
// character, or 0 when the whole text was read.
int ParseFloat(const String& s, wchar_t decimal, double& value)
{
    std::size_t i = 0, n = s.size();
    while (i < n && s[i] == L' ')
        ++i;
    std::string text;
    if (i < n && (s[i] == L'-' || s[i] == L'+'))
        text += static_cast<char>(s[i++]);
    bool digits = false;
    while (i < n && s[i] >= L'0' && s[i] <= L'9') {
        text += static_cast<char>(s[i++]);
        digits = true;
    }
    if (i < n && s[i] == decimal) {
        text += '.';
        ++i;
        while (i < n && s[i] >= L'0' && s[i] <= L'9') {
            text += static_cast<char>(s[i++]);
            digits = true;
        }
    }
    if (!digits)
        return static_cast<int>(i + 1);
    if (i < n && (s[i] == L'e' || s[i] == L'E')) {
        text += 'e';
        ++i;
        if (i < n && (s[i] == L'-' || s[i] == L'+'))
            text += static_cast<char>(s[i++]);
        bool expDigits = false;
        while (i < n && s[i] >= L'0' && s[i] <= L'9') {
            text += static_cast<char>(s[i++]);
            expDigits = true;
        }
        if (!expDigits)
            return static_cast<int>(i + 1);
    }
    if (i < n)
        return static_cast<int>(i + 1);
    double v = std::strtod(text.c_str(), nullptr);
    if (std::isinf(v))
        return static_cast<int>(n);
    value = v;
    return 0;
}

[[noreturn]] void ConvertError(const String& text, const wchar_t* what)
{
    throw EConvertError(L"'" + text + L"' is not a valid " + what);
}

} // namespace

int Pos(const String& SubStr, const String& S)
{
    return PosEx(SubStr, S, 1);
}

int PosEx(const String& SubStr, const String& S, int Offset)
{
    if (SubStr.empty() || Offset < 1 || static_cast<std::size_t>(Offset) > S.size())
        return 0;
    std::size_t p = S.find(SubStr, static_cast<std::size_t>(Offset - 1));
    return p == String::npos ? 0 : static_cast<int>(p + 1);
}

String Copy(const String& S, int Index, int Count)
{
    if (Index < 1)
        Index = 1;
    if (Count <= 0 || static_cast<std::size_t>(Index) > S.size())
        return String();
    return S.substr(static_cast<std::size_t>(Index - 1), static_cast<std::size_t>(Count));
}

void Delete(String& S, int Index, int Count)
{
    if (Index < 1 || Count <= 0 || static_cast<std::size_t>(Index) > S.size())
        return;
    S.erase(static_cast<std::size_t>(Index - 1), static_cast<std::size_t>(Count));
}

void Insert(const String& Source, String& S, int Index)
{
    std::size_t at = Index < 1 ? 0 : std::min(S.size(), static_cast<std::size_t>(Index - 1));
    S.insert(at, Source);
}

int LastDelimiter(const String& Delimiters, const String& S)
{
    std::size_t p = S.find_last_of(Delimiters);
    return p == String::npos ? 0 : static_cast<int>(p + 1);
}

String StringOfChar(wchar_t Ch, int Count)
{
    return Count > 0 ? String(static_cast<std::size_t>(Count), Ch) : String();
}

String StringReplace(const String& S, const String& OldPattern, const String& NewPattern,
                     TReplaceFlags Flags)
{
    if (OldPattern.empty())
        return S;
    bool ignoreCase = Flags.Contains(rfIgnoreCase);
    const String search = ignoreCase ? AnsiUpperCase(S) : S;
    const String pattern = ignoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
    String result;
    std::size_t from = 0;
    for (;;) {
        std::size_t p = search.find(pattern, from);
        if (p == String::npos)
            break;
        result.append(S, from, p - from);
        result += NewPattern;
        from = p + OldPattern.size();
        if (!Flags.Contains(rfReplaceAll))
            break;
    }
    result.append(S, from, String::npos);
    return result;
}

String Trim(const String& S)
{
    return TrimLeft(TrimRight(S));
}

String TrimLeft(const String& S)
{
    std::size_t i = 0;
    while (i < S.size() && S[i] <= L' ')
        ++i;
    return S.substr(i);
}

String TrimRight(const String& S)
{
    std::size_t n = S.size();
    while (n > 0 && S[n - 1] <= L' ')
        --n;
    return S.substr(0, n);
}

String UpperCase(const String& S)
{
    String r = S;
    std::transform(r.begin(), r.end(), r.begin(), AsciiUpper);
    return r;
}

String LowerCase(const String& S)
{
    String r = S;
    std::transform(r.begin(), r.end(), r.begin(), AsciiLower);
    return r;
}

String AnsiUpperCase(const String& S) { return LocaleMap(S, LCMAP_UPPERCASE); }
String AnsiLowerCase(const String& S) { return LocaleMap(S, LCMAP_LOWERCASE); }

int AnsiCompareStr(const String& a, const String& b) { return LocaleCompare(a, b, 0); }
int AnsiCompareText(const String& a, const String& b) { return LocaleCompare(a, b, NORM_IGNORECASE); }
bool AnsiSameText(const String& a, const String& b) { return AnsiCompareText(a, b) == 0; }
bool AnsiSameStr(const String& a, const String& b) { return AnsiCompareStr(a, b) == 0; }

int CompareStr(const String& a, const String& b)
{
    return a.compare(b) < 0 ? -1 : a == b ? 0 : 1;
}

int CompareText(const String& a, const String& b)
{
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int d = static_cast<int>(AsciiUpper(a[i])) - static_cast<int>(AsciiUpper(b[i]));
        if (d != 0)
            return d;
    }
    return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

bool SameText(const String& a, const String& b) { return CompareText(a, b) == 0; }

String QuotedStr(const String& S)
{
    return AnsiQuotedStr(S, L'\'');
}

String AnsiQuotedStr(const String& S, wchar_t Quote)
{
    String r(1, Quote);
    for (wchar_t c : S) {
        r += c;
        if (c == Quote)
            r += c;
    }
    return r + Quote;
}

String AnsiDequotedStr(const String& S, wchar_t Quote)
{
    if (S.empty() || S[0] != Quote)
        return S;
    String r;
    std::size_t i = 1;
    while (i < S.size()) {
        if (S[i] == Quote) {
            if (i + 1 < S.size() && S[i + 1] == Quote) {
                r += Quote;
                i += 2;
                continue;
            }
            return r;
        }
        r += S[i++];
    }
    // No closing quote: the text stays as it was.
    return S;
}

AnsiString WideToAnsi(const String& S, UINT CodePage)
{
    if (S.empty())
        return AnsiString();
    int n = WideCharToMultiByte(CodePage, 0, S.c_str(), static_cast<int>(S.size()), nullptr, 0,
                                nullptr, nullptr);
    AnsiString r(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CodePage, 0, S.c_str(), static_cast<int>(S.size()), r.data(), n, nullptr,
                        nullptr);
    return r;
}

String AnsiToWide(const AnsiString& S, UINT CodePage)
{
    if (S.empty())
        return String();
    int n = MultiByteToWideChar(CodePage, 0, S.c_str(), static_cast<int>(S.size()), nullptr, 0);
    String r(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CodePage, 0, S.c_str(), static_cast<int>(S.size()), r.data(), n);
    return r;
}

AnsiString UTF8Encode(const String& S) { return WideToAnsi(S, CP_UTF8); }
String UTF8ToString(const AnsiString& S) { return AnsiToWide(S, CP_UTF8); }

String IntToStr(Int64 value) { return std::to_wstring(value); }

String IntToHex(Int64 Value, int Digits)
{
    static const wchar_t hex[] = L"0123456789ABCDEF";
    unsigned long long v = static_cast<unsigned long long>(Value);
    String r;
    do {
        r.insert(r.begin(), hex[v & 15]);
        v >>= 4;
    } while (v);
    if (static_cast<int>(r.size()) < Digits)
        r.insert(0, static_cast<std::size_t>(Digits) - r.size(), L'0');
    return r;
}

bool TryStrToInt(const String& S, Integer& Value)
{
    Int64 v = 0;
    if (ParseInteger(S, v, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max()))
        return false;
    Value = static_cast<Integer>(v);
    return true;
}

bool TryStrToInt64(const String& S, Int64& Value)
{
    return ParseInteger(S, Value, std::numeric_limits<Int64>::min(), std::numeric_limits<Int64>::max()) == 0;
}

Integer StrToInt(const String& S)
{
    Integer v = 0;
    if (!TryStrToInt(S, v))
        ConvertError(S, L"integer value");
    return v;
}

Int64 StrToInt64(const String& S)
{
    Int64 v = 0;
    if (!TryStrToInt64(S, v))
        ConvertError(S, L"integer value");
    return v;
}

Integer StrToIntDef(const String& S, Integer Default)
{
    Integer v = 0;
    return TryStrToInt(S, v) ? v : Default;
}

Int64 StrToInt64Def(const String& S, Int64 Default)
{
    Int64 v = 0;
    return TryStrToInt64(S, v) ? v : Default;
}

String BoolToStr(bool B, bool UseBoolStrs)
{
    if (UseBoolStrs)
        return B ? L"True" : L"False";
    return B ? L"-1" : L"0";
}

void Val(const String& S, double& Value, int& Code)
{
    double v = 0;
    Code = ParseFloat(S, L'.', v);
    Value = Code == 0 ? v : 0;
}

void Val(const String& S, Integer& Value, int& Code)
{
    Int64 v = 0;
    Code = ParseInteger(S, v, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max());
    Value = Code == 0 ? static_cast<Integer>(v) : 0;
}

bool TryStrToFloat(const String& S, double& Value, const TFormatSettings& Settings)
{
    // Leading and trailing blanks are allowed, as the class library allows them.
    double v = 0;
    if (ParseFloat(Trim(S), Settings.DecimalSeparator, v) != 0)
        return false;
    Value = v;
    return true;
}

bool TryStrToFloat(const String& S, double& Value)
{
    return TryStrToFloat(S, Value, FormatSettings);
}

double StrToFloat(const String& S, const TFormatSettings& Settings)
{
    double v = 0;
    if (!TryStrToFloat(S, v, Settings))
        ConvertError(S, L"floating point value");
    return v;
}

double StrToFloat(const String& S)
{
    return StrToFloat(S, FormatSettings);
}

double StrToFloatDef(const String& S, double Default)
{
    double v = 0;
    return TryStrToFloat(S, v) ? v : Default;
}
