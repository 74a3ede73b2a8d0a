// The item selector: its layout, the painting of normal, hot and selected
// items, real mouse hot tracking and clicks, the keyboard helpers, lookup by
// typed text, scrolling an item into view, and the item colours of the
// selection and component styles.
#include "AdvDropDownSelector.h"
#include "DropDownInput.h"
#include "SysUtils.h"

using namespace pack_test;
using namespace dropdown_input;

namespace {

class ItemSelectorTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        selector = New<TAdvCustomItemSelector>(form);
        selector->SetParent(form);
        selector->SetBounds(10, 10, 300, 300);
        selector->SetColor(clWhite);
    }
    TCustomItemSelector* Panel() const { return selector->GetItemSelectorPanel(); }
    void AddItems(std::initializer_list<const wchar_t*> Captions)
    {
        for (const wchar_t* caption : Captions)
            selector->GetItems()->Add()->SetCaption(caption);
    }
    // Every item 40 x 20 unless a test says otherwise.
    void FixedItemSize(int Width = 40, int Height = 20)
    {
        selector->OnItemSize = [Width, Height](TObject*, TSize& Size) { Size = {Width, Height}; };
        selector->UpdateSelectorPanel();
    }
    TRect ItemRect(int Index) const { return selector->GetItems()->GetItem(Index)->GetRect(); }

    TAdvCustomItemSelector* selector = nullptr;
};

// ---------------------------------------------------------------------------
// Layout.

TEST_F(ItemSelectorTest, LaysOutItemsInColumnsAndSizesThePanelWithItsMargins)
{
    EXPECT_EQ(Panel()->GetWidth(), 100);
    EXPECT_EQ(Panel()->GetHeight(), 50);
    AddItems({L"", L"", L"", L"", L""});
    selector->SetColumns(2);
    FixedItemSize();
    const TRect expected[] = {{2, 2, 42, 22}, {42, 2, 82, 22}, {2, 22, 42, 42}, {42, 22, 82, 42}, {2, 42, 42, 62}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(ItemRect(i), expected[i]) << "item " << i;
    EXPECT_EQ(Panel()->GetWidth(), 84);
    EXPECT_EQ(Panel()->GetHeight(), 64);
    selector->SetColumns(0);
    selector->SetColumns(-3);
    EXPECT_EQ(selector->GetColumns(), 2);
    TSize size{};
    selector->GetSelectorSize(size);
    EXPECT_EQ(size.cx, 84);
    EXPECT_EQ(size.cy, 64);
}

TEST_F(ItemSelectorTest, ItemSizeFollowsLayoutPicturesListImagesAndColourBoxes)
{
    TImageList* images = NewImageList(form, 16, 24, {clRed});
    TOwned<TBitmap> picture(New<TBitmap>());
    picture->SetSize(30, 10);
    picture->GetCanvas()->GetBrush()->SetColor(clBlue);
    picture->GetCanvas()->FillRect(TRect(0, 0, 30, 10));
    const String caption = L"Caption";
    // The caption's size as the selector measures it, with its 4 pixels of room.
    Panel()->GetCanvas()->GetFont()->Assign(selector->GetItemAppearance()->GetFont());
    const TSize text = DrawHTMLText(Panel()->GetCanvas(), caption, TRect(0, 0, 1000, 500), nullptr, false,
                                    Panel()->Handle());
    ASSERT_GT(text.cx, 0);
    const int tw = text.cx + 4, th = text.cy;
    struct Case {
        const char* name;
        TSelectorType type;
        TItemLayout layout;
        bool listImage, ownPicture, withCaption;
        int cx, cy;
    } cases[] = {
        {"list image, caption right", stImage, ilCaptionRight, true, false, true, 8 + 16 + 4 + tw, std::max(th, 24) + 8},
        {"list image, caption left", stImage, ilCaptionLeft, true, false, true, 8 + 16 + 4 + tw, std::max(th, 24) + 8},
        {"list image, caption top", stImage, ilCaptionTop, true, false, true, std::max(tw, 16) + 8, 8 + 24 + 4 + th},
        {"list image, caption bottom", stImage, ilCaptionBottom, true, false, true, std::max(tw, 16) + 8,
         8 + 24 + 4 + th},
        {"list image alone", stImage, ilCaptionRight, true, false, false, 8 + 16, 24 + 8},
        {"own picture before the list", stImage, ilCaptionRight, true, true, false, 8 + 30, 24 + 8},
        {"colour box, caption right", stColor, ilCaptionRight, false, false, true, 8 + 14 + 4 + tw,
         std::max(th, 14) + 8},
        {"colour box, caption bottom", stColor, ilCaptionBottom, false, false, true, std::max(tw, 14) + 8,
         8 + 14 + 4 + th},
        {"caption alone", stImage, ilCaptionRight, false, false, true, 8 + tw, th + 8},
    };
    for (const Case& c : cases) {
        selector->GetItems()->Clear();
        selector->SetImages(c.listImage ? images : nullptr);
        selector->SetSelectorType(c.type);
        selector->SetItemLayout(c.layout);
        TSelectorItem* first = selector->GetItems()->Add();
        first->SetImageIndex(0);
        first->SetCaption(c.withCaption ? caption : String());
        if (c.ownPicture) {
            // The own picture of a second item is wider but lower than the list's images.
            TSelectorItem* second = selector->GetItems()->Add();
            second->GetImage()->SetGraphic(picture.get());
        }
        selector->UpdateSelectorPanel();
        EXPECT_EQ(ItemRect(0).Width(), c.cx) << c.name;
        EXPECT_EQ(ItemRect(0).Height(), c.cy) << c.name;
    }
}

TEST_F(ItemSelectorTest, ACreatorThatIsNoSelectorIsRefused)
{
    try {
        New<TCustomItemSelector>(form);
        FAIL() << "no error";
    } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), L"Invalid parent");
    }
}

