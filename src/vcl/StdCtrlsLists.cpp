// List boxes and combo boxes, and the item lists they share.
#include "StdCtrls.h"
#include <algorithm>

namespace {

const TWinItemStrings::Messages listBoxMessages{LB_GETCOUNT,  LB_GETTEXT,   LB_GETTEXTLEN,   LB_ADDSTRING,
                                               LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                               LB_GETITEMDATA, LB_SETITEMDATA, static_cast<UINT>(LB_ERR)};
const TWinItemStrings::Messages comboBoxMessages{CB_GETCOUNT,  CB_GETLBTEXT,  CB_GETLBTEXTLEN, CB_ADDSTRING,
                                                CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                                CB_GETITEMDATA, CB_SETITEMDATA, static_cast<UINT>(CB_ERR)};

} // namespace

// ---------------------------------------------------------------------------
TWinItemStrings::~TWinItemStrings() = default;

bool TWinItemStrings::Live() const
{
    return owner_->HandleAllocated();
}

LRESULT TWinItemStrings::Send(UINT msg, WPARAM w, LPARAM l) const
{
    return SendMessageW(const_cast<TWinControl*>(owner_)->Handle(), msg, w, l);
}

void TWinItemStrings::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        Error(L"List index out of bounds (%d)", index);
}

int TWinItemStrings::Count() const
{
    if (!Live())
        return saved_ ? saved_->Count() : 0;
    return static_cast<int>(Send(msgs_.getCount, 0, 0));
}

String TWinItemStrings::Get(int index) const
{
    CheckIndex(index);
    if (!Live())
        return saved_->Get(index);
    LRESULT len = Send(msgs_.getTextLen, static_cast<WPARAM>(index), 0);
    if (len <= 0)
        return {};
    String s(static_cast<std::size_t>(len) + 1, L'\0');
    LRESULT got = Send(msgs_.getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, len)));
    return s;
}

TObject* TWinItemStrings::GetObject(int index) const
{
    CheckIndex(index);
    if (!Live())
        return saved_->GetObject(index);
    return reinterpret_cast<TObject*>(Send(msgs_.getItemData, static_cast<WPARAM>(index), 0));
}

void TWinItemStrings::PutObject(int index, TObject* obj)
{
    CheckIndex(index);
    if (!Live()) {
        saved_->PutObject(index, obj);
        return;
    }
    Send(msgs_.setItemData, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(obj));
}

int TWinItemStrings::Add(const String& s)
{
    if (!Live()) {
        if (!saved_)
            saved_.reset(New<TStringList>());
        if (sorted_) {
            int i = 0;
            while (i < saved_->Count() && AnsiCompareText(saved_->Get(i), s) <= 0)
                ++i;
            saved_->Insert(i, s);
            return i;
        }
        return saved_->Add(s);
    }
    LRESULT r = Send(msgs_.addString, 0, reinterpret_cast<LPARAM>(s.c_str()));
    if (r < 0)
        throw EOutOfResources(L"Cannot add the item");
    return static_cast<int>(r);
}

void TWinItemStrings::Insert(int index, const String& s)
{
    if (index < 0 || index > Count())
        Error(L"List index out of bounds (%d)", index);
    if (!Live()) {
        if (!saved_)
            saved_.reset(New<TStringList>());
        saved_->Insert(index, s);
        return;
    }
    if (Send(msgs_.insertString, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str())) < 0)
        throw EOutOfResources(L"Cannot insert the item");
}

void TWinItemStrings::Delete(int index)
{
    CheckIndex(index);
    if (!Live()) {
        saved_->Delete(index);
        return;
    }
    Send(msgs_.deleteString, static_cast<WPARAM>(index), 0);
}

void TWinItemStrings::Clear()
{
    if (!Live()) {
        if (saved_)
            saved_->Clear();
        return;
    }
    Send(msgs_.resetContent, 0, 0);
}

int TWinItemStrings::IndexOf(const String& s) const
{
    // The window's own search matches prefixes; compare whole items.
    for (int i = 0, n = Count(); i < n; ++i)
        if (AnsiSameText(Get(i), s))
            return i;
    return -1;
}

void TWinItemStrings::SetUpdateState(bool updating)
{
    if (Live())
        SendMessageW(owner_->Handle(), WM_SETREDRAW, !updating, 0);
    if (!updating && Live())
        InvalidateRect(owner_->Handle(), nullptr, TRUE);
}

