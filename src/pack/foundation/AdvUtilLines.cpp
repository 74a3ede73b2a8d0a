// Lines of a cell text.
#include "AdvUtil.h"
#include <algorithm>

int CountTextLines(const String& S, bool MultiLine)
{
    if (!MultiLine)
        return 1;
    int lines = 1;
    for (size_t i = 0; i < S.size(); ++i)
        if (S[i] == L'\r') {
            ++i;
            if (i + 1 < S.size())
                ++lines;
        }
    return lines;
}

void QuoteMultilineCell(String& S)
{
    String quoted = L"\"";
    for (size_t i = 0; i < S.size(); ++i) {
        if (S[i] == L'\r' && i + 1 < S.size() && S[i + 1] == L'\n') {
            quoted += L'\v';
            ++i;
        } else {
            quoted += S[i];
        }
    }
    S = quoted + L"\"";
}

namespace {

String ReplaceAll(const String& S, const String& From, const String& To)
{
    String out;
    out.reserve(S.size());
    size_t from = 0;
    for (size_t p = S.find(From); p != String::npos; p = S.find(From, from)) {
        out.append(S, from, p - from);
        out += To;
        from = p + From.size();
    }
    out.append(S, from, String::npos);
    return out;
}

String WithoutChar(const String& S, wchar_t Ch)
{
    String out = S;
    out.erase(std::remove(out.begin(), out.end(), Ch), out.end());
    return out;
}

} // namespace

String CRToBRTags(const String& S) { return ReplaceAll(S, L"\r", L"<br>"); }
String EscapedNToCR(const String& S) { return ReplaceAll(S, L"\\n", L"\r"); }
String CRToEscapedN(const String& S) { return ReplaceAll(WithoutChar(S, L'\n'), L"\r", L"\\n"); }
void VTToCRLF(String& S) { S = ReplaceAll(S, L"\v", L"\r\n"); }
void CRLFToLF(String& S) { S = ReplaceAll(S, L"\r\n", L"\n"); }
void CRToTilde(String& S) { S = ReplaceAll(WithoutChar(S, L'\n'), L"\r", L"~"); }

void TildeToCRLF(String& S)
{
    S = ReplaceAll(S, L"~", L"\r\n");
    if (S == L"^")
        S.clear();
}

String RemoveCRChars(const String& S) { return WithoutChar(S, L'\r'); }

String CRToLF(const String& S)
{
    String out = S;
    std::replace(out.begin(), out.end(), L'\r', L'\n');
    return out;
}

String EncodeLineBreakChars(const String& S)
{
    if (S.find(L'\r') == String::npos)
        return S;
    String out = S;
    for (wchar_t& ch : out)
        ch = ch == L'\r' ? wchar_t(9) : ch == L'\n' ? wchar_t(8) : ch == 0 ? wchar_t(1) : ch;
    return out;
}

String DecodeLineBreakChars(const String& S, bool MultiLine)
{
    if (S.find(wchar_t(8)) == String::npos)
        return S;
    String out = S;
    for (wchar_t& ch : out)
        ch = ch == 9 ? L'\r' : ch == 8 ? L'\n' : ch == 1 ? wchar_t(0) : ch;
    if (MultiLine)
        return out;
    String line;
    TakeFirstLine(out, false, line);
    return line;
}

void TakeFirstLine(String& S, bool KeepRest, String& Line)
{
    const size_t cr = S.find(L'\r');
    if (cr == String::npos) {
        Line = S;
        S.clear();
        return;
    }
    Line = S.substr(0, cr);
    if (!KeepRest) {
        S.clear();
        return;
    }
    const size_t next = cr + 1 < S.size() && S[cr + 1] == L'\n' ? cr + 2 : cr + 1;
    S.erase(0, next);
}

String GetWidestLine(TCanvas* Canvas, const String& S)
{
    // Every line counts: an empty line between two others ends nothing.
    String rest = S;
    String widest;
    int widestWidth = -1;
    bool more = true;
    while (more) {
        more = rest.find(L'\r') != String::npos;
        String line;
        TakeFirstLine(rest, true, line);
        const int width = Canvas ? Canvas->TextWidth(line) : static_cast<int>(line.size());
        if (width > widestWidth) {
            widest = line;
            widestWidth = width;
        }
    }
    return widest;
}
