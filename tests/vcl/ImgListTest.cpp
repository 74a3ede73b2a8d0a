// Image lists over comctl32 and their change links.
#include <gtest/gtest.h>
#include "GraphicsTestSupport.h"
#include "ImgList.h"

namespace {

using graphics_test::Fixture;
using ImgListTest = graphics_test::GdiLeakTest;

// A 16 x 16 bitmap of one colour with a fuchsia (transparent) border.
TOwned<TBitmap> Tile(TColor color)
{
    TOwned<TBitmap> tile(New<TBitmap>());
    tile->SetPixelFormat(pf24bit);
    tile->SetSize(16, 16);
    tile->GetCanvas()->GetBrush()->SetColor(clFuchsia);
    tile->GetCanvas()->FillRect(Rect(0, 0, 16, 16));
    tile->GetCanvas()->GetBrush()->SetColor(color);
    tile->GetCanvas()->FillRect(Rect(2, 2, 14, 14));
    return tile;
}

// The centre and the corner of image Index drawn on white.
std::pair<TColor, TColor> Drawn(TCustomImageList* list, int index, bool enabled = true)
{
    TOwned<TBitmap> target(New<TBitmap>());
    target->SetPixelFormat(pf24bit);
    target->SetSize(16, 16);
    list->Draw(target->GetCanvas(), 0, 0, index, enabled);
    return {target->GetCanvas()->GetPixels(8, 8), target->GetCanvas()->GetPixels(0, 0)};
}

TEST_F(ImgListTest, MaskedImagesDrawOverTheBackground)
{
    TOwned<TImageList> list(New<TImageList>(nullptr));
    EXPECT_FALSE(list->HandleAllocated());
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->AddMasked(Tile(clRed).get(), clFuchsia), 0);
    EXPECT_EQ(list->AddMasked(Tile(clBlue).get(), clDefault), 1) << "clDefault: the corner colour";
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(Drawn(list.get(), 0), std::make_pair(clRed, clWhite));
    EXPECT_EQ(Drawn(list.get(), 1), std::make_pair(clBlue, clWhite));

    // The caller's bitmap is left as it was.
    TOwned<TBitmap> tile = Tile(clGreen);
    list->AddMasked(tile.get(), clFuchsia);
    EXPECT_EQ(tile->GetCanvas()->GetPixels(0, 0), clFuchsia);

    // A mask bitmap of its own: set bits are transparent.
    TOwned<TBitmap> mask(New<TBitmap>());
    mask->Assign(tile.get());
    mask->Mask(clFuchsia);
    TOwned<TBitmap> black = Tile(clYellow);
    black->GetCanvas()->GetBrush()->SetColor(clBlack);
    black->GetCanvas()->FrameRect(Rect(0, 0, 16, 16));
    black->GetCanvas()->FrameRect(Rect(1, 1, 15, 15));
    EXPECT_EQ(list->Add(black.get(), mask.get()), 3);
    EXPECT_EQ(Drawn(list.get(), 3), std::make_pair(clYellow, clWhite));

    // Drawing a bad index or with no list draws nothing and raises nothing.
    EXPECT_EQ(Drawn(list.get(), 9), std::make_pair(clWhite, clWhite));
    TOwned<TImageList> empty(New<TImageList>(nullptr));
    EXPECT_EQ(Drawn(empty.get(), 0), std::make_pair(clWhite, clWhite));
    EXPECT_THROW(list->Add(nullptr, nullptr), EInvalidOperation);
}

