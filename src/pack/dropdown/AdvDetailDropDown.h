// A drop-down listing detail items (image, caption, notes below it). The
// edit completes typed text from the captions, Enter accepts an exactly typed
// caption, and the popup list moves with the arrow and page keys, the wheel
// and typed initials.
#pragma once

#include "AdvDropDownSelector.h"

enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };

class TDetailItem : public TCollectionItem {
public:
    explicit TDetailItem(TCollection* Collection);
    void Assign(TPersistent* Source) override;

    // These two report a change of a different value to the collection.
    const String& GetCaption() const { return caption_; }
    void SetCaption(const String& Value);
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);

    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value) { enabled_ = Value; }
    TPicture* GetImage() const { return image_.get(); }
    void SetImage(TPicture* Value) { image_->Assign(Value); }
    // Mini-HTML drawn below the caption.
    const String& GetNotes() const { return notes_; }
    void SetNotes(const String& Value) { notes_ = Value; }
    TObject* GetItemObject() const { return itemObject_; }
    void SetItemObject(TObject* Value) { itemObject_ = Value; }
    int GetTag() const { return tag_; }
    void SetTag(int Value) { tag_ = Value; }

private:
    String caption_;
    int imageIndex_ = -1;
    bool enabled_ = true;
    TOwned<TPicture> image_;
    String notes_;
    TObject* itemObject_ = nullptr;
    int tag_ = 0;
};

class TDetailItems : public TCollection {
public:
    explicit TDetailItems(TPersistent* AOwner) : TCollection(ItemClass<TDetailItem>(), AOwner) {}
    TDetailItem* Add() { return static_cast<TDetailItem*>(TCollection::Add()); }
    TDetailItem* Insert(int Index) { return static_cast<TDetailItem*>(TCollection::Insert(Index)); }
    TDetailItem* GetItem(int Index) const { return static_cast<TDetailItem*>(TCollection::GetItem(Index)); }
    // The first item whose caption is exactly AValue, -1 for none.
    int IndexOf(const String& AValue) const;

    TNotifyEvent OnChange;
};

using TOnDrawSelectedItem = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R)>;

class TAdvDetailDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvDetailDropDown(TComponent* AOwner);
    void AfterConstruction() override;

    TDetailItems* GetItems() const { return Items.get(); }
    void SetItems(TDetailItems* Value) { Items->Assign(Value); }
    int GetItemIndex() const { return ItemIndex; }
    // A valid item: its caption becomes the text and OnSelect fires; -1
    // empties the text; anything else is ignored.
    void SetItemIndex(int Value);
    int GetItemHeight() const { return ItemHeight; }
    void SetItemHeight(int Value) { ItemHeight = Value; }
    TItemLayout GetLayout() const { return Layout; }
    void SetLayout(TItemLayout Value) { Layout = Value; }
    TItemAppearance* GetItemAppearance() const { return ItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* Value) { ItemAppearance->Assign(Value); }
    TFont* GetCaptionFont() const { return CaptionFont.get(); }
    void SetCaptionFont(TFont* Value) { CaptionFont->Assign(Value); }
    TFont* GetNotesFont() const { return NotesFont.get(); }
    void SetNotesFont(TFont* Value) { NotesFont->Assign(Value); }
    TVerticalAlignment GetImageVAlign() const { return ImageVAlign; }
    void SetImageVAlign(TVerticalAlignment Value) { ImageVAlign = Value; }
    TAdvCustomItemSelector* GetItemSelector() const { return ItemSelector; }
    const String& GetCurSearch() const { return CurSearch; }
    TTimer* GetKeyTimer() const { return KeyTimer; }

    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void StepItem(TItemStep Step);

    void STDMETHODCALLTYPE SetComponentStyle(TPackStyle AStyle) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void BeforeDropDown() override;
    void OpenDropDown() override;
    void AdjustDropDownSize() override;
    void CloseDropDown(bool Cancel) override;
    void DropDownSizing() override;

    bool MatchCase = false;
    bool MatchStart = false;
    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedImage;

protected:
    void CreateDropDownForm() override;
    void WheelDown() override;
    void WheelUp() override;
    void Dispatch(TMessage& Message) override;
    // Completion of the typed text from the captions.
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;

private:
    void LoadSelector();
    void SelectorItemSelect(TObject* Sender);
    void DrawListItem(TObject* Sender, TCanvas* Canvas, TRect R, int Index);
    void ListItemSize(TObject* Sender, TSize& Size);
    // Moves the open list's selection without closing the popup.
    void MoveListIndex(int Index);
    void HandleDetailKeyDown(TMessage& Message);

    TAdvCustomItemSelector* ItemSelector = nullptr;
    TItemLayout Layout = ilCaptionRight;
    TOwned<TDetailItems> Items;
    int ItemIndex = -1;
    TOwned<TItemAppearance> ItemAppearance;
    bool InternalCall = false;
    TTimer* KeyTimer = nullptr;
    String CurSearch;
    int OldItemIndex = -1;
    int ItemHeight = 22;
    TOwned<TFont> CaptionFont;
    TOwned<TFont> NotesFont;
    bool WorkMode = true;
    bool ItemChange = false;
    int ItemIdx = 0;
    int ItemSel = 0;
    String OldValue;
    TVerticalAlignment ImageVAlign = taVerticalCenter;
    bool completing_ = false;
};
