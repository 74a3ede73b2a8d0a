// Workbook import, database import and document export through the
// stand-in servers of tools/xlserver, with workbooks, table files and
// documents written here; and the fonts after a change of scale.
#include <gtest/gtest.h>
#include "AdvGridAutomation.h"
#include "DataGridSupport.h"
#include "Document.h"
#include "Error.h"
#include "LateBound.h"
#include "StandIn.h"
#include "TestSupport.h"
#include "Workbook.h"
#include <filesystem>
#include <fstream>

using namespace datagrid_test;
using namespace tools_test;

namespace {

using XlsImport = StandInSuite;

struct SheetCell {
    xlsx::CellRef at;
    std::wstring text;
    xlsx::CellKind kind = xlsx::CellKind::Text;
};

xlsx::Sheet MakeSheet(const std::wstring& name, const std::vector<SheetCell>& cells)
{
    xlsx::Sheet sheet;
    sheet.name = name;
    for (const SheetCell& cell : cells) {
        sheet.cells[cell.at] = cell.text;
        if (cell.kind != xlsx::CellKind::Text)
            sheet.kinds[cell.at] = cell.kind;
    }
    return sheet;
}

std::wstring SaveBook(testing_support::TempDir& dir, const std::wstring& name, std::vector<xlsx::Sheet> sheets,
                      std::size_t active = 0)
{
    xlsx::Workbook book;
    book.sheets = std::move(sheets);
    book.activeSheet = active;
    const std::wstring file = dir.File(name);
    xlsx::SaveWorkbook(book, file);
    return file;
}

// The grid's texts, row by row.
std::vector<std::vector<std::wstring>> Texts(TAdvStringGrid* grid)
{
    std::vector<std::vector<std::wstring>> rows(grid->GetRowCount());
    for (int r = 0; r < grid->GetRowCount(); ++r)
        for (int c = 0; c < grid->GetColCount(); ++c)
            rows[r].push_back(grid->GetCells(c, r));
    return rows;
}

} // namespace

TEST_F(XlsImport, TheUsedRangeFillsTheGridBehindItsFixedCells)
{
    using xlsx::CellKind;
    const std::wstring file = SaveBook(
        dir_, L"block.xlsx",
        {MakeSheet(L"Other", {{{1, 1}, L"not this one"}}),
         MakeSheet(L"Data", {{{2, 2}, L"Name"},
                             {{2, 3}, L"1.5", CellKind::Number},
                             {{2, 4}, L"'=1+2"},
                             {{3, 2}, L"42", CellKind::Number},
                             {{3, 4}, L"1", CellKind::Boolean},
                             {{4, 2}, L"#N/A", CellKind::Error},
                             {{4, 4}, L"last"}})},
        1);

    struct Case {
        bool saveFixed;
        int colOffset, rowOffset;
    };
    for (const Case c : {Case{false, 1, 1}, Case{true, 0, 0}}) {
        TFilledGrid<> grid(7, 9);
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
        grid->SetSaveFixedCells(c.saveFixed);
        // What the error cell will not overwrite.
        grid->SetCells(c.colOffset, c.rowOffset + 2, L"kept");
        Screen->SetCursor(crCross);
        grid->LoadFromXLS(file);
        EXPECT_EQ(Screen->GetCursor(), crCross);
        Screen->SetCursor(crDefault);

        // $B$2:$D$4: three by three, behind the fixed cells unless they are saved.
        EXPECT_EQ(grid->GetColCount(), 3 + c.colOffset);
        EXPECT_EQ(grid->GetRowCount(), 3 + c.rowOffset);
        EXPECT_EQ(grid->GetFixedCols(), 1);
        EXPECT_EQ(grid->GetFixedRows(), 1);
        const int x = c.colOffset, y = c.rowOffset;
        EXPECT_EQ(grid->GetCells(x, y), L"Name");
        EXPECT_EQ(grid->GetCells(x + 1, y), L"1.5") << "numbers arrive as text";
        EXPECT_EQ(grid->GetCells(x + 2, y), L"=1+2");
        EXPECT_EQ(grid->GetCells(x, y + 1), L"42");
        EXPECT_EQ(grid->GetCells(x + 1, y + 1), L"") << "a blank sheet cell writes an empty text";
        EXPECT_EQ(grid->GetCells(x, y + 2), L"kept") << "an error cell leaves its grid cell";
        EXPECT_EQ(grid->GetCells(x + 2, y + 2), L"last");
    }
}

