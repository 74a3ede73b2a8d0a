// The grid's properties: counts, sizes, options, the current cell and
// selection, moving and deleting columns and rows; the draw grid's events.
#include "Grids.h"
#include <algorithm>

namespace {

const wchar_t* const IndexOutOfRange = L"Grid index out of range";

} // namespace

TGridRect GridRect(TGridCoord Coord1, TGridCoord Coord2)
{
    return {std::min(Coord1.X, Coord2.X), std::min(Coord1.Y, Coord2.Y), std::max(Coord1.X, Coord2.X),
            std::max(Coord1.Y, Coord2.Y)};
}

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner)
{
    // No csClickEvents: the grid clicks itself at the end of a selecting press
    // and when code moves the current cell; a double click comes from MouseDown.
    ControlStyle = {csCaptureMouse, csOpaque, csDoubleClicks};
    options_ = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    horz_.count = 5;
    vert_.count = 5;
    horz_.fixed = 1;
    vert_.fixed = 1;
    horz_.first = 1;
    vert_.first = 1;
    horz_.defaultExtent = 64;
    vert_.defaultExtent = 24;
    horz_.extents.assign(5, 64);
    vert_.extents.assign(5, 24);
    current_ = anchor_ = {1, 1};
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 320, 120);
}

TCustomGrid::~TCustomGrid() = default;

// --- counts -----------------------------------------------------------------------

void TCustomGrid::SetColCount(int Value)
{
    if (Value < 1)
        Value = 1;
    if (Value == horz_.count)
        return;
    if (Value <= horz_.fixed)
        SetFixedCols(Value - 1);
    ChangeSize(Value, vert_.count);
}

void TCustomGrid::SetRowCount(int Value)
{
    if (Value < 1)
        Value = 1;
    if (Value == vert_.count)
        return;
    if (Value <= vert_.fixed)
        SetFixedRows(Value - 1);
    ChangeSize(horz_.count, Value);
}

void TCustomGrid::SetFixedCols(int Value)
{
    if (Value < 0)
        throw EInvalidGridOperation(IndexOutOfRange);
    if (Value >= horz_.count)
        throw EInvalidGridOperation(L"Fixed column count must be less than column count");
    if (Value == horz_.fixed)
        return;
    horz_.fixed = Value;
    horz_.first = std::max(horz_.first, Value);
    current_.X = std::max(current_.X, Value);
    anchor_.X = std::max(anchor_.X, Value);
    if (options_.Contains(goRowSelect))
        anchor_.X = horz_.count - 1;
    InvalidateGrid();
    UpdateScrollRange();
}

void TCustomGrid::SetFixedRows(int Value)
{
    if (Value < 0)
        throw EInvalidGridOperation(IndexOutOfRange);
    if (Value >= vert_.count)
        throw EInvalidGridOperation(L"Fixed row count must be less than row count");
    if (Value == vert_.fixed)
        return;
    vert_.fixed = Value;
    vert_.first = std::max(vert_.first, Value);
    current_.Y = std::max(current_.Y, Value);
    anchor_.Y = std::max(anchor_.Y, Value);
    InvalidateGrid();
    UpdateScrollRange();
}

void TCustomGrid::ChangeSize(int NewColCount, int NewRowCount)
{
    const int oldCols = horz_.count;
    const int oldRows = vert_.count;
    HideEdit();
    horz_.count = NewColCount;
    vert_.count = NewRowCount;
    horz_.extents.resize(static_cast<size_t>(NewColCount), horz_.defaultExtent);
    vert_.extents.resize(static_cast<size_t>(NewRowCount), vert_.defaultExtent);
    // The current cell, the anchor and the view stay inside the grid.
    current_.X = std::min(current_.X, NewColCount - 1);
    current_.Y = std::min(current_.Y, NewRowCount - 1);
    anchor_.X = std::min(anchor_.X, NewColCount - 1);
    anchor_.Y = std::min(anchor_.Y, NewRowCount - 1);
    if (options_.Contains(goRowSelect))
        anchor_.X = NewColCount - 1;
    horz_.first = std::clamp(horz_.first, horz_.fixed, NewColCount - 1);
    vert_.first = std::clamp(vert_.first, vert_.fixed, NewRowCount - 1);
    SizeChanged(oldCols, oldRows);
    InvalidateGrid();
    UpdateScrollRange();
}

void TCustomGrid::SizeChanged(int, int) {}

// --- sizes ------------------------------------------------------------------------

int TCustomGrid::GetColWidths(int Index) const
{
    if (Index < 0 || Index >= horz_.count)
        return horz_.defaultExtent;
    return horz_.Extent(Index);
}

