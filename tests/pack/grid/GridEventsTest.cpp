// The grid's event dispatch: each Do-method applies the grid's own default
// first, then the handler sees it and may change the outcome where that is
// allowed; and the hooks the base grid asks.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "DataGridSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

struct TDispatchGrid : TAdvStringGrid {
    using TAdvStringGrid::TAdvStringGrid;
    using TAdvStringGrid::DoGetAlignment;
    using TAdvStringGrid::DoGetCellColor;
    using TAdvStringGrid::DoGetCheckFalse;
    using TAdvStringGrid::DoGetCheckTrue;
    using TAdvStringGrid::DoGridHint;
    using TAdvStringGrid::DoHasComboBox;
    using TAdvStringGrid::DoHasEditBtn;
    using TAdvStringGrid::DoHasFilterEdit;
    using TAdvStringGrid::DoHasSpinEdit;
    using TAdvStringGrid::DoHoverButtonClick;
    using TAdvStringGrid::DoIsFixedCell;
    using TAdvStringGrid::DoRatingChange;
    using TAdvStringGrid::DoSelectionChanged;
    using TAdvStringGrid::HasNoEditor;
    using TAdvStringGrid::IsFixedCell;
    using TAdvStringGrid::QueryCellEditable;
};

struct Dispatch : testing::Test {
    TFilledGrid<TDispatchGrid> g{6, 8};
    TOwned<TBrush> brush{New<TBrush>()};
    TOwned<TFont> font{New<TFont>()};
};

} // namespace

TEST_F(Dispatch, CellColourTakesTheActiveHeadersThenTheCellsOwnThenTheHandler)
{
    g->SetActiveCellShow(true);
    g->SetActiveCellColor(clLime);
    g->GetActiveCellFont()->SetName(L"Courier New");
    g->FocusCell(3, 4);
    struct Case {
        int col, row;
        bool header;
    };
    for (const Case& c : {Case{0, 4, true}, Case{3, 0, true}, Case{0, 3, false}, Case{2, 0, false}}) {
        brush->SetColor(clWhite);
        font->SetName(L"Arial");
        g->DoGetCellColor(c.col, c.row, {}, brush.get(), font.get());
        EXPECT_EQ(brush->GetColor() == clLime, c.header) << c.col << "," << c.row;
        EXPECT_EQ(font->GetName() == L"Courier New", c.header) << c.col << "," << c.row;
    }

    // A cell's own colours and font, but no brush under a graphic.
    TCellProperties* plain = g->GetCellProperties(2, 2);
    plain->SetBrushColor(clYellow);
    plain->SetFontColor(clRed);
    plain->SetFontSize(15);
    plain->SetFontStyle(TFontStyles{fsItalic});
    TCellProperties* pictured = g->GetCellProperties(2, 3);
    pictured->SetBrushColor(clYellow);
    TOwned<TObject> graphic(New<TObject>());
    pictured->SetGraphicObject(graphic.get());
    brush->SetColor(clWhite);
    g->DoGetCellColor(2, 2, {}, brush.get(), font.get());
    EXPECT_EQ(brush->GetColor(), clYellow);
    EXPECT_EQ(font->GetColor(), clRed);
    EXPECT_EQ(font->GetSize(), 15);
    EXPECT_TRUE(font->GetStyle().Contains(fsItalic));
    brush->SetColor(clWhite);
    g->DoGetCellColor(2, 3, {}, brush.get(), font.get());
    EXPECT_EQ(brush->GetColor(), clWhite);
    pictured->SetGraphicObject(nullptr);

    // The handler comes last and has the final word.
    g->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* b, TFont*) { b->SetColor(clAqua); };
    g->DoGetCellColor(2, 2, {}, brush.get(), font.get());
    EXPECT_EQ(brush->GetColor(), clAqua);
}

TEST_F(Dispatch, FixedCellsAreDecidedBeforeTheHandlerIsAsked)
{
    std::vector<std::pair<int, int>> asked;
    g->OnIsFixedCell = [&](TObject*, int r, int c, bool& fixed) {
        asked.emplace_back(c, r);
        fixed = c == 3;
    };
    bool fixed = false;
    g->DoIsFixedCell(0, 2, fixed);
    EXPECT_TRUE(fixed);
    fixed = false;
    g->DoIsFixedCell(2, 0, fixed);
    EXPECT_TRUE(fixed);
    EXPECT_TRUE(asked.empty()) << "cells already fixed never reach the handler";
    fixed = false;
    g->DoIsFixedCell(2, 3, fixed);
    EXPECT_TRUE(fixed);
    fixed = false;
    g->DoIsFixedCell(2, 2, fixed);
    EXPECT_FALSE(fixed);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{3, 2}, {2, 2}}));

    // Footer rows and right columns count as fixed for drawing.
    g->OnIsFixedCell = nullptr;
    g->SetFixedFooters(1);
    g->SetFixedRightCols(1);
    EXPECT_TRUE(g->IsFixedCell(2, 7));
    EXPECT_TRUE(g->IsFixedCell(5, 3));
    EXPECT_FALSE(g->IsFixedCell(2, 3));

    // A grid shrunk to its kept fixed row counts every row as fixed.
    g->SetFixedRowAlways(true);
    g->SetFixedRows(1);
    g->SetRowCount(1);
    fixed = false;
    g->DoIsFixedCell(0, 2, fixed);
    EXPECT_TRUE(fixed);
}

