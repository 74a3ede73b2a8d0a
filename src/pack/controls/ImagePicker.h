// The image picker: an owner-drawn drop-down list whose items show an
// image of an image list and an optional caption.
//
// Items are chosen by the mouse, the arrows, by typing the start of a
// caption, or by program through caption, image index or tag.
#pragma once

#include "AdvCombo.h"

class TCustomImageList;
class TImagePicker;

class TImagePickerItem : public TCollectionItem {
public:
    explicit TImagePickerItem(TCollection* Collection) : TCollectionItem(Collection) {}
    // Copies ImageIndex, Caption and Tag; the picker's list follows.
    void Assign(TPersistent* Source) override;

    // A change rebuilds the picker's list (the entries hold these values),
    // unless it is loading or updating.
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    String GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    String GetDisplayName() const override;

private:
    int FImageIndex = -1;
    String FCaption;
    int FTag = 0;
};

class TImagePickerItemCollection : public TCollection {
public:
    explicit TImagePickerItemCollection(TImagePicker* AOwner);
    TImagePickerItem* Add() { return static_cast<TImagePickerItem*>(TCollection::Add()); }
    TImagePickerItem* Insert(int Index) { return static_cast<TImagePickerItem*>(TCollection::Insert(Index)); }
    TImagePickerItem* Items(int Index) const { return static_cast<TImagePickerItem*>(GetItem(Index)); }
    // The first item whose caption equals Caption exactly, or -1.
    int IndexOf(const String& Caption) const;
    TImagePicker* Picker() const { return FOwner; }

protected:
    // Items added, removed or changed rebuild the picker's list.
    void Update(TCollectionItem* Item) override;

private:
    TImagePicker* FOwner;
};

class TImagePicker : public TAdvCustomCombo {
public:
    explicit TImagePicker(TComponent* AOwner);
    ~TImagePicker() override;

    TImagePickerItemCollection* GetItems() const { return FImagePickerItems.get(); }
    void SetItems(TImagePickerItemCollection* Value) { FImagePickerItems->Assign(Value); }
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    // Height of the dropped list.
    int GetDropHeight() const { return FDropHeight; }
    void SetDropHeight(int Value) { FDropHeight = Value; }
    // Height of the selection field and of the list's items (0 becomes 18
    // when the window is made). Until it is set, list items are as high as
    // the default font's text plus 4.
    int GetEditHeight() const { return FEditHeight; }
    void SetEditHeight(int Value);
    // Typing adds to the text looked up (else each key starts it anew).
    bool GetLookupIncr() const { return FLookupIncr; }
    void SetLookupIncr(bool Value) { FLookupIncr = Value; }
    // The list entries in caption order (the platform's locale order,
    // letter case counting); the items keep their order.
    bool GetSorted() const { return FSortedEx; }
    void SetSorted(bool Value);
    // The caption also in the closed box (else only the image).
    bool GetShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);

    // Setting the index selects without firing OnChange; only a selection
    // made in the list does.
    int GetItemIndex();
    void SetItemIndex(int Value);
    // The selected item, or null.
    TImagePickerItem* Selection();

    // Nothing changes when no item matches.
    void SelectByCaption(const String& Value);
    void SelectByImageIdx(int Value);
    void SelectByTag(int Value);

    // Counted; the outermost EndUpdate rebuilds the list and keeps the selection.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    int GetComponentVersion() const override;

    // Separates the fields of the list entries, for every picker at once.
    static wchar_t GetDelimiter();
    static void SetDelimiter(wchar_t Value);

protected:
    friend class TImagePickerItemCollection;

    void CreateWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void DrawItem(int Index, TRect Rect, UINT State) override;
    void DropDown() override;

    // Rebuilds the list entries from the items (not while loading or updating).
    void BuildItems();
    // Orders the entries by caption, keeping the selected item selected.
    void SortItems();
    // Selects the first caption starting with the text typed so far.
    void LookupTyped(wchar_t Key);
    // Height of a list item: EditHeight once set, else measured.
    int ListItemHeight();
    // Field 0 (image index), 1 (caption) or 2 (position) of list entry Index.
    String EntryField(int Index, int Field) const;

    TCustomImageList* FImages = nullptr;
    int FDropHeight = 200;
    int FEditHeight = 0;
    TOwned<TImagePickerItemCollection> FImagePickerItems;
    int FItemIndex = -1;
    int FUpdateCount = 0;
    String FLookup;
    bool FLookupIncr = false;
    bool FSortedEx = false;
    bool FDropped = false;
    bool FShowCaption = false;
    // EditHeight was set, so it rules the list's items too.
    bool FEditHeightSet = false;

private:
    void ApplyEditHeight();
};
