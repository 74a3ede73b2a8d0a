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

#include "AdvGridCellGraphic.h"
#include "AdvGridFilter.h"
#include "AdvGridFooter.h"
#include "AdvGridHints.h"
#include "AdvGridOverlays.h"
#include "AdvGridLook.h"
#include "AdvGridObjects.h"
#include "AdvGridTypes.h"
#include "AdvStyleIF.h"
#include "Forms.h"
#include "BaseGrid.h"
#include "BaseGridUndo.h"
#include "ImgList.h"
#include "Menus.h"
#include "PictureContainer.h"
#include "ScopeExit.h"
#include "UniqueHandle.h"
#include <memory>
#include <optional>
#include <vector>

class TAdvStringGrid;
class TAdvInplaceEdit;
class TAsgComboBox;
class TEditLink;
class TCustomIniFile;
class TRichEdit;
struct TStyleColors;

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
    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value);
    int GetLevel() const { return FLevel; }
    void SetLevel(int Value) { FLevel = Value; }

private:
    int FIdx = 0;
    int FHeight = 0;
    TOwned<TStrings> FItems;
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

// A cell text as a float: tags already removed, empty or "-" reads 0, the
// locale's separators are understood; anything else raises EAdvGridError
// "Cell does not contain a float value".
double CellTextToFloat(const String& Text);

// ---------------------------------------------------------------------------
// Construction, looks and the grid's own settings.

TAVELIN_EXCEPTION(EAdvGridError, Exception)

// B when A is empty, A when B is empty, else A, a blank and B.
String JoinWithBlank(const String& A, const String& B);
// The bitmap's device-independent bits stretched into Rect of Canvas (any
// mapping mode), so that printer drivers receive device-independent data.
void StretchPrintBitmap(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap);
void StretchPrintBitmapRop(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap, DWORD Rop);

// An observer told of every change of cells, in registration order.
class TGridChangeNotifier : public TComponent {
public:
    explicit TGridChangeNotifier(TComponent* AOwner) : TComponent(AOwner) {}
    virtual void CellsChanged(const TRect& R) {}
};

// The one selection listener a grid keeps.
class ITAdvStringGridSelect {
public:
    virtual ~ITAdvStringGridSelect() = default;
};

// A borderless pop-up form that never becomes the active window, so it
// never takes the focus from the grid beside it; disabled, it gets a border.
class TNoActiveForm : public TForm {
public:
    explicit TNoActiveForm(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
};

// The grid unit's start-up and shut-down: OLE, the registered messages and
// the clipboard format of copied cells. Counted: only the first start-up and
// the last shut-down do the work.
void AdvGrid_Initialize();
void AdvGrid_Finalize();
// comctl32 4.70 or later.
bool AdvGrid_ComCtl470();
UINT AdvGrid_CellsClipboardFormat();
UINT AdvGrid_GridEditPropMessage();
UINT AdvGrid_DTPShiftFocusMessage();
// The cursor over links in cells.
extern TCursor GridLinkCursor;
// The grid whose focus frame is showing, if any. The thread's message hook
// that keeps the frame on its cell is there only while a grid is set: the
// platform calls a hook for every message sent, which would slow every window.
class TFocusedGrid {
public:
    TFocusedGrid& operator=(TAdvStringGrid* Grid);
    operator TAdvStringGrid*() const { return grid_; }
    TAdvStringGrid* operator->() const { return grid_; }

private:
    TAdvStringGrid* grid_ = nullptr;
    THookHandle hook_;
};
extern TFocusedGrid FocusedGrid;

// --- sorting types
enum TColumnType { ctNumeric, ctFloat, ctAlpha, ctDate, ctTime, ctBoolean };
enum TCalcType { ctSum, ctAvg, ctMin, ctMax };

using TGridFormatEvent =
    std::function<void(TObject* Sender, int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix)>;
using TCustomCompareEvent = std::function<void(TObject* Sender, const String& str1, const String& str2, int& Res)>;
using TRawCompareEvent = std::function<void(TObject* Sender, int ACol, int Row1, int Row2, int& Res)>;
using TClickSortEvent = std::function<void(TObject* Sender, int ACol)>;
using TGroupCalcEvent = std::function<void(TObject* Sender, int ACol, int FromRow, int ToRow, double& Res)>;

// ---------------------------------------------------------------------------
class TAdvStringGrid : public TBaseGrid {
public:
    explicit TAdvStringGrid(TComponent* AOwner);
    ~TAdvStringGrid() override;
    void BeforeDestruction() override;

    // === construction, copying and the owned objects =======================
    // Copies a configured grid (other sources are ignored), cells last.
    void Assign(TPersistent* Source) override;
    // Copies the cells, their texts and properties, of another data grid.
    virtual void AssignCells(TPersistent* Source);
    // Reads the wheel settings; answers the rows one notch moves.
    virtual int InitMouseWheel(bool Query);
    void Invalidate() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // Shows or hides the scroll bars that ScrollBarAlways asks for.
    void UpdateScrollBarsAlways(bool Hide);

    TMouseActions* GetMouseActions() const { return FMouseActions.get(); }
    void SetMouseActions(TMouseActions* Value) { FMouseActions->Assign(Value); }
    TNavigation* GetNavigation() const { return FNavigation.get(); }
    void SetNavigation(TNavigation* Value) { FNavigation->Assign(Value); }
    TSortSettings* GetSortSettings() const { return FSortSettings.get(); }
    void SetSortSettings(TSortSettings* Value) { FSortSettings->Assign(Value); }
    THTMLSettings* GetHTMLSettings() const { return FHTMLSettings.get(); }
    void SetHTMLSettings(THTMLSettings* Value) { FHTMLSettings->Assign(Value); }
    TPrintSettings* GetPrintSettings() const { return FPrintSettings.get(); }
    void SetPrintSettings(TPrintSettings* Value) { FPrintSettings->Assign(Value); }
    TControlLook* GetControlLook() const { return FControlLook.get(); }
    void SetControlLook(TControlLook* Value) { FControlLook->Assign(Value); }
    TAutoColor* GetAutoColor() const { return FAutoColor.get(); }
    void SetAutoColor(TAutoColor* Value) { FAutoColor->Assign(Value); }
    TFocusHelper* GetFocusHelper() const { return FFocusHelper.get(); }
    void SetFocusHelper(TFocusHelper* Value) { FFocusHelper->Assign(Value); }
    TSearchFooter* GetSearchFooter() const { return FSearchFooter.get(); }
    void SetSearchFooter(TSearchFooter* Value) { FSearchFooter->Assign(Value); }
    TFloatingFooter* GetFloatingFooter() const { return FFloatingFooter.get(); }
    void SetFloatingFooter(TFloatingFooter* Value) { FFloatingFooter->Assign(Value); }
    TDragDropSettings* GetDragDropSettings() const { return FDragDropSettings.get(); }
    void SetDragDropSettings(TDragDropSettings* Value) { FDragDropSettings->Assign(Value); }
    TDragScrollOptions* GetDragScrollOptions() const { return FDragScrollOptions.get(); }
    void SetDragScrollOptions(TDragScrollOptions* Value) { FDragScrollOptions->Assign(Value); }
    TColumnSize* GetColumnSize() const { return FColumnSize.get(); }
    void SetColumnSize(TColumnSize* Value) { FColumnSize->Assign(Value); }
    TCellNode* GetCellNode() const { return FCellNode.get(); }
    void SetCellNode(TCellNode* Value) { FCellNode->Assign(Value); }
    TBands* GetBands() const { return FBands.get(); }
    void SetBands(TBands* Value) { FBands->Assign(Value); }
    TSizeWhileTyping* GetSizeWhileTyping() const { return FSizeWhileTyping.get(); }
    void SetSizeWhileTyping(TSizeWhileTyping* Value) { FSizeWhileTyping->Assign(Value); }
    TGrouping* GetGrouping() const { return FGrouping.get(); }
    void SetGrouping(TGrouping* Value) { FGrouping->Assign(Value); }
    TBackGround* GetBackGround() const { return FBackGround.get(); }
    void SetBackGround(TBackGround* Value) { FBackGround->Assign(Value); }
    TGridProgressAppearance* GetProgressAppearance() const { return FProgressAppearance.get(); }
    void SetProgressAppearance(TGridProgressAppearance* Value) { FProgressAppearance->Assign(Value); }
    TSyncGrid* GetSyncGrid() const { return FSyncGrid.get(); }
    void SetSyncGrid(TSyncGrid* Value) { FSyncGrid->Assign(Value); }
    TFilter* GetFilter() const { return FFilter.get(); }
    void SetFilter(TFilter* Value) { FFilter->Assign(Value); }
    TBalloonSettings* GetBalloon() const { return FBalloonSettings.get(); }
    void SetBalloon(TBalloonSettings* Value) { FBalloonSettings->Assign(Value); }
    TShowModified* GetShowModified() const { return FShowModified.get(); }
    void SetShowModified(TShowModified* Value) { FShowModified->Assign(Value); }
    TFilterDropDown* GetFilterDropDown() const { return FFilterDropDown.get(); }
    void SetFilterDropDown(TFilterDropDown* Value) { FFilterDropDown->Assign(Value); }
    TFilterEdit* GetFilterEdit() const { return FFilterEdit.get(); }
    void SetFilterEdit(TFilterEdit* Value) { FFilterEdit->Assign(Value); }
    THoverButtons* GetHoverButtons() const { return FHoverButtons.get(); }
    void SetHoverButtons(THoverButtons* Value) { FHoverButtons->Assign(Value); }
    THTMLPictureCache* GetImageCache() const { return FImageCache.get(); }
    TDropList* GetDropList() const { return FDropList; }
    TDropCheckList* GetDropCheckList() const { return FDropCheckList; }
    TStringList* GetFilterList() const { return FFilterList.get(); }
    TPopupMenu* GetFilterPopup() const { return FFltrPopup; }
    TImageList* GetFilterImages() const { return FFltrList; }
    TFooterPanel* GetFooterPanel() const { return FFooterPanel; }
    TSearchPanel* GetSearchPanel() const { return FSearchPanel; }
    // Writing copies the lines; they go into the fixed row (column) at once.
    TStringList* GetColumnHeaders() const { return FColumnHeaders.get(); }
    void SetColumnHeaders(TStrings* Value);
    TStringList* GetRowHeaders() const { return FRowHeaders.get(); }
    void SetRowHeaders(TStrings* Value);
    TStringList* GetLookupItems() const { return FLookupItems.get(); }
    void SetLookupItems(TStrings* Value) { FLookupItems->Assign(Value); }
    TFont* GetFixedFont() const { return FFixedFont.get(); }
    void SetFixedFont(TFont* Value) { FFixedFont->Assign(Value); }
    TFont* GetActiveCellFont() const { return FActiveCellFont.get(); }
    void SetActiveCellFont(TFont* Value) { FActiveCellFont->Assign(Value); }
    TSortIndexList* GetSortIndexes() const { return FSortIndexes.get(); }
    TIntList* GetMergedColumns() const { return FMergedColumns.get(); }
    TBitmap* GetRowIndicator() const { return FRowIndicator.get(); }
    void SetRowIndicator(TBitmap* Value) { FRowIndicator->Assign(Value); }
    TControlList* GetControlList() const { return FControlList.get(); }
    // The in-cell scroll bars; created with the window at run time.
    TScrollBar* GetCellScrollBar() const { return FScrollBar; }
    TScrollBar* GetPaintScrollBar() const { return FPaintScrollBar; }

