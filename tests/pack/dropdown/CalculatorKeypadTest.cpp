// The calculator keypad on its own on a form: the 28 keys laid out in their
// pad, hits on shared pixels, presses and releases as mouse messages, and
// the glossy faces and the hot glow in the pixels the keypad paints.
#include "AdvCalculatorDropdown.h"
#include "DropDownInput.h"

#include <cstdlib>

using namespace pack_test;

namespace {

class CalculatorKeypadTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        pad = New<TCustomButtonPanel>(form);
        pad->SetBounds(10, 10, 230, 150);
        pad->SetColor(clWhite);
        pad->SetParent(form);
        pad->CreateButtons();
        pad->OnButtonClick = [this](TObject*, int Index) { clicks.push_back(Index); };
        ShowForm();
    }
    int IndexOf(const wchar_t* Name) const
    {
        for (int i = 0; i < pad->GetButtons()->Count(); ++i)
            if (pad->GetButtons()->GetItem(i)->Name == Name)
                return i;
        return -1;
    }
    POINT CentreOf(int Index) const
    {
        const TRect r = pad->GetButtonRect(Index);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void Send(UINT Msg, WPARAM Keys, POINT P)
    {
        SendMessageW(pad->Handle(), Msg, Keys, MAKELPARAM(P.x, P.y));
        Pump();
    }

    TCustomButtonPanel* pad = nullptr;
    std::vector<int> clicks;
};

// Inside a vertical gradient from From to To, in its lower part: each
// channel between the two, nearer To.
bool InLowerGradient(TColor Pixel, TColor From, TColor To)
{
    auto channel = [](int p, int f, int t) {
        const int lo = std::min(f, t) - 3, hi = std::max(f, t) + 3;
        return p >= lo && p <= hi && std::abs(p - t) <= std::abs(p - f);
    };
    return channel(GetRValue(Pixel), GetRValue(From), GetRValue(To)) &&
           channel(GetGValue(Pixel), GetGValue(From), GetGValue(To)) &&
           channel(GetBValue(Pixel), GetBValue(From), GetBValue(To));
}

TEST_F(CalculatorKeypadTest, TheKeysFillTheirPadInOrder)
{
    ASSERT_EQ(pad->GetClientWidth(), 230);
    ASSERT_EQ(pad->GetClientHeight(), 150);
    TRect area;
    pad->GetButtonArea(area);
    EXPECT_EQ(area, TRect(8, 8, 222, 142));
    struct Expected {
        const wchar_t* name;
        const wchar_t* caption;
        int tag;
        TRect rect;
    };
    const Expected keys[] = {
        {L"BTN_ON", L"", 30, TRect(8, 8, 42, 34)},          {L"BTN_BACK", L"Back", 31, TRect(46, 8, 100, 34)},
        {L"BTN_CE", L"CE", 32, TRect(104, 8, 158, 34)},     {L"BTN_C", L"C", 16, TRect(162, 8, 217, 34)},
        {L"BTN_MC", L"MC", 33, TRect(8, 38, 42, 64)},       {L"BTN_M+", L"M+", 36, TRect(8, 113, 42, 139)},
        {L"BTN_7", L"7", 7, TRect(46, 38, 80, 64)},         {L"BTN_8", L"8", 8, TRect(79, 38, 113, 64)},
        {L"BTN_.", L".", 15, TRect(112, 113, 146, 139)},    {L"BTN_/", L"/", 13, TRect(150, 38, 184, 64)},
        {L"BTN_sqrt", L"sqrt", 37, TRect(183, 38, 217, 64)}, {L"BTN_=", L"=", 17, TRect(183, 113, 217, 139)},
        {L"BTN_1/x", L"1/x", 38, TRect(183, 88, 217, 114)}, {L"BTN_+/-", L"+/-", 14, TRect(79, 113, 113, 139)},
    };
    ASSERT_EQ(pad->GetButtons()->Count(), 28);
    for (const Expected& key : keys) {
        const int i = IndexOf(key.name);
        ASSERT_GE(i, 0) << key.name;
        const TCalcButtonItem* item = pad->GetButtons()->GetItem(i);
        EXPECT_EQ(item->Caption, key.caption) << key.name;
        EXPECT_EQ(item->Tag, key.tag) << key.name;
        EXPECT_EQ(pad->GetButtonRect(i), key.rect) << key.name;
    }
    EXPECT_TRUE(pad->GetButtons()->GetItem(IndexOf(L"BTN_C"))->Special);
    EXPECT_EQ(pad->GetButtons()->GetItem(IndexOf(L"BTN_C"))->CaptionColor, RGB(128, 0, 0));
    EXPECT_FALSE(pad->GetButtons()->GetItem(IndexOf(L"BTN_7"))->Special);
    EXPECT_EQ(pad->GetButtonRect(28), TRect(-1, -1, -1, -1));

    // Shared pixels go to the lower index: "4" below "7", "7" beside "8".
    const TRect seven = pad->GetButtonRect(IndexOf(L"BTN_7"));
    EXPECT_EQ(pad->ButtonAtPos(60, seven.bottom - 1), IndexOf(L"BTN_4"));
    EXPECT_EQ(pad->ButtonAtPos(seven.right - 1, 50), IndexOf(L"BTN_7"));
    EXPECT_EQ(pad->ButtonAtPos(44, 50), -1) << "the gap between the groups";

    // Buttons already there are left alone, geometry included.
    pad->GetButtons()->GetItem(0)->Left = 100;
    pad->CreateButtons();
    EXPECT_EQ(pad->GetButtons()->Count(), 28);
    EXPECT_EQ(pad->GetButtons()->GetItem(0)->Left, 100);
    // A new size lays the pad out again.
    pad->SetBounds(10, 10, 260, 170);
    Pump();
    EXPECT_EQ(pad->GetButtonRect(0).left, 8);
    EXPECT_GT(pad->GetButtonRect(IndexOf(L"BTN_=")).right, 217);
}

