// Scroll boxes: the range follows the children, the bars and the wheel
// move them.
#include <gtest/gtest.h>
#include "Forms.h"
#include "VclTestSupport.h"

using namespace vcl_test;

namespace {

TEST(ScrollBox, RangeFollowsTheChildrenAndScrollingMovesThem)
{
    auto* form = New<TForm>(nullptr);
    form->SetBounds(100, 100, 400, 300);
    auto* box = New<TScrollBox>(form);
    box->SetBounds(10, 10, 200, 150);
    box->SetBorderStyle(bsNone);
    box->SetParent(form);
    TBox* lowest = NewBox(box, alNone, 50, 40);
    lowest->SetBounds(20, 400, 50, 40);
    TBox* topmost = NewBox(box, alNone, 50, 40);
    topmost->SetBounds(20, 10, 50, 40);
    form->Show();
    Pump();

    TControlScrollBar* vert = box->GetVertScrollBar();
    EXPECT_EQ(vert->GetRange(), 440);
    EXPECT_TRUE(vert->IsScrollBarVisible());
    EXPECT_FALSE(box->GetHorzScrollBar()->IsScrollBarVisible());
    EXPECT_TRUE(GetWindowLongW(box->Handle(), GWL_STYLE) & WS_VSCROLL);

    SendMessageW(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(vert->GetPosition(), vert->GetIncrement());
    EXPECT_EQ(topmost->GetTop(), 10 - vert->GetIncrement());
    SendMessageW(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(vert->GetPosition(), 440 - box->GetClientHeight());
    EXPECT_EQ(lowest->GetTop() + lowest->GetHeight(), box->GetClientHeight());
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), vert->GetPosition());

    // Bringing a control into view scrolls just enough.
    box->ScrollInView(topmost);
    EXPECT_EQ(topmost->GetTop(), 0);
    // The wheel scrolls when nothing inside takes it.
    int before = vert->GetPosition();
    SendMessageW(box->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_GT(vert->GetPosition(), before);
    form->Free();
    Pump();
}

} // namespace
