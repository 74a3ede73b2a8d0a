// Loading a skin from its folder: the tables equal what the description
// gives, the keys of "GLOBALINFO" and the sections with their defaults and
// inheritance, the palette rules, every kind of image entry, the skin's
// font, and the loads that fail: each one leaves the previous skin whole.
#include <gtest/gtest.h>
#include "DescribedSkin.h"
#include "Jpeg.h"
#include "SkinFiles.h"
#include "TestSupport.h"
#include "acFontStore.h"
#include "sGraphUtils.h"
#include "sSkinLoader.h"
#include "sSkinSection.h"
#include <chrono>

namespace {

using testing_support::TempDir;

// A manager over a folder of skins.
struct Skins {
    TempDir dir;
    TOwned<TsSkinManager> m;
    explicit Skins(TacScaleMode Mode = smOldMode) : m(NewManager(Mode)) { m->SetSkinDirectory(dir.Path()); }
    void Write(const std::wstring& Name, const TSkinFiles& Files) { WriteSkinFolder(dir.File(Name), Files); }
    // Loads the skin; the texts of the message boxes it shows (answered with OK).
    std::wstring Load(const std::wstring& Name)
    {
        return AnsweringBoxes([&] { m->SetSkinName(Name); });
    }
};

} // namespace

TEST(SkinLoad, TheFolderSkinFillsEveryTableAsDescribed)
{
    Skins s;
    s.Write(L"Blocks", DescribedSkinFiles("Blocks"));
    EXPECT_EQ(s.Load(L"Blocks"), L"");
    TsSkinManager& m = *s.m;
    ASSERT_TRUE(m.GetActive());
    EXPECT_TRUE(m.CommonSkinData.Active);
    EXPECT_FALSE(SkinChanging);
    ExpectTablesOfDescription(m, "Blocks");

    // Sections the loader adds, and the constant indexes over the new tables.
    const Integer transparent = m.GetSkinIndex(L"TRANSPARENT");
    ASSERT_GE(transparent, 0);
    EXPECT_EQ(m.gd[transparent].Props[0].Transparency, 100);
    EXPECT_EQ(m.gd[transparent].States, 1);
    const Integer mainColor = m.GetSkinIndex(L"MAINCOLOR");
    ASSERT_GE(mainColor, 0);
    EXPECT_EQ(m.gd[mainColor].Props[0].Color, m.Palette[pcMainColor]);
    EXPECT_EQ(m.ConstData.Sections[ssPanel], m.GetSkinIndex(L"PANEL"));
    EXPECT_EQ(m.ConstData.TitleGlyphs[tgClose], m.GetMaskIndex(String(L"GLOBALINFO"), String(L"BICONCLOSE")));
    ASSERT_EQ(m.ConstData.TitleGlows[tgClose].size(), 2u) << "BICONCLOSEGLOW sizes the glow lists";
    EXPECT_EQ(m.ConstData.TitleGlows[tgClose][1], m.GetMaskIndex(String(L"GLOBALINFO"), String(L"BICONCLOSEGLOW1")));
    EXPECT_EQ(m.ConstData.GlowMargins[tgClose], 3);
    EXPECT_EQ(m.CommonSkinData.ExBorderWidth, 5);
    EXPECT_EQ(m.CommonSkinData.Version, 13.0);
    EXPECT_EQ(m.CommonSkinData.Author, L"Tavelin-tests");

    // Corner types: the key colour in a frame corner, none, and the
    // scanned-free "BUTTON_HUGE".
    EXPECT_EQ(FindImage(m, L"BUTTON", L"BORDERSMASK")->CornerType, 1);
    EXPECT_EQ(FindImage(m, L"PANEL", L"BORDERSMASK")->CornerType, 0);
    ASSERT_EQ(m.oe.size(), 2u);
    EXPECT_EQ(m.oe[1].Source, 2);
    ASSERT_TRUE(m.IsValidImgIndex(m.oe[1].Mask));
    EXPECT_EQ(m.ma[m.oe[1].Mask].PropertyName, L"SH_MASK");
}

