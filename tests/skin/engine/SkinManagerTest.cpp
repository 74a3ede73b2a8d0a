// The skin manager on real forms: which library commands each form and
// control receives, and in what order, when a skin appears, changes, is
// held back and goes away; skin directories; the component image; the
// control under the mouse.
#include <gtest/gtest.h>
#include "DescribedSkin.h"
#include "SkinFiles.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "TestSupport.h"
#include "sMessages.h"
#include <stdexcept>

namespace {

using testing_support::PumpMessages;

// What every watched form and control received, in order.
struct Entry {
    std::wstring who;
    int command;
    std::wstring text;   // the section name of command 13
    bool operator==(const Entry& o) const { return who == o.who && command == o.command && text == o.text; }
};
std::vector<Entry> received;

void Watch(TControl* control, const std::wstring& name)
{
    TWndMethod old = control->WindowProc;
    control->WindowProc = [control, name, old](TMessage& m) {
        // Command 7 is the broadcasts' own question whether a form is skinned.
        if (m.Msg == SkinCommandMessage && m.WParamHi() != SKC_QUERY_HANDLED) {
            std::wstring text;
            if (m.WParamHi() == SKC_SECTION_CHANGED)
                text = reinterpret_cast<const wchar_t*>(m.LParam);
            received.push_back({name, m.WParamHi(), text});
        }
        old(m);
    };
    (void)control;
}

std::vector<int> CommandsOf(const std::wstring& who)
{
    std::vector<int> commands;
    for (const Entry& e : received)
        if (e.who == who)
            commands.push_back(e.command);
    return commands;
}

// A form of the application that paints its client in the skin's main
// colour once told to repaint, and in its own colour without a skin.
class TSkinnedTestForm : public TForm {
public:
    using TForm::TForm;
    TsSkinManager* Manager = nullptr;
    bool Skinned = false;

protected:
    void WndProc(TMessage& m) override
    {
        if (m.Msg == SkinCommandMessage) {
            if (m.WParamHi() == SKC_REPAINT_SKIN && Manager) {
                Skinned = true;
                Invalidate();
            } else if (m.WParamHi() == SKC_SKIN_REMOVED) {
                Skinned = false;
                Invalidate();
            }
        }
        if (m.Msg == WM_ERASEBKGND && Skinned) {
            RECT r;
            ::GetClientRect(GetHandle(), &r);
            TBrushHandle brush(CreateSolidBrush(ColorToRGB(Manager->GetGlobalColor())));
            FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush.Get());
            m.Result = 1;
            return;
        }
        TForm::WndProc(m);
    }
};

struct Scene {
    testing_support::TempDir dir;
    TOwned<TsSkinManager> manager;
    TSkinnedTestForm* forms[2] = {};
    TPanel* panels[2] = {};

    Scene()
    {
        received.clear();
        manager.reset(New<TsSkinManager>(nullptr));
        WriteSkinFolder(dir.File(L"Blocks"), DescribedSkinFiles("Blocks"));
        manager->SetSkinDirectory(dir.Path());
        for (int i = 0; i < 2; ++i) {
            forms[i] = New<TSkinnedTestForm>(Application);
            forms[i]->Manager = manager.get();
            forms[i]->SetBounds(40 + 220 * i, 40, 200, 150);
            forms[i]->SetColor(i == 0 ? clRed : clLime);
            panels[i] = New<TPanel>(forms[i]);
            panels[i]->SetParent(forms[i]);
            panels[i]->SetBounds(10, 10, 60, 40);
            forms[i]->Show();
            Watch(forms[i], L"form" + std::to_wstring(i));
            Watch(panels[i], L"panel" + std::to_wstring(i));
        }
        PumpMessages();
        received.clear();
    }
    ~Scene()
    {
        for (TSkinnedTestForm* form : forms)
            form->Free();
        manager.reset();
        PumpMessages();
    }
    void Fill() { FillManager(*manager, DescribedSkin("Blocks")); }
};

