// The value between prefix and suffix: written, read and reformatted by edit
// type, precision and locale, and read and written as numbers.
#include "AdvDropDown.h"
#include "../controls/PackControlsTestSupport.h"

using namespace pack_test;

namespace {

class DropDownTextTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        saved_ = FormatSettings;
        edit = New<TAdvDropDown>(form);
        edit->SetParent(form);
        ShowForm();
    }
    void TearDown() override
    {
        FormatSettings = saved_;
        FormTest::TearDown();
    }
    void UseSeparators(wchar_t Thousand, wchar_t Decimal)
    {
        FormatSettings.ThousandSeparator = Thousand;
        FormatSettings.DecimalSeparator = Decimal;
    }
    String Shown() const { return edit->TControl::GetText(); }

    TAdvDropDown* edit = nullptr;

private:
    TFormatSettings saved_;
};

struct TextCase {
    wchar_t decimal;
    TDropDownEditType type;
    int precision;
    const wchar_t* prefix;
    const wchar_t* suffix;
    const wchar_t* set;
    const wchar_t* shown;
    const wchar_t* value;
};

const TextCase textCases[] = {
    {L'.', etString, 0, L"$", L" EUR", L"12", L"$12 EUR", L"12"},
    {L'.', etString, 0, L"[", L"]", L"", L"[]", L""},
    {L'.', etFloat, 2, L"", L"", L"", L"0.00", L"0.00"},
    {L',', etFloat, 2, L"", L"", L"", L"0,00", L"0,00"},
    {L'.', etFloat, 2, L"", L"", L"Error", L"Error", L"Error"},
    {L'.', etFloat, 3, L"", L"", L"1.5", L"1.500", L"1.500"},
    {L',', etFloat, 1, L"", L" m", L"2,26", L"2,3 m", L"2,3"},
    {L'.', etMoney, 2, L"$", L"", L"1234.5", L"$1,234.50", L"1,234.50"},
    {L'.', etNumeric, 0, L"", L"", L"", L"0", L"0"},
    {L'.', etHex, 0, L"0x", L"", L"ff", L"0xFF", L"FF"},
    {L'.', etHex, 0, L"", L"", L"", L"0", L"0"},
    // A precision formats a number in any type, and leaves other text alone.
    {L'.', etString, 2, L"", L"", L"3", L"3.00", L"3.00"},
    {L'.', etString, 2, L"", L"", L"abc", L"abc", L"abc"},
};

TEST_F(DropDownTextTest, SetTextWrapsTheFormattedValueInPrefixAndSuffix)
{
    for (const TextCase& c : textCases) {
        SCOPED_TRACE(testing::PrintToString(String(c.set)) + " type " + std::to_string(c.type));
        UseSeparators(c.decimal == L'.' ? L',' : L'.', c.decimal);
        auto* e = New<TAdvDropDown>(form);
        e->SetParent(form);
        e->SetPrefix(c.prefix);
        e->SetSuffix(c.suffix);
        e->SetEditType(c.type);
        e->SetPrecision(c.precision);
        e->SetText(c.set);
        EXPECT_EQ(e->TControl::GetText(), c.shown);
        EXPECT_EQ(e->GetText(), c.value);
        e->Free();
    }
}

TEST_F(DropDownTextTest, SelectAllSelectsExactlyTheValue)
{
    edit->SetPrefix(L"$");
    edit->SetSuffix(L" EUR");
    edit->SetText(L"12");
    edit->SelectAll();
    EXPECT_EQ(edit->GetSelStart(), 1);
    EXPECT_EQ(edit->GetSelLength(), 2);
}

TEST_F(DropDownTextTest, ARawTextWithoutTheSuffixKeepsItsEnd)
{
    edit->SetPrefix(L"<");
    edit->SetSuffix(L" kg");
    edit->SetRawText(L"<125");
    EXPECT_EQ(edit->GetText(), L"125");
    edit->SetRawText(L"7 kg");
    EXPECT_EQ(edit->GetText(), L"7");
}

