// The combo box base's focus colours and its edit part: the grey empty
// text, Enter moving on like Tab, and Tab while the list is down, with real
// keys through the loop, also after the window was made anew.
#include "AdvCombo.h"
#include "PackControlsTestSupport.h"

using namespace pack_test;

namespace {

constexpr TColor EmptyTextGrey = 8421504;

class ComboEdit : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        combo = New<TAdvCustomCombo>(form);
        combo->SetStyle(csDropDown);
        combo->SetBounds(10, 10, 160, 24);
        combo->SetParent(form);
        for (const wchar_t* text : {L"English", L"Russian", L"German"})
            combo->GetItems()->Add(text);
        next = New<TEdit>(form);
        next->SetBounds(10, 60, 80, 21);
        next->SetParent(form);
        ShowForm();
        next->SetFocus();
        Pump();
    }
    // Grey pixels of the empty text, read from the shown edit.
    int GreyInEdit()
    {
        TSnapshot edit(combo->EditHandle());
        return edit.Count(EmptyTextGrey, TRect(0, 0, edit.Width(), edit.Height()));
    }
    TAdvCustomCombo* combo = nullptr;
    TEdit* next = nullptr;
};

TEST_F(ComboEdit, FocusAndFontColoursAreSetAndRestored)
{
    combo->SetColor(clWhite);
    combo->GetFont()->SetColor(clNavy);
    combo->SetFocusColor(clYellow);
    combo->SetFocusFontColor(clRed);
    combo->SetFocus();
    Pump();
    EXPECT_EQ(combo->GetColor(), clYellow);
    EXPECT_EQ(combo->GetFont()->GetColor(), clRed);
    next->SetFocus();
    Pump();
    EXPECT_EQ(combo->GetColor(), clWhite);
    EXPECT_EQ(combo->GetFont()->GetColor(), clNavy);

    // A colour set between two focus visits is the one restored.
    combo->SetColor(clAqua);
    combo->SetFocus();
    Pump();
    next->SetFocus();
    Pump();
    EXPECT_EQ(combo->GetColor(), clAqua);
}

TEST_F(ComboEdit, EmptyTextIsGreyUntilSomethingIsTyped)
{
    combo->GetFont()->SetQuality(fqNonAntialiased);
    combo->GetFont()->SetSize(12);
    combo->SetEmptyText(L"Choose");
    Pump();
    {
        TSnapshot edit(combo->EditHandle());
        const TRect grey = edit.Extent(EmptyTextGrey, TRect(0, 0, edit.Width(), edit.Height()));
        ASSERT_FALSE(grey.IsEmpty());
        // Text drawn at (3, 1): its first ink a little right of and below that.
        EXPECT_GE(grey.left, 3);
        EXPECT_LE(grey.left, 6);
        EXPECT_GE(grey.top, 1);
        EXPECT_LE(grey.top, 6);
    }
    // Focused: hidden unless EmptyTextFocused.
    combo->SetFocus();
    Pump();
    EXPECT_EQ(GreyInEdit(), 0);
    combo->SetEmptyTextFocused(true);
    Pump();
    EXPECT_GT(GreyInEdit(), 10);
    TypeChars(L"E");
    EXPECT_EQ(GreyInEdit(), 0) << "gone once something is typed";
    PressKey(VK_BACK);
    EXPECT_GT(GreyInEdit(), 10) << "back when the box is empty again";

    // An underlined hint: more ink.
    const int plain = GreyInEdit();
    combo->SetEmptyTextStyle(TFontStyles{fsUnderline});
    Pump();
    EXPECT_GT(GreyInEdit(), plain);
}

TEST_F(ComboEdit, ReturnIsTabMovesOnAndSurvivesANewWindow)
{
    combo->SetFocus();
    Pump();
    PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), combo->EditHandle()) << "Enter alone stays";

    combo->SetReturnIsTab(true);
    PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), next->Handle());

    // A new window gets the edit's procedure again.
    combo->SetStyle(csSimple);
    combo->SetStyle(csDropDown);
    combo->SetFocus();
    Pump();
    ASSERT_EQ(GetFocus(), combo->EditHandle());
    PressKey(VK_RETURN);
    EXPECT_EQ(GetFocus(), next->Handle());
}

TEST_F(ComboEdit, TabWhileDroppedClosesTheListKeepsItsItemAndMovesOn)
{
    combo->SetFocus();
    Pump();
    combo->SetDroppedDown(true);
    Pump();
    ASSERT_TRUE(combo->GetDroppedDown());
    PressKey(VK_DOWN);
    const int shown = combo->GetItemIndex();
    ASSERT_GE(shown, 0);
    PressKey(VK_TAB);
    Pump();
    EXPECT_FALSE(combo->GetDroppedDown());
    EXPECT_EQ(combo->GetItemIndex(), shown);
    EXPECT_EQ(combo->GetText(), combo->GetItems()->Get(shown));
    EXPECT_EQ(GetFocus(), next->Handle());
}

} // namespace
