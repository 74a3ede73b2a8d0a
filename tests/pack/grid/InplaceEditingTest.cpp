// In-place editing on a shown grid through real input: the order of the
// events when an edit ends by Enter, the text editor's filters by editor
// kind for typed and pasted text (the real clipboard), lookup completion,
// Escape, the multi-line keys, the cursor walk, where the editor's window
// and text rectangle go, and what happens when another window takes the
// focus from it.
#include "AdvGridEditing.h"
#include "AdvUtil.h"
#include "AsgCombo.h"
#include "DataGridSupport.h"
#include "StdCtrls.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

using namespace datagrid_test;

namespace {

void Pump()
{
    for (int i = 0; i < 4; ++i)
        Application->ProcessMessages();
}

bool IsExtended(WORD vk)
{
    return vk == VK_HOME || vk == VK_END || vk == VK_PRIOR || vk == VK_NEXT || vk == VK_LEFT || vk == VK_RIGHT ||
           vk == VK_UP || vk == VK_DOWN || vk == VK_INSERT || vk == VK_DELETE;
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
        in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
        inputs.push_back(in);
    };
    for (WORD k : Keys)
        key(k, false);
    for (auto it = std::rbegin(Keys); it != std::rend(Keys); ++it)
        key(*it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Pump();
}

// Characters typed as the keyboard sends them.
void Type(const std::wstring& Text)
{
    for (wchar_t ch : Text) {
        INPUT in[2]{};
        for (int i = 0; i < 2; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wScan = ch;
            in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, in, sizeof(INPUT));
        Pump();
    }
}

void PutOnClipboard(const std::wstring& Text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const size_t bytes = (Text.size() + 1) * sizeof(wchar_t);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(mem), Text.c_str(), bytes);
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

// A shown editing grid with the focus, 6 x 12, one fixed row and column.
struct TEditGrid : TShownGrid<> {
    explicit TEditGrid(int cols = 6, int rows = 12) : TShownGrid<>(cols, rows)
    {
        grid->SetOptions(grid->GetOptions() + goEditing);
        SetForegroundWindow(form->Handle());
        grid->SetFocus();
        Pump();
    }
    // Opens the current cell's editor by F2; with Replace what is typed
    // replaces the text, else the caret stands at its end.
    void Edit(int col, int row, bool Replace = true)
    {
        grid->FocusCell(col, row);
        grid->SetFocus();
        Pump();
        Chord({VK_F2});
        if (Replace && EditorShown())
            SendMessageW(EditorWindow(), EM_SETSEL, 0, -1);
    }
    HWND EditorWindow() const { return grid->InplaceEditor() ? grid->InplaceEditor()->GetHandle() : nullptr; }
    String EditorText() const { return grid->InplaceEditor()->GetText(); }
    bool EditorShown() const
    {
        return grid->InplaceEditor() && grid->InplaceEditor()->HandleAllocated() && IsWindowVisible(EditorWindow());
    }
};

// The events of an ending edit, recorded by name.
struct TEventLog {
    std::vector<std::string> names;
    void Attach(TAdvStringGrid* g, bool refuse = false)
    {
        g->OnCellValidate = [this, refuse](TObject*, int, int, String&, bool& Valid) {
            names.push_back("validate");
            Valid = !refuse;
        };
        g->OnCellsChanged = [this](TObject*, const TRect&) { names.push_back("cells changed"); };
        g->OnEditingDone = [this](TObject*) { names.push_back("editing done"); };
        g->OnAutoAdvance = [this](TObject*, int, int, int&, int&, bool&) { names.push_back("auto advance"); };
        g->OnCellChanging = [this](TObject*, int, int, int, int, bool&) { names.push_back("cell changing"); };
        g->OnColChanging = [this](TObject*, int, int, bool&) { names.push_back("col changing"); };
        g->OnEditCellDone = [this](TObject*, int, int) { names.push_back("edit cell done"); };
    }
};

// An application's editor: a plain edit that hands its keys to the link.
class TTestLink : public TEditLink {
public:
    using TEditLink::TEditLink;
    TEdit* edit = nullptr;
    TWinControl* parentGiven = nullptr;
    void CreateEditor(TWinControl* AParent) override
    {
        parentGiven = AParent;
        if (!edit) {
            edit = New<TEdit>(AParent);
            edit->OnKeyDown = [this](TObject* Sender, Word& Key, TShiftState Shift) { EditKeyDown(Sender, Key, Shift); };
        }
        edit->SetParent(AParent);
    }
    TWinControl* GetEditControl() override { return edit; }
    String GetEditorValue() override { return edit ? edit->GetText() : String(); }
    void SetEditorValue(const String& s) override
    {
        if (edit)
            edit->SetText(s);
    }
};

// The tests marked  are written but not yet seen to pass here:
// the edit link reports its end twice, and the kinds table does not return
// after its last grid. They are switched on once those are mended.

// --- the order of the events --------------------------------------------------------------

TEST(InplaceEditing, EnterInTheTextEditorEndsTheEditInOrder)
{
    TEditGrid g;
    g->GetNavigation()->SetAdvanceOnEnter(true);
    g->GetNavigation()->SetAdvanceAutoEdit(false);
    TEventLog log;
    log.Attach(g.grid);
    g.Edit(2, 3);
    ASSERT_TRUE(g.EditorShown());
    Type(L"x");
    Chord({VK_RETURN});
    Pump();
    const std::vector<std::string> expected{"validate",      "cells changed", "editing done",  "auto advance",
                                            "cell changing", "col changing",  "edit cell done"};
    EXPECT_EQ(log.names, expected);
    EXPECT_EQ(g->GetCells(2, 3), L"x");
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(3, 3));
    EXPECT_FALSE(g.EditorShown());
}

