// The multi-column drop-down on a shown form: completion and row steps through
// real keys, the list opened by its button and used with keys, mouse and
// typed prefixes, the popup's sizes, the list's cells in a 32-bit DIB and the
// component styles.
#include "AdvMultiColumnDropDown.h"
#include "DropDownInput.h"
#include "ImgList.h"
#include "SysUtils.h"

using namespace pack_test;
using namespace dropdown_input;
using AdvMultiColumnDropDown::TAdvColGrid;
using AdvMultiColumnDropDown::TDropDownColumn;

namespace {

class MultiColumnDropDownTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        edit = New<TAdvMultiColumnDropDown>(form);
        edit->SetBounds(20, 20, 200, 21);
        edit->SetParent(form);
        edit->SetTabStop(true);
        AddColumn(L"Name", 80);
        AddColumn(L"Colour", 80);
        SetRows({{L"Apple", L"red"}, {L"Apricot", L"orange"}, {L"Banana", L"yellow"}, {L"Cherry", L"dark red"}});
        edit->OnSelect = [this](TObject* Sender) {
            EXPECT_EQ(Sender, edit);
            ++selects;
        };
        ShowForm();
        edit->SetFocus();
        Pump();
    }
    TDropDownColumn* AddColumn(const wchar_t* Header, int Width)
    {
        TDropDownColumn* column = edit->GetColumns()->Add();
        column->SetHeader(Header);
        column->SetWidth(Width);
        return column;
    }
    void SetRows(std::initializer_list<std::initializer_list<const wchar_t*>> Rows)
    {
        edit->GetItems()->Clear();
        for (const auto& row : Rows) {
            auto* item = edit->GetItems()->Add();
            for (const wchar_t* text : row)
                item->GetText()->Add(text);
        }
        edit->EndUpdate();
    }
    void SetNumberedRows(int Count, const String& Stem)
    {
        edit->GetItems()->Clear();
        for (int i = 0; i < Count; ++i)
            edit->GetItems()->Add()->GetText()->Add(Stem + Format(L"%.2d", {i}));
        edit->EndUpdate();
    }
    void ClickButton()
    {
        Click(edit->GetButton(), {8, 8});
    }
    TAdvColGrid* List() const { return edit->GetListGrid(); }
    bool Open() const { return edit->GetDroppedDown() && edit->GetDropDownForm()->GetVisible(); }

    TAdvMultiColumnDropDown* edit = nullptr;
    int selects = 0;
};

TEST_F(MultiColumnDropDownTest, TypedTextCompletesFromTheLookupColumn)
{
    TypeKeys(L"ap");
    EXPECT_EQ(edit->GetText(), L"apple") << "the typed part keeps its case, the tail is the item's";
    EXPECT_EQ(edit->GetSelStart(), 2);
    EXPECT_EQ(edit->GetSelLength(), 3);
    EXPECT_EQ(edit->GetItemIndex(), 0);

    // Backspace removes the completed tail and completes nothing; the next
    // key release does.
    Key(VK_BACK);
    EXPECT_EQ(edit->GetText(), L"ap");
    Key(VK_SHIFT);
    EXPECT_EQ(edit->GetText(), L"apple");

    // The caret at 0 is an empty prefix, which matches nothing.
    edit->SetRawText(L"b");
    SendMessageW(edit->Handle(), EM_SETSEL, 0, 0);
    Key(VK_HOME);
    EXPECT_EQ(edit->GetText(), L"b");

    // Nothing matches: what was typed stays.
    edit->SetRawText(L"");
    TypeKeys(L"ax");
    EXPECT_EQ(edit->GetText(), L"ax");
}

TEST_F(MultiColumnDropDownTest, EnterFoldsCaseToTheEntryAndEscapeKeepsAnUnopenedItem)
{
    edit->SetRawText(L"BANANA");
    SendMessageW(edit->Handle(), EM_SETSEL, 6, 6);
    Key(VK_RETURN);
    EXPECT_EQ(edit->GetText(), L"Banana");
    EXPECT_EQ(edit->GetItemIndex(), 2);

    // Never opened: Escape keeps the item and its text.
    Key(VK_ESCAPE);
    EXPECT_EQ(edit->GetItemIndex(), 2);
    EXPECT_EQ(edit->GetText(), L"Banana");

    // Opened at Apricot: Escape in the edit goes back there.
    edit->SetItemIndex(1);
    ClickButton();
    ASSERT_TRUE(Open());
    edit->HideDropDown(false);
    Pump();
    edit->SetFocus();
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 2);
    Key(VK_ESCAPE);
    EXPECT_EQ(edit->GetItemIndex(), 1);
    EXPECT_EQ(edit->GetText(), L"Apricot");
}

