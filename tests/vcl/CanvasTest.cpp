// Drawing through TCanvas into a real 32-bit DIB, checked at chosen pixels.
#include <gtest/gtest.h>
#include "Graphics.h"
#include "GraphicsTestSupport.h"
#include <algorithm>
#include <optional>
#include <thread>

namespace {

// A white 32-bit top-down DIB selected into a memory DC.
class TDibSurface {
public:
    TDibSurface(int width, int height) : width_(width), dc_(nullptr)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<DWORD*>(bits);
        select_.emplace(dc_.Get(), bitmap_.Get());
        std::fill(bits_, bits_ + width * height, 0x00FFFFFF);
    }
    HDC DC() const { return dc_.Get(); }
    // The pixel as a COLORREF (0x00BBGGRR).
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        DWORD p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int CountPixels(COLORREF color, const RECT& area) const
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                n += Pixel(x, y) == color;
        return n;
    }

private:
    int width_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    DWORD* bits_ = nullptr;
    std::optional<TSelectObject> select_;
};

class CanvasTest : public graphics_test::GdiLeakTest {
protected:
    void SetUp() override
    {
        GdiLeakTest::SetUp();
        surface_.emplace(64, 64);
        canvas_.reset(New<TCanvas>());
        canvas_->SetHandle(surface_->DC());
    }
    void TearDown() override
    {
        canvas_.reset();
        surface_.reset();
        GdiLeakTest::TearDown();
    }
    COLORREF Pixel(int x, int y) const { return surface_->Pixel(x, y); }

    std::optional<TDibSurface> surface_;
    TOwned<TCanvas> canvas_;
};

constexpr COLORREF White = RGB(255, 255, 255);

