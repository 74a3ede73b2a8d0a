// The header and footer settings of the popup: defaults, copying, and the
// notifications that reach their owner.
#include "AdvDropDown.h"
#include <gtest/gtest.h>
#include <type_traits>

namespace {

using AdvDropDown::gdHorizontal;
using AdvDropDown::gdVertical;

template <class A>
constexpr bool IsFooter = std::is_same_v<A, TFooterAppearance>;

// Counts the notifications an appearance sends to its owner.
struct TNotifications {
    int changes = 0;
    int buttonChanges = 0;
    TObject* lastSender = nullptr;

    template <class A>
    void Listen(A* appearance)
    {
        appearance->OnChange = [this](TObject* sender) {
            ++changes;
            lastSender = sender;
        };
        appearance->OnButtonsChanged = [this](TObject* sender) {
            ++buttonChanges;
            lastSender = sender;
        };
    }
};

template <class A>
class BarAppearanceTest : public testing::Test {
protected:
    // The grid creates its appearances with itself as owner, before any
    // control window exists.
    TOwned<TComponent> grid_{New<TComponent>(nullptr)};
    TOwned<A> appearance_{New<A>(grid_.get())};

    TOwned<A> Make() const { return TOwned<A>(New<A>(grid_.get())); }

    // Every setting away from its default, and two buttons.
    static void Fill(A* a)
    {
        a->SetColor(0x112233);
        a->SetColorTo(clNone);
        a->SetBorderColor(0x445566);
        a->SetBorderWidth(3);
        a->SetCaption(L"<b>Pick</b> one");
        a->GetFont()->SetName(L"Arial");
        a->GetFont()->SetColor(clRed);
        a->GetFont()->SetStyle({fsBold});
        a->SetGradientDirection(gdHorizontal);
        a->SetVisible(false);
        a->SetHeight(31);
        a->SetImageIndex(4);
        a->SetButtonAlignment(baLeft);
        if constexpr (IsFooter<A>)
            a->SetSizeGrip(false);
        auto* ok = a->GetButtons()->Add();
        ok->SetCaption(L"OK");
        ok->SetWidth(40);
        ok->SetHeight(18);
        ok->SetImageIndex(2);
        ok->SetEnabled(false);
        if constexpr (IsFooter<A>)
            ok->SetModalResult(1);
        a->GetButtons()->Add()->SetCaption(L"Cancel");
    }

