// TPicture with its format registry, and TIcon.
#include <gtest/gtest.h>
#include "Graphics.h"
#include "GraphicsTestSupport.h"

namespace {

using graphics_test::Fixture;
using testing_support::TempDir;

// A graphic that only remembers what it read, to watch the registry choose.
class TRecordingGraphic : public TGraphic {
public:
    bool GetEmpty() const override { return bytes_ == 0; }
    int GetWidth() const override { return 1; }
    void SetWidth(int) override {}
    int GetHeight() const override { return 1; }
    void SetHeight(int) override {}
    void LoadFromStream(TStream* Stream) override
    {
        bytes_ = Stream->GetSize() - Stream->GetPosition();
        Stream->Seek(0, soEnd);
    }
    void SaveToStream(TStream*) override {}
    void Assign(TPersistent* Source) override
    {
        if (auto* other = dynamic_cast<TRecordingGraphic*>(Source))
            bytes_ = other->bytes_;
        else
            TGraphic::Assign(Source);
    }
    Int64 Bytes() const { return bytes_; }

protected:
    void Draw(TCanvas*, const TRect&) override {}

private:
    Int64 bytes_ = 0;
};

using PictureTest = graphics_test::GdiLeakTest;

TEST_F(PictureTest, TheLastRegistrationForAnExtensionWins)
{
    TOwned<TPicture> picture(New<TPicture>());
    picture->LoadFromFile(Fixture(L"quad24.bmp"));
    EXPECT_NE(dynamic_cast<TBitmap*>(picture->GetGraphic()), nullptr);

    TGraphicClass recording = GraphicClass<TRecordingGraphic>();
    EXPECT_EQ(recording->ClassName, L"TRecordingGraphic");
    TPicture::RegisterFileFormat(L".BMP", L"Recorded bitmaps", recording);
    EXPECT_EQ(TPicture::FileFormatClass(L"bmp"), recording);
    picture->LoadFromFile(Fixture(L"quad24.bmp"));
    auto* recorded = dynamic_cast<TRecordingGraphic*>(picture->GetGraphic());
    ASSERT_NE(recorded, nullptr);
    EXPECT_EQ(recorded->Bytes(), 78);
    // Filters list an extension once, under the class that wins it.
    EXPECT_EQ(GraphicFilter(recording), L"All (*.bmp)|*.bmp|Recorded bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(GraphicFilter(GraphicClass<TBitmap>()), L"") << "bmp belongs to another class now";
    EXPECT_EQ(GraphicFileMask(GraphicClass<TIcon>()), L"*.ico");
    EXPECT_EQ(GraphicExtension(GraphicClass<TBitmap>()), L"bmp");

    TPicture::UnregisterGraphicClass(recording);
    EXPECT_EQ(TPicture::FileFormatClass(L"bmp"), GraphicClass<TBitmap>());
    EXPECT_EQ(GraphicFilter(GraphicClass<TBitmap>()), L"All (*.bmp)|*.bmp|Bitmaps (*.bmp)|*.bmp");
    String everything = GraphicFileMask(nullptr);
    for (const wchar_t* mask : {L"*.bmp", L"*.ico", L"*.png", L"*.jpg", L"*.jpeg"})
        EXPECT_NE(everything.find(mask), String::npos) << mask;
    picture->LoadFromFile(Fixture(L"quad24.bmp"));
    EXPECT_NE(dynamic_cast<TBitmap*>(picture->GetGraphic()), nullptr);
}

TEST_F(PictureTest, LoadsByExtensionOrByContentAndKeepsItsPictureOnFailure)
{
    TOwned<TPicture> picture(New<TPicture>());
    int changes = 0;
    picture->OnChange = [&](TObject*) { ++changes; };
    picture->LoadFromFile(Fixture(L"two-sizes.ico"));
    EXPECT_NE(dynamic_cast<TIcon*>(picture->GetGraphic()), nullptr);
    EXPECT_EQ(picture->GetWidth(), 32);
    EXPECT_EQ(changes, 1);

    TempDir dir;
    try {
        picture->LoadFromFile(dir.File(L"notes.xyz"));
        ADD_FAILURE() << "an unknown extension was accepted";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), L"Unknown picture file extension (.xyz)");
    }
    EXPECT_THROW(picture->LoadFromFile(dir.File(L"missing.bmp")), EFOpenError);
    EXPECT_NE(dynamic_cast<TIcon*>(picture->GetGraphic()), nullptr) << "a failed load replaced the picture";

