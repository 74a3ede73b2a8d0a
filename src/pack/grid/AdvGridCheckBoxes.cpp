// Check boxes (two-state, data, tri-state, the row-select box) and radio
// controls (one button per cell, grouped along a column or row; a group of
// options in one cell): adding, states, toggling with its events, automatic
// checking of grouped rows, and the hit test of the box.
#include "AdvGrid.h"
#include "HTMLUtils.h"
#include "SysUtils.h"
#include <algorithm>

namespace {

bool IsCheckKind(TCellType Kind)
{
    return Kind == ctCheckBox || Kind == ctDataCheckBox || Kind == ctVirtCheckBox || Kind == ctRowCheckBox ||
           Kind == ctTriStateCheckBox;
}

// The kinds whose state is their cell's text.
bool IsTextBox(TCellType Kind) { return Kind == ctDataCheckBox || Kind == ctVirtCheckBox; }

} // namespace

// --- shared steps -----------------------------------------------------------------------

TCellVAlign TAdvStringGrid::NewControlVAlign() const
{
    switch (FVAlignment) {
    case vtaCenter:
        return vaCenter;
    case vtaBottom:
        return vaBottom;
    default:
        return vaTop;
    }
}

TCellGraphic* TAdvStringGrid::CheckGraphicAtRealRow(int ACol, int ARealRow)
{
    if (NumHiddenRows() == 0 || (ACol == 0 && FMouseActions->GetHotmailRowSelect()))
        return GetCellGraphic(ACol, DisplRowIndex(ARealRow));
    // A hidden row keeps its properties with its texts; past its entries it has none.
    auto* props = dynamic_cast<TCellProperties*>(GetRealRowObject(ACol, ARealRow));
    return props ? dynamic_cast<TCellGraphic*>(props->GetGraphicObject()) : nullptr;
}

void TAdvStringGrid::SetRealRowCellText(int ACol, int ARealRow, const String& Value)
{
    if (!IsHiddenRow(ARealRow)) {
        SetCellText(ACol, DisplRowIndex(ARealRow), Value);
        return;
    }
    if (TStrings* items = GetHiddenRowStrings(ARealRow); items && ACol >= 0 && ACol < items->Count())
        items->Put(ACol, Value);
}

bool TAdvStringGrid::NodeAt(int ARow, int& Span, bool& Contracted)
{
    if (!IsStorageCell(0, ARow))
        return false;
    const auto* node = dynamic_cast<TCellGraphic*>(GetCellGraphicObject(0, ARow));
    if (!node || node->GetCellType() != ctNode)
        return false;
    Span = node->GetCellIndex();
    Contracted = node->GetCellBoolean();
    return true;
}

int TAdvStringGrid::ParentNodeRow(int ARow, int& Span)
{
    for (int r = ARow - 1; r >= GetFixedRows(); --r) {
        bool contracted = false;
        if (NodeAt(r, Span, contracted))
            return r + Span - 1 >= ARow ? r : -1;
    }
    return -1;
}

// --- adding and removing check boxes ----------------------------------------------------

void TAdvStringGrid::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    TCellGraphic* graphic = NewOwnedGraphicFor(ACol, ARow);
    graphic->SetCheckBox(State, Data, true, haBeforeText, NewControlVAlign());
    if (!Data)
        return;
    String checkTrue, checkFalse;
    DoGetCheckTrue(ACol, ARow, checkTrue);
    DoGetCheckFalse(ACol, ARow, checkFalse);
    const String text = GetCellText(ACol, ARow);
    if (text != checkTrue && text != checkFalse)
        SetCellText(ACol, ARow, State ? checkTrue : checkFalse);
}

void TAdvStringGrid::AddCheckBox(int ACol, int ARow, TCheckBoxState State)
{
    NewOwnedGraphicFor(ACol, ARow)->SetCheckBox(State, true, haBeforeText, NewControlVAlign());
}

