// What finding a text costs on the inventory's width: FindFirst of a text that
// only the last of 100,000 x 28 cells holds (so every cell is looked at), in
// both visiting orders, against a plain scan of the same texts in the same
// order that upper-cases each one and looks for the text with
// std::wstring::find, which is what the find does for each cell at least
// (goal: a small multiple of the scan).
//
// Run: scripts/build x86_64 bench_GridFindBench, then under the project's
// Wine prefix: wine build/x86_64/bench/bench_GridFindBench.exe
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
constexpr int Cols = 28;

String CellText(int ACol, int ARow)
{
    wchar_t text[48];
    std::swprintf(text, 48, L"WS-%05d field %d build %d", ARow, ACol, (ARow * 31 + ACol) % 1000);
    return text;
}

} // namespace

int wmain()
{
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
    int result = 0;
    {
        TAdvStringGrid* grid = New<TAdvStringGrid>(nullptr);
        grid->SetColCount(Cols);
        grid->SetRowCount(Rows);
        grid->SetFixedCols(0);
        grid->SetFixedRows(0);
        // Column by column, the order the default search visits.
        std::vector<String> byColumn;
        byColumn.reserve(static_cast<std::size_t>(Rows) * Cols);
        for (int c = 0; c < Cols; ++c)
            for (int r = 0; r < Rows; ++r) {
                String text = c == Cols - 1 && r == Rows - 1 ? String(L"the Needle here") : CellText(c, r);
                grid->SetCells(c, r, text);
                byColumn.push_back(std::move(text));
            }

        TPoint found{-1, -1};
        const double findColumns = Best(3, [&] {
            const double start = Seconds();
            found = grid->FindFirst(L"needle", TFindParams());
            return Seconds() - start;
        });
        const TPoint foundColumns = found;
        const double findRows = Best(3, [&] {
            const double start = Seconds();
            found = grid->FindFirst(L"needle", TFindParams{fnDirectionLeftRight});
            return Seconds() - start;
        });
        std::size_t hit = 0;
        const double scan = Best(3, [&] {
            const double start = Seconds();
            hit = byColumn.size();
            for (std::size_t i = 0; i < byColumn.size(); ++i)
                if (AnsiUpperCase(byColumn[i]).find(L"NEEDLE") != String::npos) {
                    hit = i;
                    break;
                }
            return Seconds() - start;
        });

        std::printf("cells: %d x %d, the text only in the last one\n", Rows, Cols);
        std::printf("FindFirst column by column: %.1f ms, found (%d, %d)\n", findColumns * 1000,
                    static_cast<int>(foundColumns.x), static_cast<int>(foundColumns.y));
        std::printf("FindFirst row by row:       %.1f ms, found (%d, %d)\n", findRows * 1000,
                    static_cast<int>(found.x), static_cast<int>(found.y));
        std::printf("upper-cased std::wstring::find scan: %.1f ms, found at %zu\n", scan * 1000, hit);
        std::printf("ratio FindFirst / scan: %.2f column by column, %.2f row by row\n", findColumns / scan,
                    findRows / scan);
        const TPoint last(Cols - 1, Rows - 1);
        if (!(foundColumns == last) || !(found == last) || hit != byColumn.size() - 1)
            result = 1;
        grid->Free();
    }
    Forms_Finalize();
    Controls_Finalize();
    return result;
}