TEST_F(MultiColumnDropDownTest, ArrowPageKeysAndWheelStepTheClosedEdit)
{
    SetNumberedRows(100, L"i");
    struct Step {
        int From;
        WORD Key;
        int To;
    };
    const Step steps[] = {
        {-1, VK_DOWN, 0}, {-1, VK_UP, 0},     {0, VK_UP, 0},     {4, VK_DOWN, 5},    {99, VK_DOWN, 99},
        {-1, VK_NEXT, 0}, {20, VK_NEXT, 30},  {95, VK_NEXT, 99}, {5, VK_PRIOR, 0},   {-1, VK_PRIOR, 0},
        {40, VK_PRIOR, 30}, {40, VK_HOME, 40}, {40, VK_END, 40},
    };
    for (const Step& step : steps) {
        edit->SetItemIndex(step.From);
        Key(step.Key);
        EXPECT_EQ(edit->GetItemIndex(), step.To) << "from " << step.From << " key " << step.Key;
    }
    EXPECT_EQ(edit->GetText(), L"i40");

    // Home and End step only when typing is off.
    edit->SetEditorEnabled(false);
    Key(VK_END);
    EXPECT_EQ(edit->GetItemIndex(), 99);
    Key(VK_HOME);
    EXPECT_EQ(edit->GetItemIndex(), 0);
    edit->SetEditorEnabled(true);

    MoveMouse(edit, {30, 10});
    Wheel(-1);
    EXPECT_EQ(edit->GetItemIndex(), 1);
    Wheel(-1);
    Wheel(1);
    EXPECT_EQ(edit->GetItemIndex(), 1);
    EXPECT_EQ(edit->GetText(), L"i01");
}

TEST_F(MultiColumnDropDownTest, TheButtonOpensTheListAndAClickedRowIsChosen)
{
    ClickButton();
    ASSERT_TRUE(Open());
    EXPECT_EQ(List()->GetRowCount(), 5);
    EXPECT_EQ(List()->GetFixedRows(), 1);
    EXPECT_EQ(List()->GetCells(1, 3), L"yellow");
    const TRect cell = List()->CellRect(1, 3);
    Click(List(), {cell.left + 5, cell.top + cell.Height() / 2});
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->GetItemIndex(), 2);
    EXPECT_EQ(edit->GetText(), L"Banana");
    EXPECT_EQ(selects, 1);

    // Keys in the list: Down moves the row and the text; Enter takes it.
    ClickButton();
    ASSERT_TRUE(Open());
    EXPECT_EQ(List()->GetRow(), 3) << "the list opens on the chosen row";
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 3);
    EXPECT_TRUE(Open());
    Key(VK_RETURN);
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->GetText(), L"Cherry");

    // Escape in the list returns to the item the list opened on.
    ClickButton();
    ASSERT_TRUE(Open());
    Key(VK_UP);
    EXPECT_EQ(edit->GetItemIndex(), 2);
    Key(VK_ESCAPE);
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->GetItemIndex(), 3);
    EXPECT_EQ(edit->GetText(), L"Cherry");
}

TEST_F(MultiColumnDropDownTest, APrefixTypedInTheOpenListScrollsItsRowIntoView)
{
    SetNumberedRows(99, L"a");
    edit->GetItems()->Add()->GetText()->Add(L"zebra");
    edit->EndUpdate();
    edit->SetItemIndex(0);
    ClickButton();
    ASSERT_TRUE(Open());
    ASSERT_LT(List()->GetVisibleRowCount(), 50);
    Key('Z');
    EXPECT_EQ(edit->GetItemIndex(), 99);
    EXPECT_EQ(List()->GetRow(), 100);
    EXPECT_GE(100, List()->GetTopRow());
    EXPECT_LE(100, List()->GetTopRow() + List()->GetVisibleRowCount());
    EXPECT_EQ(edit->GetText(), L"zebra");
    EXPECT_TRUE(Open());

    // A letter that continues nothing starts a new search with itself.
    Key('A');
    EXPECT_EQ(edit->GetLookupEntry(), L"a");
    EXPECT_EQ(edit->GetItemIndex(), 0);
    EXPECT_EQ(List()->GetRow(), 1);
    Key(VK_ESCAPE);
}

