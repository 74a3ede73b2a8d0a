// The fill description: change notification and what its plain painting
// puts where.
#include "GDIPFill.h"
#include "PackControlsTestSupport.h"

using namespace pack_test;

namespace {

TEST(GDIPFill, ChangesNotifyOutsideUpdatesOnly)
{
    TOwned<TGDIPFill> fill(New<TGDIPFill>());
    int changes = 0;
    fill->OnChange = [&](TObject*) { ++changes; };
    fill->SetColor(0xC0C0C0);
    EXPECT_EQ(changes, 0) << "same value";
    fill->SetColor(clRed);
    EXPECT_EQ(changes, 1);

    fill->BeginUpdate();
    fill->SetColorTo(clBlue);
    fill->SetBorderColor(clBlack);
    fill->SetGradientType(gtSolid);
    fill->EndUpdate();
    EXPECT_EQ(changes, 1) << "EndUpdate does not notify";
    fill->EndUpdate();
    fill->SetBorderWidth(3);
    EXPECT_EQ(changes, 2) << "an extra EndUpdate leaves the count at 0";

    TOwned<TGDIPFill> source(New<TGDIPFill>());
    source->SetColorMirror(clLime);
    changes = 0;
    fill->Assign(source.get());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(fill->GetColor(), 0xC0C0C0);
    EXPECT_EQ(fill->GetColorMirror(), clLime);
    EXPECT_EQ(fill->GetBorderWidth(), 1);

    TOwned<TFont> font(New<TFont>());
    changes = 0;
    fill->Assign(font.get());
    EXPECT_EQ(changes, 0);
    fill->BeginUpdate();
    fill->Assign(source.get());
    EXPECT_EQ(changes, 0) << "Assign inside an update";
}

TEST(GDIPFill, PaintsOneAreaOrTwoHalvesAndTheBorder)
{
    struct Case {
        const char* name;
        std::function<void(TGDIPFill*)> set;
        TColor top, bottom, edge;
    } cases[] = {
        {"defaults", [](TGDIPFill*) {}, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0},
        {"no body colour", [](TGDIPFill* f) { f->SetColor(clNone); }, clFuchsia, clFuchsia, clFuchsia},
        {"mirror half",
         [](TGDIPFill* f) {
             f->SetColor(clRed);
             f->SetColorMirror(clBlue);
         },
         clRed, clBlue, clRed},
        {"hatch uses one area",
         [](TGDIPFill* f) {
             f->SetColorMirror(clBlue);
             f->SetGradientType(gtHatch);
         },
         0xC0C0C0, 0xC0C0C0, 0xC0C0C0},
        {"border",
         [](TGDIPFill* f) {
             f->SetBorderColor(clGreen);
             f->SetBorderWidth(2);
         },
         0xC0C0C0, 0xC0C0C0, clGreen},
    };
    for (const Case& c : cases) {
        TOwned<TGDIPFill> fill(New<TGDIPFill>());
        c.set(fill.get());
        TSnapshot picture(40, 40);
        TOwned<TCanvas> canvas(New<TCanvas>());
        canvas->SetHandle(picture.DC());
        canvas->GetBrush()->SetColor(clFuchsia);
        canvas->FillRect(TRect(0, 0, 40, 40));
        fill->Fill(canvas.get(), TRect(0, 0, 40, 40));
        canvas->SetHandle(nullptr);
        EXPECT_EQ(picture.Pixel(20, 5), c.top) << c.name;
        EXPECT_EQ(picture.Pixel(20, 35), c.bottom) << c.name;
        EXPECT_EQ(picture.Pixel(1, 5), c.edge) << c.name;
        EXPECT_EQ(picture.Pixel(20, 38), c.edge == clGreen ? clGreen : c.bottom) << c.name;
    }
}

} // namespace
