// Panels, splitters, paint boxes and timers.
#include "ExtCtrls.h"
#include <algorithm>
#include <map>

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width)
{
    TPen* pen = Canvas->GetPen();
    pen->SetWidth(1);
    --Rect.right;
    --Rect.bottom;
    for (int i = 0; i < Width; ++i) {
        pen->SetColor(TopColor);
        TPoint top[] = {{Rect.left, Rect.bottom}, {Rect.left, Rect.top}, {Rect.right, Rect.top}};
        Canvas->Polyline(top, 3);
        pen->SetColor(BottomColor);
        TPoint bottom[] = {{Rect.right, Rect.top}, {Rect.right, Rect.bottom}, {Rect.left - 1, Rect.bottom}};
        Canvas->Polyline(bottom, 3);
        InflateRect(&Rect, -1, -1);
    }
    ++Rect.right;
    ++Rect.bottom;
}

// ---------------------------------------------------------------------------
TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner)
{
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                    csDoubleClicks, csReplicatable};
    SetBounds(0, 0, 185, 41);
    SetParentColor(false);
    SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    if (borderStyle_ == bsSingle)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::AdjustClientRect(RECT& Rect)
{
    TCustomControl::AdjustClientRect(Rect);
    int inset = (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
    InflateRect(&Rect, -inset, -inset);
}

void TCustomPanel::Paint()
{
    static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    static const UINT layouts[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
    TCanvas* canvas = GetCanvas();
    TRect r(0, 0, GetClientWidth(), GetClientHeight());
    if (bevelOuter_ != bvNone)
        Frame3D(canvas, r, bevelOuter_ == bvLowered ? clBtnShadow : clBtnHighlight,
                bevelOuter_ == bvLowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    if (bevelInner_ != bvNone)
        Frame3D(canvas, r, bevelInner_ == bvLowered ? clBtnShadow : clBtnHighlight,
                bevelInner_ == bvLowered ? clBtnHighlight : clBtnShadow, bevelWidth_);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->FillRect(r);
    String caption = GetCaption();
    if (showCaption_ && !caption.empty()) {
        HDC dc = canvas->GetHandle();
        TSelectObject font(dc, GetFont()->GetHandle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(GetEnabled() ? GetFont()->GetColor() : clGrayText));
        DrawTextW(dc, caption.c_str(), -1, &r,
                  DT_SINGLELINE | DT_EXPANDTABS | alignments[alignment_] | layouts[verticalAlignment_]);
    }
}

void TCustomPanel::SetBevelInner(TBevelCut value)
{
    if (bevelInner_ == value)
        return;
    bevelInner_ = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut value)
{
    if (bevelOuter_ == value)
        return;
    bevelOuter_ = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int value)
{
    if (bevelWidth_ == value || value < 1)
        return;
    bevelWidth_ = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value)
{
    if (borderStyle_ == value)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomPanel::SetAlignment(TAlignment value)
{
    alignment_ = value;
    Invalidate();
}

void TCustomPanel::SetVerticalAlignment(TTextLayout value)
{
    verticalAlignment_ = value;
    Invalidate();
}

void TCustomPanel::SetParentBackground(bool value)
{
    if (value)
        ControlStyle << csParentBackground;
    else
        ControlStyle >> csParentBackground;
    Invalidate();
}

void TCustomPanel::SetShowCaption(bool value)
{
    showCaption_ = value;
    Invalidate();
}

void TCustomPanel::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_COLORCHANGED:
        TCustomControl::Dispatch(Message);
        Invalidate();
        return;
    case WM_ERASEBKGND:
        // Paint covers the whole client area.
        Message.Result = 1;
        return;
    case WM_SIZE:
        TCustomControl::Dispatch(Message);
        // Bevels move with the edges; the whole panel repaints.
        if (fullRepaint_ && HandleAllocated())
            InvalidateRect(Handle(), nullptr, FALSE);
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
    SetColor(clBtnFace);
}

void TSplitter::SetBeveled(bool value)
{
    beveled_ = value;
    Invalidate();
}

void TSplitter::Paint()
{
    TCanvas* canvas = GetCanvas();
    TRect r(0, 0, GetWidth(), GetHeight());
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(r);
    if (beveled_) {
        if (GetAlign() == alLeft || GetAlign() == alRight)
            InflateRect(&r, -1, 2);
        else
            InflateRect(&r, 2, -1);
        TRect edge = r;
        Frame3D(canvas, edge, clBtnHighlight, clBtnShadow, 1);
    }
}

TControl* TSplitter::FindResizeControl() const
{
    TWinControl* parent = GetParent();
    if (!parent)
        return nullptr;
    // The neighbour on the splitter's aligned side: the one whose far edge
    // touches the splitter.
    POINT p{};
    switch (GetAlign()) {
    case alLeft: p = {GetLeft() - 1, GetTop()}; break;
    case alRight: p = {GetLeft() + GetWidth(), GetTop()}; break;
    case alTop: p = {GetLeft(), GetTop() - 1}; break;
    case alBottom: p = {GetLeft(), GetTop() + GetHeight()}; break;
    default: return nullptr;
    }
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->GetVisible() || !c->GetEnabled() || c->GetAlign() != GetAlign())
            continue;
        RECT r = c->GetBoundsRect();
        bool hit = GetAlign() == alLeft || GetAlign() == alRight ? p.x >= r.left && p.x < r.right
                                                                  : p.y >= r.top && p.y < r.bottom;
        if (hit)
            return c;
    }
    return nullptr;
}

int TSplitter::SizeOf(TControl* c) const
{
    return GetAlign() == alLeft || GetAlign() == alRight ? c->GetWidth() : c->GetHeight();
}

int TSplitter::MaxSize() const
{
    // The control may grow until the client-aligned neighbour is MinSize.
    TWinControl* parent = GetParent();
    int room = 0;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c->GetVisible() && c->GetAlign() == alClient)
            room = std::max(room, SizeOf(c));
    }
    return SizeOf(control_) + std::max(0, room - minSize_);
}

