// Skinned labels on real forms: a TsLabel paints its section under text in
// the skin's text colour, mixes it when disabled and gives ParentFont back
// when the skin goes; a TsHTMLLabel follows real mouse moves over its link
// (hot colour, hand cursor) and a click reports the link without opening it
// when the default action is refused.
#include "../engine/SkinnedControls.h"
#include "acLibraryGlobals.h"
#include "sLabel.h"

using namespace skinned_controls;

namespace {

void MoveMouseTo(POINT Screen)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(Screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(Screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
    for (int i = 0; i < 20; ++i) {
        testing_support::PumpMessages();
        Sleep(2);
    }
}

void Click(DWORD Flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = Flags;
    SendInput(1, &in, sizeof(in));
    for (int i = 0; i < 20; ++i) {
        testing_support::PumpMessages();
        Sleep(2);
    }
}

// Pixels of exactly this colour inside R of the printed window.
int CountIn(TBitmap* Bmp, const RECT& R, COLORREF Color)
{
    int n = 0;
    for (int y = R.top; y < R.bottom; ++y)
        for (int x = R.left; x < R.right; ++x)
            n += PixelAt(Bmp, x, y) == Color;
    return n;
}

// The form's client area with its controls as it paints them, into a 32-bit DIB.
TOwned<TBitmap> Painted(TForm* Form)
{
    const RECT c = Form->GetClientRect();
    TOwned<TBitmap> bmp(MakeBitmap32(c.right, c.bottom));
    Form->PaintTo(bmp->GetCanvas()->GetHandle(), 0, 0);
    return bmp;
}

// The label's rectangle in its form's client area.
RECT InWindow(TForm*, TControl* Label)
{
    return Label->GetBoundsRect();
}

void BigPlainFont(TFont* Font)
{
    Font->SetName(L"Tahoma");
    Font->SetSize(24);
    Font->SetStyle(TFontStyles{fsBold});
    Font->SetQuality(fqNonAntialiased);
}

} // namespace

TEST(SkinnedLabel, SectionBackgroundSkinTextColourAndTheDisabledMix)
{
    TControlsScene scene;
    auto* label = New<TsLabel>(scene.form.get());
    label->SetParent(scene.form.get());
    label->SetAutoSize(false);
    label->SetBounds(20, 20, 200, 50);
    BigPlainFont(label->GetFont());
    label->SetCaption(L"HH");
    label->SetSkinManager(scene.manager.get());
    label->SetSkinSection(L"SOLID");
    testing_support::PumpMessages();

    EXPECT_EQ(label->GetTextColor(), 0x210000) << "the section's font colour (#000021 as written)";
    TOwned<TBitmap> shot = Painted(scene.form.get());
    const RECT r = InWindow(scene.form.get(), label);
    EXPECT_EQ(PixelAt(shot.get(), r.right - 5, r.bottom - 5), RGB(0xC0, 0x30, 0x30)) << "the section's colour";
    EXPECT_GT(CountIn(shot.get(), r, RGB(0, 0, 0x21)), 50) << "text in the skin's colour";

    // Disabled: the skin's colour mixed with the parent's.
    label->SetEnabled(false);
    const TColor disabled = label->GetTextColor();
    EXPECT_NE(disabled, 0x210000);
    EXPECT_EQ(static_cast<Cardinal>(disabled),
              MixColors(0x210000, ColorToRGB(GetControlColor(scene.form.get())), DisabledFontBlend));

    // Without the skin colour the label's own font colour shows.
    label->SetEnabled(true);
    label->SetUseSkinColor(false);
    label->GetFont()->SetColor(0x0000FF);
    EXPECT_EQ(label->GetTextColor(), 0x0000FF);
}

TEST(SkinnedLabel, SkinRemovedGivesParentFontBack)
{
    TControlsScene scene;
    auto* label = New<TsLabel>(scene.form.get());
    label->SetParent(scene.form.get());
    label->SetParentFont(true);
    label->Perform(SkinCommandMessage, SkinCommandWParam(SKC_REPAINT_SKIN), 0);
    label->GetFont()->SetSize(30); // a skin's font change takes ParentFont away
    EXPECT_FALSE(label->GetParentFont());
    label->Perform(SkinCommandMessage, SkinCommandWParam(SKC_SKIN_REMOVED), 0);
    EXPECT_TRUE(label->GetParentFont());
}

TEST(SkinnedLabel, HtmlLinkFollowsTheMouseAndReportsItsClick)
{
    MoveMouseTo({2, 2});
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBounds(120, 120, 360, 160);
    form->SetColor(clWhite);
    auto* label = New<TsHTMLLabel>(form.get());
    label->SetParent(form.get());
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 320, 60);
    BigPlainFont(label->GetFont());
    label->SetCaption(L"go <A HREF='http://x.test/'>link</A> >x<I>y</I>");
    EXPECT_EQ(label->PlainCaption(), L"go link >xy");
    String clicked;
    label->OnLinkClick = [&clicked](TObject*, String& Link, bool& DefaultAction) {
        clicked = Link;
        DefaultAction = false;
    };
    form->Show();
    testing_support::PumpMessages();
    label->Repaint();
    testing_support::PumpMessages();
    ASSERT_EQ(label->GetLinks().size(), 1u);
    const TRect link = label->GetLinks()[0].Bounds;
    EXPECT_EQ(label->GetLinks()[0].URL, L"http://x.test/");

    TOwned<TBitmap> cold = Painted(form.get());
    const RECT r = InWindow(form.get(), label);
    const RECT linkRect{r.left + link.left, r.top + link.top, r.left + link.right, r.top + link.bottom};
    EXPECT_GT(CountIn(cold.get(), linkRect, RGB(0, 0, 0xFF)), 50) << "a link is blue";

    const POINT centre = label->ClientToScreen({(link.left + link.right) / 2, (link.top + link.bottom) / 2});
    MoveMouseTo(centre);
    EXPECT_EQ(label->GetHotLink(), 0);
    EXPECT_EQ(label->GetCursor(), crHandPoint);
    Click(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(label->GetPressedLink(), 0);
    label->Repaint();
    testing_support::PumpMessages();
    TOwned<TBitmap> pressed = Painted(form.get());
    EXPECT_GT(CountIn(pressed.get(), linkRect, RGB(0xFF, 0, 0)), 50) << "a pressed hot link is red";
    Click(MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(clicked, L"http://x.test/");
    EXPECT_EQ(label->GetPressedLink(), -1);

    // Leaving the label forgets the hot link.
    MoveMouseTo({2, 2});
    for (int i = 0; i < 100 && label->GetHotLink() != -1; ++i) {
        testing_support::PumpMessages();
        Sleep(5);
    }
    EXPECT_EQ(label->GetHotLink(), -1);
    EXPECT_EQ(label->GetCursor(), crDefault);
}

TEST(SkinnedLabel, EditLabelIsRegisteredAndClearsItsBinding)
{
    const TComponentFactory factory = FindStreamClass(L"TsEditLabel");
    ASSERT_TRUE(factory);
    TOwned<TComponent> made(factory(nullptr));
    EXPECT_NE(dynamic_cast<TsEditLabel*>(made.get()), nullptr);
    TsEditLabel* bound = nullptr;
    bound = TsEditLabel::InternalCreate(nullptr, &bound);
    ASSERT_NE(bound, nullptr);
    TOwned<TsEditLabel> owner(bound);
    owner.reset();
    EXPECT_EQ(bound, nullptr);
}
