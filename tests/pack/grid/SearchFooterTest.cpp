// The search bar under a shown grid, used through real keys: where its
// controls sit (mirrored under right-to-left reading), typing with AutoSearch
// (the edit turns red on no match), Enter and Ctrl+Enter, the wrap at the
// search end, the Alt accelerators, match case, closing, and the keys that
// keep the last row above the bar.
#include "DataGridSupport.h"
#include "GridKeyInput.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

struct TAction {
    TSearchAction action;
    TPoint cell;
};

// A 5 x 50 grid with the bar shown, its captions set, column 2 holding
// "needle" in rows 3, 10 and 20.
struct TFooterGrid : TShownGrid<> {
    std::vector<TAction> actions;
    int searchEnds = 0;
    bool continueFromStart = true;
    TFooterGrid(bool RightToLeft = false) : TShownGrid<>(5, 50)
    {
        if (RightToLeft)
            grid->SetBiDiMode(bdRightToLeft);
        for (int r : {3, 10, 20})
            grid->SetCells(2, r, L"needle");
        TSearchFooter* footer = grid->GetSearchFooter();
        footer->SetFindNextCaption(L"Find &next");
        footer->SetFindPrevCaption(L"Find &previous");
        footer->SetHighLightCaption(L"&Highlight");
        footer->SetMatchCaseCaption(L"Match case");
        footer->SetHintFindNext(L"Find next occurrence");
        footer->SetAutoSearch(true);
        footer->SetVisible(true);
        grid->OnSearchFooterAction = [this](TObject*, const String&, int ACol, int ARow, TSearchAction A) {
            actions.push_back({A, TPoint(ACol, ARow)});
        };
        grid->OnSearchFooterSearchEnd = [this](TObject*, bool& Continue) {
            ++searchEnds;
            Continue = continueFromStart;
        };
        SetForegroundWindow(form->Handle());
        grid->SetFocus();
        PumpKeys();
    }
    TSearchPanel* panel() const { return grid->GetSearchPanel(); }
    TPoint current() const { return TPoint(grid->GetCol(), grid->GetRow()); }
    // Ctrl+F in the grid, then the text typed into the bar's edit.
    void Search(const std::wstring& Text)
    {
        PressChord({VK_CONTROL, 'F'});
        EXPECT_TRUE(panel()->GetEdit()->Focused());
        TypeText(Text);
    }
};

TEST(SearchFooter, ControlsTakeTheirPlacesMirroredUnderRightToLeft)
{
    for (bool rtl : {false, true}) {
        TFooterGrid g(rtl);
        TSearchPanel* p = g.panel();
        ASSERT_TRUE(p->GetVisible());
        EXPECT_EQ(p->GetHeight(), 32);
        EXPECT_EQ(p->GetTop() + 32, g->GetClientHeight());
        struct Place {
            const char* name;
            TControl* control;
            int left, top, width, height;
        };
        const Place places[] = {
            {"edit", p->GetEdit(), 25, 6, 110, -1},
            {"find next", p->GetForwardButton(), 140, 5, 90, 23},
            {"find previous", p->GetBackwardButton(), 235, 5, 90, 23},
            {"close", p->GetExitButton(), 5, 7, 14, 14},
            {"highlight", p->GetHiliteButton(), 330, 5, 90, 23},
            {"match case", p->GetMatchCaseBox(), 425, 8, 200, 18},
        };
        for (const Place& c : places) {
            const int left = rtl ? p->GetWidth() - c.width - c.left : c.left;
            EXPECT_EQ(c.control->GetLeft(), left) << c.name << (rtl ? " mirrored" : "");
            EXPECT_EQ(c.control->GetTop(), c.top) << c.name;
            EXPECT_EQ(c.control->GetWidth(), c.width) << c.name;
            if (c.height >= 0)
                EXPECT_EQ(c.control->GetHeight(), c.height) << c.name;
        }
        EXPECT_EQ(p->GetForwardButton()->GetCaption(), L"Find &next");
        EXPECT_EQ(p->GetBackwardButton()->GetCaption(), L"Find &previous");
        EXPECT_EQ(p->GetMatchCaseBox()->GetCaption(), L"Match case");
        EXPECT_EQ(p->GetForwardButton()->GetHint(), L"Find next occurrence");
        EXPECT_TRUE(p->GetForwardButton()->GetShowHint());
        // An empty hint is not shown.
        EXPECT_FALSE(p->GetBackwardButton()->GetShowHint());
        // Nothing to find yet.
        EXPECT_FALSE(p->GetForwardButton()->GetEnabled());
        EXPECT_FALSE(p->GetBackwardButton()->GetEnabled());
        EXPECT_FALSE(p->GetHiliteButton()->GetEnabled());
    }
    // Without the highlight button the match-case box takes its place.
    TFooterGrid g;
    g->GetSearchFooter()->SetShowHighLight(false);
    EXPECT_FALSE(g.panel()->GetHiliteButton()->GetVisible());
    EXPECT_EQ(g.panel()->GetMatchCaseBox()->GetLeft(), 330);
    // Hidden, the bar takes no room.
    g->GetSearchFooter()->SetVisible(false);
    EXPECT_EQ(g.panel()->GetHeight(), 0);
}

