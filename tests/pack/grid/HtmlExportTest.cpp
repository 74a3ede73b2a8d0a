// The HTML export: a small grid's page byte for byte in both encodings;
// cell texts escaped and marked-up cells kept only as far as they are safe;
// the table's header row, widths, classes, merged cells and empty cells;
// pictures as JPEG files that decode; header and footer files, appending,
// and pages or picture folders that cannot be written.
#include <gtest/gtest.h>
#include "DataGridSupport.h"
#include "Jpeg.h"
#include "TestSupport.h"

using namespace datagrid_test;
using testing_support::FileBytes;
using testing_support::SourceDir;
using testing_support::TempDir;

namespace {

String Fixture(const String& name)
{
    return SourceDir() + L"\\tests\\fixtures\\pack\\grid\\" + name;
}

// A grid with plain colours and fonts, so that its page does not depend on
// the system's colours.
void PlainLook(TAdvStringGrid* grid)
{
    grid->SetColor(clWhite);
    grid->SetFixedColor(0xE0E0E0);
    grid->GetFont()->SetName(L"Tahoma");
    grid->GetFont()->SetSize(8);
    grid->GetFont()->SetColor(clBlack);
    grid->GetFixedFont()->SetName(L"Tahoma");
    grid->GetFixedFont()->SetSize(8);
}

// The table of a small inventory: a title row, a marked-up cell, a cell
// with script in it, an address, an empty cell, a merged cell, a right
// aligned coloured cell and text outside 7 bits.
void FillSmallInventory(TAdvStringGrid* grid)
{
    PlainLook(grid);
    grid->SetColCount(3);
    grid->SetRowCount(5);
    grid->SetFixedRows(1);
    grid->SetFixedCols(0);
    const wchar_t* const texts[5][3] = {
        {L"Computer", L"Memory", L"Note"},
        {L"pc-01", L"8 GB", L"<b>fast</b> & <i>quiet</i>"},
        {L"pc-02", L"", L"<script>alert('x')</script>"},
        {L"Z\u00FCrich \u6771\u4EAC", L"16 GB", L"http://example.com/a?b=1&c=2"},
        {L"merged", L"", L"a & b < c"},
    };
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 3; ++c)
            grid->SetCells(c, r, texts[r][c]);
    grid->MergeCells(0, 4, 2, 1);
    TCellProperties* p = grid->GetCellProperties(1, 3);
    p->SetAlignment(taRightJustify);
    p->SetBrushColor(0xCCFFFF);
    p->SetFontStyle(TFontStyles{fsBold});
    grid->SetURLShow(true);
}

} // namespace

TEST(HtmlExport, ASmallGridsPageIsByteForByteTheCheckedOneInBothEncodings)
{
    TempDir dir;
    TFilledGrid<> grid(1, 1);
    FillSmallInventory(grid.grid);

    grid->SaveToHTML(dir.File(L"utf8.html"), false, true);
    EXPECT_EQ(FileBytes(dir.File(L"utf8.html")), FileBytes(Fixture(L"small-grid-utf8.html")));
    grid->SaveToHTML(dir.File(L"ascii.html"), false, false);
    EXPECT_EQ(FileBytes(dir.File(L"ascii.html")), FileBytes(Fixture(L"small-grid-ascii.html")));
    EXPECT_FALSE(DirectoryExists(dir.File(L"images"))) << "a page without pictures makes no picture folder";
}

