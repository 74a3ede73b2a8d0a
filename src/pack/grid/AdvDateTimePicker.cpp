#include "AdvDateTimePicker.h"

#include "Forms.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include "SysUtils.h"
#include <cmath>
#include <commctrl.h>
#include <utility>

using namespace AdvDateTimePicker;

namespace {

bool IsDigitKey(WPARAM Key)
{
    return (Key >= '0' && Key <= '9') || (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9);
}

struct TDateParts {
    Word year = 0, month = 0, day = 0;
};

TDateParts DateParts(TDateTime Value)
{
    TDateParts p;
    DecodeDate(Value, p.year, p.month, p.day);
    return p;
}

// The time of day without its milliseconds.
TDateTime WholeSeconds(TDateTime Value)
{
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(Value, h, m, s, ms);
    return EncodeTime(h, m, s, 0);
}

int TextWidth(const String& Text, TFont* Font)
{
    TWindowDC screen(nullptr);
    TSelectObject select(screen.Get(), Font->GetHandle());
    SIZE size{};
    GetTextExtentPoint32W(screen.Get(), Text.c_str(), static_cast<int>(Text.size()), &size);
    return size.cx;
}

} // namespace

// --- the auto-tab picker -----------------------------------------------------------

TCustomDateTimePicker::TCustomDateTimePicker(TComponent* AOwner)
    : TDateTimePickerLook(AOwner)
{
    FBorderColor = clBlack;
    FCtl3D = false;
}

UINT TCustomDateTimePicker::ShiftFocusMessage()
{
    // The grid registers the same name, so both get one identifier.
    static const UINT message = RegisterWindowMessageW(L"DTPShiftFocus");
    return message;
}

void TCustomDateTimePicker::RememberFields()
{
    if (TDateTimePicker::GetKind() != dtkTime)
        return;
    DecodeTime(TDateTimePicker::GetDateTime(), Fh, Fm, Fs, Fms);
}

void TCustomDateTimePicker::FocusNextControl()
{
    TCustomForm* form = GetParentForm(this);
    if (form && HandleAllocated() && IsWindowVisible(GetHandle()))
        form->SelectNext(this, true, true);
}

void TCustomDateTimePicker::ShiftFocus()
{
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(TDateTimePicker::GetDateTime(), h, m, s, ms);
    if (h == Fh && m == Fm && s == Fs)
        return;
    if (h == Fh && m == Fm && FAutoTabToNext)
        FocusNextControl();
    else
        PostMessageW(GetHandle(), WM_KEYDOWN, VK_RIGHT, 0);
}

void TCustomDateTimePicker::Dispatch(TMessage& Message)
{
    // Posted behind the digit's character, so the field has changed by now.
    if (Message.Msg == ShiftFocusMessage() && Message.Msg != 0) {
        ShiftFocus();
        return;
    }
    switch (Message.Msg) {
    case WM_SETFOCUS:
        TDateTimePickerLook::Dispatch(Message);
        if (FAutoTab) {
            // A click on the first field selects it. The platform's picker
            // finds its fields where it last painted them, and a posted
            // click comes before a pending paint: paint first.
            UpdateWindow(GetHandle());
            const LPARAM at = GetShowCheckbox() ? MAKELPARAM(24, 2) : MAKELPARAM(2, 2);
            PostMessageW(GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        }
        return;
    case WM_KEYDOWN:
        if (FAutoTab && IsDigitKey(Message.WParam)) {
            RememberFields();
            TDateTimePickerLook::Dispatch(Message);
            PostMessageW(GetHandle(), ShiftFocusMessage(), 0, 0);
            return;
        }
        break;
    case WM_GETDLGCODE:
        TDateTimePickerLook::Dispatch(Message);
        if (FGridTabhandling) {
            const bool shift = GetKeyState(VK_SHIFT) < 0;
            if ((FIsTimePicker && !shift) || (!FIsTimePicker && shift))
                Message.Result |= DLGC_WANTTAB;
        }
        return;
    }
    TDateTimePickerLook::Dispatch(Message);
}

void TCustomDateTimePicker::DrawOutline(HDC DC)
{
    if (FCtl3D)
        return;
    RECT window{};
    GetWindowRect(GetHandle(), &window);
    const int w = window.right - window.left, h = window.bottom - window.top;
    TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(FlatBorderColour())));
    TSelectObject select(DC, pen.Get());
    const POINT outline[] = {{0, h}, {0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}};
    Polyline(DC, outline, 5);
    if (PlatformProbe().IsVistaOrLater() && !ThemesActive()) {
        const POINT inner[] = {{1, h - 2}, {1, 1}, {w - 2, 1}, {w - 2, h - 2}, {1, h - 2}};
        Polyline(DC, inner, 5);
    }
}