void TAdvStringGrid::AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox)
{
    const int first = FMouseActions->GetCheckAllCheck() ? 0 : GetFixedRows();
    for (int r = first; r < GetRowCount() - FFixedFooters; ++r) {
        if (GetCellGraphicType(0, r) == ctSummary)
            continue;
        int span = 0;
        bool contracted = false;
        if (NodeAt(r, span, contracted))
            AddCheckBox(ACol, r, DefaultState ? cbChecked : cbUnchecked);
        else
            AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TAdvStringGrid::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State)
{
    const int first = FMouseActions->GetCheckAllCheck() ? 0 : GetFixedRows();
    for (int r = first; r < GetRowCount(); ++r)
        AddCheckBox(ACol, r, State);
}

void TAdvStringGrid::RemoveCheckBoxColumn(int ACol)
{
    const int first = FMouseActions->GetCheckAllCheck() ? 0 : GetFixedRows();
    for (int r = first; r < GetRowCount(); ++r)
        if (HasCheckBox(ACol, r))
            RemoveCheckBox(ACol, r);
}

void TAdvStringGrid::RemoveCheckBox(int ACol, int ARow)
{
    const TCellType kind = GetCellGraphicType(ACol, ARow);
    if (kind != ctCheckBox && kind != ctDataCheckBox && kind != ctTriStateCheckBox)
        return;
    // The record frees an attached balloon with itself.
    RemoveCellGraphic(ACol, ARow);
    RepaintCell(DisplColIndex(ACol), ARow);
}

bool TAdvStringGrid::HasCheckBox(int ACol, int ARow)
{
    return HasGraphicOfKinds(ACol, ARow, {ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox});
}

bool TAdvStringGrid::HasDataCheckBox(int ACol, int ARow)
{
    return HasGraphicOfKinds(ACol, ARow, {ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox});
}

bool TAdvStringGrid::IsDataCheckBoxColumn(int ACol)
{
    const int r = GetFixedRows();
    return r + 1 < GetRowCount() && HasDataCheckBox(ACol, r) && HasDataCheckBox(ACol, r + 1);
}

// --- states -----------------------------------------------------------------------------

bool TAdvStringGrid::GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State)
{
    const TCellGraphic* graphic = CheckGraphicAtRealRow(ACol, ARow);
    if (!graphic)
        return false;
    switch (graphic->GetCellType()) {
    case ctCheckBox:
        State = BoolToCheckBoxState(graphic->GetCellBoolean());
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        String checkTrue;
        DoGetCheckTrue(ACol, ARow, checkTrue);
        State = BoolToCheckBoxState(GetRealRowCellText(ACol, ARow) == checkTrue);
        return true;
    }
    case ctTriStateCheckBox:
        State = graphic->GetCellCheckBoxState();
        return true;
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        State = BoolToCheckBoxState(GetRowSelect(ARow));
        return true;
    default:
        return false;
    }
}

bool TAdvStringGrid::GetCheckBoxState(int ACol, int ARow, bool& State)
{
    TCheckBoxState state = cbUnchecked;
    const TCellGraphic* graphic = CheckGraphicAtRealRow(ACol, ARow);
    // A tri-state box has no two-state answer.
    if (!graphic || graphic->GetCellType() == ctTriStateCheckBox || !GetCheckBoxState(ACol, ARow, state))
        return false;
    State = state == cbChecked;
    return true;
}

bool TAdvStringGrid::IsChecked(int ACol, int ARow)
{
    bool state = false;
    return GetCheckBoxState(ACol, ARow, state) && state;
}

bool TAdvStringGrid::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State)
{
    TCellGraphic* graphic = CheckGraphicAtRealRow(ACol, ARow);
    if (!graphic || graphic->GetCellType() != ctTriStateCheckBox)
        return false;
    graphic->SetCellCheckBoxState(State);
    RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
    return true;
}

