// Speed buttons.
#include "Buttons.h"
#include "StdCtrls.h"
#include <algorithm>

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner)
{
    ControlStyle = {csCaptureMouse, csDoubleClicks};
    SetBounds(0, 0, 23, 22);
    SetParentFont(true);
    glyph_.reset(New<TBitmap>());
    glyph_->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetGlyph(TBitmap* value)
{
    glyph_->Assign(value);
    // A strip of square images carries one image per state.
    if (value && value->GetHeight() > 0 && value->GetWidth() % value->GetHeight() == 0) {
        int n = value->GetWidth() / value->GetHeight();
        if (n >= 1 && n <= 4)
            numGlyphs_ = n;
    }
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value)
{
    numGlyphs_ = std::clamp(value, 1, 4);
    Invalidate();
}

void TSpeedButton::SetDown(bool value)
{
    // Without a group a button cannot stay down; a pressed group button
    // stays down unless the group allows all up.
    if (groupIndex_ == 0)
        value = false;
    if (value == down_)
        return;
    if (down_ && !allowAllUp_)
        return;
    down_ = value;
    if (value) {
        if (state_ == bsUp)
            Invalidate();
        state_ = bsExclusive;
    } else {
        state_ = bsUp;
        Repaint();
    }
    if (value)
        UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int value)
{
    if (groupIndex_ == value)
        return;
    groupIndex_ = value;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool value)
{
    if (allowAllUp_ == value)
        return;
    allowAllUp_ = value;
    UpdateExclusive();
}

void TSpeedButton::SetFlat(bool value)
{
    flat_ = value;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value)
{
    layout_ = value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int value)
{
    spacing_ = value;
    Invalidate();
}

void TSpeedButton::SetMargin(int value)
{
    margin_ = value;
    Invalidate();
}

void TSpeedButton::SetTransparent(bool value)
{
    transparent_ = value;
    if (value)
        ControlStyle >> csOpaque;
    else
        ControlStyle << csOpaque;
    Invalidate();
}

void TSpeedButton::UpdateExclusive()
{
    // Tells the group's other buttons (CM_BUTTONPRESSED with the group index
    // and the sender) so that they go up and follow AllowAllUp.
    if (groupIndex_ == 0 || !GetParent())
        return;
    TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    GetParent()->Broadcast(m);
}

void TSpeedButton::Loaded()
{
    TGraphicControl::Loaded();
    state_ = GetEnabled() ? (down_ ? bsExclusive : bsUp) : bsDisabled;
}

void TSpeedButton::Click()
{
    TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !GetEnabled())
        return;
    if (!down_) {
        state_ = bsDown;
        Invalidate();
    }
    dragging_ = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!dragging_)
        return;
    bool inside = X >= 0 && X < GetWidth() && Y >= 0 && Y < GetHeight();
    TButtonState newState = inside ? (down_ ? bsExclusive : bsDown) : (down_ ? bsExclusive : bsUp);
    if (newState != state_) {
        state_ = newState;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!dragging_)
        return;
    dragging_ = false;
    bool inside = X >= 0 && X < GetWidth() && Y >= 0 && Y < GetHeight();
    if (groupIndex_ == 0) {
        state_ = bsUp;
        Invalidate();
        if (inside)
            Click();
        return;
    }
    if (inside) {
        // A group button toggles; a down one goes up only if the group allows it.
        SetDown(!down_);
        state_ = down_ ? bsExclusive : bsUp;
        Invalidate();
        Click();
    } else {
        state_ = down_ ? bsExclusive : bsUp;
        Invalidate();
    }
}

void TSpeedButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_BUTTONPRESSED: {
        auto* sender = reinterpret_cast<TSpeedButton*>(Message.LParam);
        if (static_cast<int>(Message.WParam) == groupIndex_ && sender != this && sender) {
            if (sender->down_ && down_) {
                down_ = false;
                state_ = bsUp;
                Invalidate();
            }
            allowAllUp_ = sender->allowAllUp_;
        }
        return;
    }
    case CM_ENABLEDCHANGED:
        state_ = GetEnabled() ? (down_ ? bsExclusive : bsUp) : bsDisabled;
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TGraphicControl::Dispatch(Message);
        // A flat button shows its frame only under the mouse.
        if (flat_ && GetEnabled())
            Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<Word>(Message.WParam), GetCaption()) && GetEnabled() && GetVisible() && GetParent() &&
            GetParent()->Showing()) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(Message);
        Invalidate();
        return;
    default:
        break;
    }
    TGraphicControl::Dispatch(Message);
}

