// The grid's appearance objects (control look, background, progress bars,
// grouping, drag and drop, balloons, modified rows, drag scrolling) and its
// sorting and filtering settings. The grid creates them in its constructor,
// publishes them and frees them; the painting and the operations that read
// them live with the grid.
#pragma once

#include "AdvGridObjects.h"
#include "CheckLst.h"
#include "StdCtrls.h"

class TAdvStringGrid;
class THeaderAppearance;
class TFooterAppearance;

// ===========================================================================
// Appearance

// The class library's TControlStyle is the set of a control's style flags;
// the glyph family of the cell controls keeps the same name in its own
// namespace, its values at global scope.
namespace AdvGrid {
enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csPack, csGlyph, csTheme };
}
using enum AdvGrid::TControlStyle;

// The look of the controls in cells and the gradient of the fixed cells.
// The gradient colours are handed on to the grid, which paints with them.
class TControlLook : public TPersistent {
public:
    explicit TControlLook(TAdvStringGrid* AOwner);
    ~TControlLook() override;
    // The colours a style change starts from.
    void Init();
    // Copies another control look's values without handing the gradient on
    // to the grid and without repainting; other sources are ignored.
    void Assign(TPersistent* Source) override;

    int GetCheckSize() const { return checkSize_; }
    void SetCheckSize(int Value) { StoreAndInvalidate(checkSize_, Value); }
    int GetRadioSize() const { return radioSize_; }
    void SetRadioSize(int Value) { StoreAndInvalidate(radioSize_, Value); }
    TBitmap* GetCheckedGlyph() const { return checkedGlyph_.get(); }
    void SetCheckedGlyph(TBitmap* Value);
    TBitmap* GetUnCheckedGlyph() const { return unCheckedGlyph_.get(); }
    void SetUnCheckedGlyph(TBitmap* Value);
    TBitmap* GetRadioOnGlyph() const { return radioOnGlyph_.get(); }
    void SetRadioOnGlyph(TBitmap* Value);
    TBitmap* GetRadioOffGlyph() const { return radioOffGlyph_.get(); }
    void SetRadioOffGlyph(TBitmap* Value);
    AdvGrid::TControlStyle GetControlStyle() const { return controlStyle_; }
    void SetControlStyle(AdvGrid::TControlStyle Value) { StoreAndInvalidate(controlStyle_, Value); }
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value) { StoreAndInvalidate(color_, Value); }
    TColor GetCommentColor() const { return commentColor_; }
    void SetCommentColor(TColor Value) { StoreAndInvalidate(commentColor_, Value); }
    TColor GetProgressBorderColor() const { return progressBorderColor_; }
    void SetProgressBorderColor(TColor Value) { progressBorderColor_ = Value; }
    int GetProgressMarginX() const { return progressMarginX_; }
    void SetProgressMarginX(int Value) { StoreAndInvalidate(progressMarginX_, Value); }
    int GetProgressMarginY() const { return progressMarginY_; }
    void SetProgressMarginY(int Value) { StoreAndInvalidate(progressMarginY_, Value); }
    bool GetProgressXP() const { return progressXP_; }
    void SetProgressXP(bool Value) { StoreAndInvalidate(progressXP_, Value); }
    bool GetFlatButton() const { return flatButton_; }
    void SetFlatButton(bool Value) { StoreAndInvalidate(flatButton_, Value); }
    bool GetDropDownAlwaysVisible() const { return dropDownAlwaysVisible_; }
    void SetDropDownAlwaysVisible(bool Value) { StoreAndInvalidate(dropDownAlwaysVisible_, Value); }
    bool GetSpinButtonsAlwaysVisible() const { return spinButtonsAlwaysVisible_; }
    void SetSpinButtonsAlwaysVisible(bool Value) { StoreAndInvalidate(spinButtonsAlwaysVisible_, Value); }
    bool GetNoDisabledCheckRadioLook() const { return noDisabledCheckRadioLook_; }
    void SetNoDisabledCheckRadioLook(bool Value) { StoreAndInvalidate(noDisabledCheckRadioLook_, Value); }
    bool GetNoDisabledButtonLook() const { return noDisabledButtonLook_; }
    void SetNoDisabledButtonLook(bool Value) { StoreAndInvalidate(noDisabledButtonLook_, Value); }
    bool GetCheckAlwaysActive() const { return checkAlwaysActive_; }
    void SetCheckAlwaysActive(bool Value) { checkAlwaysActive_ = Value; }
    bool GetRadioAlwaysActive() const { return radioAlwaysActive_; }
    void SetRadioAlwaysActive(bool Value) { radioAlwaysActive_ = Value; }
    bool GetFixedDropDownButton() const { return fixedDropDownButton_; }
    void SetFixedDropDownButton(bool Value) { fixedDropDownButton_ = Value; }
    int GetDropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int Value) { dropDownCount_ = Value; }
    // Writing copies the appearance.
    THeaderAppearance* GetDropDownHeader() const { return dropDownHeader_.get(); }
    void SetDropDownHeader(THeaderAppearance* Value);
    TFooterAppearance* GetDropDownFooter() const { return dropDownFooter_.get(); }
    void SetDropDownFooter(TFooterAppearance* Value);
    int GetHintMaxWidth() const { return hintMaxWidth_; }
    void SetHintMaxWidth(int Value) { hintMaxWidth_ = Value; }
    bool GetButtonPrefix() const { return buttonPrefix_; }
    void SetButtonPrefix(bool Value) { buttonPrefix_ = Value; }

    // The header gradient. From, To and Border colours reach the grid unless
    // they are clNone; the mirror colours always do.
    TColor GetFixedGradientFrom() const { return fixedGradientFrom_; }
    void SetFixedGradientFrom(TColor Value);
    TColor GetFixedGradientTo() const { return fixedGradientTo_; }
    void SetFixedGradientTo(TColor Value);
    TColor GetFixedGradientMirrorFrom() const { return fixedGradientMirrorFrom_; }
    void SetFixedGradientMirrorFrom(TColor Value);
    TColor GetFixedGradientMirrorTo() const { return fixedGradientMirrorTo_; }
    void SetFixedGradientMirrorTo(TColor Value);
    TColor GetFixedGradientHoverFrom() const { return hoverFrom_; }
    void SetFixedGradientHoverFrom(TColor Value);
    TColor GetFixedGradientHoverTo() const { return hoverTo_; }
    void SetFixedGradientHoverTo(TColor Value);
    TColor GetFixedGradientHoverMirrorFrom() const { return hoverMirrorFrom_; }
    void SetFixedGradientHoverMirrorFrom(TColor Value);
    TColor GetFixedGradientHoverMirrorTo() const { return hoverMirrorTo_; }
    void SetFixedGradientHoverMirrorTo(TColor Value);
    TColor GetFixedGradientHoverBorder() const { return hoverBorder_; }
    void SetFixedGradientHoverBorder(TColor Value);
    TColor GetFixedGradientDownFrom() const { return downFrom_; }
    void SetFixedGradientDownFrom(TColor Value);
    TColor GetFixedGradientDownTo() const { return downTo_; }
    void SetFixedGradientDownTo(TColor Value);
    TColor GetFixedGradientDownMirrorFrom() const { return downMirrorFrom_; }
    void SetFixedGradientDownMirrorFrom(TColor Value);
    TColor GetFixedGradientDownMirrorTo() const { return downMirrorTo_; }
    void SetFixedGradientDownMirrorTo(TColor Value);
    TColor GetFixedGradientDownBorder() const { return downBorder_; }
    void SetFixedGradientDownBorder(TColor Value);

