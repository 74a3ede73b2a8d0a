// The floating footer: its settings' writers, the calculation of the footer
// row and the panel that draws the footer under the cells while the grid
// scrolls.
//
// The panel counts its columns as it draws them: the fixed columns first,
// then the columns from the grid's left column on; hints and clicks find
// their column the same way, so a click after scrolling names the column
// under the mouse.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "GdiHandles.h"
#include "GridHTML.h"
#include <algorithm>
#include <utility>
#include <vector>

// --- settings ------------------------------------------------------------------------------

void TFloatingFooter::Invalidate()
{
    if (grid_ && grid_->GetFooterPanel())
        grid_->GetFooterPanel()->Invalidate();
}

void TFloatingFooter::SetColor(TColor Value)
{
    color_ = Value;
    Invalidate();
}

void TFloatingFooter::SetBorderColor(TColor Value)
{
    if (StoreChanged(borderColor_, Value))
        Invalidate();
}

void TFloatingFooter::SetColumn(int Value)
{
    column_ = Value;
    Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const String& Value)
{
    customTemplate_ = Value;
    Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle Value)
{
    footerStyle_ = Value;
    FireEvent(OnChange, this);
    Invalidate();
}

void TFloatingFooter::SetShowHint(bool Value)
{
    showHint_ = Value;
    if (grid_ && grid_->GetFooterPanel())
        grid_->GetFooterPanel()->SetShowHint(Value);
}

void TFloatingFooter::SetHeight(int Value)
{
    height_ = Value;
    // A hidden footer keeps its panel folded away.
    if (grid_ && grid_->GetFooterPanel() && Value > 0 && visible_)
        grid_->GetFooterPanel()->SetHeight(Value - 1);
}

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType CalcType)
{
    if (!grid_ || ACol < 0 || ACol >= grid_->TotalColCount() || grid_->GetRowCount() == 0)
        return;
    grid_->GetCellProperties(ACol, grid_->GetRowCount() - 1)->SetCalcType(CalcType);
    grid_->RecalcFooterColumn(ACol);
}

// --- the grid's side -------------------------------------------------------------------------

void TAdvStringGrid::ApplyFloatingFooter()
{
    TFloatingFooter* footer = FFloatingFooter.get();
    const bool visible = footer->GetVisible();
    const bool preview = footer->GetFooterStyle() != fsFixedLastRow;
    SetFixedFooters(visible && !preview ? 1 : 0);
    if (!DesignTime()) {
        if (visible && preview && !footer->GetDidInc()) {
            footer->SetDidInc(true);
            SetRowCount(GetRowCount() + 1);
        } else if ((!visible || !preview) && footer->GetDidInc()) {
            footer->SetDidInc(false);
            SetRowCount(std::max(GetRowCount() - 1, 0));
        }
        if (visible && GetFixedRows() > 0)
            SetFixedRowAlways(true);
    }
    FHideLastRow = visible && !preview;
    Invalidate();
}

void TAdvStringGrid::UpdateFooter()
{
    if (FFooterPanel)
        FFooterPanel->Invalidate();
}

void TAdvStringGrid::CalcFooter(int ACol) { CalcFooterColumns(ACol); }

void TAdvStringGrid::CalcFooterColumns(int ACol)
{
    TFloatingFooter* footer = FFloatingFooter.get();
    if (!footer->GetVisible() || footer->GetFooterStyle() != fsFixedLastRow || !footer->GetEnableCalculation())
        return;
    if (GetRowCount() == 0)
        return;
    const int footerRow = GetRowCount() - 1;
    const int h = footer->GetCalculateHiddenRows() ? NumHiddenRows() : 0;
    const int first = ACol == -1 ? 0 : ACol;
    const int last = ACol == -1 ? TotalColCount() - 1 : ACol;
    for (int c = first; c <= last; ++c) {
        if (c < 0 || c >= TotalColCount() || !HasCellProperties(c, footerRow))
            continue;
        const int from = GetFixedRows();
        const int to = GetRowCount() - 2 + h;
        switch (GetCellProperties(c, footerRow)->GetCalcType()) {
        case acSUM: SetFloatCell(c, footerRow, ColumnSum(c, from, to)); break;
        case acAVG: SetFloatCell(c, footerRow, ColumnAvg(c, from, to)); break;
        case acMIN: SetFloatCell(c, footerRow, ColumnMin(c, from, to)); break;
        case acMAX: SetFloatCell(c, footerRow, ColumnMax(c, from, to)); break;
        case acDISTINCT: SetFloatCell(c, footerRow, ColumnDistinct(c, from, to)); break;
        case acSTDDEV: SetFloatCell(c, footerRow, ColumnStdDev(c, from, to)); break;
        case acCOUNT: SetIntegerCell(c, footerRow, GetRowCount() - GetFixedRows() - 1 + h); break;
        case acCUSTOM: {
            String value;
            if (OnFooterCalc) {
                OnFooterCalc(this, c, GetRowCount() - 1 + h, value);
            } else if (footer->OnCalcFooter) {
                footer->OnCalcFooter(this, c, GetRowCount() - 1 + h, value);
            }
            SetCells(c, footerRow, value);
            break;
        }
        case acNONE:
        case acSPREAD: break;
        }
    }
    UpdateFooter();
}

