// Ordinary forms shown as drop-down popups under (or above) a control, the
// way a combo box shows its list: borderless, top-most, never activated,
// with a soft shadow and an animated opening, closed by a click elsewhere,
// a switch to another application or another window taking the capture.
#pragma once

#include "acProviderServices.h"
#include <vector>

class TsPopupController;

// The shadow around a popup: a click-through layered window kept directly
// below it, following it through the popup's own window method.
class TacShadowForm : public TacGlowForm {
public:
    // AOwner is the popup form.
    TacShadowForm(TCustomForm* AOwner, int Dummy);
    void AfterConstruction() override;

    // The margins of the shadow around the popup.
    TRect ShadowSize() const;
    TBitmap* ShadowTemplate() const;
    void SetNewPos(int aLeft, int aTop, int aWidth, int aHeight, Byte BlendValue);
    void UpdateShadowPos();
    void HideWnd();
    // Gives the popup its window method back and frees this window later.
    void KillShadow();
    void NewWndProc(TMessage& Message);

    TsCommonData* sd = nullptr;
    TCustomForm* FOwnerForm = nullptr;
    bool FDestroyed = false;
    TWndMethod OldWndProc;
    bool Locked = false;

private:
    TsSkinManager* Manager() const;
};

class TacFormHandler : public TObject {
public:
    TacFormHandler(TsPopupController* AController, TCustomForm* Form, TWinControl* Control);
    ~TacFormHandler() override;

    void FormWndProc(TMessage& Message);
    void CtrlWndProc(TMessage& Message);
    void CheckTimerProc(TObject* Sender);
    void DoClose(bool Hide);
    void Unhook();

    TsPopupController* Controller = nullptr;
    TCustomForm* PopupForm = nullptr;
    TWinControl* PopupCtrl = nullptr;
    TCustomForm* ParentForm = nullptr;
    TWinControl* ClientCtrl = nullptr;
    TWndMethod FormWndProcSaved;
    TWndMethod CtrlWndProcSaved;
    bool Initialized = false;
    bool ClosingForbidden = false;
    bool Closed = false;
    TOwned<TacThreadedTimer> CheckTimer;
    TCloseEvent OldOnClose;
    bool OldOnCloseSaved = false;
    HWND CaptureHandle = nullptr;
    TacShadowForm* ShadowForm = nullptr;
};

class TsPopupController : public TComponent {
public:
    explicit TsPopupController(TComponent* AOwner);
    ~TsPopupController() override;

    // ALeft and ATop -1: under the control. Animated is not used: the
    // opening follows the skin's settings.
    void ShowForm(TCustomForm* AForm, TWinControl* AOwnerControl, int ALeft = -1, int ATop = -1,
                  bool Animated = true);
    void ShowFormPos(TCustomForm* AForm, TPoint ALeftTop, bool Animated = true);
    void AnimShowPopup(TCustomForm* aForm, int wTime, Byte BlendValue);
    void KillAllForms(TControl* ExceptChild = nullptr);
    int PopupCount(TCustomForm* ExceptForm) const;
    int PopuChildCount(TCustomForm* ExceptForm) const;
    int GetFormIndex(TCustomForm* Form) const;
    bool HasChild(TCustomForm* Parent) const;
    void ClosingForbide(TCustomForm* AForm);
    void ClosingAllow(TCustomForm* AForm);

    // Owned; a slot becomes null when its control is destroyed.
    std::vector<TacFormHandler*> FormHandlers;
    // Bit 0: opened upward; bit 1: shifted left.
    Integer AnimDirection = 0;
    bool SkipOpen = false;
    bool MousePressed = false;
    bool IgnoreCapture = false;

private:
    friend class TacFormHandler;
    TacFormHandler* PrepareHandler(TCustomForm* AForm, TWinControl* Control);
    void PlaceAndShow(TCustomForm* AForm, TacFormHandler* Handler, bool Animate, Byte Alpha, TsSkinProvider* Provider);
    void FreeHandler(TacFormHandler* Handler);
};

// Null unless the application keeps a controller here; freed at unit end.
extern TsPopupController* PopupController;
// 35 x 45, made at start-up.
extern TBitmap* DefaultPopupShadow;

// The bounds a popup's opening frame tells its shadow (SKC_POPUP_ANIM_BOUNDS).
struct TacPopupAnimBounds {
    Integer Left, Top, Width, Height;
    Byte Alpha;
};

void acPopupController_Initialize();
void acPopupController_Finalize();
