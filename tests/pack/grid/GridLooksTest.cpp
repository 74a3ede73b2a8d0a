// The grid's looks and colour sets: what each style writes into the grid,
// its control look, the sort header and the search footer, and the order
// effects that decide what a later style leaves of an earlier one.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "DataGridSupport.h"
#include <gtest/gtest.h>

namespace {

using datagrid_test::TFilledGrid;

// A value the fresh grid already holds (the style leaves it).
constexpr TColor Fresh = 0x7EEEEEEE;

struct StyleCase {
    TPackStyle style;
    TGridLook look;
    TColor border;
    TColor header[4];
    TColor gridLine, fixedLine;
    TColor selection, selectionTo, selectionText;
    TColor activeFrom, activeTo;
    TGridSelectionStyle selectionStyle;
};

constexpr TColor Hl = clHighlight;
constexpr TColor HlT = clHighlightText;
constexpr TColor N = clNone;
constexpr TColor B = 0xB99D7F;

// From a fresh grid (look glXP). A look the style switches sets the border
// B99D7F; a look the grid already has leaves it.
const StyleCase StyleCases[] = {
    {tsOffice2003Blue, glXP, Fresh, {0xFCE1CB, 0xE0A57D, N, N}, 0xC0C0C0, 0x808080, 0x94E6FB, 0x1595EE, 0, 0x94E6FB, 0x1595EE, ssDefault},
    {tsOffice2003Silver, glXP, Fresh, {0xECE2E1, 0xB39698, N, N}, 0xC0C0C0, 0x808080, 0x94E6FB, 0x1595EE, 0, 0x94E6FB, 0x1595EE, ssDefault},
    {tsOffice2003Olive, glXP, Fresh, {0xCFF0EA, 0x8CC0B1, N, N}, 0xC0C0C0, 0x808080, 0x94E6FB, 0x1595EE, 0, 0x94E6FB, 0x1595EE, ssDefault},
    {tsOffice2003Classic, glXP, Fresh, {0xFFFFFF, 0xCCD4D8, N, N}, 0xC0C0C0, 0x808080, Hl, N, HlT, 0xD8D5D4, 0xD8D5D4, ssDefault},
    {tsOffice2007Luna, glOffice2007, B, {0xFBF9F6, 0xE8DBD2, N, N}, 0xF1EDEB, 0xD1BBA4, 0x5EC1F1, N, 0, 0x9DD8F9, 0x5EC1F1, ssOffice2007},
    {tsOffice2007Obsidian, glOffice2007, B, {0xF7F7F7, 0xDEDEDE, N, N}, 0xE5D7D0, 0x808080, 0x5EC1F1, N, 0, 0x9DD8F9, 0x5EC1F1, ssDefault},
    {tsWindowsXP, glXP, Fresh, {clBtnFace, clBtnFace, N, N}, 0xC0C0C0, 0x808080, Hl, N, HlT, clBtnFace, clBtnFace, ssDefault},
    {tsWhidbey, glXP, Fresh, {0xFFFFFF, clBtnFace, N, N}, 0xC0C0C0, 0x808080, Hl, N, HlT, 0x94E6FB, 0x1595EE, ssDefault},
    {tsCustom, glXP, Fresh, {Fresh, Fresh, Fresh, Fresh}, Fresh, Fresh, Hl, N, HlT, Fresh, Fresh, ssDefault},
    {tsOffice2007Silver, glOffice2007, B, {0xF3F3F1, 0xCAC9C8, N, N}, 0xE5D7D0, 0x808080, 0x95C7F5, N, 0, 0x99CCFF, 0x699CFF, ssDefault},
    {tsWindowsVista, glVista, B, {0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1}, 0xECECF0, 0xD4D2D1, 0xEACAB6, N, 0, 0xFDF8F1, 0xFCEFD5, ssVista},
    {tsWindows7, glWin7, B, {0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD}, 0xECECF0, 0xD4D2D1, 0xEACAB6, N, 0, 0xFCEBDC, 0xFCDBC1, ssWin7},
    {tsTerminal, glStandard, B, {Fresh, Fresh, N, N}, 0xC0C0C0, 0x808080, Hl, N, HlT, 0x808080, N, ssDefault},
    {tsOffice2010Blue, glOffice2007, B, {0xF5E7DA, 0xF5E7DA, 0xF5E7DA, 0xF5E7DA}, 0xC0C0C0, 0xC7B0A0, 0xFFDBB7, N, 0, 0x5BD5FF, 0x71EFFF, ssDefault},
    {tsOffice2010Silver, glOffice2007, B, {0xE8E3DF, 0xE8E3DF, 0xE8E3DF, 0xE8E3DF}, 0xC0C0C0, 0xBAB5B1, 0xFFDBB7, N, 0, 0x5BD5FF, 0x71EFFF, ssDefault},
    {tsOffice2010Black, glOffice2007, B, {0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A}, 0xC0C0C0, 0x444444, 0xFFDBB7, N, 0, 0x5BD5FF, 0x71EFFF, ssDefault},
    {tsWindows8, glOffice2007, 0xE4E3E2, {0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5}, 0xDCDBDA, 0xDCDBDA, 0xDAA026, N, 0xFFFFFF, 0xF7F6F5, 0xF7F6F5, ssDefault},
    {tsOffice2013White, glOffice2007, 0xD4D4D4, {0xEEEEEE, 0xEEEEEE, 0xEEEEEE, 0xEEEEEE}, 0xD4D4D4, 0xD4D4D4, 0xDAA026, N, 0xFFFFFF, 0xEEEEEE, 0xEEEEEE, ssDefault},
    {tsOffice2013LightGray, glOffice2007, 0xC6C6C6, {0xFAFAFA, 0xFAFAFA, 0xFAFAFA, 0xFAFAFA}, 0xC6C6C6, 0xC6C6C6, 0xDAA026, N, 0xFFFFFF, 0xFAFAFA, 0xFAFAFA, ssDefault},
    {tsOffice2013Gray, glOffice2007, 0xABABAB, {0xF3F3F3, 0xF3F3F3, 0xF3F3F3, 0xF3F3F3}, 0xABABAB, 0xABABAB, 0xDAA026, N, 0xFFFFFF, 0xF3F3F3, 0xF3F3F3, ssDefault},
    {tsWindows10, glOffice2007, 0xE4E3E2, {0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5}, 0xDCDBDA, 0xDCDBDA, 0xDAA026, N, 0xFFFFFF, 0xF7F6F5, 0xF7F6F5, ssDefault},
    {tsOffice2016White, glOffice2007, 0xABABAB, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}, 0xD4D4D4, 0xD5D5D5, 0xC6C6C6, N, 0, 0xE1E1E1, 0xE1E1E1, ssDefault},
    {tsOffice2016Gray, glOffice2007, 0x999999, {0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A}, 0xD4D4D4, 0xD3D3D3, 0xC6C6C6, N, 0, 0x262626, 0x262626, ssDefault},
    {tsOffice2016Black, glOffice2007, 0x999999, {0x252525, 0x252525, 0x252525, 0x252525}, 0xD4D4D4, 0xB0B0B0, 0xC6C6C6, N, 0, 0x646464, 0x646464, ssDefault},
};

