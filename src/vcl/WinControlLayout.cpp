// TWinControl: bounds, children, showing, alignment, z order and scaling.
#include "Controls.h"
#include "Forms.h"
#include "ScopeExit.h"
#include <algorithm>

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

} // namespace

// --- bounds ---------------------------------------------------------------------
void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    DoConstraints(AWidth, AHeight);
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_)
        return;
    if (!CanResize(AWidth, AHeight))
        return;
    if (handle_ && !IsIconic(handle_) && !IsZoomed(handle_)) {
        SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const bool sized = AWidth != width_ || AHeight != height_;
        left_ = ALeft;
        top_ = ATop;
        width_ = AWidth;
        height_ = AHeight;
        if (handle_) {
            // A maximized or minimized window keeps these as its normal rectangle.
            WINDOWPLACEMENT wp{sizeof(wp)};
            GetWindowPlacement(handle_, &wp);
            wp.rcNormalPosition = {ALeft, ATop, ALeft + AWidth, ATop + AHeight};
            SetWindowPlacement(handle_, &wp);
        } else if (sized) {
            Realign();
            if (!ComponentState().Contains(csLoading))
                Resize();
        }
    }
    UpdateAnchorRules();
    RequestAlign();
}

void TWinControl::UpdateBounds()
{
    if (!handle_)
        return;
    RECT old = GetBoundsRect();
    ReadHandleBounds();
    RECT now = GetBoundsRect();
    if (!EqualRect(&old, &now) && parent_ && !parent_->ControlState.Contains(csAligning))
        UpdateAnchorRules();
}

void TWinControl::WMWindowPosChanged(TMessage& M)
{
    auto* wp = reinterpret_cast<WINDOWPOS*>(M.LParam);
    const bool moved = !(wp->flags & SWP_NOMOVE) || !(wp->flags & SWP_NOSIZE);
    if (moved)
        UpdateBounds();
    if (wp->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))
        Invalidate();
    DefaultHandler(M);
}

void TWinControl::WMSize(TMessage& M)
{
    UpdateBounds();
    DefaultHandler(M);
    Realign();
    if (!ComponentState().Contains(csLoading))
        Resize();
}

RECT TWinControl::GetClientRect() const
{
    if (handle_) {
        RECT r;
        ::GetClientRect(handle_, &r);
        return r;
    }
    // Without a window, the frame the window will have is taken off.
    RECT frame{0, 0, 0, 0};
    TCreateParams params;
    {
        measuringParams_ = true;
        const TScopeExit measured([this] { measuringParams_ = false; });
        const_cast<TWinControl*>(this)->CreateParams(params);
    }
    AdjustWindowRectEx(&frame, params.Style & ~WS_VSCROLL & ~WS_HSCROLL, FALSE, params.ExStyle);
    RECT r{0, 0, width_ - (frame.right - frame.left), height_ - (frame.bottom - frame.top)};
    InflateRect(&r, -borderWidth_, -borderWidth_);
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
    return r;
}

POINT TWinControl::GetClientOrigin() const
{
    if (handle_) {
        POINT p{0, 0};
        ::ClientToScreen(handle_, &p);
        return p;
    }
    return TControl::GetClientOrigin();
}

