// Helpers of the pack-control tests: a shown form to put controls on,
// pictures of what a control paints, and input through the real message loop.
#pragma once
#include <gtest/gtest.h>
#include "Forms.h"
#include "ImgList.h"
#include "TestSupport.h"
#include <algorithm>
#include <memory>
#include <optional>

namespace pack_test {

// Runs the application's loop until the queue is empty.
inline void Pump()
{
    for (int i = 0; i < 3; ++i)
        Application->ProcessMessages();
}

// What a windowed control paints, in a 32-bit DIB of its size.
class TSnapshot {
public:
    explicit TSnapshot(TWinControl* Control) : TSnapshot(Control->GetWidth(), Control->GetHeight())
    {
        Control->PaintTo(dc_.Get(), 0, 0);
        GdiFlush();
    }
    TSnapshot(int Width, int Height) : width_(Width), height_(Height)
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(bi.bmiHeader), Width, -Height, 1, 32, BI_RGB};
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const DWORD*>(bits);
        select_.emplace(dc_.Get(), bitmap_.Get());
    }
    // What a shown window shows now, copied from its window DC.
    explicit TSnapshot(HWND Shown) : TSnapshot(WindowSize(Shown).cx, WindowSize(Shown).cy)
    {
        RedrawWindow(Shown, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        HDC window = GetWindowDC(Shown);
        BitBlt(dc_.Get(), 0, 0, width_, height_, window, 0, 0, SRCCOPY);
        ReleaseDC(Shown, window);
        GdiFlush();
    }
    // As above, without painting the window again first.
    static std::unique_ptr<TSnapshot> AsItIs(HWND Shown)
    {
        auto picture = std::make_unique<TSnapshot>(WindowSize(Shown).cx, WindowSize(Shown).cy);
        HDC window = GetWindowDC(Shown);
        BitBlt(picture->dc_.Get(), 0, 0, picture->width_, picture->height_, window, 0, 0, SRCCOPY);
        ReleaseDC(Shown, window);
        GdiFlush();
        return picture;
    }
    TSnapshot(const TSnapshot&) = delete;
    TSnapshot& operator=(const TSnapshot&) = delete;

    HDC DC() const { return dc_.Get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel as a colour value (0x00BBGGRR).
    TColor Pixel(int X, int Y) const
    {
        GdiFlush();
        const DWORD p = bits_[Y * width_ + X];
        return static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    // The smallest rectangle inside Area holding every pixel of Color
    // (empty when there is none).
    TRect Extent(TColor Color, const TRect& Area) const
    {
        TRect found(Area.right, Area.bottom, Area.left, Area.top);
        for (int y = Area.top; y < Area.bottom; ++y)
            for (int x = Area.left; x < Area.right; ++x)
                if (Pixel(x, y) == Color) {
                    found.left = std::min<LONG>(found.left, x);
                    found.top = std::min<LONG>(found.top, y);
                    found.right = std::max<LONG>(found.right, x + 1);
                    found.bottom = std::max<LONG>(found.bottom, y + 1);
                }
        return found.IsEmpty() ? TRect() : found;
    }
    int Count(TColor Color, const TRect& Area) const
    {
        int n = 0;
        for (int y = Area.top; y < Area.bottom; ++y)
            for (int x = Area.left; x < Area.right; ++x)
                n += Pixel(x, y) == Color;
        return n;
    }

private:
    static SIZE WindowSize(HWND Wnd)
    {
        RECT r{};
        GetWindowRect(Wnd, &r);
        return {r.right - r.left, r.bottom - r.top};
    }
    int width_;
    int height_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    const DWORD* bits_ = nullptr;
    std::optional<TSelectObject> select_;
};

// A shown form for the controls of one test; freeing it frees them.
class FormTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Keep the real cursor off the controls, which react to it.
        SetCursorPos(0, 0);
        gdiBefore_ = testing_support::GdiObjectCount();
        userBefore_ = testing_support::UserObjectCount();
        form = New<TForm>(nullptr);
        form->SetBounds(40, 40, 500, 400);
        form->SetColor(clBtnFace);
    }
    void TearDown() override
    {
        form->Free();
        Pump();
        EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore_) << "GDI objects left behind";
        EXPECT_EQ(testing_support::UserObjectCount(), userBefore_) << "windows left behind";
    }
    void ShowForm()
    {
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
    }
    TForm* form = nullptr;

private:
    DWORD gdiBefore_ = 0;
    DWORD userBefore_ = 0;
};

// An image list of Width x Height images, one per colour, each filled with it.
inline TImageList* NewImageList(TComponent* Owner, int Width, int Height, std::initializer_list<TColor> Colours)
{
    auto* list = New<TImageList>(Owner, Width, Height);
    for (TColor colour : Colours) {
        TOwned<TBitmap> image(New<TBitmap>());
        image->SetSize(Width, Height);
        image->GetCanvas()->GetBrush()->SetColor(colour);
        image->GetCanvas()->FillRect(TRect(0, 0, Width, Height));
        list->Add(image.get(), nullptr);
    }
    return list;
}

// A key pressed and released on the focused window, through the loop (so
// that the form sees dialog keys and characters are translated).
inline void PressKey(WORD Key)
{
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(Key, MAPVK_VK_TO_VSC)) << 16;
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, Key, scan | 1);
    PostMessageW(focus, WM_KEYUP, Key, scan | 1 | (1u << 30) | (1u << 31));
    Pump();
}

// Real mouse input at a point of a control: moves there, presses, moves to
// the release point, releases.
inline void ClickWithMouse(TControl* Control, POINT Press, POINT Release)
{
    auto send = [](TControl* c, POINT p, DWORD flags) {
        const POINT screen = c->ClientToScreen(p);
        SetCursorPos(screen.x, screen.y);
        Pump();
        if (flags) {
            INPUT in{};
            in.type = INPUT_MOUSE;
            in.mi.dwFlags = flags;
            SendInput(1, &in, sizeof(in));
            Pump();
        }
    };
    send(Control, Press, 0);
    send(Control, Press, MOUSEEVENTF_LEFTDOWN);
    send(Control, Release, 0);
    send(Control, Release, MOUSEEVENTF_LEFTUP);
}

// Characters typed on the focused window through the loop.
inline void TypeChars(const std::wstring& Text)
{
    for (wchar_t c : Text) {
        PostMessageW(GetFocus(), WM_CHAR, c, 1);
        Pump();
    }
}

// This test program started again as a child process running only the
// tests Filter names, with Variable set in its environment; returns its exit
// code (or the process, when Wait is false, for the caller to end).
inline DWORD RunChild(const std::wstring& Filter, const std::wstring& Variable, bool Wait = true,
                      PROCESS_INFORMATION* Started = nullptr)
{
    wchar_t self[MAX_PATH]{};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + Filter;
    SetEnvironmentVariableW(Variable.c_str(), L"1");
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableW(Variable.c_str(), nullptr);
    if (!started)
        return static_cast<DWORD>(-1);
    CloseHandle(pi.hThread);
    if (!Wait) {
        *Started = pi;
        return STILL_ACTIVE;
    }
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    return code;
}

// Whether this process is the child RunChild started with Variable.
inline bool IsChild(const wchar_t* Variable)
{
    return GetEnvironmentVariableW(Variable, nullptr, 0) > 0;
}

} // namespace pack_test
