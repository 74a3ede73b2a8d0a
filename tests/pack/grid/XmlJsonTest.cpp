// XML and JSON: a small grid's XML byte for byte in the declared encoding,
// read back through the system's XML parser object; attributes and levels
// mapped to rows; empty cells left out; broken and missing files refused
// with the grid as it was. JSON of hostile cell texts read back by a strict
// parser of this file.
#include <gtest/gtest.h>
#include "DataGridSupport.h"
#include "TestSupport.h"
#include <map>
#include <memory>

using namespace datagrid_test;
using testing_support::FileBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

using Cells = std::vector<std::vector<String>>;

struct TGrid {
    TAdvStringGrid* grid = New<TAdvStringGrid>(nullptr);
    TGrid() = default;
    explicit TGrid(const Cells& cells)
    {
        grid->SetFixedRows(0);
        grid->SetFixedCols(0);
        grid->SetRowCount(static_cast<int>(cells.size()));
        grid->SetColCount(static_cast<int>(cells[0].size()));
        for (std::size_t r = 0; r < cells.size(); ++r)
            for (std::size_t c = 0; c < cells[r].size(); ++c)
                grid->SetCells(static_cast<int>(c), static_cast<int>(r), cells[r][c]);
    }
    ~TGrid() { grid->Free(); }
    TAdvStringGrid* operator->() const { return grid; }
};

Cells Read(TAdvStringGrid* grid)
{
    Cells cells;
    for (int r = 0; r < grid->GetRowCount(); ++r) {
        cells.emplace_back();
        for (int c = 0; c < grid->GetColCount(); ++c)
            cells.back().push_back(grid->GetCells(c, r));
    }
    return cells;
}

// --- a strict JSON parser: RFC 8259 values, nothing more, nothing less -----------------

struct Json {
    enum Kind { Null, Bool, Number, Text, Array, Object } kind = Null;
    String text;
    std::vector<Json> items;
    std::vector<std::pair<String, Json>> members;
};

class JsonParser {
public:
    explicit JsonParser(const std::string& s) : s_(s) {}

    Json Document()
    {
        Json value = Value();
        Blank();
        if (at_ != s_.size())
            Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(const char* what)
    {
        throw std::runtime_error(std::string(what) + " at " + std::to_string(at_));
    }
    void Blank()
    {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r'))
            ++at_;
    }
    void Expect(char ch)
    {
        Blank();
        if (at_ >= s_.size() || s_[at_] != ch)
            Fail("unexpected character");
        ++at_;
    }
    bool Next(char ch)
    {
        Blank();
        return at_ < s_.size() && s_[at_] == ch;
    }
    Json Value()
    {
        Blank();
        if (at_ >= s_.size())
            Fail("no value");
        Json v;
        switch (s_[at_]) {
        case '{':
            ++at_;
            v.kind = Json::Object;
            if (Next('}')) {
                ++at_;
                return v;
            }
            for (;;) {
                Blank();
                String name = StringValue();
                Expect(':');
                v.members.emplace_back(name, Value());
                if (Next(',')) {
                    ++at_;
                    continue;
                }
                Expect('}');
                return v;
            }
        case '[':
            ++at_;
            v.kind = Json::Array;
            if (Next(']')) {
                ++at_;
                return v;
            }
            for (;;) {
                v.items.push_back(Value());
                if (Next(',')) {
                    ++at_;
                    continue;
                }
                Expect(']');
                return v;
            }
        case '"':
            v.kind = Json::Text;
            v.text = StringValue();
            return v;
        default:
            Fail("a value this document does not hold");
        }
    }
    unsigned Hex4()
    {
        if (at_ + 4 > s_.size())
            Fail("short escape");
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            const char ch = s_[at_++];
            value <<= 4;
            if (ch >= '0' && ch <= '9')
                value |= static_cast<unsigned>(ch - '0');
            else if (ch >= 'a' && ch <= 'f')
                value |= static_cast<unsigned>(ch - 'a' + 10);
            else if (ch >= 'A' && ch <= 'F')
                value |= static_cast<unsigned>(ch - 'A' + 10);
            else
                Fail("bad hex digit");
        }
        return value;
    }
    String StringValue()
    {
        if (at_ >= s_.size() || s_[at_] != '"')
            Fail("no string");
        ++at_;
        String out;
        for (;;) {
            if (at_ >= s_.size())
                Fail("unterminated string");
            const unsigned char ch = static_cast<unsigned char>(s_[at_++]);
            if (ch == '"')
                return out;
            if (ch < 0x20)
                Fail("raw control character in a string");
            if (ch >= 0x80)
                Fail("a byte outside 7 bits");
            if (ch != '\\') {
                out += static_cast<wchar_t>(ch);
                continue;
            }
            if (at_ >= s_.size())
                Fail("escape at the end");
            switch (s_[at_++]) {
            case '"': out += L'"'; break;
            case '\\': out += L'\\'; break;
            case '/': out += L'/'; break;
            case 'b': out += L'\b'; break;
            case 'f': out += L'\f'; break;
            case 'n': out += L'\n'; break;
            case 'r': out += L'\r'; break;
            case 't': out += L'\t'; break;
            case 'u': {
                const unsigned unit = Hex4();
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    if (at_ + 2 > s_.size() || s_[at_] != '\\' || s_[at_ + 1] != 'u')
                        Fail("a high surrogate alone");
                    at_ += 2;
                    const unsigned low = Hex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        Fail("a high surrogate without its low one");
                    out += static_cast<wchar_t>(unit);
                    out += static_cast<wchar_t>(low);
                } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                    Fail("a low surrogate alone");
                } else {
                    out += static_cast<wchar_t>(unit);
                }
                break;
            }
            default:
                Fail("unknown escape");
            }
        }
    }

    const std::string& s_;
    std::size_t at_ = 0;
};

