// The mouse side of the skinned non-client scroll bars: hit testing for the
// system, hover polling, pressed arrows and pages with auto-repeat, thumb
// drags, all turned into the WM_HSCROLL/WM_VSCROLL messages the control
// expects. One interaction runs at a time; it ends at the button-up, and
// also when the capture is lost, a tick finds the button up, or the tracked
// window's handler lets go, so no repeat outlives the press.
#include "acSBUtils.h"
#include "sGraphUtils.h"
#include "sSkinSection.h"
#include "sVclUtils.h"
#include "sWindowHelpers.h"
#include <windowsx.h>

TacScrollTracking ScrollTracking;

namespace {

bool InHitTest = false;

TacScrollBar* BarOf(TacScrollWnd* Handler, int Type)
{
    return Type == SB_HORZ ? Handler->sBarHorz : Type == SB_VERT ? Handler->sBarVert : nullptr;
}

int BarOfHitCode(WPARAM HitCode)
{
    return HitCode == HTHSCROLL ? SB_HORZ : HitCode == HTVSCROLL ? SB_VERT : -1;
}

void RepaintBar(TacScrollWnd* Handler, HWND Wnd, int Type, int Pressed)
{
    TacScrollBar* bar = BarOf(Handler, Type);
    if (!bar || !bar->fScrollVisible)
        return;
    TRect r, wr;
    Handler->GetBarRect(Type, Wnd, r);
    GetWindowRect(Wnd, &wr);
    OffsetRect(&r, -wr.left, -wr.top);
    TWindowDC dc(Wnd);
    PaintScrollBar(bar, Wnd, dc.Get(), -1, Pressed, r);
}

POINT CursorPos()
{
    POINT p{};
    GetCursorPos(&p);
    return p;
}

void StartScrollRepeat(TacScrollWnd* Handler, HWND Wnd, TacScrollBar* Bar, const TRect& BarRect, POINT At)
{
    TacScrollTracking& t = ScrollTracking;
    if (!IsScrollBarEnabled(Bar))
        return;
    t.ShownPressed = ScrollHitTest(Bar, Wnd, BarRect, At.y, At.x);
    RepaintBar(Handler, Wnd, Bar->nBarType, t.ShownPressed);
    SendScrollMessage(Wnd, t.ScrollMsg, t.PressedPart, 0);
    t.ShownPressed = t.PressedPart;
    t.RepeatTimer = SetTimer(Wnd, FirstRepeatTimerID, 300, nullptr);
}

// Recomposes the bar with the thumb at X (along the bar), pressed.
void PaintDraggedBar(TacScrollWnd* Handler, HWND Wnd, TacScrollBar* Bar, int Along)
{
    TRect r, wr;
    Handler->GetBarRect(Bar->nBarType, Wnd, r);
    GetWindowRect(Wnd, &wr);
    OffsetRect(&r, -wr.left, -wr.top);
    const bool vertical = Bar->nBarType == SB_VERT;
    TsSkinManager* manager = Handler->SkinData ? Handler->SkinData->GetSkinManager() : nullptr;
    if (!manager || r.IsEmpty())
        return;
    TOwned<TBitmap> bmp(MakeBitmap32(r.Width(), r.Height()));
    TacBGRequest request;
    GetWindowBGInfo(request, Wnd, false);
    const TCacheInfo ci = BGInfoToCacheInfo(request);
    const int a = GetScrollBarMetric(Bar, false);
    const int size = ScrollTracking.ThumbSize;
    const int p = Along - (vertical ? wr.top + r.top : wr.left + r.left);
    const int m = p + size / 2;
    const TacSide half1 = vertical ? asTop : asLeft, half2 = vertical ? asBottom : asRight;
    auto paintHalf = [&](TacSide side, const TRect& part) {
        const TacConstElementData& e = manager->ConstData.Scrolls[side];
        if (manager->IsValidSkinIndex(e.SkinIndex) && !part.IsEmpty())
            PaintSkinItemWithBorderImage(e.SkinIndex, e.MaskIndex, e.BGIndex[0], ci, 0, part,
                                         TPoint(r.left + part.left + ci.X, r.top + part.top + ci.Y), bmp.get(), manager);
    };
    paintHalf(half1, vertical ? TRect(0, 0, r.Width(), m) : TRect(0, 0, m, r.Height()));
    paintHalf(half2, vertical ? TRect(0, m, r.Width(), r.Height()) : TRect(m, 0, r.Width(), r.Height()));
    if (a > 0) {
        PaintScrollArrow(vertical ? TRect(0, 0, r.Width(), a) : TRect(0, 0, a, r.Height()), 0, bmp.get(), half1,
                         Handler->SkinData);
        PaintScrollArrow(vertical ? TRect(0, r.Height() - a, r.Width(), r.Height())
                                  : TRect(r.Width() - a, 0, r.Width(), r.Height()),
                         0, bmp.get(), half2, Handler->SkinData);
    }
    PaintScrollThumb(vertical ? TRect(0, p, r.Width(), p + size) : TRect(p, 0, p + size, r.Height()), 2, bmp.get(),
                     vertical, manager);
    TWindowDC dc(Wnd);
    BitBlt(dc.Get(), r.left, r.top, r.Width(), r.Height(), bmp->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
}

void TrackThumb(TacScrollWnd* Handler, HWND Wnd, POINT Cursor)
{
    TacScrollTracking& t = ScrollTracking;
    TacScrollBar* bar = BarOf(Handler, t.CurrentBar);
    if (!bar)
        return;
    const bool vertical = bar->nBarType == SB_VERT;
    const int a = GetScrollBarMetric(bar, false);
    const int lo = (vertical ? t.TrackRect.top : t.TrackRect.left) + a;
    const int hi = (vertical ? t.TrackRect.bottom : t.TrackRect.right) - a;
    const int along = std::clamp<int>((vertical ? Cursor.y : Cursor.x) - t.ThumbOffset, lo, std::max(lo, hi - t.ThumbSize));
    PaintDraggedBar(Handler, Wnd, bar, along);
    const SCROLLINFO& si = bar->ScrollInfo;
    const int range = si.nMax - si.nMin;
    const int travel = (hi - lo) - t.ThumbSize;
    int p;
    if (range < 1)
        p = along - lo;
    else if (travel <= 0)
        p = 0;   // a thumb filling the track cannot move the position
    else if (vertical && along >= hi - t.ThumbSize)
        p = range - static_cast<int>(si.nPage) + 2;
    else
        p = MulDiv(along - lo, range - static_cast<int>(si.nPage) + (vertical ? 2 : 1), travel);
    if (p != t.LastTrackPos) {
        bar->ScrollInfo.nTrackPos = p + si.nMin;
        Handler->DontRepaint = true;
        SendScrollMessage(Wnd, t.ScrollMsg, SB_THUMBTRACK, bar->ScrollInfo.nTrackPos);
        Handler->DontRepaint = false;
    }
    t.LastTrackPos = p;
}

TacScrollWnd* HandlerOf(HWND Wnd) { return Wnd ? GetWndScrollHandler(Wnd) : nullptr; }

} // namespace

void SendScrollMessage(HWND Wnd, UINT Msg, Integer Code, Integer Pos)
{
    const LPARAM request = MAKELONG(Code, Msg);
    LPARAM lParam = 0;
    if (SendWndMessage(Wnd, SkinCommandMessage, SkinCommandWParam(SKC_REDRAW_OFF), request) == 1)
        lParam = Pos;
    else {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        const int bar = Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
        GetScrollInfo(Wnd, bar, &si);
        if (Code == SB_THUMBTRACK) {
            si.fMask = SIF_POS;
            si.nPos = Pos;
            SetScrollInfo(Wnd, bar, &si, FALSE);
        }
    }
    SendWndMessage(Wnd, Msg, MAKEWPARAM(Code, std::min<Integer>(Pos, 0xFFFF)), lParam);
    SendWndMessage(Wnd, SkinCommandMessage, SkinCommandWParam(SKC_REDRAW_ON), request);
}

void EndScrollTracking(HWND Wnd)
{
    TacScrollTracking& t = ScrollTracking;
    if (Wnd && t.TrackWnd != Wnd)
        return;
    HWND tracked = t.TrackWnd;
    const bool pressed = t.PressedPart != -1;
    if (tracked && IsWindow(tracked)) {
        if (t.RepeatTimer) {
            KillTimer(tracked, FirstRepeatTimerID);
            KillTimer(tracked, RepeatTimerID);
        }
        if (t.HoverTimer)
            KillTimer(tracked, HoverTimerID);
    }
    if (TacScrollWnd* handler = HandlerOf(tracked))
        handler->fThumbTracking = false;
    t = TacScrollTracking();
    if (pressed && tracked && GetCapture() == tracked)
        ReleaseCapture();
}

LRESULT TacScrollWnd::HandleWMNCHitTest(HWND Wnd, WPARAM WParam, LPARAM LParam)
{
    if (InHitTest)
        return 0;
    struct TGuard {
        TGuard() { InHitTest = true; }
        ~TGuard() { InHitTest = false; }
    } guard;
    if (SkinManager && SkinManager->GetActiveControl() != Wnd && !SkinData->FMouseAbove) {
        if (!SkinData->FOwnerControl)
            SkinManager->SetActiveControl(Wnd);
        else if (IsMouseOverControl(SkinData->FOwnerControl))
            SkinManager->SetActiveControl(Wnd);
    }
    const POINT p{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
    TRect r;
    if (sBarHorz && sBarHorz->fScrollVisible) {
        GetHorzBarRect(Wnd, r);
        if (PtInRect(&r, p))
            return IsScrollBarEnabled(sBarHorz) ? HTHSCROLL : HTNOWHERE;
    }
    if (sBarVert && sBarVert->fScrollVisible) {
        GetVertBarRect(Wnd, r);
        if (PtInRect(&r, p))
            return IsScrollBarEnabled(sBarVert) ? HTVSCROLL : HTNOWHERE;
    }
    const TRect corner = CornerRect(Wnd);
    if (!corner.IsEmpty() && PtInRect(&corner, p) && IsAtParentCorner(this, Wnd, corner))
        return HTBOTTOMRIGHT;
    LPARAM l = LParam;
    return CallPrevWndProc(Wnd, WM_NCHITTEST, l, WParam);
}

LRESULT TacScrollWnd::HandleWMNCMouseMove(HWND Wnd, WPARAM WParam, LPARAM LParam)
{
    TacScrollTracking& t = ScrollTracking;
    if (t.TrackWnd != Wnd && t.PressedPart == -1)
        EndScrollTracking(nullptr);
    t.TrackWnd = Wnd;
    const int type = BarOfHitCode(WParam);
    if (type >= 0 && type != t.HotBar) {
        t.LastHot = -1;
        t.HotPart = -1;
        GetBarRect(type, Wnd, t.HotRect);
        t.HotBar = type;
        t.HoverTimer = SetTimer(Wnd, HoverTimerID, 20, nullptr);
        PaintScrollBars(Wnd, -1, nullptr);
    }
    LPARAM l = LParam;
    return CallPrevWndProc(Wnd, WM_NCMOUSEMOVE, l, WParam);
}

LRESULT TacScrollWnd::HandleWMNCLButtonDown(HWND Wnd, WPARAM WParam, LPARAM LParam)
{
    TacScrollTracking& t = ScrollTracking;
    if (t.TrackWnd && t.TrackWnd != Wnd)
        EndScrollTracking(nullptr);
    t.TrackWnd = Wnd;
    const int type = BarOfHitCode(WParam);
    TacScrollBar* bar = BarOf(this, type);
    if (!bar) {
        t.PressedPart = -1;
        LPARAM l = LParam;
        return CallPrevWndProc(Wnd, WM_NCLBUTTONDOWN, l, WParam);
    }
    t.ScrollMsg = type == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
    t.CurrentBar = type;
    const POINT p{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
    TRect barRect;
    GetBarRect(type, Wnd, barRect);
    bar->ScrollInfo.cbSize = sizeof(SCROLLINFO);
    bar->ScrollInfo.fMask = SIF_ALL;
    GetScrollInfo(Wnd, bar->nBarType, &bar->ScrollInfo);
    t.PressedPart = ScrollHitTest(bar, Wnd, barRect, p.y, p.x);
    switch (t.PressedPart) {
    case -1: {
        LPARAM l = LParam;
        return CallPrevWndProc(Wnd, WM_NCLBUTTONDOWN, l, WParam);
    }
    case spArrow1:
    case spArrow2:
        if (bar->fScrollFlags & (t.PressedPart == spArrow1 ? 1 : 2)) {
            t.PressedPart = -1;
            return 0;
        }
        StartScrollRepeat(this, Wnd, bar, barRect, p);
        break;
    case spPage1:
    case spPage2:
        StartScrollRepeat(this, Wnd, bar, barRect, p);
        break;
    case spJump: {
        t.TrackRect = barRect;
        Integer size = 0, start = 0;
        GetThumbPos(bar, barRect, size, start);
        t.ThumbSize = size;
        t.ThumbStart = start;
        t.ThumbOffset = size / 2;
        TrackThumb(this, Wnd, p);
        t.PressedPart = -1;
        return 0;
    }
    case spThumb: {
        if (!IsScrollBarEnabled(bar)) {
            t.PressedPart = -1;
            return 0;
        }
        t.TrackRect = barRect;
        Integer size = 0, start = 0;
        GetThumbPos(bar, barRect, size, start);
        t.ThumbSize = size;
        t.ThumbStart = start;
        fThumbTracking = true;
        bar->ScrollInfo.nTrackPos = bar->ScrollInfo.nPos;
        t.ThumbOffset = (type == SB_HORZ ? p.x : p.y) - start;
        t.LastTrackPos = bar->ScrollInfo.nPos;
        break;
    }
    default:
        break;
    }
    if (t.PressedPart != -1 && IsScrollBarEnabled(bar))
        SetCapture(Wnd);
    else if (t.PressedPart != -1 && t.PressedPart != spThumb) {
        // A disabled bar takes no press.
        t.PressedPart = -1;
    }
    return 0;
}

LRESULT TacScrollWnd::HandleWMMouseMove(HWND Wnd, WPARAM WParam, LPARAM LParam)
{
    TacScrollTracking& t = ScrollTracking;
    if (fThumbTracking) {
        const DWORD pos = GetMessagePos();
        TrackThumb(this, Wnd, POINT{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)});
        return 0;
    }
    if (t.PressedPart == -1 || t.TrackWnd != Wnd) {
        LPARAM l = LParam;
        return CallPrevWndProc(Wnd, WM_MOUSEMOVE, l, WParam);
    }
    TacScrollBar* bar = BarOf(this, t.CurrentBar);
    if (!bar)
        return 0;
    POINT p{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
    ClientToScreen(Wnd, &p);
    TRect r;
    GetBarRect(t.CurrentBar, Wnd, r);
    const int hit = ScrollHitTest(bar, Wnd, r, p.y, p.x);
    const int shown = hit == t.PressedPart ? t.PressedPart : -1;
    if (shown != t.ShownPressed) {
        t.ShownPressed = shown;
        RepaintBar(this, Wnd, t.CurrentBar, shown);
    }
    return 0;
}

LRESULT TacScrollWnd::HandleWMLButtonUp(HWND Wnd, WPARAM WParam, LPARAM LParam)
{
    TacScrollTracking& t = ScrollTracking;
    if (t.PressedPart == -1 || t.TrackWnd != Wnd) {
        LPARAM l = LParam;
        return CallPrevWndProc(Wnd, WM_LBUTTONUP, l, WParam);
    }
    const int part = t.PressedPart;
    const UINT msg = t.ScrollMsg;
    const int barType = t.CurrentBar;
    if (part <= spPage2 && t.RepeatTimer) {
        KillTimer(Wnd, FirstRepeatTimerID);
        KillTimer(Wnd, RepeatTimerID);
        t.RepeatTimer = 0;
    }
    // The reset comes first: releasing the capture sends WM_CAPTURECHANGED.
    const int lastTrackPos = t.LastTrackPos;
    const bool dragging = fThumbTracking;
    fThumbTracking = false;
    t.PressedPart = t.ShownPressed = t.CurrentBar = -1;
    t.RepeatTimer = 0;
    t.ScrollMsg = 0;
    if (GetCapture() == Wnd)
        ReleaseCapture();
    DontRepaint = true;
    if (dragging)
        SendScrollMessage(Wnd, msg, SB_THUMBPOSITION, lastTrackPos);
    SendScrollMessage(Wnd, msg, SB_ENDSCROLL, part == spThumb ? lastTrackPos : 0);
    DontRepaint = false;
    RepaintBar(this, Wnd, barType, -1);
    if (static_cast<LONG_PTR>(WParam) != -1) {
        TControl* control = SkinData ? SkinData->FOwnerControl : nullptr;
        if (!control || (control->ClassName() != L"TImageEnView" && control->ClassName() != L"TImageEnVect")) {
            LPARAM l = LParam;
            return CallPrevWndProc(Wnd, WM_LBUTTONUP, l, WParam);
        }
    }
    return 0;
}

LRESULT TacScrollWnd::HandleWMTimer(HWND Wnd, WPARAM WParam, LPARAM LParam)
{
    TacScrollTracking& t = ScrollTracking;
    if ((!t.HoverTimer && !t.RepeatTimer) || t.TrackWnd != Wnd ||
        (WParam != HoverTimerID && WParam != FirstRepeatTimerID && WParam != RepeatTimerID)) {
        LPARAM l = LParam;
        return CallPrevWndProc(Wnd, WM_TIMER, l, WParam);
    }
    switch (WParam) {
    case HoverTimerID: {
        if (fThumbTracking)
            return 0;
        const POINT p = CursorPos();
        TacScrollBar* bar = BarOf(this, t.HotBar);
        if (bar && PtInRect(&t.HotRect, p)) {
            t.HotPart = ScrollHitTest(bar, Wnd, t.HotRect, p.y, p.x);
            if (t.HotPart != t.LastHot)
                RepaintBar(this, Wnd, t.HotBar, t.CurrentBar == t.HotBar ? t.ShownPressed : -1);
            t.LastHot = t.HotPart;
        } else {
            KillTimer(Wnd, HoverTimerID);
            const int hotBar = t.HotBar;
            t.HoverTimer = 0;
            t.HotBar = t.LastHot = t.HotPart = -1;
            RepaintBar(this, Wnd, hotBar, t.CurrentBar == hotBar ? t.ShownPressed : -1);
        }
        return 0;
    }
    case FirstRepeatTimerID:
        KillTimer(Wnd, FirstRepeatTimerID);
        t.RepeatTimer = SetTimer(Wnd, RepeatTimerID, 55, nullptr);
        return 0;
    default: {
        // A press whose button-up never came (capture taken away) ends here.
        const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
        if (GetAsyncKeyState(button) >= 0 || t.PressedPart == -1) {
            EndScrollTracking(Wnd);
            return 0;
        }
        POINT p = CursorPos();
        ScreenToClient(Wnd, &p);
        HandleWMMouseMove(Wnd, 1, MAKELPARAM(std::max<LONG>(p.x, 0), std::max<LONG>(p.y, 0)));
        if (t.ShownPressed != -1) {
            DontRepaint = true;
            SendScrollMessage(Wnd, t.ScrollMsg, t.ShownPressed, 0);
            DontRepaint = false;
        }
        return 0;
    }
    }
}
