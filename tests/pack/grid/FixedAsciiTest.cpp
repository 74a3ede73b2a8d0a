// Fixed-width text and ASCII tables: bytes of small grids, the positions a
// save fills in, reading by positions cut to the line, refusals before
// anything changes, multi-line and aligned cells, and wide columns.
#include <gtest/gtest.h>
#include "DataGridSupport.h"
#include "TestSupport.h"

using namespace datagrid_test;
using testing_support::FileBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

struct TGrid {
    TAdvStringGrid* grid = New<TAdvStringGrid>(nullptr);
    explicit TGrid(const std::vector<std::vector<String>>& cells)
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

std::vector<int> Items(TIntList* list)
{
    std::vector<int> items;
    for (int i = 0; i < list->Count(); ++i)
        items.push_back(list->GetItem(i));
    return items;
}

} // namespace

TEST(FixedWidth, AnEmptyPositionListIsFilledWithEachColumnsWidthAndCellsAreCutOrPadded)
{
    TempDir dir;
    TGrid grid({{L"ab", L"c", L"defg"}, {L"x", L"yy", L"two\r\nlines"}});
    TOwned<TIntList> positions(New<TIntList>(0, 0));
    grid->SaveToFixed(dir.File(L"f.txt"), positions.get());
    EXPECT_EQ(Items(positions.get()), (std::vector<int>{3, 3, 5}));
    EXPECT_EQ(FileBytes(dir.File(L"f.txt")), "ab c  defg \r\nx  yy two  \r\n");

    // Given widths cut; missing ones are added.
    TOwned<TIntList> given(New<TIntList>(0, 0));
    given->Add(1);
    given->Add(4);
    grid->SetMultilineCells(true);
    grid->SaveToFixed(dir.File(L"g.txt"), given.get());
    EXPECT_EQ(Items(given.get()), (std::vector<int>{1, 4, 6}));
    EXPECT_EQ(FileBytes(dir.File(L"g.txt")), "ac   defg  \r\nxyy  two   \r\n");
}

TEST(FixedWidth, WritingNeverChangesTheColumnCountAndAFileThatCannotBeMadeIsSaid)
{
    TempDir dir;
    TGrid grid({{L"a", L"b", L"c"}});
    grid->HideColumn(1);
    grid->SetSaveHiddenCells(true);
    TOwned<TIntList> positions(New<TIntList>(0, 0));
    grid->SaveToFixed(dir.File(L"h.txt"), positions.get());
    EXPECT_EQ(FileBytes(dir.File(L"h.txt")), "a b c \r\n");
    EXPECT_EQ(grid->GetColCount(), 2);

    grid->OnSaveCell = [](TObject*, int, int, String&) { throw EAbort(L"refused"); };
    TOwned<TIntList> again(New<TIntList>(0, 0));
    EXPECT_THROW(grid->SaveToFixed(dir.File(L"h.txt"), again.get()), EAbort);
    EXPECT_EQ(grid->GetColCount(), 2);
    grid->OnSaveCell = nullptr;

    const String nowhere = dir.File(L"missing\\f.txt");
    try {
        grid->SaveToFixed(nowhere, again.get());
        ADD_FAILURE() << "no error";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), L"Cannot Create file " + nowhere);
    }
}

TEST(FixedWidth, ReadsFieldsBetweenPositionsCutToTheLine)
{
    TempDir dir;
    const String file = dir.File(L"in.txt");
    WriteBytes(file, "first     second    \r\nshort\r\n\r\nabcdefghijklmnopqrstuvwxyz\r\n");
    TGrid grid({{L"old"}});
    TOwned<TIntList> positions(New<TIntList>(0, 0));
    for (int p : {21, 1, 11})
        positions->Add(p);
    grid->LoadFromFixed(file, positions.get(), true);
    EXPECT_EQ(Items(positions.get()), (std::vector<int>{1, 11, 21})) << "sorted";
    ASSERT_EQ(grid->GetColCount(), 2);
    ASSERT_EQ(grid->GetRowCount(), 4);
    const wchar_t* const expected[4][2] = {
        {L"first", L"second"}, {L"short", L""}, {L"", L""}, {L"abcdefghij", L"klmnopqrst"}};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(grid->GetCells(c, r), expected[r][c]) << r << "," << c;

    TGrid untrimmed({{L"old"}});
    untrimmed->LoadFromFixed(file, positions.get(), false, 1);
    EXPECT_EQ(untrimmed->GetRowCount(), 1);
    EXPECT_EQ(untrimmed->GetCells(0, 0), L"first     ");

    TGrid zero({{L"old"}});
    zero->LoadFromFixed(file, positions.get(), true, 0);
    EXPECT_EQ(zero->GetCells(0, 0), L"first") << "a limit below 1 reads one line";
    EXPECT_EQ(zero->GetRowCount(), 1);
}

TEST(FixedWidth, ReadingRefusesBeforeAnythingChanges)
{
    TempDir dir;
    const String file = dir.File(L"in.txt");
    WriteBytes(file, "abc\r\n");
    TGrid grid({{L"a", L"b"}, {L"c", L"d"}});
    TOwned<TIntList> one(New<TIntList>(0, 0));
    one->Add(1);
    EXPECT_THROW(grid->LoadFromFixed(file, one.get()), EAdvGridError);
    TOwned<TIntList> none(New<TIntList>(0, 0));
    EXPECT_THROW(grid->LoadFromFixed(file, none.get()), EAdvGridError);
    one->Add(3);
    const String missing = dir.File(L"missing.txt");
    try {
        grid->LoadFromFixed(missing, one.get());
        ADD_FAILURE() << "no error";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), L"File " + missing + L" not found");
    }
    EXPECT_EQ(grid->GetColCount(), 2);
    EXPECT_EQ(grid->GetCells(1, 1), L"d");
}

TEST(AsciiTable, MultiLineAndAlignedCellsAreTheseBytes)
{
    TempDir dir;
    TGrid grid({{L"left", L"r", L"c"}, {L"l1\r\nlonger2", L"12345", L"mid\r\nx"}});
    grid->GetCellProperties(1, 0)->SetAlignment(taRightJustify);
    grid->GetCellProperties(2, 0)->SetAlignment(taCenter);
    grid->GetCellProperties(2, 1)->SetAlignment(taRightJustify);
    grid->SetMultilineCells(true);
    grid->SaveToASCII(dir.File(L"t.txt"));
    EXPECT_EQ(FileBytes(dir.File(L"t.txt")),
              "left        r  c  \r\n"
              "l1      12345 mid \r\n"
              "longer2         x\r\n");

    grid->SetMultilineCells(false);
    grid->AppendToASCII(dir.File(L"t.txt"), true);
    EXPECT_EQ(FileBytes(dir.File(L"t.txt")),
              "\xEF\xBB\xBF"
              "left        r  c  \r\n"
              "l1      12345 mid \r\n"
              "longer2         x\r\n"
              "left     r  c  \r\n"
              "l1   12345 mid \r\n");
}

TEST(AsciiTable, ColumnsWiderThan255CharactersKeepTheirWidth)
{
    TempDir dir;
    TGrid grid({{String(300, L'w'), L"x"}, {L"a", L"y"}});
    grid->SaveToASCII(dir.File(L"w.txt"));
    EXPECT_EQ(FileBytes(dir.File(L"w.txt")),
              std::string(300, 'w') + " x \r\na" + std::string(300, ' ') + "y \r\n");
}
