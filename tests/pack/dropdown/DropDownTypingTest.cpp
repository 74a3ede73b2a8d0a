// Typed keys through the real input queue: what each edit type lets in,
// where the caret goes, the modified state and how often OnChange fires.
#include "AdvDropDown.h"
#include "../controls/PackControlsTestSupport.h"

using namespace pack_test;

namespace {

// Keys that are no characters, written into the typed text.
constexpr wchar_t kBack = L'\b';
constexpr wchar_t kDelete = 0x7F;
constexpr wchar_t kRight = L'\x2192';
constexpr wchar_t kLeft = L'\x2190';
constexpr wchar_t kEnd = L'\x2198';
constexpr wchar_t kHome = L'\x2196';

void SendVirtualKey(WORD Key)
{
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = Key;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    Pump();
}

// Each character as the keyboard would type it.
void Type(const std::wstring& Keys)
{
    for (wchar_t c : Keys) {
        switch (c) {
        case kBack: SendVirtualKey(VK_BACK); continue;
        case kDelete: SendVirtualKey(VK_DELETE); continue;
        case kRight: SendVirtualKey(VK_RIGHT); continue;
        case kLeft: SendVirtualKey(VK_LEFT); continue;
        case kEnd: SendVirtualKey(VK_END); continue;
        case kHome: SendVirtualKey(VK_HOME); continue;
        default: break;
        }
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wScan = in[1].ki.wScan = c;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, in, sizeof(INPUT));
        Pump();
    }
}

struct TypingCase {
    const wchar_t* name;
    wchar_t decimal;
    TDropDownEditType type;
    int precision;
    bool isSigned;
    int lengthLimit;
    const wchar_t* prefix;
    const wchar_t* suffix;
    const wchar_t* start;
    int selStart;
    int selEnd;
    const wchar_t* keys;
    const wchar_t* value;
    int caret;
    bool modified;
    int changes;
};

const TypingCase typingCases[] = {
    {L"float overtypes a full decimal part", L'.', etFloat, 2, false, 0, L"", L"", L"1.25", 3, 3, L"7", L"1.27", 4, true, 1},
    {L"float refuses a digit past the decimals", L'.', etFloat, 2, false, 0, L"", L"", L"1.25", 4, 4, L"7", L"1.25", 4, false, 0},
    {L"float without decimals refuses the separator", L'.', etFloat, 0, false, 0, L"", L"", L"12", 2, 2, L".", L"12", 2, false, 0},
    {L"a second separator jumps behind the first", L'.', etFloat, 1, false, 0, L"", L"", L"12.5", 1, 1, L".", L"12.5", 3, false, 0},
    {L"a separator into nothing makes 0.", L'.', etFloat, 2, false, 0, L"", L"", L"", 0, 0, L".", L"0.", 2, true, 1},
    {L"comma locale: 0, and a digit", L',', etFloat, 2, false, 0, L"", L"", L"", 0, 0, L",5", L"0,5", 3, true, 2},
    {L"money groups while typing", L'.', etMoney, 0, false, 0, L"", L"", L"", 0, 0, L"1234", L"1,234", 5, true, 4},
    {L"unsigned numbers refuse the minus", L'.', etNumeric, 0, false, 0, L"", L"", L"12", 1, 1, L"-", L"12", 1, false, 0},
    {L"signed minus toggles wherever the caret is", L'.', etNumeric, 0, true, 0, L"", L"", L"12", 1, 1, L"-", L"-12", 2, true, 1},
    {L"signed minus toggles back", L'.', etNumeric, 0, true, 0, L"", L"", L"-12", 3, 3, L"-", L"12", 2, true, 1},
    {L"numbers refuse letters", L'.', etNumeric, 0, false, 0, L"", L"", L"12", 2, 2, L"a", L"12", 2, false, 0},
    {L"a length limit guards the integer part", L'.', etFloat, 2, false, 3, L"", L"", L"123.4", 1, 1, L"5", L"123.4", 1, false, 0},
    {L"a length limit leaves the decimals", L'.', etFloat, 2, false, 3, L"", L"", L"123.4", 5, 5, L"5", L"123.45", 6, true, 1},
    {L"range refuses two separators in a row", L'.', etRange, 0, false, 0, L"", L"", L"1-", 2, 2, L",", L"1-", 2, false, 0},
    {L"range takes a separator after a digit", L'.', etRange, 0, false, 0, L"", L"", L"1", 1, 1, L";2", L"1;2", 3, true, 2},
    {L"range refuses a separator first", L'.', etRange, 0, false, 0, L"", L"", L"", 0, 0, L",", L"", 0, false, 0},
    {L"hex takes small letters", L'.', etHex, 0, false, 0, L"", L"", L"", 0, 1, L"ff", L"ff", 2, true, 2},
    {L"upper case", L'.', etUppercase, 0, false, 0, L"", L"", L"", 0, 0, L"ab", L"AB", 2, true, 2},
    {L"mixed case capitalises names", L'.', etMixedCase, 0, false, 0, L"", L"", L"", 0, 0, L"mcdonald", L"McDonald", 8, true, 8},
    {L"alphanumeric refuses other letters", L'.', etAlphaNumeric, 0, false, 0, L"", L"", L"a", 1, 1, L"\u00E9!1", L"a1", 2, true, 1},
    {L"valid characters only", L'.', etValidChars, 0, false, 0, L"", L"", L"", 0, 0, L"axb", L"ab", 2, true, 2},
    {L"End stops before the suffix", L'.', etString, 0, false, 0, L"$", L" kg", L"12", 1, 1, L"\x2198" L"3", L"123", 3, true, 1},
    {L"Right stops at the suffix", L'.', etString, 0, false, 0, L"$", L" kg", L"12", 1, 1, L"\x2192\x2192" L"4", L"124", 3, true, 1},
    {L"Home stops after the prefix", L'.', etString, 0, false, 0, L"$", L" kg", L"12", 2, 2, L"\x2196" L"0", L"012", 1, true, 1},
    {L"Left stops at the prefix", L'.', etString, 0, false, 0, L"$", L"", L"12", 1, 1, L"\x2190\x2190" L"9", L"912", 1, true, 1},
    {L"Backspace does not eat the prefix", L'.', etString, 0, false, 0, L"$", L"", L"12", 0, 0, L"\b", L"12", 0, false, 0},
    {L"Delete does not eat the suffix", L'.', etString, 0, false, 0, L"", L"%", L"12", 2, 2, L"\x7F", L"12", 2, false, 0},
    {L"typing over the whole value is one change", L'.', etString, 0, false, 0, L"", L"", L"abc", 0, 3, L"x", L"x", 1, true, 1},
    {L"Backspace over the whole value is one change", L'.', etString, 0, false, 0, L"", L"", L"abc", 0, 3, L"\b", L"", 0, true, 1},
    // A refused character after a whole selection leaves no blocked
    // notification behind for the next change.
    {L"a refusal keeps the next change", L'.', etNumeric, 0, false, 0, L"", L"", L"12", 0, 2, L"x\x2198" L"3", L"123", 3, true, 1},
};

class DropDownTypingTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        saved_ = FormatSettings;
        ShowForm();
    }
    void TearDown() override
    {
        FormatSettings = saved_;
        FormTest::TearDown();
    }

private:
    TFormatSettings saved_;
};

TEST_F(DropDownTypingTest, KeysAreFilteredByEditType)
{
    for (const TypingCase& c : typingCases) {
        SCOPED_TRACE(testing::PrintToString(String(c.name)));
        FormatSettings.DecimalSeparator = c.decimal;
        FormatSettings.ThousandSeparator = c.decimal == L'.' ? L',' : L'.';
        auto* edit = New<TAdvDropDown>(form);
        edit->SetBounds(10, 10, 200, 21);
        edit->SetParent(form);
        edit->SetEditType(c.type);
        edit->SetPrecision(c.precision);
        edit->SetSigned(c.isSigned);
        edit->SetLengthLimit(c.lengthLimit);
        edit->SetPrefix(c.prefix);
        edit->SetSuffix(c.suffix);
        edit->SetValidChars(L"ab");
        edit->SetRawText(String(c.prefix) + c.start + c.suffix);
        edit->SetFocus();
        Pump();
        const int lp = static_cast<int>(wcslen(c.prefix));
        SendMessageW(edit->Handle(), EM_SETSEL, lp + c.selStart, lp + c.selEnd);
        edit->SetModifiedFlag(false);
        int changes = 0;
        edit->OnChange = [&](TObject*) { ++changes; };
        Type(c.keys);
        EXPECT_EQ(edit->GetText(), c.value);
        EXPECT_EQ(edit->TControl::GetText(), String(c.prefix) + c.value + c.suffix);
        EXPECT_EQ(edit->GetSelStart() - lp, c.caret);
        EXPECT_EQ(edit->GetModified(), c.modified);
        EXPECT_EQ(changes, c.changes);
        edit->OnChange = nullptr;
        edit->Free();
        Pump();
    }
}

TEST_F(DropDownTypingTest, LeavingAnEmptyNumberFillsInZero)
{
    struct Case {
        TDropDownEditType type;
        int precision;
        bool allowNull;
        const wchar_t* value;
    };
    const Case cases[] = {
        {etFloat, 2, false, L"0.00"}, {etFloat, 2, true, L""}, {etNumeric, 0, false, L"0"}, {etMoney, 0, false, L"0"},
    };
    FormatSettings.DecimalSeparator = L'.';
    auto* other = New<TEdit>(form);
    other->SetParent(form);
    for (const Case& c : cases) {
        auto* edit = New<TAdvDropDown>(form);
        edit->SetParent(form);
        edit->SetEditType(c.type);
        edit->SetPrecision(c.precision);
        edit->SetAllowNumericNullValue(c.allowNull);
        edit->SetRawText(L"");
        edit->SetFocus();
        other->SetFocus();
        Pump();
        EXPECT_EQ(edit->GetText(), c.value) << c.type;
        edit->Free();
    }
}

} // namespace
