// What filtering, the drop-down's value list and whole-tree folding cost
// against the bare work underneath, as ratios of one run:
//  - ApplyFilter over 100,000 rows x 28 columns with one condition, against
//    MatchFilterExpression looped over the same cell texts;
//  - BuildFilterList of a column of 50,000 distinct values, against
//    std::sort plus std::unique of the same texts;
//  - ContractAll and ExpandAll of 10,000 nodes, against HideRowList and
//    UnHideRowList of the same rows.
//
// Run: scripts/build x86_64 bench_GridFilterNodesBench, then under the
// project's Wine prefix: wine build/x86_64/bench/bench_GridFilterNodesBench.exe
// [percent of the sizes]
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "BenchClock.h"
#include "Forms.h"

namespace {

using bench::Seconds;

// The sizes, in percent of the full ones with a first argument.
int FilterRows = 100000;
constexpr int FilterCols = 28;
int ListRows = 50000;
int Nodes = 10000;
constexpr int NodeSpan = 4;

String CellText(int col, int row)
{
    wchar_t text[48];
    std::swprintf(text, 48, L"WS-%05d value %d.%d", row, col, row % 13);
    return text;
}

void FilterFigures()
{
    TAdvStringGrid* grid = New<TAdvStringGrid>(nullptr);
    grid->SetColCount(FilterCols);
    grid->SetRowCount(FilterRows + 1);
    for (int r = 1; r <= FilterRows; ++r)
        for (int c = 0; c < FilterCols; ++c)
            grid->SetCells(c, r, CellText(c, r));
    TFilterData* data = grid->GetFilter()->Add();
    data->SetColumn(5);
    data->SetCondition(L"*.1");
    data->SetCaseSensitive(false);

    double start = Seconds();
    grid->ApplyFilter();
    const double apply = Seconds() - start;
    const int shown = grid->GetRowCount() - 1;
    grid->UnHideRowList();
    grid->SetFilterLevel(0);

    std::vector<String> texts;
    texts.reserve(FilterRows);
    for (int r = 1; r <= FilterRows; ++r)
        texts.push_back(Trim(CellText(5, r)));
    int hits = 0;
    start = Seconds();
    for (const String& t : texts)
        hits += MatchFilterExpression(L"*.1", t, false) ? 1 : 0;
    const double loop = Seconds() - start;
    std::printf("ApplyFilter %d x %d, one condition: %.1f ms (%d rows stay)\n", FilterRows, FilterCols, apply * 1000,
                shown);
    std::printf("MatchFilterExpression over the same texts: %.1f ms (%d match)\n", loop * 1000, hits);
    std::printf("ratio ApplyFilter / matcher loop: %.2f\n", apply / loop);
    grid->Free();
}

void ListFigures()
{
    TAdvStringGrid* grid = New<TAdvStringGrid>(nullptr);
    grid->SetColCount(2);
    grid->SetRowCount(ListRows + 1);
    std::vector<String> texts;
    texts.reserve(ListRows);
    for (int r = 1; r <= ListRows; ++r) {
        // Distinct, and not in sorted order.
        const String text = L"host-" + std::to_wstring(static_cast<long long>(r) * 7919 % 1000003);
        grid->SetCells(1, r, text);
        texts.push_back(text);
    }
    grid->SetFilterDropDownAuto(true);
    double start = Seconds();
    grid->BuildFilterList(1, false);
    const double build = Seconds() - start;
    const int entries = grid->GetFilterList()->Count();

    start = Seconds();
    std::sort(texts.begin(), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    const double sortUnique = Seconds() - start;
    std::printf("BuildFilterList of %d distinct values: %.1f ms (%d entries)\n", ListRows, build * 1000, entries);
    std::printf("std::sort + std::unique of the same texts: %.1f ms (%zu)\n", sortUnique * 1000, texts.size());
    std::printf("ratio BuildFilterList / sort + unique: %.2f\n", build / sortUnique);
    grid->Free();
}

void NodeFigures()
{
    TAdvStringGrid* grid = New<TAdvStringGrid>(nullptr);
    grid->SetColCount(3);
    grid->SetRowCount(Nodes * NodeSpan + 1);
    for (int r = 1; r < grid->GetRowCount(); ++r)
        grid->SetCells(1, r, std::to_wstring(r));
    for (int n = 0; n < Nodes; ++n)
        grid->AddNode(1 + n * NodeSpan, NodeSpan);

    double start = Seconds();
    grid->ContractAll();
    const double contract = Seconds() - start;
    start = Seconds();
    grid->ExpandAll();
    const double expand = Seconds() - start;

    TOwned<TIntList> children(New<TIntList>(0, 0));
    for (int n = 0; n < Nodes; ++n)
        for (int k = 1; k < NodeSpan; ++k)
            children->Add(1 + n * NodeSpan + k);
    start = Seconds();
    grid->HideRowList(children.get());
    const double hide = Seconds() - start;
    start = Seconds();
    grid->UnHideRowList();
    const double show = Seconds() - start;
    std::printf("ContractAll of %d nodes (%d rows hidden): %.1f ms; ExpandAll: %.1f ms\n", Nodes,
                children->Count(), contract * 1000, expand * 1000);
    std::printf("HideRowList of the same rows: %.1f ms; UnHideRowList: %.1f ms\n", hide * 1000, show * 1000);
    std::printf("ratio ContractAll / HideRowList: %.2f; ExpandAll / UnHideRowList: %.2f\n", contract / hide,
                expand / show);
    grid->Free();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1) {
        const int percent = std::clamp(_wtoi(argv[1]), 1, 100);
        FilterRows = FilterRows * percent / 100;
        ListRows = ListRows * percent / 100;
        Nodes = Nodes * percent / 100;
        std::printf("sizes at %d%%\n", percent);
    }
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
    NodeFigures();
    std::fflush(stdout);
    ListFigures();
    std::fflush(stdout);
    FilterFigures();
    Forms_Finalize();
    Controls_Finalize();
    return 0;
}
