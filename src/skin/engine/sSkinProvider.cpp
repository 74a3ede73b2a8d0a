// The skin provider's creation and destruction, the hook of its form's window
// procedure, the foreign-control lists and the skin editor hand-shake.
//
// The hook: the provider puts a small procedure object in the form's
// WindowProc that holds a shared link to it. Freed, the provider gives the
// old procedure back only while the form still holds that object; when
// somebody hooked the form after it, the link is cut and the object (still
// in the other hook's chain) passes every message to the old procedure.
#include "sSkinProvider.h"
#include "ScopeExit.h"
#include "SysUtils.h"
#include "acMessageBox.h"
#include "sFormRegistry.h"
#include "sGraphUtils.h"
#include "sSkinManager.h"
#include "sVclUtils.h"
#include <memory>

bool PreviewMode = false;
HWND PreviewWnd = nullptr;

struct TsSkinProvider::THookForwarder {
    struct TLink {
        TsSkinProvider* Provider = nullptr;
        TWndMethod Old;
    };
    std::shared_ptr<TLink> Link;
    void operator()(TMessage& Message) const
    {
        if (Link->Provider)
            Link->Provider->NewWndProc(Message);
        else if (Link->Old)
            Link->Old(Message);
    }
};

namespace {

constexpr int ThirdListCount = 23;

bool HasState(const TComponent* Component, TComponentStateItem Item)
{
    return Component && Component->ComponentState().Contains(Item);
}

// The flat scroll-bar switches of comctl32, looked up by name: not every
// import library of the platform carries them.
void SwitchFlatScrollBars(HWND Wnd, bool On)
{
    using TFlatSB = BOOL(WINAPI*)(HWND);
    HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
    if (!comctl)
        return;
    auto proc = reinterpret_cast<TFlatSB>(
        reinterpret_cast<void*>(GetProcAddress(comctl, On ? "InitializeFlatSB" : "UninitializeFlatSB")));
    if (proc)
        proc(Wnd);
}

void HideButtonGlow(TsCaptionButton& Button)
{
    if (Button.cpGlowID >= 0 && HideGlowEffectProc)
        HideGlowEffectProc(Button.cpGlowID, false);
    FreeAndNil(Button.cpTimer);
}

} // namespace

// ---------------------------------------------------------------------------
TacAddedTitle::TacAddedTitle() : Font(New<TFont>()) {}

TacAddedTitle::~TacAddedTitle()
{
    FreeAndNil(Font);
}

// ---------------------------------------------------------------------------
TsSkinProvider::TsSkinProvider(BareTag, TComponent* AOwner) : TComponent(AOwner) {}

