#include "sGraphUtilsRows.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>

namespace {

inline int ByteOf(Cardinal Value, int N)
{
    return static_cast<int>((Value >> (8 * N)) & 0xFF);
}

inline Cardinal WithBytes(Cardinal Top, int B2, int B1, int B0)
{
    return (Top & 0xFF000000u) | (static_cast<Cardinal>(B2) << 16) | (static_cast<Cardinal>(B1) << 8) |
           static_cast<Cardinal>(B0);
}

inline int Grey(int B2, int B1, int B0)
{
    return static_cast<int>(Round(0.299 * B2 + 0.587 * B1 + 0.114 * B0));
}

inline int ClampByte(double Value)
{
    return static_cast<int>(std::clamp(Value, 0.0, 255.0));
}

} // namespace

Cardinal MixColors(Cardinal A, Cardinal B, Byte Weight)
{
    int w = Weight;
    auto mix = [&](int n) { return (ByteOf(A, n) * w + ByteOf(B, n) * (255 - w)) >> 8; };
    return WithBytes(A, mix(2), mix(1), mix(0));
}

Cardinal ChangeBrightness(Cardinal Color, int Amount)
{
    if (Amount == 0)
        return Color;
    auto change = [&](int n) {
        int c = ByteOf(Color, n);
        return Amount > 0 ? std::min(255, c + ((c * Amount) >> 8)) : std::max(0, c - ((c * -Amount) >> 8));
    };
    return WithBytes(Color, change(2), change(1), change(0));
}

Cardinal SaturateValue(int Amount, Cardinal Value)
{
    if (Amount == 0)
        return Value;
    int g = Grey(ByteOf(Value, 2), ByteOf(Value, 1), ByteOf(Value, 0));
    int k = Amount + 255;
    auto saturate = [&](int n) { return std::clamp(k * ByteOf(Value, n) - Amount * g, 0, 65535) >> 8; };
    return WithBytes(Value, saturate(2), saturate(1), saturate(0));
}

Cardinal ChangeSaturation(Cardinal Color, int Amount)
{
    return Amount == 0 ? Color : SaturateValue(Amount, Color);
}

Cardinal HueShiftValue(int Angle, Cardinal Value)
{
    int r = ByteOf(Value, 2), g = ByteOf(Value, 1), b = ByteOf(Value, 0);
    int v = std::max({r, g, b});
    int delta = v - std::min({r, g, b});
    double s = v == 0 ? 0.0 : static_cast<double>(delta) / v;
    if (s == 0)
        return Value;
    double k = 60.0 / delta;
    double h = v == r ? k * (g - b) : v == g ? 120 + k * (b - r) : 240 + k * (r - g);
    if (h < 0)
        h += 360;
    // A negative shift must still land on the colour wheel.
    int shifted = (static_cast<int>(Trunc(Angle + h)) % 360 + 360) % 360;
    int i = static_cast<int>(Trunc(shifted / 60.0));
    double f = shifted / 60.0 - i;
    int p = ClampByte((1 - s) * v);
    int q = ClampByte((1 - s * f) * v);
    int t = ClampByte((1 - (1 - f) * s) * v);
    switch (i) {
    case 0: return WithBytes(Value, v, t, p);
    case 1: return WithBytes(Value, q, v, p);
    case 2: return WithBytes(Value, p, v, t);
    case 3: return WithBytes(Value, p, q, v);
    case 4: return WithBytes(Value, t, p, v);
    default: return WithBytes(Value, v, p, q);
    }
}

Cardinal ChangeHue(int Angle, Cardinal Color)
{
    return Angle == 0 ? Color : SwapRedBlue(HueShiftValue(Angle, SwapRedBlue(Color)));
}

Cardinal ColorToneValue(Cardinal Value, Cardinal Tone)
{
    int m = std::max({ByteOf(Value, 0), ByteOf(Value, 1), ByteOf(Value, 2)});
    return WithBytes(Value, (m * ByteOf(Tone, 0)) >> 8, (m * ByteOf(Tone, 1)) >> 8,
                     (m * ByteOf(Tone, 2)) >> 8);
}

Cardinal ReverseColorBytes(Cardinal Value)
{
    if (Value >= 0x1000000u)
        return Value;
    return (Value & 0xFF) * 65536 + ((Value >> 8) & 0xFF) * 256 + (Value >> 16);
}

// ---------------------------------------------------------------------------
void ForEachBitmapPixel(TBitmap* Bmp, TPixelProc PixelProc, Integer Param, TColor KeyColor)
{
    TPixelRows rows = PixelRows32(Bmp);
    if (!rows || !PixelProc)
        return;
    const bool keyed = KeyColor != clNone;
    const Cardinal key = SwapRedBlue(static_cast<Cardinal>(KeyColor));
    for (int y = 0; y < rows.Height; ++y) {
        Cardinal* row = rows.Row(y);
        for (int x = 0; x < rows.Width; ++x)
            if (!keyed || row[x] != key)
                PixelProc(row[x], Param);
    }
}

void BrightnessPixelProc(Cardinal& Pixel, Integer Param)
{
    Pixel = ChangeBrightness(Pixel, Param);
}

void SaturationPixelProc(Cardinal& Pixel, Integer Param)
{
    Pixel = SaturateValue(Param, Pixel);
}

void HuePixelProc(Cardinal& Pixel, Integer Param)
{
    Pixel = HueShiftValue(Param, Pixel);
}

void TonePixelProc(Cardinal& Pixel, Integer Param)
{
    Pixel = ColorToneValue(Pixel, static_cast<Cardinal>(Param));
}

void OpaquePixelProc(Cardinal& Pixel, Integer)
{
    Pixel |= 0xFF000000u;
}

namespace {

void GreyPixelProc(Cardinal& Pixel, Integer)
{
    int g = Grey(ByteOf(Pixel, 2), ByteOf(Pixel, 1), ByteOf(Pixel, 0));
    Pixel = WithBytes(Pixel, g, g, g);
}

} // namespace

void MakeGrayscale(TBitmap* Bmp)
{
    ForEachBitmapPixel(Bmp, GreyPixelProc, 0, clNone);
}

void MakeGrayscaleExceptKey(TBitmap* Bmp, TColor Key)
{
    ForEachBitmapPixel(Bmp, GreyPixelProc, 0, Key);
}
