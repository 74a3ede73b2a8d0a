// Finding text in cells: the cell-by-cell search with its option flags, search
// and replace, the row search with one condition per column, and the prefix
// search of incremental typing.
//
// A continued search (FindNext, Replace) steps one cell on from the last match
// inside the range it searches, restrictions to a row or column included, so
// it never returns the same cell again and ends after the range's last cell.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "HTMLUtils.h"
#include <algorithm>

namespace {

// The search text of exactly two double quotes matches empty cells only.
const String EmptyCellSearch = L"\"\"";

String UpperIf(bool Upper, const String& S)
{
    return Upper ? AnsiUpperCase(S) : S;
}

// The range a find visits and the cell it starts on.
struct TFindRange {
    int c1 = 0;
    int c2 = -1;
    int r1 = 0;
    int r2 = -1;
};

} // namespace

bool TAdvStringGrid::CellAllowsEdit(int ACol, int ARow)
{
    int col = ACol;
    int row = ARow;
    if (IsStorageCell(ACol, ARow)) {
        const TPoint base = BaseCell(ACol, ARow);
        col = base.x;
        row = base.y;
    }
    bool canEdit = true;
    QueryCellEditable(col, row, canEdit);
    bool fixed = false;
    DoIsFixedCell(row, DisplColIndex(col), fixed);
    return canEdit && !fixed;
}

bool TAdvStringGrid::IsEditable(int ACol, int ARow)
{
    if (!GetOptions().Contains(goEditing) && !FMouseActions->GetRangeSelectAndEdit() && !FEditDisable)
        return false;
    return CellAllowsEdit(ACol, ARow);
}

// --- the find core -----------------------------------------------------------------------

bool TAdvStringGrid::FindMatchCell(int ACol, int ARow, TFindMode Mode)
{
    const bool matchCase = FFindParams.Contains(fnMatchCase);
    const int realCol = FFindParams.Contains(fnIncludeHiddenColumns) ? ACol : RealColIndex(ACol);
    String text;
    if (FFindParams.Contains(fnIncludeHiddenRows) && NumHiddenRows() > 0) {
        if (TStrings* hidden = GetHiddenRowStrings(ARow))
            text = realCol < hidden->Count() ? hidden->Get(realCol) : String();
        else
            text = GetRawCell(realCol, DisplRowIndex(ARow));
    } else {
        text = GetRawCell(realCol, ARow);
    }
    const String& search = Mode == TFindMode::Wide ? SearchCacheWide : SearchCache;
    if (Mode == TFindMode::Wide)
        text = UnpackWideText(text);
    text = UpperIf(!matchCase, text);
    if (Mode == TFindMode::Text && FFindParams.Contains(fnIgnoreHTMLTags))
        text = GridHTMLToText(text);
    if (search == EmptyCellSearch)
        return text.empty();
    if (Mode == TFindMode::Text && FFindParams.Contains(fnMatchRegular))
        return MatchFilterExpression(search, text, matchCase);
    // An empty search text is found nowhere, as a position search finds it.
    if (search.empty())
        return false;
    const std::size_t pos = text.find(search);
    const bool found = FFindParams.Contains(fnMatchStart) ? pos == 0 : pos != String::npos;
    return found && (!FFindParams.Contains(fnMatchFull) || text == search);
}

