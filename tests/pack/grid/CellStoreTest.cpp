// The base grid's cell store: covered cells of merged blocks read and write
// their base cell, merges and splits round-trip, the block queries, cell
// properties on demand and the display-text hooks.
#include "DataGridSupport.h"
#include "AdvUtil.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <functional>
#include <string>

using namespace datagrid_test;

namespace {

using TBaseFilled = TFilledGrid<TBaseGrid>;

// ---------------------------------------------------------------------------
// A 3 x 2 block based at (1, 1) on a 6 x 5 grid.

struct TBlockCase {
    int col, row;
    TPoint base;
    TPoint span;
    TPoint ext;
    bool merged;
    bool covered;
};

const TBlockCase BlockCases[] = {
    // base cell
    {1, 1, {1, 1}, {2, 1}, {2, 1}, true, false},
    // covered cells: first row, second row, last cell
    {2, 1, {1, 1}, {2, 1}, {1, 1}, true, true},
    {1, 2, {1, 1}, {2, 1}, {2, 0}, true, true},
    {3, 2, {1, 1}, {2, 1}, {0, 0}, true, true},
    // neighbours outside the block
    {4, 1, {4, 1}, {0, 0}, {0, 0}, false, false},
    {1, 3, {1, 3}, {0, 0}, {0, 0}, false, false},
    {0, 0, {0, 0}, {0, 0}, {0, 0}, false, false},
};

TEST(CellStore, EveryCellOfABlockAnswersForTheWholeBlock)
{
    TBaseFilled g(6, 5);
    g->MergeCells(1, 1, 3, 2);
    for (const TBlockCase& c : BlockCases) {
        SCOPED_TRACE(testing::Message() << "cell " << c.col << "," << c.row);
        EXPECT_EQ(g->BaseCell(c.col, c.row), c.base);
        EXPECT_EQ(g->CellSpan(c.col, c.row), c.span);
        EXPECT_EQ(g->CellExt(c.col, c.row), c.ext);
        EXPECT_EQ(g->IsMergedCell(c.col, c.row), c.merged);
        EXPECT_EQ(g->IsMergedNonBaseCell(c.col, c.row), c.covered);
        EXPECT_EQ(g->IsBaseCell(c.col, c.row), !c.covered);
        int baseCol = -1, baseRow = -1;
        EXPECT_EQ(g->ResolveBaseCell(c.col, c.row, baseCol, baseRow), !c.covered);
        EXPECT_EQ(TPoint(baseCol, baseRow), c.base);
        // Every text read goes to the base cell; storage keeps its own.
        EXPECT_EQ(g->GetCellText(c.col, c.row), CellName(c.base.x, c.base.y));
        EXPECT_EQ(g->GetRawCell(c.col, c.row), CellName(c.col, c.row));
    }
    EXPECT_TRUE(g->IsXMergedCell(3, 2));
    EXPECT_TRUE(g->IsYMergedCell(3, 2));
    EXPECT_EQ(g->FullCell(2, 2), TRect(1, 1, 3, 2));
}

TEST(CellStore, WritingACoveredCellStoresInTheBaseCell)
{
    TBaseFilled g(6, 5);
    g->MergeCells(1, 1, 3, 2);
    g->SetCellText(3, 2, L"x");
    EXPECT_EQ(g->GetRawCell(1, 1), L"x");
    EXPECT_EQ(g->GetRawCell(3, 2), CellName(3, 2));
    for (TPoint p : {TPoint(1, 1), TPoint(2, 1), TPoint(3, 2)})
        EXPECT_EQ(g->GetCellText(p.x, p.y), L"x");
}

TEST(CellStore, SplittingFromAnyCellGivesEveryCellItsOwnTextBack)
{
    for (TPoint splitAt : {TPoint(1, 1), TPoint(2, 1), TPoint(3, 2)}) {
        TBaseFilled g(6, 5);
        g->MergeCells(1, 1, 3, 2);
        g->SplitCells(splitAt.x, splitAt.y);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 6; ++c) {
                EXPECT_EQ(g->GetCellText(c, r), CellName(c, r));
                EXPECT_FALSE(g->IsMergedCell(c, r));
                EXPECT_EQ(g->CellSpan(c, r), TPoint(0, 0));
            }
        // Merging again after the split works as the first time did.
        g->MergeCells(1, 1, 3, 2);
        EXPECT_EQ(g->GetCellText(3, 2), CellName(1, 1));
    }
}