int TCustomGrid::GetRowHeights(int Index) const
{
    if (Index < 0 || Index >= vert_.count)
        return vert_.defaultExtent;
    return vert_.Extent(Index);
}

void TCustomGrid::SetExtent(Axis& axis, int Index, int Value)
{
    if (Index < 0 || Index >= axis.count)
        throw EInvalidGridOperation(IndexOutOfRange);
    if (Value < -1)
        Value = -1;
    if (axis.Extent(Index) == Value)
        return;
    axis.extents[static_cast<size_t>(Index)] = Value;
    InvalidateGrid();
    UpdateScrollRange();
    UpdateEdit();
}

void TCustomGrid::SetColWidths(int Index, int Value)
{
    const int before = GetColWidths(Index);
    SetExtent(horz_, Index, Value);
    if (GetColWidths(Index) != before)
        ColWidthsChanged();
}

void TCustomGrid::SetRowHeights(int Index, int Value)
{
    const int before = GetRowHeights(Index);
    SetExtent(vert_, Index, Value);
    if (GetRowHeights(Index) != before)
        RowHeightsChanged();
}

void TCustomGrid::ResetExtents(Axis& axis, int Value)
{
    axis.defaultExtent = Value;
    std::fill(axis.extents.begin(), axis.extents.end(), Value);
    InvalidateGrid();
    UpdateScrollRange();
    UpdateEdit();
}

void TCustomGrid::SetDefaultColWidth(int Value)
{
    ResetExtents(horz_, Value);
    ColWidthsChanged();
}

void TCustomGrid::SetDefaultRowHeight(int Value)
{
    ResetExtents(vert_, Value);
    RowHeightsChanged();
}

void TCustomGrid::ColWidthsChanged() {}
void TCustomGrid::RowHeightsChanged() {}

void TCustomGrid::SetGridLineWidth(int Value)
{
    Value = std::max(Value, 0);
    if (Value == gridLineWidth_)
        return;
    gridLineWidth_ = Value;
    InvalidateGrid();
    UpdateScrollRange();
    UpdateEdit();
}

// --- look -------------------------------------------------------------------------

void TCustomGrid::SetOptions(TGridOptions Value)
{
    if (Value == options_)
        return;
    if (Value.Contains(goRowSelect))
        Value.Exclude(goAlwaysShowEditor);
    options_ = Value;
    if (!editorMode_ || !CanEditShow())
        HideEdit();
    if (options_.Contains(goAlwaysShowEditor))
        editorMode_ = true;
    if (options_.Contains(goRowSelect))
        anchor_.X = horz_.count - 1;
    else if (!options_.Contains(goRangeSelect))
        anchor_ = current_;
    InvalidateGrid();
    UpdateScrollRange();
    UpdateEdit();
}

void TCustomGrid::SetDefaultDrawing(bool Value)
{
    if (Value == defaultDrawing_)
        return;
    defaultDrawing_ = Value;
    InvalidateGrid();
}

void TCustomGrid::SetDrawingStyle(TGridDrawingStyle Value)
{
    if (Value == drawingStyle_)
        return;
    drawingStyle_ = Value;
    InvalidateGrid();
}

void TCustomGrid::SetGradientStartColor(TColor Value)
{
    gradientStart_ = Value;
    InvalidateGrid();
}

void TCustomGrid::SetGradientEndColor(TColor Value)
{
    gradientEnd_ = Value;
    InvalidateGrid();
}

void TCustomGrid::SetFixedColor(TColor Value)
{
    if (Value == fixedColor_)
        return;
    fixedColor_ = Value;
    InvalidateGrid();
}

void TCustomGrid::SetScrollBars(TScrollStyle Value)
{
    if (Value == scrollBars_)
        return;
    scrollBars_ = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value)
{
    if (Value == borderStyle_)
        return;
    borderStyle_ = Value;
    if (HandleAllocated())
        RecreateWnd();
}

// --- current cell and selection ---------------------------------------------------

void TCustomGrid::CheckCell(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ACol >= horz_.count || ARow >= vert_.count)
        throw EInvalidGridOperation(IndexOutOfRange);
}

bool TCustomGrid::SelectCell(int, int)
{
    return true;
}

void TCustomGrid::SetCol(int Value)
{
    if (Value != current_.X)
        FocusCell(Value, current_.Y, true);
}

void TCustomGrid::SetRow(int Value)
{
    if (Value != current_.Y)
        FocusCell(current_.X, Value, true);
}

TGridRect TCustomGrid::GetSelection() const
{
    TGridRect r = GridRect(current_, anchor_);
    if (options_.Contains(goRowSelect)) {
        r.Left = horz_.fixed;
        r.Right = horz_.count - 1;
    }
    return r;
}

