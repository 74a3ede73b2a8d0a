// How a glow button answers real mouse input and keys: click repeat,
// radio groups, the split drop-down, Default and Cancel, accelerators, the
// shortcut hint's 17 positions and the action link.
#include "AdvGlowButton.h"
#include "PackControlsTestSupport.h"
#include "ExtCtrls.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "SysUtils.h"
#include <cmath>

using namespace pack_test;

namespace {

// A key held on the real keyboard state while Action runs.
void WithKeyHeld(WORD Key, const std::function<void()>& Action)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = Key;
    SendInput(1, &in, sizeof(in));
    Pump();
    Action();
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof(in));
    Pump();
}

void MouseButton(DWORD Flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = Flags;
    SendInput(1, &in, sizeof(in));
}

// Runs the loop for about Ms milliseconds.
void PumpFor(DWORD Ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < Ms) {
        Pump();
        Sleep(5);
    }
}

class GlowBehaviour : public FormTest {
protected:
    TAdvGlowButton* NewButton(TWinControl* Parent, const String& Caption, int Left, int Top, int Width = 120)
    {
        auto* b = New<TAdvGlowButton>(form);
        b->SetBounds(Left, Top, Width, 30);
        b->SetCaption(Caption);
        b->SetParent(Parent);
        b->OnClick = [this, b](TObject*) { ++clicks[b]; };
        return b;
    }
    std::map<TAdvGlowButton*, int> clicks;
};

TEST_F(GlowBehaviour, RepeatClicksWhileHeldAndStopsOnRelease)
{
    auto* button = NewButton(form, L"Repeat", 20, 20);
    button->SetRepeatClick(true);
    ShowForm();
    const POINT centre = button->ClientToScreen(POINT{60, 15});
    SetCursorPos(centre.x, centre.y);
    Pump();
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    PumpFor(250);
    EXPECT_EQ(clicks[button], 0) << "the first repeat waits 400 ms";
    PumpFor(650);
    const int held = clicks[button];
    EXPECT_GE(held, 3) << "after 400 ms, then every 100 ms";
    EXPECT_LE(held, 7);
    MouseButton(MOUSEEVENTF_LEFTUP);
    Pump();
    const int released = clicks[button];
    EXPECT_EQ(released, held + 1) << "the release inside is the usual click";
    PumpFor(400);
    EXPECT_EQ(clicks[button], released) << "none after the release";
}

