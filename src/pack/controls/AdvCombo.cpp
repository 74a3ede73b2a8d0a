// The combo box base.
#include "AdvCombo.h"
#include "System.h"

TAdvCustomCombo::TAdvCustomCombo(TComponent* AOwner) : TCustomComboBox(AOwner) {}

void TAdvCustomCombo::SetEtched(bool Value)
{
    if (StoreChanged(FEtched, Value))
        Invalidate();
}

void TAdvCustomCombo::SetDropWidth(int Value)
{
    FDropWidth = Value;
    ApplyDropWidth();
}

void TAdvCustomCombo::ApplyDropWidth()
{
    if (FDropWidth > 0 && HandleAllocated() && !ComponentState().Contains(csLoading))
        SendMessageW(GetHandle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropWidth), 0);
}

void TAdvCustomCombo::CreateWnd()
{
    TCustomComboBox::CreateWnd();
    ApplyDropWidth();
}

void TAdvCustomCombo::Loaded()
{
    TCustomComboBox::Loaded();
    ApplyDropWidth();
}

void TAdvCustomCombo::SelectItem(const String& AString)
{
    const int index = GetItems()->IndexOf(AString);
    if (index < 0)
        return;
    SetItemIndex(index);
    Change();
}

int TAdvCustomCombo::GetComponentVersion() const
{
    return (1 << 24) | (6 << 16) | (1 << 8) | 2;
}

String TAdvCustomCombo::GetVersion() const
{
    const int v = GetComponentVersion();
    return IntToStr((v >> 24) & 0xFF) + L"." + IntToStr((v >> 16) & 0xFF) + L"." + IntToStr((v >> 8) & 0xFF) +
           L"." + IntToStr(v & 0xFF);
}

void TAdvCustomCombo::DropDown()
{
    TCustomComboBox::DropDown();
    Invalidate();
}

void TAdvCustomCombo::CloseUp()
{
    TCustomComboBox::CloseUp();
    Invalidate();
    if (OnDropUp)
        OnDropUp(this);
}
