// Grouping: the rows grouped under node rows by the values of one column,
// which leaves the grid while grouped; summary rows after each group take
// per-group results; sub-groups inside the groups; the sorts that keep rows
// inside their groups.
//
// Spans come from the node cells, which a cell file or SetNodeSpan can make
// anything: every walk here reads and writes only the normal rows.
#include "AdvGrid.h"
#include "AdvGridFooter.h"
#include "ScopeExit.h"
#include <algorithm>
#include <optional>

// --- the pump and the looks of group rows ---------------------------------------------

void TAdvStringGrid::PumpWhileGrouping()
{
    FGroupPumping = true;
    const TScopeExit done([this] { FGroupPumping = false; });
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TAdvStringGrid::ColourGroupRow(int ARow, bool Header)
{
    const TGrouping* g = FGrouping.get();
    const TColor color = Header ? g->GetHeaderColor() : g->GetSummaryColor();
    const TColor colorTo = Header ? g->GetHeaderColorTo() : g->GetSummaryColorTo();
    const TColor text = Header ? g->GetHeaderTextColor() : g->GetSummaryTextColor();
    if (color != clNone)
        SetRowColor(ARow, static_cast<TColor>(ColorToRGB(color)));
    if (colorTo != clNone)
        SetRowColorTo(ARow, static_cast<TColor>(ColorToRGB(colorTo)));
    if (text != clNone)
        SetRowFontColor(ARow, static_cast<TColor>(ColorToRGB(text)));
}

void TAdvStringGrid::ResetGroupRowColours(int ARow, bool Header)
{
    const TGrouping* g = FGrouping.get();
    if ((Header ? g->GetHeaderColor() : g->GetSummaryColor()) != clNone)
        SetRowColor(ARow, clNone);
    if ((Header ? g->GetHeaderColorTo() : g->GetSummaryColorTo()) != clNone)
        SetRowColorTo(ARow, clNone);
    if ((Header ? g->GetHeaderTextColor() : g->GetSummaryTextColor()) != clNone)
        SetRowFontColor(ARow, clNone);
}

namespace {

// A merged group row takes the colours on its one cell.
void ColourMergedCell(TAdvStringGrid* grid, int ACol, int ARow, bool Header)
{
    const TGrouping* g = grid->GetGrouping();
    const TColor color = Header ? g->GetHeaderColor() : g->GetSummaryColor();
    const TColor colorTo = Header ? g->GetHeaderColorTo() : g->GetSummaryColorTo();
    const TColor text = Header ? g->GetHeaderTextColor() : g->GetSummaryTextColor();
    if (color != clNone)
        grid->SetCellBrushColor(ACol, ARow, color);
    if (colorTo != clNone)
        grid->SetCellBrushColorTo(ACol, ARow, colorTo);
    if (text != clNone)
        grid->SetCellFontColor(ACol, ARow, text);
}

} // namespace

// --- grouping by a column ---------------------------------------------------------------

void TAdvStringGrid::SetGroupColumn(int Value)
{
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

void TAdvStringGrid::Group(int Colindex)
{
    // Column 0 holds the node buttons; grouping by it would take them away.
    if (FGroupPumping || Colindex < std::max(GetFixedCols(), 1))
        return;
    if (FGroupColumn != -1)
        UnGroup();
    // The value goes where it ends up in column 1 once the column is out.
    const int valueCol = Colindex == 1 ? 2 : 1;
    if (Colindex >= GetColCount() || valueCol >= GetColCount() || NormalRowEnd() <= GetFixedRows())
        return;

    const TGrouping* g = FGrouping.get();
    const bool summary = g->GetSummary();

    BeginUpdate();
    FIsGrouping = true;
    FGroupColumn = Colindex;
    const TScopeExit done([this] {
        FIsGrouping = false;
        EndUpdate();
        // The search bar lays itself out again on a change of its width.
        if (FSearchFooter->GetVisible() && FSearchPanel) {
            FSearchPanel->SetWidth(FSearchPanel->GetWidth() + 1);
            FSearchPanel->SetWidth(FSearchPanel->GetWidth() - 1);
        }
    });

    FGroupWidth = GetColWidths(DisplColIndex(Colindex));
    FGroupCaption = GetFixedRows() > 0 ? GetRawCell(Colindex, 0) : String();
    FGroupFooter = FFixedFooters > 0 ? GetRawCell(Colindex, GetRowCount() - 1) : String();

    if (FSortSettings->GetAutoSortForGrouping()) {
        FSortSettings->SetColumn(Colindex);
        QSort();
    }

    // A summary row goes in before header H, closing the group above it.
    auto closeGroup = [&](int& H, int& B) {
        if (summary && H > GetFixedRows()) {
            InsertRows(H, 1);
            SetSummaryRow(RealRowIndex(H));
            if (!g->GetMergeSummary())
                ColourGroupRow(H, false);
            ++H;
            ++B;
        }
        AddNode(RealRowIndex(H), B - H);
    };

    // No value yet: the first normal row always starts a group, whatever it holds.
    std::optional<String> previous;
    int header = -1;
    int b = GetFixedRows();
    while (b < NormalRowEnd()) {
        PumpWhileGrouping();
        const String value = GetRawCell(Colindex, b);
        if (!previous || value != *previous) {
            if (header != -1)
                closeGroup(header, b);
            InsertRows(b, 1);
            SetCells(valueCol, b, value);
            if (!g->GetMergeHeader())
                ColourGroupRow(b, true);
            header = b;
            ++b;
        }
        previous = GetRawCell(Colindex, b);
        ++b;
    }
    closeGroup(header, b);
    if (!g->GetMergeHeader())
        ColourGroupRow(header, true);
    if (summary) {
        InsertRows(b, 1);
        SetSummaryRow(RealRowIndex(b));
        if (!g->GetMergeSummary())
            ColourGroupRow(b, false);
    }

    RemoveCols(Colindex, 1);

    const bool mergeSummary = g->GetMergeSummary() && summary;
    if (g->GetMergeHeader() || mergeSummary) {
        const int last = GetColCount() - 1;
        for (int c = GetFixedRows(); c < NormalRowEnd(); ++c) {
            if (g->GetMergeHeader() && IsNode(c)) {
                MergeCells(1, c, last, 1);
                ColourMergedCell(this, 1, c, true);
            } else if (mergeSummary && IsSummary(c)) {
                MergeCells(1, c, last, 1);
                ColourMergedCell(this, 1, c, false);
            }
        }
    }

    if (FCellNode->GetExpandOne())
        ExpandNode(RealRowIndex(GetFixedRows()));
    if (GetCol() < 0 || GetRow() < 0 || GetCol() >= GetColCount() || GetRow() >= GetRowCount())
        FocusCell(GetFixedCols(), GetFixedRows());
    SetRow(GetFixedRows());
}

void TAdvStringGrid::UnGroup()
{
    if (FGroupPumping || FGroupColumn <= 0)
        return;
    const TGrouping* g = FGrouping.get();
    const bool expandOne = FCellNode->GetExpandOne();
    FCellNode->SetExpandOne(false);
    const auto lock = UpdateLock();
    const TScopeExit restore([this, expandOne] {
        FIsGrouping = false;
        FCellNode->SetExpandOne(expandOne);
    });
    ExpandAll();

    // Sub-groups go first: their header rows are nodes too.
    for (int r = GetFixedRows(); r < NormalRowEnd(); ++r)
        if (TCellGraphic* node = NodeGraphic(r); node && !node->CellVar.IsEmpty() && node->CellVar.ToInteger() >= 0) {
            SubUnGroup(node->CellVar.ToInteger());
            r = GetFixedRows() - 1;
        }

    const int col = FGroupColumn;
    InsertCols(col, 1);
    SetColWidths(DisplColIndex(col), FGroupWidth);
    if (GetFixedRows() > 0)
        SetCells(col, 0, FGroupCaption);
    if (FFixedFooters > 0)
        SetCells(col, GetRowCount() - 1, FGroupFooter);

    FIsGrouping = true;
    const int valueCol = col == 1 ? 2 : 1;
    String value;
    int r = GetFixedRows();
    while (r < NormalRowEnd()) {
        TCellGraphic* node = NodeGraphic(r);
        if (!node) {
            SetCells(col, r, value);
            ++r;
            continue;
        }
        if (g->GetSummary()) {
            const int s = r + std::max(node->GetCellIndex(), 1);
            if (s < NormalRowEnd() && IsSummary(s)) {
                if (g->GetMergeSummary())
                    SplitRowCells(s);
                else
                    ResetGroupRowColours(s, false);
                ClearRows(s, 1);
                RemoveRowRun(s, 1, {.AdjustHidden = false});
            }
        }
        value = GetRawCell(valueCol, r);
        RemoveNode(RealRowIndex(r));
        FreeCellProperties(0, r);
        if (g->GetMergeHeader())
            SplitRowCells(r);
        else
            ResetGroupRowColours(r, true);
        ClearRows(r, 1);
        RemoveRowRun(r, 1, {.AdjustHidden = false});
    }
    FIsGrouping = false;
    FGroupColumn = -1;
    Invalidate();
}

// --- sub-groups ---------------------------------------------------------------------------

void TAdvStringGrid::SubGroup(int Colindex)
{
    const int valueCol = Colindex + 1;
    if (FGroupPumping || Colindex < std::max(GetFixedCols(), 1) || valueCol >= GetColCount())
        return;
    // One level of sub-groups: the values of another would land in rows
    // that are themselves sub-group rows.
    for (int r = GetFixedRows(); r < NormalRowEnd(); ++r)
        if (const TCellGraphic* node = NodeGraphic(r); node && !node->CellVar.IsEmpty() && node->CellVar.ToInteger() >= 0)
            return;
    const TGrouping* g = FGrouping.get();
    const bool summary = g->GetSummary();
    const auto lock = UpdateLock();
    // Every group takes part, and stays open while its rows are added:
    // ExpandOne would fold the others away under the walk.
    const bool expandOne = FCellNode->GetExpandOne();
    FCellNode->SetExpandOne(false);
    const TScopeExit restore([this, expandOne] { FCellNode->SetExpandOne(expandOne); });
    ExpandAll();

    auto colourHeader = [&](int row, bool header) {
        const bool merge = header ? g->GetMergeHeader() : g->GetMergeSummary();
        if (merge) {
            MergeCells(valueCol, row, GetColCount() - valueCol, 1);
            ColourMergedCell(this, valueCol, row, header);
        } else {
            ColourGroupRow(row, header);
        }
    };

    int top = GetFixedRows();
    while (top < NormalRowEnd()) {
        TCellGraphic* group = NodeGraphic(top);
        if (!group) {
            ++top;
            continue;
        }
        const int end = std::min(top + std::max(group->GetCellIndex(), 1), NormalRowEnd());
        // Runs of equal values among the group's plain rows, from the last,
        // so that inserting rows leaves the runs above where they are.
        std::vector<std::pair<int, int>> runs;
        for (int r = top + 1; r < end; ++r) {
            if (IsNode(r) || IsSummary(r))
                continue;
            if (!runs.empty() && runs.back().second == r - 1 &&
                GetRawCell(Colindex, r) == GetRawCell(Colindex, runs.back().first))
                runs.back().second = r;
            else
                runs.emplace_back(r, r);
        }
        for (auto it = runs.rbegin(); it != runs.rend(); ++it) {
            const auto [first, last] = *it;
            if (summary) {
                InsertChildRow(RealRowIndex(top), last + 1 - top);
                SetSummaryRow(RealRowIndex(last + 1));
                colourHeader(last + 1, false);
            }
            const String value = GetRawCell(Colindex, first);
            InsertChildRow(RealRowIndex(top), first - top);
            SetCells(valueCol, first, value);
            for (int r = first + 1; r <= last + 1; ++r)
                SetCells(Colindex, r, {});
            AddNode(RealRowIndex(first), last - first + 2);
            NodeGraphic(first)->CellVar = Colindex;
            colourHeader(first, true);
        }
        top = std::min(top + std::max(NodeGraphic(top)->GetCellIndex(), 1), NormalRowEnd());
    }
    SetRow(GetFixedRows());
}

void TAdvStringGrid::SubUnGroup(int Colindex)
{
    if (FGroupPumping)
        return;
    const TGrouping* g = FGrouping.get();
    const auto lock = UpdateLock();
    const bool expandOne = FCellNode->GetExpandOne();
    FCellNode->SetExpandOne(false);
    const TScopeExit restore([this, expandOne] { FCellNode->SetExpandOne(expandOne); });
    ExpandAll();
    int r = GetFixedRows();
    while (r < NormalRowEnd()) {
        TCellGraphic* node = NodeGraphic(r);
        if (!node || node->CellVar.IsEmpty() || node->CellVar.ToInteger() != Colindex) {
            ++r;
            continue;
        }
        // The value goes back into the rows of this sub-group only, so that
        // rows outside any sub-group of the column keep what they hold.
        const int s = r + std::max(node->GetCellIndex(), 1);
        if (g->GetSummary() && s < NormalRowEnd() && IsSummary(s)) {
            if (g->GetMergeSummary())
                SplitRowCells(s);
            RemoveChildRow(RealRowIndex(s));
        }
        const String value = GetRawCell(Colindex + 1, r);
        for (int k = r + 1; k < std::min(s, NormalRowEnd()); ++k)
            if (!IsNode(k) && !IsSummary(k))
                SetCells(Colindex, k, value);
        RemoveNode(RealRowIndex(r));
        if (g->GetMergeHeader())
            SplitCells(Colindex + 1, r);
        else
            ResetGroupRowColours(r, true);
        SetCells(Colindex + 1, r, {});
        RemoveChildRow(RealRowIndex(r));
    }
    Invalidate();
}

// --- merging group rows -------------------------------------------------------------------

void TAdvStringGrid::MergeGroupRows()
{
    const TGrouping* g = FGrouping.get();
    const int count = GetColCount() - GetFixedCols();
    if (count < 1)
        return;
    for (int r = GetFixedRows(); r < GetRowCount(); ++r)
        if ((g->GetMergeHeader() && IsNode(r)) || (g->GetMergeSummary() && IsSummary(r)))
            MergeCells(GetFixedCols(), r, count, 1);
}

void TAdvStringGrid::SplitGroupRows()
{
    const TGrouping* g = FGrouping.get();
    for (int r = GetFixedRows(); r < GetRowCount(); ++r)
        if ((g->GetMergeHeader() && IsNode(r)) || (g->GetMergeSummary() && IsSummary(r)))
            SplitRowCells(r);
}

// --- group calculations ----------------------------------------------------------------

double TAdvStringGrid::DoGroupCalc(int ACol, int FromRow, int ToRow)
{
    double result = 0;
    if (OnGroupCalc)
        OnGroupCalc(this, ACol, FromRow, ToRow, result);
    return result;
}

void TAdvStringGrid::GroupCalc(int ACol, int Method)
{
    const bool summary = FGrouping->GetSummary();
    int r = GetFixedRows();
    while (r < NormalRowEnd()) {
        const TCellGraphic* node = NodeGraphic(r);
        if (!node || node->GetCellBoolean()) {
            ++r;
            continue;
        }
        const int span = std::max(node->GetCellIndex(), 1);
        const int next = r + span;
        const int from = r + 1;
        const int to = std::min(next, NormalRowEnd()) - 1;
        // The result goes only where a summary row of this group stands: a
        // span that reaches past its group must not write over other rows.
        const int target = summary ? next : r;
        if (target < NormalRowEnd() && (!summary || IsSummary(target))) {
            switch (Method) {
            case 1: SetFloatCell(ACol, target, ColumnSum(ACol, from, to)); break;
            case 2: SetFloatCell(ACol, target, ColumnAvg(ACol, from, to)); break;
            case 3: SetFloatCell(ACol, target, ColumnMin(ACol, from, to)); break;
            case 4: SetFloatCell(ACol, target, ColumnMax(ACol, from, to)); break;
            case 5: SetIntegerCell(ACol, target, to - from + 1); break;
            case 6: SetFloatCell(ACol, target, DoGroupCalc(ACol, from, to)); break;
            case 7: SetFloatCell(ACol, target, ColumnDistinct(ACol, from, to)); break;
            case 8: SetFloatCell(ACol, target, ColumnStdDev(ACol, from, to)); break;
            default: break;
            }
        }
        r = std::max(next, r + 1);
    }

    static constexpr TColumnCalcType FooterCalc[] = {acNONE, acSUM, acAVG, acMIN, acMAX, acCOUNT};
    if (Method >= 1 && Method <= 5 && FFloatingFooter->GetVisible() && ACol >= 0 && ACol < TotalColCount() &&
        GetRowCount() > 0) {
        GetCellProperties(ACol, GetRowCount() - 1)->SetCalcType(FooterCalc[Method]);
        RecalcFooterColumn(ACol);
    }
}

// --- sorting inside the groups -----------------------------------------------------------

void TAdvStringGrid::QSortGroup()
{
    SortGroups(false);
}

void TAdvStringGrid::QSortGroupIndexed()
{
    SortGroups(true);
}

void TAdvStringGrid::SortGroups(bool Indexed)
{
    if (FGroupPumping || (!Indexed && FSortSettings->GetColumn() < 0))
        return;
    if (GetRowCount() != FSortRowXRef->Count())
        InitSortXRef();
    std::vector<String> column0 = NormalCellsColumn();
    const int topRow = GetTopRowEx();
    const bool clearTextOnly = std::exchange(FClearTextOnly, false);
    const int r0 = GetRowEx();
    BeginUpdate();
    const TScopeExit restore([&] {
        RestoreNormalCellsColumn(column0);
        if (FNavigation->GetKeepScrollOnSort())
            SetTopRowEx(topRow);
        FClearTextOnly = clearTextOnly;
        EndUpdate();
        Invalidate();
    });
    FSort.row = r0;

    const int end = NormalRowEnd();
    int deepest = 0;
    for (int r = GetFixedRows(); r < end; ++r)
        if (IsNode(r))
            deepest = std::max(deepest, GetNodeLevel(r));
    for (int e = GetFixedRows(); e < end; ++e) {
        if (!IsNode(e) || GetNodeState(e) || GetNodeLevel(e) != deepest)
            continue;
        const int last = std::min(e + GetNodeSpan(e), end) - 1;
        if (last - e < 2)
            continue;
        if (Indexed)
            QuickSortIndexed(e + 1, last);
        else
            QuickSort(FSortSettings->GetColumn(), e + 1, last);
    }

    if (FNavigation->GetMoveRowOnSort()) {
        if (FSort.row >= 0 && FSort.row < GetRowCount())
            SetRowEx(FSort.row);
    } else if (r0 >= GetFixedRows() && r0 < GetRowCount()) {
        SetRowEx(r0);
    }
}
