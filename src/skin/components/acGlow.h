// The hover glow: a skin image drawn into a 32-bit bitmap and shown in a
// borderless, layered, click-through window laid around a control. Glows
// live in one list and are addressed by their index there (the glow id);
// a hidden glow leaves an empty slot, so ids are never reused until
// ClearGlowEffects empties the list.
#pragma once

#include "acProviderServices.h"
#include <vector>

class TacGlowEffect : public TObject {
public:
    TacGlowEffect(TsSkinManager* AManager, TsCommonData* ASkinData);
    ~TacGlowEffect() override;

    // Shows the glow around RealRect (screen coordinates) at Alpha, placed
    // in z-order below the window above WndHandle; a second call does nothing.
    void Show(const TRect& R, const TRect& RealRect, Byte Alpha, HWND WndHandle);
    void CreateAlphaBmp(int Width, int Height);
    void NewWndProc(TMessage& Message);

    Integer Margin = 0;
    Integer MaskIndex = -1;
    TOwned<TacGlowForm> Wnd;
    TOwned<TBitmap> AlphaBmp;
    bool Destroyed = false;
    TWndMethod OldWndProc;
    TsSkinManager* SkinManager = nullptr;
    TsCommonData* SkinData = nullptr;
};

using TacGlowEffects = std::vector<TOwned<TacGlowEffect>>;
// The glow list; the id of a glow is its index.
const TacGlowEffects& GlowEffects();

// The glow id, or -1 (no layered windows, no skin data, the mouse captured,
// or no image Name + "0" in the section, or the control's own section).
Integer ShowGlowEffect(const TRect& R, const String& SkinSection, const String& Name, Integer Margin, Byte Alpha,
                       HWND WndHandle, TsCommonData* SkinData);
Integer ShowGlowEffectByMask(const TRect& R, const std::vector<Integer>& MaskIndexes, Integer Margin, Byte Alpha,
                             HWND WndHandle, TsCommonData* SkinData);
// With Animate the glow fades out on the control's timer first.
void HideGlowEffect(Integer& ID, bool Animate);
void SetGlowAlpha(Integer ID, Byte Alpha);
// ClearGlowEffects (acProviderServices.h) empties the list once this unit has started.

void acGlow_Initialize();
void acGlow_Finalize();
