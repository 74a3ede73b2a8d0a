// The calculator drop-down on a shown form: key sequences clicked on the
// keypad of the open popup (with "." and with "," as the decimal), typed on
// the open popup and into the closed edit, and the popup's own keys.
#include "AdvCalculatorDropdown.h"
#include "DropDownInput.h"
#include "SysUtils.h"

#include <sstream>

using namespace pack_test;
using namespace dropdown_input;

namespace {

// Keys and the display they leave; a case may go on with more steps.
struct Step {
    const wchar_t* keys;
    const wchar_t* display;
};
struct Case {
    const char* name;
    std::vector<Step> steps;
    // Run before the first step, with the popup open.
    std::function<void(TAdvCalculatorDropdown*)> setup;
};

const std::vector<Case>& KeypadCases()
{
    static const std::vector<Case> cases = {
        {"left to right", {{L"2 + 3 * 4 =", L"20.00"}}},
        {"operator twice", {{L"2 + +", L"4.00"}}},
        {"equals again repeats nothing", {{L"2 + 3 = =", L"5.00"}}},
        {"percent", {{L"2 0 0 + 1 0 %", L"20.00"}, {L"=", L"220.00"}}},
        {"division by zero", {{L"6 / 0 =", L"Error"}, {L"5", L"5.00"}}},
        {"digits past the precision", {{L"1 . 2 3 6", L"1.24"}}},
        {"a digit extends the magnitude", {{L"5 +/- 3", L"-53.00"}}},
        {"a decimal digit extends the magnitude", {{L"5 . +/- 3", L"-5.30"}}},
        {"CE ends decimal entry", {{L"5 . 3 CE 7", L"7.00"}}},
        {"C ends decimal entry", {{L"5 . 3 C 7", L"7.00"}}},
        {"the captionless key ends decimal entry", {{L"5 . 3 ON 7", L"7.00"}}},
        {"Back steps the decimals back", {{L"1 . 2 3 Back 5", L"1.25"}}},
        {"Back on one digit", {{L"7 Back", L"0.00"}}},
        {"a digit after a root starts anew", {{L"9 sqrt", L"3.00"}, {L"4", L"4.00"}}},
        {"a digit after a percent starts anew", {{L"5 0 + 1 0 %", L"5.00"}, {L"7", L"7.00"}}},
        {"a digit after 1/x starts anew", {{L"4 1/x", L"0.25"}, {L"2", L"2.00"}}},
        {"root of a negative", {{L"4 +/- sqrt", L"Error"}}},
        {"reciprocal of zero", {{L"0 1/x", L"Error"}}},
        {"Back while an operation is pending", {{L"2 + 3 Back", L"3.00"}}},
        {"memory recall", {{L"5 MS C MR", L"5.00"}, {L"3", L"3.00"}}},
        {"memory add", {{L"5 MS C 2 M+ MR", L"7.00"}}},
        {"memory clear", {{L"5 MS MC C MR", L"0.00"}}},
        {"ten more decimals change nothing",
         {{L"1 . 2 3 4 4 4 4 4 4 4 4 4 4", L"1.23"}, {L"+ 1 =", L"2.23"}}},
        {"an overflow is an error and is not kept",
         {{L"* =", L"Error"}, {L"2 + 3 =", L"5.00"}},
         [](TAdvCalculatorDropdown* c) { c->SetValue(1E200L); }},
        {"an overflowing memory is an error",
         {{L"MS M+", L"Error"}, {L"MR", L"1.5E308"}},
         [](TAdvCalculatorDropdown* c) {
             c->SetPrecision(-1);
             c->SetValue(1.5E308L);
         }},
        {"an overflow with free precision",
         {{L"* =", L"Error"}, {L"2 + 3 =", L"5"}},
         [](TAdvCalculatorDropdown* c) {
             c->SetPrecision(-1);
             c->SetValue(1E200L);
         }},
        {"sign of an exponent form", {{L"+/-", L"-1E-5"}, {L"+/-", L"1E-5"}},
         [](TAdvCalculatorDropdown* c) {
             c->SetPrecision(-1);
             c->SetValue(1E-5L);
         }},
        {"Back leaves an exponent form", {{L"Back", L"1E20"}},
         [](TAdvCalculatorDropdown* c) {
             c->SetPrecision(-1);
             c->SetValue(1E20L);
         }},
        {"thousands", {{L"1 2 3 4", L"1,234.00"}, {L"MS C MR", L"1,234.00"}, {L"+ 1 =", L"1,235.00"}},
         [](TAdvCalculatorDropdown* c) { c->SetShowThousandSeparator(true); }},
    };
    return cases;
}

std::vector<String> Tokens(const wchar_t* Keys)
{
    std::wistringstream in(Keys);
    std::vector<String> tokens;
    for (String t; in >> t;)
        tokens.push_back(t);
    return tokens;
}

// The display with the separators of the current locale: "." and "," of
// the table swapped when "," is the decimal.
String Localized(const wchar_t* Display)
{
    String s = Display;
    if (FormatSettings.DecimalSeparator == L'.')
        return s;
    for (wchar_t& c : s)
        c = c == L'.' ? FormatSettings.DecimalSeparator : c == L',' ? FormatSettings.ThousandSeparator : c;
    return s;
}

class CalculatorDropdownTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        savedDecimal = FormatSettings.DecimalSeparator;
        savedThousand = FormatSettings.ThousandSeparator;
        calc = New<TAdvCalculatorDropdown>(form);
        calc->SetBounds(20, 20, 150, 21);
        calc->SetParent(form);
        calc->SetTabStop(true);
        ShowForm();
        calc->SetFocus();
        Pump();
    }
    void TearDown() override
    {
        if (calc->GetDroppedDown())
            calc->HideDropDown(false);
        FormatSettings.DecimalSeparator = savedDecimal;
        FormatSettings.ThousandSeparator = savedThousand;
        FormTest::TearDown();
    }
    void Open()
    {
        Sleep(260);
        calc->ShowDropDown();
        Pump();
        ASSERT_TRUE(calc->GetDroppedDown());
    }
    TCustomButtonPanel* Pad() const { return calc->GetButtonPanel(); }
    int KeyIndex(const String& Caption) const
    {
        const String caption = Caption == L"ON" ? String() : Caption;
        for (int i = 0; i < Pad()->GetButtons()->Count(); ++i)
            if (Pad()->GetButtons()->GetItem(i)->Caption == caption)
                return i;
        return -1;
    }
    // A key clicked as the mouse messages a click brings.
    void ClickKey(const String& Caption)
    {
        const int index = KeyIndex(Caption);
        ASSERT_GE(index, 0) << Caption.size();
        const TRect r = Pad()->GetButtonRect(index);
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        SendMessageW(Pad()->Handle(), WM_MOUSEMOVE, 0, at);
        SendMessageW(Pad()->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(Pad()->Handle(), WM_LBUTTONUP, 0, at);
        Pump();
    }
    void ClickKeys(const wchar_t* Keys)
    {
        for (const String& t : Tokens(Keys))
            ClickKey(t);
    }
    // A character typed through the keyboard: its key, with Shift when the
    // layout needs it; the system translates it into the character.
    static void TypeChar(wchar_t c)
    {
        if (c == L'\r') {
            Key(VK_RETURN);
            return;
        }
        const SHORT scan = VkKeyScanW(c);
        ASSERT_NE(scan, -1) << static_cast<int>(c);
        Key(LOBYTE(scan), (HIBYTE(scan) & 1) ? VK_SHIFT : 0);
    }
    static void Type(const String& Text)
    {
        for (wchar_t c : Text)
            TypeChar(c);
    }
    void RunOnKeypad(const Case& c)
    {
        SCOPED_TRACE(c.name);
        if (!calc->GetDroppedDown())
            Open();
        ClickKey(L"C");
        if (c.setup)
            c.setup(calc);
        for (const Step& step : c.steps) {
            ClickKeys(step.keys);
            EXPECT_EQ(calc->GetText(), Localized(step.display)) << "after " << String(step.keys).size();
        }
    }

    TAdvCalculatorDropdown* calc = nullptr;
    wchar_t savedDecimal = L'.';
    wchar_t savedThousand = L',';
};