    // === the grid's own settings ============================================
    // --- colours
    TColor GetSelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value) { StoreAndInvalidate(FSelectionColor, Value); }
    TColor GetSelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor Value) { StoreAndInvalidate(FSelectionColorTo, Value); }
    TColor GetSelectionMirrorColor() const { return FSelectionMirrorColor; }
    void SetSelectionMirrorColor(TColor Value) { StoreAndInvalidate(FSelectionMirrorColor, Value); }
    TColor GetSelectionMirrorColorTo() const { return FSelectionMirrorColorTo; }
    void SetSelectionMirrorColorTo(TColor Value) { StoreAndInvalidate(FSelectionMirrorColorTo, Value); }
    TColor GetSelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value) { StoreAndInvalidate(FSelectionTextColor, Value); }
    TColor GetSelectionRectangleColor() const { return FSelectionRectangleColor; }
    void SetSelectionRectangleColor(TColor Value) { StoreAndInvalidate(FSelectionRectangleColor, Value); }
    int GetSelectionColorMixerFactor() const { return FSelectionColorMixerFactor; }
    // Clamped to 0 .. 100.
    void SetSelectionColorMixerFactor(int Value);
    bool GetSelectionColorMixer() const { return FSelectionColorMixer; }
    void SetSelectionColorMixer(bool Value) { StoreAndInvalidate(FSelectionColorMixer, Value); }
    TColor GetHintColor() const { return FHintColor; }
    void SetHintColor(TColor Value) { FHintColor = Value; }
    TColor GetHighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor Value);
    TColor GetHighlightTextColor() const { return FHighlightTextColor; }
    void SetHighlightTextColor(TColor Value);
    TColor GetActiveCellColor() const { return FActiveCellColor; }
    void SetActiveCellColor(TColor Value) { StoreAndInvalidate(FActiveCellColor, Value); }
    TColor GetActiveCellColorTo() const { return FActiveCellColorTo; }
    void SetActiveCellColorTo(TColor Value) { StoreAndInvalidate(FActiveCellColorTo, Value); }
    bool GetActiveCellShow() const { return FActiveCellShow; }
    void SetActiveCellShow(bool Value) { StoreAndInvalidate(FActiveCellShow, Value); }
    TColor GetDisabledFontColor() const { return FDisabledFontColor; }
    void SetDisabledFontColor(TColor Value) { StoreAndInvalidate(FDisabledFontColor, Value); }
    TColor GetURLColor() const { return FURLColor; }
    void SetURLColor(TColor Value) { StoreAndInvalidate(FURLColor, Value); }
    TColor GetBorderColor() const { return FBorderColor; }
    // Repaints the border frame.
    void SetBorderColor(TColor Value);
    TColor GetScrollColor() const { return FScrollColor; }
    void SetScrollColor(TColor Value);
    // The header gradient: stored as RGB values (a system colour is resolved
    // when written), clNone kept.
    TColor GetPackGradientFrom() const { return FPackGradFrom; }
    void SetPackGradientFrom(TColor Value) { StoreGradient(FPackGradFrom, Value); }
    TColor GetPackGradientTo() const { return FPackGradTo; }
    void SetPackGradientTo(TColor Value) { StoreGradient(FPackGradTo, Value); }
    TColor GetPackGradientMirrorFrom() const { return FPackGradMirrorFrom; }
    void SetPackGradientMirrorFrom(TColor Value) { StoreGradient(FPackGradMirrorFrom, Value); }
    TColor GetPackGradientMirrorTo() const { return FPackGradMirrorTo; }
    void SetPackGradientMirrorTo(TColor Value) { StoreGradient(FPackGradMirrorTo, Value); }

    // --- look and colour sets
    TGridLook GetLook() const { return FLook; }
    // A new look clears the header colours and applies its colour set.
    void SetLook(TGridLook Value);
    // The identifier and caption of a look; glCustom leaves the text as it is.
    static void GetLookName(TGridLook Look, String& Name);
    static void GetLookCaption(TGridLook Look, String& Caption);
    TPackStyle GetComponentStyle() const { return FStyle; }
    // Applies a style's colour set (AppColor: the Office 2016 accent).
    virtual void SetStyle(TPackStyle AStyle);
    virtual void SetStyleAndAppColor(TPackStyle AStyle, TColor AppColor);
    // Applies a style; the grid keeps it as its component style.
    virtual void SetComponentStyle(TPackStyle AStyle);
    void SetComponentStyleAndAppColor(TPackStyle AStyle, TColor AppColor);
    void SetTheme(TXPColorScheme Scheme);
    // The flat metro appearance of a colour-tone record.
    void SetColorTones(const TColorTones& ATones);
    const TColorTones& GetColorTones() const { return FTones; }
    bool GetFlat() const { return FIsFlat; }
    void SetFlat(bool Value);
    // The fixed-cell gradients under the mouse and pressed, as painting uses them.
    struct TFixedGradient {
        TColor From, To, MirrorFrom, MirrorTo, Border;
    };
    TFixedGradient GetHoverGradient() const
    {
        return {FPackGradHoverFrom, FPackGradHoverTo, FPackGradHoverMirrorFrom, FPackGradHoverMirrorTo,
                FPackGradHoverBorder};
    }
    TFixedGradient GetDownGradient() const
    {
        return {FPackGradDownFrom, FPackGradDownTo, FPackGradDownMirrorFrom, FPackGradDownMirrorTo,
                FPackGradDownBorder};
    }
    TScrollType GetScrollType() const { return FScrollType; }
    void SetScrollType(TScrollType Value);
    int GetScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value);
    TScrollBarAlways GetScrollBarAlways() const { return FScrollBarAlways; }
    void SetScrollBarAlways(TScrollBarAlways Value);
    bool GetScrollProportional() const { return FScrollProportional; }
    void SetScrollProportional(bool Value);
    bool GetScrollSynch() const { return FScrollSynch; }
    void SetScrollSynch(bool Value) { FScrollSynch = Value; }
    TScrollHintType GetScrollHints() const { return FScrollHints; }
    void SetScrollHints(TScrollHintType Value) { FScrollHints = Value; }
    // Follows the Office theme the user chooses.
    bool GetAutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    // The platform as the constructor found it.
    bool IsWinXP() const { return FIsWinXP; }
    bool IsWin7() const { return FIsWin7; }
    bool IsWinVista() const { return FIsWinVista; }
    bool GetIsThemed() const { return FIsThemed; }

    // --- behaviour
    bool GetFixedRowAlways() const { return FFixedRowAlways; }
    void SetFixedRowAlways(bool Value);
    bool GetFixedColAlways() const { return FFixedColAlways; }
    void SetFixedColAlways(bool Value);
    bool GetEnableWheel() const { return FEnableWheel; }
    void SetEnableWheel(bool Value) { FEnableWheel = Value; }
    bool GetIntelliZoom() const { return FIntelliZoom; }
    void SetIntelliZoom(bool Value) { FIntelliZoom = Value; }
    TIntelliPan GetIntelliPan() const { return FIntelliPan; }
    void SetIntelliPan(TIntelliPan Value) { FIntelliPan = Value; }
    bool GetIntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool Value);
    bool GetShowSelection() const { return FShowSelection; }
    // The base grid's painting reads its own flag; both follow.
    void SetShowSelection(bool Value)
    {
        FShowSel = Value;
        StoreAndInvalidate(FShowSelection, Value);
    }
    bool GetAutoHideSelection() const { return FAutoHideSelection; }
    void SetAutoHideSelection(bool Value) { StoreAndInvalidate(FAutoHideSelection, Value); }
    bool GetHideFocusRect() const { return FHideFocusRect; }
    void SetHideFocusRect(bool Value) { StoreAndInvalidate(FHideFocusRect, Value); }
    bool GetEnableHTML() const { return FEnableHTML; }
    void SetEnableHTML(bool Value) { StoreAndInvalidate(FEnableHTML, Value); }
    bool GetEnableBlink() const { return FEnableBlink; }
    void SetEnableBlink(bool Value) { FEnableBlink = Value; }
    bool GetHovering() const { return FHovering; }
    void SetHovering(bool Value) { FHovering = Value; }
    bool GetFitCellsInGrid() const { return FFitCellsInGrid; }
    void SetFitCellsInGrid(bool Value) { FFitCellsInGrid = Value; }
    bool GetFilterNormalCellsOnly() const { return FFilterNormalCellsOnly; }
    void SetFilterNormalCellsOnly(bool Value) { FFilterNormalCellsOnly = Value; }
    bool GetHTMLKeepLineBreak() const { return FHTMLKeepLineBreak; }
    void SetHTMLKeepLineBreak(bool Value) { FHTMLKeepLineBreak = Value; }
    bool GetAutoFilterUpdate() const { return FAutoFilterUpdate; }
    void SetAutoFilterUpdate(bool Value) { FAutoFilterUpdate = Value; }
    bool GetUseInternalHintClass() const { return FUseInternalHintClass; }
    void SetUseInternalHintClass(bool Value) { FUseInternalHintClass = Value; }
    bool GetShowDesignHelper() const { return FShowDesignHelper; }
    void SetShowDesignHelper(bool Value) { FShowDesignHelper = Value; }
    bool GetEnhRowColMove() const { return FEnhRowColMove; }
    void SetEnhRowColMove(bool Value) { FEnhRowColMove = Value; }
    bool GetUseDisabledFont() const { return FUseDisabledFont; }
    void SetUseDisabledFont(bool Value) { FUseDisabledFont = Value; }
    bool GetLoadFirstRow() const { return FLoadFirstRow; }
    void SetLoadFirstRow(bool Value) { FLoadFirstRow = Value; }
    bool GetQuoteEmptyCells() const { return FQuoteEmptyCells; }
    void SetQuoteEmptyCells(bool Value) { FQuoteEmptyCells = Value; }
    bool GetAlwaysQuotes() const { return FAlwaysQuotes; }
    void SetAlwaysQuotes(bool Value) { FAlwaysQuotes = Value; }
    bool GetShowNullDates() const { return FShowNullDates; }
    void SetShowNullDates(bool Value) { FShowNullDates = Value; }
    bool GetSaveVirtCells() const { return FSaveVirtCells; }
    void SetSaveVirtCells(bool Value) { FSaveVirtCells = Value; }
    bool GetSaveMergedCells() const { return FSaveMergedCells; }
    void SetSaveMergedCells(bool Value) { FSaveMergedCells = Value; }
    bool GetSaveWithHTML() const { return FSaveWithHTML; }
    void SetSaveWithHTML(bool Value) { FSaveWithHTML = Value; }
    // Rich text is saved as it is (without line breaks), not as its plain text.
    bool GetSaveWithRTF() const { return FSaveWithRTF; }
    void SetSaveWithRTF(bool Value) { FSaveWithRTF = Value; }
    bool GetVirtualEdit() const { return FVirtualEdit; }
    void SetVirtualEdit(bool Value) { FVirtualEdit = Value; }
    bool GetFixedAsButtons() const { return FFixedAsButtons; }
    void SetFixedAsButtons(bool Value) { StoreAndInvalidate(FFixedAsButtons, Value); }
    bool GetNoDefaultDraw() const { return FNoDefaultDraw; }
    void SetNoDefaultDraw(bool Value) { FNoDefaultDraw = Value; }
    bool GetJavaCSV() const { return FJavaCSV; }
    void SetJavaCSV(bool Value) { FJavaCSV = Value; }
    bool GetPrinterDriverFix() const { return FPrinterDriverFix; }
    void SetPrinterDriverFix(bool Value) { FPrinterDriverFix = Value; }
    bool GetExcelClipboardFormat() const { return FExcelClipboardFormat; }
    void SetExcelClipboardFormat(bool Value) { FExcelClipboardFormat = Value; }
    bool GetFilterIncremental() const { return FFilterIncremental; }
    void SetFilterIncremental(bool Value) { FFilterIncremental = Value; }
    bool GetFilterDropDownMultiCol() const { return FFilterDropDownMultiCol; }
    void SetFilterDropDownMultiCol(bool Value) { FFilterDropDownMultiCol = Value; }
    bool GetFilterDropDownAuto() const { return FFilterDropDownAuto; }
    void SetFilterDropDownAuto(bool Value);
    bool GetFilterDropDownCheck() const { return FFilterDropDownCheck; }
    void SetFilterDropDownCheck(bool Value) { FFilterDropDownCheck = Value; }
    const String& GetFilterDropDownCheckUnCheckAll() const { return FFilterDropDownCheckUnCheckAll; }
    void SetFilterDropDownCheckUnCheckAll(const String& Value) { FFilterDropDownCheckUnCheckAll = Value; }
    int GetFilterDropDownRow() const { return FFilterDropDownRow; }
    // Only rows above FixedRows.
    void SetFilterDropDownRow(int Value);
    TFilterDropDownColumns GetFilterDropDownColumns() const { return FFilterDropDownColumns; }
    void SetFilterDropDownColumns(TFilterDropDownColumns Value) { FFilterDropDownColumns = Value; }
    const String& GetFilterDropDownClear() const { return FFilterDropDownClear; }
    void SetFilterDropDownClear(const String& Value) { FFilterDropDownClear = Value; }
    bool GetAutoNumAlign() const { return FAutoNumAlign; }
    void SetAutoNumAlign(bool Value) { FAutoNumAlign = Value; }
    bool GetEditWithTags() const { return FEditWithTags; }
    void SetEditWithTags(bool Value) { FEditWithTags = Value; }
    bool GetEnhTextSize() const { return FEnhTextSize; }
    void SetEnhTextSize(bool Value) { FEnhTextSize = Value; }
    bool GetExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
    bool GetSelectionRTFKeep() const { return FSelectionRTFKeep; }
    void SetSelectionRTFKeep(bool Value) { FSelectionRTFKeep = Value; }
    bool GetSelectionResizer() const { return FSelectionResizer; }
    void SetSelectionResizer(bool Value) { FSelectionResizer = Value; }
    bool GetSelectionRectangle() const { return FSelectionRectangle; }
    void SetSelectionRectangle(bool Value) { StoreAndInvalidate(FSelectionRectangle, Value); }
    bool GetHintShowCells() const { return FHintShowCells; }
    void SetHintShowCells(bool Value) { FHintShowCells = Value; }
    bool GetHintShowLargeText() const { return FHintShowLargeText; }
    void SetHintShowLargeText(bool Value) { FHintShowLargeText = Value; }
    THintShowLargeTextPos GetHintShowLargeTextPos() const { return FHintShowLargeTextPos; }
    void SetHintShowLargeTextPos(THintShowLargeTextPos Value) { FHintShowLargeTextPos = Value; }
    bool GetHTMLHint() const { return FHTMLHint; }
    void SetHTMLHint(bool Value) { FHTMLHint = Value; }
    bool GetAnchorHint() const { return FAnchorHint; }
    void SetAnchorHint(bool Value) { FAnchorHint = Value; }
    bool GetLookup() const { return FLookup; }
    void SetLookup(bool Value) { FLookup = Value; }
    bool GetLookupCaseSensitive() const { return FLookupCaseSensitive; }
    void SetLookupCaseSensitive(bool Value) { FLookupCaseSensitive = Value; }
    bool GetLookupHistory() const { return FLookupHistory; }
    void SetLookupHistory(bool Value) { FLookupHistory = Value; }
    int GetMaxComboLength() const { return FMaxComboLength; }
    void SetMaxComboLength(int Value) { FMaxComboLength = Value; }
    int GetMaxEditLength() const { return FMaxEditLength; }
    void SetMaxEditLength(int Value) { FMaxEditLength = Value; }
    bool GetMultilineCells() const { return FMultilineCells; }
    void SetMultilineCells(bool Value) { StoreAndInvalidate(FMultilineCells, Value); }
    bool GetURLShow() const { return FURLShow; }
    void SetURLShow(bool Value) { StoreAndInvalidate(FURLShow, Value); }
    bool GetURLShowInText() const { return FURLShowInText; }
    void SetURLShowInText(bool Value) { StoreAndInvalidate(FURLShowInText, Value); }
    // A linked address shows whole, or only the part after the scheme.
    bool GetURLFull() const { return FURLFull; }
    void SetURLFull(bool Value)
    {
        FURLFull = Value;
        if (FURLShow)
            Invalidate();
    }
    // The cell follows the in-place editor's text while the user types.
    bool GetShowEditProcess() const { return FShowEditProcess; }
    void SetShowEditProcess(bool Value) { FShowEditProcess = Value; }
    bool GetAlwaysValidate() const { return FAlwaysValidate; }
    void SetAlwaysValidate(bool Value) { FAlwaysValidate = Value; }
    bool GetGridModified() const { return FModified; }
    void SetGridModified(bool Value) { FModified = Value; }

    // --- kinds, texts and numbers
    TEditorType GetDefaultEditor() const { return FDefaultEditor; }
    void SetDefaultEditor(TEditorType Value) { FDefaultEditor = Value; }
    TAlignment GetDefaultAlignment() const { return FDefaultAlignment; }
    void SetDefaultAlignment(TAlignment Value) { StoreAndInvalidate(FDefaultAlignment, Value); }
    TVAlignment GetVAlignment() const { return FVAlignment; }
    void SetVAlignment(TVAlignment Value) { StoreAndInvalidate(FVAlignment, Value); }
    THoverFixedCells GetHoverFixedCells() const { return FHoverFixedCells; }
    void SetHoverFixedCells(THoverFixedCells Value) { FHoverFixedCells = Value; }
    TInvalidEntryIcon GetInvalidEntryIcon() const { return FInvalidEntryIcon; }
    void SetInvalidEntryIcon(TInvalidEntryIcon Value) { FInvalidEntryIcon = Value; }
    const String& GetInvalidEntryTitle() const { return FInvalidEntryTitle; }
    void SetInvalidEntryTitle(const String& Value) { FInvalidEntryTitle = Value; }
    const String& GetInvalidEntryText() const { return FInvalidEntryText; }
    void SetInvalidEntryText(const String& Value) { FInvalidEntryText = Value; }
    const String& GetXMLEncoding() const { return FXMLEncoding; }
    void SetXMLEncoding(const String& Value) { FXMLEncoding = Value; }
    const String& GetFloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const String& Value) { StoreAndInvalidate(FFloatFormat, Value); }
    const String& GetCheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const String& Value) { FCheckTrue = Value; }
    const String& GetCheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const String& Value) { FCheckFalse = Value; }
    wchar_t GetPasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(wchar_t Value) { FPasswordChar = Value; }
    wchar_t GetDelimiter() const { return FDelimiter; }
    void SetDelimiter(wchar_t Value) { FDelimiter = Value; }
    // CSV fields pass through the OEM code page.
    bool GetOemConvert() const { return FOemConvert; }
    void SetOemConvert(bool Value) { FOemConvert = Value; }
    // The encoding of the Unicode text files (UTF-8 with its mark unless set).
    TEncoding* GetEncoding() const { return FEncoding; }
    void SetEncoding(TEncoding* Value) { FEncoding = Value ? TEncoding::Shared(Value) : TEncoding::UTF8(); }
    int GetGroupColumn() const { return FGroupColumn; }
    // -1 ungroups, a column above 0 groups by it, 0 changes nothing.
    void SetGroupColumn(int Value);
    int GetPrintPageFrom() const { return FPrintPageFrom; }
    int GetPrintPageTo() const { return FPrintPageTo; }
    int GetPrintPageCount() const { return FPrintPageCount; }
    int GetFilterColumn() const { return FFilterColumn; }

    // === row and column state and selection (display indexes) ==============
    // Hides the class library's counts: these keep the fixed rows and
    // columns, the column flags and the footer row in step.
    void SetRowCount(int Value);
    void SetColCount(int Value);
    // 1 while FixedRowAlways keeps a fixed row the grid has no room for.
    int GetFixedRows() const;
    void SetFixedRows(int Value);
    int GetFixedCols() const;
    void SetFixedCols(int Value);
    void SetDefaultRowHeight(int Value);
    int GetFixedRowHeight() const { return FFixedRowHeight; }
    void SetFixedRowHeight(int Value);
    int GetFixedColWidth() const { return GetColWidths(0); }
    void SetFixedColWidth(int Value);
    void SetWordWrap(bool Value);
    void SetCol(int Value);
    TCursor GetCursor() const { return TControl::GetCursor(); }
    void SetCursor(TCursor Value);
    int GetLastCol() const { return GetColCount() - 1; }
    int GetLastRow() const { return GetRowCount() - 1; }

    void GotoCell(int ACol, int ARow);
    void EditCell(int ACol, int ARow);
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    // Disjunct row selection (a real row with RowSelectPersistent).
    bool GetRowSelect(int ARow);
    void SetRowSelect(int ARow, bool Value);
    void SelectRows(int RowIndex, int RCount);
    void UnSelectRows(int RowIndex, int RCount);
    void ClearDisjunctRowSelect();
    // Clears the row marks and hides the selection.
    void ClearRowSelect();
    // Turns the selection into row marks; true when a mark changed.
    bool SelectionToRowSelect(bool All);
    int GetRowSelectCount();
    // The rows whose disjunct mark is set, in the order they were marked.
    TIntList* GetSelectedRows() const { return FSelectedRows.get(); }
    // What is selected, in the selection model the mouse actions choose
    // (display cells); fixed cells never are.
    bool IsSelected(int ACol, int ARow);
    // Marks or unmarks one cell of the disjunct cell selection; cells past
    // column or row 65535 cannot be marked.
    void SetCellSelected(int ACol, int ARow, bool Value);
    // With disjunct cell selection the cells are marked; otherwise a single
    // cell becomes current and a range the selection.
    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // The selection back on the first normal cell, no cell marked.
    void ClearSelectedCells();
    void ClearModifiedRows();
    int GetSelectedCellsCount();
    // A merged block at the selection's edge counts with all its columns (rows).
    int GetSelectedColCount();
    int GetSelectedRowCount();
    // Cells joined by TAB and rows by CR LF; marked rows each end with CR LF.
    String SelectedText();
    // Disjunct column selection.
    bool GetColSelect(int ACol);
    void SetColSelect(int ACol, bool Value);
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    void ClearColSelect();
    void SelectionToColSelect(bool All);
    int GetColSelectCount();
    // Modified marks, per real row.
    bool GetRowModified(int ARow) const;
    void SetRowModified(int ARow, bool Value);
    int ModifiedRowCount() const;
    // Enabled marks; rows never marked are enabled.
    bool GetRowEnabled(int ARow) const;
    void SetRowEnabled(int ARow, bool Value);
    // Partial repaints; cells scrolled out of view repaint nothing.
    void RepaintRect(const TRect& r);
    void RepaintCell(int c, int r);
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    void RepaintCellHeaders(int OldCol, int OldRow, int NewCol, int NewRow);
    // Exchanges the raw texts and objects of two cells, without repainting.
    void SwapCells(const TGridCoord& FromCell, const TGridCoord& ToCell);
    // The cell under a screen point; -1 outside cells.
    void ScreenToCell(POINT pt, int& ACol, int& ARow);
    void RegisterSelListener(ITAdvStringGridSelect* AListener) { FISelect = AListener; }
    // Clears the listener whatever is passed.
    void UnRegisterSelListener(ITAdvStringGridSelect* AListener) { FISelect = nullptr; }
    ITAdvStringGridSelect* GetSelListener() const { return FISelect; }
    void RegisterNotifier(TGridChangeNotifier* ANotifier);
    void UnRegisterNotifier(TGridChangeNotifier* ANotifier);
    virtual void AppendRow() { SetRowCount(GetRowCount() + 1); }

    // === update lock, focus, notifications and validation ===================
    // Suspends repainting while visible; nests.
    void BeginUpdate();
    void EndUpdate();
    // BeginUpdate now, EndUpdate when the returned guard goes out of scope.
    [[nodiscard]] auto UpdateLock()
    {
        BeginUpdate();
        return TScopeExit([this] { EndUpdate(); });
    }
    // Silences painting without messages or a repaint at the end.
    void StartUpdate() { ++FUpdateCount; }
    void ResetUpdate();
    bool GetLockUpdate() const { return FUpdateCount > 0; }
    void SetLockUpdate(bool Value);
    int UpdateCount() const { return FUpdateCount; }
    // Ends an open edit: the handlers may correct or refuse the value.
    virtual bool ValidateCell(const String& NewValue);
    virtual bool ValidateCellWide(const String& NewValue);
    bool IsEditing() const { return FEditing; }
    // The in-place editor while editing; null otherwise.
    TWinControl* GetCellEditor() const;
    void InitOrigColSizes();
    void ResetFixedCellHighlight();
    virtual int GetVersionNr() const;
    virtual String GetVersionString() const;
    virtual void RecalcAllFooters() { CalcFooter(-1); }
    virtual void RecalcFooterColumn(int ACol) { CalcFooter(ACol); }
    bool IsHoverFixedCell(int ACol, int ARow) const;

    // === window procedure, wheel, zoom and balloon hints ====================
    // Moves the controls placed in cells onto their cells (hidden when
    // scrolled away); with rebuildlist the list is made again from the cells.
    virtual void CellControlsUpdate(bool rebuildlist);
    // A translucent borderless form showing the cells of ARect as they are
    // painted now; the caller owns and shows it.
    TForm* SelectionToForm(const TGridRect& ARect);
    // Adds x pixels to every shown row and column; the total stays in -20 .. 20.
    virtual void Zoom(int x);
    void BalloonInit();
    void BalloonDone();
    HWND GetBalloonWindow() const { return FHToolTip; }
    void ShowInplaceEdit();
    // Ends the edit from the editor's key: Tab and the arrows go on to the
    // grid, Down on the last row appends one with AppendOnArrowDown.
    void DoneInplaceEdit(Word Key, TShiftState Shift);
    // Panning with the middle button: active, and the cursor resource its
    // direction chose last (8000 neutral .. 8008).
    bool IsPanning() const { return wheelpan; }
    int GetPanCursor() const { return FPanCursor; }
    // The rows one wheel notch moves when WheelIncrement leaves it to the system.
    int GetWheelScrollLines() const { return wheelscrl; }
    // The text incremental search has typed so far; the grid's timer clears it.
    const String& GetIncrSearchText() const { return FIncrSearchText; }
    void SetIncrSearchText(const String& Value)
    {
        FIncrSearchText = Value;
        SearchTics = 0;
    }

    // === finding and replacing text ========================================
    // Cells are display cells; with fnIncludeHiddenColumns the column, with
    // fnIncludeHiddenRows the row is a real index. (-1, -1) when nothing matches.
    TPoint Find(TPoint StartCell, const String& s, TFindParams FindParams);
    TPoint FindWide(TPoint StartCell, const String& s, TFindParams FindParams);
    TPoint FindFirst(const String& s, TFindParams FindParams);
    TPoint FindNext();
    // Every occurrence of OrigStr in the cells Find visits; the cells changed.
    int Replace(const String& OrigStr, const String& NewStr, TFindParams FindParams);
    // The first row whose sort-column text starts with s (upper case); -1 when none.
    int Search(const String& s);
    // Rows whose cells satisfy one condition per column (kinds: 0 starts
    // with, 1 ends with, 2 contains, 3 equals, 4 differs, 5 does not contain).
    int FindMulti(const std::vector<String>& Values, const std::vector<int>& Columns,
                  const std::vector<unsigned char>& Kinds, const std::vector<bool>& CaseSensitive, bool AutoGoto);
    int FindMultiNext();
    TFindParams GetFindParams() const { return FFindParams; }
    const String& GetSearchCache() const { return SearchCache; }
    TPoint SearchCell{-1, -1};
    int FindCol = 0;
    int FindRow = 0;

    // === editability asked by the keys, the tab walk and the mouse =========
    // Editing possible at all, then CellAllowsEdit (ACol a real column).
    bool IsEditable(int ACol, int ARow);
    bool CellAllowsEdit(int ACol, int ARow);

    // === the keyboard ======================================================
    // ACol clamped into the columns, then moved off zero-width columns away
    // from the current column; the clamped value when the walk runs out.
    int NearestVisibleCol(int ACol);
    // Down on the last row appends one (AppendOnArrowDown).
    void AddRowOnDown();
    // The standard cell selection for the current cell.
    void Select();
    // The clipboard keys' transfers of the selection (tab-separated text).
    virtual void CopySelectionToClipboard();
    virtual void CutSelectionToClipboard();
    virtual void PasteSelectionFromClipboard();
    bool GetModified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    wchar_t GetStartEditChar() const { return FStartEditChar; }
    TColRowBoolEvent OnCheckBoxClick;
    std::function<void(TObject* Sender, int ACol, int ARow, int AIdx)> OnRadioClick;
    TColRowEvent OnRadioButtonClick;
    TCanInsertRowEvent OnCanDeleteRow;
    std::function<void(TObject* Sender, int ARow)> OnAutoInsertRow;
    std::function<void(TObject* Sender, int ARow)> OnAutoAddRow;
    // After the Delete key removed (or emptied) a row: its real index.
    std::function<void(TObject* Sender, int ARow)> OnAutoDeleteRow;
    // === the Tab walk and the advance order =================================
    // One Tab step; false when it handed the focus on to the parent.
    bool TabKeyPressed(bool Backward);
    bool IsTabStopCell(int ACol, int ARow);
    // The first (last) column of the row that takes the cursor; -1 when none.
    int FirstTabStopCol(int ARow);
    int LastTabStopCol(int ARow);
    // The next tab-stop cell in AdvanceDirection order; (-1, -1) when none.
    TPoint NextAdvanceCell(int ACol, int ARow);
    virtual void MoveToFirstRow() { SetRow(GetFixedRows()); }
    // A left click at the cell's top-left corner, without the mouse events.
    void SimulateCellClick(int ACol, int ARow);
    // Whether the current cell may move to the column (an open edit may say no).
    virtual bool CanMoveToCol(int ACol) { return true; }
    std::function<void(TObject* Sender, int OldRow, int NewRow, bool& Allow)> OnRowChanging;
    std::function<void(TObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool& Allow)> OnCellChanging;
    std::function<void(TObject* Sender, int OldCol, int NewCol, bool& Allow)> OnColChanging;
    TBoolVarEvent OnClipboardCopy;
    TBoolVarEvent OnClipboardCut;
    TBoolVarEvent OnClipboardPaste;
    std::function<void(TObject* Sender, const TGridRect& Selection)> OnClipboardCopyDone;
    std::function<void(TObject* Sender, const TGridRect& Selection)> OnClipboardCutDone;
    // Widens StretchCol (-1: the last column) so that the columns fill
    // Width (-1: the client width); with StretchAll every normal column
    // takes its share. Raises for a column outside -1 .. ColCount - 1.
    void ApplyColumnStretch(int StretchCol, int Width);
    // Moves the focus frame over the current cell.
    virtual void MoveFocusWindow();
    // The messages the grid's unit registered.
    static UINT GridEditShowMessage();
    static UINT GridEditDoneMessage();

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

    // --- the in-place editing life cycle
    // The grid's text editor; null until the first text edit.
    TAdvInplaceEdit* GetNormalEdit() const;
    // The kind of the cell being edited, chosen each time an edit starts.
    TEditorType GetCurrentEditor() const { return EditControl; }
    bool GetEditActive() const { return FEditActive; }
    // The open edit's control; null for a text edit and between edits.
    TWinControl* GetCellEditorControl() const { return EditCtrl; }
    // The application's editor for edCustom cells; the grid does not own it.
    TEditLink* GetEditLink() const { return FEditLink; }
    void SetEditLink(TEditLink* Value);
    // edValidChars: the characters typed text and pastes may hold; when
    // empty, ValidCharSet's.
    const String& GetValidChars() const { return FValidChars; }
    void SetValidChars(const String& Value) { FValidChars = Value; }
    const String& GetValidCharSet() const { return FValidCharSet; }
    void SetValidCharSet(const String& Value) { FValidCharSet = Value; }
    // The mask of the text editor; OnGetEditMask may change it per cell.
    const String& GetEditMask() const { return FEditMask; }
    void SetEditMask(const String& Value) { FEditMask = Value; }
    // The combo editor's items, kept between edits.
    TAsgComboBox* GetCombobox();
    void AddComboString(const String& s);
    void AddComboStringObject(const String& s, TObject* AObject);
    // False, and nothing deleted, when s is not an item.
    bool RemoveComboString(const String& s);
    void ClearComboString();
    // The item the next list edit preselects; false when s is not an item.
    bool SetComboSelectionString(const String& s);
    // An index outside the list selects nothing.
    void SetComboSelection(int idx);
    int GetComboCount();
    int GetComboIndex() const { return FComboIdx; }
    bool IsPasswordCell(int ACol, int ARow);
    // The text editor and special editors keep Tab.
    bool EditorWantsTab();
    // Opens (closes) the current cell's editor; ShowCellEdit first switches
    // goEditing on under RangeSelectAndEdit.
    void ShowCellEdit();
    void HideCellEdit();
    // ACol is a real column: the cell and the class library's edit text.
    virtual void StoreEditText(int ACol, int ARow, const String& Value);
    // Writes back the text the current cell had when it became current.
    virtual void RestoreCellCache();
    // The string grid's question whether a cell may become current.
    virtual bool CanSelectCell(int ACol, int ARow);
    // Moves on after Enter by the Navigation settings.
    void AdvanceEditCell(int ACol, int ARow, bool FromEdit, bool Recursive, bool Forward, bool AutoEdit,
                         bool Force);
    // Opens the next form control of the cell's HTML after CtrlID.
    void AdvanceCellControl(int ACol, int ARow, const String& CtrlID);
    std::function<void(TObject* Sender, int ACol, int ARow, TEditLink* AEditLink)> OnGetEditorProp;
    TColRowEvent OnGetEditorPropInt;
    std::function<void(TObject* Sender, int OldRow, int OldCol, int& NewRow, int& NewCol, bool& Allow)>
        OnAutoAdvance;
    std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)> OnEditChange;
    std::function<void(TObject* Sender, int ACol, int ARow, int AItemIndex, const String& ASelection)>
        OnComboChange;
    std::function<void(TObject* Sender, int ACol, int ARow, int AItemIndex, const String& ASelection,
                       TObject* AObject)>
        OnComboObjectChange;
    std::function<void(TObject* Sender, int ARow, int ACol)> OnDblClickCell;
    std::function<void(TObject* Sender, int ACol, int ARow, String& Value, bool& Allow)>
        OnClipboardBeforePasteCell;
    std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)> OnClipboardAfterPasteCell;
    std::function<void(TObject* Sender, int ACol)> OnAutoInsertCol;

