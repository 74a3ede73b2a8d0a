// The icon font installed at start-up from the program's resource: asking
// for its family gives our face, with a glyph at every code the default
// glyph list draws, and nothing elsewhere.
#include <gtest/gtest.h>
#include "acFontStore.h"
#include "GdiHandles.h"

namespace {

const WCHAR IconCodes[] = {0xF016, 0xF115, 0xF274, 0xF141, 0xF1EC, 0xF192, 0xF00C, 0xF047, 0xF1FB,
                           0xF00D, 0xF067, 0xF0D8, 0xF01E, 0xF048, 0xF053, 0xF054, 0xF051, 0xF068};

} // namespace

TEST(IconFont, StartUpInstallsTheFamilyWithItsGlyphs)
{
    ASSERT_NE(acIconFontHandle(), nullptr);
    // Installing twice keeps the one font.
    const HANDLE installed = acIconFontHandle();
    acFontStore_Initialize();
    EXPECT_EQ(acIconFontHandle(), installed);

    TMemoryDC dc(nullptr);
    LOGFONTW lf = {};
    lf.lfHeight = -32;
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy(lf.lfFaceName, acBuiltInIconFontName);
    TFontHandle font(CreateFontIndirectW(&lf));
    TSelectObject selected(dc.Get(), font.Get());
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.Get(), LF_FACESIZE, face);
    EXPECT_STREQ(face, L"FontAwesome");

    WORD glyphs[std::size(IconCodes)] = {};
    ASSERT_NE(GetGlyphIndicesW(dc.Get(), IconCodes, static_cast<int>(std::size(IconCodes)), glyphs,
                               GGI_MARK_NONEXISTING_GLYPHS), GDI_ERROR);
    for (std::size_t i = 0; i < std::size(IconCodes); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(glyphs[i], 0xFFFF);
        EXPECT_NE(glyphs[i], 0);
    }
    const WCHAR absent[] = {0xF000, L'A'};
    WORD missing[2] = {};
    GetGlyphIndicesW(dc.Get(), absent, 2, missing, GGI_MARK_NONEXISTING_GLYPHS);
    EXPECT_EQ(missing[0], 0xFFFF);
    EXPECT_EQ(missing[1], 0xFFFF);

    // The resource is a font an embedded-font item accepts too.
    TOwned<TResourceStream> resource(New<TResourceStream>(HInstance(), L"AWFONT", RT_RCDATA));
    TOwned<TacEmbeddedFonts> fonts(New<TacEmbeddedFonts>(nullptr, efkCharImageList));
    TacEmbeddedFont* item = fonts->Add();
    item->FontData->LoadFromStream(resource.get());
    item->LoadFont();
    EXPECT_NE(item->Handle, nullptr);
    item->UnLoadFont();
}
