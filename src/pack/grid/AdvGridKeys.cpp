// The keyboard: what the grid does with a key before, instead of and after the
// class library's own handling. View-only scrolling, the Home/End modes,
// skipping fixed cells and disabled rows, wrapping at the edges, moving rows
// with Ctrl, control cells worked by Space and Enter, row insert and delete,
// select-all, the clipboard keys and the characters that open the editor.
//
// Ctrl, Shift and Alt are read from the keyboard state when the key is
// handled, not from the message. Insert and Delete switch the filter off
// while the row operation runs and put it back on every way out.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "Clipbrd.h"
#include "Forms.h"
#include <algorithm>

namespace {

bool KeyDownNow(int vk)
{
    return GetKeyState(vk) < 0;
}

bool IsArrow(Word Key)
{
    return Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
}

TGridRect Normalised(TGridRect R)
{
    if (R.Left > R.Right)
        std::swap(R.Left, R.Right);
    if (R.Top > R.Bottom)
        std::swap(R.Top, R.Bottom);
    return R;
}

bool SameRect(const TGridRect& A, const TGridRect& B)
{
    return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}

} // namespace

// --- helpers ---------------------------------------------------------------------------------

TShiftState TAdvStringGrid::KeyShiftState() const
{
    TShiftState shift;
    if (KeyDownNow(VK_SHIFT))
        shift << ssShift;
    if (KeyDownNow(VK_LMENU))
        shift << ssAlt;
    if (KeyDownNow(VK_CONTROL))
        shift << ssCtrl;
    return shift;
}

void TAdvStringGrid::FireKeyDown(Word Key, TShiftState Shift)
{
    Word key = Key;
    if (OnKeyDown)
        OnKeyDown(this, key, Shift);
}

void TAdvStringGrid::NotifyKeySelection()
{
    const TGridRect sel = GetSelection();
    if (!SameRect(sel, FMoveSelection)) {
        DoSelectionChanged(sel.Left, sel.Top, sel.Right, sel.Bottom);
        FMoveSelection = sel;
    }
}

int TAdvStringGrid::NearestVisibleCol(int ACol)
{
    const int clamped = std::clamp(ACol, GetFixedCols(), std::max(GetFixedCols(), GetColCount() - 1));
    if (GetColWidths(clamped) != 0)
        return clamped;
    const int step = clamped > GetCol() ? 1 : -1;
    for (int c = clamped; c >= GetFixedCols() && c < GetColCount() - FFixedRightCols; c += step)
        if (GetColWidths(c) != 0)
            return c;
    return clamped;
}

void TAdvStringGrid::Select()
{
    SelectCell(GetCol(), GetRow());
}

void TAdvStringGrid::DoCheckBoxClick(int ACol, int ARow, bool State)
{
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, ACol, ARow, State);
}

// In a tree the Insert and Delete keys keep the node spans: a row under a
// node is added or removed as that node's child.
void TAdvStringGrid::InsertRowAuto(int ARow)
{
    if (!HasNodes()) {
        InsertRows(ARow, 1);
        return;
    }
    if (GetParentRow(DisplRowIndex(ARow)) == -1)
        InsertNormalRow(ARow);
    else
        InsertChildRow(ARow, 0);
}

void TAdvStringGrid::DeleteRowAuto(int ARealRow)
{
    const int display = DisplRowIndex(ARealRow);
    if (HasNodes()) {
        if (GetParentRow(display) == -1)
            RemoveNormalRow(display);
        else
            RemoveChildRow(ARealRow);
    } else if (NormalRowEnd() - GetFixedRows() <= 1 && !FFixedRowAlways) {
        // The grid keeps its one data row; only its contents go.
        ClearRows(display, 1);
    } else {
        RemoveRows(display, 1);
    }
    if (OnAutoDeleteRow)
        OnAutoDeleteRow(this, ARealRow);
}

bool TAdvStringGrid::KeyMessage(TMessage& Message)
{
    TWMKey key(Message);
    switch (Message.Msg) {
    case WM_KEYDOWN: HandleWMKeyDown(key); return true;
    case WM_KEYUP: HandleWMKeyUp(key); return true;
    case WM_CHAR: HandleWMChar(key); return true;
    default: return false;
    }
}

// --- the key-down message ------------------------------------------------------------------