void TCustomDateTimePicker::DrawFlatBorder(HDC DC)
{
    if (FCtl3D)
        return;
    // Unlike the grid's picker this one draws it without a border colour too.
    const TColor saved = FBorderColor;
    if (FBorderColor == clNone)
        FBorderColor = clBlack;
    TDateTimePickerLook::DrawFlatBorder(DC);
    FBorderColor = saved;
}

// --- the composite picker ----------------------------------------------------------

TAdvDateTimePicker::TAdvDateTimePicker(TComponent* AOwner)
    : TCustomDateTimePicker(AOwner), FLabelFont(New<TFont>())
{
    FBorderStyle = bsSingle;
    FCtl3D = true;
    FFocusTimer = New<TTimer>(this);
    FFocusTimer->SetEnabled(false);
    FFocusTimer->SetInterval(20);
    FFocusTimer->OnTimer = [this](TObject*) { FocusTimerFired(); };
    FLabelFont->OnChange = [this](TObject*) { UpdateLabel(); };
}

void TAdvDateTimePicker::BeforeDestruction()
{
    FFocusTimer->SetEnabled(false);
    if (TLabel* label = std::exchange(FLabel, nullptr)) {
        label->SetParent(nullptr);
        label->Free();
    }
    if (TCustomDateTimePicker* part = std::exchange(FTimePicker, nullptr))
        part->Free();
    TCustomDateTimePicker::BeforeDestruction();
}

void TAdvDateTimePicker::CreateWnd()
{
    TCustomDateTimePicker::CreateWnd();
    TDateTimePicker::SetKind(FKind == dkTime ? dtkTime : dtkDate);
    if (FKind == dkDateTime)
        EnsureTimePicker();
    UpdateTimePicker();
    UpdateLabel();
}

void TAdvDateTimePicker::Loaded()
{
    TCustomDateTimePicker::Loaded();
    if (!ComponentState().Contains(csDesigning)) {
        EnsureTimePicker();
        UpdateTimePicker();
        if (GetShowCheckbox() && !GetChecked()) {
            SetChecked(false);
            if (FTimePicker)
                FTimePicker->SetEnabled(false);
        }
    }
    if (FLabel && !FLabelAlwaysEnabled)
        FLabel->SetEnabled(GetEnabled());
    FParentFnt = GetParentFont();
    UpdateLabel();
}

void TAdvDateTimePicker::SetKind(TAdvDateTimeKind Value)
{
    if (FKind == Value)
        return;
    FKind = Value;
    TDateTimePicker::SetKind(Value == dkTime ? dtkTime : dtkDate);
    if (Value == dkDateTime) {
        const TDateTime value = GetDateTime();
        EnsureTimePicker();
        SetDateTime(value);
    }
    UpdateTimePicker();
}

void TAdvDateTimePicker::EnsureTimePicker()
{
    if (FKind != dkDateTime || FTimePicker)
        return;
    FTimePicker = New<TCustomDateTimePicker>(this);
    if (!(ComponentState().Contains(csLoading) && ComponentState().Contains(csDesigning)))
        FTimePicker->SetParent(this);
    FTimePicker->SetBounds(0, 0, 90, 17);
    FTimePicker->FIsTimePicker = true;
    FTimePicker->SetVisible(false);
    FTimePicker->SetEnabled(GetEnabled());
    FTimePicker->TDateTimePicker::SetKind(dtkTime);
    FTimePicker->OnChange = [this](TObject*) {
        DoChange();
        if (OnTimeChange)
            OnTimeChange(this);
    };
    FTimePicker->OnClick = [this](TObject*) { DoClick(); };
    FTimePicker->OnKeyPress = [this](TObject*, wchar_t& Key) { TimePickerKeyPress(Key); };
    FTimePicker->OnKeyDown = [this](TObject*, Word& Key, TShiftState Shift) { KeyDown(Key, Shift); };
    FTimePicker->SetAutoTabToNext(FAutoTabToNext);
    FTimePicker->SetAutoTab(FAutoTab);
    FTimePicker->FGridTabhandling = FGridTabhandling;
}

