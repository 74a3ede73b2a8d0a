// The spin editor: stepping by real keys and arrow presses for every kind,
// date fields chosen by the caret, the year step from 29 February, the
// repeat timer, the character filter and the arrows' pixels.
#include <gtest/gtest.h>
#include "EditorTestSupport.h"
#include "PlatformProbe.h"
#include "SysUtils.h"
#include "asgspin.h"

namespace {

using pack_test::Pump;
using pack_test::TSnapshot;

void RealKey(WORD Key)
{
    INPUT in[2]{};
    for (auto& i : in) {
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = Key;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(Key, MAPVK_VK_TO_VSC));
    }
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Pump();
}

class SpinEditTest : public pack_test::FormTest {
protected:
    void SetUp() override
    {
        editor_test::WarmUpPlatformControls();
        FormTest::SetUp();
        saved_ = FormatSettings;
        FormatSettings.DecimalSeparator = L'.';
        FormatSettings.ThousandSeparator = L',';
        FormatSettings.TimeSeparator = L':';
        FormatSettings.LongTimeFormat = L"h:mm:ss";
        FormatSettings.DateSeparator = L'.';
        FormatSettings.ShortDateFormat = L"d.M.yyyy";
    }
    void TearDown() override
    {
        FormatSettings = saved_;
        FormTest::TearDown();
    }
    TAsgSpinEdit* NewSpin()
    {
        auto* spin = New<TAsgSpinEdit>(form);
        spin->SetParent(form);
        spin->SetBounds(20, 20, 120, 24);
        return spin;
    }
    // Shows the form, focuses the spin and puts the caret.
    void Focus(TAsgSpinEdit* Spin, int Caret)
    {
        ShowForm();
        Spin->SetFocus();
        Pump();
        Spin->SetSelStart(Caret);
        Spin->SetSelLength(0);
    }
    TFormatSettings saved_;
};

enum Action { kUp, kDown, kPageUp, kPageDown, arrowUp, arrowDown };

void Do(TAsgSpinEdit* Spin, Action A)
{
    static const WORD keys[] = {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT};
    if (A <= kPageDown) {
        RealKey(keys[A]);
        return;
    }
    TAdvTimerSpeedButton* arrow = A == arrowUp ? Spin->GetButton()->UpButton() : Spin->GetButton()->DownButton();
    const POINT centre{arrow->GetLeft() + arrow->GetWidth() / 2, arrow->GetTop() + arrow->GetHeight() / 2};
    pack_test::ClickWithMouse(Spin->GetButton(), centre, centre);
}

