// The data grid's bookkeeping lists, its option objects and its settings
// objects. The grid creates them in its constructor, publishes them and wires
// their change events; the behaviour that reads them lives with the grid.
#pragma once

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include "Printers.h"

class TStringGrid;

// ===========================================================================
// Bookkeeping lists

// A list change reported with the cell the list belongs to.
using TImageChangeEvent = std::function<void(TObject* Sender, int Acol, int Arow)>;

// A list of 32-bit integers. Add, Delete and writes through SetItem report
// the change with the column and row given at creation; the positional and
// the sorted Insert into a non-empty list stay quiet.
class TIntList : public TList {
public:
    TIntList(int Col, int Row) : col_(Col), row_(Row) {}

    Integer GetItem(int Index) const;
    void SetItem(int Index, Integer Value);
    Integer operator[](int Index) const { return GetItem(Index); }

    int Add(Integer Value);
    void Delete(int Index);
    void Insert(int Index, Integer Value);
    // Inserts into a list kept ascending, before an equal item.
    void Insert(Integer Value);
    // Deletes the first item equal to Value, if any.
    void DeleteValue(Integer Value);
    bool HasValue(Integer Value) const;

    // Binary search of an ascending list; -1 when absent.
    int SortedIndexOf(Integer Value) const;
    // Where Value belongs in an ascending list.
    int SortedPosOf(Integer Value) const;

    // The items as "1,2,3". Writing takes the comma-text rules (commas and
    // spaces separate, double quotes group); an item that is no integer
    // raises EConvertError and leaves the list as it was.
    String GetStrValue() const;
    void SetStrValue(const String& Value);

    int GetCol() const { return col_; }
    int GetRow() const { return row_; }

    TImageChangeEvent OnChange;

private:
    void Changed();
    // Binary search of an ascending list: the index of Value or -1, and the
    // last position looked at.
    int Search(Integer Value, int& LastProbe) const;

    int col_ = 0;
    int row_ = 0;
};

// The sort columns in order of precedence. An item is a column index with
// bit 31 set for a descending column.
class TSortIndexList : public TIntList {
public:
    TSortIndexList(int Col, int Row) : TIntList(Col, Row) {}

    void AddIndex(int ColumnIndex, bool Ascending);
    // Position of the column, whatever its direction; -1 when absent.
    int FindIndex(int ColumnIndex) const;
    int GetColumn(int Index) const;
    bool GetAscending(int Index) const;
    // Flips the direction of the column's first item.
    void ToggleIndex(int ColumnIndex);

    // "u2;d5": direction letter and the column's low 16 bits, per item.
    String SaveToString() const;
    // Reads that text; items shorter than two characters are skipped and a
    // malformed number reads as 0.
    void LoadFromString(const String& s);
};

// A control placed in a cell.
class TControlItem : public TObject {
public:
    TControlItem(int X, int Y, TControl* AObject) : x_(X), y_(Y), control_(AObject) {}
    int GetX() const { return x_; }
    int GetY() const { return y_; }
    TControl* GetControl() const { return control_; }

private:
    int x_ = 0;
    int y_ = 0;
    TControl* control_ = nullptr;
};

// The controls placed in cells. The list owns its items, not the controls.
class TControlList : public TList {
public:
    ~TControlList() override;

    void AddControl(int X, int Y, TControl* AObject);
    int ControlIndex(int X, int Y) const;
    // Whether one of the controls is a windowed control with this window.
    // Controls whose window does not exist yet are not asked for one.
    bool HasHandle(HWND Handle) const;
    void RemoveControl(int i);
    TControlItem* GetItem(int Index) const { return static_cast<TControlItem*>(Get(Index)); }
};

// A string list read and written line by line like a text file.
class TFileStringList : public TStringList {
public:
    void Reset();
    bool GetEof() const { return fp_ >= Count(); }
    // Reads the next line; at the end it raises EStringListError.
    void ReadLn(String& s);
    // Text for the line that WriteLn ends.
    void Write(const String& s);
    void WriteLn(const String& s);

private:
    int fp_ = 0;
    String cache_;
};

// A picture known by its file name only: the file is read whenever the
// picture is measured or drawn, and nothing is kept in memory.
class TFilePicture : public TPersistent {
public:
    void Assign(TPersistent* Source) override;

    const String& GetFilename() const { return filename_; }
    // Takes the picture's size when the file can be read; a file that cannot
    // be read keeps the size as it was.
    void SetFilename(const String& Value);
    int GetWidth() const { return width_; }
    void SetWidth(int Value) { width_ = Value; }
    int GetHeight() const { return height_; }
    void SetHeight(int Value) { height_ = Value; }

    // Stretches the file's picture into r; a missing or unreadable file
    // draws nothing.
    void DrawPicture(TCanvas* Canvas, const TRect& r);

private:
    String filename_;
    int width_ = 0;
    int height_ = 0;
};

// ===========================================================================
// Option objects

enum TAdvanceDirection { adLeftRight, adTopBottom, adLeftRightInRow, adTopBottomInCol };
enum TInsertPosition { pInsertBefore, pInsertAfter };
enum TClipboardCutAction { caClear, caRemove };
enum TClipboardPasteAction { paReplace, paInsert };
enum TCursorAdvance { caDefault, caSnake, caLoop };
enum THomeEndAction { heFirstLastColumn, heFirstLastRow, heFirstLastCell, heDefault };

// Keyboard and clipboard options.
class TNavigation : public TPersistent {
public:
    // Copies the option fields of another TNavigation without events;
    // other sources are ignored.
    void Assign(TPersistent* Source) override;

