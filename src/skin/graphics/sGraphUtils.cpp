#include "sGraphUtilsRows.h"
#include "PlatformProbe.h"
#include "acntUtils.h"
#include "ProcBinding.h"
#include "UniqueHandle.h"
#include <algorithm>
#include <utility>

namespace {

TModuleHandle gdiModule;
TModuleHandle userModule;

HDC CanvasDC(TBitmap* Bmp)
{
    return Bmp->GetCanvas()->GetHandle();
}

} // namespace

TPixelRows PixelRows32(TBitmap* Bmp)
{
    TPixelRows rows;
    if (!Bmp || Bmp->GetPixelFormat() != pf32bit)
        return rows;
    if (!GetScanlineBase(Bmp, rows.Base, rows.Stride) || Bmp->GetWidth() <= 0) {
        rows.Base = nullptr;
        return rows;
    }
    rows.Width = Bmp->GetWidth();
    rows.Height = Bmp->GetHeight();
    return rows;
}

// ---------------------------------------------------------------------------
Cardinal SwapRedBlue(Cardinal Value)
{
    return (Value & 0xFF00FF00u) | ((Value & 0xFFu) << 16) | ((Value >> 16) & 0xFFu);
}

Cardinal SwapBytes32(Cardinal Value)
{
    return (Value >> 24) | ((Value >> 8) & 0xFF00u) | ((Value << 8) & 0xFF0000u) | (Value << 24);
}

void SwapBytes32Array(Cardinal* P, int Count)
{
    for (int i = 0; i < Count; ++i)
        P[i] = SwapBytes32(P[i]);
}

Cardinal GetBitmap32Pixel(TBitmap* Bitmap, int X, int Y)
{
    TPixelRows rows = PixelRows32(Bitmap);
    return rows && rows.Contains(X, Y) ? rows.Row(Y)[X] : 0;
}

void SetBitmap32Pixel(TBitmap* Bitmap, int X, int Y, Cardinal Value)
{
    TPixelRows rows = PixelRows32(Bitmap);
    if (rows && rows.Contains(X, Y))
        rows.Row(Y)[X] = Value;
}

void PaintSolidRect(HDC DC, const TRect& R, TColor Color)
{
    TSavedDC saved(DC);
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(Color)));
    TSelectObject select(DC, brush.Get());
    FillRect(DC, &R, brush.Get());
}

TCacheInfo MakeCacheInfo(TBitmap* Bmp, int X, int Y)
{
    TCacheInfo info;
    info.Bmp = Bmp;
    info.X = X;
    info.Y = Y;
    info.FillColor = clFuchsia;
    info.FillRect = TRect();
    info.Ready = true;
    return info;
}

// ---------------------------------------------------------------------------
TBitmap* MakeBitmap32(int Width, int Height)
{
    TBitmap* bmp = New<TBitmap>();
    try {
        bmp->SetPixelFormat(pf32bit);
        bmp->SetHandleType(bmDIB);
        bmp->SetSize(std::max(Width, 0), std::max(Height, 0));
    } catch (...) {
        // A size the system cannot give leaves an empty bitmap, never none.
        try {
            bmp->SetSize(0, 0);
        } catch (...) {
        }
    }
    return bmp;
}

TBitmap* MakeBitmap32ForRect(const TRect& R)
{
    return MakeBitmap32(GetRectWidth(R, true), GetRectHeight(R, true));
}

TBitmap* MakeBitmap32OfSize(const TPoint& Size)
{
    return MakeBitmap32(Size.x, Size.y);
}

TBitmap* MakeBitmap32Like(TBitmap* Bmp)
{
    return MakeBitmap32(Bmp->GetWidth(), Bmp->GetHeight());
}

TBitmap* MakeBitmap32ForForm(const TCustomForm* Form)
{
    return MakeBitmap32(Form->GetWidth(), Form->GetHeight());
}

TBitmap* MakeBitmapLike(TBitmap* Bmp)
{
    TBitmap* bmp = New<TBitmap>();
    bmp->SetPixelFormat(Bmp->GetPixelFormat());
    bmp->SetSize(Bmp->GetWidth(), Bmp->GetHeight());
    return bmp;
}

void DuplicateBitmap(TBitmap* Target, TBitmap* Source)
{
    Target->SetPixelFormat(Source->GetPixelFormat());
    Target->SetHandleType(Source->GetHandleType());
    Target->SetSize(Source->GetWidth(), Source->GetHeight());
    BitBlt(CanvasDC(Target), 0, 0, Source->GetWidth(), Source->GetHeight(), CanvasDC(Source), 0, 0,
           SRCCOPY);
}

