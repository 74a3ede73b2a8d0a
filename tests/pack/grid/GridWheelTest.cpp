// The grid's window procedure through real messages: the wheel with its own
// row step, Ctrl+wheel zoom, the parent's veto and mouse-over activation,
// middle-button panning, the registered editor messages and the balloon
// tooltip.
#include "AdvGrid.h"
#include "DataGridSupport.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// A form that answers the grid's question to its parent about the wheel.
struct TVetoForm : TForm {
    using TForm::TForm;
    LRESULT answer = 0;
    int asked = 0;
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == 0xB043) {
            ++asked;
            Message.Result = answer;
            return;
        }
        TForm::WndProc(Message);
    }
};

struct Wheel : testing::Test {
    TShownGrid<TAdvStringGrid, TVetoForm> shown{5, 40};
    TVetoForm* form = shown.form;
    TAdvStringGrid* grid = shown.grid;
    void SetUp() override
    {
        grid->GetMouseActions()->SetWheelIncrement(1);
        grid->FocusCell(1, 5);
    }

    // Notches towards the user are positive here: they move down the grid.
    void Turn(int notches, WPARAM keys = 0, POINT at = {-1, -1})
    {
        RECT r{};
        GetWindowRect(grid->GetHandle(), &r);
        if (at.x < 0)
            at = {r.left + 60, r.top + 60};
        SendMessageW(grid->GetHandle(), WM_MOUSEWHEEL, MAKEWPARAM(keys, static_cast<WORD>(-WHEEL_DELTA * notches)),
                     MAKELPARAM(at.x, at.y));
    }
};

} // namespace

TEST_F(Wheel, EachNotchMovesTheCurrentRowByTheIncrementAndStopsAtTheEnd)
{
    Turn(1);
    EXPECT_EQ(grid->GetRow(), 6);
    Turn(-1);
    Turn(-1);
    EXPECT_EQ(grid->GetRow(), 4);
    grid->GetMouseActions()->SetWheelIncrement(3);
    Turn(1);
    EXPECT_EQ(grid->GetRow(), 7);

    grid->GetMouseActions()->SetWheelIncrement(1);
    grid->FocusCell(1, 39);
    Turn(1);
    EXPECT_EQ(grid->GetRow(), 39);
    grid->FocusCell(1, 1);
    Turn(-1);
    EXPECT_EQ(grid->GetRow(), 1) << "never into the fixed rows";
}

TEST_F(Wheel, WithoutAnIncrementTheSystemsLinesPerNotchApply)
{
    grid->GetMouseActions()->SetWheelIncrement(0);
    Turn(1);
    EXPECT_EQ(grid->GetRow(), 5 + grid->GetWheelScrollLines());
}

TEST_F(Wheel, ScrollingMovesTheViewAndKeepsTheCurrentRow)
{
    grid->GetMouseActions()->SetWheelAction(waScroll);
    Turn(1);
    Turn(1);
    EXPECT_EQ(grid->GetTopRow(), 3);
    EXPECT_EQ(grid->GetRow(), 5);
    Turn(-5);
    EXPECT_EQ(grid->GetTopRow(), 2) << "a message is one step of the increment, whatever its delta";
    Turn(-1);
    Turn(-1);
    EXPECT_EQ(grid->GetTopRow(), 1) << "never above the fixed rows";
}

TEST_F(Wheel, ARefusedRowIsSteppedOver)
{
    grid->OnSelectCell = [](TObject*, int, int r, bool& can) { can = r != 6; };
    Turn(1);
    EXPECT_EQ(grid->GetRow(), 7);
}