void TAdvStringGrid::HandleWMKeyDown(TWMKey& Msg)
{
    FMoveSelection = GetSelection();
    const Word key = Msg.CharCode();
    const bool ctrl = KeyDownNow(VK_CONTROL);
    const bool shift = KeyDownNow(VK_SHIFT);
    const bool anyAlt = KeyDownNow(VK_MENU);
    const TShiftState shiftState = KeyShiftState();
    const int leftCol = GetLeftCol();
    const bool rowSelect = GetOptions().Contains(goRowSelect);
    const auto consume = [&] {
        FireKeyDown(key, shiftState);
        Msg.SetCharCode(0);
        Msg.Result() = 1;
    };
    const auto standard = [&] { TBaseGrid::WndProc(Msg.M); };

    // 1. Paging and Up/Down in row selection keep the horizontal scroll.
    const bool keepHoriz = (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) && rowSelect &&
                           leftCol != GetFixedCols() && FNavigation->GetKeepHorizScroll();

    // 2. View-only scrolling.
    if (FNavigation->GetMoveScrollOnly() && (key == VK_PRIOR || key == VK_NEXT || key == VK_END ||
                                             key == VK_HOME || key == VK_UP || key == VK_DOWN)) {
        const int v = GetVisibleRowCount();
        const int t = GetTopRow();
        int top = t;
        switch (key) {
        case VK_PRIOR: top = GetFixedRows() + v < t ? t - v : GetFixedRows(); break;
        case VK_NEXT: top = t + v < GetRowCount() ? t + v : t; break;
        case VK_END: top = GetRowCount() - v; break;
        case VK_HOME: top = GetFixedRows(); break;
        case VK_UP: top = t > GetFixedRows() ? t - 1 : t; break;
        default: top = t + v < GetRowCount() ? t + 1 : t; break;
        }
        if (top != t)
            SetTopRow(top);
        Msg.Result() = 1;
        return;
    }

    const bool enterOrF2 = key == VK_RETURN || key == VK_F2;
    const bool editing = GetOptions().Contains(goEditing);
    // 3. Double-click-only editing starts from Enter or F2 on an editable cell.
    if (FMouseActions->GetEditOnDblClickOnly() && !editing && enterOrF2) {
        const bool old = FMouseActions->GetRangeSelectAndEdit();
        FMouseActions->SetRangeSelectAndEdit(true);
        if (IsEditable(GetRealCol(), GetRow()))
            SetOptions(GetOptions() + goEditing);
        FMouseActions->SetRangeSelectAndEdit(old);
    }
    // 4. Range-select editing: the editor opens on key-up.
    if (FMouseActions->GetRangeSelectAndEdit() && !GetOptions().Contains(goEditing) && enterOrF2 &&
        !IsEditable(GetRealCol(), GetRow())) {
        consume();
        return;
    }
    // 5. Ctrl+F goes to the search bar.
    if (ctrl && key == 'F' && FSearchFooter->GetVisible() && FSearchPanel)
        FSearchPanel->FocusSearchEdit();
    // 6. Enter or F2 on a cell that cannot be edited, and on in-cell form controls.
    const String cellText = GetRawCell(GetRealCol(), GetRow());
    const bool formControls = FEnableHTML && ClassifyCellText(cellText, true) == 1 &&
                              AnsiUpperCase(cellText).find(L"<CONTROL") != String::npos;
    if (enterOrF2) {
        if (GetOptions().Contains(goEditing) && !IsEditable(GetRealCol(), GetRow())) {
            consume();
            return;
        }
        if (formControls) {
            Msg.Result() = 1;
            return;
        }
    }
    // 7. Enter on a cell that cannot be edited.
    if (key == VK_RETURN && !IsEditable(GetRealCol(), GetRow())) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->GetKeyPreview())
            standard();
        else
            consume();
        return;
    }
    // 8. Enter and Space on check boxes, radio cells and buttons.
    if ((key == VK_RETURN || key == VK_SPACE) && IsControlCell(GetRealCol(), GetRow()))
        SpaceOnControlCell(key);
    // 9. Home and End modes.
    if ((key == VK_HOME || key == VK_END) && HomeEndKey(Msg, shiftState))
        return;
    // 10. Right and Left on a merged node row expand and contract the node.
    if ((key == VK_RIGHT || key == VK_LEFT) && IsNode(GetRow()) && IsMergedCell(GetRealCol(), GetRow())) {
        if (key == VK_RIGHT)
            ExpandNode(GetRealRow());
        else
            ContractNode(GetRealRow());
    }
    // 11. Left and Right in row selection scroll the columns.
    if ((key == VK_LEFT || key == VK_RIGHT) && rowSelect && !IsNode(GetRow()) &&
        GetVisibleColCount() < GetColCount()) {
        const bool scroll = !FNavigation->GetLeftRightRowSelect() || ctrl;
        if (scroll) {
            if (key == VK_LEFT && GetLeftCol() > GetFixedCols())
                SetLeftCol(GetLeftCol() - 1);
            if (key == VK_RIGHT && GetLeftCol() + GetVisibleColCount() < GetColCount())
                SetLeftCol(GetLeftCol() + 1);
        }
        if (!FNavigation->GetLeftRightRowSelect()) {
            FireKeyDown(key, shiftState);
            Msg.Result() = 0;
            return;
        }
    }
    // 12. Tab: the grid's own walk.
    if (key == VK_TAB && !ctrl && GetOptions().Contains(goTabs)) {
        TabKeyPressed(shift);
        NotifyKeySelection();
        Msg.Result() = 1;
        return;
    }
    // 13. Skipping fixed cells.
    if (FNavigation->GetSkipFixedCells() && IsArrow(key) && SkipFixedKey(key, shiftState)) {
        Msg.SetCharCode(0);
        Msg.Result() = 1;
        return;
    }
    // 14. Down on the last row appends one.
    const int lastNormal = GetRowCount() - 1 - (FFloatingFooter->GetVisible() ? 1 : 0);
    if (key == VK_DOWN && GetRow() == lastNormal && FNavigation->GetAppendOnArrowDown())
        AddRowOnDown();
    // 15. The selection rectangle repaints with the selection.
    if (FSelectionRectangle && !SameRect(GetSelection(), FMoveSelection)) {
        InvalidateCellRange(Normalised(GetSelection()));
        FMoveSelection = GetSelection();
    }
    // 16. The search bar: with the view at its end the last row stays above
    // the bar, and the keys that would scroll it under the bar scroll quietly.
    const bool lastRowNow = GetRow() == GetRowCount() - 1;
    const bool navigationKey = key == VK_SHIFT || key == VK_MENU || (key >= VK_PRIOR && key <= VK_DOWN);
    const bool footerScrollKey =
        key == VK_NEXT || key == VK_END || key == VK_LEFT || key == VK_RIGHT || key == VK_DOWN;
    bool footerUpdate = false;
    if (SearchFooterAtEnd()) {
        if (lastRowNow && (key == VK_DOWN || (key == VK_RIGHT && GetCol() == GetColCount() - 1) ||
                           (key == VK_LEFT && GetCol() == GetFixedCols()))) {
            if (key == VK_DOWN)
                KeepLastRowAboveSearchFooter();
            FireKeyDown(key, shiftState);
            Msg.Result() = 1;
            return;
        }
        footerUpdate = (lastRowNow && footerScrollKey) || !navigationKey;
    }
    const int topBefore = GetTopRow();
    {
        if (footerUpdate)
            BeginUpdate();
        // 19. Other keys leave the view where it was; the block closes on every way out.
        const TScopeExit closeFooterUpdate([this, footerUpdate, navigationKey, topBefore] {
            if (!footerUpdate)
                return;
            if (!navigationKey && GetTopRow() != topBefore)
                SetTopRow(topBefore);
            EndUpdate();
        });
        // 17 .. 20. The standard handling, with the horizontal scroll kept.
        if (keepHoriz) {
            BeginUpdate();
            const TScopeExit restore([this, leftCol] {
                SetLeftCol(leftCol);
                EndUpdate();
            });
            standard();
        } else {
            standard();
        }
    }
    // 19. A move onto the last row brings it up from under the bar.
    if (FSearchFooter->GetVisible() && FSearchPanel && footerScrollKey && GetRow() == GetRowCount() - 1 &&
        HandleAllocated()) {
        const int limit = GetClientHeight() - FSearchPanel->GetHeight() + 2;
        while (CellRect(GetCol(), GetRow()).bottom > limit) {
            const int top = GetTopRow();
            SetTopRow(top + 1);
            if (GetTopRow() == top)
                break;
        }
    }
    // 21. Clipboard shortcuts end the key's extra handling.
    if (FNavigation->GetAllowClipboardShortCuts() && ClipboardKey(key, ctrl, shift))
        return;
    // 22. Insert adds a row.
    if (key == VK_INSERT && !ctrl && !shift && !anyAlt && FNavigation->GetAllowInsertRow()) {
        InsertRowKey();
        NotifyKeySelection();
        return;
    }
    // 23. Ctrl+A selects every normal cell.
    if (key == 'A' && ctrl && (rowSelect || GetOptions().Contains(goRangeSelect))) {
        SelectAllKey();
        NotifyKeySelection();
        return;
    }
    // 24. Every other key.
    if (key >= VK_PRIOR && key <= VK_DOWN) {
        // A plain key starts the marks over from the row (column) it lands
        // on, so that the current one stays marked; Ctrl adds to the marks.
        if (FMouseActions->GetDisjunctRowSelect()) {
            if (!shift && !ctrl)
                ClearDisjunctRowSelect();
            if (shift)
                SelectionToRowSelect(true);
            else
                SetRowSelect(FMouseActions->GetRowSelectPersistent() ? GetRealRow() : GetRow(), true);
        }
        if (FMouseActions->GetDisjunctColSelect()) {
            if (!shift && !ctrl)
                ClearColSelect();
            if (shift)
                SelectionToColSelect(true);
            else
                SetColSelect(GetCol(), true);
        }
    }
    if (key == VK_SPACE) {
        if (FMouseActions->GetDisjunctRowSelect()) {
            const int row = FMouseActions->GetRowSelectPersistent() ? GetRealRow() : GetRow();
            SetRowSelect(row, !GetRowSelect(row));
        } else if (FMouseActions->GetDisjunctColSelect()) {
            SetColSelect(GetCol(), !GetColSelect(GetCol()));
        }
    }
    if (key == VK_DELETE && FNavigation->GetAllowDeleteRow())
        DeleteRowKey(anyAlt);
    if (key == VK_TAB && ctrl && GetOptions().Contains(goTabs) && FFixedRightCols > 0 &&
        FMoveSelection.Left == GetColCount() - FFixedRightCols - 1) {
        const int lastRow = GetRowCount() - FFixedFooters - 1;
        const int firstCol = GetFixedCols() == 0 && HasNodes() ? 1 : GetFixedCols();
        const int row = GetRow() == lastRow ? GetFixedRows() : std::min(GetRow() + 1, GetRowCount() - 1);
        MoveCurrentCell(firstCol, row);
    }
    if (enterOrF2) {
        SaveOldCellValue(GetCol(), GetRow());
        if (key == VK_F2)
            F2KeyPressed();
    }
    NotifyKeySelection();
}

