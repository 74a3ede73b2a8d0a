// Opening a grid drop-down of 10,000 items of 4 columns (the grid is loaded
// from the items, its columns sized to the texts and its rows sorted) against
// filling the platform-library string grid with the same texts, in the same run.
#include <windows.h>
#include <cstdio>
#include "AdvCustomGridDropDown.h"
#include "BenchClock.h"
#include "Forms.h"
#include "SysUtils.h"

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
    constexpr int Count = 10000;
    constexpr int Columns = 4;
    auto* form = New<TForm>(nullptr);
    form->SetBounds(40, 40, 600, 400);
    form->Show();
    auto* edit = New<TCustomAdvGridDropDown>(form);
    edit->SetBounds(20, 20, 200, 21);
    edit->SetParent(form);
    auto text = [](int row, int col) { return L"Cell " + IntToStr((row * 7919) % Count) + L"." + IntToStr(col); };
    for (int c = 0; c < Columns; ++c) {
        auto* column = edit->GetColumns()->Add();
        column->SetHeader(L"Column " + IntToStr(c));
        column->SetAutoSize(true);
    }
    for (int r = 0; r < Count; ++r) {
        auto* item = edit->GetItems()->Add();
        for (int c = 0; c < Columns; ++c)
            item->GetText()->Add(text(r, c));
    }
    edit->EndUpdate();
    edit->SetSorting(AdvCustomGridDropDown::gsSingleColumn);
    edit->GetPopupGrid()->GetSortSettings()->SetColumn(0);
    auto* grid = New<TStringGrid>(form);
    grid->SetBounds(20, 60, 400, 200);
    grid->SetParent(form);
    const double open = bench::Best(3, [&] {
        const double start = bench::Seconds();
        edit->ShowDropDown();
        Application->ProcessMessages();
        const double took = bench::Seconds() - start;
        edit->HideDropDown(false);
        Application->ProcessMessages();
        Sleep(300);
        return took;
    });
    const double fill = bench::Best(3, [&] {
        const double start = bench::Seconds();
        grid->SetColCount(Columns);
        grid->SetRowCount(Count + 1);
        for (int c = 0; c < Columns; ++c)
            grid->SetCells(c, 0, L"Column " + IntToStr(c));
        for (int r = 0; r < Count; ++r)
            for (int c = 0; c < Columns; ++c)
                grid->SetCells(c, r + 1, text(r, c));
        Application->ProcessMessages();
        return bench::Seconds() - start;
    });
    std::printf("grid drop-down opened with %d items of %d columns (load, auto-size, sort): %.1f ms\n", Count,
                Columns, open * 1000);
    std::printf("string grid filled with the same texts: %.1f ms\n", fill * 1000);
    std::printf("ratio open / fill: %.1f\n", open / fill);
    form->Free();
    return 0;
}