TColor Expect(TColor expected, TColor fresh) { return expected == Fresh ? fresh : expected; }

TEST(GridLooks, EveryStyleWritesItsColourSet)
{
    for (const StyleCase& c : StyleCases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        TFilledGrid<> fresh(3, 3);
        TFilledGrid<> grid(3, 3);
        // tsTerminal's glStandard gives the header the button face, as RGB.
        const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
        grid->SetStyle(c.style);
        EXPECT_EQ(grid->GetLook(), c.look);
        EXPECT_EQ(grid->GetBorderColor(), Expect(c.border, fresh->GetBorderColor()));
        const TColor header[] = {grid->GetPackGradientFrom(), grid->GetPackGradientTo(),
                                 grid->GetPackGradientMirrorFrom(), grid->GetPackGradientMirrorTo()};
        const TColor freshHeader[] = {c.style == tsTerminal ? face : fresh->GetPackGradientFrom(),
                                      c.style == tsTerminal ? clNone : fresh->GetPackGradientTo(),
                                      fresh->GetPackGradientMirrorFrom(), fresh->GetPackGradientMirrorTo()};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(header[i], Expect(c.header[i], freshHeader[i])) << "header " << i;
        EXPECT_EQ(grid->GetGridLineColor(), Expect(c.gridLine, fresh->GetGridLineColor()));
        EXPECT_EQ(grid->GetGridFixedLineColor(), Expect(c.fixedLine, fresh->GetGridFixedLineColor()));
        EXPECT_EQ(grid->GetSelectionColor(), c.selection);
        EXPECT_EQ(grid->GetSelectionColorTo(), c.selectionTo);
        EXPECT_EQ(grid->GetSelectionTextColor(), c.selectionText);
        EXPECT_EQ(grid->GetActiveCellColor(), Expect(c.activeFrom, fresh->GetActiveCellColor()));
        EXPECT_EQ(grid->GetActiveCellColorTo(), Expect(c.activeTo, fresh->GetActiveCellColorTo()));
        EXPECT_EQ(grid->GetSelectionStyle(), c.selectionStyle);
        if (c.style != tsCustom && c.style != tsTerminal) {
            EXPECT_EQ(grid->GetSearchFooter()->GetColor(), grid->GetPackGradientFrom());
            EXPECT_EQ(grid->GetSearchFooter()->GetColorTo(), grid->GetPackGradientMirrorTo());
        }
    }
}