bool GetScanlineBase(TBitmap* Bmp, Byte*& Base, std::ptrdiff_t& Stride)
{
    if (!Bmp || Bmp->GetHeight() <= 0 || Bmp->GetWidth() <= 0) {
        Base = nullptr;
        Stride = 0;
        return false;
    }
    Base = static_cast<Byte*>(Bmp->GetScanLine(0));
    Stride = Bmp->GetHeight() > 1 ? static_cast<Byte*>(Bmp->GetScanLine(1)) - Base : 0;
    return Base != nullptr;
}

HICON CreateIconFromBitmap(TBitmap* Bmp)
{
    TBitmapHandle mask(CreateBitmap(Bmp->GetWidth(), Bmp->GetHeight(), 1, 1, nullptr));
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.Get();
    info.hbmColor = Bmp->GetHandle();
    return CreateIconIndirect(&info);
}

void SetFileDataBitmap32(TacExtFileData& Data)
{
    if (Data.Bmp)
        Data.Bmp->SetPixelFormat(pf32bit);
}

TBitmap* MaskedImageToAlpha(TBitmap* Bmp, const TRect& R)
{
    int w = GetRectWidth(R, true);
    int h = GetRectHeight(R, true) / 2;
    if (w == 0 || h == 0)
        return nullptr;
    TBitmap* result = MakeBitmap32(w, h);
    BitBlt(CanvasDC(result), 0, 0, w, h, CanvasDC(Bmp), R.left, R.top, SRCCOPY);
    TPixelRows target = PixelRows32(result);
    TPixelRows source = PixelRows32(Bmp);
    if (!target)
        return result;
    for (int y = 0; y < h; ++y) {
        Cardinal* row = target.Row(y);
        for (int x = 0; x < w; ++x) {
            int sx = R.left + x, sy = R.top + h + y;
            // A mask row the image does not have counts as black: opaque.
            Cardinal maskPixel = source && source.Contains(sx, sy) ? source.Row(sy)[sx] : 0;
            Cardinal alpha = 255 - ((maskPixel >> 16) & 0xFF);
            row[x] = (row[x] & 0x00FFFFFFu) | (alpha << 24);
        }
    }
    return result;
}

TBitmap* AlphaToMaskedImage(TBitmap* Bmp)
{
    int w = Bmp->GetWidth(), h = Bmp->GetHeight();
    if (w <= 0 || h <= 0)
        return nullptr;
    TBitmap* result = MakeBitmap32(w, 2 * h);
    BitBlt(CanvasDC(result), 0, 0, w, h, CanvasDC(Bmp), 0, 0, SRCCOPY);
    TPixelRows target = PixelRows32(result);
    TPixelRows source = PixelRows32(Bmp);
    if (!target)
        return result;
    for (int y = 0; y < h; ++y) {
        Cardinal* row = target.Row(h + y);
        for (int x = 0; x < w; ++x) {
            Cardinal alpha = source ? source.Row(y)[x] >> 24 : 255;
            Cardinal grey = 255 - alpha;
            row[x] = 0xFF000000u | (grey << 16) | (grey << 8) | grey;
        }
    }
    return result;
}

void CopyBitmapChannel(TBitmap* Target, TBitmap* Source, int Channel)
{
    TPixelRows target = PixelRows32(Target), source = PixelRows32(Source);
    if (!target || !source || Channel < 0 || Channel > 3)
        return;
    int w = std::min(target.Width, source.Width), h = std::min(target.Height, source.Height);
    for (int y = 0; y < h; ++y) {
        Byte* t = reinterpret_cast<Byte*>(target.Row(y));
        const Byte* s = reinterpret_cast<const Byte*>(source.Row(y));
        for (int x = 0; x < w; ++x)
            t[4 * x + Channel] = s[4 * x + Channel];
    }
}

void TransferChannel8(TBitmap* Bmp32, TBitmap* Bmp8, int Channel, bool ToBytes)
{
    TPixelRows rows32 = PixelRows32(Bmp32);
    Byte* base8 = nullptr;
    std::ptrdiff_t stride8 = 0;
    if (!rows32 || !Bmp8 || Bmp8->GetPixelFormat() != pf8bit || Channel < 0 || Channel > 3 ||
        !GetScanlineBase(Bmp8, base8, stride8))
        return;
    int w = std::min(rows32.Width, Bmp8->GetWidth()), h = std::min(rows32.Height, Bmp8->GetHeight());
    for (int y = 0; y < h; ++y) {
        Byte* p32 = reinterpret_cast<Byte*>(rows32.Row(y));
        Byte* p8 = base8 + y * stride8;
        for (int x = 0; x < w; ++x) {
            if (ToBytes)
                p8[x] = p32[4 * x + Channel];
            else
                p32[4 * x + Channel] = p8[x];
        }
    }
}

