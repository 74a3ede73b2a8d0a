// The third load pass: the skin-wide values of "GLOBALINFO", the two outer
// effects, every section with its three paint states, the sections of
// CommonSections, the palette and the colour adjustments.
//
// Keys are read with section inheritance: a key missing in a section is
// looked up in the section its "PARENTCLASS" names. Parent chains may loop
// (A names B, B names A); every read remembers the sections it has visited
// and ends with the default when it meets one again.
#include "sSkinLoaderParts.h"
#include "acShadow.h"
#include "acntUtils.h"
#include "sAlphaGraph.h"
#include "sGradient.h"
#include "sGraphUtils.h"
#include "sSkinManager.h"
#include "sWindowHelpers.h"
#include <climits>
#include <algorithm>

using namespace skinload;

namespace {

const String GlobalInfo = L"GLOBALINFO";
const String Absent = L"?";

// The readers of one option text. A read follows "PARENTCLASS" from
// section to section; each section's parent is found once. A chain longer
// than the number of sections has met a loop and ends there.
class TReaders {
public:
    explicit TReaders(const TacSkinIni& Ini) : ini(Ini)
    {
        parents.assign(static_cast<std::size_t>(ini.SectionCount()), -1);
        for (int i = 0; i < ini.SectionCount(); ++i) {
            String parent;
            if (ini.Find(i, L"PARENTCLASS", parent) && !parent.empty() && parent != Absent) {
                const int index = ini.FindSection(parent);
                parents[static_cast<std::size_t>(i)] = index == i ? -1 : index;
            }
        }
    }

    String Str(const String& Section, const String& Key, const String& Default) const
    {
        String value;
        return Found(ini.FindSection(Section), Key, value) ? value : Default;
    }

    bool Bool(const String& Section, const String& Key, bool Default) const
    {
        String value;
        if (!Found(ini.FindSection(Section), Key, value) || value == Absent)
            return Default;
        return value == L"TRUE" || value == L"1";
    }

    Integer Int(const String& Section, const String& Key, Integer Default, Integer Bound = INT_MAX,
                bool Raw = false) const
    {
        Integer value = -1;
        String text;
        int section = ini.FindSection(Section);
        for (int steps = 0; section >= 0 && steps <= ini.SectionCount(); ++steps, section = parents[section])
            if (ini.Find(section, Key, text)) {
                value = StrToIntDef(text, -1);
                // A negative value counts as missing.
                if (value >= 0)
                    break;
            }
        if (value < 0)
            value = Raw ? -1 : Default;
        return std::min(value, Bound);
    }

private:
    bool Found(int Section, const String& Key, String& Value) const
    {
        for (int steps = 0; Section >= 0 && steps <= ini.SectionCount(); ++steps, Section = parents[Section])
            if (ini.Find(Section, Key, Value))
                return true;
        return false;
    }