TEST(GridLooks, VistaOnAFreshGridGivesItsWholeSet)
{
    TFilledGrid<> grid(3, 3);
    grid->SetLook(glVista);
    EXPECT_EQ(grid->GetComponentStyle(), tsWindowsVista);
    EXPECT_EQ(grid->GetPackGradientFrom(), 0xFFFFFF);
    EXPECT_EQ(grid->GetPackGradientTo(), 0xFFFFFF);
    EXPECT_EQ(grid->GetPackGradientMirrorFrom(), 0xFAF8F7);
    EXPECT_EQ(grid->GetPackGradientMirrorTo(), 0xF4F2F1);
    const auto hover = grid->GetHoverGradient();
    EXPECT_EQ((std::vector<TColor>{hover.From, hover.To, hover.MirrorFrom, hover.MirrorTo, hover.Border}),
              (std::vector<TColor>{0xFFF7E3, 0xFFF7E3, 0xFFEDBD, 0xFBE7B7, 0xE3C993}));
    const auto down = grid->GetDownGradient();
    EXPECT_EQ((std::vector<TColor>{down.From, down.To, down.MirrorFrom, down.MirrorTo, down.Border}),
              (std::vector<TColor>{0xF9E4BC, 0xF9E4BC, 0xF7D68D, 0xF5D18A, 0xAE904F}));
    TControlLook* look = grid->GetControlLook();
    EXPECT_EQ(look->GetFixedGradientFrom(), clNone);
    EXPECT_EQ(look->GetFixedGradientTo(), clNone);
    EXPECT_EQ(look->GetFixedGradientMirrorFrom(), 0xFAF8F7);
    EXPECT_EQ(look->GetFixedGradientMirrorTo(), 0xF4F2F1);
    EXPECT_EQ(look->GetFixedGradientHoverFrom(), 0xFFF7E3);
    EXPECT_EQ(look->GetFixedGradientDownBorder(), 0xAE904F);
    TSortSettings* sort = grid->GetSortSettings();
    EXPECT_EQ((std::vector<TColor>{sort->GetHeaderColor(), sort->GetHeaderColorTo(), sort->GetHeaderMirrorColor(),
                                   sort->GetHeaderMirrorColorTo()}),
              (std::vector<TColor>{0xFCF9F2, 0xFCF9F2, 0xF9F1E1, 0xF6ECD8}));
    EXPECT_EQ(grid->GetActiveCellColor(), 0xFDF8F1);
    EXPECT_EQ(grid->GetActiveCellColorTo(), 0xFCEFD5);
    EXPECT_EQ(grid->GetSelectionColor(), 0xEACAB6);
    EXPECT_EQ(grid->GetSelectionTextColor(), 0x000000);
    EXPECT_EQ(grid->GetSearchFooter()->GetColor(), 0xFFFFFF);
    EXPECT_EQ(grid->GetSearchFooter()->GetColorTo(), 0xF4F2F1);
    EXPECT_EQ(grid->GetSelectionStyle(), ssVista);
    EXPECT_EQ(grid->GetGridLineColor(), 0xECECF0);
    EXPECT_EQ(grid->GetGridFixedLineColor(), 0xD4D2D1);
    EXPECT_EQ(grid->GetScrollType(), ssNormal);
    EXPECT_EQ(grid->GetBorderColor(), 0xB99D7F);
    EXPECT_EQ(grid->GetActiveCellFont()->GetColor(), clWindowText);
    EXPECT_EQ(grid->GetFixedFont()->GetColor(), 0x000000);
}

