// The item selector of the drop-down unit: a scrolling host that owns items
// (an image or a colour box with a mini-HTML caption) and an inner panel that
// lays them out in columns, sizes itself to them and draws them with hot
// tracking, selection, keyboard steps and type-ahead lookup.
#pragma once

#include "AdvDropDown.h"

enum TSelectorType { stImage, stColor };
enum TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

// The class library's list controls declare another TDrawItemEvent.
namespace AdvDropDown {
using TDrawItemEvent = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R, int Index)>;
} // namespace AdvDropDown
using TItemSizeEvent = std::function<void(TObject* Sender, TSize& ASize)>;

class TSelectorItems;

class TSelectorItem : public TCollectionItem {
public:
    explicit TSelectorItem(TCollection* Collection);
    void Assign(TPersistent* Source) override;

    // These three report a change of a different value to the collection.
    const String& GetCaption() const { return caption_; }
    void SetCaption(const String& Value);
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);

    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    TPicture* GetImage() const { return image_.get(); }
    void SetImage(TPicture* Value) { image_->Assign(Value); }
    // The picture's graphic when it holds one that is not empty.
    TGraphic* OwnGraphic() const;
    const TRect& GetRect() const { return rect_; }
    void SetRect(const TRect& Value) { rect_ = Value; }
    const String& GetHint() const { return hint_; }
    void SetHint(const String& Value) { hint_ = Value; }

private:
    void Notify();
    String caption_;
    int imageIndex_ = -1;
    bool enabled_ = true;
    TColor color_ = clNone;
    TOwned<TPicture> image_;
    TRect rect_;
    String hint_;
};

class TSelectorItems : public TCollection {
public:
    explicit TSelectorItems(TPersistent* AOwner) : TCollection(ItemClass<TSelectorItem>(), AOwner) {}
    TSelectorItem* Add() { return static_cast<TSelectorItem*>(TCollection::Add()); }
    TSelectorItem* Insert(int Index) { return static_cast<TSelectorItem*>(TCollection::Insert(Index)); }
    TSelectorItem* GetItem(int Index) const { return static_cast<TSelectorItem*>(TCollection::GetItem(Index)); }

    // Fired by the items' Caption, Color and ImageIndex; not by adding or deleting.
    TNotifyEvent OnChange;
};

// The colours of normal, hot and selected items. Colour writes are plain stores.
class TItemAppearance : public TPersistent {
public:
    explicit TItemAppearance(TComponent* AOwner);
    TPersistent* GetOwner() const override { return owner_; }
    void Assign(TPersistent* Source) override;

    // Writes the preset colours of a style; the current style changes
    // nothing and scCustom only stores itself.
    void SetColorStyle(TSelectionColorStyle Value);
    TSelectionColorStyle GetColorStyle() const { return ColorStyle; }
    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }

    TNotifyEvent OnChange;
    TColor ColorMirrorHotTo = clNone;
    TColor BorderColor = clNone;
    TColor ColorMirrorHot = clNone;
    TColor ColorSelectedTo = clNone;
    TColor ColorSelected = clNone;
    TColor EdgeColor = clNone;
    TColor ColorHotTo = clNone;
    TColor BorderColorBottom = clNone;
    TColor ColorHot = clNone;
    TColor BorderColorTop = clNone;
    TColor ColorMirrorSelectedTo = clNone;
    TColor ColorMirrorSelected = clNone;
    TColor ColorSelectedText = 0;
    TColor ColorHotText = 0;
    TColor BorderColorHot = clNone;
    TColor BorderColorSelected = clNone;

private:
    TPersistent* owner_ = nullptr;
    TSelectionColorStyle ColorStyle = scCustom;
    TOwned<TFont> font_;
};

class TAdvCustomItemSelector;

// The inner panel: sized to the laid-out items, scrolled by the host.
class TCustomItemSelector : public TCustomControl {
public:
    // Raises EInvalidOperation "Invalid parent" unless AOwner is a TAdvCustomItemSelector.
    explicit TCustomItemSelector(TComponent* AOwner);

