// What printing layout and spreadsheet number formats cost, each against a
// reference measured in the same run:
// - counting the printed pages of a 10,000 x 28 grid (the pass every print
//   and preview makes before it draws) against DrawTextW with DT_CALCRECT of
//   every cell text in the print font, in the same 0.1 mm units;
// - FormatExcelValue of 1,000,000 numbers by "#,##0.00" against FormatFloat
//   with that pattern.
//
// Run: scripts/build x86_64 bench_PrintBench, then under the project's Wine
// prefix: wine build/x86_64/bench/bench_PrintBench.exe
#include <cstdio>
#include <string>
#include <vector>
#include "AdvGrid.h"
#include "BenchClock.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "SysUtils.h"
#include "asgxlsfmt.h"

namespace {

using bench::Median;
using bench::Seconds;

constexpr int Columns = 28;
constexpr int Rows = 10000;

struct TShown {
    TForm* form = nullptr;
    TAdvStringGrid* grid = nullptr;
    TShown()
    {
        form = New<TForm>(nullptr);
        form->SetBounds(0, 0, 800, 600);
        grid = New<TAdvStringGrid>(form);
        grid->SetBounds(0, 0, 760, 540);
        grid->SetColCount(Columns);
        grid->SetRowCount(Rows);
        grid->SetFixedRows(1);
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c)
                grid->SetCells(c, r, L"PC" + std::to_wstring(r) + L" value " + std::to_wstring(c));
        grid->SetParent(form);
        form->Show();
        Application->ProcessMessages();
    }
    ~TShown() { form->Free(); }
};

// Milliseconds of the counting pass alone: the start event abandons the
// preview once the pages are counted.
double CountTime(TAdvStringGrid* grid, TCanvas* canvas, int& pages)
{
    grid->OnPrintStart = [&pages](TObject*, int count, int& from, int&) {
        pages = count;
        from = 0;
    };
    std::vector<double> samples;
    for (int i = 0; i < 5; ++i) {
        const double start = Seconds();
        grid->PrintPreview(canvas, TRect(0, 0, 794, 1123));
        samples.push_back((Seconds() - start) * 1000);
    }
    grid->OnPrintStart = nullptr;
    return Median(samples);
}

// Milliseconds of measuring every cell text once in the print font, in 0.1 mm.
double MeasureTime(TAdvStringGrid* grid, HDC dc)
{
    TOwned<TFont> font(new TFont);
    font->Assign(grid->GetPrintSettings()->GetFont());
    font->SetHeight(grid->MapFontHeight(font->GetSize()));
    const int oldMode = SetMapMode(dc, MM_LOMETRIC);
    const TSelectObject select(dc, font->GetHandle());
    std::vector<double> samples;
    long long total = 0;
    for (int i = 0; i < 5; ++i) {
        const double start = Seconds();
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                const String text = grid->GetCells(c, r);
                RECT box{0, 0, 0, 0};
                DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_NOPREFIX);
                total += box.right;
            }
        samples.push_back((Seconds() - start) * 1000);
    }
    SetMapMode(dc, oldMode);
    if (total == 0)
        std::printf("(no text measured)\n");
    return Median(samples);
}

std::vector<double> Numbers(int count)
{
    std::vector<double> values(static_cast<size_t>(count));
    unsigned seed = 4711;
    for (double& v : values) {
        seed = seed * 1103515245u + 12345u;
        v = static_cast<double>(static_cast<int>(seed >> 8) % 20000000 - 10000000) / 100.0;
    }
    return values;
}

template <class F>
double FormatTime(const std::vector<double>& values, F format)
{
    std::vector<double> samples;
    size_t length = 0;
    for (int i = 0; i < 3; ++i) {
        const double start = Seconds();
        for (double v : values)
            length += format(v).size();
        samples.push_back((Seconds() - start) * 1000);
    }
    if (length == 0)
        std::printf("(nothing formatted)\n");
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
        TShown shown;
        TOwned<TBitmap> target(New<TBitmap>());
        target->SetPixelFormat(pf32bit);
        target->SetSize(794, 1123);
        int pages = 0;
        const double count = CountTime(shown.grid, target->GetCanvas(), pages);
        const double measure = MeasureTime(shown.grid, target->GetCanvas()->GetHandle());
        std::printf("page count of %d x %d cells: %d pages in %.1f ms\n", Rows, Columns, pages, count);
        std::printf("DrawTextW DT_CALCRECT of every cell text in the print font: %.1f ms; count / DrawTextW %.2f\n",
                    measure, count / measure);
    }
    {
        const std::vector<double> values = Numbers(1000000);
        const String format = L"#,##0.00";
        const double excel = FormatTime(values, [&](double v) { return FormatExcelValue(Variant(v), format); });
        const double plain = FormatTime(values, [&](double v) { return FormatFloat(format, v); });
        std::printf("1,000,000 numbers by \"#,##0.00\": FormatExcelValue %.1f ms, FormatFloat %.1f ms, ratio %.2f\n",
                    excel, plain, excel / plain);
    }
    AdvGrid_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    return 0;
}
