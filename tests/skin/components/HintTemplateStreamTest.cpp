// The hint template stream: the tool's templates read and written back byte
// for byte, the default template built at start-up, names from files, and a
// table of cut and corrupt streams, each of which must fail cleanly and leave
// Templates as it was.
#include <gtest/gtest.h>
#include <cstring>
#include "TestSupport.h"
#include "acAlphaHints.h"

using THints = acAlphaHints::TsAlphaHints;

namespace {

std::string Fixture(const wchar_t* Name)
{
    return testing_support::FileBytes(testing_support::SourceDir() + L"\\tests\\fixtures\\skin\\hints\\" + Name);
}

TOwned<TMemoryStream> StreamOf(const std::string& Bytes)
{
    TOwned<TMemoryStream> s(New<TMemoryStream>());
    if (!Bytes.empty())
        s->WriteBuffer(Bytes.data(), static_cast<Int64>(Bytes.size()));
    s->SetPosition(0);
    return s;
}

std::string BytesOf(TMemoryStream* S)
{
    return std::string(static_cast<const char*>(S->Memory()), static_cast<std::size_t>(S->GetSize()));
}

void PutInt(std::string& Bytes, std::size_t At, int32_t Value)
{
    std::memcpy(&Bytes[At], &Value, 4);
}

// The place of each picture record's fields in a tool template with a font
// name of Tahoma.
constexpr std::size_t FirstRecord = 18 + 6;
constexpr std::size_t KindOffset = 5 + 48;
constexpr std::size_t CountOffset = KindOffset + 1;
constexpr std::size_t PictureOffset = CountOffset + 4;

std::size_t RecordSize(const std::string& Bytes, std::size_t Record)
{
    int32_t m = 0;
    std::memcpy(&m, &Bytes[Record + CountOffset], 4);
    return PictureOffset + static_cast<std::size_t>(m);
}

DWORD PixelOf(TBitmap* Bmp, int X, int Y)
{
    return static_cast<const DWORD*>(Bmp->GetScanLine(Y))[X];
}

} // namespace

TEST(HintTemplateStream, ToolTemplatesReadAndWriteBackByteForByte)
{
    for (const wchar_t* name : {L"corners.hint", L"single.hint"}) {
        SCOPED_TRACE(testing::Message() << (name[0] == L'c' ? "corners" : "single"));
        const std::string bytes = Fixture(name);
        TOwned<THints> hints(New<THints>(nullptr));
        TOwned<TMemoryStream> in = StreamOf(bytes);
        TacHintTemplate* t = hints->LoadFromStream(in.get());
        ASSERT_NE(t, nullptr);
        ASSERT_EQ(hints->GetTemplates()->Count(), 1);
        EXPECT_EQ(t->GetImageDefault()->GetImageWidth(), 27);
        EXPECT_EQ(t->GetImageDefault()->GetBordersWidths()->AsRect(), TRect(11, 10, 14, 15));
        EXPECT_EQ(t->GetImageDefault()->GetShadowSizes()->AsRect(), TRect(6, 5, 7, 8));
        EXPECT_EQ(t->GetImageDefault()->GetClientMargins()->AsRect(), TRect(11, 8, 16, 15));
        EXPECT_EQ(t->GetFont()->GetName(), L"Tahoma");
        hints->SetTemplateIndex(0);
        TOwned<TMemoryStream> out(New<TMemoryStream>());
        out->WriteBuffer("old bytes that go", 17);
        hints->SaveToStream(out.get());
        EXPECT_EQ(BytesOf(out.get()), bytes);
    }
    // The corner pictures carry their own body colours (0xAARRGGBB).
    TOwned<THints> hints(New<THints>(nullptr));
    TOwned<TMemoryStream> in = StreamOf(Fixture(L"corners.hint"));
    TacHintTemplate* t = hints->LoadFromStream(in.get());
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(t->SingleImageUsed());
    EXPECT_EQ(t->GetFont()->GetColor(), 0x000080);
    EXPECT_TRUE(t->GetFont()->GetStyle().Contains(fsBold));
    EXPECT_EQ(PixelOf(t->GetImg_RightTop()->GetImage(), 12, 12) & 0xFFFFFF, 0x40C840u);
    EXPECT_EQ(PixelOf(t->GetImg_RightBottom()->GetImage(), 12, 12) & 0xFFFFFF, 0x4040F0u);
    EXPECT_EQ(PixelOf(t->GetImg_LeftBottom()->GetImage(), 12, 12) & 0xFFFFFF, 0xF0C828u);
    EXPECT_EQ(PixelOf(t->GetImageDefault()->GetImage(), 12, 12) & 0xFFFFFF, 0xF04040u);
    // A version "1" stream that ends after the default picture leaves the corners empty.
    TOwned<TMemoryStream> single = StreamOf(Fixture(L"single.hint"));
    TacHintTemplate* s = hints->LoadFromStream(single.get());
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->SingleImageUsed());
    EXPECT_EQ(s->GetImg_RightTop()->GetImageWidth(), 0);
}

