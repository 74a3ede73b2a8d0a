// The forms that carry a skin provider, in one list: messages broadcast to
// all of them (and to the skinned system dialogs), the walk over their
// providers, the executable's shell icons for skinned title bars, and the
// section index test of text painting. Main thread only.
#pragma once

#include "acProviderServices.h"

// In registration order; a freed slot is null until the list shrinks.
extern std::vector<TComponent*> SkinnedForms;
// The executable's shell icons, null when the shell gave none.
extern TIcon* AppSmallIcon;
extern TIcon* AppLargeIcon;

// Called by a provider's constructor and destructor.
void RegisterSkinnedForm(TComponent* Form);
// Each slot holding Form takes the last entry; the list shrinks as its end empties.
void UnregisterSkinnedForm(TComponent* Form);

using TSkinProviderProc = std::function<void(TsSkinProvider* Provider, void* Data)>;
// Visible top-level forms with a handle, not minimized and not MDI children,
// whose provider (command 4) belongs to Manager. Proc may make and free forms.
void ForEachSkinProvider(TsSkinManager* Manager, const TSkinProviderProc& Proc, void* Data);
// To every registered form and its controls, then to every visible skinned dialog.
void BroadcastToSkinnedForms(TMessage& Message);
// To the application's forms that have no skin handling yet, last first,
// then as BroadcastToSkinnedForms.
void BroadcastToApplicationForms(TMessage& Message);

// The steps of an animated skin change. They cover the forms of the
// manager's skin providers; without providers only the animating flag moves.
void PrepareFormsForSkinChange(TsSkinManager* Manager);
void LockFormsForSkinUpdate(TsSkinManager* Manager);
void UnlockFormsAfterSkinUpdate(TsSkinManager* Manager, int Mode);

// Value is one of Indexes[Low..High] (as far as the array goes).
bool IndexInSections(const int* Indexes, int Count, int Value, Byte Low, Byte High);

void sFormRegistry_Initialize();
void sFormRegistry_Finalize();
