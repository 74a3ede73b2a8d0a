// The history of cell changes: undo and redo singly and by sequence, the
// history kept across undos, its limit, the markers, the grid and history
// letting go of each other; and the base cell checker.
#include "DataGridSupport.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

// A grid whose every change goes through the history, and a picture of all
// its cells to compare with.
struct THistoryGrid : TFilledGrid<> {
    TAdvGridUndoRedo* history = New<TAdvGridUndoRedo>(nullptr);
    THistoryGrid() : TFilledGrid<>(4, 4) { grid->SetUndoRedo(history); }
    ~THistoryGrid() { history->Free(); }
    void Change(int c, int r, const String& text)
    {
        history->RegisterChange(c, r, grid->GetCells(c, r), text);
        grid->SetCells(c, r, text);
    }
    std::vector<String> Cells() const
    {
        std::vector<String> all;
        for (int r = 0; r < grid->GetRowCount(); ++r)
            for (int c = 0; c < grid->GetColCount(); ++c)
                all.push_back(grid->GetCells(c, r));
        return all;
    }
};

} // namespace

TEST(UndoRedo, SingleChangesStayInTheHistory)
{
    THistoryGrid g;
    const auto start = g.Cells();
    g.Change(1, 1, L"A");
    g.Change(1, 2, L"B");
    const auto afterB = g.Cells();
    g.Change(1, 3, L"C");
    g.history->Undo();
    g.history->Undo();
    EXPECT_EQ(g.history->GetLevel(), 1);
    EXPECT_EQ(g->GetCells(1, 2), CellName(1, 2));
    g.Change(2, 1, L"D");
    ASSERT_EQ(g.history->GetItems()->Count(), 4);
    EXPECT_EQ(g.history->GetItems()->Item(3)->GetValue(), L"D");
    EXPECT_EQ(g.history->GetLevel(), 4);
    g.history->Undo();
    EXPECT_EQ(g->GetCells(2, 1), CellName(2, 1));
    EXPECT_EQ(g->GetCells(1, 3), CellName(1, 3));
    g.history->Undo(); // C again, already undone: its old text again
    EXPECT_EQ(g->GetCells(1, 3), CellName(1, 3));
    g.history->Undo();
    g.history->Undo();
    EXPECT_EQ(g.Cells(), start);
    EXPECT_FALSE(g.history->CanUndo());
    g.history->Redo();
    g.history->Redo();
    EXPECT_EQ(g.Cells(), afterB);
    EXPECT_TRUE(g.history->CanRedo());
}

TEST(UndoRedo, SequencesAndTheirMarkers)
{
    struct Case {
        const char* name;
        bool start, stop;
    };
    for (const Case& c : {Case{"start and stop", true, true}, {"stop only", false, true}, {"start only", true, false}}) {
        SCOPED_TRACE(c.name);
        THistoryGrid g;
        g.Change(0, 0, L"before");
        const auto before = g.Cells();
        if (c.start)
            g.history->StartSequence();
        g.Change(1, 1, L"x");
        g.Change(2, 2, L"y");
        if (c.stop)
            g.history->StopSequence();
        const auto after = g.Cells();
        const int count = g.history->GetItems()->Count();
        EXPECT_EQ(g.history->GetLevel(), count);

        // One undo takes the sequence back; the markers touch no cell.
        g.history->Undo();
        if (c.stop && c.start) {
            EXPECT_EQ(g.Cells(), before);
            EXPECT_EQ(g.history->GetLevel(), 1);
        } else if (c.stop) {
            EXPECT_EQ(g->GetCells(0, 0), CellName(0, 0)) << "down to the first item";
            EXPECT_EQ(g.history->GetLevel(), 0);
        } else {
            EXPECT_EQ(g->GetCells(2, 2), CellName(2, 2)) << "one change at a time without a stop";
            g.history->Undo();
            g.history->Undo(); // the start marker itself
            EXPECT_EQ(g.Cells(), before);
            EXPECT_EQ(g.history->GetLevel(), 1);
        }
        // Redo from there brings every change of the sequence back, the
        // last one included, and never passes the count.
        while (g.history->CanRedo())
            g.history->Redo();
        EXPECT_EQ(g.Cells(), after);
        EXPECT_EQ(g.history->GetLevel(), count);
        g.history->Redo();
        EXPECT_EQ(g.history->GetLevel(), count);
    }
}

TEST(UndoRedo, LimitEventsAndDetaching)
{
    THistoryGrid g;
    g.history->SetMaxLevel(2);
    g.Change(1, 1, L"A");
    g.Change(1, 2, L"B");
    g.Change(1, 3, L"C");
    ASSERT_EQ(g.history->GetItems()->Count(), 2);
    EXPECT_EQ(g.history->GetItems()->Item(0)->GetValue(), L"B");
    EXPECT_EQ(g.history->GetLevel(), 2);

    String seen;
    g.history->OnUndo = [&](TObject*, TBaseGrid*, int Col, int Row, const String& Orig, const String& New) {
        seen = IntToStr(Col) + L"," + IntToStr(Row) + L":" + Orig + L">" + New;
    };
    g.history->Undo();
    EXPECT_EQ(seen, L"1,3:C>" + CellName(1, 3));
    EXPECT_EQ(g->GetRow(), 3);

    // Without a grid nothing moves.
    g->SetUndoRedo(nullptr);
    EXPECT_EQ(g.history->GetGrid(), nullptr);
    g.history->Undo();
    EXPECT_EQ(g.history->GetLevel(), 1);

    // Freeing either side leaves the other without it.
    auto* grid = New<TAdvStringGrid>(nullptr);
    auto* history = New<TAdvGridUndoRedo>(nullptr);
    grid->SetUndoRedo(history);
    history->Free();
    EXPECT_EQ(grid->GetUndoRedo(), nullptr);
    history = New<TAdvGridUndoRedo>(nullptr);
    grid->SetUndoRedo(history);
    grid->Free();
    EXPECT_EQ(history->GetGrid(), nullptr);
    history->Undo();
    history->Free();
}

TEST(UndoRedo, TheBaseCheckerChangesNothing)
{
    TOwned<TAdvStringGridCheck> checker(New<TAdvStringGridCheck>(nullptr));
    EXPECT_EQ(checker->GetLastResult(), mrOk);
    EXPECT_EQ(checker->Correct(1, 2, L"abc"), L"abc");
    checker->SetLastResult(mrCancel);
    EXPECT_EQ(checker->MarkError(1, 2, L"abc"), L"abc");
    EXPECT_EQ(checker->GetLastResult(), mrOk);
    auto* grid = New<TAdvStringGrid>(nullptr);
    grid->SetCellChecker(checker.get());
    EXPECT_EQ(checker->GetGrid(), grid);
    grid->Free();
    EXPECT_EQ(checker->GetGrid(), nullptr);
}
