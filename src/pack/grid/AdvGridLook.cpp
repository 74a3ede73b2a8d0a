// The grid's appearance objects and its sorting and filtering settings.
#include "AdvGridLook.h"
#include "AdvDropDown.h"
#include "AdvGrid.h"

// ---------------------------------------------------------------------------
// TControlLook

namespace {

// Stores a colour of the look and hands it to the grid field painting reads;
// a clNone From, To or Border colour leaves the grid's colour as it was.
void HandOn(TColor& own, TColor& gridColor, TColor Value, bool noneKeepsGrid)
{
    own = Value;
    if (Value != clNone || !noneKeepsGrid)
        gridColor = Value;
}

} // namespace

TControlLook::TControlLook(TAdvStringGrid* AOwner)
    : grid_(AOwner), checkedGlyph_(New<TBitmap>()), unCheckedGlyph_(New<TBitmap>()),
      radioOnGlyph_(New<TBitmap>()), radioOffGlyph_(New<TBitmap>())
{
    Init();
    dropDownHeader_.reset(New<THeaderAppearance>(AOwner));
    dropDownFooter_.reset(New<TFooterAppearance>(AOwner));
}

TControlLook::~TControlLook() = default;

void TControlLook::InvalidateGrid()
{
    grid_->Invalidate();
}

void TControlLook::Init()
{
    color_ = 0x000000;
    commentColor_ = 0x0000FF;
    progressBorderColor_ = 0x808080;
    fixedGradientFrom_ = clNone;
    fixedGradientTo_ = clNone;
    fixedGradientMirrorFrom_ = clNone;
    fixedGradientMirrorTo_ = clNone;
    hoverFrom_ = 0x808080;
    hoverTo_ = 0xFFFFFF;
    hoverBorder_ = 0xC0C0C0;
    downFrom_ = 0x808080;
    downTo_ = 0xC0C0C0;
    downBorder_ = 0x808080;
    // The hover and pressed mirrors go through their writers so that the
    // grid loses those mirror halves as well; the header's own stay, so that
    // a style of the same look keeps the mirror colours it does not write.
    SetFixedGradientHoverMirrorFrom(clNone);
    SetFixedGradientHoverMirrorTo(clNone);
    SetFixedGradientDownMirrorFrom(clNone);
    SetFixedGradientDownMirrorTo(clNone);
}

void TControlLook::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TControlLook*>(Source);
    if (!s)
        return;
    buttonPrefix_ = s->buttonPrefix_;
    checkSize_ = s->checkSize_;
    radioSize_ = s->radioSize_;
    controlStyle_ = s->controlStyle_;
    checkedGlyph_->Assign(s->checkedGlyph_.get());
    unCheckedGlyph_->Assign(s->unCheckedGlyph_.get());
    radioOnGlyph_->Assign(s->radioOnGlyph_.get());
    radioOffGlyph_->Assign(s->radioOffGlyph_.get());
    progressMarginX_ = s->progressMarginX_;
    progressMarginY_ = s->progressMarginY_;
    commentColor_ = s->commentColor_;
    color_ = s->color_;
    progressBorderColor_ = s->progressBorderColor_;
    checkAlwaysActive_ = s->checkAlwaysActive_;
    radioAlwaysActive_ = s->radioAlwaysActive_;
    fixedGradientFrom_ = s->fixedGradientFrom_;
    fixedGradientTo_ = s->fixedGradientTo_;
    fixedGradientMirrorFrom_ = s->fixedGradientMirrorFrom_;
    fixedGradientMirrorTo_ = s->fixedGradientMirrorTo_;
    hoverFrom_ = s->hoverFrom_;
    hoverTo_ = s->hoverTo_;
    hoverMirrorFrom_ = s->hoverMirrorFrom_;
    hoverMirrorTo_ = s->hoverMirrorTo_;
    hoverBorder_ = s->hoverBorder_;
    downFrom_ = s->downFrom_;
    downTo_ = s->downTo_;
    downMirrorFrom_ = s->downMirrorFrom_;
    downMirrorTo_ = s->downMirrorTo_;
    downBorder_ = s->downBorder_;
    dropDownAlwaysVisible_ = s->dropDownAlwaysVisible_;
    spinButtonsAlwaysVisible_ = s->spinButtonsAlwaysVisible_;
    dropDownCount_ = s->dropDownCount_;
    dropDownFooter_->Assign(s->dropDownFooter_.get());
    dropDownHeader_->Assign(s->dropDownHeader_.get());
    hintMaxWidth_ = s->hintMaxWidth_;
}

