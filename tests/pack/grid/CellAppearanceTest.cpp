// How a cell's look is resolved: which source wins in which order, the
// selection colour mixer and the font used to measure text.
#include "AdvGrid.h"
#include "DataGridSupport.h"
#include <gtest/gtest.h>
#include <functional>

namespace {

using datagrid_test::TFilledGrid;

constexpr TColor GridColor = 0xF0F0F0;
constexpr TColor Fixed = 0xC0D0E0;

struct TLook {
    TColor brush, colorTo, mirror, mirrorTo, font;
    TGridDrawState state;
    TAlignment ha;
    bool ww;
};

TLook Resolve(TAdvStringGrid* grid, int col, int row, TGridDrawState state = {}, bool select = false,
              bool print = false)
{
    TOwned<TBrush> brush(New<TBrush>());
    TOwned<TFont> font(New<TFont>());
    TLook look{};
    TVAlignment va = vtaTop;
    TCellGradientDirection gd = GradientVertical;
    look.ww = true;
    grid->GetVisualProperties(col, row, state, print, select, true, brush.get(), look.colorTo, look.mirror,
                              look.mirrorTo, font.get(), look.ha, va, look.ww, gd);
    look.brush = brush->GetColor();
    look.font = font->GetColor();
    look.state = state;
    return look;
}

// A 4 x 5 grid in the plain look with one fixed row and column.
struct TPlainGrid : TFilledGrid<> {
    TPlainGrid() : TFilledGrid<>(4, 5)
    {
        grid->SetLook(glStandard);
        grid->SetColor(GridColor);
        grid->SetFixedColor(Fixed);
        grid->GetFont()->SetColor(0x000001);
        grid->GetFixedFont()->SetColor(0x0000AA);
    }
};

struct OrderCase {
    const char* name;
    std::function<void(TAdvStringGrid*)> setUp;
    int col, row;
    TColor brush, font;
};

const OrderCase OrderCases[] = {
    {"plain normal cell takes the grid colour", [](TAdvStringGrid*) {}, 1, 1, GridColor, 0x000001},
    {"fixed cell takes the fixed colour and font", [](TAdvStringGrid*) {}, 1, 0, Fixed, 0x0000AA},
    {"own colour of a normal cell", [](TAdvStringGrid* g) { g->SetCellBrushColor(1, 1, 0x00FF00); }, 1, 1, 0x00FF00,
     0x000001},
    {"own colour of a fixed cell without a graphic wins",
     [](TAdvStringGrid* g) { g->SetCellBrushColor(1, 0, 0x00FF00); }, 1, 0, 0x00FF00, 0x0000AA},
    {"fixed cell with a button keeps the fixed look",
     [](TAdvStringGrid* g) {
         g->SetCellBrushColor(1, 0, 0x00FF00);
         g->AddButton(1, 0, 20, 16, L"b", haLeft, vaTop);
     },
     1, 0, Fixed, 0x0000AA},
    {"fixed cell with a progress bar keeps the header gradient",
     [](TAdvStringGrid* g) {
         g->SetLook(glXP);
         g->SetCellBrushColor(1, 0, 0x00FF00);
         g->AddProgress(1, 0, clRed, clWhite);
     },
     1, 0, 0xFFFFFF, 0x0000AA},
    {"bands: first normal row primary",
     [](TAdvStringGrid* g) {
         TBands* b = g->GetBands();
         b->SetPrimaryColor(0x111111);
         b->SetSecondaryColor(0x222222);
         b->SetPrimaryLength(1);
         b->SetSecondaryLength(1);
         b->SetActive(true);
     },
     1, 1, 0x111111, 0x000001},
    {"bands: second normal row secondary",
     [](TAdvStringGrid* g) {
         TBands* b = g->GetBands();
         b->SetPrimaryColor(0x111111);
         b->SetSecondaryColor(0x222222);
         b->SetPrimaryLength(1);
         b->SetSecondaryLength(1);
         b->SetActive(true);
     },
     1, 2, 0x222222, 0x000001},
    {"bands never colour a fixed cell",
     [](TAdvStringGrid* g) {
         g->GetBands()->SetPrimaryColor(0x111111);
         g->GetBands()->SetActive(true);
     },
     0, 1, Fixed, 0x0000AA},
    {"negative number colours",
     [](TAdvStringGrid* g) {
         g->SetCells(2, 2, L"-3");
         g->GetAutoColor()->GetNegativeNumber()->SetTextColor(0x0000FF);
         g->GetAutoColor()->GetNegativeNumber()->SetBkgColor(0xEEEEFF);
     },
     2, 2, 0xEEEEFF, 0x0000FF},
    {"positive number keeps the cell colour without a background",
     [](TAdvStringGrid* g) {
         g->SetCells(2, 2, L"3");
         g->GetAutoColor()->GetPositiveNumber()->SetTextColor(0x008000);
     },
     2, 2, GridColor, 0x008000},
    {"the colour event comes after the automatic colours",
     [](TAdvStringGrid* g) {
         g->SetCells(2, 2, L"-3");
         g->GetAutoColor()->GetNegativeNumber()->SetBkgColor(0xEEEEFF);
         g->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* b, TFont*) { b->SetColor(0x123456); };
     },
     2, 2, 0x123456, 0x000001},
    {"the gradient event comes after the colour event",
     [](TAdvStringGrid* g) {
         g->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* b, TFont*) { b->SetColor(0x123456); };
         g->OnGetCellGradient = [](TObject*, int, int, TColor& c, TColor& to, TColor&, TColor&,
                                   TCellGradientDirection&) {
             c = c == 0x123456 ? 0x654321 : clRed;
             to = 0xABCDEF;
         };
     },
     2, 2, 0x654321, 0x000001},
    {"a disabled row's font",
     [](TAdvStringGrid* g) {
         g->SetDisabledFontColor(0x999999);
         g->SetRowEnabled(3, false);
     },
     1, 3, GridColor, 0x999999},
};

