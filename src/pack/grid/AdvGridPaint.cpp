// The cell painter: what lies inside a cell's lines, in a fixed order - the
// fixed-cell background of the look, the row indicator, list-view headers,
// the modified mark, the custom background, always-visible editor buttons,
// the text (selection colours, search highlight, filter button, background
// picture or gradient, selection rectangle, HTML, rich or plain text, sort
// indicator), borders, 3D edges, node tree lines, the cell graphic, the draw
// events and the focus rectangle. No colour reaches GDI as clNone or as a
// system colour number: the canvas resolves them, and a clNone text colour
// draws as window text.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "AdvDropDown.h"
#include <richedit.h>
#include "AdvXPVS.h"
#include "AdvGridLists.h"
#include "ComCtrls.h"
#include "GdiHandles.h"
#include "GridHTML.h"
#include "HTMLUtils.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <optional>
#include <vsstyle.h>

struct TAdvStringGrid::TCellPaint {
    int ACol = 0;
    int ARow = 0;
    int RCol = 0;
    TRect R;
    TGridDrawState State;
    TColor ColorTo = clNone, MirrorColor = clNone, MirrorColorTo = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = false;
    TCellGradientDirection GD = GradientVertical;
    TCellGraphic* Graphic = nullptr;
    int GraphicWidth = 0, GraphicHeight = 0;
    bool ShowText = true;
    TCellHAlign GraphicHA = haLeft;
    TCellVAlign GraphicVA = vaTop;
    TColor CellBrush = clNone, CellFont = clNone;
    bool Fixed = false;
    bool FilterGlyph = false;
    int ScrollPos = 0;
    // The text width the graphic is placed beside.
    int TextWidth = 0;
};