const std::vector<int> Announced = {SKC_SKIN_LOADED, SKC_RELOAD_DATA, SKC_REPAINT_SKIN};

TEST(SkinManager, AnnouncesASkinOnceToEveryFormAndControl)
{
    Scene s;
    s.Fill();
    s.manager->UpdateSkin();
    for (const wchar_t* who : {L"form0", L"form1", L"panel0", L"panel1"})
        EXPECT_EQ(CommandsOf(who), Announced) << who;
    EXPECT_TRUE(s.manager->CommonSkinData.Active);
    EXPECT_TRUE(s.manager->GlobalHookInstalled) << "the default manager hooks the application";
    EXPECT_TRUE(s.manager->ManagerState.Empty());

    received.clear();
    s.manager->UpdateSkinSection(L"panel_low");
    EXPECT_EQ(received.size(), 4u);
    for (const Entry& e : received) {
        EXPECT_EQ(e.command, SKC_SECTION_CHANGED);
        EXPECT_EQ(e.text, L"PANEL_LOW");
    }
}

TEST(SkinManager, SkinChangeEventsAndRemoval)
{
    Scene s;
    s.Fill();
    auto note = [](const wchar_t* what) { return [what](TObject*) { received.push_back({what, 0, L""}); }; };
    s.manager->OnBeforeChange = note(L"BeforeChange");
    s.manager->OnActivate = note(L"Activate");
    s.manager->OnAfterChange = note(L"AfterChange");
    s.manager->OnDeactivate = note(L"Deactivate");

    s.manager->SetSkinName(L"Blocks");
    std::vector<std::wstring> order;
    for (const Entry& e : received)
        if (e.command == 0 || e.who == L"form0")
            order.push_back(e.command ? L"form0:" + std::to_wstring(e.command) : e.who);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"BeforeChange", L"form0:1", L"form0:16", L"form0:3", L"Activate",
                                                L"AfterChange"}));
    EXPECT_FALSE(SkinChanging);

    received.clear();
    s.manager->SetActive(false);
    EXPECT_EQ(CommandsOf(L"form0"), std::vector<int>{SKC_SKIN_REMOVED});
    EXPECT_EQ(CommandsOf(L"panel1"), std::vector<int>{SKC_SKIN_REMOVED});
    EXPECT_EQ(CommandsOf(L"Deactivate").size(), 1u);
    EXPECT_EQ(s.manager->GetSkinName(), L"Blocks");
    EXPECT_TRUE(s.manager->gd.empty());
    EXPECT_EQ(s.manager->ConstData.Sections[ssPanel], -1);
    EXPECT_FALSE(s.manager->GlobalHookInstalled);

    received.clear();
    s.manager->SetActive(true);
    EXPECT_EQ(CommandsOf(L"form1"), Announced) << "true reloads the same name";
}

TEST(SkinManager, UpdatesHeldBackAreSentOnce)
{
    Scene s;
    s.Fill();
    s.manager->BeginUpdate();
    s.manager->SetSkinName(L"Blocks");
    s.manager->Effects()->SetBoolProp(1, true);
    s.manager->SetSkinName(L"Blocks");
    EXPECT_TRUE(CommandsOf(L"form0").empty());
    s.manager->EndUpdate(true, false);
    EXPECT_EQ(CommandsOf(L"form0"), Announced);
    EXPECT_EQ(CommandsOf(L"panel0"), Announced);
    EXPECT_TRUE(s.manager->AnimEffects()->SkinChanging->Active) << "switched off only for the call";
}

