// Check boxes and radio controls in cells: adding, the toggle cycles of
// each kind with their events and the grouped rows, the history of data
// boxes, the hit test around the box, and radio buttons and groups.
#include "DataGridSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// Row 1 a node over rows 2 .. 4 (span 4), as the node operations leave it.
void MakeNode(TAdvStringGrid* Grid, int Row, int Span)
{
    TCellGraphic* node = Grid->CreateCellGraphic(0, Row);
    node->SetCellType(ctNode);
    node->SetCellIndex(Span);
    node->SetCellAngle(Row);
}

TCheckBoxState TriState(TAdvStringGrid* Grid, int c, int r)
{
    TCheckBoxState state = cbUnchecked;
    EXPECT_TRUE(Grid->GetCheckBoxState(c, r, state));
    return state;
}

} // namespace

TEST(CheckBoxes, AddingDataBoxesSettlesTheirText)
{
    TFilledGrid<> g(3, 4);
    g->SetCells(1, 1, L"yes");
    g->AddCheckBox(1, 1, true, true);
    EXPECT_EQ(g->GetCells(1, 1), L"Y");
    g->SetCells(1, 2, L"N");
    g->AddCheckBox(1, 2, true, true);
    EXPECT_EQ(g->GetCells(1, 2), L"N") << "a check text stays";
    EXPECT_FALSE(g->IsChecked(1, 2));
    g->SetVAlignment(vtaCenter);
    g->AddCheckBox(2, 1, cbGrayed);
    EXPECT_EQ(g->GetCellGraphic(2, 1)->GetCellVAlign(), vaCenter);
    EXPECT_EQ(g->GetCellGraphic(2, 1)->GetCellHAlign(), haBeforeText);
    EXPECT_EQ(TriState(g.grid, 2, 1), cbGrayed);
    EXPECT_TRUE(g->IsControlCell(2, 1));
    EXPECT_TRUE(g->HasDataDrivenGraphic(1, 1));
    g->RemoveCheckBox(2, 1);
    EXPECT_FALSE(g->HasCheckBox(2, 1));
}

