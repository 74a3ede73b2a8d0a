// The colour choosers on a form of their own: the cube's honeycomb, hits and
// frames, the spectrum's layout and picks, and the colour box selector's
// layout, frames and keys. Mouse input comes as window messages.
#include "AdvColorPickerDropDown.h"
#include "DropDownInput.h"

using namespace pack_test;

namespace {

LPARAM At(int X, int Y) { return MAKELPARAM(X, Y); }

class CubeTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        cube = New<TAdvColorCubePanel>(form);
        cube->SetParent(form);
        cube->SetColor(clWhite);
        cube->ResetHotCell();
        cube->OnSelect = [this](TObject*) { ++selects; };
        cube->OnShouldHide = [this](TObject*) { ++hides; };
        ShowForm();
    }
    void Move(int X, int Y)
    {
        SendMessageW(cube->Handle(), WM_MOUSEMOVE, 0, At(X, Y));
        Pump();
    }
    void Press(int X, int Y)
    {
        SendMessageW(cube->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(X, Y));
        SendMessageW(cube->Handle(), WM_LBUTTONUP, 0, At(X, Y));
        Pump();
    }
    TAdvColorCubePanel* cube = nullptr;
    int selects = 0;
    int hides = 0;
};

TEST_F(CubeTest, TheHoneycombHoldsTheWebPaletteInRows)
{
    EXPECT_EQ(cube->GetWidth(), 182);
    EXPECT_EQ(cube->GetHeight(), 160);
    struct Cell {
        int index;
        POINT centre;
        TColor color;
    };
    const Cell cells[] = {
        {1, {55, 20}, RGB(0x00, 0x33, 0x66)},   {7, {127, 20}, RGB(0x00, 0x00, 0x66)},
        {8, {49, 30}, RGB(0x00, 0x66, 0x66)},   {58, {19, 80}, RGB(0x00, 0x33, 0x00)},
        {64, {91, 80}, RGB(0xFF, 0xFF, 0xFF)},  {70, {163, 80}, RGB(0x66, 0x00, 0x66)},
        {71, {25, 90}, RGB(0x33, 0x66, 0x00)},  {103, {145, 110}, RGB(0x99, 0x33, 0x66)},
        {121, {55, 140}, RGB(0x66, 0x33, 0x00)}, {127, {127, 140}, RGB(0xA5, 0x00, 0x21)},
    };
    for (const Cell& c : cells) {
        EXPECT_EQ(cube->GetCellCenter(c.index).x, c.centre.x) << c.index;
        EXPECT_EQ(cube->GetCellCenter(c.index).y, c.centre.y) << c.index;
        EXPECT_EQ(cube->GetCellColor(c.index), c.color) << c.index;
    }
    EXPECT_EQ(cube->GetCellColor(0), clNone);
    EXPECT_EQ(cube->GetCellColor(128), clNone);

    // Hits: the circle of radius 6, its rim included; the lower index where
    // two circles overlap; nothing in a hexagon's corner beyond.
    EXPECT_EQ(cube->CellAtPos(91, 80), 64);
    EXPECT_EQ(cube->CellAtPos(97, 80), 64) << "exactly 6 to the right";
    EXPECT_EQ(cube->CellAtPos(91, 86), 64) << "exactly 6 below";
    EXPECT_EQ(cube->CellAtPos(61, 20), 1) << "between cells 1 and 2, 6 from both";
    EXPECT_EQ(cube->CellAtPos(85, 77), -1) << "cell 64's hexagon corner, beyond every radius";
    EXPECT_EQ(cube->CellAtPos(2, 2), -1);
}

