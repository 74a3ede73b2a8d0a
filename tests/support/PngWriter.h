// A small PNG writer of the tests' own: images of any colour type, depth,
// filter and interlace from chosen sample values, and files assembled chunk
// by chunk, so that damaged files can be made on purpose.
#pragma once
#include <zlib.h>
#include <cstdint>
#include <string>
#include <vector>

namespace pngwriter {

inline void PutBE32(std::string& s, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<char>((v >> shift) & 0xFF));
}

struct Chunk {
    std::string Type;
    std::string Data;
    bool BadCRC = false;
    bool HasLength = false; // Length written instead of the data's size
    uint32_t Length = 0;
};

inline std::string Signature() { return std::string("\x89PNG\r\n\x1a\n", 8); }

inline uint32_t ChunkCRC(const std::string& type, const std::string& data)
{
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
    return static_cast<uint32_t>(crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

inline std::string ChunkBytes(const Chunk& c)
{
    std::string s;
    PutBE32(s, c.HasLength ? c.Length : static_cast<uint32_t>(c.Data.size()));
    s += c.Type;
    s += c.Data;
    PutBE32(s, ChunkCRC(c.Type, c.Data) ^ (c.BadCRC ? 1u : 0u));
    return s;
}

inline std::string FileOf(const std::vector<Chunk>& chunks)
{
    std::string s = Signature();
    for (const Chunk& c : chunks)
        s += ChunkBytes(c);
    return s;
}

inline std::string Deflate(const std::string& raw, int level = 6)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(raw.data()),
              static_cast<uLong>(raw.size()), level);
    out.resize(size);
    return out;
}

inline int Channels(int colorType)
{
    switch (colorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
    }
}

// An image as sample values: Samples[(y * Width + x) * channels + c].
struct Image {
    uint32_t Width = 0;
    uint32_t Height = 0;
    int ColorType = 6;
    int BitDepth = 8;
    int Interlace = 0;
    // Filter of every row; -1 turns through 0 to 4 row by row.
    int Filter = -1;
    std::vector<uint16_t> Samples;
    std::string Palette; // RGB triples for colour type 3
    std::string Transparency;
    std::string Background;

    uint16_t Sample(uint32_t x, uint32_t y, int c) const
    {
        return Samples[(static_cast<size_t>(y) * Width + x) * Channels(ColorType) + c];
    }
};

// Sample values spread over the whole range of the depth, from a seed.
inline Image MakeImage(uint32_t width, uint32_t height, int colorType, int bitDepth, uint32_t seed = 1)
{
    Image image;
    image.Width = width;
    image.Height = height;
    image.ColorType = colorType;
    image.BitDepth = bitDepth;
    uint32_t max = (1u << bitDepth) - 1, state = seed * 2654435761u + 12345;
    size_t count = static_cast<size_t>(width) * height * Channels(colorType);
    image.Samples.resize(count);
    for (size_t i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        image.Samples[i] = static_cast<uint16_t>((state >> 8) % (max + 1));
    }
    if (colorType == 3) {
        uint32_t colours = 1u << bitDepth;
        for (uint32_t i = 0; i < colours; ++i) {
            image.Palette.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
            image.Palette.push_back(static_cast<char>((i * 91 + 200) & 0xFF));
            image.Palette.push_back(static_cast<char>((i * 53 + 7) & 0xFF));
        }
    }
    return image;
}

