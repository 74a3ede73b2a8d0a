#include "TestSupport.h"
#include <gtest/gtest.h>
#include <shellapi.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

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

std::string FileBytes(const std::wstring& path)
{
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out << bytes;
    EXPECT_TRUE(out.flush()) << "cannot write " << path;
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

namespace {

// One slot of the GDI handle table that Wine maps into every process; a
// slot with a non-zero type holds a live object.
struct GdiHandleEntry {
    UINT64 Object;
    ULONG Owner;
    USHORT Unique;
    UCHAR Type;
    UCHAR Flags;
    UINT64 UserPointer;
};
constexpr int GdiHandleSlots = 0x10000;

DWORD CountGdiHandleTable()
{
    // The table hangs off the process environment block at the documented
    // GdiSharedHandleTable offset.
    using GetPeb = void*(WINAPI*)();
    auto getPeb = reinterpret_cast<GetPeb>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetCurrentPeb")));
    if (!getPeb)
        return 0;
    auto* peb = static_cast<const BYTE*>(getPeb());
    auto* table = *reinterpret_cast<const GdiHandleEntry* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
    if (!table)
        return 0;
    DWORD live = 0;
    for (int i = 0; i < GdiHandleSlots; ++i)
        live += table[i].Type != 0;
    return live;
}

} // namespace

DWORD GdiObjectCount()
{
    // Wine creates the display's own objects when the screen is first used;
    // let that happen before any count, so that it is not taken for a leak.
    static const bool displayReady = [] {
        ReleaseDC(nullptr, GetDC(nullptr));
        return true;
    }();
    (void)displayReady;
    // Wine answers GetGuiResources with 0, which would make every leak check pass.
    DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    return count ? count : CountGdiHandleTable();
}
DWORD UserObjectCount() { return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS); }

void PumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

namespace {

std::function<int(HWND)> boxReader;

// Runs inside the box's own message loop.
void CALLBACK ReadMessageBox(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!box || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId())
        return;
    KillTimer(nullptr, id);
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(boxReader(box)), 0);
}

} // namespace

void AnswerNextMessageBox(std::function<int(HWND box)> Read)
{
    boxReader = std::move(Read);
    SetTimer(nullptr, 0, 30, ReadMessageBox);
}

std::wstring WindowText(HWND wnd)
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(wnd)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(wnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring MessageBoxText(HWND box)
{
    // The message is the box's static text control.
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::wstring();
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

std::wstring TestDirectoryAddress()
{
    wchar_t buf[64];
    DWORD n = GetEnvironmentVariableW(L"TAVELIN_TEST_DIRECTORY", buf, 64);
    return n > 0 && n < 64 ? std::wstring(buf, n) : std::wstring();
}

namespace {
const wchar_t* const OfficeKey = L"Software\\Microsoft\\Office";
}

TOfficeSettings::TOfficeSettings()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, OfficeKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return;
    }
    usable_ = true;
}

TOfficeSettings::~TOfficeSettings()
{
    if (usable_)
        RegDeleteTreeW(HKEY_CURRENT_USER, OfficeKey);
}

void TOfficeSettings::SetValue(const std::wstring& SubKey, const std::wstring& Name, DWORD Value)
{
    if (!usable_)
        return;
    HKEY key = nullptr;
    const std::wstring path = std::wstring(OfficeKey) + L"\\" + SubKey;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, Name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Value), sizeof(Value));
    RegCloseKey(key);
}

} // namespace testing_support
