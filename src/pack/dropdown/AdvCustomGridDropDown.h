// A drop-down whose popup is a whole data grid. The grid shows the drop-down's
// Items and Columns (items mode) or whatever the application puts into it
// (grid mode); LookupColumn gives a row's edit text. Typing completes, searches
// by prefix or narrows the grid down; the grid sorts, edits and passes its
// events on to the drop-down's OnGrid... events.
//
// This unit is built into a library of its own above the grid's, since the
// grid's library already links the drop-down folder.
#pragma once

#include "AdvGrid.h"
#include "AdvMultiColumnDropDown.h"

class TCustomAdvGridDropDown;

namespace AdvCustomGridDropDown {

using AdvMultiColumnDropDown::ctImage;
using AdvMultiColumnDropDown::ctText;
using AdvMultiColumnDropDown::TColumnType;

// One grid column: the multi-column drop-down's column, as a type of its own.
class TDropDownColumn : public AdvMultiColumnDropDown::TDropDownColumn {
public:
    using AdvMultiColumnDropDown::TDropDownColumn::TDropDownColumn;
    // From another column of this unit; any other source raises EConvertError.
    void Assign(TPersistent* Source) override;
};

class TDropDownColumns : public TCollection {
public:
    explicit TDropDownColumns(TPersistent* AOwner) : TCollection(ItemClass<TDropDownColumn>(), AOwner) {}
    TDropDownColumn* Add() { return static_cast<TDropDownColumn*>(TCollection::Add()); }
    TDropDownColumn* Insert(int Index) { return static_cast<TDropDownColumn*>(TCollection::Insert(Index)); }
    TDropDownColumn* GetItem(int Index) const { return static_cast<TDropDownColumn*>(TCollection::GetItem(Index)); }

    TNotifyEvent OnChange;
};

class TDropDownItem : public TCollectionItem {
public:
    explicit TDropDownItem(TCollection* Collection);
    // From another item of this unit; any other source raises EConvertError.
    void Assign(TPersistent* Source) override;

    int GetImageIndex() const { return ImageIndex; }
    void SetImageIndex(int Value) { ImageIndex = Value; }
    TStringList* GetText() const { return Text.get(); }
    void SetText(TStrings* Value) { Text->Assign(Value); }
    // String Column, empty for a column the item has no string for.
    String CellText(int Column) const;

private:
    int ImageIndex = -1;
    TOwned<TStringList> Text;
};

class TDropDownItems : public TCollection {
public:
    explicit TDropDownItems(TPersistent* AOwner) : TDropDownItems(AOwner, ItemClass<TDropDownItem>()) {}
    TDropDownItem* Add() { return static_cast<TDropDownItem*>(TCollection::Add()); }
    TDropDownItem* Insert(int Index) { return static_cast<TDropDownItem*>(TCollection::Insert(Index)); }
    TDropDownItem* GetItem(int Index) const { return static_cast<TDropDownItem*>(TCollection::GetItem(Index)); }
    // The class of the items this collection makes.
    virtual ItemFactory GetItemClass() const { return ItemClass<TDropDownItem>(); }

    TNotifyEvent OnChange;

protected:
    // For collections of items derived from TDropDownItem.
    TDropDownItems(TPersistent* AOwner, ItemFactory Factory) : TCollection(std::move(Factory), AOwner) {}
};

enum TLookupMethod { lmLookup, lmNarrowDown, lmNone };
enum TDropDownStyle { dsDropDown, dsDropDownList };
enum TGridSorting { gsNone, gsSingleColumn, gsMultiColumn };

using TCustomCellDrawEvent = std::function<void(TObject* Sender, TCanvas* Canvas, int ACol, int ARow,
                                                TGridDrawState AState, TRect ARect, bool Printing)>;
using TGridGradientEvent = std::function<void(TObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo,
                                              TColor& MirrorColor, TColor& MirrorColorTo,
                                              TCellGradientDirection& GD)>;
using TAutoAddRowEvent = std::function<void(TObject* Sender, int ARow)>;
using TAutoInsertRowEvent = std::function<void(TObject* Sender, int ARow)>;

// The popup grid.
class TAdvColGrid : public TAdvStringGrid {
public:
    explicit TAdvColGrid(TComponent* AOwner);