TEST_F(GlowBehaviour, GroupedButtonsCheckOneAtATime)
{
    TAdvGlowButton* group[3];
    for (int i = 0; i < 3; ++i) {
        group[i] = NewButton(form, L"Option " + IntToStr(i), 20, 20 + 40 * i);
        group[i]->SetGroupIndex(1);
    }
    ShowForm();
    auto downs = [&] {
        return std::vector<bool>{group[0]->GetDown(), group[1]->GetDown(), group[2]->GetDown()};
    };
    ClickWithMouse(group[1], {60, 15}, {60, 15});
    EXPECT_EQ(downs(), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(group[1]->GetState(), absExclusive);
    ClickWithMouse(group[2], {60, 15}, {60, 15});
    EXPECT_EQ(downs(), (std::vector<bool>{false, false, true}));
    EXPECT_EQ(group[1]->GetState(), absUp);
    group[2]->SetDown(false);
    EXPECT_TRUE(group[2]->GetDown()) << "a checked radio button stays down without AllowAllUp";
    ClickWithMouse(group[0], {60, 15}, {60, 45});
    EXPECT_EQ(downs(), (std::vector<bool>{false, false, true})) << "released outside: nothing changes";
    EXPECT_EQ(clicks[group[0]], 0);
    EXPECT_EQ(clicks[group[1]] + clicks[group[2]], 2);
}

TEST_F(GlowBehaviour, CheckButtonTogglesAndRoundsAPressOutside)
{
    auto* check = NewButton(form, L"Check", 20, 20);
    check->SetStyle(bsCheck);
    ShowForm();
    ClickWithMouse(check, {60, 15}, {60, 15});
    EXPECT_TRUE(check->GetDown());
    EXPECT_EQ(check->GetState(), absDown);
    ClickWithMouse(check, {60, 15}, {60, 15});
    EXPECT_FALSE(check->GetDown());
    ClickWithMouse(check, {60, 15}, {60, 60});
    EXPECT_FALSE(check->GetDown()) << "checked by the press, unchecked by a release outside";
    EXPECT_EQ(clicks[check], 2);
}

TEST_F(GlowBehaviour, SplitButtonDropsItsMenuOnlyFromTheArrow)
{
    auto* button = NewButton(form, L"Split", 20, 20, 120);
    button->SetDropDownButton(true);
    auto* menu = New<TPopupMenu>(form);
    menu->GetItems()->Add(NewItem(form, L"One", 0, false, true, nullptr));
    int popups = 0, dropDowns = 0;
    menu->OnPopup = [&](TObject*) {
        ++popups;
        // The menu is real and modal: a posted Escape closes it.
        PostMessageW(Application->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(Application->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    button->OnDropDown = [&](TObject*) { ++dropDowns; };
    button->SetDropDownMenu(menu);
    ShowForm();
    struct Case {
        int x;
        int popups, clicks;
    } cases[] = {
        {60, 0, 1},
        {105, 0, 1},  // the last column before the arrow area
        {106, 1, 0},  // the arrow area's first drawn column: 120 - 14
        {118, 1, 0},
    };
    for (const Case& c : cases) {
        popups = dropDowns = 0;
        clicks.clear();
        ClickWithMouse(button, {c.x, 15}, {c.x, 15});
        PumpFor(50);
        EXPECT_EQ(popups, c.popups) << c.x;
        EXPECT_EQ(dropDowns, c.popups) << c.x;
        EXPECT_EQ(clicks[button], c.clicks) << c.x;
        EXPECT_EQ(menu->GetPopupComponent(), c.popups ? button : menu->GetPopupComponent());
    }
    // Without the split the whole button drops down.
    button->SetDropDownSplit(false);
    popups = 0;
    ClickWithMouse(button, {30, 15}, {30, 15});
    PumpFor(50);
    EXPECT_EQ(popups, 1);
}

TEST_F(GlowBehaviour, EnterAndEscapeClickDefaultAndCancelUnlessShifted)
{
    auto* edit = New<TEdit>(form);
    edit->SetBounds(20, 100, 100, 21);
    edit->SetParent(form);
    auto* ok = NewButton(form, L"OK", 20, 20);
    ok->SetDefault(true);
    auto* cancel = NewButton(form, L"Cancel", 150, 20);
    cancel->SetCancel(true);
    ShowForm();
    edit->SetFocus();
    Pump();
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(clicks[ok], 1) << "Default: Enter with the focus on another control";
    EXPECT_EQ(clicks[cancel], 1) << "Cancel: Escape";
    WithKeyHeld(VK_SHIFT, [] {
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(clicks[ok], 1) << "not with Shift";
    EXPECT_EQ(clicks[cancel], 1);
    // Focus on another glow button makes that one the active one.
    cancel->SetTabStop(true);
    cancel->SetFocus();
    Pump();
    PressKey(VK_RETURN);
    EXPECT_EQ(clicks[ok], 1);
    EXPECT_EQ(clicks[cancel], 2);
}

// A parent that calls itself by the toolbar's class name.
class TAdvToolBar : public TPanel {
public:
    using TPanel::TPanel;
};

TEST_F(GlowBehaviour, AcceleratorsClickWithoutAltExceptOnAToolbar)
{
    // The focus on a control that wants no characters: letters become
    // dialog characters.
    auto* focus = NewButton(form, L"Focus", 200, 200);
    focus->SetTabStop(true);
    auto* plain = NewButton(form, L"&Go", 20, 20);
    auto* bar = New<TAdvToolBar>(form);
    bar->SetBounds(20, 60, 300, 50);
    bar->SetParent(form);
    auto* onBar = NewButton(bar, L"&Run", 5, 5);
    auto* byHint = NewButton(form, L"", 200, 20);
    byHint->GetOfficeHint()->SetTitle(L"&Xtra");
    ShowForm();
    ASSERT_EQ(bar->ClassName(), L"TAdvToolBar");
    focus->SetFocus();
    Pump();
    TypeChars(L"grx");
    EXPECT_EQ(clicks[plain], 1);
    EXPECT_EQ(clicks[onBar], 0) << "a toolbar's buttons want Alt";
    EXPECT_EQ(clicks[byHint], 1) << "the hint title's accelerator";
    EXPECT_EQ(clicks[focus], 0);
    // Alt held in this thread's key state (a real Alt press and release
    // would open the window menu).
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);
    onBar->Perform(CM_DIALOGCHAR, L'r', 0);
    keys[VK_MENU] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(clicks[onBar], 1) << "with Alt held";
}

TEST_F(GlowBehaviour, ShortCutHintTakesEachOfItsPositions)
{
    auto* button = NewButton(form, L"Hint", 150, 150, 100);
    button->SetShortCutHint(L"H");
    ShowForm();
    button->ShowShortCutHint();
    TShortCutHintWindow* hint = button->GetShortCutHintWindow();
    ASSERT_NE(hint, nullptr);
    const POINT origin = button->ClientToScreen(POINT{0, 0});
    const int X = origin.x, Y = origin.y, W = 100, H = 30;
    auto centreX = [&](int w) { return X + (W - w) / 2; };
    auto centreY = [&](int h) { return Y + (H - h) / 2; };
    const std::pair<TShortCutHintPos, std::function<POINT(int, int)>> cases[] = {
        {shpLeft, [&](int, int h) { return POINT{X + 6, centreY(h)}; }},
        {shpTop, [&](int w, int h) { return POINT{centreX(w), Y - h / 2}; }},
        {shpRight, [&](int w, int h) { return POINT{X + W - w / 2, centreY(h)}; }},
        {shpBottom, [&](int w, int h) { return POINT{centreX(w), Y + H - h / 2}; }},
        {shpCenter, [&](int w, int h) { return POINT{centreX(w), centreY(h)}; }},
        {shpAuto, [&](int w, int h) { return POINT{centreX(w), Y - h / 2}; }},
        {shpTopLeft, [&](int, int h) { return POINT{X + 6, Y - h / 2}; }},
        {shpTopRight, [&](int w, int h) { return POINT{X + W - w + 1, Y - h / 2}; }},
        {shpAboveTop, [&](int w, int h) { return POINT{centreX(w), Y - h}; }},
        {shpAboveTopLeft, [&](int, int h) { return POINT{X + 6, Y - h}; }},
        {shpAboveTopRight, [&](int w, int h) { return POINT{X + W - w + 1, Y - h}; }},
        {shpBottomLeft, [&](int, int h) { return POINT{X + 6, Y + H - h / 2}; }},
        {shpBottomRight, [&](int w, int h) { return POINT{X + W - w + 1, Y + H - h / 2}; }},
        {shpBelowBottom, [&](int w, int) { return POINT{centreX(w), Y + H}; }},
        {shpBelowBottomLeft, [&](int, int) { return POINT{X + 6, Y + H}; }},
        {shpBelowBottomRight, [&](int w, int) { return POINT{X + W - w + 1, Y + H}; }},
        {shpBelowBottomCenter, [&](int w, int) { return POINT{centreX(w), Y + H}; }},
    };
    for (const auto& [position, expected] : cases) {
        button->SetShortCutHintPos(position);
        button->ShowShortCutHint();
        RECT r{};
        GetWindowRect(hint->Handle(), &r);
        const POINT want = expected(r.right - r.left, r.bottom - r.top);
        EXPECT_EQ(r.left, want.x) << position;
        EXPECT_EQ(r.top, want.y) << position;
        EXPECT_TRUE(IsWindowVisible(hint->Handle())) << position;
        EXPECT_TRUE(GetWindowLongW(hint->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    }
    // The position event has the last word.
    button->OnGetShortCutHintPos = [](TObject*, TButtonSizeState, TShortCutHintPos& p) { p = shpBelowBottomLeft; };
    button->ShowShortCutHint();
    RECT r{};
    GetWindowRect(hint->Handle(), &r);
    EXPECT_EQ(r.left, X + 6);
    EXPECT_EQ(r.top, Y + H);
    EXPECT_GE(r.right - r.left, 8) << "at least as wide as \"O\" plus 8";
    button->HideShortCutHint();
    EXPECT_FALSE(IsWindowVisible(hint->Handle()));
    // The hint follows the appearance's colour.
    button->GetAppearance()->SetColor(clYellow);
    EXPECT_EQ(hint->GetColorTo(), clYellow);
}

TEST_F(GlowBehaviour, ShortCutHintPaintsSixteenBandsUnderAGreyOutline)
{
    auto* button = NewButton(form, L"Hint", 150, 150, 100);
    button->SetShortCutHint(L"W");
    button->GetAppearance()->SetColor(0x000080);
    ShowForm();
    button->ShowShortCutHint();
    TShortCutHintWindow* hint = button->GetShortCutHintWindow();
    hint->SetBounds(hint->GetLeft(), hint->GetTop(), 40, 32);
    TSnapshot face(hint);
    // Band n of 32 rows: rows 2n and 2n + 1, white down to $000080.
    for (int n : {0, 5, 14}) {
        const int red = static_cast<int>(std::lround(255 + (0x80 - 255) * n / 16.0));
        const int other = static_cast<int>(std::lround(255 - 255 * n / 16.0));
        EXPECT_EQ(face.Pixel(3, 2 * n + 1), static_cast<TColor>(RGB(red, other, other))) << "band " << n;
    }
    EXPECT_EQ(face.Pixel(20, 0), 0x808080) << "the outline";
    EXPECT_EQ(face.Pixel(0, 16), 0x808080);
    EXPECT_NE(face.Pixel(0, 0), 0x808080) << "rounded corners";
}

TEST_F(GlowBehaviour, AssignCopiesAllButTheAppearance)
{
    auto* source = NewButton(form, L"Source", 20, 20);
    source->SetRounded(false);
    source->SetShortCutHint(L"S");
    source->SetRepeatClick(true);
    source->SetSpacing(7);
    source->GetNotes()->SetText(L"note");
    source->GetAppearance()->SetColor(clLime);
    auto* target = NewButton(form, L"Target", 20, 60);
    target->Assign(source);
    EXPECT_EQ(target->GetCaption(), L"Source");
    EXPECT_FALSE(target->GetRounded());
    EXPECT_EQ(target->GetShortCutHint(), L"S");
    EXPECT_TRUE(target->GetRepeatClick());
    EXPECT_EQ(target->GetSpacing(), 7);
    EXPECT_EQ(target->GetNotes()->GetText(), source->GetNotes()->GetText());
    EXPECT_EQ(target->GetAppearance()->GetColor(), clWhite) << "the appearance stays";
    TOwned<TFont> font(New<TFont>());
    EXPECT_THROW(target->Assign(font.get()), EConvertError);
}

TEST_F(GlowBehaviour, ActionLinkCarriesCheckedGroupImageAndClick)
{
    auto* list = New<TActionList>(form);
    auto* images = NewImageList(form, 16, 16, {clRed, clLime});
    list->SetImages(images);
    auto* action = New<TAction>(form);
    action->SetActionList(list);
    action->SetCaption(L"Act");
    action->SetGroupIndex(3);
    action->SetImageIndex(1);
    int executed = 0;
    action->OnExecute = [&](TObject*) { ++executed; };
    auto* button = New<TAdvGlowButton>(form);
    button->SetBounds(20, 20, 120, 30);
    button->SetParent(form);
    button->SetAction(action);
    ShowForm();
    EXPECT_EQ(button->GetGroupIndex(), 3);
    EXPECT_EQ(button->GetImageIndex(), 1);
    EXPECT_EQ(button->GetCaption(), L"Act");
    EXPECT_EQ(TSnapshot(button).Extent(clLime, TRect(0, 0, 120, 30)).Width(), 16) << "the list's image";

    action->SetChecked(true);
    EXPECT_TRUE(button->GetDown()) << "checked follows the action";
    action->SetImageIndex(0);
    EXPECT_EQ(button->GetImageIndex(), 0);
    action->SetCaption(L"Renamed");
    EXPECT_EQ(button->GetCaption(), L"Renamed");
    action->SetEnabled(false);
    EXPECT_FALSE(button->GetEnabled());
    action->SetEnabled(true);

    button->OnClick = nullptr;
    ClickWithMouse(button, {60, 15}, {60, 15});
    EXPECT_EQ(executed, 1) << "the click runs the action";
    action->Free();
    EXPECT_EQ(button->GetAction(), nullptr) << "a freed action lets go";
}

} // namespace
