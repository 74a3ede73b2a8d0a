// Row and column state: counts that keep their fixed rows, the three
// selection models (the rectangle, row selection and disjunct row marks,
// driven by real mouse, key and wheel messages), disjunct columns, modified
// and enabled rows, partial repaints and the listeners of the grid.
#include "AdvGrid.h"
#include "DataGridSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// Holds Shift (and Ctrl) down in this thread's keyboard state meanwhile.
class THeldShift {
public:
    THeldShift()
    {
        GetKeyboardState(saved_);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = 0x80;
        SetKeyboardState(keys);
    }
    ~THeldShift() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256]{};
};

LPARAM CellPoint(TAdvStringGrid* grid, int c, int r)
{
    const TRect rect = grid->TStringGrid::CellRect(c, r);
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

void Key(TAdvStringGrid* grid, WPARAM vk)
{
    SendMessageW(grid->GetHandle(), WM_KEYDOWN, vk, 1);
    SendMessageW(grid->GetHandle(), WM_KEYUP, vk, 0xC0000001);
}

void Wheel(TAdvStringGrid* grid, int notches, WPARAM keys = 0)
{
    RECT r{};
    GetWindowRect(grid->GetHandle(), &r);
    SendMessageW(grid->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(-WHEEL_DELTA * notches)),
                 MAKELPARAM(r.left + 40, r.top + 40));
}

bool RepaintPending(TAdvStringGrid* grid)
{
    RECT r{};
    return GetUpdateRect(grid->GetHandle(), &r, FALSE) != FALSE;
}

} // namespace

TEST(RowColumnState, FixedRowAlwaysKeepsAFixedRowAndRestoresItWhenTheGridGrows)
{
    TFilledGrid<> g(4, 10);
    g->SetFixedRowAlways(true);
    g->SetRowCount(1);
    g->SetFixedRows(1);
    EXPECT_EQ(g->TStringGrid::GetFixedRows(), 0) << "clipped: one row cannot be all fixed";
    EXPECT_EQ(g->GetFixedRows(), 1);
    g->SetRowCount(10);
    EXPECT_EQ(g->TStringGrid::GetFixedRows(), 1);

    // Without the switch a grid may have no fixed row at all.
    g->SetFixedRowAlways(false);
    g->SetFixedRows(0);
    EXPECT_EQ(g->GetFixedRows(), 0);

    // Columns keep theirs the same way.
    g->SetFixedColAlways(true);
    g->SetColCount(1);
    g->SetFixedCols(1);
    EXPECT_EQ(g->TStringGrid::GetFixedCols(), 0);
    EXPECT_EQ(g->GetFixedCols(), 1);
    g->SetColCount(4);
    EXPECT_EQ(g->TStringGrid::GetFixedCols(), 1);
}

TEST(RowColumnState, RowCountBringsAParkedCurrentCellBackAndKeepsAnInsideOne)
{
    TShownGrid<> g(28, 28);
    g->FocusCell(0, 0);
    g->SetRowCount(29);
    EXPECT_EQ(g->GetCol(), 0);
    EXPECT_EQ(g->GetRow(), 0);

    g->ClearRowSelect();
    EXPECT_EQ(g->GetRow(), g->GetRowCount());
    g->SetRowCount(30);
    EXPECT_EQ(g->GetCol(), g->GetFixedCols());
    EXPECT_EQ(g->GetRow(), g->GetFixedRows());
}

TEST(RowColumnState, GrowingColumnsWithAHiddenOneShowsTheNewColumns)
{
    TFilledGrid<> g(3, 4);
    g->HideColumn(1);
    g->SetColCount(4);
    EXPECT_EQ(g->GetAllColCount(), 5);
    EXPECT_FALSE(g->GetVisibleCol(1));
    EXPECT_TRUE(g->GetVisibleCol(3));
    EXPECT_TRUE(g->GetVisibleCol(4));
}

