// The glow button: a push, check or grouped button that paints two
// gradient halves under a rounded border through GDI+, with a glow that
// fades in on hover and out after a press, an image-list or picture glyph,
// notes, a drop-down arrow or split part, click repeat and a shortcut hint.
//
// AdvGlowButton.cpp holds the appearance, the style presets and the
// properties; AdvGlowButtonPaint.cpp the painting; AdvGlowButtonInput.cpp
// mouse, keys, fading, groups and the drop-down; AdvGlowButtonHint.cpp the
// shortcut hint window and the action link.
#pragma once

#include "ActnList.h"
#include "AdvGDIP.h"
#include "AdvHintInfo.h"
#include "AdvStyleIF.h"
#include "Controls.h"
#include "ExtCtrls.h"
#include "GDIPicture.h"
#include "Menus.h"
#include "System.h"

class TCustomImageList;
class TChangeLink;

// The stand-in's speed-button unit declares its own button layout with four
// values in another order; the glow button keeps its eight here.
namespace AdvGlowButton {
enum TButtonLayout {
    blGlyphLeft, blGlyphTop, blGlyphRight, blGlyphBottom, blGlyphLeftAdjusted,
    blGlyphRightAdjusted, blGlyphTopAdjusted, blGlyphBottomAdjusted
};
// The grid unit of the stand-in has its own gsNormal.
enum TGlowButtonState { gsNormal, gsHot, gsDown };
} // namespace AdvGlowButton

enum TGDIPGradient { ggRadial, ggVertical, ggDiagonalForward, ggDiagonalBackward };
enum TAdvButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };
enum TButtonPosition { bpStandalone, bpLeft, bpMiddle, bpRight };
enum TFocusType { ftBorder, ftHot, ftHotBorder, ftNone };
enum TAdvButtonStyle { bsButton, bsCheck };
enum TDropDownPosition { dpRight, dpBottom };
enum TDropDownDirection { ddDown, ddRight };
enum TImageListType { ipActionList, ipOwnLists };
enum TButtonSizeState { bsGlyph, bsLabel, bsLarge };
enum TShortCutHintPos {
    shpLeft, shpTop, shpRight, shpBottom, shpCenter, shpAuto, shpTopLeft, shpTopRight, shpAboveTop,
    shpAboveTopLeft, shpAboveTopRight, shpBottomLeft, shpBottomRight, shpBelowBottom, shpBelowBottomLeft,
    shpBelowBottomRight, shpBelowBottomCenter
};
enum TGlowState { gsHover, gsPush, gsNone };

// The drop-down unit has a blend of its own; the glow button's lives here.
namespace AdvGlowButton {
// Each RGB component blended: Percent % of c1 and the rest of c2 (c1 from
// 100 on, c2 from 0 down; a clNone side gives the other).
TColor BlendColor(TColor Color1, TColor Color2, int Percent);
// Each RGB component x > 0 times (100 + Percent) / 100, rounded half to
// even; a zero component becomes max(0, Percent).
TColor DarkenColor(TColor Color, int Percent);
} // namespace AdvGlowButton

// The interval of the hover and press fade of every glow button, in
// milliseconds; 0 switches fading off.
int GetGlowFadeInterval();
void SetGlowFadeInterval(int Value);