bool TAdvStringGrid::SetCheckBoxState(int ACol, int ARow, bool State)
{
    TCellGraphic* graphic = CheckGraphicAtRealRow(ACol, ARow);
    if (!graphic)
        return false;
    switch (graphic->GetCellType()) {
    case ctCheckBox:
        graphic->SetCellBoolean(State);
        RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
        return true;
    case ctTriStateCheckBox:
        graphic->SetCellCheckBoxState(BoolToCheckBoxState(State));
        RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        String text;
        if (State)
            DoGetCheckTrue(ACol, ARow, text);
        else
            DoGetCheckFalse(ACol, ARow, text);
        SetRealRowCellText(ACol, ARow, text);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        SetRowSelect(ARow, State);
        return true;
    default:
        return false;
    }
}

// --- toggling ---------------------------------------------------------------------------

bool TAdvStringGrid::ToggleCheckCell(int ACol, int ARow, bool FromClick)
{
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic)
        return false;
    bool allow = true;
    if (OnCheckBoxCanToggle)
        OnCheckBoxCanToggle(this, ACol, ARow, graphic->GetCellBoolean(), allow);
    if (!allow)
        return false;

    const bool grouped = FGrouping->GetAutoCheckGroup() && ARow >= GetFixedRows();
    int span = 0;
    bool contracted = false;
    const bool nodeRow = grouped && NodeAt(ARow, span, contracted);
    int parentSpan = 0;
    const int parent = grouped && !nodeRow ? ParentNodeRow(ARow, parentSpan) : -1;

    const TCellType kind = graphic->GetCellType();
    if (!IsCheckKind(kind))
        return false;
    if (FromClick && !FControlLook->GetCheckAlwaysActive()) {
        bool canEdit = true;
        QueryCellEditable(ACol, ARow, canEdit);
        if (!canEdit)
            return false;
    }

    bool newState = false;
    String oldText, newText;
    if (kind == ctCheckBox) {
        newState = !graphic->GetCellBoolean();
        graphic->SetCellBoolean(newState);
    } else if (kind == ctTriStateCheckBox) {
        const TCheckBoxState state = graphic->GetCellCheckBoxState();
        TCheckBoxState next = cbChecked;
        if (state == cbUnchecked)
            next = nodeRow ? cbChecked : cbGrayed;
        else if (state == cbChecked)
            next = cbUnchecked;
        graphic->SetCellCheckBoxState(next);
        newState = next == cbChecked;
    } else if (kind == ctRowCheckBox) {
        newState = !GetRowSelect(RealRowIndex(ARow));
        SetRowSelect(RealRowIndex(ARow), newState);
    } else {
        String checkTrue, checkFalse;
        DoGetCheckTrue(ACol, ARow, checkTrue);
        DoGetCheckFalse(ACol, ARow, checkFalse);
        oldText = GetCellText(ACol, ARow);
        newState = oldText != checkTrue;
        newText = newState ? checkTrue : checkFalse;
        SetCellText(ACol, ARow, newText);
    }
    RepaintCell(DisplColIndex(ACol), ARow);
    DoCheckBoxChange(ACol, ARow, newState);

    if (nodeRow) {
        for (int i = 1; i < span; ++i) {
            const int row = contracted ? RealRowIndex(ARow) + i : RealRowIndex(ARow + i);
            SetCheckBoxState(ACol, row, newState);
        }
    } else if (parent >= 0) {
        const int parentReal = RealRowIndex(parent);
        bool first = false;
        bool mixed = false;
        for (int i = 1; i < parentSpan; ++i) {
            bool state = false;
            GetCheckBoxState(ACol, parentReal + i, state);
            if (i == 1)
                first = state;
            else if (state != first)
                mixed = true;
        }
        SetCheckBoxState(ACol, parentReal, mixed ? cbGrayed : BoolToCheckBoxState(first));
    }

    // Only a box whose state is its text can be put back by the history of
    // texts; the change recorded is the one just made.
    if (GetUndoRedo() && IsTextBox(kind))
        GetUndoRedo()->RegisterChange(ACol, ARow, oldText, newText);
    return true;
}

