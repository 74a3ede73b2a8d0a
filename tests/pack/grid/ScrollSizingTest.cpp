// Stretching columns, the borders a drag may size, the dialog codes, the
// scroll bars (flat, proportional, slim, in a cell) and the timed scrolls,
// through real scroll, mouse and size messages.
#include "DataGridSupport.h"
#include "AdvGridOverlays.h"
#include "PlatformProbe.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <commctrl.h>
#include <cmath>
#include <map>
#include <string>

using namespace datagrid_test;
using testing_support::PumpMessages;

namespace {

// Where the columns end: every column takes its width and one line.
int ColumnsEnd(TAdvStringGrid* g)
{
    int end = 0;
    for (int c = 0; c < g->GetColCount(); ++c)
        end += g->GetColWidths(c) + g->GetGridLineWidth();
    return end;
}

// Pumps until Done holds or a generous number of rounds has passed; the
// rounds only bound a hang, no result depends on their count.
template <class F>
void PumpUntil(F Done)
{
    for (int i = 0; i < 2000 && !Done(); ++i) {
        PumpMessages();
        Sleep(2);
    }
}

} // namespace

TEST(ColumnStretch, ColumnsFillTheWidthAndBadIndexesAreRefused)
{
    TShownGrid<> g(10, 5);
    g->GetColumnSize()->SetStretch(true);

    // StretchAll: equal shares, the remainder one pixel each from the left.
    g->GetColumnSize()->SetStretchAll(true);
    g->ApplyColumnStretch(-1, 655);
    EXPECT_EQ(g->GetColWidths(0), 64) << "the fixed column keeps its width";
    for (int c = 1; c < 10; ++c)
        EXPECT_EQ(g->GetColWidths(c), c <= 5 ? 65 : 64) << c;
    EXPECT_EQ(ColumnsEnd(g.grid), 655);

    // One column takes what the others leave, and no less than nothing.
    g->GetColumnSize()->SetStretchAll(false);
    g->ApplyColumnStretch(3, 900);
    EXPECT_EQ(ColumnsEnd(g.grid), 900);
    EXPECT_GT(g->GetColWidths(3), 64);

    g->SetColWidths(3, 64);
    for (int bad : {-5, -2, 10, 11})
        EXPECT_THROW(g->ApplyColumnStretch(bad, -1), Exception) << bad;
    EXPECT_NO_THROW(g->ApplyColumnStretch(9, -1));
    EXPECT_EQ(ColumnsEnd(g.grid), g->GetClientWidth());

    // The only column of a grid gets the client width; a width of nothing
    // leaves it at nothing rather than below.
    TShownGrid<> one(1, 3);
    one->StretchColumns();
    EXPECT_EQ(ColumnsEnd(one.grid), one->GetClientWidth());
    one->ApplyColumnStretch(0, 0);
    EXPECT_EQ(one->GetColWidths(0), 0);
}

TEST(ColumnStretch, AStaleColumnFromASizeMessageStretchesTheLastOne)
{
    TShownGrid<> g(5, 5);
    g->GetColumnSize()->SetStretchColumn(8);  // set while the grid had more columns
    g->GetColumnSize()->SetStretch(true);
    // A real resize of the window: the size message must not raise.
    g->SetWidth(520);
    PumpMessages();
    EXPECT_EQ(ColumnsEnd(g.grid), g->GetClientWidth());
    EXPECT_GT(g->GetColWidths(4), 64) << "the last column took the room";
    // A width change of another column stretches again.
    g->SetColWidths(1, 30);
    EXPECT_EQ(ColumnsEnd(g.grid), g->GetClientWidth());
}

