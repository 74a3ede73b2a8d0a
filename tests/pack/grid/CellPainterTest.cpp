// The data grid's cell painter on a shown form: the grid paints itself
// through PaintTo into a 32-bit bitmap, read at chosen pixels. Cells are
// 100 x 24 pixels: cell (c, r) covers x 100c .. 100c+99, y 24r .. 24r+23.
#include "AdvGrid.h"
#include "AdvGridFilter.h"
#include "AdvGridLists.h"
#include "AdvUtil.h"
#include "AdvXPVS.h"
#include "PlatformProbe.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include <gtest/gtest.h>
#include <climits>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int CW = 100;
constexpr int RH = 24;

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
    bool Has(const TRect& area, COLORREF colour) const
    {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (Pixel(x, y) == colour)
                    return true;
        return false;
    }
    template <class Pred>
    bool HasWhere(const TRect& area, Pred pred) const
    {
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (pred(Pixel(x, y)))
                    return true;
        return false;
    }
    // The rows and columns of the area holding pixels other than the background.
    TRect Ink(const TRect& area, COLORREF background) const
    {
        TRect ink(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (Pixel(x, y) != background) {
                    ink.left = std::min<int>(ink.left, x);
                    ink.top = std::min<int>(ink.top, y);
                    ink.right = std::max<int>(ink.right, x);
                    ink.bottom = std::max<int>(ink.bottom, y);
                }
        return ink;
    }

private:
    TOwned<TBitmap> bitmap_;
};

bool Between(COLORREF p, TColor a, TColor b)
{
    const auto in = [](int v, int x, int y) { return v >= std::min(x, y) && v <= std::max(x, y); };
    return in(GetRValue(p), GetRValue(a), GetRValue(b)) && in(GetGValue(p), GetGValue(a), GetGValue(b)) &&
           in(GetBValue(p), GetBValue(a), GetBValue(b));
}

struct CellPainter : testing::Test {
    TForm* form = nullptr;
    TAdvStringGrid* grid = nullptr;

    void SetUp() override
    {
        form = New<TForm>(nullptr);
        form->SetBounds(40, 40, 640, 400);
        grid = New<TAdvStringGrid>(form);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(6);
        grid->SetRowCount(10);
        grid->SetDefaultColWidth(CW);
        grid->SetDefaultRowHeight(RH);
        grid->SetBounds(0, 0, 6 * CW, 10 * RH);
        grid->SetColor(clWhite);
        TFont* font = grid->GetFont();
        font->SetName(L"Tahoma");
        font->SetSize(8);
        font->SetColor(clBlack);
        font->SetQuality(fqNonAntialiased);
        grid->GetFixedFont()->Assign(font);
        grid->SetParent(form);
        // The current cell is selected and painted so: out of the way.
        grid->SetCol(5);
        grid->SetRow(9);
        form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override
    {
        form->Free();
        Application->ProcessMessages();
    }
    TPicture Paint() { return TPicture(grid); }
    static TRect Cell(int c, int r) { return TRect(CW * c, RH * r, CW * c + CW, RH * r + RH); }
    void Mouse(UINT message, int x, int y, WPARAM keys = 0)
    {
        SendMessageW(grid->GetHandle(), message, keys, MAKELPARAM(x, y));
    }
};

TEST_F(CellPainter, VistaHeadersPlainHoveredAndPressed)
{
    grid->SetLook(glVista);
    grid->SetCells(1, 0, L"");
    {
        const TPicture p = Paint();
        EXPECT_EQ(p.Pixel(150, 3), RGB(0xFF, 0xFF, 0xFF));
        EXPECT_TRUE(Between(p.Pixel(150, 18), 0xFAF8F7, 0xF4F2F1));
        // The white line at the left edge runs down the lower half too.
        EXPECT_EQ(p.Pixel(100, 18), RGB(0xFF, 0xFF, 0xFF));
    }
    grid->SetHoverFixedCells(hfAll);
    Mouse(WM_MOUSEMOVE, 150, 10);
    {
        const TPicture p = Paint();
        EXPECT_EQ(p.Pixel(150, 3), 0xFFF7E3);
        EXPECT_TRUE(Between(p.Pixel(150, 18), 0xFFEDBD, 0xFBE7B7));
        EXPECT_EQ(p.Pixel(100, 12), 0xE3C993);
        // Its neighbour keeps the plain look.
        EXPECT_EQ(p.Pixel(250, 3), RGB(0xFF, 0xFF, 0xFF));
    }
    Mouse(WM_LBUTTONDOWN, 150, 10, MK_LBUTTON);
    {
        const TPicture p = Paint();
        EXPECT_EQ(p.Pixel(150, 3), 0xF9E4BC);
        EXPECT_TRUE(Between(p.Pixel(150, 18), 0xF7D68D, 0xF5D18A));
        EXPECT_EQ(p.Pixel(100, 12), 0xAE904F);
    }
    Mouse(WM_LBUTTONUP, 150, 10);
    Mouse(WM_MOUSEMOVE, 350, 150);
    EXPECT_EQ(Paint().Pixel(150, 3), RGB(0xFF, 0xFF, 0xFF));
}

TEST_F(CellPainter, ActiveCellHeadersWinOverTheSortHeader)
{
    grid->SetLook(glVista);
    grid->SetCells(0, 2, L"");
    grid->SetCells(2, 0, L"");
    grid->SetCells(3, 0, L"");
    TSortSettings* sort = grid->GetSortSettings();
    sort->SetShow(true);
    sort->SetRow(0);
    sort->SetColumn(3);
    grid->SetActiveCellShow(true);
    grid->SetCol(2);
    grid->SetRow(2);
    const TPicture p = Paint();
    EXPECT_TRUE(Between(p.Pixel(250, 2), 0xFDF8F1, 0xFCEFD5));
    EXPECT_TRUE(Between(p.Pixel(50, 2 * RH + 2), 0xFDF8F1, 0xFCEFD5));
    EXPECT_EQ(p.Pixel(350, 3), 0xFCF9F2);
    EXPECT_TRUE(Between(p.Pixel(350, 18), 0xF9F1E1, 0xF6ECD8));
    // The sort indicator's grey outline lies in the sort header.
    EXPECT_TRUE(p.Has(TRect(300, 0, 400, 22), 0x808080));
    EXPECT_FALSE(p.Has(TRect(400, 0, 500, 22), 0x808080));

    sort->SetColumn(2);
    grid->Invalidate();
    EXPECT_TRUE(Between(Paint().Pixel(250, 2), 0xFDF8F1, 0xFCEFD5));
}

TEST_F(CellPainter, NarrowTextEndsInAnEllipsisAsThePlatformDrawsIt)
{
    grid->SetEnhTextSize(true);
    grid->SetWordWrap(false);
    const String text = L"Wwwwwwwwwwwwwwwwwwwwwwwwwwwwww";
    grid->SetCells(1, 1, text);
    grid->SetCells(1, 2, text);
    const TPicture p = Paint();
    // The same text, font and rectangle through the platform's own ellipsis.
    TOwned<TBitmap> reference(New<TBitmap>());
    reference->SetPixelFormat(pf32bit);
    reference->SetSize(CW, RH);
    TCanvas* canvas = reference->GetCanvas();
    canvas->GetBrush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, CW, RH));
    canvas->GetFont()->Assign(grid->GetFont());
    SetBkMode(canvas->GetHandle(), TRANSPARENT);
    // Inside the grid lines and the text inset of 2 pixels.
    RECT r{1 + 2, 1 + 2, CW - 1 - 2, RH - 1};
    DrawTextW(canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_EXPANDTABS | DT_EDITCONTROL | DT_LEFT |
                  (grid->GetVAlignment() == vtaCenter ? DT_VCENTER : 0));
    int differences = 0;
    for (int y = 2; y < RH - 2; ++y)
        for (int x = 2; x < CW - 2; ++x) {
            const DWORD q = static_cast<const DWORD*>(reference->GetScanLine(y))[x];
            const COLORREF expected = RGB((q >> 16) & 0xFF, (q >> 8) & 0xFF, q & 0xFF);
            differences += p.Pixel(CW + x, RH + y) != expected;
        }
    EXPECT_EQ(differences, 0);

    // Without the setting the text is cut off instead.
    grid->SetEnhTextSize(false);
    grid->Invalidate();
    const TPicture cut = Paint();
    bool differs = false;
    for (int y = RH + 2; y < 2 * RH - 2 && !differs; ++y)
        for (int x = CW + 2; x < 2 * CW - 2 && !differs; ++x)
            differs = cut.Pixel(x, y) != p.Pixel(x, y);
    EXPECT_TRUE(differs);
}