TEST_F(XlsImport, OneCellAWideRangeAndNamedSheets)
{
    const std::wstring single = SaveBook(dir_, L"single.xlsx", {MakeSheet(L"Only", {{{7, 3}, L"alone"}})});
    TFilledGrid<> grid(5, 5);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->SetSaveFixedCells(false);
    grid->LoadFromXLS(single);
    // Cells the import does not reach keep their texts.
    EXPECT_EQ(Texts(grid.grid), (std::vector<std::vector<std::wstring>>{{L"r0c0", L"r0c1"}, {L"r1c0", L"alone"}}));

    // Past column ZZ: three-letter columns are read as such.
    const std::wstring wide = SaveBook(
        dir_, L"wide.xlsx", {MakeSheet(L"Wide", {{{1, 702}, L"ZZ1"}, {{2, 704}, L"AAB2"}}), MakeSheet(L"Second", {})});
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    grid->LoadFromXLSSheet(wide, L"Wide");
    EXPECT_EQ(Texts(grid.grid), (std::vector<std::vector<std::wstring>>{{L"ZZ1", L"", L""}, {L"", L"", L"AAB2"}}));

    std::unique_ptr<TStringList> names(grid->GetXLSSheets(wide));
    EXPECT_EQ(names->GetText(), L"Wide\r\nSecond\r\n");

    try {
        grid->LoadFromXLSSheet(wide, L"Missing");
        ADD_FAILURE() << "no error";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), L"Excel worksheet Missing not found");
    }
    EXPECT_EQ(grid->GetCells(2, 1), L"AAB2") << "a failed import leaves the cells";
}

TEST(ExchangeWithoutServers, RaiseThatTheServerIsNotFound)
{
    CLSID clsid{};
    ASSERT_FALSE(SUCCEEDED(CLSIDFromProgID(xlserver::ProgId, &clsid))) << "the spreadsheet stand-in is registered";
    ASSERT_FALSE(SUCCEEDED(CLSIDFromProgID(xlserver::WordProgId, &clsid))) << "the word stand-in is registered";
    TFilledGrid<> grid(2, 2);
    const std::function<void()> calls[] = {
        [&] { grid->LoadFromXLS(L"C:\\unused.xlsx"); },
        [&] { delete grid->GetXLSSheets(L"C:\\unused.xlsx"); },
        [&] { grid->SaveToDOC(L"C:\\unused.docx"); },
        [&] { grid->AppendToDoc(L"C:\\unused.docx", L"mark"); },
    };
    const wchar_t* const expected[] = {L"Excel OLE server not found", L"Excel OLE server not found",
                                       L"Word OLE server not found", L"Word OLE server not found"};
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        Screen->SetCursor(crCross);
        try {
            calls[i]();
            ADD_FAILURE() << "no error from call " << i;
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), expected[i]);
        }
        EXPECT_EQ(Screen->GetCursor(), crCross) << "call " << i;
    }
    Screen->SetCursor(crDefault);
    EXPECT_EQ(grid->GetCells(1, 1), L"r1c1");
}

// --- the database import ---------------------------------------------------------

namespace {

std::wstring RegisteredClsid(const wchar_t* progId)
{
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(progId, &clsid)))
        return {};
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return text;
}

DWORD OpenAdoObjects()
{
    DWORD open = 0, size = sizeof(open);
    RegGetValueW(HKEY_CURRENT_USER, xlserver::AdoCounterKey, L"Open", RRF_RT_REG_DWORD, nullptr, &open, &size);
    return open;
}

class MdbImport : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        before_ = new std::wstring(RegisteredClsid(xlserver::AdoConnectionProgId));
        registration_ = new xlserver::StandInRegistration(xlserver::AdoServer);
    }
    static void TearDownTestSuite()
    {
        delete registration_;
        // The platform's own registration is back as it was.
        EXPECT_EQ(RegisteredClsid(xlserver::AdoConnectionProgId), *before_);
        delete before_;
    }
    void SetUp() override
    {
        ASSERT_TRUE(registration_->Registered()) << "adoserver /regserver failed";
        std::ofstream out(std::filesystem::path(database_), std::ios::binary);
        out << "table: Computers\n"
               "fields: Name\tMemory\tNotes\n"
               "record: PC1\t4096\t\n"
               "record: PC2\t\tspare\n"
               "table: Empty\n"
               "fields: Name\tMemory\n"
               "table: Streamed\n"
               "count: unknown\n"
               "fields: Name\n"
               "record: a\nrecord: b\nrecord: c\n"
               "table: odd\n"
               "fields: Wrong\n"
               "record: not this\n"
               "table: odd ]name's\n"
               "fields: Right\n"
               "record: this one\n";
    }

    testing_support::TempDir dir_;
    const std::wstring database_ = dir_.File(L"inventory.mdb");

