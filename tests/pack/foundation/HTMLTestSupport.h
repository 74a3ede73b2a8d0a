// A 32-bit drawing surface with a canvas, and a short way to call the grid
// variant of the HTML engine with its 40 arguments.
#pragma once

#include "GdiHandles.h"
#include "Graphics.h"
#include "GridHTML.h"
#include <functional>

namespace htmltest {

// White pixels in a top-down 32-bit DIB section, drawn on through a canvas
// that borrows the memory DC. The canvas font is Tahoma 8 without
// smoothing, so that text pixels have the exact text colour.
class TSurface {
public:
    TSurface(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<DWORD*>(bits);
        old_ = SelectObject(dc_.Get(), bitmap_.Get());
        canvas_.reset(New<TCanvas>());
        canvas_->SetHandle(dc_.Get());
        canvas_->GetFont()->SetName(L"Tahoma");
        canvas_->GetFont()->SetSize(8);
        canvas_->GetFont()->SetColor(clBlack);
        canvas_->GetFont()->SetQuality(fqNonAntialiased);
        Clear();
    }
    ~TSurface()
    {
        canvas_->SetHandle(nullptr);
        SelectObject(dc_.Get(), old_);
    }
    TSurface(const TSurface&) = delete;
    TSurface& operator=(const TSurface&) = delete;

    TCanvas* Canvas() const { return canvas_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Clear(COLORREF color = RGB(255, 255, 255))
    {
        GdiFlush();
        for (int i = 0; i < width_ * height_; ++i)
            bits_[i] = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    }
    // The pixel as a colour value 0x00BBGGRR.
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        const DWORD p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // How many pixels of the area match.
    int Count(const TRect& area, const std::function<bool(COLORREF)>& match) const
    {
        int n = 0;
        for (int y = std::max(0L, area.top); y < std::min<LONG>(height_, area.bottom); ++y)
            for (int x = std::max(0L, area.left); x < std::min<LONG>(width_, area.right); ++x)
                n += match(Pixel(x, y)) ? 1 : 0;
        return n;
    }
    int Count(const TRect& area, COLORREF color) const
    {
        return Count(area, [color](COLORREF p) { return p == color; });
    }
    // The smallest rectangle holding every pixel that is not white, empty when none.
    TRect Inked(const TRect& area) const
    {
        TRect box(LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN);
        for (int y = std::max(0L, area.top); y < std::min<LONG>(height_, area.bottom); ++y)
            for (int x = std::max(0L, area.left); x < std::min<LONG>(width_, area.right); ++x)
                if (Pixel(x, y) != RGB(255, 255, 255)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box.left == LONG_MAX ? TRect() : box;
    }
    TRect All() const { return TRect(0, 0, width_, height_); }

private:
    int width_;
    int height_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    HGDIOBJ old_ = nullptr;
    DWORD* bits_ = nullptr;
    TOwned<TCanvas> canvas_;
};

// The arguments a test changes, with the values most callers pass.
struct TArgs {
    TRect Rect{0, 0, 200, 100};
    TCustomImageList* Images = nullptr;
    int HitX = -1;
    int HitY = -1;
    int FocusLink = -1;
    int HoverLink = -1;
    int ShadowOffset = 1;
    bool CheckHotSpot = false;
    bool CheckHeight = false;
    bool Print = false;
    bool Selected = false;
    bool Blink = true;
    bool HoverStyle = false;
    bool WordWrap = true;
    bool CtrlDown = false;
    String CtrlDownID;
    double ResFactor = 1.0;
    TColor URLColor = clBlue;
    TColor HoverColor = clNone;
    TColor HoverFontColor = clNone;
    TColor ShadowColor = clGray;
    String ControlID;
    THTMLPictureCache* PictureCache = nullptr;
    TPictureContainer* PictureContainer = nullptr;
};

struct TResult {
    bool Hit = false;
    String AnchorVal;
    String StripVal;
    String FocusAnchor;
    String AnchorHint;
    int XSize = 0;
    int YSize = 0;
    int HyperLinks = 0;
    int MouseLink = 0;
    TRect HoverRect;
    TRect ControlRect;
    String ControlID;
    String ControlValue;
    String ControlType;
};

inline TResult Draw(TCanvas* canvas, const String& text, const TArgs& a = TArgs())
{
    TResult r;
    r.ControlID = a.ControlID;
    r.Hit = GridHTMLDraw(canvas, text, a.Rect, a.Images, a.HitX, a.HitY, a.FocusLink, a.HoverLink,
                         a.ShadowOffset, a.CheckHotSpot, a.CheckHeight, a.Print, a.Selected, a.Blink,
                         a.HoverStyle, a.WordWrap, a.CtrlDown, a.CtrlDownID, a.ResFactor, a.URLColor,
                         a.HoverColor, a.HoverFontColor, a.ShadowColor, r.AnchorVal, r.StripVal,
                         r.FocusAnchor, r.AnchorHint, r.XSize, r.YSize, r.HyperLinks, r.MouseLink,
                         r.HoverRect, r.ControlRect, r.ControlID, r.ControlValue, r.ControlType,
                         a.PictureCache, a.PictureContainer, nullptr, bdLeftToRight);
    return r;
}

inline TArgs Measure(TRect rect = TRect(0, 0, 200, 100))
{
    TArgs a;
    a.Rect = rect;
    a.CheckHeight = true;
    return a;
}

inline TArgs HitTest(int x, int y, TRect rect = TRect(0, 0, 200, 100))
{
    TArgs a;
    a.Rect = rect;
    a.CheckHotSpot = true;
    a.HitX = x;
    a.HitY = y;
    return a;
}

} // namespace htmltest
