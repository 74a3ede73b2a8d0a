// Creating, copying, rotating and resampling 32-bit bitmaps, checked at
// chosen pixels; channel transfers and regions from key colours.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "PlatformProbe.h"
#include "TestSupport.h"

namespace {

// A distinct value for every pixel, so that moves can be traced.
TOwned<TBitmap> Numbered(int width, int height)
{
    auto bmp = Bitmap32(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetBitmap32Pixel(bmp.get(), x, y, 0xFF000000u | (y << 8) | x);
    return bmp;
}

TEST(BitmapCreation, SizesFormatsAndRows)
{
    TOwned<TBitmap> empty(MakeBitmap32(0, 0));
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty->GetWidth(), 0);
    TOwned<TBitmap> inverted(MakeBitmap32ForRect(TRect(10, 10, 4, 30)));
    EXPECT_EQ(inverted->GetWidth(), 0);
    TOwned<TBitmap> sized(MakeBitmap32ForRect(TRect(-4, 10, 4, 30)));
    EXPECT_EQ(BitmapSize(sized.get()), TPoint(8, 20));

    TOwned<TBitmap> bmp(MakeBitmap32OfSize(TPoint(5, 3)));
    EXPECT_EQ(bmp->GetPixelFormat(), pf32bit);
    EXPECT_EQ(bmp->GetHandleType(), bmDIB);
    Byte* base = nullptr;
    std::ptrdiff_t stride = 0;
    ASSERT_TRUE(GetScanlineBase(bmp.get(), base, stride));
    EXPECT_EQ(stride < 0 ? -stride : stride, 20);
    EXPECT_EQ(base, bmp->GetScanLine(0));

    TOwned<TBitmap> oneRow(MakeBitmap32(4, 1));
    ASSERT_TRUE(GetScanlineBase(oneRow.get(), base, stride));
    EXPECT_EQ(stride, 0);
    EXPECT_FALSE(GetScanlineBase(empty.get(), base, stride));

    TOwned<TBitmap> like(MakeBitmap32Like(bmp.get()));
    EXPECT_EQ(BitmapSize(like.get()), TPoint(5, 3));
    TOwned<TBitmap> plain(MakeBitmapLike(oneRow.get()));
    EXPECT_EQ(plain->GetPixelFormat(), pf32bit);
    EXPECT_EQ(BitmapRect(plain.get()), TRect(0, 0, 4, 1));
}

TEST(BitmapPixels, AccessIsClippedToTheBitmap)
{
    auto bmp = Bitmap32(3, 2, 0x11223344u);
    SetBitmap32Pixel(bmp.get(), 2, 1, 0xAABBCCDDu);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 2, 1), 0xAABBCCDDu);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0x11223344u);
    for (auto [x, y] : {std::pair{3, 0}, {0, 2}, {-1, 0}, {0, -1}, {100000, 100000}}) {
        SetBitmap32Pixel(bmp.get(), x, y, 0xDEADBEEFu);
        EXPECT_EQ(GetBitmap32Pixel(bmp.get(), x, y), 0u) << x << "," << y;
    }
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 1), 0x11223344u) << "nothing written past a row's end";
    TOwned<TBitmap> bits24(New<TBitmap>());
    bits24->SetPixelFormat(pf24bit);
    bits24->SetSize(2, 2);
    EXPECT_EQ(GetBitmap32Pixel(bits24.get(), 0, 0), 0u) << "a 24-bit bitmap is not read as 32-bit";
}

