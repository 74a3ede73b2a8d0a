// The track bar editor. A change settles in one pass: the track bar writes
// the text, the text sets the position, and the second SetPosition finds the
// track bar already there and fires nothing.
#include "AdvTrackBarDropDown.h"

#include "SysUtils.h"

void TAdvTrackBarDropDown::AfterConstruction()
{
    TAdvCustomDropDown::AfterConstruction();
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    SetEditType(etNumeric);
    FDropDownHeader->SetVisible(false);
    FDropDownFooter->SetVisible(false);
    // The popup is shown twice so that its shadow is drawn.
    FForceShadow = true;
}

void TAdvTrackBarDropDown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    if (!FTrackBar) {
        FTrackBar = New<TTrackBar>(this);
        FTrackBar->SetParent(FDropDownForm);
        FTrackBar->SetLeft(0);
        FTrackBar->SetTop(0);
        FTrackBar->SetHeight(40);
    }
    FTrackBar->OnChange = [this](TObject* Sender) { TrackBarChange(Sender); };
}

void TAdvTrackBarDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    // Clicking elsewhere keeps the value.
    FDropDownForm->SetCancelOnDeActivate(false);
    if (FTrackBar) {
        FTrackBar->SetMin(FMin);
        FTrackBar->SetMax(FMax);
        FTrackBar->SetPosition(FPosition);
        FTrackBar->SetPageSize(FPageSize);
        FTrackBar->SetFrequency(FFrequency);
    }
    SetControl(FTrackBar);
    if (FTrackBar) {
        // The popup is sized from the track bar, which the last opening
        // fitted to the popup; it starts again as wide as the editor.
        FTrackBar->SetAlign(alNone);
        FTrackBar->SetWidth(GetWidth());
    }
}

void TAdvTrackBarDropDown::TrackBarChange(TObject*)
{
    if (!FTrackBar)
        return;
    FPosition = FTrackBar->GetPosition();
    SetRawText(IntToStr(FPosition));
    if (OnTrackChange)
        OnTrackChange(this);
}

void TAdvTrackBarDropDown::SetPosition(int Value)
{
    FPosition = Value;
    if (FTrackBar) {
        FTrackBar->SetPosition(Value);
        FPosition = FTrackBar->GetPosition();
    }
}

void TAdvTrackBarDropDown::SetMin(int Value)
{
    FMin = Value;
    if (FTrackBar) {
        FTrackBar->SetMin(Value);
        FMin = FTrackBar->GetMin();
    }
}

void TAdvTrackBarDropDown::SetMax(int Value)
{
    FMax = Value;
    if (FTrackBar) {
        FTrackBar->SetMax(Value);
        FMax = FTrackBar->GetMax();
    }
}

void TAdvTrackBarDropDown::SetFrequency(int Value)
{
    FFrequency = Value;
    if (FTrackBar)
        FTrackBar->SetFrequency(Value);
}

void TAdvTrackBarDropDown::SetPageSize(int Value)
{
    FPageSize = Value;
    if (FTrackBar)
        FTrackBar->SetPageSize(Value);
}

void TAdvTrackBarDropDown::Change()
{
    TAdvCustomDropDown::Change();
    const String text = GetText();
    if (text.empty()) {
        SetPosition(0);
        return;
    }
    // "-", a number past 32 bits or any text set by code is no position; a
    // conversion error must not leave the window procedure.
    Integer value = 0;
    if (TryStrToInt(text, value))
        SetPosition(value);
}

void TAdvTrackBarDropDown::Dispatch(TMessage& Message)
{
    if (Message.Msg != WM_KEYDOWN) {
        TAdvCustomDropDown::Dispatch(Message);
        return;
    }
    HandleWMKeyDown(Message);
    if (FEditorEnabled || GetKeyState(VK_MENU) < 0)
        return;
    // Up lowers the value and Down raises it; a step out of range is refused.
    switch (Message.WParam) {
    case VK_UP:
        if (FPosition - FFrequency >= FMin)
            SetPosition(FPosition - FFrequency);
        break;
    case VK_DOWN:
        if (FPosition + FFrequency <= FMax)
            SetPosition(FPosition + FFrequency);
        break;
    default:
        break;
    }
}

void TAdvTrackBarDropDown::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAdvCustomDropDown::MouseDown(Button, Shift, X, Y);
    if (!Dragging())
        return;
    FMouseX = X;
    FMouseDraging = true;
}

void TAdvTrackBarDropDown::MouseMove(TShiftState Shift, int X, int Y)
{
    TAdvCustomDropDown::MouseMove(Shift, X, Y);
    // Without a page size there are no steps to count.
    if (!Dragging() || !FMouseDraging || FPageSize == 0)
        return;
    const int steps = (X - FMouseX) / FPageSize;
    FMouseX = X;
    SetPosition(FPosition + steps);
}

void TAdvTrackBarDropDown::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAdvCustomDropDown::MouseUp(Button, Shift, X, Y);
    FMouseDraging = false;
}
