// Tree nodes: contracting hides a node's children and expanding shows them,
// nested nodes fold into their parent's block, one node open at a time,
// parents, child rows, spans that reach past the grid, and the node button
// under a real press.
#include "DataGridSupport.h"
#include "SysUtils.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// The real rows shown, in display order.
std::vector<int> ShownRows(TAdvStringGrid* g)
{
    std::vector<int> rows;
    for (int r = 0; r < g->GetRowCount(); ++r)
        rows.push_back(g->RealRowIndex(r));
    return rows;
}

} // namespace

TEST(Nodes, ContractingHidesTheSpanAndExpandingShowsIt)
{
    TFilledGrid<> g(3, 8);
    g->AddNode(1, 3);
    EXPECT_TRUE(g->IsNode(1));
    EXPECT_EQ(g->GetNodeSpan(1), 3);
    EXPECT_EQ(g->GetNodeLevel(1), 1);
    EXPECT_EQ(g->GetNodeLevel(2), -1) << "a child is no node";
    EXPECT_EQ(g->GetNumNodes(), 1);
    g->ContractNode(1);
    EXPECT_TRUE(g->GetNodeState(1));
    EXPECT_EQ(ShownRows(g.grid), (std::vector<int>{0, 1, 4, 5, 6, 7}));
    EXPECT_EQ(g->RealRowIndex(2), 4);
    g->ContractNode(1);
    EXPECT_EQ(g->GetRowCount(), 6) << "a contracted node stays as it is";
    g->ExpandNode(1);
    EXPECT_FALSE(g->GetNodeState(1));
    EXPECT_EQ(ColumnTexts(g.grid, 1), Names(1, {0, 1, 2, 3, 4, 5, 6, 7}));
    // Through the state setter, by display row.
    g->SetNodeState(1, true);
    EXPECT_EQ(g->GetRowCount(), 6);
    g->SetNodeState(1, false);
    EXPECT_EQ(g->GetRowCount(), 8);
}