// The rows of {"grid":[...]}: each row an array of strings, or, with names,
// of one-member objects, optionally wrapped in {"record":[...]}.
Cells GridRows(const Json& document, const String& record, std::vector<String>* names = nullptr)
{
    EXPECT_EQ(document.kind, Json::Object);
    EXPECT_EQ(document.members.size(), 1u);
    EXPECT_EQ(document.members[0].first, L"grid");
    Cells rows;
    for (const Json& row : document.members[0].second.items) {
        const Json* items = &row;
        if (!record.empty()) {
            EXPECT_EQ(row.kind, Json::Object);
            EXPECT_EQ(row.members.at(0).first, record);
            items = &row.members.at(0).second;
        }
        rows.emplace_back();
        for (const Json& item : items->items) {
            if (item.kind == Json::Object) {
                if (names)
                    names->push_back(item.members.at(0).first);
                rows.back().push_back(item.members.at(0).second.text);
            } else {
                rows.back().push_back(item.text);
            }
        }
    }
    return rows;
}

} // namespace

TEST(XmlExport, ASmallGridIsTheseBytesInItsDeclaredEncodingAndReadsBack)
{
    TempDir dir;
    const Cells cells = {{L"a<b&c", L"&lt;", L"q\"x>"}, {L"", L"\u00FC\u20AC", L"l1\r\nl2"}};
    TGrid grid(cells);
    grid->SaveToXML(dir.File(L"g.xml"), L"LIST", L"ROW", nullptr);
    EXPECT_EQ(FileBytes(dir.File(L"g.xml")),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<LIST>\r\n<ROW>\r\n"
              "<FIELD0>a&lt;b$amp;c</FIELD0>\r\n<FIELD1>$amp;lt;</FIELD1>\r\n<FIELD2>q&quot;x&gt;</FIELD2>\r\n"
              "</ROW>\r\n<ROW>\r\n"
              "<FIELD0>&quot;&quot;</FIELD0>\r\n<FIELD1>\xFC&#8364;</FIELD1>\r\n<FIELD2>l1&#13;&#10;l2</FIELD2>\r\n"
              "</ROW>\r\n</LIST>\r\n");

    TGrid back;
    back->SetFixedRows(0);
    back->SetFixedCols(0);
    back->LoadFromXML(dir.File(L"g.xml"));
    EXPECT_EQ(Read(back.grid), cells);

    grid->SetXMLEncoding(L"UTF-8");
    TOwned<TStringList> names(New<TStringList>());
    names->Add(L"name");
    grid->SaveToXML(dir.File(L"u.xml"), L"list", L"pc", names.get());
    const std::string utf8 = FileBytes(dir.File(L"u.xml"));
    EXPECT_NE(utf8.find("<name>a&lt;b$amp;c</name>"), std::string::npos);
    EXPECT_NE(utf8.find("<FIELD1>\xC3\xBC\xE2\x82\xAC</FIELD1>"), std::string::npos) << "names run out";
    TGrid backUtf8;
    backUtf8->SetFixedRows(0);
    backUtf8->SetFixedCols(0);
    backUtf8->LoadFromXML(dir.File(L"u.xml"));
    EXPECT_EQ(Read(backUtf8.grid), cells);
}

