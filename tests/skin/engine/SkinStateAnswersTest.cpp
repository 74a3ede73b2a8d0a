// The skin state's answers that hang on its surroundings: whether a move
// repaints it, the parent's cache it paints over, the setters that re-read
// the skin, the commands that walk the children (6, 20, 36, 53), the context
// menu handed to the skinned menus, and the generated test skin's masked
// border, outer-effect entries and damaged images.
#include "SkinnedControls.h"
#include "ExtCtrls.h"
#include "Menus.h"
#include "sAlphaGraph.h"
#include "sSkinProvider.h"
#include <algorithm>

using namespace skinned_controls;

namespace {

LRESULT Command(HWND Wnd, int Command, LPARAM LParam, Word Low = 0)
{
    return SendMessageW(Wnd, SkinCommandMessage, SkinCommandWParam(Command, Low), LParam);
}

int CountOf(const std::vector<int>& Commands, int Command)
{
    return static_cast<int>(std::count(Commands.begin(), Commands.end(), Command));
}

TEST(SkinState, MovesRepaintWhatShowsAComplexParent)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    TPanel* plain = New<TPanel>(scene.form.get());
    plain->SetParent(scene.form.get());
    plain->SetBounds(220, 10, 90, 90);
    plain->HandleNeeded();
    auto* solid = scene.Add<TSkinnedBox>(panel, L"SOLID", 10, 10, 40, 30);
    auto* halfOverSkin = scene.Add<TSkinnedBox>(panel, L"HALF", 60, 10, 40, 30);
    auto* halfOverPlain = scene.Add<TSkinnedBox>(plain, L"HALF", 5, 5, 40, 30);
    auto* unskinned = scene.Add<TSkinnedBox>(panel, L"NOSUCHSECTION", 10, 60, 40, 30);
    auto* disabled = scene.Add<TSkinnedBox>(panel, L"SOLID", 60, 60, 40, 30);
    disabled->SetEnabled(false);
    TsCommonData ownerless(nullptr);
    const struct {
        const char* Name;
        TsCommonData* Data;
        bool Repaints;
    } rows[] = {
        {"opaque section", solid->Data.get(), false},
        {"half transparent over a skinned parent", halfOverSkin->Data.get(), true},
        {"half transparent over a plain parent", halfOverPlain->Data.get(), false},
        {"not skinned", unskinned->Data.get(), true},
        {"disabled", disabled->Data.get(), true},
        {"no owner", &ownerless, true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.Data->RepaintIfMoved(), row.Repaints) << row.Name;

    // Command 20: the flag follows the answer; children hear of it only
    // when the control repaints; low word 1 invalidates the window.
    auto* inner = scene.Add<TSkinnedBox>(halfOverSkin, L"SOLID", 2, 2, 10, 10);
    auto* solidInner = scene.Add<TSkinnedBox>(solid, L"SOLID", 2, 2, 10, 10);
    for (TSkinnedBox* box : {solid, halfOverSkin})
        box->Data->BGChanged = false;
    inner->Commands.clear();
    solidInner->Commands.clear();
    testing_support::PumpMessages();
    const int paints = solid->Paints;
    Command(solid->GetHandle(), SKC_PARENT_MOVED, 0, 1);
    Command(halfOverSkin->GetHandle(), SKC_PARENT_MOVED, 0, 0);
    EXPECT_FALSE(solid->Data->BGChanged);
    EXPECT_TRUE(halfOverSkin->Data->BGChanged);
    EXPECT_EQ(CountOf(solidInner->Commands, SKC_PARENT_MOVED), 0);
    EXPECT_EQ(CountOf(inner->Commands, SKC_PARENT_MOVED), 1);
    testing_support::PumpMessages();
    EXPECT_GT(solid->Paints, paints) << "low word 1 invalidates";
}

TEST(SkinState, ParentCacheInfoComesFromTheParentsImage)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    auto* box = scene.Add<TSkinnedBox>(panel, L"SOLID", 20, 30, 40, 30);
    // The panel's section is plain colour (and no outer effect can fall on
    // it): a colour answer.
    scene.manager->Effects()->SetBoolProp(0, false);
    TCacheInfo info;
    box->Data->GetParentCacheInfo(info);
    EXPECT_FALSE(info.Ready);
    EXPECT_EQ(info.Bmp, nullptr);
    EXPECT_EQ(ColorToRGB(info.FillColor), ColorToRGB(scene.manager->gd[scene.Section(L"PANEL")].Props[0].Color));

