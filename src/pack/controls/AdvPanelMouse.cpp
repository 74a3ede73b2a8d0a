// What a panel does at run time besides painting: collapsing and expanding,
// anchors, the caption buttons and clicks, moving and sizing with the mouse,
// and its saved position.
#include "AdvPanel.h"
#include "Forms.h"
#include "IniFiles.h"
#include "PanelHTML.h"
#include "Registry.h"
#include "ScopeExit.h"
#include "SysUtils.h"
#include <shellapi.h>
#include <windowsx.h>

namespace {

// Posted to itself when the system's move or size loop ends.
constexpr UINT WM_PANEL_ENDMOVESIZE = WM_USER + 2142;

bool StartsWithNoCase(const String& Text, const wchar_t* Prefix)
{
    const std::size_t n = wcslen(Prefix);
    return Text.size() >= n && _wcsnicmp(Text.c_str(), Prefix, n) == 0;
}

TRect Inflated(const TRect& R, int By)
{
    return TRect(R.left - By, R.top - By, R.right + By, R.bottom + By);
}

} // namespace

// ---------------------------------------------------------------------------
// Caption geometry.

int TCustomAdvPanel::ButtonSize() const
{
    int bs = 12;
    if (!FCaption->GetCloseMinGlyph()->GetEmpty() && !FCaption->GetCloseMaxGlyph()->GetEmpty())
        bs = FCaption->GetCloseMinGlyph()->GetWidth();
    if (!FCaption->GetMaxGlyph()->GetEmpty() && !FCaption->GetMinGlyph()->GetEmpty())
        bs = FCaption->GetMaxGlyph()->GetWidth();
    if (FCaption->GetShadeType() == stXPCaption && IsThemed())
        bs = 16;
    return bs;
}

TRect TCustomAdvPanel::CaptionBand() const
{
    const TRect c = GetClientRect();
    const int CH = FCaption->GetHeight();
    switch (FCaption->GetPosition()) {
    case cpTop: return TRect(c.left, c.top, c.right - 2, c.top + CH);
    case cpLeft: return TRect(c.left, c.top, c.left + CH, c.bottom);
    default: return TRect(c.right - CH, c.top, c.right, c.bottom);
    }
}

void TCustomAdvPanel::ButtonRects(TRect& Close, TRect& MinMax, TRect& Band, bool ForHover) const
{
    const int bs = ButtonSize();
    TRect c = GetClientRect();
    const int row = static_cast<int>(FCaption->GetPosition()) * 2 + (FCaption->GetButtonPosition() == cbpLeft ? 0 : 1);
    auto closeAt = [&](const TRect& r) -> TRect {
        const LONG L = r.left, T = r.top, R = r.right, B = r.bottom;
        switch (row) {
        case 0: case 3: return TRect(L + 2, T + 2, L + bs + 2, T + bs + 2);
        case 1: case 4: return TRect(R - bs - 2, T + 2, R - 2, T + bs + 2);
        case 2: return TRect(L + 2, B - bs - 2, L + bs + 2, B - 2);
        default: return TRect(R - bs - 2, B - bs - 2, R - 2, B - 2);
        }
    };
    Close = closeAt(c);
    Band = CaptionBand();
    if (FCaption->GetCloseButton()) {
        switch (row) {
        case 0: c.left += bs; Band.left += bs; break;
        case 1: c.right -= bs; Band.right -= bs; break;
        case 2: case 5: c.bottom -= bs; Band.bottom -= bs; break;
        default: c.top += bs; Band.top += bs; break;
        }
    }
    MinMax = closeAt(c);
    // Clicks on a right caption's collapse button are taken 2 pixels further in.
    if (!ForHover && row == 4)
        MinMax = TRect(c.right - bs - 4, c.top + 2, c.right - 4, c.top + bs + 2);
    if (!ForHover && row == 5)
        MinMax = TRect(c.right - bs - 4, c.bottom - bs - 4, c.right - 4, c.bottom - 4);
}

// ---------------------------------------------------------------------------
// Anchors.

