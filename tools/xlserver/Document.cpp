#include "Document.h"
#include "Error.h"
#include "Workbook.h"
#include "Xml.h"
#include "Zip.h"
#include <windows.h>

namespace docx {

using xlsx::Error;

namespace {

constexpr char WordNs[] = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";

const char* AlignmentValue(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Center: return "center";
    case Alignment::Right: return "right";
    case Alignment::Left: break;
    }
    return "left";
}

std::string ParagraphXml(const Paragraph& paragraph, int& bookmarkId)
{
    std::string xml = "<w:p>";
    if (paragraph.alignment != Alignment::Left)
        xml += std::string("<w:pPr><w:jc w:val=\"") + AlignmentValue(paragraph.alignment) + "\"/></w:pPr>";
    for (const std::wstring& name : paragraph.bookmarks) {
        const std::string id = std::to_string(bookmarkId++);
        xml += "<w:bookmarkStart w:id=\"" + id + "\" w:name=\"" + xlsx::XmlEscape(xlsx::ToUtf8(name)) +
               "\"/><w:bookmarkEnd w:id=\"" + id + "\"/>";
    }
    if (!paragraph.text.empty())
        xml += "<w:r><w:t xml:space=\"preserve\">" + xlsx::XmlEscape(xlsx::ToUtf8(paragraph.text)) + "</w:t></w:r>";
    return xml + "</w:p>";
}

std::string TableXml(const Table& table, int& bookmarkId)
{
    std::string xml = "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:tblBorders>";
    for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"})
        xml += std::string("<w:") + side + " w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"auto\"/>";
    xml += "</w:tblBorders></w:tblPr><w:tblGrid>";
    for (int c = 0; c < table.columns; ++c)
        xml += "<w:gridCol/>";
    xml += "</w:tblGrid>";
    for (int r = 0; r < table.rows; ++r) {
        xml += "<w:tr>";
        for (int c = 0; c < table.columns; ++c)
            xml += "<w:tc><w:tcPr><w:tcW w:w=\"0\" w:type=\"auto\"/></w:tcPr>" +
                   ParagraphXml(table.Cell(r, c), bookmarkId) + "</w:tc>";
        xml += "</w:tr>";
    }
    return xml + "</w:tbl>";
}

std::wstring RunText(const xlsx::XmlElement& element)
{
    std::wstring text;
    for (const xlsx::XmlElement& child : element.children) {
        if (child.name == "t")
            text += xlsx::FromUtf8(child.text);
        else if (child.name == "tab")
            text += L'\t';
        else if (child.name == "r" || child.name == "hyperlink" || child.name == "ins" || child.name == "smartTag")
            text += RunText(child);
    }
    return text;
}

Paragraph ReadParagraph(const xlsx::XmlElement& p)
{
    Paragraph paragraph;
    paragraph.text = RunText(p);
    if (const xlsx::XmlElement* properties = p.Child("pPr"))
        if (const xlsx::XmlElement* jc = properties->Child("jc"))
            if (const std::string* value = jc->Attribute("val")) {
                if (*value == "center")
                    paragraph.alignment = Alignment::Center;
                else if (*value == "right" || *value == "end")
                    paragraph.alignment = Alignment::Right;
            }
    for (const xlsx::XmlElement* start : p.Children("bookmarkStart"))
        if (const std::string* name = start->Attribute("name"))
            paragraph.bookmarks.push_back(xlsx::FromUtf8(*name));
    return paragraph;
}

Table ReadTable(const xlsx::XmlElement& tbl)
{
    Table table;
    std::vector<std::vector<Paragraph>> rows;
    for (const xlsx::XmlElement* tr : tbl.Children("tr")) {
        std::vector<Paragraph> cells;
        for (const xlsx::XmlElement* tc : tr->Children("tc")) {
            Paragraph cell;
            bool first = true;
            for (const xlsx::XmlElement* p : tc->Children("p")) {
                Paragraph part = ReadParagraph(*p);
                if (first)
                    cell = std::move(part);
                else
                    cell.text += L"\r" + part.text;
                first = false;
            }
            cells.push_back(std::move(cell));
        }
        table.columns = std::max(table.columns, static_cast<int>(cells.size()));
        rows.push_back(std::move(cells));
    }
    table.rows = static_cast<int>(rows.size());
    if (static_cast<long long>(table.rows) * table.columns > MaxTableCells)
        throw Error(L"A table of the document has too many cells.");
    table.cells.resize(static_cast<std::size_t>(table.rows * table.columns));
    for (int r = 0; r < table.rows; ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            table.Cell(r, static_cast<int>(c)) = std::move(rows[r][c]);
    return table;
}

} // namespace

long Document::Length(const Block& block) const
{
    if (!block.isTable)
        return static_cast<long>(block.paragraph.text.size()) + 1;
    long length = block.table.rows;
    for (const Paragraph& cell : block.table.cells)
        length += static_cast<long>(cell.text.size()) + 1;
    return length;
}

long Document::StartOf(std::size_t block) const
{
    long position = 0;
    for (std::size_t i = 0; i < block && i < blocks.size(); ++i)
        position += Length(blocks[i]);
    return position;
}

long Document::End() const { return StartOf(blocks.size()); }

std::size_t Document::BlockAt(long position, long* offset) const
{
    long start = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const long length = Length(blocks[i]);
        if (position < start + length) {
            if (offset)
                *offset = blocks[i].isTable ? 0 : std::max(0L, position - start);
            return i;
        }
        start += length;
    }
    for (std::size_t i = blocks.size(); i-- > 0;)
        if (!blocks[i].isTable) {
            if (offset)
                *offset = static_cast<long>(blocks[i].paragraph.text.size());
            return i;
        }
    if (offset)
        *offset = 0;
    return blocks.size();
}

