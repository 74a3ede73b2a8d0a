// Component styles: every style's popup, bar and bar-button colours as values
// and as the popup paints them, the order in which the button colours notify,
// the selection colour styles and the selection band they paint.
#include "AdvDropDown.h"
#include "DropDownSurface.h"
#include "../controls/PackControlsTestSupport.h"

using namespace pack_test;

namespace {

// "Left as it was": the test puts Mark there before applying the style.
constexpr TColor Keep = static_cast<TColor>(0x00123456);

struct TPopupColors {
    TPackStyle style;
    TColor color, colorTo, border;
    TColor header, headerTo, footer, footerTo;
    TColor caption, headerBorder, footerBorder;
};

const TPopupColors PopupTable[] = {
    {tsOffice2003Blue, 0xFFFFFF, clNone, Keep, 0xFCE1CB, 0xE0A57D, 0xFCE1CB, 0xE0A57D, 0x000000, 0x000000, 0x962D00},
    {tsOffice2003Silver, 0xFFFFFF, clNone, Keep, 0xECE2E1, 0xB39698, 0xECE2E1, 0xB39698, 0x000000, 0x947C7C, 0x947C7C},
    {tsOffice2003Olive, 0xFFFFFF, clNone, clNone, 0xCFF0EA, 0x8CC0B1, 0xCFF0EA, 0x8CC0B1, 0x000000, 0x588060, 0x588060},
    {tsOffice2003Classic, 0xF2F2F2, 0xF2F2F2, clNone, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0x808080,
     0x808080},
    {tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF},
    {tsOffice2007Obsidian, 0xFFFFFF, clNone, clNone, 0xF2F1F0, 0xC9C2BD, 0xF2F1F0, 0xC9C2BD, 0x433C37, 0x5C534C,
     0x5C534C},
    {tsWindowsXP, 0xFFFFFF, clNone, Keep, 0xFFFFFF, clBtnFace, 0xFFFFFF, clBtnFace, 0x000000, 0x808080, 0x808080},
    {tsWhidbey, 0xF5F9FA, 0xF5F9FA, clNone, 0xEBEEEF, 0x7E9898, 0xEBEEEF, 0x7E9898, 0xFFFFFF, 0x962D00, 0x962D00},
    {tsCustom, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep},
    {tsOffice2007Silver, 0xF8F4F1, 0xF0E8E3, clNone, 0xF8F7F6, 0xE8E0DB, 0xF8F7F6, 0xE8E0DB, 0x8B4215, 0x74706F,
     0x74706F},
    {tsWindowsVista, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFAF0, 0xFFFAF0, 0xFFFDF9, 0x000000, 0xFCF2DA, 0xFCF2DA},
    {tsWindows7, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFDFBFA, 0xFDF3EB, 0xFDFBFA, 0xFDF3EB, 0x000000, 0xFBD6B8, 0xFBD6B8},
    {tsTerminal, 0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, clBtnFace, clBtnFace, 0x000000, clNone, clNone},
    {tsOffice2010Blue, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFDF6EF, 0xF0DAC7, 0xFDF6EF, 0xF0DAC7, 0x5B391E, 0xC7B29F,
     0xC7B29F},
    {tsOffice2010Silver, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xFFFFFF, 0xEDE5E0, 0xFFFFFF, 0xEDE5E0, 0x5B391E, 0xD2CDC8,
     0xD2CDC8},
    {tsOffice2010Black, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D,
     0x6D6D6D},
    {tsWindows8, 0xFFFFFF, 0xFFFFFF, 0xE4E3E2, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0x000000, 0xE4E3E2, 0xE4E3E2},
    {tsOffice2013White, 0xFFFFFF, clNone, 0xD4D4D4, 0xFFFFFF, clNone, 0xFFFFFF, clNone, 0x000000, 0xD4D4D4, 0xD4D4D4},
    {tsOffice2013LightGray, 0xFFFFFF, clNone, 0xD4D4D4, 0xF6F6F6, clNone, 0xF6F6F6, clNone, 0x000000, 0xC6C6C6,
     0xC6C6C6},
    {tsOffice2013Gray, 0xFFFFFF, clNone, 0xD4D4D4, 0xE5E5E5, clNone, 0xE5E5E5, clNone, 0x000000, 0xABABAB, 0xABABAB},
    {tsWindows10, 0xFFFFFF, 0xFFFFFF, 0xE4E3E2, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0xF7F6F5, 0x000000, 0xE4E3E2, 0xE4E3E2},
    {tsOffice2016White, 0xFFFFFF, clNone, 0xD4D4D4, 0xFFFFFF, clNone, 0xFFFFFF, clNone, 0x505050, 0xD4D4D4, 0xD4D4D4},
    {tsOffice2016Gray, 0xB2B2B2, clNone, 0x444444, 0x444444, clNone, 0x444444, clNone, 0xF0F0F0, 0x444444, 0x444444},
    {tsOffice2016Black, 0x363636, clNone, 0x444444, 0x444444, clNone, 0x444444, clNone, 0xF0F0F0, 0x444444, 0x444444},
};

// The fifteen colours of the bar buttons, in the order of the getters below.
enum TButtonField {
    bfColor, bfColorTo, bfBorder, bfHot, bfHotTo, bfBorderHot, bfDown, bfDownTo, bfBorderDown,
    bfDisabled, bfDisabledTo, bfBorderDisabled, bfChecked, bfCheckedTo, bfBorderChecked, bfCount
};
using TButtonColors = std::array<TColor, bfCount>;

TButtonColors ButtonColors(const TAdvButtonAppearance* a)
{
    return {a->GetColor(),         a->GetColorTo(),          a->GetBorderColor(),  a->GetColorHot(),
            a->GetColorHotTo(),    a->GetBorderColorHot(),   a->GetColorDown(),    a->GetColorDownTo(),
            a->GetBorderColorDown(), a->GetColorDisabled(),  a->GetColorDisabledTo(), a->GetBorderColorDisabled(),
            a->GetColorChecked(),  a->GetColorCheckedTo(),   a->GetBorderColorChecked()};
}

struct TButtonTableRow {
    TPackStyle style;
    TButtonColors colors;
};

// Groups of styles share the colours of the other states.
#define OFFICE_STATES 0xEBFDFF, 0xACECFF, 0x99CEDB, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0xF2F2F2, 0xB6B6B6, Keep, \
                      0x76AFF1, 0x4190F3, 0x45667B
#define OFFICE2010_STATES 0x8AE3FD, clNone, 0x58CAF1, 0x6CD0FF, clNone, 0x308AC2, 0xF2F2F2, 0xB6B6B6, Keep, \
                          0x45E1FE, clNone, 0x4FA0CE
#define WINDOWS8_STATES 0xF7EFE8, clNone, 0xF9CEA4, 0xF7E0C9, clNone, 0xE4A262, 0xF7F7F7, clNone, 0xF7F6F5, \
                        0xDAA026, clNone, 0xDAA026
#define OFFICE2013_STATES 0xFCF0E4, clNone, 0xEAB47E, 0xFCE2C8, clNone, 0xE59D56, 0xEEEEEE, clNone, 0xACACAC, \
                          0xFF9933, clNone, 0xFF9933
#define OFFICE2016_HOT_DOWN 0xF2E1D5, clNone, 0xF2E1D5, 0xE3BDA3, clNone, 0xE3BDA3

const TButtonTableRow ButtonTable[] = {
    {tsOffice2003Blue, {0xFCE1CB, 0xE0A57D, clNone, OFFICE_STATES}},
    {tsOffice2003Silver, {0xECE2E1, 0xB39698, clNone, OFFICE_STATES}},
    {tsOffice2003Olive, {0xCFF0EA, 0x8CC0B1, clNone, OFFICE_STATES}},
    {tsOffice2003Classic, {0xFFFFFF, 0xC9D1D5, clNone, 0xD2BDB6, 0xD2BDB6, 0x808080, 0xB59285, 0xB59285, 0x808080,
                           0xD8D5D4, 0xD8D5D4, Keep, 0xD8D5D4, 0xD8D5D4, 0x808080}},
    {tsOffice2007Luna, {0xFFEFE3, 0xFFDDC4, clNone, OFFICE_STATES}},
    {tsOffice2007Obsidian, {0xF2F1F0, 0xC9C2BD, clNone, OFFICE_STATES}},
    {tsWindowsXP, {0xFFFFFF, clBtnFace, clNone, 0xEFD3C6, 0xEFD3C6, clHighlight, clInactiveCaption, clInactiveCaption,
                   clHighlight, 0xB6B6B6, 0xB6B6B6, Keep, 0xB9D8DC, 0xB9D8DC, 0x000000}},
    {tsWhidbey, {0xFFFFFF, 0xDFEDF0, clNone, OFFICE_STATES}},
    {tsCustom, {Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep, Keep}},
    {tsOffice2007Silver, {0xF9F8F8, 0xE4E2DF, clNone, OFFICE_STATES}},
    {tsWindowsVista, {0xFFFDF9, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFFFAF0, 0xFCF2DA, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A,
                      0xFFFFFF, 0xFFFFFF, Keep, 0xFEF9F0, 0xFDF0D7, 0xFEDF9A}},
    {tsWindows7, {0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFDFBFA, 0xFDF3EB, 0xFBD6B8, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFFFFFF,
                  0xFFFFFF, Keep, 0xFEF9F0, 0xFCDBC1, 0xCEA27D}},
    {tsTerminal, {clBtnFace, clBtnFace, clNone, 0xC0C0C0, 0xC0C0C0, 0x808080, clHighlight, clHighlight, 0x808080,
                  clBtnFace, clBtnFace, Keep, clBtnFace, clBtnFace, clHighlight}},
    {tsOffice2010Blue, {0xFDF6EF, 0xF0DAC7, 0xC7B29F, OFFICE2010_STATES}},
    {tsOffice2010Silver, {0xFFFFFF, 0xEDE5E0, 0xD2CDC8, OFFICE2010_STATES}},
    {tsOffice2010Black, {0xBFBFBF, 0x919191, 0xD7D7D6, OFFICE2010_STATES}},
    {tsWindows8, {0xF7F6F5, clNone, 0xE4E3E2, WINDOWS8_STATES}},
    {tsOffice2013White, {0xFFFFFF, clNone, 0xD4D4D4, OFFICE2013_STATES}},
    {tsOffice2013LightGray, {0xF6F6F6, clNone, 0xC6C6C6, OFFICE2013_STATES}},
    {tsOffice2013Gray, {0xE5E5E5, clNone, 0xABABAB, OFFICE2013_STATES}},
    {tsWindows10, {0xF7F6F5, clNone, 0xE4E3E2, WINDOWS8_STATES}},
    {tsOffice2016White, {0xFFFFFF, clNone, 0xD4D4D4, OFFICE2016_HOT_DOWN, 0xFFFFFF, clNone, 0xD4D4D4, 0xF2D5C2, clNone,
                         0xF2D5C2}},
    {tsOffice2016Gray, {0xB2B2B2, clNone, 0x444444, OFFICE2016_HOT_DOWN, 0xB2B2B2, clNone, 0x444444, 0xF2D5C2, clNone,
                        0xF2D5C2}},
    {tsOffice2016Black, {0x363636, 0x363636, 0x444444, 0x6A6A6A, 0x6A6A6A, 0x6A6A6A, 0x444444, 0x444444, 0x444444,
                         0x363636, clNone, 0x444444, 0x575757, 0x575757, 0x575757}},
};

class DropDownStylesTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        edit = New<TAdvDropDown>(form);
        edit->SetBounds(20, 20, 150, 21);
        edit->SetParent(form);
        edit->SetDropDownWidth(200);
        edit->SetDropDownHeight(120);
        ShowForm();
    }
    // Every colour a style may leave alone set to Keep.
    void MarkAll()
    {
        edit->SetDropDownColor(Keep);
        edit->SetDropDownColorTo(Keep);
        edit->SetDropDownBorderColor(Keep);
        TDropDownBarAppearance* const bars[] = {edit->GetDropDownHeader(), edit->GetDropDownFooter()};
        for (TDropDownBarAppearance* bar : bars) {
            bar->SetColor(Keep);
            bar->SetColorTo(Keep);
            bar->SetBorderColor(Keep);
            bar->GetFont()->SetColor(Keep);
        }
        TAdvButtonAppearance* a = edit->GetButtonAppearance();
        for (auto setter : {&TAdvButtonAppearance::SetColor, &TAdvButtonAppearance::SetColorTo,
                            &TAdvButtonAppearance::SetBorderColor, &TAdvButtonAppearance::SetColorHot,
                            &TAdvButtonAppearance::SetColorHotTo, &TAdvButtonAppearance::SetBorderColorHot,
                            &TAdvButtonAppearance::SetColorDown, &TAdvButtonAppearance::SetColorDownTo,
                            &TAdvButtonAppearance::SetBorderColorDown, &TAdvButtonAppearance::SetColorDisabled,
                            &TAdvButtonAppearance::SetColorDisabledTo, &TAdvButtonAppearance::SetBorderColorDisabled,
                            &TAdvButtonAppearance::SetColorChecked, &TAdvButtonAppearance::SetColorCheckedTo,
                            &TAdvButtonAppearance::SetBorderColorChecked})
            (a->*setter)(Keep);
    }
    TAdvDropDown* edit = nullptr;
};

