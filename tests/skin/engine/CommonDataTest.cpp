// The skin state of a control: its window property, section look-ups by
// kind code, background types, colours, background answers through nested
// transparent controls, nested updates, and the cache helpers, on real
// windows with the test skin "Controls" loaded.
#include "SkinnedControls.h"
#include "ExtCtrls.h"
#include "sAlphaGraph.h"
#include "sSkinImage.h"

using namespace skinned_controls;

namespace {

LRESULT CALLBACK CountingHook(int Code, WPARAM WParam, LPARAM LParam);
int hookedCommands = 0;

LRESULT CALLBACK CountingHook(int Code, WPARAM WParam, LPARAM LParam)
{
    if (Code == HC_ACTION && reinterpret_cast<const CWPSTRUCT*>(LParam)->message == SkinCommandMessage)
        ++hookedCommands;
    return CallNextHookEx(nullptr, Code, WParam, LParam);
}

TEST(CommonData, WindowPropertyLeadsStraightToTheStateAndGoesWithIt)
{
    TControlsScene scene;
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"SOLID", 10, 10, 40, 30);
    HWND wnd = box->GetHandle();
    ASSERT_EQ(GetWndSkinData(wnd), box->Data.get());

    // The senders call the state's method: a hook on the window's messages sees nothing.
    hookedCommands = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountingHook, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    EXPECT_EQ(SendWndCommand(wnd, SKC_QUERY_HANDLED, 0), 1);
    EXPECT_EQ(SendWndCommand(wnd, SKC_QUERY_SKIN_DATA, 0), reinterpret_cast<LRESULT>(box->Data.get()));
    EXPECT_EQ(hookedCommands, 0);
    SendMessageW(wnd, SkinCommandMessage, SkinCommandWParam(SKC_QUERY_HANDLED), 0);
    EXPECT_EQ(hookedCommands, 1) << "the hook itself works";
    UnhookWindowsHookEx(hook);

    // A window made again gets the property on its creation (WM_NCCREATE).
    box->RecreateWnd();
    box->HandleNeeded();
    EXPECT_NE(box->GetHandle(), wnd);
    EXPECT_EQ(GetWndSkinData(box->GetHandle()), box->Data.get());

    // Freed with its window alive: the property goes first, and the senders
    // reach the window's own procedure again.
    wnd = box->GetHandle();
    box->Data.reset();
    EXPECT_EQ(GetPropW(wnd, L"ACSDATA"), nullptr);
    EXPECT_EQ(SendWndCommand(wnd, SKC_QUERY_HANDLED, 0), 0);
}

TEST(CommonData, SectionsByKindCode)
{
    TControlsScene scene;
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"", 10, 10, 40, 30);
    struct Row {
        Byte Code;
        const wchar_t* Section;   // null: the owner names its own through command 9
    };
    const Row rows[] = {
        {18, L"COMBOBOX"}, {19, L"BAR"},       {20, L"BARTITLE"}, {50, L"CHECKBOX"},  {152, L"CHECKBOX"},
        {56, L"DRAGBAR"},  {98, L"TOOLBUTTON"}, {230, L"EDIT"},   {3, nullptr},       {85, nullptr},
        {226, nullptr},    {1, L"TSKINNEDBOX"}, {200, L"TSKINNEDBOX"},
    };
    for (const Row& row : rows) {
        box->Data->FSkinSection.clear();
        box->Data->COC = row.Code;
        box->Data->ResolveSkinSection();
        if (row.Section) {
            EXPECT_EQ(box->Data->FSkinSection, row.Section) << int(row.Code);
            EXPECT_EQ(box->Data->SkinIndex, scene.Section(row.Section)) << int(row.Code);
        } else {
            EXPECT_TRUE(box->Data->FSkinSection.empty()) << int(row.Code);
            // The box answers nothing to command 9: no section.
            EXPECT_EQ(box->Data->SkinIndex, -1) << int(row.Code);
        }
    }
    EXPECT_EQ(scene.Section(L"EDIT") >= 0, true);
    // The exact comparison: "Edit" over "EDIT" is a change, stored upper-case.
    box->Data->SetSkinSection(L"EDIT");
    box->Commands.clear();
    box->Data->SetSkinSection(L"Edit");
    EXPECT_EQ(box->Data->FSkinSection, L"EDIT");
    EXPECT_FALSE(box->Commands.empty()) << "a change repaints";
    box->Commands.clear();
    box->Data->SetSkinSection(L"EDIT");
    EXPECT_TRUE(box->Commands.empty());
    // A name the skin lacks: not skinned.
    box->Data->SetSkinSection(L"NOSUCHSECTION");
    EXPECT_EQ(box->Data->SkinIndex, -1);
    EXPECT_FALSE(box->Data->Skinned());
}