String TCustomAdvPanel::GetAnchorAt(int X, int Y, TRect& AnchorRect)
{
    TRect r = GetClientRect();
    if (GetBevelOuter() != bvNone || GetBevelInner() != bvNone) {
        const int b = GetBevelWidth();
        r = TRect(r.left + b, r.top + b, r.right - b, r.bottom - b);
    }
    if (FBorderShadow) {
        r.right -= 2;
        r.bottom -= 2;
    }
    const int inset = GetBorderWidth() + 1;
    r = TRect(r.left + inset + FIndent, r.top + inset + FTopIndent, r.right - inset, r.bottom - inset);
    TCanvas* canvas = GetCanvas();
    canvas->GetFont()->Assign(GetFont());
    int xsize = 0, th = 0;
    if (FTextVAlign != tvaTop)
        DrawHTML(canvas, FText, r, -1, !FEllipsis, true, false, xsize, th);
    const int CH = FCaption->GetHeight();
    const bool captionShown = FCaption->GetVisible();
    const bool inBand = captionShown && CaptionBand().Contains(TPoint(X, Y));
    String anchor, strip, focusAnchor;
    int links = 0, mouseLink = -1, ysize = 0;
    TRect hoverRect;
    bool hit = false;
    if (!inBand) {
        if (captionShown) {
            switch (FCaption->GetPosition()) {
            case cpTop: r.top += CH; break;
            case cpLeft: r.left += CH; break;
            case cpRight: r.right -= CH; break;
            }
        }
        if (th < r.Height()) {
            if (FTextVAlign == tvaCenter)
                r.top += (r.bottom - r.top - th) / 2;
            else if (FTextVAlign == tvaBottom)
                r.top = r.bottom - th;
        }
        r.bottom += 20;
        hit = PanelHTMLDraw(canvas, FText, r, FImages, X, Y, -1, -1, 2, true, false, false, false, false, false,
                            !FEllipsis, 1.0, FURLColor, 0xFF0000, 0x0000FF, 0x808080, anchor, strip, focusAnchor,
                            xsize, ysize, links, mouseLink, hoverRect, FImageCache.get(), FContainer, FLineSpacing,
                            bdLeftToRight);
        FHoverHyperLink = mouseLink;
    } else if (FCaption->GetPosition() == cpTop) {
        r.bottom = r.top + CH;
        if (th < CH) {
            if (FTextVAlign == tvaCenter)
                r.top += (CH - th) / 2;
            else if (FTextVAlign == tvaBottom)
                r.top = r.top + CH - th;
        }
        canvas->GetFont()->Assign(FCaption->GetFont());
        r.left += FCaption->GetIndent();
        r.top += FCaption->GetTopIndent();
        hit = PanelHTMLDraw(canvas, FCaption->GetText(), r, FImages, X, Y, -1, -1, 2, true, false, false, false,
                            false, false, !FEllipsis, 1.0, FURLColor, 0xFF0000, 0x0000FF, 0x808080, anchor, strip,
                            focusAnchor, xsize, ysize, links, mouseLink, hoverRect, FImageCache.get(), FContainer,
                            FLineSpacing, bdLeftToRight);
        FCaptionHoverHyperLink = mouseLink;
    }
    if (!hit)
        return String();
    AnchorRect = hoverRect;
    return anchor;
}

void TCustomAdvPanel::InvalidateHoverRect(const TRect& R, bool Erase)
{
    if (GetDoubleBuffered())
        Invalidate();
    else if (FHover && HandleAllocated())
        InvalidateRect(GetHandle(), &R, Erase);
}

void TCustomAdvPanel::AnchorEnter(const String& Anchor, const TRect& AnchorRect)
{
    if (GetCursor() == FOldCursor || Anchor != FAnchor) {
        if (FAnchorHint)
            Application->CancelHint();
        TCustomPanel::SetCursor(crHandPoint);
        if (OnAnchorEnter)
            OnAnchorEnter(this, Anchor);
        if (FHover)
            InvalidateHoverRect(AnchorRect, true);
    }
    FAnchor = Anchor;
}

void TCustomAdvPanel::OpenAnchor(const String& Anchor)
{
    // Panel texts come from files beside the program: only web and mail
    // addresses go to the shell, so that no anchor can start a program.
    static const wchar_t* const opened[] = {L"http://", L"https://", L"ftp://", L"mailto:"};
    for (const wchar_t* prefix : opened)
        if (StartsWithNoCase(Anchor, prefix)) {
            ShellExecuteW(nullptr, L"open", Anchor.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            return;
        }
    if (OnAnchorClick)
        OnAnchorClick(this, Anchor);
}

// ---------------------------------------------------------------------------
// Mouse.

void TCustomAdvPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseDown(Button, Shift, X, Y);
    TRect anchorRect;
    const String anchor = GetAnchorAt(X, Y, anchorRect);
    if (!anchor.empty())
        OpenAnchor(anchor);
}

void TCustomAdvPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseUp(Button, Shift, X, Y);
    if (ComponentState().Contains(csDesigning) || !FCaption->GetVisible())
        return;
    const TPoint p(X, Y);
    bool toggle = FCaption->GetMinMaxCaption();
    TRect closeRect, minMaxRect, band;
    ButtonRects(closeRect, minMaxRect, band, false);
    if (FCaption->GetCloseButton() && closeRect.Contains(p)) {
        SetVisible(false);
        if (OnClose)
            OnClose(this);
        Synchronize();
        toggle = false;
        if (FFreeOnClose) {
            ReleaseAfterClose();
            return;
        }
    }
    if (FCaption->GetMinMaxButton() && minMaxRect.Contains(p)) {
        toggle = false;
        SetCollaps(!FCollaps);
        if (FReleasePending)
            return;
    }
    if (band.Contains(p)) {
        if (toggle)
            SetCollaps(!FCollaps);
        if (OnCaptionClick && !FReleasePending)
            OnCaptionClick(this);
    }
}

void TCustomAdvPanel::ReleaseAfterClose()
{
    // The panel is still inside its own message handling (and maybe inside a
    // collapse pumping messages): free it once the queue gets back to it.
    FReleasePending = true;
    if (HandleAllocated())
        PostMessageW(GetHandle(), CM_RELEASE, 0, 0);
}

void TCustomAdvPanel::DblClick()
{
    TCustomPanel::DblClick();
    if (!FCaption->GetVisible() || !HandleAllocated())
        return;
    POINT p{};
    GetCursorPos(&p);
    ::ScreenToClient(GetHandle(), &p);
    if (CaptionBand().Contains(TPoint(p)) && OnCaptionDBlClick)
        OnCaptionDBlClick(this);
}

void TCustomAdvPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomPanel::MouseMove(Shift, X, Y);
    TRect ar;
    const String anchor = GetAnchorAt(X, Y, ar);
    FInMove = false;
    const bool captionShown = FCaption->GetVisible();
    const int CH = FCaption->GetHeight();
    const TPoint p(X, Y);
    if (captionShown && !ComponentState().Contains(csDesigning)) {
        if (GetShowHint() && !FCaption->GetOfficeHint()->IsEmpty() &&
            ((FPrevY >= CH && Y < CH) || (FPrevY < CH && Y >= CH)))
            Application->CancelHint();
        TRect closeRect, minMaxRect, band;
        ButtonRects(closeRect, minMaxRect, band, true);
        if (FCaption->GetCloseButtonHoverColor() != clNone) {
            const bool over = FCaption->GetCloseButton() && closeRect.Contains(p);
            if (StoreChanged(FHoverCloseBtn, over))
                Invalidate();
        }
        if (FCaption->GetMinMaxButtonHoverColor() != clNone) {
            const bool over = FCaption->GetMinMaxButton() && minMaxRect.Contains(p);
            if (StoreChanged(FHoverMinMaxBtn, over))
                Invalidate();
        }
    }
    const bool inBand = captionShown && CaptionBand().Contains(p);
    if (!inBand) {
        if (FCaptionHoverHyperLink != -1) {
            FCaptionHoverHyperLink = -1;
            InvalidateHoverRect(FCaptionCurrHoverRect, true);
        }
        if (!anchor.empty()) {
            if (anchor != FAnchor || ar != FCurrHoverRect || FOldHoverHyperLink == -1 ||
                FHoverHyperLink != FOldHoverHyperLink) {
                if (FHover) {
                    InvalidateHoverRect(Inflated(FCurrHoverRect, 1), true);
                    InvalidateHoverRect(ar, true);
                }
            }
            AnchorEnter(anchor, ar);
            FCurrHoverRect = ar;
            FOldHoverHyperLink = FHoverHyperLink;
        } else if (GetCursor() == crHandPoint) {
            TCustomPanel::SetCursor(FOldCursor);
            if (OnAnchorExit)
                OnAnchorExit(this, FAnchor);
            InvalidateHoverRect(Inflated(FCurrHoverRect, 1), true);
            FHoverHyperLink = -1;
            FOldHoverHyperLink = -1;
            FAnchor.clear();
        }
    } else {
        if (FOldHoverHyperLink != -1) {
            InvalidateHoverRect(FCurrHoverRect, true);
            FHoverHyperLink = -1;
            FOldHoverHyperLink = -1;
        }
        if (!anchor.empty()) {
            if (anchor != FAnchor || ar != FCaptionCurrHoverRect || FCaptionHoverHyperLink == -1) {
                if (!FAnchor.empty())
                    InvalidateHoverRect(FCaptionCurrHoverRect, true);
                InvalidateHoverRect(ar, true);
            }
            AnchorEnter(anchor, ar);
            FCaptionCurrHoverRect = ar;
        } else if (GetCursor() == crHandPoint) {
            TCustomPanel::SetCursor(FOldCursor);
            if (OnAnchorExit)
                OnAnchorExit(this, FAnchor);
            FCaptionHoverHyperLink = -1;
            FAnchor.clear();
            InvalidateHoverRect(CaptionBand(), true);
        }
    }
    FPrevY = Y;
}

