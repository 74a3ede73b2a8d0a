// Cell text for files: the text every writer takes from a cell (display
// hooks, merged cells, check boxes, HTML and rich text, the save event), the
// text every reader stores, and a cell's value as a number.
#include <gtest/gtest.h>
#include "DataGridSupport.h"

using namespace datagrid_test;

TEST(SaveCell, TakesEachKindOfCellByItsRule)
{
    struct Case {
        const char* what;
        std::function<void(TAdvStringGrid*)> setUp;
        String expected;
    };
    const Case cases[] = {
        {"plain text", [](TAdvStringGrid* g) { g->SetCells(1, 1, L"plain"); }, L"plain"},
        {"the display hook's text",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"raw");
             g->OnGetDisplText = [](TObject*, int, int, String& v) { v = L"shown " + v; };
         },
         L"shown raw"},
        {"the stored text without virtual cells",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"raw");
             g->SetSaveVirtCells(false);
             g->OnGetDisplText = [](TObject*, int, int, String& v) { v = L"shown " + v; };
         },
         L"raw"},
        {"a checked box without text",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"");
             g->CreateCellGraphic(1, 1)->SetCheckBox(true, false, false, haLeft, vaTop);
         },
         L"Y"},
        {"an unchecked box without text",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"");
             g->CreateCellGraphic(1, 1)->SetCheckBox(false, false, false, haLeft, vaTop);
         },
         L"N"},
        {"a three-state box, checked",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"");
             g->CreateCellGraphic(1, 1)->SetCheckBox(cbChecked, false, haLeft, vaTop);
         },
         L"Y"},
        {"a three-state box, greyed",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"");
             g->CreateCellGraphic(1, 1)->SetCheckBox(cbGrayed, false, haLeft, vaTop);
         },
         L"N"},
        {"the check texts of the event",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"");
             g->CreateCellGraphic(1, 1)->SetCheckBox(true, false, false, haLeft, vaTop);
             g->OnGetCheckTrue = [](TObject*, int, int, String& v) { v = L"yes"; };
         },
         L"yes"},
        {"a check box with a text keeps the text",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"label");
             g->CreateCellGraphic(1, 1)->SetCheckBox(true, false, false, haLeft, vaTop);
         },
         L"label"},
        {"HTML kept by default", [](TAdvStringGrid* g) { g->SetCells(1, 1, L"<b>x</b>"); }, L"<b>x</b>"},
        {"HTML as plain text",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"<b>x</b><BR>y & <i>z</i>");
             g->SetSaveWithHTML(false);
         },
         L"x\r\ny & z"},
        {"a formula is no HTML",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"=<b>1</b>");
             g->SetSaveWithHTML(false);
         },
         L"=<b>1</b>"},
        {"rich text as plain text",
         [](TAdvStringGrid* g) { g->SetCells(1, 1, L"{\\rtf1\\ansi {\\b Hello}\\par World}"); }, L"Hello\r\nWorld"},
        {"rich text kept without its line breaks",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"{\\rtf1\\ansi Hello\r\n\\par World}");
             g->SetSaveWithRTF(true);
         },
         L"{\\rtf1\\ansi Hello\\par World}"},
        {"the save event has the last word",
         [](TAdvStringGrid* g) {
             g->SetCells(1, 1, L"");
             g->CreateCellGraphic(1, 1)->SetCheckBox(true, false, false, haLeft, vaTop);
             g->OnSaveCell = [](TObject*, int c, int r, String& v) { v += L"@" + IntToStr(c) + L"," + IntToStr(r); };
         },
         L"Y@1,1"},
    };
    for (const Case& c : cases) {
        TFilledGrid<> grid(3, 3);
        c.setUp(grid.grid);
        EXPECT_EQ(grid->SaveCell(1, 1), c.expected) << c.what;
    }
}

TEST(SaveCell, MergedCellsCarryTheirTextOnlyAtTheBaseWhenAsked)
{
    TFilledGrid<> grid(4, 4);
    grid->MergeCells(1, 1, 2, 2);
    EXPECT_EQ(grid->SaveCell(2, 2), L"r1c1") << "every cell of the block reads its base";
    grid->SetSaveMergedCells(false);
    EXPECT_EQ(grid->SaveCell(1, 1), L"r1c1");
    for (const TPoint covered : {TPoint(2, 1), TPoint(1, 2), TPoint(2, 2)})
        EXPECT_EQ(grid->SaveCell(covered.x, covered.y), L"") << covered.x << "," << covered.y;
    EXPECT_EQ(grid->SaveCell(3, 3), L"r3c3");
}

TEST(LoadCellText, StoresTheTextTheEventLeavesWithoutTouchingTheBaseCell)
{
    TFilledGrid<> grid(3, 3);
    grid->MergeCells(0, 0, 2, 1);
    std::vector<String> seen;
    grid->OnLoadCell = [&](TObject*, int c, int r, String& v) {
        seen.push_back(v);
        v = L"[" + v + L"]@" + IntToStr(c) + L"," + IntToStr(r);
    };
    grid->LoadCellText(1, 0, L"loaded");
    EXPECT_EQ(seen, std::vector<String>{L"loaded"});
    EXPECT_EQ(grid->GetRawCell(1, 0), L"[loaded]@1,0") << "stored where it was addressed";
    EXPECT_EQ(grid->GetCellText(0, 0), L"r0c0");
}

TEST(CellToReal, ReadsNumbersInTheLocalesFormAndNamesWhereOthersStop)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    struct Case {
        String text;
        double value;
    };
    const Case numbers[] = {
        {L"", 0}, {L"12", 12}, {L"12,5", 12.5}, {L"1.234,5", 1234.5}, {L"-3", -3},
        {L"(1.234,5)", -1234.5}, {L"EUR -7,25", -7.25}, {L"4,5 kg", 4.5}, {L"2e3", 2000},
    };
    TFilledGrid<> grid(2, 2);
    for (const Case& c : numbers) {
        grid->SetCells(1, 1, c.text);
        EXPECT_DOUBLE_EQ(grid->CellToReal(1, 1), c.value) << c.text;
    }
    const std::pair<String, String> errors[] = {
        {L"1,2,3", L"Error at position: 4 in Cell [1, 1]."},
        {L"kg", L"Error at position: 1 in Cell [1, 1]."},
        {L"1e", L"Error at position: 2 in Cell [1, 1]."},
    };
    for (const auto& [text, message] : errors) {
        grid->SetCells(1, 1, text);
        try {
            grid->CellToReal(1, 1);
            ADD_FAILURE() << "no error for " << text;
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), message) << text;
        }
    }
    FormatSettings = saved;
}
