// Damaged PNG files: each ends with its exception and message, or loads
// the image as far as its data goes, and none hangs or reads past its data.
#include "PngTestHelpers.h"
#include "TestSupport.h"
#include <functional>

namespace {

using pngwriter::Chunk;

const std::string ReadError = "EReadError: Stream read error";
const std::string InvalidFormat = "EInvalidGraphic: Cannot load image. Invalid or unexpected PNG image format.";
const std::string CRCError = "EInvalidGraphic: Cannot load image. CRC error found in PNG file.";
const std::string BadPalette = "EInvalidGraphic: Cannot load image. Palette in PNG file is invalid.";
const std::string BadColorFormat = "EInvalidGraphic: Invalid color format in PNG file.";
const std::string CompressionError = "EInvalidGraphic: Cannot load image. Compression error found in PNG file.";
const std::string ExtraData = "EInvalidGraphic: Cannot load image. Extra compressed data found in PNG file.";
const std::string Critical = "EInvalidGraphic: Cannot load PNG image. Unexpected but critical chunk detected.";
const std::string OutOfResources = "EOutOfResources: Out of system resources";
const std::string NoCompression = "EInvalidGraphic: Cannot load image. The compression scheme is not supported for PNG files.";

pngwriter::Image BaseImage()
{
    pngwriter::Image image = pngwriter::MakeImage(20, 12, 3, 8);
    image.Transparency = "\x10\x20";
    image.Background = std::string("\x01", 1);
    return image;
}

// Every kind of chunk the reader meets, the image data in three parts.
std::vector<Chunk> BaseChunks()
{
    pngwriter::Image image = BaseImage();
    std::string gamma;
    pngwriter::PutBE32(gamma, 100000);
    std::vector<Chunk> chunks = pngwriter::Chunks(image);
    std::string data = pngwriter::Deflate(pngwriter::RawImageData(image));
    size_t third = data.size() / 3;
    std::vector<Chunk> result = {chunks[0], {"gAMA", gamma}, chunks[1], chunks[2], chunks[3],
                                 {"tEXt", std::string("Title\0x", 7)}};
    result.push_back({"IDAT", data.substr(0, third)});
    result.push_back({"IDAT", data.substr(third, third)});
    result.push_back({"IDAT", data.substr(2 * third)});
    result.push_back({"zTXt", "after"});
    result.push_back({"IEND", ""});
    return result;
}

std::string HeaderFile(uint32_t width, uint32_t height, int depth, int colorType, int compression = 0)
{
    pngwriter::Image image = pngwriter::MakeImage(2, 2, 2, 8);
    auto chunks = pngwriter::Chunks(image);
    chunks[0].Data = pngwriter::HeaderData(width, height, depth, colorType, 0);
    chunks[0].Data[10] = static_cast<char>(compression);
    return pngwriter::FileOf(chunks);
}

// The base file with chunk Index changed by Change.
std::string Changed(size_t index, const std::function<void(Chunk&)>& change)
{
    auto chunks = BaseChunks();
    change(chunks[index]);
    return pngwriter::FileOf(chunks);
}

std::string WithImageData(const std::string& data, int colorType = 2)
{
    pngwriter::Image image = pngwriter::MakeImage(16, 16, colorType, 8);
    auto chunks = pngwriter::Chunks(image);
    chunks[chunks.size() - 2].Data = data;
    return pngwriter::FileOf(chunks);
}

std::string Inserted(size_t at, const Chunk& chunk)
{
    auto chunks = BaseChunks();
    chunks.insert(chunks.begin() + static_cast<std::ptrdiff_t>(at), chunk);
    return pngwriter::FileOf(chunks);
}

struct CorruptCase {
    std::string Name;
    std::string File;
    std::string Outcome;
};

std::vector<CorruptCase> Cases()
{
    std::vector<CorruptCase> cases;
    const auto chunks = BaseChunks();
    const std::string whole = pngwriter::FileOf(chunks);
    // Cut at and inside every chunk, and a wrong CRC in each.
    size_t offset = 8;
    cases.push_back({"cut inside the signature", whole.substr(0, 5), InvalidFormat});
    for (size_t i = 0; i < chunks.size(); ++i) {
        const Chunk& c = chunks[i];
        const std::string name = c.Type + " #" + std::to_string(i);
        const size_t size = 12 + c.Data.size();
        cases.push_back({"cut at " + name, whole.substr(0, offset), ReadError});
        cases.push_back({"cut inside the header of " + name, whole.substr(0, offset + 6), ReadError});
        // A cut inside the end chunk's CRC loses nothing that is read.
        cases.push_back({"cut inside the data or CRC of " + name, whole.substr(0, offset + size - 2),
                         c.Type == "IEND" ? "ok" : ReadError});
        bool ancillary = c.Type[0] & 0x20;
        cases.push_back({"bad CRC in " + name, Changed(i, [](Chunk& k) { k.BadCRC = true; }),
                         ancillary && c.Type != "gAMA" && c.Type != "bKGD" && c.Type != "tRNS"
                             ? "ok"
                             : c.Type == "IEND" ? "ok" : CRCError});
        offset += size;
    }
    auto length = [](uint32_t value) {
        return [value](Chunk& k) {
            k.HasLength = true;
            k.Length = value;
        };
    };
    for (uint32_t value : {0xFFFFFFF4u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
        const std::string hex = std::to_string(value);
        cases.push_back({"length " + hex + " of a text chunk", Changed(5, length(value)), ReadError});
        cases.push_back({"length " + hex + " of image data", Changed(6, length(value)), ReadError});
        cases.push_back({"length " + hex + " of the header", Changed(0, length(value)), ReadError});
        cases.push_back({"length " + hex + " of the palette", Changed(2, length(value)),
                         value % 3 == 0 ? ReadError : BadPalette});
    }
    cases.push_back({"palette of 7 bytes", Changed(2, [](Chunk& k) { k.Data.resize(7); }), BadPalette});
    cases.push_back({"header of 12 bytes", Changed(0, [](Chunk& k) { k.Data.resize(12); }), InvalidFormat});
    cases.push_back({"empty header", Changed(0, [](Chunk& k) { k.Data.clear(); }), InvalidFormat});
    cases.push_back({"gamma chunk first", Changed(0, [](Chunk& k) { k.Type = "gAMA"; }), InvalidFormat});

    cases.push_back({"zero width", HeaderFile(0, 5, 8, 2), InvalidFormat});
    cases.push_back({"zero height", HeaderFile(5, 0, 8, 2), InvalidFormat});
    cases.push_back({"width past 2^31", HeaderFile(0x80000000u, 1, 8, 2), InvalidFormat});
    cases.push_back({"height past 2^31", HeaderFile(1, 0xFFFFFFFFu, 8, 2), InvalidFormat});
    cases.push_back({"largest sizes", HeaderFile(0x7FFFFFFF, 0x7FFFFFFF, 8, 6), InvalidFormat});
    cases.push_back({"more pixels than a bitmap holds", HeaderFile(0x20000000, 0x7FFFFFFF, 8, 0), OutOfResources});
    cases.push_back({"65536 square", HeaderFile(65536, 65536, 8, 2), OutOfResources});
    // One row of 2^28 pixels of 8 bytes: the row size needs more than 31 bits.
    cases.push_back({"row size past 2^31", HeaderFile(1u << 28, 1, 16, 6), InvalidFormat});
    cases.push_back({"compression method 1", HeaderFile(2, 2, 8, 2, 1), NoCompression});
    for (auto [type, depth] : {std::pair{5, 8}, {1, 8}, {7, 8}, {2, 4}, {3, 16}, {0, 3}, {4, 1}, {6, 2}})
        cases.push_back({"colour type " + std::to_string(type) + " depth " + std::to_string(depth),
                         HeaderFile(2, 2, depth, type), BadColorFormat});

    cases.push_back({"unknown critical chunk before the data", Inserted(3, {"ABCD", "x"}), Critical});
    cases.push_back({"unknown critical chunk after the data", Inserted(9, {"ABCD", "x"}), Critical});
    cases.push_back({"palette after the data", Inserted(9, {"PLTE", "abc"}), Critical});
    cases.push_back({"second header", Inserted(1, chunks[0]), Critical});
    cases.push_back({"unknown ancillary chunk", Inserted(3, {"aBCD", "x"}), "ok"});
    cases.push_back({"image data again after a text chunk", Inserted(10, chunks[6]), ExtraData});

    const std::string raw = pngwriter::RawImageData(pngwriter::MakeImage(16, 16, 2, 8));
    cases.push_back({"image data that is no zlib stream", WithImageData(std::string(200, 'x')), CompressionError});
    cases.push_back({"image data ending too soon", WithImageData(pngwriter::Deflate(raw.substr(0, 100))), ExtraData});
    cases.push_back({"image data with bytes after its end", WithImageData(pngwriter::Deflate(raw) + "junk"), ExtraData});
    const std::string packed = pngwriter::Deflate(raw);
    cases.push_back({"image data cut short", WithImageData(packed.substr(0, packed.size() / 2)), "ok"});
    cases.push_back({"empty image data", WithImageData(""), "ok"});
    // 50 MB of zeros behind the image's rows: the reader stops at the image.
    cases.push_back({"image data inflating far past the image",
                     WithImageData(pngwriter::Deflate(raw + std::string(50 << 20, '\0'), 9)), "ok"});
    cases.push_back({"no image data", [] {
                         auto c = BaseChunks();
                         c.erase(c.begin() + 6, c.begin() + 9);
                         return pngwriter::FileOf(c);
                     }(),
                     "ok"});
    return cases;
}

TEST(PngCorrupt, EachDamagedFileEndsAsTheReaderPromises)
{
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    for (const auto& c : Cases())
        EXPECT_EQ(LoadOutcome(c.File), c.Outcome) << c.Name;
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);
}

TEST(PngCorrupt, PartialImagesAndBadFilterBytes)
{
    // Image data cut in the middle: the rows reached are the image's.
    pngwriter::Image image = pngwriter::MakeImage(16, 16, 2, 8);
    image.Filter = 0;
    const std::string packed = pngwriter::Deflate(pngwriter::RawImageData(image), 0);
    auto chunks = pngwriter::Chunks(image);
    chunks[1].Data = packed.substr(0, packed.size() / 2);
    auto png = LoadPng(pngwriter::FileOf(chunks));
    std::vector<Cardinal> colours = ColoursOf(png.get());
    auto expected = [&](uint32_t x, uint32_t y) {
        return Cardinal(image.Sample(x, y, 0)) << 16 | image.Sample(x, y, 1) << 8 | image.Sample(x, y, 2);
    };
    for (uint32_t x = 0; x < 16; ++x)
        EXPECT_EQ(colours[x], expected(x, 0)) << x;
    EXPECT_EQ(colours[16 * 5 + 3], expected(3, 5));

    // A filter byte PNG does not define leaves its row as it was read.
    pngwriter::Image odd = pngwriter::MakeImage(5, 3, 2, 8);
    std::string raw;
    for (uint32_t y = 0; y < 3; ++y)
        raw += std::string(1, y == 1 ? '\x07' : '\x00') + pngwriter::PackRow(odd, y, 0, 1);
    chunks = pngwriter::Chunks(odd);
    chunks[1].Data = pngwriter::Deflate(raw);
    png = LoadPng(pngwriter::FileOf(chunks));
    colours = ColoursOf(png.get());
    for (uint32_t y = 0; y < 3; ++y)
        for (uint32_t x = 0; x < 5; ++x)
            EXPECT_EQ(colours[y * 5 + x], Cardinal(odd.Sample(x, y, 0)) << 16 | odd.Sample(x, y, 1) << 8 |
                                              odd.Sample(x, y, 2));
}

} // namespace
