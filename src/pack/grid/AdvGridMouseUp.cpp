// The releases: the left one ends what the press started (a drag of a
// column or row by its picture, range selection, disjunct marks), raises
// the click events and sorts on a header click; every release settles
// disjunct cell marks and the selection-changed events; the right one is
// swallowed while a column or row is dragged.
#include "AdvGrid.h"
#include "Forms.h"
#include <algorithm>
#include <windowsx.h>

void TAdvStringGrid::ColWidthsChanged()
{
    TBaseGrid::ColWidthsChanged();
    FPress.ColSizeFlg = true;
    ColumnWidthsNotice();
}

void TAdvStringGrid::HandleWMLButtonUp(TMessage& Message)
{
    const int X = GET_X_LPARAM(Message.LParam);
    const int Y = GET_Y_LPARAM(Message.LParam);
    FPress.ColMoveFlg = false;
    FPress.ColSizeFlg = false;
    FPress.FMouseDown = false;
    FPress.FMouseKeepDown = false;
    bool rowUnmarked = false;
    FPress.FMouseDownMove = false;
    FMouseSelectStart = -1;
    FMouseSelectMode = msNormal;

    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool onCell = ACol >= 0 && ARow >= 0;
    const bool onFixed = onCell && (ARow < GetFixedRows() || ACol < GetFixedCols());
    const bool sizing = FGridState == gsColSizing || FGridState == gsRowSizing;

    const bool moveEnd = EnhancedMoveDragging();
    if (onFixed && FPress.FDoOnClick && !sizing && OnClick)
        OnClick(this);
    FPress.FDoOnClick = false;

    if (FGridState == gsSelecting) {
        // The click of a selecting press, once: the base grid would click
        // again when it ends the selection itself.
        FGridState = gsNormal;
        Click();
    }

    TMouseActions* actions = FMouseActions.get();
    if (actions->GetDisjunctRowSelect() && onCell) {
        if (!(ACol == 0 && actions->GetHotmailRowSelect())) {
            FDisSelection = {-1, -1, -1, -1};
            SelectionToRowSelect(false);
        }
        if (ARow >= GetFixedRows() && ARow < GetRowCount() - FFixedFooters && FPress.FDeselectState) {
            SetRowSelect(actions->GetRowSelectPersistent() ? RealRowIndex(ARow) : ARow, false);
            rowUnmarked = true;
        }
        FPress.FDeselectState = false;
    }
    if (onCell && ACol > 0 && FGrouping->GetAutoSelectGroup())
        SelectGroupOfNode(ARow);
    if (actions->GetDisjunctColSelect()) {
        SelectionToColSelect(false);
        if (onCell && ACol >= GetFixedCols() && ACol < GetColCount() - FFixedRightCols && FPress.FDeselectState)
            SetColSelect(ACol, false);
        FPress.FDeselectState = false;
    }

    // The end of a drag of a column or row by its picture: the drop moves it.
    if (moveEnd) {
        const bool dropped = Screen->GetCursor() != crNoDrop;
        Screen->SetCursor(crDefault);
        const bool columns = FGridState == gsColMoving;
        if (dropped && columns && FPress.Movecell >= 0 && ACol >= GetFixedCols() && ACol != FPress.Movecell)
            MoveColumn(FPress.Movecell, ACol);
        else if (dropped && !columns && FPress.Movecell >= 0 && ARow >= GetFixedRows() && ARow != FPress.Movecell)
            MoveRow(FPress.Movecell, ARow);
        else if (!dropped && columns)
            RepaintRow(0);
        else if (!dropped)
            RepaintCol(0);
        FGridState = gsNormal;
    }

    TBaseGrid::Dispatch(Message);

    if (onFixed && !sizing && OnFixedCellClick)
        OnFixedCellClick(this, ACol, ARow);
    if (rowUnmarked)
        FSelChange = false;
    if (FGridState == gsSelecting)
        FGridState = gsNormal;

    if (FPress.ColMoveFlg || FPress.ColSizeFlg || !onCell || moveEnd)
        return;
    if (ACol < GetFixedCols() && ARow < GetFixedRows() && !FSortSettings->GetFixedCols())
        return;
    HeaderClickSort(ACol, ARow, X, Y);
}

