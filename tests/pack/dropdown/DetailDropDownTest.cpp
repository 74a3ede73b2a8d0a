// The detail drop-down through real keys, wheel and clicks: completion of
// typed text, Enter, the arrow and page keys with the popup open and closed,
// type-ahead in real time, a click on an item, Escape, and the painting of
// captions and notes.
#include "AdvDetailDropDown.h"
#include "DropDownInput.h"
#include "SysUtils.h"

using namespace pack_test;
using namespace dropdown_input;

namespace {

class DetailDropDownTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        edit = New<TAdvDetailDropDown>(form);
        edit->SetBounds(20, 20, 200, 21);
        edit->SetParent(form);
        edit->SetTabStop(true);
        SetCaptions({L"Alpha", L"Beta", L"Alphabet"});
        edit->OnSelect = [this](TObject*) { ++selects; };
        ShowForm();
        edit->SetFocus();
        Pump();
    }
    void SetCaptions(std::initializer_list<const wchar_t*> Captions)
    {
        edit->GetItems()->Clear();
        for (const wchar_t* caption : Captions)
            edit->GetItems()->Add()->SetCaption(caption);
    }
    void Open()
    {
        edit->ShowDropDown();
        Pump();
        ASSERT_TRUE(edit->GetDroppedDown());
    }
    TAdvCustomItemSelector* List() const { return edit->GetItemSelector(); }
    int ListIndex() const { return List()->GetItemIndex(); }

    TAdvDetailDropDown* edit = nullptr;
    int selects = 0;
};

TEST_F(DetailDropDownTest, TypedTextIsCompletedFromTheFirstMatchingCaption)
{
    Key('A');
    EXPECT_EQ(edit->GetText(), L"alpha") << "the typed a keeps its case";
    EXPECT_EQ(edit->GetSelStart(), 1);
    EXPECT_EQ(edit->GetSelLength(), 4);
    EXPECT_EQ(edit->GetItemIndex(), 0);
    // Backspace removes the completed tail and completes nothing again.
    Key(VK_BACK);
    EXPECT_EQ(edit->GetText(), L"a");
    Key('L');
    Key('P');
    Key('H');
    Key('A');
    Key('B');
    EXPECT_EQ(edit->GetText(), L"alphabet") << "Alphabet follows Alpha";
    EXPECT_EQ(edit->GetSelLength(), 2);
    EXPECT_EQ(edit->GetItemIndex(), 2);
    // Nothing matches: what was typed stays, anything after the caret goes.
    Key('X');
    EXPECT_EQ(edit->GetText(), L"alphabx");

    edit->SetItemIndex(-1);
    edit->MatchCase = true;
    Key('A');
    EXPECT_EQ(edit->GetText(), L"a") << "a does not match Alpha with MatchCase";
    Key(VK_BACK);
    Key('A', VK_SHIFT);
    EXPECT_EQ(edit->GetText(), L"Alpha");
}

TEST_F(DetailDropDownTest, EnterAcceptsOnlyAnExactCaption)
{
    edit->SetRawText(L"beta");
    Key(VK_RETURN);
    EXPECT_EQ(edit->GetItemIndex(), -1);
    EXPECT_EQ(selects, 0);
    edit->SetRawText(L"Beta");
    Key(VK_RETURN);
    EXPECT_EQ(edit->GetItemIndex(), 1);
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(edit->GetText(), L"Beta");
    edit->SetItemIndex(7);
    EXPECT_EQ(edit->GetItemIndex(), 1);
    edit->SetItemIndex(-1);
    EXPECT_EQ(edit->GetItemIndex(), -1);
    EXPECT_EQ(edit->GetText(), L"");
}

TEST_F(DetailDropDownTest, ALongCaptionIsCompletedWholeAndFoundByEnter)
{
    const String longCaption = L"Q" + String(300, L'x') + L"end";
    SetCaptions({L"Alpha", longCaption.c_str()});
    Key('Q', VK_SHIFT);
    EXPECT_EQ(edit->GetText(), longCaption);
    Key(VK_RETURN);
    EXPECT_EQ(edit->GetItemIndex(), 1);
    EXPECT_EQ(edit->GetText(), longCaption);
}

