// The GDI+ pictures: the format sniffer and the file-header probes over
// small good and corrupt files, the bytes kept exactly through a form
// stream, BMP keying and stretching, rotation, and the change events.
#include "AdvGDIP.h"
#include "GDIPicture.h"
#include "HTMLTestSupport.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using htmltest::TSurface;
using testing_support::TempDir;

namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s.push_back(static_cast<char>(v));
    return s;
}

std::string Padded(std::string head, std::size_t size)
{
    head.resize(size, '\0');
    return head;
}

std::string LE16(int v) { return Bytes({v & 0xFF, (v >> 8) & 0xFF}); }
std::string LE32(long long v) { return Bytes({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int((v >> 24) & 0xFF)}); }
std::string BE16(int v) { return Bytes({(v >> 8) & 0xFF, v & 0xFF}); }
std::string BE32(long long v) { return Bytes({int((v >> 24) & 0xFF), int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF)}); }

const std::string pngSignature = Bytes({0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A});

TEST(SniffPictureFormat, KnowsEachSignatureAndNeedsFortyFourBytes)
{
    struct Case {
        const char* name;
        std::string data;
        TPictureFormat expected;
    } cases[] = {
        {"PNG of 44 bytes", Padded(pngSignature, 44), pfPNG},
        {"PNG of 43 bytes", Padded(pngSignature, 43), pfNone},
        {"Intel TIFF", Padded("II" + LE16(42), 44), pfTiff},
        {"II without 42 is nothing else either", Padded("II" + LE16(43), 44), pfNone},
        {"Motorola TIFF", Padded("MM" + Bytes({0, 0x2A}), 44), pfTiff},
        {"MM without 42", Padded("MM" + Bytes({0x2A, 0}), 44), pfNone},
        {"BMP", Padded("BM", 44), pfBMP},
        {"JPEG", Padded(Bytes({0xFF, 0xD8, 0xFF, 0xE0}), 44), pfJPG},
        {"GIF", Padded("GIF89a", 44), pfGIF},
        {"placeable WMF", Padded(LE32(0x9AC6CDD7), 44), pfMetaFile},
        {"EMF", Padded(LE32(1), 40) + " EMF", pfMetaFile},
        {"record 1 without EMF", Padded(LE32(1), 40) + "XEMF", pfNone},
        {"icon", Padded(Bytes({0, 0, 1, 0}), 44), pfICO},
        {"zeros", std::string(64, '\0'), pfNone},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(SniffPictureFormat(k.data.data(), k.data.size()), k.expected);
    }
    EXPECT_EQ(SniffPictureFormat(nullptr, 100), pfNone);
}

// ---------------------------------------------------------------------------
std::string JpegSof(int marker, int height, int width)
{
    return Bytes({0xFF, marker}) + BE16(17) + Bytes({8}) + BE16(height) + BE16(width) + std::string(12, '\0');
}
const std::string jpegApp0 = Bytes({0xFF, 0xE0}) + BE16(16) + "JFIF" + std::string(10, '\0');

std::string BmpHeader(long long width, long long height)
{
    return "BM" + LE32(70) + LE32(0) + LE32(54) + LE32(40) + LE32(width) + LE32(height) + LE16(1) + LE16(24) +
           std::string(24, '\0');
}

std::string GifWithControlExtension(int transparentIndex, int width, int height)
{
    // Header, logical screen (global table of 2 colours), a graphic control
    // extension, the image descriptor.
    return std::string("GIF89a") + LE16(width) + LE16(height) + Bytes({0x80, 0, 0}) + std::string(6, '\0') +
           Bytes({0x21, 0xF9, 4, 1}) + LE16(0x2C) + Bytes({transparentIndex, 0}) + Bytes({0x2C}) + LE16(0) + LE16(0) +
           LE16(width) + LE16(height) + Bytes({0});
}

std::string TiffWith(std::initializer_list<std::pair<int, long long>> entries, int declared)
{
    std::string s = "II" + LE16(42) + LE32(8) + LE16(declared);
    for (const auto& [tag, value] : entries)
        s += LE16(tag) + LE16(4) + LE32(1) + LE32(value);
    return s;
}