TEST(BitmapCopies, DuplicateAndSolidFill)
{
    auto source = Numbered(4, 3);
    TOwned<TBitmap> target(New<TBitmap>());
    DuplicateBitmap(target.get(), source.get());
    EXPECT_EQ(target->GetPixelFormat(), pf32bit);
    EXPECT_EQ(BitmapSize(target.get()), TPoint(4, 3));
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 3, 2) & 0xFFFFFF, 0x000203u);

    HDC dc = target->GetCanvas()->GetHandle();
    HGDIOBJ brushBefore = GetCurrentObject(dc, OBJ_BRUSH);
    DWORD gdiBefore = testing_support::GdiObjectCount();
    PaintSolidRect(dc, TRect(1, 1, 3, 2), clRed);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 3, 1) & 0xFFFFFF, 0x000103u);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brushBefore);
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore);

    TCacheInfo info = MakeCacheInfo(target.get(), 3, 4);
    EXPECT_EQ(info.Bmp, target.get());
    EXPECT_EQ(info.X + info.Y, 7);
    EXPECT_EQ(info.FillColor, clFuchsia);
    EXPECT_TRUE(info.Ready);
}

TEST(BitmapRotation, QuarterTurnsMoveEveryPixel)
{
    const int w = 3, h = 2;
    struct Case {
        int angle;
        int width, height;
        TPoint (*to)(int c, int r);
    } cases[] = {
        {90, h, w, [](int c, int r) { return TPoint(1 - r, c); }},
        {180, w, h, [](int c, int r) { return TPoint(2 - c, 1 - r); }},
        {270, h, w, [](int c, int r) { return TPoint(r, 2 - c); }},
        {45, w, h, [](int c, int r) { return TPoint(c, r); }},
    };
    for (const Case& c : cases) {
        auto source = Numbered(w, h);
        TBitmap* sourcePtr = source.get();
        TOwned<TBitmap> rotated(RotateBitmap32(sourcePtr, c.angle, false));
        ASSERT_NE(rotated, nullptr);
        EXPECT_EQ(BitmapSize(rotated.get()), TPoint(c.width, c.height)) << c.angle;
        for (int r = 0; r < h; ++r)
            for (int col = 0; col < w; ++col) {
                TPoint p = c.to(col, r);
                EXPECT_EQ(GetBitmap32Pixel(rotated.get(), p.x, p.y), GetBitmap32Pixel(source.get(), col, r))
                    << c.angle << ": " << col << "," << r;
            }
    }
    // Row 0, column 0 of a 3 x 2 bitmap lands in row 0, column 1 after 90 degrees.
    auto source = Numbered(3, 2);
    TBitmap* owned = source.release();
    TOwned<TBitmap> turned(RotateBitmap32(owned, 90, true));
    EXPECT_EQ(owned, nullptr) << "the source was freed";
    EXPECT_EQ(GetBitmap32Pixel(turned.get(), 1, 0), 0xFF000000u);

    TBitmap* none = nullptr;
    EXPECT_EQ(RotateBitmap32(none, 90, false), nullptr);
    TOwned<TBitmap> bits24(New<TBitmap>());
    bits24->SetPixelFormat(pf24bit);
    bits24->SetSize(2, 2);
    TBitmap* plain = bits24.get();
    EXPECT_EQ(RotateBitmap32(plain, 90, false), nullptr);
}

TEST(BitmapRotation, FreeRotationThroughPlgBlt)
{
    // A 4 x 4 image, red in its top-left quarter, turned about (10, 10).
    auto image = Bitmap32(4, 4, 0xFFFFFFFFu);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            SetBitmap32Pixel(image.get(), x, y, 0xFFFF0000u);
    struct Case {
        int angle;
        TPoint red, white;
    } cases[] = {
        // The points are turned the other way round and the result takes a
        // quarter turn more, which callers compensate.
        {0, {11, 8}, {9, 11}},
        {90, {11, 11}, {9, 9}},
        {180, {8, 11}, {11, 9}},
    };
    for (const Case& c : cases) {
        auto canvas = Bitmap32(20, 20, 0);
        PlgBltRotated(canvas->GetCanvas()->GetHandle(), image.get(), TPoint(10, 10), c.angle);
        GdiFlush();
        EXPECT_EQ(GetBitmap32Pixel(canvas.get(), c.red.x, c.red.y) & 0xFFFFFF, 0xFF0000u) << c.angle;
        EXPECT_EQ(GetBitmap32Pixel(canvas.get(), c.white.x, c.white.y) & 0xFFFFFF, 0xFFFFFFu) << c.angle;
        EXPECT_EQ(GetBitmap32Pixel(canvas.get(), 2, 2), 0u) << "outside the box";
    }

    const TPoint box[4] = {{0, 0}, {10, 0}, {10, 4}, {0, 4}};
    TOwned<TPrlgram> prlgram(New<TPrlgram>(box, 4));
    prlgram->Rotate(90);
    TPoint p(-7, -7);
    prlgram->GetPoint(0, p);
    EXPECT_EQ(p, TPoint(3, 7));
    p = TPoint(-7, -7);
    prlgram->GetPoint(4, p);
    EXPECT_EQ(p, TPoint(-7, -7)) << "an index past 3 leaves the point alone";
}