void TCustomAdvPanel::MouseEnter()
{
    TCustomPanel::MouseEnter();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TCustomAdvPanel::MouseLeave()
{
    TCustomPanel::MouseLeave();
    if (FHoverHyperLink != -1 || FCaptionHoverHyperLink != -1) {
        FHoverHyperLink = -1;
        FOldHoverHyperLink = -1;
        FCaptionHoverHyperLink = -1;
        if (FHover) {
            InvalidateHoverRect(Inflated(FCurrHoverRect, 1), true);
            InvalidateHoverRect(Inflated(FCaptionCurrHoverRect, 1), true);
        }
    }
    if (OnMouseLeave)
        OnMouseLeave(this);
    if (FHoverCloseBtn || FHoverMinMaxBtn) {
        FHoverCloseBtn = false;
        FHoverMinMaxBtn = false;
        Invalidate();
    }
}

// ---------------------------------------------------------------------------
// Messages.

void TCustomAdvPanel::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_RELEASE && FReleasePending) {
        // Posted by a close with FreeOnClose, so that the click that closed
        // the panel has returned: freed here, before any handler of ours,
        // nothing touches the panel afterwards. A collapse that lets messages
        // run is still on the stack: it posts the release again once it ends.
        if (!FIsCollapsing)
            Free();
        return;
    }
    if (Message.Msg == WM_DESTROY && FPosition->GetSave())
        SavePosition();
    TCustomPanel::WndProc(Message);
}

void TCustomAdvPanel::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCHITTEST: WMNCHitTest(Message); return;
    case WM_SIZING: WMSizing(Message); return;
    case WM_MOVING: WMMoving(Message); return;
    case WM_ENTERSIZEMOVE: WMEnterSizeMove(Message); return;
    case WM_EXITSIZEMOVE: WMExitSizeMove(Message); return;
    case WM_SIZE: WMSizeMessage(Message); return;
    case CM_HINTSHOW: CMHintShowMessage(Message); return;
    case WM_PANEL_ENDMOVESIZE: EndMoveSize(); return;
    case WM_ERASEBKGND:
        if (FOptimizePaint) {
            Message.Result = 1;
            return;
        }
        break;
    case CM_PARENTFONTCHANGED:
        TCustomPanel::Dispatch(Message);
        if (GetParentFont())
            FCaption->GetFont()->Assign(GetFont());
        return;
    }
    TCustomPanel::Dispatch(Message);
}

