// The handler base: how a handler is hooked into a window and out again,
// and the message and command handling every kind inherits.
//
// A handler gives back the procedure (or method) it replaced only while its
// own is the one on top. Under a later subclass it stays in the chain; once
// it is freed, what it left there forwards to the replaced procedure, so the
// later subclass never calls into a freed handler and never gets cut out.
#include "acSBUtils.h"
#include "TacSBWnd.h"
#include "Buttons.h"
#include "Forms.h"
#include "sFormAnimations.h"
#include "sVclUtils.h"
#include <uxtheme.h>

bool acDlgMode = false;

namespace {

constexpr UINT FrameChangeFlags = 0x737;
const wchar_t InstanceProp[] = L"ACWPI";
const wchar_t ScrollHandlerProp[] = L"ACSBSC";

// What a bare window's procedure finds its handler through. With no handler
// left it forwards to the replaced procedure until the window is destroyed.
struct TWndProcInstance {
    TacMainWnd* Handler = nullptr;
    WNDPROC OldProc = nullptr;
};

LRESULT CALLBACK InstanceWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    auto* instance = static_cast<TWndProcInstance*>(GetPropW(Wnd, InstanceProp));
    if (!instance)
        return DefWindowProcW(Wnd, Msg, WParam, LParam);
    if (instance->Handler) {
        TMessage message{Msg, WParam, LParam, 0};
        try {
            instance->Handler->acWndProc(message);
        } catch (...) {
            message.Result = 0;
        }
        return message.Result;
    }
    const WNDPROC old = instance->OldProc;
    if (Msg == WM_NCDESTROY) {
        RemovePropW(Wnd, InstanceProp);
        delete instance;
    }
    return old ? CallWindowProcW(old, Wnd, Msg, WParam, LParam) : DefWindowProcW(Wnd, Msg, WParam, LParam);
}

// The method a control's WindowProc holds while hooked.
struct TMethodLink {
    TacMainWnd* Handler = nullptr;
    TWndMethod Old;
};
struct TMethodForwarder {
    std::shared_ptr<TMethodLink> Link;
    void operator()(TMessage& Message) const
    {
        if (Link->Handler)
            Link->Handler->acWndProc(Message);
        else if (Link->Old)
            Link->Old(Message);
    }
};

TsSkinProvider* ProviderOwner(const TacMainWnd* Handler)
{
    return Handler->SkinData ? dynamic_cast<TsSkinProvider*>(Handler->SkinData->FOwnerObject) : nullptr;
}

TControl* OwnerControl(const TacMainWnd* Handler)
{
    return Handler->SkinData ? Handler->SkinData->FOwnerControl : nullptr;
}

bool HasState(const TComponent* Component, TComponentStateItem Item)
{
    return Component && Component->ComponentState().Contains(Item);
}

// The WindowProc the method of the handler sits in: the provider's form's,
// else the owner control's.
TWndMethod* HookedMethodSlot(const TacMainWnd* Handler)
{
    if (TsSkinProvider* provider = ProviderOwner(Handler))
        return provider->Form ? &provider->Form->WindowProc : nullptr;
    if (TControl* control = OwnerControl(Handler))
        return &control->WindowProc;
    return nullptr;
}

// Gives back what the handler replaced, while its own is on top; true then.
bool RestoreReplaced(TacMainWnd* Handler, HWND Handle, bool ClearOldProc)
{
    if (Handler->OldWndProc) {
        auto* link = static_cast<TMethodLink*>(Handler->MethodLink.get());
        TWndMethod* slot = HookedMethodSlot(Handler);
        const auto* ours = slot ? slot->target<TMethodForwarder>() : nullptr;
        if (ours && link && ours->Link.get() == link) {
            if (Handler->SkinData)
                Handler->SkinData->WndProc = Handler->OldWndProc;
            *slot = Handler->OldWndProc;
            link->Handler = nullptr;
            Handler->MethodLink.reset();
            return true;
        }
        // A later subclass holds our method: it keeps working through it.
        return slot == nullptr;
    }
    if (Handler->NewWndProcInstance) {
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Handle, GWLP_WNDPROC)) != &InstanceWndProc)
            return false;
        SetWindowLongPtrW(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Handler->OldProc));
        RemovePropW(Handle, InstanceProp);
        delete static_cast<TWndProcInstance*>(Handler->NewWndProcInstance);
        Handler->NewWndProcInstance = nullptr;
        if (ClearOldProc)
            Handler->OldProc = nullptr;
        return true;
    }
    return false;
}

