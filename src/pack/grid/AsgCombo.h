// The combo box under the grid's combo editors, also a control of its own:
// the platform's combo box with an optional flat look, border, focus and
// button colours, a themed or owner-coloured drop button and a caption label
// placed beside it. Without any of them the platform's look stays.
//
// Themed branches ask the platform probe (visual style active, comctl32
// version) each time, so both ways are reachable from tests.
#pragma once

#include "StdCtrls.h"

namespace AsgCombo {
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};
} // namespace AsgCombo

class TAsgCustomCombo : public TCustomComboBox {
public:
    explicit TAsgCustomCombo(TComponent* AOwner);
    void BeforeDestruction() override;

    // Remembers the colour shown outside the focus.
    void Init();
    // Selects the item with this text; nothing when there is none.
    void SelectItem(const String& AString);

    bool GetAutoFocus() const { return FAutoFocus; }
    void SetAutoFocus(bool Value) { FAutoFocus = Value; }
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    bool GetEtched() const { return FEtched; }
    void SetEtched(bool Value);
    TColor GetFlatLineColor() const { return FFlatLineColor; }
    void SetFlatLineColor(TColor Value);
    bool GetFlatParentColor() const { return FFlatParentColor; }
    void SetFlatParentColor(bool Value);
    // 14 to 32 pixels; other widths are ignored.
    int GetButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    bool GetDisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value);
    bool GetFocusBorder() const { return FFocusBorder; }
    void SetFocusBorder(bool Value);
    TColor GetFocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value);
    TColor GetFocusColor() const { return FFocusColor; }
    void SetFocusColor(TColor Value) { FFocusColor = Value; }
    int GetDropWidth() const { return FDropWidth; }
    void SetDropWidth(int Value);
    bool GetIsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    bool GetIsVista() const { return FIsVista; }
    void SetIsVista(bool Value);

    TColor GetButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value);
    TColor GetButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; }
    TColor GetButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; }
    TColor GetButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; }
    TColor GetButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
    TColor GetButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }
    TColor GetButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; }

    TLabel* GetComboLabel() const { return FLabel; }
    String GetLabelCaption() const;
    void SetLabelCaption(const String& Value);
    AsgCombo::TLabelPosition GetLabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(AsgCombo::TLabelPosition Value);
    int GetLabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    TFont* GetLabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* Value);
    bool GetLabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    bool GetLabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value);
    bool GetFocusLabel() const { return FFocusLabel; }
    void SetFocusLabel(bool Value) { FFocusLabel = Value; }

    void SetEnabled(bool Value) override;
    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnDropUp;

protected:
    void Loaded() override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void DropDown() override;
    void CloseUp() override;

    // Under visual styles: comctl32 above 5 and a style active.
    bool ThemesActive() const;
    bool IsThemed() const;
    void DrawButton(HDC DC);
    void PaintBorders();
    void DrawControlBorder(HDC DC);
    void DrawButtonBorder(HDC DC);
    void PositionLabel();

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FOldColor = clWindow;
    TColor FLoadedColor = clWindow;
    bool FOldParentColor = false;
    int FButtonWidth = 0;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    int FDropWidth = 0;
    bool FIsWinXP = false;
    bool FButtonHover = false;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    int FLabelMargin = 4;
    TOwned<TFont> FLabelFont;
    AsgCombo::TLabelPosition FLabelPosition = AsgCombo::lpLeftTop;
    TLabel* FLabel = nullptr;
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clWindow;
    bool FHasFocus = false;
    bool FFocusLabel = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
    bool FIsVista = false;

private:
    bool PaintsOwnLook();
    void PaintOwnLook(HDC DC);
    void InvalidateButton();
    void LabelBold(bool Bold);
};

class TAsgComboBox : public TAsgCustomCombo {
public:
    using TAsgCustomCombo::TAsgCustomCombo;
};
