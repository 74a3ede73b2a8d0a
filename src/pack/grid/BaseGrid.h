// BaseGrid: the storage layer under the data grid. TBaseGrid keeps a
// TCellProperties object in the object slot of every cell that needs
// per-cell settings, builds merged blocks on those objects and sends every
// read and write of a covered cell to its block's base cell.
//
// Column indexes of the cell-level interface are storage ("real") columns;
// TBaseGrid hides no columns, so its RealColIndex and DisplColIndex are the
// identity, and TAdvStringGrid overrides them.
//
// Merged-block encoding, in the properties of each cell:
//   plain cell            IsBaseCell true,  spans -1, -1
//   base of a W x H block IsBaseCell true,  spans W-1, H-1
//   covered cell          IsBaseCell false, spans = its offset from the base
#pragma once

#include "Grids.h"
#include "StdCtrls.h"

class TBaseGrid;
class TAdvGridUndoRedo;

// ---------------------------------------------------------------------------
// Types.
enum TVAlignment { vtaTop, vtaCenter, vtaBottom };
enum TCellGradientDirection { GradientVertical, GradientHorizontal };
enum TColumnCalcType { acNONE, acSUM, acAVG, acCOUNT, acMIN, acMAX, acSPREAD, acCUSTOM, acDISTINCT, acSTDDEV };
// The in-place editor kinds a cell can ask for.
enum TEditorType {
    edNormal, edSpinEdit, edComboEdit, edComboList, edEditBtn, edCheckBox, edDateEdit, edDateEditUpDown,
    edTimeEdit, edButton, edDataCheckBox, edNumeric, edPositiveNumeric, edFloat, edCapital, edMixedCase,
    edPassword, edUnitEditBtn, edLowerCase, edUpperCase, edFloatSpinEdit, edTimeSpinEdit, edDateSpinEdit,
    edNumericEditBtn, edFloatEditBtn, edCustom, edRichEdit, edNone, edDateTimeEdit, edValidChars,
    edTrackbarDropDown, edMemoDropDown, edCalculatorDropDown, edTimePickerDropDown, edDetailDropDown,
    edGridDropDown, edColorPickerDropDown, edImagePickerDropDown, edAdvGridDropDown, edControlDropDown,
    edPositiveFloat, edNumericUnitEditBtn, edFloatUnitEditBtn, edMaskEditBtn
};
enum TGridSelectionStyle { ssDefault, ssVista, ssWin7, ssOffice2007 };
enum THoverRowCell { hcNormal, hcFixed, hcSelected };
using THoverRowCells = Set<THoverRowCell>;

using TGetDisplTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;
using TGetDisplWideTextEvent = std::function<void(TObject* Sender, int ACol, int ARow, String& Value)>;

// ---------------------------------------------------------------------------
// The settings of one cell, owned by the grid through the cell's object slot.
class TCellProperties : public TPersistent {
public:
    TCellProperties(TBaseGrid* AOwner, int ACol, int ARow);
    // Frees the cell's graphic when the cell owns it (FreeCellGraphic).
    ~TCellProperties() override;

    // Copies another cell's properties, spans and flags included; not the
    // gradient, calculation or graphic of the cell, nor its grid.
    void Assign(TPersistent* Source) override;

    // The base cell of the block (c, r) belongs to when these are (c, r)'s
    // properties; (c, r) itself for a base or plain cell.
    TPoint GetBaseCell(int c, int r) const;

    TBaseGrid* OwnerGrid() const { return FOwnerGrid; }
    int GetOwnerCol() const { return FOwnerCol; }
    void SetOwnerCol(int Value) { FOwnerCol = Value; }
    int GetOwnerRow() const { return FOwnerRow; }
    void SetOwnerRow(int Value) { FOwnerRow = Value; }

    // Merged blocks.
    bool GetIsBaseCell() const { return FIsBaseCell; }
    void SetIsBaseCell(bool Value) { FIsBaseCell = Value; }
    int GetCellSpanX() const { return FCellSpanX; }
    void SetCellSpanX(int Value) { FCellSpanX = Value; }
    // Reads 0 while the row belongs to a contracted node.
    int GetCellSpanY() const { return FMergeCollaps ? 0 : FCellSpanY; }
    void SetCellSpanY(int Value) { FCellSpanY = Value; }
    bool GetMergeCollaps() const { return FMergeCollaps; }
    void SetMergeCollaps(bool Value) { FMergeCollaps = Value; }