TEST(InplaceEditing, ARefusingValidationStopsWithTheEditorOpen)
{
    TEditGrid g;
    g->GetNavigation()->SetAdvanceOnEnter(true);
    TEventLog log;
    log.Attach(g.grid, true);
    g.Edit(2, 3);
    Type(L"bad");
    Chord({VK_RETURN});
    Pump();
    EXPECT_EQ(log.names, std::vector<std::string>{"validate"});
    EXPECT_TRUE(g.EditorShown());
    EXPECT_EQ(g.EditorText(), L"bad");
    EXPECT_EQ(g->GetCells(2, 3), CellName(2, 3));
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(2, 3));
}

TEST(InplaceEditing, AdvanceAutoEditOpensTheNextCellsEditor)
{
    TEditGrid g;
    g->GetNavigation()->SetAdvanceOnEnter(true);
    g->GetNavigation()->SetAdvanceAutoEdit(true);
    g.Edit(1, 2);
    Type(L"7");
    Chord({VK_RETURN});
    Pump();
    EXPECT_EQ(g->GetCells(1, 2), L"7");
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(2, 2));
    EXPECT_TRUE(g.EditorShown());
    EXPECT_EQ(GetFocus(), g.EditorWindow());
}

TEST(InplaceEditing, EnterInAnEditLinkEndsTheEditInOrder)
{
    TEditGrid g;
    g->GetNavigation()->SetAdvanceOnEnter(true);
    g->GetNavigation()->SetAdvanceAutoEdit(false);
    TOwned<TTestLink> link(New<TTestLink>(nullptr));
    g->SetEditLink(link.get());
    g->SetDefaultEditor(edCustom);
    TEventLog log;
    log.Attach(g.grid);
    g.Edit(2, 3);
    ASSERT_NE(link->edit, nullptr);
    EXPECT_EQ(link->parentGiven, g.grid);
    EXPECT_EQ(GetFocus(), link->edit->GetHandle());
    EXPECT_EQ(link->edit->GetText(), CellName(2, 3));
    link->edit->SetText(L"linked");
    Chord({VK_RETURN});
    Pump();
    const std::vector<std::string> expected{"validate",      "cells changed", "editing done",  "auto advance",
                                            "cell changing", "col changing",  "edit cell done"};
    EXPECT_EQ(log.names, expected);
    EXPECT_EQ(g->GetCells(2, 3), L"linked");
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(3, 3));
    EXPECT_FALSE(IsWindowVisible(link->edit->GetHandle()));

    // A refusal keeps the control open on its cell.
    log.names.clear();
    log.Attach(g.grid, true);
    g.Edit(3, 3);
    link->edit->SetText(L"refused");
    Chord({VK_RETURN});
    Pump();
    EXPECT_EQ(log.names, std::vector<std::string>{"validate"});
    EXPECT_TRUE(IsWindowVisible(link->edit->GetHandle()));
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(3, 3));
    g->SetEditLink(nullptr);
}

// --- the text editor's filters ------------------------------------------------------------

struct KindCase {
    const char* name;
    TEditorType kind;
    std::wstring start;
    bool home;            // the caret goes to the start first
    std::wstring input;   // typed, or pasted when paste is set
    bool paste;
    int limit;            // MaxEditLength
    std::wstring expected;
};

