// Small helpers for tests that check 32-bit bitmaps at chosen pixels.
#pragma once

#include "acntUtils.h"
#include "sGraphUtils.h"
#include <initializer_list>

inline TOwned<TBitmap> Bitmap32(int width, int height, Cardinal fill = 0)
{
    TOwned<TBitmap> bmp(MakeBitmap32(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetBitmap32Pixel(bmp.get(), x, y, fill);
    return bmp;
}

// Channels within a tolerance, as hex text in a failure message.
inline ::testing::AssertionResult PixelNear(Cardinal actual, Cardinal expected, int tolerance = 0)
{
    for (int shift = 0; shift < 32; shift += 8) {
        int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (a - e > tolerance || e - a > tolerance) {
            char text[64];
            snprintf(text, sizeof(text), "pixel %08X, expected %08X", actual, expected);
            return ::testing::AssertionFailure() << text;
        }
    }
    return ::testing::AssertionSuccess();
}
