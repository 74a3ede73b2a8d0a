// Printing and print preview: the layout read back from the text records of
// an enhanced metafile (positions in 0.1 mm), preview pixels in a 32-bit DIB,
// and real jobs on Wine's PostScript driver printing into a file.
#include "DataGridSupport.h"
#include "GdiHandles.h"
#include "Printers.h"
#include "PrinterSupport.h"
#include "TestSupport.h"
#include "PlatformProbe.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

using namespace datagrid_test;
using namespace testing_support;

namespace {

struct TTextRecord {
    String text;
    int x, y;
};

// A preview page recorded into a metafile; its texts in drawing order.
// A named callback: the 32-bit target needs the platform's calling convention.
int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM data)
{
    if (rec->iType == EMR_EXTTEXTOUTW) {
        const auto* t = reinterpret_cast<const EMREXTTEXTOUTW*>(rec);
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(rec) + t->emrtext.offString);
        reinterpret_cast<std::vector<TTextRecord>*>(data)->push_back(
            {String(chars, t->emrtext.nChars), t->emrtext.ptlReference.x, t->emrtext.ptlReference.y});
    }
    return 1;
}

std::vector<TTextRecord> PreviewTexts(TAdvStringGrid* grid, int page, bool selectedRows = false)
{
    const TRect display(0, 0, 800, 1100);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateEnhMetaFileW(screen, nullptr, nullptr, nullptr);
    ReleaseDC(nullptr, screen);
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->SetHandle(dc);
    grid->SetPreviewPage(page);
    if (selectedRows)
        grid->PrintPreviewSelectedRows(canvas.get(), display);
    else
        grid->PrintPreview(canvas.get(), display);
    canvas->SetHandle(nullptr);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    std::vector<TTextRecord> texts;
    EnumEnhMetaFile(nullptr, emf, CollectText, &texts, nullptr);
    DeleteEnhMetaFile(emf);
    return texts;
}

const TTextRecord* Find(const std::vector<TTextRecord>& texts, const String& text)
{
    auto it = std::find_if(texts.begin(), texts.end(), [&](const TTextRecord& t) { return t.text == text; });
    return it == texts.end() ? nullptr : &*it;
}

int Count(const std::vector<TTextRecord>& texts, const String& text)
{
    return static_cast<int>(std::count_if(texts.begin(), texts.end(), [&](const TTextRecord& t) { return t.text == text; }));
}

TEST(PrintLayout, WideGridsPrintInStripsWithRepeatedFixedColumns)
{
    TShownGrid<> g(40, 5);
    g->GetPrintSettings()->SetRepeatFixedCols(true);
    PreviewTexts(g.grid, 1);
    const int pages = g->GetPrintNrOfPages();
    ASSERT_GT(pages, 1);
    const auto first = PreviewTexts(g.grid, 1);
    EXPECT_TRUE(Find(first, L"r1c0") && Find(first, L"r1c1"));
    EXPECT_FALSE(Find(first, L"r1c39"));
    const auto last = PreviewTexts(g.grid, pages);
    EXPECT_TRUE(Find(last, L"r1c39"));
    EXPECT_TRUE(Find(last, L"r1c0")) << "the fixed column repeats on the last strip";
    EXPECT_EQ(g->GetPrintColEnd(), 39);
    EXPECT_GT(g->GetPrintColStart(), 1);
    // Every column is on exactly one strip.
    for (int c = 1; c < 40; ++c) {
        int seen = 0;
        for (int p = 1; p <= pages; ++p)
            seen += Count(PreviewTexts(g.grid, p), CellName(c, 2));
        EXPECT_EQ(seen, 1) << c;
    }
    // A page past the last draws nothing.
    EXPECT_TRUE(PreviewTexts(g.grid, pages + 1).empty());
}

TEST(PrintLayout, FitToPageModes)
{
    struct TFitCase {
        int cols;
        TFitToPage fit;
        bool refuse;
        int wantPages;      // 0: not checked
        int lastX;          // compared with the unscaled layout: -1 left of it, 0 equal, 1 right of it
    };
    const TFitCase cases[] = {
        {3, fpShrink, false, 1, 0},  {40, fpShrink, false, 1, 0}, {3, fpGrow, false, 1, 1},
        {3, fpAlways, false, 1, 1},  {3, fpCustom, true, 1, 0},   {3, fpCustom, false, 1, 1},
    };
    for (const TFitCase& c : cases) {
        TShownGrid<> g(c.cols, 4);
        g->GetPrintSettings()->SetCentered(false);
        const auto plain = PreviewTexts(g.grid, 1);
        const int plainPages = g->GetPrintNrOfPages();
        g->GetPrintSettings()->SetFitToPage(c.fit);
        g->OnFitToPage = [&](TObject*, double&, bool& allow) { allow = !c.refuse; };
        const auto fitted = PreviewTexts(g.grid, 1);
        EXPECT_EQ(g->GetPrintNrOfPages(), c.cols == 40 ? 1 : plainPages) << c.fit;
        const String lastCell = CellName(c.cols - 1, 1);
        ASSERT_TRUE(Find(fitted, lastCell)) << c.fit;
        if (c.cols == 40) {
            EXPECT_GT(plainPages, 1);
            EXPECT_LT(Find(fitted, lastCell)->x, g->GetPrintPageRect().right);
            continue;
        }
        const int before = Find(plain, lastCell)->x, after = Find(fitted, lastCell)->x;
        EXPECT_EQ(after > before ? 1 : after < before ? -1 : 0, c.lastX) << c.fit;
    }
}