    // A parent whose background is its image: its cache, from its origin.
    TsGeneralData& section = scene.manager->gd[scene.Section(L"PANEL")];
    section.Props[0].GradientPercent = 100;
    panel->Data->BGChanged = true;
    box->Data->GetParentCacheInfo(info);
    EXPECT_TRUE(info.Ready);
    EXPECT_EQ(info.Bmp, panel->Data->FCacheBmp);
    EXPECT_EQ(info.X, 0);
    EXPECT_EQ(info.Y, 0);
    EXPECT_EQ(panel->Data->FCacheBmp->GetWidth(), 200) << "built for the question";

    // A parent that cannot build its image yet: not ready, key-colour fill.
    panel->Building = false;
    panel->Data->FCacheBmp->SetSize(0, 0);
    panel->Data->BGChanged = true;
    box->Data->GetParentCacheInfo(info);
    EXPECT_FALSE(info.Ready);
    EXPECT_EQ(info.FillColor, clFuchsia);
    section.Props[0].GradientPercent = 0;

    // No parent and no skin: the state's own colour, not ready.
    TsCommonData ownerless(nullptr);
    ownerless.GetParentCacheInfo(info);
    EXPECT_FALSE(info.Ready);
    EXPECT_EQ(info.X, 0);
    EXPECT_EQ(info.Y, 0);
}

TEST(SkinState, SettersReReadTheSkinAndRepaint)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    auto* box = scene.Add<TSkinnedBox>(panel, L"SOLID", 20, 30, 40, 30);
    TsCommonData& data = *box->Data;

    // Colour tone, hue and saturation: stored, the image marked old; the
    // same value again changes nothing.
    const struct {
        const char* Name;
        std::function<void()> Set;
        std::function<bool()> Stored;
    } rows[] = {
        {"tone", [&] { data.SetColorTone(0x00FF0000); }, [&] { return data.FColorTone == 0x00FF0000; }},
        {"hue", [&] { data.SetIntProp(0, 90); }, [&] { return data.FHUEOffset == 90; }},
        {"saturation", [&] { data.SetIntProp(1, -50); }, [&] { return data.FSaturation == -50; }},
    };
    for (const auto& row : rows) {
        data.BGChanged = false;
        row.Set();
        EXPECT_TRUE(row.Stored()) << row.Name;
        EXPECT_TRUE(data.BGChanged) << row.Name;
        data.BGChanged = false;
        row.Set();
        EXPECT_FALSE(data.BGChanged) << row.Name << " again";
    }

    // Custom colours of an edit: the user's colour is kept while on, the
    // skin's while off.
    auto* edit = scene.Add<TSkinnedEdit>(scene.form.get(), L"EDIT", 10, 200, 120, 24);
    TsCommonData& editData = *edit->Data;
    const TsGeneralData& editSection = scene.manager->gd[scene.Section(L"EDIT")];
    editData.UpdateControlColors(false);
    EXPECT_EQ(edit->GetColor(), editSection.Props[0].Color);
    editData.SetBoolProp(0, true);
    edit->SetColor(0x00123456);
    editData.SetBoolProp(0, false);
    EXPECT_EQ(editData.SavedColor, 0x00123456);
    EXPECT_EQ(edit->GetColor(), editSection.Props[0].Color);
    editData.SetBoolProp(0, true);
    EXPECT_EQ(edit->GetColor(), 0x00123456) << "the saved colour comes back";
    editData.SetBoolProp(1, true);
    edit->GetFont()->SetColor(0x00654321);
    editData.SetBoolProp(1, false);
    EXPECT_EQ(editData.SavedFontColor, 0x00654321);
    EXPECT_EQ(edit->GetFont()->GetColor(), editSection.Props[0].FontColor.Color);

    // Scroll sizes of a window with skinned scroll bars: a new width
    // changes the frame, a new button size repaints it.
    TsScrollWndData scrolls(panel);
    panel->FrameChanges = 0;
    panel->NcPaints = 0;
    scrolls.FVertScrollData->SetIntProp(0, 12);
    EXPECT_EQ(scrolls.FVertScrollData->GetScrollWidth(), 12);
    EXPECT_GT(panel->FrameChanges, 0);
    scrolls.FVertScrollData->SetIntProp(1, 9);
    EXPECT_EQ(scrolls.FVertScrollData->GetButtonsSize(), 9);
    const int frames = panel->FrameChanges;
    scrolls.FVertScrollData->SetIntProp(0, 12);
    EXPECT_EQ(panel->FrameChanges, frames) << "the same width again";

    // Outer effects: a new visibility asks the parent to repaint.
    panel->Commands.clear();
    data.FOuterEffects->SetVisibility(ovAlways);
    EXPECT_EQ(CountOf(panel->Commands, SKC_REPAINT), 1);
    data.FOuterEffects->SetVisibility(ovAlways);
    EXPECT_EQ(CountOf(panel->Commands, SKC_REPAINT), 1);
}

