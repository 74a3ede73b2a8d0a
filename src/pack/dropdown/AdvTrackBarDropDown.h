// A drop-down whose popup holds a track bar; the edit shows its position as a
// number. With typing off the value also moves with Up and Down and by
// dragging the mouse over the edit.
#pragma once

#include "AdvDropDown.h"
#include "ComCtrls.h"

class TAdvTrackBarDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
    void AfterConstruction() override;

    // Position, Min and Max are read back from the track bar, which keeps
    // the position inside Min..Max and ignores a Min above Max or a Max
    // below Min.
    int GetPosition() const { return FPosition; }
    void SetPosition(int Value);
    int GetMin() const { return FMin; }
    void SetMin(int Value);
    int GetMax() const { return FMax; }
    void SetMax(int Value);
    // Tick frequency and the step of the arrow keys.
    int GetFrequency() const { return FFrequency; }
    void SetFrequency(int Value);
    // The track bar's page step and the pixels per step of a drag over the edit.
    int GetPageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    TTrackBar* GetTrackBar() const { return FTrackBar; }

    // Fired after OnChange whenever the track bar moves.
    TNotifyEvent OnTrackChange;

    void BeforeDropDown() override;
    void TrackBarChange(TObject* Sender);

protected:
    void CreateDropDownForm() override;
    void Dispatch(TMessage& Message) override;
    // A text that is no whole number leaves Position and the text as they are.
    void Change() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool Dragging() const { return FDropDownEnabled && !FEditorEnabled; }

    TTrackBar* FTrackBar = nullptr;
    int FMin = 0;
    int FFrequency = 1;
    int FPageSize = 2;
    int FMax = 10;
    int FPosition = 0;
    bool FMouseDraging = false;
    int FMouseX = 0;
};