TEST(MaskedImages, AlphaFromTheLowerHalfAndBack)
{
    // Upper half colours, lower half the mask (white = transparent).
    auto masked = Bitmap32(2, 4);
    SetBitmap32Pixel(masked.get(), 0, 0, 0x00102030u);
    SetBitmap32Pixel(masked.get(), 1, 0, 0x00405060u);
    SetBitmap32Pixel(masked.get(), 0, 2, 0x00FFFFFFu);
    SetBitmap32Pixel(masked.get(), 1, 2, 0x00404040u);
    TOwned<TBitmap> alpha(MaskedImageToAlpha(masked.get(), TRect(0, 0, 2, 4)));
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(BitmapSize(alpha.get()), TPoint(2, 2));
    EXPECT_EQ(GetBitmap32Pixel(alpha.get(), 0, 0), 0x00102030u);
    EXPECT_EQ(GetBitmap32Pixel(alpha.get(), 1, 0), 0xBF405060u);
    EXPECT_EQ(GetBitmap32Pixel(alpha.get(), 0, 1), 0xFF000000u);

    TOwned<TBitmap> back(AlphaToMaskedImage(alpha.get()));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(BitmapSize(back.get()), TPoint(2, 4));
    EXPECT_EQ(GetBitmap32Pixel(back.get(), 0, 2), 0xFFFFFFFFu);
    EXPECT_EQ(GetBitmap32Pixel(back.get(), 1, 2), 0xFF404040u);
    EXPECT_EQ(GetBitmap32Pixel(back.get(), 1, 3), 0xFF000000u);

    // A rectangle reaching past the image reads its missing mask as opaque.
    TOwned<TBitmap> clipped(MaskedImageToAlpha(masked.get(), TRect(1, 2, 4, 8)));
    ASSERT_NE(clipped, nullptr);
    EXPECT_EQ(BitmapSize(clipped.get()), TPoint(3, 3));
    EXPECT_EQ(GetBitmap32Pixel(clipped.get(), 2, 2) >> 24, 255u);
    EXPECT_EQ(MaskedImageToAlpha(masked.get(), TRect(0, 0, 2, 1)), nullptr);
    TOwned<TBitmap> empty(MakeBitmap32(0, 0));
    EXPECT_EQ(AlphaToMaskedImage(empty.get()), nullptr);
}

