#include "HTMLUtils.h"

#include "HTMLMarkup.h"
#include "SysUtils.h"

namespace {

void ReplaceAll(String& s, const String& from, const String& to)
{
    for (std::size_t p = s.find(from); p != String::npos; p = s.find(from, p + to.size()))
        s.replace(p, from.size(), to);
}

void ReplaceAllNoCase(String& s, const String& from, const String& to)
{
    s = StringReplace(s, from, to, {rfReplaceAll, rfIgnoreCase});
}

void RemoveAllNoCase(String& s, const String& what)
{
    ReplaceAllNoCase(s, what, String());
}

String TagText(const wchar_t* start, const String& name)
{
    String tag = start;
    tag += name;
    tag += L'>';
    return tag;
}

String LineBreakTagsToCRLF(const String& Text)
{
    String s = Text;
    ReplaceAllNoCase(s, L"<BR>", L"\r\n");
    ReplaceAllNoCase(s, L"<HR>", L"\r\n");
    return s;
}

// Removes every "<...>"; a "<" without a ">" after it keeps the rest as it is.
String RemoveTags(const String& s)
{
    String out;
    std::size_t from = 0;
    for (;;) {
        std::size_t open = s.find(L'<', from);
        if (open == String::npos)
            break;
        out.append(s, from, open - from);
        std::size_t close = s.find(L'>', open);
        if (close == String::npos) {
            from = open;
            break;
        }
        from = close + 1;
    }
    out.append(s, from, String::npos);
    return out;
}

String RemoveHidden(const String& s, const String& opener, const String& closer)
{
    String out;
    std::size_t from = 0;
    for (;;) {
        std::size_t open = s.find(opener, from);
        if (open == String::npos)
            break;
        std::size_t close = s.find(closer, open + opener.size());
        if (close == String::npos)
            break;
        out.append(s, from, open - from);
        from = close + closer.size();
    }
    out.append(s, from, String::npos);
    return out;
}

constexpr struct {
    const wchar_t* Name;
    wchar_t Char;
} BasicEntities[] = {{L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&amp;", L'&'}, {L"&quot;", L'"'}};

// One step of the visible text of marked-up text: a whole tag (no visible
// character), a known entity (one), or a single character.
struct TToken {
    std::size_t Length = 1;
    bool IsTag = false;
    wchar_t Visible = 0;
};

TToken NextToken(const String& s, std::size_t i)
{
    TToken t;
    t.Visible = s[i];
    if (s[i] == L'<') {
        std::size_t close = s.find(L'>', i);
        if (close != String::npos) {
            t.IsTag = true;
            t.Length = close - i + 1;
        }
    } else if (s[i] == L'&') {
        for (const auto& e : BasicEntities)
            if (s.compare(i, wcslen(e.Name), e.Name) == 0)
                return {wcslen(e.Name), false, e.Char};
        for (const auto& e : HTMLCharEntities)
            if (s.compare(i, wcslen(e.Name), e.Name) == 0)
                return {wcslen(e.Name), false, e.Char};
    }
    return t;
}

// Appends tokens of s from i on until Count visible characters are copied.
// Tags right after the last one are copied too when TrailingTags is set, so
// that markup in front of a match stays outside its highlight.
void CopyVisible(const String& s, std::size_t& i, std::size_t count, bool trailingTags,
                 const String& fontReset, String& out)
{
    std::size_t copied = 0;
    while (i < s.size()) {
        TToken t = NextToken(s, i);
        if (t.IsTag ? (copied == count && !trailingTags) : copied == count)
            break;
        out.append(s, i, t.Length);
        // A closing FONT tag resets colours; reopening the highlight keeps it visible.
        if (t.IsTag && !fontReset.empty() && HTMLUpperCase(s.substr(i, 6)) == L"</FONT")
            out += fontReset;
        if (!t.IsTag)
            ++copied;
        i += t.Length;
    }
}

} // namespace

String GridHTMLToText(const String& Text)
{
    return RemoveTags(LineBreakTagsToCRLF(Text));
}

String PanelHTMLToText(const String& Text)
{
    String s = LineBreakTagsToCRLF(Text);
    s = RemoveHidden(s, L"<z>", L"</z>");
    s = RemoveHidden(s, L"<Z>", L"</Z>");
    return RemoveTags(s);
}

String StripHTMLTags(const String& Text)
{
    String out;
    std::size_t from = 0;
    for (;;) {
        std::size_t open = Text.find(L'<', from);
        std::size_t close = Text.find(L'>', from);
        if (open == String::npos || close == String::npos || close < open)
            break;
        out.append(Text, from, open - from);
        from = close + 1;
    }
    out.append(Text, from, String::npos);
    return out;
}

String DecodeHTMLEntities(const String& Text, bool AllEntities)
{
    // One pass: the text an entity decodes to is never read again, so
    // "&amp;quot;" gives "&quot;", not a quote.
    String s;
    s.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size();) {
        bool decoded = false;
        if (Text[i] == L'&') {
            auto tryEntity = [&](const wchar_t* Name, wchar_t Char) {
                const std::size_t n = wcslen(Name);
                if (decoded || Text.compare(i, n, Name) != 0)
                    return;
                s += Char;
                i += n;
                decoded = true;
            };
            for (const auto& e : BasicEntities)
                tryEntity(e.Name, e.Char);
            if (AllEntities)
                for (const auto& e : HTMLCharEntities)
                    tryEntity(e.Name, e.Char);
        }
        if (!decoded)
            s += Text[i++];
    }
    return s;
}

String EncodeHTMLEntities(const String& Text, bool AllEntities)
{
    String s = Text;
    ReplaceAll(s, L"&", L"&amp;");
    ReplaceAll(s, L"\"", L"&quot;");
    ReplaceAll(s, L"<", L"&lt;");
    ReplaceAll(s, L">", L"&gt;");
    if (AllEntities)
        for (const auto& e : HTMLCharEntities)
            ReplaceAll(s, String(1, e.Char), e.Name);
    return s;
}

String SpacesToNbsp(const String& Text)
{
    String s = Text;
    ReplaceAll(s, L" ", L"&nbsp;");
    return s;
}

String HighlightHTMLText(const String& Text, const String& Search, const String& Tag, bool DoCase,
                         bool FullText)
{
    const String tag = HTMLUpperCase(Tag);
    const String open = TagText(L"<", tag);
    const String close = TagText(L"</", tag);
    // Highlights are not nested: earlier ones go first.
    String text = Text;
    RemoveAllNoCase(text, open);
    RemoveAllNoCase(text, close);

    const String search = DoCase ? Search : HTMLUpperCase(Search);
    const bool markup = text.find(L"</") != String::npos;
    String visible;
    if (markup) {
        for (std::size_t i = 0; i < text.size();) {
            TToken t = NextToken(text, i);
            if (!t.IsTag)
                visible += t.Visible;
            i += t.Length;
        }
    } else {
        visible = text;
    }
    if (!DoCase)
        visible = HTMLUpperCase(visible);

    if (FullText) {
        if (search != visible)
            return text;
        return open + (markup ? text : EncodeHTMLEntities(text, true)) + close;
    }
    if (search.empty())
        return text;

    String out;
    std::size_t at = visible.find(search);
    if (at == String::npos)
        return text;
    if (!markup) {
        std::size_t from = 0;
        for (; at != String::npos; at = visible.find(search, from)) {
            out += EncodeHTMLEntities(text.substr(from, at - from), false) + open +
                   EncodeHTMLEntities(text.substr(at, search.size()), false) + close;
            from = at + search.size();
        }
        return out + EncodeHTMLEntities(text.substr(from), false);
    }

    std::size_t i = 0;          // position in the text
    std::size_t seen = 0;       // visible characters copied so far
    for (; at != String::npos; at = visible.find(search, seen)) {
        CopyVisible(text, i, at - seen, true, String(), out);
        out += open;
        CopyVisible(text, i, search.size(), false, close + open, out);
        out += close;
        seen = at + search.size();
    }
    return out + text.substr(i);
}

String UnhighlightHTMLText(const String& Text, const String& Tag)
{
    String s = Text;
    RemoveAllNoCase(s, TagText(L"<", Tag));
    RemoveAllNoCase(s, TagText(L"</", Tag));
    if (Text.find(L"</") != String::npos && s.find(L"</") == String::npos)
        s = DecodeHTMLEntities(s, false);
    return s;
}
