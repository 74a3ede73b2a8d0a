// The glow button: its appearance, the colour helpers, the style presets,
// construction and properties.
#include "AdvGlowButton.h"
#include "Forms.h"
#include "ImgList.h"
#include "ScopeExit.h"
#include "SysUtils.h"
#include "ToolBarMessages.h"
#include <cmath>
#include <span>

// ---------------------------------------------------------------------------
void TGlowButtonAppearance::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TGlowButtonAppearance*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    SetBorderColor(src->FBorderColor);
    SetBorderColorHot(src->FBorderColorHot);
    FBorderColorCheckedHot = src->FBorderColorCheckedHot;
    SetBorderColorDown(src->FBorderColorDown);
    SetBorderColorChecked(src->FBorderColorChecked);
    SetBorderColorDisabled(src->FBorderColorDisabled);
    // BorderColorFocused stays the target's own.
    SetColor(src->FColor);
    SetColorTo(src->FColorTo);
    SetColorChecked(src->FColorChecked);
    SetColorCheckedTo(src->FColorCheckedTo);
    SetColorDisabled(src->FColorDisabled);
    SetColorDisabledTo(src->FColorDisabledTo);
    SetColorDown(src->FColorDown);
    SetColorDownTo(src->FColorDownTo);
    SetColorHot(src->FColorHot);
    SetColorHotTo(src->FColorHotTo);
    SetColorMirror(src->FColorMirror);
    SetColorMirrorTo(src->FColorMirrorTo);
    SetColorMirrorHot(src->FColorMirrorHot);
    SetColorMirrorHotTo(src->FColorMirrorHotTo);
    SetColorMirrorDown(src->FColorMirrorDown);
    SetColorMirrorDownTo(src->FColorMirrorDownTo);
    SetColorMirrorChecked(src->FColorMirrorChecked);
    SetColorMirrorCheckedTo(src->FColorMirrorCheckedTo);
    SetColorMirrorDisabled(src->FColorMirrorDisabled);
    SetColorMirrorDisabledTo(src->FColorMirrorDisabledTo);
    SetGradient(src->FGradient);
    SetGradientMirror(src->FGradientMirror);
    SetGradientHot(src->FGradientHot);
    SetGradientMirrorHot(src->FGradientMirrorHot);
    SetGradientDown(src->FGradientDown);
    SetGradientMirrorDown(src->FGradientMirrorDown);
    SetGradientChecked(src->FGradientChecked);
    SetGradientMirrorChecked(src->FGradientMirrorChecked);
    SetGradientDisabled(src->FGradientDisabled);
    SetGradientMirrorDisabled(src->FGradientMirrorDisabled);
    SetTextColorChecked(src->FTextColorChecked);
    SetTextColorDown(src->FTextColorDown);
    SetTextColorHot(src->FTextColorHot);
    TextColor = src->TextColor;
    SetSystemFont(src->FSystemFont);
    TranspHover = src->TranspHover;
    NoBorderDefault = src->NoBorderDefault;
}

// ---------------------------------------------------------------------------
namespace {

int fadeInterval = 20;

int ClampByte(double v)
{
    return std::min(255, std::max(0, static_cast<int>(std::nearbyint(v))));
}

} // namespace

int GetGlowFadeInterval()
{
    return fadeInterval;
}

void SetGlowFadeInterval(int Value)
{
    fadeInterval = Value;
}

TColor AdvGlowButton::BlendColor(TColor Color1, TColor Color2, int Percent)
{
    if (Percent >= 100)
        return Color1;
    if (Percent <= 0 || Color1 == clNone)
        return Color2;
    if (Color2 == clNone)
        return Color1;
    const COLORREF c1 = ColorToRGB(Color1);
    const COLORREF c2 = ColorToRGB(Color2);
    const double p = Percent / 100.0;
    auto mix = [p](int a, int b) { return ClampByte(p * a + (1 - p) * b); };
    return static_cast<TColor>(RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)),
                                   mix(GetBValue(c1), GetBValue(c2))));
}

TColor AdvGlowButton::DarkenColor(TColor Color, int Percent)
{
    const COLORREF c = ColorToRGB(Color);
    const double factor = std::min(100, 100 + Percent) / 100.0;
    auto darken = [&](int x) { return x > 0 ? ClampByte(factor * x) : std::max(0, Percent); };
    return static_cast<TColor>(RGB(darken(GetRValue(c)), darken(GetGValue(c)), darken(GetBValue(c))));
}

