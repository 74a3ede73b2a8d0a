// Painting: every cell that shows is handed to DrawCell once, row by row and
// left to right within a row; the grid fills the cell first and adds fixed
// edges and the focus frame afterwards when DefaultDrawing is on.
#include "Grids.h"
#include "GdiHandles.h"
#include <algorithm>

namespace {

constexpr TColor FixedLineColor = clBlack;
constexpr TColor GridLineColor = clSilver;

// Visits the cells of one axis that show, in screen order, with their position.
template <class F>
void ForVisible(int fixed, int first, int count, int extent, int lineWidth, const std::vector<int>& extents, F visit)
{
    int pos = 0;
    auto one = [&](int i) {
        const int e = extents[static_cast<size_t>(i)];
        if (e < 0)
            return;
        visit(i, pos, e);
        pos += e + lineWidth;
    };
    for (int i = 0; i < fixed; ++i)
        one(i);
    for (int i = first; i < count && pos < extent; ++i)
        one(i);
}

void FillGradient(HDC dc, const TRect& r, TColor from, TColor to)
{
    const COLORREF a = ColorToRGB(from);
    const COLORREF b = ColorToRGB(to);
    TRIVERTEX v[2] = {
        {r.left, r.top, static_cast<COLOR16>(GetRValue(a) << 8), static_cast<COLOR16>(GetGValue(a) << 8),
         static_cast<COLOR16>(GetBValue(a) << 8), 0},
        {r.right, r.bottom, static_cast<COLOR16>(GetRValue(b) << 8), static_cast<COLOR16>(GetGValue(b) << 8),
         static_cast<COLOR16>(GetBValue(b) << 8), 0}};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

} // namespace

bool TCustomGrid::IsActiveControl()
{
    if (!HandleAllocated())
        return false;
    HWND focus = GetFocus();
    if (focus == GetHandle())
        return true;
    return inplaceEdit_ && inplaceEdit_->HandleAllocated() && focus == inplaceEdit_->GetHandle();
}

void TCustomGrid::Paint()
{
    TCanvas* canvas = GetCanvas();
    TGridDrawInfo info;
    CalcDrawInfo(info);
    HDC dc = canvas->GetHandle();
    const bool focused = IsActiveControl();
    const TGridRect selection = GetSelection();
    const bool editorShowing = editorMode_ && inplaceEdit_ && inplaceEdit_->GetVisible();

    PaintLines(info);

    ForVisible(vert_.fixed, vert_.first, vert_.count, info.Vert.GridExtent, info.Vert.EffectiveLineWidth,
               vert_.extents, [&](int row, int y, int height) {
        ForVisible(horz_.fixed, horz_.first, horz_.count, info.Horz.GridExtent, info.Horz.EffectiveLineWidth,
                   horz_.extents, [&](int col, int x, int width) {
            TRect r(x, y, x + width, y + height);
            if (!RectVisible(dc, &r))
                return;
            TGridDrawState state;
            const bool fixed = col < horz_.fixed || row < vert_.fixed;
            if (fixed) {
                state << gdFixed;
            } else {
                if (focused && col == current_.X && row == current_.Y)
                    state << gdFocused;
                if (selection.Contains(col, row))
                    state << gdSelected;
                if (options_.Contains(goRowSelect) && row == current_.Y)
                    state << gdRowSelected;
            }
            const bool highlight = state.Contains(gdSelected) &&
                                   (!state.Contains(gdFocused) || options_.Contains(goDrawFocusSelected) ||
                                    options_.Contains(goRowSelect));
            if (defaultDrawing_) {
                canvas->GetBrush()->SetStyle(bsSolid);
                canvas->GetFont()->Assign(GetFont());
                if (fixed && drawingStyle_ == gdsGradient) {
                    FillGradient(dc, r, gradientStart_, gradientEnd_);
                    canvas->GetBrush()->SetStyle(bsClear);
                } else {
                    canvas->GetBrush()->SetColor(fixed ? fixedColor_ : highlight ? clHighlight : GetColor());
                    canvas->FillRect(r);
                }
                if (highlight)
                    canvas->GetFont()->SetColor(clHighlightText);
            }
            DrawCell(col, row, r, state);
            if (defaultDrawing_) {
                if (fixed && drawingStyle_ != gdsGradient && options_.Contains(goFixedVertLine) &&
                    options_.Contains(goFixedHorzLine))
                    DrawFixedEdge(r);
                if (state.Contains(gdFocused) && !options_.Contains(goRowSelect) && !editorShowing) {
                    canvas->GetBrush()->SetStyle(bsSolid);
                    canvas->DrawFocusRect(r);
                }
            }
        });
    });

    // What lies past the last row and column.
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetColor());
    const int w = info.Horz.GridExtent;
    const int h = info.Vert.GridExtent;
    if (info.Horz.GridBoundary < w)
        canvas->FillRect(TRect(info.Horz.GridBoundary, 0, w, std::min(info.Vert.GridBoundary, h)));
    if (info.Vert.GridBoundary < h)
        canvas->FillRect(TRect(0, info.Vert.GridBoundary, w, h));

