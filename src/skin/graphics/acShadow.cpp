#include "acShadow.h"
#include "SysUtils.h"
#include "sGraphUtilsRows.h"
#include <algorithm>
#include <cmath>

TBitmap* MakeShadowBitmap(Cardinal Color, int Radius, int Offset, int ExtraHeight, int ExtraWidth, int Blur,
                          bool GreyMode)
{
    Radius = std::max(Radius, 0);
    Offset = std::max(Offset, 0);
    ExtraHeight = std::max(ExtraHeight, 0);
    ExtraWidth = std::max(ExtraWidth, 0);
    const int width = 2 * Radius + ExtraWidth + 1;
    const int height = 2 * Radius + ExtraHeight + Offset + 1;
    TBitmap* bmp = MakeBitmap32(width, height);
    TPixelRows rows = PixelRows32(bmp);
    if (!rows)
        return bmp;

    const Cardinal background = GreyMode ? 0xFFFFFFFFu : 0;
    for (int y = 0; y < height; ++y)
        std::fill_n(rows.Row(y), width, background);

    int inner = 0;
    if (Blur > 0 && Blur < Radius)
        inner = Radius - Blur;
    else
        Blur = Radius;
    const int alphaIn = Color >> 24;
    const int red = Color & 0xFF, green = (Color >> 8) & 0xFF, blue = (Color >> 16) & 0xFF;
    const int centreY = Offset + Radius;

    for (int y = Offset; y <= centreY; ++y) {
        Cardinal* row = rows.Row(y);
        for (int x = 0; x <= Radius; ++x) {
            double d = std::hypot(x - Radius, y - centreY);
            if (d > Radius)
                continue;
            int strength = 255;
            if (GreyMode) {
                if (d > inner)
                    strength = static_cast<int>(Round((Radius + 1 - d) * ((1 - (d - inner) / (Blur + 1)) * 255) / (Blur + 1)));
                int h = std::clamp(strength, 0, 255);
                Cardinal g = static_cast<Cardinal>((255 * (255 - h) + h * alphaIn) >> 8);
                row[x] = 0xFF000000u | (g << 16) | (g << 8) | g;
            } else {
                if (d > inner)
                    strength = static_cast<int>(
                        Round((Radius + 1 - d) * (1 - (d - inner) / (Radius - inner)) / (Radius - inner) * 255));
                // Near the inner edge the formula overshoots a byte.
                int w = std::clamp(strength, 0, 255);
                Cardinal alpha = static_cast<Cardinal>((alphaIn * w) >> 8);
                auto channel = [&](int c) { return static_cast<Cardinal>((c * 255 * static_cast<int>(alpha)) >> 16); };
                row[x] = (alpha << 24) | (channel(red) << 16) | (channel(green) << 8) | channel(blue);
            }
        }
        // Mirror to the right and below the middle.
        for (int x = 0; x < Radius; ++x)
            row[2 * Radius - x] = row[x];
        std::copy_n(row, 2 * Radius + 1, rows.Row(2 * centreY + ExtraHeight - y));
    }
    for (int y = centreY + 1; y <= centreY + ExtraHeight; ++y)
        std::copy_n(rows.Row(centreY), 2 * Radius + 1, rows.Row(y));

    if (ExtraWidth > 0)
        for (int y = 0; y < height; ++y) {
            Cardinal* row = rows.Row(y);
            std::copy_backward(row + Radius + 1, row + 2 * Radius + 1, row + width);
            std::fill_n(row + Radius + 1, ExtraWidth, row[Radius]);
        }
    return bmp;
}
