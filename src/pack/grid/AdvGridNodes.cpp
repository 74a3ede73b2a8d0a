// Tree nodes: a node row covers a span of rows below it; contracting hides
// them with the hidden-row machinery, expanding shows them again.
//
// A span is stored as a count of real rows, and a cell file or SetNodeSpan
// can make it anything: every walk here stops at the last normal row, so a
// span past the end never reaches footer rows or rows that do not exist.
#include "AdvGrid.h"
#include <algorithm>

TCellGraphic* TAdvStringGrid::NodeGraphic(int ARow)
{
    if (ARow < 0 || ARow >= GetRowCount() || !IsStorageCell(0, ARow))
        return nullptr;
    auto* graphic = dynamic_cast<TCellGraphic*>(GetCellGraphicObject(0, ARow));
    return graphic && graphic->GetCellType() == ctNode ? graphic : nullptr;
}

int TAdvStringGrid::NodeEnd(int ARow, int Span)
{
    const int normalEnd = GetRowCount() - FFixedFooters;
    if (Span > 0)
        return std::clamp(ARow + Span, ARow + 1, std::max(normalEnd, ARow + 1));
    int r = ARow + 1;
    while (r < normalEnd && !NodeGraphic(r))
        ++r;
    return std::max(r, ARow + 1);
}

void TAdvStringGrid::FlagNode(int ARow, bool Contracted)
{
    if (TCellGraphic* node = NodeGraphic(ARow))
        node->SetCellBoolean(Contracted);
    for (int c = 0; c < TotalColCount(); ++c)
        if (TCellProperties* props = PropertiesOf(c, ARow))
            props->SetMergeCollaps(Contracted);
}

// --- adding and removing ---------------------------------------------------------------

void TAdvStringGrid::AddNode(int ARow, int Span)
{
    if (Span <= 0)
        return;
    const int d = DisplRowIndex(ARow);
    if (d < 0 || d >= GetRowCount() - FFixedFooters)
        return;
    TCellGraphic* node = CreateCellGraphic(0, d);
    node->SetCellType(ctNode);
    node->SetCellBoolean(false);
    node->SetCellIndex(Span);
    node->SetCellAngle(d);
    node->SetCellErrFrom(0);
    node->SetCellHAlign(haBeforeText);
    node->SetCellVAlign(vaCenter);
    node->CellVar = -1;
    const int end = std::min(d + Span, GetRowCount() - FFixedFooters);
    for (int r = d; r < end; ++r) {
        TCellProperties* props = GetCellProperties(0, r);
        props->SetNodeLevel(props->GetNodeLevel() + 1);
    }
    if (FNumNodes == 0)
        Invalidate();
    ++FNumNodes;
    if (GetCol() == 0 && GetColCount() > 1)
        FocusCell(1, GetRow());
}

void TAdvStringGrid::LowerNodeLevels(int ARow, int Span)
{
    const int end = std::min(ARow + std::max(Span, 1), GetRowCount() - FFixedFooters);
    for (int r = ARow; r < end; ++r)
        if (TCellProperties* props = PropertiesOf(0, r); props && props->GetNodeLevel() > 0)
            props->SetNodeLevel(props->GetNodeLevel() - 1);
}

void TAdvStringGrid::RemoveNode(int ARow)
{
    if (TCellGraphic* node = NodeGraphic(DisplRowIndex(ARow)); node && node->GetCellBoolean()) {
        const bool expandOne = FCellNode->GetExpandOne();
        FCellNode->SetExpandOne(false);
        const TScopeExit restore([this, expandOne] { FCellNode->SetExpandOne(expandOne); });
        ExpandNode(ARow);
    }
    const int d = DisplRowIndex(ARow);
    TCellGraphic* node = NodeGraphic(d);
    if (!node)
        return;
    LowerNodeLevels(d, node->GetCellIndex());
    RemoveCellGraphicOfType(0, d, ctNode);
    if (FNumNodes > 0)
        --FNumNodes;
}

void TAdvStringGrid::RemoveAllNodes()
{
    bool found = false;
    for (int r = 0; r < GetRowCount(); ++r) {
        TCellGraphic* node = NodeGraphic(r);
        if (!node)
            continue;
        found = true;
        if (node->GetCellBoolean()) {
            const bool expandOne = FCellNode->GetExpandOne();
            FCellNode->SetExpandOne(false);
            const TScopeExit restore([this, expandOne] { FCellNode->SetExpandOne(expandOne); });
            ExpandNode(RealRowIndex(r));
            node = NodeGraphic(r);
        }
        LowerNodeLevels(r, node->GetCellIndex());
        RemoveCellGraphicOfType(0, r, ctNode);
        if (FNumNodes > 0)
            --FNumNodes;
    }
    if (found || FNumNodes > 0)
        Invalidate();
    FNumNodes = 0;
}

