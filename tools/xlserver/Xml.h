// Just enough XML for workbook parts: a small tree reader (no DTDs, namespace
// prefixes dropped from names) and escaping for the writer.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace xlsx {

struct XmlElement {
    std::string name; // local name, without its namespace prefix
    std::vector<std::pair<std::string, std::string>> attributes; // local names, decoded values
    std::vector<XmlElement> children;
    std::string text; // the character data directly inside, decoded

    const std::string* Attribute(std::string_view localName) const;
    const XmlElement* Child(std::string_view localName) const;
    std::vector<const XmlElement*> Children(std::string_view localName) const;
};

// The document's root element; raises Error on anything that is not well-formed.
XmlElement ParseXml(std::string_view document);

// Escapes & < > and " so that the text fits in element content and quoted attributes.
std::string XmlEscape(std::string_view utf8);

} // namespace xlsx