// --- Home and End ---------------------------------------------------------------------------

bool TAdvStringGrid::HomeEndKey(TWMKey& Msg, TShiftState Shift)
{
    const Word key = Msg.CharCode();
    const bool ctrl = Shift.Contains(ssCtrl);
    const bool shift = Shift.Contains(ssShift);
    const bool rowSelect = GetOptions().Contains(goRowSelect);
    const THomeEndAction mode = FNavigation->GetHomeEndKey();
    const bool onlyFixedRows = FFixedRowAlways && GetRowCount() == 1;
    const int firstNormalCol = GetFixedCols() == 0 && HasNodes() ? 1 : GetFixedCols();
    const int downRow = GetRow();
    const int leftCol = GetLeftCol();

    const auto shiftExtendRow = [&](int newRow) {
        SetSelection({0, std::min(downRow, newRow), GetColCount() - 1, std::max(downRow, newRow)});
    };
    const auto rowSelection = [&] {
        if (!FMouseActions->GetDisjunctRowSelect())
            return;
        ClearDisjunctRowSelect();
        SelectionToRowSelect(true);
    };
    const auto restoreLeftCol = [&] {
        if (rowSelect && FNavigation->GetKeepHorizScroll()) {
            StartUpdate();
            SetLeftCol(leftCol);
            ResetUpdate();
        }
    };

    bool handled = true;
    if (key == VK_HOME && mode == heFirstLastCell && !ctrl) {
        MoveCurrentCell(GetFixedCols(), GetFixedRows());
        AlignToBaseCell();
    } else if (key == VK_HOME && mode == heFirstLastRow && !ctrl && !onlyFixedRows) {
        MoveCurrentCell(GetCol(), GetFixedRows());
        AlignToBaseCell();
        if (shift)
            shiftExtendRow(GetFixedRows());
        rowSelection();
        restoreLeftCol();
    } else if (key == VK_HOME && mode == heFirstLastColumn && ctrl) {
        const int col = FirstTabStopCol(GetFixedRows());
        MoveCurrentCell(col >= 0 ? col : GetCol(), GetFixedRows());
        AlignToBaseCell();
        SetLeftCol(firstNormalCol);
    } else if (key == VK_HOME && mode == heFirstLastColumn && !ctrl && !rowSelect && !onlyFixedRows) {
        if (shift) {
            SetSelection({GetFixedCols(), GetRow(), GetCol(), GetRow()});
            RepaintRow(GetRow());
        } else {
            const int col = FirstTabStopCol(GetRow());
            MoveCurrentCell(col >= 0 ? col : GetCol(), GetRow());
            AlignToBaseCell();
            SetLeftCol(firstNormalCol);
        }
    } else if (key == VK_END && mode == heFirstLastCell && !ctrl && !shift) {
        MoveCurrentCell(GetColCount() - 1, GetRowCount() - 1);
        AlignToBaseCell();
    } else if (key == VK_END && mode == heFirstLastRow && !ctrl && !onlyFixedRows) {
        const bool floating = FFloatingFooter->GetVisible();
        const int row = floating && GetRowCount() > 2 ? GetRowCount() - 2 : GetRowCount() - FFixedFooters - 1;
        MoveCurrentCell(GetCol(), row);
        if (FFixedFooters > 0 && !floating)
            SetTopRow(GetRowCount() - GetVisibleRowCount());
        AlignToBaseCell();
        if (shift)
            shiftExtendRow(row);
        rowSelection();
        if (floating)
            SetTopRow(GetRowCount() - GetVisibleRowCount());
        restoreLeftCol();
    } else if (key == VK_END && mode == heFirstLastColumn && !ctrl && !rowSelect && !onlyFixedRows) {
        if (shift) {
            SetSelection({GetCol(), GetRow(), GetColCount() - FFixedRightCols - 1, GetRow()});
            RepaintRow(GetRow());
        } else {
            MoveCurrentCell(GetColCount() - 1, GetRow());
            AlignToBaseCell();
            SetLeftCol(std::max(GetFixedCols(), GetColCount() - GetVisibleColCount()));
        }
    } else {
        handled = false;
    }
    if (!handled)
        return false;
    FireKeyDown(key, Shift);
    NotifyKeySelection();
    Msg.Result() = 0;
    return true;
}

