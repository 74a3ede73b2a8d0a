// The grid's bookkeeping lists: integer lists that report changes with their
// cell, the sort-column list and its text, placed controls, and the string
// list read and written like a text file.
#include "AdvGridObjects.h"
#include "Forms.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<Integer> Items(const TIntList& list)
{
    std::vector<Integer> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list[i]);
    return items;
}

void Fill(TIntList& list, const std::vector<Integer>& items)
{
    for (Integer v : items)
        list.Insert(list.Count(), v);
}

// Records every change a list reports.
struct TChangeLog {
    struct Entry {
        TObject* sender;
        int col;
        int row;
    };
    std::vector<Entry> entries;
    void Listen(TIntList& list)
    {
        list.OnChange = [this](TObject* sender, int col, int row) { entries.push_back({sender, col, row}); };
    }
    int Count() const { return static_cast<int>(entries.size()); }
};

// ---------------------------------------------------------------------------
// TIntList

TEST(IntList, AddDeleteAndWritesReportTheListsCell)
{
    TOwned<TIntList> list(New<TIntList>(3, 7));
    TChangeLog log;
    log.Listen(*list);

    EXPECT_EQ(list->Add(10), 0);
    EXPECT_EQ(list->Add(20), 1);
    list->SetItem(0, 11);
    list->Delete(1);
    ASSERT_EQ(log.Count(), 4);
    for (const auto& e : log.entries) {
        EXPECT_EQ(e.sender, list.get());
        EXPECT_EQ(e.col, 3);
        EXPECT_EQ(e.row, 7);
    }
    EXPECT_EQ(Items(*list), (std::vector<Integer>{11}));

    // Positional insertion is quiet.
    list->Insert(0, 5);
    EXPECT_EQ(log.Count(), 4);
    EXPECT_EQ(Items(*list), (std::vector<Integer>{5, 11}));

    // Out of range is the list's error, and nothing is reported.
    EXPECT_THROW(list->SetItem(2, 1), EListError);
    EXPECT_THROW(list->Delete(-1), EListError);
    EXPECT_EQ(log.Count(), 4);
}

TEST(IntList, HoldsTheWholeIntegerRange)
{
    TOwned<TIntList> list(New<TIntList>(0, 0));
    list->Add(-2147483647 - 1);
    list->Add(2147483647);
    list->Add(-1);
    EXPECT_EQ(Items(*list), (std::vector<Integer>{-2147483647 - 1, 2147483647, -1}));
    EXPECT_EQ(list->GetStrValue(), L"-2147483648,2147483647,-1");
}

TEST(IntList, SortedPositionAndIndex)
{
    struct Case {
        std::vector<Integer> items;
        Integer value;
        int pos;
        int index;
    };
    const Case cases[] = {
        {{}, 5, 0, -1},
        {{1, 5, 9}, 5, 1, 1},
        {{1, 3}, 5, 2, -1},
        {{1, 5, 9}, 4, 1, -1},
        {{1, 5, 9}, 0, 0, -1},
        {{1, 5, 9}, 9, 2, 2},
        {{1, 5, 9}, 10, 3, -1},
        {{7}, 7, 0, 0},
        {{2, 4, 6, 8, 10, 12}, 11, 5, -1},
        {{2, 4, 6, 8, 10, 12}, 2, 0, 0},
        {{-5, -1, 3}, -3, 1, -1},
    };
    for (const Case& c : cases) {
        TOwned<TIntList> list(New<TIntList>(0, 0));
        Fill(*list, c.items);
        SCOPED_TRACE(list->GetStrValue() + L" / " + IntToStr(c.value));
        EXPECT_EQ(list->SortedPosOf(c.value), c.pos);
        EXPECT_EQ(list->SortedIndexOf(c.value), c.index);
    }
}

TEST(IntList, SortedInsertKeepsOrderAndIsQuietUnlessTheListWasEmpty)
{
    struct Case {
        std::vector<Integer> items;
        Integer value;
        std::vector<Integer> after;
        int changes;
    };
    const Case cases[] = {
        {{1, 5, 9}, 4, {1, 4, 5, 9}, 0},
        {{}, 4, {4}, 1},
        {{1, 5, 9}, 5, {1, 5, 5, 9}, 0},
        {{1, 5, 9}, 12, {1, 5, 9, 12}, 0},
        {{1, 5, 9}, -3, {-3, 1, 5, 9}, 0},
    };
    for (const Case& c : cases) {
        TOwned<TIntList> list(New<TIntList>(0, 0));
        Fill(*list, c.items);
        TChangeLog log;
        log.Listen(*list);
        list->Insert(c.value);
        EXPECT_EQ(Items(*list), c.after);
        EXPECT_EQ(log.Count(), c.changes);
    }
}

