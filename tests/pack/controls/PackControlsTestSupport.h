// Helpers of the pack-control tests: a shown form to put controls on,
// pictures of what a control paints, and input through the real message loop.
#pragma once
#include <gtest/gtest.h>
#include "Forms.h"
#include "ImgList.h"
#include "TestSupport.h"
#include <algorithm>
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

} // namespace pack_test