TEST_F(MultiColumnDropDownTest, BackspaceInTheSearchRemovesTheSelectedCharacters)
{
    ClickButton();
    ASSERT_TRUE(Open());
    edit->SetRawText(L"Apricot");
    SendMessageW(edit->Handle(), EM_SETSEL, 2, 5);
    EXPECT_EQ(edit->IncrementalLookup(VK_BACK), -1);
    EXPECT_EQ(edit->GetText(), L"Apot");
    EXPECT_EQ(edit->GetSelStart(), 4);
    Key(VK_ESCAPE);
}

TEST_F(MultiColumnDropDownTest, ShortItemsAndAStaleLookupListEndEverySearchWithoutFault)
{
    // Items with no string in the lookup column read as empty texts.
    SetRows({{L"Apple", L"red"}, {L"Pear"}, {}});
    edit->SetLookupColumn(1);
    String found;
    int index = 7;
    EXPECT_TRUE(edit->FindPrefixMatch(L"r", found, index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(edit->FindPrefixMatch(L"x", found, index));
    EXPECT_EQ(index, -1);
    edit->SetItemIndex(1);
    EXPECT_EQ(edit->GetText(), L"");
    EXPECT_EQ(edit->GetItemIndex(L""), -1) << "a missing string is no match";
    ClickButton();
    ASSERT_TRUE(Open());
    Key('Q');
    EXPECT_EQ(edit->GetItemIndex(), 1);
    Key(VK_ESCAPE);

    // Items cleared without EndUpdate: completion still reads the old list
    // but takes no position past the items.
    edit->SetLookupColumn(0);
    SetRows({{L"Apple"}, {L"Apricot"}, {L"Banana"}});
    edit->GetItems()->Clear();
    edit->SetItemIndex(-1);
    edit->SetFocus();
    TypeKeys(L"ba");
    EXPECT_EQ(edit->GetText(), L"banana");
    EXPECT_EQ(edit->GetItemIndex(), -1);
    Key(VK_RETURN);
    EXPECT_EQ(edit->GetItemIndex(), -1);
    edit->SetItemIndex(2);
    EXPECT_EQ(edit->GetItemIndex(), -1);
    ClickButton();
    ASSERT_TRUE(Open());
    EXPECT_EQ(List()->GetRowCount(), 1);
    Key(VK_ESCAPE);
    EXPECT_EQ(edit->GetItemIndex(), -1);
}

// ---------------------------------------------------------------------------
// Sizes.

TEST_F(MultiColumnDropDownTest, PopupHeightSnapsToWholeRowsOnlyWhenFixedAndRowsHaveHeight)
{
    edit->GetDropDownHeader()->SetVisible(false);
    edit->GetDropDownFooter()->SetVisible(false);
    struct Case {
        bool Sizeable;
        int RowHeight;
        int Height;
        int Expected;
    };
    const Case cases[] = {
        {false, 22, 200, 181}, {true, 22, 200, 200}, {false, 0, 200, 200}, {false, -3, 200, 200}, {false, 1, 200, 200},
    };
    for (const Case& c : cases) {
        edit->SetDropDownSizeable(c.Sizeable);
        edit->SetDropDownRowHeight(c.RowHeight);
        int h = c.Height;
        edit->AfterDropDown(h);
        EXPECT_EQ(h, c.Expected) << "sizeable " << c.Sizeable << " row height " << c.RowHeight;
    }
    edit->GetDropDownHeader()->SetVisible(true);
    edit->GetDropDownHeader()->SetHeight(30);
    edit->SetDropDownSizeable(false);
    edit->SetDropDownRowHeight(22);
    int h = 200;
    edit->AfterDropDown(h);
    EXPECT_EQ(h, 30 + 25 + 2 + (143 / 22) * 22);

    // Opened: the popup takes the snapped height.
    edit->SetDropDownRowHeight(0);
    ClickButton();
    ASSERT_TRUE(Open());
    EXPECT_GT(edit->GetDropDownForm()->GetHeight(), 0);
    Key(VK_ESCAPE);
}

TEST_F(MultiColumnDropDownTest, ColumnsAreScaledToThePopupWidth)
{
    edit->GetColumns()->Clear();
    for (int i = 0; i < 3; ++i)
        AddColumn(L"c", 80);
    SetRows({{L"a", L"b", L"c"}});
    edit->SetDropDownAutoWidth(false);
    edit->SetDropDownWidth(300);
    ClickButton();
    ASSERT_TRUE(Open());
    ASSERT_EQ(edit->GetDropDownForm()->GetWidth(), 300);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(List()->GetColWidths(c), 100) << c;
    EXPECT_EQ(edit->GetColumns()->GetItem(0)->GetWidth(), 80) << "the stored widths stay";
    Key(VK_ESCAPE);
}

TEST_F(MultiColumnDropDownTest, AnAutoWidthPopupFollowsTheColumns)
{
    edit->GetColumns()->Clear();
    for (int i = 0; i < 3; ++i)
        AddColumn(L"c", 80);
    SetRows({{L"a", L"b", L"c"}});
    edit->SetColumnSizeWithDropDown(false);
    ClickButton();
    ASSERT_TRUE(Open());
    EXPECT_EQ(edit->GetDropDownForm()->GetWidth(), 240 + 2 * edit->GetDropDownBorderWidth());
    Key(VK_ESCAPE);
}

TEST_F(MultiColumnDropDownTest, AutoSizedAndWrappedColumnsFollowTheMeasuredText)
{
    edit->GetColumns()->Clear();
    TDropDownColumn* sized = AddColumn(L"a very long header that is not measured", 10);
    sized->SetAutoSize(true);
    sized->GetFont()->SetSize(14);
    TDropDownColumn* wrapped = AddColumn(L"Notes", 60);
    wrapped->SetWordwrap(true);
    const String longNote = L"one two three four five six seven eight nine ten";
    SetRows({{L"short", L"x"}, {L"the widest entry", longNote.c_str()}, {L"", L""}});
    edit->SetColumnSizeWithDropDown(false);
    ClickButton();
    ASSERT_TRUE(Open());

    auto* canvas = static_cast<TControlCanvas*>(edit->GetDropDownForm()->GetCanvas());
    canvas->GetFont()->Assign(sized->GetFont());
    RECT r{0, 0, 1000, 500};
    const String widest = L"the widest entry";
    DrawTextW(canvas->GetHandle(), widest.c_str(), static_cast<int>(widest.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(List()->GetColWidths(0), r.right + 6);
    EXPECT_EQ(List()->GetColumns()->GetItem(0)->GetWidth(), r.right + 6);

    canvas->GetFont()->Assign(wrapped->GetFont());
    RECT w{0, 0, 60, 500};
    DrawTextW(canvas->GetHandle(), longNote.c_str(), static_cast<int>(longNote.size()), &w, DT_WORDBREAK | DT_CALCRECT);
    ASSERT_GT(w.bottom + 6, 24);
    canvas->FreeHandle();
    EXPECT_EQ(List()->GetRowHeights(2), w.bottom + 6);
    EXPECT_EQ(List()->GetRowHeights(1), 24) << "a one-line row keeps the least height";
    EXPECT_EQ(List()->GetRowHeights(3), 24) << "an empty row too";
    EXPECT_EQ(List()->GetRowHeights(0), 25) << "the header row";
    Key(VK_ESCAPE);
}

// ---------------------------------------------------------------------------
// Cells in a DIB.

class MultiColumnPaintTest : public MultiColumnDropDownTest {
protected:
    void OpenAndSnap()
    {
        ClickButton();
        ASSERT_TRUE(Open());
        snap = std::make_unique<TSnapshot>(List());
    }
    void TearDown() override
    {
        snap.reset();
        if (Open())
            edit->HideDropDown(true);
        MultiColumnDropDownTest::TearDown();
    }
    std::unique_ptr<TSnapshot> snap;
};

TEST_F(MultiColumnPaintTest, HeaderGradientSelectionBandAndLines)
{
    edit->SetHeaderColor(0xFF0000);
    edit->SetHeaderColorTo(0x0000FF);
    edit->SetSelectionColorStyle(scCustom);
    edit->SetSelectionColor(clLime);
    edit->SetItemIndex(1);
    edit->SetColumnSizeWithDropDown(false);
    OpenAndSnap();
    const TRect header = List()->CellRect(0, 0);
    const TColor top = snap->Pixel(60, header.top);
    EXPECT_GE(GetBValue(top), 0xF0);
    EXPECT_LE(GetRValue(top), 0x10) << "the gradient starts in HeaderColor";
    const TColor bottom = snap->Pixel(60, header.bottom - 3);
    EXPECT_LE(GetBValue(bottom), 0x10);
    EXPECT_GE(GetRValue(bottom), 0xE0) << "and ends near HeaderColorTo";
    EXPECT_EQ(snap->Pixel(60, header.bottom - 1), 0xD1BBA4) << "fixed line colour below the header";

    const TRect chosen = List()->CellRect(0, 2);
    EXPECT_EQ(snap->Pixel(70, chosen.top + 3), clLime) << "the selection band";
    const TRect plain = List()->CellRect(0, 3);
    EXPECT_EQ(snap->Pixel(70, plain.top + 3), clWhite);
    EXPECT_EQ(snap->Pixel(40, plain.bottom - 1), 0xF1EDEB) << "data line colour of the Office 2007 selection";
}

TEST_F(MultiColumnPaintTest, LineColoursFollowTheSelectionStyle)
{
    struct Row {
        TSelectionColorStyle Style;
        TColor Line;
    };
    const Row rows[] = {{scOffice2007, 0xF1EDEB}, {scWindowsVista, 0xECECF0}, {scWindows7, 0xECECF0}};
    edit->SetColumnSizeWithDropDown(false);
    for (const Row& row : rows) {
        edit->SetSelectionColorStyle(row.Style);
        OpenAndSnap();
        const TRect plain = List()->CellRect(0, 3);
        EXPECT_EQ(snap->Pixel(40, plain.bottom - 1), row.Line) << row.Style;
        snap.reset();
        Key(VK_ESCAPE);
    }
}

TEST_F(MultiColumnPaintTest, ImageColumnDrawsItemImagesButNotInItsHeader)
{
    TImageList* images = NewImageList(form, 16, 16, {clRed});
    edit->SetImages(images);
    edit->GetColumns()->GetItem(0)->SetColumnType(AdvMultiColumnDropDown::ctImage);
    edit->GetItems()->GetItem(0)->SetImageIndex(0);
    edit->SetColumnSizeWithDropDown(false);
    OpenAndSnap();
    const TRect header = List()->CellRect(0, 0);
    const TRect first = List()->CellRect(0, 1);
    const int x = first.left + 1 + 2 + 8;
    EXPECT_EQ(snap->Pixel(x, first.top + first.Height() / 2), clRed);
    EXPECT_NE(snap->Pixel(x, header.top + header.Height() / 2), clRed);
    const TRect second = List()->CellRect(0, 2);
    EXPECT_NE(snap->Pixel(x, second.top + second.Height() / 2), clRed) << "an item without image";
}

TEST_F(MultiColumnPaintTest, EllipsisEndsTextThatDoesNotFit)
{
    const String wide(30, L'W');
    SetRows({{wide.c_str(), L""}, {wide.c_str(), L""}});
    TDropDownColumn* column = edit->GetColumns()->GetItem(0);
    column->GetFont()->SetColor(clRed);
    column->SetWidth(70);
    edit->SetColumnSizeWithDropDown(false);
    edit->SetItemIndex(-1);
    OpenAndSnap();
    const TRect cell = List()->CellRect(0, 2);
    const TRect area(cell.left, cell.top, cell.right, cell.bottom);
    const int clipped = snap->Count(clRed, area);
    EXPECT_EQ(snap->Count(clRed, TRect(cell.right, cell.top, cell.right + 40, cell.bottom)), 0)
        << "nothing spills into the next column";
    snap.reset();
    Key(VK_ESCAPE);
    column->SetEllipsis(true);
    OpenAndSnap();
    const int ended = snap->Count(clRed, area);
    EXPECT_GT(ended, 0);
    EXPECT_LT(ended, clipped) << "the dots replace the last letters";
}

// ---------------------------------------------------------------------------
// Component styles.

TEST_F(MultiColumnDropDownTest, ComponentStylesSetTheListColours)
{
    struct Row {
        TPackStyle Style;
        TColor HeaderColor, HeaderColorTo, Line, FixedLine, Selection, SelectionTo, HeaderFont, SelectionText;
    };
    const Row rows[] = {
        {tsOffice2003Blue, 0xD68759, 0x933803, 0x962D00, 0x962D00, 0xD7FFFD, 0x58D4FC, 0xFFFFFF, clBlack},
        {tsOffice2003Silver, 0xBDA4A5, 0x957475, 0x947C7C, 0x947C7C, 0xD7FFFD, 0x58D4FC, 0xFFFFFF, clBlack},
        {tsWindowsXP, clBtnFace, clBtnFace, 0xC0C0C0, clBlack, clHighlight, clHighlight, clBlack, clHighlightText},
        {tsWindows7, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, clBlack, clBlack},
        {tsOffice2010Blue, 0xEDDBCD, clNone, 0xEEDDCF, 0xEEDDCF, 0x6CD0FF, 0x6CD0FF, 0x5B391E, clBlack},
        {tsOffice2016Black, 0x444444, clNone, 0x6A6A6A, 0x6A6A6A, 0x444444, 0x444444, 0xFFFFFF, 0xFFFFFF},
        {tsCustom, 0x444444, clNone, 0x6A6A6A, 0x6A6A6A, 0x444444, 0x444444, 0xFFFFFF, 0xFFFFFF},
    };
    // Rows run in order: Silver keeps the header font colour Blue gave, and
    // tsCustom changes nothing of Office 2016 Black.
    for (const Row& row : rows) {
        edit->SetComponentStyle(row.Style);
        EXPECT_EQ(edit->GetHeaderColor(), row.HeaderColor) << int(row.Style);
        EXPECT_EQ(edit->GetHeaderColorTo(), row.HeaderColorTo) << int(row.Style);
        EXPECT_EQ(edit->GetLineColor(), row.Line) << int(row.Style);
        EXPECT_EQ(edit->GetFixedLineColor(), row.FixedLine) << int(row.Style);
        EXPECT_EQ(edit->GetSelectionColor(), row.Selection) << int(row.Style);
        EXPECT_EQ(edit->GetSelectionColorTo(), row.SelectionTo) << int(row.Style);
        EXPECT_EQ(edit->GetHeaderFont()->GetColor(), row.HeaderFont) << int(row.Style);
        EXPECT_EQ(edit->GetSelectionTextColor(), row.SelectionText) << int(row.Style);
    }
}

TEST(MultiColumnDropDownDefaults, ConstructionLeavesTheLunaColours)
{
    TOwned<TAdvMultiColumnDropDown> edit(New<TAdvMultiColumnDropDown>(nullptr));
    EXPECT_EQ(edit->GetLineColor(), 0xF1EDEB);
    EXPECT_EQ(edit->GetFixedLineColor(), 0xD1BBA4);
    EXPECT_EQ(edit->GetSelectionColor(), 0xD7FFFD);
    EXPECT_EQ(edit->GetSelectionColorTo(), 0x58D4FC);
    EXPECT_EQ(edit->GetHeaderFont()->GetColor(), 0x723708);
    EXPECT_EQ(edit->GetHeaderColor(), clWhite);
    EXPECT_EQ(edit->GetHeaderColorTo(), 0x808080);
    EXPECT_EQ(edit->GetItemIndex(), -1);
    EXPECT_EQ(edit->GetDropDownHeight(), 200);
    ASSERT_NE(edit->GetListGrid(), nullptr);
    EXPECT_EQ(edit->GetListGrid()->GetParent(), edit->GetDropDownForm());
}

} // namespace