TsSkinProvider::TsSkinProvider(TComponent* AOwner)
    // A provider on anything but a form is built without owner and does nothing.
    : TComponent(dynamic_cast<TCustomForm*>(AOwner) ? AOwner : nullptr)
{
    FThirdParty = New<TsThirdPartyList>();
    for (int i = 0; i < ThirdListCount; ++i) {
        auto* list = New<TStringList>();
        list->SetCaseSensitive(true);
        ThirdLists.push_back(list);
    }
    auto* form = dynamic_cast<TCustomForm*>(AOwner);
    if (!form) {
        ShowAlert(L"TsSkinProvider component may be used with forms only!");
        return;
    }
    const bool designing = HasState(form, csDesigning);
    std::vector<String> params;
    for (int i = 1; i <= ParamCount(); ++i)
        params.push_back(ParamStr(i));
    PreviewMode = !designing && PreviewRequested(params);
    biClicked = false;
    RTEmpty = false;
    if (!designing) {
        // A provider made at run time gives way; any other makes this one empty.
        auto* existing = reinterpret_cast<TsSkinProvider*>(
            form->Perform(SkinCommandMessage, SkinCommandWParam(SKC_QUERY_PROVIDER), 0));
        if (existing && existing != this) {
            if (existing->RTInit)
                existing->Free();
            else
                RTEmpty = true;
        }
    }
    // Made before Form is known, so that only a hooking provider puts its
    // state on the form's window (an empty one must not take it over).
    auto* data = New<TsScrollWndData>(this, false);
    Form = form;
    FCommonData = data;
    ownsCommonData_ = true;
    data->SetSkinSection(L"FORM");
    data->COC = 224;
    if (!form->ControlState.Empty() && form->GetBorderStyle() != bsNone)
        data->FUpdating = true;
    FAddedTitle = New<TacAddedTitle>();
    FFormHeader = New<TacFormHeader>();
    FGluedForms = New<TStringList>();
    InAero = IsAeroEnabled();
    if (designing || RTEmpty)
        return;
    form->SetDoubleBuffered(false);
    TempBmp = New<TBitmap>();
    TempBmp->GetCanvas()->Lock();
    MenuLineBmp = MakeBitmap32(0, 0);
    ClearButtons = true;
    Rects.clear();
    FLinesCount = -1;
    OldWndProc = form->WindowProc;
    THookForwarder hook{std::make_shared<THookForwarder::TLink>()};
    hook.Link->Provider = this;
    hook.Link->Old = OldWndProc;
    hookLink_ = hook.Link;
    form->WindowProc = hook;
    FCommonData->WndProc = hook;
    hooked_ = true;
    FCommonData->InitCommonProp();
    RegisterSkinnedForm(form);
    FormActive = true;
}

void TsSkinProvider::AfterConstruction()
{
    TComponent::AfterConstruction();
    if (!Form)
        return;
    LoadThirdLists();
    TsSkinManager* manager = FCommonData ? FCommonData->GetSkinManager() : nullptr;
    if (!RTEmpty && !RTInit && manager && manager->GetActive() && !HasState(this, csDesigning))
        PrepareForm();
}

TsSkinProvider::~TsSkinProvider()
{
    const bool runTime = !HasState(this, csDesigning);
    if (FAddedTitle) {
        FreeAndNil(BorderForm);
        FreeAndNil(FAddedTitle);
        if (runTime) {
            KillAnimations();
            if (Form) {
                if (!HasState(Form, csDestroying) || Form->HandleAllocated())
                    UnregisterSkinnedForm(Form);
                if (hooked_) {
                    auto* link = static_cast<THookForwarder::TLink*>(hookLink_.get());
                    auto* ours = Form->WindowProc.target<THookForwarder>();
                    if (ours && ours->Link.get() == link)
                        Form->WindowProc = OldWndProc;
                    // Wherever our procedure object lives on (in a later
                    // hook's chain), it passes on from now on.
                    link->Provider = nullptr;
                    hooked_ = false;
                }
            }
        }
        FreeAndNil(SystemMenu);
        if (TempBmp)
            TempBmp->GetCanvas()->Unlock();
        FreeAndNil(TempBmp);
        FreeAndNil(MenuLineBmp);
    }
    // What the application owned on our behalf goes with us, hidden.
    for (TsCaptionButton* button : {&MDIMin, &MDIMax, &ButtonMin, &ButtonMax, &ButtonHelp, &ButtonClose, &MDIClose})
        HideButtonGlow(*button);
    FreeAndNil(CaptForm);
    FreeAndNil(LayerForm);
    FreeAndNil(CoverForm);
    FreeAndNil(CoverBmp);
    FreeAndNil(FGlow1);
    FreeAndNil(FGlow2);
    FreeAndNil(FTitleIcon);
    FreeAndNil(FTitleButtons);
    FreeAndNil(FSysSubMenu);
    FreeAndNil(Adapter);
    FreeAndNil(ListSW);
    if (ownsCommonData_) {
        TsCommonData* data = FCommonData;
        FCommonData = nullptr;
        FreeAndNil(data);
    }
    FreeAndNil(FormTimer);
    if (Form)
        SaveThirdLists();
    for (TStringList*& list : ThirdLists)
        FreeAndNil(list);
    ThirdLists.clear();
    FreeAndNil(FThirdParty);
    FreeAndNil(FFormHeader);
    FreeAndNil(FGluedForms);
}

