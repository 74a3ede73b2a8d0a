// Printing and print preview: the grid laid out on pages in 0.1 mm units
// (MM_LOMETRIC: y grows upwards, so page positions are negative), columns
// split into strips that fit the page width, rows into pages that fit its
// height, fixed rows and columns repeated, header and footer on every page.
//
// Page breaks never depend on which pages are drawn: every pass lays out all
// pages the same way and only draws those between the first and the last page
// to print. Fonts, pens and brushes made for a pass belong to the pass and
// go with it, also when an event handler raises.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "ComCtrls.h"
#include "GdiHandles.h"
#include "GridHTML.h"
#include "HTMLUtils.h"
#include "Printers.h"
#include "ScopeExit.h"
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

enum TPrintMode { pmPreview = 0, pmPrint = 1, pmCountPrint = 2, pmCountPreview = 3 };

// Switches a DC to 0.1 mm units and puts the old mapping mode back.
class TLometric {
public:
    explicit TLometric(HDC dc) : dc_(dc), old_(SetMapMode(dc, MM_LOMETRIC)) {}
    ~TLometric() { SetMapMode(dc_, old_); }
    TLometric(const TLometric&) = delete;
    TLometric& operator=(const TLometric&) = delete;

private:
    HDC dc_;
    int old_;
};

bool AtTop(TPrintPosition p) { return p == ppTopLeft || p == ppTopRight || p == ppTopCenter; }
bool AtBottom(TPrintPosition p) { return p == ppBottomLeft || p == ppBottomRight || p == ppBottomCenter; }

// Lines of a cell text: all of them, or only the first.
std::vector<String> TextLines(const String& text, bool all)
{
    std::vector<String> lines;
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find_first_of(L"\r\n", start);
        lines.push_back(text.substr(start, end == String::npos ? String::npos : end - start));
        if (end == String::npos || !all)
            break;
        start = end + 1;
        if (text[end] == L'\r' && start < text.size() && text[start] == L'\n')
            ++start;
    }
    return lines;
}

// Draws in device pixels for its scope, the origin at the device's corner;
// the logical rectangle given is converted first. Only the mapping mode and
// the origins change: the objects the canvas selected stay where they are.
class TDeviceUnits {
public:
    TDeviceUnits(HDC dc, const TRect& logical) : dc_(dc), mode_(GetMapMode(dc))
    {
        POINT corners[2] = {{logical.left, logical.top}, {logical.right, logical.bottom}};
        LPtoDP(dc, corners, 2);
        rect_ = TRect(std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
                      std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y));
        GetViewportOrgEx(dc, &viewport_);
        GetWindowOrgEx(dc, &window_);
        SetMapMode(dc, MM_TEXT);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        SetWindowOrgEx(dc, 0, 0, nullptr);
    }
    ~TDeviceUnits()
    {
        SetMapMode(dc_, mode_);
        SetWindowOrgEx(dc_, window_.x, window_.y, nullptr);
        SetViewportOrgEx(dc_, viewport_.x, viewport_.y, nullptr);
    }
    TDeviceUnits(const TDeviceUnits&) = delete;
    TDeviceUnits& operator=(const TDeviceUnits&) = delete;
    const TRect& Rect() const { return rect_; }

private:
    HDC dc_;
    int mode_;
    POINT viewport_{}, window_{};
    TRect rect_;
};

bool IsCheckKind(TCellType kind)
{
    return kind == ctCheckBox || kind == ctDataCheckBox || kind == ctVirtCheckBox || kind == ctRowCheckBox ||
           kind == ctRadioButton;
}

// Kinds that fill the cell rather than take a size of their own.
bool FillsCell(TCellType kind)
{
    return kind == ctProgress || kind == ctRangeIndicator || kind == ctXPProgress || kind == ctRadio ||
           kind == ctInterface || kind == ctNode;
}

// Where a text run turned by Escapement (tenths of a degree, counter-clockwise
// on the page, whose y grows upwards) starts so that its bounding box has its
// top left corner at (Left, Top): the corners of the run measured from the
// start point, the box then moved into place.
TPoint RotatedTextStart(int Escapement, int Width, int Height, int Left, int Top)
{
    const double a = Escapement / 10.0 * 3.14159265358979323846 / 180.0;
    const double dx = std::cos(a), dy = std::sin(a);
    // The glyphs hang from the start point away from their ascent direction.
    const double ux = -dy, uy = dx;
    const double xs[4] = {0, Width * dx, -Height * ux, Width * dx - Height * ux};
    const double ys[4] = {0, Width * dy, -Height * uy, Width * dy - Height * uy};
    const double minX = *std::min_element(xs, xs + 4), maxY = *std::max_element(ys, ys + 4);
    return TPoint(Left - static_cast<int>(std::lround(minX)), Top - static_cast<int>(std::lround(maxY)));
}

} // namespace

void StretchPrintBitmapRop(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap, DWORD Rop)
{
    if (!Canvas || !Bitmap || Bitmap->GetEmpty())
        return;
    HBITMAP handle = Bitmap->GetHandle();
    // A header with room for the largest colour table; the platform fills in
    // the format and the size of the bits.
    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    const TWindowDC screen;
    if (!GetDIBits(screen.Get(), handle, 0, 0, nullptr, info, DIB_RGB_COLORS))
        return;
    // The colour table and the bits in the format the bitmap has; bit fields
    // are asked as plain RGB so that no masks need room.
    if (info->bmiHeader.biCompression == BI_BITFIELDS)
        info->bmiHeader.biCompression = BI_RGB;
    const LONG width = info->bmiHeader.biWidth;
    const LONG height = std::abs(info->bmiHeader.biHeight);
    const std::size_t stride = ((static_cast<std::size_t>(width) * info->bmiHeader.biBitCount + 31) / 32) * 4;
    std::vector<BYTE> bits(std::max<std::size_t>(info->bmiHeader.biSizeImage, stride * height));
    if (!GetDIBits(screen.Get(), handle, 0, static_cast<UINT>(height), bits.data(), info, DIB_RGB_COLORS))
        return;
    HDC dc = Canvas->GetHandle();
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top, 0, 0, width, height,
                  bits.data(), info, DIB_RGB_COLORS, Rop);
    SetStretchBltMode(dc, oldMode);
}

void StretchPrintBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap)
{
    StretchPrintBitmapRop(Canvas, Rect, Bitmap, SRCCOPY);
}

String JoinWithBlank(const String& A, const String& B)
{
    if (A.empty())
        return B;
    if (B.empty())
        return A;
    return A + L" " + B;
}

// One layout or drawing pass over the print rectangle.
class TGridPrintPass {
public:
    TGridPrintPass(TAdvStringGrid& grid, TCanvas* canvas, int mode, bool selectedOnly, int pageCount,
                   const TGridRect& rect, const TRect& pageArea)
        : g_(grid), canvas_(canvas), mode_(mode), selectedOnly_(selectedOnly), pageCount_(pageCount),
          rect_(rect), pageArea_(pageArea), ps_(*grid.GetPrintSettings())
    {
    }

    int Run();

private:
    struct TStrip {
        int first, last;
        bool repeatFixed;
        int repeatedWidth;
        int used;
    };

    bool Drawing() const { return mode_ == pmPreview || mode_ == pmPrint; }
    bool PageShown(int page) const { return page >= g_.FPrintFirstPage && page <= g_.FPrintLastPage; }
    bool IsRowPrinted(int row);
    bool IsColPrinted(int col);
    void MapFont(TFont* target, TFont* source);
    void CalcColumnWidths();
    void FitToPage();
    std::vector<TStrip> Strips();
    void PlaceStrip(const TStrip& strip);
    int PrintRowHeight(int row);
    void MeasureCell(int col, int row, TPoint& size);
    String CellText(int realCol, int row);
    // The plain text of a rich-text cell, as its rich content reads.
    String RichPlainText(int realCol, int row, const String& text);
    // The pixel-to-0.1 mm factor of the screen the grid shows on.
    double PixelScale() const { return 254.0 / screenDpi_; }
    int HTMLFontSize(int pointSize) const;
    // Lays out (and with draw, draws) marked-up text in device units.
    void LayOutHTML(const String& html, const TRect& deviceBox, bool draw, int& width, int& height);
    // Font takes PointSize at the device's resolution and becomes the canvas font.
    void DeviceFont(TFont* font, int pointSize);
    void DrawGraphic(TCellGraphic* graphic, int realCol, int row, const TRect& place, TAlignment textAlign);
    void DrawRotatedText(const String& text, int angle, const TRect& box, TAlignment ha, TVAlignment va);
    // The marked-up title's height in 0.1 mm; 0 when the title is no markup.
    int HTMLTitleHeight();
    String HTMLTitle();
    int RenderRow(int y, int from, int to, int row, bool firstCall);
    void DrawCell(int c, int row, int y, int result, bool firstOfCall);
    void HeaderFooterHeights(int& header, int& footer);
    int PrintHeaderFooter();
    String PageNumberText();
    void PrintBlockBorders(int firstCol, int lastCol, int y);
    void StartNextPage(int nextPage);

