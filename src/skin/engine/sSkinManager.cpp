// The skin manager's life cycle: construction and destruction, the skin
// change and removal sequences with the notifications they send, the update
// bracket, skin directories, the control under the mouse, and the unit's
// start-up.
//
// Every sequence that sets a flag or freezes forms undoes that on every
// exit, an exception included: a stuck flag would keep the manager from
// ever announcing a skin again.
#include "sSkinManager.h"
#include "sCommonData.h"
#include "sSkinProvider.h"
#include "acFontStore.h"
#include "acSkinList.h"
#include "acSkinPack.h"
#include "sSkinLoader.h"
#include "Dialogs.h"
#include "ExtCtrls.h"
#include "Registry.h"
#include "ScopeExit.h"
#include "acMessageBox.h"
#include "acLibraryGlobals.h"
#include "sFormRegistry.h"
#include "acntUtils.h"
#include "sGraphUtils.h"
#include "sVclUtils.h"
#include "ProcBinding.h"
#include "UniqueHandle.h"

void (*ForeignSkinStateProc)(bool SkinActive) = nullptr;
void (*ForeignSkinLoadedProc)() = nullptr;
bool SkinChanging = false;
bool IsNTFamily = false;

namespace {

TModuleHandle User32Module;
BOOL(WINAPI* SetProcessDPIAwareProc)() = nullptr;

bool InState(const TComponent* c, TComponentStateItem item)
{
    return c->ComponentState().Contains(item);
}

TMessage CommandMessage(int Command, LPARAM LParam)
{
    TMessage m{};
    m.Msg = SkinCommandMessage;
    m.WParam = SkinCommandWParam(Command);
    m.LParam = LParam;
    return m;
}

// To the forms being designed and the skinned forms at design time, else
// to every form of the application.
void SendToForms(const TsSkinManager* Manager, int Command, LPARAM LParam)
{
    TMessage m = CommandMessage(Command, LParam);
    if (InState(Manager, csDesigning))
        BroadcastToSkinnedForms(m);
    else
        BroadcastToApplicationForms(m);
}

void CallDPIAware(const TsSkinManager* Manager)
{
    if (SetProcessDPIAwareProc && Manager->Options.GetScaleMode() != smOldMode)
        SetProcessDPIAwareProc();
}

// The window under the cursor belongs to Wnd (or is Wnd).
bool MouseOverWindow(HWND Wnd)
{
    POINT p;
    if (!GetCursorPos(&p))
        return false;
    HWND under = WindowFromPoint(p);
    return under && (under == Wnd || IsChild(Wnd, under));
}

bool MouseOverControl(TControl* Control)
{
    POINT p;
    TWinControl* parent = Control->GetParent();
    if (!parent || !parent->HandleAllocated() || !GetCursorPos(&p))
        return false;
    ScreenToClient(parent->GetHandle(), &p);
    return TRect(Control->GetBoundsRect()).Contains(p);
}

} // namespace

// ---------------------------------------------------------------------------
TsSkinManager::TsSkinManager(TComponent* AOwner) : TComponent(AOwner), Options(this)
{
    CommonSkinData.Reset();
    FEffects.reset(New<TacSkinEffects>(this));
    FFonts.reset(New<TacFonts>(this));
    FThirdParty.reset(New<TsThirdPartyList>());
    SysFontScale = ReadSysFontScale();
    for (auto& list : FThirdLists) {
        list.reset(New<TStringList>());
        list->SetCaseSensitive(true);
    }
    CommonSkinData.SysInactiveBorderColor = ColorToRGB(clInactiveBorder);
    FCommonSections.reset(New<TStringList>());
    FCommonSections->SetCaseSensitive(true);
    FMenuSupport.reset(New<TacMenuSupport>());
    FScrollsOptions.reset(New<TacScrollBarsSupport>(this));
    FButtonsOptions.reset(New<TacButtonsSupport>(this));
    FLabelsOptions.reset(New<TacLabelsSupport>());
    FAnimEffects.reset(New<TacAnimEffects>(this));
    FInternalSkins.reset(New<TsStoredSkins>(this));
    FEmbeddedFonts.reset(New<TacEmbeddedFonts>(this, efkSkinManager));
    FSkinListController.reset(New<TacSkinListController>(this));
    if (!DefaultManager)
        DefaultManager = this;
    TimerCheckHot.reset(New<TTimer>(nullptr));
    TimerCheckHot->SetEnabled(false);   // runs while a control is hot
    TimerCheckHot->SetInterval(100);
    TimerCheckHot->OnTimer = [this](TObject*) { CheckHotControl(); };
}

