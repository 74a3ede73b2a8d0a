// The time edit: its text and Time following each other, Up and Down on the
// part under the caret (with the locale's separator or another), typed
// texts, and the popup clock and time field driven by real clicks and keys.
#include "AdvTimePickerDropDown.h"
#include "DropDownInput.h"
#include "SysUtils.h"

#include <chrono>

using namespace pack_test;
using namespace dropdown_input;

namespace {

TDateTime HMS(int H, int M, int S, int MS = 0)
{
    return EncodeTime(H, M, S, MS);
}

template <class F>
bool PumpUntil(F Done)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Application->ProcessMessages();
    }
    return true;
}

// A time separator for the length of a test.
class TSeparatorScope {
public:
    explicit TSeparatorScope(wchar_t Separator) : old_(FormatSettings.TimeSeparator)
    {
        FormatSettings.TimeSeparator = Separator;
    }
    ~TSeparatorScope() { FormatSettings.TimeSeparator = old_; }

private:
    wchar_t old_;
};

class TimePickerDropDownTest : public FormTest {
protected:
    static void SetUpTestSuite()
    {
        // The hand cursor and the platform's first time field make GDI
        // objects once per process.
        ::SetCursor(Screen->GetCursors(crHandPoint));
        auto* host = New<TForm>(nullptr);
        host->SetBounds(40, 40, 200, 100);
        auto* field = New<TDateTimePicker>(host);
        field->SetParent(host);
        field->SetKind(dtkTime);
        field->SetFormat(L"HH:mm:ss");
        host->Show();
        Pump();
        host->Free();
        Pump();
    }
    void SetUp() override
    {
        FormTest::SetUp();
        Make();
    }
    void Make()
    {
        edit = New<TAdvTimePickerDropDown>(form);
        edit->SetBounds(20, 20, 120, 21);
        edit->SetParent(form);
        edit->SetTabStop(true);
        edit->OnTimeChange = [this](TObject*) { ++timeChanges; };
        ShowForm();
        edit->SetFocus();
        Pump();
    }
    void OpenByClick()
    {
        Click(edit->GetButton(), {edit->GetButton()->GetWidth() / 2, edit->GetHeight() / 2});
        Pump();
    }
    TAdvTimePickerDropDown* edit = nullptr;
    int timeChanges = 0;
};

TEST_F(TimePickerDropDownTest, StartsAtMidnightWithTypingOff)
{
    EXPECT_EQ(edit->GetText(), L"00:00:00");
    EXPECT_EQ(edit->GetTime(), 0.0);
    EXPECT_FALSE(edit->GetEditorEnabled());
    EXPECT_EQ(edit->GetEditMask(), L"!90:00:00;1; ");
    EXPECT_FALSE(edit->GetDropDownHeader()->GetVisible());
    EXPECT_FALSE(edit->GetDropDownFooter()->GetVisible());
    Key(VK_UP);
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetText(), L"00:00:00") << "Up and Down change nothing while typing is off";
    EXPECT_EQ(timeChanges, 0);
}

TEST_F(TimePickerDropDownTest, UpAndDownChangeThePartUnderTheCaret)
{
    edit->SetEditorEnabled(true);
    struct Case {
        const char* what;
        wchar_t separator;
        bool seconds;
        TDateTime start;
        int caret;
        WORD key;
        const wchar_t* text;
    } cases[] = {
        {"minute 59 wraps without carry", L':', true, HMS(10, 59, 30), 3, VK_DOWN, L"10:00:30"},
        {"hour 0 wraps to 23", L':', true, HMS(0, 0, 0), 0, VK_UP, L"23:00:00"},
        {"caret at 2 is still the hour", L':', true, HMS(12, 34, 56), 2, VK_DOWN, L"13:34:56"},
        {"caret at 5 is the minute", L':', true, HMS(12, 34, 56), 5, VK_UP, L"12:33:56"},
        {"caret at 6 is the second", L':', true, HMS(12, 34, 56), 6, VK_DOWN, L"12:34:57"},
        {"second 0 wraps to 59", L':', true, HMS(12, 34, 0), 8, VK_UP, L"12:34:59"},
        {"without seconds the minute", L':', false, HMS(12, 34, 0), 5, VK_UP, L"12:33"},
        {"another separator, minute", L'.', true, HMS(10, 59, 30), 4, VK_DOWN, L"10.00.30"},
        {"another separator, second", L'.', true, HMS(10, 59, 30), 7, VK_UP, L"10.59.29"},
        {"another separator, hour", L'.', true, HMS(23, 5, 0), 1, VK_DOWN, L"00.05.00"},
    };
    for (const Case& c : cases) {
        TSeparatorScope separator(c.separator);
        edit->SetShowSeconds(c.seconds);
        edit->SetShowSeconds(!c.seconds);
        edit->SetShowSeconds(c.seconds);
        edit->SetTime(c.start);
        timeChanges = 0;
        SendMessageW(edit->Handle(), EM_SETSEL, c.caret, c.caret);
        Key(c.key);
        EXPECT_EQ(edit->GetText(), c.text) << c.what;
        EXPECT_EQ(timeChanges, 1) << c.what;
        EXPECT_EQ(edit->GetSelStart(), c.caret) << c.what << ": the caret stays";
    }
}