TEST(GridLooks, TheSameLookAgainChangesNothing)
{
    TFilledGrid<> grid(3, 3);
    grid->SetLook(glVista);
    grid->SetSelectionColor(0x123456);
    grid->SetPackGradientFrom(0x654321);
    grid->GetSortSettings()->SetHeaderColor(0x111111);
    grid->SetLook(glVista);
    EXPECT_EQ(grid->GetSelectionColor(), 0x123456);
    EXPECT_EQ(grid->GetPackGradientFrom(), 0x654321);
    EXPECT_EQ(grid->GetSortSettings()->GetHeaderColor(), 0x111111);
}

TEST(GridLooks, CustomStyleOnlyResetsWhatEveryStyleStartsFrom)
{
    TFilledGrid<> grid(3, 3);
    grid->SetLook(glVista);
    grid->SetStyle(tsCustom);
    EXPECT_EQ(grid->GetSelectionColor(), clHighlight);
    EXPECT_EQ(grid->GetSelectionTextColor(), clHighlightText);
    EXPECT_EQ(grid->GetSelectionStyle(), ssDefault);
    EXPECT_EQ(grid->GetSortSettings()->GetHeaderColor(), clNone);
    EXPECT_EQ(grid->GetSortSettings()->GetHeaderMirrorColorTo(), clNone);
    EXPECT_EQ(grid->GetControlLook()->GetFixedGradientHoverFrom(), 0x808080);
    // The hover and pressed mirrors reach the grid as clNone; the header's own colours stay.
    EXPECT_EQ(grid->GetHoverGradient().MirrorFrom, clNone);
    EXPECT_EQ(grid->GetDownGradient().MirrorTo, clNone);
    EXPECT_EQ(grid->GetPackGradientMirrorFrom(), 0xFAF8F7);
    EXPECT_EQ(grid->GetControlLook()->GetFixedGradientMirrorFrom(), clNone);
    EXPECT_EQ(grid->GetPackGradientFrom(), 0xFFFFFF);
    EXPECT_EQ(grid->GetLook(), glVista);
}

TEST(GridLooks, ComponentStyleLeavesMetroScrollingOnlyForCustom)
{
    TFilledGrid<> grid(3, 3);
    grid->SetScrollType(ssMetro);
    grid->SetComponentStyle(tsCustom);
    EXPECT_EQ(grid->GetScrollType(), ssMetro);
    grid->SetComponentStyle(tsOffice2013White);
    EXPECT_EQ(grid->GetScrollType(), ssNormal);
    // The look switched on the way applies its own style, but the grid keeps the one it was given.
    EXPECT_EQ(grid->GetComponentStyle(), tsOffice2013White);
}

TEST(GridLooks, SilverAfterOffice2010KeepsTheMirrorColours)
{
    TFilledGrid<> grid(3, 3);
    grid->SetStyle(tsOffice2010Blue);
    grid->SetStyle(tsOffice2007Silver);
    EXPECT_EQ(grid->GetPackGradientFrom(), 0xF3F3F1);
    EXPECT_EQ(grid->GetPackGradientTo(), 0xCAC9C8);
    EXPECT_EQ(grid->GetPackGradientMirrorFrom(), 0xF5E7DA);
    EXPECT_EQ(grid->GetPackGradientMirrorTo(), 0xF5E7DA);
}

TEST(GridLooks, Office2016ShadesTheApplicationColour)
{
    TFilledGrid<> grid(3, 3);
    grid->SetStyle(tsOffice2016White);
    EXPECT_EQ(grid->GetHoverGradient().From, 0xFFFFFF);
    EXPECT_EQ(grid->GetHoverGradient().MirrorTo, 0xFFFFFF);
    EXPECT_EQ(grid->GetHoverGradient().Border, 0xB1B1B1);
    EXPECT_EQ(grid->GetDownGradient().To, 0xFFFFFF);
    EXPECT_EQ(grid->GetDownGradient().Border, 0xABABAB);
    EXPECT_EQ(grid->GetActiveCellFont()->GetColor(), clNone);

    grid->SetStyleAndAppColor(tsOffice2016White, 0x804020);
    EXPECT_EQ(grid->GetHoverGradient().From, ShadeColor(0x804020, -60));
    EXPECT_EQ(grid->GetDownGradient().From, ShadeColor(0x804020, -20));
    EXPECT_EQ(grid->GetActiveCellFont()->GetColor(), 0x804020);

    grid->SetStyle(tsOffice2016Black);
    EXPECT_EQ(grid->GetFixedFont()->GetColor(), 0xFFFFFF);
    EXPECT_EQ(grid->GetActiveCellFont()->GetColor(), 0xFFFFFF);
}

