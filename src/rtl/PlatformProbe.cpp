#include "PlatformProbe.h"
#include <shlwapi.h>

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
using BoolFn = BOOL(WINAPI*)();
using CompositionFn = HRESULT(WINAPI*)(BOOL*);

template <class Fn>
Fn Bind(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

TPlatformProbe ReadSystem()
{
    TPlatformProbe p;
    // GetVersionEx lies to programs without a compatibility manifest.
    OSVERSIONINFOW vi{};
    vi.dwOSVersionInfoSize = sizeof(vi);
    if (auto rtlGetVersion = Bind<RtlGetVersionFn>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion"))
        rtlGetVersion(&vi);
    p.WindowsMajor = vi.dwMajorVersion;
    p.WindowsMinor = vi.dwMinorVersion;
    p.WindowsBuild = vi.dwBuildNumber;

    HMODULE comctl = LoadLibraryW(L"comctl32.dll");
    if (auto getVersion = Bind<DLLGETVERSIONPROC>(comctl, "DllGetVersion")) {
        DLLVERSIONINFO dvi{};
        dvi.cbSize = sizeof(dvi);
        if (SUCCEEDED(getVersion(&dvi))) {
            p.ComCtlMajor = static_cast<int>(dvi.dwMajorVersion);
            p.ComCtlMinor = static_cast<int>(dvi.dwMinorVersion);
        }
    }

    HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
    auto isAppThemed = Bind<BoolFn>(uxtheme, "IsAppThemed");
    auto isThemeActive = Bind<BoolFn>(uxtheme, "IsThemeActive");
    p.ThemeActive = isAppThemed && isThemeActive && isAppThemed() && isThemeActive();

    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    if (auto isComposition = Bind<CompositionFn>(dwm, "DwmIsCompositionEnabled")) {
        BOOL enabled = FALSE;
        p.CompositionEnabled = SUCCEEDED(isComposition(&enabled)) && enabled;
    }

    p.LayeredWindows = GetProcAddress(GetModuleHandleW(L"user32.dll"),
                                      "SetLayeredWindowAttributes") != nullptr;
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
