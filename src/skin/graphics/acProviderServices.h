// What the window helpers, the form animations and the form registry need
// of the skin engine's form provider, the extended-border window, the dialog
// handlers, the glow effects, the alpha hints and the animation timer. The
// engine, the window handlers and the skinned components derive their real
// classes from these and fill in the operations; nothing here paints a form.
#pragma once

#include "ExtCtrls.h"
#include "acEngineServices.h"
#include "acntTypes.h"

class TacBorderForm;

enum TacAnimEvent { aeShowing, aeHiding, aeSkinChanging };
using TacAfterAnimation = std::function<void(TacAnimEvent AnimType)>;

// The skinned form's provider, answered by the form to command 4.
class TsSkinProvider : public TComponent {
public:
    using TComponent::TComponent;

    TCustomForm* Form = nullptr;
    TsCommonData* FCommonData = nullptr;
    TacBorderForm* BorderForm = nullptr;   // null without extended borders
    TacGlowForm* CoverForm = nullptr;      // a snapshot over the form, or null
    TBitmap* CoverBmp = nullptr;           // owned: the form before a skin change
    TRects Rects;                          // transparent corners of the form image
    Cardinal FFormState = 0;
    bool FSysExHeight = false;
    bool FInAnimation = false;
    bool FDrawNonClientArea = true;
    TacAfterAnimation OnAfterAnimation;

    Cardinal GetFormState() const { return FFormState; }
    // Applies changes of the bits 0x100 and 0x400, then stores the value.
    virtual void SetFormState(Cardinal Value) = 0;
    // Renders the whole form image into FCommonData->FCacheBmp.
    virtual void PaintAll() = 0;
    // A new 32-bit bitmap with the whole form painted; the caller owns it.
    virtual TBitmap* CreateFormBitmap(bool FreeCache) = 0;
    virtual void FindTransparentCorners() = 0;
    virtual void ApplyFormRegion(bool Redraw, bool NoRepaint) = 0;
    // A region of the form's size at (X, Y) minus Rects; the caller owns it.
    virtual HRGN BuildFormRegion(int X, int Y) = 0;
    virtual int SkinTitleHeight(bool Maximized) = 0;
    virtual int CaptionHeight(bool CheckSkin) = 0;
    virtual int OffsetX() = 0;
    virtual int OffsetY() = 0;
    virtual TRect ShadowSize() = 0;
};

// The title height the provider remembers for maximized forms.
extern int MaximizedTitleHeight;

// The layered extended-border window of a skinned form.
class TacBorderForm : public TObject {
public:
    TacGlowForm* AForm = nullptr;
    TWndMethod OldBorderProc;
    HWND ParentHandle = nullptr;
    bool ExBorderShowing = false;

    // A new layered window into AForm; the old one is not freed.
    virtual void CreateNewForm() = 0;
    virtual void PaintAll() = 0;
    // A new region; 0, 0 means the current size. The caller owns it.
    virtual HRGN MakeRgn(int NewWidth = 0, int NewHeight = 0) = 0;
    virtual void UpdateExBordersPos(bool Redraw, Byte Blend) = 0;
    virtual int OffsetY() = 0;
    virtual int SkinTitleHeight() = 0;
    virtual int SkinBorderWidth() = 0;
    virtual int ExtraTitleHeight() = 0;
};

// The handler behind a skinned window's procedure.
class TacMainWnd : public TObject {
public:
    virtual LRESULT ProcessMessage(UINT Msg, WPARAM WParam, LPARAM LParam) = 0;
};

class TacProvider;

// The handler of a skinned system dialog.
class TacDialogWnd : public TacMainWnd {
public:
    HWND CtrlHandle = nullptr;
    TacBorderForm* BorderForm = nullptr;
    TacGlowForm* CoverForm = nullptr;
    TsCommonData* SkinData = nullptr;
    TacProvider* Provider = nullptr;
    TRects ArOR;

    virtual void CalcTransparentRects() = 0;
    virtual int CaptionHeight(bool CheckSkin) = 0;
    virtual int OffsetX() = 0;
    virtual int OffsetY() = 0;
    virtual TRect ShadowSize() = 0;
    virtual void PaintAll() = 0;
    virtual void UpdateRegion(bool Repaint) = 0;
};

// Skins one foreign or system dialog; all of them are in DialogProviders.
class TacProvider : public TObject {
public:
    TacDialogWnd* ListSW = nullptr;
    // Every visible child window of Wnd, recursively, at its place in DC.
    virtual void PrintHwndControls(HWND Wnd, HDC DC) = 0;
};

// In creation order; the providers add and remove themselves.
extern std::vector<TacProvider*> DialogProviders;

// The library's alpha hints component, null while none exists.
class TsAlphaHints : public TComponent {
public:
    using TComponent::TComponent;
    virtual bool Active() const = 0;
    virtual THintWindow* HintWindow() const = 0;
    virtual void ShowHint(const TPoint& Position, const String& HintText, int HideTime) = 0;
};
extern TsAlphaHints* AlphaHints;

