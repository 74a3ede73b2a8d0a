// The track bar editor and the platform track bar under it: values read back
// from the track bar, the arrow keys, drags over the edit, the popup's track
// bar moved by its own keys and thumb, and texts that are no number.
#include "AdvTrackBarDropDown.h"
#include "DropDownInput.h"
#include "SysUtils.h"
#include <commctrl.h>

using namespace pack_test;
using namespace dropdown_input;

namespace {

TEST(TrackBarTest, KeepsThePositionInsideTheRangeAndReportsRealMovesOnly)
{
    TOwned<TTrackBar> bar(New<TTrackBar>(nullptr));
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    struct Step {
        const char* what;
        void (TTrackBar::*set)(int);
        int value, min, max, position, changes;
    } steps[] = {
        {"position inside", &TTrackBar::SetPosition, 4, 0, 10, 4, 1},
        {"same position", &TTrackBar::SetPosition, 4, 0, 10, 4, 1},
        {"position past Max", &TTrackBar::SetPosition, 15, 0, 10, 10, 2},
        {"position below Min", &TTrackBar::SetPosition, -5, 0, 10, 0, 3},
        {"Min above Max", &TTrackBar::SetMin, 20, 0, 10, 0, 3},
        {"Max below Min", &TTrackBar::SetMax, -1, 0, 10, 0, 3},
        {"Max raised", &TTrackBar::SetMax, 30, 0, 30, 0, 3},
        {"Min moving the position", &TTrackBar::SetMin, 20, 20, 30, 20, 4},
        {"Max moving the position", &TTrackBar::SetMax, 25, 20, 25, 20, 4},
        {"Min equal to Max", &TTrackBar::SetMin, 25, 25, 25, 25, 5},
    };
    for (const Step& s : steps) {
        (bar.get()->*s.set)(s.value);
        EXPECT_EQ(bar->GetMin(), s.min) << s.what;
        EXPECT_EQ(bar->GetMax(), s.max) << s.what;
        EXPECT_EQ(bar->GetPosition(), s.position) << s.what;
        EXPECT_EQ(changes, s.changes) << s.what;
    }
}

class TrackBarDropDownTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        edit = New<TAdvTrackBarDropDown>(form);
        edit->SetBounds(20, 20, 150, 21);
        edit->SetParent(form);
        edit->SetTabStop(true);
        ShowForm();
        edit->SetFocus();
        Pump();
    }
    TAdvTrackBarDropDown* edit = nullptr;
};

TEST_F(TrackBarDropDownTest, StartsWithTheTrackBarDefaultsAndTypingOff)
{
    EXPECT_EQ(edit->GetMin(), 0);
    EXPECT_EQ(edit->GetMax(), 10);
    EXPECT_EQ(edit->GetPosition(), 0);
    EXPECT_EQ(edit->GetPageSize(), 2);
    EXPECT_EQ(edit->GetFrequency(), 1);
    EXPECT_FALSE(edit->GetEditorEnabled());
    EXPECT_EQ(edit->GetEditType(), etNumeric);
    EXPECT_FALSE(edit->GetDropDownHeader()->GetVisible());
    EXPECT_FALSE(edit->GetDropDownFooter()->GetVisible());
    ASSERT_NE(edit->GetTrackBar(), nullptr);
    EXPECT_EQ(edit->GetTrackBar()->GetHeight(), 40);
}

TEST_F(TrackBarDropDownTest, ValuesAreReadBackFromTheTrackBar)
{
    std::vector<std::string> events;
    edit->OnChange = [&](TObject*) { events.push_back("OnChange"); };
    edit->OnTrackChange = [&](TObject*) { events.push_back("OnTrackChange"); };
    edit->SetPosition(15);
    EXPECT_EQ(edit->GetPosition(), 10);
    EXPECT_EQ(edit->GetText(), L"10");
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], "OnChange") << "the text is written before OnTrackChange";
    EXPECT_EQ(events.back(), "OnTrackChange");
    edit->SetMin(20);
    EXPECT_EQ(edit->GetMin(), 0);
    edit->SetMax(-2);
    EXPECT_EQ(edit->GetMax(), 10);
    edit->SetMax(30);
    edit->SetMin(20);
    EXPECT_EQ(edit->GetMin(), 20);
    EXPECT_EQ(edit->GetPosition(), 20);
    EXPECT_EQ(edit->GetText(), L"20");
    edit->SetFrequency(5);
    edit->SetPageSize(3);
    EXPECT_EQ(edit->GetTrackBar()->GetFrequency(), 5);
    EXPECT_EQ(edit->GetTrackBar()->GetPageSize(), 3);
}