TEST_F(CalculatorDropdownTest, KeySequencesOnTheKeypad)
{
    for (const Case& c : KeypadCases()) {
        RunOnKeypad(c);
        // Each case starts afresh.
        calc->SetShowThousandSeparator(false);
        calc->SetPrecision(2);
    }
}

TEST_F(CalculatorDropdownTest, KeySequencesWithCommaAsTheDecimal)
{
    FormatSettings.DecimalSeparator = L',';
    FormatSettings.ThousandSeparator = L'.';
    for (const Case& c : KeypadCases()) {
        RunOnKeypad(c);
        calc->SetShowThousandSeparator(false);
        calc->SetPrecision(2);
    }
}

// Rows whose keys all exist on the keyboard, typed on the open popup and
// into the closed edit.
struct TypedCase {
    const wchar_t* keys;
    const wchar_t* display;
};
const TypedCase TypedCases[] = {
    {L"2+3*4=", L"20.00"},  {L"2++", L"4.00"},    {L"2+3==", L"5.00"}, {L"200+10%", L"20.00"},
    {L"200+10%=", L"220.00"}, {L"6/0=", L"Error"}, {L"6/0=5", L"5.00"}, {L"12+3=", L"15.00"},
    {L"9-4=", L"5.00"},
};

TEST_F(CalculatorDropdownTest, KeysTypedOnTheOpenPopup)
{
    for (bool comma : {false, true}) {
        FormatSettings.DecimalSeparator = comma ? L',' : L'.';
        FormatSettings.ThousandSeparator = comma ? L'.' : L',';
        for (const TypedCase& c : TypedCases) {
            SCOPED_TRACE(testing::Message() << "typed " << String(c.keys).size() << " keys, comma " << comma);
            if (!calc->GetDroppedDown())
                Open();
            Type(L"c");
            Type(c.keys);
            EXPECT_TRUE(calc->GetDroppedDown());
            EXPECT_EQ(calc->GetText(), Localized(c.display));
        }
    }
}

