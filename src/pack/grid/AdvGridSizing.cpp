// Column stretching, proportional sizing of all columns or rows, the sizing
// permission events, the borders a drag may size, and the dialog codes the
// grid asks for.
//
// A stretch asked for directly names a column that must exist (or -1, the
// last); one that comes from a window message or a setting may find its
// column gone since it was set, and stretches the last column instead, as
// an exception out of a window message would end the program. No column is
// ever given a width below 0.
#include "AdvGrid.h"
#include "Forms.h"
#include <algorithm>
#include <cmath>

void TAdvStringGrid::StretchColumns()
{
    FColumnSize->SetStretchAll(true);
    FColumnSize->SetStretch(true);
    ApplyColumnStretch(-1, -1);
}

void TAdvStringGrid::StretchRightColumn() { ApplyColumnStretch(GetColCount() - 1, -1); }

void TAdvStringGrid::ApplyColumnStretch(int StretchCol, int Width)
{
    if (LoadingNow() || Destroying() || (Application && Application->Terminated()))
        return;
    if (StretchCol < -1 || StretchCol >= GetColCount())
        throw Exception(L"Stretch column index out of range");
    StretchNow(StretchCol, Width);
}

void TAdvStringGrid::StretchOnNotice(int StretchCol, int Width)
{
    if (LoadingNow() || Destroying() || (Application && Application->Terminated()))
        return;
    if (StretchCol < -1 || StretchCol >= GetColCount())
        StretchCol = -1;
    StretchNow(StretchCol, Width);
}

void TAdvStringGrid::StretchNow(int StretchCol, int Width)
{
    const int count = GetColCount();
    if (count == 0 || !FColumnSize->GetStretch() || FIsColChanging)
        return;
    if (Width == -1)
        Width = GetClientWidth();
    if (StretchCol == -1)
        StretchCol = count - 1;
    FIsColChanging = true;
    const TScopeExit done([this] { FIsColChanging = false; });
    // Every column takes its line besides its width, so that the columns
    // end exactly at Width.
    const int line = GetGridLineWidth();

    if (count == 1) {
        SetColWidths(0, std::max(0, Width - line));
    } else if (FColumnSize->GetStretchAll()) {
        const int normal = count - GetFixedCols() - FFixedRightCols;
        if (normal > 0) {
            int rest = Width;
            for (int c = 0; c < GetFixedCols(); ++c)
                rest -= GetColWidths(c) + line;
            for (int c = count - FFixedRightCols; c < count; ++c)
                rest -= GetColWidths(c) + line;
            rest = std::max(0, rest - normal * line);
            const int share = rest / normal;
            const int extra = rest % normal;
            for (int i = 0; i < normal; ++i)
                SetColWidths(GetFixedCols() + i, share + (i < extra ? 1 : 0));
        }
    } else {
        int others = line;
        for (int c = 0; c < count; ++c)
            if (c != StretchCol)
                others += GetColWidths(c) + line;
        if (others < Width)
            SetColWidths(StretchCol, Width - others);
        else if (GetLeftCol() == GetFixedCols())
            SetColWidths(StretchCol, GetDefaultColWidth());
    }
    if (FFloatingFooter->GetVisible() && FFooterPanel) {
        FFooterPanel->SetAlign(alNone);
        FFooterPanel->SetAlign(alBottom);
    }
}

// --- width and height notifications ------------------------------------------------------------