// ---------------------------------------------------------------------------
// Painting.

class ItemPaintTest : public ItemSelectorTest {
protected:
    void SetUp() override
    {
        ItemSelectorTest::SetUp();
        AddItems({L"", L"", L""});
        FixedItemSize(60, 30);
        ShowForm();
    }
    std::unique_ptr<TSnapshot> Picture() { return std::make_unique<TSnapshot>(Panel()); }
    TItemAppearance* App() const { return selector->GetItemAppearance(); }
};

TEST_F(ItemPaintTest, NormalHotAndSelectedItemsInThreeAppearances)
{
    const TColor hot = RGB(250, 200, 100), hotMirror = RGB(100, 200, 250);
    const TColor sel = RGB(40, 160, 40), selMirror = RGB(160, 40, 160), border = RGB(0, 0, 200);
    struct Look {
        const char* name;
        TColor mirrorHot, mirrorSelected, borderHot, borderSelected;
        bool lines;
    } looks[] = {
        {"mirrored", hotMirror, selMirror, clNone, clNone, true},
        {"plain", clNone, clNone, clNone, clNone, true},
        {"own border colours", clNone, clNone, border, border, false},
    };
    for (const Look& look : looks) {
        App()->ColorHot = App()->ColorHotTo = hot;
        App()->ColorMirrorHot = App()->ColorMirrorHotTo = look.mirrorHot;
        App()->ColorSelected = App()->ColorSelectedTo = sel;
        App()->ColorMirrorSelected = App()->ColorMirrorSelectedTo = look.mirrorSelected;
        App()->BorderColorHot = look.borderHot;
        App()->BorderColorSelected = look.borderSelected;
        App()->BorderColor = RGB(90, 90, 90);
        App()->BorderColorTop = look.lines ? RGB(1, 2, 3) : clNone;
        Panel()->SetItemHot(1);
        Panel()->SetItemIndex(2);
        auto picture = Picture();
        const TRect normal = ItemRect(0), hotRect = ItemRect(1), selRect = ItemRect(2);
        EXPECT_EQ(picture->Pixel(normal.left + 10, normal.top + 8), clWhite) << look.name;
        EXPECT_EQ(picture->Pixel(hotRect.left + 10, hotRect.top + 6), hot) << look.name;
        EXPECT_EQ(picture->Pixel(selRect.left + 10, selRect.top + 6), sel) << look.name;
        const TColor lowerHot = look.mirrorHot == clNone ? hot : hotMirror;
        const TColor lowerSel = look.mirrorSelected == clNone ? sel : selMirror;
        EXPECT_EQ(picture->Pixel(hotRect.left + 10, hotRect.bottom - 6), lowerHot) << look.name;
        EXPECT_EQ(picture->Pixel(selRect.left + 10, selRect.bottom - 6), lowerSel) << look.name;
        if (look.borderHot != clNone) {
            EXPECT_EQ(picture->Pixel(hotRect.left, hotRect.top + 15), border) << look.name;
            EXPECT_EQ(picture->Pixel(selRect.left, selRect.top + 15), border) << look.name;
        } else {
            // The band's border, its top line under it.
            EXPECT_EQ(picture->Pixel(selRect.left + 10, selRect.top), RGB(90, 90, 90)) << look.name;
            EXPECT_EQ(picture->Pixel(selRect.left + 10, selRect.top + 1), RGB(1, 2, 3)) << look.name;
        }
    }
}

