// Grids: the painted grid control of the class library. TCustomGrid keeps the
// layout (counts, fixed cells, column widths and row heights), the current
// cell and selection, the view (top row, left column), scrolling, the mouse
// and keyboard handling with sizing and moving, and the in-place editor.
// TDrawGrid publishes its events; TStringGrid adds one text and one object
// per cell.
//
// Geometry runs only over the cells on the screen: painting, hit testing and
// scrolling cost the same at 100 rows and at 100,000.
#pragma once

#include "Controls.h"
#include "Mask.h"
#include <map>
#include <vector>

class TInplaceEdit;

// ---------------------------------------------------------------------------
// Types.
enum TGridOption {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect,
    goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = Set<TGridOption>;

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed, gdRowSelected, gdHotTrack, gdPressed };
using TGridDrawState = Set<TGridDrawStateItem>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
enum TGridDrawingStyle { gdsClassic, gdsThemed, gdsGradient };

struct TGridCoord {
    int X = 0;
    int Y = 0;
    bool operator==(const TGridCoord& o) const { return X == o.X && Y == o.Y; }
    bool operator!=(const TGridCoord& o) const { return !(*this == o); }
};

// A cell range; Left/Top may be greater than Right/Bottom where a caller built it so.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    TGridCoord TopLeft() const { return {Left, Top}; }
    TGridCoord BottomRight() const { return {Right, Bottom}; }
    bool Contains(int ACol, int ARow) const
    {
        return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom;
    }
    bool operator==(const TGridRect& o) const
    {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    bool operator!=(const TGridRect& o) const { return !(*this == o); }
};

TGridRect GridRect(TGridCoord Coord1, TGridCoord Coord2);

// Where the cells of one axis lie on the screen, as painting and hit testing see them.
struct TGridAxisDrawInfo {
    int EffectiveLineWidth = 0;
    int FixedBoundary = 0;        // end of the fixed cells (their last line included)
    int GridBoundary = 0;         // end of the last painted cell, at most GridExtent
    int GridExtent = 0;           // the client width or height
    int LastFullVisibleCell = 0;  // the last cell that shows whole
    int LastVisibleCell = 0;      // the last cell that shows at all
    int FullVisBoundary = 0;      // end of LastFullVisibleCell
    int FixedCellCount = 0;
    int FirstGridCell = 0;        // LeftCol or TopRow
    int GridCellCount = 0;        // ColCount or RowCount
};

struct TGridDrawInfo {
    TGridAxisDrawInfo Horz;
    TGridAxisDrawInfo Vert;
};

class EInvalidGridOperation : public Exception {
public:
    using Exception::Exception;
};

using TSelectCellEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& CanSelect)>;
using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State)>;
using TGetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, int FromIndex, int ToIndex)>;

// ---------------------------------------------------------------------------
class TCustomGrid : public TCustomControl {
public:
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;
    void BeforeDestruction() override;

    // Counts. Fixed counts stay below the totals; lowering a total below the
    // fixed count lowers the fixed count with it.
    int GetColCount() const { return horz_.count; }
    void SetColCount(int Value);
    int GetRowCount() const { return vert_.count; }
    void SetRowCount(int Value);
    int GetFixedCols() const { return horz_.fixed; }
    void SetFixedCols(int Value);
    int GetFixedRows() const { return vert_.fixed; }
    void SetFixedRows(int Value);