bool TAdvStringGrid::SetCheckStateNotify(int ACol, int ARow, bool State)
{
    const int realRow = RealRowIndex(ARow);
    TCellGraphic* graphic = CheckGraphicAtRealRow(ACol, realRow);
    if (!graphic)
        return false;
    switch (graphic->GetCellType()) {
    case ctCheckBox:
        if (graphic->GetCellBoolean() != State) {
            graphic->SetCellBoolean(State);
            DoCheckBoxChange(ACol, ARow, State);
            RepaintCell(DisplColIndex(ACol), ARow);
        }
        return true;
    case ctTriStateCheckBox:
        graphic->SetCellCheckBoxState(BoolToCheckBoxState(State));
        return false;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        const bool was = IsChecked(ACol, realRow);
        SetCheckBoxState(ACol, realRow, State);
        if (was != State)
            DoCheckBoxChange(ACol, ARow, State);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        if (State != GetRowSelect(ARow)) {
            SetRowSelect(ARow, State);
            DoCheckBoxChange(ACol, ARow, State);
        }
        return true;
    default:
        return false;
    }
}

void TAdvStringGrid::CheckAll(int ACol)
{
    for (int r = GetFixedRows(); r < GetRowCount(); ++r)
        SetCheckStateNotify(ACol, r, true);
    if (NumHiddenColumns() > 0)
        RepaintCol(DisplColIndex(ACol));
}

void TAdvStringGrid::UnCheckAll(int ACol)
{
    for (int r = GetFixedRows(); r < GetRowCount(); ++r)
        SetCheckStateNotify(ACol, r, false);
}

bool TAdvStringGrid::IsInCheckBox(int ACol, int ARow, int XPos, int YPos)
{
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic || !(IsCheckKind(graphic->GetCellType()) || graphic->GetCellType() == ctRadioButton))
        return false;
    if (!FMouseActions->GetPreciseCheckBoxCheck())
        return true;
    const int size = FControlLook->GetCheckSize();
    const TRect cell = CellRect(DisplColIndex(ACol), ARow);
    int top = cell.top + 2;
    if (graphic->GetCellVAlign() == vaBottom)
        top = cell.bottom - size - 2;
    else if (graphic->GetCellVAlign() == vaCenter)
        top = cell.top + (cell.Height() - size) / 2;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    GetCellAlignment(ACol, ARow, ha, va);
    int left = cell.left + 2;
    if (ha == taRightJustify) {
        left = cell.right - size - 2;
        const String text = StripHTMLTags(GetCellText(ACol, ARow));
        if (!text.empty()) {
            GetCanvas()->GetFont()->Assign(GetFont());
            left -= GetCanvas()->TextWidth(text);
        }
    } else if (ha == taCenter) {
        left = cell.left + (cell.Width() - size) / 2;
    }
    return TRect(left, top, left + size, top + size).Contains(TPoint(XPos, YPos));
}

// --- radio buttons ----------------------------------------------------------------------

void TAdvStringGrid::AddRadioButtonGroup(int ACol, int ARow, TRadioButtonGroup Group, bool State)
{
    NewOwnedGraphicFor(ACol, ARow)->SetRadioButton(State, true, haBeforeText, NewControlVAlign(), Group);
}

void TAdvStringGrid::AddRadioButtonColumn(int ACol)
{
    for (int r = GetFixedRows(); r < GetRowCount(); ++r)
        AddRadioButtonGroup(ACol, r, rgCol, false);
}

void TAdvStringGrid::AddRadioButtonGroupColumn(int ACol)
{
    for (int r = GetFixedRows(); r < GetRowCount(); ++r)
        AddRadioButtonGroup(ACol, r, rgRow, false);
}