void TControlLook::SetCheckedGlyph(TBitmap* Value)
{
    checkedGlyph_->Assign(Value);
    InvalidateGrid();
}

void TControlLook::SetUnCheckedGlyph(TBitmap* Value)
{
    unCheckedGlyph_->Assign(Value);
    InvalidateGrid();
}

void TControlLook::SetRadioOnGlyph(TBitmap* Value)
{
    radioOnGlyph_->Assign(Value);
    InvalidateGrid();
}

void TControlLook::SetRadioOffGlyph(TBitmap* Value)
{
    radioOffGlyph_->Assign(Value);
    InvalidateGrid();
}

void TControlLook::SetDropDownHeader(THeaderAppearance* Value)
{
    dropDownHeader_->Assign(Value);
}

void TControlLook::SetDropDownFooter(TFooterAppearance* Value)
{
    dropDownFooter_->Assign(Value);
}

void TControlLook::SetFixedGradientFrom(TColor Value)
{
    fixedGradientFrom_ = Value;
    if (Value != clNone)
        grid_->SetPackGradientFrom(Value);
}

void TControlLook::SetFixedGradientTo(TColor Value)
{
    fixedGradientTo_ = Value;
    if (Value != clNone)
        grid_->SetPackGradientTo(Value);
}

void TControlLook::SetFixedGradientMirrorFrom(TColor Value)
{
    fixedGradientMirrorFrom_ = Value;
    grid_->SetPackGradientMirrorFrom(Value);
}

void TControlLook::SetFixedGradientMirrorTo(TColor Value)
{
    fixedGradientMirrorTo_ = Value;
    grid_->SetPackGradientMirrorTo(Value);
}

void TControlLook::SetFixedGradientHoverFrom(TColor Value) { HandOn(hoverFrom_, grid_->FPackGradHoverFrom, Value, true); }
void TControlLook::SetFixedGradientHoverTo(TColor Value) { HandOn(hoverTo_, grid_->FPackGradHoverTo, Value, true); }
void TControlLook::SetFixedGradientHoverMirrorFrom(TColor Value) { HandOn(hoverMirrorFrom_, grid_->FPackGradHoverMirrorFrom, Value, false); }
void TControlLook::SetFixedGradientHoverMirrorTo(TColor Value) { HandOn(hoverMirrorTo_, grid_->FPackGradHoverMirrorTo, Value, false); }
void TControlLook::SetFixedGradientHoverBorder(TColor Value) { HandOn(hoverBorder_, grid_->FPackGradHoverBorder, Value, true); }
void TControlLook::SetFixedGradientDownFrom(TColor Value) { HandOn(downFrom_, grid_->FPackGradDownFrom, Value, true); }
void TControlLook::SetFixedGradientDownTo(TColor Value) { HandOn(downTo_, grid_->FPackGradDownTo, Value, true); }
void TControlLook::SetFixedGradientDownMirrorFrom(TColor Value) { HandOn(downMirrorFrom_, grid_->FPackGradDownMirrorFrom, Value, false); }
void TControlLook::SetFixedGradientDownMirrorTo(TColor Value) { HandOn(downMirrorTo_, grid_->FPackGradDownMirrorTo, Value, false); }
void TControlLook::SetFixedGradientDownBorder(TColor Value) { HandOn(downBorder_, grid_->FPackGradDownBorder, Value, true); }