void TAdvStringGrid::ColumnWidthsNotice()
{
    if (ColchgFlg && HandleAllocated() && !FIsColChanging)
        StretchOnNotice(FColumnSize->GetStretchColumn(), -1);
    if (DesignTime())
        HideScrollHint();

    const bool userSized = FGridState == gsColSizing && !FIsColChanging && !FIsScaling;
    const int sized = FPress.Colclicked;
    if (userSized && sized >= 0 && sized < GetColCount()) {
        const int previous = FPress.Colclickedsize;
        // The change reaches here once per column set below: scale once.
        FIsScaling = true;
        const TScopeExit scaled([this] { FIsScaling = false; });
        if (FMouseActions->GetAllColumnSize() && previous > 0) {
            const double factor = GetColWidths(sized) / static_cast<double>(previous);
            for (int c = GetFixedCols(); c < GetColCount(); ++c)
                if (c != sized)
                    SetColWidths(c, static_cast<int>(std::lround(GetColWidths(c) * factor)));
        }
        if (OnEndColumnSize)
            OnEndColumnSize(this, sized);
        int width = GetColWidths(sized);
        DoColumnResized(sized, width);
        if (width != GetColWidths(sized))
            SetColWidths(sized, width);
        FPress.Colclickedsize = GetColWidths(sized);
    }
    if (FFloatingFooter->GetVisible() && FFooterPanel)
        FFooterPanel->Invalidate();
    if (FColumnSize->GetStretch() && FScrollType != ssMetro)
        UpdateVScrollBar();
    UpdateHScrollBar();
}

void TAdvStringGrid::RowHeightsChanged()
{
    TBaseGrid::RowHeightsChanged();
    const bool userSized = FGridState == gsRowSizing && !FIsScaling;
    const int sized = FPress.Rowclicked;
    if (!userSized || sized < 0 || sized >= GetRowCount())
        return;
    FIsScaling = true;
    const TScopeExit scaled([this] { FIsScaling = false; });
    const int previous = FPress.Rowclickedsize;
    // A row that had no height gives no factor: the others stay.
    if (FMouseActions->GetAllRowSize() && previous > 0) {
        std::vector<int> fixedHeights;
        for (int r = 0; r < GetFixedRows(); ++r)
            fixedHeights.push_back(GetRowHeights(r));
        const double factor = GetRowHeights(sized) / static_cast<double>(previous);
        for (int r = GetFixedRows(); r < GetRowCount(); ++r)
            if (r != sized)
                SetRowHeights(r, static_cast<int>(std::lround(GetRowHeights(r) * factor)));
        if (GetFixedRows() < GetRowCount())
            SetDefaultRowHeight(GetRowHeights(GetFixedRows()));
        for (int r = 0; r < GetFixedRows(); ++r)
            SetRowHeights(r, fixedHeights[static_cast<size_t>(r)]);
    }
    FPress.Rowclickedsize = GetRowHeights(sized);
    UpdateVScrollBar();
    if (OnEndRowSize)
        OnEndRowSize(this, sized);
}

// --- where sizing starts -----------------------------------------------------------------------

void TAdvStringGrid::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                     TGridDrawInfo& FixedInfo)
{
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, FixedInfo);
    int ACol = -1, ARow = -1;
    MouseToCell(X - 6, Y, ACol, ARow);
    if (State == gsColSizing && ARow >= 0 && ARow < GetFixedRows() && ACol >= 0 && OnColumnSize) {
        bool allow = true;
        OnColumnSize(this, ACol, allow);
        if (!allow)
            State = gsNormal;
    }
    MouseToCell(X, Y - 6, ACol, ARow);
    if (State == gsRowSizing && ACol >= 0 && ACol < GetFixedCols() && ARow >= 0 && OnRowSize) {
        bool allow = true;
        OnRowSize(this, ARow, allow);
        if (!allow)
            State = gsNormal;
    }
}

bool TAdvStringGrid::IsOnSizingBorder(int X, int Y)
{
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0)
        return false;
    const TRect r = CellRect(ACol, ARow);
    const TGridOptions options = GetOptions();
    if (options.Contains(goColSizing) && ARow <= GetFixedRows() && (X - r.left < 4 || r.right - X < 4))
        return true;
    if (options.Contains(goRowSizing) && ACol <= GetFixedCols())
        return Y - r.top <= 3 || r.bottom - Y <= 3;
    return false;
}

// --- dialog codes ------------------------------------------------------------------------------

void TAdvStringGrid::GetDlgCodeMessage(TMessage& Message)
{
    TBaseGrid::WndProc(Message);
    if (FNavigation->GetAutoGotoWhenSorted() || !GetOptions().Contains(goEditing))
        Message.Result |= DLGC_WANTCHARS;
    if (GetOptions().Contains(goTabs) && (GetKeyState(VK_CONTROL) & 0x8000))
        Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
}
