// The data grid's text editor and the link through which an application
// plugs its own control in as a cell editor.
#pragma once

#include "Grids.h"

class TAdvStringGrid;
class TForm;

// ---------------------------------------------------------------------------
// The grid's text editor: the class library's in-place edit, filtering typed
// and pasted characters by the cell's editor kind, completing from the
// grid's lookup list, placed inside merged cells and by vertical alignment,
// validating on Enter, Tab and the cursor keys.
class TAdvInplaceEdit : public TInplaceEdit {
public:
    explicit TAdvInplaceEdit(TComponent* AOwner);

    // Right-aligned text; each setter recreates the window.
    bool GetVAlign() const { return FValign; }
    void SetVAlign(bool Value);
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // The longest text; 0 or less means none. A full integer: limits above
    // 32,767 hold as given.
    int GetLengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value) { FLengthLimit = Value; }
    // The lookup completion: after a key release the typed start is
    // completed from the first lookup item it begins, the rest selected.
    void DoChange();
    // The cell the editor was last loaded for.
    int LoadedCol() const { return FColE; }
    int LoadedRow() const { return FRowE; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void Change() override;
    void BoundsChanged() override;
    void UpdateContents() override;

private:
    TAdvStringGrid* AdvGrid() const;
    void LoadAppearance();
    void SetFormatRect();
    void WMKeyDown(TMessage& Message);
    void WMChar(TMessage& Message);
    void WMPaste();
    void WMKillFocus(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    // The editor's text after a refused validation: the grid's corrected
    // text, all selected or the caret at the end; the old text kept.
    void RefusedText(const String& OldText);
    int CaretPos();
    int CaretLine();
    int LineCount();
    bool CharPasses(wchar_t& Ch);

    int FSelKeyDown = 0;
    int FOldSelStart = 0;
    int FLengthLimit = 0;
    bool FValign = false;
    bool FWordWrap = false;
    bool GotKey = false;
    bool FGotFocus = false;
    bool Workmode = true;
    TAdvStringGrid* FGrid = nullptr;
    int FColE = -1;
    int FRowE = -1;
    bool FAltBack = false;
    // The height of the cell the editor was last placed over.
    int FCellHeight = 0;
    // A refused Enter: the character the key sends is dropped.
    bool FSkipEnterChar = false;
};

// ---------------------------------------------------------------------------
enum TEditStyle { esInplace, esPopup };

// An application's own cell editor. The application derives from it,
// creates its control in CreateEditor, moves values in and out and returns
// its control from GetEditControl; the grid shows it for edCustom cells,
// in the cell or in a borderless pop-up form. The application owns the
// link; the grid never frees it.
class TEditLink : public TComponent {
public:
    explicit TEditLink(TComponent* AOwner);
    ~TEditLink() override;

    // The keyboard contract: the control's key-down handler calls it; the
    // grid takes over the keys the link does not want.
    virtual void EditKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    virtual TWinControl* GetEditControl() { return nullptr; }
    virtual void CreateEditor(TWinControl* AParent) {}
    virtual void DestroyEditor() {}
    virtual void SetFocus(bool Value);
    virtual void SetRect(TRect R);
    virtual void SetVisible(bool Value);
    virtual void SetProperties() {}
    virtual void SetCellProps(TColor AColor, TFont* AFont) {}
    virtual String GetEditorValue() { return {}; }
    virtual void SetEditorValue(const String& s) {}

    String GetCellValue();
    void SetCellValue(const String& s);
    // The pop-up form for esPopup, else the grid.
    TWinControl* GetParent();
    void HideEditor();
    void EditExit(TObject* Sender);
    void FormExit(TObject* Sender);
    void RestoreWinProc();

    TAdvStringGrid* GetGrid() const { return FOwner; }
    TPoint GetEditCell() const { return FEditCell; }
    TForm* GetPopupForm() const { return FPopupForm; }
    bool GetWantKeyLeftRight() const { return FWantKeyLeftRight; }
    void SetWantKeyLeftRight(bool Value) { FWantKeyLeftRight = Value; }
    bool GetWantKeyUpDown() const { return FWantKeyUpDown; }
    void SetWantKeyUpDown(bool Value) { FWantKeyUpDown = Value; }
    bool GetWantKeyHomeEnd() const { return FWantKeyHomeEnd; }
    void SetWantKeyHomeEnd(bool Value) { FWantKeyHomeEnd = Value; }
    bool GetWantKeyPriorNext() const { return FWantKeyPriorNext; }
    void SetWantKeyPriorNext(bool Value) { FWantKeyPriorNext = Value; }
    bool GetWantKeyReturn() const { return FWantKeyReturn; }
    void SetWantKeyReturn(bool Value) { FWantKeyReturn = Value; }
    bool GetWantKeyEscape() const { return FWantKeyEscape; }
    void SetWantKeyEscape(bool Value) { FWantKeyEscape = Value; }
    TEditStyle GetEditStyle() const { return FEditStyle; }
    void SetEditStyle(TEditStyle Value) { FEditStyle = Value; }
    int GetPopupWidth() const { return FPopupWidth; }
    void SetPopupWidth(int Value) { FPopupWidth = Value; }
    int GetPopupHeight() const { return FPopupHeight; }
    void SetPopupHeight(int Value) { FPopupHeight = Value; }
    int GetTag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    bool GetAutoPopupWidth() const { return FAutoPopupWidth; }
    void SetAutoPopupWidth(bool Value) { FAutoPopupWidth = Value; }
    int GetPopupLeft() const { return FPopupLeft; }
    void SetPopupLeft(int Value) { FPopupLeft = Value; }
    int GetPopupTop() const { return FPopupTop; }
    void SetPopupTop(int Value) { FPopupTop = Value; }
    bool GetWantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    bool GetWantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool GetWantHTML() const { return FWantHTML; }
    void SetWantHTML(bool Value) { FWantHTML = Value; }
    bool GetKeepFocus() const { return FKeepFocus; }
    void SetKeepFocus(bool Value) { FKeepFocus = Value; }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TAdvStringGrid;
    // The focus back to the grid while the link itself moves it.
    void FocusGrid();

    TAdvStringGrid* FOwner = nullptr;
    bool FWantKeyLeftRight = false;
    bool FWantKeyUpDown = false;
    bool FWantKeyHomeEnd = false;
    bool FWantKeyPriorNext = false;
    bool FWantKeyReturn = false;
    bool FWantKeyEscape = false;
    TEditStyle FEditStyle = esInplace;
    // Created by the grid for this link, owned by the application object.
    TForm* FPopupForm = nullptr;
    int FPopupWidth = 0;
    int FPopupHeight = 0;
    bool FForcedExit = false;
    TPoint FEditCell{-1, -1};
    int FTag = 0;
    bool FAutoPopupWidth = false;
    int FPopupLeft = -1;
    int FPopupTop = -1;
    bool FSubClassed = false;
    bool FWantReturns = false;
    bool FWantTabs = false;
    bool FWantHTML = false;
    bool FKeepFocus = false;
    // The control's window method before the grid's hook replaced it.
    TWndMethod FSavedProc;
    TWinControl* FHooked = nullptr;
};
