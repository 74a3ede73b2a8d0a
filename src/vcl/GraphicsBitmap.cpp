// TBitmap: DIB sections in every pixel format, BMP files and resources,
// transparency, and the canvas that draws on the bitmap.
#include "Graphics.h"
#include <algorithm>
#include <cstring>

namespace {

constexpr const wchar_t* InvalidBitmap = L"Bitmap image is not valid";
// Larger images are refused before any allocation (and before overflow).
constexpr long long MaxPixels = 1LL << 28;

int DeviceBitsPerPixel()
{
    TWindowDC screen;
    return GetDeviceCaps(screen.Get(), BITSPIXEL) * GetDeviceCaps(screen.Get(), PLANES);
}

int BitsPerPixel(TPixelFormat format)
{
    static constexpr int bits[] = {0, 1, 4, 8, 16, 16, 24, 32, 0};
    return format == pfDevice ? DeviceBitsPerPixel() : bits[format];
}

int RowBytes(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

// The standard palettes: black and white; the 16 VGA colours; those plus a
// 6x6x6 colour cube and a grey ramp.
void DefaultColorTable(int bpp, RGBQUAD* colors)
{
    static constexpr BYTE vga[16][3] = {
        {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128}, {128, 0, 128},
        {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},
        {255, 255, 0}, {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
    auto set = [&](int i, BYTE r, BYTE g, BYTE b) { colors[i] = RGBQUAD{b, g, r, 0}; };
    if (bpp == 1) {
        set(0, 0, 0, 0);
        set(1, 255, 255, 255);
        return;
    }
    for (int i = 0; i < 16; ++i)
        set(i, vga[i][0], vga[i][1], vga[i][2]);
    if (bpp == 4)
        return;
    int i = 16;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                set(i++, BYTE(r * 51), BYTE(g * 51), BYTE(b * 51));
    for (int grey = 0; i < 256; ++i, ++grey)
        set(i, BYTE(8 + grey * 10), BYTE(8 + grey * 10), BYTE(8 + grey * 10));
}

// A BITMAPINFO with room for a full colour table or the three masks.
struct TDibHeader {
    BITMAPINFOHEADER Header{};
    RGBQUAD Colors[256]{};
    BITMAPINFO* Info() { return reinterpret_cast<BITMAPINFO*>(this); }
    DWORD* Masks() { return reinterpret_cast<DWORD*>(Colors); }
};

TDibHeader MakeDibHeader(int width, int height, TPixelFormat format, const RGBQUAD* colors, int colorCount)
{
    TDibHeader dib;
    dib.Header.biSize = sizeof(BITMAPINFOHEADER);
    dib.Header.biWidth = width;
    dib.Header.biHeight = height; // bottom-up, as the class library's bitmaps are
    dib.Header.biPlanes = 1;
    dib.Header.biBitCount = static_cast<WORD>(BitsPerPixel(format));
    dib.Header.biCompression = BI_RGB;
    int bpp = dib.Header.biBitCount;
    if (bpp <= 8) {
        int count = 1 << bpp;
        if (colors && colorCount > 0) {
            std::copy(colors, colors + std::min(colorCount, count), dib.Colors);
            count = std::min(colorCount, count);
        } else {
            DefaultColorTable(bpp, dib.Colors);
        }
        dib.Header.biClrUsed = static_cast<DWORD>(count);
    } else if (format == pf16bit) {
        dib.Header.biCompression = BI_BITFIELDS;
        dib.Masks()[0] = 0xF800;
        dib.Masks()[1] = 0x07E0;
        dib.Masks()[2] = 0x001F;
    }
    return dib;
}

HBITMAP CreateBitmapOf(int width, int height, TPixelFormat format, void** bits,
                       const RGBQUAD* colors = nullptr, int colorCount = 0)
{
    if (static_cast<long long>(width) * height > MaxPixels)
        throw EOutOfResources(L"Out of system resources");
    HBITMAP bitmap = nullptr;
    *bits = nullptr;
    if (format == pfDevice) {
        TWindowDC screen;
        bitmap = CreateCompatibleBitmap(screen.Get(), width, height);
    } else {
        TDibHeader dib = MakeDibHeader(width, height, format, colors, colorCount);
        bitmap = CreateDIBSection(nullptr, dib.Info(), DIB_RGB_COLORS, bits, nullptr, 0);
    }
    if (!bitmap)
        throw EOutOfResources(L"Out of system resources");
    return bitmap;
}

std::vector<RGBQUAD> ColorTableOf(HBITMAP bitmap)
{
    std::vector<RGBQUAD> colors(256);
    TMemoryDC dc;
    TSelectObject select(dc.Get(), bitmap);
    colors.resize(GetDIBColorTable(dc.Get(), 0, 256, colors.data()));
    return colors;
}

TPixelFormat FormatOf(int bpp, DWORD compression, const DWORD* masks)
{
    bool fields = compression == BI_BITFIELDS;
    switch (bpp) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
        if (!fields || (masks[0] == 0x7C00 && masks[1] == 0x03E0 && masks[2] == 0x001F))
            return pf15bit;
        if (masks[0] == 0xF800 && masks[1] == 0x07E0 && masks[2] == 0x001F)
            return pf16bit;
        return pfCustom;
    case 24: return pf24bit;
    case 32:
        if (!fields || (masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF))
            return pf32bit;
        return pfCustom;
    default: return pfCustom;
    }
}

DWORD ReadDword(const Byte* p)
{
    DWORD v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

// Whether a DIB section keeps its top row first. Wine reports top-down
// sections with a positive height, so ask GDI where pixel (0, 0) lives.
bool IsTopDown(HBITMAP bitmap, const DIBSECTION& ds)
{
    if (ds.dsBmih.biHeight < 0)
        return true;
    int height = ds.dsBm.bmHeight;
    if (height < 2)
        return false;
    auto* firstRow = static_cast<Byte*>(ds.dsBm.bmBits);
    size_t stride = static_cast<size_t>(ds.dsBm.bmWidthBytes);
    Byte* lastRow = firstRow + stride * static_cast<size_t>(height - 1);
    GdiFlush();
    std::vector<Byte> savedFirst(firstRow, firstRow + stride), savedLast(lastRow, lastRow + stride);
    bool topDown = false;
    {
        TMemoryDC dc;
        TSelectObject select(dc.Get(), bitmap);
        COLORREF old = GetPixel(dc.Get(), 0, 0);
        SetPixelV(dc.Get(), 0, 0, old == RGB(0, 0, 0) ? RGB(255, 255, 255) : RGB(0, 0, 0));
        GdiFlush();
        topDown = std::memcmp(savedFirst.data(), firstRow, stride) != 0;
    }
    // Put the probed pixel back exactly, alpha and palette index included.
    std::copy(savedFirst.begin(), savedFirst.end(), firstRow);
    std::copy(savedLast.begin(), savedLast.end(), lastRow);
    return topDown;
}

// Straight alpha becomes premultiplied alpha, which AlphaBlend expects.
void Premultiply(Byte* pixels, size_t count)
{
    for (size_t i = 0; i < count; ++i, pixels += 4) {
        unsigned a = pixels[3];
        for (int c = 0; c < 3; ++c)
            pixels[c] = static_cast<Byte>((pixels[c] * a + 127) / 255);
    }
}

} // namespace

// ---------------------------------------------------------------------------
// The canvas of a bitmap: a memory DC with the bitmap selected, made when
// first drawn on and given up whenever the bitmap's handle is handed out.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* owner) : bitmap_(owner) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext()
    {
        if (!dc_)
            return;
        SetHandle(nullptr);
        if (oldBitmap_)
            SelectObject(dc_.Get(), oldBitmap_);
        oldBitmap_ = nullptr;
        dc_.Reset();
    }

    void Changed() override
    {
        TCanvas::Changed();
        bitmap_->Changed(bitmap_);
    }

protected:
    void CreateHandle() override
    {
        TMemoryDC dc;
        if (!dc)
            throw EOutOfResources(L"Out of system resources");
        HGDIOBJ old = bitmap_->handle_ ? SelectObject(dc.Get(), bitmap_->handle_.Get()) : nullptr;
        dc_ = std::move(dc);
        oldBitmap_ = old;
        SetHandle(dc_.Get());
    }

private:
    TBitmap* bitmap_;
    TMemoryDC dc_;
    HGDIOBJ oldBitmap_ = nullptr;
};

// ---------------------------------------------------------------------------
TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() { FreeContext(); }

TCanvas* TBitmap::GetCanvas()
{
    if (!canvas_)
        canvas_.reset(New<TBitmapCanvas>(this));
    return canvas_.get();
}

void TBitmap::FreeContext()
{
    if (canvas_)
        canvas_->FreeContext();
}

void TBitmap::Dormant() { FreeContext(); }

HBITMAP TBitmap::GetHandle()
{
    FreeContext();
    return handle_.Get();
}

int TBitmap::BytesPerRow() const { return RowBytes(width_, BitsPerPixel(pixelFormat_)); }

void TBitmap::ReplaceHandle(HBITMAP handle, int width, int height, TPixelFormat format, void* bits)
{
    FreeContext();
    mask_.Reset();
    handle_.Reset(handle);
    width_ = handle ? width : 0;
    height_ = handle ? height : 0;
    pixelFormat_ = format;
    bits_ = handle ? bits : nullptr;
}

void TBitmap::Convert(int width, int height, TPixelFormat format)
{
    FreeContext();
    if (width <= 0 || height <= 0) {
        ReplaceHandle(nullptr, 0, 0, format, nullptr);
        return;
    }
    std::vector<RGBQUAD> colors;
    int bpp = BitsPerPixel(format);
    if (handle_ && bits_ && bpp <= 8 && BitsPerPixel(pixelFormat_) == bpp)
        colors = ColorTableOf(handle_.Get());

    void* bits = nullptr;
    TBitmapHandle fresh(CreateBitmapOf(width, height, format, &bits, colors.data(),
                                       static_cast<int>(colors.size())));
    {
        TMemoryDC dest;
        TSelectObject selectDest(dest.Get(), fresh.Get());
        RECT all{0, 0, width, height};
        HBRUSH brush = canvas_ ? canvas_->GetBrush()->GetHandle()
                               : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        ::FillRect(dest.Get(), &all, brush);
        GdiFlush();
        if (handle_) {
            int copyWidth = std::min(width, width_);
            int copyHeight = std::min(height, height_);
            if (format == pixelFormat_ && bits_ && bits) {
                // Same layout: copy the bytes, alpha included, rather than blit.
                int oldStride = BytesPerRow();
                int newStride = RowBytes(width, bpp);
                size_t rowBytes = static_cast<size_t>((copyWidth * bpp + 7) / 8);
                for (int row = 0; row < copyHeight; ++row)
                    std::memcpy(static_cast<Byte*>(bits) + static_cast<size_t>(height - 1 - row) * newStride,
                                static_cast<const Byte*>(bits_) + static_cast<size_t>(height_ - 1 - row) * oldStride,
                                rowBytes);
            } else {
                TMemoryDC source;
                TSelectObject selectSource(source.Get(), handle_.Get());
                BitBlt(dest.Get(), 0, 0, copyWidth, copyHeight, source.Get(), 0, 0, SRCCOPY);
                GdiFlush();
            }
        }
    }
    ReplaceHandle(fresh.Release(), width, height, format, bits);
}

void TBitmap::SetSize(int AWidth, int AHeight)
{
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == width_ && AHeight == height_)
        return;
    Convert(AWidth, AHeight, pixelFormat_);
    Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value)
{
    if (Value == pfCustom)
        throw EInvalidGraphic(L"Invalid pixel format");
    if (Value == pixelFormat_)
        return;
    if (handle_)
        Convert(width_, height_, Value);
    else
        pixelFormat_ = Value;
    Changed(this);
}

void TBitmap::SetMonochrome(bool Value)
{
    if (Value != GetMonochrome())
        SetPixelFormat(Value ? pf1bit : pfDevice);
}

void TBitmap::SetHandleType(TBitmapHandleType Value)
{
    if (Value == GetHandleType())
        return;
    if (Value == bmDDB)
        SetPixelFormat(pfDevice);
    else
        SetPixelFormat(DeviceBitsPerPixel() <= 16 ? pf16bit : DeviceBitsPerPixel() == 24 ? pf24bit : pf32bit);
}

void* TBitmap::GetScanLine(int Row)
{
    if (Row < 0 || Row >= height_ || !handle_)
        throw EInvalidGraphicOperation(L"Scan line index out of range");
    if (!bits_)
        SetHandleType(bmDIB);
    GdiFlush();
    return static_cast<Byte*>(bits_) + static_cast<size_t>(height_ - 1 - Row) * BytesPerRow();
}

void TBitmap::SetAlphaFormat(TAlphaFormat Value)
{
    if (Value == alphaFormat_)
        return;
    alphaFormat_ = Value;
    Changed(this);
}

void TBitmap::SetHandle(HBITMAP Value)
{
    if (Value == handle_.Get())
        return;
    if (!Value) {
        ReplaceHandle(nullptr, 0, 0, pixelFormat_, nullptr);
        Changed(this);
        return;
    }
    DIBSECTION ds{};
    int size = GetObjectW(Value, sizeof(ds), &ds);
    if (size == sizeof(DIBSECTION) && ds.dsBm.bmBits) {
        TPixelFormat format = FormatOf(ds.dsBmih.biBitCount, ds.dsBmih.biCompression, ds.dsBitfields);
        int height = std::abs(ds.dsBmih.biHeight);
        if (!IsTopDown(Value, ds) && format != pfCustom) {
            ReplaceHandle(Value, ds.dsBmih.biWidth, height, format, ds.dsBm.bmBits);
        } else {
            // Top-down rows and unusual masks are redrawn into a plain DIB.
            ReplaceHandle(Value, ds.dsBmih.biWidth, height, pfCustom, nullptr);
            Convert(width_, height_, format == pfCustom ? pf32bit : format);
        }
    } else if (size >= static_cast<int>(sizeof(BITMAP))) {
        if (ds.dsBm.bmBitsPixel == 1) {
            ReplaceHandle(Value, ds.dsBm.bmWidth, ds.dsBm.bmHeight, pfCustom, nullptr);
            Convert(width_, height_, pf1bit);
        } else {
            ReplaceHandle(Value, ds.dsBm.bmWidth, ds.dsBm.bmHeight, pfDevice, nullptr);
        }
    } else {
        throw EInvalidGraphic(InvalidBitmap);
    }
    Changed(this);
}

HBITMAP TBitmap::ReleaseHandle()
{
    FreeContext();
    HBITMAP handle = handle_.Release();
    ReplaceHandle(nullptr, 0, 0, pixelFormat_, nullptr);
    return handle;
}

void TBitmap::Changed(TObject* Sender)
{
    mask_.Reset();
    TGraphic::Changed(Sender);
}

void TBitmap::Assign(TPersistent* Source)
{
    if (!Source) {
        ReplaceHandle(nullptr, 0, 0, pixelFormat_, nullptr);
        Changed(this);
        return;
    }
    auto* src = dynamic_cast<TBitmap*>(Source);
    if (!src) {
        TGraphic::Assign(Source);
        return;
    }
    if (src == this)
        return;
    ReplaceHandle(nullptr, 0, 0, src->pixelFormat_, nullptr);
    if (src->handle_) {
        src->FreeContext();
        std::vector<RGBQUAD> colors;
        if (src->bits_ && BitsPerPixel(src->pixelFormat_) <= 8)
            colors = ColorTableOf(src->handle_.Get());
        void* bits = nullptr;
        TBitmapHandle copy(CreateBitmapOf(src->width_, src->height_, src->pixelFormat_, &bits,
                                          colors.data(), static_cast<int>(colors.size())));
        if (bits && src->bits_) {
            GdiFlush();
            std::memcpy(bits, src->bits_, static_cast<size_t>(src->BytesPerRow()) * src->height_);
        } else {
            TMemoryDC dest, source;
            TSelectObject selectDest(dest.Get(), copy.Get());
            TSelectObject selectSource(source.Get(), src->handle_.Get());
            BitBlt(dest.Get(), 0, 0, src->width_, src->height_, source.Get(), 0, 0, SRCCOPY);
            GdiFlush();
        }
        ReplaceHandle(copy.Release(), src->width_, src->height_, src->pixelFormat_, bits);
    }
    alphaFormat_ = src->alphaFormat_;
    transparentColor_ = src->transparentColor_;
    transparentMode_ = src->transparentMode_;
    TGraphic::SetTransparent(src->GetTransparent());
    Changed(this);
}

// ---------------------------------------------------------------------------
TColor TBitmap::GetTransparentColor()
{
    if (transparentMode_ == tmFixed)
        return transparentColor_;
    if (!handle_)
        return clDefault;
    if (GetMonochrome())
        return clWhite;
    // The flag tells the colour came from the picture itself.
    return GetCanvas()->GetPixels(0, height_ - 1) | 0x02000000;
}

void TBitmap::SetTransparentColor(TColor Value)
{
    if (Value == transparentColor_ && transparentMode_ == (Value == clDefault ? tmAuto : tmFixed))
        return;
    transparentColor_ = Value;
    transparentMode_ = Value == clDefault ? tmAuto : tmFixed;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value)
{
    if (Value == transparentMode_)
        return;
    if (Value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(GetTransparentColor());
}

HBITMAP TBitmap::MakeMask(TColor key)
{
    HBITMAP mask = CreateBitmap(width_, height_, 1, 1, nullptr);
    if (!mask)
        throw EOutOfResources(L"Out of system resources");
    HDC source = GetCanvas()->GetHandle();
    TMemoryDC dest;
    TSelectObject select(dest.Get(), mask);
    // Converting to a monochrome bitmap turns the source's background colour white.
    COLORREF oldBk = SetBkColor(source, ColorToRGB(key) & 0xFFFFFF);
    BitBlt(dest.Get(), 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBk);
    GdiFlush();
    return mask;
}

HBITMAP TBitmap::GetMaskHandle()
{
    if (handle_ && !mask_)
        mask_.Reset(MakeMask(GetTransparentColor()));
    return mask_.Get();
}

void TBitmap::Mask(TColor TransparentColor)
{
    if (!handle_)
        return;
    HBITMAP mask = MakeMask(TransparentColor);
    // The monochrome device bitmap becomes the image, redrawn as a 1-bit DIB.
    int width = width_, height = height_;
    ReplaceHandle(mask, width, height, pfCustom, nullptr);
    Convert(width, height, pf1bit);
    Changed(this);
}

// ---------------------------------------------------------------------------
void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect)
{
    if (!handle_)
        return;
    ACanvas->Changing();
    HDC dest = ACanvas->GetHandle();
    HDC source = GetCanvas()->GetHandle();
    if (pixelFormat_ == pf32bit && alphaFormat_ != afIgnored) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        if (alphaFormat_ == afPremultiplied) {
            AlphaBlend(dest, Rect.left, Rect.top, Rect.Width(), Rect.Height(), source, 0, 0, width_,
                       height_, blend);
        } else {
            TOwned<TBitmap> premultiplied(New<TBitmap>());
            premultiplied->Assign(this);
            Premultiply(static_cast<Byte*>(premultiplied->GetScanLine(height_ - 1)),
                        static_cast<size_t>(width_) * height_);
            AlphaBlend(dest, Rect.left, Rect.top, Rect.Width(), Rect.Height(),
                       premultiplied->GetCanvas()->GetHandle(), 0, 0, width_, height_, blend);
        }
    } else if (GetTransparent()) {
        TransparentBlt(dest, Rect.left, Rect.top, Rect.Width(), Rect.Height(), source, 0, 0, width_,
                       height_, ColorToRGB(GetTransparentColor()) & 0xFFFFFF);
    } else {
        int oldMode = SetStretchBltMode(dest, GetMonochrome() ? BLACKONWHITE : COLORONCOLOR);
        StretchBlt(dest, Rect.left, Rect.top, Rect.Width(), Rect.Height(), source, 0, 0, width_,
                   height_, ACanvas->GetCopyMode());
        SetStretchBltMode(dest, oldMode);
    }
    ACanvas->Changed();
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color)
{
    if (!Bitmap || Bitmap->GetEmpty() || Source.IsEmpty())
        return;
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    HDC source = Bitmap->GetCanvas()->GetHandle();
    int width = Source.Width(), height = Source.Height();

    // Mask: 1 where the source has Color.
    TBitmapHandle mask(CreateBitmap(width, height, 1, 1, nullptr));
    TMemoryDC maskDC;
    TSelectObject selectMask(maskDC.Get(), mask.Get());
    COLORREF oldSourceBk = SetBkColor(source, ColorToRGB(Color) & 0xFFFFFF);
    BitBlt(maskDC.Get(), 0, 0, width, height, source, Source.left, Source.top, SRCCOPY);
    SetBkColor(source, oldSourceBk);

    int oldMode = SetStretchBltMode(handle_, COLORONCOLOR);
    StretchBlt(handle_, Dest.left, Dest.top, Dest.Width(), Dest.Height(), source, Source.left,
               Source.top, width, height, SRCCOPY);
    {
        // DSPDxax takes the brush where the mask is set, the copy elsewhere.
        TMonochromeColors monochrome(handle_);
        constexpr DWORD DSPDxax = 0x00E20746;
        StretchBlt(handle_, Dest.left, Dest.top, Dest.Width(), Dest.Height(), maskDC.Get(), 0, 0, width,
                   height, DSPDxax);
    }
    SetStretchBltMode(handle_, oldMode);
    Changed();
}

