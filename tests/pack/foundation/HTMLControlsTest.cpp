// Form controls in cell markup: reading and rewriting their tags, and how
// the grid's HTML engine places, hit-tests and draws them.
#include <gtest/gtest.h>

#include "HTMLControls.h"
#include "HTMLTestSupport.h"
#include "PlatformProbe.h"

using namespace htmltest;

namespace {

const String TwoRadios = L"<CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"20\">a "
                         L"<control type=\"edit\" id=\"e1\" value=\"x\" width=\"60\"> "
                         L"<CONTROL TYPE=\"RADIO\" ID=\"r2\" VALUE=\"TRUE\" WIDTH=\"20\">b "
                         L"<CONTROL TYPE=\"BUTTON\" ID=\"b1\" VALUE=\"Go\" WIDTH=\"40\"> "
                         L"<CONTROL TYPE=\"MASK\" ID=\"m1\" VALUE=\"\" WIDTH=\"40\" MAXLEN=\"8x\" PROP=\"a&amp;b\">";

TEST(HTMLControlTags, ParseReadsAttributesAfterTheTagName)
{
    const THTMLControlTag tag = ParseHTMLControlTag(
        L"<control type=\"check\" id=\"Mixed\" value=\"a&lt;b&eacute;\" width=\"20\" height=\"30\" prop=\"p&quot;\" maxlen=\"5\">");
    EXPECT_EQ(tag.Type, L"CHECK");
    EXPECT_EQ(tag.ID, L"Mixed");
    EXPECT_EQ(tag.Value, L"a<b\u00E9");
    EXPECT_EQ(tag.Width, L"20");
    EXPECT_EQ(tag.Height, L"30");
    EXPECT_EQ(tag.Prop, L"p\"");
    EXPECT_EQ(tag.MaxLen, L"5");
    EXPECT_EQ(ParseHTMLControlTag(L"<C TYPE=\"EDIT\" ID=\"x\">").Type, L"");
}

TEST(HTMLControlTags, QueriesFindControlsByID)
{
    EXPECT_TRUE(HasHTMLControls(L"x<Control"));
    EXPECT_FALSE(HasHTMLControls(L"x<CONTRO"));
    EXPECT_EQ(FindNextHTMLEditControlID(TwoRadios, L""), L"e1");
    EXPECT_EQ(FindNextHTMLEditControlID(TwoRadios, L"e1"), L"m1");
    EXPECT_EQ(FindNextHTMLEditControlID(TwoRadios, L"m1"), L"");
    EXPECT_EQ(FindNextHTMLEditControlID(TwoRadios, L"nope"), L"");
    EXPECT_EQ(GetHTMLControlProp(TwoRadios, L"m1"), L"a&b");
    EXPECT_EQ(GetHTMLControlProp(TwoRadios, L"M1"), L"");
    EXPECT_EQ(GetHTMLControlMaxLen(TwoRadios, L"m1"), 8);
    EXPECT_EQ(GetHTMLControlMaxLen(TwoRadios, L"e1"), 0);
}

TEST(HTMLControlTags, ClearingRadiosLeavesOtherControls)
{
    const String cleared = ClearHTMLRadioControls(TwoRadios);
    EXPECT_EQ(cleared, L"<CONTROL ID=\"r1\" VALUE=\"FALSE\" WIDTH=\"20\" TYPE=\"RADIO\">a "
                       L"<control type=\"edit\" id=\"e1\" value=\"x\" width=\"60\"> "
                       L"<CONTROL ID=\"r2\" VALUE=\"FALSE\" WIDTH=\"20\" TYPE=\"RADIO\">b "
                       L"<CONTROL TYPE=\"BUTTON\" ID=\"b1\" VALUE=\"Go\" WIDTH=\"40\"> "
                       L"<CONTROL TYPE=\"MASK\" ID=\"m1\" VALUE=\"\" WIDTH=\"40\" MAXLEN=\"8x\" PROP=\"a&amp;b\">");
}

TEST(HTMLControlTags, SettingAValueRewritesTheTag)
{
    String text = L"before <control type=\"edit\" id=\"e1\" value=\"old\" width=\"60\" height=\"30\" "
                  L"maxlen=\"4\" prop=\"x<y\"> after";
    ASSERT_TRUE(SetHTMLControlValue(text, L"e1", L"a<b \"q\" \u00E9"));
    EXPECT_EQ(text, L"before <CONTROL ID=\"e1\" VALUE=\"a&lt;b &quot;q&quot; &eacute;\" WIDTH=\"60\" TYPE=\"EDIT\" "
                    L"PROP=\"x&lt;y\" MAXLEN=\"4\" HEIGHT=\"30\"> after");
    const std::size_t at = text.find(L'<');
    EXPECT_EQ(ParseHTMLControlTag(text.substr(at, text.find(L'>') - at + 1)).Value, L"a<b \"q\" \u00E9");

    const String unchanged = text;
    EXPECT_FALSE(SetHTMLControlValue(text, L"E1", L"x"));
    EXPECT_EQ(text, unchanged);
}

class HTMLControlDrawTest : public testing::Test {
protected:
    void TearDown() override
    {
        ResetPlatformProbe();
        GridHTML_Initialize();
    }
    TSurface surface{300, 100};
    TCanvas* canvas = surface.Canvas();
};

TEST_F(HTMLControlDrawTest, ACheckBoxNeedsAWidth)
{
    const String check = L"<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"20\">";
    TResult r = Draw(canvas, check + L"x");
    EXPECT_EQ(r.YSize, 16);
    // The box spans (left + 2, bottom - 15) to (left + 15, bottom) of its 16-pixel line.
    const TRect box = surface.Inked(TRect(0, 0, 17, 100));
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.right, 16);
    EXPECT_GE(box.top, 1);
    EXPECT_LE(box.bottom, 16);
    EXPECT_GT(surface.Count(box, RGB(0, 0, 0)), 10); // the check mark