    bool GetAllowInsertRow() const { return allowInsertRow_; }
    void SetAllowInsertRow(bool Value) { allowInsertRow_ = Value; }
    bool GetAllowDeleteRow() const { return allowDeleteRow_; }
    void SetAllowDeleteRow(bool Value) { allowDeleteRow_ = Value; }
    bool GetAlwaysEdit() const { return alwaysEdit_; }
    void SetAlwaysEdit(bool Value) { alwaysEdit_ = Value; }
    bool GetAdvanceOnEnter() const { return advanceOnEnter_; }
    void SetAdvanceOnEnter(bool Value) { advanceOnEnter_ = Value; }
    bool GetAdvanceOnEnterLoop() const { return advanceOnEnterLoop_; }
    void SetAdvanceOnEnterLoop(bool Value) { advanceOnEnterLoop_ = Value; }
    bool GetAdvanceInsert() const { return advanceInsert_; }
    void SetAdvanceInsert(bool Value);
    bool GetAdvanceAutoEdit() const { return advanceAutoEdit_; }
    void SetAdvanceAutoEdit(bool Value) { advanceAutoEdit_ = Value; }
    bool GetAdvanceSkipReadOnlyCells() const { return advanceSkipReadOnlyCells_; }
    void SetAdvanceSkipReadOnlyCells(bool Value) { advanceSkipReadOnlyCells_ = Value; }
    // Turning it on turns AdvanceOnEnter on as well.
    bool GetAdvanceAuto() const { return advanceAuto_; }
    void SetAdvanceAuto(bool Value);
    TAdvanceDirection GetAdvanceDirection() const { return advanceDirection_; }
    void SetAdvanceDirection(TAdvanceDirection Value);
    TAdvanceDirection GetTabAdvanceDirection() const { return tabAdvanceDirection_; }
    void SetTabAdvanceDirection(TAdvanceDirection Value) { tabAdvanceDirection_ = Value; }
    bool GetAutoGotoWhenSorted() const { return autoGotoWhenSorted_; }
    void SetAutoGotoWhenSorted(bool Value) { autoGotoWhenSorted_ = Value; }
    bool GetAutoGotoIncremental() const { return autoGotoIncremental_; }
    void SetAutoGotoIncremental(bool Value) { autoGotoIncremental_ = Value; }
    bool GetAutoComboDropSize() const { return autoComboDropSize_; }
    void SetAutoComboDropSize(bool Value) { autoComboDropSize_ = Value; }
    bool GetAutoComboSelect() const { return autoComboSelect_; }
    void SetAutoComboSelect(bool Value) { autoComboSelect_ = Value; }
    bool GetAllowCtrlEnter() const { return allowCtrlEnter_; }
    void SetAllowCtrlEnter(bool Value) { allowCtrlEnter_ = Value; }
    bool GetAllowClipboardShortCuts() const { return allowClipboardShortCuts_; }
    void SetAllowClipboardShortCuts(bool Value) { allowClipboardShortCuts_ = Value; }
    bool GetAllowSmartClipboard() const { return allowSmartClipboard_; }
    void SetAllowSmartClipboard(bool Value) { allowSmartClipboard_ = Value; }
    bool GetAllowRTFClipboard() const { return allowRTFClipboard_; }
    void SetAllowRTFClipboard(bool Value) { allowRTFClipboard_ = Value; }
    bool GetAllowFmtClipboard() const { return allowFmtClipboard_; }
    void SetAllowFmtClipboard(bool Value) { allowFmtClipboard_ = Value; }
    bool GetAllowClipboardAlways() const { return allowClipboardAlways_; }
    void SetAllowClipboardAlways(bool Value) { allowClipboardAlways_ = Value; }
    bool GetAllowClipboardRowGrow() const { return allowClipboardRowGrow_; }
    void SetAllowClipboardRowGrow(bool Value) { allowClipboardRowGrow_ = Value; }
    bool GetAllowClipboardColGrow() const { return allowClipboardColGrow_; }
    void SetAllowClipboardColGrow(bool Value) { allowClipboardColGrow_ = Value; }
    bool GetAllowEditButtonCells() const { return allowEditButtonCells_; }
    void SetAllowEditButtonCells(bool Value) { allowEditButtonCells_ = Value; }
    bool GetAppendOnArrowDown() const { return appendOnArrowDown_; }
    void SetAppendOnArrowDown(bool Value) { appendOnArrowDown_ = Value; }
    bool GetEditSelectAll() const { return editSelectAll_; }
    void SetEditSelectAll(bool Value) { editSelectAll_ = Value; }
    bool GetComboGetUpDown() const { return comboGetUpDown_; }
    void SetComboGetUpDown(bool Value) { comboGetUpDown_ = Value; }
    bool GetCursorWalkEditor() const { return cursorWalkEditor_; }
    void SetCursorWalkEditor(bool Value) { cursorWalkEditor_ = Value; }
    bool GetCursorWalkAlwaysEdit() const { return cursorWalkAlwaysEdit_; }
    void SetCursorWalkAlwaysEdit(bool Value) { cursorWalkAlwaysEdit_ = Value; }
    bool GetCursorMoveRows() const { return cursorMoveRows_; }
    void SetCursorMoveRows(bool Value) { cursorMoveRows_ = Value; }
    bool GetLeftRightRowSelect() const { return leftRightRowSelect_; }
    void SetLeftRightRowSelect(bool Value) { leftRightRowSelect_ = Value; }
    bool GetCopyHTMLTagsToClipboard() const { return copyHTMLTagsToClipboard_; }
    void SetCopyHTMLTagsToClipboard(bool Value) { copyHTMLTagsToClipboard_ = Value; }
    bool GetMoveRowOnSort() const { return moveRowOnSort_; }
    void SetMoveRowOnSort(bool Value) { moveRowOnSort_ = Value; }
    bool GetKeepScrollOnSort() const { return keepScrollOnSort_; }
    void SetKeepScrollOnSort(bool Value) { keepScrollOnSort_ = Value; }
    bool GetMoveScrollOnly() const { return moveScrollOnly_; }
    void SetMoveScrollOnly(bool Value) { moveScrollOnly_ = Value; }
    bool GetImproveMaskSel() const { return improveMaskSel_; }
    void SetImproveMaskSel(bool Value) { improveMaskSel_ = Value; }
    bool GetKeepHorizScroll() const { return keepHorizScroll_; }
    void SetKeepHorizScroll(bool Value) { keepHorizScroll_ = Value; }
    bool GetLineFeedOnEnter() const { return lineFeedOnEnter_; }
    void SetLineFeedOnEnter(bool Value) { lineFeedOnEnter_ = Value; }
    bool GetSkipFixedCells() const { return skipFixedCells_; }
    void SetSkipFixedCells(bool Value) { skipFixedCells_ = Value; }
    bool GetSkipDisabledRows() const { return skipDisabledRows_; }
    void SetSkipDisabledRows(bool Value) { skipDisabledRows_ = Value; }
    bool GetTabToNextAtEnd() const { return tabToNextAtEnd_; }
    void SetTabToNextAtEnd(bool Value) { tabToNextAtEnd_ = Value; }
    TInsertPosition GetInsertPosition() const { return insertPosition_; }
    void SetInsertPosition(TInsertPosition Value) { insertPosition_ = Value; }
    TClipboardCutAction GetClipboardCutAction() const { return clipboardCutAction_; }
    void SetClipboardCutAction(TClipboardCutAction Value) { clipboardCutAction_ = Value; }
    TClipboardPasteAction GetClipboardPasteAction() const { return clipboardPasteAction_; }
    void SetClipboardPasteAction(TClipboardPasteAction Value) { clipboardPasteAction_ = Value; }
    TCursorAdvance GetCursorAdvance() const { return cursorAdvance_; }
    void SetCursorAdvance(TCursorAdvance Value) { cursorAdvance_ = Value; }
    THomeEndAction GetHomeEndKey() const { return homeEndKey_; }
    void SetHomeEndKey(THomeEndAction Value) { homeEndKey_ = Value; }

    // Fired by AdvanceDirection and AdvanceInsert when they change.
    TNotifyEvent OnChange;

private:
    void Changed();

