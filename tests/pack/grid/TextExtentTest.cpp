// Measuring cell texts as they are painted (plain, multi-line, marked-up,
// rich, rotated), the hint window that keeps to its monitor, and the balloon
// tooltip's answer to a real text request.
#include "DataGridSupport.h"
#include "AdvGridHints.h"
#include "GdiHandles.h"
#include <commctrl.h>
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// What the grid's font gives a plain line.
SIZE PlainExtent(TAdvStringGrid* grid, const String& text)
{
    TMemoryDC dc;
    const TSelectObject font(dc.Get(), grid->GetFont()->GetHandle());
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

} // namespace

TEST(TextExtent, RotatedTextTakesItsBoundingBox)
{
    struct Case {
        int angle;
        TSize expected;
    };
    // 100 x 20: at 45 degrees both projections add (70 + 14) and 12 spare.
    const Case cases[] = {{0, {112, 32}}, {90, {32, 112}}, {45, {96, 96}}, {-90, {32, 112}}, {180, {112, 32}}};
    for (const Case& c : cases) {
        const TSize size = RotatedTextExtent({100, 20}, c.angle);
        EXPECT_EQ(size.cx, c.expected.cx) << c.angle;
        EXPECT_EQ(size.cy, c.expected.cy) << c.angle;
    }
}

TEST(TextExtent, PlainMultiLineAndRotatedCells)
{
    TFilledGrid<> g(3, 3);
    g->SetCells(1, 1, L"Measured text");
    const SIZE plain = PlainExtent(g.grid, L"Measured text");
    const SIZE gh = PlainExtent(g.grid, L"gh");
    TSize size = g->GetCellTextSize(1, 1, false, false);
    EXPECT_EQ(size.cx, plain.cx);
    EXPECT_EQ(size.cy, gh.cy);

    // Lines count only in multi-line cells; the widest line gives the width.
    g->SetCells(1, 1, L"ab\r\nlonger line");
    g->SetMultilineCells(true);
    size = g->GetCellTextSize(1, 1, false, false);
    EXPECT_EQ(size.cx, PlainExtent(g.grid, L"longer line").cx);
    EXPECT_EQ(size.cy, 2 * gh.cy);

    // Turned a quarter, width and height swap and both get 12 spare.
    g->SetRotated(2, 1, 90);
    g->SetCells(2, 1, L"Measured text");
    size = g->GetCellTextSize(2, 1, false, false);
    EXPECT_EQ(size.cx, gh.cy + 12);
    EXPECT_EQ(size.cy, plain.cx + 12);

    g->SetCells(1, 2, L"");
    size = g->GetCellTextSize(1, 2, true, false);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
}

TEST(TextExtent, WrappedHeightWithinTheCellAndTheEditorsLastLine)
{
    TShownGrid<> g(3, 3);
    g->SetColWidths(1, 60);
    g->SetCells(1, 1, L"one two three four five six seven");
    const int line = PlainExtent(g.grid, L"gh").cy;
    const TSize wrapped = g->GetCellTextSize(1, 1, true, false);
    EXPECT_GE(wrapped.cy, 3 * line) << "words wrap within the cell's width";
    EXPECT_LE(wrapped.cx, 60);
    const TSize narrower = g->GetCellTextSize(1, 1, true, true);
    EXPECT_GE(narrower.cy, wrapped.cy) << "an editor button leaves less room";

    // While the cell is edited, an empty last line counts.
    g->SetOptions(g->GetOptions() + goEditing);
    g->SetCells(1, 2, L"a");
    g->FocusCell(1, 2);
    g->SetEditorMode(true);
    ASSERT_NE(g->InplaceEditor(), nullptr);
    g->InplaceEditor()->SetText(L"a\r\n");
    EXPECT_EQ(g->GetCellTextSize(1, 2, true, false).cy, 2 * line);
    g->SetEditorMode(false);
}

