// Opening a detail drop-down of 2,000 items (the list is reloaded from the
// items, and each caption written lays the whole list out again) against the
// platform's list box filled with the same captions, in the same run.
#include <windows.h>
#include <cstdio>
#include "AdvDetailDropDown.h"
#include "BenchClock.h"
#include "Forms.h"
#include "GridHTML.h"
#include "SysUtils.h"

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    GridHTML_Initialize();
    Application->Initialize();
    constexpr int Count = 2000;
    auto* form = New<TForm>(nullptr);
    form->SetBounds(40, 40, 500, 400);
    form->Show();
    auto* edit = New<TAdvDetailDropDown>(form);
    edit->SetBounds(20, 20, 200, 21);
    edit->SetParent(form);
    for (int i = 0; i < Count; ++i)
        edit->GetItems()->Add()->SetCaption(L"Item number " + IntToStr(i));
    auto* list = New<TListBox>(form);
    list->SetBounds(20, 60, 200, 200);
    list->SetParent(form);
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
        list->GetItems()->Clear();
        for (int i = 0; i < Count; ++i)
            list->GetItems()->Add(L"Item number " + IntToStr(i));
        Application->ProcessMessages();
        return bench::Seconds() - start;
    });
    std::printf("detail drop-down opened with %d items: %.1f ms\n", Count, open * 1000);
    std::printf("list box filled with the same captions: %.1f ms\n", fill * 1000);
    std::printf("ratio open / fill: %.1f\n", open / fill);
    form->Free();
    return 0;
}