private:
    template <class T>
    void StoreAndInvalidate(T& field, const T& value)
    {
        if (StoreChanged(field, value))
            InvalidateGrid();
    }
    void InvalidateGrid();

    TAdvStringGrid* grid_ = nullptr;
    int checkSize_ = 15;
    int radioSize_ = 10;
    TOwned<TBitmap> checkedGlyph_;
    TOwned<TBitmap> unCheckedGlyph_;
    TOwned<TBitmap> radioOnGlyph_;
    TOwned<TBitmap> radioOffGlyph_;
    AdvGrid::TControlStyle controlStyle_ = csTheme;
    TColor color_ = 0x000000;
    TColor commentColor_ = 0x0000FF;
    TColor progressBorderColor_ = 0x808080;
    int progressMarginX_ = 2;
    int progressMarginY_ = 2;
    bool progressXP_ = false;
    bool flatButton_ = false;
    bool dropDownAlwaysVisible_ = false;
    bool spinButtonsAlwaysVisible_ = false;
    bool noDisabledCheckRadioLook_ = false;
    bool noDisabledButtonLook_ = false;
    bool checkAlwaysActive_ = false;
    bool radioAlwaysActive_ = false;
    bool fixedDropDownButton_ = false;
    int dropDownCount_ = 8;
    TOwned<THeaderAppearance> dropDownHeader_;
    TOwned<TFooterAppearance> dropDownFooter_;
    int hintMaxWidth_ = 0;
    bool buttonPrefix_ = false;
    TColor fixedGradientFrom_ = clNone;
    TColor fixedGradientTo_ = clNone;
    TColor fixedGradientMirrorFrom_ = clNone;
    TColor fixedGradientMirrorTo_ = clNone;
    TColor hoverFrom_ = 0x808080;
    TColor hoverTo_ = 0xFFFFFF;
    TColor hoverMirrorFrom_ = clNone;
    TColor hoverMirrorTo_ = clNone;
    TColor hoverBorder_ = 0xC0C0C0;
    TColor downFrom_ = 0x808080;
    TColor downTo_ = 0xC0C0C0;
    TColor downMirrorFrom_ = clNone;
    TColor downMirrorTo_ = clNone;
    TColor downBorder_ = 0x808080;
};

enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

// A picture or gradient behind the cells.
class TBackGround : public TPersistent {
public:
    explicit TBackGround(TControl* AGrid);
    void Assign(TPersistent* Source) override;

    // Writing copies the picture.
    TBitmap* GetBitmap() const { return bitmap_.get(); }
    void SetBitmap(TBitmap* Value);
    int GetLeft() const { return left_; }
    void SetLeft(int Value) { Store(left_, Value); }
    int GetTop() const { return top_; }
    void SetTop(int Value) { Store(top_, Value); }
    TBackGroundDisplay GetDisplay() const { return display_; }
    void SetDisplay(TBackGroundDisplay Value) { Store(display_, Value); }
    TBackGroundCells GetCells() const { return cells_; }
    void SetCells(TBackGroundCells Value) { Store(cells_, Value); }
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value) { Store(color_, Value); }
    TColor GetColorTo() const { return colorTo_; }
    void SetColorTo(TColor Value) { Store(colorTo_, Value); }
    // A gradient whose end colour is set.
    bool IsGradient() const { return (display_ == bdGradientHorz || display_ == bdGradientVert) && colorTo_ != clNone; }

private:
    template <class T>
    void Store(T& field, const T& value)
    {
        field = value;
        grid_->Invalidate();
    }

    TControl* grid_ = nullptr;
    TOwned<TBitmap> bitmap_;
    int left_ = 0;
    int top_ = 0;
    TBackGroundDisplay display_ = bdTile;
    TBackGroundCells cells_ = bcNormal;
    TColor color_ = clWindow;
    TColor colorTo_ = clBtnFace;
};

enum TProgressStyle { psXP, psClassic };

// The look of the progress bars drawn in cells.
class TGridProgressAppearance : public TPersistent {
public:
    // Copies every setting, then reports the change.
    void Assign(TPersistent* Source) override;