TEST_F(CanvasTest, ShapesUseThePenForOutlinesAndTheBrushInside)
{
    canvas_->GetPen()->SetColor(clRed);
    canvas_->GetBrush()->SetColor(clBlue);
    canvas_->Rectangle(10, 10, 30, 30);
    EXPECT_EQ(Pixel(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(29, 20), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(20, 20), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(30, 20), White) << "the right edge is exclusive";

    // A clear brush leaves the inside alone.
    canvas_->GetBrush()->SetStyle(bsClear);
    canvas_->GetPen()->SetColor(clLime);
    canvas_->Ellipse(Rect(0, 40, 20, 60));
    EXPECT_EQ(Pixel(10, 50), White);
    EXPECT_EQ(Pixel(10, 40), RGB(0, 255, 0));

    canvas_->GetBrush()->SetColor(clYellow); // a colour makes it solid again
    canvas_->GetPen()->SetStyle(psClear);
    const std::vector<TPoint> triangle{{40, 40}, {60, 40}, {40, 60}};
    canvas_->Polygon(triangle);
    EXPECT_EQ(Pixel(44, 44), RGB(255, 255, 0));
    EXPECT_EQ(Pixel(58, 58), White);

    canvas_->GetBrush()->SetColor(clGreen);
    canvas_->RoundRect(40, 2, 60, 20, 6, 6);
    EXPECT_EQ(Pixel(50, 10), RGB(0, 128, 0));
    EXPECT_EQ(Pixel(40, 2), White) << "the corner is rounded off";
}

TEST_F(CanvasTest, LinesFillsFramesAndPixels)
{
    canvas_->GetPen()->SetColor(clBlack);
    canvas_->MoveTo(0, 5);
    canvas_->LineTo(20, 5);
    EXPECT_EQ(Pixel(0, 5), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(19, 5), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(20, 5), White);
    EXPECT_EQ(canvas_->GetPenPos(), Point(20, 5));

    const std::vector<TPoint> path{{0, 8}, {10, 8}, {10, 18}};
    canvas_->Polyline(path);
    EXPECT_EQ(Pixel(5, 8), RGB(0, 0, 0));
    EXPECT_EQ(Pixel(10, 12), RGB(0, 0, 0));

    canvas_->GetBrush()->SetColor(clMaroon);
    canvas_->FillRect(Rect(30, 30, 40, 40));
    EXPECT_EQ(surface_->CountPixels(RGB(128, 0, 0), Rect(0, 0, 64, 64)), 100);

    canvas_->GetBrush()->SetColor(clNavy);
    canvas_->FrameRect(Rect(30, 30, 40, 40));
    EXPECT_EQ(Pixel(30, 30), RGB(0, 0, 128));
    EXPECT_EQ(Pixel(35, 35), RGB(128, 0, 0));

    canvas_->SetPixels(50, 50, clFuchsia);
    EXPECT_EQ(Pixel(50, 50), RGB(255, 0, 255));
    EXPECT_EQ(canvas_->GetPixels(50, 50), TColor(RGB(255, 0, 255)));
    canvas_->SetPixels(51, 50, clBtnFace);
    EXPECT_EQ(Pixel(51, 50), GetSysColor(COLOR_BTNFACE)) << "system colours are resolved";
}

TEST_F(CanvasTest, FloodFillStopsAtTheBorderOrKeepsToTheSurface)
{
    canvas_->GetPen()->SetColor(clBlack);
    canvas_->GetBrush()->SetStyle(bsClear);
    canvas_->Rectangle(10, 10, 30, 30);

    canvas_->GetBrush()->SetColor(clRed);
    canvas_->FloodFill(20, 20, clBlack, fsBorder);
    EXPECT_EQ(Pixel(20, 20), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(11, 11), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(5, 5), White) << "the fill leaked out of the frame";

    canvas_->GetBrush()->SetColor(clBlue);
    canvas_->FloodFill(5, 5, clWhite, fsSurface);
    EXPECT_EQ(Pixel(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(Pixel(20, 20), RGB(255, 0, 0));
}

TEST_F(CanvasTest, XorPenAndFocusRectangleUndoThemselves)
{
    canvas_->GetBrush()->SetColor(clTeal);
    canvas_->FillRect(Rect(0, 0, 64, 64));
    canvas_->GetPen()->SetMode(pmXor);
    canvas_->GetPen()->SetColor(clWhite);
    canvas_->MoveTo(0, 10);
    canvas_->LineTo(64, 10);
    EXPECT_EQ(Pixel(5, 10), RGB(255, 127, 127));
    canvas_->MoveTo(0, 10);
    canvas_->LineTo(64, 10);
    EXPECT_EQ(Pixel(5, 10), RGB(0, 128, 128));

    canvas_->DrawFocusRect(Rect(20, 20, 40, 40));
    int changed = 64 * 64 - surface_->CountPixels(RGB(0, 128, 128), Rect(0, 0, 64, 64));
    EXPECT_GT(changed, 0);
    canvas_->DrawFocusRect(Rect(20, 20, 40, 40));
    EXPECT_EQ(surface_->CountPixels(RGB(0, 128, 128), Rect(0, 0, 64, 64)), 64 * 64);
}

TEST_F(CanvasTest, TextIsDrawnInTheFontColourOverTheBrush)
{
    canvas_->GetFont()->SetColor(clRed);
    canvas_->GetBrush()->SetColor(clYellow);
    canvas_->TextOut(2, 2, L"Wg");
    TSize extent = canvas_->TextExtent(L"Wg");
    TRect box = Bounds(2, 2, extent.cx, extent.cy);
    EXPECT_GT(surface_->CountPixels(RGB(255, 0, 0), box), 0);
    EXPECT_GT(surface_->CountPixels(RGB(255, 255, 0), box), 0) << "an opaque brush fills the cell";
    EXPECT_EQ(canvas_->GetPenPos(), Point(2 + extent.cx, 2)) << "the pen moves past the text";

    // A clear brush keeps the background; TextRect clips to its rectangle.
    canvas_->GetBrush()->SetStyle(bsClear);
    canvas_->GetFont()->SetColor(clBlue);
    canvas_->TextRect(Rect(10, 30, 14, 50), 10, 30, L"WWWW");
    EXPECT_GT(surface_->CountPixels(RGB(0, 0, 255), Rect(10, 30, 14, 50)), 0);
    EXPECT_EQ(surface_->CountPixels(RGB(0, 0, 255), Rect(14, 30, 64, 50)), 0);
    EXPECT_EQ(surface_->CountPixels(RGB(255, 255, 0), Rect(0, 28, 64, 64)), 0);
}

TEST_F(CanvasTest, HandleCarriesTheCanvasObjectsForPlatformCalls)
{
    canvas_->GetFont()->SetColor(clRed);
    canvas_->GetFont()->SetSize(20);
    canvas_->GetBrush()->SetColor(clLime);
    HDC dc = canvas_->GetHandle();
    RECT box{0, 0, 64, 64};
    DrawTextW(dc, L"W", 1, &box, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX);
    EXPECT_GT(surface_->CountPixels(RGB(255, 0, 0), Rect(0, 0, 64, 64)), 0)
        << "text drawn on the handle uses the canvas font";
    FillRect(dc, &box, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
    EXPECT_EQ(Pixel(40, 40), RGB(0, 255, 0)) << "the handle has the canvas brush selected";
}

TEST_F(CanvasTest, ColouringAClearBrushMakesItSolidEvenInItsOwnColour)
{
    canvas_->GetBrush()->SetColor(clRed);
    canvas_->GetBrush()->SetStyle(bsClear);
    canvas_->GetBrush()->SetColor(clRed);
    EXPECT_EQ(canvas_->GetBrush()->GetStyle(), bsSolid);
    canvas_->FillRect(Rect(0, 0, 8, 8));
    EXPECT_EQ(Pixel(4, 4), RGB(255, 0, 0));
}

TEST_F(CanvasTest, TextExtentGrowsWithTheFont)
{
    int previousWidth = 0;
    int previousHeight = 0;
    for (int size : {6, 8, 12, 20, 36}) {
        canvas_->GetFont()->SetSize(size);
        TSize extent = canvas_->TextExtent(L"Inventory");
        EXPECT_GT(extent.cx, previousWidth) << size;
        EXPECT_GT(extent.cy, previousHeight) << size;
        EXPECT_EQ(canvas_->TextWidth(L"Inventory"), extent.cx);
        EXPECT_EQ(canvas_->TextHeight(L"Inventory"), extent.cy);
        previousWidth = extent.cx;
        previousHeight = extent.cy;
    }
    EXPECT_EQ(canvas_->TextWidth(L""), 0);
    canvas_->GetFont()->SetStyle({fsBold});
    int bold = canvas_->TextWidth(L"Inventory");
    canvas_->GetFont()->SetStyle({});
    EXPECT_GT(bold, canvas_->TextWidth(L"Inventory"));
}

TEST_F(CanvasTest, CopyRectStretchesWithTheCopyMode)
{
    TDibSurface source(8, 8);
    TOwned<TCanvas> from(New<TCanvas>());
    from->SetHandle(source.DC());
    from->GetBrush()->SetColor(clRed);
    from->FillRect(Rect(0, 0, 4, 8));

    canvas_->CopyRect(Rect(0, 0, 16, 16), from.get(), Rect(0, 0, 8, 8));
    EXPECT_EQ(Pixel(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(7, 15), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(8, 0), White);
    EXPECT_EQ(Pixel(16, 0), White);

    canvas_->SetCopyMode(cmNotSrcCopy);
    canvas_->CopyRect(Rect(20, 0, 28, 8), from.get(), Rect(0, 0, 8, 8));
    EXPECT_EQ(Pixel(20, 0), RGB(0, 255, 255));
    EXPECT_EQ(Pixel(27, 0), RGB(0, 0, 0));
}

TEST_F(CanvasTest, HandleCanBeSwappedAndGivesBackTheDC)
{
    canvas_->GetFont()->SetSize(14);
    canvas_->TextOut(0, 0, L"x");
    HFONT ours = canvas_->GetFont()->GetHandle();
    EXPECT_EQ(GetCurrentObject(surface_->DC(), OBJ_FONT), ours);

    TDibSurface other(16, 16);
    canvas_->SetHandle(other.DC());
    EXPECT_NE(GetCurrentObject(surface_->DC(), OBJ_FONT), ours) << "the old DC still holds our font";
    canvas_->GetBrush()->SetColor(clRed);
    canvas_->FillRect(Rect(0, 0, 16, 16));
    EXPECT_EQ(other.Pixel(8, 8), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(40, 40), White);
    canvas_->SetHandle(nullptr);
    EXPECT_FALSE(canvas_->HandleAllocated());
    EXPECT_THROW(canvas_->FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
}

TEST_F(CanvasTest, ChangingSelectedObjectsDoesNotLeakTheirHandles)
{
    for (int i = 0; i < 40; ++i) {
        canvas_->GetFont()->SetSize(8 + i % 7);
        canvas_->GetPen()->SetWidth(1 + i % 3);
        canvas_->GetBrush()->SetColor(RGB(i, 0, 0));
        canvas_->TextOut(0, 0, L"a");
        canvas_->Rectangle(0, 0, 10, 10);
    }
    // Still drawing with the latest objects.
    EXPECT_EQ(Pixel(5, 5), RGB(39, 0, 0));
    // TearDown compares the GDI object count.
}

TEST_F(CanvasTest, DrawingReportsChangesAndLocksAcrossThreads)
{
    std::vector<String> events;
    canvas_->OnChanging = [&](TObject*) { events.push_back(L"changing"); };
    canvas_->OnChange = [&](TObject*) { events.push_back(L"change"); };
    canvas_->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(events, (std::vector<String>{L"changing", L"change"}));

    canvas_->Lock();
    canvas_->Lock();
    EXPECT_EQ(canvas_->LockCount(), 2);
    bool otherGotIt = true;
    std::thread([&] { otherGotIt = canvas_->TryLock(); }).join();
    EXPECT_FALSE(otherGotIt);
    canvas_->Unlock();
    canvas_->Unlock();
    std::thread([&] {
        otherGotIt = canvas_->TryLock();
        if (otherGotIt)
            canvas_->Unlock();
    }).join();
    EXPECT_TRUE(otherGotIt);
    EXPECT_EQ(canvas_->LockCount(), 0);
}

// A canvas that gets its DC on demand, as a control's canvas does.
class TOnDemandCanvas : public TCanvas {
public:
    explicit TOnDemandCanvas(HDC dc) : dc_(dc) {}
    int Created = 0;

protected:
    void CreateHandle() override
    {
        ++Created;
        SetHandle(dc_);
    }

private:
    HDC dc_;
};

TEST_F(CanvasTest, AsksForItsDCWhenFirstNeeded)
{
    TOwned<TOnDemandCanvas> lazy(New<TOnDemandCanvas>(surface_->DC()));
    EXPECT_FALSE(lazy->HandleAllocated());
    lazy->GetBrush()->SetColor(clOlive);
    lazy->FillRect(Rect(0, 0, 4, 4));
    lazy->FillRect(Rect(4, 4, 8, 8));
    EXPECT_EQ(lazy->Created, 1);
    EXPECT_EQ(Pixel(6, 6), RGB(128, 128, 0));
}

} // namespace