TEST_F(CubeTest, SelectionFramesAndTheMouse)
{
    cube->SetSelectedColor(RGB(1, 2, 3));
    EXPECT_EQ(cube->GetSelectedIndex(), -1);
    EXPECT_EQ(cube->GetSelectedColor(), RGB(1, 2, 3));
    {
        TSnapshot picture(cube);
        EXPECT_EQ(picture.Count(clBlack, TRect(0, 0, 182, 160)), 0) << "no cell framed";
    }
    cube->SetSelectedColor(clWhite);
    EXPECT_EQ(cube->GetSelectedIndex(), 64);
    {
        TSnapshot picture(cube);
        // The black outer hexagon's vertical sides at x = 91 - 5 and 91 + 5.
        EXPECT_EQ(picture.Pixel(86, 80), clBlack);
        EXPECT_EQ(picture.Pixel(96, 80), clBlack);
        EXPECT_EQ(picture.Pixel(91, 80), clWhite);
    }

    // A move over a cell makes it hot with a red frame and the RGB hint.
    const POINT first = cube->GetCellCenter(1);
    Move(first.x, first.y);
    EXPECT_EQ(cube->GetHotIndex(), 1);
    EXPECT_EQ(cube->GetHint(), L"Red: 0,  Green: 51,  Blue: 102");
    EXPECT_TRUE(cube->GetShowHint());
    const POINT yellowish = cube->GetCellCenter(106);
    Move(yellowish.x, yellowish.y);
    EXPECT_EQ(cube->GetHint(), L"Red: 255,  Green: 255,  Blue: 0");
    {
        TSnapshot picture(cube);
        EXPECT_EQ(picture.Pixel(yellowish.x - 5, yellowish.y), RGB(255, 0, 0)) << "the hot frame";
        EXPECT_EQ(picture.Pixel(yellowish.x - 4, yellowish.y), clWhite) << "inside it the white one";
        EXPECT_EQ(picture.Pixel(first.x - 5, first.y), RGB(0x00, 0x33, 0x66)) << "the old hot cell unframed";
    }
    const POINT red = cube->GetCellCenter(118);
    ASSERT_EQ(cube->GetCellColor(118), RGB(255, 0, 0));
    // Off the honeycomb: no hint, the hot frame stays.
    Move(2, 150);
    EXPECT_EQ(cube->GetHint(), L"");
    EXPECT_EQ(cube->GetHotIndex(), 106);

    // A press outside every cell selects nothing but still asks to hide.
    Press(2, 150);
    EXPECT_EQ(selects, 0);
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(cube->GetSelectedIndex(), 64);
    // On a cell: selected, OnSelect, and the release asks to hide.
    SendMessageW(cube->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(red.x, red.y));
    SendMessageW(cube->Handle(), WM_RBUTTONUP, 0, At(red.x, red.y));
    Pump();
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(hides, 2);
    EXPECT_EQ(cube->GetSelectedIndex(), 118);
    EXPECT_EQ(cube->GetSelectedColor(), RGB(255, 0, 0));
    // Showing the cube again forgets the hot cell.
    cube->InitCells();
    cube->ResetHotCell();
    EXPECT_EQ(cube->GetHotIndex(), -1);
}

class SpectrumTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        spectrum = New<TAdvColorSpectrumPanel>(form);
        spectrum->SetParent(form);
        spectrum->SetColor(clBtnFace);
        spectrum->ArrangeSpectrum();
        spectrum->OnSelect = [this](TObject*) { ++selects; };
        spectrum->OnShouldHide = [this](TObject*) { ++hides; };
        ShowForm();
    }
    TAdvColorSpectrumPanel* spectrum = nullptr;
    int selects = 0;
    int hides = 0;
};