void TAdvDateTimePicker::UpdateTimePicker()
{
    if (!FTimePicker)
        return;
    if (FKind != dkDateTime) {
        std::exchange(FTimePicker, nullptr)->Free();
        return;
    }
    const TDateTime value = GetDateTime();
    FTimePicker->SetParent(this);
    FTimePicker->SetColor(GetColor());
    FTimePicker->SetEnabled(GetEnabled() && (GetChecked() || !GetShowCheckbox()));
    FTimePicker->SetVisible(true);
    FTimePicker->TDateTimePicker::SetDateTime(value);
    FTimePicker->SetFormat(FTimeFormat);
    FTimePicker->GetFont()->Assign(GetFont());
    if (!HandleAllocated() && !ComponentState().Contains(csLoading))
        return;

    // The time part's width follows its text (the platform's picker may not
    // give its text as window text: then the time as the locale writes it).
    String text;
    if (FTimePicker->HandleAllocated()) {
        wchar_t buffer[256]{};
        GetWindowTextW(FTimePicker->GetHandle(), buffer, 255);
        text = buffer;
    }
    if (text.empty())
        text = FTimeFormat.empty() ? TimeToStr(value) : FormatDateTime(FTimeFormat, value);
    const int width = TextWidth(text, GetFont()) + 31;
    const TPlatformProbe& probe = PlatformProbe();
    const int W = GetWidth(), H = GetHeight();
    const int B = 0;
    if (!probe.IsVistaOrLater())
        FTimePicker->SetBounds(W - width - 21, -2, width, H);
    else if (!probe.ComCtl6())
        FTimePicker->SetBounds(W - width - B - 23, -2, width, H - B);
    else if (!ThemesActive())
        FTimePicker->SetBounds(W - width - B - 21, 2, width, H - B - 4);
    else if (IsMetro())
        FTimePicker->SetBounds(W - width - B - 21, 1, width, H - B - 2);
    else
        FTimePicker->SetBounds(W - width - B - 34, 1, width, H - B - 2);
}

TDateTime TAdvDateTimePicker::GetDateTime()
{
    const TDateTime own = TDateTimePicker::GetDateTime();
    if (!FTimePicker)
        return own;
    const TDateTime time = FTimePicker->TDateTimePicker::GetDateTime();
    const TDateTime value = std::floor(own) + (time - std::floor(time));
    // Written only when it differs: setting the platform's picker ends the
    // field being typed in.
    if (std::fabs(value - own) > 1e-9 && HandleAllocated() && (!GetShowCheckbox() || checked_))
        WriteSystemTime(value, true);
    dateTime_ = value;
    return value;
}

void TAdvDateTimePicker::SetDateTime(TDateTime Value)
{
    const TDateTime time = WholeSeconds(Value);
    const TDateTime day = std::floor(Value);
    if (day != 0 || !FNullDateIsToday)
        TDateTimePicker::SetDateTime(day + time);
    else
        TDateTimePicker::SetDateTime(Date() + time);
    EnsureTimePicker();
    if (FTimePicker)
        FTimePicker->TDateTimePicker::SetDateTime(day + time);
}

TDateTime TAdvDateTimePicker::GetDate() { return std::floor(TDateTimePicker::GetDateTime()); }

void TAdvDateTimePicker::SetDate(TDateTime Value)
{
    const TDateTime now = GetDateTime();
    SetDateTime(std::floor(Value) + WholeSeconds(now - std::floor(now)));
}

TDateTime TAdvDateTimePicker::GetTime()
{
    if (FKind == dkDateTime && FTimePicker) {
        const TDateTime t = FTimePicker->TDateTimePicker::GetDateTime();
        return t - std::floor(t);
    }
    return TDateTimePicker::GetTime();
}

void TAdvDateTimePicker::SetTime(TDateTime Value)
{
    SetDateTime(GetDate() + (Value - std::floor(Value)));
    UpdateTimePicker();
}

