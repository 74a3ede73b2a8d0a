// Settings of the popup's header and footer bars, their buttons, and the
// state colours of a bar button.
#include "AdvDropDown.h"

// ---------------------------------------------------------------------------
// Bar buttons

TDropDownBarButton::TDropDownBarButton(TCollection* Collection) : TCollectionItem(Collection) {}

void TDropDownBarButton::SetCaption(const String& Value)
{
    if (Value == caption_)
        return;
    caption_ = Value;
    ButtonChanged();
}

void TDropDownBarButton::SetEnabled(bool Value)
{
    if (Value == enabled_)
        return;
    enabled_ = Value;
    ButtonChanged();
}

void TDropDownBarButton::SetWidth(int Value)
{
    if (Value == width_)
        return;
    width_ = Value;
    ButtonChanged();
}

void TDropDownBarButton::ButtonChanged()
{
    auto* buttons = dynamic_cast<TDropDownBarButtons*>(GetCollection());
    if (buttons && buttons->OnChange)
        buttons->OnChange(buttons);
}

void TDropDownBarButton::AssignButton(const TDropDownBarButton& Source)
{
    SetCaption(Source.caption_);
    imageIndex_ = Source.imageIndex_;
    SetEnabled(Source.enabled_);
    SetWidth(Source.width_);
    SetHeight(Source.height_);
}

void THeaderButton::Assign(TPersistent* Source)
{
    if (auto* source = dynamic_cast<THeaderButton*>(Source))
        AssignButton(*source);
    else
        TDropDownBarButton::Assign(Source);
}

void TFooterButton::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TFooterButton*>(Source);
    if (!source) {
        TDropDownBarButton::Assign(Source);
        return;
    }
    modalResult_ = source->modalResult_;
    AssignButton(*source);
}

// ---------------------------------------------------------------------------
// Header and footer appearances

TDropDownBarAppearance::TDropDownBarAppearance(TPersistent* AOwner, TDropDownBarButtons* Buttons)
    : owner_(AOwner), font_(New<TFont>()), buttons_(Buttons)
{
    buttons_->OnChange = [this](TObject*) {
        if (OnButtonsChanged)
            OnButtonsChanged(this);
    };
}

void TDropDownBarAppearance::SetVisible(bool Value)
{
    if (Value == visible_)
        return;
    visible_ = Value;
    if (OnChange)
        OnChange(this);
}

void TDropDownBarAppearance::AssignBarColors(const TDropDownBarAppearance& Source)
{
    colorTo_ = Source.colorTo_;
    color_ = Source.color_;
    borderColor_ = Source.borderColor_;
    font_->Assign(Source.font_.get());
    gradientDirection_ = Source.gradientDirection_;
}

void TDropDownBarAppearance::AssignBar(const TDropDownBarAppearance& Source)
{
    // Copying the buttons onto themselves would empty them.
    if (&Source == this)
        return;
    AssignBarColors(Source);
    caption_ = Source.caption_;
    imageIndex_ = Source.imageIndex_;
    borderWidth_ = Source.borderWidth_;
    gradientDirection_ = Source.gradientDirection_;
    height_ = Source.height_;
    // Through the setter, so that the owner hears of a change of visibility
    // only, and after the rest so that it sees the new values.
    SetVisible(Source.visible_);
    buttonAlignment_ = Source.buttonAlignment_;
    buttons_->Assign(Source.buttons_.get());
}

THeaderAppearance::THeaderAppearance(TPersistent* AOwner)
    : TDropDownBarAppearance(AOwner, New<THeaderButtons>(AOwner))
{
    GetFont()->SetName(L"Tahoma");
}

void THeaderAppearance::Assign(TPersistent* Source)
{
    if (auto* source = dynamic_cast<THeaderAppearance*>(Source))
        AssignBar(*source);
}

void THeaderAppearance::AssignColors(TPersistent* Source)
{
    if (auto* source = dynamic_cast<THeaderAppearance*>(Source))
        AssignBarColors(*source);
}

TFooterAppearance::TFooterAppearance(TPersistent* AOwner)
    : TDropDownBarAppearance(AOwner, New<TFooterButtons>(AOwner))
{
}

void TFooterAppearance::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TFooterAppearance*>(Source);
    if (!source)
        return;
    sizeGrip_ = source->sizeGrip_;
    AssignBar(*source);
}

void TFooterAppearance::AssignColors(TPersistent* Source)
{
    if (auto* source = dynamic_cast<TFooterAppearance*>(Source))
        AssignBarColors(*source);
}

// ---------------------------------------------------------------------------
// Button appearance

TAdvButtonAppearance::TAdvButtonAppearance() : font_(New<TFont>())
{
    font_->SetName(L"Tahoma");
    // The latched-down face is the hot face darkened in red and green.
    colorChecked_ = ScaleColorChannels(colorHot_, -10, -10, 0);
    colorCheckedTo_ = ScaleColorChannels(colorHotTo_, -10, -10, 0);
}

void TAdvButtonAppearance::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TAdvButtonAppearance*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    SetColor(source->color_);
    SetColorTo(source->colorTo_);
    SetColorHot(source->colorHot_);
    SetColorHotTo(source->colorHotTo_);
    SetColorDown(source->colorDown_);
    SetColorDownTo(source->colorDownTo_);
    SetColorChecked(source->colorChecked_);
    SetColorCheckedTo(source->colorCheckedTo_);
    SetColorDisabled(source->colorDisabled_);
    SetColorDisabledTo(source->colorDisabledTo_);
    SetBorderColor(source->borderColor_);
    SetBorderColorHot(source->borderColorHot_);
    SetBorderColorDown(source->borderColorDown_);
    SetBorderColorChecked(source->borderColorChecked_);
    SetBorderColorDisabled(source->borderColorDisabled_);
    SetGradient(source->gradient_);
    font_->Assign(source->font_.get());
}

void TAdvButtonAppearance::SetGradient(AdvDropDown::TGradientDirection Value)
{
    if (Value == gradient_)
        return;
    gradient_ = Value;
    Changed();
}

void TAdvButtonAppearance::Store(TColor& field, TColor value)
{
    if (value == field)
        return;
    field = value;
    Changed();
}

void TAdvButtonAppearance::Changed()
{
    if (OnChange)
        OnChange(this);
}
