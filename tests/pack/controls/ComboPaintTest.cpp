// The combo box base's own look, read from the shown window: the platform's
// look untouched without Flat and colours, the two-colour frame and its
// active sunken edge, border and focus border colours, the line under a
// flat control, the coloured drop button and the classic button's edges.
#include "AdvCombo.h"
#include "PackControlsTestSupport.h"
#include "PlatformProbe.h"

using namespace pack_test;

namespace {

class ComboLook : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        other = New<TEdit>(form);
        other->SetBounds(300, 10, 80, 21);
        other->SetParent(form);
        combo = Make(10, 10);
        ShowForm();
        other->SetFocus();
        Pump();
    }
    void TearDown() override
    {
        ResetPlatformProbe();
        FormTest::TearDown();
    }
    TAdvCustomCombo* Make(int Left, int Top)
    {
        auto* c = New<TAdvCustomCombo>(form);
        c->SetStyle(csDropDownList);
        c->SetBounds(Left, Top, 140, 24);
        c->SetParent(form);
        for (const wchar_t* text : {L"English", L"Russian"})
            c->GetItems()->Add(text);
        return c;
    }
    TColor At(int X, int Y) { return TSnapshot(combo->Handle()).Pixel(X, Y); }
    void Hover(TControl* Control, int X, int Y)
    {
        const POINT p = Control->ClientToScreen({X, Y});
        SetCursorPos(p.x, p.y);
        Pump();
    }
    // The left of the button area and the drawn button's rectangle.
    TRect ButtonRect()
    {
        const int w = combo->GetWidth(), h = combo->GetHeight();
        return TRect(combo->GetClientWidth() - combo->GetButtonWidth() + 3, 1, w - 1, h - 1);
    }
    TEdit* other = nullptr;
    TAdvCustomCombo* combo = nullptr;
};

TEST_F(ComboLook, WithoutFlatAndColoursThePlatformsLookStays)
{
    auto* plain = New<TComboBox>(form);
    plain->SetStyle(csDropDownList);
    plain->SetBounds(10, 60, 140, 24);
    plain->SetParent(form);
    plain->GetItems()->Add(L"English");
    plain->GetItems()->Add(L"Russian");
    combo->SetEtched(true);
    combo->SetFocusBorder(true);
    Pump();
    TSnapshot ours(combo->Handle()), platform(plain->Handle());
    ASSERT_EQ(ours.Width(), platform.Width());
    ASSERT_EQ(ours.Height(), platform.Height());
    int different = 0;
    for (int y = 0; y < ours.Height(); ++y)
        for (int x = 0; x < ours.Width(); ++x)
            different += ours.Pixel(x, y) != platform.Pixel(x, y);
    EXPECT_EQ(different, 0);

    // A focus border colour alone changes nothing until the focus comes.
    combo->SetFocusBorderColor(clLime);
    TSnapshot unfocused(combo->Handle());
    EXPECT_NE(unfocused.Pixel(0, 0), clLime);
    EXPECT_EQ(unfocused.Pixel(0, 0), platform.Pixel(0, 0));
}

