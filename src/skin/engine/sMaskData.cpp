// The skin tables: look-ups by name and index, sections and images added,
// and the two passes that cache the indexes painting asks for.
//
// Every parent search follows ParentClass names; a section may name itself
// or form a loop with others, so each search remembers the sections it has
// visited and ends with -1 when it meets one again.
#include "sSkinManager.h"
#include "sGraphUtils.h"
#include "sMessages.h"
#include <set>

namespace {

const String GlobalInfoName = L"GLOBALINFO";

bool IsOwnedByExtFile(const TsSkinManager& m, const TBitmap* bmp)
{
    for (const TacExtFileData& ext : m.ExtArray)
        if (ext.Bmp == bmp)
            return true;
    return false;
}

} // namespace

Integer TsSkinManager::GetSkinIndex(const String& SkinSection) const
{
    if (SkinSection.empty())
        return -1;
    for (std::size_t i = 0; i < gd.size(); ++i)
        if (gd[i].ClassName == SkinSection)
            return static_cast<Integer>(i);
    return -1;
}

Integer TsSkinManager::GetMaskIndex(const String& SkinSection, const String& Mask) const
{
    if (SkinSection.empty())
        return -1;
    for (std::size_t i = 0; i < ma.size(); ++i)
        if (ma[i].ClassName == SkinSection && ma[i].PropertyName == Mask)
            return static_cast<Integer>(i);
    return -1;
}

Integer TsSkinManager::GetMaskIndex(Integer SkinIndex, const String& Mask) const
{
    std::set<Integer> visited;
    while (SkinIndex >= 0 && visited.insert(SkinIndex).second) {
        for (std::size_t i = 0; i < ma.size(); ++i)
            if (ma[i].SkinIndex == SkinIndex && ma[i].PropertyName == Mask)
                return static_cast<Integer>(i);
        if (!IsValidSkinIndex(SkinIndex) || gd[SkinIndex].ParentClass.empty())
            return -1;
        SkinIndex = GetSkinIndex(gd[SkinIndex].ParentClass);
    }
    return -1;
}

Integer TsSkinManager::GetMaskIndex(Integer SkinIndex, const String& SkinSection, const String& Mask) const
{
    std::set<Integer> visited;
    String section = SkinSection;
    while (SkinIndex >= 0 && visited.insert(SkinIndex).second) {
        for (std::size_t i = 0; i < ma.size(); ++i)
            if (ma[i].SkinIndex == SkinIndex && ma[i].PropertyName == Mask)
                return static_cast<Integer>(i);
        if (!IsValidSkinIndex(SkinIndex))
            return -1;
        const String& parent = gd[SkinIndex].ParentClass;
        if (parent.empty() || parent == section)
            return -1;
        section = parent;
        SkinIndex = GetSkinIndex(parent);
    }
    return -1;
}

Integer TsSkinManager::GetTextureIndex(Integer aSkinIndex, const String& SkinSection, const String& PropName) const
{
    if (ma.empty())
        return -1;
    std::set<Integer> visited;
    String section = SkinSection;
    while (aSkinIndex >= 0 && !section.empty() && visited.insert(aSkinIndex).second) {
        for (std::size_t i = 0; i < ma.size(); ++i)
            if (ma[i].ImgType == itisaTexture && ma[i].PropertyName == PropName && ma[i].ClassName == section)
                return static_cast<Integer>(i);
        if (!IsValidSkinIndex(aSkinIndex))
            return -1;
        const String& parent = gd[aSkinIndex].ParentClass;
        if (parent.empty() || parent == section)
            return -1;
        section = parent;
        aSkinIndex = GetSkinIndex(parent);
    }
    return -1;
}

Integer TsSkinManager::GetTextureIndex(Integer aSkinIndex, const String& PropName) const
{
    std::set<Integer> visited;
    while (aSkinIndex >= 0 && visited.insert(aSkinIndex).second) {
        for (std::size_t i = 0; i < ma.size(); ++i)
            if (ma[i].ImgType == itisaTexture && ma[i].SkinIndex == aSkinIndex && ma[i].PropertyName == PropName)
                return static_cast<Integer>(i);
        if (!IsValidSkinIndex(aSkinIndex) || gd[aSkinIndex].ParentClass.empty())
            return -1;
        aSkinIndex = GetSkinIndex(gd[aSkinIndex].ParentClass);
    }
    return -1;
}