TEST(Channels, CopyTransferAndMixWithinTheCommonArea)
{
    auto target = Bitmap32(3, 3, 0x11111111u);
    auto source = Bitmap32(2, 2, 0xAABBCCDDu);
    CopyBitmapChannel(target.get(), source.get(), 3);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 1), 0xAA111111u);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 2), 0x11111111u) << "outside the smaller source";
    CopyBitmapChannel(target.get(), source.get(), 4);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 0, 0), 0xAA111111u);

    TOwned<TBitmap> bytes(New<TBitmap>());
    bytes->SetPixelFormat(pf8bit);
    bytes->SetSize(2, 2);
    TransferChannel8(target.get(), bytes.get(), 3, true);
    EXPECT_EQ(static_cast<Byte*>(bytes->GetScanLine(1))[1], 0xAA);
    static_cast<Byte*>(bytes->GetScanLine(0))[1] = 0x42;
    TransferChannel8(target.get(), bytes.get(), 0, false);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 1, 0), 0xAA111142u);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 0), 0x11111111u);

    auto first = Bitmap32(2, 1, 0x00FFFFFFu), second = Bitmap32(2, 1, 0x00000000u);
    auto mixed = Bitmap32(2, 1, 0x7F000000u);
    MixBitmaps32(mixed.get(), first.get(), second.get(), 0, nullptr);
    EXPECT_EQ(GetBitmap32Pixel(mixed.get(), 0, 0), 0x7F000000u);
    MixBitmaps32(mixed.get(), first.get(), second.get(), 255, nullptr);
    EXPECT_EQ(GetBitmap32Pixel(mixed.get(), 1, 0), 0x7FFEFEFEu) << "alpha of the target kept";
    MixBitmaps32(mixed.get(), first.get(), second.get(), 128, nullptr);
    EXPECT_EQ(GetBitmap32Pixel(mixed.get(), 0, 0), 0x7F7F7F7Fu);

    auto mask = Bitmap32(2, 1, 0x00FF8000u);
    MixBitmaps32(mixed.get(), first.get(), second.get(), 0, mask.get());
    EXPECT_EQ(GetBitmap32Pixel(mixed.get(), 0, 0), 0x7FFE7F00u);

    auto small = Bitmap32(1, 1, 0x01010101u);
    MixBitmaps32(small.get(), first.get(), second.get(), 255, nullptr);
    EXPECT_EQ(GetBitmap32Pixel(small.get(), 0, 0), 0x01010101u) << "a target too small is left alone";
    auto wide = Bitmap32(3, 1);
    MixBitmaps32(mixed.get(), first.get(), wide.get(), 255, nullptr);
    EXPECT_EQ(GetBitmap32Pixel(mixed.get(), 0, 0), 0x7FFE7F00u) << "sources of different sizes";
}

TEST(Resampling, KeepsFlatColourAndSplitsEdges)
{
    for (int filter = 0; filter <= 6; ++filter) {
        auto source = Bitmap32(4, 4, 0xFF336699u);
        auto target = Bitmap32(1, 1);
        ResampleBitmap(source.get(), target.get(), 9, 7, filter);
        ASSERT_EQ(BitmapSize(target.get()), TPoint(9, 7)) << filter;
        // Filters whose weights do not add up to one stay within a few levels.
        int tolerance = filter == 5 ? 40 : 3;
        for (TPoint p : {TPoint(0, 0), TPoint(4, 3), TPoint(8, 6)})
            EXPECT_TRUE(PixelNear(GetBitmap32Pixel(target.get(), p.x, p.y), 0xFF336699u, tolerance))
                << "filter " << filter << " at " << p.x << "," << p.y;
    }

    // Left half red, right half blue, halved with the box filter.
    auto split = Bitmap32(8, 4, 0xFF0000FFu);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            SetBitmap32Pixel(split.get(), x, y, 0xFFFF0000u);
    auto half = Bitmap32(1, 1);
    ResampleBitmap(split.get(), half.get(), 4, 2, 0);
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(half.get(), 0, 0), 0xFFFF0000u, 1));
    EXPECT_TRUE(PixelNear(GetBitmap32Pixel(half.get(), 3, 1), 0xFF0000FFu, 1));

    auto same = Bitmap32(1, 1);
    ResampleBitmap(split.get(), same.get(), 8, 4, 6);
    EXPECT_EQ(GetBitmap32Pixel(same.get(), 7, 3), 0xFF0000FFu) << "the same size assigns";
    auto untouched = Bitmap32(2, 2, 0x12345678u);
    ResampleBitmap(split.get(), untouched.get(), 1, 5, 6);
    ResampleBitmap(split.get(), untouched.get(), 5, 0, 6);
    EXPECT_EQ(BitmapSize(untouched.get()), TPoint(2, 2));
    // A source far narrower than the filter still reads inside itself.
    auto narrow = Bitmap32(2, 2, 0xFF808080u);
    auto wide = Bitmap32(1, 1);
    ResampleBitmap(narrow.get(), wide.get(), 40, 3, 5);
    EXPECT_EQ(BitmapSize(wide.get()), TPoint(40, 3));
}

