// The alpha image list: PNG, icon and 32-bit bitmap files loaded into items
// and rendered from their data at every size and scale step, bad files
// refused with nothing added, items in component streams, and the glyph
// drawing routines as pixel tables. Pictures are made here, pixel by pixel,
// except the two-size icon of the class-library fixtures.
#include <gtest/gtest.h>
#include "PngWriter.h"
#include "TestSupport.h"
#include "acAlphaImageList.h"
#include "sGraphUtils.h"
#include "sAlphaGraph.h"
#include "sSkinManager.h"
#include <shlwapi.h>
#include <cstring>

namespace {

using testing_support::TempDir;
using testing_support::WriteBytes;

// Quadrants of a square picture, as 0xAARRGGBB.
constexpr Cardinal TopLeft = 0xFFFF0000, TopRight = 0xFF00FF00, BottomLeft = 0xFF0000FF, BottomRight = 0xFFFFFF00;

Cardinal QuadrantPixel(int x, int y, int size)
{
    const bool right = x >= size / 2, bottom = y >= size / 2;
    return bottom ? (right ? BottomRight : BottomLeft) : (right ? TopRight : TopLeft);
}

std::string QuadrantPng(int size)
{
    pngwriter::Image image;
    image.Width = image.Height = static_cast<uint32_t>(size);
    image.ColorType = 6;
    image.Filter = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Cardinal p = QuadrantPixel(x, y, size);
            for (int shift : {16, 8, 0, 24})
                image.Samples.push_back(static_cast<uint16_t>((p >> shift) & 0xFF));
        }
    return pngwriter::Encode(image);
}

std::string QuadrantBmp(int size)
{
    TOwned<TBitmap> bmp(MakeBitmap32(size, size));
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            SetBitmap32Pixel(bmp.get(), x, y, QuadrantPixel(x, y, size));
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    bmp->SaveToStream(stream.get());
    return std::string(static_cast<const char*>(stream->Memory()), static_cast<std::size_t>(stream->GetSize()));
}

std::string FixtureIcon()
{
    return testing_support::FileBytes(testing_support::SourceDir() + L"\\tests\\fixtures\\vcl\\two-sizes.ico");
}

::testing::AssertionResult Near(Cardinal actual, Cardinal expected, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (std::abs(a - e) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "pixel " << actual << ", expected " << expected;
    }
    return ::testing::AssertionSuccess();
}

// The four quadrant centres of an image of the given size; resampling
// leaves a few steps of difference.
void ExpectQuadrants(TBitmap* bmp, int size)
{
    ASSERT_NE(bmp, nullptr);
    ASSERT_EQ(bmp->GetWidth(), size);
    ASSERT_EQ(bmp->GetHeight(), size);
    const int a = size / 4, b = size * 3 / 4;
    EXPECT_TRUE(Near(GetBitmap32Pixel(bmp, a, a), TopLeft, 4));
    EXPECT_TRUE(Near(GetBitmap32Pixel(bmp, b, a), TopRight, 4));
    EXPECT_TRUE(Near(GetBitmap32Pixel(bmp, a, b), BottomLeft, 4));
    EXPECT_TRUE(Near(GetBitmap32Pixel(bmp, b, b), BottomRight, 4));
}

TSize NativeSize(TsAlphaImageList* list)
{
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list->GetHandle(), &cx, &cy);
    return {cx, cy};
}

