// TControl: placement, properties and the message flow common to all controls.
#include "Controls.h"
#include "Forms.h"
#include "Menus.h"
#include <algorithm>

namespace {

TControl* captureControl = nullptr;
TControl* mouseControl = nullptr;

} // namespace

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s << ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s << ssCtrl;
    // Bit 29 is the context code: Alt was down when the key was pressed.
    if (KeyData & 0x20000000)
        s << ssAlt;
    return s;
}

TShiftState KeyboardStateToShiftState()
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s << ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s << ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        s << ssAlt;
    if (GetKeyState(VK_LBUTTON) < 0)
        s << ssLeft;
    if (GetKeyState(VK_RBUTTON) < 0)
        s << ssRight;
    if (GetKeyState(VK_MBUTTON) < 0)
        s << ssMiddle;
    return s;
}

TShiftState MouseKeysToShiftState(WPARAM Keys)
{
    TShiftState s;
    if (Keys & MK_SHIFT)
        s << ssShift;
    if (Keys & MK_CONTROL)
        s << ssCtrl;
    if (Keys & MK_LBUTTON)
        s << ssLeft;
    if (Keys & MK_RBUTTON)
        s << ssRight;
    if (Keys & MK_MBUTTON)
        s << ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        s << ssAlt;
    return s;
}

// ---------------------------------------------------------------------------
void TSizeConstraints::SetMinWidth(int v)
{
    if (v == minWidth_)
        return;
    minWidth_ = v;
    if (maxWidth_ > 0 && minWidth_ > maxWidth_)
        maxWidth_ = minWidth_;
    Changed();
}
void TSizeConstraints::SetMinHeight(int v)
{
    if (v == minHeight_)
        return;
    minHeight_ = v;
    if (maxHeight_ > 0 && minHeight_ > maxHeight_)
        maxHeight_ = minHeight_;
    Changed();
}
void TSizeConstraints::SetMaxWidth(int v)
{
    if (v == maxWidth_)
        return;
    maxWidth_ = v;
    if (v > 0 && minWidth_ > maxWidth_)
        minWidth_ = maxWidth_;
    Changed();
}
void TSizeConstraints::SetMaxHeight(int v)
{
    if (v == maxHeight_)
        return;
    maxHeight_ = v;
    if (v > 0 && minHeight_ > maxHeight_)
        minHeight_ = maxHeight_;
    Changed();
}

void TSizeConstraints::Assign(TPersistent* Source)
{
    if (auto* c = dynamic_cast<TSizeConstraints*>(Source)) {
        minWidth_ = c->minWidth_;
        minHeight_ = c->minHeight_;
        maxWidth_ = c->maxWidth_;
        maxHeight_ = c->maxHeight_;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

void TSizeConstraints::Changed()
{
    if (control_)
        control_->SetBounds(control_->GetLeft(), control_->GetTop(), control_->GetWidth(),
                            control_->GetHeight());
    if (OnChange)
        OnChange(this);
}

// ---------------------------------------------------------------------------
TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    WindowProc = [this](TMessage& m) { WndProc(m); };
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    constraints_ = New<TSizeConstraints>(this);
    font_.reset(New<TFont>());
    font_->OnChange = [this](TObject* s) { FontChanged(s); };
}

TControl::~TControl()
{
    if (constraints_)
        constraints_->Free();
}

void TControl::BeforeDestruction()
{
    // Owned components go first (TComponent), then this control leaves its
    // parent, while the derived parts still exist.
    TComponent::BeforeDestruction();
    if (captureControl == this)
        SetCaptureControl(nullptr);
    if (mouseControl == this)
        mouseControl = nullptr;
    if (Application)
        Application->ControlDestroyed(this);
    if (parent_)
        parent_->RemoveControl(this);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m{Msg, WParam, LParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& Message)
{
    const UINT msg = Message.Msg;
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        if (!ControlStyle.Contains(csDoubleClicks)) {
            switch (msg) {
            case WM_LBUTTONDBLCLK: Message.Msg = WM_LBUTTONDOWN; break;
            case WM_RBUTTONDBLCLK: Message.Msg = WM_RBUTTONDOWN; break;
            case WM_MBUTTONDBLCLK: Message.Msg = WM_MBUTTONDOWN; break;
            }
        }
        switch (Message.Msg) {
        case WM_MOUSEMOVE:
            if (Application)
                Application->HintMouseMessage(this, Message);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (ControlStyle.Contains(csCaptureMouse))
                SetMouseCapture(true);
            if (ControlStyle.Contains(csClickEvents))
                ControlState << csClicked;
            ControlState << csLButtonDown;
            break;
        case WM_LBUTTONUP:
            ControlState >> csLButtonDown;
            if (ControlStyle.Contains(csCaptureMouse))
                SetMouseCapture(false);
            break;
        }
    }
    Dispatch(Message);
}

void TControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN: { TWMMouse m(Message); WMLButtonDown(m); return; }
    case WM_LBUTTONDBLCLK: { TWMMouse m(Message); WMLButtonDblClk(m); return; }
    case WM_LBUTTONUP: { TWMMouse m(Message); WMLButtonUp(m); return; }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: { TWMMouse m(Message); WMRButtonDown(m); return; }
    case WM_RBUTTONUP: { TWMMouse m(Message); WMRButtonUp(m); return; }
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: { TWMMouse m(Message); WMMButtonDown(m); return; }
    case WM_MBUTTONUP: { TWMMouse m(Message); WMMButtonUp(m); return; }
    case WM_MOUSEMOVE: { TWMMouse m(Message); WMMouseMove(m); return; }
    case WM_CONTEXTMENU: WMContextMenu(Message); return;
    case CM_MOUSEENTER: CMMouseEnter(Message); return;
    case CM_MOUSELEAVE: CMMouseLeave(Message); return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(Message); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(Message); return;
    case CM_FONTCHANGED: CMFontChanged(Message); return;
    case CM_COLORCHANGED: CMColorChanged(Message); return;
    case CM_PARENTFONTCHANGED: CMParentFontChanged(Message); return;
    case CM_PARENTCOLORCHANGED: CMParentColorChanged(Message); return;
    case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(Message); return;
    case CM_HITTEST: CMHitTest(Message); return;
    case CM_HINTSHOW: CMHintShow(Message); return;
    default: DefaultHandler(Message);
    }
}

