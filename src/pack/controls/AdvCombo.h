// The pack's combo box base: the platform's combo box with an optional flat
// look (its own border, drop button and bottom line), border, button, focus
// and font colours, a grey hint shown while the box is empty, Enter moving
// on like Tab, and an attached label placed beside it.
//
// Without Flat and without colours the platform's own look stays untouched.
// The inner edit's messages reach EditWndProc through the class library's
// subclass, which every new window of the control gets again and which
// keeps the edit's previous procedure pointer-wide.
#pragma once

#include "StdCtrls.h"

enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};

class TAdvCustomCombo : public TCustomComboBox {
public:
    explicit TAdvCustomCombo(TComponent* AOwner);
    void BeforeDestruction() override;

    // Selects the item with this text, when there is one, and fires the
    // change event.
    virtual void SelectItem(const String& AString);
    // Major, minor, release and build, one byte each from the high byte down.
    virtual int GetComponentVersion() const;
    // The version as "major.minor.release.build"; it cannot be written.
    String GetVersion() const;

    // Look.
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    // Etched instead of raised edges for the classic drop button.
    bool GetEtched() const { return FEtched; }
    void SetEtched(bool Value);
    // The "active" border while hovered or focused.
    bool GetFocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool Value);
    bool GetAutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool Value) { FAutoFocus = Value; }
    TColor GetFlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor Value);
    bool GetFlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool Value);
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor GetFocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value);
    TColor GetFocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor Value) { FFocusColor = Value; }
    TColor GetFocusFontColor() const { return FFocusFontColor; }
    void SetFocusFontColor(TColor Value) { FFocusFontColor = Value; }
    // A disabled control under visual styles keeps its normal border.
    bool GetDisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value);
    int GetButtonWidth() const { return FButtonWidth; }
    // Own drop-button colours; clNone leaves the platform's button.
    TColor GetButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value);
    TColor GetButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor Value);
    TColor GetButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor Value);
    TColor GetButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor Value);
    TColor GetButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor Value);
    TColor GetButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor Value);
    TColor GetButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor Value);
    // Width of the dropped list; 0 keeps the platform's.
    int GetDropWidth() const { return FDropWidth; }
    void SetDropWidth(int Value);

    // The grey hint shown while the edit is empty.
    String GetEmptyText() const { return FEmptyText; }
    void SetEmptyText(const String& Value);
    TFontStyles GetEmptyTextStyle() const { return FEmptyTextStyle; }
    void SetEmptyTextStyle(TFontStyles Value);
    // Shown also while the control has the focus.
    bool GetEmptyTextFocused() const { return FEmptyTextFocused; }
    void SetEmptyTextFocused(bool Value);
    // Enter moves the focus on as Tab does.
    bool GetReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }

    // The attached label, made by the first LabelCaption written.
    TLabel* GetComboLabel() const { return FLabel; }
    String GetLabelCaption() const;
    void SetLabelCaption(const String& Value);
    TLabelPosition GetLabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int GetLabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    TFont* GetLabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* Value);
    bool GetLabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool GetLabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);
    // The label is bold while the control has the focus.
    bool GetFocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool Value);
    // The label takes the control's font (else LabelFont).
    bool GetParentFnt() const { return FParentFnt; }
    void SetParentFnt(bool Value);

    void SetEnabled(bool Value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // Fired when the list closes.
    TNotifyEvent OnDropUp;

protected:
    void CreateWnd() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    void EditWndProc(TMessage& Message) override;
    void DropDown() override;
    void CloseUp() override;
    void ChangeScale(int M, int D) override;

    // Whether the control paints its own border and button (else the
    // platform's look stays).
    bool DrawsOwnLook();
    // Under visual styles: new common controls and an active style, as the
    // platform probe reports them now.
    bool Themed() const;
    // Paints the field, button and borders over the platform's painting.
    void PaintOwnLook(HDC DC, bool OnWindowDC);
    void DrawButton(HDC DC);
    void DrawBorders(HDC DC);
    void DrawClassicButtonEdge(HDC DC);
    // The border colour (clNone: the two-colour frame).
    TColor BorderColorNow();
    void RedrawBorders();
    void ShowEmptyText();
    void PlaceLabel();
    void LabelFollowsFont();

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FOldColor = clWindow;
    bool FOldParentColor = false;
    TColor FLoadedColor = clWindow;
    int FButtonWidth = 0;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    int FDropWidth = 0;
    bool FButtonHover = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    int FLabelMargin = 4;
    TOwned<TFont> FLabelFont;
    TLabelPosition FLabelPosition = lpLeftTop;
    TLabel* FLabel = nullptr;
    bool FFocusLabel = false;
    TColor FFlatLineColor = clBlack;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clWindow;
    bool FHasFocus = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
    TColor FFocusFontColor = clNone;
    bool FParentFnt = true;
    TColor FFontColor = clWindowText;
    TFontStyles FEmptyTextStyle;
    String FEmptyText;
    bool FEmptyTextFocused = false;
    bool FReturnIsTab = false;
    bool FOldWin = false;

private:
    void ApplyDropWidth();
    void FocusChanged(bool Focused);
    void MouseInControlChanged(bool Inside);
    void EnabledChanged();
    void UpdateButtonHover(int X);
    void RepaintButtonArea();
};
