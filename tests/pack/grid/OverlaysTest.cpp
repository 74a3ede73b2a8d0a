// The overlay windows and masks: arrow regions, the layered focus frame
// round a cell, the alpha mask that refuses bad inputs, the blur, and the
// XOR sizing lines that a second drawing takes away.
#include "DataGridSupport.h"
#include "AdvGridOverlays.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include "SysUtils.h"
#include <gtest/gtest.h>
#include <cmath>

using namespace datagrid_test;

namespace {

TOwned<TBitmap> Filled(TPixelFormat format, int w, int h, TColor color)
{
    TOwned<TBitmap> b(New<TBitmap>());
    b->SetPixelFormat(format);
    b->SetSize(w, h);
    b->GetCanvas()->GetBrush()->SetColor(color);
    b->GetCanvas()->FillRect(TRect(0, 0, w, h));
    return b;
}

// Blue, green, red of a 24-bit pixel.
RGBTRIPLE Pixel24(TBitmap* b, int x, int y) { return static_cast<const RGBTRIPLE*>(b->GetScanLine(y))[x]; }
DWORD Pixel32(TBitmap* b, int x, int y) { return static_cast<const DWORD*>(b->GetScanLine(y))[x]; }

} // namespace

TEST(AlphaMask, MergePremultipliesByTheMasksRed)
{
    auto mask = Filled(pf24bit, 4, 4, RGB(128, 0, 0));
    auto colour = Filled(pf24bit, 4, 4, RGB(200, 100, 50));
    TOwned<TGridAlphaMask> alpha(New<TGridAlphaMask>());
    alpha->MergeMask(mask.get(), colour.get(), clNone);
    ASSERT_EQ(alpha->GetWidth(), 4);
    const DWORD p = Pixel32(alpha.get(), 2, 2);
    EXPECT_EQ(p >> 24, 128u);
    EXPECT_EQ((p >> 16) & 0xFF, static_cast<DWORD>(std::lround(200 * 128 / 255.0)));
    EXPECT_EQ((p >> 8) & 0xFF, static_cast<DWORD>(std::lround(100 * 128 / 255.0)));
    EXPECT_EQ(p & 0xFF, static_cast<DWORD>(std::lround(50 * 128 / 255.0)));
}

TEST(AlphaMask, BadInputsChangeNothing)
{
    struct Case {
        const char* name;
        TPixelFormat maskFormat;
        int maskW, maskH;
        TPixelFormat colourFormat;
    };
    const Case cases[] = {
        {"32-bit colour", pf24bit, 8, 8, pf32bit},
        {"32-bit mask", pf32bit, 8, 8, pf24bit},
        {"narrow mask", pf24bit, 3, 8, pf24bit},
        {"short mask", pf24bit, 8, 2, pf24bit},
    };
    for (const Case& c : cases) {
        auto mask = Filled(c.maskFormat, c.maskW, c.maskH, clWhite);
        auto colour = Filled(c.colourFormat, 8, 8, clRed);
        TOwned<TGridAlphaMask> alpha(New<TGridAlphaMask>());
        alpha->SetSize(2, 2);
        alpha->MergeMask(mask.get(), colour.get(), clNone);
        EXPECT_EQ(alpha->GetWidth(), 2) << c.name;
        EXPECT_EQ(alpha->GetHeight(), 2) << c.name;
    }

    // Masks of different sizes copy only what both have.
    TOwned<TGridAlphaMask> big(New<TGridAlphaMask>());
    big->SetSize(6, 6);
    TOwned<TGridAlphaMask> small(New<TGridAlphaMask>());
    small->SetSize(2, 3);
    static_cast<DWORD*>(small->GetScanLine(1))[1] = 0x80402010;
    small->SetOpacity(77);
    big->Assign(small.get());
    EXPECT_EQ(big->GetOpacity(), 77);
    EXPECT_EQ(big->GetWidth(), 6);
    EXPECT_EQ(Pixel32(big.get(), 1, 1), 0x80402010u);
    small->Assign(big.get());
    EXPECT_EQ(Pixel32(small.get(), 1, 1), 0x80402010u);
}