void TWinItemStrings::SaveFromWindow()
{
    if (!Live())
        return;
    if (!saved_)
        saved_.reset(New<TStringList>());
    saved_->Clear();
    int n = static_cast<int>(Send(msgs_.getCount, 0, 0));
    for (int i = 0; i < n; ++i)
        saved_->AddObject(Get(i), GetObject(i));
}

void TWinItemStrings::RestoreToWindow()
{
    if (!saved_ || !Live())
        return;
    TOwned<TStringList> items = std::move(saved_);
    for (int i = 0; i < items->Count(); ++i) {
        LRESULT at = Send(msgs_.addString, 0, reinterpret_cast<LPARAM>(items->Get(i).c_str()));
        if (at >= 0)
            Send(msgs_.setItemData, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(items->GetObject(i)));
    }
}

// ---------------------------------------------------------------------------
TCustomListBox::TCustomListBox(TComponent* AOwner) : TWinControl(AOwner)
{
    ControlStyle = {csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    items_.reset(New<TWinItemStrings>(this, listBoxMessages));
    canvas_.reset(New<TControlCanvas>());
    canvas_->SetControl(this);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"LISTBOX");
    Params.Style |= WS_VSCROLL | WS_HSCROLL | LBS_HASSTRINGS | LBS_NOTIFY;
    if (!integralHeight_)
        Params.Style |= LBS_NOINTEGRALHEIGHT;
    if (sorted_)
        Params.Style |= LBS_SORT;
    if (multiSelect_)
        Params.Style |= LBS_EXTENDEDSEL;
    if (columns_ > 0)
        Params.Style |= LBS_MULTICOLUMN;
    if (style_ == lbOwnerDrawFixed || style_ == lbVirtualOwnerDraw)
        Params.Style |= LBS_OWNERDRAWFIXED;
    else if (style_ == lbOwnerDrawVariable)
        Params.Style |= LBS_OWNERDRAWVARIABLE;
    if (borderStyle_ == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    if (style_ != lbStandard)
        SendMessageW(handle_, LB_SETITEMHEIGHT, 0, itemHeight_);
    if (columns_ > 0)
        SendMessageW(handle_, LB_SETCOLUMNWIDTH, static_cast<WPARAM>((GetWidth() + columns_ - 3) / columns_), 0);
    items_->RestoreToWindow();
    if (itemIndex_ >= 0)
        SetItemIndex(itemIndex_);
}

void TCustomListBox::DestroyWnd()
{
    itemIndex_ = GetItemIndex();
    items_->SaveFromWindow();
    TWinControl::DestroyWnd();
}

int TCustomListBox::GetItemIndex()
{
    if (!handle_)
        return itemIndex_;
    if (multiSelect_)
        return static_cast<int>(SendMessageW(handle_, LB_GETCARETINDEX, 0, 0));
    return static_cast<int>(SendMessageW(handle_, LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int value)
{
    if (!handle_) {
        itemIndex_ = value;
        return;
    }
    if (multiSelect_) {
        SendMessageW(handle_, LB_SETSEL, FALSE, -1);
        if (value >= 0)
            SendMessageW(handle_, LB_SETSEL, TRUE, value);
        SendMessageW(handle_, LB_SETCARETINDEX, static_cast<WPARAM>(value), FALSE);
    } else {
        SendMessageW(handle_, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
    }
}

int TCustomListBox::GetItemHeight()
{
    if (handle_ && style_ == lbStandard)
        return static_cast<int>(SendMessageW(handle_, LB_GETITEMHEIGHT, 0, 0));
    return itemHeight_;
}

void TCustomListBox::SetItemHeight(int value)
{
    if (value <= 0 || itemHeight_ == value)
        return;
    itemHeight_ = value;
    if (handle_)
        RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle value)
{
    if (style_ == value)
        return;
    style_ = value;
    RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool value)
{
    if (multiSelect_ == value)
        return;
    multiSelect_ = value;
    RecreateWnd();
}

bool TCustomListBox::GetSelected(int index)
{
    LRESULT r = SendMessageW(GetHandle(), LB_GETSEL, static_cast<WPARAM>(index), 0);
    if (r < 0)
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return r != 0;
}

void TCustomListBox::SetSelected(int index, bool value)
{
    if (multiSelect_) {
        if (SendMessageW(GetHandle(), LB_SETSEL, value, index) < 0)
            throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    } else if (value) {
        SetItemIndex(index);
    } else if (GetItemIndex() == index) {
        SetItemIndex(-1);
    }
}

int TCustomListBox::SelCount()
{
    if (!multiSelect_)
        return GetItemIndex() >= 0 ? 1 : 0;
    return static_cast<int>(SendMessageW(GetHandle(), LB_GETSELCOUNT, 0, 0));
}

void TCustomListBox::SetSorted(bool value)
{
    if (sorted_ == value)
        return;
    sorted_ = value;
    items_->SetSorted(value);
    RecreateWnd();
}

int TCustomListBox::GetTopIndex()
{
    return static_cast<int>(SendMessageW(GetHandle(), LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int value)
{
    SendMessageW(GetHandle(), LB_SETTOPINDEX, static_cast<WPARAM>(value), 0);
}

void TCustomListBox::SetColumns(int value)
{
    if (columns_ == value)
        return;
    columns_ = std::max(0, value);
    RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool value)
{
    if (integralHeight_ == value)
        return;
    integralHeight_ = value;
    RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle value)
{
    if (borderStyle_ == value)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomListBox::ClearSelection()
{
    if (multiSelect_)
        SendMessageW(GetHandle(), LB_SETSEL, FALSE, -1);
    else
        SetItemIndex(-1);
}

void TCustomListBox::SelectAll()
{
    if (multiSelect_)
        SendMessageW(GetHandle(), LB_SETSEL, TRUE, -1);
}

int TCustomListBox::ItemAtPos(POINT Pos, bool Existing)
{
    int count = Count();
    for (int i = GetTopIndex(); i < count; ++i) {
        TRect r = ItemRect(i);
        if (r.top > GetClientHeight())
            break;
        if (r.Contains(Pos))
            return i;
    }
    return Existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(int Index)
{
    RECT r{};
    int count = Count();
    if (Index >= 0 && (Index < count || Index == 0)) {
        if (SendMessageW(GetHandle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r)) !=
            LB_ERR)
            return r;
    }
    // Past the last item: where the next one would go.
    if (count > 0) {
        SendMessageW(GetHandle(), LB_GETITEMRECT, static_cast<WPARAM>(count - 1), reinterpret_cast<LPARAM>(&r));
        OffsetRect(&r, 0, r.bottom - r.top);
    }
    return r;
}

void TCustomListBox::DrawItem(int Index, TRect Rect, UINT State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    canvas_->FillRect(Rect);
    if (Index >= 0 && Index < Count())
        canvas_->TextOut(Rect.left + 2, Rect.top, items_->Get(Index));
}

void TCustomListBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

void TCustomListBox::CNDrawItem(TMessage& M)
{
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(M.LParam);
    UINT state = dis->itemState;
    canvas_->SetHandle(dis->hDC);
    canvas_->SetFont(GetFont());
    canvas_->SetBrush(GetBrush());
    if (static_cast<int>(dis->itemID) >= 0 && (state & ODS_SELECTED)) {
        canvas_->GetBrush()->SetColor(clHighlight);
        canvas_->GetFont()->SetColor(clHighlightText);
    }
    if (static_cast<int>(dis->itemID) >= 0)
        DrawItem(static_cast<int>(dis->itemID), dis->rcItem, state);
    else
        canvas_->FillRect(dis->rcItem);
    if (state & ODS_FOCUS)
        DrawFocusRect(dis->hDC, &dis->rcItem);
    canvas_->SetHandle(nullptr);
    M.Result = TRUE;
}

void TCustomListBox::CNMeasureItem(TMessage& M)
{
    auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(M.LParam);
    int height = itemHeight_;
    if (style_ == lbOwnerDrawVariable)
        MeasureItem(static_cast<int>(mis->itemID), height);
    mis->itemHeight = static_cast<UINT>(std::max(height, 1));
    M.Result = TRUE;
}

void TCustomListBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        switch (HIWORD(Message.WParam)) {
        case LBN_SELCHANGE:
            Changed();
            Click();
            break;
        case LBN_DBLCLK:
            DblClick();
            break;
        default:
            break;
        }
        return;
    case CN_DRAWITEM: CNDrawItem(Message); return;
    case CN_MEASUREITEM: CNMeasureItem(Message); return;
    case WM_LBUTTONDBLCLK:
        // The window reports double clicks itself (LBN_DBLCLK).
        TWinControl::DefaultHandler(Message);
        return;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
LRESULT CALLBACK ComboEditProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* combo = dynamic_cast<TCustomComboBox*>(FindControl(::GetParent(wnd)));
    if (!combo || combo->editHandle_ != wnd)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        combo->EditWndProc(m);
    } catch (...) {
        if (Application)
            Application->HandleException(combo);
    }
    return m.Result;
}

namespace {

const wchar_t ComboListProcProperty[] = L"TavelinComboListProc";

// The dropped list is a top-level window of its own, so a close sent to
// every window of the program (a shutdown, a task manager) reaches it too;
// it would destroy itself, and the combo box would lose its items and read
// its selection as the first item. The list closes with its combo box.
LRESULT CALLBACK ComboListProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(wnd, ComboListProcProperty));
    if (msg == WM_CLOSE)
        return 0;
    if (msg == WM_NCDESTROY) {
        RemovePropW(wnd, ComboListProcProperty);
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    return previous ? CallWindowProcW(previous, wnd, msg, wParam, lParam) : DefWindowProcW(wnd, msg, wParam, lParam);
}

void KeepListOpenWithItsCombo(HWND list)
{
    if (!list || GetPropW(list, ComboListProcProperty))
        return;
    const auto previous = GetWindowLongPtrW(list, GWLP_WNDPROC);
    if (SetPropW(list, ComboListProcProperty, reinterpret_cast<HANDLE>(previous)))
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboListProc));
}

} // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TWinControl(AOwner)
{
    ControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
    items_.reset(New<TWinItemStrings>(this, comboBoxMessages));
    canvas_.reset(New<TControlCanvas>());
    canvas_->SetControl(this);
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, L"COMBOBOX");
    static const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                                   CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
    Params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL | styles[style_];
    if (sorted_)
        Params.Style |= CBS_SORT;
    // The window's height includes the dropped list.
    Params.Height = std::max(GetHeight(), 0) + GetItemHeight() * dropDownCount_ + 2;
}

void TCustomComboBox::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(handle_, CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable) {
        SendMessageW(handle_, CB_SETITEMHEIGHT, 0, itemHeight_);
        SendMessageW(handle_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight_);
    }
    COMBOBOXINFO info{sizeof(info)};
    if (GetComboBoxInfo(handle_, &info)) {
        listHandle_ = info.hwndList;
        editHandle_ = info.hwndItem != handle_ ? info.hwndItem : nullptr;
    }
    KeepListOpenWithItsCombo(listHandle_);
    if (editHandle_) {
        editDefProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(editHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboEditProc)));
    }
    items_->RestoreToWindow();
    if (itemIndex_ >= 0)
        SetItemIndex(itemIndex_);
}

