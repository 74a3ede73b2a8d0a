// The popup window and its life cycle: created once, opened through the
// editor's hooks in a fixed order, placed against the screen's work area,
// closed by key, button, click outside or deactivation.
#include "AdvDropDown.h"
#include "ScopeExit.h"
#include <algorithm>

// ---------------------------------------------------------------------------
// The window.

TDropDownForm::TDropDownForm(TComponent* AOwner) : TForm(AOwner)
{
}

void TDropDownForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.ExStyle |= WS_EX_TOPMOST;
    if (FAdvDropDown && !measuringParams_)
        if (TCustomForm* form = GetParentForm(FAdvDropDown))
            if (form->HandleAllocated())
                Params.WndParent = form->Handle();
}

void TDropDownForm::AdjustClientRect(RECT& Rect)
{
    TForm::AdjustClientRect(Rect);
    if (FAdvDropDown) {
        const int bw = FAdvDropDown->GetDropDownBorderWidth();
        InflateRect(&Rect, -bw, -bw);
    }
}

void TDropDownForm::Paint()
{
    TForm::Paint();
    PaintBackground();
}

void TDropDownForm::PaintBackground()
{
    if (!FAdvDropDown || !HandleAllocated())
        return;
    TCanvas* canvas = GetCanvas();
    const int bw = FAdvDropDown->GetDropDownBorderWidth();
    TRect client = GetClientRect();
    TRect r = client;
    InflateRect(&r, -bw, -bw);
    const TColor color = FAdvDropDown->GetDropDownColor();
    const TColor colorTo = FAdvDropDown->GetDropDownColorTo();
    if (color != clNone && colorTo != clNone) {
        DrawStepGradient(canvas, color, colorTo, 80, r,
                         FAdvDropDown->GetDropDownGradient() == AdvDropDown::gdHorizontal);
    } else if (color != clNone) {
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(color);
        canvas->FillRect(r);
    }
    if (bw > 0) {
        TRect frame = client;
        frame.left += bw / 2;
        frame.top += bw / 2;
        canvas->GetPen()->SetWidth(bw);
        canvas->GetPen()->SetColor(FAdvDropDown->GetDropDownBorderColor());
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->Rectangle(frame);
        canvas->GetPen()->SetWidth(1);
    }
}

void TDropDownForm::HandleActivate(TMessage& Message)
{
    TForm::Dispatch(Message);
    if (FBlockActivate)
        return;
    if (LOWORD(Message.WParam) != WA_INACTIVE) {
        // The owner's top-level window keeps its active caption.
        HWND top = GetWindow(Handle(), GW_OWNER);
        for (HWND up = top; up; up = ::GetParent(up))
            top = up;
        if (top)
            SendMessageW(top, WM_NCACTIVATE, 1, 0);
        return;
    }
    if (!GetVisible())
        return;
    FIsDeactivating = true;
    FDeActivate = GetTickCount();
    // A window of the popup's own (a dialog it opened, child or owned, framed
    // or not) keeps it open.
    for (HWND w = reinterpret_cast<HWND>(Message.LParam); w;
         w = (GetWindowLongW(w, GWL_STYLE) & WS_CHILD) ? ::GetParent(w) : GetWindow(w, GW_OWNER))
        if (w == Handle()) {
            FIsDeactivating = false;
            return;
        }
    if (FAdvDropDown)
        FAdvDropDown->CloseDropDown(FCancelOnDeActivate);
    else
        Hide();
    FIsDeactivating = false;
}

