// Edits with a button: F4 and its modifiers through real keys, the unit menu
// chosen with real keys, the value-and-unit split, typing refused while the
// editor is off, and the button's pixels.
#include <gtest/gtest.h>
#include "EditorTestSupport.h"
#include "ASGEdit.h"
#include "PlatformProbe.h"

namespace {

using pack_test::Pump;
using pack_test::TSnapshot;

// Keys pressed in order and released in reverse, as real input.
void Chord(std::initializer_list<WORD> Keys)
{
    std::vector<INPUT> inputs;
    auto key = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (vk == VK_RMENU || vk == VK_RCONTROL ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(in);
    };
    for (WORD k : Keys)
        key(k, false);
    for (auto it = std::rbegin(Keys); it != std::rend(Keys); ++it)
        key(*it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump();
}

class EditButtonTest : public pack_test::FormTest {
protected:
    void SetUp() override
    {
        editor_test::WarmUpPlatformControls();
        FormTest::SetUp();
        // Alt+F4 must not close the form under test.
        form->OnCloseQuery = [](TObject*, bool& CanClose) { CanClose = false; };
    }
    template <class T>
    T* NewEdit()
    {
        auto* edit = New<T>(form);
        edit->SetParent(form);
        edit->SetBounds(20, 20, 120, 24);
        return edit;
    }
};

TEST_F(EditButtonTest, NewEditShowsZeroWithItsButtonAtTheRightEnd)
{
    auto* edit = NewEdit<TAsgEditBtn>();
    ShowForm();
    EXPECT_EQ(edit->GetText(), L"0");
    TAsgEditButton* button = edit->GetButton();
    EXPECT_EQ(button->GetParent(), edit);
    EXPECT_EQ(button->GetFocusControl(), edit);
    const int h = edit->GetHeight();
    EXPECT_EQ(button->GetLeft(), 120 - 18 - 5);
    EXPECT_EQ(button->GetTop(), 0);
    EXPECT_EQ(button->GetHeight(), h - 5);
    // The inner button always fills its control.
    EXPECT_EQ(button->GetButton()->GetWidth(), 18);
    EXPECT_EQ(button->GetButton()->GetHeight(), h - 5);
    edit->SetButtonWidth(30);
    EXPECT_EQ(button->GetLeft(), 120 - 30 - 5);
    EXPECT_EQ(button->GetButton()->GetWidth(), 30);
    // The text stops before the button.
    RECT text{};
    SendMessageW(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_LE(text.right, edit->GetClientWidth() - (30 + 5));
}

TEST_F(EditButtonTest, F4ClicksTheButtonOnlyWithoutCtrlAndAlt)
{
    auto* edit = NewEdit<TAsgEditBtn>();
    ShowForm();
    edit->SetFocus();
    Pump();
    std::vector<TObject*> senders;
    edit->OnClickBtn = [&](TObject* Sender) { senders.push_back(Sender); };
    struct Case {
        const char* what;
        std::initializer_list<WORD> keys;
        size_t clicks;
    };
    const Case cases[] = {
        {"F4", {VK_F4}, 1},
        {"Ctrl+F4", {VK_CONTROL, VK_F4}, 0},
        {"Alt+F4", {VK_MENU, VK_F4}, 0},
        {"AltGr+F4", {VK_LCONTROL, VK_RMENU, VK_F4}, 0},
        {"right Alt+F4", {VK_RMENU, VK_F4}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        senders.clear();
        Chord(c.keys);
        ASSERT_EQ(senders.size(), c.clicks);
        if (c.clicks)
            EXPECT_EQ(senders[0], edit) << "F4 reports the edit";
        EXPECT_TRUE(form->GetVisible());
    }
    // A click reports the button control and leaves the focus on the edit.
    senders.clear();
    pack_test::ClickWithMouse(edit->GetButton(), POINT{5, 5}, POINT{5, 5});
    ASSERT_EQ(senders.size(), 1u);
    EXPECT_EQ(senders[0], edit->GetButton());
    EXPECT_TRUE(edit->Focused());
}

TEST_F(EditButtonTest, EditorOffRefusesTypingPastingAndCutting)
{
    auto* edit = NewEdit<TAsgEditBtn>();
    ShowForm();
    edit->SetFocus();
    edit->SetText(L"12");
    edit->SetEditorEnabled(false);
    edit->SelectAll();
    pack_test::TypeChars(L"9\b");
    EXPECT_EQ(edit->GetText(), L"12");
    edit->SelectAll();
    edit->Perform(WM_CUT, 0, 0);
    EXPECT_EQ(edit->GetText(), L"12");
    edit->SetEditorEnabled(true);
    edit->SetReadOnly(false);
    edit->SelectAll();
    pack_test::TypeChars(L"7");
    EXPECT_EQ(edit->GetText(), L"7");
}

TEST_F(EditButtonTest, TextAndUnitSplitsOnlyAtAUnitThatEndsTheValue)
{
    auto* edit = NewEdit<TAsgUnitEditBtn>();
    EXPECT_TRUE(edit->GetRightAlign());
    EXPECT_EQ(edit->GetUnitSpace(), 20);
    edit->GetUnits()->SetCommaText(L"cm,mm,m");
    struct Case {
        String value, text, unit;
    };
    const Case cases[] = {
        {L"12.5mm", L"12.5", L"mm"},
        {L"12.5 mm", L"12.5 ", L"mm"},
        {L"3cm", L"3", L"cm"},
        {L"12.5in", L"3", L"cm"},    // no unit: text and unit stay
        {L"7m", L"7", L"m"},
        {L"m5m", L"7", L"m"},        // "m" occurs before its end: no split
        {L"mm", L"", L"mm"},
    };
    for (const Case& c : cases) {
        edit->SetTextAndUnit(c.value);
        EXPECT_EQ(edit->GetText(), c.text) << c.value;
        EXPECT_EQ(edit->GetUnitID(), c.unit) << c.value;
        EXPECT_EQ(edit->GetTextAndUnit(), c.text + c.unit);
    }
}

// Presses the keys once the menu is up (from a timer the menu loop runs).
std::vector<WORD> menuKeys;
void CALLBACK PressMenuKeys(HWND, UINT, UINT_PTR Id, DWORD)
{
    KillTimer(nullptr, Id);
    for (WORD k : menuKeys) {
        keybd_event(static_cast<BYTE>(k), 0, 0, 0);
        keybd_event(static_cast<BYTE>(k), 0, KEYEVENTF_KEYUP, 0);
    }
}

TEST_F(EditButtonTest, UnitChosenFromTheMenuWithRealKeys)
{
    auto* edit = NewEdit<TAsgUnitEditBtn>();
    edit->GetUnits()->SetCommaText(L"cm,mm,in");
    ShowForm();
    edit->SetFocus();
    Pump();
    std::vector<String> changes;
    int clicks = 0;
    edit->OnUnitChanged = [&](TObject* Sender, const String& Unit) {
        EXPECT_EQ(Sender, edit);
        changes.push_back(Unit);
    };
    edit->OnClickBtn = [&](TObject* Sender) {
        EXPECT_EQ(Sender, edit);
        ++clicks;
    };
    menuKeys = {VK_DOWN, VK_DOWN, VK_RETURN};
    SetTimer(nullptr, 0, 100, PressMenuKeys);
    Chord({VK_F4});
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(edit->GetUnitID(), L"mm");
    EXPECT_EQ(changes, (std::vector<String>{L"mm"}));

    // The current unit chosen again fires nothing.
    menuKeys = {VK_DOWN, VK_DOWN, VK_RETURN};
    SetTimer(nullptr, 0, 100, PressMenuKeys);
    Chord({VK_F4});
    Pump();
    EXPECT_EQ(changes.size(), 1u);

    // Identifiers outside 1 .. count choose nothing; the notification code 768 neither.
    for (WPARAM command : {WPARAM(0), WPARAM(4), MAKEWPARAM(1, 768)}) {
        edit->Perform(WM_COMMAND, command, 0);
        EXPECT_EQ(edit->GetUnitID(), L"mm") << command;
    }
    edit->Perform(WM_COMMAND, 3, 0);
    EXPECT_EQ(edit->GetUnitID(), L"in");
    EXPECT_EQ(changes.back(), L"in");
}

TEST_F(EditButtonTest, ButtonWithAColourAlwaysPaintsFlatInThatColour)
{
    auto* edit = NewEdit<TAsgEditBtn>();
    edit->SetButtonWidth(20);
    ShowForm();
    TAsgEditButton* button = edit->GetButton();
    const int w = button->GetWidth(), h = button->GetHeight();

    // Classic: the platform's raised push button, its face inside.
    {
        TSnapshot classic(button);
        EXPECT_EQ(classic.Pixel(w / 2, h / 2), ColorToRGB(clBtnFace));
        EXPECT_NE(classic.Pixel(0, 0), ColorToRGB(clBtnFace)) << "a 3-D edge";
    }
    struct Case {
        bool isWinXP, flat;
    };
    button->SetButtonColor(clRed);
    button->SetButtonColorHot(clLime);
    button->SetButtonColorDown(clBlue);
    for (const Case& c : {Case{false, false}, Case{true, false}, Case{false, true}, Case{true, true}}) {
        edit->SetIsWinXP(c.isWinXP);
        button->SetFlat(c.flat);
        TSnapshot plain(button);
        EXPECT_EQ(plain.Pixel(0, 0), ColorToRGB(clRed)) << c.isWinXP << c.flat;
        EXPECT_EQ(plain.Pixel(w - 1, h - 1), ColorToRGB(clRed));
        EXPECT_EQ(plain.Pixel(w / 2, h / 2), ColorToRGB(clRed));
        EXPECT_TRUE(button->GetButton()->GetFlat());
    }
    button->GetButton()->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(TSnapshot(button).Pixel(1, 1), ColorToRGB(clLime));
    button->GetButton()->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(TSnapshot(button).Pixel(1, 1), ColorToRGB(clRed));
}

TEST_F(EditButtonTest, ThemedButtonWhereTheProbeSaysAStyleIsActive)
{
    // Under the project's classic prefix no theme opens: the themed branch
    // falls back to the classic push button, the same pixels as without it.
    auto* edit = NewEdit<TAsgEditBtn>();
    ShowForm();
    TAsgEditButton* button = edit->GetButton();
    PlatformProbe().ThemeActive = true;
    edit->SetIsWinXP(true);
    TSnapshot themed(button);
    ResetPlatformProbe();
    edit->SetIsWinXP(false);
    TSnapshot classic(button);
    for (int y = 0; y < button->GetHeight(); ++y)
        for (int x = 0; x < button->GetWidth(); ++x)
            ASSERT_EQ(themed.Pixel(x, y), classic.Pixel(x, y)) << x << "," << y;
}

TEST_F(EditButtonTest, UnitTextIsPaintedLeftOfTheButton)
{
    auto* edit = NewEdit<TAsgUnitEditBtn>();
    edit->GetFont()->SetName(L"Tahoma");
    edit->GetFont()->SetSize(10);
    edit->GetUnits()->SetCommaText(L"WW");
    edit->SetTextAndUnit(L"1WW");
    ShowForm();
    TSnapshot painted(edit->Handle());
    // Dark unit pixels in the unit's column, none right of it over the button.
    const int border = (edit->GetWidth() - edit->GetClientWidth()) / 2;
    const int right = edit->GetClientWidth() - (edit->GetButton()->GetWidth() + 3);
    int dark = 0;
    for (int y = border + 2; y < border + edit->GetClientHeight(); ++y)
        for (int x = border + right - 20; x < border + right; ++x)
            dark += GetRValue(painted.Pixel(x, y)) < 100;
    EXPECT_GT(dark, 10);
}

} // namespace

namespace {

TEST_F(EditButtonTest, ImageButtonCentresItsImageAndPicture)
{
    auto* button = New<TAsgSpeedButton>(form);
    button->SetParent(form);
    button->SetBounds(200, 20, 40, 30);
    TImageList* images = pack_test::NewImageList(form, 8, 8, {clRed, clLime});
    button->SetImages(images);
    button->SetImageIndex(1);
    ShowForm();
    TSnapshot shot(form);
    const int x = 200 + (40 - 8) / 2, y = 20 + (30 - 8) / 2;
    EXPECT_EQ(shot.Pixel(x, y), ColorToRGB(clLime));
    EXPECT_EQ(shot.Pixel(x + 7, y + 7), ColorToRGB(clLime));
    EXPECT_NE(shot.Pixel(x - 1, y), ColorToRGB(clLime));
    button->SetImageIndex(5);  // no such image: nothing drawn
    EXPECT_EQ(TSnapshot(form).Count(clLime, TRect(200, 20, 240, 50)), 0);
}

} // namespace
