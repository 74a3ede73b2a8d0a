#include "PlatformProbe.h"
#include <shlwapi.h>
#include "ProcBinding.h"
#include "UniqueHandle.h"

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
using BoolFn = BOOL(WINAPI*)();
using CompositionFn = HRESULT(WINAPI*)(BOOL*);

FARPROC LoadedComCtlEntry(const char* Name)
{
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    return comctl ? GetProcAddress(comctl, Name) : nullptr;
}

TPlatformProbe ReadSystem()
{
    TPlatformProbe p;
    p.ComCtlEntry = LoadedComCtlEntry;
    // GetVersionEx lies to programs without a compatibility manifest.
    OSVERSIONINFOW vi{};
    vi.dwOSVersionInfoSize = sizeof(vi);
    if (auto rtlGetVersion = BindProc<RtlGetVersionFn>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion"))
        rtlGetVersion(&vi);
    p.WindowsMajor = vi.dwMajorVersion;
    p.WindowsMinor = vi.dwMinorVersion;
    p.WindowsBuild = vi.dwBuildNumber;

    const TModuleHandle comctl(LoadLibraryW(L"comctl32.dll"));
    if (auto getVersion = BindProc<DLLGETVERSIONPROC>(comctl.Get(), "DllGetVersion")) {
        DLLVERSIONINFO dvi{};
        dvi.cbSize = sizeof(dvi);
        if (SUCCEEDED(getVersion(&dvi))) {
            p.ComCtlMajor = static_cast<int>(dvi.dwMajorVersion);
            p.ComCtlMinor = static_cast<int>(dvi.dwMinorVersion);
        }
    }

    const TModuleHandle uxtheme(LoadLibraryW(L"uxtheme.dll"));
    auto isAppThemed = BindProc<BoolFn>(uxtheme.Get(), "IsAppThemed");
    auto isThemeActive = BindProc<BoolFn>(uxtheme.Get(), "IsThemeActive");
    p.ThemeActive = isAppThemed && isThemeActive && isAppThemed() && isThemeActive();

    const TModuleHandle dwm(LoadLibraryW(L"dwmapi.dll"));
    if (auto isComposition = BindProc<CompositionFn>(dwm.Get(), "DwmIsCompositionEnabled")) {
        BOOL enabled = FALSE;
        p.CompositionEnabled = SUCCEEDED(isComposition(&enabled)) && enabled;
    }

    HIGHCONTRASTW contrast{sizeof(contrast)};
    p.HighContrast = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0)
                     && (contrast.dwFlags & HCF_HIGHCONTRASTON);

    p.LayeredWindows = BindProc<FARPROC>(GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes") != nullptr;
    return p;
}

TPlatformProbe& Storage()
{
    static TPlatformProbe probe = ReadSystem();
    return probe;
}

} // namespace

TPlatformProbe& PlatformProbe()
{
    return Storage();
}

void ResetPlatformProbe()
{
    Storage() = ReadSystem();
}
