// The grid's option objects: keyboard, mouse, search bar, bands, the grid
// kept in step and the focus frame.
#include "AdvGridOptions.h"


// ---------------------------------------------------------------------------
// TNavigation

void TNavigation::SetAdvanceInsert(bool Value)
{
    if (StoreChanged(advanceInsert_, Value))
        Changed();
}

void TNavigation::SetAdvanceAuto(bool Value)
{
    if (Value == advanceAuto_)
        return;
    advanceAuto_ = Value;
    if (Value)
        advanceOnEnter_ = true;
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value)
{
    if (StoreChanged(advanceDirection_, Value))
        Changed();
}

void TNavigation::Changed()
{
    FireEvent(OnChange, this);
}

void TNavigation::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TNavigation*>(Source);
    if (!s)
        return;
    allowInsertRow_ = s->allowInsertRow_;
    allowDeleteRow_ = s->allowDeleteRow_;
    alwaysEdit_ = s->alwaysEdit_;
    advanceOnEnter_ = s->advanceOnEnter_;
    advanceOnEnterLoop_ = s->advanceOnEnterLoop_;
    advanceInsert_ = s->advanceInsert_;
    advanceAutoEdit_ = s->advanceAutoEdit_;
    autoGotoWhenSorted_ = s->autoGotoWhenSorted_;
    autoGotoIncremental_ = s->autoGotoIncremental_;
    autoComboDropSize_ = s->autoComboDropSize_;
    advanceDirection_ = s->advanceDirection_;
    allowClipboardShortCuts_ = s->allowClipboardShortCuts_;
    allowCtrlEnter_ = s->allowCtrlEnter_;
    allowSmartClipboard_ = s->allowSmartClipboard_;
    allowRTFClipboard_ = s->allowRTFClipboard_;
    allowFmtClipboard_ = s->allowFmtClipboard_;
    allowClipboardAlways_ = s->allowClipboardAlways_;
    allowClipboardRowGrow_ = s->allowClipboardRowGrow_;
    allowClipboardColGrow_ = s->allowClipboardColGrow_;
    advanceAuto_ = s->advanceAuto_;
    appendOnArrowDown_ = s->appendOnArrowDown_;
    editSelectAll_ = s->editSelectAll_;
    insertPosition_ = s->insertPosition_;
    clipboardPasteAction_ = s->clipboardPasteAction_;
    cursorAdvance_ = s->cursorAdvance_;
    cursorWalkEditor_ = s->cursorWalkEditor_;
    cursorWalkAlwaysEdit_ = s->cursorWalkAlwaysEdit_;
    moveRowOnSort_ = s->moveRowOnSort_;
    improveMaskSel_ = s->improveMaskSel_;
    copyHTMLTagsToClipboard_ = s->copyHTMLTagsToClipboard_;
    keepHorizScroll_ = s->keepHorizScroll_;
    lineFeedOnEnter_ = s->lineFeedOnEnter_;
    homeEndKey_ = s->homeEndKey_;
    skipFixedCells_ = s->skipFixedCells_;
    skipDisabledRows_ = s->skipDisabledRows_;
    tabToNextAtEnd_ = s->tabToNextAtEnd_;
    tabAdvanceDirection_ = s->tabAdvanceDirection_;
    leftRightRowSelect_ = s->leftRightRowSelect_;
    moveScrollOnly_ = s->moveScrollOnly_;
    comboGetUpDown_ = s->comboGetUpDown_;
    advanceSkipReadOnlyCells_ = s->advanceSkipReadOnlyCells_;
    cursorMoveRows_ = s->cursorMoveRows_;
    autoComboSelect_ = s->autoComboSelect_;
    clipboardCutAction_ = s->clipboardCutAction_;
    allowEditButtonCells_ = s->allowEditButtonCells_;
}

// ---------------------------------------------------------------------------
// TMouseActions

TMouseActions::TMouseActions(TComponent* AOwner) : owner_(AOwner), fixedComboValues_(New<TStringList>()) {}

bool TMouseActions::IsDesigning()
{
    bool designing = false;
    if (OnIsDesigning)
        OnIsDesigning(this, designing);
    return designing;
}