    // Look. The colour, vertical alignment and word-wrap setters repaint the cell.
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { FAlignment = Value; }
    TVAlignment GetVAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value);
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TBrushStyle GetBrushStyle() const { return FBrushStyle; }
    void SetBrushStyle(TBrushStyle Value) { FBrushStyle = Value; }
    TColor GetBrushColor() const { return FBrushColor; }
    void SetBrushColor(TColor Value);
    TColor GetBrushColorTo() const { return FBrushColorTo; }
    void SetBrushColorTo(TColor Value);
    TCellGradientDirection GetGradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TCellGradientDirection Value) { FGradientDirection = Value; }
    const String& GetFontName() const { return FFontName; }
    void SetFontName(const String& Value) { FFontName = Value; }
    int GetFontSize() const { return FFontSize; }
    void SetFontSize(int Value) { FFontSize = Value; }
    TColor GetFontColor() const { return FFontColor; }
    void SetFontColor(TColor Value) { FFontColor = Value; }
    TFontStyles GetFontStyle() const { return FFontStyle; }
    void SetFontStyle(TFontStyles Value) { FFontStyle = Value; }
    int GetBorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { FBorderWidth = Value; }
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { FBorderColor = Value; }

    // Content and behaviour.
    // An integer tag for the application.
    intptr_t GetCellObject() const { return FObject; }
    void SetCellObject(intptr_t Value) { FObject = Value; }
    // The cell's graphic, owned by the cell: it goes with these properties.
    TObject* GetGraphicObject() const { return FGraphicObject; }
    void SetGraphicObject(TObject* Value) { FGraphicObject = Value; }
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    TEditorType GetEditor() const { return FEditor; }
    void SetEditor(TEditorType Value) { FEditor = Value; }
    int GetNodeLevel() const { return FNodeLevel; }
    void SetNodeLevel(int Value) { FNodeLevel = Value; }
    TControl* GetControl() const { return FControl; }
    void SetControl(TControl* Value) { FControl = Value; }
    TColumnCalcType GetCalcType() const { return FCalcType; }
    void SetCalcType(TColumnCalcType Value) { FCalcType = Value; }
    TObject* GetCalcObject() const { return FCalcObject; }
    void SetCalcObject(TObject* Value) { FCalcObject = Value; }

private:
    friend class TBaseGrid;
    void Repaint();

    TBaseGrid* FOwnerGrid = nullptr;
    int FOwnerCol = 0;
    int FOwnerRow = 0;
    intptr_t FObject = 0;
    TObject* FGraphicObject = nullptr;
    TBrushStyle FBrushStyle = bsSolid;
    TColor FBrushColor = clNone;
    TColor FBrushColorTo = clNone;
    int FFontSize = 0;
    TColor FFontColor = clNone;
    TFontStyles FFontStyle;
    int FCellSpanY = -1;
    int FCellSpanX = -1;
    int FBorderWidth = 0;
    TColor FBorderColor = 0;
    TAlignment FAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    // The paint pass that last drew the block this cell is the base of.
    int FPaintID = 0;
    bool FWordWrap = true;
    bool FIsBaseCell = true;
    TColumnCalcType FCalcType = acNONE;
    TObject* FCalcObject = nullptr;
    int FNodeLevel = 0;
    TEditorType FEditor = edNormal;
    String FFontName;
    bool FReadOnly = false;
    TCellGradientDirection FGradientDirection = GradientVertical;
    TControl* FControl = nullptr;
    bool FMergeCollaps = false;
};

// ---------------------------------------------------------------------------
class TBaseGrid : public TStringGrid {
public:
    explicit TBaseGrid(TComponent* AOwner);
    ~TBaseGrid() override;
    // Frees every cell's properties while the grid still answers its virtuals.
    void BeforeDestruction() override;