// --- skipping fixed cells ---------------------------------------------------------------------

bool TAdvStringGrid::SkipFixedKey(Word Key, TShiftState Shift)
{
    const bool rtl = GetBiDiMode() == bdRightToLeft;
    Word key = Key;
    if (rtl && key == VK_LEFT)
        key = VK_RIGHT;
    else if (rtl && key == VK_RIGHT)
        key = VK_LEFT;
    const int col = GetCol();
    const int row = GetRow();
    int target = -1;
    switch (key) {
    case VK_LEFT:
        if (col - 1 < 0 || !IsFixed(col - 1, row))
            return false;
        for (int c = col - 1; c >= 0; --c)
            if (!IsFixed(c, row) && c >= GetFixedCols()) {
                target = c;
                break;
            }
        if (target >= 0)
            MoveCurrentCell(target, row);
        break;
    case VK_RIGHT:
        if (col + 1 >= GetColCount() || !IsFixed(col + 1, row))
            return false;
        for (int c = col + 1; c < GetColCount() - FFixedRightCols; ++c)
            if (!IsFixed(c, row)) {
                target = c;
                break;
            }
        if (target >= 0)
            MoveCurrentCell(target, row);
        break;
    case VK_UP:
        if (row - 1 < 0 || !IsFixed(col, row - 1))
            return false;
        if (GetOptions().Contains(goRowSelect)) {
            if (row - 1 >= GetFixedRows())
                MoveCurrentCell(col, row - 1);
            break;
        }
        for (int r = row - 1; r >= GetFixedRows(); --r)
            if (!IsFixed(col, r)) {
                target = r;
                break;
            }
        if (target >= 0)
            MoveCurrentCell(col, target);
        break;
    case VK_DOWN:
        if (row + 1 >= GetRowCount() || !IsFixed(col, row + 1))
            return false;
        for (int r = row + 1; r < GetRowCount() - FFixedFooters; ++r)
            if (!IsFixed(col, r)) {
                target = r;
                break;
            }
        if (target >= 0)
            MoveCurrentCell(col, target);
        break;
    default:
        return false;
    }
    FireKeyDown(Key, Shift);
    NotifyKeySelection();
    return true;
}