// ---------------------------------------------------------------------------
// BMP files.
void TBitmap::LoadDIB(const Byte* dib, size_t size, size_t bitsOffset)
{
    if (size < sizeof(BITMAPCOREHEADER))
        throw EInvalidGraphic(InvalidBitmap);
    DWORD headerSize = ReadDword(dib);
    LONG width = 0, height = 0;
    WORD planes = 0, bpp = 0;
    DWORD compression = BI_RGB, colorsUsed = 0, imageSize = 0;
    size_t colorEntry = sizeof(RGBQUAD);
    DWORD masks[3] = {};
    size_t colorsAt = headerSize;
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        BITMAPCOREHEADER core;
        std::memcpy(&core, dib, sizeof(core));
        width = core.bcWidth;
        height = core.bcHeight;
        planes = core.bcPlanes;
        bpp = core.bcBitCount;
        colorEntry = sizeof(RGBTRIPLE);
    } else if (headerSize >= sizeof(BITMAPINFOHEADER) && headerSize <= size) {
        BITMAPINFOHEADER info;
        std::memcpy(&info, dib, sizeof(info));
        width = info.biWidth;
        height = info.biHeight;
        planes = info.biPlanes;
        bpp = info.biBitCount;
        compression = info.biCompression;
        colorsUsed = info.biClrUsed;
        imageSize = info.biSizeImage;
        if (compression == BI_BITFIELDS) {
            // The masks are part of the later headers, else they follow it.
            const Byte* at = dib + sizeof(BITMAPINFOHEADER);
            if (headerSize == sizeof(BITMAPINFOHEADER)) {
                if (size < headerSize + sizeof(masks))
                    throw EInvalidGraphic(InvalidBitmap);
                colorsAt += sizeof(masks);
            }
            std::memcpy(masks, at, sizeof(masks));
        }
    } else {
        throw EInvalidGraphic(InvalidBitmap);
    }

    bool compressed = compression == BI_RLE8 || compression == BI_RLE4;
    bool validDepth = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    bool validCompression = compression == BI_RGB || (compression == BI_RLE8 && bpp == 8) ||
                            (compression == BI_RLE4 && bpp == 4) ||
                            (compression == BI_BITFIELDS && (bpp == 16 || bpp == 32));
    if (width <= 0 || height == 0 || height == LONG(0x80000000) || planes != 1 || !validDepth ||
        !validCompression || (compressed && height < 0))
        throw EInvalidGraphic(InvalidBitmap);
    int absHeight = std::abs(height);
    if (static_cast<long long>(width) * absHeight > MaxPixels)
        throw EInvalidGraphic(InvalidBitmap);

    int colorCount = 0;
    if (bpp <= 8)
        colorCount = colorsUsed > 0 && colorsUsed < (1u << bpp) ? static_cast<int>(colorsUsed) : 1 << bpp;
    else if (colorsUsed <= 256)
        colorCount = static_cast<int>(colorsUsed); // an optional table that is skipped
    size_t bitsAt = bitsOffset ? bitsOffset : colorsAt + colorCount * colorEntry;
    size_t stride = static_cast<size_t>(RowBytes(width, bpp));
    size_t bitsSize = compressed ? (imageSize ? imageSize : size - std::min(size, bitsAt))
                                 : stride * absHeight;
    if (colorsAt + (bpp <= 8 ? colorCount * colorEntry : 0) > size || bitsAt > size ||
        bitsSize > size - bitsAt)
        throw EInvalidGraphic(InvalidBitmap);

    std::vector<RGBQUAD> colors;
    if (bpp <= 8) {
        colors.resize(static_cast<size_t>(colorCount));
        for (int i = 0; i < colorCount; ++i) {
            const Byte* c = dib + colorsAt + i * colorEntry;
            colors[static_cast<size_t>(i)] = RGBQUAD{c[0], c[1], c[2], 0};
        }
    }

    TPixelFormat format = FormatOf(bpp, compression, masks);
    void* bits = nullptr;
    TBitmapHandle image;
    if (format == pfCustom) {
        // Unusual bit fields: let GDI read them into a 32-bit image.
        TDibHeader dib32;
        dib32.Header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, bpp, BI_BITFIELDS};
        std::copy(masks, masks + 3, dib32.Masks());
        image.Reset(CreateBitmapOf(width, absHeight, pf32bit, &bits));
        TWindowDC screen;
        SetDIBits(screen.Get(), image.Get(), 0, static_cast<UINT>(absHeight), dib + bitsAt, dib32.Info(),
                  DIB_RGB_COLORS);
        format = pf32bit;
    } else {
        image.Reset(CreateBitmapOf(width, absHeight, format, &bits, colors.data(), colorCount));
        if (compressed) {
            TDibHeader rle = MakeDibHeader(width, height, format, colors.data(), colorCount);
            rle.Header.biCompression = compression;
            rle.Header.biSizeImage = static_cast<DWORD>(bitsSize);
            TWindowDC screen;
            SetDIBits(screen.Get(), image.Get(), 0, static_cast<UINT>(absHeight), dib + bitsAt, rle.Info(),
                      DIB_RGB_COLORS);
        } else {
            size_t newStride = static_cast<size_t>(RowBytes(width, BitsPerPixel(format)));
            for (int row = 0; row < absHeight; ++row) {
                // Stored bottom-up unless the height is negative.
                int sourceRow = height > 0 ? row : absHeight - 1 - row;
                std::memcpy(static_cast<Byte*>(bits) + row * newStride, dib + bitsAt + sourceRow * stride,
                            std::min(stride, newStride));
            }
        }
    }
    GdiFlush();
    ReplaceHandle(image.Release(), width, absHeight, format, bits);
    alphaFormat_ = afIgnored;
    Changed(this);
}