TEST_F(DropDownStylesTest, EveryStyleWritesItsRowsAndLeavesTheRestAlone)
{
    ASSERT_EQ(std::size(PopupTable), 24u);
    ASSERT_EQ(std::size(ButtonTable), 24u);
    for (size_t i = 0; i < std::size(PopupTable); ++i) {
        const TPopupColors& p = PopupTable[i];
        const TButtonTableRow& b = ButtonTable[i];
        ASSERT_EQ(p.style, static_cast<TPackStyle>(i));
        ASSERT_EQ(b.style, p.style);
        SCOPED_TRACE(testing::Message() << "style " << i);
        MarkAll();
        edit->GetFont()->SetColor(clBlack);
        int barNotices = 0;
        edit->GetDropDownHeader()->OnChange = [&](TObject*) { ++barNotices; };
        edit->GetDropDownFooter()->OnChange = [&](TObject*) { ++barNotices; };
        edit->SetComponentStyle(p.style);
        EXPECT_EQ(edit->GetComponentStyle(), p.style);
        EXPECT_EQ(barNotices, 0) << "the bars' colours are plain stores";
        EXPECT_EQ(edit->GetDropDownColor(), p.color);
        EXPECT_EQ(edit->GetDropDownColorTo(), p.colorTo);
        EXPECT_EQ(edit->GetDropDownBorderColor(), p.border);
        THeaderAppearance* header = edit->GetDropDownHeader();
        TFooterAppearance* footer = edit->GetDropDownFooter();
        EXPECT_EQ(header->GetColor(), p.header);
        EXPECT_EQ(header->GetColorTo(), p.headerTo);
        EXPECT_EQ(footer->GetColor(), p.footer);
        EXPECT_EQ(footer->GetColorTo(), p.footerTo);
        EXPECT_EQ(header->GetFont()->GetColor(), p.caption);
        EXPECT_EQ(footer->GetFont()->GetColor(), p.caption);
        EXPECT_EQ(header->GetBorderColor(), p.headerBorder);
        EXPECT_EQ(footer->GetBorderColor(), p.footerBorder);
        const TButtonColors got = ButtonColors(edit->GetButtonAppearance());
        for (int f = 0; f < bfCount; ++f)
            EXPECT_EQ(got[f], b.colors[f]) << "button colour " << f;
        EXPECT_EQ(edit->GetFont()->GetColor(), p.style == tsOffice2016Black ? TColor(0xA6A6A6) : clBlack);
    }
}