// --- control cells by Space and Enter -----------------------------------------------------------

void TAdvStringGrid::SpaceOnControlCell(Word Key)
{
    const int realCol = GetRealCol();
    const int row = GetRow();
    bool canEdit = GetOptions().Contains(goEditing) || FMouseActions->GetRangeSelectAndEdit();
    QueryCellEditable(realCol, row, canEdit);
    TCellGraphic* graphic = GetCellGraphic(realCol, row);
    const TCellType kind = graphic ? graphic->GetCellType() : ctEmpty;
    if (Key == VK_SPACE && (canEdit || FControlLook->GetCheckAlwaysActive()) && HasCheckBox(realCol, row)) {
        if (ToggleCheckCell(realCol, row, false)) {
            if (FShowModified->GetEnabled()) {
                SetRowModified(GetRealRow(), true);
                RepaintCell(0, row);
            }
            bool state = false;
            GetCheckBoxState(realCol, GetRealRow(), state);
            DoCheckBoxClick(GetCol(), row, state);
        }
    }
    if (Key == VK_SPACE && (canEdit || FControlLook->GetRadioAlwaysActive())) {
        if (kind == ctRadio) {
            AdvanceRadioSelection(realCol, row, true);
            int index = -1;
            GetRadioIdx(realCol, row, index);
            if (OnRadioClick)
                OnRadioClick(this, realCol, row, index);
        } else if (HasRadioButton(realCol, row)) {
            if (HasRadioButtonGroup(realCol, row, rgRow))
                SetRadioButtonRowIndex(row, realCol);
            else
                SetRadioButtonColumnIndex(realCol, row);
            if (OnRadioButtonClick)
                OnRadioButtonClick(this, realCol, row);
        }
    }
    if (canEdit && kind == ctButton)
        DoButtonClick(GetCol(), row);
    RepaintCell(GetCol(), row);
}

// --- clipboard, insert, delete, select all ----------------------------------------------------

bool TAdvStringGrid::ClipboardKey(Word Key, bool Ctrl, bool Shift)
{
    const bool cut = (Ctrl && Key == 'X') || (Shift && Key == VK_DELETE);
    const bool paste = (Ctrl && Key == 'V') || (Shift && Key == VK_INSERT);
    const bool copy = (Ctrl && Key == 'C') || (Ctrl && Key == VK_INSERT);
    if (!cut && !paste && !copy)
        return false;
    bool allow = true;
    if (cut) {
        if (OnClipboardCut)
            OnClipboardCut(this, allow);
        if (allow) {
            CutSelectionToClipboard();
            if (OnClipboardCutDone)
                OnClipboardCutDone(this, GetSelection());
        }
    } else if (paste) {
        if (OnClipboardPaste)
            OnClipboardPaste(this, allow);
        if (allow)
            PasteSelectionFromClipboard();
    } else {
        if (OnClipboardCopy)
            OnClipboardCopy(this, allow);
        if (allow) {
            CopySelectionToClipboard();
            if (OnClipboardCopyDone)
                OnClipboardCopyDone(this, GetSelection());
        }
    }
    return true;
}