// ---------------------------------------------------------------------------
// TBackGround

TBackGround::TBackGround(TControl* AGrid) : grid_(AGrid), bitmap_(New<TBitmap>()) {}

void TBackGround::SetBitmap(TBitmap* Value)
{
    bitmap_->Assign(Value);
    grid_->Invalidate();
}

void TBackGround::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TBackGround*>(Source);
    if (!s)
        return;
    top_ = s->top_;
    left_ = s->left_;
    display_ = s->display_;
    bitmap_->Assign(s->bitmap_.get());
    cells_ = s->cells_;
    color_ = s->color_;
    colorTo_ = s->colorTo_;
}

// ---------------------------------------------------------------------------
// TGridProgressAppearance

void TGridProgressAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TGridProgressAppearance*>(Source);
    if (!s)
        return;
    completeColor_ = s->completeColor_;
    completeFontColor_ = s->completeFontColor_;
    unCompleteColor_ = s->unCompleteColor_;
    unCompleteFontColor_ = s->unCompleteFontColor_;
    level0Color_ = s->level0Color_;
    level0ColorTo_ = s->level0ColorTo_;
    level1Color_ = s->level1Color_;
    level1ColorTo_ = s->level1ColorTo_;
    level2Color_ = s->level2Color_;
    level2ColorTo_ = s->level2ColorTo_;
    level3Color_ = s->level3Color_;
    level3ColorTo_ = s->level3ColorTo_;
    level1Perc_ = s->level1Perc_;
    level2Perc_ = s->level2Perc_;
    borderColor_ = s->borderColor_;
    showBorder_ = s->showBorder_;
    stacked_ = s->stacked_;
    showPercentage_ = s->showPercentage_;
    completionSmooth_ = s->completionSmooth_;
    showGradient_ = s->showGradient_;
    steps_ = s->steps_;
    style_ = s->style_;
    Changed();
}

// ---------------------------------------------------------------------------
// TGrouping

void TGrouping::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TGrouping*>(Source);
    if (!s)
        return;
    groupCountFormat_ = s->groupCountFormat_;
    headerColor_ = s->headerColor_;
    headerColorTo_ = s->headerColorTo_;
    headerTextColor_ = s->headerTextColor_;
    summaryColor_ = s->summaryColor_;
    summaryColorTo_ = s->summaryColorTo_;
    summaryTextColor_ = s->summaryTextColor_;
    headerUnderline_ = s->headerUnderline_;
    mergeHeader_ = s->mergeHeader_;
    mergeSummary_ = s->mergeSummary_;
    showGroupCount_ = s->showGroupCount_;
    summaryLine_ = s->summaryLine_;
    autoCheckGroup_ = s->autoCheckGroup_;
    autoSelectGroup_ = s->autoSelectGroup_;
}

// ---------------------------------------------------------------------------
// TDragDropSettings

void TDragDropSettings::SetOleDropTarget(bool Value)
{
    oleDropTarget_ = Value;
    if (grid_ && grid_->ComponentState().Contains(csDesigning))
        return;
    if (OnDropTargetChange)
        OnDropTargetChange(Value);
}

void TDragDropSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TDragDropSettings*>(Source);
    if (!s)
        return;
    oleDropTarget_ = s->oleDropTarget_;
    oleDropSource_ = s->oleDropSource_;
    oleAcceptFiles_ = s->oleAcceptFiles_;
    oleAcceptText_ = s->oleAcceptText_;
    oleAcceptURLs_ = s->oleAcceptURLs_;
    oleAppendRows_ = s->oleAppendRows_;
    oleCopyAlways_ = s->oleCopyAlways_;
    oleEntireRows_ = s->oleEntireRows_;
    oleInsertRows_ = s->oleInsertRows_;
    oleRemoveRows_ = s->oleRemoveRows_;
    oleDropRTF_ = s->oleDropRTF_;
    oleColumnDragDrop_ = s->oleColumnDragDrop_;
    oleColumnsOnly_ = s->oleColumnsOnly_;
    oleColumnReorder_ = s->oleColumnReorder_;
    showCells_ = s->showCells_;
}

