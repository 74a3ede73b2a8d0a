#include "acProviderServices.h"
#include "Forms.h"
#include "ScopeExit.h"
#include "sAlphaGraph.h"
#include "sWindowHelpers.h"

int MaximizedTitleHeight = 0;
std::vector<TacProvider*> DialogProviders;
TsAlphaHints* AlphaHints = nullptr;
TClearGlowEffects ClearGlowEffectsProc = nullptr;
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
