// The grid's keys on a shown grid through real input: each case sets the grid
// up, presses a chord, and checks the current cell, the top row and whether
// OnKeyDown fired. Then Space on control cells, Insert and Delete refused
// under a filter, the clipboard keys, select-all and typed characters.
#include "DataGridSupport.h"
#include "TestSupport.h"
#include <functional>
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

void Pump()
{
    for (int i = 0; i < 3; ++i)
        Application->ProcessMessages();
}

// Keys pressed in order and released in reverse, as real input.
void Chord(std::initializer_list<WORD> Keys)
{
    std::vector<INPUT> inputs;
    auto key = [&](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        const bool extended = vk == VK_HOME || vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_LEFT ||
                              vk == VK_RIGHT || vk == VK_UP || vk == VK_DOWN || vk == VK_INSERT || vk == VK_DELETE;
        in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(in);
    };
    for (WORD k : Keys)
        key(k, false);
    for (auto it = std::rbegin(Keys); it != std::rend(Keys); ++it)
        key(*it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump();
}

// A character typed as the keyboard would send it.
void TypeChar(wchar_t Ch)
{
    INPUT in[2]{};
    for (int i = 0; i < 2; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wScan = Ch;
        in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, in, sizeof(INPUT));
    Pump();
}

// A 5 x 50 grid (one fixed row and column) on a shown form, with the focus.
struct TKeyGrid : TShownGrid<> {
    int keyDowns = 0;
    TKeyGrid(int cols = 5, int rows = 50) : TShownGrid<>(cols, rows)
    {
        grid->OnKeyDown = [this](TObject*, Word&, TShiftState) { ++keyDowns; };
        SetForegroundWindow(form->Handle());
        grid->SetFocus();
        Pump();
    }
};

struct KeyCase {
    const char* name;
    std::function<void(TAdvStringGrid*)> setup;
    TPoint start;
    std::vector<WORD> keys;
    TPoint expected;
    int top;    // -1: not checked
    bool fired; // OnKeyDown
};

void PressKeys(const std::vector<WORD>& Keys)
{
    switch (Keys.size()) {
    case 1: Chord({Keys[0]}); break;
    case 2: Chord({Keys[0], Keys[1]}); break;
    default: Chord({Keys[0], Keys[1], Keys[2]}); break;
    }
}

TEST(KeyNavigation, KeysBySettings)
{
    const auto nav = [](TAdvStringGrid* g) { return g->GetNavigation(); };
    const KeyCase cases[] = {
        {"plain Down", [](TAdvStringGrid*) {}, {2, 5}, {VK_DOWN}, {2, 6}, -1, true},
        {"scroll only Down", [&](TAdvStringGrid* g) { nav(g)->SetMoveScrollOnly(true); }, {2, 1}, {VK_DOWN}, {2, 1}, 2, false},
        {"scroll only Home", [&](TAdvStringGrid* g) { nav(g)->SetMoveScrollOnly(true); g->SetTopRow(20); }, {2, 30}, {VK_HOME}, {2, 30}, 1, false},
        {"first-last cell Home", [&](TAdvStringGrid* g) { nav(g)->SetHomeEndKey(heFirstLastCell); }, {3, 10}, {VK_HOME}, {1, 1}, -1, true},
        {"first-last cell End", [&](TAdvStringGrid* g) { nav(g)->SetHomeEndKey(heFirstLastCell); }, {3, 10}, {VK_END}, {4, 49}, -1, true},
        {"first-last cell Shift+End is standard", [&](TAdvStringGrid* g) { nav(g)->SetHomeEndKey(heFirstLastCell); },
         {3, 10}, {VK_SHIFT, VK_END}, {4, 10}, -1, true},
        {"first-last column Home", [](TAdvStringGrid*) {}, {3, 10}, {VK_HOME}, {1, 10}, -1, true},
        {"first-last column End", [](TAdvStringGrid*) {}, {2, 10}, {VK_END}, {4, 10}, -1, true},
        {"first-last column Ctrl+Home", [](TAdvStringGrid*) {}, {3, 10}, {VK_CONTROL, VK_HOME}, {1, 1}, -1, true},
        {"first-last column Home in row select is standard",
         [](TAdvStringGrid* g) { g->SetOptions(g->GetOptions() + goRowSelect); }, {1, 10}, {VK_HOME}, {1, 1}, -1, true},
        {"first-last row Home", [&](TAdvStringGrid* g) { nav(g)->SetHomeEndKey(heFirstLastRow); }, {3, 10}, {VK_HOME}, {3, 1}, -1, true},
        {"first-last row End above a footer", [&](TAdvStringGrid* g) { nav(g)->SetHomeEndKey(heFirstLastRow); g->SetFixedFooters(1); },
         {3, 10}, {VK_END}, {3, 48}, -1, true},
        {"skip fixed: nothing right of the fixed right column",
         [&](TAdvStringGrid* g) { nav(g)->SetSkipFixedCells(true); g->SetFixedRightCols(1); }, {3, 5}, {VK_RIGHT}, {3, 5}, -1, true},
        {"skip fixed: over a cell the event fixes",
         [&](TAdvStringGrid* g) {
             nav(g)->SetSkipFixedCells(true);
             g->OnIsFixedCell = [](TObject*, int, int ACol, bool& Fixed) { Fixed = ACol == 2; };
         },
         {1, 5}, {VK_RIGHT}, {3, 5}, -1, true},
        {"skip fixed: no step into the footer",
         [&](TAdvStringGrid* g) { nav(g)->SetSkipFixedCells(true); g->SetFixedFooters(1); }, {2, 48}, {VK_DOWN}, {2, 48}, -1, true},
        {"loop Right at the last column", [&](TAdvStringGrid* g) { nav(g)->SetCursorAdvance(caLoop); }, {4, 5}, {VK_RIGHT}, {1, 5}, -1, true},
        {"snake Right at the last column", [&](TAdvStringGrid* g) { nav(g)->SetCursorAdvance(caSnake); }, {4, 5}, {VK_RIGHT}, {1, 6}, -1, true},
        {"snake Left at the first column", [&](TAdvStringGrid* g) { nav(g)->SetCursorAdvance(caSnake); }, {1, 5}, {VK_LEFT}, {4, 4}, -1, true},
        {"loop Down at the last row", [&](TAdvStringGrid* g) { nav(g)->SetCursorAdvance(caLoop); }, {2, 49}, {VK_DOWN}, {2, 1}, -1, true},
        {"snake Up at the first row", [&](TAdvStringGrid* g) { nav(g)->SetCursorAdvance(caSnake); }, {3, 1}, {VK_UP}, {2, 49}, -1, true},
        {"disabled rows are skipped",
         [&](TAdvStringGrid* g) { nav(g)->SetSkipDisabledRows(true); g->SetRowEnabled(6, false); g->SetRowEnabled(7, false); },
         {2, 5}, {VK_DOWN}, {2, 8}, -1, true},
        {"right to left: Left goes right", [](TAdvStringGrid* g) { g->SetBiDiMode(bdRightToLeft); }, {2, 5}, {VK_LEFT}, {3, 5}, -1, true},
        {"right to left: Right goes left", [](TAdvStringGrid* g) { g->SetBiDiMode(bdRightToLeft); }, {2, 5}, {VK_RIGHT}, {1, 5}, -1, true},
        {"zero-width columns are stepped over", [](TAdvStringGrid* g) { g->SetColWidths(3, 0); }, {2, 5}, {VK_RIGHT}, {4, 5}, -1, true},
        {"append on Down", [&](TAdvStringGrid* g) { nav(g)->SetAppendOnArrowDown(true); }, {2, 49}, {VK_DOWN}, {2, 50}, -1, true},
        {"Ctrl+Down moves the row", [&](TAdvStringGrid* g) { nav(g)->SetCursorMoveRows(true); }, {2, 5}, {VK_CONTROL, VK_DOWN}, {2, 6}, -1, true},
        {"Ctrl+Down stops above the footer",
         [&](TAdvStringGrid* g) { nav(g)->SetCursorMoveRows(true); g->SetFixedFooters(1); }, {2, 48}, {VK_CONTROL, VK_DOWN}, {2, 48}, -1, true},
        {"Ctrl+Up moves the row", [&](TAdvStringGrid* g) { nav(g)->SetCursorMoveRows(true); }, {2, 5}, {VK_CONTROL, VK_UP}, {2, 4}, -1, true},
    };
    for (const KeyCase& c : cases) {
        TKeyGrid g;
        c.setup(g.grid);
        g->FocusCell(c.start.x, c.start.y);
        Pump();
        g.keyDowns = 0;
        PressKeys(c.keys);
        EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), c.expected) << c.name;
        if (c.top >= 0)
            EXPECT_EQ(g->GetTopRow(), c.top) << c.name;
        EXPECT_EQ(g.keyDowns > 0, c.fired) << c.name;
    }
}