void TControl::DefaultHandler(TMessage& Message)
{
    // A control without a window keeps its text itself.
    switch (Message.Msg) {
    case WM_GETTEXT:
        if (Message.WParam > 0 && Message.LParam) {
            auto* buf = reinterpret_cast<wchar_t*>(Message.LParam);
            std::size_t n = std::min<std::size_t>(text_.size(), Message.WParam - 1);
            text_.copy(buf, n);
            buf[n] = 0;
            Message.Result = static_cast<LRESULT>(n);
        }
        break;
    case WM_GETTEXTLENGTH:
        Message.Result = static_cast<LRESULT>(text_.size());
        break;
    case WM_SETTEXT:
        text_ = Message.LParam ? reinterpret_cast<const wchar_t*>(Message.LParam) : L"";
        Message.Result = TRUE;
        break;
    default:
        break;
    }
}

// --- placement --------------------------------------------------------------
void TControl::SetParent(TWinControl* AParent)
{
    if (parent_ == AParent)
        return;
    if (AParent == this)
        throw EInvalidOperation(L"A control cannot have itself as its parent");
    if (parent_)
        parent_->RemoveControl(this);
    if (AParent) {
        AParent->InsertControl(this);
        if (!ComponentState().Contains(csLoading))
            UpdateAnchorRules();
    }
}

void TControl::DoConstraints(int& width, int& height)
{
    int minW = constraints_->GetMinWidth(), minH = constraints_->GetMinHeight();
    int maxW = constraints_->GetMaxWidth(), maxH = constraints_->GetMaxHeight();
    ConstrainedResize(minW, minH, maxW, maxH);
    if (maxW > 0 && width > maxW)
        width = maxW;
    if (minW > 0 && width < minW)
        width = minW;
    if (maxH > 0 && height > maxH)
        height = maxH;
    if (minH > 0 && height < minH)
        height = minH;
}

bool TControl::CanResize(int& NewWidth, int& NewHeight)
{
    bool resize = true;
    if (OnCanResize)
        OnCanResize(this, NewWidth, NewHeight, resize);
    return resize;
}

bool TControl::CanAutoSize(int&, int&)
{
    return true;
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    DoConstraints(AWidth, AHeight);
    if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_)
        return;
    if (!CanResize(AWidth, AHeight))
        return;
    const bool sized = AWidth != width_ || AHeight != height_;
    InvalidateControl(visible_, false);
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (sized && !ComponentState().Contains(csLoading))
        Resize();
}

