#include "acPopupController.h"
#include "Forms.h"
#include "PlatformProbe.h"
#include "ScopeExit.h"
#include "acShadow.h"
#include "acntUtils.h"
#include "sFormAnimations.h"
#include "sGraphUtils.h"
#include "sMessages.h"
#include "sSkinManager.h"
#include "sSkinProvider.h"
#include "sSkinSection.h"
#include "sVclUtils.h"
#include "sWindowHelpers.h"
#include <algorithm>

TsPopupController* PopupController = nullptr;
TBitmap* DefaultPopupShadow = nullptr;

namespace {

int initCount = 0;
constexpr UINT TopMostFlags = SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE |
                              SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;   // 0x65B
constexpr int FrameTime = 12;
// The closing redraw of an opening gives up after this many refusals.
constexpr int RedrawTries = 10;

bool ApplicationActive()
{
    DWORD process = 0;
    GetWindowThreadProcessId(GetForegroundWindow(), &process);
    return process == GetCurrentProcessId();
}

Byte FormAlpha(TCustomForm* Form) { return Form->GetAlphaBlend() ? Form->GetAlphaBlendValue() : 255; }

bool AnimationAllowed()
{
    return DefaultManager && DefaultManager->GetActive() && DefaultManager->Effects() &&
           DefaultManager->Effects()->AllowAnimation;
}

// Handlers whose control went: freed on a zero-time thread timer, once the
// hook that found the control going has returned.
std::vector<std::pair<UINT_PTR, TacFormHandler*>> pendingFrees;

VOID CALLBACK FreePendingHandler(HWND, UINT, UINT_PTR ID, DWORD)
{
    KillTimer(nullptr, ID);
    for (auto it = pendingFrees.begin(); it != pendingFrees.end(); ++it)
        if (it->first == ID) {
            TacFormHandler* handler = it->second;
            pendingFrees.erase(it);
            handler->Free();
            return;
        }
}

// Visible := True without the activation a form's showing brings.
void ShowWithoutActivation(TCustomForm* Form)
{
    HWND wnd = Form->GetHandle();
    const LONG_PTR exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, exStyle | WS_EX_NOACTIVATE);
    const TScopeExit restore([&] {
        if (!(exStyle & WS_EX_NOACTIVATE))
            SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) & ~WS_EX_NOACTIVATE);
    });
    Form->SetVisible(true);
}

void ClearBitmap(TBitmap* Bmp)
{
    for (int y = 0; y < Bmp->GetHeight(); ++y)
        std::fill_n(static_cast<Cardinal*>(Bmp->GetScanLine(y)), Bmp->GetWidth(), 0u);
}

void SetOpaque(TBitmap* Bmp)
{
    for (int y = 0; y < Bmp->GetHeight(); ++y) {
        auto* row = static_cast<Cardinal*>(Bmp->GetScanLine(y));
        for (int x = 0; x < Bmp->GetWidth(); ++x)
            row[x] |= 0xFF000000u;
    }
}

} // namespace

// ---------------------------------------------------------------------------
TacShadowForm::TacShadowForm(TCustomForm* AOwner, int) : TacGlowForm(AOwner), FOwnerForm(AOwner) {}

void TacShadowForm::AfterConstruction()
{
    TacGlowForm::AfterConstruction();
    SetTag(NoSkinTag);
    TransparentMouse = true;
    if (!FOwnerForm)
        return;
    OldWndProc = FOwnerForm->WindowProc;
    FOwnerForm->WindowProc = [this](TMessage& M) { NewWndProc(M); };
    if (FOwnerForm->HandleAllocated())
        sd = GetWndSkinData(FOwnerForm->GetHandle());
    if (sd)
        sd->WndProc = FOwnerForm->WindowProc;
}

TsSkinManager* TacShadowForm::Manager() const
{
    if (sd && sd->GetSkinManager())
        return sd->GetSkinManager();
    return DefaultManager;
}

