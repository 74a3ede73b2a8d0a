// The workbook's Office Open XML form: which parts, and how cell texts are spelt in them.
#include "Workbook.h"
#include "Error.h"
#include "Xml.h"
#include "Zip.h"
#include <cwchar>

namespace xlsx {

namespace {

constexpr const char* XmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr const char* MainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr const char* RelationshipNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr const char* PackageRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";

bool IsHex(wchar_t c)
{
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

// "_xHHHH_" stands for one UTF-16 unit in the format's texts.
bool IsEscapeAt(std::wstring_view text, std::size_t i)
{
    return i + 7 <= text.size() && text[i] == L'_' && text[i + 1] == L'x' && IsHex(text[i + 2]) &&
           IsHex(text[i + 3]) && IsHex(text[i + 4]) && IsHex(text[i + 5]) && text[i + 6] == L'_';
}

// XML 1.0 cannot carry control characters, lone surrogates or U+FFFE/U+FFFF, and a
// parser turns CR into LF; such units travel as "_xHHHH_", and an underscore that
// would read as such an escape is itself escaped.
std::string CellTextXml(std::wstring_view text)
{
    std::wstring spelt;
    spelt.reserve(text.size());
    auto escape = [&](wchar_t c) {
        wchar_t buffer[8];
        swprintf(buffer, 8, L"_x%04X_", static_cast<unsigned>(c));
        spelt += buffer;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            spelt += c;
            spelt += text[++i];
        } else if ((c < 0x20 && c != L'\t' && c != L'\n') || high || low || c >= 0xFFFE ||
                   IsEscapeAt(text, i)) {
            escape(c);
        } else {
            spelt += c;
        }
    }
    return XmlEscape(ToUtf8(spelt));
}

std::wstring CellTextFromXml(const std::string& utf8)
{
    const std::wstring spelt = FromUtf8(utf8);
    std::wstring text;
    text.reserve(spelt.size());
    for (std::size_t i = 0; i < spelt.size(); ++i) {
        if (IsEscapeAt(spelt, i)) {
            text += static_cast<wchar_t>(std::wcstoul(spelt.substr(i + 2, 4).c_str(), nullptr, 16));
            i += 6;
        } else {
            text += spelt[i];
        }
    }
    return text;
}

std::string Utf8Attribute(std::wstring_view text) { return XmlEscape(ToUtf8(text)); }

// The one cell format besides the default: text that was given behind the
// quote prefix. The file holds the text without it, as the application
// writes it; reading puts the prefix back, so the texts are those given.
constexpr wchar_t QuotePrefix = L'\'';
constexpr const char* QuotedStyle = "1";
constexpr const char* StylesXml =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font></fonts>"
    "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
    "<cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" quotePrefix=\"1\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

std::string SheetXml(const Sheet& sheet, bool selected)
{
    std::string xml = XmlDeclaration;
    xml += "<worksheet xmlns=\"";
    xml += MainNs;
    xml += "\">";
    if (sheet.cells.empty()) {
        xml += "<dimension ref=\"A1\"/>";
    } else {
        const CellRange used = sheet.UsedRange();
        xml += "<dimension ref=\"" + ToUtf8(CellName(used.first) + L":" + CellName(used.last)) + "\"/>";
    }
    const std::string active = ToUtf8(CellName(sheet.activeCell));
    xml += "<sheetViews><sheetView ";
    if (selected)
        xml += "tabSelected=\"1\" ";
    xml += "workbookViewId=\"0\"><selection activeCell=\"" + active + "\" sqref=\"" + active +
           "\"/></sheetView></sheetViews><sheetData>";
    int row = 0;
    for (const auto& [cell, text] : sheet.cells) {
        if (cell.row != row) {
            if (row)
                xml += "</row>";
            row = cell.row;
            xml += "<row r=\"" + std::to_string(row) + "\">";
        }
        xml += "<c r=\"" + ToUtf8(CellName(cell)) + "\"";
        if (const CellKind kind = sheet.KindOf(cell); kind != CellKind::Text) {
            xml += kind == CellKind::Number ? ">" : kind == CellKind::Boolean ? " t=\"b\">" : " t=\"e\">";
            xml += "<v>" + CellTextXml(text) + "</v></c>";
            continue;
        }
        const bool quoted = !text.empty() && text.front() == QuotePrefix;
        if (quoted)
            xml += std::string(" s=\"") + QuotedStyle + "\"";
        xml += " t=\"inlineStr\"><is><t xml:space=\"preserve\">";
        xml += CellTextXml(quoted ? std::wstring_view(text).substr(1) : std::wstring_view(text));
        xml += "</t></is></c>";
    }
    if (row)
        xml += "</row>";
    xml += "</sheetData></worksheet>";
    return xml;
}

struct Relationship {
    std::string id, type, target;
};

std::vector<Relationship> ReadRelationships(const ZipReader& zip, const std::string& part)
{
    std::vector<Relationship> rels;
    if (!zip.Find(part))
        return rels;
    const XmlElement root = ParseXml(zip.Read(part));
    for (const XmlElement* rel : root.Children("Relationship")) {
        const std::string* id = rel->Attribute("Id");
        const std::string* type = rel->Attribute("Type");
        const std::string* target = rel->Attribute("Target");
        if (id && type && target)
            rels.push_back({*id, *type, *target});
    }
    return rels;
}

bool TypeIs(const Relationship& rel, std::string_view kind)
{
    const std::size_t slash = rel.type.rfind('/');
    return slash != std::string::npos && rel.type.compare(slash + 1, std::string::npos, kind) == 0;
}

// A relationship target as a part name: relative to the source part's folder.
std::string ResolvePart(const std::string& folder, const std::string& target)
{
    std::vector<std::string> segments;
    std::string path = target.starts_with('/') ? target.substr(1) : folder + target;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string segment = path.substr(start, slash - start);
        if (segment == "..") {
            if (segments.empty())
                throw Error(L"A relationship points outside the package.");
            segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string part;
    for (const std::string& segment : segments)
        part += (part.empty() ? "" : "/") + segment;
    return part;
}

std::string Folder(const std::string& part)
{
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// The text of an inline string or shared string item: plain, or the runs of rich text.
std::string StringItemText(const XmlElement& item)
{
    std::string text;
    for (const XmlElement& child : item.children) {
        if (child.name == "t")
            text += child.text;
        else if (child.name == "r")
            for (const XmlElement* t : child.Children("t"))
                text += t->text;
    }
    return text;
}

int ParseIndex(const std::string& text, int limit)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const int value = std::stoi(text);
    return value < limit ? value : -1;
}

// Per cell format of the styles part, whether it marks text given behind the prefix.
std::vector<bool> QuotedFormats(const XmlElement& styles)
{
    std::vector<bool> quoted;
    if (const XmlElement* formats = styles.Child("cellXfs"))
        for (const XmlElement* xf : formats->Children("xf")) {
            const std::string* flag = xf->Attribute("quotePrefix");
            quoted.push_back(flag && (*flag == "1" || *flag == "true"));
        }
    return quoted;
}

Sheet ReadSheet(const XmlElement& root, const std::vector<std::wstring>& shared, const std::vector<bool>& quoted)
{
    Sheet sheet;
    if (const XmlElement* views = root.Child("sheetViews"))
        if (const XmlElement* view = views->Child("sheetView"))
            if (const XmlElement* selection = view->Child("selection"))
                if (const std::string* active = selection->Attribute("activeCell"))
                    if (auto cell = ParseCellName(FromUtf8(*active)))
                        sheet.activeCell = *cell;
    const XmlElement* data = root.Child("sheetData");
    if (!data)
        throw Error(L"A worksheet has no sheet data.");
    int rowNumber = 0;
    for (const XmlElement* row : data->Children("row")) {
        const std::string* r = row->Attribute("r");
        rowNumber = r ? ParseIndex(*r, MaxRows + 1) : rowNumber + 1;
        if (rowNumber < 1 || rowNumber > MaxRows)
            throw Error(L"A worksheet has a row number out of range.");
        CellRef cell{rowNumber, 0};
        for (const XmlElement* c : row->Children("c")) {
            if (const std::string* ref = c->Attribute("r")) {
                const auto parsed = ParseCellName(FromUtf8(*ref));
                if (!parsed || parsed->row != rowNumber)
                    throw Error(L"A worksheet has a bad cell reference \"" + FromUtf8(*ref, false) + L"\".");
                cell = *parsed;
            } else if (++cell.col > MaxColumns) {
                throw Error(L"A worksheet row has too many cells.");
            }
            const std::string* type = c->Attribute("t");
            const XmlElement* v = c->Child("v");
            std::wstring text;
            CellKind kind = CellKind::Text;
            if (!type || *type == "n")
                kind = CellKind::Number;
            else if (*type == "b")
                kind = CellKind::Boolean;
            else if (*type == "e")
                kind = CellKind::Error;
            if (type && *type == "inlineStr") {
                if (const XmlElement* is = c->Child("is"))
                    text = CellTextFromXml(StringItemText(*is));
            } else if (type && *type == "s") {
                const int index = v ? ParseIndex(v->text, static_cast<int>(shared.size())) : -1;
                if (index < 0)
                    throw Error(L"A cell refers to a shared string that does not exist.");
                text = shared[index];
            } else if (v) {
                text = CellTextFromXml(v->text);
            }
            if (const std::string* style = c->Attribute("s"); style && !text.empty() && kind == CellKind::Text) {
                const int format = ParseIndex(*style, static_cast<int>(quoted.size()));
                if (format >= 0 && quoted[static_cast<std::size_t>(format)])
                    text.insert(text.begin(), QuotePrefix);
            }
            sheet.kinds.erase(cell);
            if (text.empty()) {
                sheet.cells.erase(cell);
            } else {
                sheet.cells[cell] = std::move(text);
                if (kind != CellKind::Text)
                    sheet.kinds[cell] = kind;
            }
        }
    }
    return sheet;
}

} // namespace

std::string WorkbookToXlsx(const Workbook& book)
{
    if (book.sheets.empty())
        throw Error(L"A workbook needs at least one sheet.");
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        const std::wstring problem = SheetNameProblem(book, i, book.sheets[i].name);
        if (!problem.empty())
            throw Error(problem);
    }
    const std::size_t active = book.activeSheet < book.sheets.size() ? book.activeSheet : 0;