TEST(KeyNavigation, AppendAndRowMovesCarryTheTexts)
{
    TKeyGrid g;
    g->GetNavigation()->SetAppendOnArrowDown(true);
    g->FocusCell(2, 49);
    Chord({VK_DOWN});
    EXPECT_EQ(g->GetRowCount(), 51);
    EXPECT_EQ(g->GetCells(2, 50), L"");
    g->GetNavigation()->SetCursorMoveRows(true);
    g->FocusCell(2, 5);
    Chord({VK_CONTROL, VK_DOWN});
    EXPECT_EQ(g->GetCells(2, 6), CellName(2, 5));
    EXPECT_EQ(g->GetCells(2, 5), CellName(2, 6));
    // A block of rows moves as one, the selection with it.
    g->SetOptions(g->GetOptions() + goRangeSelect);
    g->SetSelection(TGridRect{1, 10, 3, 12});
    Chord({VK_CONTROL, VK_UP});
    EXPECT_EQ(g->GetCells(2, 9), CellName(2, 10));
    EXPECT_EQ(g->GetCells(2, 12), CellName(2, 9));
    EXPECT_EQ(g->GetSelection().Top, 9);
    EXPECT_EQ(g->GetSelection().Bottom, 11);
}

TEST(KeyNavigation, SpaceWorksCheckBoxesAndRadiosOnlyWhenTheyMayChange)
{
    struct Case {
        const char* name;
        bool editing;
        bool alwaysActive;
        WORD key;
        bool toggled;
    };
    const Case cases[] = {
        {"read-only grid", false, false, VK_SPACE, false},
        {"always active", false, true, VK_SPACE, true},
        {"editing", true, false, VK_SPACE, true},
        {"Enter never toggles", true, true, VK_RETURN, false},
    };
    for (const Case& c : cases) {
        TKeyGrid g;
        g->AddCheckBox(2, 3, false, false);
        TStringList items;
        items.Add(L"a");
        items.Add(L"b");
        items.Add(L"c");
        g->AddRadio(3, 3, 0, 0, &items);
        if (c.editing)
            g->SetOptions(g->GetOptions() + goEditing);
        g->GetControlLook()->SetCheckAlwaysActive(c.alwaysActive);
        g->GetControlLook()->SetRadioAlwaysActive(c.alwaysActive);
        int clicks = 0;
        g->OnCheckBoxClick = [&](TObject*, int ACol, int ARow, bool State) {
            ++clicks;
            EXPECT_EQ(ACol, 2);
            EXPECT_EQ(ARow, 3);
            EXPECT_TRUE(State);
        };
        int radioIndex = -1;
        g->OnRadioClick = [&](TObject*, int, int, int AIdx) { radioIndex = AIdx; };
        g->FocusCell(2, 3);
        Chord({c.key});
        EXPECT_EQ(g->IsChecked(2, 3), c.toggled) << c.name;
        EXPECT_EQ(clicks, c.toggled ? 1 : 0) << c.name;
        g->FocusCell(3, 3);
        Chord({c.key});
        int index = -1;
        g->GetRadioIdx(3, 3, index);
        EXPECT_EQ(index, c.toggled ? 1 : 0) << c.name;
        EXPECT_EQ(radioIndex, c.toggled ? 1 : -1) << c.name;
    }
}

