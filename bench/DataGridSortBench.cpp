// What a sort of the data grid costs on the inventory window's table size:
// 100,000 rows of 28 columns sorted by one text column and by one numeric
// column, each against std::stable_sort of the same keys (copied out of the
// grid as strings, or parsed to numbers) in the same run. The grid reads its
// cells, detects the value format per compare and moves whole rows, so it
// cannot match the bare key sort; the ratio says by how much it stays behind.
//
// Run: scripts/build x86_64 bench_DataGridSortBench, then under the project's
// Wine prefix: wine build/x86_64/bench/bench_DataGridSortBench.exe
#include <algorithm>
#include <cstdio>
#include <cwchar>
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
constexpr int TextCol = 3;
constexpr int NumberCol = 5;

// A table like the inventory's: names, numbers, dates and free text.
void Fill(TAdvStringGrid* grid)
{
    grid->SetColCount(Cols);
    grid->SetRowCount(Rows + 1);
    grid->SetFixedRows(1);
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int r = 1; r <= Rows; ++r)
        for (int c = 0; c < Cols; ++c) {
            std::wstring text;
            if (c == NumberCol)
                text = std::to_wstring(next() % 1000000) + L"." + std::to_wstring(next() % 100);
            else
                text = L"PC-" + std::to_wstring(next() % 50000) + L"-" + std::to_wstring(c);
            grid->SetCells(c, r, text);
        }
}

// Seconds for the grid to sort its rows by one column, from the same start.
double GridSort(TAdvStringGrid* grid, int col)
{
    return Best(3, [&] {
        grid->GetSortSettings()->SetColumn(col);
        grid->GetSortSettings()->SetDirection(sdAscending);
        grid->QUnSort();
        const double start = Seconds();
        grid->QSort();
        return Seconds() - start;
    });
}

template <class Key>
double KeySort(const std::vector<Key>& keys)
{
    return Best(3, [&] {
        std::vector<Key> copy = keys;
        const double start = Seconds();
        std::stable_sort(copy.begin(), copy.end());
        return Seconds() - start;
    });
}

} // namespace

int wmain()
{
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
    {
        TOwned<TAdvStringGrid> grid(New<TAdvStringGrid>(nullptr));
        Fill(grid.get());
        grid->InitSortXRef();

        std::vector<std::wstring> texts;
        std::vector<double> numbers;
        for (int r = 1; r <= Rows; ++r) {
            texts.push_back(grid->GetCells(TextCol, r));
            numbers.push_back(std::wcstod(grid->GetCells(NumberCol, r).c_str(), nullptr));
        }
        const double textGrid = GridSort(grid.get(), TextCol);
        const double textKeys = KeySort(texts);
        const double numberGrid = GridSort(grid.get(), NumberCol);
        const double numberKeys = KeySort(numbers);

        std::printf("rows: %d, columns: %d\n", Rows, Cols);
        std::printf("text column:    grid %.3f s, std::stable_sort of the keys %.3f s, ratio %.1f\n", textGrid,
                    textKeys, textGrid / textKeys);
        std::printf("numeric column: grid %.3f s, std::stable_sort of the keys %.3f s, ratio %.1f\n", numberGrid,
                    numberKeys, numberGrid / numberKeys);
    }
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    return 0;
}
