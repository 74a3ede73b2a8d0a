#include "DescribedSkin.h"
#include "TestSupport.h"
#include "sGraphUtils.h"
#include <sstream>

namespace {

String Wide(const std::string& s)
{
    return String(s.begin(), s.end());
}

// Colours above, an opaque (black) mask below for a masked image; key
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
            row[Left + x] = 0xFF000000;
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
    for (const skindesc::Section& s : Skin.Sections) {
        const TColor color = s.Colors.empty() ? 0xFFFFFF : static_cast<TColor>(s.Colors[0]);
        const TColor font = s.Fonts.empty() ? 0 : static_cast<TColor>(s.Fonts[0]);
        const int index = Manager.AddNewSection(Wide(s.Name), -1, s.States, s.Transparency, color, font);
        TsGeneralData& section = Manager.gd[index];
        for (int i = 0; i < 3; ++i) {
            if (!s.Colors.empty())
                section.Props[i].Color = static_cast<TColor>(s.Colors[std::min<size_t>(i, s.Colors.size() - 1)]);
            if (!s.Fonts.empty())
                section.Props[i].FontColor.Color = static_cast<TColor>(s.Fonts[std::min<size_t>(i, s.Fonts.size() - 1)]);
        }
        section.UseState2 = s.States > 2 && s.Colors.size() > 2;
        section.ParentClass = Wide(s.Parent);
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
