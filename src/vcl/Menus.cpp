// Menu items, menu bars and pop-up menus over real menu handles.
#include "Menus.h"
#include "Forms.h"
#include <algorithm>
#include <map>

namespace {

// Command ids are unique across all menus, so that a WM_COMMAND from any
// menu finds its item.
std::map<UINT, TMenuItem*> commands;
UINT nextCommand = 100;

UINT NewCommand(TMenuItem* item)
{
    while (commands.count(nextCommand) || nextCommand == 0) {
        if (++nextCommand > 0xFFFF)
            nextCommand = 100;
    }
    commands[nextCommand] = item;
    return nextCommand++;
}

} // namespace

TShortCut ShortCut(Word Key, TShiftState Shift)
{
    if (Key & 0xFF00)
        return scNone;
    TShortCut s = Key;
    if (Shift.Contains(ssShift))
        s |= scShift;
    if (Shift.Contains(ssCtrl))
        s |= scCtrl;
    if (Shift.Contains(ssAlt))
        s |= scAlt;
    return s;
}

// ---------------------------------------------------------------------------
TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner)
{
    command_ = NewCommand(this);
}

TMenuItem::~TMenuItem()
{
    FreeHandle();
    commands.erase(command_);
}

void TMenuItem::BeforeDestruction()
{
    TComponent::BeforeDestruction();
    // Children nobody else owns go with the item.
    while (!items_.empty()) {
        TMenuItem* child = items_.back();
        items_.pop_back();
        child->parent_ = nullptr;
        if (!child->GetOwner() || child->GetOwner() == this)
            child->Free();
    }
    if (parent_)
        parent_->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(L"Menu index out of range");
    return items_[static_cast<std::size_t>(index)];
}

void TMenuItem::Add(TMenuItem* Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (Item->parent_)
        throw EInvalidOperation(L"Menu inserted twice");
    Index = std::clamp(Index, 0, Count());
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    Changed();
}

void TMenuItem::Delete(int Index)
{
    TMenuItem* item = Items(Index);
    items_.erase(items_.begin() + Index);
    item->parent_ = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    int i = IndexOf(Item);
    if (i < 0)
        throw EListError(L"Menu item not found");
    Delete(i);
}

void TMenuItem::Clear()
{
    while (!items_.empty()) {
        TMenuItem* item = items_.back();
        items_.pop_back();
        item->parent_ = nullptr;
        item->Free();
    }
    Changed();
}