TEST_F(Wheel, CtrlZoomsWhenIntelliZoomIsOnAndScrollsWhenOff)
{
    const int width = grid->GetColWidths(2);
    int zooms = 0;
    grid->OnIntelliZoom = [&](TObject*) { ++zooms; };
    Turn(-1, MK_CONTROL);
    EXPECT_EQ(grid->GetRow(), 5);
    EXPECT_EQ(zooms, 1);
    EXPECT_EQ(grid->GetZoomFactor(), grid->GetWheelScrollLines());
    EXPECT_EQ(grid->GetColWidths(2), width + grid->GetWheelScrollLines());

    grid->SetIntelliZoom(false);
    Turn(1, MK_CONTROL);
    EXPECT_EQ(grid->GetRow(), 6);
    EXPECT_EQ(zooms, 1);
}

TEST_F(Wheel, MouseOverActivationIgnoresTheWheelOutsideTheGrid)
{
    grid->GetMouseActions()->SetWheelActive(waMouseOver);
    RECT r{};
    GetWindowRect(grid->GetHandle(), &r);
    Turn(1, 0, {r.right + 10, r.top + 10});
    EXPECT_EQ(grid->GetRow(), 5);
    Turn(1, 0, {r.left + 30, r.top + 30});
    EXPECT_EQ(grid->GetRow(), 6);
}

TEST_F(Wheel, TheParentMayTakeTheWheel)
{
    form->answer = 1;
    Turn(1);
    EXPECT_EQ(grid->GetRow(), 5);
    EXPECT_EQ(form->asked, 1);
    form->answer = 0;
    Turn(1);
    EXPECT_EQ(grid->GetRow(), 6);
}

TEST_F(Wheel, TheWheelEventsAndTheSwitchOff)
{
    std::vector<std::string> events;
    grid->OnMouseWheelDown = [&](TObject*, TShiftState, POINT, bool&) { events.push_back("down"); };
    grid->OnMouseWheelUp = [&](TObject*, TShiftState, POINT, bool&) { events.push_back("up"); };
    std::vector<int> selections;
    grid->OnSelectionChanged = [&](TObject*, int, int t, int, int) { selections.push_back(t); };
    Turn(1);
    Turn(-1);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(selections, (std::vector<int>{6, 5}));

    grid->SetEnableWheel(false);
    Turn(1);
    EXPECT_EQ(grid->GetRow(), 5);
}

TEST(Zoom, ColumnsAndRowsGrowWithinTwentyStepsAndHiddenOnesStayHidden)
{
    TShownGrid<> g(4, 5);
    g->SetColWidths(2, 0);
    const int width = g->GetColWidths(1);
    const int height = g->GetRowHeights(1);
    g->Zoom(5);
    EXPECT_EQ(g->GetZoomFactor(), 5);
    EXPECT_EQ(g->GetColWidths(1), width + 5);
    EXPECT_EQ(g->GetRowHeights(1), height + 5);
    EXPECT_EQ(g->GetColWidths(2), 0);
    g->Zoom(16);
    EXPECT_EQ(g->GetZoomFactor(), 5) << "beyond 20 nothing happens";
    EXPECT_EQ(g->GetColWidths(1), width + 5);
    g->Zoom(-25);
    EXPECT_EQ(g->GetZoomFactor(), -20);
}

TEST(Panning, TheMiddleButtonPansVerticallyUntilAnyPressOrKey)
{
    TShownGrid<> g(5, 40);
    g->FocusCell(1, 5);
    const HWND wnd = g->GetHandle();
    const LPARAM anchor = MAKELPARAM(100, 100);
    SendMessageW(wnd, WM_MBUTTONDOWN, MK_MBUTTON, anchor);
    ASSERT_TRUE(g->IsPanning());
    EXPECT_EQ(GetCapture(), wnd);

    POINT saved{};
    GetCursorPos(&saved);
    auto tickWithMouseAt = [&](int dx, int dy) {
        POINT p{100 + dx, 100 + dy};
        ClientToScreen(wnd, &p);
        SetCursorPos(p.x, p.y);
        SendMessageW(wnd, WM_TIMER, 999, 0);
    };
    tickWithMouseAt(0, 40);
    EXPECT_EQ(g->GetPanCursor(), 8001);
    EXPECT_EQ(g->GetRow(), 6);
    tickWithMouseAt(40, 40);
    EXPECT_EQ(g->GetPanCursor(), 8001) << "vertical panning never goes sideways";
    EXPECT_EQ(g->GetCol(), 1);
    tickWithMouseAt(-40, -40);
    EXPECT_EQ(g->GetPanCursor(), 8004);
    EXPECT_EQ(g->GetRow(), 6);
    tickWithMouseAt(2, 3);
    EXPECT_EQ(g->GetPanCursor(), 8000);

    SendMessageW(wnd, WM_KEYDOWN, VK_SHIFT, 1);
    EXPECT_FALSE(g->IsPanning());
    EXPECT_NE(GetCapture(), wnd);
    SetCursorPos(saved.x, saved.y);

    g->SetIntelliPan(ipNone);
    SendMessageW(wnd, WM_MBUTTONDOWN, MK_MBUTTON, anchor);
    EXPECT_FALSE(g->IsPanning());
}