TEST(CommonData, BackgroundTypeByDrawModeAndGradient)
{
    TControlsScene scene;
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"SOLID", 10, 10, 40, 30);
    TsGeneralData& section = scene.manager->gd[box->Data->SkinIndex];
    // A texture image of the section's own whose draw mode each row sets.
    const int texture = scene.manager->GetMaskIndex(L"FORM", L"BORDERSMASK");
    ASSERT_GE(texture, 0);
    section.Props[0].ImagePercent = 50;
    section.Props[0].TextureIndex = texture;
    const struct {
        int DrawMode;
        Word BGType;
    } modes[] = {{0, 0xF0}, {1, 0xF4}, {2, 0x20}, {3, 0x10}, {4, 0x24}, {5, 0x14}, {6, 0x80},
                 {7, 0x40}, {8, 0x84}, {9, 0x44}, {10, 0xF0}, {11, 0xA4}, {12, 0x54}, {13, 0}};
    for (const auto& row : modes) {
        scene.manager->ma[texture].DrawMode = static_cast<std::int16_t>(row.DrawMode);
        box->Data->UpdateBGType();
        EXPECT_EQ(box->Data->BGType, row.BGType) << "draw mode " << row.DrawMode;
    }
    section.Props[0].ImagePercent = 0;
    section.Props[0].GradientArray.resize(2);
    const struct {
        int Mode, Percent;
        Word BGType;
    } gradients[] = {{0, 50, 0x02}, {1, 50, 0x01}, {2, 50, 0x03}, {3, 50, 0}, {1, 0, 0}, {0x21, 0, 0x01}};
    for (const auto& row : gradients) {
        section.Props[0].GradientArray[0].Mode = row.Mode;
        section.Props[0].GradientPercent = row.Percent;
        box->Data->UpdateBGType();
        EXPECT_EQ(box->Data->BGType, row.BGType) << "gradient mode " << row.Mode << " at " << row.Percent;
    }
    // Only the changed dimension counts.
    box->Data->BGType = 0x01;
    box->Data->CtrlSkinState = 0x10000;
    EXPECT_FALSE(box->Data->BGNeedsRepaintOnSize());
    box->Data->CtrlSkinState = 0x8000;
    EXPECT_TRUE(box->Data->BGNeedsRepaintOnSize());
}

TEST(CommonData, BackgroundColourAndHotState)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    auto* solid = scene.Add<TSkinnedBox>(panel, L"SOLID", 5, 5, 40, 30);
    auto* half = scene.Add<TSkinnedBox>(panel, L"HALF", 50, 5, 40, 30);
    auto* clear = scene.Add<TSkinnedBox>(panel, L"CLEAR", 95, 5, 40, 30);
    const TColor panelColor = scene.manager->gd[scene.Section(L"PANEL")].Props[0].Color;
    EXPECT_EQ(solid->Data->BackgroundColor(0, nullptr), 0x3030C0);
    EXPECT_EQ(solid->Data->BackgroundColor(1, nullptr), 0x4040D0);
    EXPECT_EQ(clear->Data->BackgroundColor(0, nullptr), panelColor);
    EXPECT_EQ(half->Data->BackgroundColor(0, nullptr), static_cast<TColor>(MixColors(panelColor, 0xFFFFFF, 127)));
    solid->Data->SetBoolProp(0, true);
    solid->SetColor(0x00123456);
    EXPECT_EQ(solid->Data->BackgroundColor(0, nullptr), 0x00123456) << "the user's colour";

    // Hot state.
    EXPECT_EQ(solid->Data->GetHotState(), 0);
    solid->Data->FMouseAbove = true;
    EXPECT_EQ(solid->Data->GetHotState(), 1);
    solid->Data->COC = 55; // never hot by hover
    EXPECT_EQ(solid->Data->GetHotState(), 0);
    solid->Data->COC = 3;  // an edit: only with the global hover flag
    EXPECT_EQ(solid->Data->GetHotState(), 0);
    solid->Data->COC = 0;
    scene.manager->Options.NoMouseHover = true;
    EXPECT_EQ(solid->Data->GetHotState(), 0);
    scene.manager->Options.NoMouseHover = false;
    solid->SetEnabled(false);
    EXPECT_EQ(solid->Data->GetHotState(), 0);
    solid->SetEnabled(true);
    solid->Data->FMouseAbove = false;
    solid->Data->FFocused = true;
    EXPECT_EQ(solid->Data->GetHotState(), 1);
    solid->Data->FFocused = false;
    // Holding the focus: hot, except a panel.
    TPanel* focusPanel = New<TPanel>(scene.form.get());
    focusPanel->SetParent(scene.form.get());
    focusPanel->SetBounds(250, 10, 30, 30);
    TsCommonData panelData(focusPanel);
    SetFocus(focusPanel->GetHandle());
    EXPECT_EQ(GetFocus(), focusPanel->GetHandle());
    EXPECT_EQ(panelData.GetHotState(), 0);
    SetFocus(solid->GetHandle());
    EXPECT_EQ(solid->Data->GetHotState(), 1);
}

