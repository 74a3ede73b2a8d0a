// Graphics in cells: every kind put in, read back, changed and taken out,
// who frees the objects they hold, the record's own rules (Assign, angles,
// picture sizes) and cells outside the storage.
#include "DataGridSupport.h"
#include "AdvGridLists.h"
#include "AdvUtil.h"
#include <gtest/gtest.h>
#include <functional>

using namespace datagrid_test;

namespace {

// A bitmap with a real GDI bitmap behind it: once freed, the handle is gone.
HBITMAP RealHandle(TBitmap* Bitmap)
{
    Bitmap->SetSize(4, 4);
    return Bitmap->GetHandle();
}

bool HandleAlive(HBITMAP Handle) { return GetObjectType(Handle) == OBJ_BITMAP; }

struct TKindCase {
    const char* name;
    TCellType kind;
    std::function<void(TAdvStringGrid*)> add;     // into cell (1, 1)
    std::function<bool(TAdvStringGrid*)> read;    // the kind's own reader answers
    std::function<void(TAdvStringGrid*)> change;  // its changer, when it has one
    std::function<bool(TAdvStringGrid*)> changed; // ... and what the change shows
    std::function<void(TAdvStringGrid*)> remove;
};

} // namespace

TEST(CellGraphics, EveryKindIsAddedReadChangedAndRemoved)
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    TOwned<TPicture> picture(New<TPicture>());
    TOwned<TFilePicture> filePicture(New<TFilePicture>());
    TOwned<TIcon> icon(New<TIcon>());
    TOwned<TInterfacedPersistent> drawn(New<TInterfacedPersistent>());
    TOwned<TImageList> images(New<TImageList>(nullptr));
    const TKindCase cases[] = {
        {"bitmap", ctBitmap, [&](auto* g) { g->AddBitmap(1, 1, bitmap.get(), true, haLeft, vaTop); },
         [&](auto* g) { return g->GetBitmap(1, 1) == bitmap.get() && g->HasBitmap(1, 1); }, nullptr, nullptr,
         [](auto* g) { g->RemoveBitmap(1, 1); }},
        {"picture", ctPicture,
         [&](auto* g) { g->AddPicture(1, 1, picture.get(), false, Shrink, 2, haCenter, vaCenter); },
         [&](auto* g) { return g->GetPicture(1, 1) == picture.get() && g->GetCellGraphic(1, 1)->GetCellAngle() == Shrink; },
         nullptr, nullptr, [](auto* g) { g->RemovePicture(1, 1); }},
        {"file picture", ctFilePicture,
         [&](auto* g) { g->AddFilePicture(1, 1, filePicture.get(), false, Stretch, 0, haLeft, vaTop); },
         [&](auto* g) { return g->GetFilePicture(1, 1) == filePicture.get() && g->HasFilePicture(1, 1); }, nullptr,
         nullptr, [](auto* g) { g->RemoveFilePicture(1, 1); }},
        {"icon", ctIcon, [&](auto* g) { g->AddIcon(1, 1, icon.get(), haLeft, vaTop); },
         [&](auto* g) { return g->GetCellGraphic(1, 1)->GetCellIcon() == icon.get(); }, nullptr, nullptr,
         [](auto* g) { g->RemoveIcon(1, 1); }},
        {"image index", ctImageList, [](auto* g) { g->AddImageIdx(1, 1, 3, haLeft, vaTop); },
         [](auto* g) { int i = -1; return g->GetImageIdx(1, 1, i) && i == 3; },
         [](auto* g) { g->SetImageIdx(1, 1, 5); }, [](auto* g) { int i = -1; return g->GetImageIdx(1, 1, i) && i == 5; },
         [](auto* g) { g->RemoveImageIdx(1, 1); }},
        {"data image", ctDataImage, [](auto* g) { g->AddDataImage(1, 1, 2, haLeft, vaTop); },
         [](auto* g) { return g->HasDataImage(1, 1); }, nullptr, nullptr, [](auto* g) { g->RemoveDataImage(1, 1); }},
        {"image strip", ctImages, [](auto* g) { g->AddMultiImage(1, 1, 0, haLeft, vaTop); },
         [](auto* g) { return g->GetMultiImageList(1, 1) != nullptr && g->GetCellGraphic(1, 1)->GetCellBoolean(); },
         [](auto* g) { g->GetMultiImageList(1, 1)->Add(4); },
         [](auto* g) { return g->GetMultiImageList(1, 1)->GetItem(0) == 4; },
         [](auto* g) { g->RemoveMultiImage(1, 1); }},
        {"interfaced", ctInterface, [&](auto* g) { g->AddInterfacedCell(1, 1, drawn.get()); },
         [&](auto* g) { return g->GetInterfacedCell(1, 1) == drawn.get(); }, nullptr, nullptr,
         [](auto* g) { g->RemoveInterfacedCell(1, 1); }},
        {"progress", ctProgress, [](auto* g) { g->AddProgressFormatted(1, 1, 1, 2, 3, 4, L"%d%%", 10, 20); },
         [](auto* g) {
             TCellGraphic* p = g->GetCellGraphic(1, 1);
             return g->HasProgress(1, 1) && p->GetCellErrFrom() == 10 && p->GetCellErrLen() == 20 &&
                    p->GetCellText() == L"%d%%" && p->GetCellBoolean() && p->GetCellIndex() == 2;
         },
         nullptr, nullptr, [](auto* g) { g->RemoveProgress(1, 1); }},
        {"advanced progress", ctXPProgress, [](auto* g) { g->AddAdvProgress(1, 1, 5, 50); },
         [](auto* g) { return g->GetCellGraphic(1, 1)->GetCellErrLen() == 50; }, nullptr, nullptr,
         [](auto* g) { g->RemoveAdvProgress(1, 1); }},
        {"pie", ctProgressPie, [](auto* g) { g->AddProgressPie(1, 1, 0xFF, 30); },
         [](auto* g) { return g->GetCellGraphic(1, 1)->GetCellAngle() == 30; },
         [](auto* g) { g->SetProgressPie(1, 1, 70); },
         [](auto* g) { return g->GetCellGraphic(1, 1)->GetCellAngle() == 70; },
         [](auto* g) { g->RemoveProgressPie(1, 1); }},
        {"range", ctRangeIndicator, [](auto* g) { g->AddRangeIndicator(1, 1, 100, 0xFF, 0xFF00, true); },
         [](auto* g) { return g->GetCellGraphic(1, 1)->GetCellIndex() == 100; }, nullptr, nullptr,
         [](auto* g) { g->RemoveRangeIndicator(1, 1); }},
        {"shape", ctShape, [](auto* g) { g->AddShape(1, 1, csCircle, 0x123456, 0, haLeft, vaTop); },
         [](auto* g) { return g->HasShape(1, 1) && g->GetShapeColor(1, 1) == 0x123456; },
         [](auto* g) { g->SetShapeColor(1, 1, 0x654321); },
         [](auto* g) { return g->GetShapeColor(1, 1) == 0x654321; }, [](auto* g) { g->RemoveShape(1, 1); }},
        {"rating", ctRating, [](auto* g) { g->AddRating(1, 1, 5, 0xFF, 0x80); },
         [](auto* g) { return g->HasRating(1, 1) && g->GetCellGraphic(1, 1)->GetCellHAlign() == haFull; }, nullptr,
         nullptr, [](auto* g) { g->RemoveRating(1, 1); }},
        {"button", ctButton, [](auto* g) { g->AddButton(1, 1, 40, 18, L"Go", haLeft, vaTop); },
         [](auto* g) { return g->HasButton(1, 1) && g->GetButtonText(1, 1) == L"Go"; },
         [](auto* g) {
             g->SetButtonText(1, 1, L"Stop");
             g->PushButton(1, 1, true);
         },
         [](auto* g) { return g->GetButtonText(1, 1) == L"Stop" && g->GetCellGraphic(1, 1)->GetCellBoolean(); },
         [](auto* g) { g->RemoveButton(1, 1); }},
        {"scroll bar", ctScrollbar, [](auto* g) { g->AddScrollBar(1, 1, false); },
         [](auto* g) {
             const TScrollProp p = g->GetScrollProp(1, 1);
             return g->HasScrollBar(1, 1) && g->GetScrollPosition(1, 1) == 0 && p.PageSize == 0 && p.Range == 100;
         },
         [](auto* g) {
             g->SetScrollPosition(1, 1, 7);
             g->SetScrollProp(1, 1, {10, 50});
         },
         [](auto* g) { return g->GetScrollPosition(1, 1) == 7 && g->GetScrollProp(1, 1).Range == 50; },
         [](auto* g) { g->RemoveScrollBar(1, 1); }},
        {"balloon", ctBalloon, [](auto* g) {
             g->RemoveButton(1, 1); // a balloon goes only on a cell without graphic
             g->AddBalloon(1, 1, L"T", L"X", biWarning);
         },
         [](auto* g) {
             String t, x;
             TBalloonIcon i = biNone;
             return g->HasBalloon(1, 1) && g->IsBalloon(1, 1, t, x, i) && t == L"T" && x == L"X" && i == biWarning;
         },
         nullptr, nullptr, [](auto* g) { g->RemoveBalloon(1, 1); }},
        {"expand", ctExpand, [](auto* g) { g->AddExpand(1, 1, 60); },
         [](auto* g) { return g->HasExpand(1, 1) && !g->GetExpandState(1, 1) && g->GetExpandHeight(1, 1, true) == 60; },
         [](auto* g) { g->ToggleExpand(1, 1); }, [](auto* g) { return g->GetExpandState(1, 1); },
         [](auto* g) { g->RemoveExpand(1, 1); }},
        {"rotated", ctRotated, [](auto* g) { g->AddRotated(1, 1, 45, L"up"); },
         [](auto* g) { int a = 0; return g->IsRotated(1, 1, a) && a == 45 && g->GetCells(1, 1) == L"up"; },
         [](auto* g) { g->SetRotated(1, 1, -90); }, [](auto* g) { int a = 0; return g->IsRotated(1, 1, a) && a == 270; },
         [](auto* g) { g->RemoveRotated(1, 1); }},
    };
    for (const TKindCase& c : cases) {
        SCOPED_TRACE(c.name);
        TFilledGrid<> g(3, 3);
        g->SetGridImages(images.get());
        g->AddButton(1, 1, 10, 10, L"old", haLeft, vaTop);
        c.add(g.grid);
        EXPECT_EQ(g->GetCellGraphicType(1, 1), c.kind);
        EXPECT_TRUE(c.read(g.grid));
        // A neighbour of another kind answers none of it.
        EXPECT_EQ(g->GetCellGraphicType(2, 2), ctEmpty);
        if (c.change) {
            c.change(g.grid);
            EXPECT_TRUE(c.changed(g.grid));
        }
        c.remove(g.grid);
        EXPECT_EQ(g->GetCellGraphicType(1, 1), ctEmpty);
        EXPECT_TRUE(g->HasNoCellGraphic(1, 1));
    }
}