TEST_F(SpectrumTest, LayoutPictureAndPicks)
{
    EXPECT_EQ(spectrum->GetWidth(), 150);
    EXPECT_EQ(spectrum->GetHeight(), 174);
    EXPECT_EQ(spectrum->GetSpectrumImage()->GetBoundsRect(), TRect(11, 10, 139, 138));
    EXPECT_EQ(spectrum->GetSelectedRect(), TRect(10, 146, 73, 166));
    EXPECT_EQ(spectrum->GetHotRect(), TRect(77, 146, 140, 166));
    EXPECT_EQ(spectrum->GetSelectedColor(), clWhite);
    EXPECT_EQ(spectrum->GetHotColor(), clNone);
    ASSERT_NE(Screen->GetCursors(crPackPointer), LoadCursorW(nullptr, IDC_ARROW)) << "the pointer is registered";
    EXPECT_EQ(spectrum->GetSpectrumImage()->GetCursor(), crPackPointer);

    // The picture: white on top, black at the bottom, the pure hues in the
    // middle, red at both edges, green a third and blue two thirds across.
    struct Pick {
        int x, y;
        TColor color;
    };
    const Pick picks[] = {
        {0, 0, RGB(255, 255, 255)}, {64, 0, RGB(255, 255, 255)}, {0, 127, RGB(0, 0, 0)},
        {0, 63, RGB(255, 2, 0)},    {127, 64, RGB(255, 0, 0)},   {42, 64, RGB(2, 255, 0)},
        {85, 64, RGB(0, 4, 254)},
    };
    TSnapshot picture(spectrum);
    const TRect image = spectrum->GetSpectrumImage()->GetBoundsRect();
    for (const Pick& p : picks) {
        const TColor shown = picture.Pixel(image.left + p.x, image.top + p.y);
        EXPECT_LE(std::abs(GetRValue(shown) - GetRValue(p.color)), 6) << p.x << "," << p.y << std::hex << " " << shown;
        EXPECT_LE(std::abs(GetGValue(shown) - GetGValue(p.color)), 6) << p.x << "," << p.y << std::hex << " " << shown;
        EXPECT_LE(std::abs(GetBValue(shown) - GetBValue(p.color)), 6) << p.x << "," << p.y << std::hex << " " << shown;
        // The pointer over the pixel makes it the hot colour, a press picks it.
        const LPARAM at = At(image.left + p.x, image.top + p.y);
        SendMessageW(spectrum->Handle(), WM_MOUSEMOVE, 0, at);
        EXPECT_EQ(spectrum->GetHotColor(), shown);
        const int before = selects;
        SendMessageW(spectrum->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(spectrum->Handle(), WM_LBUTTONUP, 0, at);
        Pump();
        EXPECT_EQ(spectrum->GetSelectedColor(), shown);
        EXPECT_EQ(selects, before + 1);
    }
    EXPECT_EQ(hides, static_cast<int>(std::size(picks)));
    // Both swatches show their colours.
    TSnapshot after(spectrum);
    const TRect sel = spectrum->GetSelectedRect(), hot = spectrum->GetHotRect();
    EXPECT_EQ(after.Pixel((sel.left + sel.right) / 2, (sel.top + sel.bottom) / 2), spectrum->GetSelectedColor());
    EXPECT_EQ(after.Pixel((hot.left + hot.right) / 2, (hot.top + hot.bottom) / 2), spectrum->GetHotColor());
    EXPECT_EQ(after.Pixel(sel.left, sel.top + 5), clWhite) << "the swatch's white edge";
    EXPECT_EQ(after.Pixel(sel.left - 1, sel.top + 5), RGB(128, 128, 128)) << "and its grey outline";
    // A release on the panel outside the picture asks to hide as well.
    SendMessageW(spectrum->Handle(), WM_LBUTTONUP, 0, At(2, 170));
    EXPECT_EQ(hides, static_cast<int>(std::size(picks)) + 1);
}

class BoxSelectorTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        boxes = New<TCustomColorSelector>(form);
        boxes->SetParent(form);
        boxes->AddDefaultColorBoxes();
        boxes->ArrangeItems();
        boxes->OnItemSelect = [this](TObject*) { ++selects; };
        form->SetColor(clWhite);
        ShowForm();
    }
    TCustomColorSelector* boxes = nullptr;
    int selects = 0;
};

TEST_F(BoxSelectorTest, ThePaletteIsLaidOutInStrips)
{
    ASSERT_EQ(boxes->GetItems()->Count(), 60);
    EXPECT_EQ(boxes->GetWidth(), 165);
    EXPECT_EQ(boxes->GetHeight(), 84);
    const int rowTops[] = {4, 20, 32, 44, 56, 68};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(boxes->GetItemRect(row * 10 + 3).top, rowTops[row]) << row;
    EXPECT_EQ(boxes->GetItemRect(9), TRect(148, 4, 160, 16));
    EXPECT_EQ(boxes->GetItemRect(60), TRect(-1, -1, -1, -1));
    EXPECT_EQ(boxes->ItemAtPos(148 + 11, 4 + 11), 9);
    EXPECT_EQ(boxes->ItemAtPos(160, 10), -1) << "right edge excluded, then the gap";
    EXPECT_EQ(boxes->GetItems()->GetItem(0)->GetColorBoxPos(), ipStandAlone);
    EXPECT_EQ(boxes->GetItems()->GetItem(15)->GetColorBoxPos(), ipTop);
    EXPECT_EQ(boxes->GetItems()->GetItem(59)->GetColorBoxPos(), ipBottom);
    EXPECT_EQ(boxes->GetItems()->GetItem(3)->GetColor(), RGB(0x1F, 0x49, 0x7D));

    boxes->SetSelectedColor(RGB(0x7F, 0x7F, 0x7F));
    EXPECT_EQ(boxes->GetItemIndex(), 11) << "the first of two boxes of that colour";
    EXPECT_EQ(selects, 1);
    boxes->SetSelectedColor(RGB(1, 2, 3));
    EXPECT_EQ(boxes->GetItemIndex(), -1);
    // An index past the boxes is ignored instead of stored.
    boxes->SetItemIndex(5);
    boxes->SetItemIndex(60);
    EXPECT_EQ(boxes->GetItemIndex(), 5);
    boxes->SetItemIndex(600);
    EXPECT_EQ(boxes->GetItemIndex(), 5);

    auto* empty = New<TCustomColorSelector>(form);
    empty->SetParent(form);
    empty->ArrangeItems();
    EXPECT_EQ(empty->GetWidth(), 100);
    EXPECT_EQ(empty->GetHeight(), 50);
}