    // Sizes. Setting a default size resets every column's (row's) size; a
    // negative size hides the column or row.
    int GetDefaultColWidth() const { return horz_.defaultExtent; }
    void SetDefaultColWidth(int Value);
    int GetDefaultRowHeight() const { return vert_.defaultExtent; }
    void SetDefaultRowHeight(int Value);
    int GetColWidths(int Index) const;
    void SetColWidths(int Index, int Value);
    int GetRowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    int GetGridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int Value);
    // The width and height of all cells that show, lines included.
    int GetGridWidth();
    int GetGridHeight();

    // Look and behaviour.
    TGridOptions GetOptions() const { return options_; }
    void SetOptions(TGridOptions Value);
    bool GetDefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool Value);
    TGridDrawingStyle GetDrawingStyle() const { return drawingStyle_; }
    void SetDrawingStyle(TGridDrawingStyle Value);
    TColor GetGradientStartColor() const { return gradientStart_; }
    void SetGradientStartColor(TColor Value);
    TColor GetGradientEndColor() const { return gradientEnd_; }
    void SetGradientEndColor(TColor Value);
    TScrollStyle GetScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle Value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    TColor GetFixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor Value);
    // Reading order and alignment; a right-to-left grid mirrors its cells.
    TBiDiMode GetBiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode Value)
    {
        if (biDiMode_ == Value)
            return;
        biDiMode_ = Value;
        Invalidate();
    }
    bool UseRightToLeftAlignment() const { return biDiMode_ == bdRightToLeft; }
    bool UseRightToLeftReading() const { return biDiMode_ != bdLeftToRight; }

    // The current cell, the selection and the view. Setting Col or Row asks
    // SelectCell, scrolls the cell into view and raises OnClick.
    int GetCol() const { return current_.X; }
    void SetCol(int Value);
    int GetRow() const { return current_.Y; }
    void SetRow(int Value);
    // Setting the selection moves the anchor to its top-left and the current
    // cell to its bottom-right.
    TGridRect GetSelection() const;
    void SetSelection(const TGridRect& Value);
    int GetTopRow() const { return vert_.first; }
    void SetTopRow(int Value);
    int GetLeftCol() const { return horz_.first; }
    void SetLeftCol(int Value);
    // Scrollable rows (columns) that show whole from the top row (left column); at least 1.
    int GetVisibleRowCount();
    int GetVisibleColCount();

    // Geometry in client coordinates; an empty rectangle for a cell off the screen.
    TRect CellRect(int ACol, int ARow);
    TGridCoord MouseCoord(int X, int Y);
    // -1 for a coordinate outside all cells.
    void MouseToCell(int X, int Y, int& ACol, int& ARow);

    // The in-place editor.
    bool GetEditorMode() const { return editorMode_; }
    void SetEditorMode(bool Value);
    TInplaceEdit* InplaceEditor() const { return inplaceEdit_; }

    TGridState GridState() const { return FGridState; }

protected:
    // --- drawing
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) = 0;
    void Paint() override;
    void CalcDrawInfo(TGridDrawInfo& DrawInfo);
    // Only the fixed cells: as if the client were as large as the fixed area allows.
    void CalcFixedInfo(TGridDrawInfo& DrawInfo);
    TRect BoxRect(int ALeft, int ATop, int ARight, int ABottom);
    void InvalidateCell(int ACol, int ARow);
    void InvalidateCol(int ACol);
    void InvalidateRow(int ARow);
    void InvalidateRect(const TGridRect& ARect);
    void InvalidateGrid();
    void InvalidateEditor();

    // --- current cell and view
    virtual bool SelectCell(int ACol, int ARow);
    // Moves the current cell (and the anchor) and scrolls it into view,
    // without the Col/Row setters; FocusCell also updates the editor and clicks.
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    void MoveTopLeft(int ALeft, int ATop);
    virtual void TopLeftChanged();
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();

    // --- moving and deleting; the grid moves sizes, descendants the data
    virtual void MoveColumn(int FromIndex, int ToIndex);
    virtual void MoveRow(int FromIndex, int ToIndex);
    virtual void ColumnMoved(int FromIndex, int ToIndex) {}
    virtual void RowMoved(int FromIndex, int ToIndex) {}
    virtual void DeleteColumn(int ACol);
    virtual void DeleteRow(int ARow);

    // --- editing
    virtual bool CanEditShow();
    virtual bool CanEditModify() { return true; }
    virtual bool CanEditAcceptKey(wchar_t Key) { return true; }
    virtual TInplaceEdit* CreateEditor();
    virtual String GetEditText(int ACol, int ARow) { return {}; }
    virtual void SetEditText(int ACol, int ARow, const String& Value) {}
    virtual String GetEditMask(int ACol, int ARow) { return {}; }
    virtual int GetEditLimit() { return 0; }
    void ShowEditor();
    void HideEditor();
    // Opens the editor and types Ch into it, replacing the cell's text.
    void ShowEditorChar(wchar_t Ch);
    // Reopens the editor over the current cell when the editor mode asks for it.
    void UpdateEdit();
    // Writes the editor's text back to the cell it was opened for.
    void UpdateText();

    // --- mouse and keys
    // Draws (or, drawn again at the same place, takes away) the line that
    // follows a column (gsColSizing) or row border being dragged to Pos.
    virtual void DrawSizingLineAt(TGridState State, int Pos);
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                 int& SizingOfs, TGridDrawInfo& FixedInfo);
    // Ends a column or row sizing under way without changing any size.
    void CancelSizing();
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    bool DoMouseWheelDown(TShiftState Shift, POINT MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, POINT MousePos) override;

    // --- window
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void ChangeScale(int M, int D) override;
    void Resize() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // The grid's own mouse state; descendants read and write it.
    TGridState FGridState = gsNormal;