    // --- cell text: the grid's reader and writer, through the base cell
    // The base cell's text, through the display-text hooks for rows below
    // the normal row count.
    String GetCellText(int ACol, int ARow);
    // Stores into the base cell of a merged block; repaints the cell.
    void SetCellText(int ACol, int ARow, const String& Value);
    // Storage as it is: no base cell, no hooks, no notifications.
    String GetRawCell(int ACol, int ARow) const { return GetCells(ACol, ARow); }
    void SetRawCell(int ACol, int ARow, const String& Value) { SetCells(ACol, ARow, Value); }
    TObject* GetRawObject(int ACol, int ARow) const { return GetObjects(ACol, ARow); }
    // Does not free the object it replaces.
    void SetRawObject(int ACol, int ARow, TObject* Obj) { SetObjects(ACol, ARow, Obj); }
    // Empties the text and drops the object reference without freeing it.
    void ClearCell(int ACol, int ARow);
    void ClearColumnCells(int ACol);
    void ClearRowCells(int ARow);

    // --- cell properties
    // A cell inside the columns and at a row >= 0 whose slot holds properties.
    bool HasCellProperties(int ACol, int ARow) const;
    // The cell's properties, created with the grid's defaults on first need;
    // a cell outside the grid raises EInvalidGridOperation.
    TCellProperties* GetCellProperties(int ACol, int ARow);
    // Frees the present properties and stores Value; a graphic Value took
    // over from them stays with Value.
    void SetCellProperties(int ACol, int ARow, TCellProperties* Value);
    // Properties go with the graphic the cell owns.
    void FreeCellProperties(int ACol, int ARow);
    // Frees the properties of every cell of the rectangle; nothing while no
    // cell ever had properties.
    void FreeCellPropertiesRange(int ACol1, int ARow1, int ACol2, int ARow2);
    intptr_t GetCellObject(int ACol, int ARow) const;
    void SetCellObject(int ACol, int ARow, intptr_t Value);
    TObject* GetCellGraphicObject(int ACol, int ARow) const;
    void SetCellGraphicObject(int ACol, int ARow, TObject* Graphic);

    // --- merged cells
    // Makes the spanx x spany block at (c, r) one cell. A block that does not
    // fit in the grid is ignored; blocks it overlaps are split first.
    virtual void MergeCells(int c, int r, int spanx, int spany);
    // Makes every cell of the block holding (c, r) a plain cell again.
    virtual void SplitCells(int c, int r);
    TPoint BaseCell(int ACol, int ARow) const;
    // True with the cell itself for a plain or base cell; false with the
    // base cell for a covered one.
    bool ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const;
    bool IsBaseCell(int ACol, int ARow) const;
    // Part of a block of more than one cell.
    bool IsMergedCell(int ACol, int ARow) const;
    bool IsMergedNonBaseCell(int ACol, int ARow) const;
    bool IsXMergedCell(int ACol, int ARow) const;
    bool IsYMergedCell(int ACol, int ARow) const;
    // The block's extra columns and rows; (0, 0) outside a block.
    TPoint CellSpan(int ACol, int ARow) const;
    // How far the block reaches right and down from this cell.
    TPoint CellExt(int ACol, int ARow) const;
    // The block as cell coordinates: Left/Top its base, Right/Bottom its last cell.
    TRect FullCell(int c, int r) const;
    int MinRowSpan(int ARow) const;
    int MaxRowSpan(int ARow) const;
    // The vertical merges met in both rows agree, and there is at least one.
    bool RowSpanIdentical(int ARow1, int ARow2) const;
    // The horizontal merges of both columns agree, and there is at least one.
    bool ColSpanIdentical(int ACol1, int ACol2) const;
    // Moves the current cell onto the base cell of the block it lies in.
    void AlignToBaseCell();

    // --- geometry (display columns)
    // A cell's client rectangle; a merged cell's is its whole block's.
    TRect CellRect(int c, int r);
    // Width and height of the cell or of its whole block.
    TPoint CellSize(int c, int r);
    // Invalidates the cell's rectangle, a merged cell's whole block.
    void RepaintCell(int c, int r);