TEST_F(ImgListTest, DisabledImagesAreEmbossedInButtonColours)
{
    TOwned<TImageList> list(New<TImageList>(nullptr));
    list->AddMasked(Tile(clRed).get(), clFuchsia);
    auto [centre, corner] = Drawn(list.get(), 0, false);
    EXPECT_EQ(centre, TColor(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(corner, clWhite);
    TOwned<TBitmap> target(New<TBitmap>());
    target->SetPixelFormat(pf24bit);
    target->SetSize(16, 16);
    list->Draw(target->GetCanvas(), 0, 0, 0, false);
    EXPECT_EQ(target->GetCanvas()->GetPixels(14, 14), TColor(GetSysColor(COLOR_BTNHIGHLIGHT)))
        << "the highlight shows one pixel down and right";
}

TEST_F(ImgListTest, ImagesCanBeInsertedMovedReplacedAndDeleted)
{
    TOwned<TImageList> list(New<TImageList>(nullptr));
    for (TColor color : {clRed, clLime, clBlue})
        list->AddMasked(Tile(color).get(), clFuchsia);
    auto centreOf = [&](int index) { return Drawn(list.get(), index).first; };

    list->Move(0, 2);
    EXPECT_EQ(centreOf(0), clLime);
    EXPECT_EQ(centreOf(1), clBlue);
    EXPECT_EQ(centreOf(2), clRed);
    list->Move(2, 0);
    EXPECT_EQ(centreOf(0), clRed);

    list->InsertMasked(1, Tile(clYellow).get(), clFuchsia);
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(centreOf(1), clYellow);
    EXPECT_EQ(centreOf(2), clLime);

    list->ReplaceMasked(2, Tile(clAqua).get(), clFuchsia);
    EXPECT_EQ(Drawn(list.get(), 2), std::make_pair(clAqua, clWhite));

    list->Delete(0);
    EXPECT_EQ(centreOf(0), clYellow);
    EXPECT_EQ(list->Count(), 3);

    for (auto bad : {-1, 3}) {
        EXPECT_THROW(list->Delete(bad), EInvalidOperation) << bad;
        EXPECT_THROW(list->Move(0, bad), EInvalidOperation) << bad;
        EXPECT_THROW(list->Replace(bad, Tile(clRed).get(), nullptr), EInvalidOperation) << bad;
    }
    EXPECT_THROW(list->Insert(4, Tile(clRed).get(), nullptr), EInvalidOperation);

    list->Clear();
    EXPECT_EQ(list->Count(), 0);
}

TEST_F(ImgListTest, IconsBitmapsAndOtherListsGoInAndOut)
{
    TOwned<TIcon> icon(New<TIcon>());
    icon->SetSize(16, 16);
    icon->LoadFromFile(Fixture(L"two-sizes.ico"));
    TOwned<TImageList> list(New<TImageList>(nullptr));
    EXPECT_EQ(list->AddIcon(icon.get()), 0);
    list->AddMasked(Tile(clBlue).get(), clFuchsia);
    EXPECT_EQ(Drawn(list.get(), 0).first, clRed);

    TOwned<TBitmap> bitmap(New<TBitmap>());
    EXPECT_TRUE(list->GetBitmap(1, bitmap.get()));
    EXPECT_EQ(bitmap->GetWidth(), 16);
    EXPECT_EQ(bitmap->GetCanvas()->GetPixels(8, 8), clBlue);
    EXPECT_FALSE(list->GetBitmap(2, bitmap.get()));

    TOwned<TIcon> out(New<TIcon>());
    EXPECT_TRUE(list->GetIcon(1, out.get()));
    EXPECT_EQ(out->GetWidth(), 16);

    TOwned<TImageList> other(New<TImageList>(nullptr));
    other->AddImages(list.get());
    EXPECT_EQ(other->Count(), 2);
    EXPECT_EQ(Drawn(other.get(), 1), std::make_pair(clBlue, clWhite));

    TOwned<TImageList> copy(New<TImageList>(nullptr));
    copy->SetSize(32, 32);
    copy->Assign(list.get());
    EXPECT_EQ(copy->GetWidth(), 16);
    EXPECT_EQ(copy->Count(), 2);
    EXPECT_NE(copy->GetHandle(), list->GetHandle());

    list->SetMasked(false);
    EXPECT_EQ(list->Count(), 2) << "the images move to the new native list";
    EXPECT_EQ(Drawn(list.get(), 1).first, clBlue);

    // Without masks an image covers its whole square.
    TOwned<TImageList> opaque(New<TImageList>(nullptr));
    opaque->SetMasked(false);
    opaque->Add(Tile(clBlue).get(), nullptr);
    EXPECT_EQ(Drawn(opaque.get(), 0), std::make_pair(clBlue, clFuchsia));
}

TEST_F(ImgListTest, ChangeLinksHearEveryChangeOnceUntilTheyGo)
{
    TOwned<TImageList> list(New<TImageList>(nullptr));
    std::vector<TObject*> heard;
    TOwned<TChangeLink> link(New<TChangeLink>());
    link->OnChange = [&](TObject* sender) { heard.push_back(sender); };
    list->RegisterChanges(link.get());
    EXPECT_EQ(link->GetSender(), list.get());

    list->AddMasked(Tile(clRed).get(), clFuchsia);
    list->SetBkColor(clSilver);
    EXPECT_EQ(heard, (std::vector<TObject*>{list.get(), list.get()}));

    list->BeginUpdate();
    list->AddMasked(Tile(clRed).get(), clFuchsia);
    list->AddMasked(Tile(clRed).get(), clFuchsia);
    EXPECT_EQ(heard.size(), 2u);
    list->EndUpdate();
    EXPECT_EQ(heard.size(), 3u) << "one change for the whole update";

    // A new size empties the list.
    list->SetSize(24, 24);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(heard.size(), 4u);
    EXPECT_THROW(list->SetWidth(0), EInvalidOperation);

    // A freed link leaves the list; a freed list leaves its links.
    link.reset();
    list->Clear();
    EXPECT_EQ(heard.size(), 4u);
    TOwned<TChangeLink> survivor(New<TChangeLink>());
    list->RegisterChanges(survivor.get());
    list.reset();
    EXPECT_EQ(survivor->GetSender(), nullptr);
}

TEST_F(ImgListTest, SharedHandlesAreNotDestroyed)
{
    HIMAGELIST native = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
    {
        TOwned<TImageList> list(New<TImageList>(nullptr));
        list->SetShareImages(true);
        list->SetHandle(native);
        EXPECT_EQ(list->GetWidth(), 16);
        list->AddMasked(Tile(clRed).get(), clFuchsia);
    }
    EXPECT_EQ(ImageList_GetImageCount(native), 1) << "the shared list is still alive";
    TOwned<TImageList> owner(New<TImageList>(nullptr));
    owner->SetHandle(native); // owned from here on, destroyed with the list
    EXPECT_EQ(owner->Count(), 1);
}

} // namespace