TEST_F(CellPainter, MultilineTextIsCentredAsOneBlock)
{
    grid->SetMultilineCells(true);
    grid->SetVAlignment(vtaCenter);
    grid->SetRowHeights(1, 80);
    grid->SetCells(1, 1, L"Ag\r\nAg");
    const TPicture p = Paint();
    const TRect cell(CW, RH, 2 * CW, RH + 80);
    const TRect ink = p.Ink(TRect(cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2), RGB(255, 255, 255));
    ASSERT_LT(ink.left, INT_MAX);
    const int above = ink.top - cell.top;
    const int below = cell.bottom - ink.bottom;
    EXPECT_NEAR(above, below, 6);
    // Two lines: a blank row between them.
    bool gap = false;
    for (int y = ink.top; y <= ink.bottom && !gap; ++y) {
        bool blank = true;
        for (int x = ink.left; x <= ink.right && blank; ++x)
            blank = p.Pixel(x, y) == RGB(255, 255, 255);
        gap = blank;
    }
    EXPECT_TRUE(gap);
}

TEST_F(CellPainter, ZoomNeverTakesTheFontBelowOnePoint)
{
    int painted = -1;
    grid->OnCustomCellDraw = [&](TObject*, TCanvas* canvas, int col, int row, TGridDrawState, TRect, bool) {
        if (col == 1 && row == 1)
            painted = canvas->GetFont()->GetSize();
    };
    for (auto [zoom, size] : {std::pair{-8, 1}, {-10, 1}, {2, 10}}) {
        grid->SetZoomFactor(zoom);
        grid->Invalidate();
        painted = -1;
        Paint();
        EXPECT_EQ(painted, size) << zoom;
    }
}

