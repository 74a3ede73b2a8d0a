// The skin manager's unit at the program's start: "/ACVER" in any case
// shows the library's version once, before the main window.
#include <gtest/gtest.h>
#include "TestSupport.h"
#include <windows.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

struct BoxSearch {
    DWORD process;
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    wchar_t cls[32] = {};
    GetClassNameW(wnd, cls, 32);
    if (pid == search->process && std::wstring(cls) == L"#32770" && IsWindowVisible(wnd))
        search->boxes.push_back(wnd);
    return TRUE;
}

std::vector<HWND> BoxesOf(DWORD process)
{
    BoxSearch search{process, {}};
    EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&search));
    return search.boxes;
}

TEST(SkinManagerStartup, AcverShowsTheVersionOnce)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder.resize(folder.find_last_of(L'\\'));
    folder.resize(folder.find_last_of(L'\\') + 1);
    const std::wstring exe = folder + L"tavelin.exe";
    ASSERT_NE(GetFileAttributesW(exe.c_str()), INVALID_FILE_ATTRIBUTES) << "the program is built beside the tests";

    std::wstring command = L"\"" + exe + L"\" /ACVER";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                               &startup, &process));
    std::vector<std::wstring> texts;
    std::vector<HWND> answered;
    const DWORD start = GetTickCount();
    DWORD quietSince = 0;
    // Answer every box the program shows until none came for two seconds.
    while (GetTickCount() - start < 30000) {
        std::vector<HWND> boxes;
        for (HWND box : BoxesOf(process.dwProcessId))
            if (std::find(answered.begin(), answered.end(), box) == answered.end())
                boxes.push_back(box);
        if (boxes.empty()) {
            if (!texts.empty() && quietSince && GetTickCount() - quietSince > 2000)
                break;
            if (!quietSince)
                quietSince = GetTickCount();
            Sleep(50);
            continue;
        }
        quietSince = 0;
        for (HWND box : boxes) {
            texts.push_back(testing_support::MessageBoxText(box));
            answered.push_back(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(300);
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(texts, std::vector<std::wstring>{L"Skin library v13.11"});
}

} // namespace