// ---------------------------------------------------------------------------
void TsSkinProvider::NewWndProc(TMessage& Message)
{
    // The dispatch of the form's messages comes with the provider's message
    // handling; until then the provider only names itself.
    if (Message.Msg == SkinCommandMessage && HIWORD(Message.WParam) == SKC_QUERY_PROVIDER) {
        Message.Result = reinterpret_cast<LRESULT>(this);
        return;
    }
    if (OldWndProc)
        OldWndProc(Message);
}

void TsSkinProvider::SetFormState(Cardinal Value)
{
    FFormState = Value;
}

void TsSkinProvider::PaintAll() {}

TBitmap* TsSkinProvider::CreateFormBitmap(bool)
{
    TBitmap* cache = FCommonData ? FCommonData->FCacheBmp : nullptr;
    if (!cache)
        return nullptr;
    TBitmap* copy = MakeBitmap32(cache->GetWidth(), cache->GetHeight());
    BitBlt(copy->GetCanvas()->GetHandle(), 0, 0, cache->GetWidth(), cache->GetHeight(), cache->GetCanvas()->GetHandle(),
           0, 0, SRCCOPY);
    return copy;
}

void TsSkinProvider::PrepareForm() {}

void TsSkinProvider::KillAnimations()
{
    for (TsCaptionButton* button : {&ButtonClose, &ButtonMax, &ButtonMin, &ButtonHelp})
        FreeAndNil(button->cpTimer);
}

// ---------------------------------------------------------------------------
void TsSkinProvider::LoadThirdLists()
{
    auto* lists = dynamic_cast<TsThirdPartyList*>(FThirdParty);
    if (!lists)
        return;
    OwnThirdLists = false;
    for (int i = 0; i < static_cast<int>(ThirdLists.size()); ++i) {
        const String text = lists->GetString(i);
        ThirdLists[i]->SetText(text);
        if (!text.empty())
            OwnThirdLists = true;
    }
}

void TsSkinProvider::SaveThirdLists()
{
    auto* lists = dynamic_cast<TsThirdPartyList*>(FThirdParty);
    if (!lists)
        return;
    for (int i = 0; i < static_cast<int>(ThirdLists.size()); ++i)
        lists->SetString(i, ThirdLists[i]->GetText());
}

void TsSkinProvider::NotifySkinEditor(HWND Wnd)
{
    if (!PreviewMode || PreviewWnd)
        return;
    if (Application && Application->GetMainForm()) {
        TCustomForm* main = Application->GetMainForm();
        if (!main->HandleAllocated() || main->GetHandle() != Wnd)
            return;
    }
    PreviewWnd = Wnd;
    PreviewMode = false;
    for (int attempt = 0; attempt <= 100; ++attempt) {
        HWND editor = FindWindowW(nullptr, L"Skin Editor");
        if (!editor)
            return;
        // The editor is another program: a hung one costs the time limit once.
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(editor, SkinEditorMessage, 3, reinterpret_cast<LPARAM>(Wnd),
                                 SMTO_ABORTIFHUNG | SMTO_NORMAL, SkinEditorTimeoutMs, &answer))
            return;
        if (answer == 1)
            return;
    }
}

void TsSkinProvider::UpdateScrollHandler()
{
    if (HasState(this, csDestroying) || !Form || !Form->HandleAllocated() || (FFormState & 0x20000))
        return;
    FFormState |= 0x20000;
    const TScopeExit done([this] { FFormState &= ~0x20000u; });
    HWND wnd = Form->GetHandle();
    if (FCommonData && FCommonData->Skinned(false)) {
        // The skinned scroll bars of the form come with the non-client scroll
        // bar handler; the system's flat ones go.
        SwitchFlatScrollBars(wnd, false);
    } else {
        FreeAndNil(ListSW);
        SwitchFlatScrollBars(wnd, true);
    }
}

