// The data grid's filter conditions, the look of the header's filter
// drop-down, the filter-edit row and the two drop-down lists.
#pragma once

#include "CheckLst.h"
#include "Classes.h"
#include "Graphics.h"
#include "StdCtrls.h"
#include <vector>

class TAdvStringGrid;

// How a condition's outcome joins the outcome so far: foSHORT replaces it
// and a failing condition ends the row's test, foNONE replaces it.
enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
// Which text of the cell is tested.
enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
enum TFilterMethod { fmExpression, fmLiteral };
// The glow button's focus types have an ftNone of their own.
namespace AdvGrid {
enum TFilterType {
    ftStartsWith, ftEndsWith, ftContains, ftNotContains, ftEqual, ftNotEqual, ftLargerThan, ftSmallerThan,
    ftClear, ftNone
};
} // namespace AdvGrid
using AdvGrid::TFilterType;
enum TFilterDropDownColumns { fdNormal, fdAll };

// One column condition.
class TFilterData : public TCollectionItem {
public:
    explicit TFilterData(TCollection* Collection) : TCollectionItem(Collection) {}
    // Copies column, condition, case, data, prefix, suffix, operation and
    // the accent switch; not the method, the switch, the type or the name.
    void Assign(TPersistent* Source) override;
    // Writes Condition from a plain text for FilterType (a text with a blank
    // quoted); ftClear and ftNone leave it.
    void BuildCondition(const String& s);

    int GetColumn() const { return column_; }
    void SetColumn(int Value) { column_ = Value; }
    const String& GetCondition() const { return condition_; }
    void SetCondition(const String& Value) { condition_ = Value; }
    bool GetCaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool Value) { caseSensitive_ = Value; }
    const String& GetSuffix() const { return suffix_; }
    void SetSuffix(const String& Value) { suffix_ = Value; }
    const String& GetPrefix() const { return prefix_; }
    void SetPrefix(const String& Value) { prefix_ = Value; }
    const String& GetFriendlyName() const { return friendlyName_; }
    void SetFriendlyName(const String& Value) { friendlyName_ = Value; }
    TFilterOperation GetOperation() const { return operation_; }
    void SetOperation(TFilterOperation Value) { operation_ = Value; }
    TFilterCells GetData() const { return data_; }
    void SetData(TFilterCells Value) { data_ = Value; }
    TFilterMethod GetMethod() const { return method_; }
    void SetMethod(TFilterMethod Value) { method_ = Value; }
    TFilterType GetFilterType() const { return filterType_; }
    void SetFilterType(TFilterType Value) { filterType_ = Value; }
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    bool GetRemoveAccented() const { return removeAccented_; }
    void SetRemoveAccented(bool Value) { removeAccented_ = Value; }
    // Cell texts picked from the drop-down that the condition language
    // cannot name exactly ("*", "?", "!", "<", ">" in them): a cell that
    // reads one of them passes too. Copied by Assign, not stored in files.
    const std::vector<String>& GetExactValues() const { return exactValues_; }
    void SetExactValues(const std::vector<String>& Values) { exactValues_ = Values; }

private:
    int column_ = 0;
    String condition_;
    bool caseSensitive_ = true;
    String suffix_;
    String prefix_;
    String friendlyName_;
    TFilterOperation operation_ = foSHORT;
    TFilterCells data_ = fcVirtual;
    TFilterMethod method_ = fmExpression;
    TFilterType filterType_ = AdvGrid::ftStartsWith;
    bool enabled_ = true;
    bool removeAccented_ = false;
    std::vector<String> exactValues_;
};

// The grid's conditions, tested in order. A change repaints the header row.
class TFilter : public TCollection {
public:
    explicit TFilter(TAdvStringGrid* AOwner);
    // Appended with foNONE when it is the only condition, else foAND.
    TFilterData* Add();
    // Appended as well (the index is not used), keeping foSHORT.
    TFilterData* Insert(int Index);
    TFilterData* Item(int Index) const { return static_cast<TFilterData*>(GetItem(Index)); }
    TFilterData* GetFilterItem(int Index) const { return Item(Index); }
    // The column's first condition; a new one (Add) when it has none.
    TFilterData* ColumnItem(int Col);
    void RemoveColumnFilter(int Col);
    bool HasFilter(int Col) const;
    bool HasOtherFilter(int Col) const;
    // The type of the column's first condition; ftContains without one.
    TFilterType HasFilterType(int Col) const;
    TAdvStringGrid* Grid() const { return grid_; }

protected:
    void Update(TCollectionItem* Item) override;

private:
    TAdvStringGrid* grid_ = nullptr;
};