TEST(KeyNavigation, InsertAndDeleteRefusedLeaveGridAndFilterAsTheyWere)
{
    TKeyGrid g(3, 10);
    g->GetNavigation()->SetAllowInsertRow(true);
    g->GetNavigation()->SetAllowDeleteRow(true);
    for (int r = 1; r < 10; ++r)
        g->SetCells(1, r, r % 2 ? L"odd" : L"even");
    TFilterData* f = g->GetFilter()->Add();
    f->SetColumn(1);
    f->SetCondition(L"odd");
    g->SetFilterActive(true);
    ASSERT_EQ(g->GetRowCount(), 6);
    g->OnCanInsertRow = [](TObject*, int, bool& Allow) { Allow = false; };
    g->OnCanDeleteRow = [](TObject*, int, bool& Allow) { Allow = false; };
    g->FocusCell(1, 2);
    Chord({VK_INSERT});
    EXPECT_EQ(g->GetRowCount(), 6);
    EXPECT_TRUE(g->GetFilterActive());
    Chord({VK_DELETE});
    EXPECT_EQ(g->GetRowCount(), 6);
    EXPECT_EQ(g->TotalRowCount(), 10);
    EXPECT_TRUE(g->GetFilterActive());
    EXPECT_FALSE(g->GetModified());
    // Allowed, Delete removes the row and the filter comes back.
    g->OnCanDeleteRow = nullptr;
    const int real = g->GetRealRow();
    Chord({VK_DELETE});
    EXPECT_EQ(g->TotalRowCount(), 9);
    EXPECT_TRUE(g->GetFilterActive());
    EXPECT_TRUE(g->GetModified());
    for (int r = 1; r < g->GetRowCount(); ++r)
        EXPECT_EQ(g->GetCells(1, r), L"odd");
    EXPECT_EQ(real, 3);
    // Ctrl+Insert does not insert.
    g->OnCanInsertRow = nullptr;
    Chord({VK_CONTROL, VK_INSERT});
    EXPECT_EQ(g->TotalRowCount(), 9);
    Chord({VK_INSERT});
    EXPECT_EQ(g->TotalRowCount(), 10);
    EXPECT_TRUE(g->GetFilterActive());
}

