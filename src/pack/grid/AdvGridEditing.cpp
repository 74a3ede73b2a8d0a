// The in-place editing life cycle: whether an edit may start, which editor
// kind the cell gets, the special editors' common showing and hiding, the
// edit link in the cell or in a pop-up form, the combo editor's item list,
// and the end of an edit.
//
// Text kinds go through the class library's editor machinery (ShowEditor,
// HideEditor); every other kind is shown and hidden here. An editor control
// adds its own kind's steps in its own unit; a kind whose control is not
// built shows nothing and ends as the others do.
#include "AdvGrid.h"
#include "AdvGridEditing.h"
#include "AsgCombo.h"
#include "Forms.h"
#include <algorithm>

namespace {

bool IsTextKind(TEditorType e)
{
    switch (e) {
    case edNormal:
    case edNumeric:
    case edPositiveNumeric:
    case edFloat:
    case edCapital:
    case edMixedCase:
    case edPassword:
    case edLowerCase:
    case edUpperCase:
    case edValidChars:
    case edPositiveFloat:
        return true;
    default:
        return false;
    }
}

} // namespace

TAdvInplaceEdit* TAdvStringGrid::GetNormalEdit() const
{
    return dynamic_cast<TAdvInplaceEdit*>(InplaceEditor());
}

TInplaceEdit* TAdvStringGrid::CreateEditor()
{
    return New<TAdvInplaceEdit>(this);
}

String TAdvStringGrid::GetEditMask(int ACol, int ARow)
{
    String value = FEditMask;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, value);
    return value;
}

bool TAdvStringGrid::IsPasswordCell(int ACol, int ARow)
{
    bool isPassword = false;
    DoIsPasswordCell(ACol, ARow, isPassword);
    return isPassword;
}

bool TAdvStringGrid::EditorWantsTab()
{
    return GetOptions().Contains(goTabs) || bool(OnCellValidate) || bool(OnCellValidateWide);
}

void TAdvStringGrid::SetEditLink(TEditLink* Value)
{
    if (FEditLink == Value)
        return;
    if (FEditLink)
        FEditLink->RemoveFreeNotification(this);
    FEditLink = Value;
    if (FEditLink)
        FEditLink->FreeNotification(this);
}

// --- starting an edit ----------------------------------------------------------------

bool TAdvStringGrid::CanEditShow()
{
    if (FValidating)
        return false;
    bool result = TBaseGrid::CanEditShow();
    if (DesignTime())
        return result;
    // The class library asks for the focus on the grid or its text editor; an
    // edit link's control (in the grid or in its pop-up) counts as well, so
    // that a refused validation can reopen the link where it was.
    if (!result && HandleAllocated() && GetEditorMode() && GetOptions().Contains(goEditing) &&
        !GetOptions().Contains(goRowSelect)) {
        const HWND focus = ::GetFocus();
        TForm* popup = FEditLink ? FEditLink->FPopupForm : nullptr;
        result = focus && (IsChild(GetHandle(), focus) ||
                           (popup && popup->HandleAllocated() && (focus == popup->GetHandle() ||
                                                                  IsChild(popup->GetHandle(), focus))));
    }
    const TPoint base = BaseCell(GetRealCol(), GetRow());
    if (result && !EditMode) {
        if (IsControlCell(base.x, base.y))
            return false;
        FNoEditChange = true;
        FCellCache = GetRawCell(GetRealCol(), GetRow());
        EditControl = FDefaultEditor;
        DoGetEditorType(base.x, base.y, EditControl);
        if (EditControl == edNone) {
            FNoEditChange = false;
            return false;
        }
        EditMode = true;
        if (!IsTextKind(EditControl)) {
            FNoEditChange = false;
            if (!FEditing) {
                SaveOldCellValue(GetCol(), GetRow());
                FEditing = true;
            }
            ShowSpecialEditor(DisplColIndex(base.x), base.y);
            FEntered = true;
            if (FFocusHelper->GetEnabled())
                MoveFocusWindow();
            return false;
        }
    }
    // A special editor is open: the grid taking the focus back must not
    // lay the text editor over it.
    if (result && EditMode && !IsTextKind(EditControl))
        return false;
    if (result) {
        FEntered = true;
        // The old value is what validation compares with: capture it once per edit.
        if (!FEditing)
            SaveOldCellValue(GetCol(), GetRow());
        FEditing = true;
        if (FFocusHelper->GetEnabled())
            MoveFocusWindow();
    }
    return result;
}

