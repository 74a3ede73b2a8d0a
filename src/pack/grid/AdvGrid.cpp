// The data grid's life cycle, its counts, and the current cell, selection
// and view in display indexes, with the hidden selection.
#include "AdvGrid.h"
#include <algorithm>

// --- life cycle -------------------------------------------------------------------

TAdvStringGrid::TAdvStringGrid(TComponent* AOwner) : TBaseGrid(AOwner)
{
    FGridItems.reset(New<THiddenRowItems>(this));
    FColumnOrder.reset(New<TIntList>(0, 0));
    FSuppressColSizes.reset(New<TIntList>(0, 0));
    FIgnoreColumns.reset(New<TIntList>(0, 0));
    FFixedFont.reset(New<TFont>());
    FFixedFont->SetName(L"Tahoma");
    FFixedFont->SetStyle(TFontStyles() << fsBold);
    FFixedFont->OnChange = [this](TObject*) { Invalidate(); };
    FVisibleCol.assign(static_cast<size_t>(GetColCount()), true);
    FAllColWidths.assign(static_cast<size_t>(GetColCount()), 0);
    for (int c = 0; c < GetColCount(); ++c)
        FSuppressColSizes->Add(GetColWidths(c));
    FMaxRowCount = GetRowCount();
    FMaxColCount = GetColCount();
    CreateOwnedObjects();
}

TAdvStringGrid::~TAdvStringGrid() = default;

void TAdvStringGrid::BeforeDestruction()
{
    WatchOfficeTheme(false);
    ForgetFocusFrame();
    if (FColumnSize->GetSave()) {
        // A store that cannot be written must not stop the grid going away.
        try {
            SaveColSizes();
        } catch (const Exception&) {
        }
    }
    // Hidden rows hold their cells' properties; the grid frees them where
    // they are rather than bringing every row back first.
    for (int i = 0; i < FGridItems->Count(); ++i) {
        TStrings* items = FGridItems->Item(i)->GetItems();
        for (int c = 0; c < items->Count(); ++c)
            if (auto* props = dynamic_cast<TCellProperties*>(items->GetObject(c))) {
                items->PutObject(c, nullptr);
                props->Free();
            }
    }
    FGridItems->Clear();
    // Rows and columns that were ever in the grid may still hold properties.
    FreeCellPropertiesRange(0, 0, std::max(FMaxColCount, TotalColCount()) - 1,
                            std::max(FMaxRowCount, GetRowCount()) - 1);
    TBaseGrid::BeforeDestruction();
}

// --- counts -------------------------------------------------------------------------

void TAdvStringGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    FitColumnFlags();
    FlatApplyAll();
    UpdateVScrollBar();
    UpdateHScrollBar();
    for (int c = FSuppressColSizes->Count(); c < GetColCount(); ++c)
        FSuppressColSizes->Add(GetColWidths(c));
    FMaxRowCount = std::max(FMaxRowCount, GetRowCount());
    FMaxColCount = std::max(FMaxColCount, GetColCount());
    // A grid that grows again gives a hidden selection its first normal cell.
    if (FSelectionParked && GetFixedCols() < GetColCount() && GetFixedRows() < GetRowCount() &&
        (GetRowCount() > OldRowCount || GetColCount() > OldColCount))
        FocusCell(GetFixedCols(), GetFixedRows());
}

void TAdvStringGrid::SetFixedFooters(int Value)
{
    FFixedFooters = std::max(Value, 0);
    Invalidate();
}

void TAdvStringGrid::SetFixedRightCols(int Value)
{
    FFixedRightCols = std::max(Value, 0);
    Invalidate();
}

// --- current cell and selection ---------------------------------------------------------

int TAdvStringGrid::GetCol() const
{
    return FSelectionParked ? GetColCount() : TStringGrid::GetCol();
}

int TAdvStringGrid::GetRowEx() const
{
    return FSelectionParked ? GetRowCount() : TStringGrid::GetRow();
}

void TAdvStringGrid::SetRowEx(int Value)
{
    if (GetCol() < 0 || GetCol() >= GetColCount())
        FocusCell(GetFixedCols(), Value);
    FSelectionParked = false;
    TStringGrid::SetRow(Value);
    FAECol = -1;
    FAERow = -1;
    if (GetRow() != FOldRowSel && OnRowUpdate) {
        OnRowUpdate(this, FOldRowSel, GetRow());
        FOldRowSel = GetRow();
    }
    if (FMouseActions && FMouseActions->GetDisjunctRowSelect())
        SelectionToRowSelect(false);
    if (FSyncGrid && FSyncGrid->GetGrid() && FSyncGrid->GetSelectionRow())
        FSyncGrid->GetGrid()->SetRow(Value);
    FDisSelection = GetSelection();
}

void TAdvStringGrid::SetTopRowEx(int Value)
{
    if (Value >= GetFixedRows() && Value <= GetRowCount() - 1)
        TStringGrid::SetTopRow(Value);
}