protected:
    bool CanEditShow() override;
    TInplaceEdit* CreateEditor() override;
    String GetEditMask(int ACol, int ARow) override;
    void ShowSpecialEditor(int ACol, int ARow);
    void HideSpecialEditor(int ACol, int ARow);
    // OnGetEditorProp, then OnGetEditorPropInt.
    virtual void DoGetEditorProp(int ACol, int ARow, TEditLink* AEditLink);
    // OnRowChanging, OnColChanging, then OnCellChanging for another cell.
    virtual void DoCellChanging(int NewCol, int NewRow, bool& Allow);
    // The end of an edit: OnEditingDone, the editor closed, "GridEditDone" posted.
    void EditDone(int ACol, int ARow);
    // Empty hooks the text editor calls.
    virtual void InplaceKeyDown(Word& Key, TShiftState Shift) {}
    virtual void InplaceWMKeyDown(TMessage& Message) {}
    virtual void EditCaretMoved(const String& Text, TPoint CaretPoint, int SelStart) {}
    virtual void FormulaEditing(bool Active) {}
    // The key-press override: Escape, Enter and incremental search.
    virtual void HandleKeyPress(wchar_t& Key);
    void KeyPress(wchar_t& Key) override { HandleKeyPress(Key); }

    TEditorType EditControl = edNormal;
    bool EditMode = false;
    bool FSpecialEditor = false;
    bool FEditActive = false;
    TWinControl* EditCtrl = nullptr;
    int FComboIdx = -1;
    bool FForceComboSel = false;
    String FCellCache;
    bool FNoEditChange = false;
    bool FDisableChange = false;
    bool FNoAutoAdvance = false;
    bool FSpinUpClick = false;
    bool FSpinDnClick = false;

private:
    friend class TAdvInplaceEdit;
    friend class TEditLink;
    TEditLink* FEditLink = nullptr;
    TAsgComboBox* FCombobox = nullptr;
    String FValidChars;
    String FValidCharSet;
    String FEditMask;
    // The advance's last row or column added in this Enter.
    bool FAdvanceAdded = false;