TEST(SkinManager, FoldersPackedNamesAndTheDefaultManager)
{
    Scene s;
    s.Fill();
    s.manager->SetSkinName(L"Blocks");
    received.clear();
    s.manager->SetIsDefault(false);
    EXPECT_TRUE(s.manager->IsDefault()) << "false on the default manager changes nothing";
    EXPECT_TRUE(received.empty());

    testing_support::WriteBytes(s.dir.File(L"Packed.asz"), skinwriter::PackedSkin(DescribedSkinFiles("Blocks")));
    s.manager->SetSkinName(L"Packed.ASZ");
    EXPECT_EQ(s.manager->GetSkinName(), L"Packed");
    EXPECT_TRUE(s.manager->SkinIsPacked);
    EXPECT_TRUE(s.manager->GetActive());

    received.clear();
    s.manager->SetSkinName(L"NoSuchSkin");
    EXPECT_FALSE(s.manager->GetActive()) << "a folder without Options.dat deactivates";
    EXPECT_EQ(CommandsOf(L"form0"), std::vector<int>{SKC_SKIN_REMOVED});
    EXPECT_FALSE(s.manager->CommonSkinData.Active);
}

TEST(SkinManager, ASecondDefaultTakesTheHooksOver)
{
    Scene s;
    s.Fill();
    s.manager->UpdateSkin();
    ASSERT_TRUE(s.manager->GlobalHookInstalled);
    TOwned<TsSkinManager> second(New<TsSkinManager>(nullptr));
    EXPECT_FALSE(second->IsDefault());
    FillManager(*second, DescribedSkin("Blocks"));
    second->SetIsDefault(true);
    EXPECT_TRUE(second->IsDefault());
    EXPECT_TRUE(second->GlobalHookInstalled);
    EXPECT_FALSE(s.manager->GlobalHookInstalled) << "the old default removed its hooks first";
    second.reset();
    EXPECT_EQ(DefaultManager, nullptr);
    DefaultManager = s.manager.get();
}

TEST(SkinManager, AnExceptionOfAnyClassLeavesNoFlagSet)
{
    Scene s;
    s.Fill();
    ForeignSkinLoadedProc = [] { throw std::runtime_error("foreign support failed"); };
    EXPECT_THROW(s.manager->SetSkinName(L"Blocks"), std::runtime_error);
    ForeignSkinLoadedProc = nullptr;
    EXPECT_FALSE(SkinChanging);
    EXPECT_TRUE(s.manager->ManagerState.Empty());
    received.clear();
    s.manager->SetSkinName(L"Blocks");
    EXPECT_EQ(CommandsOf(L"form0"), Announced) << "the next change is announced as usual";
}

