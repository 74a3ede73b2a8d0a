// What painting one screen of the inventory table costs: a 28-column grid in
// the Vista look painted into a bitmap with 100,000 rows against the same
// grid with 100 rows (goal: about 1, painting does not grow with the rows
// out of view), and against DrawTextW of the same cells' texts in the same
// rectangles and font, which is the floor any cell painter stands on.
//
// Run: scripts/build x86_64 bench_GridPaintBench, then under the project's
// Wine prefix: wine build/x86_64/bench/bench_GridPaintBench.exe
#include <cstdio>
#include <string>
#include "AdvGrid.h"
#include "BenchClock.h"
#include "Forms.h"
#include "GdiHandles.h"

namespace {

using bench::Median;
using bench::Seconds;

constexpr int Columns = 28;
constexpr int Width = 1200;
constexpr int Height = 700;

struct TShown {
    TForm* form = nullptr;
    TAdvStringGrid* grid = nullptr;
    explicit TShown(int rows)
    {
        form = New<TForm>(nullptr);
        form->SetBounds(0, 0, Width + 40, Height + 60);
        grid = New<TAdvStringGrid>(form);
        grid->SetBounds(0, 0, Width, Height);
        grid->SetColCount(Columns);
        grid->SetRowCount(rows);
        grid->SetFixedRows(1);
        grid->SetFixedCols(1);
        grid->SetDefaultColWidth(120);
        grid->SetLook(glVista);
        grid->SetEnhTextSize(true);
        grid->SetMultilineCells(true);
        grid->GetMouseActions()->SetDisjunctRowSelect(true);
        grid->GetSortSettings()->SetShow(true);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < Columns; ++c)
                grid->SetCells(c, r, L"PC" + std::to_wstring(r) + L" value " + std::to_wstring(c));
        grid->SetParent(form);
        form->Show();
        Application->ProcessMessages();
    }
    ~TShown() { form->Free(); }
};

// Milliseconds to paint the grid's client area into a bitmap.
double PaintTime(TAdvStringGrid* grid, TBitmap* target)
{
    std::vector<double> samples;
    for (int i = 0; i < 15; ++i) {
        const double start = Seconds();
        grid->PaintTo(target->GetCanvas()->GetHandle(), 0, 0);
        samples.push_back((Seconds() - start) * 1000);
    }
    return Median(samples);
}

// The same texts, rectangles and font through DrawTextW alone.
double TextTime(TAdvStringGrid* grid, TBitmap* target)
{
    HDC dc = target->GetCanvas()->GetHandle();
    const TSelectObject font(dc, grid->GetFont()->GetHandle());
    std::vector<double> samples;
    for (int i = 0; i < 15; ++i) {
        const double start = Seconds();
        for (int r = 0; r < grid->GetRowCount(); ++r) {
            const TRect cell = grid->CellRect(0, r);
            if (cell.bottom <= cell.top)
                break;
            for (int c = 0; c < Columns; ++c) {
                RECT rect = grid->CellRect(c, r);
                if (rect.right <= rect.left)
                    continue;
                const String text = grid->GetCells(c, r);
                DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                          DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_VCENTER);
            }
        }
        samples.push_back((Seconds() - start) * 1000);
    }
    return Median(samples);
}

} // namespace

int wmain()
{
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
    AdvGrid_Initialize();
    {
        TOwned<TBitmap> target(New<TBitmap>());
        target->SetPixelFormat(pf32bit);
        target->SetSize(Width, Height);
        TShown small(100);
        TShown large(100000);
        const double smallTime = PaintTime(small.grid, target.get());
        const double largeTime = PaintTime(large.grid, target.get());
        const double textTime = TextTime(small.grid, target.get());
        std::printf("one screen of a %d-column glVista grid (%d x %d pixels)\n", Columns, Width, Height);
        std::printf("100 rows: %.2f ms; 100,000 rows: %.2f ms; ratio %.2f\n", smallTime, largeTime,
                    largeTime / smallTime);
        std::printf("DrawTextW of the same texts, rectangles and font: %.2f ms; grid / DrawTextW %.1f\n", textTime,
                    smallTime / textTime);
    }
    AdvGrid_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    return 0;
}
