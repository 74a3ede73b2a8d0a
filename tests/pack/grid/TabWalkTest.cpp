// The Tab walk through real keys on a shown grid: a table of settings and
// starting cells with where Tab or Shift+Tab lands; read-only and merged
// cells, an added row, rows and grids without tab stops; the focus handed on
// to the form's next control through the application's message loop; and
// the order NextAdvanceCell follows.
#include "DataGridSupport.h"
#include "GridKeyInput.h"
#include <functional>
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// A 5 x 10 grid (one fixed row and column) with goTabs, the focus, and an
// edit after it in the form's tab order.
struct TTabGrid : TShownGrid<> {
    TEdit* next = nullptr;
    TTabGrid() : TShownGrid<>(5, 10)
    {
        grid->SetOptions(grid->GetOptions() + goTabs);
        grid->SetTabOrder(0);
        next = New<TEdit>(form);
        next->SetParent(form);
        next->SetBounds(10, 320, 100, 22);
        next->SetTabOrder(1);
        SetForegroundWindow(form->Handle());
        grid->SetFocus();
        PumpKeys();
    }
    TPoint current() const { return TPoint(grid->GetCol(), grid->GetRow()); }
};

// Column ACol is read-only for the editor.
std::function<void(TObject*, int, int, bool&)> ReadOnlyColumn(int ACol)
{
    return [ACol](TObject*, int, int Col, bool& CanEdit) { CanEdit = Col != ACol; };
}

TEST(TabWalk, TabAndShiftTabLandOnTheNextTabStop)
{
    struct Case {
        const char* name;
        std::function<void(TAdvStringGrid*)> setup;
        TPoint start;
        bool backward;
        TPoint expected;
    };
    const auto nav = [](TAdvStringGrid* g) { return g->GetNavigation(); };
    const Case cases[] = {
        {"next column", [](TAdvStringGrid*) {}, {1, 1}, false, {2, 1}},
        {"row end to the next row", [](TAdvStringGrid*) {}, {4, 3}, false, {1, 4}},
        {"last cell wraps to the first", [](TAdvStringGrid*) {}, {4, 9}, false, {1, 1}},
        {"back one column", [](TAdvStringGrid*) {}, {3, 5}, true, {2, 5}},
        {"back from a row start", [](TAdvStringGrid*) {}, {1, 5}, true, {4, 4}},
        {"back from the first cell to the last row", [](TAdvStringGrid*) {}, {1, 1}, true, {4, 9}},
        {"read-only cells skipped while editing",
         [](TAdvStringGrid* g) {
             g->SetOptions(g->GetOptions() + goEditing);
             g->OnCanEditCell = ReadOnlyColumn(2);
         },
         {1, 1}, false, {3, 1}},
        {"read-only cells taken without editing", [](TAdvStringGrid* g) { g->OnCanEditCell = ReadOnlyColumn(2); },
         {1, 1}, false, {2, 1}},
        {"a read-only row end wraps past it",
         [](TAdvStringGrid* g) {
             g->SetOptions(g->GetOptions() + goEditing);
             g->OnCanEditCell = ReadOnlyColumn(4);
         },
         {3, 2}, false, {1, 3}},
        {"a merged cell is left in one step", [](TAdvStringGrid* g) { g->MergeCells(1, 1, 2, 1); }, {1, 1}, false, {3, 1}},
        {"fixed right columns are no stops", [](TAdvStringGrid* g) { g->SetFixedRightCols(1); }, {3, 1}, false, {1, 2}},
        {"footer rows are no stops", [](TAdvStringGrid* g) { g->SetFixedFooters(1); }, {4, 8}, false, {1, 1}},
        {"top to bottom goes down", [&](TAdvStringGrid* g) { nav(g)->SetTabAdvanceDirection(adTopBottom); }, {2, 3}, false, {2, 4}},
        {"top to bottom: the column's end goes to the next column",
         [&](TAdvStringGrid* g) { nav(g)->SetTabAdvanceDirection(adTopBottom); }, {2, 9}, false, {3, 1}},
        {"top to bottom backward goes up",
         [&](TAdvStringGrid* g) { nav(g)->SetTabAdvanceDirection(adTopBottom); }, {2, 3}, true, {2, 2}},
        {"a row without stops is passed over",
         [](TAdvStringGrid* g) {
             g->SetOptions(g->GetOptions() + goEditing);
             g->OnCanEditCell = [](TObject*, int ARow, int, bool& CanEdit) { CanEdit = ARow != 4; };
         },
         {4, 3}, false, {1, 5}},
        {"a row without stops is passed over backward",
         [](TAdvStringGrid* g) {
             g->SetOptions(g->GetOptions() + goEditing);
             g->OnCanEditCell = [](TObject*, int ARow, int, bool& CanEdit) { CanEdit = ARow != 4; };
         },
         {1, 5}, true, {4, 3}},
    };
    for (const Case& c : cases) {
        TTabGrid g;
        c.setup(g.grid);
        g->FocusCell(c.start.x, c.start.y);
        PumpKeys();
        if (c.backward)
            PressChord({VK_SHIFT, VK_TAB});
        else
            PressChord({VK_TAB});
        EXPECT_EQ(g.current(), c.expected) << c.name;
        // The focus stays in the grid or in the editor the walk opened.
        const HWND focus = GetFocus();
        EXPECT_TRUE(focus == g->GetHandle() || IsChild(g->GetHandle(), focus)) << c.name;
    }
}