TEST_F(TrackBarDropDownTest, TextsThatAreNoNumberKeepPositionAndText)
{
    edit->SetPosition(7);
    for (const wchar_t* text : {L"-", L"99999999999", L"abc", L"1.5"}) {
        EXPECT_NO_THROW(edit->SetRawText(text));
        Pump();
        EXPECT_EQ(edit->GetPosition(), 7) << std::string(text, text + wcslen(text));
        EXPECT_EQ(edit->GetText(), text);
    }
    edit->SetRawText(L"3");
    EXPECT_EQ(edit->GetPosition(), 3);
    edit->SetRawText(L"");
    EXPECT_EQ(edit->GetPosition(), 0) << "an empty text is 0";
}

TEST_F(TrackBarDropDownTest, UpAndDownStepByTheFrequencyWhileTypingIsOff)
{
    edit->SetFrequency(3);
    edit->SetPosition(9);
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetPosition(), 9) << "a step past Max is refused";
    Key(VK_UP);
    EXPECT_EQ(edit->GetPosition(), 6);
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetPosition(), 9);
    Key(VK_UP, VK_MENU);
    EXPECT_EQ(edit->GetPosition(), 9) << "not with Alt";
    edit->HideDropDown(false);
    Pump();
    edit->SetEditorEnabled(true);
    Key(VK_UP);
    EXPECT_EQ(edit->GetPosition(), 9) << "not with typing on";
}

TEST_F(TrackBarDropDownTest, DraggingOverTheEditStepsByThePageSize)
{
    edit->SetPosition(5);
    MoveMouse(edit, {20, 10});
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(edit->GetDroppedDown()) << "the press opens the popup as well";
    MoveMouse(edit, {27, 10});
    EXPECT_EQ(edit->GetPosition(), 8) << "7 px right: +3";
    MoveMouse(edit, {24, 10});
    EXPECT_EQ(edit->GetPosition(), 7) << "3 px left: -1";
    for (int x = 25; x <= 31; ++x)
        MoveMouse(edit, {x, 10});
    EXPECT_EQ(edit->GetPosition(), 7) << "seven moves of 1 px: nothing";
    MouseButton(MOUSEEVENTF_LEFTUP);
    MoveMouse(edit, {60, 10});
    EXPECT_EQ(edit->GetPosition(), 7) << "the release ends the drag";
    EXPECT_EQ(edit->GetTrackBar()->GetPosition(), 7);

    edit->SetPageSize(0);
    MoveMouse(edit, {20, 10});
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MoveMouse(edit, {40, 10});
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(edit->GetPosition(), 7) << "no page size, no steps";
    edit->HideDropDown(false);
    Pump();
}

TEST_F(TrackBarDropDownTest, ThePopupTrackBarMovesByItsKeysAndThumb)
{
    edit->SetPosition(2);
    edit->ShowDropDown();
    Pump();
    ASSERT_TRUE(edit->GetDroppedDown());
    RECT popup{}, editRect{};
    GetWindowRect(edit->GetDropDownForm()->Handle(), &popup);
    GetWindowRect(edit->Handle(), &editRect);
    EXPECT_EQ(popup.right - popup.left, editRect.right - editRect.left) << "as wide as the edit";
    EXPECT_EQ(popup.bottom - popup.top, 50) << "2 + 40, raised to the popup's least height";
    TTrackBar* bar = edit->GetTrackBar();
    EXPECT_EQ(bar->GetPosition(), 2);
    std::vector<std::string> events;
    edit->OnChange = [&](TObject*) { events.push_back("OnChange"); };
    edit->OnTrackChange = [&](TObject*) { events.push_back("OnTrackChange"); };
    bar->SetFocus();
    Pump();
    Key(VK_RIGHT);
    EXPECT_EQ(edit->GetPosition(), 3);
    EXPECT_EQ(edit->GetText(), L"3");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "OnChange");
    EXPECT_EQ(events.back(), "OnTrackChange");
    Key(VK_END);
    EXPECT_EQ(edit->GetPosition(), 10);
    Key(VK_HOME);
    EXPECT_EQ(edit->GetPosition(), 0);
    // The thumb dragged to the right end.
    RECT thumb{};
    SendMessageW(bar->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const POINT grab{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    MoveMouse(bar, grab);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MoveMouse(bar, {bar->GetWidth() / 2, grab.y});
    MoveMouse(bar, {bar->GetWidth() + 30, grab.y});
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(edit->GetPosition(), 10);
    EXPECT_EQ(edit->GetText(), L"10");
    // Clicking elsewhere closes the popup and keeps the value.
    Click(form, {400, 300});
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_EQ(edit->GetPosition(), 10);
}

} // namespace