void TCustomAdvPanel::WMNCHitTest(TMessage& Message)
{
    TCustomPanel::Dispatch(Message);
    if (ComponentState().Contains(csDesigning))
        return;
    const POINT screen{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    POINT p = screen;
    ::ScreenToClient(GetHandle(), &p);
    const int X = p.x, Y = p.y;
    const int W = GetWidth(), H = GetHeight();
    const int CH = FCaption->GetHeight();
    const int bs = ButtonSize();
    const int buttons = (FCaption->GetCloseButton() ? 1 : 0) + (FCaption->GetMinMaxButton() ? 1 : 0);
    const bool leftButtons = FCaption->GetButtonPosition() == cbpLeft;
    TRect span = CaptionBand();
    switch (FCaption->GetPosition()) {
    case cpTop: (leftButtons ? span.left += bs * buttons : span.right -= bs * buttons); break;
    case cpLeft: (leftButtons ? span.bottom -= bs * buttons : span.top += bs * buttons); break;
    case cpRight: (leftButtons ? span.top += bs * buttons : span.bottom -= bs * buttons); break;
    }
    bool inSpan = false;
    if (FCaption->GetVisible()) {
        switch (FCaption->GetPosition()) {
        case cpTop: inSpan = Y < CH && X > span.left && X < span.right; break;
        case cpLeft: inSpan = X < CH && Y > span.top && Y < span.bottom; break;
        case cpRight: inSpan = X > W - CH && Y > span.top && Y < span.bottom; break;
        }
    }
    FInMove = false;
    if (inSpan) {
        TRect ar;
        const bool onAnchor = !GetAnchorAt(X, Y, ar).empty();
        if (!onAnchor && Message.Result == HTCLIENT && FCanMove) {
            MouseMove(TShiftState(), X, Y);
            Message.Result = HTCAPTION;
            FInMove = true;
        }
    }
    if (Message.Result != HTCLIENT || !FCanSize || FCollaps)
        return;
    const int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
    LRESULT answer = HTCLIENT;
    if (FCaption->GetPosition() == cpRight) {
        if (!FFixedHeight && !FFixedWidth && Y > H - fy - 2 && X < fx + 2)
            answer = HTBOTTOMLEFT;
        else if (!FFixedHeight && Y > H - fy)
            answer = HTBOTTOM;
        else if (!FFixedWidth && X < fx + 2)
            answer = HTLEFT;
    } else {
        if (!FFixedHeight && !FFixedWidth && Y > H - fy - 2 && X > W - fx - 2)
            answer = HTBOTTOMRIGHT;
        else if (!FFixedHeight && Y > H - fy)
            answer = HTBOTTOM;
        else if (!FFixedWidth && X > W - fx)
            answer = HTRIGHT;
    }
    if (answer != HTCLIENT) {
        SetWindowPos(GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        Message.Result = answer;
    }
}

void TCustomAdvPanel::WMEnterSizeMove(TMessage& Message)
{
    TCustomPanel::Dispatch(Message);
    FTopLeft = GetClientOrigin();
    FWidthHeight = TPoint(GetWidth(), GetHeight());
}

void TCustomAdvPanel::WMSizing(TMessage& Message)
{
    TCustomPanel::Dispatch(Message);
    if (ComponentState().Contains(csDesigning))
        return;
    auto* r = reinterpret_cast<RECT*>(Message.LParam);
    const int oldWidth = GetWidth();
    if (FFixedWidth)
        r->right = r->left + FWidthHeight.x;
    if (FFixedHeight)
        r->bottom = r->top + FWidthHeight.y;
    FFullHeight = FCaption->GetPosition() == cpTop ? r->bottom - r->top : r->right - r->left;
    if (r->right - r->left != oldWidth)
        BuildShadedHeader();
    Message.Result = TRUE;
}

void TCustomAdvPanel::WMMoving(TMessage& Message)
{
    TCustomPanel::Dispatch(Message);
    auto* r = reinterpret_cast<RECT*>(Message.LParam);
    FTopLeft = GetClientOrigin();
    if (FInMove)
        SetWindowPos(GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The loop proposes screen coordinates; the pinned edges are those of the move's start.
    if (FFixedLeft) {
        const int shift = FTopLeft.x - r->left;
        r->left += shift;
        r->right += shift;
    }
    if (FFixedTop) {
        const int shift = FTopLeft.y - r->top;
        r->top += shift;
        r->bottom += shift;
    }
    Message.Result = TRUE;
}

void TCustomAdvPanel::WMExitSizeMove(TMessage& Message)
{
    TCustomPanel::Dispatch(Message);
    // Without full-window dragging the platform places the window only after
    // this message: the end is reported once the loop has returned, so that
    // the handler and the group see where the panel ended up.
    PostMessageW(GetHandle(), WM_PANEL_ENDMOVESIZE, 0, 0);
}

void TCustomAdvPanel::EndMoveSize()
{
    if (OnEndMoveSize)
        OnEndMoveSize(this);
    Synchronize();
}

void TCustomAdvPanel::WMSizeMessage(TMessage& Message)
{
    TCustomPanel::Dispatch(Message);
    if (FShadedHeader->GetWidth() != GetWidth())
        BuildShadedHeader();
    Invalidate();
}

void TCustomAdvPanel::CMHintShowMessage(TMessage& Message)
{
    auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
    Message.Result = 0;
    if (!FAnchorHint || !info)
        return;
    TRect ar;
    String anchor = GetAnchorAt(info->CursorPos.x, info->CursorPos.y, ar);
    if (anchor.empty())
        return;
    if (OnAnchorHint)
        OnAnchorHint(this, anchor);
    POINT screen = ClientToScreen(info->CursorPos);
    info->HintPos = POINT{screen.x + 10, screen.y - 10};
    info->HintStr = anchor;
}

void TCustomAdvPanel::Resize()
{
    if (!FOptimizePaint && !ComponentState().Contains(csDesigning) && HandleAllocated())
        Repaint();
    TCustomPanel::Resize();
    DoAutoSize();
}

void TCustomAdvPanel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (ComponentState().Contains(csDesigning))
        Synchronize();
    if (GetWidth() != FOldWidth || GetHeight() != FOldHeight) {
        FOldWidth = GetWidth();
        FOldHeight = GetHeight();
        for (int i = 0; i < ControlCount(); ++i)
            Controls(i)->Invalidate();
        Invalidate();
    }
}

void TCustomAdvPanel::AlignControls(TControl* AControl, RECT& Rect)
{
    const int CH = FCaption->GetHeight();
    const int W = GetWidth(), H = GetHeight();
    if (FCaption->GetVisible()) {
        switch (FCaption->GetPosition()) {
        case cpTop:
            if (Rect.top < CH)
                Rect.top = CH - 2;
            break;
        case cpLeft:
            if (Rect.left < CH)
                Rect.left = CH - 2;
            break;
        case cpRight:
            if (Rect.right > W - CH)
                Rect.right = W - CH;
            break;
        }
    }
    if (FStatusBar->GetVisible()) {
        const int sh = FStatusBar->GetHeight();
        switch (FCaption->GetPosition()) {
        case cpTop:
            if (Rect.bottom > H - sh)
                Rect.bottom = H - sh;
            break;
        case cpLeft:
            if (Rect.right > W - sh)
                Rect.right = W - sh;
            break;
        case cpRight:
            if (Rect.left < sh)
                Rect.left = sh;
            break;
        }
    }
    TCustomPanel::AlignControls(AControl, Rect);
}

// ---------------------------------------------------------------------------
// Collapse and expand.

void TCustomAdvPanel::PumpStep()
{
    Application->ProcessMessages();
    Synchronize();
    Sleep(static_cast<DWORD>(std::max(0, FCollapsDelay)));
}

void TCustomAdvPanel::SetChildrenVisible(bool Show)
{
    if (Show) {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* child = Controls(i);
            if (std::find(FHideList.begin(), FHideList.end(), child) == FHideList.end())
                child->SetVisible(true);
        }
        FHideList.clear();
        return;
    }
    const int CH = FCaption->GetHeight();
    const int W = GetWidth();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (!child->GetVisible()) {
            FHideList.push_back(child);
            continue;
        }
        bool inCaption = false;
        if (FCaption->GetVisible()) {
            switch (FCaption->GetPosition()) {
            case cpTop: inCaption = child->GetTop() < CH; break;
            case cpLeft: inCaption = child->GetLeft() < CH; break;
            case cpRight: inCaption = child->GetLeft() > W - CH; break;
            }
        }
        if (!inCaption)
            child->SetVisible(false);
    }
}