TEST(SkinLoad, APaintedFormShowsTheLoadedColours)
{
    Skins s;
    s.Write(L"Blocks", DescribedSkinFiles("Blocks"));
    s.Load(L"Blocks");
    TsSkinManager& m = *s.m;
    // A window that paints the PANEL section in its state 0 and the BUTTON
    // section in its state 1 with the foundation's painter. It is asked to
    // print its client area into a bitmap of ours: reading the screen would
    // also read whatever another window leaves over it.
    struct Painter {
        static void Paint(HWND wnd, HDC dc)
        {
            auto* manager = reinterpret_cast<TsSkinManager*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
            TCacheInfo ci;
            ci.FillColor = 0xFFFFFF;
            PaintSkinItemToDC(manager->GetSkinIndex(L"PANEL"), ci, 0, TRect(0, 0, 60, 60), TPoint(), dc, manager);
            PaintSkinItemToDC(manager->GetSkinIndex(L"SELECTION"), ci, 1, TRect(60, 0, 120, 60), TPoint(), dc, manager);
        }
        static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
        {
            if (msg == WM_PAINT) {
                PAINTSTRUCT ps;
                Paint(wnd, BeginPaint(wnd, &ps));
                EndPaint(wnd, &ps);
                return 0;
            }
            if (msg == WM_PRINTCLIENT) {
                Paint(wnd, reinterpret_cast<HDC>(wp));
                return 0;
            }
            return DefWindowProcW(wnd, msg, wp, lp);
        }
    };
    WNDCLASSW wc{};
    wc.lpfnWndProc = Painter::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinLoadPainter";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 10, 10, 120, 60, nullptr, nullptr,
                               wc.hInstance, nullptr);
    ASSERT_NE(wnd, nullptr);
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m));
    UpdateWindow(wnd);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 120;
    bi.bmiHeader.biHeight = -60;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    HGDIOBJ old = SelectObject(mem, dib);
    SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    GdiFlush();
    auto readPixel = [&](int x, int y) {
        // The DIB holds 0x00RRGGBB.
        return static_cast<DWORD>(static_cast<const DWORD*>(bits)[y * 120 + x] & 0xFFFFFF);
    };
    // The middle of PANEL's border image shows its section colour; the
    // selection has no image.
    EXPECT_EQ(readPixel(30, 30), SwapRedBlue(static_cast<Cardinal>(m.gd[m.GetSkinIndex(L"PANEL")].Props[0].Color)) & 0xFFFFFF);
    EXPECT_EQ(readPixel(90, 30), 0x4070FFu) << "SELECTION state 1";
    EXPECT_EQ(readPixel(0, 0), 0x10A010u) << "the corner of PANEL's border image, frame 0";
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    DestroyWindow(wnd);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
}

