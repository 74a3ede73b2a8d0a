// The image picker. The popup's selector is refilled from Items at every
// opening (and by a page key when the counts differ). Selections the editor
// makes itself run with InternalCall set, so that they do not close the
// popup; a pick by mouse or Enter closes it.
#include "AdvImagePickerDropDown.h"

#include "GdiHandles.h"
#include "ImgList.h"
#include "ScopeExit.h"
#include "SysUtils.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Items.

TImageItem::TImageItem(TCollection* Collection) : TCollectionItem(Collection), image_(New<TPicture>()) {}

void TImageItem::SetCaption(const String& Value)
{
    if (Value == caption_)
        return;
    caption_ = Value;
    if (auto* items = dynamic_cast<TImageItems*>(GetCollection()); items && items->OnChange)
        items->OnChange(this);
}

void TImageItem::SetImageIndex(int Value)
{
    if (Value == imageIndex_)
        return;
    imageIndex_ = Value;
    if (auto* items = dynamic_cast<TImageItems*>(GetCollection()); items && items->OnChange)
        items->OnChange(this);
}

void TImageItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TImageItem*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(source->caption_);
    SetImageIndex(source->imageIndex_);
    image_->Assign(source->image_.get());
    enabled_ = source->enabled_;
    hint_ = source->hint_;
}

// ---------------------------------------------------------------------------
// Construction.

TAdvImagePickerDropDown::TAdvImagePickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), Items(New<TImageItems>(this)), ItemAppearance(New<TItemAppearance>(this))
{
    // The popup is refilled at every opening instead.
    Items->OnChange = [](TObject*) {};
}

TAdvImagePickerDropDown::~TAdvImagePickerDropDown()
{
    if (KeyTimer)
        KeyTimer->SetEnabled(false);
}

void TAdvImagePickerDropDown::AfterConstruction()
{
    TAdvCustomDropDown::AfterConstruction();
    SetAutoSize(false);
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    KeyTimer = New<TTimer>(this);
    KeyTimer->SetEnabled(false);
    KeyTimer->SetInterval(500);
    KeyTimer->OnTimer = [this](TObject*) {
        KeyTimer->SetEnabled(false);
        SearchText.clear();
    };
    SetCursor(crArrow);
}

void TAdvImagePickerDropDown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    if (!ItemSelector) {
        ItemSelector = New<TAdvCustomItemSelector>(this);
        ItemSelector->SetParent(FDropDownForm);
        ItemSelector->SetSelectorType(stImage);
        ItemSelector->SetLeft(0);
        ItemSelector->SetTop(0);
        ItemSelector->SetHeight(150);
    }
    ItemSelector->SetColor(FDropDownColor);
    ItemSelector->UpdateSelectorPanel();
    SetControl(ItemSelector);
}

void STDMETHODCALLTYPE TAdvImagePickerDropDown::SetComponentStyle(TPackStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    ApplyItemAppearanceStyle(ItemAppearance.get(), AStyle);
}

void TAdvImagePickerDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
    if (ItemSelector)
        ItemSelector->GetItemAppearance()->SetColorStyle(Value);
}

// ---------------------------------------------------------------------------
// Selection.

void TAdvImagePickerDropDown::SetItemIndex(int Value)
{
    if (Value == ItemIndex || Value >= Items->Count())
        return;
    ItemIndex = Value < 0 ? -1 : Value;
    Invalidate();
    Change();
    if (OnSelect)
        OnSelect(this);
}

int TAdvImagePickerDropDown::GetImageIndex() const
{
    return ItemIndex < 0 ? -1 : Items->GetItem(ItemIndex)->GetImageIndex();
}

void TAdvImagePickerDropDown::SetImageIndex(int Value)
{
    for (int i = 0; i < Items->Count(); ++i)
        if (Items->GetItem(i)->GetImageIndex() == Value) {
            SetItemIndex(i);
            return;
        }
    SetItemIndex(-1);
}