void TControl::UpdateBoundsRect(const RECT& r)
{
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
}

void TControl::UpdateAnchorRules()
{
    // The distances to the parent's right and bottom edge are what anchors
    // keep; they are taken whenever the control is placed by its owner, not
    // while the parent lays it out.
    if (!parent_ || parent_->ControlState.Contains(csAligning))
        return;
    RECT client = parent_->GetClientRect();
    anchorRight_ = client.right - (left_ + width_);
    anchorBottom_ = client.bottom - (top_ + height_);
    anchorRulesSet_ = true;
}

RECT TControl::GetClientRect() const
{
    return {0, 0, width_, height_};
}

int TControl::GetClientWidth() const
{
    RECT r = GetClientRect();
    return r.right - r.left;
}

int TControl::GetClientHeight() const
{
    RECT r = GetClientRect();
    return r.bottom - r.top;
}

void TControl::SetClientWidth(int v)
{
    SetWidth(width_ - GetClientWidth() + v);
}

void TControl::SetClientHeight(int v)
{
    SetHeight(height_ - GetClientHeight() + v);
}

POINT TControl::GetClientOrigin() const
{
    if (!parent_)
        return {left_, top_};
    POINT p = parent_->GetClientOrigin();
    return {p.x + left_, p.y + top_};
}

POINT TControl::ClientToScreen(POINT p) const
{
    POINT o = GetClientOrigin();
    return {p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) const
{
    POINT o = GetClientOrigin();
    return {p.x - o.x, p.y - o.y};
}

POINT TControl::ClientToParent(POINT p, TWinControl* AParent) const
{
    if (!AParent)
        AParent = parent_;
    const TControl* c = this;
    while (c && c != AParent) {
        p.x += c->left_;
        p.y += c->top_;
        c = c->parent_;
    }
    if (!c)
        throw EInvalidOperation(L"Control is not a child of the given parent");
    return p;
}

void TControl::SetAlign(TAlign value)
{
    if (align_ == value)
        return;
    TAlign old = align_;
    align_ = value;
    anchors_ = {akLeft, akTop};
    switch (value) {
    case alTop: anchors_ = {akLeft, akTop, akRight}; break;
    case alBottom: anchors_ = {akLeft, akRight, akBottom}; break;
    case alLeft: anchors_ = {akLeft, akTop, akBottom}; break;
    case alRight: anchors_ = {akRight, akTop, akBottom}; break;
    case alClient: anchors_ = {akLeft, akTop, akRight, akBottom}; break;
    default: break;
    }
    if (!ComponentState().Contains(csLoading) && old != alNone && value == alNone)
        UpdateAnchorRules();
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value)
{
    if (anchors_ == value)
        return;
    anchors_ = value;
    UpdateAnchorRules();
}

void TControl::RequestAlign()
{
    if (parent_)
        parent_->AlignControl(this);
}

void TControl::BringToFront()
{
    SetZOrder(true);
}

void TControl::SendToBack()
{
    SetZOrder(false);
}

void TControl::SetZOrder(bool TopMost)
{
    if (!parent_)
        return;
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    if (TopMost)
        list.push_back(this);
    else
        list.insert(list.begin(), this);
    if (visible_)
        InvalidateControl(true, ControlStyle.Contains(csOpaque));
    RequestAlign();
}

// --- properties ---------------------------------------------------------------
void TControl::SetVisible(bool value)
{
    if (visible_ == value)
        return;
    VisibleChanging();
    visible_ = value;
    Perform(CM_VISIBLECHANGED, value, 0);
    RequestAlign();
}

void TControl::SetEnabled(bool value)
{
    if (enabled_ == value)
        return;
    enabled_ = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor value)
{
    if (color_ == value) {
        parentColor_ = false;
        return;
    }
    color_ = value;
    parentColor_ = false;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value)
{
    if (parentColor_ == value)
        return;
    parentColor_ = value;
    if (parent_ && !ComponentState().Contains(csReading))
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetFont(TFont* value)
{
    font_->Assign(value);
}

void TControl::FontChanged(TObject*)
{
    // A font changed by its owner stops following the parent's font.
    if (!fontChanging_)
        parentFont_ = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value)
{
    if (parentFont_ == value)
        return;
    parentFont_ = value;
    if (parent_ && !ComponentState().Contains(csReading))
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor value)
{
    if (cursor_ == value)
        return;
    cursor_ = value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value)
{
    if (showHint_ == value && !parentShowHint_)
        return;
    showHint_ = value;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value)
{
    if (parentShowHint_ == value)
        return;
    parentShowHint_ = value;
    if (parent_ && !ComponentState().Contains(csReading))
        Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* value)
{
    popupMenu_ = value;
    if (value)
        value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) {
        if (AComponent == popupMenu_)
            popupMenu_ = nullptr;
    }
}

String TControl::GetTextBuf() const
{
    auto* self = const_cast<TControl*>(this);
    int len = static_cast<int>(self->Perform(WM_GETTEXTLENGTH, 0, 0));
    if (len <= 0)
        return {};
    String buf(static_cast<std::size_t>(len) + 1, L'\0');
    int got = static_cast<int>(self->Perform(WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data())));
    buf.resize(static_cast<std::size_t>(std::clamp(got, 0, len)));
    return buf;
}