// The native list's image as it is stored: colour and alpha of its icon.
TOwned<TBitmap> NativeImage(TsAlphaImageList* list, int index)
{
    TIconHandle icon(ImageList_GetIcon(list->GetHandle(), index, ILD_NORMAL));
    TIconInfo info(icon.Get());
    if (!info.Valid)
        return nullptr;
    TOwned<TBitmap> bmp(New<TBitmap>());
    bmp->SetHandle(static_cast<HBITMAP>(CopyImage(info.Color.Get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    bmp->SetPixelFormat(pf32bit);
    return bmp;
}

struct Loaded {
    TempDir dir;
    TOwned<TsAlphaImageList> list{New<TsAlphaImageList>(nullptr)};
    Loaded()
    {
        WriteBytes(dir.File(L"quad.png"), QuadrantPng(32));
        WriteBytes(dir.File(L"quad.bmp"), QuadrantBmp(32));
        WriteBytes(dir.File(L"two.ico"), FixtureIcon());
        for (const wchar_t* name : {L"quad.png", L"quad.bmp", L"two.ico"})
            EXPECT_TRUE(list->TryLoadFromFile(dir.File(name))) << name;
    }
};

} // namespace

TEST(AlphaImageList, LoadsPngBitmapAndIconFilesIntoItems)
{
    Loaded f;
    ASSERT_EQ(f.list->Count(), 3);
    EXPECT_EQ(f.list->NativeCount(), 3);
    const struct {
        TsImageFormat format;
        const wchar_t* name;
        int origWidth;
    } expected[] = {{ifPNG, L"quad", 32}, {ifBMP32, L"quad", 32}, {ifICO, L"two", 32}};
    for (int i = 0; i < 3; ++i) {
        TsImgListItem* item = f.list->GetItems()->Items(i);
        EXPECT_EQ(item->GetImageFormat(), expected[i].format);
        EXPECT_EQ(item->GetImageName(), expected[i].name);
        EXPECT_EQ(item->OrigWidth, expected[i].origWidth);
    }
    // The item keeps the file's bytes.
    const std::string png = QuadrantPng(32);
    TMemoryStream* data = f.list->GetItems()->Items(0)->ImgData;
    EXPECT_EQ(std::string(static_cast<const char*>(data->Memory()), static_cast<std::size_t>(data->GetSize())), png);

    // At 100 % the list renders both pictures from their data at 16 x 16.
    EXPECT_EQ(NativeSize(f.list.get()), TSize(16, 16));
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        TOwned<TBitmap> image(f.list->CreateBitmap32(i, 16, 16));
        ExpectQuadrants(image.get(), 16);
        ExpectQuadrants(NativeImage(f.list.get(), i).get(), 16);
    }
}

TEST(AlphaImageList, EveryScaleStepRendersFromTheData)
{
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
    Loaded f;
    for (int step : {1, 2, 3, 0}) {
        SCOPED_TRACE(step);
        const int size = std::vector<int>{16, 20, 24, 32}[static_cast<std::size_t>(step)];
        f.list->SetScaleValue(step);
        ASSERT_EQ(NativeSize(f.list.get()), TSize(size, size));
        ASSERT_EQ(f.list->NativeCount(), 3);
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(i);
            ExpectQuadrants(NativeImage(f.list.get(), i).get(), size);
            TOwned<TBitmap> image(MakeBitmap32(size, size));
            EXPECT_TRUE(f.list->GetBitmap32(i, image.get()));
            ExpectQuadrants(image.get(), size);
        }
        // The icon file's own image of the nearest size, not a stretched one.
        TOwned<TBitmap> icon = NativeImage(f.list.get(), 2);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->GetWidth(), size);
    }
}

TEST(AlphaImageList, NewWidthRegeneratesEveryImage)
{
    Loaded f;
    f.list->SetWidth(24);
    f.list->SetHeight(24);
    EXPECT_EQ(NativeSize(f.list.get()), TSize(24, 24));
    ASSERT_EQ(f.list->NativeCount(), 3);
    ExpectQuadrants(NativeImage(f.list.get(), 0).get(), 24);
    ExpectQuadrants(NativeImage(f.list.get(), 1).get(), 24);
}

TEST(AlphaImageList, BadFilesAreRefusedWithNothingAdded)
{
    TempDir dir;
    const std::string png = QuadrantPng(16);
    std::string hugeBmp = QuadrantBmp(4);
    // Width and height of the info header: 0x7FFFFFFF each.
    for (std::size_t at : {18u, 22u})
        for (std::size_t i = 0; i < 4; ++i)
            hugeBmp[at + i] = i == 3 ? '\x7F' : '\xFF';
    const struct {
        const wchar_t* name;
        std::string bytes;
    } files[] = {
        {L"cut.png", png.substr(0, png.size() / 2)},
        {L"wrong.png", "GIF89a" + png.substr(6)},
        {L"signature.png", pngwriter::Signature()},
        {L"two.cur", FixtureIcon()},
        {L"huge.bmp", hugeBmp},
        {L"empty.png", ""},
    };
    TOwned<TsAlphaImageList> list(New<TsAlphaImageList>(nullptr));
    WriteBytes(dir.File(L"good.png"), png);
    ASSERT_TRUE(list->TryLoadFromFile(dir.File(L"good.png")));
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        WriteBytes(dir.File(file.name), file.bytes);
        EXPECT_FALSE(list->TryLoadFromFile(dir.File(file.name)));
        EXPECT_EQ(list->Count(), 1);
        EXPECT_EQ(list->NativeCount(), 1);
    }
    EXPECT_FALSE(list->TryLoadFromFile(dir.File(L"missing.png")));

    // The name loses its last four characters; a shorter name gives none.
    const struct {
        const wchar_t* file;
        const wchar_t* name;
    } names[] = {{L"icon.png", L"icon"}, {L"a.jpeg", L"a."}, {L"ab", L""}};
    for (const auto& row : names) {
        WriteBytes(dir.File(row.file), png);
        ASSERT_TRUE(list->TryLoadFromFile(dir.File(row.file)));
        EXPECT_EQ(list->GetItems()->Items(list->Count() - 1)->GetImageName(), row.name);
    }
}