private:
    friend class TInplaceEdit;

    // One axis of the layout: columns or rows.
    struct Axis {
        int count = 0;
        int fixed = 0;
        int defaultExtent = 0;
        int first = 0;  // LeftCol or TopRow
        std::vector<int> extents;
        int Extent(int i) const { return extents[static_cast<size_t>(i)]; }
    };

    // Layout arithmetic over one axis.
    void CalcAxis(const Axis& axis, int lineWidth, int gridExtent, TGridAxisDrawInfo& info) const;
    int MaxFirst(const Axis& axis, int lineWidth, int gridExtent) const;
    int LineWidthOf(bool horizontal) const;
    int ClientExtent(bool horizontal);
    // Start and end (lines excluded unless asked) of the visible part of cells lo..hi; false when none shows.
    bool AxisSpan(const Axis& axis, int lineWidth, int gridExtent, int lo, int hi, bool includeLine,
                  int& start, int& end) const;
    int AxisHit(const Axis& axis, int lineWidth, int gridExtent, int pos) const;
    TRect BoxRectEx(int ALeft, int ATop, int ARight, int ABottom, bool includeLines);

    void ChangeSize(int NewColCount, int NewRowCount);
    void SetExtent(Axis& axis, int Index, int Value);
    void ResetExtents(Axis& axis, int Value);
    void SetFirst(Axis& axis, int Value);
    void CheckCell(int ACol, int ARow) const;
    void MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    void ClampInView(TGridCoord Coord);
    void SelectionMoved(const TGridRect& OldSel);
    void MoveExtent(Axis& axis, int FromIndex, int ToIndex);
    static void MoveAdjust(int& Value, int FromIndex, int ToIndex);
    void HideEdit();
    bool IsActiveControl();

    // Painting helpers.
    void DrawFixedEdge(const TRect& r);
    void PaintLines(const TGridDrawInfo& info);
    void DrawSizingLine();

    // Mouse helpers.
    void TimedScroll(int dx, int dy);
    void ScrollTimer();
    void UpdateMoveTarget(int X, int Y);
    void SelectTo(int X, int Y);

    // Scrolling.
    void UpdateScrollRange();
    void UpdateScrollPos();
    void ScrollMessage(bool horizontal, int code, int pos);
    int ScrollBarCode(bool horizontal) const;

    Axis horz_;
    Axis vert_;
    int gridLineWidth_ = 1;
    TGridOptions options_;
    bool defaultDrawing_ = true;
    TGridDrawingStyle drawingStyle_ = gdsThemed;
    TColor gradientStart_ = clWhite;
    TColor gradientEnd_ = clBtnFace;
    TScrollStyle scrollBars_ = ssBoth;
    TBorderStyle borderStyle_ = bsSingle;
    TColor fixedColor_ = clBtnFace;
    TBiDiMode biDiMode_ = bdLeftToRight;

    TGridCoord current_;
    TGridCoord anchor_;

    bool editorMode_ = false;
    TInplaceEdit* inplaceEdit_ = nullptr;
    int inplaceCol_ = -1;
    int inplaceRow_ = -1;

    // Sizing and moving in progress.
    int sizingIndex_ = 0;
    int sizingPos_ = 0;
    int sizingOfs_ = 0;
    bool sizingLineShown_ = false;
    int moveIndex_ = 0;
    int movePos_ = 0;
    POINT lastMouse_{};
    bool scrollTimerOn_ = false;
    bool updatingScrollBars_ = false;
};

