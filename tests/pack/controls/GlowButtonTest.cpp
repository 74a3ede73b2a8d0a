// The glow button: its appearance and defaults, clicks by mouse and
// keyboard, and the face it paints per state.
#include "AdvGlowButton.h"
#include "PackControlsTestSupport.h"

using namespace pack_test;

namespace {

struct TAppearanceColour {
    const char* name;
    TColor (TGlowButtonAppearance::*get)() const;
    void (TGlowButtonAppearance::*set)(TColor);
    TColor expected;
};

// The main window stores the state colours explicitly; they are these.
const TAppearanceColour appearanceColours[] = {
    {"BorderColor", &TGlowButtonAppearance::GetBorderColor, &TGlowButtonAppearance::SetBorderColor, 0xC0C0C0},
    {"BorderColorHot", &TGlowButtonAppearance::GetBorderColorHot, &TGlowButtonAppearance::SetBorderColorHot, 0xFF0000},
    {"BorderColorDown", &TGlowButtonAppearance::GetBorderColorDown, &TGlowButtonAppearance::SetBorderColorDown, 0x800000},
    {"BorderColorChecked", &TGlowButtonAppearance::GetBorderColorChecked, &TGlowButtonAppearance::SetBorderColorChecked, 0xFF0000},
    {"BorderColorDisabled", &TGlowButtonAppearance::GetBorderColorDisabled, &TGlowButtonAppearance::SetBorderColorDisabled, 0x808080},
    {"Color", &TGlowButtonAppearance::GetColor, &TGlowButtonAppearance::SetColor, 0xFFFFFF},
    {"ColorTo", &TGlowButtonAppearance::GetColorTo, &TGlowButtonAppearance::SetColorTo, 0xFFFFFF},
    {"ColorChecked", &TGlowButtonAppearance::GetColorChecked, &TGlowButtonAppearance::SetColorChecked, 16111818},
    {"ColorCheckedTo", &TGlowButtonAppearance::GetColorCheckedTo, &TGlowButtonAppearance::SetColorCheckedTo, 16367008},
    {"ColorDisabled", &TGlowButtonAppearance::GetColorDisabled, &TGlowButtonAppearance::SetColorDisabled, 15921906},
    {"ColorDisabledTo", &TGlowButtonAppearance::GetColorDisabledTo, &TGlowButtonAppearance::SetColorDisabledTo, 15921906},
    {"ColorDown", &TGlowButtonAppearance::GetColorDown, &TGlowButtonAppearance::SetColorDown, 16111818},
    {"ColorDownTo", &TGlowButtonAppearance::GetColorDownTo, &TGlowButtonAppearance::SetColorDownTo, 16367008},
    {"ColorHot", &TGlowButtonAppearance::GetColorHot, &TGlowButtonAppearance::SetColorHot, 16117985},
    {"ColorHotTo", &TGlowButtonAppearance::GetColorHotTo, &TGlowButtonAppearance::SetColorHotTo, 16372402},
    {"ColorMirror", &TGlowButtonAppearance::GetColorMirror, &TGlowButtonAppearance::SetColorMirror, 0xC0C0C0},
    {"ColorMirrorTo", &TGlowButtonAppearance::GetColorMirrorTo, &TGlowButtonAppearance::SetColorMirrorTo, 0xFFFFFF},
    {"ColorMirrorHot", &TGlowButtonAppearance::GetColorMirrorHot, &TGlowButtonAppearance::SetColorMirrorHot, 16107693},
    {"ColorMirrorHotTo", &TGlowButtonAppearance::GetColorMirrorHotTo, &TGlowButtonAppearance::SetColorMirrorHotTo, 16775412},
    {"ColorMirrorDown", &TGlowButtonAppearance::GetColorMirrorDown, &TGlowButtonAppearance::SetColorMirrorDown, 16102556},
    {"ColorMirrorDownTo", &TGlowButtonAppearance::GetColorMirrorDownTo, &TGlowButtonAppearance::SetColorMirrorDownTo, 16768988},
    {"ColorMirrorChecked", &TGlowButtonAppearance::GetColorMirrorChecked, &TGlowButtonAppearance::SetColorMirrorChecked, 16102556},
    {"ColorMirrorCheckedTo", &TGlowButtonAppearance::GetColorMirrorCheckedTo, &TGlowButtonAppearance::SetColorMirrorCheckedTo, 16768988},
    {"ColorMirrorDisabled", &TGlowButtonAppearance::GetColorMirrorDisabled, &TGlowButtonAppearance::SetColorMirrorDisabled, 11974326},
    {"ColorMirrorDisabledTo", &TGlowButtonAppearance::GetColorMirrorDisabledTo, &TGlowButtonAppearance::SetColorMirrorDisabledTo, 15921906},
    {"TextColorChecked", &TGlowButtonAppearance::GetTextColorChecked, &TGlowButtonAppearance::SetTextColorChecked, 0},
    {"TextColorDown", &TGlowButtonAppearance::GetTextColorDown, &TGlowButtonAppearance::SetTextColorDown, 0},
    {"TextColorHot", &TGlowButtonAppearance::GetTextColorHot, &TGlowButtonAppearance::SetTextColorHot, 0},
};

TEST(GlowButtonAppearance, NewAppearanceHoldsTheColoursTheMainWindowStores)
{
    TOwned<TGlowButtonAppearance> appearance(New<TGlowButtonAppearance>());
    for (const auto& c : appearanceColours)
        EXPECT_EQ(((*appearance).*c.get)(), c.expected) << c.name;
    EXPECT_EQ(appearance->GetBorderColorCheckedHot(), clNone);
    EXPECT_EQ(appearance->GetBorderColorFocused(), 0xE4AD89);
    EXPECT_EQ(appearance->TextColor, clNone);
    EXPECT_TRUE(appearance->GetSystemFont());
    EXPECT_FALSE(appearance->TranspHover);
    EXPECT_FALSE(appearance->NoBorderDefault);
    const std::pair<TGDIPGradient (TGlowButtonAppearance::*)() const, TGDIPGradient> gradients[] = {
        {&TGlowButtonAppearance::GetGradient, ggVertical},
        {&TGlowButtonAppearance::GetGradientMirror, ggVertical},
        {&TGlowButtonAppearance::GetGradientHot, ggRadial},
        {&TGlowButtonAppearance::GetGradientMirrorHot, ggRadial},
        {&TGlowButtonAppearance::GetGradientDown, ggRadial},
        {&TGlowButtonAppearance::GetGradientMirrorDown, ggRadial},
        {&TGlowButtonAppearance::GetGradientChecked, ggRadial},
        {&TGlowButtonAppearance::GetGradientMirrorChecked, ggVertical},
        {&TGlowButtonAppearance::GetGradientDisabled, ggRadial},
        {&TGlowButtonAppearance::GetGradientMirrorDisabled, ggRadial},
    };
    for (std::size_t i = 0; i < std::size(gradients); ++i)
        EXPECT_EQ(((*appearance).*gradients[i].first)(), gradients[i].second) << "gradient " << i;
}

TEST(GlowButtonAppearance, SettersNotifyOnlyRealChanges)
{
    TOwned<TGlowButtonAppearance> appearance(New<TGlowButtonAppearance>());
    int changes = 0;
    appearance->OnChange = [&](TObject*) { ++changes; };
    for (const auto& c : appearanceColours) {
        changes = 0;
        ((*appearance).*c.set)(c.expected);
        EXPECT_EQ(changes, 0) << c.name << " unchanged";
        ((*appearance).*c.set)(0x123456);
        EXPECT_EQ(changes, 1) << c.name;
        EXPECT_EQ(((*appearance).*c.get)(), 0x123456) << c.name;
    }
    changes = 0;
    appearance->SetBorderColorCheckedHot(clRed);
    EXPECT_EQ(changes, 0);
}

TEST(GlowButtonAppearance, AssignCopiesAllButTheFocusedBorder)
{
    TOwned<TGlowButtonAppearance> source(New<TGlowButtonAppearance>());
    TOwned<TGlowButtonAppearance> target(New<TGlowButtonAppearance>());
    TColor next = 0x010203;
    for (const auto& c : appearanceColours)
        ((*source).*c.set)(next++);
    source->SetBorderColorCheckedHot(clAqua);
    source->SetBorderColorFocused(clLime);
    source->SetGradientHot(ggDiagonalBackward);
    source->SetSystemFont(false);
    source->TextColor = clMaroon;
    source->TranspHover = true;
    source->NoBorderDefault = true;

    target->Assign(source.get());
    for (const auto& c : appearanceColours)
        EXPECT_EQ(((*target).*c.get)(), ((*source).*c.get)()) << c.name;
    EXPECT_EQ(target->GetBorderColorCheckedHot(), clAqua);
    EXPECT_EQ(target->GetBorderColorFocused(), 0xE4AD89);
    EXPECT_EQ(target->GetGradientHot(), ggDiagonalBackward);
    EXPECT_FALSE(target->GetSystemFont());
    EXPECT_EQ(target->TextColor, clMaroon);
    EXPECT_TRUE(target->TranspHover);
    EXPECT_TRUE(target->NoBorderDefault);

    TOwned<TFont> font(New<TFont>());
    EXPECT_THROW(target->Assign(font.get()), EConvertError);
}

TEST(GlowButton, NewButtonDefaults)
{
    TOwned<TAdvGlowButton> button(New<TAdvGlowButton>(nullptr));
    EXPECT_EQ(button->GetWidth(), 100);
    EXPECT_EQ(button->GetHeight(), 41);
    EXPECT_FALSE(button->GetTabStop());
    EXPECT_TRUE(button->GetDoubleBuffered());
    EXPECT_EQ(button->GetLayout(), AdvGlowButton::blGlyphLeft);
    EXPECT_TRUE(button->GetShowCaption());
    EXPECT_TRUE(button->GetShowDisabled());
    EXPECT_EQ(button->GetSpacing(), 2);
    EXPECT_EQ(button->GetMarginHorz(), 1);
    EXPECT_EQ(button->GetMarginVert(), 1);
    EXPECT_TRUE(button->GetRounded());
    EXPECT_EQ(button->GetBorderStyle(), bsSingle);
    EXPECT_EQ(button->GetFocusType(), ftBorder);
    EXPECT_EQ(button->GetPosition(), bpStandalone);
    EXPECT_EQ(button->GetNotesFont()->GetName(), L"Tahoma");
    EXPECT_EQ(button->GetNotesFont()->GetSize(), 8);
    EXPECT_EQ(button->GetState(), absUp);
    EXPECT_EQ(button->GetVersion(), L"2.4.1.1");
}

// Two buttons on a shown form, counting their clicks.
class GlowButtonInput : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        first = NewButton(L"First", 20);
        second = NewButton(L"Second", 80);
        ShowForm();
    }
    TAdvGlowButton* NewButton(const String& caption, int top)
    {
        auto* b = New<TAdvGlowButton>(form);
        b->SetBounds(20, top, 120, 30);
        b->SetCaption(caption);
        b->SetParent(form);
        b->OnClick = [this, b](TObject* Sender) {
            EXPECT_EQ(Sender, b);
            ++clicks[b];
        };
        return b;
    }
    TAdvGlowButton* first = nullptr;
    TAdvGlowButton* second = nullptr;
    std::map<TAdvGlowButton*, int> clicks;
};

