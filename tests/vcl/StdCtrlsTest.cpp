// The standard controls over the system's windows: text, items and state
// kept across windows, notifications turned into events, dialog keys.
#include <gtest/gtest.h>
#include "StdCtrls.h"
#include "TestSupport.h"
#include "VclTestSupport.h"

using namespace vcl_test;

namespace {

struct StdCtrlsFixture : testing::Test {
    TForm* form = nullptr;
    void SetUp() override
    {
        form = New<TForm>(nullptr);
        form->SetBounds(60, 60, 420, 320);
    }
    void TearDown() override
    {
        form->Free();
        Pump();
    }
    template <class T>
    T* Make(int left, int top)
    {
        auto* c = New<T>(form);
        c->SetLeft(left);
        c->SetTop(top);
        c->SetParent(form);
        return c;
    }
};

TEST_F(StdCtrlsFixture, EditTextAndStateSurviveTheWindowAndTypingRaisesOnChange)
{
    auto* edit = Make<TEdit>(10, 10);
    edit->SetText(L"before window");
    edit->SetMaxLength(20);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    form->Show();
    wchar_t buf[64];
    GetWindowTextW(edit->Handle(), buf, 64);
    EXPECT_STREQ(buf, L"before window");

    edit->SetSelStart(0);
    edit->SetSelLength(6);
    EXPECT_EQ(edit->GetSelText(), L"before");
    edit->SetSelStart(static_cast<int>(edit->GetText().size()));
    SendMessageW(edit->Handle(), WM_CHAR, L'!', 1);
    EXPECT_EQ(edit->GetText(), L"before window!");
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(edit->GetModified());
    // The limit holds for typing.
    for (int i = 0; i < 10; ++i)
        SendMessageW(edit->Handle(), WM_CHAR, L'x', 1);
    EXPECT_EQ(edit->GetText().size(), 20u);

    // A new window keeps the text and applies the new style.
    HWND old = edit->Handle();
    edit->SetCharCase(ecUpperCase);
    EXPECT_NE(edit->Handle(), old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(edit->GetText(), L"BEFORE WINDOW!XXXXXX");
    EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_UPPERCASE);
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 20);
}

TEST_F(StdCtrlsFixture, MemoLinesAreTheWindowText)
{
    auto* memo = Make<TMemo>(10, 10);
    memo->SetScrollBars(ssBoth);
    memo->SetWordWrap(false);
    memo->GetLines()->Add(L"pc-01");
    memo->GetLines()->Add(L"pc-02");
    form->Show();
    EXPECT_EQ(memo->GetLines()->Count(), 2);
    memo->GetLines()->Insert(1, L"pc-1a");
    memo->GetLines()->Delete(0);
    EXPECT_EQ(memo->GetText(), L"pc-1a\r\npc-02\r\n");
    int changes = 0;
    memo->OnChange = [&](TObject*) { ++changes; };
    memo->GetLines()->SetText(L"a\nb\rc");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(memo->GetLines()->Count(), 3);
    EXPECT_EQ(memo->GetLines()->Get(2), L"c");
    EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0), 3);
    LONG style = GetWindowLongW(memo->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_THROW(memo->GetLines()->Get(5), EStringListError);
}

// Every line of a text is a line of the memo, an empty last one included:
// only the break that ends the text adds no line. The text keeps its breaks,
// as CR LF.
TEST_F(StdCtrlsFixture, MemoTextKeepsItsEmptyLastLine)
{
    auto* memo = Make<TMemo>(10, 10);
    form->Show();
    struct TCase {
        const wchar_t* Text;
        std::vector<String> Lines;
        const wchar_t* Kept;
    };
    const TCase cases[] = {
        {L"a\r\n\r\n", {L"a", L""}, L"a\r\n\r\n"},
        {L"a\r\n\r\n\r\n", {L"a", L"", L""}, L"a\r\n\r\n\r\n"},
        {L"a\n\n", {L"a", L""}, L"a\r\n\r\n"},
        {L"a\r\n", {L"a"}, L"a\r\n"},
        {L"a", {L"a"}, L"a"},
        {L"\r\n", {L""}, L"\r\n"},
        {L"", {}, L""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(String(c.Text)));
        memo->GetLines()->SetText(c.Text);
        std::vector<String> lines;
        for (int i = 0; i < memo->GetLines()->Count(); ++i)
            lines.push_back(memo->GetLines()->Get(i));
        EXPECT_EQ(lines, c.Lines);
        EXPECT_EQ(memo->GetLines()->GetText(), c.Kept);
    }
}

