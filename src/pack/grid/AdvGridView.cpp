// What follows a scroll of the grid's view: the background and selection
// repaints, the controls placed in cells moved onto their cells, a following
// grid scrolled along; and a translucent snapshot of a range of cells.
#include "AdvGrid.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include <algorithm>

namespace {

bool IsTextEditor(TEditorType e)
{
    return e == edNormal || e == edCapital || e == edLowerCase || e == edUpperCase || e == edValidChars;
}

} // namespace

// --- after a scroll ------------------------------------------------------------------

void TAdvStringGrid::HandleTopLeftChanged()
{
    TBaseGrid::HandleTopLeftChanged();
    const TGridRect sel = GetSelection();
    if (FSelectionRectangle && sel.Top != sel.Bottom)
        Invalidate();
    // A picture or gradient behind the cells does not scroll with them.
    if ((!FBackGround->GetBitmap()->GetEmpty() &&
         (FBackGround->GetDisplay() == bdFixed || FBackGround->GetDisplay() == bdTile)) ||
        FBackGround->IsGradient())
        Invalidate();
    if (GetEditorMode()) {
        TEditorType editor = FDefaultEditor;
        DoGetEditorType(GetCol(), GetRow(), editor);
        if (!IsTextEditor(editor))
            HideInplaceEdit();
    }
    if (FFloatingFooter->GetVisible())
        FFooterPanel->Invalidate();
    UpdateVScrollBar();
    UpdateHScrollBar();
    for (TScrollControl* control : {FVScrollControl, FHScrollControl})
        if (control)
            control->Invalidate();
    CellControlsUpdate(false);
    FOldLeftCol = GetLeftCol();
    FOldTopRow = GetTopRowEx();
    if (DesignTime())
        Invalidate();
    if (TStringGrid* other = FSyncGrid->GetGrid()) {
        if (FSyncGrid->GetScrollVertical() && other->GetTopRow() != GetTopRow())
            other->SetTopRow(std::min(GetTopRow(), other->GetRowCount() - 1));
        if (FSyncGrid->GetScrollHorizontal() && other->GetLeftCol() != GetLeftCol())
            other->SetLeftCol(std::min(GetLeftCol(), other->GetColCount() - 1));
    }
}

// --- controls in cells -----------------------------------------------------------------

void TAdvStringGrid::CellControlsUpdate(bool rebuildlist)
{
    if (!HandleAllocated() || !FControlList)
        return;
    if (rebuildlist) {
        while (FControlList->Count() > 0)
            FControlList->RemoveControl(FControlList->Count() - 1);
        // Column by column, as the list was always read.
        for (int c = 0; c < TotalColCount(); ++c)
            for (int r = 0; r < GetRowCount(); ++r)
                if (TCellProperties* props = PropertiesOf(c, r); props && props->GetControl())
                    FControlList->AddControl(c, RealRowIndex(r), props->GetControl());
    }
    const int lastVisibleCol = GetLeftCol() + GetVisibleColCount();
    const int lastVisibleRow = GetTopRow() + GetVisibleRowCount();
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetItem(i);
        TControl* control = item->GetControl();
        if (!control)
            continue;
        const int c = DisplColIndex(item->GetX());
        const int r = DisplRowIndex(item->GetY());
        if (IsHiddenColumn(item->GetX()) || IsHiddenRow(item->GetY()) || c >= GetColCount() || r >= GetRowCount()) {
            control->SetVisible(false);
            continue;
        }
        const bool fixed = c < GetFixedCols() || r < GetFixedRows();
        const bool inView = c >= GetLeftCol() && c <= lastVisibleCol && r >= GetTopRow() && r <= lastVisibleRow;
        const TRect rect = TStringGrid::CellRect(c, r);
        if ((inView || fixed) && !rect.IsEmpty()) {
            control->SetBounds(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1);
            control->SetVisible(true);
            // Shown again after a scroll, a control must realign its contents.
            control->Invalidate();
            control->SetWidth(control->GetWidth() + 1);
            control->SetWidth(control->GetWidth() - 1);
        } else {
            control->SetVisible(false);
        }
    }
}

// --- snapshot --------------------------------------------------------------------------

TNoActiveForm::TNoActiveForm(TComponent* AOwner) : TForm(AOwner) {}

void TNoActiveForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.Style = GetEnabled() ? WS_POPUP : WS_POPUP | WS_DISABLED | WS_BORDER;
    Params.ExStyle |= WS_EX_NOACTIVATE;
    Params.WindowClass.style |= CS_SAVEBITS;
}

void TNoActiveForm::WndProc(TMessage& Message)
{
    TForm::WndProc(Message);
    if (Message.Msg == WM_ACTIVATE)
        Message.Result = 1;
    else if (Message.Msg == WM_MOUSEACTIVATE)
        Message.Result = MA_NOACTIVATE;
}

TForm* TAdvStringGrid::SelectionToForm(const TGridRect& ARect)
{
    TOwned<TBitmap> whole(New<TBitmap>());
    whole->SetSize(GetWidth(), GetHeight());
    PaintTo(whole->GetCanvas()->GetHandle(), 0, 0);

    TRect first = TStringGrid::CellRect(ARect.Left, ARect.Top);
    TRect last = TStringGrid::CellRect(ARect.Right, ARect.Bottom);
    if (first.left > last.left || first.top > last.top)
        std::swap(first, last);
    const int width = last.right - first.left + 1;
    const int height = last.bottom - first.top + 1;
    TOwned<TBitmap> part(New<TBitmap>());
    part->SetSize(std::max(width, 1), std::max(height, 1));
    BitBlt(part->GetCanvas()->GetHandle(), 0, 0, width, height, whole->GetCanvas()->GetHandle(), first.left + 1,
           first.top + 1, SRCCOPY);
    TCanvas* canvas = part->GetCanvas();
    canvas->GetPen()->SetColor(GetGridFixedLineColor());
    if (ARect.Left == 0 && GetFixedCols() > 0 && GetOptions().Contains(goFixedHorzLine)) {
        canvas->MoveTo(0, 0);
        canvas->LineTo(0, height);
    }
    if (ARect.Top == 0 && GetFixedRows() > 0 && GetOptions().Contains(goFixedVertLine)) {
        canvas->MoveTo(0, 0);
        canvas->LineTo(width, 0);
    }

    auto* form = New<TNoActiveForm>(this);
    form->SetBorderStyle(bsNone);
    form->SetFormStyle(fsStayOnTop);
    form->SetClientWidth(width);
    form->SetClientHeight(height);
    auto* image = New<TImage>(form);
    image->SetParent(form);
    image->SetAlign(alClient);
    image->GetPicture()->SetBitmap(part.get());
    form->SetAlphaBlendValue(192);
    form->SetAlphaBlend(true);
    return form;
}
