// The OLE picture graphic against oleaut32's real picture loader: sizes per
// file format, drawing upright, failures that leave the graphic empty, and
// copying from other graphics.
#include "AdvImage.h"
#include "ExtCtrls.h"
#include "Jpeg.h"
#include "PackControlsTestSupport.h"
#include "PngImage.h"
#include "SysUtils.h"

using namespace pack_test;

namespace {

// A Width x Height bitmap, red over its top half and blue below.
TBitmap* TwoColourBitmap(int Width, int Height)
{
    auto* bitmap = New<TBitmap>(Width, Height);
    TCanvas* canvas = bitmap->GetCanvas();
    canvas->GetBrush()->SetColor(clRed);
    canvas->FillRect(TRect(0, 0, Width, Height / 2));
    canvas->GetBrush()->SetColor(clBlue);
    canvas->FillRect(TRect(0, Height / 2, Width, Height));
    return bitmap;
}

// The file bytes of Graphic.
TMemoryStream* BytesOf(TGraphic* Graphic)
{
    auto* bytes = New<TMemoryStream>();
    Graphic->SaveToStream(bytes);
    bytes->SetPosition(0);
    return bytes;
}

std::string Contents(TMemoryStream* Stream)
{
    return std::string(static_cast<const char*>(Stream->Memory()), static_cast<std::size_t>(Stream->GetSize()));
}

TEST(AdvImage, ReportsThePictureSizeOfEveryFormat)
{
    TOwned<TBitmap> source(TwoColourBitmap(100, 50));
    TOwned<TPngImage> png(New<TPngImage>());
    png->Assign(source.get());
    TOwned<TJPEGImage> jpeg(New<TJPEGImage>());
    jpeg->Assign(source.get());
    TOwned<TIcon> icon(New<TIcon>());
    {
        TOwned<TBitmap> square(TwoColourBitmap(32, 32));
        TOwned<TBitmap> mask(New<TBitmap>(32, 32));
        mask->SetMonochrome(true);
        ICONINFO info{TRUE, 0, 0, mask->GetHandle(), square->GetHandle()};
        icon->SetHandle(CreateIconIndirect(&info));
    }
    struct Case {
        const char* format;
        TGraphic* graphic;
        int width, height;
    } cases[] = {{"BMP", source.get(), 100, 50}, {"PNG", png.get(), 100, 50}, {"JPEG", jpeg.get(), 100, 50},
                 {"ICO", icon.get(), 32, 32}};
    for (const Case& c : cases) {
        TOwned<TAdvImage> image(New<TAdvImage>());
        int changes = 0;
        image->OnChange = [&](TObject*) { ++changes; };
        TOwned<TMemoryStream> bytes(BytesOf(c.graphic));
        image->LoadFromStream(bytes.get());
        EXPECT_FALSE(image->GetEmpty()) << c.format;
        EXPECT_EQ(image->GetWidth(), c.width) << c.format;
        EXPECT_EQ(image->GetHeight(), c.height) << c.format;
        EXPECT_EQ(changes, 1) << c.format;
    }
}

TEST(AdvImage, DrawsThePictureUprightAndStretched)
{
    TOwned<TBitmap> source(TwoColourBitmap(100, 50));
    TOwned<TMemoryStream> bytes(BytesOf(source.get()));
    TOwned<TAdvImage> image(New<TAdvImage>());
    image->LoadFromStream(bytes.get());
    TSnapshot picture(200, 100);
    TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(picture.DC());
    canvas->StretchDraw(TRect(0, 0, 200, 100), image.get());
    canvas->SetHandle(nullptr);
    EXPECT_EQ(picture.Pixel(10, 5), clRed);
    EXPECT_EQ(picture.Pixel(190, 45), clRed);
    EXPECT_EQ(picture.Pixel(10, 55), clBlue);
    EXPECT_EQ(picture.Pixel(190, 95), clBlue);
}

TEST(AdvImage, BytesThatAreNoPictureLeaveItEmpty)
{
    const std::string junk = "this is not a picture at all";
    TOwned<TMemoryStream> bytes(New<TMemoryStream>());
    bytes->WriteBuffer(junk.data(), static_cast<Int64>(junk.size()));

    TOwned<TAdvImage> image(New<TAdvImage>());
    try {
        image->LoadFromStream(bytes.get());
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Could not load image. Invalid format");
    }
    EXPECT_TRUE(image->GetEmpty());
    EXPECT_EQ(image->GetWidth(), 0);
    TOwned<TMemoryStream> saved(New<TMemoryStream>());
    image->SaveToStream(saved.get());
    EXPECT_EQ(saved->GetSize(), 0) << "no undrawable bytes kept";

    const testing_support::TempDir dir;
    testing_support::WriteBytes(dir.File(L"junk.bmp"), junk);
    image->LoadFromFile(dir.File(L"junk.bmp"));
    EXPECT_TRUE(image->GetEmpty());
    image->LoadFromFile(dir.File(L"missing.bmp"));
    EXPECT_TRUE(image->GetEmpty());
}

TEST(AdvImage, AssignDecodesAtOnceAndKeepsEmptyEmpty)
{
    TOwned<TBitmap> source(TwoColourBitmap(40, 20));
    TOwned<TAdvImage> image(New<TAdvImage>());
    int changes = 0;
    image->OnChange = [&](TObject*) { ++changes; };

    image->Assign(source.get());
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(image->GetEmpty());
    EXPECT_EQ(image->GetWidth(), 40);
    TSnapshot picture(40, 20);
    TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(picture.DC());
    canvas->Draw(0, 0, image.get());
    canvas->SetHandle(nullptr);
    EXPECT_EQ(picture.Pixel(20, 2), clRed) << "drawn right after Assign";
    EXPECT_EQ(picture.Pixel(20, 18), clBlue);

    GraphicClass<TBitmap>();
    TOwned<TImage> control(New<TImage>(nullptr));
    control->GetPicture()->Assign(source.get());
    TOwned<TAdvImage> fromControl(New<TAdvImage>());
    fromControl->Assign(control.get());
    EXPECT_EQ(fromControl->GetHeight(), 20);

    TOwned<TAdvImage> copy(New<TAdvImage>());
    copy->Assign(image.get());
    EXPECT_EQ(copy->GetWidth(), 40);

    TOwned<TAdvImage> empty(New<TAdvImage>());
    changes = 0;
    image->Assign(empty.get());
    EXPECT_TRUE(image->GetEmpty()) << "an empty source leaves it empty";
    EXPECT_EQ(changes, 1);

    copy->OnChange = [&](TObject*) { ++changes; };
    changes = 0;
    copy->Assign(nullptr);
    EXPECT_TRUE(copy->GetEmpty());
    EXPECT_EQ(copy->GetWidth(), 0);
    EXPECT_EQ(changes, 1);
}

// The form stream's "Data": what is written reads back byte for byte.
class TDataAccess : public TAdvImage {
public:
    using TAdvImage::ReadData;
    using TAdvImage::WriteData;
};

TEST(AdvImage, DataRoundTripKeepsTheFileBytes)
{
    TOwned<TBitmap> source(TwoColourBitmap(30, 10));
    TOwned<TPngImage> png(New<TPngImage>());
    png->Assign(source.get());
    TOwned<TMemoryStream> original(BytesOf(png.get()));
    TOwned<TDataAccess> image(New<TDataAccess>());
    image->LoadFromStream(original.get());
    TOwned<TMemoryStream> written(New<TMemoryStream>());
    image->WriteData(written.get());
    EXPECT_EQ(Contents(written.get()), Contents(original.get()));

    TOwned<TDataAccess> reread(New<TDataAccess>());
    int changes = 0;
    reread->OnChange = [&](TObject*) { ++changes; };
    written->SetPosition(0);
    reread->ReadData(written.get());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(reread->GetWidth(), 30);
    TOwned<TMemoryStream> again(New<TMemoryStream>());
    reread->SaveToStream(again.get());
    EXPECT_EQ(Contents(again.get()), Contents(original.get()));
}

} // namespace