TEST_F(DropDownTextTest, NumbersAreReadAndWrittenByType)
{
    UseSeparators(L',', L'.');
    struct Case {
        TDropDownEditType type;
        int precision;
        const wchar_t* text;
        double read;
        double write;
        const wchar_t* written;
    };
    const Case cases[] = {
        {etFloat, 2, L"1,234.5", 1234.5, 2.5, L"2.50"},
        {etFloat, -1, L"-", 0, 0.25, L"0.25"},
        {etNumeric, 0, L"Error", 0, 12345, L"12,345"},
        {etMoney, 2, L"1,234.", 1234, -1234567.891, L"-1,234,567.89"},
        {etHex, 0, L"1G", 16, 255.9, L"FF"},
        {etString, -1, L"2.5", 2.5, 3, L"3"},
        {etUppercase, 0, L"12", 0, 3, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(String(c.text)));
        auto* e = New<TAdvDropDown>(form);
        e->SetParent(form);
        e->SetEditType(c.type);
        e->SetPrecision(c.precision);
        e->SetRawText(c.text);
        EXPECT_DOUBLE_EQ(e->GetFloatValue(), c.read);
        e->SetRawText(L"");
        e->SetFloatValue(c.write);
        EXPECT_EQ(e->GetText(), c.written);
        e->Free();
    }
    edit->SetEditType(etMoney);
    edit->SetIntValue(-1234567);
    EXPECT_EQ(edit->GetText(), L"-1,234,567");
    edit->SetEditType(etHex);
    edit->SetIntValue(4095);
    EXPECT_EQ(edit->GetText(), L"FFF");
}

TEST_F(DropDownTextTest, MoneyGroupsEveryTypedDigitOfALongValue)
{
    UseSeparators(L',', L'.');
    edit->SetEditType(etMoney);
    edit->SetRawText(L"12345678901234567890.25");
    edit->SetFocus();
    PostMessageW(edit->Handle(), WM_KEYDOWN, VK_END, 0);
    Pump();
    SendMessageW(edit->Handle(), WM_CHAR, L'1', 0);
    EXPECT_EQ(edit->GetText(), L"12,345,678,901,234,567,890.251");
    edit->SetRawText(L"-98765432109876543210");
    SendMessageW(edit->Handle(), EM_SETSEL, 21, 21);
    SendMessageW(edit->Handle(), WM_CHAR, L'9', 0);
    EXPECT_EQ(edit->GetText(), L"-987,654,321,098,765,432,109");
}