void TDropDownForm::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ACTIVATE:
        HandleActivate(Message);
        return;
    case WM_NCHITTEST: {
        Message.Result = HTNOWHERE;
        if (FSizeable) {
            POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
            p = ScreenToClient(p);
            if (p.x > GetWidth() - 10 && p.y > GetHeight() - 10)
                Message.Result = HTBOTTOMRIGHT;
        }
        return;
    }
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
        return;
    case WM_SIZING:
        DefaultHandler(Message);
        if (OnSizing)
            OnSizing(this);
        return;
    case WM_SIZE:
        TForm::Dispatch(Message);
        Invalidate();
        return;
    case WM_PAINT: {
        // A form paints itself only around graphic children; the popup has
        // none, and its background and border are its own painting.
        ControlState << csCustomPaint;
        const TScopeExit endPaint([this] { ControlState >> csCustomPaint; });
        TForm::Dispatch(Message);
        return;
    }
    case WM_MOUSEWHEEL: {
        TForm::Dispatch(Message);
        if (FAdvDropDown) {
            bool handled = false;
            const POINT p{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))};
            const TShiftState shift = MouseKeysToShiftState(LOWORD(Message.WParam));
            if (static_cast<short>(HIWORD(Message.WParam)) < 0)
                FAdvDropDown->DropDownWheelDown(shift, p, handled);
            else
                FAdvDropDown->DropDownWheelUp(shift, p, handled);
        }
        return;
    }
    default:
        break;
    }
    TForm::Dispatch(Message);
}

void TDropDownForm::InitializeAndUpdate()
{
    if (!FAdvDropDown)
        return;
    THeaderAppearance* header = FAdvDropDown->GetDropDownHeader();
    if (!FHeader && header->GetVisible()) {
        FHeader = New<TAdvHeader>(this);
        FHeader->SetParent(this);
        FHeader->SetHeight(header->GetHeight());
        FHeader->AttachDropDown(FAdvDropDown);
        FHeader->RebuildButtons();
        FHeader->SetAlign(alTop);
    } else if (FHeader) {
        FHeader->AttachDropDown(FAdvDropDown);
        FHeader->RebuildButtons();
        FHeader->SetVisible(header->GetVisible());
    }
    if (FHeader) {
        FHeader->OnDrawBackGround = FAdvDropDown->OnDrawHeader;
        FHeader->OnGetText = FAdvDropDown->OnGetHeaderText;
    }
    TFooterAppearance* footer = FAdvDropDown->GetDropDownFooter();
    if (!FFooter && footer->GetVisible()) {
        FFooter = New<TAdvFooter>(this);
        FFooter->SetParent(this);
        FFooter->SetHeight(footer->GetHeight());
        FFooter->AttachDropDown(FAdvDropDown);
        FFooter->RebuildButtons();
        FFooter->SetAlign(alBottom);
    } else if (FFooter) {
        FFooter->AttachDropDown(FAdvDropDown);
        FFooter->RebuildButtons();
        FFooter->SetVisible(footer->GetVisible());
    }
    if (FFooter) {
        FFooter->OnDrawBackGround = FAdvDropDown->OnDrawFooter;
        FFooter->OnGetText = FAdvDropDown->OnGetFooterText;
    }
}

// ---------------------------------------------------------------------------
// The editor's side.

void TAdvCustomDropDown::CreateDropDownForm()
{
    if (FDropDownForm)
        return;
    FDropDownForm = New<TDropDownForm>(this);
    FDropDownForm->SetAdvDropDown(this);
    FDropDownForm->SetBorderStyle(bsNone);
    FDropDownForm->SetVisible(false);
    FDropDownForm->SetBounds(0, 0, FDropDownWidth, FDropDownHeight);
    FDropDownForm->SetDoubleBuffered(true);
    FDropDownForm->OnClose = [](TObject*, TCloseAction&) {};
    FDropDownForm->OnHide = [this](TObject*) { AfterCloseUp(); };
    FDropDownForm->OnKeyPress = [this](TObject*, wchar_t& k) { DropDownKeyPress(k); };
    FDropDownForm->OnKeyDown = [this](TObject*, Word& k, TShiftState s) { DropDownKeyDown(k, s); };
    FDropDownForm->OnKeyUp = [this](TObject*, Word& k, TShiftState s) { DropDownKeyUp(k, s); };
    FDropDownForm->OnDestroy = [this](TObject*) { DropDownFormDestroyed(); };
    FDropDownForm->OnSizing = [this](TObject*) { DropDownSizing(); };
}

