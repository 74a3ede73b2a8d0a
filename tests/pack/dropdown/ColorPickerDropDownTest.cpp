// The colour picker drop-down on a shown form in its four styles: choices
// by mouse closing the popup, the colour texts, the colour box painted in
// the edit, type-ahead in real time, Escape after arrow moves.
#include "AdvColorPickerDropDown.h"
#include "DropDownInput.h"
#include "SysUtils.h"

using namespace pack_test;
using namespace dropdown_input;

namespace {

class ColorPickerTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        picker = New<TAdvColorPickerDropDown>(form);
        picker->SetBounds(20, 20, 160, 22);
        picker->SetParent(form);
        picker->SetTabStop(true);
        // As the grid's colour editor fills it: the list takes the colours
        // when the update ends.
        picker->BeginUpdate();
        picker->AddDefaultColors();
        picker->EndUpdate();
        picker->OnSelect = [this](TObject*) { selects.push_back(picker->GetItemIndex()); };
        ShowForm();
        picker->SetFocus();
        Pump();
    }
    void TearDown() override
    {
        if (picker->GetDroppedDown())
            picker->HideDropDown(false);
        FormTest::TearDown();
    }
    void OpenByButton()
    {
        Sleep(260);
        Click(picker->GetButton(), {8, 8});
        ASSERT_TRUE(picker->GetDroppedDown());
    }
    void WaitForSearchToEnd()
    {
        const DWORD start = GetTickCount();
        while (!picker->GetCurSearch().empty() && GetTickCount() - start < 5000) {
            Sleep(20);
            Pump();
        }
        ASSERT_TRUE(picker->GetCurSearch().empty());
    }

    TAdvColorPickerDropDown* picker = nullptr;
    std::vector<int> selects;
};

TEST_F(ColorPickerTest, DefaultsAndTheColourTexts)
{
    EXPECT_FALSE(picker->GetEditorEnabled());
    EXPECT_EQ(picker->GetDropDownHeight(), 200);
    EXPECT_EQ(picker->GetColorSelectionStyle(), csList);
    ASSERT_EQ(picker->GetColors()->Count(), 16);
    EXPECT_EQ(picker->GetColors()->GetItem(9)->GetCaption(), L"Red");
    EXPECT_NE(picker->GetItemSelector(), nullptr) << "the list exists from construction";

    struct Text {
        TColorSelectionStyle style;
        TColor color;
        TColorValueText format;
        const wchar_t* text;
    };
    const Text texts[] = {
        {csColorCube, clRed, cvtHex, L"0000FF"},
        {csColorCube, clRed, cvtHTML, L"#FF0000"},
        {csColorCube, clRed, cvtRGB, L"Red:255,Green:0,Blue:0"},
        {csColorCube, clRed, cvtNone, L""},
        {csColorCube, RGB(1, 2, 3), cvtWebName, L"#010203"},
        {csColorCube, RGB(0x12, 0xAB, 0xCD), cvtHex, L"CDAB12"},
        {csColorCube, RGB(0x12, 0xAB, 0xCD), cvtHTML, L"#12ABCD"},
        {csList, clRed, cvtHex, L"Red"},
        {csList, RGB(0, 0, 128), cvtRGB, L"Navy"},
        {csList, RGB(1, 2, 3), cvtHTML, L"#010203"},
    };
    for (const Text& t : texts) {
        picker->SetColorSelectionStyle(t.style);
        picker->SetItemIndex(-1);
        picker->SetSelectedColor(t.color);
        if (t.color == RGB(1, 2, 3))
            picker->SetItemIndex(-1);
        picker->SetColorValueText(t.format);
        EXPECT_EQ(picker->GetSelectedColorText(), t.text) << t.style << " " << t.format;
    }
    // A system colour is written as it is stored, and resolved for the others.
    picker->SetColorSelectionStyle(csColorCube);
    picker->SetColorValueText(cvtHex);
    picker->SetItemIndex(-1);
    picker->SetSelectedColor(RGB(9, 9, 9));
    const TColor face = clBtnFace;
    picker->SetSelectedColor(face);
    EXPECT_EQ(picker->GetSelectedColor(), static_cast<TColor>(ColorToRGB(face))) << "stored resolved";

    // Begin/EndUpdate nest; an unmatched EndUpdate does nothing.
    picker->EndUpdate();
    picker->BeginUpdate();
    picker->GetColors()->Add()->SetCaption(L"Extra");
    picker->EndUpdate();
    EXPECT_EQ(picker->GetItemSelector()->GetItems()->Count(), 17);
    picker->SetItemIndex(17);
    EXPECT_NE(picker->GetItemIndex(), 17) << "past the colours: ignored";
}

