// AdvGrid: the data grid. TAdvStringGrid builds on the base grid's cell
// store:
//  - hidden rows leave the displayed grid: their texts, objects and heights
//    go into a hidden-row item, the rows below move up and RowCount shrinks.
//    Every row index the class library, the painter and the mouse see is a
//    display index; a row's index in the whole table, hidden rows counted,
//    is its real index. RealRowIndex and DisplRowIndex translate, in
//    logarithmic time from a sorted lookup built once per change.
//  - hidden columns keep their cells: storage stays addressed by real column
//    and only the display is remapped (RealColIndex, DisplColIndex).
//  - the column order remembers which initial column stands where.
//  - rows and columns are inserted, removed, cleared, trimmed, coloured,
//    merged and split with every index structure kept in step.
#pragma once

#include "AdvGridObjects.h"
#include "BaseGrid.h"
#include <vector>

class TAdvStringGrid;

enum TScrollPosition { spMiddle, spTrailing, spLeading };

using TRowUpdateEvent = std::function<void(TObject* Sender, int OldRow, int NewRow)>;
using TCellsChangedEvent = std::function<void(TObject* Sender, const TRect& R)>;

// ---------------------------------------------------------------------------
// One hidden row: its cell texts with their objects (one entry per real
// column), its real index, its height and the filter level that hid it.
class TGridItem : public TCollectionItem {
public:
    explicit TGridItem(TCollection* Collection);
    ~TGridItem() override;

    int GetIdx() const { return FIdx; }
    void SetIdx(int Value);
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    // The item owns its list; a list assigned here becomes the item's own.
    TStrings* GetItems() const { return FItems; }
    void SetItems(TStrings* Value);
    int GetLevel() const { return FLevel; }
    void SetLevel(int Value) { FLevel = Value; }

private:
    int FIdx = 0;
    int FHeight = 0;
    TStrings* FItems = nullptr;
    int FLevel = 0;
};

// The hidden-row items of a grid; every change to them discards the grid's
// hidden-row lookup.
class THiddenRowItems : public TCollection {
public:
    explicit THiddenRowItems(TAdvStringGrid* Grid);
    TGridItem* Item(int Index) const { return static_cast<TGridItem*>(GetItem(Index)); }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TAdvStringGrid* grid_ = nullptr;
};

// ---------------------------------------------------------------------------
class TAdvStringGrid : public TBaseGrid {
public:
    explicit TAdvStringGrid(TComponent* AOwner);
    ~TAdvStringGrid() override;
    void BeforeDestruction() override;

    // --- counts and fixed cells at the far edges
    int GetFixedFooters() const { return FFixedFooters; }
    void SetFixedFooters(int Value);
    int GetFixedRightCols() const { return FFixedRightCols; }
    void SetFixedRightCols(int Value);
    // ColCount plus the hidden columns; RowCount plus the hidden rows.
    int GetAllColCount() const { return TotalColCount(); }
    int GetAllRowCount() const { return TotalRowCount(); }

    // --- current cell, selection and view (display indexes)
    // While the selection is hidden the current cell reads (ColCount, RowCount).
    int GetCol() const;
    int GetRow() const { return GetRowEx(); }
    void SetRow(int Value) { SetRowEx(Value); }
    int GetTopRow() const { return GetTopRowEx(); }
    // Values outside FixedRows .. RowCount - 1 are ignored.
    void SetTopRow(int Value) { SetTopRowEx(Value); }
    int GetRealRow() const { return RealRowIndex(GetRow()); }
    int GetRealCol() const { return RealColIndex(GetCol()); }
    TGridRect GetSelection() const;
    // A rectangle outside the grid hides the selection.
    void SetSelection(const TGridRect& Value);
    // Selects the single cell (which makes it current) without scrolling.
    void FocusCell(int ACol, int ARow);
    // Moves the current cell with the anchor and scrolls it into view.
    void MoveCurrentCell(int ACol, int ARow);
    // The hidden selection lies just outside the grid, at (ColCount, RowCount).
    void HideSelection();
    void UnHideSelection();
    bool IsSelectionHidden() const;
    // Asks the cell-selection query again for the current cell.
    void UpdateEditMode();
    void ScrollInView(int ACol, int ARow, TScrollPosition Position);
    // Closes the in-place editor, writing its text back.
    void HideInplaceEdit();