void TsSkinManager::AfterConstruction()
{
    TComponent::AfterConstruction();
    // Every cached index starts at -1.
    InitConstantIndexes();
    UpdateThirdLists(this, false);
    if (FSkinDirectory.empty())
        FSkinDirectory = L"c:\\Skins";
    if (!InState(this, csLoading) && !InState(this, csReading) && !InState(this, csDesigning) &&
        ForeignSkinStateProc) {
        CallDPIAware(this);
        ForeignSkinStateProc(FActive && !FSkinName.empty());
    }
}

void TsSkinManager::BeforeDestruction()
{
    // The forms hear of the removal while the manager is still whole.
    if (CommonSkinData.Active)
        SetActive(false);
    FExtendedBorders = false;
    TComponent::BeforeDestruction();
}

TsSkinManager::~TsSkinManager()
{
    TimerCheckHot.reset();
    if (FActiveGraphControl)
        FActiveGraphControl->RemoveFreeNotification(this);
    FreeSkinTables();
    FSkinListController.reset();
    FInternalSkins.reset();
    UnloadFonts(FEmbeddedFonts.get());
    if (DefaultManager == this) {
        UninstallHook();
        DefaultManager = nullptr;
    }
    SaveThirdLists(this);
}

void TsSkinManager::Loaded()
{
    const bool wasActive = CommonSkinData.Active;
    TComponent::Loaded();
    if (!InState(this, csDesigning))
        CallDPIAware(this);
    if (FSkinDirectory.empty())
        FSkinDirectory = L"c:\\Skins";
    if (FMenuSupport->IcoLineSkin.empty())
        FMenuSupport->IcoLineSkin = L"ICOLINE";
    UpdateThirdLists(this, false);
    if (FActive && !FSkinName.empty())
        SendNewSkin(false);
    UpdateDialogRule();
    if (ForeignSkinStateProc && !InState(this, csLoading) && !InState(this, csReading))
        ForeignSkinStateProc(FActive && !FSkinName.empty());
    if (!wasActive && CommonSkinData.Active && !InState(this, csDesigning) && OnActivate)
        OnActivate(this);
}

void TsSkinManager::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    // The hot-control timer must never reach a freed control.
    if (Operation == opRemove && AComponent == FActiveGraphControl)
        FActiveGraphControl = nullptr;
}

// ---------------------------------------------------------------------------
// Skin change and removal.

void TsSkinManager::SetSkinName(const String& Value)
{
    const String oldName = FSkinName;
    FSkinName = Value;
    const bool wasActive = CommonSkinData.Active;
    if (FActive) {
        if (OnBeforeChange)
            OnBeforeChange(this);
        bool prepared = false;
        bool finished = false;
        TScopeExit restore([&] {
            SkinChanging = false;
            if (prepared && !finished)
                UnlockFormsAfterSkinUpdate(this, 0);
        });
        if (GetExtendedBorders() && !NoAutoUpdate && FAnimEffects->SkinChanging->Active &&
            FEffects->AllowAnimation) {
            PrepareFormsForSkinChange(this);
            prepared = true;
        }
        SkinChanging = true;
        CommonSkinData.Reset();
        if (FSkinName.size() > 4 && UpperCase(FSkinName.substr(FSkinName.size() - 4)) == L".ASZ")
            FSkinName.resize(FSkinName.size() - 4);
        SkinIsPacked = FileExists(GetFullSkinDirectory() + FSkinName + L".asz");
        try {
            if (SkinIsPacked)
                ReloadPackedSkin();
            else
                ReloadSkin();
        } catch (const Exception& e) {
            FSkinName = oldName;
            ShowErrorMessage(e.Message());
        }
        if (!FActive) {
            SendRemoveSkin();
            InitConstantIndexes();
            if (!InState(this, csDesigning) && OnDeactivate)
                OnDeactivate(this);
        } else if (!NoAutoUpdate)
            SendNewSkin(true);
        finished = true;
        if (!wasActive && CommonSkinData.Active && !InState(this, csLoading) && !InState(this, csDesigning) &&
            OnActivate)
            OnActivate(this);
        SkinChanging = false;
        if (!NoAutoUpdate && OnAfterChange)
            OnAfterChange(this);
    }
    UpdateDialogRule();
}

