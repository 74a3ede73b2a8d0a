// The skin library's PNG reader and inflate stream against what they stand
// beside: the stream against a plain zlib inflate loop on the same data
// (64 KB reads, and a copy into memory as the packed-skin reader makes),
// and TPNGGraphic against WIC and GDI+ on the same in-memory files.
// Prints times and the ratios the library is held to.
#include <windows.h>
#include <gdiplus.h>
#include <shlwapi.h>
#include <cstdio>
#include <vector>
#include "BenchClock.h"
#include "Forms.h"
#include "PngImage.h"
#include "PngWriter.h"
#include "SysUtils.h"
#include "acGraphicsStartup.h"
#include "acPNG.h"
#include "acZLibEx.h"

namespace {

template <class F>
double MedianSeconds(int rounds, F&& round)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double start = bench::Seconds();
        round();
        times.push_back(bench::Seconds() - start);
    }
    return bench::Median(std::move(times));
}

// Picture-like samples: smooth ramps with a little noise, which compress
// the way photographs and skin images do.
pngwriter::Image Picture(uint32_t width, uint32_t height, int colorType, int depth, int interlace = 0)
{
    pngwriter::Image image = pngwriter::MakeImage(width, height, colorType, depth);
    const int channels = pngwriter::Channels(colorType);
    const uint32_t max = (1u << depth) - 1;
    uint32_t state = 7;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            for (int c = 0; c < channels; ++c) {
                state = state * 1103515245u + 12345u;
                double ramp = (c % 2 ? x : y) / double(c % 3 == 2 ? width + height : c % 2 ? width : height);
                double v = ramp * max + ((state >> 16) % 5) * max / 255.0;
                image.Samples[(size_t(y) * width + x) * channels + c] = uint16_t(v > max ? max : v);
            }
    image.Interlace = interlace;
    image.Filter = 4;
    return image;
}

TOwned<TMemoryStream> MemoryOf(const std::string& bytes)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

void DecodeWithGdiPlus(const std::string& file)
{
    IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(file.data()), static_cast<UINT>(file.size()));
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok) {
        // GDI+ decodes when the pixels are first asked for.
        UINT width = 0, height = 0;
        Gdiplus::DllExports::GdipGetImageWidth(bitmap, &width);
        Gdiplus::DllExports::GdipGetImageHeight(bitmap, &height);
        Gdiplus::GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
        Gdiplus::BitmapData data{};
        if (Gdiplus::DllExports::GdipBitmapLockBits(bitmap, &rect, Gdiplus::ImageLockModeRead,
                                                    PixelFormat32bppARGB, &data) == Gdiplus::Ok)
            Gdiplus::DllExports::GdipBitmapUnlockBits(bitmap, &data);
        Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
    stream->Release();
}

void InflateBenchmarks()
{
    std::string data(24 << 20, '\0');
    uint32_t state = 1;
    for (size_t i = 0; i < data.size(); ++i) {
        state = state * 1103515245u + 12345u;
        data[i] = static_cast<char>(i % 4096 < 1536 ? state >> 16 : (i / 4096) & 0x3F);
    }
    const std::string packed = pngwriter::Deflate(data);
    std::vector<char> out(65536);
    const int rounds = 9;

    // A plain zlib loop: 128 KB of input at a time, 64 KB of output per call.
    auto plainLoop = [&](auto&& deliver) {
        z_stream z{};
        inflateInit(&z);
        size_t at = 0;
        int result = Z_OK;
        while (result != Z_STREAM_END) {
            if (z.avail_in == 0 && at < packed.size()) {
                size_t take = std::min<size_t>(131072, packed.size() - at);
                z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + at));
                z.avail_in = static_cast<uInt>(take);
                at += take;
            }
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = 65536;
            result = inflate(&z, Z_NO_FLUSH);
            if (result < 0)
                break;
            deliver(65536 - z.avail_out);
        }
        inflateEnd(&z);
    };
    auto source = MemoryOf(packed);
    const double plainReads = MedianSeconds(rounds, [&] { plainLoop([](unsigned) {}); });
    const double streamReads = MedianSeconds(rounds, [&] {
        source->SetPosition(0);
        TOwned<TZDecompressionStream> z(New<TZDecompressionStream>(source.get()));
        while (z->Read(out.data(), 65536) > 0) {
        }
    });
    // Copies into memory: the packed-skin reader's CopyFrom against the same
    // copy made straight from zlib's output.
    const double plainCopy = MedianSeconds(rounds, [&] {
        TOwned<TMemoryStream> target(New<TMemoryStream>());
        plainLoop([&](unsigned n) { target->WriteBuffer(out.data(), n); });
    });
    const double streamCopy = MedianSeconds(rounds, [&] {
        source->SetPosition(0);
        TOwned<TZDecompressionStream> z(New<TZDecompressionStream>(source.get()));
        TOwned<TMemoryStream> target(New<TMemoryStream>());
        target->CopyFrom(z.get(), static_cast<Int64>(data.size()));
    });
    std::printf("Inflate stream, %u MB inflated from %u KB (median of %d):\n", unsigned(data.size() >> 20),
                unsigned(packed.size() >> 10), rounds);
    std::printf("  64 KB reads:  zlib loop %7.2f ms  stream %7.2f ms  ratio %.3f (limit 1.1)\n", plainReads * 1e3,
                streamReads * 1e3, streamReads / plainReads);
    std::printf("  copy to memory: zlib loop %7.2f ms  CopyFrom %7.2f ms  ratio %.3f (limit 1.1)\n",
                plainCopy * 1e3, streamCopy * 1e3, streamCopy / plainCopy);
}

