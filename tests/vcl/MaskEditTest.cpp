// Masked edits: typed characters land on the positions that accept them.
#include <gtest/gtest.h>
#include "Mask.h"
#include "VclTestSupport.h"

using namespace vcl_test;

namespace {

struct MaskFixture : testing::Test {
    TForm* form = nullptr;
    TMaskEdit* edit = nullptr;
    void SetUp() override
    {
        form = New<TForm>(nullptr);
        edit = New<TMaskEdit>(form);
        edit->SetParent(form);
        form->Show();
    }
    void TearDown() override
    {
        form->Free();
        Pump();
    }
    void Type(const String& keys)
    {
        for (wchar_t c : keys)
            SendMessageW(edit->Handle(), WM_CHAR, c, 1);
    }
};

TEST_F(MaskFixture, TypingFillsTheInputPositionsAroundTheLiterals)
{
    struct Case {
        const wchar_t* mask;
        const wchar_t* typed;
        const wchar_t* editText;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"!99/99/0000;1;_", L"12a052026", L"12/05/2026", L"12/05/2026"},
        {L"!99/99/0000;0;_", L"1205", L"12/05/____", L"1205    "},
        {L">LL-000;1;*", L"ab1x23", L"AB-123", L"AB-123"},
        {L"<ll\\-99;0;_", L"XY7", L"xy-7_", L"xy7 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        edit->SetEditMask(c.mask);
        edit->SetEditText(L"");
        edit->SetSelStart(0);
        Type(c.typed);
        EXPECT_EQ(edit->GetEditText(), c.editText);
        EXPECT_EQ(edit->GetText(), c.text);
    }
}

TEST_F(MaskFixture, BackspaceBlanksAndValidationWantsRequiredPositions)
{
    edit->SetEditMask(L"00:00;1;_");
    edit->SetSelStart(0);
    Type(L"123");
    EXPECT_EQ(edit->GetEditText(), L"12:3_");
    EXPECT_THROW(edit->ValidateEdit(), EDBEditError);
    Type(L"\b");
    EXPECT_EQ(edit->GetEditText(), L"12:__");
    Type(L"45");
    EXPECT_NO_THROW(edit->ValidateEdit());
    // Text set in code is placed into the mask too.
    edit->SetText(L"0930");
    EXPECT_EQ(edit->GetEditText(), L"09:30");
    edit->SetEditMask(L"");
    EXPECT_FALSE(edit->IsMasked());
    Type(L"x");
    EXPECT_NE(edit->GetText().find(L'x'), String::npos);
}

} // namespace
