// The date-time picker under the grid's date editor: the platform's picker
// with an optional flat ("metro") look, an owner-drawn drop button in its own
// colours and coloured borders. Without the metro look the native look stays.
//
// TDateTimePickerLook holds the look that this picker and the pickers of
// AdvDateTimePicker.h share; each says when its metro look is on and where
// the native button starts.
#pragma once

#include "ComCtrls.h"

class TDateTimePickerLook : public TDateTimePicker {
public:
    explicit TDateTimePickerLook(TComponent* AOwner);

    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    virtual void SetBorderStyle(TBorderStyle Value);
    bool GetCtl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor GetFocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
    bool GetDisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value) { FDisabledBorder = Value; }
    bool GetMetroStyle() const { return FMetroStyle; }
    void SetMetroStyle(bool Value);
    bool GetIsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value) { FIsWinXP = Value; }
    int GetButtonWidth() const { return FButtonWidth; }
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

    virtual bool IsMetro() const = 0;

protected:
    void Dispatch(TMessage& Message) override;
    // Left of the erased native button, counted from the client's right edge
    // with styles active.
    virtual int NativeButtonInset() const = 0;
    // The one-pixel outline of a flat picker.
    virtual void DrawOutline(HDC DC) {}
    virtual void DrawFlatBorder(HDC DC);
    void PaintMetro();
    void DrawButton(HDC DC);
    void PaintBorders();
    void DrawControlBorder(HDC DC);
    void DrawButtonBorder(HDC DC);
    bool ThemesActive() const;
    bool IsThemed() const;
    TColor FlatBorderColour() const;

    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = clNone;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
    int FButtonWidth = 0;
    bool FButtonHover = false;
    bool FMouseInControl = false;
    bool FIsWinXP = false;
    bool FMetroStyle = false;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = false;
    bool FHasFocus = false;
    bool FFocusBorder = false;
    bool FCtl3D = true;
};

class TAsgDateTimePicker : public TDateTimePickerLook {
public:
    explicit TAsgDateTimePicker(TComponent* AOwner);
    // Reads "1.0.0.0"; writing is ignored.
    String GetVersion() const { return L"1.0.0.0"; }
    void SetVersion(const String&) {}
    bool IsMetro() const override;

protected:
    int NativeButtonInset() const override { return 15; }
};
