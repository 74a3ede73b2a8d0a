// The common answers to the library command (0xA100, sent as a real window
// message to a skinned test control) and to the shared window messages:
// focus colours, sizes, transparency queries, refusals of pointer
// arguments that cannot be followed.
#include "SkinnedControls.h"
#include "sAlphaGraph.h"
#include <atomic>
#include <thread>

using namespace skinned_controls;

namespace {

LRESULT Command(HWND Wnd, int Command, LPARAM LParam, Word Low = 0)
{
    return SendMessageW(Wnd, SkinCommandMessage, SkinCommandWParam(Command, Low), LParam);
}

TEST(SkinCommand, EveryCommandOfTheTable)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    auto* box = scene.Add<TSkinnedBox>(panel, L"SOLID", 10, 10, 40, 30);
    HWND wnd = box->GetHandle();
    TsCommonData& data = *box->Data;
    const LPARAM m = reinterpret_cast<LPARAM>(scene.manager.get());

    EXPECT_EQ(Command(wnd, SKC_QUERY_HANDLED, 0), 1);
    EXPECT_EQ(Command(wnd, SKC_QUERY_SKIN_DATA, 0), reinterpret_cast<LRESULT>(&data));
    EXPECT_EQ(Command(wnd, SKC_QUERY_APPLICATION, 0), reinterpret_cast<LRESULT>(Application));
    EXPECT_EQ(Command(wnd, SKC_QUERY_COMPLEX_BG, 0), 1);
    EXPECT_EQ(Command(wnd, SKC_QUERY_SCALE, 0), 100);

    Command(wnd, SKC_SET_UPDATING, 0, 1);
    EXPECT_TRUE(data.FUpdating);
    Command(wnd, SKC_SET_UPDATING, 0, 0);
    EXPECT_FALSE(data.FUpdating);
    EXPECT_EQ(Command(wnd, SKC_QUERY_HALF_VISIBLE, 0), 0);
    Command(wnd, SKC_SET_HALF_VISIBLE, 0);
    EXPECT_EQ(Command(wnd, SKC_QUERY_HALF_VISIBLE, 0), 1);

    data.BGChanged = false;
    Command(wnd, SKC_BG_INVALID, 0);
    EXPECT_TRUE(data.BGChanged);
    data.BGChanged = false;
    Command(wnd, SKC_REPAINT, 0);
    EXPECT_TRUE(data.BGChanged);

    // Printing.
    TOwned<TBitmap> print(MakeBitmap32(4, 4));
    HDC dc = print->GetCanvas()->GetHandle();
    Command(wnd, SKC_SET_PRINTING, reinterpret_cast<LPARAM>(dc));
    EXPECT_TRUE(data.CtrlSkinState & 0x200);
    EXPECT_EQ(data.PrintDC, dc);
    Command(wnd, SKC_SET_PRINTING, 0);
    EXPECT_FALSE(data.CtrlSkinState & 0x200);

    // Scale: handled, yet passed on to the window's own procedure too.
    TMessage scale{SkinCommandMessage, SkinCommandWParam(SKC_SET_SCALE), 150, 0};
    EXPECT_FALSE(HandleSkinCommand(scale, &data));
    EXPECT_EQ(data.ScalePercent, 150);
    EXPECT_EQ(Command(wnd, SKC_QUERY_SCALE, 0), 150);

    // Pointer commands.
    struct {
        Integer First = 0, Second = 0;
    } record;
    Command(wnd, SKC_FILL_SKIN_INDEX, reinterpret_cast<LPARAM>(&record));
    EXPECT_EQ(record.Second, scene.Section(L"SOLID"));
    RECT bounds{};
    Command(wnd, SKC_QUERY_BOUNDS, reinterpret_cast<LPARAM>(&bounds));
    EXPECT_EQ(TRect(bounds), TRect(10, 10, 50, 40));
    String name = L"clear";
    EXPECT_EQ(Command(wnd, SKC_SET_SECTION, reinterpret_cast<LPARAM>(&name)), 1);
    EXPECT_EQ(data.SkinIndex, scene.Section(L"CLEAR"));
    name = L"SOLID";
    Command(wnd, SKC_SET_SECTION, reinterpret_cast<LPARAM>(&name));
    data.BGChanged = false;
    Command(wnd, SKC_SECTION_CHANGED, reinterpret_cast<LPARAM>(L"PANEL"));
    EXPECT_FALSE(data.BGChanged) << "another section";
    Command(wnd, SKC_SECTION_CHANGED, reinterpret_cast<LPARAM>(L"SOLID"));
    EXPECT_TRUE(data.BGChanged);