void TBitmap::ReadBitmapStream(TStream* Stream, Int64 size)
{
    if (size <= 0) {
        Assign(nullptr);
        return;
    }
    BITMAPFILEHEADER file{};
    if (size < static_cast<Int64>(sizeof(file)))
        throw EInvalidGraphic(InvalidBitmap);
    Stream->ReadBuffer(&file, sizeof(file));
    if (file.bfType != 0x4D42) // "BM"
        throw EInvalidGraphic(InvalidBitmap);
    // Trust the file's own size only when it fits what is there.
    Int64 total = file.bfSize > sizeof(file) && file.bfSize <= size ? file.bfSize : size;
    std::vector<Byte> dib(static_cast<size_t>(total - static_cast<Int64>(sizeof(file))));
    Stream->ReadBuffer(dib.data(), static_cast<Int64>(dib.size()));
    size_t bitsOffset = file.bfOffBits > sizeof(file) && file.bfOffBits < total ? file.bfOffBits - sizeof(file) : 0;
    LoadDIB(dib.data(), dib.size(), bitsOffset);
}

void TBitmap::LoadFromStream(TStream* Stream)
{
    ReadBitmapStream(Stream, Stream->GetSize() - Stream->GetPosition());
}

std::vector<Byte> TBitmap::PackedDIB()
{
    FreeContext();
    TPixelFormat format = pixelFormat_ == pfDevice ? pf32bit : pixelFormat_;
    std::vector<RGBQUAD> colors;
    if (bits_ && BitsPerPixel(format) <= 8)
        colors = ColorTableOf(handle_.Get());
    TDibHeader dib = MakeDibHeader(width_, height_, format, colors.data(), static_cast<int>(colors.size()));
    int bpp = dib.Header.biBitCount;
    size_t tableSize = bpp <= 8 ? dib.Header.biClrUsed * sizeof(RGBQUAD)
                       : dib.Header.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0;
    size_t imageSize = static_cast<size_t>(RowBytes(width_, bpp)) * height_;
    dib.Header.biSizeImage = static_cast<DWORD>(imageSize);
    std::vector<Byte> packed(sizeof(BITMAPINFOHEADER) + tableSize + imageSize);
    std::memcpy(packed.data(), &dib, sizeof(BITMAPINFOHEADER) + tableSize);
    Byte* pixels = packed.data() + sizeof(BITMAPINFOHEADER) + tableSize;
    if (bits_) {
        GdiFlush();
        std::memcpy(pixels, bits_, imageSize);
    } else {
        TWindowDC screen;
        GetDIBits(screen.Get(), handle_.Get(), 0, static_cast<UINT>(height_), pixels, dib.Info(), DIB_RGB_COLORS);
    }
    return packed;
}