TEST_F(GlowButtonInput, MouseClicksOnlyWhenPressedAndReleasedInsideAnEnabledButton)
{
    struct Case {
        const char* name;
        bool enabled;
        POINT press, release;
        int clicks;
    } cases[] = {
        {"inside", true, {60, 15}, {62, 16}, 1},
        {"released outside", true, {60, 15}, {60, 50}, 0},
        {"released on the right edge", true, {60, 15}, {120, 15}, 0},
        {"disabled", false, {60, 15}, {62, 16}, 0},
    };
    for (const Case& c : cases) {
        clicks.clear();
        first->SetEnabled(c.enabled);
        ClickWithMouse(first, c.press, c.release);
        EXPECT_EQ(clicks[first], c.clicks) << c.name;
        EXPECT_EQ(clicks[second], 0) << c.name;
        EXPECT_EQ(first->GetState(), c.enabled ? absUp : absDisabled) << c.name;
    }
}

TEST_F(GlowButtonInput, SpaceAndEnterClickTheFocusedButtonOnce)
{
    for (WORD key : {VK_SPACE, VK_RETURN}) {
        clicks.clear();
        second->SetFocus();
        Pump();
        ASSERT_EQ(GetFocus(), second->Handle());
        PressKey(key);
        EXPECT_EQ(clicks[second], 1) << "key " << key;
        EXPECT_EQ(clicks[first], 0) << "key " << key;
        EXPECT_EQ(second->GetState(), absUp);
    }
}

