// Edit links: an application's control as a cell editor, in the cell or in
// a pop-up form. The grid takes over the keys the link does not want: Tab,
// Enter, Up and Down validate first, Escape gives the cell its old text
// back, and the grid moves on as its own keys would. While an in-place
// control is shown the grid's hook sits in front of its window method, so
// that the control keeps Tab and the arrows when the grid walks by Tab.
#include "AdvGridEditing.h"
#include "AdvGrid.h"
#include "Forms.h"

namespace {

struct TForcedExit {
    bool& flag;
    explicit TForcedExit(bool& f) : flag(f) { flag = true; }
    ~TForcedExit() { flag = false; }
    TForcedExit(const TForcedExit&) = delete;
    TForcedExit& operator=(const TForcedExit&) = delete;
};

bool ValidatesFirst(Word Key)
{
    return Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN;
}

} // namespace

TEditLink::TEditLink(TComponent* AOwner) : TComponent(AOwner) {}

TEditLink::~TEditLink()
{
    RestoreWinProc();
    // The pop-up is the application's component, but only this link uses it.
    if (FPopupForm) {
        TForm* form = FPopupForm;
        FPopupForm = nullptr;
        form->RemoveFreeNotification(this);
        form->Free();
    }
    if (FOwner) {
        FOwner->RemoveFreeNotification(this);
        if (FOwner->GetEditLink() == this)
            FOwner->SetEditLink(nullptr);
    }
}

void TEditLink::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    if (AComponent == FPopupForm)
        FPopupForm = nullptr;
    if (AComponent == FOwner) {
        FOwner = nullptr;
        FSubClassed = false;
        FHooked = nullptr;
    }
    if (AComponent == FHooked) {
        FHooked = nullptr;
        FSubClassed = false;
    }
}

// --- base operations --------------------------------------------------------------------

void TEditLink::SetFocus(bool Value)
{
    TWinControl* control = GetEditControl();
    if (!control)
        return;
    if (Value) {
        if (!control->GetVisible())
            control->SetVisible(true);
        if (!control->GetEnabled())
            control->SetEnabled(true);
        if (FEditStyle == esInplace && !FSubClassed && FOwner) {
            FSavedProc = control->WindowProc;
            FHooked = control;
            control->FreeNotification(this);
            TAdvStringGrid* grid = FOwner;
            TEditLink* link = this;
            control->WindowProc = [grid, link](TMessage& Message) {
                // With goTabs the control keeps Tab and the arrows for itself.
                if (Message.Msg == WM_GETDLGCODE && grid->GetOptions().Contains(goTabs)) {
                    Message.Result |= DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTARROWS;
                    return;
                }
                link->FSavedProc(Message);
            };
            FSubClassed = true;
        }
    }
    if (Value) {
        if (control->CanFocus())
            control->SetFocus();
    } else if (FOwner && FOwner->CanFocus()) {
        FOwner->SetFocus();
    }
}

void TEditLink::SetRect(TRect R)
{
    TWinControl* control = GetEditControl();
    if (!control)
        return;
    const int line = FOwner ? FOwner->GetGridLineWidth() : 0;
    control->SetBounds(R.left, R.top, R.right - R.left - line, R.bottom - R.top - line);
}

void TEditLink::SetVisible(bool Value)
{
    if (TWinControl* control = GetEditControl())
        control->SetVisible(Value);
}

String TEditLink::GetCellValue()
{
    return FOwner ? FOwner->GetRawCell(FOwner->GetRealCol(), FOwner->GetRow()) : String();
}

void TEditLink::SetCellValue(const String& s)
{
    if (FOwner)
        FOwner->StoreEditText(FOwner->GetRealCol(), FOwner->GetRow(), s);
}

TWinControl* TEditLink::GetParent()
{
    if (FEditStyle == esPopup)
        return FPopupForm;
    return FOwner;
}

void TEditLink::HideEditor()
{
    SetCellValue(GetEditorValue());
    if (FOwner)
        FOwner->HideInplaceEdit();
    RestoreWinProc();
}

void TEditLink::EditExit(TObject* Sender)
{
    HideEditor();
    if (FEditStyle == esPopup && FPopupForm) {
        DestroyEditor();
        FPopupForm->Hide();
    }
}

void TEditLink::FormExit(TObject* Sender)
{
    if (!FOwner)
        return;
    if (TAdvInplaceEdit* edit = FOwner->GetNormalEdit())
        edit->SetText(GetEditorValue());
    if (FForcedExit)
        SetCellValue(GetEditorValue());
    else
        EditExit(Sender);
}

