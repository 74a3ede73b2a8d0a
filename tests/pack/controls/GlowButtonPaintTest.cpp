// What a glow button paints, read at pixels of a DIB: the halves and their
// gradients per state, the fade tick by tick, borders of every position,
// the focus frame, the drop-down arrow and split part, glyph placement,
// two-line captions in both text paths and the automatic size.
#include "AdvGlowButton.h"
#include "PackControlsTestSupport.h"
#include "PlatformProbe.h"
#include "ToolBarMessages.h"

using namespace pack_test;
using namespace AdvGlowButton;

namespace {

// A 169 x 40 button (the window's "Start inventory") on a shown form whose
// fade timer never fires by itself: the tests tick it.
class GlowPaint : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        interval_ = GetGlowFadeInterval();
        SetGlowFadeInterval(1000000);
        form->SetColor(clAqua);
        button = New<TAdvGlowButton>(form);
        button->SetBounds(10, 10, 169, 40);
        button->SetParent(form);
        ShowForm();
    }
    void TearDown() override
    {
        SetGlowFadeInterval(interval_);
        ResetPlatformProbe();
        FormTest::TearDown();
    }
    const TGlowButtonAppearance& Look() const { return *button->GetAppearance(); }
    void Hover()
    {
        button->Perform(CM_MOUSEENTER, 0, 0);
        while (button->GetFading())
            button->FadeTick();
    }
    TAdvGlowButton* button = nullptr;

private:
    int interval_ = 0;
};

TEST_F(GlowPaint, FreshButtonShowsItsNormalHalvesAndRoundedBorder)
{
    TSnapshot face(button);
    EXPECT_EQ(face.Pixel(20, 3), clWhite) << "upper half white";
    EXPECT_EQ(face.Pixel(20, 19), clWhite) << "the overlap, drawn by the upper half";
    // The lower half darkens from white to $C0C0C0 at the bottom.
    for (int y = 21; y < 39; ++y)
        EXPECT_LT(GetRValue(face.Pixel(20, y)), GetRValue(face.Pixel(20, y - 1))) << y;
    EXPECT_EQ(face.Pixel(20, 39), 0xC0C0C0);
    EXPECT_EQ(face.Pixel(84, 0), 0xC0C0C0) << "border";
    EXPECT_EQ(face.Pixel(84, 39), 0xC0C0C0);
    EXPECT_EQ(face.Pixel(0, 20), 0xC0C0C0);
    EXPECT_EQ(face.Pixel(168, 20), 0xC0C0C0);
    for (POINT corner : {POINT{0, 0}, POINT{168, 0}, POINT{168, 39}, POINT{0, 39}})
        EXPECT_EQ(face.Pixel(corner.x, corner.y), clAqua) << "the parent shows at " << corner.x << "," << corner.y;
    EXPECT_EQ(face.Pixel(1, 0), clWhite) << "a 3-pixel radius: the border bends inside the corner";
    EXPECT_EQ(face.Pixel(0, 1), clWhite);

    button->SetRounded(false);
    TSnapshot square(button);
    EXPECT_EQ(square.Pixel(0, 0), 0xC0C0C0);
}

TEST_F(GlowPaint, HotSetAfterItsFade)
{
    Hover();
    TSnapshot face(button);
    // Outside the radial ellipses the halves show their solid colours.
    for (POINT p : {POINT{2, 10}, POINT{166, 10}, POINT{2, 17}})
        EXPECT_EQ(face.Pixel(p.x, p.y), Look().GetColorHot()) << "upper corner " << p.x << "," << p.y;
    for (POINT p : {POINT{2, 21}, POINT{166, 37}, POINT{2, 37}})
        EXPECT_EQ(face.Pixel(p.x, p.y), Look().GetColorMirrorHot()) << "lower corner " << p.x << "," << p.y;
    EXPECT_EQ(face.Pixel(84, 0), 0xFF0000) << "hot border";
    // The top middle glows towards ColorHotTo.
    const TColor glow = face.Pixel(84, 2);
    const TColor hotTo = Look().GetColorHotTo();
    EXPECT_LE(std::abs(GetRValue(glow) - GetRValue(hotTo)), 12);
    EXPECT_LE(std::abs(GetGValue(glow) - GetGValue(hotTo)), 12);
}