void TControl::SetTextBuf(const String& value)
{
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    Perform(CM_TEXTCHANGED, 0, 0);
}

String TControl::GetText() const
{
    return GetTextBuf();
}

void TControl::SetText(const String& value)
{
    if (GetText() != value)
        SetTextBuf(value);
}

void TControl::SetAutoSize(bool value)
{
    if (autoSize_ == value)
        return;
    autoSize_ = value;
    if (value)
        AdjustSize();
}

void TControl::AdjustSize()
{
    if (!ComponentState().Contains(csLoading))
        DoAutoSize();
}

void TControl::DoAutoSize()
{
    if (!autoSize_)
        return;
    int w = width_, h = height_;
    if (CanAutoSize(w, h))
        SetBounds(left_, top_, w, h);
}

void TControl::Changed()
{
    Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (parent_) {
        if (parentColor_)
            Perform(CM_PARENTCOLORCHANGED, 0, 0);
        if (parentFont_)
            Perform(CM_PARENTFONTCHANGED, 0, 0);
        UpdateAnchorRules();
    }
    if (autoSize_)
        AdjustSize();
    RequestAlign();
}

// --- painting -------------------------------------------------------------------
void TControl::InvalidateControl(bool IsVisible, bool IsOpaque)
{
    if (!IsVisible || !parent_ || !parent_->HandleAllocated())
        return;
    RECT r = GetBoundsRect();
    InvalidateRect(parent_->handle_, &r, !(IsOpaque || ControlStyle.Contains(csOpaque)));
}

void TControl::Invalidate()
{
    InvalidateControl(visible_, ControlStyle.Contains(csOpaque));
}

void TControl::Update()
{
    if (parent_)
        parent_->Update();
}

void TControl::Repaint()
{
    if (!visible_ || !parent_ || !parent_->HandleAllocated())
        return;
    if (ControlStyle.Contains(csOpaque)) {
        const TWindowDC parentDC(parent_->handle_);
        const TSavedDC saved(parentDC.Get());
        IntersectClipRect(parentDC.Get(), left_, top_, left_ + width_, top_ + height_);
        parent_->PaintControls(parentDC.Get(), this);
    } else {
        Invalidate();
        Update();
    }
}

bool TControl::IsVisibleOnScreen() const
{
    for (const TControl* c = this; c; c = c->parent_) {
        if (!c->visible_)
            return false;
        if (!c->parent_) {
            auto* w = dynamic_cast<const TWinControl*>(c);
            return w && w->Showing();
        }
    }
    return false;
}

// --- scaling --------------------------------------------------------------------
void TControl::ScaleBy(int M, int D)
{
    if (M == D || D == 0)
        return;
    ChangeScale(M, D);
}

void TControl::ChangeScale(int M, int D)
{
    if (M == D || D == 0)
        return;
    int l = MulDiv(left_, M, D), t = MulDiv(top_, M, D);
    int w = ControlStyle.Contains(csFixedWidth) ? width_ : MulDiv(left_ + width_, M, D) - l;
    int h = ControlStyle.Contains(csFixedHeight) ? height_ : MulDiv(top_ + height_, M, D) - t;
    auto* c = constraints_;
    if (c->GetMinWidth() || c->GetMaxWidth() || c->GetMinHeight() || c->GetMaxHeight()) {
        // Scale the limits without re-applying them at every step.
        TSizeConstraints scaled(nullptr);
        scaled.SetMaxWidth(MulDiv(c->GetMaxWidth(), M, D));
        scaled.SetMaxHeight(MulDiv(c->GetMaxHeight(), M, D));
        scaled.SetMinWidth(MulDiv(c->GetMinWidth(), M, D));
        scaled.SetMinHeight(MulDiv(c->GetMinHeight(), M, D));
        TSizeConstraints* keep = constraints_;
        constraints_ = &scaled;
        SetBounds(l, t, w, h);
        constraints_ = keep;
        TControl* owner = keep->control_;
        keep->control_ = nullptr;
        keep->Assign(&scaled);
        keep->control_ = owner;
    } else {
        SetBounds(l, t, w, h);
    }
    if (!parentFont_) {
        fontChanging_ = true;
        font_->SetHeight(MulDiv(font_->GetHeight(), M, D));
        fontChanging_ = false;
    }
}