private:
    static std::wstring* before_;
    static xlserver::StandInRegistration* registration_;
};

std::wstring* MdbImport::before_ = nullptr;
xlserver::StandInRegistration* MdbImport::registration_ = nullptr;

} // namespace

TEST_F(MdbImport, FieldNamesInTheLastFixedRowAndRecordsBelow)
{
    EXPECT_NE(RegisteredClsid(xlserver::AdoConnectionProgId), L"") << "the stand-in answers the name";
    TFilledGrid<> grid(2, 8);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->LoadFromMDBTable(database_, L"Computers");
    EXPECT_EQ(Texts(grid.grid), (std::vector<std::vector<std::wstring>>{{L"r0c0", L"Name", L"Memory", L"Notes"},
                                                                         {L"r1c0", L"PC1", L"4096", L""},
                                                                         {L"r2c0", L"PC2", L"", L"spare"}}));

    // An unknown record count: rows grow as records come, old rows do not stay.
    grid->LoadFromMDBSQL(database_, L"SELECT * FROM Streamed");
    EXPECT_EQ(Texts(grid.grid),
              (std::vector<std::vector<std::wstring>>{{L"r0c0", L"Name"}, {L"r1c0", L"a"}, {L"r2c0", L"b"}, {L"r3c0", L"c"}}));

    // A name with a blank, a bracket and a quote reads that table only.
    grid->LoadFromMDBTable(database_, L"odd ]name's");
    EXPECT_EQ(grid->GetCells(1, 0), L"Right");
    EXPECT_EQ(grid->GetCells(1, 1), L"this one");

    // No records: the field names and no data row.
    grid->LoadFromMDBTable(database_, L"Empty");
    EXPECT_EQ(grid->GetRowCount(), 1);
    EXPECT_EQ(grid->GetCells(1, 0), L"Name");
    EXPECT_EQ(grid->GetCells(2, 0), L"Memory");
    EXPECT_EQ(OpenAdoObjects(), 0u);
}

TEST_F(MdbImport, AnErrorLeavesNothingOpen)
{
    TFilledGrid<> grid(2, 2);
    const DWORD before = OpenAdoObjects();
    EXPECT_THROW(grid->LoadFromMDBTable(database_, L"Missing"), EOleException);
    EXPECT_EQ(OpenAdoObjects(), before) << "the connection was left open";
    // A name that would end the bracket early is still one table name.
    EXPECT_THROW(grid->LoadFromMDBTable(database_, L"odd] UNION SELECT * FROM [Computers"), EOleException);
    EXPECT_THROW(grid->LoadFromMDBSQL(dir_.File(L"none.mdb"), L"SELECT * FROM Computers"), EOleException);
    EXPECT_EQ(OpenAdoObjects(), before);
    EXPECT_EQ(grid->GetCells(1, 1), L"r1c1");
}

// --- the document export -----------------------------------------------------------

namespace {

class DocExport : public testing::Test {
protected:
    static void SetUpTestSuite() { registration_ = new xlserver::StandInRegistration(xlserver::WordServer); }
    static void TearDownTestSuite()
    {
        delete registration_;
        registration_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(registration_->Registered()) << "wordserver /regserver failed"; }

    testing_support::TempDir dir_;

private:
    static xlserver::StandInRegistration* registration_;
};

xlserver::StandInRegistration* DocExport::registration_ = nullptr;

std::vector<std::wstring> TableTexts(const docx::Table& table)
{
    std::vector<std::wstring> texts;
    for (const docx::Paragraph& cell : table.cells)
        texts.push_back(cell.text);
    return texts;
}

// The document's blocks as short words: "table" or the paragraph's text.
std::vector<std::wstring> Outline(const docx::Document& document)
{
    std::vector<std::wstring> outline;
    for (const docx::Block& block : document.blocks)
        outline.push_back(block.isTable ? L"<table>" : block.paragraph.text);
    return outline;
}

} // namespace