    surface.Clear();
    TResult unchecked = Draw(canvas, L"<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"false\" WIDTH=\"20\">");
    EXPECT_EQ(surface.Count(surface.Inked(surface.All()), RGB(0, 0, 0)), 0);
    EXPECT_EQ(unchecked.XSize, 16);

    surface.Clear();
    TResult none = Draw(canvas, L"<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\">");
    EXPECT_EQ(surface.Inked(surface.All()), TRect());
    EXPECT_EQ(none.XSize, 0);
}

TEST_F(HTMLControlDrawTest, HitTestingReportsTheControl)
{
    const String text = L"ab<CONTROL TYPE=\"CHECK\" ID=\"c1\" VALUE=\"TRUE\" WIDTH=\"20\">";
    const int left = 1 + canvas->TextWidth(L"ab");
    TResult r = Draw(canvas, text, HitTest(left + 8, 8));
    EXPECT_TRUE(r.Hit);
    EXPECT_EQ(r.AnchorVal, L"ctrl");
    EXPECT_EQ(r.ControlID, L"c1");
    EXPECT_EQ(r.ControlType, L"CHECK");
    EXPECT_EQ(r.ControlValue, L"TRUE");
    EXPECT_EQ(r.ControlRect, TRect(left, 0, left + 16, 16));

    TResult miss = Draw(canvas, text, HitTest(3, 8));
    EXPECT_FALSE(miss.Hit);
    EXPECT_EQ(miss.ControlID, L"");

    // Asked by ID, the control is reported wherever the point is.
    TArgs byID = HitTest(-50, -50);
    byID.ControlID = L"c1";
    TResult found = Draw(canvas, text, byID);
    EXPECT_TRUE(found.Hit);
    EXPECT_EQ(found.ControlType, L"CHECK");
}

