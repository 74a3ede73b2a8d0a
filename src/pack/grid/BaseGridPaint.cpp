// Drawing of the base grid's cells: a merged block once per paint pass, the
// hover and active rows, selection bands, backgrounds, the grid's own lines
// and the default text. The class library's lines and default drawing stay
// off; every cell comes through DrawGridCell.
#include "BaseGrid.h"
#include "AdvUtil.h"
#include "GdiHandles.h"
#include <algorithm>
#include <optional>

namespace {

struct TBandColors {
    TColor Color, ColorTo, MirrorColor, MirrorColorTo, InnerTop, InnerBottom, Border, Corner;
};

// By TGridSelectionStyle; ssDefault draws no band.
constexpr TBandColors FocusedBands[] = {
    {clNone, clNone, clNone, clNone, clNone, clNone, clNone, clNone},
    {0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB},
    {0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE},
    {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF},
};
constexpr TBandColors UnfocusedBand{0xF8F8F8, 0xE5E5E5, clNone, clNone, 0xFBFAFA, 0xF0F0F0, 0xD9D9D9, 0xEFEFEF};

// The piece of a band over the columns Left .. Right that column ACol shows:
// 1 the left end, 2 the right end, 3 a middle cell, 0 a band of one cell.
int BandPart(int ACol, int Left, int Right)
{
    if (Left == ACol && ACol < Right)
        return 1;
    if (Left < ACol && ACol == Right)
        return 2;
    if (Left < ACol && ACol < Right)
        return 3;
    return 0;
}

// The extent of the first Count cells of an axis; hidden (negative) sizes count 0.
template <class SizeOf>
int FixedExtent(int Count, SizeOf Size)
{
    int extent = 0;
    for (int i = 0; i < Count; ++i)
        extent += std::max(Size(i), 0);
    return extent;
}

} // namespace