// --- expanding and contracting ---------------------------------------------------------

void TAdvStringGrid::ExpandNode(int ARow)
{
    if (FCellNode->GetExpandOne()) {
        const int self = ARow;
        for (int r = GetFixedRows(); r < GetRowCount(); ++r)
            if (TCellGraphic* other = NodeGraphic(r); other && !other->GetCellBoolean() && RealRowIndex(r) != self)
                ContractNode(RealRowIndex(r));
    }
    const int d = DisplRowIndex(ARow);
    TCellGraphic* node = NodeGraphic(d);
    if (!node || !node->GetCellBoolean())
        return;
    FlagNode(d, false);
    int e = d + 1;
    if (node->GetCellIndex() <= 0)
        e = NodeEnd(d, 0);

    const int topRow = GetTopRow();
    const int curRow = GetRow();
    const bool disjunct = FMouseActions->GetDisjunctRowSelect();
    FMouseActions->SetDisjunctRowSelect(false);
    const bool rowSelect = GetOptions().Contains(goRowSelect);
    if (rowSelect) {
        TGridOptions options = GetOptions();
        options.Exclude(goRowSelect);
        SetOptions(options);
    }
    const bool locked = FControlList->Count() == 0;
    if (locked)
        BeginUpdate();
    {
        const TScopeExit restore([&] {
            if (rowSelect) {
                TGridOptions options = GetOptions();
                options.Include(goRowSelect);
                SetOptions(options);
                if (curRow < GetRowCount())
                    SetRow(curRow);
                SetTopRow(topRow);
            }
            FMouseActions->SetDisjunctRowSelect(disjunct);
            if (locked)
                EndUpdate();
        });
        // Every hidden row between the node row and the next shown row.
        UnHideRows(RealRowIndex(d) + 1, RealRowIndex(e) - 1);
    }
    CalcFooter(-1);
}

void TAdvStringGrid::ContractNode(int ARow)
{
    HideInplaceEdit();
    const int d = DisplRowIndex(ARow);
    TCellGraphic* node = NodeGraphic(d);
    if (!node || node->GetCellBoolean())
        return;
    FlagNode(d, true);
    const int a = d + 1;
    int e = NodeEnd(d, node->GetCellIndex());
    int r = a;
    while (r < e) {
        TCellGraphic* sub = NodeGraphic(r);
        if (sub && sub->GetCellBoolean()) {
            // A contracted sub-node joins the parent's hidden block, flagged
            // expanded, so that expanding the parent shows the whole subtree.
            FlagNode(r, false);
            if (r + 1 < GetRowCount())
                if (const TCellProperties* props = PropertiesOf(1, r + 1); props && props->GetControl())
                    props->GetControl()->SetVisible(false);
            const int subSpan = std::max(sub->GetCellIndex(), 1);
            HideRows(RealRowIndex(a), RealRowIndex(r));
            e = std::max(a, e - (r - a) - subSpan);
            r = a;
        } else {
            ++r;
        }
    }
    e = std::min(e, GetRowCount() - FFixedFooters);
    if (e > a)
        HideRows(RealRowIndex(a), RealRowIndex(e - 1));
    CalcFooter(-1);
}

void TAdvStringGrid::RestoreAllHiddenRows()
{
    if (GetRow() >= GetRowCount())
        FocusCell(GetFixedCols(), GetFixedRows());
    UnHideRowsAll();
    ClearHiddenRowLookup();
    CellControlsUpdate(false);
}

void TAdvStringGrid::ExpandAll()
{
    RestoreAllHiddenRows();
    {
        const auto lock = UpdateLock();
        for (int r = GetFixedRows(); r < GetRowCount(); ++r)
            if (NodeGraphic(r))
                FlagNode(r, false);
    }
    CalcFooter(-1);
}

void TAdvStringGrid::ContractAll()
{
    bool anyExpanded = false;
    for (int r = GetFixedRows(); r < GetRowCount() && !anyExpanded; ++r)
        if (TCellGraphic* node = NodeGraphic(r); node && !node->GetCellBoolean())
            anyExpanded = true;
    if (!anyExpanded)
        return;
    {
        const auto lock = UpdateLock();
        ExpandAll();
        TOwned<TIntList> rows(New<TIntList>(0, 0));
        const int normalEnd = GetRowCount() - FFixedFooters;
        int r = GetFixedRows();
        while (r < normalEnd) {
            TCellGraphic* node = NodeGraphic(r);
            if (!node) {
                ++r;
                continue;
            }
            FlagNode(r, true);
            const int end = NodeEnd(r, node->GetCellIndex());
            for (int child = r + 1; child < end; ++child)
                rows->Add(child);
            r = end;
        }
        HideRowList(rows.get());
    }
    CellControlsUpdate(false);
    CalcFooter(-1);
}

