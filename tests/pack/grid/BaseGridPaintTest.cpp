// The base grid's cell drawing: real grids on a shown form paint themselves
// through PaintTo into a 32-bit bitmap, which is read at chosen pixels.
// Cells are 40 x 20 pixels and the class library draws no lines, so an
// unscrolled cell (c, r) covers x 40c .. 40c+39 and y 20r .. 20r+19.
#include "AdvGrid.h"
#include "BaseGrid.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr COLORREF White = RGB(255, 255, 255);
constexpr TColor FixedFill = 0xD0E0C0;
constexpr COLORREF GridLine = 0xC0C0C0;
constexpr COLORREF FixedLine = 0x808080;

COLORREF Highlight() { return ColorToRGB(clHighlight); }

// A base grid that notes every content drawing and lets tests set the state
// the mouse handling and the floating footer keep.
class TPaintGrid : public TBaseGrid {
public:
    using TBaseGrid::TBaseGrid;
    struct TContent {
        int Col, Row;
        TRect Rect;
    };
    std::vector<TContent> contents;
    bool nodes = false;

    void SetHoverRowIdx(int Row) { FHoverRowIdx = Row; }
    void SetHideLastRow(bool Value) { FHideLastRow = Value; }
    void SetShowSel(bool Value) { FShowSel = Value; }

protected:
    bool HasNodes() override { return nodes; }
    void DrawCellContent(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override
    {
        contents.push_back({ACol, ARow, ARect});
        TBaseGrid::DrawCellContent(ACanvas, ACol, ARow, ARect, AState);
    }
};

// What a grid paints of its client area.
class TPicture {
public:
    explicit TPicture(TWinControl* control) : bitmap_(New<TBitmap>())
    {
        bitmap_->SetPixelFormat(pf32bit);
        bitmap_->SetSize(control->GetClientWidth(), control->GetClientHeight());
        control->PaintTo(bitmap_->GetCanvas()->GetHandle(), 0, 0);
    }
    COLORREF Pixel(int x, int y) const
    {
        const DWORD p = static_cast<const DWORD*>(bitmap_->GetScanLine(y))[x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The horizontal extent of the pixels in the area that are none of the given colours.
    std::pair<int, int> InkColumns(const TRect& area, std::initializer_list<COLORREF> plain) const
    {
        int first = INT_MAX, last = INT_MIN;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (std::find(plain.begin(), plain.end(), Pixel(x, y)) == plain.end()) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return {first, last};
    }
    bool HasInk(const TRect& area, std::initializer_list<COLORREF> plain) const
    {
        return InkColumns(area, plain).first != INT_MAX;
    }

private:
    TOwned<TBitmap> bitmap_;
};

template <class Grid>
struct TPaintForm {
    TForm* form = nullptr;
    Grid* grid = nullptr;
    TEdit* edit = nullptr;  // somewhere else for the focus to be
    TPaintForm()
    {
        form = New<TForm>(nullptr);
        form->SetBounds(40, 40, 420, 300);
        grid = New<Grid>(form);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(6);
        grid->SetRowCount(8);
        grid->SetDefaultColWidth(40);
        grid->SetDefaultRowHeight(20);
        grid->SetBounds(0, 0, 6 * 40, 8 * 20);
        grid->SetColor(clWhite);
        grid->SetFixedColor(FixedFill);
        TFont* font = grid->GetFont();
        font->SetName(L"Tahoma");
        font->SetSize(8);
        font->SetColor(clBlack);
        font->SetQuality(fqNonAntialiased);
        grid->SetParent(form);
        edit = New<TEdit>(form);
        edit->SetBounds(300, 10, 80, 20);
        edit->SetParent(form);
        form->Show();
        Application->ProcessMessages();
    }
    ~TPaintForm()
    {
        form->Free();
        Application->ProcessMessages();
    }
    TPaintForm(const TPaintForm&) = delete;
    TPaintForm& operator=(const TPaintForm&) = delete;
};

struct BaseGridPaint : testing::Test {
    TPaintForm<TPaintGrid> shown;
    TPaintGrid* grid = shown.grid;

    TPicture Paint()
    {
        grid->contents.clear();
        return TPicture(grid);
    }
    static TRect Cell(int c, int r) { return TRect(40 * c, 20 * r, 40 * c + 40, 20 * r + 20); }
    // A point inside the cell away from its lines and its centred text.
    static POINT Inside(int c, int r) { return {40 * c + 5, 20 * r + 5}; }
    COLORREF At(const TPicture& p, int c, int r) const { return p.Pixel(Inside(c, r).x, Inside(c, r).y); }
    void FocusGrid()
    {
        grid->SetFocus();
        Application->ProcessMessages();
        ASSERT_EQ(GetFocus(), grid->GetHandle());
    }
    void FocusElsewhere()
    {
        shown.edit->SetFocus();
        Application->ProcessMessages();
        ASSERT_NE(GetFocus(), grid->GetHandle());
    }
};

TEST_F(BaseGridPaint, GridLinesLieInsideTheRightAndBottomEdgeOfEachCell)
{
    const TGridOptions all{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine};
    struct Case {
        const char* name;
        int lineWidth;
        bool nodes;
        TGridOptions options;
        int x, y;
        COLORREF expected;
    } cases[] = {
        {"right line", 1, false, all, 119, 70, GridLine},
        {"bottom line", 1, false, all, 100, 79, GridLine},
        {"beside the right line", 1, false, all, 118, 70, White},
        {"above the bottom line", 1, false, all, 100, 78, White},
        {"fixed row: right line", 1, false, all, 119, 10, FixedLine},
        {"fixed row: bottom line", 1, false, all, 100, 19, FixedLine},
        {"fixed column: right line", 1, false, all, 39, 70, FixedLine},
        {"fixed lines stay one pixel", 3, false, all, 38, 70, FixedFill},
        // Three pixels wide, centred two pixels inside the edges.
        {"wide right line, outer pixel", 3, false, all, 119, 70, GridLine},
        {"wide right line, centre", 3, false, all, 118, 70, GridLine},
        {"wide right line, inner pixel", 3, false, all, 117, 70, GridLine},
        {"beside the wide right line", 3, false, all, 116, 70, White},
        {"wide bottom line, inner pixel", 3, false, all, 100, 77, GridLine},
        {"above the wide bottom line", 3, false, all, 100, 76, White},
        {"no horizontal lines", 1, false, {goFixedVertLine, goFixedHorzLine, goVertLine}, 100, 79, White},
        {"no vertical lines", 1, false, {goFixedVertLine, goFixedHorzLine, goHorzLine}, 119, 70, White},
        {"no fixed lines", 1, false, {goVertLine, goHorzLine}, 119, 10, FixedFill},
        // The node tree draws its own lines down the first column.
        {"node column: no bottom line", 1, true, all, 20, 79, FixedFill},
        {"node column: right line kept", 1, true, all, 39, 70, FixedLine},
        {"node column: fixed row keeps its line", 1, true, all, 20, 19, FixedLine},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        grid->SetGridLineWidth(k.lineWidth);
        grid->nodes = k.nodes;
        grid->SetOptions(k.options);
        EXPECT_EQ(Paint().Pixel(k.x, k.y), k.expected);
    }
}

TEST_F(BaseGridPaint, RightToLeftAlignmentMovesTheRightLineOnePixelOut)
{
    grid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine});
    // The last column's right line, at the grid's right edge.
    EXPECT_EQ(Paint().Pixel(239, 70), GridLine);
    grid->SetBiDiMode(bdRightToLeft);
    EXPECT_TRUE(grid->UseRightToLeftAlignment());
    EXPECT_EQ(Paint().Pixel(239, 70), White);
    EXPECT_EQ(Paint().Pixel(100, 79), GridLine) << "bottom lines stay";
}

TEST_F(BaseGridPaint, ContentGoesInsideTheLines)
{
    struct Case {
        int lineWidth, col, row;
        TRect content;
    } cases[] = {
        {1, 2, 3, {81, 61, 119, 79}},
        // The content rectangle is shrunk by the line width on every side.
        {3, 2, 3, {83, 63, 117, 77}},
        // Fixed cells give up their right column and their two bottom rows.
        {3, 2, 0, {80, 0, 119, 18}},
    };
    for (const Case& k : cases) {
        grid->SetGridLineWidth(k.lineWidth);
        Paint();
        bool found = false;
        for (const auto& content : grid->contents)
            if (content.Col == k.col && content.Row == k.row) {
                EXPECT_EQ(content.Rect, k.content) << "width " << k.lineWidth << " cell " << k.col << "," << k.row;
                found = true;
            }
        EXPECT_TRUE(found);
    }
}

TEST_F(BaseGridPaint, PlainCellShowsItsTextCentredOnOneLine)
{
    grid->SetCells(2, 3, L"Wg");
    grid->SetCells(3, 3, L"&");
    grid->SetCells(4, 3, L"&&");
    const TPicture p = Paint();
    const auto [first, last] = p.InkColumns(Cell(2, 3), {White, GridLine});
    ASSERT_NE(first, INT_MAX) << "the text is drawn";
    EXPECT_NEAR((first + last) / 2.0, 99.5, 2.0) << "centred across";
    EXPECT_FALSE(p.HasInk(Cell(2, 2), {White, GridLine}));

    // An ampersand is part of the data: two of them are twice as wide as one.
    const auto one = p.InkColumns(Cell(3, 3), {White, GridLine});
    const auto two = p.InkColumns(Cell(4, 3), {White, GridLine});
    ASSERT_NE(one.first, INT_MAX);
    EXPECT_GE(two.second - two.first, 2 * (one.second - one.first));
}

TEST(DataGridPaint, ShowsTheTextOfTheColumnThatIsDisplayed)
{
    TPaintForm<TAdvStringGrid> shown;
    TAdvStringGrid* grid = shown.grid;
    grid->SetCells(2, 1, L"X");
    // The current cell is selected and painted so: away from row 1.
    grid->SetRow(5);
    auto inkIn = [&](int displayCol) {
        return TPicture(grid).HasInk(TRect(40 * displayCol, 20, 40 * displayCol + 39, 39), {White});
    };
    EXPECT_FALSE(inkIn(1));
    EXPECT_TRUE(inkIn(2));
    grid->HideColumn(1);
    EXPECT_TRUE(inkIn(1)) << "real column 2 now shows as column 1";
    EXPECT_FALSE(inkIn(2));
}

TEST_F(BaseGridPaint, MergedBlockIsPaintedOnceAsOneCellWhereverItsBaseCellIs)
{
    grid->MergeCells(2, 2, 3, 3);  // columns 2 .. 4, rows 2 .. 4
    grid->SetCells(2, 2, L"M");
    struct Case {
        const char* name;
        int topRow;
        TRect block;
        int firstVisibleY;
    } cases[] = {
        {"base cell in view", 1, {80, 40, 200, 100}, 40},
        // Row 4 shows right under the fixed row: the base cell is 40 pixels above it.
        {"base cell scrolled above the view", 4, {80, -20, 200, 40}, 20},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        grid->SetTopRow(k.topRow);
        for (int pass = 0; pass < 2; ++pass) {
            const TPicture p = Paint();
            int blockDrawn = 0;
            for (const auto& content : grid->contents) {
                const bool inBlock = content.Col >= 2 && content.Col <= 4 && content.Row >= 2 && content.Row <= 4;
                if (!inBlock)
                    continue;
                ++blockDrawn;
                EXPECT_EQ(content.Col, 2);
                EXPECT_EQ(content.Row, 2);
                EXPECT_EQ(content.Rect, TRect(k.block.left + 1, k.block.top + 1, k.block.right - 1,
                                              k.block.bottom - 1));
            }
            EXPECT_EQ(blockDrawn, 1) << "pass " << pass;
            // One cell: no lines between the covered cells, the block's own at its edges.
            const int y = k.firstVisibleY + 5;
            EXPECT_EQ(p.Pixel(119, y), White);
            EXPECT_EQ(p.Pixel(159, y), White);
            EXPECT_EQ(p.Pixel(199, y), GridLine);
            EXPECT_EQ(p.Pixel(100, k.block.bottom - 1), GridLine);
            EXPECT_EQ(p.Pixel(100, k.block.bottom - 2), White);
            // The fixed row keeps its own look over the block's columns.
            EXPECT_EQ(p.Pixel(100, 5), FixedFill);
            EXPECT_EQ(p.Pixel(119, 5), FixedLine);

            // Drawing a covered cell elsewhere, between passes, draws the
            // block each time and leaves the next pass whole.
            TOwned<TBitmap> elsewhere(New<TBitmap>());
            elsewhere->SetSize(40, 20);
            grid->contents.clear();
            grid->PaintCell(elsewhere->GetCanvas(), 3, 4, TRect(0, 0, 40, 20), {});
            grid->PaintCell(elsewhere->GetCanvas(), 4, 3, TRect(0, 0, 40, 20), {});
            ASSERT_EQ(grid->contents.size(), 2u);
            EXPECT_EQ(grid->contents[0].Col, 2);
            EXPECT_EQ(grid->contents[1].Row, 2);
        }
    }
}

TEST_F(BaseGridPaint, HoverRowSparesSelectedAndFixedCellsUnlessAsked)
{
    constexpr TColor Hover = 0xA0F0F0;
    grid->SetOptions(grid->GetOptions() << goDrawFocusSelected);
    grid->SetSelection({2, 3, 3, 3});
    grid->SetHoverRow(true);
    grid->SetHoverRowColor(Hover);
    grid->SetHoverRowIdx(3);
    struct Case {
        THoverRowCells cells;
        int col, row;
        COLORREF expected;
    } cases[] = {
        {{hcNormal}, 1, 3, Hover},
        {{hcNormal}, 2, 3, Highlight()},
        {{hcNormal}, 3, 3, Highlight()},
        {{hcNormal}, 4, 3, Hover},
        {{hcNormal}, 0, 3, FixedFill},
        {{hcNormal}, 1, 4, White},
        {{hcNormal, hcSelected}, 2, 3, Hover},
        {{hcNormal, hcFixed}, 0, 3, Hover},
    };
    for (const Case& k : cases) {
        grid->SetHoverRowCells(k.cells);
        EXPECT_EQ(At(Paint(), k.col, k.row), k.expected) << "cell " << k.col << "," << k.row;
    }
}

TEST_F(BaseGridPaint, ActiveRowColoursTheCurrentRowButTheShownCurrentCell)
{
    constexpr TColor Active = 0x90E0FF;
    constexpr TColor Hover = 0xA0F0F0;
    grid->SetOptions(grid->GetOptions() << goDrawFocusSelected);
    grid->SetRow(3);
    grid->SetCol(2);
    grid->SetActiveRowShow(true);
    grid->SetActiveRowColor(Active);
    struct Case {
        bool showSelection;
        int col, row;
        COLORREF expected;
    } cases[] = {
        {true, 1, 3, Active}, {true, 2, 3, Highlight()}, {true, 3, 3, Active}, {true, 5, 3, Active},
        {true, 0, 3, FixedFill}, {true, 2, 4, White}, {false, 2, 3, Active},
    };
    for (const Case& k : cases) {
        grid->SetShowSel(k.showSelection);
        EXPECT_EQ(At(Paint(), k.col, k.row), k.expected)
            << "cell " << k.col << "," << k.row << " selection shown " << k.showSelection;
    }

    // The hover row gives way to the active row.
    grid->SetShowSel(true);
    grid->SetHoverRow(true);
    grid->SetHoverRowColor(Hover);
    grid->SetHoverRowIdx(3);
    const TPicture p = Paint();
    EXPECT_EQ(At(p, 1, 3), Active);
    EXPECT_EQ(At(p, 2, 3), Hover) << "the shown current cell takes the hover colour";
}

TEST_F(BaseGridPaint, ActiveRowGradientAndMirrorFillTheCell)
{
    grid->SetRow(3);
    grid->SetCol(2);
    grid->SetActiveRowShow(true);
    grid->SetActiveRowColor(RGB(0, 0, 0));
    struct Case {
        const char* name;
        TColor colorTo, mirror, mirrorTo;
        // Down the cell (1, 3), rows 60 .. 78 above its line.
        COLORREF top, upperHalfEnd, lowerHalfStart, bottom;
    } cases[] = {
        {"plain", clNone, clNone, clNone, RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)},
        // 64 steps over 20 pixels: one band per pixel, 19 spacings.
        {"gradient", RGB(190, 0, 0), clNone, clNone, RGB(0, 0, 0), RGB(90, 0, 0), RGB(100, 0, 0), RGB(180, 0, 0)},
        // Halves of ten rows, each a gradient over nine spacings.
        {"mirror", RGB(90, 0, 0), RGB(0, 90, 0), RGB(0, 180, 0), RGB(0, 0, 0), RGB(90, 0, 0), RGB(0, 90, 0),
         RGB(0, 170, 0)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        grid->SetActiveRowColorTo(k.colorTo);
        grid->SetActiveRowMirrorColor(k.mirror);
        grid->SetActiveRowMirrorColorTo(k.mirrorTo);
        const TPicture p = Paint();
        EXPECT_EQ(p.Pixel(45, 60), k.top);
        EXPECT_EQ(p.Pixel(45, 69), k.upperHalfEnd);
        EXPECT_EQ(p.Pixel(45, 70), k.lowerHalfStart);
        EXPECT_EQ(p.Pixel(45, 78), k.bottom);
        EXPECT_EQ(p.Pixel(45, 79), GridLine);
    }
}

TEST_F(BaseGridPaint, SelectionBandRoundsItsEndsAndFollowsTheFocus)
{
    struct Case {
        const char* name;
        TGridSelectionStyle style;
        TGridRect selection;
        bool focused;
        int col;
        bool roundLeft, roundRight;
        COLORREF fill;  // the band's first row inside
        COLORREF border;
    } cases[] = {
        {"left end", ssWin7, {2, 3, 4, 3}, true, 2, true, false, 0xFCEBDC, 0xCEA27D},
        {"middle", ssWin7, {2, 3, 4, 3}, true, 3, false, false, 0xFCEBDC, 0xCEA27D},
        {"right end", ssWin7, {2, 3, 4, 3}, true, 4, false, true, 0xFCEBDC, 0xCEA27D},
        {"single cell", ssWin7, {3, 3, 3, 3}, true, 3, true, true, 0xFCEBDC, 0xCEA27D},
        {"Vista", ssVista, {2, 3, 4, 3}, true, 3, false, false, 0xFDF8F1, 0xFDDE99},
        {"Office 2007", ssOffice2007, {2, 3, 4, 3}, true, 3, false, false, 0xD7FFFD, 0x8DD7D3},
        {"grid not focused", ssWin7, {2, 3, 4, 3}, false, 3, false, false, 0xF8F8F8, 0xD9D9D9},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        grid->SetSelectionStyle(k.style);
        grid->SetSelection(k.selection);
        if (k.focused)
            FocusGrid();
        else
            FocusElsewhere();
        const TPicture p = Paint();
        const TRect cell = Cell(k.col, 3);
        // The band's last column is the one before the grid line.
        EXPECT_EQ(p.Pixel(cell.left, cell.top), k.roundLeft ? White : k.border);
        EXPECT_EQ(p.Pixel(cell.right - 2, cell.top), k.roundRight ? White : k.border);
        EXPECT_EQ(p.Pixel(cell.left + 5, cell.top + 2), k.fill);
        EXPECT_EQ(p.Pixel(cell.right - 1, cell.top + 5), GridLine);
    }
}

TEST_F(BaseGridPaint, SelectionBandTakesTheLinesPlaceWhenThereAreNoLines)
{
    grid->SetOptions({goFixedVertLine, goFixedHorzLine, goRangeSelect, goDrawFocusSelected});
    grid->SetSelectionStyle(ssWin7);
    grid->SetSelection({3, 3, 3, 3});
    const TPicture p = Paint();
    const TRect cell = Cell(3, 3);
    EXPECT_EQ(p.Pixel(cell.right - 1, cell.top), White) << "rounded corner on the last column";
    EXPECT_EQ(p.Pixel(cell.right - 1, cell.top + 5), 0xCEA27D) << "the band's edge";
    EXPECT_EQ(p.Pixel(cell.left + 5, cell.bottom - 1), 0xCEA27D) << "the band's bottom line";
}

TEST_F(BaseGridPaint, LastRowUnderTheFloatingFooterIsPlainGridColour)
{
    grid->SetCells(2, 7, L"X");
    grid->SetCells(2, 6, L"X");
    grid->SetHideLastRow(true);
    const TPicture p = Paint();
    for (const auto& content : grid->contents)
        EXPECT_NE(content.Row, 7) << "no content in the last row";
    EXPECT_FALSE(p.HasInk(TRect(0, 140, 240, 160), {White}));
    EXPECT_EQ(p.Pixel(20, 150), White) << "the fixed column's cell too";
    EXPECT_TRUE(p.HasInk(Cell(2, 6), {White, GridLine}));
    EXPECT_EQ(p.Pixel(119, 130), GridLine);
}

TEST_F(BaseGridPaint, PaintCellExtDrawsTheLookOnTheRectangleGivenWithoutContent)
{
    grid->MergeCells(2, 2, 3, 3);
    grid->SetCells(2, 2, L"M");
    grid->SetActiveRowColor(0x90E0FF);
    TOwned<TBitmap> target(New<TBitmap>());
    target->SetPixelFormat(pf32bit);
    target->SetSize(100, 30);
    struct Case {
        TGridDrawState state;
        COLORREF fill;
    } cases[] = {{{gdSelected}, 0x90E0FF}, {{}, White}};
    for (const Case& k : cases) {
        target->GetCanvas()->GetBrush()->SetColor(clBlack);
        target->GetCanvas()->FillRect(TRect(0, 0, 100, 30));
        grid->contents.clear();
        grid->PaintCellExt(target->GetCanvas(), 2, 2, TRect(0, 0, 40, 20), k.state);
        auto pixel = [&](int x, int y) { return ColorToRGB(target->GetCanvas()->GetPixels(x, y)); };
        EXPECT_EQ(pixel(10, 10), k.fill);
        EXPECT_EQ(pixel(39, 10), GridLine);
        EXPECT_EQ(pixel(10, 19), GridLine);
        EXPECT_EQ(pixel(50, 10), 0u) << "the block is not widened";
        EXPECT_TRUE(grid->contents.empty());
    }
}

TEST_F(BaseGridPaint, SelectionStyleAndActiveRowRepaintOnlyWhenChanged)
{
    struct Case {
        const char* name;
        std::function<void(bool change)> set;
    } cases[] = {
        {"SelectionStyle", [&](bool c) { grid->SetSelectionStyle(c ? ssVista : ssDefault); }},
        {"ActiveRowShow", [&](bool c) { grid->SetActiveRowShow(c); }},
        {"ActiveRowColor", [&](bool c) { grid->SetActiveRowColor(c ? clRed : clInfoBk); }},
        {"ActiveRowColorTo", [&](bool c) { grid->SetActiveRowColorTo(c ? clRed : clNone); }},
        {"ActiveRowMirrorColor", [&](bool c) { grid->SetActiveRowMirrorColor(c ? clRed : clNone); }},
        {"ActiveRowMirrorColorTo", [&](bool c) { grid->SetActiveRowMirrorColorTo(c ? clRed : clNone); }},
    };
    const HWND wnd = grid->GetHandle();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        ValidateRect(wnd, nullptr);
        k.set(false);
        EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE)) << "same value";
        k.set(true);
        EXPECT_TRUE(GetUpdateRect(wnd, nullptr, FALSE)) << "new value";
    }
}

