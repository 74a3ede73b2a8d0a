// The skin tables: look-ups by name and index with their parent searches,
// sections and images added, the colour getters, and the constant indexes
// built from described skins, at 100 % and at 125 %.
#include <gtest/gtest.h>
#include "DescribedSkin.h"
#include "TestSupport.h"
#include "sMessages.h"
#include "sGraphUtils.h"
#include "sStyleSimply.h"

namespace {

TOwned<TsSkinManager> NewManager(TacScaleMode Mode = smOldMode)
{
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
    // Under the loading state the scale changes without touching any form.
    manager->BeginLoading();
    manager->Options.SetScaleMode(Mode);
    manager->EndLoading();
    return manager;
}

// Sections: 0 A -> B, 1 B -> A, 2 SELF -> SELF, 3 BASE, 4 CHILD -> BASE,
// 5 base, 6 BASE again; images: 0 BASE GLYPHMASK, 1 BASE PATTERN (texture),
// 2 BASE GLYPHMASK again, 3 A GLYPHMASK2 of no section index.
TOwned<TsSkinManager> LookupFixture()
{
    auto m = NewManager();
    const wchar_t* names[] = {L"A", L"B", L"SELF", L"BASE", L"CHILD", L"base", L"BASE"};
    const wchar_t* parents[] = {L"B", L"A", L"SELF", L"", L"BASE", L"", L""};
    for (int i = 0; i < 7; ++i) {
        m->AddNewSection(names[i], -1, 3, 0, 0x100 * i, 0);
        m->gd[i].ParentClass = parents[i];
    }
    m->MakeNewItem(3, L"GLYPHMASK", L"BASE", itisaGlyph, Rect(0, 0, 10, 10), 1, 0, 0);
    m->MakeNewItem(3, L"PATTERN", L"BASE", itisaTexture, Rect(0, 0, 8, 8), 1, 0, 0);
    m->MakeNewItem(3, L"GLYPHMASK", L"BASE", itisaGlyph, Rect(0, 0, 12, 12), 1, 0, 0);
    m->MakeNewItem(99, L"GLYPHMASK2", L"A", itisaGlyph, Rect(0, 0, 12, 12), 1, 0, 0);
    return m;
}

TEST(SkinTables, LookupsFollowParentsAndEndOnLoops)
{
    auto m = LookupFixture();
    struct Case {
        const char* what;
        Integer got;
        Integer expected;
    } cases[] = {
        {"section by name", m->GetSkinIndex(L"BASE"), 3},
        {"names compare with case", m->GetSkinIndex(L"base"), 5},
        {"empty name", m->GetSkinIndex(L""), -1},
        {"unknown name", m->GetSkinIndex(L"NONE"), -1},
        {"image by section name, first match", m->GetMaskIndex(String(L"BASE"), String(L"GLYPHMASK")), 0},
        {"by name: no parent search", m->GetMaskIndex(String(L"CHILD"), String(L"GLYPHMASK")), -1},
        {"by name: empty section", m->GetMaskIndex(String(L""), String(L"GLYPHMASK")), -1},
        {"by index: own image", m->GetMaskIndex(3, L"GLYPHMASK"), 0},
        {"by index: the parent's image", m->GetMaskIndex(4, L"GLYPHMASK"), 0},
        {"by index: A-B loop", m->GetMaskIndex(0, L"GLYPHMASK"), -1},
        {"by index: a section naming itself", m->GetMaskIndex(2, L"GLYPHMASK"), -1},
        {"by index: negative", m->GetMaskIndex(-1, L"GLYPHMASK"), -1},
        {"by index: out of range finds only its own images", m->GetMaskIndex(99, L"GLYPHMASK2"), 3},
        {"by index: out of range, no parent search", m->GetMaskIndex(99, L"GLYPHMASK"), -1},
        {"by index and name: parent", m->GetMaskIndex(4, L"CHILD", L"GLYPHMASK"), 0},
        {"by index and name: A-B loop", m->GetMaskIndex(0, L"A", L"GLYPHMASK"), -1},
        {"by index and name: self", m->GetMaskIndex(2, L"SELF", L"GLYPHMASK"), -1},
        {"by index and name: negative", m->GetMaskIndex(-5, L"BASE", L"GLYPHMASK"), -1},
        {"texture by section name: parent", m->GetTextureIndex(4, L"CHILD", L"PATTERN"), 1},
        {"texture: a glyph is no texture", m->GetTextureIndex(3, L"BASE", L"GLYPHMASK"), -1},
        {"texture by name: A-B loop", m->GetTextureIndex(0, L"A", L"PATTERN"), -1},
        {"texture by name: empty section", m->GetTextureIndex(3, L"", L"PATTERN"), -1},
        {"texture by index: parent", m->GetTextureIndex(4, L"PATTERN"), 1},
        {"texture by index: self loop", m->GetTextureIndex(2, L"PATTERN"), -1},
        {"texture by index: A-B loop", m->GetTextureIndex(1, L"PATTERN"), -1},
        {"texture by index: negative", m->GetTextureIndex(-1, L"PATTERN"), -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;

    EXPECT_TRUE(m->IsValidSkinIndex(6));
    EXPECT_FALSE(m->IsValidSkinIndex(7));
    EXPECT_FALSE(m->IsValidSkinIndex(-1));
    EXPECT_TRUE(m->IsValidImgIndex(3));
    EXPECT_FALSE(m->IsValidImgIndex(4));

    auto empty = NewManager();
    empty->AddNewSection(L"BASE", -1, 1, 0, 0, 0);
    EXPECT_EQ(empty->GetTextureIndex(0, L"BASE", L"PATTERN"), -1) << "no images at all";
}

TEST(SkinTables, AddNewSectionCopiesItsParentOrTakesTheValues)
{
    auto m = NewManager();
    const int base = m->AddNewSection(L"BASE", -1, 2, 30, 0x123456, 0x654321);
    EXPECT_EQ(m->gd[base].States, 2);
    for (const TsGenState& state : m->gd[base].Props) {
        EXPECT_EQ(state.Transparency, 30);
        EXPECT_EQ(state.Color, 0x123456);
        EXPECT_EQ(state.FontColor.Color, 0x654321);
        EXPECT_EQ(state.FontColor.Left, -1);
        EXPECT_EQ(state.FontColor.Bottom, -1);
    }
    TsGradPoint point;
    point.Percent = 40;
    m->gd[base].Props[0].GradientArray.push_back(point);
    m->gd[base].ParentClass = L"PANEL";
    m->gd[base].GlowMargin = 7;

    const int copy = m->AddNewSection(L"COPY", base, 1, 0, 0, 0);
    EXPECT_EQ(copy, base + 1);
    EXPECT_EQ(m->gd[copy].ClassName, L"COPY");
    EXPECT_EQ(m->gd[copy].ParentClass, L"") << "a copy names no parent";
    EXPECT_EQ(m->gd[copy].States, 2) << "the parent's values, not the arguments";
    EXPECT_EQ(m->gd[copy].GlowMargin, 7);
    ASSERT_EQ(m->gd[copy].Props[0].GradientArray.size(), 1u);
    m->gd[copy].Props[0].GradientArray[0].Percent = 90;
    EXPECT_EQ(m->gd[base].Props[0].GradientArray[0].Percent, 40) << "the gradient points are copied, not shared";

    const int orphan = m->AddNewSection(L"ORPHAN", 42, 1, 5, 0xAA, 0xBB);
    EXPECT_EQ(m->gd[orphan].Props[2].Color, 0xAA) << "an index that is no section means no parent";
    EXPECT_EQ(m->gd[orphan].Props[1].Transparency, 5);
    EXPECT_EQ(m->AddNewSection(L"NEG", -1, -1, -1, -1, -1), orphan + 1);
    EXPECT_EQ(m->gd[orphan + 1].States, 1) << "painters take States as a count";

    const int image = m->MakeNewItem(copy, L"BORDERSMASK", L"COPY", itisaBorder, Rect(1, 2, 31, 12), 3, 1, 1);
    const TsMaskData& item = m->ma[image];
    EXPECT_EQ(item.SkinIndex, copy);
    EXPECT_EQ(item.R, Rect(1, 2, 31, 12));
    EXPECT_EQ(item.ImageCount, 3);
    EXPECT_EQ(item.DrawMode, 1);
    EXPECT_EQ(item.MaskType, 1);
    EXPECT_EQ(item.Manager, m.get());
    EXPECT_EQ(item.Bmp, nullptr);
    EXPECT_EQ(item.WL + item.WT + item.WR + item.WB + item.BorderWidth, 0);
}

TEST(SkinTables, ColourGettersReadThePalette)
{
    auto m = NewManager();
    for (int i = 0; i < PaletteColorCount; ++i)
        m->Palette[i] = 0x010000 * i + 7;
    EXPECT_EQ(m->GetGlobalColor(), m->Palette[pcMainColor]);
    EXPECT_EQ(m->GetGlobalFontColor(), m->Palette[pcLabelText]);
    EXPECT_EQ(m->GetActiveEditColor(), m->Palette[pcEditBG]);
    EXPECT_EQ(m->GetActiveEditFontColor(), m->Palette[pcEditText]);
    EXPECT_EQ(m->GetHighLightColor(true), m->Palette[pcSelectionBG_Focused]);
    EXPECT_EQ(m->GetHighLightColor(false), m->Palette[pcSelectionBG]);
    EXPECT_EQ(m->GetHighLightFontColor(true), m->Palette[pcSelectionText_Focused]);
    EXPECT_EQ(m->GetHighLightFontColor(false), m->Palette[pcSelectionText]);
}

TEST(SkinTables, ConstantIndexesOfTheDescribedSkin)
{
    auto m = NewManager();
    const skindesc::Skin skin = DescribedSkin("Blocks");
    FillManager(*m, skin, 2);
    const TConstantSkinData& c = m->ConstData;
    auto section = [&](const wchar_t* name) { return m->GetSkinIndex(name); };
    auto image = [&](const wchar_t* sectionName, const wchar_t* key) {
        return m->GetMaskIndex(String(sectionName), String(key));
    };

    EXPECT_EQ(c.IndexGLobalInfo, 0);
    EXPECT_EQ(c.Sections[ssPanel], section(L"PANEL"));
    EXPECT_EQ(c.Sections[ssButton], section(L"BUTTON"));
    EXPECT_EQ(c.Sections[ssGauge], -1);
    EXPECT_EQ(c.TitleGlyphs[tgClose], image(L"GLOBALINFO", L"BICONCLOSE"));
    EXPECT_EQ(c.TitleGlyphs[tgCloseAlone], c.TitleGlyphs[tgClose]) << "BICLOSEALONE absent";
    EXPECT_EQ(c.TitleGlyphs[tgSmallMax], c.TitleGlyphs[tgMax]) << "a small glyph takes its large twin";
    EXPECT_EQ(c.TitleGlyphs[tgHelp], -1);
    EXPECT_EQ(c.TitleGlyphs[tgNone], -1);
    ASSERT_EQ(c.TitleGlows[tgClose].size(), 2u);
    EXPECT_EQ(c.TitleGlows[tgClose][1], image(L"GLOBALINFO", L"BICONCLOSEGLOW1"));
    EXPECT_EQ(c.TitleGlows[tgCloseAlone], c.TitleGlows[tgClose]) << "element by element";
    EXPECT_EQ(c.TitleGlows[tgMax], (std::vector<Integer>{-1, -1}));
    EXPECT_EQ(c.CheckBox[1], image(L"GLOBALINFO", L"BOXCHECKED"));
    EXPECT_EQ(c.CheckBox[0], -1);
    EXPECT_EQ(c.GripRightBottom, image(L"GLOBALINFO", L"GRIPIMAGE"));

    // Up-down buttons fall back to "UPDOWNBTN", then "BUTTON".
    for (const TacConstElementData& e : c.UpDownBtns) {
        EXPECT_EQ(e.SkinIndex, section(L"BUTTON"));
        EXPECT_EQ(e.SkinSection, L"BUTTON");
        EXPECT_EQ(e.MaskIndex, image(L"BUTTON", L"BORDERSMASK"));
    }
    EXPECT_EQ(c.Tabs[13].SkinSection, L"TABTOP");
    EXPECT_EQ(c.Tabs[13].SkinIndex, section(L"TABTOP"));
    EXPECT_EQ(c.Tabs[0].SkinIndex, -1);
    EXPECT_EQ(c.MenuItem.GlyphIndex, image(L"MENUITEM", L"GLYPHMASK"));
    EXPECT_EQ(c.TrackBar[0].SliderIndex, image(L"TRACKBAR", L"SLIDERMASK")) << "no SLIDERVMASK";
    EXPECT_EQ(c.TrackBar[1].SliderIndex, c.TrackBar[0].SliderIndex);
    EXPECT_EQ(c.TrackBar[1].TickIndex, image(L"TRACKBAR", L"TICKHORZ"));
    EXPECT_EQ(c.TrackBar[0].TickIndex, -1);

    // Every fallback of the newer sections: the index of the fallback, and
    // a copy of it under the missing name.
    struct Fallback {
        TacSection missing;
        const wchar_t* target;   // null: no fallback
    } fallbacks[] = {
        {ssMenuCaption, L"TOOLBAR"}, {ssDialogTitle, L"FORMTITLE"}, {ssMenuButton, L"SPEEDBUTTON"},
        {ssMenuLine, nullptr},       {ssFormHeader, nullptr},       {ssTBBtn, L"TOOLBUTTON"},
        {ssTBMenuBtn, nullptr},      {ssTBTab, L"TABTOP"},          {ssColHeader, L"BUTTON"},
        {ssColHeaderA, L"BUTTON"},   {ssColHeaderL, L"BUTTON"},     {ssColHeaderR, L"BUTTON"},
        {ssSlider_Off, L"PANEL_LOW"}, {ssSlider_On, L"PANEL_LOW"},
    };
    for (const Fallback& f : fallbacks) {
        const int copy = section(SectionNames[f.missing]);
        if (!f.target) {
            EXPECT_EQ(c.Sections[f.missing], -1) << SectionNames[f.missing];
            EXPECT_EQ(copy, -1) << SectionNames[f.missing];
            continue;
        }
        EXPECT_EQ(c.Sections[f.missing], section(f.target)) << SectionNames[f.missing];
        ASSERT_GE(copy, static_cast<int>(skin.Sections.size())) << "appended: " << SectionNames[f.missing];
        EXPECT_EQ(m->gd[copy].Props[1].Color, m->gd[section(f.target)].Props[1].Color) << SectionNames[f.missing];
    }

    // Scroll border offsets and margins.
    EXPECT_EQ(m->gd[section(L"EDIT")].ScrollBorderOffset, -1);
    EXPECT_EQ(m->gd[section(L"PANEL")].ScrollBorderOffset, 0);
    EXPECT_EQ(m->gd[section(L"TOOLBAR")].ScrollBorderOffset, -2);
    EXPECT_EQ(m->gd[section(L"PANEL")].BorderIndex, image(L"PANEL", L"BORDERSMASK"));
    EXPECT_EQ(m->gd[section(L"PANEL")].Props[1].TextureIndex, image(L"PANEL", L"HOTPATTERN"));
    EXPECT_EQ(m->gd[section(L"PANEL_LOW")].Props[0].TextureIndex, image(L"PANEL", L"PATTERN")) << "from the parent";
    const TsMaskData& border = m->ma[image(L"BUTTON", L"BORDERSMASK")];
    EXPECT_EQ(border.Width, 16);
    EXPECT_EQ(border.Height, 16) << "masked: half of the rectangle";
}

TEST(SkinTables, SkinsMissingWhatFallbacksNeed)
{
    auto m = NewManager();
    std::istringstream text(
        "section PANEL colors=#102030\n"
        "section EDIT colors=#FFFFFF\n"
        "section UPDOWNBTN colors=#405060\n"
        "image EDIT BORDERSMASK border frames=1 size=6x6 margins=1\n"
        "image PANEL BORDERSMASK border frames=1 size=6x6 margins=1\n"
        "image PANEL PATTERN texture frames=0 size=6x6 border=3\n");
    FillManager(*m, skindesc::Parse(text));
    const TConstantSkinData& c = m->ConstData;
    EXPECT_EQ(c.IndexGLobalInfo, -1) << "no GLOBALINFO";
    for (Integer glyph : c.TitleGlyphs)
        EXPECT_EQ(glyph, -1);
    EXPECT_EQ(c.CheckBox[1], -1);
    EXPECT_EQ(c.GripRightBottom, -1);
    EXPECT_EQ(c.ExBorder, -1);
    for (const TacConstElementData& e : c.UpDownBtns)
        EXPECT_EQ(e.SkinSection, L"UPDOWNBTN");

    const int caption = m->GetSkinIndex(L"MENUCAPTION");
    ASSERT_GE(caption, 0) << "appended although TOOLBAR is missing too";
    EXPECT_EQ(c.Sections[ssMenuCaption], -1);
    EXPECT_EQ(m->gd[caption].States, 1);
    EXPECT_EQ(m->gd[caption].Props[0].Color, -1);
    EXPECT_EQ(m->gd[caption].Props[0].Transparency, -1);
    EXPECT_EQ(m->gd[caption].Props[0].FontColor.Color, -1);

    EXPECT_EQ(m->gd[m->GetSkinIndex(L"EDIT")].ScrollBorderOffset, -1);
    EXPECT_EQ(m->gd[m->GetSkinIndex(L"PANEL")].ScrollBorderOffset, 0) << "the same image outside EDIT";
    const TsMaskData& pattern = m->ma[m->GetMaskIndex(String(L"PANEL"), String(L"PATTERN"))];
    EXPECT_EQ(pattern.ImageCount, 1);
    EXPECT_EQ(pattern.WL, 3);
    EXPECT_EQ(pattern.WT, 3);
    EXPECT_EQ(pattern.WR, 3);
    EXPECT_EQ(pattern.WB, 3);
}

// At 125 % a plain glyph becomes a masked image 1.25 times as large, an
// image written for 125 % is used as it is, and an image two records share
// is scaled once.
TEST(SkinTables, ImagesAtHundredTwentyFivePercent)
{
    auto m = NewManager(sm125);
    ASSERT_EQ(m->GetScale(), 1);
    const skindesc::Skin skin = DescribedSkin("Blocks");
    FillManager(*m, skin);
    const TConstantSkinData& c = m->ConstData;

    const int glyph = c.MenuItem.GlyphIndex;
    ASSERT_EQ(glyph, m->GetMaskIndex(String(L"MENUITEM"), String(L"GLYPHMASK")));
    const TsMaskData& g = m->ma[glyph];
    ASSERT_NE(g.Bmp, nullptr);
    EXPECT_EQ(g.MaskType, 1);
    EXPECT_EQ(g.R, Rect(0, 0, 36, 24)) << "three 12-pixel frames over colours and mask";
    EXPECT_EQ(g.Width, 12);
    EXPECT_EQ(g.Height, 12);
    const DWORD key = static_cast<DWORD*>(g.Bmp->GetScanLine(0))[0];
    const DWORD main = SwapRedBlue(m->Palette[pcMainColor]) & 0xFFFFFF;
    EXPECT_EQ(key >> 24, 0u) << "a key pixel is transparent";
    EXPECT_NEAR(static_cast<int>(key & 0xFF), static_cast<int>(main & 0xFF), 2);
    EXPECT_NEAR(static_cast<int>((key >> 16) & 0xFF), static_cast<int>((main >> 16) & 0xFF), 2);
    const DWORD mask = static_cast<DWORD*>(g.Bmp->GetScanLine(14))[0];
    for (int channel = 0; channel < 3; ++channel)
        EXPECT_GE((mask >> (8 * channel)) & 0xFF, 0xFCu) << "its mask twin is white";
    const DWORD colour = static_cast<DWORD*>(g.Bmp->GetScanLine(6))[8];
    EXPECT_NEAR(static_cast<int>(colour & 0xFF), 0x00, 3) << "frame 0: blue byte of #900000";
    EXPECT_NEAR(static_cast<int>((colour >> 16) & 0xFF), 0x90, 3);
    EXPECT_EQ(static_cast<DWORD*>(g.Bmp->GetScanLine(20))[8] & 0xFFFFFF, 0u) << "opaque mask";

    const int written = c.Tabs[13].GlyphIndex;
    EXPECT_EQ(m->ma[written].PropertyName, L"GLYPHMASK*125");
    EXPECT_EQ(m->ma[written].Bmp, nullptr) << "used unchanged from the master bitmap";
    EXPECT_FALSE(m->ma[written].Scaled);

    const int slider = c.TrackBar[0].SliderIndex;
    ASSERT_EQ(slider, c.TrackBar[1].SliderIndex);
    EXPECT_EQ(m->ma[slider].R, Rect(0, 0, 45, 20)) << "scaled once: 12 x 8 frames become 15 x 10";

    // A second pass finds the scaled images and leaves them as they are.
    const TRect before = m->ma[slider].R;
    TBitmap* bmp = m->ma[slider].Bmp;
    m->InitConstantIndexes();
    EXPECT_EQ(m->ma[slider].R, before);
    EXPECT_EQ(m->ma[slider].Bmp, bmp);
}

TEST(SkinTables, RemovalEmptiesTheTablesAndKeepsThePalette)
{
    const DWORD gdiBefore = testing_support::GdiObjectCount();
    {
        auto m = NewManager();
        FillManager(*m, DescribedSkin("Blocks"), 2);
        const TColor main = m->Palette[pcMainColor];
        const DWORD gdiFilled = testing_support::GdiObjectCount();
        m->CreateBrushes();
        m->CreateBrushes();
        EXPECT_EQ(testing_support::GdiObjectCount(), gdiFilled) << "old brushes are deleted";
        LOGBRUSH brush{};
        ASSERT_TRUE(GetObjectW(m->Brushes[pcMainColor].Get(), sizeof(brush), &brush));
        EXPECT_EQ(brush.lbColor, ColorToRGB(main));

        m->SendRemoveSkin();
        m->InitConstantIndexes();
        const TConstantSkinData& c = m->ConstData;
        EXPECT_TRUE(m->gd.empty());
        EXPECT_TRUE(m->ma.empty());
        EXPECT_EQ(m->MasterBitmap, nullptr);
        EXPECT_EQ(c.IndexGLobalInfo, -1);
        for (Integer s : c.Sections)
            EXPECT_EQ(s, -1);
        for (Integer g : c.TitleGlyphs)
            EXPECT_EQ(g, -1);
        EXPECT_EQ(c.TitleGlows[tgClose], (std::vector<Integer>{-1, -1}));
        EXPECT_EQ(c.MenuItem.SkinIndex, -1);
        EXPECT_EQ(c.UpDownBtns[asTop].SkinIndex, -1);
        EXPECT_EQ(c.TrackBar[1].SliderIndex, -1);
        EXPECT_EQ(c.RadioButton[1], -1);
        EXPECT_EQ(m->Palette[pcMainColor], main) << "the palette keeps the removed skin's colours";
    }
    EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore) << "no bitmap or brush left";
}

} // namespace