inline uint8_t Paeth(int a, int b, int c)
{
    int p = a + b - c, pa = p > a ? p - a : a - p, pb = p > b ? p - b : b - p, pc = p > c ? p - c : c - p;
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// The packed bytes of one row of the pixels at columns x0, x0 + step ...
inline std::string PackRow(const Image& image, uint32_t y, uint32_t x0, uint32_t step)
{
    int channels = Channels(image.ColorType), depth = image.BitDepth;
    std::string row;
    uint32_t acc = 0;
    int bits = 0;
    for (uint32_t x = x0; x < image.Width; x += step)
        for (int c = 0; c < channels; ++c) {
            uint16_t v = image.Sample(x, y, c);
            if (depth == 16) {
                row.push_back(static_cast<char>(v >> 8));
                row.push_back(static_cast<char>(v & 0xFF));
            } else if (depth == 8) {
                row.push_back(static_cast<char>(v));
            } else {
                acc = (acc << depth) | v;
                bits += depth;
                if (bits == 8) {
                    row.push_back(static_cast<char>(acc));
                    acc = 0;
                    bits = 0;
                }
            }
        }
    if (bits > 0)
        row.push_back(static_cast<char>(acc << (8 - bits)));
    return row;
}

// Filter byte and filtered bytes of a row against the previous raw row.
inline std::string FilterRow(const std::string& raw, const std::string& previous, int filter, int bpp)
{
    std::string out(1, static_cast<char>(filter));
    for (size_t i = 0; i < raw.size(); ++i) {
        int x = static_cast<uint8_t>(raw[i]);
        int left = i >= static_cast<size_t>(bpp) ? static_cast<uint8_t>(raw[i - bpp]) : 0;
        int up = previous.empty() ? 0 : static_cast<uint8_t>(previous[i]);
        int upLeft = previous.empty() || i < static_cast<size_t>(bpp) ? 0 : static_cast<uint8_t>(previous[i - bpp]);
        int predicted = 0;
        switch (filter) {
        case 1: predicted = left; break;
        case 2: predicted = up; break;
        case 3: predicted = (left + up) / 2; break;
        case 4: predicted = Paeth(left, up, upLeft); break;
        default: break;
        }
        out.push_back(static_cast<char>((x - predicted) & 0xFF));
    }
    return out;
}

// The scanlines before compression, plain or in the seven Adam7 passes.
inline std::string RawImageData(const Image& image)
{
    int bpp = Channels(image.ColorType) * image.BitDepth / 8;
    if (bpp < 1)
        bpp = 1;
    std::string out;
    int rowNumber = 0;
    auto emitRows = [&](uint32_t y0, uint32_t yStep, uint32_t x0, uint32_t xStep) {
        std::string previous;
        if (x0 >= image.Width)
            return;
        for (uint32_t y = y0; y < image.Height; y += yStep) {
            std::string raw = PackRow(image, y, x0, xStep);
            int filter = image.Filter >= 0 ? image.Filter : rowNumber % 5;
            ++rowNumber;
            out += FilterRow(raw, previous, filter, bpp);
            previous = raw;
        }
    };
    if (image.Interlace) {
        static const uint32_t passes[7][4] = {{0, 8, 0, 8}, {0, 8, 4, 8}, {4, 8, 0, 4}, {0, 4, 2, 4},
                                              {2, 4, 0, 2}, {0, 2, 1, 2}, {1, 2, 0, 1}};
        for (const auto& p : passes)
            emitRows(p[0], p[1], p[2], p[3]);
    } else {
        emitRows(0, 1, 0, 1);
    }
    return out;
}

inline std::string HeaderData(uint32_t width, uint32_t height, int bitDepth, int colorType, int interlace)
{
    std::string s;
    PutBE32(s, width);
    PutBE32(s, height);
    s.push_back(static_cast<char>(bitDepth));
    s.push_back(static_cast<char>(colorType));
    s.push_back(0);
    s.push_back(0);
    s.push_back(static_cast<char>(interlace));
    return s;
}

// IHDR, PLTE, tRNS, bKGD as given, the image data in IDAT chunks of at
// most IdatSize bytes (0: one chunk), IEND.
inline std::vector<Chunk> Chunks(const Image& image, size_t idatSize = 1 << 16)
{
    std::vector<Chunk> chunks;
    chunks.push_back({"IHDR", HeaderData(image.Width, image.Height, image.BitDepth, image.ColorType, image.Interlace)});
    if (!image.Palette.empty())
        chunks.push_back({"PLTE", image.Palette});
    if (!image.Background.empty())
        chunks.push_back({"bKGD", image.Background});
    if (!image.Transparency.empty())
        chunks.push_back({"tRNS", image.Transparency});
    std::string data = Deflate(RawImageData(image));
    if (idatSize == 0)
        idatSize = data.size() + 1;
    size_t at = 0;
    do {
        chunks.push_back({"IDAT", data.substr(at, idatSize)});
        at += idatSize;
    } while (at < data.size());
    chunks.push_back({"IEND", ""});
    return chunks;
}

inline std::string Encode(const Image& image, size_t idatSize = 1 << 16) { return FileOf(Chunks(image, idatSize)); }

} // namespace pngwriter
