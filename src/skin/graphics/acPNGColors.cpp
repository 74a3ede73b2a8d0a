// The colour manager: row converters between sample layouts, gamma, and
// the GDI palettes of indexed and grey targets.
#include "acPNG.h"
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const wchar_t InvalidBitsPerSample[] = L"Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
const wchar_t InvalidSamplesPerPixel[] = L"Sample count per pixel does not correspond to the given color scheme.";
const wchar_t IndexedNotSupported[] = L"Conversion between indexed and non-indexed pixel formats is not supported.";
const wchar_t NoConversionMethod[] = L"Color conversion failed. Could not find a proper method.";

inline Word Swap16(Word v) { return static_cast<Word>((v >> 8) | (v << 8)); }
inline Word Read16(const Byte* p) { Word v; std::memcpy(&v, p, 2); return v; }
inline void Write16(Byte* p, Word v) { std::memcpy(p, &v, 2); }
inline Byte ClampByte(int v) { return static_cast<Byte>(v < 0 ? 0 : v > 255 ? 255 : v); }
inline int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

bool IsRGBFamily(TColorScheme s) { return s == csRGB || s == csRGBA; }
bool IsBGRFamily(TColorScheme s) { return s == csBGR || s == csBGRA; }

// Target pixels in turn, with the rotating interlace mask: Write runs for
// the pixels whose bit is set, with the count of pixels written so far.
template <class F>
void ForMaskedPixels(Cardinal Count, Byte Mask, F Write)
{
    if (Mask == 0xFF) {
        for (Cardinal i = 0; i < Count; ++i)
            Write(i, i);
        return;
    }
    Byte bit = 0x80;
    Cardinal taken = 0;
    for (Cardinal i = 0; i < Count; ++i) {
        if (Mask & bit)
            Write(i, taken++);
        bit = bit == 1 ? 0x80 : static_cast<Byte>(bit >> 1);
    }
}

struct TPaletteBuffer {
    WORD Version = 0x300;
    WORD Count = 0;
    PALETTEENTRY Entries[256]{};
};

HPALETTE MakePalette(const TPaletteBuffer& buffer)
{
    return CreatePalette(reinterpret_cast<const LOGPALETTE*>(&buffer));
}

} // namespace

struct TColorManager::TRowArgs {
    const Byte* Source[4];
    int SourceCount;
    Byte* Target;
    Cardinal Count;
    Byte Mask;
};

TColorManager::TColorManager() { SetGamma(1.0f, 2.2f); }

void TColorManager::Error(const String& Msg) { throw EColorConversionError(Msg); }

void TColorManager::SetSourceBitsPerSample(Byte Value)
{
    if (Value != 1 && Value != 2 && Value != 4 && Value != 8 && Value != 16)
        Error(InvalidBitsPerSample);
    FChanged |= StoreChanged(FSourceBPS, Value);
}

void TColorManager::SetTargetBitsPerSample(Byte Value)
{
    if (Value != 1 && Value != 2 && Value != 4 && Value != 8 && Value != 16)
        Error(InvalidBitsPerSample);
    FChanged |= StoreChanged(FTargetBPS, Value);
}

void TColorManager::SetSourceSamplesPerPixel(Byte Value)
{
    if (Value == 0 || Value > 4)
        Error(InvalidSamplesPerPixel);
    FChanged |= StoreChanged(FSourceSPP, Value);
}

void TColorManager::SetTargetSamplesPerPixel(Byte Value)
{
    if (Value == 0 || Value > 4)
        Error(InvalidSamplesPerPixel);
    FChanged |= StoreChanged(FTargetSPP, Value);
}

void TColorManager::SetSourceColorScheme(TColorScheme Value) { FChanged |= StoreChanged(FSourceScheme, Value); }
void TColorManager::SetTargetColorScheme(TColorScheme Value) { FChanged |= StoreChanged(FTargetScheme, Value); }

namespace {
TPixelFormat PixelFormatOf(int samples, int bits)
{
    switch (samples) {
    case 1:
        return bits == 1 ? pf1bit : bits >= 2 && bits <= 4 ? pf4bit : bits >= 8 && bits <= 16 ? pf8bit : pfCustom;
    case 3:
        return bits >= 1 && bits <= 5 ? pf15bit : pf24bit;
    case 4:
        return bits >= 8 ? pf32bit : pfCustom;
    default:
        return pfCustom;
    }
}
} // namespace