TEST(CellGraphics, RemoversTakeOnlyTheirOwnKind)
{
    TFilledGrid<> g(3, 3);
    g->AddButton(1, 1, 10, 10, L"b", haLeft, vaTop);
    g->RemoveBitmap(1, 1);
    g->RemovePicture(1, 1);
    g->RemoveShape(1, 1);
    EXPECT_EQ(g->GetCellGraphicType(1, 1), ctButton);
    EXPECT_EQ(g->GetShapeColor(1, 1), clNone);
    EXPECT_EQ(g->GetScrollPosition(1, 1), -1);
    EXPECT_EQ(g->GetScrollProp(1, 1).PageSize, -1);
}

TEST(CellGraphics, WhatTheCellCreatedItFreesAndWhatItWasGivenItLeaves)
{
    TFilledGrid<> g(3, 3);
    // Created: removal frees it.
    const HBITMAP created = RealHandle(g->CreateBitmap(1, 1, false, haLeft, vaTop));
    g->RemoveBitmap(1, 1);
    EXPECT_FALSE(HandleAlive(created));
    // Given: removal leaves it to its owner.
    TOwned<TBitmap> mine(New<TBitmap>());
    const HBITMAP given = RealHandle(mine.get());
    g->AddBitmap(1, 1, mine.get(), false, haLeft, vaTop);
    g->RemoveBitmap(1, 1);
    EXPECT_TRUE(HandleAlive(given));
    // A kind replaced by another is freed with it.
    const HBITMAP glyph = RealHandle(g->CreateBitButton(2, 2, 20, 20, L"g", haLeft, vaTop));
    g->AddShape(2, 2, csCircle, 0, 0, haLeft, vaTop);
    EXPECT_FALSE(HandleAlive(glyph));
    // A radio group's own option list goes with the cell's properties.
    TStrings* options = g->CreateRadio(0, 0, 0, -1);
    options->Add(L"a");
    g->FreeCellProperties(0, 0);
    EXPECT_EQ(g->GetCellGraphicType(0, 0), ctEmpty);
}