// --- the panel ---------------------------------------------------------------------------------

TFooterPanel::TFooterPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}

void TFooterPanel::CreateWnd()
{
    TCustomPanel::CreateWnd();
    if (!grid_)
        return;
    TFloatingFooter* footer = grid_->GetFloatingFooter();
    SetHeight(footer->GetVisible() ? std::max(footer->GetHeight(), 0) : 0);
    FireEvent(grid_->OnCreatedFloatingFooter, grid_);
}

int TFooterPanel::GetColumnsWidth()
{
    int width = 0;
    for (int c = 0; c < grid_->GetFixedCols(); ++c)
        width += grid_->GetColWidths(c);
    for (int c = grid_->GetLeftCol(); c < grid_->GetColCount(); ++c)
        width += grid_->GetColWidths(c);
    return width;
}

TRect TFooterPanel::MirrorFooterRect(const TRect& R)
{
    if (!grid_->UseRightToLeftAlignment())
        return R;
    const int width = GetClientWidth();
    return TRect(width - R.right, R.top, width - R.left, R.bottom);
}

String TFooterPanel::ExpandFooterTemplate(const String& Template)
{
    String rest = Template;
    String result;
    size_t open = 0;
    while ((open = rest.find(L"<#")) != String::npos) {
        result += rest.substr(0, open);
        const size_t close = rest.find(L'>', open + 2);
        // An unclosed placeholder ends the template where it starts.
        if (close == String::npos)
            return result;
        const String placeholder = rest.substr(open + 2, close - open - 2);
        rest.erase(0, close + 1);
        int column = 0;
        if (TryStrToInt(placeholder, column) && column >= 0 && column < grid_->TotalColCount() &&
            grid_->GetRow() >= 0 && grid_->GetRow() < grid_->GetRowCount())
            result += grid_->GetCellText(column, grid_->GetRow());
    }
    return result + rest;
}

void TFooterPanel::Paint()
{
    if (!grid_)
        return;
    TFloatingFooter* footer = grid_->GetFloatingFooter();
    int width = 0;
    switch (footer->GetFooterStyle()) {
    case fsFixedLastRow: width = PaintFixedLastRow(); break;
    case fsColumnPreview: width = PaintColumnPreview(false); break;
    case fsCustomPreview: width = PaintColumnPreview(true); break;
    case fsCustomPaint: width = PaintCustomFooter(); break;
    }
    if (footer->GetBorderColor() != clNone) {
        TCanvas* canvas = GetCanvas();
        canvas->GetPen()->SetColor(footer->GetBorderColor());
        canvas->MoveTo(0, 0);
        canvas->LineTo(width, 0);
    }
}

namespace {

bool WhiteSeparatorLook(TGridLook Look) { return Look == glSoft || Look == glPack || Look == glXP || Look == glVista; }

} // namespace

