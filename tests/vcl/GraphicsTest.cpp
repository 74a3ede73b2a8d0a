// Colours, screen scaling and the font, pen and brush descriptions.
#include <gtest/gtest.h>
#include "Graphics.h"
#include "TestSupport.h"

namespace {

struct ColorTextCase {
    TColor Color;
    const wchar_t* Text;
};

const ColorTextCase ColorTexts[] = {
    {clRed, L"clRed"},
    {clBlack, L"clBlack"},
    {clGray, L"clGray"}, // shares its value with clDkGray; the first name is written
    {clBtnFace, L"clBtnFace"},
    {clWindowText, L"clWindowText"},
    {clNone, L"clNone"},
    {clDefault, L"clDefault"},
    {0x123456, L"$00123456"},
    {TColor(0xFF00ABCD), L"$FF00ABCD"},
    {-2, L"$FFFFFFFE"},
};

TEST(Colors, WriteNamesOrHexAndReadThemBack)
{
    for (const auto& c : ColorTexts) {
        EXPECT_EQ(ColorToString(c.Color), c.Text);
        EXPECT_EQ(StringToColor(c.Text), c.Color) << c.Text;
    }
}

TEST(Colors, ReadNamesWithoutCaseAndIntegersInEveryNotation)
{
    const ColorTextCase reads[] = {
        {clBtnFace, L"CLBTNFACE"}, {clLtGray, L"clLtGray"}, {255, L"255"}, {255, L"$FF"},
        {255, L"0xff"}, {-1, L"-1"}, {clBtnFace, L"$FF00000F"},
    };
    for (const auto& c : reads)
        EXPECT_EQ(StringToColor(c.Text), c.Color) << c.Text;

    for (const wchar_t* bad : {L"", L"clNoSuchColour", L"$", L"12z", L"$1FFFFFFFF", L"4294967296"}) {
        try {
            StringToColor(bad);
            ADD_FAILURE() << "accepted " << testing::PrintToString(String(bad));
        } catch (const EConvertError& e) {
            EXPECT_NE(e.Message().find(bad), String::npos);
        }
    }
}

TEST(Colors, WebColoursHaveTheirOwnNames)
{
    const ColorTextCase names[] = {
        {clWebSnow, L"clWebSnow"},
        {clRed, L"clWebRed"},
        {clWebCyan, L"clWebAqua"}, // two names for one colour: the first in the alphabet
        {clWebMagenta, L"clWebFuchsia"},
        {TColor(RGB(1, 0xAB, 3)), L"#01AB03"},
    };
    for (const auto& c : names)
        EXPECT_EQ(ColorToWebColorName(c.Color), c.Text);
    // A system colour is no web colour: it is resolved and written in hex,
    // even where its value has a web name.
    wchar_t hex[8];
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    swprintf(hex, 8, L"#%.2X%.2X%.2X", GetRValue(face), GetGValue(face), GetBValue(face));
    EXPECT_EQ(ColorToWebColorName(clBtnFace), hex);
    TColor color = 0;
    EXPECT_TRUE(WebColorNameToColor(L"CLWEBSNOW", color));
    EXPECT_EQ(color, clWebSnow);
    EXPECT_TRUE(WebColorNameToColor(L"darkslategray", color));
    EXPECT_EQ(color, TColor(RGB(0x2F, 0x4F, 0x4F)));
    EXPECT_FALSE(WebColorNameToColor(L"clWebNoSuch", color));
    EXPECT_EQ(ColorToString(clWebSnow), L"$00FAFAFF") << "web names are not colour identifiers";
}

TEST(Colors, SystemColoursResolveThroughTheSystem)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(ColorToRGB(clHighlight), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
    // clNone passes through untouched so callers can still recognise it.
    EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFFu);
}

TEST(ScreenScale, FollowsTheResolutionAgainst96)
{
    int screen = ScreenPixelsPerInch();
    EXPECT_GT(screen, 0);
    SetScreenPixelsPerInch(144);
    EXPECT_EQ(ScaleToScreen(10), 15);
    EXPECT_EQ(TOwned<TFont>(New<TFont>())->GetHeight(), -16); // 8 points at 144 pixels per inch
    SetScreenPixelsPerInch(0);
    EXPECT_EQ(ScreenPixelsPerInch(), screen);
    EXPECT_EQ(ScaleToScreen(96), screen);
}

// ---------------------------------------------------------------------------
LOGFONTW HandleLogFont(HFONT font)
{
    LOGFONTW lf{};
    GetObjectW(font, sizeof(lf), &lf);
    return lf;
}

TEST(Font, SizeAndHeightConvertAtTheFontsResolution)
{
    TOwned<TFont> font(New<TFont>());
    font->SetPixelsPerInch(96);
    font->SetSize(12);
    EXPECT_EQ(font->GetHeight(), -16);
    EXPECT_EQ(font->GetSize(), 12);
    font->SetHeight(-13);
    EXPECT_EQ(font->GetSize(), 10);
    // A positive height is a cell height; its size reads negative.
    font->SetHeight(20);
    EXPECT_EQ(font->GetSize(), -15);

    // Assigning between resolutions keeps the size in points, not in pixels.
    TOwned<TFont> large(New<TFont>());
    large->SetPixelsPerInch(120);
    font->SetSize(9);
    large->Assign(font.get());
    EXPECT_EQ(large->GetSize(), 9);
    EXPECT_EQ(large->GetHeight(), -15);
}