TEST(GridLooks, OtherLooksTakeTheirClassicColours)
{
    struct LookCase {
        TGridLook look;
        TColor gradientTo, activeCell, selection, selectionText;
        TGridSelectionStyle style;
    };
    const LookCase cases[] = {
        {glStandard, clNone, 0x808080, clHighlight, clHighlightText, ssDefault},
        {glPack, 0xC0C0C0, 0xEACAB6, 0xEACAB6, 0x000000, ssDefault},
        {glWin7, 0xFAF0E6, 0xFCEBDC, 0xEACAB6, 0x000000, ssWin7},
    };
    for (const LookCase& c : cases) {
        SCOPED_TRACE(c.look);
        TFilledGrid<> grid(3, 3);
        grid->SetLook(glVista);
        grid->SetLook(c.look);
        EXPECT_EQ(grid->GetPackGradientTo(), c.gradientTo);
        EXPECT_EQ(grid->GetActiveCellColor(), c.activeCell);
        EXPECT_EQ(grid->GetSelectionColor(), c.selection);
        EXPECT_EQ(grid->GetSelectionTextColor(), c.selectionText);
        EXPECT_EQ(grid->GetSelectionStyle(), c.style);
        EXPECT_EQ(grid->GetBorderColor(), 0xB99D7F);
    }
}

TEST(GridLooks, NamesAndCaptions)
{
    const struct {
        TGridLook look;
        const wchar_t *name, *caption;
    } cases[] = {{glStandard, L"glStandard", L"Standard"}, {glXP, L"glXP", L"Windows XP"},
                 {glListView, L"glListView", L"ListView"}, {glVista, L"glVista", L"Windows Vista"},
                 {glOffice2007, L"glOffice2007", L"Office2007"}, {glCustom, L"before", L"before"}};
    for (const auto& c : cases) {
        String name = L"before", caption = L"before";
        TAdvStringGrid::GetLookName(c.look, name);
        TAdvStringGrid::GetLookCaption(c.look, caption);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(caption, c.caption);
    }
}

TEST(GridLooks, ColourTonesGiveTheFlatMetroAppearance)
{
    TFilledGrid<> grid(3, 3);
    TColorTones tones{};
    tones.Background = {0xFFFFFF, 0xE0E0E0, 0x202020};
    tones.Foreground = {0xC08040, 0x000000, 0xFFFFFF};
    tones.Selected = {0x40A0F0, 0x000000, 0x101010};
    grid->SetColorTones(tones);
    EXPECT_EQ(grid->GetLook(), glClassic);
    EXPECT_TRUE(grid->GetFlat());
    EXPECT_EQ(grid->GetScrollType(), ssMetro);
    EXPECT_EQ(grid->GetFixedColor(), 0xC08040);
    EXPECT_EQ(grid->GetColor(), 0xFFFFFF);
    EXPECT_EQ(grid->GetSelectionColor(), 0x40A0F0);
    EXPECT_EQ(grid->GetGridLineColor(), RGB(230, 230, 230));
    EXPECT_EQ(grid->GetGridFixedLineColor(), BrightenColor(0xC08040, -20));
    EXPECT_EQ(grid->GetControlLook()->GetControlStyle(), csGlyph);
    EXPECT_FALSE(grid->GetControlLook()->GetCheckedGlyph()->GetEmpty());
    EXPECT_FALSE(grid->GetControlLook()->GetRadioOffGlyph()->GetEmpty());
    EXPECT_EQ(grid->GetCellNode()->GetNodeType(), cnFlat);
    EXPECT_EQ(grid->GetSearchFooter()->GetColorTo(), 0xC08040);
}

TEST(GridLooks, XPColourSchemes)
{
    TFilledGrid<> grid(3, 3);
    grid->SetTheme(vistaAero);
    EXPECT_EQ(grid->GetPackGradientMirrorFrom(), 0xFAF8F7);
    EXPECT_EQ(grid->GetSearchFooter()->GetColor(), 0xECE2E1);
    EXPECT_EQ(grid->GetActiveCellColor(), 0x94E6FB);
    grid->SetTheme(xpNone);
    EXPECT_EQ(grid->GetActiveCellColorTo(), 0xFFD9B3);
    EXPECT_EQ(grid->GetPackGradientTo(), clBtnFace);
    EXPECT_EQ(grid->GetControlLook()->GetFixedGradientFrom(), clNone);
}

} // namespace
