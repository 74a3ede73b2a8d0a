// A 32-bit bitmap drawn on through its canvas and read back pixel by pixel.
#pragma once
#include "Graphics.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <optional>

class TDropDownSurface {
public:
    TDropDownSurface(int width, int height, COLORREF background) : bitmap_(New<TBitmap>())
    {
        bitmap_->SetPixelFormat(pf32bit);
        bitmap_->SetSize(width, height);
        Clear(background);
    }

    TBitmap* Bitmap() const { return bitmap_.get(); }
    TCanvas* Canvas() const { return bitmap_->GetCanvas(); }
    int Width() const { return bitmap_->GetWidth(); }
    int Height() const { return bitmap_->GetHeight(); }

    void Clear(COLORREF color)
    {
        const DWORD pixel = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
        for (int y = 0; y < Height(); ++y) {
            auto* row = static_cast<DWORD*>(bitmap_->GetScanLine(y));
            std::fill(row, row + Width(), pixel);
        }
    }
    // The pixel as 0x00BBGGRR.
    COLORREF Pixel(int x, int y) const { return ToColorRef(Row(y)[x]); }
    int CountPixels(COLORREF color, const RECT& area) const
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            const DWORD* row = Row(y);
            for (int x = area.left; x < area.right; ++x)
                n += ToColorRef(row[x]) == color;
        }
        return n;
    }

private:
    const DWORD* Row(int y) const { return static_cast<const DWORD*>(bitmap_->GetScanLine(y)); }
    static COLORREF ToColorRef(DWORD p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

    TOwned<TBitmap> bitmap_;
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
