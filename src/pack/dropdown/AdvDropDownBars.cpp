// The popup's header and footer bars and their small flat buttons.
#include "AdvDropDown.h"
#include "GdiHandles.h"
#include "ImgList.h"
#include <algorithm>

namespace {

// Posted to a bar to free the buttons a rebuild took off it.
constexpr UINT CM_FREERETIREDBUTTONS = WM_APP + 0x4A1;

} // namespace

// ---------------------------------------------------------------------------
// The pointer list.

void* TDbgList::GetItem(int Index) const
{
    if (Index >= Count())
        throw EListError(L"Index out of bounds in list read access");
    return Get(Index);
}

void TDbgList::AssignList(TList* ListA)
{
    Clear();
    for (int i = 0; i < ListA->Count(); ++i)
        Add(ListA->Get(i));
}

// ---------------------------------------------------------------------------
// The bar button.

TAdvButton::TAdvButton(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, 23, 22);
    ControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks};
    SetParentFont(true);
    GetFont()->SetName(L"Tahoma");
    SetShowHint(false);
    SetDoubleBuffered(true);
    UnHotTimer = New<TTimer>(this);
    UnHotTimer->SetInterval(1);
    UnHotTimer->SetEnabled(false);
    UnHotTimer->OnTimer = [this](TObject* s) { UnHotTick(s); };
}

void TAdvButton::Loaded()
{
    TCustomControl::Loaded();
    if (InitialDown != Down)
        SetDown(InitialDown);
}

void TAdvButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Images)
        Images = nullptr;
}

void TAdvButton::Paint()
{
    if (!GetEnabled()) {
        State = absDisabled;
        Dragging = false;
    } else if (State == absDisabled) {
        State = Down && GroupIndex != 0 ? absExclusive : absUp;
    }
    if (Style == tasCheck && Down)
        State = absDown;
    TCanvas* canvas = GetCanvas();
    HDC dc = canvas->GetHandle();
    // The parent's background beneath the button, so that it looks transparent.
    if (TWinControl* parent = GetParent()) {
        const TSavedDC saved(dc);
        IntersectClipRect(dc, 0, 0, GetClientWidth(), GetClientHeight());
        POINT origin{};
        GetWindowOrgEx(dc, &origin);
        SetWindowOrgEx(dc, origin.x + GetLeft(), origin.y + GetTop(), nullptr);
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
    DrawButton(canvas);
}

void TAdvButton::DrawButton(TCanvas* ACanvas)
{
    if (!Appearance)
        return;
    TColor color = Appearance->GetColor(), colorTo = Appearance->GetColorTo();
    TColor border = Appearance->GetBorderColor();
    if (!GetEnabled()) {
        color = Appearance->GetColorDisabled();
        colorTo = Appearance->GetColorDisabledTo();
        border = Appearance->GetBorderColorDisabled();
    } else if (MouseDownInControl && MouseInControl) {
        color = colorTo = Appearance->GetColorDown();
        border = Appearance->GetBorderColorDown();
    } else if (Down) {
        color = colorTo = Appearance->GetColorChecked();
        border = Appearance->GetBorderColorChecked();
    } else if (MouseInControl || Focused()) {
        color = colorTo = Appearance->GetColorHot();
        border = Appearance->GetBorderColorHot();
    }
    const TRect client(0, 0, GetClientWidth(), GetClientHeight());
    FillGradientRect(ACanvas, client, color, colorTo, border, 1, Appearance->GetGradient());
    ACanvas->GetBrush()->SetStyle(bsClear);
    ACanvas->GetFont()->Assign(Appearance->GetFont());
    DrawImageAndText(ACanvas, client, GetCaption(), ImageIndex, Images);
}

bool TAdvButton::Inside(int X, int Y)
{
    return X >= 0 && X < GetClientWidth() && Y >= 0 && Y <= GetClientHeight();
}

void TAdvButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        Message.Result = 1;
        return;
    case CM_ENABLEDCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomControl::Dispatch(Message);
        Invalidate();
        return;
    case CM_DIALOGCHAR: {
        const String caption = GetCaption();
        const size_t amp = caption.find(L'&');
        const wchar_t ch = static_cast<wchar_t>(Message.WParam);
        if (GetEnabled() && amp != String::npos && amp + 1 < caption.size() &&
            CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(caption[amp + 1]))) ==
                CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(ch)))) {
            Click();
            Message.Result = 1;
            return;
        }
        break;
    }
    case CM_BUTTONPRESSED: {
        auto* other = reinterpret_cast<TAdvButton*>(Message.LParam);
        if (static_cast<int>(Message.WParam) == GroupIndex && other && other != this) {
            if (other->Down && Down) {
                Down = false;
                State = absUp;
                Repaint();
            }
            AllowAllUp = other->AllowAllUp;
        }
        return;
    }
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

