// A drop-down whose popup is a read-only list of several columns. One column,
// LookupColumn, gives a row's edit text: typing completes from it, typing in
// the open list searches it by prefix, and keys, mouse and wheel move through
// the rows.
#pragma once

#include "AdvDropDown.h"
#include "Grids.h"

class TAdvMultiColumnDropDown;

namespace AdvMultiColumnDropDown {

enum TColumnType { ctText, ctImage };

// One list column.
class TDropDownColumn : public TCollectionItem {
public:
    explicit TDropDownColumn(TCollection* Collection);
    // From another column; any other source raises EConvertError.
    void Assign(TPersistent* Source) override;

    int GetWidth() const { return Width; }
    void SetWidth(int Value) { Width = Value; }
    TColor GetColor() const { return Color; }
    void SetColor(TColor Value) { Color = Value; }
    TAlignment GetAlignment() const { return Alignment; }
    void SetAlignment(TAlignment Value) { Alignment = Value; }
    bool GetEllipsis() const { return Ellipsis; }
    void SetEllipsis(bool Value) { Ellipsis = Value; }
    TFont* GetFont() const { return Font.get(); }
    void SetFont(TFont* Value) { Font->Assign(Value); }
    TColumnType GetColumnType() const { return ColumnType; }
    void SetColumnType(TColumnType Value) { ColumnType = Value; }
    const String& GetHeader() const { return Header; }
    void SetHeader(const String& Value) { Header = Value; }
    bool GetWordwrap() const { return Wordwrap; }
    void SetWordwrap(bool Value) { Wordwrap = Value; }
    bool GetAutoSize() const { return AutoSize; }
    void SetAutoSize(bool Value) { AutoSize = Value; }

private:
    bool Wordwrap = false;
    int Width = 80;
    bool AutoSize = false;
    String Header;
    TAlignment Alignment = taLeftJustify;
    TColor Color = clWhite;
    TColumnType ColumnType = ctText;
    TOwned<TFont> Font;
    bool Ellipsis = false;
};

class TDropDownColumns : public TCollection {
public:
    explicit TDropDownColumns(TPersistent* AOwner) : TCollection(ItemClass<TDropDownColumn>(), AOwner) {}
    TDropDownColumn* Add() { return static_cast<TDropDownColumn*>(TCollection::Add()); }
    TDropDownColumn* Insert(int Index) { return static_cast<TDropDownColumn*>(TCollection::Insert(Index)); }
    TDropDownColumn* GetItem(int Index) const { return static_cast<TDropDownColumn*>(TCollection::GetItem(Index)); }

    TNotifyEvent OnChange;
};

// One list row: a string per column.
class TDropDownItem : public TCollectionItem {
public:
    explicit TDropDownItem(TCollection* Collection);
    // From another item; any other source is ignored.
    void Assign(TPersistent* Source) override;

    int GetImageIndex() const { return ImageIndex; }
    void SetImageIndex(int Value) { ImageIndex = Value; }
    TStringList* GetText() const { return Text.get(); }
    void SetText(TStrings* Value) { Text->Assign(Value); }
    int GetTag() const { return Tag; }
    void SetTag(int Value) { Tag = Value; }
    // String Column, empty for a column the item has no string for.
    String CellText(int Column) const;

private:
    int ImageIndex = -1;
    TOwned<TStringList> Text;
    int Tag = 0;
};

class TDropDownItems : public TCollection {
public:
    explicit TDropDownItems(TPersistent* AOwner) : TCollection(ItemClass<TDropDownItem>(), AOwner) {}
    TDropDownItem* Add() { return static_cast<TDropDownItem*>(TCollection::Add()); }
    TDropDownItem* Insert(int Index) { return static_cast<TDropDownItem*>(TCollection::Insert(Index)); }
    TDropDownItem* GetItem(int Index) const { return static_cast<TDropDownItem*>(TCollection::GetItem(Index)); }
    // The first item whose string Column is exactly Value, -1 for none.
    int IndexInColumn(int Column, const String& Value) const;

    TNotifyEvent OnChange;
};

using TDrawCellEvent = std::function<void(TObject* Sender, int Column, int Row, TCanvas* ACanvas, TRect ARect)>;
using TGetCellTextEvent = std::function<void(TObject* Sender, int Column, int Row, String& Text)>;
using TGetCellPropEvent =
    std::function<void(TObject* Sender, int Column, int Row, TFont* Font, TColor& AColor, TColor& AColorTo)>;

// The popup list.
class TAdvColGrid : public TStringGrid {
public:
    explicit TAdvColGrid(TComponent* AOwner);