TEST(GridSizing, BordersThatADragSizes)
{
    TShownGrid<> g(6, 6);
    struct Case {
        const char* name;
        bool colSizing, rowSizing;
        int col, row;
        int dx, dy;  // from the cell's top-left; negative: from its right or bottom
        bool expected;
    };
    const Case cases[] = {
        {"left edge of a header cell", true, false, 2, 0, 1, 10, true},
        {"right edge of a header cell", true, false, 2, 0, -2, 10, true},
        {"middle of a header cell", true, false, 2, 0, 30, 10, false},
        {"first normal row still sizes columns", true, false, 2, 1, 1, 10, true},
        {"deeper rows do not", true, false, 2, 3, 1, 10, false},
        {"columns off", false, false, 2, 0, 1, 10, false},
        {"top of a fixed column's cell", false, true, 0, 3, 30, 2, true},
        {"bottom of a fixed column's cell", false, true, 0, 3, 30, -3, true},
        {"middle of a fixed column's cell", false, true, 0, 3, 30, 10, false},
        {"first normal column still sizes rows", false, true, 1, 3, 30, 1, true},
        {"deeper columns do not", false, true, 3, 3, 30, 1, false},
    };
    for (const Case& c : cases) {
        TGridOptions options = g->GetOptions() - goColSizing - goRowSizing;
        if (c.colSizing)
            options << goColSizing;
        if (c.rowSizing)
            options << goRowSizing;
        g->SetOptions(options);
        const TRect r = g->CellRect(c.col, c.row);
        const int x = c.dx >= 0 ? r.left + c.dx : r.right + c.dx;
        const int y = c.dy >= 0 ? r.top + c.dy : r.bottom + c.dy;
        EXPECT_EQ(g->IsOnSizingBorder(x, y), c.expected) << c.name;
    }
    EXPECT_FALSE(g->IsOnSizingBorder(g->GetClientWidth() - 1, g->GetClientHeight() - 1)) << "outside the cells";
}

TEST(GridSizing, DialogCodes)
{
    TShownGrid<> g(4, 4);
    struct Case {
        const char* name;
        bool editing, rowSelect, tabs, autoGoto, ctrl;
        bool chars, tab;
    };
    const Case cases[] = {
        {"editable grid", true, false, false, false, false, true, false},
        {"read-only grid takes characters", false, false, false, false, false, true, false},
        {"row select without the option", true, true, false, false, false, false, false},
        {"row select with auto goto", true, true, false, true, false, true, false},
        {"tabs", true, false, true, false, false, true, true},
        {"tabs with Ctrl go to the dialog", true, false, true, false, true, true, false},
    };
    BYTE keys[256]{};
    for (const Case& c : cases) {
        TGridOptions options = g->GetOptions() - goEditing - goRowSelect - goTabs;
        if (c.editing)
            options << goEditing;
        if (c.rowSelect)
            options << goRowSelect;
        if (c.tabs)
            options << goTabs;
        g->SetOptions(options);
        g->GetNavigation()->SetAutoGotoWhenSorted(c.autoGoto);
        GetKeyboardState(keys);
        keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
        SetKeyboardState(keys);
        const LRESULT code = SendMessageW(g->GetHandle(), WM_GETDLGCODE, 0, 0);
        EXPECT_EQ((code & DLGC_WANTCHARS) != 0, c.chars) << c.name;
        EXPECT_EQ((code & DLGC_WANTTAB) != 0, c.tab) << c.name;
        EXPECT_TRUE(code & DLGC_WANTARROWS) << c.name;
    }
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

TEST(GridSizing, SizingOneRowWithTheMouseScalesTheOthers)
{
    TShownGrid<> g(4, 8);
    g->SetOptions(g->GetOptions() << goRowSizing);
    g->GetMouseActions()->SetAllRowSize(true);
    g->SetRowHeights(0, 30);
    int ended = -1;
    g->OnEndRowSize = [&](TObject*, int ARow) { ended = ARow; };
    // Drag the bottom border of row 2 in the fixed column 10 pixels down.
    const TRect r = g->CellRect(0, 2);
    const int x = (r.left + r.right) / 2;
    const int y = r.bottom;
    SendMessageW(g->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(g->GetHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y + 11));
    SendMessageW(g->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y + 11));
    EXPECT_EQ(g->GetRowHeights(2), 33);
    EXPECT_EQ(ended, 2);
    EXPECT_EQ(g->GetRowHeights(0), 30) << "fixed rows keep their height";
    for (int row : {1, 3, 7})
        EXPECT_EQ(g->GetRowHeights(row), 33) << row;
    EXPECT_EQ(g->GetDefaultRowHeight(), 33);
}

TEST(GridSizing, TheColumnSizeEventMayRefuseADrag)
{
    TShownGrid<> g(4, 4);
    g->SetOptions(g->GetOptions() << goColSizing);
    int asked = -1;
    g->OnColumnSize = [&](TObject*, int ACol, bool& Allow) {
        asked = ACol;
        Allow = false;
    };
    const TRect r = g->CellRect(1, 0);
    SendMessageW(g->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right, 5));
    SendMessageW(g->GetHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(r.right + 20, 5));
    SendMessageW(g->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(r.right + 20, 5));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(g->GetColWidths(1), 64) << "refused: no sizing";
}