TEST_F(Dispatch, EditabilityFollowsTheCellTheOptionsAndTheHandler)
{
    g->SetOptions(g->GetOptions() + goEditing);
    bool can = true;
    g->QueryCellEditable(2, 2, can);
    EXPECT_TRUE(can);

    g->GetCellProperties(2, 2)->SetReadOnly(true);
    can = true;
    g->QueryCellEditable(2, 2, can);
    EXPECT_FALSE(can);

    g->GetCellProperties(2, 2)->SetReadOnly(false);
    g->SetOptions(g->GetOptions() - goEditing);
    can = true;
    g->QueryCellEditable(2, 2, can);
    EXPECT_FALSE(can) << "without editing only range-select-and-edit allows it";
    g->GetMouseActions()->SetRangeSelectAndEdit(true);
    can = true;
    g->QueryCellEditable(2, 2, can);
    EXPECT_TRUE(can);

    // The handler is asked about the base cell of a merged block.
    std::vector<std::pair<int, int>> asked;
    g->OnCanEditCell = [&](TObject*, int r, int c, bool& CanEdit) {
        asked.emplace_back(c, r);
        CanEdit = false;
    };
    g->MergeCells(1, 4, 2, 2);
    can = true;
    g->QueryCellEditable(2, 5, can);
    EXPECT_FALSE(can);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1, 4}}));
}

TEST_F(Dispatch, EditorQuestionsUseTheHandlerOrTheAlwaysVisibleButtons)
{
    EXPECT_FALSE(g->HasNoEditor(2, 2)) << "no handler: the cell has its editor";
    g->OnGetEditorType = [](TObject*, int c, int, TEditorType& e) { e = c == 2 ? edNone : edSpinEdit; };
    EXPECT_TRUE(g->HasNoEditor(2, 2));
    EXPECT_FALSE(g->HasNoEditor(3, 2));

    EXPECT_FALSE(g->DoHasSpinEdit(3, 2, edNone)) << "buttons not always visible";
    g->GetControlLook()->SetSpinButtonsAlwaysVisible(true);
    EXPECT_TRUE(g->DoHasSpinEdit(3, 2, edNone));
    EXPECT_TRUE(g->DoHasSpinEdit(2, 2, edDateSpinEdit));
    bool spinAsked = false;
    g->OnHasSpinEdit = [&](TObject*, int, int, bool& has) {
        spinAsked = true;
        has = true;
    };
    EXPECT_FALSE(g->DoHasSpinEdit(0, 2, edSpinEdit)) << "fixed cells have none";
    EXPECT_FALSE(spinAsked);

    g->OnGetEditorType = nullptr;
    g->SetDefaultEditor(edComboList);
    EXPECT_FALSE(g->DoHasComboBox(2, 2, edNone));
    g->GetControlLook()->SetDropDownAlwaysVisible(true);
    EXPECT_TRUE(g->DoHasComboBox(2, 2, edNone));
    EXPECT_FALSE(g->DoHasComboBox(2, 2, edNormal));
    EXPECT_TRUE(g->DoHasEditBtn(2, 2, edEditBtn));
    g->OnHasComboBox = [](TObject*, int c, int, bool& has) { has = c == 4; };
    EXPECT_FALSE(g->DoHasComboBox(2, 2, edComboList)) << "the handler replaces the rule";
    EXPECT_TRUE(g->DoHasComboBox(4, 2, edNormal));
}