TEST(CheckBoxes, ToggleCycles)
{
    TFilledGrid<> g(4, 3);
    std::vector<String> changes;
    g->OnCheckBoxChange = [&](TObject*, int c, int r, bool s) {
        changes.push_back(IntToStr(c) + L"," + IntToStr(r) + (s ? L"+" : L"-"));
    };
    g->AddCheckBox(1, 1, false, false);
    EXPECT_TRUE(g->ToggleCheckBox(1, 1));
    EXPECT_TRUE(g->IsChecked(1, 1));
    g->ToggleCheckBox(1, 1);
    EXPECT_FALSE(g->IsChecked(1, 1));

    g->SetCells(2, 1, L"maybe");
    g->AddCheckBox(2, 1, false, true);
    g->SetCells(2, 1, L"maybe");
    g->ToggleCheckBox(2, 1);
    EXPECT_EQ(g->GetCells(2, 1), L"Y") << "neither check text becomes checked";
    g->ToggleCheckBox(2, 1);
    EXPECT_EQ(g->GetCells(2, 1), L"N");

    g->AddCheckBox(3, 1, cbUnchecked);
    std::vector<TCheckBoxState> cycle;
    for (int i = 0; i < 3; ++i) {
        g->ToggleCheckBox(3, 1);
        cycle.push_back(TriState(g.grid, 3, 1));
    }
    EXPECT_EQ(cycle, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_EQ(changes, (std::vector<String>{L"1,1+", L"1,1-", L"2,1+", L"2,1-", L"3,1-", L"3,1+", L"3,1-"}));

    // A refused toggle changes nothing and tells nothing.
    changes.clear();
    g->OnCheckBoxCanToggle = [](TObject*, int, int, bool, bool& Allow) { Allow = false; };
    EXPECT_FALSE(g->ToggleCheckBox(1, 1));
    EXPECT_FALSE(g->IsChecked(1, 1));
    EXPECT_TRUE(changes.empty());
    EXPECT_FALSE(g->ToggleCheckBox(0, 0)) << "no box";
}

TEST(CheckBoxes, GroupedRowsFollowEachOther)
{
    TFilledGrid<> g(3, 6);
    g->SetFixedRows(1);
    g->GetGrouping()->SetAutoCheckGroup(true);
    MakeNode(g.grid, 1, 4);
    g->AddCheckBox(1, 1, cbUnchecked);
    for (int r = 2; r <= 4; ++r)
        g->AddCheckBox(1, r, false, false);
    g->AddCheckBox(1, 5, false, false);

    g->ToggleCheckBox(1, 2);
    EXPECT_EQ(TriState(g.grid, 1, 1), cbGrayed);
    g->ToggleCheckBox(1, 3);
    EXPECT_EQ(TriState(g.grid, 1, 1), cbGrayed);
    g->ToggleCheckBox(1, 4);
    EXPECT_EQ(TriState(g.grid, 1, 1), cbChecked) << "the last sibling checked";
    g->ToggleCheckBox(1, 5);
    EXPECT_EQ(TriState(g.grid, 1, 1), cbChecked) << "a row past the node is no child";

    // The node's own box: checked -> unchecked, and every child follows.
    g->ToggleCheckBox(1, 1);
    EXPECT_EQ(TriState(g.grid, 1, 1), cbUnchecked);
    for (int r = 2; r <= 4; ++r)
        EXPECT_FALSE(g->IsChecked(1, r)) << r;
    EXPECT_TRUE(g->IsChecked(1, 5));
    g->ToggleCheckBox(1, 1);
    for (int r = 2; r <= 4; ++r)
        EXPECT_TRUE(g->IsChecked(1, r)) << r;
}

TEST(CheckBoxes, OnlyDataBoxesGoIntoTheHistory)
{
    TFilledGrid<> g(3, 3);
    TOwned<TAdvGridUndoRedo> history(New<TAdvGridUndoRedo>(nullptr));
    g->SetUndoRedo(history.get());
    g->AddCheckBox(1, 1, false, false);
    g->SetCells(1, 1, L"caption");
    g->ToggleCheckBox(1, 1);
    EXPECT_EQ(history->GetItems()->Count(), 0);
    history->Undo();
    EXPECT_EQ(g->GetCells(1, 1), L"caption");

    g->AddCheckBox(2, 1, true, true);
    g->ToggleCheckBox(2, 1);
    ASSERT_EQ(history->GetItems()->Count(), 1);
    EXPECT_EQ(g->GetCells(2, 1), L"N");
    history->Undo();
    EXPECT_EQ(g->GetCells(2, 1), L"Y") << "undo gives back the state before the toggle";
    history->Redo();
    EXPECT_EQ(g->GetCells(2, 1), L"N");
    g->SetUndoRedo(nullptr);
}

TEST(CheckBoxes, HitTestAroundTheBox)
{
    TShownGrid<> g(3, 3);
    g->SetDefaultRowHeight(30);
    g->SetColWidths(1, 100);
    g->AddCheckBox(1, 1, false, false);
    EXPECT_TRUE(g->IsInCheckBox(1, 1, -100, -100)) << "without precise checks the whole cell counts";
    g->GetMouseActions()->SetPreciseCheckBoxCheck(true);
    const int size = g->GetControlLook()->GetCheckSize();
    const TRect cell = g->CellRect(1, 1);
    struct Case {
        const char* name;
        TAlignment align;
        TCellVAlign valign;
        int left, top;
    };
    const Case cases[] = {
        {"left top", taLeftJustify, vaTop, cell.left + 2, cell.top + 2},
        {"centre centre", taCenter, vaCenter, cell.left + (cell.Width() - size) / 2,
         cell.top + (cell.Height() - size) / 2},
        {"right bottom", taRightJustify, vaBottom, cell.right - size - 2, cell.bottom - size - 2},
    };
    g->SetCells(1, 1, L"");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g->SetCellTextAlignment(1, 1, c.align);
        g->GetCellGraphic(1, 1)->SetCellVAlign(c.valign);
        EXPECT_TRUE(g->IsInCheckBox(1, 1, c.left, c.top));
        EXPECT_TRUE(g->IsInCheckBox(1, 1, c.left + size - 1, c.top + size - 1));
        EXPECT_FALSE(g->IsInCheckBox(1, 1, c.left - 1, c.top));
        EXPECT_FALSE(g->IsInCheckBox(1, 1, c.left, c.top - 1));
        EXPECT_FALSE(g->IsInCheckBox(1, 1, c.left + size, c.top));
        EXPECT_FALSE(g->IsInCheckBox(1, 1, c.left, c.top + size));
    }
    // Right-aligned text pushes the box left by its width.
    g->SetCells(1, 1, L"text");
    g->GetCanvas()->GetFont()->Assign(g->GetFont());
    const int left = cell.right - size - 2 - g->GetCanvas()->TextWidth(L"text");
    EXPECT_TRUE(g->IsInCheckBox(1, 1, left, cell.bottom - size - 2));
    EXPECT_FALSE(g->IsInCheckBox(1, 1, left + size, cell.bottom - size - 2));
    EXPECT_FALSE(g->IsInCheckBox(2, 1, cell.right + 5, cell.top + 5)) << "no box";
}

