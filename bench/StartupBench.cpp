// Start-up of the program to its shown main window: whole processes of
// tavelin.exe started in a program folder of their own until the window is
// visible and answering, against the half second a user should wait; then,
// inside this process, what the units, the window's creation and its first
// show each take.
//
// bench_StartupBench [path of tavelin.exe]  (default: beside this folder)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <vector>
#include "BenchClock.h"
#include "ProgramUnits.h"
#include "TestSupport.h"
#include "Unit1.h"

namespace {

using bench::Median;

constexpr double TargetSeconds = 0.5;

struct TFound {
    DWORD ProcessId;
    HWND Window;
};

BOOL CALLBACK FindMainWindow(HWND wnd, LPARAM data)
{
    auto* found = reinterpret_cast<TFound*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t className[32] = {};
    GetClassNameW(wnd, className, 32);
    if (pid == found->ProcessId && IsWindowVisible(wnd) && wcscmp(className, L"TForm1") == 0) {
        found->Window = wnd;
        return FALSE;
    }
    return TRUE;
}

// Seconds from CreateProcess until the main window shows and its thread
// answers; -1 when it did not show within ten seconds.
double StartProcess(const std::wstring& Exe, const std::wstring& Folder)
{
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    std::wstring commandLine = L"\"" + Exe + L"\"";
    const double start = bench::Seconds();
    if (!CreateProcessW(Exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, Folder.c_str(),
                        &si, &pi))
        return -1;
    TFound found{pi.dwProcessId, nullptr};
    double shown = -1;
    while (bench::Seconds() - start < 10) {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&found));
        if (found.Window) {
            DWORD_PTR result = 0;
            SendMessageTimeoutW(found.Window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
            shown = bench::Seconds() - start;
            break;
        }
        Sleep(1);
    }
    if (found.Window)
        PostMessageW(found.Window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return shown;
}

void MeasureProcesses(const std::wstring& Exe)
{
    // A program folder of its own: the language file beside the copy, so
    // that the start reads it; settings and list are what the runs leave.
    testing_support::TempDir folder;
    const std::wstring copy = folder.File(L"tavelin.exe");
    const std::wstring exeFolder = Exe.substr(0, Exe.find_last_of(L"\\/") + 1);
    if (!CopyFileW(Exe.c_str(), copy.c_str(), FALSE)) {
        std::printf("cannot copy %ls\n", Exe.c_str());
        return;
    }
    CopyFileW((exeFolder + L"languages.lng").c_str(), folder.File(L"languages.lng").c_str(), FALSE);

    // The first start maps the program and the platform's modules from disk.
    const double cold = StartProcess(copy, folder.Path());
    std::vector<double> warm;
    for (int i = 0; i < 7; ++i)
        warm.push_back(StartProcess(copy, folder.Path()));
    if (cold < 0 || *std::min_element(warm.begin(), warm.end()) < 0) {
        std::printf("the main window did not show\n");
        return;
    }
    const double median = Median(warm);
    std::printf("process start to the shown main window (%zu starts)\n", warm.size());
    std::printf("  first start        %7.1f ms\n", cold * 1e3);
    std::printf("  best               %7.1f ms\n", *std::min_element(warm.begin(), warm.end()) * 1e3);
    std::printf("  median             %7.1f ms   %.2f of the %.0f ms target\n", median * 1e3,
                median / TargetSeconds, TargetSeconds * 1e3);
}

void MeasureInProcess(const std::wstring& LanguageFilePath)
{
    double t = bench::Seconds();
    InitializeProgramUnits();
    Application->Initialize();
    const double units = bench::Seconds() - t;

    testing_support::TempDir folder;
    CopyFileW(LanguageFilePath.c_str(), folder.File(L"languages.lng").c_str(), FALSE);
    std::vector<double> create, show, close;
    for (int i = 0; i < 20; ++i) {
        t = bench::Seconds();
        TForm1* form = New<TForm1>(nullptr, folder.Path());
        create.push_back(bench::Seconds() - t);
        t = bench::Seconds();
        form->Show();
        SetForegroundWindow(form->Handle());
        UpdateWindow(form->Handle());
        RedrawWindow(form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        testing_support::PumpMessages();
        show.push_back(bench::Seconds() - t);
        t = bench::Seconds();
        form->Close();
        form->Free();
        testing_support::PumpMessages();
        close.push_back(bench::Seconds() - t);
    }
    const double total = units + Median(create) + Median(show);
    std::printf("inside one process (median of %zu windows)\n", create.size());
    std::printf("  unit start-up      %7.1f ms   %4.1f %%\n", units * 1e3, 100 * units / total);
    std::printf("  window creation    %7.1f ms   %4.1f %%\n", Median(create) * 1e3, 100 * Median(create) / total);
    std::printf("  first show, paint  %7.1f ms   %4.1f %%\n", Median(show) * 1e3, 100 * Median(show) / total);
    std::printf("  close and free     %7.1f ms\n", Median(close) * 1e3);
    FinalizeProgramUnits();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring exe;
    if (argc > 1) {
        exe = argv[1];
    } else {
        wchar_t self[MAX_PATH * 2];
        DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
        std::wstring path(self, n);
        path = path.substr(0, path.find_last_of(L"\\/"));
        exe = path.substr(0, path.find_last_of(L"\\/") + 1) + L"tavelin.exe";
    }
    MeasureProcesses(exe);
    MeasureInProcess(exe.substr(0, exe.find_last_of(L"\\/") + 1) + L"languages.lng");
    return 0;
}