TEST(AlphaImageList, IndexesOutsideTheItemsAreRejected)
{
    Loaded f;
    TOwned<TBitmap> image(MakeBitmap32(16, 16));
    for (int index : {-1, 3, 100}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(f.list->GetBitmap32(index, image.get()));
        EXPECT_EQ(f.list->CreateBitmap32(index, 16, 16), nullptr);
    }
    // A move with an index outside the items changes nothing; a valid one
    // moves the item and its native image together.
    for (auto [from, to] : {std::pair{-1, 0}, {0, 3}, {3, 0}, {0, -5}})
        f.list->MoveItem(from, to);
    EXPECT_EQ(f.list->GetItems()->Items(0)->GetImageFormat(), ifPNG);
    f.list->MoveItem(2, 0);
    EXPECT_EQ(f.list->GetItems()->Items(0)->GetImageFormat(), ifICO);
    EXPECT_EQ(f.list->GetItems()->Items(1)->GetImageFormat(), ifPNG);
    ExpectQuadrants(NativeImage(f.list.get(), 1).get(), 16);
}

TEST(AlphaImageList, ItemsTravelThroughAStreamAndBadDataStillTakesItsPlace)
{
    Loaded f;
    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    TWriter writer(stream.get());
    f.list->GetItems()->WriteItems(writer);

    stream->SetPosition(0);
    TReader reader(stream.get());
    TOwned<TsAlphaImageList> copy(New<TsAlphaImageList>(nullptr));
    copy->BeginLoading();
    copy->GetItems()->ReadItems(reader);
    // The middle item's data is damaged: it still gets a (transparent) image.
    TsImgListItem* damaged = copy->GetItems()->Items(1);
    damaged->ImgData->SetSize(20);
    copy->EndLoading();

    ASSERT_EQ(copy->Count(), 3);
    EXPECT_EQ(copy->NativeCount(), 3);
    ExpectQuadrants(NativeImage(copy.get(), 0).get(), 16);
    TOwned<TBitmap> hole = NativeImage(copy.get(), 1);
    ASSERT_NE(hole, nullptr);
    EXPECT_EQ(GetBitmap32Pixel(hole.get(), 4, 4) >> 24, 0u);
    for (int i : {0, 2}) {
        TMemoryStream* a = f.list->GetItems()->Items(i)->ImgData;
        TMemoryStream* b = copy->GetItems()->Items(i)->ImgData;
        ASSERT_EQ(a->GetSize(), b->GetSize());
        EXPECT_EQ(std::memcmp(a->Memory(), b->Memory(), static_cast<std::size_t>(a->GetSize())), 0);
    }

    // The image-list property holds an empty 1 x 1 list.
    TOwned<TMemoryStream> listData(New<TMemoryStream>());
    f.list->WriteData(listData.get());
    ASSERT_GT(listData->GetSize(), 0);
    IStream* raw = SHCreateMemStream(static_cast<const BYTE*>(listData->Memory()),
                                     static_cast<UINT>(listData->GetSize()));
    ASSERT_NE(raw, nullptr);
    TImageListHandle read(ImageList_Read(raw));
    raw->Release();
    ASSERT_TRUE(static_cast<bool>(read));
    EXPECT_EQ(ImageList_GetImageCount(read.Get()), 0);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(read.Get(), &cx, &cy);
    EXPECT_EQ(cx, 1);
    EXPECT_EQ(cy, 1);
}