TEST_F(DetailDropDownTest, ArrowsPagesAndWheelOpenAndClosed)
{
    SetCaptions({L"i0", L"i1", L"i2", L"i3", L"i4", L"i5", L"i6", L"i7", L"i8", L"i9"});
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 2);
    EXPECT_EQ(edit->GetText(), L"i2");
    Key(VK_UP);
    EXPECT_EQ(edit->GetItemIndex(), 1);
    MoveMouse(edit, {30, 10});
    Wheel(-1);
    EXPECT_EQ(edit->GetItemIndex(), 2);
    Wheel(1);
    EXPECT_EQ(edit->GetItemIndex(), 1);

    edit->SetItemIndex(-1);
    Open();
    const int n = List()->GetVisibleItemCount();
    ASSERT_GT(n, 0);
    Key(VK_NEXT);
    EXPECT_EQ(ListIndex(), std::min(n - 1, 9));
    EXPECT_EQ(edit->GetItemIndex(), ListIndex()) << "the list's choice is the editor's";
    EXPECT_TRUE(edit->GetDroppedDown());
    Key(VK_NEXT);
    EXPECT_EQ(ListIndex(), std::min(2 * n - 1, 9));
    Key(VK_PRIOR);
    EXPECT_EQ(ListIndex(), std::min(n - 1, 9));
    Key(VK_DOWN);
    EXPECT_EQ(ListIndex(), std::min(n, 9));
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(ListIndex(), std::min(n - 2, 9));
    Key(VK_END);
    EXPECT_EQ(ListIndex(), 9);
    Key(VK_HOME);
    EXPECT_EQ(ListIndex(), 0);
    MoveMouse(List(), {20, 10});
    Wheel(-1);
    EXPECT_EQ(ListIndex(), 1);
    EXPECT_EQ(edit->GetText(), L"i1");
    EXPECT_TRUE(edit->GetDroppedDown());
    edit->HideDropDown(false);
    Pump();
    // Closed, the page keys move too.
    edit->SetFocus();
    Pump();
    Key(VK_NEXT);
    EXPECT_EQ(edit->GetItemIndex(), std::min(1 + n, 9));
}

TEST_F(DetailDropDownTest, TypeAheadCollectsKeysForHalfASecond)
{
    SetCaptions({L"Alpha", L"Beta", L"Echo", L"Bear", L"1 one"});
    Open();
    Key('B');
    EXPECT_EQ(edit->GetCurSearch(), L"B");
    EXPECT_EQ(ListIndex(), 1);
    EXPECT_TRUE(edit->GetDroppedDown()) << "its own selection keeps the popup open";
    Key('E');
    EXPECT_EQ(edit->GetCurSearch(), L"BE");
    EXPECT_EQ(ListIndex(), 3) << "BE: the next item starting so";
    // The timer empties the search text; E alone then.
    const DWORD start = GetTickCount();
    while (!edit->GetCurSearch().empty() && GetTickCount() - start < 5000) {
        Sleep(20);
        Pump();
    }
    ASSERT_TRUE(edit->GetCurSearch().empty());
    EXPECT_FALSE(edit->GetKeyTimer()->GetEnabled());
    Key('E');
    EXPECT_EQ(ListIndex(), 2);
    // Shift joins nothing; a number-pad digit is a digit.
    while (!edit->GetCurSearch().empty() && GetTickCount() - start < 10000) {
        Sleep(20);
        Pump();
    }
    Key('B', VK_SHIFT);
    EXPECT_EQ(edit->GetCurSearch(), L"B");
    while (!edit->GetCurSearch().empty() && GetTickCount() - start < 15000) {
        Sleep(20);
        Pump();
    }
    Key(VK_NUMPAD1);
    EXPECT_EQ(edit->GetCurSearch(), L"1");
    EXPECT_EQ(ListIndex(), 4);
    edit->HideDropDown(false);
    Pump();
}