TEST_F(DropDownStylesTest, ButtonColoursNotifyInTheStylesOrder)
{
    // Normal, hot, down, then disabled and checked up to the 2010 styles,
    // checked and disabled (its border last) from Windows 8 on.
    const std::vector<int> older = {bfColor,    bfColorTo,    bfBorder,  bfHot,       bfHotTo,
                                    bfBorderHot, bfDown,      bfDownTo,  bfBorderDown, bfDisabled,
                                    bfDisabledTo, bfChecked,  bfCheckedTo, bfBorderChecked};
    const std::vector<int> newer = {bfColor,    bfColorTo,   bfBorder,     bfHot,      bfHotTo,
                                    bfBorderHot, bfDown,     bfDownTo,     bfBorderDown, bfChecked,
                                    bfCheckedTo, bfBorderChecked, bfDisabled, bfDisabledTo, bfBorderDisabled};
    TAdvButtonAppearance* a = edit->GetButtonAppearance();
    for (const TButtonTableRow& row : ButtonTable) {
        if (row.style == tsCustom)
            continue;
        SCOPED_TRACE(testing::Message() << "style " << row.style);
        MarkAll();
        TButtonColors last = ButtonColors(a);
        std::vector<int> changed;
        a->OnChange = [&](TObject*) {
            const TButtonColors now = ButtonColors(a);
            for (int f = 0; f < bfCount; ++f)
                if (now[f] != last[f])
                    changed.push_back(f);
            last = now;
        };
        edit->SetComponentStyle(row.style);
        a->OnChange = nullptr;
        std::vector<int> expected;
        for (int f : row.style >= tsWindows8 ? newer : older)
            if (row.colors[f] != Keep)
                expected.push_back(f);
        EXPECT_EQ(changed, expected);
    }
}

