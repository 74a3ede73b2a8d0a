// A list box whose items carry check boxes.
#pragma once

#include "StdCtrls.h"

class TCheckListBox : public TCustomListBox {
public:
    explicit TCheckListBox(TComponent* AOwner);

    bool GetChecked(int Index) const { return GetState(Index) == cbChecked; }
    void SetChecked(int Index, bool value) { SetState(Index, value ? cbChecked : cbUnchecked); }
    TCheckBoxState GetState(int Index) const;
    void SetState(int Index, TCheckBoxState value);
    bool GetItemEnabled(int Index) const;
    void SetItemEnabled(int Index, bool value);
    bool GetAllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    void CheckAll(TCheckBoxState AState, bool AllowGrayed = true, bool AllowDisabled = true);

    TNotifyEvent OnClickCheck;

protected:
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& Message) override;
    void DrawItem(int Index, TRect Rect, UINT State) override;
    void KeyPress(wchar_t& Key) override;
    virtual void ClickCheck();

private:
    struct ItemState {
        TCheckBoxState state = cbUnchecked;
        bool enabled = true;
    };
    ItemState& At(int Index);
    int CheckWidth() const;
    void ToggleItem(int Index);

    std::vector<ItemState> states_;
    bool allowGrayed_ = false;
    bool restoring_ = false;
};