TEST(SkinCommand, CommandsThatWalkTheChildren)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    auto* child = scene.Add<TSkinnedBox>(panel, L"SOLID", 20, 30, 40, 30);
    HWND wnd = panel->GetHandle();
    const LPARAM m = reinterpret_cast<LPARAM>(scene.manager.get());
    testing_support::PumpMessages();

    // 6: only an updating control repaints and tells its children.
    child->Commands.clear();
    int paints = panel->Paints;
    panel->Data->FUpdating = false;
    Command(wnd, SKC_UPDATE_FINISHED, 0);
    EXPECT_EQ(CountOf(child->Commands, SKC_UPDATE_FINISHED), 0);
    EXPECT_EQ(panel->Paints, paints);
    panel->Data->FUpdating = true;
    Command(wnd, SKC_UPDATE_FINISHED, 0);
    EXPECT_FALSE(panel->Data->FUpdating);
    EXPECT_EQ(CountOf(child->Commands, SKC_UPDATE_FINISHED), 1);
    EXPECT_GT(panel->Paints, paints) << "repainted at once";

    // 53: the frame is measured again, the children hear of it.
    child->Commands.clear();
    panel->FrameChanges = 0;
    Command(wnd, SKC_SCROLLBARS_CHANGED, 0);
    EXPECT_GT(panel->FrameChanges, 0);
    EXPECT_EQ(CountOf(child->Commands, SKC_SCROLLBARS_CHANGED), 1);

    // 36: only from the state's manager; the default font name is replaced.
    TOwned<TsSkinManager> other(New<TsSkinManager>(nullptr));
    scene.manager->DefOldFontName = L"MS Sans Serif";
    scene.manager->DefStoredFontName = L"MS Sans Serif";
    scene.manager->DefNewFontName = L"Verdana";
    panel->SetParentFont(false);
    panel->GetFont()->SetName(scene.manager->DefOldFontName);
    child->Commands.clear();
    panel->Data->BGChanged = false;
    Command(wnd, SKC_FONTS_CHANGED, reinterpret_cast<LPARAM>(other.get()));
    EXPECT_FALSE(panel->Data->BGChanged);
    EXPECT_EQ(CountOf(child->Commands, SKC_FONTS_CHANGED), 0);
    Command(wnd, SKC_FONTS_CHANGED, m);
    EXPECT_TRUE(panel->Data->BGChanged);
    EXPECT_EQ(CountOf(child->Commands, SKC_FONTS_CHANGED), 1);
    EXPECT_EQ(panel->GetFont()->GetName(), scene.manager->CommonSkinData.Active ? L"Verdana" : L"MS Sans Serif");
}