    const TacSkinIni& ini;
    std::vector<int> parents;
};

TsGeneralData DefaultSection()
{
    TsGeneralData section;
    section.States = 3;
    return section;
}

// The keys of one paint state, over Base.
void ReadState(const TReaders& r, const String& Section, int State, TsGenState& Target)
{
    static const wchar_t* const colorKeys[3] = {L"COLOR", L"HOTCOLOR", L"COLOR2"};
    static const wchar_t* const fontKeys[3] = {L"FONTCOLOR", L"HOTFONTCOLOR", L"FONTCOLOR2"};
    static const wchar_t* const contourKeys[3][4] = {{L"TCLEFT", L"TCTOP", L"TCRIGHT", L"TCBOTTOM"},
                                                     {L"HOTTCLEFT", L"HOTTCTOP", L"HOTTCRIGHT", L"HOTTCBOTTOM"},
                                                     {L"TCLEFT2", L"TCTOP2", L"TCRIGHT2", L"TCBOTTOM2"}};
    static const wchar_t* const glowColorKeys[3] = {L"GCOL", L"HGCOL", L"GCOL2"};
    static const wchar_t* const glowSizeKeys[3] = {L"GSIZE", L"HGSIZE", L"GSIZE2"};
    static const wchar_t* const gradientPercentKeys[3] = {L"GRADIENTPERCENT", L"HOTGRADIENTPERCENT", L"GRADIENTPERCENT2"};
    static const wchar_t* const gradientKeys[3] = {L"GRADIENTDATA", L"HOTGRADIENTDATA", L"GRADIENTDATA2"};
    static const wchar_t* const imagePercentKeys[3] = {L"IMAGEPERCENT", L"HOTIMAGEPERCENT", L"IMAGEPERCENT2"};
    static const wchar_t* const transparencyKeys[3] = {L"TRANSPARENCY", L"HOTTRANSPARENCY", L"TRANSPARENCY2"};

    Target.Color = r.Int(Section, colorKeys[State], Target.Color);
    Target.FontColor.Color = r.Int(Section, fontKeys[State], Target.FontColor.Color);
    TColor* contour[4] = {&Target.FontColor.Left, &Target.FontColor.Top, &Target.FontColor.Right,
                          &Target.FontColor.Bottom};
    for (int i = 0; i < 4; ++i)
        *contour[i] = r.Int(Section, contourKeys[State][i], *contour[i]);
    Target.GlowColor = r.Int(Section, glowColorKeys[State], Target.GlowColor);
    Target.GlowSize = r.Int(Section, glowSizeKeys[State], Target.GlowSize);
    Target.GradientPercent = r.Int(Section, gradientPercentKeys[State], Target.GradientPercent);
    const String gradient = r.Str(Section, gradientKeys[State], L" ");
    Target.GradientArray.clear();
    if (gradient.size() < 4)
        Target.GradientPercent = 0;
    else
        ParseGradientString(gradient, Target.GradientArray);
    Target.ImagePercent = r.Int(Section, imagePercentKeys[State], Target.ImagePercent);
    Target.Transparency = r.Int(Section, transparencyKeys[State], Target.Transparency);
}

// A common section's integer: "0x" for hexadecimal; missing or negative
// keeps Current.
Integer CommonInt(const TacSkinIni& Ini, int Section, const String& Key, Integer Current)
{
    String text;
    if (!Ini.Find(Section, Key, text))
        return Current;
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
        text.replace(0, 2, 1, L'$');
    const Integer value = StrToIntDef(text, -1);
    return value < 0 ? Current : value;
}

void ReadCommonState(const TacSkinIni& Ini, int Section, int State, TsGenState& Target)
{
    static const wchar_t* const colorKeys[3] = {L"COLOR", L"HOTCOLOR", L"COLOR2"};
    static const wchar_t* const fontKeys[3] = {L"FONTCOLOR", L"HOTFONTCOLOR", L"FONTCOLOR2"};
    static const wchar_t* const transparencyKeys[3] = {L"TRANSPARENCY", L"HOTTRANSPARENCY", L"TRANSPARENCY2"};
    static const wchar_t* const imagePercentKeys[3] = {L"IMAGEPERCENT", L"HOTIMAGEPERCENT", L"IMAGEPERCENT2"};
    static const wchar_t* const gradientPercentKeys[3] = {L"GRADIENTPERCENT", L"HOTGRADIENTPERCENT", L"GRADIENTPERCENT2"};
    Target.Color = CommonInt(Ini, Section, colorKeys[State], Target.Color);
    Target.FontColor.Color = CommonInt(Ini, Section, fontKeys[State], Target.FontColor.Color);
    Target.Transparency = CommonInt(Ini, Section, transparencyKeys[State], Target.Transparency);
    Target.ImagePercent = CommonInt(Ini, Section, imagePercentKeys[State], Target.ImagePercent);
    Target.GradientPercent = CommonInt(Ini, Section, gradientPercentKeys[State], Target.GradientPercent);
}

Cardinal WithAlpha(Cardinal Color)
{
    return Color | 0xFF000000;
}

} // namespace

