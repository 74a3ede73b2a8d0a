// A 32-bit bitmap to draw on, and a short way to call the grid variant of
// the HTML engine with its 40 arguments and the panel variant with its 33.
#pragma once

#include "Graphics.h"
#include "GridHTML.h"
#include "PanelHTML.h"
#include <functional>

namespace htmltest {

// A white 32-bit bitmap drawn on through its canvas. The canvas font is
// Tahoma 8 without smoothing, so that text pixels have the exact text colour.
class TSurface {
public:
    TSurface(int width, int height) : bitmap_(New<TBitmap>())
    {
        bitmap_->SetPixelFormat(pf32bit);
        bitmap_->SetSize(width, height);
        TFont* font = Canvas()->GetFont();
        font->SetName(L"Tahoma");
        font->SetSize(8);
        font->SetColor(clBlack);
        font->SetQuality(fqNonAntialiased);
        Clear();
    }

    TCanvas* Canvas() const { return bitmap_->GetCanvas(); }
    int Width() const { return bitmap_->GetWidth(); }
    int Height() const { return bitmap_->GetHeight(); }

    void Clear(COLORREF color = RGB(255, 255, 255))
    {
        const DWORD pixel = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
        for (int y = 0; y < Height(); ++y) {
            auto* row = static_cast<DWORD*>(bitmap_->GetScanLine(y));
            std::fill(row, row + Width(), pixel);
        }
    }
    // The pixel as a colour value 0x00BBGGRR.
    COLORREF Pixel(int x, int y) const
    {
        const DWORD p = static_cast<const DWORD*>(bitmap_->GetScanLine(y))[x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // How many pixels of the area match.
    int Count(const TRect& area, const std::function<bool(COLORREF)>& match) const
    {
        int n = 0;
        for (int y = std::max(0L, area.top); y < std::min<LONG>(Height(), area.bottom); ++y)
            for (int x = std::max(0L, area.left); x < std::min<LONG>(Width(), area.right); ++x)
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
        for (int y = std::max(0L, area.top); y < std::min<LONG>(Height(), area.bottom); ++y)
            for (int x = std::max(0L, area.left); x < std::min<LONG>(Width(), area.right); ++x)
                if (Pixel(x, y) != RGB(255, 255, 255)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box.left == LONG_MAX ? TRect() : box;
    }
    TRect All() const { return TRect(0, 0, Width(), Height()); }

private:
    TOwned<TBitmap> bitmap_;
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
    int LineSpacing = 0; // panel only
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

// The panel variant; its hint (the anchor's TITLE) arrives in FocusAnchor.
inline TResult DrawPanel(TCanvas* canvas, const String& text, const TArgs& a = TArgs())
{
    TResult r;
    r.Hit = PanelHTMLDraw(canvas, text, a.Rect, a.Images, a.HitX, a.HitY, a.FocusLink, a.HoverLink,
                          a.ShadowOffset, a.CheckHotSpot, a.CheckHeight, a.Print, a.Selected, a.Blink,
                          a.HoverStyle, a.WordWrap, a.ResFactor, a.URLColor, a.HoverColor,
                          a.HoverFontColor, a.ShadowColor, r.AnchorVal, r.StripVal, r.FocusAnchor,
                          r.XSize, r.YSize, r.HyperLinks, r.MouseLink, r.HoverRect, a.PictureCache,
                          a.PictureContainer, a.LineSpacing, bdLeftToRight);
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