TRect TacShadowForm::ShadowSize() const
{
    TsSkinManager* manager = Manager();
    if (manager && manager->GetActive() && manager->CommonSkinData.Active) {
        const TsSkinData& data = manager->CommonSkinData;
        return {data.WndShadowSize, std::max(0, data.WndShadowSize - data.WndShadowOffset), data.WndShadowSize,
                std::max(0, data.WndShadowSize + data.WndShadowOffset)};
    }
    return {13, 13, 13, 13};
}

TBitmap* TacShadowForm::ShadowTemplate() const
{
    TsSkinManager* manager = Manager();
    if (manager && manager->GetActive() && manager->CommonSkinData.Active)
        if (TBitmap* passive = manager->CommonSkinData.GetPassiveShadow())
            return passive;
    return DefaultPopupShadow;
}

void TacShadowForm::SetNewPos(int aLeft, int aTop, int aWidth, int aHeight, Byte BlendValue)
{
    TBitmap* shadow = ShadowTemplate();
    if (FDestroyed || !shadow)
        return;
    const TRect s = ShadowSize();
    TOwned<TBitmap> bmp(MakeBitmap32(aWidth + s.left + s.right, aHeight + s.top + s.bottom));
    ClearBitmap(bmp.get());
    const int w = shadow->GetWidth(), h = shadow->GetHeight();
    const TRect margins((w - 1) / 2, (h - 1) / 2, (w - 1) / 2, (h - 1) / 2);
    PaintBitmapByMargins(bmp.get(), shadow, TRect(0, 0, bmp->GetWidth(), bmp->GetHeight()), TRect(0, 0, w, h),
                         margins, s, TRect(1, 1, 1, 1), false, false);
    const TPoint at(aLeft - s.left, aTop - s.top);
    PaintLayeredWindow(GetHandle(), bmp.get(), BlendValue, &at);
    SetWindowPos(GetHandle(), FOwnerForm ? FOwnerForm->GetHandle() : HWND_TOP, at.x, at.y, bmp->GetWidth(),
                 bmp->GetHeight(), SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
}

void TacShadowForm::UpdateShadowPos()
{
    if (Locked || !FOwnerForm || !FOwnerForm->HandleAllocated() || !IsWindowVisible(FOwnerForm->GetHandle()))
        return;
    RECT r;
    GetWindowRect(FOwnerForm->GetHandle(), &r);
    SetNewPos(r.left, r.top, FOwnerForm->GetWidth(), FOwnerForm->GetHeight(), FormAlpha(FOwnerForm));
}

void TacShadowForm::HideWnd()
{
    if (HandleAllocated())
        ShowWindow(GetHandle(), SW_HIDE);
    Locked = true;
}

void TacShadowForm::KillShadow()
{
    if (FDestroyed)
        return;
    FDestroyed = true;
    if (FOwnerForm) {
        FOwnerForm->WindowProc = OldWndProc;
        if (sd)
            sd->WndProc = OldWndProc;
    }
    FOwnerForm = nullptr;
    HideWnd();
    Release();
}

void TacShadowForm::NewWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CLOSE:
        HideWnd();
        break;
    case WM_SHOWWINDOW:
        if (Message.WParam == 0)
            HideWnd();
        break;
    case SkinCommandMessage:
        if (HIWORD(Message.WParam) == SKC_POPUP_ANIM_BOUNDS && Message.LParam) {
            const auto* bounds = reinterpret_cast<const TacPopupAnimBounds*>(Message.LParam);
            Locked = false;
            if (bounds->Height > 0)
                SetNewPos(bounds->Left, bounds->Top, bounds->Width, bounds->Height, bounds->Alpha);
            Message.Result = 1;
            return;
        }
        break;
    }
    TWndMethod saved = OldWndProc;
    if (saved)
        saved(Message);
    switch (Message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
        if (FDestroyed)
            break;
        if (!Locked && (!FOwnerForm || !FOwnerForm->HandleAllocated() || !IsWindowVisible(FOwnerForm->GetHandle())))
            HideWnd();
        else
            UpdateShadowPos();
        break;
    }
}