TGridRect TAdvStringGrid::GetSelection() const
{
    if (FSelectionParked)
        return {GetColCount(), GetRowCount(), GetColCount(), GetRowCount()};
    return TStringGrid::GetSelection();
}

void TAdvStringGrid::SetSelection(const TGridRect& Value)
{
    auto inside = [this](int c, int r) { return c >= 0 && r >= 0 && c < GetColCount() && r < GetRowCount(); };
    if (!inside(Value.Left, Value.Top) || !inside(Value.Right, Value.Bottom)) {
        // The class library keeps its selection inside; the grid answers for
        // one outside and draws none.
        if (!FSelectionParked) {
            FSelectionParked = true;
            Invalidate();
        }
        return;
    }
    if (FSelectionParked) {
        FSelectionParked = false;
        Invalidate();
    }
    TStringGrid::SetSelection(Value);
    // The headers of the active cell and the active row show where it went.
    if (FActiveCellShow) {
        InvalidateRow(0);
        InvalidateCol(0);
    }
    if (GetActiveRowShow())
        RepaintRow(Value.Bottom);
}

void TAdvStringGrid::FocusCell(int ACol, int ARow)
{
    SetSelection({ACol, ARow, ACol, ARow});
}

void TAdvStringGrid::MoveCurrentCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= GetColCount() || ARow >= GetRowCount())
        return;
    FSelectionParked = false;
    MoveColRow(ACol, ARow, true, true);
}

bool TAdvStringGrid::SelectCell(int ACol, int ARow)
{
    const bool selected = CanSelectCell(ACol, ARow);
    // The keys and the mouse move the class library's current cell: a hidden
    // selection shows again where they take it.
    if (selected && FSelectionParked && ACol >= 0 && ARow >= 0 && ACol < GetColCount() && ARow < GetRowCount()) {
        FSelectionParked = false;
        Invalidate();
    }
    return selected;
}

void TAdvStringGrid::HideSelection()
{
    FOldSelection = GetSelection();
    SetSelection({GetColCount(), GetRowCount(), GetColCount(), GetRowCount()});
    FSelHidden = true;
}

bool TAdvStringGrid::IsSelectionHidden() const
{
    const TGridRect sel = GetSelection();
    return sel.Left == GetColCount() && sel.Top == GetRowCount() && sel.Right == GetColCount();
}

void TAdvStringGrid::UnHideSelection()
{
    FSelHidden = false;
    if (FOldSelection.Top < GetRowCount() && FOldSelection.Left < GetColCount() && FOldSelection.Top >= 0 &&
        FOldSelection.Left >= 0) {
        // Rows or columns may have gone since: the saved corner comes back inside.
        TGridRect sel = FOldSelection;
        sel.Right = std::min(sel.Right, GetColCount() - 1);
        sel.Bottom = std::min(sel.Bottom, GetRowCount() - 1);
        SetSelection(sel);
    } else {
        FocusCell(GetFixedCols(), GetFixedRows());
    }
}

void TAdvStringGrid::UpdateEditMode()
{
    SelectCell(GetCol(), GetRow());
}

void TAdvStringGrid::ScrollInView(int ACol, int ARow, TScrollPosition Position)
{
    const int colCount = GetColCount();
    const int rowCount = GetRowCount();
    if (ACol < 0 || ARow < 0 || ACol >= colCount || ARow >= rowCount)
        return;
    const int visibleCols = GetVisibleColCount();
    const int visibleRows = GetVisibleRowCount();
    int left = GetLeftCol();
    int top = GetTopRow();
    if (ACol < left || ACol >= left + visibleCols) {
        if (IsSelectionHidden())
            UnHideSelection();
        TStringGrid::SetCol(ACol);
        switch (Position) {
        case spMiddle: left = ACol - visibleCols / 2; break;
        case spTrailing: left = ACol + 1 - visibleCols; break;
        case spLeading: left = ACol; break;
        }
        left = std::max(left, GetFixedCols());
    }
    if (ARow < top || ARow >= top + visibleRows) {
        SetRowEx(ARow);
        switch (Position) {
        case spMiddle: top = ARow - visibleRows / 2; break;
        case spTrailing: top = ARow - visibleRows + 1; break;
        case spLeading: top = ARow; break;
        }
        top = std::max(top, GetFixedRows());
    }
    left = std::min(left, colCount + 1 - visibleCols);
    if (GetFixedCols() + visibleCols < colCount)
        SetLeftCol(std::clamp(left, GetFixedCols(), colCount - 1));
    top = std::min(top, rowCount + 1 - visibleRows);
    if (GetFixedRows() + visibleRows < rowCount)
        SetTopRowEx(std::clamp(top, GetFixedRows(), rowCount - 1));
}

// --- hooks ----------------------------------------------------------------------------

void TAdvStringGrid::DoCellsChanged(const TRect& R)
{
    for (TGridChangeNotifier* notifier : FNotifierList)
        notifier->CellsChanged(R);
    if (OnCellsChanged)
        OnCellsChanged(this, R);
    CalcFooter(-1);
}