TEST_F(GlowPaint, HoverAndReleaseFadeTickByTick)
{
    // The pointer stays on the button: the release fades the press out.
    const POINT centre = button->ClientToScreen(POINT{80, 20});
    SetCursorPos(centre.x, centre.y);
    button->Perform(CM_MOUSEENTER, 0, 0);
    ASSERT_TRUE(button->GetFading());
    for (int tick = 1; tick <= 5; ++tick) {
        ValidateRect(button->Handle(), nullptr);
        button->FadeTick();
        EXPECT_EQ(button->GetStepHover(), 20 * tick);
        EXPECT_TRUE(GetUpdateRect(button->Handle(), nullptr, FALSE)) << "tick " << tick << " repaints";
        TSnapshot face(button);
        EXPECT_EQ(face.Pixel(2, 10), BlendColor(Look().GetColorHot(), Look().GetColor(), 20 * tick)) << tick;
        EXPECT_EQ(face.Pixel(2, 37), BlendColor(Look().GetColorMirrorHot(), Look().GetColorMirror(), 20 * tick))
            << tick;
    }
    ValidateRect(button->Handle(), nullptr);
    button->FadeTick();
    EXPECT_FALSE(button->GetFading()) << "the sixth tick ends the hover fade";
    EXPECT_FALSE(GetUpdateRect(button->Handle(), nullptr, FALSE)) << "without repainting";
    EXPECT_EQ(button->GetGlowState(), gsNone);

    SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    while (button->GetFading())
        button->FadeTick();
    SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(button->GetStepPush(), 100);
    for (int tick = 1; tick <= 10; ++tick)
        button->FadeTick();
    EXPECT_EQ(button->GetStepPush(), 0);
    EXPECT_TRUE(button->GetFading()) << "the release reaches 0 after 10 ticks";
    button->FadeTick();
    EXPECT_EQ(button->GetStepPush(), 0);
    // The press fade ends on the 11th; the button then leaves its hot state
    // and fades that out.
    EXPECT_EQ(button->GetGlowState(), gsHover);
    EXPECT_EQ(button->GetStepHover(), 100);
}

TEST_F(GlowPaint, EachStatePaintsItsSet)
{
    SetGlowFadeInterval(0);
    button->SetCaption(L"Cancel");
    button->GetFont()->SetColor(clNavy);
    struct Case {
        const char* name;
        std::function<void()> enter;
        TColor upper, lower, border, text;
    } cases[] = {
        {"pressed", [&] { SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20)); },
         Look().GetColorDown(), Look().GetColorMirrorDown(), Look().GetBorderColorDown(), Look().GetTextColorDown()},
        {"checked",
         [&] {
             button->SetStyle(bsCheck);
             button->SetDown(true);
         },
         Look().GetColorChecked(), clNone, Look().GetBorderColorChecked(), Look().GetTextColorChecked()},
        {"disabled", [&] { button->SetEnabled(false); }, Look().GetColorDisabled(), Look().GetColorMirrorDisabled(),
         Look().GetBorderColorDisabled(), 0x808080},
        // The normal lower half is a gradient; a disabled caption is grey either way.
        {"disabled without ShowDisabled",
         [&] {
             button->SetShowDisabled(false);
             button->SetEnabled(false);
         },
         Look().GetColor(), clNone, Look().GetBorderColor(), 0x808080},
    };
    for (const Case& c : cases) {
        c.enter();
        TSnapshot face(button);
        EXPECT_EQ(face.Pixel(2, 10), c.upper) << c.name;
        if (c.lower != clNone)
            EXPECT_EQ(face.Pixel(2, 37), c.lower) << c.name;
        EXPECT_EQ(face.Pixel(84, 0), c.border) << c.name;
        EXPECT_GT(face.Count(c.text, TRect(10, 5, 160, 35)), 10) << c.name << ": caption colour";
        SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
        button->SetDown(false);
        button->SetStyle(bsButton);
        button->SetEnabled(true);
        button->SetShowDisabled(true);
        Pump();
    }
}

