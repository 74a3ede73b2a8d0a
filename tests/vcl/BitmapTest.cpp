// TBitmap: pixel formats, scan lines, BMP files and resources, transparency.
#include <gtest/gtest.h>
#include "Graphics.h"
#include "GraphicsTestSupport.h"
#include <cstring>

namespace {

using graphics_test::ReadFixture;
using graphics_test::StreamOf;

// The fixture pictures are 4 x 2: red, lime, blue, white over black, yellow, aqua, fuchsia.
const TColor QuadColors[2][4] = {
    {clRed, clLime, clBlue, clWhite},
    {clBlack, clYellow, clAqua, clFuchsia},
};

void ExpectQuad(TBitmap* bitmap, const String& what)
{
    ASSERT_EQ(bitmap->GetWidth(), 4) << what;
    ASSERT_EQ(bitmap->GetHeight(), 2) << what;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(bitmap->GetCanvas()->GetPixels(x, y), QuadColors[y][x]) << what << " at " << x << "," << y;
}

using BitmapTest = graphics_test::GdiLeakTest;

struct FormatCase {
    TPixelFormat Format;
    int BitsPerPixel;
    TColor Ink; // a colour every format holds exactly
};

const FormatCase Formats[] = {
    {pf1bit, 1, clWhite}, {pf4bit, 4, clRed},   {pf8bit, 8, clRed},   {pf15bit, 16, clRed},
    {pf16bit, 16, clRed}, {pf24bit, 24, clRed}, {pf32bit, 32, clRed},
};

TEST_F(BitmapTest, EveryPixelFormatDrawsHasRowsAndSurvivesItsFile)
{
    for (const auto& c : Formats) {
        SCOPED_TRACE(c.BitsPerPixel);
        TOwned<TBitmap> bitmap(New<TBitmap>());
        bitmap->SetPixelFormat(c.Format);
        bitmap->SetSize(10, 3);
        EXPECT_EQ(bitmap->GetHandleType(), bmDIB);
        EXPECT_EQ(bitmap->GetMonochrome(), c.Format == pf1bit);
        bitmap->GetCanvas()->GetBrush()->SetColor(clBlack);
        bitmap->GetCanvas()->FillRect(Rect(0, 0, 10, 3));
        bitmap->GetCanvas()->GetBrush()->SetColor(c.Ink);
        bitmap->GetCanvas()->FillRect(Rect(0, 0, 5, 1));

        // Rows are stored bottom-up and padded to four bytes.
        auto* top = static_cast<Byte*>(bitmap->GetScanLine(0));
        auto* next = static_cast<Byte*>(bitmap->GetScanLine(1));
        EXPECT_EQ(top - next, (10 * c.BitsPerPixel + 31) / 32 * 4);

        TOwned<TMemoryStream> file(New<TMemoryStream>());
        bitmap->SaveToStream(file.get());
        file->SetPosition(0);
        TOwned<TBitmap> loaded(New<TBitmap>());
        loaded->LoadFromStream(file.get());
        EXPECT_EQ(loaded->GetPixelFormat(), c.Format);
        EXPECT_EQ(loaded->GetCanvas()->GetPixels(4, 0), c.Ink);
        EXPECT_EQ(loaded->GetCanvas()->GetPixels(5, 0), clBlack);
        EXPECT_EQ(loaded->GetCanvas()->GetPixels(0, 1), clBlack);
        EXPECT_EQ(std::memcmp(loaded->GetScanLine(0), bitmap->GetScanLine(0), static_cast<size_t>(top - next)), 0);
    }
}

TEST_F(BitmapTest, CanvasDrawsIntoA32BitBitmap)
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(40, 30);
    TCanvas* canvas = bitmap->GetCanvas();
    canvas->GetBrush()->SetColor(clNavy);
    canvas->FillRect(Rect(0, 0, 40, 30));
    canvas->GetPen()->SetColor(clYellow);
    canvas->GetBrush()->SetColor(clRed);
    canvas->Ellipse(5, 5, 35, 25);
    canvas->GetPen()->SetColor(clLime);
    canvas->MoveTo(0, 29);
    canvas->LineTo(40, 29);

    auto pixel = [&](int x, int y) {
        const auto* row = static_cast<const DWORD*>(bitmap->GetScanLine(y));
        return row[x] & 0xFFFFFF; // 0x00RRGGBB in memory
    };
    EXPECT_EQ(pixel(20, 15), 0xFF0000u);
    EXPECT_EQ(pixel(1, 1), 0x000080u);
    EXPECT_EQ(pixel(20, 5), 0xFFFF00u);
    EXPECT_EQ(pixel(39, 29), 0x00FF00u);
}

