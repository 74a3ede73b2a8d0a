// What a sort of the data grid costs on the inventory window's table size:
// 100,000 rows of 28 columns (and again 1,000 rows) sorted by a text column,
// a numeric column and a date column, each against a reference in the same
// run. The reference is what the standard library does with the same table
// as a plain std::vector of rows: it reads each row's keys once (the sort
// column's, and a further column's only when a tie needs it), orders the row
// indexes with std::stable_sort, ties broken on the next columns left to
// right, and then moves the rows once. The grid's Sort must stay within 1.5
// times the reference.
//
// It also prints what HideRows costs for 100,000 rows against 10,000: a
// linear walk gives about 10.
//
// Run: scripts/build x86_64 bench_DataGridSortBench, then under the project's
// Wine prefix: wine build/x86_64/bench/bench_DataGridSortBench.exe
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <numeric>
#include <string>
#include <vector>
#include "AdvGrid.h"
#include "BenchClock.h"
#include "Forms.h"
#include "SysUtils.h"

namespace {

using bench::Best;
using bench::Seconds;

constexpr int Cols = 28;
constexpr int TextCol = 3;
constexpr int NumberCol = 5;
constexpr int DateCol = 7;

using TRows = std::vector<std::vector<String>>;

// A table like the inventory's: names, numbers, dates and free text.
TRows MakeRows(int rows)
{
    unsigned seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    TRows table(static_cast<size_t>(rows), std::vector<String>(Cols));
    for (auto& row : table)
        for (int c = 0; c < Cols; ++c) {
            String& text = row[static_cast<size_t>(c)];
            if (c == NumberCol)
                text = std::to_wstring(next() % 1000000) + String(1, FormatSettings.DecimalSeparator) +
                       std::to_wstring(next() % 100);
            else if (c == DateCol)
                text = DateToStr(EncodeDate(1995, 1, 1) + static_cast<double>(next() % 11000));
            else
                text = L"PC-" + std::to_wstring(next() % (rows / 2 + 1)) + L"-" + std::to_wstring(c);
        }
    return table;
}

void Fill(TAdvStringGrid* grid, const TRows& table)
{
    grid->SetColCount(Cols);
    grid->SetRowCount(static_cast<int>(table.size()) + 1);
    grid->SetFixedRows(1);
    for (size_t r = 0; r < table.size(); ++r)
        for (int c = 0; c < Cols; ++c)
            grid->SetCells(c, static_cast<int>(r) + 1, table[r][static_cast<size_t>(c)]);
}

// Seconds for the grid to sort its rows by one column, from the same start.
double GridSort(TAdvStringGrid* grid, int col)
{
    grid->GetSortSettings()->SetColumn(col);
    grid->QUnSort();
    const double start = Seconds();
    grid->Sort(col, sdAscending);
    return Seconds() - start;
}

// One column's keys as the reference reads them: each cell's once, when a
// compare first needs it. Text columns compare the row's own strings.
struct TKeyColumn {
    int col = 0;
    std::vector<double> values;
    std::vector<bool> read;
};

double NumberKey(const String& text)
{
    char narrow[64];
    size_t n = 0;
    for (wchar_t ch : text)
        if (n < sizeof narrow)
            narrow[n++] = ch == FormatSettings.DecimalSeparator ? '.' : static_cast<char>(ch);
    double value = 0;
    std::from_chars(narrow, narrow + n, value);
    return value;
}

double DateKey(const String& text)
{
    TDateTime value = 0;
    TryStrToDateTime(text, value);
    return value;
}

// Seconds for the reference to sort the rows by one column: keys, order, move.
double ReferenceSort(const TRows& table, int col)
{
    TRows rows = table;
    const double start = Seconds();
    const size_t n = rows.size();
    TKeyColumn numbers{NumberCol, std::vector<double>(n), std::vector<bool>(n)};
    TKeyColumn dates{DateCol, std::vector<double>(n), std::vector<bool>(n)};
    auto key = [&](TKeyColumn& k, size_t r) {
        if (!k.read[r]) {
            const String& text = rows[r][static_cast<size_t>(k.col)];
            k.values[r] = k.col == NumberCol ? NumberKey(text) : DateKey(text);
            k.read[r] = true;
        }
        return k.values[r];
    };
    auto compare = [&](size_t a, size_t b) {
        for (int c = col; c < Cols; ++c) {
            int r = 0;
            if (c == NumberCol || c == DateCol) {
                TKeyColumn& k = c == NumberCol ? numbers : dates;
                const double x = key(k, a), y = key(k, b);
                r = x < y ? -1 : (y < x ? 1 : 0);
            } else {
                r = rows[a][static_cast<size_t>(c)].compare(rows[b][static_cast<size_t>(c)]);
            }
            if (r != 0)
                return r < 0;
        }
        return false;
    };
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), compare);
    TRows sorted;
    sorted.reserve(n);
    for (size_t r : order)
        sorted.push_back(std::move(rows[r]));
    rows.swap(sorted);
    return Seconds() - start;
}

void SortFigures(int rowCount, int tries)
{
    const TRows table = MakeRows(rowCount);
    TOwned<TAdvStringGrid> grid(New<TAdvStringGrid>(nullptr));
    Fill(grid.get(), table);
    grid->InitSortXRef();
    std::printf("rows: %d, columns: %d\n", rowCount, Cols);
    const struct {
        const char* name;
        int col;
    } columns[] = {{"text column:   ", TextCol}, {"numeric column:", NumberCol}, {"date column:   ", DateCol}};
    for (const auto& c : columns) {
        // The two take turns in rounds, so that both meet the same load on a
        // busy machine, and each round of one runs on its own warm caches;
        // the best of each counts.
        double gridTime = 1e9, referenceTime = 1e9;
        const int rounds = std::min(tries, 5);
        for (int round = 0; round < rounds; ++round) {
            for (int t = round; t < tries; t += rounds)
                gridTime = std::min(gridTime, GridSort(grid.get(), c.col));
            for (int t = round; t < tries; t += rounds)
                referenceTime = std::min(referenceTime, ReferenceSort(table, c.col));
        }
        std::printf("  %s grid %.3f ms, std::stable_sort reference %.3f ms, ratio %.2f\n", c.name, gridTime * 1e3,
                    referenceTime * 1e3, gridTime / referenceTime);
    }
}

// Seconds for HideRows to take every data row of a grid of that many rows.
double HideAll(int rowCount)
{
    TOwned<TAdvStringGrid> grid(New<TAdvStringGrid>(nullptr));
    Fill(grid.get(), MakeRows(rowCount));
    return Best(5, [&] {
        grid->UnHideRowsAll();
        const double start = Seconds();
        grid->HideRows(1, rowCount);
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
    SortFigures(100000, 5);
    SortFigures(1000, 100);
    const double large = HideAll(100000);
    const double small = HideAll(10000);
    std::printf("HideRows: 100,000 rows %.4f s, 10,000 rows %.4f s, ratio %.1f\n", large, small, large / small);
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    return 0;
}