TEST_F(ItemPaintTest, OwnerDrawingAndOwnItemSizes)
{
    std::vector<int> drawn;
    selector->OnDrawItem = [&](TObject* Sender, TCanvas* Canvas, TRect R, int Index) {
        EXPECT_EQ(Sender, Panel());
        drawn.push_back(Index);
        Canvas->GetBrush()->SetColor(RGB(10, 20, 30 + Index));
        Canvas->FillRect(TRect(R.left + 5, R.top + 5, R.left + 15, R.top + 15));
    };
    FixedItemSize(50, 25);
    EXPECT_EQ(ItemRect(1), TRect(2, 27, 52, 52));
    auto picture = Picture();
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(picture->Pixel(ItemRect(i).left + 8, ItemRect(i).top + 8), RGB(10, 20, 30 + i));
}

TEST_F(ItemPaintTest, ListImagesColourBoxesAndCaptionsTakeTheirPlaces)
{
    TImageList* images = NewImageList(form, 16, 24, {RGB(200, 0, 0)});
    selector->OnItemSize = nullptr;
    selector->SetImages(images);
    selector->GetItems()->GetItem(0)->SetImageIndex(0);
    selector->GetItems()->GetItem(0)->SetCaption(L"<b>Wide caption</b>");
    selector->SetItemLayout(ilCaptionBottom);
    selector->UpdateSelectorPanel();
    auto picture = Picture();
    const TRect item = ItemRect(0);
    const TRect image = picture->Extent(RGB(200, 0, 0), item);
    EXPECT_EQ(image.Width(), 16);
    EXPECT_EQ(image.Height(), 24);
    EXPECT_EQ(image.top, item.top + 4);
    // The caption starts 24 + the gap below the image's top.
    const TRect text = picture->Extent(clBlack, item);
    EXPECT_GE(text.top, image.top + 24 + 4);

    selector->SetSelectorType(stColor);
    selector->GetItems()->GetItem(0)->SetColor(RGB(0, 150, 0));
    selector->SetItemLayout(ilCaptionRight);
    selector->UpdateSelectorPanel();
    auto boxes = Picture();
    const TRect box = boxes->Extent(RGB(0, 150, 0), ItemRect(0));
    EXPECT_EQ(box.left, ItemRect(0).left + 5) << "inside its black frame";
    EXPECT_EQ(box.Width(), 12);
    const TRect caption = boxes->Extent(clBlack, TRect(box.right + 2, ItemRect(0).top, ItemRect(0).right,
                                                        ItemRect(0).bottom));
    EXPECT_GE(caption.left, ItemRect(0).left + 4 + 14 + 4);

    // A colour box with the caption below: the caption goes under the box.
    selector->SetItemLayout(ilCaptionBottom);
    selector->UpdateSelectorPanel();
    auto below = Picture();
    const TRect lowBox = below->Extent(RGB(0, 150, 0), ItemRect(0));
    const TRect lowCaption =
        below->Extent(clBlack, TRect(ItemRect(0).left, lowBox.bottom + 2, ItemRect(0).right, ItemRect(0).bottom));
    EXPECT_FALSE(lowCaption.IsEmpty());
    EXPECT_EQ(below->Count(clBlack, TRect(lowBox.left, lowBox.top, lowBox.right, lowBox.bottom)), 0);
}

