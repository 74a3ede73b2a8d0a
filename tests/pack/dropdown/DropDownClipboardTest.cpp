// Pasting through the real clipboard: what each edit type takes, and that a
// refused paste changes no text, caret or event; cut and copy report the
// selected part of the value.
#include "AdvDropDown.h"
#include "Clipbrd.h"
#include "../controls/PackControlsTestSupport.h"

using namespace pack_test;

namespace {

struct PasteCase {
    TDropDownEditType type;
    bool isSigned;
    wchar_t decimal;
    const wchar_t* pasted;  // null: no text on the clipboard
    const wchar_t* value;   // after pasting over a caret at the end of "7"
};

const PasteCase pasteCases[] = {
    {etString, false, L'.', L"12a", L"712a"},
    {etNumeric, false, L'.', L"12a", L"7"},
    {etNumeric, false, L'.', L"12-3", L"7"},
    {etNumeric, true, L'.', L"12-3", L"7"},
    {etNumeric, false, L'.', L"-5", L"7"},
    {etNumeric, false, L'.', L"25", L"725"},
    {etNumeric, false, L'.', L"\xFF11\xFF12", L"7"},
    {etNumeric, false, L'.', L" 1", L"7"},
    {etNumeric, false, L'.', L"1\r\n2", L"7"},
    {etFloat, false, L',', L"1.5", L"7"},
    {etFloat, false, L',', L"1,5", L"7"},  // no decimals at precision 0
    {etFloat, false, L',', L"1 234,5", L"7"},
    {etAlphaNumeric, false, L'.', L"ab1", L"7ab1"},
    {etAlphaNumeric, false, L'.', L"a b", L"7"},
    {etHex, false, L'.', L"FF", L"7"},
    {etUppercase, false, L'.', L"ab", L"7AB"},
    {etString, false, L'.', nullptr, L"7"},
};

class DropDownClipboardTest : public FormTest {
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
        Clipboard()->Clear();
        FormTest::TearDown();
    }

private:
    TFormatSettings saved_;
};

TEST_F(DropDownClipboardTest, PastesAreFilteredByEditType)
{
    for (const PasteCase& c : pasteCases) {
        SCOPED_TRACE(c.pasted ? testing::PrintToString(String(c.pasted)) : "no text");
        FormatSettings.DecimalSeparator = c.decimal;
        FormatSettings.ThousandSeparator = c.decimal == L'.' ? L',' : L'.';
        auto* edit = New<TAdvDropDown>(form);
        edit->SetParent(form);
        edit->SetEditType(c.type);
        edit->SetSigned(c.isSigned);
        edit->SetPrefix(L"<");
        edit->SetSuffix(L">");
        edit->SetRawText(L"<7>");
        edit->SetFocus();
        Pump();
        SendMessageW(edit->Handle(), EM_SETSEL, 2, 2);
        if (c.pasted)
            Clipboard()->SetAsText(c.pasted);
        else
            Clipboard()->Clear();
        int changes = 0;
        edit->OnChange = [&](TObject*) { ++changes; };
        SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
        Pump();
        EXPECT_EQ(edit->GetText(), c.value);
        if (String(c.value) == L"7") {
            EXPECT_EQ(edit->GetSelStart(), 2) << "a refusal leaves the caret";
            EXPECT_EQ(changes, 0) << "and fires nothing";
        }
        edit->OnChange = nullptr;
        edit->Free();
    }
}

TEST_F(DropDownClipboardTest, PasteKeepsToTheValueAndToTheLimits)
{
    auto* edit = New<TAdvDropDown>(form);
    edit->SetParent(form);
    edit->SetPrefix(L"$");
    edit->SetSuffix(L" kg");
    edit->SetRawText(L"$12 kg");
    edit->SetFocus();
    Pump();
    // A selection reaching into the suffix counts up to the value's end.
    Clipboard()->SetAsText(L"9");
    SendMessageW(edit->Handle(), EM_SETSEL, 2, 6);
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->TControl::GetText(), L"$19 kg");
    // Over MaxLength: nothing.
    edit->SetMaxLength(4);
    Clipboard()->SetAsText(L"3456");
    SendMessageW(edit->Handle(), EM_SETSEL, 3, 3);
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->GetText(), L"19");
    // The paste event may refuse.
    edit->SetMaxLength(0);
    edit->OnClipboardPaste = [](TObject*, const String& value, bool& allow) { allow = value != L"195"; };
    Clipboard()->SetAsText(L"5");
    SendMessageW(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->GetText(), L"19");
}

TEST_F(DropDownClipboardTest, CutAndCopyReportTheSelectedValue)
{
    auto* edit = New<TAdvDropDown>(form);
    edit->SetParent(form);
    edit->SetPrefix(L"$");
    edit->SetRawText(L"$1234");
    edit->SetFocus();
    Pump();
    std::vector<String> copied, cut;
    edit->OnClipboardCopy = [&](TObject*, const String& value, bool&) { copied.push_back(value); };
    edit->OnClipboardCut = [&](TObject*, const String& value, bool&) { cut.push_back(value); };
    // A selection that starts in the prefix reports the value's part only.
    SendMessageW(edit->Handle(), EM_SETSEL, 0, 3);
    SendMessageW(edit->Handle(), WM_COPY, 0, 0);
    SendMessageW(edit->Handle(), EM_SETSEL, 3, 5);
    SendMessageW(edit->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(copied, std::vector<String>{L"12"}) << "the cut reports no copy";
    EXPECT_EQ(cut, std::vector<String>{L"34"});
    EXPECT_EQ(edit->GetText(), L"12");
    EXPECT_EQ(Clipboard()->GetAsText(), L"34");
    edit->OnClipboardCut = [](TObject*, const String&, bool& allow) { allow = false; };
    SendMessageW(edit->Handle(), EM_SETSEL, 1, 3);
    SendMessageW(edit->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(edit->GetText(), L"12");
}

} // namespace
