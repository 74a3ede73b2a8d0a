// The detail drop-down. The popup list is an item selector with this
// editor's item size and drawing; it is reloaded from Items at every opening
// (and by a page key when the counts differ), so it may be stale while open:
// a list index that names no item is ignored. Selections the editor makes
// itself run with InternalCall set, so that they do not close the popup.
#include "AdvDetailDropDown.h"

#include "GridHTML.h"
#include "ImgList.h"
#include "ScopeExit.h"
#include "SysUtils.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// Items.

TDetailItem::TDetailItem(TCollection* Collection) : TCollectionItem(Collection), image_(New<TPicture>()) {}

void TDetailItem::SetCaption(const String& Value)
{
    if (Value == caption_)
        return;
    caption_ = Value;
    if (auto* items = dynamic_cast<TDetailItems*>(GetCollection()); items && items->OnChange)
        items->OnChange(this);
}

void TDetailItem::SetImageIndex(int Value)
{
    if (Value == imageIndex_)
        return;
    imageIndex_ = Value;
    if (auto* items = dynamic_cast<TDetailItems*>(GetCollection()); items && items->OnChange)
        items->OnChange(this);
}

void TDetailItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TDetailItem*>(Source);
    if (!source) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(source->caption_);
    SetImageIndex(source->imageIndex_);
    image_->Assign(source->image_.get());
    enabled_ = source->enabled_;
    tag_ = source->tag_;
    itemObject_ = source->itemObject_;
    notes_ = source->notes_;
}

int TDetailItems::IndexOf(const String& AValue) const
{
    for (int i = 0; i < Count(); ++i)
        if (GetItem(i)->GetCaption() == AValue)
            return i;
    return -1;
}

// ---------------------------------------------------------------------------
// Construction.

TAdvDetailDropDown::TAdvDetailDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner),
      Items(New<TDetailItems>(this)),
      ItemAppearance(New<TItemAppearance>(this)),
      CaptionFont(New<TFont>()),
      NotesFont(New<TFont>())
{
    Items->OnChange = [](TObject*) {};
    CaptionFont->Assign(GetFont());
    NotesFont->Assign(GetFont());
}

void TAdvDetailDropDown::AfterConstruction()
{
    TAdvCustomDropDown::AfterConstruction();
    KeyTimer = New<TTimer>(this);
    KeyTimer->SetEnabled(false);
    KeyTimer->SetInterval(500);
    KeyTimer->OnTimer = [this](TObject*) {
        KeyTimer->SetEnabled(false);
        CurSearch.clear();
    };
    SetAutoSize(false);
    SetEditorEnabled(true);
    SetDropDownEnabled(true);
}

void TAdvDetailDropDown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    if (!ItemSelector) {
        ItemSelector = New<TAdvCustomItemSelector>(this);
        ItemSelector->SetParent(FDropDownForm);
        ItemSelector->SetSelectorType(stImage);
        ItemSelector->SetLeft(0);
        ItemSelector->SetTop(0);
        ItemSelector->SetHeight(150);
        ItemSelector->SetDoubleBuffered(true);
        ItemSelector->OnDrawItem = [this](TObject* s, TCanvas* c, TRect r, int i) { DrawListItem(s, c, r, i); };
        ItemSelector->OnItemSize = [this](TObject* s, TSize& size) { ListItemSize(s, size); };
        ItemSelector->UpdateSelectorPanel();
        ItemSelector->OnResize = [this](TObject*) { ItemSelector->UpdateSelectorPanel(); };
    }
    ItemSelector->SetColor(FDropDownColor);
    ItemSelector->UpdateSelectorPanel();
    SetControl(ItemSelector);
}

void STDMETHODCALLTYPE TAdvDetailDropDown::SetComponentStyle(TPackStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    ApplyItemAppearanceStyle(ItemAppearance.get(), AStyle);
}

void TAdvDetailDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    TAdvCustomDropDown::SetSelectionColorStyle(Value);
    if (ItemSelector)
        ItemSelector->GetItemAppearance()->SetColorStyle(Value);
}

// ---------------------------------------------------------------------------
// Selection.

void TAdvDetailDropDown::SetItemIndex(int Value)
{
    if (Value == ItemIndex)
        return;
    if (Value >= 0 && Value < Items->Count()) {
        ItemIndex = Value;
        SetText(Items->GetItem(Value)->GetCaption());
        if (HandleAllocated())
            TAdvCustomDropDown::SelectAll();
        Invalidate();
        if (ItemSelector)
            ItemSelector->Invalidate();
        if (OnSelect)
            OnSelect(this);
    } else if (Value == -1) {
        SetText(String());
        ItemIndex = -1;
    }
}