// ---------------------------------------------------------------------------
// The mouse and the keys.

TEST_F(ItemPaintTest, TheRealMouseTracksEnabledItemsAndSelectsByClick)
{
    selector->GetItems()->GetItem(1)->SetEnabled(false);
    selector->GetItems()->GetItem(2)->SetHint(L"third");
    int selects = 0;
    selector->OnItemSelect = [&](TObject* Sender) {
        EXPECT_EQ(Sender, selector);
        ++selects;
    };
    auto centre = [&](int i) { return POINT{ItemRect(i).left + 20, ItemRect(i).top + 10}; };
    MoveMouse(Panel(), centre(0));
    EXPECT_EQ(selector->GetItemHot(), 0);
    MoveMouse(Panel(), centre(1));
    EXPECT_EQ(selector->GetItemHot(), -1) << "a disabled item is never hot";
    Click(Panel(), centre(1));
    EXPECT_EQ(selector->GetItemIndex(), -1);
    EXPECT_EQ(selects, 0);
    MoveMouse(Panel(), centre(2));
    EXPECT_EQ(selector->GetItemHot(), 2);
    EXPECT_EQ(Panel()->GetHint(), L"third");
    Click(Panel(), centre(2));
    EXPECT_EQ(selector->GetItemIndex(), 2);
    EXPECT_EQ(selects, 1);
    MoveMouse(form, {450, 350});
    EXPECT_EQ(selector->GetItemHot(), -1) << "leaving clears the hot item";
}

TEST_F(ItemPaintTest, AHotMoveInvalidatesOnlyTheOldItem)
{
    Panel()->SetItemHot(0);
    UpdateWindow(Panel()->Handle());
    Pump();
    RECT pending{};
    ASSERT_FALSE(GetUpdateRect(Panel()->Handle(), &pending, FALSE));
    Panel()->SetItemHot(2);
    ASSERT_TRUE(GetUpdateRect(Panel()->Handle(), &pending, FALSE));
    EXPECT_EQ(TRect(pending), ItemRect(0));
    // The new one was drawn at once.
    HDC dc = GetDC(Panel()->Handle());
    const COLORREF drawn = GetPixel(dc, ItemRect(2).left + 10, ItemRect(2).top + 6);
    ReleaseDC(Panel()->Handle(), dc);
    EXPECT_NE(drawn, static_cast<COLORREF>(clWhite));
}

TEST_F(ItemSelectorTest, KeyboardHelpersStepWithoutSkippingDisabledItems)
{
    AddItems({L"a", L"b", L"c", L"d"});
    FixedItemSize();
    selector->SelectPrevious();
    EXPECT_EQ(selector->GetItemIndex(), 0) << "-1 becomes 0";
    selector->SelectPrevious();
    EXPECT_EQ(selector->GetItemIndex(), 0);
    selector->SelectNext();
    EXPECT_EQ(selector->GetItemIndex(), 1);
    selector->SelectLast();
    EXPECT_EQ(selector->GetItemIndex(), 3);
    selector->SelectNext();
    EXPECT_EQ(selector->GetItemIndex(), 3);
    selector->GetItems()->GetItem(2)->SetEnabled(false);
    selector->SelectPrevious();
    EXPECT_EQ(selector->GetItemIndex(), 3) << "a disabled target leaves the index";
    selector->SelectFirst();
    EXPECT_EQ(selector->GetItemIndex(), 0);
    selector->HotNext();
    EXPECT_EQ(selector->GetItemHot(), 0);
    selector->HotNext();
    selector->HotNext();
    EXPECT_EQ(selector->GetItemHot(), 1);
    selector->HotPrevious();
    EXPECT_EQ(selector->GetItemHot(), 0);
    // An index past the items is stored and still reported.
    int selects = 0;
    selector->OnItemSelect = [&](TObject*) { ++selects; };
    selector->SetItemIndex(9);
    EXPECT_EQ(selector->GetItemIndex(), 9);
    EXPECT_EQ(selects, 1);
}

