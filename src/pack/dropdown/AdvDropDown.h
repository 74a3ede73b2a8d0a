// The drop-down editors' shared unit: drawing helpers, the text tests behind
// the typed-input rules, and the settings objects of the popup's header and
// footer bars and of the bar buttons.
#pragma once

#include "AdvStyleIF.h"
#include "Buttons.h"
#include "Classes.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Graphics.h"
#include "Mask.h"
#include "StdCtrls.h"

class TCustomImageList;
class TItemAppearance;

// The panel unit of the pack declares another gradient direction with the
// values in the opposite order; this unit keeps its own here.
namespace AdvDropDown {
enum TGradientDirection { gdHorizontal, gdVertical };
} // namespace AdvDropDown

// ---------------------------------------------------------------------------
// Drawing helpers. Colours are resolved with ColorToRGB where they are mixed.

// Fills R with Steps bands of solid colour from FromColor towards ToColor
// (Steps 0 counts as 1), left to right when Horizontal, else top to bottom.
// Band i takes FromColor + round(i * (ToColor - FromColor) / Steps) per channel,
// so ToColor itself is approached but never drawn.
void DrawStepGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R,
                      bool Horizontal);

// Percent of Color1 mixed with the rest of Color2; 100 and more give Color1
// and 0 and less give Color2, both unresolved.
TColor BlendColor(TColor Color1, TColor Color2, int Percent);

// Scales each channel to (100 + percent) % (at most 100 %); a channel that is
// 0 becomes the percent itself when that is positive.
TColor ScaleColorChannels(TColor Color, int PercentRed, int PercentGreen, int PercentBlue);

// An 80-band gradient from Color to ColorTo (a plain Color fill when ColorTo
// is clNone), framed in BorderColor when BorderWidth > 0.
void FillGradientRect(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor BorderColor,
                      int BorderWidth, AdvDropDown::TGradientDirection Direction);

// One line of Text in R, after image ImageIndex of Images when there is one
// (left-aligned then, centred otherwise), ending in "..." when too long.
void DrawImageAndText(TCanvas* Canvas, const TRect& R, const String& Text, int ImageIndex,
                      TCustomImageList* Images);

// The size of Text on one line in the canvas's font; (0, 0) for no text.
TSize MeasureTextSize(TCanvas* Canvas, const String& Text);

// Text, or the longest start of it (with "..." when AddEllipsis) narrower
// than MaxWidth; the whole Text when nothing shorter fits either.
String FitTextToWidth(TCanvas* Canvas, const String& Text, int MaxWidth, bool AddEllipsis);

// Lays out the mini-HTML Text in R and, when Paint, draws it (anchors in
// clBlue); the size is what the text takes, (0, 0) for no text. Handle is
// the window whose visual styles draw form controls.
TSize DrawHTMLText(TCanvas* Canvas, const String& Text, const TRect& R, TCustomImageList* Images, bool Paint,
                   HWND Handle);

// ---------------------------------------------------------------------------
// Text tests of the typed-input rules. Separators are those of FormatSettings
// at the moment of the call.

// ',', '-' and ';', the separators of a list of numbers.
bool IsRangeSeparator(wchar_t ch);

// What S reads as.
enum TNumberKind { nkInteger = 0, nkFloat = 1, nkText = 2, nkHex = 5 };
int DetectNumberKind(const String& S);

String RemoveThousandSeparators(const String& S);

// 0..15 for a hexadecimal digit, 0 for anything else.
int HexDigitValue(wchar_t ch);
// The value of the hexadecimal digits, wrapping at 32 bits; a character that
// is no digit counts as 0 but keeps its place.
Integer HexToInt(const String& S);

// The form in which texts are compared: S itself, or upper case when case
// does not matter.
String CaseCompareKey(const String& S, bool CaseSensitive);

// ---------------------------------------------------------------------------
// Settings of the popup's header and footer bars. They draw nothing; the bar
// controls and the drop-down editor read them.

enum TButtonAlignment { baLeft, baRight };

class TDropDownBarButtons;

// What a header and a footer button have in common.
class TDropDownBarButton : public TCollectionItem {
public:
    explicit TDropDownBarButton(TCollection* Collection);

    // These three report a change to the collection's OnChange.
    const String& GetCaption() const { return caption_; }
    void SetCaption(const String& Value);
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value);
    // 0: sized to the content.
    int GetWidth() const { return width_; }
    void SetWidth(int Value);

    int GetHeight() const { return height_; }
    void SetHeight(int Value) { height_ = Value; }
    // -1: no image.
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }

protected:
    void AssignButton(const TDropDownBarButton& Source);

private:
    void ButtonChanged();

    String caption_;
    int imageIndex_ = -1;
    bool enabled_ = true;
    int height_ = 0;
    int width_ = 0;
};

class TDropDownBarButtons : public TCollection {
public:
    // Owner is the appearance's owner, which GetOwner returns.
    TDropDownBarButtons(ItemFactory Factory, TPersistent* AOwner) : TCollection(std::move(Factory), AOwner) {}

