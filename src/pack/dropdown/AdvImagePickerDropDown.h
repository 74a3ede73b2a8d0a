// A drop-down whose value is one image of a list: the edit shows the chosen
// image centred, the popup shows all items in an item selector, and the
// keys, the wheel and typed captions move the choice.
#pragma once

#include "AdvDetailDropDown.h"
#include "AdvDropDownSelector.h"

class TImageItem : public TCollectionItem {
public:
    explicit TImageItem(TCollection* Collection);
    void Assign(TPersistent* Source) override;

    // These two report a change of a different value to the collection.
    const String& GetCaption() const { return caption_; }
    void SetCaption(const String& Value);
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    // Stores without notification.
    void StoreCaption(const String& Value) { caption_ = Value; }

    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    // A picture of its own, shown instead of the image-list image.
    TPicture* GetImage() const { return image_.get(); }
    void SetImage(TPicture* Value) { image_->Assign(Value); }
    const String& GetHint() const { return hint_; }
    void SetHint(const String& Value) { hint_ = Value; }

private:
    String caption_;
    int imageIndex_ = -1;
    bool enabled_ = true;
    TOwned<TPicture> image_;
    String hint_;
};

class TImageItems : public TCollection {
public:
    explicit TImageItems(TPersistent* AOwner) : TCollection(ItemClass<TImageItem>(), AOwner) {}
    TImageItem* Add() { return static_cast<TImageItem*>(TCollection::Add()); }
    TImageItem* Insert(int Index) { return static_cast<TImageItem*>(TCollection::Insert(Index)); }
    TImageItem* GetItem(int Index) const { return static_cast<TImageItem*>(TCollection::GetItem(Index)); }

    TNotifyEvent OnChange;
};

class TAdvImagePickerDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvImagePickerDropDown(TComponent* AOwner);
    ~TAdvImagePickerDropDown() override;
    void AfterConstruction() override;

    TImageItems* GetItems() const { return Items.get(); }
    void SetItems(TImageItems* Value) { Items->Assign(Value); }
    int GetItemIndex() const { return ItemIndex; }
    // Nothing for the current index or one past the items; -1 clears.
    void SetItemIndex(int Value);
    // The selected item's image index, -1 for none; writing selects the
    // first item with that image index, or none.
    int GetImageIndex() const;
    void SetImageIndex(int Value);
    int GetColumns() const { return Columns; }
    void SetColumns(int Value) { Columns = Value; }
    TItemLayout GetLayout() const { return Layout; }
    void SetLayout(TItemLayout Value) { Layout = Value; }
    TItemAppearance* GetItemAppearance() const { return ItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* Value) { ItemAppearance->Assign(Value); }
    TAdvCustomItemSelector* GetItemSelector() const { return ItemSelector; }
    const String& GetSearchText() const { return SearchText; }
    TTimer* GetKeyTimer() const { return KeyTimer; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    // One item per image of Images.
    void AddImagesFromImageList();
    // One item per file that Pattern matches; folders are left out. A file
    // that cannot be read as a picture gives an item without an image.
    void AddImagesFromFolder(const String& Pattern, bool SetImageCaption);

    void STDMETHODCALLTYPE SetComponentStyle(TPackStyle AStyle) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void BeforeDropDown() override;
    void AdjustDropDownSize() override;
    void CloseDropDown(bool Cancel) override;

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;
    AdvDropDown::TDrawItemEvent OnDrawItem;

protected:
    void CreateDropDownForm() override;
    void WheelDown() override;
    void WheelUp() override;
    void PaintEditArea() override;
    void Dispatch(TMessage& Message) override;

private:
    void LoadSelector();
    void SelectorItemSelected(TObject* Sender);
    void InternalSelect(int Index);
    void HandleImageKeyDown(TMessage& Message, bool HandledBefore);
    void DrawSelectedImage();

    TAdvCustomItemSelector* ItemSelector = nullptr;
    int Columns = 1;
    TItemLayout Layout = ilCaptionRight;
    TOwned<TImageItems> Items;
    int ItemIndex = -1;
    TOwned<TItemAppearance> ItemAppearance;
    bool InternalCall = false;
    TTimer* KeyTimer = nullptr;
    String SearchText;
    int OldItemIndex = -1;
};
