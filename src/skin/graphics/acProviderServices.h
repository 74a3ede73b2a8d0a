// What the window helpers, the form animations and the form registry need
// of the skin engine's form provider, the extended-border window, the dialog
// handlers, the glow effects, the alpha hints and the animation timer. The
// engine, the window handlers and the skinned components derive their real
// classes from these and fill in the operations; nothing here paints a form.
#pragma once

#include "ExtCtrls.h"
#include "acEngineServices.h"
#include "acntTypes.h"
#include <memory>

class TacBorderForm;
class TacMainWnd;

enum TacAnimEvent { aeShowing, aeHiding, aeSkinChanging };
using TacAfterAnimation = std::function<void(TacAnimEvent AnimType)>;

// A caption button of a skinned form: -1 hidden, 0 normal, 1 hot, 2 pressed.
struct TsCaptionButton {
    Integer cpState = -1;
    Integer cpGlowID = -1;
    TRect cpRect;
    Cardinal cpHitCode = 0;
    TObject* cpTimer = nullptr;   // its fade, owned
    bool cpHaveAlignment = false;
    Integer cpGlyphType = 0;
};

enum TsGripMode { gmNone, gmRightBottom };
enum TsResizeMode { rmStandard, rmBorder };

// The extra text of a form's title.
class TacAddedTitle : public TPersistent {
public:
    TacAddedTitle();
    ~TacAddedTitle() override;
    TFont* Font = nullptr;        // owned
    String Text;
    bool ShowMainCaption = true;
};

// An extra band under a form's title.
class TacFormHeader : public TPersistent {
public:
    Integer AdditionalHeight = 0;
};

// The skinned form's provider, answered by the form to command 4. The skin
// engine builds it (src/skin/engine/sSkinProvider*.cpp): created on a form it
// takes over the form's window procedure until it is freed.
class TsSkinProvider : public TComponent {
public:
    // Hooks AOwner, which must be a form; any other owner gets an alert and a
    // provider that does nothing.
    explicit TsSkinProvider(TComponent* AOwner);
    // A provider that hooks nothing and owns nothing: its user sets Form and
    // FCommonData and paints its own picture.
    struct BareTag {};
    static constexpr BareTag Bare{};
    TsSkinProvider(BareTag, TComponent* AOwner);
    ~TsSkinProvider() override;
    void AfterConstruction() override;

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
    TacMainWnd* ListSW = nullptr;          // the form's scroll-bar handler, or null

    Cardinal GetFormState() const { return FFormState; }
    // Applies changes of the bits 0x100 and 0x400, then stores the value.
    virtual void SetFormState(Cardinal Value);
    // Renders the whole form image into FCommonData->FCacheBmp.
    virtual void PaintAll();
    // A new 32-bit bitmap with the whole form painted; the caller owns it.
    virtual TBitmap* CreateFormBitmap(bool FreeCache);
    virtual void FindTransparentCorners();
    // Direct: SetWindowRgn with Redraw only; else also a frame repaint.
    virtual void ApplyFormRegion(bool Redraw, bool Direct);
    // A region of the form's size at (X, Y) minus Rects; the caller owns it.
    virtual HRGN BuildFormRegion(int X, int Y);
    virtual int SkinTitleHeight(bool Maximized);
    virtual int CaptionHeight(bool CheckSkin);
    virtual int OffsetX();
    virtual int OffsetY();
    virtual TRect ShadowSize();

    // --- Metrics (sSkinProviderMetrics.cpp) ------------------------------
    int BorderWidth(bool CheckSkin = true);
    int BorderHeight(bool CheckSkin = true);
    bool HasMainMenuLine();
    bool HasBorder();
    bool HasSizeFrame();
    bool GripVisible();
    bool ExtBordersAllowed();
    bool GetFInAnimation() const { return FInAnimation; }
    int TitleIconWidth();
    int TitleIconHeight();
    int TitleButtonHeight();
    int CaptionButtonWidth(const TsCaptionButton& Button);
    int TitleBarMaskWidth(Integer ImageIndex);
    int ExtraHeaderHeight(bool Maximized);
    int HeaderHeight();
    int CaptionWidth();
    TPoint GripPosition(Integer ImageIndex);
    bool CacheSizeChanged();
    TColor FormColor();
    // Whether the frame is drawn from the skin (the dispatch's test).
    bool NonClientSkinned();
    // The caption icon is shown.
    bool IconVisible();
    // Menu lines of the form's main menu, and their height.
    int MenuLines();
    int MenuHeight();

    // --- Creation and the hook (sSkinProvider.cpp) -------------------------
    void NewWndProc(TMessage& Message);
    void LoadThirdLists();
    void SaveThirdLists();
    void NotifySkinEditor(HWND Wnd);
    void UpdateScrollHandler();
    // Form preparation: completed with the form preparation of the engine.
    void PrepareForm();
    void KillAnimations();
    bool GetAllowExtBorders() const { return FAllowExtBorders; }
    // Index 0 AllowExtBorders, 1 DrawNonClientArea, 2 ShowAppIcon, 3 UseGlobalColor.
    void SetBoolProp(int Index, bool Value);
    // Index 0 TitleSkin, 1 MenuLineSkin.
    void SetStringProp(int Index, const String& Value);
    TsResizeMode GetResizeMode() const { return FResizeMode; }
    void SetResizeMode(TsResizeMode Value);
    TsGripMode GetGripMode() const { return FGripMode; }
    void SetGripMode(TsGripMode Value) { FGripMode = Value; }