void TAdvImagePickerDropDown::SelectFirst()
{
    if (Items->Count() > 0)
        SetItemIndex(0);
}

void TAdvImagePickerDropDown::SelectLast()
{
    if (Items->Count() > 0)
        SetItemIndex(Items->Count() - 1);
}

void TAdvImagePickerDropDown::SelectNext()
{
    if (Items->Count() == 0)
        return;
    if (ItemIndex < 0)
        SetItemIndex(0);
    else if (ItemIndex + 1 < Items->Count())
        SetItemIndex(ItemIndex + 1);
}

void TAdvImagePickerDropDown::SelectPrevious()
{
    if (Items->Count() == 0)
        return;
    if (ItemIndex < 0)
        SetItemIndex(0);
    else if (ItemIndex > 0)
        SetItemIndex(ItemIndex - 1);
}

void TAdvImagePickerDropDown::SelectorItemSelected(TObject*)
{
    // A stale selector may select past the items; SetItemIndex ignores that.
    SetItemIndex(ItemSelector->GetItemIndex());
    if (!InternalCall)
        CloseDropDown(false);
}

void TAdvImagePickerDropDown::InternalSelect(int Index)
{
    if (!ItemSelector || Index < 0 || Index >= ItemSelector->GetItems()->Count())
        return;
    InternalCall = true;
    TScopeExit done([this] { InternalCall = false; });
    ItemSelector->SetItemIndex(Index);
    ItemSelector->ScrollItemInView(Index);
}

// ---------------------------------------------------------------------------
// Filling.

void TAdvImagePickerDropDown::AddImagesFromImageList()
{
    if (!FImages)
        return;
    for (int i = 0; i < FImages->Count(); ++i)
        Items->Add()->SetImageIndex(i);
}

void TAdvImagePickerDropDown::AddImagesFromFolder(const String& Pattern, bool SetImageCaption)
{
    const String folder = ExtractFilePath(Pattern);
    TSearchRec found;
    if (FindFirst(Pattern, faAnyFile, found) != 0)
        return;
    TScopeExit close([&] { FindClose(found); });
    do {
        // "." and "..", and folders in general, hold no picture.
        if (found.Attr & faDirectory)
            continue;
        TImageItem* item = Items->Add();
        const String path = folder + found.Name;
        try {
            item->GetImage()->LoadFromFile(path);
            if (SetImageCaption)
                item->StoreCaption(ExtractFileName(path));
        } catch (...) {
            // The file comes from outside: what cannot be read leaves the
            // item without a picture and without a caption.
            item->GetImage()->SetGraphic(nullptr);
        }
        // A loader that swallowed the failure may leave a graphic without pixels.
        if (TGraphic* g = item->GetImage()->GetGraphic(); g && (g->GetEmpty() || g->GetWidth() <= 0)) {
            item->GetImage()->SetGraphic(nullptr);
            item->StoreCaption(String());
        }
    } while (FindNext(found) == 0);
}

// ---------------------------------------------------------------------------
// The popup.

void TAdvImagePickerDropDown::LoadSelector()
{
    if (!ItemSelector)
        return;
    ItemSelector->OnItemSelect = nullptr;
    ItemSelector->SetColumns(Columns);
    ItemSelector->SetImages(FImages);
    ItemSelector->SetItemLayout(Layout);
    ItemSelector->SetColor(FDropDownColor);
    ItemSelector->SetItemAppearance(ItemAppearance.get());
    TSelectorItems* list = ItemSelector->GetItems();
    // One layout once all items are in, not one per caption written.
    TNotifyEvent relayout = std::move(list->OnChange);
    list->OnChange = nullptr;
    TScopeExit reconnect([&] { list->OnChange = std::move(relayout); });
    list->BeginUpdate();
    list->Clear();
    for (int i = 0; i < Items->Count(); ++i) {
        TImageItem* source = Items->GetItem(i);
        TSelectorItem* item = list->Add();
        item->SetCaption(source->GetCaption());
        item->SetImage(source->GetImage());
        item->SetImageIndex(source->GetImageIndex());
        item->SetHint(source->GetHint());
    }
    list->EndUpdate();
    ItemSelector->UpdateSelectorPanel();
    ItemSelector->SetItemIndex(ItemIndex);
    ItemSelector->OnItemSelect = [this](TObject* Sender) { SelectorItemSelected(Sender); };
    ItemSelector->SetShowHint(GetShowHint());
}

void TAdvImagePickerDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    LoadSelector();
    if (ItemSelector) {
        if (OnDrawItem)
            ItemSelector->OnDrawItem = [this](TObject*, TCanvas* c, TRect r, int i) { OnDrawItem(this, c, r, i); };
        else
            ItemSelector->OnDrawItem = nullptr;
    }
    OldItemIndex = ItemIndex;
}

void TAdvImagePickerDropDown::AdjustDropDownSize()
{
    if (!ItemSelector) {
        TAdvCustomDropDown::AdjustDropDownSize();
        return;
    }
    ItemSelector->SetAlign(alNone);
    TSize size{100, 50};
    ItemSelector->GetSelectorSize(size);
    if (FDropDownWidth < 1)
        ItemSelector->SetWidth(size.cx);
    if (FDropDownHeight < 1)
        ItemSelector->SetHeight(size.cy);
    TAdvCustomDropDown::AdjustDropDownSize();
    if (ItemSelector->GetVertScrollBar()->IsScrollBarVisible() && FDropDownForm)
        FDropDownForm->SetWidth(FDropDownForm->GetWidth() + GetSystemMetrics(SM_CXVSCROLL));
}

void TAdvImagePickerDropDown::CloseDropDown(bool Cancel)
{
    TAdvCustomDropDown::CloseDropDown(Cancel);
    if (Cancel && ItemSelector)
        SetItemIndex(OldItemIndex);
}

// ---------------------------------------------------------------------------
// Wheel and keys.

void TAdvImagePickerDropDown::WheelDown()
{
    TAdvCustomDropDown::WheelDown();
    if (!GetEnabled() || GetReadOnly() || !ItemSelector)
        return;
    if (FDroppedDown) {
        ItemSelector->HotNext();
        return;
    }
    InternalCall = true;
    TScopeExit done([this] { InternalCall = false; });
    ItemSelector->SelectNext();
}

void TAdvImagePickerDropDown::WheelUp()
{
    TAdvCustomDropDown::WheelUp();
    if (!GetEnabled() || GetReadOnly() || !ItemSelector)
        return;
    if (FDroppedDown) {
        ItemSelector->HotPrevious();
        return;
    }
    InternalCall = true;
    TScopeExit done([this] { InternalCall = false; });
    ItemSelector->SelectPrevious();
}

namespace {

// What a key adds to the type-ahead text: keys that type a character
// (letters, digits of both rows, space); Shift, function and other keys add
// nothing.
wchar_t TypeAheadChar(WPARAM Key)
{
    if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9') || Key == VK_SPACE)
        return static_cast<wchar_t>(Key);
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)
        return static_cast<wchar_t>(L'0' + (Key - VK_NUMPAD0));
    return 0;
}

} // namespace