TEST_F(BaseGridPaint, RepaintingLeavesNoGdiObjectsBehind)
{
    grid->MergeCells(2, 2, 2, 2);
    grid->SetActiveRowShow(true);
    grid->SetActiveRowColorTo(clYellow);
    grid->SetSelectionStyle(ssOffice2007);
    grid->SetSelection({1, 1, 3, 1});
    grid->SetTopRow(3);
    Paint();
    const DWORD before = testing_support::GdiObjectCount();
    for (int i = 0; i < 5; ++i)
        Paint();
    EXPECT_EQ(testing_support::GdiObjectCount(), before);
}

// ---------------------------------------------------------------------------
// The data grid decides what of its selection shows: its ShowSelection
// switch, and a selection it has hidden outside the cells.

struct DataGridSelectionPaint : testing::Test {
    static constexpr TColor Active = 0x90E0FF;
    static constexpr COLORREF Win7BandFill = 0xFCEBDC;
    TPaintForm<TAdvStringGrid> shown;
    TAdvStringGrid* grid = shown.grid;

    void SetUp() override
    {
        grid->SetOptions(grid->GetOptions() << goDrawFocusSelected << goRangeSelect);
        grid->SetActiveRowColor(Active);
        grid->SetSelection({2, 3, 3, 3});
    }