TEST(PrintLayout, RowsBreakIntoPagesWithRepeatedFixedRows)
{
    TShownGrid<> g(3, 200);
    g->GetPrintSettings()->SetRepeatFixedRows(true);
    const auto first = PreviewTexts(g.grid, 1);
    ASSERT_GT(g->GetPrintNrOfPages(), 1);
    EXPECT_EQ(Count(first, L"r0c1"), 1);
    const auto second = PreviewTexts(g.grid, 2);
    EXPECT_EQ(Count(second, L"r0c1"), 1) << "page 2 begins with the fixed row";
    // The fixed row stands above the page's first normal row.
    int firstRow = -1;
    for (int r = 1; r < 200 && firstRow < 0; ++r)
        if (Find(second, CellName(1, r)))
            firstRow = r;
    ASSERT_GT(firstRow, 1);
    EXPECT_GT(Find(second, L"r0c1")->y, Find(second, CellName(1, firstRow))->y);
    EXPECT_TRUE(Find(first, CellName(1, firstRow - 1)));
    EXPECT_FALSE(Find(first, CellName(1, firstRow)));
}

TEST(PrintLayout, NewPageHandlerBreaksBeforeTheRow)
{
    TShownGrid<> g(3, 30);
    g->OnPrintNewPage = [](TObject*, int row, bool& newPage) { newPage = row == 10; };
    const auto first = PreviewTexts(g.grid, 1);
    EXPECT_TRUE(Find(first, L"r9c1"));
    EXPECT_FALSE(Find(first, L"r10c1"));
    const auto second = PreviewTexts(g.grid, 2);
    EXPECT_TRUE(Find(second, L"r10c1"));
    EXPECT_FALSE(Find(second, L"r9c1"));
}

TEST(PrintLayout, SelectedRowsOnly)
{
    TShownGrid<> g(3, 10);
    g->GetPrintSettings()->SetFixedCellsAlways(true);
    TGridRect sel;
    sel.Left = 1;
    sel.Right = 2;
    sel.Top = 4;
    sel.Bottom = 5;
    g->SetSelection(sel);
    const auto texts = PreviewTexts(g.grid, 1, true);
    EXPECT_TRUE(Find(texts, L"r0c1")) << "fixed cells always print";
    EXPECT_TRUE(Find(texts, L"r4c1") && Find(texts, L"r5c2"));
    EXPECT_FALSE(Find(texts, L"r3c1") || Find(texts, L"r6c1"));
    // The unprinted rows take no room: row 4 follows the fixed row.
    EXPECT_GT(Find(texts, L"r0c1")->y, Find(texts, L"r4c1")->y);
    EXPECT_TRUE(Find(PreviewTexts(g.grid, 1), L"r3c1")) << "a whole preview prints every row";
}

// --- header and footer -------------------------------------------------------------------

TEST(PrintHeaderFooter, PageNumbersBySlot)
{
    struct TNumberCase {
        int cols, rows;
        const wchar_t* sep;
        int offset, maxOffset;
        int page;
        const wchar_t* text;
    };
    const TNumberCase cases[] = {
        {3, 240, L"/", 0, 0, 2, L"2/"},
        {3, 240, L"/", 10, 10, 2, L"12/"},
        {3, 240, L"", 0, 0, 2, L"2"},
    };
    for (const TNumberCase& c : cases) {
        TShownGrid<> g(c.cols, c.rows);
        TPrintSettings* ps = g->GetPrintSettings();
        ps->SetPageNr(ppBottomRight);
        ps->SetPageNumSep(c.sep);
        ps->SetPageNumberOffset(c.offset);
        ps->SetMaxPagesOffset(c.maxOffset);
        const auto texts = PreviewTexts(g.grid, c.page);
        const int pages = g->GetPrintNrOfPages();
        ASSERT_GT(pages, 1);
        String want = c.text;
        if (*c.sep)
            want += IntToStr(pages + c.maxOffset);
        EXPECT_TRUE(Find(texts, L" " + want)) << testing::PrintToString(want);
    }
}

