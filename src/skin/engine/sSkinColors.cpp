// Hue, saturation and brightness of a loaded skin, and the form shadow
// templates.
//
// An adjustment is applied once, at the end of a load, to the colours the
// skin's files gave: changing a property reloads the skin, so adjustments
// never stack.
#include "sSkinManager.h"
#include "ScopeExit.h"
#include "acMessageBox.h"
#include "acShadow.h"
#include "sAlphaGraph.h"
#include "sGraphUtils.h"
#include "sGraphUtilsRows.h"
#include <set>

namespace {

const String GlobalInfo = L"GLOBALINFO";

// The palette entries that follow hue and saturation.
constexpr TacPaletteColors AdjustedPalette[] = {
    pcMainColor, pcLabelText, pcWebText, pcEditText, pcEditBG, pcSelectionBG, pcSelectionText,
    pcSelectionBG_Focused, pcSelectionText_Focused, pcEditBG_Inverted, pcEditText_Inverted, pcEditBG_OddRow,
    pcEditBG_EvenRow, pcBtnColor1Active, pcBtnColor2Active, pcBtnBorderActive, pcBtnFontActive,
    pcBtnColor1Normal, pcBtnColor2Normal, pcBtnBorderNormal, pcBtnFontNormal, pcBtnColor1Pressed,
    pcBtnColor2Pressed, pcBtnBorderPressed, pcBtnFontPressed, pcBorder, pcGrid, pcHintBG, pcHintText};

// Every section colour that is not -1, through Change.
template <class F>
void ForEachSectionColor(TsSkinManager& m, F Change, bool AllGradients)
{
    for (TsGeneralData& section : m.gd)
        for (TsGenState& state : section.Props) {
            for (TColor* c : {&state.Color, &state.GlowColor, &state.FontColor.Color, &state.FontColor.Left,
                              &state.FontColor.Top, &state.FontColor.Right, &state.FontColor.Bottom})
                if (*c != -1)
                    *c = Change(*c);
            if (AllGradients || state.GradientPercent > 0)
                for (TsGradPoint& point : state.GradientArray)
                    point.Color.C = Change(point.Color.C);
        }
}

// The palette keeps the top byte (the alpha of a button colour) of the
// entries it adjusts; a system colour stored as such stays.
template <class F>
void AdjustPalette(TsSkinManager& m, F Change)
{
    for (TacPaletteColors entry : AdjustedPalette) {
        const Cardinal value = static_cast<Cardinal>(m.Palette[entry]);
        if (m.Palette[entry] == -1 || value == 0xFF00000E)
            continue;
        m.Palette[entry] = static_cast<TColor>((value & 0xFF000000) | (Change(value & 0xFFFFFF) & 0xFFFFFF));
    }
}

std::set<TBitmap*> ExternalBitmaps(const TsSkinManager& m)
{
    std::set<TBitmap*> bitmaps;
    for (const TacExtFileData& ext : m.ExtArray)
        if (ext.Bmp)
            bitmaps.insert(ext.Bmp);
    return bitmaps;
}

TRect ClipToBitmap(const TRect& R, TBitmap* Bmp)
{
    TRect r = R;
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, Bmp->GetWidth());
    r.bottom = std::min<LONG>(r.bottom, Bmp->GetHeight());
    return r;
}

void CopyRows(TBitmap* Target, TBitmap* Source, const TRect& R)
{
    TPixelRows to = PixelRows32(Target), from = PixelRows32(Source);
    if (!to || !from)
        return;
    const TRect r = ClipToBitmap(ClipToBitmap(R, Target), Source);
    for (int y = r.top; y < r.bottom; ++y)
        std::copy(from.Row(y) + r.left, from.Row(y) + r.right, to.Row(y) + r.left);
}

} // namespace

