#include "TestSupport.h"
#include <shellapi.h>
#include <cstdlib>

namespace testing_support {

TempDir::TempDir()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static unsigned serial = 0;
    for (;;) {
        path_ = std::wstring(base) + L"tavelin-test-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(++serial);
        if (CreateDirectoryW(path_.c_str(), nullptr))
            break;
    }
}

TempDir::~TempDir()
{
    // SHFileOperation wants a double-null-terminated list.
    std::wstring from = path_ + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

DWORD GdiObjectCount() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }
DWORD UserObjectCount() { return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS); }

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring SourceDir()
{
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(L"TAVELIN_SOURCE_DIR", buf, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2)
        return {};
    std::wstring unixPath(buf, n);
    // CTest passes a Unix path; Wine maps the root file system to drive Z:.
    if (!unixPath.empty() && unixPath[0] == L'/') {
        for (auto& c : unixPath)
            if (c == L'/')
                c = L'\\';
        return L"Z:" + unixPath;
    }
    return unixPath;
}

} // namespace testing_support