void TSplitter::UpdateControlSize(int newSize)
{
    bool accept = true;
    if (OnCanResizeSplitter)
        OnCanResizeSplitter(this, newSize, accept);
    if (!accept || newSize == SizeOf(control_))
        return;
    TWinControl* parent = GetParent();
    parent->DisableAlign();
    switch (GetAlign()) {
    case alLeft: control_->SetWidth(newSize); break;
    case alTop: control_->SetHeight(newSize); break;
    case alRight:
        control_->SetBounds(control_->GetLeft() + control_->GetWidth() - newSize, control_->GetTop(), newSize,
                            control_->GetHeight());
        break;
    case alBottom:
        control_->SetBounds(control_->GetLeft(), control_->GetTop() + control_->GetHeight() - newSize,
                            control_->GetWidth(), newSize);
        break;
    default: break;
    }
    parent->EnableAlign();
    parent->Realign();
    if (OnMoved)
        OnMoved(this);
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    control_ = FindResizeControl();
    if (!control_)
        return;
    downPos_ = {X, Y};
    startSize_ = SizeOf(control_);
    dragging_ = true;
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!dragging_ || !control_)
        return;
    // Coordinates are the splitter's own, which moves as the control grows:
    // measure against where the drag started in the parent.
    int delta = 0;
    switch (GetAlign()) {
    case alLeft: delta = X - downPos_.x; break;
    case alRight: delta = downPos_.x - X; break;
    case alTop: delta = Y - downPos_.y; break;
    case alBottom: delta = downPos_.y - Y; break;
    default: break;
    }
    int newSize = std::clamp(SizeOf(control_) + delta, minSize_, std::max(minSize_, MaxSize()));
    if (resizeStyle_ != rsNone)
        UpdateControlSize(newSize);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    dragging_ = false;
}