TEST(XmlExport, FieldNumbersCountFromTheStartColumnAndEmptyCellsMayBeLeftOut)
{
    TempDir dir;
    TGrid grid({{L"fixed", L"a", L"", L"c"}});
    grid->SetRowCount(2);
    grid->SetCells(1, 1, L"d");
    grid->SetCells(3, 1, L"f");
    grid->SetFixedCols(1);
    grid->SetSaveFixedCells(false);
    grid->SaveToXML(dir.File(L"e.xml"), L"L", L"R", nullptr, false);
    EXPECT_EQ(FileBytes(dir.File(L"e.xml")),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>\r\n<L>\r\n<R>\r\n<FIELD0>a</FIELD0>\r\n"
              "<FIELD2>c</FIELD2>\r\n</R>\r\n<R>\r\n<FIELD0>d</FIELD0>\r\n<FIELD2>f</FIELD2>\r\n</R>\r\n</L>\r\n");

    // Read back, the fields after a left-out cell move one column left.
    TGrid back;
    back->SetFixedRows(0);
    back->SetFixedCols(1);
    back->SetSaveFixedCells(false);
    back->LoadFromXML(dir.File(L"e.xml"));
    EXPECT_EQ(Read(back.grid), (Cells{{L"", L"a", L"c"}, {L"", L"d", L"f"}}));
}

TEST(XmlImport, AttributesAndLevelsBecomeRowsNeverAboveTheFirstRowOrOutsideTheGrid)
{
    struct Case {
        const char* what;
        const char* xml;
        int fixedRows;
        Cells cells;
    };
    const Case cases[] = {
        {"each record's attributes on a row of their own",
         "<list><rec id=\"1\" kind=\"pc\"><name>a</name><mem>8</mem></rec>"
         "<rec id=\"2\" kind=\"srv\"><name>b</name><mem>16</mem></rec></list>",
         0,
         {{L"1", L"pc", L""}, {L"", L"a", L"8"}, {L"2", L"srv", L""}, {L"", L"b", L"16"}}},
        {"records of attributes only", "<list><rec id=\"1\" kind=\"pc\"/><rec id=\"2\" kind=\"srv\"/></list>", 0,
         {{L"1", L"pc"}, {L"2", L"srv"}}},
        {"a first record without attributes and one child", "<list><rec><v>x</v></rec><rec><a>1</a><b>2</b></rec></list>",
         0, {{L"x", L""}, {L"1", L"2"}}},
        {"the same below a fixed row", "<list><rec><v>x</v></rec><rec><a>1</a><b>2</b></rec></list>", 1,
         {{L"", L""}, {L"x", L""}, {L"1", L"2"}}},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const String file = dir.File(L"in.xml");
        WriteBytes(file, c.xml);
        TGrid grid;
        grid->SetFixedCols(0);
        grid->SetFixedRows(c.fixedRows);
        grid->SetSaveFixedCells(false);
        grid->OnLoadCell = [&](TObject*, int col, int row, String&) {
            EXPECT_GE(row, c.fixedRows) << "above the first row loaded into";
            EXPECT_LT(col, grid->GetColCount());
            EXPECT_LT(row, grid->GetRowCount());
        };
        grid->LoadFromXML(file, true);
        EXPECT_EQ(Read(grid.grid), c.cells);
    }
}

