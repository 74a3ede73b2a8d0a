// The analog clock and the time edit whose popup shows it. The clock holds a
// time (or shows the running system time), sets hours and minutes from
// clicks on its face and keys its host passes on, animates its hands and
// paints itself through GDI+ with a cached face; the time picker keeps its
// text, its Time and the popup clock in step.
#pragma once

#include "AdvDropDown.h"
#include "ComCtrls.h"

class TGPGraphics;
class TGPGraphicsPath;
class TGPPen;
class TGPBrush;
struct TGPRectF;

enum TWatchShape { wsCircle, wsRect, wsRoundRect };
enum TWatchBorderStyle { wbLine, wbDoubleLine, wbNone };
enum TPointerStyle { psLine, psShortLine, psPointer, psLineArrow };
enum TAMPMFrame { apRect, apRoundRect };
enum TWatchGradient { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum TTickMarks { tmAll, tmHours, tmQuartHours, tmNone };
enum THourMarkStyle { hmsLine, hmsQuartDblLine };
enum TWatchStyle {
    wsClassic, wsTower, wsFluorescent, wsEmerald, wsBlueStar, wsFuchsia, wsBlack, wsBlackWhite, wsGray,
    wsSuperNova, wsSports, wsSmooth
};

// Every visual setting of the clock. Setters raise OnChange when the value
// changes; the font and picture setters always do.
class TWatchAppearance : public TPersistent {
public:
    TWatchAppearance();
    ~TWatchAppearance() override;
    void Assign(TPersistent* Source) override;
    // The default look; the fonts keep their colour and style. Raises nothing.
    void SetDefaults();

    int GetSize() const { return FSize; }
    void SetSize(int Value) { Store(FSize, Value); }
    TColor GetHourPointer() const { return FHourPointer; }
    void SetHourPointer(TColor Value) { Store(FHourPointer, Value); }
    TColor GetBackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(TColor Value) { Store(FBackgroundColor, Value); }
    TColor GetMinutePointerShadow() const { return FMinutePointerShadow; }
    void SetMinutePointerShadow(TColor Value) { Store(FMinutePointerShadow, Value); }
    TColor GetBackgroundColorTo() const { return FBackgroundColorTo; }
    void SetBackgroundColorTo(TColor Value) { Store(FBackgroundColorTo, Value); }
    TColor GetHourPointerShadow() const { return FHourPointerShadow; }
    void SetHourPointerShadow(TColor Value) { Store(FHourPointerShadow, Value); }
    TColor GetSecondPointer() const { return FSecondPointer; }
    void SetSecondPointer(TColor Value) { Store(FSecondPointer, Value); }
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { Store(FBorderColor, Value); }
    TColor GetMinutePointer() const { return FMinutePointer; }
    void SetMinutePointer(TColor Value) { Store(FMinutePointer, Value); }
    TFont* GetHourFont() const { return FHourFont.get(); }
    void SetHourFont(TFont* Value);
    TFont* GetAMPMFont() const { return FAMPMFont.get(); }
    void SetAMPMFont(TFont* Value);
    TPicture* GetPicture() const { return FPicture.get(); }
    void SetPicture(TPicture* Value);
    TAMPMFrame GetAMPMFrame() const { return FAMPMFrame; }
    void SetAMPMFrame(TAMPMFrame Value) { Store(FAMPMFrame, Value); }
    TWatchShape GetShape() const { return FShape; }
    void SetShape(TWatchShape Value) { Store(FShape, Value); }
    TPointerStyle GetPointerStyle() const { return FPointerStyle; }
    void SetPointerStyle(TPointerStyle Value) { Store(FPointerStyle, Value); }
    TWatchBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TWatchBorderStyle Value) { Store(FBorderStyle, Value); }
    Byte GetHourPointerSize() const { return FHourPointerSize; }
    void SetHourPointerSize(Byte Value) { Store(FHourPointerSize, Value); }
    Byte GetSecondPointerSize() const { return FSecondPointerSize; }
    void SetSecondPointerSize(Byte Value) { Store(FSecondPointerSize, Value); }
    Byte GetMinutePointerSize() const { return FMinutePointerSize; }
    void SetMinutePointerSize(Byte Value) { Store(FMinutePointerSize, Value); }
    TColor GetHourColor() const { return FHourColor; }
    void SetHourColor(TColor Value) { Store(FHourColor, Value); }
    TColor GetMinuteColor() const { return FMinuteColor; }
    void SetMinuteColor(TColor Value) { Store(FMinuteColor, Value); }
    Byte GetCenterPointSize() const { return FCenterPointSize; }
    void SetCenterPointSize(Byte Value) { Store(FCenterPointSize, Value); }
    TColor GetCenterPointColor() const { return FCenterPointColor; }
    void SetCenterPointColor(TColor Value) { Store(FCenterPointColor, Value); }
    TColor GetCenterPointBorderColor() const { return FCenterPointBorderColor; }
    void SetCenterPointBorderColor(TColor Value) { Store(FCenterPointBorderColor, Value); }
    TWatchGradient GetBackgroundGradient() const { return FBackgroundGradient; }
    void SetBackgroundGradient(TWatchGradient Value) { Store(FBackgroundGradient, Value); }
    Byte GetHourMarkLength() const { return FHourMarkLength; }
    void SetHourMarkLength(Byte Value) { Store(FHourMarkLength, Value); }
    Byte GetHourMarkWidth() const { return FHourMarkWidth; }
    void SetHourMarkWidth(Byte Value) { Store(FHourMarkWidth, Value); }
    Byte GetMinuteMarkLength() const { return FMinuteMarkLength; }
    void SetMinuteMarkLength(Byte Value) { Store(FMinuteMarkLength, Value); }
    Byte GetMinuteMarkWidth() const { return FMinuteMarkWidth; }
    void SetMinuteMarkWidth(Byte Value) { Store(FMinuteMarkWidth, Value); }
    int GetBorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { Store(FBorderWidth, Value); }
    TColor GetAMPMColor() const { return FAMPMColor; }
    void SetAMPMColor(TColor Value) { Store(FAMPMColor, Value); }
    TColor GetAMPMBorderColor() const { return FAMPMBorderColor; }
    void SetAMPMBorderColor(TColor Value) { Store(FAMPMBorderColor, Value); }
    TColor GetCenterPointOuterBorderColor() const { return FCenterPointOuterBorderColor; }
    void SetCenterPointOuterBorderColor(TColor Value) { Store(FCenterPointOuterBorderColor, Value); }
    TTickMarks GetTickMarks() const { return FTickMarks; }
    void SetTickMarks(TTickMarks Value) { Store(FTickMarks, Value); }
    THourMarkStyle GetHourMarkStyle() const { return FHourMarkStyle; }
    void SetHourMarkStyle(THourMarkStyle Value) { Store(FHourMarkStyle, Value); }