TEST_F(BitmapTest, DeviceBitmapsBecomeDIBsForScanLines)
{
    TOwned<TBitmap> bitmap(New<TBitmap>(6, 6));
    EXPECT_EQ(bitmap->GetPixelFormat(), pfDevice);
    EXPECT_EQ(bitmap->GetHandleType(), bmDDB);
    bitmap->GetCanvas()->GetBrush()->SetColor(clTeal);
    bitmap->GetCanvas()->FillRect(Rect(0, 0, 3, 6));
    EXPECT_NE(bitmap->GetScanLine(2), nullptr);
    EXPECT_EQ(bitmap->GetHandleType(), bmDIB);
    EXPECT_EQ(bitmap->GetCanvas()->GetPixels(2, 2), clTeal);
    EXPECT_EQ(bitmap->GetCanvas()->GetPixels(3, 2), clWhite);

    EXPECT_THROW(bitmap->GetScanLine(6), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap->GetScanLine(-1), EInvalidGraphicOperation);
    EXPECT_THROW(TOwned<TBitmap>(New<TBitmap>())->GetScanLine(0), EInvalidGraphicOperation);
}

TEST_F(BitmapTest, ResizingKeepsTheOverlapAndPaintsTheRestWithTheBrush)
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(4, 4);
    for (int y = 0; y < 4; ++y) {
        auto* row = static_cast<DWORD*>(bitmap->GetScanLine(y));
        for (int x = 0; x < 4; ++x)
            row[x] = 0x80000000u | static_cast<DWORD>(y * 4 + x); // alpha must survive too
    }
    bitmap->GetCanvas()->GetBrush()->SetColor(clGreen);
    bitmap->SetSize(6, 3);
    EXPECT_EQ(bitmap->GetWidth(), 6);
    EXPECT_EQ(bitmap->GetHeight(), 3);
    EXPECT_EQ(static_cast<DWORD*>(bitmap->GetScanLine(2))[3], 0x80000000u | 11);
    EXPECT_EQ(bitmap->GetCanvas()->GetPixels(5, 0), clGreen);

    int changes = 0;
    bitmap->OnChange = [&](TObject*) { ++changes; };
    bitmap->SetSize(0, 3);
    EXPECT_TRUE(bitmap->GetEmpty());
    EXPECT_EQ(bitmap->GetWidth(), 0);
    EXPECT_EQ(bitmap->GetPixelFormat(), pf32bit) << "an emptied bitmap keeps its format";
    EXPECT_EQ(changes, 1);
}

struct FileCase {
    const wchar_t* File;
    TPixelFormat Format;
};

TEST_F(BitmapTest, ReadsTheBmpVariants)
{
    const FileCase files[] = {
        {L"quad24.bmp", pf24bit},   // BITMAPINFOHEADER
        {L"quad8-rle.bmp", pf8bit}, // run-length encoded with a palette
        {L"quad16.bmp", pf16bit},   // 5-6-5 bit fields in a V5 header
        {L"quad-os2.bmp", pf24bit}, // BITMAPCOREHEADER and RGB triples
        {L"quad32.bmp", pf32bit},   // alpha in a V5 header
    };
    for (const auto& f : files) {
        TOwned<TBitmap> bitmap(New<TBitmap>());
        auto stream = StreamOf(ReadFixture(f.File));
        ASSERT_GT(stream->GetSize(), 0) << f.File;
        bitmap->LoadFromStream(stream.get());
        EXPECT_EQ(bitmap->GetPixelFormat(), f.Format) << f.File;
        ExpectQuad(bitmap.get(), f.File);
        EXPECT_EQ(stream->GetPosition(), stream->GetSize()) << f.File;
    }

    // The alpha of the 32-bit file is kept: opaque on top, half below.
    TOwned<TBitmap> alpha(New<TBitmap>());
    alpha->LoadFromStream(StreamOf(ReadFixture(L"quad32.bmp")).get());
    EXPECT_EQ(static_cast<Byte*>(alpha->GetScanLine(0))[3], 255);
    EXPECT_EQ(static_cast<Byte*>(alpha->GetScanLine(1))[3], 127);

    // Rows stored top-down (negative height) read the same.
    std::vector<Byte> file = ReadFixture(L"quad24.bmp");
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(file.data() + sizeof(BITMAPFILEHEADER));
    info->biHeight = -info->biHeight;
    Byte* bits = file.data() + reinterpret_cast<BITMAPFILEHEADER*>(file.data())->bfOffBits;
    std::swap_ranges(bits, bits + 12, bits + 12);
    TOwned<TBitmap> topDown(New<TBitmap>());
    topDown->LoadFromStream(StreamOf(file).get());
    ExpectQuad(topDown.get(), L"top-down");
}