    static void ExpectSame(const A* a, const A* b)
    {
        EXPECT_EQ(a->GetColor(), b->GetColor());
        EXPECT_EQ(a->GetColorTo(), b->GetColorTo());
        EXPECT_EQ(a->GetBorderColor(), b->GetBorderColor());
        EXPECT_EQ(a->GetBorderWidth(), b->GetBorderWidth());
        EXPECT_EQ(a->GetCaption(), b->GetCaption());
        EXPECT_EQ(a->GetFont()->GetName(), b->GetFont()->GetName());
        EXPECT_EQ(a->GetFont()->GetColor(), b->GetFont()->GetColor());
        EXPECT_EQ(a->GetFont()->GetStyle(), b->GetFont()->GetStyle());
        EXPECT_EQ(a->GetGradientDirection(), b->GetGradientDirection());
        EXPECT_EQ(a->GetVisible(), b->GetVisible());
        EXPECT_EQ(a->GetHeight(), b->GetHeight());
        EXPECT_EQ(a->GetImageIndex(), b->GetImageIndex());
        EXPECT_EQ(a->GetButtonAlignment(), b->GetButtonAlignment());
        if constexpr (IsFooter<A>) {
            EXPECT_EQ(a->GetSizeGrip(), b->GetSizeGrip());
        }
        ASSERT_EQ(a->GetButtons()->Count(), b->GetButtons()->Count());
        for (int i = 0; i < a->GetButtons()->Count(); ++i) {
            auto* x = a->GetButtons()->GetItem(i);
            auto* y = b->GetButtons()->GetItem(i);
            EXPECT_NE(x, y) << "buttons are copied, not shared";
            EXPECT_EQ(x->GetCaption(), y->GetCaption());
            EXPECT_EQ(x->GetWidth(), y->GetWidth());
            EXPECT_EQ(x->GetHeight(), y->GetHeight());
            EXPECT_EQ(x->GetImageIndex(), y->GetImageIndex());
            EXPECT_EQ(x->GetEnabled(), y->GetEnabled());
            if constexpr (IsFooter<A>) {
                EXPECT_EQ(x->GetModalResult(), y->GetModalResult());
            }
        }
    }
};

using Appearances = testing::Types<THeaderAppearance, TFooterAppearance>;
TYPED_TEST_SUITE(BarAppearanceTest, Appearances);

TYPED_TEST(BarAppearanceTest, StartsVisibleSilverToWhiteWithABlackBorder)
{
    for (TPersistent* owner : {static_cast<TPersistent*>(this->grid_.get()), static_cast<TPersistent*>(nullptr)}) {
        TOwned<TypeParam> a(New<TypeParam>(owner));
        EXPECT_EQ(a->GetOwner(), owner);
        EXPECT_EQ(a->GetButtons()->GetOwner(), owner) << "the buttons belong to the appearance's owner";
        EXPECT_TRUE(a->GetVisible());
        EXPECT_EQ(a->GetHeight(), 22);
        EXPECT_EQ(a->GetBorderWidth(), 1);
        EXPECT_EQ(a->GetImageIndex(), -1);
        EXPECT_TRUE(a->GetCaption().empty());
        EXPECT_EQ(a->GetColor(), clSilver);
        EXPECT_EQ(a->GetColorTo(), clWhite);
        EXPECT_EQ(a->GetBorderColor(), clBlack);
        EXPECT_EQ(a->GetFont()->GetName(), L"Tahoma");
        EXPECT_EQ(a->GetGradientDirection(), gdVertical);
        EXPECT_EQ(a->GetButtonAlignment(), baRight);
        EXPECT_EQ(a->GetButtons()->Count(), 0);
        if constexpr (IsFooter<TypeParam>) {
            EXPECT_TRUE(a->GetSizeGrip());
        }
    }
}

TYPED_TEST(BarAppearanceTest, AssignCopiesEverythingAndReplacesTheButtons)
{
    auto source = this->Make();
    this->Fill(source.get());
    this->appearance_->GetButtons()->Add()->SetCaption(L"old");
    TNotifications heard;
    heard.Listen(this->appearance_.get());

    this->appearance_->Assign(source.get());
    this->ExpectSame(this->appearance_.get(), source.get());
    EXPECT_NE(this->appearance_->GetFont(), source->GetFont()) << "the font is copied by value";
    EXPECT_EQ(heard.changes, 1) << "visibility changed once";
    EXPECT_EQ(heard.lastSender, this->appearance_.get());

    // Back to the defaults: the appearance of a fresh object.
    auto defaults = this->Make();
    this->appearance_->Assign(defaults.get());
    this->ExpectSame(this->appearance_.get(), defaults.get());
    EXPECT_EQ(heard.changes, 2);
}

TYPED_TEST(BarAppearanceTest, OnlyAChangeOfVisibilityNotifiesTheOwner)
{
    TNotifications heard;
    heard.Listen(this->appearance_.get());
    auto* a = this->appearance_.get();
    a->SetVisible(true);
    a->SetHeight(40);
    a->SetColor(clRed);
    a->SetCaption(L"x");
    a->SetBorderWidth(0);
    a->GetFont()->SetSize(20);
    EXPECT_EQ(heard.changes, 0);
    a->SetVisible(false);
    a->SetVisible(false);
    EXPECT_EQ(heard.changes, 1);
    EXPECT_EQ(heard.lastSender, a);
    EXPECT_EQ(heard.buttonChanges, 0);

    // Equal visibility: the height comes across silently.
    auto source = this->Make();
    source->SetVisible(false);
    source->SetHeight(50);
    a->Assign(source.get());
    EXPECT_EQ(a->GetHeight(), 50);
    EXPECT_EQ(heard.changes, 1);
}

TYPED_TEST(BarAppearanceTest, CaptionEnabledAndWidthOfAButtonReachTheOwner)
{
    TNotifications heard;
    heard.Listen(this->appearance_.get());
    auto* buttons = this->appearance_->GetButtons();
    auto* button = buttons->Add();
    buttons->Insert(0);
    buttons->Add();
    buttons->Delete(2);
    buttons->Exchange(0, 1);
    EXPECT_EQ(heard.buttonChanges, 0) << "adding, removing and moving buttons is silent";

    button->SetHeight(12);
    button->SetImageIndex(3);
    EXPECT_EQ(heard.buttonChanges, 0);
    button->SetWidth(30);
    EXPECT_EQ(heard.buttonChanges, 1);
    EXPECT_EQ(heard.lastSender, this->appearance_.get());
    button->SetWidth(30);
    button->SetCaption(String());
    button->SetEnabled(true);
    EXPECT_EQ(heard.buttonChanges, 1) << "storing the same values is silent";
    button->SetCaption(L"Apply");
    button->SetEnabled(false);
    EXPECT_EQ(heard.buttonChanges, 3);
    EXPECT_EQ(heard.changes, 0);
}

TYPED_TEST(BarAppearanceTest, ForeignSourcesAndItselfChangeNothing)
{
    this->Fill(this->appearance_.get());
    auto before = this->Make();
    before->Assign(this->appearance_.get());

    using Other = std::conditional_t<IsFooter<TypeParam>, THeaderAppearance, TFooterAppearance>;
    TOwned<Other> other(New<Other>(this->grid_.get()));
    TOwned<TFont> font(New<TFont>());
    this->appearance_->Assign(other.get());
    this->appearance_->Assign(font.get());
    this->appearance_->Assign(nullptr);
    this->appearance_->AssignColors(other.get());
    this->appearance_->Assign(this->appearance_.get());
    this->ExpectSame(this->appearance_.get(), before.get());
}

TYPED_TEST(BarAppearanceTest, AssignColorsTakesColoursFontAndDirectionOnly)
{
    auto source = this->Make();
    this->Fill(source.get());
    TNotifications heard;
    heard.Listen(this->appearance_.get());
    auto* a = this->appearance_.get();
    a->AssignColors(source.get());
    EXPECT_EQ(a->GetColor(), 0x112233);
    EXPECT_EQ(a->GetColorTo(), clNone);
    EXPECT_EQ(a->GetBorderColor(), 0x445566);
    EXPECT_EQ(a->GetFont()->GetName(), L"Arial");
    EXPECT_EQ(a->GetGradientDirection(), gdHorizontal);
    EXPECT_TRUE(a->GetVisible());
    EXPECT_EQ(a->GetHeight(), 22);
    EXPECT_TRUE(a->GetCaption().empty());
    EXPECT_EQ(a->GetButtons()->Count(), 0);
    EXPECT_EQ(heard.changes + heard.buttonChanges, 0);
}

TYPED_TEST(BarAppearanceTest, FontAndButtonsAreWrittenByCopy)
{
    auto source = this->Make();
    this->Fill(source.get());
    TFont* ownFont = this->appearance_->GetFont();
    auto* ownButtons = this->appearance_->GetButtons();
    this->appearance_->SetFont(source->GetFont());
    this->appearance_->SetButtons(source->GetButtons());
    EXPECT_EQ(this->appearance_->GetFont(), ownFont);
    EXPECT_EQ(ownFont->GetName(), L"Arial");
    EXPECT_EQ(this->appearance_->GetButtons(), ownButtons);
    ASSERT_EQ(ownButtons->Count(), 2);
    EXPECT_EQ(ownButtons->GetItem(1)->GetCaption(), L"Cancel");
}

// ---------------------------------------------------------------------------
TEST(BarButtonTest, ButtonsCopyOnlyFromTheirOwnKind)
{
    TOwned<THeaderButtons> headers(New<THeaderButtons>(nullptr));
    TOwned<TFooterButtons> footers(New<TFooterButtons>(nullptr));
    auto* footer = footers->Add();
    footer->SetCaption(L"Close");
    footer->SetModalResult(2);
    footer->SetWidth(50);
    auto* copy = footers->Add();
    copy->Assign(footer);
    EXPECT_EQ(copy->GetCaption(), L"Close");
    EXPECT_EQ(copy->GetModalResult(), 2);
    EXPECT_EQ(copy->GetWidth(), 50);

    auto* header = headers->Add();
    EXPECT_THROW(header->Assign(footer), EConvertError);
    EXPECT_THROW(footer->Assign(header), EConvertError);
    try {
        header->Assign(footer);
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"Cannot assign a TFooterButton to a THeaderButton");
    }
    EXPECT_TRUE(header->GetCaption().empty());
}