// --- style presets ---------------------------------------------------------------------
namespace {

using A = TGlowButtonAppearance;
using TColorSetter = void (A::*)(TColor);
struct TColorValue {
    TColorSetter Set;
    TColor Value;
};
// A colour a preset leaves as it is.
constexpr TColor Keep = static_cast<TColor>(0x2FFFFFFF);

#define GLOW_HOT(c, cTo, m, mTo, b)                                                                                   \
    {&A::SetColorHot, c}, {&A::SetColorHotTo, cTo}, {&A::SetColorMirrorHot, m}, {&A::SetColorMirrorHotTo, mTo},       \
        {&A::SetBorderColorHot, b}
#define GLOW_DOWN(c, cTo, m, mTo, b)                                                                                  \
    {&A::SetColorDown, c}, {&A::SetColorDownTo, cTo}, {&A::SetColorMirrorDown, m},                                    \
        {&A::SetColorMirrorDownTo, mTo}, {&A::SetBorderColorDown, b}
#define GLOW_CHECKED(c, cTo, m, mTo)                                                                                  \
    {&A::SetColorChecked, c}, {&A::SetColorCheckedTo, cTo}, {&A::SetColorMirrorChecked, m},                           \
        {&A::SetColorMirrorCheckedTo, mTo}

// The shared highlight sets: orange Office, Office 2010, Office 2013,
// Windows 8 and Office 2016.
constexpr TColorValue SetO[] = {
    GLOW_HOT(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0x99CEDB),
    GLOW_DOWN(0x76AFF1, 0x4190F3, 0x0E72F1, 0x4C9FFD, 0x45667B),
    GLOW_CHECKED(0xB5DBFB, 0x78C7FE, 0x9FEBFD, 0x56B4FE),
};
constexpr TColorValue SetP[] = {
    GLOW_HOT(0x8AE3FD, 0xD9F9FD, 0xD9F9FD, 0x8AE3FD, 0x58CAF1),
    GLOW_DOWN(0x6CD0FF, 0x7BEEFF, 0x7BEEFF, 0x6CD0FF, 0x308AC2),
    GLOW_CHECKED(0xD9F9FD, 0x6CD0FF, 0x6CD0FF, 0x6CD0FF), {&A::SetBorderColorChecked, 0x308AC2},
};
constexpr TColorValue SetQ[] = {
    GLOW_HOT(0xFCF0E4, clNone, 0xFCF0E4, clNone, 0xEAB47E),
    GLOW_DOWN(0xFCE2C8, clNone, 0xFCE2C8, clNone, 0xE59D56),
    {&A::SetColorChecked, 0xFF9933}, {&A::SetColorCheckedTo, clNone}, {&A::SetColorMirrorChecked, 0xEEEEEE},
};
constexpr TColorValue SetR[] = {
    GLOW_HOT(0xF7EFE8, clNone, 0xF7EFE8, clNone, 0xF9CEA4),
    GLOW_DOWN(0xF7E0C9, clNone, 0xF7E0C9, clNone, 0xE4A262),
    {&A::SetColorChecked, 0xDAA026}, {&A::SetColorCheckedTo, clNone}, {&A::SetColorMirrorChecked, 0xF7F7F7},
    {&A::SetTextColorChecked, 0xFFFFFF},
};
constexpr TColorValue SetS[] = {
    GLOW_HOT(0xF2E1D5, clNone, 0xF2E1D5, clNone, 0xF2E1D5),
    GLOW_DOWN(0xE3BDA3, clNone, 0xE3BDA3, clNone, 0xE3BDA3),
    {&A::SetColorChecked, 0xF2D5C2}, {&A::SetColorCheckedTo, clNone}, {&A::SetBorderColorCheckedHot, 0xE3BDA3},
};
// Highlights of one style each.
constexpr TColorValue WindowsXP[] = {
    GLOW_HOT(0xEFD3C6, 0xEFD3C6, 0xEFD3C6, 0xEFD3C6, clHighlight),
    GLOW_DOWN(0xB59284, 0xB59284, 0xB59284, 0xB59284, clHighlight),
    GLOW_CHECKED(0xB9D8DC, 0xB9D8DC, 0xB9D8DC, 0xB9D8DC), {&A::SetBorderColorChecked, 0x000000},
};
constexpr TColorValue WindowsVista[] = {
    GLOW_HOT(clNone, 0xFFFAF0, 0xFFFAF0, 0xFFFAF0, 0xFCF2DA),
    GLOW_DOWN(0xFCEFD5, 0xFCEFD5, 0xFDF4E3, 0xFDF4E3, 0xFEDF9A),
    GLOW_CHECKED(0xFCEFD5, 0xFAE9C6, 0xF7DAA2, 0xFBEDD3), {&A::SetBorderColorChecked, 0xFEDF9A},
};
constexpr TColorValue Windows7[] = {
    GLOW_HOT(0xFDFBFA, 0xFDF3EB, 0xFDF3EB, 0xFDFBFA, 0xFBD6B8),
    GLOW_DOWN(0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCEBDC, 0xCEA27D),
    GLOW_CHECKED(0xFDFBFA, 0xFDF3EB, 0xFCEBDC, 0xFCEBDC), {&A::SetBorderColorChecked, clHighlight},
};
constexpr TColorValue Terminal[] = {
    GLOW_HOT(0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0xC0C0C0, 0x808080),
    GLOW_DOWN(clHighlight, clHighlight, clHighlight, clHighlight, clHighlight),
    GLOW_CHECKED(0x808080, 0x808080, 0x808080, 0x808080), {&A::SetBorderColorChecked, 0x808080},
};
constexpr TColorValue Office2016Black[] = {
    GLOW_HOT(0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A),
    GLOW_DOWN(0x444444, 0x444444, 0x444444, 0x444444, 0x444444),
    {&A::SetColorChecked, 0x575757}, {&A::SetColorCheckedTo, 0x575757}, {&A::SetColorMirrorChecked, 0x363636},
    {&A::SetBorderColorDisabled, 0x444444}, {&A::SetTextColorHot, 0xA6A6A6}, {&A::SetTextColorDown, 0xA6A6A6},
    {&A::SetTextColorChecked, 0xC8C8C8},
};
#undef GLOW_HOT
#undef GLOW_DOWN
#undef GLOW_CHECKED

// Extras some styles add to a shared set.
constexpr TColorValue CheckedBorder2007[] = {{&A::SetBorderColorChecked, 0x45667B}};
constexpr TColorValue Office2013[] = {{&A::SetBorderColorDisabled, 0xACACAC}, {&A::SetTextColorChecked, 0xFFFFFF}};
constexpr TColorValue Office2016White[] = {
    {&A::SetColorMirrorChecked, 0xFFFFFF}, {&A::SetBorderColorDisabled, 0xD4D4D4}, {&A::SetTextColorChecked, 0x505050},
    {&A::SetTextColorHot, 0x505050}, {&A::SetTextColorDown, 0x505050},
};
constexpr TColorValue Office2016Gray[] = {
    {&A::SetColorMirrorChecked, 0xB2B2B2}, {&A::SetBorderColorDisabled, 0x444444}, {&A::SetTextColorChecked, 0x424242},
    {&A::SetTextColorHot, 0x424242}, {&A::SetTextColorDown, 0x424242},
};

// Which gradient kinds a style makes vertical.
enum TPresetGradients { pgNone, pgAll, pgAllButChecked };

struct TStylePreset {
    TPackStyle Style;
    TColor Base[5]; // Color, ColorTo, ColorMirror, ColorMirrorTo, BorderColor
    std::span<const TColorValue> Highlight;
    std::span<const TColorValue> Extras;
    TPresetGradients Gradients;
    TColor FontColor;
};

const TStylePreset StylePresets[] = {
    {tsOffice2003Blue, {0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B}, SetO, {}, pgAll, Keep},
    {tsOffice2003Silver, {0xE6E9E2, 0xE6D8D8, 0xE6E9E2, 0xC8B2B3, 0x927476}, SetO, {}, pgAll, Keep},
    {tsOffice2003Olive, {0xCFF0EA, 0xCFF0EA, 0xCFF0EA, 0x8CC0B1, 0x8CC0B1}, SetO, {}, pgAll, Keep},
    {tsOffice2003Classic, {0xFFFFFF, 0xC9D1D5, 0xFFFFFF, 0xC9D1D5, 0x000000}, SetO, {}, pgAll, Keep},
    {tsOffice2007Luna, {0xEEDBC8, 0xF6DDC9, 0xEDD4C0, 0xF7E1D0, 0xE0B99B}, SetO, CheckedBorder2007, pgAll, Keep},
    {tsOffice2007Obsidian, {0xDFDED6, 0xE4E2DB, 0xD7D5CE, 0xE7E5E0, 0xC0BCB2}, SetO, CheckedBorder2007, pgAll, Keep},
    {tsWindowsXP, {0xFFFFFF, 0xB9D8DC, 0xB9D8DC, 0xB9D8DC, 0xB9D8DC}, WindowsXP, {}, pgAll, Keep},
    {tsWhidbey, {0xFFFFFF, 0xDFEDF0, 0xDFEDF0, 0xDFEDF0, 0x99A8AC}, SetO, {}, pgAll, Keep},
    {tsCustom, {Keep, Keep, Keep, Keep, Keep}, {}, {}, pgNone, Keep},
    {tsOffice2007Silver, {0xF3F3F1, 0xF5F5F3, 0xEEEAE7, 0xF8F7F6, 0xCCCAC9}, SetO, CheckedBorder2007, pgAll, Keep},
    {tsWindowsVista, {0xFDF8F1, 0xFDF8F1, 0xFCEFD5, 0xFDF8F1, 0xFDDE99}, WindowsVista, {}, pgAll, Keep},
    {tsWindows7, {0xFCEBDC, 0xFCDBC1, 0xFCDBC1, 0xFCDBC1, 0xCEA27D}, Windows7, {}, pgAll, Keep},
    {tsTerminal, {clBtnFace, clBtnFace, clBtnFace, clBtnFace, Keep}, Terminal, {}, pgNone, Keep},
    {tsOffice2010Blue, {0xFDF6EF, 0xF0DAC7, 0xF0DAC7, 0xF0DAC7, 0xC7B29F}, SetP, {}, pgAll, Keep},
    {tsOffice2010Silver, {0xFFFFFF, 0xEDE5E0, 0xEDE5E0, 0xEDE5E0, 0xD2CDC8}, SetP, {}, pgAll, Keep},
    {tsOffice2010Black, {0xBFBFBF, 0x919191, 0x919191, 0x919191, 0x6D6D6D}, SetP, {}, pgAll, Keep},
    {tsWindows8, {0xF7F6F5, clNone, 0xF7F6F5, clNone, 0xE4E3E2}, SetR, {}, pgAllButChecked, Keep},
    {tsOffice2013White, {0xFFFFFF, clNone, 0xFFFFFF, clNone, 0xD4D4D4}, SetQ, Office2013, pgAllButChecked, Keep},
    {tsOffice2013LightGray, {0xF6F6F6, clNone, 0xF6F6F6, clNone, 0xC6C6C6}, SetQ, Office2013, pgAllButChecked, Keep},
    {tsOffice2013Gray, {0xE5E5E5, clNone, 0xE5E5E5, clNone, 0xABABAB}, SetQ, Office2013, pgAllButChecked, Keep},
    {tsWindows10, {0xF7F6F5, clNone, 0xF7F6F5, clNone, 0xE4E3E2}, SetR, {}, pgAllButChecked, Keep},
    {tsOffice2016White, {0xFFFFFF, clNone, 0xFFFFFF, clNone, 0xD4D4D4}, SetS, Office2016White, pgAllButChecked,
     0x505050},
    {tsOffice2016Gray, {0xB2B2B2, clNone, 0xB2B2B2, clNone, 0x444444}, SetS, Office2016Gray, pgAllButChecked,
     0x424242},
    {tsOffice2016Black, {0x363636, 0x363636, 0x363636, 0x363636, 0x444444}, Office2016Black, {}, pgAllButChecked,
     0xA6A6A6},
};

constexpr TPackStyle TranspHoverStyles[] = {
    tsOffice2010Blue, tsOffice2010Silver, tsOffice2010Black, tsOffice2013White, tsOffice2013LightGray,
    tsOffice2013Gray, tsOffice2016White, tsOffice2016Gray, tsOffice2016Black,
};

} // namespace

