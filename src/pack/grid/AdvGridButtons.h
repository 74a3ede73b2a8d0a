// Two small owner-drawn controls of the grid family: a flat speed button
// with glyph variants, hover, pressed and checked colours, gradients, looks
// and a drop-down part, and a check box with a caption. The grid's search
// bar builds its buttons and its match-case box from them.
#pragma once

#include "Buttons.h"
#include "Controls.h"
#include "Graphics.h"
#include "Menus.h"
#include "StdCtrls.h"

enum TAdvGridButtonStyle { tasButton, tasCheck };

class TAdvGridButton : public TGraphicControl {
public:
    explicit TAdvGridButton(TComponent* AOwner);

    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    int GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool GetDown() const { return FDown; }
    void SetDown(bool Value);
    TAdvGridButtonStyle GetStyle() const { return FStyle; }
    void SetStyle(TAdvGridButtonStyle Value);
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    TButtonLayout GetLayout() const { return FLayout; }
    void SetLayout(TButtonLayout Value);
    int GetMargin() const { return FMargin; }
    void SetMargin(int Value);
    int GetSpacing() const { return FSpacing; }
    void SetSpacing(int Value);
    // The glyph builds the disabled glyph (a light grey rendering) when
    // none is set; the others only copy their bitmap.
    TBitmap* GetGlyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    TBitmap* GetGlyphHot() const { return FGlyphHot.get(); }
    void SetGlyphHot(TBitmap* Value);
    TBitmap* GetGlyphDown() const { return FGlyphDown.get(); }
    void SetGlyphDown(TBitmap* Value);
    TBitmap* GetGlyphDisabled() const { return FGlyphDisabled.get(); }
    void SetGlyphDisabled(TBitmap* Value);
    // The grey silhouette of the glyph drawn under it while hovering.
    TBitmap* GetShade() const { return FShade.get(); }

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TColor GetColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    TColor GetColorHot() const { return FColorHot; }
    void SetColorHot(TColor Value) { FColorHot = Value; }
    TColor GetColorHotTo() const { return FColorHotTo; }
    void SetColorHotTo(TColor Value) { FColorHotTo = Value; }
    TColor GetColorDown() const { return FColorDown; }
    void SetColorDown(TColor Value) { FColorDown = Value; }
    TColor GetColorDownTo() const { return FColorDownTo; }
    void SetColorDownTo(TColor Value) { FColorDownTo = Value; }
    TColor GetColorChecked() const { return FColorChecked; }
    void SetColorChecked(TColor Value);
    TColor GetColorCheckedTo() const { return FColorCheckedTo; }
    void SetColorCheckedTo(TColor Value);
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor GetBorderDownColor() const { return FBorderDownColor; }
    void SetBorderDownColor(TColor Value) { FBorderDownColor = Value; }
    TColor GetBorderHotColor() const { return FBorderHotColor; }
    void SetBorderHotColor(TColor Value) { FBorderHotColor = Value; }
    bool GetRounded() const { return FRounded; }
    void SetRounded(bool Value);
    bool GetShaded() const { return FShaded; }
    void SetShaded(bool Value);
    bool GetShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool Value);
    bool GetDropDownButton() const { return FDropDownButton; }
    void SetDropDownButton(bool Value);
    TPopupMenu* GetDropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(TPopupMenu* Value);
    bool GetAutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    bool GetAutoXPStyle() const { return FAutoXPStyle; }
    void SetAutoXPStyle(bool Value) { FAutoXPStyle = Value; }
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    // A colour preset 0 .. 6; other values do nothing.
    int GetLook() const { return FLook; }
    void SetLook(int Value);
    TButtonState GetState() const { return FState; }
    bool GetMouseInControl() const { return FMouseInControl; }

    void Click() override;
    TNotifyEvent OnDropDown;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void Dispatch(TMessage& Message) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UpdateExclusive();
    void BuildShade();
    void AdaptToTheme();
    TBitmap* ChosenGlyph() const;
    bool FAllowAllUp = false;
    int FGroupIndex = 0;
    bool FDown = false;
    TAdvGridButtonStyle FStyle = tasButton;
    bool FFlat = true;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    TOwned<TBitmap> FGlyph;
    TOwned<TBitmap> FGlyphHot;
    TOwned<TBitmap> FGlyphDown;
    TOwned<TBitmap> FGlyphDisabled;
    TOwned<TBitmap> FShade;
    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
    TColor FColorHot = 0xCAC7C7;
    TColor FColorHotTo = clNone;
    TColor FColorDown = 0xD8D3D2;
    TColor FColorDownTo = clNone;
    TColor FColorChecked = 0x808080;
    TColor FColorCheckedTo = clNone;
    TColor FBorderColor = clNone;
    TColor FBorderDownColor = clNone;
    TColor FBorderHotColor = clNone;
    bool FRounded = false;
    bool FShaded = true;
    bool FShowCaption = true;
    bool FDropDownButton = false;
    TPopupMenu* FDropDownMenu = nullptr;
    bool FAutoThemeAdapt = false;
    bool FAutoXPStyle = false;
    String FCaption;
    int FLook = -1;
    TButtonState FState = bsUp;
    bool FMouseInControl = false;
    bool FDragging = false;
};

class TAdvCheckBox : public TCustomControl {
public:
    explicit TAdvCheckBox(TComponent* AOwner);

    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    bool GetChecked() const { return FState == cbChecked; }
    void SetChecked(bool Value);
    TCheckBoxState GetState() const { return FState; }
    void SetState(TCheckBoxState Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout GetButtonVertAlign() const { return FButtonVertAlign; }
    void SetButtonVertAlign(TTextLayout Value);
    bool GetEllipsis() const { return FEllipsis; }
    void SetEllipsis(bool Value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool GetReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    bool GetDown() const { return FDown; }
    void SetDown(bool Value);
    // Checked := not Checked, unless read-only.
    virtual void Toggle();

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void DoEnter() override;
    void DoExit() override;
    void Dispatch(TMessage& Message) override;

private:
    void InvalidateBox();
    String FCaption = L"TAdvCheckBox";
    TCheckBoxState FState = cbUnchecked;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FButtonVertAlign = tlTop;
    bool FEllipsis = false;
    bool FReadOnly = false;
    bool FReturnIsTab = false;
    bool FTransparent = false;
    bool FDown = false;
    bool FFocused = false;
    bool FHot = false;
    bool FMouseDown = false;
    bool FClicksDisabled = false;
};

// Steps bands from FromColor to ToColor over R (vertical bands left to
// right when Horizontal), each a pixel past its share; Border other than
// clNone outlines R.
void DrawButtonGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R,
                        int Steps, TColor Border);
// The button look for a visual-style colour scheme: "NormalColor" 2,
// "HomeStead" 3, "Metallic" 4, anything else (or no active style) 1.
int LookForColorScheme(const String& Scheme, bool Themed);
// The active visual style's colour scheme; empty without one.
String GetXPColorScheme();
