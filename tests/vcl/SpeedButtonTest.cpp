// Speed buttons clicked through their parent's window, alone and in groups.
#include <gtest/gtest.h>
#include "Buttons.h"
#include "VclTestSupport.h"

using namespace vcl_test;

namespace {

struct SpeedButtonFixture : testing::Test {
    TForm* form = nullptr;
    void SetUp() override
    {
        form = New<TForm>(nullptr);
        form->SetBounds(90, 90, 300, 200);
    }
    void TearDown() override
    {
        form->Free();
        Pump();
    }
    TSpeedButton* Make(int left, int group)
    {
        auto* b = New<TSpeedButton>(form);
        b->SetBounds(left, 10, 23, 22);
        b->SetGroupIndex(group);
        b->SetParent(form);
        return b;
    }
    void ClickAt(TControl* c, int dx = 5, int dy = 5)
    {
        LPARAM at = MAKELPARAM(c->GetLeft() + dx, c->GetTop() + dy);
        SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(form->Handle(), WM_LBUTTONUP, 0, at);
    }
};

TEST_F(SpeedButtonFixture, PlainButtonClicksAndComesBackUp)
{
    TSpeedButton* b = Make(10, 0);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    ClickAt(b);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(b->State(), bsUp);
    b->SetDown(true);  // no group: cannot stay down
    EXPECT_FALSE(b->GetDown());
    // Pressed, then released outside: no click.
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    EXPECT_EQ(b->State(), bsDown);
    SendMessageW(form->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 150));
    EXPECT_EQ(b->State(), bsUp);
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
    EXPECT_EQ(clicks, 1);
}

TEST_F(SpeedButtonFixture, OneButtonOfAGroupIsDown)
{
    TSpeedButton* a = Make(10, 1);
    TSpeedButton* b = Make(40, 1);
    TSpeedButton* other = Make(70, 2);
    other->SetDown(true);
    form->Show();
    ClickAt(a);
    EXPECT_TRUE(a->GetDown());
    ClickAt(b);
    EXPECT_TRUE(b->GetDown());
    EXPECT_FALSE(a->GetDown());
    EXPECT_TRUE(other->GetDown());
    // Without AllowAllUp the down button stays down when clicked again.
    ClickAt(b);
    EXPECT_TRUE(b->GetDown());
    // AllowAllUp spreads through the group.
    a->SetAllowAllUp(true);
    EXPECT_TRUE(b->GetAllowAllUp());
    ClickAt(b);
    EXPECT_FALSE(b->GetDown());
    EXPECT_FALSE(a->GetDown());
}

} // namespace
