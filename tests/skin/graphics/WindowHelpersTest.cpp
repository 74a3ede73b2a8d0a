// Window and control helpers: skin colours, child walks and painting into
// bitmaps, layered windows read back from the screen, hints, work areas.
#include <gtest/gtest.h>
#include "BitmapHelpers.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "PlatformProbe.h"
#include "SkinnedFormFixtures.h"
#include "StdCtrls.h"
#include "TestSupport.h"
#include "sWindowHelpers.h"
#include <algorithm>

namespace {

// A manager whose palette and title and hint sections the test fills.
struct SkinFixture {
    TOwned<TsSkinManager> manager{New<TsSkinManager>(nullptr)};
    SkinFixture()
    {
        manager->CommonSkinData.Active = true;
        for (int i = 0; i < PaletteColorCount; ++i)
            manager->Palette[i] = 0x010101 * (i + 1);
        for (Integer& section : manager->ConstData.Sections)
            section = -1;
    }
    void AddSection(TacSection Which, TColor Normal, TColor Hot, TColor NormalFont, TColor HotFont)
    {
        TsGeneralData data;
        data.Props[0].Color = Normal;
        data.Props[1].Color = Hot;
        data.Props[0].FontColor.Color = NormalFont;
        data.Props[1].FontColor.Color = HotFont;
        manager->gd.push_back(data);
        manager->ConstData.Sections[Which] = static_cast<Integer>(manager->gd.size() - 1);
    }
};

TEST(ColorToSkinColor, WithoutAnActiveSkinConstantsGiveTheirDefaultRgb)
{
    ASSERT_EQ(DefaultManager, nullptr);
    EXPECT_EQ(ColorToSkinColor(TColor(0xFF00006C), nullptr), 0x00006C);
    EXPECT_EQ(ColorToSkinColor(TColor(0xFFAE7400), nullptr), 0xAE7400);
    EXPECT_EQ(ColorToSkinColor(clBtnFace, nullptr), TColor(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ColorToSkinColor(0x123456, nullptr), 0x123456);

    SkinFixture skin;
    skin.manager->CommonSkinData.Active = false;
    EXPECT_EQ(ColorToSkinColor(TColor(0xFF00006C), skin.manager.get()), 0x00006C);
}

TEST(ColorToSkinColor, ActiveSkinMapsConstantsAndSystemColoursToThePalette)
{
    SkinFixture skin;
    TsSkinManager* m = skin.manager.get();
    const TColor* p = m->Palette;
    EXPECT_EQ(ColorToSkinColor(TColor(0xFF00006C), m), p[pcEditText_Alert]);
    EXPECT_EQ(ColorToSkinColor(TColor(0xFFFFE9BE), m), p[pcBtnToneBlueActive]);
    // System colours stay the system's until the option asks for the skin.
    EXPECT_EQ(ColorToSkinColor(clWindow, m), TColor(GetSysColor(COLOR_WINDOW)));

    m->Options.ChangeSysColors = true;
    const struct {
        TColor In;
        TColor Out;
    } plain[] = {
        {clBtnFace, p[pcMainColor]},
        {clWindow, p[pcEditBG]},
        {clWindowText, p[pcEditText]},
        {clHighlight, p[pcSelectionBG_Focused]},
        {clActiveCaption, p[pcMainColor]},
        {clCaptionText, p[pcLabelText]},
        {clInfoBk, p[pcEditBG]},
        {clBtnShadow, TColor(MixColors(p[pcMainColor], 0, 180))},
        {clGrayText, TColor(MixColors(p[pcMainColor], p[pcLabelText], 127))},
        {clHotLight, p[pcWebTextHot]},
    };
    for (const auto& c : plain)
        EXPECT_EQ(ColorToSkinColor(c.In, m), c.Out) << std::hex << c.In;

    skin.AddSection(ssFormTitle, 0x111111, 0x222222, 0x333333, 0x444444);
    skin.AddSection(ssHint, 0x555555, 0x666666, 0x777777, 0x888888);
    EXPECT_EQ(ColorToSkinColor(clActiveCaption, m), 0x222222);
    EXPECT_EQ(ColorToSkinColor(clInactiveCaption, m), 0x111111);
    EXPECT_EQ(ColorToSkinColor(clCaptionText, m), 0x444444);
    EXPECT_EQ(ColorToSkinColor(clInactiveCaptionText, m), 0x333333);
    EXPECT_EQ(ColorToSkinColor(clInfoBk, m), 0x555555);
    EXPECT_EQ(ColorToSkinColor(clInfoText, m), 0x777777);
}

TEST(WindowHelpers, WindowAncestry)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    TPanel* panel = New<TPanel>(form.get());
    panel->SetParent(form.get());
    TEdit* edit = New<TEdit>(form.get());
    edit->SetParent(panel);
    HWND editWnd = edit->GetHandle();
    EXPECT_EQ(GetTopParentWnd(editWnd), form->GetHandle());
    EXPECT_EQ(GetTopParentWnd(form->GetHandle()), form->GetHandle());
    EXPECT_TRUE(IsSameOrChildWindow(editWnd, form->GetHandle()));
    EXPECT_TRUE(IsSameOrChildWindow(editWnd, editWnd));
    EXPECT_FALSE(IsSameOrChildWindow(panel->GetHandle(), editWnd));
    EXPECT_FALSE(IsSameOrChildWindow(nullptr, editWnd));
}

TEST(WindowHelpers, WorkAreasAndAlignedSizes)
{
    TRect r(1, 2, 3, 4);
    GetWorkAreaAt(TPoint(-30000, -30000), r);
    EXPECT_EQ(r, TRect());
    RECT primary;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &primary, 0);
    GetWorkAreaAt(TPoint(primary.left + 5, primary.top + 5), r);
    EXPECT_EQ(r, TRect(primary));

    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBounds(0, 0, 400, 300);
    const int widths[] = {30, 40, 50};
    for (int i = 0; i < 3; ++i) {
        TPanel* panel = New<TPanel>(form.get());
        panel->SetParent(form.get());
        panel->SetWidth(widths[i]);
        panel->SetAlign(alLeft);
        panel->SetVisible(i < 2);
    }
    TLabel* label = New<TLabel>(form.get());
    label->SetParent(form.get());
    label->SetAutoSize(false);
    label->SetWidth(15);
    label->SetAlign(alLeft);
    EXPECT_EQ(SumAlignedChildSizes(form.get(), alLeft, false), 70);
    EXPECT_EQ(SumAlignedChildSizes(form.get(), alLeft, true), 85);
    EXPECT_EQ(SumAlignedChildSizes(form.get(), alRight, true), 0);
    EXPECT_EQ(SumAlignedChildSizes(form.get(), alClient, true), 0);
}