void TBitmap::SaveToStream(TStream* Stream)
{
    if (!handle_)
        return;
    std::vector<Byte> packed = PackedDIB();
    auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(packed.data());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfSize = static_cast<DWORD>(sizeof(file) + packed.size());
    file.bfOffBits = static_cast<DWORD>(sizeof(file) + packed.size() - header->biSizeImage);
    Stream->WriteBuffer(&file, sizeof(file));
    Stream->WriteBuffer(packed.data(), static_cast<Int64>(packed.size()));
}

void TBitmap::ReadData(TStream* Stream)
{
    Integer size = 0;
    Stream->ReadBuffer(&size, sizeof(size));
    ReadBitmapStream(Stream, size);
}

void TBitmap::WriteData(TStream* Stream)
{
    TOwned<TMemoryStream> file(New<TMemoryStream>());
    SaveToStream(file.get());
    auto size = static_cast<Integer>(file->GetSize());
    Stream->WriteBuffer(&size, sizeof(size));
    Stream->WriteBuffer(file->Memory(), size);
}

// An RT_BITMAP resource is a DIB without the file header.
void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& ResName)
{
    TOwned<TResourceStream> res(New<TResourceStream>(Instance, ResName, RT_BITMAP));
    LoadDIB(static_cast<const Byte*>(res->Memory()), static_cast<size_t>(res->GetSize()), 0);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID)
{
    LoadFromResourceName(Instance, L"#" + IntToStr(ResID));
}