int TMenuItem::IndexOf(TMenuItem* Item) const
{
    auto it = std::find(items_.begin(), items_.end(), Item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    return root->menu_;
}

TMenuItem* TMenuItem::Find(const String& ACaption) const
{
    // Captions compare without their accelerator marks.
    auto strip = [](String s) {
        s.erase(std::remove(s.begin(), s.end(), L'&'), s.end());
        return s;
    };
    for (TMenuItem* item : items_)
        if (AnsiSameText(strip(item->caption_), strip(ACaption)))
            return item;
    return nullptr;
}

void TMenuItem::SetCaption(const String& value)
{
    if (caption_ == value)
        return;
    caption_ = value;
    Changed();
}

void TMenuItem::SetChecked(bool value)
{
    if (checked_ == value)
        return;
    checked_ = value;
    // Checking a radio item unchecks the others of its group.
    if (value && radioItem_ && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
                sibling->checked_ = false;
    Changed();
}

void TMenuItem::SetEnabled(bool value)
{
    if (enabled_ == value)
        return;
    enabled_ = value;
    Changed();
}

void TMenuItem::SetVisible(bool value)
{
    if (visible_ == value)
        return;
    visible_ = value;
    Changed();
}

void TMenuItem::SetRadioItem(bool value)
{
    radioItem_ = value;
    Changed();
}

void TMenuItem::SetDefault(bool value)
{
    default_ = value;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut value)
{
    shortCut_ = value;
    Changed();
}

void TMenuItem::SetImageIndex(int value)
{
    imageIndex_ = value;
    Changed();
}

void TMenuItem::Changed()
{
    if (TMenu* menu = GetParentMenu())
        menu->MenuChanged();
}

void TMenuItem::FreeHandle()
{
    if (handle_) {
        DestroyMenu(handle_);
        handle_ = nullptr;
    }
}

HMENU TMenuItem::GetHandle()
{
    if (!handle_ && !items_.empty()) {
        handle_ = CreatePopupMenu();
        TMenu* menu = GetParentMenu();
        for (TMenuItem* item : items_)
            item->AppendTo(handle_, menu && menu->ownerDraw_);
    }
    return handle_;
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw)
{
    if (!visible_)
        return;
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
    mii.wID = command_;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    mii.fType = IsLine() ? MFT_SEPARATOR : (ownerDraw ? MFT_OWNERDRAW : MFT_STRING);
    if (radioItem_)
        mii.fType |= MFT_RADIOCHECK;
    mii.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_DISABLED) | (default_ ? MFS_DEFAULT : 0);
    if (!IsLine() && !ownerDraw) {
        mii.fMask |= MIIM_STRING;
        mii.dwTypeData = const_cast<wchar_t*>(caption_.c_str());
    }
    // The submenu handle belongs to the menu it is inserted into, which
    // destroys it; this item only remembers it.
    FreeHandle();
    if (HMENU sub = GetHandle()) {
        mii.fMask |= MIIM_SUBMENU;
        mii.hSubMenu = sub;
        handle_ = nullptr;
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mii);
}

void TMenuItem::Click()
{
    if (!enabled_)
        return;
    if (autoCheck_)
        SetChecked(!checked_);
    if (OnClick)
        OnClick(this);
}

void TMenuItem::DrawItem(DRAWITEMSTRUCT* dis)
{
    TCanvas canvas;
    canvas.SetHandle(dis->hDC);
    if (Screen)
        canvas.GetFont()->Assign(Screen->GetMenuFont());
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    if (OnDrawItem) {
        OnDrawItem(this, &canvas, dis->rcItem, selected);
    } else {
        canvas.GetBrush()->SetColor(selected ? clHighlight : clMenu);
        canvas.FillRect(dis->rcItem);
        canvas.GetFont()->SetColor(selected ? clHighlightText : (enabled_ ? clMenuText : clGrayText));
        canvas.GetBrush()->SetStyle(bsClear);
        canvas.TextOut(dis->rcItem.left + 20, dis->rcItem.top + 2, caption_);
    }
    canvas.SetHandle(nullptr);
}

void TMenuItem::MeasureItem(MEASUREITEMSTRUCT* mis)
{
    TCanvas canvas;
    TWindowDC dc;
    canvas.SetHandle(dc.Get());
    if (Screen)
        canvas.GetFont()->Assign(Screen->GetMenuFont());
    int w = canvas.TextWidth(caption_) + 40;
    int h = IsLine() ? 8 : canvas.TextHeight(L"Wg") + 4;
    if (OnMeasureItem)
        OnMeasureItem(this, &canvas, w, h);
    mis->itemWidth = static_cast<UINT>(std::max(w, 0));
    mis->itemHeight = static_cast<UINT>(std::max(h, 0));
    canvas.SetHandle(nullptr);
}

TMenuItem* NewItem(TComponent* Owner, const String& ACaption, TShortCut AShortCut, bool AChecked,
                   bool AEnabled, TNotifyEvent AOnClick)
{
    auto* item = New<TMenuItem>(Owner);
    item->SetCaption(ACaption);
    item->SetShortCut(AShortCut);
    item->SetChecked(AChecked);
    item->SetEnabled(AEnabled);
    item->OnClick = std::move(AOnClick);
    return item;
}

TMenuItem* NewLine(TComponent* Owner)
{
    return NewItem(Owner, L"-", scNone, false, true, nullptr);
}

// ---------------------------------------------------------------------------
TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner)
{
    items_ = New<TMenuItem>(nullptr);
    items_->menu_ = this;
}