TEST(AlphaMask, BlurKeepsWhiteWhiteAndRefusesOtherDepths)
{
    auto b32 = Filled(pf32bit, 10, 10, clWhite);
    try {
        BlurBitmap(b32.get(), 2);
        ADD_FAILURE() << "a 32-bit bitmap is refused";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Blur only works for 24-bit bitmaps");
    }

    auto white = Filled(pf24bit, 60, 60, clWhite);
    BlurBitmap(white.get(), 1);
    for (const POINT p : {POINT{0, 0}, POINT{30, 30}, POINT{59, 59}, POINT{5, 40}}) {
        const RGBTRIPLE t = Pixel24(white.get(), p.x, p.y);
        EXPECT_EQ(t.rgbtRed, 255) << p.x << "," << p.y;
        EXPECT_EQ(t.rgbtBlue, 255);
    }

    // Radius 0 has no kernel: the bitmap stays.
    auto edge = Filled(pf24bit, 30, 30, clBlack);
    edge->GetCanvas()->GetBrush()->SetColor(clWhite);
    edge->GetCanvas()->FillRect(TRect(0, 0, 15, 30));
    BlurBitmap(edge.get(), 0);
    EXPECT_EQ(Pixel24(edge.get(), 14, 5).rgbtRed, 255);
    EXPECT_EQ(Pixel24(edge.get(), 15, 5).rgbtRed, 0);
    // A real radius softens the edge.
    BlurBitmap(edge.get(), 3);
    EXPECT_GT(Pixel24(edge.get(), 15, 5).rgbtRed, 0);
    EXPECT_LT(Pixel24(edge.get(), 14, 5).rgbtRed, 255);
}

TEST(AlphaMask, RoundRectMaskIsARingOrAFill)
{
    TOwned<TBitmap> ring(New<TBitmap>());
    CreateRoundRectMask(ring.get(), 40, 30, 0, 5, 4);
    EXPECT_EQ(ring->GetPixelFormat(), pf24bit);
    EXPECT_EQ(Pixel24(ring.get(), 20, 4).rgbtRed, 255) << "on the outline";
    EXPECT_EQ(Pixel24(ring.get(), 20, 15).rgbtRed, 0) << "inside";
    EXPECT_EQ(Pixel24(ring.get(), 0, 0).rgbtRed, 0) << "outside";
    TOwned<TBitmap> fill(New<TBitmap>());
    CreateRoundRectMask(fill.get(), 40, 30, 0, 5, 0);
    EXPECT_EQ(Pixel24(fill.get(), 20, 15).rgbtRed, 255);
}

TEST(Overlays, ArrowWindowsTakeTheirShape)
{
    TShownGrid<> g(3, 3);
    struct Case {
        TArrowDirection dir;
        POINT inside, outside;
    };
    const Case cases[] = {
        {arrUp, {5, 2}, {0, 0}},
        {arrDown, {5, 2}, {0, 0}},
        {arrLeft, {2, 5}, {7, 1}},
        {arrRight, {6, 5}, {1, 1}},
    };
    for (const Case& c : cases) {
        TArrowWindow* arrow = New<TArrowWindow>(g.grid);
        arrow->Init(g.grid, c.dir);
        arrow->SetBounds(0, 0, 11, 11);
        HWND h = arrow->GetHandle();
        const DWORD style = static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
        EXPECT_EQ(style & ~static_cast<DWORD>(WS_VISIBLE | WS_CLIPSIBLINGS), static_cast<DWORD>(WS_POPUP))
            << "a bare popup";
        TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(GetWindowRgn(h, region.Get()), ERROR) << c.dir;
        EXPECT_TRUE(PtInRegion(region.Get(), c.inside.x, c.inside.y)) << c.dir;
        EXPECT_FALSE(PtInRegion(region.Get(), c.outside.x, c.outside.y)) << c.dir;
        EXPECT_EQ(arrow->GetColor(), TColor(0x00FF00));
        arrow->Free();
    }
}