TPoint TAdvStringGrid::FindCore(TPoint StartCell, const String& s, TFindParams FindParams, TFindMode Mode)
{
    FFindParams = FindParams;
    const bool matchCase = FindParams.Contains(fnMatchCase);
    if (Mode == TFindMode::Text) {
        SearchCache = UpperIf(!matchCase, s);
        SearchCacheWide.clear();
    } else {
        // A wide search is not continued by FindNext.
        SearchCache.clear();
        SearchCacheWide = UpperIf(!matchCase, s);
    }
    if (GetColCount() == GetFixedCols() || GetColCount() == 0)
        return {-1, -1};
    if (TotalRowCount() == GetFixedRows() || GetRowCount() == 0)
        return {-1, -1};

    TFindRange range;
    if (FindParams.Contains(fnIncludeFixed)) {
        range = {0, GetColCount() - 1, 0, GetRowCount() - 1};
    } else {
        range = {GetFixedCols(), GetColCount() - FFixedRightCols - 1, GetFixedRows(),
                 GetRowCount() - FFixedFooters - 1};
    }
    if (FindParams.Contains(fnSelectedCells)) {
        const TGridRect sel = GetSelection();
        range = {std::min(sel.Left, sel.Right), std::max(sel.Left, sel.Right), std::min(sel.Top, sel.Bottom),
                 std::max(sel.Top, sel.Bottom)};
    }
    if (FindParams.Contains(fnIncludeHiddenColumns))
        range.c2 += NumHiddenColumns();
    if (FindParams.Contains(fnIncludeHiddenRows))
        range.r2 += NumHiddenRows();

    // Restrictions narrow the range before the step from StartCell, so that
    // a continued search moves on from its last match.
    int restrictRow = -1;
    int restrictCol = -1;
    if (FindParams.Contains(fnFindInCurrentRow))
        restrictRow = GetRow();
    if (FindParams.Contains(fnFindInPresetRow))
        restrictRow = FindRow;
    if (FindParams.Contains(fnFindInCurrentCol))
        restrictCol = GetCol();
    if (FindParams.Contains(fnFindInPresetCol))
        restrictCol = FindCol;
    if (restrictRow >= 0)
        range.r1 = range.r2 = restrictRow;
    if (restrictCol >= 0)
        range.c1 = range.c2 = restrictCol;

    const bool backward = FindParams.Contains(fnBackward);
    const bool rowWise = FindParams.Contains(fnDirectionLeftRight);
    int col = 0;
    int row = 0;
    const auto firstCell = [&] {
        col = backward ? range.c2 : range.c1;
        row = backward ? range.r2 : range.r1;
    };
    if (StartCell.x == -1 && StartCell.y == -1) {
        firstCell();
    } else {
        col = StartCell.x;
        row = StartCell.y;
        // One step on; a step past the range's last cell leaves the start
        // outside it, so the search ends there instead of wrapping.
        if (rowWise) {
            if (!backward) {
                if (col <= range.c2) {
                    ++col;
                } else if (row <= range.r2) {
                    ++row;
                    col = range.c1;
                } else {
                    firstCell();
                }
            } else if (col >= range.c1) {
                --col;
            } else if (row >= range.r1) {
                --row;
                col = range.c2;
            } else {
                firstCell();
            }
        } else if (!backward) {
            if (row <= range.r2) {
                ++row;
            } else if (col <= range.c2) {
                ++col;
                row = range.r1;
            } else {
                firstCell();
            }
        } else if (row >= range.r1) {
            --row;
        } else if (col >= range.c1) {
            --col;
            row = range.r2;
        } else {
            firstCell();
        }
        if (restrictRow >= 0 && rowWise)
            row = restrictRow;
        if (restrictCol >= 0 && !rowWise)
            col = restrictCol;
    }

    const int step = backward ? -1 : 1;
    const auto inside = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
    TPoint found{-1, -1};
    if (rowWise) {
        for (int r = row, c = col; inside(r, range.r1, range.r2) && found.x < 0; r += step) {
            for (; inside(c, range.c1, range.c2); c += step) {
                if (FIgnoreColumns->HasValue(c))
                    continue;
                ExportNotification(5, r);
                if (FindMatchCell(c, r, Mode)) {
                    found = {c, r};
                    break;
                }
            }
            c = backward ? range.c2 : range.c1;
        }
    } else {
        for (int c = col, r = row; inside(c, range.c1, range.c2) && found.x < 0; c += step) {
            for (; inside(r, range.r1, range.r2); r += step) {
                ExportNotification(5, r);
                if (FindMatchCell(c, r, Mode)) {
                    found = {c, r};
                    break;
                }
            }
            r = backward ? range.r2 : range.r1;
        }
    }
    if (found.x < 0) {
        ExportNotification(1, GetRow());
        return found;
    }
    SearchCell = found;
    if (FindParams.Contains(fnAutoGoto))
        GotoFoundCell(found);
    return found;
}

