// The drop-down button as it paints: custom and tone colours per state, a
// glyph, the classic arrow and, in a process of its own with the platform's
// visual style on, the style's combo-box button.
#include "ThemeActiveScope.h"
#include "AdvDropDown.h"
#include "AdvXPVS.h"
#include "PlatformProbe.h"
#include "../controls/PackControlsTestSupport.h"
#include <vssym32.h>

using namespace pack_test;

namespace {

const wchar_t* const ChildVariable = L"TAVELIN_THEMED_DROPDOWN_CHILD";

void MouseButton(DWORD Flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = Flags;
    SendInput(1, &in, sizeof(in));
    Pump();
}

void MoveTo(TControl* Control, POINT P)
{
    const POINT screen = Control->ClientToScreen(P);
    SetCursorPos(screen.x, screen.y);
    Pump();
}

class DropDownButtonTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        other = New<TEdit>(form);
        other->SetBounds(10, 200, 80, 21);
        other->SetParent(form);
        edit = New<TAdvDropDown>(form);
        edit->SetBounds(10, 10, 150, 21);
        edit->SetParent(form);
        ShowForm();
        other->SetFocus();
        Pump();
    }
    TEdit* other = nullptr;
    TAdvDropDown* edit = nullptr;
};

TEST_F(DropDownButtonTest, CustomColoursFollowTheState)
{
    TDropDownEditButton* button = edit->GetButton();
    button->ButtonColor = clYellow;
    button->ButtonColorHot = clLime;
    button->ButtonColorDown = clAqua;
    button->ButtonTextColor = clNavy;
    button->ButtonTextColorHot = clGreen;
    button->ButtonTextColorDown = clMaroon;
    edit->SetBorderColor(clRed);
    Pump();
    const TPoint face(12, 3), arrow(8, 8);
    {
        TSnapshot normal(edit->GetButton());
        EXPECT_EQ(normal.Pixel(face.x, face.y), clYellow);
        EXPECT_EQ(normal.Pixel(arrow.x, arrow.y), clNavy);
        EXPECT_EQ(normal.Pixel(0, 5), clRed) << "the line in the edit's border colour";
    }
    MoveTo(button, {8, 8});
    {
        TSnapshot hot(edit->GetButton());
        EXPECT_EQ(hot.Pixel(face.x, face.y), clLime);
        EXPECT_EQ(hot.Pixel(arrow.x, arrow.y), clGreen);
    }
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    {
        // Pressed wins over hot.
        TSnapshot pressed(edit->GetButton());
        EXPECT_EQ(pressed.Pixel(face.x, face.y), clAqua);
        EXPECT_EQ(pressed.Pixel(arrow.x, arrow.y), clMaroon);
    }
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(edit->GetDroppedDown()) << "the release opens the popup";
    edit->HideDropDown(false);
    Pump();
}

TEST_F(DropDownButtonTest, ColourTonesColourTheButtonAndTheBorderOnly)
{
    TColorTones tones;
    ClearColorTones(tones);
    tones.Background.BrushColor = clYellow;
    tones.Background.BorderColor = clRed;
    tones.Hover.BrushColor = clLime;
    tones.Selected.BrushColor = clAqua;
    edit->SetColorTones(tones);
    TDropDownEditButton* button = edit->GetButton();
    EXPECT_EQ(button->ButtonColor, clYellow);
    EXPECT_EQ(button->ButtonColorHot, clLime);
    EXPECT_EQ(button->ButtonColorDown, clAqua);
    EXPECT_EQ(button->ButtonBorderColor, clRed);
    EXPECT_EQ(button->ButtonTextColor, clNone);
    EXPECT_EQ(button->ButtonTextColorHot, clNone);
    EXPECT_EQ(edit->GetBorderColor(), clRed);
    Pump();
    TSnapshot painted(edit->GetButton());
    EXPECT_EQ(painted.Pixel(12, 3), clYellow);
    EXPECT_EQ(painted.Pixel(0, 5), clRed);
    // The edit draws its frame in the border colour.
    TSnapshot frame(edit->Handle());
    EXPECT_EQ(frame.Pixel(40, 0), clRed);
}

