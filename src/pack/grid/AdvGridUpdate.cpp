// The data grid's housekeeping: the update lock around bulk changes, the old
// value of the cell being edited and its validation when the edit ends, focus
// and the grid's click, and the column widths a resize scales from.
#include "AdvGrid.h"
#include <commctrl.h>
#include <functional>

// --- update lock ---------------------------------------------------------------------

void TAdvStringGrid::BeginUpdate()
{
    // Hidden grids never count: their painting is off anyway.
    if (!GetVisible())
        return;
    ++FUpdateCount;
    if (HandleAllocated())
        SendMessageW(GetHandle(), WM_SETREDRAW, FALSE, 0);
}

void TAdvStringGrid::EndUpdate()
{
    if (!GetVisible())
        return;
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (FUpdateCount > 0 || Destroying())
        return;
    FSelectionChanged = false;
    if (HandleAllocated()) {
        SendMessageW(GetHandle(), WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(GetHandle(), nullptr, FALSE);
        RepaintBorder();
        if (FControlList->Count() > 0)
            CellControlsUpdate(false);
    }
}

void TAdvStringGrid::ResetUpdate()
{
    FUpdateCount = 0;
    // A paint refused meanwhile is owed: the platform forgot the area when
    // the grid declined it.
    if (FPaintSkipped && HandleAllocated())
        ::InvalidateRect(GetHandle(), nullptr, FALSE);
    FPaintSkipped = false;
}

void TAdvStringGrid::SetLockUpdate(bool Value)
{
    if (Value)
        BeginUpdate();
    else
        EndUpdate();
}

// --- old value and validation -----------------------------------------------------------

void TAdvStringGrid::SaveOldCellValue(int ACol, int ARow)
{
    FOldCol = ACol;
    FOldRow = ARow;
    const int realCol = RealColIndex(ACol);
    if (realCol < 0 || ARow < 0 || realCol >= TotalColCount() || ARow >= GetRowCount()) {
        FOldCellText.clear();
        FOldCellTextWide.clear();
        return;
    }
    FOldCellText = ReadRawCell(realCol, ARow);
    FOldCellTextWide = GetCellWideText(realCol, ARow);
}

void TAdvStringGrid::ShowInplaceEdit()
{
    if (GetRow() < GetTopRow() && GetRow() >= GetFixedRows())
        SetTopRowEx(GetRow());
    if (GetCol() < GetLeftCol() && GetCol() >= GetFixedCols())
        SetLeftCol(GetCol());
    if (FMouseActions->GetRangeSelectAndEdit() && !GetOptions().Contains(goEditing))
        SetOptions(GetOptions() + goEditing);
    if (!FEditing) {
        SaveOldCellValue(GetCol(), GetRow());
        FEditing = true;
    }
    ShowEditor();
}

void TAdvStringGrid::DoneInplaceEdit(Word Key, TShiftState Shift)
{
    FBlockFocus = true;
    FEditing = false;
    HideInplaceEdit();
    const int lastDataRow = GetRowCount() - 1 - (FFloatingFooter->GetVisible() ? 1 : 0);
    if (Key == VK_DOWN && GetRow() == lastDataRow && FNavigation->GetAppendOnArrowDown())
        AppendRow();
    if (Key == VK_TAB || Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT) {
        Word key = Key;
        KeyDown(key, Shift);
    }
    // Taking the focus back must not open the editor again at once.
    const bool alwaysEdit = FNavigation->GetAlwaysEdit();
    FNavigation->SetAlwaysEdit(false);
    if (CanFocus())
        SetFocus();
    FNavigation->SetAlwaysEdit(alwaysEdit);
    if (Key == VK_RETURN)
        AdvanceEditCell(GetCol(), GetRow(), true, false, true, false, false);
    FBlockFocus = false;
}

TWinControl* TAdvStringGrid::GetCellEditor() const
{
    return GetEditorMode() ? InplaceEditor() : nullptr;
}

void TAdvStringGrid::ShowInvalidEntryBalloon()
{
    TInplaceEdit* editor = InplaceEditor();
    if ((FInvalidEntryTitle.empty() && FInvalidEntryText.empty()) || !editor || !editor->HandleAllocated())
        return;
    EDITBALLOONTIP tip{};
    tip.cbStruct = sizeof(tip);
    tip.pszTitle = FInvalidEntryTitle.c_str();
    tip.pszText = FInvalidEntryText.c_str();
    tip.ttiIcon = static_cast<INT>(FInvalidEntryIcon);
    SendMessageW(editor->GetHandle(), EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
}

void TAdvStringGrid::ReopenEditor(const std::function<void()>& WriteBack)
{
    HideInplaceEdit();
    WriteBack();
    MoveCurrentCell(FOldCol, FOldRow);
    FValidating = false;
    FEditing = true;
    ShowInplaceEdit();
}

bool TAdvStringGrid::RunValidation(const std::function<bool(int ACol, int ARow)>& Validate)
{
    if (!FEditing || FValidating)
        return true;
    FEditing = false;
    FValidating = true;
    // A failing handler must not leave the grid stuck in validation.
    const TScopeExit validated([this] {
        SaveOldCellValue(GetCol(), GetRow());
        FValidating = false;
    });
    return Validate(RealColIndex(FOldCol), FOldRow);
}

bool TAdvStringGrid::ValidateCell(const String& NewValue)
{
    return RunValidation([&](int acol, int arow) {
        FNewCellText = NewValue;
        if (NewValue == FOldCellText && !FAlwaysValidate) {
            FMouseActions->SetEditOnDblClickOnly(FValidateDblClick);
            return true;
        }
        bool valid = true;
        const bool changed = NewValue != FOldCellText;
        const bool advance = FNavigation->GetAdvanceOnEnter();
        FNavigation->SetAdvanceOnEnter(false);
        String value = NewValue;
        if (OnCellValidate)
            OnCellValidate(this, acol, arow, value, valid);
        if (value != FOldCellText) {
            FModified = true;
            if (GetFixedCols() > 0) {
                SetRowModified(GetRealRow(), true);
                if (FShowModified->GetEnabled())
                    RepaintCell(0, GetRow());
            }
        }
        if (valid) {
            CalcFooter(acol);
            if (changed)
                DoCellsChanged(TRect(acol, arow, acol, arow));
        }
        FNavigation->SetAdvanceOnEnter(advance);
        FNewCellText = value;
        if (valid) {
            SetCellText(acol, arow, value);
            return true;
        }
        FLastValidation = false;
        FValidateDblClick = FMouseActions->GetEditOnDblClickOnly();
        FMouseActions->SetEditOnDblClickOnly(false);
        // A corrected value stays in the reopened editor; a refused one
        // gives the old text back.
        const String shown = value != NewValue ? value : FOldCellText;
        ReopenEditor([&] { SetCellText(acol, FOldRow, shown); });
        ShowInvalidEntryBalloon();
        FOldCellText = GetRawCell(acol, FOldRow);
        return false;
    });
}

bool TAdvStringGrid::ValidateCellWide(const String& NewValue)
{
    return RunValidation([&](int acol, int arow) {
        if (NewValue == FOldCellTextWide && !FAlwaysValidate)
            return true;
        bool valid = true;
        const bool changed = NewValue != FOldCellTextWide;
        String value = NewValue;
        CalcFooter(acol);
        if (OnCellValidateWide)
            OnCellValidateWide(this, acol, arow, value, valid);
        if (value != FOldCellTextWide) {
            FModified = true;
            if (FShowModified->GetEnabled() && GetFixedCols() > 0)
                SetRowModified(GetRealRow(), true);
        }
        if (valid) {
            if (changed)
                DoCellsChanged(TRect(acol, arow, acol, arow));
            SetCellWideText(acol, arow, value);
        } else {
            FLastValidation = false;
            const String shown = value != NewValue ? value : FOldCellTextWide;
            ReopenEditor([&] { SetCellWideText(acol, FOldRow, shown); });
        }
        FOldCellTextWide = GetCellWideText(acol, arow);
        return valid;
    });
}

// --- focus and click ---------------------------------------------------------------------

void TAdvStringGrid::Click()
{
    SaveOldCellValue(GetCol(), GetRow());
    TBaseGrid::Click();
    FEntered = false;
}

void TAdvStringGrid::DoEnter()
{
    if (FBlockFocus)
        return;
    const TScopeExit saveOld([this] { SaveOldCellValue(GetCol(), GetRow()); });
    TBaseGrid::DoEnter();
    if ((GetOptions().Contains(goEditing) || FMouseActions->GetRangeSelectAndEdit()) && GetCol() < GetColCount() &&
        GetRow() < GetRowCount())
        SelectCell(GetCol(), GetRow());
}

void TAdvStringGrid::DoExit()
{
    if (FBlockKill)
        return;
    if (FSelectionChanged && FMouseActions->GetDisjunctRowSelect())
        SelectionToRowSelect(false);
    FSelectionChanged = false;
    TBaseGrid::DoExit();
}

// --- sizes, hover, version ------------------------------------------------------------------

void TAdvStringGrid::InitOrigColSizes()
{
    FOrigColSizes->Clear();
    for (int c = 0; c < GetColCount(); ++c)
        FOrigColSizes->Add(GetColWidths(c));
    FOldSize = GetWidth();
}

void TAdvStringGrid::ResetFixedCellHighlight()
{
    if (FHoverFixedX < 0 && FHoverFixedY < 0)
        return;
    const int c = FHoverFixedX;
    const int r = FHoverFixedY;
    FHoverFixedX = -1;
    FHoverFixedY = -1;
    RepaintCell(c, r);
}

int TAdvStringGrid::GetVersionNr() const
{
    return (7 << 24) | (8 << 16) | (7 << 8) | 0;
}

String TAdvStringGrid::GetVersionString() const
{
    const int nr = GetVersionNr();
    return IntToStr((nr >> 24) & 0xFF) + L"." + IntToStr((nr >> 16) & 0xFF) + L"." + IntToStr((nr >> 8) & 0xFF) +
           L"." + IntToStr(nr & 0xFF) + L" Nov, 2015";
}
