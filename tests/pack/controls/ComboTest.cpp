// The combo box base: its defaults, the dropped list's width, selection by
// text and the version it reports.
#include "AdvCombo.h"
#include "PackControlsTestSupport.h"

using namespace pack_test;

namespace {

class ComboBase : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        combo = New<TAdvCustomCombo>(form);
        combo->SetStyle(csDropDownList);
        combo->SetBounds(10, 10, 120, 21);
        combo->SetParent(form);
        for (const wchar_t* text : {L"English", L"Russian", L"German"})
            combo->GetItems()->Add(text);
        combo->OnChange = [this](TObject*) { ++changes; };
        ShowForm();
    }
    TAdvCustomCombo* combo = nullptr;
    int changes = 0;
};

TEST_F(ComboBase, DefaultsAndVersion)
{
    EXPECT_FALSE(combo->GetEtched());
    EXPECT_EQ(combo->GetDropWidth(), 0);
    EXPECT_EQ(combo->GetComponentVersion(), 0x01060102);
    EXPECT_EQ(combo->GetVersion(), L"1.6.1.2");
}

TEST_F(ComboBase, DropWidthWidensTheListAndSurvivesANewWindow)
{
    const LRESULT platformWidth = SendMessageW(combo->Handle(), CB_GETDROPPEDWIDTH, 0, 0);
    combo->SetDropWidth(300);
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETDROPPEDWIDTH, 0, 0), 300);
    combo->SetStyle(csDropDown);
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETDROPPEDWIDTH, 0, 0), 300);
    combo->SetDropWidth(0);
    EXPECT_EQ(combo->GetDropWidth(), 0);
    EXPECT_GE(platformWidth, 0);
}

TEST_F(ComboBase, SelectItemSelectsKnownTextsAndReportsTheChange)
{
    combo->SelectItem(L"German");
    EXPECT_EQ(combo->GetItemIndex(), 2);
    EXPECT_EQ(changes, 1);
    combo->SelectItem(L"French");
    EXPECT_EQ(combo->GetItemIndex(), 2);
    EXPECT_EQ(changes, 1);
}

TEST_F(ComboBase, ClosingTheListFiresDropUp)
{
    int dropUps = 0;
    combo->OnDropUp = [&](TObject* Sender) {
        EXPECT_EQ(Sender, combo);
        ++dropUps;
    };
    combo->SetDroppedDown(true);
    Pump();
    EXPECT_EQ(dropUps, 0);
    combo->SetDroppedDown(false);
    Pump();
    EXPECT_EQ(dropUps, 1);
}

} // namespace
