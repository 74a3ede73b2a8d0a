// Hue, saturation and brightness of a loaded skin, each applied once to the
// colours of the skin's files, and the form shadow templates.
#include <gtest/gtest.h>
#include "SkinFiles.h"
#include "TestSupport.h"
#include "sGraphUtils.h"

namespace {

using testing_support::TempDir;

struct Adjusted {
    TempDir dir;
    TOwned<TsSkinManager> plain = NewManager();   // the files' colours
    TOwned<TsSkinManager> m = NewManager();
    explicit Adjusted(const TSkinFiles& Files)
    {
        WriteSkinFolder(dir.File(L"Blocks"), Files);
        for (TsSkinManager* manager : {plain.get(), m.get()})
            manager->SetSkinDirectory(dir.Path());
        plain->SetSkinName(L"Blocks");
    }
    // Pixel (X, Y) of the frame's colour part of an image, in both managers.
    std::pair<DWORD, DWORD> ImagePixel(const wchar_t* Section, const wchar_t* Key, int X, int Y) const
    {
        const TsMaskData* before = FindImage(*plain, Section, Key);
        const TsMaskData* after = FindImage(*m, Section, Key);
        EXPECT_TRUE(before && after) << Key;
        if (!before || !after)
            return {0, 0};
        return {Pixel(before->Bmp ? before->Bmp : plain->MasterBitmap, before->R.left + X, before->R.top + Y),
                Pixel(after->Bmp ? after->Bmp : m->MasterBitmap, after->R.left + X, after->R.top + Y)};
    }
    TColor SectionColor(const TsSkinManager& manager, const wchar_t* Section) const
    {
        return manager.gd[const_cast<TsSkinManager&>(manager).GetSkinIndex(Section)].Props[0].Color;
    }
};

// The master bitmap's pixels are in pixel order (blue in byte 0).
DWORD HuePixel(DWORD Pixel, int Degrees)
{
    return HueShiftValue(Degrees, Pixel);
}

} // namespace

TEST(SkinColors, HueKeepsTheTitleGlyphsTheSkinAsksFor)
{
    for (int keep : {0, 1}) {
        TSkinFiles files = DescribedSkinFiles("Blocks");
        SetOption(files, "GLOBALINFO", "BIKEEPHUE", std::to_string(keep));
        Adjusted a(files);
        a.m->SetHueOffset(180);
        a.m->SetSkinName(L"Blocks");
        const auto close = a.ImagePixel(L"GLOBALINFO", L"BICONCLOSE", 2, 2);
        const auto maxGlyph = a.ImagePixel(L"GLOBALINFO", L"BICONMAX", 2, 2);
        const auto panel = a.ImagePixel(L"PANEL", L"BORDERSMASK", 5, 5);
        const auto grip = a.ImagePixel(L"GLOBALINFO", L"GRIPIMAGE", 5, 5);
        EXPECT_EQ(panel.second, HuePixel(panel.first, 180)) << keep;
        EXPECT_NE(panel.second, panel.first);
        EXPECT_EQ(grip.second, HuePixel(grip.first, 180)) << "an external image";
        if (keep == 1) {
            EXPECT_EQ(close.second, close.first) << "the close glyph keeps its colours";
            EXPECT_EQ(maxGlyph.second, maxGlyph.first) << "with 1 the other glyphs too";
        } else {
            EXPECT_EQ(close.second, HuePixel(close.first, 180));
            EXPECT_EQ(maxGlyph.second, HuePixel(maxGlyph.first, 180));
        }
        EXPECT_EQ(a.SectionColor(*a.m, L"PANEL"),
                  static_cast<TColor>(ChangeHue(180, static_cast<Cardinal>(a.SectionColor(*a.plain, L"PANEL")))));
        EXPECT_EQ(a.m->Palette[pcMainColor],
                  static_cast<TColor>(ChangeHue(180, static_cast<Cardinal>(a.plain->Palette[pcMainColor]))));
        EXPECT_EQ(a.m->Palette[pcWebTextHot], a.plain->Palette[pcWebTextHot]) << "not a palette entry that follows";
    }
}