    TColor GetCompleteColor() const { return completeColor_; }
    void SetCompleteColor(TColor Value) { Store(completeColor_, Value); }
    TColor GetCompleteFontColor() const { return completeFontColor_; }
    void SetCompleteFontColor(TColor Value) { Store(completeFontColor_, Value); }
    // clNone: the cell's brush.
    TColor GetUnCompleteColor() const { return unCompleteColor_; }
    void SetUnCompleteColor(TColor Value) { Store(unCompleteColor_, Value); }
    TColor GetUnCompleteFontColor() const { return unCompleteFontColor_; }
    void SetUnCompleteFontColor(TColor Value) { Store(unCompleteFontColor_, Value); }
    TColor GetLevel0Color() const { return level0Color_; }
    void SetLevel0Color(TColor Value) { Store(level0Color_, Value); }
    TColor GetLevel0ColorTo() const { return level0ColorTo_; }
    void SetLevel0ColorTo(TColor Value) { Store(level0ColorTo_, Value); }
    TColor GetLevel1Color() const { return level1Color_; }
    void SetLevel1Color(TColor Value) { Store(level1Color_, Value); }
    TColor GetLevel1ColorTo() const { return level1ColorTo_; }
    void SetLevel1ColorTo(TColor Value) { Store(level1ColorTo_, Value); }
    TColor GetLevel2Color() const { return level2Color_; }
    void SetLevel2Color(TColor Value) { Store(level2Color_, Value); }
    TColor GetLevel2ColorTo() const { return level2ColorTo_; }
    void SetLevel2ColorTo(TColor Value) { Store(level2ColorTo_, Value); }
    TColor GetLevel3Color() const { return level3Color_; }
    void SetLevel3Color(TColor Value) { Store(level3Color_, Value); }
    TColor GetLevel3ColorTo() const { return level3ColorTo_; }
    void SetLevel3ColorTo(TColor Value) { Store(level3ColorTo_, Value); }
    int GetLevel1Perc() const { return level1Perc_; }
    void SetLevel1Perc(int Value) { Store(level1Perc_, Value); }
    int GetLevel2Perc() const { return level2Perc_; }
    void SetLevel2Perc(int Value) { Store(level2Perc_, Value); }
    TColor GetBorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value) { Store(borderColor_, Value); }
    bool GetShowBorder() const { return showBorder_; }
    void SetShowBorder(bool Value) { Store(showBorder_, Value); }
    bool GetStacked() const { return stacked_; }
    void SetStacked(bool Value) { Store(stacked_, Value); }
    bool GetShowPercentage() const { return showPercentage_; }
    void SetShowPercentage(bool Value) { Store(showPercentage_, Value); }
    bool GetCompletionSmooth() const { return completionSmooth_; }
    void SetCompletionSmooth(bool Value) { Store(completionSmooth_, Value); }
    bool GetShowGradient() const { return showGradient_; }
    void SetShowGradient(bool Value) { Store(showGradient_, Value); }
    int GetSteps() const { return steps_; }
    void SetSteps(int Value) { Store(steps_, Value); }
    TProgressStyle GetStyle() const { return style_; }
    void SetStyle(TProgressStyle Value) { Store(style_, Value); }

    TNotifyEvent OnChange;

protected:
    virtual void Changed() { FireEvent(OnChange, this); }

private:
    template <class T>
    void Store(T& field, const T& value)
    {
        if (StoreChanged(field, value))
            Changed();
    }

    TColor completeColor_ = 0x0000FF;
    TColor completeFontColor_ = 0xFF0000;
    TColor unCompleteColor_ = clNone;
    TColor unCompleteFontColor_ = clWindowText;
    TColor level0Color_ = 0x00FF00;
    TColor level0ColorTo_ = 0xE1FFE1;
    TColor level1Color_ = 0x00FFFF;
    TColor level1ColorTo_ = 0xCAFFFF;
    TColor level2Color_ = 0x53A9FF;
    TColor level2ColorTo_ = 0xA8D3FF;
    TColor level3Color_ = 0x0000FF;
    TColor level3ColorTo_ = 0xCACAFF;
    int level1Perc_ = 70;
    int level2Perc_ = 90;
    TColor borderColor_ = 0x000000;
    bool showBorder_ = false;
    bool stacked_ = false;
    bool showPercentage_ = true;
    bool completionSmooth_ = true;
    bool showGradient_ = true;
    int steps_ = 11;
    TProgressStyle style_ = psXP;
};

// The look of group headers and summaries.
class TGrouping : public TPersistent {
public:
    // The line colours and widths and Summary are not copied.
    void Assign(TPersistent* Source) override;