// ---------------------------------------------------------------------------
// The grid's in-place editor: a multi-line edit owned and parented by the
// grid, placed over the current cell. Keys that move between cells go back
// to the grid; Enter commits and Escape cancels through the grid. The grid
// gives it the cell's edit mask and length limit.
class TInplaceEdit : public TCustomMaskEdit {
public:
    explicit TInplaceEdit(TComponent* AOwner);

    TCustomGrid* Grid() const { return grid_; }
    // Places the editor over a cell rectangle and shows it; an empty rectangle hides it.
    void Move(const TRect& Loc);
    void UpdateLoc(const TRect& Loc);
    bool PosEqual(const TRect& Rect);
    void Hide();
    bool Visible();
    void Deselect();
    void SetFocus() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    // The editor's window moved: set the text's formatting rectangle.
    virtual void BoundsChanged();
    // Loads the text, mask and length limit of the grid's current cell.
    virtual void UpdateContents();

private:
    friend class TCustomGrid;
    TCustomGrid* grid_ = nullptr;
};

// ---------------------------------------------------------------------------
// A grid whose cells the application paints.
class TDrawGrid : public TCustomGrid {
public:
    explicit TDrawGrid(TComponent* AOwner) : TCustomGrid(AOwner) {}

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    TGetEditEvent OnGetEditMask;
    TGetEditEvent OnGetEditText;
    TSetEditEvent OnSetEditText;
    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TNotifyEvent OnTopLeftChanged;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    String GetEditMask(int ACol, int ARow) override;
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    void TopLeftChanged() override;
};

// ---------------------------------------------------------------------------
// A grid of texts with one object per cell.
//
// Cells are stored by row, each row only as wide as its last written cell,
// and rows only once written. Lowering ColCount or RowCount keeps what was
// stored, so cells that come back into the grid show their old contents.
class TStringGrid;

// A row or a column of a string grid as a string list: Count is ColCount (for
// a row) or RowCount (for a column); strings and objects are the cells'.
class TStringGridStrings : public TStrings {
public:
    TStringGridStrings(TStringGrid* Grid, int Index, bool IsRow) : grid_(Grid), index_(Index), isRow_(IsRow) {}

    int Count() const override;
    String Get(int index) const override;
    void Put(int index, const String& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    // Puts the string into the first empty cell; -1 when none is empty.
    int Add(const String& s) override;
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    // Empties every cell of the row or column.
    void Clear() override;
    // Copies texts and objects into the cells; cells past the source's end are emptied.
    void Assign(TPersistent* Source) override;

private:
    void CheckIndex(int index) const;
    TStringGrid* grid_ = nullptr;
    int index_ = 0;
    bool isRow_ = true;
};

class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    // Cells by storage column; any index from 0 up is accepted, also past the counts.
    String GetCells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const String& Value);
    TObject* GetObjects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, TObject* Value);
    // Live views of a row or column; assigning copies texts and objects together.
    TStrings* GetRows(int Index);
    void SetRows(int Index, TStrings* Value);
    TStrings* GetCols(int Index);
    void SetCols(int Index, TStrings* Value);

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
    // Exchanges the stored texts and objects of two rows (any index from 0
    // up) and nothing else: no event, no repaint, no size. For descendants
    // that reorder many rows in one pass.
    void SwapStoredRows(int ARow1, int ARow2);
    // The stored text itself, no copy; valid until the storage next changes.
    const String& StoredText(int ACol, int ARow) const;
    // Moves the stored text out, leaving the cell empty: no event, no repaint.
    String TakeStoredText(int ACol, int ARow);
    // SetCells for a text the storage takes over, without a copy.
    void PutStoredText(int ACol, int ARow, String&& Value);

private:
    struct CellRow {
        std::vector<String> texts;
        std::vector<TObject*> objects;  // empty until the row holds an object
    };
    static void CheckIndex(int ACol, int ARow);
    CellRow& EnsureRow(int ARow);
    void CellChanged(int ACol, int ARow);

    std::vector<CellRow> rows_;
    std::map<int, TOwned<TStringGridStrings>> rowViews_;
    std::map<int, TOwned<TStringGridStrings>> colViews_;
};
