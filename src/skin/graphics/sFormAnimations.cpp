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

// The frames of a showing animation in Wnd, 12 ms apart (a busy wait: no
// message is handled meanwhile). EachFrame runs after a frame is shown.
void RunShowFrames(HWND Wnd, TBitmap* Image, TacAnimType Type, int Frames, Byte FinalAlpha, bool Dialog,
                   const std::function<void(const TShowFrame&)>& EachFrame = nullptr)
{
    if (Frames <= 0)
        return;
    TOwned<TBitmap> work(MakeBitmap32(Image->GetWidth(), Image->GetHeight()));
    SetStretchBltMode(work->GetCanvas()->GetHandle(), COLORONCOLOR);
    const auto steps = ShowAnimationFrames(Type, Image->GetWidth(), Image->GetHeight(), Frames, FinalAlpha, Dialog);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        DrawFrame(work.get(), Image, steps[i], i == 0, Type);
        const DWORD start = GetTickCount();
        ShowImage(Wnd, work.get(), steps[i].Opacity);
        if (EachFrame)
            EachFrame(steps[i]);
        WaitUntilTick(start, FrameInterval);
    }
}

TBitmap* CopyOfImage(TBitmap* Source)
{
    TBitmap* copy = MakeBitmap32(Source->GetWidth(), Source->GetHeight());
    BitBlt(copy->GetCanvas()->GetHandle(), 0, 0, Source->GetWidth(), Source->GetHeight(),
           Source->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    return copy;
}

// The border form's layered window, given back its own procedure and owner
// and detached from the border form (made first when missing).
TacGlowForm* TakeBorderWindow(TacBorderForm* Border)
{
    if (!Border->AForm)
        Border->CreateNewForm();
    TacGlowForm* wnd = Border->AForm;
    Border->AForm = nullptr;
    if (!wnd)
        return nullptr;
    if (Border->ParentHandle)
        SetWindowLongPtrW(wnd->GetHandle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Border->ParentHandle));
    if (Border->OldBorderProc)
        wnd->WindowProc = Border->OldBorderProc;
    return wnd;
}

TsSkinManager* ManagerOf(TsCommonData* Data)
{
    return Data ? Data->GetSkinManager() : DefaultManager;
}

constexpr UINT FullRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW;