// Insert and Delete on a grid of one data row and inside a tree: the one
// row is emptied unless FixedRowAlways lets it go, and a node's children
// keep its span in step.
TEST(KeyNavigation, InsertAndDeleteKeepTheOnlyRowAndTheNodeSpans)
{
    struct Case {
        const char* name;
        bool fixedRowAlways;
        int rowsAfter;
        const wchar_t* textAfter;
    };
    const Case cases[] = {
        {"the only row is emptied", false, 2, L""},
        {"FixedRowAlways removes it", true, 1, nullptr},
    };
    for (const Case& c : cases) {
        TKeyGrid g(3, 2);
        g->GetNavigation()->SetAllowDeleteRow(true);
        g->SetFixedRowAlways(c.fixedRowAlways);
        g->SetCells(1, 1, L"data");
        std::vector<int> deleted;
        g->OnAutoDeleteRow = [&](TObject*, int ARow) { deleted.push_back(ARow); };
        g->FocusCell(1, 1);
        Chord({VK_DELETE});
        EXPECT_EQ(g->GetRowCount(), c.rowsAfter) << c.name;
        if (c.textAfter)
            EXPECT_EQ(g->GetCells(1, 1), c.textAfter) << c.name;
        EXPECT_EQ(deleted, std::vector<int>{1}) << c.name;
    }

    TKeyGrid tree(3, 8);
    tree->GetNavigation()->SetAllowInsertRow(true);
    tree->GetNavigation()->SetAllowDeleteRow(true);
    tree->AddNode(1, 3);
    ASSERT_EQ(tree->GetNodeSpan(1), 3);
    tree->FocusCell(1, 2);
    Chord({VK_INSERT});
    EXPECT_EQ(tree->GetRowCount(), 9);
    EXPECT_EQ(tree->GetNodeSpan(1), 4) << "a row inserted under the node is its child";
    tree->FocusCell(1, 6);
    Chord({VK_INSERT});
    EXPECT_EQ(tree->GetRowCount(), 10);
    EXPECT_EQ(tree->GetNodeSpan(1), 4) << "a row outside the node leaves it";
    tree->FocusCell(1, 3);
    Chord({VK_DELETE});
    EXPECT_EQ(tree->GetRowCount(), 9);
    EXPECT_EQ(tree->GetNodeSpan(1), 3) << "a child removed shrinks the node";
    tree->FocusCell(1, 7);
    Chord({VK_DELETE});
    EXPECT_EQ(tree->GetRowCount(), 8);
    EXPECT_EQ(tree->GetNodeSpan(1), 3);
}