TEST(CommonData, BackgroundAnswersByKind)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    auto* solid = scene.Add<TSkinnedBox>(panel, L"SOLID", 5, 5, 40, 30);
    auto* half = scene.Add<TSkinnedBox>(panel, L"HALF", 50, 5, 40, 30);

    // An opaque plain section: a colour (when no outer effect is drawn around it).
    scene.manager->Effects()->SetBoolProp(0, false);
    TacBGRequest request;
    solid->Data->AnswerBGRequest(request, 0, nullptr);
    EXPECT_EQ(request.BgKind, bgColor);
    EXPECT_EQ(request.Color, 0x3030C0);
    // A half transparent one answers from its cache, built on request.
    request = TacBGRequest();
    half->Data->FCacheBmp->SetSize(0, 0);
    half->Data->BGChanged = true;
    half->Data->AnswerBGRequest(request, 0, nullptr);
    EXPECT_EQ(request.BgKind, bgImage);
    EXPECT_EQ(request.Bmp, half->Data->FCacheBmp);
    // Its cache cannot be built yet: not ready, and the state waits.
    request = TacBGRequest();
    half->Building = false;
    half->Data->FCacheBmp->SetSize(0, 0);
    half->Data->BGChanged = true;
    half->Data->FUpdating = false;
    half->Data->AnswerBGRequest(request, 0, nullptr);
    EXPECT_EQ(request.BgKind, bgNotReady);
    EXPECT_TRUE(half->Data->FUpdating);
    // Unskinned: the control's own colour as RGB.
    request = TacBGRequest();
    solid->Data->SetSkinSection(L"NOSUCHSECTION");
    solid->SetColor(clBtnFace);
    solid->Data->AnswerBGRequest(request, 0, nullptr);
    EXPECT_EQ(request.BgKind, bgColor);
    EXPECT_EQ(request.Color, ColorToRGB(clBtnFace));
}

TEST(CommonData, NestedTransparentControlsResolveToTheFirstOpaqueAncestor)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    auto* outer = scene.Add<TSkinnedBox>(panel, L"CLEAR", 20, 30, 120, 90);
    auto* inner = scene.Add<TSkinnedBox>(outer, L"CLEAR", 7, 11, 60, 40);
    // Transparent sections without a cache of their own pass the request on.
    FreeAndNil(outer->Data->FCacheBmp);
    FreeAndNil(inner->Data->FCacheBmp);
    // The panel's cache: a colour per column so that the offset shows.
    panel->Data->EnsureCacheBmp();
    panel->Data->BGChanged = false;
    panel->Building = false;
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 150; ++y)
            SetBitmap32Pixel(panel->Data->FCacheBmp, x, y, 0xFF000000u | static_cast<Cardinal>(x) << 16 | y);
    TacBGRequest request;
    request.R = TRect(0, 0, 5, 5);
    SendWndCommand(inner->GetHandle(), SKC_QUERY_BACKGROUND, reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(request.BgKind, bgImage);
    EXPECT_EQ(request.Bmp, panel->Data->FCacheBmp);
    EXPECT_EQ(request.Offset.x, 27);
    EXPECT_EQ(request.Offset.y, 41);

    // Drawn into a DC: the pixels of the panel under the inner control.
    TOwned<TBitmap> target(MakeBitmap32(5, 5));
    TacBGRequest draw;
    draw.PleaseDraw = 1;
    draw.DrawDC = target->GetCanvas()->GetHandle();
    draw.R = TRect(0, 0, 5, 5);
    draw.Offset = request.Offset;
    SendWndCommand(panel->GetHandle(), SKC_QUERY_BACKGROUND, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(draw.BgKind, bgImage);
    for (const POINT p : {POINT{0, 0}, POINT{4, 2}, POINT{2, 4}})
        EXPECT_EQ(GetBitmap32Pixel(target.get(), p.x, p.y) & 0xFFFFFF,
                  static_cast<Cardinal>(27 + p.x) << 16 | static_cast<Cardinal>(41 + p.y))
            << p.x << "," << p.y;
}

TEST(CommonData, NestedUpdatesEndWithTheOuterPair)
{
    TControlsScene scene;
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"SOLID", 10, 10, 40, 30);
    box->Commands.clear();
    box->Data->BeginUpdate();
    box->Data->BeginUpdate();
    box->Data->EndUpdate(false);
    EXPECT_TRUE(box->Data->FUpdating) << "an inner end leaves the outer update on";
    EXPECT_TRUE(box->Data->CtrlSkinState & 0x800);
    box->Data->EndUpdate(false);
    EXPECT_FALSE(box->Data->FUpdating);
    EXPECT_FALSE(box->Data->CtrlSkinState & 0x800);
    EXPECT_EQ(box->Commands, (std::vector<int>{SKC_UPDATE_BEGIN, SKC_UPDATE_BEGIN, SKC_UPDATE_END}));
    // An end without a begin goes below 0 and still tells the owner.
    box->Commands.clear();
    box->Data->EndUpdate(false);
    EXPECT_EQ(box->Data->FUpdateCount, -1);
    EXPECT_EQ(box->Commands, (std::vector<int>{SKC_UPDATE_END}));
}