void TAdvCustomDropDown::HeaderChanged(TObject*)
{
    if (FDropDownForm && FDropDownForm->GetVisible())
        FDropDownForm->InitializeAndUpdate();
}

void TAdvCustomDropDown::FooterChanged(TObject*)
{
    if (FDropDownForm && FDropDownForm->GetVisible())
        FDropDownForm->InitializeAndUpdate();
}

void TAdvCustomDropDown::BeforeDropDown()
{
    if (OnBeforeDropDown)
        OnBeforeDropDown(this);
}

void TAdvCustomDropDown::AdjustDropDownSize()
{
    if (!FDropDownForm)
        return;
    const bool content = FControl && FControl->GetVisible();
    int w = GetWidth();
    if (FDropDownWidth > 0)
        w = FDropDownWidth;
    else if (content)
        w = FControl->GetWidth();
    int h = 0;
    if (FDropDownHeight > 0) {
        h = FDropDownHeight;
    } else {
        h = 2 * FDropDownBorderWidth;
        if (FDropDownHeader->GetVisible())
            h += FDropDownHeader->GetHeight();
        if (FDropDownFooter->GetVisible())
            h += FDropDownFooter->GetHeight();
        if (content)
            h += FControl->GetHeight();
    }
    FDropDownForm->SetBounds(FDropDownForm->GetLeft(), FDropDownForm->GetTop(), w, h);
}

void TAdvCustomDropDown::PlaceControl()
{
    if (!FDropDownForm || !FControl)
        return;
    FControl->SetParent(FDropDownForm);
    FControl->SetTop(FDropDownHeader->GetVisible() ? FDropDownHeader->GetHeight() + 2 : FDropDownBorderWidth);
    FControl->SetAlign(alClient);
}