TEST_F(Dispatch, ValuesStartFromTheGridsDefaults)
{
    g->SetCheckTrue(L"yes");
    String value;
    g->DoGetCheckTrue(1, 1, value);
    EXPECT_EQ(value, L"yes");
    g->OnGetCheckFalse = [](TObject*, int c, int, String& v) { v += L"/" + IntToStr(c); };
    g->DoGetCheckFalse(3, 1, value);
    EXPECT_EQ(value, L"N/3");

    int rate = 4;
    EXPECT_TRUE(g->DoRatingChange(1, 1, rate));
    g->OnRatingChange = [](TObject*, int, int, int& r, bool& allow) {
        allow = r < 5;
        r = std::min(r, 3);
    };
    EXPECT_TRUE(g->DoRatingChange(1, 1, rate));
    EXPECT_EQ(rate, 3);
    rate = 5;
    EXPECT_FALSE(g->DoRatingChange(1, 1, rate));

    TAlignment h = taLeftJustify;
    TVAlignment v = vtaTop;
    g->GetMouseActions()->SetHotmailRowSelect(true);
    g->DoGetAlignment(0, 2, h, v);
    EXPECT_EQ(h, taCenter);
    g->OnGetAlignment = [](TObject*, int, int, TAlignment& H, TVAlignment& V) {
        EXPECT_EQ(H, taCenter) << "the handler sees the default";
        H = taRightJustify;
        V = vtaBottom;
    };
    g->DoGetAlignment(0, 2, h, v);
    EXPECT_EQ(h, taRightJustify);
    EXPECT_EQ(v, vtaBottom);
}

TEST_F(Dispatch, HintsAndFilterEdits)
{
    String wide;
    String hint = L"plain";
    g->DoGridHint(1, 1, wide, hint);
    EXPECT_EQ(hint, L"plain") << "no handler: the hint stays";
    g->OnGridHint = [](TObject*, int r, int c, String& h) { h = L"cell " + IntToStr(c) + L"," + IntToStr(r); };
    g->OnGridWideHint = [](TObject*, int, int c, String& h) {
        if (c == 2)
            h = L"\u0416";
    };
    g->DoGridHint(1, 3, wide, hint);
    EXPECT_EQ(hint, L"cell 1,3");
    g->DoGridHint(2, 3, wide, hint);
    EXPECT_EQ(hint, PackWideText(L"\u0416")) << "a wide hint replaces the hint, packed";

    EXPECT_FALSE(g->DoHasFilterEdit(2, 1));
    g->GetFilterEdit()->SetEnabled(true);
    g->GetFilterEdit()->SetRow(1);
    EXPECT_TRUE(g->DoHasFilterEdit(2, 1));
    EXPECT_FALSE(g->DoHasFilterEdit(2, 2)) << "only on the filter row";
    EXPECT_FALSE(g->DoHasFilterEdit(0, 1)) << "not in fixed columns";
    g->OnHasFilterEdit = [](TObject*, int c, bool& has) { has = c != 3; };
    EXPECT_FALSE(g->DoHasFilterEdit(3, 1));
    EXPECT_TRUE(g->DoHasFilterEdit(4, 1));
}

TEST_F(Dispatch, SelectionChangesAreReportedWithTheirRectangle)
{
    std::vector<int> got;
    g->OnSelectionChanged = [&](TObject*, int l, int t, int r, int b) { got = {l, t, r, b}; };
    g->DoSelectionChanged(1, 2, 3, 4);
    EXPECT_EQ(got, (std::vector<int>{1, 2, 3, 4}));
}

TEST(DisplayText, AnAddressInACellShowsAsALinkAndTagsShowAsWritten)
{
    TFilledGrid<> g(3, 4);
    g->SetURLShowInText(true);
    struct Case {
        const wchar_t* text;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"see Www.Example.com now", L"see <a href=\"Www.Example.com\">Www.Example.com</a> now"},
        {L"<b>http://a.b/c</b>", L"&lt;b&gt;<a href=\"http://a.b/c\">http://a.b/c</a>&lt;/b&gt;"},
        {L"mail MAILTO:x@y.z", L"mail <a href=\"MAILTO:x@y.z\">MAILTO:x@y.z</a>"},
        {L"no address <here>", L"no address <here>"},
    };
    for (const Case& c : cases) {
        g->SetCells(1, 1, c.text);
        EXPECT_EQ(g->GetCellText(1, 1), c.shown) << c.text;
    }
    g->SetURLShowInText(false);
    EXPECT_EQ(g->GetCellText(1, 1), L"no address <here>");
}

TEST_F(Dispatch, AHoverButtonReportsTheButtonItemItsTagNames)
{
    g->GetHoverButtons()->GetButtons()->Add()->SetCaption(L"first");
    g->GetHoverButtons()->GetButtons()->Add()->SetCaption(L"second");
    std::vector<String> clicked;
    g->OnHoverButtonClick = [&](TObject*, int, THoverButtonsCollectionItem* item) {
        clicked.push_back(item->GetCaption());
    };
    TOwned<TComponent> button(New<TComponent>(nullptr));
    for (int tag : {1, 0, 7}) {
        button->SetTag(tag);
        g->DoHoverButtonClick(button.get());
    }
    EXPECT_EQ(clicked, (std::vector<String>{L"second", L"first"})) << "a tag naming no button is ignored";
}