TEST(HtmlExport, CellTextsAreEscapedAndMarkupKeptOnlyWhereSafe)
{
    struct Case {
        const char* what;
        String text;
        String expected; // what the cell's line holds between its tags
    };
    const Case cases[] = {
        {"plain text", L"a & b <c> \"d\"", L"a &amp; b &lt;c&gt; &quot;d&quot;"},
        {"script", L"<script>alert(1)</script>", L"&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"formatting kept", L"<B>x</B><br>y", L"<b>x</b><br>y"},
        {"handlers dropped, values quoted", L"<font color=red onmouseover=alert(1)>r</font>",
         L"<font color=\"red\">r</font>"},
        {"an attribute cannot break out", L"<font face='a\"><script>'>f</font>",
         L"<font face=\"a&quot;\">&lt;script&gt;'&gt;f</font>"},
        {"a script address is dropped", L"<a href=\"java\tscript:alert(1)\">l</a>", L"<a>l</a>"},
        {"a web address is kept", L"<a href=http://x/?a=1&amp;b=2>l</a>", L"<a href=\"http://x/?a=1&amp;b=2\">l</a>"},
        {"an image from a script address", L"<img src=\"javascript:alert(1)\" onerror=\"alert(2)\"></b>", L"<img></b>"},
        // Opening the page fetches nothing from outside its own folder.
        {"an image beside the page", L"<img src=pic.png><br>", L"<img src=\"pic.png\"><br>"},
        {"an image in a folder of the page", L"<img src='images\\a b.jpg'><br>", L"<img src=\"images\\a b.jpg\"><br>"},
        {"an image from the web", L"<img src=\"http://x/t.png\" alt=a><br>", L"<img alt=\"a\"><br>"},
        {"an image from another host", L"<img src=//x/t.png><br>", L"<img><br>"},
        {"an image from a share", L"<img src=\\\\x\\s\\t.png><br>", L"<img><br>"},
        {"an image from the root", L"<img src=/t.png><br>", L"<img><br>"},
        {"an image from a drive", L"<img src=C:/t.png><br>", L"<img><br>"},
        {"an image from a file address", L"<img src=\"file:///c:/t.png\"><br>", L"<img><br>"},
        {"an image up a folder", L"<img src=\"images/../../t.png\"><br>", L"<img><br>"},
        {"an image up a folder with backslashes", L"<img src=\"..\\t.png\"><br>", L"<img><br>"},
        {"an image up a folder, encoded", L"<img src=\"%2e%2e/t.png\"><br>", L"<img><br>"},
        {"an image from the web behind blanks", L"<img src=\" ht\ttp://x/t.png\"><br>", L"<img><br>"},
        {"unknown tags show as text", L"<iframe src=x></iframe>", L"&lt;iframe src=x&gt;&lt;/iframe&gt;"},
        {"the grid's own tags are left out", L"<shad>s</shad><br>", L"s<br>"},
        {"entities kept, lone ampersands escaped", L"&lt;&#33;&#x21; & <b>&</b>", L"&lt;&#33;&#x21; &amp; <b>&amp;</b>"},
        {"a lone bracket in markup", L"1 < 2 <b>x</b>", L"1 &lt; 2 <b>x</b>"},
        {"line breaks", L"one\r\ntwo", L"one<br>\ntwo"},
    };
    TFilledGrid<> grid(1, 1);
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    for (const Case& c : cases) {
        grid->SetCells(0, 0, c.text);
        const String page = grid->SaveToHTMLString(L"");
        const std::size_t open = page.find(L"<td");
        const std::size_t start = page.find(L'>', open) + 1;
        const std::size_t end = page.rfind(L"</td>");
        ASSERT_NE(open, String::npos) << c.what;
        EXPECT_EQ(page.substr(start, end - start), c.expected) << c.what;
    }
}

// A grid that shows no markup puts none in its page: every cell is the
// literal text, as on screen.
TEST(HtmlExport, WithoutMarkupEveryCellIsItsLiteralText)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"<img src=x onerror=alert(1)>", L"&lt;img src=x onerror=alert(1)&gt;"},
        {L"a&b\"c<b>bold</b>", L"a&amp;b&quot;c&lt;b&gt;bold&lt;/b&gt;"},
        {L"<B>x</B><br>y", L"&lt;B&gt;x&lt;/B&gt;&lt;br&gt;y"},
        {L"&lt; stays", L"&amp;lt; stays"},
    };
    TFilledGrid<> grid(1, 1);
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->SetEnableHTML(false);
    for (const auto& [text, expected] : cases) {
        grid->SetCells(0, 0, text);
        const String page = grid->SaveToHTMLString(L"");
        EXPECT_NE(page.find(String(L">") + expected + L"</td>"), String::npos) << page;
    }
}

