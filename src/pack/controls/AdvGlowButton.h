// The glow button: a focusable push button that paints its own face in the
// colours of its appearance for the normal, hot, pressed and disabled
// states, with a caption and an image-list glyph.
//
// This version paints each face plainly (two solid halves, a frame, the
// glyph and the caption); gradients, fading, notes, drop-down parts, check
// and group behaviour and the style presets come later.
#pragma once

#include "Controls.h"
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
class TAdvCustomGlowButton : public TCustomControl {
public:
    explicit TAdvCustomGlowButton(TComponent* AOwner);
    ~TAdvCustomGlowButton() override;

    TGlowButtonAppearance* GetAppearance() const { return FAppearance.get(); }
    void SetAppearance(TGlowButtonAppearance* Value) { FAppearance->Assign(Value); }

    // The glyph: image ImageIndex (none below 0) of Images; of HotImages
    // while the mouse is over the button and of DisabledImages while it is
    // disabled, when those are set. Images removed from the form are
    // dropped here too.
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* GetHotImages() const { return FHotImages; }
    void SetHotImages(TCustomImageList* Value);
    TCustomImageList* GetDisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);

    AdvGlowButton::TButtonLayout GetLayout() const { return FLayout; }
    void SetLayout(AdvGlowButton::TButtonLayout Value);
    bool GetShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    // Disabled buttons take the disabled colours (else they keep the normal ones).
    bool GetShowDisabled() const { return FShowDisabled; }
    void SetShowDisabled(bool Value);
    int GetSpacing() const { return FSpacing; }
    void SetSpacing(int Value);
    int GetMarginHorz() const { return FMarginHorz; }
    void SetMarginHorz(int Value);
    int GetMarginVert() const { return FMarginVert; }
    void SetMarginVert(int Value);
    bool GetRounded() const { return FRounded; }
    void SetRounded(bool Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TFocusType GetFocusType() const { return FFocusType; }
    void SetFocusType(TFocusType Value);
    TButtonPosition GetPosition() const { return FButtonPosition; }
    void SetPosition(TButtonPosition Value);
    TFont* GetNotesFont() const { return FNotesFont.get(); }
    void SetNotesFont(TFont* Value) { FNotesFont->Assign(Value); }

    // The state the next paint shows.
    TAdvButtonState GetState() const { return FState; }
    String GetVersion() const { return L"2.4.1.1"; }

    // Fired after painting with the state painted.
    std::function<void(TObject* Sender, TCanvas* Canvas, TRect Rect,
                       AdvGlowButton::TGlowButtonState State)>
        OnDrawButton;

protected:
    void Dispatch(TMessage& Message) override;
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateWnd() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void DoEnter() override;
    void DoExit() override;

    // The click that Enter and Space give.
    virtual void KeyboardClick();

    TOwned<TGlowButtonAppearance> FAppearance;
    TAdvButtonState FState = absUp;
    bool FDown = false;
    bool FMouseDown = false;
    bool FDragging = false;
    bool FHot = false;
    bool FMouseInControl = false;
    bool FMouseEnter = false;
    bool FHasFocus = false;
    bool FPainting = false;

private:
    void AppearanceChanged(TObject* Sender);
    void SetImageList(TCustomImageList*& Field, TChangeLink* Link, TCustomImageList* Value);
    void CMMouseEnter(TMessage& M);
    void CMMouseLeave(TMessage& M);
    void CMDialogKey(TMessage& M);
    void WMLButtonUp(TMessage& M);
    void DrawFace(TCanvas* Canvas, const TRect& R);
    void DrawContent(TCanvas* Canvas, const TRect& R, TColor TextColor);

    TCustomImageList* FImages = nullptr;
    TCustomImageList* FHotImages = nullptr;
    TCustomImageList* FDisabledImages = nullptr;
    TOwned<TChangeLink> FImageChangeLink;
    TOwned<TChangeLink> FHotImageChangeLink;
    TOwned<TChangeLink> FDisabledImageChangeLink;
    int FImageIndex = -1;
    AdvGlowButton::TButtonLayout FLayout = AdvGlowButton::blGlyphLeft;
    bool FShowCaption = true;
    bool FShowDisabled = true;
    int FSpacing = 2;
    int FMarginHorz = 1;
    int FMarginVert = 1;
    bool FRounded = true;
    TBorderStyle FBorderStyle = bsSingle;
    TFocusType FFocusType = ftBorder;
    TButtonPosition FButtonPosition = bpStandalone;
    TOwned<TFont> FNotesFont;
};

class TAdvGlowButton : public TAdvCustomGlowButton {
public:
    using TAdvCustomGlowButton::TAdvCustomGlowButton;
};