struct TCase {
    const char* Name;
    std::vector<std::string> Files;
};

void PngBenchmarks()
{
    std::vector<TCase> cases;
    cases.push_back({"RGBA 1024x1024", {pngwriter::Encode(Picture(1024, 1024, 6, 8))}});
    cases.push_back({"RGB 1024x1024", {pngwriter::Encode(Picture(1024, 1024, 2, 8))}});
    cases.push_back({"palette 1024x1024", {pngwriter::Encode(Picture(1024, 1024, 3, 8))}});
    cases.push_back({"16-bit grey 1024x1024", {pngwriter::Encode(Picture(1024, 1024, 0, 16))}});
    cases.push_back({"interlaced RGBA 1024x1024", {pngwriter::Encode(Picture(1024, 1024, 6, 8, 1))}});
    TCase glyphs{"400 glyphs RGBA 16x16", {}};
    for (int i = 0; i < 400; ++i)
        glyphs.Files.push_back(pngwriter::Encode(Picture(16, 16, 6, 8)));
    cases.push_back(glyphs);

    std::printf("PNG decoding of in-memory files (median of 7):\n");
    std::printf("  %-28s %10s %10s %10s %8s\n", "file", "reader ms", "WIC ms", "GDI+ ms", "ratio");
    double worst = 0;
    for (const TCase& c : cases) {
        std::vector<TOwned<TMemoryStream>> streams;
        for (const auto& f : c.Files)
            streams.push_back(MemoryOf(f));
        const double reader = MedianSeconds(7, [&] {
            for (auto& s : streams) {
                s->SetPosition(0);
                TOwned<TPNGGraphic> png(New<TPNGGraphic>());
                png->LoadFromStream(s.get());
            }
        });
        const double wic = MedianSeconds(7, [&] {
            for (auto& s : streams) {
                s->SetPosition(0);
                TOwned<TPngImage> png(New<TPngImage>());
                png->LoadFromStream(s.get());
            }
        });
        const double gdiPlus = MedianSeconds(7, [&] {
            for (const auto& f : c.Files)
                DecodeWithGdiPlus(f);
        });
        const double ratio = reader / std::min(wic, gdiPlus);
        worst = std::max(worst, ratio);
        std::printf("  %-28s %10.2f %10.2f %10.2f %8.2f\n", c.Name, reader * 1e3, wic * 1e3, gdiPlus * 1e3, ratio);
    }
    std::printf("  worst ratio to the faster platform decoder: %.2f (limit 1.5)\n", worst);
}

} // namespace

int wmain()
{
    SysUtils_Initialize();
    Graphics_Initialize();
    PngImage_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    SkinGraphics_Initialize();
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    InflateBenchmarks();
    PngBenchmarks();
    Gdiplus::GdiplusShutdown(token);
    SkinGraphics_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    PngImage_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