    // Copies the drop-down's columns, sizes, colours and options (nothing for null).
    void LoadFromDropDown(TCustomAdvGridDropDown* DropDown);
    // Writes Items into the rows, each data row tagged with its item index.
    void LoadItems();
    void SetDropDown(TCustomAdvGridDropDown* Value) { DropDown = Value; }
    TCustomAdvGridDropDown* GetDropDown() const { return DropDown; }
    void AutoSizeItemColumns();
    void AutoSizeItemColumn(int ACol);
    void AutoSizeWrappedRows();
    int GetTotalWidth();

    TDropDownColumns* GetColumns() const { return Columns.get(); }
    void SetColumns(TDropDownColumns* Value) { Columns->Assign(Value); }
    TColor GetHeaderColor() const { return HeaderColor; }
    void SetHeaderColor(TColor Value) { HeaderColor = Value; }
    TColor GetHeaderColorTo() const { return HeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { HeaderColorTo = Value; }
    TColor GetLineColor() const { return LineColor; }
    void SetLineColor(TColor Value) { LineColor = Value; }
    TColor GetFixedLineColor() const { return FixedLineColor; }
    void SetFixedLineColor(TColor Value) { FixedLineColor = Value; }
    int GetHeaderHeight() const { return HeaderHeight; }
    void SetHeaderHeight(int Value) { HeaderHeight = Value; }
    TFont* GetHeaderFont() const { return HeaderFont.get(); }
    void SetHeaderFont(TFont* Value) { HeaderFont->Assign(Value); }
    TCustomImageList* GetImages() const { return Images; }
    void SetImages(TCustomImageList* Value) { Images = Value; }
    bool GetConfirmSelection() const { return ConfirmSelection; }
    void SetConfirmSelection(bool Value) { ConfirmSelection = Value; }
    bool GetWheelSelection() const { return WheelSelection; }

    TNotifyEvent OnSelect;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoSelect();
    void HandleKeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void HandleMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool HandleWheelDown(TShiftState Shift, POINT MousePos) override;
    bool HandleWheelUp(TShiftState Shift, POINT MousePos) override;
    void Dispatch(TMessage& Message) override;

private:
    // The drop-down wires the grid's protected events.
    friend class ::TCustomAdvGridDropDown;

    TCustomAdvGridDropDown* DropDown = nullptr;
    TOwned<TDropDownColumns> Columns;
    TColor HeaderColor = clWhite;
    TColor HeaderColorTo = 0x808080;
    TColor LineColor = 0x808080;
    TCustomImageList* Images = nullptr;
    int HeaderHeight = 25;
    TOwned<TFont> HeaderFont;
    TColor FixedLineColor = clGray;
    int OldRow = 0;
    bool WheelSelection = false;
    bool ConfirmSelection = false;
};

} // namespace AdvCustomGridDropDown

class TCustomAdvGridDropDown : public TAdvCustomDropDown {
public:
    using TDropDownColumns = AdvCustomGridDropDown::TDropDownColumns;
    using TDropDownItems = AdvCustomGridDropDown::TDropDownItems;
    using TAdvColGrid = AdvCustomGridDropDown::TAdvColGrid;
    using TLookupMethod = AdvCustomGridDropDown::TLookupMethod;
    using TDropDownStyle = AdvCustomGridDropDown::TDropDownStyle;
    using TGridSorting = AdvCustomGridDropDown::TGridSorting;

    explicit TCustomAdvGridDropDown(TComponent* AOwner);
    void AfterConstruction() override;

    // --- entries
    TDropDownColumns* GetColumns() const { return Columns.get(); }
    void SetColumns(TDropDownColumns* Value) { Columns->Assign(Value); }
    TDropDownItems* GetItems() const { return Items.get(); }
    void SetItems(TDropDownItems* Value) { Items->Assign(Value); }
    bool GetUseItems() const { return UseItems; }
    void SetUseItems(bool Value) { UseItems = Value; }
    int GetLookupColumn() const { return LookupColumn; }
    void SetLookupColumn(int Value) { LookupColumn = Value; }
    TLookupMethod GetLookupMethod() const { return LookupMethod; }
    void SetLookupMethod(TLookupMethod Value) { LookupMethod = Value; }
    int GetItemIndex() const { return ItemIndex; }
    // Items mode: ignored at or past the item count. Grid mode: ignored when
    // unchanged or past the grid's rows; the text is the row's lookup cell.
    void SetItemIndex(int Value);
    // Items.Count in both modes.
    int GetRowCount() const { return Items->Count(); }
    TAdvColGrid* GetPopupGrid() const { return Grid; }
    void BeginUpdate() {}
    void EndUpdate() { BuildLookupList(); }
    // Items mode: Row is the item index; grid mode: the grid row.
    bool FindPrefixMatch(const String& Prefix, String& Text, int& Row) const;
    int IncrementalLookup(wchar_t Key);
    const String& GetLookupEntry() const { return LookupEntry; }