TPixelFormat TColorManager::GetSourcePixelFormat() const { return PixelFormatOf(FSourceSPP, FSourceBPS); }
TPixelFormat TColorManager::GetTargetPixelFormat() const { return PixelFormatOf(FTargetSPP, FTargetBPS); }

// ---------------------------------------------------------------------------
void TColorManager::PrepareConversion()
{
    FRowConversion = nullptr;
    bool sourceIndexed = FSourceScheme == csIndexed || FSourceScheme == csG || FSourceScheme == csGA;
    bool targetIndexed = FTargetScheme == csIndexed || FTargetScheme == csG;
    if (sourceIndexed != targetIndexed)
        Error(IndexedNotSupported);
    auto withAlpha = [](TColorScheme s) { return s == csGA || s == csRGBA || s == csBGRA; };
    if (withAlpha(FSourceScheme))
        SourceOptions.Include(coAlpha);
    else
        SourceOptions.Exclude(coAlpha);
    if (withAlpha(FTargetScheme))
        TargetOptions.Include(coAlpha);
    else
        TargetOptions.Exclude(coAlpha);

    bool targetColour = IsRGBFamily(FTargetScheme) || IsBGRFamily(FTargetScheme);
    bool either16 = FSourceBPS == 16 || FTargetBPS == 16;
    switch (FSourceScheme) {
    case csIndexed:
        if (FSourceBPS == 16 && FTargetBPS == 16)
            FRowConversion = &TColorManager::RowIndexed16To16;
        else if (FSourceBPS == 16)
            FRowConversion = &TColorManager::RowIndexed16ToPacked;
        else if (FTargetBPS == 16)
            FRowConversion = &TColorManager::RowIndexedPackedTo16;
        else
            FRowConversion = &TColorManager::RowPackedToPacked;
        break;
    case csG:
        if (!either16)
            FRowConversion = &TColorManager::RowPackedToPacked;
        else if (FSourceBPS >= 8 && FTargetBPS >= 8)
            FRowConversion = &TColorManager::RowGray;
        break;
    case csGA:
        if ((FSourceBPS == 8 || FSourceBPS == 16) && (FTargetBPS == 8 || FTargetBPS == 16))
            FRowConversion = &TColorManager::RowGray;
        break;
    case csRGB:
    case csRGBA:
    case csBGR:
    case csBGRA:
        if (targetColour) {
            FSwapRedBlue = (IsRGBFamily(FSourceScheme) && IsBGRFamily(FTargetScheme)) ||
                           (IsBGRFamily(FSourceScheme) && IsRGBFamily(FTargetScheme));
            FRowConversion = &TColorManager::RowChannels;
        }
        break;
    case csCMYK:
        if (targetColour)
            FRowConversion = &TColorManager::RowCMYK;
        break;
    case csCIELab:
        if (targetColour)
            FRowConversion = &TColorManager::RowCIELab;
        break;
    case csYCbCr:
    case csPhotoYCC:
        if (targetColour) {
            BuildYCbCrTables();
            FRowConversion = &TColorManager::RowYCbCr;
        }
        break;
    default:
        break;
    }
    FChanged = false;
}

void TColorManager::ConvertRow(std::initializer_list<const void*> Source, void* Target, Cardinal Count, Byte Mask)
{
    if (FChanged)
        PrepareConversion();
    if (!FRowConversion)
        Error(NoConversionMethod);
    TRowArgs row{};
    for (const void* p : Source) {
        if (row.SourceCount == 4)
            break;
        row.Source[row.SourceCount++] = static_cast<const Byte*>(p);
    }
    if (row.SourceCount == 0 || !row.Source[0] || !Target)
        return;
    row.Target = static_cast<Byte*>(Target);
    row.Count = Count;
    row.Mask = Mask;
    (this->*FRowConversion)(row);
}