// The handler lets go of whatever it left in a chain: a bare window's record
// and a control's method forward from now on.
void Orphan(TacMainWnd* Handler)
{
    if (auto* instance = static_cast<TWndProcInstance*>(Handler->NewWndProcInstance)) {
        instance->Handler = nullptr;
        if (!IsWindow(Handler->CtrlHandle) ||
            GetPropW(Handler->CtrlHandle, InstanceProp) != instance)
            delete instance;
        Handler->NewWndProcInstance = nullptr;
    }
    if (auto* link = static_cast<TMethodLink*>(Handler->MethodLink.get()))
        link->Handler = nullptr;
    Handler->MethodLink.reset();
}

bool Visible(const TacMainWnd* Handler)
{
    if (TControl* control = OwnerControl(Handler))
        return control->GetVisible();
    return IsWindowVisible(Handler->CtrlHandle) != FALSE;
}

String GetWindowCaption(HWND Wnd)
{
    const int length = GetWindowTextLengthW(Wnd);
    String text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(Wnd, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

void DestroySpeedButtons(TControl* Owner)
{
    auto* parent = dynamic_cast<TWinControl*>(Owner);
    if (!parent)
        return;
    for (int i = parent->ControlCount() - 1; i >= 0; --i)
        if (auto* button = dynamic_cast<TSpeedButton*>(parent->Controls(i)))
            button->Perform(WM_DESTROY, 0, 0);
}

} // namespace

// ---------------------------------------------------------------------------
// Construction and destruction.

void TacMainWnd::Create(HWND AHandle, bool Repaint, const TacSkinParams& Params, TsSkinManager* ASkinManager,
                        TsCommonData* ASkinData)
{
    CtrlHandle = AHandle;
    OldWndProc = nullptr;
    OldProc = nullptr;
    if (GetModuleHandleW(L"uxtheme.dll") && (!ASkinData || ASkinData->COC != 224) && ClassName() != L"TacPanelWnd" &&
        ClassName() != L"TacMnuWnd" && Params.SkinSection != L"DIALOG" && !acDlgMode)
        SetWindowTheme(AHandle, L" ", L" ");
    NewWndProcInstance = nullptr;
    SkinManager = ASkinManager;
    Destroyed = false;
    if (ASkinData)
        SkinData = ASkinData;
    else {
        OwnSkinData = true;
        InitSkinData();
        if (!Params.SkinSection.empty())
            SkinData->FSkinSection = Params.SkinSection;
        SkinData->FOwnerControl = Params.Control;
        SkinData->FOwnerObject = Params.Control;
        SkinData->FCustomFont = !Params.UseSkinFontColor;
        SkinData->FCustomColor = !Params.UseSkinColor;
        SkinData->FSkinManager = ASkinManager;
    }
    SkinData->SetBoolProp(1, SkinData->FCustomFont);
    SkinData->FSWHandle = AHandle;
    Tag = 0;
    DlgMode = acDlgMode;
    SaveStdParams();
    ParamsChanged = false;
    Caption = GetWindowCaption(AHandle);
    if (IsScrollKind())
        HookScrollWndHandler(static_cast<TacScrollWnd*>(this), AHandle, Repaint);
    else
        HookWndHandler(this, AHandle);
    if (TControl* control = SkinData->FOwnerControl) {
        OldCtrlStyle = control->ControlStyle;
        control->ControlStyle.Include(csOpaque);
    }
    AfterCreation();
}

void TacMainWnd::AfterCreation()
{
    SkinData->Loading = false;
    // The section named at creation is found now that loading is over.
    if (OwnSkinData)
        SkinData->UpdateIndexes(true);
    SkinData->InitCommonProp();
}

void TacMainWnd::InitSkinData()
{
    if (!SkinData) {
        SkinData = New<TsCommonData>(nullptr, true);
        SkinData->Loading = true;
    }
}

void TacMainWnd::SaveStdParams() {}

void TacMainWnd::RestoreStdParams()
{
    if (SkinData && OwnSkinData)
        SkinData->RemoveCommonProp();
    if (IsWindow(CtrlHandle)) {
        RemovePropW(CtrlHandle, ScrollHandlerProp);
        SetClassLongPtrW(CtrlHandle, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(GetSysColorBrush(COLOR_BTNFACE)));
    }
}

void TacMainWnd::SetSkinParams()
{
    ParamsChanged = true;
    if (SkinManager && IsWindow(CtrlHandle))
        SetClassLongPtrW(CtrlHandle, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(SkinManager->Brushes[0].Get()));
}

void TacMainWnd::BeforeDestruction()
{
    InDestroying = true;
    if (SkinData && SkinManager) {
        TControl* control = OwnerControl(this);
        if (Destroyed) {
            if (control && !HasState(control, csDestroying))
                RestoreStdParams();
        } else {
            if (control && !OldCtrlStyle.Empty())
                control->ControlStyle = OldCtrlStyle;
            RestoreReplaced(this, CtrlHandle, true);
            RestoreStdParams();
            if (GetModuleHandleW(L"uxtheme.dll") && IsWindow(CtrlHandle)) {
                TsSkinProvider* provider = ProviderOwner(this);
                const bool giveBack = provider ? provider->FDrawNonClientArea
                                               : SkinData->COC != 10 || !IsAeroEnabled();
                if (giveBack)
                    SetWindowTheme(CtrlHandle, nullptr, nullptr);
            }
            Destroyed = true;
        }
        if (OwnSkinData) {
            TsCommonData* data = SkinData;
            SkinData = nullptr;
            if (data->PropWnd)
                data->RemoveCommonProp();
            data->Free();
        } else
            SkinData = nullptr;
        if (IsWindow(CtrlHandle) && GetPropW(CtrlHandle, ScrollHandlerProp) == this)
            RemovePropW(CtrlHandle, ScrollHandlerProp);
        SkinManager = nullptr;
    }
    // Whatever is still in a chain passes on from now on.
    Orphan(this);
    TObject::BeforeDestruction();
}

TacMainWnd::~TacMainWnd()
{
    Orphan(this);
    if (OwnSkinData && SkinData)
        SkinData->Free();
}

// ---------------------------------------------------------------------------
// Messages.

LRESULT TacMainWnd::ProcessMessage(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage message{Msg, WParam, LParam, 0};
    acWndProc(message);
    return message.Result;
}

LRESULT TacMainWnd::CallPrevWndProc(HWND Handle, UINT Msg, LPARAM& LParam, WPARAM WParam)
{
    if (OldWndProc) {
        TMessage message{Msg, WParam, LParam, 0};
        OldWndProc(message);
        LParam = message.LParam;
        return message.Result;
    }
    if (OldProc) {
        try {
            return CallWindowProcW(OldProc, Handle, Msg, WParam, LParam);
        } catch (...) {
            return 0;
        }
    }
    return 0;
}

void TacMainWnd::acWndProc(TMessage& Message)
{
    auto prev = [&] { return CallPrevWndProc(CtrlHandle, Message.Msg, Message.LParam, Message.WParam); };
    TControl* control = OwnerControl(this);
    switch (Message.Msg) {
    case WM_CREATE:
    case WM_NCCREATE:
        Message.Result = prev();
        if (SkinData)
            SkinData->InitCommonProp();
        return;
    case WM_DESTROY:
    case WM_NCDESTROY: {
        if (SkinData) {
            SkinData->StopAnimation();
            if (HideGlowEffectProc && SkinData->GlowID >= 0)
                HideGlowEffectProc(SkinData->GlowID, false);
        }
        DestroySpeedButtons(control);
        TacMainWnd* self = this;
        if (OldWndProc || OldProc) {
            try {
                if (control) {
                    UnhookWndHandler(CtrlHandle, false, false, self);
                    SendMessageW(CtrlHandle, Message.Msg, Message.WParam, Message.LParam);
                } else {
                    Message.Result = prev();
                    if (Message.Result == 0)
                        UnhookWndHandler(CtrlHandle, false, false, self);
                }
            } catch (...) {
            }
            Message.Result = 1;
        } else
            Message.Result = SendMessageW(CtrlHandle, Message.Msg, Message.WParam, Message.LParam);
        if (SkinData && SkinData->FCacheBmp)
            SkinData->FCacheBmp->SetSize(0, 0);
        return;
    }
    case WM_UPDATEUISTATE:
        return;
    case WM_SIZE:
        if (SkinData)
            SkinData->BGChanged = true;
        break;
    case WM_SETTEXT:
        Message.Result = prev();
        Caption = GetWindowCaption(CtrlHandle);
        return;
    case WM_MOUSEMOVE:
        if (DefaultManager && !HasState(DefaultManager, csDesigning) && IsWindowEnabled(CtrlHandle) &&
            DefaultManager->GetActiveControl() != CtrlHandle)
            DefaultManager->SetActiveControl(CtrlHandle);
        break;
    case WM_PRINT:
        Message.Result = SendMessageW(CtrlHandle, WM_PAINT, Message.WParam, Message.LParam);
        return;
    default:
        break;
    }
    if (!SkinData || !SkinManager || !SkinManager->GetActive() || Message.Msg != SkinCommandMessage) {
        Message.Result = prev();
        return;
    }
    // Pointer arguments are followed only for messages of this thread: the
    // command number is fixed, any program can send it.
    const bool ownThread = !InSendMessage();
    const LPARAM fromManager = reinterpret_cast<LPARAM>(SkinManager);
    bool pass = true;
    switch (Message.WParamHi()) {
    case SKC_SKIN_LOADED:
        if (Message.LParam == fromManager) {
            SkinData->UpdateIndexes(true);
            SkinData->BGChanged = true;
            BroadcastSkinMessage(control, CtrlHandle, Message);
        }
        break;
    case SKC_SKIN_REMOVED:
        if (Message.LParam == fromManager)
            RestoreStdParams();
        break;
    case SKC_REPAINT_SKIN:
        if (Message.LParam == fromManager) {
            SkinData->UpdateIndexes(true);
            SkinData->BGChanged = true;
            SkinData->FUpdating = false;
            if (!AnimationRunning && Visible(this))
                SendMessageW(CtrlHandle, WM_PAINT, 0, 0);
            BroadcastSkinMessage(control, CtrlHandle, Message);
            pass = false;
        }
        break;
    case SKC_UPDATE_FINISHED:
        if (SkinData->FUpdating) {
            if (!SkinData->CheckUpdating(true)) {
                SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
                RedrawWindow(CtrlHandle, nullptr, nullptr, 0x585);
            }
            if (auto* parent = dynamic_cast<TWinControl*>(control))
                RefreshChildControls(parent);
            pass = false;
        }
        break;
    case SKC_QUERY_HANDLED:
        Message.Result = 1;
        pass = false;
        break;
    case SKC_QUERY_UPDATING:
        Message.Result = SkinData->GetUpdating() ? 1 : 0;
        pass = false;
        break;
    case SKC_QUERY_HANDLER:
        Message.Result = reinterpret_cast<LRESULT>(this);
        pass = false;
        break;
    case SKC_SET_SECTION:
        if (Message.LParam != 0 && ownThread) {
            SkinData->SetSkinSection(reinterpret_cast<const wchar_t*>(Message.LParam));
            Message.Result = 1;
        } else
            Message.Result = 0;
        pass = false;
        break;
    case SKC_QUERY_COMPLEX_BG:
        if (control) {
            HandleSkinCommand(Message, SkinData);
            pass = false;
        }
        break;
    case SKC_QUERY_COLOR:
        Message.Result = prev();
        if (Message.Result == 0)
            Message.Result = static_cast<LRESULT>(SkinData->BackgroundColor(0, CtrlHandle));
        pass = false;
        break;
    case SKC_BUILD_CACHE:
        PrepareCtrlCache(SkinData, CtrlHandle, false);
        break;
    case SKC_QUERY_BACKGROUND:
        if (Message.LParam != 0 && ownThread)
            SkinData->AnswerBGRequest(*reinterpret_cast<TacBGRequest*>(Message.LParam), 0, CtrlHandle);
        else
            Message.Result = 0;
        pass = false;
        break;
    case SKC_QUERY_SKIN_DATA:
        Message.Result = reinterpret_cast<LRESULT>(SkinData);
        pass = false;
        break;
    case SKC_SET_PRINTING:
        if (Message.LParam != 0)
            SkinData->CtrlSkinState |= 0x200;
        else
            SkinData->CtrlSkinState &= ~0x200u;
        SkinData->PrintDC = reinterpret_cast<HDC>(Message.LParam);
        break;
    case SKC_QUERY_APPLICATION:
        Message.Result = reinterpret_cast<LRESULT>(Application);
        pass = false;
        break;
    case SKC_FILL_SKIN_INDEX:
        if (!ownThread) {
            Message.Result = 0;
            pass = false;
            break;
        }
        [[fallthrough]];
    default:
        if (HandleSkinCommand(Message, SkinData))
            pass = false;
        break;
    }
    if (pass)
        Message.Result = prev();
}

// ---------------------------------------------------------------------------
// Hooking.

void HookWndHandler(TacMainWnd* Handler, HWND Handle)
{
    Handler->DontRepaint = false;
    Handler->CtrlHandle = Handle;
    if (TWndMethod* slot = HookedMethodSlot(Handler)) {
        auto link = std::make_shared<TMethodLink>();
        link->Handler = Handler;
        link->Old = *slot;
        Handler->OldWndProc = *slot;
        Handler->MethodLink = link;
        TMethodForwarder forwarder{link};
        Handler->SkinData->WndProc = forwarder;
        *slot = forwarder;
        return;
    }
    auto* instance = new TWndProcInstance;
    instance->Handler = Handler;
    instance->OldProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Handle, GWLP_WNDPROC));
    Handler->OldProc = instance->OldProc;
    Handler->NewWndProcInstance = instance;
    SetPropW(Handle, InstanceProp, instance);
    SetWindowLongPtrW(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&InstanceWndProc));
}