    // Published switches.
    bool FAllowAnimation = true;
    bool FAllowBlendOnMoving = true;
    bool FAllowSkin3rdParty = true;
    bool FDrawClientArea = true;
    bool FMakeSkinMenu = false;
    bool FScreenSnap = false;
    bool FDisabledBlured = false;
    bool FAllowExtBorders = true;
    bool FShowAppIcon = true;
    bool FUseGlobalColor = true;
    String FTitleSkin;
    String FMenuLineSkin;
    TAlignment FCaptionAlignment = taLeftJustify;
    Byte FDisabledBlendValue = 255;
    TColor FDisabledBlendColor = 0;
    Integer FSnapBuffer = 10;
    TsGripMode FGripMode = gmNone;
    TsResizeMode FResizeMode = rmStandard;
    TacAddedTitle* FAddedTitle = nullptr;   // owned; null on a provider that was not built
    TacFormHeader* FFormHeader = nullptr;   // owned
    TPersistent* FThirdParty = nullptr;     // owned TsThirdPartyList
    TStringList* FGluedForms = nullptr;     // owned
    TPersistent* FTitleIcon = nullptr;      // owned
    TPersistent* FTitleButtons = nullptr;   // owned
    TPersistent* FSysSubMenu = nullptr;     // owned

    // State.
    bool FirstInitialized = false;
    bool bCapture = false;
    bool DoReinit = false;
    bool RgnChanged = true;
    bool bInProcess = false;
    bool MaxRestore = false;
    bool ClearButtons = false;
    bool OwnThirdLists = false;
    bool FMenuOwnerDraw = false;
    bool MenusInitialized = false;
    bool RTInit = false;
    bool RTEmpty = false;
    bool InAero = false;
    bool InMenu = false;
    bool AllowScale = true;
    bool biClicked = false;
    bool fAnimating = false;
    bool FormActive = false;
    bool MenuChanged = true;
    bool RgnChanging = false;
    bool RightPressed = false;
    bool SkipAnimation = false;
    Integer LockCount = 0;
    Integer FLinesCount = -1;
    Integer FHeaderIndex = -1;
    Integer FHeaderHeight = 0;
    Integer FTitleSkinIndex = -1;
    Integer FCaptionSkinIndex = -1;
    Integer CurrentHT = 0;
    TBitmap* FGlow1 = nullptr;              // owned
    TBitmap* FGlow2 = nullptr;              // owned
    TBitmap* TempBmp = nullptr;             // owned
    TBitmap* MenuLineBmp = nullptr;         // owned
    TsCaptionButton MDIMin, MDIMax, ButtonMin, ButtonMax, ButtonHelp, ButtonClose, MDIClose;
    TacGlowForm* CaptForm = nullptr;        // owned
    TacGlowForm* LayerForm = nullptr;       // owned
    TObject* FormTimer = nullptr;           // owned TacThreadedTimer
    TObject* SystemMenu = nullptr;          // owned
    TObject* Adapter = nullptr;             // owned
    std::vector<TStringList*> ThirdLists;   // 23, owned
    TWndMethod OldWndProc;                  // the form's procedure before the hook

private:
    // Set while the form's procedure is this provider's NewWndProc.
    bool hooked_ = false;
    bool ownsCommonData_ = false;
    std::shared_ptr<void> hookLink_;
    // Placed in the form's procedure when someone hooked it after us: it
    // passes on to the old procedure, never into the freed provider.
    struct THookForwarder;
    friend struct THookForwarder;
};

// The provider that hooks a form: null for a form without one.
TsSkinProvider* GetOwnerSkinProvider(TComponent* Component);
// Depth-first: the windowed control with a handle whose dialog id is ID.
TComponent* FindComponentByCtrlID(Integer ID, TComponent* Component);
// The program was started as a skin editor's preview; the form announced.
extern bool PreviewMode;
extern HWND PreviewWnd;

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
    // The manager of the skinned form it surrounds, null for none.
    virtual TsSkinManager* SkinManager() { return nullptr; }
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
// Shows a glow (see ShowGlowEffect of the glow code) and answers its id or
// -1; null until the glow code starts.
using TShowGlowEffect = Integer (*)(const TRect& R, const String& SkinSection, const String& Name, Integer Margin,
                                    Byte Alpha, HWND WndHandle, TsCommonData* SkinData);
extern TShowGlowEffect ShowGlowEffectProc;
// Starts the glow-only fade-in of the control's shown glow; null until the
// animation code starts.
using TStartGlowFade = void (*)(TsCommonData* SkinData);
extern TStartGlowFade StartGlowFadeProc;

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
