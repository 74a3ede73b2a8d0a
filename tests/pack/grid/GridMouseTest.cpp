// The grid under real mouse messages: header clicks sort and cycle through
// the directions, a border drag sizes a column without sorting, a press on
// a data row under disjunct row selection marks rows; column moves take the
// sort and the current column along, a column dragged by its picture drops
// where it is let go, a border let go outside keeps its width, clicks mark
// single cells, and a release reports a changed selection once.
#include "DataGridSupport.h"
#include "SysUtils.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// A shown grid of one header row and five data rows, column 1 holding
// "c", "e", "a", "d", "b".
struct TMouseGrid : TShownGrid<> {
    std::vector<int> clickSorts;
    TMouseGrid() : TShownGrid<>(4, 6)
    {
        const wchar_t* values[] = {L"c", L"e", L"a", L"d", L"b"};
        for (int r = 1; r <= 5; ++r)
            grid->SetCells(1, r, values[r - 1]);
        grid->SetOptions(grid->GetOptions() << goColSizing << goRangeSelect);
        grid->GetSortSettings()->SetShow(true);
        grid->OnClickSort = [this](TObject*, int col) { clickSorts.push_back(col); };
    }
    std::vector<String> Column1() const
    {
        std::vector<String> texts;
        for (int r = 1; r < grid->GetRowCount(); ++r)
            texts.push_back(grid->GetCells(1, r));
        return texts;
    }
    POINT Centre(int col, int row) const
    {
        const TRect r = grid->CellRect(col, row);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Send(UINT msg, POINT p, WPARAM keys) const
    {
        SendMessageW(grid->GetHandle(), msg, keys, MAKELPARAM(p.x, p.y));
    }
    void Click(POINT p, WPARAM keys = 0) const
    {
        Send(WM_LBUTTONDOWN, p, MK_LBUTTON | keys);
        Send(WM_LBUTTONUP, p, keys);
        Application->ProcessMessages();
    }
};

// Holds a key down in the thread's keyboard state for the scope.
struct TKeyDown {
    BYTE saved[256]{};
    explicit TKeyDown(BYTE key)
    {
        GetKeyboardState(saved);
        BYTE state[256];
        std::copy(std::begin(saved), std::end(saved), state);
        state[key] = 0x80;
        SetKeyboardState(state);
    }
    ~TKeyDown() { SetKeyboardState(saved); }
};

const std::vector<String> Ascending = {L"a", L"b", L"c", L"d", L"e"};
const std::vector<String> Descending = {L"e", L"d", L"c", L"b", L"a"};
const std::vector<String> Original = {L"c", L"e", L"a", L"d", L"b"};

} // namespace

TEST(GridMouse, HeaderClicksCycleThroughTheDirections)
{
    for (bool undo : {true, false}) {
        SCOPED_TRACE(undo ? "with undo" : "without undo");
        TMouseGrid g;
        g->GetSortSettings()->SetUndoSort(undo);
        const POINT header = g.Centre(1, 0);
        g.Click(header);
        EXPECT_EQ(g.Column1(), Ascending);
        g.Click(header);
        EXPECT_EQ(g.Column1(), Descending);
        g.Click(header);
        EXPECT_EQ(g.Column1(), undo ? Original : Ascending);
        EXPECT_EQ(g->GetSortSettings()->GetColumn(), undo ? -1 : 1);
        g.Click(header);
        EXPECT_EQ(g.Column1(), undo ? Ascending : Descending);
        EXPECT_EQ(g.clickSorts, (undo ? std::vector<int>{1, 1, -1, 1} : std::vector<int>{1, 1, 1, 1}));
    }
}

TEST(GridMouse, AnotherHeaderStartsWithTheInitialDirection)
{
    TMouseGrid g;
    for (int r = 1; r <= 5; ++r)
        g->SetCells(2, r, IntToStr(r));
    g->GetSortSettings()->SetInitSortDirection(sdDescending);
    g.Click(g.Centre(1, 0));
    EXPECT_EQ(g.Column1(), Descending);
    g.Click(g.Centre(2, 0));
    EXPECT_EQ(g->GetCells(2, 1), L"5");
    EXPECT_EQ(g->GetSortSettings()->GetDirection(), sdDescending);
}