void TAdvImagePickerDropDown::HandleImageKeyDown(TMessage& Message, bool HandledBefore)
{
    if (!GetEnabled() || GetKeyState(VK_MENU) < 0)
        return;
    const WPARAM key = Message.WParam;
    const bool open = FDroppedDown && ItemSelector;
    auto flagged = [this](auto&& Step) {
        InternalCall = true;
        TScopeExit done([this] { InternalCall = false; });
        Step();
    };
    switch (key) {
    case VK_RETURN:
        if (!HandledBefore && OnSelect)
            OnSelect(this);
        return;
    case VK_PRIOR:
    case VK_NEXT: {
        if (!ItemSelector)
            return;
        if (ItemSelector->GetItems()->Count() != Items->Count())
            LoadSelector();
        const int n = ItemSelector->GetVisibleItemCount();
        if (n < 1)
            return;
        const int current = ItemSelector->GetItemIndex();
        InternalSelect(key == VK_PRIOR ? std::max(current - n, 0) : std::min(current + n, Items->Count() - 1));
        return;
    }
    case VK_END:
    case VK_HOME:
        if (open)
            flagged([&] {
                if (key == VK_END)
                    ItemSelector->SelectLast();
                else
                    ItemSelector->SelectFirst();
            });
        else if (key == VK_END)
            SelectLast();
        else
            SelectFirst();
        return;
    case VK_LEFT:
    case VK_RIGHT:
        if (!FEditorEnabled && open)
            flagged([&] {
                if (key == VK_LEFT)
                    ItemSelector->SelectPrevious();
                else
                    ItemSelector->SelectNext();
            });
        return;
    case VK_UP:
    case VK_DOWN:
        if (open) {
            const int current = ItemSelector->GetItemIndex();
            const int v = current < 0 ? 0 : current + (key == VK_UP ? -Columns : Columns);
            InternalSelect(v);
        } else if (key == VK_UP) {
            SelectPrevious();
        } else {
            SelectNext();
        }
        return;
    default:
        break;
    }
    if (GetKeyState(VK_CONTROL) < 0 || !ItemSelector)
        return;
    const wchar_t ch = TypeAheadChar(key);
    if (!ch)
        return;
    SearchText += ch;
    flagged([&] { ItemSelector->LookupItem(SearchText); });
    if (!KeyTimer->GetEnabled())
        KeyTimer->SetEnabled(true);
}

void TAdvImagePickerDropDown::Dispatch(TMessage& Message)
{
    if (Message.Msg != WM_KEYDOWN) {
        TAdvCustomDropDown::Dispatch(Message);
        return;
    }
    bool handled = false;
    if (GetEnabled() && FDroppedDown && Message.WParam == VK_RETURN && ItemSelector &&
        ItemSelector->GetItemHot() >= 0) {
        ItemSelector->SetItemIndex(ItemSelector->GetItemHot());
        handled = true;
    }
    TAdvCustomDropDown::Dispatch(Message);
    HandleImageKeyDown(Message, handled);
}

// ---------------------------------------------------------------------------
// The chosen image in the edit.

void TAdvImagePickerDropDown::PaintEditArea()
{
    TAdvCustomDropDown::PaintEditArea();
    DrawSelectedImage();
}

void TAdvImagePickerDropDown::DrawSelectedImage()
{
    if (!HandleAllocated())
        return;
    // The edit rectangle is in client coordinates, so the client DC centres
    // the image in it whatever the border.
    TWindowDC dc(Handle());
    TOwned<TCanvas> canvas(New<TCanvas>());
    canvas->SetHandle(dc.Get());
    TScopeExit unlend([&] { canvas->SetHandle(nullptr); });
    const TRect r = GetEditRect();
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, canvas.get(), r);
        return;
    }
    if (ItemIndex < 0 || ItemIndex >= Items->Count())
        return;
    TImageItem* item = Items->GetItem(ItemIndex);
    TGraphic* graphic = item->GetImage()->GetGraphic();
    if (graphic && !graphic->GetEmpty()) {
        canvas->Draw(r.left + (r.Width() - graphic->GetWidth()) / 2, r.top + (r.Height() - graphic->GetHeight()) / 2,
                     graphic);
    } else if (FImages && item->GetImageIndex() >= 0) {
        FImages->Draw(canvas.get(), r.left + (r.Width() - FImages->GetWidth()) / 2,
                      r.top + (r.Height() - FImages->GetHeight()) / 2, item->GetImageIndex(), true);
    }
}