void TsSkinManager::SendNewSkin(bool Repaint)
{
    if (InState(this, csLoading) || InState(this, csReading))
        return;
    ManagerState.Include(msSkinLoading);
    TScopeExit done([this] { ManagerState.Exclude(msSkinLoading); });
    if (IsDefault())
        ClearGlowEffects(true);
    if (Repaint && !InState(this, csDesigning))
        LockFormsForSkinUpdate(this);
    SendToForms(this, SKC_SKIN_LOADED, reinterpret_cast<LPARAM>(this));
    CommonSkinData.Active = true;
    if (IsDefault() && !GlobalHookInstalled)
        InstallHook();
    if (ForeignSkinStateProc)
        ForeignSkinStateProc(true);
    if (ForeignSkinLoadedProc)
        ForeignSkinLoadedProc();
    if (FFonts->GetMainMode() == fmFromSkin)
        ChangeAppFont(CommonSkinData.MainFont.empty() ? DefStoredFontName : CommonSkinData.MainFont, false);
    if (Repaint)
        RepaintForms(false);
}

void TsSkinManager::SendRemoveSkin()
{
    if (IsDefault() && ForeignSkinStateProc)
        ForeignSkinStateProc(false);
    SkinRemoving = true;
    TScopeExit done([this] { SkinRemoving = false; });
    if (FFonts->GetMainMode() == fmFromSkin && !(Application && Application->Terminated()))
        ChangeAppFont(DefStoredFontName, false);
    ClearGlowEffects(true);
    UninstallHook();
    CommonSkinData.Reset();
    SendToForms(this, SKC_SKIN_REMOVED, reinterpret_cast<LPARAM>(this));
    FreeSkinTables();
}

void TsSkinManager::SetActive(bool Value)
{
    if (Value == FActive)
        return;
    FActive = Value;
    if (Value) {
        SetSkinName(FSkinName);
        return;
    }
    if (!FSkinName.empty() && !InState(this, csLoading))
        SendRemoveSkin();
    InitConstantIndexes();
    UpdateDialogRule();
    if (!InState(this, csDesigning) && OnDeactivate)
        OnDeactivate(this);
}

void TsSkinManager::SetSkinDirectory(const String& Value)
{
    if (Value == FSkinDirectory)
        return;
    FSkinDirectory = Value;
    CommonSkinData.SkinPath = GetFullSkinDirectory();
    if (FSkinListController)
        FSkinListController->ResetList(true);
    if (OnSkinListChanged)
        OnSkinListChanged(this);
}

void TsSkinManager::SetSkinsFilter(TacSkinsFilter Value)
{
    if (Value == FSkinsFilter)
        return;
    FSkinsFilter = Value;
    if (FSkinListController)
        FSkinListController->ResetList(true);
    if (OnSkinListChanged)
        OnSkinListChanged(this);
}

void TsSkinManager::SetSkinningRules(TacSkinningRules Value)
{
    FSkinningRules = Value;
    UpdateDialogRule();
}

String ResolveSkinDirectory(const String& Directory, const String& AppFolder)
{
    const String& dir = Directory;
    const String& app = AppFolder;
    String result;
    if (dir.rfind(L"..", 0) == 0) {
        String parent = app;
        if (!parent.empty())
            parent.pop_back();
        while (!parent.empty() && parent.back() != L'\\' && parent.back() != L'/')
            parent.pop_back();
        // A folder at a drive's root has no parent: stay at the root.
        if (parent.empty())
            parent = app;
        result = parent + (dir.size() > 3 ? dir.substr(3) : String());
    } else if (dir.rfind(L".\\", 0) == 0 || dir.rfind(L"./", 0) == 0)
        result = app + dir.substr(2);
    else if (dir == L".")
        result = app;
    else if (dir.find(L':') == String::npos && dir.find(L"\\\\") == String::npos)
        result = app + dir;
    else
        result = dir;
    return AddPathDelimiter(result);
}