TEST(PrintHeaderFooter, StripsNumberRowPageAndStrip)
{
    TShownGrid<> g(40, 60);
    TPrintSettings* ps = g->GetPrintSettings();
    ps->SetPageNr(ppTopLeft);
    ps->SetPagePrefix(L"Page");
    // Two row pages per strip: a break before row 30.
    g->OnPrintNewPage = [](TObject*, int row, bool& newPage) { newPage = row == 30; };
    PreviewTexts(g.grid, 1);
    const int pages = g->GetPrintNrOfPages();
    ASSERT_EQ(pages % 2, 0);
    std::vector<String> seen;
    for (int p = 1; p <= 4; ++p)
        for (const TTextRecord& t : PreviewTexts(g.grid, p))
            if (t.text.rfind(L"Page ", 0) == 0)
                seen.push_back(t.text);
    const std::vector<String> want = {L"Page 1-1 ", L"Page 2-1 ", L"Page 1-2 ", L"Page 2-2 "};
    EXPECT_EQ(seen, want);
}

TEST(PrintHeaderFooter, DateAndTimeSlotsWithTheirBlanks)
{
    TShownGrid<> g(2, 3);
    TPrintSettings* ps = g->GetPrintSettings();
    ps->SetDateFormat(L"yyyy-mm-dd");
    for (TPrintPosition slot : {ppTopLeft, ppTopRight}) {
        ps->SetTime(slot);
        ps->SetDate(slot);
        const auto texts = PreviewTexts(g.grid, 1);
        const TDateTime now = Now();
        const String date = FormatDateTime(L"yyyy-mm-dd", now), time = FormatDateTime(L"hh:nn", now);
        const String want = slot == ppTopLeft ? date + L" " + time + L" " : L" " + time + L" " + date;
        bool found = false;
        for (const TTextRecord& t : texts)
            found = found || (t.text.size() == want.size() && t.text.substr(0, 1) == want.substr(0, 1) &&
                              t.text.back() == want.back() && t.text.find(date) != String::npos);
        EXPECT_TRUE(found) << testing::PrintToString(want);
    }
}

TEST(PrintCells, PasswordCellsPrintTheirLength)
{
    TShownGrid<> g(2, 3);
    g->SetCells(1, 1, L"secret");
    g->OnIsPasswordCell = [](TObject*, int row, int col, bool& isPassword) { isPassword = row == 1 && col == 1; };
    const auto texts = PreviewTexts(g.grid, 1);
    EXPECT_TRUE(Find(texts, String(6, g->GetPasswordChar())));
    EXPECT_FALSE(Find(texts, L"secret"));
}

// --- preview pixels ----------------------------------------------------------------------