    TColor GetHeaderColor() const { return headerColor_; }
    void SetHeaderColor(TColor Value) { headerColor_ = Value; }
    TColor GetHeaderColorTo() const { return headerColorTo_; }
    void SetHeaderColorTo(TColor Value) { headerColorTo_ = Value; }
    TColor GetHeaderTextColor() const { return headerTextColor_; }
    void SetHeaderTextColor(TColor Value) { headerTextColor_ = Value; }
    bool GetHeaderUnderline() const { return headerUnderline_; }
    void SetHeaderUnderline(bool Value) { headerUnderline_ = Value; }
    TColor GetHeaderLineColor() const { return headerLineColor_; }
    void SetHeaderLineColor(TColor Value) { headerLineColor_ = Value; }
    int GetHeaderLineWidth() const { return headerLineWidth_; }
    void SetHeaderLineWidth(int Value) { headerLineWidth_ = Value; }
    TColor GetSummaryColor() const { return summaryColor_; }
    void SetSummaryColor(TColor Value) { summaryColor_ = Value; }
    TColor GetSummaryColorTo() const { return summaryColorTo_; }
    void SetSummaryColorTo(TColor Value) { summaryColorTo_ = Value; }
    TColor GetSummaryTextColor() const { return summaryTextColor_; }
    void SetSummaryTextColor(TColor Value) { summaryTextColor_ = Value; }
    bool GetSummaryLine() const { return summaryLine_; }
    void SetSummaryLine(bool Value) { summaryLine_ = Value; }
    TColor GetSummaryLineColor() const { return summaryLineColor_; }
    void SetSummaryLineColor(TColor Value) { summaryLineColor_ = Value; }
    int GetSummaryLineWidth() const { return summaryLineWidth_; }
    void SetSummaryLineWidth(int Value) { summaryLineWidth_ = Value; }
    const String& GetGroupCountFormat() const { return groupCountFormat_; }
    void SetGroupCountFormat(const String& Value) { groupCountFormat_ = Value; }
    bool GetMergeHeader() const { return mergeHeader_; }
    void SetMergeHeader(bool Value) { mergeHeader_ = Value; }
    bool GetMergeSummary() const { return mergeSummary_; }
    void SetMergeSummary(bool Value) { mergeSummary_ = Value; }
    bool GetShowGroupCount() const { return showGroupCount_; }
    void SetShowGroupCount(bool Value) { showGroupCount_ = Value; }
    bool GetSummary() const { return summary_; }
    void SetSummary(bool Value) { summary_ = Value; }
    bool GetAutoCheckGroup() const { return autoCheckGroup_; }
    void SetAutoCheckGroup(bool Value) { autoCheckGroup_ = Value; }
    bool GetAutoSelectGroup() const { return autoSelectGroup_; }
    void SetAutoSelectGroup(bool Value) { autoSelectGroup_ = Value; }

private:
    TColor headerColor_ = clNone;
    TColor headerColorTo_ = clNone;
    TColor headerTextColor_ = clNone;
    bool headerUnderline_ = false;
    TColor headerLineColor_ = 0xFF0000;
    int headerLineWidth_ = 2;
    TColor summaryColor_ = clNone;
    TColor summaryColorTo_ = clNone;
    TColor summaryTextColor_ = clNone;
    bool summaryLine_ = false;
    TColor summaryLineColor_ = 0xFF0000;
    int summaryLineWidth_ = 2;
    String groupCountFormat_;
    bool mergeHeader_ = false;
    bool mergeSummary_ = false;
    bool showGroupCount_ = false;
    bool summary_ = false;
    bool autoCheckGroup_ = false;
    bool autoSelectGroup_ = false;
};

// OLE drag and drop switches. Registering the grid as a drop target belongs
// to the drag-and-drop code, which connects OnDropTargetChange.
class TDragDropSettings : public TPersistent {
public:
    explicit TDragDropSettings(TComponent* AGrid) : grid_(AGrid) {}
    // Copies the fifteen switches as plain values; registers nothing.
    void Assign(TPersistent* Source) override;