void TAdvDateTimePicker::SetTimeFormat(const String& Value)
{
    FTimeFormat = Value;
    if (FTimePicker)
        FTimePicker->SetFormat(Value);
    if (FKind == dkTime)
        SetFormat(Value);
    UpdateTimePicker();
}

void TAdvDateTimePicker::SetAutoTab(bool Value)
{
    TCustomDateTimePicker::SetAutoTab(Value);
    if (FTimePicker)
        FTimePicker->SetAutoTab(Value);
}

void TAdvDateTimePicker::SetAutoTabToNext(bool Value)
{
    TCustomDateTimePicker::SetAutoTabToNext(Value);
    if (FTimePicker)
        FTimePicker->SetAutoTabToNext(Value);
}

void TAdvDateTimePicker::SetBorderStyle(TBorderStyle Value)
{
    TCustomDateTimePicker::SetBorderStyle(Value);
    UpdateTimePicker();
}

void TAdvDateTimePicker::DoChange()
{
    if (OnChange)
        OnChange(this);
}

void TAdvDateTimePicker::DoClick()
{
    if (OnClick)
        OnClick(this);
}

void TAdvDateTimePicker::RememberFields()
{
    TCustomDateTimePicker::RememberFields();
    const TDateParts parts = DateParts(TDateTimePicker::GetDateTime());
    Fy = parts.year;
    Fm = parts.month;
    Fd = parts.day;
}

void TAdvDateTimePicker::ShiftFocus()
{
    if (FKind == dkTime) {
        TCustomDateTimePicker::ShiftFocus();
        return;
    }
    const TDateParts now = DateParts(TDateTimePicker::GetDateTime());
    const bool dayChanged = now.day != Fd, monthChanged = now.month != Fm, yearChanged = now.year != Fy;
    auto nextField = [this] { PostMessageW(GetHandle(), WM_KEYDOWN, VK_RIGHT, 0); };
    auto focusTime = [this] {
        if (FTimePicker && FTimePicker->CanFocus())
            FTimePicker->SetFocus();
    };
    const String format = GetFormat();
    if (!format.empty()) {
        const wchar_t last = format.back();
        const bool lastEdited = ((last == L'd' || last == L'D') && dayChanged)
                                || ((last == L'm' || last == L'M') && monthChanged)
                                || ((last == L'y' || last == L'Y') && yearChanged);
        if (lastEdited)
            focusTime();
        else if (dayChanged || monthChanged || yearChanged)
            nextField();
        return;
    }
    if (dayChanged || monthChanged)
        nextField();
    else if (yearChanged) {
        if (FKind == dkDate)
            FocusNextControl();
        else
            focusTime();
    }
}

void TAdvDateTimePicker::CNNotify(TMessage& Message)
{
    if (!GetShowCheckbox()) {
        TCustomDateTimePicker::CNNotify(Message);
        return;
    }
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    switch (header->code) {
    case DTN_DATETIMECHANGE: {
        Fpt = POINT{-1, -1};
        const TDateParts before = DateParts(dateTime_);
        TCustomDateTimePicker::CNNotify(Message);
        const TDateParts after = DateParts(dateTime_);
        if (after.year != before.year)
            Fpt = POINT{80, 5};
        else if (after.month != before.month)
            Fpt = POINT{46, 5};
        else if (after.day != before.day)
            Fpt = POINT{28, 5};
        if (Fpt.x >= 0)
            FFocusTimer->SetEnabled(true);
        if (!FIgnoreTimePickerCheck && FTimePicker) {
            const bool noDate = reinterpret_cast<NMDATETIMECHANGE*>(Message.LParam)->dwFlags == GDT_NONE;
            FTimePicker->SetEnabled(GetEnabled() && checked_ && !noDate);
        }
        break;
    }
    case DTN_USERSTRINGA:
    case DTN_USERSTRINGW: {
        auto* user = reinterpret_cast<NMDATETIMESTRINGW*>(Message.LParam);
        const String text = header->code == DTN_USERSTRINGW && user->pszUserString ? user->pszUserString : L"";
        TDateTime value = 0;
        bool accepted = TryStrToDateTime(text, value);
        if (OnUserInput)
            OnUserInput(this, text, value, accepted);
        // Text that did not parse is refused and the date stays; it never
        // becomes 30 December 1899.
        user->dwFlags = accepted ? GDT_VALID : GDT_ERROR;
        if (accepted)
            DateTimeToSystemTime(value, user->st);
        break;
    }
    case DTN_DROPDOWN:
    case DTN_CLOSEUP:
        TCustomDateTimePicker::CNNotify(Message);
        break;
    default:
        break;
    }
    FIgnoreTimePickerCheck = false;
}