// --- scroll bars -----------------------------------------------------------------------------

TEST(ScrollBars, ProportionalThumbOfAKnownLayout)
{
    TShownGrid<> g(5, 100);
    ASSERT_EQ(g->GetHeight(), 300);
    ASSERT_EQ(g->GetDefaultRowHeight(), 22);
    g->SetScrollProportional(true);
    // Fixed 1 + 23, scrolling 1 + 99 x 23 = 2278 over a height of 300:
    // e = 276 / 2278, nMax = trunc((e + 127) / (1 - e)) = 144, page 18.
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(g->GetHandle(), SB_VERT, &si);
    EXPECT_EQ(si.nMax, 144);
    EXPECT_EQ(si.nPage, 18u);
    EXPECT_EQ(si.nPos, 0);
    // 50 rows down: A = 1 + 50 x 23 = 1151 of T - H = 1978, x 128 = 74.
    SendMessageW(g->GetHandle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
    g->SetTopRow(51);
    GetScrollInfo(g->GetHandle(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, 74);

    // Off again: the normal bar, no page.
    g->SetScrollProportional(false);
    TShownGrid<> fits(5, 5);
    fits->SetScrollProportional(true);
    EXPECT_FALSE(GetWindowLongW(fits->GetHandle(), GWL_STYLE) & WS_VSCROLL) << "all rows fit: no thumb to size";
}

namespace {

// A stand-in for the flat scroll bar entry points that notes each call.
struct TFlatCalls {
    std::vector<std::string> names;
    std::map<UINT, INT_PTR> props;
};
TFlatCalls* FlatCalls = nullptr;

BOOL WINAPI FakeInit(HWND)
{
    FlatCalls->names.push_back("InitializeFlatSB");
    return TRUE;
}
HRESULT WINAPI FakeUninit(HWND)
{
    FlatCalls->names.push_back("UninitializeFlatSB");
    return S_OK;
}
BOOL WINAPI FakeSetProp(HWND, UINT Index, INT_PTR Value, BOOL)
{
    FlatCalls->props[Index] = Value;
    return TRUE;
}
BOOL WINAPI FakeShow(HWND, int, BOOL)
{
    FlatCalls->names.push_back("FlatSB_ShowScrollBar");
    return TRUE;
}
int WINAPI FakeSetInfo(HWND, int, LPSCROLLINFO, BOOL)
{
    FlatCalls->names.push_back("FlatSB_SetScrollInfo");
    return 0;
}

FARPROC FakeEntry(const char* Name)
{
    const std::string name = Name;
    if (name == "InitializeFlatSB")
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeInit));
    if (name == "UninitializeFlatSB")
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeUninit));
    if (name == "FlatSB_SetScrollProp")
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeSetProp));
    if (name == "FlatSB_ShowScrollBar")
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeShow));
    if (name == "FlatSB_SetScrollInfo")
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(FakeSetInfo));
    return nullptr;
}

FARPROC MissingEntry(const char*) { return nullptr; }

struct TProbeReset {
    ~TProbeReset()
    {
        ResetPlatformProbe();
        FlatCalls = nullptr;
    }
};

} // namespace

