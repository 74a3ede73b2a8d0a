#include "sFormRegistry.h"
#include "acEngineServices.h"
#include "Forms.h"
#include "acntUtils.h"
#include "sVclUtils.h"

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
    for (std::size_t i = 0; i < SkinnedForms.size(); ++i) {
        auto* form = dynamic_cast<TCustomForm*>(SkinnedForms[i]);
        if (!form || Going(form) || form->GetWindowState() == wsMinimized || form->GetFormStyle() == fsMDIChild ||
            form->GetParent() || !form->HandleAllocated() || !IsWindowVisible(form->GetHandle()))
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

// The steps cover and freeze the forms of the manager's skin providers;
// until a provider registers itself there is no form to cover.
void PrepareFormsForSkinChange(TsSkinManager*)
{
}

void LockFormsForSkinUpdate(TsSkinManager*)
{
}

void UnlockFormsAfterSkinUpdate(TsSkinManager* Manager, int)
{
    if (Manager && Manager->IsDefault())
        SkinChangeAnimating = false;
}