TEST(KeyNavigation, CtrlCFillsTheClipboardAndTypesNothing)
{
    TKeyGrid g;
    g->SetOptions(g->GetOptions() + goEditing + goRangeSelect);
    g->GetNavigation()->SetAllowClipboardShortCuts(true);
    g->SetSelection(TGridRect{1, 2, 2, 3});
    Chord({VK_CONTROL, 'C'});
    EXPECT_FALSE(g->GetEditorMode());
    EXPECT_EQ(g->GetCells(2, 3), CellName(2, 3));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const String text(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(text, L"r2c1\tr2c2\r\nr3c1\tr3c2\r\n");
}

TEST(KeyNavigation, CtrlASelectsEveryNormalCellOrNothing)
{
    {
        TKeyGrid g;
        g->SetOptions(g->GetOptions() + goRangeSelect);
        g->SetFixedRightCols(1);
        g->SetFixedFooters(1);
        Chord({VK_CONTROL, 'A'});
        const TGridRect sel = g->GetSelection();
        EXPECT_EQ(TPoint(sel.Left, sel.Top), TPoint(1, 1));
        EXPECT_EQ(TPoint(sel.Right, sel.Bottom), TPoint(3, 48));
    }
    {
        // Without range or row selection nothing happens.
        TKeyGrid g;
        g->SetOptions(g->GetOptions() - goRangeSelect - goRowSelect);
        g->FocusCell(2, 2);
        Chord({VK_CONTROL, 'A'});
        EXPECT_EQ(g->GetSelection().Bottom, 2);
        EXPECT_EQ(g->GetSelection().Right, 2);
    }
    {
        // Without normal rows: nothing, no click on a fixed cell.
        TKeyGrid g(5, 3);
        g->SetOptions(g->GetOptions() + goRangeSelect);
        g->SetFixedFooters(2);
        int clicks = 0;
        g->OnClickCell = [&](TObject*, int, int) { ++clicks; };
        const TGridRect before = g->GetSelection();
        Chord({VK_CONTROL, 'A'});
        EXPECT_EQ(g->GetSelection().Left, before.Left);
        EXPECT_EQ(g->GetSelection().Bottom, before.Bottom);
        EXPECT_EQ(clicks, 0);
    }
}

TEST(KeyNavigation, EveryPrintableCharacterOpensTheEditorWithItself)
{
    for (wchar_t ch : {L'a', L'\x0451', L'\x20AC'}) {
        TKeyGrid g;
        g->SetOptions(g->GetOptions() + goEditing);
        g->FocusCell(2, 2);
        TypeChar(ch);
        ASSERT_TRUE(g->GetEditorMode()) << int(ch);
        EXPECT_EQ(g->InplaceEditor()->GetText(), String(1, ch));
        EXPECT_EQ(g->GetStartEditChar(), ch);
    }
    // Without goEditing a character opens nothing.
    TKeyGrid g;
    g->FocusCell(2, 2);
    TypeChar(L'a');
    EXPECT_FALSE(g->GetEditorMode());
}

} // namespace