TEST_F(GlowButtonInput, ButtonShowsPressedWhileTheKeyIsDown)
{
    first->SetFocus();
    Pump();
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(VK_SPACE, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(first->Handle(), WM_KEYDOWN, VK_SPACE, scan | 1);
    Pump();
    EXPECT_EQ(first->GetState(), absDown);
    EXPECT_EQ(clicks[first], 1);
    PostMessageW(first->Handle(), WM_KEYUP, VK_SPACE, scan | 1 | (1u << 30) | (1u << 31));
    Pump();
    EXPECT_EQ(first->GetState(), absUp);
}

TEST_F(GlowButtonInput, DisabledButtonTakesNoFocusAndNoKeys)
{
    first->SetEnabled(false);
    EXPECT_FALSE(first->CanFocus());
    second->SetFocus();
    Pump();
    PressKey(VK_RETURN);
    EXPECT_EQ(clicks[first], 0);
    EXPECT_EQ(clicks[second], 1);
}

// The face per state: upper half, lower half, border and caption colours.
class GlowButtonFace : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        button = New<TAdvGlowButton>(form);
        button->SetBounds(10, 10, 120, 40);
        button->SetCaption(L"Start inventory");
        button->GetFont()->SetColor(clNavy);
        // Exact text colours, not smoothed edges.
        button->GetFont()->SetQuality(fqNonAntialiased);
        button->SetParent(form);
        ShowForm();
    }
    TAdvGlowButton* button = nullptr;
};