TEST(Regions, KeyPixelsAreCutOut)
{
    auto bmp = Bitmap32(4, 3, 0xFF123456u);
    HRGN full = MakeBitmapRegion(bmp.get(), 0x00FF00FFu);
    RECT box{};
    EXPECT_EQ(GetRgnBox(full, &box), SIMPLEREGION);
    EXPECT_EQ(TRect(box), TRect(0, 0, 4, 3));
    DeleteObject(full);

    for (int x = 0; x < 4; ++x)
        SetBitmap32Pixel(bmp.get(), x, 1, 0x00FF00FFu);
    SetBitmap32Pixel(bmp.get(), 2, 2, 0x00FF00FFu);
    SetBitmap32Pixel(bmp.get(), 3, 2, 0x00FF00FFu);
    TRects runs = CollectKeyRects(bmp.get(), 0xFFFF00FFu);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], TRect(0, 1, 4, 2));
    EXPECT_EQ(runs[1], TRect(2, 2, 4, 3));
    HRGN cut = MakeBitmapRegion(bmp.get(), 0x00FF00FFu);
    EXPECT_TRUE(PtInRegion(cut, 0, 0));
    EXPECT_FALSE(PtInRegion(cut, 1, 1));
    EXPECT_TRUE(PtInRegion(cut, 1, 2));
    EXPECT_FALSE(PtInRegion(cut, 3, 2));
    DeleteObject(cut);
}

TEST(Icons, FromABitmap)
{
    auto bmp = Bitmap32(16, 16, 0xFF00FF00u);
    DWORD gdiBefore = testing_support::GdiObjectCount();
    HICON icon = CreateIconFromBitmap(bmp.get());
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP color{};
    GetObjectW(info.hbmColor, sizeof(color), &color);
    EXPECT_EQ(color.bmWidth, 16);
    EXPECT_TRUE(info.fIcon);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore) << "the mask is deleted";

    TacExtFileData data;
    TOwned<TBitmap> loaded(New<TBitmap>());
    loaded->SetPixelFormat(pf24bit);
    loaded->SetSize(2, 2);
    data.Bmp = loaded.get();
    SetFileDataBitmap32(data);
    EXPECT_EQ(loaded->GetPixelFormat(), pf32bit);
}

TEST(LayoutBindings, BoundAtStartAndMissing)
{
    TLayoutBindings saved = LayoutBindings();
    ASSERT_NE(saved.SetLayout, nullptr);
    ASSERT_NE(saved.UpdateLayeredWindow, nullptr);
    auto bmp = Bitmap32(4, 4);
    HDC dc = bmp->GetCanvas()->GetHandle();
    SetDCLayout(dc, LAYOUT_RTL);
    EXPECT_EQ(GetDCLayout(dc), static_cast<DWORD>(LAYOUT_RTL));
    SetDCLayout(dc, 0);
    EXPECT_EQ(GetDCLayout(dc), 0u);

    PlatformProbe().LayeredWindows = true;
    EXPECT_TRUE(LayeredWindowsAvailable());
    PlatformProbe().LayeredWindows = false;
    EXPECT_FALSE(LayeredWindowsAvailable());
    ResetPlatformProbe();

    LayoutBindings() = {};
    SetDCLayout(dc, LAYOUT_RTL);
    EXPECT_EQ(GetLayout(dc), 0u) << "nothing set without the entry point";
    EXPECT_EQ(GetDCLayout(dc), 0u);
    EXPECT_FALSE(LayeredWindowsAvailable());
    LayoutBindings() = saved;
}

} // namespace