    // Streams carry no name: the first bytes tell the format.
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    stream->LoadFromFile(Fixture(L"quad24.bmp"));
    picture->LoadFromStream(stream.get());
    EXPECT_NE(dynamic_cast<TBitmap*>(picture->GetGraphic()), nullptr);
    EXPECT_EQ(picture->GetWidth(), 4);
    TOwned<TMemoryStream> text(New<TMemoryStream>());
    text->WriteBuffer("plain text", 10);
    text->SetPosition(0);
    EXPECT_THROW(picture->LoadFromStream(text.get()), EInvalidGraphic);
    EXPECT_EQ(picture->GetWidth(), 4);

    // Saving writes the graphic's own format whatever the name says.
    picture->SaveToFile(dir.File(L"copy.dat"));
    TOwned<TBitmap> reread(New<TBitmap>());
    reread->LoadFromFile(dir.File(L"copy.dat"));
    EXPECT_EQ(reread->GetCanvas()->GetPixels(2, 1), clAqua);
}

TEST_F(PictureTest, HoldsCopiesAndFollowsItsGraphicsChanges)
{
    TOwned<TBitmap> source(New<TBitmap>(3, 3));
    TOwned<TPicture> picture(New<TPicture>());
    picture->SetGraphic(source.get());
    ASSERT_NE(picture->GetGraphic(), source.get());
    EXPECT_EQ(picture->GetWidth(), 3);

    int changes = 0;
    picture->OnChange = [&](TObject*) { ++changes; };
    picture->GetBitmap()->GetCanvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(changes, 1) << "drawing on the picture's bitmap";

    // Asking for the icon of a bitmap picture replaces it with an empty icon.
    TIcon* icon = picture->GetIcon();
    EXPECT_TRUE(icon->GetEmpty());
    EXPECT_EQ(picture->GetGraphic(), icon);
    EXPECT_EQ(changes, 2);

    TOwned<TPicture> other(New<TPicture>());
    other->Assign(picture.get());
    EXPECT_NE(dynamic_cast<TIcon*>(other->GetGraphic()), nullptr);
    other->Assign(nullptr);
    EXPECT_EQ(other->GetGraphic(), nullptr);
    EXPECT_EQ(other->GetWidth(), 0);

    // A graphic class never named cannot be copied, and says so.
    class TUnnamed : public TRecordingGraphic {};
    TOwned<TUnnamed> unnamed(New<TUnnamed>());
    EXPECT_THROW(other->SetGraphic(unnamed.get()), EInvalidGraphic);
}

TEST_F(PictureTest, StreamsAsFormDataWithTheClassName)
{
    TOwned<TPicture> picture(New<TPicture>());
    picture->GetBitmap()->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_QUAD");
    TOwned<TMemoryStream> data(New<TMemoryStream>());
    picture->WriteData(data.get());
    ASSERT_GT(data->GetSize(), 8);
    EXPECT_EQ(std::string(static_cast<const char*>(data->Memory()), 8), "\x07TBitmap");

    data->SetPosition(0);
    TOwned<TPicture> read(New<TPicture>());
    read->ReadData(data.get());
    ASSERT_NE(dynamic_cast<TBitmap*>(read->GetGraphic()), nullptr);
    EXPECT_EQ(read->GetBitmap()->GetCanvas()->GetPixels(3, 1), clFuchsia);

    TOwned<TPicture> empty(New<TPicture>());
    TOwned<TMemoryStream> none(New<TMemoryStream>());
    empty->WriteData(none.get());
    EXPECT_EQ(none->GetSize(), 1);
    none->SetPosition(0);
    read->ReadData(none.get());
    EXPECT_EQ(read->GetGraphic(), nullptr);

    TOwned<TMemoryStream> unknown(New<TMemoryStream>());
    unknown->WriteBuffer("\x05TNope", 6);
    unknown->SetPosition(0);
    EXPECT_THROW(read->ReadData(unknown.get()), EInvalidGraphic);
}

TEST_F(PictureTest, ExchangesClipboardFormatsThroughTheRegistry)
{
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_BITMAP));
    EXPECT_TRUE(TPicture::SupportsClipboardFormat(CF_DIB));
    EXPECT_FALSE(TPicture::SupportsClipboardFormat(CF_UNICODETEXT));
    TOwned<TPicture> picture(New<TPicture>());
    picture->GetBitmap()->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_QUAD");
    Word format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    picture->SaveToClipboardFormat(format, data, palette);
    TOwned<TPicture> pasted(New<TPicture>());
    pasted->LoadFromClipboardFormat(format, data, palette);
    GlobalFree(data);
    EXPECT_EQ(pasted->GetBitmap()->GetCanvas()->GetPixels(1, 0), clLime);
    EXPECT_THROW(pasted->LoadFromClipboardFormat(CF_UNICODETEXT, nullptr, nullptr), EInvalidGraphic);
}

