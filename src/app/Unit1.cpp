#include "Unit1.h"
#include <windows.h>

namespace {

LRESULT CALLBACK MainProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

const wchar_t kClassName[] = L"TForm1";

} // namespace

void Unit1_Initialize()
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
}

void Unit1_Finalize()
{
    UnregisterClassW(kClassName, GetModuleHandleW(nullptr));
}

int RunMainWindow()
{
    HWND wnd = CreateWindowExW(0, kClassName, L"Tavelin", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                               CW_USEDEFAULT, 1000, 700, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!wnd)
        return 1;
    ShowWindow(wnd, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
