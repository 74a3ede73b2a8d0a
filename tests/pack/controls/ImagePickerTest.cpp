// The image picker: the main window's language picker, its list entries,
// selection by the user and by program, and what it draws.
#include "ImagePicker.h"
#include "PackControlsTestSupport.h"
#include <variant>

using namespace pack_test;

namespace {

TEST(ImagePicker, NewPickerDefaults)
{
    TOwned<TImagePicker> picker(New<TImagePicker>(nullptr));
    EXPECT_EQ(picker->GetWidth(), 48);
    EXPECT_EQ(picker->GetStyle(), csOwnerDrawFixed);
    EXPECT_EQ(picker->GetDropHeight(), 200);
    EXPECT_EQ(picker->GetEditHeight(), 0);
    EXPECT_FALSE(picker->GetShowCaption());
    EXPECT_FALSE(picker->GetEtched());
    EXPECT_EQ(picker->GetImages(), nullptr);
    EXPECT_EQ(picker->GetItems()->Count(), 0);
    EXPECT_EQ(picker->GetVersion(), L"1.1.2.1");
    EXPECT_EQ(TImagePicker::GetDelimiter(), L'|');
    EXPECT_EQ(picker->Selection(), nullptr);
    TImagePickerItem* item = picker->GetItems()->Add();
    EXPECT_EQ(item->GetImageIndex(), -1);
    EXPECT_EQ(item->GetCaption(), L"");
    EXPECT_EQ(item->GetTag(), 0);
    EXPECT_EQ(item->GetDisplayName(), L"Item0");
}

// The language picker as the main window builds it: two flags of 41 x 32
// (red for Russian, blue for English), no captions.
class LanguagePicker : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        form->BeginLoading();
        flags = NewImageList(form, 41, 32, {clRed, clBlue});
        picker = New<TImagePicker>(form);
        picker->SetName(L"ImagePicker1");
        picker->SetBounds(100, 20, 69, 38);
        picker->GetItems()->Add()->SetImageIndex(0);
        picker->GetItems()->Add()->SetImageIndex(1);
        picker->SetImages(flags);
        picker->SetEditHeight(32);
        picker->SetItemHeight(32);
        picker->SetDropHeight(200);
        picker->SetEtched(true);
        picker->SetColor(clBtnFace);
        picker->SetItemIndex(0);
        picker->SetParent(form);
        picker->OnChange = [this](TObject* Sender) {
            EXPECT_EQ(Sender, picker);
            changes.push_back(picker->GetItemIndex());
        };
        form->EndLoading();
        ShowForm();
    }
    std::vector<String> Entries()
    {
        std::vector<String> texts;
        for (int i = 0; i < picker->TCustomComboBox::GetItems()->Count(); ++i)
            texts.push_back(picker->TCustomComboBox::GetItems()->Get(i));
        return texts;
    }
    TImageList* flags = nullptr;
    TImagePicker* picker = nullptr;
    std::vector<int> changes;
};

TEST_F(LanguagePicker, LoadsWithItsEntriesHeightsAndSelection)
{
    EXPECT_EQ(Entries(), (std::vector<String>{L"0||0", L"1||1"}));
    EXPECT_EQ(picker->GetItemIndex(), 0);
    EXPECT_EQ(picker->Selection(), picker->GetItems()->Items(0));
    // A selection field 32 high makes the box as high as the window has it.
    EXPECT_EQ(picker->GetHeight(), 38);
    EXPECT_EQ(SendMessageW(picker->Handle(), CB_GETITEMHEIGHT, 0, 0), 32);
    EXPECT_TRUE(picker->GetEtched());
    EXPECT_EQ(picker->GetColor(), clBtnFace);
    EXPECT_TRUE(changes.empty()) << "loading is no change of the user's";
}