TEST_F(GlowButtonFace, CaptionIsCentredAndHiddenWithoutShowCaption)
{
    TSnapshot shown(button);
    const TRect text = shown.Extent(clNavy, TRect(2, 2, 118, 38));
    ASSERT_FALSE(text.IsEmpty());
    EXPECT_LE(std::abs((text.left - 0) - (120 - text.right)), 2);
    EXPECT_LE(std::abs((text.top - 0) - (40 - text.bottom)), 3);

    button->SetShowCaption(false);
    TSnapshot hidden(button);
    EXPECT_EQ(hidden.Count(clNavy, TRect(0, 0, 120, 40)), 0);
}

TEST_F(GlowButtonFace, FocusedButtonShowsTheFocusedBorder)
{
    TSnapshot before(button);
    EXPECT_NE(before.Pixel(1, 20), button->GetAppearance()->GetBorderColorFocused());
    button->SetTabStop(true);
    button->SetFocus();
    Pump();
    TSnapshot focused(button);
    EXPECT_EQ(focused.Pixel(1, 20), button->GetAppearance()->GetBorderColorFocused());
    EXPECT_EQ(focused.Pixel(60, 1), button->GetAppearance()->GetBorderColorFocused());
}

// A button 120 x 30 with a 16 x 16 red glyph and the caption "Go".
class GlowButtonGlyph : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        images = NewImageList(form, 16, 16, {clRed, clLime, clBlue});
        button = New<TAdvGlowButton>(form);
        button->SetBounds(10, 10, 120, 30);
        button->SetCaption(L"Go");
        button->GetFont()->SetColor(clNavy);
        button->GetFont()->SetQuality(fqNonAntialiased);
        button->SetImages(images);
        button->SetImageIndex(0);
        button->SetParent(form);
        ShowForm();
    }
    TRect Glyph(TColor colour = clRed)
    {
        TSnapshot face(button);
        return face.Extent(colour, TRect(0, 0, button->GetWidth(), button->GetHeight()));
    }
    TRect Text()
    {
        TSnapshot face(button);
        return face.Extent(clNavy, TRect(0, 0, button->GetWidth(), button->GetHeight()));
    }
    TImageList* images = nullptr;
    TAdvGlowButton* button = nullptr;
};