    // Copies the drop-down's columns, rows, sizes and colours (nothing for null).
    void LoadFromDropDown(TAdvMultiColumnDropDown* DropDown);
    void SetDropDown(TAdvMultiColumnDropDown* Value) { DropDown = Value; }
    TAdvMultiColumnDropDown* GetDropDown() const { return DropDown; }
    void AutoSizeItemColumns();
    void AutoSizeItemColumn(int ACol);
    void AutoSizeWrappedRows();
    // The width that shows every column: borders, columns and, when not all
    // rows show, the vertical scroll bar.
    int GetTotalWidth();
    // The cell's left/top with its column width and row height; empty for a
    // negative index.
    void GetFullCellRect(int ACol, int ARow, TRect& Rect);
    // Draws one cell through the list's own painter (the window paints it so).
    void PaintCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
    {
        DrawCell(ACol, ARow, ARect, AState);
    }

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
    int GetOwnGridLineWidth() const { return GridLineWidth; }
    // The width of the lines the list draws itself; the grid's own stay 0.
    void SetOwnGridLineWidth(int Value);
    TCustomImageList* GetImages() const { return Images; }
    void SetImages(TCustomImageList* Value) { Images = Value; }
    bool GetConfirmSelection() const { return ConfirmSelection; }
    void SetConfirmSelection(bool Value) { ConfirmSelection = Value; }
    bool GetWheelSelection() const { return WheelSelection; }

    TDrawCellEvent OnDrawCell;
    TGetCellPropEvent OnGetCellProp;
    TGetCellTextEvent OnGetCellText;
    TNotifyEvent OnSelect;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    virtual void DoSelect();
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    bool DoMouseWheelDown(TShiftState Shift, POINT MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, POINT MousePos) override;
    void Dispatch(TMessage& Message) override;

private:
    void HandleLButtonDown(TMessage& Message);

    TAdvMultiColumnDropDown* DropDown = nullptr;
    TOwned<TDropDownColumns> Columns;
    TColor HeaderColor = clWhite;
    TColor HeaderColorTo = 0x808080;
    TColor LineColor = 0x808080;
    TCustomImageList* Images = nullptr;
    int HeaderHeight = 25;
    TOwned<TFont> HeaderFont;
    TColor FixedLineColor = clGray;
    int GridLineWidth = 1;
    int OldRow = 0;
    bool WheelSelection = false;
    bool ConfirmSelection = false;
};

// The colours a component style gives the column drop-downs (this one and the
// grid drop-down).
struct TColumnDropDownStyle {
    TPackStyle Style;
    TColor HeaderColor;
    TColor HeaderColorTo;
    TColor LineColor;
    TColor FixedLineColor;
    TSelectionColorStyle Selection;
    // The selection colour of a custom selection style, both ends.
    TColor SelectionColor;
    // clDefault: the header font keeps its colour.
    TColor HeaderFontColor;
    TColor SelectionTextColor;
};
// The style's row; null for tsCustom, which changes nothing.
const TColumnDropDownStyle* FindColumnDropDownStyle(TPackStyle Style);

// Measuring shared by the column drop-downs' lists.
// The popup form's canvas in a font; its DC goes when the measure ends.
class TMeasureCanvas {
public:
    TMeasureCanvas(TDropDownForm* Form, TFont* Font);
    ~TMeasureCanvas();
    TMeasureCanvas(const TMeasureCanvas&) = delete;
    TMeasureCanvas& operator=(const TMeasureCanvas&) = delete;
    void SetFont(TFont* Font) { canvas_->GetFont()->Assign(Font); }
    TCanvas* Get() const { return canvas_; }

private:
    TCanvas* canvas_;
};
// What an auto-sized column needs for one cell: the image (ImageIndex not
// negative, Images set) and 4, the one-line text and 6.
int ItemCellWidth(TCanvas* Canvas, const String& Text, int ImageIndex, TCustomImageList* Images);
// What a word-wrapped cell needs: the image and 6 when HasImage, the text
// wrapped at Width and 6, whichever is more.
int WrappedCellHeight(TCanvas* Canvas, const String& Text, int Width, bool HasImage, TCustomImageList* Images);
// Widths scaled so that their sum plus 1 fills Avail; the rounding error is
// carried from column to column.
std::vector<int> ScaleColumnWidths(const std::vector<int>& Widths, int Avail);

} // namespace AdvMultiColumnDropDown