TEST_F(CellPainter, GraphicsDrawAtTheirPlace)
{
    grid->SetCells(1, 1, L"50");
    grid->AddProgress(1, 1, clRed, clLime);
    grid->SetCells(2, 1, L"abc");
    grid->AddProgress(2, 1, clRed, clLime);
    grid->SetCells(1, 2, L"");
    grid->AddProgressPie(1, 2, clBlue, 50);
    grid->SetCells(1, 3, L"2.5");
    grid->AddRating(1, 3, 5, clRed, clLime);
    grid->SetCells(2, 3, L"2.9");
    grid->AddRating(2, 3, 5, clRed, clLime);
    grid->SetCells(3, 3, L"five");
    grid->AddRating(3, 3, 5, clRed, clLime);
    grid->SetCells(1, 4, L"");
    grid->AddShape(1, 4, csCircle, clBlue, clBlack, haLeft, vaTop);
    grid->SetCells(1, 5, L"50");
    grid->AddRangeIndicator(1, 5, 100, clRed, clBlue, false);
    grid->SetCells(1, 6, L"50");
    grid->AddAdvProgress(1, 6, 0, 100);
    grid->SetCells(2, 6, L"50");
    grid->AddAdvProgress(2, 6, 5, 5);
    grid->SetCells(3, 6, L"xyz");
    grid->AddAdvProgress(3, 6, 0, 100);
    grid->SetCells(1, 7, L"");
    grid->AddComment(1, 7, L"note");
    grid->SetCells(1, 8, L"");
    grid->AddButton(1, 8, 60, 20, L"", haLeft, vaTop);

    const TPicture p = Paint();
    // Progress: filled to half in the fill colour, the rest empty.
    EXPECT_EQ(p.Pixel(CW + 12, RH + 12), RGB(255, 0, 0));
    EXPECT_EQ(p.Pixel(2 * CW - 12, RH + 12), RGB(0, 255, 0));
    // A text that is no number: an empty bar.
    EXPECT_EQ(p.Pixel(2 * CW + 12, RH + 12), RGB(0, 255, 0));
    // Pie at half: the right half of its circle.
    EXPECT_TRUE(p.Has(TRect(CW + 14, 2 * RH + 4, CW + 22, 2 * RH + 18), RGB(0, 0, 255)));
    EXPECT_FALSE(p.Has(TRect(CW + 3, 2 * RH + 8, CW + 8, 2 * RH + 16), RGB(0, 0, 255)));
    // Ratings 2.5 and 2.9: two full stars, a half star, two empty ones.
    for (int col : {1, 2}) {
        SCOPED_TRACE(col);
        // 16-pixel stars every 18 pixels from the cell's inset corner.
        const int left = col * CW + 2, top = 3 * RH + 3;
        EXPECT_EQ(p.Pixel(left + 8, top + 8), RGB(255, 0, 0));
        EXPECT_EQ(p.Pixel(left + 18 + 8, top + 8), RGB(255, 0, 0));
        EXPECT_EQ(p.Pixel(left + 36 + 4, top + 7), RGB(255, 0, 0));
        EXPECT_EQ(p.Pixel(left + 36 + 12, top + 7), RGB(0, 255, 0));
        EXPECT_EQ(p.Pixel(left + 54 + 8, top + 8), RGB(0, 255, 0));
        EXPECT_EQ(p.Pixel(left + 72 + 8, top + 8), RGB(0, 255, 0));
    }
    // A rating that is no number: all empty.
    EXPECT_EQ(p.Pixel(3 * CW + 2 + 8, 3 * RH + 3 + 8), RGB(0, 255, 0));
    EXPECT_FALSE(p.Has(Cell(3, 3), RGB(255, 0, 0)));
    // Shape: a circle filled with its brush.
    EXPECT_TRUE(p.Has(TRect(CW + 8, 4 * RH + 8, CW + 14, 4 * RH + 14), RGB(0, 0, 255)));
    // Range indicator: from the middle to the right for a positive value.
    EXPECT_EQ(p.Pixel(CW + 60, 5 * RH + 12), RGB(0, 0, 255));
    EXPECT_FALSE(p.Has(TRect(CW + 4, 5 * RH + 4, CW + 45, 5 * RH + 20), RGB(0, 0, 255)));
    // Level bar: the first level's colour over the left half; none when min = max or for no number.
    const auto levelGreen = [](COLORREF c) { return GetGValue(c) == 255 && GetRValue(c) < 0xE0; };
    EXPECT_TRUE(p.HasWhere(TRect(CW + 6, 6 * RH + 6, CW + 30, 6 * RH + 18), levelGreen));
    EXPECT_FALSE(p.HasWhere(TRect(CW + 70, 6 * RH + 6, CW + 95, 6 * RH + 18), levelGreen));
    EXPECT_FALSE(p.HasWhere(TRect(2 * CW + 6, 6 * RH + 6, 2 * CW + 30, 6 * RH + 18), levelGreen));
    EXPECT_FALSE(p.HasWhere(TRect(3 * CW + 6, 6 * RH + 6, 3 * CW + 30, 6 * RH + 18), levelGreen));
    // Comment: the red corner triangle.
    EXPECT_EQ(p.Pixel(2 * CW - 5, 7 * RH + 2), RGB(255, 0, 0));
    EXPECT_EQ(p.Pixel(2 * CW - 12, 7 * RH + 2), RGB(255, 255, 255));
    // Button face.
    EXPECT_EQ(p.Pixel(CW + 30, 8 * RH + 10), ColorToRGB(clBtnFace));
}

