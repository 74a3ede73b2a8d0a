// The grid drop-down on a shown form, in items and grid mode: keys to the
// edit and to the open grid as real key messages, the popup opened by its
// button, rows and headers clicked with the mouse, narrowing down, sorting,
// editing, and the grid's events passed on to the OnGrid... handlers.
#include "AdvCustomGridDropDown.h"
#include "DropDownInput.h"
#include "ScopeExit.h"
#include "SysUtils.h"

#include <stdexcept>

using namespace pack_test;
using namespace dropdown_input;
using AdvCustomGridDropDown::TAdvColGrid;

namespace {

class GridDropDownTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        edit = New<TCustomAdvGridDropDown>(form);
        edit->SetBounds(20, 20, 200, 21);
        edit->SetParent(form);
        edit->SetTabStop(true);
        AddColumn(L"Name");
        AddColumn(L"Colour");
        SetRows({{L"Apple", L"red"}, {L"Apricot", L"orange"}, {L"Banana", L"yellow"}, {L"Cherry", L"dark red"}});
        edit->OnSelect = [this](TObject* Sender) {
            EXPECT_EQ(Sender, edit);
            ++selects;
        };
        ShowForm();
        edit->SetFocus();
        Pump();
    }
    void TearDown() override
    {
        if (edit->GetDroppedDown())
            edit->HideDropDown(true);
        FormTest::TearDown();
    }
    void AddColumn(const wchar_t* Header)
    {
        auto* column = edit->GetColumns()->Add();
        column->SetHeader(Header);
        column->SetWidth(80);
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
    // Grid mode: Fixed header rows, then a row per text.
    void FillGrid(int Fixed, std::initializer_list<const wchar_t*> Texts)
    {
        edit->SetUseItems(false);
        TAdvColGrid* grid = Grid();
        grid->SetColCount(2);
        grid->SetRowCount(Fixed + static_cast<int>(Texts.size()));
        grid->SetFixedRows(Fixed);
        int r = Fixed;
        for (const wchar_t* text : Texts) {
            grid->SetCellText(0, r, text);
            grid->SetCellText(1, r, String(text) + L"!");
            ++r;
        }
    }
    void ClickButton() { Click(edit->GetButton(), {8, 8}); }
    void OpenByButton()
    {
        ClickButton();
        ASSERT_TRUE(Open());
    }
    void ClickCell(int ACol, int ARow)
    {
        const TRect cell = Grid()->CellRect(ACol, ARow);
        Click(Grid(), {cell.left + cell.Width() / 2, cell.top + cell.Height() / 2});
    }
    TAdvColGrid* Grid() const { return edit->GetPopupGrid(); }
    bool Open() const { return edit->GetDroppedDown() && edit->GetDropDownForm()->GetVisible(); }

    TCustomAdvGridDropDown* edit = nullptr;
    int selects = 0;
};

TEST_F(GridDropDownTest, ItemsModeChoosesRowsByClickKeysAndTyping)
{
    OpenByButton();
    EXPECT_EQ(Grid()->GetRowCount(), 5);
    EXPECT_EQ(Grid()->GetCellText(1, 3), L"yellow");
    EXPECT_EQ(Grid()->GetCellObject(0, 3), 2) << "each data row carries its item";
    ClickCell(1, 3);
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->GetItemIndex(), 2);
    EXPECT_EQ(edit->GetText(), L"Banana");
    EXPECT_EQ(selects, 1);

    // Closed edit: the arrows step through the items.
    edit->SetFocus();
    Key(VK_DOWN);
    EXPECT_EQ(edit->GetItemIndex(), 3);
    EXPECT_EQ(edit->GetText(), L"Cherry");
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(edit->GetItemIndex(), 1);

    // Typed text is completed from the lookup column.
    edit->SetItemIndex(-1);
    TypeKeys(L"ch");
    EXPECT_EQ(edit->GetItemIndex(), 3);
    EXPECT_EQ(UpperCase(edit->GetText()), L"CHERRY");
    EXPECT_EQ(edit->GetSelLength(), 4);
}

TEST_F(GridDropDownTest, GridModeItemIndexNamesDataRows)
{
    FillGrid(1, {L"r1", L"r2", L"r3", L"r4", L"r5"});
    edit->SetItemIndex(2);
    EXPECT_EQ(edit->GetText(), L"r3") << "ItemIndex 2 shows row 3";
    edit->SetRawText(L"typed");
    edit->SetItemIndex(2);
    EXPECT_EQ(edit->GetText(), L"typed") << "the same index again changes nothing";
    edit->SetItemIndex(-1);
    EXPECT_EQ(edit->GetText(), L"");
    edit->SetItemIndex(9);
    EXPECT_EQ(edit->GetItemIndex(), -1);
    EXPECT_EQ(edit->GetItemCount(), 5);
}