void TAdvStringGrid::RemoveRadioButton(int ACol, int ARow)
{
    if (RemoveCellGraphicOfType(ACol, ARow, ctRadioButton))
        RepaintCell(DisplColIndex(ACol), ARow);
}

void TAdvStringGrid::RemoveRadioButtonColumn(int ACol)
{
    for (int r = GetFixedRows(); r < GetRowCount(); ++r)
        RemoveRadioButton(ACol, r);
}

namespace {

TCellGraphic* BaseRadioButton(TAdvStringGrid* Grid, int ACol, int ARow)
{
    if (!Grid->IsStorageCell(ACol, ARow))
        return nullptr;
    const TPoint base = Grid->BaseCell(ACol, ARow);
    TCellGraphic* graphic = Grid->GetCellGraphic(base.x, base.y);
    return graphic && graphic->GetCellType() == ctRadioButton ? graphic : nullptr;
}

} // namespace

bool TAdvStringGrid::HasRadioButton(int ACol, int ARow) { return BaseRadioButton(this, ACol, ARow) != nullptr; }

bool TAdvStringGrid::HasRadioButtonGroup(int ACol, int ARow, TRadioButtonGroup Group)
{
    const TCellGraphic* graphic = BaseRadioButton(this, ACol, ARow);
    return graphic && graphic->GetCellAngle() == Group;
}

bool TAdvStringGrid::IsRadioButtonChecked(int ACol, int ARow)
{
    const TCellGraphic* graphic = BaseRadioButton(this, ACol, ARow);
    return graphic && graphic->GetCellBoolean();
}

bool TAdvStringGrid::SetRadioButtonState(int ACol, int ARow, bool State)
{
    TCellGraphic* graphic = BaseRadioButton(this, ACol, ARow);
    if (!graphic)
        return false;
    if (graphic->GetCellBoolean() != State) {
        graphic->SetCellBoolean(State);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
    return true;
}

void TAdvStringGrid::SetRadioButtonRowIndex(int ARow, int Index)
{
    for (int c = GetFixedCols(); c < GetColCount(); ++c)
        SetRadioButtonState(c, ARow, c == Index);
}

void TAdvStringGrid::SetRadioButtonColumnIndex(int ACol, int Index)
{
    for (int r = GetFixedRows(); r < GetRowCount(); ++r)
        SetRadioButtonState(ACol, r, r == Index);
}

int TAdvStringGrid::GetRadioButtonColumnIndex(int ACol)
{
    for (int r = GetFixedRows(); r < GetRowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r))
            return r;
    return -1;
}

bool TAdvStringGrid::ClickRadioButtonCell(int ACol, int ARow, bool FromClick)
{
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic || graphic->GetCellType() != ctRadioButton)
        return false;
    if (FromClick && !FControlLook->GetCheckAlwaysActive()) {
        bool canEdit = true;
        QueryCellEditable(ACol, ARow, canEdit);
        if (!canEdit)
            return false;
    }
    if (graphic->GetCellBoolean())
        return true;
    graphic->SetCellBoolean(true);
    RepaintCell(DisplColIndex(ACol), ARow);
    // Walks away from the button while the cells hold radio buttons.
    auto walk = [this](int c, int r, int dc, int dr) {
        for (c += dc, r += dr; IsStorageCell(c, r); c += dc, r += dr) {
            TCellGraphic* other = GetCellGraphic(c, r);
            if (!other || other->GetCellType() != ctRadioButton)
                break;
            if (other->GetCellBoolean()) {
                other->SetCellBoolean(false);
                RepaintCell(DisplColIndex(c), r);
            }
        }
    };
    switch (graphic->GetCellAngle()) {
    case rgCol:
        walk(ACol, ARow, 0, 1);
        walk(ACol, ARow, 0, -1);
        break;
    case rgRow:
        walk(ACol, ARow, 1, 0);
        walk(ACol, ARow, -1, 0);
        break;
    default:
        break;
    }
    return true;
}