// Frees every glow effect (and its layered window when asked). The glow code
// puts its own routine here when it starts; without glows there is nothing
// to clear.
using TClearGlowEffects = void (*)(bool DestroyWnd);
extern TClearGlowEffects ClearGlowEffectsProc;
void ClearGlowEffects(bool DestroyWnd);
// Hides the glow ID (and sets it to -1); the glow code puts its own routine
// here when it starts.
using THideGlowEffect = void (*)(Integer& ID, bool Animate);
extern THideGlowEffect HideGlowEffectProc;

// Set by a skinned form on WM_QUERYENDSESSION: state changes then repaint at
// once instead of animating.
extern bool SystemShuttingDown;

// The section whose colours apply to content drawn on Control: the given
// one, or one the engine finds through the control's parent; negative for
// none. The engine puts its own routine here; until then the given section
// stands.
using TResolveParentSkinIndex = int (*)(TControl* Control, int SkinIndex, TsSkinManager* Manager, int State);
extern TResolveParentSkinIndex ResolveParentSkinIndexProc;
int ResolveParentSkinIndex(TControl* Control, int SkinIndex, TsSkinManager* Manager, int State);

// The skin manager's animation settings, one per kind of animation.
enum TacAnimKind { akFormShow, akFormHide, akDialogShow, akDialogHide, akSkinChanging };
struct TacAnimSetting {
    bool Active = false;
    Word Time = 0;        // milliseconds
    TacAnimType Mode = atFading;
};
// The engine puts its reader of a manager's settings here when it starts;
// until then (no manager can exist) every animation is off and takes no time.
using TReadAnimSetting = TacAnimSetting (*)(const TsSkinManager* Manager, TacAnimKind Kind);
extern TReadAnimSetting ReadAnimSettingProc;
TacAnimSetting ReadAnimSetting(const TsSkinManager* Manager, TacAnimKind Kind);

// A new layered window without owner over Wnd showing a snapshot of it; the
// caller owns it. The provider code puts its own routine here (it also
// clears the skin's transparent corners); until then the window shows what
// Wnd's window DC holds, fully opaque.
using TCreateSnapshotForm = TacGlowForm* (*)(HWND Wnd);
extern TCreateSnapshotForm CreateSnapshotFormProc;
TacGlowForm* CreateSnapshotForm(HWND Wnd);

// ---------------------------------------------------------------------------
// One animation step; Data is the animated control's TsCommonData. False ends
// the animation.
using TacAnimProc = bool (*)(TObject* Data, Integer Iteration);

// The animation step timer: one window timer of the class library, every
// step on the main thread. It ticks only while enabled with an interval
// above 0 and a handler or step function set. The state animations of the
// skinned components (acThdTimer) keep their levels and images here.
class TacThreadedTimer : public TComponent {
public:
    explicit TacThreadedTimer(TComponent* AOwner);
    // Disabled, FOwner set; with ChangeEvent each tick runs TimeHandler.
    struct OwnedTag {};
    TacThreadedTimer(OwnedTag, TComponent* AOwner, bool ChangeEvent);
    ~TacThreadedTimer() override;

    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool Value);
    Cardinal GetInterval() const { return interval_; }
    void SetInterval(Cardinal Value);
    const TNotifyEvent& GetOnTimer() const { return onTimer_; }
    void SetOnTimer(TNotifyEvent Value);
    TThreadPriority GetThreadPriority() const { return priority_; }
    void SetThreadPriority(TThreadPriority Value);

    // A new inner timer, armed as before.
    void Reset();
    // Prepares a state animation towards AState (0 normal, 1 hot, 2 other)
    // and enables the timer at 12 ms.
    void InitData(TObject* AData, Integer AIteration, TacAnimProc AAnimProc, Integer AState, bool AFast);
    // Runs the step function once (when enabled and not being destroyed); a
    // False answer disables the timer and makes it idle.
    virtual void TimeHandler();
    // DstBmp becomes a 32-bit bitmap of R's size holding R of SrcBmp.
    static void CopyFrom(TOwned<TBitmap>& DstBmp, TBitmap* SrcBmp, const TRect& R);

    bool Executing = false;
    bool InHandler = false;
    bool Destroyed = false;
    TComponent* FOwner = nullptr;
    double Glow = 0;
    double GlowStep = 0;
    double Value = 0;
    double ValueStep = 0;
    Integer State = -1;
    Integer OldState = -1;
    Integer IntState = -1;
    Integer Iteration = 0;
    Integer Iterations = 6;
    Integer ThreadType = 0;     // 0 a cross-fade, 1 a glow-only fade
    TOwned<TBitmap> BmpFrom;
    TOwned<TBitmap> BmpTo;
    TOwned<TBitmap> BmpOut;
    TRect AnimRect;
    TControl* AnimControl = nullptr;
    TObject* AnimData = nullptr;
    TacAnimProc AnimProc = nullptr;

private:
    void Rearm();
    // The inner timer's tick.
    void Tick();

    TOwned<TTimer> timer_;    // null when the application was terminating at creation
    TNotifyEvent onTimer_;
    Cardinal interval_ = 1000;
    TThreadPriority priority_ = tpNormal;
    bool enabled_ = true;
    // Set by the tick being served: a step that frees the timer clears it.
    bool* alive_ = nullptr;
};