void TAdvDateTimePicker::FocusTimerFired()
{
    FFocusTimer->SetEnabled(false);
    if (!GetShowCheckbox() || GetDroppedDown() || !HandleAllocated())
        return;
    const POINT target = ClientToScreen(Fpt);
    // The click is meant for the picker's field: when another window lies
    // on that point it would land there, so then nothing is clicked.
    if (WindowFromPoint(target) != GetHandle())
        return;
    POINT was{};
    GetCursorPos(&was);
    auto absolute = [](POINT p, DWORD flags) {
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = static_cast<LONG>(p.x * 65535 / std::max(1, GetSystemMetrics(SM_CXSCREEN) - 1));
        in.mi.dy = static_cast<LONG>(p.y * 65535 / std::max(1, GetSystemMetrics(SM_CYSCREEN) - 1));
        in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof in);
    };
    absolute(target, MOUSEEVENTF_MOVE);
    absolute(target, MOUSEEVENTF_LEFTDOWN);
    absolute(target, MOUSEEVENTF_LEFTUP);
    absolute(was, MOUSEEVENTF_MOVE);
}

void TAdvDateTimePicker::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        if (FFirstRun) {
            FFirstRun = false;
            UpdateTimePicker();
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomDateTimePicker::Dispatch(Message);
        if (FLabel && FFocusLabel && !ComponentState().Contains(csLoading)) {
            TFontStyles style = FLabel->GetFont()->GetStyle();
            if (Message.Msg == WM_SETFOCUS)
                style << fsBold;
            else
                style >> fsBold;
            FLabel->GetFont()->SetStyle(style);
        }
        return;
    case CM_ENABLEDCHANGED:
        TCustomDateTimePicker::Dispatch(Message);
        if (FTimePicker)
            FTimePicker->SetEnabled(GetEnabled() && (GetChecked() || !GetShowCheckbox()));
        if (FLabel && !FLabelAlwaysEnabled)
            FLabel->SetEnabled(GetEnabled());
        return;
    case CM_SHOWINGCHANGED:
    case CM_VISIBLECHANGED:
        TCustomDateTimePicker::Dispatch(Message);
        if (FLabel)
            FLabel->SetVisible(GetVisible());
        return;
    case WM_SIZE:
        TCustomDateTimePicker::Dispatch(Message);
        UpdateTimePicker();
        return;
    }
    TCustomDateTimePicker::Dispatch(Message);
}

// --- the label ---------------------------------------------------------------------

void TAdvDateTimePicker::SetLabelCaption(const String& Value)
{
    if (!FLabel) {
        FLabel = New<TLabel>(this);
        FLabel->SetParent(GetParent());
        FLabel->SetFocusControl(this);
        FLabel->GetFont()->Assign(FLabelFont.get());
        FLabel->SetParentFont(GetParentFont());
        FLabel->OnClick = [this](TObject*) {
            if (OnLabelClick)
                OnLabelClick(this);
        };
        FLabel->OnDblClick = [this](TObject*) {
            if (OnLabelDblClick)
                OnLabelDblClick(this);
        };
    }
    FLabel->SetCaption(Value);
    UpdateLabel();
}

void TAdvDateTimePicker::SetLabelPosition(TLabelPosition Value)
{
    FLabelPosition = Value;
    UpdateLabel();
}

void TAdvDateTimePicker::SetLabelMargin(int Value)
{
    FLabelMargin = Value;
    UpdateLabel();
}

void TAdvDateTimePicker::SetLabelTransparent(bool Value)
{
    FLabelTransparent = Value;
    UpdateLabel();
}