void TAdvStringGrid::HeaderClickSort(int ACol, int ARow, int X, int Y)
{
    if (std::exchange(FPress.FDblClk, false))
        return;
    const TRect cellRect = TCustomGrid::CellRect(ACol, ARow);
    if (ARow < GetFixedRows() && GetOptions().Contains(goColSizing) &&
        (X - cellRect.left < 4 || cellRect.right - X < 4))
        return;  // the end of a sizing
    int downCol = -1, downRow = -1;
    MouseToCell(FPress.Clickposx, FPress.Clickposy, downCol, downRow);
    const int realCol = RealColIndex(ACol);

    TSortSettings* settings = FSortSettings.get();
    const bool sortCell = settings->GetRow() == ARow && downRow == ARow && GetFixedRows() > 0;
    bool doSort = true;
    if (sortCell && settings->GetShow() && GetRowCount() > 2) {
        if (IsIgnoredColumn(realCol))
            doSort = false;
        DoCanSort(realCol, doSort);
    }
    if (!(sortCell && settings->GetShow() && GetRowCount() > 2)) {
        return;
    }
    if (!doSort) {
        RepaintCell(ACol, ARow);
        return;
    }

    HideInplaceEdit();
    if (GetRowCount() != FSortRowXRef->Count())
        InitSortXRef();

    const DWORD started = GetTickCount();
    if (settings->GetIndexShow()) {
        const bool keyHeld =
            GetKeyState(settings->GetIndexSortKey() == ikCtrl ? VK_CONTROL : VK_SHIFT) < 0;
        const bool ascending = settings->GetInitSortDirection() == sdAscending;
        TSortIndexList* indexes = FSortIndexes.get();
        if (keyHeld) {
            if (indexes->FindIndex(realCol) < 0)
                indexes->AddIndex(realCol, ascending);
            else
                indexes->ToggleIndex(realCol);
        } else if (indexes->Count() == 1 && indexes->GetColumn(0) == realCol) {
            indexes->ToggleIndex(realCol);
        } else {
            indexes->Clear();
            indexes->AddIndex(realCol, ascending);
        }
        KeepLeftColumnWhile([this, settings, indexes] {
            if (FNumNodes > 0)
                QSortGroupIndexed();
            else
                QSortIndexed();
            settings->SetColumn(indexes->Count() > 0 ? indexes->GetColumn(0) : -1);
        });
    } else {
        bool unsort = false;
        if (settings->GetColumn() == realCol) {
            unsort = settings->GetDirection() != settings->GetInitSortDirection() && settings->GetUndoSort();
            settings->ToggleDirection();
        } else {
            settings->SetDirection(settings->GetInitSortDirection());
            settings->SetColumn(realCol);
        }
        KeepLeftColumnWhile([this, settings, unsort] {
            if (FNumNodes > 0) {
                QSortGroup();
            } else if (unsort) {
                QUnSort();
                settings->SetColumn(-1);
            } else {
                QSort();
            }
        });
    }
    FSort.time = GetTickCount() - started;
    CellControlsUpdate(true);
    DoClickSort(settings->GetColumn());
}

void TAdvStringGrid::SelectGroupOfNode(int ARow)
{
    if (!IsNode(ARow) || GetNodeState(ARow))
        return;
    // The group as far as the normal rows reach, whatever its stored span says.
    const int last = std::min(ARow + std::max(GetNodeSpan(ARow), 1), GetRowCount() - FFixedFooters) - 1;
    if (FMouseActions->GetDisjunctRowSelect()) {
        // Marks are kept by display row unless they persist by real row, as
        // the release's own marks are.
        const bool persistent = FMouseActions->GetRowSelectPersistent();
        for (int r = ARow + 1; r <= last; ++r)
            SetRowSelect(persistent ? RealRowIndex(r) : r, true);
    } else if (last >= ARow && GetColCount() > GetFixedCols()) {
        SetSelection({GetFixedCols(), ARow, GetColCount() - 1, last});
    }
}

void TAdvStringGrid::DoClickSort(int ACol)
{
    if (OnClickSort)
        OnClickSort(this, ACol);
}