void TsSkinManager::GetSkinSections(TStrings* sl) const
{
    sl->Clear();
    if (CommonSkinData.Active)
        for (const TsGeneralData& section : gd)
            sl->Add(section.ClassName);
}

Integer TsSkinManager::AddNewSection(const String& AName, Integer AParentSection, Integer AStates,
                                     Integer ATransparency, TColor AColor, TColor AFontColor)
{
    TsGeneralData section;
    // An index that is no section means no parent.
    if (IsValidSkinIndex(AParentSection))
        section = gd[AParentSection];   // the gradient arrays are copied, not shared
    else {
        // Painters take States as a count.
        section.States = std::max<Integer>(AStates, 1);
        for (TsGenState& state : section.Props) {
            state.Transparency = ATransparency;
            state.Color = AColor;
            state.FontColor.Color = AFontColor;
            state.FontColor.Left = state.FontColor.Top = state.FontColor.Right = state.FontColor.Bottom = -1;
        }
    }
    section.ClassName = AName;
    section.ParentClass.clear();
    gd.push_back(std::move(section));
    return static_cast<Integer>(gd.size()) - 1;
}

Integer TsSkinManager::MakeNewItem(Integer SkinIndex, const String& PropertyName, const String& AClassName,
                                   TacImgType ImgType, const TRect& R, Integer Count, Integer DrawMode,
                                   Integer Masktype)
{
    TsMaskData image;
    image.SkinIndex = SkinIndex;
    image.PropertyName = PropertyName;
    image.ClassName = AClassName;
    image.ImgType = ImgType;
    image.R = R;
    image.ImageCount = static_cast<std::int16_t>(Count);
    image.DrawMode = static_cast<std::int16_t>(DrawMode);
    image.MaskType = static_cast<std::int16_t>(Masktype);
    image.Manager = this;
    ma.push_back(std::move(image));
    return static_cast<Integer>(ma.size()) - 1;
}

TPoint TsSkinManager::GetMaskSize(Integer ImageIndex) const
{
    return IsValidImgIndex(ImageIndex) ? TPoint(ma[ImageIndex].Width, ma[ImageIndex].Height) : TPoint();
}

void TsSkinManager::CreateBrushes()
{
    for (int i = 0; i < 6; ++i)
        Brushes[i].Reset(CreateSolidBrush(ColorToRGB(Palette[i])));
}

void TsSkinManager::FreeSkinTables()
{
    for (TsMaskData& image : ma)
        if (image.Bmp && !IsOwnedByExtFile(*this, image.Bmp))
            FreeAndNil(image.Bmp);
    ma.clear();
    for (TacExtFileData& ext : ExtArray)
        FreeAndNil(ext.Bmp);
    ExtArray.clear();
    FreeAndNil(MasterBitmap);
    gd.clear();
}