public:

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
    // Widths ("Col0", "Col1" ... by display column) and the kept column order
    // ("Pos0" ...) in the INI file or registry key ColumnSize names, in its
    // section; nothing without both names or while designing.
    void SaveColSizes();
    void LoadColSizes();
    virtual void SaveColPositions();
    // A stored order that is not one of every column raises EListError
    // before any column moves.
    virtual void LoadColPositions();

    // --- the look as "Name=Value" lines in the system code page; a file that
    // does not read (a missing number, a bad colour) raises before anything
    // changes, and the look ends as glCustom
    void SaveVisualProps(const String& FileName);
    void LoadVisualProps(const String& FileName);
    // --- the print settings in a section of an INI file; missing keys read
    // as the defaults
    void SavePrintSettings(const String& Key, const String& Section);
    void LoadPrintSettings(const String& Key, const String& Section);

    // --- sizing to contents (display indexes)
    void AutoSizeRow(int ARow, int Padding);
    void FitRowToContents(int ARow, bool GrowOnly, bool GraphicFlag);
    void AutoSizeRows(bool DoFixedRows, int Padding);
    void AutoSizeCol(int ACol, int Padding);
    void AutoGrowCol(int ACol, int Padding);
    void FitColumnToContents(int ACol, bool GrowOnly);
    void AutoSizeColumns(bool DoFixedCols, int Padding);
    void AutoGrowColumns(bool DoFixedCols, int Padding);
    // Sizes the columns and rows to their cells' texts, from the first
    // normal cell or, with DoFixedCells, from cell (0, 0); every row takes
    // the tallest of its cells.
    void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
    // Scales the columns (the normal ones unless DoFixedCells) so that all
    // columns fill the grid's width, less its border and shown scroll bar.
    void AutoFitColumns(bool DoFixedCells);
    // The client area made as wide as the columns, as high as the rows, or
    // both with the scroll bars off meanwhile.
    void SizeToCols();
    void SizeToRows();
    void SizeToCells();
    // Lines lines of the row's font, 2 pixels apart, plus Extra, within the
    // row limits, plus the vertical text offset.
    void SetRowHeightForLines(int ARow, int Lines, int Extra);
    // The most lines a cell of the row holds; 1 unless MultilineCells.
    int GetRowMaxLineCount(int ARow);
    // The longest line, in characters, of the text the grid saves for a cell
    // of the column (real index); without MultilineCells only first lines count.
    int GetMaxCellLineLength(int ACol);
    // The space the cell text offset takes across and down a cell.
    int GetTotalXOffset() const { return FXYOffsetTopLeftOnly ? FXYOffset.x : 2 * FXYOffset.x; }
    int GetTotalYOffset() const { return FXYOffsetTopLeftOnly ? FXYOffset.y : 2 * FXYOffset.y; }

    // --- printing and print preview (rows and columns in display indexes)
    // The whole grid, a cell range, the selection, or only the selected rows
    // or columns, on the printer's default printer. Raises EPrinter when
    // there is no printer or it reports no resolution; nothing starts then.
    void Print();
    void PrintRect(const TGridRect& Gridrect);
    void PrintSelection();
    void PrintSelectedRows();
    void PrintSelectedCols();
    // Page PreviewPage of the same ranges, drawn into Displayrect (device units).
    void PrintPreview(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewRect(TCanvas* Canvas, const TRect& Displayrect, const TGridRect& Gridrect);
    void PrintPreviewSelection(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewSelectedRows(TCanvas* Canvas, const TRect& Displayrect);
    void PrintPreviewSelectedCols(TCanvas* Canvas, const TRect& Displayrect);
    // The first page of the grid or of a range, drawn into DrawRect.
    void PrintDraw(TCanvas* Canvas, const TRect& DrawRect);
    void PrintDrawRect(TCanvas* Canvas, const TRect& DrawRect, const TGridRect& Gridrect);
    // Font heights in 0.1 mm for a size in points (with the fit-to-page
    // scale while a scaled row is measured or drawn), and back.
    int MapFontHeight(int pointsize) const;
    int MapFontSize(int Height) const;
    bool GetFastPrint() const { return FFastPrint; }
    void SetFastPrint(bool Value) { FFastPrint = Value; }
    bool GetIsPrintPreview() const { return FIsPrintPreview; }
    // Reading gives the first page to print; writing makes it the only one.
    int GetPreviewPage() const { return FPrintFirstPage; }
    void SetPreviewPage(int Value) { FPrintFirstPage = FPrintLastPage = Value; }
    // The last layout: the page, the current column strip and the page count.
    TRect GetPrintPageRect() const { return FPrintPageRect; }
    int GetPrintPageWidth() const { return FPrintPageWidth; }
    int GetPrintColStart() const { return FPrintColStart; }
    int GetPrintColEnd() const { return FPrintColEnd; }
    int GetPrintNrOfPages() const { return FPrintNrOfPages; }
    // The printer's landscape rotation (90 or 270).
    int GetPrinterLandscapeAngle();
    std::function<void(TObject* Sender, int NrOfPages, int& FromPage, int& ToPage)> OnPrintStart;
    std::function<void(TObject* Sender, TCanvas* Canvas, int PageNr, int PageXSize, int PageYSize)> OnPrintPage;
    std::function<void(TObject* Sender, TCanvas* Canvas, int ARow, int YPos, int PageNr, int PageXSize,
                       int PageYSize)>
        OnPrintPageDone;
    std::function<void(TObject* Sender, int PageNr, bool& Cancel)> OnPrintCancel;
    std::function<void(TObject* Sender, int ARow, bool& NewPage)> OnPrintNewPage;
    std::function<void(TObject* Sender, int ACol, int& Width)> OnPrintSetColumnWidth;
    std::function<void(TObject* Sender, int ARow, int& Height)> OnPrintSetRowHeight;
    std::function<void(TObject* Sender, double& Scale, bool& Allow)> OnFitToPage;
    std::function<void(TObject* Sender)> OnPrintDone;
    std::function<void(TObject* Sender, int PageNum, int PageColNum, String& PageNumString)> OnPrintGetPageNum;
    std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TPoint& ASize, bool Printing)>
        OnCustomCellSize;
    virtual void DoPrintGetPageNum(int PageNum, int PageColNum, String& PageNumString)
    {
        if (OnPrintGetPageNum)
            OnPrintGetPageNum(this, PageNum, PageColNum, PageNumString);
    }

    // --- sizing settings
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

    // --- calculations (columns and rows as stored; -1 for FromRow or ToRow
    // means the normal rows; a range past the shown rows reads real rows)
    // The text as a number: empty or "-" reads 0; any other non-number
    // raises EAdvGridError.
    double GetFloatCell(int ACol, int ARow);
    double GetRealRowFloatCell(int ACol, int ARealRow);
    double ColumnSum(int ACol, int FromRow, int ToRow);
    double ColumnAvg(int ACol, int FromRow, int ToRow);
    double ColumnMin(int ACol, int FromRow, int ToRow);
    double ColumnMax(int ACol, int FromRow, int ToRow);
    double ColumnStdDev(int ACol, int FromRow, int ToRow);
    double ColumnDistinct(int ACol, int FromRow, int ToRow);
    double ColumnCount(int ACol, int FromRow, int ToRow);
    double ColumnCustomCalc(int ACol, int FromRow, int ToRow);
    double RowSum(int ARow, int FromCol, int ToCol);
    double RowAvg(int ARow, int FromCol, int ToCol);
    double RowMin(int ARow, int FromCol, int ToCol);
    double RowMax(int ARow, int FromCol, int ToCol);
    // Rows of the rectangle are real rows; every cell must be a number.
    double RectCalc(TGridRect GR, TCalcType CalcType);
    double RectSum(const TGridRect& GR) { return RectCalc(GR, ctSum); }
    double RectAvg(const TGridRect& GR) { return RectCalc(GR, ctAvg); }
    double RectMin(const TGridRect& GR) { return RectCalc(GR, ctMin); }
    double RectMax(const TGridRect& GR) { return RectCalc(GR, ctMax); }
    double SelectionSum() { return RectSum(GetSelection()); }
    double SelectionAvg() { return RectAvg(GetSelection()); }
    double SelectionMin() { return RectMin(GetSelection()); }
    double SelectionMax() { return RectMax(GetSelection()); }
    void AutoNumberCol(int ACol);
    void AutoNumberRow(int ARow);
    int GetAutoNumberStart() const { return FAutoNumberStart; }
    void SetAutoNumberStart(int Value) { FAutoNumberStart = Value; }
    int GetAutoNumberOffset() const { return FAutoNumberOffset; }
    void SetAutoNumberOffset(int Value) { FAutoNumberOffset = Value; }
    TSortDirection GetAutoNumberDirection() const { return FAutoNumberDirection; }
    void SetAutoNumberDirection(TSortDirection Value) { FAutoNumberDirection = Value; }
    // Rows are display rows, columns real ones; heights and widths go along.
    void SwapRows(int ARow1, int ARow2);
    void SwapColumns(int ACol1, int ACol2);

    // --- sorting (columns are real columns, rows display rows)
    virtual void QSort();
    virtual void QSortIndexed();
    // Puts the rows back into the order they had when the cross-reference
    // was last reset.
    virtual void QUnSort();
    void Sort(int Column, TSortDirection Direction);
    void SortByColumn(int Col);
    // Puts two rows into sort order; true when they were exchanged.
    bool SortLine(int Col, int ARow1, int ARow2);
    void QuickSort(int Col, int Left, int Right);
    void QuickSortIndexed(int Left, int Right);
    void InitSortXRef();
    TIntList* GetSortRowXRef() const { return FSortRowXRef.get(); }
    TColumnType ColumnType(int Col);
    // -1, 0 or 1: the cell of ARow1 after, as or before the cell of ARow2.
    int CompareCells(int ACol, int ARow1, int ARow2, TSortDirection Direction);
    int CompareRows(int ACol, int ARow1, int ARow2);
    int CompareRowsIndexed(int Depth, int ARow1, int ARow2);
    virtual void SortSwapRows(int ARow1, int ARow2);
    int GetCompares() const { return FSort.compares; }
    int GetSwaps() const { return FSort.swaps; }
    // Milliseconds the last header-click sort took.
    DWORD GetSortTime() const { return FSort.time; }
    // Sorts order the rows by CompareRows and CompareRowsIndexed themselves,
    // which read the cells at every compare, instead of by the keys read once
    // per sort: the slow road, kept to check the fast one against.
    bool GetSortBySingleCompare() const { return FSort.singleCompare; }
    void SetSortBySingleCompare(bool Value) { FSort.singleCompare = Value; }

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

    // --- cell graphics (real column, display row)
    virtual TCellGraphic* GetCellGraphic(int ACol, int ARow);
    // ctEmpty for a cell without graphic.
    virtual TCellType GetCellGraphicType(int ACol, int ARow);
    // True unless the graphic is of a kind other than ctNone or has a comment.
    virtual bool HasNoCellGraphic(int ACol, int ARow);
    // Frees the cell's graphic and gives the cell a new ctNone one.
    TCellGraphic* CreateCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphic(int ACol, int ARow);
    bool RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType);
    TIntList* GetMultiImageList(int ACol, int ARow);
    // False for cells outside the storage; else whether the base cell's
    // graphic is of one of the kinds.
    bool HasGraphicOfKinds(int ACol, int ARow, const Set<TCellType>& Kinds);
    // What image cells sort by: the bitmap or icon object, the image index; -1 otherwise.
    intptr_t GetCellImageKey(int ACol, int ARow);
    bool HasSortIndicator(int ACol, int ARow);
    // The room a cell's graphic takes beside or above its text.
    virtual void CellGraphicSize(int ACol, int ARow, TSize& Size) { CellGraphicSizeEx(ACol, ARow, Size, 0); }
    virtual void CellGraphicSizeEx(int ACol, int ARow, TSize& Size, int Extra);
    // (0, 0) for a cell without graphic and for a Scale of 0 or less.
    virtual void MeasureCellGraphic(TCanvas* Canvas, int ACol, int ARow, TSize& Size, double Scale, int Extra);
    // The 11 x 11 expand glyph of a ctExpand cell; empty for other cells.
    void GetExpandButtonRect(int ACol, int ARow, TRect& Rect);
    // A graphic at a free position (offset in CellValue, size in CellIndex);
    // ACol is a displayed column. Empty for a cell without graphic.
    void GetCellGraphicRect(int ACol, int ARow, TRect& Rect);
    // A real column and a row of the storage: what graphics may be put on.
    bool IsStorageCell(int ACol, int ARow) const
    {
        return ACol >= 0 && ARow >= 0 && ACol < TotalColCount() && ARow < GetRowCount();
    }
    // The images of image-list cells.
    TCustomImageList* GetGridImages() const { return FGridImages; }
    void SetGridImages(TCustomImageList* Value);
    virtual TCustomImageList* GetCellImageList(int ACol, int ARow) { return FGridImages; }

    // --- graphics put into cells, read back, changed and removed (real
    // column, display row). Cells outside the storage take nothing: adders
    // do nothing, Create* raise Exception "Invalid cell", readers answer none.
    // Add* leave the object with the caller, Create* give one the cell owns.
    void AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap* CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val);
    TBitmap* GetBitmap(int ACol, int ARow);
    bool HasBitmap(int ACol, int ARow) { return GetBitmap(ACol, ARow) != nullptr; }
    void RemoveBitmap(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitmap); }
    void AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                    int Padding, TCellHAlign hal, TCellVAlign val);
    TPicture* CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                            TCellHAlign hal, TCellVAlign val);
    TPicture* GetPicture(int ACol, int ARow);
    bool HasPicture(int ACol, int ARow) { return GetPicture(ACol, ARow) != nullptr; }
    void RemovePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctPicture); }
    void AddFilePicture(int ACol, int ARow, TFilePicture* AFilePicture, bool Transparent, TStretchMode StretchMode,
                        int Padding, TCellHAlign hal, TCellVAlign val);
    TFilePicture* CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                    TCellHAlign hal, TCellVAlign val);
    TFilePicture* GetFilePicture(int ACol, int ARow);
    bool HasFilePicture(int ACol, int ARow) { return GetFilePicture(ACol, ARow) != nullptr; }
    void RemoveFilePicture(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctFilePicture); }
    void AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    TIcon* CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val);
    void RemoveIcon(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctIcon); }
    // The image kinds need GridImages.
    void AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    bool GetImageIdx(int ACol, int ARow, int& idx);
    void SetImageIdx(int ACol, int ARow, int Idx);
    void RemoveImageIdx(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImageList); }
    // Writes Aidx as the text of an empty cell.
    void AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val);
    bool HasDataImage(int ACol, int ARow) { return HasGraphicOfKinds(ACol, ARow, {ctDataImage}); }
    // Also empties the cell's text.
    void RemoveDataImage(int ACol, int ARow);
    // Dir 0: a horizontal strip.
    void AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val);
    void RemoveMultiImage(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctImages); }
    void AddInterfacedCell(int ACol, int ARow, TInterfacedPersistent* AObject);
    TInterfacedPersistent* GetInterfacedCell(int ACol, int ARow);
    void RemoveInterfacedCell(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctInterface); }
    // The cell's text is the bar's value.
    void AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor);
    void AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor, TColor BKTextColor);
    void AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                              TColor BKTextColor, const String& Fmt, int Min, int Max);
    bool HasProgress(int ACol, int ARow) { return HasGraphicOfKinds(ACol, ARow, {ctProgress}); }
    void RemoveProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgress); }
    void AddAdvProgress(int ACol, int ARow, int Min, int Max);
    void RemoveAdvProgress(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctXPProgress); }
    void AddProgressPie(int ACol, int ARow, TColor Color, int Value);
    void SetProgressPie(int ACol, int ARow, int Value);
    void RemoveProgressPie(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctProgressPie); }
    void AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor, bool ShowValue);
    void RemoveRangeIndicator(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRangeIndicator); }
    // Shape: a TCellShape.
    void AddShape(int ACol, int ARow, int Shape, TColor FillColor, TColor LineColor, TCellHAlign hal,
                  TCellVAlign val);
    bool HasShape(int ACol, int ARow) { return HasGraphicOfKinds(ACol, ARow, {ctShape}); }
    // clNone for a cell that is no shape.
    TColor GetShapeColor(int ACol, int ARow);
    void SetShapeColor(int ACol, int ARow, TColor FillColor);
    void RemoveShape(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctShape); }
    void AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor);
    bool HasRating(int ACol, int ARow) { return HasGraphicOfKinds(ACol, ARow, {ctRating}); }
    void RemoveRating(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRating); }
    void AddButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val);
    void AddBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TBitmap* Glyph, TCellHAlign hal,
                      TCellVAlign val);
    TBitmap* CreateBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal,
                             TCellVAlign val);
    bool HasButton(int ACol, int ARow) { return HasGraphicOfKinds(ACol, ARow, {ctButton, ctBitButton}); }
    // These three take a displayed column.
    String GetButtonText(int ACol, int ARow);
    void SetButtonText(int ACol, int ARow, const String& Value);
    void PushButton(int ACol, int ARow, bool Push);
    void RemoveButton(int ACol, int ARow);
    void RemoveBitButton(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctBitButton); }
    void RemoveAllButtons();
    void AddScrollBar(int ACol, int ARow, bool AutoRange);
    bool HasScrollBar(int ACol, int ARow) { return HasGraphicOfKinds(ACol, ARow, {ctScrollbar}); }
    bool HasAutoRangeScrollBar(int ACol, int ARow);
    // -1 (-1, -1) for a cell that is no scroll bar.
    int GetScrollPosition(int ACol, int ARow);
    void SetScrollPosition(int ACol, int ARow, int Pos);
    TScrollProp GetScrollProp(int ACol, int ARow);
    void SetScrollProp(int ACol, int ARow, const TScrollProp& Prop);
    void RemoveScrollBar(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctScrollbar); }
    // On a check box or radio button the balloon hangs on it; a cell of
    // another kind is left alone.
    void AddBalloon(int ACol, int ARow, const String& Title, const String& Text, TBalloonIcon Icon);
    bool HasBalloon(int ACol, int ARow) { return HasGraphicOfKinds(ACol, ARow, {ctBalloon}); }
    bool IsBalloon(int ACol, int ARow, String& Title, String& Text, TBalloonIcon& Icon);
    void RemoveBalloon(int ACol, int ARow);
    void AddExpand(int ACol, int ARow, int ExpandedHeight);
    bool HasExpand(int ACol, int ARow) { return HasGraphicOfKinds(ACol, ARow, {ctExpand}); }
    bool ToggleExpand(int ACol, int ARow);
    bool GetExpandState(int ACol, int ARow);
    int GetExpandHeight(int ACol, int ARow, bool Expanded);
    void RemoveExpand(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctExpand); }
    void AddRotated(int ACol, int ARow, int AAngle, const String& s);
    bool IsRotated(int ACol, int ARow, int& aAngle);
    // Turns whatever graphic the cell has into rotated text.
    void SetRotated(int ACol, int ARow, int AAngle);
    void RemoveRotated(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRotated); }
    void AddComment(int ACol, int ARow, const String& Comment);
    void AddColorComment(int ACol, int ARow, const String& Comment, TColor Color);
    bool IsComment(int ACol, int ARow, String& Comment);
    void RemoveComment(int ACol, int ARow);
    void RemoveAllComments();
    void AddMarker(int ACol, int ARow, int ErrPos, int ErrLen);
    void GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen);
    void RemoveMarker(int ACol, int ARow);
    void RemoveAllMarkers();

    // --- check boxes and radio controls in cells (real column, display row
    // unless a row is named real). Adding one to a cell outside the storage
    // raises Exception "Invalid cell".
    void AddCheckBox(int ACol, int ARow, bool State, bool Data);
    void AddCheckBox(int ACol, int ARow, TCheckBoxState State);
    void AddCheckBoxColumn(int ACol, bool DefaultState = false, bool DataCheckBox = false);
    void AddTriStateCheckBoxColumn(int ACol, TCheckBoxState State);
    void RemoveCheckBoxColumn(int ACol);
    void RemoveCheckBox(int ACol, int ARow);
    bool HasCheckBox(int ACol, int ARow);
    bool HasDataCheckBox(int ACol, int ARow);
    bool IsDataCheckBoxColumn(int ACol);
    // ARow is a real row; true when the cell holds a state of that form.
    bool GetCheckBoxState(int ACol, int ARow, TCheckBoxState& State);
    bool GetCheckBoxState(int ACol, int ARow, bool& State);
    bool IsChecked(int ACol, int ARow);
    bool SetCheckBoxState(int ACol, int ARow, TCheckBoxState State);
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheckCell(ACol, ARow, false); }
    // The one toggle of clicks, Space and ToggleCheckBox; false when nothing toggled.
    virtual bool ToggleCheckCell(int ACol, int ARow, bool FromClick);
    // Sets a state with the change event, as CheckAll does.
    bool SetCheckStateNotify(int ACol, int ARow, bool State);
    void CheckAll(int ACol);
    void UnCheckAll(int ACol);
    static TCheckBoxState BoolToCheckBoxState(bool bChecked) { return bChecked ? cbChecked : cbUnchecked; }
    // Whether a point of the client area hits the cell's box (or, without
    // PreciseCheckBoxCheck, the cell).
    bool IsInCheckBox(int ACol, int ARow, int XPos, int YPos);
    void AddRadioButton(int ACol, int ARow, bool State) { AddRadioButtonGroup(ACol, ARow, rgCol, State); }
    void AddRadioButtonGroup(int ACol, int ARow, TRadioButtonGroup Group, bool State);
    void AddRadioButtonColumn(int ACol);
    void AddRadioButtonGroupColumn(int ACol);
    void RemoveRadioButton(int ACol, int ARow);
    void RemoveRadioButtonColumn(int ACol);
    bool HasRadioButton(int ACol, int ARow);
    bool HasRadioButtonGroup(int ACol, int ARow, TRadioButtonGroup Group);
    bool IsRadioButtonChecked(int ACol, int ARow);
    bool SetRadioButtonState(int ACol, int ARow, bool State);
    void SetRadioButtonRowIndex(int ARow, int Index);
    void SetRadioButtonColumnIndex(int ACol, int Index);
    int GetRadioButtonColumnIndex(int ACol);
    // Checks the button and unchecks the others of its group up to the
    // first cell that holds none.
    virtual bool ClickRadioButtonCell(int ACol, int ARow, bool FromClick);
    // A radio group: one cell, a list of options (sl stays the caller's).
    void AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, TStrings* sl);
    TStrings* CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio);
    bool GetRadioIdx(int ACol, int ARow, int& IdxRadio);
    // Only a ctRadio cell changes; true then.
    bool SetRadioIdx(int ACol, int ARow, int IdxRadio);
    TStrings* GetRadioStrings(int ACol, int ARow);
    bool IsRadio(int ACol, int ARow);
    void RemoveRadio(int ACol, int ARow) { RemoveCellGraphicOfType(ACol, ARow, ctRadio); }
    // Space on a radio group: the next option, after the last the first.
    bool AdvanceRadioSelection(int ACol, int ARow, bool FromKey);
    bool IsControlCell(int ACol, int ARow);
    bool HasDataDrivenGraphic(int ACol, int ARow);

    // --- cell texts in bulk (real column, display row)
    void ClearColumnHeaders();
    void ClearRowHeaders();
    // A search text wrapped in "hi" (highlight) or "e" (mark) elements of the
    // visible text of S, and those elements taken out again.
    String HilightText(bool DoCase, const String& S, const String& Text);
    String MarkText(bool DoCase, const String& S, const String& Text);
    String UnHilightText(const String& S);
    String UnMarkText(const String& S);
    // The same over the base cells of a cell, column, row or the grid; a cell
    // is written only when its text changes, and a plain text comes back as
    // it was.
    void HilightInCell(bool DoCase, int Col, int Row, const String& HiText, bool FullText = false);
    void HilightInCol(bool DoFixed, bool DoCase, int Col, const String& HiText, bool FullText = false);
    void HilightInRow(bool DoFixed, bool DoCase, int Row, const String& HiText, bool FullText = false);
    void HilightInGrid(bool DoFixed, bool DoCase, const String& HiText, bool FullText = false);
    void MarkInCell(bool DoCase, int Col, int Row, const String& HiText);
    void MarkInCol(bool DoFixed, bool DoCase, int Col, const String& HiText);
    void MarkInRow(bool DoFixed, bool DoCase, int Row, const String& HiText);
    void MarkInGrid(bool DoFixed, bool DoCase, const String& HiText);
    void UnHilightInCell(int Col, int Row);
    void UnHilightInCol(bool DoFixed, int Col);
    void UnHilightInRow(bool DoFixed, int Row);
    void UnHilightInGrid(bool DoFixed);
    void UnMarkInCell(int Col, int Row);
    void UnMarkInCol(bool DoFixed, int Col);
    void UnMarkInRow(bool DoFixed, int Row);
    void UnMarkInGrid(bool DoFixed);
    // Through CellChecker; true (and nothing done) without one.
    bool CheckCell(int Col, int Row);
    bool CheckCells(int FromCol, int FromRow, int ToCol, int ToRow);
    bool CheckCol(bool DoFixed, int Col);
    bool CheckRow(bool DoFixed, int Row);
    bool CheckGrid(bool DoFixed);
    // Test data over the normal cells, or every cell with DoFixed. A pattern
    // Format cannot use raises before any cell changes; Rnd below 1 writes 0.
    void TextFill(bool DoFixed, const String& Txt);
    void FormatFill(bool DoFixed, const String& Fmt);
    void RandomFill(bool DoFixed, int Rnd);
    void LinearFill(bool DoFixed);
    // A new sorted list of the column's texts as saved; the caller owns it.
    TStrings* DistinctValues(int ACol, bool CaseSensitive);
    // Cell texts that are RTF into a rich edit and back; an empty cell
    // empties the rich edit.
    void CellToRich(int Col, int Row, TRichEdit* Richeditor);
    String RichToString(TRichEdit* Richeditor);
    void RichToCell(int Col, int Row, TRichEdit* Richeditor);

    // --- typed cell access (real column, display row)
    // The text without tags as a whole number: empty or "-" reads 0, a text
    // with the locale's separators reads as its nearest whole number; any
    // other text, or a number beyond 32 bits, raises EAdvGridError.
    int GetIntegerCell(int ACol, int ARow);
    void SetIntegerCell(int ACol, int ARow, int Value);
    // The text through the column's float format (an unusable format raises
    // EConvertError and leaves the cell as it was).
    void SetFloatCell(int ACol, int ARow, double Value);
    // The short date text, or an empty cell for a date of 0 or less unless ShowNullDates.
    void SetDateCell(int ACol, int ARow, TDateTime Value);
    virtual void GetColumnFloatFormat(int ACol, int ARow, String& Format);
    virtual String GetCurrentCellText();
    virtual void SetCurrentCellText(const String& Value);
    virtual String GetCurrentCellDisplText();
    virtual void SetCurrentCellEditText(const String& Value);
    String GetStrippedCellText(int ACol, int ARow);
    // Hidden rows read from their items: past a row's entries the text is
    // empty and the object null. Negative coordinates read empty.
    String GetRealRowCellText(int ACol, int ARealRow);
    TObject* GetRealRowObject(int ACol, int ARealRow);
    // The texts of a hidden row; null for a row that is shown.
    TStrings* GetHiddenRowStrings(int ARealRow);
    TControl* GetCellControl(int ACol, int ARow);
    // A sorted position's unsorted row, as a real row; a negative row is its own.
    int SortedRowIndex(int ARow);
    int UnSortedRowIndex(int ARow);
    // The cell's horizontal and vertical alignment as painted.
    void GetCellAlignment(int ACol, int ARow, TAlignment& HA, TVAlignment& VA);
    // The cell's font, brush, gradient, alignment and wrap, resolved in
    // their fixed order (ACol a display column when Remap).
    void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select, bool Remap,
                             TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor, TColor& AMirrorColorTo,
                             TFont* AFont, TAlignment& HA, TVAlignment& VA, bool& WW,
                             TCellGradientDirection& GD) override;
    // The font text is measured with: cell size and name always apply.
    void GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState AState, TFont* AFont, TBrush* ABrush,
                           bool Remap);
    virtual bool IsSelectionShown();
    // The graphic of a cell (null for none), the room it takes and whether
    // the text shows beside it.
    TCellGraphic* GetCellGraphicLayout(int ACol, int ARow, int& Width, int& Height, bool& ShowText,
                                       TCellHAlign& HAlign, TCellVAlign& VAlign);
    void DrawCheckBox(TCanvas* Canvas, const TRect& Rect, bool Checked, TCheckBoxState TriState, bool IsTriState,
                      AdvGrid::TControlStyle Style, bool Grayed, bool Enabled);
    // CheckedIndex -1: the item whose text equals the cell text is checked.
    void DrawRadioGroup(TCanvas* Canvas, const TRect& R, bool Upward, double Scale, AdvGrid::TControlStyle Style,
                        int ARow, int ACol, bool Selected, TStrings* Items, bool Disabled, bool Horizontal,
                        int CheckedIndex, int Count);
    // Around the point (X, Y).
    void DrawSortIndicator(TCanvas* Canvas, int ACol, int X, int Y);
    // True unless OnCanShowFixedDropDown says no.
    virtual bool DoCanShowFixedDropDown(int ACol)
    {
        bool allow = true;
        if (OnCanShowFixedDropDown)
            OnCanShowFixedDropDown(this, ACol, allow);
        return allow;
    }
    // Every step of a cell's painting inside its lines.
    void DrawCellContent(TCanvas* ACanvas, int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    // Rich text of the cell through the hidden rich edit.
    void DrawRichTextCell(int ACol, int ARow, const TRect& Rect, TCanvas* Canvas);
    // Footer rows, fixed right columns and cells the event makes fixed, by the base cell.
    virtual bool IsFixed(int ACol, int ARow);
    virtual bool HasCustomAlignment() { return false; }

    // --- one property of one cell, a row or a block (real column, display
    // row); readers create no properties, writers outside the grid do nothing
    TColor GetCellBrushColor(int ACol, int ARow);
    void SetCellBrushColor(int ACol, int ARow, TColor Value);
    void SetCellBrushColorTo(int ACol, int ARow, TColor Value);
    void SetCellFontColor(int ACol, int ARow, TColor Value);
    TFontStyles GetCellFontStyle(int ACol, int ARow);
    void SetCellFontStyle(int ACol, int ARow, TFontStyles Value);
    void SetCellFontFace(int ACol, int ARow, const String& Value);
    void SetCellFontPointSize(int ACol, int ARow, int Value);
    TAlignment GetCellTextAlignment(int ACol, int ARow);
    void SetCellTextAlignment(int ACol, int ARow, TAlignment Value);
    bool GetCellReadOnly(int ACol, int ARow);
    // clNone takes the colour off: cells that keep a graphic, a cell object
    // or a merge keep their properties, the others lose them.
    void SetRowColor(int ARow, TColor Value);
    void SetRowColorTo(int ARow, TColor Value);
    void SetRowFontColor(int ARow, TColor Value);
    // Blocks: columns Left..Right, rows Top..Bottom, clipped to the grid.
    void SetCellColor(const TGridRect& GridRect, TColor AColor);
    void SetCellTextColor(const TGridRect& GridRect, TColor AColor);
    void SetCellFontName(const TGridRect& GridRect, const String& AFontName);
    void SetCellFontSize(const TGridRect& GridRect, int AFontSize);
    void SetAlignment(const TGridRect& GridRect, TAlignment AAlignment);
    void SetFontStyle(const TGridRect& GridRect, TFontStyle AStyle, bool DoSet);
    bool IsFontStyle(const TGridRect& GridRect, TFontStyle AStyle);
    bool IsAlignment(const TGridRect& GridRect, TAlignment AAlignment);
    // The checker CheckCells runs; the grid follows its freeing.
    TAdvStringGridCheck* GetCellChecker() const { return FCellChecker; }
    void SetCellChecker(TAdvStringGridCheck* Value);

    // --- cell text for files (real column, display row)
    // The text a file writer stores: check boxes as the check texts, HTML
    // and rich text as plain text unless kept, then OnSaveCell.
    virtual String SaveCell(int ACol, int ARow);
    // The cell reader's text; a hook for descendants.
    virtual String ExportCell(int ACol, int ARow);
    virtual void GetCellTextForSave(int ACol, int ARow, String& Text);
    // OnLoadCell may change the text; it is stored without notifications.
    virtual void LoadCellText(int ACol, int ARow, const String& Text);
    // The text as shown and saved.
    virtual void FormatCellText(int ACol, int ARow, String& Text);
    // 0 for an empty cell; a text that is no number raises EAdvGridError.
    double CellToReal(int ACol, int ARow);

    // --- spreadsheet export through the spreadsheet application's automation
    // The cells from the save start on, as texts, into a new workbook (or,
    // without CreateNewSheet and with a workbook open, into the active sheet
    // from the active cell's row), saved under Filename. No automation server
    // raises EAdvGridError "Excel OLE server not found"; a workbook that
    // cannot be made or saved raises the server's error.
    void SaveToXLS(const String& Filename, bool CreateNewSheet = true);
    // Into the sheet SheetName (made when missing) of the workbook Filename
    // (opened when it exists).
    void SaveToXLSSheet(const String& Filename, const String& SheetName);

    // --- workbook and database import, word-processor export
    // The names of the workbook's worksheets; the caller owns the list.
    TStringList* GetXLSSheets(const String& FileName);
    // The grid takes the size and cells of the used range of the active
    // sheet, or of the sheet SheetName ("Excel worksheet <name> not found"
    // when there is none); cells go behind the fixed ones unless those are
    // saved. Texts, numbers as text; error cells leave their grid cells.
    void LoadFromXLS(const String& Filename);
    void LoadFromXLSSheet(const String& Filename, const String& SheetName);
    // A table or query of the database file: the field names in the last
    // fixed row, the records below.
    void LoadFromMDBTable(const String& Filename, const String& Table);
    void LoadFromMDBSQL(const String& Filename, const String& SQL);
    // The cells as a table at the start of a new document (or the open one),
    // saved under Filename; "Word OLE server not found" without the server.
    void SaveToDOC(const String& Filename, bool CreateNewDocument = true);
    // The cells as a table at Bookmark of the document Filename, or after its
    // last paragraph when the bookmark is not there.
    void AppendToDoc(const String& Filename, const String& Bookmark);
    void ChangeScale(int M, int D) override;

    // --- HTML export (display rows and columns)
    // The table of the save range with a style class per cell look, after
    // HTMLSettings' header file and before its footer file, into FileName:
    // UTF-8 with its byte-order mark, or without Unicode 7-bit text with
    // character references. Cell pictures become JPEG files in the picture
    // folder beside it. Show (or AutoPreview) opens the page with the shell.
    void SaveToHTML(const String& FileName, bool Show, bool Unicode);
    // As SaveToHTML, after the lines of the page already in FileName.
    void AppendToHTML(const String& FileName, bool Show, bool Unicode);
    // The markup; dir (with a trailing "/") holds the picture folder.
    String SaveToHTMLString(const String& dir);

    // --- binary cell stream (display rows; columns as stored)
    void SaveToBinFile(const String& FileName);
    // The save range.
    void SaveToBinStream(TStream* Stream);
    // Rect in cell coordinates, inclusive corners.
    void SaveRectToBinStream(const TRect& Rect, TStream* Stream);
    void LoadFromBinFile(const String& FileName);
    void LoadFromBinStream(TStream* Stream);
    // A stream of part of a grid lands with its first cell on Point; a
    // stream of a whole grid replaces the grid's cells and sizes, shifted by
    // Point. The whole stream is read before the grid changes, so a stream
    // that cannot be read leaves the grid as it was.
    void LoadAtPointFromBinStream(const TPoint& Point, TStream* Stream);

    // --- the grid's text file and its UTF-16 cell stream: a line of counts,
    // "cw" width lines and one line per non-empty cell. Readers take every
    // line before the grid changes: counts that are not whole numbers,
    // negative or beyond 1,048,576 columns or 16,777,216 rows fail first.
    // Unicode writes UTF-16 with its byte-order mark, else the system code page.
    void SaveToFile(const String& FileName, bool Unicode = false);
    // Counts that do not read raise EAdvGridError "File contains no data or
    // corrupt file " + FileName; cell lines outside the grid are passed over.
    void LoadFromFile(const String& FileName);
    void SaveToStream(TStream* Stream);
    // A number that does not read raises EConvertError; a "cw" line or a cell
    // outside the grid raises EInvalidGridOperation. The stream is left after
    // the last cell line, before a line that is none.
    void LoadFromStream(TStream* Stream);

    // --- CSV. Delimiter #0 guesses the delimiter of each load and writes
    // ",". Unicode writes the grid's Encoding (UTF-8 with its mark), else the
    // system code page. MaxRows <= 0 reads every line. Readers end in time
    // proportional to the file, with its cells or with an error before the
    // grid changes: "File is empty" for a file of no lines (a file of no
    // bytes is passed over).
    void SaveToCSV(const String& FileName, bool Unicode = false);
    // After the lines of the existing file, which must exist.
    void AppendToCSV(const String& FileName, bool Unicode = false);
    void LoadFromCSV(const String& FileName, int MaxRows = 0);
    void LoadFromCSV(const String& FileName, TEncoding* AEncoding, int MaxRows = 0);
    void LoadFromCSVStream(TStream* AStream, int MaxRows = 0);
    // The file's rows after the grid's rows (before a visible floating footer).
    void InsertFromCSV(const String& FileName, int MaxRows = 0);

    // --- fixed-width text and ASCII tables (system code page, or the grid's
    // Encoding with Unicode)
    // positions holds column widths; each missing one is added to it as the
    // column's longest line + 1. A file that cannot be made raises
    // EAdvGridError "Cannot Create file " + FileName.
    void SaveToFixed(const String& FileName, TIntList* positions);
    // positions holds 1-based start positions, the last one ending the last
    // field; fields are cut to the line. Fewer than two positions raise
    // EAdvGridError before anything changes, a missing file "File " +
    // FileName + " not found". MaxRows -1 reads every line.
    void LoadFromFixed(const String& FileName, TIntList* positions, bool DoTrim = true, int MaxRows = -1);
    // Every column padded to its longest line + 1, aligned as the cell is;
    // further lines of multi-line cells on lines of their own.
    void SaveToASCII(const String& FileName, bool Unicode = false);
    // After the lines of the file, when it exists.
    void AppendToASCII(const String& FileName, bool Unicode = false);

    // --- XML and JSON
    // One element per saved row and one per cell, in the encoding that
    // XMLEncoding names (characters it lacks as character references; an
    // encoding unknown here writes 7-bit text with references).
    void SaveToXML(const String& FileName, const String& ListDescr, const String& RecordDescr,
                   TStrings* FieldDescr, bool ExportEmptyCells = true);
    // Through the system's XML parser object. A missing file raises
    // EAdvGridError "XML file not found", a file the parser refuses "XMLDOM
    // Parsing error " + code + " on line " + line, both before the grid changes.
    void LoadFromXML(const String& FileName, bool LevelToRow = false, bool LoadFieldDescr = false);
    // {"grid":[ rows ]} in 7-bit text: every other character as a \u escape.
    void SaveToJSON(const String& FileName, const String& RecordDescr, TStrings* FieldDescr);

    // === tree nodes, grouping and filtering ================================
    // --- tree nodes: a node is column 0's ctNode graphic (CellBoolean
    // contracted, CellIndex span with the node row, CellErrFrom sub-rows);
    // rows are real rows unless named display. Spans are taken as far as the
    // normal rows reach: footer rows are never part of a node.
    void AddNode(int ARow, int Span);
    void RemoveNode(int ARow);
    void RemoveAllNodes();
    void ExpandNode(int ARow);
    void ContractNode(int ARow);
    void ExpandAll();
    void ContractAll();
    // Shows every hidden row in one pass, whatever hid it.
    void RestoreAllHiddenRows();
    int GetNumNodes() const { return FNumNodes; }
    // Display rows from here on; -1 (level, span) or false/0 for no node.
    bool GetNodeState(int ARow);
    void SetNodeState(int ARow, bool Value);
    int GetNodeLevel(int ARow);
    int GetNodeSpan(int ARow);
    void SetNodeSpan(int ARow, int Span);
    void UpdateNodeSpan(int ARow, int Delta);
    int GetSubNodeCount(int ARow);
    void UpdateSubNodeCount(int ARow, int Delta);
    bool IsNode(int ARow);
    bool IsSummary(int ARow);
    // The innermost node over the row; a node row answers itself unless
    // nested; -1 without one.
    int GetParentRow(int ARow);
    // For tree lines: 0 a node, 1 the last child, 2 a child with more below.
    int GetNodeSpanType(int ARow);
    void InsertNormalRow(int ARow);
    void RemoveNormalRow(int ARow);
    // Real rows: a row under the node at or over ARow, with the spans of
    // every ancestor grown (shrunk) by one.
    void InsertChildRow(int ARow, int InsertAt);
    void RemoveChildRow(int ARow);
    bool IsNodeButtonHit(int ARow, int X);
    void SetSummaryRow(int ARow);
    bool HasNodes() override { return FNumNodes > 0; }
    // Node button events: rows as display row and real row.
    std::function<void(TObject* Sender, int ARow, int ARowReal)> OnExpandNode;
    std::function<void(TObject* Sender, int ARow, int ARowReal)> OnContractNode;
    std::function<void(TObject* Sender, int ARow, int ARowReal, bool& Allow)> OnBeforeExpandNode;
    std::function<void(TObject* Sender, int ARow, int ARowReal, bool& Allow)> OnBeforeContractNode;

    // --- grouping: consecutive rows with one value in a column become the
    // children of a node row showing the value (the column taken out), with
    // optional summary rows after each group (display rows, real columns)
    virtual void Group(int Colindex);
    virtual void UnGroup();
    // A second level inside the groups; the values show in Colindex + 1.
    virtual void SubGroup(int Colindex);
    virtual void SubUnGroup(int Colindex);
    // True only while Group or UnGroup runs.
    bool GetIsGrouping() const { return FIsGrouping; }
    // Per expanded group: into its summary row with Summary, else its node row.
    void GroupSum(int ACol) { GroupCalc(ACol, 1); }
    void GroupAvg(int ACol) { GroupCalc(ACol, 2); }
    void GroupMin(int ACol) { GroupCalc(ACol, 3); }
    void GroupMax(int ACol) { GroupCalc(ACol, 4); }
    void GroupCount(int ACol) { GroupCalc(ACol, 5); }
    void GroupCustomCalc(int ACol) { GroupCalc(ACol, 6); }
    void GroupDistinct(int ACol) { GroupCalc(ACol, 7); }
    void GroupStdDev(int ACol) { GroupCalc(ACol, 8); }
    void GroupCalc(int ACol, int Method);
    virtual double DoGroupCalc(int ACol, int FromRow, int ToRow);
    TGroupCalcEvent OnGroupCalc;
    // Merge (split) every header and summary row as the settings ask.
    void MergeGroupRows();
    void SplitGroupRows();
    // Sort the children of each expanded node of the deepest level only.
    virtual void QSortGroup();
    virtual void QSortGroupIndexed();

    // --- filtering (display rows, real columns): each application hides the
    // shown rows that fail the conditions as one more filter level
    bool GetFilterActive() const { return FFilterActive; }
    // True applies the conditions, false shows the last level's rows again.
    void SetFilterActive(bool Value);
    void ApplyFilter();
    void FilterRow(int ARow);
    // True while more than one level remains.
    bool RemoveLastFilter();
    void RemoveAllFilters();
    // Narrows the shown rows as a text grows by a character and widens them
    // as it shrinks by one; AColumn -1 searches whole rows.
    void NarrowDown(const String& ACondition, int AColumn);
    void NarrowDown(const String& ACondition, bool DoRemoveAccented, int AColumn);
    bool GetNarrowDownActive() const { return FNarrowDownActive; }
    // The conditions as an INI file; both swallow every error. Loading reads
    // as many conditions as the file's ITEM sections reach.
    void SaveFilter(const String& FileName);
    void LoadFilter(const String& FileName);
    virtual bool MatchFilterRow(int ARow);

    // --- the header filter drop-down and the filter-edit row
    // Fills FilterList with the column's entries: a value, or the text
    // shown, a tab and the condition.
    virtual bool BuildFilterList(int ACol, bool FirstOnly);
    // A choice in the single list, a click on a check of the check list.
    virtual void FilterListSelect(int ItemIndex);
    virtual void FilterCheckListClick(int ItemIndex);
    void ApplyFilterEditColumn(int ACol, TFilterType AType);
    void FilterTypeMenuClick(TObject* Sender);
    void FilterDropDownChanged(TObject* Sender) { Invalidate(); }
    // The column whose drop-down is open (-1: none), set by what opens it.
    void SetFilterColumn(int Value) { FFilterColumn = Value; }
    // Whether a value shown in the column's check list is among its
    // condition's values.
    bool FilterValueChosen(int ACol, const String& Text);
    TCustomFilterEvent OnCustomFilter;
    TGridProgressEvent OnFilterProgress;
    TNotifyEvent OnFilterDone;
    TGetColumnFilterEvent OnGetColumnFilter;
    TFilterSelectEvent OnFilterSelect;
    TFilterCheckEvent OnFilterCheck;
    TFilterCheckClickEvent OnFilterCheckClick;
    TFilterCloseEvent OnFilterClose;
    virtual void DoFilterDone() { FireEvent(OnFilterDone, this); }
    virtual void DoFilterClose(int ACol)
    {
        if (OnFilterClose)
            OnFilterClose(this, ACol);
    }

    // --- events
    TGetFloatFormatEvent OnGetFloatFormat;
    TGridFormatEvent OnGetFormat;
    TCustomCompareEvent OnCustomCompare;
    TRawCompareEvent OnRawCompare;
    TClickSortEvent OnClickSort;
    TGroupCalcEvent OnColumnCalc;
    TRowColBoolEvent OnCanClickCell;
    TColRowEvent OnFixedCellClick;
    TRowUpdateEvent OnRowUpdate;
    TCellsChangedEvent OnCellsChanged;
    TCellSaveLoadEvent OnSaveCell;
    TCellSaveLoadEvent OnLoadCell;
    // Percent done of a long file operation, fired when the value changes.
    TGridProgressEvent OnFileProgress;

    // --- events of the grid's own dispatch (the Do-methods fire them)
    TClickCellEvent OnClickCell;
    TCanEditCellEvent OnCanEditCell;
    TCanSortEvent OnCanSort;
    TSearchFooterActionEvent OnSearchFooterAction;
    TBoolVarEvent OnSearchFooterSearchEnd;
    // (Sender, Value, var DefaultSearch): the search edit's text changed.
    TSearchEditChangeEvent OnSearchEditChange;
    TNotifyEvent OnSearchFooterClose;
    TNotifyEvent OnCreatedSearchFooter;
    TColRowEvent OnButtonClick;
    TClickCellEvent OnComboCloseUp;
    TClickCellEvent OnComboDropDown;
    TCellColorEvent OnGetCellPrintColor;
    TCellBorderEvent OnGetCellPrintBorder;
    TGetEditorTypeEvent OnGetEditorType;
    TRowColBoolEvent OnIsPasswordCell;
    TColRowBoolEvent OnGetWordWrap;
    TFilterEditUpdateEvent OnFilterEditUpdate;
    TBoolVarEvent OnCanAddRow;
    TBoolVarEvent OnCanAddCol;
    TCanInsertRowEvent OnCanInsertRow;
    TCheckBoxChangeEvent OnCheckBoxChange;
    TCheckBoxCanToggleEvent OnCheckBoxCanToggle;
    TUpdateColumnSizeEvent OnUpdateColumnSize;
    TGridHintEvent OnGridHint;
    TGridHintEvent OnGridWideHint;
    TCellColorEvent OnGetCellColor;
    std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TGridDrawState AState, TRect ARect,
                       bool Printing)>
        OnCustomCellDraw;
    std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TGridDrawState AState, TRect ARect,
                       bool Printing)>
        OnCustomCellBkgDraw;
    std::function<void(TObject* Sender, int ARow, int ACol, TPen* LeftPen, TPen* TopPen, TPen* RightPen,
                       TPen* BottomPen)>
        OnGetCellBorderProp;
    std::function<void(TObject* Sender, int ACol, bool& Allow)> OnCanShowFixedDropDown;
    std::function<void(TObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo, TColor& MirrorColor,
                       TColor& MirrorColorTo, TCellGradientDirection& GD)>
        OnGetCellGradient;
    TCellBorderEvent OnGetCellBorder;
    TGetAlignmentEvent OnGetAlignment;
    TGetCellCursorEvent OnGetCellCursor;
    TRatingChangeEvent OnRatingChange;
    TGetCheckEvent OnGetCheckTrue;
    TGetCheckEvent OnGetCheckFalse;
    TRowColBoolEvent OnIsFixedCell;
    TColRowBoolEvent OnHasComboBox;
    TColRowBoolEvent OnHasEditBtn;
    TColRowBoolEvent OnHasSpinEdit;
    THasFilterEditEvent OnHasFilterEdit;
    TRowDisjunctSelectEvent OnRowDisjunctSelect;
    TRowDisjunctSelectedEvent OnRowDisjunctSelected;
    TCellValidateEvent OnCellValidate;
    TCellValidateEvent OnCellValidateWide;
    TSelectionChangedEvent OnSelectionChanged;
    TColRowEvent OnEditCellDone;
    TUnitChangedEvent OnUnitChanged;
    TEllipsClickEvent OnEllipsClick;
    THoverButtonClickEvent OnHoverButtonClick;
    TNotifyEvent OnGridResize;
    TNotifyEvent OnEditingDone;
    TNotifyEvent OnIntelliZoom;