// ---------------------------------------------------------------------------
TColor CentreAfterDrawing(TGraphic* graphic, int size)
{
    TOwned<TBitmap> target(New<TBitmap>());
    target->SetPixelFormat(pf32bit);
    target->SetSize(size, size);
    target->GetCanvas()->Draw(0, 0, graphic);
    return target->GetCanvas()->GetPixels(size / 2, size / 2);
}

TEST_F(PictureTest, IconsChooseTheirSizeFromTheFile)
{
    TOwned<TIcon> icon(New<TIcon>());
    EXPECT_TRUE(icon->GetEmpty());
    icon->LoadFromFile(Fixture(L"two-sizes.ico"));
    EXPECT_EQ(icon->GetWidth(), 32);
    EXPECT_EQ(CentreAfterDrawing(icon.get(), 32), clBlue);
    EXPECT_THROW(icon->SetWidth(16), EInvalidGraphicOperation);

    TOwned<TIcon> small(New<TIcon>());
    small->SetSize(16, 16);
    small->LoadFromFile(Fixture(L"two-sizes.ico"));
    EXPECT_EQ(small->GetHeight(), 16);
    EXPECT_EQ(CentreAfterDrawing(small.get(), 16), clRed);

    // The file is written back as it was read, every image included.
    TOwned<TMemoryStream> saved(New<TMemoryStream>());
    small->SaveToStream(saved.get());
    TOwned<TMemoryStream> original(New<TMemoryStream>());
    original->LoadFromFile(Fixture(L"two-sizes.ico"));
    ASSERT_EQ(saved->GetSize(), original->GetSize());
    EXPECT_EQ(memcmp(saved->Memory(), original->Memory(), static_cast<size_t>(saved->GetSize())), 0);

    TOwned<TMemoryStream> broken(New<TMemoryStream>());
    broken->WriteBuffer(original->Memory(), 40);
    broken->SetPosition(0);
    EXPECT_THROW(small->LoadFromStream(broken.get()), EInvalidGraphic);
    EXPECT_EQ(CentreAfterDrawing(small.get(), 16), clRed);
}

TEST_F(PictureTest, IconsFromHandlesAndResourcesSaveAsIcoFiles)
{
    TOwned<TIcon> icon(New<TIcon>());
    icon->SetSize(32, 32);
    icon->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_ICON");
    EXPECT_EQ(icon->GetWidth(), 32);
    EXPECT_EQ(CentreAfterDrawing(icon.get(), 32), clBlue);
    EXPECT_THROW(icon->LoadFromResourceName(HInstance(), L"NO_SUCH_ICON"), EResNotFound);

    TOwned<TMemoryStream> saved(New<TMemoryStream>());
    icon->SaveToStream(saved.get());
    saved->SetPosition(0);
    TOwned<TIcon> reread(New<TIcon>());
    reread->LoadFromStream(saved.get());
    EXPECT_EQ(reread->GetWidth(), 32);
    EXPECT_EQ(CentreAfterDrawing(reread.get(), 32), clBlue);

    // A monochrome icon made from bits.
    BYTE andMask[32 * 4];
    BYTE xorMask[32 * 4];
    std::fill(std::begin(andMask), std::end(andMask), 0x00);
    std::fill(std::begin(xorMask), std::end(xorMask), 0xFF);
    TOwned<TIcon> mono(New<TIcon>());
    mono->SetHandle(CreateIcon(HInstance(), 32, 32, 1, 1, andMask, xorMask));
    EXPECT_EQ(mono->GetHeight(), 32);
    TOwned<TMemoryStream> monoFile(New<TMemoryStream>());
    mono->SaveToStream(monoFile.get());
    monoFile->SetPosition(0);
    reread->LoadFromStream(monoFile.get());
    EXPECT_EQ(CentreAfterDrawing(reread.get(), 32), clWhite);

    // Copies own their handle; a bitmap gets the icon drawn on it.
    TOwned<TIcon> copy(New<TIcon>());
    copy->Assign(icon.get());
    EXPECT_NE(copy->GetHandle(), icon->GetHandle());
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->Assign(copy.get());
    EXPECT_EQ(bitmap->GetWidth(), 32);
    EXPECT_EQ(bitmap->GetCanvas()->GetPixels(16, 16), clBlue);
    TIconHandle released(copy->ReleaseHandle());
    EXPECT_TRUE(copy->GetEmpty());
}

} // namespace