    // Stores without notification, as some presets do.
    void StoreAMPMColor(TColor Value) { FAMPMColor = Value; }
    void StoreAMPMBorderColor(TColor Value) { FAMPMBorderColor = Value; }

    TNotifyEvent OnChange;

private:
    template <class T>
    void Store(T& Field, T Value)
    {
        if (Field == Value)
            return;
        Field = Value;
        Changed();
    }
    void Changed();

    int FSize = 0;
    TColor FHourPointer = clBlack;
    TColor FBackgroundColor = clWhite;
    TColor FMinutePointerShadow = clBtnShadow;
    TColor FBackgroundColorTo = clNone;
    TColor FHourPointerShadow = clBtnShadow;
    TColor FSecondPointer = clRed;
    TColor FBorderColor = clBlack;
    TColor FMinutePointer = clBlack;
    TOwned<TFont> FHourFont;
    TOwned<TFont> FAMPMFont;
    TOwned<TPicture> FPicture;
    TAMPMFrame FAMPMFrame = apRect;
    TWatchShape FShape = wsCircle;
    TPointerStyle FPointerStyle = psLine;
    TWatchBorderStyle FBorderStyle = wbLine;
    Byte FHourPointerSize = 4;
    Byte FSecondPointerSize = 1;
    Byte FMinutePointerSize = 3;
    TColor FHourColor = clBlack;
    TColor FMinuteColor = clGray;
    Byte FCenterPointSize = 4;
    TColor FCenterPointColor = clBlack;
    TColor FCenterPointBorderColor = clNone;
    TWatchGradient FBackgroundGradient = wgVertical;
    Byte FHourMarkLength = 0;
    Byte FHourMarkWidth = 1;
    Byte FMinuteMarkLength = 0;
    Byte FMinuteMarkWidth = 1;
    int FBorderWidth = 4;
    TColor FAMPMColor = clWhite;
    TColor FAMPMBorderColor = clBlack;
    TColor FCenterPointOuterBorderColor = clNone;
    TTickMarks FTickMarks = tmAll;
    THourMarkStyle FHourMarkStyle = hmsLine;
};

// Automatic mode and what it shows.
class TWatchSettings : public TPersistent {
public:
    // Copies Second and TimeOffset quietly, then Auto through its setter.
    void Assign(TPersistent* Source) override;