TEST(SkinLoad, GlobalValuesTheirDefaultsAndTheScaledKeys)
{
    struct Case {
        const char* what;
        TacScaleMode mode;
        std::vector<std::pair<std::string, std::string>> keys;   // of GLOBALINFO
        std::function<Integer(const TsSkinManager&)> read;
        Integer expected;
    } cases[] = {
        {"BORDERWIDTH default", sm100, {}, [](const TsSkinManager& m) { return m.CommonSkinData.ExBorderWidth; }, 4},
        {"TITLEHEIGHT default", sm100, {}, [](const TsSkinManager& m) { return m.CommonSkinData.ExTitleHeight; }, 30},
        {"TITLEHEIGHT <= 0 is 30", sm100, {{"TITLEHEIGHT", "-3"}}, [](const TsSkinManager& m) { return m.CommonSkinData.ExTitleHeight; }, 30},
        {"MAXHEIGHT defaults to the title", sm100, {{"TITLEHEIGHT", "24"}}, [](const TsSkinManager& m) { return m.CommonSkinData.ExMaxHeight; }, 24},
        {"TITLEHEIGHT 20 at 150 %", sm150, {{"TITLEHEIGHT", "20"}}, [](const TsSkinManager& m) { return m.CommonSkinData.ExTitleHeight; }, 30},
        {"TITLEHEIGHT*150 as written", sm150, {{"TITLEHEIGHT", "20"}, {"TITLEHEIGHT*150", "33"}}, [](const TsSkinManager& m) { return m.CommonSkinData.ExTitleHeight; }, 33},
        {"TITLEHEIGHT 20 at 200 %", sm200, {{"TITLEHEIGHT", "20"}}, [](const TsSkinManager& m) { return m.CommonSkinData.ExTitleHeight; }, 40},
        {"CENTEROFFSET*125", sm125, {{"CENTEROFFSET", "4"}, {"CENTEROFFSET*125", "7"}}, [](const TsSkinManager& m) { return m.CommonSkinData.ExCenterOffs; }, 7},
        {"CENTEROFFSET missing", sm100, {}, [](const TsSkinManager& m) { return m.CommonSkinData.ExCenterOffs; }, 0},
        {"FORMOFFSET default", sm100, {}, [](const TsSkinManager& m) { return m.CommonSkinData.ExContentOffs; }, GetSystemMetrics(SM_CXFRAME)},
        {"ALIGNOFFSETR follows ALIGNOFFSET", sm100, {{"ALIGNOFFSET", "6"}}, [](const TsSkinManager& m) { return m.CommonSkinData.ExShadowOffsR; }, 6},
        {"WSHSIZE scaled", sm200, {}, [](const TsSkinManager& m) { return m.CommonSkinData.WndShadowSize; }, 26},
        {"WSHCOLA default", sm100, {}, [](const TsSkinManager& m) { return static_cast<Integer>(m.CommonSkinData.WndShadowColorA); }, static_cast<Integer>(0x99000000)},
        {"SHADOW1BLUR default", sm100, {}, [](const TsSkinManager& m) { return m.CommonSkinData.Shadow1Blur; }, -1},
        {"BRIGHTMIN default", sm100, {}, [](const TsSkinManager& m) { return m.CommonSkinData.BrightMin; }, -50},
        {"COMBOMARGIN default", sm100, {}, [](const TsSkinManager& m) { return m.CommonSkinData.ComboBoxMargin; }, 2},
        {"TABSCOVERING of TABTOP", sm100, {}, [](const TsSkinManager& m) { return Integer(m.CommonSkinData.TabsCovering); }, 0},
        {"glow frames clamped to the section's keys", sm100, {{"BICONCLOSEGLOW", "2147483647"}},
         [](const TsSkinManager& m) { return static_cast<Integer>(m.ConstData.TitleGlows[tgMax].size()); }, -2},
        {"outline colour", sm100, {{"LO_COLORT", "255"}}, [](const TsSkinManager& m) { return m.oe[0].ColorT; }, 255},
        {"shadow source 0: no image", sm100, {{"SH_SOURCE", "0"}}, [](const TsSkinManager& m) { return m.oe[1].Mask; }, -1},
        {"shadow source 7 counts as 0", sm100, {{"SH_SOURCE", "7"}}, [](const TsSkinManager& m) { return m.oe[1].Source; }, 0},
        {"shadow width from the bitmap", sm100, {{"SH_RADIUS_OE", "4"}, {"SH_OFFSETL", "2"}, {"SH_OFFSETR", "6"}},
         // 2 x 4 + 1 + (2 + 6) = 17 wide: (17 + 2 - 6 - 1) div 2
         [](const TsSkinManager& m) { return m.oe[1].WidthL; }, 6},
        {"shadow image of source 1", sm100, {{"SH_SOURCE", "1"}, {"SH_MASK", "^0000,0000,0030,0020,0002,0002,0002,0002,1,1,1,0"}},
         [](const TsSkinManager& m) { return m.ma[m.oe[1].Mask].R.Width(); }, 30},
        {"source 1 at 200 %: the plain entry's margins scaled", sm200,
         {{"SH_SOURCE", "1"}, {"SH_MASK", "^0000,0000,0030,0020,0002,0003,0002,0002,1,1,1,0"}},
         [](const TsSkinManager& m) { return Integer(m.ma[m.oe[1].Mask].WT); }, 6},
        {"source 1 at 200 %: the suffixed entry as written", sm200,
         {{"SH_SOURCE", "1"}, {"SH_MASK", "^0000,0000,0030,0020,0002,0003,0002,0002,1,1,1,0"},
          {"SH_MASK*200", "^0000,0000,0060,0040,0005,0005,0005,0005,1,1,1,0"}},
         [](const TsSkinManager& m) { return Integer(m.ma[m.oe[1].Mask].WT); }, 5},
    };
    for (const Case& c : cases) {
        Skins s(c.mode);
        TSkinFiles files = {{"Options.dat", "[GLOBALINFO]\r\nVERSION=13\r\n"}};
        for (const auto& [key, value] : c.keys)
            SetOption(files, "GLOBALINFO", key, value);
        s.Write(L"G", files);
        s.Load(L"G");
        Integer expected = c.expected;
        if (expected == -2)   // the number of keys the section holds
            expected = static_cast<Integer>(c.keys.size()) + 1;
        EXPECT_EQ(c.read(*s.m), expected) << c.what;
    }
}

