// What a cell text holds, number texts made convertible, and addresses in
// texts.
#include "AdvUtil.h"
#include "SysUtils.h"
#include <cwctype>

Byte ClassifyCellText(const String& Text, bool DetectHTML)
{
    if (Text.empty())
        return ctkPlain;
    const String s = Text + L' ';
    if (s[0] == L'=')
        return ctkFormula;
    if (IsPackedWideText(s)) {
        // A packed formula: the high byte of its "=" and then the "=".
        if (s.size() > 4 && s[3] == L'=' && s[4] == 0)
            return ctkFormula;
        return ctkPackedWide;
    }
    if (s.starts_with(L"{\\"))
        return ctkRTF;
    if (DetectHTML)
        for (size_t i = 0; i + 2 < s.size(); ++i) {
            if (s[i] != L'<')
                continue;
            const wchar_t a = static_cast<wchar_t>(std::towupper(s[i + 1]));
            const wchar_t b = static_cast<wchar_t>(std::towupper(s[i + 2]));
            if (a == L'/' || (a == L'I' && b == L'M') || (a == L'B' && b == L'R') || (a == L'C' && b == L'O'))
                return ctkHTML;
        }
    return ContainsURL(s) ? ctkURL : ctkPlain;
}

String NormalizeNumberText(const String& s)
{
    if (s.empty())
        return L"";
    String text = Trim(s);
    bool negative = text.size() >= 2 && text.front() == L'(' && text.back() == L')';
    // An exponent mark cannot start a number: "EUR 12" is 12, not "E".
    while (text.size() >= 2 && (!IsFloatTextChar(text[0]) || text[0] == L'e' || text[0] == L'E')) {
        if (text[0] == L'-')
            negative = true;
        text.erase(0, 1);
    }
    const wchar_t decimal = FormatSettings.DecimalSeparator;
    const wchar_t thousand = FormatSettings.ThousandSeparator;
    String number;
    for (wchar_t ch : text) {
        if (ch == thousand && thousand != decimal)
            continue;
        if (ch == decimal)
            number += L'.';
        else if (IsNumberSyntaxChar(ch))
            number += ch;
        else
            break;
    }
    return negative ? L"-" + number : number;
}

bool ContainsURL(const String& S)
{
    return S.find(L"://") != String::npos || S.find(L"mailto:") != String::npos;
}

void StripURLScheme(String& S)
{
    size_t p = S.find(L"://");
    if (p != String::npos) {
        S.erase(0, p + 3);
        return;
    }
    p = S.find(L"mailto:");
    if (p != String::npos)
        S.erase(0, p + 7);
}

namespace {

// What an address may hold; a quote or a bracket never enters the link.
bool IsURLChar(wchar_t ch)
{
    return (ch >= L'0' && ch <= L'9') || (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z') ||
           String(L"%()-./:@\\_{}").find(ch) != String::npos;
}

} // namespace

bool InsertURLLink(const String& Text, const String& Prefix, String& Html)
{
    if (Prefix.empty() || AnsiUpperCase(Text).find(Prefix) == String::npos)
        return false;
    String html;
    html.reserve(Text.size() + 32);
    for (wchar_t ch : Text) {
        if (ch == L'<')
            html += L"&lt;";
        else if (ch == L'>')
            html += L"&gt;";
        else
            html += ch;
    }
    const size_t start = AnsiUpperCase(html).find(Prefix);
    if (start == String::npos)
        return false;
    size_t end = start;
    while (end < html.size() && IsURLChar(html[end]))
        ++end;
    const String url = html.substr(start, end - start);
    Html = html.substr(0, start) + L"<a href=\"" + url + L"\">" + url + L"</a>" + html.substr(end);
    return true;
}