TEST_F(LanguagePicker, EveryChangeOfTheUsersFiresOnChangeOnce)
{
    picker->SetFocus();
    Pump();
    PressKey(VK_DOWN);
    EXPECT_EQ(changes, (std::vector<int>{1}));
    PressKey(VK_DOWN);
    EXPECT_EQ(changes, (std::vector<int>{1})) << "already on the last item";
    PressKey(VK_UP);
    EXPECT_EQ(changes, (std::vector<int>{1, 0}));

    // Chosen with the mouse in the dropped list.
    picker->SetDroppedDown(true);
    Pump();
    RECT item{};
    ASSERT_NE(SendMessageW(picker->ListHandle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(picker->ListHandle(), &at);
    SetCursorPos(at.x, at.y);
    Pump();
    for (DWORD flag : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = flag;
        SendInput(1, &in, sizeof(in));
        Pump();
    }
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(changes, (std::vector<int>{1, 0, 1}));

    // Set by the program: selected, but no change of the user's.
    picker->SetItemIndex(0);
    EXPECT_EQ(picker->GetItemIndex(), 0);
    EXPECT_EQ(changes, (std::vector<int>{1, 0, 1}));
}

TEST_F(LanguagePicker, DroppedListIsDropHeightHigh)
{
    picker->SetDropHeight(120);
    picker->SetDroppedDown(true);
    Pump();
    RECT list{};
    GetWindowRect(picker->ListHandle(), &list);
    EXPECT_GT(list.bottom - list.top, 64) << "room for both flags";
    EXPECT_LE(list.bottom - list.top, 120);
    picker->SetDroppedDown(false);
    Pump();
}

TEST_F(LanguagePicker, SelectsByCaptionImageIndexAndTag)
{
    picker->GetItems()->Items(0)->SetCaption(L"Russian");
    picker->GetItems()->Items(1)->SetCaption(L"English");
    picker->GetItems()->Items(1)->SetTag(7);
    EXPECT_EQ(Entries(), (std::vector<String>{L"0|Russian|0", L"1|English|1"}));

    struct Step {
        const char* what;
        std::function<void()> select;
        int index;
    } steps[] = {
        {"image index 1", [&] { picker->SelectByImageIdx(1); }, 1},
        {"caption", [&] { picker->SelectByCaption(L"Russian"); }, 0},
        {"caption in another case", [&] { picker->SelectByCaption(L"english"); }, 0},
        {"tag", [&] { picker->SelectByTag(7); }, 1},
        {"unknown tag", [&] { picker->SelectByTag(3); }, 1},
        {"unknown image index", [&] { picker->SelectByImageIdx(5); }, 1},
    };
    for (const Step& s : steps) {
        s.select();
        EXPECT_EQ(picker->GetItemIndex(), s.index) << s.what;
        EXPECT_EQ(picker->Selection(), picker->GetItems()->Items(s.index)) << s.what;
    }
    EXPECT_TRUE(changes.empty());
    picker->SetItemIndex(-1);
    EXPECT_EQ(picker->Selection(), nullptr);
}

TEST_F(LanguagePicker, ItemsFollowTheCollection)
{
    picker->GetItems()->Items(1)->SetCaption(L"English");
    EXPECT_EQ(Entries()[1], L"1|English|1");
    picker->GetItems()->Add()->SetImageIndex(1);
    EXPECT_EQ(Entries(), (std::vector<String>{L"0||0", L"1|English|1", L"1||2"}));
    EXPECT_EQ(picker->GetItemIndex(), 0) << "the selection stays";

    picker->BeginUpdate();
    picker->GetItems()->Delete(0);
    picker->GetItems()->Items(0)->SetImageIndex(0);
    picker->GetItems()->Delete(0);
    EXPECT_EQ(Entries().size(), 3u) << "no rebuild while updating";
    picker->EndUpdate();
    EXPECT_EQ(Entries(), (std::vector<String>{L"1||0"}));
    EXPECT_EQ(picker->GetItems()->IndexOf(L"English"), -1);
}

TEST(ImagePicker, ItemsSetInCodeShowTheirImages)
{
    // Outside a form's loading every change reaches the entries at once.
    TOwned<TImagePicker> picker(New<TImagePicker>(nullptr));
    TImagePickerItem* item = picker->GetItems()->Add();
    item->SetImageIndex(3);
    item->SetCaption(L"Deutsch");
    EXPECT_EQ(picker->TCustomComboBox::GetItems()->Get(0), L"3|Deutsch|0");
    picker->SelectByImageIdx(3);
    EXPECT_EQ(picker->Selection(), item);
}

TEST_F(LanguagePicker, DelimiterIsSharedByEveryPicker)
{
    auto* other = New<TImagePicker>(form);
    other->SetParent(form);
    other->GetItems()->Add()->SetImageIndex(1);
    other->SetItemIndex(0);
    ASSERT_EQ(other->Selection(), other->GetItems()->Items(0));

    picker->SetDelimiter(L';');
    EXPECT_EQ(TImagePicker::GetDelimiter(), L';');
    // Entries built with the old delimiter no longer split.
    EXPECT_EQ(other->Selection(), nullptr);
    other->BeginUpdate();
    other->EndUpdate();
    EXPECT_EQ(other->TCustomComboBox::GetItems()->Get(0), L"1;;0");
    EXPECT_EQ(other->Selection(), other->GetItems()->Items(0));
    TImagePicker::SetDelimiter(L'|');
}

TEST_F(LanguagePicker, ClosedBoxShowsTheImageAndTheListAlsoTheCaption)
{
    picker->GetItems()->Items(0)->SetCaption(L"Russian");
    picker->GetFont()->SetColor(clNavy);
    picker->GetFont()->SetQuality(fqNonAntialiased);
    picker->SetWidth(160);
    Pump();
    picker->SetItemIndex(0);

    // The focused box draws its item selected.
    const TColor selectedText = static_cast<TColor>(ColorToRGB(clHighlightText));
    auto closedBox = [&] {
        TSnapshot box(picker);
        const TRect all(0, 0, box.Width(), box.Height());
        // Right of the flag, inside the frame and left of the drop button.
        const TRect captionArea(2 + 2 + 41 + 2, 4, box.Width() - 24, box.Height() - 4);
        return std::pair{box.Count(clRed, all),
                         box.Count(clNavy, captionArea) + box.Count(selectedText, captionArea)};
    };
    auto [flag, text] = closedBox();
    EXPECT_EQ(picker->GetHeight(), 38) << "a new font keeps the field's height";
    // The focus rectangle's dots may cross the flag's edge.
    EXPECT_GE(flag, 41 * 30) << "the flag";
    EXPECT_EQ(text, 0) << "no caption in the closed box";
    picker->SetShowCaption(true);
    std::tie(flag, text) = closedBox();
    EXPECT_GE(flag, 41 * 30);
    EXPECT_GT(text, 10) << "caption with ShowCaption";

    picker->SetShowCaption(false);
    picker->SetDroppedDown(true);
    Pump();
    RECT client{};
    GetClientRect(picker->ListHandle(), &client);
    TSnapshot list(client.right, client.bottom);
    SendMessageW(picker->ListHandle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(list.DC()), PRF_CLIENT);
    EXPECT_GT(list.Count(clRed, TRect(0, 0, list.Width(), list.Height())), 41 * 20) << "first flag";
    EXPECT_GT(list.Count(clBlue, TRect(0, 0, list.Width(), list.Height())), 41 * 20) << "second flag";
    EXPECT_GT(list.Count(clNavy, TRect(0, 0, list.Width(), list.Height())) +
                  list.Count(selectedText, TRect(45, 0, list.Width(), 32)),
              10)
        << "caption in the list";
    picker->SetDroppedDown(false);
    Pump();
}

TEST_F(LanguagePicker, ListClosedWithoutAChoiceKeepsTheItemChosenBefore)
{
    picker->SetFocus();
    Pump();
    const POINT field{20, picker->GetHeight() / 2};
    ClickWithMouse(picker, field, field);
    ASSERT_TRUE(picker->GetDroppedDown());
    // The mouse over the second flag marks it in the list.
    RECT item{};
    ASSERT_NE(SendMessageW(picker->ListHandle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(picker->ListHandle(), &at);
    SetCursorPos(at.x, at.y);
    Pump();
    // A click on the box closes the list; its release comes while the
    // picker still counts itself dropped.
    ClickWithMouse(picker, field, field);
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetItemIndex(), 0);
    EXPECT_EQ(picker->Selection(), picker->GetItems()->Items(0));
    EXPECT_TRUE(changes.empty());
}

TEST_F(LanguagePicker, FreedImageListIsDropped)
{
    flags->Free();
    EXPECT_EQ(picker->GetImages(), nullptr);
    TSnapshot box(picker);
    EXPECT_EQ(box.Count(clRed, TRect(0, 0, box.Width(), box.Height())), 0);
}

} // namespace

namespace {

// Five captioned items for typing; none selected at first.
class TypingPicker : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        picker = New<TImagePicker>(form);
        picker->SetBounds(10, 10, 200, 24);
        picker->SetShowCaption(true);
        picker->SetParent(form);
        for (const wchar_t* caption : {L"Albanian", L"Belarusian", L"Bosnian", L"English", L"\u0420\u0443\u0441\u0441\u043a\u0438\u0439"})
            picker->GetItems()->Add()->SetCaption(caption);
        picker->OnChange = [this](TObject*) { ++changes; };
        ShowForm();
        picker->SetFocus();
        Pump();
    }
    TImagePicker* picker = nullptr;
    int changes = 0;
};

TEST_F(TypingPicker, TypeAheadTable)
{
    // A step is a character typed, or a key pressed (written as its code in braces).
    const wchar_t er = L'\u0440'; // Cyrillic small er; its capital starts the fifth caption
    const struct {
        const char* what;
        int start;
        bool incr;
        std::vector<std::variant<wchar_t, WORD>> steps;
        int selected;
    } cases[] = {
        {"nothing selected: the first B", -1, false, {L'b'}, 1},
        {"b twice keeps the first B already selected", 1, false, {L'b', L'b'}, 1},
        {"from the selected item on", 2, false, {L'b'}, 2},
        {"round to the top when nothing follows", 3, false, {L'b'}, 1},
        {"each key starts anew without LookupIncr", -1, false, {L'b', L'o'}, 1},
        {"LookupIncr adds up", -1, true, {L'b', L'o'}, 2},
        {"LookupIncr from the selection", 0, true, {L'b', L'e'}, 1},
        {"Backspace takes the last character off", -1, true, {L'b', L'o', WORD(VK_BACK), L'e'}, 1},
        {"Escape clears the text", -1, true, {L'b', WORD(VK_ESCAPE), L'e'}, 3},
        {"an arrow clears the text", -1, true, {L'b', WORD(VK_DOWN), L'e'}, 3},
        {"no match: starts again with the key alone", 1, true, {L'b', L'e', L'e'}, 3},
        {"Cyrillic with the locale's upper-casing", 0, false, {er}, 4},
        {"Cyrillic by LookupIncr with nothing selected", -1, true, {er}, 4},
        {"not on the a-to-z path", -1, false, {er}, -1},
    };
    for (const auto& c : cases) {
        picker->SetLookupIncr(c.incr);
        picker->SetItemIndex(c.start);
        PressKey(VK_HOME); // clears the text looked up
        picker->SetItemIndex(c.start);
        changes = 0;
        for (const auto& step : c.steps) {
            if (std::holds_alternative<wchar_t>(step))
                TypeChars(std::wstring(1, std::get<wchar_t>(step)));
            else
                PressKey(std::get<WORD>(step));
        }
        EXPECT_EQ(picker->GetItemIndex(), c.selected) << c.what;
        if (c.selected >= 0)
            EXPECT_EQ(picker->Selection(), picker->GetItems()->Items(c.selected)) << c.what;
        EXPECT_EQ(changes > 0, c.selected != c.start) << c.what << ": the user's choice is a change";
    }
}

TEST_F(TypingPicker, SortedByCaptionWithSelectionStillRight)
{
    picker->GetItems()->Items(0)->SetCaption(L"Zulu");
    picker->SelectByCaption(L"English");
    TImagePickerItem* english = picker->Selection();
    ASSERT_NE(english, nullptr);
    picker->SetSorted(true);
    std::vector<String> order;
    for (int i = 0; i < picker->TCustomComboBox::GetItems()->Count(); ++i)
        order.push_back(picker->TCustomComboBox::GetItems()->Get(i));
    EXPECT_EQ(order, (std::vector<String>{L"-1|Belarusian|1", L"-1|Bosnian|2", L"-1|English|3", L"-1|Zulu|0",
                                          L"-1|\u0420\u0443\u0441\u0441\u043a\u0438\u0439|4"}));
    EXPECT_EQ(picker->Selection(), english);
    EXPECT_EQ(picker->GetItemIndex(), 2);
    EXPECT_EQ(picker->GetItems()->Items(0)->GetCaption(), L"Zulu") << "the items keep their order";

    // A rebuild keeps the order and the selected item.
    picker->GetItems()->Add()->SetCaption(L"Albanian");
    EXPECT_EQ(picker->TCustomComboBox::GetItems()->Get(0), L"-1|Albanian|5");
    EXPECT_EQ(picker->Selection(), english);
    picker->SelectByCaption(L"Zulu");
    EXPECT_EQ(picker->Selection(), picker->GetItems()->Items(0));
}

TEST_F(TypingPicker, CaptionHoldingTheDelimiterIsFoundBothWays)
{
    picker->GetItems()->Items(2)->SetCaption(L"Bosnian|Latin");
    picker->GetItems()->Items(2)->SetImageIndex(7);
    EXPECT_EQ(picker->TCustomComboBox::GetItems()->Get(2), L"7|Bosnian|Latin|2") << "the entry stays as built";
    picker->SelectByCaption(L"Bosnian|Latin");
    EXPECT_EQ(picker->GetItemIndex(), 2);
    EXPECT_EQ(picker->Selection(), picker->GetItems()->Items(2));
    picker->SetItemIndex(0);
    picker->SelectByImageIdx(7);
    EXPECT_EQ(picker->Selection(), picker->GetItems()->Items(2));
    picker->SetItemIndex(0);
    picker->SetLookupIncr(true);
    PressKey(VK_HOME);
    TypeChars(L"bosnian|l");
    EXPECT_EQ(picker->Selection(), picker->GetItems()->Items(2)) << "typed";
}

TEST(ImagePickerHeights, ListItemsAreMeasuredUntilEditHeightIsSet)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    auto* picker = New<TImagePicker>(form.get());
    picker->SetParent(form.get());
    picker->GetItems()->Add()->SetCaption(L"English");
    form->Show();
    Pump();
    TOwned<TCanvas> measure(New<TCanvas>());
    HDC screen = GetDC(nullptr);
    measure->SetHandle(screen);
    const int measured = measure->TextHeight(L"gh") + 4;
    measure->SetHandle(nullptr);
    ReleaseDC(nullptr, screen);
    // The platform reports a field's height with its frame: compare with a
    // plain owner-drawn combo box given the height directly.
    auto* plain = New<TComboBox>(form.get());
    plain->SetStyle(csOwnerDrawFixed);
    plain->SetParent(form.get());
    auto fieldOf = [&](int Height) {
        SendMessageW(plain->Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Height);
        return SendMessageW(plain->Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    };
    EXPECT_EQ(picker->GetEditHeight(), 18);
    EXPECT_EQ(SendMessageW(picker->Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), fieldOf(18));
    EXPECT_EQ(SendMessageW(picker->Handle(), CB_GETITEMHEIGHT, 0, 0), measured);

    // Once set, EditHeight rules both, also in a window made anew.
    picker->SetEditHeight(32);
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(SendMessageW(picker->Handle(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), fieldOf(32)) << round;
        EXPECT_EQ(SendMessageW(picker->Handle(), CB_GETITEMHEIGHT, 0, 0), 32) << round;
        picker->RecreateWnd();
        Pump();
    }
    picker->GetFont()->SetSize(16);
    EXPECT_EQ(SendMessageW(picker->Handle(), CB_GETITEMHEIGHT, 0, 0), 32) << "a new font";
}

} // namespace
