#include "Xml.h"
#include "Error.h"

namespace xlsx {

namespace {

// Far deeper than any workbook part; it bounds what a hostile file can make us nest.
constexpr std::size_t MaxDepth = 100;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view LocalName(std::string_view qualified)
{
    const std::size_t colon = qualified.rfind(':');
    return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

void AppendCodePoint(std::string& out, unsigned long cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class Parser {
public:
    explicit Parser(std::string_view doc) : doc_(doc)
    {
        // Line ends reach the tree as LF alone; a CR survives only as a character reference.
        if (doc.find('\r') != std::string_view::npos) {
            normalized_.reserve(doc.size());
            for (std::size_t i = 0; i < doc.size(); ++i) {
                if (doc[i] != '\r')
                    normalized_ += doc[i];
                else if (i + 1 >= doc.size() || doc[i + 1] != '\n')
                    normalized_ += '\n';
            }
            doc_ = normalized_;
        }
    }

    XmlElement Run()
    {
        if (doc_.substr(0, 3) == "\xEF\xBB\xBF")
            pos_ = 3;
        XmlElement root;
        bool haveRoot = false;
        std::vector<XmlElement*> open;
        std::vector<std::string_view> openNames;
        while (pos_ < doc_.size()) {
            if (doc_[pos_] != '<') {
                std::string text = Decode(TakeUntil("<"));
                if (!open.empty())
                    open.back()->text += text;
                else if (text.find_first_not_of(" \t\r\n") != std::string::npos)
                    Fail("text outside the root element");
                continue;
            }
            if (Skip("<?")) {
                SkipPast("?>");
            } else if (Skip("<!--")) {
                SkipPast("-->");
            } else if (Skip("<![CDATA[")) {
                if (open.empty())
                    Fail("character data outside the root element");
                const std::size_t end = doc_.find("]]>", pos_);
                if (end == std::string_view::npos)
                    Fail("unterminated character data");
                open.back()->text += doc_.substr(pos_, end - pos_);
                pos_ = end + 3;
            } else if (Skip("<!")) {
                Fail("document type declarations are not accepted");
            } else if (Skip("</")) {
                const std::string_view name = Name();
                SkipSpace();
                if (!Skip(">") || open.empty() || name != openNames.back())
                    Fail("mismatched end tag");
                open.pop_back();
                openNames.pop_back();
            } else {
                ++pos_;
                const std::string_view name = Name();
                XmlElement* element;
                if (open.empty()) {
                    if (haveRoot)
                        Fail("more than one root element");
                    haveRoot = true;
                    element = &root;
                } else {
                    if (open.size() >= MaxDepth)
                        Fail("elements nested too deeply");
                    open.back()->children.emplace_back();
                    element = &open.back()->children.back();
                }
                element->name = LocalName(name);
                if (!Attributes(*element)) {
                    open.push_back(element);
                    openNames.push_back(name);
                }
            }
        }
        if (!haveRoot || !open.empty())
            Fail(haveRoot ? "unclosed element" : "no root element");
        return root;
    }

private:
    [[noreturn]] void Fail(const char* what) const
    {
        throw Error(L"The XML is not well-formed: " + FromUtf8(what) + L" (at byte " +
                    std::to_wstring(pos_) + L").");
    }

    bool Skip(std::string_view token)
    {
        if (doc_.substr(pos_, token.size()) != token)
            return false;
        pos_ += token.size();
        return true;
    }

    void SkipPast(std::string_view token)
    {
        const std::size_t end = doc_.find(token, pos_);
        if (end == std::string_view::npos)
            Fail("unterminated markup");
        pos_ = end + token.size();
    }

    void SkipSpace()
    {
        while (pos_ < doc_.size() && IsSpace(doc_[pos_]))
            ++pos_;
    }

    std::string_view TakeUntil(std::string_view stops)
    {
        const std::size_t start = pos_;
        pos_ = std::min(doc_.find_first_of(stops, pos_), doc_.size());
        return doc_.substr(start, pos_ - start);
    }

    std::string_view Name()
    {
        const std::size_t start = pos_;
        while (pos_ < doc_.size() && !IsSpace(doc_[pos_]) &&
               std::string_view("/>=<\"'&").find(doc_[pos_]) == std::string_view::npos)
            ++pos_;
        if (pos_ == start)
            Fail("missing name");
        return doc_.substr(start, pos_ - start);
    }

    // Reads the attributes and the tag's end; true when the element closed itself.
    bool Attributes(XmlElement& element)
    {
        for (;;) {
            SkipSpace();
            if (Skip("/>"))
                return true;
            if (Skip(">"))
                return false;
            const std::string_view name = Name();
            SkipSpace();
            if (!Skip("="))
                Fail("attribute without a value");
            SkipSpace();
            if (pos_ >= doc_.size() || (doc_[pos_] != '"' && doc_[pos_] != '\''))
                Fail("unquoted attribute value");
            const char quote[2] = {doc_[pos_++], '\0'};
            const std::string_view raw = TakeUntil(quote);
            if (!Skip(quote))
                Fail("unterminated attribute value");
            if (raw.find('<') != std::string_view::npos)
                Fail("'<' in an attribute value");
            element.attributes.emplace_back(LocalName(name), Decode(raw));
        }
    }

    std::string Decode(std::string_view raw)
    {
        std::string out;
        out.reserve(raw.size());
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '&') {
                out += raw[i];
                continue;
            }
            const std::size_t end = raw.find(';', i);
            if (end == std::string_view::npos)
                Fail("unterminated entity reference");
            const std::string_view entity = raw.substr(i + 1, end - i - 1);
            i = end;
            if (entity == "lt") out += '<';
            else if (entity == "gt") out += '>';
            else if (entity == "amp") out += '&';
            else if (entity == "quot") out += '"';
            else if (entity == "apos") out += '\'';
            else if (entity.size() > 1 && entity[0] == '#') {
                const bool hex = entity[1] == 'x';
                const std::string_view digits = entity.substr(hex ? 2 : 1);
                if (digits.empty() || digits.size() > 8)
                    Fail("bad character reference");
                unsigned long cp = 0;
                for (char d : digits) {
                    int v = d >= '0' && d <= '9' ? d - '0'
                          : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                          : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10 : -1;
                    if (v < 0)
                        Fail("bad character reference");
                    cp = cp * (hex ? 16 : 10) + v;
                }
                if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
                    Fail("character reference out of range");
                AppendCodePoint(out, cp);
            } else {
                Fail("unknown entity");
            }
        }
        return out;
    }

    std::string normalized_;
    std::string_view doc_;
    std::size_t pos_ = 0;
};

} // namespace

const std::string* XmlElement::Attribute(std::string_view localName) const
{
    for (const auto& [name, value] : attributes)
        if (name == localName)
            return &value;
    return nullptr;
}

const XmlElement* XmlElement::Child(std::string_view localName) const
{
    for (const XmlElement& child : children)
        if (child.name == localName)
            return &child;
    return nullptr;
}

std::vector<const XmlElement*> XmlElement::Children(std::string_view localName) const
{
    std::vector<const XmlElement*> found;
    for (const XmlElement& child : children)
        if (child.name == localName)
            found.push_back(&child);
    return found;
}

XmlElement ParseXml(std::string_view document) { return Parser(document).Run(); }

std::string XmlEscape(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace xlsx