    TAdvStringGrid& g_;
    TCanvas* canvas_;
    int mode_;
    bool selectedOnly_;
    int pageCount_;
    TGridRect rect_;
    TRect pageArea_;
    TPrintSettings& ps_;

    std::vector<int> widths_, indents_;
    int pageWidth_ = 0, pageBottom_ = 0;
    int spacing_ = 0, margin_ = 0, inset_ = 0;
    int headerLine_ = 0, footerLine_ = 0;
    int headerHeight_ = 0, footerHeight_ = 0;
    double fitScale_ = 1.0;
    int screenDpi_ = 96;
    int page_ = 1, strip_ = 1, stripCount_ = 1, rowPage_ = 0;
    int lastHeightRow_ = -1, lastHeight_ = 0;
    TOwned<TFont> cellFont_{new TFont};
    TOwned<TPen> cellPen_{new TPen};
    TOwned<TBrush> cellBrush_{new TBrush};
};

bool TGridPrintPass::IsRowPrinted(int row)
{
    if (!selectedOnly_)
        return true;
    if (row < g_.GetFixedRows() && ps_.GetFixedCellsAlways())
        return true;
    TMouseActions* actions = g_.GetMouseActions();
    if (actions->GetDisjunctRowSelect())
        return g_.GetRowSelect(actions->GetRowSelectPersistent() ? g_.RealRowIndex(row) : row);
    const TGridRect sel = g_.GetSelection();
    return row >= sel.Top && row <= sel.Bottom;
}

bool TGridPrintPass::IsColPrinted(int col)
{
    if (!selectedOnly_)
        return true;
    TMouseActions* actions = g_.GetMouseActions();
    if (actions->GetDisjunctRowSelect())
        return true;
    if (col < g_.GetFixedCols() && ps_.GetFixedCellsAlways())
        return true;
    if (actions->GetDisjunctColSelect())
        return g_.GetColSelect(col);
    const TGridRect sel = g_.GetSelection();
    return col >= sel.Left && col <= sel.Right;
}

void TGridPrintPass::MapFont(TFont* target, TFont* source)
{
    target->Assign(source);
    target->SetHeight(g_.MapFontHeight(source->GetSize()));
}

String TGridPrintPass::CellText(int realCol, int row)
{
    if (g_.HasDataDrivenGraphic(realCol, row))
        return String();
    String text = g_.GetCellText(realCol, row);
    g_.FormatCellText(realCol, row, text);
    return text;
}

String TGridPrintPass::RichPlainText(int realCol, int row, const String& text)
{
    TRichEdit* rich = g_.PaintRichEdit();
    if (!rich)
        return text;
    g_.CellToRich(realCol, row, rich);
    return rich->GetText();
}

int TGridPrintPass::HTMLFontSize(int pointSize) const { return static_cast<int>(pointSize * fitScale_); }

void TGridPrintPass::LayOutHTML(const String& html, const TRect& deviceBox, bool draw, int& width, int& height)
{
    HDC dc = canvas_->GetHandle();
    String anchor, strip, focusAnchor, hint, controlID, controlValue, controlType;
    int links = 0, mouseLink = 0;
    TRect hoverRect, controlRect;
    width = height = 0;
    const double resFactor = std::max(1, GetDeviceCaps(dc, LOGPIXELSX)) / 96.0;
    GridHTMLDraw(canvas_, html, deviceBox, g_.GetGridImages(), 0, 0, -1, -1, 1, false, !draw, true, false, false,
                 false, !g_.GetEnhTextSize(), false, L"", resFactor, g_.GetURLColor(), clNone, clNone, 0x808080,
                 anchor, strip, focusAnchor, hint, width, height, links, mouseLink, hoverRect, controlRect, controlID,
                 controlValue, controlType, g_.GetImageCache(), nullptr, nullptr, g_.GetBiDiMode());
}

void TGridPrintPass::DeviceFont(TFont* font, int pointSize)
{
    HDC dc = canvas_->GetHandle();
    font->SetPixelsPerInch(std::max(1, GetDeviceCaps(dc, LOGPIXELSY)));
    font->SetSize(std::max(1, pointSize));
    canvas_->GetFont()->Assign(font);
}

void TGridPrintPass::MeasureCell(int realCol, int row, TPoint& size)
{
    const int displayCol = g_.DisplColIndex(realCol);
    String text = CellText(realCol, row);
    const Byte kind = ClassifyCellText(text, g_.GetEnableHTML());
    TGridDrawState state;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool wordWrap = g_.GetWordWrap();
    TCellGradientDirection gd{};
    g_.GetVisualProperties(displayCol, row, state, true, false, true, cellBrush_.get(), colorTo, mirror, mirrorTo,
                           cellFont_.get(), ha, va, wordWrap, gd);
    const double s = PixelScale();
    const int columnWidth = displayCol < static_cast<int>(widths_.size()) ? widths_[displayCol] : 0;
    if (kind == ctkHTML) {
        HDC dc = canvas_->GetHandle();
        TOwned<TFont> font(new TFont);
        font->Assign(cellFont_.get());
        int width = 0, height = 0;
        {
            const TDeviceUnits device(dc, TRect(0, 0, 0, 0));
            DeviceFont(font.get(), HTMLFontSize(ps_.GetFont()->GetSize()));
            const int dpiX = std::max(1, GetDeviceCaps(dc, LOGPIXELSX));
            const int boxWidth = ps_.GetNoAutoSize()
                                     ? static_cast<int>(std::lround((g_.GetColWidths(displayCol) + 4) * s)) * dpiX / 254
                                     : 100000;
            LayOutHTML(text, TRect(0, 0, std::max(boxWidth, 1), 100000), false, width, height);
        }
        // The drawing box loses the insets on both sides: the column keeps room for them.
        size.x = width * 254 / std::max(1, GetDeviceCaps(dc, LOGPIXELSX)) + 2 * inset_ +
                 static_cast<int>(std::lround(2 * s));
        size.y = height * 254 / std::max(1, GetDeviceCaps(dc, LOGPIXELSY)) - static_cast<int>(std::lround(margin_ * s));
        if (g_.OnCustomCellSize)
            g_.OnCustomCellSize(&g_, canvas_, realCol, row, size, true);
        return;
    }
    if (kind == ctkRTF)
        text = RichPlainText(realCol, row, text);
    else if (kind == ctkFormula)
        g_.GetCellTextForSave(realCol, row, text);
    cellFont_->SetHeight(g_.MapFontHeight(cellFont_->GetSize()));
    canvas_->GetFont()->Assign(cellFont_.get());
    g_.DoGetWordWrap(realCol, row, wordWrap);
    int angle = 0;
    const bool rotated = g_.IsRotated(realCol, row, angle);
    TSize graphicSize(0, 0);
    if (ps_.GetPrintGraphics() && !rotated) {
        g_.MeasureCellGraphic(g_.GetCanvas(), realCol, row, graphicSize, 1.0, 0);
        graphicSize.cx = static_cast<int>(std::lround(graphicSize.cx * s));
        graphicSize.cy = static_cast<int>(std::lround(graphicSize.cy * s));
    }
    if (text.empty())
        text = L"gh";
    const int lineHeight = canvas_->TextHeight(L"gh");
    if (!wordWrap || !ps_.GetNoAutoSize() || rotated) {
        const std::vector<String> lines = TextLines(text, g_.GetMultilineCells() || wordWrap);
        int widest = 0;
        for (String line : lines) {
            if (g_.GetURLShow() && !g_.GetURLFull())
                StripURLScheme(line);
            widest = std::max(widest, canvas_->TextWidth(line));
        }
        size.x = widest + graphicSize.cx;
        size.y = lineHeight * static_cast<int>(lines.size());
        if (rotated) {
            const double a = angle * 3.14159265358979323846 / 180.0;
            const int w = size.x, h = size.y;
            size.x = std::abs(static_cast<int>(std::lround(std::cos(a) * w))) +
                     std::abs(static_cast<int>(std::lround(std::sin(a) * h)));
            size.y = std::abs(static_cast<int>(std::lround(std::sin(a) * widest))) +
                     std::abs(static_cast<int>(std::lround(std::cos(a) * h)));
        }
    } else {
        const bool mergedAcross = g_.CellExt(realCol, row).x > 0;
        RECT box{0, 0, mergedAcross ? 1000000 : std::max(columnWidth, 1), 0};
        DrawTextW(canvas_->GetHandle(), text.c_str(), static_cast<int>(text.size()), &box,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_EXTERNALLEADING);
        size.x = columnWidth;
        size.y = std::abs(box.bottom - box.top);
    }
    size.x = std::max<int>(size.x, graphicSize.cx);
    size.y = std::max<int>(size.y, graphicSize.cy);
    if (g_.OnCustomCellSize)
        g_.OnCustomCellSize(&g_, canvas_, realCol, row, size, true);
}