void TsSkinManager::ChangeSkinHue(Integer Degrees)
{
    if (Degrees == 0)
        return;
    std::set<TBitmap*> keep;
    if (MasterBitmap) {
        if (CommonSkinData.BIKeepHUE < 1)
            ForEachBitmapPixel(MasterBitmap, HuePixelProc, Degrees, 0xFF00FF);
        else {
            // The title glyphs keep their colours: their rectangles of the
            // master bitmap are copied back over the shifted pixels.
            TOwned<TBitmap> shifted(MakeBitmap32Like(MasterBitmap));
            DuplicateBitmap(shifted.get(), MasterBitmap);
            ForEachBitmapPixel(shifted.get(), HuePixelProc, Degrees, 0xFF00FF);
            std::vector<TRect> kept;
            std::vector<String> glyphs = {L"BICONCLOSE", L"BICLOSEALONE", L"SICONCLOSE"};
            if (CommonSkinData.BIKeepHUE == 1)
                glyphs.insert(glyphs.end(), {L"BICONMAX", L"BICONMIN", L"BICONNORM", L"BICONHELP", L"SICONMAX",
                                             L"SICONMIN", L"SICONNORM"});
            const Integer global = GetSkinIndex(GlobalInfo);
            for (const String& name : glyphs) {
                const Integer index = GetMaskIndex(global, name);
                if (index >= 0) {
                    if (ma[index].Bmp)
                        keep.insert(ma[index].Bmp);
                    else
                        kept.push_back(ma[index].R);
                }
                const Integer glow = GetMaskIndex(global, name + L"GLOW0");
                if (glow >= 0 && ma[glow].Bmp)
                    keep.insert(ma[glow].Bmp);
            }
            TOwned<TBitmap> original(MakeBitmap32Like(MasterBitmap));
            DuplicateBitmap(original.get(), MasterBitmap);
            DuplicateBitmap(MasterBitmap, shifted.get());
            for (const TRect& r : kept)
                CopyRows(MasterBitmap, original.get(), r);
        }
    }
    for (TBitmap* bmp : ExternalBitmaps(*this))
        if (!keep.count(bmp))
            ForEachBitmapPixel(bmp, HuePixelProc, Degrees, 0xFF00FF);
    auto hue = [Degrees](TColor c) { return static_cast<TColor>(ChangeHue(Degrees, static_cast<Cardinal>(c))); };
    ForEachSectionColor(*this, hue, false);
    CommonSkinData.Shadow1Color = hue(CommonSkinData.Shadow1Color);
    AdjustPalette(*this, [Degrees](Cardinal c) { return ChangeHue(Degrees, c); });
}

void TsSkinManager::ChangeSkinSaturation(Integer Percent)
{
    if (Percent == 0)
        return;
    // Limited before the multiplication, which would overflow for large values.
    const int amount = static_cast<int>(std::clamp<Int64>(static_cast<Int64>(Percent) * 255 / 100, -255, 255));
    if (MasterBitmap)
        ForEachBitmapPixel(MasterBitmap, SaturationPixelProc, amount, 0xFF00FF);
    for (TBitmap* bmp : ExternalBitmaps(*this))
        ForEachBitmapPixel(bmp, SaturationPixelProc, amount, 0xFF00FF);
    auto saturate = [amount](TColor c) { return static_cast<TColor>(ChangeSaturation(static_cast<Cardinal>(c), amount)); };
    ForEachSectionColor(*this, saturate, true);
    CommonSkinData.Shadow1Color = saturate(CommonSkinData.Shadow1Color);
    AdjustPalette(*this, [amount](Cardinal c) { return ChangeSaturation(c, amount); });
}

void TsSkinManager::ChangeSkinBrightness(Integer Percent)
{
    if (Percent == 0)
        return;
    if (MasterBitmap) {
        TOwned<TBitmap> copy(MakeBitmap32Like(MasterBitmap));
        DuplicateBitmap(copy.get(), MasterBitmap);
        ForEachBitmapPixel(MasterBitmap, BrightnessPixelProc, Percent, 0xFF00FF);
        // The masks (lower halves) of masked images keep their values.
        for (const TsMaskData& image : ma)
            if (image.MaskType == 1 && !image.Bmp) {
                TRect lower = image.R;
                lower.top += image.R.Height() / 2;
                CopyRows(MasterBitmap, copy.get(), lower);
            }
    }
    for (const TacExtFileData& ext : ExtArray) {
        TBitmap* bmp = ext.Bmp;
        if (!bmp)
            continue;
        const TRect whole(0, 0, bmp->GetWidth(), bmp->GetHeight());
        if (ext.MaskType != 0) {
            TOwned<TBitmap> saved(MakeBitmap32Like(bmp));
            DuplicateBitmap(saved.get(), bmp);
            ForEachBitmapPixel(bmp, BrightnessPixelProc, Percent, 0xFF00FF);
            CopyRows(bmp, saved.get(), TRect(0, whole.bottom / 2, whole.right, whole.bottom));
        } else {
            ForEachBitmapPixel(bmp, BrightnessPixelProc, Percent, 0xFF00FF);
            if (Percent > 0) {
                if (CommonSkinData.Version < 7.45)
                    ClearTransparentWhite(bmp);
                else
                    PremultiplyBitmap32Rect(bmp, whole);
            }
        }
    }
    ForEachSectionColor(*this, [Percent](TColor c) { return static_cast<TColor>(ChangeBrightness(static_cast<Cardinal>(c), Percent)); },
                        true);
}