    // --- hidden rows (real indexes unless named display)
    void HideRow(int ARow) { HideRows(ARow, ARow); }
    void HideRows(int FromRow, int ToRow);
    // Hides the listed display rows as one new filter level.
    void HideRowList(TIntList* RowList);
    // As HideRows, but the items go to the end of the hidden-row list.
    void HideRowsEx(int FromRow, int ToRow);
    void UnHideRow(int ARow) { UnHideRows(ARow, ARow); }
    void UnHideRows(int FromRow, int ToRow);
    // Shows the rows of the last filter level; the caller then lowers the level.
    void UnHideRowList();
    void UnHideRowsAll();
    bool IsHiddenRow(int ARow) const;
    int NumHiddenRows() const { return FGridItems->Count(); }
    int TotalRowCount() const { return GetRowCount() + NumHiddenRows(); }
    // A display row's real index: -1 for a negative row once rows are hidden.
    int RealRowIndex(int ARow) const;
    // A real row's display index; a hidden row maps to the next shown row.
    int DisplRowIndex(int ARow) const;
    THiddenRowItems* GetGridItems() const { return FGridItems.get(); }
    int GetFilterLevel() const { return FFilterLevel; }
    void SetFilterLevel(int Value) { FFilterLevel = Value; }

    // --- hidden columns (real indexes)
    void HideColumn(int ACol) { HideColumns(ACol, ACol); }
    // At least one column stays displayed.
    void HideColumns(int FromCol, int ToCol);
    void UnHideColumn(int ACol) { UnHideColumns(ACol, ACol); }
    void UnHideColumns(int FromCol, int ToCol);
    void UnHideColumnsAll() { UnHideColumns(0, TotalColCount() - 1); }
    bool IsHiddenColumn(int ACol) const;
    int NumHiddenColumns() const { return FNumHidden; }
    int TotalColCount() const override { return GetColCount() + FNumHidden; }
    int RealColIndex(int ACol) const override;
    int DisplColIndex(int ACol) const override;
    // Shown, per real column; true outside the table.
    bool GetVisibleCol(int ACol) const;
    // Width 0 with the column kept in place; UnSuppressColumn gives the width back.
    void SuppressColumn(int ACol);
    void UnSuppressColumn(int ACol);

    // --- moving columns and rows, column order
    // Display indexes; indexes outside the grid are ignored.
    void MoveColumn(int FromIndex, int ToIndex) override;
    void MoveRow(int FromIndex, int ToIndex) override;
    void MoveRows(int FromIndex, int ToIndex, int Count);
    // Position P holds the initial index of the real column now at P.
    TIntList* GetColumnOrder() const { return FColumnOrder.get(); }
    // Records the present order as the initial one.
    void SetColumnOrder();
    // Shows every column and moves each back to its initial position.
    void ResetColumnOrder();
    int ColumnPosition(int ACol);
    int ColumnAtPosition(int Position);
    // The first real column whose real row 0 reads Text exactly; -1 when none.
    int ColumnByHeader(const String& Text);

    // --- inserting and removing rows and columns (display rows, real columns)
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
    void AddRow();
    virtual void RemoveRows(int RowIndex, int RCount);
    // Takes the rows out without freeing their objects: the caller owns them.
    virtual void RemoveRowsEx(int RowIndex, int RCount);
    // Frees the rows' cell properties, then takes the rows out.
    virtual void RemoveRowRange(int RowIndex, int RCount);
    // Removes the listed display rows (ascending) in one pass.
    void RemoveRowList(TIntList* RowList);
    // Removes the rows whose text in the display column repeats an earlier
    // row's, compared without regard to case.
    void RemoveDuplicates(int ACol, bool Flag);
    void RemoveSelectedRows();
    void RemoveUnSelectedRows();
    void HideSelectedRows();
    void HideUnSelectedRows();
    void RemoveSelectedCols();
    void RemoveUnSelectedCols();
    void AddColumn();
    virtual void InsertCols(int ColIndex, int CCount);
    virtual void RemoveCols(int ColIndex, int CCount);