TEST_F(ComboLook, FlatControlDrawsTwoColourFrameAndSunkenEdgeWhenActive)
{
    form->SetColor(clSilver);
    combo->SetColor(clWhite);
    combo->SetFlatParentColor(false);
    combo->SetFlat(true);
    combo->SetFlatLineColor(clNone);
    Pump();
    const int h = combo->GetHeight();
    EXPECT_EQ(At(0, 0), clSilver) << "parent colour outside";
    EXPECT_EQ(At(1, 5), clSilver);
    EXPECT_EQ(At(2, 5), clWhite) << "control colour inside";
    EXPECT_EQ(At(5, h - 1), clSilver) << "no line under it";

    // Hovered with FocusBorder: a sunken edge, button face, control colour.
    combo->SetFocusBorder(true);
    Hover(combo, 20, 10);
    EXPECT_EQ(At(0, 5), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(At(5, 0), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(At(1, 5), static_cast<TColor>(ColorToRGB(clBtnFace)));
    EXPECT_EQ(At(2, 5), clWhite);
    Hover(form, 5, 300);
    EXPECT_EQ(At(0, 5), clSilver) << "not active once the mouse left";

    // The line under a flat control, left of the button.
    combo->SetFlatLineColor(clBlue);
    TSnapshot lined(combo->Handle());
    const int end = combo->GetWidth() - 2 - combo->GetButtonWidth() - 1;
    EXPECT_EQ(lined.Pixel(0, h - 1), clBlue);
    EXPECT_EQ(lined.Pixel(end - 1, h - 1), clBlue);
    EXPECT_NE(lined.Pixel(end, h - 1), clBlue);
    EXPECT_NE(lined.Pixel(0, h - 2), clBlue);
}

TEST_F(ComboLook, FlatControlTakesItsParentsColour)
{
    form->SetColor(clSilver);
    combo->SetColor(clYellow);
    combo->SetFlat(true);
    EXPECT_EQ(combo->GetColor(), static_cast<TColor>(ColorToRGB(clSilver)));
    combo->SetFlat(false);
    EXPECT_EQ(combo->GetColor(), clYellow) << "the colour before the flat look";

    // Disabled: the parent's colour; enabled: its own again.
    combo->SetFlatParentColor(false);
    combo->SetFlat(true);
    combo->SetColor(clAqua);
    combo->SetEnabled(false);
    EXPECT_EQ(combo->GetColor(), clSilver);
    combo->SetEnabled(true);
    EXPECT_EQ(combo->GetColor(), clAqua);
}

TEST_F(ComboLook, BorderColourRule)
{
    // Each row: what is set, then the pixel at the corner unfocused and focused.
    struct Case {
        const char* what;
        TColor border, focusBorder;
        bool enabled, themed, disabledBorder;
        TColor unfocused, focused; // clNone: not that colour (the platform's frame)
    } cases[] = {
        {"border colour", clRed, clNone, true, false, true, clRed, clRed},
        {"focus border colour only while focused", clNone, clLime, true, false, true, clNone, clLime},
        {"focus border colour wins while focused", clRed, clLime, true, false, true, clRed, clLime},
        {"disabled under visual styles without DisabledBorder", clRed, clLime, false, true, false, 12164479,
         12164479},
        {"disabled under visual styles with DisabledBorder", clRed, clNone, false, true, true, clRed, clRed},
        {"disabled classic", clRed, clNone, false, false, false, clRed, clRed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlatformProbe().ThemeActive = c.themed;
        PlatformProbe().ComCtlMajor = 6;
        TAdvCustomCombo* box = combo;
        box->SetBorderColor(c.border);
        box->SetFocusBorderColor(c.focusBorder);
        box->SetDisabledBorder(c.disabledBorder);
        box->SetEnabled(true);
        for (bool focused : {false, true}) {
            if (focused) {
                box->SetFocus();
            } else {
                other->SetFocus();
            }
            Pump();
            box->SetEnabled(c.enabled);
            Pump();
            TSnapshot shown(box->Handle());
            const TColor expected = focused ? c.focused : c.unfocused;
            for (POINT p : {POINT{0, 0}, POINT{shown.Width() - 1, 8}, POINT{8, shown.Height() - 1}}) {
                if (expected == clNone) {
                    EXPECT_NE(shown.Pixel(p.x, p.y), clLime) << (focused ? "focused" : "unfocused");
                } else {
                    EXPECT_EQ(shown.Pixel(p.x, p.y), expected) << (focused ? "focused" : "unfocused");
                }
            }
            box->SetEnabled(true);
        }
    }
}

TEST_F(ComboLook, ColouredDropButtonWithItsArrowAndDownColours)
{
    combo->SetButtonColor(clYellow);
    combo->SetButtonColorHot(clAqua);
    combo->SetButtonColorDown(clFuchsia);
    combo->SetButtonBorderColor(clRed);
    combo->SetButtonTextColor(clBlue);
    combo->SetButtonTextColorDown(clGreen);
    Pump();
    const TRect b = ButtonRect();
    {
        TSnapshot shown(combo->Handle());
        EXPECT_EQ(shown.Pixel(b.right - 2, b.top + 2), clYellow);
        EXPECT_EQ(shown.Pixel(b.left, b.top + 3), clRed) << "border line at the left";
        for (POINT corner : {POINT{b.left + 4, b.top + 7}, POINT{b.left + 10, b.top + 7}, POINT{b.left + 7, b.top + 10},
                             POINT{b.left + 7, b.top + 8}})
            EXPECT_EQ(shown.Pixel(corner.x, corner.y), clBlue) << corner.x - b.left << "," << corner.y - b.top;
        EXPECT_EQ(shown.Pixel(b.left + 7, b.top + 11), clYellow) << "below the arrow's point";
    }

    Hover(combo, b.left + 8, b.top + 3);
    EXPECT_EQ(At(b.right - 2, b.top + 2), clAqua) << "hovered";

    // Pressed: the list drops and the button shows its down colours.
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &in, sizeof(in));
    Pump();
    ASSERT_TRUE(combo->GetDroppedDown());
    auto down = TSnapshot::AsItIs(combo->Handle());
    EXPECT_EQ(down->Pixel(b.right - 2, b.top + 2), clFuchsia);
    EXPECT_EQ(down->Pixel(b.left + 7, b.top + 8), clGreen);
    in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(in));
    Pump();
    combo->SetDroppedDown(false);
    Hover(form, 5, 300);
    Pump();
    EXPECT_EQ(At(b.right - 2, b.top + 2), clYellow);
}

TEST_F(ComboLook, ClassicButtonIsRaisedOrEtchedWhileFocusedAndFlatAtRest)
{
    ASSERT_NE(GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_BTNSHADOW));
    combo->SetFlat(true);
    Pump();
    const int cw = combo->GetClientWidth(), bw = combo->GetButtonWidth();
    const POINT edge{cw - bw, 2}; // the edge's top-left corner
    const TRect b = ButtonRect();
    auto arrowShown = [&](const TSnapshot& s) {
        return s.Count(static_cast<TColor>(GetSysColor(COLOR_BTNTEXT)),
                       TRect(b.left + 2, b.top + 2, b.right - 2, b.bottom - 2)) > 3;
    };
    {
        TSnapshot rest(combo->Handle());
        EXPECT_EQ(rest.Pixel(edge.x + 1, edge.y + 1), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
        EXPECT_TRUE(arrowShown(rest));
    }
    combo->SetFocus();
    Pump();
    {
        TSnapshot raised(combo->Handle());
        EXPECT_EQ(raised.Pixel(edge.x, edge.y + 4), static_cast<TColor>(GetSysColor(COLOR_3DLIGHT)));
        EXPECT_EQ(raised.Pixel(edge.x + 1, edge.y + 4), static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)));
        EXPECT_TRUE(arrowShown(raised));
    }
    combo->SetEtched(true);
    TSnapshot etched(combo->Handle());
    EXPECT_EQ(etched.Pixel(edge.x, edge.y + 4), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(etched.Pixel(edge.x + 1, edge.y + 4), static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)));
}

} // namespace
