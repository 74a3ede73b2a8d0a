// Skin text and effects: text limits and cutting, section colours with
// contours, glow masks (redrawn when the text changes), blur, frames and
// the button layout table.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "sSkinText.h"

namespace {

Cardinal Rgb(TBitmap* bmp, int x, int y) { return GetBitmap32Pixel(bmp, x, y) & 0xFFFFFF; }

TOwned<TBitmap> TextBitmap(int w, int h)
{
    TOwned<TBitmap> bmp = Bitmap32(w, h, 0);
    bmp->GetCanvas()->GetFont()->SetName(L"Tahoma");
    bmp->GetCanvas()->GetFont()->SetHeight(-24);
    bmp->GetCanvas()->GetFont()->SetStyle(TFontStyles{fsBold});
    return bmp;
}

TEST(SkinText, DrawTextWideDrawsAtMost5460Characters)
{
    TOwned<TBitmap> bmp = TextBitmap(10, 10);
    bmp->GetCanvas()->GetFont()->SetHeight(-2);
    HDC dc = bmp->GetCanvas()->GetHandle();
    // One line per character: the measured height counts the characters drawn.
    const String text(6000, L'\n');
    TRect r(0, 0, 10, 0), limit(0, 0, 10, 0), all(0, 0, 10, 0);
    DrawTextWide(dc, text, r, DT_CALCRECT | DT_NOPREFIX);
    DrawTextW(dc, text.c_str(), 5460, &limit, DT_CALCRECT | DT_NOPREFIX);
    DrawTextW(dc, text.c_str(), 6000, &all, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(r.bottom, limit.bottom);
    EXPECT_LT(r.bottom, all.bottom);
}

TEST(SkinText, CutTextToWidth)
{
    TOwned<TBitmap> bmp = TextBitmap(10, 10);
    TCanvas* c = bmp->GetCanvas();
    String result = L"unchanged";
    CutTextToWidth(c, L"Inventory", 0, result);
    EXPECT_EQ(result, L"");
    CutTextToWidth(c, L"Inventory", c->TextWidth(L"...") - 1, result);
    EXPECT_EQ(result, L"");
    CutTextToWidth(c, L"Inventory", c->TextWidth(L"Inventory"), result);
    EXPECT_EQ(result, L"Inventory");
    const int width = c->TextWidth(L"Inve...");
    CutTextToWidth(c, L"Inventory", width, result);
    EXPECT_EQ(result, L"Inve...");
}

TEST(SkinText, FontHeightsAndMeasures)
{
    TOwned<TFont> font(New<TFont>());
    font->SetName(L"Tahoma");
    font->SetHeight(-20);
    HFONT h = font->GetHandle();
    TEXTMETRICW tm;
    {
        TWindowDC screen(nullptr);
        const TSelectObject select(screen.Get(), h);
        GetTextMetricsW(screen.Get(), &tm);
    }
    EXPECT_EQ(GetFontTextHeight(h, false), tm.tmHeight + 6);
    EXPECT_EQ(GetFontTextHeight(h, true), tm.tmHeight - tm.tmInternalLeading - tm.tmExternalLeading);
    TSize one, two;
    MeasureText(h, L"Tavelin", 0, one, 0, false);
    EXPECT_GT(one.cx, 0);
    MeasureText(h, L"Tavelin Tavelin", DT_WORDBREAK, two, one.cx + 2, true);
    EXPECT_EQ(two.cy, 2 * tm.tmHeight);
}

struct SectionSkin {
    TOwned<TsSkinManager> manager{New<TsSkinManager>(nullptr)};
    SectionSkin()
    {
        TsGeneralData data;
        data.Props[0].Color = 0x00FF00;
        data.Props[0].FontColor.Color = 0x0000FF;   // red text
        data.Props[0].FontColor.Left = 0xFF0000;    // blue contour on the left
        manager->gd.push_back(data);
    }
};

TEST(SkinText, SectionTextDrawsContoursFirst)
{
    SectionSkin skin;
    TOwned<TBitmap> bmp = TextBitmap(60, 40);
    DoWriteSectionText(bmp->GetCanvas(), L"I", true, skin.manager.get(), 0, 0, DT_SINGLELINE, TRect(10, 5, 60, 40));
    // The leftmost painted pixel of each row is the contour, the text lies right of it.
    int contourRows = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            if (Rgb(bmp.get(), x, y) != 0) {
                // Text edges are smoothed: compare the channels.
                const Cardinal contour = Rgb(bmp.get(), x, y), text = Rgb(bmp.get(), x + 1, y);
                EXPECT_GT(contour & 0xFF, contour >> 16) << x << "," << y;   // blue, pixel order
                EXPECT_GT(text >> 16, text & 0xFF) << x << "," << y;         // then red
                ++contourRows;
                break;
            }
    EXPECT_GT(contourRows, 10);

    DoWriteSectionText(bmp->GetCanvas(), L"I", false, skin.manager.get(), 0, 0, DT_SINGLELINE, TRect(10, 5, 60, 40));
    EXPECT_EQ(bmp->GetCanvas()->GetFont()->GetColor(), TColor(MixColors(0x0000FF, 0x00FF00, DisabledBlend) & 0xFFFFFF));
}

TEST(SkinText, GlowIsRedrawnWhenTheTextChangesAtEqualSize)
{
    auto glow = [](const String& text, TBitmap*& mask) {
        TOwned<TBitmap> bmp = TextBitmap(80, 50);
        DrawTextGlow(bmp.get(), text, TRect(15, 10, 65, 40), mask, 0x00FF00, 3, 15, DT_SINGLELINE);
        return bmp;
    };
    auto same = [](TBitmap* a, TBitmap* b) {
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 80; ++x)
                if (GetBitmap32Pixel(a, x, y) != GetBitmap32Pixel(b, x, y))
                    return false;
        return true;
    };
    TBitmap* reused = nullptr;
    TOwned<TBitmap> first = glow(L"ll", reused);
    TOwned<TBitmap> changed = glow(L"WW", reused);
    TOwned<TGlowMask> keep(dynamic_cast<TGlowMask*>(reused));
    ASSERT_TRUE(keep);
    TBitmap* fresh = nullptr;
    TOwned<TBitmap> expected = glow(L"WW", fresh);
    TOwned<TBitmap> freshOwner(fresh);
    EXPECT_TRUE(same(changed.get(), expected.get()));
    EXPECT_FALSE(same(changed.get(), first.get()));

    // The glow is green, lies around the text and fades with distance.
    const Cardinal inside = GetBitmap32Pixel(expected.get(), 20, 25);
    EXPECT_GT(inside >> 24, 0u);
    EXPECT_EQ(inside & 0xFF00FF, 0u);
    EXPECT_EQ(GetBitmap32Pixel(expected.get(), 2, 2), 0u);
    EXPECT_EQ(GetBitmap32Pixel(expected.get(), 79, 49), 0u);
}

TEST(SkinText, BlurMask8)
{
    TOwned<TBitmap> mask(New<TBitmap>());
    mask->SetPixelFormat(pf8bit);
    mask->SetSize(9, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            static_cast<Byte*>(mask->GetScanLine(y))[x] = x == 4 && y == 4 ? 0 : 255;
    auto at = [&](int x, int y) { return static_cast<Byte*>(mask->GetScanLine(y))[x]; };
    BlurMask8(mask.get(), 0);
    EXPECT_EQ(at(4, 4), 0);
    EXPECT_EQ(at(5, 4), 255);
    // Radius 2: a 3 x 3 box.
    BlurMask8(mask.get(), 2);
    EXPECT_EQ(at(4, 4), 227);   // 255 - 255 / 9
    EXPECT_EQ(at(5, 5), 227);
    EXPECT_EQ(at(6, 4), 255);
}

TEST(SkinText, BevelAndDottedFrames)
{
    TOwned<TBitmap> bmp = Bitmap32(12, 12, 0);
    HDC dc = bmp->GetCanvas()->GetHandle();
    TRect r(1, 1, 11, 11);
    int count = 0;
    PaintBevelFrame(dc, r, clWhite, 0x0000FF, count);
    EXPECT_EQ(r, TRect(1, 1, 11, 11));
    EXPECT_EQ(Rgb(bmp.get(), 1, 1), 0u);

    count = 2;
    PaintBevelFrame(dc, r, clWhite, 0x0000FF, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(r, TRect(3, 3, 9, 9));
    EXPECT_EQ(Rgb(bmp.get(), 1, 5), 0xFFFFFFu);   // light left edge
    EXPECT_EQ(Rgb(bmp.get(), 5, 2), 0xFFFFFFu);   // second light ring
    EXPECT_EQ(Rgb(bmp.get(), 10, 5), 0xFF0000u);  // dark right edge (red)
    EXPECT_EQ(Rgb(bmp.get(), 5, 9), 0xFF0000u);   // second dark ring
    EXPECT_EQ(Rgb(bmp.get(), 5, 5), 0u);

    TOwned<TBitmap> dots = Bitmap32(14, 14, 0);
    DrawDottedFrame(dots->GetCanvas(), TRect(0, 0, 10, 10), clNone, 0x00FFFF);
    for (int x = 1; x <= 10; ++x) {
        EXPECT_EQ(Rgb(dots.get(), x, 0), x % 2 == 0 ? 0xFFFF00u : 0u) << x;
        EXPECT_EQ(Rgb(dots.get(), x, 9), x % 2 == 0 ? 0xFFFF00u : 0u) << x;
    }
}

TEST(SkinText, SoftRoundRectMixesTheColourByPercent)
{
    TOwned<TBitmap> bmp = Bitmap32(20, 20, 0xFF000000);
    PaintSoftRoundRect(bmp.get(), TRect(0, 0, 20, 20), 0, 0x0000FF, 3, 4);
    EXPECT_TRUE(PixelNear(Rgb(bmp.get(), 10, 10), 0xFF0000, 1));
    TOwned<TBitmap> half = Bitmap32(20, 20, 0xFF000000);
    PaintSoftRoundRect(half.get(), TRect(0, 0, 20, 20), 50, 0x0000FF, 3, 4);
    EXPECT_TRUE(PixelNear(Rgb(half.get(), 10, 10), 0x800000, 2));
}

TEST(SkinText, ButtonLayouts)
{
    const struct Case {
        const char* Name;
        TRect Client;
        TPoint Glyph, Text;
        int Layout, HAlign, Margin, Spacing, BiDi, VAlign;
        TPoint GlyphPos;
        TRect TextRect;
    } cases[] = {
        {"centred with spacing", {0, 0, 100, 30}, {16, 16}, {40, 12}, blGlyphLeft, 2, -1, 4, 0, 2, {20, 7}, {40, 9, 80, 21}},
        {"free space in three", {0, 0, 100, 30}, {16, 16}, {40, 12}, blGlyphLeft, 0, -1, -1, 0, 2, {14, 7}, {44, 9, 86, 21}},
        {"glyph right, right aligned", {0, 0, 100, 30}, {16, 16}, {40, 12}, blGlyphRight, 1, 5, 3, 0, 2, {79, 7}, {0, 9, 76, 21}},
        {"right to left swaps the sides", {0, 0, 100, 30}, {16, 16}, {40, 12}, blGlyphLeft, 0, 5, 3, DT_RIGHT, 2, {48, 7}, {5, 9, 45, 21}},
        {"glyph on top, moved client", {10, 20, 110, 80}, {16, 16}, {40, 12}, blGlyphTop, 2, 0, 2, 0, 2, {52, 35}, {40, 53, 80, 65}},
        {"glyph below, top aligned", {0, 0, 100, 60}, {16, 16}, {40, 12}, blGlyphBottom, 2, 0, 2, 0, 0, {42, 14}, {30, 0, 70, 12}},
        {"glyph left, bottom aligned", {0, 0, 100, 30}, {16, 16}, {40, 12}, blGlyphLeft, 0, 4, 2, 0, 1, {4, 10}, {22, 14, 96, 26}},
        {"no text: no spacing", {0, 0, 100, 30}, {16, 16}, {0, 0}, blGlyphLeft, 2, -1, 5, 0, 2, {42, 7}, {58, 15, 58, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPoint glyph;
        TRect text;
        CalcButtonLayout(c.Client, c.Glyph, c.Text, c.Layout, c.HAlign, c.Margin, c.Spacing, glyph, text, c.BiDi,
                         c.VAlign);
        EXPECT_EQ(glyph, c.GlyphPos) << glyph.x << "," << glyph.y;
        EXPECT_EQ(text, c.TextRect) << text.left << "," << text.top << "," << text.right << "," << text.bottom;
    }
}

} // namespace
