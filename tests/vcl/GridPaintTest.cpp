// Painting and geometry of a scrolled grid: which cells DrawCell sees and in
// what order, where cells lie, and what the default drawing puts on screen.
#include <gtest/gtest.h>
#include "GridTestSupport.h"
#include "TestSupport.h"

using namespace grid_test;

namespace {

struct GridPaint : GridFixture {
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->SetColCount(30);
        grid->SetRowCount(1000);
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
    }
};

TEST_F(GridPaint, DrawCellOncePerVisibleCellRowByRowInAScrolledView)
{
    // Half a column and half a row more than fit, so the edges show partly.
    grid->SetBounds(0, 0, 4 * 65 + 30, 6 * 25 + 12);
    grid->SetLeftCol(7);
    grid->SetTopRow(500);
    vcl_test::Pump();
    const std::vector<TGridCoord> drawn = PaintAll();

    // Rows: fixed 0, then 500.. with the half row 505; columns: fixed 0, then 7..10 with half 10.
    std::vector<TGridCoord> expected;
    for (int r : {0, 500, 501, 502, 503, 504, 505})
        for (int c : {0, 7, 8, 9, 10})
            expected.push_back({c, r});
    EXPECT_EQ(drawn, expected);

    // Nothing off the screen; a repaint of one cell draws that cell alone.
    grid->drawn.clear();
    grid->InvalidateCell(8, 502);
    grid->InvalidateCell(8, 2);  // scrolled away
    UpdateWindow(Wnd());
    EXPECT_EQ(grid->drawn, (std::vector<TGridCoord>{{8, 502}}));
}

TEST_F(GridPaint, DrawStatesMarkFixedSelectedAndFocusedCells)
{
    grid->SetOptions(grid->GetOptions() << goRangeSelect);
    grid->SetSelection({2, 3, 3, 4});  // the current cell becomes (3, 4)
    PaintAll();
    auto stateOf = [&](int c, int r) {
        for (size_t i = 0; i < grid->drawn.size(); ++i)
            if (grid->drawn[i] == TGridCoord{c, r})
                return grid->drawnStates[i];
        ADD_FAILURE() << "cell not drawn " << c << "," << r;
        return TGridDrawState{};
    };
    struct Case {
        int c, r;
        TGridDrawState state;
    } cases[] = {
        {0, 0, {gdFixed}}, {0, 3, {gdFixed}}, {2, 0, {gdFixed}}, {2, 3, {gdSelected}},
        {3, 4, {gdSelected, gdFocused}}, {1, 1, {}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(stateOf(k.c, k.r), k.state) << k.c << "," << k.r;
}

TEST_F(GridPaint, CellRectsAndHitTestsFollowTheView)
{
    grid->SetColWidths(8, 100);
    grid->SetLeftCol(7);
    grid->SetTopRow(40);
    struct Case {
        int c, r;
        TRect rect;
    } cases[] = {
        {0, 0, {0, 0, 64, 24}},           // fixed corner
        {7, 0, {65, 0, 129, 24}},         // first scrolled column in the fixed row
        {8, 41, {130, 50, 230, 74}},      // the widened column
        {9, 40, {231, 25, 295, 49}},
        {0, 41, {0, 50, 64, 74}},         // fixed column beside a scrolled row
        {3, 41, {}},                      // scrolled out to the left
        {8, 39, {}},                      // scrolled out above
    };
    for (const Case& k : cases) {
        EXPECT_EQ(grid->CellRect(k.c, k.r), k.rect) << k.c << "," << k.r;
        if (!k.rect.IsEmpty()) {
            EXPECT_EQ(grid->MouseCoord(k.rect.left + 1, k.rect.top + 1), (TGridCoord{k.c, k.r}));
            // The line after a cell belongs to it.
            EXPECT_EQ(grid->MouseCoord(k.rect.right, k.rect.bottom), (TGridCoord{k.c, k.r}));
        }
    }
    int c = 0, r = 0;
    grid->MouseToCell(-1, 10, c, r);
    EXPECT_EQ(c, -1);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(grid->BoxRect(0, 0, 9, 41), TRect(0, 0, 295, 74));
    EXPECT_EQ(grid->GetVisibleRowCount(), 7);
    EXPECT_EQ(grid->GetVisibleColCount(), 3);
}

TEST_F(GridPaint, DefaultDrawingFillsFixedSelectedAndPlainCells)
{
    grid->SetFixedColor(clAqua);
    grid->SetColor(clWhite);
    grid->SetOptions(grid->GetOptions() << goDrawFocusSelected);
    grid->SetSelection({1, 1, 2, 1});
    grid->SetCells(3, 2, L"text");
    vcl_test::Pump();

    // Paint into a 32-bit DIB and read pixels inside cells.
    const int w = grid->GetClientWidth(), h = grid->GetClientHeight();
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    grid->PaintTo(dc, 0, 0);
    auto pixel = [&](int x, int y) {
        const DWORD v = static_cast<const DWORD*>(bits)[y * w + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    };
    EXPECT_EQ(pixel(20, 5), ColorToRGB(clAqua)) << "fixed cell";
    EXPECT_EQ(pixel(65 + 20, 25 + 12), ColorToRGB(clHighlight)) << "selected cell";
    EXPECT_EQ(pixel(2 * 65 + 20, 25 + 12), ColorToRGB(clHighlight)) << "focused cell with goDrawFocusSelected";
    EXPECT_EQ(pixel(65 + 20, 2 * 25 + 22), ColorToRGB(clWhite)) << "plain cell";
    EXPECT_EQ(pixel(65 + 64, 2 * 25 + 12), ColorToRGB(clSilver)) << "grid line";
    EXPECT_EQ(pixel(64, 2 * 25 + 12), ColorToRGB(clBlack)) << "fixed line";
    bool ink = false;
    for (int y = 2 * 25; y < 3 * 25; ++y)
        for (int x = 3 * 65 + 2; x < 3 * 65 + 40; ++x)
            ink = ink || pixel(x, y) != ColorToRGB(clWhite);
    EXPECT_TRUE(ink) << "the cell's text is drawn";
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}

} // namespace