TEST(GridMouse, NoSortWhereTheClickIsNoSortClick)
{
    struct Case {
        const char* name;
        std::function<void(TMouseGrid&)> arrange;
        std::function<void(TMouseGrid&)> click;
    };
    const Case cases[] = {
        {"sorting not shown", [](TMouseGrid& g) { g->GetSortSettings()->SetShow(false); },
         [](TMouseGrid& g) { g.Click(g.Centre(1, 0)); }},
        {"refused by the event",
         [](TMouseGrid& g) { g->OnCanSort = [](TObject*, int, bool& doSort) { doSort = false; }; },
         [](TMouseGrid& g) { g.Click(g.Centre(1, 0)); }},
        {"ignored column", [](TMouseGrid& g) { g->GetIgnoreColumns()->Add(1); },
         [](TMouseGrid& g) { g.Click(g.Centre(1, 0)); }},
        {"near a column border", [](TMouseGrid&) {},
         [](TMouseGrid& g) {
             const TRect r = g->CellRect(1, 0);
             g.Click({r.left + 2, (r.top + r.bottom) / 2});
         }},
        {"press on a data row, release on the header", [](TMouseGrid&) {},
         [](TMouseGrid& g) {
             g.Send(WM_LBUTTONDOWN, g.Centre(1, 2), MK_LBUTTON);
             g.Send(WM_LBUTTONUP, g.Centre(1, 0), 0);
         }},
        {"click on a data row", [](TMouseGrid&) {}, [](TMouseGrid& g) { g.Click(g.Centre(1, 2)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMouseGrid g;
        c.arrange(g);
        c.click(g);
        EXPECT_EQ(g.Column1(), Original);
        EXPECT_TRUE(g.clickSorts.empty());
    }
}

TEST(GridMouse, BorderDragSizesTheColumnAndDoesNotSort)
{
    TMouseGrid g;
    const TRect r = g->CellRect(1, 0);
    const int before = g->GetColWidths(1);
    const POINT border{r.right - 1, (r.top + r.bottom) / 2};
    const POINT dropped{border.x + 30, border.y};
    g.Send(WM_LBUTTONDOWN, border, MK_LBUTTON);
    g.Send(WM_MOUSEMOVE, dropped, MK_LBUTTON);
    g.Send(WM_LBUTTONUP, dropped, 0);
    Application->ProcessMessages();
    EXPECT_EQ(g->GetColWidths(1), before + 30);
    EXPECT_EQ(g.Column1(), Original);
    EXPECT_TRUE(g.clickSorts.empty());
}

TEST(GridMouse, PressOnADataRowUnderDisjunctRowSelect)
{
    TMouseGrid g;
    g->SetOptions(g->GetOptions() << goRowSelect);
    g->GetMouseActions()->SetDisjunctRowSelect(true);
    g->SetRowSelect(4, true);

    // A plain press clears every mark; the release marks the clicked row,
    // after the click event, which finds the row current and not yet marked.
    bool markedAtClick = true;
    int rowAtClick = -1;
    g->OnClick = [&](TObject*) {
        markedAtClick = g->GetRowSelect(2);
        rowAtClick = g->GetRow();
    };
    g.Send(WM_LBUTTONDOWN, g.Centre(1, 2), MK_LBUTTON);
    EXPECT_FALSE(g->GetRowSelect(4)) << "the press clears the marks";
    g.Send(WM_LBUTTONUP, g.Centre(1, 2), 0);
    EXPECT_TRUE(g->GetRowSelect(2));
    EXPECT_FALSE(g->GetRowSelect(4));
    EXPECT_EQ(rowAtClick, 2);
    EXPECT_FALSE(markedAtClick);
    g->OnClick = nullptr;

    // Ctrl adds a row; Ctrl on a marked row removes its mark at the release.
    {
        TKeyDown ctrl(VK_CONTROL);
        g.Click(g.Centre(1, 4), MK_CONTROL);
        EXPECT_TRUE(g->GetRowSelect(2));
        EXPECT_TRUE(g->GetRowSelect(4));
        g.Send(WM_LBUTTONDOWN, g.Centre(1, 2), MK_LBUTTON | MK_CONTROL);
        EXPECT_TRUE(g->GetRowSelect(2)) << "marked until the release";
        g.Send(WM_LBUTTONUP, g.Centre(1, 2), MK_CONTROL);
        EXPECT_FALSE(g->GetRowSelect(2));
        EXPECT_TRUE(g->GetRowSelect(4));
    }
}

// --- releases: moves, sizing outside, the right button, marked cells ---------------------------

TEST(GridMouse, ColumnMovesTakeTheSortAlong)
{
    struct Case {
        const char* name;
        int from, to;
        int sortColumn, expected;
    };
    const Case cases[] = {
        {"2 to 5, sorted by 5", 2, 5, 5, 4}, {"2 to 5, sorted by 2", 2, 5, 2, 5}, {"2 to 5, sorted by 1", 2, 5, 1, 1},
        {"2 to 5, sorted by 6", 2, 5, 6, 6}, {"5 to 2, sorted by 2", 5, 2, 2, 3}, {"5 to 2, sorted by 3", 5, 2, 3, 4},
        {"5 to 2, sorted by 4", 5, 2, 4, 5}, {"5 to 2, sorted by 5", 5, 2, 5, 2}, {"unsorted stays so", 2, 5, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFilledGrid<> g(8, 4);
        g->GetSortSettings()->SetColumn(c.sortColumn);
        g->MoveColumn(c.from, c.to);
        EXPECT_EQ(g->GetSortSettings()->GetColumn(), c.expected);
    }

    // Every sort index follows; directions stay. Hidden columns count: the
    // indexes are real columns.
    TFilledGrid<> g(8, 4);
    g->GetSortSettings()->SetIndexShow(true);
    g->GetSortIndexes()->AddIndex(5, true);
    g->GetSortIndexes()->AddIndex(2, false);
    g->GetSortIndexes()->AddIndex(6, true);
    g->HideColumn(0);
    g->MoveColumn(1, 4);  // real column 2 to real position 5
    EXPECT_EQ(g->GetSortIndexes()->SaveToString(), L"u4;d5;u6");
    EXPECT_EQ(g->GetCells(5, 0), L"r0c2") << "the sort stays on the same data";
}

TEST(GridMouse, CurrentColumnFollowsEveryMoveOnce)
{
    TMouseGrid g;
    g->SetOptions(g->GetOptions() << goColMoving);
    g->FocusCell(1, 2);
    g->MoveColumn(1, 3);
    EXPECT_EQ(g->GetCol(), 3);

    // Dragged by its header: moved, the current column along, and no sort.
    g.Send(WM_LBUTTONDOWN, g.Centre(3, 0), MK_LBUTTON);
    g.Send(WM_MOUSEMOVE, g.Centre(2, 0), MK_LBUTTON);
    g.Send(WM_LBUTTONUP, g.Centre(2, 0), 0);
    EXPECT_EQ(g->GetCol(), 2);
    EXPECT_EQ(g->GetCells(2, 0), L"r0c1");
    EXPECT_TRUE(g.clickSorts.empty());
    EXPECT_EQ(g.Column1(), (std::vector<String>{L"r1c2", L"r2c2", L"r3c2", L"r4c2", L"r5c2"}));
}

TEST(GridMouse, DropOfAColumnDraggedByItsPicture)
{
    // The move handling shows the drag or no-drop cursor while a header is
    // dragged; the release drops it.
    struct Case {
        const char* name;
        TCursor cursor;
        std::vector<String> headers;
    };
    const Case cases[] = {
        {"dropped", crDrag, {L"r0c0", L"r0c2", L"r0c3", L"r0c1"}},
        {"not droppable there", crNoDrop, {L"r0c0", L"r0c1", L"r0c2", L"r0c3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMouseGrid g;
        g->SetOptions(g->GetOptions() << goColMoving);
        int mouseUps = 0;
        g->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++mouseUps; };
        g.Send(WM_LBUTTONDOWN, g.Centre(1, 0), MK_LBUTTON);
        Screen->SetCursor(c.cursor);
        // The right button does nothing while the column hangs on the pointer.
        g.Send(WM_RBUTTONUP, g.Centre(3, 0), MK_LBUTTON);
        EXPECT_EQ(mouseUps, 0);
        g.Send(WM_LBUTTONUP, g.Centre(3, 0), 0);
        EXPECT_EQ(Screen->GetCursor(), crDefault);
        Screen->SetCursor(crDefault);
        std::vector<String> headers;
        for (int col = 0; col < 4; ++col)
            headers.push_back(g->GetCells(col, 0));
        EXPECT_EQ(headers, c.headers);
        EXPECT_TRUE(g.clickSorts.empty());
        EXPECT_EQ(mouseUps, 1);
        EXPECT_EQ(g->GridState(), gsNormal);

        g.Send(WM_RBUTTONUP, g.Centre(3, 2), 0);
        EXPECT_EQ(mouseUps, 2) << "a right release at other times is the base grid's";
    }
}

TEST(GridMouse, BorderLetGoOutsideTheGridKeepsTheWidth)
{
    TMouseGrid g;
    const int before = g->GetColWidths(1);
    int mouseUps = 0;
    g->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++mouseUps; };
    const TRect r = g->CellRect(1, 0);
    const POINT border{r.right - 1, (r.top + r.bottom) / 2};
    const POINT outside{g->GetClientWidth() + 20, border.y};
    g.Send(WM_LBUTTONDOWN, border, MK_LBUTTON);
    g.Send(WM_MOUSEMOVE, outside, MK_LBUTTON);
    g.Send(WM_LBUTTONUP, outside, 0);
    EXPECT_EQ(g->GetColWidths(1), before);
    EXPECT_EQ(g->GridState(), gsNormal);
    EXPECT_EQ(mouseUps, 0);
    EXPECT_TRUE(g.clickSorts.empty());
}

TEST(GridMouse, MarkedCellsUnderDisjunctCellSelect)
{
    TMouseGrid g;
    g->GetMouseActions()->SetDisjunctCellSelect(true);
    auto marked = [&] {
        std::vector<std::pair<int, int>> cells;
        for (int row = 0; row < g->GetRowCount(); ++row)
            for (int col = 0; col < g->GetColCount(); ++col)
                if (g->IsSelected(col, row))
                    cells.push_back({col, row});
        return cells;
    };
    g.Click(g.Centre(2, 2));
    EXPECT_EQ(marked(), (std::vector<std::pair<int, int>>{{2, 2}}));
    {
        TKeyDown ctrl(VK_CONTROL);
        g.Click(g.Centre(3, 4), MK_CONTROL);
        EXPECT_EQ(marked(), (std::vector<std::pair<int, int>>{{2, 2}, {3, 4}}));
        g.Click(g.Centre(2, 2), MK_CONTROL);
        EXPECT_EQ(marked(), (std::vector<std::pair<int, int>>{{3, 4}}));
    }
    // A plain drag marks the cells it passed, and only those.
    g.Send(WM_LBUTTONDOWN, g.Centre(1, 1), MK_LBUTTON);
    g.Send(WM_MOUSEMOVE, g.Centre(2, 2), MK_LBUTTON);
    g.Send(WM_LBUTTONUP, g.Centre(2, 2), 0);
    EXPECT_EQ(marked(), (std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {1, 2}, {2, 2}}));

    // A cell the application refuses ends the release there.
    int mouseUps = 0;
    g->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++mouseUps; };
    g->OnSelectCell = [](TObject*, int col, int, bool& canSelect) { canSelect = col != 3; };
    g.Click(g.Centre(3, 3));
    EXPECT_TRUE(marked().empty()) << "the press cleared the marks";
    EXPECT_EQ(mouseUps, 0);
}

TEST(GridMouse, ReleaseReportsTheChangedSelectionOnce)
{
    TMouseGrid g;
    std::vector<TGridRect> changes;
    g->OnSelectionChanged = [&](TObject*, int l, int t, int r, int b) { changes.push_back({l, t, r, b}); };
    g.Send(WM_LBUTTONDOWN, g.Centre(1, 2), MK_LBUTTON);
    g.Send(WM_MOUSEMOVE, g.Centre(2, 4), MK_LBUTTON);
    g.Send(WM_LBUTTONUP, g.Centre(2, 4), 0);
    EXPECT_EQ(changes, (std::vector<TGridRect>{{1, 2, 2, 4}}));
    g.Click(g.Centre(2, 4));
    EXPECT_EQ(changes.size(), 2u);
    g.Click(g.Centre(2, 4));
    EXPECT_EQ(changes.size(), 2u) << "the same cell again changes nothing";
}
