#include "acGlow.h"
#include "Forms.h"
#include "ScopeExit.h"
#include "acThdTimer.h"
#include "acntUtils.h"
#include "sGraphUtils.h"
#include "sMessages.h"
#include "sSkinImage.h"
#include "sSkinManager.h"
#include "sVclUtils.h"
#include "sWindowHelpers.h"

namespace {

TacGlowEffects glows;
// Set while a glow window is being freed: its messages may reach code that
// would walk the list.
bool freeingGlow = false;

bool ValidGlow(Integer ID)
{
    return ID >= 0 && static_cast<std::size_t>(ID) < glows.size() && glows[ID];
}

bool ManagerGoing(TsSkinManager* Manager)
{
    return (Manager && Manager->ComponentState().Contains(csDestroying)) || (Application && Application->Terminated());
}

// The window back to its own method, then destroyed now or after its pending
// messages.
void FreeGlowWindow(TacGlowEffect& Glow)
{
    if (!Glow.Wnd)
        return;
    freeingGlow = true;
    const TScopeExit done([] { freeingGlow = false; });
    if (Glow.OldWndProc)
        Glow.Wnd->WindowProc = Glow.OldWndProc;
    if (ManagerGoing(Glow.SkinManager))
        Glow.Wnd.reset();
    else
        Glow.Wnd.release()->Release();
}

void ClearGlowList(bool DestroyWnd)
{
    if (freeingGlow)
        return;
    for (TOwned<TacGlowEffect>& glow : glows) {
        if (!glow)
            continue;
        if (DestroyWnd && glow->Wnd) {
            freeingGlow = true;
            const TScopeExit done([] { freeingGlow = false; });
            if (glow->OldWndProc)
                glow->Wnd->WindowProc = glow->OldWndProc;
            glow->Wnd.reset();
        }
        if (glow->SkinData)
            glow->SkinData->GlowID = -1;
        glow.reset();
    }
    glows.clear();
}

Integer AddGlow(TOwned<TacGlowEffect> Glow, const TRect& R, Integer Margin, Byte Alpha, HWND WndHandle)
{
    TacGlowEffect* glow = Glow.get();
    glows.push_back(std::move(Glow));
    glow->Margin = Margin;
    glow->Show(R, R, Alpha, WndHandle);
    return static_cast<Integer>(glows.size() - 1);
}

} // namespace

const TacGlowEffects& GlowEffects()
{
    return glows;
}

// ---------------------------------------------------------------------------
TacGlowEffect::TacGlowEffect(TsSkinManager* AManager, TsCommonData* ASkinData)
    : SkinManager(AManager), SkinData(ASkinData)
{
}

TacGlowEffect::~TacGlowEffect()
{
    Destroyed = true;
    FreeGlowWindow(*this);
}