void TGridPrintPass::CalcColumnWidths()
{
    std::fill(widths_.begin(), widths_.end(), 0);
    if (ps_.GetNoAutoSize()) {
        for (int c = rect_.Left; c <= rect_.Right; ++c)
            if (IsColPrinted(c))
                widths_[c] = static_cast<int>(std::lround((g_.GetColWidths(c) + 4) * 254.0 / screenDpi_));
        return;
    }
    std::vector<int> rows;
    if (ps_.GetRepeatFixedRows())
        for (int r = 0; r < g_.GetFixedRows(); ++r)
            rows.push_back(r);
    for (int r = rect_.Top; r <= rect_.Bottom; ++r)
        rows.push_back(r);
    for (int r : rows) {
        for (int c = rect_.Left; c <= rect_.Right; ++c) {
            if (!IsColPrinted(c))
                continue;
            const int realCol = g_.RealColIndex(c);
            if (g_.CellExt(realCol, r).x > 0 || g_.IsMergedNonBaseCell(realCol, r))
                continue;
            int width = ps_.GetFixedWidth();
            if (!ps_.GetUseFixedWidth()) {
                TPoint size{};
                MeasureCell(realCol, r, size);
                width = size.x;
            }
            widths_[c] = std::max<int>(widths_[c], width);
        }
    }
}

void TGridPrintPass::FitToPage()
{
    const TFitToPage fit = ps_.GetFitToPage();
    if (fit == fpNever)
        return;
    int total = 0, columns = 0;
    for (int c = rect_.Left; c <= rect_.Right; ++c) {
        ++columns;
        if (IsColPrinted(c))
            total += widths_[c] + spacing_;
    }
    const int spacingTotal = columns * spacing_;
    if (total == spacingTotal)
        return;
    double scale = static_cast<double>(pageWidth_ - ps_.GetRightSize() - ps_.GetLeftSize() - spacingTotal) /
                   (total - spacingTotal);
    if ((fit == fpShrink && scale > 1) || (fit == fpGrow && scale < 1))
        scale = 1.0;
    if (fit == fpCustom && scale != 1.0 && g_.OnFitToPage) {
        bool allow = true;
        g_.OnFitToPage(&g_, scale, allow);
        if (!allow)
            scale = 1.0;
    }
    // Margins and spacing wider than the page leave no room to scale into:
    // a scale of zero or less would make every column vanish or turn round.
    if (!(scale > 0))
        scale = 1.0;
    fitScale_ = scale;
    if (scale != 1.0)
        for (int c = rect_.Left; c <= rect_.Right; ++c)
            widths_[c] = static_cast<int>(widths_[c] * scale);
}

std::vector<TGridPrintPass::TStrip> TGridPrintPass::Strips()
{
    std::vector<TStrip> strips;
    const int fixedCols = g_.GetFixedCols();
    int start = rect_.Left;
    while (start <= rect_.Right) {
        TStrip s{start, start, false, 0, 0};
        s.repeatFixed = fixedCols > 0 && ps_.GetRepeatFixedCols() && (start > rect_.Left || rect_.Left >= fixedCols);
        if (s.repeatFixed)
            for (int c = 0; c < fixedCols; ++c)
                if (IsColPrinted(c))
                    s.repeatedWidth += widths_[c] + spacing_;
        s.used = s.repeatedWidth;
        int c = start;
        for (; c <= rect_.Right; ++c) {
            const int add = IsColPrinted(c) ? widths_[c] + spacing_ : 0;
            if (c > start && s.used + add > pageWidth_ - ps_.GetRightSize())
                break;
            s.used += add;
        }
        s.last = c - 1;
        strips.push_back(s);
        start = c;
    }
    return strips;
}

void TGridPrintPass::PlaceStrip(const TStrip& s)
{
    int base = ps_.GetCentered() ? 0 : ps_.GetLeftSize();
    if (ps_.GetCentered() && s.used < pageWidth_)
        base += (pageWidth_ - s.used) / 2;
    if (s.repeatFixed) {
        int x = base;
        for (int c = 0; c < g_.GetFixedCols(); ++c) {
            indents_[c] = x;
            if (IsColPrinted(c))
                x += widths_[c] + spacing_;
            indents_[c + 1] = x;
        }
    }
    int x = base + s.repeatedWidth;
    for (int c = s.first; c <= s.last; ++c) {
        indents_[c] = x;
        if (IsColPrinted(c))
            x += widths_[c] + spacing_;
    }
    indents_[s.last + 1] = x;
    g_.FPrintColStart = s.first;
    g_.FPrintColEnd = s.last;
    g_.FPrintPageWidth = s.used;
}

int TGridPrintPass::PrintRowHeight(int row)
{
    if (row == lastHeightRow_)
        return lastHeight_;
    int height = 0;
    if (ps_.GetNoAutoSizeRow()) {
        height = static_cast<int>(std::lround(g_.GetRowHeights(row) * 254.0 / screenDpi_)) + 4;
    } else if (ps_.GetUseFixedHeight()) {
        height = ps_.GetFixedHeight();
    } else {
        const double oldScale = g_.FPrintFontScale;
        g_.FPrintFontScale = fitScale_;
        TScopeExit restore([&] { g_.FPrintFontScale = oldScale; });
        int measured = 0;
        for (int c = rect_.Left; c <= rect_.Right; ++c) {
            const int realCol = g_.RealColIndex(c);
            if (g_.CellExt(realCol, row).y > 0 || g_.IsMergedNonBaseCell(realCol, row))
                continue;
            TPoint size{};
            MeasureCell(realCol, row, size);
            measured = std::max<int>(measured, size.y);
        }
        height = measured + measured / 8;
        if (g_.OnPrintSetRowHeight)
            g_.OnPrintSetRowHeight(&g_, row, height);
    }
    lastHeightRow_ = row;
    lastHeight_ = height;
    return height;
}

int TGridPrintPass::RenderRow(int y, int from, int to, int row, bool firstCall)
{
    const double oldScale = g_.FPrintFontScale;
    g_.FPrintFontScale = ps_.GetNoAutoSizeRow() ? 1.0 : fitScale_;
    TScopeExit restore([&] { g_.FPrintFontScale = oldScale; });
    const int h = PrintRowHeight(row);
    const int result = 2 * margin_ + h + ps_.GetRowSpacing();
    if (Drawing() && PageShown(page_)) {
        bool first = firstCall;
        for (int c = from; c <= to; ++c) {
            if (!IsColPrinted(c))
                continue;
            DrawCell(c, row, y, result, first);
            first = false;
        }
    }
    return result;
}