// Entering a one-line edit from the keyboard selects its text so that typing
// replaces it; entering a memo must not, or typing would wipe every line.
TEST_F(StdCtrlsFixture, FocusFromTheKeyboardSelectsAnEditsTextButNotAMemos)
{
    auto* start = Make<TButton>(10, 10);
    auto* edit = Make<TEdit>(10, 50);
    auto* memo = Make<TMemo>(10, 90);
    edit->SetText(L"pc-01");
    memo->GetLines()->SetText(L"pc-01\r\npc-02");
    form->Show();
    start->SetFocus();
    Pump();

    struct TCase {
        const char* Name;
        TCustomEdit* Control;
        int Selected;
    };
    for (const TCase& c : {TCase{"edit", edit, 5}, TCase{"memo", memo, 0}}) {
        SCOPED_TRACE(c.Name);
        c.Control->SetFocus();
        Pump();
        ASSERT_EQ(GetFocus(), c.Control->Handle());
        EXPECT_EQ(c.Control->GetSelLength(), c.Selected);
    }
    SendMessageW(memo->Handle(), WM_CHAR, L'x', 1);
    EXPECT_EQ(memo->GetLines()->Count(), 2);
}

TEST_F(StdCtrlsFixture, ListBoxItemsSelectionAndClicks)
{
    auto* list = Make<TListBox>(10, 10);
    TObject* tag = form;
    list->GetItems()->AddObject(L"delta", tag);
    list->GetItems()->Add(L"alpha");
    list->GetItems()->Add(L"charlie");
    list->SetItemIndex(1);
    form->Show();
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->GetItemIndex(), 1);
    EXPECT_EQ(list->GetItems()->GetObject(0), tag);

    // Sorting makes a new window; items, objects and order come through.
    list->SetSorted(true);
    EXPECT_EQ(list->GetItems()->Get(0), L"alpha");
    EXPECT_EQ(list->GetItems()->Get(2), L"delta");
    EXPECT_EQ(list->GetItems()->GetObject(2), tag);
    EXPECT_EQ(list->GetItems()->IndexOf(L"CHARLIE"), 1);

    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    TRect second = list->ItemRect(1);
    POINT at{second.left + 3, second.top + 2};
    SendMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(list->GetItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list->ItemAtPos(at, true), 1);
    EXPECT_EQ(list->ItemAtPos({5, 1000}, true), -1);
    EXPECT_THROW(list->GetItems()->Delete(7), EStringListError);
}

TEST_F(StdCtrlsFixture, OwnerDrawnListBoxDrawsThroughTheEvent)
{
    auto* list = Make<TListBox>(10, 10);
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(13);
    list->GetItems()->Add(L"one");
    list->GetItems()->Add(L"two");
    std::vector<int> drawn;
    list->OnDrawItem = [&](TWinControl* control, int index, TRect rect, UINT) {
        EXPECT_EQ(control, list);
        EXPECT_EQ(rect.Height(), 13);
        drawn.push_back(index);
        list->GetCanvas()->FillRect(rect);
    };
    form->Show();
    UpdateWindow(list->Handle());
    Pump();
    // Every item is drawn (some more than once, as focus and selection change).
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 0), drawn.end());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), 1), drawn.end());
    EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(), [](int i) { return i < 0 || i > 1; }), 0);
    EXPECT_EQ(list->GetItemHeight(), 13);
}

TEST_F(StdCtrlsFixture, ComboBoxSelectionAndItsInnerEdit)
{
    auto* combo = Make<TComboBox>(10, 10);
    combo->GetItems()->Add(L"English");
    combo->GetItems()->Add(L"Russian");
    std::vector<String> events;
    combo->OnChange = [&](TObject*) { events.push_back(L"change " + combo->GetText()); };
    combo->OnSelect = [&](TObject*) { events.push_back(L"select " + combo->GetText()); };
    std::vector<wchar_t> keys;
    combo->OnKeyPress = [&](TObject*, wchar_t& key) {
        keys.push_back(key);
        if (key == L'#')
            key = 0;
    };
    form->Show();
    ASSERT_NE(combo->EditHandle(), nullptr);
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->GetText(), L"Russian");

    // Typing goes into the inner edit; the combo hears the keys and the change.
    combo->SetText(L"");
    SendMessageW(combo->EditHandle(), WM_CHAR, L'E', 1);
    SendMessageW(combo->EditHandle(), WM_CHAR, L'#', 1);
    EXPECT_EQ(combo->GetText(), L"E");
    EXPECT_EQ(keys, (std::vector<wchar_t>{L'E', L'#'}));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), L"change E");

    // A list-only combo changes its selection with the arrow keys.
    combo->SetStyle(csDropDownList);
    EXPECT_EQ(combo->EditHandle(), nullptr);
    EXPECT_EQ(combo->GetItems()->Count(), 2);
    combo->SetItemIndex(0);
    events.clear();
    SendMessageW(combo->Handle(), WM_KEYDOWN, VK_DOWN, 1);
    EXPECT_EQ(combo->GetItemIndex(), 1);
    EXPECT_EQ(events, (std::vector<String>{L"select Russian"}));
}