TEST_F(DropDownStylesTest, ThePopupAndItsBarsPaintInTheStylesColours)
{
    edit->GetDropDownFooter()->GetButtons()->Add()->SetCaption(L"OK");
    for (const TPopupColors& p : PopupTable) {
        if (p.style == tsCustom)
            continue;
        SCOPED_TRACE(testing::Message() << "style " << p.style);
        edit->SetComponentStyle(p.style);
        edit->ShowDropDown();
        Pump();
        TDropDownForm* popup = edit->GetDropDownForm();
        ASSERT_TRUE(popup->GetVisible());
        TAdvHeader* header = popup->GetHeader();
        TAdvFooter* footer = popup->GetFooter();
        const int bw = edit->GetDropDownBorderWidth();
        // The background between the bars: a plain fill, or the horizontal
        // gradient drawn over the area inside the border.
        {
            TSnapshot painted(popup);
            const int w = popup->GetClientWidth(), h = popup->GetClientHeight();
            const int y = h / 2;
            TDropDownSurface expected(w - 2 * bw, h - 2 * bw, RGB(1, 2, 3));
            if (p.colorTo != clNone) {
                DrawStepGradient(expected.Canvas(), p.color, p.colorTo, 80, TRect(0, 0, w - 2 * bw, h - 2 * bw), true);
            } else {
                expected.Canvas()->GetBrush()->SetColor(p.color);
                expected.Canvas()->FillRect(TRect(0, 0, w - 2 * bw, h - 2 * bw));
            }
            for (int x : {bw + 2, w / 2, w - bw - 3})
                EXPECT_EQ(painted.Pixel(x, y), expected.Pixel(x - bw, y - bw)) << "x " << x;
            if (p.border != Keep && p.border != clNone)
                EXPECT_EQ(painted.Pixel(0, y), ColorToRGB(p.border)) << "the popup's border";
        }
        // The bars: their gradient from top to bottom, the border line
        // facing the content.
        auto checkBar = [&](TAdvBar* bar, TColor from, TColor to, TColor border, int borderRow) {
            ASSERT_NE(bar, nullptr);
            TSnapshot painted(bar);
            const int w = bar->GetWidth(), h = bar->GetHeight();
            TDropDownSurface expected(w, h, RGB(1, 2, 3));
            if (to != clNone) {
                DrawStepGradient(expected.Canvas(), from, to, 80, TRect(0, 0, w, h), false);
            } else {
                expected.Canvas()->GetBrush()->SetColor(from);
                expected.Canvas()->FillRect(TRect(0, 0, w, h));
            }
            for (int y : {3, h / 2, h - 4})
                EXPECT_EQ(painted.Pixel(4, y), expected.Pixel(4, y)) << "y " << y;
            if (border != clNone)
                EXPECT_EQ(painted.Pixel(w / 2, borderRow), ColorToRGB(border));
        };
        checkBar(header, p.header, p.headerTo, p.headerBorder, header->GetHeight() - 1);
        checkBar(footer, p.footer, p.footerTo, p.footerBorder, 0);
        edit->HideDropDown(false);
        Pump();
    }
}

