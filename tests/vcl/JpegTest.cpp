// TJPEGImage: decoding, scaling and encoding through libjpeg.
#include <gtest/gtest.h>
#include "GraphicsTestSupport.h"
#include "Jpeg.h"

namespace {

using graphics_test::BytesOf;
using graphics_test::Fixture;
using graphics_test::ReadFixture;
using graphics_test::StreamOf;
using JpegTest = graphics_test::GdiLeakTest;

// Colours survive lossy coding only approximately.
void ExpectNear(TColor actual, TColor expected, const char* where)
{
    EXPECT_NEAR(GetRValue(actual), GetRValue(expected), 24) << where;
    EXPECT_NEAR(GetGValue(actual), GetGValue(expected), 24) << where;
    EXPECT_NEAR(GetBValue(actual), GetBValue(expected), 24) << where;
}

TOwned<TBitmap> Decoded(TJPEGImage* jpeg)
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->Assign(jpeg);
    return bitmap;
}

// Four coloured quarters, odd sizes so that no block boundary lines up.
TOwned<TBitmap> Quarters(int width, int height)
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    const TColor colors[] = {clRed, clLime, clBlue, clYellow};
    for (int i = 0; i < 4; ++i) {
        bitmap->GetCanvas()->GetBrush()->SetColor(colors[i]);
        int left = i % 2 ? width / 2 : 0, top = i / 2 ? height / 2 : 0;
        bitmap->GetCanvas()->FillRect(Rect(left, top, i % 2 ? width : width / 2, i / 2 ? height : height / 2));
    }
    return bitmap;
}

TEST_F(JpegTest, DecodesAFileAtEveryScale)
{
    TOwned<TJPEGImage> jpeg(New<TJPEGImage>());
    jpeg->LoadFromFile(Fixture(L"photo.jpg"));
    EXPECT_FALSE(jpeg->GetEmpty());
    EXPECT_EQ(jpeg->GetWidth(), 64);
    EXPECT_EQ(jpeg->GetHeight(), 48);

    // The fixture fades from red at the top to blue at the bottom.
    TOwned<TBitmap> full = Decoded(jpeg.get());
    EXPECT_EQ(full->GetPixelFormat(), pf24bit);
    ExpectNear(full->GetCanvas()->GetPixels(32, 0), clRed, "top");
    ExpectNear(full->GetCanvas()->GetPixels(32, 47), clBlue, "bottom");

    const std::pair<TJPEGScale, int> scales[] = {{jsHalf, 32}, {jsQuarter, 16}, {jsEighth, 8}, {jsFullSize, 64}};
    for (auto [scale, width] : scales) {
        jpeg->SetScale(scale);
        EXPECT_EQ(jpeg->GetWidth(), width);
        EXPECT_EQ(Decoded(jpeg.get())->GetWidth(), width);
        EXPECT_EQ(Decoded(jpeg.get())->GetHeight(), width * 3 / 4);
    }

    jpeg->SetGrayscale(true);
    TColor grey = Decoded(jpeg.get())->GetCanvas()->GetPixels(32, 0);
    EXPECT_EQ(GetRValue(grey), GetGValue(grey));
    EXPECT_EQ(GetGValue(grey), GetBValue(grey));
    EXPECT_THROW(jpeg->SetWidth(10), EInvalidGraphicOperation);
}

TEST_F(JpegTest, AnImageWrittenByTheClassReadsBackAtTheSameSize)
{
    TOwned<TBitmap> source = Quarters(37, 21);
    TOwned<TJPEGImage> jpeg(New<TJPEGImage>());
    jpeg->Assign(source.get());
    EXPECT_EQ(jpeg->GetWidth(), 37);

    TOwned<TMemoryStream> file(New<TMemoryStream>());
    jpeg->SaveToStream(file.get());
    std::vector<Byte> bytes = BytesOf(file.get());
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);

    TOwned<TJPEGImage> reread(New<TJPEGImage>());
    reread->LoadFromStream(StreamOf(bytes).get());
    EXPECT_EQ(reread->GetWidth(), 37);
    EXPECT_EQ(reread->GetHeight(), 21);
    TOwned<TBitmap> decoded = Decoded(reread.get());
    ExpectNear(decoded->GetCanvas()->GetPixels(4, 4), clRed, "red quarter");
    ExpectNear(decoded->GetCanvas()->GetPixels(33, 4), clLime, "lime quarter");
    ExpectNear(decoded->GetCanvas()->GetPixels(4, 18), clBlue, "blue quarter");
    ExpectNear(decoded->GetCanvas()->GetPixels(33, 18), clYellow, "yellow quarter");

    // Saving again writes the same bytes; the encoding is not redone.
    TOwned<TMemoryStream> again(New<TMemoryStream>());
    reread->SaveToStream(again.get());
    EXPECT_EQ(BytesOf(again.get()), bytes);
}