TEST(SearchFooter, TheCreatedEventFiresWithTheWindow)
{
    TForm* form = New<TForm>(nullptr);
    const TScopeExit free([form] { form->Free(); });
    TAdvStringGrid* grid = New<TAdvStringGrid>(form);
    int created = 0;
    grid->OnCreatedSearchFooter = [&](TObject* Sender) {
        EXPECT_EQ(Sender, grid);
        ++created;
    };
    grid->SetParent(form);
    EXPECT_EQ(created, 0);
    form->Show();
    PumpKeys();
    EXPECT_EQ(created, 1);
}

TEST(SearchFooter, TypingSearchesAtOnceAndTheEditTurnsRedOnNoMatch)
{
    TFooterGrid g;
    TRetEdit* edit = g.panel()->GetEdit();
    g.Search(L"r7c3");
    EXPECT_EQ(g.current(), TPoint(3, 7));
    EXPECT_EQ(g->SearchCell, TPoint(3, 7));
    ASSERT_FALSE(g.actions.empty());
    EXPECT_EQ(g.actions.back().action, saFindFirst);
    EXPECT_EQ(g.actions.back().cell, TPoint(3, 7));
    EXPECT_EQ(edit->GetColor(), clWindow);
    EXPECT_TRUE(g.panel()->GetForwardButton()->GetEnabled());
    EXPECT_TRUE(g.panel()->GetHiliteButton()->GetEnabled());

    TypeText(L"x");
    EXPECT_EQ(edit->GetColor(), TColor(0x0000FF));
    EXPECT_EQ(g.actions.back().cell, TPoint(-1, -1));
    EXPECT_EQ(g.current(), TPoint(3, 7));
    for (int i = 0; i < 5; ++i)
        PressChord({VK_BACK});
    EXPECT_EQ(edit->GetText(), L"");
    EXPECT_EQ(edit->GetColor(), clWindow);
    EXPECT_FALSE(g.panel()->GetForwardButton()->GetEnabled());

    // Each shorter text searched again: "r" found the first cell.
    EXPECT_EQ(g.current(), TPoint(1, 1));

    // The application may take the search over.
    String asked;
    g->OnSearchEditChange = [&](TObject*, const String& Value, bool& DefaultSearch) {
        asked = Value;
        DefaultSearch = false;
    };
    TypeText(L"r9c2");
    EXPECT_EQ(asked, L"r9c2");
    EXPECT_EQ(g.current(), TPoint(1, 1));
}

TEST(SearchFooter, EnterAndCtrlEnterFindOnAndBackAndWrapOnlyWhenAllowed)
{
    TFooterGrid g;
    g.Search(L"needle");
    EXPECT_EQ(g.current(), TPoint(2, 3));
    struct Step {
        std::initializer_list<WORD> keys;
        bool continueFromStart;
        TPoint expected;
        int searchEnds;
        TSearchAction action;
    };
    const Step steps[] = {
        {{VK_RETURN}, true, {2, 10}, 0, saFindNext},
        {{VK_RETURN}, true, {2, 20}, 0, saFindNext},
        {{VK_RETURN}, true, {2, 3}, 1, saFindNext},           // past the last: asked, wraps to the first
        {{VK_CONTROL, VK_RETURN}, true, {2, 20}, 2, saFindPrevious}, // before the first: wraps to the last
        {{VK_CONTROL, VK_RETURN}, true, {2, 10}, 2, saFindPrevious},
        {{VK_RETURN}, true, {2, 20}, 2, saFindNext},
        {{VK_RETURN}, false, {2, 20}, 3, saFindNext},         // refused: stays, nothing found
    };
    int i = 0;
    for (const Step& s : steps) {
        g.continueFromStart = s.continueFromStart;
        PressChord(s.keys);
        EXPECT_EQ(g.current(), s.expected) << "step " << i;
        EXPECT_EQ(g.searchEnds, s.searchEnds) << "step " << i;
        EXPECT_EQ(g.actions.back().action, s.action) << "step " << i;
        ++i;
    }
    EXPECT_EQ(g->SearchCell, TPoint(-1, -1));
    // Neither key typed a line break.
    EXPECT_EQ(g.panel()->GetEdit()->GetText(), L"needle");
    EXPECT_TRUE(g.panel()->GetEdit()->Focused());
}