bool TAdvStringGrid::EnhancedMoveDragging() const
{
    const TCursor cursor = Screen->GetCursor();
    return FEnhRowColMove && (cursor == crDrag || cursor == crNoDrop) &&
           (FGridState == gsColMoving || FGridState == gsRowMoving);
}

void TAdvStringGrid::HandleWMRButtonUp(TMessage& Message)
{
    if (EnhancedMoveDragging()) {
        Message.Result = 0;
        return;
    }
    TBaseGrid::Dispatch(Message);
}

void TAdvStringGrid::HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (DesignTime()) {
        TBaseGrid::MouseUp(Button, Shift, X, Y);
        return;
    }
    const TGridRect before = GetSelection();
    bool selChanged = before != FPress.FOrigSelection &&
                      (Button == mbLeft || (Button == mbRight && FMouseActions->GetSelectOnRightClick()));

    // A border let go outside the grid keeps its size.
    if ((FGridState == gsColSizing && X > GetClientWidth()) || (FGridState == gsRowSizing && Y > GetClientHeight())) {
        CancelSizing();
        return;
    }

    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (FMouseActions->GetDisjunctCellSelect() && Button == mbLeft && ACol >= 0 && ARow >= 0 &&
        !DisjunctCellRelease(ACol, ARow, Shift, selChanged))
        return;
    if (selChanged)
        DoSelectionChanged(before.Left, before.Top, before.Right, before.Bottom);

    // A right release while a column is dragged belongs to the drag.
    if (FGridState == gsColMoving && Button == mbRight)
        return;
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    // A header drawn pressed on hover gets its plain look back.
    if (FControlLook->GetFixedGradientDownTo() != clNone && ACol >= 0 && ARow == GetFixedRows() - 1 &&
        IsHoverFixedCell(ACol, ARow))
        RepaintCell(ACol, ARow);
    const TGridRect after = GetSelection();
    if (after != before)
        DoSelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}

bool TAdvStringGrid::DisjunctCellRelease(int ACol, int ARow, TShiftState Shift, bool& SelChanged)
{
    // The marks hold base cells: a release on a merged block marks the block.
    int baseCol = RealColIndex(ACol), baseRow = ARow;
    ResolveBaseCell(RealColIndex(ACol), ARow, baseCol, baseRow);
    const int pCol = DisplColIndex(baseCol);
    const int pRow = baseRow;
    auto fixed = [this](int c, int r) { return c < GetFixedCols() || r < GetFixedRows(); };
    auto repaintMarked = [this] {
        for (int i = 0; i < FSelectedCells->Count(); ++i) {
            const auto key = static_cast<uint32_t>(FSelectedCells->GetItem(i));
            RepaintCell(static_cast<int>(key & 0xFFFF), static_cast<int>(key >> 16));
        }
    };

    if (!fixed(pCol, pRow)) {
        bool canSelect = true;
        if (OnSelectCell)
            OnSelectCell(this, pCol, pRow, canSelect);
        if (!canSelect)
            return false;
        if (Shift.Contains(ssShift)) {
            SetCellSelected(ACol, ARow, true);
        } else if (Shift.Contains(ssCtrl)) {
            SetCellSelected(pCol, pRow, !IsSelected(pCol, pRow));
        } else {
            repaintMarked();
            FSelectedCells->Clear();
            SetCellSelected(pCol, pRow, true);
        }
        SelChanged = true;
    } else if (!Shift.Contains(ssCtrl) && !fixed(ACol, ARow)) {
        FSelectedCells->Clear();
        SelChanged = true;
        Invalidate();
    }

    // A drag over cells marks the cells it passed.
    const TGridRect sel = GetSelection();
    if (sel.Left == sel.Right && sel.Top == sel.Bottom) {
        RepaintCell(ACol, ARow);
        return true;
    }
    for (int c = sel.Left; c <= sel.Right; ++c)
        for (int r = sel.Top; r <= sel.Bottom; ++r)
            if ((c != pCol || r != pRow) && !IsSelected(c, r))
                SetCellSelected(c, r, true);
    repaintMarked();
    RepaintCell(ACol, ARow);
    return true;
}