TEST(ScrollBars, FlatBarsTakeTheirStyleColourAndWidth)
{
    const TProbeReset reset;
    TFlatCalls calls;
    FlatCalls = &calls;
    PlatformProbe().ComCtlEntry = FakeEntry;
    TShownGrid<> g(20, 50);
    g->SetScrollColor(0x112233);
    g->SetScrollWidth(9);
    EXPECT_TRUE(calls.props.empty()) << "nothing while the bars are not flat";
    g->SetScrollType(ssFlat);
    EXPECT_TRUE(g->GetFlatScrollBarsOn());
    EXPECT_EQ(calls.names.front(), "InitializeFlatSB");
    const std::map<UINT, INT_PTR> flat = {
        {WSB_PROP_VSTYLE, FSB_FLAT_MODE},   {WSB_PROP_HSTYLE, FSB_FLAT_MODE}, {WSB_PROP_VBKGCOLOR, 0x112233},
        {WSB_PROP_HBKGCOLOR, 0x112233}, {WSB_PROP_CXVSCROLL, 9},          {WSB_PROP_CYHSCROLL, 9},
    };
    EXPECT_EQ(calls.props, flat);
    EXPECT_NE(std::find(calls.names.begin(), calls.names.end(), "FlatSB_ShowScrollBar"), calls.names.end());

    g->SetScrollType(ssEncarta);
    EXPECT_EQ(calls.props[WSB_PROP_VSTYLE], FSB_ENCARTA_MODE);
    g->SetScrollType(ssNormal);
    EXPECT_FALSE(g->GetFlatScrollBarsOn());
    EXPECT_EQ(calls.names.back(), "UninitializeFlatSB");

    // A system without the entry point keeps normal bars.
    PlatformProbe().ComCtlEntry = MissingEntry;
    calls.props.clear();
    g->SetScrollType(ssFlat);
    EXPECT_FALSE(g->GetFlatScrollBarsOn());
    EXPECT_TRUE(calls.props.empty());
}

TEST(ScrollBars, RealFlatBarsAndTheirThumbPosition)
{
    TShownGrid<> g(20, 50);
    const int plainLeft = [&] {
        SendMessageW(g->GetHandle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 64), 0);
        const int left = g->GetLeftCol();
        g->SetLeftCol(1);
        return left;
    }();
    // This system's comctl32 sets flat bars up (and refuses their properties).
    g->SetScrollType(ssFlat);
    ASSERT_TRUE(g->GetFlatScrollBarsOn());
    // The flat thumb reports over the room beside it: spread back to 0 .. 127.
    const int visible = g->GetVisibleColCount();
    const int v = static_cast<int>(std::lround(visible * 128.0 / 20));
    const int reported = static_cast<int>(std::lround(64 * (128.0 - v) / 127));
    SendMessageW(g->GetHandle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, reported), 0);
    EXPECT_NEAR(g->GetLeftCol(), plainLeft, 1);

}

TEST(ScrollBars, InCellScrollBarMovesByLinesAndPages)
{
    TShownGrid<> g(4, 6);
    g->AddScrollBar(1, 1, false);
    TScrollBar* bar = g->GetCellScrollBar();
    ASSERT_NE(bar, nullptr);
    bar->SetParent(g.grid);
    bar->SetKind(sbVertical);
    bar->SetParams(0, 0, 150);
    g->SetCellScrollBarCell(1, 1);
    std::vector<int> reported;
    g->OnScrollCell = [&](TObject*, int ACol, int ARow, int Position, int Min, int Max) {
        EXPECT_EQ(ACol, 1);
        EXPECT_EQ(ARow, 1);
        EXPECT_EQ(Min, 0);
        EXPECT_EQ(Max, 150);
        reported.push_back(Position);
    };
    const LPARAM from = reinterpret_cast<LPARAM>(bar->GetHandle());
    const int topRow = g->GetTopRow();
    for (int code : {SB_LINEUP, SB_LINEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_LINEDOWN, SB_PAGEUP})
        SendMessageW(g->GetHandle(), WM_VSCROLL, MAKEWPARAM(code, 0), from);
    SendMessageW(g->GetHandle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 77), from);
    EXPECT_EQ(reported, (std::vector<int>{10, 110, 150, 50, 77})) << "clamped at the ends; no change, no event";
    EXPECT_EQ(g->GetScrollPosition(1, 1), 77);
    EXPECT_EQ(g->GetTopRow(), topRow) << "the grid itself does not scroll";
}

