// One owner type per kind of GDI and USER handle, so that every handle the
// class library creates is released on every path, exceptions included.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <utility>

// A GDI object that we created (font, pen, brush, bitmap, region, palette).
template <class H>
class TGdiHandle {
public:
    TGdiHandle() = default;
    explicit TGdiHandle(H handle) : handle_(handle) {}
    ~TGdiHandle() { Reset(); }
    TGdiHandle(TGdiHandle&& other) noexcept : handle_(other.Release()) {}
    TGdiHandle& operator=(TGdiHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    TGdiHandle(const TGdiHandle&) = delete;
    TGdiHandle& operator=(const TGdiHandle&) = delete;

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Gives up ownership without deleting.
    H Release() { return std::exchange(handle_, nullptr); }
    void Reset(H handle = nullptr)
    {
        H old = std::exchange(handle_, handle);
        if (old && old != handle)
            DeleteObject(old);
    }

private:
    H handle_ = nullptr;
};

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

// A window's DC (or the screen's, for a null window) from GetDC.
class TWindowDC {
public:
    explicit TWindowDC(HWND wnd = nullptr) : wnd_(wnd), dc_(GetDC(wnd)) {}
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
class TMemoryDC {
public:
    explicit TMemoryDC(HDC compatibleWith = nullptr) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~TMemoryDC() { Reset(); }
    TMemoryDC(TMemoryDC&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
    TMemoryDC& operator=(TMemoryDC&& other) noexcept
    {
        if (this != &other) {
            Reset();
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset()
    {
        if (dc_)
            DeleteDC(std::exchange(dc_, nullptr));
    }

private:
    HDC dc_ = nullptr;
};

// An icon or cursor that we created (CreateIconIndirect, LoadImage without LR_SHARED).
class TIconHandle {
public:
    TIconHandle() = default;
    explicit TIconHandle(HICON icon) : icon_(icon) {}
    ~TIconHandle() { Reset(); }
    TIconHandle(TIconHandle&& other) noexcept : icon_(other.Release()) {}
    TIconHandle& operator=(TIconHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    TIconHandle(const TIconHandle&) = delete;
    TIconHandle& operator=(const TIconHandle&) = delete;
    HICON Get() const { return icon_; }
    explicit operator bool() const { return icon_ != nullptr; }
    HICON Release() { return std::exchange(icon_, nullptr); }
    void Reset(HICON icon = nullptr)
    {
        HICON old = std::exchange(icon_, icon);
        if (old && old != icon)
            DestroyIcon(old);
    }

private:
    HICON icon_ = nullptr;
};

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
class TGlobalMemory {
public:
    TGlobalMemory() = default;
    TGlobalMemory(UINT flags, SIZE_T size) : mem_(GlobalAlloc(flags, size)) {}
    // Takes over a block that we allocated.
    explicit TGlobalMemory(HGLOBAL mem) : mem_(mem) {}
    ~TGlobalMemory()
    {
        if (mem_)
            GlobalFree(mem_);
    }
    TGlobalMemory(const TGlobalMemory&) = delete;
    TGlobalMemory& operator=(const TGlobalMemory&) = delete;
    HGLOBAL Get() const { return mem_; }
    explicit operator bool() const { return mem_ != nullptr; }
    HGLOBAL Release() { return std::exchange(mem_, nullptr); }

private:
    HGLOBAL mem_ = nullptr;
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
class TWindowHandle {
public:
    TWindowHandle() = default;
    explicit TWindowHandle(HWND wnd) : wnd_(wnd) {}
    ~TWindowHandle() { Reset(); }
    TWindowHandle(const TWindowHandle&) = delete;
    TWindowHandle& operator=(const TWindowHandle&) = delete;
    HWND Get() const { return wnd_; }
    explicit operator bool() const { return wnd_ != nullptr; }
    void Reset(HWND wnd = nullptr)
    {
        HWND old = std::exchange(wnd_, wnd);
        if (old && old != wnd)
            DestroyWindow(old);
    }

private:
    HWND wnd_ = nullptr;
};

// A comctl32 image list that we created (not one shared with another owner).
class TImageListHandle {
public:
    TImageListHandle() = default;
    explicit TImageListHandle(HIMAGELIST list) : list_(list) {}
    ~TImageListHandle() { Reset(); }
    TImageListHandle(TImageListHandle&& other) noexcept : list_(other.Release()) {}
    TImageListHandle& operator=(TImageListHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    TImageListHandle(const TImageListHandle&) = delete;
    TImageListHandle& operator=(const TImageListHandle&) = delete;
    HIMAGELIST Get() const { return list_; }
    explicit operator bool() const { return list_ != nullptr; }
    HIMAGELIST Release() { return std::exchange(list_, nullptr); }
    void Reset(HIMAGELIST list = nullptr)
    {
        HIMAGELIST old = std::exchange(list_, list);
        if (old && old != list)
            ImageList_Destroy(old);
    }

private:
    HIMAGELIST list_ = nullptr;
};