void TAdvCustomGlowButton::SetComponentStyle(TPackStyle AStyle)
{
    TGlowButtonAppearance* a = FAppearance.get();
    GetFont()->SetColor(clWindowText);
    a->SetTextColorChecked(0);
    a->SetTextColorHot(0);
    a->SetTextColorDown(0);
    a->TranspHover = std::find(std::begin(TranspHoverStyles), std::end(TranspHoverStyles), AStyle) !=
                     std::end(TranspHoverStyles);
    FCompStyle = AStyle;
    a->SetBorderColorCheckedHot(clNone);
    SetRounded(!(AStyle == tsCustom || AStyle >= tsWindows8));

    for (const TStylePreset& preset : StylePresets) {
        if (preset.Style != AStyle)
            continue;
        const TColorSetter base[] = {&A::SetColor, &A::SetColorTo, &A::SetColorMirror, &A::SetColorMirrorTo,
                                     &A::SetBorderColor};
        for (int i = 0; i < 5; ++i)
            if (preset.Base[i] != Keep)
                (a->*base[i])(preset.Base[i]);
        for (const TColorValue& v : preset.Highlight)
            (a->*v.Set)(v.Value);
        for (const TColorValue& v : preset.Extras)
            (a->*v.Set)(v.Value);
        if (preset.FontColor != Keep)
            GetFont()->SetColor(preset.FontColor);
        if (preset.Gradients != pgNone) {
            for (auto set : {&A::SetGradient, &A::SetGradientMirror, &A::SetGradientHot, &A::SetGradientMirrorHot,
                             &A::SetGradientDown, &A::SetGradientMirrorDown})
                (a->*set)(ggVertical);
            if (preset.Gradients == pgAll) {
                a->SetGradientChecked(ggVertical);
                a->SetGradientMirrorChecked(ggVertical);
            }
        }
    }
    Invalidate();
    if (FShortCutHint) {
        FShortCutHint->SetColor(0xFFFFFF);
        FShortCutHint->SetColorTo(a->GetColor());
    }
}