TEST_F(JpegTest, EncodingFollowsQualityGreyAndProgression)
{
    TOwned<TBitmap> source = Quarters(64, 64);
    source->GetCanvas()->GetFont()->SetSize(20);
    source->GetCanvas()->GetBrush()->SetStyle(bsClear);
    source->GetCanvas()->TextOut(4, 20, L"Detail");

    auto encode = [&](int quality, bool grey, bool progressive) {
        TOwned<TJPEGImage> jpeg(New<TJPEGImage>());
        jpeg->SetCompressionQuality(quality);
        jpeg->SetGrayscale(grey);
        jpeg->SetProgressiveEncoding(progressive);
        jpeg->Assign(source.get());
        TOwned<TMemoryStream> file(New<TMemoryStream>());
        jpeg->SaveToStream(file.get());
        return BytesOf(file.get());
    };
    auto hasMarker = [](const std::vector<Byte>& bytes, Byte marker) {
        for (size_t i = 0; i + 1 < bytes.size(); ++i)
            if (bytes[i] == 0xFF && bytes[i + 1] == marker)
                return true;
        return false;
    };
    std::vector<Byte> low = encode(10, false, false);
    std::vector<Byte> high = encode(95, false, false);
    EXPECT_LT(low.size(), high.size());
    EXPECT_TRUE(hasMarker(high, 0xC0)) << "baseline frame";
    EXPECT_TRUE(hasMarker(encode(90, false, true), 0xC2)) << "progressive frame";

    TOwned<TJPEGImage> grey(New<TJPEGImage>());
    grey->LoadFromStream(StreamOf(encode(90, true, false)).get());
    TColor pixel = Decoded(grey.get())->GetCanvas()->GetPixels(4, 4);
    EXPECT_EQ(GetRValue(pixel), GetBValue(pixel)) << "a grey file has one channel";

    // Out-of-range qualities are brought into 1 .. 100.
    TOwned<TJPEGImage> jpeg(New<TJPEGImage>());
    jpeg->SetCompressionQuality(0);
    EXPECT_EQ(jpeg->GetCompressionQuality(), 1);
    jpeg->SetCompressionQuality(250);
    EXPECT_EQ(jpeg->GetCompressionQuality(), 100);
}

TEST_F(JpegTest, RefusesWhatIsNoJpegAndKeepsItsImage)
{
    TOwned<TJPEGImage> jpeg(New<TJPEGImage>());
    jpeg->LoadFromFile(Fixture(L"photo.jpg"));
    std::vector<Byte> notJpeg = ReadFixture(L"quad24.bmp");
    std::vector<Byte> noFrame = {0xFF, 0xD8, 0xFF, 0xD9}; // start and end, nothing between
    for (const auto& bytes : {notJpeg, noFrame, std::vector<Byte>{}}) {
        try {
            jpeg->LoadFromStream(StreamOf(bytes).get());
            ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
        } catch (const EInvalidGraphic& e) {
            EXPECT_FALSE(e.Message().empty());
        }
        EXPECT_EQ(jpeg->GetWidth(), 64);
    }
    // A file cut short still decodes (libjpeg pads it) and keeps its size.
    std::vector<Byte> cut = ReadFixture(L"photo.jpg");
    cut.resize(cut.size() * 2 / 3);
    jpeg->LoadFromStream(StreamOf(cut).get());
    EXPECT_EQ(Decoded(jpeg.get())->GetHeight(), 48);
}

TEST_F(JpegTest, PicturesPickTheJpegClassByNameOrContent)
{
    TOwned<TPicture> picture(New<TPicture>());
    picture->LoadFromFile(Fixture(L"photo.jpg"));
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture->GetGraphic()), nullptr);
    picture->LoadFromStream(StreamOf(ReadFixture(L"photo.jpg")).get());
    ASSERT_NE(dynamic_cast<TJPEGImage*>(picture->GetGraphic()), nullptr);
    EXPECT_EQ(picture->GetHeight(), 48);

    TOwned<TBitmap> target(New<TBitmap>());
    target->SetPixelFormat(pf24bit);
    target->SetSize(16, 12);
    target->GetCanvas()->StretchDraw(Rect(0, 0, 16, 12), picture->GetGraphic());
    ExpectNear(target->GetCanvas()->GetPixels(8, 11), clBlue, "drawn bottom");

    TOwned<TJPEGImage> copy(New<TJPEGImage>());
    copy->Assign(picture->GetGraphic());
    EXPECT_TRUE(copy->Equals(picture->GetGraphic()));
}

} // namespace
