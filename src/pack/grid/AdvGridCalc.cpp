// Calculations over cells: columns, rows, rectangles and the selection;
// automatic numbering; swapping two rows or two columns with what belongs
// to them.
#include "AdvGrid.h"
#include "HTMLUtils.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <set>

namespace {

bool ReadFloat(const String& text, double& value)
{
    const String s = Trim(text);
    if (s.empty() || s == L"-") {
        value = 0;
        return true;
    }
    return TryStrToFloat(s, value);
}

} // namespace

// --- reading numbers ---------------------------------------------------------------------

double TAdvStringGrid::GetFloatCell(int ACol, int ARow)
{
    return CellTextToFloat(StripHTMLTags(GetCellText(ACol, ARow)));
}

double TAdvStringGrid::GetRealRowFloatCell(int ACol, int ARealRow)
{
    return CellTextToFloat(GetRealRowCellText(ACol, ARealRow));
}

// --- columns --------------------------------------------------------------------------

TAdvStringGrid::TCalcRange TAdvStringGrid::ColumnCalcRange(int FromRow, int ToRow) const
{
    TCalcRange range;
    if (FromRow == -1 || ToRow == -1) {
        FromRow = GetFixedRows();
        ToRow = GetRowCount() - FFixedFooters - 1;
        range.defaulted = true;
    }
    range.from = FromRow;
    range.to = ToRow;
    // A range past the shown rows addresses real rows, hidden ones too.
    range.realRows = ToRow > GetRowCount() - 1;
    return range;
}

bool TAdvStringGrid::ColumnCalcValue(int ACol, int ARow, bool RealRows, double& Value)
{
    const int row = RealRows ? DisplRowIndex(ARow) : ARow;
    if (!IsBaseCell(ACol, row))
        return false;
    // Group header and summary rows hold no values of their own while grouped.
    const bool hidden = RealRows && IsHiddenRow(ARow);
    if (FGroupColumn != -1 && !hidden && (IsNode(row) || IsSummary(row)))
        return false;
    const String text = RealRows ? RealRowCell(ACol, ARow) : StripHTMLTags(GetCellText(ACol, ARow));
    return ReadFloat(text, Value);
}

double TAdvStringGrid::ColumnSum(int ACol, int FromRow, int ToRow)
{
    const TCalcRange range = ColumnCalcRange(FromRow, ToRow);
    double sum = 0;
    ExportNotification(0, range.from);
    for (int r = range.from; r <= range.to; ++r) {
        double value = 0;
        if (ColumnCalcValue(ACol, r, range.realRows, value))
            sum += value;
        ExportNotification(5, r);
    }
    ExportNotification(2, -1);
    return sum;
}

double TAdvStringGrid::ColumnAvg(int ACol, int FromRow, int ToRow)
{
    const TCalcRange range = ColumnCalcRange(FromRow, ToRow);
    if (range.to < range.from)
        return 0;
    return ColumnSum(ACol, range.from, range.to) / (range.to - range.from + 1);
}

double TAdvStringGrid::ColumnExtreme(int ACol, int FromRow, int ToRow, bool Largest)
{
    const TCalcRange range = ColumnCalcRange(FromRow, ToRow);
    if (range.to < range.from)
        return 0;
    double result = range.realRows ? GetRealRowFloatCell(ACol, range.from) : GetFloatCell(ACol, range.from);
    ExportNotification(0, range.from);
    for (int r = range.from; r <= range.to; ++r) {
        double value = 0;
        if (ColumnCalcValue(ACol, r, range.realRows, value) && (Largest ? value > result : value < result))
            result = value;
        ExportNotification(5, r);
    }
    ExportNotification(2, -1);
    return result;
}

double TAdvStringGrid::ColumnMin(int ACol, int FromRow, int ToRow)
{
    return ColumnExtreme(ACol, FromRow, ToRow, false);
}

double TAdvStringGrid::ColumnMax(int ACol, int FromRow, int ToRow)
{
    return ColumnExtreme(ACol, FromRow, ToRow, true);
}

double TAdvStringGrid::ColumnStdDev(int ACol, int FromRow, int ToRow)
{
    const TCalcRange range = ColumnCalcRange(FromRow, ToRow);
    // An empty range has no spread; dividing by its zero rows would not be a number.
    if (range.to < range.from)
        return 0;
    const double mean = ColumnAvg(ACol, range.from, range.to);
    double squares = 0;
    ExportNotification(0, range.from);
    for (int r = range.from; r <= range.to; ++r) {
        const double value = range.realRows ? GetRealRowFloatCell(ACol, r) : GetFloatCell(ACol, r);
        squares += (value - mean) * (value - mean);
        ExportNotification(5, r);
    }
    ExportNotification(2, -1);
    return std::sqrt(squares / (range.to - range.from + 1));
}

double TAdvStringGrid::ColumnDistinct(int ACol, int FromRow, int ToRow)
{
    const TCalcRange range = ColumnCalcRange(FromRow, ToRow);
    std::set<String> seen;
    ExportNotification(0, range.from);
    for (int r = range.from; r <= range.to; ++r) {
        seen.insert(UpperCase(range.realRows ? RealRowCell(ACol, r) : GetCellText(ACol, r)));
        ExportNotification(5, r);
    }
    ExportNotification(2, -1);
    return static_cast<double>(seen.size());
}

double TAdvStringGrid::ColumnCount(int ACol, int FromRow, int ToRow)
{
    const TCalcRange range = ColumnCalcRange(FromRow, ToRow);
    if (range.defaulted)
        return GetRowCount() - GetFixedRows() - FFixedFooters;
    return std::max(range.to - range.from + 1, 0);
}