namespace {

TEST(KeyNavigation, SpaceSetsRadioButtonsOfTheirGroupOnlyWhenTheyMayChange)
{
    struct Case {
        const char* name;
        bool editing;
        bool alwaysActive;
        bool set;
    };
    const Case cases[] = {
        {"read-only grid", false, false, false},
        {"always active", false, true, true},
        {"editing", true, false, true},
    };
    for (const Case& c : cases) {
        TKeyGrid g;
        // A column group in column 2 and a row group in row 6.
        g->AddRadioButton(2, 3, false);
        g->AddRadioButton(2, 4, true);
        g->AddRadioButtonGroup(3, 6, rgRow, false);
        g->AddRadioButtonGroup(4, 6, rgRow, true);
        if (c.editing)
            g->SetOptions(g->GetOptions() + goEditing);
        g->GetControlLook()->SetRadioAlwaysActive(c.alwaysActive);
        std::vector<TPoint> clicks;
        g->OnRadioButtonClick = [&](TObject*, int ACol, int ARow) { clicks.push_back(TPoint(ACol, ARow)); };
        g->FocusCell(2, 3);
        Chord({VK_SPACE});
        EXPECT_EQ(g->IsRadioButtonChecked(2, 3), c.set) << c.name;
        EXPECT_EQ(g->IsRadioButtonChecked(2, 4), !c.set) << c.name;
        g->FocusCell(3, 6);
        Chord({VK_SPACE});
        EXPECT_EQ(g->IsRadioButtonChecked(3, 6), c.set) << c.name;
        EXPECT_EQ(g->IsRadioButtonChecked(4, 6), !c.set) << c.name;
        // The row group leaves column 2's group alone.
        EXPECT_EQ(g->IsRadioButtonChecked(2, 3), c.set) << c.name;
        if (c.set)
            EXPECT_EQ(clicks, (std::vector<TPoint>{TPoint(2, 3), TPoint(3, 6)})) << c.name;
        else
            EXPECT_TRUE(clicks.empty()) << c.name;
    }
}

TEST(KeyNavigation, DisjunctCellSelectionFollowsShiftAndSpaceOnKeyUp)
{
    TKeyGrid g;
    g->SetOptions(g->GetOptions() + goRangeSelect);
    g->GetMouseActions()->SetDisjunctCellSelect(true);
    g->FocusCell(1, 2);
    Pump();
    // Shift+Right: the new selection's cells but the current one join the list.
    Chord({VK_SHIFT, VK_RIGHT});
    const TGridRect sel = g->GetSelection();
    ASSERT_EQ(sel.Right - sel.Left, 1);
    EXPECT_EQ(g->GetSelectedCellsCount(), 1);
    EXPECT_FALSE(g->IsSelected(g->GetCol(), g->GetRow()));
    // Space starts the list over with the current cell and the rest of the selection.
    Chord({VK_SPACE});
    EXPECT_EQ(g->GetSelectedCellsCount(), 2);
    EXPECT_TRUE(g->IsSelected(1, 2));
    EXPECT_TRUE(g->IsSelected(2, 2));
    // Ctrl+Space takes a cell out and puts it back.
    Chord({VK_DOWN});
    Chord({VK_DOWN});
    Chord({VK_CONTROL, VK_SPACE});
    const TPoint at(g->GetCol(), g->GetRow());
    EXPECT_TRUE(g->IsSelected(at.x, at.y));
    EXPECT_EQ(g->GetSelectedCellsCount(), 3);
    Chord({VK_CONTROL, VK_SPACE});
    EXPECT_FALSE(g->IsSelected(at.x, at.y));
    EXPECT_EQ(g->GetSelectedCellsCount(), 2);
    // While editing the list is left alone.
    g->SetOptions(g->GetOptions() + goEditing);
    Chord({VK_CONTROL, VK_SPACE});
    EXPECT_EQ(g->GetSelectedCellsCount(), 2);
}

TEST(KeyNavigation, TheKeypadDecimalTypesTheLocaleSeparator)
{
    const wchar_t separator = FormatSettings.DecimalSeparator;
    const TScopeExit restore([separator] { FormatSettings.DecimalSeparator = separator; });
    FormatSettings.DecimalSeparator = L',';
    struct Case {
        const char* name;
        bool excelStyle;
        WORD key;
        const wchar_t* typed;
    };
    const Case cases[] = {
        {"keypad with the switch", true, VK_DECIMAL, L","},
        {"keypad without it", false, VK_DECIMAL, L"."},
        {"main keyboard", true, VK_OEM_PERIOD, L"."},
    };
    for (const Case& c : cases) {
        TKeyGrid g;
        g->SetOptions(g->GetOptions() + goEditing);
        g->SetExcelStyleDecimalSeparator(c.excelStyle);
        g->FocusCell(2, 2);
        Pump();
        Chord({c.key});
        ASSERT_TRUE(g->GetEditorMode()) << c.name;
        EXPECT_EQ(g->InplaceEditor()->GetText(), c.typed) << c.name;
    }
}

TEST(KeyNavigation, CtrlTabOnTheLastNormalColumnGoesToTheNextRowsFirst)
{
    struct Case {
        TPoint start;
        TPoint expected;
    };
    // Five columns, the last fixed on the right: column 3 is the last normal one.
    const Case cases[] = {
        {{3, 5}, {1, 6}},
        {{3, 49}, {1, 1}}, // the last normal row goes round to the first
    };
    for (const Case& c : cases) {
        TKeyGrid g;
        g->SetOptions(g->GetOptions() + goTabs);
        g->SetFixedRightCols(1);
        g->FocusCell(c.start.x, c.start.y);
        Pump();
        Chord({VK_CONTROL, VK_TAB});
        EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), c.expected) << c.start.x << "," << c.start.y;
    }
}

} // namespace