// ---------------------------------------------------------------------------
// The colours a glow button paints per state: an upper half (Color to
// ColorTo), a lower mirror half (ColorMirror to ColorMirrorTo) and a border.
// Every change of a published value fires OnChange; the owning button
// repaints on it.
class TGlowButtonAppearance : public TPersistent {
public:
    TGlowButtonAppearance() = default;
    // From another appearance: every published value (BorderColorFocused
    // excepted) and the public TextColor, SystemFont, TranspHover and
    // NoBorderDefault. Any other source raises the conversion error.
    void Assign(TPersistent* Source) override;

    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v) { Set(FBorderColor, v); }
    TColor GetBorderColorHot() const { return FBorderColorHot; }
    void SetBorderColorHot(TColor v) { Set(FBorderColorHot, v); }
    // Written directly: no OnChange.
    TColor GetBorderColorCheckedHot() const { return FBorderColorCheckedHot; }
    void SetBorderColorCheckedHot(TColor v) { FBorderColorCheckedHot = v; }
    TColor GetBorderColorDown() const { return FBorderColorDown; }
    void SetBorderColorDown(TColor v) { Set(FBorderColorDown, v); }
    TColor GetBorderColorChecked() const { return FBorderColorChecked; }
    void SetBorderColorChecked(TColor v) { Set(FBorderColorChecked, v); }
    TColor GetBorderColorDisabled() const { return FBorderColorDisabled; }
    void SetBorderColorDisabled(TColor v) { Set(FBorderColorDisabled, v); }
    TColor GetBorderColorFocused() const { return FBorderColorFocused; }
    void SetBorderColorFocused(TColor v) { Set(FBorderColorFocused, v); }

    TColor GetColor() const { return FColor; }
    void SetColor(TColor v) { Set(FColor, v); }
    TColor GetColorTo() const { return FColorTo; }
    void SetColorTo(TColor v) { Set(FColorTo, v); }
    TColor GetColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor v) { Set(FColorChecked, v); }
    TColor GetColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor v) { Set(FColorCheckedTo, v); }
    TColor GetColorDisabled() const { return FColorDisabled; }
    void SetColorDisabled(TColor v) { Set(FColorDisabled, v); }
    TColor GetColorDisabledTo() const { return FColorDisabledTo; }
    void SetColorDisabledTo(TColor v) { Set(FColorDisabledTo, v); }
    TColor GetColorDown() const { return FColorDown; }
    void SetColorDown(TColor v) { Set(FColorDown, v); }
    TColor GetColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor v) { Set(FColorDownTo, v); }
    TColor GetColorHot() const { return FColorHot; }
    void SetColorHot(TColor v) { Set(FColorHot, v); }
    TColor GetColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor v) { Set(FColorHotTo, v); }

    TColor GetColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor v) { Set(FColorMirror, v); }
    TColor GetColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor v) { Set(FColorMirrorTo, v); }
    TColor GetColorMirrorHot() const { return FColorMirrorHot; }
    void SetColorMirrorHot(TColor v) { Set(FColorMirrorHot, v); }
    TColor GetColorMirrorHotTo() const { return FColorMirrorHotTo; }
    void SetColorMirrorHotTo(TColor v) { Set(FColorMirrorHotTo, v); }
    TColor GetColorMirrorDown() const { return FColorMirrorDown; }
    void SetColorMirrorDown(TColor v) { Set(FColorMirrorDown, v); }
    TColor GetColorMirrorDownTo() const { return FColorMirrorDownTo; }
    void SetColorMirrorDownTo(TColor v) { Set(FColorMirrorDownTo, v); }
    TColor GetColorMirrorChecked() const { return FColorMirrorChecked; }
    void SetColorMirrorChecked(TColor v) { Set(FColorMirrorChecked, v); }
    TColor GetColorMirrorCheckedTo() const { return FColorMirrorCheckedTo; }
    void SetColorMirrorCheckedTo(TColor v) { Set(FColorMirrorCheckedTo, v); }
    TColor GetColorMirrorDisabled() const { return FColorMirrorDisabled; }
    void SetColorMirrorDisabled(TColor v) { Set(FColorMirrorDisabled, v); }
    TColor GetColorMirrorDisabledTo() const { return FColorMirrorDisabledTo; }
    void SetColorMirrorDisabledTo(TColor v) { Set(FColorMirrorDisabledTo, v); }

    TGDIPGradient GetGradient() const { return FGradient; }
    void SetGradient(TGDIPGradient v) { Set(FGradient, v); }
    TGDIPGradient GetGradientMirror() const { return FGradientMirror; }
    void SetGradientMirror(TGDIPGradient v) { Set(FGradientMirror, v); }
    TGDIPGradient GetGradientHot() const { return FGradientHot; }
    void SetGradientHot(TGDIPGradient v) { Set(FGradientHot, v); }
    TGDIPGradient GetGradientMirrorHot() const { return FGradientMirrorHot; }
    void SetGradientMirrorHot(TGDIPGradient v) { Set(FGradientMirrorHot, v); }
    TGDIPGradient GetGradientDown() const { return FGradientDown; }
    void SetGradientDown(TGDIPGradient v) { Set(FGradientDown, v); }
    TGDIPGradient GetGradientMirrorDown() const { return FGradientMirrorDown; }
    void SetGradientMirrorDown(TGDIPGradient v) { Set(FGradientMirrorDown, v); }
    TGDIPGradient GetGradientChecked() const { return FGradientChecked; }
    void SetGradientChecked(TGDIPGradient v) { Set(FGradientChecked, v); }
    TGDIPGradient GetGradientMirrorChecked() const { return FGradientMirrorChecked; }
    void SetGradientMirrorChecked(TGDIPGradient v) { Set(FGradientMirrorChecked, v); }
    TGDIPGradient GetGradientDisabled() const { return FGradientDisabled; }
    void SetGradientDisabled(TGDIPGradient v) { Set(FGradientDisabled, v); }
    TGDIPGradient GetGradientMirrorDisabled() const { return FGradientMirrorDisabled; }
    void SetGradientMirrorDisabled(TGDIPGradient v) { Set(FGradientMirrorDisabled, v); }

    bool GetSystemFont() const { return FSystemFont; }
    void SetSystemFont(bool v) { Set(FSystemFont, v); }
    TColor GetTextColorChecked() const { return FTextColorChecked; }
    void SetTextColorChecked(TColor v) { Set(FTextColorChecked, v); }
    TColor GetTextColorDown() const { return FTextColorDown; }
    void SetTextColorDown(TColor v) { Set(FTextColorDown, v); }
    TColor GetTextColorHot() const { return FTextColorHot; }
    void SetTextColorHot(TColor v) { Set(FTextColorHot, v); }

    // Public, not published: stored without OnChange.
    TColor TextColor = clNone;
    bool TranspHover = false;
    bool NoBorderDefault = false;

    TNotifyEvent OnChange;

