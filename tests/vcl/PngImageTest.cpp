// TPngImage: decoding and encoding through the platform's codecs, with alpha.
#include <gtest/gtest.h>
#include "GraphicsTestSupport.h"
#include "PngImage.h"

namespace {

using graphics_test::BytesOf;
using graphics_test::Fixture;
using graphics_test::ReadFixture;
using graphics_test::StreamOf;
using PngImageTest = graphics_test::GdiLeakTest;

// The fixture is 4 x 4 and transparent but for an opaque red pixel at (0, 0),
// a half-transparent blue one at (1, 0) and an opaque lime one at (3, 3).
TEST_F(PngImageTest, LoadsColoursAndAlphaAndDrawsThemBlended)
{
    TOwned<TPngImage> png(New<TPngImage>());
    png->LoadFromFile(Fixture(L"alpha.png"));
    EXPECT_EQ(png->GetWidth(), 4);
    EXPECT_EQ(png->GetHeight(), 4);
    EXPECT_TRUE(png->GetTransparent());
    EXPECT_EQ(png->GetPixel(0, 0), clRed);
    EXPECT_EQ(png->GetAlpha(0, 0), 255);
    EXPECT_EQ(png->GetPixel(1, 0), clBlue);
    EXPECT_NEAR(png->GetAlpha(1, 0), 128, 1);
    EXPECT_EQ(png->GetAlpha(2, 2), 0);
    EXPECT_THROW(png->GetPixel(4, 0), EInvalidGraphicOperation);

    TOwned<TBitmap> target(New<TBitmap>());
    target->SetPixelFormat(pf32bit);
    target->SetSize(8, 8);
    target->GetCanvas()->StretchDraw(Rect(0, 0, 8, 8), png.get());
    EXPECT_EQ(target->GetCanvas()->GetPixels(1, 1), clRed);
    TColor half = target->GetCanvas()->GetPixels(3, 1);
    EXPECT_NEAR(GetRValue(half), 127, 3);
    EXPECT_EQ(GetBValue(half), 255);
    EXPECT_EQ(target->GetCanvas()->GetPixels(5, 5), clWhite);
    EXPECT_EQ(target->GetCanvas()->GetPixels(7, 7), clLime);

    // Saved as read.
    TOwned<TMemoryStream> saved(New<TMemoryStream>());
    png->SaveToStream(saved.get());
    EXPECT_EQ(BytesOf(saved.get()), ReadFixture(L"alpha.png"));
}

TEST_F(PngImageTest, BitmapsBecomePngFilesAndBack)
{
    // An opaque bitmap: the fourth byte of a 24-bit picture is no alpha.
    TOwned<TBitmap> opaque(New<TBitmap>());
    opaque->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_QUAD");
    TOwned<TPngImage> png(New<TPngImage>());
    png->Assign(opaque.get());
    EXPECT_FALSE(png->GetTransparent());
    TOwned<TMemoryStream> file(New<TMemoryStream>());
    png->SaveToStream(file.get());
    std::vector<Byte> bytes = BytesOf(file.get());
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");

    TOwned<TPngImage> reread(New<TPngImage>());
    reread->LoadFromStream(StreamOf(bytes).get());
    EXPECT_FALSE(reread->GetTransparent());
    EXPECT_EQ(reread->GetPixel(3, 1), clFuchsia);
    EXPECT_EQ(reread->GetAlpha(3, 1), 255);

    // A 32-bit bitmap with defined alpha keeps it through the file.
    TOwned<TBitmap> glass(New<TBitmap>());
    glass->SetPixelFormat(pf32bit);
    glass->SetSize(2, 1);
    static_cast<DWORD*>(glass->GetScanLine(0))[0] = 0x40FF0000;
    static_cast<DWORD*>(glass->GetScanLine(0))[1] = 0xFF00FF00;
    glass->SetAlphaFormat(afDefined);
    png->Assign(glass.get());
    file->Clear();
    png->SaveToStream(file.get());
    reread->LoadFromStream(StreamOf(BytesOf(file.get())).get());
    EXPECT_TRUE(reread->GetTransparent());
    EXPECT_EQ(reread->GetAlpha(0, 0), 0x40);
    EXPECT_EQ(reread->GetPixel(0, 0), clRed);

    // And back into a bitmap with the alpha defined.
    TOwned<TBitmap> back(New<TBitmap>());
    back->Assign(reread.get());
    EXPECT_EQ(back->GetPixelFormat(), pf32bit);
    EXPECT_EQ(back->GetAlphaFormat(), afDefined);
    EXPECT_EQ(static_cast<DWORD*>(back->GetScanLine(0))[0], 0x40FF0000u);
}

TEST_F(PngImageTest, GrowsWithTransparencyAndRefusesOtherData)
{
    TOwned<TPngImage> png(New<TPngImage>());
    png->LoadFromFile(Fixture(L"alpha.png"));
    png->SetSize(6, 5);
    EXPECT_EQ(png->GetWidth(), 6);
    EXPECT_EQ(png->GetPixel(0, 0), clRed);
    EXPECT_EQ(png->GetAlpha(5, 4), 0);

    for (const auto& bytes : {ReadFixture(L"photo.jpg"), std::vector<Byte>{0x89, 'P', 'N', 'G'}, std::vector<Byte>{}}) {
        EXPECT_THROW(png->LoadFromStream(StreamOf(bytes).get()), EInvalidGraphic) << bytes.size();
        EXPECT_EQ(png->GetWidth(), 6) << "a failed load replaced the image";
    }

    TOwned<TPicture> picture(New<TPicture>());
    picture->LoadFromStream(StreamOf(ReadFixture(L"alpha.png")).get());
    EXPECT_NE(dynamic_cast<TPngImage*>(picture->GetGraphic()), nullptr);
    picture->LoadFromFile(Fixture(L"alpha.png"));
    EXPECT_NE(dynamic_cast<TPngImage*>(picture->GetGraphic()), nullptr);
}

} // namespace