// ---------------------------------------------------------------------------
// Indexed and grey samples of 1 to 8 bits, packed most significant first.
void TColorManager::RowPackedToPacked(const TRowArgs& Row)
{
    int sourceBits = FSourceBPS, targetBits = FTargetBPS;
    if (sourceBits > 8 || targetBits > 8)
        return;
    if (sourceBits == targetBits && Row.Mask == 0xFF) {
        std::memcpy(Row.Target, Row.Source[0], (static_cast<size_t>(Row.Count) * sourceBits + 7) / 8);
        return;
    }
    const Byte* source = Row.Source[0];
    Byte* target = Row.Target;
    const unsigned sourceMax = (1u << sourceBits) - 1, targetMax = (1u << targetBits) - 1;
    ForMaskedPixels(Row.Count, Row.Mask, [&](Cardinal column, Cardinal taken) {
        size_t sourceBit = static_cast<size_t>(taken) * sourceBits;
        unsigned sample = (source[sourceBit >> 3] >> (8 - sourceBits - (sourceBit & 7))) & sourceMax;
        unsigned value = static_cast<Word>(sample * targetMax) / sourceMax;
        size_t targetBit = static_cast<size_t>(column) * targetBits;
        int shift = 8 - targetBits - static_cast<int>(targetBit & 7);
        Byte& byte = target[targetBit >> 3];
        byte = static_cast<Byte>((byte & ~(targetMax << shift)) | (value << shift));
    });
}

void TColorManager::RowIndexed16To16(const TRowArgs& Row)
{
    bool swap = SourceOptions.Contains(coNeedByteSwap);
    if (!swap && Row.Mask == 0xFF) {
        std::memcpy(Row.Target, Row.Source[0], static_cast<size_t>(Row.Count) * 2);
        return;
    }
    ForMaskedPixels(Row.Count, Row.Mask, [&](Cardinal column, Cardinal taken) {
        Word v = Read16(Row.Source[0] + 2 * static_cast<size_t>(taken));
        Write16(Row.Target + 2 * static_cast<size_t>(column), swap ? Swap16(v) : v);
    });
}

void TColorManager::RowIndexed16ToPacked(const TRowArgs& Row)
{
    int targetBits = FTargetBPS;
    if (targetBits > 8)
        return;
    bool swap = SourceOptions.Contains(coNeedByteSwap);
    const unsigned targetMax = (1u << targetBits) - 1;
    ForMaskedPixels(Row.Count, Row.Mask, [&](Cardinal column, Cardinal taken) {
        Word v = Read16(Row.Source[0] + 2 * static_cast<size_t>(taken));
        unsigned value = (swap ? Swap16(v) : v) * targetMax / 65535u;
        size_t targetBit = static_cast<size_t>(column) * targetBits;
        int shift = 8 - targetBits - static_cast<int>(targetBit & 7);
        Byte& byte = Row.Target[targetBit >> 3];
        byte = static_cast<Byte>((byte & ~(targetMax << shift)) | (value << shift));
    });
}

void TColorManager::RowIndexedPackedTo16(const TRowArgs& Row)
{
    int sourceBits = FSourceBPS;
    if (sourceBits > 8)
        return;
    bool swap = SourceOptions.Contains(coNeedByteSwap);
    const unsigned sourceMax = (1u << sourceBits) - 1;
    ForMaskedPixels(Row.Count, Row.Mask, [&](Cardinal column, Cardinal taken) {
        size_t sourceBit = static_cast<size_t>(taken) * sourceBits;
        unsigned sample = (Row.Source[0][sourceBit >> 3] >> (8 - sourceBits - (sourceBit & 7))) & sourceMax;
        auto value = static_cast<Word>(sample * 65535u / sourceMax);
        Write16(Row.Target + 2 * static_cast<size_t>(column), swap ? Swap16(value) : value);
    });
}

// Grey without gamma: grey images get theirs through the palette.
void TColorManager::RowGray(const TRowArgs& Row)
{
    int sourceBits = FSourceBPS, targetBits = FTargetBPS;
    if ((sourceBits != 8 && sourceBits != 16) || (targetBits != 8 && targetBits != 16))
        return;
    bool swap = SourceOptions.Contains(coNeedByteSwap);
    size_t step = SourceOptions.Contains(coAlpha) ? 2 : 1;
    const Byte* source = Row.Source[0];
    Byte* target = Row.Target;
    ForMaskedPixels(Row.Count, Row.Mask, [&](Cardinal column, Cardinal taken) {
        size_t s = static_cast<size_t>(taken) * step;
        if (sourceBits == 8 && targetBits == 8) {
            target[column] = source[s];
        } else if (sourceBits == 8) {
            Write16(target + 2 * static_cast<size_t>(column), static_cast<Word>(source[s] * 65535u / 255u));
        } else {
            Word v = Read16(source + 2 * s);
            if (swap)
                v = Swap16(v);
            if (targetBits == 8)
                target[column] = static_cast<Byte>(v * 255u / 65535u);
            else
                Write16(target + 2 * static_cast<size_t>(column), v);
        }
    });
}