TEST_F(BitmapTest, RefusesBrokenFilesAndKeepsItsPicture)
{
    const std::vector<Byte> good = ReadFixture(L"quad24.bmp");
    auto patched = [&](size_t at, std::initializer_list<Byte> bytes) {
        std::vector<Byte> file = good;
        for (Byte b : bytes)
            file.at(at++) = b;
        return file;
    };
    constexpr size_t info = sizeof(BITMAPFILEHEADER);
    const std::pair<const char*, std::vector<Byte>> broken[] = {
        {"not a bitmap", patched(0, {'P', 'K'})},
        {"header only", std::vector<Byte>(good.begin(), good.begin() + 20)},
        {"rows cut off", std::vector<Byte>(good.begin(), good.end() - 8)},
        {"seven bits per pixel", patched(info + 14, {7, 0})},
        {"zero width", patched(info + 4, {0, 0, 0, 0})},
        {"enormous", patched(info + 4, {0xFF, 0xFF, 0xFF, 0x7F})},
        {"unknown header size", patched(info, {20, 0, 0, 0})},
        {"run-length on 24 bits", patched(info + 16, {BI_RLE8, 0, 0, 0})},
        {"JPEG inside", patched(info + 16, {BI_JPEG, 0, 0, 0})},
    };
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->LoadFromStream(StreamOf(good).get());
    for (const auto& [what, bytes] : broken) {
        EXPECT_THROW(bitmap->LoadFromStream(StreamOf(bytes).get()), EInvalidGraphic) << what;
        ExpectQuad(bitmap.get(), L"after a broken file");
    }
    // Nothing left in the stream means no picture.
    TOwned<TMemoryStream> empty(New<TMemoryStream>());
    bitmap->LoadFromStream(empty.get());
    EXPECT_TRUE(bitmap->GetEmpty());
    bitmap->SaveToStream(empty.get());
    EXPECT_EQ(empty->GetSize(), 0);
}

TEST_F(BitmapTest, LoadsResourcesByNameAndNumber)
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_QUAD");
    ExpectQuad(bitmap.get(), L"named resource");
    bitmap->LoadFromResourceID(HInstance(), 101);
    ExpectQuad(bitmap.get(), L"numbered resource");
    EXPECT_EQ(bitmap->GetPixelFormat(), pf8bit);
    EXPECT_THROW(bitmap->LoadFromResourceName(HInstance(), L"NO_SUCH_BITMAP"), EResNotFound);
}

// A fuchsia picture with a red square in it, on a white canvas of the same size.
struct TTransparencyScene {
    TTransparencyScene()
    {
        picture->SetPixelFormat(pf24bit);
        picture->SetSize(8, 8);
        picture->GetCanvas()->GetBrush()->SetColor(clFuchsia);
        picture->GetCanvas()->FillRect(Rect(0, 0, 8, 8));
        picture->GetCanvas()->GetBrush()->SetColor(clRed);
        picture->GetCanvas()->FillRect(Rect(2, 2, 6, 6));
        target->SetPixelFormat(pf24bit);
        target->SetSize(8, 8);
    }
    TColor DrawAndRead(int x, int y)
    {
        target->GetCanvas()->GetBrush()->SetColor(clWhite);
        target->GetCanvas()->FillRect(Rect(0, 0, 8, 8));
        target->GetCanvas()->Draw(0, 0, picture.get());
        return target->GetCanvas()->GetPixels(x, y);
    }
    TOwned<TBitmap> picture{New<TBitmap>()};
    TOwned<TBitmap> target{New<TBitmap>()};
};

