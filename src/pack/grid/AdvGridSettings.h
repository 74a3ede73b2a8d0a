// The data grid's settings objects: nodes, column sizes, HTML export,
// printing, colours and hover buttons.
#pragma once

#include "AdvGridOptions.h"
#include "Printers.h"

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
