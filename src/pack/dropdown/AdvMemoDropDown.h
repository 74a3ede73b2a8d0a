// A drop-down whose popup holds a memo: the lines live in MemoText and the
// edit shows the first of them; typing into the edit replaces all lines.
#pragma once

#include "AdvDropDown.h"
#include "Menus.h"

class TAdvMemoDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvMemoDropDown(TComponent* AOwner);

    // The memo's lines once the memo exists, else the stored lines.
    TStrings* GetMemoText() const;
    void SetMemoText(TStrings* Value);
    TPopupMenu* GetMemoPopup() const { return FMemoPopup; }
    void SetMemoPopup(TPopupMenu* Value) { FMemoPopup = Value; }
    TScrollStyle GetMemoScrollBars() const { return FMemoScrollBars; }
    void SetMemoScrollBars(TScrollStyle Value) { FMemoScrollBars = Value; }
    bool GetMemoReadOnly() const { return FMemoReadOnly; }
    // Takes effect at once while the popup is open.
    void SetMemoReadOnly(bool Value);
    bool GetAutoDrop() const { return FAutoDrop; }
    void SetAutoDrop(bool Value) { FAutoDrop = Value; }
    TMemo* GetMemo() const { return FMemo; }

    TNotifyEvent OnMemoChange;

    void BeforeDropDown() override;
    void CloseDropDown(bool Cancel) override;
    void AfterCloseUp() override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(wchar_t& Key) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void MemoChange(TObject* Sender);
    void MemoTextChanged(TObject* Sender);

protected:
    void CreateDropDownForm() override;
    void Dispatch(TMessage& Message) override;
    void Change() override;

private:
    TPopupMenu* FMemoPopup = nullptr;
    TOwned<TStringList> FMemoText;
    TMemo* FMemo = nullptr;
    TScrollStyle FMemoScrollBars = ssNone;
    bool FMemoReadOnly = false;
    bool FInternalUpdate = false;
    bool FAutoDrop = false;
};