COLORREF ScreenPixel(TForm* form, int x, int y)
{
    POINT p{x, y};
    ClientToScreen(form->GetHandle(), &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

TEST(SkinManager, FormsShowTheSkinsColourAndTheirOwnAfterRemoval)
{
    Scene s;
    s.Fill();
    s.forms[0]->BringToFront();
    s.manager->SetSkinName(L"Blocks");
    UpdateWindow(s.forms[0]->GetHandle());
    PumpMessages();
    EXPECT_EQ(ScreenPixel(s.forms[0], 150, 100), ColorToRGB(s.manager->GetGlobalColor()));
    EXPECT_EQ(ScreenPixel(s.forms[0], 150, 100), RGB(0x20, 0x80, 0xC0)) << "the described COLOR";
    s.manager->SetActive(false);
    UpdateWindow(s.forms[0]->GetHandle());
    PumpMessages();
    EXPECT_EQ(ScreenPixel(s.forms[0], 150, 100), RGB(255, 0, 0)) << "the form's own colour";
}

TEST(SkinManager, FullSkinDirectoryResolvesAgainstTheExecutable)
{
    const String app = ExtractFilePath(ParamStr(0));
    String parent = app.substr(0, app.size() - 1);
    parent.resize(parent.find_last_of(L'\\') + 1);
    struct Case {
        const wchar_t* dir;
        String expected;
    } cases[] = {
        {L"..\\Skins", parent + L"Skins\\"},
        {L".\\Skins", app + L"Skins\\"},
        {L"./Skins", app + L"Skins\\"},
        {L".", app},
        {L"Skins", app + L"Skins\\"},
        {L"", app},
        {L"c:\\Skins", L"c:\\Skins\\"},
        {L"\\\\server\\skins", L"\\\\server\\skins\\"},
        {L"d:\\skins/", L"d:\\skins\\"},
    };
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
    EXPECT_EQ(manager->GetSkinDirectory(), L"c:\\Skins");
    for (const Case& c : cases) {
        manager->SetSkinDirectory(c.dir);
        EXPECT_EQ(manager->GetFullSkinDirectory(), c.expected) << c.dir;
    }
    EXPECT_EQ(ResolveSkinDirectory(L"..\\Skins", L"C:\\"), L"C:\\Skins\\") << "the root has no parent";
    EXPECT_EQ(ResolveSkinDirectory(L"..", L"C:\\"), L"C:\\");
    EXPECT_EQ(ResolveSkinDirectory(L"..\\Skins", L"C:\\a\\b\\"), L"C:\\a\\Skins\\");
}

TEST(SkinManager, ThePackedFileIsFoundUnderTheResolvedDirectory)
{
    // A relative directory and a current directory elsewhere.
    const String app = ExtractFilePath(ParamStr(0));
    const String folder = app + L"RelativeSkins";
    CreateDirectoryW(folder.c_str(), nullptr);
    testing_support::WriteBytes(folder + L"\\Packed.asz", skinwriter::PackedSkin(DescribedSkinFiles("Blocks")));
    testing_support::TempDir elsewhere;
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    SetCurrentDirectoryW(elsewhere.Path().c_str());
    {
        TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
        manager->SetSkinDirectory(L"RelativeSkins");
        manager->SetSkinName(L"Packed");
        EXPECT_TRUE(manager->SkinIsPacked);
        EXPECT_TRUE(manager->GetActive());
    }
    SetCurrentDirectoryW(saved);
    DeleteFileW((folder + L"\\Packed.asz").c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(SkinManager, TheComponentImageKeepsEveryPropertyAndOption)
{
    Scene s;
    TsSkinManager& m = *s.manager;
    m.SetName(L"sSkinManager1");
    m.SetSkinsFilter({sfiExternal});
    m.SetSkinningRules({srStdForms});
    m.Effects()->AllowAnimation = false;
    m.Effects()->AllowGlowing = false;
    m.Effects()->SetBoolProp(1, true);
    m.AnimEffects()->BlendOnMoving->Active = true;
    m.AnimEffects()->BlendOnMoving->BlendValue = 99;
    m.AnimEffects()->Buttons->Events = {beMouseDown};
    m.AnimEffects()->FormShow->Mode = atDropDown;
    m.AnimEffects()->FormHide->Time = 250;
    m.AnimEffects()->SkinChanging->Active = false;
    m.ButtonsOptions()->ShowFocusRect = false;
    m.ButtonsOptions()->ModalButtonsColoring = {bcBackground, bcText};
    m.SetSkinnedPopups(false);
    m.SetBrightness(10);
    m.SetHueOffset(-20);
    m.SetSaturation(30);
    m.LabelsOptions()->TransparentAlways = false;
    m.MenuSupport()->IcoLineSkin = L"MYLINE";
    m.Options.SetBoolProp(0, true);
    m.Options.SetBoolProp(6, false);
    m.Options.OptimizingPriority = opMemory;
    m.Fonts()->SetMainFont(L"Tahoma");
    m.ScrollsOptions()->SetIntProp(0, 14);
    m.ScrollsOptions()->SetIntProp(1, 18);
    m.ThirdParty()->SetString(5, L"TMyGrid");
    UpdateThirdLists(&m, false);
    s.Fill();   // not streamed: the tables come from the loader
    m.SetSkinName(L"Blocks");

    TOwned<TMemoryStream> stream(New<TMemoryStream>());
    m.WriteComponent(stream.get());

    TOwned<TsSkinManager> copy(New<TsSkinManager>(nullptr));
    stream->SetPosition(0);
    received.clear();
    copy->ReadComponent(stream.get());
    EXPECT_EQ(CommandsOf(L"form0"), std::vector<int>{SKC_SKIN_LOADED}) << "Loaded announces once";
    EXPECT_EQ(copy->GetName(), L"sSkinManager1");
    EXPECT_EQ(copy->GetSkinName(), L"Blocks");
    EXPECT_EQ(copy->GetSkinDirectory(), m.GetSkinDirectory());
    EXPECT_EQ(copy->GetSkinsFilter(), TacSkinsFilter{sfiExternal});
    EXPECT_EQ(copy->GetSkinningRules(), TacSkinningRules{srStdForms});
    EXPECT_FALSE(copy->Effects()->AllowAnimation);
    EXPECT_TRUE(copy->Effects()->AllowAeroBluring);
    EXPECT_FALSE(copy->Effects()->AllowGlowing);
    EXPECT_TRUE(copy->Effects()->GetBoolProp(1));
    EXPECT_TRUE(copy->AnimEffects()->BlendOnMoving->Active);
    EXPECT_EQ(copy->AnimEffects()->BlendOnMoving->BlendValue, 99);
    EXPECT_EQ(copy->AnimEffects()->Buttons->Events, TacBtnEvents{beMouseDown});
    EXPECT_EQ(copy->AnimEffects()->FormShow->Mode, atDropDown);
    EXPECT_EQ(copy->AnimEffects()->FormHide->Time, 250);
    EXPECT_FALSE(copy->AnimEffects()->SkinChanging->Active);
    EXPECT_FALSE(copy->ButtonsOptions()->ShowFocusRect);
    EXPECT_EQ(copy->ButtonsOptions()->ModalButtonsColoring, (TacModalButtonsColoring{bcBackground, bcText}));
    EXPECT_FALSE(copy->GetSkinnedPopups());
    EXPECT_EQ(copy->GetBrightness(), 10);
    EXPECT_EQ(copy->GetHueOffset(), -20);
    EXPECT_EQ(copy->GetSaturation(), 30);
    EXPECT_FALSE(copy->LabelsOptions()->TransparentAlways);
    EXPECT_EQ(copy->MenuSupport()->IcoLineSkin, L"MYLINE");
    EXPECT_TRUE(copy->Options.CheckEmptyAlpha);
    EXPECT_FALSE(copy->Options.DrawNonClientArea);
    EXPECT_EQ(copy->Options.OptimizingPriority, opMemory);
    EXPECT_EQ(copy->Fonts()->GetMainFont(), L"Tahoma");
    EXPECT_EQ(copy->ScrollsOptions()->GetButtonsSize(), 14);
    EXPECT_EQ(copy->ScrollsOptions()->GetScrollSize(), 18);
    EXPECT_EQ(copy->ThirdLists(5)->GetText(), L"TMyGrid\r\n");
    EXPECT_EQ(copy->ThirdLists(1)->GetText(), L"TButton\r\n");
    EXPECT_EQ(copy->GetSkinInfo(), L"13") << "the loaded skin's version; the written text is not read back";
    EXPECT_TRUE(copy->IsDefault()) << "the image of a default manager claims the default";
    DefaultManager = s.manager.get();
}

void MoveMouse(int x, int y)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

void PumpFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        PumpMessages();
        Sleep(10);
    }
}

POINT CentreOf(TControl* control)
{
    TWinControl* win = dynamic_cast<TWinControl*>(control);
    RECT r;
    GetWindowRect(win->GetHandle(), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class TRecordedGraphic : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
};

TEST(SkinManager, HotControlsGetMouseInAndOutInPairs)
{
    Scene s;
    TPanel* second = New<TPanel>(s.forms[0]);
    second->SetParent(s.forms[0]);
    second->SetBounds(90, 10, 60, 40);
    Watch(second, L"second");
    for (TPanel* panel : {s.panels[0], second}) {
        TWndMethod old = panel->WindowProc;
        TsSkinManager* manager = s.manager.get();
        panel->WindowProc = [panel, old, manager](TMessage& m) {
            if (m.Msg == WM_MOUSEMOVE)
                manager->SetActiveControl(panel->GetHandle());
            old(m);
        };
    }
    s.forms[0]->BringToFront();
    PumpMessages();
    received.clear();
    const POINT first = CentreOf(s.panels[0]), next = CentreOf(second);
    MoveMouse(first.x, first.y);
    PumpFor(150);
    MoveMouse(first.x + 3, first.y + 2);
    PumpFor(150);
    EXPECT_EQ(s.manager->GetActiveControl(), s.panels[0]->GetHandle());
    MoveMouse(next.x, next.y);
    PumpFor(150);
    MoveMouse(5, GetSystemMetrics(SM_CYSCREEN) - 5);
    PumpFor(400);
    EXPECT_EQ(CommandsOf(L"panel0"), (std::vector<int>{SKC_MOUSE_IN, SKC_MOUSE_OUT}));
    EXPECT_EQ(CommandsOf(L"second"), (std::vector<int>{SKC_MOUSE_IN, SKC_MOUSE_OUT}));
    EXPECT_EQ(s.manager->GetActiveControl(), nullptr) << "released by the timer once the mouse left";
}

TEST(SkinManager, AGraphicControlFreedWhileHotGetsNothing)
{
    Scene s;
    MoveMouse(5, GetSystemMetrics(SM_CYSCREEN) - 5);
    PumpFor(50);
    auto* graphic = New<TRecordedGraphic>(s.forms[0]);
    graphic->SetParent(s.forms[0]);
    graphic->SetBounds(100, 60, 30, 30);
    Watch(graphic, L"graphic");
    s.manager->SetActiveControl(s.panels[0]->GetHandle());
    s.manager->SetActiveGraphControl(graphic);
    EXPECT_EQ(s.manager->GetActiveGraphControl(), graphic);
    graphic->Free();
    EXPECT_EQ(s.manager->GetActiveGraphControl(), nullptr) << "forgotten when freed";
    PumpFor(400);
    EXPECT_TRUE(CommandsOf(L"graphic").empty());
    EXPECT_EQ(s.manager->GetActiveControl(), nullptr);
}

TEST(SkinManager, TheGraphicsReadItsAnimationSettings)
{
    TOwned<TsSkinManager> manager(New<TsSkinManager>(nullptr));
    TacAnimEffects* effects = manager->AnimEffects();
    const struct {
        TacAnimKind Kind;
        TacFormAnimation* Setting;
        bool Active;
        Word Time;
        TacAnimType Mode;
    } cases[] = {
        {akFormShow, effects->FormShow.get(), false, 120, atDropDown},
        {akFormHide, effects->FormHide.get(), true, 240, atFading},
        {akDialogShow, effects->DialogShow.get(), true, 36, atAero},
        {akDialogHide, effects->DialogHide.get(), false, 48, atDropDown},
        {akSkinChanging, effects->SkinChanging.get(), true, 500, atAero},
    };
    for (const auto& c : cases) {
        c.Setting->Active = c.Active;
        c.Setting->Time = c.Time;
        c.Setting->Mode = c.Mode;
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Kind);
        const TacAnimSetting read = ReadAnimSetting(manager.get(), c.Kind);
        EXPECT_EQ(read.Active, c.Active);
        EXPECT_EQ(read.Time, c.Time);
        EXPECT_EQ(read.Mode, c.Mode);
    }
    EXPECT_EQ(ReadAnimSetting(nullptr, akFormHide).Time, 0);
}

} // namespace