TEST(CellStore, AOneCellBlockIsNoMerge)
{
    TShownGrid<TBaseGrid> g(6, 5);
    const TRect plain = g->CellRect(2, 2);
    g->MergeCells(2, 2, 1, 1);
    EXPECT_FALSE(g->IsMergedCell(2, 2));
    EXPECT_TRUE(g->IsBaseCell(2, 2));
    EXPECT_EQ(g->CellSpan(2, 2), TPoint(0, 0));
    EXPECT_EQ(g->CellRect(2, 2), plain);
}

TEST(CellStore, APlainCellIsItsOwnBaseAndSplittingItCreatesNothing)
{
    TBaseFilled g(6, 5);
    EXPECT_TRUE(g->IsBaseCell(2, 2));
    EXPECT_EQ(g->BaseCell(2, 2), TPoint(2, 2));
    EXPECT_EQ(g->GetCellObject(2, 2), 0);
    g->SplitCells(2, 2);
    EXPECT_FALSE(g->HasCellProperties(2, 2));
}

TEST(CellStore, ANewBlockOverlappingAnOldOneSplitsTheOldOneFirst)
{
    TBaseFilled g(6, 5);
    g->MergeCells(1, 1, 2, 2);
    g->MergeCells(2, 2, 2, 2);
    // The old block is gone entirely, not left half covered.
    for (TPoint p : {TPoint(1, 1), TPoint(2, 1), TPoint(1, 2)}) {
        EXPECT_FALSE(g->IsMergedCell(p.x, p.y));
        EXPECT_EQ(g->GetCellText(p.x, p.y), CellName(p.x, p.y));
    }
    for (TPoint p : {TPoint(2, 2), TPoint(3, 2), TPoint(2, 3), TPoint(3, 3)})
        EXPECT_EQ(g->GetCellText(p.x, p.y), CellName(2, 2));
    EXPECT_EQ(g->CellSpan(3, 3), TPoint(1, 1));
}

TEST(CellStore, BlocksThatDoNotFitTheGridAreIgnored)
{
    struct Case {
        int c, r, spanx, spany;
    };
    for (const Case& m : {Case{4, 1, 3, 1}, Case{1, 4, 1, 2}, Case{-1, 1, 2, 1}, Case{1, -1, 1, 2}, Case{1, 1, 0, 2},
                          Case{1, 1, 2, -1}}) {
        TBaseFilled g(6, 5);
        g->MergeCells(m.c, m.r, m.spanx, m.spany);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 6; ++c)
                EXPECT_FALSE(g->HasCellProperties(c, r)) << m.c << "," << m.r << " " << m.spanx << "x" << m.spany;
    }
}

TEST(CellStore, SpanQueriesCompareTheMergesOfTwoRowsOrColumns)
{
    TBaseFilled g(6, 6);
    // Column 1: rows 1-2 and rows 3-4 merged; column 2: rows 1-2 merged.
    g->MergeCells(1, 1, 1, 2);
    g->MergeCells(1, 3, 1, 2);
    g->MergeCells(2, 1, 1, 2);
    EXPECT_TRUE(g->RowSpanIdentical(1, 2));
    EXPECT_FALSE(g->RowSpanIdentical(2, 3)) << "different blocks in column 1";
    EXPECT_FALSE(g->RowSpanIdentical(0, 5)) << "no merge met at all";
    EXPECT_EQ(g->MinRowSpan(1), 1);
    EXPECT_EQ(g->MaxRowSpan(1), 1);
    EXPECT_EQ(g->MinRowSpan(0), g->GetRowCount());
    EXPECT_EQ(g->MaxRowSpan(0), 0);

    // Rows 1 and 2 of columns 3 and 4 merged across, as one block each row.
    g->MergeCells(3, 4, 2, 1);
    g->MergeCells(3, 5, 2, 1);
    EXPECT_TRUE(g->ColSpanIdentical(3, 4));
    EXPECT_FALSE(g->ColSpanIdentical(4, 5)) << "column 5 has no horizontal merge where 4 has";
    EXPECT_FALSE(g->ColSpanIdentical(0, 5)) << "no merge met at all";
}

// ---------------------------------------------------------------------------
// Cell properties