    bool GetOleDropTarget() const { return oleDropTarget_; }
    // Not while designing: asks the drag-and-drop code to register or revoke.
    void SetOleDropTarget(bool Value);
    bool GetOleDropSource() const { return oleDropSource_; }
    void SetOleDropSource(bool Value) { oleDropSource_ = Value; }
    bool GetOleAcceptFiles() const { return oleAcceptFiles_; }
    void SetOleAcceptFiles(bool Value) { oleAcceptFiles_ = Value; }
    bool GetOleAcceptText() const { return oleAcceptText_; }
    void SetOleAcceptText(bool Value) { oleAcceptText_ = Value; }
    bool GetOleAcceptURLs() const { return oleAcceptURLs_; }
    void SetOleAcceptURLs(bool Value) { oleAcceptURLs_ = Value; }
    bool GetOleAppendRows() const { return oleAppendRows_; }
    void SetOleAppendRows(bool Value) { oleAppendRows_ = Value; }
    bool GetOleCopyAlways() const { return oleCopyAlways_; }
    void SetOleCopyAlways(bool Value) { oleCopyAlways_ = Value; }
    bool GetOleEntireRows() const { return oleEntireRows_; }
    void SetOleEntireRows(bool Value) { oleEntireRows_ = Value; }
    bool GetOleInsertRows() const { return oleInsertRows_; }
    void SetOleInsertRows(bool Value) { oleInsertRows_ = Value; }
    bool GetOleRemoveRows() const { return oleRemoveRows_; }
    void SetOleRemoveRows(bool Value) { oleRemoveRows_ = Value; }
    bool GetOleDropRTF() const { return oleDropRTF_; }
    void SetOleDropRTF(bool Value) { oleDropRTF_ = Value; }
    bool GetOleColumnDragDrop() const { return oleColumnDragDrop_; }
    void SetOleColumnDragDrop(bool Value) { oleColumnDragDrop_ = Value; }
    bool GetOleColumnsOnly() const { return oleColumnsOnly_; }
    void SetOleColumnsOnly(bool Value) { oleColumnsOnly_ = Value; }
    bool GetOleColumnReorder() const { return oleColumnReorder_; }
    void SetOleColumnReorder(bool Value) { oleColumnReorder_ = Value; }
    bool GetShowCells() const { return showCells_; }
    void SetShowCells(bool Value) { showCells_ = Value; }

    // Register (true) or revoke (false) the grid's drop target.
    std::function<void(bool Register)> OnDropTargetChange;

private:
    TComponent* grid_ = nullptr;
    bool oleDropTarget_ = false;
    bool oleDropSource_ = false;
    bool oleAcceptFiles_ = true;
    bool oleAcceptText_ = true;
    bool oleAcceptURLs_ = true;
    bool oleAppendRows_ = false;
    bool oleCopyAlways_ = false;
    bool oleEntireRows_ = false;
    bool oleInsertRows_ = false;
    bool oleRemoveRows_ = false;
    bool oleDropRTF_ = false;
    bool oleColumnDragDrop_ = false;
    bool oleColumnsOnly_ = false;
    bool oleColumnReorder_ = false;
    bool showCells_ = true;
};

// The balloon tooltip of the cells.
class TBalloonSettings : public TPersistent {
public:
    // Copies every value without OnEnableChange.
    void Assign(TPersistent* Source) override;

    bool GetEnable() const { return enable_; }
    // A change fires OnEnableChange.
    void SetEnable(bool Value);
    TColor GetTextColor() const { return textColor_; }
    void SetTextColor(TColor Value) { textColor_ = Value; }
    TColor GetBackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor Value) { backgroundColor_ = Value; }
    // -1: the system's delay.
    int GetInitialDelay() const { return initialDelay_; }
    void SetInitialDelay(int Value) { initialDelay_ = Value; }
    int GetAutoHideDelay() const { return autoHideDelay_; }
    void SetAutoHideDelay(int Value) { autoHideDelay_ = Value; }
    int GetReshowDelay() const { return reshowDelay_; }
    void SetReshowDelay(int Value) { reshowDelay_ = Value; }
    Byte GetTransparency() const { return transparency_; }
    void SetTransparency(Byte Value) { transparency_ = Value; }

    TNotifyEvent OnEnableChange;

private:
    bool enable_ = false;
    TColor textColor_ = clNone;
    TColor backgroundColor_ = clNone;
    int initialDelay_ = -1;
    int autoHideDelay_ = -1;
    int reshowDelay_ = -1;
    Byte transparency_ = 0;
};

// The mark of modified rows in the first column.
class TShowModified : public TPersistent {
public:
    void Assign(TPersistent* Source) override;

    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    TColor GetColor() const { return color_; }
    // Fires OnChange.
    void SetColor(TColor Value);

    TNotifyEvent OnChange;

private:
    bool enabled_ = false;
    TColor color_ = 0x00FFFF;
};

// Delays of scrolling while dragging near an edge, in milliseconds.
class TDragScrollDelays : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    int GetInitialDelay() const { return initialDelay_; }
    void SetInitialDelay(int Value) { initialDelay_ = Value; }
    int GetRepeatDelay() const { return repeatDelay_; }
    void SetRepeatDelay(int Value) { repeatDelay_ = Value; }

private:
    int initialDelay_ = 1000;
    int repeatDelay_ = 250;
};

