// Edits with a button: TAsgEditBtn is a one-line masked edit with a push
// button at its right end (a click or F4 raises OnClickBtn); TAsgEditButton
// is the small window holding that button, TAdvSpeedButton the button itself
// (custom colours, flat, themed or classic); TAsgUnitEditBtn carries a unit
// chosen from a menu on the button and painted left of it; TAsgSpeedButton
// paints an image-list image and a picture centred on itself.
#pragma once

#include "Buttons.h"
#include "ImgList.h"
#include "Mask.h"

class TAsgEditButton;

class TAdvSpeedButton : public TSpeedButton {
public:
    explicit TAdvSpeedButton(TComponent* AOwner);
    bool GetIsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    // Our own flat flag: drawn as a raised or sunken edge.
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Hot() const { return FHot; }

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Dispatch(TMessage& Message) override;

private:
    TAsgEditButton* Holder() const;
    bool FIsWinXP = false;
    bool FFlat = false;
    bool FHot = false;
    bool FPressedHere = false;
};

class TAsgEditButton : public TWinControl {
public:
    explicit TAsgEditButton(TComponent* AOwner);

    TAdvSpeedButton* GetButton() const { return FButton; }
    String GetButtonCaption() const;
    void SetButtonCaption(const String& Value);
    TBitmap* GetGlyph() const;
    void SetGlyph(TBitmap* Value);
    int GetNumGlyphs() const;
    void SetNumGlyphs(int Value);
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    TWinControl* GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

    TColor GetButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value);
    TColor GetButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; }
    TColor GetButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; }
    // Stored and streamed only: the caption is always drawn black.
    TColor GetButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; }
    TColor GetButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
    TColor GetButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }
    TColor GetButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; }

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TNotifyEvent OnClick;

protected:
    friend class TAdvSpeedButton;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The inner button was released after a left press on it.
    void ButtonReleased();

private:
    void FitButton();
    TAdvSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    bool FFlat = false;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonColorDown = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
    TColor FButtonBorderColor = clNone;
};

class TAsgEditBtn : public TCustomMaskEdit {
public:
    explicit TAsgEditBtn(TComponent* AOwner);
    void BeforeDestruction() override;

    TAsgEditButton* GetButton() const { return FButton; }
    String GetButtonCaption() const { return FButton ? FButton->GetButtonCaption() : String(); }
    void SetButtonCaption(const String& Value);
    TBitmap* GetGlyph() const { return FButton ? FButton->GetGlyph() : nullptr; }
    void SetGlyph(TBitmap* Value);
    int GetButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    bool GetEditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    bool GetRightAlign() const { return FRightAlign; }
    void SetRightAlign(bool Value);
    bool GetIsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);

    // The button was clicked (Sender: the button control) or F4 pressed (Sender: the edit).
    TNotifyEvent OnClickBtn;
    virtual void DoClickBtn(TObject* Sender);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    // The text's rectangle: left of the button and of the unit.
    void SetEditRect();
    int MinHeight();

    TAsgEditButton* FButton = nullptr;
    int FUnitSize = 0;

private:
    void Resized();
    int FButtonWidth = 0;
    bool FEditorEnabled = true;
    bool FRightAlign = false;
    bool FIsWinXP = false;
};

using TUnitChangeEvent = std::function<void(TObject* Sender, const String& NewUnit)>;

class TAsgUnitEditBtn : public TAsgEditBtn {
public:
    explicit TAsgUnitEditBtn(TComponent* AOwner);

    TStrings* GetUnits() const { return FUnits.get(); }
    void SetUnits(TStrings* Value);
    String GetUnitID() const { return FUnitID; }
    void SetUnitID(const String& Value);
    int GetUnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int Value);
    // The text directly followed by the unit; writing splits off a unit of the list.
    String GetTextAndUnit() const;
    void SetTextAndUnit(const String& Value);

    TUnitChangeEvent OnUnitChanged;
    void DoClickBtn(TObject* Sender) override;

protected:
    void Dispatch(TMessage& Message) override;

private:
    void PaintUnit();
    TOwned<TStringList> FUnits;
    String FUnitID;
};

class TAsgSpeedButton : public TSpeedButton {
public:
    explicit TAsgSpeedButton(TComponent* AOwner);
    TPicture* GetPicture() const { return FPicture.get(); }
    void SetPicture(TPicture* Value);
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TOwned<TPicture> FPicture;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
};