TEST(EditorMessages, ShowAndDoneArriveThroughTheRegisteredMessages)
{
    TShownGrid<> g(4, 6);
    g->SetOptions(g->GetOptions() + goEditing);
    g->FocusCell(2, 3);
    const UINT show = RegisterWindowMessageW(L"GridEditShow");
    const UINT done = RegisterWindowMessageW(L"GridEditDone");
    EXPECT_EQ(show, TAdvStringGrid::GridEditShowMessage());
    SendMessageW(g->GetHandle(), show, 0, 0);
    EXPECT_TRUE(g->GetEditorMode());
    ASSERT_NE(g->GetCellEditor(), nullptr);

    std::vector<std::pair<int, int>> ended;
    g->OnEditCellDone = [&](TObject*, int c, int r) { ended.emplace_back(c, r); };
    g->GetMouseActions()->SetEditOnDblClickOnly(true);
    SendMessageW(g->GetHandle(), done, 2, 3);
    EXPECT_EQ(ended, (std::vector<std::pair<int, int>>{{2, 3}}));
    EXPECT_FALSE(g->GetEditorMode());
    EXPECT_FALSE(g->GetOptions().Contains(goEditing)) << "double click only: editing is off again";
    EXPECT_EQ(g->GetCellEditor(), nullptr);
}

TEST(Balloon, EnablingMakesTheTooltipWindowAndDisablingRemovesIt)
{
    TShownGrid<> g(3, 4);
    g->GetBalloon()->SetInitialDelay(123);
    g->GetBalloon()->SetEnable(true);
    const HWND tip = g->GetBalloonWindow();
    ASSERT_NE(tip, nullptr);
    wchar_t cls[64] = {};
    GetClassNameW(tip, cls, 64);
    EXPECT_EQ(_wcsicmp(cls, L"tooltips_class32"), 0);
    EXPECT_EQ(GetWindowLongPtrW(tip, GWL_STYLE) & 0x43, 0x43);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 123);

    g->GetBalloon()->SetEnable(false);
    EXPECT_EQ(g->GetBalloonWindow(), nullptr);
    EXPECT_FALSE(IsWindow(tip));
}

TEST(EditorMessages, WithShowEditProcessTheCellFollowsTheTyping)
{
    TShownGrid<> g(4, 6);
    g->SetOptions(g->GetOptions() + goEditing);
    g->FocusCell(2, 3);
    g->ShowInplaceEdit();
    const HWND edit = g->InplaceEditor()->GetHandle();
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, L'a', 1);
    EXPECT_EQ(g->GetCells(2, 3), CellName(2, 3)) << "by default the cell waits for the edit to end";
    g->SetShowEditProcess(true);
    SendMessageW(edit, WM_CHAR, L'b', 1);
    EXPECT_EQ(g->GetCells(2, 3), L"ab");
}