TEST(Nodes, ANestedContractedNodeFoldsIntoItsParentAndComesBackExpanded)
{
    TFilledGrid<> g(3, 8);
    g->AddNode(1, 5);
    g->AddNode(2, 2);
    EXPECT_EQ(g->GetNodeLevel(2), 2);
    EXPECT_EQ(g->GetParentRow(3), 2) << "the innermost node";
    EXPECT_EQ(g->GetParentRow(5), 1);
    EXPECT_EQ(g->GetParentRow(1), 1) << "a top-level node answers itself";
    EXPECT_EQ(g->GetParentRow(2), 1);
    EXPECT_EQ(g->GetParentRow(6), -1);
    g->ContractNode(2);
    EXPECT_EQ(ShownRows(g.grid), (std::vector<int>{0, 1, 2, 4, 5, 6, 7}));
    g->ContractNode(1);
    EXPECT_EQ(ShownRows(g.grid), (std::vector<int>{0, 1, 6, 7}));
    g->ExpandNode(1);
    EXPECT_EQ(ShownRows(g.grid), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_FALSE(g->GetNodeState(2));
    EXPECT_EQ(ColumnTexts(g.grid, 2), Names(2, {0, 1, 2, 3, 4, 5, 6, 7}));

    TFilledGrid<> plain(3, 4);
    EXPECT_EQ(plain->GetParentRow(2), -1) << "a grid without nodes";
}

TEST(Nodes, ExpandOneKeepsOneNodeOpenAndSpanZeroReachesTheNextNode)
{
    TFilledGrid<> g(3, 9);
    g->AddNode(1, 3);
    g->AddNode(4, 3);
    g->AddNode(7, 2);
    g->ContractAll();
    EXPECT_EQ(ShownRows(g.grid), (std::vector<int>{0, 1, 4, 7}));
    const int level = g->GetFilterLevel();
    g->ContractAll();
    EXPECT_EQ(g->GetFilterLevel(), level) << "all contracted: nothing to do";
    g->GetCellNode()->SetExpandOne(true);
    g->ExpandNode(4);
    EXPECT_EQ(ShownRows(g.grid), (std::vector<int>{0, 1, 4, 5, 6, 7}));
    g->ExpandNode(1);
    EXPECT_EQ(ShownRows(g.grid), (std::vector<int>{0, 1, 2, 3, 4, 7}));
    EXPECT_TRUE(g->GetNodeState(4)) << "the other node closed";
    g->GetCellNode()->SetExpandOne(false);
    g->ExpandAll();
    EXPECT_EQ(g->GetRowCount(), 9);

    // A span of 0 covers the rows up to the next node row.
    TFilledGrid<> z(3, 8);
    z->AddNode(1, 1);
    z->SetNodeSpan(1, 0);
    z->AddNode(5, 2);
    z->ContractNode(1);
    EXPECT_EQ(ShownRows(z.grid), (std::vector<int>{0, 1, 5, 6, 7}));
    z->ExpandNode(1);
    EXPECT_EQ(z->GetRowCount(), 8);
}

TEST(Nodes, SpansPastTheGridTouchOnlyNormalRows)
{
    TFilledGrid<> g(3, 8);
    g->SetFixedFooters(1);
    g->AddNode(2, 50);
    for (int r = 2; r < 7; ++r)
        EXPECT_EQ(g->GetCellProperties(0, r)->GetNodeLevel(), 1) << r;
    EXPECT_FALSE(g->HasCellProperties(0, 7)) << "the footer row is no child";
    g->ContractNode(2);
    EXPECT_EQ(ShownRows(g.grid), (std::vector<int>{0, 1, 2, 7}));
    EXPECT_EQ(g->GetCells(1, 3), CellName(1, 7)) << "the footer stays";
    g->ExpandNode(2);
    EXPECT_EQ(ColumnTexts(g.grid, 1), Names(1, {0, 1, 2, 3, 4, 5, 6, 7}));
    // A span pushed past the end afterwards, as a loaded cell file can.
    g->SetNodeSpan(2, 1000);
    g->ContractAll();
    EXPECT_EQ(ShownRows(g.grid), (std::vector<int>{0, 1, 2, 7}));
    g->ExpandAll();
    g->RemoveNode(2);
    EXPECT_EQ(g->GetNumNodes(), 0);
    EXPECT_EQ(g->GetCellProperties(0, 4)->GetNodeLevel(), 0);
}

TEST(Nodes, ChildRowsGrowAndShrinkTheirAncestors)
{
    TFilledGrid<> g(3, 6);
    g->AddNode(1, 3);
    // InsertAt 0 under a node row: the node's texts move into the new first child.
    g->InsertChildRow(1, 0);
    EXPECT_EQ(g->GetRowCount(), 7);
    EXPECT_EQ(g->GetCells(1, 1), L"");
    EXPECT_EQ(g->GetCells(1, 2), CellName(1, 1));
    EXPECT_EQ(g->GetCells(1, 3), CellName(1, 2));
    EXPECT_EQ(g->GetNodeSpan(1), 4);
    EXPECT_EQ(g->GetSubNodeCount(1), 1);
    EXPECT_EQ(g->GetCellProperties(0, 2)->GetNodeLevel(), 1);
    g->RemoveChildRow(2);
    EXPECT_EQ(g->GetRowCount(), 6);
    EXPECT_EQ(g->GetNodeSpan(1), 3);
    EXPECT_EQ(g->GetSubNodeCount(1), 0);
    EXPECT_EQ(g->GetCells(1, 2), CellName(1, 2));

    // A nested node grows its parent too.
    TFilledGrid<> n(3, 8);
    n->AddNode(1, 5);
    n->AddNode(2, 2);
    n->InsertChildRow(3, 1);
    EXPECT_EQ(n->GetNodeSpan(2), 3);
    EXPECT_EQ(n->GetNodeSpan(1), 6);
    EXPECT_EQ(n->GetCells(1, 4), L"");

    // A level-2 node with nothing above it: the ancestor walk ends at the
    // top of the grid instead of reading row -1.
    TFilledGrid<> top(3, 5);
    top->AddNode(1, 2);
    top->AddNode(1, 2);
    EXPECT_NO_THROW(top->InsertChildRow(1, 1));
    EXPECT_EQ(top->GetRowCount(), 6);
}

TEST(Nodes, ClearingRemovesTheNodesAndBringsTheRowsBack)
{
    TFilledGrid<> g(3, 6);
    g->AddNode(1, 3);
    g->ContractNode(1);
    g->ClearNormalCells();
    EXPECT_EQ(g->GetNumNodes(), 0);
    EXPECT_EQ(g->GetRowCount(), 6);
    EXPECT_EQ(g->NumHiddenRows(), 0);
    EXPECT_FALSE(g->IsNode(1));
}

TEST(Nodes, ThePressOnTheNodeButtonTogglesItWithItsEvents)
{
    TShownGrid<> g(3, 8);
    g->AddNode(1, 3);
    std::vector<String> events;
    g->OnBeforeContractNode = [&](TObject*, int row, int real, bool& allow) {
        events.push_back(L"before contract " + IntToStr(row) + L"/" + IntToStr(real));
    };
    g->OnContractNode = [&](TObject*, int row, int real) {
        events.push_back(L"contract " + IntToStr(row) + L"/" + IntToStr(real));
    };
    g->OnBeforeExpandNode = [&](TObject*, int row, int real, bool& allow) {
        events.push_back(L"before expand " + IntToStr(row));
        allow = events.size() > 3;
    };
    g->OnExpandNode = [&](TObject*, int row, int real) { events.push_back(L"expand " + IntToStr(row)); };
    const TRect cell = g->CellRect(0, 1);
    auto press = [&](int x) {
        const LPARAM at = MAKELPARAM(cell.left + x, (cell.top + cell.bottom) / 2);
        SendMessageW(g->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(g->GetHandle(), WM_LBUTTONUP, 0, at);
        Application->ProcessMessages();
    };
    press(10);
    EXPECT_EQ(g->GetRowCount(), 6);
    press(10);
    EXPECT_EQ(g->GetRowCount(), 6) << "the handler refused";
    press(10);
    EXPECT_EQ(g->GetRowCount(), 8);
    EXPECT_EQ(events, (std::vector<String>{L"before contract 1/1", L"contract 1/1", L"before expand 1",
                                           L"before expand 1", L"expand 1"}));
    press(40);
    EXPECT_EQ(g->GetRowCount(), 8) << "beside the button";
}
