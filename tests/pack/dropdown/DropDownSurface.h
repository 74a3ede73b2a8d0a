// A 32-bit DIB with a canvas over it, read back pixel by pixel.
#pragma once
#include "Graphics.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <optional>

class TDropDownSurface {
public:
    TDropDownSurface(int width, int height, COLORREF background) : width_(width), height_(height)
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
        Clear(background);
        canvas_.reset(New<TCanvas>());
        canvas_->SetHandle(dc_.Get());
    }
    ~TDropDownSurface() { canvas_.reset(); }

    TCanvas* Canvas() const { return canvas_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Clear(COLORREF color)
    {
        GdiFlush();
        const DWORD pixel = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
        std::fill(bits_, bits_ + width_ * height_, pixel);
    }
    // The pixel as 0x00BBGGRR.
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        const DWORD p = bits_[y * width_ + x];
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
    int height_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    DWORD* bits_ = nullptr;
    std::optional<TSelectObject> select_;
    TOwned<TCanvas> canvas_;
};

// A fixture with a fresh surface per test, failing the test that leaves GDI
// objects behind.
class SurfaceTest : public testing::Test {
protected:
    SurfaceTest(int width, int height, COLORREF background)
        : width_(width), height_(height), background_(background)
    {
    }
    void SetUp() override
    {
        gdiBefore_ = testing_support::GdiObjectCount();
        surface_.emplace(width_, height_, background_);
    }
    void TearDown() override
    {
        surface_.reset();
        EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore_) << "GDI objects left behind";
    }
    TDropDownSurface& Surface() { return *surface_; }
    TCanvas* Canvas() const { return surface_->Canvas(); }

private:
    int width_;
    int height_;
    COLORREF background_;
    std::optional<TDropDownSurface> surface_;
    DWORD gdiBefore_ = 0;
};