    std::string types = XmlDeclaration;
    types += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
             "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
             "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>";
    std::string rootRels = XmlDeclaration;
    rootRels += "<Relationships xmlns=\"" + std::string(PackageRelNs) +
                "\"><Relationship Id=\"rId1\" Type=\"" + RelationshipNs +
                "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>";
    std::string workbook = XmlDeclaration;
    workbook += "<workbook xmlns=\"" + std::string(MainNs) + "\" xmlns:r=\"" + RelationshipNs +
                "\"><bookViews><workbookView activeTab=\"" + std::to_string(active) +
                "\"/></bookViews><sheets>";
    std::string bookRels = XmlDeclaration;
    bookRels += "<Relationships xmlns=\"" + std::string(PackageRelNs) + "\">";

    std::vector<ZipFile> sheetFiles;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        types += "<Override PartName=\"/xl/worksheets/sheet" + n +
                 ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        workbook += "<sheet name=\"" + Utf8Attribute(book.sheets[i].name) + "\" sheetId=\"" + n +
                    "\" r:id=\"rId" + n + "\"/>";
        bookRels += "<Relationship Id=\"rId" + n + "\" Type=\"" + RelationshipNs +
                    "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
        sheetFiles.push_back({"xl/worksheets/sheet" + n + ".xml", SheetXml(book.sheets[i], i == active)});
    }
    types += "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/"
             "vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/></Types>";
    workbook += "</sheets></workbook>";
    bookRels += "<Relationship Id=\"rId" + std::to_string(book.sheets.size() + 1) + "\" Type=\"" +
                RelationshipNs + "/styles\" Target=\"styles.xml\"/></Relationships>";

