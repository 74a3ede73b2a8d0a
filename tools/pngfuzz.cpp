// pngfuzz: feeds mutated PNG files through TPNGGraphic and mutated zlib
// streams through the inflate stream until the time limit, then prints how
// many inputs ended which way, the slowest input and the GDI objects left.
// Every input is written to <folder>\current.bin before it is tried, so that
// one that crashes or hangs the process is still there afterwards; a
// watchdog ends the run when one input takes longer than the hang limit.
//
// Usage: pngfuzz [seconds [folder [seed]]]   (defaults: 180, .\pngfuzz-out, 1)
#include <windows.h>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>
#include "Forms.h"
#include "PngWriter.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include "acGraphicsStartup.h"
#include "acPNG.h"
#include "acZLibEx.h"

namespace {

constexpr double HangSeconds = 30;

struct TRandom {
    uint64_t State;
    uint32_t Next()
    {
        State = State * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(State >> 33);
    }
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }
};

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

void Save(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
}

// ---------------------------------------------------------------------------
// Chunks of a file as the writer makes them, for mutations that keep CRCs right.
std::vector<pngwriter::Chunk> Split(const std::string& file)
{
    std::vector<pngwriter::Chunk> chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        auto p = reinterpret_cast<const unsigned char*>(file.data() + at);
        uint32_t length = uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        if (length > file.size() - at - 12)
            break;
        chunks.push_back({file.substr(at + 4, 4), file.substr(at + 8, length)});
        at += 12 + length;
    }
    return chunks;
}

std::string Inflated(const std::string& packed)
{
    z_stream z{};
    inflateInit(&z);
    std::string out;
    char buffer[65536];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    z.avail_in = static_cast<uInt>(packed.size());
    int result = Z_OK;
    while (result == Z_OK && out.size() < (64u << 20)) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof(buffer);
        result = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof(buffer) - z.avail_out);
        if (z.avail_out == sizeof(buffer))
            break;
    }
    inflateEnd(&z);
    return out;
}