void TAdvCustomDropDown::FocusDropDownControl()
{
    if (FFocusControl && FFocusControl->GetTabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
}

void TAdvCustomDropDown::OpenDropDown()
{
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || FDropDownForm->GetVisible() || !GetEnabled() ||
        GetReadOnly() || FDropDownForm->GetIsDeactivating() || FDoShowBusy)
        return;
    FDoShowBusy = true;
    TScopeExit notBusy([this] { FDoShowBusy = false; });
    BeforeDropDown();
    FDropDownForm->SetShadow(FDropDownShadow);
    FDropDownForm->InitializeAndUpdate();
    HWND popup = FDropDownForm->Handle();
    const DWORD style = GetClassLongW(popup, GCL_STYLE);
    SetClassLongW(popup, GCL_STYLE,
                  FDropDownForm->GetShadow() ? (style | CS_DROPSHADOW) : (style & ~static_cast<DWORD>(CS_DROPSHADOW)));
    FDropDownForm->SetBounds(GetLeft(), GetTop(), FDropDownForm->GetWidth(), FDropDownForm->GetHeight());
    AdjustDropDownSize();
    PlaceControl();
    FDropDownForm->GetConstraints()->SetMinWidth(80);
    FDropDownForm->GetConstraints()->SetMinHeight(50);
    if (auto* content = dynamic_cast<TWinControl*>(FControl)) {
        content->OnKeyDown = [this](TObject*, Word& k, TShiftState s) { ControlKeyDown(k, s); };
        content->OnKeyPress = [this](TObject*, wchar_t& k) { ControlKeyPress(k); };
        content->OnKeyUp = [this](TObject*, Word& k, TShiftState s) { ControlKeyUp(k, s); };
    }
    POINT p{GetLeft(), GetTop()};
    p = GetParent() ? GetParent()->ClientToScreen(p) : ClientToScreen(POINT{0, 0});
    const int popupHeight = FDropDownForm->GetHeight();
    int top = p.y + GetHeight() - 1;
    if (FDropPosition == dpUp || (FDropPosition == dpAuto && p.y + popupHeight >= GetSystemMetrics(SM_CYSCREEN)))
        top = p.y - popupHeight;
    FDropDownForm->SetBounds(p.x, top, FDropDownForm->GetWidth(), popupHeight);
    bool accept = true;
    if (OnDropDown)
        OnDropDown(this, accept);
    if (!accept)
        return;
    RECT work{-1, -1, -1, -1};
    if (TMonitor* monitor = Screen ? Screen->MonitorFromPoint(p, mdNearest) : nullptr)
        work = monitor->WorkareaRect();
    else
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int left = FDropDownForm->GetLeft();
    const int right = left + FDropDownForm->GetWidth();
    if (work.left >= 0 && right > work.right && left < work.right)
        FDropDownForm->SetLeft(work.right - FDropDownForm->GetWidth());
    POINT at{FDropDownForm->GetLeft(), FDropDownForm->GetTop()};
    if (FUserDropDownWidth != -1)
        FDropDownForm->SetWidth(FUserDropDownWidth);
    if (FUserDropDownHeight != -1)
        FDropDownForm->SetHeight(FUserDropDownHeight);
    if (OnGetDropDownPos) {
        OnGetDropDownPos(this, at);
        FDropDownForm->SetBounds(at.x, at.y, FDropDownForm->GetWidth(), FDropDownForm->GetHeight());
    }
    const int w = FDropDownForm->GetWidth();
    int h = FDropDownForm->GetHeight();
    // Shown at no size first, so that nothing flashes at the old one.
    SetWindowPos(popup, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    FDropDownForm->Show();
    if (FDropDownShadow && FForceShadow) {
        FDropDownForm->Hide();
        SetWindowPos(popup, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        FDropDownForm->Show();
    }
    AfterDropDown(h);
    FDroppedDown = true;
    SetWindowPos(popup, HWND_TOPMOST, at.x, at.y, w, h, 0);
    FocusDropDownControl();
}

void TAdvCustomDropDown::DropDownButtonClick(TObject*)
{
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || FDropDownForm->GetVisible())
        return;
    // The click that closed the popup by deactivating it must not reopen it.
    // Measured from when the release happened, not from when it is handled:
    // on a busy system closing may take longer than the 250 ms, and a
    // release queued before the deactivation counts as within them.
    const int sinceClose = static_cast<int>(static_cast<DWORD>(GetMessageTime()) - FDropDownForm->GetDeActivateTime());
    if (sinceClose > 250)
        OpenDropDown();
}

void TAdvCustomDropDown::CloseDropDown(bool Cancel)
{
    if (ComponentState().Contains(csDesigning) || !FDropDownForm || !FDropDownForm->GetVisible())
        return;
    if (OnBeforeDropUp)
        OnBeforeDropUp(this);
    FUserDropDownWidth = FDropDownForm->GetWidth();
    FUserDropDownHeight = FDropDownForm->GetHeight();
    FDropDownForm->Hide();
    if (Application)
        Application->CancelHint();
    if (Cancel)
        SetText(FOldText);
    if (OnDropUp)
        OnDropUp(this, Cancel);
}

void TAdvCustomDropDown::AfterCloseUp()
{
    FDroppedDown = false;
    if (GetTabStop() && CanFocus() && !Focused() && !ComponentState().Contains(csDestroying))
        SetFocus();
}

void TAdvCustomDropDown::DropDownKeyPress(wchar_t& Key)
{
    SendMessageW(Handle(), WM_CHAR, Key, 0);
}

void TAdvCustomDropDown::DropDownKeyDown(Word& Key, TShiftState Shift)
{
    // Alt travels in the key data; without it Alt+Up could not close the
    // popup from inside.
    SendMessageW(Handle(), WM_KEYDOWN, Key, Shift.Contains(ssAlt) ? 0x20000000 : 0);
}

void TAdvCustomDropDown::DropDownKeyUp(Word& Key, TShiftState)
{
    SendMessageW(Handle(), WM_KEYUP, Key, 0);
}

void TAdvCustomDropDown::DrawGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R,
                                      AdvDropDown::TGradientDirection Direction)
{
    DrawStepGradient(Canvas, FromColor, ToColor, Steps, R, Direction == AdvDropDown::gdHorizontal);
}