TEST_F(TimePickerDropDownTest, TimeAndTextFollowEachOther)
{
    edit->SetTime(HMS(13, 45, 30, 250));
    EXPECT_EQ(edit->GetText(), L"13:45:30");
    EXPECT_EQ(edit->GetTime(), HMS(13, 45, 30)) << "the parse of the text drops the milliseconds";
    edit->SetShowSeconds(false);
    EXPECT_EQ(edit->GetText(), L"13:45");
    EXPECT_EQ(edit->GetEditMask(), L"!90:00;1; ");
    edit->SetShowSeconds(true);

    struct Case {
        const char* what;
        const wchar_t* typed;
        TDateTime time;
        const wchar_t* text;
    } cases[] = {
        {"a blank first digit, whole hour", L" 7:00:00", HMS(7, 0, 0), L"07:00:00"},
        {"a blank first digit, minutes", L" 7:15:00", HMS(7, 15, 0), L" 7:15:00"},
        {"an hour past 23", L"25:00:00", HMS(7, 15, 0), L"25:00:00"},
        {"a minute past 59", L"10:75:00", HMS(7, 15, 0), L"10:75:00"},
        {"an ordinary time", L"18:20:05", HMS(18, 20, 5), L"18:20:05"},
    };
    for (const Case& c : cases) {
        EXPECT_NO_THROW(edit->SetRawText(c.typed)) << c.what;
        Pump();
        EXPECT_EQ(edit->GetTime(), c.time) << c.what;
        EXPECT_EQ(edit->GetText(), c.text) << c.what;
    }
}

TEST_F(TimePickerDropDownTest, AClickOnTheButtonShowsTimeOnTheClock)
{
    edit->SetTime(HMS(9, 30, 0));
    OpenByClick();
    ASSERT_TRUE(edit->GetDroppedDown());
    ASSERT_NE(edit->GetWatch(), nullptr);
    EXPECT_EQ(edit->GetWatch()->GetTime(), HMS(9, 30, 0));
    EXPECT_TRUE(IsWindowVisible(edit->GetWatch()->Handle()));
    EXPECT_EQ(edit->GetDropDownForm()->GetWidth(), 170);
    edit->HideDropDown(false);
    Pump();
}

TEST_F(TimePickerDropDownTest, ATextThatIsNoTimeOpensTheClockAtTime)
{
    edit->SetTime(HMS(8, 15, 0));
    edit->SetRawText(L"25:00:00");
    Pump();
    ASSERT_EQ(edit->GetTime(), HMS(8, 15, 0));
    OpenByClick();
    ASSERT_TRUE(edit->GetDroppedDown());
    EXPECT_EQ(edit->GetWatch()->GetTime(), HMS(8, 15, 0));
    edit->HideDropDown(true);
    Pump();
}

TEST_F(TimePickerDropDownTest, AClickOnTheClockUpdatesTheTextWhileOpen)
{
    struct Case {
        const char* what;
        bool animation;
        bool timePicker;
    } cases[] = {
        {"without animation", false, false},
        {"with animation", true, false},
        {"with the time field", false, true},
        {"with the time field and animation", true, true},
    };
    for (const Case& c : cases) {
        edit->SetAnimation(c.animation);
        edit->SetShowTimePicker(c.timePicker);
        edit->SetTime(HMS(9, 30, 0));
        timeChanges = 0;
        OpenByClick();
        ASSERT_TRUE(edit->GetDroppedDown()) << c.what;
        TAdvWatch* watch = edit->GetWatch();
        // Right of the clock's centre: three o'clock.
        Click(watch, {watch->GetCenter().x + 40, watch->GetCenter().y});
        ASSERT_TRUE(PumpUntil([&] { return !watch->IsAnimating(); })) << c.what;
        EXPECT_TRUE(edit->GetDroppedDown()) << c.what;
        EXPECT_EQ(edit->GetText(), L"03:30:00") << c.what;
        EXPECT_EQ(edit->GetTime(), HMS(3, 30, 0)) << c.what;
        if (c.timePicker) {
            ASSERT_NE(edit->GetTimePicker(), nullptr);
            Word h = 0, m = 0, s = 0, ms = 0;
            DecodeTime(edit->GetTimePicker()->GetTime(), h, m, s, ms);
            EXPECT_EQ(h, 3) << c.what;
            EXPECT_EQ(m, 30) << c.what;
            EXPECT_EQ(timeChanges, 1) << c.what;
        }
        edit->HideDropDown(false);
        Pump();
        EXPECT_EQ(edit->GetTime(), HMS(3, 30, 0)) << c.what << ": closing keeps it";
    }
}