TEST(CellGraphics, AssignNeverLeavesARecordOwningWhatItWasGiven)
{
    TFilledGrid<> g(3, 3);
    TOwned<TBitmap> mine(New<TBitmap>());
    const HBITMAP given = RealHandle(mine.get());
    g->AddBitmap(1, 1, mine.get(), false, haLeft, vaTop);
    const HBITMAP owned = RealHandle(g->CreateBitmap(2, 2, false, haLeft, vaTop));
    // The caller's record takes the created one's fields: it must not come
    // to own the caller's bitmap.
    g->GetCellGraphic(1, 1)->Assign(g->GetCellGraphic(2, 2));
    g->RemoveBitmap(1, 1);
    EXPECT_TRUE(HandleAlive(given));
    // The created one's record takes the caller's: what it owned is freed now.
    g->AddBitmap(1, 1, mine.get(), false, haLeft, vaTop);
    g->GetCellGraphic(2, 2)->Assign(g->GetCellGraphic(1, 1));
    EXPECT_FALSE(HandleAlive(owned));
    EXPECT_EQ(g->GetCellGraphic(2, 2)->GetCellBitmap(), nullptr);
    g->RemoveBitmap(2, 2);
    EXPECT_TRUE(HandleAlive(given));
}

TEST(CellGraphics, AnglesAndPictureSizes)
{
    struct AngleCase {
        int given, stored;
    };
    for (const AngleCase& c : {AngleCase{-90, 270}, {720, 360}, {360, 360}, {0, 0}, {-360, 0}, {450, 90}, {-450, 270}}) {
        TCellGraphic graphic;
        graphic.SetAngle(c.given);
        EXPECT_EQ(graphic.GetCellAngle(), c.stored) << c.given;
        EXPECT_EQ(graphic.GetCellType(), ctRotated);
    }

    // A 100 x 50 picture, padding 0, in a 60 x 60 cell and in a 200 x 200 cell.
    TOwned<TPicture> picture(New<TPicture>());
    TOwned<TBitmap> bitmap(New<TBitmap>(100, 50));
    picture->SetBitmap(bitmap.get());
    struct SizeCase {
        TStretchMode mode;
        int cw, rh;
        TPoint size;
    };
    const SizeCase cases[] = {
        {noStretch, 60, 60, {100, 50}},
        {Stretch, 60, 60, {60, 60}},
        {StretchWithAspectRatio, 60, 60, {60, 30}},
        {StretchWithAspectRatio, 200, 200, {200, 100}},
        {Shrink, 60, 60, {60, 60}},
        {Shrink, 200, 200, {100, 50}},
        {ShrinkWithAspectRatio, 60, 60, {60, 30}},
        {ShrinkWithAspectRatio, 200, 200, {100, 50}},
    };
    for (const SizeCase& c : cases) {
        TCellGraphic graphic;
        graphic.SetPicture(picture.get(), false, c.mode, 0, haLeft, vaTop);
        TPoint size(-1, -1);
        graphic.GetPictureSize(c.cw, c.rh, false, size);
        EXPECT_EQ(size, c.size) << "mode " << c.mode << " in " << c.cw;
    }
    // Padding comes off the room; other kinds leave the result alone.
    TCellGraphic padded;
    padded.SetPicture(picture.get(), false, Stretch, 10, haLeft, vaTop);
    TPoint size;
    padded.GetPictureSize(60, 40, false, size);
    EXPECT_EQ(size, TPoint(50, 30));
    TCellGraphic other;
    other.SetImageIdx(1, haLeft, vaTop);
    size = TPoint(7, 7);
    other.GetPictureSize(60, 40, false, size);
    EXPECT_EQ(size, TPoint(7, 7));
}