TEST(CellAppearance, SourcesApplyInTheirOrder)
{
    for (const OrderCase& c : OrderCases) {
        SCOPED_TRACE(c.name);
        TPlainGrid grid;
        c.setUp(grid.grid);
        const TLook look = Resolve(grid.grid, c.col, c.row);
        EXPECT_EQ(look.brush, c.brush);
        EXPECT_EQ(look.font, c.font);
    }
}

TEST(CellAppearance, FixedCellsOfGradientLooksTakeTheHeaderGradient)
{
    TPlainGrid grid;
    grid->SetLook(glVista);
    const TLook header = Resolve(grid.grid, 1, 0);
    EXPECT_EQ(header.brush, 0xFFFFFF);
    EXPECT_EQ(header.colorTo, 0xFFFFFF);
    EXPECT_EQ(header.mirror, 0xFAF8F7);
    EXPECT_EQ(header.mirrorTo, 0xF4F2F1);
    EXPECT_TRUE(header.state.Contains(gdFixed));
    const TLook normal = Resolve(grid.grid, 1, 1);
    EXPECT_EQ(normal.brush, GridColor);
    EXPECT_EQ(normal.mirrorTo, clNone);
    EXPECT_FALSE(normal.state.Contains(gdFixed));
}

// The cell's own size reaches the screen through the colour hook whatever
// UseDisplayFont says, and the font that measures text has it too.
TEST(CellAppearance, CellFontSizeShowsAndMeasures)
{
    TPlainGrid grid;
    grid->GetFont()->SetSize(9);
    grid->SetCellFontPointSize(1, 1, 14);
    grid->GetPrintSettings()->SetUseDisplayFont(false);
    TOwned<TBrush> brush(New<TBrush>());
    TOwned<TFont> font(New<TFont>());
    TColor to, mirror, mirrorTo;
    TAlignment ha;
    TVAlignment va;
    bool ww = true;
    TCellGradientDirection gd;
    TGridDrawState state;
    grid->GetVisualProperties(1, 1, state, false, false, true, brush.get(), to, mirror, mirrorTo, font.get(), ha, va,
                              ww, gd);
    EXPECT_EQ(font->GetSize(), 14);
    grid->GetVisualProperties(2, 1, state, false, false, true, brush.get(), to, mirror, mirrorTo, font.get(), ha, va,
                              ww, gd);
    EXPECT_EQ(font->GetSize(), 9);
    grid->GetFontProperties(1, 1, 1, {}, font.get(), brush.get(), true);
    EXPECT_EQ(font->GetSize(), 14);
    grid->GetPrintSettings()->SetUseDisplayFont(true);
    grid->GetVisualProperties(1, 1, state, false, false, true, brush.get(), to, mirror, mirrorTo, font.get(), ha, va,
                              ww, gd);
    EXPECT_EQ(font->GetSize(), 14);
}