    // State section: an opaque section answers itself.
    TacStateSectionRequest section;
    section.State = 1;
    EXPECT_EQ(Command(wnd, SKC_QUERY_STATE_SECTION, reinterpret_cast<LPARAM>(&section)), 1);
    EXPECT_EQ(section.SkinIndex, scene.Section(L"SOLID"));
    // A transparent one passes the request to its parent.
    name = L"CLEAR";
    Command(wnd, SKC_SET_SECTION, reinterpret_cast<LPARAM>(&name));
    section = TacStateSectionRequest();
    EXPECT_EQ(Command(wnd, SKC_QUERY_STATE_SECTION, reinterpret_cast<LPARAM>(&section)), 1);
    EXPECT_EQ(section.SkinIndex, scene.Section(L"PANEL"));
    name = L"SOLID";
    Command(wnd, SKC_SET_SECTION, reinterpret_cast<LPARAM>(&name));

    // Caches.
    data.EnsureCacheBmp();
    Command(wnd, SKC_DROP_CACHES, 0);
    EXPECT_EQ(data.FCacheBmp->GetWidth(), 0);
    EXPECT_TRUE(data.BGChanged);
    data.BGChanged = true;
    Command(wnd, SKC_BUILD_CACHE, 0); // the box builds and the common part clears the flag
    EXPECT_FALSE(data.BGChanged);

    // Updating: a cache missing asks for a build; a built one of the right size is ready.
    data.FCacheBmp->SetSize(0, 0);
    data.BGChanged = true;
    const int builds = box->Builds;
    EXPECT_EQ(Command(wnd, SKC_QUERY_UPDATING, 0), 0);
    EXPECT_EQ(box->Builds, builds + 1);
    data.FCacheBmp->SetSize(3, 3);
    EXPECT_EQ(Command(wnd, SKC_QUERY_UPDATING, 0), 1) << "a cache of another size";

    // The skin's own commands: a second manager changes nothing.
    TOwned<TsSkinManager> other(New<TsSkinManager>(nullptr));
    const LPARAM o = reinterpret_cast<LPARAM>(other.get());
    const int index = data.SkinIndex;
    data.FUpdating = true;
    data.BGChanged = false;
    for (int command : {SKC_SKIN_LOADED, SKC_SKIN_REMOVED, SKC_REPAINT_SKIN, SKC_FONTS_CHANGED})
        Command(wnd, command, o);
    EXPECT_EQ(data.SkinIndex, index);
    EXPECT_TRUE(data.FUpdating);
    EXPECT_FALSE(data.BGChanged);
    const int paints = box->Paints;
    Command(wnd, SKC_REPAINT_SKIN, m);
    EXPECT_FALSE(data.FUpdating);
    EXPECT_GT(box->Paints, paints) << "repainted at once";
    Command(wnd, SKC_SKIN_REMOVED, m);
    EXPECT_EQ(data.SkinIndex, -1);
    EXPECT_EQ(data.BorderIndex, -1);
    EXPECT_TRUE(data.FUpdating);
    EXPECT_EQ(GetClassLongPtrW(wnd, GCLP_HBRBACKGROUND), reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
    Command(wnd, SKC_SKIN_LOADED, m);
    EXPECT_EQ(data.SkinIndex, index);
    EXPECT_EQ(data.FCacheBmp->GetWidth(), 0);

    // Unknown commands are not handled.
    TMessage unknown{SkinCommandMessage, SkinCommandWParam(250), 0, 0};
    EXPECT_FALSE(HandleSkinCommand(unknown, &data));
    TMessage any{SkinCommandMessage, SkinCommandWParam(SKC_BG_INVALID), 0, 0};
    EXPECT_TRUE(HandleSkinCommand(any, nullptr));
    EXPECT_FALSE(HandleSkinMessage(any, nullptr));
}

TEST(SkinCommand, PointerArgumentsThatCannotBeFollowedAreRefused)
{
    TControlsScene scene;
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"SOLID", 10, 10, 40, 30);
    HWND wnd = box->GetHandle();
    for (int command : {SKC_FILL_SKIN_INDEX, SKC_QUERY_BACKGROUND, SKC_PAINT_OUTER_EFFECT, SKC_QUERY_STATE_SECTION,
                        SKC_QUERY_BOUNDS, SKC_SET_SECTION, SKC_SECTION_CHANGED})
        EXPECT_EQ(Command(wnd, command, 0), 0) << command;

