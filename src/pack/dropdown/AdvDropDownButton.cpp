// The drop-down button: a container that keeps its width and the arrow
// inside it, painted in custom colours, with a glyph, in the visual style of
// a combo box's button or in the classic look.
#include "AdvDropDown.h"
#include "AdvUtil.h"
#include "AdvXPVS.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include <vssym32.h>

// ---------------------------------------------------------------------------
// The container.

TDropDownEditButton::TDropDownEditButton(TComponent* AOwner) : TWinControl(AOwner)
{
    ControlStyle.Exclude(csAcceptsControls);
    ControlStyle.Exclude(csSetCaption);
    ControlStyle.Include(csOpaque);
    FButton = New<TAdvDropDownSpeedButton>(this);
    FButton->SetParent(this);
    FButton->OnClick = [](TObject*) {};
    FButton->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        ButtonMouseUp(s, b, sh, x, y);
    };
    FButton->SetVisible(true);
    FButton->SetEnabled(GetEnabled());
    FButton->SetCaption(String());
    FButton->SetButtonStyle(bsDropDown);
    SetBounds(GetLeft(), GetTop(), 16, 25);
}

void TDropDownEditButton::ButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState, int, int)
{
    // The release, not the click: the popup opens as the button comes up.
    if (Button == mbLeft && OnClick && Sender == FButton)
        OnClick(this);
}

void TDropDownEditButton::AdjustWinSize(int& W, int& H) const
{
    if (!FButton || (ComponentState().Contains(csLoading) && !ComponentState().Contains(csDesigning)))
        return;
    W = FBWidth;
    FButton->SetBounds(0, 0, FBWidth, H);
}

void TDropDownEditButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    int w = AWidth, h = AHeight;
    AdjustWinSize(w, h);
    TWinControl::SetBounds(ALeft, ATop, w, h);
}

void TDropDownEditButton::SetButtonWidth(int Value)
{
    FBWidth = Value;
    SetBounds(GetLeft(), GetTop(), Value, GetHeight());
}

void TDropDownEditButton::SetFocusControl(TWinControl* Value)
{
    if (FFocusControl && FFocusControl != GetOwner())
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value && Value != GetOwner())
        Value->FreeNotification(this);
}

void TDropDownEditButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
    if (Operation == opRemove && AComponent == FButton)
        FButton = nullptr;
}

void TDropDownEditButton::Loaded()
{
    TWinControl::Loaded();
    int w = GetWidth(), h = GetHeight();
    AdjustWinSize(w, h);
    if (w != GetWidth() || h != GetHeight())
        TWinControl::SetBounds(GetLeft(), GetTop(), w, h);
}

void TDropDownEditButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SIZE: {
        TWinControl::Dispatch(Message);
        int w = GetWidth(), h = GetHeight();
        AdjustWinSize(w, h);
        if (w != GetWidth() || h != GetHeight())
            TWinControl::SetBounds(GetLeft(), GetTop(), w, h);
        Message.Result = 0;
        return;
    }
    case CM_ENABLEDCHANGED:
        TWinControl::Dispatch(Message);
        if (FButton && !ComponentState().Contains(csDesigning))
            FButton->SetEnabled(GetEnabled());
        return;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// The arrow.

TAdvDropDownSpeedButton::TAdvDropDownSpeedButton(TComponent* AOwner) : TSpeedButton(AOwner)
{
    FIsWinXP = PlatformProbe().ComCtlMajor > 5;
}

void TAdvDropDownSpeedButton::SetButtonStyle(TButtonStyle Value)
{
    FButtonStyle = Value;
    Invalidate();
}

void TAdvDropDownSpeedButton::SetEtched(bool Value)
{
    if (Value == FEtched)
        return;
    FEtched = Value;
    Invalidate();
}

void TAdvDropDownSpeedButton::SetFocused(bool Value)
{
    if (Value == FFocused)
        return;
    FFocused = Value;
    Invalidate();
}

bool TAdvDropDownSpeedButton::UseThemes() const
{
    return FIsWinXP && PlatformProbe().ThemeActive && AdvXPVS::IsThemeActive && AdvXPVS::IsThemeActive();
}

bool TAdvDropDownSpeedButton::Pressed() const
{
    return (State() == bsDown || State() == bsExclusive) && !FUp;
}

void TAdvDropDownSpeedButton::MouseEnter()
{
    TSpeedButton::MouseEnter();
    FHot = true;
    Invalidate();
}

void TAdvDropDownSpeedButton::MouseLeave()
{
    TSpeedButton::MouseLeave();
    FHot = false;
    Invalidate();
}

void TAdvDropDownSpeedButton::Paint()
{
    if (FButtonStyle == bsDropDown)
        PaintDropDownStyle();
    else
        PaintButtonStyle();
}

