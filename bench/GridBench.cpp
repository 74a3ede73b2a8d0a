// What the string grid costs at the inventory's width of 28 columns: the
// time to fill 100,000 rows, to scroll to the end, and to paint one screen,
// and the ratio of painting a screen at 100,000 rows to painting it at 100
// rows (goal: about 1, since painting only walks the cells on the screen).
//
// Run: scripts/build x86_64 bench_GridBench, then under the project's Wine
// prefix: wine build/x86_64/bench/bench_GridBench.exe
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include "BenchClock.h"
#include "Forms.h"
#include "Grids.h"

namespace {

using bench::Best;
using bench::Seconds;

constexpr int Columns = 28;

struct TBenchGrid {
    TForm* form = nullptr;
    TStringGrid* grid = nullptr;

    explicit TBenchGrid(int rows)
    {
        form = New<TForm>(nullptr);
        form->SetBounds(0, 0, 1024, 768);
        grid = New<TStringGrid>(form);
        grid->SetAlign(alClient);
        grid->SetParent(form);
        grid->SetColCount(Columns);
        grid->SetDefaultColWidth(120);
        grid->SetRowCount(rows);
        form->Show();
        Application->ProcessMessages();
    }
    ~TBenchGrid() { form->Free(); }

    double Fill()
    {
        const double start = Seconds();
        wchar_t text[32];
        for (int r = 1; r < grid->GetRowCount(); ++r)
            for (int c = 0; c < Columns; ++c) {
                swprintf(text, 32, L"r%d c%d", r, c);
                grid->SetCells(c, r, text);
            }
        return Seconds() - start;
    }

    double ScrollToEnd()
    {
        const double start = Seconds();
        SendMessageW(grid->GetHandle(), WM_KEYDOWN, VK_END, 0);
        SendMessageW(grid->GetHandle(), WM_VSCROLL, SB_BOTTOM, 0);
        UpdateWindow(grid->GetHandle());
        return Seconds() - start;
    }

    // One whole repaint of the client, the way WM_PAINT does it.
    double PaintScreen()
    {
        return Best(20, [&] {
            const double start = Seconds();
            RedrawWindow(grid->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            return Seconds() - start;
        });
    }
};

} // namespace

int wmain()
{
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
    double smallPaint = 0, largePaint = 0;
    {
        TBenchGrid small(100);
        small.Fill();
        small.ScrollToEnd();
        smallPaint = small.PaintScreen();
    }
    {
        TBenchGrid large(100000);
        const double fill = large.Fill();
        const double scroll = large.ScrollToEnd();
        largePaint = large.PaintScreen();
        std::printf("fill 100,000 x %d cells: %.3f s\n", Columns, fill);
        std::printf("scroll to the end: %.3f ms (top row %d)\n", scroll * 1000, large.grid->GetTopRow());
        std::printf("paint one screen at 100,000 rows: %.3f ms\n", largePaint * 1000);
    }
    std::printf("paint one screen at 100 rows: %.3f ms\n", smallPaint * 1000);
    std::printf("paint cost ratio 100,000 rows / 100 rows: %.2f (goal: about 1)\n", largePaint / smallPaint);
    Forms_Finalize();
    Controls_Finalize();
    return 0;
}
