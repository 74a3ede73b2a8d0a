// HTML pictures over real GIF, PNG and BMP bytes from the test program's
// resources and from files; the picture cache and the picture container.
#include <gtest/gtest.h>

#include "HTMLTestSupport.h"
#include "PictureContainer.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include <cstring>
#include <fstream>
#include <iterator>

using namespace htmltest;

namespace {

std::vector<Byte> FixtureBytes(const wchar_t* relative)
{
    const std::wstring path = testing_support::SourceDir() + L"\\tests\\fixtures\\" + relative;
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TOwned<THTMLPicture> Resource(const wchar_t* name)
{
    TOwned<THTMLPicture> picture(New<THTMLPicture>());
    picture->LoadFromResourceName(HInstance(), name);
    return picture;
}

TEST(HTMLPicture, StartsEmpty)
{
    TOwned<THTMLPicture> picture(New<THTMLPicture>());
    EXPECT_TRUE(picture->GetEmpty());
    EXPECT_TRUE(picture->GetAsynch());
    EXPECT_EQ(picture->GetFrame(), 1);
    EXPECT_EQ(picture->FrameCount(), -1);
    EXPECT_EQ(picture->GetWidth(), 0);
    EXPECT_FALSE(picture->Step());
}

TEST(HTMLPicture, ReadsSizeAndFramesOfAnAnimatedGif)
{
    auto gif = Resource(L"TAVELIN_TEST_GIF");
    ASSERT_FALSE(gif->GetEmpty());
    EXPECT_TRUE(gif->IsGIF());
    EXPECT_EQ(gif->GetWidth(), 20);
    EXPECT_EQ(gif->GetHeight(), 10);
    EXPECT_EQ(gif->FrameCount(), 3);

    int frameChanges = 0;
    gif->OnFrameChange = [&](TObject*) { ++frameChanges; };
    const struct {
        int Frame;
        int X, Y;
    } frames[] = {{2, 5, 2}, {3, 12, 4}, {1, 0, 0}};
    // The first frame covers the whole picture, the others parts of it.
    for (const auto& f : frames) {
        gif->SetFrame(f.Frame);
        EXPECT_EQ(gif->FrameXPos(), f.X) << f.Frame;
        EXPECT_EQ(gif->FrameYPos(), f.Y) << f.Frame;
    }
    EXPECT_EQ(frameChanges, 3);

    gif->SetFrame(3);
    gif->FrameNext();
    EXPECT_EQ(gif->GetFrame(), 1);
    gif->FramePrev();
    EXPECT_EQ(gif->GetFrame(), 3);

    auto png = Resource(L"TAVELIN_TEST_PNG");
    EXPECT_FALSE(png->IsGIF());
    EXPECT_EQ(png->FrameCount(), -1);
    EXPECT_EQ(png->GetWidth(), 4);
    EXPECT_EQ(png->GetHeight(), 4);
}

TEST(HTMLPicture, StepsFollowTheRecordedDelays)
{
    // Frame delays are 10, 20 and 30 hundredths; a step stands for 100 ms.
    auto gif = Resource(L"TAVELIN_TEST_GIF");
    const bool expected[] = {false, false, true, false, true, false, false, true};
    const int frames[] = {1, 1, 2, 2, 3, 3, 3, 1};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(gif->Step(), expected[i]) << i;
        EXPECT_EQ(gif->GetFrame(), frames[i]) << i;
    }
    auto png = Resource(L"TAVELIN_TEST_PNG");
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(png->Step());
}

TEST(HTMLPicture, LoadsFromResourcesFilesAndURLs)
{
    TOwned<THTMLPicture> picture(New<THTMLPicture>());
    picture->LoadFromResourceName(HInstance(), L"NO_SUCH_PICTURE");
    EXPECT_TRUE(picture->GetEmpty());
    EXPECT_THROW(picture->LoadFromResourceID(HInstance(), 9999), EResNotFound);
    picture->LoadFromResourceID(HInstance(), 301);
    EXPECT_EQ(picture->GetWidth(), 4);

    // The scheme is recognised in any case; the ID keeps the reference as given.
    TOwned<THTMLPicture> fromRes(New<THTMLPicture>());
    fromRes->LoadFromURL(L"res://TAVELIN_TEST_GIF");
    EXPECT_FALSE(fromRes->GetEmpty());
    EXPECT_EQ(fromRes->GetID(), L"res://TAVELIN_TEST_GIF");

    testing_support::TempDir dir;
    const std::vector<Byte> bytes = FixtureBytes(L"pack\\foundation\\three-frames.gif");
    ASSERT_FALSE(bytes.empty());
    {
        std::ofstream out(dir.File(L"anim.gif").c_str(), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    TOwned<THTMLPicture> fromFile(New<THTMLPicture>());
    fromFile->LoadFromURL(L"FILE://" + dir.File(L"anim.gif"));
    EXPECT_EQ(fromFile->FrameCount(), 3);
    TOwned<TMemoryStream> saved(New<TMemoryStream>());
    fromFile->SaveToStream(saved.get());
    ASSERT_EQ(saved->GetSize(), static_cast<Int64>(bytes.size()));
    EXPECT_EQ(std::memcmp(saved->Memory(), bytes.data(), bytes.size()), 0);

    TOwned<THTMLPicture> missing(New<THTMLPicture>());
    EXPECT_NO_THROW(missing->LoadFromURL(L"FILE://" + dir.File(L"none.gif")));
    EXPECT_TRUE(missing->GetEmpty());
    EXPECT_NO_THROW(missing->LoadFromFile(dir.Path()));
    EXPECT_TRUE(missing->GetEmpty());

    // Other schemes are recorded and load nothing.
    TOwned<THTMLPicture> web(New<THTMLPicture>());
    web->SetAsynch(false);
    web->LoadFromURL(L"http://example.org/a.png");
    EXPECT_TRUE(web->GetEmpty());
    EXPECT_EQ(web->GetURL(), L"http://example.org/a.png");
    EXPECT_EQ(web->GetID(), L"http://example.org/a.png");
    EXPECT_FALSE(web->Busy());
    TOwned<THTMLPicture> download(New<THTMLPicture>());
    download->LoadFromURL(L"http://example.org/a.png");
    EXPECT_TRUE(download->Busy());
    EXPECT_TRUE(download->GetEmpty());
    EXPECT_EQ(download->GetID(), L"");
}

TEST(HTMLPicture, AssignResetsThenCopies)
{
    auto gif = Resource(L"TAVELIN_TEST_GIF");
    gif->SetFrame(2);
    gif->SetID(L"anim");
    gif->SetStretch(true);
    TOwned<THTMLPicture> copy(New<THTMLPicture>());
    int changes = 0;
    copy->OnChange = [&](TObject*) { ++changes; };
    copy->Assign(gif.get());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(copy->GetFrame(), 2);
    EXPECT_EQ(copy->FrameXPos(), 5);
    EXPECT_EQ(copy->GetID(), L"anim");
    EXPECT_TRUE(copy->GetStretch());
    EXPECT_EQ(copy->FrameCount(), 3);

    copy->Assign(nullptr);
    EXPECT_TRUE(copy->GetEmpty());
    EXPECT_EQ(copy->GetFrame(), 1);

    // Any graphic comes over in its file format.
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_QUAD");
    copy->Assign(bitmap.get());
    EXPECT_FALSE(copy->GetEmpty());
    EXPECT_EQ(copy->GetWidth(), 4);
    EXPECT_EQ(copy->GetHeight(), 2);
}

TEST(HTMLPicture, DrawsThroughGdiPlusAndBitmapsWithTransparency)
{
    TSurface surface(40, 20);
    auto gif = Resource(L"TAVELIN_TEST_GIF");
    surface.Canvas()->Draw(0, 0, gif.get());
    EXPECT_EQ(surface.Pixel(3, 3), RGB(255, 0, 0)); // the first frame
    EXPECT_EQ(surface.Pixel(30, 5), RGB(255, 255, 255));

    surface.Clear(RGB(0, 0, 255));
    auto bmp = Resource(L"TAVELIN_TEST_BMP");
    surface.Canvas()->StretchDraw(TRect(0, 0, 8, 4), bmp.get());
    EXPECT_EQ(surface.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(surface.Pixel(3, 1), RGB(0, 255, 0));
    EXPECT_EQ(surface.Pixel(0, 3), RGB(0, 0, 255)); // black, the bottom-left colour, shows through
    EXPECT_EQ(surface.Pixel(3, 3), RGB(255, 255, 0));
}

TEST(PictureCache, FindsByExactIDAndOwnsItsPictures)
{
    TOwned<THTMLPictureCache> cache(New<THTMLPictureCache>());
    THTMLPicture* a = cache->AddPicture();
    a->LoadFromURL(L"RES://TAVELIN_TEST_GIF");
    THTMLPicture* b = cache->AddPicture();
    b->SetID(L"still");
    EXPECT_EQ(cache->FindPicture(L"RES://TAVELIN_TEST_GIF"), a);
    EXPECT_EQ(cache->FindPicture(L"res://TAVELIN_TEST_GIF"), nullptr);
    EXPECT_EQ(cache->FindPicture(L"still"), b);
    EXPECT_EQ(cache->GetPicture(1), b);
    EXPECT_FALSE(cache->Animate());
    EXPECT_FALSE(cache->Animate());
    EXPECT_TRUE(cache->Animate());
    cache->ClearPictures();
    EXPECT_EQ(cache->Count(), 0);
}

TEST(PictureContainer, FindsPicturesByNameInAnyCase)
{
    TOwned<TPictureContainer> container(New<TPictureContainer>(nullptr));
    EXPECT_EQ(container->GetVersion(), L"2.0.0.0");
    container->SetVersion(L"9.9");
    EXPECT_EQ(container->GetVersion(), L"2.0.0.0");

    TPictureItem* first = container->GetItems()->Add();
    first->SetName(L"Logo");
    static_cast<THTMLPicture*>(first->GetPicture())->LoadFromResourceName(HInstance(), L"TAVELIN_TEST_GIF");
    TPictureItem* second = container->GetItems()->Add();
    second->SetName(L"logo");
    EXPECT_EQ(container->GetItems()->GetOwner(), container.get());
    EXPECT_EQ(container->FindPicture(L"logo"), first->GetPicture());
    EXPECT_EQ(container->FindPicture(L"LOGO"), first->GetPicture());
    EXPECT_EQ(container->FindPicture(L"other"), nullptr);
    // Animating steps every item's picture; the animation advances on the third step.
    EXPECT_FALSE(container->GetItems()->Animate());
    EXPECT_FALSE(container->GetItems()->Animate());
    EXPECT_TRUE(container->GetItems()->Animate());

    // Items copy their name, tag and picture bytes into their own picture.
    TOwned<TPictureContainer> other(New<TPictureContainer>(nullptr));
    first->SetTag(7);
    other->SetItems(container->GetItems());
    ASSERT_EQ(other->GetItems()->Count(), 2);
    TPictureItem* copied = other->GetItems()->GetItem(0);
    EXPECT_EQ(copied->GetName(), L"Logo");
    EXPECT_EQ(copied->GetTag(), 7);
    EXPECT_NE(copied->GetPicture(), first->GetPicture());
    EXPECT_EQ(copied->GetPicture()->GetWidth(), 20);
    EXPECT_TRUE(other->GetItems()->GetItem(1)->GetPicture()->GetEmpty());
}

} // namespace