TEST(InplaceEditing, TypedAndPastedInputByKind)
{
    const std::wstring dec(1, GetDecimalSeparatorChar());
    const std::wstring thou(1, GetThousandSeparatorChar());
    const std::wstring full(40000, L'a');
    const std::wstring almost(39999, L'a');
    const KindCase cases[] = {
        {"numeric: a minus at the start", edNumeric, L"12", true, L"-", false, 0, L"-12"},
        {"numeric: no second minus", edNumeric, L"-12", false, L"-", false, 0, L"-12"},
        {"numeric: no minus behind a digit", edNumeric, L"12", false, L"-", false, 0, L"12"},
        {"numeric: no letters", edNumeric, L"1", false, L"a2", false, 0, L"12"},
        {"positive numeric: no minus", edPositiveNumeric, L"5", true, L"-", false, 0, L"5"},
        {"positive numeric: no pasted minus", edPositiveNumeric, L"", false, L"-5", true, 0, L""},
        {"float: no second decimal separator", edFloat, L"1" + dec + L"5", false, dec, false, 0, L"1" + dec + L"5"},
        {"float: no thousand separator", edFloat, L"1", false, thou + L"2", false, 0, L"12"},
        {"positive float: no minus", edPositiveFloat, L"2", true, L"-", false, 0, L"2"},
        {"upper case", edUpperCase, L"", false, L"abc", false, 0, L"ABC"},
        {"lower case", edLowerCase, L"AB", false, L"CD", false, 0, L"ABcd"},
        {"capital", edCapital, L"", false, L"xy", false, 0, L"XY"},
        {"mixed case", edMixedCase, L"", false, L"mcdonald", false, 0, L"McDonald"},
        {"valid characters typed from the set", edValidChars, L"", false, L"1a2", false, 0, L"12"},
        {"valid characters pasted from the set", edValidChars, L"", false, L"12", true, 0, L"12"},
        {"valid characters: a pasted letter refuses all", edValidChars, L"", false, L"1a", true, 0, L""},
        {"numeric: pasted letters change nothing", edNumeric, L"1", false, L"abc", true, 0, L"1"},
        {"pasted line break goes", edNormal, L"", false, L"12\r\n", true, 0, L"12"},
        {"pasted wide text", edNormal, L"", false, L"\u0416\u0443\u043A", true, 0, L"\u0416\u0443\u043A"},
        {"limit 3: typing in a full editor", edNormal, L"abc", false, L"d", false, 3, L"abc"},
        {"limit 3: pasting in a full editor", edNormal, L"abc", false, L"d", true, 3, L"abc"},
        {"limit 40,000 holds when full", edNormal, full, false, L"b", false, 40000, full},
        {"limit 40,000 takes the last character", edNormal, almost, false, L"b", false, 40000, almost + L"b"},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.name);
        TEditGrid g;
        g->SetDefaultEditor(c.kind);
        g->SetValidCharSet(L"0123456789");
        g->SetMaxEditLength(c.limit);
        // Wrapping re-measures the rest of a line for each break it finds:
        // a 40,000-character word would take minutes under the test platform.
        g->SetWordWrap(false);
        g->GetNavigation()->SetEditSelectAll(false);
        g->SetCells(2, 2, c.start);
        std::vector<String> afterPaste;
        g->OnClipboardAfterPasteCell = [&](TObject*, int, int, const String& v) { afterPaste.push_back(v); };
        g.Edit(2, 2, false);
        ASSERT_TRUE(g.EditorShown());
        if (c.home)
            Chord({VK_HOME});
        if (c.paste) {
            PutOnClipboard(c.input);
            Chord({VK_CONTROL, 'V'});
        } else {
            Type(c.input);
        }
        EXPECT_EQ(g.EditorText(), c.expected);
        if (c.paste && c.limit == 0) {
            ASSERT_EQ(afterPaste.size(), 1u);
            EXPECT_EQ(afterPaste[0], c.expected);
        }
    }
}

TEST(InplaceEditing, LookupCompletesFromTheFirstMatchingItem)
{
    TEditGrid g;
    g->SetLookup(true);
    g->GetLookupItems()->Add(L"Apple");
    g->GetLookupItems()->Add(L"Apricot");
    g->SetCells(2, 2, L"");
    g.Edit(2, 2);
    Type(L"ap");
    EXPECT_EQ(g.EditorText(), L"apple");
    DWORD start = 0, end = 0;
    SendMessageW(g.EditorWindow(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 5u);
    // After Backspace nothing completes until another key.
    Chord({VK_BACK});
    EXPECT_EQ(g.EditorText(), L"ap");
}

TEST(InplaceEditing, EscapeGivesBackTheTextTheCellHadAndEnds)
{
    TEditGrid g;
    g.Edit(3, 4);
    Type(L"typed");
    EXPECT_EQ(g.EditorText(), L"typed");
    Chord({VK_ESCAPE});
    EXPECT_FALSE(g.EditorShown());
    EXPECT_EQ(g->GetCells(3, 4), CellName(3, 4));
}

TEST(InplaceEditing, UpAndDownMoveInsideMultiLineTextFirst)
{
    TEditGrid g;
    g->SetMultilineCells(true);
    g->SetRowHeights(4, 60);
    g->SetCells(2, 4, L"one\r\ntwo");
    g->GetNavigation()->SetEditSelectAll(false);
    g.Edit(2, 4, false);
    // The caret stands at the end, on the second line: Up moves it only.
    Chord({VK_UP});
    EXPECT_TRUE(g.EditorShown());
    EXPECT_EQ(g->GetRow(), 4);
    EXPECT_EQ(SendMessageW(g.EditorWindow(), EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 0);
    // Up on the first line validates and leaves the cell.
    int validated = 0;
    g->OnCellValidate = [&](TObject*, int, int, String&, bool&) { ++validated; };
    Type(L"x");
    Chord({VK_UP});
    EXPECT_EQ(g->GetRow(), 3);
    EXPECT_EQ(validated, 1);
}

TEST(InplaceEditing, TheCursorWalksOutOfTheEditorAtTheEnds)
{
    TEditGrid g;
    g->GetNavigation()->SetCursorWalkEditor(true);
    g->GetNavigation()->SetEditSelectAll(false);
    g.Edit(2, 2, false);
    Type(L"x");
    // The caret is at the end: Right validates, walks to the next cell and
    // (CursorWalkAlwaysEdit being on by default) opens its editor.
    Chord({VK_RIGHT});
    EXPECT_EQ(g->GetCells(2, 2), CellName(2, 2) + L"x");
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(3, 2));
    ASSERT_TRUE(g.EditorShown());
    EXPECT_EQ(g.EditorText(), CellName(3, 2));
    // Without it the walk back from the start ends the edit.
    g->GetNavigation()->SetCursorWalkAlwaysEdit(false);
    Chord({VK_HOME});
    Chord({VK_LEFT});
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(2, 2));
    EXPECT_FALSE(g.EditorShown());
}