TEST(SkinLoad, SectionsInheritCopyStatesAndEndLoops)
{
    Skins s;
    s.Write(L"S", {{"Options.dat", "[GLOBALINFO]\r\nVERSION=13\r\n"
                                   "[PANEL]\r\nCOLOR=1000\r\nFONTCOLOR=77\r\nGLOW=999\r\n"
                                   "[CHILD]\r\nPARENTCLASS=PANEL\r\n"
                                   "[NEGATIVE]\r\nPARENTCLASS=PANEL\r\nCOLOR=-5\r\n"
                                   "[A]\r\nPARENTCLASS=B\r\n[B]\r\nPARENTCLASS=A\r\n"
                                   "[SELF]\r\nPARENTCLASS=SELF\r\n"
                                   "[ONE]\r\nSTATES=1\r\nCOLOR=11\r\nHOTCOLOR=12\r\n"
                                   "[THREE]\r\nSTATES=3\r\nUSESTATE2=1\r\nCOLOR=21\r\nHOTCOLOR=22\r\nCOLOR2=23\r\n"
                                   "[FLAGS]\r\nGIVEOWNFONT=TRUE\r\nRESERVEDBOOLEAN=true\r\nSHIFTCLICK=1\r\n"
                                   "[GRAD]\r\nGRADIENTPERCENT=50\r\nGRADIENTDATA=abc\r\nOUTOFFSL=3\r\n"}});
    s.Load(L"S");
    const TsSkinManager& m = *s.m;
    auto section = [&](const wchar_t* name) -> const TsGeneralData& { return m.gd[s.m->GetSkinIndex(name)]; };
    EXPECT_EQ(section(L"CHILD").Props[0].Color, 1000) << "from the parent";
    EXPECT_EQ(section(L"CHILD").Props[0].FontColor.Color, 77);
    EXPECT_EQ(section(L"NEGATIVE").Props[0].Color, 1000) << "a negative number counts as missing";
    EXPECT_EQ(section(L"PANEL").GlowCount, 255) << "capped";
    EXPECT_EQ(section(L"A").Props[0].Color, 0xFFFFFF) << "a loop ends with the default";
    EXPECT_EQ(section(L"SELF").Props[0].Color, 0xFFFFFF);
    EXPECT_EQ(section(L"A").States, 3);
    EXPECT_EQ(section(L"ONE").Props[1].Color, 11) << "STATES 1: copies of state 0";
    EXPECT_EQ(section(L"ONE").Props[2].Color, 11);
    EXPECT_EQ(section(L"THREE").Props[2].Color, 23);
    EXPECT_TRUE(section(L"THREE").UseState2);
    EXPECT_EQ(section(L"CHILD").Props[2].Color, section(L"CHILD").Props[1].Color) << "no USESTATE2: a copy of state 1";
    EXPECT_TRUE(section(L"FLAGS").GiveOwnFont);
    EXPECT_FALSE(section(L"FLAGS").ReservedBoolean) << "only TRUE and 1";
    EXPECT_TRUE(section(L"FLAGS").ShiftOnClick);
    EXPECT_EQ(section(L"GRAD").Props[0].GradientPercent, 0) << "a gradient text shorter than 4";
    EXPECT_EQ(section(L"GRAD").OuterOffset, TRect(3, -1, -1, -1)) << "raw reads keep -1";
    EXPECT_EQ(section(L"PANEL").OuterOpacity, 200);
    EXPECT_EQ(section(L"PANEL").Props[0].FontColor.Left, -1);
}

TEST(SkinLoad, PaletteRules)
{
    struct Case {
        const char* what;
        std::string text;   // after "[GLOBALINFO]\r\nVERSION=13\r\n"
        TacPaletteColors entry;
        TColor expected;
    } cases[] = {
        {"selection from SELECTION", "[SELECTION]\r\nSTATES=2\r\nCOLOR=100\r\nFONTCOLOR=200\r\nHOTCOLOR=300\r\nHOTFONTCOLOR=400\r\n",
         pcSelectionText_Focused, 400},
        {"SELECTION with one state: focused from state 0", "[SELECTION]\r\nSTATES=1\r\nCOLOR=100\r\nFONTCOLOR=200\r\n",
         pcSelectionBG_Focused, 100},
        {"MENUITEM when the selection text is key", "[SELECTION]\r\nFONTCOLOR=16711935\r\n[MENUITEM]\r\nHOTCOLOR=500\r\nHOTFONTCOLOR=600\r\n",
         pcSelectionBG, 500},
        {"MENUITEM text", "[MENUITEM]\r\nHOTCOLOR=500\r\nHOTFONTCOLOR=600\r\n", pcSelectionText_Focused, 600},
        {"MENUITEM without text: the system colour", "[MENUITEM]\r\nHOTCOLOR=500\r\nHOTFONTCOLOR=16711935\r\n",
         pcSelectionText, static_cast<TColor>(0xFF00000E)},
        {"no SELECTION, no MENUITEM", "", pcSelectionBG, static_cast<TColor>(ColorToRGB(clHighlight))},
        {"button colour above the signed range", "BTNCOLOR1ACTIVE=4294967295\r\n", pcBtnColor1Active,
         static_cast<TColor>(0xFFFFFFFF)},
        {"button colour default has alpha", "COLOR=0\r\n", pcBtnColor2Active, static_cast<TColor>(0xFF000000)},
        {"EDITTEXT_ALERT sets caution", "EDITTEXT_ALERT=255\r\n", pcEditText_Caution, 255},
        {"EDITTEXT_ALERT sets bypassed", "EDITTEXT_ALERT=255\r\n", pcEditText_Bypassed, 255},
        {"edit colours from EDIT", "[EDIT]\r\nCOLOR=4660\r\nFONTCOLOR=17\r\n", pcEditText_Inverted, 4660},
        {"grid from the edit colours", "[EDIT]\r\nCOLOR=0\r\nFONTCOLOR=0\r\n", pcGrid, 0},
        {"hint from HINT", "[HINT]\r\nCOLOR=321\r\n", pcHintBG, 321},
        {"hint without HINT", "", pcHintText, static_cast<TColor>(ColorToRGB(clInfoText))},
        {"tone text active follows", "COLORTONEBLUETEXT=99\r\n", pcBtnBlueTextActive, 99},
    };
    for (const Case& c : cases) {
        Skins s;
        std::string text = "[GLOBALINFO]\r\nVERSION=13\r\n";
        // Keys of GLOBALINFO come before the first other section.
        if (c.text.empty() || c.text[0] != '[')
            text += c.text;
        else
            text += c.text;
        s.Write(L"P", {{"Options.dat", text}});
        s.Load(L"P");
        EXPECT_EQ(s.m->Palette[c.entry], c.expected) << c.what;
    }
}