TEST(SkinColors, BrightnessLeavesMasksAndIsNeverAppliedTwice)
{
    Adjusted a(DescribedSkinFiles("Blocks"));
    a.m->SetSkinName(L"Blocks");
    a.m->SetBrightness(50);
    EXPECT_EQ(a.m->GetBrightness(), 50);
    const TsMaskData* button = FindImage(*a.m, L"BUTTON", L"BORDERSMASK");
    ASSERT_NE(button, nullptr);
    const int maskRow = button->R.Height() / 2 + 3;
    const auto colour = a.ImagePixel(L"BUTTON", L"BORDERSMASK", 6, 6);
    const auto mask = a.ImagePixel(L"BUTTON", L"BORDERSMASK", 6, maskRow);
    EXPECT_EQ(colour.second, ChangeBrightness(colour.first, 50));
    EXPECT_NE(colour.second, colour.first);
    EXPECT_EQ(mask.second, mask.first) << "the mask half keeps its values";
    EXPECT_EQ(a.SectionColor(*a.m, L"PANEL"),
              static_cast<TColor>(ChangeBrightness(static_cast<Cardinal>(a.SectionColor(*a.plain, L"PANEL")), 50)));
    EXPECT_EQ(a.m->Palette[pcMainColor], a.plain->Palette[pcMainColor]) << "the palette stays";

    a.m->SetBrightness(0);
    const auto back = a.ImagePixel(L"BUTTON", L"BORDERSMASK", 6, 6);
    EXPECT_EQ(back.second, back.first) << "0 gives the files' colours";
    EXPECT_EQ(a.SectionColor(*a.m, L"PANEL"), a.SectionColor(*a.plain, L"PANEL"));
    a.m->SetBrightness(150);
    EXPECT_EQ(a.m->GetBrightness(), 100);
    a.m->SetBrightness(-1000);
    EXPECT_EQ(a.m->GetBrightness(), -100);
}

TEST(SkinColors, SaturationIsLimitedBeforeItIsScaled)
{
    struct Case {
        Integer percent;
        int amount;
    } cases[] = {{100, 255}, {500, 255}, {10000000, 255}, {-100, -255}, {40, 102}};
    for (const Case& c : cases) {
        Adjusted a(DescribedSkinFiles("Blocks"));
        a.m->SetSaturation(c.percent);
        a.m->SetSkinName(L"Blocks");
        const auto panel = a.ImagePixel(L"PANEL", L"BORDERSMASK", 5, 5);
        EXPECT_EQ(panel.second, SaturateValue(c.amount, panel.first)) << c.percent;
        EXPECT_EQ(a.SectionColor(*a.m, L"BUTTON"),
                  static_cast<TColor>(ChangeSaturation(static_cast<Cardinal>(a.SectionColor(*a.plain, L"BUTTON")), c.amount)))
            << c.percent;
    }
}

TEST(SkinColors, ShadowTemplatesFromTheExtendedBorderImage)
{
    // A border image of one or two frames in a file of its own.
    auto withBorder = [](int frames, int drawMode) {
        TSkinFiles files = DescribedSkinFiles("Blocks");
        skindesc::Image border;
        border.Width = 20;
        border.Height = 16;
        border.Frames = frames;
        border.Color = 0x203040;
        std::vector<uint32_t> rgb(static_cast<size_t>(border.TotalWidth()) * border.TotalHeight());
        skinwriter::DrawImage(border, rgb, border.TotalWidth(), 0, 0);
        FileOf(files, "EXB.BMP") = skinwriter::BmpFile(border.TotalWidth(), border.TotalHeight(), rgb);
        SetOption(files, "GLOBALINFO", "EXBORDER", "!EXB.BMP!" + std::to_string(frames) + "!0!0!9!7!8!10!0");
        SetOption(files, "GLOBALINFO", "FORMOFFSET", "3");
        SetOption(files, "GLOBALINFO", "BORDERMODE", std::to_string(drawMode));
        return files;
    };
    struct Case {
        const char* what;
        TSkinFiles files;
        TRect size;
        int activeFrame;   // -1: the window shadow
    } cases[] = {
        {"one frame", withBorder(1, 0), TRect(6, 4, 5, 7), 0},
        {"two frames", withBorder(2, 0), TRect(6, 4, 5, 7), 1},
        {"border mode 1", withBorder(2, 1), TRect(3, 3, 3, 3), 1},
        // WSHSIZE 13 and WSHOFFS 2 by default.
        {"no extended border image", DescribedSkinFiles("Blocks"), TRect(13, 11, 13, 15), -1},
    };
    for (Case& c : cases) {
        TempDir dir;
        WriteSkinFolder(dir.File(L"Blocks"), c.files);
        auto m = NewManager();
        m->SetSkinDirectory(dir.Path());
        m->SetSkinName(L"Blocks");
        EXPECT_EQ(m->FormShadowSize, TRect()) << c.what << ": no extended borders, no shadow";
        m->SetExtendedBorders(true);
        ASSERT_TRUE(m->GetExtendedBorders()) << "layered windows";
        EXPECT_EQ(m->FormShadowSize, c.size) << c.what;
        ASSERT_NE(m->ShdaTemplate(), nullptr) << c.what;
        ASSERT_NE(m->ShdiTemplate(), nullptr) << c.what;
        if (c.activeFrame < 0)
            continue;
        EXPECT_EQ(m->ShdiTemplate()->GetWidth(), 20) << c.what;
        EXPECT_EQ(m->ShdiTemplate()->GetHeight(), 16) << c.what;
        const TsMaskData& image = m->ma[m->ConstData.ExBorder];
        EXPECT_EQ(Pixel(m->ShdiTemplate(), 10, 10), Pixel(image.Bmp, 10, 10)) << c.what;
        EXPECT_EQ(Pixel(m->ShdaTemplate(), 10, 10), Pixel(image.Bmp, 20 * c.activeFrame + 10, 10)) << c.what;
    }
}
