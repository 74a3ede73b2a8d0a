// The glow button's keyboard shortcut bubble and its action link.
#include "AdvGlowButton.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "ScopeExit.h"
#include <cmath>

// --- the shortcut hint window --------------------------------------------------------------
TShortCutHintWindow::TShortCutHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

void TShortCutHintWindow::SetColor(TColor Value)
{
    if (StoreChanged(FColor, Value))
        Invalidate();
}

void TShortCutHintWindow::SetColorTo(TColor Value)
{
    if (StoreChanged(FColorTo, Value))
        Invalidate();
}

void TShortCutHintWindow::CreateParams(TCreateParams& Params)
{
    THintWindow::CreateParams(Params);
    // No border and no class shadow; top-most over the button's window.
    Params.Style = WS_POPUP;
    Params.WindowClass.style &= ~static_cast<UINT>(CS_DROPSHADOW);
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
}

void TShortCutHintWindow::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    THintWindow::Dispatch(Message);
}

TSize TShortCutHintWindow::CalcSize()
{
    const TWindowDC screen;
    const TSelectObject font(screen.Get(), GetFont()->GetHandle());
    SIZE text{}, letter{};
    const String caption = GetCaption();
    GetTextExtentPoint32W(screen.Get(), caption.c_str(), static_cast<int>(caption.size()), &text);
    GetTextExtentPoint32W(screen.Get(), L"O", 1, &letter);
    return TSize(std::max(text.cx, letter.cx) + 8, text.cy + 4);
}