    bool GetAuto() const { return FAuto; }
    void SetAuto(bool Value);
    bool GetSecond() const { return FSecond; }
    void SetSecond(bool Value);
    // Minutes added to the system time.
    int GetTimeOffset() const { return FTimeOffset; }
    void SetTimeOffset(int Value);

    TNotifyEvent OnChange;

private:
    void Changed();
    bool FAuto = false;
    bool FSecond = true;
    int FTimeOffset = 0;
};

class TAdvWatch : public TCustomControl {
public:
    explicit TAdvWatch(TComponent* AOwner);
    ~TAdvWatch() override;
    void AfterConstruction() override;

    TWatchAppearance* GetAppearance() const { return FAppearance.get(); }
    void SetAppearance(TWatchAppearance* Value) { FAppearance->Assign(Value); }
    TWatchSettings* GetSettings() const { return FSettings.get(); }
    void SetSettings(TWatchSettings* Value) { FSettings->Assign(Value); }
    TDateTime GetTime() const { return FTime; }
    // Moves the hands at once; raises no OnChange.
    void SetTime(TDateTime Value);
    bool GetAnimation() const { return FAnimation; }
    void SetAnimation(bool Value) { FAnimation = Value; }
    // Divides every animation step; values below 1 count as 1.
    int GetAnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(int Value) { FAnimationFactor = Value; }
    bool GetShowAMPM() const { return FShowAMPM; }
    void SetShowAMPM(bool Value);
    bool GetShowNumbers() const { return FShowNumbers; }
    void SetShowNumbers(bool Value);
    TWatchStyle GetStyle() const { return FStyle; }
    void SetStyle(TWatchStyle Value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool GetAM() const { return FAM; }
    String GetVersion() const;
    void SetVersion(const String&) {}
    virtual Cardinal GetVersionNr() const;

    // Hour 0..23 and minute 0..59 of the shown time, animated when Animation
    // is on. A minute of 60 or more raises "Invalid time".
    void SetHour(Byte Value);
    void SetMinute(Byte Value);
    int XYToMinute(int X, int Y);
    int XYToHour(int X, int Y);
    void SetComponentStyle(TPackStyle AStyle);
    // A key its host passes on: A, P, the page keys, Home, End, Left, Right.
    void HandleKey(Word Key);

    TRect GetFaceRect();
    POINT GetCenter();
    double GetRadius();
    // (-1, -1, -1, -1) while ShowAMPM is off.
    TRect GetAMPMRect();
    // The time the hands show: Time, or the system time plus the offset.
    TDateTime GetDisplayTime();
    // An animated move is under way.
    bool IsAnimating() const;

    // The face into the cache, the cache and the hands to the screen.
    void PaintAll();
    // The cached face and the hands to the screen in one copy.
    void RepaintHands();
    void SetAM(bool Value);

    // Fired once for every completed hour or minute change made by a click,
    // a key or SetHour / SetMinute; an animated move completes when it
    // reaches its target.
    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    void DrawBackground(TGPGraphics* G, const TRect& R);
    void DrawFaceMarks(TGPGraphics* G, TCanvas* Canvas);
    void DrawTickMarks(TGPGraphics* G);
    void DrawNumbers(TGPGraphics* G, TCanvas* Canvas);
    void DrawAMPM(TGPGraphics* G, TCanvas* Canvas);
    void DrawHands(TGPGraphics* G);

private:
    void StoreTime(TDateTime Value);
    void SettingsChanged(TObject* Sender);
    void AnimationTick(TObject* Sender);
    void StartAnimation();
    void StopAnimation();
    void Changed();
    bool CanAnimate() const;
    void RollAMPM();
    void PaintAllOn(HDC Target);
    // The cache with the hands on it, copied to Target in one blit.
    void RepaintHandsOn(HDC Target);
    void DrawAMPMFrame(TCanvas* Canvas, const TRect& Box, bool Fill);

    TOwned<TWatchAppearance> FAppearance;
    TOwned<TWatchSettings> FSettings;
    TDateTime FTime = 0;
    TOwned<TBitmap> FCache;
    TTimer* FClockTimer = nullptr;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    TTimer* FAnimationTimer = nullptr;
    Byte FTargetHour = 0;
    Byte FTargetMinute = 0;
    Byte FMinuteFrom = 0;
    bool FHourAnimating = false;
    bool FInternalCall = false;
    // Set around the steps of an animated move that do not end it.
    bool FAnimationStep = false;
    bool FAM = true;
    bool FShowAMPM = true;
    bool FShowNumbers = true;
    bool FInternalSet = false;
    TWatchStyle FStyle = wsClassic;
    bool FReadOnly = false;
};

// The clock's colours for a component style; the time picker writes the
// same into its WatchAppearance.
void ApplyWatchComponentStyle(TWatchAppearance* Appearance, TPackStyle AStyle);

// One string measured and, when DrawIt, drawn with GDI+ (Mode 1 ClearType,
// 2 anti-aliased; Mode 0 with a canvas uses GDI). Alignment 0 near, 1 far,
// 2 centre. A face GDI+ lacks falls back to "Arial", then to the generic
// sans-serif family. Returns the measured box.
TRect WatchDrawText(TCanvas* Canvas, TGPGraphics* G, int Alignment, const TRect& R, const String& Text,
                    TFont* Font, bool Enabled, bool DrawIt, int Mode);
void WatchDrawRoundRect(TGPGraphics* G, TGPPen* Pen, float X, float Y, float Width, float Height, float Radius);
void WatchFillRoundRect(TGPGraphics* G, TGPBrush* Brush, float X, float Y, float Width, float Height,
                        float Radius);
std::unique_ptr<TGPGraphicsPath> CreateRoundRectPath(const TGPRectF& R, float Radius);
std::unique_ptr<TGPGraphicsPath> CreateRectPath(const TGPRectF& R);
// Draws a picture through GDI+; a picture that cannot be decoded, or for
// which memory runs out, draws nothing.
void DrawGraphicGDIP(TGPGraphics* G, TCanvas* Canvas, const TRect& R, TGraphic* Graphic, bool Transparent,
                     bool Stretch);

// ---------------------------------------------------------------------------
// The time edit.
class TAdvTimePickerDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvTimePickerDropDown(TComponent* AOwner);
    ~TAdvTimePickerDropDown() override;
    void AfterConstruction() override;