TEST(CellStore, PropertiesMadeOnDemandStartFromTheGridsLook)
{
    TBaseFilled g(4, 4);
    g->GetFont()->SetName(L"Tahoma");
    g->GetFont()->SetColor(clNavy);
    g->SetColor(clCream);
    g->SetWordWrap(false);
    TCellProperties* props = g->GetCellProperties(2, 3);
    EXPECT_TRUE(g->HasCellProperties(2, 3));
    EXPECT_EQ(props->GetFontName(), L"Tahoma");
    EXPECT_EQ(props->GetFontColor(), clNavy);
    EXPECT_EQ(props->GetBrushColor(), clCream);
    EXPECT_EQ(props->GetBrushColorTo(), clNone);
    EXPECT_FALSE(props->GetWordWrap());
    EXPECT_EQ(props->GetAlignment(), taLeftJustify);
    EXPECT_EQ(props->GetCellSpanX(), -1);
    EXPECT_TRUE(props->GetIsBaseCell());
    EXPECT_EQ(g->GetCellProperties(2, 3), props) << "made once";
    // The text stays where it was, and so does everything else.
    EXPECT_EQ(g->GetCellText(2, 3), CellName(2, 3));
    g->SetCellObject(2, 3, 42);
    EXPECT_EQ(g->GetCellObject(2, 3), 42);
}

TEST(CellStore, CellsOutsideTheGridGetNoProperties)
{
    TBaseFilled g(4, 4);
    for (TPoint p : {TPoint(4, 1), TPoint(1, 4), TPoint(-1, 1), TPoint(1, -1)}) {
        EXPECT_THROW(g->GetCellProperties(p.x, p.y), EInvalidGridOperation) << p.x << "," << p.y;
        EXPECT_FALSE(g->HasCellProperties(p.x, p.y));
        EXPECT_EQ(g->GetCellObject(p.x, p.y), 0);
    }
}

TEST(CellStore, AssignCopiesTheSpansAndLookButNotTheGradientOrGraphic)
{
    TBaseFilled g(4, 4);
    TCellProperties* source = g->GetCellProperties(1, 1);
    source->SetCellSpanX(2);
    source->SetCellSpanY(3);
    source->SetMergeCollaps(true);
    source->SetFontName(L"Arial");
    source->SetReadOnly(true);
    source->SetBrushColorTo(clRed);
    source->SetGradientDirection(GradientHorizontal);
    TObject graphic;
    source->SetGraphicObject(&graphic);
    TCellProperties* dest = g->GetCellProperties(2, 2);
    dest->Assign(source);
    EXPECT_EQ(dest->GetCellSpanX(), 2);
    dest->SetMergeCollaps(false);
    EXPECT_EQ(dest->GetCellSpanY(), 0) << "a collapsed source reads 0 rows";
    EXPECT_EQ(dest->GetFontName(), L"Arial");
    EXPECT_TRUE(dest->GetReadOnly());
    EXPECT_EQ(dest->GetBrushColorTo(), clNone);
    EXPECT_EQ(dest->GetGradientDirection(), GradientVertical);
    EXPECT_EQ(dest->GetGraphicObject(), nullptr);
    source->SetGraphicObject(nullptr);
}

// Freeing a range frees the grid's own cell graphics only.
int freedGraphics = 0;
int freedOthers = 0;

// The grid's own record, counted as it goes.
class TCellGraphic : public ::TCellGraphic {
public:
    ~TCellGraphic() override { ++freedGraphics; }
};

class TPictureTag : public TObject {
public:
    ~TPictureTag() override { ++freedOthers; }
};

TEST(CellStore, FreeingARangeFreesCellGraphicsButNotOtherObjects)
{
    freedGraphics = freedOthers = 0;
    TPictureTag* tag = New<TPictureTag>();
    {
        TBaseFilled g(4, 4);
        g->SetCellGraphicObject(1, 1, New<TCellGraphic>());
        g->SetCellGraphicObject(2, 2, tag);
        g->FreeCellPropertiesRange(0, 0, 3, 3);
        EXPECT_FALSE(g->HasCellProperties(1, 1));
        EXPECT_FALSE(g->HasCellProperties(2, 2));
        EXPECT_EQ(freedGraphics, 1);
        EXPECT_EQ(freedOthers, 0);
    }
    tag->Free();
    EXPECT_EQ(freedOthers, 1);
}

TEST(CellStore, TheGridFreesItsCellsPropertiesAndGraphicsWhenItGoes)
{
    freedGraphics = 0;
    {
        TBaseFilled g(4, 4);
        g->SetCellGraphicObject(3, 3, New<TCellGraphic>());
        g->MergeCells(0, 0, 2, 2);
    }
    EXPECT_EQ(freedGraphics, 1);
}