    // Fired when a button's Caption, Enabled or Width changes; adding,
    // removing or moving buttons does not fire it.
    TNotifyEvent OnChange;
};

class THeaderButton : public TDropDownBarButton {
public:
    using TDropDownBarButton::TDropDownBarButton;
    // From another header button; any other source raises EConvertError.
    void Assign(TPersistent* Source) override;
};

class TFooterButton : public TDropDownBarButton {
public:
    using TDropDownBarButton::TDropDownBarButton;
    // From another footer button; any other source raises EConvertError.
    void Assign(TPersistent* Source) override;

    // What clicking the button does to the popup.
    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }

private:
    TModalResult modalResult_ = 0;
};

// A button collection that makes and hands out buttons of one class.
template <class TButton>
class TTypedBarButtons : public TDropDownBarButtons {
public:
    explicit TTypedBarButtons(TPersistent* AOwner) : TDropDownBarButtons(ItemClass<TButton>(), AOwner) {}
    TButton* Add() { return static_cast<TButton*>(TCollection::Add()); }
    TButton* Insert(int Index) { return static_cast<TButton*>(TCollection::Insert(Index)); }
    TButton* GetItem(int Index) const { return static_cast<TButton*>(TCollection::GetItem(Index)); }
};

class THeaderButtons : public TTypedBarButtons<THeaderButton> {
public:
    using TTypedBarButtons::TTypedBarButtons;
};

class TFooterButtons : public TTypedBarButtons<TFooterButton> {
public:
    using TTypedBarButtons::TTypedBarButtons;
};

// What a header and a footer appearance have in common. Only Visible and the
// buttons notify; every other write is a plain store.
class TDropDownBarAppearance : public TPersistent {
public:
    TPersistent* GetOwner() const override { return owner_; }

    TColor GetColor() const { return color_; }
    void SetColor(TColor Value) { color_ = Value; }
    // clNone: a plain fill with Color.
    TColor GetColorTo() const { return colorTo_; }
    void SetColorTo(TColor Value) { colorTo_ = Value; }
    // Mini-HTML.
    const String& GetCaption() const { return caption_; }
    void SetCaption(const String& Value) { caption_ = Value; }
    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    AdvDropDown::TGradientDirection GetGradientDirection() const { return gradientDirection_; }
    void SetGradientDirection(AdvDropDown::TGradientDirection Value) { gradientDirection_ = Value; }
    bool GetVisible() const { return visible_; }
    void SetVisible(bool Value);
    int GetHeight() const { return height_; }
    void SetHeight(int Value) { height_ = Value; }
    // clNone: no border.
    TColor GetBorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value) { borderColor_ = Value; }
    // 0: no border.
    int GetBorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int Value) { borderWidth_ = Value; }
    // -1: no image.
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value) { imageIndex_ = Value; }
    TButtonAlignment GetButtonAlignment() const { return buttonAlignment_; }
    void SetButtonAlignment(TButtonAlignment Value) { buttonAlignment_ = Value; }

    // Fired when Visible changes.
    TNotifyEvent OnChange;
    // Fired when a button's Caption, Enabled or Width changes.
    TNotifyEvent OnButtonsChanged;

protected:
    // Takes ownership of Buttons, whose owner must be AOwner as well.
    TDropDownBarAppearance(TPersistent* AOwner, TDropDownBarButtons* Buttons);

    TDropDownBarButtons* BarButtons() const { return buttons_.get(); }
    // Copies everything shared, Visible through its setter and the buttons last.
    void AssignBar(const TDropDownBarAppearance& Source);
    void AssignBarColors(const TDropDownBarAppearance& Source);

private:
    TPersistent* owner_ = nullptr;
    bool visible_ = true;
    int height_ = 22;
    int borderWidth_ = 1;
    int imageIndex_ = -1;
    String caption_;
    TColor colorTo_ = clWhite;
    TColor color_ = clSilver;
    TColor borderColor_ = clBlack;
    TOwned<TFont> font_;
    TOwned<TDropDownBarButtons> buttons_;
    AdvDropDown::TGradientDirection gradientDirection_ = AdvDropDown::gdVertical;
    TButtonAlignment buttonAlignment_ = baRight;
};

class THeaderAppearance : public TDropDownBarAppearance {
public:
    explicit THeaderAppearance(TPersistent* AOwner);
    // From another header appearance only; any other source changes nothing.
    void Assign(TPersistent* Source) override;
    // Copies the colours, the font and the gradient direction from an
    // appearance of the same class, without notification.
    void AssignColors(TPersistent* Source);

    THeaderButtons* GetButtons() const { return static_cast<THeaderButtons*>(BarButtons()); }
    void SetButtons(THeaderButtons* Value) { GetButtons()->Assign(Value); }
};