TEST(ImageSizeProbes, GiveTheHeaderSizeOrNothing)
{
    struct Case {
        const char* name;
        const wchar_t* file;
        std::string data;
        int width, height;
    } cases[] = {
        {"JPEG with APP0 before SOF0", L"a.jpg", Bytes({0xFF, 0xD8}) + jpegApp0 + JpegSof(0xC0, 30, 40), 40, 30},
        {"JPEG with fill bytes and a restart marker", L"b.JPEG",
         Bytes({0xFF, 0xD8, 0xFF, 0xFF, 0xD0}) + JpegSof(0xC2, 7, 9), 9, 7},
        {"JPEG whose first frame is SOF3", L"c.jpg", Bytes({0xFF, 0xD8}) + JpegSof(0xC3, 30, 40), 0, 0},
        {"JPEG with a segment length of 0", L"d.jpg", Bytes({0xFF, 0xD8, 0xFF, 0xE1, 0, 0}) + std::string(20, 'x'), 0, 0},
        {"JPEG with a segment length of 1", L"e.jpg", Bytes({0xFF, 0xD8, 0xFF, 0xE1, 0, 1, 0xFF, 0xE1}), 0, 0},
        {"JPEG cut inside its frame", L"f.jpg", Bytes({0xFF, 0xD8, 0xFF, 0xC0, 0, 17, 8, 0}), 0, 0},
        {"not a JPEG", L"g.jpg", Padded("JFIF", 30), 0, 0},
        {"PNG", L"a.png", pngSignature + BE32(13) + "IHDR" + BE32(20) + BE32(10) + std::string(9, '\0'), 20, 10},
        {"PNG wider than 16 bits", L"b.png", pngSignature + BE32(13) + "IHDR" + BE32(70000) + BE32(3) + std::string(9, '\0'), 70000, 3},
        {"PNG cut short", L"c.png", pngSignature + BE32(13) + "IHDR", 0, 0},
        {"BMP bottom-up", L"a.bmp", BmpHeader(16, 8), 16, 8},
        {"BMP top-down", L"b.bmp", BmpHeader(16, -8), 16, 8},
        {"BMP core header", L"c.bmp", "BM" + LE32(40) + LE32(0) + LE32(26) + LE32(12) + LE16(5) + LE16(6) + std::string(8, '\0'), 5, 6},
        {"not a BMP", L"d.bmp", Padded("MB", 60), 0, 0},
        {"GIF whose extension holds a 44", L"a.gif", GifWithControlExtension(0x2C, 12, 7), 12, 7},
        {"GIF without an image", L"b.gif", std::string("GIF89a") + LE16(3) + LE16(3) + Bytes({0, 0, 0, 0x3B}), 0, 0},
        {"GIF cut in its descriptor", L"c.gif", std::string("GIF87a") + LE16(3) + LE16(3) + Bytes({0, 0, 0, 0x2C, 0, 0}), 0, 0},
        {"TIFF", L"a.tif", TiffWith({{254, 0}, {256, 33}, {257, 22}}, 3), 33, 22},
        {"TIFF whose entries end before its count", L"b.TIFF", TiffWith({{254, 0}}, 1000), 0, 0},
        {"TIFF whose count ends before the sizes", L"c.tiff", TiffWith({{256, 33}, {257, 22}}, 1) + std::string(40, '\0'), 33, 0},
        {"TIFF directory past the end", L"d.tif", "II" + LE16(42) + LE32(100000) + std::string(8, '\0'), 0, 0},
        {"unknown extension", L"a.dat", BmpHeader(16, 8), 0, 0},
    };
    TempDir dir;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const std::wstring path = dir.File(k.file);
        testing_support::WriteBytes(path, k.data);
        TOwned<TAdvGDIPPicture> picture(New<TAdvGDIPPicture>());
        picture->LoadFromFile(path);
        EXPECT_FALSE(picture->GetEmpty());
        EXPECT_EQ(picture->GetWidth(), k.width);
        EXPECT_EQ(picture->GetHeight(), k.height);
    }

    // A file that cannot be read leaves the picture empty, without an error.
    TOwned<TAdvGDIPPicture> missing(New<TAdvGDIPPicture>());
    missing->LoadFromFile(dir.File(L"none.png"));
    EXPECT_TRUE(missing->GetEmpty());
}

// ---------------------------------------------------------------------------
// A 24-bit BMP of 4 x 2 pixels: the left column red (the bottom-left pixel
// is the automatic key colour), the rest blue.
std::string KeyedBmp()
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(4, 2);
    TCanvas* canvas = bitmap->GetCanvas();
    canvas->GetBrush()->SetColor(clBlue);
    canvas->FillRect(TRect(0, 0, 4, 2));
    canvas->GetBrush()->SetColor(clRed);
    canvas->FillRect(TRect(0, 0, 1, 2));
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    bitmap->SaveToStream(stream.get());
    return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->GetSize()));
}

template <class Picture>
void LoadBytes(Picture* picture, const std::string& bytes)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    picture->LoadFromStream(stream.get());
}

template <class Picture>
std::string SavedBytes(Picture* picture)
{
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    picture->SaveToStream(stream.get());
    return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->GetSize()));
}

// Form streaming is protected, as the class library's is.
template <class Picture>
struct Streamed : Picture {
    using Picture::ReadData;
    using Picture::WriteData;
};