    if (defaultDrawing_ && focused && options_.Contains(goRowSelect) && current_.Y >= vert_.fixed) {
        TRect row = BoxRect(horz_.fixed, current_.Y, horz_.count - 1, current_.Y);
        if (!row.IsEmpty())
            canvas->DrawFocusRect(row);
    }
}

void TCustomGrid::PaintLines(const TGridDrawInfo& info)
{
    TCanvas* canvas = GetCanvas();
    const int fixedBottom = std::min(info.Vert.FixedBoundary, info.Vert.GridBoundary);
    const int fixedRight = std::min(info.Horz.FixedBoundary, info.Horz.GridBoundary);
    auto fill = [&](TColor color, const TRect& r) {
        if (r.IsEmpty())
            return;
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(color);
        canvas->FillRect(r);
    };
    // Vertical lines: fixed ones over the fixed rows and fixed columns, grid lines over the rest.
    if (const int lw = info.Horz.EffectiveLineWidth) {
        ForVisible(horz_.fixed, horz_.first, horz_.count, info.Horz.GridExtent, lw, horz_.extents,
                   [&](int col, int x, int width) {
            const int lx = x + width;
            const bool fixedCol = col < horz_.fixed;
            if (options_.Contains(goFixedVertLine))
                fill(FixedLineColor, TRect(lx, 0, lx + lw, fixedCol ? info.Vert.GridBoundary : fixedBottom));
            if (!fixedCol && options_.Contains(goVertLine))
                fill(GridLineColor, TRect(lx, fixedBottom, lx + lw, info.Vert.GridBoundary));
        });
    }
    if (const int lw = info.Vert.EffectiveLineWidth) {
        ForVisible(vert_.fixed, vert_.first, vert_.count, info.Vert.GridExtent, lw, vert_.extents,
                   [&](int row, int y, int height) {
            const int ly = y + height;
            const bool fixedRow = row < vert_.fixed;
            if (options_.Contains(goFixedHorzLine))
                fill(FixedLineColor, TRect(0, ly, fixedRow ? info.Horz.GridBoundary : fixedRight, ly + lw));
            if (!fixedRow && options_.Contains(goHorzLine))
                fill(GridLineColor, TRect(fixedRight, ly, info.Horz.GridBoundary, ly + lw));
        });
    }
}

void TCustomGrid::DrawFixedEdge(const TRect& r)
{
    RECT edge = r;
    DrawEdge(GetCanvas()->GetHandle(), &edge, BDR_RAISEDINNER, BF_RECT);
}

// The line that follows a border being dragged, drawn inverted so that
// drawing it again takes it away.
void TCustomGrid::DrawSizingLine()
{
    if (!HandleAllocated())
        return;
    DrawSizingLineAt(FGridState, sizingPos_);
    sizingLineShown_ = !sizingLineShown_;
}

void TCustomGrid::DrawSizingLineAt(TGridState State, int Pos)
{
    TGridDrawInfo info;
    CalcDrawInfo(info);
    TWindowDC dc(GetHandle());
    if (State == gsColSizing)
        PatBlt(dc.Get(), Pos, 0, 1, info.Vert.GridBoundary, DSTINVERT);
    else if (State == gsRowSizing)
        PatBlt(dc.Get(), 0, Pos, info.Horz.GridBoundary, 1, DSTINVERT);
}