void TCustomComboBox::DestroyWnd()
{
    itemIndex_ = GetItemIndex();
    items_->SaveFromWindow();
    if (editHandle_ && editDefProc_)
        SetWindowLongPtrW(editHandle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editDefProc_));
    editHandle_ = nullptr;
    listHandle_ = nullptr;
    editDefProc_ = nullptr;
    TWinControl::DestroyWnd();
}

void TCustomComboBox::EditWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETFOCUS:
        // Focus in the inner edit is focus in the combo box.
        if (TCustomForm* form = GetParentForm(this))
            if (!form->SetFocusedControl(this))
                return;
        break;
    case WM_CHAR: {
        TWMKey k(Message);
        if (DoKeyPress(k))
            return;
        break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        TWMKey k(Message);
        if (DoKeyDown(k))
            return;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        TWMKey k(Message);
        if (DoKeyUp(k))
            return;
        break;
    }
    default:
        break;
    }
    Message.Result = CallWindowProcW(editDefProc_, editHandle_, Message.Msg, Message.WParam, Message.LParam);
}

int TCustomComboBox::GetItemIndex()
{
    if (!handle_)
        return itemIndex_;
    return static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int value)
{
    if (!handle_) {
        itemIndex_ = value;
        return;
    }
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value)
{
    if (style_ == value)
        return;
    style_ = value;
    RecreateWnd();
}

