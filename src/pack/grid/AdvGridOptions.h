// The data grid's option objects: navigation, mouse actions, the search
// footer, bands, grid synchronisation and the focus helper.
#pragma once

#include "AdvGridLists.h"

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