TEST(HintTemplateStream, DefaultTemplateIsBuiltAndWrittenAsABitmap)
{
    ASSERT_NE(DefaultHintTemplate, nullptr);
    TacHintImage* image = DefaultHintTemplate->GetImageDefault();
    EXPECT_EQ(image->GetImageWidth(), 27);
    EXPECT_EQ(image->GetImageHeight(), 27);
    EXPECT_EQ(image->GetBordersWidths()->AsRect(), TRect(11, 10, 14, 15));
    EXPECT_EQ(image->GetShadowSizes()->AsRect(), TRect(6, 5, 7, 8));
    EXPECT_EQ(image->GetClientMargins()->AsRect(), TRect(11, 8, 16, 15));
    EXPECT_TRUE(DefaultHintTemplate->SingleImageUsed());
    // The body's centre and its frame, opaque.
    EXPECT_EQ(PixelOf(image->GetImage(), 12, 11), 0xFFFFFFE1u);
    EXPECT_EQ(PixelOf(image->GetImage(), 6, 11), 0xFF767676u);
    EXPECT_EQ(PixelOf(image->GetImage(), 0, 0) >> 24, 0u) << "the corner lies outside the shadow";

    TOwned<THints> hints(New<THints>(nullptr));
    TOwned<TMemoryStream> out(New<TMemoryStream>());
    hints->SaveToStream(out.get());
    const std::string bytes = BytesOf(out.get());
    ASSERT_GT(bytes.size(), 18u);
    EXPECT_EQ(bytes.substr(0, 5), "AShh1");
    int32_t nameLength = 0;
    std::memcpy(&nameLength, &bytes[14], 4);
    const std::size_t record = 18 + static_cast<std::size_t>(nameLength);
    EXPECT_EQ(bytes[record + KindOffset], '0') << "an assigned picture is written as a bitmap";
    EXPECT_EQ(bytes.substr(record + PictureOffset, 2), "BM");
    EXPECT_EQ(record + RecordSize(bytes, record), bytes.size()) << "a single picture ends the stream";

    TOwned<TMemoryStream> in = StreamOf(bytes);
    TacHintTemplate* t = hints->LoadFromStream(in.get());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetImageDefault()->GetImageData()->GetSize(), 0);
    EXPECT_EQ(PixelOf(t->GetImageDefault()->GetImage(), 12, 11), 0xFFFFFFE1u);
    hints->SetTemplateIndex(0);
    TOwned<TMemoryStream> again(New<TMemoryStream>());
    hints->SaveToStream(again.get());
    EXPECT_EQ(BytesOf(again.get()), bytes);
}

