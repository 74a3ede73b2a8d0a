#include "StandIn.h"

namespace xlserver {

// {5B2AA9FC-D698-4726-BCEE-6D9C3CEC51A9}
const CLSID StandInClsid = {0x5b2aa9fc, 0xd698, 0x4726, {0xbc, 0xee, 0x6d, 0x9c, 0x3c, 0xec, 0x51, 0xa9}};
// {2F6D9B14-7C3A-4E85-B1D2-6A4C8E0F3B57}
const CLSID AdoConnectionClsid = {0x2f6d9b14, 0x7c3a, 0x4e85, {0xb1, 0xd2, 0x6a, 0x4c, 0x8e, 0x0f, 0x3b, 0x57}};
// {C41E7A92-0B5D-4F36-8E29-D7B3A1C6F084}
const CLSID AdoRecordSetClsid = {0xc41e7a92, 0x0b5d, 0x4f36, {0x8e, 0x29, 0xd7, 0xb3, 0xa1, 0xc6, 0xf0, 0x84}};
// {8E0C5A31-4F2B-4C8E-9D1A-3B7E6F2A9C41}
const CLSID WordClsid = {0x8e0c5a31, 0x4f2b, 0x4c8e, {0x9d, 0x1a, 0x3b, 0x7e, 0x6f, 0x2a, 0x9c, 0x41}};

std::wstring StandInServerPath(const wchar_t* server)
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
    return path + L"..\\tools\\" + server;
}

long RunStandInServer(const std::wstring& switchText, const wchar_t* server)
{
    const std::wstring exe = StandInServerPath(server);
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

StandInRegistration::StandInRegistration(const wchar_t* server)
    : server_(server), registered_(RunStandInServer(L"/regserver", server) == 0)
{
}

StandInRegistration::~StandInRegistration()
{
    if (registered_)
        RunStandInServer(L"/unregserver", server_);
}

} // namespace xlserver