    bool allowInsertRow_ = false;
    bool allowDeleteRow_ = false;
    bool alwaysEdit_ = false;
    bool advanceOnEnter_ = false;
    bool advanceOnEnterLoop_ = true;
    bool advanceInsert_ = false;
    bool advanceAutoEdit_ = true;
    bool advanceSkipReadOnlyCells_ = true;
    bool advanceAuto_ = false;
    TAdvanceDirection advanceDirection_ = adLeftRight;
    TAdvanceDirection tabAdvanceDirection_ = adLeftRight;
    bool autoGotoWhenSorted_ = false;
    bool autoGotoIncremental_ = false;
    bool autoComboDropSize_ = false;
    bool autoComboSelect_ = true;
    bool allowCtrlEnter_ = true;
    bool allowClipboardShortCuts_ = false;
    bool allowSmartClipboard_ = false;
    bool allowRTFClipboard_ = false;
    bool allowFmtClipboard_ = false;
    bool allowClipboardAlways_ = false;
    bool allowClipboardRowGrow_ = true;
    bool allowClipboardColGrow_ = true;
    bool allowEditButtonCells_ = false;
    bool appendOnArrowDown_ = false;
    bool editSelectAll_ = true;
    bool comboGetUpDown_ = true;
    bool cursorWalkEditor_ = false;
    bool cursorWalkAlwaysEdit_ = true;
    bool cursorMoveRows_ = false;
    bool leftRightRowSelect_ = true;
    bool copyHTMLTagsToClipboard_ = true;
    bool moveRowOnSort_ = false;
    bool keepScrollOnSort_ = false;
    bool moveScrollOnly_ = false;
    bool improveMaskSel_ = false;
    bool keepHorizScroll_ = false;
    bool lineFeedOnEnter_ = false;
    bool skipFixedCells_ = true;
    bool skipDisabledRows_ = true;
    bool tabToNextAtEnd_ = false;
    TInsertPosition insertPosition_ = pInsertBefore;
    TClipboardCutAction clipboardCutAction_ = caClear;
    TClipboardPasteAction clipboardPasteAction_ = paReplace;
    TCursorAdvance cursorAdvance_ = caDefault;
    THomeEndAction homeEndKey_ = heFirstLastColumn;
};

enum TGridFixedCellEdit { fceNone, fceDblClick, fceLeftClick, fceRightClick };
enum TGridFixedCellEditor { fceEdit, fceComboEdit, fceComboList };
enum TWheelAction { waMoveSelection, waScroll };
enum TWheelActive { waFocus, waMouseOver };

using TIsDesigningEvent = std::function<void(TObject* Sender, bool& IsDesigning)>;

// Mouse options.
class TMouseActions : public TPersistent {
public:
    explicit TMouseActions(TComponent* AOwner);
    // Copies the option fields of another TMouseActions without events;
    // other sources are ignored.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return owner_; }

    bool GetAllColumnSize() const { return allColumnSize_; }
    void SetAllColumnSize(bool Value) { allColumnSize_ = Value; }
    bool GetAllRowSize() const { return allRowSize_; }
    void SetAllRowSize(bool Value) { allRowSize_ = Value; }
    bool GetAllSelect() const { return allSelect_; }
    void SetAllSelect(bool Value) { allSelect_ = Value; }
    bool GetAutoFocus() const { return autoFocus_; }
    void SetAutoFocus(bool Value) { autoFocus_ = Value; }
    bool GetAutoSizeColOnDblClick() const { return autoSizeColOnDblClick_; }
    void SetAutoSizeColOnDblClick(bool Value) { autoSizeColOnDblClick_ = Value; }
    bool GetCaretPositioning() const { return caretPositioning_; }
    void SetCaretPositioning(bool Value) { caretPositioning_ = Value; }
    bool GetCheckAllCheck() const { return checkAllCheck_; }
    void SetCheckAllCheck(bool Value) { checkAllCheck_ = Value; }
    bool GetColSelect() const { return colSelect_; }
    void SetColSelect(bool Value) { colSelect_ = Value; }
    bool GetDirectComboClose() const { return directComboClose_; }
    void SetDirectComboClose(bool Value) { directComboClose_ = Value; }
    bool GetDirectComboDrop() const { return directComboDrop_; }
    void SetDirectComboDrop(bool Value) { directComboDrop_ = Value; }
    bool GetDirectDateClose() const { return directDateClose_; }
    void SetDirectDateClose(bool Value) { directDateClose_ = Value; }
    bool GetDirectDateDrop() const { return directDateDrop_; }
    void SetDirectDateDrop(bool Value) { directDateDrop_ = Value; }
    bool GetDirectEdit() const { return directEdit_; }
    void SetDirectEdit(bool Value) { directEdit_ = Value; }
    // The three disjunct selections exclude one another only while the
    // owner is being designed.
    bool GetDisjunctRowSelect() const { return disjunctRowSelect_; }
    void SetDisjunctRowSelect(bool Value);
    bool GetDisjunctColSelect() const { return disjunctColSelect_; }
    void SetDisjunctColSelect(bool Value);
    bool GetDisjunctCellSelect() const { return disjunctCellSelect_; }
    void SetDisjunctCellSelect(bool Value);
    bool GetDisjunctRowSelectNoCtrl() const { return disjunctRowSelectNoCtrl_; }
    void SetDisjunctRowSelectNoCtrl(bool Value) { disjunctRowSelectNoCtrl_ = Value; }
    // Turning it on disables editing on a single click (OnDisableEdit).
    bool GetEditOnDblClickOnly() const { return editOnDblClickOnly_; }
    void SetEditOnDblClickOnly(bool Value);
    // Turning it on turns DisjunctRowSelect and CheckAllCheck on; every
    // write asks for a repaint (OnInvalidate).
    bool GetHotmailRowSelect() const { return hotmailRowSelect_; }
    void SetHotmailRowSelect(bool Value);
    bool GetMoveRowOnNodeClick() const { return moveRowOnNodeClick_; }
    void SetMoveRowOnNodeClick(bool Value) { moveRowOnNodeClick_ = Value; }
    bool GetNoAutoRangeScroll() const { return noAutoRangeScroll_; }
    void SetNoAutoRangeScroll(bool Value) { noAutoRangeScroll_ = Value; }
    bool GetNodeAllExpandContract() const { return nodeAllExpandContract_; }
    void SetNodeAllExpandContract(bool Value) { nodeAllExpandContract_ = Value; }
    bool GetNoScrollOnPartialRow() const { return noScrollOnPartialRow_; }
    void SetNoScrollOnPartialRow(bool Value) { noScrollOnPartialRow_ = Value; }
    bool GetNoScrollOnPartialCol() const { return noScrollOnPartialCol_; }
    void SetNoScrollOnPartialCol(bool Value) { noScrollOnPartialCol_ = Value; }
    bool GetPreciseCheckBoxCheck() const { return preciseCheckBoxCheck_; }
    void SetPreciseCheckBoxCheck(bool Value) { preciseCheckBoxCheck_ = Value; }
    bool GetPreciseNodeClick() const { return preciseNodeClick_; }
    void SetPreciseNodeClick(bool Value) { preciseNodeClick_ = Value; }
    bool GetRangeSelectAndEdit() const { return rangeSelectAndEdit_; }
    void SetRangeSelectAndEdit(bool Value) { rangeSelectAndEdit_ = Value; }
    bool GetRowSelect() const { return rowSelect_; }
    void SetRowSelect(bool Value) { rowSelect_ = Value; }
    bool GetRowSelectPersistent() const { return rowSelectPersistent_; }
    void SetRowSelectPersistent(bool Value) { rowSelectPersistent_ = Value; }
    bool GetSelectOnRightClick() const { return selectOnRightClick_; }
    void SetSelectOnRightClick(bool Value) { selectOnRightClick_ = Value; }
    bool GetSizeFixedCol() const { return sizeFixedCol_; }
    void SetSizeFixedCol(bool Value) { sizeFixedCol_ = Value; }
    bool GetSizeFixedRow() const { return sizeFixedRow_; }
    void SetSizeFixedRow(bool Value) { sizeFixedRow_ = Value; }
    bool GetTouchScroll() const { return touchScroll_; }
    void SetTouchScroll(bool Value) { touchScroll_ = Value; }
    int GetPartialScrollDelta() const { return partialScrollDelta_; }
    void SetPartialScrollDelta(int Value) { partialScrollDelta_ = Value; }
    // Rows moved per wheel notch; 0 leaves it to the system setting.
    int GetWheelIncrement() const { return wheelIncrement_; }
    void SetWheelIncrement(int Value) { wheelIncrement_ = Value; }
    TGridFixedCellEdit GetFixedRowsEdit() const { return fixedRowsEdit_; }
    void SetFixedRowsEdit(TGridFixedCellEdit Value) { fixedRowsEdit_ = Value; }
    TGridFixedCellEdit GetFixedColsEdit() const { return fixedColsEdit_; }
    void SetFixedColsEdit(TGridFixedCellEdit Value) { fixedColsEdit_ = Value; }
    TGridFixedCellEditor GetFixedRowsEditor() const { return fixedRowsEditor_; }
    void SetFixedRowsEditor(TGridFixedCellEditor Value) { fixedRowsEditor_ = Value; }
    TGridFixedCellEditor GetFixedColsEditor() const { return fixedColsEditor_; }
    void SetFixedColsEditor(TGridFixedCellEditor Value) { fixedColsEditor_ = Value; }
    TWheelAction GetWheelAction() const { return wheelAction_; }
    void SetWheelAction(TWheelAction Value);
    TWheelActive GetWheelActive() const { return wheelActive_; }
    void SetWheelActive(TWheelActive Value) { wheelActive_ = Value; }
    // Writing copies the lines.
    TStringList* GetFixedComboValues() const { return fixedComboValues_.get(); }
    void SetFixedComboValues(TStrings* Value) { fixedComboValues_->Assign(Value); }