void UnhookWndHandler(HWND Handle, bool FreeIt, bool FrameChanged, TacMainWnd*& Handler)
{
    if (!Handler)
        return;
    if (!Handler->Destroyed) {
        const bool restored = RestoreReplaced(Handler, Handle, true);
        Handler->RestoreStdParams();
        if (IsWindowVisible(Handle))
            RefreshWndFrame(Handle, FrameChanged);
        if (Handler->OwnSkinData && Handler->SkinData)
            Handler->SkinData->ClearLinks();
        Handler->Destroyed = restored;
    }
    if (FreeIt) {
        Handler->OldProc = nullptr;
        Handler->OldWndProc = nullptr;
        FreeAndNil(Handler);
    }
}

void RefreshWndFrame(HWND Handle, bool FrameChanged)
{
    if (FrameChanged)
        SetWindowPos(Handle, nullptr, 0, 0, 0, 0, FrameChangeFlags);
    else
        SendWndMessage(Handle, WM_NCPAINT, 1, 0);
}

TacScrollWnd* GetWndScrollHandler(HWND Handle)
{
    return static_cast<TacScrollWnd*>(GetPropW(Handle, ScrollHandlerProp));
}

TacScrollBar* GetWndScrollBar(HWND Handle, int Kind)
{
    TacScrollWnd* handler = GetWndScrollHandler(Handle);
    if (!handler)
        return nullptr;
    return Kind == SB_HORZ ? handler->sBarHorz : Kind == SB_VERT ? handler->sBarVert : nullptr;
}

