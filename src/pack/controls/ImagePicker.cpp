// The image picker: its items, the list entries built from them, selection
// and plain item drawing.
#include "ImagePicker.h"
#include "GdiHandles.h"
#include "ImgList.h"
#include "SysUtils.h"
#include <algorithm>
#include "System.h"

namespace {

// One delimiter for every picker of the program.
wchar_t pickerDelimiter = L'|';

// Field 0 (image index), 1 (caption) or 2 (position) of an entry
// "image|caption|position". A caption may hold the delimiter itself, so the
// image index ends at the first delimiter, the position starts after the
// last, and the caption is everything between.
String Field(const String& Entry, int FieldIndex, wchar_t Delimiter)
{
    const std::size_t first = Entry.find(Delimiter);
    const std::size_t last = Entry.rfind(Delimiter);
    if (first == String::npos)
        return FieldIndex == 0 ? Entry : String();
    switch (FieldIndex) {
    case 0: return Entry.substr(0, first);
    case 1: return last == first ? Entry.substr(first + 1) : Entry.substr(first + 1, last - first - 1);
    case 2: return last == first ? String() : Entry.substr(last + 1);
    default: return {};
    }
}

} // namespace

// ---------------------------------------------------------------------------
void TImagePickerItem::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TImagePickerItem*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    FImageIndex = src->FImageIndex;
    FCaption = src->FCaption;
    FTag = src->FTag;
    Changed(true);
}

void TImagePickerItem::SetImageIndex(int Value)
{
    if (StoreChanged(FImageIndex, Value))
        Changed(false);
}

void TImagePickerItem::SetCaption(const String& Value)
{
    if (StoreChanged(FCaption, Value))
        Changed(false);
}

String TImagePickerItem::GetDisplayName() const
{
    return L"Item" + IntToStr(GetIndex());
}

TImagePickerItemCollection::TImagePickerItemCollection(TImagePicker* AOwner)
    : TCollection(ItemClass<TImagePickerItem>(), AOwner), FOwner(AOwner)
{
}

int TImagePickerItemCollection::IndexOf(const String& Caption) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->GetCaption() == Caption)
            return i;
    return -1;
}

void TImagePickerItemCollection::Update(TCollectionItem*)
{
    FOwner->BuildItems();
    FOwner->Invalidate();
}

// ---------------------------------------------------------------------------
TImagePicker::TImagePicker(TComponent* AOwner) : TAdvCustomCombo(AOwner)
{
    FImagePickerItems.reset(New<TImagePickerItemCollection>(this));
    SetStyle(csOwnerDrawFixed);
    SetWidth(48);
}

TImagePicker::~TImagePicker()
{
    // The items go first, so that removing them rebuilds nothing.
    FUpdateCount = 1;
    FImagePickerItems.reset();
}

wchar_t TImagePicker::GetDelimiter()
{
    return pickerDelimiter;
}

void TImagePicker::SetDelimiter(wchar_t Value)
{
    pickerDelimiter = Value;
}

int TImagePicker::GetComponentVersion() const
{
    return (1 << 24) | (1 << 16) | (2 << 8) | 1;
}

void TImagePicker::SetImages(TCustomImageList* Value)
{
    if (FImages == Value)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
    Invalidate();
}

void TImagePicker::Notification(TComponent* AComponent, TOperation Operation)
{
    TAdvCustomCombo::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
}

void TImagePicker::SetShowCaption(bool Value)
{
    FShowCaption = Value;
    Invalidate();
}

void TImagePicker::SetEditHeight(int Value)
{
    FEditHeight = Value;
    FEditHeightSet = Value > 0;
    ApplyEditHeight();
}

int TImagePicker::ListItemHeight()
{
    if (FEditHeightSet || !HandleAllocated())
        return FEditHeight;
    // A new canvas on the control's DC, with a default font.
    TWindowDC dc(GetHandle());
    TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(dc.Get());
    const int height = canvas->TextHeight(L"gh") + 4;
    canvas->SetHandle(nullptr);
    return height;
}

void TImagePicker::ApplyEditHeight()
{
    if (!HandleAllocated())
        return;
    // The selection field (-1) and the list's items (0).
    SendMessageW(GetHandle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FEditHeight);
    SendMessageW(GetHandle(), CB_SETITEMHEIGHT, 0, ListItemHeight());
}

void TImagePicker::CreateWnd()
{
    TAdvCustomCombo::CreateWnd();
    if (FEditHeight == 0)
        FEditHeight = 18;
    BuildItems();
    ApplyEditHeight();
    if (FItemIndex >= 0)
        TCustomComboBox::SetItemIndex(FItemIndex);
}