    // --- clearing, trimming, colouring (inclusive corners)
    // Columns are display columns when SaveHiddenCells is set, else real ones.
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    // Every real column of the rows, hidden ones included.
    void ClearRows(int RowIndex, int RCount);
    void ClearCols(int ColIndex, int CCount);
    void ClearNormalRows(int RowIndex, int RCount);
    void ClearNormalCols(int ColIndex, int CCount);
    void ClearNormalCells();
    void ClearSelection();
    void Clear();
    // Every cell the grid ever had, and the texts of the hidden rows.
    void ClearAll();
    virtual void TrimRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void TrimColumn(int ACol);
    void TrimRow(int ARow);
    void TrimAll();
    void ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor);

    // --- merging runs of equal cells
    void MergeColumnCells(int ColIndex, bool MainMerge);
    void MergeRowCells(int RowIndex, bool MainMerge);
    void SplitColumnCells(int ColIndex);
    void SplitRowCells(int RowIndex);
    void SplitAllCells();
    // Joins each row's two texts with Separator into the first column and
    // removes the second.
    void MergeCols(int ColIndex1, int ColIndex2, const String& Separator);

    // --- queries
    // The smallest display rectangle holding every non-empty cell; all 0 when none.
    virtual TRect FindUsedCellRange();
    bool IsCell(const String& SubStr, int& ACol, int& ARow);
    bool IsWideCell(int ACol, int ARow);
    String GetCellWideText(int ACol, int ARow);
    void SetCellWideText(int ACol, int ARow, const String& Value);
    // Repaints the screen area from the first to the last cell of R.
    void InvalidateCellRange(const TGridRect& R);
    int SaveStartCol() const;
    int SaveEndCol() const;
    int SaveColCount() const;
    int SaveStartRow() const;
    int SaveEndRow() const;
    int SaveRowCount() const;
    TIntList* GetIgnoreColumns() const { return FIgnoreColumns.get(); }
    bool IsIgnoredColumn(int ACol) const { return FIgnoreColumns->HasValue(ACol); }

    // --- column layout string: "count#widths#order#flags"
    String ColumnStatesToString() const;
    // Ignores a string without "#". A malformed one raises EConvertError or
    // EListError before anything changes.
    void StringToColumnStates(const String& Value);

    // --- sizing to contents (display indexes)
    void AutoSizeRow(int ARow, int Padding);
    void FitRowToContents(int ARow, bool GrowOnly, bool GraphicFlag);
    void AutoSizeRows(bool DoFixedRows, int Padding);
    void AutoSizeCol(int ACol, int Padding);
    void AutoGrowCol(int ACol, int Padding);
    void FitColumnToContents(int ACol, bool GrowOnly);
    void AutoSizeColumns(bool DoFixedCols, int Padding);
    void AutoGrowColumns(bool DoFixedCols, int Padding);
    // The space the cell text offset takes across and down a cell.
    int GetTotalXOffset() const { return FXYOffsetTopLeftOnly ? FXYOffset.x : 2 * FXYOffset.x; }
    int GetTotalYOffset() const { return FXYOffsetTopLeftOnly ? FXYOffset.y : 2 * FXYOffset.y; }

    // --- sizing settings
    TFont* GetFixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TFont* Value) { FFixedFont->Assign(Value); }
    // Automatic sizes only ever grow.
    bool GetSizeGrowOnly() const { return FSizeGrowOnly; }
    void SetSizeGrowOnly(bool Value) { FSizeGrowOnly = Value; }
    // Limits of automatic sizes; equal limits leave a size as computed, and
    // a limit of 0 does not apply.
    int GetMinRowHeight() const { return FMinRowHeight; }
    void SetMinRowHeight(int Value) { FMinRowHeight = Value; }
    int GetMaxRowHeight() const { return FMaxRowHeight; }
    void SetMaxRowHeight(int Value) { FMaxRowHeight = Value; }
    int GetMinColWidth() const { return FMinColWidth; }
    void SetMinColWidth(int Value) { FMinColWidth = Value; }
    int GetMaxColWidth() const { return FMaxColWidth; }
    void SetMaxColWidth(int Value) { FMaxColWidth = Value; }
    // The text's inset inside a cell, on all sides or only left and top.
    TPoint GetXYOffset() const { return FXYOffset; }
    void SetXYOffset(TPoint Value);
    bool GetXYOffsetTopLeftOnly() const { return FXYOffsetTopLeftOnly; }
    void SetXYOffsetTopLeftOnly(bool Value);
    // Points added to every cell font; a resulting size of 0 becomes 1.
    int GetZoomFactor() const { return FZoomFactor; }
    void SetZoomFactor(int Value);

    // --- switches
    // A cell's CellObject tag holds an object that clearing frees.
    bool GetOwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
    // Clearing keeps cell properties.
    bool GetClearTextOnly() const { return FClearTextOnly; }
    void SetClearTextOnly(bool Value) { FClearTextOnly = Value; }
    bool GetSaveHiddenCells() const { return FSaveHiddenCells; }
    void SetSaveHiddenCells(bool Value) { FSaveHiddenCells = Value; }
    bool GetSaveFixedCells() const { return FSaveFixedCells; }
    void SetSaveFixedCells(bool Value) { FSaveFixedCells = Value; }
    bool GetSaveFixedCols() const { return FSaveFixedCols; }
    void SetSaveFixedCols(bool Value) { FSaveFixedCols = Value; }
    bool GetSaveFixedRows() const { return FSaveFixedRows; }
    void SetSaveFixedRows(bool Value) { FSaveFixedRows = Value; }

    // --- events
    TRowUpdateEvent OnRowUpdate;
    TCellsChangedEvent OnCellsChanged;

