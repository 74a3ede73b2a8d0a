// The option objects' setters that do more than store: the change events the
// grid listens to, the options that turn others on, and the band colours.
#include "AdvGridObjects.h"
#include "Grids.h"
#include <gtest/gtest.h>

namespace {

// ---------------------------------------------------------------------------
// TNavigation

TEST(Navigation, WritesThatNotifyOrTurnOtherOptionsOn)
{
    struct Case {
        const char* name;
        std::function<void(TNavigation&)> setup;
        std::function<void(TNavigation&)> write;
        int changes;
        std::function<void(const TNavigation&)> check;
    };
    const auto none = [](TNavigation&) {};
    const auto nothing = [](const TNavigation&) {};
    const Case cases[] = {
        {"AdvanceDirection changed", none, [](TNavigation& n) { n.SetAdvanceDirection(adTopBottom); }, 1,
         [](const TNavigation& n) { EXPECT_EQ(n.GetAdvanceDirection(), adTopBottom); }},
        {"AdvanceDirection unchanged", none, [](TNavigation& n) { n.SetAdvanceDirection(adLeftRight); }, 0, nothing},
        {"AdvanceInsert changed", none, [](TNavigation& n) { n.SetAdvanceInsert(true); }, 1,
         [](const TNavigation& n) { EXPECT_TRUE(n.GetAdvanceInsert()); }},
        {"AdvanceInsert unchanged", none, [](TNavigation& n) { n.SetAdvanceInsert(false); }, 0, nothing},
        {"AdvanceAuto on", none, [](TNavigation& n) { n.SetAdvanceAuto(true); }, 0,
         [](const TNavigation& n) {
             EXPECT_TRUE(n.GetAdvanceAuto());
             EXPECT_TRUE(n.GetAdvanceOnEnter());
         }},
        {"AdvanceAuto off leaves AdvanceOnEnter",
         [](TNavigation& n) { n.SetAdvanceAuto(true); },
         [](TNavigation& n) { n.SetAdvanceAuto(false); }, 0,
         [](const TNavigation& n) {
             EXPECT_FALSE(n.GetAdvanceAuto());
             EXPECT_TRUE(n.GetAdvanceOnEnter());
         }},
        {"AdvanceAuto on again does not undo a later AdvanceOnEnter off",
         [](TNavigation& n) {
             n.SetAdvanceAuto(true);
             n.SetAdvanceOnEnter(false);
         },
         [](TNavigation& n) { n.SetAdvanceAuto(true); }, 0,
         [](const TNavigation& n) { EXPECT_FALSE(n.GetAdvanceOnEnter()); }},
        {"AutoGotoWhenSorted", none, [](TNavigation& n) { n.SetAutoGotoWhenSorted(true); }, 0,
         [](const TNavigation& n) { EXPECT_TRUE(n.GetAutoGotoWhenSorted()); }},
        {"TabAdvanceDirection", none, [](TNavigation& n) { n.SetTabAdvanceDirection(adTopBottom); }, 0, nothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOwned<TNavigation> nav(New<TNavigation>());
        c.setup(*nav);
        int changes = 0;
        nav->OnChange = [&](TObject* sender) {
            EXPECT_EQ(sender, nav.get());
            ++changes;
        };
        c.write(*nav);
        EXPECT_EQ(changes, c.changes);
        c.check(*nav);
    }
}

TEST(Navigation, AssignFiresNothing)
{
    TOwned<TNavigation> source(New<TNavigation>());
    source->SetAdvanceDirection(adTopBottom);
    source->SetAdvanceInsert(true);
    TOwned<TNavigation> target(New<TNavigation>());
    int changes = 0;
    target->OnChange = [&](TObject*) { ++changes; };
    target->Assign(source.get());
    EXPECT_EQ(target->GetAdvanceDirection(), adTopBottom);
    EXPECT_TRUE(target->GetAdvanceInsert());
    EXPECT_EQ(changes, 0);
}

// ---------------------------------------------------------------------------
// TMouseActions

struct TMouseEvents {
    int changes = 0;
    int invalidates = 0;
    int disableEdits = 0;

    void Listen(TMouseActions& m, bool designing)
    {
        m.OnChange = [this](TObject*) { ++changes; };
        m.OnInvalidate = [this](TObject*) { ++invalidates; };
        m.OnDisableEdit = [this](TObject*) { ++disableEdits; };
        m.OnIsDesigning = [designing](TObject*, bool& isDesigning) { isDesigning = designing; };
    }
};

struct Disjunct {
    bool row;
    bool col;
    bool cell;
    bool operator==(const Disjunct&) const = default;
};

Disjunct DisjunctOf(const TMouseActions& m)
{
    return {m.GetDisjunctRowSelect(), m.GetDisjunctColSelect(), m.GetDisjunctCellSelect()};
}

void SetDisjunct(TMouseActions& m, Disjunct d)
{
    // At run time (no design query yet) the three are independent.
    m.SetDisjunctRowSelect(d.row);
    m.SetDisjunctColSelect(d.col);
    m.SetDisjunctCellSelect(d.cell);
}

TEST(MouseActions, DisjunctSelectionsExcludeEachOtherOnlyWhileDesigning)
{
    struct Case {
        const char* name;
        bool designing;
        Disjunct before;
        std::function<void(TMouseActions&)> write;
        Disjunct after;
    };
    const Case cases[] = {
        {"cell at run time", false, {true, true, false},
         [](TMouseActions& m) { m.SetDisjunctCellSelect(true); }, {true, true, true}},
        {"cell while designing", true, {true, true, false},
         [](TMouseActions& m) { m.SetDisjunctCellSelect(true); }, {false, false, true}},
        {"row while designing", true, {false, true, true},
         [](TMouseActions& m) { m.SetDisjunctRowSelect(true); }, {true, false, false}},
        {"column while designing", true, {true, false, true},
         [](TMouseActions& m) { m.SetDisjunctColSelect(true); }, {false, true, false}},
        {"column at run time", false, {true, false, true},
         [](TMouseActions& m) { m.SetDisjunctColSelect(true); }, {true, true, true}},
        {"turning one off while designing", true, {true, true, true},
         [](TMouseActions& m) { m.SetDisjunctRowSelect(false); }, {false, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOwned<TMouseActions> mouse(New<TMouseActions>(nullptr));
        SetDisjunct(*mouse, c.before);
        TMouseEvents events;
        events.Listen(*mouse, c.designing);
        c.write(*mouse);
        EXPECT_EQ(DisjunctOf(*mouse), c.after);
        EXPECT_EQ(events.changes + events.invalidates + events.disableEdits, 0);
    }
}

TEST(MouseActions, HotmailRowSelectTurnsItsPartnersOnAndRepaints)
{
    struct Case {
        const char* name;
        bool designing;
        Disjunct before;
        bool value;
        Disjunct after;
        bool checkAllCheck;
    };
    const Case cases[] = {
        {"on at run time", false, {false, true, false}, true, {true, true, false}, true},
        {"on while designing", true, {false, true, true}, true, {true, false, false}, true},
        {"off", false, {true, false, false}, false, {true, false, false}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOwned<TMouseActions> mouse(New<TMouseActions>(nullptr));
        SetDisjunct(*mouse, c.before);
        TMouseEvents events;
        events.Listen(*mouse, c.designing);
        mouse->SetHotmailRowSelect(c.value);
        EXPECT_EQ(mouse->GetHotmailRowSelect(), c.value);
        EXPECT_EQ(DisjunctOf(*mouse), c.after);
        EXPECT_EQ(mouse->GetCheckAllCheck(), c.checkAllCheck);
        EXPECT_EQ(events.invalidates, 1);
        EXPECT_EQ(events.changes, 0);
    }
}

TEST(MouseActions, OtherWritesAndTheirEvents)
{
    struct Case {
        const char* name;
        std::function<void(TMouseActions&)> write;
        TMouseEvents expected;
    };
    const Case cases[] = {
        {"EditOnDblClickOnly on", [](TMouseActions& m) { m.SetEditOnDblClickOnly(true); }, {0, 0, 1}},
        {"EditOnDblClickOnly off", [](TMouseActions& m) { m.SetEditOnDblClickOnly(false); }, {0, 0, 0}},
        {"WheelAction changed", [](TMouseActions& m) { m.SetWheelAction(waScroll); }, {1, 0, 0}},
        {"WheelAction unchanged", [](TMouseActions& m) { m.SetWheelAction(waMoveSelection); }, {0, 0, 0}},
        {"WheelIncrement", [](TMouseActions& m) { m.SetWheelIncrement(1); }, {0, 0, 0}},
        {"RowSelect", [](TMouseActions& m) { m.SetRowSelect(true); }, {0, 0, 0}},
        {"WheelActive", [](TMouseActions& m) { m.SetWheelActive(waMouseOver); }, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOwned<TMouseActions> mouse(New<TMouseActions>(nullptr));
        TMouseEvents events;
        events.Listen(*mouse, false);
        c.write(*mouse);
        EXPECT_EQ(events.changes, c.expected.changes);
        EXPECT_EQ(events.invalidates, c.expected.invalidates);
        EXPECT_EQ(events.disableEdits, c.expected.disableEdits);
    }
}

TEST(MouseActions, WithoutADesignQueryItIsRunTime)
{
    TOwned<TMouseActions> mouse(New<TMouseActions>(nullptr));
    SetDisjunct(*mouse, {true, true, false});
    mouse->SetDisjunctCellSelect(true);
    EXPECT_EQ(DisjunctOf(*mouse), (Disjunct{true, true, true}));
}

TEST(MouseActions, FixedComboValuesAreCopied)
{
    TOwned<TComponent> grid(New<TComponent>(nullptr));
    TOwned<TMouseActions> mouse(New<TMouseActions>(grid.get()));
    EXPECT_EQ(mouse->GetOwner(), grid.get());
    TOwned<TStringList> values(New<TStringList>());
    values->SetCommaText(L"Low,Medium,High");
    mouse->SetFixedComboValues(values.get());
    values->Clear();
    EXPECT_EQ(mouse->GetFixedComboValues()->GetCommaText(), L"Low,Medium,High");
}

// ---------------------------------------------------------------------------
// TSearchFooter

TEST(SearchFooter, WritesAndTheirChangeEvents)
{
    struct Case {
        const char* name;
        std::function<void(TSearchFooter&)> write;
        int changes;
    };
    // Colours, font, texts, ShowClose and AutoThemeAdapt notify on every
    // write; the other Show switches and Visible only on a change.
    const Case cases[] = {
        {"Color unchanged", [](TSearchFooter& f) { f.SetColor(0xFFFFFF); }, 1},
        {"ColorTo unchanged", [](TSearchFooter& f) { f.SetColorTo(clBtnFace); }, 1},
        {"Font", [](TSearchFooter& f) { f.SetFont(f.GetFont()); }, 1},
        {"FindNextCaption unchanged", [](TSearchFooter& f) { f.SetFindNextCaption(String()); }, 1},
        {"FindPrevCaption", [](TSearchFooter& f) { f.SetFindPrevCaption(L"Back"); }, 1},
        {"HighLightCaption", [](TSearchFooter& f) { f.SetHighLightCaption(L"Mark"); }, 1},
        {"MatchCaseCaption", [](TSearchFooter& f) { f.SetMatchCaseCaption(L"Case"); }, 1},
        {"HintClose", [](TSearchFooter& f) { f.SetHintClose(L"Tip text"); }, 1},
        {"HintFindNext", [](TSearchFooter& f) { f.SetHintFindNext(L"Tip text"); }, 1},
        {"HintFindPrev", [](TSearchFooter& f) { f.SetHintFindPrev(L"Tip text"); }, 1},
        {"HintHighlight unchanged", [](TSearchFooter& f) { f.SetHintHighlight(String()); }, 1},
        {"ShowClose unchanged", [](TSearchFooter& f) { f.SetShowClose(true); }, 1},
        {"AutoThemeAdapt unchanged", [](TSearchFooter& f) { f.SetAutoThemeAdapt(false); }, 1},
        {"ShowFindNext changed", [](TSearchFooter& f) { f.SetShowFindNext(false); }, 1},
        {"ShowFindNext unchanged", [](TSearchFooter& f) { f.SetShowFindNext(true); }, 0},
        {"ShowFindPrev changed", [](TSearchFooter& f) { f.SetShowFindPrev(false); }, 1},
        {"ShowFindPrev unchanged", [](TSearchFooter& f) { f.SetShowFindPrev(true); }, 0},
        {"ShowHighLight changed", [](TSearchFooter& f) { f.SetShowHighLight(false); }, 1},
        {"ShowHighLight unchanged", [](TSearchFooter& f) { f.SetShowHighLight(true); }, 0},
        {"ShowMatchCase changed", [](TSearchFooter& f) { f.SetShowMatchCase(false); }, 1},
        {"ShowMatchCase unchanged", [](TSearchFooter& f) { f.SetShowMatchCase(true); }, 0},
        {"Visible changed", [](TSearchFooter& f) { f.SetVisible(true); }, 1},
        {"Visible unchanged", [](TSearchFooter& f) { f.SetVisible(false); }, 0},
        {"AutoSearch", [](TSearchFooter& f) { f.SetAutoSearch(false); }, 0},
        {"SearchColumn", [](TSearchFooter& f) { f.SetSearchColumn(2); }, 0},
        {"HighLight", [](TSearchFooter& f) { f.SetHighLight(hFullCell); }, 0},
        {"AlwaysHighLight", [](TSearchFooter& f) { f.SetAlwaysHighLight(true); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOwned<TSearchFooter> footer(New<TSearchFooter>(nullptr, false));
        int changes = 0;
        footer->OnChange = [&](TObject* sender) {
            EXPECT_EQ(sender, footer.get());
            ++changes;
        };
        c.write(*footer);
        EXPECT_EQ(changes, c.changes);
    }
}

TEST(SearchFooter, WritingAutoSearchForgetsTheLastSearch)
{
    TOwned<TSearchFooter> footer(New<TSearchFooter>(nullptr, false));
    for (bool value : {true, false}) {
        footer->SetLastSearch(L"server");
        footer->SetAutoSearch(value);
        EXPECT_EQ(footer->GetAutoSearch(), value);
        EXPECT_EQ(footer->GetLastSearch(), L"");
    }
}

TEST(SearchFooter, FontIsCopiedAndAssignFiresNothing)
{
    TOwned<TFont> font(New<TFont>());
    font->SetName(L"Arial");
    font->SetColor(clRed);
    TOwned<TSearchFooter> source(New<TSearchFooter>(nullptr, true));
    source->SetFont(font.get());
    source->SetVisible(true);
    font->SetColor(clBlue);
    EXPECT_EQ(source->GetFont()->GetColor(), clRed);

    TOwned<TSearchFooter> target(New<TSearchFooter>(nullptr, false));
    int changes = 0;
    target->OnChange = [&](TObject*) { ++changes; };
    target->Assign(source.get());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(target->GetFont()->GetName(), L"Arial");
    EXPECT_EQ(target->GetFindNextCaption(), L"Find &next");
    EXPECT_TRUE(target->GetVisible());
}

// ---------------------------------------------------------------------------
// TBands

TEST(Bands, WritesNotifyOnlyWhenTheyChangeSomethingShown)
{
    struct Case {
        const char* name;
        bool active;
        std::function<void(TBands&)> write;
        int changes;
        int totalLength;
    };
    const Case cases[] = {
        {"Active on", false, [](TBands& b) { b.SetActive(true); }, 1, 2},
        {"Active unchanged", true, [](TBands& b) { b.SetActive(true); }, 0, 2},
        {"Active off", true, [](TBands& b) { b.SetActive(false); }, 1, 2},
        {"PrimaryColor while inactive", false, [](TBands& b) { b.SetPrimaryColor(clYellow); }, 0, 2},
        {"PrimaryColor while active", true, [](TBands& b) { b.SetPrimaryColor(clYellow); }, 1, 2},
        {"PrimaryColor unchanged", true, [](TBands& b) { b.SetPrimaryColor(clInfoBk); }, 0, 2},
        {"SecondaryColor while inactive", false, [](TBands& b) { b.SetSecondaryColor(clYellow); }, 0, 2},
        {"SecondaryColor while active", true, [](TBands& b) { b.SetSecondaryColor(clYellow); }, 1, 2},
        {"SecondaryColor unchanged", true, [](TBands& b) { b.SetSecondaryColor(clWindow); }, 0, 2},
        {"PrimaryLength while active", true, [](TBands& b) { b.SetPrimaryLength(2); }, 1, 3},
        {"PrimaryLength while inactive", false, [](TBands& b) { b.SetPrimaryLength(2); }, 0, 3},
        {"PrimaryLength unchanged", true, [](TBands& b) { b.SetPrimaryLength(1); }, 0, 2},
        {"SecondaryLength while active", true, [](TBands& b) { b.SetSecondaryLength(4); }, 1, 5},
        {"SecondaryLength while inactive", false, [](TBands& b) { b.SetSecondaryLength(0); }, 0, 1},
        {"Print", true, [](TBands& b) { b.SetPrint(true); }, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOwned<TBands> bands(New<TBands>());
        bands->SetActive(c.active);
        int changes = 0;
        bands->OnChange = [&](TObject* sender) {
            EXPECT_EQ(sender, bands.get());
            ++changes;
        };
        c.write(*bands);
        EXPECT_EQ(changes, c.changes);
        EXPECT_EQ(bands->GetTotalLength(), c.totalLength);
    }
}

TEST(Bands, RowColoursRepeatFromTheFirstNormalRow)
{
    struct Case {
        int primaryLength;
        int secondaryLength;
        int fixedRows;
        const char* pattern; // from row fixedRows on: P primary, S secondary
    };
    const Case cases[] = {
        {1, 1, 1, "PSPSPS"},
        {2, 1, 1, "PPSPPS"},
        {1, 3, 0, "PSSSPS"},
        {2, 0, 2, "PPPPPP"},
        {0, 2, 1, "SSSSSS"},
        {0, 0, 1, "SSSSSS"},
    };
    TOwned<TBands> bands(New<TBands>());
    bands->SetPrimaryColor(clYellow);
    bands->SetSecondaryColor(clAqua);
    for (const Case& c : cases) {
        bands->SetPrimaryLength(c.primaryLength);
        bands->SetSecondaryLength(c.secondaryLength);
        String actual;
        for (int row = c.fixedRows; row < c.fixedRows + 6; ++row)
            actual += bands->RowColor(row, c.fixedRows) == clYellow ? L'P' : L'S';
        EXPECT_EQ(actual, String(c.pattern, c.pattern + 6))
            << c.primaryLength << "+" << c.secondaryLength << " below " << c.fixedRows;
    }
}

TEST(Bands, AssignRecomputesTheTotalAndFiresNothing)
{
    TOwned<TBands> source(New<TBands>());
    source->SetPrimaryLength(3);
    source->SetSecondaryLength(4);
    TOwned<TBands> target(New<TBands>());
    target->SetActive(true);
    int changes = 0;
    target->OnChange = [&](TObject*) { ++changes; };
    target->Assign(source.get());
    EXPECT_EQ(target->GetTotalLength(), 7);
    EXPECT_FALSE(target->GetActive());
    EXPECT_EQ(changes, 0);
}

// ---------------------------------------------------------------------------
// TSyncGrid

TEST(SyncGrid, AGridCannotFollowItself)
{
    TOwned<TStringGrid> owner(New<TStringGrid>(nullptr));
    TOwned<TStringGrid> other(New<TStringGrid>(nullptr));
    TOwned<TSyncGrid> sync(New<TSyncGrid>(owner.get()));

    sync->SetGrid(other.get());
    EXPECT_EQ(sync->GetGrid(), other.get());
    sync->SetGrid(owner.get());
    EXPECT_EQ(sync->GetGrid(), other.get());
    sync->SetGrid(nullptr);
    EXPECT_EQ(sync->GetGrid(), nullptr);

    // Copying the settings of the other grid, which follows this one, keeps
    // this grid from following itself.
    TOwned<TSyncGrid> others(New<TSyncGrid>(other.get()));
    others->SetGrid(owner.get());
    others->SetScrollVertical(true);
    sync->SetGrid(other.get());
    sync->Assign(others.get());
    EXPECT_EQ(sync->GetGrid(), other.get());
    EXPECT_TRUE(sync->GetScrollVertical());
}

// ---------------------------------------------------------------------------
// TFocusHelper

TEST(FocusHelper, BelongsToTheGrid)
{
    TOwned<TComponent> grid(New<TComponent>(nullptr));
    TOwned<TFocusHelper> helper(New<TFocusHelper>(grid.get()));
    EXPECT_EQ(helper->GetOwner(), grid.get());
}

} // namespace
