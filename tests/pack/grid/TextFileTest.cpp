// The grid's own text file and its UTF-16 cell stream: a small grid's bytes
// in 8 bits, in UTF-16 and as a stream; round trips; and bad files and
// streams, each refused with the grid as it was.
#include <gtest/gtest.h>
#include "DataGridSupport.h"
#include "TestSupport.h"

using namespace datagrid_test;
using testing_support::FileBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

std::string Utf16(const String& s)
{
    std::string out;
    for (wchar_t ch : s) {
        out += static_cast<char>(ch & 0xFF);
        out += static_cast<char>(ch >> 8);
    }
    return out;
}

// Three columns and three rows with one fixed of each; the cells to save
// hold a plain text, two lines and a text outside 8 bits.
void FillSmall(TAdvStringGrid* grid, const String& last)
{
    grid->SetSaveFixedCells(false);
    grid->SetColCount(3);
    grid->SetRowCount(3);
    for (int c = 0; c < 3; ++c)
        grid->SetColWidths(c, 50 + c);
    grid->SetCells(1, 0, L"head");
    grid->SetCells(1, 1, L"a");
    grid->SetCells(2, 1, L"two\r\nlines");
    grid->SetCells(2, 2, last);
}

struct TGrid {
    TAdvStringGrid* grid = New<TAdvStringGrid>(nullptr);
    ~TGrid() { grid->Free(); }
    TAdvStringGrid* operator->() const { return grid; }
};

std::vector<String> AllCells(TAdvStringGrid* grid)
{
    std::vector<String> cells{IntToStr(grid->GetColCount()) + L"x" + IntToStr(grid->GetRowCount())};
    for (int r = 0; r < grid->GetRowCount(); ++r)
        for (int c = 0; c < grid->GetColCount(); ++c)
            cells.push_back(grid->GetCells(c, r));
    return cells;
}

const char SmallFile[] = "2,2\r\ncw 1,51\r\ncw 2,52\r\n1,1,a\r\n2,1,two\x09\x08lines\r\n2,2,x\r\n";

} // namespace

TEST(GridTextFile, ASmallGridIsTheseBytesIn8BitsAndInUtf16)
{
    TempDir dir;
    TGrid grid;
    FillSmall(grid.grid, L"x");
    grid->SaveToFile(dir.File(L"small.txt"));
    EXPECT_EQ(FileBytes(dir.File(L"small.txt")), SmallFile);

    grid->SetCells(2, 2, L"Z\u00FCrich \u6771");
    grid->SaveToFile(dir.File(L"wide.txt"), true);
    EXPECT_EQ(FileBytes(dir.File(L"wide.txt")),
              "\xFF\xFE" + Utf16(L"2,2\r\ncw 1,51\r\ncw 2,52\r\n1,1,a\r\n2,1,two\x09\x08lines\r\n"
                                 L"2,2,Z\u00FCrich \u6771\r\n"));

    // Saved with its fixed cells and a hidden column kept.
    grid->SetCells(2, 2, L"x");
    grid->SetSaveFixedCells(true);
    grid->SetSaveHiddenCells(true);
    grid->HideColumn(1);
    grid->SaveToFile(dir.File(L"all.txt"));
    EXPECT_EQ(FileBytes(dir.File(L"all.txt")),
              "3,3\r\ncw 0,50\r\ncw 1,52\r\ncw 2,64\r\n1,0,head\r\n1,1,a\r\n2,1,two\x09\x08lines\r\n2,2,x\r\n");
}

TEST(GridTextFile, ReadsBackWhatItWrote)
{
    TempDir dir;
    TGrid grid;
    FillSmall(grid.grid, L"Z\u00FCrich \u6771\u0001");
    grid->SaveToFile(dir.File(L"wide.txt"), true);

    TGrid back;
    back->SetSaveFixedCells(false);
    back->SetMultilineCells(true);
    back->LoadFromFile(dir.File(L"wide.txt"));
    grid->SetCells(1, 0, L"");    // fixed cells are not saved
    EXPECT_EQ(AllCells(back.grid), AllCells(grid.grid));
    EXPECT_EQ(back->GetColWidths(2), 52);

    TGrid oneLine;
    oneLine->SetSaveFixedCells(false);
    oneLine->LoadFromFile(dir.File(L"wide.txt"));
    EXPECT_EQ(oneLine->GetCells(2, 1), L"two") << "without multi-line cells only the first line";

    // A lone line feed would end the file's line: it is kept in the one-line form too.
    grid->SetCells(1, 2, L"lf\nonly");
    grid->SaveToFile(dir.File(L"lf.txt"));
    back->LoadFromFile(dir.File(L"lf.txt"));
    EXPECT_EQ(back->GetCells(1, 2), L"lf\nonly");
}