template <class Picture>
void ExpectDataRoundTrip(const std::string& bytes)
{
    TOwned<Streamed<Picture>> written(New<Streamed<Picture>>());
    LoadBytes(written.get(), bytes);
    TOwned<TMemoryStream> form(New<TMemoryStream>());
    {
        TWriter writer(form.get());
        TOwned<TMemoryStream> data(New<TMemoryStream>());
        written->WriteData(data.get());
        writer.WritePropName(L"Data");
        writer.WriteBinary(data->Memory(), data->GetSize());
    }
    form->SetPosition(0);
    TReader reader(form.get());
    ASSERT_EQ(reader.ReadPropName(), L"Data");
    const std::vector<Byte> block = reader.ReadBinary();
    TOwned<TMemoryStream> data(New<TMemoryStream>());
    data->WriteBuffer(block.data(), static_cast<Int64>(block.size()));
    TOwned<Streamed<Picture>> read(New<Streamed<Picture>>());
    read->ReadData(data.get());
    EXPECT_FALSE(read->GetEmpty());
    EXPECT_EQ(SavedBytes(read.get()), bytes);
}

TEST(GDIPPictureData, TheBytesGoThroughAFormStreamUnchanged)
{
    const std::string png = testing_support::FileBytes(testing_support::SourceDir() + L"\\tests\\fixtures\\vcl\\alpha.png");
    ASSERT_FALSE(png.empty());
    ExpectDataRoundTrip<TAdvGDIPPicture>(png);
    ExpectDataRoundTrip<TGDIPPicture>(png);
    ExpectDataRoundTrip<TAdvGDIPPicture>(KeyedBmp());
    // Bytes GDI+ cannot read are kept all the same, and measure as nothing.
    const std::string junk = Padded("not a picture at all", 100);
    ExpectDataRoundTrip<TGDIPPicture>(junk);
    TOwned<TGDIPPicture> picture(New<TGDIPPicture>());
    LoadBytes(picture.get(), junk);
    EXPECT_EQ(picture->GetWidth(), 0);
    EXPECT_EQ(picture->GetPictureFormat(), pfNone);
}

TEST(GDIPPictureDraw, ABmpIsKeyedByItsCornerAndStretchedOnlyByTheHintPicture)
{
    const std::string bmp = KeyedBmp();
    const COLORREF white = RGB(255, 255, 255), blue = RGB(0, 0, 255), red = RGB(255, 0, 0);

    // Natural size at the top-left, the red column keyed out.
    TOwned<TAdvGDIPPicture> plain(New<TAdvGDIPPicture>());
    LoadBytes(plain.get(), bmp);
    EXPECT_EQ(plain->GetWidth(), 4);
    TSurface a(40, 40);
    a.Canvas()->StretchDraw(TRect(10, 10, 30, 30), plain.get());
    EXPECT_EQ(a.Pixel(10, 10), white);
    EXPECT_EQ(a.Pixel(11, 10), blue);
    EXPECT_EQ(a.Pixel(13, 11), blue);
    EXPECT_EQ(a.Pixel(20, 20), white);

    // Stretched over the rectangle, the key colour still left out.
    TOwned<TGDIPPicture> hint(New<TGDIPPicture>());
    LoadBytes(hint.get(), bmp);
    EXPECT_EQ(hint->GetPictureFormat(), pfBMP);
    TSurface b(40, 40);
    b.Canvas()->StretchDraw(TRect(10, 10, 30, 30), hint.get());
    EXPECT_EQ(b.Pixel(11, 12), white);
    EXPECT_EQ(b.Pixel(20, 15), blue);
    EXPECT_EQ(b.Pixel(28, 28), blue);

    // On a GDI+ surface the key is the corner pixel, or the fixed colour.
    struct Case {
        const char* name;
        TTransparentMode mode;
        TColor fixed;
        COLORREF left, right;
    } cases[] = {
        {"automatic", tmAuto, clWhite, white, blue},
        {"fixed blue", tmFixed, clBlue, red, white},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        plain->SetTransparent(true);
        plain->SetTransparentMode(k.mode);
        plain->SetTransparentColor(k.fixed);
        TSurface c(40, 40);
        {
            TGPGraphics graphics(c.Canvas()->GetHandle());
            plain->GDIPDraw(&graphics, TGPRectF{10, 10, 4, 2});
        }
        EXPECT_EQ(c.Pixel(10, 11), k.left);
        EXPECT_EQ(c.Pixel(12, 10), k.right);
        EXPECT_EQ(plain->GetPixelDepth(), 24);
        EXPECT_FALSE(plain->GetHasAlpha());
    }
}