void TGridPrintPass::DrawCell(int c, int row, int y, int result, bool firstOfCall)
{
    const int realCol = g_.RealColIndex(c);
    if (g_.IsMergedNonBaseCell(realCol, row))
        return;   // the block's base cell draws the whole block
    const TPoint ext = g_.CellExt(realCol, row);
    const int spanCols = std::max<int>(0, ext.x), spanRows = std::max<int>(0, ext.y);
    int width = 0;
    for (int k = c; k <= std::min(c + spanCols, static_cast<int>(widths_.size()) - 2); ++k)
        width += widths_[k] + spacing_;
    const int height = result * (spanRows + 1);
    TRect r(indents_[c], y, indents_[c] + width, y - height);

    // Border flags and pen.
    TCellBorders borders;
    switch (ps_.GetBorders()) {
    case pbSingle:
    case pbDouble:
        borders = {cbTop, cbLeft, cbRight, cbBottom};
        break;
    case pbHorizontal:
    case pbAroundHorizontal:
        borders = {cbTop, cbBottom};
        break;
    case pbVertical:
    case pbAroundVertical:
        borders = {cbLeft, cbRight};
        break;
    default:
        break;
    }
    cellPen_->SetColor(ps_.GetBorderColor());
    cellPen_->SetWidth(1);
    cellPen_->SetStyle(ps_.GetBorderStyle());
    g_.DoGetCellPrintBorder(realCol, row, cellPen_.get(), borders);
    const int penWidth = std::max(1, cellPen_->GetWidth());

    // Background and font from the cell's print properties.
    TGridDrawState state;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool wordWrap = g_.GetWordWrap();
    TCellGradientDirection gd{};
    g_.GetVisualProperties(c, row, state, true, false, true, cellBrush_.get(), colorTo, mirror, mirrorTo,
                           cellFont_.get(), ha, va, wordWrap, gd);
    g_.DoGetWordWrap(realCol, row, wordWrap);
    const int pointSize = cellFont_->GetSize();
    cellFont_->SetHeight(g_.MapFontHeight(pointSize));
    g_.GetCellAlignment(realCol, row, ha, va);
    canvas_->GetFont()->Assign(cellFont_.get());
    canvas_->GetBrush()->Assign(cellBrush_.get());
    HDC dc = canvas_->GetHandle();
    TRect fill = r;
    if (!borders.Contains(cbLeft))
        fill.left += 2 * penWidth;
    if (!borders.Contains(cbRight))
        fill.right -= 2 * penWidth;
    if (!borders.Contains(cbTop))
        fill.top -= 2 * penWidth;
    if (!borders.Contains(cbBottom))
        fill.bottom += 2 * penWidth;
    const TColor brushColor = cellBrush_->GetColor();
    if (colorTo != clNone && brushColor != clNone) {
        const TDeviceUnits device(dc, fill);
        DrawGradientRect(canvas_, brushColor, colorTo, 64, device.Rect(), gd == GradientHorizontal);
        canvas_->GetBrush()->Assign(cellBrush_.get());
    } else if (brushColor != clNone && brushColor != clWhite) {
        canvas_->FillRect(fill);
    }

    String text = CellText(realCol, row);
    const Byte textKind = ClassifyCellText(text, g_.GetEnableHTML());
    bool isPassword = false;
    g_.DoIsPasswordCell(realCol, row, isPassword);
    if (isPassword)
        text = String(text.size(), g_.GetPasswordChar());
    int angle = 0;
    const bool rotated = g_.IsRotated(realCol, row, angle);

    // The graphic's place; the text keeps clear of it.
    TCellGraphic* graphic = ps_.GetPrintGraphics() && !rotated ? g_.GetCellGraphic(realCol, row) : nullptr;
    const double s = PixelScale();
    int graphicLeft = 0, graphicRight = 0, graphicTop = 0;
    TRect graphicPlace;
    const TRect content(r.left + inset_, r.top - margin_, r.right - inset_, r.bottom + margin_);
    if (graphic) {
        const TCellType type = graphic->GetCellType();
        if (IsCheckKind(type)) {
            // Check boxes of a cell without text follow the cell's alignment.
            const int box = static_cast<int>(std::lround(16 * s));
            int left = r.left + inset_;
            if (text.empty() && ha == taRightJustify)
                left = r.right - inset_ - box;
            else if (text.empty() && ha == taCenter)
                left = (r.left + r.right - box) / 2;
            else
                graphicLeft = box + inset_;
            const int top = r.top - (std::abs(r.bottom - r.top) - box) / 2 +
                            static_cast<int>(std::lround(g_.GetXYOffset().y * s));
            bool checked = false;
            if (type == ctRadioButton)
                checked = g_.IsRadioButtonChecked(realCol, row);
            else
                g_.GetCheckBoxState(realCol, row, checked);
            // The frame control draws in device units.
            const TDeviceUnits device(dc, TRect(left, top, left + box, top - box));
            RECT frame = device.Rect();
            UINT flags = (type == ctRadioButton ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK) | (checked ? DFCS_CHECKED : 0);
            if (g_.GetControlLook()->GetControlStyle() == AdvGrid::csFlat)
                flags |= DFCS_FLAT;
            DrawFrameControl(dc, &frame, DFC_BUTTON, flags);
        } else if (type == ctRadio) {
            text.clear();   // a radio group prints no text
            graphicPlace = content;
        } else {
            int w = 0, h = 0;
            bool showText = true;
            TCellHAlign gha = haLeft;
            TCellVAlign gva = vaTop;
            g_.GetCellGraphicLayout(realCol, row, w, h, showText, gha, gva);
            if (!showText)
                text.clear();
            if (FillsCell(type) || w <= 0 || h <= 0) {
                graphicPlace = content;
                if (type == ctNode) {
                    graphicPlace.right = graphicPlace.left + 20;
                    graphicLeft = 20 + inset_;
                }
            } else {
                const int pw = static_cast<int>(std::lround(w * s)), ph = static_cast<int>(std::lround(h * s));
                graphicPlace = content;
                switch (gha) {
                case haLeft:
                case haBeforeText:
                    graphicPlace.right = content.left + pw;
                    graphicLeft = pw + inset_;
                    break;
                case haRight:
                case haAfterText:
                    graphicPlace.left = content.right - pw;
                    graphicRight = pw + inset_;
                    break;
                case haCenter:
                    graphicPlace.left = (content.left + content.right - pw) / 2;
                    graphicPlace.right = graphicPlace.left + pw;
                    break;
                case haFull:
                    break;
                }
                switch (gva) {
                case vaTop:
                case vaAboveText:
                    graphicPlace.bottom = content.top - ph;
                    if (gva == vaAboveText) {
                        graphicTop = ph;
                        graphicLeft = graphicRight = 0;
                    }
                    break;
                case vaBottom:
                case vaUnderText:
                    graphicPlace.top = content.bottom + ph;
                    if (gva == vaUnderText)
                        graphicLeft = graphicRight = 0;
                    break;
                case vaCenter:
                    graphicPlace.top = content.top - (std::abs(content.bottom - content.top) - ph) / 2;
                    graphicPlace.bottom = graphicPlace.top - ph;
                    break;
                case vaFull:
                    break;
                }
            }
        }
    }

    // Text.
    if (!text.empty()) {
        SetBkMode(dc, TRANSPARENT);
        const int lineHeight = canvas_->TextHeight(L"gh") + ps_.GetRowSpacing();
        TRect box(r.left + inset_ + graphicLeft, r.top - margin_ - graphicTop, r.right - inset_ - graphicRight,
                  r.bottom);
        if (textKind == ctkHTML && !isPassword) {
            TOwned<TFont> font(new TFont);
            font->Assign(cellFont_.get());
            const int right = r.right - inset_ - static_cast<int>(std::lround(2 * s)) - graphicRight;
            const int bottom = r.bottom - static_cast<int>(std::lround(margin_ * s));
            const TDeviceUnits device(dc, TRect(box.left, box.top, std::max<int>(right, box.left), bottom));
            DeviceFont(font.get(), HTMLFontSize(ps_.GetFont()->GetSize()));
            int width = 0, height = 0;
            LayOutHTML(text, device.Rect(), true, width, height);
        } else if (textKind == ctkRTF && !isPassword) {
            canvas_->GetBrush()->SetStyle(bsClear);
            g_.DrawRichTextCell(realCol, row, box, canvas_);
        } else if (rotated) {
            DrawRotatedText(text, angle, box, ha, va);
        } else if (wordWrap && ps_.GetNoAutoSize()) {
            // Wrapped text stays within its column, the page's right edge included.
            RECT wrap{box.left, box.top, std::min<int>(box.right, indents_[c + 1]), box.bottom};
            UINT align = ha == taRightJustify ? DT_RIGHT : ha == taCenter ? DT_CENTER : DT_LEFT;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &wrap,
                      align | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_EXTERNALLEADING);
        } else {
            std::vector<String> lines = TextLines(text, g_.GetMultilineCells() || wordWrap);
            if (g_.GetURLShow() && !g_.GetURLFull())
                for (String& line : lines)
                    StripURLScheme(line);
            const int textHeight = lineHeight * static_cast<int>(lines.size());
            const int cellHeight = std::abs(r.top - r.bottom) - 2 * margin_;
            int top = box.top;
            if (va == vtaCenter)
                top -= std::max(0, (cellHeight - textHeight) / 2);
            else if (va == vtaBottom)
                top -= std::max(0, cellHeight - textHeight);
            const TPoint offset = g_.GetXYOffset();
            for (const String& line : lines) {
                const int w = canvas_->TextWidth(line);
                int x = box.left;
                if (ha == taRightJustify)
                    x = box.right - w;
                else if (ha == taCenter)
                    x = (box.left + box.right - w) / 2;
                canvas_->TextOut(x + (lines.size() > 1 ? offset.x : 0), top, line);
                top -= lineHeight;
            }
        }
    }

    // Graphics after the text.
    if (graphic && !IsCheckKind(graphic->GetCellType()))
        DrawGraphic(graphic, realCol, row, graphicPlace, ha);
    if (graphic && ps_.GetPrintComments() && !graphic->GetCellComment().empty()) {
        const int side = static_cast<int>(std::lround(8 * s));
        const TPoint corner[] = {{r.right - side, r.top}, {r.right, r.top}, {r.right, r.top - side}};
        canvas_->GetPen()->SetColor(clRed);
        canvas_->GetPen()->SetWidth(1);
        canvas_->GetPen()->SetStyle(psSolid);
        canvas_->GetBrush()->SetColor(clRed);
        canvas_->GetBrush()->SetStyle(bsSolid);
        canvas_->Polygon(corner, 3);
    }
    canvas_->GetFont()->Assign(cellFont_.get());
    canvas_->GetBrush()->Assign(cellBrush_.get());

    if (g_.OnCustomCellDraw) {
        const TDeviceUnits device(dc, r);
        TOwned<TFont> font(new TFont);
        font->Assign(cellFont_.get());
        DeviceFont(font.get(), ps_.GetFont()->GetSize());
        g_.OnCustomCellDraw(&g_, canvas_, realCol, row, TGridDrawState(), device.Rect(), true);
        canvas_->GetFont()->Assign(cellFont_.get());
        canvas_->GetBrush()->Assign(cellBrush_.get());
    }

    // Border lines; a block's inner lines are never drawn, as only its base cell draws.
    int bottom = r.bottom;
    if (bottom < pageBottom_ + footerHeight_) {
        bottom = y - result;
        borders.Exclude(cbBottom);
    }
    int right = r.right;
    if (right > pageWidth_)
        right = indents_[std::min(c + spanCols + 1, static_cast<int>(indents_.size()) - 1)];
    canvas_->GetPen()->Assign(cellPen_.get());
    if (borders.Contains(cbLeft)) {
        const int x = firstOfCall ? r.left : r.left - penWidth;
        canvas_->MoveTo(x, r.top);
        canvas_->LineTo(x, bottom);
    }
    if (borders.Contains(cbRight)) {
        canvas_->MoveTo(right, r.top);
        canvas_->LineTo(right, bottom);
    }
    if (borders.Contains(cbTop)) {
        canvas_->MoveTo(r.left, r.top);
        canvas_->LineTo(right, r.top);
    }
    if (borders.Contains(cbBottom)) {
        canvas_->MoveTo(r.left, bottom);
        canvas_->LineTo(right, bottom);
    }
}

