// CSV: the writer under each of its switches byte for byte and read back; a
// table of files from outside (quotes, line ends, encodings, NULs, huge
// lines and files), each giving its cells or an error with the grid as it
// was; the delimiter guess; the reader's forms.
#include <gtest/gtest.h>
#include "DataGridSupport.h"
#include "TestSupport.h"
#include <functional>

using namespace datagrid_test;
using testing_support::FileBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

using Cells = std::vector<std::vector<String>>;

// A grid without fixed cells holding the rows given.
void Put(TAdvStringGrid* grid, const Cells& cells)
{
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->SetRowCount(static_cast<int>(cells.size()));
    grid->SetColCount(static_cast<int>(cells[0].size()));
    for (std::size_t r = 0; r < cells.size(); ++r)
        for (std::size_t c = 0; c < cells[r].size(); ++c)
            grid->SetCells(static_cast<int>(c), static_cast<int>(r), cells[r][c]);
}

// The grid's cells, row by row.
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

std::string Narrow(const String& s)
{
    std::string out;
    for (wchar_t ch : s)
        out += static_cast<char>(ch);
    return out;
}

// A grid with settings made by a function, freed at the end.
struct TGrid {
    TAdvStringGrid* grid = New<TAdvStringGrid>(nullptr);
    ~TGrid() { grid->Free(); }
    TAdvStringGrid* operator->() const { return grid; }
};

const Cells WriterCells = {{L"a", L"b,c", L"q\"x"}, {L"", L"l1\r\nl2", L" lead"}};

} // namespace