TEST(IntList, DeleteValueAndHasValue)
{
    TOwned<TIntList> list(New<TIntList>(0, 0));
    Fill(*list, {4, 8, 4});
    TChangeLog log;
    log.Listen(*list);

    EXPECT_TRUE(list->HasValue(8));
    EXPECT_FALSE(list->HasValue(5));
    list->DeleteValue(5);
    EXPECT_EQ(log.Count(), 0);
    list->DeleteValue(4);
    EXPECT_EQ(Items(*list), (std::vector<Integer>{8, 4}));
    EXPECT_EQ(log.Count(), 1);
}

TEST(IntList, StrValueReadsAndWritesCommaText)
{
    struct Case {
        String text;
        std::vector<Integer> items;
        String readBack;
    };
    const Case cases[] = {
        {L"", {}, L""},
        {L"1,2,3", {1, 2, 3}, L"1,2,3"},
        {L"4 5,6", {4, 5, 6}, L"4,5,6"},
        {L"\"7\",-8", {7, -8}, L"7,-8"},
        {L"  12  ", {12}, L"12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TOwned<TIntList> list(New<TIntList>(0, 0));
        Fill(*list, {99, 98});
        TChangeLog log;
        log.Listen(*list);
        list->SetStrValue(c.text);
        EXPECT_EQ(Items(*list), c.items);
        EXPECT_EQ(list->GetStrValue(), c.readBack);
        // One report per item added; clearing the old items is quiet.
        EXPECT_EQ(log.Count(), static_cast<int>(c.items.size()));
    }
}

TEST(IntList, StrValueWithABadItemRaisesAndKeepsTheList)
{
    for (const String text : {L"1,x,3", L"1,,3", L"2.5", L"99999999999"}) {
        SCOPED_TRACE(text);
        TOwned<TIntList> list(New<TIntList>(0, 0));
        Fill(*list, {5, 6});
        EXPECT_THROW(list->SetStrValue(text), EConvertError);
        EXPECT_EQ(Items(*list), (std::vector<Integer>{5, 6}));
    }
}

// ---------------------------------------------------------------------------
// TSortIndexList

struct SortColumn {
    int column;
    bool ascending;
    bool operator==(const SortColumn&) const = default;
};

std::vector<SortColumn> Columns(const TSortIndexList& list)
{
    std::vector<SortColumn> columns;
    for (int i = 0; i < list.Count(); ++i)
        columns.push_back({list.GetColumn(i), list.GetAscending(i)});
    return columns;
}

TEST(SortIndexList, DirectionIsBit31OfTheItem)
{
    TOwned<TSortIndexList> list(New<TSortIndexList>(0, 0));
    list->AddIndex(2, true);
    list->AddIndex(5, false);
    EXPECT_EQ(list->GetItem(0), 2);
    EXPECT_EQ(static_cast<Cardinal>(list->GetItem(1)), 0x80000005u);
    EXPECT_EQ(Columns(*list), (std::vector<SortColumn>{{2, true}, {5, false}}));
    EXPECT_EQ(list->FindIndex(5), 1);
    EXPECT_EQ(list->FindIndex(2), 0);
    EXPECT_EQ(list->FindIndex(3), -1);
}

TEST(SortIndexList, ToggleFlipsTheFirstItemOfTheColumnOnly)
{
    TOwned<TSortIndexList> list(New<TSortIndexList>(0, 0));
    list->AddIndex(4, true);
    list->AddIndex(1, true);
    list->AddIndex(4, true);
    TChangeLog log;
    log.Listen(*list);

    list->ToggleIndex(4);
    EXPECT_EQ(Columns(*list), (std::vector<SortColumn>{{4, false}, {1, true}, {4, true}}));
    EXPECT_EQ(log.Count(), 1);
    list->ToggleIndex(4);
    EXPECT_EQ(Columns(*list), (std::vector<SortColumn>{{4, true}, {1, true}, {4, true}}));

    list->ToggleIndex(9);
    EXPECT_EQ(log.Count(), 2);
}

TEST(SortIndexList, TextForm)
{
    struct Case {
        std::vector<SortColumn> columns;
        String text;
    };
    const Case cases[] = {
        {{}, L""},
        {{{2, true}, {5, false}}, L"u2;d5"},
        {{{0, false}}, L"d0"},
        {{{12, true}, {3, true}, {40, false}}, L"u12;u3;d40"},
    };
    for (const Case& c : cases) {
        TOwned<TSortIndexList> list(New<TSortIndexList>(0, 0));
        for (const SortColumn& s : c.columns)
            list->AddIndex(s.column, s.ascending);
        EXPECT_EQ(list->SaveToString(), c.text);

        TOwned<TSortIndexList> loaded(New<TSortIndexList>(0, 0));
        loaded->AddIndex(7, true);
        loaded->LoadFromString(c.text);
        EXPECT_EQ(Columns(*loaded), c.columns) << c.text;
    }
}

TEST(SortIndexList, LoadingSkipsShortItemsAndReadsAnythingElseAsDescending)
{
    struct Case {
        String text;
        std::vector<SortColumn> columns;
    };
    const Case cases[] = {
        {L";;", {}},
        {L"u3;x7;d", {{3, true}, {7, false}}},
        {L"u;d;u1", {{1, true}}},
        {L"U4", {{4, false}}},
        {L"u2;", {{2, true}}},
        {L"uA", {{0, true}}},
        {L"d12z;u5", {{0, false}, {5, true}}},
    };
    for (const Case& c : cases) {
        TOwned<TSortIndexList> list(New<TSortIndexList>(0, 0));
        EXPECT_NO_THROW(list->LoadFromString(c.text));
        EXPECT_EQ(Columns(*list), c.columns) << c.text;
    }
}

TEST(SortIndexList, OnlyTheLow16BitsOfAColumnAreWritten)
{
    TOwned<TSortIndexList> list(New<TSortIndexList>(0, 0));
    list->AddIndex(70000, false);
    EXPECT_EQ(list->SaveToString(), L"d4464");
    list->LoadFromString(list->SaveToString());
    EXPECT_EQ(Columns(*list), (std::vector<SortColumn>{{4464, false}}));
}

// ---------------------------------------------------------------------------
// TControlList

// The smallest windowed control: a window only when one is asked for.
class TCellControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

TEST(ControlList, FindsControlsByCellAndRemovesItemsButNotControls)
{
    TOwned<TCellControl> a(New<TCellControl>(nullptr));
    TOwned<TCellControl> b(New<TCellControl>(nullptr));
    TOwned<TControlList> list(New<TControlList>());
    list->AddControl(1, 2, a.get());
    list->AddControl(3, 4, b.get());
    list->AddControl(1, 2, b.get());

    EXPECT_EQ(list->ControlIndex(1, 2), 0);
    EXPECT_EQ(list->ControlIndex(3, 4), 1);
    EXPECT_EQ(list->ControlIndex(2, 1), -1);
    EXPECT_EQ(list->GetItem(1)->GetControl(), b.get());
    EXPECT_EQ(list->GetItem(1)->GetX(), 3);
    EXPECT_EQ(list->GetItem(1)->GetY(), 4);

    list->RemoveControl(0);
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(list->ControlIndex(1, 2), 1);
    // The control itself stays, and so it does when the list goes.
    a->SetName(L"StillHere");
    list.reset();
    EXPECT_EQ(b->GetName(), L"");
    EXPECT_EQ(a->GetName(), L"StillHere");
}

TEST(ControlList, HasHandleMatchesWindowsThatExistWithoutCreatingAny)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    auto* shown = New<TCellControl>(form.get());
    auto* unshown = New<TCellControl>(form.get());
    shown->SetParent(form.get());
    TOwned<TControlList> list(New<TControlList>());
    list->AddControl(0, 0, shown);
    list->AddControl(0, 1, unshown);

    HWND wnd = shown->GetHandle();
    ASSERT_NE(wnd, nullptr);
    EXPECT_TRUE(list->HasHandle(wnd));
    EXPECT_FALSE(list->HasHandle(GetDesktopWindow()));
    EXPECT_FALSE(list->HasHandle(nullptr));
    EXPECT_FALSE(unshown->HandleAllocated());
}