protected:
    // --- hooks
    // --- mouse press and release
    void HandleWMLButtonDown(TMessage& Message);
    void HandleWMLButtonUp(TMessage& Message);
    // Swallowed while a column or row is dragged by its picture.
    void HandleWMRButtonUp(TMessage& Message);
    // The release of any button as the base grid reports it: disjunct cell
    // marks, the selection-changed events, a sizing cancelled outside the
    // grid; then the base grid's release.
    virtual void HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        HandleMouseUp(Button, Shift, X, Y);
    }
    virtual void DoClickSort(int ACol);
    // A sort asks it at every compare while OnGetFormat is assigned.
    virtual void DoGetFormat(int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix)
    {
        if (OnGetFormat)
            OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
    }
    void Dispatch(TMessage& Message) override;
    void ColWidthsChanged() override;
    // Writers and calculations report their progress: state 0 and the first
    // row, 5 and each row, 2 and -1 at the end.
    virtual void ExportNotification(int AState, int ARow) {}
    // Cells of R changed: tells the event (R in cell coordinates).
    virtual void DoCellsChanged(const TRect& R);
    // Pastes call ImportNotification as writers call ExportNotification.
    virtual void ImportNotification(int AState, int ARow) {}
    // Lets go of a linked component that is being freed.
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // === dispatch: each applies the grid's default, then the handler ========
    virtual void DoClickCell(int ARow, int ACol);
    virtual void DoCanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void DoCanSort(int ACol, bool& DoSort);
    virtual void DoSearchFooterAction(const String& Value, int ACol, int ARow, TSearchAction SearchAction);
    virtual void DoSearchFooterSearchEnd(bool& ContinueFromStart);
    virtual void DoButtonClick(int ACol, int ARow);
    // OnButtonClick for the current cell.
    void ButtonClick();
    virtual void DoComboCloseUp(int ARow, int ACol);
    virtual void DoComboDropDown(int ARow, int ACol);
    virtual void DoGetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void DoGetCellPrintBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void DoGetEditorType(int ACol, int ARow, TEditorType& AEditor);
    virtual void DoGetEditorTypeForShow(int ACol, int ARow, TEditorType& AEditor);
    virtual void DoIsPasswordCell(int ACol, int ARow, bool& IsPassword);
    virtual void DoGetWordWrap(int ACol, int ARow, bool& WordWrap);
    virtual void DoFilterEditUpdate(int ACol, const String& Condition, TFilterType FilterType);
    virtual void DoCanAddRow(bool& CanAdd);
    virtual void DoCanAddCol(bool& CanAdd);
    virtual void DoCanInsertRow(int ARow, bool& CanInsert);
    virtual void DoCheckBoxChange(int ACol, int ARow, bool State);
    virtual void DoColumnResized(int ACol, int& AWidth);
    virtual void DoColumnAutoSized(int ACol, int& AWidth);
    virtual void DoGridHint(int ACol, int ARow, String& WideHint, String& Hint);
    virtual void DoGetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush* ABrush, TFont* AFont);
    virtual void DoGetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders);
    virtual void DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void DoGetCellCursor(int ACol, int ARow, int X, int Y);
    virtual bool DoRatingChange(int ACol, int ARow, int& NewRate);
    virtual void DoGetCheckTrue(int ACol, int ARow, String& Value);
    virtual void DoGetCheckFalse(int ACol, int ARow, String& Value);
    virtual void GetCheckedFilterValue(int ACol, String& Value) { Value = FCheckTrue; }
    virtual void GetUncheckedFilterValue(int ACol, String& Value) { Value = FCheckFalse; }
    virtual void DoIsFixedCell(int ARow, int ACol, bool& IsFixed);
    virtual void QueryCellEditable(int ACol, int ARow, bool& CanEdit);
    // True when the handler chose no editor for the cell.
    bool HasNoEditor(int ACol, int ARow);
    virtual bool DoHasComboBox(int ACol, int ARow, TEditorType Editor);
    virtual bool DoHasEditBtn(int ACol, int ARow, TEditorType Editor);
    virtual bool DoHasSpinEdit(int ACol, int ARow, TEditorType Editor);
    virtual bool DoHasFilterEdit(int ACol, int ARow);
    virtual void DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    virtual void DoIntelliZoom() { FireEvent(OnIntelliZoom, this); }
    virtual void DoHoverButtonClick(TObject* Sender);
    virtual void DoEllipsClick(const String& Text, String& Value);
    // Empty hooks: the F2 key, before the column headers go into row 0.
    virtual void F2KeyPressed() {}
    // The five key handlers; the drop-down grid runs them as its inherited handling.
    virtual void HandleWMKeyDown(TWMKey& Msg);
    void HandleKeyDown(Word& Key, TShiftState Shift) override;
    virtual void HandleWMKeyUp(TWMKey& Msg);
    virtual void HandleKeyUp(Word& Key, TShiftState Shift);
    void KeyUp(Word& Key, TShiftState Shift) override { HandleKeyUp(Key, Shift); }
    virtual void HandleWMChar(TWMKey& Msg);
    virtual void BeforeKeySelect(TGridRect& Selection) {}
    virtual void DoCheckBoxClick(int ACol, int ARow, bool State);
    virtual void InsertRowAuto(int ARow);
    virtual void DeleteRowAuto(int ARealRow);
    // Routes the key messages to the handlers; false for other messages.
    bool KeyMessage(TMessage& Message);
    virtual void BeforeShowColumnHeaders() {}
    virtual void HideHoverButtons();
    // Hooks of the settings objects, empty here.
    virtual void ReservedHookA() {}
    virtual void ReservedHookB() {}
    virtual void ReportDesigning(bool& IsDesigning) { IsDesigning = ComponentState().Contains(csDesigning); }
    virtual void RepaintAll() { Invalidate(); }
    // The search bar's actions.
    virtual void SearchEditChange(TObject* Sender);
    virtual void SearchBackwardClick(TObject* Sender);
    virtual void SearchForwardClick(TObject* Sender);
    virtual void SearchExitClick(TObject* Sender);
    virtual void SearchHighLightClick(TObject* Sender);
    virtual void SearchMatchCaseClick(TObject* Sender);
    // Footer cells of a column (-1: every column) are recalculated.
    virtual void CalcFooter(int ACol);
    virtual void UpdateSearchPanel();
    // Takes the style of the Office theme the user chose, when it changed.
    virtual void AdaptStyleToOfficeTheme();
    // Writes the column (row) headers into the fixed row (column).
    void ShowColumnHeaders();
    void ShowRowHeaders();
    virtual bool ConfirmMessageHandled(int Delta, bool& Handled)
    {
        Handled = true;
        return Handled;
    }
    virtual void SaveOldCellValue(int ACol, int ARow);
    virtual String ReadRawCell(int ACol, int ARow) { return GetRawCell(ACol, ARow); }

    // --- base grid hooks
    // With URLShowInText the first address in a cell's text becomes a link.
    void GetDisplText(int ACol, int ARow, String& Value) override;
    void LastRowChanged() override;
    // After a scroll: repaints what does not scroll, moves the cell
    // controls, and scrolls a following grid along.
    void HandleTopLeftChanged() override;
    bool IsFixedCell(int ACol, int ARow) override;
    void GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                         TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WordWrap,
                         TCellGradientDirection& GradientDirection) override;
    int GetRowNodeIndent(int ARow) override;
    bool HasCellBorderEvent() override { return bool(OnGetCellBorder); }
    // An auto-range scroll bar in the cell measures its text again.
    void CellWritten(int ACol, int ARow) override;
    bool UsesVCLStyles() override { return FUseVCLStyles; }

    // --- window and control steps
    void Loaded() override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Resize() override;
    void WndProc(TMessage& Message) override;
    void Click() override;
    void DoEnter() override;
    void DoExit() override;
    int GetEditLimit() override { return FMaxEditLength; }
    // The in-place editor's text: the base cell of the real column, without
    // tags unless EditWithTags; written back to the base cell.
    String GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const String& Value) override;
    bool HandleWheelDown(TShiftState Shift, POINT MousePos) override;
    bool HandleWheelUp(TShiftState Shift, POINT MousePos) override;

    // --- class library steps
    void SizeChanged(int OldColCount, int OldRowCount) override;
    bool SelectCell(int ACol, int ARow) override;
    // Moves the column's cells and its bookkeeping after the class library
    // moved the column on the screen.
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;

    // --- painting asks the grid's own current cell and selection, which a
    // hidden selection puts outside the cells
    TGridCoord ShownCurrentCell() const override { return {GetCol(), GetRow()}; }
    TGridRect ShownSelection() const override { return GetSelection(); }

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
    // Raised by an edit of a cell: the next Invalidate is swallowed.
    bool FEditChange = false;