TEST(CellControls, ControlsInCellsFollowTheirCellsAndHideWhenScrolledAway)
{
    TShownGrid<> g(4, 60);
    auto* edit = New<TEdit>(g.grid);
    edit->SetParent(g.grid);
    g->GetCellProperties(2, 5)->SetControl(edit);
    g->CellControlsUpdate(true);
    ASSERT_EQ(g->GetControlList()->Count(), 1);
    TRect cell = g->TStringGrid::CellRect(2, 5);
    EXPECT_TRUE(edit->GetVisible());
    EXPECT_EQ(edit->GetLeft(), cell.left);
    EXPECT_EQ(edit->GetTop(), cell.top);
    EXPECT_EQ(edit->GetWidth(), cell.Width() - 1);
    EXPECT_EQ(edit->GetHeight(), cell.Height() - 1);

    // A scroll takes the control along, and away with its cell.
    g->SetTopRow(3);
    cell = g->TStringGrid::CellRect(2, 5);
    EXPECT_EQ(edit->GetTop(), cell.top);
    g->SetTopRow(20);
    EXPECT_FALSE(edit->GetVisible());
    g->SetTopRow(1);
    EXPECT_TRUE(edit->GetVisible());
    g->HideColumn(2);
    g->CellControlsUpdate(false);
    EXPECT_FALSE(edit->GetVisible()) << "its column is hidden";
}

TEST(SyncGrid, AFollowingGridScrollsAlong)
{
    TShownGrid<> g(20, 60);
    TOwned<TAdvStringGrid> other(New<TAdvStringGrid>(nullptr));
    other->SetParent(g.form);
    other->SetBounds(0, 300, 600, 90);
    other->SetColCount(20);
    other->SetRowCount(60);
    g->GetSyncGrid()->SetGrid(other.get());
    g->GetSyncGrid()->SetScrollVertical(true);
    g->SetTopRow(12);
    EXPECT_EQ(other->GetTopRow(), 12);
    EXPECT_EQ(other->GetLeftCol(), 1) << "horizontal scrolling not followed";
    g->GetSyncGrid()->SetScrollHorizontal(true);
    g->SetLeftCol(5);
    EXPECT_EQ(other->GetLeftCol(), 5);
}

TEST(SelectionSnapshot, AOneCellRangeGivesAFormOneCellInSizeAndTranslucent)
{
    TShownGrid<> g(4, 6);
    TOwned<TForm> form(g->SelectionToForm({1, 1, 1, 1}));
    const TRect cell = g->TStringGrid::CellRect(1, 1);
    EXPECT_EQ(form->GetClientWidth(), cell.Width() + 1);
    EXPECT_EQ(form->GetClientHeight(), cell.Height() + 1);
    EXPECT_TRUE(form->GetAlphaBlend());
    EXPECT_EQ(form->GetAlphaBlendValue(), 192);
    EXPECT_EQ(form->GetBorderStyle(), bsNone);
    EXPECT_FALSE(form->GetVisible()) << "the caller shows it";
}

TEST(EditorMessages, EndingAnEditWithAKeyMovesOnAndMayAppendARow)
{
    TShownGrid<> g(4, 6);
    g->SetOptions(g->GetOptions() + goEditing);
    g->FocusCell(2, 4);
    g->ShowInplaceEdit();
    g->DoneInplaceEdit(VK_DOWN, {});
    EXPECT_FALSE(g->GetEditorMode());
    EXPECT_FALSE(g->IsEditing());
    EXPECT_EQ(g->GetRow(), 5);
    g->ShowInplaceEdit();
    g->DoneInplaceEdit(VK_DOWN, {});
    EXPECT_EQ(g->GetRowCount(), 6) << "no new row unless asked";
    g->GetNavigation()->SetAppendOnArrowDown(true);
    g->ShowInplaceEdit();
    g->DoneInplaceEdit(VK_DOWN, {});
    EXPECT_EQ(g->GetRowCount(), 7);
    EXPECT_EQ(g->GetRow(), 6);
    g->ShowInplaceEdit();
    g->DoneInplaceEdit(VK_RETURN, {});
    EXPECT_EQ(g->GetRow(), 6) << "Enter moves nothing here";
    EXPECT_TRUE(g->Focused());
}