// How near an edge dragging scrolls, in pixels.
class TDragScrollMargins : public TPersistent {
public:
    void Assign(TPersistent* Source) override;
    int GetTopMargin() const { return top_; }
    void SetTopMargin(int Value) { top_ = Value; }
    int GetBottomMargin() const { return bottom_; }
    void SetBottomMargin(int Value) { bottom_ = Value; }
    int GetLeftMargin() const { return left_; }
    void SetLeftMargin(int Value) { left_ = Value; }
    int GetRightMargin() const { return right_; }
    void SetRightMargin(int Value) { right_ = Value; }

private:
    int top_ = 50;
    int bottom_ = 50;
    int left_ = 50;
    int right_ = 50;
};

class TDragScrollOptions : public TPersistent {
public:
    TDragScrollOptions();
    void Assign(TPersistent* Source) override;

    bool GetActive() const { return active_; }
    void SetActive(bool Value) { active_ = Value; }
    TDragScrollDelays* GetDelays() const { return delays_.get(); }
    void SetDelays(TDragScrollDelays* Value) { delays_->Assign(Value); }
    TDragScrollMargins* GetMargins() const { return margins_.get(); }
    void SetMargins(TDragScrollMargins* Value) { margins_->Assign(Value); }

private:
    bool active_ = false;
    TOwned<TDragScrollDelays> delays_;
    TOwned<TDragScrollMargins> margins_;
};

// ===========================================================================
// Sorting and filtering settings

enum TSortDirection { sdAscending, sdDescending };
enum TIndexSortKey { ikShift, ikCtrl, ikAlt, ikNone };
enum TSortBlankPosition { blFirst, blLast };
enum TSortStyle {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS,
    ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox,
    ssDateTime, ssTime, ssAlphaNumeric, ssAlphaNumericNoCase, ssNatural
};

// How the grid sorts and shows the sort column.
class TSortSettings : public TPersistent {
public:
    explicit TSortSettings(TControl* AGrid);
    void Assign(TPersistent* Source) override;

    bool GetShow() const { return show_; }
    void SetShow(bool Value) { show_ = Value; }
    bool GetIndexShow() const { return indexShow_; }
    void SetIndexShow(bool Value) { indexShow_ = Value; }
    // -1: no sort column.
    int GetColumn() const { return column_; }
    void SetColumn(int Value) { column_ = Value; }
    int GetRow() const { return row_; }
    void SetRow(int Value) { row_ = Value; }
    bool GetFixedCols() const { return fixedCols_; }
    void SetFixedCols(bool Value) { fixedCols_ = Value; }
    TSortDirection GetDirection() const { return direction_; }
    void SetDirection(TSortDirection Value) { direction_ = Value; }
    bool GetFull() const { return full_; }
    void SetFull(bool Value) { full_ = Value; }
    bool GetAutoFormat() const { return autoFormat_; }
    void SetAutoFormat(bool Value) { autoFormat_ = Value; }
    bool GetIgnoreCase() const { return ignoreCase_; }
    void SetIgnoreCase(bool Value) { ignoreCase_ = Value; }
    bool GetAutoSortForGrouping() const { return autoSortForGrouping_; }
    void SetAutoSortForGrouping(bool Value) { autoSortForGrouping_ = Value; }
    TColor GetIndexColor() const { return indexColor_; }
    void SetIndexColor(TColor Value) { indexColor_ = Value; }
    TIndexSortKey GetIndexSortKey() const { return indexSortKey_; }
    void SetIndexSortKey(TIndexSortKey Value) { indexSortKey_ = Value; }
    // The header colours repaint the grid.
    TColor GetHeaderColor() const { return headerColor_; }
    void SetHeaderColor(TColor Value) { StoreAndInvalidate(headerColor_, Value); }
    TColor GetHeaderColorTo() const { return headerColorTo_; }
    void SetHeaderColorTo(TColor Value) { StoreAndInvalidate(headerColorTo_, Value); }
    TColor GetHeaderMirrorColor() const { return headerMirrorColor_; }
    void SetHeaderMirrorColor(TColor Value) { StoreAndInvalidate(headerMirrorColor_, Value); }
    TColor GetHeaderMirrorColorTo() const { return headerMirrorColorTo_; }
    void SetHeaderMirrorColorTo(TColor Value) { StoreAndInvalidate(headerMirrorColorTo_, Value); }
    // The sort glyphs; writing copies the picture.
    TBitmap* GetNormalGlyph() const { return normalGlyph_.get(); }
    void SetNormalGlyph(TBitmap* Value) { normalGlyph_->Assign(Value); }
    TBitmap* GetUpGlyph() const { return upGlyph_.get(); }
    void SetUpGlyph(TBitmap* Value) { upGlyph_->Assign(Value); }
    TBitmap* GetIndexUpGlyph() const { return indexUpGlyph_.get(); }
    void SetIndexUpGlyph(TBitmap* Value) { indexUpGlyph_->Assign(Value); }
    TBitmap* GetIndexDownGlyph() const { return indexDownGlyph_.get(); }
    void SetIndexDownGlyph(TBitmap* Value) { indexDownGlyph_->Assign(Value); }

