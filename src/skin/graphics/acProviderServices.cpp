#include "acProviderServices.h"
#include "Forms.h"
#include "ScopeExit.h"
#include "sAlphaGraph.h"
#include "sWindowHelpers.h"
#include "sGraphUtils.h"
#include "sMessages.h"
#include <algorithm>
#include <cmath>

int MaximizedTitleHeight = 0;
std::vector<TacProvider*> DialogProviders;
TsAlphaHints* AlphaHints = nullptr;
TClearGlowEffects ClearGlowEffectsProc = nullptr;
THideGlowEffect HideGlowEffectProc = nullptr;
TShowGlowEffect ShowGlowEffectProc = nullptr;
TStartGlowFade StartGlowFadeProc = nullptr;
bool SystemShuttingDown = false;
TResolveParentSkinIndex ResolveParentSkinIndexProc = nullptr;
TReadAnimSetting ReadAnimSettingProc = nullptr;
TCreateSnapshotForm CreateSnapshotFormProc = nullptr;

int ResolveParentSkinIndex(TControl* Control, int SkinIndex, TsSkinManager* Manager, int State)
{
    return ResolveParentSkinIndexProc ? ResolveParentSkinIndexProc(Control, SkinIndex, Manager, State) : SkinIndex;
}

void ClearGlowEffects(bool DestroyWnd)
{
    if (ClearGlowEffectsProc)
        ClearGlowEffectsProc(DestroyWnd);
}

TacAnimSetting ReadAnimSetting(const TsSkinManager* Manager, TacAnimKind Kind)
{
    return ReadAnimSettingProc && Manager ? ReadAnimSettingProc(Manager, Kind) : TacAnimSetting{};
}

