// The scroll-bar control handler. Geometry rounds to the nearest integer
// with ties to even (the banker's rounding the layout was made with).
#include "TacSBWnd.h"
#include "sAlphaGraph.h"
#include "sGraphUtils.h"
#include "sSkinSection.h"
#include "sVclUtils.h"
#include <cmath>
#include <windowsx.h>

namespace {

Integer RoundEven(double Value) { return static_cast<Integer>(std::nearbyint(Value)); }

bool HasState(const TComponent* Component, TComponentStateItem Item)
{
    return Component && Component->ComponentState().Contains(Item);
}

} // namespace

TacMainWnd* MakeScrollBarControlHandler() { return new TacSBWnd(); }

// ---------------------------------------------------------------------------
// Creation and data.

void TacSBWnd::AfterCreation()
{
    if (SkinData->GetSkinSection().empty())
        SkinData->FSkinSection = L"TRANSPARENT";
    Control = dynamic_cast<TScrollBar*>(SkinData->FOwnerControl);
    if (auto* windowed = dynamic_cast<TWinControl*>(SkinData->FOwnerControl))
        windowed->SetTabStop(false);
    if (Control)
        InitScrollData();
    FRepainting = false;
    MouseOffset = 0;
    ScrollCode = 0;
    TacMainWnd::AfterCreation();
}

void TacSBWnd::InitScrollData()
{
    FSI.cbSize = sizeof(FSI);
    FSI.nMax = Control->GetMax();
    FSI.nMin = Control->GetMin();
    FSI.nPos = Control->GetPosition();
    FSI.nTrackPos = Control->GetPosition();
    FSI.nPage = static_cast<UINT>(Control->GetPageSize());
    FCurrPos = Control->GetPosition();
}

bool TacSBWnd::Enabled() const { return Control && Control->GetEnabled(); }
Integer TacSBWnd::BarIsHot() const { return SkinData ? SkinData->GetHotState() : 0; }

// ---------------------------------------------------------------------------
// Geometry.

bool TacSBWnd::Vertical() const { return Control && Control->GetKind() == sbVertical; }
Integer TacSBWnd::Length() const { return Control ? (Vertical() ? Control->GetHeight() : Control->GetWidth()) : 0; }

Integer TacSBWnd::SysBtnSize() const
{
    TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
    return manager ? manager->GetScrollBarWidth() : GetSystemMetrics(SM_CXVSCROLL);
}

Integer TacSBWnd::WorkSize() const { return Length() - 2 * SysBtnSize(); }

Integer TacSBWnd::SliderSize() const
{
    if (FSI.nPage == 0)
        return 16;
    const double range = FSI.nMax - FSI.nMin + 1;
    return std::max<Integer>(RoundEven(WorkSize() / range * FSI.nPage), 16);
}

Integer TacSBWnd::PositionToCoord() const
{
    const Integer range = FSI.nMax - FSI.nMin;
    const Integer page = std::max<Integer>(static_cast<Integer>(FSI.nPage) - 1, 0);
    const Integer b = SysBtnSize(), slider = SliderSize(), length = Length();
    if (range == page)
        return length / 2;
    return b + slider / 2 + RoundEven(static_cast<double>(length - 2 * b - slider) / (range - page) * (FCurrPos - FSI.nMin));
}

Integer TacSBWnd::CoordToPosition(const TPoint& P) const
{
    const Integer b = SysBtnSize(), slider = SliderSize();
    const Integer span = Length() - 2 * b - slider;
    // A thumb longer than the track leaves nothing to move along.
    if (!Enabled() || span <= 0)
        return 0;
    const Integer range = FSI.nMax - FSI.nMin - std::max<Integer>(static_cast<Integer>(FSI.nPage) - 1, 0);
    const Integer along = Vertical() ? P.y : P.x;
    return RoundEven(static_cast<double>(range) * (along - b - slider / 2.0) / span);
}

TRect TacSBWnd::Btn1Rect() const
{
    const Integer b = std::min(SysBtnSize(), Length() / 2);
    return Vertical() ? TRect(0, 0, Control->GetWidth(), b) : TRect(0, 0, b, Control->GetHeight());
}

TRect TacSBWnd::Btn2Rect() const
{
    const Integer length = Length();
    const Integer start = std::max(length - SysBtnSize(), length / 2);
    return Vertical() ? TRect(0, start, Control->GetWidth(), length) : TRect(start, 0, length, Control->GetHeight());
}