// ---------------------------------------------------------------------------
TacFormHandler::TacFormHandler(TsPopupController* AController, TCustomForm* Form, TWinControl* Control)
    : Controller(AController), PopupForm(Form), PopupCtrl(Control)
{
    if (TsSkinProvider* provider = GetOwnerSkinProvider(Form))
        FreeAndNil(provider->ListSW);
    FormWndProcSaved = Form->WindowProc;
    Form->WindowProc = [this](TMessage& M) { FormWndProc(M); };
    if (Form->HandleAllocated())
        if (TsCommonData* data = GetWndSkinData(Form->GetHandle()))
            data->WndProc = Form->WindowProc;
    if (Control) {
        CtrlWndProcSaved = Control->WindowProc;
        Control->WindowProc = [this](TMessage& M) { CtrlWndProc(M); };
        ParentForm = dynamic_cast<TCustomForm*>(GetParentForm(Control));
    }
    Initialized = true;
}

TacFormHandler::~TacFormHandler()
{
    Unhook();
    if (ShadowForm)
        ShadowForm->KillShadow();
}

void TacFormHandler::FormWndProc(TMessage& Message)
{
    TWndMethod saved = FormWndProcSaved;
    switch (Message.Msg) {
    case WM_DESTROY:
        if (saved)
            saved(Message);
        Unhook();
        return;
    case WM_MOUSEACTIVATE:
        if (saved)
            saved(Message);
        Message.Result = MA_NOACTIVATE;
        return;
    case WM_WINDOWPOSCHANGING: {
        if (saved)
            saved(Message);
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
        if (pos && pos->flags == (SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE) && PopupForm &&
            pos->hwnd != PopupForm->GetHandle())
            DoClose(true);
        return;
    }
    case SkinCommandMessage:
        if (HIWORD(Message.WParam) == SKC_SKIN_REMOVED) {
            if (saved)
                saved(Message);
            Unhook();
            return;
        }
        break;
    }
    if (saved)
        saved(Message);
}