TEST_F(CellPainter, ClassicCheckBoxesAreThePlatformsOwn)
{
    // Without a visual style the themed style falls back to the classic box.
    grid->GetControlLook()->SetControlStyle(csTheme);
    grid->SetCells(1, 1, L"");
    grid->AddCheckBox(1, 1, true, false);
    grid->SetCells(2, 1, L"");
    grid->AddCheckBox(2, 1, false, false);
    const TPicture p = Paint();
    for (auto [col, checked] : {std::pair{1, true}, {2, false}}) {
        SCOPED_TRACE(col);
        const int size = grid->GetControlLook()->GetCheckSize();
        TOwned<TBitmap> reference(New<TBitmap>());
        reference->SetPixelFormat(pf32bit);
        reference->SetSize(size, size);
        RECT r{0, 0, size, size};
        DrawFrameControl(reference->GetCanvas()->GetHandle(), &r, DFC_BUTTON,
                         DFCS_BUTTONCHECK | (checked ? DFCS_CHECKED : 0));
        bool found = false;
        const TRect cell = Cell(col, 1);
        for (int y = cell.top; y + size <= cell.bottom && !found; ++y)
            for (int x = cell.left; x + size <= cell.right && !found; ++x) {
                bool same = true;
                for (int dy = 0; dy < size && same; ++dy)
                    for (int dx = 0; dx < size && same; ++dx) {
                        const DWORD q = static_cast<const DWORD*>(reference->GetScanLine(dy))[dx];
                        same = p.Pixel(x + dx, y + dy) == RGB((q >> 16) & 0xFF, (q >> 8) & 0xFF, q & 0xFF);
                    }
                found = same;
            }
        EXPECT_TRUE(found);
    }
}

// Stand-ins for the visual-styles functions that note the class, part and
// state asked for: the test prefix has no visual style to draw with.
namespace recording {
std::wstring openedClass;
std::vector<std::tuple<std::wstring, int, int>> drawn;
HTHEME WINAPI Open(HWND, LPCWSTR ClassName)
{
    openedClass = ClassName;
    return reinterpret_cast<HTHEME>(static_cast<intptr_t>(1));
}
HRESULT WINAPI Close(HTHEME) { return S_OK; }
HRESULT WINAPI Draw(HTHEME, HDC, int Part, int State, LPCRECT, LPCRECT)
{
    drawn.emplace_back(openedClass, Part, State);
    return S_OK;
}
} // namespace recording

TEST_F(CellPainter, ThemedControlsAskForTheirPartAndState)
{
    // A grid made while a visual style is active draws through it.
    PlatformProbe().ThemeActive = true;
    TAdvStringGrid* themed = New<TAdvStringGrid>(form);
    themed->SetBounds(0, 0, 300, 120);
    themed->SetDefaultRowHeight(RH);
    themed->SetParent(form);
    ResetPlatformProbe();
    themed->GetControlLook()->SetControlStyle(csTheme);
    themed->GetControlLook()->SetProgressXP(true);
    themed->AddCheckBox(1, 1, true, false);
    themed->AddCheckBox(1, 2, false, false);
    themed->SetCells(1, 3, L"40");
    themed->AddProgress(1, 3, clRed, clLime);
    Application->ProcessMessages();

    const auto open = AdvXPVS::OpenThemeData;
    const auto close = AdvXPVS::CloseThemeData;
    const auto draw = AdvXPVS::DrawThemeBackground;
    AdvXPVS::OpenThemeData = recording::Open;
    AdvXPVS::CloseThemeData = recording::Close;
    AdvXPVS::DrawThemeBackground = recording::Draw;
    recording::drawn.clear();
    TPicture painted(themed);
    AdvXPVS::OpenThemeData = open;
    AdvXPVS::CloseThemeData = close;
    AdvXPVS::DrawThemeBackground = draw;
    using Call = std::tuple<std::wstring, int, int>;
    const auto& d = recording::drawn;
    EXPECT_NE(std::find(d.begin(), d.end(), Call{L"button", 3, 5}), d.end()) << "checked box";
    EXPECT_NE(std::find(d.begin(), d.end(), Call{L"button", 3, 1}), d.end()) << "unchecked box";
    EXPECT_NE(std::find(d.begin(), d.end(), Call{L"Progress", 1, 1}), d.end()) << "bar";
    EXPECT_NE(std::find(d.begin(), d.end(), Call{L"Progress", 3, 1}), d.end()) << "chunk";
}

TEST_F(CellPainter, BitmapStylesDrawTheirOwnGlyphs)
{
    struct {
        AdvGrid::TControlStyle style;
        COLORREF frame, tick;
    } cases[] = {{csWinXP, RGB(28, 81, 128), RGB(33, 161, 33)}, {csPack, RGB(96, 96, 96), RGB(0, 0, 0)}};
    grid->SetCells(1, 1, L"");
    grid->AddCheckBox(1, 1, true, false);
    grid->SetCells(1, 2, L"");
    grid->AddRadioButton(1, 2, true);
    // A lone unchecked radio button: no item text and no cell text to match.
    grid->SetCells(1, 3, L"");
    grid->AddRadioButton(1, 3, false);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        grid->GetControlLook()->SetControlStyle(c.style);
        const TPicture p = Paint();
        EXPECT_TRUE(p.Has(Cell(1, 1), c.frame));
        EXPECT_TRUE(p.Has(Cell(1, 1), c.tick));
        EXPECT_TRUE(p.Has(Cell(1, 2), c.frame));
        EXPECT_TRUE(p.Has(Cell(1, 2), c.tick));
        EXPECT_TRUE(p.Has(Cell(1, 3), c.frame));
        EXPECT_FALSE(p.Has(Cell(1, 3), c.tick));
        // The key colour of the bitmaps never shows.
        EXPECT_FALSE(p.Has(Cell(1, 1), RGB(255, 0, 255)));
    }
}

TEST_F(CellPainter, RichTextRunsKeepTheirColours)
{
    grid->SetCells(1, 1, L"{\\rtf1\\ansi{\\colortbl ;\\red255\\green0\\blue0;}\\cf1 RED RED\\par}");
    const TPicture p = Paint();
    bool red = false;
    const TRect cell = Cell(1, 1);
    for (int y = cell.top; y < cell.bottom && !red; ++y)
        for (int x = cell.left; x < cell.right && !red; ++x) {
            const COLORREF c = p.Pixel(x, y);
            red = GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80;
        }
    EXPECT_TRUE(red);
}