TEST_F(ColorPickerTest, ListChoiceByMouseClosesThePopup)
{
    OpenByButton();
    TAdvCustomItemSelector* list = picker->GetItemSelector();
    ASSERT_TRUE(list->GetVisible());
    const TRect navy = list->GetItems()->GetItem(4)->GetRect();
    Click(list->GetItemSelectorPanel(), {navy.left + 10, navy.top + 5});
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetItemIndex(), 4);
    EXPECT_EQ(picker->GetSelectedColor(), RGB(0, 0, 128));
    EXPECT_EQ(selects, std::vector<int>{4});
    EXPECT_EQ(picker->GetSelectedColorText(), L"Navy");
}

TEST_F(ColorPickerTest, CubeChoiceRaisesOnSelectOnceOrTwice)
{
    picker->SetColorSelectionStyle(csColorCube);
    OpenByButton();
    TAdvColorCubePanel* cube = picker->GetColorCubePanel();
    ASSERT_NE(cube, nullptr);
    ASSERT_TRUE(cube->GetVisible());
    EXPECT_FALSE(picker->GetItemSelector()->GetVisible());
    EXPECT_EQ(picker->GetDropDownForm()->GetWidth(), 182 + 2 * picker->GetDropDownBorderWidth());
    EXPECT_EQ(picker->GetDropDownForm()->GetHeight(), 160 + 2 * picker->GetDropDownBorderWidth());
    // A real mouse move: the hot frame and the RGB hint.
    const POINT cell = cube->GetCellCenter(1);
    MoveMouse(cube, {cell.x - 2, cell.y});
    MoveMouse(cube, cell);
    EXPECT_EQ(cube->GetHotIndex(), 1);
    EXPECT_EQ(cube->GetHint(), L"Red: 0,  Green: 51,  Blue: 102");
    {
        TSnapshot picture(cube);
        EXPECT_EQ(picture.Pixel(cell.x - 5, cell.y), RGB(255, 0, 0));
    }
    // A colour no list item has: one OnSelect, with no list item.
    Click(cube, cell);
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetSelectedColor(), RGB(0x00, 0x33, 0x66));
    EXPECT_EQ(selects, std::vector<int>{-1});

    // A colour of the list: once for its item, once for no item.
    selects.clear();
    OpenByButton();
    const POINT red = cube->GetCellCenter(118);
    Click(cube, red);
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetSelectedColor(), RGB(255, 0, 0));
    EXPECT_EQ(selects, (std::vector<int>{9, -1}));
    EXPECT_EQ(picker->GetItemIndex(), -1);
}

TEST_F(ColorPickerTest, BoxAndSpectrumChoicesCloseThePopup)
{
    picker->SetColorSelectionStyle(csDiscrete);
    OpenByButton();
    TCustomColorSelector* boxes = picker->GetColorSelector();
    ASSERT_NE(boxes, nullptr);
    EXPECT_EQ(picker->GetDropDownForm()->GetWidth(), 165 + 2 * picker->GetDropDownBorderWidth());
    const TRect box = boxes->GetItemRect(3);
    Click(boxes, {box.left + 4, box.top + 4});
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetSelectedColor(), RGB(0x1F, 0x49, 0x7D));
    EXPECT_EQ(picker->GetItemIndex(), -1);
    EXPECT_EQ(selects, std::vector<int>{-1});

    selects.clear();
    picker->SetColorSelectionStyle(csSpectrum);
    OpenByButton();
    TAdvColorSpectrumPanel* spectrum = picker->GetSpectrumPanel();
    ASSERT_NE(spectrum, nullptr);
    EXPECT_FALSE(boxes->GetVisible());
    EXPECT_EQ(spectrum->GetSelectedColor(), RGB(0x1F, 0x49, 0x7D)) << "handed over at opening";
    TImage* image = spectrum->GetSpectrumImage();
    const POINT at{image->GetLeft() + 100, image->GetTop() + 40};
    const TColor expected = image->GetPicture()->GetBitmap()->GetCanvas()->GetPixels(100, 40);
    MoveMouse(spectrum, {at.x - 1, at.y});
    Click(spectrum, at);
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetSelectedColor(), expected);
    EXPECT_EQ(selects, std::vector<int>{-1});
}

TEST_F(ColorPickerTest, TheColourBoxIsPaintedInTheEdit)
{
    picker->SetColorSelectionStyle(csColorCube);
    picker->SetSelectedColor(RGB(0, 128, 0));
    picker->SetColorValueText(cvtHTML);
    // Focus elsewhere: the edit shows the colour without the focus look.
    auto* other = New<TEdit>(form);
    other->SetBounds(20, 100, 80, 21);
    other->SetParent(form);
    other->SetFocus();
    Pump();
    TSnapshot window(picker->Handle());
    RECT wr{};
    GetWindowRect(picker->Handle(), &wr);
    const POINT origin = picker->ClientToScreen({0, 0});
    const int dx = origin.x - wr.left, dy = origin.y - wr.top;
    const int boxLeft = 1 + 4, boxTop = 1 + (picker->GetHeight() - 14) / 2;
    EXPECT_EQ(window.Pixel(dx + boxLeft + 7, dy + boxTop + 7), RGB(0, 128, 0)) << "inside the box";
    EXPECT_EQ(window.Pixel(dx + boxLeft, dy + boxTop + 7), clBlack) << "its outline";
    EXPECT_GT(window.Count(clBlack, TRect(dx + boxLeft + 16, dy, dx + picker->GetWidth() - 20, dy + 18)), 0)
        << "the text beside it";
}