void PlaceRightBehind(HWND Wnd, HWND Above)
{
    SetWindowPos(Wnd, Above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Directly above Wnd in z-order: behind the window that precedes it.
void PlaceDirectlyAbove(HWND Wnd, HWND Below)
{
    HWND previous = GetWindow(Below, GW_HWNDPREV);
    if (previous == Wnd)
        return;
    SetWindowPos(Wnd, previous ? previous : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
    RunShowFrames(copyWnd, image.get(), Type, frames, FinalAlpha, false);
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
    RedrawWindow(formWnd, nullptr, nullptr, FullRedraw);
    if (border)
        border->ExBorderShowing = false;
    image.reset();
    if (IsAeroEnabled())
        Sleep(24);
    PlaceRightBehind(copyWnd, formWnd);
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

// ---------------------------------------------------------------------------
// Hiding: the copy window and the image go to the hide timer.

void HideFormAnimated(TsSkinProvider* Provider)
{
    ClearGlowEffects(true);
    if (!Provider || !Provider->Form || !Provider->FCommonData || !Provider->FCommonData->FCacheBmp ||
        Provider->Form->GetFormStyle() == fsMDIChild)
        return;
    TCustomForm* form = Provider->Form;
    const Byte startAlpha = form->GetAlphaBlend() ? form->GetAlphaBlendValue() : 255;
    AnimationRunning = true;
    const TScopeExit running([] { AnimationRunning = false; });
    if (!(Provider->GetFormState() & 0x200))
        Provider->PaintAll();
    TBitmap* cache = Provider->FCommonData->FCacheBmp;
    if (!cache)
        return;
    HWND formWnd = form->GetHandle();
    TacBorderForm* border = Provider->BorderForm;
    TOwned<TacGlowForm> copy;
    TOwned<TBitmap> image;
    if (border) {
        copy.reset(TakeBorderWindow(border));
        image.reset(CopyOfImage(cache));
        if (IsAeroEnabled())
            SetWindowLayered(formWnd, true, 1);
        else
            SetWindowPos(formWnd, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    } else {
        copy.reset(Provider->CoverForm ? Provider->CoverForm : CreateSnapshotForm(formWnd));
        Provider->CoverForm = nullptr;
        SetWindowLayered(formWnd, true, 1);
        image.reset(CopyOfImage(cache));
        ClearBitmapRects(Provider->Rects, image.get());
    }
    const TacAnimSetting hiding = ReadAnimSetting(ManagerOf(Provider->FCommonData), akFormHide);
    RunHideAnimation(copy.release(), image.release(), hiding.Time, formWnd, hiding.Mode, startAlpha);
    SetWindowLayered(formWnd, startAlpha != 255, startAlpha);
    if (border && Application && Application->Terminated())
        FreeAndNil(Provider->BorderForm);
    FreeAndNil(Provider->CoverForm);
}

void HideDialogAnimated(TacDialogWnd* Dlg)
{
    if (!Dlg || !Dlg->SkinData || !Dlg->SkinData->FCacheBmp)
        return;
    AnimationRunning = true;
    const TScopeExit running([] { AnimationRunning = false; });
    ClearGlowEffects(false);
    TOwned<TacGlowForm> copy;
    TOwned<TBitmap> image(CopyOfImage(Dlg->SkinData->FCacheBmp));
    if (Dlg->BorderForm) {
        copy.reset(TakeBorderWindow(Dlg->BorderForm));
    } else {
        copy.reset(Dlg->CoverForm ? Dlg->CoverForm : CreateSnapshotForm(Dlg->CtrlHandle));
        Dlg->CoverForm = nullptr;
        ClearBitmapRects(Dlg->ArOR, image.get());
    }
    const TacAnimSetting hiding = ReadAnimSetting(ManagerOf(Dlg->SkinData), akDialogHide);
    RunHideAnimation(copy.release(), image.release(), hiding.Time, nullptr, hiding.Mode, 255);
    FreeAndNil(Dlg->BorderForm);
}

// ---------------------------------------------------------------------------
// Dialogs.

void PaintDialogToBitmap(TacDialogWnd* Dlg, TBitmap* Bmp, bool FromScreen)
{
    if (!Dlg || !Bmp || !IsWindow(Dlg->CtrlHandle))
        return;
    RECT client;
    GetClientRect(Dlg->CtrlHandle, &client);
    const int x = Dlg->OffsetX(), y = Dlg->OffsetY();
    const TRect part(x, y, x + client.right, y + client.bottom);
    HDC dc = Bmp->GetCanvas()->GetHandle();
    if (FromScreen) {
        // The client area's place inside the window, as the window DC counts.
        RECT window;
        POINT origin{0, 0};
        GetWindowRect(Dlg->CtrlHandle, &window);
        ClientToScreen(Dlg->CtrlHandle, &origin);
        const TWindowDC source(Dlg->CtrlHandle, true);
        BitBlt(dc, x, y, client.right, client.bottom, source.Get(), origin.x - window.left, origin.y - window.top,
               SRCCOPY);
        TRect inside;
        const TRect whole = BitmapRect(Bmp);
        if (IntersectRect(&inside, &part, &whole))
            SetBitmap32Alpha(Bmp, inside, 255, clNone);
        return;
    }
    if (Dlg->Provider) {
        const TSavedDC saved(dc);
        SetViewportOrgEx(dc, x, y, nullptr);
        IntersectClipRect(dc, 0, 0, client.right, client.bottom);
        Dlg->Provider->PrintHwndControls(Dlg->CtrlHandle, dc);
    }
    if (Dlg->BorderForm) {
        TRect inside;
        const TRect whole = BitmapRect(Bmp);
        if (IntersectRect(&inside, &part, &whole))
            SetBitmap32Alpha(Bmp, inside, 255, clNone);
    } else {
        SetBitmap32Alpha(Bmp, BitmapRect(Bmp), 255, clNone);
    }
}

void ShowDialogAnimated(TacDialogWnd* Dlg, Word Duration, Byte FinalAlpha, TacAnimType Type)
{
    if (!Dlg || !Dlg->SkinData || !IsWindow(Dlg->CtrlHandle) || IsIconic(Dlg->CtrlHandle))
        return;
    HWND dlgWnd = Dlg->CtrlHandle;
    AnimationRunning = true;
    const TScopeExit running([] { AnimationRunning = false; });
    TacBorderForm* border = Dlg->BorderForm;
    TacGlowForm* copy = nullptr;
    TOwned<TacGlowForm> ownCopy;
    if (border) {
        if (!border->AForm)
            border->CreateNewForm();
        copy = border->AForm;
        if (copy)
            SetWindowRgn(copy->GetHandle(), nullptr, FALSE);
        border->PaintAll();
    } else {
        ownCopy.reset(New<TacGlowForm>(Application));
        copy = ownCopy.get();
    }
    Dlg->PaintAll();
    TBitmap* cache = Dlg->SkinData->FCacheBmp;
    if (!cache || !copy)
        return;
    TOwned<TBitmap> image(CopyOfImage(cache));
    PaintDialogToBitmap(Dlg, image.get(), false);
    RECT place;
    if (border) {
        // The border window already stands around the dialog.
        GetWindowRect(copy->GetHandle(), &place);
    } else {
        GetWindowRect(dlgWnd, &place);
        Dlg->CalcTransparentRects();
        ClearBitmapRects(Dlg->ArOR, image.get());
    }
    HWND copyWnd = copy->GetHandle();
    SetWindowLongW(copyWnd, GWL_EXSTYLE, GetWindowLongW(copyWnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_LAYERED);
    const int frames = Duration / FrameInterval;
    ShowImage(copyWnd, image.get(), frames > 0 ? 0 : FinalAlpha);
    const bool topMost = GetWindowLongW(dlgWnd, GWL_EXSTYLE) & WS_EX_TOPMOST;
    SetWindowPos(copyWnd, topMost ? HWND_TOPMOST : dlgWnd, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RunShowFrames(copyWnd, image.get(), Type, frames, FinalAlpha, true);
    SetWindowRgn(copyWnd, nullptr, FALSE);
    SetWindowPos(copyWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowImage(copyWnd, image.get(), FinalAlpha);

    Dlg->UpdateRegion(false);
    PlaceRightBehind(dlgWnd, copyWnd);
    SetWindowLongW(dlgWnd, GWL_STYLE, GetWindowLongW(dlgWnd, GWL_STYLE) | WS_VISIBLE);
    Dlg->ProcessMessage(WM_SETREDRAW, TRUE, 0);
    AnimationRunning = false;
    if (border) {
        border->ExBorderShowing = true;
        const TScopeExit shown([border] { border->ExBorderShowing = false; });
        RedrawWindow(dlgWnd, nullptr, nullptr, FullRedraw);
        Dlg->UpdateRegion(false);
    } else {
        RedrawWindow(dlgWnd, nullptr, nullptr, FullRedraw);
    }
    image.reset();
    if (IsAeroEnabled())
        Sleep(48);
    if (border)
        border->UpdateExBordersPos(true, 255);
    PlaceRightBehind(copyWnd, dlgWnd);
}

// ---------------------------------------------------------------------------
// Skin change.

std::vector<Byte> SkinChangeMixWeights(int Steps)
{
    std::vector<Byte> weights;
    if (Steps <= 0)
        return weights;
    // Past 255 steps the whole-number fall would be 0 and the mix never end.
    const int fall = std::max(255 / Steps, 1);
    for (int weight = 255; weight > 2; weight -= fall)
        weights.push_back(static_cast<Byte>(weight));
    return weights;
}

namespace {

void FinishSkinChange(TCustomForm* Form, HWND Wnd, Byte FinalAlpha)
{
    AnimationRunning = false;
    if (Form && Form->GetAlphaBlend())
        Form->SetAlphaBlendValue(FinalAlpha);
    SendMessageW(Wnd, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(Wnd, nullptr, nullptr, FullRedraw);
}

// A form through layered copies: the new look fades (or zooms) in over the old.
void AnimateFormSkinChange(TCustomForm* Form, TsSkinProvider* Provider, Word Duration, Byte FinalAlpha, bool Zoom)
{
    HWND formWnd = Form->GetHandle();
    TacBorderForm* border = Provider->BorderForm;
    TOwned<TBitmap> oldImage;
    if (border) {
        if (Provider->CoverBmp) {
            oldImage.reset(Provider->CoverBmp);
            Provider->CoverBmp = nullptr;
        } else if (Provider->FCommonData->FCacheBmp) {
            oldImage.reset(CopyOfImage(Provider->FCommonData->FCacheBmp));
        }
    }
    Provider->PaintAll();
    TBitmap* cache = Provider->FCommonData->FCacheBmp;
    if (!cache)
        return;
    TOwned<TBitmap> image(MakeBitmap32(cache->GetWidth(), cache->GetHeight()));
    PaintControlToBitmap(image.get(), Form, 0, 0, Provider, true);
    if (!border)
        SetBitmap32Alpha(image.get(), BitmapRect(image.get()), 255, clNone);
    const int frames = Duration / FrameInterval;
    const TacAnimType type = Zoom ? atAero : atFading;
    const Byte startAlpha = frames > 0 ? 0 : FinalAlpha;
    const bool topMost = Form->GetFormStyle() == fsStayOnTop;

    if (border) {
        // The old window keeps the old look while a new one takes the new.
        TOwned<TacGlowForm> oldCopy(TakeBorderWindow(border));
        border->CreateNewForm();
        TacGlowForm* newCopy = border->AForm;
        if (!newCopy)
            return;
        HWND newWnd = newCopy->GetHandle();
        RECT place{};
        if (oldCopy)
            GetWindowRect(oldCopy->GetHandle(), &place);
        else
            GetWindowRect(formWnd, &place);
        SetWindowLongW(newWnd, GWL_EXSTYLE, GetWindowLongW(newWnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_LAYERED);
        ShowImage(newWnd, image.get(), startAlpha);
        SetWindowPos(newWnd, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     SWP_NOACTIVATE | SWP_NOZORDER | SWP_SHOWWINDOW);
        PlaceDirectlyAbove(newWnd, formWnd);
        HWND oldWnd = oldCopy ? oldCopy->GetHandle() : nullptr;
        RunShowFrames(newWnd, image.get(), type, frames, FinalAlpha, false, [&](const TShowFrame& Frame) {
            if (oldWnd && oldImage)
                ShowImage(oldWnd, oldImage.get(),
                          static_cast<Byte>(std::clamp(3 * (int(FinalAlpha) - int(Frame.Opacity)), 0, 255)));
        });
        ShowImage(newWnd, image.get(), FinalAlpha);
        FinishSkinChange(Form, formWnd, FinalAlpha);
        SetWindowRgn(newWnd, border->MakeRgn(), TRUE);
        border->UpdateExBordersPos(true, 255);
        return;
    }

    RECT place;
    GetWindowRect(formWnd, &place);
    TOwned<TacGlowForm> copy(New<TacGlowForm>(nullptr));
    copy->SetBounds(place.left, place.top, place.right - place.left, place.bottom - place.top);
    HWND copyWnd = copy->GetHandle();
    SetWindowLongW(copyWnd, GWL_EXSTYLE, GetWindowLongW(copyWnd, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_LAYERED);
    ShowImage(copyWnd, image.get(), startAlpha);
    if (HRGN region = Provider->BuildFormRegion(0, 0))
        SetWindowRgn(copyWnd, region, FALSE);
    SetWindowPos(copyWnd, topMost ? HWND_TOPMOST : nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE | SWP_SHOWWINDOW | (topMost ? 0 : SWP_NOZORDER));
    if (!topMost)
        PlaceDirectlyAbove(copyWnd, formWnd);
    RunShowFrames(copyWnd, image.get(), type, frames, FinalAlpha, false);
    ShowImage(copyWnd, image.get(), FinalAlpha);
    FinishSkinChange(Form, formWnd, FinalAlpha);
}

// Any control, or a form where windows cannot be layered: the old screen
// image mixed into the new one in a copy window over the control.
void AnimateControlSkinChange(TControl* Control, TWinControl* WinControl, TsSkinProvider* Provider, Word Duration)
{
    HWND wnd = WinControl->GetHandle();
    RECT screenRect;
    GetWindowRect(wnd, &screenRect);
    const int w = screenRect.right - screenRect.left, h = screenRect.bottom - screenRect.top;
    TOwned<TBitmap> oldImage(MakeBitmap32(w, h));
    {
        const TWindowDC screen(nullptr);
        BitBlt(oldImage->GetCanvas()->GetHandle(), 0, 0, w, h, screen.Get(), screenRect.left, screenRect.top,
               SRCCOPY);
    }
    TOwned<TOutputWindow> output(New<TOutputWindow>(nullptr));
    if (TWinControl* parent = Control->GetParent()) {
        output->SetParent(parent);
        output->SetBounds(Control->GetLeft(), Control->GetTop(), Control->GetWidth(), Control->GetHeight());
        output->BringToFront();
    } else {
        output->SetBounds(screenRect.left, screenRect.top, w, h);
    }
    HWND outWnd = output->GetHandle();
    SetWindowPos(outWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // Without a parent there is no child order to change.
    MoveControlBehind(output.get(), Control);

    TOwned<TBitmap> image(MakeBitmap32(w, h));
    PaintControlToBitmap(image.get(), Control, 0, 0, Provider, true);
    auto* form = dynamic_cast<TCustomForm*>(Control);
    if (form && Provider && !Provider->BorderForm)
        if (HRGN region = Provider->BuildFormRegion(0, 0))
            SetWindowRgn(outWnd, region, FALSE);
    const std::vector<Byte> weights = SkinChangeMixWeights(Duration / (2 * FrameInterval));
    if (!weights.empty()) {
        TOwned<TBitmap> mix(MakeBitmap32(w, h));
        for (Byte weight : weights) {
            const DWORD start = GetTickCount();
            MixBitmaps32(mix.get(), oldImage.get(), image.get(), weight, nullptr);
            {
                const TWindowDC out(outWnd, true);
                BitBlt(out.Get(), 0, 0, w, h, mix->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
            }
            WaitUntilTick(start, 2 * FrameInterval);
        }
    }
    {
        const TWindowDC out(outWnd, true);
        BitBlt(out.Get(), 0, 0, w, h, image->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    }
    AnimationRunning = false;
    if (IsWindowVisible(wnd)) {
        SetBitmap32Alpha(image.get(), BitmapRect(image.get()), 255, clNone);
        SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
        PaintLayeredWindow(outWnd, image.get(), 254, nullptr);
        if (WinVersionLevel > 5)
            RedrawWindow(wnd, nullptr, nullptr, FullRedraw);
        const bool layeredForm = form && (GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
        if (!layeredForm)
            ShowWindow(outWnd, SW_HIDE);
    }
}

} // namespace

void AnimateSkinChange(TControl* Control, Word Duration, Byte FinalAlpha, bool Zoom)
{
    auto* winControl = dynamic_cast<TWinControl*>(Control);
    if (!winControl || !winControl->HandleAllocated())
        return;
    HWND wnd = winControl->GetHandle();
    if (!IsWindowVisible(wnd) || IsIconic(GetTopParentWnd(wnd)))
        return;
    AnimationRunning = true;
    const TScopeExit running([] { AnimationRunning = false; });
    auto* form = dynamic_cast<TCustomForm*>(Control);
    TsSkinProvider* provider =
        form ? reinterpret_cast<TsSkinProvider*>(SendWndCommand(wnd, SKC_QUERY_PROVIDER, 0)) : nullptr;
    if (form && provider && provider->FCommonData && LayeredWindowsAvailable())
        AnimateFormSkinChange(form, provider, Duration, FinalAlpha, Zoom);
    else
        AnimateControlSkinChange(Control, winControl, provider, Duration);
}