TEST(AlphaImageList, NativeImagesWithoutItemsBecomeIconItems)
{
    TOwned<TsAlphaImageList> list(New<TsAlphaImageList>(nullptr));
    list->GenerateStdList();
    TOwned<TBitmap> red(MakeBitmap32(16, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            SetBitmap32Pixel(red.get(), x, y, TopLeft);
    for (int i = 0; i < 3; ++i) {
        TIconHandle icon(CreateIconFromAlphaBitmap(red.get()));
        ASSERT_GE(ImageList_ReplaceIcon(list->GetHandle(), -1, icon.Get()), 0);
    }
    EXPECT_EQ(list->Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(list->GetItems()->Items(i)->GetImageFormat(), ifICO);
    TOwned<TBitmap> image(list->CreateBitmap32(1, 16, 16));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(GetBitmap32Pixel(image.get(), 8, 8), TopLeft);
}

TEST(AlphaImageList, CacheServesRepeatedRequestsAtTheListSize)
{
    Loaded f;
    TsImgListItem* item = f.list->GetItems()->Items(0);
    TOwned<TBitmap> image(MakeBitmap32(16, 16));
    ASSERT_TRUE(f.list->GetBitmap32(0, image.get()));
    TBitmap* cache = item->CacheBmp.get();
    ASSERT_NE(cache, nullptr);
    ASSERT_TRUE(f.list->GetBitmap32(0, image.get()));
    EXPECT_EQ(item->CacheBmp.get(), cache);
    ExpectQuadrants(image.get(), 16);
    f.list->SetUseCache(false);
    EXPECT_EQ(item->CacheBmp, nullptr);
}

TEST(AlphaImageList, GlyphsDrawByStateWithBlendAndReflection)
{
    // A strip of two 8-pixel states: red then green, fully opaque.
    TOwned<TBitmap> strip(MakeBitmap32(16, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            SetBitmap32Pixel(strip.get(), x, y, x < 8 ? TopLeft : TopRight);
    TOwned<TsAlphaImageList> list(New<TsAlphaImageList>(nullptr));
    ASSERT_EQ(list->Add(strip.get(), nullptr), 0);

    const Cardinal background = 0xFF000000;  // opaque black
    const struct {
        int state;
        int transparency;
        bool reflection;
        Cardinal inside;      // at (4, 4) of the drawn state
        bool reflected;       // something drawn below the glyph
    } rows[] = {
        {0, 0, false, 0xFFFF0000, false},
        {1, 0, false, 0xFF00FF00, false},
        {5, 0, false, 0xFF00FF00, false},    // states past the last take the last
        {0, 50, false, 0xFF800000, false},   // half transparent over black
        {0, 0, true, 0xFFFF0000, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.state * 1000 + row.transparency + (row.reflection ? 1 : 0));
        TOwned<TBitmap> target(MakeBitmap32(40, 40));
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                SetBitmap32Pixel(target.get(), x, y, background);
        const TSize drawn =
            DrawImageListGlyph(list.get(), target.get(), 10, 2, 0, 2, row.state, row.reflection, row.transparency, clNone);
        EXPECT_EQ(drawn, TSize(8, 16));
        EXPECT_TRUE(Near(GetBitmap32Pixel(target.get(), 14, 6), row.inside, 2));
        // Nothing right of the state's 8 columns, nothing left of Left.
        EXPECT_EQ(GetBitmap32Pixel(target.get(), 19, 6), background);
        EXPECT_EQ(GetBitmap32Pixel(target.get(), 9, 6), background);
        // Below the glyph: the mirror image fading out, or nothing.
        const Cardinal below = GetBitmap32Pixel(target.get(), 14, 19);
        EXPECT_EQ(below != background, row.reflected) << std::hex << below;
    }

    // With no image list handle, no target width or a negative index nothing is drawn.
    TOwned<TBitmap> target(MakeBitmap32(20, 20));
    EXPECT_EQ(DrawImageListGlyph(list.get(), target.get(), 0, 0, -1, 1, 0, false, 0, clNone), TSize());
    TOwned<TBitmap> empty(New<TBitmap>());
    EXPECT_EQ(DrawImageListGlyph(list.get(), empty.get(), 0, 0, 0, 1, 0, false, 0, clNone), TSize());
}

TEST(AlphaImageList, LeavesNoHandlesBehind)
{
    const DWORD gdi = testing_support::GdiObjectCount();
    const DWORD user = testing_support::UserObjectCount();
    for (int round = 0; round < 3; ++round) {
        Loaded f;
        f.list->SetWidth(24);
        TOwned<TBitmap> image(MakeBitmap32(24, 24));
        f.list->GetBitmap32(0, image.get());
        f.list->GetBitmap32(2, image.get());
        TOwned<TBitmap> target(MakeBitmap32(30, 30));
        DrawImageListGlyph(f.list.get(), target.get(), 0, 0, 2, 1, 0, false, 0, clNone);
        f.list->Replace(1, image.get());
    }
    EXPECT_EQ(testing_support::GdiObjectCount(), gdi);
    EXPECT_EQ(testing_support::UserObjectCount(), user);
}
