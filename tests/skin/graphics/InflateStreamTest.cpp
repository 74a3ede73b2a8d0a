// The inflate stream over memory sources: entries that start mid-source as
// packed skins hold them, the seeks that Position, Size and CopyFrom make,
// and damaged data, each ending as the stream promises.
#include <gtest/gtest.h>
#include "PngWriter.h"
#include "acZLibEx.h"
#include <cstring>

namespace {

std::string Pattern(size_t size, uint32_t seed)
{
    std::string s(size, '\0');
    uint32_t state = seed;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        // Half noise, half runs: some of it compresses, some does not.
        s[i] = static_cast<char>(i % 2048 < 1024 ? state >> 16 : i / 2048);
    }
    return s;
}

TOwned<TMemoryStream> StreamOf(const std::string& bytes)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

std::string Contents(TMemoryStream* stream)
{
    return std::string(static_cast<const char*>(stream->Memory()), static_cast<size_t>(stream->GetSize()));
}

// What the stream delivers in reads of the given size until one gives nothing.
std::string ReadAll(TStream* stream, int chunk)
{
    std::string out, buffer(static_cast<size_t>(chunk), '\0');
    for (int got; (got = stream->Read(&buffer[0], chunk)) > 0;)
        out.append(buffer.data(), static_cast<size_t>(got));
    return out;
}

TEST(InflateStream, EntriesBackToBackEachLeaveTheSourceJustBehindThem)
{
    // Larger than the 128 KB input buffer, so that both refill and push back.
    const std::string first = Pattern(400000, 7), second = Pattern(150000, 9);
    const std::string packed1 = pngwriter::Deflate(first), packed2 = pngwriter::Deflate(second);
    const std::string source = "HDR1" + packed1 + "HDR2" + packed2 + "TAIL";
    auto file = StreamOf(source);

    char tag[4];
    file->ReadBuffer(tag, 4);
    int refills = 0;
    {
        TOwned<TZDecompressionStream> entry(New<TZDecompressionStream>(file.get()));
        entry->OnProgress = [&](TObject* sender) {
            EXPECT_EQ(sender, entry.get());
            ++refills;
        };
        TOwned<TMemoryStream> out(New<TMemoryStream>());
        EXPECT_EQ(out->CopyFrom(entry.get(), static_cast<Int64>(first.size())), static_cast<Int64>(first.size()));
        EXPECT_EQ(Contents(out.get()), first);
        // The copy stops at the stated size; one more read finds the end.
        EXPECT_EQ(entry->Read(tag, 4), 0);
    }
    EXPECT_GE(refills, 1);
    EXPECT_EQ(file->GetPosition(), static_cast<Int64>(4 + packed1.size()));
    file->ReadBuffer(tag, 4);
    EXPECT_EQ(std::string(tag, 4), "HDR2");

    {
        // Count 0 copies the whole entry: the rewind goes to where the stream
        // was made, not to the start of the file, whose header is no zlib data.
        TOwned<TZDecompressionStream> entry(New<TZDecompressionStream>(file.get()));
        TOwned<TMemoryStream> out(New<TMemoryStream>());
        EXPECT_EQ(out->CopyFrom(entry.get(), 0), static_cast<Int64>(second.size()));
        EXPECT_EQ(Contents(out.get()), second);
    }
    file->ReadBuffer(tag, 4);
    EXPECT_EQ(std::string(tag, 4), "TAIL");
}

TEST(InflateStream, ReadCountsAndAMovedSource)
{
    const std::string data = Pattern(5000, 3);
    auto file = StreamOf("xx" + pngwriter::Deflate(data) + "after");
    file->SetPosition(2);
    TOwned<TZDecompressionStream> z(New<TZDecompressionStream>(file.get()));
    char buffer[64];
    std::memset(buffer, 0x5A, sizeof(buffer));
    EXPECT_EQ(z->Read(buffer, 0), 0);
    // A negative count reads nothing and touches nothing.
    EXPECT_EQ(z->Read(buffer, -1), 0);
    EXPECT_EQ(z->Read(buffer, INT_MIN), 0);
    EXPECT_EQ(buffer[0], 0x5A);
    EXPECT_EQ(z->GetPosition(), 0);

    ASSERT_EQ(z->Read(buffer, 10), 10);
    EXPECT_EQ(std::string(buffer, 10), data.substr(0, 10));
    // Someone else reads the source in between: the stream goes back to its place.
    Int64 left = file->GetPosition();
    file->SetPosition(0);
    EXPECT_EQ(z->Read(buffer, 0), 0);
    EXPECT_EQ(file->GetPosition(), left);
    file->SetPosition(1);
    std::string rest = ReadAll(z.get(), 1000);
    EXPECT_EQ(rest, data.substr(10));
    EXPECT_EQ(z->GetPosition(), static_cast<Int64>(data.size()));
    char after[5];
    file->ReadBuffer(after, 5);
    EXPECT_EQ(std::string(after, 5), "after");
    // After the end a read gives nothing; the source stands where the stream left it.
    const Int64 behind = file->GetSize() - 5;
    EXPECT_EQ(z->Read(buffer, 10), 0);
    EXPECT_EQ(file->GetPosition(), behind);
    EXPECT_EQ(z->Read(buffer, 10), 0);
    EXPECT_EQ(file->GetPosition(), behind);
}