TEST_F(GridDropDownTest, TwoFixedRowsGiveTheChosenRowsItemIndexAndText)
{
    FillGrid(2, {L"r2", L"r3", L"r4", L"r5"});
    OpenByButton();
    ClickCell(0, 4);
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->GetItemIndex(), 2);
    EXPECT_EQ(edit->GetText(), L"r4");

    // Enter in the grid.
    OpenByButton();
    EXPECT_EQ(Grid()->GetRow(), 4) << "the grid opens on the row of the text";
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->GetItemIndex(), 3);
    EXPECT_EQ(edit->GetText(), L"r5");

    // An editable grid: Enter in a cell editor takes that row.
    edit->SetGridEditable(true);
    OpenByButton();
    Grid()->SetRow(3);
    Grid()->SetCol(1);
    Grid()->SetEditorMode(true);
    ASSERT_TRUE(Grid()->GetEditorMode());
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(Grid()->GetEditorMode());
    EXPECT_EQ(edit->GetItemIndex(), 1);
    EXPECT_EQ(edit->GetText(), L"r3");
}

TEST_F(GridDropDownTest, EditableGridEnterClosesInTheLookupColumnAndElsewhereEndsTheEdit)
{
    edit->SetGridEditable(true);
    OpenByButton();
    Grid()->SetRow(2);
    Grid()->SetCol(1);
    Grid()->SetEditorMode(true);
    ASSERT_TRUE(Grid()->GetEditorMode());
    SendMessageW(edit->Handle(), WM_KEYUP, VK_RETURN, 0);
    Pump();
    EXPECT_FALSE(Grid()->GetEditorMode()) << "the cell edit ends";
    EXPECT_TRUE(Open()) << "outside the lookup column the popup stays";

    Grid()->SetCol(0);
    Grid()->SetEditorMode(true);
    ASSERT_TRUE(Grid()->GetEditorMode());
    SendMessageW(edit->Handle(), WM_KEYUP, VK_RETURN, 0);
    Pump();
    EXPECT_FALSE(Open()) << "in the lookup column Enter closes";

    // Choosing a row of an editable grid keeps it open.
    OpenByButton();
    ClickCell(1, 4);
    EXPECT_TRUE(Open());
    EXPECT_EQ(edit->GetItemIndex(), 3);
    EXPECT_EQ(selects, 1);
}

TEST_F(GridDropDownTest, NarrowDownFiltersAndErasingRemovesTheFilter)
{
    edit->SetLookupMethod(AdvCustomGridDropDown::lmNarrowDown);
    OpenByButton();
    TypeKeys(L"ap");
    EXPECT_EQ(Grid()->GetRowCount(), 3) << "Apple and Apricot stay";
    EXPECT_EQ(edit->GetText(), L"Apple");
    EXPECT_EQ(edit->GetSelStart(), 2);
    EXPECT_EQ(edit->GetSelLength(), 3);
    // The first Backspace takes the selected tail, the next ones the search.
    Key(VK_BACK);
    EXPECT_EQ(edit->GetText(), L"Ap");
    EXPECT_EQ(edit->GetLookupEntry(), L"ap");
    EXPECT_EQ(Grid()->GetRowCount(), 3);
    Key(VK_BACK);
    EXPECT_EQ(edit->GetLookupEntry(), L"a");
    EXPECT_EQ(Grid()->GetRowCount(), 4) << "a matches Banana too";
    Key(VK_BACK);
    EXPECT_EQ(Grid()->GetRowCount(), 5) << "no search text, no filter";
    TypeKeys(L"zz");
    EXPECT_EQ(Grid()->GetFixedRows(), 1) << "the header stays when nothing matches";
    EXPECT_EQ(Grid()->GetRowCount(), 1);
}

