#include "DescribedSkin.h"
#include "TestSupport.h"
#include "sAlphaGraph.h"
#include "sGraphUtils.h"
#include <algorithm>
#include <sstream>

namespace {

String Wide(const std::string& s)
{
    return String(s.begin(), s.end());
}

// Colours above, an opaque (black) mask below for a masked image (its
// frame centres as described); key
// pixels are transparent.
void DrawImage(TBitmap* Bmp, const skindesc::Image& Image, int Left, int Top)
{
    for (int y = 0; y < Image.Height; ++y) {
        auto* row = static_cast<DWORD*>(Bmp->GetScanLine(Top + y));
        for (int x = 0; x < Image.TotalWidth(); ++x)
            row[Left + x] = DescribedPixel(Image, x, y);
    }
    for (int y = Image.Height; y < Image.TotalHeight(); ++y) {
        auto* row = static_cast<DWORD*>(Bmp->GetScanLine(Top + y));
        for (int x = 0; x < Image.TotalWidth(); ++x)
            row[Left + x] = 0xFF000000 | skindesc::MaskPixel(Image, x, y - Image.Height);
    }
}

TColor PaletteDefault(const skindesc::Skin& Skin, const std::string& Key, TColor Default)
{
    for (const auto& [key, color] : Skin.Palette)
        if (key == Key)
            return static_cast<TColor>(color);
    return Default;
}

} // namespace

skindesc::Skin DescribedSkin(const std::string& Name)
{
    const std::wstring path = testing_support::SourceDir() + L"\\tests\\fixtures\\skins\\" + Wide(Name) + L".skin";
    std::istringstream in(testing_support::FileBytes(path));
    return skindesc::Parse(in);
}

DWORD DescribedPixel(const skindesc::Image& Image, int X, int Y)
{
    const uint32_t color = skindesc::PixelColor(Image, X, Y);
    if (color == 0xFF00FF)
        return 0x00FF00FF;
    return SwapRedBlue(color) | 0xFF000000;
}

void FillManager(TsSkinManager& Manager, const skindesc::Skin& Skin, int GlowFrames)
{
    Manager.FreeSkinTables();
    // Missing states inherit from the parent sections, as the loader reads them.
    auto inherited = [&](const skindesc::Section& s, bool fonts, size_t state, uint32_t def) {
        std::vector<std::string> visited;
        for (const skindesc::Section* at = &s; at;) {
            const std::vector<uint32_t>& values = fonts ? at->Fonts : at->Colors;
            if (state < values.size())
                return static_cast<TColor>(values[state]);
            visited.push_back(at->Name);
            const int parent = Skin.SectionIndex(at->Parent);
            at = parent < 0 || std::find(visited.begin(), visited.end(), at->Parent) != visited.end()
                     ? nullptr : &Skin.Sections[parent];
        }
        return static_cast<TColor>(def);
    };
    auto usesState2 = [&](const skindesc::Section& s) {
        for (const skindesc::Section* at = &s; at;) {
            if (at->Colors.size() > 2)
                return true;
            const int parent = Skin.SectionIndex(at->Parent);
            at = parent < 0 || at->Parent == at->Name ? nullptr : &Skin.Sections[parent];
        }
        return false;
    };
    for (const skindesc::Section& s : Skin.Sections) {
        const int index = Manager.AddNewSection(Wide(s.Name), -1, s.States, s.Transparency, 0xFFFFFF, 0);
        TsGeneralData& section = Manager.gd[index];
        section.UseState2 = usesState2(s);
        for (int i = 0; i < 3; ++i) {
            TsGenState& state = section.Props[i];
            if (i == 1 && s.States < 2)
                state = section.Props[0];
            else if (i == 2 && !section.UseState2)
                state = section.Props[1];
            else {
                state.Color = inherited(s, false, static_cast<size_t>(i), 0xFFFFFF);
                state.FontColor.Color = inherited(s, true, static_cast<size_t>(i), 0);
            }
        }
        section.ParentClass = Wide(s.Parent);
        section.GlowCount = s.Glow;
        section.GlowMargin = s.GlowMargin;
    }
    if (Skin.MasterHeight > 0) {
        Manager.MasterBitmap = MakeBitmap32(Skin.MasterWidth, Skin.MasterHeight);
        for (const skindesc::Image& image : Skin.Images)
            if (image.File.empty())
                DrawImage(Manager.MasterBitmap, image, image.Left, image.Top);
    }
    for (const skindesc::Image& image : Skin.Images) {
        const int section = Skin.SectionIndex(image.Section);
        TRect r = Bounds(image.Left, image.Top, image.TotalWidth(), image.TotalHeight());
        const int index = Manager.MakeNewItem(section, Wide(image.Key), Wide(image.Section),
                                              static_cast<TacImgType>(image.ImgKind), r, image.Frames,
                                              image.Draw, image.Mask);
        TsMaskData& mask = Manager.ma[index];
        mask.WL = mask.WT = mask.WR = mask.WB = static_cast<std::int16_t>(image.Margins);
        mask.BorderWidth = static_cast<std::int16_t>(image.BorderWidth);
        if (!image.File.empty()) {
            TBitmap* own = MakeBitmap32(image.TotalWidth(), image.TotalHeight());
            DrawImage(own, image, 0, 0);
            // PNG pixels are premultiplied when a skin loads them.
            if (UpperCase(Wide(image.File)).find(L".PNG") != String::npos)
                PremultiplyBitmap32Rect(own, TRect(0, 0, own->GetWidth(), own->GetHeight()));
            Manager.ExtArray.push_back({own, UpperCase(Wide(image.File)), image.Mask});
            mask.Bmp = own;
            mask.R = Rect(0, 0, image.TotalWidth(), image.TotalHeight());
        }
    }
    auto section = [&](const wchar_t* name) { return Manager.GetSkinIndex(name); };
    TColor* p = Manager.Palette;
    p[pcMainColor] = PaletteDefault(Skin, "COLOR", ColorToRGB(clBtnFace));
    p[pcLabelText] = PaletteDefault(Skin, "FONTCOLOR", 0);
    p[pcBorder] = PaletteDefault(Skin, "BORDERCOLOR", 0);
    p[pcGrid] = PaletteDefault(Skin, "GRIDLINE", 0);
    if (int edit = section(L"EDIT"); edit >= 0) {
        p[pcEditText] = Manager.gd[edit].Props[0].FontColor.Color;
        p[pcEditBG] = Manager.gd[edit].Props[0].Color;
    }
    if (int selection = section(L"SELECTION"); selection >= 0) {
        p[pcSelectionBG] = Manager.gd[selection].Props[0].Color;
        p[pcSelectionText] = Manager.gd[selection].Props[0].FontColor.Color;
        p[pcSelectionBG_Focused] = Manager.gd[selection].Props[1].Color;
        p[pcSelectionText_Focused] = Manager.gd[selection].Props[1].FontColor.Color;
    }
    for (int i = 0; i < GlowTitleGlyphCount; ++i)
        Manager.ConstData.TitleGlows[i].assign(static_cast<size_t>(GlowFrames), -1);
    Manager.CreateBrushes();
    Manager.InitConstantIndexes();
}