TEST_F(GlowPaint, CheckedButtonUnderTheMouseTakesTheCheckedHotBorder)
{
    SetGlowFadeInterval(0);
    button->SetStyle(bsCheck);
    button->SetDown(true);
    button->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(TSnapshot(button).Pixel(84, 0), Look().GetBorderColorChecked()) << "clNone: the checked border";
    button->GetAppearance()->SetBorderColorCheckedHot(clLime);
    button->Invalidate();
    EXPECT_EQ(TSnapshot(button).Pixel(84, 0), clLime);
    SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_NE(TSnapshot(button).Pixel(84, 0), clLime) << "not while the mouse button is held";
}

TEST_F(GlowPaint, FocusFrameAndDots)
{
    button->SetTabStop(true);
    button->SetFocus();
    Pump();
    TSnapshot face(button);
    EXPECT_EQ(face.Pixel(84, 1), Look().GetBorderColorFocused());
    EXPECT_EQ(face.Pixel(1, 20), Look().GetBorderColorFocused());
    int dots = 0, gaps = 0;
    for (int x = 10; x < 150; ++x)
        (face.Pixel(x, 2) == 0x808080 ? dots : gaps) += 1;
    EXPECT_GT(dots, 40) << "a dotted grey line inside the frame";
    EXPECT_GT(gaps, 40);
}

TEST_F(GlowPaint, SegmentBordersByPosition)
{
    const TColor border = Look().GetBorderColor();
    const TColor separator = DarkenColor(border, -5);
    const TColor idle = DarkenColor(clWhite, -10);
    struct Case {
        TButtonPosition position;
        TColor left, right, leftNearEnd;
        bool roundLeft, roundRight;
    } cases[] = {
        {bpLeft, border, separator, border, true, false},
        {bpMiddle, idle, separator, clNone, false, false},
        {bpRight, idle, border, clNone, false, true},
    };
    for (const Case& c : cases) {
        button->SetPosition(c.position);
        TSnapshot face(button);
        EXPECT_EQ(face.Pixel(0, 20), c.left) << c.position;
        EXPECT_EQ(face.Pixel(168, 20), c.right) << c.position;
        EXPECT_EQ(face.Pixel(84, 0), border) << c.position;
        EXPECT_EQ(face.Pixel(84, 39), border) << c.position;
        if (c.leftNearEnd == clNone)
            EXPECT_NE(face.Pixel(0, 1), idle) << c.position << ": the idle edge is 2 pixels shorter";
        EXPECT_EQ(face.Pixel(0, 0) == clAqua, c.roundLeft) << c.position;
        EXPECT_EQ(face.Pixel(168, 0) == clAqua, c.roundRight) << c.position;
    }
    button->SetPosition(bpMiddle);
    SetGlowFadeInterval(0);
    button->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(TSnapshot(button).Pixel(0, 20), DarkenColor(Look().GetBorderColorHot(), -5))
        << "a lit segment's left edge";
}

TEST_F(GlowPaint, DropDownArrowAndSplitParts)
{
    SetGlowFadeInterval(0);
    button->SetDropDownButton(true);
    TSnapshot plain(button);
    // n = 3 rows of 5, 3 and 1 pixels from x = 155 + (14 - 5) / 2, y = (40 - 3) / 2 + 1.
    const int x = 155 + 4, y = 19;
    for (int row = 0; row < 3; ++row)
        for (int i = -1; i <= 5; ++i) {
            const bool inside = i >= row && i < 5 - row;
            EXPECT_EQ(plain.Pixel(x + i, y + row) == clBlack, inside) << "row " << row << " column " << i;
        }
    EXPECT_NE(plain.Pixel(x + 2, y + 3), clBlack);

    // On the button part the arrow part is the darker; on the arrow the button part.
    const TColor hot = Look().GetColorHot();
    SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    button->Perform(CM_MOUSEENTER, 0, 0);
    TSnapshot onButton(button);
    EXPECT_EQ(onButton.Pixel(2, 10), hot);
    EXPECT_EQ(onButton.Pixel(156, 17), DarkenColor(hot, -10));
    EXPECT_EQ(onButton.Pixel(155, 20), Look().GetBorderColorHot()) << "the separator";
    SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(160, 20));
    TSnapshot onArrow(button);
    EXPECT_EQ(onArrow.Pixel(2, 10), DarkenColor(hot, -10));
    EXPECT_EQ(onArrow.Pixel(156, 17), hot);

    button->SetEnabled(false);
    EXPECT_EQ(TSnapshot(button).Pixel(x + 2, y + 1), 0x808080) << "a grey arrow when disabled";
}