void TAdvStringGrid::InsertRowKey()
{
    bool allow = true;
    DoCanInsertRow(GetRow(), allow);
    if (!allow)
        return;
    const int realRow = GetRealRow();
    int target = GetRow();
    const bool filterWas = FFilterActive;
    // The filter comes back on every way out, a raising row operation included.
    const TScopeExit restoreFilter([this, filterWas] {
        if (FFilterActive != filterWas)
            SetFilterActive(filterWas);
    });
    if (FFilterActive)
        SetFilterActive(false);
    if (realRow < GetRowCount())
        SetRow(realRow);
    int index = 0;
    if (FNavigation->GetInsertPosition() == pInsertAfter) {
        if (FFixedRowAlways && GetFixedRows() == GetRowCount()) {
            index = RealRowIndex(GetRow());
            target = 1;
        } else if (GetRow() < GetRowCount()) {
            index = RealRowIndex(GetRow() + 1);
            if (target + 1 < GetRowCount() + 1)
                ++target;
        } else {
            index = GetRow();
        }
    } else {
        index = RealRowIndex(GetRow());
    }
    InsertRowAuto(index);
    if (OnAutoInsertRow)
        OnAutoInsertRow(this, index);
    FModified = true;
    if (FFilterActive != filterWas)
        SetFilterActive(filterWas);
    if (target < GetRowCount())
        SetRow(target);
    CalcFooter(-1);
}

void TAdvStringGrid::DeleteRowKey(bool Alt)
{
    if (Alt || GetRowCount() - FFixedFooters <= GetFixedRows())
        return;
    const int realRow = GetRealRow();
    const bool filterWas = FFilterActive;
    const TScopeExit restoreFilter([this, filterWas] {
        if (FFilterActive != filterWas)
            SetFilterActive(filterWas);
    });
    if (FFilterActive)
        SetFilterActive(false);
    bool allow = true;
    if (OnCanDeleteRow)
        OnCanDeleteRow(this, realRow, allow);
    if (!allow)
        return;
    DeleteRowAuto(realRow);
    if (FFilterActive != filterWas)
        SetFilterActive(filterWas);
    if (FFloatingFooter->GetVisible() && GetRow() == GetRowCount() - 1 && GetRowCount() >= 2)
        SetRow(GetRowCount() - 2);
    SaveOldCellValue(GetCol(), GetRow());
    FModified = true;
    CalcFooter(-1);
}

void TAdvStringGrid::SelectAllKey()
{
    const int firstCol = GetFixedCols() == 0 && HasNodes() ? 1 : GetFixedCols();
    TGridRect range{firstCol, GetFixedRows(), GetColCount() - FFixedRightCols - 1,
                    GetRowCount() - FFixedFooters - 1};
    // Without normal rows or columns the range is empty: nothing to select.
    if (range.Right < range.Left || range.Bottom < range.Top)
        return;
    if (FMouseActions->GetDisjunctRowSelect())
        for (int r = range.Top; r <= range.Bottom; ++r)
            SetRowSelect(FMouseActions->GetRowSelectPersistent() ? RealRowIndex(r) : r, true);
    if (FMouseActions->GetDisjunctCellSelect()) {
        SelectCells(GetFixedCols(), range.Top, range.Right, range.Bottom);
        return;
    }
    BeforeKeySelect(range);
    SetSelection(range);
    // As a click on the last cell would, then the whole range again.
    FocusCell(range.Right, range.Bottom);
    SimulateCellClick(range.Right, range.Bottom);
    FocusCell(range.Right, range.Bottom);
    SetSelection(range);
}

void TAdvStringGrid::AddRowOnDown()
{
    bool allow = true;
    if (OnCanAddRow)
        OnCanAddRow(this, allow);
    if (!allow)
        return;
    const int allCols = TotalColCount();
    if (FFloatingFooter->GetVisible()) {
        std::vector<String> footer;
        for (int c = 0; c < allCols; ++c)
            footer.push_back(GetRawCell(c, GetRowCount() - 1));
        AppendRow();
        const int newRow = GetRowCount() - 2;
        for (int c = 0; c < allCols; ++c) {
            SetRawCell(c, newRow, String());
            SetRawObject(c, newRow, nullptr);
            SetRawCell(c, GetRowCount() - 1, footer[static_cast<std::size_t>(c)]);
        }
    } else {
        AppendRow();
        for (int c = 0; c < allCols; ++c) {
            SetRawCell(c, GetRowCount() - 1, String());
            SetRawObject(c, GetRowCount() - 1, nullptr);
        }
    }
    if (FFloatingFooter->GetVisible() || FFixedFooters > 0)
        SetRow(GetRow() + 1);
    if (FFloatingFooter->GetVisible())
        CalcFooter(-1);
    if (OnAutoAddRow)
        OnAutoAddRow(this, GetRowCount() - FFixedFooters - 1);
}

// --- the key-down method -----------------------------------------------------------------------