void TGridPrintPass::DrawGraphic(TCellGraphic* graphic, int realCol, int row, const TRect& place,
                                 TAlignment textAlign)
{
    const TCellType type = graphic->GetCellType();
    if (type == ctNode) {
        // A box with a minus sign, and a plus sign while the node is contracted.
        const int top = place.top - (std::abs(place.bottom - place.top) - 20) / 2;
        TPen* pen = canvas_->GetPen();
        pen->SetColor(g_.GetCellNode()->GetNodeColor());
        pen->SetWidth(2);
        pen->SetStyle(psSolid);
        canvas_->GetBrush()->SetStyle(bsClear);
        canvas_->Rectangle(place.left, top, place.left + 20, top - 20);
        canvas_->MoveTo(place.left + 4, top - 10);
        canvas_->LineTo(place.left + 16, top - 10);
        if (!graphic->GetCellBoolean()) {
            canvas_->MoveTo(place.left + 10, top - 4);
            canvas_->LineTo(place.left + 10, top - 16);
        }
        return;
    }
    if (type == ctBitmap) {
        StretchPrintBitmap(canvas_, place, dynamic_cast<TBitmap*>(graphic->GetCellBitmap()));
        return;
    }
    // Every other kind is drawn by the grid's own cell-graphics painter at
    // screen size into a bitmap of the cell's colour, then stretched onto
    // the paper.
    const double s = PixelScale();
    const int w = std::max(1, static_cast<int>(std::lround(std::abs(place.right - place.left) / s)));
    const int h = std::max(1, static_cast<int>(std::lround(std::abs(place.bottom - place.top) / s)));
    TOwned<TBitmap> picture(New<TBitmap>());
    picture->SetPixelFormat(pf24bit);
    picture->SetSize(w, h);
    TCanvas* target = picture->GetCanvas();
    const TColor background = cellBrush_->GetColor() == clNone ? clWhite : cellBrush_->GetColor();
    target->GetBrush()->SetColor(background);
    target->FillRect(TRect(0, 0, w, h));
    target->GetFont()->Assign(g_.GetFont());
    // The painter marks the comment and remembers a button's place for the
    // mouse; neither belongs to the paper, so both come back as they were.
    const String comment = graphic->GetCellComment();
    const double value = graphic->GetCellValue();
    graphic->SetCellComment(String());
    TScopeExit restore([&] {
        graphic->SetCellComment(comment);
        graphic->SetCellValue(value);
    });
    const TPoint offset = g_.GetXYOffset();
    const bool shrinks = type != ctProgress && type != ctRangeIndicator && type != ctXPProgress;
    TRect R = shrinks ? TRect(-offset.x, -offset.y, w + offset.x, h + offset.y) : TRect(0, 0, w, h);
    TAdvStringGrid::TGraphicPlace at;
    at.RCol = realCol;
    at.ARow = row;
    at.Width = w;
    at.Height = h;
    at.HAlign = graphic->GetCellHAlign() == haFull ? haFull : haLeft;
    at.VAlign = graphic->GetCellVAlign() == vaFull ? vaFull : vaTop;
    at.TextAlign = textAlign;
    at.TextVAlign = g_.GetVAlignment();
    at.CellRect = R;
    g_.DrawCellGraphic(target, R, graphic, at);
    StretchPrintBitmap(canvas_, place, picture.get());
}