class TFooterAppearance : public TDropDownBarAppearance {
public:
    explicit TFooterAppearance(TPersistent* AOwner);
    // From another footer appearance only; any other source changes nothing.
    void Assign(TPersistent* Source) override;
    // Copies the colours, the font and the gradient direction from an
    // appearance of the same class, without notification.
    void AssignColors(TPersistent* Source);

    // Whether the footer may show a size grip.
    bool GetSizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool Value) { sizeGrip_ = Value; }
    TFooterButtons* GetButtons() const { return static_cast<TFooterButtons*>(BarButtons()); }
    void SetButtons(TFooterButtons* Value) { GetButtons()->Assign(Value); }

private:
    bool sizeGrip_ = true;
};

// The colours of a bar button in each state. Every setter fires OnChange when
// the value changes.
class TAdvButtonAppearance : public TPersistent {
public:
    TAdvButtonAppearance();
    // From another button appearance; any other source raises EConvertError.
    void Assign(TPersistent* Source) override;

    TColor GetBorderColor() const { return borderColor_; }
    void SetBorderColor(TColor Value) { Store(borderColor_, Value); }
    TColor GetBorderColorHot() const { return borderColorHot_; }
    void SetBorderColorHot(TColor Value) { Store(borderColorHot_, Value); }
    TColor GetBorderColorDown() const { return borderColorDown_; }
    void SetBorderColorDown(TColor Value) { Store(borderColorDown_, Value); }
    TColor GetBorderColorDisabled() const { return borderColorDisabled_; }
    void SetBorderColorDisabled(TColor Value) { Store(borderColorDisabled_, Value); }
    TColor GetBorderColorChecked() const { return borderColorChecked_; }
    void SetBorderColorChecked(TColor Value) { Store(borderColorChecked_, Value); }
    TColor GetColor() const { return color_; }
    void SetColor(TColor Value) { Store(color_, Value); }
    TColor GetColorTo() const { return colorTo_; }
    void SetColorTo(TColor Value) { Store(colorTo_, Value); }
    TColor GetColorDown() const { return colorDown_; }
    void SetColorDown(TColor Value) { Store(colorDown_, Value); }
    // Kept for the styles; the pressed face is drawn in ColorDown alone.
    TColor GetColorDownTo() const { return colorDownTo_; }
    void SetColorDownTo(TColor Value) { Store(colorDownTo_, Value); }
    TColor GetColorHot() const { return colorHot_; }
    void SetColorHot(TColor Value) { Store(colorHot_, Value); }
    // Kept for the styles; the hot face is drawn in ColorHot alone.
    TColor GetColorHotTo() const { return colorHotTo_; }
    void SetColorHotTo(TColor Value) { Store(colorHotTo_, Value); }
    TColor GetColorChecked() const { return colorChecked_; }
    void SetColorChecked(TColor Value) { Store(colorChecked_, Value); }
    TColor GetColorCheckedTo() const { return colorCheckedTo_; }
    void SetColorCheckedTo(TColor Value) { Store(colorCheckedTo_, Value); }
    TColor GetColorDisabled() const { return colorDisabled_; }
    void SetColorDisabled(TColor Value) { Store(colorDisabled_, Value); }
    TColor GetColorDisabledTo() const { return colorDisabledTo_; }
    void SetColorDisabledTo(TColor Value) { Store(colorDisabledTo_, Value); }
    AdvDropDown::TGradientDirection GetGradient() const { return gradient_; }
    void SetGradient(AdvDropDown::TGradientDirection Value);
    TFont* GetFont() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }

    TNotifyEvent OnChange;

private:
    void Store(TColor& field, TColor value);
    void Changed();

    TColor borderColor_ = clNone;
    TColor borderColorHot_ = clGray;
    TColor borderColorDown_ = clNavy;
    TColor borderColorDisabled_ = clGray;
    TColor borderColorChecked_ = clBlue;
    TColor color_ = clNone;
    TColor colorTo_ = clNone;
    TColor colorDown_ = 0xF5D8CA;
    TColor colorDownTo_ = 0xF9BDA0;
    TColor colorHot_ = 0xF5F0E1;
    TColor colorHotTo_ = 0xF9D2B2;
    TColor colorCheckedTo_ = clNone;
    TColor colorDisabled_ = 0xF2F2F2;
    TColor colorDisabledTo_ = clNone;
    TColor colorChecked_ = clNone;
    AdvDropDown::TGradientDirection gradient_ = AdvDropDown::gdVertical;
    TOwned<TFont> font_;
};

// ---------------------------------------------------------------------------
// A windowed control whose graphic children can be painted from outside.
class TWinCtrl : public TWinControl {
public:
    using TWinControl::TWinControl;
    void PaintCtrls(HDC DC, TControl* First) { PaintControls(DC, First); }
};

// ---------------------------------------------------------------------------
// The drop-down edit control.

enum TDropDownEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange, etHex,
    etAlphaNumeric, etValidChars
};
enum TSelectionColorStyle { scCustom, scOffice2007, scWindowsVista, scWindows7 };
enum TDropPosition { dpAuto, dpDown, dpUp };
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
    lpBottomRight
};
enum TButtonStyle { bsButton, bsDropDown };