// --- mouse --------------------------------------------------------------------------
bool TControl::MouseCapture() const
{
    return captureControl == this;
}

void TControl::SetMouseCapture(bool value)
{
    if (MouseCapture() == value)
        return;
    SetCaptureControl(value ? this : nullptr);
}

bool TControl::IsControlHitTest(POINT p) const
{
    auto* self = const_cast<TControl*>(this);
    return self->Perform(CM_HITTEST, 0, MAKELPARAM(p.x, p.y)) != 0;
}

void TControl::CMHitTest(TMessage& M)
{
    M.Result = HTCLIENT;
}

void TControl::DoMouseDown(TWMMouse& M, TMouseButton Button, TShiftState Shift)
{
    if (!ControlStyle.Contains(csNoStdEvents))
        MouseDown(Button, Shift + MouseKeysToShiftState(M.Keys()), M.XPos(), M.YPos());
}

void TControl::DoMouseUp(TWMMouse& M, TMouseButton Button)
{
    if (!ControlStyle.Contains(csNoStdEvents))
        MouseUp(Button, MouseKeysToShiftState(M.Keys()), M.XPos(), M.YPos());
}

void TControl::WMLButtonDown(TWMMouse& M)
{
    DefaultHandler(M.M);
    DoMouseDown(M, mbLeft, {});
}