void TAdvCustomGlowButton::SetColorTones(TColorTones ATones)
{
    TGlowButtonAppearance* a = FAppearance.get();
    const TColor background = ATones.Background.BrushColor;
    for (auto set : {&A::SetColor, &A::SetColorMirror, &A::SetColorDisabled, &A::SetColorDisabledTo,
                     &A::SetColorMirrorDisabled, &A::SetColorMirrorDisabledTo})
        (a->*set)(background);
    a->SetColorTo(clNone);
    a->SetColorMirrorTo(clNone);
    a->SetBorderColor(ATones.Background.BorderColor);
    a->SetColorHot(ATones.Hover.BrushColor);
    a->SetColorMirrorHot(ATones.Hover.BrushColor);
    a->SetColorHotTo(clNone);
    a->SetColorMirrorHotTo(clNone);
    a->SetBorderColorHot(ATones.Hover.BorderColor);
    a->SetTextColorHot(ATones.Hover.TextColor);
    a->SetTextColorDown(ATones.Selected.TextColor);
    a->SetColorDown(ATones.Selected.BrushColor);
    a->SetColorMirrorDown(ATones.Selected.BrushColor);
    a->SetColorDownTo(clNone);
    a->SetColorMirrorDownTo(clNone);
    a->SetBorderColorDown(ATones.Selected.BorderColor);
    a->SetBorderColorDisabled(ATones.Disabled.TextColor);
    a->SetColorChecked(ATones.Selected.BrushColor);
    a->SetColorCheckedTo(clNone);
    a->SetColorMirrorChecked(clNone);
    a->SetColorMirrorCheckedTo(clNone);
    a->SetBorderColorChecked(ATones.Selected.BorderColor);
    // One interval for all glow buttons: none of them fades from now on.
    SetGlowFadeInterval(0);
    SetRounded(false);
    GetFont()->SetColor(ATones.Background.TextColor);
    GetFont()->SetName(GetDefaultUIFontName());
}