std::size_t Document::FindBookmark(const std::wstring& name) const
{
    for (std::size_t i = 0; i < blocks.size(); ++i)
        if (!blocks[i].isTable)
            for (const std::wstring& mark : blocks[i].paragraph.bookmarks)
                if (CompareStringOrdinal(mark.c_str(), -1, name.c_str(), -1, TRUE) == CSTR_EQUAL)
                    return i;
    return blocks.size();
}

std::string DocumentToDocx(const Document& document)
{
    std::string body;
    int bookmarkId = 0;
    for (const Block& block : document.blocks)
        body += block.isTable ? TableXml(block.table, bookmarkId) : ParagraphXml(block.paragraph, bookmarkId);
    // A document ends with a paragraph, never with a table.
    if (document.blocks.empty() || document.blocks.back().isTable)
        body += "<w:p/>";
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
    const std::string types =
        declaration +
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
        "</Types>";
    const std::string rels =
        declaration +
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"word/document.xml\"/></Relationships>";
    const std::string main = declaration + "<w:document xmlns:w=\"" + WordNs + "\"><w:body>" + body +
                             "<w:sectPr/></w:body></w:document>";
    return xlsx::WriteZip({{"[Content_Types].xml", types}, {"_rels/.rels", rels}, {"word/document.xml", main}});
}

Document DocumentFromDocx(std::string bytes)
{
    const xlsx::ZipReader zip(std::move(bytes));
    if (!zip.Find("word/document.xml"))
        throw Error(L"The package has no word/document.xml.");
    const xlsx::XmlElement root = xlsx::ParseXml(zip.Read("word/document.xml"));
    const xlsx::XmlElement* body = root.name == "document" ? root.Child("body") : nullptr;
    if (!body)
        throw Error(L"The document has no body.");
    Document document;
    document.blocks.clear();
    for (const xlsx::XmlElement& child : body->children) {
        Block block;
        if (child.name == "p") {
            block.paragraph = ReadParagraph(child);
        } else if (child.name == "tbl") {
            block.isTable = true;
            block.table = ReadTable(child);
        } else {
            continue;
        }
        document.blocks.push_back(std::move(block));
    }
    if (document.blocks.empty() || document.blocks.back().isTable)
        document.blocks.emplace_back();
    return document;
}

void SaveDocument(const Document& document, const std::wstring& path)
{
    xlsx::SaveFileBytes(DocumentToDocx(document), path);
}

Document LoadDocument(const std::wstring& path)
{
    try {
        return DocumentFromDocx(xlsx::ReadFileBytes(path));
    } catch (const Error& e) {
        if (e.Message().find(path) != std::wstring::npos)
            throw;
        throw Error(L"\"" + path + L"\" is not a document this server can read: " + e.Message());
    }
}

} // namespace docx
