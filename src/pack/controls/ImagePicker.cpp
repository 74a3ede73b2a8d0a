// The image picker: its items, the list entries built from them, selection
// and plain item drawing.
#include "ImagePicker.h"
#include "ImgList.h"
#include "System.h"

namespace {

// One delimiter for every picker of the program.
wchar_t pickerDelimiter = L'|';

// Field Field of an entry "image|caption|position"; empty when missing.
String Field(const String& Entry, int FieldIndex, wchar_t Delimiter)
{
    std::size_t from = 0;
    for (int i = 0; i < FieldIndex; ++i) {
        from = Entry.find(Delimiter, from);
        if (from == String::npos)
            return {};
        ++from;
    }
    const std::size_t end = Entry.find(Delimiter, from);
    return Entry.substr(from, end == String::npos ? String::npos : end - from);
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
    FImagePickerItems = New<TImagePickerItemCollection>(this);
    SetStyle(csOwnerDrawFixed);
    SetWidth(48);
}

TImagePicker::~TImagePicker()
{
    // The items go first, so that removing them rebuilds nothing.
    FUpdateCount = 1;
    FImagePickerItems->Free();
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
    ApplyEditHeight();
}

void TImagePicker::ApplyEditHeight()
{
    if (!HandleAllocated())
        return;
    // The selection field (-1) and the list's items (0).
    SendMessageW(GetHandle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FEditHeight);
    SendMessageW(GetHandle(), CB_SETITEMHEIGHT, 0, FEditHeight);
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
    ApplyEditHeight();
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
    if (selected < count)
        TCustomComboBox::SetItemIndex(selected);
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
    default:
        break;
    }
    TAdvCustomCombo::Dispatch(Message);
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