TEST(Font, ChangesFireOnceAndRebuildTheHandle)
{
    TOwned<TFont> font(New<TFont>());
    int changes = 0;
    font->OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, font.get());
        ++changes;
    };
    HFONT first = font->GetHandle();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(font->GetHandle(), first) << "an unchanged font keeps its handle";

    font->SetName(L"Courier New");
    font->SetName(L"Courier New");
    font->SetStyle({fsBold, fsItalic});
    font->SetStyle({fsBold, fsItalic});
    font->SetOrientation(900);
    font->SetCharset(RUSSIAN_CHARSET);
    font->SetColor(clRed);
    font->SetName(String()); // ignored: a font always has a name
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(font->GetName(), L"Courier New");

    LOGFONTW lf = HandleLogFont(font->GetHandle());
    EXPECT_STREQ(lf.lfFaceName, L"Courier New");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline);
    EXPECT_EQ(lf.lfEscapement, 900);
    EXPECT_EQ(lf.lfCharSet, RUSSIAN_CHARSET);
    EXPECT_EQ(lf.lfHeight, font->GetHeight());
}

TEST(Font, TakesItsDescriptionFromAHandle)
{
    LOGFONTW lf{};
    lf.lfHeight = -21;
    lf.lfWeight = FW_BOLD;
    lf.lfUnderline = TRUE;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfPitchAndFamily = FIXED_PITCH;
    wcscpy(lf.lfFaceName, L"Arial");
    TFontHandle foreign(CreateFontIndirectW(&lf));

    TOwned<TFont> font(New<TFont>());
    font->SetHandle(foreign.Get());
    EXPECT_EQ(font->GetName(), L"Arial");
    EXPECT_EQ(font->GetHeight(), -21);
    EXPECT_EQ(font->GetStyle(), TFontStyles({fsBold, fsUnderline}));
    EXPECT_EQ(font->GetCharset(), ANSI_CHARSET);
    EXPECT_EQ(font->GetPitch(), fpFixed);
    EXPECT_NE(font->GetHandle(), foreign.Get()) << "the caller keeps its own handle";

    EXPECT_THROW(font->SetHandle(nullptr), EInvalidGraphic);
    // A face name longer than LOGFONT holds is cut, not overrun.
    font->SetName(String(40, L'x'));
    EXPECT_EQ(wcslen(font->GetLogFont().lfFaceName), size_t(LF_FACESIZE - 1));
}

TEST(PenAndBrush, HandlesFollowTheDescription)
{
    TOwned<TPen> pen(New<TPen>());
    int penChanges = 0;
    pen->OnChange = [&](TObject*) { ++penChanges; };
    pen->SetColor(clBlue);
    pen->SetWidth(3);
    pen->SetStyle(psDash);
    pen->SetMode(pmXor);
    pen->SetWidth(-1); // ignored
    EXPECT_EQ(penChanges, 4);
    LOGPEN lp{};
    ASSERT_EQ(GetObjectW(pen->GetHandle(), sizeof(lp), &lp), int(sizeof(lp)));
    EXPECT_EQ(lp.lopnColor, RGB(0, 0, 255));
    EXPECT_EQ(lp.lopnStyle, UINT(PS_DASH));
    EXPECT_EQ(lp.lopnWidth.x, 3);

    TOwned<TPen> copy(New<TPen>());
    copy->Assign(pen.get());
    EXPECT_EQ(copy->GetMode(), pmXor);
    EXPECT_EQ(copy->GetStyle(), psDash);

    TOwned<TBrush> brush(New<TBrush>());
    brush->SetStyle(bsDiagCross);
    brush->SetColor(clBtnFace);
    LOGBRUSH lb{};
    ASSERT_EQ(GetObjectW(brush->GetHandle(), sizeof(lb), &lb), int(sizeof(lb)));
    EXPECT_EQ(lb.lbStyle, UINT(BS_HATCHED));
    EXPECT_EQ(lb.lbHatch, ULONG_PTR(HS_DIAGCROSS));
    EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(brush->GetColor(), clBtnFace) << "the system colour is kept, not resolved";

    // Giving a clear brush a colour makes it paint again.
    brush->SetStyle(bsClear);
    ASSERT_EQ(GetObjectW(brush->GetHandle(), sizeof(lb), &lb), int(sizeof(lb)));
    EXPECT_EQ(lb.lbStyle, UINT(BS_NULL));
    brush->SetColor(clYellow);
    EXPECT_EQ(brush->GetStyle(), bsSolid);

    TOwned<TBrush> adopted(New<TBrush>());
    adopted->SetHandle(brush->GetHandle());
    EXPECT_EQ(adopted->GetColor(), clYellow);
    EXPECT_THROW(adopted->Assign(pen.get()), EConvertError);
}

TEST(PenAndBrush, ReleaseEveryHandleTheyMade)
{
    DWORD before = testing_support::GdiObjectCount();
    for (int i = 0; i < 50; ++i) {
        TOwned<TFont> font(New<TFont>());
        TOwned<TPen> pen(New<TPen>());
        TOwned<TBrush> brush(New<TBrush>());
        for (int size = 8; size < 12; ++size) {
            font->SetSize(size);
            font->GetHandle();
            pen->SetWidth(size);
            pen->GetHandle();
            brush->SetColor(size);
            brush->GetHandle();
        }
    }
    EXPECT_EQ(testing_support::GdiObjectCount(), before);
}

} // namespace