class TAdvCustomDropDown;
class TDropDownForm;
class TAdvHeader;
class TAdvFooter;

using TDropDown = std::function<void(TObject* Sender, bool& acceptdrop)>;
using TDropUp = std::function<void(TObject* Sender, bool Cancelled)>;
using TDropDownButtonItemClick = std::function<void(TObject* Sender, int ButtonIndex)>;
using TDrawBackGroundEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect)>;
using TGetTextEvent = std::function<void(TObject* Sender, String& Text)>;
using TGetDropDownPosEvent = std::function<void(TObject* Sender, POINT& Pos)>;
using TClipboardEvent = std::function<void(TObject* Sender, const String& value, bool& allow)>;

// The arrow inside the drop-down button.
class TAdvDropDownSpeedButton : public TSpeedButton {
public:
    explicit TAdvDropDownSpeedButton(TComponent* AOwner);

    TButtonStyle GetButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle Value);
    bool GetEtched() const { return FEtched; }
    void SetEtched(bool Value);
    bool GetFocused() const { return FFocused; }
    void SetFocused(bool Value);
    bool GetHot() const { return FHot; }
    // A raised look even while the button is held down.
    void SetUp() { FUp = true; }
    // The visual style draws the button: comctl32 6 and an active style.
    bool UseThemes() const;

protected:
    void Paint() override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void PaintDropDownStyle();
    void PaintButtonStyle();
    bool Pressed() const;

    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FIsWinXP = false;
    TButtonStyle FButtonStyle = bsDropDown;
};

// The drop-down button: a small window at the edit's right edge that keeps
// its width and holds the arrow.
class TDropDownEditButton : public TWinControl {
public:
    explicit TDropDownEditButton(TComponent* AOwner);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TAdvDropDownSpeedButton* GetSpeedButton() const { return FButton; }
    TBitmap* GetGlyph() const { return FButton->GetGlyph(); }
    void SetGlyph(TBitmap* Value) { FButton->SetGlyph(Value); }
    int GetNumGlyphs() const { return FButton->GetNumGlyphs(); }
    void SetNumGlyphs(int Value) { FButton->SetNumGlyphs(Value); }
    String GetButtonCaption() const { return FButton->GetCaption(); }
    void SetButtonCaption(const String& Value) { FButton->SetCaption(Value); }
    TWinControl* GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    // The width the container keeps whatever bounds it is given.
    int GetButtonWidth() const { return FBWidth; }
    void SetButtonWidth(int Value);

    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = clNone;

protected:
    void Dispatch(TMessage& Message) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AdjustWinSize(int& W, int& H) const;
    void ButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

    TAdvDropDownSpeedButton* FButton = nullptr;
    TWinControl* FFocusControl = nullptr;
    int FBWidth = 16;
};

// A step key on an item list. From no selection every step lands on the
// first item; Next and Previous stop at the ends, pages go by ten.
enum class TItemStep { First, Last, Next, Previous, NextPage, PreviousPage };

// The index Step lands on among Count items from Index (-1: none), or -1 when
// the step leaves the selection alone.
int SteppedItemIndex(int Count, int Index, TItemStep Step);

// The edit with its button, popup, header, footer and label. Editors derive
// from it and fill the popup through the virtual hooks.
class TAdvCustomDropDown : public TCustomMaskEdit, public IPackStyle, public IPackTones {
public:
    explicit TAdvCustomDropDown(TComponent* AOwner);
    void AfterConstruction() override;
    void BeforeDestruction() override;
    ~TAdvCustomDropDown() override;

    // IUnknown: the control's lifetime is its owner's business.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    void ShowDropDown() { OpenDropDown(); }
    void HideDropDown(bool CancelChanges) { CloseDropDown(CancelChanges); }
    void SelectAll();
    void SelectAfterDecimal();
    void SelectBeforeDecimal();
    TPackStyle GetComponentStyle() const { return FPackStyle; }
    void STDMETHODCALLTYPE SetComponentStyle(TPackStyle AStyle) override;
    void STDMETHODCALLTYPE SetColorTones(TColorTones ATones) override;
    void Assign(TPersistent* Source) override;
    void SetParent(TWinControl* AParent) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // The value between prefix and suffix, and its setter with formatting.
    String GetText() const;
    virtual void SetText(const String& Value);
    // The whole edit text, unformatted.
    void SetRawText(const String& S) { TCustomMaskEdit::SetTextBuf(S); }
    TRect GetEditRect() const { return FEditRect; }

    // The two values streamed besides the published properties.
    void WriteExtraValues(TWriter& Writer) const;
    // True when Name is one of them; a value outside its enumeration raises EReadError.
    bool ReadExtraValue(const String& Name, TReader& Reader);

    // Numbers.
    double GetFloatValue();
    void SetFloatValue(double x);
    void SetIntValue(int n);
    long double TextToFloat(const String& S) const;
    bool GetModifiedFlag() const { return FIsModified; }
    void SetModifiedFlag(bool Value);