TEST_F(DropDownButtonTest, ClassicArrowAndGlyph)
{
    {
        TSnapshot classic(edit->GetButton());
        EXPECT_EQ(classic.Pixel(8, 8), clBlack) << "the arrow";
        EXPECT_EQ(classic.Pixel(5, 1), clWhite) << "the light inner line";
        EXPECT_EQ(classic.Pixel(5, 0), ColorToRGB(clBtnFace));
        EXPECT_EQ(classic.Pixel(8, 12), ColorToRGB(clBtnFace)) << "nothing below the arrow";
    }
    TOwned<TBitmap> glyph(New<TBitmap>());
    glyph->SetSize(6, 6);
    glyph->GetCanvas()->GetBrush()->SetColor(clRed);
    glyph->GetCanvas()->FillRect(TRect(0, 0, 6, 6));
    // The bottom-left pixel is the transparent colour.
    glyph->GetCanvas()->SetPixels(0, 5, clFuchsia);
    edit->SetDropDownButtonGlyph(glyph.get());
    Pump();
    TSnapshot withGlyph(edit->GetButton());
    const int w = edit->GetButton()->GetWidth(), h = edit->GetButton()->GetHeight();
    EXPECT_EQ(withGlyph.Pixel(0, 0), clGray) << "the frame";
    EXPECT_EQ(withGlyph.Pixel(1, 1), ColorToRGB(clBtnFace));
    EXPECT_EQ(withGlyph.Extent(clRed, TRect(0, 0, w, h)), TRect((w - 6) / 2, (h - 6) / 2, (w - 6) / 2 + 6, (h - 6) / 2 + 6));
}

TEST_F(DropDownButtonTest, OnlyALeftReleaseOpensThePopup)
{
    const TPoint middle(8, 8);
    MoveTo(edit->GetButton(), middle);
    // A right release reaches the button's release handler, which opens
    // nothing for it.
    TAdvDropDownSpeedButton* arrow = edit->GetButton()->GetSpeedButton();
    ASSERT_TRUE(arrow->OnMouseUp);
    arrow->OnMouseUp(arrow, mbRight, TShiftState(), 8, 8);
    Pump();
    EXPECT_FALSE(edit->GetDroppedDown());
    EXPECT_FALSE(edit->GetDropDownForm()->GetVisible());
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(edit->GetDroppedDown());
    edit->HideDropDown(false);
    Pump();
    // A disabled drop-down button opens nothing either.
    Sleep(300);
    edit->SetDropDownEnabled(false);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    MouseButton(MOUSEEVENTF_LEFTUP);
    EXPECT_FALSE(edit->GetDroppedDown());
}

