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
    const int realCol = RealColIndex(ACol);
    if (TCellProperties* props = PropertiesOf(realCol, ARow)) {
        if (!props->GetFontName().empty())
            AFont->SetName(props->GetFontName());
        if (props->GetFontSize() != 0)
            AFont->SetSize(props->GetFontSize());
        if (!props->GetFontStyle().Empty())
            AFont->SetStyle(props->GetFontStyle());
    }
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
    for (int r = DoFixedRows ? 0 : GetFixedRows(); r < GetRowCount(); ++r)
        AutoSizeRow(r, Padding);
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
    int need = 0;
    for (int r = first; r <= last; ++r) {
        if (IsXMergedCell(realCol, r))
            continue;
        need = std::max(need, static_cast<int>(MeasureCellText(ACol, r, false, 0).cx));
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
    try {
        AutoSizeCol(ACol, Padding);
    } catch (...) {
        FSizeGrowOnly = growOnly;
        throw;
    }
    FSizeGrowOnly = growOnly;
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
    try {
        AutoSizeColumns(DoFixedCols, Padding);
    } catch (...) {
        FSizeGrowOnly = growOnly;
        throw;
    }
    FSizeGrowOnly = growOnly;
}