TEST(RowColumnState, DisjunctRowMarksAskFirstAndReportAfter)
{
    TFilledGrid<> g(3, 10);
    g->GetMouseActions()->SetDisjunctRowSelect(true);
    std::vector<std::string> events;
    bool allow = true;
    g->OnRowDisjunctSelect = [&](TObject*, int row, bool state, bool& Allow) {
        events.push_back("ask " + std::to_string(row) + (state ? "+" : "-"));
        Allow = allow;
    };
    g->OnRowDisjunctSelected = [&](TObject*, int row) { events.push_back("done " + std::to_string(row)); };

    allow = false;
    g->SetRowSelect(5, true);
    EXPECT_FALSE(g->GetRowSelect(5));
    allow = true;
    g->SetRowSelect(5, true);
    g->SetRowSelect(5, true);  // already marked: no event at all
    g->SetRowSelect(7, true);
    g->SetRowSelect(2, true);
    g->SetRowSelect(7, false);
    EXPECT_EQ(events, (std::vector<std::string>{"ask 5+", "ask 5+", "done 5", "ask 7+", "done 7", "ask 2+", "done 2",
                                                "ask 7-", "done 7"}));
    EXPECT_TRUE(g->GetRowSelect(5));
    EXPECT_FALSE(g->GetRowSelect(7));
    EXPECT_EQ(g->GetRowSelectCount(), 2);
    EXPECT_EQ(g->GetSelectedRows()->GetStrValue(), L"5,2") << "in the order they were marked";

    events.clear();
    g->ClearDisjunctRowSelect();
    EXPECT_EQ(events, (std::vector<std::string>{"done 2", "done 5"}));
    EXPECT_EQ(g->GetSelectedRows()->Count(), 0);
}

TEST(RowColumnState, RowAndColumnMarksRefuseIndexesOutsideTheGrid)
{
    TFilledGrid<> g(3, 10);
    g->GetMouseActions()->SetDisjunctRowSelect(true);
    struct Case {
        const char* name;
        std::function<void()> call;
        const wchar_t* message;
    };
    const Case cases[] = {
        {"get row -1", [&] { g->GetRowSelect(-1); }, L"Invalid row -1 accessed"},
        {"get row 10", [&] { g->GetRowSelect(10); }, L"Invalid row 10 accessed"},
        {"set row -1", [&] { g->SetRowSelect(-1, true); }, L"Invalid row accessed"},
        {"set row 10", [&] { g->SetRowSelect(10, true); }, L"Invalid row accessed"},
        {"get column 3", [&] { g->GetColSelect(3); }, L"Invalid column accessed"},
        {"set column -1", [&] { g->SetColSelect(-1, true); }, L"Invalid column accessed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.call();
            ADD_FAILURE() << "no error";
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    EXPECT_EQ(g->GetRowSelectCount(), 0) << "nothing changed";
    // Persistent marks are kept by real row and are not range-checked.
    g->GetMouseActions()->SetRowSelectPersistent(true);
    EXPECT_FALSE(g->GetRowSelect(-1));
    EXPECT_FALSE(g->GetRowSelect(25));
}

TEST(RowColumnState, SelectRowsClipsToTheGridInEitherModel)
{
    TFilledGrid<> g(3, 10);
    g->SelectRows(8, 5);
    EXPECT_EQ(g->GetSelection(), (TGridRect{1, 8, 2, 9}));
    EXPECT_TRUE(g->GetRowSelect(9));
    EXPECT_FALSE(g->GetRowSelect(7));

    g->GetMouseActions()->SetDisjunctRowSelect(true);
    g->SelectRows(8, 5);
    g->SelectRows(2, 1);
    EXPECT_EQ(g->GetRowSelectCount(), 3);
    g->UnSelectRows(8, 1);
    EXPECT_EQ(g->GetSelectedRows()->GetStrValue(), L"9,2");

    g->ClearRowSelect();
    EXPECT_EQ(g->GetRowSelectCount(), 0);
    EXPECT_EQ(g->GetSelection(), (TGridRect{3, 10, 3, 10}));
}

TEST(RowColumnState, TheMouseMakesTheRectangleThatNormalSelectionAnswersFrom)
{
    TShownGrid<> g(5, 20);
    g->SetOptions(g->GetOptions() + goRangeSelect);
    const HWND wnd = g->GetHandle();
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, CellPoint(g.grid, 1, 2));
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, CellPoint(g.grid, 3, 5));
    SendMessageW(wnd, WM_LBUTTONUP, 0, CellPoint(g.grid, 3, 5));
    EXPECT_EQ(g->GetSelection(), (TGridRect{1, 2, 3, 5}));
    for (int r = 0; r < 8; ++r)
        EXPECT_EQ(g->GetRowSelect(r), r >= 2 && r <= 5) << "row " << r;
    EXPECT_EQ(g->GetColSelectCount(), 3);
    EXPECT_EQ(g->GetRowSelectCount(), 0) << "a count of rows only in row selection";
}