TMenu::~TMenu()
{
    if (handle_)
        DestroyMenu(handle_);
}

void TMenu::BeforeDestruction()
{
    TComponent::BeforeDestruction();
    items_->menu_ = nullptr;
    items_->Free();
    items_ = nullptr;
}

HMENU TMenu::GetHandle()
{
    if (!handle_)
        RebuildHandle();
    return handle_;
}

HMENU TMenu::RebuildHandle()
{
    HMENU old = handle_;
    handle_ = CreateMenuHandle();
    if (items_)
        for (TMenuItem* item : items_->items_)
            item->AppendTo(handle_, ownerDraw_);
    return old;
}

void TMenu::SetOwnerDraw(bool value)
{
    if (ownerDraw_ == value)
        return;
    ownerDraw_ = value;
    MenuChanged();
}

void TMenu::MenuChanged()
{
    if (handle_ && !ComponentState().Contains(csDestroying))
        if (HMENU old = RebuildHandle())
            DestroyMenu(old);
}

TMenuItem* TMenu::FindItem(UINT id) const
{
    TMenuItem* item = FindItemForCommand(id);
    return item && item->GetParentMenu() == this ? item : nullptr;
}

TMenuItem* TMenu::FindItemForCommand(UINT id)
{
    auto it = commands.find(id);
    return it == commands.end() ? nullptr : it->second;
}

bool TMenu::DispatchCommand(UINT id)
{
    TMenuItem* item = FindItem(id);
    if (!item)
        return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(Word Key, TShiftState Shift)
{
    TShortCut sc = ShortCut(Key, Shift);
    if (sc == scNone || !items_)
        return false;
    std::vector<TMenuItem*> stack{items_};
    while (!stack.empty()) {
        TMenuItem* item = stack.back();
        stack.pop_back();
        if (item != items_ && item->shortCut_ == sc && item->enabled_ && item->visible_) {
            item->Click();
            return true;
        }
        for (TMenuItem* child : item->items_)
            stack.push_back(child);
    }
    return false;
}

void TMainMenu::MenuChanged()
{
    if (!handle_ || ComponentState().Contains(csDestroying))
        return;
    HMENU old = RebuildHandle();
    // The form shows the new bar before the old one goes.
    if (auto* form = dynamic_cast<TCustomForm*>(GetOwner()))
        if (form->GetMenu() == this && form->HandleAllocated())
            form->SetMenu(this);
    if (old)
        DestroyMenu(old);
}

// ---------------------------------------------------------------------------
TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::DoPopup()
{
    if (OnPopup)
        OnPopup(this);
}

void TPopupMenu::Popup(int X, int Y)
{
    DoPopup();
    if (HMENU old = RebuildHandle())
        DestroyMenu(old);
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
    switch (alignment_) {
    case paLeft: flags |= TPM_LEFTALIGN; break;
    case paRight: flags |= TPM_RIGHTALIGN; break;
    case paCenter: flags |= TPM_CENTERALIGN; break;
    }
    HWND owner = Application ? Application->GetHandle() : nullptr;
    if (Application)
        Application->CancelHint();
    UINT id = static_cast<UINT>(TrackPopupMenuEx(handle_, flags, X, Y, owner, nullptr));
    if (owner)
        PostMessageW(owner, WM_NULL, 0, 0);
    if (OnClose)
        OnClose(this);
    if (id)
        DispatchCommand(id);
}

bool TPopupMenu::DispatchPopupCommand(UINT id)
{
    TMenuItem* item = FindItemForCommand(id);
    if (!item || !dynamic_cast<TPopupMenu*>(item->GetParentMenu()))
        return false;
    item->Click();
    return true;
}