// The look of the header's filter drop-down list.
class TFilterDropDown : public TPersistent {
public:
    TFilterDropDown();
    // Copies all but AutoSize, Sorted and OnChange.
    void Assign(TPersistent* Source) override;

    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value) { autoSize_ = Value; }
    int GetHeight() const { return height_; }
    void SetHeight(int Value) { Store(height_, Value); }
    int GetWidth() const { return width_; }
    void SetWidth(int Value) { Store(width_, Value); }
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value) { Store(color_, Value); }
    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    // Header button glyphs without and with a condition; a change of either
    // fires OnChange.
    TBitmap* GetGlyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* Value) { glyph_->Assign(Value); }
    TBitmap* GetGlyphActive() const { return glyphActive_.get(); }
    void SetGlyphActive(TBitmap* Value) { glyphActive_->Assign(Value); }
    // The list takes the column's width and left edge.
    bool GetColumnWidth() const { return columnWidth_; }
    void SetColumnWidth(bool Value) { Store(columnWidth_, Value); }
    const String& GetTextChecked() const { return textChecked_; }
    void SetTextChecked(const String& Value) { textChecked_ = Value; }
    const String& GetTextUnChecked() const { return textUnChecked_; }
    void SetTextUnChecked(const String& Value) { textUnChecked_ = Value; }
    bool GetCaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool Value) { caseSensitive_ = Value; }
    bool GetSorted() const { return sorted_; }
    void SetSorted(bool Value) { sorted_ = Value; }

    // Fired by the glyphs, and by the list's size, colour and font.
    TNotifyEvent OnChange;

private:
    template <class T>
    void Store(T& field, const T& value)
    {
        if (StoreChanged(field, value))
            FireEvent(OnChange, this);
    }

    bool autoSize_ = false;
    int height_ = 150;
    int width_ = 150;
    TColor color_ = clWindow;
    TOwned<TFont> font_;
    TOwned<TBitmap> glyph_;
    TOwned<TBitmap> glyphActive_;
    bool columnWidth_ = false;
    String textChecked_;
    String textUnChecked_;
    bool caseSensitive_ = false;
    bool sorted_ = true;
};

// The filter-edit row: one edit per column and a filter-type menu.
class TFilterEdit : public TPersistent {
public:
    explicit TFilterEdit(TAdvStringGrid* AOwner);
    void Assign(TPersistent* Source) override;

    // A change takes the filter off, empties the conditions and the row's cells.
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value);
    int GetRow() const { return row_; }
    void SetRow(int Value);
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    // fdAll gives fixed columns an edit too.
    TFilterDropDownColumns GetColumns() const { return columns_; }
    void SetColumns(TFilterDropDownColumns Value);
    // The filter-type menu's captions, in TFilterType order.
    TStringList* GetTypeNames() const { return typeNames_.get(); }
    void SetTypeNames(TStrings* Value) { typeNames_->Assign(Value); }
    bool GetCaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool Value) { caseSensitive_ = Value; }

private:
    void Invalidate();

    TAdvStringGrid* grid_ = nullptr;
    bool enabled_ = false;
    int row_ = 0;
    TColor color_ = clWhite;
    TFilterDropDownColumns columns_ = fdNormal;
    TOwned<TStringList> typeNames_;
    bool caseSensitive_ = true;
};

using TCustomFilterEvent = std::function<void(TObject* Sender, int ARow, bool& AcceptRow)>;
using TGetColumnFilterEvent = std::function<void(TObject* Sender, int Column, TStrings* Filter)>;
using TFilterSelectEvent =
    std::function<void(TObject* Sender, int Column, int ItemIndex, const String& FriendlyName, String& FilterCondition)>;
using TFilterCheckEvent = std::function<void(TObject* Sender, int Column, int ItemIndex, const String& FriendlyName,
                                             String& FilterCondition, TCheckListBox* CheckList)>;
using TFilterCheckClickEvent =
    std::function<void(TObject* Sender, int Column, int ItemIndex, bool State, TCheckListBox* CheckList)>;

// A choice in a drop-down list: the item's index.
using TDropSelectEvent = std::function<void(TObject* Sender, int ItemIndex)>;
using TFilterCloseEvent = std::function<void(TObject* Sender, int ACol)>;

// The header's single-choice list: Enter or a release picks the item and
// hides the list; a cancelled mode away from it and its header button
// closes it.
class TDropList : public TListBox {
public:
    explicit TDropList(TComponent* AOwner) : TListBox(AOwner) {}
    TDropSelectEvent OnSelect;

protected:
    void WndProc(TMessage& Message) override;
    void KeyPress(wchar_t& Key) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// The header's check list: it stays open while boxes are toggled.
class TDropCheckList : public TCheckListBox {
public:
    explicit TDropCheckList(TComponent* AOwner) : TCheckListBox(AOwner) {}
    TDropSelectEvent OnSelect;

protected:
    void WndProc(TMessage& Message) override;
    void ClickCheck() override;
};