// --- radio groups -----------------------------------------------------------------------

void TAdvStringGrid::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings* sl)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetCellType(ctRadio);
    graphic->SetCellBitmap(sl);
    graphic->SetCellAngle(sl ? sl->Count() : 0);
    graphic->SetCellBoolean(DirRadio != 0);
    graphic->SetCellIndex(IdxRadio);
}

TStrings* TAdvStringGrid::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio)
{
    TCellGraphic* graphic = NewOwnedGraphicFor(ACol, ARow);
    auto* options = New<TStringList>();
    graphic->SetCellType(ctRadio);
    graphic->SetCellBitmap(options);
    graphic->SetCellCreated(true);
    graphic->SetCellAngle(0);
    graphic->SetCellBoolean(DirRadio != 0);
    graphic->SetCellIndex(IdxRadio);
    return options;
}

bool TAdvStringGrid::GetRadioIdx(int ACol, int ARow, int& IdxRadio)
{
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic)
        return false;
    IdxRadio = graphic->GetCellIndex();
    return graphic->GetCellType() == ctRadio;
}

bool TAdvStringGrid::SetRadioIdx(int ACol, int ARow, int IdxRadio)
{
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    // The index of other kinds is their size, colour or image: not ours to set.
    if (!graphic || graphic->GetCellType() != ctRadio)
        return false;
    graphic->SetCellIndex(IdxRadio);
    if (IdxRadio == -1)
        SetCellText(ACol, ARow, L"");
    RepaintCell(DisplColIndex(ACol), ARow);
    return true;
}

TStrings* TAdvStringGrid::GetRadioStrings(int ACol, int ARow)
{
    if (!IsRadio(ACol, ARow))
        return nullptr;
    const TPoint base = BaseCell(ACol, ARow);
    return dynamic_cast<TStrings*>(GetCellGraphic(base.x, base.y)->GetCellBitmap());
}

bool TAdvStringGrid::IsRadio(int ACol, int ARow) { return HasGraphicOfKinds(ACol, ARow, {ctRadio}); }

bool TAdvStringGrid::AdvanceRadioSelection(int ACol, int ARow, bool FromKey)
{
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic || graphic->GetCellType() != ctRadio)
        return false;
    if (FromKey && !FControlLook->GetRadioAlwaysActive()) {
        bool canEdit = true;
        QueryCellEditable(ACol, ARow, canEdit);
        if (!canEdit)
            return false;
    }
    auto* options = dynamic_cast<TStrings*>(graphic->GetCellBitmap());
    if (!options || options->Count() == 0)
        return false;
    int next = graphic->GetCellIndex() + 1;
    if (graphic->GetCellIndex() < 0)
        next = options->IndexOf(GetCellText(ACol, ARow)) + 1;
    if (next >= options->Count())
        next = 0;
    if (graphic->GetCellIndex() >= -1)
        graphic->SetCellIndex(next);
    graphic->CellVar = Variant(next);
    SetCellText(ACol, ARow, options->Get(next));
    return false;
}

bool TAdvStringGrid::IsControlCell(int ACol, int ARow)
{
    if (HasGraphicOfKinds(ACol, ARow, {ctCheckBox, ctDataCheckBox, ctRadio, ctVirtCheckBox, ctRowCheckBox,
                                        ctRadioButton, ctTriStateCheckBox}))
        return true;
    return !FNavigation->GetAllowEditButtonCells() && HasGraphicOfKinds(ACol, ARow, {ctButton, ctBitButton});
}

bool TAdvStringGrid::HasDataDrivenGraphic(int ACol, int ARow)
{
    return HasGraphicOfKinds(ACol, ARow, {ctDataCheckBox, ctDataImage, ctVirtCheckBox, ctRowCheckBox});
}