void TGridPrintPass::DrawRotatedText(const String& text, int angle, const TRect& box, TAlignment ha, TVAlignment va)
{
    HDC dc = canvas_->GetHandle();
    int escapement = -10 * angle;
    if (g_.GetPrinterDriverFix() && Drawing())
        escapement = g_.GetPrinterLandscapeAngle() == 90 ? 10 * angle : -10 * angle;
    const std::vector<String> lines = TextLines(text, g_.GetMultilineCells() || g_.GetWordWrap());
    int widest = 0;
    for (const String& line : lines)
        widest = std::max(widest, canvas_->TextWidth(line));
    const int lineHeight = canvas_->TextHeight(L"gh");
    // Lines follow side by side only for a quarter turn; otherwise the first line alone.
    const bool sideBySide = angle == 90 && lines.size() > 1;
    const int across = sideBySide ? lineHeight * static_cast<int>(lines.size()) : lineHeight;
    const int along = sideBySide ? widest : canvas_->TextWidth(lines.front());
    const double a = escapement / 10.0 * 3.14159265358979323846 / 180.0;
    const int boxWidth = static_cast<int>(std::lround(std::abs(std::cos(a) * along) + std::abs(std::sin(a) * across)));
    const int boxHeight =
        static_cast<int>(std::lround(std::abs(std::sin(a) * along) + std::abs(std::cos(a) * across)));
    const int width = box.right - box.left, height = std::abs(box.bottom - box.top);
    int left = box.left, top = box.top;
    if (ha == taRightJustify)
        left = box.right - boxWidth;
    else if (ha == taCenter)
        left = box.left + (width - boxWidth) / 2;
    if (va == vtaCenter)
        top = box.top - (height - boxHeight) / 2;
    else if (va == vtaBottom)
        top = box.bottom + boxHeight;
    LOGFONTW lf = cellFont_->GetLogFont();
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    const TFontHandle font(CreateFontIndirectW(&lf));
    const TSelectObject select(dc, font.Get());
    const COLORREF oldColor = SetTextColor(dc, ColorToRGB(cellFont_->GetColor()));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    // With the y axis upwards the platform turns the text the other way: the
    // run goes counter-clockwise on the page by the negated escapement, as on screen.
    const TPoint start = RotatedTextStart(-escapement, along, across, left, top);
    if (sideBySide) {
        // Each further line one line height along the glyphs' descent.
        const double ux = -std::sin(a), uy = -std::cos(a);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const String& line = lines[i];
            const int step = static_cast<int>(i) * lineHeight;
            ExtTextOutW(dc, start.x + static_cast<int>(std::lround(ux * step)),
                        start.y + static_cast<int>(std::lround(uy * step)), 0, nullptr, line.c_str(),
                        static_cast<UINT>(line.size()), nullptr);
        }
    } else {
        const String& line = lines.front();
        ExtTextOutW(dc, start.x, start.y, 0, nullptr, line.c_str(), static_cast<UINT>(line.size()), nullptr);
    }
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
}

String TGridPrintPass::HTMLTitle()
{
    TStringList* titleLines = ps_.GetTitleLines();
    if (!ps_.GetTitleText().empty() || titleLines->Count() == 0)
        return String();
    String joined;
    for (int i = 0; i < titleLines->Count(); ++i)
        joined += titleLines->Get(i);
    return ClassifyCellText(joined, true) == ctkHTML ? joined : String();
}

int TGridPrintPass::HTMLTitleHeight()
{
    const String title = HTMLTitle();
    if (title.empty() || ps_.GetTitle() == ppNone)
        return 0;
    HDC dc = canvas_->GetHandle();
    TOwned<TFont> font(new TFont);
    font->Assign(ps_.GetHeaderFont());
    TOwned<TFont> keep(new TFont);
    keep->Assign(canvas_->GetFont());
    int width = 0, height = 0;
    {
        const TDeviceUnits device(dc, TRect(0, 0, pageWidth_ - ps_.GetRightSize() - 20, -1000));
        DeviceFont(font.get(), ps_.GetHeaderFont()->GetSize());
        LayOutHTML(title, TRect(0, 0, std::max<int>(1, device.Rect().Width()), 100000), false, width, height);
    }
    canvas_->GetFont()->Assign(keep.get());
    // Device pixels back to 0.1 mm, so that the cells start below the title.
    return static_cast<int>(std::lround(height * 254.0 / std::max(1, GetDeviceCaps(dc, LOGPIXELSY))));
}

void TGridPrintPass::HeaderFooterHeights(int& header, int& footer)
{
    const bool anyTop = AtTop(ps_.GetTime()) || AtTop(ps_.GetDate()) || AtTop(ps_.GetPageNr()) ||
                        AtTop(ps_.GetTitle());
    const int titleLines = ps_.GetTitleLines()->Count();
    header = anyTop ? margin_ + headerLine_ + ps_.GetHeaderSize() : ps_.GetHeaderSize();
    const int htmlTitle = HTMLTitleHeight();
    if (AtTop(ps_.GetTitle()) && titleLines > 0)
        header += htmlTitle != 0 ? htmlTitle + ps_.GetHeaderSize() : (titleLines - 1) * headerLine_;
    footer = ps_.GetFooterSize() + margin_ + footerLine_;
    if (AtBottom(ps_.GetTitle()) && titleLines > 0)
        footer += htmlTitle != 0 ? htmlTitle : (titleLines - 1) * footerLine_;
}

String TGridPrintPass::PageNumberText()
{
    String text;
    if (stripCount_ > 1) {
        text = IntToStr(rowPage_ + 1) + L"-" + IntToStr(strip_);
        g_.DoPrintGetPageNum(rowPage_ + 1, strip_, text);
        return text;
    }
    if (!ps_.GetPageNumSep().empty() && pageCount_ > 1)
        text = IntToStr(page_ + ps_.GetPageNumberOffset()) + ps_.GetPageNumSep() +
               IntToStr(pageCount_ + ps_.GetMaxPagesOffset());
    else
        text = IntToStr(page_ + ps_.GetPageNumberOffset());
    g_.DoPrintGetPageNum(page_, strip_, text);
    return text;
}

int TGridPrintPass::PrintHeaderFooter()
{
    // Slots in TPrintPosition order after ppNone.
    String slots[7];
    auto put = [&](TPrintPosition p, const String& part) {
        if (p == ppNone)
            return;
        String& slot = slots[p];
        if (p == ppTopLeft || p == ppBottomLeft)
            slot = part + L" " + slot;
        else
            slot = slot + L" " + part;
    };
    const TDateTime now = Now();
    put(ps_.GetTime(), FormatDateTime(L"hh:nn", now));
    put(ps_.GetDate(), FormatDateTime(ps_.GetDateFormat(), now));
    put(ps_.GetPageNr(), JoinWithBlank(JoinWithBlank(ps_.GetPagePrefix(), PageNumberText()), ps_.GetPageSuffix()));
    TStringList* titleLines = ps_.GetTitleLines();
    const String htmlTitle = HTMLTitle();
    String title = ps_.GetTitleText();
    if (title.empty() && titleLines->Count() > 0 && htmlTitle.empty())
        title = titleLines->Get(0);
    put(ps_.GetTitle(), title);

    TOwned<TFont> font(new TFont);
    auto place = [&](TPrintPosition p, int y) {
        const String& text = slots[p];
        if (text.empty())
            return 0;
        const int w = canvas_->TextWidth(text);
        int x = ps_.GetLeftSize();
        if (p == ppTopRight || p == ppBottomRight)
            x = pageWidth_ - w - ps_.GetRightSize() - 20;
        else if (p == ppTopCenter || p == ppBottomCenter)
            x = (pageWidth_ - w) / 2;
        canvas_->TextOut(x, y, text);
        return x;
    };
    SetBkMode(canvas_->GetHandle(), TRANSPARENT);
    int extra = 0;
    MapFont(font.get(), ps_.GetHeaderFont());
    canvas_->GetFont()->Assign(font.get());
    for (TPrintPosition p : {ppTopLeft, ppTopRight, ppTopCenter}) {
        const int x = place(p, -ps_.GetHeaderSize());
        if (p == ps_.GetTitle() && ps_.GetTitleText().empty() && titleLines->Count() > 1 && htmlTitle.empty()) {
            const int lh = canvas_->TextHeight(L"gh");
            for (int i = 1; i < titleLines->Count(); ++i) {
                canvas_->TextOut(x, -ps_.GetHeaderSize() - i * lh, titleLines->Get(i));
                extra += lh;
            }
        }
    }
    MapFont(font.get(), ps_.GetFooterFont());
    canvas_->GetFont()->Assign(font.get());
    const int footerTop = pageBottom_ + ps_.GetFooterSize() + margin_ + footerLine_;
    for (TPrintPosition p : {ppBottomLeft, ppBottomRight, ppBottomCenter}) {
        const int x = place(p, footerTop);
        if (p == ps_.GetTitle() && ps_.GetTitleText().empty() && titleLines->Count() > 1 && htmlTitle.empty()) {
            const int lh = canvas_->TextHeight(L"gh");
            for (int i = 1; i < titleLines->Count(); ++i)
                canvas_->TextOut(x, footerTop - i * lh, titleLines->Get(i));
        }
    }
    if (!htmlTitle.empty() && ps_.GetTitle() != ppNone) {
        const bool top = AtTop(ps_.GetTitle());
        const int height = HTMLTitleHeight();
        const TRect area = top ? TRect(ps_.GetLeftSize(), -ps_.GetHeaderSize(), pageWidth_ - ps_.GetRightSize() - 20,
                                       -ps_.GetHeaderSize() - height)
                               : TRect(ps_.GetLeftSize(), pageBottom_ + ps_.GetFooterSize(), pageWidth_, pageBottom_);
        TOwned<TFont> titleFont(new TFont);
        titleFont->Assign(top ? ps_.GetHeaderFont() : ps_.GetFooterFont());
        const TDeviceUnits device(canvas_->GetHandle(), area);
        DeviceFont(titleFont.get(), titleFont->GetSize());
        int width = 0, laidOut = 0;
        LayOutHTML(htmlTitle, device.Rect(), true, width, laidOut);
        if (top)
            extra = height;
    }
    return extra;
}