void TMouseActions::SetDisjunctRowSelect(bool Value)
{
    disjunctRowSelect_ = Value;
    if (Value && IsDesigning()) {
        disjunctColSelect_ = false;
        disjunctCellSelect_ = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool Value)
{
    disjunctColSelect_ = Value;
    if (Value && IsDesigning()) {
        disjunctRowSelect_ = false;
        disjunctCellSelect_ = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool Value)
{
    disjunctCellSelect_ = Value;
    if (Value && IsDesigning()) {
        disjunctRowSelect_ = false;
        disjunctColSelect_ = false;
    }
}

void TMouseActions::SetEditOnDblClickOnly(bool Value)
{
    editOnDblClickOnly_ = Value;
    if (Value)
        FireEvent(OnDisableEdit, this);
}

void TMouseActions::SetHotmailRowSelect(bool Value)
{
    hotmailRowSelect_ = Value;
    if (Value) {
        SetDisjunctRowSelect(true);
        checkAllCheck_ = true;
    }
    FireEvent(OnInvalidate, this);
}

void TMouseActions::SetWheelAction(TWheelAction Value)
{
    if (StoreChanged(wheelAction_, Value))
        Changed();
}

void TMouseActions::Changed()
{
    FireEvent(OnChange, this);
}

void TMouseActions::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TMouseActions*>(Source);
    if (!s)
        return;
    allColumnSize_ = s->allColumnSize_;
    allRowSize_ = s->allRowSize_;
    allSelect_ = s->allSelect_;
    autoFocus_ = s->autoFocus_;
    autoSizeColOnDblClick_ = s->autoSizeColOnDblClick_;
    caretPositioning_ = s->caretPositioning_;
    checkAllCheck_ = s->checkAllCheck_;
    colSelect_ = s->colSelect_;
    directComboClose_ = s->directComboClose_;
    directComboDrop_ = s->directComboDrop_;
    directDateClose_ = s->directDateClose_;
    directDateDrop_ = s->directDateDrop_;
    directEdit_ = s->directEdit_;
    disjunctRowSelect_ = s->disjunctRowSelect_;
    disjunctColSelect_ = s->disjunctColSelect_;
    disjunctCellSelect_ = s->disjunctCellSelect_;
    fixedRowsEdit_ = s->fixedRowsEdit_;
    fixedColsEdit_ = s->fixedColsEdit_;
    fixedColsEditor_ = s->fixedColsEditor_;
    fixedRowsEditor_ = s->fixedRowsEditor_;
    moveRowOnNodeClick_ = s->moveRowOnNodeClick_;
    noAutoRangeScroll_ = s->noAutoRangeScroll_;
    nodeAllExpandContract_ = s->nodeAllExpandContract_;
    noScrollOnPartialRow_ = s->noScrollOnPartialRow_;
    noScrollOnPartialCol_ = s->noScrollOnPartialCol_;
    partialScrollDelta_ = s->partialScrollDelta_;
    preciseCheckBoxCheck_ = s->preciseCheckBoxCheck_;
    preciseNodeClick_ = s->preciseNodeClick_;
    rangeSelectAndEdit_ = s->rangeSelectAndEdit_;
    rowSelect_ = s->rowSelect_;
    rowSelectPersistent_ = s->rowSelectPersistent_;
    selectOnRightClick_ = s->selectOnRightClick_;
    sizeFixedCol_ = s->sizeFixedCol_;
    touchScroll_ = s->touchScroll_;
    wheelIncrement_ = s->wheelIncrement_;
    wheelAction_ = s->wheelAction_;
    wheelActive_ = s->wheelActive_;
    disjunctRowSelectNoCtrl_ = s->disjunctRowSelectNoCtrl_;
}

// ---------------------------------------------------------------------------
// TSearchFooter

TSearchFooter::TSearchFooter(TComponent* AOwner, bool InitDesign) : owner_(AOwner), font_(New<TFont>())
{
    if (!InitDesign)
        return;
    findPrevCaption_ = L"Find &previous";
    findNextCaption_ = L"Find &next";
    matchCaseCaption_ = L"Match case";
    highLightCaption_ = L"Highlight";
    hintClose_ = L"Close";
    hintFindNext_ = L"Find next occurrence";
    hintFindPrev_ = L"Find previous occurrence";
    hintHighlight_ = L"Highlight occurrences";
}

void TSearchFooter::Changed()
{
    FireEvent(OnChange, this);
}

// The Show switches and Visible stay quiet when nothing changes; the texts
// notify on every write.
void TSearchFooter::StoreSwitch(bool& field, bool Value)
{
    if (StoreChanged(field, Value))
        Changed();
}

void TSearchFooter::StoreText(String& field, const String& Value)
{
    field = Value;
    Changed();
}

void TSearchFooter::SetColor(TColor Value)
{
    color_ = Value;
    Changed();
}

void TSearchFooter::SetColorTo(TColor Value)
{
    colorTo_ = Value;
    Changed();
}

void TSearchFooter::SetFont(TFont* Value)
{
    font_->Assign(Value);
    Changed();
}

void TSearchFooter::SetVisible(bool Value) { StoreSwitch(visible_, Value); }

void TSearchFooter::SetAutoSearch(bool Value)
{
    autoSearch_ = Value;
    lastSearch_.clear();
}

void TSearchFooter::SetShowClose(bool Value)
{
    showClose_ = Value;
    Changed();
}

void TSearchFooter::SetShowFindNext(bool Value) { StoreSwitch(showFindNext_, Value); }
void TSearchFooter::SetShowFindPrev(bool Value) { StoreSwitch(showFindPrev_, Value); }
void TSearchFooter::SetShowHighLight(bool Value) { StoreSwitch(showHighLight_, Value); }
void TSearchFooter::SetShowMatchCase(bool Value) { StoreSwitch(showMatchCase_, Value); }
void TSearchFooter::SetFindNextCaption(const String& Value) { StoreText(findNextCaption_, Value); }
void TSearchFooter::SetFindPrevCaption(const String& Value) { StoreText(findPrevCaption_, Value); }
void TSearchFooter::SetHighLightCaption(const String& Value) { StoreText(highLightCaption_, Value); }
void TSearchFooter::SetMatchCaseCaption(const String& Value) { StoreText(matchCaseCaption_, Value); }
void TSearchFooter::SetHintClose(const String& Value) { StoreText(hintClose_, Value); }
void TSearchFooter::SetHintFindNext(const String& Value) { StoreText(hintFindNext_, Value); }
void TSearchFooter::SetHintFindPrev(const String& Value) { StoreText(hintFindPrev_, Value); }
void TSearchFooter::SetHintHighlight(const String& Value) { StoreText(hintHighlight_, Value); }

void TSearchFooter::SetAutoThemeAdapt(bool Value)
{
    autoThemeAdapt_ = Value;
    Changed();
}

void TSearchFooter::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TSearchFooter*>(Source);
    if (!s)
        return;
    alwaysHighLight_ = s->alwaysHighLight_;
    color_ = s->color_;
    colorTo_ = s->colorTo_;
    findNextCaption_ = s->findNextCaption_;
    findPrevCaption_ = s->findPrevCaption_;
    highLightCaption_ = s->highLightCaption_;
    matchCaseCaption_ = s->matchCaseCaption_;
    hintClose_ = s->hintClose_;
    hintFindNext_ = s->hintFindNext_;
    hintFindPrev_ = s->hintFindPrev_;
    hintHighlight_ = s->hintHighlight_;
    showClose_ = s->showClose_;
    showFindNext_ = s->showFindNext_;
    showFindPrev_ = s->showFindPrev_;
    showHighLight_ = s->showHighLight_;
    showMatchCase_ = s->showMatchCase_;
    searchActiveColumnOnly_ = s->searchActiveColumnOnly_;
    searchMatchStart_ = s->searchMatchStart_;
    searchColumn_ = s->searchColumn_;
    searchDirection_ = s->searchDirection_;
    searchHiddenRows_ = s->searchHiddenRows_;
    visible_ = s->visible_;
    font_->Assign(s->font_.get());
    highLight_ = s->highLight_;
}

