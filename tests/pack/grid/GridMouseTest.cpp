// The grid under real mouse messages: header clicks sort and cycle through
// the directions, a border drag sizes a column without sorting, and a
// press on a data row under disjunct row selection marks rows.
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
