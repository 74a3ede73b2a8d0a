// The left press: the mouse state a press leaves for the move and the
// release, disjunct row and column marks, and the hand-over to the base
// grid, which selects cells and starts sizing and moving.
#include "AdvGrid.h"
#include <algorithm>
#include <windowsx.h>

namespace {

// The one modifier the press reports: Alt over Shift over Ctrl.
TShiftState PressShift()
{
    if (GetKeyState(VK_MENU) < 0)
        return {ssAlt};
    if (GetKeyState(VK_SHIFT) < 0)
        return {ssShift};
    if (GetKeyState(VK_CONTROL) < 0)
        return {ssCtrl};
    return {};
}

} // namespace

void TAdvStringGrid::KeepLeftColumnWhile(const std::function<void()>& Work)
{
    // With row selection the view keeps its left column, and repaints once.
    const bool keep = GetOptions().Contains(goRowSelect) && FNavigation->GetKeepHorizScroll();
    const int leftCol = GetLeftCol();
    if (!keep) {
        Work();
        return;
    }
    const auto lock = UpdateLock();
    const TScopeExit keepLeft([this, leftCol] { SetLeftCol(leftCol); });
    Work();
}

bool TAdvStringGrid::NearColumnBorder(int ACol, int ARow, int X)
{
    const TRect r = TCustomGrid::CellRect(ACol, ARow);
    return X - r.left < 4 || r.right - X < 4;
}