// The skinned menus' stand-in: what it was asked to hook.
struct THookRecord {
    int Calls = 0;
    TsSkinManager* Manager = nullptr;
    TPopupMenu* Menu = nullptr;
    bool Active = false;
};
THookRecord hookRecord;

void RecordHook(TsSkinManager* Manager, TPopupMenu* Menu, bool Active)
{
    ++hookRecord.Calls;
    hookRecord.Manager = Manager;
    hookRecord.Menu = Menu;
    hookRecord.Active = Active;
}

TEST(SkinMessage, ContextMenuIsHandedToTheSkinnedMenus)
{
    TControlsScene scene;
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"SOLID", 20, 30, 40, 30);
    const THookPopupMenu saved = HookPopupMenuProc;
    HookPopupMenuProc = RecordHook;
    hookRecord = THookRecord();
    TMessage context{WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box->GetHandle()), MAKELPARAM(30, 40), 0};
    // No popup menu: nothing to hook.
    EXPECT_FALSE(HandleSkinMessage(context, box->Data.get()));
    EXPECT_EQ(hookRecord.Calls, 0);
    auto* menu = New<TPopupMenu>(scene.form.get());
    box->SetPopupMenu(menu);
    EXPECT_FALSE(HandleSkinMessage(context, box->Data.get())) << "the control still gets it";
    EXPECT_EQ(hookRecord.Calls, 1);
    EXPECT_EQ(hookRecord.Manager, scene.manager.get());
    EXPECT_EQ(hookRecord.Menu, menu);
    EXPECT_EQ(hookRecord.Active, scene.manager->GetActive());
    // Without the skinned menus the message only passes.
    HookPopupMenuProc = nullptr;
    EXPECT_FALSE(HandleSkinMessage(context, box->Data.get()));
    HookPopupMenuProc = saved;
    box->SetPopupMenu(nullptr);
}

TEST(GeneratedSkin, MaskedBorderTellsTheStatesApart)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    const int masked = scene.Section(L"MASKED");
    ASSERT_GE(masked, 0);
    ASSERT_TRUE(scene.manager->IsValidImgIndex(scene.manager->gd[masked].BorderIndex));
    const struct {
        int State;
        bool SeeThrough;
    } rows[] = {{0, false}, {1, true}, {2, false}, {7, false}};
    for (const auto& row : rows)
        EXPECT_EQ(IsStateSeeThrough(scene.manager.get(), masked, row.State, panel), row.SeeThrough) << row.State;
    // The control's own question, through the command of its parent.
    auto* box = scene.Add<TSkinnedBox>(panel, L"MASKED", 20, 30, 40, 30);
    EXPECT_FALSE(box->Data->ShowsParentAt(0));
    EXPECT_TRUE(box->Data->ShowsParentAt(1));
    TacStateSectionRequest request;
    request.State = 1;
    Command(box->GetHandle(), SKC_QUERY_STATE_SECTION, reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(request.SkinIndex, scene.Section(L"PANEL")) << "the hot state shows the parent's section";
    request = TacStateSectionRequest();
    request.State = 2;
    Command(box->GetHandle(), SKC_QUERY_STATE_SECTION, reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(request.SkinIndex, masked);
}

TEST(GeneratedSkin, OuterEffectsFromTheSectionAndFromTheSkinsTable)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    const struct {
        const wchar_t* Section;
        int Margin;
        Cardinal Pixel;   // 0x00RRGGBB of the effect's image
    } rows[] = {{L"OUTER", 4, 0x0000E0A0u}, {L"OUTERTABLE", 5, 0x00A0E000u}};
    for (const auto& row : rows) {
        auto* box = scene.Add<TSkinnedBox>(panel, row.Section, 40, 40, 60, 40);
        box->Data->FOuterEffects->FVisibility = ovAlways;
        TOwned<TBitmap> image(MakeBitmap32(200, 150));
        FillBitmap32Rect(image.get(), TRect(0, 0, 200, 150), 0x00FFFFFF, 255);
        TacBGRequest request;
        request.Bmp = image.get();
        request.Offset = TPoint(0, 0);
        SendWndCommand(box->GetHandle(), SKC_PAINT_OUTER_EFFECT, reinterpret_cast<LPARAM>(&request));
        // Inside the effect left of the control, and well outside it.
        EXPECT_EQ(GetBitmap32Pixel(image.get(), 40 - row.Margin + 1, 60) & 0xFFFFFF, row.Pixel) << row.Section;
        EXPECT_EQ(GetBitmap32Pixel(image.get(), 40 - row.Margin - 2, 60) & 0xFFFFFF, 0xFFFFFFu) << row.Section;
        ASSERT_TRUE(box->Data->FOuterCache) << row.Section;
        EXPECT_EQ(box->Data->FOuterCache->GetWidth(), 60 + 2 * row.Margin) << row.Section;
        box->Free();
    }
}