class TDib {
public:
    TDib(int w, int h) : w_(w)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<DWORD*>(bits);
        std::fill(bits_, bits_ + w * h, 0x00FFFFFF);
        select_.emplace(dc_.Get(), bitmap_.Get());
    }
    HDC DC() const { return dc_.Get(); }
    bool Dark(int x, int y) const
    {
        GdiFlush();
        const DWORD p = bits_[y * w_ + x];
        return ((p >> 16) & 0xFF) < 128 && ((p >> 8) & 0xFF) < 128 && (p & 0xFF) < 128;
    }
    // The pixel as a COLORREF (red in the low byte).
    COLORREF Pixel(int x, int y) const
    {
        GdiFlush();
        const DWORD p = bits_[y * w_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Dark pixels in the rectangle [left, right) x [top, bottom).
    int DarkIn(int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += Dark(x, y) ? 1 : 0;
        return n;
    }
    int CountColor(int left, int top, int right, int bottom, COLORREF color) const
    {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += Pixel(x, y) == color ? 1 : 0;
        return n;
    }

private:
    int w_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    DWORD* bits_ = nullptr;
    std::optional<TSelectObject> select_;
};

TEST(PrintPreviewPixels, MergedBlockHasNoInnerLines)
{
    TShownGrid<> g(4, 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            g->SetCells(c, r, L"");
    g->GetPrintSettings()->SetCentered(false);
    g->GetPrintSettings()->SetUseFixedWidth(true);
    g->GetPrintSettings()->SetFixedWidth(300);
    g->GetPrintSettings()->SetUseFixedHeight(true);
    g->GetPrintSettings()->SetFixedHeight(150);
    g->MergeCells(1, 1, 2, 2);
    TDib dib(800, 1100);
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->SetHandle(dib.DC());
    g->SetPreviewPage(1);
    g->PrintPreview(canvas.get(), TRect(0, 0, 800, 1100));
    canvas->SetHandle(nullptr);
    // Columns 300 wide (no spacing with fixed widths), rows 150 + 2 margins: 0.1 mm at 96 dpi.
    auto px = [](int units) { return units * 96 / 254; };
    // The vertical line between columns 1 and 2 shows in row 0 and row 3 but not inside the block.
    const int lineX = px(600);
    auto darkNear = [&](int x, int y) {
        for (int dx = -2; dx <= 2; ++dx)
            if (dib.Dark(x + dx, y))
                return true;
        return false;
    };
    const int row0 = px(75);
    EXPECT_TRUE(darkNear(lineX, row0 + 1)) << "the line between columns 1 and 2 in row 0";
    // Inside the block (rows 1 and 2) there is no line between its columns.
    int inside = 0;
    for (int y = px(250); y < px(400); ++y)
        inside += darkNear(lineX, y) ? 1 : 0;
    EXPECT_EQ(inside, 0);
}

// A grid laid out in fixed cells: columns 300 wide from the page's left edge
// (no spacing with fixed widths), rows 150 high plus their margins.
void FixedLayout(TAdvStringGrid* grid)
{
    TPrintSettings* ps = grid->GetPrintSettings();
    ps->SetCentered(false);
    ps->SetUseFixedWidth(true);
    ps->SetFixedWidth(300);
    ps->SetUseFixedHeight(true);
    ps->SetFixedHeight(150);
}

// 0.1 mm in pixels of a 96 dpi preview.
int Px(int units) { return units * 96 / 254; }

std::unique_ptr<TDib> PreviewDib(TAdvStringGrid* grid, int page = 1)
{
    auto dib = std::make_unique<TDib>(800, 1100);
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->SetHandle(dib->DC());
    grid->SetPreviewPage(page);
    grid->PrintPreview(canvas.get(), TRect(0, 0, 800, 1100));
    canvas->SetHandle(nullptr);
    return dib;
}

// Inside a cell of the fixed layout, a few pixels clear of its lines; the
// row's top comes from the text of its column 0.
TRect Interior(TAdvStringGrid* grid, int col, int row)
{
    const auto texts = PreviewTexts(grid, 1);
    const TTextRecord* t = Find(texts, CellName(0, row));
    if (!t) {
        ADD_FAILURE() << "no text in column 0 of row " << row;
        return TRect();
    }
    const int top = Px(-t->y) + 2;
    return TRect(Px(300 * col) + 4, top, Px(300 * col + 300) - 4, top + Px(150) - 6);
}

TEST(PrintPreviewPixels, BorderKinds)
{
    struct TBorderCase {
        TPrintBorders borders;
        bool vertical, horizontal;
    };
    const TBorderCase cases[] = {
        {pbSingle, true, true},   {pbHorizontal, false, true}, {pbVertical, true, false},
        {pbCustom, false, false}, {pbNoborder, false, false},  {pbAround, false, false},
    };
    for (const TBorderCase& c : cases) {
        TShownGrid<> g(3, 4);
        for (int r = 0; r < 4; ++r)
            for (int col = 1; col < 3; ++col)
                g->SetCells(col, r, L"");
        FixedLayout(g.grid);
        g->GetPrintSettings()->SetBorders(c.borders);
        const TRect row1 = Interior(g.grid, 1, 1), row2 = Interior(g.grid, 1, 2);
        const auto dib = PreviewDib(g.grid);
        // The line between columns 1 and 2, in the middle of row 1.
        const int midY = (row1.top + row1.bottom) / 2;
        const int lineX = Px(600);
        const bool vertical = dib->DarkIn(lineX - 2, midY, lineX + 3, midY + 1) > 0;
        // The line between rows 1 and 2, in the middle of column 1.
        const int midX = (row1.left + row1.right) / 2;
        const bool horizontal = dib->DarkIn(midX, row1.bottom, midX + 1, row2.top) > 0;
        EXPECT_EQ(vertical, c.vertical) << c.borders;
        EXPECT_EQ(horizontal, c.horizontal) << c.borders;
        // The cells' insides stay clear.
        EXPECT_EQ(dib->DarkIn(row1.left + 2, row1.top + 2, row1.right - 2, row1.bottom - 2), 0) << c.borders;
    }
}

TEST(PrintPreviewPixels, CheckBoxWithoutTextFollowsTheAlignment)
{
    for (TAlignment align : {taRightJustify, taLeftJustify}) {
        TShownGrid<> g(3, 3);
        FixedLayout(g.grid);
        g->SetCells(1, 1, L"");
        g->GetPrintSettings()->SetPrintGraphics(true);
        g->AddCheckBox(1, 1, true, false);
        g->SetCellTextAlignment(1, 1, align);
        const TRect cell = Interior(g.grid, 1, 1);
        const auto dib = PreviewDib(g.grid);
        const int third = (cell.right - cell.left) / 3;
        const int left = dib->DarkIn(cell.left, cell.top, cell.left + third, cell.bottom);
        const int right = dib->DarkIn(cell.right - third, cell.top, cell.right, cell.bottom);
        if (align == taRightJustify) {
            EXPECT_GT(right, 0);
            EXPECT_EQ(left, 0);
        } else {
            EXPECT_GT(left, 0);
            EXPECT_EQ(right, 0);
        }
    }
}

TEST(PrintPreviewPixels, WrappedTextKeepsToTheScaledColumnWidth)
{
    const String words = L"alpha beta gamma delta epsilon zeta eta theta iota kappa";
    for (bool noAutoSize : {true, false}) {
        TShownGrid<> g(3, 3);
        g->SetWordWrap(true);
        g->SetColWidths(1, 80);
        g->SetCells(1, 1, words);
        g->SetCells(2, 1, L"");
        TPrintSettings* ps = g->GetPrintSettings();
        ps->SetCentered(false);
        ps->SetNoAutoSize(noAutoSize);
        ps->SetBorders(pbNoborder);
        const auto texts = PreviewTexts(g.grid, 1);
        if (!noAutoSize) {
            // The column is as wide as the longest line: the text in one piece.
            EXPECT_TRUE(Find(texts, words));
            continue;
        }
        EXPECT_FALSE(Find(texts, words)) << "the text is broken into lines";
        std::vector<const TTextRecord*> pieces;
        for (const TTextRecord& t : texts)
            if (words.find(t.text) != String::npos && t.text.size() > 1 && t.text != L"r1c0")
                pieces.push_back(&t);
        ASSERT_GE(pieces.size(), 2u);
        for (std::size_t i = 1; i < pieces.size(); ++i)
            EXPECT_LT(pieces[i]->y, pieces[i - 1]->y) << "each line below the one before";
        // The column: (80 + 4) screen pixels at 96 dpi, from column 1's indent.
        const int columnLeft = Px(pieces[0]->x) - 4;
        const int columnRight = columnLeft + 84 + 8;
        const auto dib = PreviewDib(g.grid);
        const int rowTop = Px(-pieces[0]->y);
        const int rowBottom = Px(-pieces.back()->y) + 16;
        EXPECT_GT(dib->DarkIn(columnLeft, rowTop, columnRight, rowBottom), 0);
        EXPECT_EQ(dib->DarkIn(columnRight + 2, rowTop + 2, columnRight + 200, rowBottom - 4), 0)
            << "nothing of the text beyond its column";
    }
}

// --- printed cells: markup, rich text, rotation, graphics, gradients -----------------------

struct TFontRecord {
    int escapement;
};

int CALLBACK CollectFonts(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM data)
{
    if (rec->iType == EMR_EXTCREATEFONTINDIRECTW) {
        const auto* f = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(rec);
        reinterpret_cast<std::vector<TFontRecord>*>(data)->push_back({f->elfw.elfLogFont.lfEscapement});
    }
    return 1;
}

std::vector<TFontRecord> PreviewFonts(TAdvStringGrid* grid)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateEnhMetaFileW(screen, nullptr, nullptr, nullptr);
    ReleaseDC(nullptr, screen);
    TOwned<TCanvas> canvas(new TCanvas);
    canvas->SetHandle(dc);
    grid->SetPreviewPage(1);
    grid->PrintPreview(canvas.get(), TRect(0, 0, 800, 1100));
    canvas->SetHandle(nullptr);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    std::vector<TFontRecord> fonts;
    EnumEnhMetaFile(nullptr, emf, CollectFonts, &fonts, nullptr);
    DeleteEnhMetaFile(emf);
    return fonts;
}

bool AnyContains(const std::vector<TTextRecord>& texts, const String& part)
{
    return std::any_of(texts.begin(), texts.end(), [&](const TTextRecord& t) { return t.text.find(part) != String::npos; });
}

TEST(PrintCells, MarkupPrintsItsTextWithoutTags)
{
    TShownGrid<> g(3, 3);
    g->SetCells(1, 1, L"<b>Bold</b> and <i>slanted</i>");
    const auto texts = PreviewTexts(g.grid, 1);
    EXPECT_TRUE(AnyContains(texts, L"Bold"));
    EXPECT_TRUE(AnyContains(texts, L"slanted"));
    EXPECT_FALSE(AnyContains(texts, L"<b>") || AnyContains(texts, L"</i>"));
}

TEST(PrintCells, RichTextPrintsItsContentNotItsCode)
{
    TShownGrid<> g(3, 3);
    FixedLayout(g.grid);
    g->SetCells(1, 1, L"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 Rich words here\\par}");
    const auto texts = PreviewTexts(g.grid, 1);
    EXPECT_FALSE(AnyContains(texts, L"rtf1") || AnyContains(texts, L"fonttbl"));
    const TRect cell = Interior(g.grid, 1, 1);
    const auto dib = PreviewDib(g.grid);
    EXPECT_GT(dib->DarkIn(cell.left, cell.top, cell.right, cell.bottom), 0) << "the rich text is on the page";
}

TEST(PrintCells, RotatedTextTurnsByTheCellAngle)
{
    struct TRotationCase {
        bool driverFix;
        int landscapeAngle;
        int escapement;
    };
    const TRotationCase cases[] = {{false, 0, -900}, {true, 90, 900}, {true, 270, -900}};
    for (const TRotationCase& c : cases) {
        TShownGrid<> g(3, 3);
        g->AddRotated(1, 1, 90, L"Upright");
        g->SetPrinterDriverFix(c.driverFix);
        PlatformProbe().PrinterLandscapeAngle = c.landscapeAngle;
        const auto fonts = PreviewFonts(g.grid);
        ResetPlatformProbe();
        EXPECT_TRUE(std::any_of(fonts.begin(), fonts.end(),
                                [&](const TFontRecord& f) { return f.escapement == c.escapement; }))
            << c.driverFix << " " << c.landscapeAngle;
        EXPECT_TRUE(Find(PreviewTexts(g.grid, 1), L"Upright"));
    }
}

TEST(PrintCells, GraphicsPrintThroughTheCellPainter)
{
    TShownGrid<> g(4, 4);
    FixedLayout(g.grid);
    g->GetPrintSettings()->SetPrintGraphics(true);
    for (int col = 1; col < 4; ++col)
        g->SetCells(col, 1, L"");
    // A red bitmap, a progress bar half full and a node.
    TOwned<TBitmap> red(New<TBitmap>());
    red->SetPixelFormat(pf24bit);
    red->SetSize(16, 16);
    red->GetCanvas()->GetBrush()->SetColor(clRed);
    red->GetCanvas()->FillRect(TRect(0, 0, 16, 16));
    g->AddBitmap(1, 1, red.get(), false, haLeft, vaTop);
    g->SetCells(2, 1, L"50");
    g->AddProgress(2, 1, clBlue, clWhite);
    const TRect bitmapCell = Interior(g.grid, 1, 1);
    const TRect progressCell = Interior(g.grid, 2, 1);
    const auto dib = PreviewDib(g.grid);
    // 16 pixels of screen at the cell's top left: about 16 pixels of a 96 dpi preview.
    EXPECT_GT(dib->CountColor(bitmapCell.left, bitmapCell.top - 2, bitmapCell.left + 30, bitmapCell.top + 24,
                              RGB(255, 0, 0)),
              150);
    EXPECT_EQ(dib->CountColor(bitmapCell.left + 40, bitmapCell.top, bitmapCell.right, bitmapCell.bottom,
                              RGB(255, 0, 0)),
              0);
    // Blue on the left half of the bar, none near its right end.
    const int midY = (progressCell.top + progressCell.bottom) / 2;
    const int width = progressCell.right - progressCell.left;
    EXPECT_GT(dib->CountColor(progressCell.left + 4, midY - 3, progressCell.left + width / 3, midY + 3, RGB(0, 0, 255)),
              0);
    EXPECT_EQ(dib->CountColor(progressCell.right - width / 4, midY - 3, progressCell.right - 4, midY + 3,
                              RGB(0, 0, 255)),
              0);
}

TEST(PrintCells, CommentsMarkTheirCellWhenAsked)
{
    for (bool printComments : {true, false}) {
        TShownGrid<> g(3, 3);
        FixedLayout(g.grid);
        g->GetPrintSettings()->SetPrintGraphics(true);
        g->GetPrintSettings()->SetPrintComments(printComments);
        g->SetCells(1, 1, L"");
        g->AddComment(1, 1, L"note");
        const TRect cell = Interior(g.grid, 1, 1);
        const auto dib = PreviewDib(g.grid);
        const int red = dib->CountColor(cell.right - 6, cell.top - 3, cell.right + 4, cell.top + 3, RGB(255, 0, 0));
        EXPECT_EQ(red > 0, printComments);
    }
}

TEST(PrintCells, GradientCellsRunFromColourToColour)
{
    TShownGrid<> g(3, 3);
    FixedLayout(g.grid);
    g->SetCells(1, 1, L"");
    g->SetCellBrushColor(1, 1, clRed);
    g->SetCellBrushColorTo(1, 1, clBlue);
    const TRect cell = Interior(g.grid, 1, 1);
    const auto dib = PreviewDib(g.grid);
    const COLORREF top = dib->Pixel((cell.left + cell.right) / 2, cell.top + 2);
    const COLORREF bottom = dib->Pixel((cell.left + cell.right) / 2, cell.bottom - 2);
    EXPECT_GT(GetRValue(top), GetBValue(top)) << "red at the start";
    EXPECT_GT(GetBValue(bottom), GetRValue(bottom)) << "blue at the end";
}

TEST(PrintCells, CustomCellDrawGetsTheCellInDeviceUnits)
{
    TShownGrid<> g(3, 3);
    FixedLayout(g.grid);
    g->SetCells(1, 1, L"");
    TRect seen;
    bool printing = false;
    g->OnCustomCellDraw = [&](TObject*, TCanvas* canvas, int col, int row, TGridDrawState, TRect rect, bool p) {
        if (col != 1 || row != 1)
            return;
        seen = rect;
        printing = p;
        canvas->GetBrush()->SetColor(clLime);
        canvas->FillRect(TRect(rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2));
    };
    const TRect cell = Interior(g.grid, 1, 1);
    const auto dib = PreviewDib(g.grid);
    EXPECT_TRUE(printing);
    EXPECT_NEAR(seen.left, Px(300), 2);
    EXPECT_NEAR(seen.right, Px(600), 2);
    EXPECT_LT(seen.top, seen.bottom);
    EXPECT_EQ(dib->Pixel((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2), RGB(0, 255, 0));
}

TEST(PrintHeaderFooter, MarkupTitleStandsAboveTheCells)
{
    TShownGrid<> g(3, 3);
    TPrintSettings* ps = g->GetPrintSettings();
    ps->SetTitle(ppTopLeft);
    ps->GetTitleLines()->Add(L"<b>Stock</b> report");
    ps->GetTitleLines()->Add(L"<i>second line</i>");
    const auto texts = PreviewTexts(g.grid, 1);
    EXPECT_FALSE(AnyContains(texts, L"<b>"));
    const auto title = std::find_if(texts.begin(), texts.end(), [](const TTextRecord& t) { return t.text.find(L"Stock") != String::npos; });
    ASSERT_NE(title, texts.end());
    EXPECT_TRUE(AnyContains(texts, L"second"));
    // The title is drawn in device pixels, the cells in 0.1 mm.
    const TTextRecord* cell = Find(texts, L"r0c0");
    ASSERT_TRUE(cell);
    EXPECT_LT(title->y + 10, Px(-cell->y)) << "the first row starts below the title";
}

TEST(StretchPrintBitmap, StretchesUprightInAnyMappingMode)
{
    TOwned<TBitmap> quads(New<TBitmap>());
    quads->SetPixelFormat(pf24bit);
    quads->SetSize(2, 2);
    TCanvas* qc = quads->GetCanvas();
    qc->SetPixels(0, 0, clRed);
    qc->SetPixels(1, 0, clLime);
    qc->SetPixels(0, 1, clBlue);
    qc->SetPixels(1, 1, clYellow);
    for (DWORD rop : {DWORD(SRCCOPY), DWORD(SRCINVERT)}) {
        TDib dib(200, 200);
        TOwned<TCanvas> canvas(new TCanvas);
        canvas->SetHandle(dib.DC());
        SetMapMode(dib.DC(), MM_LOMETRIC);
        // 0.1 mm: a square of 200 x 200 from the corner, y upwards.
        StretchPrintBitmapRop(canvas.get(), TRect(0, 0, 200, -200), quads.get(), rop);
        SetMapMode(dib.DC(), MM_TEXT);
        canvas->SetHandle(nullptr);
        const int q = Px(50), f = Px(150);
        auto want = [&](COLORREF c) { return rop == SRCCOPY ? c : (c ^ 0xFFFFFF); };
        EXPECT_EQ(dib.Pixel(q, q), want(RGB(255, 0, 0)));
        EXPECT_EQ(dib.Pixel(f, q), want(RGB(0, 255, 0)));
        EXPECT_EQ(dib.Pixel(q, f), want(RGB(0, 0, 255)));
        EXPECT_EQ(dib.Pixel(f, f), want(RGB(255, 255, 0)));
    }
}

// --- real printing -----------------------------------------------------------------------

class GridPrintJob : public testing::Test {
protected:
    TempDir folder_;
    TFilePrinter printer_{folder_.Path()};
};

TEST_F(GridPrintJob, PrintsEveryPageWithTitleAndOrientation)
{
    TShownGrid<> g(3, 240);
    g->GetPrintSettings()->SetJobName(L"Stock print");
    g->GetPrintSettings()->SetOrientation(poLandscape);
    g->Print();
    const std::string ps = printer_.Printed();
    const int pages = g->GetPrintNrOfPages();
    ASSERT_GT(pages, 1);
    EXPECT_NE(ps.find("%%Title: Stock print"), std::string::npos);
    EXPECT_NE(ps.find("%%Orientation: Landscape"), std::string::npos);
    EXPECT_NE(ps.find("%%Pages: " + std::to_string(pages)), std::string::npos);
    EXPECT_EQ(CountOf(ps, "showpage"), pages);
    EXPECT_FALSE(Printer()->GetPrinting());
}

TEST_F(GridPrintJob, PrintingLeavesNoGdiObjects)
{
    TShownGrid<> g(5, 120);
    g->GetPrintSettings()->SetPageNr(ppBottomCenter);
    g->Print();
    const DWORD before = GdiObjectCount();
    g->Print();
    g->Print();
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(GridPrintJob, PageRangePrintsOnlyItsPages)
{
    TShownGrid<> g(3, 400);
    std::vector<int> pagesDrawn;
    g->OnPrintStart = [](TObject*, int pages, int& from, int& to) {
        ASSERT_GE(pages, 3);
        from = 2;
        to = 3;
    };
    g->OnPrintPage = [&](TObject*, TCanvas*, int page, int, int) { pagesDrawn.push_back(page); };
    g->Print();
    const std::string ps = printer_.Printed();
    EXPECT_EQ(CountOf(ps, "showpage"), 2);
    EXPECT_FALSE(pagesDrawn.empty());
}

TEST_F(GridPrintJob, CancelStopsAfterItsPage)
{
    TShownGrid<> g(3, 400);
    std::vector<int> asked;
    g->OnPrintCancel = [&](TObject*, int page, bool& cancel) {
        asked.push_back(page);
        cancel = page == 1;
    };
    g->Print();
    ASSERT_GT(g->GetPrintNrOfPages(), 2);
    EXPECT_EQ(asked, std::vector<int>{1});
    const std::string ps = printer_.Printed();
    EXPECT_EQ(CountOf(ps, "%%Page: "), 1) << ps.size();
    EXPECT_EQ(CountOf(ps, "showpage"), 1);
    EXPECT_FALSE(Printer()->GetPrinting());
}

TEST_F(GridPrintJob, RaisingHandlerEndsTheJobAndTheNextPrintIsWhole)
{
    TShownGrid<> g(3, 400);
    g->Print();   // the printer's information context is made once and kept
    const DWORD before = GdiObjectCount();
    g->OnPrintPage = [](TObject*, TCanvas*, int page, int, int) {
        if (page == 2)
            throw Exception(L"handler failed");
    };
    EXPECT_THROW(g->Print(), Exception);
    EXPECT_FALSE(Printer()->GetPrinting()) << "the job is ended";
    g->OnPrintPage = nullptr;
    g->Print();
    const std::string ps = printer_.Printed();
    EXPECT_EQ(CountOf(ps, "%%Page: "), g->GetPrintNrOfPages());
    EXPECT_EQ(CountOf(ps, "showpage"), g->GetPrintNrOfPages());
    EXPECT_EQ(GdiObjectCount(), before);
}

TEST_F(GridPrintJob, MarginsWiderThanThePageLoseNoText)
{
    TShownGrid<> g(4, 6);
    TPrintSettings* ps = g->GetPrintSettings();
    ps->SetCentered(false);
    ps->SetFitToPage(fpAlways);
    ps->SetLeftSize(1500);
    ps->SetRightSize(1500);
    g->Print();
    const int pages = g->GetPrintNrOfPages();
    EXPECT_EQ(CountOf(printer_.Printed(), "showpage"), pages);
    // The preview lays the same grid out: every cell text once, none squeezed away.
    PreviewTexts(g.grid, 1);
    const int previewPages = g->GetPrintNrOfPages();
    std::vector<TTextRecord> all;
    for (int p = 1; p <= previewPages; ++p)
        for (const TTextRecord& t : PreviewTexts(g.grid, p))
            all.push_back(t);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(Count(all, CellName(c, r)), 1) << CellName(c, r);
    // Columns keep their order and their room: each starts after the one before on its strip.
    EXPECT_GT(g->GetPrintPageWidth(), 0);
}

TEST(GridPrintNoPrinter, RaisesAndChangesNothing)
{
    const std::wstring previous = DefaultPrinterName();
    ClearDefaultPrinter();
    TShownGrid<> g(3, 10);
    bool started = false;
    g->OnPrintStart = [&](TObject*, int, int&, int&) { started = true; };
    EXPECT_THROW(g->Print(), EPrinter);
    EXPECT_FALSE(started);
    EXPECT_EQ(g->GetPrintNrOfPages(), 0);
    if (!previous.empty())
        SetDefaultPrinterW(previous.c_str());
}

} // namespace