TEST_F(HTMLControlDrawTest, SizesAndLineHeightsByType)
{
    const struct {
        const wchar_t* Tag;
        int Width;
        int Height;
    } cases[] = {
        {L"<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"v\" WIDTH=\"60\">", 60, 23},
        {L"<CONTROL TYPE=\"COMBO\" ID=\"c\" VALUE=\"v\" WIDTH=\"70\">", 70, 25},
        {L"<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"50\" HEIGHT=\"40\">", 50, 38},
        {L"<CONTROL TYPE=\"RADIO\" ID=\"r\" VALUE=\"TRUE\" WIDTH=\"50\">", 16, 16},
    };
    for (const auto& c : cases) {
        TResult r = Draw(canvas, c.Tag, Measure());
        EXPECT_EQ(r.XSize, c.Width) << c.Tag;
        EXPECT_EQ(r.YSize, c.Height) << c.Tag;
    }
    TArgs print = Measure();
    print.ResFactor = 2.0;
    EXPECT_EQ(Draw(canvas, L"<CONTROL TYPE=\"CHECK\" ID=\"c\" WIDTH=\"9\">", print).XSize, 32);
    // A control that does not fit after text goes to the next line.
    EXPECT_EQ(Draw(canvas, L"abc<CONTROL TYPE=\"EDIT\" ID=\"e\" WIDTH=\"190\">", Measure()).YSize,
              canvas->TextHeight(L"gh") + 23);
}

TEST_F(HTMLControlDrawTest, EditBoxesShowTheirValueAndBorder)
{
    TArgs args;
    args.Rect = TRect(0, 0, 300, 40);
    Draw(canvas, L"<CONTROL TYPE=\"PASSWORD\" ID=\"p\" VALUE=\"abc\" WIDTH=\"60\">", args);
    const TRect frame = surface.Inked(surface.All());
    EXPECT_EQ(frame.left, 1);
    EXPECT_EQ(frame.right, 61);
    EXPECT_EQ(surface.Pixel(1, frame.top + 3), RGB(0x80, 0x80, 0x80));
    TSurface expected(300, 100);
    expected.Canvas()->GetFont()->Assign(canvas->GetFont());
    Draw(expected.Canvas(), L"<CONTROL TYPE=\"EDIT\" ID=\"p\" VALUE=\"***\" WIDTH=\"60\">", args);
    EXPECT_EQ(surface.Count(surface.All(), RGB(0, 0, 0)), expected.Count(expected.All(), RGB(0, 0, 0)));

    // On a themed platform the border takes the themed colour.
    PlatformProbe().WindowsMajor = 6;
    PlatformProbe().ThemeActive = true;
    GridHTML_Initialize();
    surface.Clear();
    Draw(canvas, L"<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"\" WIDTH=\"60\">", args);
    EXPECT_EQ(surface.Pixel(1, frame.top + 3), RGB(0x7F, 0x9D, 0xB9));
}

TEST_F(HTMLControlDrawTest, ButtonsLookPressedOnlyWhenTheirIDIsDown)
{
    const String button = L"<CONTROL TYPE=\"BUTTON\" ID=\"b1\" VALUE=\"Go\" WIDTH=\"50\">";
    TArgs args;
    args.Rect = TRect(0, 0, 300, 40);
    Draw(canvas, button, args);
    TSurface pressed(300, 100);
    pressed.Canvas()->GetFont()->Assign(canvas->GetFont());
    args.CtrlDown = true;
    args.CtrlDownID = L"b1";
    args.HitX = 20;
    args.HitY = 15;
    Draw(pressed.Canvas(), button, args);
    EXPECT_NE(surface.Count(surface.All(), RGB(255, 255, 255)), pressed.Count(pressed.All(), RGB(255, 255, 255)));

    pressed.Clear();
    args.CtrlDownID = L"other";
    Draw(pressed.Canvas(), button, args);
    EXPECT_EQ(surface.Count(surface.All(), RGB(255, 255, 255)), pressed.Count(pressed.All(), RGB(255, 255, 255)));
}

} // namespace