TEST_F(DropDownStylesTest, SelectionStylesSetTheirColoursAndPaintTheirBand)
{
    struct Case {
        TSelectionColorStyle style;
        TColor color, colorTo, border, innerTop, corner;
    };
    const Case cases[] = {
        {scOffice2007, 0xD7FFFD, 0x58D4FC, 0x8DD7D3, 0xF4FEFF, 0xC3D9DF},
        {scWindowsVista, 0xFDF8F1, 0xFCEFD5, 0xFDDE99, 0xFDFBF6, 0xFCEDCB},
        {scWindows7, 0xFCEBDC, 0xFCDBC1, 0xCEA27D, 0xFDF4EB, 0xE0C5AE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "selection style " << c.style);
        edit->SetSelectionColorStyle(c.style);
        EXPECT_EQ(edit->GetSelectionColorStyle(), c.style);
        EXPECT_EQ(edit->GetSelectionColor(), c.color);
        EXPECT_EQ(edit->GetSelectionColorTo(), c.colorTo);
        TDropDownSurface band(40, 20, RGB(0, 0, 0));
        edit->DrawSelectionBackground(band.Canvas(), TRect(0, 0, 40, 20), clRed, 0);
        EXPECT_EQ(band.Pixel(20, 0), ColorToRGB(c.border)) << "border";
        EXPECT_EQ(band.Pixel(20, 1), ColorToRGB(c.innerTop)) << "inner top line";
        EXPECT_EQ(band.Pixel(0, 0), ColorToRGB(clRed)) << "the corner shows the background";
        EXPECT_EQ(band.Pixel(1, 0), ColorToRGB(c.corner));
    }
    // Custom keeps the colours and fills the whole cell with the first.
    edit->SetSelectionColor(clTeal);
    edit->SetSelectionColorTo(clYellow);
    edit->SetSelectionColorStyle(scCustom);
    EXPECT_EQ(edit->GetSelectionColor(), clTeal);
    EXPECT_EQ(edit->GetSelectionColorTo(), clYellow);
    TDropDownSurface flat(40, 20, RGB(0, 0, 0));
    edit->DrawSelectionBackground(flat.Canvas(), TRect(0, 0, 40, 20), clRed, 0);
    EXPECT_EQ(flat.CountPixels(ColorToRGB(clTeal), TRect(0, 0, 40, 20)), 40 * 20);
}

} // namespace