TEST_F(DetailDropDownTest, AClickTakesTheItemAndEscapeRestoresTheIndex)
{
    edit->SetItemIndex(0);
    Open();
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 1);
    Key(VK_ESCAPE);
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_EQ(edit->GetItemIndex(), 0);
    EXPECT_EQ(edit->GetText(), L"Alpha");

    Sleep(260);
    Open();
    const TRect third = List()->GetItems()->GetItem(2)->GetRect();
    Click(List()->GetItemSelectorPanel(), {third.left + 20, third.top + 8});
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_EQ(edit->GetItemIndex(), 2);
    EXPECT_EQ(edit->GetText(), L"Alphabet");
}

TEST_F(DetailDropDownTest, AStaleListAndPagesWithoutHeightChangeNothing)
{
    Open();
    // Items changed while open: the list still shows three.
    SetCaptions({L"Only"});
    ASSERT_EQ(List()->GetItems()->Count(), 3);
    const TRect third = List()->GetItems()->GetItem(2)->GetRect();
    Click(List()->GetItemSelectorPanel(), {third.left + 20, third.top + 8});
    EXPECT_EQ(edit->GetItemIndex(), -1) << "an index that is no item is ignored";
    List()->SetItemIndex(9);
    EXPECT_EQ(edit->GetItemIndex(), -1);
    edit->HideDropDown(false);
    Pump();
    Sleep(260);
    SetCaptions({L"Alpha", L"Beta", L"Alphabet"});
    edit->SetItemHeight(0);
    Open();
    EXPECT_EQ(List()->GetVisibleItemCount(), 0);
    Key(VK_NEXT);
    EXPECT_EQ(ListIndex(), -1) << "no page without an item height";
    edit->HideDropDown(false);
    Pump();
}

TEST_F(DetailDropDownTest, CaptionsAndNotesArePainted)
{
    edit->GetItems()->GetItem(0)->SetNotes(L"<b>notes</b> here");
    edit->GetCaptionFont()->SetColor(RGB(200, 0, 0));
    edit->GetNotesFont()->SetColor(RGB(0, 0, 200));
    edit->SetItemHeight(40);
    Open();
    TCustomItemSelector* panel = List()->GetItemSelectorPanel();
    TSnapshot picture(panel);
    const TRect item = List()->GetItems()->GetItem(0)->GetRect();
    const TRect caption = picture.Extent(RGB(200, 0, 0), item);
    const TRect notes = picture.Extent(RGB(0, 0, 200), item);
    ASSERT_FALSE(caption.IsEmpty());
    ASSERT_FALSE(notes.IsEmpty());
    EXPECT_GE(caption.left, item.left + 4);
    EXPECT_GE(notes.top, caption.bottom - 2) << "notes below the caption";
    const TRect second = List()->GetItems()->GetItem(1)->GetRect();
    EXPECT_TRUE(picture.Extent(RGB(0, 0, 200), second).IsEmpty()) << "no notes, none drawn";
    EXPECT_FALSE(picture.Extent(RGB(200, 0, 0), second).IsEmpty());
    edit->HideDropDown(false);
    Pump();
}

TEST_F(DetailDropDownTest, StylesColourTheItems)
{
    edit->SetComponentStyle(tsOffice2016Black);
    EXPECT_EQ(edit->GetItemAppearance()->BorderColorHot, 0x6A6A6A);
    EXPECT_EQ(edit->GetItemAppearance()->GetFont()->GetColor(), 0xFFFFFF);
    Open();
    EXPECT_EQ(List()->GetItemAppearance()->ColorHot, 0x6A6A6A) << "loaded into the list at opening";
    edit->HideDropDown(false);
    Pump();
    edit->SetSelectionColorStyle(scWindows7);
    EXPECT_EQ(List()->GetItemAppearance()->ColorHot, 0xFCEBDC);
    EXPECT_EQ(edit->GetItemAppearance()->ColorHot, 0x6A6A6A) << "the editor's own appearance stays";
}

} // namespace