TEST(CommonData, DefaultManagerIsFollowedNotStored)
{
    TControlsScene scene;
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"SOLID", 10, 10, 40, 30);
    TsSkinManager* savedDefault = DefaultManager;
    DefaultManager = scene.manager.get();
    box->Data->FSkinManager = nullptr;
    box->Data->SetSkinManager(scene.manager.get());
    EXPECT_EQ(box->Data->FSkinManager, nullptr);
    EXPECT_FALSE(box->Data->IsSkinManagerStored());
    EXPECT_EQ(box->Data->GetSkinManager(), scene.manager.get());
    DefaultManager = savedDefault;
    EXPECT_TRUE(ContentShiftsOnClick(-1, nullptr) || DefaultManager);
}

TEST(CommonData, TransparentCornersAreClearedToNothing)
{
    TControlsScene scene;
    const int form = scene.Section(L"FORM");
    ASSERT_GE(form, 0);
    TOwned<TBitmap> bmp(MakeBitmap32(40, 30));
    FillBitmap32Rect(bmp.get(), TRect(0, 0, 40, 30), 0x00FFFFFF, 255);
    ClearTransparentCorners(form, bmp.get(), scene.manager.get());
    // Key corners: the top-left 3 x 3 of the border image.
    const struct {
        int X, Y;
        Cardinal Pixel;
    } rows[] = {{0, 0, 0}, {2, 2, 0}, {3, 0, 0xFFFFFFFF}, {0, 3, 0xFFFFFFFF}, {39, 0, 0xFFFFFFFF},
                {0, 29, 0xFFFFFFFF}, {20, 15, 0xFFFFFFFF}};
    for (const auto& row : rows)
        EXPECT_EQ(GetBitmap32Pixel(bmp.get(), row.X, row.Y), row.Pixel) << row.X << "," << row.Y;
    // An index outside the table changes nothing.
    FillBitmap32Rect(bmp.get(), TRect(0, 0, 40, 30), 0x00FFFFFF, 255);
    ClearTransparentCorners(1000, bmp.get(), scene.manager.get());
    EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0xFFFFFFFFu);
}

TEST(CommonData, SeeThroughStatesAndUntrustedIndexes)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    const int clear = scene.Section(L"CLEAR");
    EXPECT_TRUE(IsStateSeeThrough(scene.manager.get(), clear, 0, panel));
    EXPECT_FALSE(IsStateSeeThrough(scene.manager.get(), scene.Section(L"HALF"), 0, panel)) << "50 is not above 50";
    EXPECT_FALSE(IsStateSeeThrough(scene.manager.get(), clear, 0, scene.form.get())) << "no parent";
    // A masked border whose mask position lies outside its bitmap: not see-through.
    TsGeneralData& section = scene.manager->gd[clear];
    const int border = scene.manager->GetMaskIndex(L"FORM", L"BORDERSMASK");
    section.BorderIndex = border;
    TsMaskData& mask = scene.manager->ma[border];
    mask.DrawMode = 4;
    mask.MaskType = 1;
    const TRect saved = mask.R;
    mask.R = TRect(5000, 5000, 5024, 5024);
    EXPECT_FALSE(IsStateSeeThrough(scene.manager.get(), clear, 1, panel));
    mask.R = saved;
    section.BorderIndex = -1;
    // Font colours for indexes answered from elsewhere stay inside the table.
    EXPECT_EQ(GetWndSkinFontColor(panel->GetHandle(), 5000, scene.manager.get(), 1),
              scene.manager->gd[scene.Section(L"PANEL")].Props[1].FontColor.Color);
    EXPECT_EQ(GetSkinFontColor(nullptr, scene.Section(L"PANEL"), scene.manager.get(), nullptr, 7),
              scene.manager->gd[scene.Section(L"PANEL")].Props[1].FontColor.Color)
        << "state clamped to the section's states";
}

} // namespace