void TGridPrintPass::PrintBlockBorders(int firstCol, int lastCol, int y)
{
    if (!Drawing() || !PageShown(page_))
        return;
    const bool repeated = ps_.GetRepeatFixedCols() && g_.GetFixedCols() > 0 && firstCol >= g_.GetFixedCols();
    const int left = repeated ? indents_[0] : indents_[firstCol];
    const int right = indents_[lastCol + 1];
    const int top = -headerHeight_ - ps_.GetTitleSpacing();
    const int bottom = y + margin_ / 2;
    const TPrintBorders b = ps_.GetBorders();
    canvas_->GetPen()->SetColor(clBlack);
    canvas_->GetPen()->SetStyle(ps_.GetBorderStyle());
    canvas_->GetPen()->SetWidth(b == pbDouble ? 10 : 2);
    if (b == pbAround || b == pbAroundVertical || b == pbAroundHorizontal) {
        canvas_->GetBrush()->SetStyle(bsClear);
        canvas_->Rectangle(left, top, right, bottom);
    }
    if (b == pbDouble || b == pbHorizontal || b == pbAroundHorizontal) {
        canvas_->MoveTo(left, bottom);
        canvas_->LineTo(right, bottom);
    }
    if ((b == pbDouble || b == pbVertical || b == pbAroundVertical) && repeated)
        for (int c = 0; c <= g_.GetFixedCols(); ++c) {
            canvas_->MoveTo(indents_[c], top);
            canvas_->LineTo(indents_[c], bottom);
        }
}

void TGridPrintPass::StartNextPage(int nextPage)
{
    if (!PageShown(nextPage))
        return;
    if (mode_ == pmPrint && page_ >= g_.FPrintFirstPage && canvas_ == Printer()->GetCanvas() &&
        Printer()->GetPrinting())
        Printer()->NewPage();
    SetMapMode(canvas_->GetHandle(), MM_LOMETRIC);
    if (Drawing() && g_.OnPrintPage)
        g_.OnPrintPage(&g_, canvas_, nextPage, pageWidth_, pageBottom_);
}

int TGridPrintPass::Run()
{
    HDC dc = canvas_->GetHandle();
    HDC gridDC = g_.GetCanvas()->GetHandle();
    screenDpi_ = std::max(1, GetDeviceCaps(gridDC, LOGPIXELSX));
    // The margin is measured in screen units in every mode, so that counting and drawing break alike.
    const int gridMapMode = GetMapMode(gridDC);
    SetMapMode(gridDC, MM_TEXT);
    margin_ = g_.GetCanvas()->TextHeight(L"gh") / 8;
    SetMapMode(gridDC, gridMapMode);
    SetMapMode(dc, MM_LOMETRIC);
    g_.FPrintFontScale = 1.0;
    widths_.assign(static_cast<std::size_t>(g_.GetColCount()) + 1, 0);
    indents_.assign(static_cast<std::size_t>(g_.GetColCount()) + 1, 0);

    // The canvas's own font, pen and brush come back after the pass.
    TOwned<TFont> savedFont(new TFont);
    savedFont->Assign(canvas_->GetFont());
    TOwned<TPen> savedPen(new TPen);
    savedPen->Assign(canvas_->GetPen());
    TOwned<TBrush> savedBrush(new TBrush);
    savedBrush->Assign(canvas_->GetBrush());
    TScopeExit restore([&] {
        canvas_->GetFont()->Assign(savedFont.get());
        canvas_->GetPen()->Assign(savedPen.get());
        canvas_->GetBrush()->Assign(savedBrush.get());
        g_.FPrintFontScale = 1.0;
    });

    canvas_->GetPen()->SetColor(clBlack);
    canvas_->GetPen()->SetStyle(ps_.GetBorderStyle());
    canvas_->GetPen()->SetWidth(ps_.GetBorders() == pbDouble ? 10 : 2);
    TOwned<TFont> font(new TFont);
    MapFont(font.get(), ps_.GetHeaderFont());
    canvas_->GetFont()->Assign(font.get());
    headerLine_ = canvas_->TextHeight(L"gh");
    MapFont(font.get(), ps_.GetFooterFont());
    canvas_->GetFont()->Assign(font.get());
    footerLine_ = canvas_->TextHeight(L"gh");
    MapFont(font.get(), ps_.GetFont());
    canvas_->GetFont()->Assign(font.get());
    inset_ = canvas_->TextWidth(L"g") / 2;

    if (mode_ == pmPreview || mode_ == pmCountPreview) {
        POINT corners[2] = {{pageArea_.left, pageArea_.top}, {pageArea_.right, pageArea_.bottom}};
        DPtoLP(dc, corners, 2);
        pageWidth_ = corners[1].x - corners[0].x;
        pageBottom_ = corners[1].y - corners[0].y;
    } else if (mode_ == pmCountPrint) {
        pageWidth_ = pageArea_.Width();
        pageBottom_ = -pageArea_.Height();
    } else {
        RECT clip{};
        GetClipBox(dc, &clip);
        pageWidth_ = clip.right;
        pageBottom_ = clip.bottom;
    }
    g_.FPrintPageRect = TRect(0, 0, pageWidth_, pageBottom_);

    spacing_ = ps_.GetUseFixedWidth() ? 0 : ps_.GetColumnSpacing() + 20;
    fitScale_ = 1.0;
    CalcColumnWidths();
    FitToPage();
    if (g_.OnPrintSetColumnWidth)
        for (int c = rect_.Left; c <= rect_.Right; ++c)
            g_.OnPrintSetColumnWidth(&g_, c, widths_[c]);
    const int firstNormal = g_.GetFixedRows();
    const int lastNormal = g_.GetRowCount() - 1 - g_.GetFixedFooters();
    const int rowState = rect_.Top <= firstNormal && rect_.Bottom >= lastNormal ? 5 : 6;

    const std::vector<TStrip> strips = Strips();
    stripCount_ = static_cast<int>(strips.size());
    page_ = 1;
    bool cancelled = false, stopped = false;
    for (std::size_t si = 0; si < strips.size() && !cancelled && !stopped; ++si) {
        const TStrip& s = strips[si];
        strip_ = static_cast<int>(si) + 1;
        rowPage_ = 0;
        PlaceStrip(s);
        if (Drawing() && g_.OnPrintPage && si == 0)
            g_.OnPrintPage(&g_, canvas_, page_, pageWidth_, pageBottom_);
        int row = rect_.Top;
        bool firstPageOfStrip = true;
        while (row <= rect_.Bottom) {
            HeaderFooterHeights(headerHeight_, footerHeight_);
            int y = -headerHeight_;
            if (Drawing() && PageShown(page_))
                PrintHeaderFooter();
            y -= ps_.GetTitleSpacing();
            const bool veryFirst = si == 0 && firstPageOfStrip;
            if (ps_.GetRepeatFixedRows() && g_.GetFixedRows() > 0 && row != 0 &&
                (!veryFirst || rect_.Top >= g_.GetFixedRows()))
                for (int fr = 0; fr < g_.GetFixedRows(); ++fr) {
                    int h = 0;
                    if (s.repeatFixed)
                        h = RenderRow(y, 0, g_.GetFixedCols() - 1, fr, true);
                    h = RenderRow(y, s.first, s.last, fr, !s.repeatFixed);
                    y -= h;
                }
            bool newPage = false;
            while (row <= rect_.Bottom) {
                g_.ExportNotification(rowState, row);
                if (IsRowPrinted(row)) {
                    int h = 0;
                    if (s.repeatFixed)
                        h = RenderRow(y, 0, g_.GetFixedCols() - 1, row, true);
                    h = RenderRow(y, s.first, s.last, row, !s.repeatFixed);
                    y -= h;
                }
                const int next = row + 1;
                const int nextHeight = next <= rect_.Bottom ? PrintRowHeight(next) : 0;
                newPage = false;
                if (g_.OnPrintNewPage)
                    g_.OnPrintNewPage(&g_, next, newPage);
                row = next;
                if (row > rect_.Bottom || y - nextHeight < pageBottom_ + footerHeight_ || newPage)
                    break;
            }
            bool cancel = false;
            if (Drawing()) {
                if (g_.OnPrintPageDone)
                    g_.OnPrintPageDone(&g_, canvas_, row, y, page_, pageWidth_, pageBottom_);
                if (g_.OnPrintCancel)
                    g_.OnPrintCancel(&g_, page_, cancel);
            }
            PrintBlockBorders(s.first, s.last, y);
            if (cancel) {
                cancelled = true;
                break;
            }
            const bool more = row <= rect_.Bottom || si + 1 < strips.size();
            if (more)
                StartNextPage(page_ + 1);
            if (g_.FFastPrint && page_ >= g_.FPrintFirstPage + 2) {
                stopped = true;
                break;
            }
            if (more)
                ++page_;
            ++rowPage_;
            firstPageOfStrip = false;
        }
    }
    if (g_.OnPrintDone)
        g_.OnPrintDone(&g_);
    return page_;
}

