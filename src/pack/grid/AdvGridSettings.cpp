// The grid's settings objects: tree nodes, editor growth, column sizes,
// HTML export, printing, colours by sign and the hover buttons.
#include "AdvGridSettings.h"


// ---------------------------------------------------------------------------
// TCellNode

TCellNode::TCellNode(TComponent* AOwner)
    : owner_(AOwner), expandGlyph_(New<TBitmap>()), contractGlyph_(New<TBitmap>())
{
}

void TCellNode::Repaint()
{
    if (auto* grid = dynamic_cast<TControl*>(owner_))
        grid->Invalidate();
}

void TCellNode::SetNodeType(TNodeType Value)
{
    if (StoreChanged(nodeType_, Value))
        Repaint();
}

void TCellNode::SetNodeIndent(int Value)
{
    if (StoreChanged(nodeIndent_, Value))
        Repaint();
}

void TCellNode::SetShowTree(bool Value)
{
    if (StoreChanged(showTree_, Value))
        Repaint();
}

void TCellNode::SetShowTreeFull(bool Value)
{
    if (StoreChanged(showTreeFull_, Value))
        Repaint();
}

void TCellNode::SetTreeColor(TColor Value)
{
    if (StoreChanged(treeColor_, Value))
        Repaint();
}

void TCellNode::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TCellNode*>(Source);
    if (!s)
        return;
    color_ = s->color_;
    expandOne_ = s->expandOne_;
    nodeType_ = s->nodeType_;
    nodeColor_ = s->nodeColor_;
    nodeIndent_ = s->nodeIndent_;
    expandGlyph_->Assign(s->expandGlyph_.get());
    contractGlyph_->Assign(s->contractGlyph_.get());
    showTree_ = s->showTree_;
    showTreeFull_ = s->showTreeFull_;
    treeColor_ = s->treeColor_;
}

// ---------------------------------------------------------------------------
// TColumnSize

void TColumnSize::ApplyStretch(int StretchCol)
{
    auto* grid = dynamic_cast<TControl*>(owner_);
    if (grid && OnStretch)
        OnStretch(StretchCol, grid->GetClientWidth());
}

void TColumnSize::SetStretch(bool Value)
{
    stretch_ = Value;
    auto* grid = dynamic_cast<TControl*>(owner_);
    if (grid && grid->GetParent())
        ApplyStretch(stretchColumn_);
}

void TColumnSize::SetStretchAll(bool Value)
{
    if (Value == stretchAll_)
        return;
    if (Value)
        stretchColumn_ = -1;
    stretchAll_ = Value;
    ApplyStretch(-1);
}

void TColumnSize::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TColumnSize*>(Source);
    if (!s)
        return;
    rows_ = s->rows_;
    save_ = s->save_;
    key_ = s->key_;
    section_ = s->section_;
    stretch_ = s->stretch_;
    stretchColumn_ = s->stretchColumn_;
    synchWithGrid_ = s->synchWithGrid_;
    synchNormalCellsOnly_ = s->synchNormalCellsOnly_;
    location_ = s->location_;
}

// ---------------------------------------------------------------------------
// THTMLSettings

THTMLSettings::THTMLSettings() : colWidths_(New<TIntList>(0, 0)) {}

void THTMLSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<THTMLSettings*>(Source);
    if (!s)
        return;
    borderSize_ = s->borderSize_;
    cellSpacing_ = s->cellSpacing_;
    cellPadding_ = s->cellPadding_;
    saveColor_ = s->saveColor_;
    saveFonts_ = s->saveFonts_;
    footerFile_ = s->footerFile_;
    footerText_ = s->footerText_;
    headerFile_ = s->headerFile_;
    headerText_ = s->headerText_;
    tableStyle_ = s->tableStyle_;
    prefixTag_ = s->prefixTag_;
    suffixTag_ = s->suffixTag_;
    summary_ = s->summary_;
    width_ = s->width_;
    xhtml_ = s->xhtml_;
    convertSpecialChars_ = s->convertSpecialChars_;
    autoPreview_ = s->autoPreview_;
    nonBreakingText_ = s->nonBreakingText_;
    imageBaseName_ = s->imageBaseName_;
    imageFolder_ = s->imageFolder_;
}

// ---------------------------------------------------------------------------
// TPrintSettings

TPrintSettings::TPrintSettings(TComponent*)
    : titleLines_(New<TStringList>()), font_(New<TFont>()), headerFont_(New<TFont>()), footerFont_(New<TFont>()),
      fixedFont_(New<TFont>())
{
}