TEST_F(DropDownButtonTest, PushButtonStyleInTheClassicLook)
{
    TDropDownEditButton* button = edit->GetButton();
    TAdvDropDownSpeedButton* face = button->GetSpeedButton();
    face->SetButtonStyle(bsButton);
    Pump();
    const int w = button->GetWidth(), h = button->GetHeight();
    const TRect all(0, 0, w, h);
    {
        // Not flat: a plain speed button's face, no arrow.
        auto* panel = New<TPanel>(form);
        panel->SetBevelOuter(bvNone);
        panel->SetBounds(300, 10, w, h);
        panel->SetParent(form);
        auto* plain = New<TSpeedButton>(panel);
        plain->SetBounds(0, 0, w, h);
        plain->SetParent(panel);
        Pump();
        TSnapshot painted(button);
        TSnapshot expected(panel);
        int differences = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                differences += painted.Pixel(x, y) != expected.Pixel(x, y);
        EXPECT_EQ(differences, 0);
        EXPECT_NE(painted.Pixel(8, 8), clBlack) << "no arrow";
    }
    // Flat: the face with a raised or etched edge of the platform's.
    face->SetFlat(true);
    for (bool etched : {false, true}) {
        face->SetEtched(etched);
        Pump();
        TSnapshot painted(button);
        TSnapshot expected(w, h);
        FillRect(expected.DC(), &all, GetSysColorBrush(COLOR_BTNFACE));
        RECT edge{0, 0, w + 1, h + 1};
        DrawEdge(expected.DC(), &edge, etched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT);
        int differences = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                differences += painted.Pixel(x, y) != expected.Pixel(x, y);
        EXPECT_EQ(differences, 0) << "etched " << etched;
    }
    // A glyph 3 in from the edges, its top-left colour showing the face,
    // one pixel further while held down.
    TOwned<TBitmap> glyph(New<TBitmap>());
    glyph->SetSize(6, 6);
    glyph->GetCanvas()->GetBrush()->SetColor(clRed);
    glyph->GetCanvas()->FillRect(TRect(0, 0, 6, 6));
    glyph->GetCanvas()->SetPixels(0, 0, clFuchsia);
    edit->SetDropDownButtonGlyph(glyph.get());
    Pump();
    {
        TSnapshot up(button);
        EXPECT_EQ(up.Extent(clRed, all), TRect(3, 3, 9, 9));
        EXPECT_EQ(up.Pixel(3, 3), ColorToRGB(clBtnFace));
        EXPECT_EQ(up.Count(clFuchsia, all), 0);
    }
    SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 3, h - 3));
    {
        TSnapshot down(button);
        EXPECT_EQ(down.Extent(clRed, all), TRect(4, 4, 10, 10));
    }
    SendMessageW(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(w - 3, h - 3));
    edit->HideDropDown(false);
    Pump();
    // A caption in the editor's font, in the middle.
    edit->SetDropDownButtonGlyph(nullptr);
    button->SetButtonCaption(L"x");
    edit->GetFont()->SetColor(clBlue);
    Pump();
    TSnapshot captioned(button);
    const TRect text = captioned.Extent(clBlue, all);
    ASSERT_FALSE(text.IsEmpty());
    EXPECT_LE(std::abs((text.left + text.right) - w), 3) << "centred";
}

// ---------------------------------------------------------------------------
// With the visual style on.

} // namespace

TEST(DropDownThemed, ButtonIsTheStylesComboButtonWhereOneIsActive)
{
    if (IsChild(ChildVariable))
        GTEST_SKIP() << "the child runs only its own test";
    DWORD code = 0;
    {
        const TThemeActiveScope themed;
        code = RunChild(L"DropDownThemedChild.*", ChildVariable);
    }
    EXPECT_EQ(code, 0u) << "the themed child process failed (its output is above)";
}