void TAdvStringGrid::GotoFoundCell(TPoint Found)
{
    int row = Found.y;
    if (FFindParams.Contains(fnIncludeHiddenRows) && NumHiddenRows() > 0) {
        // A row inside contracted nodes is shown by expanding them, outermost first.
        while (IsHiddenRow(row) && HasNodes()) {
            int node = -1;
            for (int r = GetFixedRows(); r < GetRowCount(); ++r) {
                if (!IsNode(r) || !GetNodeState(r))
                    continue;
                const int realNode = RealRowIndex(r);
                if (realNode < row && row < realNode + GetNodeSpan(r))
                    node = realNode;
            }
            if (node < 0)
                break;
            ExpandNode(node);
        }
        // A row that stays hidden (filtered) cannot become current.
        if (IsHiddenRow(row))
            return;
        row = DisplRowIndex(row);
    }
    const int col = FFindParams.Contains(fnIncludeHiddenColumns) ? DisplColIndex(Found.x) : Found.x;
    if (FMouseActions->GetDisjunctRowSelect()) {
        ClearDisjunctRowSelect();
        SetRowSelect(row, true);
        SetRow(row);
        return;
    }
    MoveCurrentCell(col, row);
}

// --- the public finds ----------------------------------------------------------------------

TPoint TAdvStringGrid::Find(TPoint StartCell, const String& s, TFindParams FindParams)
{
    if (GetColCount() == GetFixedCols() || GetColCount() == 0 || TotalRowCount() == GetFixedRows() ||
        GetRowCount() == 0) {
        FFindParams = FindParams;
        SearchCache = UpperIf(!FindParams.Contains(fnMatchCase), s);
        return {-1, -1};
    }
    if (StartCell.x == -1 && StartCell.y == -1)
        ExportNotification(0, -1);
    TPoint found;
    {
        const auto update = UpdateLock();
        found = FindCore(StartCell, s, FindParams, TFindMode::Text);
    }
    if (FindParams.Contains(fnAutoGoto) && found.x >= 0) {
        if (FMouseActions->GetDisjunctCellSelect())
            SelectCells(GetCol(), GetRow(), GetCol(), GetRow());
        const int f = FFloatingFooter->GetVisible() ? 2 : 0;
        const int visible = GetVisibleRowCount();
        if (GetRow() > GetTopRow() + visible - f - 2 && visible + GetFixedRows() + f < GetRowCount())
            SetTopRow(GetTopRow() + f + 1);
    }
    ExportNotification(found.x < 0 ? 2 : 4, -1);
    return found;
}

TPoint TAdvStringGrid::FindWide(TPoint StartCell, const String& s, TFindParams FindParams)
{
    ExportNotification(0, -1);
    const TPoint found = FindCore(StartCell, s, FindParams, TFindMode::Wide);
    ExportNotification(found.x < 0 ? 2 : 4, -1);
    return found;
}

TPoint TAdvStringGrid::FindFirst(const String& s, TFindParams FindParams)
{
    SearchCell = Find({-1, -1}, s, FindParams);
    return SearchCell;
}

TPoint TAdvStringGrid::FindNext()
{
    SearchCell = Find(SearchCell, SearchCache, FFindParams);
    return SearchCell;
}