    // From another thread the pointer is refused: nothing is written.
    struct {
        Integer First = 0, Second = 77;
    } record;
    RECT bounds{1, 2, 3, 4};
    std::atomic<bool> done{false};
    std::thread sender([&] {
        Command(wnd, SKC_FILL_SKIN_INDEX, reinterpret_cast<LPARAM>(&record));
        Command(wnd, SKC_QUERY_BOUNDS, reinterpret_cast<LPARAM>(&bounds));
        done = true;
    });
    // The sends wait for this thread to serve them.
    while (!done) {
        testing_support::PumpMessages();
        Sleep(1);
    }
    sender.join();
    EXPECT_EQ(record.Second, 77);
    EXPECT_EQ(TRect(bounds), TRect(1, 2, 3, 4));
}

TEST(SkinCommand, ColourOfTransparentSections)
{
    TControlsScene scene;
    // White at 50 % over a parent that answers black: 128 in each channel.
    auto* black = scene.Add<TSkinnedBox>(scene.form.get(), L"SOLID", 10, 10, 200, 150);
    scene.manager->gd[scene.Section(L"SOLID")].Props[0].Color = 0;
    auto* half = scene.Add<TSkinnedBox>(black, L"HALF", 10, 10, 40, 30);
    EXPECT_EQ(Command(half->GetHandle(), SKC_QUERY_COLOR, 0), 0x808080);

    // Over a system-coloured parent (an unskinned one, or a transparent
    // skinned one that answers the colour as stored): mixed from the real
    // colour, never from the index's bytes.
    TPanel* plain = New<TPanel>(scene.form.get());
    plain->SetParent(scene.form.get());
    plain->SetBounds(220, 10, 90, 90);
    plain->SetColor(clBtnFace);
    auto* clear = scene.Add<TSkinnedBox>(plain, L"CLEAR", 40, 5, 45, 45);
    EXPECT_EQ(static_cast<TColor>(Command(clear->GetHandle(), SKC_QUERY_COLOR, 0)), clBtnFace) << "as stored";
    auto* overPlain = scene.Add<TSkinnedBox>(plain, L"HALF", 5, 5, 30, 30);
    auto* overClear = scene.Add<TSkinnedBox>(clear, L"HALF", 5, 5, 30, 30);
    const Cardinal face = ColorToRGB(clBtnFace);
    for (TSkinnedBox* box : {overPlain, overClear}) {
        const auto got = static_cast<Cardinal>(Command(box->GetHandle(), SKC_QUERY_COLOR, 0));
        for (int shift : {0, 8, 16})
            EXPECT_EQ(static_cast<int>((got >> shift) & 0xFF),
                      (255 * 129 + static_cast<int>((face >> shift) & 0xFF) * 127) / 256)
                << shift;
        EXPECT_EQ(got >> 24, 0u);
    }
    // Opaque: the section's colour.
    auto* solid = scene.Add<TSkinnedBox>(plain, L"PANEL", 5, 40, 30, 30);
    EXPECT_EQ(Command(solid->GetHandle(), SKC_QUERY_COLOR, 0), scene.manager->gd[scene.Section(L"PANEL")].Props[0].Color);
}