private:
    template <class T>
    void Set(T& field, T value)
    {
        if (StoreChanged(field, value) && OnChange)
            OnChange(this);
    }

    TColor FBorderColor = 0xC0C0C0;
    TColor FBorderColorHot = 0xFF0000;
    TColor FBorderColorCheckedHot = clNone;
    TColor FBorderColorDown = 0x800000;
    TColor FBorderColorChecked = 0xFF0000;
    TColor FBorderColorDisabled = 0x808080;
    TColor FBorderColorFocused = 0xE4AD89;
    TColor FColor = 0xFFFFFF;
    TColor FColorTo = 0xFFFFFF;
    // The down, checked and disabled colours are the hot and normal ones
    // darkened (red and green 10 %, or all three 5 %), rounded half to even.
    TColor FColorChecked = 0xF5D8CA;
    TColor FColorCheckedTo = 0xF9BDA0;
    TColor FColorDisabled = 0xF2F2F2;
    TColor FColorDisabledTo = 0xF2F2F2;
    TColor FColorDown = 0xF5D8CA;
    TColor FColorDownTo = 0xF9BDA0;
    TColor FColorHot = 0xF5F0E1;
    TColor FColorHotTo = 0xF9D2B2;
    TColor FColorMirror = 0xC0C0C0;
    TColor FColorMirrorTo = 0xFFFFFF;
    TColor FColorMirrorHot = 0xF5C8AD;
    TColor FColorMirrorHotTo = 0xFFF8F4;
    TColor FColorMirrorDown = 0xF5B49C;
    TColor FColorMirrorDownTo = 0xFFDFDC;
    TColor FColorMirrorChecked = 0xF5B49C;
    TColor FColorMirrorCheckedTo = 0xFFDFDC;
    TColor FColorMirrorDisabled = 0xB6B6B6;
    TColor FColorMirrorDisabledTo = 0xF2F2F2;
    TGDIPGradient FGradient = ggVertical;
    TGDIPGradient FGradientMirror = ggVertical;
    TGDIPGradient FGradientHot = ggRadial;
    TGDIPGradient FGradientMirrorHot = ggRadial;
    TGDIPGradient FGradientDown = ggRadial;
    TGDIPGradient FGradientMirrorDown = ggRadial;
    TGDIPGradient FGradientChecked = ggRadial;
    TGDIPGradient FGradientMirrorChecked = ggVertical;
    TGDIPGradient FGradientDisabled = ggRadial;
    TGDIPGradient FGradientMirrorDisabled = ggRadial;
    bool FSystemFont = true;
    TColor FTextColorChecked = 0;
    TColor FTextColorDown = 0;
    TColor FTextColorHot = 0;
};