namespace {

// The main window's table: row selection with marked rows, the horizontal
// position kept by Up and Down.
TEST(KeyNavigation, LeftAndRightInRowSelectionScrollTheColumnsAndKeepTheMarkedRow)
{
    TKeyGrid g(28, 20);
    g->SetOptions(g->GetOptions() + goRowSelect);
    g->GetMouseActions()->SetDisjunctRowSelect(true);
    g->GetNavigation()->SetKeepHorizScroll(true);
    g->FocusCell(1, 3);
    g->SetRowSelect(3, true);
    Pump();
    const int left = g->GetLeftCol();
    Chord({VK_RIGHT});
    Chord({VK_RIGHT});
    EXPECT_EQ(g->GetLeftCol(), left + 2);
    EXPECT_EQ(g->GetRow(), 3);
    EXPECT_TRUE(g->GetRowSelect(3));
    Chord({VK_LEFT});
    EXPECT_EQ(g->GetLeftCol(), left + 1);
    EXPECT_EQ(g->GetRow(), 3);
    EXPECT_TRUE(g->GetRowSelect(3));
    // Up and Down keep the horizontal position; Ctrl+A marks every row.
    Chord({VK_DOWN});
    EXPECT_EQ(g->GetRow(), 4);
    EXPECT_EQ(g->GetLeftCol(), left + 1);
    EXPECT_TRUE(g->GetRowSelect(4));
    EXPECT_FALSE(g->GetRowSelect(3));
    Chord({VK_UP});
    EXPECT_TRUE(g->GetRowSelect(3));
    EXPECT_FALSE(g->GetRowSelect(4));
    Chord({VK_CONTROL, 'A'});
    for (int r = 1; r < 20; ++r)
        EXPECT_TRUE(g->GetRowSelect(r)) << r;
}

} // namespace
