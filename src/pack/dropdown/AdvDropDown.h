// The drop-down editors' shared unit: drawing helpers, the text tests behind
// the typed-input rules, and the settings objects of the popup's header and
// footer bars and of the bar buttons.
#pragma once

#include "Classes.h"
#include "Forms.h"
#include "Graphics.h"

class TCustomImageList;

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