TEST(HintTemplateStream, WriterStoresSystemColoursAsBlackAndCutsLongNames)
{
    TOwned<THints> hints(New<THints>(nullptr));
    TacHintTemplate* t = hints->GetTemplates()->Add();
    t->GetFont()->SetColor(clWindowText);
    t->GetFont()->SetName(String(40, L'x') + String(40, L'\u00E9'));
    hints->SetTemplateIndex(0);
    TOwned<TMemoryStream> out(New<TMemoryStream>());
    hints->SaveToStream(out.get());
    const std::string bytes = BytesOf(out.get());
    int32_t colour = -1, nameLength = -1;
    std::memcpy(&colour, &bytes[5], 4);
    std::memcpy(&nameLength, &bytes[14], 4);
    EXPECT_EQ(colour, 0);
    EXPECT_EQ(nameLength, 63);
    TOwned<TMemoryStream> in = StreamOf(bytes);
    TacHintTemplate* back = hints->LoadFromStream(in.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetFont()->GetColor(), 0);
}

TEST(HintTemplateStream, FilesNameTheTemplateAndReplaceTheOldFileWhole)
{
    testing_support::TempDir dir;
    const std::string bytes = Fixture(L"corners.hint");
    testing_support::WriteBytes(dir.File(L"blue.dark.hint"), bytes);
    TOwned<THints> hints(New<THints>(nullptr));
    TacHintTemplate* t = hints->LoadFromFile(dir.File(L"blue.dark.hint"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetName(), L"blue");
    hints->SetTemplateName(L"BLUE");
    EXPECT_EQ(hints->GetTemplateIndex(), 0);

    // Saving over an existing file replaces it.
    testing_support::WriteBytes(dir.File(L"out.hint"), "old");
    hints->SaveToFile(dir.File(L"out.hint"));
    EXPECT_EQ(testing_support::FileBytes(dir.File(L"out.hint")), bytes);

    // A file that cannot be replaced keeps its old bytes and no temporary file stays.
    testing_support::WriteBytes(dir.File(L"held.hint"), "old bytes");
    HANDLE held = CreateFileW(dir.File(L"held.hint").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_THROW(hints->SaveToFile(dir.File(L"held.hint")), Exception);
    CloseHandle(held);
    EXPECT_EQ(testing_support::FileBytes(dir.File(L"held.hint")), "old bytes");
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW(dir.File(L"*.tmp*").c_str(), &found);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "temporary file left behind";
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
}

TEST(HintTemplateStream, WrongMagicInAnyLetterCaseSaysUnknownFileFormat)
{
    const std::string good = Fixture(L"corners.hint");
    TOwned<THints> hints(New<THints>(nullptr));
    for (const char* magic : {"ashh", "ASHH", "AShH", "aShh", "BShh", "\0\0\0\0"}) {
        std::string bytes = good;
        bytes.replace(0, 4, std::string(magic, 4));
        std::wstring said;
        testing_support::AnswerNextMessageBox([&said](HWND box) {
            said = testing_support::MessageBoxText(box);
            return IDOK;
        });
        TOwned<TMemoryStream> in = StreamOf(bytes);
        EXPECT_EQ(hints->LoadFromStream(in.get()), nullptr);
        EXPECT_EQ(said, L"Unknown file format");
        EXPECT_EQ(hints->GetTemplates()->Count(), 0);
    }
}

TEST(HintTemplateStream, CutAndCorruptStreamsFailAndLeaveTemplatesUnchanged)
{
    const std::string good = Fixture(L"corners.hint");
    ASSERT_GT(good.size(), FirstRecord + PictureOffset);
    std::vector<std::size_t> records{FirstRecord};
    for (int i = 0; i < 3; ++i)
        records.push_back(records.back() + RecordSize(good, records.back()));
    ASSERT_EQ(records.back() + RecordSize(good, records.back()), good.size());

    struct TCase {
        std::string Label;
        std::string Bytes;
    };
    std::vector<TCase> cases;
    // Cut everywhere after the magic: at every field boundary and inside
    // each picture. Only the cut right after the default picture is a whole
    // (single-picture) stream.
    for (std::size_t n = 4; n < good.size(); ++n)
        if (n != records[1])
            cases.push_back({"cut at " + std::to_string(n), good.substr(0, n)});
    for (int32_t n : {-1, 0, 1, 5, 7, 62, 63, 64, 65, 0x7FFFFFFF, static_cast<int32_t>(good.size())}) {
        std::string b = good;
        PutInt(b, 14, n);
        cases.push_back({"name length " + std::to_string(n), b});
    }
    for (std::size_t r : records) {
        const std::string at = " in record at " + std::to_string(r);
        for (int32_t m : {-1, INT32_MIN, 0x7FFFFFFF, static_cast<int32_t>(good.size() - r - PictureOffset + 1)}) {
            std::string b = good;
            PutInt(b, r + CountOffset, m);
            cases.push_back({"picture count " + std::to_string(m) + at, b});
        }
        for (int mode = 0; mode < 5; ++mode)
            for (unsigned char v : {2, 0x30, 0xFF}) {
                std::string b = good;
                b[r + mode] = static_cast<char>(v);
                cases.push_back({"mode byte " + std::to_string(v) + at, b});
            }
        for (int v = 0; v < 256; ++v)
            if (v != '1') {
                std::string b = good;
                b[r + KindOffset] = static_cast<char>(v);
                cases.push_back({"kind byte " + std::to_string(v) + at, b});
            }
        for (std::size_t field = 5; field < 5 + 48; field += 4)
            for (int32_t v : {MaxHintImageSize + 1, 0x7FFFFFFF}) {
                std::string b = good;
                PutInt(b, r + field, v);
                cases.push_back({"size " + std::to_string(v) + at, b});
            }
        std::string png = good;
        png[r + PictureOffset + 1] = 'X';
        cases.push_back({"PNG signature" + at, png});
        std::string ihdr = good;
        PutInt(ihdr, r + PictureOffset + 16, 0x7FFFFFFF);
        cases.push_back({"PNG width" + at, ihdr});
    }
    for (int v = 0; v < 256; ++v)
        if (v != '0' && v != '1') {
            std::string b = good;
            b[4] = static_cast<char>(v);
            cases.push_back({"version byte " + std::to_string(v), b});
        }
    for (int32_t v : {MaxHintImageSize + 1, -MaxHintImageSize - 1, INT32_MIN}) {
        std::string b = good;
        PutInt(b, 9, v);
        cases.push_back({"font size " + std::to_string(v), b});
    }
    // A bitmap whose header claims impossible sizes.
    {
        std::string bmp(54, '\0');
        bmp[0] = 'B';
        bmp[1] = 'M';
        PutInt(bmp, 2, 54);
        PutInt(bmp, 10, 54);
        PutInt(bmp, 14, 40);
        PutInt(bmp, 18, 0x7FFFFFFF);
        PutInt(bmp, 22, 0x7FFFFFFF);
        bmp[26] = 1;
        bmp[28] = 32;
        std::string b = good.substr(0, records[0] + KindOffset);
        b += '0';
        b.append(4, '\0');
        PutInt(b, records[0] + CountOffset, static_cast<int32_t>(bmp.size()));
        b += bmp;
        cases.push_back({"bitmap of impossible size", b});
    }

    TOwned<THints> hints(New<THints>(nullptr));
    TacHintTemplate* kept = hints->GetTemplates()->Add();
    kept->SetName(L"kept");
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        TOwned<TMemoryStream> in = StreamOf(c.Bytes);
        EXPECT_THROW(hints->LoadFromStream(in.get()), EReadError);
        ASSERT_EQ(hints->GetTemplates()->Count(), 1);
        EXPECT_EQ(hints->GetTemplates()->Items(0), kept);
    }
    EXPECT_LE(testing_support::GdiObjectCount(), gdiBefore + 2);

    // Negative sizes read as 0.
    std::string negative = good;
    PutInt(negative, records[0] + 5, -4);
    TOwned<TMemoryStream> in = StreamOf(negative);
    TacHintTemplate* t = hints->LoadFromStream(in.get());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetImageDefault()->GetBordersWidths()->GetTop(), 0);
}