void TCustomAdvPanel::SetCollaps(bool Value)
{
    if (FCollaps && !Value && OnMaximize)
        OnMaximize(this);
    if (!FCollaps && Value && OnMinimize)
        OnMinimize(this);
    if (FIsCollapsing)
        return;
    if (Value != FCollaps) {
        FIsCollapsing = true;
        const TScopeExit idle([this] { FIsCollapsing = false; });
        FCollaps = Value;
        if (!ComponentState().Contains(csLoading))
            CollapseTo(Value);
    }
    if (FReleasePending) {
        if (HandleAllocated())
            PostMessageW(GetHandle(), CM_RELEASE, 0, 0);
        return;
    }
    PanelStateChanged();
    if (OnEndCollapsExpand)
        OnEndCollapsExpand(this);
}

void TCustomAdvPanel::CollapseTo(bool Value)
{
    const int e = GetBorderWidth() != 0 && FBorderShadow ? GetBorderWidth() + 2 : 0;
    const int CH = FCaption->GetHeight();
    const int statusHeight = FStatusBar->GetVisible() ? FStatusBar->GetHeight() : 0;
    const TCaptionPosition position = FCaption->GetPosition();
    const int steps = FCollapsSteps;
    if (Value) {
        FOldLeft = GetLeft();
        FFullHeight = position == cpTop ? GetHeight() : GetWidth();
        if (FAutoHideChildren)
            SetChildrenVisible(false);
        FOldColor = GetColor();
        if (steps > 0) {
            if (FCollapsColor != clNone)
                SetColor(FCollapsColor);
            if (position == cpTop) {
                const int step = (GetHeight() - CH - statusHeight - 2 * GetBorderWidth()) / steps;
                for (int i = 0; i < steps && !FReleasePending; ++i) {
                    TCustomPanel::SetHeight(GetHeight() - step);
                    PumpStep();
                }
            } else {
                const int step = (GetWidth() - CH - statusHeight) / steps;
                for (int i = 0; i < steps && !FReleasePending; ++i) {
                    if (position == cpRight)
                        TCustomPanel::SetBounds(GetLeft() + step, GetTop(), GetWidth() - step, GetHeight());
                    else
                        TCustomPanel::SetWidth(GetWidth() - step);
                    PumpStep();
                }
            }
        }
        if (FReleasePending)
            return;
        if (position == cpTop)
            TCustomPanel::SetHeight(CH + statusHeight + 2 * e - 2);
        else {
            TCustomPanel::SetWidth(e + CH + statusHeight);
            if (position == cpRight)
                SetLeft(FFullHeight + FOldLeft - GetWidth());
        }
    } else {
        if (position == cpRight)
            FOldLeft = GetLeft() + GetWidth() - FFullHeight;
        if (steps > 0) {
            if (FCollapsColor != clNone)
                SetColor(FOldColor);
            const int step = (FFullHeight - CH - statusHeight) / steps;
            for (int i = 0; i < steps && !FReleasePending; ++i) {
                if (position == cpTop)
                    TCustomPanel::SetHeight(GetHeight() + step);
                else if (position == cpRight)
                    TCustomPanel::SetBounds(GetLeft() - step, GetTop(), GetWidth() + step, GetHeight());
                else
                    TCustomPanel::SetWidth(GetWidth() + step);
                PumpStep();
            }
        }
        if (FReleasePending)
            return;
        if (position == cpTop)
            TCustomPanel::SetHeight(FFullHeight);
        else {
            TCustomPanel::SetWidth(FFullHeight);
            if (position == cpRight)
                SetLeft(FOldLeft);
        }
        if (FAutoHideChildren)
            SetChildrenVisible(true);
    }
    Synchronize();
}