TEST_F(BitmapTest, TransparentColourIsTheCornerOrTheChosenOne)
{
    TTransparencyScene scene;
    EXPECT_EQ(scene.DrawAndRead(0, 0), clFuchsia);

    scene.picture->SetTransparent(true);
    EXPECT_EQ(scene.picture->GetTransparentMode(), tmAuto);
    EXPECT_EQ(scene.picture->GetTransparentColor(), clFuchsia | 0x02000000);
    EXPECT_EQ(scene.DrawAndRead(0, 0), clWhite);
    EXPECT_EQ(scene.DrawAndRead(3, 3), clRed);

    scene.picture->SetTransparentColor(clRed);
    EXPECT_EQ(scene.picture->GetTransparentMode(), tmFixed);
    EXPECT_EQ(scene.DrawAndRead(0, 0), clFuchsia);
    EXPECT_EQ(scene.DrawAndRead(3, 3), clWhite);

    scene.picture->SetTransparentColor(clDefault);
    EXPECT_EQ(scene.picture->GetTransparentMode(), tmAuto);
    EXPECT_EQ(scene.DrawAndRead(0, 0), clWhite);

    // The mask is set where the transparent colour is.
    BITMAP bm{};
    ASSERT_TRUE(GetObjectW(scene.picture->GetMaskHandle(), sizeof(bm), &bm));
    EXPECT_EQ(bm.bmBitsPixel, 1);
    scene.picture->Mask(clRed);
    EXPECT_EQ(scene.picture->GetPixelFormat(), pf1bit);
    EXPECT_EQ(scene.picture->GetCanvas()->GetPixels(3, 3), clWhite);
    EXPECT_EQ(scene.picture->GetCanvas()->GetPixels(0, 0), clBlack);
}

TEST_F(BitmapTest, AlphaIsBlendedWhenDefined)
{
    TOwned<TBitmap> glass(New<TBitmap>());
    glass->SetPixelFormat(pf32bit);
    glass->SetSize(2, 1);
    auto* row = static_cast<DWORD*>(glass->GetScanLine(0));
    row[0] = 0x80FF0000; // red at half opacity, straight alpha
    row[1] = 0x000000FF; // fully transparent blue

    TOwned<TBitmap> target(New<TBitmap>());
    target->SetPixelFormat(pf32bit);
    target->SetSize(2, 1);
    auto drawOnWhite = [&] {
        target->GetCanvas()->GetBrush()->SetColor(clWhite);
        target->GetCanvas()->FillRect(Rect(0, 0, 2, 1));
        target->GetCanvas()->Draw(0, 0, glass.get());
    };
    drawOnWhite();
    EXPECT_EQ(target->GetCanvas()->GetPixels(1, 0), TColor(0xFF0000)) << "alpha ignored: plain copy";

    glass->SetAlphaFormat(afDefined);
    drawOnWhite();
    TColor blended = target->GetCanvas()->GetPixels(0, 0);
    EXPECT_EQ(GetRValue(blended), 255);
    EXPECT_NEAR(GetGValue(blended), 127, 2);
    EXPECT_EQ(target->GetCanvas()->GetPixels(1, 0), clWhite);
    EXPECT_EQ(row[0], 0x80FF0000u) << "drawing leaves the straight alpha alone";
}

TEST_F(BitmapTest, StretchDrawAndBrushCopy)
{
    TOwned<TBitmap> quad(New<TBitmap>());
    quad->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_QUAD");
    TOwned<TBitmap> target(New<TBitmap>());
    target->SetPixelFormat(pf24bit);
    target->SetSize(16, 8);
    target->GetCanvas()->StretchDraw(Rect(0, 0, 16, 8), quad.get());
    EXPECT_EQ(target->GetCanvas()->GetPixels(3, 3), clRed);
    EXPECT_EQ(target->GetCanvas()->GetPixels(12, 3), clWhite);
    EXPECT_EQ(target->GetCanvas()->GetPixels(15, 7), clFuchsia);

    // BrushCopy swaps one colour for the brush and copies the rest.
    target->GetCanvas()->GetBrush()->SetColor(clGray);
    target->GetCanvas()->BrushCopy(Rect(0, 0, 4, 2), quad.get(), Rect(0, 0, 4, 2), clLime);
    EXPECT_EQ(target->GetCanvas()->GetPixels(0, 0), clRed);
    EXPECT_EQ(target->GetCanvas()->GetPixels(1, 0), clGray);
    EXPECT_EQ(target->GetCanvas()->GetPixels(1, 1), clYellow);
}