TEST(RowColumnState, KeysExtendARowSelection)
{
    TShownGrid<> g(5, 20);
    g->SetOptions(g->GetOptions() + goRowSelect + goRangeSelect);
    g->FocusCell(1, 3);
    {
        THeldShift shift;
        Key(g.grid, VK_DOWN);
        Key(g.grid, VK_DOWN);
    }
    EXPECT_EQ(g->GetRowSelectCount(), 3);
    EXPECT_TRUE(g->GetRowSelect(5));
    Key(g.grid, VK_DOWN);
    EXPECT_EQ(g->GetRowSelectCount(), 1);
}

TEST(RowColumnState, CtrlClicksMarkDisjunctRowsAndAPlainClickClearsThem)
{
    TShownGrid<> g(5, 20);
    g->GetMouseActions()->SetDisjunctRowSelect(true);
    const HWND wnd = g->GetHandle();
    auto click = [&](int row, bool ctrl) {
        BYTE saved[256];
        GetKeyboardState(saved);
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        const WPARAM mk = ctrl ? MK_CONTROL : 0;
        SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON | mk, CellPoint(g.grid, 2, row));
        SendMessageW(wnd, WM_LBUTTONUP, mk, CellPoint(g.grid, 2, row));
        SetKeyboardState(saved);
    };
    click(3, true);
    click(6, true);
    EXPECT_TRUE(g->GetRowSelect(3));
    EXPECT_TRUE(g->GetRowSelect(6));
    EXPECT_FALSE(g->GetRowSelect(4));
    EXPECT_EQ(g->GetRowSelectCount(), 2);
    click(8, false);
    EXPECT_FALSE(g->GetRowSelect(3));
    EXPECT_FALSE(g->GetRowSelect(6));
}

TEST(RowColumnState, TheWheelMovesTheDisjunctMarkWithTheCurrentRow)
{
    TShownGrid<> g(5, 20);
    g->GetMouseActions()->SetDisjunctRowSelect(true);
    g->GetMouseActions()->SetWheelIncrement(1);
    g->SetRowSelect(9, true);
    g->FocusCell(1, 3);
    Wheel(g.grid, 1);
    EXPECT_EQ(g->GetRow(), 4);
    EXPECT_FALSE(g->GetRowSelect(9)) << "moving the selection clears the other marks";
    EXPECT_TRUE(g->GetRowSelect(4));
    EXPECT_EQ(g->GetRowSelectCount(), 1);
}

TEST(RowColumnState, DisjunctColumnsAndTheirRectangleCounterpart)
{
    TFilledGrid<> g(8, 5);
    g->SelectCols(2, 3);
    EXPECT_EQ(g->GetSelection(), (TGridRect{2, 1, 4, 4}));
    EXPECT_EQ(g->GetColSelectCount(), 3);

    g->GetMouseActions()->SetDisjunctColSelect(true);
    g->SelectCols(6, 5);  // runs past the last column: clipped
    g->SetColSelect(3, true);
    EXPECT_EQ(g->GetColSelectCount(), 3);
    EXPECT_TRUE(g->GetColSelect(7));
    g->UnSelectCols(6, 1);
    EXPECT_FALSE(g->GetColSelect(6));
    g->SelectionToColSelect(true);
    for (int c = 1; c < 8; ++c)
        EXPECT_EQ(g->GetColSelect(c), c >= 2 && c <= 4) << "column " << c;
    g->ClearColSelect();
    EXPECT_EQ(g->GetColSelectCount(), 0);
}

TEST(RowColumnState, ModifiedAndEnabledMarks)
{
    TShownGrid<> g(3, 10);
    EXPECT_FALSE(g->GetRowModified(50));
    g->SetRowModified(4, true);
    g->SetRowModified(6, true);
    g->SetRowModified(4, false);
    EXPECT_EQ(g->ModifiedRowCount(), 1);
    EXPECT_TRUE(g->GetRowModified(6));

    EXPECT_TRUE(g->GetRowEnabled(99)) << "rows never marked are enabled";
    g->FocusCell(1, 1);
    g->SetRowEnabled(2, false);
    g->SetRowEnabled(1, false);
    EXPECT_FALSE(g->GetRowEnabled(1));
    EXPECT_EQ(g->GetRow(), 3) << "the current row gives way to the first enabled one";
    g->SetRowEnabled(3, true);
    EXPECT_EQ(g->GetRow(), 3) << "enabling the current row keeps it";
}

