// Sizing columns and rows to their contents.
//
// Texts are measured as plain text in the cell's font (the fixed font in
// fixed cells, the cell's own name, size and style over it, the zoom added);
// marked-up and rich text are measured as their plain characters.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "HTMLUtils.h"
#include "GdiHandles.h"
#include <algorithm>
#include <cmath>
#include <vector>

// --- settings -----------------------------------------------------------------------

void TAdvStringGrid::SetXYOffset(TPoint Value)
{
    FXYOffset = Value;
    Invalidate();
}

void TAdvStringGrid::SetXYOffsetTopLeftOnly(bool Value)
{
    FXYOffsetTopLeftOnly = Value;
    Invalidate();
}

void TAdvStringGrid::SetZoomFactor(int Value)
{
    FZoomFactor = Value;
    Invalidate();
}

// --- measuring ------------------------------------------------------------------------

void TAdvStringGrid::PrepareCellFont(int ACol, int ARow, TFont* AFont)
{
    const bool fixed = ACol < GetFixedCols() || ARow < GetFixedRows();
    AFont->Assign(fixed ? FFixedFont.get() : GetFont());
    // The cell's own font settings and the colour event apply as in painting.
    TOwned<TBrush> brush(New<TBrush>());
    DoGetCellColor(ACol, ARow, fixed ? TGridDrawState{gdFixed} : TGridDrawState{}, brush.get(), AFont);
    if (FZoomFactor != 0) {
        const int size = AFont->GetSize() + FZoomFactor;
        AFont->SetSize(size == 0 ? 1 : size);
    }
}

TSize TAdvStringGrid::MeasureCellText(int ACol, int ARow, bool WordWrap, int MaxWidth)
{
    const String text = StripHTMLTags(GetCellText(RealColIndex(ACol), ARow));
    if (text.empty())
        return {0, 0};
    TOwned<TFont> font(New<TFont>());
    PrepareCellFont(ACol, ARow, font.get());
    TMemoryDC dc;
    TSelectObject selected(dc.Get(), font->GetHandle());
    RECT r{0, 0, std::max(MaxWidth, 1), 0};
    UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS;
    if (WordWrap)
        flags |= DT_WORDBREAK;
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &r, flags);
    return {r.right - r.left, r.bottom - r.top};
}

bool TAdvStringGrid::CellWordWrap(int ACol, int ARow) const
{
    const TCellProperties* props = PropertiesOf(RealColIndex(ACol), ARow);
    return GetWordWrap() && (!props || props->GetWordWrap());
}

// --- rows ------------------------------------------------------------------------------

void TAdvStringGrid::FitRowToContents(int ARow, bool GrowOnly, bool GraphicFlag)
{
    if (ARow < 0 || ARow >= GetRowCount())
        return;
    int need = 0;
    for (int c = 0; c < GetColCount(); ++c) {
        if (IsIgnoredColumn(RealColIndex(c)))
            continue;
        int base = c, baseRow = ARow;
        if (!ResolveBaseCell(RealColIndex(c), ARow, base, baseRow))
            continue;  // a covered cell of a block needs nothing
        if (IsYMergedCell(RealColIndex(c), ARow))
            continue;
        const int width = GetColWidths(c) - GetTotalXOffset() - 2 * GetGridLineWidth();
        need = std::max(need, static_cast<int>(MeasureCellText(c, ARow, CellWordWrap(c, ARow), width).cy));
    }
    (void)GraphicFlag;  // cell graphics are not measured yet
    int height = need + GetTotalYOffset() + 2 * GetGridLineWidth();
    if (FXYOffsetTopLeftOnly)
        height += 2;
    if (!GrowOnly || GetRowHeights(ARow) < height)
        SetRowHeights(ARow, ApplyMinMaxLimits(height, FMinRowHeight, FMaxRowHeight));
}

void TAdvStringGrid::AutoSizeRow(int ARow, int Padding)
{
    if (ARow < 0 || ARow >= GetRowCount())
        return;
    FitRowToContents(ARow, FSizeGrowOnly, Padding != 0);
    if (Padding != 0)
        SetRowHeights(ARow, ApplyMinMaxLimits(GetRowHeights(ARow) + Padding, FMinRowHeight, FMaxRowHeight));
}

void TAdvStringGrid::AutoSizeRows(bool DoFixedRows, int Padding)
{
    if (GetRowCount() == 0)
        return;
    const int first = DoFixedRows ? 0 : GetFixedRows();
    ExportNotification(0, first);
    for (int r = first; r < GetRowCount(); ++r) {
        if (GetWordWrap()) {
            AutoSizeRow(r, 0);
            if (Padding != 0)
                SetRowHeights(r, ApplyMinMaxLimits(GetRowHeights(r) + Padding, FMinRowHeight, FMaxRowHeight));
        } else {
            SetRowHeightForLines(r, GetRowMaxLineCount(r), Padding);
        }
        ExportNotification(5, r);
    }
    ExportNotification(2, -1);
    UpdateScrollBarsAlways(false);
}