// --- construction ------------------------------------------------------------------------
TAdvCustomGlowButton::TAdvCustomGlowButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    // Double clicks arrive as ordinary presses.
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque};
    FAppearance.reset(New<TGlowButtonAppearance>());
    FAppearance->OnChange = [this](TObject* Sender) { AppearanceChanged(Sender); };
    FNotesFont.reset(New<TFont>());
    FNotesFont->SetName(L"Tahoma");
    FNotesFont->SetSize(8);
    FNotesFont->OnChange = [this](TObject*) { ContentChanged(); };
    FNotes.reset(New<TStringList>());
    FNotes->OnChange = [this](TObject*) { ContentChanged(); };
    FOfficeHint.reset(New<TAdvHintInfo>());
    for (TOwned<TGDIPPicture>* picture : {&FIPicture, &FIHotPicture, &FIDisabledPicture}) {
        picture->reset(New<TGDIPPicture>());
        (*picture)->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
    }
    FImageChangeLink.reset(New<TChangeLink>());
    FImageChangeLink->OnChange = [this](TObject*) { ContentChanged(); };
    for (TOwned<TChangeLink>* link : {&FHotImageChangeLink, &FDisabledImageChangeLink}) {
        link->reset(New<TChangeLink>());
        (*link)->OnChange = [this](TObject*) { Invalidate(); };
    }
    SetBounds(GetLeft(), GetTop(), 100, 41);
    SetDoubleBuffered(true);
    SetTabStop(false);
}