// ---------------------------------------------------------------------------
class TAdvCustomGlowButton;

// The bubble that shows a button's keyboard shortcut: 16 bands from Color
// down to ColorTo, the text centred, a rounded grey outline.
class TShortCutHintWindow : public THintWindow {
public:
    explicit TShortCutHintWindow(TComponent* AOwner);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TColor GetColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    // The window's size for its text: at least "O" plus 8 pixels wide.
    TSize CalcSize();

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    TColor FColor = 0xFFFFFF;
    TColor FColorTo = 0xFFFFFF;
};

// Links an action's checked state, group, image and help to the button.
class TAdvGlowButtonActionLink : public TControlActionLink {
public:
    explicit TAdvGlowButtonActionLink(TAdvCustomGlowButton* AClient);
    bool IsCheckedLinked() override;
    bool IsGroupIndexLinked() override;
    bool IsImageIndexLinked() override;
    bool IsHelpLinked() override;
    void SetChecked(bool Value) override;
    void SetGroupIndex(int Value) override;
    void SetImageIndex(int Value) override;
    void SetHelpContext(int Value) override;
    void SetHelpKeyword(const String& Value) override;
    void SetHelpType(THelpType Value) override;

private:
    TAdvCustomGlowButton* FClient;
    int FImageIndex = -1;
};

using TSetButtonSizeEvent = std::function<void(TObject* Sender, int& W, int& H)>;
using TGetShortCutHintPosEvent =
    std::function<void(TObject* Sender, TButtonSizeState SizeState, TShortCutHintPos& Position)>;

class TAdvCustomGlowButton : public TCustomControl {
    friend class TAdvGlowButtonActionLink;
public:
    explicit TAdvCustomGlowButton(TComponent* AOwner);
    ~TAdvCustomGlowButton() override;
    // From another glow button: everything but the appearance.
    void Assign(TPersistent* Source) override;

    void Click() override;
    // Opens the drop-down menu (only with one) as a press on the arrow would.
    void DoDropDown();
    void ShowShortCutHint();
    void HideShortCutHint();
    TShortCutHintWindow* GetShortCutHintWindow() const { return FShortCutHint; }
    bool IsDropDown() const { return false; }
    // The style interfaces: a colour preset, or colours from a tone record.
    virtual void SetComponentStyle(TPackStyle AStyle);
    virtual void SetColorTones(TColorTones ATones);