void TAdvStringGrid::HandleKeyDown(Word& Key, TShiftState Shift)
{
    int target = -1;
    const bool rtl = GetBiDiMode() == bdRightToLeft;
    if (Key == VK_LEFT)
        target = NearestVisibleCol(rtl ? GetCol() + 1 : GetCol() - 1);
    else if (Key == VK_RIGHT)
        target = NearestVisibleCol(rtl ? GetCol() - 1 : GetCol() + 1);
    FLastKeyCell = {GetCol(), GetRow()};
    const int startRow = GetRow();
    if ((Shift.Contains(ssShift) || Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) &&
        FSearchFooter->GetVisible() && GetRow() == GetRowCount() - 1 && (Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU)) {
        Key = 0;
        return;
    }
    const Word key = Key;
    // Under right-to-left reading the standard step goes the other way.
    Word standardKey = Key;
    if (rtl && Key == VK_LEFT)
        standardKey = VK_RIGHT;
    else if (rtl && Key == VK_RIGHT)
        standardKey = VK_LEFT;
    const bool ctrlMove = FNavigation->GetCursorMoveRows() && Shift.Contains(ssCtrl) &&
                          (Key == VK_UP || Key == VK_DOWN);
    if (!ctrlMove) {
        TBaseGrid::HandleKeyDown(standardKey, Shift);
        Key = standardKey;
    }
    if (target >= 0 && target != GetCol() && !GetOptions().Contains(goRowSelect) && !Shift.Contains(ssCtrl))
        MoveColRow(target, GetRow(), !Shift.Contains(ssShift), true);

    // Moving rows with Ctrl, up to the last normal row.
    if (ctrlMove) {
        const TGridRect sel = Normalised(GetSelection());
        const int lastNormal = GetRowCount() - FFixedFooters - 1;
        const int count = sel.Bottom - sel.Top + 1;
        if (key == VK_DOWN && sel.Bottom < lastNormal) {
            if (count == 1) {
                MoveRow(sel.Top, sel.Top + 1);
                MoveCurrentCell(GetCol(), sel.Top + 1);
            } else {
                MoveRows(sel.Top, sel.Top + 1, count);
                SetSelection({GetFixedCols(), sel.Top + 1, GetColCount() - 1, sel.Bottom + 1});
            }
        } else if (key == VK_UP && sel.Top > GetFixedRows()) {
            if (count == 1) {
                MoveRow(sel.Top, sel.Top - 1);
                MoveCurrentCell(GetCol(), sel.Top - 1);
            } else {
                MoveRows(sel.Top, sel.Top - 1, count);
                SetSelection({GetFixedCols(), sel.Top - 1, GetColCount() - 1, sel.Bottom - 1});
            }
        }
        Key = 0;
    }

    // Wrapping at the edges.
    const TCursorAdvance advance = FNavigation->GetCursorAdvance();
    if (advance != caDefault) {
        const bool snake = advance == caSnake;
        const int lastNormalRow = GetRowCount() - FFixedFooters - 1;
        const int lastNormalCol = GetColCount() - FFixedRightCols - 1;
        const int c = FLastKeyCell.x;
        const int r = FLastKeyCell.y;
        Word edgeKey = key;
        if (rtl && key == VK_LEFT)
            edgeKey = VK_RIGHT;
        else if (rtl && key == VK_RIGHT)
            edgeKey = VK_LEFT;
        if (edgeKey == VK_LEFT && c == GetFixedCols())
            MoveCurrentCell(lastNormalCol, snake && r > GetFixedRows() ? r - 1 : r);
        else if (edgeKey == VK_UP && r == GetFixedRows())
            MoveCurrentCell(snake && c > GetFixedCols() ? c - 1 : c, lastNormalRow);
        else if (edgeKey == VK_RIGHT && c == GetColCount() - 1)
            MoveCurrentCell(GetFixedCols(), snake && r < lastNormalRow ? r + 1 : r);
        else if (edgeKey == VK_DOWN && r == GetRowCount() - 1)
            MoveCurrentCell(snake && c < lastNormalCol ? c + 1 : c, GetFixedRows());
    }

    // Disabled rows: the standard move refused them, find the nearest enabled one.
    // A move onto a disabled row counts as refused as well.
    if (FNavigation->GetSkipDisabledRows() && FUseEnabledRows &&
        (GetRow() == startRow || !GetRowEnabled(GetRow()))) {
        if (key == VK_UP) {
            for (int r = startRow - 1; r >= GetFixedRows(); --r)
                if (GetRowEnabled(r)) {
                    MoveCurrentCell(GetCol(), r);
                    break;
                }
        } else if (key == VK_DOWN) {
            for (int r = startRow + 1; r <= GetRowCount() - 1; ++r)
                if (GetRowEnabled(r)) {
                    MoveCurrentCell(GetCol(), r);
                    break;
                }
        }
    }

    if (TStringGrid* sync = FSyncGrid->GetGrid()) {
        if (FSyncGrid->GetSelectionColumn())
            sync->SetCol(GetCol());
        if (FSyncGrid->GetSelectionRow())
            sync->SetRow(GetRow());
    }
}

// --- key-up -----------------------------------------------------------------------------------

void TAdvStringGrid::HandleWMKeyUp(TWMKey& Msg)
{
    const Word key = Msg.CharCode();
    TBaseGrid::WndProc(Msg.M);
    if (FMouseActions->GetRangeSelectAndEdit() && !GetOptions().Contains(goEditing) &&
        (key == VK_RETURN || key == VK_F2) && IsEditable(GetRealCol(), GetRow())) {
        SetOptions(GetOptions() + goEditing);
        ShowInplaceEdit();
    }
}

