// The header filter drop-down: the entries a column offers, a click on the
// shown single list and on the shown check list filtering the grid, "(All)"
// and checking everything taking the condition off, odd values selecting
// only their own rows, the list closing on a cancelled mode, the filter-edit
// row through each type of its menu, and the pop-up form that never
// activates.
#include "DataGridSupport.h"
#include "SysUtils.h"
#include <gtest/gtest.h>

using namespace datagrid_test;
using enum AdvGrid::TFilterType;

namespace {

// A shown grid with a header row and the values in column 1.
struct TDropGrid : TShownGrid<> {
    explicit TDropGrid(const std::vector<String>& values) : TShownGrid<>(3, static_cast<int>(values.size()) + 1)
    {
        for (size_t i = 0; i < values.size(); ++i)
            grid->SetCells(1, static_cast<int>(i) + 1, values[i]);
        grid->SetFilterDropDownAuto(true);
    }
    std::vector<String> Entries(int col = 1) const
    {
        grid->BuildFilterList(col, false);
        std::vector<String> entries;
        for (int i = 0; i < grid->GetFilterList()->Count(); ++i)
            entries.push_back(grid->GetFilterList()->Get(i));
        return entries;
    }
    std::vector<String> Shown() const
    {
        std::vector<String> texts;
        for (int r = 1; r < grid->GetRowCount(); ++r)
            texts.push_back(grid->GetCells(1, r));
        return texts;
    }
    // Fills the column's list as the header button does and shows it.
    TCustomListBox* Open(int col = 1)
    {
        TCustomListBox* list = grid->GetFilterDropDownCheck() ? static_cast<TCustomListBox*>(grid->GetDropCheckList())
                                                              : static_cast<TCustomListBox*>(grid->GetDropList());
        grid->BuildFilterList(col, false);
        list->GetItems()->Clear();
        for (int i = 0; i < grid->GetFilterList()->Count(); ++i) {
            const String entry = grid->GetFilterList()->Get(i);
            list->GetItems()->Add(entry.substr(0, entry.find(L'\t')));
        }
        if (grid->GetFilterDropDownCheck())
            for (int i = 0; i < list->Count(); ++i)
                grid->GetDropCheckList()->SetChecked(i, grid->FilterValueChosen(col, list->GetItems()->Get(i)));
        grid->SetFilterColumn(col);
        list->SetBounds(100, 30, 200, 200);
        list->SetVisible(true);
        Application->ProcessMessages();
        return list;
    }
    void ClickItem(TCustomListBox* list, int index, int x = 30)
    {
        const TRect r = list->ItemRect(index);
        const LPARAM at = MAKELPARAM(r.left + x, (r.top + r.bottom) / 2);
        SendMessageW(list->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(list->GetHandle(), WM_LBUTTONUP, 0, at);
        Application->ProcessMessages();
    }
    int IndexOf(TCustomListBox* list, const String& text) const { return list->GetItems()->IndexOf(text); }
};

} // namespace

TEST(FilterDropDown, TheEntriesOfAColumn)
{
    TDropGrid g({L"b", L"Main Office", L"", L"b", L"  a  ", L"hidden", L"say \"hi\" now", L"node"});
    g->AddNode(8, 1);
    EXPECT_EQ(g.Entries(), (std::vector<String>{L"(All)", L"\t\"\"", L"a", L"b", L"hidden",
                                                L"Main Office\t\"Main Office\"",
                                                L"say \"hi\" now\t\"say \"\"hi\"\" now\""}))
        << "blanks quoted, empty cells, duplicates once, trimmed, no node rows";

    // Hidden rows count only once the column has a condition of its own.
    g->HideRow(6);
    EXPECT_EQ(g.Entries().size(), 6u);
    g->GetFilter()->ColumnItem(1)->SetCondition(L"b");
    EXPECT_EQ(g.Entries().size(), 7u);
    g->SetFilterIncremental(true);
    EXPECT_EQ(g.Entries().size(), 6u);

    g->SetFilterDropDownCheck(true);
    g->SetFilterDropDownCheckUnCheckAll(L"(Select all)");
    EXPECT_EQ(g.Entries().front(), L"(Select all)");
    EXPECT_FALSE(g->BuildFilterList(0, true)) << "a fixed column offers nothing";

    // A data check-box column offers the two texts.
    g->AddCheckBoxColumn(2, false, true);
    g->GetFilterDropDown()->SetTextChecked(L"Checked");
    g->GetFilterDropDown()->SetTextUnChecked(L"Unchecked");
    EXPECT_EQ(g.Entries(2), (std::vector<String>{L"(Select all)", L"Checked", L"Unchecked"}));

    std::vector<int> asked;
    g->OnGetColumnFilter = [&](TObject*, int col, TStrings* list) {
        asked.push_back(col);
        list->Add(L"Big\t>100");
    };
    g->SetFilterDropDownAuto(false);
    EXPECT_EQ(g.Entries(2), (std::vector<String>{L"Big\t>100"}));
    EXPECT_EQ(asked, (std::vector<int>{2}));
}

TEST(FilterDropDown, AClickOnTheSingleListFiltersAndAllClears)
{
    TDropGrid g({L"Main Office", L"Branch", L"Main Office", L"", L"Main Office 2"});
    int done = 0;
    g->OnFilterDone = [&](TObject*) { ++done; };
    TCustomListBox* list = g.Open();
    g.ClickItem(list, g.IndexOf(list, L"Main Office"));
    EXPECT_FALSE(list->GetVisible());
    EXPECT_EQ(g->GetFilterColumn(), -1);
    EXPECT_EQ(g.Shown(), (std::vector<String>{L"Main Office", L"Main Office"}));
    EXPECT_EQ(g->GetFilter()->Item(0)->GetCondition(), L"\"Main Office\"");
    EXPECT_EQ(g->GetFilter()->Item(0)->GetFriendlyName(), L"Main Office");
    EXPECT_EQ(done, 1);

    // The empty entry selects the empty cells; "(All)" takes the condition off.
    list = g.Open();
    g.ClickItem(list, g.IndexOf(list, L""));
    EXPECT_EQ(g.Shown(), (std::vector<String>{L""}));
    list = g.Open();
    g.ClickItem(list, 0);
    EXPECT_EQ(g->GetRowCount(), 6);
    EXPECT_FALSE(g->GetFilter()->HasFilter(1));

    // Enter picks the selected item as well.
    list = g.Open();
    list->SetItemIndex(g.IndexOf(list, L"Branch"));
    SendMessageW(list->GetHandle(), WM_CHAR, VK_RETURN, 0);
    Application->ProcessMessages();
    EXPECT_EQ(g.Shown(), (std::vector<String>{L"Branch"}));
}

TEST(FilterDropDown, OddValuesSelectOnlyTheirOwnRows)
{
    const std::vector<String> values = {L"<none>", L"a|b", L"a", L"=x", L"x", L"50%*", L"50%", L"what?",
                                        L"whatx", L"!ok", L"ok", L"(c)&d", L"c", L"x;y", L"a^b", L"2\"", L"2",
                                        L"say \"a b\"", L"*", L">5", L"9"};
    for (const String& value : values) {
        SCOPED_TRACE(UTF8Encode(value));
        TDropGrid g(values);
        TCustomListBox* list = g.Open();
        const int index = g.IndexOf(list, value);
        ASSERT_GE(index, 0);
        g->FilterListSelect(index);
        EXPECT_EQ(g.Shown(), (std::vector<String>{value}));
    }
}

TEST(FilterDropDown, TheCheckListFiltersByItsChecks)
{
    TDropGrid g({L"<none>", L"b", L"c", L"b", L"a b"});
    g->SetFilterDropDownCheck(true);
    std::vector<int> clicks;
    g->OnFilterCheckClick = [&](TObject*, int, int index, bool, TCheckListBox*) { clicks.push_back(index); };
    TCustomListBox* list = g.Open();
    EXPECT_EQ(list->Count(), 4);
    g.ClickItem(list, g.IndexOf(list, L"b"), 6);
    EXPECT_TRUE(list->GetVisible()) << "the check list stays open";
    EXPECT_EQ(g.Shown(), (std::vector<String>{L"b", L"b"}));
    g.ClickItem(list, g.IndexOf(list, L"<none>"), 6);
    g.ClickItem(list, g.IndexOf(list, L"a b"), 6);
    EXPECT_EQ(g.Shown(), (std::vector<String>{L"<none>", L"b", L"b", L"a b"}));
    EXPECT_EQ(g->GetFilter()->Item(0)->GetFriendlyName(), L"<none>|a b|b");
    EXPECT_EQ(clicks.size(), 3u);

    // Reopened, the list shows the picks checked, the odd one too.
    list = g.Open();
    auto* checks = g->GetDropCheckList();
    EXPECT_TRUE(checks->GetChecked(g.IndexOf(list, L"<none>")));
    EXPECT_TRUE(checks->GetChecked(g.IndexOf(list, L"a b")));
    EXPECT_FALSE(checks->GetChecked(g.IndexOf(list, L"c")));

    // Every value checked: the column has no condition any more.
    g.ClickItem(list, g.IndexOf(list, L"c"), 6);
    EXPECT_FALSE(g->GetFilter()->HasFilter(1));
    EXPECT_EQ(g->GetRowCount(), 6);
}

TEST(FilterDropDown, ACancelledModeAwayFromTheListClosesIt)
{
    TDropGrid g({L"a", L"b"});
    std::vector<int> closed;
    g->OnFilterClose = [&](TObject*, int col) { closed.push_back(col); };
    for (bool check : {false, true}) {
        g->SetFilterDropDownCheck(check);
        TCustomListBox* list = g.Open();
        const POINT inside = list->ClientToScreen({10, 10});
        SetCursorPos(inside.x, inside.y);
        SendMessageW(list->GetHandle(), CM_CANCELMODE, 0, 0);
        EXPECT_TRUE(list->GetVisible());
        const POINT outside = list->ClientToScreen({-50, 250});
        SetCursorPos(outside.x, outside.y);
        SendMessageW(list->GetHandle(), CM_CANCELMODE, 0, 0);
        EXPECT_FALSE(list->GetVisible());
        EXPECT_EQ(g->GetFilterColumn(), -1);
    }
    EXPECT_EQ(closed, (std::vector<int>{1, 1}));
}

TEST(FilterDropDown, TheFilterEditRowFiltersByEachTypeOfItsMenu)
{
    TShownGrid<> g(3, 7);
    g->SetFixedRows(2);
    const wchar_t* values[] = {L"apple", L"pineapple", L"grape", L"10", L"5"};
    for (int r = 2; r < 7; ++r)
        g->SetCells(1, r, values[r - 2]);
    g->GetFilterEdit()->SetRow(1);
    g->GetFilterEdit()->SetEnabled(true);
    std::vector<String> updates;
    g->OnFilterEditUpdate = [&](TObject*, int col, const String& condition, TFilterType type) {
        updates.push_back(IntToStr(col) + L":" + condition + L":" + IntToStr(type));
    };
    auto shown = [&] {
        std::vector<String> texts;
        for (int r = 2; r < g->GetRowCount(); ++r)
            texts.push_back(g->GetCells(1, r));
        return texts;
    };
    struct Case {
        TFilterType type;
        const wchar_t* text;
        std::vector<String> shown;
    };
    const Case cases[] = {
        {ftStartsWith, L"ap", {L"apple"}},
        {ftEndsWith, L"apple", {L"apple", L"pineapple"}},
        {ftContains, L"ap", {L"apple", L"pineapple", L"grape"}},
        {ftNotContains, L"ap", {L"10", L"5"}},
        {ftEqual, L"grape", {L"grape"}},
        {ftNotEqual, L"grape", {L"apple", L"pineapple", L"10", L"5"}},
        // Texts compare as texts with a number: letters come after digits.
        {ftLargerThan, L"7", {L"apple", L"pineapple", L"grape", L"10"}},
        {ftSmallerThan, L"7", {L"5"}},
        {ftClear, L"ap", {L"apple", L"pineapple", L"grape", L"10", L"5"}},
    };
    TPopupMenu* menu = g->GetFilterPopup();
    ASSERT_EQ(menu->GetItems()->Count(), 9);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        g->SetCells(1, 1, c.text);
        menu->SetTag(1);
        TMenuItem* item = menu->GetItems()->Items(c.type);
        EXPECT_EQ(item->GetCaption(), g->GetFilterEdit()->GetTypeNames()->Get(c.type));
        item->Click();
        EXPECT_EQ(shown(), c.shown);
    }
    EXPECT_EQ(g->GetCells(1, 1), L"") << "Clear empties the edit";
    EXPECT_EQ(g->GetFilter()->Count(), 1) << "one condition for the column";
    EXPECT_EQ(g->GetFilter()->HasFilterType(1), ftContains);
    EXPECT_EQ(updates.front(), L"1:ap:0");
    EXPECT_EQ(updates.back(), L"1::2");
}

TEST(FilterDropDown, TheNoActivationFormTakesNoActivation)
{
    TShownGrid<> g(3, 3);
    TOwned<TForm> popup(g->SelectionToForm({0, 0, 1, 1}));
    popup->SetBounds(300, 300, 80, 40);
    popup->Show();
    Application->ProcessMessages();
    const HWND wnd = popup->GetHandle();
    EXPECT_EQ(GetWindowLongW(wnd, GWL_STYLE) & (WS_POPUP | WS_CAPTION), static_cast<LONG>(WS_POPUP));
    EXPECT_TRUE(GetClassLongW(wnd, GCL_STYLE) & CS_SAVEBITS);
    EXPECT_EQ(SendMessageW(wnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    EXPECT_EQ(SendMessageW(wnd, WM_ACTIVATE, WA_ACTIVE, 0), 1);
    popup->SetEnabled(false);
    popup->RecreateWnd();
    EXPECT_EQ(GetWindowLongW(popup->GetHandle(), GWL_STYLE) & (WS_DISABLED | WS_BORDER), static_cast<LONG>(WS_DISABLED | WS_BORDER));
}