// RGB and BGR sources, interleaved or planar, into RGB or BGR targets.
void TColorManager::RowChannels(const TRowArgs& Row)
{
    int sourceBits = FSourceBPS, targetBits = FTargetBPS;
    if ((sourceBits != 8 && sourceBits != 16) || (targetBits != 8 && targetBits != 16))
        return;
    bool planar = Row.SourceCount > 1;
    bool sourceAlpha = SourceOptions.Contains(coAlpha), targetAlpha = TargetOptions.Contains(coAlpha);
    bool copyAlpha = sourceAlpha && targetAlpha && (!planar || Row.SourceCount > 3);
    size_t sourceStep = planar ? 1 : sourceAlpha ? 4 : 3;
    size_t targetStep = targetAlpha ? 4 : 3;
    bool swap = SourceOptions.Contains(coNeedByteSwap);
    bool gamma = TargetOptions.Contains(coApplyGamma);
    // One table per row for the 8-bit colour components.
    Byte colourTable[256];
    for (int i = 0; i < 256; ++i)
        colourTable[i] = gamma ? FGammaTable[i] : static_cast<Byte>(i);

    const int order[3] = {FSwapRedBlue ? 2 : 0, 1, FSwapRedBlue ? 0 : 2};
    const size_t sourceSize = sourceBits / 8, targetSize = targetBits / 8;
    auto sampleAt = [&](int component, size_t pixel) -> const Byte* {
        if (planar)
            return Row.Source[component] + pixel * sourceSize;
        return Row.Source[0] + (pixel * sourceStep + component) * sourceSize;
    };
    // 8 to 8 without gaps is the common case of the PNG reader.
    if (sourceBits == 8 && targetBits == 8 && !planar && Row.Mask == 0xFF) {
        const Byte* s = Row.Source[0];
        Byte* t = Row.Target;
        for (Cardinal i = 0; i < Row.Count; ++i, s += sourceStep, t += targetStep) {
            t[0] = colourTable[s[order[0]]];
            t[1] = colourTable[s[1]];
            t[2] = colourTable[s[order[2]]];
            if (copyAlpha)
                t[3] = s[3];
        }
        return;
    }
    auto convert = [&](const Byte* s, Byte* t, bool isAlpha) {
        if (sourceBits == 8 && targetBits == 8) {
            *t = isAlpha ? *s : colourTable[*s];
        } else if (sourceBits == 16 && targetBits == 8) {
            Word v = Read16(s);
            if (swap)
                v = Swap16(v);
            auto b = static_cast<Byte>(v * 255u / 65535u);
            *t = isAlpha ? b : colourTable[b];
        } else if (sourceBits == 8) {
            Byte b = isAlpha ? *s : colourTable[*s];
            auto v = static_cast<Word>(b * 65535u / 255u);
            Write16(t, swap ? Swap16(v) : v);
        } else {
            Word v = Read16(s);
            Write16(t, swap ? Swap16(v) : v);
        }
    };
    ForMaskedPixels(Row.Count, Row.Mask, [&](Cardinal column, Cardinal taken) {
        Byte* t = Row.Target + column * targetStep * targetSize;
        for (int c = 0; c < 3; ++c)
            convert(sampleAt(order[c], taken), t + c * targetSize, false);
        if (copyAlpha)
            convert(sampleAt(3, taken), t + 3 * targetSize, true);
    });
}