    TNotifyEvent OnChange;
    TNotifyEvent OnInvalidate;
    TIsDesigningEvent OnIsDesigning;
    TNotifyEvent OnDisableEdit;

private:
    bool IsDesigning();
    void Changed();

    TComponent* owner_ = nullptr;
    bool allColumnSize_ = false;
    bool allRowSize_ = false;
    bool allSelect_ = false;
    bool autoFocus_ = false;
    bool autoSizeColOnDblClick_ = true;
    bool caretPositioning_ = false;
    bool checkAllCheck_ = false;
    bool colSelect_ = false;
    bool directComboClose_ = false;
    bool directComboDrop_ = false;
    bool directDateClose_ = false;
    bool directDateDrop_ = false;
    bool directEdit_ = false;
    bool disjunctRowSelect_ = false;
    bool disjunctColSelect_ = false;
    bool disjunctCellSelect_ = false;
    bool disjunctRowSelectNoCtrl_ = false;
    bool editOnDblClickOnly_ = false;
    bool hotmailRowSelect_ = false;
    bool moveRowOnNodeClick_ = false;
    bool noAutoRangeScroll_ = false;
    bool nodeAllExpandContract_ = false;
    bool noScrollOnPartialRow_ = false;
    bool noScrollOnPartialCol_ = false;
    bool preciseCheckBoxCheck_ = false;
    bool preciseNodeClick_ = true;
    bool rangeSelectAndEdit_ = false;
    bool rowSelect_ = false;
    bool rowSelectPersistent_ = false;
    bool selectOnRightClick_ = false;
    bool sizeFixedCol_ = false;
    bool sizeFixedRow_ = false;
    bool touchScroll_ = false;
    int partialScrollDelta_ = 0;
    int wheelIncrement_ = 0;
    TGridFixedCellEdit fixedRowsEdit_ = fceNone;
    TGridFixedCellEdit fixedColsEdit_ = fceNone;
    TGridFixedCellEditor fixedRowsEditor_ = fceEdit;
    TGridFixedCellEditor fixedColsEditor_ = fceEdit;
    TWheelAction wheelAction_ = waMoveSelection;
    TWheelActive wheelActive_ = waFocus;
    TOwned<TStringList> fixedComboValues_;
};

enum THighlightType { hMatchingText, hFullCell };
enum TSearchDirection { sdTopBottom, sdLeftRight };