TEST(TabWalk, TheLastCellAddsARowOnlyWhenAllowed)
{
    for (bool allow : {true, false}) {
        TTabGrid g;
        g->GetNavigation()->SetAdvanceInsert(true);
        g->OnCanAddRow = [allow](TObject*, bool& Allow) { Allow = allow; };
        int added = -1;
        g->OnAutoAddRow = [&](TObject*, int ARow) { added = ARow; };
        g->FocusCell(4, 9);
        PumpKeys();
        PressChord({VK_TAB});
        if (allow) {
            EXPECT_EQ(g->GetRowCount(), 11);
            EXPECT_EQ(added, 10);
            EXPECT_EQ(g.current(), TPoint(1, 10));
        } else {
            EXPECT_EQ(g->GetRowCount(), 10);
            EXPECT_EQ(added, -1);
            EXPECT_EQ(g->GetRow(), 1);
        }
    }
}

TEST(TabWalk, TabAtTheEndHandsTheFocusToTheNextControl)
{
    TTabGrid g;
    g->GetNavigation()->SetTabToNextAtEnd(true);
    // Inside the grid Tab still walks the cells.
    g->FocusCell(3, 9);
    PumpKeys();
    PressChord({VK_TAB});
    EXPECT_EQ(g.current(), TPoint(4, 9));
    EXPECT_TRUE(g->Focused());
    // At the last cell the grid goes back to its first row and the form's
    // next control takes the focus.
    PressChord({VK_TAB});
    EXPECT_EQ(g->GetRow(), 1);
    EXPECT_TRUE(g.next->Focused());
    EXPECT_FALSE(g->Focused());
    // Called directly the step reports that it handed the focus on.
    g->SetFocus();
    g->FocusCell(4, 9);
    EXPECT_FALSE(g->TabKeyPressed(false));
    PumpKeys();
    EXPECT_TRUE(g.next->Focused());
}

TEST(TabWalk, AGridWithoutTabStopsReturns)
{
    for (bool toNext : {false, true}) {
        TTabGrid g;
        g->SetOptions(g->GetOptions() + goEditing);
        int asked = 0;
        g->OnCanEditCell = [&](TObject*, int, int, bool& CanEdit) {
            ++asked;
            CanEdit = false;
        };
        g->GetNavigation()->SetTabToNextAtEnd(toNext);
        g->FocusCell(2, 3);
        PumpKeys();
        PressChord({VK_TAB});
        // One pass at most: every cell asked a bounded number of times.
        EXPECT_GT(asked, 0);
        EXPECT_LT(asked, 5 * 10 * 5 * 10);
        const TPoint at = g.current();
        EXPECT_TRUE(at.x >= 1 && at.x < 5 && at.y >= 1 && at.y < 10);
        EXPECT_EQ(g.next->Focused(), toNext);
    }
}

TEST(TabWalk, TheEventMayTakeTheKey)
{
    TTabGrid g;
    g->OnKeyDown = [](TObject*, Word& Key, TShiftState) {
        if (Key == VK_TAB)
            Key = 0;
    };
    g->FocusCell(2, 2);
    PumpKeys();
    PressChord({VK_TAB});
    EXPECT_EQ(g.current(), TPoint(2, 2));
}

TEST(TabWalk, NextAdvanceCellFollowsTheAdvanceDirection)
{
    struct Case {
        TAdvanceDirection direction;
        TPoint from;
        TPoint expected;
    };
    const Case cases[] = {
        {adLeftRight, {2, 3}, {3, 3}},
        {adLeftRight, {4, 3}, {1, 4}},
        {adLeftRight, {4, 9}, {-1, -1}},     // after the last normal cell
        {adLeftRightInRow, {4, 3}, {-1, -1}}, // not past the row's end
        {adLeftRightInRow, {2, 3}, {3, 3}},
        {adTopBottom, {2, 3}, {2, 4}},
        {adTopBottom, {2, 9}, {3, 1}},
        {adTopBottom, {4, 9}, {-1, -1}},
        {adTopBottomInCol, {2, 9}, {-1, -1}},
    };
    TTabGrid g;
    for (const Case& c : cases) {
        g->GetNavigation()->SetAdvanceDirection(c.direction);
        EXPECT_EQ(g->NextAdvanceCell(c.from.x, c.from.y), c.expected)
            << int(c.direction) << " from " << c.from.x << "," << c.from.y;
    }
    // While editing, read-only cells are passed over; footers and right columns are never reached.
    g->SetOptions(g->GetOptions() + goEditing);
    g->OnCanEditCell = ReadOnlyColumn(3);
    g->SetFixedRightCols(1);
    g->SetFixedFooters(1);
    g->GetNavigation()->SetAdvanceDirection(adLeftRight);
    EXPECT_EQ(g->NextAdvanceCell(2, 3), TPoint(1, 4));
    EXPECT_EQ(g->NextAdvanceCell(2, 8), TPoint(-1, -1));
    g->GetNavigation()->SetAdvanceDirection(adTopBottom);
    EXPECT_EQ(g->NextAdvanceCell(2, 8), TPoint(-1, -1));
}

} // namespace