// Here, where TChangeLink is complete; the owned members go by themselves,
// the hint window with the button that owns it.
TAdvCustomGlowButton::~TAdvCustomGlowButton() = default;

String TAdvCustomGlowButton::GetVersion() const
{
    const int major = 2, minor = 4, release = 1, build = 1;
    const DWORD version = MAKELONG(MAKEWORD(build, release), MAKEWORD(minor, major));
    return IntToStr(HIBYTE(HIWORD(version))) + L"." + IntToStr(LOBYTE(HIWORD(version))) + L"." +
           IntToStr(HIBYTE(LOWORD(version))) + L"." + IntToStr(LOBYTE(LOWORD(version)));
}

void TAdvCustomGlowButton::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TAdvCustomGlowButton*>(Source);
    if (!src) {
        TCustomControl::Assign(Source);
        return;
    }
    SetAlign(src->GetAlign());
    SetAction(src->GetAction());
    SetAnchors(src->GetAnchors());
    SetAntiAlias(src->FAntiAlias);
    SetAutoSize(src->GetAutoSize());
    SetBorderStyle(src->FBorderStyle);
    FCancel = src->FCancel;
    SetCaption(src->GetCaption());
    GetConstraints()->Assign(src->GetConstraints());
    SetDefault(src->FDefault);
    GetFont()->Assign(src->GetFont());
    SetImageIndex(src->FImageIndex);
    SetImages(src->FImages);
    SetDisabledImages(src->FDisabledImages);
    FIDisabledPicture->Assign(src->FIDisabledPicture.get());
    SetFocusType(src->FFocusType);
    SetHotImages(src->FHotImages);
    FIHotPicture->Assign(src->FIHotPicture.get());
    SetMarginHorz(src->FMarginHorz);
    SetMarginVert(src->FMarginVert);
    FModalResult = src->FModalResult;
    FNotes->Assign(src->FNotes.get());
    FNotesFont->Assign(src->FNotesFont.get());
    FOfficeHint->Assign(src->FOfficeHint.get());
    SetParentFont(src->GetParentFont());
    FIPicture->Assign(src->FIPicture.get());
    SetPopupMenu(src->GetPopupMenu());
    SetPosition(src->FButtonPosition);
    FInitRepeatPause = src->FInitRepeatPause;
    FRepeatPause = src->FRepeatPause;
    FRepeatClick = src->FRepeatClick;
    SetRounded(src->FRounded);
    SetShortCutHint(src->FShortCutHintText);
    FShortCutHintPos = src->FShortCutHintPos;
    SetShowCaption(src->FShowCaption);
    SetShowDisabled(src->FShowDisabled);
    SetSpacing(src->FSpacing);
    SetTransparent(src->FTransparent);
    SetTrimming(src->FTrimming);
    SetWordWrap(src->FWordWrap);
    SetShowHint(src->GetShowHint());
    SetParentShowHint(src->GetParentShowHint());
    SetTabOrder(src->GetTabOrder());
    SetTabStop(src->GetTabStop());
    SetVisible(src->GetVisible());
}

void TAdvCustomGlowButton::AppearanceChanged(TObject*)
{
    Invalidate();
    if (FShortCutHint) {
        FShortCutHint->SetColor(0xFFFFFF);
        FShortCutHint->SetColorTo(FAppearance->GetColor());
    }
}

void TAdvCustomGlowButton::PictureChanged(TObject*)
{
    ContentChanged();
}