TEST(RowColumnState, RepaintsLeaveCellsOutOfViewAlone)
{
    TShownGrid<> g(4, 200);
    g->SetTopRow(50);
    const HWND wnd = g->GetHandle();
    struct Case {
        const char* name;
        std::function<void()> repaint;
        bool pending;
    };
    const Case cases[] = {
        {"cell above the view", [&] { g->RepaintCell(1, 10); }, false},
        {"cell below the view", [&] { g->RepaintCell(1, 190); }, false},
        {"fixed cell", [&] { g->RepaintCell(1, 0); }, true},
        {"visible cell", [&] { g->RepaintCell(1, 52); }, true},
        {"row out of view", [&] { g->RepaintRow(5); }, false},
        {"visible row", [&] { g->RepaintRow(51); }, true},
        {"column", [&] { g->RepaintCol(2); }, true},
        {"negative rectangle", [&] { g->RepaintRect(TRect(-1, 0, 2, 2)); }, false},
        {"rectangle in view", [&] { g->RepaintRect(TRect(1, 51, 2, 52)); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ValidateRect(wnd, nullptr);
        c.repaint();
        EXPECT_EQ(RepaintPending(g.grid), c.pending);
    }
}

TEST(RowColumnState, SwapCellsExchangesTextsAndObjects)
{
    TFilledGrid<> g(3, 3);
    g->GetCellProperties(1, 1)->SetBrushColor(clRed);
    TObject* props = g->GetRawObject(1, 1);
    g->SwapCells({1, 1}, {2, 2});
    EXPECT_EQ(g->GetCells(1, 1), CellName(2, 2));
    EXPECT_EQ(g->GetCells(2, 2), CellName(1, 1));
    EXPECT_EQ(g->GetRawObject(2, 2), props);
    EXPECT_EQ(g->GetRawObject(1, 1), nullptr);
}

TEST(RowColumnState, ListenersAndNotifiers)
{
    TShownGrid<> g(3, 3);
    struct Listener : ITAdvStringGridSelect {};
    Listener first;
    Listener other;
    g->RegisterSelListener(&first);
    EXPECT_EQ(g->GetSelListener(), &first);
    g->UnRegisterSelListener(&other);
    EXPECT_EQ(g->GetSelListener(), nullptr) << "cleared whatever was passed";

    std::vector<std::string> calls;
    struct Notifier : TGridChangeNotifier {
        std::vector<std::string>* calls = nullptr;
        std::string name;
        using TGridChangeNotifier::TGridChangeNotifier;
        void CellsChanged(const TRect& R) override { calls->push_back(name + " " + std::to_string(R.top)); }
    };
    TOwned<Notifier> a(New<Notifier>(nullptr));
    TOwned<Notifier> b(New<Notifier>(nullptr));
    a->calls = b->calls = &calls;
    a->name = "a";
    b->name = "b";
    g->RegisterNotifier(b.get());
    g->RegisterNotifier(a.get());
    g->RegisterNotifier(b.get());
    g->OnCellsChanged = [&](TObject*, const TRect& R) { calls.push_back("event " + std::to_string(R.top)); };
    g->GotoCell(1, 2);
    g->ShowInplaceEdit();
    EXPECT_TRUE(g->ValidateCell(L"new"));
    EXPECT_EQ(calls, (std::vector<std::string>{"b 2", "a 2", "event 2"}));
    g->UnRegisterNotifier(b.get());
    calls.clear();
    g->ShowInplaceEdit();
    g->ValidateCell(L"newer");
    EXPECT_EQ(calls, (std::vector<std::string>{"a 2", "event 2"}));
}

TEST(RowColumnState, TheFooterRowTravelsWithTheEndOfTheGrid)
{
    TFilledGrid<> g(3, 5);
    g->GetFloatingFooter()->SetVisible(true);
    g->SetCells(1, 4, L"total");
    g->GetCellProperties(1, 4)->SetBrushColor(clYellow);
    TObject* props = g->GetRawObject(1, 4);
    g->SetRowCount(7);
    EXPECT_EQ(g->GetCells(1, 6), L"total");
    EXPECT_EQ(g->GetRawObject(1, 6), props) << "moved, not freed";
    EXPECT_EQ(g->GetCells(1, 4), L"");
    EXPECT_EQ(g->GetRawObject(1, 4), nullptr);
    EXPECT_EQ(g->GetCellProperties(1, 6)->GetBrushColor(), clYellow);
}