// A 120 x 30 button with a 16 x 16 red glyph and the caption "Go".
class GlowGlyph : public GlowPaint {
protected:
    void SetUp() override
    {
        GlowPaint::SetUp();
        images = NewImageList(form, 16, 16, {clRed});
        button->SetBounds(10, 10, 120, 30);
        button->SetCaption(L"Go");
        button->GetFont()->SetColor(clNavy);
        button->SetImages(images);
        button->SetImageIndex(0);
    }
    TRect Glyph()
    {
        TSnapshot face(button);
        return face.Extent(clRed, TRect(0, 0, button->GetWidth(), button->GetHeight()));
    }
    TImageList* images = nullptr;
};

TEST_F(GlowGlyph, EachLayoutPlacesTheGlyph)
{
    struct Case {
        TButtonLayout layout;
        int height;
        POINT at; // -1: only relative to the caption
    } cases[] = {
        // Left-adjusted: the margin, then max(2, x0 - w' div 2) + MarginHorz.
        {blGlyphLeftAdjusted, 30, {3, 7}},
        // Right-adjusted: W - w' - 2 + Spacing.
        {blGlyphRightAdjusted, 30, {120 - 18 - 2 + 2, 7}},
        {blGlyphTopAdjusted, 60, {(120 - 16) / 2, 2}},
        // Bottom-adjusted through GDI: H - h' - 2.
        {blGlyphBottomAdjusted, 60, {(120 - 16) / 2, 60 - 16 - 2}},
        {blGlyphLeft, 30, {-1, 7}},
        {blGlyphRight, 30, {-1, 7}},
        {blGlyphTop, 60, {(120 - 16) / 2, -1}},
        {blGlyphBottom, 60, {(120 - 16) / 2, -1}},
    };
    for (const Case& c : cases) {
        button->SetHeight(c.height);
        button->SetLayout(c.layout);
        const TRect glyph = Glyph();
        EXPECT_EQ(glyph.Width(), 16) << c.layout;
        if (c.at.x >= 0)
            EXPECT_EQ(glyph.left, c.at.x) << c.layout;
        if (c.at.y >= 0)
            EXPECT_EQ(glyph.top, c.at.y) << c.layout;
        const TRect text = TSnapshot(button).Extent(clNavy, TRect(0, 0, 120, c.height));
        ASSERT_FALSE(text.IsEmpty()) << c.layout;
        if (c.layout == blGlyphLeft || c.layout == blGlyphLeftAdjusted)
            EXPECT_LT(glyph.right, text.left) << c.layout;
        if (c.layout == blGlyphRight || c.layout == blGlyphRightAdjusted)
            EXPECT_LT(text.right, glyph.left) << c.layout;
        if (c.layout == blGlyphTop || c.layout == blGlyphTopAdjusted)
            EXPECT_LE(glyph.bottom, text.top) << c.layout;
        if (c.layout == blGlyphBottom || c.layout == blGlyphBottomAdjusted)
            EXPECT_GE(glyph.top, text.bottom) << c.layout;
    }
    // Without a caption the glyph is centred, also on a picture-only 24 x 24 button.
    button->SetBounds(10, 10, 24, 24);
    button->SetCaption(L"");
    EXPECT_EQ(Glyph(), TRect(4, 4, 20, 20));
}

TEST_F(GlowGlyph, NotesForceTheLeftAdjustedLayout)
{
    button->SetLayout(blGlyphRight);
    button->GetNotes()->SetText(L"more");
    EXPECT_EQ(Glyph().left, 3);
}

TEST_F(GlowGlyph, DisabledImageDrawnSaturatedIsGrey)
{
    PlatformProbe().WindowsMajor = 6;
    button->SetEnabled(false);
    TSnapshot face(button);
    EXPECT_EQ(face.Extent(0x4C4C4C, TRect(0, 0, 120, 30)).Width(), 16) << "red, saturated";
    EXPECT_TRUE(Glyph().IsEmpty());
}