void TSpeedButton::Paint()
{
    TCanvas* canvas = GetCanvas();
    TRect r(0, 0, GetWidth(), GetHeight());
    HDC dc = canvas->GetHandle();
    const bool pressed = state_ == bsDown || state_ == bsExclusive;
    if (!transparent_ || !flat_) {
        canvas->GetBrush()->SetColor(GetColor() == clWindow ? clBtnFace : GetColor());
        canvas->FillRect(r);
    }
    if (!flat_) {
        RECT edge = r;
        DrawEdge(dc, &edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    } else if (pressed || (MouseInClient() && GetEnabled())) {
        RECT edge = r;
        DrawEdge(dc, &edge, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    if (pressed)
        OffsetRect(&r, 1, 1);
    PaintGlyphAndCaption(canvas, r, pressed);
}

void TSpeedButton::PaintGlyphAndCaption(TCanvas* canvas, TRect client, bool)
{
    HDC dc = canvas->GetHandle();
    String caption = GetCaption();
    TSelectObject font(dc, GetFont()->GetHandle());
    RECT textRect{0, 0, client.Width(), 0};
    if (!caption.empty())
        DrawTextW(dc, caption.c_str(), -1, &textRect, DT_CALCRECT | DT_SINGLELINE);
    int gw = glyph_->GetEmpty() ? 0 : glyph_->GetWidth() / numGlyphs_;
    int gh = glyph_->GetEmpty() ? 0 : glyph_->GetHeight();
    int tw = textRect.right - textRect.left, th = textRect.bottom - textRect.top;
    int spacing = gw && tw ? spacing_ : 0;
    const bool horizontal = layout_ == blGlyphLeft || layout_ == blGlyphRight;
    int total = horizontal ? gw + spacing + tw : gh + spacing + th;
    int extent = horizontal ? client.Width() : client.Height();
    int start = margin_ >= 0 ? margin_ : (extent - total) / 2;
    POINT glyphAt{}, textAt{};
    if (horizontal) {
        int first = layout_ == blGlyphLeft ? gw : tw;
        glyphAt.x = client.left + (layout_ == blGlyphLeft ? start : start + first + spacing);
        textAt.x = client.left + (layout_ == blGlyphLeft ? start + gw + spacing : start);
        glyphAt.y = client.top + (client.Height() - gh) / 2;
        textAt.y = client.top + (client.Height() - th) / 2;
    } else {
        int first = layout_ == blGlyphTop ? gh : th;
        glyphAt.y = client.top + (layout_ == blGlyphTop ? start : start + first + spacing);
        textAt.y = client.top + (layout_ == blGlyphTop ? start + gh + spacing : start);
        glyphAt.x = client.left + (client.Width() - gw) / 2;
        textAt.x = client.left + (client.Width() - tw) / 2;
    }
    if (gw > 0) {
        // The image for the state, when the strip has one.
        static const int index[] = {0, 1, 2, 3};
        int i = index[state_] < numGlyphs_ ? index[state_] : 0;
        TRect src(i * gw, 0, (i + 1) * gw, gh);
        TRect dst(glyphAt.x, glyphAt.y, glyphAt.x + gw, glyphAt.y + gh);
        canvas->CopyRect(dst, glyph_->GetCanvas(), src);
    }
    if (tw > 0) {
        SetBkMode(dc, TRANSPARENT);
        RECT tr{textAt.x, textAt.y, textAt.x + tw, textAt.y + th};
        if (!GetEnabled()) {
            DrawDisabledText(dc, caption, tr, DT_SINGLELINE);
        } else {
            SetTextColor(dc, ColorToRGB(GetFont()->GetColor()));
            DrawTextW(dc, caption.c_str(), -1, &tr, DT_SINGLELINE);
        }
    }
}