private:
    friend class THiddenRowItems;
    friend class TGridPrintPass;
    void RunPrint(const TGridRect& GridRect, bool SelectedOnly);
    void RunPrintPreview(TCanvas* Canvas, const TRect& DisplayRect, bool SelectedOnly, const TGridRect& GridRect);
    bool FFastPrint = false;
    bool FIsPrintPreview = false;
    int FPrintFirstPage = 1;
    int FPrintLastPage = 1;
    TRect FPrintPageRect{};
    int FPrintPageWidth = 0;
    int FPrintColStart = 0;
    int FPrintColEnd = 0;
    int FPrintNrOfPages = 0;
    double FPrintFontScale = 1.0;

    void FireFileProgress(int Percent, int& Last);
    // The CSV reader over a whole text; Insert puts the rows after the grid's.
    void ReadCSVText(const String& Text, int MaxRows, bool Insert);
    void WriteCSV(const String& FileName, bool Unicode, bool Append);
    void WriteASCII(const String& FileName, bool Unicode, bool Append);
    TAlignment SavedCellAlignment(int ACol, int ARow);
    void SaveToXLSWorker(const String& Filename, const String& SheetName, bool CreateNewSheet);
    void LoadFromXLSWorker(const String& Filename, const String& SheetName);
    void SaveToDOCWorker(const String& Filename, const String& Bookmark, bool CreateNewDocument, bool Append);
    void WriteHTMLFile(const String& FileName, bool Show, bool Unicode, bool Append);
    // The style rule a cell is exported with: its font, the background it
    // sets (the fixed colour for fixed cells) and its alignments.
    String HTMLCellStyle(int ACol, int ARow, bool Fixed);
    bool HTMLCellWraps(int ACol, int ARow);
    TCustomImageList* FGridImages = nullptr;
    TAdvStringGridCheck* FCellChecker = nullptr;
    // A new graphic for an adder (null outside the storage) and for a
    // creator (raises Exception "Invalid cell" there).
    TCellGraphic* NewGraphicFor(int ACol, int ARow);
    TCellGraphic* NewOwnedGraphicFor(int ACol, int ARow);
    void MeasureScrollBarRange(int ACol, int ARow);
    void ForEveryCell(const std::function<void(int ACol, int ARow)>& Visit);
    // Text utilities: the ranges they visit, and one pass of highlighting.
    struct TSpan {
        int from = 0;
        int to = -1;
    };
    TSpan ColumnRows(bool DoFixed) const;
    TSpan RowColumns(bool DoFixed, bool AllColumns) const;
    void ForBaseCells(TSpan Cols, TSpan Rows, const std::function<void(int ACol, int ARow)>& Visit);
    void HighlightCell(int Col, int Row, const String& Tag, bool DoCase, const String& HiText, bool FullText);
    void UnhighlightCell(int Col, int Row, const String& Tag);
    void FillNormalCells(bool DoFixed, const std::function<String(int ACol, int ARow)>& Text);
    // Check boxes by real row: the graphic, the text, and writing the text.
    TCellGraphic* CheckGraphicAtRealRow(int ACol, int ARealRow);
    void SetRealRowCellText(int ACol, int ARealRow, const String& Value);
    TCellVAlign NewControlVAlign() const;
    // Node rows as column 0's ctNode graphic tells them.
    bool NodeAt(int ARow, int& Span, bool& Contracted);
    int ParentNodeRow(int ARow, int& Span);
    // The cell's properties when a writer may create them there.
    TCellProperties* WritableProperties(int ACol, int ARow);
    void RepaintUnlessUpdating(int ACol, int ARow);
    // The one row-select check box of column 0, filled per cell when asked.
    TOwned<TCellGraphic> FRowCheckBox{New<TCellGraphic>()};

    // --- column layout kept outside the grid
    // Puts the columns into Order (entry k: the initial column shown at k)
    // and keeps Order as the column order.
    void ShowColumnOrder(const std::vector<int>& Order);
    // Runs Work on the ColumnSize store and writes the store back; nothing
    // without a store to use.
    void UseColumnStore(const std::function<void(TCustomIniFile& Store, const String& Section)>& Work);

    // --- calculations
    struct TCalcRange {
        int from = 0;
        int to = -1;
        bool realRows = false;
        bool defaulted = false;
    };
    TCalcRange ColumnCalcRange(int FromRow, int ToRow) const;
    bool ColumnCalcValue(int ACol, int ARow, bool RealRows, double& Value);
    double ColumnExtreme(int ACol, int FromRow, int ToRow, bool Largest);
    double RowExtreme(int ARow, int FromCol, int ToCol, bool Largest);
    int FAutoNumberStart = 0;
    int FAutoNumberOffset = 0;
    TSortDirection FAutoNumberDirection = sdAscending;

    // --- sorting
    // The keys of the cells one sort compares, each read once.
    struct TSortKeys;
    // What the sort routines leave behind and count.
    struct TSortState {
        int row = -1;  // while a sort runs, where the formerly current row's data lies
        int compares = 0;
        int swaps = 0;
        DWORD time = 0;
        bool singleCompare = false;
    };
    String SortCellText(int ACol, int ARow);
    bool SortNumber(int ACol, int ARow, const String& Text, const String& Prefix, const String& Suffix,
                    bool Financial, double& Value);
    // CompareCells on the keys of a sort: the same answer for every pair.
    int CompareKeys(TSortKeys& Keys, int ACol, int ARow1, int ARow2, TSortDirection Direction);
    // Sorts rows Left..Right by Col, or by the sort indexes.
    void SortRange(int Left, int Right, int Col, bool Indexed);
    // Order[k] is the row that goes to Left + k.
    void PlaceRows(int Left, const std::vector<int>& Order);
    void PlaceRowsAtOnce(int Left, const std::vector<int>& Order);
    void RunSort(bool Indexed);
    // Column 0's texts where NormalCellsOnly keeps them in place, and their return.
    std::vector<String> NormalCellsColumn();
    void RestoreNormalCellsColumn(const std::vector<String>& Column0);
    void HeaderClickSort(int ACol, int ARow, int X, int Y);
    // The sort column and the sort indexes follow a real column moved from
    // From to To.
    void SortColumnMoved(int From, int To);
    // A column or row is being dragged by its picture (the drag cursors show).
    bool EnhancedMoveDragging() const;
    // Marks cells of the disjunct cell selection at a release on (ACol,
    // ARow); false when OnSelectCell refused the cell.
    bool DisjunctCellRelease(int ACol, int ARow, TShiftState Shift, bool& SelChanged);
    bool NearColumnBorder(int ACol, int ARow, int X);
    // Runs Work inside the update lock with the left column put back, where
    // row selection keeps the horizontal scroll.
    void KeepLeftColumnWhile(const std::function<void()>& Work);
    TSortState FSort;
    // The keys' arrays, kept from one sort to the next.
    struct TSortKeysDelete {
        void operator()(TSortKeys* Keys) const;
    };
    std::unique_ptr<TSortKeys, TSortKeysDelete> FSortKeys;

    // --- mouse state from a press to its release
    struct TMousePress {
        bool FDoOnClick = false;
        bool FMouseDownMove = false;
        bool FMouseKeepDown = false;
        bool FMouseDown = false;
        bool FSelectionClick = false;
        bool FDeselectState = false;
        bool FDblClk = false;
        bool ColMoveFlg = false;
        bool ColSizeFlg = false;
        TGridRect FOrigSelection;
        int Colclicked = -1;
        int Rowclicked = -1;
        int Colclickedsize = 0;
        int Rowclickedsize = 0;
        int Clickposx = 0;
        int Clickposy = 0;
        int Clickposdx = 0;
        int Clickposdy = 0;
        int Movecell = -1;
        int MoveOfsX = 0;
        int MoveOfsY = 0;
        int FMoveColInd = -1;
        int FMoveRowInd = -1;
        int FOldKeepLeftCol = 0;
    };
    TMousePress FPress;
    friend class TControlLook;

    // === cell appearance ====================================================
    bool FSelectionColorMixer = false;
    // The selection's fill over a cell of the given brush colour.
    TColor SelectionFill(TColor Brush);

    // === cell painting ======================================================
    // Where a cell graphic goes: the layout and what the text step left.
    struct TGraphicPlace {
        int RCol = 0;
        int ARow = 0;
        int Width = 0;
        int Height = 0;
        TCellHAlign HAlign = haLeft;
        TCellVAlign VAlign = vaTop;
        TAlignment TextAlign = taLeftJustify;
        TVAlignment TextVAlign = vtaTop;
        int TextWidth = 0;
        bool Selected = false;
        TRect CellRect;
    };
    // The painter's state of one cell, shared by its steps.
    struct TCellPaint;
    // The cell (display column, row) whose button or expand glyph is under
    // the mouse, shown hot; (-1, -1) when none.
    TPoint FHoverButton{-1, -1};
    // Follows the mouse over cell buttons and repaints what changes.
    void TrackHoverButton(int ACol, int ARow, int X, int Y);
    // The anchor under the mouse in a marked-up cell.
    TPoint FHoverHTMLCell{-1, -1};
    int FHoverHTMLLink = -1;
    bool FNoImageAndText = false;
    // Formats rich cell texts for painting; made on first need.
    TRichEdit* FPaintRichEdit = nullptr;
    TRichEdit* PaintRichEdit();
    // The column's condition filters the rows now.
    bool ColumnFilterActive(int RCol);
    // Follows the fixed cell under the mouse for the hover look.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    // The fixed cell's drop-down list is open.
    bool FDropDownDown = false;
    void DrawCellText(TCanvas* Canvas, TCellPaint& P);
    void DrawCellBorders(TCanvas* Canvas, int RCol, int ARow, TRect R);
    void DrawCellBackgroundPicture(TCanvas* Canvas, const TRect& R);
    void DrawCellBackgroundTiles(TCanvas* Canvas, int ACol, int ARow, const TRect& R);
    void DrawCellBackgroundGradient(TCanvas* Canvas, TRect R);
    void DrawCellGraphic(TCanvas* Canvas, TRect& R, TCellGraphic* Graphic, const TGraphicPlace& Place);
    void DrawNodeGlyph(TCanvas* Canvas, TRect R, TCellGraphic* Graphic, int ARow, TColor Background);
    void DrawButtonGraphic(TCanvas* Canvas, const TRect& R, TRect G, TCellGraphic* Graphic, int RCol, int ARow,
                           const TRect& CellRect);
    void DrawRotatedText(TCanvas* Canvas, const TRect& R, const TRect& G, const String& Text, int Angle, int RCol,
                         int ARow);
    void DrawFilePictureGraphic(TCanvas* Canvas, const TRect& G, TCellGraphic* Graphic);
    // A sort-indicator header: the sort column or one of the sort index list.
    bool IsSortHeader(int RCol, int ARow);
    // The header filter button shows in the filter row of a column with a filter list.
    bool ShowsFilterGlyph(int RCol, int ARow);

    // === looks and colour sets ==============================================
    // The drop-down editors that exist take the style.
    void PropagateComponentStyle(TPackStyle AStyle);
    void ApplyDirectColors(const TStyleColors& Set);
    void ApplyControlLookColors(const TStyleColors& Set, TColor AppColor);

    // === construction (in the constructor's order) ==========================
    void CreateOwnedObjects();
    void CreateRunTimeControls();
    void CreateFilterMenu();
    void WireOwnedObjects();
    void SetDefaults();
    template <class T>
    void StoreAndInvalidate(T& field, const T& value)
    {
        if (StoreChanged(field, value))
            Invalidate();
    }
    void StoreGradient(TColor& field, TColor Value);
    void RepaintBorder();
    void UpdateFooterPanelVisibility();
    // Registers the window with the Office theme watcher, or takes it off.
    void WatchOfficeTheme(bool Watch);
    bool DesignTime() const { return ComponentState().Contains(csDesigning); }
    bool LoadingNow() const { return ComponentState().Contains(csLoading); }
    void GrowFlags(TList* List, int Count);
    void RowSelectRange(int RowIndex, int RCount, bool Value);
    bool RowOnScreen(int ARow);
    // The answer of a handler, or with buttons always visible, whether the
    // cell's editor (Editor, or the one the cell asks for) shows one.
    bool HasEditorButton(int ACol, int ARow, TEditorType Editor, const TColRowBoolEvent& Handler, bool AlwaysVisible,
                         bool ForShow, bool (*Shows)(TEditorType));
    void ShowInvalidEntryBalloon();
    // Validation's frame: nothing without an open edit or while validating,
    // and the old value captured again afterwards, also after an exception.
    bool RunValidation(const std::function<bool(int ACol, int ARow)>& Validate);
    // Closes the editor, writes the text back and opens it on the old cell.
    void ReopenEditor(const std::function<void()>& WriteBack);
    // Window messages.
    bool WheelMessage(TMessage& Message);
    void TimerMessage(TMessage& Message);
    void SetFocusMessage(TMessage& Message);
    void KillFocusMessage(TMessage& Message);
    void SetCursorMessage(TMessage& Message);
    void SizeMessage(TMessage& Message);
    bool StartPanning(const TMessage& Message);
    void StopPanning();
    void PanStep();

    // --- owned objects
    TFooterPanel* FFooterPanel = nullptr;
    TSearchPanel* FSearchPanel = nullptr;
    TOwned<TAutoColor> FAutoColor;
    TOwned<TFont> cf;
    TOwned<TFocusHelper> FFocusHelper;
    TOwned<TSearchFooter> FSearchFooter;
    TOwned<TFloatingFooter> FFloatingFooter;
    TOwned<TPrintSettings> FPrintSettings;
    TOwned<THTMLSettings> FHTMLSettings;
    TOwned<TSortSettings> FSortSettings;
    TOwned<TDragDropSettings> FDragDropSettings;
    TOwned<TDragScrollOptions> FDragScrollOptions;
    TOwned<TControlLook> FControlLook;
    TOwned<TNavigation> FNavigation;
    TOwned<TColumnSize> FColumnSize;
    TOwned<TCellNode> FCellNode;
    TOwned<TBands> FBands;
    TOwned<TSizeWhileTyping> FSizeWhileTyping;
    TOwned<TMouseActions> FMouseActions;
    TOwned<TGrouping> FGrouping;
    TOwned<TStringList> FColumnHeaders;
    TOwned<THTMLPictureCache> FImageCache;
    TOwned<TIntList> FOrigColSizes;
    TOwned<TFont> FActiveCellFont;
    TOwned<TStringList> FRowHeaders;
    TOwned<TStringList> Sortlist;
    TOwned<TStringList> FLookupItems;
    TOwned<TList> FRowSelect;
    TOwned<TList> FColSelect;
    TOwned<TSortIndexList> FSortIndexes;
    TOwned<TIntList> FSortRowXRef;
    TOwned<TIntList> FUnSortRowXRef;
    TOwned<TIntList> FMergedColumns;
    TOwned<TIntList> FSelectedCells;
    TOwned<TIntList> FSelectedRows;
    TOwned<TIntList> FModifiedRows;
    TOwned<TIntList> FEnabledRows;
    TOwned<TBitmap> FRowIndicator;
    TOwned<TBackGround> FBackGround;
    TOwned<TControlList> FControlList;
    TOwned<TGridProgressAppearance> FProgressAppearance;
    TOwned<TSyncGrid> FSyncGrid;
    TOwned<TFilter> FFilter;
    TOwned<TBalloonSettings> FBalloonSettings;
    TOwned<TShowModified> FShowModified;
    std::vector<TGridChangeNotifier*> FNotifierList;
    TOwned<TFilterDropDown> FFilterDropDown;
    TDropList* FDropList = nullptr;
    TDropCheckList* FDropCheckList = nullptr;
    TOwned<TStringList> FFilterList;
    TOwned<TFilterEdit> FFilterEdit;
    TImageList* FFltrList = nullptr;
    TPopupMenu* FFltrPopup = nullptr;
    TOwned<THoverButtons> FHoverButtons;
    // Run time only; children owned by the grid.
    TScrollBar* FScrollBar = nullptr;
    TScrollBar* FPaintScrollBar = nullptr;

    // --- state
    bool FLoaded = false;
    TCursor FOldCursor = crDefault;
    TCursor FRestoreCursor = crDefault;
    // The fixed rows last asked for; the class library starts with one.
    int FFixedRowsMin = 1;
    int FFixedColsMin = 0;
    int FFixedRowHeight = 0;
    bool FFixedRowAlways = false;
    bool FFixedColAlways = false;
    int FMinFixedRows = 0;
    int FMinFixedCols = 0;
    int FMinRowHeightLoaded = 0;
    int FMinColWidthLoaded = 0;
    bool FRowSelMod = false;
    bool FSelChange = false;
    bool FUseEnabledRows = false;
    ITAdvStringGridSelect* FISelect = nullptr;
    bool FEditDisable = false;
    bool FPaintSkipped = false;
    bool FUseVCLStyles = false;
    int FUpdateCount = 0;
    TGridRect FLastSelection{-1, -1, -1, -1};
    bool FSelectionChanged = false;
    // Old-cell capture and validation.
    int FOldCol = 0;
    int FOldRow = 0;
    String FOldCellText;
    String FOldCellTextWide;
    String FNewCellText;
    bool FEditing = false;
    bool FValidating = false;
    bool FEntered = false;
    bool FBlockFocus = false;
    bool FBlockKill = false;
    bool InvokedFocusChange = false;
    bool Invokedchange = false;
    bool FValidateDblClick = false;
    bool FModified = false;
    TMouseSelectMode FMouseSelectMode = msNormal;
    int FHoverFixedX = -1;
    int FHoverFixedY = -1;
    int FTimerTicks = 0;
    int SearchTics = 0;
    bool FGridBlink = false;
    UINT_PTR FGridTimerID = 0;
    int FOldSize = -1;
    bool FInWMSize = false;
    int FPaintCount = 0;
    int FHoverButtonRow = -1;
    // Wheel, panning and zoom.
    UINT wheelmsg = 0;
    int wheelscrl = 0;
    bool wheelpan = false;
    POINT wheelpanpos{};
    HCURSOR prevcurs = nullptr;
    HCURSOR FICursor = nullptr;
    int FPanCursor = 0;
    String FIncrSearchText;
    bool FScrollLock = false;
    // Balloon tooltip.
    bool FBalloonInitialised = false;
    HWND FHToolTip = nullptr;
    int FOldLeftCol = 0;
    int FOldTopRow = 0;

    // --- colours and look
    TColor FSelectionColor = 0xEACAB6;
    TColor FSelectionColorTo = clNone;
    TColor FSelectionMirrorColor = clNone;
    TColor FSelectionMirrorColorTo = clNone;
    TColor FSelectionTextColor = 0;
    TColor FSelectionRectangleColor = 0;
    int FSelectionColorMixerFactor = 50;
    TColor FHintColor = clInfoBk;
    TColor FHighlightColor = clHighlight;
    TColor FHighlightTextColor = clHighlightText;
    TColor FActiveCellColor = 0x808080;
    TColor FActiveCellColorTo = clNone;
    bool FActiveCellShow = false;
    TColor FDisabledFontColor = 0xC0C0C0;
    TColor FURLColor = 0xFF0000;
    TColor FBorderColor = 0x808080;
    TColor FScrollColor = clNone;
    TColor FPackGradFrom = 0xFFFFFF;
    TColor FPackGradTo = clNone;
    TColor FPackGradMirrorFrom = clNone;
    TColor FPackGradMirrorTo = clNone;
    TColor FPackGradHoverFrom = clNone;
    TColor FPackGradHoverTo = clNone;
    TColor FPackGradHoverMirrorFrom = clNone;
    TColor FPackGradHoverMirrorTo = clNone;
    TColor FPackGradHoverBorder = clNone;
    TColor FPackGradDownFrom = clNone;
    TColor FPackGradDownTo = clNone;
    TColor FPackGradDownMirrorFrom = clNone;
    TColor FPackGradDownMirrorTo = clNone;
    TColor FPackGradDownBorder = clNone;
    TColorTones FTones{};
    TGridLook FLook = glXP;
    TPackStyle FStyle = tsCustom;
    TScrollType FScrollType = ssNormal;
    int FScrollWidth = 0;
    TScrollBarAlways FScrollBarAlways = saNone;
    bool FScrollProportional = false;
    bool FScrollSynch = false;
    TScrollHintType FScrollHints = shNone;

    // --- text measurement and hints (AdvGridMeasure.cpp, AdvGridHints.cpp)