int TCustomComboBox::GetItemHeight()
{
    if (handle_ && (style_ == csDropDown || style_ == csSimple || style_ == csDropDownList))
        return static_cast<int>(SendMessageW(handle_, CB_GETITEMHEIGHT, 0, 0));
    return itemHeight_;
}

void TCustomComboBox::SetItemHeight(int value)
{
    if (value <= 0 || value == itemHeight_)
        return;
    itemHeight_ = value;
    RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int value)
{
    dropDownCount_ = std::max(1, value);
    if (handle_)
        SendMessageW(handle_, CB_SETMINVISIBLE, static_cast<WPARAM>(dropDownCount_), 0);
}

bool TCustomComboBox::GetDroppedDown()
{
    return handle_ && SendMessageW(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value)
{
    SendMessageW(GetHandle(), CB_SHOWDROPDOWN, value, 0);
}

void TCustomComboBox::SetSorted(bool value)
{
    if (sorted_ == value)
        return;
    sorted_ = value;
    items_->SetSorted(value);
    RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int value)
{
    maxLength_ = std::max(0, value);
    if (handle_)
        SendMessageW(handle_, CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

int TCustomComboBox::GetSelStart()
{
    DWORD start = 0;
    SendMessageW(GetHandle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), 0);
    return static_cast<int>(start);
}

void TCustomComboBox::SetSelStart(int value)
{
    SendMessageW(GetHandle(), CB_SETEDITSEL, 0, MAKELPARAM(value, value));
}

int TCustomComboBox::GetSelLength()
{
    DWORD start = 0, end = 0;
    SendMessageW(GetHandle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomComboBox::SetSelLength(int value)
{
    int start = GetSelStart();
    SendMessageW(GetHandle(), CB_SETEDITSEL, 0, MAKELPARAM(start, start + value));
}

void TCustomComboBox::SelectAll()
{
    SendMessageW(GetHandle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void TCustomComboBox::Clear()
{
    SetText(String());
    items_->Clear();
}

void TCustomComboBox::Change()
{
    TControl::Changed();
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

void TCustomComboBox::DrawItem(int Index, TRect Rect, UINT State)
{
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    canvas_->FillRect(Rect);
    if (Index >= 0 && Index < items_->Count())
        canvas_->TextOut(Rect.left + 2, Rect.top, items_->Get(Index));
}

void TCustomComboBox::MeasureItem(int Index, int& Height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, Index, Height);
}

void TCustomComboBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        switch (HIWORD(Message.WParam)) {
        case CBN_DBLCLK: DblClick(); break;
        case CBN_EDITCHANGE: Change(); break;
        case CBN_DROPDOWN: DropDown(); break;
        case CBN_CLOSEUP: CloseUp(); break;
        case CBN_SELCHANGE:
            // The edit shows the chosen item before the handlers look at Text.
            if (editHandle_ && GetItemIndex() >= 0)
                SetWindowTextW(editHandle_, items_->Get(GetItemIndex()).c_str());
            Click();
            Select();
            break;
        default: break;
        }
        return;
    case CN_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
        canvas_->SetHandle(dis->hDC);
        canvas_->SetFont(GetFont());
        canvas_->SetBrush(GetBrush());
        if (dis->itemState & ODS_SELECTED) {
            canvas_->GetBrush()->SetColor(clHighlight);
            canvas_->GetFont()->SetColor(clHighlightText);
        }
        DrawItem(static_cast<int>(dis->itemID), dis->rcItem, dis->itemState);
        if (dis->itemState & ODS_FOCUS)
            DrawFocusRect(dis->hDC, &dis->rcItem);
        canvas_->SetHandle(nullptr);
        Message.Result = TRUE;
        return;
    }
    case CN_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
        int height = itemHeight_;
        if (style_ == csOwnerDrawVariable)
            MeasureItem(static_cast<int>(mis->itemID), height);
        mis->itemHeight = static_cast<UINT>(std::max(height, 1));
        Message.Result = TRUE;
        return;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        // The inner edit and list take the combo's colours.
        if (reinterpret_cast<HWND>(Message.LParam) == editHandle_ ||
            reinterpret_cast<HWND>(Message.LParam) == listHandle_) {
            HDC dc = reinterpret_cast<HDC>(Message.WParam);
            SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
            SetBkColor(dc, ColorToRGB(GetColor()));
            Message.Result = reinterpret_cast<LRESULT>(GetBrush()->GetHandle());
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}