TEST(CheckBoxes, ColumnsAndNotifiedStates)
{
    TFilledGrid<> g(3, 5);
    g->SetFixedRows(1);
    g->AddCheckBoxColumn(1, false, true);
    EXPECT_FALSE(g->HasCheckBox(1, 0));
    EXPECT_TRUE(g->IsDataCheckBoxColumn(1));
    int changes = 0;
    g->OnCheckBoxChange = [&](TObject*, int, int, bool) { ++changes; };
    g->CheckAll(1);
    EXPECT_EQ(changes, 4);
    for (int r = 1; r < 5; ++r)
        EXPECT_TRUE(g->IsChecked(1, r));
    g->CheckAll(1);
    EXPECT_EQ(changes, 4) << "no change, no event";
    g->UnCheckAll(1);
    EXPECT_EQ(changes, 8);
    EXPECT_TRUE(g->SetCheckBoxState(1, 2, true));
    EXPECT_EQ(g->GetCells(1, 2), L"Y");
    g->RemoveCheckBoxColumn(1);
    EXPECT_FALSE(g->HasCheckBox(1, 2));
}

TEST(CheckBoxes, RadioButtonsWalkTheirGroupUpToAPlainCell)
{
    TFilledGrid<> g(4, 7);
    g->SetFixedRows(1);
    // Column 1: buttons in rows 1, 2, 4, 5; row 3 plain.
    for (int r : {1, 2, 4, 5})
        g->AddRadioButton(1, r, false);
    g->SetRadioButtonState(1, 1, true);
    g->SetRadioButtonState(1, 2, true);
    EXPECT_TRUE(g->ClickRadioButtonCell(1, 5, false));
    EXPECT_TRUE(g->IsRadioButtonChecked(1, 5));
    EXPECT_TRUE(g->IsRadioButtonChecked(1, 1)) << "beyond the plain cell";
    g->ClickRadioButtonCell(1, 4, false);
    EXPECT_FALSE(g->IsRadioButtonChecked(1, 5));
    EXPECT_TRUE(g->IsRadioButtonChecked(1, 4));
    EXPECT_TRUE(g->ClickRadioButtonCell(1, 4, false)) << "already checked";
    EXPECT_TRUE(g->IsRadioButtonChecked(1, 4));
    EXPECT_FALSE(g->ClickRadioButtonCell(2, 4, false));
    EXPECT_EQ(g->GetRadioButtonColumnIndex(1), 1);
    EXPECT_EQ(g->GetRadioButtonColumnIndex(2), -1);

    g->AddRadioButtonGroup(1, 6, rgRow, false);
    g->AddRadioButtonGroup(2, 6, rgRow, true);
    g->AddRadioButtonGroup(3, 6, rgNone, false);
    g->ClickRadioButtonCell(3, 6, false);
    EXPECT_TRUE(g->IsRadioButtonChecked(3, 6));
    EXPECT_TRUE(g->IsRadioButtonChecked(2, 6)) << "a button of no group unchecks nothing";
    g->ClickRadioButtonCell(1, 6, false);
    EXPECT_FALSE(g->IsRadioButtonChecked(2, 6));
    EXPECT_FALSE(g->IsRadioButtonChecked(3, 6));
    EXPECT_FALSE(g->IsRadioButtonChecked(1, 5)) << "a row group does not walk the column";
}

TEST(CheckBoxes, RadioGroupsInOneCell)
{
    TFilledGrid<> g(3, 3);
    TStrings* options = g->CreateRadio(1, 1, 0, 1);
    options->Add(L"red");
    options->Add(L"green");
    options->Add(L"blue");
    EXPECT_EQ(g->GetRadioStrings(1, 1), options);
    g->AdvanceRadioSelection(1, 1, false);
    int idx = -1;
    EXPECT_TRUE(g->GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, 2);
    EXPECT_EQ(g->GetCells(1, 1), L"blue");
    g->AdvanceRadioSelection(1, 1, false);
    EXPECT_TRUE(g->GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, 0);
    EXPECT_EQ(g->GetCells(1, 1), L"red");
    EXPECT_TRUE(g->SetRadioIdx(1, 1, -1));
    EXPECT_EQ(g->GetCells(1, 1), L"");

    // An empty list: nothing to advance to.
    g->CreateRadio(2, 1, 1, 0);
    g->SetCells(2, 1, L"kept");
    g->AdvanceRadioSelection(2, 1, false);
    EXPECT_EQ(g->GetCells(2, 1), L"kept");

    // Only a radio group's index is set.
    g->AddButton(2, 2, 40, 18, L"b", haLeft, vaTop);
    const int packed = g->GetCellGraphic(2, 2)->GetCellIndex();
    EXPECT_FALSE(g->SetRadioIdx(2, 2, 5));
    EXPECT_EQ(g->GetCellGraphic(2, 2)->GetCellIndex(), packed);
    EXPECT_FALSE(g->GetRadioIdx(2, 2, idx));
}
