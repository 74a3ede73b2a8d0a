// The overlay windows and masks: arrow regions, the layered focus frame
// round a cell, the alpha mask that refuses bad inputs, the blur, and the
// XOR sizing lines that a second drawing takes away.
#include "DataGridSupport.h"
#include "AdvGridOverlays.h"
#include "GdiHandles.h"
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