TEST(HtmlExport, AddressesBecomeQuotedLinksUnlessTheyRunScript)
{
    struct Case {
        String text;
        bool full;
        String expected;
    };
    const Case cases[] = {
        {L"http://host/p?a=1&b=\"2\"", false, L"<a href=\"http://host/p?a=1&amp;b=&quot;2&quot;\">host/p?a=1&amp;b=&quot;2&quot;</a>"},
        {L"http://host/p", true, L"<a href=\"http://host/p\">http://host/p</a>"},
        {L"mailto:me@host", false, L"<a href=\"mailto:me@host\">me@host</a>"},
        {L"javascript://%0Aalert(1)", false, L"javascript://%0Aalert(1)"},
        {L"see <b>http://x</b>", false, L"see <b>http://x</b>"},
    };
    TFilledGrid<> grid(1, 1);
    grid->SetURLShow(true);
    for (const Case& c : cases) {
        grid->SetURLFull(c.full);
        grid->SetCells(0, 0, c.text);
        const String page = grid->SaveToHTMLString(L"");
        EXPECT_NE(page.find(L">" + c.expected + L"</td>"), String::npos) << page;
    }
}

TEST(HtmlExport, TheTableFollowsTheGridsRowsColumnsAndLooks)
{
    TFilledGrid<> grid(4, 4);
    PlainLook(grid.grid);
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->SetSaveFixedCells(true);
    grid->GetHTMLSettings()->GetColWidths()->SetStrValue(L"10,20");
    grid->SetCells(1, 1, L"");
    grid->SetCells(2, 1, L"   ");
    String page = grid->SaveToHTMLString(L"");

    // No fixed rows: no header row, widths on the body cells by position.
    EXPECT_EQ(page.find(L"<tr><td class=\"c0\" width=\"10px\">r0c0</td><td class=\"c0\" width=\"20px\">r0c1</td>"
                        L"<td class=\"c0\">r0c2</td>"),
              page.find(L"<tr>"));
    EXPECT_NE(page.find(L"<td class=\"c0\" width=\"20px\">&nbsp;</td><td class=\"c0\">&nbsp;</td>"), String::npos)
        << "an empty cell and a cell of blanks";
    EXPECT_NE(page.find(L".c0 {font-size:8pt;font-family: Tahoma;vertical-align: top}"), String::npos);
    EXPECT_EQ(page.find(L".c1"), String::npos) << "uniform cells share one class";

    // A merged block is one cell; the cells it covers are not written.
    grid->MergeCells(1, 2, 3, 2);
    page = grid->SaveToHTMLString(L"");
    EXPECT_NE(page.find(L"<td class=\"c1\" colspan=\"3\" rowspan=\"2\" width=\"20px\">r2c1</td></tr>"),
              String::npos);
    EXPECT_EQ(page.find(L"r3c1"), String::npos);
    EXPECT_NE(page.find(L"<tr><td class=\"c0\" width=\"10px\">r3c0</td></tr>"), String::npos);
    EXPECT_NE(page.find(L".c1 {background-color: #FFFFFF;color: #000000;font-size:8pt;"), String::npos)
        << "the merged cell has properties, with the grid's colours";

    // A title row: fixed colours, widths there and not on the body, blanks kept.
    grid->SetFixedRows(1);
    grid->SetCells(1, 0, L"  ");
    grid->GetCellProperties(0, 3)->SetFontName(L"x;}</style><script>");
    page = grid->SaveToHTMLString(L"");
    EXPECT_NE(page.find(L"<tr><td class=\"c0\" width=\"10px\">r0c0</td><td class=\"c0\" width=\"20px\">  </td>"),
              String::npos);
    EXPECT_NE(page.find(L".c0 {background-color: #E0E0E0;font-size:8pt;"), String::npos);
    EXPECT_NE(page.find(L"<tr><td class=\"c1\">r1c0</td>"), String::npos) << "no width below a title row";
    EXPECT_NE(page.find(L"font-family: x/stylescript;"), String::npos) << "a font name cannot end the style";
    EXPECT_EQ(page.find(L"<script>"), String::npos);
}