int TFooterPanel::PaintFixedLastRow()
{
    TCanvas* canvas = GetCanvas();
    TFloatingFooter* footer = grid_->GetFloatingFooter();
    const TRect client = GetClientRect();
    const int width = GetColumnsWidth();
    canvas->GetPen()->SetColor(footer->GetColor());
    canvas->GetBrush()->SetColor(footer->GetColor());
    canvas->FillRect(MirrorFooterRect(TRect(0, client.top, width, client.bottom)));
    canvas->GetBrush()->SetColor(grid_->GetColor());
    canvas->FillRect(MirrorFooterRect(TRect(width, client.top, client.right, client.bottom)));

    const TGridOptions options = grid_->GetOptions();
    const bool fixedVert = options.Contains(goFixedVertLine);
    const bool fixedHorz = options.Contains(goFixedHorzLine);
    const bool whiteLines = WhiteSeparatorLook(grid_->GetLook()) && !grid_->GetFlat();
    std::vector<int> columns;
    for (int c = 0; c < grid_->GetFixedCols(); ++c)
        columns.push_back(c);
    for (int c = grid_->GetLeftCol(); c < grid_->GetColCount(); ++c)
        columns.push_back(c);

    TPen* pen = canvas->GetPen();
    int x = 0;
    for (int c : columns) {
        if (fixedVert && whiteLines) {
            pen->SetColor(clWhite);
            canvas->MoveTo(x, client.bottom);
            canvas->LineTo(x, client.top);
        }
        x += grid_->GetColWidths(c);
        if (fixedHorz) {
            pen->SetColor(grid_->GetGridLineColor());
            canvas->MoveTo(0, client.top);
            canvas->LineTo(x - 1, client.top);
        }
        pen->SetColor(c >= grid_->GetFixedCols() && grid_->GetLook() != glVista ? TColor(0x808080)
                                                                                 : grid_->GetGridLineColor());
        if (fixedVert) {
            canvas->MoveTo(x - 1, client.top);
            canvas->LineTo(x - 1, client.bottom);
        }
    }

    const int lastRow = grid_->GetRowCount() - 1;
    if (lastRow < 0)
        return width;
    const int top = client.top + (fixedHorz ? 1 : 0);
    grid_->FNoRTLOrientation = true;
    const TScopeExit orientation([this] { grid_->FNoRTLOrientation = false; });
    int left = 0;
    int right = 0;
    for (int c : columns) {
        const int realCol = grid_->RealColIndex(c);
        right = left + grid_->GetColWidths(c) - 1;
        TRect cell(left, top, right, client.bottom);
        if (fixedHorz && whiteLines)
            cell.left += 1;
        const bool scrolling = c >= grid_->GetFixedCols();
        if (scrolling) {
            TOwned<TBrush> brush(New<TBrush>());
            brush->SetColor(clNone);
            TOwned<TFont> font(New<TFont>());
            if (grid_->OnGetCellColor) {
                grid_->OnGetCellColor(grid_, lastRow, realCol, TGridDrawState{gdFixed}, brush.get(), font.get());
                if (brush->GetColor() != clNone) {
                    canvas->GetBrush()->SetColor(brush->GetColor());
                    canvas->FillRect(MirrorFooterRect(cell));
                }
            }
            if (grid_->HasCellProperties(realCol, lastRow) &&
                grid_->GetCellProperties(realCol, lastRow)->GetBrushColor() != clNone) {
                canvas->GetBrush()->SetColor(grid_->GetCellProperties(realCol, lastRow)->GetBrushColor());
                canvas->FillRect(MirrorFooterRect(cell));
            }
        }
        if (grid_->IsBaseCell(realCol, lastRow)) {
            if (scrolling && grid_->OnFooterPaint)
                grid_->OnFooterPaint(this, c, MirrorFooterRect(cell), canvas);
            else
                grid_->DrawCellContent(canvas, c, lastRow, MirrorFooterRect(cell), TGridDrawState{gdFixed});
        }
        left = right + 1;
    }
    return right;
}

