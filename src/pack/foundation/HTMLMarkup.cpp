#include "HTMLMarkup.h"

#include <algorithm>
#include <cwctype>

const std::array<THTMLEntity, 51> HTMLCharEntities = {{
    {L"&eacute;", 0x00E9}, {L"&egrave;", 0x00E8}, {L"&euml;", 0x00EB}, {L"&ecirc;", 0x00EA},
    {L"&oacute;", 0x00F3}, {L"&ograve;", 0x00F2}, {L"&ouml;", 0x00F6}, {L"&ocirc;", 0x00F4},
    {L"&iacute;", 0x00ED}, {L"&igrave;", 0x00EC}, {L"&iuml;", 0x00EF}, {L"&icirc;", 0x00EE},
    {L"&uacute;", 0x00FA}, {L"&ugrave;", 0x00F9}, {L"&uuml;", 0x00FC}, {L"&ucirc;", 0x00FB},
    {L"&aacute;", 0x00E1}, {L"&agrave;", 0x00E0}, {L"&auml;", 0x00E4}, {L"&acirc;", 0x00E2},
    {L"&Eacute;", 0x00C9}, {L"&Egrave;", 0x00C8}, {L"&Euml;", 0x00CB}, {L"&Ecirc;", 0x00CA},
    {L"&Oacute;", 0x00D3}, {L"&Ograve;", 0x00D2}, {L"&Ouml;", 0x00D6}, {L"&Ocirc;", 0x00D4},
    {L"&Iacute;", 0x00CD}, {L"&Igrave;", 0x00CC}, {L"&Iuml;", 0x00CF}, {L"&Icirc;", 0x00CE},
    {L"&Uacute;", 0x00DA}, {L"&Ugrave;", 0x00D9}, {L"&Uuml;", 0x00DC}, {L"&Ucirc;", 0x00DB},
    {L"&Aacute;", 0x00C1}, {L"&Agrave;", 0x00C0}, {L"&Auml;", 0x00C4}, {L"&Acirc;", 0x00C2},
    {L"&ccedil;", 0x00E7}, {L"&Ccedil;", 0x00C7}, {L"&oslash;", 0x00F8}, {L"&Oslash;", 0x00D8},
    {L"&aring;", 0x00E5}, {L"&Aring;", 0x00C5}, {L"&copy;", 0x00A9}, {L"&reg;", 0x00AE},
    {L"&euro;", 0x20AC}, {L"&laquo;", 0x00AB}, {L"&raquo;", 0x00BB},
}};

namespace {

struct TDocumentEntity {
    const wchar_t* Name;
    const wchar_t* Text;
};

// "&amp;" becomes "&&" because the text is drawn with prefix processing,
// which shows "&&" as one ampersand.
constexpr TDocumentEntity DocumentEntities[] = {
    {L"&amp;", L"&&"},  {L"&quot;", L"\""},     {L"&sect;", L"\u00A7"},
    {L"&permil;", L"\u2030"}, {L"&reg;", L"\u00AE"}, {L"&copy;", L"\u00A9"},
    {L"&para;", L"\u00B6"}, {L"&trade;", L"\u2122"}, {L"&euro;", L"\u20AC"},
};

struct TNamedColor {
    const wchar_t* Name; // without the "cl" prefix, lower case
    TColor Value;
};

// Sorted by name so that a lookup is a binary search.
constexpr TNamedColor NamedColors[] = {
    {L"3ddkshadow", TColor(0xFF000015)}, {L"3dlight", TColor(0xFF000016)},
    {L"activeborder", TColor(0xFF00000A)}, {L"activecaption", TColor(0xFF000002)},
    {L"appworkspace", TColor(0xFF00000C)}, {L"aqua", 0x00FFFF00},
    {L"background", TColor(0xFF000001)}, {L"black", 0x00000000},
    {L"blue", 0x00FF0000}, {L"btnface", TColor(0xFF00000F)},
    {L"btnhighlight", TColor(0xFF000014)}, {L"btnshadow", TColor(0xFF000010)},
    {L"btntext", TColor(0xFF000012)}, {L"captiontext", TColor(0xFF000009)},
    {L"fuchsia", 0x00FF00FF}, {L"gray", 0x00808080},
    {L"graytext", TColor(0xFF000011)}, {L"green", 0x00008000},
    {L"highlight", TColor(0xFF00000D)}, {L"highlighttext", TColor(0xFF00000E)},
    {L"inactiveborder", TColor(0xFF00000B)}, {L"inactivecaption", TColor(0xFF000003)},
    {L"inactivecaptiontext", TColor(0xFF000013)}, {L"infobk", TColor(0xFF000018)},
    {L"infotext", TColor(0xFF000017)}, {L"lime", 0x0000FF00},
    {L"maroon", 0x00000080}, {L"menu", TColor(0xFF000004)},
    {L"menutext", TColor(0xFF000007)}, {L"navy", 0x00800000},
    {L"olive", 0x00008080}, {L"purple", 0x00800080},
    {L"red", 0x000000FF}, {L"silver", 0x00C0C0C0},
    {L"teal", 0x00808000}, {L"white", 0x00FFFFFF},
    {L"window", TColor(0xFF000005)}, {L"windowframe", TColor(0xFF000006)},
    {L"windowtext", TColor(0xFF000008)}, {L"yellow", 0x0000FFFF},
};

void ReplaceAll(String& s, const String& from, const String& to)
{
    for (std::size_t p = s.find(from); p != String::npos; p = s.find(from, p + to.size()))
        s.replace(p, from.size(), to);
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Reads a number from s[i] on; returns the number of digits read.
int ReadNumber(const String& s, std::size_t& i, Integer& value)
{
    while (i < s.size() && s[i] == L' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+'))
        negative = s[i++] == L'-';
    int base = 10;
    if (i < s.size() && s[i] == L'$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
        base = 16;
        i += 2;
    } else if (i < s.size() && (s[i] == L'x' || s[i] == L'X')) {
        base = 16;
        ++i;
    }
    Int64 n = 0;
    int digits = 0;
    for (; i < s.size(); ++i) {
        int d = base == 16 ? HexDigit(s[i]) : (s[i] >= L'0' && s[i] <= L'9' ? s[i] - L'0' : -1);
        if (d < 0)
            break;
        // Overlong numbers saturate instead of wrapping into nonsense sizes.
        n = std::min<Int64>(n * base + d, 0x7FFFFFFF);
        ++digits;
    }
    value = static_cast<Integer>(negative ? -n : n);
    return digits;
}

} // namespace