TRect TacSBWnd::Bar1Rect() const
{
    const Integer c = PositionToCoord();
    return Vertical() ? TRect(0, 0, Control->GetWidth(), c) : TRect(0, 0, c, Control->GetHeight());
}

TRect TacSBWnd::Bar2Rect() const
{
    const Integer c = PositionToCoord();
    return Vertical() ? TRect(0, c, Control->GetWidth(), Length()) : TRect(c, 0, Length(), Control->GetHeight());
}

TRect TacSBWnd::SliderRect() const
{
    const Integer size = SliderSize();
    Integer start;
    if (Control->GetMax() == Control->GetMin())
        start = Btn1Rect().Width() * !Vertical() + Btn1Rect().Height() * Vertical();
    else if (Vertical() && Control->GetMax() - Control->GetPageSize() == Control->GetPosition())
        start = Btn2Rect().top - size;
    else
        start = RoundEven(PositionToCoord() - size / 2.0);
    return Vertical() ? TRect(0, start, Control->GetWidth(), start + size)
                      : TRect(start, 0, start + size, Control->GetHeight());
}

void TacSBWnd::ComputeRects()
{
    FBtn1Rect = Btn1Rect();
    FBtn2Rect = Btn2Rect();
    FBar1Rect = Bar1Rect();
    FBar2Rect = Bar2Rect();
    FSliderRect = SliderRect();
}

// ---------------------------------------------------------------------------
// States and mouse.

void TacSBWnd::SetByIndex(int Index, Integer Value)
{
    Integer* states[5] = {&FBtn1State, &FBtn2State, &FBar1State, &FBar2State, &FSliderState};
    if (Index < 0 || Index > 4 || *states[Index] == Value)
        return;
    *states[Index] = Value;
    if (Value != 1 && Value != 2)
        return;
    switch (Index) {
    case 0:
    case 1:
        *states[1 - Index] = 0;
        FSliderState = 0;
        FBar1State = FBar2State = 1;
        break;
    case 2:
    case 3:
        FBtn1State = FBtn2State = FSliderState = 0;
        *states[5 - Index] = 1;
        break;
    default:
        FBtn1State = FBtn2State = 0;
        FBar1State = FBar2State = 1;
        break;
    }
}

void TacSBWnd::UpdateBar()
{
    if (Control)
        Control->Repaint();
}

void TacSBWnd::CMMouseEnter()
{
    if (!Enabled())
        return;
    SetByIndex(2, 1);
    SetByIndex(3, 1);
    UpdateBar();
}

void TacSBWnd::CMMouseLeave()
{
    if (!Enabled())
        return;
    SetByIndex(0, 0);
    SetByIndex(1, 0);
    if (FSliderState != 2) {
        SetByIndex(4, 0);
        SetByIndex(2, 0);
        SetByIndex(3, 0);
    }
    UpdateBar();
}

void TacSBWnd::LMouseDown(int X, int Y)
{
    if (!Enabled())
        return;
    ComputeRects();
    const POINT pt{X, Y};
    MouseOffset = 0;
    if (PtInRect(&FBtn1Rect, pt)) {
        ScrollCode = 0;
        SetByIndex(0, 2);
    } else if (PtInRect(&FBtn2Rect, pt)) {
        ScrollCode = 1;
        SetByIndex(1, 2);
    } else if (PtInRect(&FSliderRect, pt)) {
        ScrollCode = 5;
        if (FSliderState != 2) {
            MouseOffset = CoordToPosition(TPoint(X, Y)) - Control->GetPosition();
            SetByIndex(4, 2);
        }
    } else if (PtInRect(&FBar1Rect, pt)) {
        ScrollCode = 2;
        if (FBar1State != 2) {
            SetByIndex(2, 2);
            FBar2State = BarIsHot();
        }
    } else {
        ScrollCode = 3;
        FBar1State = BarIsHot();
        SetByIndex(3, 2);
    }
    UpdateBar();
}