TEST_F(CellPainter, RepaintingEveryKindLeavesNoGdiObjectBehind)
{
    grid->SetLook(glVista);
    grid->SetCells(1, 1, L"50");
    grid->AddProgress(1, 1, clRed, clLime);
    grid->AddProgressPie(2, 1, clBlue, 30);
    grid->SetCells(3, 1, L"3");
    grid->AddRating(3, 1, 5, clRed, clLime);
    grid->AddShape(4, 1, csStar, clBlue, clBlack, haLeft, vaTop);
    grid->AddRangeIndicator(1, 2, 100, clRed, clBlue, true);
    grid->AddAdvProgress(2, 2, 0, 100);
    grid->AddComment(3, 2, L"c");
    grid->AddButton(4, 2, 40, 18, L"b", haLeft, vaTop);
    grid->AddCheckBox(1, 3, true, false);
    grid->AddRadioButton(2, 3, true);
    grid->SetCells(3, 3, L"{\\rtf1\\ansi red}");
    grid->SetCells(4, 3, L"<b>bold</b>");
    grid->SetCells(5, 3, L"a\r\nb");
    grid->GetSortSettings()->SetShow(true);
    grid->GetSortSettings()->SetColumn(2);
    Paint();
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 5; ++i)
        Paint();
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
}


// The filter-edit row: each cell shows its column's filter type as an icon
// from the grid's filter images, and an empty cell the type's name in grey.
TEST_F(CellPainter, FilterEditCellsShowTheTypeIconAndItsNameAsPlaceholder)
{
    const auto iconColour = [](int type) { return RGB(20 * type + 10, 200, 40); };
    TCustomImageList* icons = grid->GetFilterImages();
    ASSERT_NE(icons, nullptr);
    // The program's own icons, one per type.
    EXPECT_EQ(icons->Count(), 9);
    grid->SetLook(glStandard);
    grid->SetFixedRows(2);
    grid->GetFilterEdit()->SetRow(1);
    grid->GetFilterEdit()->SetEnabled(true);
    {
        const TPicture p = Paint();
        EXPECT_TRUE(p.HasWhere(TRect(2 * CW + 2, RH + 2, 2 * CW + 20, 2 * RH - 2),
                               [](COLORREF c) { return GetBValue(c) > GetRValue(c) + 60; }))
            << "the blue ink of the contains icon";
    }
    icons->Clear();
    for (int type = 0; type < 9; ++type) {
        TOwned<TBitmap> icon(New<TBitmap>());
        icon->SetPixelFormat(pf32bit);
        icon->SetSize(icons->GetWidth(), icons->GetHeight());
        icon->GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(iconColour(type)));
        icon->GetCanvas()->FillRect(TRect(0, 0, icons->GetWidth(), icons->GetHeight()));
        icons->AddMasked(icon.get(), clFuchsia);
    }
    TFilterData* equal = grid->GetFilter()->Add();
    equal->SetColumn(3);
    equal->SetFilterType(AdvGrid::ftEqual);
    grid->SetCells(4, 1, L"abc");

    struct {
        int col;
        int type;
        bool placeholder;
    } cases[] = {{2, AdvGrid::ftContains, true}, {3, AdvGrid::ftEqual, true}, {4, AdvGrid::ftContains, false}};
    const TPicture p = Paint();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.col);
        const TRect cell = Cell(c.col, 1);
        const TRect inside(cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2);
        const TRect icon = p.Ink(inside, p.Pixel(inside.right - 1, inside.bottom - 1));
        EXPECT_TRUE(p.Has(TRect(cell.left, cell.top, cell.left + 24, cell.bottom), iconColour(c.type)));
        for (int other : {AdvGrid::ftContains, AdvGrid::ftEqual})
            if (other != c.type)
                EXPECT_FALSE(p.Has(cell, iconColour(other)));
        EXPECT_LT(icon.left, cell.left + 8) << "the icon comes first";
        const TRect afterIcon(cell.left + 20, inside.top, inside.right, inside.bottom);
        EXPECT_EQ(p.Has(afterIcon, 0x808080), c.placeholder);
        EXPECT_EQ(p.Has(afterIcon, RGB(0, 0, 0)), !c.placeholder);
        // No text over the icon's room.
        const TRect iconRoom(inside.left, inside.top, icon.left + 18, inside.bottom);
        EXPECT_FALSE(p.HasWhere(iconRoom, [](COLORREF c) { return c == 0x808080 || c == RGB(0, 0, 0); }));
    }

    // Names for only the first types: a later type has no placeholder.
    TStringList* names = grid->GetFilterEdit()->GetTypeNames();
    while (names->Count() > 3)
        names->Delete(names->Count() - 1);
    grid->Invalidate();
    const TPicture fewer = Paint();
    EXPECT_TRUE(fewer.Has(TRect(2 * CW + 20, RH + 2, 3 * CW - 2, 2 * RH - 2), 0x808080)) << "Contains";
    EXPECT_FALSE(fewer.Has(TRect(3 * CW + 20, RH + 2, 4 * CW - 2, 2 * RH - 2), 0x808080)) << "Equal";
}