TEST(XmlImport, EmptyElementsBeyondTheGridAreNotWrittenAndHeadersComeFromNames)
{
    TempDir dir;
    const String file = dir.File(L"in.xml");
    WriteBytes(file, "<list><r><a/><b/><c/><d>x</d></r><r><a>1</a><b>2</b><c/><d/></r></list>");
    TGrid grid;
    grid->SetFixedCols(0);
    grid->SetColCount(1);
    std::vector<std::pair<int, int>> outside;
    grid->OnLoadCell = [&](TObject*, int col, int row, String&) {
        if (col >= grid->GetColCount() || row >= grid->GetRowCount())
            outside.emplace_back(col, row);
    };
    grid->SetSaveFixedRows(true);
    grid->LoadFromXML(file, false, true);
    EXPECT_TRUE(outside.empty());
    EXPECT_EQ(Read(grid.grid), (Cells{{L"a", L"b", L"", L"d"}, {L"", L"", L"", L"x"}, {L"1", L"2", L"", L""}}));
}

TEST(XmlImport, BrokenAndMissingFilesAreRefusedWithTheGridAsItWas)
{
    TempDir dir;
    TFilledGrid<> grid(3, 3);
    const Cells before = Read(grid.grid);
    try {
        grid->LoadFromXML(dir.File(L"missing.xml"));
        ADD_FAILURE() << "no error";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), L"XML file not found");
    }
    WriteBytes(dir.File(L"broken.xml"), "<list><rec><a>1</a></rec>\r\n<rec>");
    try {
        grid->LoadFromXML(dir.File(L"broken.xml"));
        ADD_FAILURE() << "no error";
    } catch (const EAdvGridError& e) {
        const String message = e.Message();
        const String start = L"XMLDOM Parsing error ";
        const String end = L" on line 0";
        ASSERT_EQ(message.substr(0, start.size()), start);
        ASSERT_GE(message.size(), start.size() + end.size());
        EXPECT_EQ(message.substr(message.size() - end.size()), end) << "Wine's parser reports line 0";
        const String code = message.substr(start.size(), message.size() - start.size() - end.size());
        EXPECT_NE(StrToInt(code), 0);
    }
    EXPECT_EQ(Read(grid.grid), before);
}

TEST(JsonExport, ATwoByTwoGridIsThreeLines)
{
    TempDir dir;
    TGrid grid({{L"a", L"b"}, {L"c", L"d"}});
    grid->SaveToJSON(dir.File(L"g.json"), L"", nullptr);
    EXPECT_EQ(FileBytes(dir.File(L"g.json")), "{\"grid\":[[\"a\",\"b\"]\r\n,[\"c\",\"d\"]\r\n]}\r\n");
}

TEST(JsonExport, HostileCellTextsReadBackExactlyThroughAStrictParser)
{
    const Cells cells = {
        {L"back\\", L"\"quoted\"", L"line\r\nbreak", L"tab\t\b\f"},
        {String(L"nul\0one\x1F", 8), L"\u00FC\u20AC\U0001F600", L"</script>{}[],:", L""},
    };
    TempDir dir;
    TGrid grid(cells);
    grid->SaveToJSON(dir.File(L"plain.json"), L"", nullptr);
    const std::string plain = FileBytes(dir.File(L"plain.json"));
    EXPECT_EQ(GridRows(JsonParser(plain).Document(), L""), cells);

    TOwned<TStringList> names(New<TStringList>());
    for (const wchar_t* name : {L"na\"me", L"\u00E9", L"c\\", L"d\n"})
        names->Add(name);
    grid->SaveToJSON(dir.File(L"named.json"), L"re\"cord", names.get());
    std::vector<String> read;
    EXPECT_EQ(GridRows(JsonParser(FileBytes(dir.File(L"named.json"))).Document(), L"re\"cord", &read), cells);
    EXPECT_EQ(read, (std::vector<String>{L"na\"me", L"\u00E9", L"c\\", L"d\n", L"na\"me", L"\u00E9", L"c\\", L"d\n"}));
}

TEST(JsonExport, AnEmptyRangeIsAWholeDocument)
{
    TempDir dir;
    TGrid grid({{L"head"}, {L"foot"}});
    grid->SetFixedRows(1);
    grid->SetFixedFooters(1);
    grid->SetSaveFixedCells(false);
    grid->SaveToJSON(dir.File(L"e.json"), L"", nullptr);
    const std::string bytes = FileBytes(dir.File(L"e.json"));
    EXPECT_EQ(bytes, "{\"grid\":[\r\n]}\r\n");
    EXPECT_TRUE(GridRows(JsonParser(bytes).Document(), L"").empty());
}