TEST_F(SpinEditTest, StepsByKindThroughRealKeysAndArrowPresses)
{
    struct Case {
        const char* what;
        TAsgSpinType kind;
        std::function<void(TAsgSpinEdit*)> setup;
        String text;
        int caret;
        Action action;
        String expected;
    };
    auto none = [](TAsgSpinEdit*) {};
    const Case cases[] = {
        {"integer up", sptNormal, none, L"5", 0, kUp, L"6"},
        {"integer arrow up", sptNormal, none, L"5", 0, arrowUp, L"6"},
        {"integer arrow down", sptNormal, none, L"5", 0, arrowDown, L"4"},
        {"integer page steps by Increment", sptNormal, [](TAsgSpinEdit* s) { s->SetIncrement(3); }, L"5", 0, kPageUp,
         L"8"},
        {"integer clamped at the minimum", sptNormal, none, L"0", 0, kDown, L"0"},
        {"integer clamped at the maximum", sptNormal, none, L"100", 0, kUp, L"100"},
        {"equal limits do not clamp", sptNormal,
         [](TAsgSpinEdit* s) {
             s->SetMinValue(0);
             s->SetMaxValue(0);
         },
         L"100", 0, kUp, L"101"},
        {"float up", sptFloat, none, L"1.5", 0, kUp, L"1.6"},
        {"float page up", sptFloat, none, L"1.5", 0, kPageUp, L"2.5"},
        {"float page down", sptFloat, none, L"1.5", 0, kPageDown, L"0.5"},
        {"float precision", sptFloat, [](TAsgSpinEdit* s) { s->SetPrecision(2); }, L"1.5", 0, arrowUp, L"1.60"},
        {"float equal limits", sptFloat,
         [](TAsgSpinEdit* s) {
             s->SetMinFloatValue(1);
             s->SetMaxFloatValue(1);
         },
         L"100", 0, kPageUp, L"101"},
        {"minute past midnight", sptTime, none, L"23:59:30", 3, kUp, L"0:00:30"},
        {"minute back past midnight", sptTime, none, L"0:00:10", 2, kDown, L"23:59:10"},
        {"hours by the caret", sptTime, none, L"10:20:30", 0, kUp, L"11:20:30"},
        {"seconds by the caret", sptTime, none, L"10:20:30", 7, arrowDown, L"10:20:29"},
        {"hours step of two days down", sptTime, [](TAsgSpinEdit* s) { s->SetIncrementHours(48); }, L"10:00:00", 0,
         kDown, L"10:00:00"},
        {"hours step of a day and an hour down", sptTime, [](TAsgSpinEdit* s) { s->SetIncrementHours(25); },
         L"10:00:00", 0, kDown, L"9:00:00"},
        {"without seconds", sptTime, [](TAsgSpinEdit* s) { s->SetShowSeconds(false); }, L"10:20", 4, kUp, L"10:21"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* spin = NewSpin();
        c.setup(spin);
        spin->SetSpinType(c.kind);
        spin->SetText(c.text);
        Focus(spin, c.caret);
        Do(spin, c.action);
        EXPECT_EQ(spin->GetText(), c.expected);
        spin->Free();
    }
}

TEST_F(SpinEditTest, DateFieldStepsFollowTheCaretAndTheFormat)
{
    struct Case {
        const wchar_t* format;
        wchar_t separator;
        String text;
        int caret;
        String expected;
    };
    const Case cases[] = {
        {L"d.M.yyyy", L'.', L"15.3.2024", 0, L"16.3.2024"},
        {L"d.M.yyyy", L'.', L"15.3.2024", 3, L"15.4.2024"},
        {L"d.M.yyyy", L'.', L"15.3.2024", 6, L"15.3.2025"},
        {L"d.M.yyyy", L'.', L"31.1.2024", 4, L"29.2.2024"},
        {L"M/d/yyyy", L'/', L"3/15/2024", 0, L"4/15/2024"},
        {L"M/d/yyyy", L'/', L"3/15/2024", 2, L"3/16/2024"},
        {L"M/d/yyyy", L'/', L"3/15/2024", 7, L"3/15/2025"},
        // Year first, month before day: still month, day, year from the left.
        {L"yyyy-MM-dd", L'-', L"2024-03-15", 0, L"2024-04-15"},
        {L"yyyy-MM-dd", L'-', L"2024-03-15", 5, L"2024-03-16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.text.begin(), c.text.end()) << " caret " << c.caret);
        FormatSettings.ShortDateFormat = c.format;
        FormatSettings.DateSeparator = c.separator;
        auto* spin = NewSpin();
        spin->SetSpinType(sptDate);
        spin->SetText(c.text);
        Focus(spin, c.caret);
        RealKey(VK_UP);
        EXPECT_EQ(spin->GetText(), c.expected);
        EXPECT_EQ(spin->GetSelStart(), c.caret) << "the caret stays";
        EXPECT_EQ(spin->UsDates(), c.format[0] != L'd');
        spin->Free();
    }
}

TEST_F(SpinEditTest, YearStepFrom29FebruaryLeavesTheValueByKeyAndArrow)
{
    auto* spin = NewSpin();
    spin->SetSpinType(sptDate);
    spin->SetText(L"29.2.2024");
    Focus(spin, 6);
    RealKey(VK_UP);
    EXPECT_EQ(spin->GetText(), L"29.2.2024");
    spin->SetSelStart(6);
    Do(spin, arrowDown);
    EXPECT_EQ(spin->GetText(), L"29.2.2024");
    // Called directly, the step still reports that it could not be made.
    spin->SetSelStart(6);
    EXPECT_THROW(spin->IncrementValue(false), Exception);
    // Four years on the day exists.
    spin->SetText(L"29.2.2024");
    spin->SetSelStart(0);
    RealKey(VK_DOWN);
    EXPECT_EQ(spin->GetText(), L"28.2.2024");
}

TEST_F(SpinEditTest, HeldArrowRepeatsAfter400ThenEvery100Milliseconds)
{
    auto* spin = NewSpin();
    spin->SetText(L"10");
    Focus(spin, 0);
    TAdvTimerSpeedButton* up = spin->GetButton()->UpButton();
    EXPECT_EQ(up->RepeatTimer(), nullptr) << "made by the first press";
    const POINT at = spin->GetButton()->ClientToScreen(POINT{up->GetWidth() / 2, up->GetHeight() / 2});
    SetCursorPos(at.x, at.y);
    Pump();
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof press);
    Pump();
    ASSERT_NE(up->RepeatTimer(), nullptr);
    EXPECT_TRUE(up->RepeatTimer()->GetEnabled());
    EXPECT_EQ(up->RepeatTimer()->GetInterval(), 400u);
    EXPECT_EQ(spin->GetText(), L"10") << "no step on the press itself";
    for (int i = 0; i < 200 && spin->GetText() == L"10"; ++i) {
        Sleep(10);
        Application->ProcessMessages();
    }
    EXPECT_EQ(spin->GetText(), L"11") << "the first repeat";
    EXPECT_EQ(up->RepeatTimer()->GetInterval(), 100u);
    for (int i = 0; i < 100 && spin->GetText() == L"11"; ++i) {
        Sleep(10);
        Application->ProcessMessages();
    }
    EXPECT_EQ(spin->GetText(), L"12");
    press.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &press, sizeof press);
    Pump();
    EXPECT_FALSE(up->RepeatTimer()->GetEnabled());
    const int released = spin->GetValue();
    EXPECT_GE(released, 13) << "the release over the button steps once more";
    Sleep(250);
    Pump();
    EXPECT_EQ(spin->GetValue(), released) << "no repeat after the release";
}