protected:
    // --- hooks
    // Cells of R changed: tells the event (R in cell coordinates).
    virtual void DoCellsChanged(const TRect& R);
    // Moves the controls placed in cells onto their cells after rows or
    // columns moved; with rebuildlist the list is made again from the cells.
    virtual void CellControlsUpdate(bool rebuildlist) {}

    // --- class library steps
    void SizeChanged(int OldColCount, int OldRowCount) override;
    bool SelectCell(int ACol, int ARow) override;
    // Moves the column's cells and its bookkeeping after the class library
    // moved the column on the screen.
    void ColumnMoved(int FromIndex, int ToIndex) override;

    // --- Row and TopRow in place of the class library's
    int GetRowEx() const;
    void SetRowEx(int Value);
    int GetTopRowEx() const { return TStringGrid::GetTopRow(); }
    void SetTopRowEx(int Value);

    // --- hidden-row lookup: the ascending real indexes of the hidden rows
    void BuildHiddenRowLookup() const;
    void ClearHiddenRowLookup() const { FHiddenRowLookupValid = false; }

    // --- state later steps share
    int FFilterLevel = 0;
    int FFixedFooters = 0;
    int FFixedRightCols = 0;
    int FMaxRowCount = 0;
    int FMaxColCount = 0;
    // Raised while emptied cells' objects live on elsewhere: clearing then
    // drops the references without freeing.
    bool FNilObjects = false;
    int FOldRowSel = 0;
    int FAECol = -1;
    int FAERow = -1;
    TGridRect FDisSelection{-1, -1, -1, -1};
    TGridRect FOldSelection;
    bool FSelHidden = false;