void TColorManager::RowCMYK(const TRowArgs& Row)
{
    int sourceBits = FSourceBPS, targetBits = FTargetBPS;
    if ((sourceBits != 8 && sourceBits != 16) || (targetBits != 8 && targetBits != 16))
        return;
    bool planar = Row.SourceCount >= 4;
    bool swap = SourceOptions.Contains(coNeedByteSwap);
    size_t targetStep = TargetOptions.Contains(coAlpha) ? 4 : 3;
    size_t sourceSize = sourceBits / 8, targetSize = targetBits / 8;
    bool rgbTarget = IsRGBFamily(FTargetScheme);
    auto sample = [&](int component, size_t pixel) -> unsigned {
        const Byte* p = planar ? Row.Source[component] + pixel * sourceSize
                               : Row.Source[0] + (pixel * 4 + component) * sourceSize;
        if (sourceSize == 1)
            return *p;
        Word v = Read16(p);
        return swap ? Swap16(v) : v;
    };
    ForMaskedPixels(Row.Count, Row.Mask, [&](Cardinal column, Cardinal taken) {
        unsigned k = sample(3, taken);
        Byte* t = Row.Target + column * targetStep * targetSize;
        // Blue from yellow, green from magenta, red from cyan.
        for (int c = 0; c < 3; ++c) {
            unsigned ink = sample(2 - c, taken);
            int slot = rgbTarget ? 2 - c : c;
            if (sourceBits == 16 && targetBits == 16) {
                auto v = static_cast<Word>(ink * k / 65535u - ink - k - 1);
                Write16(t + slot * 2, v);
                continue;
            }
            int value = sourceBits == 8
                            ? static_cast<int>(ink * k / 255u) - static_cast<int>(ink) - static_cast<int>(k) + 255
                            : 255 - static_cast<int>((ink + k - ink * static_cast<unsigned long long>(k) / 65535u) *
                                                     255u / 65535u);
            Byte b = ClampByte(value);
            if (targetBits == 8)
                t[slot] = b;
            else
                Write16(t + slot * 2, static_cast<Word>(b * 65535u / 255u));
        }
    });
}

void TColorManager::RowCIELab(const TRowArgs& Row)
{
    int sourceBits = FSourceBPS, targetBits = FTargetBPS;
    if ((sourceBits != 8 && sourceBits != 16) || (targetBits != 8 && targetBits != 16))
        return;
    bool planar = Row.SourceCount >= 3;
    bool swap = SourceOptions.Contains(coNeedByteSwap);
    bool byteRange = SourceOptions.Contains(coLabByteRange), chromaOffset = SourceOptions.Contains(coLabChromaOffset);
    size_t targetStep = TargetOptions.Contains(coAlpha) ? 4 : 3;
    size_t sourceSize = sourceBits / 8, targetSize = targetBits / 8;
    bool rgbTarget = IsRGBFamily(FTargetScheme);
    auto raw = [&](int component, size_t pixel) -> unsigned {
        const Byte* p = planar ? Row.Source[component] + pixel * sourceSize
                               : Row.Source[0] + (pixel * 3 + component) * sourceSize;
        if (sourceSize == 1)
            return *p;
        Word v = Read16(p);
        return swap ? Swap16(v) : v;
    };
    ForMaskedPixels(Row.Count, Row.Mask, [&](Cardinal column, Cardinal taken) {
        double L = sourceSize == 1 ? raw(0, taken) : raw(0, taken) / 257.0;
        if (byteRange)
            L /= 2.55;
        auto chroma = [&](int component) {
            unsigned v = raw(component, taken) & 0xFF;
            return chromaOffset ? static_cast<double>(static_cast<int>(v) - 128)
                                : static_cast<double>(static_cast<signed char>(v));
        };
        double a = chroma(1), b = chroma(2), X, Y, Z;
        if (L < 7.9996) {
            Y = L / 903.3;
            X = Y + a / 3893.5;
            Z = Y - b / 1557.4;
        } else {
            double f = (L + 16) / 116;
            X = std::pow(f + a / 500, 3);
            Y = f * f * f;
            Z = std::pow(f - b / 200, 3);
        }
        double blue = 0.099 * X - 0.198 * Y + 1.099 * Z;
        double green = -0.952 * X + 1.893 * Y + 0.059 * Z;
        double red = 2.998 * X - 1.458 * Y - 0.541 * Z;
        const double bgr[3] = {blue, green, red};
        Byte* t = Row.Target + column * targetStep * targetSize;
        for (int c = 0; c < 3; ++c) {
            Byte v = ClampByte(RoundEven(bgr[c] * 255));
            int slot = rgbTarget ? 2 - c : c;
            if (targetBits == 8)
                t[slot] = v;
            else
                Write16(t + slot * 2, static_cast<Word>(v * 65535u / 255u));
        }
    });
}