TEST(SkinLoad, ImageEntriesOfEveryKind)
{
    Skins s(sm125);
    TSkinFiles files = DescribedSkinFiles("Blocks");
    // 60 wide, 2 frames, mask type 1, no margins and no border width.
    SetOption(files, "EDIT", "DEFMARGINS", "^0000,0000,0060,0024,0000,0000,0000,0000,2,1,0,0!0!0!0");
    SetOption(files, "EDIT", "WIDTH3", "^0000,0000,0060,0024,0000,0000,0000,0000,2,1,0,3!0!0!0");
    SetOption(files, "EDIT", "COUNT0", "^0000,0000,0060,0024,0000,0000,0000,0000,0,0,0,0!0!0!0");
    SetOption(files, "EDIT", "NOROWS", "!CHECKBOX.BMP!0!-1!0");
    SetOption(files, "EDIT", "SHORT", "!CHECKBOX.BMP!2!0!0");
    SetOption(files, "EDIT", "PNGNAME", "GRIP.PNG");
    SetOption(files, "EDIT", "BMPNAME", "CheckBox.bmp");
    SetOption(files, "EDIT", "TEXTURE", "~0000,0000,0008,0008,01,0");
    SetOption(files, "EDIT", "OUTSIDE", "^0900,0900,0990,0990,0000,0000,0000,0000,1,0,0,0!0!0!0");
    SetOption(files, "EDIT", "HIGHTYPE", "^0000,0000,0010,0010,0001,0001,0001,0001,1,0,0,0!9!9!9");
    s.Write(L"Blocks", files);
    ASSERT_EQ(s.Load(L"Blocks"), L"");
    const TsSkinManager& m = *s.m;
    auto image = [&](const wchar_t* key) { return FindImage(m, L"EDIT", key); };

    ASSERT_NE(image(L"DEFMARGINS"), nullptr);
    EXPECT_EQ(image(L"DEFMARGINS")->WL, 10);
    EXPECT_EQ(image(L"DEFMARGINS")->WR, 10);
    EXPECT_EQ(image(L"DEFMARGINS")->WT, 24 / 6);
    EXPECT_EQ(image(L"WIDTH3")->WB, 3) << "the border width fills the margins";
    EXPECT_EQ(image(L"COUNT0")->ImageCount, 1) << "count 0 works as 1";
    EXPECT_EQ(image(L"COUNT0")->WL, 20);
    ASSERT_NE(image(L"NOROWS"), nullptr);
    EXPECT_EQ(image(L"NOROWS")->Height, 0) << "mask type -1 has no rows";
    EXPECT_EQ(image(L"NOROWS")->WT, 0);
    EXPECT_EQ(image(L"NOROWS")->CornerType, 0);
    EXPECT_EQ(image(L"SHORT")->WL, 26 / 6) << "a short external entry takes the division rule";
    EXPECT_EQ(image(L"PNGNAME"), nullptr) << "a file name ending in .PNG without ! is no image";
    ASSERT_NE(image(L"BMPNAME"), nullptr);
    EXPECT_EQ(image(L"BMPNAME")->ImgType, itisaTexture);
    EXPECT_EQ(image(L"TEXTURE")->DrawMode, 1);
    ASSERT_NE(image(L"OUTSIDE"), nullptr) << "a rectangle outside the master bitmap loads";
    EXPECT_EQ(image(L"OUTSIDE")->CornerType, 0);
    EXPECT_EQ(image(L"HIGHTYPE")->ImgType, itisaPngGlyph) << "a type above 4 gives 4";
    // The bitmap entries share one external file.
    EXPECT_EQ(image(L"NOROWS")->Bmp, image(L"SHORT")->Bmp);
    EXPECT_EQ(m.ExtArray.size(), 2u) << "CHECKBOX.BMP and GRIP.PNG";
    // At 125 % the suffixed border entry replaces the plain one.
    EXPECT_EQ(FindImage(m, L"PANEL", L"BORDERSMASK")->R.Height(), 15);
    EXPECT_EQ(FindImage(m, L"PANEL", L"BORDERSMASK*125"), nullptr);
    EXPECT_NE(FindImage(m, L"TABTOP", L"GLYPHMASK*125"), nullptr) << "a glyph entry with a suffix is an image";
}