void TAdvDetailDropDown::StepItem(TItemStep Step)
{
    const int index = SteppedItemIndex(Items->Count(), ItemIndex, Step);
    if (index >= 0)
        SetItemIndex(index);
}

void TAdvDetailDropDown::SelectFirst()
{
    StepItem(TItemStep::First);
}

void TAdvDetailDropDown::SelectLast()
{
    StepItem(TItemStep::Last);
}

void TAdvDetailDropDown::SelectNext()
{
    StepItem(TItemStep::Next);
}

void TAdvDetailDropDown::SelectPrevious()
{
    StepItem(TItemStep::Previous);
}

void TAdvDetailDropDown::SelectorItemSelect(TObject*)
{
    // The list is stale after Items changed while open, and selects indexes
    // past its items: only a real item is taken.
    const int index = ItemSelector->GetItemIndex();
    if (index < 0 || index >= Items->Count())
        return;
    SetItemIndex(index);
    SetRawText(Items->GetItem(index)->GetCaption());
    if (HandleAllocated())
        TAdvCustomDropDown::SelectAll();
    if (!InternalCall)
        CloseDropDown(false);
}

void TAdvDetailDropDown::MoveListIndex(int Index)
{
    if (!ItemSelector || Index < 0 || Index >= ItemSelector->GetItems()->Count())
        return;
    InternalCall = true;
    TScopeExit done([this] { InternalCall = false; });
    ItemSelector->SetItemIndex(Index);
}

// ---------------------------------------------------------------------------
// The popup.

void TAdvDetailDropDown::LoadSelector()
{
    if (!ItemSelector)
        return;
    ItemSelector->OnItemSelect = nullptr;
    ItemSelector->SetColumns(1);
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
        TDetailItem* source = Items->GetItem(i);
        TSelectorItem* item = list->Add();
        item->SetCaption(source->GetCaption());
        item->SetImage(source->GetImage());
        item->SetImageIndex(source->GetImageIndex());
    }
    list->EndUpdate();
    ItemSelector->UpdateSelectorPanel();
    ItemSelector->SetItemIndex(ItemIndex);
    ItemSelector->OnItemSelect = [this](TObject* Sender) { SelectorItemSelect(Sender); };
}

void TAdvDetailDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    LoadSelector();
    OldItemIndex = ItemIndex;
}

void TAdvDetailDropDown::AdjustDropDownSize()
{
    if (ItemSelector) {
        ItemSelector->SetAlign(alNone);
        if (FDropDownWidth <= 0)
            ItemSelector->SetWidth(GetWidth());
        if (FDropDownHeight <= 0)
            ItemSelector->SetHeight(100);
    }
    TAdvCustomDropDown::AdjustDropDownSize();
}

void TAdvDetailDropDown::OpenDropDown()
{
    TAdvCustomDropDown::OpenDropDown();
    if (ItemSelector && FDroppedDown && ItemSelector->CanFocus())
        ItemSelector->SetFocus();
}

void TAdvDetailDropDown::CloseDropDown(bool Cancel)
{
    TAdvCustomDropDown::CloseDropDown(Cancel);
    if (Cancel && ItemSelector && OldItemIndex != -1)
        SetItemIndex(OldItemIndex);
}

void TAdvDetailDropDown::DropDownSizing()
{
    TAdvCustomDropDown::DropDownSizing();
    if (ItemSelector)
        ItemSelector->UpdateSelectorPanel();
}

void TAdvDetailDropDown::ListItemSize(TObject*, TSize& Size)
{
    const int base = FDropDownWidth > 0 ? FDropDownWidth : (FDropDownForm ? FDropDownForm->GetWidth() : GetWidth());
    int width = base - 2 * GetSystemMetrics(SM_CXBORDER) - 4;
    if (ItemSelector && ItemSelector->GetVertScrollBar()->IsScrollBarVisible())
        width -= GetSystemMetrics(SM_CXVSCROLL);
    Size = {width, ItemHeight};
}

