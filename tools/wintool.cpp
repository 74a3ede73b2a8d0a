// wintool wait <caption> [seconds]  - exits 0 once a visible top-level window
//                                     with that caption exists and has painted
// wintool close <caption>           - posts WM_CLOSE to it and waits until it is gone
// A window whose caption changes with its language is named by its class instead.
#include <windows.h>
#include <cwchar>
#include <cstdlib>

namespace {

HWND FindTopLevel(const wchar_t* name)
{
    HWND wnd = FindWindowW(nullptr, name);
    return wnd ? wnd : FindWindowW(name, nullptr);
}

HWND FindVisible(const wchar_t* name)
{
    const HWND found[] = {FindWindowW(nullptr, name), FindWindowW(name, nullptr)};
    for (HWND wnd : found)
        if (wnd && IsWindowVisible(wnd))
            return wnd;
    return nullptr;
}

int Wait(const wchar_t* caption, int seconds)
{
    for (int i = 0; i < seconds * 20; ++i) {
        if (HWND wnd = FindVisible(caption)) {
            // A round trip through the window's thread means it has handled
            // the messages that came before, including its first paint.
            DWORD_PTR result = 0;
            SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
            Sleep(300);
            return 0;
        }
        Sleep(50);
    }
    return 1;
}

int Close(const wchar_t* caption)
{
    HWND wnd = FindVisible(caption);
    if (!wnd)
        wnd = FindTopLevel(caption);
    if (!wnd)
        return 1;
    PostMessageW(wnd, WM_CLOSE, 0, 0);
    for (int i = 0; i < 200 && IsWindow(wnd); ++i)
        Sleep(50);
    return IsWindow(wnd) ? 1 : 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 3 && wcscmp(argv[1], L"wait") == 0)
        return Wait(argv[2], argc >= 4 ? _wtoi(argv[3]) : 30);
    if (argc >= 3 && wcscmp(argv[1], L"close") == 0)
        return Close(argv[2]);
    fwprintf(stderr, L"usage: wintool wait|close <caption> [seconds]\n");
    return 2;
}