void TColorManager::BuildYCbCrTables()
{
    FCrToRedTable.assign(256, 0);
    FCbToBlueTable.assign(256, 0);
    FCrToGreenTable.assign(256, 0);
    FCbToGreenTable.assign(256, 0);
    const double red = FYCbCrCoefficients[0], green = FYCbCrCoefficients[1], blue = FYCbCrCoefficients[2];
    bool photo = FSourceScheme == csPhotoYCC;
    for (int i = 0; i < 256; ++i) {
        int crDelta = i - (photo ? 137 : 128), cbDelta = i - (photo ? 156 : 128);
        FCrToRedTable[i] = RoundEven((2 - 2 * red) * crDelta);
        FCbToBlueTable[i] = RoundEven((2 - 2 * blue) * cbDelta);
        FCrToGreenTable[i] = -RoundEven(red * (2 - 2 * red) / green * crDelta);
        FCbToGreenTable[i] = -RoundEven(blue * (2 - 2 * blue) / green * cbDelta);
    }
}

void TColorManager::RowYCbCr(const TRowArgs& Row)
{
    int sourceBits = FSourceBPS, targetBits = FTargetBPS;
    if ((sourceBits != 8 && sourceBits != 16) || (targetBits != 8 && targetBits != 16))
        return;
    bool planar = Row.SourceCount >= 3;
    bool swap = SourceOptions.Contains(coNeedByteSwap);
    size_t targetStep = TargetOptions.Contains(coAlpha) ? 4 : 3;
    size_t sourceSize = sourceBits / 8, targetSize = targetBits / 8;
    bool rgbTarget = IsRGBFamily(FTargetScheme);
    auto raw = [&](int component, size_t pixel) -> unsigned {
        const Byte* p = planar ? Row.Source[component] + pixel * sourceSize
                               : Row.Source[0] + (pixel * 3 + component) * sourceSize;
        if (sourceSize == 1)
            return *p;
        Word v = Read16(p);
        return swap ? Swap16(v) : v;
    };
    ForMaskedPixels(Row.Count, Row.Mask, [&](Cardinal column, Cardinal taken) {
        Byte* t = Row.Target + column * targetStep * targetSize;
        int blue, green, red;
        if (sourceBits == 16 && targetBits == 16) {
            double y = 1.3584 * raw(0, taken);
            double cb = static_cast<double>(raw(1, taken)) - 40092, cr = static_cast<double>(raw(2, taken)) - 35209;
            blue = RoundEven(y + 2.2179 * cb);
            green = RoundEven(y - 0.9271435 * cr - 0.4302726 * cb);
            red = RoundEven(y + 1.8215 * cr);
        } else {
            auto byteOf = [&](int c) { return sourceBits == 8 ? raw(c, taken) : raw(c, taken) * 255u / 65535u; };
            int y = static_cast<int>(byteOf(0));
            unsigned cb = byteOf(1), cr = byteOf(2);
            blue = ClampByte(y + FCbToBlueTable[cb]);
            green = ClampByte(y + FCbToGreenTable[cb] + FCrToGreenTable[cr]);
            red = ClampByte(y + FCrToRedTable[cr]);
        }
        const int bgr[3] = {blue, green, red};
        for (int c = 0; c < 3; ++c) {
            int slot = rgbTarget ? 2 - c : c;
            if (targetBits == 8)
                t[slot] = static_cast<Byte>(bgr[c]);
            else if (sourceBits == 16)
                Write16(t + slot * 2, static_cast<Word>(bgr[c]));
            else
                Write16(t + slot * 2, static_cast<Word>(bgr[c] * 65535 / 255));
        }
    });
}

