#include "StandIn.h"

namespace xlserver {

// {5B2AA9FC-D698-4726-BCEE-6D9C3CEC51A9}
const CLSID StandInClsid = {0x5b2aa9fc, 0xd698, 0x4726, {0xbc, 0xee, 0x6d, 0x9c, 0x3c, 0xec, 0x51, 0xa9}};

std::wstring StandInServerPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.resize(path.find_last_of(L"\\/") + 1);
    return path + L"..\\tools\\xlserver.exe";
}

long RunStandInServer(const std::wstring& switchText)
{
    const std::wstring exe = StandInServerPath();
    std::wstring command = L"\"" + exe + L"\" " + switchText;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD code = static_cast<DWORD>(-2);
    if (WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

StandInRegistration::StandInRegistration() : registered_(RunStandInServer(L"/regserver") == 0) {}

StandInRegistration::~StandInRegistration()
{
    if (registered_)
        RunStandInServer(L"/unregserver");
}

} // namespace xlserver