TEST(GeneratedSkin, DamagedImagesNeitherCrashNorReachOutside)
{
    TControlsScene scene("ControlsDamaged");
    ASSERT_TRUE(scene.manager->GetActive());
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    // A mask rectangle outside the master bitmap: no state reads as see-through
    // by its mask (the image may have been refused: then only the section's
    // transparency speaks).
    const int masked = scene.Section(L"MASKED");
    ASSERT_GE(masked, 0);
    const bool imageKept = scene.manager->IsValidImgIndex(scene.manager->gd[masked].BorderIndex);
    for (int state : {1, 2})
        EXPECT_EQ(IsStateSeeThrough(scene.manager.get(), masked, state, panel), !imageKept) << state;
    auto* box = scene.Add<TSkinnedBox>(panel, L"MASKED", 20, 30, 40, 30);
    TOwned<TBitmap> target(MakeBitmap32(40, 30));
    TacBGRequest request;
    request.Bmp = target.get();
    Command(box->GetHandle(), SKC_QUERY_BACKGROUND, reinterpret_cast<LPARAM>(&request));

    // Corner runs wider than the form: the region stays inside the window
    // and nothing is left behind (counted over a second round, after what
    // the first use of each part keeps for good).
    DWORD gdiBefore = 0;
    for (int round = 0; round < 2; ++round) {
        testing_support::PumpMessages();
        gdiBefore = testing_support::GdiObjectCount();
        TOwned<TForm> form(New<TForm>(nullptr));
        form->SetBounds(100, 100, 120, 90);
        form->Show();
        TOwned<TsSkinProvider> provider(New<TsSkinProvider>(form.get()));
        provider->FCommonData->SetSkinManager(scene.manager.get());
        provider->FCommonData->UpdateIndexes(true);
        provider->ApplyFormRegion(false, true);
        TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
        if (GetWindowRgn(form->GetHandle(), region.Get()) != ERROR) {
            RECT box{};
            GetRgnBox(region.Get(), &box);
            EXPECT_GE(box.left, 0);
            EXPECT_GE(box.top, 0);
            EXPECT_LE(box.right, form->GetWidth());
            EXPECT_LE(box.bottom, form->GetHeight());
        }
        TOwned<TBitmap> bmp(MakeBitmap32(120, 90));
        FillBitmap32Rect(bmp.get(), TRect(0, 0, 120, 90), 0x00FFFFFF, 255);
        ClearTransparentCorners(scene.Section(L"FORM"), bmp.get(), scene.manager.get());
        EXPECT_EQ(GetBitmap32Pixel(bmp.get(), 0, 0), 0u) << "the corner is cleared";
    }
    testing_support::PumpMessages();
    EXPECT_LE(testing_support::GdiObjectCount(), gdiBefore);
}

} // namespace