void TsSkinManager::LoadAllGeneralData(const TacSkinSource& Source)
{
    if (Source.Ini) {
        const TacSkinIni& ini = *Source.Ini;
        const TReaders r(ini);
        const Integer scale = GetScale();
        const String suffix = ScaleSuffixes[scale];
        const int globalIndex = ini.FindSection(GlobalInfo);
        TsSkinData& d = CommonSkinData;
        auto plain = [&](const wchar_t* key, Integer def) { return ini.ReadInteger(GlobalInfo, key, def); };
        auto scaled = [&](const String& key, Integer def) {
            if (scale > 0) {
                String text;
                if (ini.Find(GlobalInfo, key + suffix, text))
                    return StrToIntDef(text, def * ScalePercents[scale] / 100);
            }
            return plain(key.c_str(), def) * ScalePercents[scale] / 100;
        };

        d.Author = ini.ReadString(GlobalInfo, L"AUTHOR", String());
        d.Description = ini.ReadString(GlobalInfo, L"DESCRIPTION", String());
        d.MainFont = ini.ReadString(GlobalInfo, L"MainFont", String());
        d.ExBorderWidth = plain(L"BORDERWIDTH", 4);
        d.ExTitleHeight = scaled(L"TITLEHEIGHT", 30);
        if (d.ExTitleHeight <= 0)
            d.ExTitleHeight = 30;
        d.ExMaxHeight = scaled(L"MAXHEIGHT", 0);
        if (d.ExMaxHeight <= 0)
            d.ExMaxHeight = d.ExTitleHeight;
        d.ExCenterOffs = scaled(L"CENTEROFFSET", 0);
        d.ExContentOffs = plain(L"FORMOFFSET", GetSystemMetrics(SM_CXFRAME));
        d.ExDrawMode = plain(L"BORDERMODE", 0);
        d.BrightMin = plain(L"BRIGHTMIN", -50);
        d.BrightMax = plain(L"BRIGHTMAX", 50);
        d.ExShadowOffs = plain(L"ALIGNOFFSET", 0);
        d.ExShadowOffsR = plain(L"ALIGNOFFSETR", d.ExShadowOffs);
        d.ExShadowOffsT = plain(L"ALIGNOFFSETT", d.ExShadowOffs);
        d.ExShadowOffsB = plain(L"ALIGNOFFSETB", d.ExShadowOffs);
        d.WndShadowRadius = ScaleInt(plain(L"WSHRAD", 17));
        d.WndShadowOffset = ScaleInt(plain(L"WSHOFFS", 2));
        d.WndShadowSize = ScaleInt(plain(L"WSHSIZE", 13));
        d.WndShadowColorN = static_cast<TColor>(plain(L"WSHCOLN", static_cast<Integer>(0x44000000)));
        d.WndShadowColorA = static_cast<TColor>(plain(L"WSHCOLA", static_cast<Integer>(0x99000000)));
        d.BISpacing = ScaleInt(plain(L"BISPACE", 0));
        d.BIVAlign = plain(L"BIVALIGN", 0);
        d.BIRightMargin = plain(L"BIRIGHT", 0);
        d.BILeftMargin = plain(L"BILEFT", 0);
        d.BITopMargin = plain(L"BITOP", 0);
        d.BIKeepHUE = plain(L"BIKEEPHUE", 0);
        d.UseAeroBluring = plain(L"AEROBLUR", 0) != 0;
        // One glow-frame count for the five large title glyphs, never more
        // frames than the section has keys to name them.
        const Integer glowKeys = globalIndex < 0 ? 0 : static_cast<Integer>(ini.Section(globalIndex).Keys.size());
        const Integer glowFrames = std::clamp<Integer>(plain(L"BICONCLOSEGLOW", 0), 0, glowKeys);
        for (int i = 0; i < GlowTitleGlyphCount; ++i) {
            ConstData.GlowMargins[i] = scaled(String(TitleGlyphNames[i]) + L"GLOWMARGIN", 0);
            ConstData.TitleGlows[i].assign(static_cast<std::size_t>(glowFrames), -1);
        }
        d.Shadow1Color = plain(L"SHADOW1COLOR", 0);
        d.Shadow1Offset = plain(L"SHADOW1OFFSET", 0);
        d.Shadow1Blur = plain(L"SHADOW1BLUR", -1);
        d.Shadow1Transparency = plain(L"SHADOW1TRANSPARENCY", 0);
        d.ComboBoxMargin = plain(L"COMBOMARGIN", 2);
        d.SliderMargin = plain(L"SLIDERMARGIN", 1);

        // The outer effects: entry 0 the light outline, entry 1 the shadow.
        oe.assign(2, TacOutEffData());
        {
            TacOutEffData& sh = oe[1];
            sh.WidthL = plain(L"SH_WIDTHL", -1);
            sh.WidthR = plain(L"SH_WIDTHR", -1);
            sh.WidthT = plain(L"SH_WIDTHT", -1);
            sh.WidthB = plain(L"SH_WIDTHB", -1);
            sh.OffsetL = ScaleInt(plain(L"SH_OFFSETL", 3));
            sh.OffsetR = ScaleInt(plain(L"SH_OFFSETR", 3));
            sh.OffsetT = ScaleInt(plain(L"SH_OFFSETT", 2));
            sh.OffsetB = ScaleInt(plain(L"SH_OFFSETB", 5));
            sh.ColorL = plain(L"SH_COLORL", 0);
            sh.ColorT = 0xFF00FF;
            sh.Opacity = plain(L"SH_OPACITY", 60);
            sh.Source = plain(L"SH_SOURCE", 2);
            sh.Radius = ScaleInt(plain(L"SH_RADIUS_OE", 9));
            sh.Blur = ScaleInt(plain(L"SH_BLUR_OE", 5));

            TacOutEffData& lo = oe[0];
            lo.ColorL = ColorToSkinColor(plain(L"LO_COLORL", 0xFFFFFF), this);
            lo.ColorR = ColorToSkinColor(plain(L"LO_COLORR", 0xFFFFFF), this);
            lo.ColorT = ColorToSkinColor(plain(L"LO_COLORT", 0), this);
            lo.ColorB = ColorToSkinColor(plain(L"LO_COLORB", 0xFFFFFF), this);
            lo.WidthL = plain(L"LO_WIDTHL", -1);
            lo.WidthR = plain(L"LO_WIDTHR", -1);
            lo.WidthT = plain(L"LO_WIDTHT", -1);
            lo.WidthB = plain(L"LO_WIDTHB", -1);
            lo.OffsetL = ScaleInt(plain(L"LO_OFFSETL", 2));
            lo.OffsetR = ScaleInt(plain(L"LO_OFFSETR", 2));
            lo.OffsetT = ScaleInt(plain(L"LO_OFFSETT", 2));
            lo.OffsetB = ScaleInt(plain(L"LO_OFFSETB", 4));
            lo.Radius = ScaleInt(plain(L"LO_RADIUS_OE", 9));
            lo.Blur = ScaleInt(plain(L"LO_BLUR_OE", 5));
            lo.Source = plain(L"LO_SOURCE", 2);
            lo.Opacity = plain(L"LO_OPACITY", 200);
        }
        static const wchar_t* const effectKeys[2] = {L"LO_MASK", L"SH_MASK"};
        for (int e = 0; e < 2; ++e) {
            TacOutEffData& effect = oe[e];
            for (Integer* width : {&effect.WidthL, &effect.WidthT, &effect.WidthR, &effect.WidthB})
                if (*width > 0)
                    *width = ScaleInt(*width);
            const String key = effectKeys[e];
            effect.Mask = -1;
            if (effect.Source == 1) {
                String value;
                bool plainKey = false;
                if (scale == 0 || !ini.Find(GlobalInfo, key + suffix, value)) {
                    plainKey = ini.Find(GlobalInfo, key, value);
                    if (!plainKey)
                        continue;
                }
                TsMaskData image;
                ParseBorderEntry(UpperCase(value), image);
                image.PropertyName = key;
                image.ClassName = GlobalInfo;
                image.SkinIndex = globalIndex;
                image.Manager = this;
                image.CornerType = 0;
                if (plainKey && scale > 0) {
                    // The unscaled image, resampled to the scale.
                    for (std::int16_t* v : {&image.WL, &image.WT, &image.WR, &image.WB, &image.BorderWidth})
                        *v = static_cast<std::int16_t>(ScaleInt(*v));
                    if (TBitmap* from = MasterBitmap; from && !image.R.IsEmpty()) {
                        TOwned<TBitmap> alpha;
                        if (image.MaskType == 1)
                            alpha.reset(MaskedImageToAlpha(from, image.R));
                        else {
                            alpha.reset(MakeBitmap32(image.R.Width(), image.R.Height()));
                            BitBlt(alpha->GetCanvas()->GetHandle(), 0, 0, image.R.Width(), image.R.Height(),
                                   from->GetCanvas()->GetHandle(), image.R.left, image.R.top, SRCCOPY);
                        }
                        if (alpha) {
                            const int w = ScaleInt(alpha->GetWidth()), h = ScaleInt(alpha->GetHeight());
                            TOwned<TBitmap> resized(MakeBitmap32(w, h));
                            ResampleBitmap(alpha.get(), resized.get(), w, h, 0);
                            if (image.MaskType == 1)
                                resized.reset(AlphaToMaskedImage(resized.get()));
                            if (resized) {
                                image.R = TRect(0, 0, resized->GetWidth(), resized->GetHeight());
                                image.Bmp = resized.release();
                            }
                        }
                    }
                }
                ma.push_back(std::move(image));
                effect.Mask = static_cast<Integer>(ma.size()) - 1;
            } else if (effect.Source == 2) {
                // The extra size of the shadow: the offsets of both sides of
                // each direction.
                TOwned<TBitmap> shadow(MakeShadowBitmap(0, effect.Radius, 0, effect.OffsetT + effect.OffsetB,
                                                        effect.OffsetL + effect.OffsetR, effect.Blur, true));
                const int w = shadow->GetWidth(), h = shadow->GetHeight();
                if (effect.WidthL == -1)
                    effect.WidthL = (w + effect.OffsetL - effect.OffsetR - 1) / 2;
                if (effect.WidthR == -1)
                    effect.WidthR = (w + effect.OffsetR - effect.OffsetL - 1) / 2;
                if (effect.WidthT == -1)
                    effect.WidthT = (h + effect.OffsetT - effect.OffsetB - 1) / 2;
                if (effect.WidthB == -1)
                    effect.WidthB = (h + effect.OffsetB - effect.OffsetT - 1) / 2;
                TOwned<TBitmap> bmp(MakeBitmap32(w, h * 2));
                BitBlt(bmp->GetCanvas()->GetHandle(), 0, h, w, h, shadow->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
                if (effect.ColorT == 0xFF00FF)
                    FillBitmap32Rect(bmp.get(), TRect(0, 0, w, h), effect.ColorL, 255);
                else {
                    FillBitmap32Rect(bmp.get(), TRect(0, 0, w, h / 2), effect.ColorT, 255);
                    FillBitmap32Rect(bmp.get(), TRect(0, h / 2, w, h), effect.ColorB, 255);
                    // Triangles from the side edges to the middle.
                    for (int y = 0; y < h; ++y) {
                        const int reach = std::min(y, h - 1 - y);
                        FillBitmap32Rect(bmp.get(), TRect(0, y, std::min(reach, w / 2), y + 1), effect.ColorL, 255);
                        FillBitmap32Rect(bmp.get(), TRect(w - std::min(reach, w / 2), y, w, y + 1), effect.ColorR, 255);
                    }
                }
                const Integer index = MakeNewItem(globalIndex, key, GlobalInfo, itisaBorder, TRect(0, 0, w, h * 2), 1, 1, 1);
                TsMaskData& image = ma[index];
                image.WL = static_cast<std::int16_t>(effect.WidthL);
                image.WT = static_cast<std::int16_t>(effect.WidthT);
                image.WR = static_cast<std::int16_t>(effect.WidthR);
                image.WB = static_cast<std::int16_t>(effect.WidthB);
                image.Bmp = bmp.release();
                effect.Mask = index;
            } else
                effect.Source = 0;
        }

        if (d.Version < 8.45)
            FVersionNotice = -1;
        else if (d.Version > 13.99)
            FVersionNotice = 1;
        d.TabsCovering = static_cast<Byte>(ini.ReadInteger(L"TABTOP", L"TABSCOVERING", 0));
        d.RibbonCovering = static_cast<Byte>(ini.ReadInteger(L"RIBBONTAB", L"TABSCOVERING", 0));
        d.ArrowStyle = static_cast<TacArrowsStyle>(std::clamp<Integer>(plain(L"ARROWSTYLE", 0), 0, arsDefault));

        // Sections in file order.
        gd.clear();
        for (int s = 0; s < ini.SectionCount(); ++s) {
            const String& name = ini.Section(s).Name;
            TsGeneralData section = DefaultSection();
            section.ClassName = name;
            section.ParentClass = ini.ReadString(name, L"PARENTCLASS", String());
            section.ReservedBoolean = r.Bool(name, L"RESERVEDBOOLEAN", false);
            section.GiveOwnFont = r.Bool(name, L"GIVEOWNFONT", false);
            section.ShiftOnClick = r.Bool(name, L"SHIFTCLICK", false);
            section.GlowCount = r.Int(name, L"GLOW", 0, 255);
            section.GlowMargin = r.Int(name, L"GLOWMARGIN", 0, 255);
            section.States = r.Int(name, L"STATES", 3, 255);
            section.OuterOffset = TRect(r.Int(name, L"OUTOFFSL", -1, 255, true), r.Int(name, L"OUTOFFST", -1, 255, true),
                                        r.Int(name, L"OUTOFFSR", -1, 255, true), r.Int(name, L"OUTOFFSB", -1, 255, true));
            section.OuterOpacity = r.Int(name, L"OUTOPACITY", 200, 255);
            section.OuterMode = r.Int(name, L"OUTERMODE", 2);
            section.UseState2 = r.Int(name, L"USESTATE2", 0) == 1;
            ReadState(r, name, 0, section.Props[0]);
            if (section.States < 2)
                section.Props[1] = section.Props[0];
            else
                ReadState(r, name, 1, section.Props[1]);
            if (section.UseState2)
                ReadState(r, name, 2, section.Props[2]);
            else
                section.Props[2] = section.Props[1];
            gd.push_back(std::move(section));
        }
    } else
        gd.clear();

    // Sections of CommonSections that the skin lacks.
    if (FCommonSections->Count() > 0) {
        const TacSkinIni common(FCommonSections->GetText());
        for (int s = 0; s < common.SectionCount(); ++s) {
            const String& name = common.Section(s).Name;
            if (GetSkinIndex(name) >= 0)
                continue;
            const String parentName = UpperCase(common.ReadString(name, L"PARENTCLASS", L"-1"));
            Integer parent = -1;
            for (std::size_t i = 0; i < gd.size() && parent < 0; ++i)
                if (UpperCase(gd[i].ClassName) == parentName)
                    parent = static_cast<Integer>(i);
            TsGeneralData section = parent >= 0 ? gd[parent] : DefaultSection();
            section.ClassName = name;
            section.ParentClass = parent >= 0 ? UpperCase(gd[parent].ClassName) : String();
            section.States = CommonInt(common, s, L"STATES", section.States);
            ReadCommonState(common, s, 0, section.Props[0]);
            if (section.States > 1)
                ReadCommonState(common, s, 1, section.Props[1]);
            else
                section.Props[1] = section.Props[0];
            section.UseState2 = CommonInt(common, s, L"USESTATE2", 0) == 1;
            if (section.UseState2)
                ReadCommonState(common, s, 2, section.Props[2]);
            else
                section.Props[2] = section.Props[1];
            auto flag = [&](const wchar_t* key, bool current) {
                String text;
                if (!common.Find(s, key, text))
                    return current;
                text = UpperCase(text);
                return text == L"1" || text == L"TRUE";
            };
            section.ReservedBoolean = flag(L"RESERVEDBOOLEAN", section.ReservedBoolean);
            section.GiveOwnFont = flag(L"GIVEOWNFONT", section.GiveOwnFont);
            section.GlowCount = CommonInt(common, s, L"GLOW", section.GlowCount);
            section.GlowMargin = CommonInt(common, s, L"GLOWMARGIN", section.GlowMargin);
            gd.push_back(std::move(section));
        }
    }

    // The palette.
    {
        TColor* p = Palette;
        auto key = [&](const wchar_t* name, Integer def) {
            return Source.Ini ? Source.Ini->ReadInteger(GlobalInfo, name, def) : def;
        };
        // Button colours are 32-bit values that may exceed the signed range.
        auto buttonKey = [&](const wchar_t* name, Cardinal def) -> TColor {
            String text;
            if (!Source.Ini || !Source.Ini->Find(GlobalInfo, name, text))
                return static_cast<TColor>(def);
            return static_cast<TColor>(static_cast<Cardinal>(StrToInt64(text) & 0xFFFFFFFF));
        };
        auto sectionOf = [&](const wchar_t* name) { return GetSkinIndex(name); };

        p[pcMainColor] = key(L"COLOR", ColorToRGB(clBtnFace));
        p[pcLabelText] = key(L"FONTCOLOR", 0);
        p[pcWebText] = key(L"TCBOTTOM", 0xFF0000);
        p[pcWebTextHot] = key(L"TCTOP", 0x0000FF);
        if (const Integer edit = sectionOf(L"EDIT"); edit >= 0) {
            p[pcEditText] = ColorToRGB(gd[edit].Props[0].FontColor.Color);
            p[pcEditBG] = ColorToRGB(gd[edit].Props[0].Color);
        } else {
            p[pcEditText] = ColorToRGB(clWindowText);
            p[pcEditBG] = ColorToRGB(clWindow);
        }
        if (const Integer sel = sectionOf(L"SELECTION"); sel >= 0) {
            const TsGeneralData& s = gd[sel];
            const TsGenState& focused = s.States < 2 ? s.Props[0] : s.Props[1];
            p[pcSelectionBG] = s.Props[0].Color;
            p[pcSelectionText] = s.Props[0].FontColor.Color;
            p[pcSelectionBG_Focused] = focused.Color;
            p[pcSelectionText_Focused] = focused.FontColor.Color;
        } else
            p[pcSelectionBG] = p[pcSelectionText] = p[pcSelectionBG_Focused] = p[pcSelectionText_Focused] = -1;
        if (p[pcSelectionText] == -1 || p[pcSelectionText] == 0xFF00FF) {
            if (const Integer menu = sectionOf(L"MENUITEM"); menu >= 0) {
                const TsGenState& hot = gd[menu].Props[1];
                p[pcSelectionBG] = p[pcSelectionBG_Focused] = hot.Color;
                const TColor text = hot.FontColor.Color;
                p[pcSelectionText] = text == -1 || text == 0xFF00FF ? static_cast<TColor>(0xFF00000E) : ColorToRGB(text);
                p[pcSelectionText_Focused] = p[pcSelectionText];
            } else {
                p[pcSelectionText] = p[pcSelectionText_Focused] = ColorToRGB(clHighlightText);
                p[pcSelectionBG] = p[pcSelectionBG_Focused] = ColorToRGB(clHighlight);
            }
        }
        p[pcEditBG_Inverted] = key(L"EDITBG_INV", p[pcEditText]);
        p[pcEditText_Inverted] = key(L"EDITTEXT_INV", p[pcEditBG]);
        p[pcEditBG_OddRow] = key(L"EDITBG_ODD", p[pcEditBG]);
        p[pcEditBG_EvenRow] = key(L"EDITBG_EVEN", MixColors(p[pcEditText], p[pcEditBG], 13));
        p[pcEditText_Ok] = key(L"EDITTEXT_OK", 0x404000);
        p[pcEditText_Warning] = key(L"EDITTEXT_WARN", 0x004C4C);
        p[pcEditText_Alert] = p[pcEditText_Caution] = p[pcEditText_Bypassed] = key(L"EDITTEXT_ALERT", 0x00006C);
        p[pcEditBG_Ok] = key(L"EDITBG_OK", 0xC9FFD2);
        p[pcEditBG_Warning] = key(L"EDITBG_WARN", 0xBAFFFF);
        p[pcEditBG_Alert] = p[pcEditBG_Caution] = p[pcEditBG_Bypassed] = key(L"EDITBG_ALERT", 0xDBDBFF);
        p[pcEditText_Highlight1] = key(L"EDITTEXT_H1", 0);
        p[pcEditText_Highlight2] = key(L"EDITTEXT_H2", 0);
        p[pcEditText_Highlight3] = key(L"EDITTEXT_H3", 0);
        p[pcBorder] = key(L"BORDERCOLOR", 0);
        const Cardinal main = static_cast<Cardinal>(p[pcMainColor]);
        p[pcBtnColor1Active] = buttonKey(L"BTNCOLOR1ACTIVE", WithAlpha(MixColors(main, 0xFFFFFF, 177)));
        p[pcBtnColor2Active] = buttonKey(L"BTNCOLOR2ACTIVE", WithAlpha(main));
        p[pcBtnBorderActive] = key(L"BTNBORDERACTIVE", p[pcBorder]);
        p[pcBtnFontActive] = key(L"BTNFONTACTIVE", p[pcLabelText]);
        p[pcBtnColor1Normal] = buttonKey(L"BTNCOLOR1NORMAL", WithAlpha(main));
        p[pcBtnColor2Normal] = buttonKey(L"BTNCOLOR2NORMAL", WithAlpha(MixColors(main, 0, 244)));
        p[pcBtnBorderNormal] = key(L"BTNBORDERNORMAL", p[pcBorder]);
        p[pcBtnFontNormal] = key(L"BTNFONTNORMAL", p[pcLabelText]);
        p[pcBtnColor1Pressed] = buttonKey(L"BTNCOLOR1PRESSED", WithAlpha(MixColors(main, 0, 233)));
        p[pcBtnColor2Pressed] = buttonKey(L"BTNCOLOR2PRESSED", WithAlpha(MixColors(main, 0, 233)));
        p[pcBtnBorderPressed] = key(L"BTNBORDERPRESSED", p[pcBorder]);
        p[pcBtnFontPressed] = key(L"BTNFONTPRESSED", p[pcLabelText]);
        p[pcBtnToneRed] = key(L"COLORTONERED", 0xD5D5FF);
        p[pcBtnToneGreen] = key(L"COLORTONEGREEN", 0xE1FFD2);
        p[pcBtnToneBlue] = key(L"COLORTONEBLUE", 0xFFEDC9);
        p[pcBtnToneRedActive] = key(L"COLORTONEREDACTIVE", p[pcBtnToneRed]);
        p[pcBtnToneGreenActive] = key(L"COLORTONEGREENACTIVE", p[pcBtnToneGreen]);
        p[pcBtnToneBlueActive] = key(L"COLORTONEBLUEACTIVE", p[pcBtnToneBlue]);
        p[pcBtnRedText] = key(L"COLORTONEREDTEXT", 0x0000B4);
        p[pcBtnGreenText] = key(L"COLORTONEGREENTEXT", 0x28851A);
        p[pcBtnBlueText] = key(L"COLORTONEBLUETEXT", 0xAE7400);
        p[pcBtnRedTextActive] = key(L"COLORTONEREDTEXTACTIVE", p[pcBtnRedText]);
        p[pcBtnGreenTextActive] = key(L"COLORTONEGREENTEXTACTIVE", p[pcBtnGreenText]);
        p[pcBtnBlueTextActive] = key(L"COLORTONEBLUETEXTActive", p[pcBtnBlueText]);
        p[pcGrid] = key(L"GRIDLINE", -1);
        if (p[pcGrid] == -1)
            p[pcGrid] = MixColors(p[pcEditText], p[pcEditBG], 30);
        if (const Integer hint = sectionOf(L"HINT"); hint >= 0) {
            p[pcHintBG] = ColorToRGB(gd[hint].Props[0].Color);
            p[pcHintText] = ColorToRGB(gd[hint].Props[0].FontColor.Color);
        } else {
            p[pcHintBG] = ColorToRGB(clInfoBk);
            p[pcHintText] = ColorToRGB(clInfoText);
        }
        CreateBrushes();
    }

    if (GetSkinIndex(L"TRANSPARENT") < 0)
        AddNewSection(L"TRANSPARENT", -1, 1, 100, 0xFFFFFF, Palette[pcLabelText]);
    if (GetSkinIndex(L"MAINCOLOR") < 0)
        AddNewSection(L"MAINCOLOR", -1, 1, 0, Palette[pcMainColor], Palette[pcLabelText]);

    ChangeSkinHue(FHueOffset);
    ChangeSkinSaturation(FSaturation);
    ChangeSkinBrightness(FBrightness);
}