TEST_F(GridDropDownTest, DropDownListRestartsTheSearchAndJumpsWithHomeAndEnd)
{
    edit->SetStyle(AdvCustomGridDropDown::dsDropDownList);
    EXPECT_FALSE(edit->GetEditorEnabled());
    Key('B');
    EXPECT_EQ(edit->GetItemIndex(), 2);
    EXPECT_EQ(edit->GetText(), L"Banana");
    Key('C');
    EXPECT_EQ(edit->GetLookupEntry(), L"c") << "bc continues nothing: c alone";
    EXPECT_EQ(edit->GetItemIndex(), 3);
    Key('X');
    EXPECT_EQ(edit->GetLookupEntry(), L"");
    EXPECT_EQ(edit->GetItemIndex(), 3);
    Key(VK_HOME);
    EXPECT_EQ(edit->GetItemIndex(), 0);
    EXPECT_EQ(edit->GetText(), L"Apple");
    Key(VK_END);
    EXPECT_EQ(edit->GetItemIndex(), 3);
    Key(VK_HOME, VK_SHIFT);
    EXPECT_EQ(edit->GetItemIndex(), 3) << "not with Shift";
}

TEST_F(GridDropDownTest, AHeaderClickSortsAndKeepsTheChosenItem)
{
    SetRows({{L"Cherry", L"1"}, {L"Apple", L"2"}, {L"Banana", L"3"}});
    edit->SetSorting(AdvCustomGridDropDown::gsSingleColumn);
    edit->SetItemIndex(0);
    OpenByButton();
    EXPECT_EQ(Grid()->GetRow(), 1);
    ClickCell(0, 0);
    EXPECT_EQ(Grid()->GetCellText(0, 1), L"Apple") << "sorted by the clicked column";
    EXPECT_EQ(Grid()->GetRow(), 3) << "the row that now holds Cherry";
    EXPECT_EQ(edit->GetItemIndex(), 0);
    EXPECT_EQ(edit->GetText(), L"Cherry");
    EXPECT_TRUE(Open());
    Key(VK_RETURN);
    EXPECT_EQ(edit->GetItemIndex(), 0) << "the item, not the row, is chosen";
}

TEST_F(GridDropDownTest, ANodeRowsFirstCellChoosesNothing)
{
    edit->SetItemIndex(3);
    OpenByButton();
    Grid()->AddNode(1, 2);
    ASSERT_TRUE(Grid()->IsNode(1));
    const TRect cell = Grid()->CellRect(0, 1);
    Click(Grid(), {cell.right - 4, cell.top + cell.Height() / 2});
    EXPECT_TRUE(Open());
    EXPECT_EQ(edit->GetItemIndex(), 3);
    EXPECT_EQ(selects, 0);
    ClickCell(1, 2);
    EXPECT_FALSE(Open());
    EXPECT_EQ(edit->GetItemIndex(), 1);
}

TEST_F(GridDropDownTest, ThePopupSnapsToRowsUnlessRowsHaveNoHeight)
{
    edit->GetDropDownHeader()->SetVisible(false);
    edit->GetDropDownFooter()->SetVisible(false);
    const struct {
        bool Sizeable;
        int RowHeight;
        int Expected;
    } cases[] = {{false, 22, 185}, {true, 22, 185}, {true, 0, 200}, {false, -1, 200}};
    for (const auto& c : cases) {
        edit->SetDropDownSizeable(c.Sizeable);
        edit->SetDropDownRowHeight(c.RowHeight);
        int h = 200;
        edit->AfterDropDown(h);
        EXPECT_EQ(h, c.Expected) << c.Sizeable << " " << c.RowHeight;
    }
    // Opening with rows of no height keeps its rows.
    OpenByButton();
    EXPECT_GT(Grid()->GetRowHeights(1), 0);
}

TEST_F(GridDropDownTest, GridModeWrappedRowsWithoutItemsMeasureAsEmpty)
{
    // Two items for four grid rows: the rows past the items measure as empty
    // text, the others by their item's wrapped text.
    SetRows({{L"one two three four five six seven eight nine ten eleven twelve"}, {L"x"}});
    edit->GetColumns()->GetItem(0)->SetWordwrap(true);
    edit->GetColumns()->GetItem(0)->SetWidth(50);
    edit->SetAutoSizeColumns(false);
    edit->SetColumnSizeWithDropDown(false);
    FillGrid(1, {L"a", L"b", L"c", L"d"});
    OpenByButton();
    EXPECT_GT(Grid()->GetRowHeights(1), 24);
    EXPECT_EQ(Grid()->GetRowHeights(2), 24);
    EXPECT_EQ(Grid()->GetRowHeights(3), 24);
    EXPECT_EQ(Grid()->GetRowHeights(4), 24);
}

// ---------------------------------------------------------------------------
// The grid's events, passed on.