TEST(GridTextFile, BadFilesFailBeforeTheGridChangesAndStrayCellLinesArePassedOver)
{
    const char* const bad[] = {
        "x,3\r\n0,0,t\r\n", "3,y\r\n", "-1,3\r\n", "3,-2\r\n", "3,99999999999\r\n", "9999999,3\r\n",
        "3,0\r\n", "3\r\n", "0,0\r\n",
    };
    TempDir dir;
    for (const char* bytes : bad) {
        SCOPED_TRACE(bytes);
        const String file = dir.File(L"bad.txt");
        WriteBytes(file, bytes);
        TFilledGrid<> grid(2, 2);
        grid->SetSaveFixedCells(true);
        const auto before = AllCells(grid.grid);
        try {
            grid->LoadFromFile(file);
            ADD_FAILURE() << "no error";
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), L"File contains no data or corrupt file " + file);
        }
        EXPECT_EQ(AllCells(grid.grid), before);
    }

    const String file = dir.File(L"stray.txt");
    WriteBytes(file, "2,2\r\ncw 9,40\r\ncw 1,x\r\ncw 1,33\r\n5,0,far\r\n0,7,low\r\n-1,0,neg\r\nx,0,nan\r\n"
                     "0,0,ok\r\n1,1,fine,with,commas\r\n");
    TGrid grid;
    grid->SetSaveFixedCells(true);
    grid->LoadFromFile(file);
    EXPECT_EQ(AllCells(grid.grid), (std::vector<String>{L"2x2", L"ok", L"", L"", L"fine,with,commas"}));
    EXPECT_EQ(grid->GetColWidths(1), 33);
}

TEST(CellTextStream, ASmallGridIsTheseUtf16BytesAndReadsBack)
{
    TGrid grid;
    FillSmall(grid.grid, L"x\u20AC");
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    grid->SaveToStream(stream.get());
    const std::string bytes(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->GetSize()));
    EXPECT_EQ(bytes, Utf16(L"2,2\r\ncw 0,50\r\ncw 1,51\r\ncw 2,52\r\n0,0,a\r\n1,0,two\x09\x08lines\r\n1,1,x\u20AC\r\n"));

    // Whatever follows the cells stays for the caller.
    const std::string tail = Utf16(L"END\r\n");
    stream->WriteBuffer(tail.data(), static_cast<Int64>(tail.size()));
    stream->SetPosition(0);
    TGrid back;
    back->SetSaveFixedCells(false);
    back->SetMultilineCells(true);
    back->LoadFromStream(stream.get());
    grid->SetCells(1, 0, L"");
    EXPECT_EQ(AllCells(back.grid), AllCells(grid.grid));
    EXPECT_EQ(back->GetColWidths(1), 51);
    EXPECT_EQ(stream->GetPosition(), static_cast<Int64>(bytes.size()));
}

TEST(CellTextStream, CountsSizeTheGridBeyondTheSaveStart)
{
    const std::string bytes = Utf16(L"3,2\r\n");
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream->SetPosition(0);
    TGrid grid;
    grid->SetSaveFixedCells(false);
    grid->LoadFromStream(stream.get());
    EXPECT_EQ(grid->GetColCount(), 4);
    EXPECT_EQ(grid->GetRowCount(), 3);
}

TEST(CellTextStream, BadStreamsFailWithTheGridAsItWas)
{
    struct Case {
        const wchar_t* text;
        bool conversion;   // EConvertError, else the grid's index error
    };
    const Case cases[] = {
        {L"x,2\r\n", true},
        {L"2,\r\n", true},
        {L"-1,2\r\n", true},
        {L"2,99999999\r\n", true},
        {L"2,2\r\ncw 9,40\r\n", false},
        {L"2,2\r\ncw 1,wide\r\n", true},
        {L"2,2\r\n5,0,far\r\n", false},
        {L"2,2\r\n0,-2,above\r\n", false},
        {L"2,2\r\n0,0,ok\r\n0,x,t\r\n", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(String(c.text));
        const std::string bytes = Utf16(c.text);
        TOwned<TMemoryStream> stream(New<TMemoryStream>());
        stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
        stream->SetPosition(0);
        TFilledGrid<> grid(3, 3);
        const auto before = AllCells(grid.grid);
        if (c.conversion)
            EXPECT_THROW(grid->LoadFromStream(stream.get()), EConvertError);
        else
            EXPECT_THROW(grid->LoadFromStream(stream.get()), EInvalidGridOperation);
        EXPECT_EQ(AllCells(grid.grid), before);
    }
}
