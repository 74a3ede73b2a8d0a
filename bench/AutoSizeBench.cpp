// What sizing a column to its texts costs: the grid's AutoSizeCol over a
// column of 100,000 rows (each text measured in its resolved font) against
// DrawTextW with DT_CALCRECT over the same texts in the same font, and the
// ratio of the two.
//
// Run: scripts/build x86_64 bench_AutoSizeBench, then under the project's
// Wine prefix: wine build/x86_64/bench/bench_AutoSizeBench.exe
#include <windows.h>
#include <cstdio>
#include "AdvGrid.h"
#include "BenchClock.h"
#include "Forms.h"
#include "GdiHandles.h"

namespace {

using bench::Best;
using bench::Seconds;

constexpr int Rows = 100000;

String TextOf(int r) { return L"Computer " + std::to_wstring(r) + L" in room " + std::to_wstring(r % 97); }

} // namespace

int wmain()
{
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
    AdvGrid_Initialize();
    {
        TAdvStringGrid* grid = New<TAdvStringGrid>(nullptr);
        grid->SetColCount(3);
        grid->SetRowCount(Rows + 1);
        for (int r = 1; r <= Rows; ++r)
            grid->SetCells(1, r, TextOf(r));

        const double autoSize = Best(3, [&] {
            const double start = Seconds();
            grid->AutoSizeCol(1, 0);
            return Seconds() - start;
        });
        int widest = 0;
        const double drawText = Best(3, [&] {
            TMemoryDC dc;
            const TSelectObject font(dc.Get(), grid->GetFont()->GetHandle());
            const double start = Seconds();
            widest = 0;
            for (int r = 1; r <= Rows; ++r) {
                const String text = grid->GetCells(1, r);
                RECT rc{0, 0, 0, 0};
                DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rc,
                          DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
                widest = std::max(widest, static_cast<int>(rc.right));
            }
            return Seconds() - start;
        });
        std::printf("AutoSizeCol over %d rows: %.3f s (width %d); DrawTextW DT_CALCRECT: %.3f s (widest %d); "
                    "ratio %.1f\n",
                    Rows, autoSize, grid->GetColWidths(1), drawText, widest, autoSize / drawText);
        grid->Free();
    }
    AdvGrid_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    return 0;
}
