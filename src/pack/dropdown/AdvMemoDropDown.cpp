// The memo editor. FInternalUpdate keeps the edit's change step from copying
// back the first line MemoTextChanged is showing; switching off the stored
// lines' OnChange inside the change step guards the other direction.
#include "AdvMemoDropDown.h"

#include "ScopeExit.h"
#include "SysUtils.h"

namespace {

bool AltDown()
{
    return GetKeyState(VK_MENU) < 0;
}

} // namespace

TAdvMemoDropDown::TAdvMemoDropDown(TComponent* AOwner) : TAdvCustomDropDown(AOwner), FMemoText(New<TStringList>())
{
    FMemoText->OnChange = [this](TObject* Sender) { MemoTextChanged(Sender); };
}

void TAdvMemoDropDown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    if (!FMemo) {
        FMemo = New<TMemo>(this);
        FMemo->SetParent(FDropDownForm);
        FMemo->SetHeight(100);
        FMemo->OnChange = [this](TObject* Sender) { MemoChange(Sender); };
        FMemo->SetBorderStyle(bsNone);
        FMemo->SetWantTabs(true);
        FMemo->SetTabStop(true);
    }
    SetControl(FMemo);
}

void TAdvMemoDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    FDropDownForm->SetCancelOnDeActivate(false);
    if (!FMemo)
        return;
    if (FEditorEnabled)
        FMemo->SetText(FMemoText->GetText());
    FMemo->SetPopupMenu(FMemoPopup);
    FMemo->SetMaxLength(GetMaxLength());
    FMemo->SetScrollBars(FMemoScrollBars);
    FMemo->SetReadOnly(FMemoReadOnly);
}

TStrings* TAdvMemoDropDown::GetMemoText() const
{
    return FMemo ? FMemo->GetLines() : FMemoText.get();
}

void TAdvMemoDropDown::SetMemoText(TStrings* Value)
{
    FMemoText->Assign(Value);
    if (FMemo)
        FMemo->GetLines()->Assign(Value);
}

void TAdvMemoDropDown::SetMemoReadOnly(bool Value)
{
    FMemoReadOnly = Value;
    if (FDroppedDown && FMemo)
        FMemo->SetReadOnly(Value);
}

void TAdvMemoDropDown::MemoChange(TObject*)
{
    FMemoText->Assign(FMemo->GetLines());
    if (OnMemoChange)
        OnMemoChange(this);
}

void TAdvMemoDropDown::MemoTextChanged(TObject*)
{
    String S;
    if (FMemoText->Count() > 0) {
        S = FMemoText->Get(0);
        if (!FEditorEnabled && HandleAllocated()) {
            const int W = GetEditRect().Width();
            HDC dc = GetWindowDC(Handle());
            TScopeExit release([&] { ReleaseDC(Handle(), dc); });
            TOwned<TCanvas> canvas(New<TCanvas>());
            canvas->SetHandle(dc);
            canvas->GetFont()->Assign(GetFont());
            if (W > MeasureTextSize(canvas.get(), S).cx) {
                if (FMemoText->Count() > 1)
                    S += L"...";
            } else {
                S = FitTextToWidth(canvas.get(), S, W, true);
            }
            canvas->SetHandle(nullptr);
        }
    }
    FInternalUpdate = true;
    TScopeExit done([this] { FInternalUpdate = false; });
    SetRawText(S);
    Change();
}

void TAdvMemoDropDown::Change()
{
    if (!FInternalUpdate) {
        FMemoText->OnChange = nullptr;
        TScopeExit reconnect([this] { FMemoText->OnChange = [this](TObject* Sender) { MemoTextChanged(Sender); }; });
        const String value = GetText();
        GetMemoText()->SetText(value);
        FMemoText->SetText(value);
    }
    TAdvCustomDropDown::Change();
}

void TAdvMemoDropDown::Dispatch(TMessage& Message)
{
    // The popup opens once the focus has arrived: shown while the edit is
    // still taking the focus, it would be deactivated and closed at once.
    static const UINT autoDropMessage = RegisterWindowMessageW(L"TavelinMemoAutoDrop");
    if (Message.Msg == autoDropMessage) {
        if (FAutoDrop && Focused())
            OpenDropDown();
        return;
    }
    TAdvCustomDropDown::Dispatch(Message);
    if (Message.Msg == CM_ENTER && FAutoDrop && HandleAllocated())
        PostMessageW(Handle(), autoDropMessage, 0, 0);
}

void TAdvMemoDropDown::CloseDropDown(bool Cancel)
{
    // The focus comes back to the edit while the popup closes; that must not
    // open it again.
    const bool autoDrop = FAutoDrop;
    FAutoDrop = false;
    TScopeExit restore([this, autoDrop] { FAutoDrop = autoDrop; });
    if (Cancel && FMemo)
        FMemo->SetText(FMemoText->GetText());
    TAdvCustomDropDown::CloseDropDown(Cancel);
}

void TAdvMemoDropDown::AfterCloseUp()
{
    TAdvCustomDropDown::AfterCloseUp();
    if (FMemo)
        FMemoText->SetText(FMemo->GetText());
    MemoTextChanged(this);
    if (HandleAllocated()) {
        SetSelStart(0);
        SetSelLength(0);
    }
}

void TAdvMemoDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_TAB) {
        Key = 0;
        HideDropDown(false);
        SelectAll();
        return;
    }
    if (AltDown() || Key == VK_ESCAPE || Key == VK_F4)
        TAdvCustomDropDown::ControlKeyDown(Key, Shift);
    if (Key == 'A' && Shift.Contains(ssCtrl) && FMemo)
        FMemo->SelectAll();
}

void TAdvMemoDropDown::ControlKeyPress(wchar_t& Key)
{
    if (Key == L'\t') {
        Key = 0;
        SelectAll();
    }
    if (AltDown() || Key == 27)
        TAdvCustomDropDown::ControlKeyPress(Key);
}

void TAdvMemoDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    if (AltDown() || Key == VK_ESCAPE || Key == VK_F4)
        TAdvCustomDropDown::ControlKeyUp(Key, Shift);
}