private:
    friend class THiddenRowItems;

    // Storage of whole rows, over every real column.
    void ReadStoredRow(int ARow, TStrings* Items) const;
    void WriteStoredRow(int ARow, TStrings* Items);
    // Empties texts and drops object references without freeing them.
    void EmptyStoredRow(int ARow);
    // Frees the cell properties left in rows past the end before they come back.
    void DiscardStaleRows(int FromRow, int ToRow);
    // Moves the other rows (texts, objects, heights) up over the listed
    // display rows (ascending); the listed rows' contents end past the kept
    // rows, at the old tail. RowCount is left to the caller.
    void CloseRowGaps(const std::vector<int>& Gone);
    // With RowCount already raised by Slots.size(), moves the rows down so
    // that the listed new display rows (ascending) are free.
    void OpenRowGaps(const std::vector<int>& Slots, int OldRowCount);
    // Takes the listed display rows (ascending) out and lowers RowCount; with
    // AdjustHidden the real indexes of hidden rows after them follow.
    void DropRows(const std::vector<int>& Gone, bool AdjustHidden);
    // After rows went: the current row back on OldRow while that is a normal
    // row, else on the last normal row, else the selection hidden.
    void KeepCurrentRow(int OldRow, int OldTop);
    void RemoveRowsCore(int Row, int Count, bool AdjustHidden);
    // Hides the shown rows of a real range; the items go in order or last.
    void HideRowRange(int FromRow, int ToRow, bool Append);
    // Puts the hidden rows of the given items back at their real places.
    void RestoreHiddenRows(const std::vector<TGridItem*>& Restored);
    String RealRowCell(int ACol, int ARealRow);
    bool IsRowSelected(int ARow);

    // Sizing: the font a display cell's text is drawn in, and the size of
    // its text as plain text (wrapped at MaxWidth when WordWrap).
    void PrepareCellFont(int ACol, int ARow, TFont* AFont);
    TSize MeasureCellText(int ACol, int ARow, bool WordWrap, int MaxWidth);
    bool CellWordWrap(int ACol, int ARow) const;

    void ClearRectCore(int ACol1, int ARow1, int ACol2, int ARow2, bool DisplayColumns);
    int StorageCol(int ACol) const { return FSaveHiddenCells ? RealColIndex(ACol) : ACol; }
    void MoveColumnCells(int FromCol, int Count, bool Insert);

    void SetVisibleCol(int ACol, bool Value);
    void FitColumnFlags();
    void BuildColumnMap() const;

    TOwned<THiddenRowItems> FGridItems;
    mutable std::vector<int> FHiddenRowLookup;
    mutable bool FHiddenRowLookupValid = false;

    // One flag and one remembered width per real column.
    std::vector<bool> FVisibleCol;
    std::vector<int> FAllColWidths;
    int FNumHidden = 0;
    mutable std::vector<int> FDisplToReal;
    mutable std::vector<int> FHiddenBefore;
    mutable bool FColumnMapValid = false;

    TOwned<TIntList> FColumnOrder;
    TOwned<TIntList> FSuppressColSizes;
    TOwned<TIntList> FIgnoreColumns;

    // The selection lies outside the grid; the class library's own selection
    // cannot, so the grid answers for it while this is set.
    bool FSelectionParked = false;

    // Sizing settings.
    TOwned<TFont> FFixedFont;
    bool FSizeGrowOnly = false;
    int FMinRowHeight = 0;
    int FMaxRowHeight = 0;
    int FMinColWidth = 0;
    int FMaxColWidth = 0;
    TPoint FXYOffset{2, 2};
    bool FXYOffsetTopLeftOnly = false;
    int FZoomFactor = 0;

    bool FOwnsObjects = false;
    bool FClearTextOnly = false;
    bool FSaveHiddenCells = false;
    bool FSaveFixedCells = false;
    bool FSaveFixedCols = false;
    bool FSaveFixedRows = false;
};