// ---------------------------------------------------------------------------
void TsSkinManager::SetBrightness(Integer Value)
{
    Value = std::clamp<Integer>(Value, -100, 100);
    if (Value == FBrightness)
        return;
    FBrightness = Value;
    ReloadColorAdjusted();
}

void TsSkinManager::SetHueOffset(Integer Value)
{
    if (Value == FHueOffset)
        return;
    FHueOffset = Value;
    ReloadColorAdjusted();
}

void TsSkinManager::SetSaturation(Integer Value)
{
    if (Value == FSaturation)
        return;
    FSaturation = Value;
    ReloadColorAdjusted();
}

void TsSkinManager::ReloadColorAdjusted()
{
    if (!CommonSkinData.Active || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading))
        return;
    {
        SkinChanging = true;
        TScopeExit clear([] { SkinChanging = false; });
        SkinIsPacked = FileExists(GetFullSkinDirectory() + FSkinName + L".asz");
        try {
            if (SkinIsPacked)
                ReloadPackedSkin();
            else
                ReloadSkin();
        } catch (const Exception& e) {
            // The previous tables are back in place.
            ShowErrorMessage(e.Message());
        }
        SendNewSkin(true);
    }
    if (!NoAutoUpdate) {
        if (OnAfterChange)
            OnAfterChange(this);
        RepaintForms(true);
    }
}

// ---------------------------------------------------------------------------
void TsSkinManager::CheckShadows()
{
    if (!(FActive && GetExtendedBorders()) || gd.empty()) {
        FormShadowSize = TRect();
        return;
    }
    FShdaTemplate.reset();
    FShdiTemplate.reset();
    const TsSkinData& d = CommonSkinData;
    if (IsValidImgIndex(ConstData.ExBorder)) {
        const TsMaskData& image = ma[ConstData.ExBorder];
        const int count = std::max<int>(image.ImageCount, 1);
        const int frameWidth = image.R.Width() / count;
        const int frameHeight = image.MaskType < 0 ? 0 : image.R.Height() / (image.MaskType + 1);
        if (d.ExDrawMode != 0)
            FormShadowSize = TRect(d.ExContentOffs, d.ExContentOffs, d.ExContentOffs, d.ExContentOffs);
        else
            FormShadowSize = TRect(std::max(0, image.WL - d.ExContentOffs), std::max(0, image.WT - d.ExContentOffs),
                                   std::max(0, image.WR - d.ExContentOffs), std::max(0, image.WB - d.ExContentOffs));
        TBitmap* source = image.Bmp ? image.Bmp : MasterBitmap;
        auto frame = [&](int index) {
            TOwned<TBitmap> bmp(MakeBitmap32(frameWidth, frameHeight));
            TPixelRows to = PixelRows32(bmp.get()), from = PixelRows32(source);
            if (to && from)
                for (int y = 0; y < frameHeight; ++y) {
                    const int sy = image.R.top + y;
                    for (int x = 0; x < frameWidth; ++x) {
                        const int sx = image.R.left + index * frameWidth + x;
                        if (from.Contains(sx, sy))
                            to.Row(y)[x] = from.Row(sy)[sx];
                    }
                }
            return bmp;
        };
        FShdiTemplate = frame(0);
        FShdaTemplate = frame(count > 1 ? 1 : 0);
    } else {
        auto copy = [](TBitmap* shadow) {
            TOwned<TBitmap> bmp(New<TBitmap>());
            if (shadow)
                bmp->Assign(shadow);
            return bmp;
        };
        FShdaTemplate = copy(CommonSkinData.GetActiveShadow());
        FShdiTemplate = copy(CommonSkinData.GetPassiveShadow());
        FormShadowSize = TRect(d.WndShadowSize, std::max(0, d.WndShadowSize - d.WndShadowOffset), d.WndShadowSize,
                               std::max(0, d.WndShadowSize + d.WndShadowOffset));
    }
}