// Settings of the search bar under the grid.
class TSearchFooter : public TPersistent {
public:
    // InitDesign: the grid was just dropped in the designer, and the
    // captions and hints take their English texts.
    TSearchFooter(TComponent* AOwner, bool InitDesign);
    // Copies the settings of another TSearchFooter without OnChange; other
    // sources are ignored.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return owner_; }

    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    TColor GetColorTo() const { return colorTo_; }
    void SetColorTo(TColor Value);
    // Writing copies the font.
    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* Value);
    bool GetVisible() const { return visible_; }
    void SetVisible(bool Value);
    // Writing forgets the last search text.
    bool GetAutoSearch() const { return autoSearch_; }
    void SetAutoSearch(bool Value);
    bool GetAlwaysHighLight() const { return alwaysHighLight_; }
    void SetAlwaysHighLight(bool Value) { alwaysHighLight_ = Value; }
    THighlightType GetHighLight() const { return highLight_; }
    void SetHighLight(THighlightType Value) { highLight_ = Value; }
    bool GetSearchActiveColumnOnly() const { return searchActiveColumnOnly_; }
    void SetSearchActiveColumnOnly(bool Value) { searchActiveColumnOnly_ = Value; }
    // -1: every column.
    int GetSearchColumn() const { return searchColumn_; }
    void SetSearchColumn(int Value) { searchColumn_ = Value; }
    bool GetSearchMatchStart() const { return searchMatchStart_; }
    void SetSearchMatchStart(bool Value) { searchMatchStart_ = Value; }
    bool GetSearchFixedCells() const { return searchFixedCells_; }
    void SetSearchFixedCells(bool Value) { searchFixedCells_ = Value; }
    bool GetSearchHiddenRows() const { return searchHiddenRows_; }
    void SetSearchHiddenRows(bool Value) { searchHiddenRows_ = Value; }
    TSearchDirection GetSearchDirection() const { return searchDirection_; }
    void SetSearchDirection(TSearchDirection Value) { searchDirection_ = Value; }
    bool GetShowClose() const { return showClose_; }
    void SetShowClose(bool Value);
    bool GetShowFindNext() const { return showFindNext_; }
    void SetShowFindNext(bool Value);
    bool GetShowFindPrev() const { return showFindPrev_; }
    void SetShowFindPrev(bool Value);
    bool GetShowHighLight() const { return showHighLight_; }
    void SetShowHighLight(bool Value);
    bool GetShowMatchCase() const { return showMatchCase_; }
    void SetShowMatchCase(bool Value);
    const String& GetFindNextCaption() const { return findNextCaption_; }
    void SetFindNextCaption(const String& Value);
    const String& GetFindPrevCaption() const { return findPrevCaption_; }
    void SetFindPrevCaption(const String& Value);
    const String& GetHighLightCaption() const { return highLightCaption_; }
    void SetHighLightCaption(const String& Value);
    const String& GetMatchCaseCaption() const { return matchCaseCaption_; }
    void SetMatchCaseCaption(const String& Value);
    const String& GetHintClose() const { return hintClose_; }
    void SetHintClose(const String& Value);
    const String& GetHintFindNext() const { return hintFindNext_; }
    void SetHintFindNext(const String& Value);
    const String& GetHintFindPrev() const { return hintFindPrev_; }
    void SetHintFindPrev(const String& Value);
    const String& GetHintHighlight() const { return hintHighlight_; }
    void SetHintHighlight(const String& Value);
    bool GetAutoThemeAdapt() const { return autoThemeAdapt_; }
    void SetAutoThemeAdapt(bool Value);

    // The text the incremental search last looked for.
    const String& GetLastSearch() const { return lastSearch_; }
    void SetLastSearch(const String& Value) { lastSearch_ = Value; }

    TNotifyEvent OnChange;

private:
    void Changed();
    void StoreSwitch(bool& field, bool Value);
    void StoreText(String& field, const String& Value);

    TComponent* owner_ = nullptr;
    TColor color_ = clWhite;
    TColor colorTo_ = clBtnFace;
    TOwned<TFont> font_;
    bool visible_ = false;
    bool autoSearch_ = true;
    bool alwaysHighLight_ = false;
    THighlightType highLight_ = hMatchingText;
    bool searchActiveColumnOnly_ = false;
    int searchColumn_ = -1;
    bool searchMatchStart_ = false;
    bool searchFixedCells_ = false;
    bool searchHiddenRows_ = false;
    TSearchDirection searchDirection_ = sdTopBottom;
    bool showClose_ = true;
    bool showFindNext_ = true;
    bool showFindPrev_ = true;
    bool showHighLight_ = true;
    bool showMatchCase_ = true;
    String findNextCaption_;
    String findPrevCaption_;
    String highLightCaption_;
    String matchCaseCaption_;
    String hintClose_;
    String hintFindNext_;
    String hintFindPrev_;
    String hintHighlight_;
    bool autoThemeAdapt_ = false;
    String lastSearch_;
};

// Alternating colours of the normal rows.
class TBands : public TPersistent {
public:
    // Copies the settings of another TBands without OnChange; other sources
    // are ignored.
    void Assign(TPersistent* Source) override;

    bool GetActive() const { return active_; }
    void SetActive(bool Value);
    TColor GetPrimaryColor() const { return primaryColor_; }
    void SetPrimaryColor(TColor Value);
    int GetPrimaryLength() const { return primaryLength_; }
    void SetPrimaryLength(int Value);
    TColor GetSecondaryColor() const { return secondaryColor_; }
    void SetSecondaryColor(TColor Value);
    int GetSecondaryLength() const { return secondaryLength_; }
    void SetSecondaryLength(int Value);
    bool GetPrint() const { return print_; }
    void SetPrint(bool Value) { print_ = Value; }
    int GetTotalLength() const { return totalLength_; }

    // The band colour of normal row Row: PrimaryLength rows of the primary
    // colour, then SecondaryLength rows of the secondary one, counted from
    // the first row below the FixedRows fixed rows.
    TColor RowColor(int Row, int FixedRows) const;

    // Colour and length changes fire it only while the bands are active.
    TNotifyEvent OnChange;

private:
    void Changed();
    void SetLength(int& field, int Value);

    bool active_ = false;
    TColor primaryColor_ = clInfoBk;
    int primaryLength_ = 1;
    TColor secondaryColor_ = clWindow;
    int secondaryLength_ = 1;
    int totalLength_ = 2;
    bool print_ = false;
};

// A second grid kept in step with the owner grid.
class TSyncGrid : public TPersistent {
public:
    explicit TSyncGrid(TStringGrid* AOwner) : owner_(AOwner) {}
    void Assign(TPersistent* Source) override;

    TStringGrid* GetGrid() const { return grid_; }
    // The owner grid itself is refused: a grid cannot follow itself.
    void SetGrid(TStringGrid* Value);
    bool GetScrollVertical() const { return scrollVertical_; }
    void SetScrollVertical(bool Value) { scrollVertical_ = Value; }
    bool GetScrollHorizontal() const { return scrollHorizontal_; }
    void SetScrollHorizontal(bool Value) { scrollHorizontal_ = Value; }
    bool GetSelectionColumn() const { return selectionColumn_; }
    void SetSelectionColumn(bool Value) { selectionColumn_ = Value; }
    bool GetSelectionRow() const { return selectionRow_; }
    void SetSelectionRow(bool Value) { selectionRow_ = Value; }
    bool GetMoveColumn() const { return moveColumn_; }
    void SetMoveColumn(bool Value) { moveColumn_ = Value; }
    bool GetMoveRow() const { return moveRow_; }
    void SetMoveRow(bool Value) { moveRow_ = Value; }

private:
    TStringGrid* owner_ = nullptr;
    TStringGrid* grid_ = nullptr;
    bool scrollVertical_ = false;
    bool scrollHorizontal_ = false;
    bool selectionColumn_ = false;
    bool selectionRow_ = false;
    bool moveColumn_ = false;
    bool moveRow_ = false;
};

// The focus frame shown around the cell being edited.
class TFocusHelper : public TPersistent {
public:
    explicit TFocusHelper(TComponent* AOwner) : owner_(AOwner) {}
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return owner_; }

    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }

private:
    TComponent* owner_ = nullptr;
    bool enabled_ = false;
};

// ===========================================================================
// Settings objects

enum TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

// Look of the tree nodes. Changes of the tree's look repaint the owner grid.
class TCellNode : public TPersistent {
public:
    explicit TCellNode(TComponent* AOwner);
    // Copies the look of another TCellNode without repainting; other
    // sources are ignored.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return owner_; }