TEST(HtmlExport, PicturesBecomeJPEGFilesInTheImagesFolderThatDecode)
{
    TempDir dir;
    TFilledGrid<> grid(3, 2);
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    const TColor colors[] = {clRed, clLime, clBlue};
    std::vector<TOwned<TBitmap>> bitmaps;
    for (int c = 0; c < 3; ++c) {
        bitmaps.emplace_back(New<TBitmap>());
        bitmaps.back()->SetPixelFormat(pf24bit);
        bitmaps.back()->SetSize(16 + c, 8);
        bitmaps.back()->GetCanvas()->GetBrush()->SetColor(colors[c]);
        bitmaps.back()->GetCanvas()->FillRect(TRect(0, 0, 16 + c, 8));
        grid->CreateCellGraphic(c, 1)->SetBitmap(bitmaps.back().get(), false, haLeft, vaTop);
    }
    TOwned<TCustomImageList> images(New<TCustomImageList>(nullptr, 10, 10));
    TOwned<TBitmap> image(New<TBitmap>());
    image->SetPixelFormat(pf24bit);
    image->SetSize(10, 10);
    images->Add(image.get(), nullptr);
    grid->SetGridImages(images.get());
    grid->CreateCellGraphic(0, 0)->SetImageIdx(0, haLeft, vaTop);
    grid->CreateCellGraphic(1, 0)->SetImageIdx(5, haLeft, vaTop);
    grid->CreateCellGraphic(2, 0)->SetCellType(ctNode);

    grid->SaveToHTML(dir.File(L"page.html"), false, true);
    const std::string page = FileBytes(dir.File(L"page.html"));
    String folder = dir.Path() + L"/images";
    std::replace(folder.begin(), folder.end(), L'\\', L'/');
    const std::string src = "<img src= \"file://" + UTF8Encode(folder) + "/img";
    EXPECT_NE(page.find("<td class=\"c0\">" + src + "1.jpg\">r0c0</td>"), std::string::npos) << page;
    EXPECT_NE(page.find("<td class=\"c0\">r0c1</TD>"), std::string::npos) << "an image index past the list";
    // A node cell keeps no colour of its own (its graphic covers the cell), so its class may differ.
    EXPECT_NE(page.find("\">+r0c2</td>"), std::string::npos);
    for (int c = 0; c < 3; ++c)
        EXPECT_NE(page.find(UTF8Encode(CellName(c, 1)) + src + std::to_string(c + 2) + ".jpg\"></td>"),
                  std::string::npos);

    for (int n = 1; n <= 4; ++n) {
        TOwned<TJPEGImage> jpeg(New<TJPEGImage>());
        jpeg->LoadFromFile(dir.File(L"images\\img" + std::to_wstring(n) + L".jpg"));
        EXPECT_EQ(jpeg->GetWidth(), n == 1 ? 10 : 14 + n) << n;
        if (n == 1)
            continue;
        TOwned<TBitmap> decoded(New<TBitmap>());
        decoded->Assign(jpeg.get());
        const COLORREF pixel = ColorToRGB(decoded->GetCanvas()->GetPixels(4, 4));
        const COLORREF expected = ColorToRGB(colors[n - 2]);
        for (int shift : {0, 8, 16})
            EXPECT_NEAR((pixel >> shift) & 0xFF, (expected >> shift) & 0xFF, 8) << "picture " << n;
    }
    grid->SetGridImages(nullptr);
}