void TacFormHandler::CtrlWndProc(TMessage& Message)
{
    TWndMethod saved = CtrlWndProcSaved;
    switch (Message.Msg) {
    case WM_DESTROY: {
        if (ShadowForm) {
            ShadowForm->KillShadow();
            ShadowForm = nullptr;
        }
        if (saved)
            saved(Message);
        Unhook();
        // The handler goes once the hook has returned.
        TsPopupController* controller = Controller;
        for (auto& slot : controller->FormHandlers)
            if (slot == this) {
                slot = nullptr;
                if (CheckTimer)
                    CheckTimer->SetEnabled(false);
                if (const UINT_PTR id = SetTimer(nullptr, 0, 0, FreePendingHandler))
                    pendingFrees.emplace_back(id, this);
            }
        return;
    }
    case WM_MOUSEWHEEL:
        if (PopupForm) {
            PopupForm->DefaultHandler(Message);
            return;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case CM_CANCELMODE:
    case CM_FOCUSCHANGED:
        if (!Closed && PopupForm) {
            DoClose(true);
            return;
        }
        break;
    }
    if (saved)
        saved(Message);
}

void TacFormHandler::CheckTimerProc(TObject*)
{
    if (!PopupForm || Controller->MousePressed)
        return;
    if (!ApplicationActive()) {
        DoClose(true);
        return;
    }
    HWND capture = GetCapture();
    if (!capture || capture == CaptureHandle || IsSameOrChildWindow(capture, PopupForm->GetHandle()) ||
        (PopupCtrl && PopupCtrl->HandleAllocated() && IsSameOrChildWindow(capture, PopupCtrl->GetHandle())) ||
        Controller->HasChild(PopupForm))
        return;
    DoClose(true);
}

void TacFormHandler::DoClose(bool Hide)
{
    if (CheckTimer)
        CheckTimer->SetEnabled(false);
    if (Closed || ClosingForbidden || !PopupForm || !PopupForm->CloseQuery())
        return;
    Closed = true;
    TCloseAction action = caHide;
    TCustomForm* form = PopupForm;
    if (OldOnClose)
        OldOnClose(form, action);
    if (action == caNone) {
        Closed = false;
        return;
    }
    if (PopupCtrl && PopupCtrl->HandleAllocated())
        SendWndCommand(PopupCtrl->GetHandle(), SKC_POPUP_FORM, reinterpret_cast<LPARAM>(form));
    TCustomForm* parent = ParentForm;
    Unhook();
    if (Hide) {
        if (action == caHide)
            form->Hide();
        else if (action == caFree)
            form->Release();
    }
    if (!ApplicationActive() && parent && parent->HandleAllocated())
        SendMessageW(parent->GetHandle(), WM_NCACTIVATE, 0, 0);
}

void TacFormHandler::Unhook()
{
    if (!Initialized)
        return;
    Initialized = false;
    if (ShadowForm) {
        ShadowForm->KillShadow();
        ShadowForm = nullptr;
    }
    if (PopupForm) {
        PopupForm->WindowProc = FormWndProcSaved;
        if (PopupForm->HandleAllocated())
            if (TsCommonData* data = GetWndSkinData(PopupForm->GetHandle()))
                data->WndProc = FormWndProcSaved;
        PopupForm->OnDeactivate = nullptr;
        PopupForm->OnClose = OldOnClose;
    }
    if (PopupCtrl && CtrlWndProcSaved)
        PopupCtrl->WindowProc = CtrlWndProcSaved;
    PopupForm = nullptr;
    PopupCtrl = nullptr;
}

// ---------------------------------------------------------------------------
TsPopupController::TsPopupController(TComponent* AOwner) : TComponent(AOwner) {}

TsPopupController::~TsPopupController()
{
    for (TacFormHandler* handler : FormHandlers)
        FreeHandler(handler);
    FormHandlers.clear();
}

void TsPopupController::FreeHandler(TacFormHandler* Handler)
{
    if (Handler)
        Handler->Free();
}

TacFormHandler* TsPopupController::PrepareHandler(TCustomForm* AForm, TWinControl* Control)
{
    TacFormHandler* handler = nullptr;
    const int index = GetFormIndex(AForm);
    if (index >= 0) {
        handler = FormHandlers[index];
    } else {
        handler = New<TacFormHandler>(this, AForm, Control);
        FormHandlers.push_back(handler);
    }
    AForm->OnDeactivate = [handler](TObject*) { handler->DoClose(true); };
    if (!handler->OldOnCloseSaved) {
        handler->OldOnClose = AForm->OnClose;
        handler->OldOnCloseSaved = true;
    }
    AForm->OnClose = [handler](TObject*, TCloseAction&) { handler->DoClose(false); };
    handler->Closed = false;
    if (!handler->ShadowForm) {
        handler->ShadowForm = New<TacShadowForm>(AForm, 0);
        handler->ShadowForm->Locked = true;
    }
    handler->CaptureHandle = IgnoreCapture ? nullptr : GetCapture();
    if (!handler->CheckTimer) {
        handler->CheckTimer.reset(New<TacThreadedTimer>(nullptr));
        handler->CheckTimer->SetInterval(100);
        handler->CheckTimer->SetOnTimer([handler](TObject* Sender) { handler->CheckTimerProc(Sender); });
    }
    handler->CheckTimer->SetEnabled(true);
    return handler;
}

void TsPopupController::PlaceAndShow(TCustomForm* AForm, TacFormHandler* Handler, bool Animate, Byte Alpha,
                                     TsSkinProvider* Provider)
{
    HWND wnd = AForm->GetHandle();
    SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, TopMostFlags);
    ShowWithoutActivation(AForm);
    if (Animate) {
        AnimShowPopup(AForm, 80, Alpha);
    } else {
        SetWindowLayered(wnd, false, 255);
        RefreshChildControls(AForm);
        if (Provider && Provider->FCommonData && Provider->FCommonData->Skinned())
            SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, TopMostFlags);
        else
            ShowWindow(wnd, SW_SHOWNOACTIVATE);
        if (Handler->ShadowForm)
            Handler->ShadowForm->Locked = false;
    }
}