    int GetItemIndex() const { return ItemIndex; }
    void SetItemIndex(int Value);
    int GetItemHot() const { return ItemHot; }
    void SetItemHot(int Value);
    TAdvCustomItemSelector* GetAdvItemSelector() const { return AdvItemSelector; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    // Selects the next item whose plain, trimmed, upper-case caption starts
    // with s, wrapping once; an empty s matches nothing.
    bool LookupItem(const String& s);
    // The item under (X, Y), -1 for none.
    int ItemAtPos(int X, int Y) const;
    // The item's rectangle, (-1, -1, -1, -1) for no item.
    TRect ItemRect(int Index) const;

    virtual void DrawItem(int Index, TCanvas* ACanvas);
    virtual void GetContentRect(TRect& R);
    virtual void GetItemSize(TSize& Size);
    virtual void InvalidateItem(int Index);
    virtual void ArrangeItems();

    TNotifyEvent OnItemSelect;

    int OffSetX = 2;
    int OffSetY = 2;
    int ItemOffSetX = 4;
    int ItemOffSetY = 4;
    int CaptionGap = 4;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

private:
    bool IsDisabledItem(int Index) const;
    int ItemIndex = -1;
    int ItemHot = -1;
    TAdvCustomItemSelector* AdvItemSelector = nullptr;
};

// The host that the pickers create and put into their popup.
class TAdvCustomItemSelector : public TScrollingWinControl {
public:
    explicit TAdvCustomItemSelector(TComponent* AOwner);
    ~TAdvCustomItemSelector() override;

    TSelectorItems* GetItems() const { return Items.get(); }
    void SetItems(TSelectorItems* Value) { Items->Assign(Value); }
    TSelectorType GetSelectorType() const { return SelectorType; }
    void SetSelectorType(TSelectorType Value);
    TItemLayout GetItemLayout() const { return ItemLayout; }
    // Only stores: callers lay out again themselves.
    void SetItemLayout(TItemLayout Value) { ItemLayout = Value; }
    int GetColumns() const { return Columns; }
    // 0 and negative values are ignored.
    void SetColumns(int Value);
    int GetColorBoxWidth() const { return ColorBoxWidth; }
    void SetColorBoxWidth(int Value);
    int GetColorBoxHeight() const { return ColorBoxHeight; }
    void SetColorBoxHeight(int Value);
    TCustomImageList* GetImages() const { return Images; }
    void SetImages(TCustomImageList* Value);
    TItemAppearance* GetItemAppearance() const { return ItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* Value) { ItemAppearance->Assign(Value); }
    TCustomItemSelector* GetItemSelectorPanel() const { return ItemSelectorPanel; }

    int GetItemIndex() const;
    // Selects and scrolls the item into view.
    void SetItemIndex(int Value);
    int GetItemHot() const;

    void UpdateSelectorPanel();
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    bool LookupItem(const String& s);
    void ScrollItemInView(int Index);
    // Whole items a page shows; 0 without items or when an item has no height.
    int GetVisibleItemCount();
    void GetSelectorSize(TSize& Size);

    TNotifyEvent OnItemSelect;
    AdvDropDown::TDrawItemEvent OnDrawItem;
    TItemSizeEvent OnItemSize;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    // The wheel is left to the parent: the popup turns it into steps of the
    // picker's selection.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;

private:
    TOwned<TSelectorItems> Items;
    TSelectorType SelectorType = stImage;
    TItemLayout ItemLayout = ilCaptionRight;
    int Columns = 1;
    int ColorBoxWidth = 14;
    int ColorBoxHeight = 14;
    TCustomImageList* Images = nullptr;
    TCustomItemSelector* ItemSelectorPanel = nullptr;
    TOwned<TItemAppearance> ItemAppearance;
};