void TAdvButton::MouseEnter()
{
    TCustomControl::MouseEnter();
    if (ComponentState().Contains(csDesigning))
        return;
    MouseInControl = true;
    if (GetEnabled())
        Invalidate();
    UnHotTimer->SetEnabled(true);
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TAdvButton::MouseLeave()
{
    TCustomControl::MouseLeave();
    if (ComponentState().Contains(csDesigning))
        return;
    UnHotTimer->SetEnabled(false);
    MouseInControl = false;
    Hot = false;
    if (GetEnabled())
        Invalidate();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TAdvButton::UnHotTick(TObject*)
{
    POINT p{};
    GetCursorPos(&p);
    p = ScreenToClient(p);
    if (p.x >= 0 && p.y >= 0 && p.x < GetClientWidth() && p.y < GetClientHeight())
        return;
    UnHotTimer->SetEnabled(false);
    MouseInControl = false;
    Hot = false;
    if (GetEnabled())
        Invalidate();
}

void TAdvButton::CheckMouseOver()
{
    if (Dragging || MouseInControl)
        return;
    POINT p{};
    GetCursorPos(&p);
    if (FindVCLWindow(p) == this)
        MouseEnter();
}

void TAdvButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (ComponentState().Contains(csDesigning) || Button != mbLeft || !GetEnabled())
        return;
    MouseDownInControl = true;
    if (!Down || Style == tasCheck) {
        State = absDown;
        Invalidate();
    }
    Dragging = true;
}

void TAdvButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    if (ComponentState().Contains(csDesigning))
        return;
    if (Dragging) {
        TAdvButtonState next = Down ? absExclusive : absUp;
        if (Inside(X, Y))
            next = Down ? absExclusive : absDown;
        if (Style == tasCheck && Down)
            next = absDown;
        if (next != State) {
            State = next;
            Invalidate();
        }
    } else if (!MouseInControl) {
        CheckMouseOver();
    }
}

void TAdvButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    MouseDownInControl = false;
    Invalidate();
    if (ComponentState().Contains(csDesigning) || !Dragging) {
        TCustomControl::MouseUp(Button, Shift, X, Y);
        return;
    }
    Dragging = false;
    const bool inside = Inside(X, Y);
    if (GroupIndex == 0) {
        State = absUp;
        MouseInControl = false;
        Hot = false;
        if (Style == tasCheck) {
            SetDown(!Down);
            State = absUp;
        }
        if (inside && State != absDown && State != absExclusive)
            Invalidate();
    } else if (inside) {
        SetDown(!Down);
        if (Down)
            Repaint();
    } else if (Down) {
        State = absExclusive;
        Invalidate();
    }
    // The click comes last: it may close the popup and rebuild this bar.
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TAdvButton::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN || Key == VK_SPACE) {
        if (!Down || Style == tasCheck) {
            State = absDown;
            Repaint();
        }
        InternalClick = true;
        Click();
        InternalClick = false;
    }
    TCustomControl::KeyDown(Key, Shift);
}

void TAdvButton::SetDown(bool Value)
{
    if (ComponentState().Contains(csLoading)) {
        InitialDown = Value;
        return;
    }
    if (GroupIndex == 0 && Style == tasButton)
        Value = false;
    if (Style == tasCheck) {
        Down = Value;
        State = Down ? absDown : absUp;
        Repaint();
        return;
    }
    if (Value == Down || (Down && !AllowAllUp))
        return;
    Down = Value;
    if (Value) {
        if (State == absUp)
            Invalidate();
        State = absExclusive;
        if (TWinControl* parent = GetParent()) {
            TMessage m{CM_BUTTONPRESSED, static_cast<WPARAM>(GroupIndex), reinterpret_cast<LPARAM>(this), 0};
            for (int i = 0; i < parent->ControlCount(); ++i)
                parent->Controls(i)->Dispatch(m);
        }
    } else {
        State = absUp;
        Repaint();
    }
}

void TAdvButton::Click()
{
    TModalResult result = ModalResult;
    if (auto* form = dynamic_cast<TCustomForm*>(GetParentForm(this, false)))
        form->SetModalResult(result);
    const bool cancel = result == mrCancel || result == mrAbort || result == mrIgnore || result == mrNo || result == 9;
    // The click handler may rebuild the bar; this button stays alive until
    // the message that brought the click has returned.
    const bool closes = AdvDropDown && ((result >= 1 && result <= 3) || (result >= 5 && result <= 10));
    TAdvCustomDropDown* editor = AdvDropDown;
    if (closes)
        editor->CloseDropDown(cancel);
    if (!InternalClick)
        TCustomControl::Click();
}