    TColor GetColor() const { return color_; }
    void SetColor(TColor Value) { color_ = Value; }
    TNodeType GetNodeType() const { return nodeType_; }
    void SetNodeType(TNodeType Value);
    TColor GetNodeColor() const { return nodeColor_; }
    void SetNodeColor(TColor Value) { nodeColor_ = Value; }
    int GetNodeIndent() const { return nodeIndent_; }
    void SetNodeIndent(int Value);
    // Writing copies the bitmap.
    TBitmap* GetExpandGlyph() const { return expandGlyph_.get(); }
    void SetExpandGlyph(TBitmap* Value) { expandGlyph_->Assign(Value); }
    TBitmap* GetContractGlyph() const { return contractGlyph_.get(); }
    void SetContractGlyph(TBitmap* Value) { contractGlyph_->Assign(Value); }
    bool GetExpandOne() const { return expandOne_; }
    void SetExpandOne(bool Value) { expandOne_ = Value; }
    bool GetShowTree() const { return showTree_; }
    void SetShowTree(bool Value);
    bool GetShowTreeFull() const { return showTreeFull_; }
    void SetShowTreeFull(bool Value);
    TColor GetTreeColor() const { return treeColor_; }
    void SetTreeColor(TColor Value);

private:
    void Repaint();

    TComponent* owner_ = nullptr;
    TColor color_ = clSilver;
    TNodeType nodeType_ = cnXP;
    TColor nodeColor_ = clBlack;
    int nodeIndent_ = 12;
    TOwned<TBitmap> expandGlyph_;
    TOwned<TBitmap> contractGlyph_;
    bool expandOne_ = false;
    bool showTree_ = true;
    bool showTreeFull_ = true;
    TColor treeColor_ = clGray;
};

// Whether the in-place editor grows the cell while the user types.
class TSizeWhileTyping : public TPersistent {
public:
    bool GetHeight() const { return height_; }
    void SetHeight(bool Value) { height_ = Value; }
    bool GetWidth() const { return width_; }
    void SetWidth(bool Value) { width_ = Value; }

private:
    bool height_ = false;
    bool width_ = false;
};

enum TColumnSizeLocation { clRegistry, clIniFile };
enum TAutoSizeRows { arAll, arNormal, arFixed };

// Where column widths are saved, and how the columns stretch to the grid.
class TColumnSize : public TPersistent {
public:
    explicit TColumnSize(TComponent* AOwner) : owner_(AOwner) {}
    // Copies the settings of another TColumnSize except StretchAll, without
    // stretching; other sources are ignored.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return owner_; }

    bool GetSave() const { return save_; }
    void SetSave(bool Value) { save_ = Value; }
    const String& GetKey() const { return key_; }
    void SetKey(const String& Value) { key_ = Value; }
    const String& GetSection() const { return section_; }
    void SetSection(const String& Value) { section_ = Value; }
    TColumnSizeLocation GetLocation() const { return location_; }
    void SetLocation(TColumnSizeLocation Value) { location_ = Value; }
    // Stretches StretchColumn to the client width once the grid has a parent.
    bool GetStretch() const { return stretch_; }
    void SetStretch(bool Value);
    // Turning it on makes StretchColumn -1; every change stretches.
    bool GetStretchAll() const { return stretchAll_; }
    void SetStretchAll(bool Value);
    // -1: the last column.
    int GetStretchColumn() const { return stretchColumn_; }
    void SetStretchColumn(int Value) { stretchColumn_ = Value; }
    bool GetSynchWithGrid() const { return synchWithGrid_; }
    void SetSynchWithGrid(bool Value) { synchWithGrid_ = Value; }
    bool GetSynchNormalCellsOnly() const { return synchNormalCellsOnly_; }
    void SetSynchNormalCellsOnly(bool Value) { synchNormalCellsOnly_ = Value; }
    TAutoSizeRows GetRows() const { return rows_; }
    void SetRows(TAutoSizeRows Value) { rows_ = Value; }

    // The grid's column stretch (stretch column, width); the grid connects
    // it in its constructor.
    std::function<void(int StretchCol, int Width)> OnStretch;

private:
    void ApplyStretch(int StretchCol);

    TComponent* owner_ = nullptr;
    bool save_ = false;
    String key_;
    String section_;
    TColumnSizeLocation location_ = clRegistry;
    bool stretch_ = false;
    bool stretchAll_ = false;
    int stretchColumn_ = -1;
    bool synchWithGrid_ = false;
    bool synchNormalCellsOnly_ = false;
    TAutoSizeRows rows_ = arAll;
};

// Settings of the HTML export.
class THTMLSettings : public TPersistent {
public:
    THTMLSettings();
    // Copies the settings of another THTMLSettings except ExportImages and
    // ColWidths; other sources are ignored.
    void Assign(TPersistent* Source) override;

    bool GetAutoPreview() const { return autoPreview_; }
    void SetAutoPreview(bool Value) { autoPreview_ = Value; }
    bool GetConvertSpecialChars() const { return convertSpecialChars_; }
    void SetConvertSpecialChars(bool Value) { convertSpecialChars_ = Value; }
    bool GetNonBreakingText() const { return nonBreakingText_; }
    void SetNonBreakingText(bool Value) { nonBreakingText_ = Value; }
    bool GetSaveColor() const { return saveColor_; }
    void SetSaveColor(bool Value) { saveColor_ = Value; }
    bool GetSaveFonts() const { return saveFonts_; }
    void SetSaveFonts(bool Value) { saveFonts_ = Value; }
    const String& GetFooterFile() const { return footerFile_; }
    void SetFooterFile(const String& Value) { footerFile_ = Value; }
    const String& GetHeaderFile() const { return headerFile_; }
    void SetHeaderFile(const String& Value) { headerFile_ = Value; }
    const String& GetFooterText() const { return footerText_; }
    void SetFooterText(const String& Value) { footerText_ = Value; }
    const String& GetHeaderText() const { return headerText_; }
    void SetHeaderText(const String& Value) { headerText_ = Value; }
    const String& GetTableStyle() const { return tableStyle_; }
    void SetTableStyle(const String& Value) { tableStyle_ = Value; }
    const String& GetPrefixTag() const { return prefixTag_; }
    void SetPrefixTag(const String& Value) { prefixTag_ = Value; }
    const String& GetSuffixTag() const { return suffixTag_; }
    void SetSuffixTag(const String& Value) { suffixTag_ = Value; }
    const String& GetSummary() const { return summary_; }
    void SetSummary(const String& Value) { summary_ = Value; }
    int GetBorderSize() const { return borderSize_; }
    void SetBorderSize(int Value) { borderSize_ = Value; }
    int GetCellSpacing() const { return cellSpacing_; }
    void SetCellSpacing(int Value) { cellSpacing_ = Value; }
    int GetCellPadding() const { return cellPadding_; }
    void SetCellPadding(int Value) { cellPadding_ = Value; }
    // Percent of the page.
    int GetWidth() const { return width_; }
    void SetWidth(int Value) { width_ = Value; }
    bool GetXHTML() const { return xhtml_; }
    void SetXHTML(bool Value) { xhtml_ = Value; }
    bool GetExportImages() const { return exportImages_; }
    void SetExportImages(bool Value) { exportImages_ = Value; }
    const String& GetImageBaseName() const { return imageBaseName_; }
    void SetImageBaseName(const String& Value) { imageBaseName_ = Value; }
    const String& GetImageFolder() const { return imageFolder_; }
    void SetImageFolder(const String& Value) { imageFolder_ = Value; }
    // Column widths for the export, in column order.
    TIntList* GetColWidths() const { return colWidths_.get(); }

private:
    bool autoPreview_ = false;
    bool convertSpecialChars_ = false;
    bool nonBreakingText_ = false;
    bool saveColor_ = true;
    bool saveFonts_ = true;
    String footerFile_;
    String headerFile_;
    String footerText_;
    String headerText_;
    String tableStyle_;
    String prefixTag_;
    String suffixTag_;
    String summary_;
    int borderSize_ = 1;
    int cellSpacing_ = 0;
    int cellPadding_ = 0;
    int width_ = 100;
    bool xhtml_ = false;
    bool exportImages_ = true;
    String imageBaseName_ = L"img";
    String imageFolder_ = L"images";
    TOwned<TIntList> colWidths_;
};

