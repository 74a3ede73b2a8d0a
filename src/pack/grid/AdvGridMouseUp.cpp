// The left release: it ends what the press started, settles disjunct
// marks, raises the click events and sorts on a header click.
#include "AdvGrid.h"
#include <algorithm>
#include <windowsx.h>

void TAdvStringGrid::ColWidthsChanged()
{
    TBaseGrid::ColWidthsChanged();
    ColSizeFlg = true;
}

void TAdvStringGrid::HandleWMLButtonUp(TMessage& Message)
{
    const int X = GET_X_LPARAM(Message.LParam);
    const int Y = GET_Y_LPARAM(Message.LParam);
    ColMoveFlg = false;
    ColSizeFlg = false;
    FMouseDown = false;
    FMouseKeepDown = false;
    bool rowUnmarked = false;
    FMouseDownMove = false;
    FMouseSelectStart = -1;

    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool onCell = ACol >= 0 && ARow >= 0;
    const bool onFixed = onCell && (ARow < GetFixedRows() || ACol < GetFixedCols());
    const bool sizing = FGridState == gsColSizing || FGridState == gsRowSizing;

    if (onFixed && FDoOnClick && !sizing && OnClick)
        OnClick(this);
    FDoOnClick = false;

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
        if (ARow >= GetFixedRows() && ARow < GetRowCount() - FFixedFooters && FDeselectState) {
            SetRowSelect(actions->GetRowSelectPersistent() ? RealRowIndex(ARow) : ARow, false);
            rowUnmarked = true;
        }
        FDeselectState = false;
    }
    if (actions->GetDisjunctColSelect()) {
        SelectionToColSelect(false);
        if (onCell && ACol >= GetFixedCols() && ACol < GetColCount() - FFixedRightCols && FDeselectState)
            SetColSelect(ACol, false);
        FDeselectState = false;
    }

    TBaseGrid::Dispatch(Message);

    if (onFixed && !sizing && OnFixedCellClick)
        OnFixedCellClick(this, ACol, ARow);
    if (rowUnmarked)
        FSelChange = false;
    if (FGridState == gsSelecting)
        FGridState = gsNormal;

    if (ColMoveFlg || ColSizeFlg || !onCell)
        return;
    if (ACol < GetFixedCols() && ARow < GetFixedRows() && !FSortSettings->GetFixedCols())
        return;
    HeaderClickSort(ACol, ARow, X, Y);
}

void TAdvStringGrid::HeaderClickSort(int ACol, int ARow, int X, int Y)
{
    if (std::exchange(FDblClk, false))
        return;
    const TRect cellRect = TCustomGrid::CellRect(ACol, ARow);
    if (ARow < GetFixedRows() && GetOptions().Contains(goColSizing) &&
        (X - cellRect.left < 4 || cellRect.right - X < 4))
        return;  // the end of a sizing
    int downCol = -1, downRow = -1;
    MouseToCell(Clickposx, Clickposy, downCol, downRow);
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
            if (unsort) {
                QUnSort();
                settings->SetColumn(-1);
            } else {
                QSort();
            }
        });
    }
    SortTime = GetTickCount() - started;
    CellControlsUpdate(true);
    DoClickSort(settings->GetColumn());
}

void TAdvStringGrid::DoClickSort(int ACol)
{
    if (OnClickSort)
        OnClickSort(this, ACol);
}
