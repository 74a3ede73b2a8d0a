// The memo editor (the first line in the edit, typing replacing all lines,
// the keys of the open memo) and the control editor (any control in the
// popup, also when set while loading).
#include "AdvMemoDropDown.h"
#include "DropDownInput.h"
#include "SysUtils.h"

using namespace pack_test;
using namespace dropdown_input;

namespace {

class MemoDropDownTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        other = New<TEdit>(form);
        other->SetBounds(10, 300, 80, 21);
        other->SetParent(form);
        other->SetTabStop(true);
        edit = New<TAdvMemoDropDown>(form);
        edit->SetBounds(20, 20, 150, 21);
        edit->SetParent(form);
        edit->SetTabStop(true);
        ShowForm();
    }
    void SetLines(std::initializer_list<const wchar_t*> Lines)
    {
        TOwned<TStringList> lines(New<TStringList>());
        for (const wchar_t* line : Lines)
            lines->Add(line);
        edit->SetMemoText(lines.get());
        Pump();
    }
    std::vector<String> MemoLines() const
    {
        std::vector<String> lines;
        TStrings* text = edit->GetMemoText();
        for (int i = 0; i < text->Count(); ++i)
            lines.push_back(text->Get(i));
        return lines;
    }
    // Opens the popup with the focus in the memo.
    void Open()
    {
        edit->SetFocus();
        Pump();
        edit->ShowDropDown();
        Pump();
        ASSERT_TRUE(edit->GetDroppedDown());
        edit->GetMemo()->SetFocus();
        Pump();
    }

    TEdit* other = nullptr;
    TAdvMemoDropDown* edit = nullptr;
};

TEST_F(MemoDropDownTest, TheEditShowsTheFirstLineFittedWhenTypingIsOff)
{
    SetLines({L"A", L"B"});
    EXPECT_EQ(edit->GetText(), L"A");
    edit->SetEditorEnabled(false);
    SetLines({L"A", L"B"});
    EXPECT_EQ(edit->GetText(), L"A...");
    SetLines({L"A"});
    EXPECT_EQ(edit->GetText(), L"A") << "a single line has nothing more to hint at";
    SetLines({L"A rather long first line that cannot fit into the edit at all", L"B"});
    const String shown = edit->GetText();
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(shown.substr(shown.size() - 3), L"...");
    TOwned<TBitmap> probe(New<TBitmap>());
    probe->GetCanvas()->GetFont()->Assign(edit->GetFont());
    EXPECT_LE(MeasureTextSize(probe->GetCanvas(), shown).cx, edit->GetEditRect().Width());
}

TEST_F(MemoDropDownTest, TypingIntoTheEditReplacesAllLines)
{
    SetLines({L"one", L"two", L"three"});
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetFocus();
    Pump();
    Key('A', VK_CONTROL);
    TypeChars(L"xy");
    EXPECT_EQ(MemoLines(), (std::vector<String>{L"xy"}));
    EXPECT_GT(changes, 0);
    edit->SetText(L"p\r\nq");
    EXPECT_EQ(MemoLines(), (std::vector<String>{L"p", L"q"}));
}

TEST_F(MemoDropDownTest, KeysOfTheOpenMemo)
{
    edit->SetText(L"first");
    SetLines({L"one", L"two"});
    // Enter starts a new line and the popup stays.
    Open();
    Key(VK_HOME, VK_CONTROL);
    Key(VK_DOWN);
    Key(VK_END);
    Key(VK_RETURN);
    TypeChars(L"z");
    EXPECT_TRUE(edit->GetDroppedDown());
    EXPECT_EQ(MemoLines(), (std::vector<String>{L"one", L"two", L"z"}));
    EXPECT_EQ(edit->GetText(), L"one") << "the edit follows with the first line";
    // Ctrl+A selects all of the memo.
    Key('A', VK_CONTROL);
    const String all = edit->GetMemo()->GetText();
    EXPECT_EQ(edit->GetMemo()->GetSelLength(), static_cast<int>(all.size()));
    // Tab closes keeping the lines, selects the value and inserts nothing.
    Key(VK_TAB);
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_EQ(MemoLines(), (std::vector<String>{L"one", L"two", L"z"}));
    EXPECT_EQ(edit->GetMemo()->GetText().find(L'\t'), String::npos);
    EXPECT_EQ(edit->GetSelStart(), 0);
    EXPECT_EQ(edit->GetSelLength(), 3);
    // Closed otherwise, the caret stands at the start with nothing selected.
    Sleep(260);
    Open();
    edit->HideDropDown(false);
    Pump();
    EXPECT_EQ(edit->GetSelStart(), 0);
    EXPECT_EQ(edit->GetSelLength(), 0);
    // Escape closes and brings back the value of the last SetText.
    Sleep(260);
    Open();
    TypeChars(L"q");
    Key(VK_ESCAPE);
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_EQ(MemoLines(), (std::vector<String>{L"first"}));
    EXPECT_EQ(edit->GetText(), L"first");
}

TEST_F(MemoDropDownTest, AutoDropOpensOnEnteringAndDoesNotReopen)
{
    edit->SetAutoDrop(true);
    other->SetFocus();
    Pump();
    edit->SetFocus();
    Pump();
    ASSERT_TRUE(edit->GetDroppedDown());
    edit->HideDropDown(false);
    Pump();
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_TRUE(edit->Focused());
    EXPECT_TRUE(edit->GetAutoDrop());
}

TEST_F(MemoDropDownTest, ReadOnlyAppliesAtOnceAndOtherOptionsAtTheNextOpening)
{
    Open();
    edit->SetMemoReadOnly(true);
    EXPECT_TRUE(edit->GetMemo()->GetReadOnly());
    edit->SetMemoScrollBars(ssVertical);
    EXPECT_EQ(edit->GetMemo()->GetScrollBars(), ssNone);
    edit->HideDropDown(false);
    Pump();
    Sleep(260);
    Open();
    EXPECT_EQ(edit->GetMemo()->GetScrollBars(), ssVertical);
    edit->HideDropDown(false);
    Pump();
}

// ---------------------------------------------------------------------------

TEST_F(MemoDropDownTest, AControlDropDownHoldsAnyControlAlsoWhenSetWhileLoading)
{
    auto* holder = New<TAdvControlDropDown>(form);
    holder->BeginLoading();
    holder->SetBounds(20, 100, 150, 21);
    holder->SetParent(form);
    auto* list = New<TListBox>(form);
    list->SetBounds(0, 0, 150, 80);
    list->GetItems()->Add(L"red");
    list->GetItems()->Add(L"green");
    holder->SetControl(list);
    holder->EndLoading();
    EXPECT_EQ(list->GetParent(), holder->GetDropDownForm()) << "in the popup once loading ends";
    holder->SetControl(list);
    holder->SetText(L"kept");
    holder->SetFocus();
    Pump();
    holder->ShowDropDown();
    Pump();
    ASSERT_TRUE(holder->GetDroppedDown());
    EXPECT_TRUE(list->GetVisible());
    list->SetFocus();
    Pump();
    holder->SetRawText(L"changed");
    Key(VK_ESCAPE);
    EXPECT_FALSE(holder->GetDroppedDown());
    EXPECT_EQ(holder->GetText(), L"kept") << "Escape closes cancelling";
}

} // namespace
