// Locale separators, character classes, integer limits and the string
// routines of cell texts and delimited files.
#include "AdvUtil.h"
#include "Classes.h"
#include "SysUtils.h"
#include <algorithm>
#include <vector>

wchar_t GetDecimalSeparatorChar() { return FormatSettings.DecimalSeparator; }
wchar_t GetThousandSeparatorChar() { return FormatSettings.ThousandSeparator; }
wchar_t GetDateSeparatorChar() { return FormatSettings.DateSeparator; }
wchar_t GetTimeSeparatorChar() { return FormatSettings.TimeSeparator; }
String GetShortDateFormatText() { return FormatSettings.ShortDateFormat; }

bool IsNumberChar(wchar_t ch) { return IsNumericChar(ch); }
bool IsNumberOrMinusChar(wchar_t ch) { return ch == L'-' || IsNumberChar(ch); }

bool IsFloatTextChar(wchar_t ch)
{
    return IsNumberChar(ch) || ch == FormatSettings.ThousandSeparator || ch == FormatSettings.DecimalSeparator ||
           ch == L'e' || ch == L'E';
}

bool IsSignedFloatChar(wchar_t ch) { return IsFloatTextChar(ch) || ch == L'+' || ch == L'-'; }

bool IsNumberSyntaxChar(wchar_t ch)
{
    return IsNumberChar(ch) || ch == L'+' || ch == L'-' || ch == L'.' || ch == L'E' || ch == L'e';
}

bool IsNumericEditKey(wchar_t ch)
{
    return IsNumberChar(ch) || ch == FormatSettings.ThousandSeparator || ch == FormatSettings.DecimalSeparator ||
           ch == 8 || ch == 9 || ch == 13 || ch == 27 || ch == L'-';
}

bool IsWordBreakChar(wchar_t ch)
{
    return ch == L' ' || ch == L'\'' || ch == L',' || ch == L'-' || ch == L'.';
}

int IntMax(int A, int B) { return A > B ? A : B; }
int IntMin(int A, int B) { return A < B ? A : B; }

int ClampInt(int Value, int Min, int Max)
{
    if (Value > Max)
        return Max;
    if (Value < Min)
        return Min;
    return Value;
}

bool CellInGridRect(const TRect& R, int Col, int Row)
{
    return R.left <= Col && Col <= R.right && R.top <= Row && Row <= R.bottom;
}

int CharPos(wchar_t Ch, const String& S)
{
    const size_t p = S.find(Ch);
    return p == String::npos ? 0 : static_cast<int>(p) + 1;
}

int FindCharPos(wchar_t Ch, const String& S, int& Pos)
{
    const int p = CharPos(Ch, S);
    if (p > 0)
        Pos = p;
    return p;
}

int FindSubstrPos(const String& Substr, const String& S, int& Pos)
{
    Pos = ::Pos(Substr, S);
    return Pos;
}

int PosInUpperCase(const String& Substr, const String& S) { return ::Pos(Substr, AnsiUpperCase(S)); }
int WidePos(const String& Substr, const String& S) { return ::Pos(Substr, S); }

int CountChar(wchar_t Ch, const String& S) { return static_cast<int>(std::count(S.begin(), S.end(), Ch)); }
int CountCharOccurrences(wchar_t Ch, wchar_t, const String& S) { return CountChar(Ch, S); }

int FindSingleChar(wchar_t Ch, const String& S, int& Pos)
{
    int run = 0;
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == Ch) {
            ++run;
            continue;
        }
        if (run % 2 == 1) {
            Pos = static_cast<int>(i);
            return Pos;
        }
        run = 0;
    }
    if (!S.empty() && S.back() == Ch) {
        Pos = static_cast<int>(S.size());
        return Pos;
    }
    Pos = 0;
    return 0;
}

int CountSingleChars(wchar_t Ch, const String& S)
{
    String rest = S;
    int count = 0;
    int pos = 0;
    while (FindSingleChar(Ch, rest, pos) > 0) {
        ++count;
        rest.erase(0, static_cast<size_t>(pos));
    }
    return count;
}