class TAdvMultiColumnDropDown : public TAdvCustomDropDown {
public:
    using TDropDownColumns = AdvMultiColumnDropDown::TDropDownColumns;
    using TDropDownItems = AdvMultiColumnDropDown::TDropDownItems;
    using TAdvColGrid = AdvMultiColumnDropDown::TAdvColGrid;

    explicit TAdvMultiColumnDropDown(TComponent* AOwner);
    void AfterConstruction() override;
    void Assign(TPersistent* Source) override;

    TDropDownColumns* GetColumns() const { return Columns.get(); }
    void SetColumns(TDropDownColumns* Value) { Columns->Assign(Value); }
    TDropDownItems* GetItems() const { return Items.get(); }
    void SetItems(TDropDownItems* Value) { Items->Assign(Value); }
    int GetLookupColumn() const { return LookupColumn; }
    void SetLookupColumn(int Value);
    int GetItemIndex() const { return ItemIndex; }
    // Ignored at or past the item count; otherwise the row's lookup text (or
    // none for a negative index) becomes the text.
    void SetItemIndex(int Value);
    int GetRowCount() const { return Items->Count(); }
    // The first item whose lookup string is exactly Value, -1 for none.
    int GetItemIndex(const String& Value) const;
    void BeginUpdate() {}
    void EndUpdate() { BuildLookupList(); }

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
    TColor GetSelectionTextColor() const { return SelectionTextColor; }
    void SetSelectionTextColor(TColor Value) { SelectionTextColor = Value; }
    bool GetDropDownAutoWidth() const { return DropDownAutoWidth; }
    void SetDropDownAutoWidth(bool Value) { DropDownAutoWidth = Value; }
    int GetDropDownRowHeight() const { return DropDownRowHeight; }
    void SetDropDownRowHeight(int Value) { DropDownRowHeight = Value; }
    bool GetColumnSizing() const { return ColumnSizing; }
    void SetColumnSizing(bool Value) { ColumnSizing = Value; }
    bool GetColumnSizeWithDropDown() const { return ColumnSizeWithDropDown; }
    void SetColumnSizeWithDropDown(bool Value) { ColumnSizeWithDropDown = Value; }
    bool GetCaseSensitive() const { return CaseSensitive; }
    void SetCaseSensitive(bool Value) { CaseSensitive = Value; }
    TAdvColGrid* GetListGrid() const { return List; }
    const String& GetLookupEntry() const { return LookupEntry; }

    // Searches the items' lookup strings by prefix.
    bool FindPrefixMatch(const String& Prefix, String& Text, int& Index) const;
    // The prefix search of characters typed into the open list.
    int IncrementalLookup(wchar_t Key);
    void SizeColumnsToDropDown();
    void BuildLookupList();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void SelectNextPage();
    void SelectPreviousPage();

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
    AdvMultiColumnDropDown::TDrawCellEvent OnDropDownDrawItem;
    AdvMultiColumnDropDown::TGetCellPropEvent OnDropDownGetItemProp;
    AdvMultiColumnDropDown::TGetCellTextEvent OnDropDownGetItemText;

protected:
    void Loaded() override;
    void CreateDropDownForm() override;
    void WheelDown() override;
    void WheelUp() override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void Dispatch(TMessage& Message) override;

private:
    void GridSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void GridSelect(TObject* Sender);
    void StepKeys(Word Key);
    int SelectionStartOf(int Index) const;

    bool Showing = false;
    bool ColumnSizing = false;
    int LookupColumn = 0;
    TColor HeaderColorTo = 0x808080;
    TColor HeaderColor = clWhite;
    TColor LineColor = clSilver;
    TOwned<TDropDownItems> Items;
    TOwned<TDropDownColumns> Columns;
    int ItemIndex = -1;
    int HeaderHeight = 25;
    TOwned<TFont> HeaderFont;
    TAdvColGrid* List = nullptr;
    TColor FixedLineColor = clGray;
    TOwned<TStringList> LookupList;
    bool ItemChange = false;
    int CompletedItem = 0;
    int CompletedPrefixLength = 0;
    int OldItemIndex = -1;
    bool DropDownAutoWidth = true;
    bool ColumnSizeWithDropDown = true;
    TColor SelectionTextColor = clBlack;
    int DropDownRowHeight = 22;
    String LookupEntry;
    bool CaseSensitive = false;
    // ItemIndex at the last opening; none before the first one.
    int OpeningIndex = -1;
    bool Opened = false;
    bool completing_ = false;
};