// --- queries and settings (display rows) -----------------------------------------------

bool TAdvStringGrid::GetNodeState(int ARow)
{
    const TCellGraphic* node = NodeGraphic(ARow);
    return node && node->GetCellBoolean();
}

void TAdvStringGrid::SetNodeState(int ARow, bool Value)
{
    const TCellGraphic* node = NodeGraphic(ARow);
    if (!node || node->GetCellBoolean() == Value)
        return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNode(RealRowIndex(ARow));
}

int TAdvStringGrid::GetNodeLevel(int ARow)
{
    if (!NodeGraphic(ARow))
        return -1;
    const TCellProperties* props = PropertiesOf(0, ARow);
    return props ? props->GetNodeLevel() : 0;
}

int TAdvStringGrid::GetNodeSpan(int ARow)
{
    const TCellGraphic* node = NodeGraphic(ARow);
    return node ? node->GetCellIndex() : -1;
}

void TAdvStringGrid::SetNodeSpan(int ARow, int Span)
{
    if (TCellGraphic* node = NodeGraphic(ARow))
        node->SetCellIndex(Span);
}

void TAdvStringGrid::UpdateNodeSpan(int ARow, int Delta)
{
    if (TCellGraphic* node = NodeGraphic(ARow))
        node->SetCellIndex(node->GetCellIndex() + Delta);
}

int TAdvStringGrid::GetSubNodeCount(int ARow)
{
    const TCellGraphic* node = NodeGraphic(ARow);
    return node ? node->GetCellErrFrom() : 0;
}

void TAdvStringGrid::UpdateSubNodeCount(int ARow, int Delta)
{
    if (TCellGraphic* node = NodeGraphic(ARow))
        node->SetCellErrFrom(node->GetCellErrFrom() + Delta);
}

bool TAdvStringGrid::IsNode(int ARow)
{
    return NodeGraphic(ARow) != nullptr;
}

bool TAdvStringGrid::IsSummary(int ARow)
{
    return ARow >= 0 && ARow < GetRowCount() && IsStorageCell(0, ARow) && GetCellGraphicType(0, ARow) == ctSummary;
}

int TAdvStringGrid::GetParentRow(int ARow)
{
    if (FNumNodes == 0)
        return -1;
    int limit = INT_MAX;
    int fallback = -1;
    if (IsNode(ARow)) {
        limit = GetNodeLevel(ARow);
        fallback = ARow;
    }
    int hiddenInside = 0;
    for (int r = std::min(ARow, GetRowCount() - 1); r >= GetFixedRows(); --r) {
        const TCellGraphic* node = NodeGraphic(r);
        if (!node || GetNodeLevel(r) >= limit)
            continue;
        if (node->GetCellBoolean())
            hiddenInside += node->GetCellIndex() - 1;
        if (ARow < r + node->GetCellIndex() - hiddenInside)
            return r;
    }
    return fallback;
}

int TAdvStringGrid::GetNodeSpanType(int ARow)
{
    if (IsNode(ARow))
        return 0;
    if (ARow < 0 || ARow >= GetRowCount() - FFixedFooters - 1)
        return 1;
    const TCellProperties* below = PropertiesOf(0, ARow + 1);
    if (!below)
        return 1;
    const TCellProperties* self = PropertiesOf(0, ARow);
    return below->GetNodeLevel() >= (self ? self->GetNodeLevel() : 0) ? 2 : 1;
}

void TAdvStringGrid::SetSummaryRow(int ARow)
{
    const int d = DisplRowIndex(ARow);
    if (d < 0 || d >= GetRowCount())
        return;
    CreateCellGraphic(0, d)->SetCellType(ctSummary);
}

// --- rows inside the tree ---------------------------------------------------------------

void TAdvStringGrid::InsertNormalRow(int ARow)
{
    // InsertRows moves the hidden rows from there on down with the rows.
    InsertRows(DisplRowIndex(ARow), 1, true);
}

void TAdvStringGrid::RemoveNormalRow(int ARow)
{
    RemoveRows(ARow, 1);
}