void TAdvButton::SizeToContent()
{
    if (!Appearance)
        return;
    GetCanvas()->GetFont()->Assign(Appearance->GetFont());
    TSize size = MeasureTextSize(GetCanvas(), GetCaption());
    if (Images && ImageIndex >= 0) {
        size.cx = std::max<LONG>(size.cx, Images->GetWidth());
        size.cy = std::max<LONG>(size.cy, Images->GetHeight());
    }
    SetBounds(GetLeft(), GetTop(), size.cx + 8, size.cy + 4);
}

// ---------------------------------------------------------------------------
// The bars.

TAdvBar::TAdvBar(TComponent* AOwner, bool Footer) : TCustomControl(AOwner), ButtonList(New<TDbgList>()), IsFooter(Footer)
{
    if (Footer)
        ControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
    else
        ControlStyle = TControlStyle{csAcceptsControls, csClickEvents, csDoubleClicks};
    SetBorderWidth(0);
    SetDoubleBuffered(true);
}

TAdvBar::~TAdvBar() = default;

TDropDownBarButtons* TAdvBar::GetButtons() const
{
    if (!AdvDropDown)
        return nullptr;
    if (IsFooter)
        return AdvDropDown->GetDropDownFooter()->GetButtons();
    return AdvDropDown->GetDropDownHeader()->GetButtons();
}

void TAdvBar::RebuildButtons()
{
    if (AdvDropDown)
        CreateButtons();
}

void TAdvBar::AppearanceChanged(TObject*)
{
    TDropDownBarAppearance* appearance = BarAppearance();
    SetVisible(appearance->GetVisible());
    SetHeight(appearance->GetHeight());
}

void TAdvBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Images)
        Images = nullptr;
}

TRect TAdvBar::ButtonArea() const
{
    const TRect r = GetClientRect();
    return {r.left + 2, r.top + 2, r.right - 2, r.bottom - 3};
}

void TAdvBar::ClearButtons()
{
    for (int i = ButtonList->Count() - 1; i >= 0; --i) {
        auto* button = static_cast<TAdvButton*>(ButtonList->GetItem(i));
        button->SetVisible(false);
        button->OnClick = nullptr;
        retired_.push_back(button);
    }
    ButtonList->Clear();
    if (!retired_.empty() && HandleAllocated())
        PostMessageW(Handle(), CM_FREERETIREDBUTTONS, 0, 0);
}

void TAdvBar::FreeRetired()
{
    std::vector<TAdvButton*> going;
    going.swap(retired_);
    for (auto it = going.rbegin(); it != going.rend(); ++it)
        (*it)->Free();
}

void TAdvBar::CreateButtons()
{
    if (!AdvDropDown)
        return;
    ClearButtons();
    TDropDownBarButtons* items = GetButtons();
    const int largest = ButtonArea().Height();
    for (int i = 0; i < items->Count(); ++i) {
        auto* item = static_cast<TDropDownBarButton*>(items->GetItem(i));
        auto* button = New<TAdvButton>(this);
        button->SetParent(this);
        if (IsFooter)
            button->SetAdvDropDown(AdvDropDown);
        button->Appearance = AdvDropDown->GetButtonAppearance();
        button->SetCaption(item->GetCaption());
        button->SetImages(Images);
        button->ImageIndex = item->GetImageIndex();
        button->SetEnabled(item->GetEnabled());
        if (IsFooter)
            button->ModalResult = static_cast<TFooterButton*>(item)->GetModalResult();
        button->SizeToContent();
        int w = button->GetWidth(), h = button->GetHeight();
        if (item->GetWidth() > 0)
            w = item->GetWidth();
        if (item->GetHeight() > 0)
            h = item->GetHeight();
        h = std::min(h, largest);
        button->SetBounds(button->GetLeft(), button->GetTop(), w, h);
        button->SetTag(i);
        button->OnClick = [this](TObject* s) { ButtonClick(s); };
        ButtonList->Add(button);
    }
    ArrangeButtons();
}