double TAdvStringGrid::ColumnCustomCalc(int ACol, int FromRow, int ToRow)
{
    double result = 0;
    if (OnColumnCalc)
        OnColumnCalc(this, ACol, FromRow, ToRow, result);
    return result;
}

// --- rows and rectangles -------------------------------------------------------------------

double TAdvStringGrid::RowSum(int ARow, int FromCol, int ToCol)
{
    double sum = 0;
    for (int c = FromCol; c <= ToCol; ++c) {
        double value = 0;
        if (IsBaseCell(c, ARow) && ReadFloat(StripHTMLTags(GetCellText(c, ARow)), value))
            sum += value;
    }
    return sum;
}

double TAdvStringGrid::RowAvg(int ARow, int FromCol, int ToCol)
{
    // An empty range averages to 0 rather than to a division by zero.
    if (ToCol < FromCol)
        return 0;
    return RowSum(ARow, FromCol, ToCol) / (ToCol - FromCol + 1);
}

double TAdvStringGrid::RowExtreme(int ARow, int FromCol, int ToCol, bool Largest)
{
    if (ToCol < FromCol)
        return 0;
    double result = GetFloatCell(FromCol, ARow);
    for (int c = FromCol; c <= ToCol; ++c) {
        double value = 0;
        if (IsBaseCell(c, ARow) && ReadFloat(StripHTMLTags(GetCellText(c, ARow)), value) &&
            (Largest ? value > result : value < result))
            result = value;
    }
    return result;
}

double TAdvStringGrid::RowMin(int ARow, int FromCol, int ToCol)
{
    return RowExtreme(ARow, FromCol, ToCol, false);
}

double TAdvStringGrid::RowMax(int ARow, int FromCol, int ToCol)
{
    return RowExtreme(ARow, FromCol, ToCol, true);
}

double TAdvStringGrid::RectCalc(TGridRect GR, TCalcType CalcType)
{
    GR = GridRect(GR.TopLeft(), GR.BottomRight());
    double result = 0;
    if (CalcType == ctMin || CalcType == ctMax)
        result = GetRealRowFloatCell(GR.Left, GR.Top);
    int count = 0;
    for (int c = GR.Left; c <= GR.Right; ++c)
        for (int r = GR.Top; r <= GR.Bottom; ++r) {
            const double value = GetRealRowFloatCell(c, r);
            switch (CalcType) {
            case ctSum:
            case ctAvg:
                result += value;
                break;
            case ctMin:
                result = std::min(result, value);
                break;
            case ctMax:
                result = std::max(result, value);
                break;
            }
            ++count;
        }
    if (CalcType == ctAvg && count > 0)
        result /= count;
    return result;
}

// --- automatic numbers --------------------------------------------------------------------

void TAdvStringGrid::AutoNumberCol(int ACol)
{
    if (GetRowCount() == 0)
        return;
    const int end = GetRowCount() - FFixedFooters;
    for (int a = GetFixedRows() + FAutoNumberStart; a < end; ++a) {
        const int row = FAutoNumberDirection == sdAscending ? a : GetFixedRows() + end - a - 1;
        SetCellText(ACol, row, IntToStr(a - GetFixedRows() + 1 + FAutoNumberOffset));
    }
}

void TAdvStringGrid::AutoNumberRow(int ARow)
{
    if (GetColCount() == 0)
        return;
    const int end = GetColCount() - FFixedRightCols;
    for (int a = GetFixedCols() + FAutoNumberStart; a < end; ++a) {
        const int col = FAutoNumberDirection == sdAscending ? a : GetFixedCols() + end - a - 1;
        SetCellText(col, ARow, IntToStr(a - GetFixedCols() + 1 + FAutoNumberOffset));
    }
}

// --- swaps ------------------------------------------------------------------------------------

void TAdvStringGrid::SwapRows(int ARow1, int ARow2)
{
    if (ARow1 == ARow2 || ARow1 < 0 || ARow2 < 0 || ARow1 >= GetRowCount() || ARow2 >= GetRowCount())
        return;
    // Storage rows carry every real column, hidden ones included.
    SwapStoredRows(ARow1, ARow2);
    const int h1 = GetRowHeights(ARow1);
    SetRowHeights(ARow1, GetRowHeights(ARow2));
    SetRowHeights(ARow2, h1);
    CellControlsUpdate(false);
    Invalidate();
}

void TAdvStringGrid::SwapColumns(int ACol1, int ACol2)
{
    if (ACol1 == ACol2 || ACol1 < 0 || ACol2 < 0 || ACol1 >= TotalColCount() || ACol2 >= TotalColCount())
        return;
    const int rows = std::max(GetRowCount(), FMaxRowCount);
    for (int r = 0; r < rows; ++r)
        SwapCells({ACol1, r}, {ACol2, r});
    const int d1 = DisplColIndex(ACol1);
    const int d2 = DisplColIndex(ACol2);
    if (d1 < GetColCount() && d2 < GetColCount()) {
        const int w1 = GetColWidths(d1);
        SetColWidths(d1, GetColWidths(d2));
        SetColWidths(d2, w1);
    }
    if (FSortSettings->GetColumn() == ACol1)
        FSortSettings->SetColumn(ACol2);
    else if (FSortSettings->GetColumn() == ACol2)
        FSortSettings->SetColumn(ACol1);
    CellControlsUpdate(false);
    Invalidate();
}