namespace {

// What a control paints of its client area, read at chosen pixels.
class TClientPicture {
public:
    explicit TClientPicture(TWinControl* control) : bitmap_(New<TBitmap>())
    {
        bitmap_->SetPixelFormat(pf32bit);
        bitmap_->SetSize(control->GetClientWidth(), control->GetClientHeight());
        control->PaintTo(bitmap_->GetCanvas()->GetHandle(), 0, 0);
    }
    COLORREF Pixel(int x, int y) const
    {
        const DWORD p = static_cast<const DWORD*>(bitmap_->GetScanLine(y))[x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(COLORREF Wanted) const
    {
        int n = 0;
        for (int y = 0; y < bitmap_->GetHeight(); ++y)
            for (int x = 0; x < bitmap_->GetWidth(); ++x)
                n += Pixel(x, y) == Wanted;
        return n;
    }
    int Dark() const
    {
        int n = 0;
        for (int y = 0; y < bitmap_->GetHeight(); ++y)
            for (int x = 0; x < bitmap_->GetWidth(); ++x) {
                const COLORREF p = Pixel(x, y);
                n += GetRValue(p) + GetGValue(p) + GetBValue(p) < 200;
            }
        return n;
    }

private:
    TOwned<TBitmap> bitmap_;
};

} // namespace

TEST(Overlays, TheConstructorMakesTheOverlaysAtRunTimeOnly)
{
    TShownGrid<> g(5, 5);
    const TArrowDirection directions[] = {arrUp, arrDown, arrLeft, arrRight};
    for (TArrowDirection dir : directions) {
        TArrowWindow* arrow = g->GetArrowWindow(dir);
        ASSERT_NE(arrow, nullptr) << dir;
        EXPECT_EQ(arrow->GetDir(), dir);
        EXPECT_FALSE(arrow->GetVisible());
        EXPECT_EQ(arrow->GetParent(), g.grid);
    }
    g->SetArrowColor(0x0000FF);
    EXPECT_EQ(g->GetArrowWindow(arrRight)->GetColor(), TColor(0x0000FF));
    EXPECT_EQ(g->GetArrowColor(), TColor(0x0000FF));
    THeaderDragButton* button = g->GetMoveButton();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->GetGrid(), g.grid);
    EXPECT_FALSE(button->GetEnabled());
    EXPECT_FALSE(button->GetVisible());
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(button->GetHandle(), GWL_STYLE)) & (WS_POPUP | WS_BORDER),
              static_cast<DWORD>(WS_POPUP | WS_BORDER));
    EXPECT_NE(g->GetFocusWindow(), nullptr);

    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetDesigning(true);
    TAdvStringGrid* designed = New<TAdvStringGrid>(form.get());
    EXPECT_EQ(designed->GetArrowWindow(arrUp), nullptr);
    EXPECT_EQ(designed->GetMoveButton(), nullptr);
    EXPECT_EQ(designed->GetFocusWindow(), nullptr);
}

TEST(Overlays, DISABLED_HeaderDragButtonDrawsItsCaptionPlainOrMarkedUp)
{
    TShownGrid<> g(5, 5);
    THeaderDragButton* button = g->GetMoveButton();
    button->SetBounds(0, 0, 120, 24);
    // The hidden popup gets its window when a header drag first shows it;
    // painting it to a bitmap needs that window now.
    button->HandleNeeded();
    auto inkOf = [&](const String& caption) {
        button->SetCaption(caption);
        return TClientPicture(button).Dark();
    };
    const int plain = inkOf(L"Wide header");
    const int bold = inkOf(L"<b>Wide</b> header");
    EXPECT_GT(plain, 0);
    EXPECT_GT(bold, plain) << "the tag pair makes its word bold";
    EXPECT_EQ(inkOf(L"<b>Wide</b> header"), bold);
}