// ---------------------------------------------------------------------------
using ColorGetter = TColor (TAdvButtonAppearance::*)() const;
using ColorSetter = void (TAdvButtonAppearance::*)(TColor);

struct ButtonColor {
    const char* name;
    ColorGetter get;
    ColorSetter set;
    TColor initial;
};

const ButtonColor buttonColors[] = {
    {"BorderColor", &TAdvButtonAppearance::GetBorderColor, &TAdvButtonAppearance::SetBorderColor, clNone},
    {"BorderColorHot", &TAdvButtonAppearance::GetBorderColorHot, &TAdvButtonAppearance::SetBorderColorHot, 0x808080},
    {"BorderColorDown", &TAdvButtonAppearance::GetBorderColorDown, &TAdvButtonAppearance::SetBorderColorDown,
     0x800000},
    {"BorderColorDisabled", &TAdvButtonAppearance::GetBorderColorDisabled,
     &TAdvButtonAppearance::SetBorderColorDisabled, 0x808080},
    {"BorderColorChecked", &TAdvButtonAppearance::GetBorderColorChecked,
     &TAdvButtonAppearance::SetBorderColorChecked, 0xFF0000},
    {"Color", &TAdvButtonAppearance::GetColor, &TAdvButtonAppearance::SetColor, clNone},
    {"ColorTo", &TAdvButtonAppearance::GetColorTo, &TAdvButtonAppearance::SetColorTo, clNone},
    {"ColorDown", &TAdvButtonAppearance::GetColorDown, &TAdvButtonAppearance::SetColorDown, 0xF5D8CA},
    {"ColorDownTo", &TAdvButtonAppearance::GetColorDownTo, &TAdvButtonAppearance::SetColorDownTo, 0xF9BDA0},
    {"ColorHot", &TAdvButtonAppearance::GetColorHot, &TAdvButtonAppearance::SetColorHot, 0xF5F0E1},
    {"ColorHotTo", &TAdvButtonAppearance::GetColorHotTo, &TAdvButtonAppearance::SetColorHotTo, 0xF9D2B2},
    {"ColorChecked", &TAdvButtonAppearance::GetColorChecked, &TAdvButtonAppearance::SetColorChecked, 0xF5D8CA},
    {"ColorCheckedTo", &TAdvButtonAppearance::GetColorCheckedTo, &TAdvButtonAppearance::SetColorCheckedTo,
     0xF9BDA0},
    {"ColorDisabled", &TAdvButtonAppearance::GetColorDisabled, &TAdvButtonAppearance::SetColorDisabled, 0xF2F2F2},
    {"ColorDisabledTo", &TAdvButtonAppearance::GetColorDisabledTo, &TAdvButtonAppearance::SetColorDisabledTo,
     clNone},
};