int TFooterPanel::PaintColumnPreview(bool Template)
{
    TCanvas* canvas = GetCanvas();
    TFloatingFooter* footer = grid_->GetFloatingFooter();
    const TRect client = GetClientRect();
    const int width = GetColumnsWidth();
    const TRect area = MirrorFooterRect(TRect(0, client.top, width, client.bottom));
    canvas->GetBrush()->SetColor(footer->GetColor());
    canvas->FillRect(area);
    TPen* pen = canvas->GetPen();
    pen->SetColor(0x808080);
    canvas->MoveTo(area.left, area.bottom - 1);
    canvas->LineTo(area.right - 1, area.bottom - 1);
    canvas->LineTo(area.right - 1, area.top);
    pen->SetColor(clWhite);
    canvas->LineTo(area.left, area.top);
    canvas->LineTo(area.left, area.bottom - 1);

    grid_->FNoRTLOrientation = true;
    // Set directly: the setter would repaint the grid from inside this paint.
    const TColor selectionText = std::exchange(grid_->FSelectionTextColor, clBlack);
    {
        const TScopeExit restore([this, selectionText] {
            grid_->FSelectionTextColor = selectionText;
            grid_->FNoRTLOrientation = false;
        });
        const TRect inner(area.left + 1, area.top + 1, area.right - 1, area.bottom - 1);
        if (!Template) {
            if (grid_->OnFooterPaint)
                grid_->OnFooterPaint(this, footer->GetColumn(), inner, canvas);
            else if (grid_->GetRow() >= 0 && grid_->GetRow() < grid_->GetRowCount())
                grid_->DrawCellContent(canvas, footer->GetColumn(), grid_->GetRow(), inner, TGridDrawState{});
        } else if (grid_->DesignTime()) {
            canvas->GetBrush()->SetStyle(bsClear);
            canvas->TextOut(inner.left + 2, inner.top + 2, footer->GetCustomTemplate());
            canvas->GetBrush()->SetStyle(bsSolid);
        } else {
            const TRect r(inner.left + 2, inner.top + 2, inner.right, inner.bottom);
            String anchor, strip, focusAnchor, hint, controlID, controlValue, controlType;
            int xsize = 0, ysize = 0, links = 0, mouseLink = 0;
            TRect hoverRect, controlRect;
            GridHTMLDraw(canvas, ExpandFooterTemplate(footer->GetCustomTemplate()), r, grid_->GetGridImages(), 0, 0,
                         -1, -1, 1, false, false, false, false, false, false, !grid_->GetEnhTextSize(), false, L"",
                         0.0, grid_->GetURLColor(), clNone, clNone, 0x808080, anchor, strip, focusAnchor, hint,
                         xsize, ysize, links, mouseLink, hoverRect, controlRect, controlID, controlValue,
                         controlType, grid_->GetImageCache(), nullptr, GetHandle(), grid_->GetBiDiMode());
        }
    }
    canvas->GetBrush()->SetColor(grid_->GetColor());
    canvas->FillRect(MirrorFooterRect(TRect(width, client.top, client.right, client.bottom)));
    return width;
}

int TFooterPanel::PaintCustomFooter()
{
    const TRect client = GetClientRect();
    if (grid_->OnFooterPaint)
        grid_->OnFooterPaint(this, grid_->GetFloatingFooter()->GetColumn(), client, GetCanvas());
    return client.right - client.left;
}

int TFooterPanel::ColumnAt(int X)
{
    int x = 0;
    for (int c = 0; c < grid_->GetFixedCols(); ++c) {
        x += grid_->GetColWidths(c);
        if (X < x)
            return c;
    }
    for (int c = grid_->GetLeftCol(); c < grid_->GetColCount(); ++c) {
        x += grid_->GetColWidths(c);
        if (X < x)
            return c;
    }
    return -1;
}

void TFooterPanel::Dispatch(TMessage& Message)
{
    if (grid_ && Message.Msg == CM_HINTSHOW) {
        auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
        const bool showHint = grid_->GetFloatingFooter()->GetShowHint();
        const int column = info ? ColumnAt(info->CursorPos.x) : -1;
        if (info && column >= 0 && grid_->OnGridHint)
            grid_->OnGridHint(grid_, grid_->GetRowCount() - 1, column, info->HintStr);
        lastHintX_ = showHint && column >= 0 ? column : -1;
        Message.Result = showHint ? 0 : 1;
        return;
    }
    if (Message.Msg == CM_MOUSELEAVE)
        lastHintX_ = -1;
    TCustomPanel::Dispatch(Message);
}

void TFooterPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseMove(Shift, X, Y);
    if (!grid_ || !grid_->GetFloatingFooter()->GetShowHint() || lastHintX_ < 0)
        return;
    const int column = ColumnAt(X);
    if (column != lastHintX_) {
        if (Application)
            Application->CancelHint();
        lastHintX_ = column;
    }
}

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (!grid_)
        return;
    FireEvent(grid_->OnClick, grid_);
    const int column = ColumnAt(X);
    if (column >= 0)
        grid_->DoClickCell(grid_->GetRowCount() - 1, column);
}
