// The glow button's style presets and colour tones, its colour helpers, and
// the toolbar unit's scale, messages and ARGB conversion.
#include "AdvGlowButton.h"
#include "PackControlsTestSupport.h"
#include "ToolBarMessages.h"
#include <map>

using namespace pack_test;
using AdvGlowButton::BlendColor;
using AdvGlowButton::DarkenColor;

namespace {

using A = TGlowButtonAppearance;

// Every colour property by name, to see what a preset changed.
struct TColourProperty {
    const char* name;
    TColor (A::*get)() const;
};
const TColourProperty colourProperties[] = {
    {"BorderColor", &A::GetBorderColor}, {"BorderColorHot", &A::GetBorderColorHot},
    {"BorderColorCheckedHot", &A::GetBorderColorCheckedHot}, {"BorderColorDown", &A::GetBorderColorDown},
    {"BorderColorChecked", &A::GetBorderColorChecked}, {"BorderColorDisabled", &A::GetBorderColorDisabled},
    {"BorderColorFocused", &A::GetBorderColorFocused}, {"Color", &A::GetColor}, {"ColorTo", &A::GetColorTo},
    {"ColorChecked", &A::GetColorChecked}, {"ColorCheckedTo", &A::GetColorCheckedTo},
    {"ColorDisabled", &A::GetColorDisabled}, {"ColorDisabledTo", &A::GetColorDisabledTo},
    {"ColorDown", &A::GetColorDown}, {"ColorDownTo", &A::GetColorDownTo}, {"ColorHot", &A::GetColorHot},
    {"ColorHotTo", &A::GetColorHotTo}, {"ColorMirror", &A::GetColorMirror}, {"ColorMirrorTo", &A::GetColorMirrorTo},
    {"ColorMirrorHot", &A::GetColorMirrorHot}, {"ColorMirrorHotTo", &A::GetColorMirrorHotTo},
    {"ColorMirrorDown", &A::GetColorMirrorDown}, {"ColorMirrorDownTo", &A::GetColorMirrorDownTo},
    {"ColorMirrorChecked", &A::GetColorMirrorChecked}, {"ColorMirrorCheckedTo", &A::GetColorMirrorCheckedTo},
    {"ColorMirrorDisabled", &A::GetColorMirrorDisabled}, {"ColorMirrorDisabledTo", &A::GetColorMirrorDisabledTo},
    {"TextColorChecked", &A::GetTextColorChecked}, {"TextColorDown", &A::GetTextColorDown},
    {"TextColorHot", &A::GetTextColorHot},
};

using TColours = std::map<std::string, TColor>;

TColours ColoursOf(const A& a)
{
    TColours all;
    for (const auto& p : colourProperties)
        all[p.name] = (a.*p.get)();
    return all;
}

// The colours a style names, written out from the preset table: the five
// base colours and what its highlight set and extras name.
TColours Base(TColor c, TColor cTo, TColor m, TColor mTo, TColor b)
{
    return {{"Color", c}, {"ColorTo", cTo}, {"ColorMirror", m}, {"ColorMirrorTo", mTo}, {"BorderColor", b}};
}
TColours State(const char* state, TColor c, TColor cTo, TColor m, TColor mTo)
{
    const std::string s = state;
    return {{"Color" + s, c}, {"Color" + s + "To", cTo}, {"ColorMirror" + s, m}, {"ColorMirror" + s + "To", mTo}};
}
TColours operator+(TColours a, const TColours& b)
{
    for (const auto& [k, v] : b)
        a[k] = v;
    return a;
}
TColours One(const char* name, TColor v) { return {{name, v}}; }

const TColours O = State("Hot", 0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF) + One("BorderColorHot", 0x99CEDB) +
                   State("Down", 0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD) + One("BorderColorDown", 0x45667B) +
                   State("Checked", 0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE);
const TColours P = State("Hot", 0x8AE3FD, 0xD9F9FD, 0xD9F9FD, 0x8AE3FD) + One("BorderColorHot", 0x58CAF1) +
                   State("Down", 0x6CD0FF, 0x7BEEFF, 0x7BEEFF, 0x6CD0FF) + One("BorderColorDown", 0x308AC2) +
                   State("Checked", 0xD9F9FD, 0x6CD0FF, 0x6CD0FF, 0x6CD0FF) + One("BorderColorChecked", 0x308AC2);
const TColours Q = State("Hot", 0xFCF0E4, clNone, 0xFCF0E4, clNone) + One("BorderColorHot", 0xEAB47E) +
                   State("Down", 0xFCE2C8, clNone, 0xFCE2C8, clNone) + One("BorderColorDown", 0xE59D56) +
                   One("ColorChecked", 0xFF9933) + One("ColorCheckedTo", clNone) + One("ColorMirrorChecked", 0xEEEEEE);
const TColours R = State("Hot", 0xF7EFE8, clNone, 0xF7EFE8, clNone) + One("BorderColorHot", 0xF9CEA4) +
                   State("Down", 0xF7E0C9, clNone, 0xF7E0C9, clNone) + One("BorderColorDown", 0xE4A262) +
                   One("ColorChecked", 0xDAA026) + One("ColorCheckedTo", clNone) + One("ColorMirrorChecked", 0xF7F7F7) +
                   One("TextColorChecked", 0xFFFFFF);
const TColours S = State("Hot", 0xF2E1D5, clNone, 0xF2E1D5, clNone) + One("BorderColorHot", 0xF2E1D5) +
                   State("Down", 0xE3BDA3, clNone, 0xE3BDA3, clNone) + One("BorderColorDown", 0xE3BDA3) +
                   One("ColorChecked", 0xF2D5C2) + One("ColorCheckedTo", clNone) +
                   One("BorderColorCheckedHot", 0xE3BDA3);
TColours Texts(TColor c) { return One("TextColorChecked", c) + One("TextColorHot", c) + One("TextColorDown", c); }

enum TGradients { keep, all, notChecked };

struct TStyleRow {
    TPackStyle style;
    TColours named;
    TGradients gradients;
    bool rounded;
    bool transpHover;
    TColor font;
};

const TStyleRow styleRows[] = {
    {tsOffice2003Blue, Base(0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B) + O, all, true, false, clWindowText},
    {tsOffice2003Silver, Base(0xE6E9E2, 0xE6D8D8, 0xE6E9E2, 0xC8B2B3, 0x927476) + O, all, true, false, clWindowText},
    {tsOffice2003Olive, Base(0xCFF0EA, 0xCFF0EA, 0xCFF0EA, 0x8CC0B1, 0x8CC0B1) + O, all, true, false, clWindowText},
    {tsOffice2003Classic, Base(0xFFFFFF, 0xC9D1D5, 0xFFFFFF, 0xC9D1D5, 0x000000) + O, all, true, false, clWindowText},
    {tsOffice2007Luna, Base(0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B) + O + One("BorderColorChecked", 0x45667B),
     all, true, false, clWindowText},
    {tsOffice2007Obsidian,
     Base(0xDFDED6, 0xE4E2DB, 0xD7D5CE, 0xE7E5E0, 0xC0BCB2) + O + One("BorderColorChecked", 0x45667B), all, true, false,
     clWindowText},
    {tsWindowsXP,
     Base(0xFFFFFF, 0xB9D8DC, 0xB9D8DC, 0xB9D8DC, 0xB9D8DC) + State("Hot", 0xEFD3C6, 0xEFD3C6, 0xEFD3C6, 0xEFD3C6) +
         One("BorderColorHot", clHighlight) + State("Down", 0xB59284, 0xB59284, 0xB59284, 0xB59284) +
         One("BorderColorDown", clHighlight) + State("Checked", 0xB9D8DC, 0xB9D8DC, 0xB9D8DC, 0xB9D8DC) +
         One("BorderColorChecked", 0),
     all, true, false, clWindowText},
    {tsWhidbey, Base(0xFFFFFF, 0xDFEDF0, 0xDFEDF0, 0xDFEDF0, 0x99A8AC) + O, all, true, false, clWindowText},
    {tsCustom, {}, keep, false, false, clWindowText},
    {tsOffice2007Silver,
     Base(0xF3F3F1, 0xF5F5F3, 0xEEEAE7, 0xF8F7F6, 0xCCCAC9) + O + One("BorderColorChecked", 0x45667B), all, true, false,
     clWindowText},
    {tsWindowsVista,
     Base(0xFDF8F1, 0xFDF8F1, 0xFCEFD5, 0xFDF8F1, 0xFDDE99) + State("Hot", clNone, 0xFFFAF0, 0xFFFAF0, 0xFFFAF0) +
         One("BorderColorHot", 0xFCF2DA) + State("Down", 0xFCEFD5, 0xFCEFD5, 0xFDF4E3, 0xFDF4E3) +
         One("BorderColorDown", 0xFEDF9A) + State("Checked", 0xFCEFD5, 0xFAE9C6, 0xF7DAA2, 0xFBEDD3) +
         One("BorderColorChecked", 0xFEDF9A),
     all, true, false, clWindowText},
    {tsWindows7,
     Base(0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCDBC1, 0xCEA27D) + State("Hot", 0xFDFBFA, 0xFDF3EB, 0xFDF3EB, 0xFDFBFA) +
         One("BorderColorHot", 0xFBD6B8) + State("Down", 0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCEBDC) +
         One("BorderColorDown", 0xCEA27D) + State("Checked", 0xFDFBFA, 0xFDF3EB, 0xFCEBDC, 0xFCEBDC) +
         One("BorderColorChecked", clHighlight),
     all, true, false, clWindowText},
    {tsTerminal,
     One("Color", clBtnFace) + One("ColorTo", clBtnFace) + One("ColorMirror", clBtnFace) +
         One("ColorMirrorTo", clBtnFace) + State("Hot", 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0) +
         One("BorderColorHot", 0x808080) + State("Down", clHighlight, clHighlight, clHighlight, clHighlight) +
         One("BorderColorDown", clHighlight) + State("Checked", 0x808080, 0x808080, 0x808080, 0x808080) +
         One("BorderColorChecked", 0x808080),
     keep, true, false, clWindowText},
    {tsOffice2010Blue, Base(0xFDF6EF, 0xF0DAC7, 0xF0DAC7, 0xF0DAC7, 0xC7B29F) + P, all, true, true, clWindowText},
    {tsOffice2010Silver, Base(0xFFFFFF, 0xEDE5E0, 0xEDE5E0, 0xEDE5E0, 0xD2CDC8) + P, all, true, true, clWindowText},
    {tsOffice2010Black, Base(0xBFBFBF, 0x919191, 0x919191, 0x919191, 0x6D6D6D) + P, all, true, true, clWindowText},
    {tsWindows8, Base(0xF7F6F5, clNone, 0xF7F6F5, clNone, 0xE4E3E2) + R, notChecked, false, false, clWindowText},
    {tsOffice2013White,
     Base(0xFFFFFF, clNone, 0xFFFFFF, clNone, 0xD4D4D4) + Q + One("BorderColorDisabled", 0xACACAC) +
         One("TextColorChecked", 0xFFFFFF),
     notChecked, false, true, clWindowText},
    {tsOffice2013LightGray,
     Base(0xF6F6F6, clNone, 0xF6F6F6, clNone, 0xC6C6C6) + Q + One("BorderColorDisabled", 0xACACAC) +
         One("TextColorChecked", 0xFFFFFF),
     notChecked, false, true, clWindowText},
    {tsOffice2013Gray,
     Base(0xE5E5E5, clNone, 0xE5E5E5, clNone, 0xABABAB) + Q + One("BorderColorDisabled", 0xACACAC) +
         One("TextColorChecked", 0xFFFFFF),
     notChecked, false, true, clWindowText},
    {tsWindows10, Base(0xF7F6F5, clNone, 0xF7F6F5, clNone, 0xE4E3E2) + R, notChecked, false, false, clWindowText},
    {tsOffice2016White,
     Base(0xFFFFFF, clNone, 0xFFFFFF, clNone, 0xD4D4D4) + S + One("ColorMirrorChecked", 0xFFFFFF) +
         One("BorderColorDisabled", 0xD4D4D4) + Texts(0x505050),
     notChecked, false, true, 0x505050},
    {tsOffice2016Gray,
     Base(0xB2B2B2, clNone, 0xB2B2B2, clNone, 0x444444) + S + One("ColorMirrorChecked", 0xB2B2B2) +
         One("BorderColorDisabled", 0x444444) + Texts(0x424242),
     notChecked, false, true, 0x424242},
    {tsOffice2016Black,
     Base(0x363636, 0x363636, 0x363636, 0x363636, 0x444444) + State("Hot", 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A) +
         One("BorderColorHot", 0x6A6A6A) + State("Down", 0x444444, 0x444444, 0x444444, 0x444444) +
         One("BorderColorDown", 0x444444) + One("ColorChecked", 0x575757) + One("ColorCheckedTo", 0x575757) +
         One("ColorMirrorChecked", 0x363636) + One("BorderColorDisabled", 0x444444) + Texts(0xA6A6A6) +
         One("TextColorChecked", 0xC8C8C8),
     notChecked, false, true, 0xA6A6A6},
};

TEST(GlowButtonStyle, EachStyleSetsItsRowAndNothingElse)
{
    ASSERT_EQ(std::size(styleRows), std::size_t{tsOffice2016Black} + 1);
    for (const TStyleRow& row : styleRows) {
        TOwned<TAdvGlowButton> button(New<TAdvGlowButton>(nullptr));
        A* a = button->GetAppearance();
        // Gradients that no style uses, so that every change shows.
        for (auto set : {&A::SetGradient, &A::SetGradientMirror, &A::SetGradientHot, &A::SetGradientMirrorHot,
                         &A::SetGradientDown, &A::SetGradientMirrorDown, &A::SetGradientChecked,
                         &A::SetGradientMirrorChecked})
            (a->*set)(ggDiagonalForward);
        a->SetBorderColorCheckedHot(clAqua);
        button->GetFont()->SetColor(clMaroon);
        a->SetTextColorHot(clRed);
        const TColours before = ColoursOf(*a);

        button->SetComponentStyle(row.style);
        const TColours after = ColoursOf(*a);
        const std::string name = "style " + std::to_string(row.style);
        TColours expected = before + One("TextColorChecked", 0) + One("TextColorHot", 0) + One("TextColorDown", 0) +
                            One("BorderColorCheckedHot", clNone) + row.named;
        for (const auto& [property, value] : expected)
            EXPECT_EQ(after.at(property), value) << name << " " << property;
        EXPECT_EQ(button->GetFont()->GetColor(), row.font) << name;
        EXPECT_EQ(button->GetRounded(), row.rounded) << name;
        EXPECT_EQ(a->TranspHover, row.transpHover) << name;
        const TGDIPGradient normal = row.gradients == keep ? ggDiagonalForward : ggVertical;
        const TGDIPGradient checked = row.gradients == all ? ggVertical : ggDiagonalForward;
        EXPECT_EQ(a->GetGradient(), normal) << name;
        EXPECT_EQ(a->GetGradientMirrorDown(), normal) << name;
        EXPECT_EQ(a->GetGradientChecked(), checked) << name;
        EXPECT_EQ(a->GetGradientMirrorChecked(), checked) << name;
        EXPECT_EQ(a->GetGradientDisabled(), ggRadial) << name << ": disabled gradients stay";
    }
}

TEST(GlowButtonStyle, ColorTonesSwitchEveryFadeOff)
{
    const int interval = GetGlowFadeInterval();
    TOwned<TAdvGlowButton> button(New<TAdvGlowButton>(nullptr));
    TOwned<TAdvGlowButton> other(New<TAdvGlowButton>(nullptr));
    TColorTones tones;
    tones.Background = {0x101010, 0x202020, 0x303030};
    tones.Selected = {0x404040, 0x505050, 0x606060};
    tones.Hover = {0x707070, 0x808080, 0x909090};
    tones.Disabled = {0xA0A0A0, 0xB0B0B0, 0xC0C0C0};
    button->SetColorTones(tones);
    const A* a = button->GetAppearance();
    const TColours expected =
        Base(0x101010, clNone, 0x101010, clNone, 0x202020) + State("Disabled", 0x101010, 0x101010, 0x101010, 0x101010) +
        State("Hot", 0x707070, clNone, 0x707070, clNone) + One("BorderColorHot", 0x808080) +
        One("TextColorHot", 0x909090) + One("TextColorDown", 0x606060) +
        State("Down", 0x404040, clNone, 0x404040, clNone) + One("BorderColorDown", 0x505050) +
        One("BorderColorDisabled", 0xC0C0C0) + State("Checked", 0x404040, clNone, clNone, clNone) +
        One("BorderColorChecked", 0x505050);
    const TColours after = ColoursOf(*a);
    for (const auto& [property, value] : expected)
        EXPECT_EQ(after.at(property), value) << property;
    EXPECT_FALSE(button->GetRounded());
    EXPECT_EQ(button->GetFont()->GetColor(), 0x303030);
    EXPECT_EQ(button->GetFont()->GetName(), GetDefaultUIFontName());

    // The other button does not fade on hover either.
    EXPECT_EQ(GetGlowFadeInterval(), 0);
    other->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_FALSE(other->GetFading());
    SetGlowFadeInterval(interval);
}

TEST(GlowButtonColours, BlendAndDarken)
{
    struct Case {
        TColor got, expected;
    } cases[] = {
        {BlendColor(0x0000FF, 0xFF0000, 100), 0x0000FF},
        {BlendColor(0x0000FF, 0xFF0000, 0), 0xFF0000},
        {BlendColor(clNone, 0xFF0000, 50), 0xFF0000},
        {BlendColor(0x0000FF, clNone, 50), 0x0000FF},
        {BlendColor(0x000064, 0x0000C8, 40), 0x0000A0},   // 0.4 x 100 + 0.6 x 200
        {BlendColor(clWhite, clBlack, 50), 0x808080},      // 127.5 to the even 128
        {BlendColor(clBtnFace, clBlack, 100), clBtnFace},  // unresolved at 100
        // The constructor's down colour from the hot one: red and green 10 %
        // darker; 202.5 goes to the even 202.
        {DarkenColor(0xE1, -10), 0xCA},
        {DarkenColor(0xF5F0E1, -10), 0xDCD8CA},
        {DarkenColor(0xFFFFFF, -5), 0xF2F2F2},
        {DarkenColor(0x00FF00, -10), 0x00E600},            // zero components stay 0
        {DarkenColor(0x000000, 10), 0x0A0A0A},             // a zero component becomes the percentage
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << std::hex << c.expected;
}

TEST(ToolBarMessages, ScaleMessagesAndArgb)
{
    EXPECT_EQ(GetDPIScale(), 1.0f) << "96 pixels per inch here";
    EXPECT_EQ(GetGlowDPIScale(), 1.0f);
    EXPECT_EQ(CalcDPIScale(nullptr), 1.0f);
    EXPECT_EQ(CalcDPIScaleAt(96), 1.0f);
    // 120 pixels per inch: the ratio of the two "0" heights, not 1.25 as such.
    const float ratio =
        static_cast<float>(FontTextHeightAtDPI(120, 9)) / static_cast<float>(FontTextHeightAtDPI(96, 9));
    EXPECT_GT(FontTextHeightAtDPI(120, 9), FontTextHeightAtDPI(96, 9));
    EXPECT_EQ(CalcDPIScaleAt(120), ratio);
    EXPECT_EQ(GetDPIScale(), 1.0f) << "fixed at its first use";

    EXPECT_EQ(ColorToARGB(0x0000FF), 0xFFFF0000u);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(ColorToARGB(clBtnFace),
              0xFF000000u | (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face));

    const std::pair<UINT, const wchar_t*> messages[] = {
        {WM_TBCOMPACTWINHIDE, L"TBCompactWinHide"}, {WM_TBSETAEROVISTA, L"TBSetAeroVista"},
        {WM_TBPSETIGNOREALT, L"TBPSetIgnoreALT"},   {WM_TBFUPDATECONTEXTMENU, L"TBFUpdateContextMenu"},
        {WM_TBSETMETRO, L"TBSetMetro"},             {WM_TBREVERTMETRO, L"TBRevertMetro"},
        {WM_TBSETOFFICE2013, L"TBSetOffice2013"},   {WM_TBSHOWSHORTCUTHINT, L"TBShowShortCutHint"},
    };
    for (const auto& [message, name] : messages) {
        EXPECT_NE(message, 0u);
        EXPECT_EQ(message, RegisterWindowMessageW(name));
    }
    EXPECT_EQ(ToolBarMetroTones.Hover.BorderColor, clNone);
    EXPECT_EQ(ToolBarOffice2013Tones.Background.BrushColor, clNone);
}

} // namespace
