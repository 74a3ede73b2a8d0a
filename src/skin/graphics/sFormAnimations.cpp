#include "sFormAnimations.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "ScopeExit.h"
#include "acntUtils.h"
#include "sAlphaGraph.h"
#include "sSkinImage.h"
#include "sVclUtils.h"
#include "sWindowHelpers.h"
#include <algorithm>
#include <cmath>

bool AnimationRunning = false;
TacHideTimer* HideAnimationTimer = nullptr;

namespace {

constexpr DWORD FrameInterval = 12;

void ShowImage(HWND Wnd, TBitmap* Image, Byte Alpha)
{
    auto update = LayoutBindings().UpdateLayeredWindow;
    if (!update || !Image)
        return;
    BLENDFUNCTION blend;
    InitBlendFunction(blend, Alpha);
    SIZE size{Image->GetWidth(), Image->GetHeight()};
    POINT source{0, 0};
    const TWindowDC screen(nullptr);
    update(Wnd, screen.Get(), nullptr, &size, Image->GetCanvas()->GetHandle(), &source, clNone, &blend, ULW_ALPHA);
}

void DrawFrame(TBitmap* Work, TBitmap* Image, const TShowFrame& Frame, bool FirstFrame, TacAnimType Type)
{
    HDC dc = Work->GetCanvas()->GetHandle(), src = Image->GetCanvas()->GetHandle();
    const int w = Image->GetWidth(), h = Image->GetHeight();
    if (Type == atFading) {
        if (FirstFrame)
            BitBlt(dc, 0, 0, w, h, src, 0, 0, SRCCOPY);
        return;
    }
    if (Frame.Whole) {
        BitBlt(dc, 0, 0, w, h, src, 0, 0, SRCCOPY);
        return;
    }
    FillBitmap32Rect(Work, TRect(0, 0, w, h), 0, 0);
    const int l = static_cast<int>(std::lround(Frame.Left)), t = static_cast<int>(std::lround(Frame.Top));
    const int r = static_cast<int>(std::lround(Frame.Right)), b = static_cast<int>(std::lround(Frame.Bottom));
    if (r > l && b > t)
        StretchBlt(dc, l, t, r - l, b - t, src, 0, 0, w, h, SRCCOPY);
}

int ShowCommand(TCustomForm* Form)
{
    switch (Form->GetWindowState()) {
    case wsMinimized: return SW_SHOWMINNOACTIVE;
    case wsMaximized: return SW_SHOWMAXIMIZED;
    default: return SW_SHOWNORMAL;
    }
}

// Layering back as the form wants it once the copy is gone.
void RestoreLayering(TCustomForm* Form)
{
    HWND wnd = Form->GetHandle();
    if (Form->GetAlphaBlend()) {
        SetWindowLayered(wnd, true, Form->GetAlphaBlendValue());
        return;
    }
    if (IsAeroEnabled())
        SetWindowLayered(wnd, true, 255);
    SetWindowLongW(wnd, GWL_EXSTYLE, GetWindowLongW(wnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
}

} // namespace

// ---------------------------------------------------------------------------
std::vector<TShowFrame> ShowAnimationFrames(TacAnimType Type, int Width, int Height, int Frames, Byte FinalAlpha,
                                            bool Dialog)
{
    std::vector<TShowFrame> frames;
    if (Frames <= 0)
        return frames;
    const double w = Width, h = Height;
    const double step = Dialog ? double(FinalAlpha) / (Frames + 1) : double(FinalAlpha) / Frames;
    double opacity = 0;
    double l = 0, t = 0, r = w, b = h, dx = 0, dy = 0;
    switch (Type) {
    case atAero:
        l = w / 32, t = h / 32, r = w - w / 32, b = h - h / 32;
        dx = (w / 32) / Frames, dy = (h / 32) / Frames;
        break;
    case atDropDown:
        b = 0, dy = h / 2;
        break;
    case atFading:
        break;
    }
    for (int i = 0; i <= Frames; ++i) {
        TShowFrame f;
        if (Type == atDropDown) {
            opacity = 255;
        } else {
            opacity = std::min<double>(FinalAlpha, opacity + step);
        }
        f.Opacity = static_cast<Byte>(std::lround(opacity));
        f.Left = l, f.Top = t, f.Right = r, f.Bottom = b;
        f.Whole = Type == atAero && (l < 0 || t < 0);
        frames.push_back(f);
        if (Type == atAero) {
            l -= dx, t -= dy, r += dx, b += dy;
        } else if (Type == atDropDown) {
            r = w - dx, b = h - dy;
            const bool stop = dx < 2 && dy < 2;
            dx /= 2, dy /= 2;
            if (stop)
                break;
        }
    }
    return frames;
}

void ShowFormAnimated(TsSkinProvider* Provider, Word Duration, Byte FinalAlpha, TacAnimType Type)
{
    if (!Provider || !Provider->FCommonData || !Provider->Form || Provider->Form->GetWindowState() == wsMinimized)
        return;
    TCustomForm* form = Provider->Form;
    AnimationRunning = true;
    // A flag left set would stop the library's broadcasts for good.
    const TScopeExit running([] { AnimationRunning = false; });
    TacBorderForm* border = Provider->BorderForm;
    TacGlowForm* copy = nullptr;
    TOwned<TacGlowForm> ownCopy;
    if (border) {
        if (!border->AForm)
            border->CreateNewForm();
        copy = border->AForm;
        SetWindowRgn(copy->GetHandle(), nullptr, FALSE);
        border->PaintAll();
    } else {
        Provider->PaintAll();
        ownCopy.reset(New<TacGlowForm>(Application));
        copy = ownCopy.get();
    }
    TBitmap* cache = Provider->FCommonData->FCacheBmp;
    if (!cache || !copy)
        return;
    TOwned<TBitmap> image(MakeBitmap32(cache->GetWidth(), cache->GetHeight()));
    PaintControlToBitmap(image.get(), form, 0, 0, Provider, false);
    RECT place;
    if (border) {
        GetWindowRect(copy->GetHandle(), &place);
    } else {
        SetBitmap32Alpha(image.get(), BitmapRect(image.get()), 255, clNone);
        GetWindowRect(form->GetHandle(), &place);
        Provider->FindTransparentCorners();
        ClearBitmapRects(Provider->Rects, image.get());
    }
    HWND copyWnd = copy->GetHandle(), formWnd = form->GetHandle();
    SetWindowLongW(copyWnd, GWL_EXSTYLE, GetWindowLongW(copyWnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_LAYERED);
    const int frames = Duration / FrameInterval;
    ShowImage(copyWnd, image.get(), frames > 0 ? 0 : FinalAlpha);
    const bool topMost = form->GetFormStyle() == fsStayOnTop;
    SetWindowPos(copyWnd, topMost ? HWND_TOPMOST : formWnd, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (frames > 0) {
        TOwned<TBitmap> work(MakeBitmap32(image->GetWidth(), image->GetHeight()));
        SetStretchBltMode(work->GetCanvas()->GetHandle(), COLORONCOLOR);
        const auto steps = ShowAnimationFrames(Type, image->GetWidth(), image->GetHeight(), frames, FinalAlpha, false);
        for (std::size_t i = 0; i < steps.size(); ++i) {
            DrawFrame(work.get(), image.get(), steps[i], i == 0, Type);
            const DWORD start = GetTickCount();
            ShowImage(copyWnd, work.get(), steps[i].Opacity);
            WaitUntilTick(start, FrameInterval);
        }
    }
    SetWindowPos(copyWnd, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOACTIVATE | SWP_NOZORDER);
    ShowImage(copyWnd, image.get(), FinalAlpha);

    Provider->FInAnimation = false;
    SetWindowLayered(formWnd, true, 0);
    ShowWindow(formWnd, ShowCommand(form));
    SetWindowPos(formWnd, copyWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
    RestoreLayering(form);
    AnimationRunning = false;
    if (border) {
        border->ExBorderShowing = true;
        Provider->ApplyFormRegion(false, true);
    }
    RedrawWindow(formWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (border)
        border->ExBorderShowing = false;
    image.reset();
    if (IsAeroEnabled())
        Sleep(24);
    SetWindowPos(copyWnd, formWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (border) {
        SetWindowRgn(copyWnd, border->MakeRgn(), TRUE);
        if (DefaultManager && (DefaultManager->CommonSkinData.UseAeroBluring ||
                               (DefaultManager->SysFontScale > 0 && WinVersionLevel > 7)))
            border->UpdateExBordersPos(true, 255);
        RestoreLayering(form);
    }
    ownCopy.reset();
    if (Provider->OnAfterAnimation)
        Provider->OnAfterAnimation(aeShowing);
}

// ---------------------------------------------------------------------------
TacHideTimer::TacHideTimer(TComponent* AOwner) : TacThreadedTimer(AOwner)
{
    FBlend.BlendOp = AC_SRC_OVER;
    FBlend.AlphaFormat = AC_SRC_ALPHA;
}

TacHideTimer::~TacHideTimer()
{
    // The event fires once per hide even when the timer goes first.
    CallEvent();
    FreeAndNil(SrcBmp);
    FreeAndNil(DstBmp);
    FreeAndNil(Form);
    if (HideAnimationTimer == this)
        HideAnimationTimer = nullptr;
}

void TacHideTimer::Anim_Init()
{
    Trans = StartBlendValue;
    p = StepCount > 0 ? double(StartBlendValue) / StepCount : StartBlendValue;
    const double w = FBmpSize.cx, h = FBmpSize.cy;
    l = t = r = b = dx = dy = 0;
    switch (AnimType) {
    case atAero:
        r = w, b = h;
        dx = -w / (StepCount * 32.0), dy = -h / (StepCount * 32.0);
        break;
    case atDropDown:
        r = w, b = h, dy = h / 2;
        break;
    case atFading:
        break;
    }
}

void TacHideTimer::Anim_DoNext()
{
    Trans = std::max(0.0, Trans - p);
    FBlend.SourceConstantAlpha = static_cast<Byte>(std::lround(Trans));
    if (!SrcBmp || !DstBmp)
        return;
    HDC dc = DstBmp->GetCanvas()->GetHandle(), src = SrcBmp->GetCanvas()->GetHandle();
    const int w = FBmpSize.cx, h = FBmpSize.cy;
    const TShowFrame frame{l, t, r, b, 0, false};
    switch (AnimType) {
    case atAero:
        if (l >= 0 && t >= 0) {
            FillBitmap32Rect(DstBmp, TRect(0, 0, w, h), 0, 255);
            SetStretchBltMode(dc, COLORONCOLOR);
            DrawFrame(DstBmp, SrcBmp, frame, false, atAero);
        } else {
            BitBlt(dc, 0, 0, w, h, src, 0, 0, SRCCOPY);
        }
        break;
    case atDropDown:
        if (std::lround(b) != h) {
            SetStretchBltMode(dc, COLORONCOLOR);
            DrawFrame(DstBmp, SrcBmp, frame, false, atDropDown);
        } else {
            BitBlt(dc, 0, 0, w, h, src, 0, 0, SRCCOPY);
        }
        break;
    case atFading:
        if (i == 0)
            BitBlt(dc, 0, 0, w, h, src, 0, 0, SRCCOPY);
        break;
    }
}

bool TacHideTimer::Anim_GoToNext()
{
    switch (AnimType) {
    case atAero:
        l -= dx, t -= dy, r += dx, b += dy;
        return true;
    case atDropDown:
        b /= 2;
        return b >= 2;
    default:
        return true;
    }
}

void TacHideTimer::CallEvent()
{
    if (EventCalled || !ParentWnd)
        return;
    EventCalled = true;
    if (!IsWindow(ParentWnd))
        return;
    auto* provider = reinterpret_cast<TsSkinProvider*>(SendWndCommand(ParentWnd, SKC_QUERY_PROVIDER, 0));
    if (provider && provider->OnAfterAnimation)
        provider->OnAfterAnimation(aeHiding);
}

void TacHideTimer::OnTimerProc(TObject*)
{
    if (!Form)
        return;
    bool more = true;
    if (i <= StepCount) {
        Anim_DoNext();
        if (Form->HandleAllocated() && DstBmp) {
            // A fresh screen DC for each step, released before the next.
            const TWindowDC screen(nullptr);
            POINT source{0, 0};
            if (auto update = LayoutBindings().UpdateLayeredWindow)
                update(Form->GetHandle(), screen.Get(), nullptr, &FBmpSize, DstBmp->GetCanvas()->GetHandle(), &source,
                       clNone, &FBlend, ULW_ALPHA);
        }
        more = Anim_GoToNext();
        ++i;
    }
    if (!more || i > StepCount)
        Finish();
}

void TacHideTimer::Finish()
{
    i = StepCount + 1;
    SetEnabled(false);
    CallEvent();
    SetOnTimer(nullptr);
    SetInterval(65535);
    FreeAndNil(Form);
    FreeAndNil(SrcBmp);
    FreeAndNil(DstBmp);
}

void RunHideAnimation(TacGlowForm* Window, TBitmap* Image, Word Duration, HWND ParentWnd, TacAnimType Type,
                      Byte StartAlpha)
{
    // A hide over a running one ends it first: its event, window and bitmaps.
    if (HideAnimationTimer && HideAnimationTimer->Form)
        HideAnimationTimer->Finish();
    const int steps = Duration / FrameInterval;
    if (steps == 0 || !Window || !Image) {
        FreeAndNil(Window);
        FreeAndNil(Image);
        return;
    }
    if (!HideAnimationTimer)
        HideAnimationTimer = New<TacHideTimer>(Application);
    TacHideTimer* timer = HideAnimationTimer;
    timer->ParentWnd = ParentWnd;
    timer->EventCalled = false;
    timer->i = 0;
    if (timer->SrcBmp != Image)
        FreeAndNil(timer->SrcBmp);
    timer->SrcBmp = Image;
    timer->StartBlendValue = StartAlpha;
    timer->Form = Window;
    timer->AnimType = Type;
    timer->SetInterval(FrameInterval);
    timer->StepCount = steps;
    timer->FBmpSize = SIZE{Image->GetWidth(), Image->GetHeight()};
    timer->FBlend.SourceConstantAlpha = StartAlpha;
    HWND wnd = Window->GetHandle();
    SetWindowLongW(wnd, GWL_EXSTYLE, GetWindowLongW(wnd, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_NOACTIVATE);
    ShowImage(wnd, Image, StartAlpha);
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    if (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST)
        SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    FreeAndNil(timer->DstBmp);
    timer->DstBmp = MakeBitmap32(Image->GetWidth(), Image->GetHeight());
    timer->Anim_Init();
    if (Application && Application->Terminated()) {
        while (timer->Form) {
            const DWORD start = GetTickCount();
            timer->OnTimerProc(timer);
            WaitUntilTick(start, FrameInterval);
        }
        return;
    }
    timer->SetOnTimer([timer](TObject* Sender) { timer->OnTimerProc(Sender); });
    timer->OnTimerProc(timer);
    if (timer->Form)
        timer->SetEnabled(true);
}