// Every way a cell's properties go takes the graphic the cell owns along; a
// check box shared by many cells stays for its owner, and the grid going
// frees no graphic twice.
TEST(CellStore, ACellsOwnGraphicGoesWithItsPropertiesButASharedOneStays)
{
    const struct {
        const char* name;
        std::function<void(TBaseGrid*)> release;
    } releases[] = {
        {"FreeCellProperties", [](TBaseGrid* g) { g->FreeCellProperties(1, 1); }},
        {"SetCellProperties", [](TBaseGrid* g) { g->SetCellProperties(1, 1, New<TCellProperties>(g, 1, 1)); }},
        {"FreeCellPropertiesRange", [](TBaseGrid* g) { g->FreeCellPropertiesRange(0, 0, 3, 3); }},
    };
    const struct {
        TCellType type;
        bool shared;
    } kinds[] = {{ctBitmap, false}, {ctCheckBox, false}, {ctVirtCheckBox, true}, {ctRowCheckBox, true}};
    for (const auto& release : releases)
        for (const auto& kind : kinds) {
            SCOPED_TRACE(std::string(release.name) + " kind " + std::to_string(kind.type));
            freedGraphics = 0;
            auto* graphic = New<TCellGraphic>();
            graphic->SetCellType(kind.type);
            {
                TBaseFilled g(4, 4);
                g->SetCellGraphicObject(1, 1, graphic);
                if (kind.shared)
                    g->SetCellGraphicObject(2, 2, graphic);
                release.release(g.grid);
                EXPECT_EQ(g->GetCellGraphicObject(1, 1), nullptr);
                EXPECT_EQ(freedGraphics, kind.shared ? 0 : 1);
            }
            EXPECT_EQ(freedGraphics, kind.shared ? 0 : 1) << "after the grid went";
            if (freedGraphics == 0)
                graphic->Free();
        }
}

TEST(CellStore, StoringPropertiesKeepsTheGraphicTheyHoldAlive)
{
    freedGraphics = 0;
    {
        TBaseFilled g(4, 4);
        auto* graphic = New<TCellGraphic>();
        g->SetCellGraphicObject(1, 1, graphic);
        TCellProperties* props = g->GetCellProperties(1, 1);
        props->SetCellObject(7);

        // The cell's own properties again: nothing to free.
        g->SetCellProperties(1, 1, props);
        EXPECT_EQ(g->GetCellProperties(1, 1), props);
        EXPECT_EQ(g->GetCellObject(1, 1), 7);
        EXPECT_EQ(freedGraphics, 0);

        // New properties that took the graphic over keep it.
        auto* next = New<TCellProperties>(g.grid, 1, 1);
        next->SetGraphicObject(graphic);
        g->SetCellProperties(1, 1, next);
        EXPECT_EQ(g->GetCellGraphicObject(1, 1), graphic);
        EXPECT_EQ(g->GetCellObject(1, 1), 0);
        EXPECT_EQ(freedGraphics, 0);
    }
    EXPECT_EQ(freedGraphics, 1);
}

// The data grid's graphics own real pictures: every way a cell's properties
// go, visible or in a hidden row, gives the picture's GDI object back.
TEST(CellStore, DataGridCellsGiveTheirGraphicsPicturesBack)
{
    const struct {
        const char* name;
        std::function<void(TAdvStringGrid*&)> release;
    } releases[] = {
        {"properties freed", [](TAdvStringGrid*& g) { g->FreeCellProperties(1, 2); }},
        {"properties replaced", [](TAdvStringGrid*& g) { g->SetCellProperties(1, 2, New<TCellProperties>(g, 1, 2)); }},
        {"grid goes while the row is hidden",
         [](TAdvStringGrid*& g) {
             g->HideRow(2);
             FreeAndNil(g);
         }},
        {"column removed while its row is hidden",
         [](TAdvStringGrid*& g) {
             g->HideRow(2);
             g->RemoveCols(1, 1);
         }},
        {"rows inserted over the rows cut off",
         [](TAdvStringGrid*& g) {
             g->SetRowCount(2);
             g->InsertRows(2, 2);
         }},
    };
    for (const auto& release : releases) {
        SCOPED_TRACE(release.name);
        // A grid that goes takes its own objects (fonts, filter icons) along.
        const DWORD beforeGrid = testing_support::GdiObjectCount();
        auto* grid = New<TAdvStringGrid>(nullptr);
        grid->SetColCount(4);
        grid->SetRowCount(5);
        grid->SetCells(1, 2, L"picture");
        const DWORD before = testing_support::GdiObjectCount();
        auto* bitmap = New<TBitmap>();
        bitmap->SetSize(16, 16);
        bitmap->GetCanvas()->FillRect(TRect(0, 0, 16, 16));
        ::TCellGraphic* graphic = grid->CreateCellGraphic(1, 2);
        graphic->SetBitmap(bitmap, false, haLeft, vaTop);
        graphic->SetCellCreated(true);
        ASSERT_GT(testing_support::GdiObjectCount(), before) << "the picture holds a GDI object";
        release.release(grid);
        EXPECT_EQ(testing_support::GdiObjectCount(), grid ? before : beforeGrid);
        if (grid)
            grid->Free();
    }
}