TEST(TextExtent, MarkedUpAndRichTexts)
{
    TShownGrid<> g(3, 3);
    g->SetColWidths(1, 200);
    g->SetCells(1, 1, L"<b>one</b>");
    g->SetCells(1, 2, L"<b>one</b><br>two");
    const TSize one = g->GetCellTextSize(1, 1, false, false);
    const TSize two = g->GetCellTextSize(1, 2, false, false);
    EXPECT_GT(one.cx, 2);
    EXPECT_GE(two.cy - 2, 2 * (one.cy - 2) - 2) << "a line break doubles the height";

    g->SetCells(2, 1, L"{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs16 Rich}");
    g->SetCells(2, 2, L"{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs48 Rich}");
    const TSize small = g->GetCellTextSize(2, 1, false, false);
    EXPECT_GT(small.cy, 4) << "rich text measures through the hidden rich edit";
}

TEST(TextExtent, AutoSizedColumnFitsTheMeasuredText)
{
    TFilledGrid<> g(3, 4);
    g->SetCells(1, 2, L"a rather long cell text");
    g->AutoSizeCol(1, 0);
    const int need = g->GetCellTextSize(1, 2, false, false).cx;
    EXPECT_EQ(g->GetColWidths(1), need + g->GetTotalXOffset() + 2 * g->GetGridLineWidth() + 2);
}

TEST(HintWindow, StaysTwoPixelsInsideTheMonitor)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
    const RECT screen = monitor.rcMonitor;
    TOwned<THTMLHintWindow> hint(New<THTMLHintWindow>(nullptr));

    hint->ActivateHint({screen.right - 20, 10, screen.right, 30}, L"A hint that passes the edge");
    RECT r{};
    GetWindowRect(hint->GetHandle(), &r);
    EXPECT_EQ(r.right, screen.right - 2);
    EXPECT_EQ(r.right - r.left, hint->GetTextWidth() + 16);
    EXPECT_TRUE(IsWindowVisible(hint->GetHandle()));

    hint->ActivateHint({10, screen.bottom - 5, 20, screen.bottom}, L"line<br>below");
    GetWindowRect(hint->GetHandle(), &r);
    EXPECT_EQ(r.bottom, screen.bottom - 2);
    EXPECT_EQ(r.bottom - r.top, hint->GetTextHeight() + 4);
    EXPECT_GT(hint->GetTextHeight(), 0);

    EXPECT_EQ(GetWindowLongW(hint->GetHandle(), GWL_STYLE) & WS_BORDER, 0);
}

TEST(Balloon, LongCellTextIsCutForTheTooltip)
{
    TShownGrid<> g(3, 3);
    g->GetBalloon()->SetEnable(true);
    ASSERT_NE(g->GetBalloonWindow(), nullptr);
    g->SetCells(1, 1, L"\r\n" + String(3000, L'x'));
    const TRect cell = g->CellRect(1, 1);
    POINT p{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(g->GetHandle(), &p);
    SetCursorPos(p.x, p.y);

    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = g->GetBalloonWindow();
    info.hdr.code = TTN_NEEDTEXTW;
    SendMessageW(g->GetHandle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    const String text = info.lpszText;
    EXPECT_EQ(text.size(), 2048u);
    EXPECT_EQ(text.substr(0, 2045), String(2045, L'x')) << "leading breaks dropped";
    EXPECT_EQ(text.substr(2045), L"...");
    EXPECT_EQ(g->GetBalloonTitle(), L" ");
    EXPECT_EQ(g->GetLastBalloonCell().x, 1);
    EXPECT_EQ(g->GetLastBalloonCell().y, 1);

    // The cell's own balloon and the event have the last word.
    g->AddBalloon(2, 1, L"Title", L"Own\ttext", biWarning);
    const TRect other = g->CellRect(2, 1);
    p = {(other.left + other.right) / 2, (other.top + other.bottom) / 2};
    ClientToScreen(g->GetHandle(), &p);
    SetCursorPos(p.x, p.y);
    int seenCol = -1;
    g->OnCellBalloon = [&](TObject*, int ACol, int, TBalloonIcon& Icon, String& Text, String&) {
        seenCol = ACol;
        EXPECT_EQ(Icon, biWarning);
        Text += L"!";
    };
    info = {};
    info.hdr.hwndFrom = g->GetBalloonWindow();
    info.hdr.code = TTN_NEEDTEXTW;
    SendMessageW(g->GetHandle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(seenCol, 2);
    EXPECT_EQ(String(info.lpszText), L"Own text!");
    EXPECT_EQ(g->GetBalloonTitle(), L"Title");
}