void MixBitmaps32(TBitmap* Target, TBitmap* First, TBitmap* Second, Byte Weight, TBitmap* Mask)
{
    TPixelRows target = PixelRows32(Target), first = PixelRows32(First), second = PixelRows32(Second);
    if (!target || !first || !second || first.Width != second.Width || first.Height != second.Height)
        return;
    int w = first.Width, h = first.Height;
    if (target.Width < w || target.Height < h)
        return;
    TPixelRows mask = PixelRows32(Mask);
    if (Mask && (!mask || mask.Width < w || mask.Height < h))
        return;
    for (int y = 0; y < h; ++y) {
        Byte* t = reinterpret_cast<Byte*>(target.Row(y));
        const Byte* s1 = reinterpret_cast<const Byte*>(first.Row(y));
        const Byte* s2 = reinterpret_cast<const Byte*>(second.Row(y));
        const Byte* m = mask ? reinterpret_cast<const Byte*>(mask.Row(y)) : nullptr;
        for (int i = 0; i < 4 * w; i += 4) {
            for (int c = 0; c < 3; ++c) {
                int a = s1[i + c], b = s2[i + c];
                int value = m ? ((a - b) * m[i + c] + b * 256) >> 8
                              : b - ((Weight * (b - a) + 255) >> 8);
                t[i + c] = static_cast<Byte>(value);
            }
        }
    }
}

// ---------------------------------------------------------------------------
TRects CollectKeyRects(TBitmap* Bmp, Cardinal Key)
{
    TRects rects;
    TPixelRows rows = PixelRows32(Bmp);
    if (!rows)
        return rects;
    const Cardinal key = Key & 0xFFFFFFu;
    for (int y = 0; y < rows.Height; ++y) {
        const Cardinal* row = rows.Row(y);
        int runStart = -1;
        for (int x = 0; x <= rows.Width; ++x) {
            bool match = x < rows.Width && row[x] == key;
            if (match && runStart < 0)
                runStart = x;
            else if (!match && runStart >= 0) {
                rects.push_back({runStart, y, x, y + 1});
                runStart = -1;
            }
        }
    }
    return rects;
}

HRGN MakeBitmapRegion(TBitmap* Bmp, Cardinal Key)
{
    HRGN region = CreateRectRgn(0, 0, Bmp->GetWidth(), Bmp->GetHeight());
    for (const TRect& r : CollectKeyRects(Bmp, Key)) {
        TRegionHandle run(CreateRectRgn(r.left, r.top, r.right, r.bottom));
        CombineRgn(region, region, run.Get(), RGN_DIFF);
    }
    return region;
}

// ---------------------------------------------------------------------------
TLayoutBindings& LayoutBindings()
{
    static TLayoutBindings bindings;
    return bindings;
}

void SetDCLayout(HDC DC, DWORD Layout)
{
    if (auto setLayout = LayoutBindings().SetLayout)
        setLayout(DC, Layout);
}

DWORD GetDCLayout(HDC DC)
{
    auto getLayout = LayoutBindings().GetLayout;
    return getLayout ? getLayout(DC) : 0;
}

bool LayeredWindowsAvailable()
{
    return LayoutBindings().UpdateLayeredWindow != nullptr && PlatformProbe().LayeredWindows;
}

void sGraphUtils_Initialize()
{
    TLayoutBindings& bindings = LayoutBindings();
    if (!gdiModule)
        gdiModule.Reset(LoadLibraryW(L"gdi32.dll"));
    BindProc(bindings.SetLayout, gdiModule.Get(), "SetLayout");
    BindProc(bindings.GetLayout, gdiModule.Get(), "GetLayout");
    if (!bindings.UpdateLayeredWindow) {
        if (!userModule)
            userModule.Reset(LoadLibraryW(L"user32.dll"));
        BindProc(bindings.UpdateLayeredWindow, userModule.Get(), "UpdateLayeredWindow");
        BindProc(bindings.SetLayeredWindowAttributes, userModule.Get(), "SetLayeredWindowAttributes");
    }
}

void sGraphUtils_Finalize()
{
    LayoutBindings() = {};
    gdiModule.Reset();
    userModule.Reset();
}