String TsSkinManager::GetFullSkinDirectory() const
{
    return ResolveSkinDirectory(FSkinDirectory, ExtractFilePath(ParamStr(0)));
}

void TsSkinManager::SetCommonSections(TStrings* Value)
{
    FCommonSections->Clear();
    for (int i = 0; i < Value->Count(); ++i) {
        String line = (*Value)[i];
        if (!line.empty() && line[0] != L';')
            line = StringReplace(line, L" ", L"", {rfReplaceAll});
        FCommonSections->Add(line);
    }
    // While the component is read, the skin name that follows loads them.
    if (!InState(this, csLoading))
        SetSkinName(FSkinName);
}

String TsSkinManager::GetSkinInfo() const
{
    if (!CommonSkinData.Active)
        return L"N/A";
    wchar_t text[32];
    swprintf(text, 32, L"%g", CommonSkinData.Version);
    return text;
}

void TsSkinManager::SetSkinnedPopups(bool Value)
{
    // The skinned menus read it when they are present.
    FSkinnedPopups = Value;
}

bool TsSkinManager::GetExtendedBorders() const
{
    return FExtendedBorders && LayeredWindowsAvailable();
}

void TsSkinManager::SetExtendedBorders(bool Value)
{
    if (Value == FExtendedBorders)
        return;
    FExtendedBorders = Value;
    if (!CommonSkinData.Active)
        return;
    {
        SkinChanging = true;
        TScopeExit clear([] { SkinChanging = false; });
        CheckShadows();
        SkinIsPacked = FileExists(GetFullSkinDirectory() + FSkinName + L".asz");
        if (SkinIsPacked)
            ReloadPackedSkin();
        else
            ReloadSkin();
    }
    if (!InState(this, csLoading) && !InState(this, csReading) && !InState(this, csDesigning))
        RepaintForms(true);
}

void TsSkinManager::SetIsDefault(bool Value)
{
    if (!Value && DefaultManager)
        return;
    if (DefaultManager && DefaultManager != this)
        DefaultManager->UninstallHook();   // only one manager hooks the application
    DefaultManager = this;
    if (FActive)
        SendNewSkin(true);
    else
        SendRemoveSkin();
}

void TsSkinManager::UpdateDialogRule()
{
    if (IsDefault())
        UseLatestCommonDialogs = !(FSkinningRules.Contains(srStdDialogs) && FActive);
}

// ---------------------------------------------------------------------------
// Updates and repainting.

void TsSkinManager::BeginUpdate()
{
    NoAutoUpdate = true;
}

void TsSkinManager::EndUpdate(bool Repaint, bool AllowAnimation)
{
    NoAutoUpdate = false;
    {
        TacSkinChanging* changing = FAnimEffects->SkinChanging.get();
        const bool wasActive = changing->Active;
        if (!AllowAnimation)
            changing->Active = false;
        TScopeExit restore([&] { changing->Active = wasActive; });
        UpdateSkin(Repaint);
    }
    if (OnAfterChange)
        OnAfterChange(this);
}

void TsSkinManager::UpdateSkin(bool Repaint)
{
    if (FActive)
        SendNewSkin(Repaint);
}

void TsSkinManager::UpdateSkinSection(const String& SectionName)
{
    const String name = UpperCase(SectionName);
    SendToForms(this, SKC_SECTION_CHANGED, reinterpret_cast<LPARAM>(name.c_str()));
}

void TsSkinManager::RepaintForms(bool DoLockForms)
{
    const LPARAM self = reinterpret_cast<LPARAM>(this);
    if (!InState(this, csDesigning)) {
        TMessage reload = CommandMessage(SKC_RELOAD_DATA, self);
        BroadcastToApplicationForms(reload);
    }
    TMessage repaint = CommandMessage(SKC_REPAINT_SKIN, self);
    if (InState(this, csDesigning)) {
        BroadcastToSkinnedForms(repaint);
        return;
    }
    if (InState(this, csLoading))
        BroadcastToApplicationForms(repaint);
    else {
        if (DoLockForms)
            LockFormsForSkinUpdate(this);
        bool unlocked = false;
        TScopeExit unlock([&] {
            if (!unlocked)
                UnlockFormsAfterSkinUpdate(this, 0);
        });
        BroadcastToApplicationForms(repaint);
        unlocked = true;
        UnlockFormsAfterSkinUpdate(this, NoAutoUpdate ? 0 : 1);
    }
    if (RepaintListenerControl && RepaintListenerControl->HandleAllocated())
        SendMessageW(RepaintListenerControl->GetHandle(), SkinCommandMessage, SkinCommandWParam(SKC_REPAINT_SKIN), self);
}