TEST(InplaceEditing, TheEditorCoversMergedCellsAndAlignsItsText)
{
    TEditGrid g;
    g->MergeCells(2, 2, 2, 1);
    g.Edit(2, 2);
    ASSERT_TRUE(g.EditorShown());
    RECT window{};
    GetWindowRect(g.EditorWindow(), &window);
    MapWindowPoints(nullptr, g->GetHandle(), reinterpret_cast<POINT*>(&window), 2);
    const TRect first = g->CellRect(2, 2);
    const TRect second = g->CellRect(3, 2);
    EXPECT_EQ(window.left, first.left);
    EXPECT_EQ(window.top, first.top);
    EXPECT_EQ(window.right, second.right - 1);
    EXPECT_EQ(window.bottom, first.bottom - 1);
    Chord({VK_ESCAPE});

    // Centred: the text rectangle moves down by half the free height.
    g->SetWordWrap(false);
    g->SetVAlignment(vtaCenter);
    g->SetRowHeights(5, 60);
    g.Edit(2, 5);
    RECT format{};
    SendMessageW(g.EditorWindow(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    EXPECT_GT(format.top, 10);
    // Two pixels in, and the edit's own margin inside that.
    const LRESULT margins = SendMessageW(g.EditorWindow(), EM_GETMARGINS, 0, 0);
    EXPECT_EQ(format.left, 2 + LOWORD(margins));
    Chord({VK_ESCAPE});
    g->SetVAlignment(vtaBottom);
    g.Edit(2, 5);
    RECT bottom{};
    SendMessageW(g.EditorWindow(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&bottom));
    EXPECT_GT(bottom.top, format.top);
    Chord({VK_ESCAPE});

    // Right to left: one pixel in from the cell's left edge.
    g->SetBiDiMode(bdRightToLeft);
    g.Edit(4, 6);
    RECT rtl{};
    GetWindowRect(g.EditorWindow(), &rtl);
    MapWindowPoints(nullptr, g->GetHandle(), reinterpret_cast<POINT*>(&rtl), 2);
    EXPECT_EQ(rtl.left, g->CellRect(4, 6).left + 1);
}

TEST(InplaceEditing, FocusLostToAnotherWindowValidatesAsEnterDoes)
{
    TEditGrid g;
    TEdit* other = New<TEdit>(g.form);
    other->SetParent(g.form);
    other->SetBounds(10, 320, 100, 22);
    std::vector<String> validated;
    int changed = 0;
    g->OnCellsChanged = [&](TObject*, const TRect&) { ++changed; };
    g->OnCellValidate = [&](TObject*, int, int, String& v, bool&) { validated.push_back(v); };
    g.Edit(2, 2);
    Type(L"kept");
    other->SetFocus();
    Pump();
    EXPECT_EQ(validated, std::vector<String>{L"kept"});
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(g->GetCells(2, 2), L"kept");
    EXPECT_TRUE(g->GetModified());
    EXPECT_FALSE(g.EditorShown());

    // A refusal writes the old text back and leaves the focus where it went.
    g->OnCellValidate = [](TObject*, int, int, String&, bool& Valid) { Valid = false; };
    g.Edit(3, 2);
    Type(L"nope");
    other->SetFocus();
    Pump();
    EXPECT_EQ(g->GetCells(3, 2), CellName(3, 2));
    EXPECT_EQ(GetFocus(), other->GetHandle());
    EXPECT_FALSE(g.EditorShown());
}

// --- changing the current cell ---------------------------------------------------------------

TEST(CellChange, CellsThatCannotBecomeCurrent)
{
    {
        // A covered cell of a merged block: its base cell becomes current.
        TEditGrid g;
        g->MergeCells(2, 2, 2, 2);
        g->FocusCell(1, 1);
        g->SetCol(3);
        g->SetRow(3);
        EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(2, 2));
    }
    {
        // Tree nodes: column 0 never becomes current without row selection.
        TEditGrid g;
        g->SetFixedCols(0);
        g->AddNode(2, 2);
        g->FocusCell(1, 3);
        g->SetCol(0);
        EXPECT_EQ(g->GetCol(), 1);
    }
    {
        // Disabled rows are skipped when the navigation says so.
        TEditGrid g;
        g->SetRowEnabled(4, false);
        g->GetNavigation()->SetSkipDisabledRows(true);
        g->FocusCell(2, 3);
        g->SetRow(4);
        EXPECT_EQ(g->GetRow(), 3);
        g->SetRow(5);
        EXPECT_EQ(g->GetRow(), 5);
    }
    {
        // The fixed footer row.
        TEditGrid g;
        g->SetFixedFooters(1);
        g->FocusCell(2, 3);
        g->SetRow(11);
        EXPECT_EQ(g->GetRow(), 3);
    }
}

TEST(CellChange, EditingIsSwitchedPerCell)
{
    TEditGrid g;
    g->OnCanEditCell = [](TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol != 3; };
    g->FocusCell(2, 2);
    EXPECT_TRUE(g->GetOptions().Contains(goEditing));
    g->SetCol(3);
    EXPECT_FALSE(g->GetOptions().Contains(goEditing));
    // Typing in the read-only cell opens nothing.
    Type(L"q");
    EXPECT_FALSE(g.EditorShown());
    g->SetCol(4);
    EXPECT_TRUE(g->GetOptions().Contains(goEditing));
    Type(L"q");
    EXPECT_TRUE(g.EditorShown());
}

// --- advance after Enter --------------------------------------------------------------------

struct AdvanceCase {
    const char* name;
    TAdvanceDirection direction;
    bool loop;
    bool insert;
    bool skipReadOnly;
    int readOnlyCol;   // -1: none
    TPoint start;
    TPoint expected;
    int rows;          // RowCount after the Enter
};

TEST(AdvanceEditCell, ByDirectionLoopInsertAndReadOnlyCells)
{
    // A 5 x 6 grid: columns 1 .. 4, rows 1 .. 5 take the cursor.
    const AdvanceCase cases[] = {
        {"right", adLeftRight, false, false, false, -1, {2, 2}, {3, 2}, 6},
        {"right wraps to the next row", adLeftRight, false, false, false, -1, {4, 2}, {1, 3}, 6},
        {"right stops at the end", adLeftRight, false, false, false, -1, {4, 5}, {4, 5}, 6},
        {"right loops to the first cell", adLeftRight, true, false, false, -1, {4, 5}, {1, 1}, 6},
        {"right adds a row", adLeftRight, false, true, false, -1, {4, 5}, {1, 6}, 7},
        {"in row stops at the row end", adLeftRightInRow, false, false, false, -1, {4, 2}, {4, 2}, 6},
        {"in row loops in the row", adLeftRightInRow, true, false, false, -1, {4, 2}, {1, 2}, 6},
        {"down", adTopBottom, false, false, false, -1, {2, 2}, {2, 3}, 6},
        {"down goes to the next column", adTopBottom, false, false, false, -1, {2, 5}, {3, 1}, 6},
        {"down in column stops", adTopBottomInCol, false, false, false, -1, {2, 5}, {2, 5}, 6},
        {"down in column loops", adTopBottomInCol, true, false, false, -1, {2, 5}, {2, 1}, 6},
        {"down in column adds a row", adTopBottomInCol, false, true, false, -1, {2, 5}, {2, 6}, 7},
        {"a read-only cell becomes current", adLeftRight, false, false, false, 3, {2, 2}, {3, 2}, 6},
        {"a read-only cell is skipped", adLeftRight, false, false, true, 3, {2, 2}, {4, 2}, 6},
    };
    for (const AdvanceCase& c : cases) {
        SCOPED_TRACE(c.name);
        TEditGrid g(5, 6);
        TNavigation* nav = g->GetNavigation();
        nav->SetAdvanceOnEnter(true);
        nav->SetAdvanceDirection(c.direction);
        nav->SetAdvanceOnEnterLoop(c.loop);
        nav->SetAdvanceInsert(c.insert);
        nav->SetAdvanceSkipReadOnlyCells(c.skipReadOnly);
        const int readOnly = c.readOnlyCol;
        g->OnCanEditCell = [readOnly](TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol != readOnly; };
        g.Edit(c.start.x, c.start.y);
        ASSERT_TRUE(g.EditorShown());
        Chord({VK_RETURN});
        EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), c.expected);
        EXPECT_EQ(g->GetRowCount(), c.rows);
    }
}