void TAdvStringGrid::ShowCellEdit()
{
    if (!GetOptions().Contains(goEditing) && FMouseActions->GetRangeSelectAndEdit())
        SetOptions(GetOptions() + goEditing);
    if (HandleAllocated())
        SendMessageW(GetHandle(), WM_KEYDOWN, VK_F2, 0);
}

void TAdvStringGrid::HideCellEdit()
{
    HideSpecialEditor(GetCol(), GetRow());
}

// --- special editors ---------------------------------------------------------------

void TAdvStringGrid::ShowSpecialEditor(int ACol, int ARow)
{
    FEditing = true;
    FSpecialEditor = true;
    FEditActive = true;
    TRect R = CellRect(ACol, ARow);
    if (UseRightToLeftAlignment())
        R.left += 1;
    // The editor controls take the cell less its line.
    [[maybe_unused]] const int W = R.right - R.left - 1;
    [[maybe_unused]] const int H = R.bottom - R.top - 1;
    const int RC = RealColIndex(ACol);

    // The editor takes the cell's colour and font as painting computes them.
    TGridDrawState state;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, state, false, false, true, GetCanvas()->GetBrush(), colorTo, mirror, mirrorTo,
                        GetCanvas()->GetFont(), ha, va, ww, gd);
    const TColor editorColor = GetCanvas()->GetBrush()->GetColor();
    TFont* editorFont = GetCanvas()->GetFont();

    FGridState = gsNormal;
    EditCtrl = nullptr;
    if (EditControl != edCustom)
        FLastValidation = true;

    if (EditControl == edCustom && FEditLink) {
        TEditLink* link = FEditLink;
        if (link->FOwner != this) {
            if (link->FOwner)
                link->FOwner->RemoveFreeNotification(link);
            link->FOwner = this;
            FreeNotification(link);
        }
        link->FEditCell = TPoint(RC, ARow);
        if (link->FEditStyle == esPopup) {
            if (link->FAutoPopupWidth)
                link->FPopupWidth = R.right - R.left;
            if (!link->FPopupForm) {
                // Each link has its own pop-up; a form another link made
                // under the same name may still be in use, so none is freed here.
                link->FPopupForm = New<TForm>(Application);
                if (!Application->FindComponent(L"gridform"))
                    link->FPopupForm->SetName(L"gridform");
                link->FPopupForm->OnDeactivate = [link](TObject* Sender) { link->FormExit(Sender); };
                link->FPopupForm->FreeNotification(link);
            }
            TForm* form = link->FPopupForm;
            POINT at{link->FPopupLeft, link->FPopupTop};
            if (at.x == -1 || at.y == -1) {
                at = {R.left, R.top};
                if (HandleAllocated())
                    ::ClientToScreen(GetHandle(), &at);
            }
            form->SetBounds(at.x, at.y, 0, 0);
            form->SetFormStyle(fsStayOnTop);
            form->SetBorderStyle(bsNone);
            form->Show();
            form->SetBounds(at.x, at.y, 0, 0);
            form->SetBounds(at.x, at.y, link->FPopupWidth, link->FPopupHeight);
            link->CreateEditor(form);
            link->SetRect(TRect(0, 0, link->FPopupWidth, link->FPopupHeight));
        } else {
            link->CreateEditor(this);
            link->SetRect(R);
        }
        link->SetVisible(true);
        link->SetCellProps(editorColor, editorFont);
        link->SetProperties();
        DoGetEditorProp(RC, ARow, link);
        {
            const bool tags = FEditWithTags;
            if (link->FWantHTML)
                FEditWithTags = true;
            const TScopeExit restoreTags([this, tags] { FEditWithTags = tags; });
            link->SetEditorValue(GetEditText(ACol, ARow));
            link->SetFocus(true);
        }
        link->SetFocus(true);
        FEditActive = true;
        EditMode = true;
        TWinControl* control = link->GetEditControl();
        if (control && FStartEditChar != 0 && control->HandleAllocated())
            PostMessageW(control->GetHandle(), WM_CHAR, FStartEditChar, 0);
        EditCtrl = control;
    }
    // edNone and edDataCheckBox need no control; the other kinds add their
    // control's steps where the control is built.
    FStartEditChar = 0;
}