    // One look of the selection and the pixel that tells whether it shows.
    struct TLook {
        const char* name;
        TGridSelectionStyle style;
        bool activeRow;
        POINT where;
    };
    void Use(const TLook& look)
    {
        grid->SetSelectionStyle(look.style);
        grid->SetActiveRowShow(look.activeRow);
    }
    COLORREF At(const TLook& look) const { return TPicture(grid).Pixel(look.where.x, look.where.y); }
    static POINT Inside(int c, int r) { return {40 * c + 5, 20 * r + 5}; }
    // Inside the band's first row, below its rounded corner.
    static POINT InBand(int c, int r) { return {40 * c + 5, 20 * r + 2}; }
};

TEST_F(DataGridSelectionPaint, ShowSelectionOffPaintsTheSelectedCellsPlain)
{
    // The data grid fills its selection with its own selection colour.
    const COLORREF selection = ColorToRGB(grid->GetSelectionColor());
    struct Case {
        TLook look;
        COLORREF shown, hidden;
    } cases[] = {
        {{"highlighted range", ssDefault, false, Inside(2, 3)}, selection, White},
        {{"highlighted current cell", ssDefault, false, Inside(3, 3)}, selection, White},
        {{"selection band", ssWin7, false, InBand(2, 3)}, Win7BandFill, White},
        // Without a shown selection the current cell is part of the active row.
        {{"current cell in the active row", ssDefault, true, Inside(3, 3)}, selection, Active},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.look.name);
        Use(k.look);
        grid->SetShowSelection(true);
        EXPECT_EQ(At(k.look), k.shown);
        grid->SetShowSelection(false);
        EXPECT_FALSE(grid->GetShowSelection());
        EXPECT_EQ(At(k.look), k.hidden);
    }
}

TEST_F(DataGridSelectionPaint, AHiddenSelectionIsNotPaintedUntilItComesBack)
{
    const TLook looks[] = {
        {"highlighted range", ssDefault, false, Inside(2, 3)},
        {"highlighted current cell", ssDefault, false, Inside(3, 3)},
        {"selection band", ssWin7, false, InBand(3, 3)},
        {"active row", ssDefault, true, Inside(1, 3)},
    };
    for (const TLook& look : looks) {
        SCOPED_TRACE(look.name);
        Use(look);
        const COLORREF shown = At(look);
        EXPECT_NE(shown, White);
        grid->HideSelection();
        ASSERT_TRUE(grid->IsSelectionHidden());
        EXPECT_EQ(At(look), White);
        grid->UnHideSelection();
        EXPECT_EQ(grid->GetSelection(), (TGridRect{2, 3, 3, 3}));
        EXPECT_EQ(At(look), shown);
    }
}

} // namespace
