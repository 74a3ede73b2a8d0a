// The floating footer: its row's calculations, the preview row it adds and
// removes, the panel's painting and the column a click names after the grid
// has scrolled.
#include "DataGridSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// One fixed row, ten rows of the numbers 1 .. 10 and the footer row.
struct TFooterGrid : TShownGrid<> {
    TFooterGrid() : TShownGrid<>(5, 12)
    {
        for (int r = 1; r <= 10; ++r)
            for (int c = 1; c < 5; ++c)
                grid->SetCells(c, r, IntToStr(r));
        grid->SetCells(1, 11, L"");
        grid->GetFloatingFooter()->SetVisible(true);
    }
};

} // namespace

TEST(FloatingFooter, ColumnCalculationsFillTheLastRow)
{
    TFooterGrid g;
    EXPECT_EQ(g->GetFixedFooters(), 1);
    struct Case {
        TColumnCalcType type;
        double expected;
    };
    const Case cases[] = {{acSUM, 55}, {acAVG, 5.5}, {acMIN, 1}, {acMAX, 10}, {acCOUNT, 10}, {acDISTINCT, 10}};
    for (const Case& c : cases) {
        g->GetFloatingFooter()->SetColumnCalc(1, c.type);
        EXPECT_DOUBLE_EQ(g->GetFloatCell(1, 11), c.expected) << c.type;
    }
    g->GetFloatingFooter()->SetColumnCalc(1, acCOUNT);
    EXPECT_EQ(g->GetCells(1, 11), L"10") << "a count is written as an integer";

    // A custom kind asks the grid's event first, then the footer's; without either it empties.
    g->GetFloatingFooter()->SetColumnCalc(2, acCUSTOM);
    EXPECT_EQ(g->GetCells(2, 11), L"");
    int askedRow = -1;
    g->GetFloatingFooter()->OnCalcFooter = [&](TObject*, int, int ARow, String& Value) {
        askedRow = ARow;
        Value = L"footer";
    };
    g->RecalcFooterColumn(2);
    EXPECT_EQ(g->GetCells(2, 11), L"footer");
    EXPECT_EQ(askedRow, 11);
    g->OnFooterCalc = [](TObject*, int ACol, int, String& Value) { Value = L"grid " + IntToStr(ACol); };
    g->RecalcFooterColumn(2);
    EXPECT_EQ(g->GetCells(2, 11), L"grid 2");

    // Values change, the footer follows when asked.
    g->SetCells(1, 1, L"100");
    g->GetFloatingFooter()->SetColumnCalc(1, acSUM);
    EXPECT_DOUBLE_EQ(g->GetFloatCell(1, 11), 154);

    // Outside the grid nothing happens.
    g->GetFloatingFooter()->SetColumnCalc(-1, acSUM);
    g->GetFloatingFooter()->SetColumnCalc(99, acSUM);
    EXPECT_DOUBLE_EQ(g->GetFloatCell(1, 11), 154);

    // A hidden footer calculates nothing.
    g->GetFloatingFooter()->SetVisible(false);
    g->SetCells(1, 1, L"1");
    g->RecalcAllFooters();
    EXPECT_DOUBLE_EQ(g->GetFloatCell(1, 11), 154);
}

TEST(FloatingFooter, PreviewStylesAddOneRowAndTakeItBack)
{
    TFilledGrid<> g(4, 6);
    TFloatingFooter* footer = g->GetFloatingFooter();
    footer->SetFooterStyle(fsColumnPreview);
    footer->SetVisible(true);
    EXPECT_EQ(g->GetRowCount(), 7);
    EXPECT_EQ(g->GetFixedFooters(), 0);
    footer->SetVisible(false);
    EXPECT_EQ(g->GetRowCount(), 6);
    footer->SetVisible(true);
    EXPECT_EQ(g->GetRowCount(), 7);
    footer->SetFooterStyle(fsCustomPreview);
    EXPECT_EQ(g->GetRowCount(), 7) << "added once";
    footer->SetFooterStyle(fsFixedLastRow);
    EXPECT_EQ(g->GetRowCount(), 6);
    EXPECT_EQ(g->GetFixedFooters(), 1);

    // A height of 0 leaves the panel as it is.
    footer->SetHeight(30);
    EXPECT_EQ(g->GetFooterPanel()->GetHeight(), 29);
    footer->SetHeight(0);
    EXPECT_EQ(g->GetFooterPanel()->GetHeight(), 29);
}

TEST(FloatingFooter, TemplatePlaceholdersTakeTheCurrentRow)
{
    TFilledGrid<> g(4, 6);
    g->FocusCell(1, 3);
    TFooterPanel* panel = g->GetFooterPanel();
    struct Case {
        const wchar_t* templ;
        String expected;
    };
    const Case cases[] = {
        {L"Name: <#1>", L"Name: " + CellName(1, 3)},
        {L"<#2>/<#3>", CellName(2, 3) + L"/" + CellName(3, 3)},
        {L"a<#x>b", L"ab"},
        {L"<#99>!", L"!"},
        {L"start <#1", L"start "},
        {L"plain", L"plain"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(panel->ExpandFooterTemplate(c.templ), c.expected) << c.templ;
}

TEST(FloatingFooter, ClickAfterScrollingNamesTheColumnUnderTheMouse)
{
    TShownGrid<> g(20, 12);
    g->SetFixedCols(1);
    g->GetFloatingFooter()->SetVisible(true);
    Application->ProcessMessages();
    g->SetLeftCol(5);
    int clickedCol = -1, clickedRow = -1;
    g->OnClickCell = [&](TObject*, int ARow, int ACol) {
        clickedRow = ARow;
        clickedCol = ACol;
    };
    TFooterPanel* panel = g->GetFooterPanel();
    const int x = g->GetColWidths(0) + g->GetColWidths(5) + 5;  // inside the second scrolling column
    SendMessageW(panel->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
    SendMessageW(panel->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
    EXPECT_EQ(clickedCol, 6);
    EXPECT_EQ(clickedRow, g->GetRowCount() - 1);
}
