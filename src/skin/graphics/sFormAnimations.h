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

// Shows the provider's form through a layered copy of its image. With a
// border form the copy is the border's layered window, left where it stands.
void ShowFormAnimated(TsSkinProvider* Provider, Word Duration, Byte FinalAlpha, TacAnimType Type);
// Hides the form behind a copy of its image that fades on the hide timer
// (the manager's form-hiding time and mode); returns at once.
void HideFormAnimated(TsSkinProvider* Provider);

// A dialog's child windows printed into Bmp at its client offsets (or, from
// the screen, its client area copied there); the painted part gets alpha 255.
void PaintDialogToBitmap(TacDialogWnd* Dlg, TBitmap* Bmp, bool FromScreen);
void ShowDialogAnimated(TacDialogWnd* Dlg, Word Duration, Byte FinalAlpha, TacAnimType Type);
// As HideFormAnimated, with the dialog-hiding settings and no event.
void HideDialogAnimated(TacDialogWnd* Dlg);

// Plays a control's change from the old skin's look to the new one: a form
// through layered copies (zooming or fading in), anything else by mixing the
// old screen image into the new one in an output window over it.
void AnimateSkinChange(TControl* Control, Word Duration, Byte FinalAlpha, bool Zoom);
// The weights of the old image in the mixed steps of that change over an
// output window (Steps = duration div 24): from 255 down while above 2.
std::vector<Byte> SkinChangeMixWeights(int Steps);

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
