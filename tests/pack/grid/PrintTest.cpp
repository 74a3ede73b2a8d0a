// Printing and print preview: the layout read back from the text records of
// an enhanced metafile (positions in 0.1 mm), preview pixels in a 32-bit DIB,
// and real jobs on Wine's PostScript driver printing into a file.
#include "DataGridSupport.h"
#include "GdiHandles.h"
#include "Printers.h"
#include "PrinterSupport.h"
#include "TestSupport.h"
#include <gtest/gtest.h>
#include <algorithm>

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