void TPrintSettings::Assign(TPersistent* Source)
{
    if (!Source)
        return;
    auto* s = dynamic_cast<TPrintSettings*>(Source);
    if (!s)
        throw EInvalidCast(L"Invalid class typecast");
    footerSize_ = s->footerSize_;
    headerSize_ = s->headerSize_;
    time_ = s->time_;
    date_ = s->date_;
    dateFormat_ = s->dateFormat_;
    pageNr_ = s->pageNr_;
    title_ = s->title_;
    titleText_ = s->titleText_;
    titleLines_->Assign(s->titleLines_.get());
    font_->Assign(s->font_.get());
    fixedFont_->Assign(s->fixedFont_.get());
    headerFont_->Assign(s->headerFont_.get());
    footerFont_->Assign(s->footerFont_.get());
    borders_ = s->borders_;
    borderStyle_ = s->borderStyle_;
    centered_ = s->centered_;
    repeatFixedRows_ = s->repeatFixedRows_;
    repeatFixedCols_ = s->repeatFixedCols_;
    leftSize_ = s->leftSize_;
    rightSize_ = s->rightSize_;
    columnSpacing_ = s->columnSpacing_;
    rowSpacing_ = s->rowSpacing_;
    titleSpacing_ = s->titleSpacing_;
    orientation_ = s->orientation_;
    pagePrefix_ = s->pagePrefix_;
    pageSuffix_ = s->pageSuffix_;
    pageNumberOffset_ = s->pageNumberOffset_;
    maxPagesOffset_ = s->maxPagesOffset_;
    fixedWidth_ = s->fixedWidth_;
    fixedHeight_ = s->fixedHeight_;
    useFixedHeight_ = s->useFixedHeight_;
    useFixedWidth_ = s->useFixedWidth_;
    fitToPage_ = s->fitToPage_;
    jobName_ = s->jobName_;
    pageNumSep_ = s->pageNumSep_;
    noAutoSize_ = s->noAutoSize_;
    noAutoSizeRow_ = s->noAutoSizeRow_;
    printGraphics_ = s->printGraphics_;
    useDisplayFont_ = s->useDisplayFont_;
    useDefaultOrientation_ = s->useDefaultOrientation_;
    borderColor_ = s->borderColor_;
    printComments_ = s->printComments_;
}

// ---------------------------------------------------------------------------
// TColorSetting and TAutoColor

void TColorSetting::SetTextColor(TColor Value)
{
    if (StoreChanged(textColor_, Value))
        Changed();
}

void TColorSetting::SetBkgColor(TColor Value)
{
    if (StoreChanged(bkgColor_, Value))
        Changed();
}

void TColorSetting::Changed()
{
    FireEvent(OnChange, this);
}

void TColorSetting::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TColorSetting*>(Source);
    if (!s)
        return;
    textColor_ = s->textColor_;
    bkgColor_ = s->bkgColor_;
}

TAutoColor::TAutoColor() : negativeNumber_(New<TColorSetting>()), positiveNumber_(New<TColorSetting>())
{
    negativeNumber_->OnChange = [this](TObject*) { Changed(); };
    positiveNumber_->OnChange = [this](TObject*) { Changed(); };
}

bool TAutoColor::IsActive() const
{
    for (const TColorSetting* setting : {negativeNumber_.get(), positiveNumber_.get()})
        if (setting->GetTextColor() != clNone || setting->GetBkgColor() != clNone)
            return true;
    return false;
}

void TAutoColor::Changed()
{
    FireEvent(OnChange, this);
}

void TAutoColor::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TAutoColor*>(Source);
    if (!s)
        return;
    negativeNumber_->Assign(s->negativeNumber_.get());
    positiveNumber_->Assign(s->positiveNumber_.get());
}

// ---------------------------------------------------------------------------
// Hover buttons

THoverButtonsCollectionItem::THoverButtonsCollectionItem(TCollection* Collection)
    : TCollectionItem(Collection), picture_(New<TPicture>())
{
}

void THoverButtonsCollectionItem::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<THoverButtonsCollectionItem*>(Source);
    if (!s)
        return;
    tag_ = s->tag_;
    flat_ = s->flat_;
    enabled_ = s->enabled_;
    caption_ = s->caption_;
    hint_ = s->hint_;
    picture_->Assign(s->picture_.get());
    width_ = s->width_;
}

THoverButtonsCollection::THoverButtonsCollection(THoverButtons* AOwner)
    : TCollection(ItemClass<THoverButtonsCollectionItem>(), AOwner)
{
}

THoverButtons::THoverButtons(TComponent* AOwner) : owner_(AOwner), buttons_(New<THoverButtonsCollection>(this)) {}

void THoverButtons::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<THoverButtons*>(Source);
    if (!s)
        return;
    enabled_ = s->enabled_;
    buttons_->Assign(s->buttons_.get());
    column_ = s->column_;
    position_ = s->position_;
    rows_ = s->rows_;
    moveActiveRow_ = s->moveActiveRow_;
}