    TGlowButtonAppearance* GetAppearance() const { return FAppearance.get(); }
    void SetAppearance(TGlowButtonAppearance* Value) { FAppearance->Assign(Value); }

    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* GetHotImages() const { return FHotImages; }
    void SetHotImages(TCustomImageList* Value);
    TCustomImageList* GetDisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TImageListType GetImageListType() const { return FImageListType; }
    void SetImageListType(TImageListType Value);
    TGDIPPicture* GetPicture() const { return FIPicture.get(); }
    void SetPicture(TGDIPPicture* Value) { FIPicture->Assign(Value); }
    TGDIPPicture* GetHotPicture() const { return FIHotPicture.get(); }
    void SetHotPicture(TGDIPPicture* Value) { FIHotPicture->Assign(Value); }
    TGDIPPicture* GetDisabledPicture() const { return FIDisabledPicture.get(); }
    void SetDisabledPicture(TGDIPPicture* Value) { FIDisabledPicture->Assign(Value); }

    TAdvButtonStyle GetStyle() const { return FStyle; }
    void SetStyle(TAdvButtonStyle Value);
    int GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    // Checked: a bsCheck button, or the pressed one of a group.
    bool GetDown() const { return FDownChecked; }
    void SetDown(bool Value);
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    AdvGlowButton::TButtonLayout GetLayout() const { return FLayout; }
    void SetLayout(AdvGlowButton::TButtonLayout Value);
    bool GetDropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool Value);
    bool GetDropDownSplit() const { return FDropDownSplit; }
    void SetDropDownSplit(bool Value);
    TDropDownPosition GetDropDownPosition() const { return FDropDownPosition; }
    void SetDropDownPosition(TDropDownPosition Value);
    TDropDownDirection GetDropDownDirection() const { return FDropDownDirection; }
    void SetDropDownDirection(TDropDownDirection Value);
    TPopupMenu* GetDropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* Value);
    bool GetShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    TAntiAlias GetAntiAlias() const { return FAntiAlias; }
    void SetAntiAlias(TAntiAlias Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TButtonPosition GetPosition() const { return FButtonPosition; }
    void SetPosition(TButtonPosition Value);
    TFocusType GetFocusType() const { return FFocusType; }
    void SetFocusType(TFocusType Value);
    // Disabled buttons take the disabled colours (else they keep the normal ones).
    bool GetShowDisabled() const { return FShowDisabled; }
    void SetShowDisabled(bool Value);
    int GetSpacing() const { return FSpacing; }
    void SetSpacing(int Value);
    void SetAutoSize(bool Value) override;
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    int GetMarginVert() const { return FMarginVert; }
    void SetMarginVert(int Value);
    int GetMarginHorz() const { return FMarginHorz; }
    void SetMarginHorz(int Value);
    bool GetRounded() const { return FRounded; }
    void SetRounded(bool Value);
    StringTrimming GetTrimming() const { return FTrimming; }
    void SetTrimming(StringTrimming Value);
    TStrings* GetNotes() const { return FNotes.get(); }
    void SetNotes(TStrings* Value) { FNotes->Assign(Value); }
    TFont* GetNotesFont() const { return FNotesFont.get(); }
    void SetNotesFont(TFont* Value) { FNotesFont->Assign(Value); }
    bool GetAlwaysShowAccel() const { return FAlwaysShowAccel; }
    void SetAlwaysShowAccel(bool Value);
    const String& GetWideCaption() const { return FWideCaption; }
    void SetWideCaption(const String& Value);
    bool GetCancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value);
    int GetModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    TAdvHintInfo* GetOfficeHint() const { return FOfficeHint.get(); }
    void SetOfficeHint(TAdvHintInfo* Value) { FOfficeHint->Assign(Value); }
    int GetInitRepeatPause() const { return FInitRepeatPause; }
    void SetInitRepeatPause(int Value) { FInitRepeatPause = Value; }
    int GetRepeatPause() const { return FRepeatPause; }
    void SetRepeatPause(int Value) { FRepeatPause = Value; }
    bool GetRepeatClick() const { return FRepeatClick; }
    void SetRepeatClick(bool Value) { FRepeatClick = Value; }
    const String& GetShortCutHint() const { return FShortCutHintText; }
    void SetShortCutHint(const String& Value);
    TShortCutHintPos GetShortCutHintPos() const { return FShortCutHintPos; }
    void SetShortCutHintPos(TShortCutHintPos Value) { FShortCutHintPos = Value; }
    TButtonSizeState GetMaxButtonSizeState() const { return FMaxButtonSizeState; }
    void SetMaxButtonSizeState(TButtonSizeState Value);
    TButtonSizeState GetMinButtonSizeState() const { return FMinButtonSizeState; }
    void SetMinButtonSizeState(TButtonSizeState Value);
    TButtonSizeState GetButtonSizeState() const { return FButtonSizeState; }
    TBasicAction* GetAction() const;
    void SetAction(TBasicAction* Value);
    int GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    const String& GetHelpKeyword() const { return FHelpKeyword; }
    void SetHelpKeyword(const String& Value) { FHelpKeyword = Value; }
    THelpType GetHelpType() const { return FHelpType; }
    void SetHelpType(THelpType Value) { FHelpType = Value; }
    String GetVersion() const;
    void SetVersion(const String&) {}

    // The state the next paint shows, and the fade steps (0..100).
    TAdvButtonState GetState() const { return FState; }
    TGlowState GetGlowState() const { return FGlowState; }
    int GetStepHover() const { return FStepHover; }
    int GetStepPush() const { return FStepPush; }
    bool GetFading() const { return FTimer != nullptr; }
    // One tick of the fade timer, as the timer runs it.
    void FadeTick();

    std::function<void(TObject* Sender, TCanvas* Canvas, TRect Rect,
                       AdvGlowButton::TGlowButtonState State)>
        OnDrawButton;
    TSetButtonSizeEvent OnSetButtonSize;
    TNotifyEvent OnDropDown;
    TGetShortCutHintPosEvent OnGetShortCutHintPos;
    // Hooks a toolbar hangs on its buttons: a click, a key down (the button
    // then wants the arrow keys) and a drop-down.
    TNotifyEvent OnInternalClick;
    std::function<void(TObject* Sender, Word& Key, TShiftState Shift)> OnInternalKeyDown;
    TNotifyEvent OnInternalDropDown;

