// The spreadsheet export through the stand-in automation server: the save
// range as texts at the right cells of the workbook written (read back from
// its sheet XML), the range text for every width, the active workbook and a
// named sheet, saves that fail, and no server at all.
#include <gtest/gtest.h>
#include "DataGridSupport.h"
#include "Error.h"
#include "LateBound.h"
#include "StandIn.h"
#include "TestSupport.h"
#include "Workbook.h"

using namespace datagrid_test;
using namespace tools_test;

namespace {

// The workbook's cells as the grid's texts should put them: display rows
// from FirstRow, display columns from the first, at sheet rows from SheetRow.
std::map<std::wstring, std::wstring> Expected(TAdvStringGrid* grid, int firstRow, int firstCol, int sheetRow = 1)
{
    std::map<std::wstring, std::wstring> cells;
    for (int r = firstRow; r < grid->GetRowCount(); ++r)
        for (int c = firstCol; c < grid->GetColCount(); ++c) {
            String text = grid->GetCells(grid->RealColIndex(c), r);
            std::erase(text, L'\r');
            if (!text.empty())
                cells[xlsx::CellName({sheetRow + r - firstRow, c - firstCol + 1})] = text;
        }
    return cells;
}

using XlsExport = StandInSuite;

} // namespace

TEST_F(XlsExport, TheSaveRangeArrivesAsTextsAtTheirCells)
{
    // The inventory window's table: a title row and 28 columns.
    TFilledGrid<> grid(28, 5);
    grid->SetFixedRows(1);
    grid->SetFixedCols(0);
    grid->SetSaveFixedCells(false);
    grid->SetCells(3, 1, L"<script>alert('x')</script>");
    grid->SetCells(4, 2, L"Fish & Chips \u00FC\u6771 \U0001F600");
    grid->SetCells(5, 3, L"two\r\nlines");
    grid->SetCells(6, 4, L"");
    grid->SetCells(7, 4, L"  padded  ");
    // Texts the application would read as a formula or a number.
    const wchar_t* const formulaLike[] = {L"=1+2", L"+1", L"-5", L"@SUM(A1)", L"'quoted", L"0012"};
    for (int i = 0; i < static_cast<int>(std::size(formulaLike)); ++i)
        grid->SetCells(10 + i, 2, formulaLike[i]);
    const std::wstring file = dir_.File(L"inventory.xls");
    grid->SaveToXLS(file, true);

    // Rows 1 to 4 of the grid, as A1:AB4: the title row is a fixed row.
    EXPECT_EQ(SheetCells(file, 1), Expected(grid.grid, 1, 0));
    EXPECT_EQ(SheetCells(file, 1).at(L"F3"), L"two\nlines") << "line feeds stay, carriage returns go";
    EXPECT_EQ(SheetCells(file, 1).count(L"AB4"), 1u);
    EXPECT_EQ(SheetCells(file, 1).count(L"A5"), 0u);
    // Every cell went in behind the quote prefix, as text.
    const xlsx::Workbook book = xlsx::LoadWorkbook(file);
    for (const auto& [cell, text] : book.sheets[0].cells)
        EXPECT_EQ(text, L"'" + SheetCells(file, 1).at(xlsx::CellName(cell))) << xlsx::ToUtf8(xlsx::CellName(cell));
    EXPECT_EQ(book.sheets[0].cells.at({2, 11}), L"'=1+2");
    EXPECT_EQ(book.sheets[0].cells.at({2, 15}), L"''quoted");

    // With the fixed cells, the title row comes first.
    grid->SetSaveFixedCells(true);
    grid->SaveToXLS(file, true);
    EXPECT_EQ(SheetCells(file, 1), Expected(grid.grid, 0, 0));
}

TEST_F(XlsExport, CellsGoThroughTheSaveRuleAndHiddenColumnsStayBehind)
{
    TFilledGrid<> grid(5, 3);
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->SetCells(0, 0, L"<b>bold</b>");
    grid->SetSaveWithHTML(false);
    grid->SetCells(1, 1, L"");
    grid->CreateCellGraphic(1, 1)->SetCheckBox(true, false, false, haLeft, vaTop);
    grid->HideColumn(2);
    TCursor during = crDefault;
    grid->OnSaveCell = [&](TObject*, int, int, String&) { during = Screen->GetCursor(); };
    const std::wstring file = dir_.File(L"rules.xlsx");
    grid->SaveToXLS(file);
    EXPECT_EQ(during, crHourGlass);
    EXPECT_EQ(Screen->GetCursor(), crDefault);

    const auto cells = SheetCells(file, 1);
    EXPECT_EQ(cells.at(L"A1"), L"bold");
    EXPECT_EQ(cells.at(L"B2"), L"Y");
    EXPECT_EQ(cells.at(L"C1"), L"r0c3") << "the hidden column is skipped, the next moves up";
    EXPECT_EQ(cells.at(L"D3"), L"r2c4");
    EXPECT_EQ(cells.count(L"E1"), 0u);
}