TEST_F(BitmapTest, HandleLeavesTheCanvasSoOthersCanSelectIt)
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(4, 4);
    bitmap->GetCanvas()->GetBrush()->SetColor(clBlue);
    bitmap->GetCanvas()->FillRect(Rect(0, 0, 4, 4));

    TMemoryDC other;
    {
        TSelectObject select(other.Get(), bitmap->GetHandle());
        EXPECT_EQ(GetCurrentObject(other.Get(), OBJ_BITMAP), bitmap->GetHandle());
        EXPECT_EQ(GetPixel(other.Get(), 1, 1), RGB(0, 0, 255));
    }
    bitmap->GetCanvas()->GetBrush()->SetColor(clRed);
    bitmap->GetCanvas()->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(bitmap->GetCanvas()->GetPixels(1, 1), clRed);

    // Adopted handles: a top-down DIB is turned bottom-up, a DDB stays a DDB.
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, -2, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP topDown = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    static_cast<DWORD*>(bits)[0] = 0x00FF0000; // top-left red
    TOwned<TBitmap> adopted(New<TBitmap>());
    adopted->SetHandle(topDown);
    EXPECT_EQ(adopted->GetPixelFormat(), pf32bit);
    EXPECT_EQ(static_cast<DWORD*>(adopted->GetScanLine(0))[0] & 0xFFFFFF, 0xFF0000u);
    TWindowDC screen;
    adopted->SetHandle(CreateCompatibleBitmap(screen.Get(), 5, 5));
    EXPECT_EQ(adopted->GetPixelFormat(), pfDevice);
    EXPECT_EQ(adopted->GetWidth(), 5);
    TBitmapHandle released(adopted->ReleaseHandle());
    EXPECT_TRUE(adopted->GetEmpty());
    EXPECT_NE(GetObjectType(released.Get()), 0u);
}

TEST_F(BitmapTest, CopiesAreIndependentAndStreamAsFormData)
{
    TOwned<TBitmap> original(New<TBitmap>());
    original->LoadFromResourceID(HInstance(), 101);
    original->SetTransparentColor(clBlue);
    TOwned<TBitmap> copy(New<TBitmap>());
    copy->Assign(original.get());
    EXPECT_EQ(copy->GetPixelFormat(), pf8bit);
    EXPECT_EQ(copy->GetTransparentColor(), clBlue);
    ExpectQuad(copy.get(), L"copy");
    copy->GetCanvas()->SetPixels(0, 0, clBlack);
    EXPECT_EQ(original->GetCanvas()->GetPixels(0, 0), clRed);
    EXPECT_TRUE(original->Equals(original.get()));
    EXPECT_FALSE(original->Equals(copy.get()));

    // Form data: a 32-bit length, then the BMP file; what follows stays readable.
    struct TFormIO : TBitmap {
        using TBitmap::ReadData;
        using TBitmap::WriteData;
    };
    TOwned<TFormIO> written(New<TFormIO>());
    written->Assign(original.get());
    TOwned<TMemoryStream> data(New<TMemoryStream>());
    written->WriteData(data.get());
    Integer trailer = 0x5A5A5A5A;
    data->WriteBuffer(&trailer, sizeof(trailer));
    data->SetPosition(0);
    Integer length = 0;
    data->ReadBuffer(&length, sizeof(length));
    EXPECT_EQ(length, data->GetSize() - 8);
    data->SetPosition(0);
    TOwned<TFormIO> read(New<TFormIO>());
    read->ReadData(data.get());
    ExpectQuad(read.get(), L"form data");
    data->ReadBuffer(&length, sizeof(length));
    EXPECT_EQ(length, trailer);
}

TEST_F(BitmapTest, ExchangesClipboardFormats)
{
    TOwned<TBitmap> original(New<TBitmap>());
    original->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_QUAD");
    Word format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    original->SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, CF_DIB);
    ASSERT_NE(data, nullptr);
    TOwned<TBitmap> fromDib(New<TBitmap>());
    fromDib->LoadFromClipboardFormat(CF_DIB, data, nullptr);
    GlobalFree(data);
    ExpectQuad(fromDib.get(), L"CF_DIB");

    // CF_BITMAP gives a device bitmap that stays the clipboard's.
    TWindowDC screen;
    TBitmapHandle device(CreateCompatibleBitmap(screen.Get(), 4, 2));
    {
        TMemoryDC dc;
        TSelectObject select(dc.Get(), device.Get());
        BitBlt(dc.Get(), 0, 0, 4, 2, original->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    }
    TOwned<TBitmap> fromDdb(New<TBitmap>());
    fromDdb->LoadFromClipboardFormat(CF_BITMAP, device.Get(), nullptr);
    ExpectQuad(fromDdb.get(), L"CF_BITMAP");
    EXPECT_NE(fromDdb->GetHandle(), device.Get());
    EXPECT_THROW(fromDdb->LoadFromClipboardFormat(CF_TEXT, device.Get(), nullptr), EInvalidGraphic);
}

TEST_F(BitmapTest, DrawingOnTheCanvasReportsAChange)
{
    TOwned<TBitmap> bitmap(New<TBitmap>(4, 4));
    int changes = 0;
    bitmap->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, bitmap.get());
        ++changes;
    };
    bitmap->GetCanvas()->FillRect(Rect(0, 0, 2, 2));
    bitmap->GetCanvas()->TextOut(0, 0, L"x");
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(bitmap->GetModified());
}

} // namespace