// ---------------------------------------------------------------------------
// Display-text hooks

TEST(CellStore, DisplayHooksApplyToRowsBelowTheRowCount)
{
    TBaseFilled g(3, 4);
    std::vector<int> asked;
    g->OnGetDisplText = [&](TObject*, int, int ARow, String& Value) {
        asked.push_back(ARow);
        Value += L"!";
    };
    EXPECT_EQ(g->GetCellText(1, 3), CellName(1, 3) + L"!");
    // A row past the end (its storage outlives a lowered count) is not asked for.
    g->SetRawCell(1, 6, L"beyond");
    EXPECT_EQ(g->GetCellText(1, 6), L"beyond");
    g->SetRowCount(8);
    EXPECT_EQ(g->GetCellText(1, 6), L"beyond!");
    EXPECT_EQ(asked, (std::vector<int>{3, 6}));
    // A covered cell asks for its base cell.
    g->MergeCells(0, 1, 2, 2);
    asked.clear();
    g->GetCellText(1, 2);
    EXPECT_EQ(asked, (std::vector<int>{1}));
}

TEST(CellStore, TheWideHookSeesUnpackedTextAndItsAnswerComesBackPacked)
{
    TBaseFilled g(3, 4);
    g->SetCellText(1, 1, PackWideText(L"\x0416x"));
    String seen;
    g->OnGetDisplWideText = [&](TObject*, int, int, String& Value) {
        seen = Value;
        Value += L"\x0436";
    };
    EXPECT_EQ(g->GetCellText(1, 1), PackWideText(L"\x0416x\x0436"));
    EXPECT_EQ(seen, L"\x0416x");
}

// ---------------------------------------------------------------------------
// Moving over blocks with the keys, through real key messages

TEST(CellStore, ArrowKeysStepOverABlockAndLandOnBaseCells)
{
    TShownGrid<TBaseGrid> g(7, 6);
    g->MergeCells(2, 1, 2, 2);  // columns 2-3, rows 1-2
    struct Step {
        WPARAM key;
        TPoint expected;
    };
    // From (1, 1): right into the block, right out of it, back left, down
    // out of it from its base, up into it again.
    const Step steps[] = {
        {VK_RIGHT, {2, 1}}, {VK_RIGHT, {4, 1}}, {VK_LEFT, {2, 1}},
        {VK_DOWN, {2, 3}},  {VK_UP, {2, 1}},    {VK_LEFT, {1, 1}},
    };
    g->SetCol(1);
    g->SetRow(1);
    for (const Step& s : steps) {
        SendMessageW(g->GetHandle(), WM_KEYDOWN, s.key, 0);
        EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), s.expected) << "after key " << s.key;
    }
}

TEST(CellStore, AKeyFromACellInsideABlockLeavesTheBlockOrEndsOnItsBase)
{
    TShownGrid<TBaseGrid> g(7, 6);
    g->MergeCells(2, 2, 3, 3);  // columns 2-4, rows 2-4
    struct Case {
        TPoint start;
        WPARAM key;
        TPoint expected;
    };
    const Case cases[] = {
        {{3, 3}, VK_LEFT, {1, 3}},
        {{3, 3}, VK_UP, {3, 1}},
        {{3, 3}, VK_RIGHT, {5, 3}},
        {{3, 3}, VK_DOWN, {3, 5}},
    };
    for (const Case& c : cases) {
        // The application may put the current cell inside a block.
        g->SetCol(c.start.x);
        g->SetRow(c.start.y);
        SendMessageW(g->GetHandle(), WM_KEYDOWN, c.key, 0);
        EXPECT_EQ(TPoint(g->GetCol(), g->GetRow()), c.expected) << "key " << c.key;
    }
}

TEST(CellStore, ABlocksRectangleCoversAllItsCells)
{
    TShownGrid<TBaseGrid> g(7, 6);
    const TRect first = g->CellRect(2, 1);
    const TRect last = g->CellRect(3, 2);
    g->MergeCells(2, 1, 2, 2);
    const TRect block(first.left, first.top, last.right, last.bottom);
    for (TPoint p : {TPoint(2, 1), TPoint(3, 1), TPoint(2, 2), TPoint(3, 2)})
        EXPECT_EQ(g->CellRect(p.x, p.y), block);
    EXPECT_EQ(g->CellSize(3, 2), TPoint(block.Width(), block.Height()));
}

} // namespace