public:
    // The size of a cell's text as painted (ACol a real column). VS: the
    // height wrapped within the cell; SB: 17 pixels kept for an editor button.
    TSize GetCellTextSize(int ACol, int ARow, bool VS, bool SB);
    // As GetCellTextSize, DCol the display column of ACol; Unlimited drops
    // the cell's width limit.
    void CalcCellTextExtent(int ACol, int DCol, TSize& Size, bool SB, bool VS, bool Unlimited, int ARow);
    // Tooltip text requests of the balloon and the date-time picker's changes.
    void HandleWMNotify(TMessage& Message);
    // The text the balloon tooltip was last given, and for which cell.
    const String& GetBalloonText() const { return FBalloonText; }
    const String& GetBalloonTitle() const { return FBalloonTitle; }
    TPoint GetLastBalloonCell() const { return FLastBalloon; }

    TCellBalloonEvent OnCellBalloon;
    TDateTimeChangeEvent OnDateTimeChange;

private:
    TCanvas* MeasureCanvas();
    TRichEdit* MeasureRichEdit();
    TOwned<TBitmap> FMeasureBitmap;
    TRichEdit* FMeasureRichEdit = nullptr;
    String FBalloonText;
    String FBalloonTitle;
    TPoint FLastBalloon{-1, -1};

    // --- floating footer (AdvGridFooter.cpp)