// Reaches the grid's protected events the way a subclass may.
struct GridEvents : TAdvColGrid {
    static constexpr auto CheckBoxClick = &GridEvents::OnCheckBoxClick;
    static constexpr auto AutoAddRow = &GridEvents::OnAutoAddRow;
    static constexpr auto AutoInsertRow = &GridEvents::OnAutoInsertRow;
    static constexpr auto CanDeleteRow = &GridEvents::OnCanDeleteRow;
};

TEST_F(GridDropDownTest, EveryConnectedGridEventReachesItsHandlerWithTheGridsArguments)
{
    OpenByButton();
    TAdvColGrid* g = Grid();
    struct Call {
        TObject* Sender = nullptr;
        int A = -1;
        int B = -1;
    };
    Call got;
    bool flag = false;
    String text;
    TBalloonIcon icon = biNone;
    TSortStyle sortStyle{};
    TEditorType editor{};
    TColor color = clNone, colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TCellGradientDirection direction = GradientVertical;
    struct Row {
        const char* Name;
        std::function<void()> Connect;
        std::function<void()> Raise;
        int A, B;
    };
    auto record = [&got](TObject* s, int a, int b) { got = {s, a, b}; };
    const Row rows[] = {
        {"ButtonClick", [&] { edit->OnGridButtonClick = [&](TObject* s, int c, int r) { record(s, c, r); }; },
         [&] { g->OnButtonClick(g, 1, 2); }, 1, 2},
        {"EllipsClick",
         [&] { edit->OnGridEllipsClick = [&](TObject* s, int c, int r, String&) { record(s, c, r); }; },
         [&] { g->OnEllipsClick(g, 3, 4, text); }, 3, 4},
        {"CellBalloon",
         [&] {
             edit->OnGridCellBalloon = [&](TObject* s, int c, int r, TBalloonIcon&, String&, String&) { record(s, c, r); };
         },
         [&] { g->OnCellBalloon(g, 5, 6, icon, text, text); }, 5, 6},
        {"GetCellGradient",
         [&] {
             edit->OnGridGetCellGradient = [&](TObject* s, int r, int c, TColor&, TColor&, TColor&, TColor&,
                                               TCellGradientDirection&) { record(s, c, r); };
         },
         [&] { g->OnGetCellGradient(g, 7, 8, color, colorTo, mirror, mirrorTo, direction); }, 8, 7},
        {"GetEditorType",
         [&] { edit->OnGridGetEditorType = [&](TObject* s, int c, int r, TEditorType&) { record(s, c, r); }; },
         [&] { g->OnGetEditorType(g, 1, 3, editor); }, 1, 3},
        {"CanEditCell",
         [&] { edit->OnGridCanEditCell = [&](TObject* s, int r, int c, bool&) { record(s, c, r); }; },
         [&] { g->OnCanEditCell(g, 2, 1, flag); }, 1, 2},
        {"GetDiplText",
         [&] { edit->OnGridGetDiplText = [&](TObject* s, int c, int r, String&) { record(s, c, r); }; },
         [&] { g->OnGetDisplText(g, 4, 2, text); }, 4, 2},
        {"GetFormat",
         [&] {
             edit->OnGridGetFormat = [&](TObject* s, int c, TSortStyle&, String&, String&) { record(s, c, 0); };
         },
         [&] { g->OnGetFormat(g, 6, sortStyle, text, text); }, 6, 0},
        {"Hint", [&] { edit->OnGridHint = [&](TObject* s, int r, int c, String&) { record(s, c, r); }; },
         [&] { g->OnGridHint(g, 3, 1, text); }, 1, 3},
        {"ScrollHint", [&] { edit->OnGridScrollHint = [&](TObject* s, int r, String&) { record(s, 0, r); }; },
         [&] { g->OnScrollHint(g, 9, text); }, 0, 9},
        {"MouseMove",
         [&] { edit->OnGridMouseMove = [&](TObject* s, TShiftState, int x, int y) { record(s, x, y); }; },
         [&] { g->OnMouseMove(g, TShiftState(), 11, 12); }, 11, 12},
        {"MouseDown",
         [&] {
             edit->OnGridMouseDown = [&](TObject* s, TMouseButton, TShiftState, int x, int y) { record(s, x, y); };
         },
         [&] { g->OnMouseDown(g, mbLeft, TShiftState(), 13, 14); }, 13, 14},
        {"MouseUp",
         [&] {
             edit->OnGridMouseUp = [&](TObject* s, TMouseButton, TShiftState, int x, int y) { record(s, x, y); };
         },
         [&] { g->OnMouseUp(g, mbLeft, TShiftState(), 15, 16); }, 15, 16},
        {"TopLeftChanged", [&] { edit->OnGridTopLeftChanged = [&](TObject* s) { record(s, 0, 0); }; },
         [&] { g->OnTopLeftChanged(g); }, 0, 0},
        {"RowMoved", [&] { edit->OnGridRowMoved = [&](TObject* s, int f, int t) { record(s, f, t); }; },
         [&] { g->OnRowMoved(g, 2, 3); }, 2, 3},
        {"ColumnMoved", [&] { edit->OnGridColumnMoved = [&](TObject* s, int f, int t) { record(s, f, t); }; },
         [&] { g->OnColumnMoved(g, 0, 1); }, 0, 1},
        {"CanAddRow", [&] { edit->OnGridCanAddRow = [&](TObject* s, bool&) { record(s, 0, 0); }; },
         [&] { g->OnCanAddRow(g, flag); }, 0, 0},
        {"CanInsertRow", [&] { edit->OnGridCanInsertRow = [&](TObject* s, int r, bool&) { record(s, 0, r); }; },
         [&] { g->OnCanInsertRow(g, 4, flag); }, 0, 4},
        {"CheckBoxClick",
         [&] { edit->OnGridCheckBoxClick = [&](TObject* s, int c, int r, bool&) { record(s, c, r); }; },
         [&] { (g->*GridEvents::CheckBoxClick)(g, 1, 4, flag); }, 1, 4},
        {"AutoAddRow", [&] { edit->OnGridAutoAddRow = [&](TObject* s, int r) { record(s, 0, r); }; },
         [&] { (g->*GridEvents::AutoAddRow)(g, 5); }, 0, 5},
        {"InsertRow", [&] { edit->OnGridInsertRow = [&](TObject* s, int r) { record(s, 0, r); }; },
         [&] { (g->*GridEvents::AutoInsertRow)(g, 6); }, 0, 6},
        {"CanDeleteRow", [&] { edit->OnGridCanDeleteRow = [&](TObject* s, int r, bool&) { record(s, 0, r); }; },
         [&] { (g->*GridEvents::CanDeleteRow)(g, 7, flag); }, 0, 7},
    };
    for (const Row& row : rows) {
        got = {};
        ASSERT_NO_THROW(row.Raise()) << row.Name << " without a handler";
        EXPECT_EQ(got.Sender, nullptr) << row.Name;
        row.Connect();
        row.Raise();
        EXPECT_EQ(got.Sender, g) << row.Name;
        EXPECT_EQ(got.A, row.A) << row.Name;
        EXPECT_EQ(got.B, row.B) << row.Name;
    }

    // Out-arguments come back to the grid.
    edit->OnGridGetFloatFormat = [](TObject*, int, int, bool& isFloat, String& format) {
        EXPECT_EQ(format, L"") << "cleared before the handler";
        isFloat = true;
        format = L"%.3f";
    };
    String format = L"stale";
    bool isFloat = false;
    g->OnGetFloatFormat(g, 0, 1, isFloat, format);
    EXPECT_TRUE(isFloat);
    EXPECT_EQ(format, L"%.3f");
}

