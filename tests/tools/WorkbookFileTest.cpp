// The stand-in's workbook files: cell references both ways, the .xlsx package it
// writes (read back part by part), packages other programs write, and damaged files.
#include <gtest/gtest.h>
#include "Error.h"
#include "TestSupport.h"
#include "Workbook.h"
#include "Xml.h"
#include "Zip.h"
#include <functional>

using namespace xlsx;

namespace {

TEST(CellNames, ColumnsAndCellsBothWays)
{
    const struct {
        int col;
        const wchar_t* name;
    } cases[] = {{1, L"A"},     {2, L"B"},     {26, L"Z"},     {27, L"AA"},   {28, L"AB"},   {52, L"AZ"},
                 {53, L"BA"},   {702, L"ZZ"},  {703, L"AAA"},  {731, L"ABC"}, {18278, L"ZZZ"} /* past the limit */,
                 {16384, L"XFD"}};
    for (const auto& c : cases) {
        EXPECT_EQ(ColumnName(c.col), c.name) << c.col;
        const auto cell = ParseCellName(std::wstring(c.name) + L"7");
        if (c.col <= MaxColumns) {
            ASSERT_TRUE(cell) << c.col;
            EXPECT_EQ(*cell, (CellRef{7, c.col}));
        } else {
            EXPECT_FALSE(cell) << c.col;
        }
    }
    EXPECT_EQ(CellName({1048576, 16384}), L"XFD1048576");
    EXPECT_EQ(ParseCellName(L"$ab$12"), (CellRef{12, 28}));
}

TEST(CellNames, TextsThatAreNoCellOrRange)
{
    for (const wchar_t* text : {L"", L"A", L"7", L"A0", L"A01", L"XFE1", L"A1048577", L"1A", L"A1B", L"AAAA1",
                                L"A-1", L" A1", L"A1 ", L"$$A1", L"A$$1", L"\u00C41"})
        EXPECT_FALSE(ParseCellName(text)) << ToUtf8(text);
    for (const wchar_t* text : {L"A1:", L":B2", L"A1:B2:C3", L"A1-B2", L"A:A", L"1:1", L"A1:[A4"})
        EXPECT_FALSE(ParseRange(text)) << ToUtf8(text);

    const struct {
        const wchar_t* text;
        CellRange range;
    } ranges[] = {
        {L"A1:AB4", {{1, 1}, {4, 28}}},
        {L"$B$2:$C$3", {{2, 2}, {3, 3}}},
        {L"D4:B2", {{2, 2}, {4, 4}}},
        {L"B4:D2", {{2, 2}, {4, 4}}},
        {L"C3", {{3, 3}, {3, 3}}},
        {L"A10:ABC11", {{10, 1}, {11, 731}}},
    };
    for (const auto& r : ranges) {
        const auto parsed = ParseRange(r.text);
        ASSERT_TRUE(parsed) << ToUtf8(r.text);
        EXPECT_EQ(parsed->first, r.range.first) << ToUtf8(r.text);
        EXPECT_EQ(parsed->last, r.range.last) << ToUtf8(r.text);
    }
}

// Each text and how the sheet XML must spell it: XML escapes, "_xHHHH_" for what
// XML cannot carry (or would change, as CR), UTF-8 for the rest.
const struct {
    std::wstring text;
    std::string spelt;
} Spellings[] = {
    {L"<b>Fish & \"Chips\"</b>", "&lt;b&gt;Fish &amp; &quot;Chips&quot;&lt;/b&gt;"},
    {L"two\nlines", "two\nlines"},
    {L"cr\r\nlf", "cr_x000D_\nlf"},
    {L"tab\tkept", "tab\tkept"},
    {L"  padded  ", "  padded  "},
    {L"_x0041_ stays literal", "_x005F_x0041_ stays literal"},
    {L"_x41_ and _xZZZZ_", "_x41_ and _xZZZZ_"},
    {std::wstring(L"bell\x07"), "bell_x0007_"},
    {std::wstring(L"lone \xD800 half"), "lone _xD800_ half"},
    {std::wstring(L"not a character \xFFFF"), "not a character _xFFFF_"},
    {L"Z\u00FCrich \u6771\u4EAC \U0001F600", "Z\xC3\xBCrich \xE6\x9D\xB1\xE4\xBA\xAC \xF0\x9F\x98\x80"},
};

TEST(WorkbookFile, SheetXmlSpellsEveryTextAtItsCell)
{
    Workbook book;
    book.sheets.push_back({L"Texts"});
    for (std::size_t i = 0; i < std::size(Spellings); ++i)
        book.sheets[0].cells[{static_cast<int>(i) + 1, 703}] = Spellings[i].text;

    const ZipReader zip(WorkbookToXlsx(book));
    const std::string sheet = zip.Read("xl/worksheets/sheet1.xml");
    for (std::size_t i = 0; i < std::size(Spellings); ++i) {
        const std::string row = std::to_string(i + 1);
        const std::string expected = "<row r=\"" + row + "\"><c r=\"AAA" + row +
                                     "\" t=\"inlineStr\"><is><t xml:space=\"preserve\">" + Spellings[i].spelt +
                                     "</t></is></c></row>";
        EXPECT_NE(sheet.find(expected), std::string::npos) << expected;
    }
    EXPECT_NE(sheet.find("<dimension ref=\"AAA1:AAA11\"/>"), std::string::npos);
    EXPECT_EQ(WorkbookFromXlsx(WorkbookToXlsx(book)).sheets[0].cells, book.sheets[0].cells);
}

// A text given behind the quote prefix is text the application must not read
// as a formula: the file holds it without the prefix, in the quote-prefix cell
// format, and reads back as given.
TEST(WorkbookFile, TextsGivenBehindTheQuotePrefixKeepIt)
{
    Workbook book;
    book.sheets.push_back({L"Texts", {{{1, 1}, L"'=1+2"}, {{1, 2}, L"''quoted"}, {{1, 3}, L"=plain"}}});
    const std::string bytes = WorkbookToXlsx(book);
    const ZipReader zip(bytes);
    const std::string sheet = zip.Read("xl/worksheets/sheet1.xml");
    EXPECT_NE(sheet.find("<c r=\"A1\" s=\"1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">=1+2</t>"),
              std::string::npos) << sheet;
    EXPECT_NE(sheet.find("<c r=\"B1\" s=\"1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">'quoted</t>"),
              std::string::npos) << sheet;
    EXPECT_NE(sheet.find("<c r=\"C1\" t=\"inlineStr\"><is><t xml:space=\"preserve\">=plain</t>"),
              std::string::npos) << sheet;
    const XmlElement styles = ParseXml(zip.Read("xl/styles.xml"));
    ASSERT_NE(styles.Child("cellXfs"), nullptr);
    const std::vector<const XmlElement*> formats = styles.Child("cellXfs")->Children("xf");
    ASSERT_EQ(formats.size(), 2u);
    ASSERT_NE(formats[1]->Attribute("quotePrefix"), nullptr);
    EXPECT_EQ(*formats[1]->Attribute("quotePrefix"), "1");
    EXPECT_EQ(WorkbookFromXlsx(bytes).sheets[0].cells, book.sheets[0].cells);
}

TEST(WorkbookFile, SavedWorkbookReadsBackWhole)
{
    testing_support::TempDir dir;
    Workbook book;
    book.sheets.push_back({L"Data & <more>", {{{1, 1}, L"first"}, {{2, 28}, L"AB2"}, {{1048576, 16384}, L"last"}}, {7, 2}});
    book.sheets.push_back({L"Empty"});
    book.sheets.push_back({L"\u00DCbersicht", {{{3, 3}, Spellings[2].text}}, {3, 3}});
    book.activeSheet = 2;
    const std::wstring file = dir.File(L"book \u00FC.xlsx");
    SaveWorkbook(book, file);

    const Workbook read = LoadWorkbook(file);
    ASSERT_EQ(read.sheets.size(), book.sheets.size());
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        EXPECT_EQ(read.sheets[i].name, book.sheets[i].name);
        EXPECT_EQ(read.sheets[i].cells, book.sheets[i].cells);
        EXPECT_EQ(read.sheets[i].activeCell, book.sheets[i].activeCell);
    }
    EXPECT_EQ(read.activeSheet, 2u);

    // Saving again over the file replaces it.
    book.sheets[1].cells[{1, 1}] = L"now filled";
    SaveWorkbook(book, file);
    EXPECT_EQ(LoadWorkbook(file).sheets[1].cells.at({1, 1}), L"now filled");
}

TEST(WorkbookFile, ReadsAWorkbookWrittenElsewhere)
{
    const Workbook book = LoadWorkbook(testing_support::SourceDir() + L"\\tests\\fixtures\\tools\\foreign.xlsx");
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_EQ(book.activeSheet, 1u);

    const Sheet& summary = book.sheets[0];
    EXPECT_EQ(summary.name, L"Summary");
    EXPECT_EQ(summary.activeCell, (CellRef{3, 2}));
    EXPECT_EQ(summary.cells, (std::map<CellRef, std::wstring>{
                                 {{1, 1}, L"plain"},
                                 {{1, 2}, L"bold and plain"},
                                 {{1, 3}, L"42.5"},
                                 {{3, 1}, L"caf\u00E9 & cr\rlf"},
                                 {{3, 2}, L"inline"},
                                 {{4, 28}, L"1"},
                             }));

    const Sheet& detail = book.sheets[1];
    EXPECT_EQ(detail.name, L"Detail & more");
    EXPECT_EQ(detail.activeCell, (CellRef{1, 1}));
    EXPECT_EQ(detail.cells, (std::map<CellRef, std::wstring>{{{2, 702}, L"line\nbreak"}, {{2, 703}, L"formula text"}}));
}

// The parts of a good package, to damage one at a time.
std::vector<ZipFile> GoodParts()
{
    Workbook book;
    book.sheets.push_back({L"One", {{{1, 1}, L"a"}}});
    const ZipReader zip(WorkbookToXlsx(book));
    std::vector<ZipFile> parts;
    for (const auto& entry : zip.Entries())
        parts.push_back({entry.name, zip.Read(entry.name)});
    return parts;
}

std::string WithPart(const std::string& name, const std::string& data)
{
    std::vector<ZipFile> parts = GoodParts();
    bool replaced = false;
    for (ZipFile& part : parts)
        if (part.name == name) {
            part.data = data;
            replaced = true;
        }
    if (!replaced)
        parts.push_back({name, data});
    return WriteZip(parts);
}

// The byte offset of a field in the central directory record of `name`.
std::size_t CentralField(const std::string& bytes, const std::string& name, std::size_t field)
{
    const std::string signature("PK\x01\x02", 4);
    for (std::size_t at = bytes.find(signature); at != std::string::npos; at = bytes.find(signature, at + 1))
        if (bytes.compare(at + 46, name.size(), name) == 0)
            return at + field;
    throw std::logic_error("no central directory record for " + name);
}

std::string Damaged(const std::function<void(std::string&)>& damage)
{
    std::string bytes = WriteZip(GoodParts());
    damage(bytes);
    return bytes;
}

TEST(WorkbookFile, DamagedFilesFailWithAMessage)
{
    const std::string good = WriteZip(GoodParts());
    const ZipReader reader(good);
    const ZipReader::Entry& sheetEntry = *reader.Find("xl/worksheets/sheet1.xml");
    auto sheetWith = [&](const std::string& rows) {
        return WithPart(sheetEntry.name, "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
                                         "<sheetData>" + rows + "</sheetData></worksheet>");
    };
    const std::string mainNs = "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    const std::string relNs = "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
    const struct {
        const char* what;
        std::string bytes;
        const wchar_t* says;
    } cases[] = {
        {"nothing", "", L"not a zip archive"},
        {"text", "just some text, long enough to be searched for an end record", L"not a zip archive"},
        {"cut short", good.substr(0, good.size() / 2), L"not a zip archive"},
        {"no end record", good.substr(0, good.size() - 22), L"not a zip archive"},
        {"directory outside", Damaged([](std::string& b) { b[b.size() - 3] = '\x7F'; }), L"outside the file"},
        {"flipped data byte",
         Damaged([&](std::string& b) { b[sheetEntry.localHeader + 30 + sheetEntry.name.size() + 5] ^= 0x55; }),
         L"damaged"},
        {"wrong CRC", Damaged([&](std::string& b) { b[CentralField(b, sheetEntry.name, 16)] ^= 1; }), L"CRC"},
        {"other method", Damaged([&](std::string& b) { b[CentralField(b, sheetEntry.name, 10)] = 12; }),
         L"compression method"},
        {"encrypted", Damaged([&](std::string& b) { b[CentralField(b, sheetEntry.name, 8)] |= 1; }), L"Encrypted"},
        {"bad local header", Damaged([&](std::string& b) { b[sheetEntry.localHeader] = 'X'; }), L"damaged header"},
        {"no package relationships", WithPart("_rels/.rels", "<Relationships/>"), L"no workbook"},
        {"workbook not well-formed", WithPart("xl/workbook.xml", "<workbook><sheets></workbook>"), L"mismatched"},
        {"document type", WithPart("xl/workbook.xml", "<!DOCTYPE workbook [<!ENTITY x \"y\">]><workbook/>"),
         L"document type"},
        {"unknown entity", WithPart("xl/workbook.xml", "<workbook a=\"&bogus;\"/>"), L"unknown entity"},
        {"unquoted attribute", WithPart("xl/workbook.xml", "<workbook a=b/>"), L"unquoted"},
        {"nested too deep",
         WithPart("xl/workbook.xml", [] {
             std::string deep;
             for (int i = 0; i < 150; ++i) deep += "<a>";
             for (int i = 0; i < 150; ++i) deep += "</a>";
             return deep;
         }()),
         L"nested too deeply"},
        {"no sheets", WithPart("xl/workbook.xml", "<workbook " + mainNs + "><sheets/></workbook>"), L"no sheets"},
        {"sheet without part",
         WithPart("xl/workbook.xml", "<workbook " + mainNs + " " + relNs +
                                         "><sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId9\"/></sheets></workbook>"),
         L"without a name or a part"},
        {"same name twice",
         WithPart("xl/workbook.xml",
                  "<workbook " + mainNs + " " + relNs +
                      "><sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/><sheet name=\"a\" sheetId=\"2\" "
                      "r:id=\"rId1\"/></sheets></workbook>"),
         L"two sheets named"},
        {"missing sheet part", WithPart("xl/_rels/workbook.xml.rels",
                                        "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
                                        "Target=\"worksheets/gone.xml\"/></Relationships>"),
         L"has no \"xl/worksheets/gone.xml\""},
        {"part outside the package", WithPart("xl/_rels/workbook.xml.rels",
                                              "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
                                              "Target=\"../../../sheet.xml\"/></Relationships>"),
         L"outside the package"},
        {"chart sheet", WithPart("xl/_rels/workbook.xml.rels",
                                 "<Relationships><Relationship Id=\"rId1\" Type=\"x/chartsheet\" "
                                 "Target=\"worksheets/sheet1.xml\"/></Relationships>"),
         L"not a worksheet"},
        {"bad cell reference",
         sheetWith("<row r=\"1\"><c r=\"A0\"><v>1</v></c></row>"),
         L"bad cell reference"},
        {"cell in another row",
         sheetWith("<row r=\"1\"><c r=\"A2\"><v>1</v></c></row>"),
         L"bad cell reference"},
        {"row out of range",
         sheetWith("<row r=\"1048577\"/>"),
         L"row number"},
        {"shared string missing",
         sheetWith("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"),
         L"shared string"},
        {"invalid UTF-8",
         sheetWith("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>\xC3\x28</t></is></c></row>"),
         L"UTF-8"},
    };
    for (const auto& c : cases) {
        try {
            WorkbookFromXlsx(c.bytes);
            ADD_FAILURE() << c.what << ": read without an error";
        } catch (const Error& e) {
            EXPECT_NE(e.Message().find(c.says), std::wstring::npos) << c.what << ": " << e.what();
        }
    }
}

TEST(WorkbookFile, WritingRefusesWhatNoFileCanHold)
{
    Workbook none;
    EXPECT_THROW(WorkbookToXlsx(none), Error);
    Workbook clash;
    clash.sheets = {{L"Same"}, {L"SAME"}};
    EXPECT_THROW(WorkbookToXlsx(clash), Error);
    Workbook badName;
    badName.sheets = {{L"a/b"}};
    EXPECT_THROW(WorkbookToXlsx(badName), Error);

    testing_support::TempDir dir;
    Workbook good;
    good.sheets = {{L"Fine"}};
    const std::wstring nowhere = dir.File(L"missing\\book.xlsx");
    try {
        SaveWorkbook(good, nowhere);
        ADD_FAILURE() << "saved into a folder that does not exist";
    } catch (const Error& e) {
        EXPECT_NE(e.Message().find(L"Cannot save \"" + nowhere + L"\""), std::wstring::npos) << e.what();
    }
}

} // namespace
