// The forms the skin engine reaches at once: the list of skinned forms, the
// broadcasts to them and to the application's forms, the three steps around
// an animated skin change, and the library's scaled sizes. Forms without a
// skin provider take no part in the skin-change steps.
#pragma once

#include "Forms.h"
#include <vector>

class TsSkinManager;

// Forms of the live skin providers, in registration order.
extern std::vector<TComponent*> SkinnedForms;
void RegisterSkinnedForm(TComponent* Form);
// Every slot holding Form takes the last entry, which is then dropped.
void UnregisterSkinnedForm(TComponent* Form);

// To every registered form not being destroyed and to its controls.
void BroadcastToSkinnedForms(TMessage& Message);
// To every form of the application (last to first) that is not an MDI
// child, not loading or going, and has no skin handling of its own, and to
// its controls; then to the skinned forms.
void BroadcastToApplicationForms(TMessage& Message);

// The steps of an animated skin change. They cover the forms of the
// manager's skin providers; without providers only the animating flag moves.
void PrepareFormsForSkinChange(TsSkinManager* Manager);
void LockFormsForSkinUpdate(TsSkinManager* Manager);
void UnlockFormsAfterSkinUpdate(TsSkinManager* Manager, int Mode);

// Drops every glow window the manager's controls show.
void ClearGlowEffects();

// When set, RepaintForms also tells this control (command 3) after repainting.
extern TWinControl* RepaintListenerControl;

// Sizes the default skin manager rescales when its scale changes.
struct TacLibraryMetrics {
    int ArrowSize = 7;
    int ArrowHalf = 4;           // half the arrow size, rounded up
    int SmallMargin = 4;
    int Margin = 5;
    int Sizes[4] = {16, 6, 2, 16};
    int MessageFontSize = 0;     // of the screen's message font; 0 until read
};
extern TacLibraryMetrics LibraryMetrics;
