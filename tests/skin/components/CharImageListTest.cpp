// The char image list: glyphs of the icon font and the platform's Marlett
// rendered at their scaled sizes, in the colour the list, the item or
// nothing asks for, moved by their offsets; and the default glyph list that
// start-up builds.
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "acAlphaImageList.h"
#include "sGraphUtils.h"
#include <climits>
#include <cmath>
#include <tuple>

namespace {

struct TInk {
    int count = 0;     // pixels of alpha 200 or more
    TRect bounds{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    bool oneColour = true;
    Cardinal colour = 0;
};

// The well-covered pixels of a rendering: how many, where, and whether they
// all have one colour.
TInk InkOf(TBitmap* bmp)
{
    TInk ink;
    for (int y = 0; y < bmp->GetHeight(); ++y)
        for (int x = 0; x < bmp->GetWidth(); ++x) {
            const Cardinal p = GetBitmap32Pixel(bmp, x, y);
            if ((p >> 24) < 200)
                continue;
            if (ink.count++ == 0)
                ink.colour = p & 0xFFFFFF;
            ink.oneColour = ink.oneColour && (p & 0xFFFFFF) == ink.colour;
            ink.bounds.left = std::min<LONG>(ink.bounds.left, x);
            ink.bounds.top = std::min<LONG>(ink.bounds.top, y);
            ink.bounds.right = std::max<LONG>(ink.bounds.right, x + 1);
            ink.bounds.bottom = std::max<LONG>(ink.bounds.bottom, y + 1);
        }
    return ink;
}

TOwned<TsCharImageList> ListOf(std::initializer_list<TacCharItemData> items, int width = 16, int height = 14)
{
    TOwned<TsCharImageList> list(New<TsCharImageList>(nullptr));
    list->SetWidth(width);
    list->SetHeight(height);
    for (const TacCharItemData& item : items)
        list->AddItem(item);
    return list;
}

TacCharItemData Glyph(Word code, double factor = 1.0, int offset = 0, TColor colour = clNone)
{
    TacCharItemData data;
    data.Char = code;
    data.ScalingFactor = factor;
    data.OffsetY = offset;
    data.Color = colour;
    return data;
}

} // namespace

TEST(CharImageList, DefaultListRendersItsGlyphsInTheAskedColour)
{
    TsCharImageList* list = DefaultCharImageList;
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 25);
    EXPECT_EQ(list->NativeCount(), 25);
    EXPECT_EQ(list->TCustomImageList::GetWidth(), 16);
    EXPECT_EQ(list->TCustomImageList::GetHeight(), 14);
    EXPECT_EQ(list->GetBkColor(), 0xFFFFFF);
    EXPECT_EQ(list->GetItems()->Items(21)->GetFontName(), L"Marlett");

    for (int i = 0; i < 25; ++i) {
        SCOPED_TRACE(i);
        const TSize size = list->GlyphSize(i);
        const double factor = list->GetItems()->Items(i)->GetScalingFactor();
        EXPECT_EQ(size, TSize(static_cast<LONG>(std::lround(16 * factor)), static_cast<LONG>(std::lround(14 * factor))));
        // No colour anywhere: black.
        TOwned<TBitmap> black(list->CreateBitmap32(i, size.cx, size.cy));
        ASSERT_NE(black, nullptr);
        const TInk ink = InkOf(black.get());
        EXPECT_GE(ink.count, 4);
        EXPECT_TRUE(ink.oneColour);
        EXPECT_EQ(ink.colour, 0x000000u);
        // The list's colour: red in pixel order.
        TOwned<TBitmap> red(list->CreateBitmap32Color(i, size.cx, size.cy, clRed));
        const TInk redInk = InkOf(red.get());
        EXPECT_EQ(redInk.count, ink.count);
        EXPECT_EQ(redInk.colour, 0xFF0000u);
        list->ForeColor = clNone;
    }