void TImagePicker::Loaded()
{
    TAdvCustomCombo::Loaded();
    BuildItems();
    TCustomComboBox::SetItemIndex(FItemIndex);
    if (FSortedEx)
        SortItems();
    ApplyEditHeight();
}

void TImagePicker::SetSorted(bool Value)
{
    FSortedEx = Value;
    if (Value && !ComponentState().Contains(csLoading))
        SortItems();
}

void TImagePicker::SortItems()
{
    TStrings* entries = TCustomComboBox::GetItems();
    TObject* selected = nullptr;
    if (const int index = TCustomComboBox::GetItemIndex(); index >= 0 && index < entries->Count())
        selected = entries->GetObject(index);
    TOwned<TStringList> sorted(New<TStringList>());
    sorted->Assign(entries);
    const wchar_t delimiter = pickerDelimiter;
    sorted->CustomSort([delimiter](TStringList* list, int a, int b) {
        return AnsiCompareStr(Field(list->Get(a), 1, delimiter), Field(list->Get(b), 1, delimiter));
    });
    entries->Assign(sorted.get());
    if (selected)
        TCustomComboBox::SetItemIndex(entries->IndexOfObject(selected));
}

void TImagePicker::EndUpdate()
{
    if (FUpdateCount == 0 || --FUpdateCount > 0)
        return;
    BuildItems();
}

void TImagePicker::BuildItems()
{
    if (ComponentState().Contains(csLoading) || FUpdateCount > 0 || !FImagePickerItems)
        return;
    TStrings* entries = TCustomComboBox::GetItems();
    const int selected = TCustomComboBox::GetItemIndex();
    // A sorted list keeps its selected item rather than its place.
    TObject* selectedItem = FSortedEx && selected >= 0 && selected < entries->Count() ? entries->GetObject(selected)
                                                                                    : nullptr;
    const int count = FImagePickerItems->Count();
    while (entries->Count() > count)
        entries->Delete(entries->Count() - 1);
    for (int i = 0; i < count; ++i) {
        TImagePickerItem* item = FImagePickerItems->Items(i);
        const String text = IntToStr(item->GetImageIndex()) + pickerDelimiter + item->GetCaption() +
                            pickerDelimiter + IntToStr(i);
        if (entries->Count() < i + 1) {
            entries->AddObject(text, item);
        } else {
            entries->Put(i, text);
            entries->PutObject(i, item);
        }
    }
    if (!FSortedEx) {
        if (selected < count)
            TCustomComboBox::SetItemIndex(selected);
        return;
    }
    // The rebuild wrote the entries in the items' order.
    TCustomComboBox::SetItemIndex(-1);
    SortItems();
    if (selectedItem)
        TCustomComboBox::SetItemIndex(entries->IndexOfObject(selectedItem));
}

String TImagePicker::EntryField(int Index, int FieldIndex) const
{
    TStrings* entries = TCustomComboBox::GetItems();
    if (Index < 0 || Index >= entries->Count())
        return {};
    return Field(entries->Get(Index), FieldIndex, pickerDelimiter);
}

int TImagePicker::GetItemIndex()
{
    return TCustomComboBox::GetItemIndex();
}

void TImagePicker::SetItemIndex(int Value)
{
    FItemIndex = Value;
    TCustomComboBox::SetItemIndex(Value);
}

TImagePickerItem* TImagePicker::Selection()
{
    int position = 0;
    if (!TryStrToInt(EntryField(GetItemIndex(), 2), position))
        return nullptr;
    if (position < 0 || position >= FImagePickerItems->Count())
        return nullptr;
    return FImagePickerItems->Items(position);
}

void TImagePicker::SelectByCaption(const String& Value)
{
    const int count = TCustomComboBox::GetItems()->Count();
    for (int i = 0; i < count; ++i)
        if (EntryField(i, 1) == Value) {
            SetItemIndex(i);
            return;
        }
}

void TImagePicker::SelectByImageIdx(int Value)
{
    const int count = TCustomComboBox::GetItems()->Count();
    for (int i = 0; i < count; ++i)
        if (EntryField(i, 0) == IntToStr(Value)) {
            SetItemIndex(i);
            return;
        }
}

void TImagePicker::SelectByTag(int Value)
{
    TStrings* entries = TCustomComboBox::GetItems();
    for (int i = 0; i < entries->Count(); ++i) {
        auto* item = dynamic_cast<TImagePickerItem*>(entries->GetObject(i));
        if (item && item->GetTag() == Value) {
            SetItemIndex(i);
            return;
        }
    }
}