void TAdvStringGrid::HandleKeyUp(Word& Key, TShiftState Shift)
{
    const Word key = Key;
    if (key == VK_PRIOR || key == VK_NEXT || key == VK_END || IsArrow(key) || key == VK_INSERT || key == VK_DELETE)
        FIncrSearchText.clear();
    const TGridRect before = Normalised(GetSelection());
    TBaseGrid::KeyUp(Key, Shift);
    const bool tab = key == VK_TAB && GetOptions().Contains(goTabs);
    if (FNavigation->GetAlwaysEdit() && (IsArrow(key) || tab) && !IsControlCell(GetRealCol(), GetRow()))
        ShowInplaceEdit();
    if (IsArrow(key) || key == VK_TAB)
        NotifyKeySelection();
    if (!FMouseActions->GetDisjunctCellSelect() || GetOptions().Contains(goEditing))
        return;
    if (Shift.Contains(ssShift)) {
        for (int r = before.Top; r <= before.Bottom; ++r)
            for (int c = before.Left; c <= before.Right; ++c)
                SetCellSelected(c, r, false);
        const TGridRect now = Normalised(GetSelection());
        for (int r = now.Top; r <= now.Bottom; ++r)
            for (int c = now.Left; c <= now.Right; ++c)
                if (c != GetCol() || r != GetRow())
                    SetCellSelected(c, r, true);
    }
    if (key == VK_SPACE) {
        const TPoint base = BaseCell(GetRealCol(), GetRow());
        const int baseCol = DisplColIndex(base.x);
        bool canSelect = true;
        if (OnSelectCell)
            OnSelectCell(this, baseCol, base.y, canSelect);
        if (!IsFixed(baseCol, base.y) && canSelect) {
            if (Shift.Contains(ssCtrl)) {
                SetCellSelected(baseCol, base.y, !IsSelected(baseCol, base.y));
            } else {
                // Only the list empties: ClearSelectedCells would also take
                // the current cell to the first one.
                FSelectedCells->Clear();
                Invalidate();
                SetCellSelected(baseCol, base.y, true);
            }
            // A range selection joins the list with the cell.
            const TGridRect now = Normalised(GetSelection());
            if (now.Left != now.Right || now.Top != now.Bottom) {
                for (int r = now.Top; r <= now.Bottom; ++r)
                    for (int c = now.Left; c <= now.Right; ++c)
                        if (c != baseCol || r != base.y)
                            SetCellSelected(c, r, true);
                Invalidate();
            }
        }
        RepaintCell(GetCol(), GetRow());
    }
}

// --- characters ---------------------------------------------------------------------------------

void TAdvStringGrid::HandleWMChar(TWMKey& Msg)
{
    const String cellText = GetRawCell(GetRealCol(), GetRow());
    if (FEnableHTML && AnsiUpperCase(cellText).find(L"<CONTROL") != String::npos &&
        ClassifyCellText(cellText, true) == 1) {
        Msg.Result() = 1;
        return;
    }
    if (FMouseActions->GetEditOnDblClickOnly()) {
        bool canEdit = true;
        QueryCellEditable(GetRealCol(), GetRow(), canEdit);
        if (canEdit)
            SetOptions(GetOptions() + goEditing);
    }
    wchar_t ch = static_cast<wchar_t>(Msg.CharCode());
    const bool ctrl = KeyDownNow(VK_CONTROL);
    if (FNavigation->GetAllowClipboardShortCuts() && ctrl && (ch == 3 || ch == 22 || ch == 24)) {
        Msg.SetCharCode(0);
        Msg.Result() = 1;
        return;
    }
    const bool controlCell = IsControlCell(GetRealCol(), GetRow());
    if (FMouseActions->GetRangeSelectAndEdit() && !controlCell && IsEditable(GetRealCol(), GetRow()) && ch != 9 &&
        ch != 27 && !ctrl) {
        if (OnKeyPress)
            OnKeyPress(this, ch);
        FStartEditChar = ch;
        SetOptions(GetOptions() + goEditing);
        if (GetRow() < GetTopRow() || GetRow() >= GetTopRow() + GetVisibleRowCount())
            ScrollInView(GetCol(), GetRow(), spMiddle);
        if (ch != 13)
            SimulateCellClick(GetCol(), GetRow());
        Msg.SetCharCode(ch);
        TBaseGrid::WndProc(Msg.M);
        return;
    }
    // The keypad's decimal point types the locale's separator.
    if (ch == L'.' && (Msg.KeyData() & (1 << 22)) && FExcelStyleDecimalSeparator)
        ch = FormatSettings.DecimalSeparator;
    if (ch == 13 && controlCell && FNavigation->GetAdvanceOnEnter()) {
        Msg.SetCharCode(ch);
        TBaseGrid::WndProc(Msg.M);
        return;
    }
    // Every printable character opens the editor with itself, Cyrillic "ё" included.
    if (GetOptions().Contains(goEditing) && ch != 9 && (ch == 8 || ch >= 32) && ch != 127) {
        if (OnKeyPress)
            OnKeyPress(this, ch);
        FStartEditChar = ch;
        if (ch != 0 && !controlCell && IsEditable(GetRealCol(), GetRow()) && !GetEditorMode()) {
            SaveOldCellValue(GetCol(), GetRow());
            FEditing = true;
            ShowEditorChar(ch);
        }
        Msg.Result() = 1;
        return;
    }
    if (Focused()) {
        Msg.SetCharCode(ch);
        TBaseGrid::WndProc(Msg.M);
    }
}