void TEditLink::RestoreWinProc()
{
    if (!FSubClassed || !FHooked)
        return;
    TWinControl* control = FHooked;
    control->WindowProc = FSavedProc;
    FSavedProc = nullptr;
    FSubClassed = false;
    FHooked = nullptr;
    control->RemoveFreeNotification(this);
    if (FEditStyle == esInplace && control->HandleAllocated())
        control->SetVisible(false);
}

void TEditLink::FocusGrid()
{
    if (!FOwner)
        return;
    const TForcedExit forced(FForcedExit);
    if (FOwner->CanFocus())
        FOwner->SetFocus();
}

// --- the keyboard contract --------------------------------------------------------------

void TEditLink::EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift)
{
    TAdvStringGrid* G = FOwner;
    if (!G)
        return;
    bool takeOver = false;
    switch (Key) {
    case VK_TAB: takeOver = !FWantTabs; break;
    case VK_RETURN: takeOver = !FWantKeyReturn; break;
    case VK_ESCAPE: takeOver = !FWantKeyEscape; break;
    case VK_PRIOR:
    case VK_NEXT: takeOver = !FWantKeyPriorNext; break;
    case VK_END: takeOver = !FWantKeyHomeEnd; break;
    case VK_LEFT:
    case VK_RIGHT: takeOver = !FWantKeyLeftRight; break;
    case VK_UP:
    case VK_DOWN: takeOver = !FWantKeyUpDown; break;
    default: break;
    }
    if (!takeOver)
        return;
    const Word key = Key;
    const bool shift = Shift.Contains(ssShift);
    String T;
    if (ValidatesFirst(key)) {
        const String V = GetEditorValue();
        G->SetCellText(G->GetRealCol(), G->GetRow(), V);
        if (!G->ValidateCell(V)) {
            SetEditorValue(G->GetRawCell(G->GetRealCol(), G->GetRow()));
            Key = 0;
            G->FNoAutoAdvance = true;
            G->Invalidate();
            return;
        }
        SetEditorValue(G->GetRawCell(G->GetRealCol(), G->GetRow()));
        T = V;
    }
    if (key == VK_TAB && G->GetNavigation()->GetTabToNextAtEnd()) {
        FocusGrid();
        G->HideSpecialEditor(G->GetCol(), G->GetRow());
        if (G->TabKeyPressed(shift)) {
            if (!G->IsControlCell(G->GetRealCol(), G->GetRow()) && G->HandleAllocated())
                PostMessageW(G->GetHandle(), WM_KEYDOWN, VK_F2, 0);
            Key = 0;
            return;
        }
        Key = 0;
    }
    if (key == VK_ESCAPE) {
        T = G->FCellCache;
        SetEditorValue(T);
    } else if (!ValidatesFirst(key)) {
        T = GetEditorValue();
    }
    FocusGrid();
    G->HideSpecialEditor(G->GetCol(), G->GetRow());
    if (FEditStyle == esPopup) {
        EditExit(Sender);
        SetCellValue(T);
    }
    G->EditMode = false;
    G->CanSelectCell(G->GetCol(), G->GetRow());
    if (!G->FLastValidation) {
        G->FLastValidation = true;
        G->ShowSpecialEditor(G->GetCol(), G->GetRow());
        return;
    }
    if (key == VK_RETURN) {
        G->AdvanceEditCell(G->GetCol(), G->GetRow(), true, false, !shift, true, false);
        Key = 0;
        return;
    }
    if (key == VK_ESCAPE) {
        Key = 0;
        return;
    }
    if (key == VK_TAB || key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) {
        if (G->HandleAllocated())
            G->Perform(WM_KEYDOWN, key, 0);
        // The grid's own walk may have opened the next cell's editor (this
        // control again): it keeps the focus and needs no second opening.
        if (G->EditMode) {
            Key = 0;
            return;
        }
    }
    if (TWinControl* control = GetEditControl())
        control->SetEnabled(false);
    FocusGrid();
    if (G->GetOptions().Contains(goTabs) && key == VK_TAB && !G->IsControlCell(G->GetRealCol(), G->GetRow()) &&
        G->HandleAllocated())
        PostMessageW(G->GetHandle(), WM_KEYDOWN, VK_F2, 0);
}