std::vector<std::string> Corpus()
{
    std::vector<std::string> files;
    const int layouts[][2] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                              {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
    uint32_t seed = 1;
    for (const auto& l : layouts)
        for (int interlace = 0; interlace < 2; ++interlace) {
            pngwriter::Image image = pngwriter::MakeImage(5 + seed % 40, 3 + seed % 23, l[0], l[1], seed);
            image.Interlace = interlace;
            if (l[0] == 3)
                image.Transparency = "\x00\x40\x80";
            if (l[0] == 2)
                image.Background = std::string("\x00\x10\x00\x20\x00\x30", 6);
            files.push_back(pngwriter::Encode(image, 64 + seed % 200));
            ++seed;
        }
    return files;
}

using TMutation = std::string (*)(const std::string&, TRandom&);

std::string FlipBits(const std::string& file, TRandom& r)
{
    std::string s = file;
    for (uint32_t n = 1 + r.Below(8); n > 0; --n)
        s[r.Below(static_cast<uint32_t>(s.size()))] ^= static_cast<char>(1 << r.Below(8));
    return s;
}

std::string Cut(const std::string& file, TRandom& r) { return file.substr(0, r.Below(static_cast<uint32_t>(file.size()))); }

std::string ForgeLength(const std::string& file, TRandom& r)
{
    auto chunks = Split(file);
    if (chunks.empty())
        return file;
    static const uint32_t values[] = {0, 1, 2, 3, 12, 13, 0x7FFFFFFF, 0x80000000, 0xFFFFFFF4, 0xFFFFFFFF, 0xFFFFFFFC};
    std::string s = file;
    size_t at = 8;
    uint32_t target = r.Below(static_cast<uint32_t>(chunks.size()));
    for (uint32_t i = 0; i < target; ++i)
        at += 12 + chunks[i].Data.size();
    uint32_t value = r.Below(3) == 0 ? static_cast<uint32_t>(chunks[target].Data.size()) + r.Below(9) - 4
                                     : values[r.Below(std::size(values))];
    for (int b = 0; b < 4; ++b)
        s[at + b] = static_cast<char>(value >> (24 - 8 * b));
    return s;
}

std::string Reorder(const std::string& file, TRandom& r)
{
    auto chunks = Split(file);
    if (chunks.empty())
        return file;
    switch (r.Below(4)) {
    case 0: std::swap(chunks[r.Below(uint32_t(chunks.size()))], chunks[r.Below(uint32_t(chunks.size()))]); break;
    case 1: chunks.insert(chunks.begin() + r.Below(uint32_t(chunks.size())), chunks[r.Below(uint32_t(chunks.size()))]); break;
    case 2: chunks.erase(chunks.begin() + r.Below(uint32_t(chunks.size()))); break;
    default: {
        static const char* types[] = {"PLTE", "tRNS", "bKGD", "gAMA", "IHDR", "IEND", "ABCD", "tEXt"};
        chunks.insert(chunks.begin() + r.Below(uint32_t(chunks.size())),
                      {types[r.Below(std::size(types))], std::string(r.Below(20), char(r.Below(256)))});
    }
    }
    return pngwriter::FileOf(chunks);
}

// The header's fields changed, its CRC made right again.
std::string Header(const std::string& file, TRandom& r)
{
    auto chunks = Split(file);
    if (chunks.empty() || chunks[0].Data.size() < 13)
        return file;
    std::string& h = chunks[0].Data;
    static const uint32_t sizes[] = {0, 1, 2, 7, 8, 9, 255, 65535, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x10000000};
    switch (r.Below(5)) {
    case 0:
    case 1: {
        std::string v;
        pngwriter::PutBE32(v, sizes[r.Below(std::size(sizes))] + (r.Below(2) ? 0 : r.Below(100)));
        h.replace(r.Below(2) * 4, 4, v);
        break;
    }
    case 2: h[8] = static_cast<char>(r.Below(2) ? 1 << r.Below(5) : r.Below(256)); break;
    case 3: h[9] = static_cast<char>(r.Below(8)); break;
    default: h[10 + r.Below(3)] = static_cast<char>(r.Below(3)); break;
    }
    return pngwriter::FileOf(chunks);
}

// The image data inflated, changed (bytes, filter bytes, length) and
// deflated again into valid chunks: damage that reaches the row decoder.
std::string ImageData(const std::string& file, TRandom& r)
{
    auto chunks = Split(file);
    std::string packed;
    std::vector<pngwriter::Chunk> rest;
    size_t firstData = chunks.size();
    for (size_t i = 0; i < chunks.size(); ++i) {
        if (chunks[i].Type == "IDAT") {
            packed += chunks[i].Data;
            firstData = std::min(firstData, i);
        } else {
            rest.push_back(chunks[i]);
        }
    }
    std::string raw = Inflated(packed);
    if (raw.empty())
        raw = "x";
    switch (r.Below(5)) {
    case 0:
        for (uint32_t n = 1 + r.Below(16); n > 0; --n)
            raw[r.Below(uint32_t(raw.size()))] = static_cast<char>(r.Below(256));
        break;
    case 1: raw.resize(r.Below(uint32_t(raw.size()))); break;
    case 2: raw += std::string(r.Below(2) ? r.Below(1000) : (1u << 20) * (1 + r.Below(64)), char(r.Below(256))); break;
    case 3:
        for (uint32_t n = 1 + r.Below(4); n > 0; --n)
            raw[r.Below(uint32_t(raw.size()))] = static_cast<char>(5 + r.Below(250)); // likely a filter byte
        break;
    default: raw.insert(r.Below(uint32_t(raw.size())), std::string(1 + r.Below(40), '\0')); break;
    }
    std::string data = pngwriter::Deflate(raw, int(r.Below(10)));
    size_t part = 1 + r.Below(static_cast<uint32_t>(data.size()) + 1);
    std::vector<pngwriter::Chunk> out(rest.begin(), rest.begin() + std::min(firstData, rest.size()));
    for (size_t at = 0; at < data.size(); at += part)
        out.push_back({"IDAT", data.substr(at, part)});
    out.insert(out.end(), rest.begin() + std::min(firstData, rest.size()), rest.end());
    return pngwriter::FileOf(out);
}

struct TMutator {
    const char* Name;
    TMutation Apply;
};
const TMutator Mutators[] = {{"bit flips", FlipBits},   {"cut", Cut},       {"length", ForgeLength},
                             {"chunk order", Reorder},  {"header", Header}, {"image data", ImageData}};

std::string OutcomeOf(const Exception& e)
{
    std::wstring text = e.ClassName() + L": " + e.Message();
    return std::string(text.begin(), text.end());
}

std::string TryPng(const std::string& bytes)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream->SetPosition(0);
    try {
        TOwned<TPNGGraphic> png(New<TPNGGraphic>());
        png->LoadFromStream(stream.get());
        TOwned<TBitmap> alpha(New<TBitmap>());
        ApplyPngAlpha(alpha.get(), png.get());
        return "png ok";
    } catch (const Exception& e) {
        return "png " + OutcomeOf(e);
    }
}

std::string TryStream(const std::string& bytes, TRandom& r)
{
    TOwned<TMemoryStream> source(New<TMemoryStream>());
    source->WriteBuffer("head", 4);
    source->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    source->SetPosition(4);
    try {
        TOwned<TZDecompressionStream> z(New<TZDecompressionStream>(source.get()));
        TOwned<TMemoryStream> target(New<TMemoryStream>());
        if (r.Below(2))
            target->CopyFrom(z.get(), 0);
        else {
            char buffer[65536];
            while (z->Read(buffer, 1 + int(r.Below(sizeof(buffer)))) > 0) {
            }
        }
        return "stream ok";
    } catch (const Exception& e) {
        return "stream " + OutcomeOf(e);
    }
}

