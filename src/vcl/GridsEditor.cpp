// In-place editing: the grid opens its editor over the current cell when the
// editor mode asks for it, loads the cell's edit text into it and writes the
// text back when the editor closes; the editor hands cell-moving keys back.
#include "Grids.h"
#include <algorithm>

// --- the grid's side --------------------------------------------------------------

bool TCustomGrid::CanEditShow()
{
    return options_.Contains(goEditing) && !options_.Contains(goRowSelect) && editorMode_ &&
           !ComponentState().Contains(csDesigning) && HandleAllocated() &&
           (options_.Contains(goAlwaysShowEditor) || IsActiveControl());
}

TInplaceEdit* TCustomGrid::CreateEditor()
{
    return New<TInplaceEdit>(this);
}

void TCustomGrid::SetEditorMode(bool Value)
{
    if (!Value) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (inplaceEdit_ && inplaceEdit_->Visible())
        inplaceEdit_->Deselect();
}

void TCustomGrid::ShowEditor()
{
    editorMode_ = true;
    UpdateEdit();
}

void TCustomGrid::HideEditor()
{
    editorMode_ = false;
    HideEdit();
}

void TCustomGrid::ShowEditorChar(wchar_t Ch)
{
    ShowEditor();
    if (inplaceEdit_ && inplaceEdit_->Visible())
        PostMessageW(inplaceEdit_->GetHandle(), WM_CHAR, Ch, 0);
}

void TCustomGrid::UpdateText()
{
    if (inplaceEdit_ && inplaceCol_ >= 0 && inplaceRow_ >= 0)
        SetEditText(inplaceCol_, inplaceRow_, inplaceEdit_->GetText());
}

void TCustomGrid::HideEdit()
{
    if (!inplaceEdit_ || !inplaceEdit_->Visible())
        return;
    // Forget the cell before writing, so that a write that closes the editor again does nothing.
    const int col = inplaceCol_;
    const int row = inplaceRow_;
    const String text = inplaceEdit_->GetText();
    inplaceCol_ = inplaceRow_ = -1;
    inplaceEdit_->Hide();
    if (col >= 0 && row >= 0)
        SetEditText(col, row, text);
}

void TCustomGrid::UpdateEdit()
{
    if (!CanEditShow())
        return;
    auto load = [this] {
        inplaceCol_ = current_.X;
        inplaceRow_ = current_.Y;
        inplaceEdit_->UpdateContents();
        inplaceEdit_->SelectAll();
    };
    if (!inplaceEdit_) {
        inplaceEdit_ = CreateEditor();
        inplaceEdit_->grid_ = this;
        inplaceEdit_->SetParent(this);
        // The text and its selection live in the window: make it before loading.
        inplaceEdit_->HandleNeeded();
        load();
    } else if (current_.X != inplaceCol_ || current_.Y != inplaceRow_) {
        HideEdit();
        load();
    }
    if (CanEditShow())
        inplaceEdit_->Move(CellRect(current_.X, current_.Y));
}

void TCustomGrid::InvalidateEditor()
{
    if (!inplaceEdit_ || !inplaceEdit_->Visible() || inplaceCol_ < 0)
        return;
    const TRect r = CellRect(inplaceCol_, inplaceRow_);
    // Scrolled out of sight: the edit is written back and reopens when the cell is used again.
    if (r.IsEmpty())
        HideEdit();
    else
        inplaceEdit_->UpdateLoc(r);
}

void TCustomGrid::BeforeDestruction()
{
    // The editor goes with the owned components, without telling its owner.
    inplaceEdit_ = nullptr;
    TCustomControl::BeforeDestruction();
}

void TCustomGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == inplaceEdit_)
        inplaceEdit_ = nullptr;
}

// --- TInplaceEdit -----------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner)
{
    grid_ = dynamic_cast<TCustomGrid*>(AOwner);
    // The cell gives the size; the grid decides what is selected.
    SetAutoSize(false);
    SetAutoSelect(false);
    SetBorderStyle(bsNone);
    SetTabStop(false);
    SetVisible(false);
}

void TInplaceEdit::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE | WS_CLIPSIBLINGS;
    Params.Style &= ~WS_TABSTOP;
}