TacGlowForm* CreateSnapshotForm(HWND Wnd)
{
    if (CreateSnapshotFormProc)
        return CreateSnapshotFormProc(Wnd);
    RECT r;
    GetWindowRect(Wnd, &r);
    TOwned<TacGlowForm> snapshot(New<TacGlowForm>(nullptr));
    snapshot->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    TOwned<TBitmap> image(MakeBitmap32(r.right - r.left, r.bottom - r.top));
    {
        const TWindowDC source(Wnd, true);
        BitBlt(image->GetCanvas()->GetHandle(), 0, 0, image->GetWidth(), image->GetHeight(), source.Get(), 0, 0,
               SRCCOPY);
    }
    SetBitmap32Alpha(image.get(), TRect(0, 0, image->GetWidth(), image->GetHeight()), 255, clNone);
    HWND wnd = snapshot->GetHandle();
    SetWindowLongW(wnd, GWL_EXSTYLE, GetWindowLongW(wnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE);
    PaintLayeredWindow(wnd, image.get(), 255, nullptr);
    SetWindowPos(wnd, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    return snapshot.release();
}

// ---------------------------------------------------------------------------
namespace {

// Rounded to the nearest integer, ties to even.
Integer Nearest(double Value)
{
    return static_cast<Integer>(std::nearbyint(Value));
}

} // namespace

TacThreadedTimer::TacThreadedTimer(TComponent* AOwner) : TComponent(AOwner)
{
    if (Application && Application->Terminated())
        return;
    timer_.reset(New<TTimer>(nullptr));
    timer_->SetEnabled(false);
    timer_->SetInterval(interval_);
    timer_->OnTimer = [this](TObject*) { Tick(); };
}

TacThreadedTimer::TacThreadedTimer(OwnedTag, TComponent* AOwner, bool ChangeEvent) : TacThreadedTimer(AOwner)
{
    SetEnabled(false);
    FOwner = AOwner;
    if (ChangeEvent)
        SetOnTimer([this](TObject*) { TimeHandler(); });
}

TacThreadedTimer::~TacThreadedTimer()
{
    enabled_ = false;
    if (timer_)
        timer_->SetEnabled(false);
    // The tick that runs a step freeing this timer must not touch it afterwards.
    if (alive_)
        *alive_ = false;
    if (auto* data = dynamic_cast<TsCommonData*>(AnimData); data && data->AnimTimer == this)
        data->AnimTimer = nullptr;
    Destroyed = true;
}

// ---------------------------------------------------------------------------
// The parts of the skin state that the animation timer and the glow need.
TsCommonData::~TsCommonData()
{
    // The property goes first, also while the application terminates: the
    // senders would otherwise call into this state after it is freed.
    RemoveCommonProp();
    SkinIndex = -1;
    FSkinManager = nullptr;
    ClearLinks();
    if (AnimTimer && !AnimTimer->Destroyed) {
        TacThreadedTimer* timer = AnimTimer;
        AnimTimer = nullptr;
        timer->AnimData = nullptr;
        timer->Free();
    }
    FreeAndNil(FCacheBmp);
    if (GlowID >= 0 && HideGlowEffectProc)
        HideGlowEffectProc(GlowID, false);
    FreeAndNil(FOuterEffects);
    FreeAndNil(FOuterCache);
}

void TsCommonData::InitCommonProp()
{
    HWND wnd = OwnerHandle();
    if (!wnd)
        return;
    if (auto* provider = dynamic_cast<TsSkinProvider*>(FOwnerObject)) {
        if (TacMainWnd* scrollHandler = provider->ListSW)
            WndProc = [scrollHandler](TMessage& M) { M.Result = scrollHandler->ProcessMessage(M.Msg, M.WParam, M.LParam); };
        else if (!WndProc && FOwnerControl)
            WndProc = FOwnerControl->WindowProc;
    }
    // A state that moved to another window leaves the old one.
    if (PropWnd && PropWnd != wnd)
        RemoveCommonProp();
    SetPropW(wnd, L"ACSDATA", this);
    PropWnd = wnd;
}

void TsCommonData::RemoveCommonProp()
{
    if (PropWnd && IsWindow(PropWnd) && GetPropW(PropWnd, L"ACSDATA") == this)
        RemovePropW(PropWnd, L"ACSDATA");
    PropWnd = nullptr;
}

void TsCommonData::ClearLinks()
{
    FOwnerControl = nullptr;
    FOwnerObject = nullptr;
    FSWHandle = nullptr;
}

HWND TsCommonData::OwnerHandle() const
{
    try {
        if (auto* provider = dynamic_cast<TsSkinProvider*>(FOwnerObject)) {
            if (provider->ComponentState().Contains(csDestroying) || !provider->Form ||
                provider->Form->ComponentState().Contains(csDestroying))
                return nullptr;
            return provider->Form->HandleAllocated() ? provider->Form->GetHandle() : nullptr;
        }
        if (FOwnerControl && !FOwnerControl->ComponentState().Contains(csDestroying)) {
            auto* winControl = dynamic_cast<TWinControl*>(FOwnerControl);
            return winControl && winControl->HandleAllocated() ? winControl->GetHandle() : nullptr;
        }
        return FSWHandle;
    } catch (...) {
        return nullptr;
    }
}

void TsCommonData::Invalidate(bool UpdateNow)
{
    BGChanged = true;
    if (Loading)
        return;
    const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | (UpdateNow ? RDW_UPDATENOW : 0);
    if (auto* provider = dynamic_cast<TsSkinProvider*>(FOwnerObject)) {
        if (provider->Form && provider->Form->HandleAllocated())
            RedrawWindow(provider->Form->GetHandle(), nullptr, nullptr, flags);
        return;
    }
    if (!FOwnerControl || FOwnerControl->ComponentState().Contains(csLoading) ||
        FOwnerControl->ComponentState().Contains(csDestroying))
        return;
    if (auto* winControl = dynamic_cast<TWinControl*>(FOwnerControl)) {
        if (winControl->HandleAllocated())
            RedrawWindow(winControl->GetHandle(), nullptr, nullptr, flags);
    } else if (COC == 92)
        FOwnerControl->Perform(SkinCommandMessage, SkinCommandWParam(SKC_REPAINT), 0);
    else
        FOwnerControl->Repaint();
}

void TsCommonData::StopAnimation()
{
    if (!AnimTimer || AnimTimer->Destroyed || AnimTimer->ComponentState().Contains(csDestroying))
        return;
    AnimTimer->SetEnabled(false);
    AnimTimer->State = -1;
    AnimTimer->BmpTo.reset();
    AnimTimer->BmpFrom.reset();
    AnimTimer->BmpOut.reset();
}

bool TsCommonData::IsAnimating() const
{
    return AnimTimer && AnimTimer->GetEnabled();
}

// ---------------------------------------------------------------------------
void TacThreadedTimer::SetEnabled(bool Value)
{
    if (enabled_ != Value) {
        enabled_ = Value;
        Rearm();
    }
}

void TacThreadedTimer::SetInterval(Cardinal Value)
{
    if (interval_ != Value) {
        interval_ = Value;
        if (timer_)
            timer_->SetInterval(Value);
        Rearm();
    }
}

void TacThreadedTimer::SetOnTimer(TNotifyEvent Value)
{
    onTimer_ = std::move(Value);
    Rearm();
}

void TacThreadedTimer::SetThreadPriority(TThreadPriority Value)
{
    // No thread runs: the priority only re-arms the timer.
    if (priority_ != Value) {
        priority_ = Value;
        Rearm();
    }
}

void TacThreadedTimer::Reset()
{
    if (Destroyed || (Application && Application->Terminated()))
        return;
    timer_.reset(New<TTimer>(nullptr));
    timer_->SetEnabled(false);
    timer_->SetInterval(interval_);
    timer_->OnTimer = [this](TObject*) { Tick(); };
    Rearm();
}

void TacThreadedTimer::Rearm()
{
    if (!timer_)
        return;
    timer_->SetEnabled(false);
    if (interval_ > 0 && enabled_ && (onTimer_ || AnimProc))
        timer_->SetEnabled(true);
}

void TacThreadedTimer::Tick()
{
    // A handler that runs the message loop must not be entered again by the next tick.
    if (Executing || Destroyed || !timer_ || !timer_->GetEnabled())
        return;
    bool alive = true;
    alive_ = &alive;
    Executing = true;
    const TScopeExit done([this, &alive] {
        if (alive) {
            Executing = false;
            alive_ = nullptr;
        }
    });
    if (!enabled_)
        return;
    if (AnimProc) {
        ++Iteration;
        if (Iteration > Iterations)
            SetEnabled(false);
        else
            AnimProc(AnimData, Iteration);
    } else if (onTimer_) {
        // A copy: the handler may replace itself.
        const TNotifyEvent handler = onTimer_;
        handler(this);
    }
}

void TacThreadedTimer::TimeHandler()
{
    if (!enabled_ || !AnimProc || Destroyed)
        return;
    bool alive = true;
    bool* const outer = alive_;
    alive_ = &alive;
    const bool more = AnimProc(AnimData, Iteration);
    if (!alive) {
        // Freed by its own step: tell the tick that serves it, if any.
        if (outer)
            *outer = false;
        return;
    }
    alive_ = outer;
    if (!more) {
        SetEnabled(false);
        State = -1;
    }
}

void TacThreadedTimer::CopyFrom(TOwned<TBitmap>& DstBmp, TBitmap* SrcBmp, const TRect& R)
{
    const int width = std::max<int>(0, R.Width());
    const int height = std::max<int>(0, R.Height());
    if (!DstBmp)
        DstBmp.reset(MakeBitmap32(width, height));
    else {
        DstBmp->SetPixelFormat(pf32bit);
        DstBmp->SetSize(width, height);
    }
    if (SrcBmp && width > 0 && height > 0)
        BitBlt(DstBmp->GetCanvas()->GetHandle(), 0, 0, width, height, SrcBmp->GetCanvas()->GetHandle(), R.left, R.top,
               SRCCOPY);
}

void TacThreadedTimer::InitData(TObject* AData, Integer AIteration, TacAnimProc AAnimProc, Integer AState, bool AFast)
{
    const Integer previous = State;
    SetEnabled(false);
    AnimData = AData;
    Value = 0;
    // A level that is not a number or below 0 starts from 0.
    Glow = Glow >= 0 ? std::min(Glow, 255.0) : 0;
    Iterations = AFast ? 3 : 6;
    if (AState == 0) {
        Iterations *= 2;
        GlowStep = Glow / Iterations;
    } else if (AState == 2)
        GlowStep = Glow / Iterations;
    else {
        Iterations = previous > 0 ? 6 : Nearest((255 - Glow) * 6 / 255);
        Iterations = std::max(Iterations, 1);
        GlowStep = (255 - Glow) / Iterations;
    }
    ValueStep = (255 - Value) / Iterations;
    // Restarted from the frame now on screen.
    if ((AState == 2 || (AState == 1 && previous == 2)) && BmpOut)
        CopyFrom(BmpFrom, BmpOut.get(), TRect(0, 0, BmpOut->GetWidth(), BmpOut->GetHeight()));
    if (AState == 1 && previous < 1)
        Iteration = Nearest(6 * Glow / 255);
    else if (AState == 0 && previous == 1)
        Iteration = Glow == 0 ? 0 : Nearest((255 - Glow) * Iterations / 255);
    else
        Iteration = BmpOut ? 0 : AIteration;
    SetInterval(12);
    AnimProc = AAnimProc;
    OldState = previous;
    State = AState;
    SetEnabled(true);
}
