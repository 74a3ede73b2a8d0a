// A cell picture known by its file name: measured when named, read again on
// every draw, and silent about files that are missing or unreadable.
#include "AdvGridObjects.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

namespace {

using testing_support::GdiObjectCount;
using testing_support::TempDir;
using testing_support::WriteBytes;

// Writes a bitmap file of Width x Height whose left half is Left and whose
// right half is Right.
void WriteBitmap(const String& file, int width, int height, TColor left, TColor right)
{
    TOwned<TBitmap> bitmap(New<TBitmap>(width, height));
    bitmap->SetPixelFormat(pf24bit);
    TCanvas* canvas = bitmap->GetCanvas();
    canvas->GetBrush()->SetColor(left);
    canvas->FillRect(Rect(0, 0, width / 2, height));
    canvas->GetBrush()->SetColor(right);
    canvas->FillRect(Rect(width / 2, 0, width, height));
    bitmap->SaveToFile(file);
}

class FilePictureTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteBitmap(red_blue_, 4, 2, clRed, clBlue);
        target_->SetPixelFormat(pf32bit);
        ClearTarget();
    }

    void ClearTarget()
    {
        target_->GetCanvas()->GetBrush()->SetColor(clWhite);
        target_->GetCanvas()->FillRect(Rect(0, 0, 50, 30));
    }
    TColor At(int x, int y) { return target_->GetCanvas()->GetPixels(x, y); }
    void Draw(TFilePicture* picture) { picture->DrawPicture(target_->GetCanvas(), Rect(0, 0, 40, 20)); }

    TempDir dir_;
    const String red_blue_ = dir_.File(L"red-blue.bmp");
    TOwned<TBitmap> target_{New<TBitmap>(50, 30)};
    TOwned<TFilePicture> picture_{New<TFilePicture>()};
};

TEST_F(FilePictureTest, NamingAFileTakesItsSize)
{
    EXPECT_EQ(picture_->GetWidth(), 0);
    EXPECT_EQ(picture_->GetHeight(), 0);
    picture_->SetFilename(red_blue_);
    EXPECT_EQ(picture_->GetFilename(), red_blue_);
    EXPECT_EQ(picture_->GetWidth(), 4);
    EXPECT_EQ(picture_->GetHeight(), 2);
}

TEST_F(FilePictureTest, AFileThatCannotBeReadKeepsTheSizeAndRaisesNothing)
{
    const String garbage = dir_.File(L"garbage.bmp");
    WriteBytes(garbage, "this is no bitmap");
    const String unknown = dir_.File(L"picture.xyz");
    WriteBytes(unknown, "BM");

    picture_->SetFilename(red_blue_);
    for (const String& name : {dir_.File(L"missing.bmp"), garbage, unknown, String()}) {
        SCOPED_TRACE(name);
        EXPECT_NO_THROW(picture_->SetFilename(name));
        EXPECT_EQ(picture_->GetFilename(), name);
        EXPECT_EQ(picture_->GetWidth(), 4);
        EXPECT_EQ(picture_->GetHeight(), 2);
    }
}

TEST_F(FilePictureTest, DrawingStretchesTheFileIntoTheRectangle)
{
    picture_->SetFilename(red_blue_);
    Draw(picture_.get());
    EXPECT_EQ(At(2, 2), clRed);
    EXPECT_EQ(At(17, 17), clRed);
    EXPECT_EQ(At(22, 2), clBlue);
    EXPECT_EQ(At(39, 19), clBlue);
    EXPECT_EQ(At(40, 10), clWhite);
    EXPECT_EQ(At(10, 20), clWhite);
}

TEST_F(FilePictureTest, EveryDrawReadsTheFileAgain)
{
    picture_->SetFilename(red_blue_);
    Draw(picture_.get());
    WriteBitmap(red_blue_, 8, 8, clLime, clLime);
    Draw(picture_.get());
    EXPECT_EQ(At(2, 2), clLime);
    EXPECT_EQ(At(39, 19), clLime);
    // The size is the one taken when the file was named.
    EXPECT_EQ(picture_->GetWidth(), 4);
}

TEST_F(FilePictureTest, MissingOrUnreadableFilesDrawNothing)
{
    const String garbage = dir_.File(L"garbage.bmp");
    WriteBytes(garbage, "BM but not really");
    picture_->SetFilename(red_blue_);
    ASSERT_TRUE(DeleteFileW(red_blue_.c_str()));

    TOwned<TFilePicture> unreadable(New<TFilePicture>());
    unreadable->SetFilename(garbage);
    TOwned<TFilePicture> unnamed(New<TFilePicture>());
    const DWORD gdiBefore = GdiObjectCount();
    for (TFilePicture* p : {picture_.get(), unreadable.get(), unnamed.get()}) {
        EXPECT_NO_THROW(Draw(p));
        EXPECT_EQ(At(2, 2), clWhite);
        EXPECT_EQ(At(39, 19), clWhite);
    }
    EXPECT_EQ(GdiObjectCount(), gdiBefore);
}

TEST_F(FilePictureTest, DrawingKeepsNoPictureAlive)
{
    picture_->SetFilename(red_blue_);
    Draw(picture_.get());
    const DWORD gdiBefore = GdiObjectCount();
    for (int i = 0; i < 20; ++i)
        Draw(picture_.get());
    EXPECT_EQ(GdiObjectCount(), gdiBefore);
}

TEST_F(FilePictureTest, AssignCopiesNameAndSizeWithoutReading)
{
    picture_->SetFilename(red_blue_);
    ASSERT_TRUE(DeleteFileW(red_blue_.c_str()));
    TOwned<TFilePicture> copy(New<TFilePicture>());
    copy->Assign(picture_.get());
    EXPECT_EQ(copy->GetFilename(), red_blue_);
    EXPECT_EQ(copy->GetWidth(), 4);
    EXPECT_EQ(copy->GetHeight(), 2);
}

} // namespace