// A zlib stream that inflates to 70 x 64 MB of zeros: blocks after a full
// flush do not look back, so one compressed block can stand 70 times.
std::string Bomb(uint64_t& inflatedSize)
{
    const size_t block = 64u << 20;
    const int copies = 70;
    std::vector<unsigned char> zeros(block, 0);
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
    std::string packed(deflateBound(&z, block) + 64, '\0');
    z.next_in = zeros.data();
    z.avail_in = static_cast<uInt>(block);
    z.next_out = reinterpret_cast<Bytef*>(&packed[0]);
    z.avail_out = static_cast<uInt>(packed.size());
    deflate(&z, Z_FULL_FLUSH);
    packed.resize(packed.size() - z.avail_out);
    deflateEnd(&z);
    uLong adler = adler32(0, nullptr, 0);
    for (int i = 0; i < copies; ++i)
        adler = adler32(adler, zeros.data(), static_cast<uInt>(block));
    std::string bomb = "\x78\xDA";
    for (int i = 0; i < copies; ++i)
        bomb += packed;
    bomb += std::string("\x03\x00", 2); // an empty final block
    pngwriter::PutBE32(bomb, static_cast<uint32_t>(adler));
    inflatedSize = uint64_t(block) * copies;
    return bomb;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const double seconds = argc > 1 ? _wtof(argv[1]) : 180;
    const std::wstring folder = argc > 2 ? argv[2] : L"pngfuzz-out";
    TRandom random{argc > 3 ? static_cast<uint64_t>(_wtoi64(argv[3])) : 1};
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring current = folder + L"\\current.bin";

    SysUtils_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    SkinGraphics_Initialize();
    const DWORD gdiBefore = testing_support::GdiObjectCount();

    // The watchdog: one input that takes too long is a hang.
    std::atomic<double> started{0};
    std::atomic<bool> running{true};
    std::thread watchdog([&] {
        while (running) {
            Sleep(500);
            double s = started;
            if (s > 0 && Seconds() - s > HangSeconds) {
                std::printf("HANG: an input took more than %.0f s; it is in %ls\n", HangSeconds, current.c_str());
                std::fflush(stdout);
                ExitProcess(2);
            }
        }
    });

    std::map<std::string, long> counts;
    double slowest = 0;
    std::string slowestName;
    auto timed = [&](const std::string& name, const std::string& bytes, auto&& run) {
        Save(current, bytes);
        const double start = Seconds();
        started = start;
        std::string outcome = run();
        const double took = Seconds() - start;
        started = 0;
        ++counts[outcome];
        if (took > slowest) {
            slowest = took;
            slowestName = name + " (" + std::to_string(bytes.size()) + " bytes, " + outcome + ")";
            Save(folder + L"\\slowest.bin", bytes);
        }
    };

    // The bomb first: Size must pass 4 GB, counted in 64 bits.
    {
        uint64_t expected = 0;
        std::string bomb = Bomb(expected);
        timed("bomb", bomb, [&] {
            TOwned<TMemoryStream> source(New<TMemoryStream>());
            source->WriteBuffer(bomb.data(), static_cast<Int64>(bomb.size()));
            source->SetPosition(0);
            TOwned<TZDecompressionStream> z(New<TZDecompressionStream>(source.get()));
            Int64 size = z->GetSize();
            std::printf("bomb: %zu bytes inflate to %llu; Size says %lld (%s)\n", bomb.size(),
                        static_cast<unsigned long long>(expected), static_cast<long long>(size),
                        uint64_t(size) == expected ? "right" : "WRONG");
            return std::string(uint64_t(size) == expected ? "bomb size right" : "bomb size WRONG");
        });
    }

    const std::vector<std::string> corpus = Corpus();
    std::vector<std::string> streams;
    for (int i = 0; i < 8; ++i)
        streams.push_back(pngwriter::Deflate(std::string(1000u << i, char('a' + i)) + corpus[i * 3], i));
    const double deadline = Seconds() + seconds;
    long tried = 0;
    while (Seconds() < deadline) {
        ++tried;
        if (random.Below(5) == 0) {
            const std::string& seed = streams[random.Below(uint32_t(streams.size()))];
            std::string bytes = random.Below(2) ? FlipBits(seed, random) : Cut(seed, random);
            timed("stream", bytes, [&] { return TryStream(bytes, random); });
            continue;
        }
        std::string bytes = corpus[random.Below(uint32_t(corpus.size()))];
        std::string name;
        for (uint32_t n = 1 + random.Below(2); n > 0; --n) {
            const TMutator& m = Mutators[random.Below(std::size(Mutators))];
            bytes = m.Apply(bytes, random);
            name += name.empty() ? m.Name : std::string(" + ") + m.Name;
            if (bytes.size() < 8)
                break;
        }
        timed(name, bytes, [&] { return TryPng(bytes); });
    }
    running = false;
    watchdog.join();

    std::printf("%ld inputs in %.0f s\n", tried + 1, seconds);
    for (const auto& [outcome, count] : counts)
        std::printf("%8ld  %s\n", count, outcome.c_str());
    std::printf("slowest: %.3f s, %s\n", slowest, slowestName.c_str());
    const DWORD gdiAfter = testing_support::GdiObjectCount();
    std::printf("GDI objects: %lu before, %lu after, %ld left\n", gdiBefore, gdiAfter, long(gdiAfter) - long(gdiBefore));
    SkinGraphics_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    SysUtils_Finalize();
    return 0;
}
