// The calculator drop-down: a number edit whose popup holds a glossy keypad.
// The edit text is the calculator's display; the keypad knows nothing about
// arithmetic and reports clicks by index, the key's Tag carrying its meaning.
#pragma once

#include "AdvDropDownSelector.h"

// ---------------------------------------------------------------------------
// The keypad.

enum TButtonPanelType { plCalculator, plCustom };
using TCalculatorButtonClickEvent = std::function<void(TObject* Sender, int Index)>;

class TCalcButtonItem : public TCollectionItem {
public:
    explicit TCalcButtonItem(TCollection* Collection);
    // From another button: caption, caption colour, tag, images, enabled and
    // name; neither Special nor the geometry.
    void Assign(TPersistent* Source) override;

    const String& GetCaption() const { return Caption; }
    void SetCaption(const String& Value) { Caption = Value; }
    TColor GetCaptionColor() const { return CaptionColor; }
    void SetCaptionColor(TColor Value) { CaptionColor = Value; }
    TPicture* GetImage() const { return Image.get(); }
    void SetImage(TPicture* Value) { Image->Assign(Value); }
    TRect GetBoundsRect() const { return TRect(Left, Top, Left + Width, Top + Height); }

    String Caption;
    int ImageIndex = -1;
    bool Enabled = true;
    int Tag = 0;
    int Height = 0;
    int Left = 0;
    int Width = 0;
    int Top = 0;
    String Name;
    TColor CaptionColor = clWhite;
    bool Special = false;

private:
    TOwned<TPicture> Image;
};

class TCalcButtonItems : public TCollection {
public:
    explicit TCalcButtonItems(TPersistent* AOwner) : TCollection(ItemClass<TCalcButtonItem>(), AOwner) {}
    TCalcButtonItem* Add() { return static_cast<TCalcButtonItem*>(TCollection::Add()); }
    TCalcButtonItem* Insert(int Index) { return static_cast<TCalcButtonItem*>(TCollection::Insert(Index)); }
    TCalcButtonItem* GetItem(int Index) const { return static_cast<TCalcButtonItem*>(TCollection::GetItem(Index)); }

    // Never raised by the collection itself.
    TNotifyEvent OnChange;
};

// The colours and font of every keypad button.
class TButtonAppearance : public TPersistent {
public:
    TButtonAppearance();
    void Assign(TPersistent* Source) override;

#define CALC_COLOR(Name)                                                                                              \
    TColor Get##Name() const { return F##Name; }                                                                    \
    void Set##Name(TColor Value) { Store(F##Name, Value); }
    CALC_COLOR(BorderColor)
    CALC_COLOR(BorderColorHot)
    CALC_COLOR(BorderColorDown)
    CALC_COLOR(BorderColorChecked)
    CALC_COLOR(Color)
    CALC_COLOR(ColorTo)
    CALC_COLOR(ColorDown)
    CALC_COLOR(ColorDownTo)
    CALC_COLOR(ColorHot)
    CALC_COLOR(ColorHotTo)
    CALC_COLOR(ColorCheckedTo)
    CALC_COLOR(ColorDisabled)
    CALC_COLOR(ColorDisabledTo)
    CALC_COLOR(ColorChecked)
    CALC_COLOR(TextColor)
    CALC_COLOR(SpecialTextColor)
#undef CALC_COLOR
    // These three store without notification.
    TColor GetShineColor() const { return FShineColor; }
    void SetShineColor(TColor Value) { FShineColor = Value; }
    TColor GetGlowColorHot() const { return FGlowColorHot; }
    void SetGlowColorHot(TColor Value) { FGlowColorHot = Value; }
    TColor GetGlowColorDown() const { return FGlowColorDown; }
    void SetGlowColorDown(TColor Value) { FGlowColorDown = Value; }
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }

    TNotifyEvent OnChange;

private:
    void Store(TColor& Field, TColor Value);
    void Changed();

    TColor FBorderColor = 0;
    TColor FBorderColorHot = 0;
    TColor FBorderColorDown = 0;
    TColor FBorderColorChecked = RGB(0, 0, 255);
    TColor FColor = RGB(95, 145, 154);
    TColor FColorTo = RGB(112, 161, 176);
    TColor FColorDown = RGB(8, 47, 75);
    TColor FColorDownTo = RGB(20, 181, 173);
    TColor FColorHot = RGB(28, 111, 159);
    TColor FColorHotTo = RGB(68, 194, 213);
    TColor FColorCheckedTo = RGB(160, 189, 249);
    TColor FColorDisabled = RGB(242, 242, 242);
    TColor FColorDisabledTo = RGB(242, 242, 242);
    TColor FColorChecked = RGB(202, 216, 245);
    TOwned<TFont> FFont;
    TColor FShineColor = clWhite;
    TColor FGlowColorHot = RGB(68, 194, 213);
    TColor FGlowColorDown = RGB(68, 194, 213);
    TColor FTextColor = 0;
    TColor FSpecialTextColor = RGB(128, 0, 0);
};

// The glossy button: a two-part face with a shine, inner lines, a border
// and, unless GlowColor is clNone, a glow reaching 8 pixels outside.
void DrawGlossyButton(TCanvas* Canvas, const TRect& R, TColor BorderColor, TColor InnerLineColor, TColor Color,
                      TColor ColorTo, TColor GlowColor, TColor ShineColor);

class TCustomButtonPanel : public TCustomControl {
public:
    explicit TCustomButtonPanel(TComponent* AOwner);