TEST_F(GridDropDownTest, AlignmentAndColourComeFromTheColumnsWithAndWithoutAHandler)
{
    edit->GetColumns()->GetItem(0)->SetAlignment(taRightJustify);
    edit->GetColumns()->GetItem(1)->SetColor(clYellow);
    edit->GetColumns()->GetItem(1)->GetFont()->SetColor(clMaroon);
    OpenByButton();
    TAdvColGrid* g = Grid();
    TAlignment h = taCenter;
    TVAlignment v = vtaTop;
    g->OnGetAlignment(g, 1, 0, h, v);
    EXPECT_EQ(h, taRightJustify);
    h = taCenter;
    g->OnGetAlignment(g, 1, 5, h, v);
    EXPECT_EQ(h, taCenter) << "a column past the drop-down's keeps the grid's";
    edit->OnGridGetAlignment = [](TObject*, int, int ACol, TAlignment& HAlign, TVAlignment& VAlign) {
        EXPECT_EQ(HAlign, taRightJustify) << "the column's alignment comes first";
        if (ACol == 0)
            VAlign = vtaBottom;
    };
    g->OnGetAlignment(g, 1, 0, h, v);
    EXPECT_EQ(h, taRightJustify);
    EXPECT_EQ(v, vtaBottom);

    TOwned<TBrush> brush(New<TBrush>());
    TOwned<TFont> font(New<TFont>());
    brush->SetColor(clWhite);
    g->OnGetCellColor(g, 1, 1, TGridDrawState(), brush.get(), font.get());
    EXPECT_EQ(brush->GetColor(), clYellow);
    EXPECT_EQ(font->GetColor(), clMaroon);
    edit->OnGridGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* ABrush, TFont*) {
        EXPECT_EQ(ABrush->GetColor(), clYellow);
        ABrush->SetColor(clAqua);
    };
    g->OnGetCellColor(g, 1, 1, TGridDrawState(), brush.get(), font.get());
    EXPECT_EQ(brush->GetColor(), clAqua);
}