TEST(SkinMessage, FocusSwitchesAnEditToItsHotColoursAndBack)
{
    TControlsScene scene;
    auto* edit = scene.Add<TSkinnedEdit>(scene.form.get(), L"EDIT", 10, 10, 120, 24);
    auto* other = scene.Add<TSkinnedEdit>(scene.form.get(), L"EDIT", 10, 50, 120, 24);
    edit->Data->UpdateControlColors(true);
    const TsGeneralData& section = scene.manager->gd[scene.Section(L"EDIT")];
    EXPECT_EQ(edit->GetColor(), section.Props[0].Color);
    auto centre = [&](TSkinnedEdit* e) {
        testing_support::PumpMessages();
        RedrawWindow(e->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        TOwned<TBitmap> shot = Printed(e->GetHandle());
        return PixelAt(shot.get(), shot->GetWidth() - 6, shot->GetHeight() / 2);
    };
    const COLORREF normal = centre(edit);
    EXPECT_EQ(normal, ColorToRGB(section.Props[0].Color));
    edit->SetFocus();
    testing_support::PumpMessages();
    EXPECT_TRUE(edit->Data->FFocused);
    EXPECT_EQ(edit->GetColor(), section.Props[1].Color);
    EXPECT_EQ(edit->GetFont()->GetColor(), section.Props[1].FontColor.Color);
    EXPECT_EQ(centre(edit), ColorToRGB(section.Props[1].Color));
    other->SetFocus();
    testing_support::PumpMessages();
    EXPECT_FALSE(edit->Data->FFocused);
    EXPECT_EQ(edit->GetColor(), section.Props[0].Color);
    EXPECT_EQ(centre(edit), normal);
}

TEST(SkinMessage, UiStateIsSwallowedOnlyWhenSkinned)
{
    TControlsScene scene;
    auto* box = scene.Add<TSkinnedBox>(scene.form.get(), L"SOLID", 10, 10, 40, 30);
    TMessage ui{WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0, 0};
    EXPECT_TRUE(HandleSkinMessage(ui, box->Data.get()));
    box->Data->SetSkinSection(L"NOSUCHSECTION");
    EXPECT_FALSE(HandleSkinMessage(ui, box->Data.get()));
}

TEST(SkinMessage, SizesRepaintChildrenOnlyForTheDimensionTheBackgroundFollows)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    auto* child = scene.Add<TSkinnedBox>(panel, L"SOLID", 10, 10, 40, 30);
    struct Row {
        Word BGType;
        int DW, DH;
        int Repaints;
    } rows[] = {
        {0x01, 10, 0, 1}, {0x01, 0, 10, 0}, {0x02, 0, 10, 1}, {0x02, 10, 0, 0}, {0x00, 10, 10, 0}, {0x04, 0, 10, 1},
    };
    for (const Row& row : rows) {
        child->ParentMoves = 0;
        panel->Data->UpdateIndexes(true);
        panel->Data->BGType = row.BGType;
        panel->SetBounds(10, 10, panel->GetWidth() + row.DW, panel->GetHeight() + row.DH);
        testing_support::PumpMessages();
        EXPECT_EQ(child->ParentMoves, row.Repaints) << std::hex << row.BGType << std::dec << " " << row.DW << "x" << row.DH;
        panel->Data->CtrlSkinState &= ~(0x8000u | 0x10000u);
    }
}

} // namespace

namespace {

TEST(SkinCommand, OuterEffectIsPaintedIntoTheParentsImageAndTakenBack)
{
    TControlsScene scene;
    auto* panel = scene.Add<TSkinnedBox>(scene.form.get(), L"PANEL", 10, 10, 200, 150);
    auto* box = scene.Add<TSkinnedBox>(panel, L"SOLID", 20, 30, 40, 30);
    TsGeneralData& section = scene.manager->gd[scene.Section(L"SOLID")];
    section.OuterMode = 1;
    section.OuterMask = scene.manager->GetMaskIndex(L"EDIT", L"GLOW0");
    ASSERT_GE(section.OuterMask, 0);
    section.OuterOffset = TRect(4, 4, 4, 4);
    section.OuterOpacity = 255;
    TOwned<TBitmap> image(MakeBitmap32(200, 150));
    FillBitmap32Rect(image.get(), TRect(0, 0, 200, 150), 0x00FFFFFF, 255);
    TacBGRequest request;
    request.Bmp = image.get();
    request.Offset = TPoint(0, 0);
    const POINT edge{18, 45};   // inside the effect, left of the control
    // Hidden effects paint nothing.
    SendWndCommand(box->GetHandle(), SKC_PAINT_OUTER_EFFECT, reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(GetBitmap32Pixel(image.get(), edge.x, edge.y) & 0xFFFFFF, 0xFFFFFFu);
    box->Data->FOuterEffects->FVisibility = ovAlways;
    SendWndCommand(box->GetHandle(), SKC_PAINT_OUTER_EFFECT, reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(GetBitmap32Pixel(image.get(), edge.x, edge.y) & 0xFFFFFF, 0xE000E0u);
    ASSERT_TRUE(box->Data->FOuterCache);
    EXPECT_EQ(box->Data->FOuterCache->GetWidth(), 48);
    // Painted again over the saved background: the image under it comes back first.
    FillBitmap32Rect(image.get(), TRect(0, 0, 10, 10), 0x00000000, 255);
    SendMessageW(box->GetHandle(), SkinCommandMessage, SkinCommandWParam(SKC_PAINT_OUTER_EFFECT, 0x100),
                 reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(GetBitmap32Pixel(image.get(), edge.x, edge.y) & 0xFFFFFF, 0xE000E0u);
    EXPECT_EQ(GetBitmap32Pixel(image.get(), 100, 100) & 0xFFFFFF, 0xFFFFFFu);
}

} // namespace