    // Properties.
    TDropDownEditType GetEditType() const { return FEditType; }
    void SetEditType(TDropDownEditType Value);
    int GetPrecision() const { return FPrecision; }
    void SetPrecision(int Value);
    int GetLengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value) { FLengthLimit = static_cast<short>(Value); }
    const String& GetPrefix() const { return FPrefix; }
    void SetPrefix(const String& Value) { FPrefix = Value; }
    const String& GetSuffix() const { return FSuffix; }
    void SetSuffix(const String& Value) { FSuffix = Value; }
    bool GetSigned() const { return FSigned; }
    void SetSigned(bool Value) { FSigned = Value; }
    const String& GetValidChars() const { return FValidChars; }
    void SetValidChars(const String& Value) { FValidChars = Value; }
    bool GetReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    bool GetDefaultHandling() const { return FDefaultHandling; }
    void SetDefaultHandling(bool Value) { FDefaultHandling = Value; }
    bool GetCanUndo() const { return FCanUndo; }
    void SetCanUndo(bool Value) { FCanUndo = Value; }
    bool GetAutoThousandSeparator() const { return FAutoThousandSeparator; }
    void SetAutoThousandSeparator(bool Value) { FAutoThousandSeparator = Value; }
    bool GetAllowNumericNullValue() const { return FAllowNumericNullValue; }
    void SetAllowNumericNullValue(bool Value) { FAllowNumericNullValue = Value; }
    bool GetExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }

    int GetDropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value);
    int GetDropDownHeight() const { return FDropDownHeight; }
    void SetDropDownHeight(int Value);
    TSize GetDropDownSize() const;
    int GetDropDownButtonWidth() const { return FButtonWidth; }
    void SetDropDownButtonWidth(int Value);
    const String& GetDropDownButtonHint() const { return FButtonHint; }
    void SetDropDownButtonHint(const String& Value);
    TBitmap* GetDropDownButtonGlyph() const { return FButton ? FButton->GetGlyph() : nullptr; }
    void SetDropDownButtonGlyph(TBitmap* Value);
    bool GetDropDownEnabled() const { return FDropDownEnabled; }
    void SetDropDownEnabled(bool Value);
    bool GetEditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value);
    TDropPosition GetDropPosition() const { return FDropPosition; }
    void SetDropPosition(TDropPosition Value) { FDropPosition = Value; }
    bool GetDropDownShadow() const { return FDropDownShadow; }
    void SetDropDownShadow(bool Value) { FDropDownShadow = Value; }
    int GetDropDownBorderWidth() const { return FDropDownBorderWidth; }
    void SetDropDownBorderWidth(int Value) { FDropDownBorderWidth = Value; }
    TColor GetDropDownColor() const { return FDropDownColor; }
    void SetDropDownColor(TColor Value) { FDropDownColor = Value; }
    TColor GetDropDownColorTo() const { return FDropDownColorTo; }
    void SetDropDownColorTo(TColor Value) { FDropDownColorTo = Value; }
    TColor GetDropDownBorderColor() const { return FDropDownBorderColor; }
    void SetDropDownBorderColor(TColor Value) { FDropDownBorderColor = Value; }
    AdvDropDown::TGradientDirection GetDropDownGradient() const { return FDropDownGradient; }
    void SetDropDownGradient(AdvDropDown::TGradientDirection Value) { FDropDownGradient = Value; }
    bool GetDropDownSizeable() const { return FDropDownSizeable; }
    void SetDropDownSizeable(bool Value) { FDropDownSizeable = Value; }
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    TColor GetFocusBorderColor() const { return FFocusBorderColor; }
    void SetFocusBorderColor(TColor Value) { FFocusBorderColor = Value; }
    bool GetDisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value);
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TControl* GetControl() const { return FControl; }
    void SetControl(TControl* Value);
    TWinControl* GetFocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);
    TColor GetSelectionColor() const { return FSelectionColor; }
    void SetSelectionColor(TColor Value) { FSelectionColor = Value; }
    TColor GetSelectionColorTo() const { return FSelectionColorTo; }
    void SetSelectionColorTo(TColor Value) { FSelectionColorTo = Value; }
    TSelectionColorStyle GetSelectionColorStyle() const { return FSelectionColorStyle; }
    bool GetLabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    void SetLabelAlwaysEnabled(bool Value) { FLabelAlwaysEnabled = Value; }
    THeaderAppearance* GetDropDownHeader() const { return FDropDownHeader.get(); }
    void SetDropDownHeader(THeaderAppearance* Value) { FDropDownHeader->Assign(Value); }
    TFooterAppearance* GetDropDownFooter() const { return FDropDownFooter.get(); }
    void SetDropDownFooter(TFooterAppearance* Value) { FDropDownFooter->Assign(Value); }
    TAdvButtonAppearance* GetButtonAppearance() const { return FButtonAppearance.get(); }
    void SetButtonAppearance(TAdvButtonAppearance* Value) { FButtonAppearance->Assign(Value); }
    String GetVersion() const;
    void SetVersion(const String&) {}

    // Caption label.
    String GetLabelCaption() const;
    void SetLabelCaption(const String& Value);
    TLabel* GetLabel() const { return FLabel; }
    TLabelPosition GetLabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int GetLabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    bool GetLabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    TFont* GetLabelFont() const { return FLabelFont.get(); }
    void SetLabelFont(TFont* Value);

    TDropDownEditButton* GetButton() const { return FButton; }
    TDropDownForm* GetDropDownForm() const { return FDropDownForm; }
    bool GetDroppedDown() const { return FDroppedDown; }

    TDropDown OnDropDown;
    TDropUp OnDropUp;
    TNotifyEvent OnBeforeDropDown;
    TNotifyEvent OnBeforeDropUp;
    TDropDownButtonItemClick OnDropDownHeaderButtonClick;
    TDropDownButtonItemClick OnDropDownFooterButtonClick;
    TDrawBackGroundEvent OnDrawHeader;
    TDrawBackGroundEvent OnDrawFooter;
    TGetTextEvent OnGetHeaderText;
    TGetTextEvent OnGetFooterText;
    TGetDropDownPosEvent OnGetDropDownPos;
    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardPaste;
    TClipboardEvent OnClipboardCut;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

    // Hooks of the popup, in the order the opening runs them.
    virtual void BeforeDropDown();
    virtual void AdjustDropDownSize();
    virtual void PlaceControl();
    virtual void AfterDropDown(int& Height) {}
    virtual void FocusDropDownControl();
    virtual void OpenDropDown();
    virtual void CloseDropDown(bool Cancel);
    virtual void AfterCloseUp();
    virtual void DropDownFormDestroyed() {}
    virtual void DropDownWheelDown(TShiftState Shift, POINT MousePos, bool& Handled) { WheelDown(); }
    virtual void DropDownWheelUp(TShiftState Shift, POINT MousePos, bool& Handled) { WheelUp(); }
    virtual void DropDownKeyPress(wchar_t& Key);
    virtual void DropDownKeyDown(Word& Key, TShiftState Shift);
    virtual void DropDownKeyUp(Word& Key, TShiftState Shift);
    virtual void ControlKeyDown(Word& Key, TShiftState Shift) { DropDownKeyDown(Key, Shift); }
    virtual void ControlKeyPress(wchar_t& Key) { DropDownKeyPress(Key); }
    virtual void ControlKeyUp(Word& Key, TShiftState Shift) { DropDownKeyUp(Key, Shift); }
    virtual void DropDownSizing() {}
    // The drop-down button was clicked: opens the popup unless it closed
    // within the last 250 ms (the click that closed it).
    void DropDownButtonClick(TObject* Sender);

    // Selection colours.
    virtual void SetSelectionColorStyle(TSelectionColorStyle Value);
    virtual void DrawSelectionBackground(TCanvas* Canvas, const TRect& R, TColor Background, Byte Part);
    virtual void DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R,
                              AdvDropDown::TGradientDirection Direction);
    // The item colours of a component style; reads nothing of the control
    // and does nothing for a null appearance.
    static void ApplyItemAppearanceStyle(TItemAppearance* Appearance, TPackStyle Style);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;

    virtual void DoLabelClick();
    virtual void DoLabelDblClick();
    virtual Cardinal GetVersionNr() const;
    virtual void CreateDropDownForm();
    virtual void CreateDropDownButton();
    virtual void UpdateDropDownButton();
    virtual void WheelDown() {}
    virtual void WheelUp() {}
    virtual void PaintEditArea();
    virtual void SetEditRect();
    virtual void UpdateLayout();
    void ResetUserDropDownSize();
    void UpdateLabel();
    void DrawBorders();
    int GetMinHeight();
    void HeaderChanged(TObject* Sender);
    void FooterChanged(TObject* Sender);
    void FormatMoneyText();

    // Input handling; the grid's editors call these.
    void HandleWMKeyDown(TMessage& Message);
    void HandleWMChar(TMessage& Message);
    void HandleCMWantSpecialKey(TMessage& Message);
    void HandleCNCommand(TMessage& Message);
    void HandleWMPaste(TMessage& Message);
    void HandleWMCut(TMessage& Message);
    void HandleWMCopy(TMessage& Message);
    void HandleWMKillFocus(TMessage& Message);

    TLabel* FLabel = nullptr;
    bool FParentFnt = false;
    int FDropDownWidth = 0;
    int FDropDownHeight = 0;
    int FUserDropDownWidth = -1;
    int FUserDropDownHeight = -1;
    bool FEditorEnabled = true;
    TDropPosition FDropPosition = dpAuto;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;
    bool FDropDownShadow = true;
    int FDropDownBorderWidth = 1;
    String FButtonHint;
    TColor FDropDownColorTo = clNone;
    TColor FDropDownColor = clWhite;
    TColor FDropDownBorderColor = 0;
    int FButtonWidth = 17;
    bool FMouseInControl = false;
    bool FEtched = false;
    TWinControl* FFocusControl = nullptr;
    TOwned<THeaderAppearance> FDropDownHeader;
    TOwned<TAdvButtonAppearance> FButtonAppearance;
    TOwned<TFooterAppearance> FDropDownFooter;
    TControl* FControl = nullptr;
    AdvDropDown::TGradientDirection FDropDownGradient = AdvDropDown::gdHorizontal;
    bool FDropDownSizeable = true;
    TColor FSelectionColor = clNone;
    TColor FSelectionColorTo = clNone;
    TSelectionColorStyle FSelectionColorStyle = scCustom;
    TDropDownEditType FEditType = etString;
    short FLengthLimit = 0;
    short FPrecision = 0;
    String FPrefix;
    String FSuffix;
    String FOldString;
    bool FSigned = false;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FIsThemed = false;
    bool FBlockChange = false;
    bool FAllowNumericNullValue = false;
    bool FDefaultHandling = true;
    bool FCanUndo = true;
    bool FExcelStyleDecimalSeparator = false;
    String FValidChars;
    bool FBlockCopy = false;
    bool FDoShowBusy = false;
    bool FButtonDown = false;
    bool FAutoThousandSeparator = true;
    bool FIsModified = false;
    TRect FEditRect;
    bool FDropDownEnabled = true;
    bool FDroppedDown = false;
    bool FFocusDraw = true;
    bool FForceShadow = false;
    TPackStyle FPackStyle = tsOffice2007Luna;
    int FLabelMargin = 4;
    TLabelPosition FLabelPosition = lpLeftTop;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    TOwned<TFont> FLabelFont;
    TColor FBorderColor = clNone;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = true;
    TDropDownForm* FDropDownForm = nullptr;
    TDropDownEditButton* FButton = nullptr;
    String FOldText;