void TAdvDetailDropDown::DrawListItem(TObject*, TCanvas* Canvas, TRect R, int Index)
{
    if (OnDrawSelectedImage) {
        OnDrawSelectedImage(this, Canvas, R);
        return;
    }
    if (Index < 0 || Index >= Items->Count())
        return;
    TDetailItem* item = Items->GetItem(Index);
    auto verticalOffset = [&](int ImageHeight) {
        switch (ImageVAlign) {
        case taAlignTop: return 0;
        case taAlignBottom: return static_cast<int>(R.Height()) - ImageHeight;
        default: return (static_cast<int>(R.Height()) - ImageHeight) / 2;
        }
    };
    TGraphic* graphic = item->GetImage()->GetGraphic();
    if (graphic && !graphic->GetEmpty()) {
        const int x = !item->GetCaption().empty() ? R.left + 2 : R.left + (R.Width() - graphic->GetWidth()) / 2;
        if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
            bitmap->SetTransparentMode(tmAuto);
            bitmap->SetTransparent(true);
        }
        Canvas->Draw(x, R.top + verticalOffset(graphic->GetHeight()), graphic);
        R.left += graphic->GetWidth() + 4;
    } else if (FImages && item->GetImageIndex() >= 0) {
        const int x = !item->GetCaption().empty() ? R.left + 2 : R.left + (R.Width() - FImages->GetWidth()) / 2;
        FImages->Draw(Canvas, x, R.top + verticalOffset(FImages->GetHeight()), item->GetImageIndex(), true);
        R.left += FImages->GetWidth() + 4;
    }
    const int hot = ItemSelector ? ItemSelector->GetItemHot() : -1;
    auto applyFont = [&](TFont* Font) {
        Canvas->GetFont()->Assign(Font);
        if (Index == hot)
            Canvas->GetFont()->SetColor(ItemAppearance->ColorHotText);
        if (Index == ItemIndex)
            Canvas->GetFont()->SetColor(ItemAppearance->ColorSelectedText);
    };
    applyFont(CaptionFont.get());
    Canvas->GetBrush()->SetStyle(bsClear);
    R.left += 4;
    R.top += 2;
    R.right -= 4;
    String caption = item->GetCaption();
    DrawTextW(Canvas->GetHandle(), caption.c_str(), static_cast<int>(caption.size()), &R,
              DT_LEFT | DT_TOP | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (!item->GetNotes().empty()) {
        R.top += Canvas->TextHeight(L"gh");
        applyFont(NotesFont.get());
        String anchor, strip, focusAnchor, anchorHint, controlId, controlValue, controlType;
        int xSize = 0, ySize = 0, hyperLinks = 0, mouseLink = 0;
        TRect hoverRect, controlRect;
        GridHTMLDraw(Canvas, item->GetNotes(), R, FImages, -1, -1, -1, -1, 1, false, false, false, false, true, false,
                     true, false, String(), 1.0, clBlue, clNone, clNone, clGray, anchor, strip, focusAnchor,
                     anchorHint, xSize, ySize, hyperLinks, mouseLink, hoverRect, controlRect, controlId,
                     controlValue, controlType, nullptr, nullptr, nullptr, bdLeftToRight);
    }
    Canvas->GetBrush()->SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------
// Typing.

void TAdvDetailDropDown::Change()
{
    // Writing the completed text reports a change of its own; that one is
    // only passed on, or it would undo the completion with the caret at 0.
    if (completing_) {
        TAdvCustomDropDown::Change();
        return;
    }
    ItemChange = false;
    TAdvCustomDropDown::Change();
    if (ComponentState().Contains(csDesigning) || !WorkMode || !HandleAllocated())
        return;
    const String text = GetText();
    SetModifiedFlag(text != OldValue);
    const int caret = std::clamp(GetSelStart(), 0, static_cast<int>(text.size()));
    const String typed = text.substr(0, static_cast<size_t>(caret));
    const String key = CaseCompareKey(typed, MatchCase);
    TScopeExit done([this] { completing_ = false; });
    completing_ = true;
    if (!key.empty()) {
        for (int i = 0; i < Items->Count(); ++i) {
            const String& caption = Items->GetItem(i)->GetCaption();
            if (CaseCompareKey(caption, MatchCase).compare(0, key.size(), key) != 0)
                continue;
            ItemIndex = i;
            ItemIdx = i;
            ItemSel = static_cast<int>(key.size());
            ItemChange = true;
            // The whole tail of the caption, however long.
            const String completed = typed + (caption.size() > key.size() ? caption.substr(key.size()) : String());
            if (completed != text)
                SetRawText(completed);
            SendMessageW(Handle(), EM_SETSEL, completed.size(), key.size());
            return;
        }
    }
    if (!typed.empty() && typed != text) {
        SetRawText(typed);
        SendMessageW(Handle(), EM_SETSEL, typed.size(), typed.size());
    }
}

void TAdvDetailDropDown::KeyDown(Word& Key, TShiftState Shift)
{
    if (Items->Count() == 0) {
        TAdvCustomDropDown::KeyDown(Key, Shift);
        return;
    }
    switch (Key) {
    case VK_BACK:
    case VK_ESCAPE:
    case VK_DELETE:
        // Deleting must not complete again.
        WorkMode = false;
        break;
    case VK_RETURN:
        if (const int i = Items->IndexOf(GetText()); i >= 0) {
            SetText(Items->GetItem(i)->GetCaption());
            SetItemIndex(i);
            Change();
        }
        break;
    default:
        WorkMode = true;
        break;
    }
    TAdvCustomDropDown::KeyDown(Key, Shift);
    if (Key == VK_ESCAPE)
        if (const int i = Items->IndexOf(GetText()); i >= 0)
            SetItemIndex(i);
}

void TAdvDetailDropDown::KeyUp(Word& Key, TShiftState Shift)
{
    TAdvCustomDropDown::KeyUp(Key, Shift);
    if (!ItemChange)
        return;
    SetItemIndex(ItemIdx);
    SendMessageW(Handle(), EM_SETSEL, ItemSel, GetTextBuf().size());
    ItemChange = false;
}

void TAdvDetailDropDown::WheelDown()
{
    TAdvCustomDropDown::WheelDown();
    if (!FDroppedDown || !ItemSelector) {
        SelectNext();
        return;
    }
    MoveListIndex(std::max(ItemSelector->GetItemIndex() + 1, 0));
    Invalidate();
}

void TAdvDetailDropDown::WheelUp()
{
    TAdvCustomDropDown::WheelUp();
    if (!FDroppedDown || !ItemSelector) {
        SelectPrevious();
        return;
    }
    MoveListIndex(std::max(ItemSelector->GetItemIndex() - 1, 0));
    Invalidate();
}

namespace {

// What a key adds to the type-ahead text: letters, digits (those of the
// number pad too) and space; Shift and other keys add nothing.
wchar_t TypeAheadChar(WPARAM Key)
{
    if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9') || Key == VK_SPACE)
        return static_cast<wchar_t>(Key);
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)
        return static_cast<wchar_t>(L'0' + (Key - VK_NUMPAD0));
    return 0;
}

} // namespace