    // Entries in either mode; rows of the grid and the items they show.
    int GetItemCount() const;
    int RowToItem(int Row) const;
    int ItemToRow(int Index) const;

    // --- settings
    TDropDownStyle GetStyle() const { return Style; }
    void SetStyle(TDropDownStyle Value);
    bool GetAutoShowDropDown() const { return AutoShowDropDown; }
    void SetAutoShowDropDown(bool Value) { AutoShowDropDown = Value; }
    bool GetAutoSizeColumns() const { return AutoSizeColumns; }
    void SetAutoSizeColumns(bool Value) { AutoSizeColumns = Value; }
    bool GetCaseSensitive() const { return CaseSensitive; }
    void SetCaseSensitive(bool Value) { CaseSensitive = Value; }
    bool GetDropDownAutoWidth() const { return DropDownAutoWidth; }
    void SetDropDownAutoWidth(bool Value) { DropDownAutoWidth = Value; }
    int GetDropDownRowHeight() const { return DropDownRowHeight; }
    void SetDropDownRowHeight(int Value) { DropDownRowHeight = Value; }
    TColor GetLineColor() const { return LineColor; }
    void SetLineColor(TColor Value) { LineColor = Value; }
    TColor GetFixedLineColor() const { return FixedLineColor; }
    void SetFixedLineColor(TColor Value) { FixedLineColor = Value; }
    TColor GetHeaderColor() const { return HeaderColor; }
    void SetHeaderColor(TColor Value) { HeaderColor = Value; }
    TColor GetHeaderColorTo() const { return HeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { HeaderColorTo = Value; }
    int GetHeaderHeight() const { return HeaderHeight; }
    void SetHeaderHeight(int Value) { HeaderHeight = Value; }
    TFont* GetHeaderFont() const { return HeaderFont.get(); }
    void SetHeaderFont(TFont* Value) { HeaderFont->Assign(Value); }
    TColor GetSelectionTextColor() const { return SelectionTextColor; }
    void SetSelectionTextColor(TColor Value) { SelectionTextColor = Value; }
    bool GetColumnSizing() const { return ColumnSizing; }
    void SetColumnSizing(bool Value) { ColumnSizing = Value; }
    bool GetColumnMoving() const { return ColumnMoving; }
    void SetColumnMoving(bool Value) { ColumnMoving = Value; }
    bool GetRowSizing() const { return RowSizing; }
    void SetRowSizing(bool Value) { RowSizing = Value; }
    bool GetRowMoving() const { return RowMoving; }
    void SetRowMoving(bool Value) { RowMoving = Value; }
    bool GetColumnSizeWithDropDown() const { return ColumnSizeWithDropDown; }
    void SetColumnSizeWithDropDown(bool Value) { ColumnSizeWithDropDown = Value; }
    bool GetGridEditable() const { return GridEditable; }
    void SetGridEditable(bool Value) { GridEditable = Value; }
    TCustomImageList* GetGridImages() const { return GridImages; }
    void SetGridImages(TCustomImageList* Value);
    bool GetRowSelect() const { return RowSelect; }
    void SetRowSelect(bool Value) { RowSelect = Value; }
    TGridSorting GetSorting() const { return Sorting; }
    void SetSorting(TGridSorting Value) { Sorting = Value; }
    TSearchFooter* GetSearchFooter() const { return SearchFooter.get(); }
    void SetSearchFooter(TSearchFooter* Value) { SearchFooter->Assign(Value); }
    TBands* GetBands() const { return Bands.get(); }
    void SetBands(TBands* Value) { Bands->Assign(Value); }
    TNavigation* GetNavigation() const { return Navigation.get(); }
    void SetNavigation(TNavigation* Value) { Navigation->Assign(Value); }
    TMouseActions* GetMouseActions() const { return MouseActions.get(); }
    void SetMouseActions(TMouseActions* Value) { MouseActions->Assign(Value); }

    // --- row steps of the closed edit
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void SelectNextPage();
    void SelectPreviousPage();
    void SizeColumnsToDropDown();
    void BuildLookupList();

    // --- framework hooks
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void STDMETHODCALLTYPE SetComponentStyle(TPackStyle AStyle) override;
    void BeforeDropDown() override;
    void AfterDropDown(int& Height) override;
    void OpenDropDown() override;
    void PlaceControl() override;
    void AdjustDropDownSize() override;
    void CloseDropDown(bool Cancel) override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(wchar_t& Key) override;
    void DropDownSizing() override;

    bool ReturnIsTab = false;
    bool MatchCase = false;
    bool MatchStart = true;
    TNotifyEvent OnSelect;

    // --- the grid's events, passed on
    TColRowEvent OnGridButtonClick;
    TCanSortEvent OnGridCanSort;
    TClickSortEvent OnGridClickSort;
    TCustomCompareEvent OnGridCustomCompare;
    TRawCompareEvent OnGridRawCompare;
    AdvCustomGridDropDown::TCustomCellDrawEvent OnGridCustomCellDraw;
    AdvCustomGridDropDown::TCustomCellDrawEvent OnGridCustomCellBkgDraw;
    TGetAlignmentEvent OnGridGetAlignment;
    TCellColorEvent OnGridGetCellColor;
    AdvCustomGridDropDown::TGridGradientEvent OnGridGetCellGradient;
    TGetDisplTextEvent OnGridGetDiplText;
    TGetFloatFormatEvent OnGridGetFloatFormat;
    TGridFormatEvent OnGridGetFormat;
    TGridHintEvent OnGridHint;
    TScrollHintEvent OnGridScrollHint;
    TMouseMoveEvent OnGridMouseMove;
    TMouseEvent OnGridMouseDown;
    TMouseEvent OnGridMouseUp;
    TKeyEvent OnGridKeyDown;
    TKeyEvent OnGridKeyUp;
    TKeyPressEvent OnGridKeyPress;
    TColRowBoolEvent OnGridCheckBoxClick;
    TGetEditorTypeEvent OnGridGetEditorType;
    TCanEditCellEvent OnGridCanEditCell;
    TEllipsClickEvent OnGridEllipsClick;
    TCellBalloonEvent OnGridCellBalloon;
    AdvCustomGridDropDown::TAutoInsertRowEvent OnGridInsertRow;
    AdvCustomGridDropDown::TAutoAddRowEvent OnGridAutoAddRow;
    TBoolVarEvent OnGridCanAddRow;
    TCanInsertRowEvent OnGridCanDeleteRow;
    TCanInsertRowEvent OnGridCanInsertRow;
    TMovedEvent OnGridColumnMoved;
    TMovedEvent OnGridRowMoved;
    TNotifyEvent OnGridTopLeftChanged;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    Cardinal GetVersionNr() const override;
    void CreateDropDownForm() override;
    // The item collection this drop-down keeps; a subclass may supply its own.
    virtual TDropDownItems* CreateItems(TPersistent* AOwner);
    void WheelDown() override;
    void WheelUp() override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void Dispatch(TMessage& Message) override;

    // The relays: each passes the grid's event on with the grid's arguments.
    virtual void RelayGridButtonClick(TObject* Sender, int ACol, int ARow);
    virtual void RelayGridCanSort(TObject* Sender, int ACol, bool& DoSort);
    virtual void RelayGridClickSort(TObject* Sender, int ACol);
    virtual void RelayGridCustomCompare(TObject* Sender, const String& str1, const String& str2, int& Res);
    virtual void RelayGridRawCompare(TObject* Sender, int ACol, int Row1, int Row2, int& Res);
    virtual void RelayGridRowMoved(TObject* Sender, int FromIndex, int ToIndex);
    virtual void RelayGridColumnMoved(TObject* Sender, int FromIndex, int ToIndex);
    virtual void RelayGridCustomCellDraw(TObject* Sender, TCanvas* Canvas, int ACol, int ARow, TGridDrawState AState,
                                         TRect ARect, bool Printing);
    virtual void RelayGridCustomCellBkgDraw(TObject* Sender, TCanvas* Canvas, int ACol, int ARow,
                                            TGridDrawState AState, TRect ARect, bool Printing);
    virtual void RelayGridCellBalloon(TObject* Sender, int ACol, int ARow, TBalloonIcon& Icon, String& Text,
                                      String& Title);
    virtual void RelayGridGetAlignment(TObject* Sender, int ARow, int ACol, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void RelayGridGetCellColor(TObject* Sender, int ARow, int ACol, TGridDrawState AState, TBrush* ABrush,
                                       TFont* AFont);
    virtual void RelayGridGetCellGradient(TObject* Sender, int ARow, int ACol, TColor& Color, TColor& ColorTo,
                                          TColor& MirrorColor, TColor& MirrorColorTo, TCellGradientDirection& GD);
    virtual void RelayGridGetFloatFormat(TObject* Sender, int ACol, int ARow, bool& IsFloat, String& FloatFormat);
    virtual void RelayGridGetEditorType(TObject* Sender, int ACol, int ARow, TEditorType& AEditor);
    virtual void RelayGridCanEditCell(TObject* Sender, int ARow, int ACol, bool& CanEdit);
    virtual void RelayGridEllipsClick(TObject* Sender, int ACol, int ARow, String& S);
    virtual void RelayGridGetDiplText(TObject* Sender, int ACol, int ARow, String& Value);
    virtual void RelayGridGetFormat(TObject* Sender, int ACol, TSortStyle& AStyle, String& aPrefix, String& aSuffix);
    virtual void RelayGridHint(TObject* Sender, int ARow, int ACol, String& HintStr);
    virtual void RelayGridMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    virtual void RelayGridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void RelayGridMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void RelayGridKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    virtual void RelayGridKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
    virtual void RelayGridKeyPress(TObject* Sender, wchar_t& Key);
    virtual void RelayGridScrollHint(TObject* Sender, int ARow, String& HintStr);
    virtual void RelayGridTopLeftChanged(TObject* Sender);
    virtual void RelayGridAutoAddRow(TObject* Sender, int ARow);
    virtual void RelayGridInsertRow(TObject* Sender, int ARow);
    virtual void RelayGridCanAddRow(TObject* Sender, bool& Value);
    virtual void RelayGridCanInsertRow(TObject* Sender, int ARow, bool& CanInsert);
    virtual void RelayGridCanDeleteRow(TObject* Sender, int ARow, bool& CanDelete);
    void RelayGridCheckBoxClick(TObject* Sender, int ACol, int ARow, bool& Value);

private:
    void WireGridEvents();
    void GridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void GridSelect(TObject* Sender);
    void GridSortStart(TObject* Sender, int ACol, bool& DoSort);
    void GridSortDone(TObject* Sender, int ACol);
    // Runs Handler with the popup kept open on deactivation, and lets go
    // of that however the handler ends.
    template <class Handler>
    void WithActivationBlocked(Handler&& handler);
    void StepKeys(Word Key, TShiftState Shift);
    // Moves the grid's current row to Row when it is a data row.
    void MoveGridRow(int Row);
    String GridCell(int ACol, int ARow) const;
    void SelectFrom(int From);

    bool BalloonInit = false;
    bool CaseSensitive = false;
    bool ColumnSizing = false;
    bool ColumnMoving = false;
    int LookupColumn = 0;
    TLookupMethod LookupMethod = AdvCustomGridDropDown::lmLookup;
    TColor HeaderColorTo = 0x808080;
    TColor HeaderColor = clWhite;
    TColor LineColor = clSilver;
    bool UseItems = true;
    TOwned<TDropDownItems> Items;
    TOwned<TDropDownColumns> Columns;
    int ItemIndex = -1;
    int HeaderHeight = 25;
    TOwned<TFont> HeaderFont;
    TAdvColGrid* Grid = nullptr;
    TColor FixedLineColor = clGray;
    int SelectedRow = 0;
    bool CompletionEnabled = true;
    bool RowSelect = true;
    TOwned<TStringList> LookupList;
    bool ItemChange = false;
    int CompletedItem = 0;
    int CompletedPrefixLength = 0;
    TOwned<TSearchFooter> SearchFooter;
    TOwned<TBands> Bands;
    TOwned<TNavigation> Navigation;
    TOwned<TMouseActions> MouseActions;
    int OldItemIndex = -1;
    bool DropDownAutoWidth = true;
    bool ColumnSizeWithDropDown = true;
    TColor SelectionTextColor = clBlack;
    int DropDownRowHeight = 22;
    int SortItem = -1;
    TDropDownStyle Style = AdvCustomGridDropDown::dsDropDown;
    String LookupEntry;
    TGridSorting Sorting = AdvCustomGridDropDown::gsNone;
    bool GridEditable = false;
    TCustomImageList* GridImages = nullptr;
    bool RowMoving = false;
    bool RowSizing = false;
    bool AutoShowDropDown = false;
    bool AutoSizeColumns = true;
    bool NodeCell = false;
    bool completing_ = false;
};