// --- the grid's entries -----------------------------------------------------------------

int TAdvStringGrid::MapFontHeight(int pointsize) const
{
    return -static_cast<int>(pointsize * 254.0 / 72.0 * FPrintFontScale);
}

int TAdvStringGrid::MapFontSize(int Height) const { return Height * 72 / 254; }

int TAdvStringGrid::GetPrinterLandscapeAngle() { return Printer()->GetLandscapeAngle(); }

void TAdvStringGrid::RunPrint(const TGridRect& GridRect, bool SelectedOnly)
{
    TPrinter* printer = Printer();
    // Everything that can fail is asked before anything is started.
    if (printer->GetPrinterName().empty())
        throw EPrinter(L"There is no default printer currently selected");
    ExportNotification(0, -1);
    TPrintSettings* ps = GetPrintSettings();
    if (!printer->GetPrinting() && !ps->GetUseDefaultOrientation())
        printer->SetOrientation(ps->GetOrientation());
    const int dpiX = printer->GetPixelsPerInchX();
    const int dpiY = printer->GetPixelsPerInchY();
    if (dpiX <= 0 || dpiY <= 0)
        throw EPrinter(L"The printer reports no resolution");
    const TRect pageArea(0, 0, static_cast<int>(std::lround(254.0 / dpiX * printer->GetPageWidth())),
                         static_cast<int>(std::lround(254.0 / dpiY * printer->GetPageHeight())));
    if (!printer->GetPrinting())
        printer->SetTitle(ps->GetJobName());

    int pages = INT_MAX;
    if (!FFastPrint) {
        TCanvas* gridCanvas = GetCanvas();
        const TLometric lometric(gridCanvas->GetHandle());
        const int keepFirst = FPrintFirstPage, keepLast = FPrintLastPage;
        FPrintFirstPage = FPrintLastPage = 0;
        TScopeExit restore([&] {
            FPrintFirstPage = keepFirst;
            FPrintLastPage = keepLast;
        });
        pages = TGridPrintPass(*this, gridCanvas, pmCountPrint, SelectedOnly, -1, GridRect, pageArea).Run();
    }
    int fromPage = 1, toPage = pages;
    FPrintNrOfPages = pages;
    if (OnPrintStart)
        OnPrintStart(this, pages, fromPage, toPage);
    if (fromPage == 0 || toPage == 0 || toPage < fromPage)
        return;
    FPrintFirstPage = fromPage;
    FPrintLastPage = toPage;

    const bool started = !printer->GetPrinting();
    if (started)
        printer->BeginDoc();
    {
        TScopeExit endJob([&] {
            if (started && printer->GetPrinting())
                printer->EndDoc();
        });
        TCanvas* canvas = printer->GetCanvas();
        const TLometric lometric(canvas->GetHandle());
        canvas->GetBrush()->SetColor(clWhite);
        canvas->GetPen()->SetColor(clWhite);
        canvas->FillRect(TRect(0, 0, pageArea.Width(), -pageArea.Height()));
        TGridPrintPass(*this, canvas, pmPrint, SelectedOnly, pages, GridRect, pageArea).Run();
    }
    ExportNotification(2, -1);
}

void TAdvStringGrid::RunPrintPreview(TCanvas* Canvas, const TRect& DisplayRect, bool SelectedOnly,
                                     const TGridRect& GridRect)
{
    ExportNotification(0, -1);
    HDC dc = Canvas->GetHandle();
    const TSavedDC saved(dc);
    // The page's top left corner is the display rectangle's.
    SetViewportOrgEx(dc, DisplayRect.left, DisplayRect.top, nullptr);
    const TRect area(0, 0, DisplayRect.Width(), DisplayRect.Height());
    const TLometric lometric(dc);
    TScopeExit done([&] {
        FIsPrintPreview = false;
        ExportNotification(2, -1);
    });
    int pages = 1;
    if (!FFastPrint) {
        pages = TGridPrintPass(*this, Canvas, pmCountPreview, SelectedOnly, -1, GridRect, area).Run();
        FPrintNrOfPages = pages;
    }
    FIsPrintPreview = true;
    int fromPage = 1, toPage = pages;
    if (OnPrintStart)
        OnPrintStart(this, pages, fromPage, toPage);
    if (!(0 < fromPage && fromPage <= toPage))
        return;
    TGridPrintPass(*this, Canvas, pmPreview, SelectedOnly, pages, GridRect, area).Run();
}

namespace {

TGridRect WholeGrid(const TAdvStringGrid& grid)
{
    TGridRect r;
    r.Left = 0;
    r.Top = 0;
    r.Right = grid.GetColCount() - 1;
    r.Bottom = grid.GetRowCount() - 1;
    return r;
}

} // namespace

void TAdvStringGrid::Print() { RunPrint(WholeGrid(*this), false); }
void TAdvStringGrid::PrintRect(const TGridRect& Gridrect) { RunPrint(Gridrect, false); }
void TAdvStringGrid::PrintSelection() { RunPrint(GetSelection(), false); }
void TAdvStringGrid::PrintSelectedRows() { RunPrint(WholeGrid(*this), true); }
void TAdvStringGrid::PrintSelectedCols() { RunPrint(WholeGrid(*this), true); }

void TAdvStringGrid::PrintPreview(TCanvas* Canvas, const TRect& Displayrect)
{
    RunPrintPreview(Canvas, Displayrect, false, WholeGrid(*this));
}

void TAdvStringGrid::PrintPreviewRect(TCanvas* Canvas, const TRect& Displayrect, const TGridRect& Gridrect)
{
    RunPrintPreview(Canvas, Displayrect, false, Gridrect);
}

void TAdvStringGrid::PrintPreviewSelection(TCanvas* Canvas, const TRect& Displayrect)
{
    RunPrintPreview(Canvas, Displayrect, false, GetSelection());
}

void TAdvStringGrid::PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& Displayrect)
{
    RunPrintPreview(Canvas, Displayrect, true, WholeGrid(*this));
}

void TAdvStringGrid::PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& Displayrect)
{
    RunPrintPreview(Canvas, Displayrect, true, WholeGrid(*this));
}

void TAdvStringGrid::PrintDraw(TCanvas* Canvas, const TRect& DrawRect)
{
    PrintDrawRect(Canvas, DrawRect, WholeGrid(*this));
}

void TAdvStringGrid::PrintDrawRect(TCanvas* Canvas, const TRect& DrawRect, const TGridRect& Gridrect)
{
    FPrintFirstPage = FPrintLastPage = FPrintNrOfPages = 1;
    HDC dc = Canvas->GetHandle();
    const TSavedDC saved(dc);
    SetViewportOrgEx(dc, DrawRect.left, DrawRect.top, nullptr);
    const TLometric lometric(dc);
    // The clip box is the drawing rectangle, so that the page is as wide as it.
    IntersectClipRect(dc, 0, 0, DrawRect.Width() * 254 / std::max(1, GetDeviceCaps(dc, LOGPIXELSX)),
                      -DrawRect.Height() * 254 / std::max(1, GetDeviceCaps(dc, LOGPIXELSY)));
    TGridPrintPass(*this, Canvas, pmPrint, false, 1, Gridrect, DrawRect).Run();
}