TEST_F(CalculatorDropdownTest, KeysTypedIntoTheClosedEdit)
{
    for (bool comma : {false, true}) {
        FormatSettings.DecimalSeparator = comma ? L',' : L'.';
        FormatSettings.ThousandSeparator = comma ? L'.' : L',';
        for (const TypedCase& c : TypedCases) {
            SCOPED_TRACE(testing::Message() << "typed " << String(c.keys).size() << " keys, comma " << comma);
            Type(L"c");
            calc->SetValue(0);
            calc->SelectAll();
            Type(c.keys);
            EXPECT_FALSE(calc->GetDroppedDown());
            EXPECT_EQ(calc->GetText(), Localized(c.display));
            EXPECT_EQ(calc->GetText().find(L'+'), String::npos) << "an operator is never inserted";
        }
    }
}

TEST_F(CalculatorDropdownTest, EnterOnThePopupGivesTheResultAndCloses)
{
    // Opened by a click on the drop-down button.
    Click(calc->GetButton(), {8, 8});
    ASSERT_TRUE(calc->GetDroppedDown());
    Type(L"7*6\r");
    EXPECT_EQ(calc->GetText(), L"42.00");
    EXPECT_FALSE(calc->GetDroppedDown());
    EXPECT_FALSE(calc->GetDropDownForm()->GetVisible());
}

TEST_F(CalculatorDropdownTest, EscapeGivesBackTheDisplayOfTheOpening)
{
    Type(L"5");
    EXPECT_EQ(calc->GetText(), L"5.00");
    Key(VK_F4);
    ASSERT_TRUE(calc->GetDroppedDown());
    Type(L"3+");
    EXPECT_EQ(calc->GetText(), L"3.00") << "the first digit on the opened popup starts anew";
    Key(VK_ESCAPE);
    EXPECT_FALSE(calc->GetDroppedDown());
    EXPECT_EQ(calc->GetText(), L"5.00");
    // Nothing of the cancelled operation is left pending.
    Type(L"=");
    EXPECT_EQ(calc->GetText(), L"5.00");

    // Opened by F4 and closed by F4, the value stays.
    Sleep(260);
    Key(VK_F4);
    ASSERT_TRUE(calc->GetDroppedDown());
    Type(L"2*");
    Key(VK_F4);
    EXPECT_FALSE(calc->GetDroppedDown());
    EXPECT_EQ(calc->GetText(), L"2.00");
}

TEST_F(CalculatorDropdownTest, OpeningStylesAndValue)
{
    EXPECT_EQ(calc->GetEditType(), etFloat);
    EXPECT_EQ(calc->GetPrecision(), 2);
    EXPECT_TRUE(calc->GetSigned());
    EXPECT_EQ(calc->GetDropDownWidth(), 230);
    calc->SetValue(2.5L);
    EXPECT_EQ(calc->GetText(), L"2.50");
    EXPECT_EQ(calc->GetValue(), 2.5L);
    calc->SetRawText(L"");
    EXPECT_EQ(calc->GetValue(), 0);
    calc->SetRawText(L"junk");
    EXPECT_EQ(calc->GetValue(), 0);

    calc->GetCalcButtonAppearance()->SetColor(RGB(1, 2, 3));
    calc->SetDropDownColor(RGB(250, 250, 240));
    Open();
    EXPECT_FALSE(calc->GetSigned()) << "a typed minus subtracts while open";
    EXPECT_EQ(Pad()->GetButtonAppearance()->GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(Pad()->GetColor(), RGB(250, 250, 240));
    calc->HideDropDown(false);
    Pump();
    EXPECT_TRUE(calc->GetSigned());

    calc->SetComponentStyle(tsOffice2010Blue);
    TAdvButtonAppearance* b = calc->GetButtonAppearance();
    TButtonAppearance* c = calc->GetCalcButtonAppearance();
    EXPECT_EQ(c->GetColorHot(), b->GetColorHot());
    EXPECT_EQ(c->GetGlowColorHot(), b->GetColorHot());
    EXPECT_EQ(c->GetGlowColorDown(), b->GetColorHot());
    calc->SetComponentStyle(tsOffice2007Luna);
    EXPECT_EQ(c->GetGlowColorDown(), RGB(68, 194, 213));
    EXPECT_EQ(c->GetGlowColorHot(), b->GetColorDownTo());
}

} // namespace