// A node's line down to its children: an expanded node leads to the row
// under it; a contracted one does not to a row further out. The edged looks
// draw it one pixel further right in a fixed column.
TEST_F(CellPainter, NodeLinesFollowTheNodeState)
{
    TCellNode* node = grid->GetCellNode();
    node->SetNodeType(cnFlat);
    node->SetNodeIndent(12);
    node->SetShowTree(true);
    node->SetTreeColor(clRed);
    for (int r = 1; r < 9; ++r)
        grid->SetCells(1, r, IntToStr(r));
    grid->AddNode(1, 5);
    grid->AddNode(2, 2);
    struct {
        TGridLook look;
        bool contracted;
        int lineX;  // -1: none
    } cases[] = {{glXP, false, 21}, {glStandard, false, 20}, {glXP, true, -1}, {glStandard, true, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.look << " " << c.contracted);
        grid->SetLook(c.look);
        grid->SetNodeState(2, c.contracted);
        grid->Invalidate();
        const TPicture p = Paint();
        // Below the node box of display row 2, around the box's middle.
        const int top = 2 * RH + 18;
        const int bottom = 3 * RH - 1;
        for (int x : {20, 21}) {
            SCOPED_TRACE(x);
            EXPECT_EQ(p.Has(TRect(x, top, x + 1, bottom), RGB(255, 0, 0)), x == c.lineX);
        }
    }
}

// A cell button under the mouse is hot; elsewhere in its cell, or once the
// mouse has left the grid, it is not.
TEST_F(CellPainter, TheButtonUnderTheMouseIsHot)
{
    TColorTones tones{};
    tones.Background = {clWhite, clGray, clBlack};
    tones.Foreground = {clSilver, clGray, clBlack};
    tones.Selected = {clBlue, clGray, clWhite};
    tones.Hover = {clLime, clGray, clBlack};
    tones.Disabled = {clSilver, clGray, clGray};
    grid->SetColorTones(tones);
    grid->GetControlLook()->SetNoDisabledButtonLook(true);
    grid->SetCells(1, 8, L"");
    grid->AddButton(1, 8, 60, 20, L"", haLeft, vaTop);
    grid->SetCells(2, 8, L"");
    grid->AddButton(2, 8, 60, 20, L"", haLeft, vaTop);
    const TPoint face(CW + 30, 8 * RH + 10);
    const TPoint otherFace(2 * CW + 30, 8 * RH + 10);
    EXPECT_EQ(Paint().Pixel(face.x, face.y), RGB(255, 255, 255));

    Mouse(WM_MOUSEMOVE, face.x, face.y);
    {
        const TPicture p = Paint();
        EXPECT_EQ(p.Pixel(face.x, face.y), RGB(0, 255, 0));
        EXPECT_EQ(p.Pixel(otherFace.x, otherFace.y), RGB(255, 255, 255));
    }
    // The same cell, beside its button.
    Mouse(WM_MOUSEMOVE, 2 * CW - 10, 8 * RH + 10);
    EXPECT_EQ(Paint().Pixel(face.x, face.y), RGB(255, 255, 255));

    Mouse(WM_MOUSEMOVE, otherFace.x, otherFace.y);
    {
        const TPicture p = Paint();
        EXPECT_EQ(p.Pixel(face.x, face.y), RGB(255, 255, 255));
        EXPECT_EQ(p.Pixel(otherFace.x, otherFace.y), RGB(0, 255, 0));
    }
    grid->Perform(CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Paint().Pixel(otherFace.x, otherFace.y), RGB(255, 255, 255));
    // Pressed wins over hot.
    Mouse(WM_MOUSEMOVE, otherFace.x, otherFace.y);
    grid->PushButton(2, 8, true);
    EXPECT_EQ(Paint().Pixel(otherFace.x + 2, otherFace.y + 2), RGB(0, 0, 255));
}


// Where the platform's own frame control (DrawFrameControl of a button
// part) appears whole inside Area.
bool HasFrameControl(const TPicture& P, const TRect& Area, int Size, UINT State)
{
    TOwned<TBitmap> reference(New<TBitmap>());
    reference->SetPixelFormat(pf32bit);
    reference->SetSize(Size, Size);
    RECT r{0, 0, Size, Size};
    DrawFrameControl(reference->GetCanvas()->GetHandle(), &r, DFC_BUTTON, State);
    for (int y = Area.top; y + Size <= Area.bottom; ++y)
        for (int x = Area.left; x + Size <= Area.right; ++x) {
            bool same = true;
            for (int dy = 0; dy < Size && same; ++dy)
                for (int dx = 0; dx < Size && same; ++dx) {
                    const DWORD q = static_cast<const DWORD*>(reference->GetScanLine(dy))[dx];
                    same = P.Pixel(x + dx, y + dy) == RGB((q >> 16) & 0xFF, (q >> 8) & 0xFF, q & 0xFF);
                }
            if (same)
                return true;
        }
    return false;
}

TOwned<TBitmap> SolidBitmap(int Width, int Height, TColor Colour)
{
    TOwned<TBitmap> bitmap(New<TBitmap>());
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(Width, Height);
    bitmap->GetCanvas()->GetBrush()->SetColor(Colour);
    bitmap->GetCanvas()->FillRect(TRect(0, 0, Width, Height));
    return bitmap;
}