void TAdvBar::ArrangeButtons()
{
    const TRect area = ButtonArea();
    const bool right = BarAppearance()->GetButtonAlignment() == baRight;
    int x = right ? area.right : area.left;
    for (int i = 0; i < ButtonList->Count(); ++i) {
        auto* button = static_cast<TAdvButton*>(ButtonList->GetItem(i));
        const int top = std::max<int>(area.top, (area.bottom - button->GetHeight()) / 2);
        if (right) {
            x -= button->GetWidth();
            button->SetBounds(x, top, button->GetWidth(), button->GetHeight());
        } else {
            button->SetBounds(x, top, button->GetWidth(), button->GetHeight());
            x += button->GetWidth();
        }
    }
}

void TAdvBar::UpdateButtons()
{
    if (!AdvDropDown)
        return;
    TDropDownBarButtons* items = GetButtons();
    for (int i = 0; i < ButtonList->Count(); ++i) {
        auto* button = static_cast<TAdvButton*>(ButtonList->GetItem(i));
        button->Appearance = AdvDropDown->GetButtonAppearance();
        button->SetImages(Images);
        if (i < items->Count()) {
            auto* item = static_cast<TDropDownBarButton*>(items->GetItem(i));
            button->SetCaption(item->GetCaption());
            button->ImageIndex = item->GetImageIndex();
            button->SetEnabled(item->GetEnabled());
        }
        button->SetAutoSize(true);
    }
    ArrangeButtons();
}

void TAdvBar::ButtonClick(TObject* Sender)
{
    auto* button = dynamic_cast<TAdvButton*>(Sender);
    if (!button || !AdvDropDown)
        return;
    const TDropDownButtonItemClick& event =
        IsFooter ? AdvDropDown->OnDropDownFooterButtonClick : AdvDropDown->OnDropDownHeaderButtonClick;
    if (event)
        event(AdvDropDown, static_cast<int>(button->GetTag()));
}

void TAdvBar::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_FREERETIREDBUTTONS:
        FreeRetired();
        return;
    case WM_SIZE:
        TCustomControl::Dispatch(Message);
        ArrangeButtons();
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

void TAdvBar::Paint()
{
    TCanvas* canvas = GetCanvas();
    const TRect r = GetClientRect();
    if (OnDrawBackGround) {
        OnDrawBackGround(this, canvas, r);
        return;
    }
    TDropDownBarAppearance* a = BarAppearance();
    if (a->GetColorTo() != clNone) {
        DrawStepGradient(canvas, a->GetColor(), a->GetColorTo(), 80, r,
                         a->GetGradientDirection() == AdvDropDown::gdHorizontal);
    } else if (a->GetColor() != clNone) {
        canvas->GetBrush()->SetColor(a->GetColor());
        canvas->FillRect(r);
    }
    const int bw = a->GetBorderWidth();
    if (a->GetBorderColor() != clNone && bw > 0) {
        TPen* pen = canvas->GetPen();
        pen->SetWidth(bw);
        pen->SetColor(a->GetBorderColor());
        const bool frame = !AdvDropDown || AdvDropDown->GetDropDownBorderWidth() <= 0 ||
                           AdvDropDown->GetDropDownBorderColor() == clNone;
        if (!IsFooter) {
            canvas->MoveTo(r.left, r.bottom - 1);
            canvas->LineTo(r.right, r.bottom - 1);
            if (frame) {
                canvas->MoveTo(r.left, r.bottom - 1);
                canvas->LineTo(r.left, r.top);
                canvas->LineTo(r.right, r.top);
                canvas->LineTo(r.right, r.bottom - 1);
            }
        } else {
            canvas->MoveTo(r.left, r.top);
            canvas->LineTo(r.right, r.top);
            if (frame) {
                canvas->MoveTo(r.left, r.top);
                canvas->LineTo(r.left, r.bottom);
                canvas->LineTo(r.right, r.bottom);
                canvas->LineTo(r.right, r.top);
            }
        }
        pen->SetWidth(1);
        canvas->GetBrush()->SetStyle(bsClear);
        pen->SetColor(BlendColor(a->GetBorderColor(), clWhite, 20));
        TRect light = r;
        if (IsFooter)
            light.top += bw;
        else
            light.bottom -= bw;
        canvas->Rectangle(light);
    }
    TRect t = r;
    InflateRect(&t, -bw, -bw);
    if (a->GetImageIndex() >= 0 && Images) {
        Images->Draw(canvas, t.left + 4, t.top + (t.Height() - Images->GetHeight()) / 2, a->GetImageIndex(), true);
        t.left += Images->GetWidth() + 8;
    }
    String text = a->GetCaption();
    if (OnGetText)
        OnGetText(this, text);
    if (!text.empty()) {
        if (ButtonList->Count() > 0)
            t.right = static_cast<TAdvButton*>(ButtonList->GetItem(ButtonList->Count() - 1))->GetLeft() - 2;
        canvas->GetFont()->Assign(a->GetFont());
        const TSize size = DrawHTMLText(canvas, text, t, Images, false, Handle());
        if (size.cy < t.Height())
            t.top += (t.Height() - size.cy) / 2;
        canvas->GetBrush()->SetStyle(bsClear);
        DrawHTMLText(canvas, text, t, Images, true, Handle());
    }
    PaintExtras(r);
}

