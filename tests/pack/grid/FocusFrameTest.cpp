// The focus frame round the current cell.
#include "DataGridSupport.h"
#include "AdvGridOverlays.h"
#include "GdiHandles.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

TEST(Overlays, FocusFrameRingsTheCellAndHidesWhenScrolledOut)
{
    TShownGrid<> g(4, 30);
    g->SetColWidths(1, 100);
    g->SetRowHeights(1, 20);
    g->FocusCell(1, 1);
    const TRect cell = g->CellRect(1, 1);
    g->ShowFocusWindow(cell);
    TGridFocusWindow* frame = g->GetFocusWindow();
    ASSERT_NE(frame, nullptr);
    HWND h = frame->GetHandle();
    EXPECT_TRUE(IsWindowVisible(h));
    RECT r{};
    GetWindowRect(h, &r);
    POINT origin{cell.left, cell.top};
    ClientToScreen(g->GetHandle(), &origin);
    EXPECT_EQ(r.left, origin.x - 4);
    EXPECT_EQ(r.top, origin.y - 4);
    EXPECT_EQ(r.right - r.left, 109);
    EXPECT_EQ(r.bottom - r.top, 29);
    EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);

    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(h, region.Get()), ERROR);
    EXPECT_TRUE(PtInRegion(region.Get(), 1, 1));
    EXPECT_TRUE(PtInRegion(region.Get(), 106, 26)) << "5 pixels at the right and bottom";
    EXPECT_FALSE(PtInRegion(region.Get(), 50, 14)) << "the cell itself stays clear";

    // The form moves: the frame follows.
    g.form->SetLeft(g.form->GetLeft() + 30);
    g->MoveFocusWindow();
    RECT moved{};
    GetWindowRect(h, &moved);
    EXPECT_EQ(moved.left, r.left + 30);

    g->SetTopRow(10);
    g->MoveFocusWindow();
    EXPECT_FALSE(IsWindowVisible(h)) << "the cell scrolled out";
}