int TAdvStringGrid::GetRowMaxLineCount(int ARow)
{
    if (GetColCount() == 0 || !FMultilineCells)
        return 1;
    int lines = 1;
    for (int c = 0; c < GetColCount(); ++c)
        lines = std::max(lines, CountTextLines(GetCellText(RealColIndex(c), ARow), true));
    return lines;
}

void TAdvStringGrid::SetRowHeightForLines(int ARow, int Lines, int Extra)
{
    if (ARow < 0 || ARow >= GetRowCount())
        return;
    TOwned<TFont> font(New<TFont>());
    PrepareCellFont(GetFixedCols(), ARow, font.get());
    TMemoryDC dc;
    TSelectObject selected(dc.Get(), font->GetHandle());
    RECT r{0, 0, 4096, 20};
    DrawTextW(dc.Get(), L"gh", 2, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int lineHeight = r.bottom - r.top;
    SetRowHeights(ARow, ApplyMinMaxLimits(Extra + Lines * (lineHeight + 2), FMinRowHeight, FMaxRowHeight) +
                            FXYOffset.y);
}

// --- columns ----------------------------------------------------------------------------

void TAdvStringGrid::FitColumnToContents(int ACol, bool GrowOnly)
{
    if (ACol < 0 || ACol >= GetColCount())
        return;
    int first = 0, last = GetRowCount() - 1;
    switch (FColumnSize->GetRows()) {
    case arNormal:
        first = GetFixedRows();
        last = GetRowCount() - FFixedFooters - 1;
        break;
    case arFixed:
        last = GetFixedRows() - 1;
        break;
    case arAll:
        break;
    }
    const int realCol = RealColIndex(ACol);
    const bool buttonsShown = FControlLook->GetDropDownAlwaysVisible();
    int need = 0;
    for (int r = first; r <= last; ++r) {
        if (IsXMergedCell(realCol, r))
            continue;
        TSize text{0, 0};
        CalcCellTextExtent(realCol, ACol, text, false, false, false, r);
        int cellNeed = static_cast<int>(text.cx);
        // Room for a drop-down button that always shows.
        if (buttonsShown && DoHasComboBox(realCol, r, edNone))
            cellNeed += 16;
        need = std::max(need, cellNeed);
    }
    int width = need + GetTotalXOffset() + 2 * GetGridLineWidth() + 2;
    if (!GrowOnly || GetColWidths(ACol) < width) {
        DoColumnAutoSized(ACol, width);
        SetColWidths(ACol, ApplyMinMaxLimits(width, FMinColWidth, FMaxColWidth));
    }
}

void TAdvStringGrid::AutoSizeCol(int ACol, int Padding)
{
    if (ACol < 0 || ACol >= GetColCount())
        return;
    FitColumnToContents(ACol, FSizeGrowOnly);
    if (Padding != 0)
        SetColWidths(ACol, ApplyMinMaxLimits(GetColWidths(ACol) + Padding, FMinColWidth, FMaxColWidth));
}

void TAdvStringGrid::AutoGrowCol(int ACol, int Padding)
{
    const bool growOnly = std::exchange(FSizeGrowOnly, true);
    const TScopeExit restore([this, growOnly] { FSizeGrowOnly = growOnly; });
    AutoSizeCol(ACol, Padding);
}

void TAdvStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding)
{
    const int first = DoFixedCols ? 0 : GetFixedCols();
    const int last = DoFixedCols ? GetColCount() - 1 : GetColCount() - FFixedRightCols - 1;
    for (int c = first; c <= last; ++c)
        AutoSizeCol(c, Padding);
}

void TAdvStringGrid::AutoGrowColumns(bool DoFixedCols, int Padding)
{
    const bool growOnly = std::exchange(FSizeGrowOnly, true);
    const TScopeExit restore([this, growOnly] { FSizeGrowOnly = growOnly; });
    AutoSizeColumns(DoFixedCols, Padding);
}

// --- all cells, fitting the width, the control to its cells ------------------------------