TEST(SearchFooter, AcceleratorsRunTheVisibleEnabledButtons)
{
    TFooterGrid g;
    // Nothing typed: the find buttons are disabled and take no accelerator.
    PressChord({VK_CONTROL, 'F'});
    PressChord({VK_MENU, 'N'});
    EXPECT_EQ(g.current(), TPoint(1, 1));
    EXPECT_TRUE(g.actions.empty());

    TypeText(L"needle");
    PressChord({VK_MENU, 'N'});
    EXPECT_EQ(g.current(), TPoint(2, 10));
    PressChord({VK_MENU, 'P'});
    EXPECT_EQ(g.current(), TPoint(2, 3));
    EXPECT_FALSE(g.panel()->GetHighlightDown());
    PressChord({VK_MENU, 'H'});
    EXPECT_TRUE(g.panel()->GetHighlightDown());
    PressChord({VK_MENU, 'H'});
    EXPECT_FALSE(g.panel()->GetHighlightDown());

    // A hidden button takes no accelerator.
    g->GetSearchFooter()->SetShowFindNext(false);
    PressChord({VK_MENU, 'N'});
    EXPECT_EQ(g.current(), TPoint(2, 3));
    // Without the bar the grid leaves the message alone.
    g->GetSearchFooter()->SetShowFindNext(true);
    g->GetSearchFooter()->SetVisible(false);
    EXPECT_EQ(g->Perform(CM_DIALOGCHAR, L'n', 0), 0);
    EXPECT_EQ(g.current(), TPoint(2, 3));
}

TEST(SearchFooter, MatchCaseAndWithoutAutoSearchTheButtonsStartOver)
{
    TFooterGrid g;
    g->SetCells(2, 3, L"Needle");
    g->GetSearchFooter()->SetAutoSearch(false);
    g.panel()->SetMatchCase(true);
    g.Search(L"needle");
    // Without AutoSearch typing does not search.
    EXPECT_EQ(g.current(), TPoint(1, 1));
    PressChord({VK_RETURN});
    EXPECT_EQ(g.current(), TPoint(2, 10));
    EXPECT_EQ(g->GetSearchFooter()->GetLastSearch(), L"needle");
    // Another text starts from the top again instead of going on to row 20.
    PressChord({VK_BACK});
    PressChord({VK_RETURN});
    EXPECT_EQ(g.current(), TPoint(2, 10));
    EXPECT_EQ(g->GetSearchFooter()->GetLastSearch(), L"needl");
    // Without match case the capital row is found first.
    g.panel()->SetMatchCase(false);
    PressChord({VK_BACK});
    PressChord({VK_RETURN});
    EXPECT_EQ(g.current(), TPoint(2, 3));
}

TEST(SearchFooter, CloseHidesTheBarAfterTellingTheApplication)
{
    TFooterGrid g;
    int closes = 0;
    g->OnSearchFooterClose = [&](TObject*) {
        ++closes;
        EXPECT_TRUE(g->GetSearchFooter()->GetVisible());
    };
    g.panel()->GetExitButton()->Click();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(g->GetSearchFooter()->GetVisible());
    EXPECT_FALSE(g.panel()->GetVisible());
    EXPECT_EQ(g.panel()->GetHeight(), 0);
}

TEST(SearchFooter, KeysKeepTheLastRowAboveTheBar)
{
    TFooterGrid g;
    int keyDowns = 0;
    g->OnKeyDown = [&](TObject*, Word&, TShiftState) { ++keyDowns; };
    const auto lastRowAbove = [&] {
        const TRect r = g->CellRect(g->GetCol(), g->GetRowCount() - 1);
        return r.bottom > r.top && r.bottom <= g->GetClientHeight() - 32 + 2;
    };
    // Ctrl+End, Down onto the last row and Page Down all end with the row in sight.
    struct Case {
        const char* name;
        TPoint start;
        std::initializer_list<WORD> keys;
    };
    const Case cases[] = {
        {"Down", {2, 48}, {VK_DOWN}},
        {"Page Down", {2, 45}, {VK_NEXT}},
        {"Ctrl+End", {2, 5}, {VK_CONTROL, VK_END}},
    };
    for (const Case& c : cases) {
        g->FocusCell(c.start.x, c.start.y);
        g->SetTopRow(1);
        PumpKeys();
        PressChord(c.keys);
        EXPECT_EQ(g->GetRow(), 49) << c.name;
        EXPECT_TRUE(lastRowAbove()) << c.name;
        EXPECT_TRUE(g->IsLastRowAboveSearchFooter()) << c.name;
    }
    // On the last row with the view at its end: Down, and Right at the last
    // column, stay where they are, the row above the bar.
    g->GetNavigation()->SetCursorAdvance(caLoop);
    g->FocusCell(4, 49);
    g->KeepLastRowAboveSearchFooter();
    const int top = g->GetTopRow();
    keyDowns = 0;
    PressChord({VK_DOWN});
    PressChord({VK_RIGHT});
    EXPECT_EQ(g.current(), TPoint(4, 49));
    EXPECT_EQ(g->GetTopRow(), top);
    EXPECT_EQ(keyDowns, 2);
    EXPECT_TRUE(lastRowAbove());
    // Another key leaves the view as it was.
    PressChord({VK_F2});
    EXPECT_EQ(g->GetTopRow(), top);
}

} // namespace
