// The colour manager: row conversions of every PNG colour type and depth,
// plain and through each interlace mask, gamma, palettes and its errors.
#include <gtest/gtest.h>
#include "acPNG.h"
#include <cmath>
#include <vector>

namespace {

struct PngLayout {
    int ColorType;
    int Depth;
    TColorScheme Source, Target;
    Byte SourceSamples, TargetBits;
    int SourceChannels; // samples of a pixel in the row
    int TargetPixelBits;
};

// The layouts the PNG reader sets up, one per colour type and depth.
const PngLayout Layouts[] = {
    {0, 1, csG, csG, 1, 1, 1, 1},          {0, 2, csG, csG, 1, 4, 1, 4},
    {0, 4, csG, csG, 1, 4, 1, 4},          {0, 8, csG, csG, 1, 8, 1, 8},
    {0, 16, csG, csG, 1, 8, 1, 8},         {2, 8, csRGB, csBGR, 3, 8, 3, 24},
    {2, 16, csRGB, csBGR, 3, 8, 3, 24},    {3, 1, csIndexed, csIndexed, 1, 1, 1, 1},
    {3, 2, csIndexed, csIndexed, 1, 4, 1, 4}, {3, 4, csIndexed, csIndexed, 1, 4, 1, 4},
    {3, 8, csIndexed, csIndexed, 1, 8, 1, 8}, {4, 8, csGA, csIndexed, 1, 8, 2, 8},
    {4, 16, csGA, csIndexed, 1, 8, 2, 8},  {6, 8, csRGBA, csBGRA, 4, 8, 4, 32},
    {6, 16, csRGBA, csBGRA, 4, 8, 4, 32},
};

void Arrange(TColorManager& cm, const PngLayout& l)
{
    cm.SourceOptions = {coNeedByteSwap};
    cm.SetSourceColorScheme(l.Source);
    cm.SetTargetColorScheme(l.Target);
    cm.SetSourceSamplesPerPixel(l.SourceSamples);
    cm.SetTargetSamplesPerPixel(l.SourceSamples);
    cm.SetSourceBitsPerSample(static_cast<Byte>(l.Depth));
    cm.SetTargetBitsPerSample(l.TargetBits);
}

unsigned GetBits(const std::vector<Byte>& row, size_t index, int bits)
{
    size_t bit = index * bits;
    if (bits >= 8) {
        unsigned v = 0;
        for (int b = 0; b < bits / 8; ++b)
            v |= unsigned(row[bit / 8 + b]) << (8 * b);
        return v;
    }
    return (row[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
}

void PutBits(std::vector<Byte>& row, size_t index, int bits, unsigned value)
{
    if (bits == 16) {
        row[index * 2] = Byte(value >> 8); // big-endian, as files hold them
        row[index * 2 + 1] = Byte(value);
        return;
    }
    size_t bit = index * bits;
    int shift = 8 - bits - int(bit & 7);
    row[bit >> 3] = Byte((row[bit >> 3] & ~(((1u << bits) - 1) << shift)) | (value << shift));
}

// What the target pixel must be for source pixel samples s.
unsigned Expected(const PngLayout& l, const unsigned* s)
{
    auto narrow = [&](unsigned v) { return l.Depth == 16 ? v * 255u / 65535u : v; };
    switch (l.ColorType) {
    case 0:
    case 3:
        if (l.Depth == 16)
            return narrow(s[0]);
        return s[0] * ((1u << l.TargetBits) - 1) / ((1u << l.Depth) - 1);
    case 4:
        return narrow(s[0]);
    case 2:
        return narrow(s[2]) | narrow(s[1]) << 8 | narrow(s[0]) << 16;
    default:
        return narrow(s[2]) | narrow(s[1]) << 8 | narrow(s[0]) << 16 | narrow(s[3]) << 24;
    }
}

TEST(ColorManager, EveryPngLayoutPlainAndThroughEachInterlaceMask)
{
    const Byte masks[] = {0xFF, 0x80, 0x08, 0x88, 0x22, 0xAA, 0x55};
    const Cardinal width = 21;
    for (const auto& l : Layouts) {
        for (Byte mask : masks) {
            SCOPED_TRACE(testing::Message() << "type " << l.ColorType << " depth " << l.Depth << " mask "
                                            << int(mask));
            TColorManager cm;
            Arrange(cm, l);
            std::vector<size_t> columns;
            for (Cardinal x = 0; x < width; ++x)
                if (mask & (0x80 >> (x % 8)))
                    columns.push_back(x);
            // Source: the pass's pixels one after another.
            std::vector<Byte> source((columns.size() * l.SourceChannels * l.Depth + 7) / 8 + 1);
            std::vector<unsigned> samples(columns.size() * l.SourceChannels);
            for (size_t i = 0; i < samples.size(); ++i) {
                samples[i] = unsigned(i * 2654435761u >> 7) & ((1u << l.Depth) - 1);
                PutBits(source, i, l.Depth, samples[i]);
            }
            const Byte sentinel = 0xA5;
            std::vector<Byte> target((width * l.TargetPixelBits + 7) / 8 + 4, sentinel);
            std::vector<Byte> untouched = target;
            cm.ConvertRow({source.data()}, target.data(), width, mask);
            size_t k = 0;
            for (Cardinal x = 0; x < width; ++x) {
                unsigned got = GetBits(target, x, l.TargetPixelBits);
                if (k < columns.size() && columns[k] == x) {
                    EXPECT_EQ(got, Expected(l, &samples[k * l.SourceChannels])) << "column " << x;
                    ++k;
                } else {
                    EXPECT_EQ(got, GetBits(untouched, x, l.TargetPixelBits)) << "column " << x << " was written";
                }
            }
            // Nothing past the row's last pixel.
            for (size_t i = (width * l.TargetPixelBits + 7) / 8; i < target.size(); ++i)
                EXPECT_EQ(target[i], sentinel);
        }
    }
}

TEST(ColorManager, PartEdgeCases)
{
    TColorManager cm;
    // Grey 2-bit samples land on 0, 5, 10, 15 of a 4-bit target.
    cm.SetSourceColorScheme(csG);
    cm.SetTargetColorScheme(csG);
    cm.SetSourceSamplesPerPixel(1);
    cm.SetTargetSamplesPerPixel(1);
    cm.SetSourceBitsPerSample(2);
    cm.SetTargetBitsPerSample(4);
    Byte grey2 = 0x1B; // 0, 1, 2, 3
    Byte grey4[2] = {};
    cm.ConvertRow({&grey2}, grey4, 4, 0xFF);
    EXPECT_EQ(grey4[0], 0x05);
    EXPECT_EQ(grey4[1], 0xAF);

    // Mask 0x88 over 16 pixels writes 0, 4, 8 and 12 from the first four.
    cm.SetSourceBitsPerSample(8);
    cm.SetTargetBitsPerSample(8);
    const Byte source[4] = {1, 2, 3, 4};
    Byte target[16];
    std::fill(std::begin(target), std::end(target), 0xEE);
    cm.ConvertRow({source}, target, 16, 0x88);
    const Byte expected[16] = {1, 0xEE, 0xEE, 0xEE, 2, 0xEE, 0xEE, 0xEE, 3, 0xEE, 0xEE, 0xEE, 4, 0xEE, 0xEE, 0xEE};
    EXPECT_TRUE(std::equal(std::begin(target), std::end(target), expected));

    // RGBA to BGRA with gamma: colours through the table, alpha as it is.
    TColorManager rgba;
    rgba.SetSourceColorScheme(csRGBA);
    rgba.SetTargetColorScheme(csBGRA);
    rgba.SetSourceSamplesPerPixel(4);
    rgba.SetTargetSamplesPerPixel(4);
    rgba.SetGamma(0, 0);
    rgba.TargetOptions.Include(coApplyGamma);
    const Byte pixel[4] = {10, 100, 200, 77};
    Byte out[4] = {};
    rgba.ConvertRow({pixel}, out, 1, 0xFF);
    const Byte* table = rgba.GetGammaTable();
    EXPECT_EQ(out[0], table[200]);
    EXPECT_EQ(out[1], table[100]);
    EXPECT_EQ(out[2], table[10]);
    EXPECT_EQ(out[3], 77);
    // SetGamma(0, 0): main 1.0, display 2.2.
    for (int i : {0, 1, 64, 128, 255})
        EXPECT_EQ(table[i], std::lround(std::pow(i / 255.0, 1 / 2.2) * 255)) << i;

    // A grey source against an RGB target fails at the first row.
    TColorManager mixed;
    mixed.SetSourceColorScheme(csG);
    try {
        mixed.ConvertRow({pixel}, out, 1, 0xFF);
        ADD_FAILURE() << "no error";
    } catch (const EColorConversionError& e) {
        EXPECT_EQ(e.Message(), L"Conversion between indexed and non-indexed pixel formats is not supported.");
    }
}

PALETTEENTRY EntryOf(HPALETTE palette, int index)
{
    PALETTEENTRY e{};
    GetPaletteEntries(palette, static_cast<UINT>(index), 1, &e);
    return e;
}

TEST(ColorManager, Palettes)
{
    TColorManager cm;
    cm.SetSourceBitsPerSample(2);
    cm.SetTargetBitsPerSample(4);
    const Byte colours[12] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
    {
        TPaletteHandle palette(cm.CreateColorPalette({colours}, 0, 4, false));
        ASSERT_TRUE(palette);
        EXPECT_EQ(GetPaletteEntries(palette.Get(), 0, 0, nullptr), 16u);
        for (int i = 0; i < 4; ++i) {
            PALETTEENTRY e = EntryOf(palette.Get(), i * 5);
            EXPECT_EQ(e.peRed, colours[3 * i]);
            EXPECT_EQ(e.peGreen, colours[3 * i + 1]);
            EXPECT_EQ(e.peBlue, colours[3 * i + 2]);
        }
    }
    {
        // One colour for a 2-bit image: the indexes it lacks are black.
        TPaletteHandle palette(cm.CreateColorPalette({colours}, 0, 1, false));
        EXPECT_EQ(EntryOf(palette.Get(), 0).peRed, 10);
        for (int i : {5, 10, 15}) {
            PALETTEENTRY e = EntryOf(palette.Get(), i);
            EXPECT_EQ(e.peRed | e.peGreen | e.peBlue, 0) << i;
        }
    }
    {
        // Blue first, four-byte entries, and 16-bit planes swapped and narrowed.
        cm.SetSourceBitsPerSample(8);
        cm.SetTargetBitsPerSample(8);
        TPaletteHandle quads(cm.CreateColorPalette({colours}, 1, 2, true));
        EXPECT_EQ(EntryOf(quads.Get(), 1).peBlue, 50);
        EXPECT_EQ(EntryOf(quads.Get(), 1).peRed, 70);
        EXPECT_EQ(EntryOf(quads.Get(), 2).peRed, 0);
        cm.SourceOptions = {coNeedByteSwap};
        const Byte red[2] = {0xFF, 0xFF}, green[2] = {0x80, 0x00}, blue[2] = {0x00, 0x00};
        TPaletteHandle planes(cm.CreateColorPalette({red, green, blue}, 6, 1, false));
        PALETTEENTRY e = EntryOf(planes.Get(), 0);
        EXPECT_EQ(e.peRed, 255);
        EXPECT_EQ(e.peGreen, 0x8000 * 255 / 65535);
        EXPECT_EQ(e.peBlue, 0);
    }
    {
        // Grey ramps: 16 steps for a 4-bit target, reversed when white is the minimum.
        cm.SetTargetBitsPerSample(4);
        cm.SetTargetSamplesPerPixel(1);
        TPaletteHandle ramp(cm.CreateGrayscalePalette(false));
        EXPECT_EQ(GetPaletteEntries(ramp.Get(), 0, 0, nullptr), 16u);
        EXPECT_EQ(EntryOf(ramp.Get(), 5).peGreen, 85);
        TPaletteHandle reversed(cm.CreateGrayscalePalette(true));
        EXPECT_EQ(EntryOf(reversed.Get(), 0).peRed, 255);
        EXPECT_EQ(EntryOf(reversed.Get(), 15).peRed, 0);
    }
}

TEST(ColorManager, ErrorsAndPixelFormats)
{
    TColorManager cm;
    auto message = [&](auto call) {
        try {
            call();
        } catch (const EColorConversionError& e) {
            return e.Message();
        }
        return String(L"no error");
    };
    const String depth = L"Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16.";
    const String samples = L"Sample count per pixel does not correspond to the given color scheme.";
    EXPECT_EQ(message([&] { cm.SetSourceBitsPerSample(3); }), depth);
    EXPECT_EQ(message([&] { cm.SetTargetBitsPerSample(0); }), depth);
    EXPECT_EQ(message([&] { cm.SetSourceSamplesPerPixel(0); }), samples);
    EXPECT_EQ(message([&] { cm.SetTargetSamplesPerPixel(5); }), samples);
    Byte row[8] = {};
    cm.SetSourceColorScheme(csCMY);
    EXPECT_EQ(message([&] { cm.ConvertRow({row}, row, 1, 0xFF); }),
              L"Color conversion failed. Could not find a proper method.");
    // Grey with 16 bits on one side and less than 8 on the other has no converter.
    cm.SetSourceColorScheme(csG);
    cm.SetTargetColorScheme(csG);
    cm.SetSourceBitsPerSample(16);
    cm.SetTargetBitsPerSample(4);
    EXPECT_EQ(message([&] { cm.ConvertRow({row}, row, 1, 0xFF); }),
              L"Color conversion failed. Could not find a proper method.");

    const struct {
        Byte Samples, Bits;
        TPixelFormat Format;
    } formats[] = {{1, 1, pf1bit}, {1, 2, pf4bit}, {1, 4, pf4bit},  {1, 8, pf8bit},   {1, 16, pf8bit},
                   {3, 4, pf15bit}, {3, 8, pf24bit}, {4, 8, pf32bit}, {4, 4, pfCustom}, {2, 8, pfCustom}};
    for (const auto& f : formats) {
        cm.SetSourceSamplesPerPixel(f.Samples);
        cm.SetSourceBitsPerSample(f.Bits);
        EXPECT_EQ(cm.GetSourcePixelFormat(), f.Format) << int(f.Samples) << " x " << int(f.Bits);
    }
}

TEST(ColorManager, OtherSchemes)
{
    TColorManager cm;
    cm.SetTargetColorScheme(csBGR);
    cm.SetTargetSamplesPerPixel(3);
    // CMYK: no ink is white, full black is black, planar like interleaved.
    cm.SetSourceColorScheme(csCMYK);
    cm.SetSourceSamplesPerPixel(4);
    const Byte cmyk[8] = {0, 0, 0, 0, 255, 0, 0, 255};
    Byte out[6] = {};
    cm.ConvertRow({cmyk}, out, 2, 0xFF);
    EXPECT_EQ(out[0] & out[1] & out[2], 255);
    EXPECT_EQ(out[3] | out[4] | out[5], 0);
    // Full cyan from planes: no red, full green and blue.
    const Byte c[1] = {255}, m[1] = {0}, y[1] = {0}, k[1] = {0};
    cm.ConvertRow({c, m, y, k}, out, 1, 0xFF);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[1], 255);
    EXPECT_EQ(out[2], 0);
    // YCbCr: neutral chroma keeps the luma as grey.
    cm.SetSourceColorScheme(csYCbCr);
    cm.SetSourceSamplesPerPixel(3);
    const Byte ycc[3] = {100, 128, 128};
    cm.ConvertRow({ycc}, out, 1, 0xFF);
    EXPECT_EQ(out[0], 100);
    EXPECT_EQ(out[1], 100);
    EXPECT_EQ(out[2], 100);
    // L*a*b*: full lightness without chroma is white.
    cm.SetSourceColorScheme(csCIELab);
    cm.SourceOptions = {coLabByteRange, coLabChromaOffset};
    const Byte lab[3] = {255, 128, 128};
    cm.ConvertRow({lab}, out, 1, 0xFF);
    EXPECT_NEAR(out[0], 255, 2);
    EXPECT_NEAR(out[1], 255, 2);
    EXPECT_NEAR(out[2], 255, 2);
}

} // namespace