void TWinControl::SetBorderWidth(int value)
{
    if (borderWidth_ == value)
        return;
    borderWidth_ = value;
    if (handle_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    Realign();
}

void TWinControl::WMNCCalcSize(TMessage& M)
{
    DefaultHandler(M);
    if (borderWidth_ > 0 && M.LParam) {
        auto* r = reinterpret_cast<RECT*>(M.LParam);
        InflateRect(r, -borderWidth_, -borderWidth_);
        if (r->right < r->left)
            r->right = r->left;
        if (r->bottom < r->top)
            r->bottom = r->top;
    }
}

// --- children ---------------------------------------------------------------------
TControl* TWinControl::Controls(int index) const
{
    int n = static_cast<int>(controls_.size());
    if (index < 0 || index >= ControlCount())
        throw EListError(L"Control index out of bounds (" + IntToStr(index) + L")");
    return index < n ? controls_[static_cast<std::size_t>(index)]
                     : winControls_[static_cast<std::size_t>(index - n)];
}

void TWinControl::SetChildOrder(TControl* Child, int Order)
{
    const int graphicCount = static_cast<int>(controls_.size());
    if (auto* win = dynamic_cast<TWinControl*>(Child)) {
        auto it = std::find(winControls_.begin(), winControls_.end(), win);
        if (it == winControls_.end())
            return;
        winControls_.erase(it);
        const int pos = std::clamp(Order - graphicCount, 0, static_cast<int>(winControls_.size()));
        winControls_.insert(winControls_.begin() + pos, win);
        if (win->handle_) {
            // The next one in the list lies above it.
            HWND above = pos + 1 < static_cast<int>(winControls_.size()) ? winControls_[pos + 1]->handle_ : nullptr;
            SetWindowPos(win->handle_, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    } else {
        auto it = std::find(controls_.begin(), controls_.end(), Child);
        if (it == controls_.end())
            return;
        controls_.erase(it);
        const int pos = std::clamp(Order, 0, static_cast<int>(controls_.size()));
        controls_.insert(controls_.begin() + pos, Child);
        if (Child->GetVisible())
            Child->InvalidateControl(true, Child->ControlStyle.Contains(csOpaque));
    }
}

void TWinControl::InsertControl(TControl* AControl)
{
    Perform(CM_CONTROLLISTCHANGING, reinterpret_cast<WPARAM>(AControl), TRUE);
    AControl->parent_ = this;
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        winControls_.push_back(w);
        tabList_.push_back(w);
    } else {
        controls_.push_back(AControl);
    }
    if (!AControl->ComponentState().Contains(csReading)) {
        AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
        AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
        AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
        if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
            if (handle_)
                w->UpdateControlState();
        } else if (handle_) {
            AControl->Invalidate();
        }
        Realign();
    }
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
}

void TWinControl::RemoveControl(TControl* AControl)
{
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
    Perform(CM_CONTROLLISTCHANGING, reinterpret_cast<WPARAM>(AControl), FALSE);
    if (auto* w = dynamic_cast<TWinControl*>(AControl)) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(w, true);
        if (w->handle_)
            w->DestroyHandle();
        winControls_.erase(std::remove(winControls_.begin(), winControls_.end(), w), winControls_.end());
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
    } else {
        AControl->InvalidateControl(AControl->GetVisible(), false);
        controls_.erase(std::remove(controls_.begin(), controls_.end(), AControl), controls_.end());
    }
    if (GetCapture() && GetCaptureControl() == AControl)
        SetCaptureControl(nullptr);
    if (MouseControl() == AControl)
        SetMouseControl(nullptr);
    AControl->parent_ = nullptr;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
    if (!ComponentState().Contains(csDestroying))
        Realign();
}