void TAdvStringGrid::HideSpecialEditor(int ACol, int ARow)
{
    if (Destroying())
        return;
    FSpecialEditor = false;
    FBlockKill = true;
    const TScopeExit unblock([this] {
        FBlockKill = false;
        FEditActive = false;
    });
    EditCtrl = nullptr;
    if (FFocusHelper->GetEnabled())
        HideFocusWindow();
    const int C = RealColIndex(ACol);
    FStartEditChar = 0;
    if (EditControl == edCustom) {
        if (FControlLook->GetDropDownAlwaysVisible())
            DoGetEditorType(C, ARow, EditControl);
        if (FEditLink && EditMode) {
            StoreEditText(C, ARow, FEditLink->GetEditorValue());
            if (FEditLink->FEditStyle != esPopup)
                FEditLink->SetVisible(false);
            FEditLink->RestoreWinProc();
        }
        EditMode = false;
    } else if (!IsTextKind(EditControl)) {
        EditMode = false;
    }
    // A validation that reopens the editor hides it on the way: that ends nothing.
    if (EditControl != edNormal && EditControl != edCapital && EditControl != edValidChars && FEditActive &&
        !FValidating) {
        FEditActive = false;
        EditDone(C, ARow);
    }
}

void TAdvStringGrid::EditDone(int ACol, int ARow)
{
    if (FFocusHelper->GetEnabled())
        HideFocusWindow();
    if (OnEditingDone)
        OnEditingDone(this);
    if (FFocusHelper->GetEnabled() && EditMode)
        MoveFocusWindow();
    HideInplaceEdit();
    if (HandleAllocated())
        PostMessageW(GetHandle(), GridEditDoneMessage(), static_cast<WPARAM>(ACol), static_cast<LPARAM>(ARow));
}

void TAdvStringGrid::HideInplaceEdit()
{
    if ((!GetEditorMode() && !EditMode) || Destroying())
        return;
    HideEditor();
    HideSpecialEditor(GetCol(), GetRow());
    EditMode = false;
    if (GetCol() >= 0 && GetRow() >= 0 && GetCol() < GetColCount() && GetRow() < GetRowCount())
        CanSelectCell(GetCol(), GetRow());
}

void TAdvStringGrid::StoreEditText(int ACol, int ARow, const String& Value)
{
    SetEditText(DisplColIndex(ACol), ARow, Value);
    SetCellText(ACol, ARow, Value);
}

void TAdvStringGrid::RestoreCellCache()
{
    SetCellText(GetRealCol(), GetRow(), FCellCache);
    // A cell shown under another display index repaints through its own write.
    const String shown = GetCellText(GetCol(), GetRow());
    SetCellText(GetCol(), GetRow(), shown);
}

void TAdvStringGrid::DoGetEditorProp(int ACol, int ARow, TEditLink* AEditLink)
{
    if (OnGetEditorProp)
        OnGetEditorProp(this, ACol, ARow, AEditLink);
    if (OnGetEditorPropInt)
        OnGetEditorPropInt(this, ACol, ARow);
}

void TAdvStringGrid::DoCellChanging(int NewCol, int NewRow, bool& Allow)
{
    const int oldCol = GetCol();
    const int oldRow = GetRow();
    if (NewRow != oldRow && OnRowChanging)
        OnRowChanging(this, oldRow, NewRow, Allow);
    if (NewCol != oldCol && OnColChanging)
        OnColChanging(this, oldCol, NewCol, Allow);
    if ((NewCol != oldCol || NewRow != oldRow) && !FDisableChange && OnCellChanging)
        OnCellChanging(this, oldRow, oldCol, NewRow, NewCol, Allow);
}

// --- the combo editor's items --------------------------------------------------------

TAsgComboBox* TAdvStringGrid::GetCombobox()
{
    if (!FCombobox) {
        FCombobox = New<TAsgComboBox>(this);
        FCombobox->SetVisible(false);
        FCombobox->SetEnabled(false);
        FCombobox->SetParent(this);
    }
    return FCombobox;
}

void TAdvStringGrid::AddComboString(const String& s)
{
    GetCombobox()->GetItems()->Add(s);
}

void TAdvStringGrid::AddComboStringObject(const String& s, TObject* AObject)
{
    GetCombobox()->GetItems()->AddObject(s, AObject);
}

bool TAdvStringGrid::RemoveComboString(const String& s)
{
    TStrings* items = GetCombobox()->GetItems();
    const int i = items->IndexOf(s);
    if (i < 0)
        return false;
    items->Delete(i);
    return true;
}

void TAdvStringGrid::ClearComboString()
{
    GetCombobox()->GetItems()->Clear();
}

bool TAdvStringGrid::SetComboSelectionString(const String& s)
{
    const int i = GetCombobox()->GetItems()->IndexOf(s);
    if (i < 0)
        return false;
    FComboIdx = i;
    return true;
}

void TAdvStringGrid::SetComboSelection(int idx)
{
    FComboIdx = idx >= 0 && idx < GetComboCount() ? idx : -1;
    FForceComboSel = true;
}

int TAdvStringGrid::GetComboCount()
{
    return GetCombobox()->GetItems()->Count();
}