TEST_F(BoxSelectorTest, BoxesFramesAndEdgesArePainted)
{
    boxes->GetItems()->GetItem(12)->SetColor(clNone);
    boxes->SetItemIndex(3);
    SendMessageW(boxes->Handle(), WM_MOUSEMOVE, 0, At(boxes->GetItemRect(5).left + 5, boxes->GetItemRect(5).top + 5));
    Pump();
    EXPECT_EQ(boxes->GetItemHot(), 5);
    TSnapshot picture(boxes);
    const TColor border = boxes->GetColorBoxAppearance()->BorderColor;
    const TRect plain = boxes->GetItemRect(2), selected = boxes->GetItemRect(3), hot = boxes->GetItemRect(5);
    EXPECT_EQ(picture.Pixel(plain.left + 5, plain.top + 5), RGB(0xEE, 0xEC, 0xE1));
    EXPECT_EQ(picture.Pixel(plain.left, plain.top + 5), border);
    EXPECT_EQ(picture.Pixel(selected.left, selected.top + 5), RGB(255, 0, 0)) << "selected: outer";
    EXPECT_EQ(picture.Pixel(selected.left + 1, selected.top + 5), RGB(255, 226, 148)) << "selected: inner";
    EXPECT_EQ(picture.Pixel(selected.left + 5, selected.top + 5), RGB(0x1F, 0x49, 0x7D));
    EXPECT_EQ(picture.Pixel(hot.left, hot.top + 5), RGB(242, 148, 54)) << "hot: outer";
    // A box without colour: its edges and nothing inside.
    const TRect none = boxes->GetItemRect(12);
    EXPECT_EQ(picture.Pixel(none.left + 5, none.top + 5), clWhite);
    EXPECT_EQ(picture.Pixel(none.left, none.top + 5), border);
    // A middle box of a strip has side edges only: its top row is its colour.
    const TRect middle = boxes->GetItemRect(23);
    EXPECT_EQ(picture.Pixel(middle.left + 5, middle.top), RGB(0x8D, 0xB3, 0xE2));
    EXPECT_EQ(picture.Pixel(middle.left, middle.top + 5), border);

    // Leaving clears the hot box; a press selects.
    SendMessageW(boxes->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(boxes->GetItemHot(), -1);
    SendMessageW(boxes->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(hot.left + 3, hot.top + 3));
    SendMessageW(boxes->Handle(), WM_LBUTTONUP, 0, At(hot.left + 3, hot.top + 3));
    EXPECT_EQ(boxes->GetItemIndex(), 5);
}

TEST_F(BoxSelectorTest, KeysStepThroughTheBoxes)
{
    struct Row {
        int from;
        Word key;
        bool editorEnabled;
        bool droppedDown;
        int to;
    };
    const Row rows[] = {
        {3, VK_DOWN, false, true, 13},   {55, VK_DOWN, false, true, 55},  {13, VK_UP, false, true, 3},
        {3, VK_UP, false, true, 3},      {-1, VK_DOWN, false, true, 0},   {3, VK_DOWN, false, false, 4},
        {3, VK_UP, false, false, 2},     {3, VK_RIGHT, true, false, 3},   {3, VK_RIGHT, false, false, 4},
        {3, VK_LEFT, true, true, 2},     {0, VK_LEFT, false, true, 0},    {7, VK_HOME, false, true, 0},
        {7, VK_PRIOR, false, false, 0},  {7, VK_END, false, true, 59},    {7, VK_NEXT, false, false, 59},
        {59, VK_RIGHT, false, true, 59},
    };
    for (const Row& r : rows) {
        boxes->SetItemIndex(-1);
        boxes->SetItemIndex(r.from);
        boxes->HandleKey(r.key, r.editorEnabled, r.droppedDown);
        EXPECT_EQ(boxes->GetItemIndex(), r.to) << "from " << r.from << " key " << r.key << " typing "
                                               << r.editorEnabled << " open " << r.droppedDown;
    }
    boxes->GetItems()->GetItem(4)->SetEnabled(false);
    boxes->SetItemIndex(3);
    boxes->SelectNext();
    EXPECT_EQ(boxes->GetItemIndex(), 3) << "a disabled box is not stepped onto";
}

} // namespace