public:
    // Footer cells of a column (-1: every column) by their calculation kinds.
    virtual void CalcFooterColumns(int ACol);
    // Repaints the footer panel.
    void UpdateFooter();
    // (Sender, ACol, ARow, var Value): a footer cell of acCUSTOM.
    std::function<void(TObject* Sender, int ACol, int ARow, String& Value)> OnFooterCalc;
    // (Sender: the panel, ACol, Rect, Canvas): draws a footer cell instead.
    std::function<void(TObject* Sender, int ACol, const TRect& Rect, TCanvas* Canvas)> OnFooterPaint;
    TNotifyEvent OnCreatedFloatingFooter;

private:
    friend class TFooterPanel;
    // Rows, fixed footers and the hidden last row as the footer's settings say.
    void ApplyFloatingFooter();
    // The footer panel draws cells without the right-to-left mirroring.
    bool FNoRTLOrientation = false;

    // --- border, sizing lines and focus frame (AdvGridFrame.cpp)
public:
    // The layered frame round CellRect (client coordinates of the grid).
    void ShowFocusWindow(const TRect& CellRect);
    void HideFocusWindow();
    TGridFocusWindow* GetFocusWindow() const;
    // Gives Window the mask's pixels as a layered window.
    void UpdateLayeredFromMask(TWinControl* Window, TGridAlphaMask* Mask);
    // The border in BorderColor on the window DC.
    void DrawBorderFrame();
    // The same on DC, which stands for the window DC (its origin at the
    // window's top-left corner).
    void DrawBorderFrame(HDC DC);
    // Dotted XOR lines: drawing twice at one place takes the line away.
    void DrawColSizingLine(int X);
    void DrawRowSizingLine(int Y);

    // The arrows that mark where a moved column or row lands, and the
    // button that follows a dragged header; made at run time.
    TArrowWindow* GetArrowWindow(TArrowDirection Dir) const
    {
        const TArrowWindow* const arrows[] = {ArwU, ArwD, ArwL, ArwR};
        return const_cast<TArrowWindow*>(arrows[Dir]);
    }
    THeaderDragButton* GetMoveButton() const { return MoveButton; }
    // Read: the up arrow's colour; write: all four arrows'.
    TColor GetArrowColor() const { return ArwU ? ArwU->GetColor() : TColor(0x00FF00); }
    void SetArrowColor(TColor Value);

private:
    TArrowWindow* ArwU = nullptr;
    TArrowWindow* ArwD = nullptr;
    TArrowWindow* ArwL = nullptr;
    TArrowWindow* ArwR = nullptr;
    THeaderDragButton* MoveButton = nullptr;
    TGridFocusWindow* FocusWindow();
    void ForgetFocusFrame();
    void HandleWMNCPaint(TMessage& Message);
    TGridFocusWindow* FFocusWindow = nullptr;

    // --- scroll messages (AdvGridScroll.cpp)
public:
    // (Sender, row or column, var hint): the text of a scroll hint.
    TScrollHintEvent OnScrollHint;
    // The scroll hint window while it shows, and its text.
    THTMLHintWindow* GetScrollHintWindow() const { return FScrollHintShow ? FScrollHintWnd : nullptr; }
    const String& GetScrollHintText() const { return FScrollHintText; }

private:
    // The row (column) a thumb position of 0 .. 127 stands for.
    int ThumbTarget(bool Vertical, int Pos);
    void ShowScrollHint(const String& Text);
    void HideScrollHint();
    // Before the scroll itself: the hint and the synchronous scroll.
    void ScrollHintAndSynch(TMessage& Message);
    THTMLHintWindow* FScrollHintWnd = nullptr;
    bool FScrollHintShow = false;
    String FScrollHintText;

    // --- around the cells: edit frame, empty area, design box (AdvGridBackground.cpp)
public:
    // The background picture or gradient where the cells leave the client
    // area empty (nothing when the cells fill it).
    void PaintBackgroundOutsideCells();
    void PaintBackgroundPictureFixed(const TRect& R);
    void PaintBackgroundPictureTiled(const TRect& R);
    // The quick configuration box while designing: 1 allow edit, 2 column
    // numbers, 3 set look, 4 close, -1 none.
    int DesignHelperHitTest(int X, int Y);
    virtual void DesignHelperClick(int X, int Y);
    TNotifyEvent OnPainted;

protected:
    void Paint() override;
    virtual void PaintDesignHelper();

private:
    void HandleCMDesignHitTest(TMessage& Message);
    int FLastDesignChoice = -1;

    // --- column stretching and sizing (AdvGridSizing.cpp)
public:
    // Every normal column takes an equal share of the client width.
    void StretchColumns();
    // The last column fills what the others leave.
    void StretchRightColumn();
    // Whether (X, Y) lies on a border the user may drag to size a column
    // or row.
    bool IsOnSizingBorder(int X, int Y);
    // (Sender, ACol or ARow, var Allow): a sizing drag may start.
    std::function<void(TObject* Sender, int ACol, bool& Allow)> OnColumnSize;
    std::function<void(TObject* Sender, int ARow, bool& Allow)> OnRowSize;
    // (Sender, ACol or ARow): the user finished sizing.
    std::function<void(TObject* Sender, int ACol)> OnEndColumnSize;
    std::function<void(TObject* Sender, int ARow)> OnEndRowSize;
    // Stretching on column width changes is allowed.
    bool ColchgFlg = true;

protected:
    // The dragged border's line is the grid's dotted XOR line.
    void DrawSizingLineAt(TGridState State, int Pos) override;
    void RowHeightsChanged() override;
    void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                         TGridDrawInfo& FixedInfo) override;

private:
    // A stretch asked for by a notification (size, width or setting
    // change): a column index gone stale stretches the last column.
    void StretchOnNotice(int StretchCol, int Width);
    void StretchNow(int StretchCol, int Width);
    // The column-width notification's own work after the base grid's.
    void ColumnWidthsNotice();
    void GetDlgCodeMessage(TMessage& Message);
    bool FIsColChanging = false;
    bool FIsScaling = false;

    // --- scroll bars: flat, proportional, slim, in cells; flick and drag scrolling (AdvGridScrollBars.cpp)
public:
    // The proportional thumbs for the current layout.
    void UpdateVScrollBar();
    void UpdateHScrollBar();
    // The slim scrollers of ssMetro while they exist.
    TScrollControl* GetVScrollControl() const { return FVScrollControl; }
    TScrollControl* GetHScrollControl() const { return FHScrollControl; }
    // Flat scroll bars were initialised for the window.
    bool GetFlatScrollBarsOn() const { return FIsFlatSB; }
    // The cell that the in-cell scroll bar control serves.
    void SetCellScrollBarCell(int ACol, int ARow)
    {
        FScrollCol = ACol;
        FScrollRow = ARow;
    }
    // A quick drag scrolls on: Steps steps of Delta rows (columns) on a
    // 10 ms timer.
    void StartFlickScroll(bool Vertical, int Delta, int Steps = 10);
    TTimer* GetFlickTimer() const { return FScrollTimer; }
    TTimer* GetDragScrollTimer() const { return FDragTmr; }
    void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
    // (Sender, ACol, ARow, Position, Min, Max): an in-cell scroll bar moved.
    std::function<void(TObject* Sender, int ACol, int ARow, int Position, int Min, int Max)> OnScrollCell;
    // (Sender, top row, left column, var directions, var CanScroll).
    std::function<void(TObject* Sender, int TopRow, int LeftCol, TDragScrollDirections& Directions,
                       bool& CanScroll)>
        OnDragScroll;

protected:
    virtual void DoScrollCell(int ACol, int ARow, int Position, int Min, int Max);

private:
    void FlatInit();
    void FlatDone();
    void FlatSetProp(UINT Index, INT_PTR Value);
    void FlatApplyStyle();
    void FlatApplyColor();
    void FlatApplyWidth();
    void FlatApplyAll();
    void FlatShowBar(int Bar, bool Show);
    void FlatReapplyInfo(int Bar);
    void MetroControls(bool Make);
    // The whole handling of WM_HSCROLL and WM_VSCROLL.
    void ScrollBarMessage(TMessage& Message);
    bool CellScrollBarMessage(TMessage& Message);
    void FlickTick();
    void DragScrollTick();
    void StopDragScroll();
    bool FIsFlatSB = false;
    TScrollControl* FVScrollControl = nullptr;
    TScrollControl* FHScrollControl = nullptr;
    int FScrollCol = -1;
    int FScrollRow = -1;
    TTimer* FScrollTimer = nullptr;
    int FScrollSteps = 0;
    int FScrollDelta = 0;
    bool FScrollVert = false;
    bool FScrollEnd = false;
    TTimer* FDragTmr = nullptr;
    TDragScrollDirections FDragScrollDirection;
    bool FAutoThemeAdapt = false;
    TOfficeTheme FOldOfficeTheme = otUnknown;
    bool FIsWinXP = false;
    bool FIsWin7 = false;
    bool FIsWinVista = false;
    bool FIsThemed = false;
    bool FThemeWatched = false;

    // --- behaviour
    bool FEnableWheel = true;
    bool FIntelliZoom = true;
    TIntelliPan FIntelliPan = ipVertical;
    bool FIntegralHeight = false;
    bool FShowSelection = true;
    bool FAutoHideSelection = false;
    bool FHideFocusRect = false;
    bool FEnableHTML = true;
    bool FEnableBlink = false;
    bool FHovering = false;
    bool FFitCellsInGrid = true;
    bool FFilterNormalCellsOnly = true;
    bool FHTMLKeepLineBreak = true;
    bool FAutoFilterUpdate = true;
    bool FUseInternalHintClass = true;
    bool FShowDesignHelper = true;
    bool FEnhRowColMove = true;
    bool FUseDisabledFont = true;
    bool FWordWrapEx = true;
    bool FLoadFirstRow = true;
    bool FQuoteEmptyCells = true;
    bool FAlwaysQuotes = false;
    bool FShowNullDates = true;
    bool FSaveVirtCells = true;
    bool FSaveMergedCells = true;
    bool FSaveWithHTML = true;
    bool FSaveWithRTF = false;
    bool FShowColNrs = true;
    bool FLastValidation = true;
    bool FVirtualEdit = false;
    bool FFixedAsButtons = false;
    bool FNoDefaultDraw = false;
    bool FJavaCSV = false;
    bool FPrinterDriverFix = false;
    bool FExcelClipboardFormat = false;
    bool FFilterIncremental = false;
    bool FIsFlat = false;
    bool FIsDBVersion = false;
    bool FInWorkbook = false;
    bool FSaveFormula = false;
    bool FFilterDropDownMultiCol = true;
    bool FFilterDropDownAuto = false;
    bool FFilterDropDownCheck = false;
    String FFilterDropDownCheckUnCheckAll;
    int FFilterDropDownRow = 0;
    TFilterDropDownColumns FFilterDropDownColumns = fdNormal;
    String FFilterDropDownClear = L"(All)";
    bool FAutoNumAlign = false;
    bool FEditWithTags = false;
    bool FEnhTextSize = false;
    bool FExcelStyleDecimalSeparator = false;
    bool FSelectionRTFKeep = false;
    bool FSelectionResizer = false;
    bool FSelectionRectangle = false;
    bool FHintShowCells = false;
    bool FHintShowLargeText = false;
    THintShowLargeTextPos FHintShowLargeTextPos = hpCell;
    bool FHTMLHint = false;
    bool FAnchorHint = false;
    bool FLookup = false;
    bool FLookupCaseSensitive = false;
    bool FLookupHistory = false;
    int FMaxComboLength = 0;
    int FMaxEditLength = 0;
    bool FMultilineCells = false;
    bool FURLShow = false;
    bool FURLShowInText = false;
    bool FURLFull = false;
    bool FAlwaysValidate = false;
    bool FShowEditProcess = false;
    TEditorType FDefaultEditor = edNormal;
    TAlignment FDefaultAlignment = taLeftJustify;
    TVAlignment FVAlignment = vtaTop;
    THoverFixedCells FHoverFixedCells = hfNone;
    TInvalidEntryIcon FInvalidEntryIcon = ieWarning;
    String FInvalidEntryTitle;
    String FInvalidEntryText;
    String FXMLEncoding = L"ISO-8859-1";
    String FFloatFormat = L"%.2f";
    String FCheckTrue = L"Y";
    String FCheckFalse = L"N";
    wchar_t FPasswordChar = L'*';
    wchar_t FDelimiter = L'\0';
    bool FOemConvert = false;
    TEncoding* FEncoding = TEncoding::UTF8();
    int FGroupColumn = -1;
    int FPrintPageFrom = 1;
    int FPrintPageTo = 1;
    int FPrintPageCount = 0;
    int FFilterColumn = -1;
    int FMouseSelectStart = -1;

    // Storage of whole rows, over every real column.
    void ReadStoredRow(int ARow, TStrings* Items) const;
    void WriteStoredRow(int ARow, TStrings* Items);
    // ReadStoredRow and WriteStoredRow that move the texts where the list
    // allows it, leaving them empty at the source.
    void TakeStoredRow(int ARow, TStrings* Items);
    void PutStoredRow(int ARow, TStrings* Items);
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
    // What one removal of rows does around dropping them, in this order.
    struct TRowRemoval {
        bool FreeProperties = true;     // the removed rows' cell properties go with them
        bool AdjustHidden = true;       // hidden rows after them move up (see DropRows)
        bool ShrinkMaxRowCount = false; // the highest row count seen goes down as well
        std::optional<int> CurrentRow;  // given to KeepCurrentRow; none leaves the selection
        std::optional<TRect> Changed;   // reported to OnCellsChanged
        bool KeepLastPage = false;      // the last page of rows stays filled
        bool UpdateCellControls = true;
    };
    // The one way rows go: Rows are display rows, ascending, distinct, in range.
    void RemoveRowsCore(const std::vector<int>& Rows, const TRowRemoval& How);
    // Count rows from Row (clamped to the rows there are), the current row
    // kept on its index and the run reported as changed.
    void RemoveRowRun(int Row, int Count, TRowRemoval How);
    void RemoveRowsCore(int Row, int Count, bool AdjustHidden);
    // Hides the shown rows of a real range; the items go in order or last.
    void HideRowRange(int FromRow, int ToRow, bool Append);
    // Puts the items appended from Before on for NewRows in real order
    // among the items before them.
    void PlaceNewItems(int Before, const std::vector<int>& NewRows);
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

    // --- tree nodes, grouping and filtering
    TCellGraphic* NodeGraphic(int ARow);
    // The display row after a node's last child: its span, or up to the next
    // node, within the normal rows.
    int NodeEnd(int ARow, int Span);
    void FlagNode(int ARow, bool Contracted);
    void LowerNodeLevels(int ARow, int Span);
    void ToggleNodeByPress(int ARow, int ACol, int X, int Y, TShiftState Shift);
    int FNumNodes = 0;
    // The text a condition tests in a cell.
    String FilterCellText(const TFilterData* Data, int ARow);
    // The condition that selects exactly the cells reading Value.
    String PickedCondition(const String& Value, bool& Exact);
    bool FFilterActive = false;
    int FFilterFixedRows = -1;
    String FNarrowDownText;
    bool FNarrowDownActive = false;
    // --- grouping
    void SortGroups(bool Indexed);
    // Runs waiting paint messages only, so that input, timers and posted
    // closes wait until the grouping is done.
    void PumpWhileGrouping();
    // Grouping, sorting and filtering asked for from a handler that the
    // pump ran find the grid half done and do nothing.
    bool GroupPumping() const { return FGroupPumping; }
    // A release on an expanded node row selects (marks) its group.
    void SelectGroupOfNode(int ARow);
    void ColourGroupRow(int ARow, bool Header);
    void ResetGroupRowColours(int ARow, bool Header);
    int NormalRowEnd() const { return GetRowCount() - FFixedFooters; }
    int FGroupWidth = 0;
    String FGroupCaption;
    String FGroupFooter;
    bool FIsGrouping = false;
    bool FGroupPumping = false;

    // --- find and replace
    enum class TFindMode { Text, Wide };
    TPoint FindCore(TPoint StartCell, const String& s, TFindParams FindParams, TFindMode Mode);
    bool FindMatchCell(int ACol, int ARow, TFindMode Mode);
    void GotoFoundCell(TPoint Found);
    bool FindMultiRowMatches(int ARow);
    TFindParams FFindParams;
    String SearchCache;
    String SearchCacheWide;
    std::vector<String> FFindMultiConditions;
    std::vector<int> FFindMultiColumns;
    std::vector<bool> FFindMultiCase;

    // --- keyboard
    TShiftState KeyShiftState() const;
    bool HomeEndKey(TWMKey& Msg, TShiftState Shift);
    bool SkipFixedKey(Word Key, TShiftState Shift);
    void FireKeyDown(Word Key, TShiftState Shift);
    void NotifyKeySelection();
    void SpaceOnControlCell(Word Key);
    bool ClipboardKey(Word Key, bool Ctrl, bool Shift);
    void InsertRowKey();
    void DeleteRowKey(bool Alt);
    void SelectAllKey();
    TGridRect FMoveSelection{-1, -1, -1, -1};
    TPoint FLastKeyCell{-1, -1};
    wchar_t FStartEditChar = 0;
    // --- tab walk
    int VisibleFixedRightCols();
    // One step; Again asks for a further step from the new cell.
    bool TabStep(bool Backward, bool& Again);
    bool MoveToNextRowStop(int FromRow, int Col);
    int FLastTabCol = -1;
    int FLastTabRow = -1;
    bool FForceSel = false;
    // --- search bar
public:
    // With the search bar shown, raises the top row until the last row lies
    // above the bar.
    void KeepLastRowAboveSearchFooter();
    bool IsLastRowAboveSearchFooter();

private:
    // The bar is shown and the view is scrolled to its end.
    bool SearchFooterAtEnd();
    bool SearchHighlightOn();
    // The search options the bar's switches and settings ask for.
    TFindParams SearchFooterParams(bool FromEdit);
    void SearchFooterStep(bool Backward);
    // Alt+accelerator of a shown bar's button; true when a button took it.
    bool SearchFooterDialogChar(wchar_t Ch);
};

// --- cell appearance
// The selection colour over a cell colour: Factor % of the selection and the
// rest of the cell, per channel (system colours resolved).
TColor MixSelectionColor(TColor SelColor, TColor CellColor, int Factor);
// SelColor unless the mixer is on.
TColor ApplySelectionMixer(TColor SelColor, TColor CellColor, bool Mixer, int Factor);
