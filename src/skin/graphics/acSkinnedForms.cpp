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

// Glow windows belong to the animation unit, which clears them here once it exists.
void ClearGlowEffects()
{
}