// ---------------------------------------------------------------------------
// Saved position.

namespace {
std::unique_ptr<TCustomIniFile> OpenPositionStore(TPanelPosition* Position)
{
    if (Position->GetLocation() == TPanelPositionLocation::clInifile)
        return std::unique_ptr<TCustomIniFile>(New<TIniFile>(Position->GetKey()));
    return std::unique_ptr<TCustomIniFile>(New<TRegistryIniFile>(Position->GetKey()));
}
} // namespace

void TCustomAdvPanel::SavePosition()
{
    if (FPosition->GetKey().empty() || FPosition->GetSection().empty() || ComponentState().Contains(csDesigning))
        return;
    TOwned<TCustomIniFile> store(OpenPositionStore(FPosition.get()).release());
    const String section = FPosition->GetSection();
    store->WriteInteger(section, L"Top", GetTop());
    store->WriteInteger(section, L"Left", GetLeft());
    store->WriteInteger(section, L"Height", GetHeight());
    store->WriteInteger(section, L"FullHeight", FFullHeight);
    store->WriteInteger(section, L"Width", GetWidth());
    store->WriteBool(section, L"Collaps", FCollaps);
}

void TCustomAdvPanel::LoadPosition()
{
    if (FPosition->GetKey().empty() || FPosition->GetSection().empty() || ComponentState().Contains(csDesigning))
        return;
    TOwned<TCustomIniFile> store(OpenPositionStore(FPosition.get()).release());
    const String section = FPosition->GetSection();
    SetTop(store->ReadInteger(section, L"Top", GetTop()));
    SetLeft(store->ReadInteger(section, L"Left", GetLeft()));
    SetHeight(store->ReadInteger(section, L"Height", GetHeight()));
    SetWidth(store->ReadInteger(section, L"Width", GetWidth()));
    SetCollaps(store->ReadInteger(section, L"Collaps", 0) == 1);
    FFullHeight = store->ReadInteger(section, L"FullHeight", GetHeight());
}