namespace {

TEST(CommonData, ColourAdjustmentsLeaveTheKeyColourAlone)
{
    TControlsScene scene;
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"SOLID", 10, 10, 40, 30);
    TsCommonData& data = *box->Data;
    const struct {
        int Saturation, Hue;
        Byte Kind;
        TColor Tone, Argument;
        bool Grey, Changed;
    } rows[] = {
        {-100, 0, 0, clNone, 0, true, true},     // no saturation left: grey
        {0, 0, 0, clNone, 0, false, false},      // nothing to do
        {0, 120, 0, clNone, 0, false, true},     // a hue shift moves red away
        {0, 0, 93, clNone, 0, false, false},     // kind 93: the argument's tone, 0 means none
    };
    for (const auto& row : rows) {
        TOwned<TBitmap> bmp(MakeBitmap32(4, 1));
        SetBitmap32Pixel(bmp.get(), 0, 0, 0xFFC02020u);  // reddish, pixel order
        SetBitmap32Pixel(bmp.get(), 1, 0, FuchsiaPixel);
        data.FSaturation = row.Saturation;
        data.FHUEOffset = row.Hue;
        data.COC = row.Kind;
        data.FColorTone = row.Tone;
        ApplyColorAdjustments(bmp.get(), &data, row.Argument, 0);
        const Cardinal p = GetBitmap32Pixel(bmp.get(), 0, 0);
        EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 1, 0), FuchsiaPixel) << row.Saturation << " " << row.Hue;
        EXPECT_EQ((p & 0xFFFFFF) != 0xC02020u, row.Changed) << std::hex << p;
        if (row.Grey)
            EXPECT_TRUE(((p >> 16) & 0xFF) == ((p >> 8) & 0xFF) && ((p >> 8) & 0xFF) == (p & 0xFF)) << std::hex << p;
    }
}

TEST(CommonData, CacheCopyLeavesOutChildWindowsAndGroupBoxesByTheirFrame)
{
    TControlsScene scene;
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"SOLID", 10, 10, 200, 120);
    box->Data->EnsureCacheBmp();
    FillBitmap32Rect(box->Data->FCacheBmp, TRect(0, 0, 200, 120), 0x000000FF, 255);
    HWND parent = box->GetHandle();
    HWND plain = CreateWindowW(L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 40, 40, parent, nullptr, nullptr, nullptr);
    HWND group = CreateWindowW(L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 80, 10, 100, 80, parent, nullptr,
                               nullptr, nullptr);
    TOwned<TBitmap> target(MakeBitmap32(200, 120));
    FillBitmap32Rect(target.get(), TRect(0, 0, 200, 120), 0x00FFFFFF, 255);
    // No group-box section anywhere: the box is left out by its caption strip only.
    TsSkinManager* savedDefault = DefaultManager;
    DefaultManager = nullptr;
    PaintCacheExceptChildWnds(parent, box->Data.get(), TRect(0, 0, 200, 120), 0, 0, false,
                              target->GetCanvas()->GetHandle(), TRect(0, 0, 200, 120));
    DefaultManager = savedDefault;
    const struct {
        int X, Y;
        Cardinal Pixel;
    } rows[] = {{5, 5, 0xFFFF0000u}, {30, 30, 0xFFFFFFFFu}, {120, 50, 0xFFFF0000u}, {81, 50, 0xFFFF0000u},
                {190, 110, 0xFFFF0000u}};
    for (const auto& row : rows)
        EXPECT_EQ(GetBitmap32Pixel(target.get(), row.X, row.Y) | 0xFF000000u, row.Pixel) << row.X << "," << row.Y;
    DestroyWindow(plain);
    DestroyWindow(group);
}

} // namespace
