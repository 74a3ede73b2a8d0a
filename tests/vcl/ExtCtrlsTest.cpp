// Panels, splitters, images, paint boxes and timers on real windows.
#include <gtest/gtest.h>
#include "ExtCtrls.h"
#include "TestSupport.h"
#include "VclTestSupport.h"
#include <optional>

using namespace vcl_test;

namespace {

// A 32-bit DIB the tests paint a control into.
struct Dib {
    Dib(int w, int h) : width(w)
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(bi.bmiHeader), w, -h, 1, 32, BI_RGB};
        bitmap.Reset(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        select.emplace(dc.Get(), bitmap.Get());
    }
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        DWORD v = static_cast<const DWORD*>(bits)[y * width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    int width;
    TMemoryDC dc;
    TBitmapHandle bitmap;
    void* bits = nullptr;
    std::optional<TSelectObject> select;
};

struct ExtCtrlsFixture : testing::Test {
    TForm* form = nullptr;
    void SetUp() override
    {
        form = New<TForm>(nullptr);
        form->SetBounds(80, 80, 500, 400);
    }
    void TearDown() override
    {
        form->Free();
        Pump();
    }
};

TEST_F(ExtCtrlsFixture, PanelBevelsInsetTheClientAreaAndPaint)
{
    auto* panel = New<TPanel>(form);
    panel->SetBounds(10, 10, 200, 100);
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    panel->SetParent(form);
    auto* inner = New<TPanel>(form);
    inner->SetAlign(alClient);
    inner->SetParent(panel);
    form->Show();
    Pump();
    // The border band is outside the client area; the bevels are inside it.
    EXPECT_EQ(panel->GetClientWidth(), 200 - 6);
    EXPECT_EQ(inner->GetLeft(), 4);
    EXPECT_EQ(inner->GetTop(), 4);
    EXPECT_EQ(inner->GetWidth(), 200 - 6 - 8);

    auto* plain = New<TPanel>(form);
    plain->SetBounds(0, 0, 40, 30);
    plain->SetColor(clWhite);
    plain->SetParent(form);
    Dib dib(40, 30);
    plain->PaintTo(dib.dc.Get(), 0, 0);
    EXPECT_EQ(dib.Pixel(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(dib.Pixel(39, 29), ColorToRGB(clBtnShadow));
    EXPECT_EQ(dib.Pixel(20, 15), RGB(255, 255, 255));
}

TEST_F(ExtCtrlsFixture, SplitterResizesTheControlOnItsSideWithinLimits)
{
    auto* host = New<TPanel>(form);
    host->SetAlign(alClient);
    host->SetBevelOuter(bvNone);
    host->SetParent(form);
    form->SetClientHeight(400);
    auto* top = New<TPanel>(form);
    top->SetAlign(alClient);
    top->SetParent(host);
    auto* bottom = New<TPanel>(form);
    bottom->SetHeight(170);
    bottom->SetAlign(alBottom);
    bottom->SetParent(host);
    auto* splitter = New<TSplitter>(form);
    splitter->SetAlign(alBottom);
    splitter->SetHeight(4);
    splitter->SetTop(100);
    splitter->SetParent(host);
    splitter->SetMinSize(30);
    int moved = 0;
    splitter->OnMoved = [&](TObject*) { ++moved; };
    form->Show();
    Pump();
    ASSERT_EQ(splitter->GetTop() + splitter->GetHeight(), bottom->GetTop());

    HWND wnd = host->Handle();
    auto drag = [&](int dy) {
        POINT p{splitter->GetLeft() + 10, splitter->GetTop() + 2};
        SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y + dy));
        SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y + dy));
    };
    drag(-30);
    EXPECT_EQ(splitter->ResizeControl(), bottom);
    EXPECT_EQ(bottom->GetHeight(), 200);
    EXPECT_EQ(splitter->GetTop() + splitter->GetHeight(), bottom->GetTop());
    EXPECT_EQ(top->GetHeight(), 400 - 200 - 4);
    EXPECT_EQ(moved, 1);
    drag(1000);
    EXPECT_EQ(bottom->GetHeight(), 30);
    drag(-1000);
    EXPECT_EQ(top->GetHeight(), 30);
}

TEST_F(ExtCtrlsFixture, ImageAndPaintBoxDrawOnTheirParent)
{
    auto* image = New<TImage>(form);
    image->SetBounds(0, 0, 40, 40);
    image->SetParent(form);
    auto* bmp = New<TBitmap>();
    bmp->SetSize(10, 10);
    bmp->GetCanvas()->GetBrush()->SetColor(clRed);
    bmp->GetCanvas()->FillRect(TRect(0, 0, 10, 10));
    image->GetPicture()->SetGraphic(bmp);
    bmp->Free();
    image->SetStretch(true);
    EXPECT_EQ(image->DestRect(), TRect(0, 0, 40, 40));
    image->SetStretch(false);
    image->SetCenter(true);
    EXPECT_EQ(image->DestRect(), TRect(15, 15, 25, 25));

    auto* box = New<TPaintBox>(form);
    box->SetBounds(50, 0, 20, 20);
    box->SetParent(form);
    box->OnPaint = [&](TObject*) {
        box->GetCanvas()->GetBrush()->SetColor(clBlue);
        box->GetCanvas()->FillRect(TRect(0, 0, 20, 20));
    };
    form->SetColor(clWhite);
    form->Show();
    Dib dib(100, 50);
    form->PaintTo(dib.dc.Get(), 0, 0);
    EXPECT_EQ(dib.Pixel(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(dib.Pixel(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(dib.Pixel(60, 10), RGB(0, 0, 255));
}

TEST_F(ExtCtrlsFixture, TimerTicksInTheLoopUntilDisabledOrFreed)
{
    auto* timer = New<TTimer>(nullptr);
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) { ++ticks; };
    DWORD start = GetTickCount();
    while (ticks < 3 && GetTickCount() - start < 2000)
        Application->HandleMessage();
    EXPECT_GE(ticks, 3);
    timer->SetEnabled(false);
    int stopped = ticks;
    Sleep(50);
    Pump();
    EXPECT_EQ(ticks, stopped);
    timer->SetEnabled(true);
    timer->Free();
    Sleep(50);
    Pump();
    EXPECT_EQ(ticks, stopped);
}

} // namespace
