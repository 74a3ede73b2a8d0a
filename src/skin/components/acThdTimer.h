// State animations of skinned controls: a change from one paint state to
// another (normal to hot and back) cross-fades the control's old image into
// its new one on TacThreadedTimer ticks of 12 ms, and fades its glow.
#pragma once

#include "acProviderServices.h"

// The steps left of the running animation, or 0 for a timer made now
// (owned by Owner; at full level for a change back to normal).
Integer PrepareAnimTimer(TacThreadedTimer*& Timer, TComponent* Owner, Integer NewState);
// The caller has already changed the control's state, so that rebuilding its
// cache shows the new one.
void AnimateStateChange(TsCommonData* SkinData, Integer NewState, TacAnimProc AnimProc, bool AllowAnimation,
                        bool Fast, bool ShowGlow);
void StartStateAnimation(TsCommonData* SkinData, Integer NewState, TacAnimProc AnimProc, bool Fast);
// One cross-fade frame painted into the control's window DC.
bool CrossFadeStep(TObject* Data, Integer Iteration);
// One frame of a glow-only fade.
bool GlowFadeStep(TObject* Data, Integer Iteration);
// Shows the control's glow around it at Alpha when its section has one and
// none is shown yet (the glow of the hover handling, without its checks of
// the mouse).
void ShowControlGlow(TsCommonData* SkinData, Byte Alpha);