TEST_F(XlsExport, TheRangeNamesItsLastColumnAtEveryWidth)
{
    // One running application takes every export, each in a new workbook.
    Variant app = CreateApplication();
    QuitGuard guard(app);
    for (const auto& [cols, last] : std::vector<std::pair<int, std::wstring>>{
             {1, L"A"}, {26, L"Z"}, {27, L"AA"}, {52, L"AZ"}, {53, L"BA"}, {702, L"ZZ"}, {703, L"AAA"}, {730, L"ABB"}}) {
        TFilledGrid<> grid(cols, 2);
        grid->SetFixedRows(0);
        grid->SetFixedCols(0);
        const std::wstring file = dir_.File(L"wide" + std::to_wstring(cols) + L".xlsx");
        grid->SaveToXLS(file);
        const auto cells = SheetCells(file, 1);
        EXPECT_EQ(cells.size(), static_cast<std::size_t>(2 * cols)) << cols;
        EXPECT_EQ(cells.at(last + L"2"), CellName(cols - 1, 1)) << cols;
    }
    app.OleProcedure(L"Quit");
}

TEST_F(XlsExport, ARunningApplicationTakesTheBlockAtItsActiveRowAndStaysOpen)
{
    const std::wstring mine = dir_.File(L"mine.xlsx");
    const std::wstring exported = dir_.File(L"exported.xlsx");
    xlsx::Workbook start;
    start.sheets.push_back({L"Data", {{{1, 1}, L"keep"}}, {10, 3}});
    xlsx::SaveWorkbook(start, mine);
    Variant user = CreateApplication();
    QuitGuard guard(user);
    user.OleFunction(L"WorkBooks").OleFunction(L"Open", {mine});

    TFilledGrid<> grid(3, 3);
    grid->SetFixedRows(1);
    grid->SetFixedCols(0);
    grid->SetSaveFixedCells(false);
    grid->SaveToXLS(exported, false);

    EXPECT_FALSE(RunningApplication().IsEmpty()) << "the user's application was quit";
    auto expected = Expected(grid.grid, 1, 0, 10);
    expected[L"A1"] = L"keep";
    EXPECT_EQ(SheetCells(exported, 1), expected) << "rows 10 and 11 from column A, the rest kept";
    EXPECT_EQ(user.OleFunction(L"WorkBooks").OleFunction(L"Count").ToInteger(), 1);

    // With a new sheet asked for, the running application gets a new workbook.
    grid->SaveToXLS(exported, true);
    EXPECT_EQ(SheetCells(exported, 1), Expected(grid.grid, 1, 0));
    EXPECT_EQ(user.OleFunction(L"WorkBooks").OleFunction(L"Count").ToInteger(), 2);
    user.OleProcedure(L"Quit");
}

TEST_F(XlsExport, ANamedSheetIsFoundOrAddedInTheWorkbookFile)
{
    const std::wstring file = dir_.File(L"book.xlsx");
    xlsx::Workbook start;
    start.sheets.push_back({L"First", {{{1, 1}, L"first"}}});
    start.sheets.push_back({L"Data", {{{7, 7}, L"old"}}});
    xlsx::SaveWorkbook(start, file);

    TFilledGrid<> grid(2, 2);
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->SaveToXLSSheet(file, L"Data");
    EXPECT_EQ(SheetNames(file), (std::vector<std::wstring>{L"First", L"Data"}));
    auto expected = Expected(grid.grid, 0, 0);
    expected[L"G7"] = L"old";
    EXPECT_EQ(SheetCells(file, 2), expected) << "saved in place, the sheet's other cells kept";
    EXPECT_EQ(SheetCells(file, 1).at(L"A1"), L"first");

    grid->SaveToXLSSheet(file, L"Inventory");
    EXPECT_EQ(SheetNames(file), (std::vector<std::wstring>{L"First", L"Data", L"Inventory"}));
    EXPECT_EQ(SheetCells(file, 3), Expected(grid.grid, 0, 0));

    const std::wstring fresh = dir_.File(L"fresh.xlsx");
    grid->SaveToXLSSheet(fresh, L"Inventory");
    EXPECT_EQ(SheetNames(fresh).back(), L"Inventory");
}

TEST_F(XlsExport, ASaveThatFailsIsReportedAndTheStartedApplicationQuits)
{
    TFilledGrid<> grid(2, 2);
    const std::wstring nowhere = dir_.File(L"no such folder\\book.xlsx");
    Screen->SetCursor(crCross);
    try {
        grid->SaveToXLS(nowhere);
        ADD_FAILURE() << "a failed save was not reported";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(nowhere), String::npos) << xlsx::ToUtf8(e.Message());
    }
    EXPECT_EQ(Screen->GetCursor(), crCross) << "the cursor of before is back";
    EXPECT_EQ(GetFileAttributesW(nowhere.c_str()), INVALID_FILE_ATTRIBUTES);
    Screen->SetCursor(crDefault);
}

TEST(XlsExportWithoutServer, RaisesThatTheServerIsNotFound)
{
    ASSERT_TRUE(RunningApplication().IsEmpty()) << "an application runs: the export would attach to it";
    CLSID clsid{};
    ASSERT_FALSE(SUCCEEDED(CLSIDFromProgID(xlserver::ProgId, &clsid))) << "the stand-in is registered";
    TFilledGrid<> grid(2, 2);
    Screen->SetCursor(crCross);
    try {
        grid->SaveToXLS(L"C:\\unused.xlsx");
        ADD_FAILURE() << "no error";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), L"Excel OLE server not found");
    }
    EXPECT_EQ(Screen->GetCursor(), crCross);
    Screen->SetCursor(crDefault);
}