void TCustomGrid::SetSelection(const TGridRect& Value)
{
    CheckCell(Value.Left, Value.Top);
    CheckCell(Value.Right, Value.Bottom);
    const TGridRect old = GetSelection();
    anchor_ = Value.TopLeft();
    current_ = Value.BottomRight();
    if (options_.Contains(goRowSelect))
        anchor_.X = horz_.count - 1;
    SelectionMoved(old);
}

void TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    CheckCell(ACol, ARow);
    if (!SelectCell(ACol, ARow))
        return;
    const TGridRect old = GetSelection();
    const TGridCoord oldCurrent = current_;
    current_ = {ACol, ARow};
    if (!options_.Contains(goAlwaysShowEditor) && current_ != oldCurrent)
        HideEditor();
    if (MoveAnchor || !options_.Contains(goRangeSelect)) {
        anchor_ = current_;
        if (options_.Contains(goRowSelect))
            anchor_.X = horz_.count - 1;
    }
    if (options_.Contains(goRowSelect))
        current_.X = std::max(current_.X, horz_.fixed);
    if (Show)
        ClampInView(current_);
    SelectionMoved(old);
    InvalidateCell(oldCurrent.X, oldCurrent.Y);
    InvalidateCell(current_.X, current_.Y);
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    MoveCurrent(ACol, ARow, MoveAnchor, Show);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    MoveCurrent(ACol, ARow, MoveAnchor, true);
    UpdateEdit();
    Click();
}

void TCustomGrid::SelectionMoved(const TGridRect& OldSel)
{
    if (!HandleAllocated())
        return;
    const TGridRect now = GetSelection();
    if (now == OldSel)
        return;
    InvalidateRect(OldSel);
    InvalidateRect(now);
}

// --- moving and deleting ----------------------------------------------------------

void TCustomGrid::MoveAdjust(int& Value, int FromIndex, int ToIndex)
{
    if (Value == FromIndex)
        Value = ToIndex;
    else if (FromIndex < ToIndex && Value > FromIndex && Value <= ToIndex)
        --Value;
    else if (ToIndex < FromIndex && Value >= ToIndex && Value < FromIndex)
        ++Value;
}

void TCustomGrid::MoveExtent(Axis& axis, int FromIndex, int ToIndex)
{
    auto& e = axis.extents;
    const int extent = e[static_cast<size_t>(FromIndex)];
    e.erase(e.begin() + FromIndex);
    e.insert(e.begin() + ToIndex, extent);
}

void TCustomGrid::MoveColumn(int FromIndex, int ToIndex)
{
    CheckCell(FromIndex, 0);
    CheckCell(ToIndex, 0);
    if (FromIndex == ToIndex)
        return;
    HideEdit();
    MoveAdjust(current_.X, FromIndex, ToIndex);
    if (!options_.Contains(goRowSelect))
        MoveAdjust(anchor_.X, FromIndex, ToIndex);
    MoveExtent(horz_, FromIndex, ToIndex);
    ColumnMoved(FromIndex, ToIndex);
    InvalidateGrid();
    UpdateScrollRange();
    UpdateEdit();
}

void TCustomGrid::MoveRow(int FromIndex, int ToIndex)
{
    CheckCell(0, FromIndex);
    CheckCell(0, ToIndex);
    if (FromIndex == ToIndex)
        return;
    HideEdit();
    MoveAdjust(current_.Y, FromIndex, ToIndex);
    MoveAdjust(anchor_.Y, FromIndex, ToIndex);
    MoveExtent(vert_, FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    InvalidateGrid();
    UpdateScrollRange();
    UpdateEdit();
}

void TCustomGrid::DeleteColumn(int ACol)
{
    // The column's cells go to the end, where lowering the count keeps them stored.
    MoveColumn(ACol, horz_.count - 1);
    SetColCount(horz_.count - 1);
}

void TCustomGrid::DeleteRow(int ARow)
{
    MoveRow(ARow, vert_.count - 1);
    SetRowCount(vert_.count - 1);
}

// --- TDrawGrid --------------------------------------------------------------------

void TDrawGrid::DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TDrawGrid::SelectCell(int ACol, int ARow)
{
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, canSelect);
    return canSelect;
}

String TDrawGrid::GetEditMask(int ACol, int ARow)
{
    String mask;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, mask);
    return mask;
}

String TDrawGrid::GetEditText(int ACol, int ARow)
{
    String text;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, text);
    return text;
}

void TDrawGrid::SetEditText(int ACol, int ARow, const String& Value)
{
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

void TDrawGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
}

void TDrawGrid::TopLeftChanged()
{
    TCustomGrid::TopLeftChanged();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}
