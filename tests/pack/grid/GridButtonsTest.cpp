// The grid family's flat button and check box on a real form, driven by
// mouse and key messages: groups, checking buttons, looks and the colour
// scheme they follow, the glyph's shade and disabled rendering, faces as
// painted, and the check box's toggles.
#include "AdvGridButtons.h"
#include "Forms.h"
#include "PlatformProbe.h"
#include "TestSupport.h"
#include <gtest/gtest.h>

using testing_support::PumpMessages;

namespace {

struct TButtonForm {
    TForm* form = nullptr;
    TButtonForm()
    {
        form = New<TForm>(nullptr);
        form->SetBounds(0, 0, 400, 200);
        form->Show();
    }
    ~TButtonForm() { form->Free(); }
    TAdvGridButton* Button(int Left)
    {
        auto* b = New<TAdvGridButton>(form);
        b->SetParent(form);
        b->SetBounds(Left, 10, 40, 24);
        return b;
    }
    void Click(TControl* c, int dx = 10, int dy = 10)
    {
        const LPARAM at = MAKELPARAM(c->GetLeft() + dx, c->GetTop() + dy);
        SendMessageW(form->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(form->GetHandle(), WM_LBUTTONUP, 0, at);
    }
    COLORREF Pixel(int x, int y)
    {
        TOwned<TBitmap> b(New<TBitmap>());
        b->SetPixelFormat(pf32bit);
        b->SetSize(form->GetClientWidth(), form->GetClientHeight());
        form->PaintTo(b->GetCanvas()->GetHandle(), 0, 0);
        const DWORD p = static_cast<const DWORD*>(b->GetScanLine(y))[x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
};

} // namespace

TEST(GridButton, GroupsCheckingAndClicks)
{
    TButtonForm f;
    TAdvGridButton* loose = f.Button(0);
    loose->SetDown(true);
    EXPECT_FALSE(loose->GetDown()) << "no group, no check: never stays down";
    int clicks = 0;
    loose->OnClick = [&](TObject*) { ++clicks; };
    f.Click(loose);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(loose->GetDown());

    TAdvGridButton* first = f.Button(50);
    TAdvGridButton* second = f.Button(100);
    first->SetGroupIndex(1);
    second->SetGroupIndex(1);
    f.Click(first);
    EXPECT_TRUE(first->GetDown());
    f.Click(second);
    EXPECT_TRUE(second->GetDown());
    EXPECT_FALSE(first->GetDown()) << "pressing the second releases the first";
    f.Click(second);
    EXPECT_TRUE(second->GetDown()) << "without AllowAllUp the down button stays down";
    second->SetAllowAllUp(true);
    EXPECT_TRUE(first->GetAllowAllUp()) << "the group takes the setting";
    f.Click(second);
    EXPECT_FALSE(second->GetDown());

    TAdvGridButton* check = f.Button(150);
    check->SetStyle(tasCheck);
    f.Click(check);
    EXPECT_TRUE(check->GetDown());
    f.Click(check);
    EXPECT_FALSE(check->GetDown());

    // A release outside the button is no click.
    clicks = 0;
    SendMessageW(f.form->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 15));
    SendMessageW(f.form->GetHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 150));
    SendMessageW(f.form->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(300, 150));
    EXPECT_EQ(clicks, 0);
}

TEST(GridButton, DropDownPartFiresItsOwnEvent)
{
    TButtonForm f;
    TAdvGridButton* b = f.Button(0);
    b->SetDropDownButton(true);
    int drops = 0, clicks = 0;
    b->OnDropDown = [&](TObject*) { ++drops; };
    b->OnClick = [&](TObject*) { ++clicks; };
    f.Click(b, 35, 10);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(clicks, 0);
    f.Click(b, 5, 10);
    EXPECT_EQ(clicks, 1);
}

TEST(GridButton, LooksAndTheColourScheme)
{
    TButtonForm f;
    TAdvGridButton* b = f.Button(0);
    struct Case {
        int look;
        TColor color, colorTo, hot, down, borderHot;
        bool rounded;
    };
    const Case cases[] = {
        {0, 0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE0E6E7, 0xC3CECE, true},
        {1, clBtnFace, clNone, 0xEED2C1, 0xE2B598, 0xC56A31, false},
        {4, 0xECE2E1, 0xB39698, 0xCCF4FF, 0x4E91FE, 0, false},
        {6, 0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x4DE0FB, 0x808080, false},
    };
    for (const Case& c : cases) {
        b->SetFlat(false);
        b->SetLook(c.look);
        EXPECT_EQ(b->GetColor(), c.color) << c.look;
        EXPECT_EQ(b->GetColorTo(), c.colorTo) << c.look;
        EXPECT_EQ(b->GetColorHot(), c.hot) << c.look;
        EXPECT_EQ(b->GetColorDown(), c.down) << c.look;
        EXPECT_EQ(b->GetBorderHotColor(), c.borderHot) << c.look;
        EXPECT_EQ(b->GetRounded(), c.rounded) << c.look;
        EXPECT_TRUE(b->GetFlat()) << c.look;
        EXPECT_EQ(b->GetBorderColor(), clNone);
    }
    b->SetLook(7);
    EXPECT_EQ(b->GetColor(), TColor(0xCAFFFF)) << "look 7 changes nothing";
    EXPECT_EQ(b->GetLook(), 6);

    struct Scheme {
        const wchar_t* name;
        bool themed;
        int look;
    };
    const Scheme schemes[] = {
        {L"NormalColor", true, 2}, {L"HomeStead", true, 3}, {L"Metallic", true, 4},
        {L"Royale", true, 1},      {L"NormalColor", false, 1},
    };
    for (const Scheme& s : schemes)
        EXPECT_EQ(LookForColorScheme(s.name, s.themed), s.look) << s.name;
    // Here no visual style is active: the button adapts to look 1.
    PlatformProbe().ThemeActive = false;
    b->SetAutoThemeAdapt(true);
    EXPECT_EQ(b->GetLook(), 1);
    ResetPlatformProbe();
}

TEST(GridButton, ShadeAndDisabledGlyph)
{
    TButtonForm f;
    TAdvGridButton* b = f.Button(0);
    TOwned<TBitmap> glyph(New<TBitmap>());
    glyph->SetPixelFormat(pf24bit);
    glyph->SetSize(16, 16);
    glyph->GetCanvas()->GetBrush()->SetColor(clWhite);
    glyph->GetCanvas()->FillRect(TRect(0, 0, 16, 16));
    glyph->GetCanvas()->GetBrush()->SetColor(static_cast<TColor>(RGB(30, 60, 90)));
    glyph->GetCanvas()->FillRect(TRect(4, 4, 12, 12));
    b->SetGlyph(glyph.get());
    TBitmap* shade = b->GetShade();
    ASSERT_EQ(shade->GetWidth(), 16);
    EXPECT_EQ(ColorToRGB(shade->GetCanvas()->GetPixels(6, 6)), RGB(128, 128, 128));
    EXPECT_EQ(ColorToRGB(shade->GetCanvas()->GetPixels(1, 1)), RGB(255, 255, 255));
    // Disabled: (30 + 60 + 90) / 3 = 60, / 2 + 96 = 126; white: 127 + 96 = 223.
    TBitmap* disabled = b->GetGlyphDisabled();
    EXPECT_EQ(ColorToRGB(disabled->GetCanvas()->GetPixels(6, 6)), RGB(126, 126, 126));
    EXPECT_EQ(ColorToRGB(disabled->GetCanvas()->GetPixels(1, 1)), RGB(223, 223, 223));
}

TEST(GridButton, FacesAsPainted)
{
    TButtonForm f;
    TAdvGridButton* b = f.Button(20);
    b->SetBounds(20, 20, 60, 40);
    b->SetColor(static_cast<TColor>(RGB(200, 0, 0)));
    EXPECT_EQ(f.Pixel(50, 40), RGB(200, 0, 0)) << "solid face";
    b->SetColorTo(static_cast<TColor>(RGB(0, 0, 200)));
    const COLORREF top = f.Pixel(50, 23);
    const COLORREF bottom = f.Pixel(50, 56);
    EXPECT_GT(GetRValue(top), 170);
    EXPECT_GT(GetBValue(bottom), 150) << "a vertical gradient to ColorTo";
    b->SetStyle(tasCheck);
    b->SetColorChecked(static_cast<TColor>(RGB(0, 160, 0)));
    b->SetColorCheckedTo(clNone);
    b->SetDown(true);
    EXPECT_EQ(f.Pixel(50, 40), RGB(0, 160, 0)) << "a checked button shows ColorChecked";
}

TEST(GridCheckBox, TogglesByMouseSpaceAndNotWhenReadOnly)
{
    TButtonForm f;
    auto* other = New<TAdvCheckBox>(f.form);
    other->SetParent(f.form);
    other->SetBounds(10, 100, 98, 20);
    auto* box = New<TAdvCheckBox>(f.form);
    box->SetParent(f.form);
    box->SetBounds(10, 10, 98, 20);
    EXPECT_EQ(box->GetCaption(), L"TAdvCheckBox");
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    other->SetFocus();
    PumpMessages();

    const HWND h = box->GetHandle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 8));
    EXPECT_TRUE(box->Focused()) << "the press takes the focus";
    EXPECT_TRUE(box->GetDown());
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 8));
    EXPECT_TRUE(box->GetChecked()) << "so the release toggles";
    EXPECT_FALSE(box->GetDown());
    EXPECT_EQ(clicks, 1);

    // Released outside: no toggle.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 8));
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 80));
    EXPECT_FALSE(box->GetDown());
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(200, 80));
    EXPECT_TRUE(box->GetChecked());
    EXPECT_EQ(clicks, 1);

    SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(box->GetDown());
    SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
    EXPECT_FALSE(box->GetChecked());
    EXPECT_EQ(clicks, 2);

    box->SetReadOnly(true);
    SendMessageW(h, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(h, WM_KEYUP, VK_SPACE, 0);
    EXPECT_FALSE(box->GetChecked()) << "read-only stays";
    EXPECT_EQ(clicks, 3) << "but still clicks";

    box->SetState(cbGrayed);
    EXPECT_FALSE(box->GetChecked());
    box->SetChecked(true);
    EXPECT_EQ(box->GetState(), cbChecked);
}