    // An item's own colour, when the list asks for none.
    TOwned<TsCharImageList> own = ListOf({Glyph(0xF00C, 1.0, 0, clBlue)});
    TOwned<TBitmap> blue(own->CreateBitmap32(0, 16, 14));
    EXPECT_EQ(InkOf(blue.get()).colour, 0x0000FFu);
    EXPECT_TRUE(InkOf(blue.get()).oneColour);
}

TEST(CharImageList, OffsetsMoveTheGlyphDown)
{
    // The ellipsis of the default list and a minus, each with and without offset.
    for (auto [code, factor, offset] : {std::tuple{Word(0xF141), 1.0, 4}, {Word(0xF068), 0.8, 2}}) {
        SCOPED_TRACE(code);
        TOwned<TsCharImageList> list = ListOf({Glyph(code, factor, 0), Glyph(code, factor, offset)});
        const TSize size = list->GlyphSize(0);
        TOwned<TBitmap> plain(list->CreateBitmap32(0, size.cx, size.cy));
        TOwned<TBitmap> moved(list->CreateBitmap32(1, size.cx, size.cy));
        const TInk a = InkOf(plain.get()), b = InkOf(moved.get());
        ASSERT_GT(a.count, 0);
        const LONG shift = static_cast<LONG>(std::lround(offset * factor));
        EXPECT_EQ(b.bounds.top, a.bounds.top + shift);
        EXPECT_EQ(b.bounds.left, a.bounds.left);
        EXPECT_EQ(b.bounds.right, a.bounds.right);
    }
}

TEST(CharImageList, LargerGlyphIsCroppedCentredIntoTheList)
{
    TOwned<TsCharImageList> list = ListOf({Glyph(0xF192, 1.25)});
    EXPECT_EQ(list->GlyphSize(0), TSize(20, 18));
    TOwned<TBitmap> glyph(list->CreateBitmap32(0, 20, 18));
    TIconHandle icon(ImageList_GetIcon(list->GetHandle(), 0, ILD_NORMAL));
    TIconInfo info(icon.Get());
    ASSERT_TRUE(info.Valid);
    TOwned<TBitmap> native(New<TBitmap>());
    native->SetHandle(static_cast<HBITMAP>(CopyImage(info.Color.Get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    native->SetPixelFormat(pf32bit);
    ASSERT_EQ(native->GetWidth(), 16);
    ASSERT_EQ(native->GetHeight(), 14);
    int compared = 0;
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 16; ++x) {
            const Cardinal expected = GetBitmap32Pixel(glyph.get(), x + 2, y + 2) >> 24;
            const Cardinal actual = GetBitmap32Pixel(native.get(), x, y) >> 24;
            EXPECT_NEAR(double(actual), double(expected), 1.0) << x << "," << y;
            compared += expected > 200;
        }
    EXPECT_GT(compared, 10);
}

TEST(CharImageList, ItemEdgeCases)
{
    TOwned<TsCharImageList> list = ListOf({Glyph(0xF00C), Glyph(0xF00D, 1.0, 0, clRed)});

    // An invalid index draws nothing and still answers True.
    TOwned<TBitmap> image(MakeBitmap32(16, 14));
    SetBitmap32Pixel(image.get(), 3, 3, 0x12345678);
    for (int index : {-1, 2, 99}) {
        EXPECT_TRUE(list->GetBitmap32(index, image.get()));
        EXPECT_EQ(GetBitmap32Pixel(image.get(), 3, 3), 0x12345678u);
        EXPECT_EQ(list->CreateBitmap32(index, 16, 14), nullptr);
        list->UpdateStd(index);
    }
    EXPECT_EQ(list->NativeCount(), 2);

    // Setting a property to its value keeps the cache; a new value drops it.
    TacCharListItem* item = list->GetItems()->Items(0);
    TBitmap* cache = item->Image();
    item->SetChar(0xF00C);
    EXPECT_EQ(item->CacheBmp.get(), cache);
    TOwned<TBitmap> before(MakeBitmap32(16, 14));
    before->Assign(item->Image());
    item->SetOrientation(900);
    EXPECT_EQ(item->CacheBmp, nullptr);
    // The orientation is stored, not drawn.
    TBitmap* turned = item->Image();
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(GetBitmap32Pixel(turned, x, y), GetBitmap32Pixel(before.get(), x, y)) << x << "," << y;

    // The item's own colour wins unless ignored; an index outside the items takes AColor.
    const struct {
        int index;
        bool ignore;
        TColor expected;
    } colours[] = {{1, false, clRed}, {1, true, clLime}, {0, false, clLime}, {2, false, clLime}, {-1, false, clLime}};
    for (const auto& row : colours) {
        list->SetCharColor(clLime, row.index, row.ignore);
        EXPECT_EQ(list->ForeColor, row.expected) << row.index;
    }
    list->ForeColor = clNone;
}

TEST(CharImageList, FactorZeroIsWorkedOutAtLoadTime)
{
    TOwned<TsCharImageList> list(New<TsCharImageList>(nullptr));
    list->BeginLoading();
    TacCharListItem* item = list->GetItems()->Add();
    item->SetChar(0xF068);
    item->SetColor(clRed);
    item->SetScalingFactor(0);
    // Before loading the glyph has no size and renders nothing.
    TOwned<TBitmap> bmp(MakeBitmap32(24, 24));
    list->RenderCharGlyph(bmp.get(), 0, 0, 24);
    EXPECT_EQ(InkOf(bmp.get()).count, 0);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 12, 12) >> 24, 0u);
    list->EndLoading();

    const double expected = CalcFontScalingFactor(DEFAULT_CHARSET, L"FontAwesome");
    EXPECT_GT(expected, 0.5);
    EXPECT_LE(expected, 1.0);
    EXPECT_DOUBLE_EQ(item->GetScalingFactor(), expected);
    EXPECT_EQ(item->GetColor(), clNone);
    EXPECT_EQ(list->NativeCount(), 1);
}