    // --- how rows sort (the sort routines of the grid read these)
    bool GetSingleColumn() const { return singleColumn_; }
    void SetSingleColumn(bool Value) { singleColumn_ = Value; }
    bool GetIgnoreBlanks() const { return ignoreBlanks_; }
    void SetIgnoreBlanks(bool Value) { ignoreBlanks_ = Value; }
    TSortBlankPosition GetBlankPos() const { return blankPos_; }
    void SetBlankPos(TSortBlankPosition Value) { blankPos_ = Value; }
    bool GetNormalCellsOnly() const { return normalCellsOnly_; }
    void SetNormalCellsOnly(bool Value) { normalCellsOnly_ = Value; }
    bool GetAutoColumnMerge() const { return autoColumnMerge_; }
    void SetAutoColumnMerge(bool Value) { autoColumnMerge_ = Value; }
    TSortDirection GetInitSortDirection() const { return initSortDirection_; }
    void SetInitSortDirection(TSortDirection Value) { initSortDirection_ = Value; }
    bool GetUndoSort() const { return undoSort_; }
    void SetUndoSort(bool Value) { undoSort_ = Value; }
    bool GetSortOnVirtualCells() const { return sortOnVirtualCells_; }
    void SetSortOnVirtualCells(bool Value) { sortOnVirtualCells_ = Value; }
    TSortStyle GetDefaultFormat() const { return defaultFormat_; }
    void SetDefaultFormat(TSortStyle Value) { defaultFormat_ = Value; }
    TBitmap* GetDownGlyph() const { return downGlyph_.get(); }
    void SetDownGlyph(TBitmap* Value) { downGlyph_->Assign(Value); }
    // "u3" or "d3" for a sort on column 3; "i;u2;d5" for an indexed sort.
    String SaveToString() const;
    // Sorts the grid as the string says. An empty string changes nothing;
    // a one-character string raises.
    void LoadFromString(const String& Value);
    // Unsorted, without moving rows.
    void Remove();
    void ToggleDirection();

private:
    template <class T>
    void StoreAndInvalidate(T& field, const T& value)
    {
        if (StoreChanged(field, value))
            grid_->Invalidate();
    }

    TControl* grid_ = nullptr;
    bool show_ = false;
    bool indexShow_ = false;
    int column_ = -1;
    int row_ = 0;
    bool fixedCols_ = false;
    TSortDirection direction_ = sdAscending;
    bool full_ = true;
    bool autoFormat_ = true;
    bool ignoreCase_ = false;
    bool autoSortForGrouping_ = true;
    TColor indexColor_ = 0x00FFFF;
    TIndexSortKey indexSortKey_ = ikShift;
    TColor headerColor_ = clNone;
    TColor headerColorTo_ = clNone;
    TColor headerMirrorColor_ = clNone;
    TColor headerMirrorColorTo_ = clNone;
    TOwned<TBitmap> normalGlyph_;
    TOwned<TBitmap> upGlyph_;
    TOwned<TBitmap> indexUpGlyph_;
    TOwned<TBitmap> indexDownGlyph_;
    bool singleColumn_ = false;
    bool ignoreBlanks_ = false;
    TSortBlankPosition blankPos_ = blFirst;
    bool normalCellsOnly_ = false;
    bool autoColumnMerge_ = false;
    TSortDirection initSortDirection_ = sdAscending;
    bool undoSort_ = false;
    bool sortOnVirtualCells_ = true;
    TSortStyle defaultFormat_ = ssAutomatic;
    TOwned<TBitmap> downGlyph_{New<TBitmap>()};
};