enum TPrintPosition { ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter };
enum TPrintBorders {
    pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical, pbAroundHorizontal,
    pbCustom
};
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

// Settings of printing.
class TPrintSettings : public TPersistent {
public:
    // The grid is not kept.
    explicit TPrintSettings(TComponent* AGrid);
    // Copies the settings of another TPrintSettings except FixedCellsAlways;
    // any other class raises EInvalidCast and changes nothing.
    void Assign(TPersistent* Source) override;

    TPrintPosition GetTime() const { return time_; }
    void SetTime(TPrintPosition Value) { time_ = Value; }
    TPrintPosition GetDate() const { return date_; }
    void SetDate(TPrintPosition Value) { date_ = Value; }
    TPrintPosition GetPageNr() const { return pageNr_; }
    void SetPageNr(TPrintPosition Value) { pageNr_ = Value; }
    TPrintPosition GetTitle() const { return title_; }
    void SetTitle(TPrintPosition Value) { title_ = Value; }
    const String& GetDateFormat() const { return dateFormat_; }
    void SetDateFormat(const String& Value) { dateFormat_ = Value; }
    const String& GetPageNumSep() const { return pageNumSep_; }
    void SetPageNumSep(const String& Value) { pageNumSep_ = Value; }
    const String& GetPagePrefix() const { return pagePrefix_; }
    void SetPagePrefix(const String& Value) { pagePrefix_ = Value; }
    const String& GetPageSuffix() const { return pageSuffix_; }
    void SetPageSuffix(const String& Value) { pageSuffix_ = Value; }
    const String& GetTitleText() const { return titleText_; }
    void SetTitleText(const String& Value) { titleText_ = Value; }
    // Writing copies the lines; the four fonts copy theirs likewise.
    TStringList* GetTitleLines() const { return titleLines_.get(); }
    void SetTitleLines(TStrings* Value) { titleLines_->Assign(Value); }
    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    TFont* GetHeaderFont() const { return headerFont_.get(); }
    void SetHeaderFont(TFont* Value) { headerFont_->Assign(Value); }
    TFont* GetFooterFont() const { return footerFont_.get(); }
    void SetFooterFont(TFont* Value) { footerFont_->Assign(Value); }
    TFont* GetFixedFont() const { return fixedFont_.get(); }
    void SetFixedFont(TFont* Value) { fixedFont_->Assign(Value); }
    TPrintBorders GetBorders() const { return borders_; }
    void SetBorders(TPrintBorders Value) { borders_ = Value; }
    TPenStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TPenStyle Value) { borderStyle_ = Value; }
    TColor GetBorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value) { borderColor_ = Value; }
    bool GetCentered() const { return centered_; }
    void SetCentered(bool Value) { centered_ = Value; }
    bool GetRepeatFixedRows() const { return repeatFixedRows_; }
    void SetRepeatFixedRows(bool Value) { repeatFixedRows_ = Value; }
    bool GetRepeatFixedCols() const { return repeatFixedCols_; }
    void SetRepeatFixedCols(bool Value) { repeatFixedCols_ = Value; }
    int GetFooterSize() const { return footerSize_; }
    void SetFooterSize(int Value) { footerSize_ = Value; }
    int GetHeaderSize() const { return headerSize_; }
    void SetHeaderSize(int Value) { headerSize_ = Value; }
    int GetLeftSize() const { return leftSize_; }
    void SetLeftSize(int Value) { leftSize_ = Value; }
    int GetRightSize() const { return rightSize_; }
    void SetRightSize(int Value) { rightSize_ = Value; }
    int GetColumnSpacing() const { return columnSpacing_; }
    void SetColumnSpacing(int Value) { columnSpacing_ = Value; }
    int GetRowSpacing() const { return rowSpacing_; }
    void SetRowSpacing(int Value) { rowSpacing_ = Value; }
    int GetTitleSpacing() const { return titleSpacing_; }
    void SetTitleSpacing(int Value) { titleSpacing_ = Value; }
    TPrinterOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation Value) { orientation_ = Value; }
    int GetPageNumberOffset() const { return pageNumberOffset_; }
    void SetPageNumberOffset(int Value) { pageNumberOffset_ = Value; }
    int GetMaxPagesOffset() const { return maxPagesOffset_; }
    void SetMaxPagesOffset(int Value) { maxPagesOffset_ = Value; }
    int GetFixedWidth() const { return fixedWidth_; }
    void SetFixedWidth(int Value) { fixedWidth_ = Value; }
    int GetFixedHeight() const { return fixedHeight_; }
    void SetFixedHeight(int Value) { fixedHeight_ = Value; }
    bool GetUseFixedWidth() const { return useFixedWidth_; }
    void SetUseFixedWidth(bool Value) { useFixedWidth_ = Value; }
    bool GetUseFixedHeight() const { return useFixedHeight_; }
    void SetUseFixedHeight(bool Value) { useFixedHeight_ = Value; }
    TFitToPage GetFitToPage() const { return fitToPage_; }
    void SetFitToPage(TFitToPage Value) { fitToPage_ = Value; }
    const String& GetJobName() const { return jobName_; }
    void SetJobName(const String& Value) { jobName_ = Value; }
    bool GetNoAutoSize() const { return noAutoSize_; }
    void SetNoAutoSize(bool Value) { noAutoSize_ = Value; }
    bool GetNoAutoSizeRow() const { return noAutoSizeRow_; }
    void SetNoAutoSizeRow(bool Value) { noAutoSizeRow_ = Value; }
    bool GetPrintGraphics() const { return printGraphics_; }
    void SetPrintGraphics(bool Value) { printGraphics_ = Value; }
    bool GetUseDisplayFont() const { return useDisplayFont_; }
    void SetUseDisplayFont(bool Value) { useDisplayFont_ = Value; }
    bool GetUseDefaultOrientation() const { return useDefaultOrientation_; }
    void SetUseDefaultOrientation(bool Value) { useDefaultOrientation_ = Value; }
    bool GetFixedCellsAlways() const { return fixedCellsAlways_; }
    void SetFixedCellsAlways(bool Value) { fixedCellsAlways_ = Value; }
    bool GetPrintComments() const { return printComments_; }
    void SetPrintComments(bool Value) { printComments_ = Value; }