TEST(AdvanceEditCell, ARefusedNewRowMovesToTheFirstColumnOfTheRow)
{
    TEditGrid g(5, 6);
    g->GetNavigation()->SetAdvanceOnEnter(true);
    g->GetNavigation()->SetAdvanceInsert(true);
    g->OnCanAddRow = [](TObject*, bool& CanAdd) { CanAdd = false; };
    g.Edit(4, 5);
    Chord({VK_RETURN});
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(1, 5));
    EXPECT_EQ(g->GetRowCount(), 6);
}

TEST(AdvanceEditCell, EveryOtherCellReadOnlyComesBackToTheStart)
{
    TEditGrid g(5, 6);
    g->GetNavigation()->SetAdvanceOnEnter(true);
    g->GetNavigation()->SetAdvanceOnEnterLoop(true);
    g->GetNavigation()->SetAdvanceSkipReadOnlyCells(true);
    g->OnCanEditCell = [](TObject*, int ARow, int ACol, bool& CanEdit) { CanEdit = ACol == 2 && ARow == 3; };
    g->FocusCell(2, 3);
    g->AdvanceEditCell(2, 3, false, false, true, false, false);
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(2, 3));
}

TEST(AdvanceEditCell, AHundredThousandReadOnlyRowsReturn)
{
    TFilledGrid<> g(4, 100000);
    g->GetNavigation()->SetAdvanceOnEnter(true);
    g->GetNavigation()->SetAdvanceOnEnterLoop(true);
    g->GetNavigation()->SetAdvanceSkipReadOnlyCells(true);
    g->SetOptions(g->GetOptions() + goEditing);
    g->OnCanEditCell = [](TObject*, int, int, bool& CanEdit) { CanEdit = false; };
    int advanced = 0;
    g->OnAutoAdvance = [&](TObject*, int, int, int&, int&, bool&) { ++advanced; };
    g->AdvanceEditCell(1, 1, false, false, true, false, false);
    EXPECT_EQ(advanced, 0);
    EXPECT_EQ(g->GetRowCount(), 100000);
}

