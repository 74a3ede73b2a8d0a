// Real scroll messages: the hint names the row or column the dragged thumb
// reaches, goes at the end of the scroll, and a synchronous grid follows the
// thumb.
#include "DataGridSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

TEST(ScrollHints, ThumbTrackNamesTheRowAndColumn)
{
    TShownGrid<> g(40, 100);
    const int visibleRows = g->GetVisibleRowCount();
    const int visibleCols = g->GetVisibleColCount();
    struct Case {
        TScrollHintType type;
        UINT msg;
        int pos;
        const wchar_t* expected;  // null: no hint
    };
    const String lastRow = L"Row : " + IntToStr(100 - visibleRows);
    const String midRow = L"Row : " + IntToStr(MulDiv(64, 100 - visibleRows - 1, 127) + 1);
    const String lastCol = L"Col : " + IntToStr(40 - visibleCols);
    const Case cases[] = {
        {shVertical, WM_VSCROLL, 127, lastRow.c_str()},
        {shBoth, WM_VSCROLL, 64, midRow.c_str()},
        {shHorizontal, WM_VSCROLL, 127, nullptr},
        {shHorizontal, WM_HSCROLL, 127, lastCol.c_str()},
        {shNone, WM_HSCROLL, 127, nullptr},
    };
    for (const Case& c : cases) {
        g->SetScrollHints(c.type);
        SendMessageW(g->GetHandle(), c.msg, MAKEWPARAM(SB_THUMBTRACK, c.pos), 0);
        THTMLHintWindow* hint = g->GetScrollHintWindow();
        if (c.expected) {
            ASSERT_NE(hint, nullptr) << c.type;
            EXPECT_EQ(g->GetScrollHintText(), c.expected);
            EXPECT_TRUE(IsWindowVisible(hint->GetHandle()));
            SendMessageW(g->GetHandle(), c.msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
            EXPECT_EQ(g->GetScrollHintWindow(), nullptr) << "hidden at the end";
        } else {
            EXPECT_EQ(hint, nullptr) << c.type;
        }
    }

    // The event may reword the hint.
    g->SetScrollHints(shVertical);
    g->OnScrollHint = [](TObject*, int ARow, String& Hint) { Hint = L"at " + IntToStr(ARow); };
    SendMessageW(g->GetHandle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 127), 0);
    EXPECT_EQ(g->GetScrollHintText(), L"at " + IntToStr(100 - visibleRows));
    SendMessageW(g->GetHandle(), WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

TEST(ScrollHints, SynchronousScrollingFollowsTheThumb)
{
    TShownGrid<> g(5, 100);
    const int last = 100 - g->GetVisibleRowCount();
    g->SetScrollSynch(true);
    SendMessageW(g->GetHandle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 127), 0);
    EXPECT_EQ(g->GetTopRow(), last);
    SendMessageW(g->GetHandle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
    EXPECT_EQ(g->GetTopRow(), 1);
}