TEST_F(DocExport, ATableAtTheStartWithItsCellsAligned)
{
    TFilledGrid<> grid(2, 3);
    grid->OnGetAlignment = [](TObject*, int ARow, int ACol, TAlignment& HAlign, TVAlignment&) {
        if (ARow == 1 && ACol == 1)
            HAlign = taRightJustify;
        if (ARow == 2 && ACol == 0)
            HAlign = taCenter;
    };
    const std::wstring file = dir_.File(L"grid.docx");
    Screen->SetCursor(crCross);
    grid->SaveToDOC(file, true);
    EXPECT_EQ(Screen->GetCursor(), crCross);
    Screen->SetCursor(crDefault);

    const docx::Document document = docx::LoadDocument(file);
    ASSERT_FALSE(document.blocks.empty());
    ASSERT_TRUE(document.blocks[0].isTable);
    const docx::Table& table = document.blocks[0].table;
    EXPECT_EQ(table.rows, 3);
    EXPECT_EQ(table.columns, 2);
    EXPECT_EQ(TableTexts(table), (std::vector<std::wstring>{L"r0c0", L"r0c1", L"r1c0", L"r1c1", L"r2c0", L"r2c1"}));
    EXPECT_EQ(table.Cell(1, 1).alignment, docx::Alignment::Right);
    EXPECT_EQ(table.Cell(2, 0).alignment, docx::Alignment::Center);
    EXPECT_EQ(table.Cell(0, 0).alignment, docx::Alignment::Left);
}

TEST_F(DocExport, AppendedAtABookmarkOrAfterTheLastParagraph)
{
    docx::Document source;
    source.blocks.clear();
    for (const wchar_t* text : {L"First", L"Second", L"Third"})
        source.blocks.push_back(docx::Block{false, docx::Paragraph{text}});
    source.blocks[1].paragraph.bookmarks.push_back(L"here");
    const std::wstring marked = dir_.File(L"marked.docx");
    const std::wstring plain = dir_.File(L"plain.docx");
    docx::SaveDocument(source, marked);
    docx::SaveDocument(source, plain);

    TFilledGrid<> grid(2, 2);
    grid->AppendToDoc(marked, L"here");
    // The grid's own text (none) and a paragraph are typed at the start first.
    EXPECT_EQ(Outline(docx::LoadDocument(marked)),
              (std::vector<std::wstring>{L"", L"First", L"<table>", L"Second", L"Third"}));

    grid->AppendToDoc(plain, L"nowhere");
    const docx::Document appended = docx::LoadDocument(plain);
    EXPECT_EQ(Outline(appended), (std::vector<std::wstring>{L"", L"First", L"Second", L"Third", L"<table>", L""}));
    EXPECT_EQ(TableTexts(appended.blocks[4].table), (std::vector<std::wstring>{L"r0c0", L"r0c1", L"r1c0", L"r1c1"}));
}

TEST(GridScale, FixedAndActiveCellFontsFollowTheScale)
{
    TFilledGrid<> grid(2, 2);
    grid->GetFixedFont()->SetSize(8);
    grid->GetActiveCellFont()->SetSize(9);
    grid->ChangeScale(4, 4);
    EXPECT_EQ(grid->GetFixedFont()->GetSize(), 8);
    grid->ChangeScale(3, 2);
    EXPECT_EQ(grid->GetFixedFont()->GetSize(), 12);
    EXPECT_EQ(grid->GetActiveCellFont()->GetSize(), 14) << "9 * 3 / 2 rounded as MulDiv rounds";
}

TEST(SheetColumns, LettersOfAnyLengthBothWays)
{
    struct Case {
        const wchar_t* letters;
        int number;
    };
    for (const Case c : {Case{L"A", 1}, Case{L"Z", 26}, Case{L"AA", 27}, Case{L"ZZ", 702}, Case{L"AAA", 703},
                         Case{L"XFD", 16384}}) {
        EXPECT_EQ(advgrid_automation::ColumnNumber(c.letters), c.number) << c.letters;
        EXPECT_EQ(advgrid_automation::ColumnLetters(c.number), c.letters);
    }
    EXPECT_EQ(advgrid_automation::ColumnNumber(L"ab"), 28);
    for (const wchar_t* bad : {L"", L"A1", L"$A", L"AAAAAAAAAAAAAAAAAAAA"})
        EXPECT_EQ(advgrid_automation::ColumnNumber(bad), 0) << bad;
}