TEST(AdvanceEditCell, ReadOnlyNewColumnsAddOneColumnPerEnter)
{
    TEditGrid g(4, 4);
    TNavigation* nav = g->GetNavigation();
    nav->SetAdvanceOnEnter(true);
    nav->SetAdvanceDirection(adTopBottom);
    nav->SetAdvanceInsert(true);
    nav->SetAdvanceSkipReadOnlyCells(true);
    const int firstNew = 4;
    g->OnCanEditCell = [firstNew](TObject*, int, int ACol, bool& CanEdit) { CanEdit = ACol < firstNew; };
    int inserted = 0;
    g->OnAutoInsertCol = [&](TObject*, int) { ++inserted; };
    g->FocusCell(3, 3);
    g->AdvanceEditCell(3, 3, false, false, true, false, false);
    EXPECT_EQ(inserted, 1);
    EXPECT_EQ(g->GetColCount(), 5);
}

TEST(AdvanceEditCell, ANewCellOutsideTheGridLeavesTheCurrentCell)
{
    TEditGrid g(5, 6);
    g->GetNavigation()->SetAdvanceOnEnter(true);
    g->OnAutoAdvance = [](TObject*, int, int, int& NewRow, int& NewCol, bool&) {
        NewRow = 99;
        NewCol = -3;
    };
    g->FocusCell(2, 2);
    g->AdvanceEditCell(2, 2, false, false, true, false, false);
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(2, 2));
    // A handler that picks another cell inside the grid is followed.
    g->OnAutoAdvance = [](TObject*, int, int, int& NewRow, int& NewCol, bool&) {
        NewRow = 4;
        NewCol = 1;
    };
    g->AdvanceEditCell(2, 2, false, false, true, false, false);
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(1, 4));
}

// --- the combo editor's items, ShowCellEdit ---------------------------------------------------

TEST(ComboItems, MissingItemsChangeNothing)
{
    TEditGrid g;
    g->AddComboString(L"one");
    g->AddComboString(L"two");
    TObject marker;
    g->AddComboStringObject(L"three", &marker);
    EXPECT_EQ(g->GetComboCount(), 3);
    EXPECT_FALSE(g->RemoveComboString(L"four"));
    EXPECT_EQ(g->GetComboCount(), 3);
    EXPECT_TRUE(g->RemoveComboString(L"two"));
    EXPECT_EQ(g->GetComboCount(), 2);
    EXPECT_FALSE(g->SetComboSelectionString(L"two"));
    EXPECT_EQ(g->GetComboIndex(), -1);
    EXPECT_TRUE(g->SetComboSelectionString(L"three"));
    EXPECT_EQ(g->GetComboIndex(), 1);
    EXPECT_EQ(g->GetCombobox()->GetItems()->GetObject(1), &marker);
    // An index outside the list selects nothing.
    g->SetComboSelection(7);
    EXPECT_EQ(g->GetComboIndex(), -1);
    g->SetComboSelection(0);
    EXPECT_EQ(g->GetComboIndex(), 0);
    g->ClearComboString();
    EXPECT_EQ(g->GetComboCount(), 0);
}