TEST_F(ColorPickerTest, TypeAheadCollectsLettersForHalfASecond)
{
    OpenByButton();
    Key('R');
    EXPECT_EQ(picker->GetCurSearch(), L"R");
    EXPECT_EQ(picker->GetItemIndex(), 9);
    Key('E');
    EXPECT_EQ(picker->GetCurSearch(), L"RE");
    EXPECT_EQ(picker->GetItemIndex(), 9);
    EXPECT_TRUE(picker->GetDroppedDown()) << "type-ahead keeps the popup open";
    WaitForSearchToEnd();
    EXPECT_FALSE(picker->GetKeyTimer()->GetEnabled());
    Key('G');
    EXPECT_EQ(picker->GetItemIndex(), 2) << "a new search finds Green";
    // Escape types nothing: the cancel gives back the item of the opening
    // and no search selects anything again.
    Key(VK_DOWN);
    EXPECT_EQ(picker->GetItemIndex(), 3);
    Key(VK_ESCAPE);
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetItemIndex(), -1);
    EXPECT_EQ(picker->GetCurSearch().find(L'\x1B'), String::npos);
}

TEST_F(ColorPickerTest, EscapeAfterArrowMovesGivesBackTheOpeningColour)
{
    // The list.
    picker->SetItemIndex(2);
    OpenByButton();
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(picker->GetItemIndex(), 4);
    EXPECT_TRUE(picker->GetDroppedDown());
    Key(VK_ESCAPE);
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetItemIndex(), 2);
    EXPECT_EQ(picker->GetSelectedColor(), RGB(0, 128, 0));
    EXPECT_EQ(picker->GetItemSelector()->GetItemIndex(), 2);

    // The boxes, from a colour a box has.
    picker->SetColorSelectionStyle(csDiscrete);
    picker->SetSelectedColor(RGB(0x1F, 0x49, 0x7D));
    OpenByButton();
    TCustomColorSelector* boxes = picker->GetColorSelector();
    EXPECT_EQ(boxes->GetItemIndex(), 3);
    Key(VK_DOWN);
    EXPECT_EQ(boxes->GetItemIndex(), 13);
    EXPECT_EQ(picker->GetSelectedColor(), RGB(0xC2, 0xCE, 0xDA));
    Key(VK_ESCAPE);
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetSelectedColor(), RGB(0x1F, 0x49, 0x7D));
    EXPECT_EQ(boxes->GetItemIndex(), 3);

    // And from a colour no box has.
    picker->SetSelectedColor(RGB(1, 2, 3));
    picker->SetItemIndex(-1);
    OpenByButton();
    Key(VK_DOWN);
    Key(VK_RIGHT);
    EXPECT_EQ(boxes->GetItemIndex(), 1);
    Key(VK_ESCAPE);
    EXPECT_EQ(picker->GetSelectedColor(), RGB(1, 2, 3));
    EXPECT_EQ(boxes->GetItemIndex(), -1);

    // Enter takes the box reached and closes.
    OpenByButton();
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_FALSE(picker->GetDroppedDown());
    EXPECT_EQ(picker->GetSelectedColor(), RGB(0xFF, 0xFF, 0xFF));
}

TEST_F(ColorPickerTest, ClosedKeysStepTheColour)
{
    Key(VK_DOWN);
    EXPECT_EQ(picker->GetItemIndex(), 0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(picker->GetItemIndex(), 2);
    Key(VK_UP);
    EXPECT_EQ(picker->GetItemIndex(), 1);
    Key(VK_END);
    EXPECT_EQ(picker->GetItemIndex(), 15);
    EXPECT_EQ(picker->GetSelectedColor(), RGB(255, 255, 255));
    Key(VK_HOME);
    EXPECT_EQ(picker->GetItemIndex(), 0);
    // The wheel over the closed edit steps too.
    MoveMouse(picker, {40, 10});
    Wheel(-1);
    EXPECT_EQ(picker->GetItemIndex(), 1);
    Wheel(1);
    EXPECT_EQ(picker->GetItemIndex(), 0);
    EXPECT_FALSE(picker->GetDroppedDown());
}

} // namespace