// ---------------------------------------------------------------------------
void TsSkinManager::InitMaskIndexes()
{
    const Integer globalInfo = GetSkinIndex(GlobalInfoName);
    for (Integer i = 0; i < static_cast<Integer>(gd.size()); ++i) {
        if (i == globalInfo)
            continue;
        TsGeneralData& section = gd[i];
        section.BorderIndex = GetMaskIndex(i, L"BORDERSMASK");
        section.OuterMask = GetMaskIndex(i, L"OUTERMASK");
        section.ImgTL = GetMaskIndex(i, L"IMGTOPLEFT");
        section.ImgTR = GetMaskIndex(i, L"IMGTOPRIGHT");
        section.ImgBL = GetMaskIndex(i, L"IMGBTMLEFT");
        section.ImgBR = GetMaskIndex(i, L"IMGBTMRIGHT");
        section.Props[0].TextureIndex = GetTextureIndex(i, section.ClassName, L"PATTERN");
        if (section.States > 1)
            section.Props[1].TextureIndex = GetTextureIndex(i, section.ClassName, L"HOTPATTERN");
        if (section.States > 2 && section.UseState2)
            section.Props[2].TextureIndex = GetTextureIndex(i, section.ClassName, L"PATTERN2");
        else
            section.Props[2].TextureIndex = section.Props[1].TextureIndex;

        if (!IsValidImgIndex(section.BorderIndex))
            section.ScrollBorderOffset = -2;
        else {
            const TsMaskData& border = ma[section.BorderIndex];
            const bool thin = border.WL == 1 && border.WT == 1 && border.WR == 1 && border.WB == 1;
            const bool edit = section.ClassName == L"EDIT" || section.ClassName == L"ALPHAEDIT";
            section.ScrollBorderOffset = edit && thin ? -1 : 0;
        }
    }
    for (TsMaskData& image : ma) {
        image.Width = image.ImageCount == 0 ? 0 : image.R.Width() / image.ImageCount;
        image.Height = image.MaskType < 0 ? 0 : image.R.Height() / (image.MaskType + 1);
        if (image.ImageCount == 0) {
            const std::int16_t vertical = static_cast<std::int16_t>(image.BorderWidth > 0 ? image.BorderWidth : image.Height);
            const std::int16_t horizontal = static_cast<std::int16_t>(image.BorderWidth > 0 ? image.BorderWidth : image.Width);
            if (image.WT <= 0)
                image.WT = vertical;
            if (image.WB <= 0)
                image.WB = vertical;
            if (image.WL <= 0)
                image.WL = horizontal;
            if (image.WR <= 0)
                image.WR = horizontal;
            image.ImageCount = 1;
        }
    }
}

// An image of a scale other than 100 % is either an entry of its own (its
// name carries the scale suffix) or made here from the plain image, once.
Integer TsSkinManager::GetScaledImage(const String& Name, Integer SectionIndex, bool NewBitmap)
{
    if (SectionIndex < 0)
        SectionIndex = GetSkinIndex(GlobalInfoName);
    if (SectionIndex < 0)
        return -1;
    const Integer scale = GetScale();
    const Integer suffixed = GetMaskIndex(SectionIndex, Name + ScaleSuffixes[scale]);
    if (suffixed >= 0 || scale == 0)
        return suffixed;
    const Integer index = GetMaskIndex(SectionIndex, Name);
    if (index < 0)
        return -1;
    TsMaskData& image = ma[index];
    if (image.Scaled || image.MaskType < 0)
        return index;
    TBitmap* owner = image.Bmp ? image.Bmp : MasterBitmap;
    if (!owner || image.R.IsEmpty())
        return index;

    const int count = std::max<int>(image.ImageCount, 1);
    const int frameWidth = image.R.Width() / count;
    // The image's part of its bitmap, as a bitmap of its own.
    TOwned<TBitmap> source(MakeBitmap32(image.R.Width(), image.R.Height()));
    BitBlt(source->GetCanvas()->GetHandle(), 0, 0, image.R.Width(), image.R.Height(),
           owner->GetCanvas()->GetHandle(), image.R.left, image.R.top, SRCCOPY);
    int targetWidth = ScaleInt(frameWidth) * count;
    int targetHeight = 0;
    if (NewBitmap)
        targetHeight = ScaleInt(image.R.Height());
    else if (image.MaskType >= 1) {
        const int bands = image.MaskType + 1;
        targetHeight = ScaleInt(image.R.Height() / bands) * bands;
    } else {
        // A plain image becomes a masked one: the colours above, the mask
        // below; key pixels take the main colour, transparent, and a white mask.
        const int w = image.R.Width(), h = image.R.Height();
        TOwned<TBitmap> masked(MakeBitmap32(w, h * 2));
        const DWORD main = SwapRedBlue(ColorToRGB(Palette[pcMainColor])) & 0xFFFFFF;
        for (int y = 0; y < h; ++y) {
            auto* src = static_cast<DWORD*>(source->GetScanLine(y));
            auto* top = static_cast<DWORD*>(masked->GetScanLine(y));
            auto* bottom = static_cast<DWORD*>(masked->GetScanLine(y + h));
            for (int x = 0; x < w; ++x) {
                if ((src[x] & 0xFFFFFF) == 0xFF00FF) {
                    top[x] = main;
                    bottom[x] = 0xFFFFFF;
                } else {
                    top[x] = src[x];
                    bottom[x] = 0;
                }
            }
        }
        source = std::move(masked);
        targetHeight = 2 * ScaleInt(h);
    }
    TOwned<TBitmap> target(MakeBitmap32(targetWidth, targetHeight));
    ResampleBitmap(source.get(), target.get(), targetWidth, targetHeight, 6);
    if (!NewBitmap)
        image.MaskType = 1;
    if (image.Bmp && !IsOwnedByExtFile(*this, image.Bmp))
        FreeAndNil(image.Bmp);
    image.Bmp = target.release();
    image.R = TRect(0, 0, targetWidth, targetHeight);
    image.Scaled = true;
    return index;
}