// More kinds at their place: pictures and images at the cell's top left, a
// data image by its number (none for a text that is no number), the expand
// chevron at the top right, and the check box styles.
TEST_F(CellPainter, PicturesImagesAndGlyphStylesAtTheirPlace)
{
    TOwned<TImageList> images(New<TImageList>(nullptr));
    images->SetSize(16, 16);
    for (TColor colour : {TColor(clBlue), TColor(clFuchsia)})
        images->AddMasked(SolidBitmap(16, 16, colour).get(), clNone);
    grid->SetGridImages(images.get());
    TOwned<TBitmap> red = SolidBitmap(10, 10, clRed);
    grid->SetCells(1, 1, L"");
    grid->AddBitmap(1, 1, red.get(), false, haLeft, vaTop);
    grid->SetCells(2, 1, L"");
    grid->AddImageIdx(2, 1, 1, haLeft, vaTop);
    grid->SetCells(3, 1, L"1");
    grid->AddDataImage(3, 1, 0, haLeft, vaTop);
    grid->SetCells(4, 1, L"one");
    grid->AddDataImage(4, 1, 0, haLeft, vaTop);
    grid->SetCells(1, 2, L"");
    grid->AddExpand(1, 2, 60);
    grid->SetCells(2, 2, L"");
    grid->AddCheckBox(2, 2, cbGrayed);
    grid->SetCells(3, 2, L"");
    grid->AddCheckBox(3, 2, true, false);
    grid->SetCells(4, 2, L"");
    grid->AddCheckBox(4, 2, false, false);

    const TPicture p = Paint();
    EXPECT_EQ(p.Pixel(CW + 7, RH + 7), RGB(255, 0, 0)) << "bitmap";
    EXPECT_EQ(p.Pixel(2 * CW + 10, RH + 10), RGB(255, 0, 255)) << "image 1";
    EXPECT_EQ(p.Pixel(3 * CW + 10, RH + 10), RGB(255, 0, 255)) << "data image \"1\"";
    EXPECT_FALSE(p.Has(Cell(4, 1), RGB(0, 0, 255))) << "no number, no image";
    EXPECT_FALSE(p.Has(Cell(4, 1), RGB(255, 0, 255)));
    // The chevron: black at the top right of the cell, nothing at its left.
    EXPECT_TRUE(p.Has(TRect(2 * CW - 13, 2 * RH, 2 * CW - 1, 2 * RH + 13), RGB(0, 0, 0)));
    EXPECT_FALSE(p.Has(TRect(CW + 2, 2 * RH + 2, 2 * CW - 16, 3 * RH - 2), RGB(0, 0, 0)));
    const int size = grid->GetControlLook()->GetCheckSize();
    EXPECT_TRUE(HasFrameControl(p, Cell(2, 2), size, DFCS_BUTTONCHECK | DFCS_BUTTON3STATE | DFCS_CHECKED))
        << "grayed";

    grid->GetControlLook()->SetControlStyle(csFlat);
    {
        const TPicture flat = Paint();
        EXPECT_TRUE(HasFrameControl(flat, Cell(3, 2), size, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT));
        EXPECT_TRUE(HasFrameControl(flat, Cell(4, 2), size, DFCS_BUTTONCHECK | DFCS_FLAT));
    }
    // The drawn box ticks in the control look's colour.
    grid->GetControlLook()->SetControlStyle(csBorland);
    grid->GetControlLook()->SetColor(clRed);
    {
        const TPicture drawn = Paint();
        EXPECT_TRUE(drawn.Has(Cell(3, 2), RGB(255, 0, 0)));
        EXPECT_FALSE(drawn.Has(Cell(4, 2), RGB(255, 0, 0)));
        EXPECT_TRUE(drawn.Has(Cell(4, 2), ColorToRGB(clBtnFace)));
    }
    grid->SetGridImages(nullptr);
}

// A solid icon: colour everywhere, nothing masked out.
TOwned<TIcon> SolidIcon(int Size, TColor Colour)
{
    TOwned<TBitmap> colour = SolidBitmap(Size, Size, Colour);
    TOwned<TBitmap> mask = SolidBitmap(Size, Size, clBlack);
    ICONINFO info{TRUE, 0, 0, mask->GetHandle(), colour->GetHandle()};
    TOwned<TIcon> icon(New<TIcon>());
    icon->SetHandle(CreateIconIndirect(&info));
    return icon;
}

// A glyph for a bit button: a red square inside a border of the key colour
// that transparent drawing leaves out.
TOwned<TBitmap> KeyedGlyph()
{
    TOwned<TBitmap> glyph = SolidBitmap(12, 12, clFuchsia);
    glyph->GetCanvas()->GetBrush()->SetColor(clRed);
    glyph->GetCanvas()->FillRect(TRect(2, 2, 10, 10));
    return glyph;
}

// An object that paints the rectangle it is given in one colour.
class TFilledCell : public TInterfacedPersistent {
public:
    void Draw(TCanvas* Canvas, const TRect& R) override
    {
        Canvas->GetBrush()->SetColor(clBlue);
        Canvas->FillRect(R);
    }
};

