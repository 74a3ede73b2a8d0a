// The spin editor: a one-line masked edit holding an integer, a float, a date
// or a time as text, stepped up and down by keys and by an embedded pair of
// auto-repeating arrow buttons (first repeat after 400 ms, then every 100 ms).
//
// Stepping writes through the value setters, so every step is clamped and
// reformatted. A step that cannot be made (a year step from 29 February) or
// that an event handler refuses with an exception leaves the value as it was
// when it comes from a key, an arrow or the repeat timer: nothing raised
// there leaves the window procedure.
#pragma once

#include "Buttons.h"
#include "ExtCtrls.h"
#include "Mask.h"

enum TAsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TSpinDirection { spVertical, spHorizontal };
enum TEditAlign { eaLeft, eaRight, eaCenter };
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateItem { tbFocusRect, tbAllowTimer };
using TTimeBtnState = Set<TTimeBtnStateItem>;

class TAsgSpinButton;

// An arrow button that repeats its click while held down.
class TAdvTimerSpeedButton : public TSpeedButton {
public:
    explicit TAdvTimerSpeedButton(TComponent* AOwner);
    TTimeBtnState GetTimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState Value) { FTimeBtnState = Value; }
    TButtonDirection GetButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection Value);
    bool GetIsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    bool HasMouse() const { return FHasMouse; }
    // The repeat timer, made by the first press (null before).
    TTimer* RepeatTimer() const { return FRepeatTimer; }
    // A click whose handler raises stops the repeat and goes no further.
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    void TimerExpired(TObject* Sender);
    TAsgSpinButton* Pair() const;
    TTimer* FRepeatTimer = nullptr;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = bdUp;
    bool FIsWinXP = false;
    bool FHasMouse = false;
};

// The pair of arrow buttons.
class TAsgSpinButton : public TWinControl {
public:
    explicit TAsgSpinButton(TComponent* AOwner);

    TSpinDirection GetDirection() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TWinControl* GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    TBitmap* GetUpGlyph() const { return FUpButton->GetGlyph(); }
    // Nil loads the default arrow.
    void SetUpGlyph(TBitmap* Value);
    TBitmap* GetDownGlyph() const { return FDownButton->GetGlyph(); }
    void SetDownGlyph(TBitmap* Value);
    int GetUpNumGlyphs() const { return FUpButton->GetNumGlyphs(); }
    void SetUpNumGlyphs(int Value) { FUpButton->SetNumGlyphs(Value); }
    int GetDownNumGlyphs() const { return FDownButton->GetNumGlyphs(); }
    void SetDownNumGlyphs(int Value) { FDownButton->SetNumGlyphs(Value); }
    bool GetIsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    TAdvTimerSpeedButton* UpButton() const { return FUpButton; }
    TAdvTimerSpeedButton* DownButton() const { return FDownButton; }
    TAdvTimerSpeedButton* FocusedButton() const { return FFocusedButton; }

    TColor GetButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value);
    TColor GetButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; }
    TColor GetButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; }
    // Stored only: painting uses the three fill colours.
    TColor GetButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; }
    TColor GetButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
    TColor GetButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }
    TColor GetButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    friend class TAdvTimerSpeedButton;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // A left press on one of the arrows.
    void ArrowPressed(TAdvTimerSpeedButton* Button);

private:
    void AdjustSize(int& W, int& H);
    void Layout();
    void ClickUp(TObject* Sender);
    void ClickDown(TObject* Sender);
    TAdvTimerSpeedButton* FUpButton = nullptr;
    TAdvTimerSpeedButton* FDownButton = nullptr;
    TAdvTimerSpeedButton* FFocusedButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonColorDown = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
    TColor FButtonBorderColor = clBlack;
};

class TAsgSpinEdit : public TCustomMaskEdit {
public:
    explicit TAsgSpinEdit(TComponent* AOwner);
    void BeforeDestruction() override;

    TAsgSpinButton* GetButton() const { return FButton; }