TEST_F(GridDropDownTest, AButtonClickDialogKeepsThePopupAndAFailingHandlerUnblocksIt)
{
    OpenByButton();
    TAdvColGrid* g = Grid();
    bool openDuringDialog = false;
    edit->OnGridButtonClick = [&](TObject*, int, int) {
        EXPECT_TRUE(edit->GetDropDownForm()->GetBlockActivate());
        TOwned<TForm> dialog(New<TForm>(nullptr));
        dialog->SetBounds(300, 300, 200, 120);
        dialog->OnShow = [&](TObject*) { PostMessageW(dialog->Handle(), WM_CLOSE, 0, 0); };
        dialog->OnClose = [&](TObject*, TCloseAction&) { openDuringDialog = Open(); };
        dialog->ShowModal();
    };
    g->OnButtonClick(g, 0, 1);
    Pump();
    EXPECT_TRUE(openDuringDialog);
    EXPECT_TRUE(Open()) << "the dialog closed no popup";
    EXPECT_FALSE(edit->GetDropDownForm()->GetBlockActivate());

    edit->OnGridButtonClick = [](TObject*, int, int) { throw Exception(L"handler failed"); };
    EXPECT_THROW(g->OnButtonClick(g, 0, 1), Exception);
    EXPECT_FALSE(edit->GetDropDownForm()->GetBlockActivate()) << "a failing handler leaves it False";
    edit->OnGridEllipsClick = [](TObject*, int, int, String&) { throw std::runtime_error("failed"); };
    String value;
    EXPECT_THROW(g->OnEllipsClick(g, 0, 1, value), std::runtime_error);
    EXPECT_FALSE(edit->GetDropDownForm()->GetBlockActivate());

    // Deactivation closes the popup again.
    SetForegroundWindow(edit->GetDropDownForm()->Handle());
    Pump();
    SetForegroundWindow(form->Handle());
    Pump();
    EXPECT_FALSE(Open());
}

TEST_F(GridDropDownTest, CustomDrawingIsConnectedOnlyWhenAssignedAtOpening)
{
    OpenByButton();
    int drawn = 0;
    TObject* sender = nullptr;
    edit->OnGridCustomCellDraw = [&](TObject* s, TCanvas*, int, int, TGridDrawState, TRect, bool) {
        sender = s;
        ++drawn;
    };
    EXPECT_FALSE(Grid()->OnCustomCellDraw) << "assigned while open: not yet";
    { TSnapshot picture(Grid()); }
    EXPECT_EQ(drawn, 0);
    Key(VK_ESCAPE);
    ASSERT_FALSE(Open());
    OpenByButton();
    { TSnapshot picture(Grid()); }
    EXPECT_GT(drawn, 0);
    EXPECT_EQ(sender, Grid());
    EXPECT_FALSE(Grid()->OnCustomCellBkgDraw);
}

TEST_F(GridDropDownTest, KeyEventsOfTheOpenGridReachTheHandlersWithTheDropDownAsSender)
{
    TObject* downSender = nullptr;
    TObject* pressSender = nullptr;
    TObject* upSender = nullptr;
    edit->OnGridKeyDown = [&](TObject* s, Word&, TShiftState) { downSender = s; };
    edit->OnGridKeyPress = [&](TObject* s, wchar_t&) { pressSender = s; };
    edit->OnGridKeyUp = [&](TObject* s, Word&, TShiftState) { upSender = s; };
    OpenByButton();
    Key('B');
    EXPECT_EQ(downSender, edit);
    EXPECT_EQ(pressSender, edit);
    EXPECT_EQ(upSender, edit);
    EXPECT_EQ(edit->GetItemIndex(), 2) << "the typed letter searched the grid";
    EXPECT_EQ(Grid()->GetRow(), 3);
}

} // namespace