TEST_F(SpinEditTest, RepeatThatCannotStepStopsItsTimer)
{
    auto* spin = NewSpin();
    spin->SetSpinType(sptDate);
    spin->SetText(L"29.2.2024");
    Focus(spin, 6);
    TAdvTimerSpeedButton* up = spin->GetButton()->UpButton();
    up->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ASSERT_TRUE(up->RepeatTimer()->GetEnabled());
    up->Click();
    EXPECT_FALSE(up->RepeatTimer()->GetEnabled());
    EXPECT_EQ(spin->GetText(), L"29.2.2024");
    up->Perform(WM_LBUTTONUP, 0, MAKELPARAM(300, 300));
}

TEST_F(SpinEditTest, CharacterFilterRefusesWhatTheKindCannotHold)
{
    struct Case {
        const char* what;
        TAsgSpinType kind;
        int precision;
        String text;
        int selStart, selLength;
        String typed;
        String expected;
    };
    const Case cases[] = {
        {"second decimal separator", sptFloat, 0, L"1.5", 3, 0, L".", L"1.5"},
        {"separator over the selected first", sptFloat, 0, L"1.5", 1, 1, L".", L"1.5"},
        {"third decimal with precision 2", sptFloat, 2, L"1.25", 4, 0, L"7", L"1.25"},
        {"decimal before the separator", sptFloat, 2, L"1.25", 0, 0, L"7", L"71.25"},
        {"thousand separator in a float", sptFloat, 0, L"15", 1, 0, L",", L"15"},
        {"letter in an integer", sptNormal, 0, L"15", 2, 0, L"a", L"15"},
        {"minus at the start", sptNormal, 0, L"15", 0, 0, L"-", L"-15"},
        {"minus inside", sptNormal, 0, L"15", 1, 0, L"-", L"15"},
        {"third time separator", sptTime, 0, L"1:2:3", 5, 0, L":", L"1:2:3"},
        {"time separator in a date", sptDate, 0, L"1.2.2024", 0, 0, L":", L"1.2.2024"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto* spin = NewSpin();
        spin->SetSpinType(c.kind);
        spin->SetPrecision(c.precision);
        spin->SetMinValue(-100);
        ShowForm();
        spin->SetFocus();
        spin->SetText(c.text);
        spin->SetSelStart(c.selStart);
        spin->SetSelLength(c.selLength);
        pack_test::TypeChars(c.typed);
        EXPECT_EQ(spin->GetText(), c.expected);
        spin->Free();
    }
}

TEST_F(SpinEditTest, EditorOffStillStepsByArrowsButTakesNoTyping)
{
    auto* spin = NewSpin();
    spin->SetEditorEnabled(false);
    spin->SetText(L"42");
    Focus(spin, 1);
    RealKey(VK_DELETE);
    EXPECT_EQ(spin->GetText(), L"42");
    pack_test::TypeChars(L"7\b");
    EXPECT_EQ(spin->GetText(), L"42");
    RealKey(VK_UP);
    EXPECT_EQ(spin->GetText(), L"43");
    EXPECT_EQ(spin->GetSelLength(), 2) << "setting the value selects the whole text";
    Do(spin, arrowDown);
    EXPECT_EQ(spin->GetText(), L"42");
    spin->SetReadOnly(true);
    spin->SetEditorEnabled(true);
    RealKey(VK_UP);
    EXPECT_EQ(spin->GetText(), L"42") << "read-only beeps";
}

TEST_F(SpinEditTest, SwitchingTheKindRewritesTheTextAtOnce)
{
    auto* spin = NewSpin();
    struct Case {
        String text;
        TAsgSpinType kind;
        String expected;
    };
    for (const Case& c : {Case{L"abc", sptNormal, L"0"}, Case{L"7", sptFloat, L"7"}, Case{L"x", sptFloat, L"0"},
                          Case{L"x", sptDate, L"30.12.1899"}, Case{L"x", sptTime, L"0:00:00"},
                          Case{L"12:5", sptTime, L"12:05:00"}}) {
        spin->SetText(c.text);
        spin->SetSpinType(c.kind);
        EXPECT_EQ(spin->GetText(), c.expected) << c.kind;
    }
    // Leaving the editor clamps a typed value.
    spin->SetSpinType(sptNormal);
    auto* other = New<TAsgSpinEdit>(form);
    other->SetParent(form);
    other->SetBounds(20, 80, 120, 24);
    ShowForm();
    spin->SetFocus();
    spin->SetText(L"250");
    other->SetFocus();
    Pump();
    EXPECT_EQ(spin->GetText(), L"100");
}

TEST_F(SpinEditTest, ArrowsPaintWithButtonColourAndInHighContrast)
{
    auto* spin = NewSpin();
    ShowForm();
    TAsgSpinButton* pair = spin->GetButton();
    const int w = pair->GetWidth();
    TAdvTimerSpeedButton* down = pair->DownButton();
    pair->SetButtonColor(clRed);
    {
        TSnapshot shot(pair);
        EXPECT_EQ(shot.Pixel(1, 1), ColorToRGB(clRed));
        EXPECT_EQ(shot.Pixel(6, 3), ColorToRGB(clBlack)) << "the up triangle";
        EXPECT_EQ(shot.Pixel(6, down->GetTop() + 3), ColorToRGB(clBlack)) << "the down triangle";
        EXPECT_EQ(shot.Pixel(w - 2, down->GetTop() + 3), ColorToRGB(clRed));
    }
    pair->SetButtonColorHot(clLime);
    pair->UpButton()->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(TSnapshot(pair).Pixel(1, 1), ColorToRGB(clLime));
    pair->UpButton()->Perform(CM_MOUSELEAVE, 0, 0);

    PlatformProbe().HighContrast = true;
    TSnapshot contrast(pair);
    ResetPlatformProbe();
    EXPECT_EQ(contrast.Pixel(1, 1), ColorToRGB(clBlack));
    EXPECT_EQ(contrast.Pixel(w - 7, 5), ColorToRGB(clWhite)) << "the up triangle in white";
    EXPECT_EQ(contrast.Pixel(w - 7, down->GetTop() + 4), ColorToRGB(clWhite));

    // Classic: the default arrow glyph, black on the button face.
    pair->SetButtonColor(clNone);
    TSnapshot classic(pair);
    const TRect upArea(0, 0, w, down->GetTop());
    EXPECT_EQ(classic.Count(clBlack, upArea), 16) << "the whole triangle";
    EXPECT_EQ(classic.Count(clOlive, upArea), 0) << "drawn on its transparent colour";
    EXPECT_EQ(classic.Extent(clBlack, upArea).Width(), 7);

}

} // namespace

namespace {

TEST_F(SpinEditTest, KeypadDecimalKeyTypesTheLocalesSeparator)
{
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    auto* spin = NewSpin();
    spin->SetSpinType(sptFloat);
    spin->SetText(L"1");
    Focus(spin, 1);
    // The keypad's decimal key carries scan code 0x53 (bit 22 of the key data set).
    const LPARAM keypad = (0x53 << 16) | 1, mainKey = (0x34 << 16) | 1;
    spin->SetExcelStyleDecimalSeparator(true);
    PostMessageW(spin->Handle(), WM_CHAR, L'.', mainKey);
    Pump();
    EXPECT_EQ(spin->GetText(), L"1") << "the main key's '.' is the thousand separator here: refused";
    PostMessageW(spin->Handle(), WM_CHAR, L'.', keypad);
    Pump();
    EXPECT_EQ(spin->GetText(), L"1,");
}

} // namespace