void TsSkinProvider::SetBoolProp(int Index, bool Value)
{
    bool* fields[] = {&FAllowExtBorders, &FDrawNonClientArea, &FShowAppIcon, &FUseGlobalColor};
    if (Index < 0 || Index > 3 || *fields[Index] == Value)
        return;
    *fields[Index] = Value;
    const bool designing = HasState(this, csDesigning);
    const bool loading = HasState(this, csLoading);
    HWND wnd = Form && Form->HandleAllocated() ? Form->GetHandle() : nullptr;
    switch (Index) {
    case 0:
        if (loading || designing)
            return;
        if (!Value)
            FreeAndNil(BorderForm);
        if (FCommonData)
            FCommonData->BGChanged = true;
        if (wnd)
            RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_FRAME);
        return;
    case 1:
        if (FCommonData)
            FCommonData->BGChanged = true;
        if (wnd && !designing)
            RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
        return;
    case 2:
        if (designing)
            return;
        if (FCommonData)
            FCommonData->BGChanged = true;
        if (wnd && IsWindowVisible(wnd))
            RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
        return;
    default:
        if (Value && Form && FCommonData && FCommonData->Skinned(false) && !FCommonData->FCustomColor)
            Form->SetColor(FCommonData->GetSkinManager()->GetGlobalColor());
        return;
    }
}

void TsSkinProvider::SetStringProp(int Index, const String& Value)
{
    String& field = Index == 0 ? FTitleSkin : FMenuLineSkin;
    if (field == Value)
        return;
    field = Value;
    if (Index == 0) {
        FTitleSkinIndex = -1;
        if (FCommonData)
            FCommonData->BGChanged = true;
        if (Form && Form->HandleAllocated() && IsWindowVisible(Form->GetHandle())) {
            if (BorderForm)
                BorderForm->UpdateExBordersPos(true, 255);
            else
                SendMessageW(Form->GetHandle(), WM_NCPAINT, 0, 0);
        }
    } else if (HasState(this, csDesigning) && FCommonData) {
        FCommonData->Invalidate(false);
    }
}

void TsSkinProvider::SetResizeMode(TsResizeMode Value)
{
    // Only the standard mode can be chosen.
    (void)Value;
    FResizeMode = rmStandard;
}

// ---------------------------------------------------------------------------
TsSkinProvider* GetOwnerSkinProvider(TComponent* Component)
{
    for (TComponent* c = Component; c; c = c->GetOwner())
        if (auto* form = dynamic_cast<TCustomForm*>(c)) {
            if (!form->HandleAllocated())
                return nullptr;
            return reinterpret_cast<TsSkinProvider*>(
                SendWndMessage(form->GetHandle(), SkinCommandMessage, SkinCommandWParam(SKC_QUERY_PROVIDER), 0));
        }
    return nullptr;
}

TComponent* FindComponentByCtrlID(Integer ID, TComponent* Component)
{
    if (!Component)
        return nullptr;
    for (int i = 0; i < Component->ComponentCount(); ++i) {
        TComponent* child = Component->Components(i);
        if (auto* w = dynamic_cast<TWinControl*>(child); w && w->HandleAllocated() && GetDlgCtrlID(w->GetHandle()) == ID)
            return child;
        if (TComponent* found = FindComponentByCtrlID(ID, child))
            return found;
    }
    return nullptr;
}

bool PreviewRequested(const std::vector<String>& Params)
{
    return !Params.empty() && Params[0] == L"/acpreview";
}

void sSkinProvider_Initialize()
{
    PreviewMode = false;
    PreviewWnd = nullptr;
}

void sSkinProvider_Finalize()
{
    PreviewWnd = nullptr;
}