TEST(SkinLoad, ExternalImagesOfEachFormat)
{
    Skins s;
    TSkinFiles files = DescribedSkinFiles("Blocks");
    // A JPEG texture of one colour.
    TOwned<TBitmap> plain(MakeBitmap32(16, 16));
    plain->GetCanvas()->GetBrush()->SetColor(0x2040C0);
    plain->GetCanvas()->FillRect(TRect(0, 0, 16, 16));
    TOwned<TJPEGImage> jpeg(New<TJPEGImage>());
    jpeg->Assign(plain.get());
    jpeg->SetCompressionQuality(100);
    TOwned<TMemoryStream> jpegBytes(New<TMemoryStream>());
    jpeg->SaveToStream(jpegBytes.get());
    FileOf(files, "TEX.JPG") =
        std::string(static_cast<const char*>(jpegBytes->Memory()), static_cast<size_t>(jpegBytes->GetSize()));
    SetOption(files, "PANEL", "PATTERN2", "tex.jpg");
    s.Write(L"Blocks", files);
    ASSERT_EQ(s.Load(L"Blocks"), L"");
    const TsMaskData* texture = FindImage(*s.m, L"PANEL", L"PATTERN2");
    ASSERT_NE(texture, nullptr);
    const DWORD p = Pixel(texture->Bmp, 8, 8);
    EXPECT_EQ(p >> 24, 255u) << "alpha 255";
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 0x20, 6);
    EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 0xC0, 6);
    const TsMaskData* grip = FindImage(*s.m, L"GLOBALINFO", L"GRIPIMAGE");
    ASSERT_NE(grip, nullptr);
    // #808000 at alpha 255, premultiplied once by the x alpha / 256 rule.
    EXPECT_EQ(Pixel(grip->Bmp, 1, 1), 0xFF7F7F00u) << "PNG";
}

TEST(SkinLoad, TheSkinsFontServesTheProcess)
{
    Skins s;
    TSkinFiles files = DescribedSkinFiles("Blocks");
    FileOf(files, "SKIN.TTF") = RenamedFontFile();
    SetOption(files, "GLOBALINFO", "FontCount", "2");
    SetOption(files, "GLOBALINFO", "FontFile0", "SKIN.TTF");
    SetOption(files, "GLOBALINFO", "FontName0", "Blockfn");
    SetOption(files, "GLOBALINFO", "FontFile1", "MISSING.TTF");
    s.Write(L"Blocks", files);
    // Each look-up with its own height: Wine keeps the match of a font
    // description it has seen.
    auto faceOf = [](const wchar_t* name, int height) {
        HDC dc = CreateCompatibleDC(nullptr);
        LOGFONTW lf{};
        lf.lfHeight = -height;
        lf.lfCharSet = DEFAULT_CHARSET;   // the font is a symbol font
        wcscpy(lf.lfFaceName, name);
        TFontHandle font(CreateFontIndirectW(&lf));
        TSelectObject selected(dc, font.Get());
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        DeleteDC(dc);
        return std::wstring(face);
    };
    EXPECT_NE(faceOf(L"Blockfn", 19), L"Blockfn") << "not installed before the load";
    ASSERT_EQ(s.Load(L"Blocks"), L"");
    ASSERT_EQ(s.m->EmbeddedFonts()->Count(), 2) << "an item for each index, the missing file's empty";
    EXPECT_EQ(s.m->EmbeddedFonts()->Items(0)->GetFontName(), L"Blockfn");
    EXPECT_NE(s.m->EmbeddedFonts()->Items(0)->Handle, nullptr);
    EXPECT_EQ(faceOf(L"Blockfn", 20), L"Blockfn");

    // The next skin has fonts of its own only. (Wine keeps a memory font
    // after RemoveFontMemResourceEx, so the face itself answers on here.)
    s.Write(L"Plain", DescribedSkinFiles("Blocks"));
    ASSERT_EQ(s.Load(L"Plain"), L"");
    EXPECT_EQ(s.m->EmbeddedFonts()->Count(), 0);
}

