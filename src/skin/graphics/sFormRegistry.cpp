#include "sFormRegistry.h"
#include "acEngineServices.h"
#include "Forms.h"
#include "acShadow.h"
#include "acntUtils.h"
#include "sFormAnimations.h"
#include "sVclUtils.h"
#include "sWindowHelpers.h"

std::vector<TComponent*> SkinnedForms;
TIcon* AppSmallIcon = nullptr;
TIcon* AppLargeIcon = nullptr;

namespace {

bool Going(const TComponent* Component)
{
    const TComponentState state = Component->ComponentState();
    return state.Contains(csDestroying) || state.Contains(csLoading);
}

void SendToForm(TForm* Form, TMessage& Message)
{
    if (!Form->HandleAllocated())
        return;
    Message.Result = SendMessageW(Form->GetHandle(), Message.Msg, Message.WParam, Message.LParam);
    BroadcastToChildren(Form, Message);
}

String ExecutableName()
{
    wchar_t path[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return String(path, length);
}

void FreeIcon(TIcon*& Icon)
{
    // The icons are ours: freeing them destroys their handles too.
    if (Icon)
        Icon->Free();
    Icon = nullptr;
}

} // namespace

void RegisterSkinnedForm(TComponent* Form)
{
    SkinnedForms.push_back(Form);
}

void UnregisterSkinnedForm(TComponent* Form)
{
    std::size_t i = 0;
    while (i < SkinnedForms.size()) {
        if (SkinnedForms[i] != Form) {
            ++i;
            continue;
        }
        // The last entry moves here and its slot, now empty, goes.
        SkinnedForms[i] = SkinnedForms.back();
        SkinnedForms.pop_back();
        // Slot i now holds the former last entry: look at it again.
    }
}

void ForEachSkinProvider(TsSkinManager* Manager, const TSkinProviderProc& Proc, void* Data)
{
    // Handlers make and free forms: the length is read again at every step.
    // A form frozen with WM_SETREDRAW loses WS_VISIBLE though it stays on
    // screen; its Visible property keeps it in the walk that thaws it.
    for (std::size_t i = 0; i < SkinnedForms.size(); ++i) {
        auto* form = dynamic_cast<TCustomForm*>(SkinnedForms[i]);
        if (!form || Going(form) || form->GetWindowState() == wsMinimized || form->GetFormStyle() == fsMDIChild ||
            form->GetParent() || !form->HandleAllocated() ||
            !(form->GetVisible() || IsWindowVisible(form->GetHandle())))
            continue;
        auto* provider = reinterpret_cast<TsSkinProvider*>(SendControlCommand(form, SKC_QUERY_PROVIDER, 0));
        if (provider && provider->FCommonData && provider->FCommonData->GetSkinManager() == Manager)
            Proc(provider, Data);
    }
}

void BroadcastToSkinnedForms(TMessage& Message)
{
    for (std::size_t i = 0; i < SkinnedForms.size(); ++i) {
        auto* form = dynamic_cast<TForm*>(SkinnedForms[i]);
        if (form && !form->ComponentState().Contains(csDestroying))
            SendToForm(form, Message);
    }
    for (std::size_t i = 0; i < DialogProviders.size(); ++i) {
        TacProvider* provider = DialogProviders[i];
        if (provider && provider->ListSW && IsWindow(provider->ListSW->CtrlHandle) &&
            IsWindowVisible(provider->ListSW->CtrlHandle))
            Message.Result = SendMessageW(provider->ListSW->CtrlHandle, Message.Msg, Message.WParam, Message.LParam);
    }
}

void BroadcastToApplicationForms(TMessage& Message)
{
    if (Application) {
        for (int i = Application->ComponentCount() - 1; i >= 0; --i) {
            if (i >= Application->ComponentCount())
                continue;
            auto* form = dynamic_cast<TForm*>(Application->Components(i));
            if (!form || form->GetFormStyle() == fsMDIChild || Going(form) ||
                (form->HandleAllocated() && HasSkinHandler(form->GetHandle())))
                continue;
            SendToForm(form, Message);
        }
    }
    BroadcastToSkinnedForms(Message);
}

bool IndexInSections(const int* Indexes, int Count, int Value, Byte Low, Byte High)
{
    for (int i = Low; i <= High && i < Count; ++i)
        if (Indexes[i] == Value)
            return true;
    return false;
}

// ---------------------------------------------------------------------------
namespace {

TBitmap* WindowShadow(TOwned<TBitmap>& Shadow, TColor Color, const TsSkinData& Data)
{
    if (!Shadow)
        Shadow.reset(MakeShadowBitmap(Color, Data.WndShadowRadius, Data.WndShadowOffset,
                                      (Data.WndShadowRadius - Data.WndShadowSize) * 2, 0, 0, false));
    return Shadow.get();
}

} // namespace

TBitmap* TsSkinData::GetActiveShadow()
{
    return WindowShadow(rsta, WndShadowColorA, *this);
}

TBitmap* TsSkinData::GetPassiveShadow()
{
    return WindowShadow(rsti, WndShadowColorN, *this);
}

TsSkinData::~TsSkinData()
{
    Reset();
}

void TsSkinData::Reset()
{
    Active = false;
    rsta.reset();
    rsti.reset();
}

void sFormRegistry_Initialize()
{
    LoadShellFileInfo();
    const String exe = ExecutableName();
    AppSmallIcon = LoadFileIcon(exe, SHGFI_SMALLICON);
    AppLargeIcon = LoadFileIcon(exe, SHGFI_LARGEICON);
}

void sFormRegistry_Finalize()
{
    FreeIcon(AppSmallIcon);
    FreeIcon(AppLargeIcon);
    SkinnedForms.clear();
    SkinnedForms.shrink_to_fit();
}

// ---------------------------------------------------------------------------
// The skin change: covered (with a border form), frozen, then revealed.

namespace {

constexpr Cardinal CoveredState = 0x1000;
constexpr Cardinal LockedState = 0x10000;

bool ApplicationMinimized()
{
    return Application && IsIconic(Application->GetHandle());
}

Byte FormOpacity(const TCustomForm* Form)
{
    return Form->GetAlphaBlend() ? Form->GetAlphaBlendValue() : 255;
}

void NoteSkinChangeAnimating(TsSkinManager* Manager)
{
    if (Manager->IsDefault() && ReadAnimSetting(Manager, akSkinChanging).Active)
        SkinChangeAnimating = true;
}

void ClearFormState(TsSkinProvider* Provider, Cardinal Bits)
{
    Provider->SetFormState(Provider->GetFormState() & ~Bits);
}

// A maximized form whose skin has another title height is maximized again.
void RemaximizeForNewTitle(TsSkinProvider* Provider)
{
    TCustomForm* form = Provider->Form;
    if (form->GetWindowState() != wsMaximized || !Provider->BorderForm)
        return;
    const int title = Provider->SkinTitleHeight(true);
    if (title == MaximizedTitleHeight)
        return;
    MaximizedTitleHeight = title;
    HWND wnd = form->GetHandle();
    HWND active = GetActiveWindow();
    SetWindowLongW(wnd, GWL_STYLE, GetWindowLongW(wnd, GWL_STYLE) & ~WS_VISIBLE);
    ShowWindow(wnd, SW_SHOWMAXIMIZED);
    SetWindowLongW(wnd, GWL_STYLE, GetWindowLongW(wnd, GWL_STYLE) | WS_VISIBLE);
    if (active && active != GetActiveWindow())
        SetActiveWindow(active);
}

void RevealNewSkin(TsSkinProvider* Provider, const TacAnimSetting& Changing)
{
    TCustomForm* form = Provider->Form;
    HWND wnd = form->GetHandle();
    constexpr UINT redraw = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;
    if (Changing.Active) {
        if (Provider->FDrawNonClientArea)
            AnimateSkinChange(form, Changing.Time, FormOpacity(form), Changing.Mode == atAero);
        else
            AnimateSkinChange(form, 0, 255, false);
    }
    ClearFormState(Provider, CoveredState);
    RemaximizeForNewTitle(Provider);
    Provider->FInAnimation = false;
    if (!Provider->FDrawNonClientArea) {
        RedrawWindow(wnd, nullptr, nullptr, redraw);
        return;
    }
    if (!IsAeroEnabled())
        SetWindowRgn(wnd, nullptr, FALSE);
    Provider->FindTransparentCorners();
    Provider->ApplyFormRegion(false, true);
    RedrawWindow(wnd, nullptr, nullptr, redraw);
    if (TacBorderForm* border = Provider->BorderForm) {
        if (border->AForm)
            SetWindowRgn(border->AForm->GetHandle(), border->MakeRgn(), TRUE);
        border->UpdateExBordersPos(true, 255);
    }
}

} // namespace

void PrepareFormsForSkinChange(TsSkinManager* Manager)
{
    if (!Manager || ApplicationMinimized())
        return;
    const TComponentState state = Manager->ComponentState();
    if (state.Contains(csLoading) || state.Contains(csReading) || state.Contains(csDesigning))
        return;
    NoteSkinChangeAnimating(Manager);
    ForEachSkinProvider(
        Manager,
        [](TsSkinProvider* Provider, void*) {
            if (Provider->BorderForm && Provider->BorderForm->AForm) {
                Provider->SetFormState(Provider->GetFormState() | CoveredState);
                TBitmap* snapshot = Provider->CreateFormBitmap(false);
                FreeAndNil(Provider->CoverBmp);
                Provider->CoverBmp = snapshot;
            }
            Provider->FInAnimation = true;
        },
        nullptr);
}

void LockFormsForSkinUpdate(TsSkinManager* Manager)
{
    if (!Manager || ApplicationMinimized())
        return;
    NoteSkinChangeAnimating(Manager);
    ForEachSkinProvider(
        Manager,
        [](TsSkinProvider* Provider, void*) {
            Provider->FInAnimation = true;
            Provider->SetFormState(Provider->GetFormState() | LockedState);
            TacBorderForm* border = Provider->BorderForm;
            if (border && border->AForm) {
                HWND cover = border->AForm->GetHandle();
                if (Provider->CoverBmp)
                    PaintLayeredWindow(cover, Provider->CoverBmp, FormOpacity(Provider->Form), nullptr);
                SetWindowRgn(cover, border->MakeRgn(), TRUE);
            }
            SendMessageW(Provider->Form->GetHandle(), WM_SETREDRAW, FALSE, 0);
        },
        nullptr);
}

void UnlockFormsAfterSkinUpdate(TsSkinManager* Manager, int Mode)
{
    if (!Manager || ApplicationMinimized())
        return;
    if (Manager->IsDefault())
        SkinChangeAnimating = false;
    ForEachSkinProvider(
        Manager,
        [](TsSkinProvider* Provider, void*) {
            if (Provider->GetFormState() & LockedState)
                SendMessageW(Provider->Form->GetHandle(), WM_SETREDRAW, TRUE, 0);
        },
        nullptr);
    const TacAnimSetting changing = ReadAnimSetting(Manager, akSkinChanging);
    ForEachSkinProvider(
        Manager,
        [Mode, &changing](TsSkinProvider* Provider, void*) {
            if (!(Provider->GetFormState() & LockedState) || Provider->Form->GetWindowState() == wsMinimized)
                return;
            if (Mode == 1) {
                RevealNewSkin(Provider, changing);
            } else {
                ClearFormState(Provider, CoveredState);
                SendMessageW(Provider->Form->GetHandle(), WM_SETREDRAW, TRUE, 0);
            }
            ClearFormState(Provider, LockedState);
        },
        nullptr);
}
