// Changing the current cell and moving on after Enter.
//
// CanSelectCell answers whether a cell may become current; on the way it
// switches editing on or off for the new cell, validates an open special
// edit, fires the changing events and keeps the current cell's text for
// Escape. AdvanceEditCell moves on by the Navigation settings: it walks
// the cells in a loop, never by recursion, ends after one pass round the
// grid, and adds at most one row or column per Enter, so that a large
// read-only grid returns and a grid of read-only new columns does not grow
// without end.
#include "AdvGrid.h"
#include "AdvGridEditing.h"
#include "HTMLControls.h"
#include <algorithm>

namespace {

struct TFlagUp {
    bool& flag;
    explicit TFlagUp(bool& f) : flag(f) { flag = true; }
    ~TFlagUp() { flag = false; }
    TFlagUp(const TFlagUp&) = delete;
    TFlagUp& operator=(const TFlagUp&) = delete;
};

} // namespace

// --- changing the current cell --------------------------------------------------------

bool TAdvStringGrid::CanSelectCell(int ACol, int ARow)
{
    const bool indicator = FRowIndicator && FRowIndicator->GetWidth() > 0 && GetFixedCols() > 0;
    if (FForceSel) {
        if (indicator) {
            RepaintCell(0, GetRow());
            RepaintCell(0, ARow);
        }
        return true;
    }
    if (!GetParent())
        return true;
    // The hidden selection parks the cell just outside the grid.
    if (ACol >= GetColCount() || ARow >= GetRowCount())
        return TBaseGrid::SelectCell(ACol, ARow);
    if (FFloatingFooter->GetVisible() && FFloatingFooter->GetFooterStyle() == fsFixedLastRow &&
        ARow == GetRowCount() - 1)
        return false;
    if (ACol < 0 || ARow < 0)
        return false;

    const int RC = RealColIndex(ACol);
    if (IsMergedNonBaseCell(RC, ARow)) {
        const TPoint base = BaseCell(RC, ARow);
        const int baseCol = DisplColIndex(base.x);
        {
            const TFlagUp forced(FForceSel);
            MoveColRow(baseCol, base.y, true, true);
        }
        RepaintCell(baseCol, base.y);
        if (FMouseActions->GetDirectEdit() ||
            (FControlLook->GetDropDownAlwaysVisible() && DoHasComboBox(base.x, base.y, edNone)))
            ShowEditor();
        return false;
    }
    if (HasNodes() && ACol == 0 && !GetOptions().Contains(goRowSelect))
        return false;
    if (FUseEnabledRows && FNavigation->GetSkipDisabledRows() && !GetRowEnabled(ARow))
        return false;

    const int oldRow = GetRow();
    const TGridRect oldSel = GetSelection();
    String N = GetRawCell(RC, ARow);
    TAdvInplaceEdit* normal = GetNormalEdit();
    const bool editFocused = normal && normal->HandleAllocated() && ::GetFocus() == normal->GetHandle();
    const bool rangeEdit = FMouseActions->GetRangeSelectAndEdit();

    // Editing switched on or off for the new cell.
    if (IsControlCell(RC, ARow)) {
        bool canEdit = true;
        QueryCellEditable(RC, ARow, canEdit);
        if (!FEditDisable)
            FEditDisable = !canEdit && (GetOptions().Contains(goEditing) || rangeEdit);
        if (!GetOptions().Contains(goEditing) && !GetOptions().Contains(goRowSelect) && canEdit) {
            FEditChange = true;
            SetOptions(GetOptions() + goEditing);
        }
    } else {
        bool canEdit = GetOptions().Contains(goEditing) || FEditDisable;
        QueryCellEditable(RC, ARow, canEdit);
        if (canEdit && FMouseActions->GetDirectEdit()) {
            EditControl = FDefaultEditor;
            DoGetEditorType(RC, ARow, EditControl);
            if (EditControl == edNone)
                canEdit = false;
        }
        if (FMouseActions->GetEditOnDblClickOnly())
            canEdit = false;
        if (canEdit) {
            FEditDisable = false;
            if (!GetOptions().Contains(goEditing)) {
                FEditChange = true;
                if (!FEditing)
                    SaveOldCellValue(ACol, ARow);
                TGridOptions options = GetOptions();
                if (options.Contains(goRowSelect) && rangeEdit)
                    options = options - goRowSelect;
                SetOptions(options + goEditing);
            }
            if (FEditing) {
                HideInplaceEdit();
                N = GetRawCell(RC, ARow);
            }
        } else {
            if (FEditing) {
                HideInplaceEdit();
                N = GetRawCell(RC, ARow);
            }
            if (GetOptions().Contains(goEditing)) {
                EditMode = false;
                FEditDisable = true;
                FEditChange = true;
                SetOptions(GetOptions() - goEditing);
                if (GetEditorMode())
                    HideEditor();
            }
        }
    }

    bool result = false;
    if (!FEditing || editFocused) {
        if (EditMode && FNavigation->GetAlwaysEdit())
            HideInplaceEdit();
        bool allow = true;
        DoCellChanging(ACol, ARow, allow);
        if (IsFixed(ACol, ARow) || !allow)
            result = (allow && GetOptions().Contains(goRowSelect)) ||
                     (FFixedRowAlways && GetRowCount() == GetFixedRows());
        else
            result = TBaseGrid::SelectCell(ACol, ARow);
    } else {
        // A special editor is open: its value is validated before the cell moves.
        const String oldCache = FCellCache;
        const String atTarget = GetRawCell(RC, GetRow());
        if (atTarget.size() >= 2 && atTarget[0] == L'|' && atTarget[1] == L'\\')
            result = ValidateCellWide(GetCellWideText(GetRealCol(), GetRow()));
        else
            result = ValidateCell(GetRawCell(GetRealCol(), GetRow()));
        bool allow = true;
        DoCellChanging(ACol, ARow, allow);
        if (!allow)
            result = false;
        if (result)
            result = TBaseGrid::SelectCell(ACol, ARow);
        else
            N = oldCache;
    }

    if (indicator) {
        RepaintCell(0, oldRow);
        RepaintCell(0, ARow);
    }
    if (GetActiveCellShow())
        RepaintCellHeaders(GetCol(), oldRow, ACol, ARow);
    if (GetActiveRowShow()) {
        RepaintRow(ARow);
        RepaintRow(oldSel.Top);
    }
    if (FSelectionRectangle)
        Invalidate();
    if (!ComponentState().Contains(csLoading) && ARow != FOldRowSel && OnRowUpdate) {
        const int reported = FOldRowSel;
        FOldRowSel = ARow;
        OnRowUpdate(this, reported, ARow);
    }
    FCellCache = N;
    return result;
}