    TAsgSpinType GetSpinType() const { return FSpinType; }
    void SetSpinType(TAsgSpinType Value);
    int GetValue();
    void SetValue(int Value);
    int GetMinValue() const { return FMinValue; }
    void SetMinValue(int Value) { FMinValue = Value; }
    int GetMaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value) { FMaxValue = Value; }
    int GetIncrement() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    double GetFloatValue();
    void SetFloatValue(double Value);
    double GetMinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double Value) { FMinFloatValue = Value; }
    double GetMaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double Value) { FMaxFloatValue = Value; }
    double GetIncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double Value) { FIncrementFloat = Value; }
    double GetIncrementFloatPage() const { return FIncrementFloatPage; }
    void SetIncrementFloatPage(double Value) { FIncrementFloatPage = Value; }
    int GetPrecision() const { return FPrecision; }
    void SetPrecision(int Value);
    TDateTime GetDateValue();
    void SetDateValue(TDateTime Value);
    TDateTime GetTimeValue();
    void SetTimeValue(TDateTime Value);
    TDateTime GetMinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(TDateTime Value) { FMinDateValue = Value; }
    TDateTime GetMaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(TDateTime Value) { FMaxDateValue = Value; }
    int GetIncrementHours() const { return FIncrementHours; }
    void SetIncrementHours(int Value) { FIncrementHours = Value; }
    int GetIncrementMinutes() const { return FIncrementMinutes; }
    void SetIncrementMinutes(int Value) { FIncrementMinutes = Value; }
    int GetIncrementSeconds() const { return FIncrementSeconds; }
    void SetIncrementSeconds(int Value) { FIncrementSeconds = Value; }
    bool GetShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool Value) { FShowSeconds = Value; }
    bool GetEditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    bool GetReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    bool GetExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
    bool GetAllowEmptyValue() const { return FAllowEmptyValue; }
    void SetAllowEmptyValue(bool Value) { FAllowEmptyValue = Value; }
    TSpinDirection GetDirection() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TEditAlign GetEditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign Value);
    bool GetSpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool Value);
    bool GetSpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool Value);
    bool GetIsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    // Set by every date step: the short date format has the month first.
    bool UsDates() const { return FUsDates; }

    virtual void IncrementValue(bool Page);
    virtual void DecrementValue(bool Page);
    virtual bool AcceptsChar(wchar_t& Key);
    virtual void HandleSpinUp(TObject* Sender);
    virtual void HandleSpinDown(TObject* Sender);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void SetEditRect();

    TAsgSpinButton* FButton = nullptr;

private:
    void Resized();
    void Step(bool Up, bool Page);
    void StepDate(bool Up);
    void StepTime(bool Up);
    // Writes Text keeping the caret where it was.
    void WriteKeepingCaret(const String& Text);
    void ClampOnExit();
    int ClampInt(int V) const;
    double ClampFloat(double V) const;
    TDateTime ClampDate(TDateTime V) const;

    TAsgSpinType FSpinType = sptNormal;
    int FMinValue = 0;
    int FMaxValue = 100;
    int FIncrement = 1;
    double FMinFloatValue = 0.0;
    double FMaxFloatValue = 100.0;
    double FIncrementFloat = 0.1;
    double FIncrementFloatPage = 1.0;
    int FPrecision = 0;
    TDateTime FDateValue = 0;
    TDateTime FTimeValue = 0;
    TDateTime FMinDateValue = 0;
    TDateTime FMaxDateValue = 0;
    int FIncrementHours = 1;
    int FIncrementMinutes = 1;
    int FIncrementSeconds = 1;
    bool FShowSeconds = true;
    bool FEditorEnabled = true;
    bool FReturnIsTab = false;
    bool FExcelStyleDecimalSeparator = false;
    bool FAllowEmptyValue = false;
    TSpinDirection FDirection = spVertical;
    TEditAlign FEditAlign = eaLeft;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    bool FIsWinXP = false;
    bool FUsDates = false;
};