TEST(GDIPPictureDraw, AngleTurnsTheImageAboutItsCentreAtTheTopLeft)
{
    // 20 x 10: red left half, blue right half, drawn at its own size at
    // (50, 50). Turned by 90 degrees about (60, 55) the red half lies above
    // the blue one, both between x 55 and 65.
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(20, 10);
    bitmap->GetCanvas()->GetBrush()->SetColor(clBlue);
    bitmap->GetCanvas()->FillRect(TRect(0, 0, 20, 10));
    bitmap->GetCanvas()->GetBrush()->SetColor(clRed);
    bitmap->GetCanvas()->FillRect(TRect(0, 0, 10, 10));
    TOwned<TGDIPPicture> picture(New<TGDIPPicture>());
    picture->Assign(bitmap.get());
    picture->SetTransparentBitmap(false);

    for (int angle : {0, 90}) {
        SCOPED_TRACE(angle);
        picture->SetAngle(angle);
        TSurface s(100, 100);
        s.Canvas()->StretchDraw(TRect(50, 50, 70, 60), picture.get());
        if (angle == 0) {
            EXPECT_EQ(s.Pixel(53, 55), RGB(255, 0, 0));
            EXPECT_EQ(s.Pixel(66, 55), RGB(0, 0, 255));
        } else {
            EXPECT_EQ(s.Pixel(60, 48), RGB(255, 0, 0));
            EXPECT_EQ(s.Pixel(60, 62), RGB(0, 0, 255));
            EXPECT_EQ(s.Pixel(52, 55), RGB(255, 255, 255));
            EXPECT_EQ(s.Pixel(68, 55), RGB(255, 255, 255));
        }
    }
}

// ---------------------------------------------------------------------------
template <class Picture>
void ExpectAssignNilOrder()
{
    TOwned<Picture> picture(New<Picture>());
    LoadBytes(picture.get(), KeyedBmp());
    ASSERT_FALSE(picture->GetEmpty());
    std::vector<std::string> events;
    picture->OnChange = [&](TObject*) { events.push_back("change"); };
    picture->OnClear = [&](TObject*) { events.push_back("clear"); };
    picture->Assign(nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"change", "clear"}));
    EXPECT_TRUE(picture->GetEmpty());
    EXPECT_TRUE(SavedBytes(picture.get()).empty());
}

TEST(GDIPPictureAssign, NilChangesThenClears)
{
    ExpectAssignNilOrder<TAdvGDIPPicture>();
    ExpectAssignNilOrder<TGDIPPicture>();
}

TEST(GDIPPictureAssign, PicturesAndGraphicsGiveTheirBytes)
{
    const std::string bmp = KeyedBmp();
    TOwned<TAdvGDIPPicture> source(New<TAdvGDIPPicture>());
    LoadBytes(source.get(), bmp);
    TOwned<TAdvGDIPPicture> copy(New<TAdvGDIPPicture>());
    copy->Assign(source.get());
    EXPECT_EQ(SavedBytes(copy.get()), bmp);
    EXPECT_EQ(copy->GetWidth(), 4);
    EXPECT_EQ(copy->GetHeight(), 2);
    // A picture assigned to itself keeps its bytes.
    copy->Assign(copy.get());
    EXPECT_EQ(SavedBytes(copy.get()), bmp);

    // A class-library picture gives its graphic's file.
    GraphicClass<TBitmap>();
    TOwned<TPicture> holder(New<TPicture>());
    TOwned<TBitmap> bitmap(New<TBitmap>());
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->WriteBuffer(bmp.data(), static_cast<Int64>(bmp.size()));
    stream->SetPosition(0);
    bitmap->LoadFromStream(stream.get());
    holder->SetGraphic(bitmap.get());
    TOwned<TGDIPPicture> fromHolder(New<TGDIPPicture>());
    fromHolder->Assign(holder.get());
    EXPECT_FALSE(fromHolder->GetEmpty());
    EXPECT_EQ(fromHolder->GetPictureFormat(), pfBMP);
    EXPECT_EQ(fromHolder->GetWidth(), 4);
}

TEST(GDIPPictureLoad, UrlsByPrefixInAnyCase)
{
    TOwned<TGDIPPicture> picture(New<TGDIPPicture>());
    picture->LoadFromURL(L"res://tavelin_test_png");
    EXPECT_FALSE(picture->GetEmpty());
    EXPECT_EQ(picture->GetPictureFormat(), pfPNG);
    EXPECT_GT(picture->GetWidth(), 0);

    TOwned<TAdvGDIPPicture> other(New<TAdvGDIPPicture>());
    other->LoadFromURL(L"http://example.invalid/x.png");
    other->LoadFromURL(L"Res://");
    EXPECT_TRUE(other->GetEmpty());
    other->LoadFromURL(L"RES://TAVELIN_TEST_PNG");
    EXPECT_FALSE(other->GetEmpty());
    EXPECT_GT(other->GetWidth(), 0);
}

} // namespace