TEST_F(ItemSelectorTest, LookupFindsPlainUpperCaseCaptionsAndWraps)
{
    AddItems({L"apple", L"Banana", L"blue", L"  <b>Red</b> berry ", L"two<BR>lines"});
    FixedItemSize();
    struct Step {
        int start;
        const wchar_t* text;
        bool found;
        int index;
    } steps[] = {
        {1, L"B", true, 2},      {-2, L"B", true, 1},   {-2, L"RED B", true, 3}, {-2, L"red", false, 3},
        {-2, L"", false, 3},     {0, L"", false, 0},    {-2, L"TWO\r\nL", true, 4},
        {-2, L"TWOL", false, 4}, {-2, L"Z", false, 4},
    };
    for (const Step& s : steps) {
        if (s.start != -2)
            selector->SetItemIndex(s.start);
        EXPECT_EQ(selector->LookupItem(s.text), s.found) << "\"" << std::string(s.text, s.text + wcslen(s.text)) << "\"";
        EXPECT_EQ(selector->GetItemIndex(), s.index);
    }
    selector->GetItems()->Clear();
    EXPECT_FALSE(selector->LookupItem(L"A"));
}

TEST_F(ItemSelectorTest, SelectedItemsScrollIntoViewOnTheRealScrollBar)
{
    selector->SetHeight(65);
    for (int i = 0; i < 10; ++i)
        selector->GetItems()->Add();
    FixedItemSize(40, 20);
    ShowForm();
    TControlScrollBar* bar = selector->GetVertScrollBar();
    ASSERT_TRUE(bar->IsScrollBarVisible());
    const int client = selector->GetClientHeight();
    selector->SetItemIndex(7);
    EXPECT_EQ(bar->GetPosition(), ItemRect(7).bottom - client);
    SCROLLINFO si{sizeof(si), SIF_POS};
    GetScrollInfo(selector->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, bar->GetPosition()) << "the platform's bar follows";
    selector->SetItemIndex(1);
    EXPECT_EQ(bar->GetPosition(), ItemRect(1).top);
    const int before = bar->GetPosition();
    selector->ScrollItemInView(42);
    EXPECT_EQ(bar->GetPosition(), before);
    // Three whole items a page, none when an item has no height.
    EXPECT_EQ(selector->GetVisibleItemCount(), 65 / 20);
    FixedItemSize(40, 0);
    EXPECT_EQ(selector->GetVisibleItemCount(), 0);
}

// ---------------------------------------------------------------------------
// Colours.

TEST(ItemAppearanceTest, PresetsStoreOnceAndAssignCopiesThroughTheStyle)
{
    TOwned<TItemAppearance> a(New<TItemAppearance>(nullptr));
    EXPECT_EQ(a->GetColorStyle(), scOffice2007);
    EXPECT_EQ(a->ColorHot, 0xD7FFFD);
    EXPECT_EQ(a->ColorMirrorSelectedTo, 0x68E3F9);
    EXPECT_EQ(a->GetFont()->GetName(), L"Tahoma");
    EXPECT_EQ(a->BorderColorHot, clNone);
    a->SetColorStyle(scWindows7);
    EXPECT_EQ(a->ColorHot, 0xFCEBDC);
    EXPECT_EQ(a->ColorMirrorHot, clNone);
    EXPECT_EQ(a->EdgeColor, 0xE0C5AE);
    a->ColorHot = 0x123456;
    a->SetColorStyle(scWindows7);
    EXPECT_EQ(a->ColorHot, 0x123456) << "the current style changes nothing";
    a->SetColorStyle(scCustom);
    EXPECT_EQ(a->ColorHot, 0x123456);
    EXPECT_EQ(a->GetColorStyle(), scCustom);

    TOwned<TItemAppearance> b(New<TItemAppearance>(nullptr));
    b->ColorSelectedText = 0x0000FF;
    b->BorderColorHot = 0x00FF00;
    b->ColorHot = 0x111111;
    a->Assign(b.get());
    EXPECT_EQ(a->ColorHot, 0xD7FFFD) << "the source's other style writes its preset over the copy";
    EXPECT_EQ(a->ColorSelectedText, 0x0000FF);
    EXPECT_EQ(a->BorderColorHot, 0x00FF00);
    b->SetColorStyle(scCustom);
    b->ColorHot = 0x222222;
    a->SetColorStyle(scCustom);
    a->Assign(b.get());
    EXPECT_EQ(a->ColorHot, 0x222222);
}