TEST(CellAppearance, SelectedCellsTakeTheSelectionColours)
{
    TPlainGrid grid;
    grid->SetSelectionColor(0x804020);
    grid->SetSelectionTextColor(0xFFFFFF);
    grid->SetSelection({1, 1, 2, 2});
    const TLook inside = Resolve(grid.grid, 2, 2, {}, true);
    EXPECT_EQ(inside.brush, 0x804020);
    EXPECT_EQ(inside.font, 0xFFFFFF);
    EXPECT_TRUE(inside.state.Contains(gdSelected));
    // The painter colours the selection itself.
    EXPECT_EQ(Resolve(grid.grid, 2, 2, {}, false).brush, GridColor);
    EXPECT_EQ(Resolve(grid.grid, 3, 3, {}, true).brush, GridColor);

    // With the mixer, a coloured cell shows half of each colour.
    grid->SetCellBrushColor(2, 2, 0x204080);
    grid->SetSelectionColorMixer(true);
    grid->SetSelectionColorMixerFactor(50);
    EXPECT_EQ(Resolve(grid.grid, 2, 2, {}, true).brush, MixSelectionColor(0x804020, 0x204080, 50));
    EXPECT_EQ(Resolve(grid.grid, 2, 2, {}, true).brush, 0x504050);
}

TEST(CellAppearance, SelectionMixerFactors)
{
    struct {
        TColor sel, cell;
        int factor;
        TColor expected;
    } cases[] = {
        {0x804020, 0x204080, 100, 0x804020}, {0x804020, 0x204080, 150, 0x804020},
        {0x804020, 0x204080, 0, 0x204080},   {0x804020, 0x204080, -5, 0x204080},
        {clNone, 0x204080, 50, 0x204080},    {0x804020, clNone, 50, 0x804020},
        // 0.5 rounds to 0 and 1.5 to 2: halves go to the even neighbour.
        {0x030001, 0x000000, 50, 0x020000},  {0xFFFFFF, 0x000000, 25, 0x404040},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MixSelectionColor(c.sel, c.cell, c.factor), c.expected) << c.factor;
    EXPECT_EQ(ApplySelectionMixer(0x804020, 0x204080, false, 50), 0x804020);
    // A system colour is resolved before mixing.
    EXPECT_EQ(MixSelectionColor(clWindow, 0x000000, 50), MixSelectionColor(ColorToRGB(clWindow), 0, 50));

    TPlainGrid grid;
    grid->SetSelectionColorMixerFactor(150);
    EXPECT_EQ(grid->GetSelectionColorMixerFactor(), 100);
    grid->SetSelectionColorMixerFactor(-3);
    EXPECT_EQ(grid->GetSelectionColorMixerFactor(), 0);
}

TEST(CellAppearance, CellColourHookKeepsCoveringGraphicsOnTheirBrush)
{
    // A check box sits beside the text and shows the cell colour; a progress
    // bar covers the cell and keeps the painter's brush.
    TPlainGrid grid;
    grid->SetCellBrushColor(1, 1, 0x00FF00);
    grid->AddCheckBox(1, 1, false, false);
    grid->SetCellBrushColor(2, 1, 0x00FF00);
    grid->AddProgress(2, 1, clRed, clWhite);
    TOwned<TBrush> brush(New<TBrush>());
    TOwned<TFont> font(New<TFont>());
    brush->SetColor(0x111111);
    grid->GetFontProperties(1, 1, 1, {}, font.get(), brush.get(), true);
    EXPECT_EQ(brush->GetColor(), 0x00FF00);
    brush->SetColor(0x111111);
    grid->GetFontProperties(2, 2, 1, {}, font.get(), brush.get(), true);
    EXPECT_EQ(brush->GetColor(), 0x111111);
}

} // namespace