void TAdvDateTimePicker::SetLabelAlwaysEnabled(bool Value)
{
    FLabelAlwaysEnabled = Value;
    if (FLabel && Value) {
        FLabel->SetEnabled(true);
        FLabel->Invalidate();
    }
}

void TAdvDateTimePicker::SetLabelFont(TFont* Value)
{
    if (!GetParentFont())
        FLabelFont->Assign(Value);
}

void TAdvDateTimePicker::SetParent(TWinControl* AParent)
{
    TCustomDateTimePicker::SetParent(AParent);
    if (FLabel) {
        FLabel->SetParent(AParent);
        UpdateLabel();
    }
}

void TAdvDateTimePicker::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    // An aligned picker leaves room for its label.
    const TAlign align = GetAlign();
    if (FLabel && align != alNone) {
        const int room = FLabel->GetWidth() + FLabelMargin;
        const bool acrossTop = align == alTop || align == alBottom || align == alClient;
        switch (FLabelPosition) {
        case lpLeftTop: case lpLeftCenter: case lpLeftBottom:
            if (acrossTop) {
                ALeft += room;
                AWidth -= room;
            }
            break;
        case lpTopLeft: case lpTopCenter: case lpTopRight:
            if (align == alTop || align == alLeft || align == alRight || align == alClient)
                ATop += FLabel->GetHeight();
            break;
        case lpRightTop: case lpRightCenter: case lpRighBottom:
            if (acrossTop)
                AWidth -= room;
            break;
        default:
            break;
        }
    }
    TCustomDateTimePicker::SetBounds(ALeft, ATop, AWidth, AHeight);
    UpdateLabel();
}

void TAdvDateTimePicker::UpdateLabel()
{
    if (!FLabel || !FLabel->GetParent())
        return;
    FLabel->SetTransparent(FLabelTransparent);
    if (!FParentFnt && !FLabel->GetParentFont())
        FLabel->GetFont()->Assign(FLabelFont.get());
    if (FLabel->GetParent()->HandleAllocated())
        PositionLabel();
}

void TAdvDateTimePicker::PositionLabel()
{
    RECT measure{0, 0, 1000, 255};
    {
        TWindowDC screen(nullptr);
        TSelectObject font(screen.Get(), FLabel->GetFont()->GetHandle());
        const String caption = FLabel->GetCaption();
        DrawTextW(screen.Get(), caption.c_str(), -1, &measure, DT_CALCRECT | DT_HIDEPREFIX);
    }
    const int W = measure.right - measure.left;
    const int T = GetTop(), L = GetLeft(), H = GetHeight(), Wd = GetWidth();
    const int LH = FLabel->GetHeight(), LW = FLabel->GetWidth(), M = FLabelMargin;
    const int B = FBorderStyle == bsSingle ? 2 : 0;
    const int centreTop = LH < H ? T + (H - B - LH) / 2 : T - (LH - H + B) / 2;
    const int centreLeft = LW < Wd ? L + (Wd - LW) / 2 : L - (LW - Wd) / 2;
    POINT at{L, T};
    switch (FLabelPosition) {
    case lpLeftTop: at = {L - W - M, T}; break;
    case lpLeftCenter: at = {L - W - M, centreTop}; break;
    case lpLeftBottom: at = {L - W - M, T + H - LH}; break;
    case lpTopLeft: at = {L, T - LH - M}; break;
    case lpBottomLeft: at = {L, T + H + M}; break;
    case lpLeftTopLeft: at = {L - M, T}; break;
    case lpLeftCenterLeft: at = {L - M, centreTop}; break;
    case lpLeftBottomLeft: at = {L - M, T + H - LH}; break;
    case lpTopCenter: at = {centreLeft, T - LH - M}; break;
    case lpBottomCenter: at = {centreLeft, T + H + M}; break;
    case lpRightTop: at = {L + Wd + M, T}; break;
    case lpRightCenter: at = {L + Wd + M, centreTop}; break;
    case lpRighBottom: at = {L + Wd + M, T + H - LH}; break;
    case lpTopRight: at = {L + Wd - LW, T - LH - M}; break;
    case lpBottomRight: at = {L + Wd - LW, T + H + M}; break;
    }
    FLabel->SetBounds(at.x, at.y, LW, LH);
    FLabel->SetVisible(GetVisible());
}
