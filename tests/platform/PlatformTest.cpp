// Proves the chain end to end: the cross-compiled program runs under Wine,
// gets real windows and messages, and GDI renders into memory we can read.
#include <gtest/gtest.h>
#include <windows.h>
#include "TestSupport.h"

namespace {

constexpr UINT WM_ASK = WM_APP + 1;

LRESULT CALLBACK AnswerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ASK)
        return wParam * 2 + lParam;
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

TEST(Platform, WindowAnswersASentMessage)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = AnswerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TavelinPlatformTest";
    ATOM atom = RegisterClassW(&wc);
    ASSERT_NE(atom, 0);

    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"probe", WS_OVERLAPPEDWINDOW, 10, 10, 200,
                               100, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(wnd, nullptr);
    ShowWindow(wnd, SW_SHOW);
    EXPECT_EQ(SendMessageW(wnd, WM_ASK, 20, 2), 42);

    wchar_t caption[32]{};
    GetWindowTextW(wnd, caption, 32);
    EXPECT_STREQ(caption, L"probe");

    DestroyWindow(wnd);
    EXPECT_FALSE(IsWindow(wnd));
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

TEST(Platform, GdiDrawsIntoA32BitDib)
{
    DWORD gdiBefore = testing_support::GdiObjectCount();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 16;
    bi.bmiHeader.biHeight = -16; // top-down, so row 0 is the first scan line
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bmp, nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);

    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT r{4, 4, 8, 8};
    FillRect(dc, &r, red);
    GdiFlush();

    auto pixel = [&](int x, int y) { return static_cast<const DWORD*>(bits)[y * 16 + x] & 0xFFFFFF; };
    EXPECT_EQ(pixel(5, 5), 0xFF0000u); // DIB pixels are 0xRRGGBB
    EXPECT_EQ(pixel(0, 0), 0u);
    EXPECT_EQ(pixel(8, 8), 0u); // FillRect excludes the right and bottom edge
    EXPECT_EQ(GetPixel(dc, 7, 7), RGB(255, 0, 0));

    SelectObject(dc, old);
    DeleteObject(red);
    DeleteObject(bmp);
    DeleteDC(dc);
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
}

} // namespace
