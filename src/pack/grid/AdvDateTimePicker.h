// Date-time pickers with keyboard auto-tab: TCustomDateTimePicker moves to
// the next field (or control) once a typed digit completed one, through the
// registered message "DTPShiftFocus"; TAdvDateTimePicker shows a date, a time
// or both (a date part with an embedded time part beside its drop button),
// with a caption label, "a null date means today" and check-box support.
#pragma once

#include "AsgDateTimePicker.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"

namespace AdvDateTimePicker {
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
    lpBottomRight
};
} // namespace AdvDateTimePicker

enum TAdvDateTimeKind { dkDate, dkTime, dkDateTime };

class TCustomDateTimePicker : public TDateTimePickerLook {
public:
    explicit TCustomDateTimePicker(TComponent* AOwner);

    // The identifier of "DTPShiftFocus".
    static UINT ShiftFocusMessage();

    bool GetAutoTab() const { return FAutoTab; }
    virtual void SetAutoTab(bool Value) { FAutoTab = Value; }
    bool GetAutoTabToNext() const { return FAutoTabToNext; }
    virtual void SetAutoTabToNext(bool Value) { FAutoTabToNext = Value; }
    // The picker edits a grid cell: Tab stays inside (Shift+Tab in a date
    // part, Tab in a time part).
    bool GetGridTabHandling() const { return FGridTabhandling; }
    void SetGridTabHandling(bool Value) { FGridTabhandling = Value; }
    bool IsTimePicker() const { return FIsTimePicker; }

    bool IsMetro() const override { return FMetroStyle && !NoMetroLook(); }
    virtual bool NoMetroLook() const { return true; }
    virtual void ShiftFocus();

protected:
    friend class TAdvDateTimePicker;
    void Dispatch(TMessage& Message) override;
    int NativeButtonInset() const override { return 4; }
    void DrawOutline(HDC DC) override;
    void DrawFlatBorder(HDC DC) override;
    // What a typed digit may change, remembered before it arrives.
    virtual void RememberFields();
    // Moves the focus to the next control of the parent form.
    void FocusNextControl();

    bool FAutoTab = false;
    bool FAutoTabToNext = true;
    Word Fh = 0, Fm = 0, Fs = 0, Fms = 0;
    bool FIsTimePicker = false;
    bool FGridTabhandling = false;
};

class TAdvDateTimePicker : public TCustomDateTimePicker {
public:
    explicit TAdvDateTimePicker(TComponent* AOwner);
    void BeforeDestruction() override;

    // Reads "1.2.2.0"; writing is ignored.
    String GetVersion() const { return L"1.2.2.0"; }
    void SetVersion(const String&) {}

    TAdvDateTimeKind GetKind() const { return FKind; }
    void SetKind(TAdvDateTimeKind Value);
    TDateTime GetDateTime() override;
    void SetDateTime(TDateTime Value) override;
    TDateTime GetDate();
    void SetDate(TDateTime Value);
    TDateTime GetTime();
    void SetTime(TDateTime Value);
    String GetTimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const String& Value);
    bool GetNullDateIsToday() const { return FNullDateIsToday; }
    void SetNullDateIsToday(bool Value) { FNullDateIsToday = Value; }
    void SetAutoTab(bool Value) override;
    void SetAutoTabToNext(bool Value) override;
    void SetBorderStyle(TBorderStyle Value) override;
    // The embedded time part (only for dkDateTime).
    TCustomDateTimePicker* TimePicker() const { return FTimePicker; }

    TLabel* GetPickerLabel() const { return FLabel; }
    String GetLabelCaption() const { return FLabel ? FLabel->GetCaption() : String(); }
    void SetLabelCaption(const String& Value);
    AdvDateTimePicker::TLabelPosition GetLabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(AdvDateTimePicker::TLabelPosition Value);
    int GetLabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    bool GetLabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool GetLabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);
    TFont* GetLabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* Value);
    bool GetFocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool Value) { FFocusLabel = Value; }

    bool NoMetroLook() const override { return false; }
    void ShiftFocus() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void SetParent(TWinControl* AParent) override;

    TNotifyEvent OnTimeChange;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

    virtual void DoChange();
    virtual void DoClick();
    virtual void TimePickerKeyPress(wchar_t& Key) {}

protected:
    void CreateWnd() override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;
    void CNNotify(TMessage& Message) override;
    void RememberFields() override;
    void EnsureTimePicker();
    void UpdateTimePicker();
    void UpdateLabel();
    void PositionLabel();
    void FocusTimerFired();

    TAdvDateTimeKind FKind = dkDateTime;
    TTimer* FFocusTimer = nullptr;
    POINT Fpt{-1, -1};
    String FTimeFormat;
    Word Fy = 0, Fm = 0, Fd = 0;
    TLabel* FLabel = nullptr;
    TOwned<TFont> FLabelFont;
    AdvDateTimePicker::TLabelPosition FLabelPosition = AdvDateTimePicker::lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FFocusLabel = false;
    bool FLabelAlwaysEnabled = false;
    bool FParentFnt = false;
    bool FIgnoreTimePickerCheck = false;
    bool FFirstRun = true;
    bool FNullDateIsToday = false;
    TCustomDateTimePicker* FTimePicker = nullptr;
};