String HTMLUpperCase(const String& S)
{
    String r = S;
    if (!r.empty())
        CharUpperBuffW(r.data(), static_cast<DWORD>(r.size()));
    return r;
}

std::size_t HTMLFindNoCase(const String& S, const String& Sub, std::size_t From)
{
    return HTMLUpperCase(S).find(HTMLUpperCase(Sub), From);
}

String PreprocessHTML(const String& Text)
{
    String s = Text;
    if (s.find(L'&') != String::npos) {
        // One occurrence of each name per pass until a pass changes nothing:
        // every replacement is shorter than its name, so this ends.
        bool changed = true;
        while (changed) {
            changed = false;
            for (const auto& e : DocumentEntities) {
                std::size_t p = HTMLFindNoCase(s, e.Name);
                if (p != String::npos) {
                    s.replace(p, wcslen(e.Name), e.Text);
                    changed = true;
                }
            }
        }
    }
    for (std::size_t p = s.find(L"<#"); p != String::npos; p = s.find(L"<#", p)) {
        s.erase(p, 1);
        std::size_t close = s.find(L'>', p);
        if (close != String::npos)
            s.erase(close, 1);
    }
    String out;
    out.reserve(s.size());
    for (wchar_t c : s) {
        if (c == L'\r')
            out += L"<BR>";
        else if (c != L'\n')
            out += c;
    }
    return out;
}

String DecodeRunEntities(const String& Run, bool CharEntities)
{
    if (Run.find(L'&') == String::npos)
        return Run;
    String s = Run;
    ReplaceAll(s, L"&nbsp;", L" ");
    ReplaceAll(s, L"&lt;", L"<");
    ReplaceAll(s, L"&gt;", L">");
    if (CharEntities)
        for (const auto& e : HTMLCharEntities)
            ReplaceAll(s, e.Name, String(1, e.Char));
    return s;
}

bool HTMLTagAttribute(const String& Tag, const String& Name, String& Value)
{
    Value.clear();
    std::size_t at = HTMLFindNoCase(Tag, Name);
    if (at == String::npos)
        return false;
    std::size_t open = Tag.find(L'"', at + Name.size());
    if (open == String::npos)
        return false;
    std::size_t close = Tag.find(L'"', open + 1);
    if (close == String::npos)
        return false;
    Value = Tag.substr(open + 1, close - open - 1);
    return true;
}

String HTMLTagAttribute(const String& Tag, const String& Name)
{
    String value;
    HTMLTagAttribute(Tag, Name, value);
    return value;
}

Integer HTMLLeadingInteger(const String& Value)
{
    std::size_t i = 0;
    Integer n = 0;
    ReadNumber(Value, i, n);
    return n;
}

bool HTMLValidNumber(const String& Value, Integer& Number)
{
    std::size_t i = 0;
    Integer n = 0;
    if (ReadNumber(Value, i, n) == 0 || i != Value.size())
        return false;
    Number = n;
    return true;
}

bool HTMLHexColor(const String& Value, TColor& Color)
{
    if (Value.empty() || Value[0] != L'#')
        return false;
    // A pair that is missing or not hexadecimal counts as 0.
    auto channel = [&](std::size_t at) {
        if (at + 1 >= Value.size())
            return 0;
        int hi = HexDigit(Value[at]), lo = HexDigit(Value[at + 1]);
        return hi < 0 || lo < 0 ? 0 : hi * 16 + lo;
    };
    Color = channel(1) + channel(3) * 256 + channel(5) * 65536;
    return true;
}

bool HTMLNamedColor(const String& Value, TColor& Color)
{
    String name = LowerCase(Value);
    if (name.size() < 2 || name.compare(0, 2, L"cl") != 0)
        return false;
    name.erase(0, 2);
    auto it = std::lower_bound(std::begin(NamedColors), std::end(NamedColors), name,
                               [](const TNamedColor& c, const String& n) { return n.compare(c.Name) > 0; });
    if (it == std::end(NamedColors) || name != it->Name)
        return false;
    Color = it->Value;
    return true;
}

TColor HTMLColor(const String& Value)
{
    TColor color = clBlack;
    if (!HTMLHexColor(Value, color) && !HTMLNamedColor(Value, color))
        color = clBlack;
    return color;
}