class DropDownThemedChild : public DropDownButtonTest {
protected:
    void SetUp() override
    {
        if (!IsChild(ChildVariable))
            GTEST_SKIP() << "runs in the child process that the themed test starts";
        ResetPlatformProbe();
        PlatformProbe().ComCtlMajor = 6;
        // The style keeps what it loads for a kind of control for good once
        // it has drawn one: drawn once here, it stays out of the leak check.
        {
            TSnapshot once(17, 19);
            if (HTHEME theme = AdvXPVS::OpenThemeData(GetDesktopWindow(), L"combobox")) {
                RECT r{0, 0, 17, 19};
                for (int state : {CBXS_NORMAL, CBXS_DISABLED})
                    AdvXPVS::DrawThemeBackground(theme, once.DC(), CP_DROPDOWNBUTTON, state, &r, nullptr);
                AdvXPVS::CloseThemeData(theme);
            }
            if (HTHEME theme = AdvXPVS::OpenThemeData(GetDesktopWindow(), L"button")) {
                RECT r{0, 0, 18, 20};
                for (int state : {PBS_NORMAL, PBS_HOT, PBS_PRESSED, PBS_DISABLED})
                    AdvXPVS::DrawThemeBackground(theme, once.DC(), BP_PUSHBUTTON, state, &r, nullptr);
                AdvXPVS::CloseThemeData(theme);
            }
        }
        DropDownButtonTest::SetUp();
    }
    void TearDown() override
    {
        if (!IsChild(ChildVariable))
            return;
        DropDownButtonTest::TearDown();
        ResetPlatformProbe();
    }
    // What the style draws for the button in State, on a 32-bit DIB.
    std::unique_ptr<TSnapshot> Expected(int State)
    {
        const int w = edit->GetButton()->GetWidth(), h = edit->GetButton()->GetHeight();
        auto picture = std::make_unique<TSnapshot>(w, h);
        HTHEME theme = AdvXPVS::OpenThemeData(edit->GetButton()->Handle(), L"combobox");
        EXPECT_NE(theme, nullptr);
        if (!theme)
            return picture;
        RECT r{0, 0, w, h};
        if (IsWindowsVistaOrLater())
            r.left += 1;
        else {
            InflateRect(&r, 1, 1);
            r.left += 2;
        }
        AdvXPVS::DrawThemeBackground(theme, picture->DC(), CP_DROPDOWNBUTTON, State, &r, nullptr);
        AdvXPVS::CloseThemeData(theme);
        return picture;
    }
    // What the style draws for a push button in State over the whole button.
    std::unique_ptr<TSnapshot> ExpectedPush(int State)
    {
        const int w = edit->GetButton()->GetWidth(), h = edit->GetButton()->GetHeight();
        auto picture = std::make_unique<TSnapshot>(w, h);
        HTHEME theme = AdvXPVS::OpenThemeData(edit->GetButton()->Handle(), L"button");
        EXPECT_NE(theme, nullptr);
        if (!theme)
            return picture;
        RECT r{0, 0, w + 1, h + 1};
        AdvXPVS::DrawThemeBackground(theme, picture->DC(), BP_PUSHBUTTON, State, &r, nullptr);
        AdvXPVS::CloseThemeData(theme);
        return picture;
    }
    int Differences(const TSnapshot& A, const TSnapshot& B)
    {
        int n = 0;
        for (int y = 1; y < A.Height() - 1; ++y)
            for (int x = 2; x < A.Width() - 1; ++x)
                n += A.Pixel(x, y) != B.Pixel(x, y);
        return n;
    }
};

TEST_F(DropDownThemedChild, NormalAndReadOnlyStates)
{
    ASSERT_TRUE(PlatformProbe().ThemeActive) << "no visual style in a process started with ThemeActive 1";
    ASSERT_TRUE(edit->GetButton()->GetSpeedButton()->UseThemes());
    {
        TSnapshot normal(edit->GetButton());
        EXPECT_EQ(Differences(normal, *Expected(CBXS_NORMAL)), 0);
        EXPECT_GT(Differences(normal, *Expected(CBXS_DISABLED)), 0);
    }
    // Read-only: the disabled look although the button is enabled.
    edit->SetReadOnly(true);
    Pump();
    TSnapshot readOnly(edit->GetButton());
    EXPECT_TRUE(edit->GetButton()->GetEnabled());
    EXPECT_EQ(Differences(readOnly, *Expected(CBXS_DISABLED)), 0);
}

TEST_F(DropDownThemedChild, PushButtonStyleIsTheStylesPushButton)
{
    ASSERT_TRUE(edit->GetButton()->GetSpeedButton()->UseThemes());
    TDropDownEditButton* button = edit->GetButton();
    button->GetSpeedButton()->SetButtonStyle(bsButton);
    Pump();
    {
        TSnapshot normal(button);
        EXPECT_EQ(Differences(normal, *ExpectedPush(PBS_NORMAL)), 0);
    }
    MoveTo(button, {8, 8});
    {
        TSnapshot hot(button);
        EXPECT_EQ(Differences(hot, *ExpectedPush(PBS_HOT)), 0);
    }
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    {
        TSnapshot pressed(button);
        EXPECT_EQ(Differences(pressed, *ExpectedPush(PBS_PRESSED)), 0);
        EXPECT_GT(Differences(pressed, *ExpectedPush(PBS_NORMAL)), 0) << "a state of its own";
    }
    MouseButton(MOUSEEVENTF_LEFTUP);
    edit->HideDropDown(false);
    SetCursorPos(0, 0);
    Pump();
    // Unlike the arrow, the push button follows its own enabled state.
    edit->SetDropDownEnabled(false);
    Pump();
    TSnapshot disabled(button);
    EXPECT_EQ(Differences(disabled, *ExpectedPush(PBS_DISABLED)), 0);
}