bool TWinControl::ContainsControl(TControl* Control) const
{
    for (TControl* c = Control; c; c = c->GetParent())
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(POINT Pos, bool AllowDisabled, bool AllowWinControls, bool AllLevels) const
{
    auto hit = [&](TControl* c, POINT& local) {
        if (!c->GetVisible() || (!AllowDisabled && !c->GetEnabled()))
            return false;
        RECT r = c->GetBoundsRect();
        if (!PtInRect(&r, Pos))
            return false;
        local = {Pos.x - c->GetLeft(), Pos.y - c->GetTop()};
        return c->IsControlHitTest(local);
    };
    POINT local{};
    if (AllowWinControls) {
        for (auto it = winControls_.rbegin(); it != winControls_.rend(); ++it) {
            if (hit(*it, local)) {
                if (AllLevels)
                    if (TControl* inner = (*it)->ControlAtPos(local, AllowDisabled, true, true))
                        return inner;
                return *it;
            }
        }
    }
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if (hit(*it, local))
            return *it;
    return nullptr;
}

TControl* TWinControl::FindChildControl(const String& ControlName) const
{
    for (int i = 0; i < ControlCount(); ++i)
        if (SameText(Controls(i)->GetName(), ControlName))
            return Controls(i);
    return nullptr;
}

void TWinControl::Broadcast(TMessage& Message)
{
    for (int i = 0; i < ControlCount(); ++i) {
        Controls(i)->WindowProc(Message);
        if (Message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT Msg)
{
    TMessage m{Msg, 0, 0, 0};
    Broadcast(m);
}

void TWinControl::DestroyChildHandles()
{
    for (TWinControl* c : winControls_)
        c->DestroyHandle();
}

// --- showing ------------------------------------------------------------------------
void TWinControl::UpdateShowing()
{
    // A form without a parent is a top-level window and shows on its own.
    bool show = (GetVisible() || (ComponentState().Contains(csDesigning) &&
                                  !ControlStyle.Contains(csNoDesignVisible))) &&
                (parent_ ? parent_->showing_ || parent_->willShow_
                         : parentWindow_ != nullptr || dynamic_cast<TCustomForm*>(this) != nullptr);
    if (show) {
        if (!handle_)
            CreateHandle();
        // Children are ready (and showing) before this window appears, so a
        // form's OnShow finds its controls in place.
        willShow_ = true;
        const TScopeExit shown([this] { willShow_ = false; });
        for (TWinControl* c : std::vector<TWinControl*>(winControls_))
            c->UpdateShowing();
    }
    if (handle_ && showing_ != show) {
        showing_ = show;
        // A change that fails is undone.
        TScopeExit undo([this, show] { showing_ = !show; });
        Perform(CM_SHOWINGCHANGED, 0, 0);
        undo.Dismiss();
    }
    if (!show)
        for (TWinControl* c : std::vector<TWinControl*>(winControls_))
            c->UpdateShowing();
}

void TWinControl::UpdateControlState()
{
    // Only a chain of showing parents up to a top window makes a window.
    for (TWinControl* p = parent_; p; p = p->parent_) {
        if (!p->showing_ && !p->willShow_)
            return;
    }
    if (parent_ || parentWindow_ || dynamic_cast<TCustomForm*>(this))
        UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&)
{
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (showing_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage& M)
{
    if (!GetVisible() && parent_) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(this, false);
    }
    if (!ComponentState().Contains(csLoading))
        UpdateControlState();
    TControl::CMVisibleChanged(M);
}

void TWinControl::CMEnabledChanged(TMessage& M)
{
    if (!GetEnabled() && parent_) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(this, false);
    }
    if (handle_)
        EnableWindow(handle_, GetEnabled());
    TControl::CMEnabledChanged(M);
}

void TWinControl::CMFontChanged(TMessage& M)
{
    if (handle_)
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetFont()->GetHandle()), 0);
    NotifyControls(CM_PARENTFONTCHANGED);
    TControl::CMFontChanged(M);
}

void TWinControl::CMColorChanged(TMessage& M)
{
    brush_->SetColor(GetColor());
    NotifyControls(CM_PARENTCOLORCHANGED);
    TControl::CMColorChanged(M);
}

void TWinControl::CMInvalidate(TMessage& M)
{
    if (handle_)
        InvalidateRect(handle_, nullptr, !ControlStyle.Contains(csOpaque));
    (void)M;
}

// --- alignment -------------------------------------------------------------------
void TWinControl::DisableAlign()
{
    ++alignLevel_;
}

void TWinControl::EnableAlign()
{
    if (alignLevel_ > 0 && --alignLevel_ == 0 && ControlState.Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::AlignControl(TControl* AControl)
{
    RECT r = GetClientRect();
    AlignControls(AControl, r);
}

void TWinControl::Realign()
{
    RECT r = GetClientRect();
    AlignControls(nullptr, r);
}

void TWinControl::AdjustClientRect(RECT&) {}

void TWinControl::AlignControls(TControl* AControl, RECT& Rect)
{
    if (alignLevel_ > 0 || ComponentState().Contains(csLoading) || ControlState.Contains(csAligning)) {
        ControlState << csAlignmentNeeded;
        return;
    }
    ControlState >> csAlignmentNeeded;
    ControlState << csAligning;
    {
        ++alignLevel_;
        const TScopeExit aligned([this] {
            --alignLevel_;
            ControlState >> csAligning;
        });
        AdjustClientRect(Rect);
        DoAlign(AControl, Rect);
    }
    ControlsAligned();
}

void TWinControl::DoAlign(TControl* AControl, RECT& Rect)
{
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient, alCustom})
        AlignOne(a, AControl, Rect);
    AnchorAll(GetClientRect());
}