void TAdvCustomGlowButton::ContentChanged()
{
    if (!GetAutoSize()) {
        Invalidate();
        return;
    }
    FDoAutoSize = true;
    Invalidate();
    const TComponentState state = ComponentState();
    if (GetParent() && HandleAllocated() && !state.Contains(csDesigning) && !state.Contains(csLoading))
        Repaint();
}

void TAdvCustomGlowButton::SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value)
{
    if (Field == Value)
        return;
    if (Field) {
        Field->UnRegisterChanges(Link);
        Field->RemoveFreeNotification(this);
    }
    Field = Value;
    if (Field) {
        Field->RegisterChanges(Link);
        Field->FreeNotification(this);
    }
}

void TAdvCustomGlowButton::SetImages(TCustomImageList* Value)
{
    if (Value == FImages)
        return;
    SetImageList(FImages, FImageChangeLink.get(), Value);
    ContentChanged();
}

void TAdvCustomGlowButton::SetHotImages(TCustomImageList* Value)
{
    SetImageList(FHotImages, FHotImageChangeLink.get(), Value);
    Invalidate();
}

void TAdvCustomGlowButton::SetDisabledImages(TCustomImageList* Value)
{
    SetImageList(FDisabledImages, FDisabledImageChangeLink.get(), Value);
    Invalidate();
}

void TAdvCustomGlowButton::SetDropDownMenu(TPopupMenu* Value)
{
    if (FDropDownMenu == Value)
        return;
    if (FDropDownMenu)
        FDropDownMenu->RemoveFreeNotification(this);
    FDropDownMenu = Value;
    if (FDropDownMenu)
        FDropDownMenu->FreeNotification(this);
}

void TAdvCustomGlowButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FImages)
        SetImages(nullptr);
    if (AComponent == FHotImages)
        SetHotImages(nullptr);
    if (AComponent == FDisabledImages)
        SetDisabledImages(nullptr);
    if (AComponent == FDropDownMenu)
        FDropDownMenu = nullptr;
    if (FActionLink && AComponent == FActionLink->GetAction())
        FActionLink.reset();
}

// --- properties --------------------------------------------------------------------------
void TAdvCustomGlowButton::SetImageIndex(int Value)
{
    if (StoreChanged(FImageIndex, Value))
        ContentChanged();
}

void TAdvCustomGlowButton::SetImageListType(TImageListType Value)
{
    if (StoreChanged(FImageListType, Value))
        ContentChanged();
}