TEST(ButtonAppearanceTest, EveryColourStartsAtItsDefaultAndNotifiesOnlyRealChanges)
{
    TOwned<TAdvButtonAppearance> a(New<TAdvButtonAppearance>());
    EXPECT_EQ(a->GetGradient(), gdVertical);
    EXPECT_EQ(a->GetFont()->GetName(), L"Tahoma");
    int changes = 0;
    a->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, a.get());
        ++changes;
    };
    for (const ButtonColor& c : buttonColors) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ((a.get()->*c.get)(), c.initial);
        changes = 0;
        (a.get()->*c.set)(c.initial);
        EXPECT_EQ(changes, 0);
        (a.get()->*c.set)(0x010203);
        EXPECT_EQ((a.get()->*c.get)(), 0x010203);
        EXPECT_EQ(changes, 1);
    }
    changes = 0;
    a->SetGradient(gdVertical);
    a->SetGradient(gdHorizontal);
    EXPECT_EQ(changes, 1);
}

TEST(ButtonAppearanceTest, AssignCopiesEveryColourTheGradientAndTheFont)
{
    TOwned<TAdvButtonAppearance> source(New<TAdvButtonAppearance>());
    TOwned<TAdvButtonAppearance> target(New<TAdvButtonAppearance>());
    TColor value = 0x100000;
    for (const ButtonColor& c : buttonColors)
        (source.get()->*c.set)(value += 0x010101);
    source->SetGradient(gdHorizontal);
    source->GetFont()->SetName(L"Courier New");
    source->GetFont()->SetSize(14);

    int changes = 0;
    target->OnChange = [&](TObject*) { ++changes; };
    target->Assign(source.get());
    for (const ButtonColor& c : buttonColors)
        EXPECT_EQ((target.get()->*c.get)(), (source.get()->*c.get)()) << c.name;
    EXPECT_EQ(target->GetGradient(), gdHorizontal);
    EXPECT_EQ(target->GetFont()->GetName(), L"Courier New");
    EXPECT_EQ(target->GetFont()->GetSize(), 14);
    EXPECT_EQ(changes, static_cast<int>(std::size(buttonColors)) + 1) << "one notification per changed value";

    changes = 0;
    target->Assign(source.get());
    EXPECT_EQ(changes, 0);

    TOwned<THeaderAppearance> header(New<THeaderAppearance>(nullptr));
    EXPECT_THROW(target->Assign(header.get()), EConvertError);
}

} // namespace