TEST(Overlays, SizingLinesDrawnTwiceLeaveThePixels)
{
    TShownGrid<> g(4, 4);
    TOwned<TBitmap> dib(New<TBitmap>());
    dib->SetPixelFormat(pf32bit);
    dib->SetSize(g->GetWidth(), g->GetHeight());
    dib->GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(RGB(40, 90, 160)));
    dib->GetCanvas()->FillRect(TRect(0, 0, dib->GetWidth(), dib->GetHeight()));
    auto* canvas = dynamic_cast<TControlCanvas*>(g->GetCanvas());
    ASSERT_NE(canvas, nullptr);
    auto pixel = [&](int x, int y) { return Pixel32(dib.get(), x, y) & 0xFFFFFF; };
    const DWORD plain = pixel(50, 40);
    auto draw = [&](auto how) { canvas->PaintOn(dib->GetCanvas()->GetHandle(), how); };

    draw([&] { g->DrawColSizingLine(50); });
    int changed = 0;
    for (int y = 30; y < 50; ++y)
        changed += pixel(50, y) != plain;
    EXPECT_GT(changed, 0) << "a dotted line shows";
    EXPECT_EQ(pixel(51, 40), plain);
    draw([&] { g->DrawColSizingLine(50); });
    for (int y = 0; y < dib->GetHeight(); ++y)
        ASSERT_EQ(pixel(50, y), plain) << y;

    draw([&] { g->DrawRowSizingLine(40); });
    changed = 0;
    for (int x = 100; x < 140; ++x)
        changed += pixel(x, 40) != plain;
    EXPECT_GT(changed, 0);
    draw([&] { g->DrawRowSizingLine(40); });
    for (int x = 0; x < dib->GetWidth(); ++x)
        ASSERT_EQ(pixel(x, 40), plain) << x;
}

TEST(Overlays, BorderFrameByLookStyleAndFlatness)
{
    const TColor border = 0x3050F0;
    struct Case {
        const char* name;
        TGridLook look;
        bool single, flat, fitCells, comCtl6;
        COLORREF outer, inner;  // at (0, y) and (1, y); 0xFFFFFFFF: untouched
    };
    constexpr COLORREF none = 0xFFFFFFFF;
    const COLORREF parent = ColorToRGB(clBtnFace);
    const COLORREF frame = ColorToRGB(border);
    const Case cases[] = {
        {"fitting cells: parent colour outside, border inside", glVista, true, false, true, false, parent, frame},
        {"comctl32 6 draws the outline", glVista, true, false, false, true, frame, none},
        {"older comctl32 draws nothing", glVista, true, false, false, false, none, none},
        {"standard look has no frame", glStandard, true, false, true, true, none, none},
        {"soft look has one", glSoft, true, false, true, true, parent, frame},
        {"no border style", glVista, false, false, true, true, none, none},
        {"flat grid", glVista, true, true, true, true, none, none},
        {"flat custom grid still has one", glCustom, true, true, true, true, parent, frame},
    };
    TShownGrid<> g(4, 4);
    for (const Case& c : cases) {
        PlatformProbe().ComCtlMajor = c.comCtl6 ? 6 : 5;
        g->SetLook(c.look);
        g->SetBorderColor(border);
        g->SetBorderStyle(c.single ? bsSingle : bsNone);
        g->SetFlat(c.flat);
        g->SetFitCellsInGrid(c.fitCells);
        TOwned<TBitmap> dib(New<TBitmap>());
        dib->SetPixelFormat(pf32bit);
        dib->SetSize(g->GetWidth(), g->GetHeight());
        dib->GetCanvas()->GetBrush()->SetColor(clWhite);
        dib->GetCanvas()->FillRect(TRect(0, 0, dib->GetWidth(), dib->GetHeight()));
        g->DrawBorderFrame(dib->GetCanvas()->GetHandle());
        const int y = g->GetHeight() / 2;
        auto at = [&](int x) {
            const DWORD p = Pixel32(dib.get(), x, y);
            return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        };
        EXPECT_EQ(at(0), c.outer == none ? RGB(255, 255, 255) : c.outer) << c.name;
        EXPECT_EQ(at(1), c.inner == none ? RGB(255, 255, 255) : c.inner) << c.name;
        EXPECT_EQ(at(g->GetWidth() / 2), RGB(255, 255, 255)) << c.name;
    }
    ResetPlatformProbe();
}