private:
    friend class TDropDownForm;
    int Lp() const { return static_cast<int>(FPrefix.size()); }
    void SelectionRange(int& Start, int& End);
    void SetSelection(int Start, int End);
    void WriteValue(const String& Value);
    bool IsHot();
    void UpdateButtonFocus();
    void DrawControlBorder(HDC DC);
    void LabelFontChanged(TObject* Sender);
    void MarkModified();
    int IntegerPartLength(const String& S) const;
    int DecimalSeparatorPos();
    bool IsMinusAllowed(wchar_t ch) const;
    bool IsDecimalPartFull(const String& Value, int Caret) const;
    bool IsBadSeparatorPosition(const String& Value, int Caret) const;
    void ToggleSign(bool WholeSelected);
    void HandleLButtonDown(TMessage& Message);
    void HandleLButtonUp(TMessage& Message);
    void HandleSetFocus(TMessage& Message);
    bool ClipboardEventAllows(const TClipboardEvent& Event);
    int DropDownBorderWidthOr0() const { return FDropDownBorderWidth; }
};

class TAdvDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};

// Any control in the popup: the published Control.
class TAdvControlDropDown : public TAdvDropDown {
public:
    using TAdvDropDown::TAdvDropDown;

protected:
    // A control assigned while loading sits in the popup once loading ends.
    void Loaded() override;
};