TEST_F(GlowGlyph, AutoSizeMeasuresGlyphAndCaption)
{
    // The caption's width in the face the button draws with.
    TOwned<TFont> font(New<TFont>());
    font->Assign(button->GetFont());
    font->SetName(GetDefaultUIFontName());
    TOwned<TBitmap> probe(New<TBitmap>());
    probe->GetCanvas()->GetFont()->Assign(font.get());
    RECT measured{0, 0, 4096, 0};
    DrawTextW(probe->GetCanvas()->GetHandle(), L"Go", -1, &measured, DT_CALCRECT | DT_WORDBREAK);
    const int tw = measured.right;
    ASSERT_GT(tw, 0);
    button->SetAutoSize(true);
    Pump();
    TSnapshot sized(button);
    // 3 x Spacing + (tw + 16 + 2 + 2) + 2 x MarginHorz + 2.
    EXPECT_EQ(button->GetWidth(), 3 * 2 + tw + 18 + 2 + 2 + 2);
    int asked = 0;
    button->OnSetButtonSize = [&](TObject*, int& W, int& H) {
        ++asked;
        W = 90;
        H = 33;
    };
    button->SetCaption(L"Going");
    Pump();
    EXPECT_GE(asked, 1);
    EXPECT_EQ(button->GetWidth(), 90);
    EXPECT_EQ(button->GetHeight(), 33);
}

TEST_F(GlowGlyph, UndecodablePictureIsSkipped)
{
    const char garbage[64] = "\x89PNG not really";
    TOwned<TMemoryStream> bytes(New<TMemoryStream>());
    bytes->Write(garbage, sizeof(garbage));
    bytes->SetPosition(0);
    button->GetPicture()->LoadFromStream(bytes.get());
    button->SetImageIndex(-1);
    TSnapshot face(button);
    EXPECT_FALSE(face.Extent(clNavy, TRect(0, 0, 120, 30)).IsEmpty()) << "the caption still shows";
}

// The caption "Two\nLines" in each text path: two bands of text with no
// empty line between them.
class GlowCaption : public GlowPaint {
protected:
    std::vector<std::pair<int, int>> TextBands()
    {
        TSnapshot face(button);
        // Ink: the caption's navy, also where GDI+ smooths it into the
        // white and grey halves (both have red of $C0 and more).
        auto ink = [&](int y) {
            for (int x = 3; x < face.Width() - 3; ++x)
                if (GetRValue(face.Pixel(x, y)) < 0x90)
                    return true;
            return false;
        };
        std::vector<std::pair<int, int>> bands;
        bool inText = false;
        for (int y = 1; y < face.Height() - 1; ++y) {
            const bool row = ink(y);
            if (row && !inText)
                bands.push_back({y, y});
            if (row)
                bands.back().second = y;
            inText = row;
        }
        return bands;
    }
};

TEST_F(GlowCaption, BackslashNBreaksTheLineInBothTextPaths)
{
    button->SetBounds(10, 10, 169, 60);
    button->GetFont()->SetColor(clNavy);
    button->GetFont()->SetQuality(fqNonAntialiased);
    button->SetCaption(L"Two\\nLines");
    for (int major : {6, 5}) {
        // 6: "Segoe UI", which the screen does not list: GDI. 5: "Tahoma": GDI+.
        PlatformProbe().WindowsMajor = major;
        button->Invalidate();
        const auto bands = TextBands();
        ASSERT_EQ(bands.size(), 2u) << "Windows " << major;
        const int lineHeight = bands[0].second - bands[0].first + 1;
        EXPECT_LT(bands[1].first - bands[0].second, lineHeight) << "no empty line between, Windows " << major;
    }
    // A forced glyph size joins the words with a blank.
    auto* images = NewImageList(form, 16, 16, {clRed});
    button->SetImages(images);
    button->SetImageIndex(0);
    button->SetMaxButtonSizeState(bsLabel);
    button->SetAutoSize(true);
    Pump();
    EXPECT_EQ(TextBands().size(), 1u);
}

} // namespace