void TAdvStringGrid::InsertChildRow(int ARow, int InsertAt)
{
    const int d = DisplRowIndex(ARow);
    if (d < 0 || d > GetRowCount())
        return;
    const int parent = IsNode(d) ? d : GetParentRow(d);
    int level = 1;
    auto grow = [this](int Node) {
        UpdateNodeSpan(Node, 1);
        UpdateSubNodeCount(Node, 1);
        ExpandNode(RealRowIndex(Node));
    };
    if (parent != -1) {
        grow(parent);
        level = PropertiesOf(0, parent) ? PropertiesOf(0, parent)->GetNodeLevel() : 1;
    }
    // The ancestors above the parent grow too. The walk stops before asking
    // for the parent of a row above the grid.
    int ancestor = parent;
    int depth = level;
    while (depth > 1 && ancestor > GetFixedRows()) {
        ancestor = GetParentRow(ancestor - 1);
        if (ancestor < GetFixedRows())
            break;
        const int ancestorLevel = GetNodeLevel(ancestor);
        if (ancestorLevel < depth) {
            grow(ancestor);
            depth = ancestorLevel;
        }
    }
    int at = d + InsertAt;
    const bool takeOver = IsNode(d) && InsertAt == 0;
    if (takeOver)
        at = d + 1;
    at = std::min(at, GetRowCount());
    InsertRows(at, 1, true);
    if (takeOver) {
        for (int c = 0; c < TotalColCount(); ++c) {
            SetCells(c, at, GetCells(c, d));
            SetCells(c, d, {});
            if (c > 0 && HasCellProperties(c, d)) {
                SetCellObject(c, at, GetCellObject(c, d));
                SetCellObject(c, d, 0);
            }
        }
    }
    if (parent != -1)
        GetCellProperties(0, at)->SetNodeLevel(level);
}

void TAdvStringGrid::RemoveChildRow(int ARow)
{
    const int d = DisplRowIndex(ARow);
    if (d < 0 || d >= GetRowCount())
        return;
    const int real = RealRowIndex(d);
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem* item = FControlList->GetItem(i);
        if (item->GetY() < real)
            continue;
        FControlList->Put(i, New<TControlItem>(item->GetX(), item->GetY() - 1, item->GetControl()));
        item->Free();
    }
    int parent = GetParentRow(d);
    if (parent != -1 && parent != d) {
        const int level = GetNodeLevel(parent);
        auto shrink = [this](int Node) {
            if (GetNodeSpan(Node) > 1) {
                UpdateNodeSpan(Node, -1);
                UpdateSubNodeCount(Node, -1);
            }
        };
        shrink(parent);
        while (true) {
            ExpandNode(RealRowIndex(parent));
            if (GetNodeLevel(parent) <= 1)
                break;
            parent = GetParentRow(parent);
            if (parent == -1 || GetNodeLevel(parent) >= level)
                break;
            shrink(parent);
        }
    }
    RemoveRowRange(DisplRowIndex(real), 1);
    FMaxRowCount = std::max(FMaxRowCount - 1, GetRowCount());
    ClearHiddenRowLookup();
}

bool TAdvStringGrid::IsNodeButtonHit(int ARow, int X)
{
    if (!FMouseActions->GetPreciseNodeClick())
        return true;
    const TCellProperties* props = PropertiesOf(0, ARow);
    const int level = props ? props->GetNodeLevel() : 0;
    const int indent = FCellNode->GetNodeIndent();
    int extent = 4, margin = 4;
    switch (FCellNode->GetNodeType()) {
    case cnFlat:
    case cnXP:
        break;
    case cn3D:
        extent = 6;
        margin = 0;
        break;
    case cnGlyph: {
        const bool empty = FCellNode->GetExpandGlyph()->GetEmpty();
        extent = empty ? 0 : FCellNode->GetExpandGlyph()->GetWidth() / 2;
        margin = empty ? 0 : 2;
        break;
    }
    case cnLeaf:
        extent = 8;
        margin = 2;
        break;
    }
    return margin + (level - 1) * indent < X && X < extent + level * indent;
}

// --- the node button under the mouse ---------------------------------------------------

void TAdvStringGrid::ToggleNodeByPress(int ARow, int ACol, int X, int Y, TShiftState Shift)
{
    if (OnMouseDown)
        OnMouseDown(this, mbLeft, Shift, X, Y);
    DoClickCell(ARow, ACol);
    const int real = RealRowIndex(ARow);
    bool allow = true;
    if (GetNodeState(ARow)) {
        if (OnBeforeExpandNode)
            OnBeforeExpandNode(this, ARow, real, allow);
        if (allow) {
            ExpandNode(real);
            if (OnExpandNode)
                OnExpandNode(this, ARow, real);
        }
    } else {
        if (OnBeforeContractNode)
            OnBeforeContractNode(this, ARow, real, allow);
        if (allow) {
            ContractNode(real);
            if (OnContractNode)
                OnContractNode(this, ARow, real);
        }
    }
    if (FMouseActions->GetMoveRowOnNodeClick() && ARow < GetRowCount())
        SetRow(ARow);
}
