// Check list boxes: check states follow their items and the mouse and keys.
#include <gtest/gtest.h>
#include "CheckLst.h"
#include "VclTestSupport.h"

using namespace vcl_test;

namespace {

TEST(CheckListBox, StatesFollowItemsWindowsAndClicks)
{
    auto* form = New<TForm>(nullptr);
    auto* list = New<TCheckListBox>(form);
    list->SetBounds(10, 10, 200, 150);
    list->SetParent(form);
    list->GetItems()->Add(L"C$");
    list->GetItems()->Add(L"D$");
    list->SetChecked(1, true);
    int checks = 0;
    list->OnClickCheck = [&](TObject*) { ++checks; };
    form->Show();
    Pump();
    EXPECT_FALSE(list->GetChecked(0));
    EXPECT_TRUE(list->GetChecked(1));

    // States move with their items.
    list->GetItems()->Insert(0, L"ADMIN$");
    EXPECT_TRUE(list->GetChecked(2));
    list->GetItems()->Delete(0);
    EXPECT_TRUE(list->GetChecked(1));

    // A click in the box toggles; a click on the text only selects.
    TRect first = list->ItemRect(0);
    SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.left + 5, first.top + 3));
    SendMessageW(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(first.left + 5, first.top + 3));
    EXPECT_TRUE(list->GetChecked(0));
    SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.left + 120, first.top + 3));
    SendMessageW(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(first.left + 120, first.top + 3));
    EXPECT_TRUE(list->GetChecked(0));
    EXPECT_EQ(checks, 1);

    // Space toggles the selected item; disabled items do not toggle.
    list->SetItemIndex(1);
    SendMessageW(list->Handle(), WM_CHAR, L' ', 1);
    EXPECT_FALSE(list->GetChecked(1));
    list->SetItemEnabled(1, false);
    SendMessageW(list->Handle(), WM_CHAR, L' ', 1);
    EXPECT_FALSE(list->GetChecked(1));

    // A new window (sorting) keeps the states.
    list->SetSorted(true);
    EXPECT_EQ(list->GetItems()->Get(0), L"C$");
    EXPECT_TRUE(list->GetChecked(0));
    EXPECT_FALSE(list->GetItemEnabled(1));
    EXPECT_THROW(list->GetChecked(5), EListError);
    form->Free();
    Pump();
}

} // namespace