void TacGlowEffect::Show(const TRect& R, const TRect& RealRect, Byte Alpha, HWND WndHandle)
{
    (void)R;
    if (Wnd)
        return;
    Wnd.reset(New<TacGlowForm>(nullptr));
    Wnd->ControlStyle.Exclude(csCaptureMouse);
    OldWndProc = Wnd->WindowProc;
    Wnd->WindowProc = [this](TMessage& Message) { NewWndProc(Message); };

    int wl = 0, wt = 0, wr = 0, wb = 0;
    if (SkinManager && MaskIndex >= 0 && static_cast<std::size_t>(MaskIndex) < SkinManager->ma.size()) {
        const TsMaskData& mask = SkinManager->ma[MaskIndex];
        wl = mask.WL, wt = mask.WT, wr = mask.WR, wb = mask.WB;
    }
    const int width = RealRect.Width() + wl + wr - 2 * Margin;
    const int height = RealRect.Height() + wt + wb - 2 * Margin;
    const TPoint position(RealRect.left + Margin - wl, RealRect.top + Margin - wt);
    CreateAlphaBmp(width, height);
    Wnd->SetBounds(position.x, position.y, width, height);

    HWND after = HWND_TOPMOST;
    if (WndHandle && !(GetWindowLongW(WndHandle, GWL_EXSTYLE) & WS_EX_TOPMOST) && SkinData && SkinData->FOwnerObject) {
        HWND above = GetWindow(WndHandle, GW_HWNDPREV);
        // Nothing above the form: the glow goes right above it, not hidden below it.
        after = above ? above : HWND_TOP;
    }
    HWND wnd = Wnd->GetHandle();
    if (!wnd)
        return;
    SetWindowLongW(wnd, GWL_EXSTYLE, GetWindowLongW(wnd, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TRANSPARENT);
    SetWindowPos(wnd, nullptr, position.x, position.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
    if (auto update = LayoutBindings().UpdateLayeredWindow) {
        const TWindowDC screen(nullptr);
        BLENDFUNCTION blend;
        InitBlendFunction(blend, Alpha);
        SIZE size{AlphaBmp->GetWidth(), AlphaBmp->GetHeight()};
        POINT source{0, 0};
        update(wnd, screen.Get(), nullptr, &size, AlphaBmp->GetCanvas()->GetHandle(), &source, 0, &blend, ULW_ALPHA);
    }
    SetWindowPos(wnd, after, position.x, position.y, 0, 0, 0x659);
}

void TacGlowEffect::CreateAlphaBmp(int Width, int Height)
{
    AlphaBmp.reset(MakeBitmap32(std::max(Width, 0), std::max(Height, 0)));
    PatBlt(AlphaBmp->GetCanvas()->GetHandle(), 0, 0, AlphaBmp->GetWidth(), AlphaBmp->GetHeight(), BLACKNESS);
    if (SkinManager && MaskIndex >= 0 && static_cast<std::size_t>(MaskIndex) < SkinManager->ma.size())
        PaintSkinImage(AlphaBmp.get(), TRect(0, 0, AlphaBmp->GetWidth(), AlphaBmp->GetHeight()), TCacheInfo{},
                       SkinManager->ma[MaskIndex], 0, false);
    if (SkinData && SkinData->FOwnerControl) {
        TColor tone = clNone;
        if (!SendControlCommand(SkinData->FOwnerControl, SKC_QUERY_GLOW_COLOR, reinterpret_cast<LPARAM>(&tone)))
            tone = clNone;
        if (tone != clNone)
            ForEachBitmapPixel(AlphaBmp.get(), TonePixelProc, static_cast<Integer>(ColorToRGB(tone)), 0xFF00FF);
    }
}

void TacGlowEffect::NewWndProc(TMessage& Message)
{
    if (Message.Msg == WM_NCHITTEST) {
        Message.Result = HTTRANSPARENT;
        return;
    }
    if (OldWndProc)
        OldWndProc(Message);
}

// ---------------------------------------------------------------------------
Integer ShowGlowEffect(const TRect& R, const String& SkinSection, const String& Name, Integer Margin, Byte Alpha,
                       HWND WndHandle, TsCommonData* SkinData)
{
    if (!LayeredWindowsAvailable() || !SkinData || GetCapture())
        return -1;
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (!manager)
        return -1;
    TOwned<TacGlowEffect> glow(New<TacGlowEffect>(manager, SkinData));
    const String imageName = Name + L"0";
    glow->MaskIndex = !SkinSection.empty() ? manager->GetMaskIndex(SkinSection, imageName)
                                            : manager->GetMaskIndex(SkinData->SkinIndex, imageName);
    if (glow->MaskIndex < 0)
        return -1;
    return AddGlow(std::move(glow), R, Margin, Alpha, WndHandle);
}

Integer ShowGlowEffectByMask(const TRect& R, const std::vector<Integer>& MaskIndexes, Integer Margin, Byte Alpha,
                             HWND WndHandle, TsCommonData* SkinData)
{
    if (MaskIndexes.empty() || MaskIndexes[0] < 0)
        return -1;
    if (!LayeredWindowsAvailable() || !SkinData || GetCapture())
        return -1;
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (!manager)
        return -1;
    TOwned<TacGlowEffect> glow(New<TacGlowEffect>(manager, SkinData));
    glow->MaskIndex = MaskIndexes[0];
    return AddGlow(std::move(glow), R, Margin, Alpha, WndHandle);
}

void HideGlowEffect(Integer& ID, bool Animate)
{
    if (!ValidGlow(ID))
        return;
    TacGlowEffect& glow = *glows[ID];
    TsCommonData* data = glow.SkinData;
    if (Animate && data && glow.SkinManager && glow.SkinManager->Effects()->AllowAnimation &&
        !(Application && Application->Terminated()) && (!data->AnimTimer || data->AnimTimer->ThreadType == 1)) {
        TComponent* owner = data->FOwnerControl;
        const Integer steps = PrepareAnimTimer(data->AnimTimer, owner, 1);
        TacThreadedTimer* timer = data->AnimTimer;
        if (timer->State != 0) {
            timer->InitData(data, steps, GlowFadeStep, 0, false);
            timer->TimeHandler();
        }
        return;
    }
    glows[ID].reset();
    ID = -1;
    if (data)
        data->StopAnimation();
}

void SetGlowAlpha(Integer ID, Byte Alpha)
{
    if (!ValidGlow(ID))
        return;
    TacGlowEffect& glow = *glows[ID];
    if (glow.Wnd && glow.Wnd->HandleAllocated())
        PaintLayeredWindow(glow.Wnd->GetHandle(), glow.AlphaBmp.get(), Alpha, nullptr);
}

namespace {

// The hover glow of the common message handling fades in on the control's timer.
void StartGlowFade(TsCommonData* SkinData)
{
    AnimateStateChange(SkinData, 1, GlowFadeStep, true, false, false);
}

} // namespace

void acGlow_Initialize()
{
    ClearGlowEffectsProc = ClearGlowList;
    HideGlowEffectProc = HideGlowEffect;
    ShowGlowEffectProc = ShowGlowEffect;
    StartGlowFadeProc = StartGlowFade;
}

void acGlow_Finalize()
{
    ClearGlowList(false);
    ClearGlowEffectsProc = nullptr;
    HideGlowEffectProc = nullptr;
    ShowGlowEffectProc = nullptr;
    StartGlowFadeProc = nullptr;
}