// ---------------------------------------------------------------------------
void TColorManager::SetGamma(float MainGamma, float DisplayGamma)
{
    FMainGamma = MainGamma > 0 ? MainGamma : 1.0f;
    FDisplayGamma = DisplayGamma > 0 ? DisplayGamma : 2.2f;
    double exponent = 1.0 / (static_cast<double>(FMainGamma) * FDisplayGamma);
    int sourceHigh = FSourceBPS >= 8 ? 255 : (1 << FSourceBPS) - 1;
    int targetHigh = FTargetBPS >= 8 ? 255 : (1 << FTargetBPS) - 1;
    for (int i = 0; i <= sourceHigh; ++i)
        FGammaTable[i] = ClampByte(RoundEven(std::pow(static_cast<double>(i) / sourceHigh, exponent) * targetHigh));
}

HPALETTE TColorManager::CreateGrayscalePalette(bool MinimumIsWhite)
{
    int levels = 1 << std::min(FTargetBPS * FTargetSPP, 8);
    int step = 255 / (levels - 1);
    bool gamma = TargetOptions.Contains(coApplyGamma);
    TPaletteBuffer palette;
    palette.Count = static_cast<WORD>(levels);
    for (int i = 0; i < levels; ++i) {
        Byte grey = gamma ? FGammaTable[step * i] : static_cast<Byte>(step * i);
        palette.Entries[MinimumIsWhite ? levels - 1 - i : i] = PALETTEENTRY{grey, grey, grey, 0};
    }
    return MakePalette(palette);
}

HPALETTE TColorManager::CreateColorPalette(std::initializer_list<const void*> Data, int DataFormat, int ColorCount,
                                           bool BlueFirst)
{
    const Byte* planes[3] = {};
    int planeCount = 0;
    for (const void* p : Data)
        if (planeCount < 3)
            planes[planeCount++] = static_cast<const Byte*>(p);
    ColorCount = std::clamp(ColorCount, 0, 256);
    bool sixteen = DataFormat >= 4;
    bool planarData = DataFormat == 2 || DataFormat == 3 || DataFormat == 6 || DataFormat == 7;
    if (DataFormat < 0 || DataFormat > 7 || !planes[0] || (planarData && planeCount < 3))
        ColorCount = 0;
    bool gamma = TargetOptions.Contains(coApplyGamma);
    bool swap = SourceOptions.Contains(coNeedByteSwap);
    auto component = [&](const Byte* p) -> Byte {
        Byte v;
        if (sixteen) {
            Word w = Read16(p);
            v = static_cast<Byte>((swap ? Swap16(w) : w) * 255u / 65535u);
        } else {
            v = *p;
        }
        return gamma ? FGammaTable[v] : v;
    };
    // Interleaved 8-bit data is red first unless BlueFirst; 16-bit the other way round.
    bool redFirst = sixteen ? BlueFirst : !BlueFirst;
    size_t size = sixteen ? 2 : 1;
    size_t entryStep = (DataFormat == 1 || DataFormat == 5) ? 4 : 3;
    std::vector<PALETTEENTRY> colours(static_cast<size_t>(ColorCount));
    for (int i = 0; i < ColorCount; ++i) {
        Byte rgb[3];
        for (int c = 0; c < 3; ++c) {
            const Byte* p = planarData ? planes[c] + i * size : planes[0] + (i * entryStep + c) * size;
            rgb[c] = component(p);
        }
        if (!planarData && !redFirst)
            std::swap(rgb[0], rgb[2]);
        colours[static_cast<size_t>(i)] = PALETTEENTRY{rgb[0], rgb[1], rgb[2], 0};
    }

    TPaletteBuffer palette;
    auto colourAt = [&](long long index) {
        // An image may use indexes its colour list does not give: black.
        return index < ColorCount ? colours[static_cast<size_t>(index)] : PALETTEENTRY{0, 0, 0, 0};
    };
    if (FTargetBPS <= 8) {
        int levels = 1 << FTargetBPS;
        palette.Count = static_cast<WORD>(levels);
        if (FTargetBPS != FSourceBPS) {
            long long sourceMax = (1LL << FSourceBPS) - 1, targetMax = levels - 1;
            for (int n = 0; n < levels; ++n)
                palette.Entries[n] = colourAt(n * sourceMax / targetMax);
        } else {
            for (int n = 0; n < levels; ++n)
                palette.Entries[n] = colourAt(n);
        }
    } else {
        palette.Count = static_cast<WORD>(std::max(ColorCount, 1));
        for (int n = 0; n < palette.Count; ++n)
            palette.Entries[n] = colourAt(n);
    }
    return MakePalette(palette);
}