void TacSBWnd::LMouseUp(int X, int Y)
{
    if (!Enabled())
        return;
    ComputeRects();
    const POINT pt{X, Y};
    if (PtInRect(&FSliderRect, pt) || FSliderState == 2) {
        ScrollCode = 4;
        FBar1State = BarIsHot();
        FBar2State = FBar1State;
        if (FSliderState == 2)
            FSliderState = PtInRect(&FSliderRect, pt) ? 1 : 0;
    } else if (FBtn1State == 2 && PtInRect(&FBtn1Rect, pt))
        FBtn1State = 1;
    else if (FBtn2State == 2 && PtInRect(&FBtn2Rect, pt))
        FBtn2State = 1;
    else {
        if (FBtn1State == 2)
            FBtn1State = 0;
        if (FBtn2State == 2)
            FBtn2State = 0;
        if (FBar1State == 2)
            FBar1State = BarIsHot();
        if (FBar2State == 2)
            FBar2State = BarIsHot();
    }
    ScrollCode = 8;
    UpdateBar();
}

void TacSBWnd::WMNCHitTest(TMessage& Message)
{
    if (!Enabled())
        return;
    POINT pt{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    ScreenToClient(CtrlHandle, &pt);
    ComputeRects();
    if (PtInRect(&FSliderRect, pt) || FSliderState == 2) {
        if (FSliderState == 2) {
            const Integer position = CoordToPosition(TPoint(pt.x, pt.y)) - MouseOffset;
            if (position != Control->GetPosition())
                Control->SetPosition(position);
        } else
            SetByIndex(4, 1);
    } else if (PtInRect(&FBtn1Rect, pt) && FBtn1State != 2)
        SetByIndex(0, 1);
    else if (PtInRect(&FBtn2Rect, pt) && FBtn2State != 2)
        SetByIndex(1, 1);
    else {
        SetByIndex(4, 0);
        SetByIndex(0, 0);
        SetByIndex(1, 0);
    }
    UpdateBar();
}

// ---------------------------------------------------------------------------
// Painting.

void TacSBWnd::WMPaint(TMessage& Message)
{
    if (!Control)
        return;
    PAINTSTRUCT ps{};
    BeginPaint(CtrlHandle, &ps);
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    const bool ownDC = dc == nullptr;
    if (ownDC)
        dc = GetDC(CtrlHandle);
    const int saved = SaveDC(dc);
    TsSkinManager* manager = SkinData->GetSkinManager();
    if (manager && IsControlReady(Control) && !HasState(Control, csLoading) && !HasState(Control, csDestroying) &&
        !SkinData->GetUpdating()) {
        const int width = Control->GetWidth(), height = Control->GetHeight();
        const TacConstElementData* scrolls = manager->ConstData.Scrolls;
        if (width == height) {
            TColor color = manager->IsValidSkinIndex(scrolls[asLeft].SkinIndex)
                               ? manager->gd[scrolls[asLeft].SkinIndex].Props[0].Color
                               : manager->GetGlobalColor();
            TBrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
            RECT all{0, 0, width, height};
            FillRect(dc, &all, brush.Get());
        } else {
            ComputeRects();
            SkinData->EnsureCacheBmp();
            TBitmap* cache = SkinData->FCacheBmp;
            cache->SetPixelFormat(pf32bit);
            cache->SetSize(width, height);
            const bool enabled = Enabled();
            TOwned<TBitmap> disabledCopy;
            TBitmap* target = cache;
            if (!enabled) {
                disabledCopy.reset(MakeBitmap32Like(cache));
                target = disabledCopy.get();
            }
            TacBGRequest request;
            if (Control->GetParent())
                GetControlBGInfo(request, Control->GetParent(), false);
            const TCacheInfo parentInfo = BGInfoToCacheInfo(request);
            const bool vertical = Vertical();
            auto paintBar = [&](TacSide side, const TRect& r, Integer state, const TPoint& offset) {
                const TacConstElementData& e = scrolls[side];
                if (r.IsEmpty() || !manager->IsValidSkinIndex(e.SkinIndex))
                    return;
                PaintSkinItemWithBorderImage(e.SkinIndex, e.MaskIndex, e.BGIndex[state > 0 ? 1 : 0], parentInfo, state,
                                             r, offset, cache, manager);
            };
            const TPoint origin(Control->GetLeft(), Control->GetTop());
            paintBar(vertical ? asTop : asLeft, FBar1Rect, enabled ? std::max(FBar1State, BarIsHot()) : 0, origin);
            paintBar(vertical ? asBottom : asRight, FBar2Rect, enabled ? std::max(FBar2State, BarIsHot()) : 0,
                     TPoint(origin.x + FBar2Rect.left, origin.y + FBar2Rect.top));
            if (target != cache)
                BitBlt(target->GetCanvas()->GetHandle(), 0, 0, width, height, cache->GetCanvas()->GetHandle(), 0, 0,
                       SRCCOPY);
            CI = TCacheInfo();
            CI.Bmp = target;
            CI.Ready = target != nullptr;
            PaintScrollArrow(FBtn1Rect, FBtn1State, target, vertical ? asTop : asLeft, SkinData);
            PaintScrollArrow(FBtn2Rect, FBtn2State, target, vertical ? asBottom : asRight, SkinData);
            if (enabled) {
                const Integer room = Length() - (vertical ? FBtn1Rect.Height() + FBtn2Rect.Height()
                                                          : FBtn1Rect.Width() + FBtn2Rect.Width());
                if ((vertical ? FSliderRect.Height() : FSliderRect.Width()) <= room)
                    PaintScrollThumb(FSliderRect, FSliderState, target, vertical, manager);
            } else {
                TCacheInfo under = parentInfo;
                under.X += Control->GetLeft();
                under.Y += Control->GetTop();
                ApplyControlBitmapEffects(target, 1, Control, under, TPoint(Control->GetLeft(), Control->GetTop()));
            }
            BitBlt(dc, 0, 0, width, height, target->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
        }
    }
    RestoreDC(dc, saved);
    if (ownDC)
        ReleaseDC(CtrlHandle, dc);
    EndPaint(CtrlHandle, &ps);
}

// ---------------------------------------------------------------------------
// Messages.

void TacSBWnd::CallBase(TMessage& Message)
{
    Message.Result = CallPrevWndProc(CtrlHandle, Message.Msg, Message.LParam, Message.WParam);
}

void TacSBWnd::LockedRepaint(TMessage& Message)
{
    const Integer before = FLockCount;
    FRepainting = true;
    ProcessMessage(WM_SETREDRAW, 0, 0);
    FRepainting = false;
    CallBase(Message);
    FRepainting = true;
    do
        SendMessageW(CtrlHandle, WM_SETREDRAW, 1, 0);
    while (FLockCount > 0 && --FLockCount > 0);
    FLockCount = 0;
    InvalidateRect(CtrlHandle, nullptr, TRUE);
    RedrawWindow(CtrlHandle, nullptr, nullptr, 0x545);
    // The caller's redraw lock is put back as it was.
    while (FLockCount < before) {
        SendMessageW(CtrlHandle, WM_SETREDRAW, 0, 0);
        ++FLockCount;
    }
    FRepainting = false;
}

void TacSBWnd::SetScrollInfoFrom(TMessage& Message)
{
    auto* info = reinterpret_cast<SCROLLINFO*>(Message.LParam);
    if (!info || InSendMessage()) {
        CallBase(Message);
        return;
    }
    if (info->fMask & SIF_PAGE)
        FSI.nPage = info->nPage;
    if (info->fMask & SIF_POS)
        FSI.nPos = info->nPos;
    if ((info->fMask & SIF_RANGE) && (info->nMin != FSI.nMin || info->nMax != FSI.nMax)) {
        if (info->nMax < info->nMin)
            FSI.nMin = FSI.nMax = 0;
        else {
            FSI.nMin = info->nMin;
            FSI.nMax = info->nMax;
        }
    }
    const Integer range = FSI.nMax - FSI.nMin + 1;
    FSI.nPage = static_cast<UINT>(std::clamp<Integer>(static_cast<Integer>(FSI.nPage), 0, std::max<Integer>(range, 0)));
    FSI.nPos = std::clamp<Integer>(FSI.nPos, FSI.nMin,
                                   std::max<Integer>(FSI.nMin, FSI.nMax - std::max<Integer>(static_cast<Integer>(FSI.nPage) - 1, 0)));
    if (ScrollCode != 5)
        FCurrPos = FSI.nPos;
    if (!Control || !Control->GetVisible())
        CallBase(Message);
    else
        LockedRepaint(Message);
}

void TacSBWnd::acWndProc(TMessage& Message)
{
    if (!Control || HasState(Control, csDestroying) || !SkinData) {
        TacMainWnd::acWndProc(Message);
        return;
    }
    if (Message.Msg == SkinCommandMessage) {
        const LPARAM ownManager = reinterpret_cast<LPARAM>(SkinManager);
        switch (Message.WParamHi()) {
        case SKC_SKIN_LOADED:
        case SKC_SKIN_REMOVED:
            if (Message.LParam == ownManager) {
                HandleSkinCommand(Message, SkinData);
                return;
            }
            break;
        case SKC_REPAINT_SKIN:
            if (Message.LParam == ownManager) {
                HandleSkinCommand(Message, SkinData);
                SkinData->BGChanged = true;
                return;
            }
            break;
        case SKC_UPDATE_FINISHED:
            if (SkinData->FUpdating && !SkinData->CheckUpdating(true)) {
                RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                RefreshChildControls(Control);
            }
            return;
        case SKC_QUERY_HANDLED:
            Message.Result = 1;
            return;
        case SKC_REPAINT:
            Control->Repaint();
            break;
        case SKC_QUERY_APPLICATION:
            Message.Result = reinterpret_cast<LRESULT>(Application);
            return;
        default:
            break;
        }
        if (!HandleSkinMessage(Message, SkinData))
            CallBase(Message);
        return;
    }
    const bool visible = Control->GetVisible();
    switch (Message.Msg) {
    case WM_SETREDRAW:
        if (!FRepainting)
            FLockCount += Message.WParam == 0 ? 1 : -1;
        break;
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_NCHITTEST:
        WMNCHitTest(Message);
        break;
    case WM_NCPAINT:
        return;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        LMouseDown(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        if (visible) {
            FRepainting = true;
            while (FLockCount > 0) {
                SendMessageW(CtrlHandle, WM_SETREDRAW, 1, 0);
                --FLockCount;
            }
            FRepainting = false;
            SetWindowLongPtrW(CtrlHandle, GWL_STYLE, GetWindowLongPtrW(CtrlHandle, GWL_STYLE) | WS_VISIBLE);
            CallBase(Message);
            InvalidateRect(CtrlHandle, nullptr, TRUE);
            RedrawWindow(CtrlHandle, nullptr, nullptr, 0x545);
        } else
            CallBase(Message);
        return;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        LMouseUp(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        break;
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK: {
        if (visible) {
            ProcessMessage(WM_SETREDRAW, 0, 0);
            CallBase(Message);
            ProcessMessage(WM_SETREDRAW, 1, 0);
        } else
            CallBase(Message);
        POINT pt{};
        GetCursorPos(&pt);
        ScreenToClient(CtrlHandle, &pt);
        LMouseDown(pt.x, pt.y);
        LMouseUp(pt.x, pt.y);
        return;
    }
    case SBM_SETSCROLLINFO:
        if (Control->GetWidth() != Control->GetHeight()) {
            SetScrollInfoFrom(Message);
            return;
        }
        break;
    case WM_CAPTURECHANGED: {
        POINT pt{};
        GetCursorPos(&pt);
        ScreenToClient(CtrlHandle, &pt);
        LMouseUp(pt.x, pt.y);
        break;
    }
    case WM_PRINT:
        if (DefaultManager && DefaultManager->GetActive()) {
            SendMessageW(CtrlHandle, WM_PAINT, Message.WParam, Message.LParam);
            Control->Perform(WM_NCPAINT, Message.WParam, Message.LParam);
            return;
        }
        break;
    case CM_ENABLEDCHANGED:
        CallBase(Message);
        SkinData->Invalidate(false);
        return;
    case CM_MOUSEENTER:
        CMMouseEnter();
        return;
    case CM_MOUSELEAVE:
        CMMouseLeave();
        return;
    case CM_CHANGED:
        if (visible)
            LockedRepaint(Message);
        else
            CallBase(Message);
        return;
    case CN_BASE + WM_CTLCOLORSCROLLBAR:
        // The native scroll bar paints nothing.
        ExcludeClipRect(reinterpret_cast<HDC>(Message.WParam), 0, 0, Control->GetWidth(), Control->GetHeight());
        return;
    default:
        if (!HandleSkinMessage(Message, SkinData))
            CallBase(Message);
        return;
    }
    if (!HandleSkinMessage(Message, SkinData))
        CallBase(Message);
}