TAdvHeader::TAdvHeader(TComponent* AOwner) : TAdvBar(AOwner, false), Appearance(New<THeaderAppearance>(AOwner))
{
    Appearance->OnChange = [this](TObject* s) { AppearanceChanged(s); };
    Appearance->OnButtonsChanged = [](TObject*) {};
}

void TAdvHeader::AttachDropDown(TAdvCustomDropDown* Editor)
{
    AdvDropDown = Editor;
    if (!Editor) {
        Images = nullptr;
        return;
    }
    Images = Editor->GetImages();
    Appearance->Assign(Editor->GetDropDownHeader());
}

void TAdvHeader::ArrangeButtons()
{
    if (ButtonList->Count() == 0)
        return;
    TAdvBar::ArrangeButtons();
}

TAdvFooter::TAdvFooter(TComponent* AOwner) : TAdvBar(AOwner, true), Appearance(New<TFooterAppearance>(AOwner))
{
    Appearance->OnChange = [this](TObject* s) { AppearanceChanged(s); };
}

void TAdvFooter::AttachDropDown(TAdvCustomDropDown* Editor)
{
    AdvDropDown = Editor;
    if (!Editor) {
        Images = nullptr;
        return;
    }
    Images = Editor->GetImages();
    Appearance->Assign(Editor->GetDropDownFooter());
}

bool TAdvFooter::SizeGripActive() const
{
    return Appearance->GetSizeGrip() && AdvDropDown && AdvDropDown->GetDropDownSizeable();
}

TRect TAdvFooter::ButtonArea() const
{
    const TRect r = GetClientRect();
    return {r.left + 2, r.top + 2, r.right - (SizeGripActive() ? 14 : 2), r.bottom - 2};
}

void TAdvFooter::PaintExtras(const TRect& R)
{
    if (!SizeGripActive())
        return;
    TCanvas* canvas = GetCanvas();
    const int bw = Appearance->GetBorderWidth();
    const TRect g(R.right - bw - 16, 1, R.right - bw - 1, R.bottom);
    struct TDot {
        int dx, a;
    };
    static constexpr TDot dots[] = {{5, 2}, {9, 2}, {13, 2}, {13, 6}, {13, 10}, {9, 6}};
    auto paint = [&](TColor color, int shift) {
        canvas->GetBrush()->SetStyle(bsSolid);
        canvas->GetBrush()->SetColor(color);
        canvas->GetPen()->SetColor(color);
        for (const TDot& d : dots) {
            const int x = g.left + d.dx - shift;
            const int a = d.a + shift;
            canvas->Rectangle(x, g.bottom - a - 2, x + 2, g.bottom - a);
        }
    };
    paint(clWhite, 0);
    paint(Appearance->GetBorderColor(), 1);
}

bool TAdvFooter::InGrip(int X, int Y) const
{
    return SizeGripActive() && GetParent() && X > GetWidth() - 12 && Y > GetHeight() - 15;
}

void TAdvFooter::RestoreCursor()
{
    if (Screen && Screen->GetCursor() != OldCursor)
        Screen->SetCursor(OldCursor);
}

void TAdvFooter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && InGrip(X, Y)) {
        ReleaseCapture();
        SendMessageW(GetParent()->Handle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, 0);
        return;
    }
    TAdvBar::MouseDown(Button, Shift, X, Y);
}

void TAdvFooter::MouseMove(TShiftState Shift, int X, int Y)
{
    TAdvBar::MouseMove(Shift, X, Y);
    if (InGrip(X, Y)) {
        if (Screen->GetCursor() != crSizeNWSE)
            Screen->SetCursor(crSizeNWSE);
    } else {
        RestoreCursor();
    }
}

void TAdvFooter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TAdvBar::MouseUp(Button, Shift, X, Y);
    RestoreCursor();
}

void TAdvFooter::MouseEnter()
{
    TAdvBar::MouseEnter();
    if (Screen->GetCursor() != crSizeNWSE)
        OldCursor = Screen->GetCursor();
}

void TAdvFooter::MouseLeave()
{
    TAdvBar::MouseLeave();
    RestoreCursor();
}