TEST(WindowHelpers, ForEachChildControlSurvivesProceduresThatFreeChildren)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    auto add = [&](TWinControl* parent, const wchar_t* name) {
        TPanel* p = New<TPanel>(form.get());
        p->SetName(name);
        p->SetParent(parent);
        return p;
    };
    add(form.get(), L"A");
    TPanel* b = add(form.get(), L"B");
    add(b, L"C");
    add(form.get(), L"D");
    add(form.get(), L"E");

    std::vector<String> seen;
    ForEachChildControl(form.get(), nullptr, [&](TControl* child, void*) {
        const String name = child->GetName();
        seen.push_back(name);
        if (name == L"A")
            child->Free(); // the visited child itself
        else if (name == L"C")
            form->FindComponent(L"E")->Free(); // a later one, from below
    });
    EXPECT_EQ(seen, (std::vector<String>{L"A", L"B", L"C", L"D"}));
    EXPECT_EQ(form->ControlCount(), 2);

    int calls = 0;
    ForEachChildControl(form.get(), &calls, [](TControl*, void* data) { ++*static_cast<int*>(data); });
    EXPECT_EQ(calls, 3); // B, C, D
}

TEST(WindowHelpers, MoveControlBehindReordersSiblings)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    TPanel* panels[3];
    for (TPanel*& p : panels) {
        p = New<TPanel>(form.get());
        p->SetParent(form.get());
        p->GetHandle();
    }
    MoveControlBehind(panels[0], panels[1]);
    EXPECT_EQ(form->Controls(0), panels[1]);
    EXPECT_EQ(form->Controls(1), panels[0]);
    EXPECT_EQ(form->Controls(2), panels[2]);
    // The window order follows: the next one lies above it.
    EXPECT_EQ(GetWindow(panels[0]->GetHandle(), GW_HWNDPREV), panels[2]->GetHandle());

    // From behind the sibling too: [B, A, C] becomes [A, C, B].
    MoveControlBehind(panels[1], panels[2]);
    EXPECT_EQ(form->Controls(0), panels[0]);
    EXPECT_EQ(form->Controls(1), panels[2]);
    EXPECT_EQ(form->Controls(2), panels[1]);

    TOwned<TPanel> orphan(New<TPanel>(nullptr));
    MoveControlBehind(orphan.get(), panels[1]);
    MoveControlBehind(panels[2], orphan.get());
    EXPECT_EQ(form->Controls(1), panels[2]);
}