    // --- drawing (display columns)
    // Draws the cell, a merged cell as its whole block, content included.
    void PaintCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);
    // Only the background and lines, on ARect as given; a selected cell
    // takes the active-row colours. For painting a header cell's look elsewhere.
    void PaintCellExt(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState);

    // --- index mapping and extent
    virtual int RealColIndex(int ACol) const { return ACol; }
    virtual int DisplColIndex(int ACol) const { return ACol; }
    // Every column, hidden ones included.
    virtual int TotalColCount() const { return GetColCount(); }

    // --- properties
    // The grid's own drawing switch; the class library's stays off.
    bool GetDefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value) { FDefaultDrawing = Value; }
    // The grid draws its own lines; the class library's line width stays 0.
    int GetGridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TColor GetGridLineColor() const { return FGridLineColor; }
    void SetGridLineColor(TColor Value);
    TColor GetGridFixedLineColor() const { return FGridFixedLineColor; }
    void SetGridFixedLineColor(TColor Value);
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value) { FWordWrap = Value; }
    // The active row and the selection style repaint when they change.
    bool GetActiveRowShow() const { return FActiveRowShow; }
    void SetActiveRowShow(bool Value) { StoreAndRepaint(FActiveRowShow, Value); }
    TColor GetActiveRowColor() const { return FActiveRowColor; }
    void SetActiveRowColor(TColor Value) { StoreAndRepaint(FActiveRowColor, Value); }
    TColor GetActiveRowColorTo() const { return FActiveRowColorTo; }
    void SetActiveRowColorTo(TColor Value) { StoreAndRepaint(FActiveRowColorTo, Value); }
    TColor GetActiveRowMirrorColor() const { return FActiveRowMirrorColor; }
    void SetActiveRowMirrorColor(TColor Value) { StoreAndRepaint(FActiveRowMirrorColor, Value); }
    TColor GetActiveRowMirrorColorTo() const { return FActiveRowMirrorColorTo; }
    void SetActiveRowMirrorColorTo(TColor Value) { StoreAndRepaint(FActiveRowMirrorColorTo, Value); }
    TGridSelectionStyle GetSelectionStyle() const { return FSelectionStyle; }
    void SetSelectionStyle(TGridSelectionStyle Value) { StoreAndRepaint(FSelectionStyle, Value); }
    bool GetHoverRow() const { return FHoverRow; }
    void SetHoverRow(bool Value) { FHoverRow = Value; }
    THoverRowCells GetHoverRowCells() const { return FHoverRowCells; }
    void SetHoverRowCells(THoverRowCells Value) { FHoverRowCells = Value; }
    TColor GetHoverRowColor() const { return FHoverRowColor; }
    void SetHoverRowColor(TColor Value) { FHoverRowColor = Value; }
    TColor GetHoverRowColorTo() const { return FHoverRowColorTo; }
    void SetHoverRowColorTo(TColor Value) { FHoverRowColorTo = Value; }

    // --- undo: the history that edits of cells are recorded into; the grid
    // lets go of it when it is freed, and it of the grid
    TAdvGridUndoRedo* GetUndoRedo() const { return FUndoRedo; }
    void SetUndoRedo(TAdvGridUndoRedo* Value);

    // --- events
    TGetDisplTextEvent OnGetDisplText;
    TGetDisplWideTextEvent OnGetDisplWideText;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // --- hooks for the data grid
    // A true answer makes drawing treat the cell as fixed.
    virtual bool IsFixedCell(int ACol, int ARow) { return false; }
    virtual int GetRowNodeIndent(int ARow) { return 0; }
    virtual bool HasNodes() { return false; }
    // A write to the last row while the floating footer holds it.
    virtual void LastRowChanged() {}
    virtual void GetDisplText(int ACol, int ARow, String& Value);
    virtual void GetDisplWideText(int ACol, int ARow, String& Value);
    // The look a cell starts from when its properties are created.
    virtual void GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo,
                                 TColor& MirrorColor, TColor& MirrorColorTo, TAlignment& HAlign,
                                 TVAlignment& VAlign, bool& WordWrap, TCellGradientDirection& GradientDirection);
    // A cell of a merged block was written (through its base cell).
    virtual void CellWritten(int ACol, int ARow) {}
    virtual bool HasCellBorderEvent() { return false; }
    virtual bool UsesVCLStyles() { return false; }
    // The current cell and selection that painting shows; the data grid
    // answers for a selection it holds outside the class library's.
    virtual TGridCoord ShownCurrentCell() const { return {GetCol(), GetRow()}; }
    virtual TGridRect ShownSelection() const { return GetSelection(); }

    // --- drawing
    // The cell's look: brush colour, gradient and mirror colours, font and
    // layout. The outputs arrive holding the grid's plain look (the fixed
    // colour for fixed cells, the highlight for highlighted ones), which the
    // base grid keeps.
    virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                     bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                     TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                     bool& WW, TCellGradientDirection& GD) {}
    // What lies inside the lines: the base grid centres the cell's text on one line.
    virtual void DrawCellContent(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    // Everything the grid paints of one cell. Full widens ARect to the
    // merged block and draws the content; without it only background and
    // lines go on ARect.
    void DrawGridCell(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState, bool Full);
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    // Each pass gets its own number, so that a merged block is drawn once per pass.
    void Paint() override;

    // --- keys, wheel, view and selection: merged blocks are stepped over
    // and moves end on base cells
    virtual void HandleKeyDown(Word& Key, TShiftState Shift);
    virtual bool HandleWheelDown(TShiftState Shift, POINT MousePos);
    virtual bool HandleWheelUp(TShiftState Shift, POINT MousePos);
    virtual void HandleTopLeftChanged();
    void KeyDown(Word& Key, TShiftState Shift) override { HandleKeyDown(Key, Shift); }
    bool DoMouseWheelDown(TShiftState Shift, POINT MousePos) override { return HandleWheelDown(Shift, MousePos); }
    bool DoMouseWheelUp(TShiftState Shift, POINT MousePos) override { return HandleWheelUp(Shift, MousePos); }
    void TopLeftChanged() override { HandleTopLeftChanged(); }
    bool SelectCell(int ACol, int ARow) override;
    // Display-text hooks follow the row count.
    void SizeChanged(int OldColCount, int OldRowCount) override;

    // The cell's rectangle from the column widths and row heights, display
    // indexes, not clipped to the client.
    TRect CalcCellBounds(int ACol, int ARow);
    TCellProperties* CreateCellProperties(int c, int r);
    // Properties only for a cell inside the columns; null otherwise.
    TCellProperties* PropertiesOf(int ACol, int ARow) const;
    bool Destroying() const { return ComponentState().Contains(csDestroying); }

    // --- state the data grid shares
    bool FDefaultDrawing = false;
    int FGridLineWidth = 1;
    TColor FGridLineColor = 0xC0C0C0;
    TColor FGridFixedLineColor = 0x808080;
    // Raised while the floating footer occupies the last row.
    bool FHideLastRow = false;
    // Display-text hooks apply to rows below it.
    int FNormalRowCount = 0;
    bool FWordWrap = true;
    bool FActiveRowShow = false;
    TColor FActiveRowColor = clInfoBk;
    TColor FActiveRowColorTo = clNone;
    TColor FActiveRowMirrorColor = clNone;
    TColor FActiveRowMirrorColorTo = clNone;
    TGridSelectionStyle FSelectionStyle = ssDefault;
    int FHoverRowIdx = -1;
    bool FHoverRow = false;
    THoverRowCells FHoverRowCells{hcNormal, hcSelected};
    TColor FHoverRowColor = clInfoBk;
    TColor FHoverRowColorTo = clNone;
    // Some cell has had properties since the whole grid was last cleared.
    bool FHasCellProps = false;
    // Blocks merged minus blocks split.
    int FMergeCount = 0;
    // The number of the paint pass under way.
    int FPaintID = 1;
    // The selection is drawn.
    bool FShowSel = true;
    // Raised while a plain cell is written, for the in-place editor.
    bool FEditCellSet = false;

private:
    friend class TCellProperties;
    // The outputs of GetCellDefaults and GetVisualProperties besides font
    // and brush, at the values a cell starts from.
    struct TLookOutputs {
        TColor ColorTo = clNone;
        TColor MirrorColor = clNone;
        TColor MirrorColorTo = clNone;
        TAlignment HAlign = taLeftJustify;
        TVAlignment VAlign = vtaTop;
        bool WordWrap = true;
        TCellGradientDirection Direction = GradientVertical;
    };
    // Holds a flag up for the length of a scope.
    struct TRaised {
        bool& flag;
        explicit TRaised(bool& f) : flag(f) { flag = true; }
        ~TRaised() { flag = false; }
        TRaised(const TRaised&) = delete;
        TRaised& operator=(const TRaised&) = delete;
    };
    // The grid's own paint pass is under way.
    bool FInPaintPass = false;
    template <class T>
    void StoreAndRepaint(T& Field, const T& Value)
    {
        if (StoreChanged(Field, Value))
            Invalidate();
    }

    TOwned<TFont> FDefFont;
    TOwned<TBrush> FDefBrush;
    TAdvGridUndoRedo* FUndoRedo = nullptr;
};