TEST(ComboItems, ShowCellEditUnderRangeSelectAndEdit)
{
    TEditGrid g;
    g->SetOptions(g->GetOptions() - goEditing);
    g->GetMouseActions()->SetRangeSelectAndEdit(true);
    g->FocusCell(2, 4);
    g->ShowCellEdit();
    Pump();
    EXPECT_TRUE(g->GetOptions().Contains(goEditing));
    EXPECT_TRUE(g.EditorShown());
    EXPECT_EQ(g.EditorText(), CellName(2, 4));
}

// --- edit links -----------------------------------------------------------------------------

struct WantCase {
    const char* name;
    std::function<void(TEditLink*)> want;
    WORD key;
    bool leaves;   // the grid took the key and the edit ended
};

TEST(EditLink, WantFlagsKeepKeysWithTheControl)
{
    const WantCase cases[] = {
        {"Down without the flag leaves", [](TEditLink*) {}, VK_DOWN, true},
        {"Down with WantKeyUpDown stays", [](TEditLink* l) { l->SetWantKeyUpDown(true); }, VK_DOWN, false},
        {"Right without the flag leaves", [](TEditLink*) {}, VK_RIGHT, true},
        {"Right with WantKeyLeftRight stays", [](TEditLink* l) { l->SetWantKeyLeftRight(true); }, VK_RIGHT, false},
        {"Home always stays", [](TEditLink*) {}, VK_HOME, false},
        {"End without the flag leaves", [](TEditLink*) {}, VK_END, true},
        {"End with WantKeyHomeEnd stays", [](TEditLink* l) { l->SetWantKeyHomeEnd(true); }, VK_END, false},
        {"Page Up with WantKeyPriorNext stays", [](TEditLink* l) { l->SetWantKeyPriorNext(true); }, VK_PRIOR, false},
        {"Enter with WantKeyReturn stays", [](TEditLink* l) { l->SetWantKeyReturn(true); }, VK_RETURN, false},
        {"Escape with WantKeyEscape stays", [](TEditLink* l) { l->SetWantKeyEscape(true); }, VK_ESCAPE, false},
        {"Escape without the flag leaves", [](TEditLink*) {}, VK_ESCAPE, true},
    };
    for (const WantCase& c : cases) {
        SCOPED_TRACE(c.name);
        TEditGrid g;
        TOwned<TTestLink> link(New<TTestLink>(nullptr));
        c.want(link.get());
        g->SetEditLink(link.get());
        g->SetDefaultEditor(edCustom);
        g.Edit(2, 4);
        ASSERT_NE(link->edit, nullptr);
        ASSERT_EQ(GetFocus(), link->edit->GetHandle());
        Chord({c.key});
        EXPECT_EQ(IsWindowVisible(link->edit->GetHandle()) == FALSE, c.leaves);
        EXPECT_EQ(GetFocus() == link->edit->GetHandle(), !c.leaves);
        g->SetEditLink(nullptr);
    }
}

TEST(EditLink, TheGridsHookKeepsTabWithAnInPlaceControl)
{
    TEditGrid g;
    g->SetOptions(g->GetOptions() + goTabs);
    TOwned<TTestLink> link(New<TTestLink>(nullptr));
    g->SetEditLink(link.get());
    g->SetDefaultEditor(edCustom);
    g.Edit(2, 3);
    ASSERT_NE(link->edit, nullptr);
    const HWND control = link->edit->GetHandle();
    EXPECT_EQ(SendMessageW(control, WM_GETDLGCODE, 0, 0) & 0x83, 0x83);
    // Tab validates, walks on, and the next cell's editor opens.
    link->edit->SetText(L"tabbed");
    Chord({VK_TAB});
    Pump();
    EXPECT_EQ(g->GetCells(2, 3), L"tabbed");
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(3, 3));
    EXPECT_EQ(GetFocus(), control);
    EXPECT_EQ(link->edit->GetText(), CellName(3, 3));
    // Ended, the control has its own window method back.
    Chord({VK_ESCAPE});
    EXPECT_EQ(SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB, 0);
    g->SetEditLink(nullptr);
}

TEST(EditLink, EscapeGivesTheOldTextBackAndShiftEnterGoesBack)
{
    TEditGrid g;
    g->GetNavigation()->SetAdvanceOnEnter(true);
    TOwned<TTestLink> link(New<TTestLink>(nullptr));
    link->SetEditStyle(esPopup);
    link->SetPopupWidth(150);
    link->SetPopupHeight(40);
    g->SetEditLink(link.get());
    g->SetDefaultEditor(edCustom);

    g.Edit(3, 4);
    ASSERT_NE(link->GetPopupForm(), nullptr);
    link->edit->SetText(L"thrown away");
    Chord({VK_ESCAPE});
    EXPECT_EQ(g->GetCells(3, 4), CellName(3, 4));
    EXPECT_FALSE(link->GetPopupForm()->GetVisible());

    // Page Down closes the pop-up and keeps the control's value.
    g.Edit(3, 4);
    link->edit->SetText(L"paged");
    Chord({VK_NEXT});
    EXPECT_EQ(g->GetCells(3, 4), L"paged");
    EXPECT_FALSE(link->GetPopupForm()->GetVisible());

    // Shift+Enter after a successful validation advances backwards.
    g.Edit(3, 4);
    link->edit->SetText(L"back");
    Chord({VK_SHIFT, VK_RETURN});
    EXPECT_EQ(g->GetCells(3, 4), L"back");
    EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), TPoint(2, 4));
    g->SetEditLink(nullptr);
}