TEST(Overlays, GradientOutsideTheCells)
{
    TShownGrid<> g(3, 3);
    TBackGround* back = g->GetBackGround();
    back->SetDisplay(bdGradientVert);
    back->SetColor(static_cast<TColor>(RGB(255, 0, 0)));
    back->SetColorTo(static_cast<TColor>(RGB(0, 0, 255)));
    const COLORREF window = ColorToRGB(g->GetColor());
    {
        const TClientPicture p(g.grid);
        const COLORREF top = p.Pixel(500, 2);
        const COLORREF bottom = p.Pixel(500, g->GetClientHeight() - 3);
        EXPECT_GT(GetRValue(top), 240) << "starts red at the top";
        EXPECT_GT(GetBValue(bottom), 200) << "ends towards blue";
        EXPECT_GT(GetRValue(p.Pixel(20, 200)) + GetBValue(p.Pixel(20, 200)), 200) << "below the last row too";
        EXPECT_NE(p.Pixel(20, 10), p.Pixel(500, 10)) << "the cells keep their own colours";
    }
    back->SetColorTo(clNone);
    g->Invalidate();
    EXPECT_EQ(TClientPicture(g.grid).Pixel(500, 100), window) << "no second colour, no gradient";

    back->SetColorTo(static_cast<TColor>(RGB(0, 0, 255)));
    TShownGrid<> full(40, 100);
    full->GetBackGround()->Assign(back);
    const TClientPicture p(full.grid);
    EXPECT_EQ(p.Count(RGB(255, 0, 0)), 0) << "cells fill the area: nothing outside them";
}

TEST(Overlays, DesignBoxWhileDesigning)
{
    TShownGrid<> g(3, 3);
    const COLORREF info = ColorToRGB(clInfoBk);
    EXPECT_EQ(TClientPicture(g.grid).Pixel(g->GetClientWidth() - 60, g->GetClientHeight() - 3),
              ColorToRGB(g->GetColor()))
        << "no box at run time";
    g->SetDesigning(true);
    g->Invalidate();
    const int w = g->GetClientWidth();
    const int bottom = g->GetClientHeight();
    EXPECT_EQ(TClientPicture(g.grid).Pixel(w - 60, bottom - 3), info);

    // The items by their lines: from the box's top, h + 2 apart.
    TCanvas* canvas = g->GetCanvas();
    canvas->GetFont()->SetName(L"Tahoma");
    canvas->GetFont()->SetSize(8);
    const int h = canvas->TextHeight(L"gh");
    const int top = bottom - (4 * h + 18);
    EXPECT_EQ(g->DesignHelperHitTest(w - 5, top + 4), 4);
    EXPECT_EQ(g->DesignHelperHitTest(w - 140, top + (h + 2) + 3), 1);
    EXPECT_EQ(g->DesignHelperHitTest(w - 140, top + 2 * (h + 2) + 3), 2);
    EXPECT_EQ(g->DesignHelperHitTest(w - 140, top + 3 * (h + 2) + 3), 3);
    EXPECT_EQ(g->DesignHelperHitTest(w - 200, top + 3 * (h + 2) + 3), -1) << "left of the box";
    EXPECT_EQ(g->DesignHelperHitTest(w - 5, top + 3 * (h + 2) + 3), -1) << "right of the caption";

    const bool editing = g->GetOptions().Contains(goEditing);
    g->DesignHelperClick(w - 140, top + (h + 2) + 3);
    EXPECT_NE(g->GetOptions().Contains(goEditing), editing);
    g->DesignHelperClick(w - 5, top + 4);
    EXPECT_FALSE(g->GetShowDesignHelper());
    EXPECT_EQ(TClientPicture(g.grid).Pixel(w - 60, bottom - 3), ColorToRGB(g->GetColor())) << "closed";
    g->SetDesigning(false);
}