// ---------------------------------------------------------------------------
// TBands

void TBands::Changed()
{
    FireEvent(OnChange, this);
}

void TBands::SetActive(bool Value)
{
    if (StoreChanged(active_, Value))
        Changed();
}

void TBands::SetPrimaryColor(TColor Value)
{
    if (StoreChanged(primaryColor_, Value) && active_)
        Changed();
}

void TBands::SetSecondaryColor(TColor Value)
{
    if (StoreChanged(secondaryColor_, Value) && active_)
        Changed();
}

void TBands::SetPrimaryLength(int Value) { SetLength(primaryLength_, Value); }
void TBands::SetSecondaryLength(int Value) { SetLength(secondaryLength_, Value); }

void TBands::SetLength(int& field, int Value)
{
    if (!StoreChanged(field, Value))
        return;
    totalLength_ = primaryLength_ + secondaryLength_;
    if (active_)
        Changed();
}

TColor TBands::RowColor(int Row, int FixedRows) const
{
    if (totalLength_ > 0 && (Row - FixedRows) % totalLength_ < primaryLength_)
        return primaryColor_;
    return secondaryColor_;
}

void TBands::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TBands*>(Source);
    if (!s)
        return;
    active_ = s->active_;
    primaryColor_ = s->primaryColor_;
    primaryLength_ = s->primaryLength_;
    secondaryColor_ = s->secondaryColor_;
    secondaryLength_ = s->secondaryLength_;
    print_ = s->print_;
    totalLength_ = primaryLength_ + secondaryLength_;
}

// ---------------------------------------------------------------------------
// TSyncGrid

void TSyncGrid::SetGrid(TStringGrid* Value)
{
    if (Value != owner_)
        grid_ = Value;
}

void TSyncGrid::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TSyncGrid*>(Source);
    if (!s)
        return;
    SetGrid(s->grid_);
    scrollVertical_ = s->scrollVertical_;
    scrollHorizontal_ = s->scrollHorizontal_;
    selectionColumn_ = s->selectionColumn_;
    selectionRow_ = s->selectionRow_;
    moveColumn_ = s->moveColumn_;
    moveRow_ = s->moveRow_;
}

// ---------------------------------------------------------------------------
// TFocusHelper

void TFocusHelper::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TFocusHelper*>(Source))
        enabled_ = s->enabled_;
}