private:
    TPrintPosition time_ = ppNone;
    TPrintPosition date_ = ppNone;
    TPrintPosition pageNr_ = ppNone;
    TPrintPosition title_ = ppNone;
    String dateFormat_ = L"dd/mm/yyyy";
    String pageNumSep_ = L"/";
    String pagePrefix_;
    String pageSuffix_;
    String titleText_;
    TOwned<TStringList> titleLines_;
    TOwned<TFont> font_;
    TOwned<TFont> headerFont_;
    TOwned<TFont> footerFont_;
    TOwned<TFont> fixedFont_;
    TPrintBorders borders_ = pbSingle;
    TPenStyle borderStyle_ = psSolid;
    TColor borderColor_ = clBlack;
    bool centered_ = true;
    bool repeatFixedRows_ = false;
    bool repeatFixedCols_ = false;
    int footerSize_ = 0;
    int headerSize_ = 0;
    int leftSize_ = 0;
    int rightSize_ = 0;
    int columnSpacing_ = 0;
    int rowSpacing_ = 0;
    int titleSpacing_ = 0;
    TPrinterOrientation orientation_ = poPortrait;
    int pageNumberOffset_ = 0;
    int maxPagesOffset_ = 0;
    int fixedWidth_ = 0;
    int fixedHeight_ = 0;
    bool useFixedWidth_ = false;
    bool useFixedHeight_ = false;
    TFitToPage fitToPage_ = fpNever;
    String jobName_;
    bool noAutoSize_ = false;
    bool noAutoSizeRow_ = false;
    bool printGraphics_ = false;
    bool useDisplayFont_ = true;
    bool useDefaultOrientation_ = false;
    bool fixedCellsAlways_ = false;
    bool printComments_ = true;
};

// A text and a background colour; clNone leaves the cell's own.
class TColorSetting : public TPersistent {
public:
    // Copies both colours without OnChange; other sources are ignored.
    void Assign(TPersistent* Source) override;

    TColor GetTextColor() const { return textColor_; }
    void SetTextColor(TColor Value);
    TColor GetBkgColor() const { return bkgColor_; }
    void SetBkgColor(TColor Value);

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    TColor textColor_ = clNone;
    TColor bkgColor_ = clNone;
};

// Colours of the cells that hold a number, by its sign.
class TAutoColor : public TPersistent {
public:
    TAutoColor();
    void Assign(TPersistent* Source) override;

    // Writing copies the two colours, without OnChange.
    TColorSetting* GetNegativeNumber() const { return negativeNumber_.get(); }
    void SetNegativeNumber(TColorSetting* Value) { negativeNumber_->Assign(Value); }
    TColorSetting* GetPositiveNumber() const { return positiveNumber_.get(); }
    void SetPositiveNumber(TColorSetting* Value) { positiveNumber_->Assign(Value); }

    // False while all four colours are clNone.
    bool IsActive() const;

    // Also fired when a colour of either setting changes.
    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    TOwned<TColorSetting> negativeNumber_;
    TOwned<TColorSetting> positiveNumber_;
};

class THoverButtons;

// A button shown over the hovered row.
class THoverButtonsCollectionItem : public TCollectionItem {
public:
    explicit THoverButtonsCollectionItem(TCollection* Collection);
    // Copies everything but ImageIndex from another item; other sources
    // are ignored.
    void Assign(TPersistent* Source) override;

    const String& GetCaption() const { return caption_; }
    void SetCaption(const String& Value) { caption_ = Value; }
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    bool GetFlat() const { return flat_; }
    void SetFlat(bool Value) { flat_ = Value; }
    const String& GetHint() const { return hint_; }
    void SetHint(const String& Value) { hint_ = Value; }
    // -1: no image.
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }
    // Writing copies the picture.
    TPicture* GetPicture() const { return picture_.get(); }
    void SetPicture(TPicture* Value) { picture_->Assign(Value); }
    int GetTag() const { return tag_; }
    void SetTag(int Value) { tag_ = Value; }
    // 0: sized to the content.
    int GetWidth() const { return width_; }
    void SetWidth(int Value) { width_ = Value; }

private:
    String caption_;
    bool enabled_ = true;
    bool flat_ = false;
    String hint_;
    int imageIndex_ = -1;
    TOwned<TPicture> picture_;
    int tag_ = 0;
    int width_ = 0;
};

class THoverButtonsCollection : public TCollection {
public:
    explicit THoverButtonsCollection(THoverButtons* AOwner);
    THoverButtonsCollectionItem* Add() { return static_cast<THoverButtonsCollectionItem*>(TCollection::Add()); }
    THoverButtonsCollectionItem* Insert(int Index)
    {
        return static_cast<THoverButtonsCollectionItem*>(TCollection::Insert(Index));
    }
    THoverButtonsCollectionItem* GetItem(int Index) const
    {
        return static_cast<THoverButtonsCollectionItem*>(TCollection::GetItem(Index));
    }
};

enum THoverButtonPosition {
    hbLeftFromColumnLeft, hbRightFromColumnLeft, hbLeftFromColumnRight, hbRightFromColumnRight
};
enum THoverRows { hrAll, hrNormal };

// Buttons shown over the row under the mouse.
class THoverButtons : public TPersistent {
public:
    explicit THoverButtons(TComponent* AOwner);
    // Copies the settings and buttons of another THoverButtons; other
    // sources are ignored.
    void Assign(TPersistent* Source) override;
    TPersistent* GetOwner() const override { return owner_; }

    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    int GetColumn() const { return column_; }
    void SetColumn(int Value) { column_ = Value; }
    THoverButtonPosition GetPosition() const { return position_; }
    void SetPosition(THoverButtonPosition Value) { position_ = Value; }
    THoverRows GetRows() const { return rows_; }
    void SetRows(THoverRows Value) { rows_ = Value; }
    bool GetMoveActiveRow() const { return moveActiveRow_; }
    void SetMoveActiveRow(bool Value) { moveActiveRow_ = Value; }
    // Writing copies the buttons.
    THoverButtonsCollection* GetButtons() const { return buttons_.get(); }
    void SetButtons(THoverButtonsCollection* Value) { buttons_->Assign(Value); }

private:
    TComponent* owner_ = nullptr;
    bool enabled_ = false;
    int column_ = 0;
    THoverButtonPosition position_ = hbRightFromColumnRight;
    THoverRows rows_ = hrNormal;
    bool moveActiveRow_ = true;
    TOwned<THoverButtonsCollection> buttons_;
};