// The remaining kinds at their place: an icon and image strips at the
// top left, pictures at their size or stretched, bit button glyphs,
// radio groups, rotated text and an object that paints itself.
TEST_F(CellPainter, IconsStripsPicturesButtonsRadiosRotatedTextAndObjects)
{
    TOwned<TImageList> images(New<TImageList>(nullptr));
    images->SetSize(16, 16);
    for (TColor colour : {TColor(clBlue), TColor(clFuchsia)})
        images->AddMasked(SolidBitmap(16, 16, colour).get(), clNone);
    grid->SetGridImages(images.get());
    grid->GetControlLook()->SetControlStyle(csWinXP);

    TOwned<TIcon> icon = SolidIcon(16, clRed);
    grid->AddIcon(1, 1, icon.get(), haLeft, vaTop);
    for (int dir : {0, 1}) {
        grid->AddMultiImage(2 + dir, 1, dir, haLeft, vaTop);
        grid->GetMultiImageList(2 + dir, 1)->Add(0);
        grid->GetMultiImageList(2 + dir, 1)->Add(1);
    }
    TOwned<TBitmap> green = SolidBitmap(8, 8, clLime);
    TOwned<::TPicture> picture(New<::TPicture>());
    picture->SetBitmap(green.get());
    grid->AddPicture(4, 1, picture.get(), false, noStretch, 0, haLeft, vaTop);
    grid->AddPicture(5, 1, picture.get(), false, Stretch, 0, haLeft, vaTop);

    TOwned<TBitmap> glyph = KeyedGlyph();
    grid->AddBitButton(1, 2, 60, 20, L"", glyph.get(), haLeft, vaTop);
    grid->AddBitButton(2, 2, 60, 20, L"Go", glyph.get(), haLeft, vaTop);

    TOwned<TStringList> options(New<TStringList>());
    for (int i = 0; i < 3; ++i)
        options->Add(L"");
    grid->AddRadio(1, 3, 1, 1, options.get());

    const String text = L"WWWWWWWWWWWWWWWW";
    grid->SetCells(1, 4, text);
    grid->SetRotated(1, 4, 90);
    grid->SetCells(2, 4, text);
    grid->SetRotated(2, 4, 270);
    grid->SetCells(3, 4, text);

    TOwned<TFilledCell> object(New<TFilledCell>());
    grid->AddInterfacedCell(1, 5, object.get());

    const TPicture p = Paint();
    EXPECT_EQ(p.Pixel(CW + 10, RH + 10), RGB(255, 0, 0)) << "icon";
    // Horizontal strip: image 0 then image 1 to its right; vertical: below.
    EXPECT_EQ(p.Pixel(2 * CW + 8, RH + 8), RGB(0, 0, 255));
    EXPECT_EQ(p.Pixel(2 * CW + 16 + 8, RH + 8), RGB(255, 0, 255));
    EXPECT_EQ(p.Pixel(3 * CW + 8, RH + 8), RGB(0, 0, 255));
    EXPECT_EQ(p.Pixel(3 * CW + 16 + 8, RH + 8), RGB(255, 255, 255));
    EXPECT_EQ(p.Pixel(3 * CW + 8, RH + 20), RGB(255, 0, 255));
    // The picture at its size, and stretched over the cell.
    EXPECT_EQ(p.Pixel(4 * CW + 5, RH + 5), RGB(0, 255, 0));
    EXPECT_EQ(p.Pixel(4 * CW + 30, RH + 12), RGB(255, 255, 255));
    EXPECT_EQ(p.Pixel(5 * CW + 50, RH + 12), RGB(0, 255, 0));

    // Bit buttons: the glyph centred on a face without a caption, at the
    // face's left with one; never the key colour.
    struct {
        int col, glyphX;
    } buttons[] = {{1, 24 + 6}, {2, 3 + 6}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.col);
        const TRect cell = Cell(b.col, 2);
        EXPECT_TRUE(p.Has(TRect(cell.left + b.glyphX - 2, cell.top + 8, cell.left + b.glyphX + 2, cell.top + 14),
                          RGB(255, 0, 0)));
        EXPECT_FALSE(p.Has(cell, RGB(255, 0, 255)));
        EXPECT_EQ(p.Pixel(cell.left + 56, cell.top + 10), ColorToRGB(clBtnFace));
    }
    EXPECT_EQ(p.Pixel(CW + 10, 2 * RH + 10), ColorToRGB(clBtnFace)) << "no caption: nothing at the left";

    // A horizontal radio group of three, the second checked: three frames,
    // one tick, in the second glyph's place.
    const COLORREF frame = RGB(28, 81, 128), tick = RGB(33, 161, 33);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TRect place(CW + 2 + 16 * i, 3 * RH + 1, CW + 2 + 16 * i + 16, 4 * RH - 1);
        EXPECT_TRUE(p.Has(place, frame));
        EXPECT_EQ(p.Has(place, tick), i == 1);
    }

    // Rotated text stands upright in a narrow column: at the left going up
    // at 90 degrees, at the right going down at 270; plain text lies flat.
    struct {
        int col;
        bool rotated, left;
    } texts[] = {{1, true, true}, {2, true, false}, {3, false, true}};
    for (const auto& t : texts) {
        SCOPED_TRACE(t.col);
        TRect inside = Cell(t.col, 4);
        InflateRect(&inside, -1, -1);
        const TRect ink = p.Ink(inside, RGB(255, 255, 255));
        ASSERT_LT(ink.left, ink.right);
        if (t.rotated) {
            EXPECT_LT(ink.right - ink.left, 20);
            EXPECT_GT(ink.bottom - ink.top, 14);
        } else {
            EXPECT_GT(ink.right - ink.left, 40);
        }
        EXPECT_EQ(ink.left < inside.left + 50, t.left);
        EXPECT_EQ(ink.right < inside.left + 50, t.left && t.rotated);
    }

    // The object fills the cell up to its grid lines.
    EXPECT_EQ(p.Pixel(CW + 1, 5 * RH + 1), RGB(0, 0, 255));
    EXPECT_EQ(p.Pixel(2 * CW - 3, 6 * RH - 3), RGB(0, 0, 255));
    EXPECT_EQ(p.Pixel(CW + 50, 5 * RH + 12), RGB(0, 0, 255));
    EXPECT_NE(p.Pixel(2 * CW + 50, 5 * RH + 12), RGB(0, 0, 255));
    grid->SetGridImages(nullptr);
}

} // namespace