TEST(SkinLoad, AFailedLoadLeavesThePreviousSkinWhole)
{
    struct Case {
        const char* what;
        std::function<void(TSkinFiles&)> damage;
        const wchar_t* message;   // part of the error box's text
    } cases[] = {
        {"a short entry value", [](TSkinFiles& f) { SetOption(f, "PANEL", "BORDERSMASK", "^0000,0000,0012"); }, L"too short"},
        {"a bad number in a fixed column", [](TSkinFiles& f) { SetOption(f, "PANEL", "BORDERSMASK", "^00X0,0000,0036,0012,0003,0003,0003,0003,3,0,0,0!0!0!0"); }, L"00X0"},
        {"a bad count of an external entry", [](TSkinFiles& f) { SetOption(f, "PANEL", "EXTRA", "!CHECKBOX.BMP!x!0!0"); }, L"'X'"},
        {"a negative count", [](TSkinFiles& f) { SetOption(f, "PANEL", "EXTRA", "!CHECKBOX.BMP!-1!0!0"); }, L"count"},
        {"a mask type below -1", [](TSkinFiles& f) { SetOption(f, "PANEL", "EXTRA", "!CHECKBOX.BMP!1!-2!0"); }, L"count"},
        {"a bad button colour", [](TSkinFiles& f) { SetOption(f, "GLOBALINFO", "BTNCOLOR1NORMAL", "blue"); }, L"blue"},
        {"a corrupt PNG", [](TSkinFiles& f) { FileOf(f, "Grip.png") = std::string("\x89PNG\r\n\x1a\n", 8) + "broken"; }, L""},
        {"a corrupt BMP", [](TSkinFiles& f) { FileOf(f, "CheckBox.bmp") = "BM broken bitmap"; }, L""},
        {"a corrupt JPEG", [](TSkinFiles& f) {
             FileOf(f, "TEX.JPG") = "\xFF\xD8\xFF\xE0 broken";
             SetOption(f, "PANEL", "PATTERN2", "TEX.JPG");
         }, L""},
    };
    Skins s;
    s.Write(L"Blocks", DescribedSkinFiles("Blocks"));
    ASSERT_EQ(s.Load(L"Blocks"), L"");
    TsSkinManager& m = *s.m;
    const std::size_t sections = m.gd.size(), images = m.ma.size();
    const Integer panel = m.ConstData.Sections[ssPanel];
    const DWORD masterPixel = Pixel(m.MasterBitmap, 5, 5);
    const TColor border = m.Palette[pcBorder];
    DWORD gdiBefore = 0;
    for (int round = 0; round < 2; ++round)
        for (const Case& c : cases) {
            TSkinFiles files = DescribedSkinFiles("Blocks");
            c.damage(files);
            const std::wstring name = L"Bad" + std::to_wstring(&c - cases);
            s.Write(name, files);
            const auto start = std::chrono::steady_clock::now();
            const std::wstring box = s.Load(name);
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.what;
            if (round == 1) {
                EXPECT_NE(box, L"") << c.what << ": an error box";
                EXPECT_NE(box.find(c.message), std::wstring::npos) << c.what << ": " << box;
                EXPECT_EQ(m.GetSkinName(), L"Blocks") << c.what;
                EXPECT_TRUE(m.CommonSkinData.Active) << c.what;
                EXPECT_FALSE(SkinChanging) << c.what;
                EXPECT_EQ(m.gd.size(), sections) << c.what;
                EXPECT_EQ(m.ma.size(), images) << c.what;
                EXPECT_EQ(m.ConstData.Sections[ssPanel], panel) << c.what;
                ASSERT_NE(m.MasterBitmap, nullptr) << c.what;
                EXPECT_EQ(Pixel(m.MasterBitmap, 5, 5), masterPixel) << c.what;
                EXPECT_EQ(m.Palette[pcBorder], border) << c.what;
                EXPECT_EQ(testing_support::GdiObjectCount(), gdiBefore) << c.what << ": GDI objects left";
                // A file left open could not be deleted.
                for (const auto& [file, bytes] : files)
                    EXPECT_TRUE(DeleteFileW((s.dir.File(name) + L"\\" + std::wstring(file.begin(), file.end())).c_str()))
                        << c.what << ": " << file.c_str() << " is still open";
            } else if (&c == &cases[std::size(cases) - 1])
                gdiBefore = testing_support::GdiObjectCount();
        }
    ExpectTablesOfDescription(m, "Blocks");
}

