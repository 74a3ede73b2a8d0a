#include "acProviderServices.h"
#include "Forms.h"
#include "ScopeExit.h"

int MaximizedTitleHeight = 0;
std::vector<TacProvider*> DialogProviders;
TsAlphaHints* AlphaHints = nullptr;
TClearGlowEffects ClearGlowEffectsProc = nullptr;
TResolveParentSkinIndex ResolveParentSkinIndexProc = nullptr;

int ResolveParentSkinIndex(TControl* Control, int SkinIndex, TsSkinManager* Manager, int State)
{
    return ResolveParentSkinIndexProc ? ResolveParentSkinIndexProc(Control, SkinIndex, Manager, State) : SkinIndex;
}

void ClearGlowEffects(bool DestroyWnd)
{
    if (ClearGlowEffectsProc)
        ClearGlowEffectsProc(DestroyWnd);
}

// ---------------------------------------------------------------------------
TacThreadedTimer::TacThreadedTimer(TComponent* AOwner) : TComponent(AOwner)
{
    if (Application && Application->Terminated())
        return;
    timer_.reset(New<TTimer>(nullptr));
    timer_->SetEnabled(false);
    timer_->SetInterval(interval_);
    timer_->OnTimer = [this](TObject*) { TimeHandler(); };
}

TacThreadedTimer::~TacThreadedTimer()
{
    enabled_ = false;
    if (timer_)
        timer_->SetEnabled(false);
}

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

void TacThreadedTimer::Rearm()
{
    if (!timer_)
        return;
    timer_->SetEnabled(false);
    if (interval_ > 0 && enabled_ && onTimer_)
        timer_->SetEnabled(true);
}

void TacThreadedTimer::TimeHandler()
{
    // A handler that runs the message loop must not be entered again by the next tick.
    if (executing_ || !enabled_ || !onTimer_)
        return;
    executing_ = true;
    const TScopeExit done([this] { executing_ = false; });
    // A copy: the handler may replace itself.
    const TNotifyEvent handler = onTimer_;
    handler(this);
}