int TAdvStringGrid::Replace(const String& OrigStr, const String& NewStr, TFindParams FindParams)
{
    if (OrigStr.empty())
        return 0;
    const bool matchCase = FindParams.Contains(fnMatchCase);
    const String origKey = UpperIf(!matchCase, OrigStr);
    const bool realCols = FindParams.Contains(fnIncludeHiddenColumns);
    const bool realRows = FindParams.Contains(fnIncludeHiddenRows) && NumHiddenRows() > 0;
    int changed = 0;
    TPoint cell = Find({-1, -1}, OrigStr, FindParams);
    while (cell.x >= 0) {
        const int col = realCols ? cell.x : RealColIndex(cell.x);
        const String text = realRows ? GetRealRowCellText(col, cell.y) : GetRawCell(col, cell.y);
        const String key = UpperIf(!matchCase, text);
        String result;
        std::size_t from = 0;
        for (std::size_t at = key.find(origKey); at != String::npos; at = key.find(origKey, from)) {
            result += text.substr(from, at - from) + NewStr;
            from = at + origKey.size();
        }
        if (from > 0) {
            result += text.substr(from);
            if (realRows)
                SetRealRowCellText(col, cell.y, result);
            else
                SetCellText(col, cell.y, result);
            if (FShowModified->GetEnabled())
                SetRowModified(realRows ? cell.y : RealRowIndex(cell.y), true);
            ++changed;
        }
        cell = Find(cell, OrigStr, FindParams);
    }
    return changed;
}

int TAdvStringGrid::Search(const String& s)
{
    if (GetRowCount() < 2)
        return -1;
    int col = GetFixedCols();
    if (FSortSettings->GetShow()) {
        if (FSortSettings->GetIndexShow())
            col = FSortIndexes->Count() > 0 ? FSortIndexes->GetColumn(0) : GetFixedCols();
        else
            col = FSortSettings->GetColumn();
    }
    if (col == -1)
        return -1;
    for (int r = GetFixedRows(); r < GetRowCount(); ++r) {
        const String text = GridHTMLToText(GetRawCell(col, r));
        if (AnsiUpperCase(text.substr(0, s.size())) == s)
            return r;
    }
    return -1;
}

// --- rows by conditions ----------------------------------------------------------------------

bool TAdvStringGrid::FindMultiRowMatches(int ARow)
{
    for (std::size_t i = 0; i < FFindMultiConditions.size(); ++i)
        if (!MatchFilterCondition(FFindMultiConditions[i], GetRawCell(FFindMultiColumns[i], ARow),
                                  FFindMultiCase[i]))
            return false;
    return true;
}

int TAdvStringGrid::FindMulti(const std::vector<String>& Values, const std::vector<int>& Columns,
                              const std::vector<unsigned char>& Kinds, const std::vector<bool>& CaseSensitive,
                              bool AutoGoto)
{
    if (Values.size() != Columns.size() || Values.size() != Kinds.size() || Values.size() != CaseSensitive.size())
        throw EAdvGridError(L"Array size of parameters not matching");
    for (std::size_t i = 0; i < Values.size(); ++i) {
        if (Columns[i] < 0 || Columns[i] >= TotalColCount())
            throw EAdvGridError(L"Invalid column index");
        if (Kinds[i] > 5)
            throw EAdvGridError(L"Invalid search kind");
    }
    std::vector<String> conditions;
    for (std::size_t i = 0; i < Values.size(); ++i) {
        const String value = Values[i].find(L' ') != String::npos ? L"\"" + Values[i] + L"\"" : Values[i];
        static const wchar_t* const before[] = {L"", L"*", L"*", L"", L"!", L"!*"};
        static const wchar_t* const after[] = {L"*", L"", L"*", L"", L"", L"*"};
        conditions.push_back(before[Kinds[i]] + value + after[Kinds[i]]);
    }
    FFindMultiConditions = std::move(conditions);
    FFindMultiColumns = Columns;
    FFindMultiCase = CaseSensitive;
    SearchCell = {0, -1};
    for (int r = GetFixedRows(); r < GetRowCount() - FFixedFooters; ++r) {
        if (!FindMultiRowMatches(r))
            continue;
        SearchCell = {0, r};
        if (AutoGoto)
            SetRow(r);
        return r;
    }
    return -1;
}

int TAdvStringGrid::FindMultiNext()
{
    for (int r = std::max(static_cast<int>(SearchCell.y) + 1, GetFixedRows()); r < GetRowCount() - FFixedFooters; ++r) {
        if (FindMultiRowMatches(r)) {
            SearchCell = {0, r};
            return r;
        }
    }
    return -1;
}