void TAdvDropDownSpeedButton::PaintDropDownStyle()
{
    TCanvas* canvas = GetCanvas();
    auto* container = dynamic_cast<TDropDownEditButton*>(GetOwner());
    auto* editor = container ? dynamic_cast<TAdvCustomDropDown*>(container->GetOwner()) : nullptr;
    const TRect client(0, 0, GetWidth(), GetHeight());
    const TPoint arrow[] = {{5, 7}, {11, 7}, {8, 10}};
    const bool pressed = Pressed();
    if (container && container->ButtonColor != clNone) {
        TColor face = container->ButtonColor;
        if (FHot)
            face = container->ButtonColorHot;
        if (pressed)
            face = container->ButtonColorDown;
        canvas->GetBrush()->SetColor(face);
        canvas->GetPen()->SetColor(face);
        canvas->FillRect(client);
        canvas->GetPen()->SetColor(editor ? editor->GetBorderColor() : clNone);
        canvas->MoveTo(client.left, client.top);
        canvas->LineTo(client.left, client.bottom);
        TColor text = container->ButtonTextColor;
        if (FHot)
            text = container->ButtonTextColorHot;
        if (pressed)
            text = container->ButtonTextColorDown;
        canvas->GetBrush()->SetColor(text);
        canvas->GetPen()->SetColor(text);
        canvas->Polygon(arrow, 3);
        return;
    }
    TBitmap* glyph = GetGlyph();
    if (glyph && !glyph->GetEmpty()) {
        canvas->GetBrush()->SetColor(clBtnFace);
        canvas->GetPen()->SetColor(clGray);
        canvas->Rectangle(client);
        glyph->SetTransparent(true);
        const int x = glyph->GetWidth() < GetWidth() ? (GetWidth() - glyph->GetWidth()) / 2 : 0;
        const int y = glyph->GetHeight() < GetHeight() ? (GetHeight() - glyph->GetHeight()) / 2 : 0;
        canvas->Draw(x, y, glyph);
        return;
    }
    const bool enabledLook = container && container->GetEnabled() && (!editor || (editor->GetEnabled() &&
                                                                                  !editor->GetReadOnly()));
    if (UseThemes() && container) {
        AdvXPVS::TThemeData theme(true, container->Handle(), L"combobox");
        TRect r = client;
        if (!IsWindowsVistaOrLater()) {
            InflateRect(&r, 1, 1);
            r.left += 2;
        } else {
            r.left += 1;
        }
        int state = CBXS_NORMAL;
        if (!enabledLook)
            state = CBXS_DISABLED;
        else if (pressed)
            state = CBXS_PRESSED;
        else if (FHot)
            state = CBXS_HOT;
        if (theme.Draw(canvas->GetHandle(), CP_DROPDOWNBUTTON, state, r))
            return;
    }
    TSpeedButton::Paint();
    canvas->GetPen()->SetWidth(1);
    canvas->GetPen()->SetColor(clBtnFace);
    canvas->MoveTo(GetWidth() - 2, 0);
    canvas->LineTo(0, 0);
    canvas->LineTo(0, GetHeight() - 1);
    canvas->GetPen()->SetColor(clWhite);
    canvas->MoveTo(GetWidth() - 3, 1);
    canvas->LineTo(1, 1);
    canvas->LineTo(1, GetHeight() - 2);
    canvas->GetBrush()->SetColor(clBlack);
    canvas->GetPen()->SetColor(clBlack);
    canvas->Polygon(arrow, 3);
}

void TAdvDropDownSpeedButton::PaintButtonStyle()
{
    TCanvas* canvas = GetCanvas();
    auto* container = dynamic_cast<TDropDownEditButton*>(GetOwner());
    auto* editor = container ? dynamic_cast<TAdvCustomDropDown*>(container->GetOwner()) : nullptr;
    if (editor)
        canvas->GetFont()->Assign(editor->GetFont());
    const TRect client(0, 0, GetWidth(), GetHeight());
    const bool pressed = Pressed();
    const bool down = State() == ::bsDown;
    TBitmap* glyph = GetGlyph();
    const bool hasGlyph = glyph && !glyph->GetEmpty();
    const String caption = GetCaption();
    auto drawCaption = [&](TRect r, UINT format) {
        canvas->GetBrush()->SetStyle(::bsClear);
        TRect t = r;
        DrawTextW(canvas->GetHandle(), caption.c_str(), static_cast<int>(caption.size()), &t,
                  format | DT_SINGLELINE | DT_VCENTER);
    };
    if (UseThemes() && container) {
        canvas->FillRect(client);
        AdvXPVS::TThemeData theme(true, container->Handle(), L"button");
        int state = PBS_NORMAL;
        if (!GetEnabled())
            state = PBS_DISABLED;
        else if (pressed)
            state = PBS_PRESSED;
        else if (FHot)
            state = PBS_HOT;
        theme.Draw(canvas->GetHandle(), BP_PUSHBUTTON, state, TRect(0, 0, GetWidth() + 1, GetHeight() + 1));
        TRect r = client;
        if (hasGlyph) {
            InflateRect(&r, -2, -2);
            if (!caption.empty())
                r.left += 2;
            else if (glyph->GetWidth() < r.Width())
                r.left += (r.Width() - glyph->GetWidth()) / 2;
            if (glyph->GetHeight() < r.Height())
                r.top += (r.Height() - glyph->GetHeight()) / 2;
            if (down)
                OffsetRect(&r, 1, 1);
            glyph->SetTransparent(true);
            canvas->Draw(r.left, r.top, glyph);
        }
        if (!caption.empty()) {
            if (!hasGlyph) {
                TRect t = client;
                InflateRect(&t, -3, -1);
                if (down)
                    OffsetRect(&t, 1, 1);
                drawCaption(t, DT_CENTER);
            } else {
                drawCaption(TRect(r.left + glyph->GetWidth() + 2, r.top - 1, client.right, client.bottom),
                            DT_LEFT);
            }
        }
        return;
    }
    if (!GetFlat()) {
        TSpeedButton::Paint();
        return;
    }
    canvas->FillRect(client);
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->FillRect(client);
    TRect edge(0, 0, GetWidth() + 1, GetHeight() + 1);
    DrawEdge(canvas->GetHandle(), &edge, FEtched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (down ? BF_FLAT : 0));
    TRect r = client;
    if (hasGlyph) {
        InflateRect(&r, -3, -3);
        if (down)
            OffsetRect(&r, 1, 1);
        DrawBitmapTransparent(canvas, glyph, ColorToRGB(clBtnFace), r);
    }
    if (!caption.empty()) {
        InflateRect(&r, -3, -1);
        if (down)
            OffsetRect(&r, 1, 1);
        drawCaption(r, DT_CENTER);
    }
}
