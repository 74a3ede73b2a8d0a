#include "acSkinnedForms.h"
#include "acEngineServices.h"
#include "sVclUtils.h"
#include <algorithm>

std::vector<TComponent*> SkinnedForms;
TWinControl* RepaintListenerControl = nullptr;
TacLibraryMetrics LibraryMetrics;

void RegisterSkinnedForm(TComponent* Form)
{
    SkinnedForms.push_back(Form);
}

void UnregisterSkinnedForm(TComponent* Form)
{
    for (std::size_t i = 0; i < SkinnedForms.size();) {
        if (SkinnedForms[i] == Form) {
            SkinnedForms[i] = SkinnedForms.back();
            SkinnedForms.pop_back();
        } else
            ++i;
    }
}

namespace {

void SendToForm(TCustomForm* form, TMessage& Message)
{
    if (!form->HandleAllocated())
        return;
    Message.Result = SendMessageW(form->GetHandle(), Message.Msg, Message.WParam, Message.LParam);
    BroadcastToChildren(form, Message);
}

bool IsMinimized()
{
    return Application && Application->GetHandle() && IsIconic(Application->GetHandle());
}

} // namespace

void BroadcastToSkinnedForms(TMessage& Message)
{
    // Handlers may make and free forms meanwhile: the length is read at each step.
    for (std::size_t i = 0; i < SkinnedForms.size(); ++i) {
        auto* form = dynamic_cast<TForm*>(SkinnedForms[i]);
        if (form && !form->ComponentState().Contains(csDestroying))
            SendToForm(form, Message);
    }
}

void BroadcastToApplicationForms(TMessage& Message)
{
    if (Application) {
        for (int i = Application->ComponentCount() - 1; i >= 0; --i) {
            if (i >= Application->ComponentCount())
                continue;
            auto* form = dynamic_cast<TForm*>(Application->Components(i));
            if (!form || form->GetFormStyle() == fsMDIChild)
                continue;
            const TComponentState state = form->ComponentState();
            if (state.Contains(csLoading) || state.Contains(csDestroying))
                continue;
            if (form->HandleAllocated() && HasSkinHandler(form->GetHandle()))
                continue;
            SendToForm(form, Message);
        }
    }
    BroadcastToSkinnedForms(Message);
}

void PrepareFormsForSkinChange(TsSkinManager* Manager)
{
    if (IsMinimized() || !Manager)
        return;
    const TComponentState state = Manager->ComponentState();
    if (state.Contains(csLoading) || state.Contains(csReading) || state.Contains(csDesigning))
        return;
}

void LockFormsForSkinUpdate(TsSkinManager* Manager)
{
    if (IsMinimized() || !Manager)
        return;
}

void UnlockFormsAfterSkinUpdate(TsSkinManager* Manager, int)
{
    if (IsMinimized() || !Manager)
        return;
    if (Manager->IsDefault())
        SkinChangeAnimating = false;
}

void ClearGlowEffects()
{
}