void TsSkinManager::FillElement(TacConstElementData& Element, const String& Name, const wchar_t* Fallback1,
                                const wchar_t* Fallback2, bool ScaledGlyph)
{
    Element.SkinSection = Name;
    Element.SkinIndex = GetSkinIndex(Name);
    for (const wchar_t* fallback : {Fallback1, Fallback2}) {
        if (Element.SkinIndex >= 0 || !fallback)
            break;
        if ((Element.SkinIndex = GetSkinIndex(fallback)) >= 0)
            Element.SkinSection = fallback;
    }
    Element.MaskIndex = GetMaskIndex(Element.SkinIndex, Element.SkinSection, L"BORDERSMASK");
    Element.BGIndex[0] = GetTextureIndex(Element.SkinIndex, Element.SkinSection, L"PATTERN");
    Element.BGIndex[1] = GetTextureIndex(Element.SkinIndex, Element.SkinSection, L"HOTPATTERN");
    if (Element.SkinIndex < 0)
        Element.GlyphIndex = -1;
    else
        Element.GlyphIndex = ScaledGlyph ? GetScaledImage(L"GLYPHMASK", Element.SkinIndex, false)
                                         : GetMaskIndex(Element.SkinIndex, L"GLYPHMASK");
}

void TsSkinManager::InitConstantIndexes()
{
    TConstantSkinData& c = ConstData;
    const bool hasSkin = !gd.empty();
    c.IndexGLobalInfo = GetSkinIndex(GlobalInfoName);
    const Integer g = c.IndexGLobalInfo;
    auto scaled = [&](const String& name) { return g < 0 ? -1 : GetScaledImage(name, g, false); };
    auto plain = [&](const String& name) { return g < 0 ? -1 : GetMaskIndex(g, name); };

    for (int i = 0; i < 3; ++i) {
        c.CheckBox[i] = scaled(CheckBoxSectionNames[i]);
        c.SmallCheckBox[i] = scaled(SmallCheckBoxSectionNames[i]);
    }
    for (int i = 0; i < 2; ++i)
        c.RadioButton[i] = scaled(RadioSectionNames[i]);

    // The border image is used as it is at every scale.
    c.ExBorder = g < 0 ? -1 : GetMaskIndex(g, String(L"EXBORDER") + ScaleSuffixes[GetScale()]);
    if (c.ExBorder < 0)
        c.ExBorder = plain(L"EXBORDER");
    c.GripRightBottom = scaled(L"GRIPIMAGE");
    c.GripHorizontal = plain(L"GRIPHORZ");
    c.GripVertical = plain(L"GRIPVERT");

    FillElement(c.MenuItem, L"MENUITEM", nullptr, nullptr, true);
    FillElement(c.ComboBtn, L"COMBOBTN", nullptr, nullptr, true);
    for (int i = 0; i < 16; ++i)
        FillElement(c.Tabs[i], TabSectionNames[i], nullptr, nullptr, true);
    for (int i = 0; i < 2; ++i)
        FillElement(c.Sliders[i], ScrollSliderSectionNames[i], nullptr, nullptr, true);
    for (int side = asLeft; side <= asBottom; ++side) {
        FillElement(c.ScrollBtns[side], ScrollBtnSectionNames[side], nullptr, nullptr, false);
        FillElement(c.Scrolls[side], ScrollBarSectionNames[side], nullptr, nullptr, false);
        FillElement(c.UpDownBtns[side], UpDownBtnSectionNames[side], L"UPDOWNBTN", L"BUTTON", false);
    }
    c.ComboBtn.GlyphIndex = GetMaskIndex(String(L"COMBOBOX"), String(L"GLYPHMASK"));

    const Integer trackBar = GetSkinIndex(L"TRACKBAR");
    for (int i = 0; i < 2; ++i) {
        TacTrackBarData& t = c.TrackBar[i];
        t.SkinIndex = trackBar;
        t.MaskIndex = GetMaskIndex(trackBar, L"TRACKBAR", L"BORDERSMASK");
        t.ProgressIndex = trackBar < 0 ? -1 : GetMaskIndex(trackBar, ProgressMaskNames[i]);
        t.TickIndex = trackBar < 0 ? -1 : GetScaledImage(TickImageNames[i], trackBar, false);
        t.ChannelIndex = trackBar < 0 ? -1 : GetMaskIndex(trackBar, L"SLIDERCHANNEL");
        t.SliderIndex = -1;
        if (trackBar >= 0) {
            if (i == 0)
                t.SliderIndex = GetScaledImage(L"SLIDERVMASK", trackBar, false);
            if (t.SliderIndex < 0)
                t.SliderIndex = GetScaledImage(L"SLIDERMASK", trackBar, false);
        }
        t.BGIndex = GetTextureIndex(trackBar, L"TRACKBAR", L"PATTERN");
        t.HotBGIndex = GetTextureIndex(trackBar, L"TRACKBAR", L"HOTPATTERN");
        t.Reserved = 0;
    }

    for (int i = 0; i < TitleGlyphCount; ++i)
        c.TitleGlyphs[i] = TitleGlyphNames[i][0] ? scaled(TitleGlyphNames[i]) : -1;
    const bool closeAloneMissing = c.TitleGlyphs[tgCloseAlone] < 0;
    if (closeAloneMissing)
        c.TitleGlyphs[tgCloseAlone] = c.TitleGlyphs[tgClose];
    for (int i = tgSmallClose; i <= tgSmallHelp; ++i)
        if (c.TitleGlyphs[i] < 0)
            c.TitleGlyphs[i] = c.TitleGlyphs[i - tgSmallClose + tgClose];

    for (int i = 0; i < GlowTitleGlyphCount; ++i)
        for (std::size_t j = 0; j < c.TitleGlows[i].size(); ++j)
            c.TitleGlows[i][j] =
                g < 0 ? -1 : GetScaledImage(String(TitleGlyphNames[i]) + L"GLOW" + IntToStr(static_cast<int>(j)), g, true);
    if (closeAloneMissing) {
        c.GlowMargins[tgCloseAlone] = c.GlowMargins[tgClose];
        c.TitleGlows[tgCloseAlone] = c.TitleGlows[tgClose];
    }

    for (int i = 0; i < SectionCount; ++i)
        c.Sections[i] = GetSkinIndex(SectionNames[i]);

    InitMaskIndexes();

    // A removed skin gets no stand-in sections: the table stays empty.
    if (!hasSkin) {
        CheckShadows();
        return;
    }
    for (int i = FirstFallbackSection; i < SectionCount; ++i) {
        if (c.Sections[i] >= 0)
            continue;
        const int fallback = SectionFallbacks[i - FirstFallbackSection];
        if (fallback == i)
            continue;
        c.Sections[i] = c.Sections[fallback];
        if (c.Sections[fallback] >= 0)
            AddNewSection(SectionNames[i], c.Sections[fallback], 0, 0, 0, 0);
        else
            AddNewSection(SectionNames[i], -1, -1, -1, -1, -1);
    }
    CheckShadows();
}
