// Direct row access to 32-bit bitmaps, shared by the bitmap utility files.
#pragma once

#include "sGraphUtils.h"

struct TPixelRows {
    Byte* Base = nullptr;
    std::ptrdiff_t Stride = 0;
    int Width = 0;
    int Height = 0;

    explicit operator bool() const { return Base != nullptr; }
    Cardinal* Row(int Y) const { return reinterpret_cast<Cardinal*>(Base + Y * Stride); }
    bool Contains(int X, int Y) const { return X >= 0 && Y >= 0 && X < Width && Y < Height; }
};

// Empty for null, a bitmap that is not 32-bit or one without rows.
TPixelRows PixelRows32(TBitmap* Bmp);