TEST(WindowHelpers, OutputWindowIsAHiddenUnskinnedPopupWithoutOwner)
{
    TOwned<TForm> owner(New<TForm>(nullptr));
    TOwned<TOutputWindow> out(New<TOutputWindow>(owner.get()));
    EXPECT_EQ(out->GetOwner(), nullptr);
    EXPECT_EQ(out->GetCaption(), L"acOutputWindow");
    EXPECT_EQ(out->GetTag(), NoSkinTag);
    EXPECT_EQ(out->GetColor(), clFuchsia);
    HWND wnd = out->GetHandle();
    EXPECT_FALSE(IsWindowVisible(wnd));
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(wnd, GWL_STYLE)) & ~WS_CLIPSIBLINGS & ~WS_CLIPCHILDREN, DWORD(WS_POPUP));
    EXPECT_EQ(GetWindow(wnd, GW_OWNER), Application->GetHandle());
    EXPECT_EQ(SendMessageW(wnd, WM_ERASEBKGND, 0, 0), 1);
    EXPECT_EQ(SendMessageW(wnd, WM_NCPAINT, 1, 0), 0);
}

TEST(WindowHelpers, MouseOverAGraphicControlNeedsItsParentsHandle)
{
    TOwned<TPanel> parent(New<TPanel>(nullptr));
    TLabel* label = New<TLabel>(parent.get());
    label->SetParent(parent.get());
    ASSERT_FALSE(parent->HandleAllocated());
    EXPECT_FALSE(IsMouseOverControl(label));
    EXPECT_FALSE(IsMouseOverControl(nullptr));
}

TEST(WindowHelpers, SetWindowLayeredAddsLayeringOnceAndAlwaysSetsAlpha)
{
    TOwned<TacGlowForm> glow(New<TacGlowForm>(nullptr));
    glow->SetBounds(40, 40, 30, 30);
    HWND wnd = glow->GetHandle();
    ASSERT_TRUE(LayeredWindowsAvailable());
    EXPECT_TRUE(SetWindowLayered(wnd, true, 100));
    EXPECT_FALSE(SetWindowLayered(wnd, true, 200));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    EXPECT_TRUE(flags & LWA_ALPHA);

    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    EXPECT_FALSE(SetWindowLayered(wnd, false, 0));
    EXPECT_FALSE(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE);
}

TEST(WindowHelpers, PaintLayeredWindowShowsTheBitmapOnScreen)
{
    TOwned<TacGlowForm> glow(New<TacGlowForm>(nullptr));
    glow->SetBounds(60, 70, 40, 30);
    HWND wnd = glow->GetHandle();
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    TOwned<TBitmap> image = Bitmap32(40, 30, 0xFF0000FF);   // opaque blue
    for (int y = 0; y < 30; ++y)
        for (int x = 20; x < 40; ++x)
            SetBitmap32Pixel(image.get(), x, y, 0xFF00FF00); // right half green
    const TPoint at(80, 90);
    PaintLayeredWindow(wnd, image.get(), 255, &at);
    testing_support::PumpMessages();
    EXPECT_TRUE(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(IsWindowVisible(wnd));
    RECT r;
    GetWindowRect(wnd, &r);
    EXPECT_EQ(r.left, 80);
    EXPECT_EQ(r.top, 90);
    EXPECT_EQ(skinned_fixtures::SettledScreenPixel(85, 100, RGB(0, 0, 255)), RGB(0, 0, 255));
    EXPECT_EQ(skinned_fixtures::SettledScreenPixel(110, 100, RGB(0, 255, 0)), RGB(0, 255, 0));
}

TEST(WindowHelpers, PaintControlToBitmapPaintsAFormWithItsControls)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetBorderStyle(bsNone);
    form->SetBounds(10, 10, 200, 120);
    form->SetColor(0x00C0FFC0);
    TPanel* panel = New<TPanel>(form.get());
    panel->SetParent(form.get());
    panel->SetBevelOuter(bvNone);
    panel->SetCaption(L"");
    panel->SetBounds(100, 10, 80, 60);
    panel->SetColor(0x0000C0FF);
    TEdit* edit = New<TEdit>(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, 10, 70, 24);
    edit->SetColor(0x00FFC0C0);
    TLabel* label = New<TLabel>(form.get());
    label->SetParent(form.get());
    label->SetAutoSize(false);
    label->SetTransparent(false);
    label->SetCaption(L"");
    label->SetBounds(10, 80, 60, 20);
    label->SetColor(0x00808000);
    form->Show();
    testing_support::PumpMessages();

    TOwned<TBitmap> bmp = Bitmap32(200, 120, 0);
    PaintControlToBitmap(bmp.get(), form.get(), 0, 0, nullptr, false);
    auto rgb = [&](int x, int y) { return GetBitmap32Pixel(bmp.get(), x, y) & 0xFFFFFF; };
    EXPECT_EQ(rgb(5, 110), SwapRedBlue(0xC0FFC0));   // the form
    EXPECT_EQ(rgb(140, 40), SwapRedBlue(0x00C0FF));  // the panel
    EXPECT_EQ(rgb(40, 90), SwapRedBlue(0x808000));   // the label
    EXPECT_EQ(rgb(60, 20), SwapRedBlue(0xFFC0C0));   // inside the edit
}

