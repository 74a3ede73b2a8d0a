#pragma once
// The prefix draws classic; a process started while the theme manager says
// "ThemeActive" 1 gets the platform's light style. Themed checks therefore run
// in a child process started inside this scope, which puts the setting back to
// what it was however the test ends.
#include <windows.h>
#include <cwchar>
#include <string>

class TThemeActiveScope {
public:
    explicit TThemeActiveScope(const wchar_t* Value = L"1")
    {
        wchar_t saved[16] = {};
        DWORD size = sizeof(saved);
        const bool had =
            RegGetValueW(HKEY_CURRENT_USER, Key, L"ThemeActive", RRF_RT_REG_SZ, nullptr, saved, &size) == ERROR_SUCCESS;
        saved_ = had ? saved : L"0";
        Set(Value);
    }
    ~TThemeActiveScope() { Set(saved_.c_str()); }
    TThemeActiveScope(const TThemeActiveScope&) = delete;
    TThemeActiveScope& operator=(const TThemeActiveScope&) = delete;

private:
    static constexpr const wchar_t* Key = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
    static void Set(const wchar_t* Value)
    {
        RegSetKeyValueW(HKEY_CURRENT_USER, Key, L"ThemeActive", REG_SZ, Value,
                        static_cast<DWORD>((wcslen(Value) + 1) * sizeof(wchar_t)));
    }
    std::wstring saved_;
};
