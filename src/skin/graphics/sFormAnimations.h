// Forms shown and hidden through a layered copy of their image: the frame
// geometry of the showing animations, the animated show of a skinned form,
// and the hiding animation that steps on a timer while messages flow.
#pragma once

#include "acProviderServices.h"

// True while an animation of this unit runs; the library skips broadcasts meanwhile.
extern bool AnimationRunning;

// One frame of a showing animation: the image stretched into Rect (or
// copied whole when Whole), shown at Opacity.
struct TShowFrame {
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
    Byte Opacity = 0;
    bool Whole = false;
};
// The frames of a showing animation of a W x H image over Frames steps
// (duration div 12); the opacity step is FinalAlpha / Frames, or
// FinalAlpha / (Frames + 1) for dialogs. Empty for no frames.
std::vector<TShowFrame> ShowAnimationFrames(TacAnimType Type, int Width, int Height, int Frames, Byte FinalAlpha,
                                            bool Dialog);

// Shows the provider's form through a layered copy of its image.
void ShowFormAnimated(TsSkinProvider* Provider, Word Duration, Byte FinalAlpha, TacAnimType Type);

// Steps a hiding animation on the library's timer.
class TacHideTimer : public TacThreadedTimer {
public:
    explicit TacHideTimer(TComponent* AOwner);
    ~TacHideTimer() override;

    HWND ParentWnd = nullptr;          // the form being hidden; 0 for dialogs (no event)
    TacGlowForm* Form = nullptr;       // the copy window, owned
    TBitmap* SrcBmp = nullptr;         // the image, owned
    TBitmap* DstBmp = nullptr;         // the frame, owned
    SIZE FBmpSize{};
    BLENDFUNCTION FBlend{};
    double Trans = 0, p = 0, dx = 0, dy = 0, l = 0, t = 0, r = 0, b = 0;
    int i = 0;
    int StartBlendValue = 255;
    int StepCount = 0;
    TacAnimType AnimType = atFading;
    bool EventCalled = false;

    void Anim_Init();
    void Anim_DoNext();
    bool Anim_GoToNext();
    // Once per animation, with a parent window: the provider's OnAfterAnimation(aeHiding).
    void CallEvent();
    void OnTimerProc(TObject* Sender);
    // Ends a running animation at once: event, copy window and bitmaps.
    void Finish();
};

// Created on first use with the application as owner.
extern TacHideTimer* HideAnimationTimer;

// Takes over the copy window and the image; with no steps both are freed at once.
void RunHideAnimation(TacGlowForm* Window, TBitmap* Image, Word Duration, HWND ParentWnd, TacAnimType Type,
                      Byte StartAlpha);