TEST_F(DropDownTextTest, ChangingTypeOrPrecisionResetsWhatDoesNotFit)
{
    UseSeparators(L',', L'.');
    struct Case {
        const wchar_t* text;
        TDropDownEditType type;
        int precision;
        const wchar_t* value;
    };
    const Case cases[] = {
        {L"abc", etNumeric, 0, L"0"},     {L"12", etNumeric, 0, L"12"},   {L"1.5", etNumeric, 0, L"0"},
        {L"abc", etFloat, 0, L"0"},       {L"1.5", etFloat, 2, L"1.50"},  {L"FF", etHex, 0, L"FF"},
        {L"xyz", etHex, 0, L"0"},         {L"12", etMoney, 1, L"12.0"},   {L"FF", etFloat, 2, L"0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(String(c.text)));
        auto* e = New<TAdvDropDown>(form);
        e->SetParent(form);
        e->SetRawText(c.text);
        e->SetEditType(c.type);
        e->SetPrecision(c.precision);
        EXPECT_EQ(e->GetText(), c.value);
        e->Free();
    }
    // A type without decimals keeps its precision.
    edit->SetEditType(etNumeric);
    edit->SetPrecision(3);
    EXPECT_EQ(edit->GetPrecision(), 0);
}

TEST_F(DropDownTextTest, PropertiesWithSideEffects)
{
    EXPECT_EQ(edit->GetVersion(), L"1.4.1.1");
    edit->SetVersion(L"9.9.9.9");
    EXPECT_EQ(edit->GetVersion(), L"1.4.1.1");
    EXPECT_EQ(edit->GetLabelMargin(), 4);
    EXPECT_EQ(edit->GetWidth(), 200);
    edit->SetDropDownHeight(-5);
    EXPECT_EQ(edit->GetDropDownHeight(), 0);
    // The button keeps the editor's width for it, whatever bounds it gets.
    EXPECT_EQ(edit->GetButton()->GetWidth(), 17);
    edit->GetButton()->SetBounds(0, 0, 40, 17);
    EXPECT_EQ(edit->GetButton()->GetWidth(), 17);
    EXPECT_EQ(edit->GetButton()->GetSpeedButton()->GetWidth(), 17);
    edit->SetDropDownButtonWidth(20);
    EXPECT_EQ(edit->GetButton()->GetWidth(), 20);
    edit->SetEditorEnabled(false);
    EXPECT_FALSE(edit->ControlStyle.Contains(csDoubleClicks));
    // IPackStyle and IPackTones are reached as interfaces.
    IPackStyle* style = nullptr;
    ASSERT_EQ(edit->QueryInterface(__uuidof(IPackStyle), reinterpret_cast<void**>(&style)), S_OK);
    style->SetComponentStyle(tsWindows7);
    EXPECT_EQ(edit->GetComponentStyle(), tsWindows7);
    IPackTones* tones = nullptr;
    EXPECT_EQ(edit->QueryInterface(__uuidof(IPackTones), reinterpret_cast<void**>(&tones)), S_OK);
}

TEST_F(DropDownTextTest, LabelIsPlacedAroundTheEdit)
{
    edit->SetBounds(100, 100, 120, 21);
    edit->SetLabelCaption(L"A caption wider than the edit is");
    TLabel* label = edit->GetLabel();
    ASSERT_NE(label, nullptr);
    const int lw = label->GetWidth(), lh = label->GetHeight();
    ASSERT_GT(lw, 120);
    struct Case {
        TLabelPosition position;
        int left;
        int top;
    };
    const Case cases[] = {
        {lpLeftTop, 100 - lw - 4, 100},
        {lpTopLeft, 100, 100 - lh - 4},
        {lpTopCenter, 100 - (lw - 120) / 2, 100 - lh - 4},
        {lpBottomRight, 220 - lw, 125},
        {lpRightCenter, 224, lh < 21 ? 100 + (21 - lh) / 2 : 100 - (lh - 21) / 2},
    };
    for (const Case& c : cases) {
        edit->SetLabelPosition(c.position);
        EXPECT_EQ(label->GetLeft(), c.left) << c.position;
        EXPECT_EQ(label->GetTop(), c.top) << c.position;
    }
    edit->SetVisible(false);
    EXPECT_FALSE(label->GetVisible());
}

TEST_F(DropDownTextTest, StreamedStylesAreReadBackAndCheckedAgainstTheirRange)
{
    edit->SetSelectionColorStyle(scWindows7);
    edit->SetComponentStyle(tsOffice2013Gray);
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    {
        TWriter writer(stream.get());
        edit->WriteExtraValues(writer);
        writer.WritePropName(L"PackStyle");
        writer.WriteInteger(24);
    }
    stream->SetPosition(0);
    auto* other = New<TAdvDropDown>(form);
    const TColor colorBefore = other->GetDropDownColor();
    TReader reader(stream.get());
    EXPECT_TRUE(other->ReadExtraValue(reader.ReadStr(), reader));
    EXPECT_TRUE(other->ReadExtraValue(reader.ReadStr(), reader));
    EXPECT_EQ(other->GetSelectionColorStyle(), scWindows7);
    EXPECT_EQ(other->GetComponentStyle(), tsOffice2013Gray);
    // Read without applying: the colours stay those of the style it had.
    EXPECT_EQ(other->GetDropDownColor(), colorBefore);
    EXPECT_THROW(other->ReadExtraValue(reader.ReadStr(), reader), EReadError);
    EXPECT_EQ(other->GetComponentStyle(), tsOffice2013Gray);
}

} // namespace