// ---------------------------------------------------------------------------
// The bars of the popup and their buttons.

enum TAdvButtonStyle { tasButton, tasCheck };
enum TAdvButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };

// A list of control pointers whose reads check the index.
class TDbgList : public TList {
public:
    // Raises EListError "Index out of bounds in list read access" past the end.
    void* GetItem(int Index) const;
    void AssignList(TList* ListA);
};

// The small flat button of the bars.
class TAdvButton : public TCustomControl {
public:
    explicit TAdvButton(TComponent* AOwner);

    void Click() override;
    void SizeToContent();
    void SetDown(bool Value);
    bool GetDown() const { return Down; }
    void SetImages(TCustomImageList* Value) { Images = Value; }
    void SetAdvDropDown(TAdvCustomDropDown* Value) { AdvDropDown = Value; }

    int GroupIndex = 0;
    bool AllowAllUp = false;
    int OffSet = 4;
    bool MouseInControl = false;
    bool Hot = false;
    TAdvButtonStyle Style = tasButton;
    TAdvButtonState State = absUp;
    bool MouseDownInControl = false;
    bool Grouped = true;
    bool Dragging = false;
    bool PropHot = false;
    bool InitialDown = false;
    bool InternalClick = false;
    TAdvButtonAppearance* Appearance = nullptr;
    TCustomImageList* Images = nullptr;
    int ImageIndex = -1;
    TModalResult ModalResult = 0;
    TAdvCustomDropDown* AdvDropDown = nullptr;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    virtual void DrawButton(TCanvas* ACanvas);
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    bool Down = false;
    bool Inside(int X, int Y);
    void CheckMouseOver();
    void UnHotTick(TObject* Sender);
    TTimer* UnHotTimer = nullptr;
};