void SplitStringToList(wchar_t Delimiter, const String& S, TStrings* List)
{
    if (!List)
        return;
    size_t from = 0;
    for (size_t p = S.find(Delimiter); p != String::npos; p = S.find(Delimiter, from)) {
        List->Add(S.substr(from, p - from));
        from = p + 1;
    }
    List->Add(S.substr(from));
}

void ExtractToken(String& S, wchar_t Delimiter, String& Token)
{
    const size_t p = S.find(Delimiter);
    if (p == String::npos) {
        Token.clear();
        return;
    }
    Token = S.substr(0, p);
    S.erase(0, p + 1);
}

String ConcatStrings(TStrings* List)
{
    String all;
    if (List)
        for (int i = 0; i < List->Count(); ++i)
            all += List->Get(i);
    return all;
}

String DoubleQuoteChars(const String& S)
{
    String doubled;
    doubled.reserve(S.size());
    for (wchar_t ch : S) {
        doubled += ch;
        if (ch == L'"')
            doubled += ch;
    }
    return doubled;
}

String UndoubleChar(wchar_t Ch, const String& S)
{
    String single;
    single.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i) {
        single += S[i];
        if (S[i] == Ch && i + 1 < S.size() && S[i + 1] == Ch)
            ++i;
    }
    return single;
}

void FillStringChars(String& S, wchar_t Ch) { std::fill(S.begin(), S.end(), Ch); }

void StringToOEM(String& S)
{
    std::vector<char> oem(S.size() * 2 + 1);
    CharToOemBuffW(S.c_str(), oem.data(), static_cast<DWORD>(S.size()));
    String bytes;
    bytes.reserve(S.size());
    for (size_t i = 0; i < S.size(); ++i)
        bytes += static_cast<wchar_t>(static_cast<unsigned char>(oem[i]));
    S = bytes;
}

void OEMToString(String& S)
{
    std::string oem;
    oem.reserve(S.size());
    for (wchar_t ch : S)
        oem += static_cast<char>(ch & 0xFF);
    std::vector<wchar_t> text(S.size() + 1);
    OemToCharBuffW(oem.data(), text.data(), static_cast<DWORD>(oem.size()));
    S.assign(text.data(), oem.size());
}

String RemoveDiacritics(const String& S)
{
    if (S.empty())
        return S;
    // A composite split takes a few units per letter: the buffer is sized
    // from the text, so long texts are not cut.
    const int length = static_cast<int>(S.size());
    const int needed = FoldStringW(MAP_COMPOSITE, S.c_str(), length, nullptr, 0);
    if (needed <= 0)
        return S;
    std::vector<wchar_t> folded(static_cast<size_t>(needed));
    const int written = FoldStringW(MAP_COMPOSITE, S.c_str(), length, folded.data(), needed);
    String plain;
    plain.reserve(static_cast<size_t>(std::max(written, 0)));
    for (int i = 0; i < written; ++i)
        if (folded[static_cast<size_t>(i)] < 256)
            plain += folded[static_cast<size_t>(i)];
    return plain;
}

String CapitalizeName(const String& S)
{
    String result;
    result.reserve(S.size());
    bool capitalizeNext = true;
    const size_t n = S.size();
    for (size_t i = 0; i < n; ++i) {
        const wchar_t ch = S[i];
        if (IsWordBreakChar(ch)) {
            capitalizeNext = true;
            result += ch;
        } else if (IsCharAlphaW(ch)) {
            result += capitalizeNext ? AnsiUpperCase(String(1, ch)) : AnsiLowerCase(String(1, ch));
            capitalizeNext = false;
        } else {
            result += ch;
        }
        const size_t len = result.size();
        if (result == L"Mc")
            capitalizeNext = true;
        const size_t mc = result.find(L" Mc");
        if (mc != String::npos && mc + 3 == len && len > 2)
            capitalizeNext = true;
        // Roman numerals at the end of a name stay capitals.
        if (i + 3 >= n) {
            if (len >= 2 && result.compare(len - 2, 2, L" I") == 0)
                capitalizeNext = true;
            if (len >= 3 && result.compare(len - 3, 3, L" II") == 0)
                capitalizeNext = true;
        }
    }
    return result;
}