TEST(CharImageList, GlyphDrawingTakesTheTargetFontColour)
{
    TsCharImageList* list = DefaultCharImageList;
    TOwned<TBitmap> target(MakeBitmap32(30, 30));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            SetBitmap32Pixel(target.get(), x, y, 0xFFFFFFFF);
    target->GetCanvas()->GetFont()->SetColor(clBlue);
    const TSize drawn = DrawImageListGlyph(list, target.get(), 5, 5, 18, 1, 0, false, 0, clNone);
    EXPECT_EQ(drawn, list->GlyphSize(18));
    EXPECT_EQ(list->ForeColor, clNone);
    // The minus: a bar of blue across the middle of its cell, white above it.
    int blue = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            blue += GetBitmap32Pixel(target.get(), x, y) == 0xFF0000FFu;
    EXPECT_GE(blue, 4);
    EXPECT_EQ(GetBitmap32Pixel(target.get(), 2, 2), 0xFFFFFFFFu);
}

TEST(CharImageList, LeavesNoHandlesBehind)
{
    const DWORD gdi = testing_support::GdiObjectCount();
    const DWORD user = testing_support::UserObjectCount();
    for (int round = 0; round < 3; ++round) {
        TOwned<TsCharImageList> list = ListOf({Glyph(0xF00C), Glyph(0xF192, 1.25), Glyph(0xF141, 1.0, 4)});
        list->SetWidth(20);
        list->UpdateStd(1);
        TOwned<TBitmap> target(MakeBitmap32(40, 40));
        list->Draw(target->GetCanvas(), 2, 2, 1);
        DrawImageListGlyph(list.get(), target.get(), 0, 0, 2, 1, 0, true, 30, clNone);
        DrawImageListGlyphDC(list.get(), target->GetCanvas()->GetHandle(), 5, 5, 0, 1, 0, true, 0, clRed);
        TOwned<TBitmap> image(MakeBitmap32(11, 11));
        list->GetBitmap32(2, image.get(), 11);
    }
    EXPECT_EQ(testing_support::GdiObjectCount(), gdi);
    EXPECT_EQ(testing_support::UserObjectCount(), user);
}