    virtual void DrawButton(int Index, TCanvas* Canvas);
    virtual void GetButtonArea(TRect& Rect);
    virtual void MeasureButtonSize(TSize& Size);
    virtual void ClearButtons();
    virtual void ResetButtons();
    virtual void CreateButtons();
    virtual void ArrangeButtons();
    virtual void InvalidateButton(int Index);
    virtual void DoButtonClick(int Index);

    TRect GetButtonRect(int Index) const;
    int ButtonAtPos(int X, int Y) const;
    void DrawButtons(TCanvas* Canvas, bool IncludeHot);
    void SetHotButton(int Index);
    void SetDownButton(int Index);
    int GetButtonHot() const { return ButtonHot; }
    int GetButtonDown() const { return ButtonDown; }
    void SetAdvDropDown(TAdvCustomDropDown* Value) { AdvDropDown = Value; }
    TAdvCustomDropDown* GetAdvDropDown() const { return AdvDropDown; }

    TCalcButtonItems* GetButtons() const { return Buttons.get(); }
    void SetButtons(TCalcButtonItems* Value) { Buttons->Assign(Value); }
    TButtonAppearance* GetButtonAppearance() const { return ButtonAppearance.get(); }
    void SetButtonAppearance(TButtonAppearance* Value) { ButtonAppearance->Assign(Value); }
    TItemLayout GetButtonLayout() const { return ButtonLayout; }
    void SetButtonLayout(TItemLayout Value) { ButtonLayout = Value; }
    TButtonPanelType GetButtonPanelType() const { return ButtonPanelType; }
    void SetButtonPanelType(TButtonPanelType Value);
    TCustomImageList* GetImages() const { return Images; }
    void SetImages(TCustomImageList* Value);
    TSelectionColorStyle GetItemColorStyle() const { return ItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle Value) { ItemColorStyle = Value; }
    TCustomEdit* GetEdit() const { return Edit; }
    void SetEdit(TCustomEdit* Value);

    TCalculatorButtonClickEvent OnButtonClick;

    int OffSetX = 8;
    int OffSetY = 8;
    int ButtonOffSetX = 4;
    int ButtonOffSetY = 4;
    int CaptionGap = 0;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

private:
    void ButtonsChanged(TObject* Sender);
    void AppearanceChanged(TObject* Sender);
    bool IsValid(int Index) const { return Index >= 0 && Index < Buttons->Count(); }

    TOwned<TCalcButtonItems> Buttons;
    TItemLayout ButtonLayout = ilCaptionRight;
    TSelectionColorStyle ItemColorStyle = scCustom;
    int ButtonHot = -1;
    TCustomImageList* Images = nullptr;
    TCustomEdit* Edit = nullptr;
    TButtonPanelType ButtonPanelType = plCalculator;
    TOwned<TButtonAppearance> ButtonAppearance;
    int ButtonDown = -1;
    TAdvCustomDropDown* AdvDropDown = nullptr;
    bool IsWinXP = false;
};

// ---------------------------------------------------------------------------
// The drop-down.

class TAdvCalculatorDropdown : public TAdvCustomDropDown {
public:
    explicit TAdvCalculatorDropdown(TComponent* AOwner);
    void AfterConstruction() override;

    // The "=" key.
    void CalcResult() { CalcEquals(); }
    // The display's number, 0 when it reads as none.
    long double GetValue();
    void SetValue(long double Value);

    TButtonAppearance* GetCalcButtonAppearance() const { return FCalcButtonAppearance.get(); }
    void SetCalcButtonAppearance(TButtonAppearance* Value) { FCalcButtonAppearance->Assign(Value); }
    bool GetShowThousandSeparator() const { return FShowThousandSeparator; }
    void SetShowThousandSeparator(bool Value);
    TCustomButtonPanel* GetButtonPanel() const { return FAdvButtonPanel; }

    void BeforeDropDown() override;
    void CloseDropDown(bool Cancel) override;
    void DropDownKeyPress(wchar_t& Key) override;
    void DropDownKeyDown(Word& Key, TShiftState Shift) override;
    void STDMETHODCALLTYPE SetComponentStyle(TPackStyle AStyle) override;

    // The keypad's click: the key's Tag drives the engine.
    void ButtonPanelClick(TObject* Sender, int Index);

protected:
    // Runs before a keypad click or a key typed on the popup is processed.
    virtual void BeforeCalcInput() {}
    void CreateDropDownForm() override;
    void Dispatch(TMessage& Message) override;
    // Keys typed into the edit: operators work while the popup is closed.
    void HandleKeyPress(wchar_t& Key);

private:
    String Display() const { return GetText(); }
    long double Parse() const;
    // Shows v; a value that is no finite 64-bit number shows "Error" and
    // leaves FNewval set, as a division by zero does.
    bool Show(long double v);
    void ShowError();
    void ApplyPendingOperation();
    void StartOperation(int Op);
    void CalcEquals();
    void CalcPercent();
    void CalcKeyPress(wchar_t Key);
    void AddDigit(int Digit);
    void ClearEntry(bool Accumulator);
    void ToggleDisplaySign();
    void BackSpace();
    bool CalculatorClosed() const;
    bool AtMaxLength() const;

    TCustomButtonPanel* FAdvButtonPanel = nullptr;
    // 0 while digits extend the integer part; else the denominator of the
    // next decimal digit.
    long long FDecim = 0;
    bool FNewval = false;
    long double FPrevval = 0;
    int FPrevop = -1;
    bool FCalcClosed = true;
    TOwned<TButtonAppearance> FCalcButtonAppearance;
    long double FMVal = 0;
    bool FShowThousandSeparator = false;
    // The display when the popup opened, which Escape brings back.
    String FOpenText;
};