TEST(SkinLoad, LoadsThatSucceedWithAnEntryDroppedOrANotice)
{
    Skins s;
    // A missing image drops its entry; no master bitmap gives border images
    // without a corner scan.
    TSkinFiles files = DescribedSkinFiles("Blocks");
    RemoveFile(files, "Grip.png");
    RemoveOption(files, "GLOBALINFO", "MASTERBITMAP");
    SetOption(files, "GLOBALINFO", "FontCount", "2147483647");
    s.Write(L"Dropped", files);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(s.Load(L"Dropped"), L"");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "a huge FontCount";
    EXPECT_EQ(FindImage(*s.m, L"GLOBALINFO", L"GRIPIMAGE"), nullptr);
    EXPECT_NE(FindImage(*s.m, L"GLOBALINFO", L"BOXCHECKED"), nullptr);
    EXPECT_EQ(s.m->MasterBitmap, nullptr);
    EXPECT_EQ(FindImage(*s.m, L"BUTTON", L"BORDERSMASK")->CornerType, 0);
    EXPECT_LE(s.m->EmbeddedFonts()->Count(), 40);

    // Versions: below 8.45 says nothing at run time; above 13.99 warns.
    for (const char* version : {"8.0", "14.5"}) {
        TSkinFiles v = DescribedSkinFiles("Blocks");
        SetOption(v, "GLOBALINFO", "VERSION", version);
        const std::wstring name = L"V" + std::wstring(version, version + strlen(version));
        s.Write(name, v);
        const std::wstring box = s.Load(name);
        EXPECT_EQ(s.m->GetSkinName(), name) << version;
        EXPECT_EQ(box, std::string(version) == "8.0" ? L"" : String(SkinNewerVersionText)) << version;
    }
    EXPECT_EQ(s.m->GetSkinningRules(), (TacSkinningRules{srStdForms, srStdDialogs, srThirdParty}))
        << "the rules are back after the warning";

    // No "Options.dat" and no internal skins: skinning ends.
    s.Load(L"Nothing");
    EXPECT_FALSE(s.m->GetActive());
}

TEST(SkinLoad, CommonSectionsAddWhatTheSkinLacks)
{
    Skins s;
    TSkinFiles files = DescribedSkinFiles("Blocks");
    s.Write(L"Blocks", files);
    // An extra image file beside the skin, named by the common text.
    testing_support::WriteBytes(s.dir.File(L"Blocks\\EXTRA.BMP"), FileOf(files, "CheckBox.bmp"));
    TOwned<TStringList> common(New<TStringList>());
    common->SetText(L"[GLOBALINFO]\r\nEXTRAIMAGE=EXTRA.BMP\r\n"
                    L"[PANEL]\r\nCOLOR=1\r\n"
                    L"[MYPANEL]\r\nPARENTCLASS=panel\r\nHOTCOLOR=0x10\r\nSTATES=2\r\nGIVEOWNFONT=true\r\n"
                    L"[LONE]\r\nCOLOR=-4\r\n");
    s.m->BeginLoading();
    s.m->SetCommonSections(common.get());
    s.m->EndLoading();
    s.Load(L"Blocks");
    const TsSkinManager& m = *s.m;
    const Integer panel = s.m->GetSkinIndex(L"PANEL");
    EXPECT_EQ(m.gd[panel].Props[0].Color, 0x30A030) << "the skin's own section stays";
    const Integer mine = s.m->GetSkinIndex(L"MYPANEL");
    ASSERT_GE(mine, 0);
    EXPECT_EQ(m.gd[mine].ParentClass, L"PANEL");
    EXPECT_EQ(m.gd[mine].Props[0].Color, 0x30A030) << "the parent's colour";
    EXPECT_EQ(m.gd[mine].Props[1].Color, 16) << "hexadecimal";
    EXPECT_TRUE(m.gd[mine].GiveOwnFont);
    const Integer lone = s.m->GetSkinIndex(L"LONE");
    ASSERT_GE(lone, 0);
    EXPECT_EQ(m.gd[lone].Props[0].Color, 0xFFFFFF) << "a negative value keeps the default";
    const TsMaskData* extra = FindImage(m, L"GLOBALINFO", L"EXTRAIMAGE");
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(extra->R.Width(), 26);
}