TEST(CellGraphics, CellsOutsideTheStorageTakeNothing)
{
    TFilledGrid<> g(3, 3);
    g->HideRow(2);
    // Columns and rows past the storage, negative ones, and the hidden row's index.
    const TPoint outside[] = {{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {0, 3}};
    for (const TPoint& at : outside) {
        SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
        g->AddButton(at.x, at.y, 10, 10, L"x", haLeft, vaTop);
        g->AddComment(at.x, at.y, L"c");
        g->AddMarker(at.x, at.y, 1, 1);
        g->SetRotated(at.x, at.y, 90);
        EXPECT_EQ(g->GetCellGraphic(at.x, at.y), nullptr);
        EXPECT_EQ(g->GetCellGraphicType(at.x, at.y), ctEmpty);
        EXPECT_FALSE(g->HasGraphicOfKinds(at.x, at.y, {ctButton}));
        EXPECT_THROW(g->CreateBitmap(at.x, at.y, false, haLeft, vaTop), Exception);
        EXPECT_THROW(g->AddCheckBox(at.x, at.y, true, false), Exception);
        EXPECT_THROW(g->AddRadioButton(at.x, at.y, true), Exception);
    }
    // Block accessors are clipped to the grid.
    g->SetCellColor(TGridRect{-5, -5, 10, 10}, 0xFF);
    EXPECT_EQ(g->GetCellBrushColor(2, 1), 0xFF);
}

TEST(CellGraphics, CommentsMarkersBalloonsAndRotation)
{
    TFilledGrid<> g(3, 3);
    g->AddComment(1, 1, L"note");
    String comment;
    EXPECT_TRUE(g->IsComment(1, 1, comment));
    EXPECT_EQ(comment, L"note");
    EXPECT_FALSE(g->HasNoCellGraphic(1, 1));
    g->RemoveComment(1, 1);
    EXPECT_EQ(g->GetCellGraphicType(1, 1), ctNone);
    EXPECT_TRUE(g->HasNoCellGraphic(1, 1));

    int pos = -1, len = -1;
    g->GetMarker(2, 2, pos, len);
    EXPECT_EQ(pos, 0);
    g->AddMarker(2, 2, 3, 4);
    g->GetMarker(2, 2, pos, len);
    EXPECT_EQ(pos, 3);
    EXPECT_EQ(len, 4);
    g->RemoveAllMarkers();
    EXPECT_EQ(g->GetCellGraphicType(2, 2), ctEmpty);

    // A balloon on a picture cell is refused; on a radio button it leaves the group alone.
    TOwned<TPicture> picture(New<TPicture>());
    g->AddPicture(0, 0, picture.get(), false, noStretch, 0, haLeft, vaTop);
    g->AddBalloon(0, 0, L"t", L"x", biInfo);
    String t, x;
    TBalloonIcon icon = biNone;
    EXPECT_FALSE(g->IsBalloon(0, 0, t, x, icon));
    g->AddRadioButtonGroup(0, 1, rgRow, false);
    g->AddBalloon(0, 1, L"t", L"x", biInfo);
    EXPECT_TRUE(g->IsBalloon(0, 1, t, x, icon));
    EXPECT_TRUE(g->HasRadioButtonGroup(0, 1, rgRow));
    g->RemoveBalloon(0, 1);
    EXPECT_FALSE(g->IsBalloon(0, 1, t, x, icon));
    EXPECT_TRUE(g->HasRadioButtonGroup(0, 1, rgRow));

    // Rotation takes over a check box, releasing its balloon.
    g->AddCheckBox(2, 0, true, false);
    g->AddBalloon(2, 0, L"t", L"x", biInfo);
    g->SetRotated(2, 0, 90);
    int angle = 0;
    EXPECT_TRUE(g->IsRotated(2, 0, angle));
    EXPECT_EQ(angle, 90);
    EXPECT_EQ(g->GetCellGraphic(2, 0)->GetCellBitmap(), nullptr);
    EXPECT_EQ(g->GetExpandHeight(2, 0, true), g->GetDefaultRowHeight());
}

TEST(CellGraphics, DataImagesAndTheRowCheckBox)
{
    TFilledGrid<> g(3, 11);
    TOwned<TImageList> images(New<TImageList>(nullptr));
    g->AddDataImage(1, 1, 3, haLeft, vaTop);
    EXPECT_EQ(g->GetCells(1, 1), CellName(1, 1));
    g->SetCells(1, 2, L"");
    g->AddDataImage(1, 2, 3, haLeft, vaTop);
    EXPECT_EQ(g->GetCellGraphicType(1, 2), ctEmpty) << "no image list";
    g->SetGridImages(images.get());
    g->AddDataImage(1, 2, 3, haLeft, vaTop);
    EXPECT_EQ(g->GetCells(1, 2), L"3");
    g->RemoveDataImage(1, 2);
    EXPECT_EQ(g->GetCells(1, 2), L"");

    g->SetFixedRows(1);
    g->GetMouseActions()->SetHotmailRowSelect(true);
    EXPECT_EQ(g->GetCellGraphicType(0, 0), ctRowCheckBox);
    g->SetRowSelect(3, true);
    EXPECT_EQ(g->GetCellGraphic(0, 0)->GetCellAngle(), 1);
    EXPECT_FALSE(g->GetCellGraphic(0, 0)->GetCellBoolean());
    EXPECT_TRUE(g->GetCellGraphic(0, 3)->GetCellBoolean());
    for (int r = 1; r < 11; ++r)
        g->SetRowSelect(r, true);
    EXPECT_EQ(g->GetCellGraphic(0, 0)->GetCellAngle(), 0);
    EXPECT_TRUE(g->GetCellGraphic(0, 0)->GetCellBoolean());
    // The shared box is let go of, never freed, by a removal.
    TCellGraphic* shared = g->GetCellGraphic(0, 4);
    EXPECT_TRUE(g->RemoveCellGraphic(0, 4));
    EXPECT_EQ(g->GetCellGraphic(0, 5), shared);
}

TEST(CellGraphics, Measurement)
{
    TShownGrid<> g(3, 3);
    TSize size(-1, -1);
    g->MeasureCellGraphic(g->GetCanvas(), 1, 1, size, 1.0, 0);
    EXPECT_EQ(size, TSize(0, 0));
    g->AddCheckBox(1, 1, true, false);
    g->CellGraphicSize(1, 1, size);
    EXPECT_EQ(size, TSize(g->GetControlLook()->GetCheckSize(), g->GetControlLook()->GetCheckSize()));
    g->MeasureCellGraphic(g->GetCanvas(), 1, 1, size, 0, 0);
    EXPECT_EQ(size, TSize(0, 0)) << "a scale of 0";
    g->AddRating(1, 2, 5, 0, 0);
    g->CellGraphicSize(1, 2, size);
    EXPECT_EQ(size, TSize(90, 16));
    g->AddButton(2, 1, 30, 12, L"b", haLeft, vaTop);
    g->CellGraphicSize(2, 1, size);
    EXPECT_EQ(size, TSize(30, 0)) << "beside nothing: no height above the text";
    g->AddExpand(2, 2, 40);
    TRect r;
    g->GetExpandButtonRect(2, 2, r);
    const TRect cell = g->CellRect(2, 2);
    EXPECT_EQ(r, TRect(cell.right - 13, cell.top + 2, cell.right - 2, cell.top + 13));
    g->GetExpandButtonRect(1, 1, r);
    EXPECT_TRUE(r.IsEmpty());
}