bool SetWndScrollBarFlags(HWND Handle, int Which, Word Flags)
{
    TacScrollWnd* handler = GetWndScrollHandler(Handle);
    if (!handler)
        return false;
    if ((Which == SB_HORZ || Which == 3) && handler->sBarHorz)
        handler->sBarHorz->fScrollFlags = Flags;
    if ((Which == SB_VERT || Which == 3) && handler->sBarVert)
        handler->sBarVert->fScrollFlags = Flags;
    return true;
}

void SendAdaptToTopWindow(HWND Handle)
{
    HWND top = Handle;
    while (HWND parent = GetParent(top)) {
        if (!(GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD))
            break;
        top = parent;
    }
    SendMessageW(top, SkinCommandMessage, SkinCommandWParam(SKC_ADAPT_CONTROL), 0);
}

// ---------------------------------------------------------------------------
// The scroll-bar kind's hooking.

void HookScrollWndHandler(TacScrollWnd* Handler, HWND Handle, bool Repaint)
{
    (void)Repaint;
    for (TacScrollBar** bar : {&Handler->sBarHorz, &Handler->sBarVert}) {
        *bar = New<TacScrollBar>();
        (*bar)->sw = Handler;
        (*bar)->fScrollFlags = 16;
        (*bar)->nArrowWidth = -1;
        (*bar)->nArrowLength = -1;
        (*bar)->ScrollInfo.cbSize = sizeof(SCROLLINFO);
    }
    Handler->sBarHorz->nBarType = SB_HORZ;
    Handler->sBarVert->nBarType = SB_VERT;
    Handler->fLeftScrollbar = (GetWindowLongPtrW(Handle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    HookWndHandler(Handler, Handle);
    SetPropW(Handle, ScrollHandlerProp, Handler);
}

void UnhookScrollWndHandler(HWND Handle, bool FreeIt, bool FrameChanged, TacMainWnd*& Handler)
{
    auto* handler = static_cast<TacScrollWnd*>(Handler);
    if (!handler)
        return;
    EndScrollTracking(Handle);
    if (!handler->Destroyed) {
        if (handler->SkinData && handler->SkinData->FOwnerControl) {
            RestoreReplaced(handler, Handle, false);
            handler->RestoreStdParams();
            if (IsWindowVisible(Handle))
                RefreshWndFrame(Handle, FrameChanged);
        }
        for (TacScrollBar** bar : {&handler->sBarHorz, &handler->sBarVert})
            if (*bar) {
                (*bar)->sw = nullptr;
                FreeAndNil(*bar);
            }
        if (handler->OwnSkinData && handler->SkinData) {
            handler->SkinData->FOwnerControl = nullptr;
            handler->SkinData->FOwnerObject = nullptr;
            handler->SkinData->FSWHandle = nullptr;
        }
        handler->Destroyed = true;
    }
    if (FreeIt) {
        // The bare window's procedure goes back only while ours is on top;
        // otherwise our record forwards to it until the window goes.
        if (handler->OldProc && handler->NewWndProcInstance)
            RestoreReplaced(handler, handler->CtrlHandle, true);
        handler->OldProc = nullptr;
        handler->OldWndProc = nullptr;
        FreeAndNil(Handler);
    }
}

void UpdateScrollWndHandler(TsScrollWndData* SkinData, TacScrollWnd*& Handler)
{
    auto* owner = dynamic_cast<TWinControl*>(SkinData ? SkinData->FOwnerControl : nullptr);
    if (!owner || HasState(owner, csLoading) || HasState(owner, csDestroying) || HasState(owner, csDesigning))
        return;
    if (SkinData->Skinned()) {
        if (acUninitializeFlatSB && owner->HandleAllocated())
            acUninitializeFlatSB(owner->GetHandle());
        if (Handler && Handler->Destroyed)
            FreeAndNil(Handler);
        if (!Handler && owner->HandleAllocated()) {
            auto* handler = new TacScrollWnd();
            TacSkinParams params;
            params.Control = owner;
            handler->Create(owner->GetHandle(), true, params, SkinData->GetSkinManager(), SkinData);
            Handler = handler;
        }
    } else {
        FreeAndNil(Handler);
        if (acInitializeFlatSB && owner->HandleAllocated())
            acInitializeFlatSB(owner->GetHandle());
    }
}

// ---------------------------------------------------------------------------
// Handler selection.


const TacHandlerClass ThirdPartyHandlerClasses[ThirdPartyKindCount] = {
    {L"TacEditWnd", nullptr},
    {L"TacButtonWnd", nullptr},
    {L"TacBitBtnWnd", nullptr},
    {L"TacCheckBoxWnd", nullptr},
    {L"TacComboBoxWnd", nullptr},
    {L"TacGridWnd", nullptr},
    {L"TacGroupBoxWnd", nullptr},
    {L"TacListViewWnd", nullptr},
    {L"TacPanelWnd", nullptr},
    {L"TacTreeViewWnd", nullptr},
    {L"TacWWComboBoxWnd", nullptr},
    {L"TacGridEhWnd", nullptr},
    {L"TacVirtualTreeViewWnd", nullptr},
    {L"TacPageControlWnd", nullptr},
    {L"TacTabControlWnd", nullptr},
    {L"TacToolBarVCLWnd", nullptr},
    {L"TacStatusBarWnd", nullptr},
    {L"TacEditWnd", nullptr},
    {L"TacScrollBoxWnd", nullptr},
    {L"TacSpinWnd", nullptr},
    {L"TacSBWnd", &MakeScrollBarControlHandler},
    {L"TacStaticTextWnd", nullptr},
    {L"TacNativePaint", nullptr},
};

TacMainWnd* CreateThirdPartyHandler(int Index, HWND Handle, bool Repaint, const TacSkinParams& Params,
                                    TsSkinManager* Manager, TsCommonData* SkinData)
{
    if (Index < 0 || Index >= ThirdPartyKindCount || !ThirdPartyHandlerClasses[Index].Factory)
        return nullptr;
    TacMainWnd* handler = ThirdPartyHandlerClasses[Index].Factory();
    handler->Create(Handle, Repaint, Params, Manager, SkinData);
    return handler;
}

int FindThirdPartyKind(TsSkinManager* Manager, const String& ClassName)
{
    if (!Manager)
        return -1;
    for (int i = 0; i < ThirdPartyKindCount; ++i)
        if (TStringList* list = Manager->ThirdLists(i))
            for (int j = 0; j < list->Count(); ++j)
                if (list->Get(j) == ClassName)
                    return i;
    return -1;
}