void TAdvDetailDropDown::HandleDetailKeyDown(TMessage& Message)
{
    if (!GetEnabled() || GetKeyState(VK_MENU) < 0)
        return;
    const WPARAM key = Message.WParam;
    const bool open = FDroppedDown && ItemSelector;
    auto pageStep = [&](int Direction) {
        if (!ItemSelector)
            return;
        if (ItemSelector->GetItems()->Count() != Items->Count())
            LoadSelector();
        const int n = ItemSelector->GetVisibleItemCount();
        if (n <= 0)
            return;
        const int current = ItemSelector->GetItemIndex();
        MoveListIndex(Direction < 0 ? std::max(current - n, 0) : std::min(current + n, Items->Count() - 1));
    };
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        if (open) {
            MoveListIndex(std::max(ItemSelector->GetItemIndex() + (key == VK_UP ? -1 : 1), 0));
            Invalidate();
        } else if (key == VK_UP) {
            SelectPrevious();
        } else {
            SelectNext();
        }
        return;
    case VK_LEFT:
    case VK_RIGHT:
        if (open && !FEditorEnabled) {
            InternalCall = true;
            TScopeExit done([this] { InternalCall = false; });
            if (key == VK_LEFT)
                ItemSelector->SelectPrevious();
            else
                ItemSelector->SelectNext();
        }
        return;
    case VK_HOME:
    case VK_END:
        if (open) {
            InternalCall = true;
            TScopeExit done([this] { InternalCall = false; });
            if (key == VK_HOME)
                ItemSelector->SelectFirst();
            else
                ItemSelector->SelectLast();
        } else if (!FEditorEnabled) {
            if (key == VK_HOME)
                SelectFirst();
            else
                SelectLast();
        }
        return;
    case VK_PRIOR:
        pageStep(-1);
        return;
    case VK_NEXT:
        pageStep(1);
        return;
    default:
        break;
    }
    if (GetKeyState(VK_CONTROL) < 0 || !ItemSelector)
        return;
    const wchar_t ch = TypeAheadChar(key);
    if (!ch)
        return;
    CurSearch += ch;
    {
        InternalCall = true;
        TScopeExit done([this] { InternalCall = false; });
        ItemSelector->LookupItem(CurSearch);
    }
    KeyTimer->SetEnabled(true);
}

void TAdvDetailDropDown::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_SETFOCUS) {
        TAdvCustomDropDown::Dispatch(Message);
        OldValue = GetText();
        return;
    }
    if (Message.Msg != WM_KEYDOWN) {
        TAdvCustomDropDown::Dispatch(Message);
        return;
    }
    HandleDetailKeyDown(Message);
    const WPARAM key = Message.WParam;
    if (FDroppedDown && (key == VK_PRIOR || key == VK_NEXT || key == VK_LEFT || key == VK_UP || key == VK_RIGHT ||
                         key == VK_DOWN)) {
        Message.WParam = 0;
        Message.Result = 1;
        return;
    }
    TAdvCustomDropDown::Dispatch(Message);
}