void TsPopupController::ShowForm(TCustomForm* AForm, TWinControl* AOwnerControl, int ALeft, int ATop, bool)
{
    const TScopeExit clearSkip([this] { SkipOpen = false; });
    if (!AForm || !AOwnerControl || SkipOpen)
        return;
    TsSkinProvider* provider = GetOwnerSkinProvider(AForm);
    bool animate = AnimationAllowed();
    if (provider) {
        animate = animate && provider->FAllowAnimation;
        provider->FAllowAnimation = false;
    }
    AForm->Hide();
    AForm->SetPosition(poDesigned);
    const Byte alpha = FormAlpha(AForm);
    if (AForm->GetBorderStyle() != bsNone) {
        const int caption = GetSysCaptionHeight(AForm);
        AForm->SetBorderStyle(bsNone);
        AForm->SetHeight(AForm->GetHeight() - caption);
    }
    TacFormHandler* handler = PrepareHandler(AForm, AOwnerControl);
    HWND wnd = AForm->GetHandle();
    SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_POPUP | WS_CLIPSIBLINGS);
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowLayered(wnd, true, 1);
    if (DefaultManager && (!provider || provider->AllowScale))
        DefaultManager->UpdateScale(AForm, 100);

    RECT c;
    GetWindowRect(AOwnerControl->GetHandle(), &c);
    TRect wa;
    GetWorkAreaAt(TPoint(c.left, c.top), wa);
    int left = ALeft, top = ATop;
    if (ALeft == -1 && ATop == -1) {
        left = c.left;
        top = c.bottom - 2;
    }
    AnimDirection = 0;
    if (top + AForm->GetHeight() > wa.bottom) {
        top = std::max<int>(wa.top, c.top - 1 - AForm->GetClientHeight());
        AnimDirection = 1;
    }
    if (left + AForm->GetWidth() > wa.right) {
        left = wa.right - AForm->GetClientWidth();
        AnimDirection |= 2;
    }
    AForm->SetBounds(left, top, AForm->GetWidth(), AForm->GetHeight());
    if (TCustomForm* parent = GetParentForm(AOwnerControl); parent && parent->GetFormStyle() == fsStayOnTop)
        AForm->SetFormStyle(fsStayOnTop);
    PlaceAndShow(AForm, handler, animate, alpha, provider);
    if (provider)
        provider->FAllowAnimation = animate;
    if (handler->ShadowForm && !handler->ShadowForm->FDestroyed)
        handler->ShadowForm->UpdateShadowPos();
}

void TsPopupController::ShowFormPos(TCustomForm* AForm, TPoint ALeftTop, bool)
{
    const TScopeExit clearSkip([this] { SkipOpen = false; });
    if (!AForm || SkipOpen)
        return;
    TsSkinProvider* provider = GetOwnerSkinProvider(AForm);
    const bool savedAnimation = provider ? provider->FAllowAnimation : false;
    const TScopeExit restore([&] {
        if (provider)
            provider->FAllowAnimation = savedAnimation;
    });
    if (provider)
        provider->FAllowAnimation = false;
    AForm->Hide();
    AForm->SetPosition(poDesigned);
    const Byte alpha = FormAlpha(AForm);
    if (AForm->GetBorderStyle() != bsNone) {
        const int caption = GetSysCaptionHeight(AForm);
        AForm->SetBorderStyle(bsNone);
        AForm->SetHeight(AForm->GetHeight() - caption);
    }
    TacFormHandler* handler = PrepareHandler(AForm, nullptr);
    HWND wnd = AForm->GetHandle();
    SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_POPUP | WS_CLIPSIBLINGS);
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowLayered(wnd, true, 1);
    if (DefaultManager)
        DefaultManager->UpdateScale(AForm, 100);
    TRect wa;
    GetWorkAreaAt(ALeftTop, wa);
    int left = ALeftTop.x, top = ALeftTop.y - 2;
    AnimDirection = 0;
    if (top + AForm->GetHeight() > wa.bottom) {
        top = std::max<int>(wa.top, ALeftTop.y - AForm->GetClientHeight() - 1);
        AnimDirection = 1;
    }
    if (left + AForm->GetWidth() > wa.right) {
        left = wa.right - AForm->GetClientWidth() - 1;
        AnimDirection |= 2;
    }
    AForm->SetBounds(left, top, AForm->GetWidth(), AForm->GetHeight());
    PlaceAndShow(AForm, handler, true, alpha, provider);
    if (handler->ShadowForm && !handler->ShadowForm->FDestroyed)
        handler->ShadowForm->UpdateShadowPos();
}