void TShortCutHintWindow::Paint()
{
    TCanvas* canvas = GetCanvas();
    const TRect client(0, 0, GetWidth(), GetHeight());
    const COLORREF from = ColorToRGB(FColor), to = ColorToRGB(FColorTo);
    auto band = [](int start, int end, int n) {
        return static_cast<int>(std::lround(start + (end - start) * n / 16.0));
    };
    for (int n = 0; n < 16; ++n) {
        const TColor c = static_cast<TColor>(RGB(band(GetRValue(from), GetRValue(to), n),
                                                 band(GetGValue(from), GetGValue(to), n),
                                                 band(GetBValue(from), GetBValue(to), n)));
        const int top = client.top + client.Height() * n / 16;
        const int bottom = client.top + client.Height() * (n + 1) / 16;
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(c);
        canvas->FillRect(TRect(client.left, top, client.right, bottom));
    }
    canvas->GetFont()->Assign(GetFont());
    canvas->GetBrush()->SetStyle(bsClear);
    RECT text = client;
    const String caption = GetCaption();
    DrawTextW(canvas->GetHandle(), caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    canvas->GetPen()->SetColor(0x808080);
    canvas->RoundRect(client.left, client.top, client.right, client.bottom, 6, 6);
}

void TAdvCustomGlowButton::ShowShortCutHint()
{
    if (!FShortCutHint) {
        FShortCutHint = New<TShortCutHintWindow>(this);
        FShortCutHint->SetVisible(false);
        FShortCutHint->SetColor(0xFFFFFF);
        FShortCutHint->SetColorTo(FAppearance->GetColor());
    }
    FShortCutHint->SetCaption(FShortCutHintText);
    TShortCutHintPos position = FShortCutHintPos;
    if (OnGetShortCutHintPos)
        OnGetShortCutHintPos(this, FButtonSizeState, position);
    if (position == shpAuto)
        position = shpTop;

    const POINT origin = ClientToScreen(POINT{0, 0});
    const int X = origin.x, Y = origin.y, W = GetWidth(), H = GetHeight();
    const TSize size = FShortCutHint->CalcSize();
    const int w = size.cx, h = size.cy;
    const int centreX = X + (W - w) / 2, centreY = Y + (H - h) / 2;
    struct TPlace {
        TShortCutHintPos Position;
        int Left, Top;
    };
    const TPlace places[] = {
        {shpLeft, X + 6, centreY},
        {shpTop, centreX, Y - h / 2},
        {shpRight, X + W - w / 2, centreY},
        {shpBottom, centreX, Y + H - h / 2},
        {shpCenter, centreX, centreY},
        {shpTopLeft, X + 6, Y - h / 2},
        {shpTopRight, X + W - w + 1, Y - h / 2},
        {shpAboveTop, centreX, Y - h},
        {shpAboveTopLeft, X + 6, Y - h},
        {shpAboveTopRight, X + W - w + 1, Y - h},
        {shpBottomLeft, X + 6, Y + H - h / 2},
        {shpBottomRight, X + W - w + 1, Y + H - h / 2},
        {shpBelowBottom, centreX, Y + H},
        {shpBelowBottomCenter, centreX, Y + H},
        {shpBelowBottomLeft, X + 6, Y + H},
        {shpBelowBottomRight, X + W - w + 1, Y + H},
    };
    TPoint at(centreX, Y - h / 2);
    for (const TPlace& place : places)
        if (place.Position == position)
            at = TPoint(place.Left, place.Top);
    FShortCutHint->SetBounds(at.x, at.y, w, h);
    SetWindowPos(FShortCutHint->Handle(), HWND_TOPMOST, at.x, at.y, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TAdvCustomGlowButton::HideShortCutHint()
{
    if (FShortCutHint && FShortCutHint->HandleAllocated())
        ShowWindow(FShortCutHint->Handle(), SW_HIDE);
}

// --- the action link ------------------------------------------------------------------------
TAdvGlowButtonActionLink::TAdvGlowButtonActionLink(TAdvCustomGlowButton* AClient)
    : TControlActionLink(AClient), FClient(AClient)
{
}

bool TAdvGlowButtonActionLink::IsCheckedLinked()
{
    auto* action = dynamic_cast<TCustomAction*>(GetAction());
    const bool linked = TControlActionLink::IsCheckedLinked() && action && action->GetChecked() == FClient->GetDown();
    FClient->FCheckLinked = linked;
    return linked;
}

bool TAdvGlowButtonActionLink::IsGroupIndexLinked()
{
    auto* action = dynamic_cast<TCustomAction*>(GetAction());
    const bool linked = action && action->GetGroupIndex() == FClient->GetGroupIndex();
    FClient->FGroupIndexLinked = linked;
    return linked;
}

bool TAdvGlowButtonActionLink::IsImageIndexLinked()
{
    auto* action = dynamic_cast<TCustomAction*>(GetAction());
    return TControlActionLink::IsImageIndexLinked() && action && action->GetImageIndex() == FImageIndex;
}

bool TAdvGlowButtonActionLink::IsHelpLinked()
{
    auto* action = dynamic_cast<TCustomAction*>(GetAction());
    return action && FClient->GetHelpContext() == action->GetHelpContext() &&
           FClient->GetHelpKeyword() == action->GetHelpKeyword() && FClient->GetHelpType() == action->GetHelpType();
}

void TAdvGlowButtonActionLink::SetChecked(bool Value)
{
    if (IsCheckedLinked())
        FClient->SetDown(Value);
}

void TAdvGlowButtonActionLink::SetGroupIndex(int Value)
{
    if (IsGroupIndexLinked())
        FClient->SetGroupIndex(Value);
}

void TAdvGlowButtonActionLink::SetImageIndex(int Value)
{
    if (IsGroupIndexLinked()) {
        FImageIndex = Value;
        FClient->Invalidate();
        FClient->SetImageIndex(Value);
    }
}

void TAdvGlowButtonActionLink::SetHelpContext(int Value)
{
    if (IsHelpLinked())
        FClient->SetHelpContext(Value);
}

void TAdvGlowButtonActionLink::SetHelpKeyword(const String& Value)
{
    if (IsHelpLinked())
        FClient->SetHelpKeyword(Value);
}

void TAdvGlowButtonActionLink::SetHelpType(THelpType Value)
{
    if (IsHelpLinked())
        FClient->SetHelpType(Value);
}