// A shutdown or a task manager sends a close to every top-level window of
// the program, the dropped lists of combo boxes among them, shown or not.
TEST_F(StdCtrlsFixture, AComboBoxKeepsItsListWhenEveryWindowIsClosed)
{
    for (const TComboBoxStyle style : {csDropDown, csDropDownList, csOwnerDrawFixed}) {
        SCOPED_TRACE(static_cast<int>(style));
        auto* combo = Make<TComboBox>(10, 10);
        combo->SetStyle(style);
        combo->GetItems()->Add(L"Russian");
        combo->GetItems()->Add(L"English");
        combo->SetVisible(false);
        form->Show();
        combo->HandleNeeded();
        combo->SetItemIndex(1);
        HWND list = combo->ListHandle();
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(GetAncestor(list, GA_PARENT), GetDesktopWindow()) << "the list is a top-level window";
        SendMessageW(list, WM_CLOSE, 0, 0);
        EXPECT_TRUE(IsWindow(list));
        EXPECT_EQ(combo->GetItemIndex(), 1);
        EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 2);
        combo->Free();
        EXPECT_FALSE(IsWindow(list));
    }
}

TEST_F(StdCtrlsFixture, CheckBoxesAndRadioButtons)
{
    auto* check = Make<TCheckBox>(10, 10);
    int clicks = 0;
    check->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    SendMessageW(check->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(check->GetChecked());
    EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    check->SetAllowGrayed(true);
    SendMessageW(check->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(check->GetState(), cbUnchecked);
    SendMessageW(check->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(check->GetState(), cbGrayed);
    EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    // Setting the state in code is a click as well.
    check->SetChecked(true);
    EXPECT_EQ(clicks, 4);

    auto* a = Make<TRadioButton>(10, 40);
    auto* b = Make<TRadioButton>(10, 60);
    a->SetChecked(true);
    SendMessageW(b->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(b->GetChecked());
    EXPECT_FALSE(a->GetChecked());
    EXPECT_EQ(SendMessageW(a->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(StdCtrlsFixture, EnterPressesTheDefaultButtonAndModalResultReachesTheForm)
{
    auto* edit = Make<TEdit>(10, 10);
    auto* ok = Make<TButton>(10, 50);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    int clicks = 0;
    ok->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    edit->SetFocus();
    Pump();
    ASSERT_TRUE(edit->Focused());
    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->GetModalResult(), mrOk);
    SendMessageW(ok->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(StdCtrlsFixture, ScrollBarFollowsItsNotifications)
{
    auto* bar = Make<TScrollBar>(10, 10);
    bar->SetParams(5, 0, 20);
    bar->SetLargeChange(10);
    std::vector<int> changes;
    bar->OnChange = [&](TObject*) { changes.push_back(bar->GetPosition()); };
    form->Show();
    SendMessageW(form->Handle(), WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(bar->Handle()));
    SendMessageW(form->Handle(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar->Handle()));
    SendMessageW(form->Handle(), WM_HSCROLL, SB_PAGEDOWN, reinterpret_cast<LPARAM>(bar->Handle()));
    EXPECT_EQ(changes, (std::vector<int>{6, 16, 20}));
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 20);
    EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
}

TEST_F(StdCtrlsFixture, LabelSizesToItsTextAndItsAcceleratorFocusesItsControl)
{
    auto* label = Make<TLabel>(10, 10);
    auto* edit = Make<TEdit>(10, 40);
    auto* other = Make<TEdit>(10, 80);
    label->SetCaption(L"&Name");
    int shortWidth = label->GetWidth();
    label->SetCaption(L"&Name of the computer");
    EXPECT_GT(label->GetWidth(), shortWidth);
    EXPECT_GT(label->GetHeight(), 0);
    label->SetFocusControl(edit);
    form->Show();
    other->SetFocus();
    Pump();
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'n', 0), 1);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, L'z', 0), 0);
    edit->Free();
    EXPECT_EQ(label->GetFocusControl(), nullptr);
}

TEST_F(StdCtrlsFixture, GroupBoxPlacesChildrenBelowItsCaption)
{
    auto* group = Make<TGroupBox>(10, 10);
    group->SetCaption(L"Options");
    auto* inner = New<TCheckBox>(form);
    inner->SetAlign(alClient);
    inner->SetParent(group);
    form->Show();
    EXPECT_GT(inner->GetTop(), 5);
    EXPECT_LT(inner->GetHeight(), group->GetHeight());
}

} // namespace