TEST(ScrollBars, SlimScrollerPagesAndDragsThroughTheMouse)
{
    TShownGrid<> g(4, 60);
    g->SetScrollType(ssMetro);
    TScrollControl* bar = g->GetVScrollControl();
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(g->GetHScrollControl(), nullptr);
    EXPECT_EQ(g->GetScrollBars(), ssNone);
    EXPECT_EQ(bar->GetWidth(), 6);
    const HWND h = bar->GetHandle();
    const int last = 60 - g->GetVisibleRowCount();

    TRect thumb = bar->ThumbRect();
    EXPECT_GE(thumb.bottom - thumb.top, 20);
    // Below the thumb pages on, and on the last page stays there.
    for (int i = 0; i < 5; ++i) {
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, bar->GetHeight() - 2));
        SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(2, bar->GetHeight() - 2));
    }
    EXPECT_EQ(g->GetTopRow(), last);
    // Above it pages back, never into the fixed row.
    for (int i = 0; i < 5; ++i) {
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 1));
        SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(2, 1));
    }
    EXPECT_EQ(g->GetTopRow(), 1);
    // The thumb drags the view.
    thumb = bar->ThumbRect();
    const int y = (thumb.top + thumb.bottom) / 2;
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, y));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, y + 40));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(2, y + 40));
    EXPECT_GT(g->GetTopRow(), 1);
    EXPECT_LE(g->GetTopRow(), last);

    // A track no longer than the header row drags nothing.
    g->SetTopRow(1);
    g->SetRowHeights(0, bar->GetHeight() + 10);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, bar->GetHeight() - 1));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 0));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(2, 0));
    EXPECT_GE(g->GetTopRow(), 1);

    // Every row showing: no thumb, and back to the system's bars.
    TShownGrid<> fits(3, 4);
    fits->SetScrollType(ssMetro);
    EXPECT_EQ(fits->GetVScrollControl()->ThumbRect().bottom, 0);
    fits->SetScrollType(ssNormal);
    EXPECT_EQ(fits->GetVScrollControl(), nullptr);
    EXPECT_EQ(fits->GetScrollBars(), ssBoth);
}

// --- timed scrolls -----------------------------------------------------------------------------

TEST(TimedScroll, FlickScrollsTenRowsAndStopsAtTheEnd)
{
    TShownGrid<> g(4, 100);
    g->SetTopRow(20);
    g->StartFlickScroll(true, 1);
    ASSERT_NE(g->GetFlickTimer(), nullptr);
    EXPECT_EQ(g->GetFlickTimer()->GetInterval(), 10u);
    PumpUntil([&] { return !g->GetFlickTimer()->GetEnabled(); });
    EXPECT_EQ(g->GetTopRow(), 30);

    g->StartFlickScroll(true, -1);
    g->SetTopRow(5);
    PumpUntil([&] { return !g->GetFlickTimer()->GetEnabled(); });
    EXPECT_EQ(g->GetTopRow(), 1) << "never into the fixed row";
}

TEST(TimedScroll, DraggingNearTheTopScrollsUpOnATimerOfTheGrid)
{
    auto* form = New<TForm>(nullptr);
    form->SetBounds(0, 0, 640, 400);
    auto* grid = New<TAdvStringGrid>(form);
    grid->SetParent(form);
    grid->SetBounds(0, 0, 600, 300);
    grid->SetRowCount(100);
    form->Show();
    grid->GetDragScrollOptions()->SetActive(true);
    grid->GetDragScrollOptions()->GetDelays()->SetInitialDelay(20);
    grid->GetDragScrollOptions()->GetDelays()->SetRepeatDelay(5);
    grid->SetTopRow(6);
    const int formComponents = form->ComponentCount();

    bool accept = false;
    grid->DragOver(nullptr, 100, 5, dsDragEnter, accept);
    TTimer* timer = grid->GetDragScrollTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->GetOwner(), grid) << "freed with the grid";
    EXPECT_EQ(timer->GetInterval(), 20u);
    PumpUntil([&] { return grid->GetTopRow() == 1; });
    EXPECT_EQ(grid->GetTopRow(), 1);
    EXPECT_EQ(timer->GetInterval(), 5u) << "repeats at the repeat delay";
    PumpMessages();
    EXPECT_EQ(grid->GetTopRow(), 1) << "never into the fixed row";

    // The middle of the grid stops it; leaving does too.
    grid->DragOver(nullptr, 100, 150, dsDragMove, accept);
    EXPECT_EQ(grid->GetDragScrollTimer(), nullptr);
    grid->DragOver(nullptr, 100, 295, dsDragMove, accept);
    ASSERT_NE(grid->GetDragScrollTimer(), nullptr);
    PumpUntil([&] { return grid->GetTopRow() > 3; });
    EXPECT_GT(grid->GetTopRow(), 3) << "near the bottom it scrolls down";

    // Freed mid-drag: the timer goes with it and ticks no more.
    grid->Free();
    EXPECT_EQ(form->ComponentCount(), formComponents - 1);
    for (int i = 0; i < 20; ++i) {
        PumpMessages();
        Sleep(2);
    }
    form->Free();
}