TEST_F(TimePickerDropDownTest, TheTimeFieldSitsUnderTheClockAndShowsItsTime)
{
    edit->SetShowTimePicker(true);
    edit->SetTime(HMS(9, 30, 15));
    OpenByClick();
    ASSERT_TRUE(edit->GetDroppedDown());
    TDateTimePicker* field = edit->GetTimePicker();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(edit->GetPanel()->GetHeight(), field->GetHeight() + 170);
    EXPECT_EQ(field->GetFormat(), L"HH:mm:ss");
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(field->GetTime(), h, m, s, ms);
    EXPECT_EQ(h * 3600 + m * 60 + s, 9 * 3600 + 30 * 60 + 15);
    edit->HideDropDown(false);
    Pump();
    edit->SetShowTimePicker(false);
    OpenByClick();
    ASSERT_TRUE(edit->GetDroppedDown());
    EXPECT_FALSE(field->GetVisible()) << "hidden again without ShowTimePicker";
    edit->HideDropDown(false);
    Pump();
}

TEST_F(TimePickerDropDownTest, KeysOnThePopupMoveTheClock)
{
    edit->SetAnimation(false);
    edit->SetTime(HMS(10, 45, 0));
    OpenByClick();
    ASSERT_TRUE(edit->GetDroppedDown());
    Key(VK_PRIOR);
    EXPECT_EQ(edit->GetText(), L"11:45:00");
    Key(VK_END);
    EXPECT_EQ(edit->GetText(), L"12:00:00");
    Key('A');
    EXPECT_EQ(edit->GetText(), L"00:00:00");
    Key(VK_LEFT);
    EXPECT_EQ(edit->GetText(), L"23:59:00");
    EXPECT_TRUE(edit->GetDroppedDown());
    Key(VK_RETURN);
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_EQ(edit->GetTime(), HMS(23, 59, 0));
}

TEST_F(TimePickerDropDownTest, EscapePutsTheClockBack)
{
    edit->SetAnimation(false);
    edit->SetTime(HMS(9, 30, 0));
    OpenByClick();
    ASSERT_TRUE(edit->GetDroppedDown());
    TAdvWatch* watch = edit->GetWatch();
    Click(watch, {watch->GetCenter().x + 40, watch->GetCenter().y});
    ASSERT_EQ(edit->GetText(), L"03:30:00");
    Key(VK_ESCAPE);
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_EQ(edit->GetText(), L"09:30:00");
    EXPECT_EQ(edit->GetTime(), HMS(9, 30, 0));
    EXPECT_EQ(watch->GetTime(), HMS(9, 30, 0));
}

TEST_F(TimePickerDropDownTest, AnAutomaticClockChangesNothing)
{
    edit->GetWatchSettings()->SetAuto(true);
    edit->SetTime(HMS(9, 30, 0));
    OpenByClick();
    ASSERT_TRUE(edit->GetDroppedDown());
    TAdvWatch* watch = edit->GetWatch();
    Click(watch, {watch->GetCenter().x + 40, watch->GetCenter().y});
    Key(VK_PRIOR);
    edit->HideDropDown(false);
    Pump();
    EXPECT_EQ(edit->GetTime(), HMS(9, 30, 0));
}

TEST_F(TimePickerDropDownTest, ComponentStylesColourTheClockAppearance)
{
    edit->SetComponentStyle(tsOffice2003Blue);
    TWatchAppearance* a = edit->GetWatchAppearance();
    EXPECT_EQ(a->GetBackgroundColor(), RGB(175, 210, 255));
    EXPECT_EQ(a->GetAMPMBorderColor(), RGB(0, 45, 150));
    EXPECT_EQ(a->GetHourPointerShadow(), clWhite);
    EXPECT_EQ(a->GetSecondPointer(), clWhite);
    edit->SetComponentStyle(tsWindowsXP);
    EXPECT_EQ(a->GetBackgroundColor(), clBtnFace);
    OpenByClick();
    ASSERT_TRUE(edit->GetDroppedDown());
    EXPECT_EQ(edit->GetWatch()->GetAppearance()->GetBackgroundColor(), clBtnFace) << "copied at the opening";
    edit->HideDropDown(true);
    Pump();
}

} // namespace