TEST_F(CalculatorKeypadTest, AClickIsAPressAndAReleaseOverTheSameKey)
{
    const int seven = IndexOf(L"BTN_7"), eight = IndexOf(L"BTN_8");
    Send(WM_MOUSEMOVE, 0, CentreOf(seven));
    EXPECT_EQ(pad->GetButtonHot(), seven);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(seven));
    EXPECT_EQ(pad->GetButtonDown(), seven);
    Send(WM_MOUSEMOVE, MK_LBUTTON, CentreOf(eight));
    Send(WM_LBUTTONUP, 0, CentreOf(eight));
    EXPECT_TRUE(clicks.empty()) << "released over another key";
    EXPECT_EQ(pad->GetButtonDown(), -1);

    struct Buttons {
        UINT down, up;
        WPARAM keys;
    };
    for (const Buttons& b : {Buttons{WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON},
                             Buttons{WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON},
                             Buttons{WM_MBUTTONDOWN, WM_MBUTTONUP, MK_MBUTTON}}) {
        clicks.clear();
        Send(b.down, b.keys, CentreOf(eight));
        Send(b.up, 0, CentreOf(eight));
        ASSERT_EQ(clicks.size(), 1u) << b.down;
        EXPECT_EQ(clicks[0], eight);
        EXPECT_EQ(pad->GetButtonDown(), -1);
    }

    // A disabled key is never hot, pressed or clicked.
    clicks.clear();
    pad->GetButtons()->GetItem(seven)->Enabled = false;
    Send(WM_MOUSEMOVE, 0, CentreOf(seven));
    EXPECT_EQ(pad->GetButtonHot(), -1);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(seven));
    Send(WM_LBUTTONUP, 0, CentreOf(seven));
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(pad->GetButtonDown(), -1);
}

TEST_F(CalculatorKeypadTest, FacesGlowAndItsErasureArePainted)
{
    TButtonAppearance* a = pad->GetButtonAppearance();
    const int seven = IndexOf(L"BTN_M+");
    const TRect r = pad->GetButtonRect(seven);
    const int midX = (r.left + r.right) / 2;
    const int lowerY = r.bottom - 4;
    {
        TSnapshot picture(pad);
        EXPECT_EQ(picture.Pixel(0, 75), clBlack) << "a stand-alone keypad is outlined";
        EXPECT_EQ(picture.Pixel(4, 75), clWhite);
        // Lower half: the gradient from Color towards ColorTo near its end.
        EXPECT_TRUE(InLowerGradient(picture.Pixel(midX, lowerY), a->GetColor(), a->GetColorTo()))
            << std::hex << picture.Pixel(midX, lowerY);
        // Upper half: Color under the white shine, lighter than Color.
        const TColor upper = picture.Pixel(midX, r.top + 5);
        EXPECT_GT(GetRValue(upper), 95 + 40);
        EXPECT_EQ(picture.Pixel(midX, r.top + 1), clWhite) << "the white line below the top border";
        EXPECT_EQ(picture.Pixel(midX, r.top), a->GetBorderColor());
    }
    // Hot: the hot colours, and a glow in GlowColorHot outside the key.
    SendMessageW(pad->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(midX, (r.top + r.bottom) / 2));
    Pump();
    ASSERT_EQ(pad->GetButtonHot(), seven);
    {
        TSnapshot picture(pad);
        EXPECT_TRUE(InLowerGradient(picture.Pixel(midX, lowerY), a->GetColorHot(), a->GetColorHotTo()))
            << std::hex << picture.Pixel(midX, lowerY);
        const TColor glow = picture.Pixel(r.left - 3, (r.top + r.bottom) / 2);
        EXPECT_NE(glow, clWhite) << "the glow left of the key";
        EXPECT_LT(GetRValue(glow), GetBValue(glow)) << std::hex << glow;
        const TColor below = picture.Pixel(midX, r.bottom + 3);
        EXPECT_NE(below, clWhite) << "the glow below the key";
    }
    // Pressed wins over hot.
    SendMessageW(pad->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(midX, (r.top + r.bottom) / 2));
    Pump();
    {
        TSnapshot picture(pad);
        EXPECT_TRUE(InLowerGradient(picture.Pixel(midX, lowerY), a->GetColorDown(), a->GetColorDownTo()))
            << std::hex << picture.Pixel(midX, lowerY);
    }
    SendMessageW(pad->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(midX, (r.top + r.bottom) / 2));
    // Leaving clears the hot key; the glow is gone from the window's pixels.
    Pump();
    ValidateRect(pad->Handle(), nullptr);
    SendMessageW(pad->Handle(), WM_MOUSELEAVE, 0, 0);
    RECT pending{};
    ASSERT_TRUE(GetUpdateRect(pad->Handle(), &pending, FALSE));
    EXPECT_LE(pending.left, r.left - 8);
    EXPECT_LE(pending.top, r.top - 8);
    EXPECT_GE(pending.right, r.right + 8);
    EXPECT_GE(pending.bottom, std::min<LONG>(r.bottom + 8, pad->GetClientHeight()));
    Pump();
    EXPECT_EQ(pad->GetButtonHot(), -1);
    TSnapshot after(pad);
    for (int d = 1; d <= 7; ++d)
        EXPECT_EQ(after.Pixel(r.left - d, (r.top + r.bottom) / 2), clWhite) << d;
    EXPECT_EQ(after.Pixel(midX, r.bottom + 6), clWhite);
}

} // namespace