void TControl::WMLButtonDblClk(TWMMouse& M)
{
    DefaultHandler(M.M);
    if (ControlStyle.Contains(csClickEvents))
        DblClick();
    DoMouseDown(M, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TWMMouse& M)
{
    DefaultHandler(M.M);
    // A click is a press and a release inside the control.
    if (ControlState.Contains(csClicked)) {
        ControlState >> csClicked;
        RECT r = GetClientRect();
        POINT p = M.Pos();
        if (PtInRect(&r, p))
            Click();
    }
    DoMouseUp(M, mbLeft);
}

void TControl::WMRButtonDown(TWMMouse& M)
{
    DefaultHandler(M.M);
    DoMouseDown(M, mbRight, M.Msg() == WM_RBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{});
}

void TControl::WMRButtonUp(TWMMouse& M)
{
    DefaultHandler(M.M);
    DoMouseUp(M, mbRight);
}

void TControl::WMMButtonDown(TWMMouse& M)
{
    DefaultHandler(M.M);
    DoMouseDown(M, mbMiddle, M.Msg() == WM_MBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{});
}

void TControl::WMMButtonUp(TWMMouse& M)
{
    DefaultHandler(M.M);
    DoMouseUp(M, mbMiddle);
}

void TControl::WMMouseMove(TWMMouse& M)
{
    DefaultHandler(M.M);
    if (!ControlStyle.Contains(csNoStdEvents))
        MouseMove(MouseKeysToShiftState(M.Keys()), M.XPos(), M.YPos());
}

void TControl::WMContextMenu(TMessage& M)
{
    POINT screen{static_cast<short>(LOWORD(M.LParam)), static_cast<short>(HIWORD(M.LParam))};
    // From the keyboard the position is -1,-1: open at the control's centre.
    bool keyboard = screen.x == -1 && screen.y == -1;
    POINT local = keyboard ? POINT{width_ / 2, height_ / 2} : ScreenToClient(screen);
    bool handled = false;
    DoContextPopup(local, handled);
    if (handled) {
        M.Result = 1;
        return;
    }
    if (popupMenu_) {
        POINT at = ClientToScreen(local);
        popupMenu_->SetPopupComponent(this);
        popupMenu_->Popup(at.x, at.y);
        M.Result = 1;
        return;
    }
    DefaultHandler(M);
}

void TControl::DoContextPopup(POINT MousePos, bool& Handled)
{
    if (OnContextPopup)
        OnContextPopup(this, MousePos, Handled);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept)
{
    Accept = static_cast<bool>(OnDragOver);
    if (OnDragOver)
        OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TControl::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

void TControl::CMMouseEnter(TMessage&)
{
    mouseInClient_ = true;
    MouseEnter();
}

void TControl::CMMouseLeave(TMessage&)
{
    mouseInClient_ = false;
    MouseLeave();
}

void TControl::CMEnabledChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMVisibleChanged(TMessage&)
{
    InvalidateControl(true, visible_ && ControlStyle.Contains(csOpaque));
}

void TControl::CMFontChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMColorChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMParentFontChanged(TMessage& M)
{
    if (!parentFont_)
        return;
    TFont* source = M.WParam ? reinterpret_cast<TFont*>(M.LParam) : (parent_ ? parent_->GetFont() : nullptr);
    if (!source)
        return;
    fontChanging_ = true;
    font_->Assign(source);
    fontChanging_ = false;
}

void TControl::CMParentColorChanged(TMessage& M)
{
    if (!parentColor_)
        return;
    TColor c = M.WParam ? static_cast<TColor>(M.LParam) : (parent_ ? parent_->GetColor() : color_);
    SetColor(c);
    parentColor_ = true;
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (parentShowHint_ && parent_) {
        showHint_ = parent_->GetShowHint();
        parentShowHint_ = true;
    }
}

void TControl::CMHintShow(TMessage& M)
{
    DefaultHandler(M);
}

bool TControl::IsHintOwner() const
{
    return showHint_;
}

void TControl::SendCancelMode(TControl* Sender)
{
    if (TCustomForm* form = GetParentForm(this))
        form->SendCancelMode(Sender);
}

// ---------------------------------------------------------------------------
TControl* GetCaptureControl()
{
    HWND captured = GetCapture();
    if (!captured) {
        captureControl = nullptr;
        return nullptr;
    }
    if (captureControl) {
        auto* w = dynamic_cast<TWinControl*>(captureControl);
        HWND owner = w ? (w->HandleAllocated() ? w->Handle() : nullptr)
                       : (captureControl->GetParent() && captureControl->GetParent()->HandleAllocated()
                              ? captureControl->GetParent()->Handle()
                              : nullptr);
        if (owner == captured)
            return captureControl;
    }
    return FindControl(captured);
}

void SetCaptureControl(TControl* Control)
{
    ReleaseCapture();
    captureControl = nullptr;
    if (!Control)
        return;
    if (auto* w = dynamic_cast<TWinControl*>(Control)) {
        if (w->HandleAllocated()) {
            SetCapture(w->Handle());
            captureControl = Control;
        }
        return;
    }
    if (Control->GetParent() && Control->GetParent()->HandleAllocated()) {
        captureControl = Control;
        SetCapture(Control->GetParent()->Handle());
    }
}

TControl* MouseControl()
{
    return mouseControl;
}

void SetMouseControl(TControl* Control)
{
    if (Control == mouseControl)
        return;
    TControl* old = mouseControl;
    mouseControl = Control;
    if (old)
        old->Perform(CM_MOUSELEAVE, 0, 0);
    // The leave handler may have freed or replaced the new control's state.
    if (Control && mouseControl == Control)
        Control->Perform(CM_MOUSEENTER, 0, 0);
}

TWinControl* FindControl(HWND Handle)
{
    return TWinControl::FromHandle(Handle);
}

TControl* FindVCLWindow(POINT Pos)
{
    HWND wnd = WindowFromPoint(Pos);
    while (wnd) {
        if (TWinControl* w = FindControl(wnd)) {
            POINT local = w->ScreenToClient(Pos);
            if (TControl* c = w->ControlAtPos(local, false, true, true))
                return c;
            return w;
        }
        wnd = GetParent(wnd);
    }
    return nullptr;
}

TControl* FindDragTarget(POINT Pos, bool AllowDisabled)
{
    HWND wnd = WindowFromPoint(Pos);
    TWinControl* w = nullptr;
    while (wnd && !(w = FindControl(wnd)))
        wnd = GetParent(wnd);
    if (!w)
        return nullptr;
    POINT local = w->ScreenToClient(Pos);
    if (TControl* c = w->ControlAtPos(local, AllowDisabled))
        return c;
    return w;
}