// ---------------------------------------------------------------------------
// TFileStringList

TEST(FileStringList, WritesLinesFromPiecesAndReadsThemBack)
{
    TOwned<TFileStringList> file(New<TFileStringList>());
    file->Write(L"Name");
    file->Write(L";");
    file->WriteLn(L"Value");
    file->WriteLn(L"");
    file->Write(L"pending");
    EXPECT_EQ(file->GetText(), L"Name;Value\r\n\r\n");

    file->Reset();
    EXPECT_FALSE(file->GetEof());
    String line;
    file->ReadLn(line);
    EXPECT_EQ(line, L"Name;Value");
    file->ReadLn(line);
    EXPECT_EQ(line, L"");
    EXPECT_TRUE(file->GetEof());
    EXPECT_THROW(file->ReadLn(line), EStringListError);
    EXPECT_EQ(line, L"");

    // Reset dropped the pending text as well as going back to the start.
    file->WriteLn(L"last");
    EXPECT_EQ(file->Get(2), L"last");
    file->Reset();
    file->ReadLn(line);
    EXPECT_EQ(line, L"Name;Value");
}

TEST(FileStringList, AnEmptyListIsAtItsEnd)
{
    TOwned<TFileStringList> file(New<TFileStringList>());
    EXPECT_TRUE(file->GetEof());
    String line = L"untouched";
    EXPECT_THROW(file->ReadLn(line), EStringListError);
    EXPECT_EQ(line, L"untouched");
}

} // namespace
