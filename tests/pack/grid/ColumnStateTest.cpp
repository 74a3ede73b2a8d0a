// The column layout kept outside the grid. The column-state string: what a
// layout writes, that a written layout comes back in another grid, and that
// a string a user broke changes nothing. Widths and positions in a real INI
// file and in the registry: they come back, the grid saves on destruction
// and loads with its window, and a broken store changes nothing.
#include "DataGridSupport.h"
#include "IniFiles.h"
#include "Registry.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// What a user sees of the columns: header texts and widths in display order.
struct TLayout {
    int colCount = 0;
    std::vector<String> headers;
    std::vector<int> widths;
    String state;
    bool operator==(const TLayout&) const = default;
};

TLayout LayoutOf(TAdvStringGrid* g)
{
    TLayout layout;
    layout.colCount = g->GetColCount();
    for (int d = 0; d < g->GetColCount(); ++d) {
        layout.headers.push_back(g->GetCells(g->RealColIndex(d), 0));
        layout.widths.push_back(g->GetColWidths(d));
    }
    layout.state = g->ColumnStatesToString();
    return layout;
}

// Six columns 10 .. 60 wide; column 4 moved to position 1, then the real
// column holding the first column's data hidden.
void ArrangeSixColumns(TAdvStringGrid* g)
{
    for (int c = 0; c < 6; ++c)
        g->SetColWidths(c, 10 * (c + 1));
    g->MoveColumn(4, 1);
    g->HideColumn(2);
}

const wchar_t* const SixColumnState = L"6#10,50,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1";

} // namespace

TEST(ColumnState, NeverReorderedGridWritesTheIdentityOrder)
{
    TFilledGrid<> g(4, 3);
    g->SetColWidths(1, 80);
    g->SetColWidths(2, 120);
    EXPECT_EQ(g->ColumnStatesToString(), L"4#64,80,120,64#0,1,2,3#1,1,1,1");
}

TEST(ColumnState, MovedAndHiddenColumnsRoundTrip)
{
    TFilledGrid<> source(6, 3);
    ArrangeSixColumns(source.grid);
    ASSERT_EQ(source->ColumnStatesToString(), SixColumnState);

    TFilledGrid<> target(6, 3);
    target->StringToColumnStates(SixColumnState);
    EXPECT_EQ(LayoutOf(target.grid), LayoutOf(source.grid));
    EXPECT_EQ(LayoutOf(target.grid).headers,
              (std::vector<String>{L"r0c0", L"r0c4", L"r0c2", L"r0c3", L"r0c5"}));
    EXPECT_TRUE(target->IsHiddenColumn(2));
    EXPECT_EQ(target->GetColumnOrder()->GetStrValue(), L"0,4,1,2,3,5");
}

TEST(ColumnState, InventoryDefaultWidthsSurviveARoundTrip)
{
    TFilledGrid<> window(28, 2);
    window->SetDefaultColWidth(120);
    const std::pair<int, int> widths[] = {{0, 160}, {7, 140}, {15, 130}, {19, 125}, {24, 130}};
    for (auto [col, width] : widths)
        window->SetColWidths(col, width);
    const String state = window->ColumnStatesToString();

    TFilledGrid<> restored(28, 2);
    restored->StringToColumnStates(state);
    for (int c = 0; c < 28; ++c)
        EXPECT_EQ(restored->GetColWidths(c), window->GetColWidths(c)) << "column " << c;
    EXPECT_EQ(restored->ColumnStatesToString(), state);
}

TEST(ColumnState, StoredCountReplacesTheGridsCount)
{
    TFilledGrid<> g(6, 3);
    g->StringToColumnStates(L"3#40,50,60#2,0,1#1,1,1");
    EXPECT_EQ(g->GetColCount(), 3);
    EXPECT_EQ(LayoutOf(g.grid).headers, (std::vector<String>{L"r0c2", L"r0c0", L"r0c1"}));
    EXPECT_EQ(LayoutOf(g.grid).widths, (std::vector<int>{40, 50, 60}));
}

TEST(ColumnState, EmptyOrderFieldMovesNothingAndKeepsNoOrder)
{
    TFilledGrid<> g(3, 2);
    g->StringToColumnStates(L"3#40,50,60##1,0,1");
    EXPECT_EQ(g->GetColumnOrder()->Count(), 0);
    EXPECT_EQ(LayoutOf(g.grid).headers, (std::vector<String>{L"r0c0", L"r0c2"}));
    EXPECT_EQ(LayoutOf(g.grid).widths, (std::vector<int>{40, 50}));
}

