// A state change of a skinned control cross-fades its old image (the cache
// before the change) into its new one (the cache rebuilt), painting each
// frame straight into the window DC. Both directions blend from the old
// image to the new one; the level Glow runs up to 255 towards hot and down
// to 0 back to normal, and doubles as the alpha of the control's glow.
#include "acThdTimer.h"
#include "StdCtrls.h"
#include "acGlow.h"
#include "sGraphUtils.h"
#include "sMessages.h"
#include "sSkinManager.h"
#include "sVclUtils.h"
#include <algorithm>
#include <cmath>

namespace {

Byte LevelByte(double Level)
{
    return static_cast<Byte>(std::clamp(static_cast<int>(std::nearbyint(Level)), 0, 255));
}

// Every frame blends at most 255 levels; a step of 0 must not spin for ever.
constexpr int MaxFadeFrames = 256;

// Paints the next frame of Timer into Wnd's window DC; answers its level.
Byte PaintFrame(TacThreadedTimer& Timer, TsCommonData& Data, HWND Wnd, int Width, int Height)
{
    if (!Timer.BmpOut)
        Timer.BmpOut.reset(MakeBitmap32(Width, Height));
    else if (Data.FCacheBmp)
        Timer.BmpOut->SetSize(Data.FCacheBmp->GetWidth(), Data.FCacheBmp->GetHeight());
    TBitmap* out = Timer.BmpOut.get();
    if (Timer.BmpFrom)
        BitBlt(out->GetCanvas()->GetHandle(), 0, 0, out->GetWidth(), out->GetHeight(),
               Timer.BmpFrom->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    switch (Timer.State) {
    case 0:
    case 2:
        Timer.Glow -= Timer.GlowStep;
        break;
    case 1:
        Timer.Glow += Timer.GlowStep;
        break;
    default:
        Timer.Glow = 255 - static_cast<double>(Timer.Iteration) / Timer.Iterations * 255;
        break;
    }
    const Byte level = LevelByte(Timer.Glow);
    if (Timer.BmpTo && out->GetWidth() > 0 && out->GetHeight() > 0) {
        const int w = std::min(out->GetWidth(), Timer.BmpTo->GetWidth());
        const int h = std::min(out->GetHeight(), Timer.BmpTo->GetHeight());
        if (w > 0 && h > 0)
            BlendRectUniform(out, Timer.BmpTo.get(), Timer.State == 1 ? 255 - level : level, TPoint(0, 0),
                             TRect(0, 0, w - 1, h - 1));
    }
    const TWindowDC dc(Wnd, true);
    // Frames are copied pixel for pixel, whatever the window's layout.
    SetLayout(dc.Get(), 0);
    BitBlt(dc.Get(), 0, 0, out->GetWidth(), out->GetHeight(), out->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    return level;
}

} // namespace

Integer PrepareAnimTimer(TacThreadedTimer*& Timer, TComponent* Owner, Integer NewState)
{
    if (Timer)
        return std::max((Timer->State == 0 ? 12 : 6) - Timer->Iteration, 0);
    Timer = New<TacThreadedTimer>(Owner);
    if (NewState == 0)
        Timer->Glow = 255;
    return 0;
}

void ShowControlGlow(TsCommonData* SkinData, Byte Alpha)
{
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (!manager || !manager->Effects()->AllowGlowing || !manager->IsValidSkinIndex(SkinData->SkinIndex) ||
        SkinData->GlowID >= 0 || GetCapture())
        return;
    const TsGeneralData& section = manager->gd[SkinData->SkinIndex];
    if (section.GlowCount < 1)
        return;
    TControl* control = SkinData->FOwnerControl;
    HWND top = nullptr;
    TRect r;
    if (auto* winControl = dynamic_cast<TWinControl*>(control)) {
        if (!winControl->HandleAllocated())
            return;
        HWND wnd = winControl->GetHandle();
        RECT window, clip;
        GetWindowRect(wnd, &window);
        {
            const TWindowDC dc(wnd, true);
            GetClipBox(dc.Get(), &clip);
        }
        OffsetRect(&clip, window.left, window.top);
        IntersectRect(&window, &window, &clip);
        r = TRect(window.left, window.top, window.right, window.bottom);
        top = GetAncestor(wnd, GA_ROOT);
    } else if (control && control->GetParent() && control->GetParent()->HandleAllocated()) {
        HWND parent = control->GetParent()->GetHandle();
        POINT origin{control->GetLeft(), control->GetTop()};
        ClientToScreen(parent, &origin);
        RECT bounds{origin.x, origin.y, origin.x + control->GetWidth(), origin.y + control->GetHeight()};
        RECT client;
        GetClientRect(parent, &client);
        MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
        IntersectRect(&bounds, &bounds, &client);
        r = TRect(bounds.left, bounds.top, bounds.right, bounds.bottom);
        top = GetAncestor(parent, GA_ROOT);
    } else
        return;
    SkinData->GlowID = ShowGlowEffect(r, section.ClassName, L"GLOW", section.GlowMargin, Alpha, top, SkinData);
}

void AnimateStateChange(TsCommonData* SkinData, Integer NewState, TacAnimProc AnimProc, bool AllowAnimation,
                        bool Fast, bool ShowGlow)
{
    if (!SkinData)
        return;
    if (!SkinData->Skinned(false)) {
        SkinData->Invalidate(false);
        return;
    }
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (AllowAnimation && !SkinChanging && !SystemShuttingDown && SkinData->FCacheBmp && !SkinData->BGChanged &&
        manager && manager->Effects()->AllowAnimation) {
        if (ShowGlow && NewState < 100 && SkinData->GlowID < 0)
            ShowControlGlow(SkinData, 0);
        SkinData->BGChanged = true;
        StartStateAnimation(SkinData, NewState, AnimProc, Fast);
        return;
    }
    SkinData->BGChanged = true;
    SkinData->Invalidate(false);
    if (!ShowGlow)
        return;
    if (SkinData->FMouseAbove) {
        if (NewState < 100 && SkinData->GlowID < 0)
            ShowControlGlow(SkinData, 255);
    } else
        HideGlowEffect(SkinData->GlowID, false);
}

void StartStateAnimation(TsCommonData* SkinData, Integer NewState, TacAnimProc AnimProc, bool Fast)
{
    TControl* owner = SkinData->FOwnerControl;
    const Integer steps = PrepareAnimTimer(SkinData->AnimTimer, owner, NewState);
    TacThreadedTimer* timer = SkinData->AnimTimer;
    if (timer->State != -1 && timer->State == NewState)
        return;
    TBitmap* cache = SkinData->FCacheBmp;
    if (timer->BmpOut && (timer->BmpOut->GetWidth() != cache->GetWidth() ||
                          timer->BmpOut->GetHeight() != cache->GetHeight()))
        timer->BmpOut.reset();
    const TRect whole(0, 0, cache->GetWidth(), cache->GetHeight());
    TacThreadedTimer::CopyFrom(timer->BmpFrom, cache, whole);
    if (SkinData->BGChanged) {
        const LRESULT answer = owner ? SendControlCommand(owner, SKC_BUILD_CACHE, 0)
                                     : SendWndCommand(SkinData->OwnerHandle(), SKC_BUILD_CACHE, 0);
        if (answer)
            timer->SetEnabled(false);
        if (auto* button = dynamic_cast<TButtonControl*>(owner); button && button->ControlCount() > 0) {
            cache->GetCanvas()->Lock();
            PaintGraphicControlsToDC(cache->GetCanvas()->GetHandle(), button, TPoint(0, 0), true);
            cache->GetCanvas()->Unlock();
        }
    }
    TacThreadedTimer::CopyFrom(timer->BmpTo, cache, TRect(0, 0, cache->GetWidth(), cache->GetHeight()));
    timer->InitData(SkinData, steps, AnimProc, NewState, Fast);
    timer->TimeHandler();
}

bool CrossFadeStep(TObject* Data, Integer Iteration)
{
    (void)Iteration;
    auto* data = dynamic_cast<TsCommonData*>(Data);
    if (!data || !data->AnimTimer || data->AnimTimer->Destroyed)
        return false;
    TacThreadedTimer& timer = *data->AnimTimer;
    HWND wnd = nullptr;
    int width = 0, height = 0;
    if (auto* winControl = dynamic_cast<TWinControl*>(data->FOwnerControl)) {
        wnd = winControl->HandleAllocated() ? winControl->GetHandle() : nullptr;
        width = winControl->GetWidth();
        height = winControl->GetHeight();
    } else if ((wnd = data->OwnerHandle())) {
        RECT r;
        GetWindowRect(wnd, &r);
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
    if (!wnd || timer.Iterations <= 0)
        return false;
    Byte level = PaintFrame(timer, *data, wnd, width, height);
    if (timer.Iteration < timer.Iterations) {
        if (data->GlowID >= 0) {
            SetGlowAlpha(data->GlowID, level);
            if (timer.State == 0 && level < 10) {
                timer.Glow = 0;
                HideGlowEffect(data->GlowID, false);
            }
        }
        return true;
    }
    // Back to normal ends only once the level reached 0, one frame at a time.
    for (int frame = 0; timer.State == 0 && level > 0 && frame < MaxFadeFrames; ++frame) {
        SetGlowAlpha(data->GlowID, level);
        --timer.Iteration;
        level = PaintFrame(timer, *data, wnd, width, height);
    }
    if (timer.State == 0)
        data->StopAnimation();
    if (timer.State != 1)
        HideGlowEffect(data->GlowID, false);
    return false;
}

bool GlowFadeStep(TObject* Data, Integer Iteration)
{
    auto* data = dynamic_cast<TsCommonData*>(Data);
    if (!data || !data->FOwnerControl || data->FOwnerControl->ComponentState().Contains(csDestroying) ||
        !data->AnimTimer || data->AnimTimer->Iterations <= 0)
        return false;
    TacThreadedTimer& timer = *data->AnimTimer;
    if (Iteration >= timer.Iterations) {
        if (timer.State != 1)
            HideGlowEffect(data->GlowID, false);
        if (timer.State == 0)
            data->StopAnimation();
        return false;
    }
    if (data->GlowID >= 0) {
        timer.Glow += timer.State == 1 ? timer.GlowStep : -timer.GlowStep;
        SetGlowAlpha(data->GlowID, LevelByte(timer.Glow));
    }
    return true;
}