TEST(WindowHelpers, HiddenControlGetsItsParentsBackground)
{
    TOwned<TForm> form(New<TForm>(nullptr));
    form->SetColor(0x00204060);
    TPanel* panel = New<TPanel>(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(5, 5, 20, 10);
    panel->SetVisible(false);
    TOwned<TBitmap> bmp = Bitmap32(30, 20, 0);
    PaintControlToBitmap(bmp.get(), panel, 3, 4, nullptr, false);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 3, 4) & 0xFFFFFF, SwapRedBlue(0x204060));
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 22, 13) & 0xFFFFFF, SwapRedBlue(0x204060));
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 2, 4), 0u);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 23, 14), 0u);
}

TEST(WindowHelpers, ClearBitmapRectsMakesCutOutsTransparent)
{
    TOwned<TBitmap> bmp = Bitmap32(10, 10, 0xFF123456);
    ClearBitmapRects({TRect(0, 0, 2, 1), TRect(8, 9, 10, 10)}, bmp.get());
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), 0u);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 9, 9), 0u);
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 2, 0), 0xFF123456u);
}

TEST(WindowHelpers, ShowHintAtPlacesAPlainHintAndShowsLongTextsAtOnce)
{
    EXPECT_EQ(ShowHintAt(L"", TRect(0, 0, 10, 10)), nullptr);
    const String text(120, L'x');
    TOwned<THintWindow> hint(ShowHintAt(text, TRect(100, 100, 110, 110)));
    ASSERT_TRUE(hint);
    HWND wnd = hint->GetHandle();
    EXPECT_TRUE(IsWindowVisible(wnd));
    EXPECT_TRUE(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r;
    GetWindowRect(wnd, &r);
    EXPECT_EQ(r.left, 108);
    EXPECT_EQ(r.top, 116);
    EXPECT_EQ(hint->GetCaption(), text);
}

TEST(WindowHelpers, StartUpBindsTheThemeEntryPoint)
{
    ASSERT_NE(UxThemeModule(), nullptr);
    ASSERT_NE(SetWindowThemeProc, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(SetWindowThemeProc),
              reinterpret_cast<void*>(GetProcAddress(UxThemeModule(), "SetWindowTheme")));
}

} // namespace

#include "acLibraryGlobals.h"

namespace {

TEST(LibraryGlobals, StartValues)
{
    EXPECT_EQ(DisabledContentBlend, 100);
    EXPECT_EQ(DisabledFontBlend, 100);
    EXPECT_FALSE(HoverEditColors);
    EXPECT_TRUE(UseDefaultCharset);
    EXPECT_EQ(RepaintListenerControl, nullptr);
    EXPECT_EQ(LibraryMetrics.ArrowSize, 7);
    EXPECT_EQ(LibraryMetrics.ArrowHalf, 4);
    EXPECT_EQ(LibraryMetrics.Sizes[0], 16);
    EXPECT_EQ(LibraryMetrics.Sizes[3], 16);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
    EXPECT_EQ(LibraryMetrics.MessageFontSize, metrics.lfMessageFont.lfHeight);
}

} // namespace