TEST(ItemAppearanceTest, EveryComponentStyleWritesItsItemColours)
{
    constexpr TColor K = static_cast<TColor>(0x2FFFFFFF);  // left as it was
    struct Row {
        TPackStyle style;
        TColor hot, hotTo, mirrorHot, selected, selectedTo, mirrorSelected, border, top, borderHot, borderSelected,
            selectedText, font;
    } rows[] = {
        {tsOffice2003Blue, 0xEBFDFF, 0xACECFF, 0x59DAFF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x42AEFE, clNone, clNone, clNone, 0, 0},
        {tsOffice2003Silver, 0xEBFDFF, 0xACECFF, 0x59DAFF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x42AEFE, clNone, clNone, clNone, 0, 0},
        {tsOffice2003Olive, 0xEBFDFF, 0xACECFF, 0x59DAFF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x42AEFE, clNone, clNone, clNone, 0, 0},
        {tsWhidbey, 0xEBFDFF, 0xACECFF, 0x59DAFF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x42AEFE, clNone, clNone, clNone, 0, 0},
        {tsOffice2007Luna, 0xEBFDFF, 0xACECFF, 0x59DAFF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x42AEFE, 0xF4FEFF, clNone, clNone, 0, 0},
        {tsOffice2007Obsidian, 0xEBFDFF, 0xACECFF, 0x59DAFF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x42AEFE, 0xF4FEFF, clNone, clNone, 0, 0},
        {tsOffice2007Silver, 0xEBFDFF, 0xACECFF, 0x59DAFF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x42AEFE, 0xF4FEFF, clNone, clNone, 0, 0},
        {tsOffice2003Classic, 0xD2BDB6, 0xD2BDB6, clNone, 0xB59285, 0xB59285, clNone, 0x808080, clNone, clNone, clNone, 0, 0},
        {tsWindowsXP, 0xEFD3C6, 0xEFD3C6, clNone, clHighlight, clNone, clNone, clHighlight, clNone, clNone, clNone, clHighlightText, 0},
        {tsWindowsVista, 0xFFFDF9, 0xFFFAF0, clNone, 0xFEF9F0, 0xFDF0D7, clNone, 0xFEDF9A, 0xFDFBF6, clNone, clNone, 0, 0},
        {tsWindows7, 0xFDFBFA, 0xFDF3EB, clNone, 0xFCEBDC, 0xFCDBC1, clNone, 0xCEA27D, 0xFDF4EB, clNone, clNone, 0, 0},
        {tsTerminal, 0xC0C0C0, 0xC0C0C0, clNone, clHighlight, clNone, clNone, 0x808080, clNone, clNone, clNone, clHighlightText, 0},
        {tsOffice2010Blue, 0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x308AC2, clNone, clNone, clNone, 0, 0},
        {tsOffice2010Silver, 0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x308AC2, clNone, clNone, clNone, 0, 0},
        {tsOffice2010Black, 0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, K, clNone, 0x58CAF1, 0x308AC2, 0, 0},
        {tsWindows8, 0xF7EFE8, 0xF7EFE8, 0xF7EFE8, 0xF7E0C9, clNone, clNone, K, K, 0xF9CEA4, 0xE4A262, 0, 0},
        {tsWindows10, 0xF7EFE8, 0xF7EFE8, 0xF7EFE8, 0xF7E0C9, clNone, clNone, K, K, 0xF9CEA4, 0xE4A262, 0, 0},
        {tsOffice2013White, 0xFCF0E4, 0xFCF0E4, clNone, 0xFCE2C8, clNone, clNone, K, K, 0xEAB47E, 0xE59D56, 0, 0},
        {tsOffice2013LightGray, 0xFCF0E4, 0xFCF0E4, clNone, 0xFCE2C8, clNone, clNone, K, K, 0xEAB47E, 0xE59D56, 0, 0},
        {tsOffice2013Gray, 0xFCF0E4, 0xFCF0E4, clNone, 0xFCE2C8, clNone, clNone, K, K, 0xEAB47E, 0xE59D56, 0, 0},
        {tsOffice2016White, 0xF2E1D5, clNone, clNone, 0xE3BDA3, clNone, clNone, K, K, 0xF2E1D5, 0xE3BDA3, 0, 0},
        {tsOffice2016Gray, 0xF2E1D5, 0xF2E1D5, clNone, 0xE3BDA3, clNone, clNone, K, K, 0xF2E1D5, 0xE3BDA3, 0, 0},
        {tsOffice2016Black, 0x6A6A6A, 0x6A6A6A, clNone, 0x444444, clNone, clNone, K, K, 0x6A6A6A, 0x444444, 0, 0xFFFFFF},
    };
    for (const Row& r : rows) {
        TOwned<TItemAppearance> a(New<TItemAppearance>(nullptr));
        // Marks that show what a row leaves alone.
        a->BorderColor = a->BorderColorTop = 0x010101;
        a->ColorSelectedText = a->ColorHotText = 0x020202;
        a->BorderColorHot = a->BorderColorSelected = 0x030303;
        a->GetFont()->SetColor(0x040404);
        TAdvCustomDropDown::ApplyItemAppearanceStyle(a.get(), r.style);
        const std::string s = "style " + std::to_string(r.style);
        EXPECT_EQ(a->ColorHot, r.hot) << s;
        EXPECT_EQ(a->ColorHotTo, r.hotTo) << s;
        EXPECT_EQ(a->ColorMirrorHot, r.mirrorHot) << s;
        EXPECT_EQ(a->ColorSelected, r.selected) << s;
        EXPECT_EQ(a->ColorSelectedTo, r.selectedTo) << s;
        EXPECT_EQ(a->ColorMirrorSelected, r.mirrorSelected) << s;
        EXPECT_EQ(a->BorderColor, r.border == K ? 0x010101 : r.border) << s;
        EXPECT_EQ(a->BorderColorTop, r.top == K ? 0x010101 : r.top) << s;
        EXPECT_EQ(a->BorderColorHot, r.borderHot) << s;
        EXPECT_EQ(a->BorderColorSelected, r.borderSelected) << s;
        EXPECT_EQ(a->ColorSelectedText, r.selectedText) << s;
        EXPECT_EQ(a->ColorHotText, 0) << s;
        EXPECT_EQ(a->GetFont()->GetColor(), r.font) << s;
    }
    TOwned<TItemAppearance> custom(New<TItemAppearance>(nullptr));
    custom->ColorHotText = 0x020202;
    custom->BorderColorSelected = 0x030303;
    custom->ColorHot = 0x050505;
    custom->GetFont()->SetColor(0x040404);
    TAdvCustomDropDown::ApplyItemAppearanceStyle(custom.get(), tsCustom);
    EXPECT_EQ(custom->GetFont()->GetColor(), 0);
    EXPECT_EQ(custom->ColorHotText, 0x020202);
    EXPECT_EQ(custom->BorderColorSelected, 0x030303);
    EXPECT_EQ(custom->ColorHot, 0x050505);
    TAdvCustomDropDown::ApplyItemAppearanceStyle(nullptr, tsWindows7);
}

} // namespace
