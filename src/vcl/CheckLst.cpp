// Check list box: an owner-drawn list box with a check box per item.
#include "CheckLst.h"
#include "ScopeExit.h"
#include <algorithm>

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner)
{
    SetStyle(lbOwnerDrawFixed);
    SetItemHeight(std::max(16, GetSystemMetrics(SM_CYMENUCHECK) + 2));
}

TCheckListBox::ItemState& TCheckListBox::At(int Index)
{
    if (Index < 0 || Index >= Count())
        throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
    // Items added while there was no window have their states made here.
    if (static_cast<int>(states_.size()) < Count())
        states_.resize(static_cast<std::size_t>(Count()));
    return states_[static_cast<std::size_t>(Index)];
}

TCheckBoxState TCheckListBox::GetState(int Index) const
{
    return const_cast<TCheckListBox*>(this)->At(Index).state;
}

void TCheckListBox::SetState(int Index, TCheckBoxState value)
{
    ItemState& s = At(Index);
    if (s.state == value)
        return;
    s.state = value;
    if (HandleAllocated()) {
        TRect r = ItemRect(Index);
        InvalidateRect(Handle(), &r, FALSE);
    }
}

bool TCheckListBox::GetItemEnabled(int Index) const
{
    return const_cast<TCheckListBox*>(this)->At(Index).enabled;
}

void TCheckListBox::SetItemEnabled(int Index, bool value)
{
    ItemState& s = At(Index);
    if (s.enabled == value)
        return;
    s.enabled = value;
    if (HandleAllocated()) {
        TRect r = ItemRect(Index);
        InvalidateRect(Handle(), &r, FALSE);
    }
}

void TCheckListBox::CheckAll(TCheckBoxState AState, bool AllowGrayed, bool AllowDisabled)
{
    for (int i = 0; i < Count(); ++i) {
        ItemState& s = At(i);
        if ((AllowGrayed || s.state != cbGrayed) && (AllowDisabled || s.enabled))
            SetState(i, AState);
    }
}

int TCheckListBox::CheckWidth() const
{
    return GetSystemMetrics(SM_CXMENUCHECK) + 4;
}

void TCheckListBox::CreateWnd()
{
    // The items come back one by one; their states are kept, not reset.
    restoring_ = true;
    const TScopeExit restored([this] { restoring_ = false; });
    TCustomListBox::CreateWnd();
}

void TCheckListBox::DestroyWnd()
{
    if (static_cast<int>(states_.size()) < Count())
        states_.resize(static_cast<std::size_t>(Count()));
    TCustomListBox::DestroyWnd();
}

void TCheckListBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
        TCustomListBox::Dispatch(Message);
        if (!restoring_ && Message.Result >= 0) {
            std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(Message.Result), states_.size());
            states_.insert(states_.begin() + static_cast<std::ptrdiff_t>(at), ItemState{});
        }
        return;
    case LB_DELETESTRING:
        TCustomListBox::Dispatch(Message);
        if (Message.Result != LB_ERR && Message.WParam < states_.size())
            states_.erase(states_.begin() + static_cast<std::ptrdiff_t>(Message.WParam));
        return;
    case LB_RESETCONTENT:
        TCustomListBox::Dispatch(Message);
        if (!restoring_)
            states_.clear();
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TCustomListBox::Dispatch(Message);
        POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
        int index = ItemAtPos(p, true);
        if (index >= 0 && p.x - ItemRect(index).left < CheckWidth())
            ToggleItem(index);
        return;
    }
    default:
        break;
    }
    TCustomListBox::Dispatch(Message);
}

void TCheckListBox::ToggleItem(int Index)
{
    ItemState& s = At(Index);
    if (!s.enabled)
        return;
    switch (s.state) {
    case cbUnchecked: SetState(Index, allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbGrayed: SetState(Index, cbChecked); break;
    case cbChecked: SetState(Index, cbUnchecked); break;
    }
    ClickCheck();
}

void TCheckListBox::KeyPress(wchar_t& Key)
{
    TCustomListBox::KeyPress(Key);
    if (Key == L' ' && GetItemIndex() >= 0) {
        ToggleItem(GetItemIndex());
        Key = 0;
    }
}

void TCheckListBox::ClickCheck()
{
    if (OnClickCheck)
        OnClickCheck(this);
}

void TCheckListBox::DrawItem(int Index, TRect Rect, UINT State)
{
    TCanvas* canvas = GetCanvas();
    HDC dc = canvas->GetHandle();
    const ItemState& s = At(Index);
    // The box sits on the list's own background, left of the item.
    TRect box(Rect.left, Rect.top, Rect.left + CheckWidth(), Rect.bottom);
    HBRUSH background = GetBrush()->GetHandle();
    FillRect(dc, &box, background);
    int size = GetSystemMetrics(SM_CXMENUCHECK);
    RECT check{box.left + 2, box.top + (box.Height() - size) / 2, 0, 0};
    check.right = check.left + size;
    check.bottom = check.top + size;
    UINT flags = DFCS_BUTTONCHECK;
    if (s.state == cbChecked)
        flags |= DFCS_CHECKED;
    else if (s.state == cbGrayed)
        flags = DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (!s.enabled || !GetEnabled())
        flags |= DFCS_INACTIVE;
    DrawFrameControl(dc, &check, DFC_BUTTON, flags);
    TRect text(box.right, Rect.top, Rect.right, Rect.bottom);
    if (!s.enabled)
        canvas->GetFont()->SetColor(clGrayText);
    if (OnDrawItem) {
        OnDrawItem(this, Index, text, State);
        return;
    }
    canvas->FillRect(text);
    canvas->TextOut(text.left + 2, text.top, GetItems()->Get(Index));
}