    std::vector<ZipFile> files{{"[Content_Types].xml", types},
                               {"_rels/.rels", rootRels},
                               {"xl/workbook.xml", workbook},
                               {"xl/_rels/workbook.xml.rels", bookRels},
                               {"xl/styles.xml", XmlDeclaration + std::string(StylesXml)}};
    for (ZipFile& file : sheetFiles)
        files.push_back(std::move(file));
    return WriteZip(files);
}

Workbook WorkbookFromXlsx(std::string bytes)
{
    const ZipReader zip(std::move(bytes));
    std::string bookPart;
    for (const Relationship& rel : ReadRelationships(zip, "_rels/.rels"))
        if (TypeIs(rel, "officeDocument"))
            bookPart = ResolvePart("", rel.target);
    if (bookPart.empty() || !zip.Find(bookPart))
        throw Error(L"The package holds no workbook.");
    const std::string folder = Folder(bookPart);
    const std::vector<Relationship> rels =
        ReadRelationships(zip, folder + "_rels/" + bookPart.substr(folder.size()) + ".rels");

    std::vector<std::wstring> shared;
    std::vector<bool> quoted;
    for (const Relationship& rel : rels) {
        if (TypeIs(rel, "styles")) {
            quoted = QuotedFormats(ParseXml(zip.Read(ResolvePart(folder, rel.target))));
            continue;
        }
        if (!TypeIs(rel, "sharedStrings"))
            continue;
        const XmlElement sst = ParseXml(zip.Read(ResolvePart(folder, rel.target)));
        for (const XmlElement* item : sst.Children("si"))
            shared.push_back(CellTextFromXml(StringItemText(*item)));
    }

    const XmlElement root = ParseXml(zip.Read(bookPart));
    Workbook book;
    const XmlElement* sheets = root.Child("sheets");
    for (const XmlElement* entry : sheets ? sheets->Children("sheet") : std::vector<const XmlElement*>{}) {
        const std::string* name = entry->Attribute("name");
        const std::string* id = entry->Attribute("id");
        const Relationship* rel = nullptr;
        for (const Relationship& candidate : rels)
            if (id && candidate.id == *id)
                rel = &candidate;
        if (!name || !rel)
            throw Error(L"The workbook lists a sheet without a name or a part.");
        if (!TypeIs(*rel, "worksheet"))
            throw Error(L"The sheet \"" + FromUtf8(*name, false) +
                        L"\" is not a worksheet; only worksheets are supported.");
        Sheet sheet = ReadSheet(ParseXml(zip.Read(ResolvePart(folder, rel->target))), shared, quoted);
        sheet.name = FromUtf8(*name);
        if (FindSheet(book, sheet.name))
            throw Error(L"The workbook has two sheets named \"" + sheet.name + L"\".");
        book.sheets.push_back(std::move(sheet));
    }
    if (book.sheets.empty())
        throw Error(L"The workbook has no sheets.");
    if (const XmlElement* views = root.Child("bookViews"))
        if (const XmlElement* view = views->Child("workbookView"))
            if (const std::string* tab = view->Attribute("activeTab"))
                book.activeSheet = std::max(0, ParseIndex(*tab, static_cast<int>(book.sheets.size())));
    return book;
}

} // namespace xlsx