    TDateTime GetTime() const { return FTime; }
    void SetTime(TDateTime Value);
    bool GetShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool Value);
    bool GetShowTimePicker() const { return FShowTimePicker; }
    void SetShowTimePicker(bool Value) { FShowTimePicker = Value; }
    TWatchAppearance* GetWatchAppearance() const { return FWatchAppearance.get(); }
    void SetWatchAppearance(TWatchAppearance* Value) { FWatchAppearance->Assign(Value); }
    TWatchSettings* GetWatchSettings() const { return FWatchSettings.get(); }
    void SetWatchSettings(TWatchSettings* Value) { FWatchSettings->Assign(Value); }
    bool GetShowWatchAMPM() const { return FShowWatchAMPM; }
    void SetShowWatchAMPM(bool Value) { FShowWatchAMPM = Value; }
    bool GetShowWatchNumbers() const { return FShowWatchNumbers; }
    void SetShowWatchNumbers(bool Value) { FShowWatchNumbers = Value; }
    bool GetAnimation() const { return FAnimation; }
    void SetAnimation(bool Value) { FAnimation = Value; }
    int GetAnimationFactor() const { return FAnimationFactor; }
    void SetAnimationFactor(int Value) { FAnimationFactor = Value; }
    TAdvWatch* GetWatch() const { return FWatch; }
    TDateTimePicker* GetTimePicker() const { return FTimePicker; }
    TPanel* GetPanel() const { return FPanel; }

    void SetText(const String& Value) override;
    void STDMETHODCALLTYPE SetComponentStyle(TPackStyle AStyle) override;
    void BeforeDropDown() override;
    void CloseDropDown(bool Cancel) override;
    void AfterCloseUp() override;
    void DropDownKeyDown(Word& Key, TShiftState Shift) override;
    void DropDownKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(wchar_t& Key) override;

    // The text of a time: two digits a part, joined by the time separator.
    String FormatTimeText(Word H, Word M, Word S) const;

    TNotifyEvent OnTimeChange;

protected:
    void CreateDropDownForm() override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void DoExit() override;

private:
    void ApplyTimeMask();
    void ParseText();
    void ChangeHour(int Value);
    void ChangeMinute(int Value);
    void ChangeSecond(int Value);
    void WatchChanged(TObject* Sender);
    void TimePickerChanged(TObject* Sender);
    static bool PopupArrowKey(Word Key);

    bool FShowTimePicker = false;
    TAdvWatch* FWatch = nullptr;
    TDateTimePicker* FTimePicker = nullptr;
    TPanel* FPanel = nullptr;
    TOwned<TWatchAppearance> FWatchAppearance;
    bool FShowWatchAMPM = true;
    bool FShowWatchNumbers = true;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    TDateTime FTime = 0;
    TOwned<TWatchSettings> FWatchSettings;
    bool FInternalCall = false;
    bool FShowSeconds = true;
};