TEST(CsvWriter, EachSwitchWritesTheseBytesAndReadsBackTheSameCells)
{
    struct Case {
        const char* what;
        std::function<void(TAdvStringGrid*)> set;
        std::string bytes;
    };
    const Case cases[] = {
        {"defaults", [](TAdvStringGrid*) {}, "a,\"b,c\",\"q\"\"x\"\r\n\"\",\"l1\x0Bl2\",\" lead\"\r\n"},
        {"empty cells unquoted", [](TAdvStringGrid* g) { g->SetQuoteEmptyCells(false); },
         "a,\"b,c\",\"q\"\"x\"\r\n,\"l1\x0Bl2\",\" lead\"\r\n"},
        {"always quotes", [](TAdvStringGrid* g) { g->SetAlwaysQuotes(true); },
         "\"a\",\"b,c\",\"q\"\"x\"\r\n\"\",\"l1\nl2\",\" lead\"\r\n"},
        {"multi-line cells", [](TAdvStringGrid* g) { g->SetMultilineCells(true); },
         "a,\"b,c\",\"q\"\"x\"\r\n\"\",\"l1\r\nl2\",\" lead\"\r\n"},
        {"always quotes and multi-line cells quote once",
         [](TAdvStringGrid* g) {
             g->SetAlwaysQuotes(true);
             g->SetMultilineCells(true);
         },
         "\"a\",\"b,c\",\"q\"\"x\"\r\n\"\",\"l1\r\nl2\",\" lead\"\r\n"},
        {"JavaCSV quotes a field holding the delimiter", [](TAdvStringGrid* g) { g->SetJavaCSV(true); },
         "a,\"b,c\",\"q\"\"x\"\r\n^,l1~l2,\" lead\"\r\n"},
        {"another delimiter", [](TAdvStringGrid* g) { g->SetDelimiter(L';'); },
         "a;b,c;\"q\"\"x\"\r\n\"\";\"l1\x0Bl2\";\" lead\"\r\n"},
        {"Unicode", [](TAdvStringGrid*) {}, "\xEF\xBB\xBF" "a,\"b,c\",\"q\"\"x\"\r\n\"\",\"l1\x0Bl2\",\" lead\"\r\n"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const String file = dir.File(L"out.csv");
        TGrid grid;
        Put(grid.grid, WriterCells);
        c.set(grid.grid);
        grid->SaveToCSV(file, std::string(c.what) == "Unicode");
        EXPECT_EQ(FileBytes(file), c.bytes);

        TGrid back;
        c.set(back.grid);
        back->SetFixedRows(0);
        back->SetFixedCols(0);
        back->SetColCount(1);
        back->LoadFromCSV(file);
        EXPECT_EQ(Read(back.grid), WriterCells);
    }
}

TEST(CsvWriter, SavesHiddenColumnsAppendsAndReportsProgress)
{
    TempDir dir;
    const String file = dir.File(L"out.csv");
    TGrid grid;
    Put(grid.grid, {{L"a", L"b", L"c"}, {L"d", L"e", L"f"}});
    grid->HideColumn(1);
    grid->SaveToCSV(file);
    EXPECT_EQ(FileBytes(file), "a,c\r\nd,f\r\n");
    grid->SetSaveHiddenCells(true);
    std::vector<short> progress;
    grid->OnFileProgress = [&](TObject*, short p) { progress.push_back(p); };
    grid->AppendToCSV(file);
    EXPECT_EQ(FileBytes(file), "a,c\r\nd,f\r\na,b,c\r\nd,e,f\r\n");
    EXPECT_EQ(progress, (std::vector<short>{0, 100}));
    EXPECT_THROW(grid->AppendToCSV(dir.File(L"missing.csv")), EStreamError);
}

TEST(CsvWriter, OemConvertWritesTheOemCodePagesBytesAndReadsThemBack)
{
    TempDir dir;
    const String file = dir.File(L"oem.csv");
    TGrid grid;
    Put(grid.grid, {{L"\u00FC\u00E9", L"x"}});
    grid->SetOemConvert(true);
    grid->SaveToCSV(file);
    EXPECT_EQ(FileBytes(file), WideToAnsi(L"\u00FC\u00E9", CP_OEMCP) + ",x\r\n");
    TGrid back;
    back->SetOemConvert(true);
    back->SetFixedRows(0);
    back->SetFixedCols(0);
    back->LoadFromCSV(file);
    EXPECT_EQ(back->GetCells(0, 0), L"\u00FC\u00E9");
}

TEST(CsvReader, FilesFromOutsideGiveTheirCellsOrAnErrorWithTheGridAsItWas)
{
    struct Case {
        const char* what;
        std::string bytes;
        Cells cells;          // empty: the grid stays as it was
        const char* error;    // the message of the error, if one is expected
        TEncoding* encoding = nullptr;
        int maxRows = 0;
    };
    std::string wide = "\xFF\xFE";
    for (wchar_t ch : String(L"\u00E4,b\r\nc,\u20AC\r\n")) {
        wide += static_cast<char>(ch & 0xFF);
        wide += static_cast<char>(ch >> 8);
    }
    const Case cases[] = {
        {"an empty file", "", {}, nullptr},
        {"a byte-order mark only", "\xEF\xBB\xBF", {}, "File is empty"},
        {"quotes inside unquoted fields", "a\"b\"c,d\r\n", {{L"a\"b\"c", L"d"}}, nullptr},
        {"a quoted CR LF", "\"x\r\ny\",z\r\nn,m\r\n", {{L"x\r\ny", L"z"}, {L"n", L"m"}}, nullptr},
        {"a quoted LF", "\"x\ny\",z\nn,m\n", {{L"x\r\ny", L"z"}, {L"n", L"m"}}, nullptr},
        {"a quoted CR", "\"x\ry\",z\rn,m\r", {{L"x\r\ny", L"z"}, {L"n", L"m"}}, nullptr},
        {"a quoted field over the last two lines", "a,b\r\nc,\"d\r\ne\"", {{L"a", L"b"}, {L"c", L"d\r\ne"}},
         nullptr},
        {"an unclosed quote on the last line keeps its text", "a,b\r\nc,\"d,e\r\n",
         {{L"a", L"b"}, {L"c", L"d,e"}}, nullptr},
        {"doubled quotes and blanks before a field", "  \"say \"\"hi\"\"\",  x\r\n", {{L"say \"hi\"", L"x"}},
         nullptr},
        {"a vertical tab is a line break", "\"l1\x0Bl2\",x\r\n", {{L"l1\r\nl2", L"x"}}, nullptr},
        {"bad UTF-8 through the encoding form", "ok,\xC3(,\xFF\r\n", {{L"ok", L"\uFFFD(", L"\uFFFD"}}, nullptr,
         TEncoding::UTF8()},
        {"UTF-16 with its mark", wide, {{L"\u00E4", L"b"}, {L"c", L"\u20AC"}}, nullptr},
        {"NUL bytes", std::string("a\0b,c\r\n", 7), {{String(L"a\0b", 3), L"c"}}, nullptr},
        {"MaxRows", "1,2\r\n3,4\r\n5,6\r\n", {{L"1", L"2"}, {L"3", L"4"}}, nullptr, nullptr, 2},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const String file = dir.File(L"in.csv");
        WriteBytes(file, c.bytes);
        TFilledGrid<> grid(3, 3);
        grid->SetFixedRows(0);
        grid->SetFixedCols(0);
        const Cells before = Read(grid.grid);
        if (c.error) {
            try {
                grid->LoadFromCSV(file, c.encoding, c.maxRows);
                ADD_FAILURE() << "no error";
            } catch (const Exception& e) {
                EXPECT_EQ(e.Message(), String(c.error, c.error + strlen(c.error)));
            }
        } else if (c.encoding) {
            grid->LoadFromCSV(file, c.encoding, c.maxRows);
        } else {
            grid->LoadFromCSV(file, c.maxRows);
        }
        if (c.cells.empty()) {
            EXPECT_EQ(Read(grid.grid), before);
            continue;
        }
        // Columns only grow; rows are the file's.
        ASSERT_EQ(grid->GetRowCount(), static_cast<int>(c.cells.size()));
        for (std::size_t r = 0; r < c.cells.size(); ++r)
            for (std::size_t k = 0; k < c.cells[r].size(); ++k)
                EXPECT_EQ(grid->GetCells(static_cast<int>(k), static_cast<int>(r)), c.cells[r][k])
                    << "row " << r << " column " << k;
    }
}

TEST(CsvReader, AStrayQuoteAtTheTopOfFiftyMegabytesLeavesTheRestOfTheFileInOneField)
{
    TempDir dir;
    const String file = dir.File(L"stray.csv");
    std::string bytes = "\"start,1\r\n";
    const std::string line = "alpha,beta,gamma,delta,epsilon\r\n";
    while (bytes.size() < 50u * 1024 * 1024)
        bytes += line;
    WriteBytes(file, bytes);
    TGrid grid;
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->LoadFromCSV(file);
    EXPECT_EQ(grid->GetRowCount(), 1);
    const String cell = grid->GetCells(0, 0);
    // Everything after the quote, the last line break opening no line.
    ASSERT_EQ(cell.size(), bytes.size() - 1 - 2);
    EXPECT_EQ(cell.substr(0, 9), L"start,1\r\n");
    EXPECT_EQ(cell.substr(cell.size() - 7), L"epsilon");
}

TEST(CsvReader, AHundredThousandDelimitersInALineMakeAsManyColumns)
{
    TempDir dir;
    const String file = dir.File(L"wide.csv");
    std::string bytes = "x";
    for (int i = 0; i < 100000; ++i)
        bytes += ",y";
    WriteBytes(file, bytes + "\r\nlast\r\n");
    TGrid grid;
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->LoadFromCSV(file);
    EXPECT_EQ(grid->GetColCount(), 100001);
    EXPECT_EQ(grid->GetRowCount(), 2);
    EXPECT_EQ(grid->GetCells(100000, 0), L"y");
    EXPECT_EQ(grid->GetCells(0, 1), L"last");
}

TEST(CsvReader, AFileOverTwoGigabytesFailsBeforeTheGridChanges)
{
    TempDir dir;
    const String file = dir.File(L"huge.csv");
    {
        // Sparse: the size costs no disk.
        TOwned<TFileStream> stream(New<TFileStream>(file, fmCreate));
        stream->SetSize(Int64(0x80000000) + 16);
    }
    TFilledGrid<> grid(3, 3);
    const Cells before = Read(grid.grid);
    EXPECT_THROW(grid->LoadFromCSV(file), EEncodingError);
    EXPECT_THROW(grid->LoadFromCSV(file, TEncoding::UTF8()), EEncodingError);
    EXPECT_EQ(Read(grid.grid), before);
    EXPECT_THROW(TOwned<TStringList>(New<TStringList>())->LoadFromFile(file), EEncodingError);
}

TEST(CsvReader, GuessesTheDelimiterFromTheFirstTwoLines)
{
    struct Case {
        const char* what;
        String first;
        String second;
        wchar_t delimiter;   // 0: every line one cell
    };
    const Case cases[] = {
        {"three ; in each line beat two , in each", L"a;b;c;d,e,f", L"g;h;i;j,k,l", L';'},
        {"doubled pairs do not count first", L"a|b|c,,d", L"e|f|g,,h", L'|'},
        {"every occurrence counts next", L"a,,b", L"c,,d", L','},
        {"unequal counts: the highest in either line", L"a;b;c", L"d;e", L';'},
        {"a tab", L"a\tb", L"c\td", L'\t'},
        {"one line", L"a#b#c", L"", L'#'},
        {"equal counts go to the earlier candidate", L"a,b;c", L"d,e;f", L','},
        {"later candidates", L"a&b", L"c&d", L'&'},
        {"nothing to guess", L"hello world", L"x", 0},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const String file = dir.File(L"guess.csv");
        String text = c.first + L"\r\n";
        if (!c.second.empty())
            text += c.second + L"\r\n";
        WriteBytes(file, Narrow(text));
        TGrid grid;
        grid->SetFixedRows(0);
        grid->SetFixedCols(0);
        grid->LoadFromCSV(file);
        const String expected = c.delimiter ? c.first.substr(0, c.first.find(c.delimiter)) : c.first;
        EXPECT_EQ(grid->GetCells(0, 0), expected);
        EXPECT_EQ(grid->GetDelimiter(), 0) << "a guess holds for one load";
    }
}

TEST(CsvReader, SkipsTheFirstLineInsertsAfterTheRowsAndReadsStreams)
{
    TempDir dir;
    const String file = dir.File(L"in.csv");
    WriteBytes(file, "h1,h2\r\n1,2\r\n3,4\r\n");

    TGrid grid;
    grid->SetFixedCols(0);
    grid->SetSaveFixedCells(false);
    grid->SetLoadFirstRow(false);
    grid->LoadFromCSV(file);
    EXPECT_EQ(Read(grid.grid), (Cells{{L"", L"", L"", L"", L""}, {L"1", L"2", L"", L"", L""}, {L"3", L"4", L"", L"", L""}}))
        << "the first normal row takes the first line read";

    grid->SetLoadFirstRow(true);
    grid->InsertFromCSV(file);
    ASSERT_EQ(grid->GetRowCount(), 6);
    EXPECT_EQ(grid->GetCells(0, 3), L"h1");
    EXPECT_EQ(grid->GetCells(1, 5), L"4");

    TOwned<TStringStream> stream(New<TStringStream>(L"x;y\r\nz;w\r\n"));
    TGrid other;
    other->SetFixedRows(0);
    other->SetFixedCols(0);
    std::vector<short> progress;
    other->OnFileProgress = [&](TObject*, short p) { progress.push_back(p); };
    other->LoadFromCSVStream(stream.get());
    EXPECT_EQ(Read(other.grid), (Cells{{L"x", L"y", L"", L"", L""}, {L"z", L"w", L"", L"", L""}}));
    EXPECT_EQ(progress, (std::vector<short>{50, 100}));
}