void TBitmap::LoadFromClipboardFormat(Word AFormat, HANDLE AData, HPALETTE)
{
    if (!AData)
        throw EInvalidGraphic(InvalidBitmap);
    if (AFormat == CF_BITMAP) {
        // The clipboard keeps its own bitmap; take a copy as a DIB.
        HBITMAP copy = static_cast<HBITMAP>(CopyImage(AData, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!copy)
            throw EInvalidGraphic(InvalidBitmap);
        SetHandle(copy);
    } else if (AFormat == CF_DIB) {
        TGlobalLock lock(AData);
        if (!lock.Data())
            throw EInvalidGraphic(InvalidBitmap);
        LoadDIB(static_cast<const Byte*>(lock.Data()), lock.Size(), 0);
    } else {
        TGraphic::LoadFromClipboardFormat(AFormat, AData, nullptr);
    }
}

void TBitmap::SaveToClipboardFormat(Word& AFormat, HANDLE& AData, HPALETTE& APalette)
{
    AFormat = CF_DIB;
    AData = nullptr;
    APalette = nullptr;
    if (!handle_)
        return;
    std::vector<Byte> packed = PackedDIB();
    TGlobalMemory memory(GMEM_MOVEABLE, packed.size());
    TGlobalLock lock(memory.Get());
    if (!lock.Data())
        throw EOutOfResources(L"Out of system resources");
    std::memcpy(lock.Data(), packed.data(), packed.size());
    AData = memory.Release();
}