TEST(EditLink, ThePopupOpensAtTheCellAsWideAsIt)
{
    TEditGrid g;
    TOwned<TTestLink> link(New<TTestLink>(nullptr));
    link->SetEditStyle(esPopup);
    link->SetAutoPopupWidth(true);
    link->SetPopupHeight(50);
    g->SetEditLink(link.get());
    g->SetDefaultEditor(edCustom);
    g->SetColWidths(2, 111);
    g.Edit(2, 3);
    TForm* popup = link->GetPopupForm();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(link->parentGiven, popup);
    RECT placed{};
    GetWindowRect(popup->GetHandle(), &placed);
    const TRect cell = g->CellRect(2, 3);
    POINT corner{cell.left, cell.top};
    ClientToScreen(g->GetHandle(), &corner);
    EXPECT_EQ(placed.left, corner.x);
    EXPECT_EQ(placed.top, corner.y);
    EXPECT_EQ(placed.right - placed.left, cell.right - cell.left);
    EXPECT_EQ(placed.bottom - placed.top, 50);
    Chord({VK_ESCAPE});

    // An explicit place is kept.
    link->SetPopupLeft(30);
    link->SetPopupTop(40);
    g.Edit(2, 3);
    GetWindowRect(popup->GetHandle(), &placed);
    EXPECT_EQ(TPoint(placed.left, placed.top), TPoint(30, 40));
    Chord({VK_ESCAPE});
    g->SetEditLink(nullptr);
}

TEST(EditLink, TwoGridsWithPopupLinksEditedInTurn)
{
    TEditGrid a;
    TEditGrid b;
    TOwned<TTestLink> linkA(New<TTestLink>(nullptr));
    TOwned<TTestLink> linkB(New<TTestLink>(nullptr));
    for (auto [grid, link] : {std::pair{a.grid, linkA.get()}, std::pair{b.grid, linkB.get()}}) {
        link->SetEditStyle(esPopup);
        link->SetPopupWidth(120);
        link->SetPopupHeight(30);
        grid->SetEditLink(link);
        grid->SetDefaultEditor(edCustom);
    }
    SetForegroundWindow(a.form->Handle());
    a.Edit(2, 2);
    ASSERT_NE(linkA->edit, nullptr);
    linkA->edit->SetText(L"first");
    Chord({VK_RETURN});

    SetForegroundWindow(b.form->Handle());
    Pump();
    b.Edit(2, 2);
    ASSERT_NE(linkB->edit, nullptr);
    EXPECT_NE(linkB->GetPopupForm(), linkA->GetPopupForm());
    linkB->edit->SetText(L"second");
    Chord({VK_RETURN});

    // The first grid's pop-up is still its own and works again.
    SetForegroundWindow(a.form->Handle());
    Pump();
    a.Edit(3, 3);
    ASSERT_NE(linkA->GetPopupForm(), nullptr);
    EXPECT_TRUE(linkA->GetPopupForm()->GetVisible());
    linkA->edit->SetText(L"third");
    Chord({VK_RETURN});
    EXPECT_EQ(a->GetCells(2, 2), L"first");
    EXPECT_EQ(b->GetCells(2, 2), L"second");
    EXPECT_EQ(a->GetCells(3, 3), L"third");
    a->SetEditLink(nullptr);
    b->SetEditLink(nullptr);
}

TEST(EditLink, DeactivatingThePopupEndsTheEdit)
{
    TEditGrid g;
    TOwned<TTestLink> link(New<TTestLink>(nullptr));
    link->SetEditStyle(esPopup);
    link->SetPopupWidth(120);
    link->SetPopupHeight(30);
    g->SetEditLink(link.get());
    g->SetDefaultEditor(edCustom);
    int done = 0;
    g->OnEditingDone = [&](TObject*) { ++done; };
    g.Edit(2, 5);
    link->edit->SetText(L"clicked away");
    // Another top-level window becomes active: the pop-up deactivates.
    TOwned<TForm> other(New<TForm>(nullptr));
    other->SetBounds(300, 300, 200, 100);
    other->Show();
    SetForegroundWindow(other->Handle());
    Pump();
    EXPECT_EQ(g->GetCells(2, 5), L"clicked away");
    EXPECT_FALSE(link->GetPopupForm()->GetVisible());
    EXPECT_EQ(done, 1);
    g->SetEditLink(nullptr);
}

} // namespace