// ---------------------------------------------------------------------------
TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle << csReplicatable;
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint()
{
    if (OnPaint)
        OnPaint(this);
}

// ---------------------------------------------------------------------------
TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle << csReplicatable;
    SetBounds(0, 0, 105, 105);
    picture_.reset(New<TPicture>());
    picture_->OnChange = [this](TObject* s) { PictureChanged(s); };
}

TImage::~TImage() = default;

void TImage::SetStretch(bool value)
{
    stretch_ = value;
    PictureChanged(this);
}

void TImage::SetCenter(bool value)
{
    center_ = value;
    PictureChanged(this);
}

void TImage::SetProportional(bool value)
{
    proportional_ = value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool value)
{
    transparent_ = value;
    PictureChanged(this);
}

void TImage::PictureChanged(TObject*)
{
    if (TGraphic* g = picture_->GetGraphic())
        g->SetTransparent(transparent_);
    if (GetAutoSize() && picture_->GetWidth() > 0 && picture_->GetHeight() > 0)
        SetBounds(GetLeft(), GetTop(), picture_->GetWidth(), picture_->GetHeight());
    // Only a picture covering the whole control hides what is behind it.
    TRect dest = DestRect();
    if (picture_->GetGraphic() && !transparent_ && dest.left <= 0 && dest.top <= 0 &&
        dest.right >= GetWidth() && dest.bottom >= GetHeight())
        ControlStyle << csOpaque;
    else
        ControlStyle >> csOpaque;
    Invalidate();
}

bool TImage::CanAutoSize(int& NewWidth, int& NewHeight)
{
    if (picture_->GetWidth() <= 0 || picture_->GetHeight() <= 0)
        return false;
    NewWidth = picture_->GetWidth();
    NewHeight = picture_->GetHeight();
    return true;
}

TRect TImage::DestRect() const
{
    int w = picture_->GetWidth(), h = picture_->GetHeight();
    int cw = GetWidth(), ch = GetHeight();
    if (stretch_ || (proportional_ && (w > cw || h > ch))) {
        if (proportional_ && w > 0 && h > 0) {
            // Fit inside, keeping the picture's proportions.
            if (static_cast<long long>(cw) * h > static_cast<long long>(ch) * w) {
                w = MulDiv(w, ch, h);
                h = ch;
            } else {
                h = MulDiv(h, cw, w);
                w = cw;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r(0, 0, w, h);
    if (center_)
        OffsetRect(&r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

void TImage::Paint()
{
    TGraphic* g = picture_->GetGraphic();
    if (!g || g->GetEmpty())
        return;
    TRect dest = DestRect();
    if (dest.Width() == g->GetWidth() && dest.Height() == g->GetHeight())
        GetCanvas()->Draw(dest.left, dest.top, g);
    else
        GetCanvas()->StretchDraw(dest, g);
}

// ---------------------------------------------------------------------------
namespace {
std::map<UINT_PTR, TTimer*> timers;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = timers.find(id);
    if (it == timers.end())
        return;
    TTimer* timer = it->second;
    try {
        timer->Timer();
    } catch (...) {
        if (Application)
            Application->HandleException(timer);
    }
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner)
{
    UpdateTimer();
}

TTimer::~TTimer()
{
    enabled_ = false;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (id_) {
        KillTimer(nullptr, id_);
        timers.erase(id_);
        id_ = 0;
    }
    if (enabled_ && interval_ > 0 && !ComponentState().Contains(csLoading)) {
        id_ = SetTimer(nullptr, 0, interval_, TimerProc);
        if (!id_)
            throw EOutOfResources(L"Not enough timers available");
        timers[id_] = this;
    }
}

void TTimer::SetEnabled(bool value)
{
    if (enabled_ == value)
        return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal value)
{
    if (interval_ == value)
        return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::Loaded()
{
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::Timer()
{
    if (OnTimer)
        OnTimer(this);
}
