// One owner type per kind of GDI and USER handle, so that every handle the
// class library creates is released on every path, exceptions included.
// Those that own one handle are TUniqueHandle kinds (src/rtl/UniqueHandle.h);
// the rest restore a DC's state or pair a handle with the window it came from.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <utility>
#include "UniqueHandle.h"

// A GDI object that we created (font, pen, brush, bitmap, region, palette).
template <class H>
struct TGdiObjectTraits : TNullHandleTraits<H> {
    static void Close(H object) noexcept { DeleteObject(object); }
};

template <class H>
using TGdiHandle = TUniqueHandle<TGdiObjectTraits<H>>;

using TFontHandle = TGdiHandle<HFONT>;
using TPenHandle = TGdiHandle<HPEN>;
using TBrushHandle = TGdiHandle<HBRUSH>;
using TBitmapHandle = TGdiHandle<HBITMAP>;
using TRegionHandle = TGdiHandle<HRGN>;
using TPaletteHandle = TGdiHandle<HPALETTE>;

// Selects an object into a DC and puts the previous one back.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~TSelectObject()
    {
        if (old_)
            SelectObject(dc_, old_);
    }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Selects a palette into a DC (palettes do not go through SelectObject).
class TSelectPalette {
public:
    TSelectPalette(HDC dc, HPALETTE palette, bool background = true)
        : dc_(dc), old_(palette ? SelectPalette(dc, palette, background) : nullptr)
    {
        if (old_)
            RealizePalette(dc);
    }
    ~TSelectPalette()
    {
        if (old_)
            SelectPalette(dc_, old_, TRUE);
    }
    TSelectPalette(const TSelectPalette&) = delete;
    TSelectPalette& operator=(const TSelectPalette&) = delete;

private:
    HDC dc_;
    HPALETTE old_;
};

// Narrows a DC's clipping to a rectangle (logical coordinates) and gives
// the DC its earlier clip region back, or none if it had none.
class TClipToRect {
public:
    TClipToRect(HDC dc, const RECT& r) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0))
    {
        hadClip_ = GetClipRgn(dc, saved_.Get()) == 1;
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    ~TClipToRect() { SelectClipRgn(dc_, hadClip_ ? saved_.Get() : nullptr); }
    TClipToRect(const TClipToRect&) = delete;
    TClipToRect& operator=(const TClipToRect&) = delete;

private:
    HDC dc_;
    TRegionHandle saved_;
    bool hadClip_ = false;
};

// Saves a DC's state (objects, modes, clipping) and restores it.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~TSavedDC()
    {
        if (saved_)
            RestoreDC(dc_, saved_);
    }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

// Black text on white for the life of the object: a monochrome source then
// blits onto the DC as all-zero or all-one bits, which mask operations need.
class TMonochromeColors {
public:
    explicit TMonochromeColors(HDC dc)
        : dc_(dc), oldText_(SetTextColor(dc, RGB(0, 0, 0))), oldBk_(SetBkColor(dc, RGB(255, 255, 255)))
    {
    }
    ~TMonochromeColors()
    {
        SetTextColor(dc_, oldText_);
        SetBkColor(dc_, oldBk_);
    }
    TMonochromeColors(const TMonochromeColors&) = delete;
    TMonochromeColors& operator=(const TMonochromeColors&) = delete;

private:
    HDC dc_;
    COLORREF oldText_;
    COLORREF oldBk_;
};

// A window's DC (or the screen's, for a null window) from GetDC, or with
// the non-client area from GetWindowDC.
class TWindowDC {
public:
    explicit TWindowDC(HWND wnd = nullptr, bool wholeWindow = false)
        : wnd_(wnd), dc_(wholeWindow ? GetWindowDC(wnd) : GetDC(wnd))
    {
    }
    // Takes over a DC that GetDCEx gave for the window.
    TWindowDC(HWND wnd, HDC dc) : wnd_(wnd), dc_(dc) {}
    ~TWindowDC()
    {
        if (dc_)
            ReleaseDC(wnd_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND wnd_;
    HDC dc_;
};

// The DC of a WM_PAINT, from BeginPaint.
class TPaintDC {
public:
    explicit TPaintDC(HWND wnd) : wnd_(wnd), dc_(BeginPaint(wnd, &ps_)) {}
    ~TPaintDC()
    {
        if (dc_)
            EndPaint(wnd_, &ps_);
    }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Info() const { return ps_; }

private:
    HWND wnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A memory DC compatible with another DC (the screen for null).
struct TMemoryDCTraits : TNullHandleTraits<HDC> {
    static void Close(HDC dc) noexcept { DeleteDC(dc); }
};

class TMemoryDC : public TUniqueHandle<TMemoryDCTraits> {
public:
    explicit TMemoryDC(HDC compatibleWith = nullptr)
        : TUniqueHandle<TMemoryDCTraits>(CreateCompatibleDC(compatibleWith))
    {
    }
};

// An icon or cursor that we created (CreateIconIndirect, LoadImage without LR_SHARED).
struct TIconTraits : TNullHandleTraits<HICON> {
    static void Close(HICON icon) noexcept { DestroyIcon(icon); }
};
using TIconHandle = TUniqueHandle<TIconTraits>;

// The two bitmaps GetIconInfo hands out, which the caller must delete.
struct TIconInfo {
    explicit TIconInfo(HICON icon)
    {
        ICONINFO info{};
        if (icon && GetIconInfo(icon, &info)) {
            Valid = true;
            IsIcon = info.fIcon != FALSE;
            HotSpot = {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
            Color.Reset(info.hbmColor);
            Mask.Reset(info.hbmMask);
        }
    }
    bool Valid = false;
    bool IsIcon = true;
    POINT HotSpot{};
    TBitmapHandle Color;
    TBitmapHandle Mask;
};

// Global memory (clipboard data); freed unless ownership passed on.
struct TGlobalMemoryTraits : TNullHandleTraits<HGLOBAL> {
    static void Close(HGLOBAL mem) noexcept { GlobalFree(mem); }
};

class TGlobalMemory : public TUniqueHandle<TGlobalMemoryTraits> {
public:
    TGlobalMemory() = default;
    TGlobalMemory(UINT flags, SIZE_T size) : TUniqueHandle<TGlobalMemoryTraits>(GlobalAlloc(flags, size)) {}
    // Takes over a block that we allocated.
    explicit TGlobalMemory(HGLOBAL mem) : TUniqueHandle<TGlobalMemoryTraits>(mem) {}
};

// GlobalLock for the lifetime of the object.
class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL mem) : mem_(mem), data_(mem ? GlobalLock(mem) : nullptr) {}
    ~TGlobalLock()
    {
        if (data_)
            GlobalUnlock(mem_);
    }
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;
    void* Data() const { return data_; }
    SIZE_T Size() const { return data_ ? GlobalSize(mem_) : 0; }

private:
    HGLOBAL mem_;
    void* data_;
};

// A window that we created and destroy (hidden helper windows).
struct TWindowTraits : TNullHandleTraits<HWND> {
    static void Close(HWND wnd) noexcept { DestroyWindow(wnd); }
};
using TWindowHandle = TUniqueHandle<TWindowTraits>;

// A comctl32 image list that we created (not one shared with another owner).
struct TImageListTraits : TNullHandleTraits<HIMAGELIST> {
    static void Close(HIMAGELIST list) noexcept { ImageList_Destroy(list); }
};
using TImageListHandle = TUniqueHandle<TImageListTraits>;