protected:
    void Dispatch(TMessage& Message) override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void Loaded() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void DoEnter() override;
    void DoExit() override;
    void ChangeScale(int M, int D) override;

    // The click that Enter, Space and the dialog keys give.
    virtual void KeyboardClick();
    // What one paint draws, chosen by Paint and read by the renderer.
    struct TGlowPaint;
    // The renderer: measures (returning the content size) or draws.
    TSize DrawGlowButton(TCanvas* Canvas, const TRect& R, const TGlowPaint& P, bool Measure);

    // Runtime state.
    bool FActive = false;
    bool FDown = false;
    bool FLeftDown = false;
    bool FMouseDown = false;
    TOwned<TTimer> FTimer;
    int FStepHover = 0;
    int FStepPush = 0;
    int FTimeInc = 20;
    TGlowState FGlowState = gsNone;
    TAdvButtonState FState = absUp;
    bool FMouseInControl = false;
    bool FHasMouse = false;
    bool FMouseEnter = false;
    bool FDownChecked = false;
    bool FInitialDown = false;
    bool FDragging = false;
    bool FInButton = false;
    bool FCheckLinked = false;
    bool FGroupIndexLinked = false;
    TShortCutHintWindow* FShortCutHint = nullptr;
    bool FDroppedDown = false;
    bool FOverlappedText = false;
    bool FDoAutoSize = false;
    bool FFirstPaint = true;
    TOwned<TTimer> FRepeatTimer;
    bool FPainting = false;
    TButtonSizeState FButtonSizeState = bsLarge;
    AdvGlowButton::TButtonLayout FOldLayout = AdvGlowButton::blGlyphLeft;
    TDropDownPosition FOldDropDownPosition = dpRight;
    bool FHasFocus = false;
    bool FStaticButton = false;
    bool FKeepDown = false;
    TPackStyle FCompStyle = tsCustom;
    bool FHot = false;

