// What the data grid's row index translation costs on a large table: the
// time per call of RealRowIndex and DisplRowIndex on 100,000 rows of which
// 50,000 are hidden, against the same calls with none hidden, and against
// one scan of the hidden rows per call, which is what the translation must
// not cost (goal: far below the scan, growing with the logarithm of the
// hidden rows); and the time to hide and show those rows as a filter level.
//
// Run: scripts/build x86_64 bench_DataGridBench, then under the project's
// Wine prefix: wine build/x86_64/bench/bench_DataGridBench.exe
#include <cstdio>
#include <string>
#include <vector>
#include "AdvGrid.h"
#include "BenchClock.h"
#include "Forms.h"

namespace {

using bench::Best;
using bench::Seconds;

constexpr int Rows = 100000;
constexpr int Passes = 20;

volatile long long sink = 0;

// Nanoseconds per call of one translation over the indexes 0 .. count - 1.
template <class F>
double PerCall(int count, F translate)
{
    return Best(5, [&] {
        const double start = Seconds();
        long long sum = 0;
        for (int pass = 0; pass < Passes; ++pass)
            for (int i = 0; i < count; ++i)
                sum += translate(i);
        sink = sink + sum;
        return (Seconds() - start) / (static_cast<double>(Passes) * count) * 1e9;
    });
}

struct TCost {
    double realIndex = 0;
    double displIndex = 0;
};

TCost Measure(TAdvStringGrid* grid)
{
    return {PerCall(grid->GetRowCount(), [grid](int d) { return grid->RealRowIndex(d); }),
            PerCall(grid->TotalRowCount(), [grid](int r) { return grid->DisplRowIndex(r); })};
}

// One pass over the hidden rows' real indexes per call, for comparison.
double ScanCost(int hiddenRows)
{
    std::vector<int> hidden;
    for (int r = 1; r < 2 * hiddenRows; r += 2)
        hidden.push_back(r);
    constexpr int Calls = 2000;
    return Best(5, [&] {
        const double start = Seconds();
        long long sum = 0;
        for (int call = 0; call < Calls; ++call) {
            const int real = call * 37 % (2 * hiddenRows);
            int below = 0;
            for (int h : hidden)
                below += h < real;
            sum += real - below;
        }
        sink = sink + sum;
        return (Seconds() - start) / Calls * 1e9;
    });
}

} // namespace

int wmain()
{
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
    {
        TAdvStringGrid* grid = New<TAdvStringGrid>(nullptr);
        grid->SetColCount(4);
        grid->SetRowCount(Rows);
        for (int r = 0; r < Rows; ++r)
            grid->SetCells(0, r, std::to_wstring(r));

        const TCost none = Measure(grid);

        TOwned<TIntList> everyOther(New<TIntList>(0, 0));
        for (int r = 1; r < Rows; r += 2)
            everyOther->Add(r);
        double start = Seconds();
        grid->HideRowList(everyOther.get());
        const double hide = Seconds() - start;
        start = Seconds();
        grid->RealRowIndex(0);
        const double firstCall = Seconds() - start;
        const TCost hidden = Measure(grid);

        start = Seconds();
        grid->UnHideRowList();
        grid->SetFilterLevel(0);
        const double show = Seconds() - start;

        std::printf("rows: %d, hidden: %d as one filter level\n", Rows, Rows / 2);
        std::printf("RealRowIndex:  %.1f ns/call none hidden, %.1f ns/call with hidden rows, ratio %.1f\n",
                    none.realIndex, hidden.realIndex, hidden.realIndex / none.realIndex);
        std::printf("DisplRowIndex: %.1f ns/call none hidden, %.1f ns/call with hidden rows, ratio %.1f\n",
                    none.displIndex, hidden.displIndex, hidden.displIndex / none.displIndex);
        std::printf("one scan of the hidden rows per call would cost %.1f ns/call\n", ScanCost(Rows / 2));
        std::printf("first translation after a change (builds the lookup): %.3f ms\n", firstCall * 1000);
        std::printf("hide %d rows as a filter level: %.3f s; show them again: %.3f s\n", Rows / 2, hide, show);
        grid->Free();
    }
    Forms_Finalize();
    Controls_Finalize();
    return 0;
}