void TWinControl::AlignOne(TAlign align, TControl* AControl, RECT& Rect)
{
    std::vector<TControl*> list;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->GetAlign() == align && (c->GetVisible() || c->ComponentState().Contains(csDesigning)))
            list.push_back(c);
    }
    if (list.empty())
        return;
    // Order by the edge the controls stack against; the control being moved
    // wins a tie so that dragging it across a neighbour swaps them.
    auto key = [align](TControl* c) {
        switch (align) {
        case alTop: return c->GetTop();
        case alBottom: return -(c->GetTop() + c->GetHeight());
        case alLeft: return c->GetLeft();
        case alRight: return -(c->GetLeft() + c->GetWidth());
        default: return 0;
        }
    };
    std::stable_sort(list.begin(), list.end(), [&](TControl* a, TControl* b) {
        int ka = key(a), kb = key(b);
        if (ka != kb)
            return ka < kb;
        return a == AControl && b != AControl;
    });
    for (TControl* c : list) {
        int w = Width(Rect), h = Height(Rect);
        switch (align) {
        case alTop:
            c->SetBounds(Rect.left, Rect.top, w, c->GetHeight());
            Rect.top += c->GetHeight();
            break;
        case alBottom:
            c->SetBounds(Rect.left, Rect.bottom - c->GetHeight(), w, c->GetHeight());
            Rect.bottom -= c->GetHeight();
            break;
        case alLeft:
            c->SetBounds(Rect.left, Rect.top, c->GetWidth(), h);
            Rect.left += c->GetWidth();
            break;
        case alRight:
            c->SetBounds(Rect.right - c->GetWidth(), Rect.top, c->GetWidth(), h);
            Rect.right -= c->GetWidth();
            break;
        case alClient:
            c->SetBounds(Rect.left, Rect.top, std::max(w, 0), std::max(h, 0));
            break;
        default:
            break;
        }
        if (Rect.bottom < Rect.top)
            Rect.bottom = Rect.top;
        if (Rect.right < Rect.left)
            Rect.right = Rect.left;
    }
}

void TWinControl::AnchorAll(const RECT& client)
{
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->GetAlign() != alNone || !c->anchorRulesSet_)
            continue;
        TAnchors a = c->GetAnchors();
        int l = c->GetLeft(), t = c->GetTop(), w = c->GetWidth(), h = c->GetHeight();
        if (a.Contains(akRight)) {
            int right = client.right - c->anchorRight_;
            if (a.Contains(akLeft))
                w = std::max(0, right - l);
            else
                l = right - w;
        }
        if (a.Contains(akBottom)) {
            int bottom = client.bottom - c->anchorBottom_;
            if (a.Contains(akTop))
                h = std::max(0, bottom - t);
            else
                t = bottom - h;
        }
        c->SetBounds(l, t, w, h);
    }
}

// --- z order and scaling -------------------------------------------------------------
void TWinControl::SetZOrder(bool TopMost)
{
    if (parent_) {
        auto& list = parent_->winControls_;
        auto it = std::find(list.begin(), list.end(), this);
        if (it != list.end()) {
            list.erase(it);
            if (TopMost)
                list.push_back(this);
            else
                list.insert(list.begin(), this);
        }
    }
    if (handle_)
        SetWindowPos(handle_, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RequestAlign();
}

void TWinControl::ChangeScale(int M, int D)
{
    DisableAlign();
    const TScopeExit enableAlign([this] { EnableAlign(); });
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->ChangeScale(M, D);
    TControl::ChangeScale(M, D);
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    if (ControlState.Contains(csAlignmentNeeded) || ControlCount() > 0)
        Realign();
    if (handle_)
        UpdateControlState();
}