void TsPopupController::AnimShowPopup(TCustomForm* aForm, int wTime, Byte BlendValue)
{
    TOwned<TacGlowForm> anim(New<TacGlowForm>(nullptr));
    TOwned<TBitmap> picture, frame;
    // The flag stops skinned borders from painting: it must fall on every path.
    AnimationRunning = true;
    const TScopeExit stop([] { AnimationRunning = false; });
    HWND formWnd = aForm->GetHandle();

    picture.reset(MakeBitmap32ForForm(aForm));
    PaintControlToBitmap(picture.get(), aForm, 0, 0, GetOwnerSkinProvider(aForm), false);
    SetOpaque(picture.get());
    const int steps = wTime / FrameTime;
    const int finalAlpha = FormAlpha(aForm);
    int alpha = steps > 0 ? 0 : finalAlpha;
    const int w = picture->GetWidth(), h = picture->GetHeight();

    RECT r;
    GetWindowRect(formWnd, &r);
    HWND animWnd = anim->GetHandle();
    SetWindowLayered(animWnd, true, 255);
    const TPoint origin(r.left, r.top);
    SetWindowPos(animWnd, HWND_TOPMOST, r.left, r.top, w, h, SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
    PaintLayeredWindow(animWnd, picture.get(), static_cast<Byte>(alpha), &origin);
    ShowWindow(animWnd, SW_SHOWNOACTIVATE);

    if (steps > 0) {
        frame.reset(MakeBitmap32(w, h));
        SetStretchBltMode(frame->GetCanvas()->GetHandle(), COLORONCOLOR);
        TacFormHandler* handler = nullptr;
        const int index = GetFormIndex(aForm);
        if (index >= 0)
            handler = FormHandlers[index];
        const int ctrlWidth = handler && handler->PopupCtrl ? handler->PopupCtrl->GetWidth() : 0;
        double y1 = 0, y2 = 0, x1 = 0, x2 = ctrlWidth;
        if (AnimDirection & 1)
            y1 = y2 = h;
        if (AnimDirection & 2) {
            x1 = w - ctrlWidth;
            x2 = w;
        }
        double dy = h / 3.0;
        double dx = (AnimDirection & 2) ? w / 3.0 : (w - x2) / 3.0;
        for (int i = 0; i <= steps; ++i) {
            const DWORD started = GetTickCount();
            alpha = std::min(finalAlpha, alpha + finalAlpha / steps);
            ClearBitmap(frame.get());
            StretchBlt(frame->GetCanvas()->GetHandle(), int(x1), int(y1), int(x2 - x1), int(y2 - y1),
                       picture->GetCanvas()->GetHandle(), 0, 0, w, h, SRCCOPY);
            PaintLayeredWindow(animWnd, frame.get(), static_cast<Byte>(alpha), nullptr);
            TacPopupAnimBounds bounds{r.left + int(x1), r.top + int(y1), int(x2 - x1), int(y2 - y1),
                                      static_cast<Byte>(alpha)};
            SendMessageW(formWnd, SkinCommandMessage, SkinCommandWParam(SKC_POPUP_ANIM_BOUNDS),
                         reinterpret_cast<LPARAM>(&bounds));
            if (AnimDirection & 1) {
                y1 = dy;
                y2 = h;
            } else {
                y1 = 0;
                y2 = h - dy;
            }
            if (AnimDirection & 2) {
                x1 = dx;
                x2 = w;
            } else {
                x1 = 0;
                x2 = w - dx;
            }
            dx /= 3;
            dy /= 3;
            WaitUntilTick(started, FrameTime);
        }
    }
    SetWindowPos(animWnd, nullptr, r.left, r.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    PaintLayeredWindow(animWnd, picture.get(), static_cast<Byte>(finalAlpha), nullptr);
    frame.reset();
    SetWindowLayered(formWnd, true, BlendValue);
    ShowWithoutActivation(aForm);
    SetWindowPos(formWnd, animWnd, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
    AnimationRunning = false;
    for (int i = 0; i < RedrawTries && IsWindow(formWnd); ++i)
        if (RedrawWindow(formWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW))
            break;
    picture.reset();
    if (PlatformProbe().CompositionEnabled)
        Sleep(24);
    if (IsWindow(formWnd))
        SetWindowPos(animWnd, formWnd, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
}

void TsPopupController::KillAllForms(TControl* ExceptChild)
{
    TCustomForm* except = ExceptChild && ExceptChild->GetOwner() ? FindOwnerForm(ExceptChild->GetOwner()) : nullptr;
    for (TacFormHandler* handler : std::vector<TacFormHandler*>(FormHandlers))
        if (handler && handler->PopupForm && handler->PopupForm != except && handler->PopupForm->GetVisible())
            handler->PopupForm->Close();
    if (PopupCount(nullptr) == 0) {
        std::vector<TacFormHandler*> handlers;
        handlers.swap(FormHandlers);
        for (TacFormHandler* handler : handlers)
            FreeHandler(handler);
    }
}

int TsPopupController::PopupCount(TCustomForm* ExceptForm) const
{
    int count = 0;
    for (TacFormHandler* handler : FormHandlers)
        if (handler && handler->PopupForm && handler->PopupForm != ExceptForm && handler->PopupForm->GetVisible())
            ++count;
    return count;
}

int TsPopupController::PopuChildCount(TCustomForm* ExceptForm) const
{
    int count = 0;
    for (TacFormHandler* handler : FormHandlers)
        if (handler && handler->PopupForm && handler->PopupForm->GetVisible() && handler->ParentForm == ExceptForm)
            ++count;
    return count;
}

int TsPopupController::GetFormIndex(TCustomForm* Form) const
{
    for (std::size_t i = 0; i < FormHandlers.size(); ++i)
        if (FormHandlers[i] && FormHandlers[i]->PopupForm == Form)
            return static_cast<int>(i);
    return -1;
}

bool TsPopupController::HasChild(TCustomForm* Parent) const
{
    for (TacFormHandler* handler : FormHandlers)
        if (handler && handler->PopupCtrl && GetParentForm(handler->PopupCtrl) == Parent)
            return true;
    return false;
}

void TsPopupController::ClosingForbide(TCustomForm* AForm)
{
    const int index = GetFormIndex(AForm);
    if (index >= 0)
        FormHandlers[index]->ClosingForbidden = true;
}

void TsPopupController::ClosingAllow(TCustomForm* AForm)
{
    const int index = GetFormIndex(AForm);
    if (index >= 0)
        FormHandlers[index]->ClosingForbidden = false;
}

// ---------------------------------------------------------------------------
void acPopupController_Initialize()
{
    if (initCount++)
        return;
    DefaultPopupShadow = MakeShadowBitmap(0x44000000, 17, 2, 8, 0, 0, false);
}

void acPopupController_Finalize()
{
    if (initCount == 0 || --initCount)
        return;
    FreeAndNil(PopupController);
    for (auto& [id, handler] : pendingFrees) {
        KillTimer(nullptr, id);
        handler->Free();
    }
    pendingFrees.clear();
    FreeAndNil(DefaultPopupShadow);
}