// --- advance after Enter ---------------------------------------------------------------

void TAdvStringGrid::AdvanceEditCell(int ACol, int ARow, bool FromEdit, bool Recursive, bool Forward,
                                     bool AutoEdit, bool Force)
{
    if (!FNavigation->GetAdvanceOnEnter() && !Force)
        return;
    if (FMouseActions->GetRangeSelectAndEdit() && !GetOptions().Contains(goEditing))
        SetOptions(GetOptions() + goEditing);
    if (Recursive && ACol == FAECol && ARow == FAERow)
        return;
    if (!Recursive) {
        FAECol = ACol;
        FAERow = ARow;
    }
    const int SC = GetCol();
    const int SR = GetRow();
    FStartEditChar = 0;

    const TAdvanceDirection dir = FNavigation->GetAdvanceDirection();
    const bool loop = FNavigation->GetAdvanceOnEnterLoop();
    const bool insert = FNavigation->GetAdvanceInsert();
    bool added = false;
    // One pass round the grid at most, whatever the settings say.
    const Int64 maxSteps = static_cast<Int64>(GetColCount() + 1) * (GetRowCount() + 1) + 2;
    Int64 steps = 0;

    // One step in the advance order; false when the advance stops.
    const auto step = [&]() -> bool {
        const int FE = GetFixedCols() == 0 && HasNodes() ? 1 : GetFixedCols();
        const int VR = VisibleFixedRightCols();
        const int lastNormalRow = GetRowCount() - FFixedFooters - 1;
        const int spanX = ACol >= 0 && ACol < GetColCount() ? std::max<int>(0, CellSpan(RealColIndex(ACol), ARow).x) : 0;
        if (!Forward) {
            if (dir == adLeftRight) {
                if (ACol > FE) {
                    --ACol;
                } else {
                    ARow = ARow > GetFixedRows() ? ARow - 1 : lastNormalRow;
                    ACol = GetColCount() - FFixedRightCols - 1;
                }
            } else if (dir == adTopBottom) {
                if (ARow > GetFixedRows()) {
                    --ARow;
                } else {
                    ACol = ACol > FE ? ACol - 1 : GetColCount() - FFixedRightCols - 1;
                    ARow = lastNormalRow;
                }
            }
            return true;
        }
        if (dir == adLeftRight || dir == adLeftRightInRow) {
            if (ACol + spanX < GetColCount() - VR - 1) {
                ACol += spanX + 1;
                return true;
            }
            if (dir == adLeftRightInRow) {
                if (!loop)
                    return false;
                ACol = FE;
                return true;
            }
            if (ARow + 1 < GetRowCount() - FFixedFooters) {
                ++ARow;
                ACol = FE;
                return true;
            }
            if (insert && !added) {
                bool allow = true;
                DoCanAddRow(allow);
                ACol = FE;
                if (allow) {
                    AddRow();
                    added = true;
                    ++ARow;
                    if (OnAutoAddRow)
                        OnAutoAddRow(this, GetRowCount() - FFixedFooters - 1);
                    bool anyEditable = false;
                    for (int c = GetFixedCols(); c < GetColCount() && !anyEditable; ++c)
                        anyEditable = IsEditable(RealColIndex(c), ARow);
                    if (!anyEditable)
                        return false;
                }
                return true;
            }
            if (!loop)
                return false;
            ARow = GetFixedRows();
            ACol = FE;
            return true;
        }
        // adTopBottom and adTopBottomInCol
        if (ARow + 1 < GetRowCount() - FFixedFooters) {
            ++ARow;
            return true;
        }
        if (dir == adTopBottomInCol) {
            if (insert && !added) {
                bool allow = true;
                DoCanAddRow(allow);
                if (allow) {
                    AddRow();
                    added = true;
                    ++ARow;
                    if (OnAutoAddRow)
                        OnAutoAddRow(this, GetRowCount() - FFixedFooters - 1);
                }
                return true;
            }
            if (!loop)
                return false;
            ARow = GetFixedRows();
            return true;
        }
        if (ACol + 1 == GetColCount() - FFixedRightCols) {
            if (insert && !added) {
                bool allow = true;
                DoCanAddCol(allow);
                if (allow) {
                    SetColCount(GetColCount() + 1);
                    added = true;
                    ACol += spanX + 1;
                    ARow = GetFixedRows();
                    if (OnAutoInsertCol)
                        OnAutoInsertCol(this, GetColCount() - FFixedRightCols - 1);
                }
            } else {
                if (!loop)
                    return false;
                ARow = GetFixedRows();
                ACol = FE;
            }
        } else {
            ARow = GetFixedRows();
            ++ACol;
            if (ACol >= GetColCount())
                ACol = FE;
        }
        Invalidate();
        return true;
    };

    // Makes the cell current through the events; the start cell is asked again when refused.
    const auto moveTo = [&](int col, int row) {
        bool allow = true;
        int newRow = row;
        int newCol = col;
        if (OnAutoAdvance)
            OnAutoAdvance(this, FAERow, FAECol, newRow, newCol, allow);
        const TFlagUp quiet(FDisableChange);
        if (allow && OnCellChanging)
            OnCellChanging(this, FAERow, FAECol, newRow, newCol, allow);
        // A cell the handler put outside the grid leaves the current cell where it is.
        const bool inside = newCol >= 0 && newRow >= 0 && newCol < GetColCount() && newRow < GetRowCount();
        if (allow && inside) {
            SetCol(newCol);
            SetRow(newRow);
        } else {
            CanSelectCell(SC, SR);
        }
    };

    for (;;) {
        if (!step())
            return;
        ACol = NearestVisibleCol(ACol);
        bool editable = !IsFixed(ACol, ARow);
        QueryCellEditable(RealColIndex(ACol), ARow, editable);
        if (editable) {
            moveTo(ACol, ARow);
            break;
        }
        if (!loop && NextAdvanceCell(ACol, ARow).x == -1)
            return;
        if (!FNavigation->GetAdvanceSkipReadOnlyCells()) {
            moveTo(ACol, ARow);
            break;
        }
        // Back at the start: nothing else takes the cursor.
        if ((ACol == FAECol && ARow == FAERow) || ++steps > maxSteps)
            return;
    }

    if (!FromEdit)
        return;
    if (TControl* control = GetCellControl(GetRealCol(), GetRow())) {
        if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
            if (windowed->CanFocus())
                windowed->SetFocus();
            const TFlagUp forced(FForceSel);
            MoveCurrentCell(SC, SR);
            return;
        }
    }
    const bool controlCell = IsControlCell(GetRealCol(), GetRow());
    if ((AutoEdit && FNavigation->GetAdvanceAutoEdit()) || controlCell) {
        if (!IsEditable(GetRealCol(), GetRow()))
            return;
        ShowEditor();
        if (controlCell) {
            const TFlagUp quiet(FDisableChange);
            if (!IsControlCell(RealColIndex(SC), SR))
                SimulateCellClick(GetCol(), GetRow());
            if (dir != adLeftRight)
                HideEditor();
        }
        if (controlCell) {
            bool allow = true;
            if (OnCellChanging)
                OnCellChanging(this, SR, SC, GetRow(), GetCol(), allow);
            TEditorType startKind = FDefaultEditor;
            DoGetEditorType(RealColIndex(SC), SR, startKind);
            if (startKind != edNormal && startKind != edNumeric && startKind != edPositiveNumeric &&
                startKind != edFloat && startKind != edCapital && startKind != edMixedCase &&
                startKind != edPassword && startKind != edLowerCase && startKind != edUpperCase &&
                startKind != edValidChars && startKind != edPositiveFloat)
                HideEditor();
        }
    }
    if (FMouseActions->GetDisjunctRowSelect()) {
        ClearDisjunctRowSelect();
        SetRowSelect(GetRow(), true);
    }
}

