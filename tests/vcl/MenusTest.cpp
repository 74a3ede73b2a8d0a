// Menus over real menu handles: the form's menu bar, commands, shortcuts
// and pop-up menus chosen from the keyboard.
#include <gtest/gtest.h>
#include "Menus.h"
#include "StdCtrls.h"
#include "VclTestSupport.h"

using namespace vcl_test;

namespace {

TEST(Menus, MenuBarCommandsStatesAndShortcuts)
{
    auto* form = New<TForm>(nullptr);
    auto* menu = New<TMainMenu>(form);
    std::vector<String> clicked;
    auto* file = NewItem(menu, L"&File", scNone, false, true, nullptr);
    menu->GetItems()->Add(file);
    auto* save = NewItem(menu, L"&Save", ShortCut('S', {ssCtrl}), false, true,
                         [&](TObject*) { clicked.push_back(L"save"); });
    file->Add(save);
    file->Add(NewLine(menu));
    auto* english = NewItem(menu, L"English", scNone, true, true, [&](TObject*) { clicked.push_back(L"en"); });
    auto* russian = NewItem(menu, L"Russian", scNone, false, true, [&](TObject*) { clicked.push_back(L"ru"); });
    english->SetRadioItem(true);
    russian->SetRadioItem(true);
    russian->SetAutoCheck(true);
    file->Add(english);
    file->Add(russian);
    form->SetMenu(menu);
    auto* edit = New<TEdit>(form);
    edit->SetParent(form);
    form->Show();
    Pump();

    HMENU bar = GetMenu(form->Handle());
    ASSERT_EQ(bar, menu->GetHandle());
    HMENU sub = GetSubMenu(bar, 0);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(GetMenuItemCount(sub), 4);
    EXPECT_TRUE(GetMenuState(sub, 2, MF_BYPOSITION) & MF_CHECKED);

    // The command the window gets when the item is chosen.
    SendMessageW(form->Handle(), WM_COMMAND, MAKEWPARAM(russian->Command(), 0), 0);
    EXPECT_EQ(clicked, (std::vector<String>{L"ru"}));
    EXPECT_TRUE(russian->GetChecked());
    EXPECT_FALSE(english->GetChecked());
    sub = GetSubMenu(GetMenu(form->Handle()), 0);
    EXPECT_TRUE(GetMenuState(sub, 3, MF_BYPOSITION) & MF_CHECKED);

    // Ctrl+S typed in the edit reaches the menu through the loop.
    edit->SetFocus();
    Pump();
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageW(edit->Handle(), WM_KEYDOWN, 'S', 1);
    Pump();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(clicked, (std::vector<String>{L"ru", L"save"}));
    save->SetEnabled(false);
    EXPECT_TRUE(GetMenuState(GetSubMenu(GetMenu(form->Handle()), 0), 0, MF_BYPOSITION) & MF_GRAYED);

    // A new window gets the bar again; a freed menu leaves the window.
    form->SetBorderStyle(bsSingle);
    EXPECT_EQ(GetMenu(form->Handle()), menu->GetHandle());
    EXPECT_TRUE(IsMenu(menu->GetHandle()));
    menu->Free();
    EXPECT_EQ(form->GetMenu(), nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), nullptr);
    form->Free();
    Pump();
}

// Picks the first item of the menu that is open, from the keyboard.
void CALLBACK ChooseFirst(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu))
        return;
    KillTimer(nullptr, id);
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}

TEST(Menus, ContextMenuOfAControlPopsUpAndRunsTheChosenItem)
{
    auto* form = New<TForm>(nullptr);
    auto* popup = New<TPopupMenu>(form);
    int chosen = 0;
    bool opened = false;
    popup->GetItems()->Add(NewItem(popup, L"Copy", scNone, false, true, [&](TObject*) { ++chosen; }));
    popup->OnPopup = [&](TObject*) { opened = true; };
    auto* list = New<TListBox>(form);
    list->SetPopupMenu(popup);
    list->SetParent(form);
    form->Show();
    Pump();
    SetTimer(nullptr, 0, 50, ChooseFirst);
    POINT at = list->ClientToScreen({10, 10});
    SendMessageW(list->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list->Handle()), MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(opened);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(popup->GetPopupComponent(), list);
    // The menu goes; the control forgets it.
    popup->Free();
    EXPECT_EQ(list->GetPopupMenu(), nullptr);
    form->Free();
    Pump();
}

} // namespace