namespace {

// The looks that fill fixed cells with the header gradient.
bool IsGradientLook(TGridLook Look)
{
    return Look == glPack || Look == glXP || Look == glVista || Look == glWin7 || Look == glOffice2007;
}

TColor Visible(TColor Color) { return Color == clNone ? clWindowText : Color; }

void Line(TCanvas* Canvas, int X1, int Y1, int X2, int Y2)
{
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

} // namespace

bool TAdvStringGrid::IsSortHeader(int RCol, int ARow)
{
    TSortSettings* sort = FSortSettings.get();
    if (!HasSortIndicator(RCol, ARow) || GetFixedRows() == 0)
        return false;
    if (!(RCol >= GetFixedCols() || sort->GetFixedCols()))
        return false;
    const int position = FSortIndexes->FindIndex(RCol);
    const bool inColumn = sort->GetColumn() == RCol || position >= 0;
    return inColumn && (position < 1 || sort->GetIndexShow());
}

bool TAdvStringGrid::ShowsFilterGlyph(int RCol, int ARow)
{
    // The filter row shows the button where the column's drop-down list
    // would have entries; asking for the first entry only keeps it cheap.
    if (ARow != FFilterDropDownRow || ARow >= GetFixedRows())
        return false;
    return BuildFilterList(RCol, true);
}

bool TAdvStringGrid::ColumnFilterActive(int RCol)
{
    for (int i = 0; i < FFilter->Count(); ++i)
        if (FFilter->Item(i)->GetColumn() == RCol && !FFilter->Item(i)->GetCondition().empty())
            return true;
    return false;
}

void TAdvStringGrid::DrawCellContent(TCanvas* Canvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    TCellPaint P;
    P.ACol = ACol;
    P.ARow = ARow;
    P.RCol = RealColIndex(ACol);
    P.R = ARect;
    P.State = AState;
    const int RCol = P.RCol;
    TRect& R = P.R;
    const bool ctl3D = !FIsFlat;
    const TGridOptions options = GetOptions();
    TBrush* brush = Canvas->GetBrush();
    TFont* font = Canvas->GetFont();
    TPen* pen = Canvas->GetPen();

    P.FilterGlyph = ShowsFilterGlyph(RCol, ARow);

    // One shared scroll bar paints the bar of every cell that has one.
    if (HasScrollBar(RCol, ARow) && FPaintScrollBar) {
        const TScrollProp prop = GetScrollProp(RCol, ARow);
        P.ScrollPos = GetScrollPosition(RCol, ARow);
        if (prop.PageSize < prop.Range) {
            FPaintScrollBar->SetPageSize(prop.PageSize);
            FPaintScrollBar->SetMin(0);
            FPaintScrollBar->SetMax(prop.Range);
            FPaintScrollBar->SetPosition(P.ScrollPos);
            FPaintScrollBar->SetHeight(R.bottom - R.top);
            R.right -= FPaintScrollBar->GetWidth();
            if (FPaintScrollBar->HandleAllocated()) {
                const TSavedDC saved(Canvas->GetHandle());
                SetViewportOrgEx(Canvas->GetHandle(), R.right, R.top, nullptr);
                FPaintScrollBar->PaintTo(Canvas->GetHandle(), 0, 0);
            }
        }
    }

    P.WW = GetWordWrap();
    GetVisualProperties(ACol, ARow, P.State, false, false, true, brush, P.ColorTo, P.MirrorColor, P.MirrorColorTo,
                        font, P.HA, P.VA, P.WW, P.GD);
    P.Graphic = GetCellGraphicLayout(RCol, ARow, P.GraphicWidth, P.GraphicHeight, P.ShowText, P.GraphicHA,
                                     P.GraphicVA);
    if (RCol == 0 && P.Graphic && P.Graphic->GetCellType() == ctNode && HasCellProperties(0, ARow))
        P.GraphicWidth = GetCellProperties(0, ARow)->GetNodeLevel() * 12 + 4;

    if (P.State.Contains(gdSelected) && !P.State.Contains(gdFocused) && FSelectionColor == clNone)
        brush->SetColor(clHighlight);
    // A zoom never makes a font vanish.
    if (FZoomFactor != 0)
        font->SetSize(std::max(1, font->GetSize() + FZoomFactor));
    P.CellBrush = brush->GetColor();
    P.CellFont = font->GetColor();

    P.Fixed = IsFixed(ACol, ARow) || ACol < GetFixedCols() || ARow < GetFixedRows();
    if (FHoverRow && FHoverRowCells.Contains(hcFixed) && ARow == FHoverRowIdx)
        P.Fixed = false;
    const bool fixed = P.Fixed;

    const bool colMoving = GridState() == gsColMoving;
    const bool hovered = IsHoverFixedCell(ACol, ARow) &&
                         ((FHoverFixedX == ACol && FHoverFixedY == ARow && !colMoving) ||
                          (colMoving && FPress.FMoveColInd == ACol)) &&
                         !DesignTime();
    if (fixed && IsGradientLook(FLook)) {
        const TSortSettings* sort = FSortSettings.get();
        const TGridCoord current{GetCol(), GetRow()};
        if (hovered) {
            ++R.bottom;
            const bool pressed = FPress.FMouseDownMove || colMoving;
            const auto hover = [&](const TRect& r) {
                DrawCellBackground(Canvas, r, FPackGradHoverFrom, FPackGradHoverTo, FPackGradHoverMirrorFrom,
                                   FPackGradHoverMirrorTo, true, FPackGradHoverBorder, false, true);
            };
            const auto down = [&](const TRect& r) {
                DrawCellBackground(Canvas, r, FPackGradDownFrom, FPackGradDownTo, FPackGradDownMirrorFrom,
                                   FPackGradDownMirrorTo, true, FPackGradDownBorder, false, true);
            };
            const bool dropButton = FControlLook->GetFixedDropDownButton() && DoCanShowFixedDropDown(RCol);
            if (!pressed) {
                hover(R);
            } else if (dropButton) {
                const TRect left(R.left, R.top, R.right - 16, R.bottom);
                const TRect right(R.right - 16, R.top, R.right, R.bottom);
                if (FDropDownDown) {
                    down(right);
                    hover(left);
                } else {
                    down(left);
                    hover(right);
                }
            } else {
                down(R);
            }
            if (dropButton) {
                pen->SetColor(pressed ? FPackGradDownBorder : FPackGradHoverBorder);
                Line(Canvas, R.right - 16, R.top, R.right - 16, R.bottom);
                DrawSmallDownArrow(Canvas, R.right - 8, R.top + 8, clBlack);
                R.right -= 16;
            }
        } else if (FActiveCellShow &&
                   ((ARow == current.Y && ACol == GetFixedCols() - 1 && GetFixedCols() > 0) ||
                    (ACol == current.X && ARow == GetFixedRows() - 1 && GetFixedRows() > 0))) {
            DrawCellBackground(Canvas, R, FActiveCellColor, FActiveCellColorTo, clNone, clNone, true, clNone, false,
                               true);
        } else if (sort->GetColumn() >= 0 && sort->GetHeaderColor() != clNone && sort->GetColumn() == RCol &&
                   ARow == GetFixedRows() - 1 && (RCol >= GetFixedCols() || sort->GetFixedCols())) {
            DrawCellBackground(Canvas, R, sort->GetHeaderColor(), sort->GetHeaderColorTo(),
                               sort->GetHeaderMirrorColor(), sort->GetHeaderMirrorColorTo(), true, clNone, true,
                               true);
        } else if (!FIsFlat) {
            DrawCellBackground(Canvas, R, brush->GetColor(), P.ColorTo, P.MirrorColor, P.MirrorColorTo, true,
                               FLook == glVista ? TColor(0xFFFFFF) : clNone, true, true);
        }
    }

    int indicatorWidth = 0;
    if (RCol == 0 && ARow == GetRow() && GetFixedCols() > 0 && !FRowIndicator->GetEmpty() &&
        !(FFixedRowAlways && GetRowCount() <= GetFixedRows())) {
        TBitmap* indicator = FRowIndicator.get();
        const int bh = indicator->GetHeight();
        const int y = GetVAlignment() == vtaTop      ? R.top
                      : GetVAlignment() == vtaCenter ? R.top + (R.bottom - R.top - bh) / 2
                                                     : R.bottom - bh;
        const bool wasTransparent = indicator->GetTransparent();
        indicator->SetTransparent(true);
        Canvas->Draw(R.left + 2, y, indicator);
        indicator->SetTransparent(wasTransparent);
        indicatorWidth = indicator->GetWidth() + 2;
        R.left += indicatorWidth;
    }

    if (fixed && FLook == glListView && !hovered && !FIsFlat) {
        const AdvXPVS::TThemeData theme(FIsWinXP, HandleAllocated() ? GetHandle() : nullptr, L"header");
        if (theme) {
            ++R.bottom;
            const bool over = FHoverFixedX == ACol && FHoverFixedY == ARow;
            if (over && FPress.FMouseDownMove)
                theme.Draw(Canvas->GetHandle(), HP_HEADERITEM, HIS_PRESSED, R);
            else if (over)
                theme.Draw(Canvas->GetHandle(), HP_HEADERITEM, HIS_HOT, R);
            else
                theme.Draw(Canvas->GetHandle(), HP_HEADERITEMRIGHT, HIS_NORMAL, R);
            pen->SetColor(clWhite);
            Line(Canvas, R.left, R.top, R.right, R.top);
        } else {
            brush->SetColor(clBtnFace);
            pen->SetColor(clWhite);
            Canvas->Rectangle(R);
        }
    }

    if (ACol == 0 && FShowModified->GetEnabled() && GetRowModified(RealRowIndex(ARow))) {
        brush->SetColor(FShowModified->GetColor());
        pen->SetColor(FShowModified->GetColor());
        Canvas->Rectangle(R.right - 4, R.top, R.right, R.bottom);
        brush->SetColor(P.CellBrush);
    }

    if (OnCustomCellBkgDraw)
        OnCustomCellBkgDraw(this, Canvas, RCol, ARow, P.State, R, false);

    const int textRight = R.right;
    if (!fixed && (FControlLook->GetDropDownAlwaysVisible() || FControlLook->GetSpinButtonsAlwaysVisible())) {
        int kind = FControlLook->GetFlatButton() ? 2 : FIsWinXP ? 0 : 1;
        if (FIsFlat && FTones.Background.BrushColor != clNone)
            kind = 3;
        bool editable = true;
        QueryCellEditable(RCol, ARow, editable);
        const int state = editable ? 0 : 3;
        TEditorType editor = FDefaultEditor;
        DoGetEditorTypeForShow(RCol, ARow, editor);
        const HWND window = HandleAllocated() ? GetHandle() : nullptr;
        if (FControlLook->GetDropDownAlwaysVisible()) {
            if (DoHasComboBox(RCol, ARow, editor)) {
                DrawDropDownButton(Canvas, window, TRect(R.left - 2, R.top - 1, R.right + 1, R.bottom), kind, state,
                                   FTones);
                R.right -= 16;
            }
            if (DoHasEditBtn(RCol, ARow, editor)) {
                DrawButtonFace(Canvas, window, TRect(R.right - 19, R.top - 2, R.right - 1, R.bottom - 1), kind,
                               state, FTones, FControlLook->GetButtonPrefix(), L"...");
                R.right -= 16;
            }
        }
        if (FControlLook->GetSpinButtonsAlwaysVisible() && DoHasSpinEdit(RCol, ARow, editor)) {
            DrawSpinButtons(Canvas, window, R, kind, state, FTones);
            R.right -= 16;
        }
    }

    const bool handlers = static_cast<bool>(OnDrawCell) || static_cast<bool>(OnCustomCellDraw);
    if (!((P.Graphic && FNoImageAndText) || (handlers && FNoDefaultDraw)))
        DrawCellText(Canvas, P);
    R.right = textRight;
    brush->SetColor(P.CellBrush);
    font->SetColor(P.CellFont);

    InflateRect(&R, 1, 1);
    DrawCellBorders(Canvas, RCol, ARow, R);
    InflateRect(&R, -1, -1);
    R.left -= indicatorWidth;

    if (fixed && !FIsFlat && !(ARow == FFilterEdit->GetRow() && DoHasFilterEdit(RCol, ARow))) {
        TRect e = R;
        if (FLook == glClassic) {
            ++e.left;
            RECT r = e;
            DrawEdge(Canvas->GetHandle(), &r, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
            r = e;
            DrawEdge(Canvas->GetHandle(), &r, BDR_RAISEDINNER | BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
            pen->SetColor(clBlack);
            Line(Canvas, e.right - 1, e.top, e.right - 1, e.bottom - 1);
            Canvas->LineTo(e.left - 1, e.bottom - 1);
        } else if (FLook == glPack || FLook == glXP) {
            ++e.bottom;
            if (options.Contains(goFixedHorzLine)) {
                pen->SetColor(HalveColor(ColorToRGB(GetFixedColor())));
                Line(Canvas, e.left, e.bottom - 1, e.right - 1, e.bottom - 1);
                pen->SetColor(clWhite);
                Line(Canvas, e.right - 2, e.top + 1, e.left + 1, e.top + 1);
                Canvas->LineTo(e.left + 1, e.bottom - 1);
            }
        } else if (FLook == glSoft && ctl3D) {
            ++e.right;
            ++e.bottom;
            if (options.Contains(goFixedHorzLine)) {
                pen->SetColor(HalveColor(ColorToRGB(GetFixedColor())));
                Line(Canvas, e.left, e.bottom - 1, e.right - 1, e.bottom - 1);
                pen->SetColor(clWhite);
                Line(Canvas, e.right, e.top + 1, e.left + 1, e.top + 1);
                Canvas->LineTo(e.left + 1, e.bottom - 1);
            }
            if (options.Contains(goFixedVertLine)) {
                pen->SetColor(HalveColor(ColorToRGB(GetFixedColor())));
                Line(Canvas, e.right - 2, e.top, e.right - 2, e.bottom - 1);
                pen->SetColor(clWhite);
                Line(Canvas, e.right - 1, e.top, e.right - 1, e.bottom - 1);
            }
        } else if (FLook == glSoft) {
            pen->SetColor(clBlack);
            if (options.Contains(goFixedHorzLine)) {
                Line(Canvas, e.left - 1, e.top - 1, e.right + 1, e.top - 1);
                Line(Canvas, e.left - 1, e.bottom, e.right + 1, e.bottom);
            }
            if (options.Contains(goFixedVertLine)) {
                Line(Canvas, e.left - 1, e.top - 1, e.left - 1, e.bottom + 1);
                Line(Canvas, e.right, e.top - 1, e.right, e.bottom + 1);
            }
        }
    }
    if (FFixedRightCols > 0 && ACol >= GetColCount() - FFixedRightCols && FLook != glClassic && !ctl3D) {
        pen->SetColor(FIsFlat ? TColor(0x808080) : clBlack);
        if (options.Contains(goFixedHorzLine)) {
            Line(Canvas, R.left - 1, R.top - 1, R.right + 1, R.top - 1);
            Line(Canvas, R.left - 1, R.bottom, R.right + 1, R.bottom);
        }
        if (options.Contains(goFixedVertLine)) {
            Line(Canvas, R.left - 1, R.top - 1, R.left - 1, R.bottom + 1);
            Line(Canvas, R.right, R.top - 1, R.right, R.bottom + 1);
        }
    }

    if (RCol == 0 && ARow >= GetFixedRows() && HasNodes() && FCellNode->GetShowTree() && HasCellProperties(0, ARow)) {
        const int indent = FCellNode->GetNodeIndent();
        const int level = GetCellProperties(0, ARow)->GetNodeLevel();
        const int x0 = GetRowNodeIndent(ARow) + 2 - indent + indent / 2;
        const int middle = R.top + (R.bottom - R.top) / 2;
        pen->SetColor(FCellNode->GetTreeColor());
        pen->SetWidth(1);
        const auto levelOf = [this](int row) {
            return row < GetRowCount() && HasCellProperties(0, row) ? GetCellProperties(0, row)->GetNodeLevel() : 0;
        };
        if (level > 0 && !(P.Graphic && P.Graphic->GetCellType() == ctNode)) {
            Line(Canvas, x0, middle, FCellNode->GetShowTreeFull() ? R.right : GetRowNodeIndent(ARow) + 4, middle);
            Line(Canvas, x0, R.top, x0, ARow + 1 < GetRowCount() && levelOf(ARow + 1) >= level ? R.bottom + 4
                                                                                              : middle);
        }
        for (int i = 1; i <= level; ++i) {
            const int x = x0 - indent * i;
            const bool last = ARow + 1 >= GetRowCount();
            if (!last && levelOf(ARow + 1) < level - i && i < level) {
                Line(Canvas, x, R.top, x, middle);
                Canvas->LineTo(x0 - indent * (i - 1), middle);
            } else if (last && i < level) {
                Line(Canvas, x, R.top, x, middle);
                Canvas->LineTo(x0 - indent * (i - 1), middle);
            } else {
                Line(Canvas, x, R.top, x, R.bottom + 4);
            }
        }
        pen->SetStyle(psSolid);
    }

    if (P.Graphic) {
        TRect g = R;
        if (fixed)
            ++g.top;
        TGraphicPlace place;
        place.RCol = RCol;
        place.ARow = ARow;
        place.Width = P.GraphicWidth;
        place.Height = P.GraphicHeight;
        place.HAlign = P.GraphicHA;
        place.VAlign = P.GraphicVA;
        place.TextAlign = P.HA;
        place.TextVAlign = P.VA;
        place.TextWidth = P.TextWidth;
        place.Selected = P.State.Contains(gdSelected);
        place.CellRect = ARect;
        brush->SetColor(P.CellBrush);
        DrawCellGraphic(Canvas, g, P.Graphic, place);
        R = g;
    }

    if (OnDrawCell) {
        const TRect saved = R;
        OnDrawCell(this, RCol, ARow, TRect(R.left, R.top, R.right - FGridLineWidth, R.bottom - FGridLineWidth),
                   P.State);
        R = saved;
    }
    if (OnCustomCellDraw)
        OnCustomCellDraw(this, Canvas, RCol, ARow, P.State, R, false);

    if (!FHideFocusRect && HandleAllocated() && ::GetFocus() == GetHandle() && !options.Contains(goRowSelect)) {
        const TPoint base = BaseCell(RealColIndex(GetCol()), GetRow());
        if (base.x == RCol && base.y == ARow && GetCol() >= GetFixedCols() && GetRow() >= GetFixedRows()) {
            TRect focus = R;
            InflateRect(&focus, FGridLineWidth - 1, FGridLineWidth - 1);
            --focus.right;
            --focus.bottom;
            Canvas->DrawFocusRect(focus);
        }
    }

    if (DesignTime() && FShowColNrs && ARow == 0) {
        brush->SetStyle(bsClear);
        font->SetName(L"");
        font->SetSize(8);
        font->SetStyle({});
        font->SetColor(0x808080);
        RECT r{R.left, R.top, R.right - 2, R.bottom};
        const String number = IntToStr(RCol);
        DrawTextW(Canvas->GetHandle(), number.c_str(), static_cast<int>(number.size()), &r,
                  DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
    }
}

void TAdvStringGrid::DrawCellText(TCanvas* Canvas, TCellPaint& P)
{
    const int RCol = P.RCol;
    const int ARow = P.ARow;
    TBrush* brush = Canvas->GetBrush();
    TFont* font = Canvas->GetFont();
    TPen* pen = Canvas->GetPen();
    const TGridOptions options = GetOptions();
    TMouseActions* actions = FMouseActions.get();
    HDC dc = Canvas->GetHandle();

    const bool selected =
        P.State.Contains(gdSelected) ||
        (options.Contains(goRowSelect) && actions->GetDisjunctRowSelect() && GetRowSelect(RealRowIndex(ARow)) &&
         RCol >= GetFixedCols() && RCol < GetColCount() - FFixedRightCols);
    TColor urlColor = FURLColor;
    const bool shown = IsSelectionShown();
    if (selected && !IsFixed(P.ACol, ARow)) {
        if (shown) {
            if (FSelectionColor != clNone)
                brush->SetColor(FSelectionColor);
            if (FSelectionTextColor != clNone && GetEnabled())
                font->SetColor(FSelectionTextColor);
            urlColor = FSelectionTextColor;
        }
        const bool checkBox = P.Graphic && P.Graphic->GetCellType() == ctCheckBox;
        if ((!(HandleAllocated() && ::GetFocus() == GetHandle()) || checkBox) && !shown) {
            brush->SetColor(P.CellBrush);
            font->SetColor(P.CellFont);
            urlColor = FURLColor;
        }
    }

    String text;
    FormatCellText(RCol, ARow, text);

    TSearchFooter* search = FSearchFooter.get();
    const String searchText = FSearchPanel ? FSearchPanel->GetSearchText() : String();
    const bool highlightOn = (FSearchPanel && FSearchPanel->GetHighlightDown()) || search->GetAlwaysHighLight();
    if (highlightOn && !searchText.empty() && ARow >= GetFixedRows() && ARow < GetRowCount() - FFixedFooters) {
        const int column = search->GetSearchColumn();
        if (column == RCol ||
            (column == -1 && RCol >= GetFixedCols() && RCol < GetColCount() + FNumHidden - FFixedRightCols)) {
            const bool matchCase = FSearchPanel && FSearchPanel->GetMatchCase();
            text = HighlightHTMLText(text, searchText, L"hi", matchCase, search->GetHighLight() == hFullCell);
        }
    }

    Byte kind = ClassifyCellText(text, GetEnableHTML());
    if (kind == 3) {
        GetCellTextForSave(RCol, ARow, text);
        kind = ClassifyCellText(text, GetEnableHTML());
    }
    bool password = false;
    DoIsPasswordCell(RCol, ARow, password);
    if (password)
        text = String(text.size(), FPasswordChar);

    TRect T = P.R;
    if (P.Fixed) {
        T.left += FGridLineWidth;
        T.top += FGridLineWidth;
    }
    std::optional<TClipToRect> scrollClip;
    if (P.ScrollPos > 0) {
        scrollClip.emplace(dc, P.R);
        T.top -= P.ScrollPos;
    }

    if (P.FilterGlyph) {
        TFilterDropDown* drop = FFilterDropDown.get();
        TBitmap* glyph = ColumnFilterActive(RCol) ? drop->GetGlyphActive() : drop->GetGlyph();
        if (glyph && !glyph->GetEmpty()) {
            const bool wasTransparent = glyph->GetTransparent();
            glyph->SetTransparent(true);
            Canvas->Draw(T.right - 16, T.top, glyph);
            glyph->SetTransparent(wasTransparent);
        } else {
            DrawResourceBitmapTransparent(Canvas, GetFixedColor(), TRect(T.right - 16, T.top, T.right, T.top + 16),
                                          L"ASGFILT");
        }
    }

    const bool normal = !P.Fixed;
    if (normal && !FPress.FMouseDown &&
        ((actions->GetDisjunctRowSelect() && !GetRowSelect(RealRowIndex(ARow))) ||
         (actions->GetDisjunctColSelect() && !GetColSelect(P.ACol)))) {
        urlColor = FURLColor;
        brush->SetColor(GetColor());
        font->SetColor(GetFont()->GetColor());
        DoGetCellColor(RCol, ARow, P.State, brush, font);
        if (FZoomFactor != 0)
            font->SetSize(std::max(1, font->GetSize() + FZoomFactor));
    }

    const bool cellsMatch = FBackGround->GetCells() == bcAll || (FBackGround->GetCells() == bcFixed) == P.Fixed;
    const bool ownColour = HasCellProperties(RCol, ARow) && GetCellProperties(RCol, ARow)->GetBrushColor() != clNone;
    if (!FBackGround->GetBitmap()->GetEmpty() && !ownColour && cellsMatch && !(selected && shown)) {
        const TRect r(T.left - FGridLineWidth + 1, T.top - FGridLineWidth + 1, T.right, T.bottom);
        if (FBackGround->GetDisplay() == bdTile)
            DrawCellBackgroundTiles(Canvas, P.ACol, ARow, r);
        else
            DrawCellBackgroundPicture(Canvas, r);
    }
    if (FBackGround->IsGradient() && cellsMatch &&
        !((selected || (P.State.Contains(gdFocused) && options.Contains(goDrawFocusSelected))) && shown)) {
        const TCellType gk = P.Graphic ? P.Graphic->GetCellType() : ctEmpty;
        const bool controlKind = gk == ctCheckBox || gk == ctDataCheckBox || gk == ctRadio || gk == ctButton ||
                                 gk == ctRadioButton;
        if (!ownColour || controlKind)
            DrawCellBackgroundGradient(
                Canvas, TRect(T.left - 1, T.top - FGridLineWidth, T.right, T.bottom + FGridLineWidth - 1));
    }

    if (FSelectionRectangle && normal) {
        const TGridRect sel = GetSelection();
        const TPoint base = BaseCell(RCol, ARow);
        const int col = DisplColIndex(base.x);
        if (sel.Contains(col, base.y) || sel.Contains(P.ACol, ARow)) {
            const int thick = options.Contains(goHorzLine) || options.Contains(goVertLine) ? 2 : 1;
            pen->SetColor(FSelectionRectangleColor);
            pen->SetWidth(thick);
            const bool leftCol = P.ACol == sel.Left, rightCol = P.ACol == sel.Right;
            const int top = T.top - FGridLineWidth;
            if (leftCol)
                Line(Canvas, T.left - FGridLineWidth + thick, T.bottom, T.left - FGridLineWidth + thick, top);
            if (rightCol)
                Line(Canvas, T.right - 1, T.bottom, T.right - 1, top);
            const int left = T.left - FGridLineWidth - (leftCol ? 0 : 1);
            const int right = rightCol ? T.right - 1 : T.right;
            if (ARow == sel.Top)
                Line(Canvas, left, top + thick, right, top + thick);
            if (ARow == sel.Bottom)
                Line(Canvas, left, T.bottom - (thick == 2 ? 0 : 1), right, T.bottom - (thick == 2 ? 0 : 1));
            if (FSelectionResizer && P.ACol == sel.Right && ARow == sel.Bottom)
                FillRectColor(Canvas, TRect(T.right - 4, T.bottom - 4, T.right, T.bottom), FSelectionRectangleColor);
            pen->SetWidth(1);
        }
    }

    if (!P.ShowText)
        return;
    T.left += FXYOffset.x;
    T.top += FXYOffset.y;
    if (!FXYOffsetTopLeftOnly)
        T.right -= FXYOffset.x;
    int offset = 0;
    if (P.Graphic) {
        const int W = P.GraphicWidth;
        const int H = P.GraphicHeight;
        if (P.HA == taLeftJustify && P.GraphicHA == haBeforeText) {
            T.left += W;
            offset = W;
        }
        if (P.GraphicHA == haLeft)
            offset = W;
        if ((P.HA == taLeftJustify || P.HA == taCenter) && P.GraphicHA == haAfterText)
            T.right -= W;
        if (P.HA == taRightJustify && P.GraphicHA == haAfterText)
            T.right -= W;
        if ((P.HA == taRightJustify || P.HA == taCenter) && P.GraphicHA == haBeforeText)
            T.left += W;
        if (P.GraphicVA == vaAboveText)
            T.top += H;
        if (P.GraphicVA == vaUnderText)
            T.bottom -= H;
    }
    if (RCol == 0 && HasNodes() && !(P.Graphic && P.Graphic->GetCellType() == ctNode))
        T.left += GetRowNodeIndent(ARow);

    // A filter-edit cell shows the column's filter type as an icon before
    // the text, and its name in place of an empty text.
    String placeholder;
    const bool filterEdit = DoHasFilterEdit(RCol, ARow);
    if (filterEdit) {
        const int type = FFilter->HasFilterType(RCol);
        if (FFltrList && type >= 0 && type < FFltrList->Count())
            FFltrList->Draw(Canvas, T.left, T.top, type, true);
        T.left += 18;
        offset += 18;
        TStringList* names = FFilterEdit->GetTypeNames();
        if (type >= 0 && type < names->Count())
            placeholder = names->Get(type);
    }

    const bool sortHeader = IsSortHeader(RCol, ARow);
    const bool rtl = UseRightToLeftAlignment();
    const auto mirror = [this, rtl](TRect& r) {
        if (rtl && HandleAllocated()) {
            const int width = GetClientWidth();
            r = TRect(width - r.right, r.top, width - r.left, r.bottom);
        }
    };
    if (font->GetColor() == clNone)
        font->SetColor(clWindowText);

    if (kind == 1) {
        if (P.FilterGlyph)
            T.right -= 18;
        T.left -= 1;
        if (sortHeader)
            T.right -= 10;
        mirror(T);
        String anchor, strip, focusAnchor, hint, controlID, controlValue, controlType;
        int xsize = 0, ysize = 0, links = 0, mouseLink = 0;
        TRect hoverRect, controlRect;
        const int hoverLink = FHoverHTMLCell.x == RCol && FHoverHTMLCell.y == ARow ? FHoverHTMLLink : -1;
        GridHTMLDraw(Canvas, text, T, GetCellImageList(RCol, ARow), T.left, T.top, -1, hoverLink, 1, false, false,
                     false, false, FGridBlink, false, !FEnhTextSize, false, L"", 0.0,
                     urlColor, clNone, clNone, 0x808080, anchor, strip, focusAnchor, hint, xsize, ysize, links,
                     mouseLink, hoverRect, controlRect, controlID, controlValue, controlType, FImageCache.get(),
                     nullptr, HandleAllocated() ? GetHandle() : nullptr, GetBiDiMode());
        if (sortHeader) {
            const int y = P.VA == vtaTop ? T.top + 8 : P.VA == vtaCenter ? T.top + (T.bottom - T.top) / 2 : T.bottom - 8;
            DrawSortIndicator(Canvas, RCol, T.right + 2, y);
        }
        return;
    }
    if (kind == 2) {
        pen->SetColor(brush->GetColor());
        if (!(selected && !P.State.Contains(gdFocused) && FSelectionColor == clNone))
            FillRectColor(Canvas, T, brush->GetColor());
        brush->SetStyle(bsClear);
        mirror(T);
        DrawRichTextCell(RCol, ARow, T, Canvas);
        brush->SetStyle(bsSolid);
        font->SetColor(clBlack);
        return;
    }

    // Plain text.
    const TSortSettings* sort = FSortSettings.get();
    if (P.HA == taCenter && sortHeader)
        T.left += 10;
    const bool url = FURLShow && ContainsURL(text);
    if (url) {
        if (!FURLFull)
            StripURLScheme(text);
        font->SetStyle(font->GetStyle() + fsUnderline);
        font->SetColor(Visible(urlColor));
    }
    const int lines = CountTextLines(text, FMultilineCells);
    UINT format = DT_EDITCONTROL;
    if (lines == 1 && !P.WW) {
        String first;
        String rest = text;
        TakeFirstLine(rest, false, first);
        text = first;
        format |= DT_SINGLELINE;
        if (FEnhTextSize)
            format |= DT_END_ELLIPSIS;
    }
    if (P.WW && !FMultilineCells && FEnhTextSize)
        format |= DT_END_ELLIPSIS;
    format |= DT_EXPANDTABS | DT_NOPREFIX;
    format |= P.HA == taRightJustify ? DT_RIGHT : P.HA == taCenter ? DT_CENTER : DT_LEFT;
    const UINT vertical = P.VA == vtaBottom ? DT_BOTTOM : P.VA == vtaCenter ? DT_VCENTER : DT_TOP;
    format |= vertical;
    format |= P.WW ? (DT_WORDBREAK | DT_EDITCONTROL) : DT_SINGLELINE;
    if (rtl)
        format |= DT_RTLREADING;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const TScopeExit restoreMode([dc, oldMode] { SetBkMode(dc, oldMode); });
    if (P.FilterGlyph)
        T.right -= 16;
    mirror(T);
    const TColor textColor = font->GetColor();
    font->SetColor(Visible(textColor));
    // A font changed since the handle was taken is selected again.
    dc = Canvas->GetHandle();

    if (P.Graphic && !text.empty()) {
        RECT measure = T;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, format | DT_CALCRECT);
        P.TextWidth = measure.right - measure.left + 2;
    }
    if (FMultilineCells && lines > 1) {
        RECT probe{0, 0, 1000, 1000};
        DrawTextW(dc, L"gh", 2, &probe, DT_SINGLELINE | DT_CALCRECT);
        const int lineHeight = probe.bottom - probe.top;
        int top = T.top;
        if (P.VA == vtaCenter)
            top = T.top + (T.bottom - T.top - lines * lineHeight) / 2;
        else if (P.VA == vtaBottom)
            top = T.bottom - lines * lineHeight;
        String rest = text;
        const UINT lineFormat = format & ~(DT_VCENTER | DT_BOTTOM);
        while (!rest.empty()) {
            String line;
            TakeFirstLine(rest, true, line);
            RECT r{T.left, top, T.right, T.bottom};
            top += DrawTextExW(dc, line.data(), static_cast<int>(line.size()), &r, lineFormat, nullptr);
        }
    } else {
        if (text.empty() && filterEdit && !placeholder.empty()) {
            font->SetStyle(font->GetStyle() + fsItalic);
            font->SetColor(0x808080);
            text = placeholder;
        } else if (filterEdit) {
            font->SetStyle({});
        }
        if (format & DT_SINGLELINE && text.size() > 4096)
            text.resize(4096);
        RECT r = T;
        // A font changed since the handle was taken is selected again.
        DrawTextExW(Canvas->GetHandle(), text.data(), static_cast<int>(text.size()), &r, format, nullptr);
    }

    if (P.Graphic && P.Graphic->GetCellErrLen() > 0 &&
        (P.Graphic->GetCellType() == ctEmpty || P.Graphic->GetCellType() == ctValue))
        DrawErrorUnderline(this, Canvas, text, T, 0, P.Graphic->GetCellErrFrom(), P.Graphic->GetCellErrLen());

    if (sortHeader) {
        TRect S = P.R;
        if (P.FilterGlyph)
            S.right -= 16;
        const int textWidth = Canvas->TextWidth(text);
        const int V = std::max<int>(0, std::min<int>(S.right - S.left - 16, textWidth));
        int x = S.left + 8;
        if (P.HA == taLeftJustify)
            x = S.left + V + offset + 10;
        else if (P.HA == taRightJustify)
            x = S.right - V - 10;
        const int y = P.VA == vtaTop ? S.top + 8 : P.VA == vtaCenter ? S.top + (S.bottom - S.top) / 2 : S.bottom - 8;
        DrawSortIndicator(Canvas, RCol, x, y);
    }
    if (url)
        font->SetStyle(font->GetStyle() - fsUnderline);
    (void)sort;
}

void TAdvStringGrid::DrawCellBorders(TCanvas* Canvas, int RCol, int ARow, TRect R)
{
    TPen* canvasPen = Canvas->GetPen();
    TOwned<TPen> pen(New<TPen>());
    pen->Assign(canvasPen);
    TCellBorders borders;
    DoGetCellBorder(RCol, ARow, pen.get(), borders);
    if (borders.Empty())
        return;
    TOwned<TPen> left(New<TPen>()), top(New<TPen>()), right(New<TPen>()), bottom(New<TPen>());
    for (TPen* p : {left.get(), top.get(), right.get(), bottom.get()})
        p->Assign(pen.get());
    if (OnGetCellBorderProp)
        OnGetCellBorderProp(this, ARow, RCol, left.get(), top.get(), right.get(), bottom.get());
    TOwned<TPen> saved(New<TPen>());
    saved->Assign(canvasPen);
    const int half = (pen->GetWidth() + 1) / 2;
    const TGridOptions options = GetOptions();
    if (options.Contains(goVertLine))
        R.left += half;
    if (options.Contains(goHorzLine))
        R.bottom += half;
    if (ARow < GetFixedRows() || RCol < GetFixedCols())
        --R.left;
    const int inset = options.Contains(goHorzLine) ? half : 0;
    if (borders.Contains(cbLeft)) {
        canvasPen->Assign(left.get());
        Line(Canvas, std::max<int>(0, R.left), R.top, std::max<int>(0, R.left), R.bottom);
    }
    if (borders.Contains(cbRight)) {
        canvasPen->Assign(right.get());
        Line(Canvas, R.right - 1, R.top, R.right - 1, R.bottom);
    }
    if (borders.Contains(cbTop)) {
        canvasPen->Assign(top.get());
        const int y = FGridLineWidth == 0 ? R.top + 2 + inset : std::max<int>(0, R.top + 1 + inset - FGridLineWidth);
        Line(Canvas, R.left, y, R.right, y);
    }
    if (borders.Contains(cbBottom)) {
        canvasPen->Assign(bottom.get());
        Line(Canvas, R.left, R.bottom - 1, R.right, R.bottom - 1);
    }
    canvasPen->Assign(saved.get());
}

void TAdvStringGrid::DrawCellBackgroundPicture(TCanvas* Canvas, const TRect& R)
{
    TBitmap* picture = FBackGround->GetBitmap();
    const TRect placed(FBackGround->GetLeft(), FBackGround->GetTop(), FBackGround->GetLeft() + picture->GetWidth(),
                       FBackGround->GetTop() + picture->GetHeight());
    RECT overlap;
    if (!IntersectRect(&overlap, &R, &placed))
        return;
    const TRect source(overlap.left - placed.left, overlap.top - placed.top, overlap.right - placed.left,
                       overlap.bottom - placed.top);
    Canvas->CopyRect(TRect(overlap), picture->GetCanvas(), source);
}

void TAdvStringGrid::DrawCellBackgroundTiles(TCanvas* Canvas, int ACol, int ARow, const TRect& R)
{
    TBitmap* picture = FBackGround->GetBitmap();
    const int pw = picture->GetWidth();
    const int ph = picture->GetHeight();
    if (pw <= 0 || ph <= 0)
        return;
    const bool fromZero = FBackGround->GetCells() != bcNormal;
    int x = 0, y = 0;
    for (int c = fromZero ? 0 : GetFixedCols(); c < ACol; ++c)
        x += std::max(0, GetColWidths(c));
    for (int r = fromZero ? 0 : GetFixedRows(); r < ARow; ++r)
        y += std::max(0, GetRowHeights(r));
    const TClipToRect clip(Canvas->GetHandle(), R);
    for (int ty = R.top - 1 - y % ph; ty < R.bottom; ty += ph)
        for (int tx = R.left - 1 - x % pw; tx < R.right; tx += pw)
            Canvas->Draw(tx, ty, picture);
}

void TAdvStringGrid::DrawCellBackgroundGradient(TCanvas* Canvas, TRect R)
{
    const bool horizontal = FBackGround->GetDisplay() == bdGradientHorz;
    const int extent = horizontal ? GetClientWidth() : GetClientHeight();
    if (!GetOptions().Contains(goHorzLine))
        ++R.bottom;
    const TColor from = ColorToRGB(FBackGround->GetColor());
    const TColor to = ColorToRGB(FBackGround->GetColorTo());
    const TColor start = InterpolateColor(from, to, 0, extent, horizontal ? R.left : R.top);
    const TColor end = InterpolateColor(from, to, 0, extent, horizontal ? R.right : R.bottom);
    Canvas->GetBrush()->SetColor(end);
    Canvas->GetPen()->SetColor(end);
    DrawStepGradient(Canvas, start, end, 128, R, horizontal);
}

void TAdvStringGrid::DrawRotatedText(TCanvas* Canvas, const TRect& R, const TRect& G, const String& Text, int Angle,
                                     int RCol, int ARow)
{
    LOGFONTW lf{};
    GetObjectW(Canvas->GetFont()->GetHandle(), sizeof(lf), &lf);
    lf.lfEscapement = Angle * 10;
    lf.lfOrientation = Angle * 10;
    const TFontHandle rotated(CreateFontIndirectW(&lf));
    HDC dc = Canvas->GetHandle();
    const TSelectObject select(dc, rotated.Get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, ColorToRGB(Visible(Canvas->GetFont()->GetColor())));
    TRect r = R;
    InflateRect(&r, -1, -1);
    const int lines = CountTextLines(Text, FMultilineCells || GetWordWrap());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    if ((Angle == 90 || Angle == 270 || Angle == -90) && lines > 1) {
        String rest = Text;
        int step = 0;
        while (!rest.empty()) {
            String line;
            TakeFirstLine(rest, true, line);
            const int x = Angle == 90 ? r.left + step : r.right - step;
            const int y = Angle == 90 ? r.bottom : r.top;
            ExtTextOutW(dc, x, y, ETO_CLIPPED, &r, line.c_str(), static_cast<UINT>(line.size()), nullptr);
            step += tm.tmHeight;
        }
    } else {
        const int x = Angle == 90 ? r.left : Angle == 270 ? r.right : r.left;
        const int y = Angle == 90 ? r.bottom : r.top;
        ExtTextOutW(dc, x, y, ETO_CLIPPED, &r, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
    }
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    if (IsSortHeader(RCol, ARow))
        DrawSortIndicator(Canvas, RCol, G.right - 10, G.top + 8);
}

void TAdvStringGrid::DrawFilePictureGraphic(TCanvas* Canvas, const TRect& G, TCellGraphic* Graphic)
{
    if (auto* picture = dynamic_cast<TFilePicture*>(Graphic->GetCellBitmap()))
        picture->DrawPicture(Canvas, G);
}

void TAdvStringGrid::DrawRichTextCell(int ACol, int ARow, const TRect& Rect, TCanvas* Canvas)
{
    if (DesignTime() || !HandleAllocated())
        return;
    TRichEdit* rich = PaintRichEdit();
    if (!rich)
        return;
    CellToRich(ACol, ARow, rich);
    HWND edit = rich->GetHandle();
    const bool selected = GetSelection().Contains(DisplColIndex(ACol), ARow) &&
                          !(ACol == RealColIndex(GetCol()) && ARow == GetRow() &&
                            !GetOptions().Contains(goDrawFocusSelected));
    HDC dc = Canvas->GetHandle();
    if (selected && !FSelectionRTFKeep && GetMapMode(dc) == MM_TEXT && FSelectionTextColor != clNone) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        CHARFORMAT2W cf{};
        cf.cbSize = sizeof(cf);
        cf.dwMask = CFM_COLOR;
        cf.crTextColor = ColorToRGB(FSelectionTextColor);
        SendMessageW(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        SendMessageW(edit, EM_SETSEL, 0, 0);
    }
    TRect device = Rect;
    LPtoDP(dc, reinterpret_cast<POINT*>(&device), 2);
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX) > 0 ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    const int dpiY = GetDeviceCaps(dc, LOGPIXELSY) > 0 ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    const int oldMode = SetMapMode(dc, MM_TEXT);
    FORMATRANGE range{};
    range.hdc = dc;
    range.hdcTarget = dc;
    const auto twips = [](double pixels, int dpi) { return static_cast<int>(std::lround(pixels / dpi * 1440)); };
    range.rc.left = twips(device.left + FXYOffset.x * dpiX / 96.0, dpiX);
    range.rc.top = twips(device.top + FXYOffset.y * dpiY / 96.0, dpiY);
    range.rc.right = range.rc.left + twips(device.right - device.left - 2 * FXYOffset.x, dpiX);
    range.rc.bottom = range.rc.top + twips(device.bottom - device.top - 2 * FXYOffset.y, dpiY);
    range.rcPage = range.rc;
    range.chrg.cpMin = 0;
    range.chrg.cpMax = -1;
    const LRESULT rendered = SendMessageW(edit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    SendMessageW(edit, EM_FORMATRANGE, FALSE, 0);
    SetMapMode(dc, oldMode);
    // Where the control formats nothing (some rich edits answer the range
    // without drawing), its own painting of the text goes into the cell.
    if (rendered <= 0) {
        // The control paints at screen size; a printed cell (other units,
        // another resolution) gets that picture stretched over its device
        // rectangle.
        const TRect cell(std::min(device.left, device.right), std::min(device.top, device.bottom),
                         std::max(device.left, device.right), std::max(device.top, device.bottom));
        const int offsetX = static_cast<int>(std::lround(FXYOffset.x * dpiX / 96.0));
        const int offsetY = static_cast<int>(std::lround(FXYOffset.y * dpiY / 96.0));
        const int deviceWidth = cell.right - cell.left - 2 * offsetX;
        const int deviceHeight = cell.bottom - cell.top - 2 * offsetY;
        const int width = static_cast<int>(std::lround(deviceWidth * 96.0 / dpiX));
        const int height = static_cast<int>(std::lround(deviceHeight * 96.0 / dpiY));
        if (width <= 0 || height <= 0)
            return;
        rich->SetBounds(-width - 10, -height - 10, width, height);
        TOwned<TBitmap> picture(New<TBitmap>());
        picture->SetPixelFormat(pf32bit);
        picture->SetSize(width, height);
        const TColor background = Canvas->GetBrush()->GetColor() == clNone ? clWhite : Canvas->GetBrush()->GetColor();
        SendMessageW(edit, EM_SETBKGNDCOLOR, 0, ColorToRGB(background));
        SendMessageW(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture->GetCanvas()->GetHandle()),
                     PRF_CLIENT | PRF_ERASEBKGND);
        POINT viewport{}, window{};
        GetViewportOrgEx(dc, &viewport);
        GetWindowOrgEx(dc, &window);
        const int mode = SetMapMode(dc, MM_TEXT);
        SetViewportOrgEx(dc, 0, 0, nullptr);
        SetWindowOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, cell.left + offsetX, cell.top + offsetY, deviceWidth, deviceHeight,
                   picture->GetCanvas()->GetHandle(), 0, 0, width, height, SRCCOPY);
        SetMapMode(dc, mode);
        SetWindowOrgEx(dc, window.x, window.y, nullptr);
        SetViewportOrgEx(dc, viewport.x, viewport.y, nullptr);
    }
}

TRichEdit* TAdvStringGrid::PaintRichEdit()
{
    if (!FPaintRichEdit && GetParent()) {
        // Hidden and out of sight: it only formats cell texts for painting.
        FPaintRichEdit = New<TRichEdit>(this);
        FPaintRichEdit->SetVisible(false);
        FPaintRichEdit->SetBorderStyle(bsNone);
        FPaintRichEdit->SetParent(GetParent());
    }
    return FPaintRichEdit;
}

void TAdvStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    TBaseGrid::MouseMove(Shift, X, Y);
    // The fixed cell under the mouse paints in the look's hover colours.
    int col = -1, row = -1;
    MouseToCell(X, Y, col, row);
    if (!DesignTime())
        TrackHoverButton(col, row, X, Y);
    if (col < 0 || row < 0 || !IsHoverFixedCell(col, row)) {
        ResetFixedCellHighlight();
        return;
    }
    if (col == FHoverFixedX && row == FHoverFixedY)
        return;
    ResetFixedCellHighlight();
    FHoverFixedX = col;
    FHoverFixedY = row;
    RepaintCell(col, row);
}