void TImagePicker::DropDown()
{
    TAdvCustomCombo::DropDown();
    // The window's height is the selection field and the dropped list.
    SetWindowPos(GetHandle(), nullptr, 0, 0, GetWidth(), FEditHeight + FDropHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FDropped = true;
    TCustomComboBox::SetItemIndex(TCustomComboBox::GetItemIndex());
    Click();
}

void TImagePicker::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) != CBN_SELCHANGE)
            break;
        FDropped = false;
        // Some platforms also report a key that left the selection where it
        // was; only a new selection is a change.
        if (StoreChanged(FItemIndex, GetItemIndex()))
            Change();
        return;
    case CM_FONTCHANGED:
        // A new font makes the platform measure the selection field again.
        TAdvCustomCombo::Dispatch(Message);
        ApplyEditHeight();
        return;
    case CN_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
        const int height = static_cast<int>(measure->itemID) < 0 ? (FEditHeight > 0 ? FEditHeight : 18)
                                                                 : ListItemHeight();
        measure->itemHeight = static_cast<UINT>(std::max(height, 1));
        Message.Result = TRUE;
        return;
    }
    case WM_CHAR:
        TAdvCustomCombo::Dispatch(Message);
        LookupTyped(static_cast<wchar_t>(Message.WParam));
        return;
    case WM_KEYDOWN:
        switch (Message.WParam) {
        case VK_ESCAPE: case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME:
        case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
            FLookup.clear();
            break;
        case VK_BACK:
            if (!FLookup.empty())
                FLookup.pop_back();
            break;
        default:
            break;
        }
        break;
    case WM_LBUTTONUP:
        TAdvCustomCombo::Dispatch(Message);
        // A list closed without a choice leaves the item chosen before it.
        if (FDropped && !GetDroppedDown()) {
            TCustomComboBox::SetItemIndex(FItemIndex);
            FDropped = false;
        }
        return;
    default:
        break;
    }
    TAdvCustomCombo::Dispatch(Message);
}

void TImagePicker::LookupTyped(wchar_t Key)
{
    // Enter, Escape, Tab and Backspace arrive as characters too.
    if (Key < L' ')
        return;
    FLookup = FLookupIncr ? FLookup + Key : String(1, Key);
    const int count = TCustomComboBox::GetItems()->Count();
    auto startsWith = [this](int Index, const String& Lookup, bool LocaleUpper) {
        const String caption = EntryField(Index, 1);
        if (caption.empty() || caption.size() < Lookup.size())
            return false;
        const String start = caption.substr(0, Lookup.size());
        return LocaleUpper ? AnsiUpperCase(start) == AnsiUpperCase(Lookup) : UpperCase(start) == UpperCase(Lookup);
    };
    const int selected = GetItemIndex();
    int found = -1;
    if (selected >= 0 || FLookupIncr) {
        // From the selected item on, then round to the top.
        const int from = std::max(selected, 0);
        for (int n = 0; n < count && found < 0; ++n)
            if (startsWith((from + n) % count, FLookup, true))
                found = (from + n) % count;
    } else {
        for (int i = 0; i < count && found < 0; ++i)
            if (startsWith(i, FLookup, false))
                found = i;
    }
    if (found < 0 && FLookupIncr) {
        FLookup = String(1, Key);
        for (int i = 0; i < count && found < 0; ++i)
            if (startsWith(i, FLookup, true))
                found = i;
    }
    if (found < 0 || found == selected)
        return;
    SetItemIndex(found);
    Change();
}

void TImagePicker::DrawItem(int Index, TRect Rect, UINT State)
{
    TCanvas* canvas = GetCanvas();
    const TColor back = (State & ODS_SELECTED) ? clHighlight : GetColor();
    canvas->GetBrush()->SetColor(back);
    canvas->GetPen()->SetColor(back);
    canvas->GetFont()->SetColor((State & ODS_SELECTED) ? clHighlightText : GetFont()->GetColor());
    canvas->FillRect(Rect);
    if (Index >= 0) {
        int left = Rect.left + 2;
        int image = -1;
        if (FImages && TryStrToInt(EntryField(Index, 0), image) && image >= 0 && image < FImages->Count())
            FImages->Draw(canvas, left, Rect.top, image);
        // The closed box shows the image alone unless ShowCaption.
        if (!(State & ODS_COMBOBOXEDIT) || FShowCaption) {
            left += (FImages ? FImages->GetWidth() : 0) + 4;
            const String caption = EntryField(Index, 1);
            const int top = Rect.top + (Rect.Height() - canvas->TextHeight(caption)) / 2;
            canvas->GetBrush()->SetStyle(bsClear);
            canvas->TextRect(TRect(left, Rect.top, Rect.right, Rect.bottom), left, top, caption);
            canvas->GetBrush()->SetStyle(bsSolid);
        }
    }
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetPen()->SetColor(GetColor());
}