private:
    void AppearanceChanged(TObject* Sender);
    void SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value);
    void PictureChanged(TObject* Sender);
    // Marks the size for measuring (auto-sized buttons) and repaints.
    void ContentChanged();
    void ApplySizeState(TButtonSizeState Value);
    void StartFade();
    void StopFade();
    void RepeatTimerTick(TObject* Sender);
    void BroadcastGroup();
    void TrackingCheck();
    bool OnArrowArea(int X, int Y) const;
    void PopupDropDown();
    TPoint DropDownPoint() const;
    void CMMouseEnter(TMessage& M);
    void CMMouseLeave(TMessage& M);
    void CMDialogKey(TMessage& M);
    void CMDialogChar(TMessage& M);
    void CMButtonPressed(TMessage& M);
    void CMFocusChanged(TMessage& M);
    void WMLButtonUp(TMessage& M);
    // The parent's background and paint under the button, limited to Clip
    // (button coordinates) when given.
    void PaintParentInto(HDC DC, HRGN Clip);
    void ChooseFace(TGlowPaint& P);
    void ChooseGlyph(TGlowPaint& P);
    bool HidePrefix() const;

    TOwned<TGlowButtonAppearance> FAppearance;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    TOwned<TChangeLink> FImageChangeLink;
    TOwned<TChangeLink> FHotImageChangeLink;
    TOwned<TChangeLink> FDisabledImageChangeLink;
    int FImageIndex = -1;
    TImageListType FImageListType = ipActionList;
    TOwned<TGDIPPicture> FIPicture;
    TOwned<TGDIPPicture> FIHotPicture;
    TOwned<TGDIPPicture> FIDisabledPicture;
    TAdvButtonStyle FStyle = bsButton;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FTransparent = false;
    AdvGlowButton::TButtonLayout FLayout = AdvGlowButton::blGlyphLeft;
    bool FDropDownButton = false;
    bool FDropDownSplit = true;
    TDropDownPosition FDropDownPosition = dpRight;
    TDropDownDirection FDropDownDirection = ddDown;
    TPopupMenu* FDropDownMenu = nullptr;
    bool FShowCaption = true;
    TAntiAlias FAntiAlias = aaClearType;
    TBorderStyle FBorderStyle = bsSingle;
    TButtonPosition FButtonPosition = bpStandalone;
    TFocusType FFocusType = ftBorder;
    bool FShowDisabled = true;
    int FSpacing = 2;
    bool FWordWrap = true;
    int FMarginVert = 1;
    int FMarginHorz = 1;
    bool FRounded = true;
    StringTrimming FTrimming = StringTrimmingNone;
    TOwned<TStringList> FNotes;
    TOwned<TFont> FNotesFont;
    bool FAlwaysShowAccel = false;
    String FWideCaption;
    bool FCancel = false;
    bool FDefault = false;
    int FModalResult = 0;
    TOwned<TAdvHintInfo> FOfficeHint;
    int FInitRepeatPause = 400;
    int FRepeatPause = 100;
    bool FRepeatClick = false;
    String FShortCutHintText;
    TShortCutHintPos FShortCutHintPos = shpTop;
    TButtonSizeState FMaxButtonSizeState = bsLarge;
    TButtonSizeState FMinButtonSizeState = bsGlyph;
    TOwned<TAdvGlowButtonActionLink> FActionLink;
    int FHelpContext = 0;
    String FHelpKeyword;
    THelpType FHelpType = htKeyword;
};

class TAdvGlowButton : public TAdvCustomGlowButton {
public:
    using TAdvCustomGlowButton::TAdvCustomGlowButton;
};