// ---------------------------------------------------------------------------
// The control under the mouse.

void TsSkinManager::SetActiveControl(HWND Value)
{
    if (Value == FActiveControl)
        return;
    if (FActiveControl && IsWindow(FActiveControl) && MouseOverWindow(FActiveControl) &&
        (Value == FActiveControl || (Value && IsChild(FActiveControl, Value))))
        return;
    if (FActiveGraphControl) {
        SetActiveGraphControl(nullptr);
        if (FActiveGraphControl)
            return;
    }
    const HWND old = FActiveControl;
    FActiveControl = Value;
    TimerCheckHot->SetEnabled(Value != nullptr);
    if (old && IsWindow(old))
        SendWndCommand(old, SKC_MOUSE_OUT, reinterpret_cast<LPARAM>(this));
    if (Value)
        SendWndCommand(Value, SKC_MOUSE_IN, reinterpret_cast<LPARAM>(this));
}

void TsSkinManager::SetActiveGraphControl(TControl* Value)
{
    if (Value == FActiveGraphControl)
        return;
    if (GetOwner() && InState(GetOwner(), csDestroying))
        return;
    if (!Value && FActiveGraphControl) {
        auto* data = reinterpret_cast<TsCommonData*>(
            SendControlCommand(FActiveGraphControl, SKC_QUERY_SKIN_DATA, 0));
        if (data && data->FMouseAbove)
            return;
    }
    TControl* old = FActiveGraphControl;
    if (old) {
        old->RemoveFreeNotification(this);
        SendControlCommand(old, SKC_MOUSE_OUT, reinterpret_cast<LPARAM>(this));
    }
    FActiveGraphControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TsSkinManager::CheckHotControl()
{
    if (!FActiveControl)
        return;
    RECT r;
    POINT p;
    if (!IsWindow(FActiveControl) ||
        (GetWindowRect(FActiveControl, &r) && GetCursorPos(&p) && !PtInRect(&r, p)))
        SetActiveControl(nullptr);
    TControl* graphic = FActiveGraphControl;
    if (graphic && !InState(graphic, csDestroying) && !MouseOverControl(graphic))
        SendControlCommand(graphic, SKC_MOUSE_OUT, reinterpret_cast<LPARAM>(graphic));
}

// ---------------------------------------------------------------------------
Integer ReadSysFontScale()
{
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CURRENT_USER);
    int dpi = 0;
    try {
        if (reg.OpenKeyReadOnly(L"Control Panel\\Desktop\\WindowMetrics") && reg.ValueExists(L"AppliedDPI"))
            dpi = reg.ReadInteger(L"AppliedDPI");
    } catch (const Exception&) {
        dpi = 0;
    }
    if (dpi >= 192)
        return 3;
    if (dpi >= 144)
        return 2;
    if (dpi >= 120)
        return 1;
    return 0;
}

void sSkinManager_Initialize()
{
    sCommonData_Initialize();
    sSkinProvider_Initialize();
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    IsNTFamily = GetVersionExW(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
    for (int i = 1; i <= ParamCount(); ++i)
        if (LowerCase(ParamStr(i)) == L"/acver") {
            ShowMessage(L"Skin library v" + TsSkinManager::GetVersion());
            break;
        }
    ReadAnimSettingProc = ReadManagerAnimSetting;
    User32Module.Reset(LoadLibraryW(L"user32.dll"));
    SetProcessDPIAwareProc = nullptr;
    if (User32Module)
        BindProc(SetProcessDPIAwareProc, User32Module.Get(), "SetProcessDPIAware");
}

void sSkinManager_Finalize()
{
    sSkinProvider_Finalize();
    sCommonData_Finalize();
    ReadAnimSettingProc = nullptr;
    SetProcessDPIAwareProc = nullptr;
    User32Module.Reset();
}