TEST(InflateStream, SeeksPositionAndSize)
{
    const std::string data = Pattern(120000, 5);
    auto file = StreamOf("head" + pngwriter::Deflate(data));
    file->SetPosition(4);
    TOwned<TZDecompressionStream> z(New<TZDecompressionStream>(file.get()));

    // Size at position 0 inflates everything and comes back to 0.
    EXPECT_EQ(z->GetSize(), static_cast<Int64>(data.size()));
    EXPECT_EQ(z->GetPosition(), 0);
    char buffer[16];
    ASSERT_EQ(z->Read(buffer, 16), 16);
    EXPECT_EQ(std::string(buffer, 16), data.substr(0, 16));

    // Forward from the beginning and from the current position discard.
    EXPECT_EQ(z->Seek(40000, soBeginning), 40000);
    EXPECT_EQ(z->Seek(16384 * 2 + 5, soCurrent), 40000 + 16384 * 2 + 5);
    ASSERT_EQ(z->Read(buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 4), data.substr(40000 + 16384 * 2 + 5, 4));
    EXPECT_EQ(z->Seek(0, soCurrent), 40000 + 16384 * 2 + 9);

    const Int64 here = z->GetPosition();
    for (auto [offset, origin] : {std::pair<Int64, TSeekOrigin>{here, soBeginning}, {here - 1, soBeginning},
                                  {-1, soCurrent}, {-5, soEnd}, {5, soEnd}}) {
        try {
            z->Seek(offset, origin);
            ADD_FAILURE() << "seek " << offset << " from " << origin << " did not raise";
        } catch (const EZDecompressionError& e) {
            EXPECT_EQ(e.Message(), L"Invalid ZStream operation!");
        }
    }
    EXPECT_THROW(z->Write(buffer, 1), EZDecompressionError);
    // Past the end: the class library's read error.
    EXPECT_THROW(z->Seek(static_cast<Int64>(data.size()) + 1, soBeginning), EReadError);

    // Back to the beginning: where the stream was made, which is not 0.
    EXPECT_EQ(z->Seek(0, soBeginning), 0);
    EXPECT_EQ(file->GetPosition(), 4);
    ASSERT_EQ(z->Read(buffer, 16), 16);
    EXPECT_EQ(std::string(buffer, 16), data.substr(0, 16));
    EXPECT_EQ(z->Seek(0, soEnd), static_cast<Int64>(data.size()));
}

TEST(InflateStream, RawDeflateThroughWindowBits)
{
    const std::string data = Pattern(3000, 11);
    std::string zlibData = pngwriter::Deflate(data);
    // Without the two header bytes and the four trailer bytes.
    auto file = StreamOf(zlibData.substr(2, zlibData.size() - 6));
    TOwned<TZDecompressionStream> z(New<TZDecompressionStream>(file.get(), -15));
    EXPECT_EQ(ReadAll(z.get(), 256), data);
}

struct CorruptCase {
    const char* Name;
    int Code; // 0: no error, a short read
    const wchar_t* Message;
};

std::string Damaged(const std::string& good, const char* name)
{
    std::string s = good;
    if (std::strcmp(name, "cut") == 0)
        return s.substr(0, s.size() / 2);
    if (std::strcmp(name, "bad header") == 0)
        s[0] = 0x79;
    else if (std::strcmp(name, "checksum") == 0)
        s[s.size() - 1] = static_cast<char>(s[s.size() - 1] ^ 0x40);
    else if (std::strcmp(name, "block type") == 0)
        s[2] = static_cast<char>(s[2] | 0x06); // block type 3 does not exist
    else if (std::strcmp(name, "preset dictionary") == 0) {
        // FDICT set, a dictionary id, and the header's check bits made right.
        unsigned cmf = 0x78, flg = 0x20;
        flg += 31 - (cmf * 256 + flg) % 31;
        s = std::string{static_cast<char>(cmf), static_cast<char>(flg), 1, 2, 3, 4} + s.substr(2);
    }
    return s;
}

TEST(InflateStream, DamagedDataEndsAsPromised)
{
    const std::string data = Pattern(20000, 13);
    const std::string good = pngwriter::Deflate(data);
    const CorruptCase cases[] = {
        {"cut", 0, nullptr},
        {"bad header", -3, L"data error"},
        {"checksum", -3, L"data error"},
        {"block type", -3, L"data error"},
        {"preset dictionary", 2, L"need dictionary"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        auto file = StreamOf(Damaged(good, c.Name));
        TOwned<TZDecompressionStream> z(New<TZDecompressionStream>(file.get()));
        std::string out(data.size() + 10, '\0');
        if (c.Code == 0) {
            int got = z->Read(&out[0], static_cast<int>(out.size()));
            EXPECT_GT(got, 0);
            EXPECT_LT(got, static_cast<int>(data.size()));
            EXPECT_EQ(out.substr(0, static_cast<size_t>(got)), data.substr(0, static_cast<size_t>(got)));
            EXPECT_EQ(z->Read(&out[0], 10), 0);
            continue;
        }
        // The error comes again on the next read, also with the input used up.
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                z->Read(&out[0], static_cast<int>(out.size()));
                ADD_FAILURE() << "no error";
            } catch (const EZDecompressionError& e) {
                EXPECT_EQ(e.ErrorCode(), c.Code);
                EXPECT_EQ(e.Message(), c.Message);
            }
        }
    }
}

TEST(InflateStream, ErrorTexts)
{
    const std::pair<int, const wchar_t*> texts[] = {
        {2, L"need dictionary"}, {1, L"stream end"},    {0, L"ok"},           {-1, L"file error"},
        {-2, L"stream error"},   {-3, L"data error"},   {-4, L"insufficient memory"},
        {-5, L"buffer error"},   {-6, L"incompatible version"},
    };
    for (auto [code, text] : texts) {
        EZLibError e(code);
        EXPECT_EQ(e.ErrorCode(), code);
        EXPECT_EQ(e.Message(), text);
    }
    EXPECT_EQ(EZLibError(zeDataError).ErrorCode(), -3);
    EXPECT_EQ(EZLibError(zeVersionError).Message(), L"incompatible version");
}

} // namespace