// ---------------------------------------------------------------------------
// TBalloonSettings, TShowModified, drag scrolling

void TBalloonSettings::SetEnable(bool Value)
{
    if (StoreChanged(enable_, Value))
        FireEvent(OnEnableChange, this);
}

void TBalloonSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TBalloonSettings*>(Source);
    if (!s)
        return;
    textColor_ = s->textColor_;
    backgroundColor_ = s->backgroundColor_;
    initialDelay_ = s->initialDelay_;
    autoHideDelay_ = s->autoHideDelay_;
    reshowDelay_ = s->reshowDelay_;
    transparency_ = s->transparency_;
    enable_ = s->enable_;
}

void TShowModified::SetColor(TColor Value)
{
    color_ = Value;
    FireEvent(OnChange, this);
}

void TShowModified::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TShowModified*>(Source);
    if (!s)
        return;
    color_ = s->color_;
    enabled_ = s->enabled_;
}

void TDragScrollDelays::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TDragScrollDelays*>(Source)) {
        initialDelay_ = s->initialDelay_;
        repeatDelay_ = s->repeatDelay_;
    }
}

void TDragScrollMargins::Assign(TPersistent* Source)
{
    if (auto* s = dynamic_cast<TDragScrollMargins*>(Source)) {
        top_ = s->top_;
        bottom_ = s->bottom_;
        left_ = s->left_;
        right_ = s->right_;
    }
}

TDragScrollOptions::TDragScrollOptions() : delays_(New<TDragScrollDelays>()), margins_(New<TDragScrollMargins>()) {}

void TDragScrollOptions::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TDragScrollOptions*>(Source);
    if (!s)
        return;
    margins_->Assign(s->margins_.get());
    delays_->Assign(s->delays_.get());
    active_ = s->active_;
}

// ---------------------------------------------------------------------------
// TSortSettings

TSortSettings::TSortSettings(TControl* AGrid)
    : grid_(AGrid), normalGlyph_(New<TBitmap>()), upGlyph_(New<TBitmap>()), indexUpGlyph_(New<TBitmap>()),
      indexDownGlyph_(New<TBitmap>())
{
}

void TSortSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TSortSettings*>(Source);
    if (!s)
        return;
    show_ = s->show_;
    indexShow_ = s->indexShow_;
    column_ = s->column_;
    row_ = s->row_;
    fixedCols_ = s->fixedCols_;
    direction_ = s->direction_;
    full_ = s->full_;
    autoFormat_ = s->autoFormat_;
    ignoreCase_ = s->ignoreCase_;
    autoSortForGrouping_ = s->autoSortForGrouping_;
    indexColor_ = s->indexColor_;
    indexSortKey_ = s->indexSortKey_;
    headerColor_ = s->headerColor_;
    headerColorTo_ = s->headerColorTo_;
    headerMirrorColor_ = s->headerMirrorColor_;
    headerMirrorColorTo_ = s->headerMirrorColorTo_;
    normalGlyph_->Assign(s->normalGlyph_.get());
    upGlyph_->Assign(s->upGlyph_.get());
    indexUpGlyph_->Assign(s->indexUpGlyph_.get());
    indexDownGlyph_->Assign(s->indexDownGlyph_.get());
    singleColumn_ = s->singleColumn_;
    ignoreBlanks_ = s->ignoreBlanks_;
    blankPos_ = s->blankPos_;
    normalCellsOnly_ = s->normalCellsOnly_;
    autoColumnMerge_ = s->autoColumnMerge_;
    initSortDirection_ = s->initSortDirection_;
    undoSort_ = s->undoSort_;
    defaultFormat_ = s->defaultFormat_;
    downGlyph_->Assign(s->downGlyph_.get());
}