TEST(HtmlExport, PagesAreFramedAppendedAndRefusedWhereTheyCannotBeWritten)
{
    TempDir dir;
    TFilledGrid<> grid(2, 2);
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    THTMLSettings* settings = grid->GetHTMLSettings();
    TOwned<TStringList> frame(New<TStringList>());
    frame->SetText(L"<html><body>\r\n");
    frame->SaveToFile(dir.File(L"head.html"));
    frame->SetText(L"</body></html>\r\n");
    frame->SaveToFile(dir.File(L"foot.html"));
    settings->SetHeaderFile(dir.File(L"head.html"));
    settings->SetFooterFile(dir.File(L"foot.html"));
    settings->SetSummary(L"\"><script>");
    const String page = dir.File(L"page.html");
    grid->SaveToHTML(page, false, true);
    grid->AppendToHTML(page, false, true);

    TOwned<TStringList> lines(New<TStringList>());
    lines->LoadFromFile(page);
    const String text = lines->GetText();
    EXPECT_EQ(text.find(L"<html><body>\r\n<style>"), 0u);
    EXPECT_NE(text.find(L"summary=\"&quot;&gt;&lt;script&gt;\" "), String::npos);
    const std::size_t second = text.find(L"<html><body>", 1);
    EXPECT_NE(second, String::npos) << "the second table follows the first page";
    EXPECT_EQ(text.rfind(L"</body></html>\r\n"), text.size() - 16);

    // Nothing is written when the header file or the picture folder fails.
    const std::string before = FileBytes(page);
    settings->SetHeaderFile(dir.File(L"missing.html"));
    EXPECT_THROW(grid->SaveToHTML(page, false, true), EFOpenError);
    settings->SetHeaderFile(String());
    settings->SetImageFolder(L"pictures");
    TOwned<TStringList> blocker(New<TStringList>());
    blocker->SaveToFile(dir.File(L"pictures")); // a file where the folder belongs
    TOwned<TBitmap> bitmap(New<TBitmap>(4, 4));
    grid->CreateCellGraphic(0, 0)->SetBitmap(bitmap.get(), false, haLeft, vaTop);
    try {
        grid->SaveToHTML(page, false, true);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        String folder = dir.Path() + L"/pictures";
        std::replace(folder.begin(), folder.end(), L'\\', L'/');
        EXPECT_EQ(e.Message(), L"Cannot create " + folder);
    }
    EXPECT_EQ(FileBytes(page), before);
    grid->RemoveCellGraphic(0, 0);

    // A page that cannot be created is an error, not a page.
    EXPECT_THROW(grid->SaveToHTML(dir.File(L"no such folder\\page.html"), false, true), EFCreateError);
}

TEST(HtmlExport, SettingsFrameTheTableAndShapeItsTexts)
{
    struct NotifiedGrid : TAdvStringGrid {
        using TAdvStringGrid::TAdvStringGrid;
        std::vector<std::pair<int, int>> calls;
        void ExportNotification(int AState, int ARow) override { calls.emplace_back(AState, ARow); }
    };
    TFilledGrid<NotifiedGrid> grid(2, 3);
    PlainLook(grid.grid);
    grid->SetFixedRows(1);
    grid->SetFixedCols(0);
    grid->SetCells(0, 1, L"caf\u00E9 au lait");
    grid->GetCellProperties(1, 1)->SetBrushColor(clRed);
    THTMLSettings* settings = grid->GetHTMLSettings();
    settings->SetXHTML(true);
    settings->SetHeaderText(L"<h1>Inventory</h1>");
    settings->SetPrefixTag(L"<div>");
    settings->SetSuffixTag(L"</div>");
    settings->SetFooterText(L"<p>end</p>");
    settings->SetTableStyle(L"class=\"inv\"");
    settings->SetConvertSpecialChars(true);
    settings->SetNonBreakingText(true);
    settings->SetSaveColor(false);
    const String page = grid->SaveToHTMLString(L"");

    const String head = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
                        L"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r\n"
                        L"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n"
                        L"<HTML xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\r\n"
                        L"<h1>Inventory</h1><div><style>\r\n";
    EXPECT_EQ(page.substr(0, head.size()), head);
    EXPECT_NE(page.find(L"cellpadding=\"0\"  class=\"inv\"  width=\"100%\">\r\n"), String::npos);
    EXPECT_NE(page.find(L">caf&eacute;&nbsp;au&nbsp;lait</td>"), String::npos);
    EXPECT_EQ(page.find(L"color"), String::npos) << "no colours without SaveColor";
    const String tail = L"</table>\r\n</div>\r\n<p>end</p>\r\n</HTML>\r\n";
    EXPECT_EQ(page.substr(page.size() - tail.size()), tail);
    EXPECT_EQ(grid->calls, (std::vector<std::pair<int, int>>{{0, 1}, {5, 1}, {5, 2}, {2, -1}}))
        << "the title row is written before the notified rows";
}