// What the header and the footer share: an appearance copy, the button list
// and the painting of background, border, image and caption.
class TAdvBar : public TCustomControl {
public:
    ~TAdvBar() override;
    // Binds the bar to the editor (null detaches) and copies its appearance.
    virtual void AttachDropDown(TAdvCustomDropDown* Editor) = 0;
    void RebuildButtons();
    TCustomImageList* GetImages() const { return Images; }
    void SetImages(TCustomImageList* Value) { Images = Value; }
    TAdvCustomDropDown* GetAdvDropDown() const { return AdvDropDown; }
    TDbgList* GetButtonList() const { return ButtonList.get(); }
    TDropDownBarButtons* GetButtons() const;

    TDrawBackGroundEvent OnDrawBackGround;
    TGetTextEvent OnGetText;

protected:
    TAdvBar(TComponent* AOwner, bool Footer);
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    virtual void CreateButtons();
    virtual void ClearButtons();
    virtual void ArrangeButtons();
    virtual void UpdateButtons();
    virtual TDropDownBarAppearance* BarAppearance() const = 0;
    virtual TRect ButtonArea() const;
    virtual void PaintExtras(const TRect& R) {}
    void AppearanceChanged(TObject* Sender);
    void ButtonClick(TObject* Sender);

    TCustomImageList* Images = nullptr;
    TAdvCustomDropDown* AdvDropDown = nullptr;
    TOwned<TDbgList> ButtonList;
    bool IsFooter = false;

private:
    void FreeRetired();
    // Buttons taken off the bar, freed once the message that retired them
    // (perhaps a click of one of them) has returned.
    std::vector<TAdvButton*> retired_;
};

class TAdvHeader : public TAdvBar {
public:
    explicit TAdvHeader(TComponent* AOwner);
    void AttachDropDown(TAdvCustomDropDown* Editor) override;
    THeaderAppearance* GetAppearance() const { return Appearance.get(); }
    void SetAppearance(THeaderAppearance* Value) { Appearance->Assign(Value); }

protected:
    TDropDownBarAppearance* BarAppearance() const override { return Appearance.get(); }
    void ArrangeButtons() override;

private:
    TOwned<THeaderAppearance> Appearance;
};

class TAdvFooter : public TAdvBar {
public:
    explicit TAdvFooter(TComponent* AOwner);
    void AttachDropDown(TAdvCustomDropDown* Editor) override;
    TFooterAppearance* GetAppearance() const { return Appearance.get(); }
    void SetAppearance(TFooterAppearance* Value) { Appearance->Assign(Value); }
    // The grip shows: the appearance asks for it and the editor is sizeable.
    bool SizeGripActive() const;

protected:
    TDropDownBarAppearance* BarAppearance() const override { return Appearance.get(); }
    TRect ButtonArea() const override;
    void PaintExtras(const TRect& R) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    bool InGrip(int X, int Y) const;
    void RestoreCursor();
    TOwned<TFooterAppearance> Appearance;
    TCursor OldCursor = 0;
};

// ---------------------------------------------------------------------------
// The popup window.
class TDropDownForm : public TForm {
public:
    explicit TDropDownForm(TComponent* AOwner);

    void InitializeAndUpdate();
    Cardinal GetDeActivateTime() const { return FDeActivate; }
    bool GetShadow() const { return FShadow; }
    void SetShadow(bool Value) { FShadow = Value; }
    TAdvHeader* GetHeader() const { return FHeader; }
    TAdvFooter* GetFooter() const { return FFooter; }
    TAdvCustomDropDown* GetAdvDropDown() const { return FAdvDropDown; }
    void SetAdvDropDown(TAdvCustomDropDown* Value) { FAdvDropDown = Value; }
    TScrollBox* GetScrollBox() const { return FScrollBox; }
    bool GetSizeable() const { return FSizeable; }
    void SetSizeable(bool Value) { FSizeable = Value; }
    bool GetCancelOnDeActivate() const { return FCancelOnDeActivate; }
    void SetCancelOnDeActivate(bool Value) { FCancelOnDeActivate = Value; }
    bool GetBlockActivate() const { return FBlockActivate; }
    void SetBlockActivate(bool Value) { FBlockActivate = Value; }
    bool GetIsDeactivating() const { return FIsDeactivating; }
    virtual void UpdateSize() {}

    TNotifyEvent OnSizing;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void AdjustClientRect(RECT& Rect) override;
    void Paint() override;

private:
    void PaintBackground();
    void HandleActivate(TMessage& Message);

    Cardinal FDeActivate = 0;
    bool FShadow = true;
    TAdvFooter* FFooter = nullptr;
    TAdvHeader* FHeader = nullptr;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
    TScrollBox* FScrollBox = nullptr;
    bool FSizeable = false;
    bool FCancelOnDeActivate = true;
    bool FBlockActivate = false;
    bool FIsDeactivating = false;
};