void TAdvStringGrid::AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY)
{
    const int firstCol = DoFixedCells ? 0 : GetFixedCols();
    const int firstRow = DoFixedCells ? 0 : GetFixedRows();
    if (firstCol >= GetColCount() || firstRow >= GetRowCount())
        return;
    // Each row takes the tallest of its cells over all the columns walked.
    std::vector<int> heights;
    for (int r = firstRow; r < GetRowCount(); ++r)
        heights.push_back(FSizeGrowOnly ? GetRowHeights(r) : 0);
    const auto lock = UpdateLock();
    for (int c = firstCol; c < GetColCount(); ++c) {
        const int realCol = RealColIndex(c);
        int width = FSizeGrowOnly ? GetColWidths(c) : 0;
        for (int r = firstRow; r < GetRowCount(); ++r) {
            const TSize text = MeasureCellText(c, r, false, 0);
            if (!IsXMergedCell(realCol, r))
                width = std::max(width, static_cast<int>(text.cx + PaddingX + FXYOffset.x));
            int& height = heights[static_cast<size_t>(r - firstRow)];
            if (!IsYMergedCell(realCol, r))
                height = std::max(height, static_cast<int>(text.cy + PaddingY + FXYOffset.y));
        }
        SetColWidths(c, ApplyMinMaxLimits(width, FMinColWidth, FMaxColWidth));
    }
    for (int r = firstRow; r < GetRowCount(); ++r) {
        const int height = heights[static_cast<size_t>(r - firstRow)];
        if (height > (FSizeGrowOnly ? GetRowHeights(r) : 0))
            SetRowHeights(r, ApplyMinMaxLimits(height, FMinRowHeight, FMaxRowHeight));
    }
}

void TAdvStringGrid::AutoFitColumns(bool DoFixedCells)
{
    if (GetColCount() == 0)
        return;
    // What the columns cannot have of the grid's width: the vertical scroll
    // bar while it shows, and the 3-D border.
    const bool vertBar = GetScrollBars() == ssVertical || GetScrollBars() == ssBoth;
    const bool barShows = FScrollBarAlways == saVert || FScrollBarAlways == saBoth ||
                          (vertBar && GetVisibleRowCount() + GetFixedRows() < GetRowCount());
    const int bar = barShows ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const int border = GetBorderStyle() == bsSingle ? 4 : 0;
    if (GetColCount() < 2) {
        SetColWidths(0, GetWidth() - bar - 5);
        return;
    }

    const int first = DoFixedCells ? 0 : GetFixedCols();
    const int last = DoFixedCells ? GetColCount() - 1 : GetColCount() - FFixedRightCols - 1;
    if (last < first)
        return;
    int width = GetWidth();
    if (!DoFixedCells)
        for (int c = 0; c < GetColCount(); ++c)
            if (c < first || c > last)
                width -= GetColWidths(c);
    int lines = 0;
    if (GetOptions().Contains(goVertLine))
        lines = GetGridLineWidth() * (GetColCount() - GetFixedCols() - FFixedRightCols);
    if (GetOptions().Contains(goFixedVertLine) && DoFixedCells)
        lines += GetFixedCols() + FFixedRightCols;

    const int count = last - first + 1;
    const int available = width - bar - border;
    int sum = 0;
    for (int c = first; c <= last; ++c)
        sum += GetColWidths(c);
    if (sum == available)
        return;
    if (sum <= 0) {
        // Columns of no width have no proportions to keep: they share alike.
        for (int c = first; c <= last; ++c)
            SetColWidths(c, 1);
        sum = count;
    }

    // Every column keeps its share; the rounding rest goes where it shows least.
    const double factor = static_cast<double>(available - lines) / sum;
    double scaled = 0;
    for (int c = first; c <= last; ++c)
        scaled += std::nearbyint(GetColWidths(c) * factor);
    int newSum = 0;
    for (int c = first; c <= last; ++c) {
        const int w = std::max(0, static_cast<int>(std::nearbyint(GetColWidths(c) * scaled / sum)));
        SetColWidths(c, w);
        newSum += w;
    }
    int rest = width - (newSum + bar + border);
    if (count >= 2 && rest > count) {
        for (int c = first; c <= last; ++c)
            SetColWidths(c, GetColWidths(c) + rest / count);
        rest %= count;
    }
    int widest = first;
    for (int c = first + 1; c <= last; ++c)
        if (GetColWidths(c) > GetColWidths(widest))
            widest = c;
    SetColWidths(widest, GetColWidths(widest) + rest);
}

void TAdvStringGrid::SizeToCols()
{
    int width = 0;
    for (int c = 0; c < GetColCount(); ++c)
        width += std::max(0, GetColWidths(c));
    SetClientWidth(width);
}

void TAdvStringGrid::SizeToRows()
{
    int height = 0;
    for (int r = 0; r < GetRowCount(); ++r)
        height += std::max(0, GetRowHeights(r));
    SetClientHeight(height);
}

void TAdvStringGrid::SizeToCells()
{
    const TScrollStyle bars = GetScrollBars();
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(bars);
}