void TBaseGrid::Paint()
{
    const TRaised pass(FInPaintPass);
    TStringGrid::Paint();
    ++FPaintID;
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    // The class library marks its own selection and current cell, which stay
    // where they were when the grid hides its selection: only what the grid
    // shows counts.
    if (!AState.Contains(gdFixed)) {
        const TGridCoord current = ShownCurrentCell();
        if (!ShownSelection().Contains(ACol, ARow))
            AState >> gdSelected;
        if (current.X != ACol || current.Y != ARow)
            AState >> gdFocused;
        if (current.Y != ARow)
            AState >> gdRowSelected;
    }
    DrawGridCell(GetCanvas(), ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    DrawGridCell(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    DrawGridCell(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::DrawGridCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState, bool Full)
{
    TBrush* brush = ACanvas->GetBrush();
    TPen* pen = ACanvas->GetPen();

    // The floating footer covers the last row.
    if (FHideLastRow && ARow == GetRowCount() - 1) {
        brush->SetStyle(bsSolid);
        brush->SetColor(GetColor());
        pen->SetStyle(psSolid);
        pen->SetWidth(1);
        pen->SetColor(GetColor());
        ACanvas->Rectangle(ARect);
        return;
    }

    // A covered cell draws its whole block through the base cell, which may
    // be scrolled out of view; within a paint pass only the first does. Other
    // callers (a header button, a printout) get the block every time and
    // leave the pass's marks alone.
    const int realCol = RealColIndex(ACol);
    int baseCol = realCol;
    int baseRow = ARow;
    if (!ResolveBaseCell(realCol, ARow, baseCol, baseRow)) {
        TCellProperties* base = PropertiesOf(baseCol, baseRow);
        if (!FInPaintPass || !base || base->FPaintID != FPaintID) {
            if (FInPaintPass && base)
                base->FPaintID = FPaintID;
            PaintCell(ACanvas, DisplColIndex(baseCol), baseRow, ARect, AState);
        }
        return;
    }
    // A visible base cell draws the block itself; its covered cells need not again.
    if (TCellProperties* props = PropertiesOf(realCol, ARow);
        FInPaintPass && Full && props && (props->GetCellSpanX() > 0 || props->GetCellSpanY() > 0))
        props->FPaintID = FPaintID;

    if (Full && IsFixedCell(ACol, ARow)) {
        AState << gdFixed;
        AState >> gdSelected;
    }
    if (Full)
        ARect = CellRect(ACol, ARow);

    // A block reaching under the fixed rows or columns must not paint over them.
    const int fixedCols = GetFixedCols();
    const int fixedRows = GetFixedRows();
    const int x0 = ACol < fixedCols ? 0 : FixedExtent(fixedCols, [this](int i) { return GetColWidths(i); });
    const int y0 = ARow < fixedRows ? 0 : FixedExtent(fixedRows, [this](int i) { return GetRowHeights(i); });
    // Only a full drawing is in the grid's coordinates; the look alone goes
    // on whatever rectangle the caller gives.
    std::optional<TClipToRect> clip;
    if (Full && ((ACol >= fixedCols && fixedCols > 0 && ARect.left < x0) ||
                 (ARow >= fixedRows && fixedRows > 0 && ARect.top < y0)))
        clip.emplace(ACanvas->GetHandle(), TRect(x0, y0, GetWidth(), GetHeight()));

    pen->SetWidth(1);
    TFont* font = ACanvas->GetFont();
    font->Assign(GetFont());

    // The look the grid gives a cell before GetVisualProperties refines it:
    // what the class library's own drawing would show.
    const TGridOptions options = GetOptions();
    const bool highlighted = !AState.Contains(gdFixed) && AState.Contains(gdSelected) && FShowSel &&
                             FSelectionStyle == ssDefault &&
                             (!AState.Contains(gdFocused) || options.Contains(goDrawFocusSelected) ||
                              options.Contains(goRowSelect));
    brush->SetColor(AState.Contains(gdFixed) ? GetFixedColor() : highlighted ? clHighlight : GetColor());
    if (highlighted)
        font->SetColor(clHighlightText);
    TLookOutputs look;
    look.WordWrap = FWordWrap;
    GetVisualProperties(ACol, ARow, AState, false, true, true, brush, look.ColorTo, look.MirrorColor,
                        look.MirrorColorTo, font, look.HAlign, look.VAlign, look.WordWrap, look.Direction);
    const bool isFixed = AState.Contains(gdFixed);
    const bool selected = AState.Contains(gdSelected);
    pen->SetColor(brush->GetColor());

    if (FHoverRow && ARow == FHoverRowIdx && !(selected && !FHoverRowCells.Contains(hcSelected)) &&
        !(isFixed && !FHoverRowCells.Contains(hcFixed))) {
        brush->SetColor(FHoverRowColor);
        look.ColorTo = FHoverRowColorTo;
        look.MirrorColor = clNone;
        look.MirrorColorTo = clNone;
        look.Direction = GradientVertical;
    }
    // The active row wins over the hover row.
    const TGridCoord current = ShownCurrentCell();
    const bool activeRow =
        FActiveRowShow && ARow == current.Y && (ACol != current.X || !FShowSel) && ACol >= fixedCols;
    if (activeRow || (!Full && selected)) {
        brush->SetColor(FActiveRowColor);
        look.ColorTo = FActiveRowColorTo;
        look.MirrorColor = FActiveRowMirrorColor;
        look.MirrorColorTo = FActiveRowMirrorColorTo;
    }
    pen->SetColor(brush->GetColor());

    if (selected && FSelectionStyle != ssDefault && FShowSel) {
        const TGridRect selection = ShownSelection();
        const int part = BandPart(ACol, selection.Left, selection.Right);
        // Without grid lines the band reaches into the line's place too.
        TRect band = ARect;
        if (!options.Contains(goHorzLine))
            ++band.bottom;
        if (!options.Contains(goVertLine))
            ++band.right;
        // Mirrored cells leave their line's place on the other side.
        if (UseRightToLeftReading()) {
            ++band.right;
            ++band.bottom;
        }
        const bool focused =
            (HandleAllocated() && ::GetFocus() == GetHandle()) || options.Contains(goDrawFocusSelected);
        const TBandColors& c = focused ? FocusedBands[FSelectionStyle] : UnfocusedBand;
        DrawStyledSelectionRect(ACanvas, c.Color, c.ColorTo, c.MirrorColor, c.MirrorColorTo, c.InnerTop,
                                c.InnerBottom, c.Border, c.Corner, GetColor(), band, part);
    } else if (!(UsesVCLStyles() && (isFixed || selected))) {
        if (look.MirrorColorTo == clNone)
            DrawGradientRect(ACanvas, brush->GetColor(), look.ColorTo, 64, ARect,
                             look.Direction == GradientHorizontal);
        else
            DrawCellBackground(ACanvas, ARect, brush->GetColor(), look.ColorTo, look.MirrorColor,
                               look.MirrorColorTo, true, clNone, false, true);
    }

    // The grid's own lines, inside the cell at its right and bottom edge.
    int offset = 1;
    if (isFixed) {
        pen->SetColor(FGridFixedLineColor);
        pen->SetWidth(1);
    } else {
        if (FGridLineWidth > 0)
            pen->SetColor(FGridLineColor);
        pen->SetWidth(FGridLineWidth);
        offset = (FGridLineWidth + 1) / 2;
    }
    pen->SetStyle(psSolid);
    // The node tree draws its own lines down the first column.
    const bool nodeColumn = ARow >= fixedRows && realCol == 0 && HasNodes();
    if (((options.Contains(goHorzLine) && !isFixed) || (options.Contains(goFixedHorzLine) && isFixed)) &&
        !nodeColumn) {
        ACanvas->MoveTo(ARect.left - offset + 1, ARect.bottom - offset);
        ACanvas->LineTo(ARect.right - offset + 1, ARect.bottom - offset);
    }
    if ((options.Contains(goVertLine) && !isFixed) || (options.Contains(goFixedVertLine) && isFixed)) {
        const int x = UseRightToLeftAlignment() ? ARect.right - offset + 1 : ARect.right - offset;
        ACanvas->MoveTo(x, ARect.bottom - offset);
        ACanvas->LineTo(x, ARect.top - offset);
    }

    TRect content = ARect;
    if (isFixed) {
        content.right -= 1;
        content.bottom -= 2;
    } else {
        InflateRect(&content, -FGridLineWidth, -FGridLineWidth);
    }
    if (Full)
        DrawCellContent(ACanvas, ACol, ARow, content, AState);

    clip.reset();
    brush->SetStyle(bsSolid);
    pen->SetStyle(psSolid);
}

void TBaseGrid::DrawCellContent(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState)
{
    // Packed wide text shows as the text it carries.
    const String text = UnpackWideText(GetCellText(RealColIndex(ACol), ARow));
    if (text.empty())
        return;
    HDC dc = ACanvas->GetHandle();
    // Over a gradient or a band the text must not paint a box of its own;
    // an ampersand is data here, not a mnemonic.
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT r = ARect;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    SetBkMode(dc, oldMode);
}