void TAdvStringGrid::HandleWMLButtonDown(TMessage& Message)
{
    const int X = GET_X_LPARAM(Message.LParam);
    const int Y = GET_Y_LPARAM(Message.LParam);
    FPress.FDoOnClick = true;
    FPress.FMouseDownMove = true;
    FPress.FMouseKeepDown = true;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    FPress.FOrigSelection = GetSelection();
    const TShiftState shift = PressShift();

    bool allow = true;
    if (OnCanClickCell)
        OnCanClickCell(this, ARow, ACol, allow);
    if (!allow)
        return;

    // A plain press on a normal cell starts a new set of marked cells.
    if (FMouseActions->GetDisjunctCellSelect() && !shift.Contains(ssCtrl) && ACol >= GetFixedCols() &&
        ARow >= GetFixedRows()) {
        FSelectedCells->Clear();
        Invalidate();
    }

    FPress.FMoveColInd = -1;
    FPress.FMoveRowInd = -1;
    FPress.FSelectionClick = false;
    FPress.FOldKeepLeftCol = GetLeftCol();
    FOldTopRow = GetTopRowEx();

    // The cell whose right or bottom border a drag from here would size.
    MouseToCell(ACol == 0 && ARow != 0 ? X : X - 5, ARow == 0 ? Y : Y - 4, FPress.Colclicked, FPress.Rowclicked);
    if (FPress.Colclicked >= 0 && FPress.Rowclicked >= 0) {
        FPress.Colclickedsize = GetColWidths(FPress.Colclicked);
        FPress.Rowclickedsize = GetRowHeights(FPress.Rowclicked);
    }
    FPress.Clickposx = X;
    FPress.Clickposy = Y;

    if (ACol < 0 || ARow < 0) {
        HideInplaceEdit();
        if (!GetFixedRowAlways())
            TBaseGrid::Dispatch(Message);
        return;
    }
    const bool fixedClick = ACol < GetFixedCols() || ARow < GetFixedRows();

    // A covered cell of a block acts as the block's base cell.
    int baseCol = RealColIndex(ACol), baseRow = ARow;
    if (!ResolveBaseCell(RealColIndex(ACol), ARow, baseCol, baseRow)) {
        ACol = DisplColIndex(baseCol);
        ARow = baseRow;
    }

    const bool otherFixed = !fixedClick && IsFixedCell(ACol, ARow);
    if (fixedClick || otherFixed)
        HideInplaceEdit();

    if (ACol >= GetColCount() || ARow >= GetRowCount()) {
        TBaseGrid::Dispatch(Message);
        return;
    }

    {
        const int right = FPress.Colclicked >= 0 && FPress.Rowclicked >= 0 ? TCustomGrid::CellRect(FPress.Colclicked, FPress.Rowclicked).right : 0;
        const int bottom = FPress.Colclicked >= 0 && FPress.Rowclicked >= 0 ? TCustomGrid::CellRect(FPress.Colclicked, FPress.Rowclicked).bottom : 0;
        FPress.Clickposdx = FPress.Clickposx - right;
        FPress.Clickposdy = FPress.Clickposy - bottom;
    }

    TMouseActions* actions = FMouseActions.get();
    if (actions->GetDisjunctRowSelect() && ARow >= GetFixedRows() &&
        !(ACol == 0 && (actions->GetHotmailRowSelect() || actions->GetRowSelect()))) {
        if (shift.Contains(ssShift)) {
            TBaseGrid::Dispatch(Message);
            SetSelection({ACol, ARow, FPress.FOrigSelection.Left, FPress.FOrigSelection.Top});
            return;
        }
        if (shift.Contains(ssCtrl) || actions->GetDisjunctRowSelectNoCtrl()) {
            const int markRow = actions->GetRowSelectPersistent() ? RealRowIndex(ARow) : ARow;
            if (GetRowSelect(markRow))
                FPress.FDeselectState = true;
        } else {
            FPress.FMouseDown = true;
            if (!shift.Contains(ssAlt))
                ClearDisjunctRowSelect();
        }
    }
    if (actions->GetDisjunctColSelect() && ACol >= GetFixedCols()) {
        if (shift.Contains(ssCtrl)) {
            if (GetColSelect(ACol))
                FPress.FDeselectState = true;
        } else {
            FPress.FMouseDown = true;
            ClearColSelect();
        }
    }

    FPress.Movecell = -1;
    if (ARow < GetFixedRows() && ACol >= GetFixedCols())
        FPress.Movecell = ACol;
    else if (ACol < GetFixedCols() && ARow >= GetFixedRows())
        FPress.Movecell = ARow;
    {
        const TRect cell = TCustomGrid::CellRect(ACol, ARow);
        FPress.MoveOfsX = X - cell.left;
        FPress.MoveOfsY = Y - cell.top;
    }

    // The node column: a button toggles its node, the header's all nodes;
    // the rest of the column does not select.
    if (ACol == 0 && HasNodes()) {
        if (ARow < GetFixedRows()) {
            TCellGraphic* header = NodeGraphic(ARow);
            if (header && actions->GetNodeAllExpandContract() && IsNodeButtonHit(ARow, X)) {
                if (header->GetCellBoolean())
                    ExpandAll();
                else
                    ContractAll();
                header->SetCellBoolean(!header->GetCellBoolean());
            }
        } else if (IsNode(ARow) && IsNodeButtonHit(ARow, X)) {
            ToggleNodeByPress(ARow, ACol, X, Y, shift);
            return;
        } else if (!actions->GetRowSelect() && !GetOptions().Contains(goRowSizing) &&
                   !HasGraphicOfKinds(0, ARow, {ctButton, ctBitButton, ctRating})) {
            if (OnMouseDown)
                OnMouseDown(this, mbLeft, shift, X, Y);
            DoClickCell(ARow, ACol);
            return;
        }
    }

    if (otherFixed) {
        DoClickCell(ARow, ACol);
        return;
    }

    // Everything else goes to the base grid, with the left column kept
    // where the view keeps it.
    KeepLeftColumnWhile([this, &Message] {
        if (FSelHidden)
            return;
        const bool alwaysEdit = FNavigation->GetAlwaysEdit();
        FNavigation->SetAlwaysEdit(false);
        const TScopeExit restore([this, alwaysEdit] { FNavigation->SetAlwaysEdit(alwaysEdit); });
        TBaseGrid::Dispatch(Message);
    });

    const bool sizingPress =
        ARow < GetFixedRows() && GetOptions().Contains(goColSizing) && NearColumnBorder(ACol, ARow, X);
    if (!sizingPress)
        DoClickCell(ARow, ACol);
}

void TAdvStringGrid::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        HandleWMLButtonDown(Message);
        return;
    case WM_LBUTTONUP:
        HandleWMLButtonUp(Message);
        return;
    case WM_RBUTTONUP:
        HandleWMRButtonUp(Message);
        return;
    default:
        TBaseGrid::Dispatch(Message);
    }
}