// --- key press ----------------------------------------------------------------------------

void TAdvStringGrid::HandleKeyPress(wchar_t& Key)
{
    const auto fire = [this, &Key] {
        if (OnKeyPress)
            OnKeyPress(this, Key);
    };
    const bool editOpen = GetEditorMode() || EditMode;
    if (Key == 27) {
        if (GetOptions().Contains(goEditing) && editOpen)
            RestoreCellCache();
        fire();
        return;
    }
    if (Key == 13) {
        if (!editOpen && !FNavigation->GetAdvanceOnEnter() && !IsEditable(GetRealCol(), GetRow())) {
            fire();
            Key = 0;
            return;
        }
        if (GetRowCount() == GetFixedRows() && FNavigation->GetAdvanceOnEnter()) {
            fire();
            if (FNavigation->GetAdvanceInsert()) {
                AppendRow();
                for (int c = 0; c < TotalColCount(); ++c)
                    SetRawCell(c, GetRowCount() - 1, String());
            }
            return;
        }
        const bool focused = HandleAllocated() && ::GetFocus() == GetHandle();
        if (!focused || IsControlCell(GetRealCol(), GetRow())) {
            const int enterCol = GetCol();
            if (!focused && CanFocus())
                SetFocus();
            AdvanceEditCell(GetCol(), GetRow(), EditMode, false, true, false, false);
            if (FNavigation->GetAdvanceOnEnter() && !FNavigation->GetAdvanceAutoEdit()) {
                fire();
                Key = 0;
                return;
            }
            if (IsControlCell(RealColIndex(enterCol), GetRow())) {
                fire();
                if (FNavigation->GetAdvanceOnEnter())
                    ShowInplaceEdit();
                return;
            }
            // Enter from the text editor ends the edit there: the inherited
            // handling would open the editor again at once.
            if (!focused) {
                fire();
                Key = 0;
                return;
            }
        }
    }
    if (!GetOptions().Contains(goEditing) && FNavigation->GetAutoGotoWhenSorted() && Key != 0) {
        if (FNavigation->GetAutoGotoIncremental()) {
            if (Key == 8) {
                if (!FIncrSearchText.empty())
                    FIncrSearchText.pop_back();
            } else {
                FIncrSearchText += Key;
            }
        } else {
            FIncrSearchText = String(1, Key);
        }
        SearchTics = 0;
        const int row = Search(AnsiUpperCase(FIncrSearchText));
        if (row == -1)
            FIncrSearchText.clear();
        else
            SetRow(row);
    }
    TBaseGrid::KeyPress(Key);
}

// --- in-cell form controls -----------------------------------------------------------------

void TAdvStringGrid::AdvanceCellControl(int ACol, int ARow, const String& CtrlID)
{
    const String text = GetRawCell(RealColIndex(ACol), ARow);
    const String next = FindNextHTMLEditControlID(text, CtrlID);
    if (next.empty()) {
        if (CanFocus())
            SetFocus();
        return;
    }
    // Opening the found control for editing belongs to the form-control
    // editors; until the grid has them the focus stays with the grid.
    if (CanFocus())
        SetFocus();
}