TEST_F(GlowButtonGlyph, LayoutPlacesGlyphAndCaption)
{
    using namespace AdvGlowButton;
    button->SetLayout(blGlyphLeft);
    TRect glyph = Glyph(), text = Text();
    EXPECT_EQ(glyph.Width(), 16);
    EXPECT_EQ(glyph.top, 7) << "centred vertically";
    EXPECT_LT(glyph.right, text.left);
    EXPECT_LE(text.left - glyph.right, 2 + 2) << "Spacing apart";
    EXPECT_LE(std::abs(glyph.left - (120 - text.right)), 3) << "centred as a block";

    button->SetLayout(blGlyphLeftAdjusted);
    glyph = Glyph();
    EXPECT_EQ(glyph.left, 3) << "MarginHorz + Spacing from the left";
    EXPECT_LT(glyph.right, Text().left);

    button->SetLayout(blGlyphRight);
    glyph = Glyph(), text = Text();
    EXPECT_LT(text.right, glyph.left);

    button->SetHeight(60);
    button->SetLayout(blGlyphTop);
    glyph = Glyph(), text = Text();
    EXPECT_EQ(glyph.left, (120 - 16) / 2);
    EXPECT_LE(glyph.bottom, text.top);

    button->SetLayout(blGlyphBottom);
    EXPECT_GE(Glyph().top, Text().bottom);
}

TEST_F(GlowButtonGlyph, PictureOnlyButtonCentresItsGlyph)
{
    // The window's clear and save buttons: 24 x 24, no caption.
    button->SetBounds(10, 10, 24, 24);
    button->SetCaption(L"");
    EXPECT_EQ(Glyph(), TRect(4, 4, 20, 20));
    button->SetImageIndex(-1);
    EXPECT_TRUE(Glyph().IsEmpty());
    button->SetImageIndex(7);
    EXPECT_TRUE(Glyph().IsEmpty()) << "an index past the list draws nothing";
}

TEST_F(GlowButtonGlyph, HotAndDisabledImagesTakeOver)
{
    auto* hot = NewImageList(form, 16, 16, {clLime});
    auto* disabled = NewImageList(form, 16, 16, {clBlue});
    button->SetHotImages(hot);
    button->SetDisabledImages(disabled);
    EXPECT_EQ(Glyph(clRed).Width(), 16);

    SendMessageW(button->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Glyph(clLime).Width(), 16) << "hot";
    SendMessageW(button->Handle(), WM_MOUSELEAVE, 0, 0);

    button->SetEnabled(false);
    EXPECT_EQ(Glyph(clBlue).Width(), 16) << "disabled images";
    button->SetDisabledImages(nullptr);
    EXPECT_TRUE(Glyph(clRed).IsEmpty()) << "the normal glyph drawn greyed";
}

TEST_F(GlowButtonGlyph, FreedImageListIsDropped)
{
    images->Free();
    EXPECT_EQ(button->GetImages(), nullptr);
    EXPECT_TRUE(Glyph().IsEmpty());
    EXPECT_FALSE(Text().IsEmpty());
}

TEST_F(GlowButtonGlyph, ChangedImageListRepaints)
{
    button->SetImageIndex(1);
    EXPECT_EQ(Glyph(clLime).Width(), 16);
    TOwned<TBitmap> red(New<TBitmap>());
    red->SetSize(16, 16);
    red->GetCanvas()->GetBrush()->SetColor(clFuchsia);
    red->GetCanvas()->FillRect(TRect(0, 0, 16, 16));
    Pump();
    ValidateRect(button->Handle(), nullptr);
    images->Replace(1, red.get(), nullptr);
    RECT pending{};
    EXPECT_TRUE(GetUpdateRect(button->Handle(), &pending, FALSE)) << "the change link asks for a repaint";
    EXPECT_EQ(Glyph(clFuchsia).Width(), 16);
}

} // namespace