TEST(ColumnState, StringWithoutSeparatorIsIgnored)
{
    TFilledGrid<> g(6, 3);
    ArrangeSixColumns(g.grid);
    const TLayout before = LayoutOf(g.grid);
    g->StringToColumnStates(L"6,10,50");
    g->StringToColumnStates(L"");
    EXPECT_EQ(LayoutOf(g.grid), before);
}

TEST(ColumnState, MalformedStringLeavesTheLayoutUntouched)
{
    struct Case {
        const char* name;
        const wchar_t* state;
    };
    const Case cases[] = {
        {"count not a number", L"six#10,50,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1"},
        {"count zero", L"0###"},
        {"count negative", L"-2#1,2#0,1#1,1"},
        {"width not a number", L"6#10,5x,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1"},
        {"width with a space", L"6#10, 50,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1"},
        {"empty width item", L"6#10,,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1"},
        {"too few widths", L"6#10,50,30#0,4,1,2,3,5#1,1,0,1,1,1"},
        {"too few order entries", L"6#10,50,30,40,60,64#0,4,1#1,1,0,1,1,1"},
        {"order repeats a column", L"6#10,50,30,40,60,64#0,4,4,2,3,5#1,1,0,1,1,1"},
        {"order names a missing column", L"6#10,50,30,40,60,64#0,4,1,2,3,9#1,1,0,1,1,1"},
        {"order with -1", L"6#10,50,30,40,60,64#0,4,1,2,3,-1#1,1,0,1,1,1"},
        {"too few flags", L"6#10,50,30,40,60,64#0,4,1,2,3,5#1,1"},
        {"flag other than 0 or 1", L"6#10,50,30,40,60,64#0,4,1,2,3,5#1,1,2,1,1,1"},
        {"missing flags field", L"6#10,50,30,40,60,64#0,4,1,2,3,5"},
        {"extra field", L"6#10,50,30,40,60,64#0,4,1,2,3,5#1,1,0,1,1,1#7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFilledGrid<> g(6, 3);
        ArrangeSixColumns(g.grid);
        const TLayout before = LayoutOf(g.grid);
        EXPECT_THROW(g->StringToColumnStates(c.state), Exception);
        EXPECT_EQ(LayoutOf(g.grid), before);
    }
}

// --- widths and positions in a store -------------------------------------------------------

namespace {

const wchar_t* const TestRegistryRoot = L"\\Software\\TavelinGridTests";

// One place to keep column settings: an INI file in a temporary folder or a
// registry key under the tests' own root, removed afterwards.
struct TColumnStore {
    TColumnSizeLocation location;
    testing_support::TempDir dir;
    String key;
    explicit TColumnStore(TColumnSizeLocation where) : location(where)
    {
        key = where == clIniFile ? dir.File(L"columns.ini") : String(L"Software\\TavelinGridTests\\Columns");
    }
    ~TColumnStore()
    {
        if (location == clRegistry) {
            TRegistry reg;
            reg.DeleteKey(TestRegistryRoot);
        }
    }
    void Use(TAdvStringGrid* g) const
    {
        g->GetColumnSize()->SetLocation(location);
        g->GetColumnSize()->SetKey(key);
        g->GetColumnSize()->SetSection(L"Grid");
    }
    TOwned<TCustomIniFile> Open() const
    {
        if (location == clIniFile)
            return TOwned<TCustomIniFile>(New<TMemIniFile>(key));
        return TOwned<TCustomIniFile>(New<TRegistryIniFile>(key));
    }
    String Read(const String& name) const { return Open()->ReadString(L"Grid", name, L"(none)"); }
    void Write(const String& name, const String& value) const
    {
        TOwned<TCustomIniFile> ini = Open();
        ini->WriteString(L"Grid", name, value);
        ini->UpdateFile();
    }
};

const char* LocationName(TColumnSizeLocation where)
{
    return where == clIniFile ? "INI file" : "registry";
}

} // namespace

TEST(ColumnStore, WidthsComeBackFromEitherStore)
{
    for (TColumnSizeLocation where : {clIniFile, clRegistry}) {
        SCOPED_TRACE(LocationName(where));
        TColumnStore store(where);
        TFilledGrid<> source(4, 3);
        store.Use(source.grid);
        const std::vector<int> widths{30, 90, 45, 120};
        for (int c = 0; c < 4; ++c)
            source->SetColWidths(c, widths[static_cast<size_t>(c)]);
        source->SaveColSizes();
        EXPECT_EQ(store.Read(L"Col1"), L"90");
        EXPECT_EQ(store.Read(L"Col3"), L"120");

        TFilledGrid<> target(4, 3);
        store.Use(target.grid);
        target->LoadColSizes();
        EXPECT_EQ(LayoutOf(target.grid).widths, widths);
    }
}

TEST(ColumnStore, NothingHappensWithoutBothNames)
{
    TColumnStore store(clIniFile);
    TFilledGrid<> g(3, 2);
    store.Use(g.grid);
    g->GetColumnSize()->SetSection(L"");
    g->SaveColSizes();
    g->SaveColPositions();
    EXPECT_EQ(GetFileAttributesW(store.key.c_str()), INVALID_FILE_ATTRIBUTES);

    store.Write(L"Col0", L"99");
    g->GetColumnSize()->SetSection(L"Grid");
    g->GetColumnSize()->SetKey(L"");
    g->LoadColSizes();
    EXPECT_EQ(g->GetColWidths(0), g->GetDefaultColWidth());
}

TEST(ColumnStore, StoredWidthsTheGridCannotTakeKeepTheColumn)
{
    TColumnStore store(clIniFile);
    store.Write(L"Col0", L"wide");
    store.Write(L"Col1", L"-40");
    store.Write(L"Col2", L"75");
    TFilledGrid<> g(3, 2);
    store.Use(g.grid);
    g->LoadColSizes();
    EXPECT_EQ(LayoutOf(g.grid).widths, (std::vector<int>{64, 64, 75}));
}

TEST(ColumnStore, SavedWhenTheGridGoesAndLoadedWithItsWindow)
{
    TColumnStore store(clIniFile);
    {
        TFilledGrid<> g(3, 2);
        store.Use(g.grid);
        g->GetColumnSize()->SetSave(true);
        g->SetColWidths(2, 33);
    }
    EXPECT_EQ(store.Read(L"Col2"), L"33");

    TOwned<TForm> form(New<TForm>(nullptr));
    auto* g = New<TAdvStringGrid>(form.get());
    g->SetColCount(3);
    store.Use(g);
    g->GetColumnSize()->SetSave(true);
    EXPECT_EQ(g->GetColWidths(2), 64);
    g->SetParent(form.get());
    g->HandleNeeded();
    EXPECT_EQ(g->GetColWidths(2), 33);
}

TEST(ColumnStore, PositionsComeBackWithHiddenColumnsInPlace)
{
    for (TColumnSizeLocation where : {clIniFile, clRegistry}) {
        SCOPED_TRACE(LocationName(where));
        TColumnStore store(where);
        TFilledGrid<> source(6, 3);
        store.Use(source.grid);
        source->MoveColumn(4, 1);
        source->SaveColPositions();
        EXPECT_EQ(store.Read(L"Pos1"), L"4");
        EXPECT_EQ(store.Read(L"Pos5"), L"5");

        TFilledGrid<> target(6, 3);
        store.Use(target.grid);
        target->HideColumn(2);
        target->LoadColPositions();
        EXPECT_EQ(target->GetColumnOrder()->GetStrValue(), L"0,4,1,2,3,5");
        EXPECT_TRUE(target->IsHiddenColumn(2)) << "the hidden place stays hidden";
        EXPECT_EQ(LayoutOf(target.grid).headers,
                  (std::vector<String>{L"r0c0", L"r0c4", L"r0c2", L"r0c3", L"r0c5"}));
    }
}

TEST(ColumnStore, BrokenPositionsChangeNothing)
{
    struct Case {
        const char* name;
        std::vector<std::pair<String, String>> values;
        bool raises;
    };
    const Case cases[] = {
        {"no positions stored", {}, false},
        {"first position -1", {{L"Pos0", L"-1"}, {L"Pos1", L"0"}}, false},
        {"fewer positions than columns", {{L"Pos0", L"1"}, {L"Pos1", L"0"}}, true},
        {"a column twice", {{L"Pos0", L"1"}, {L"Pos1", L"1"}, {L"Pos2", L"0"}, {L"Pos3", L"2"}, {L"Pos4", L"3"},
                            {L"Pos5", L"4"}}, true},
        {"a column the grid lacks", {{L"Pos0", L"1"}, {L"Pos1", L"0"}, {L"Pos2", L"2"}, {L"Pos3", L"3"},
                                     {L"Pos4", L"4"}, {L"Pos5", L"9"}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TColumnStore store(clIniFile);
        for (const auto& [name, value] : c.values)
            store.Write(name, value);
        TFilledGrid<> g(6, 3);
        store.Use(g.grid);
        ArrangeSixColumns(g.grid);
        const TLayout before = LayoutOf(g.grid);
        if (c.raises)
            EXPECT_THROW(g->LoadColPositions(), EListError);
        else
            g->LoadColPositions();
        EXPECT_EQ(LayoutOf(g.grid), before);
    }
}