void TAdvCustomGlowButton::SetStyle(TAdvButtonStyle Value)
{
    if (StoreChanged(FStyle, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetGroupIndex(int Value)
{
    if (StoreChanged(FGroupIndex, Value))
        BroadcastGroup();
}

void TAdvCustomGlowButton::SetAllowAllUp(bool Value)
{
    if (StoreChanged(FAllowAllUp, Value))
        BroadcastGroup();
}

void TAdvCustomGlowButton::SetTransparent(bool Value)
{
    if (StoreChanged(FTransparent, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetLayout(AdvGlowButton::TButtonLayout Value)
{
    if (StoreChanged(FLayout, Value))
        ContentChanged();
}

void TAdvCustomGlowButton::SetDropDownButton(bool Value)
{
    if (!StoreChanged(FDropDownButton, Value))
        return;
    if (GetParent())
        GetParent()->Realign();
    Invalidate();
}

void TAdvCustomGlowButton::SetDropDownSplit(bool Value)
{
    if (StoreChanged(FDropDownSplit, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetDropDownPosition(TDropDownPosition Value)
{
    if (!StoreChanged(FDropDownPosition, Value))
        return;
    if (FDropDownButton && GetParent())
        GetParent()->Realign();
    Invalidate();
}

void TAdvCustomGlowButton::SetDropDownDirection(TDropDownDirection Value)
{
    if (StoreChanged(FDropDownDirection, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetShowCaption(bool Value)
{
    if (StoreChanged(FShowCaption, Value))
        ContentChanged();
}

void TAdvCustomGlowButton::SetAntiAlias(TAntiAlias Value)
{
    if (StoreChanged(FAntiAlias, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetBorderStyle(TBorderStyle Value)
{
    if (StoreChanged(FBorderStyle, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetPosition(TButtonPosition Value)
{
    if (StoreChanged(FButtonPosition, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetFocusType(TFocusType Value)
{
    if (StoreChanged(FFocusType, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetShowDisabled(bool Value)
{
    if (StoreChanged(FShowDisabled, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetSpacing(int Value)
{
    if (StoreChanged(FSpacing, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetAutoSize(bool Value)
{
    if (Value == GetAutoSize())
        return;
    TCustomControl::SetAutoSize(Value);
    ContentChanged();
}

void TAdvCustomGlowButton::SetWordWrap(bool Value)
{
    if (StoreChanged(FWordWrap, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetMarginVert(int Value)
{
    if (StoreChanged(FMarginVert, Value))
        ContentChanged();
}

void TAdvCustomGlowButton::SetMarginHorz(int Value)
{
    if (StoreChanged(FMarginHorz, Value))
        ContentChanged();
}

void TAdvCustomGlowButton::SetRounded(bool Value)
{
    if (StoreChanged(FRounded, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetTrimming(StringTrimming Value)
{
    if (StoreChanged(FTrimming, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetAlwaysShowAccel(bool Value)
{
    if (StoreChanged(FAlwaysShowAccel, Value))
        Invalidate();
}

void TAdvCustomGlowButton::SetWideCaption(const String& Value)
{
    if (StoreChanged(FWideCaption, Value))
        ContentChanged();
}

void TAdvCustomGlowButton::SetDefault(bool Value)
{
    FDefault = Value;
    if (HandleAllocated())
        FActive = Value;
}

void TAdvCustomGlowButton::SetShortCutHint(const String& Value)
{
    FShortCutHintText = Value;
    if (FShortCutHint)
        FShortCutHint->SetCaption(Value);
}

// --- size states ------------------------------------------------------------------------
void TAdvCustomGlowButton::SetMaxButtonSizeState(TButtonSizeState Value)
{
    if (!StoreChanged(FMaxButtonSizeState, Value))
        return;
    ApplySizeState(Value);
}

void TAdvCustomGlowButton::SetMinButtonSizeState(TButtonSizeState Value)
{
    if (!StoreChanged(FMinButtonSizeState, Value))
        return;
    if (FButtonSizeState < Value)
        ApplySizeState(Value);
}

void TAdvCustomGlowButton::ApplySizeState(TButtonSizeState Value)
{
    using namespace AdvGlowButton;
    if (FButtonSizeState == Value)
        return;
    if (FButtonSizeState == bsLarge) {
        FOldLayout = FLayout;
        FOldDropDownPosition = FDropDownPosition;
    }
    FButtonSizeState = Value;
    if (GetAutoSize()) {
        if (Value == bsLarge) {
            FLayout = FOldLayout;
            FDropDownPosition = FOldDropDownPosition;
        } else {
            FLayout = blGlyphLeft;
            FDropDownPosition = dpRight;
        }
    }
    FFirstPaint = true;
    Invalidate();
    if (HandleAllocated())
        Repaint();
}

void TAdvCustomGlowButton::ChangeScale(int M, int D)
{
    TCustomControl::ChangeScale(M, D);
    if (M != D)
        FNotesFont->SetHeight(MulDiv(FNotesFont->GetHeight(), M, D));
}

// --- actions ------------------------------------------------------------------------------
TBasicAction* TAdvCustomGlowButton::GetAction() const
{
    return FActionLink ? FActionLink->GetAction() : nullptr;
}

void TAdvCustomGlowButton::SetAction(TBasicAction* Value)
{
    if (!Value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink.reset(New<TAdvGlowButtonActionLink>(this));
    FActionLink->SetAction(Value);
    Value->FreeNotification(this);
    // The action's group, image and checked state, then a new measure.
    if (auto* action = dynamic_cast<TCustomAction*>(Value)) {
        if (FGroupIndex == 0)
            SetGroupIndex(action->GetGroupIndex());
        SetImageIndex(action->GetImageIndex());
        SetDown(action->GetChecked());
        if (action->GetCaption().size())
            SetCaption(action->GetCaption());
        SetEnabled(action->GetEnabled());
    }
    ContentChanged();
}

void TAdvCustomGlowButton::Click()
{
    if (TCustomForm* form = GetParentForm(this))
        form->SetModalResult(FModalResult);
    if (OnInternalClick)
        OnInternalClick(this);
    // With an action and no handler of its own, the button runs the action.
    if (!OnClick && FActionLink && FActionLink->GetAction()) {
        FActionLink->Execute(this);
        return;
    }
    TCustomControl::Click();
}