void TInplaceEdit::BoundsChanged()
{
    RECT r{2, 2, GetWidth() - 2, GetHeight()};
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
    Perform(EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::UpdateContents()
{
    if (!grid_)
        return;
    const int col = grid_->GetCol();
    const int row = grid_->GetRow();
    SetText({});
    SetEditMask(grid_->GetEditMask(col, row));
    SetText(grid_->GetEditText(col, row));
    SetMaxLength(std::max(0, grid_->GetEditLimit()));
}

void TInplaceEdit::Move(const TRect& Loc)
{
    if (Loc.IsEmpty()) {
        Hide();
        return;
    }
    HandleNeeded();
    SetBounds(Loc.left, Loc.top, Loc.Width(), Loc.Height());
    BoundsChanged();
    SetVisible(true);
    if (grid_ && grid_->HandleAllocated() && GetFocus() == grid_->GetHandle())
        ::SetFocus(GetHandle());
}

void TInplaceEdit::UpdateLoc(const TRect& Loc)
{
    Move(Loc);
}

bool TInplaceEdit::PosEqual(const TRect& Rect)
{
    return GetBoundsRect() == Rect;
}

bool TInplaceEdit::Visible()
{
    return HandleAllocated() && IsWindowVisible(GetHandle());
}

void TInplaceEdit::Hide()
{
    if (!Visible())
        return;
    const bool hadFocus = GetFocus() == GetHandle();
    SetVisible(false);
    // Hiding a window leaves the keyboard with it: give it back to the grid.
    if (hadFocus && grid_ && grid_->HandleAllocated())
        ::SetFocus(grid_->GetHandle());
}

void TInplaceEdit::Deselect()
{
    Perform(EM_SETSEL, 0x7FFFFFFF, static_cast<LPARAM>(-1));
}

void TInplaceEdit::SetFocus()
{
    if (Visible())
        ::SetFocus(GetHandle());
}

void TInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (grid_) {
        const bool forward = grid_->GetOptions().Contains(goAlwaysShowEditor);
        const int length = static_cast<int>(Perform(WM_GETTEXTLENGTH, 0, 0));
        DWORD start = 0, end = 0;
        Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        bool toGrid = false;
        switch (Key) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT:
            toGrid = true;
            break;
        case VK_TAB:
            toGrid = grid_->GetOptions().Contains(goTabs);
            break;
        case VK_LEFT:
        case VK_HOME:
            // Past the start of the text the cursor leaves the cell (when the grid keeps editing).
            toGrid = forward && (Shift.Contains(ssCtrl) || (start == 0 && end == 0));
            break;
        case VK_RIGHT:
        case VK_END:
            toGrid = forward && (Shift.Contains(ssCtrl) || (static_cast<int>(start) == length && start == end));
            break;
        case VK_F2:
            // F2 toggles: a second F2 closes the editor and writes the text back.
            grid_->HideEditor();
            Key = 0;
            return;
        default:
            break;
        }
        if (toGrid) {
            grid_->KeyDown(Key, Shift);
            Key = 0;
            return;
        }
    }
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TInplaceEdit::KeyPress(wchar_t& Key)
{
    if (grid_) {
        switch (Key) {
        case L'\r':
            // Enter goes to the grid, which closes the editor and writes the text back.
            grid_->KeyPress(Key);
            Key = 0;
            return;
        case 27:
            // Escape throws the typing away: the cell keeps its text.
            grid_->inplaceCol_ = grid_->inplaceRow_ = -1;
            grid_->HideEditor();
            Key = 0;
            return;
        case L'\t':
            Key = 0;
            return;
        default:
            if (Key >= L' ' && !grid_->CanEditModify()) {
                Key = 0;
                return;
            }
            break;
        }
    }
    TCustomMaskEdit::KeyPress(Key);
}

void TInplaceEdit::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
        if (grid_ && grid_->GetOptions().Contains(goTabs))
            Message.Result |= DLGC_WANTTAB;
        return;
    case WM_KILLFOCUS:
        TCustomMaskEdit::Dispatch(Message);
        // The focus left for another control: the edit ends and is written back.
        if (grid_ && (!grid_->HandleAllocated() || reinterpret_cast<HWND>(Message.WParam) != grid_->GetHandle()))
            grid_->HideEdit();
        return;
    default:
        break;
    }
    TCustomMaskEdit::Dispatch(Message);
}
