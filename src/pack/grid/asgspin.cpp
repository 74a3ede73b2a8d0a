#include "asgspin.h"

#include "AdvUtil.h"
#include "AdvXPVS.h"
#include "GdiHandles.h"
#include "PlatformProbe.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <vssym32.h>

namespace {

int FontPixelHeight(HFONT Font)
{
    TMemoryDC dc;
    TSelectObject select(dc.Get(), Font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.Get(), &tm);
    return tm.tmHeight;
}

// A triangle filled and outlined in one colour.
void Triangle(HDC DC, std::initializer_list<POINT> Corners, COLORREF Color)
{
    TBrushHandle brush(CreateSolidBrush(Color));
    TPenHandle pen(CreatePen(PS_SOLID, 1, Color));
    TSelectObject selectBrush(DC, brush.Get());
    TSelectObject selectPen(DC, pen.Get());
    Polygon(DC, std::data(Corners), static_cast<int>(Corners.size()));
}

void FilledRectangle(HDC DC, const RECT& R, COLORREF Color)
{
    TBrushHandle brush(CreateSolidBrush(Color));
    TPenHandle pen(CreatePen(PS_SOLID, 1, Color));
    TSelectObject selectBrush(DC, brush.Get());
    TSelectObject selectPen(DC, pen.Get());
    Rectangle(DC, R.left, R.top, R.right, R.bottom);
}

// 1-based positions of the first separator and of the next one after it (0: none).
std::pair<int, int> SeparatorPositions(const String& Text, wchar_t Separator)
{
    const size_t first = Text.find(Separator);
    if (first == String::npos)
        return {0, 0};
    const size_t second = Text.find(Separator, first + 1);
    return {static_cast<int>(first) + 1, second == String::npos ? 0 : static_cast<int>(second) + 1};
}

String TimeText(TDateTime Value, bool ShowSeconds)
{
    return ShowSeconds ? TimeToStr(Value) : FormatDateTime(L"h:nn", Value);
}

// The default arrows are resources of the program; a program without them
// keeps an empty glyph.
void LoadDefaultGlyph(TSpeedButton* Button, const wchar_t* Name)
{
    if (!FindResourceW(HInstance(), Name, RT_BITMAP))
        return;
    TOwned<TBitmap> glyph(New<TBitmap>());
    glyph->LoadFromResourceName(HInstance(), Name);
    Button->SetGlyph(glyph.get());
}

} // namespace

// --- the repeating arrow -----------------------------------------------------------

TAdvTimerSpeedButton::TAdvTimerSpeedButton(TComponent* AOwner)
    : TSpeedButton(AOwner)
{
}

TAsgSpinButton* TAdvTimerSpeedButton::Pair() const { return dynamic_cast<TAsgSpinButton*>(GetOwner()); }

void TAdvTimerSpeedButton::SetButtonDirection(TButtonDirection Value)
{
    FButtonDirection = Value;
    Invalidate();
}

void TAdvTimerSpeedButton::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    Invalidate();
}

void TAdvTimerSpeedButton::Click()
{
    try {
        TSpeedButton::Click();
    } catch (const std::exception&) {
        // The step failed (or its handler refused it): the value stays, and
        // a held button stops repeating.
        if (FRepeatTimer)
            FRepeatTimer->SetEnabled(false);
    }
}

void TAdvTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft)
        if (TAsgSpinButton* pair = Pair())
            pair->ArrowPressed(this);
    if (FTimeBtnState.Contains(tbAllowTimer)) {
        if (!FRepeatTimer) {
            FRepeatTimer = New<TTimer>(this);
            FRepeatTimer->SetEnabled(false);
        }
        FRepeatTimer->OnTimer = [this](TObject* Sender) { TimerExpired(Sender); };
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->SetEnabled(true);
    }
    if (GetParent())
        GetParent()->Invalidate();
}

void TAdvTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    if (GetParent())
        GetParent()->Invalidate();
}

void TAdvTimerSpeedButton::TimerExpired(TObject*)
{
    FRepeatTimer->SetInterval(100);
    if (State() == bsDown && MouseCapture())
        Click();
}

void TAdvTimerSpeedButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FHasMouse = Message.Msg == CM_MOUSEENTER;
        TSpeedButton::Dispatch(Message);
        Invalidate();
        return;
    default:
        TSpeedButton::Dispatch(Message);
    }
}

void TAdvTimerSpeedButton::Paint()
{
    HDC dc = GetCanvas()->GetHandle();
    const RECT r{0, 0, GetWidth(), GetHeight()};
    const LONG L = r.left, T = r.top, R = r.right;
    const bool pressed = State() == bsDown || State() == bsExclusive;
    TAsgSpinButton* pair = Pair();

    if (PlatformProbe().HighContrast) {
        FilledRectangle(dc, r, RGB(0, 0, 0));
        const COLORREF white = RGB(255, 255, 255);
        switch (FButtonDirection) {
        case bdLeft: Triangle(dc, {{R - 3, T + 5}, {R - 6, T + 7}, {R - 3, T + 9}}, white); break;
        case bdRight: Triangle(dc, {{R - 6, T + 5}, {R - 3, T + 7}, {R - 6, T + 9}}, white); break;
        case bdUp: Triangle(dc, {{R - 10, T + 6}, {R - 4, T + 6}, {R - 7, T + 3}}, white); break;
        case bdDown: Triangle(dc, {{R - 10, T + 3}, {R - 4, T + 3}, {R - 7, T + 6}}, white); break;
        }
        return;
    }
    if (pair && pair->GetButtonColor() != clNone) {
        TColor fill = pair->GetButtonColor();
        if (pressed && pair->GetButtonColorDown() != clNone)
            fill = pair->GetButtonColorDown();
        else if (!pressed && FHasMouse && pair->GetButtonColorHot() != clNone)
            fill = pair->GetButtonColorHot();
        FilledRectangle(dc, r, ColorToRGB(fill));
        const COLORREF black = RGB(0, 0, 0);
        switch (FButtonDirection) {
        case bdLeft: Triangle(dc, {{L + 5, T + 5}, {L + 3, T + 7}, {L + 5, T + 9}}, black); break;
        case bdRight: Triangle(dc, {{L + 3, T + 5}, {L + 5, T + 7}, {L + 3, T + 9}}, black); break;
        case bdUp: Triangle(dc, {{L + 4, T + 4}, {L + 8, T + 4}, {L + 6, T + 2}}, black); break;
        case bdDown: Triangle(dc, {{L + 4, T + 2}, {L + 8, T + 2}, {L + 6, T + 4}}, black); break;
        }
        return;
    }
    if (FIsWinXP && pair) {
        AdvXPVS::TThemeData theme(PlatformProbe().ThemeActive, pair->GetHandle(), L"spin");
        static constexpr int parts[] = {SPNP_DOWNHORZ, SPNP_UPHORZ, SPNP_UP, SPNP_DOWN};
        const int state = pressed ? 3 : FHasMouse ? 2 : 1;
        if (theme.Draw(dc, parts[FButtonDirection], state, r))
            return;
    }
    if (FButtonDirection == bdLeft || FButtonDirection == bdRight) {
        RECT arrow = r;
        DrawFrameControl(dc, &arrow, DFC_SCROLL,
                         (FButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT) | (pressed ? DFCS_PUSHED : 0)
                             | (GetFlat() ? DFCS_FLAT : 0));
    } else {
        // The class library's speed-button look: face, edge and the glyph
        // centred on its transparent colour (the bottom-left pixel).
        RECT face = r;
        FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
        if (!GetFlat())
            DrawEdge(dc, &face, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        else if (pressed || FHasMouse)
            DrawEdge(dc, &face, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        TBitmap* glyph = GetGlyph();
        if (glyph && !glyph->GetEmpty()) {
            const int gw = glyph->GetWidth() / std::max(1, GetNumGlyphs()), gh = glyph->GetHeight();
            const int x = (GetWidth() - gw) / 2 + (pressed ? 1 : 0), y = (GetHeight() - gh) / 2 + (pressed ? 1 : 0);
            const TColor transparent = glyph->GetCanvas()->GetPixels(0, gh - 1);
            TransparentBlt(dc, x, y, gw, gh, glyph->GetCanvas()->GetHandle(), 0, 0, gw, gh, ColorToRGB(transparent));
        }
    }
    if (FTimeBtnState.Contains(tbFocusRect)) {
        RECT focus = r;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
}

// --- the pair ----------------------------------------------------------------------

TAsgSpinButton::TAsgSpinButton(TComponent* AOwner)
    : TWinControl(AOwner)
{
    ControlStyle = ControlStyle - csAcceptsControls - csSetCaption + csOpaque;
    auto make = [this](TButtonDirection Direction, void (TAsgSpinButton::*Relay)(TObject*)) {
        auto* button = New<TAdvTimerSpeedButton>(this);
        button->SetParent(this);
        button->SetButtonDirection(Direction);
        button->SetTimeBtnState(TTimeBtnState{tbAllowTimer});
        button->OnClick = [this, Relay](TObject* Sender) { (this->*Relay)(Sender); };
        return button;
    };
    FUpButton = make(bdUp, &TAsgSpinButton::ClickUp);
    FDownButton = make(bdDown, &TAsgSpinButton::ClickDown);
    FFocusedButton = FUpButton;
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    SetBounds(0, 0, 15, 25);
}

void TAsgSpinButton::ClickUp(TObject*)
{
    if (OnUpClick)
        OnUpClick(this);
}

void TAsgSpinButton::ClickDown(TObject*)
{
    if (OnDownClick)
        OnDownClick(this);
}

void TAsgSpinButton::SetUpGlyph(TBitmap* Value)
{
    if (Value) {
        FUpButton->SetGlyph(Value);
        return;
    }
    LoadDefaultGlyph(FUpButton, L"AsgSpinUp");
    FUpButton->SetNumGlyphs(1);
    FUpButton->Invalidate();
}

void TAsgSpinButton::SetDownGlyph(TBitmap* Value)
{
    if (Value) {
        FDownButton->SetGlyph(Value);
        return;
    }
    LoadDefaultGlyph(FDownButton, L"AsgSpinDown");
    FDownButton->SetNumGlyphs(1);
    FDownButton->Invalidate();
}

void TAsgSpinButton::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    FUpButton->SetIsWinXP(Value);
    FDownButton->SetIsWinXP(Value);
}

void TAsgSpinButton::SetButtonColor(TColor Value)
{
    FButtonColor = Value;
    FUpButton->Invalidate();
    FDownButton->Invalidate();
}

void TAsgSpinButton::SetFocusControl(TWinControl* Value)
{
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TAsgSpinButton::Notification(TComponent* AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TAsgSpinButton::SetDirection(TSpinDirection Value)
{
    if (Value == FDirection)
        return;
    FDirection = Value;
    if (HandleAllocated())
        RecreateWnd();
    if (Value == spHorizontal) {
        SetWidth(20);
        FUpButton->SetButtonDirection(bdRight);
        FDownButton->SetButtonDirection(bdLeft);
    } else {
        SetWidth(15);
        FUpButton->SetButtonDirection(bdUp);
        FDownButton->SetButtonDirection(bdDown);
    }
    Layout();
}

void TAsgSpinButton::AdjustSize(int& W, int&)
{
    W = std::max(W, FDirection == spVertical ? 15 : 20);
}

void TAsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    AdjustSize(AWidth, AHeight);
    TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    Layout();
}

void TAsgSpinButton::Loaded()
{
    TWinControl::Loaded();
    Layout();
}

void TAsgSpinButton::Layout()
{
    if (!FUpButton || !FDownButton || ComponentState().Contains(csLoading))
        return;
    const int w = GetWidth(), h = GetHeight();
    if (FDirection == spVertical) {
        FUpButton->SetBounds(0, 0, w, h / 2);
        const int top = FUpButton->GetHeight() - 1;
        FDownButton->SetBounds(0, top, w, h - top);
    } else {
        FDownButton->SetBounds(0, 0, w / 2, h);
        FUpButton->SetBounds(w / 2 + 1, 0, w - (w / 2 + 1), h);
    }
}

void TAsgSpinButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        TWinControl::Dispatch(Message);
        TTimeBtnState state = FFocusedButton->GetTimeBtnState();
        if (Message.Msg == WM_SETFOCUS)
            state << tbFocusRect;
        else
            state >> tbFocusRect;
        FFocusedButton->SetTimeBtnState(state);
        FFocusedButton->Invalidate();
        return;
    }
    case WM_SIZE:
        TWinControl::Dispatch(Message);
        Layout();
        return;
    default:
        TWinControl::Dispatch(Message);
    }
}

void TAsgSpinButton::KeyDown(Word& Key, TShiftState Shift)
{
    switch (Key) {
    case VK_SPACE:
        FFocusedButton->Click();
        break;
    case VK_UP:
        FFocusedButton = FUpButton;
        FUpButton->Click();
        break;
    case VK_DOWN:
        FFocusedButton = FDownButton;
        FDownButton->Click();
        break;
    }
    TWinControl::KeyDown(Key, Shift);
}

void TAsgSpinButton::ArrowPressed(TAdvTimerSpeedButton* Button)
{
    if (GetTabStop() && CanFocus() && Button != FFocusedButton) {
        TTimeBtnState state = FFocusedButton->GetTimeBtnState();
        state >> tbFocusRect;
        FFocusedButton->SetTimeBtnState(state);
        FFocusedButton->Invalidate();
        FFocusedButton = Button;
        if (Focused()) {
            TTimeBtnState focused = Button->GetTimeBtnState();
            focused << tbFocusRect;
            Button->SetTimeBtnState(focused);
            Button->Invalidate();
        }
    }
    if (FFocusControl && FFocusControl->GetTabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused())
        FFocusControl->SetFocus();
    else if (GetTabStop() && !Focused() && CanFocus())
        SetFocus();
}

// --- the edit ----------------------------------------------------------------------

TAsgSpinEdit::TAsgSpinEdit(TComponent* AOwner)
    : TCustomMaskEdit(AOwner)
{
    ControlStyle = ControlStyle - csSetCaption;
    SetText(L"0");
    FButton = New<TAsgSpinButton>(this);
    FButton->SetBounds(0, 0, 15, 17);
    FButton->SetParent(this);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](TObject* Sender) { HandleSpinUp(Sender); };
    FButton->OnDownClick = [this](TObject* Sender) { HandleSpinDown(Sender); };
}

void TAsgSpinEdit::BeforeDestruction()
{
    FButton = nullptr;
    TCustomMaskEdit::BeforeDestruction();
}

void TAsgSpinEdit::HandleSpinUp(TObject*) { IncrementValue(false); }
void TAsgSpinEdit::HandleSpinDown(TObject*) { DecrementValue(false); }

int TAsgSpinEdit::ClampInt(int V) const
{
    if (FMinValue == FMaxValue)
        return V;
    return V < FMinValue ? FMinValue : V > FMaxValue ? FMaxValue : V;
}

double TAsgSpinEdit::ClampFloat(double V) const
{
    if (FMinFloatValue == FMaxFloatValue)
        return V;
    return V < FMinFloatValue ? FMinFloatValue : V > FMaxFloatValue ? FMaxFloatValue : V;
}

TDateTime TAsgSpinEdit::ClampDate(TDateTime V) const
{
    if (FMinDateValue == FMaxDateValue)
        return V;
    return V < FMinDateValue ? FMinDateValue : V > FMaxDateValue ? FMaxDateValue : V;
}

int TAsgSpinEdit::GetValue()
{
    const String text = Trim(GetText());
    if (text.empty())
        return 0;
    Integer value = 0;
    return TryStrToInt(text, value) ? value : FMinValue;
}

void TAsgSpinEdit::SetValue(int Value)
{
    SetText(IntToStr(ClampInt(Value)));
    if (!FEditorEnabled && HandleAllocated())
        SelectAll();
}

double TAsgSpinEdit::GetFloatValue()
{
    double value = 0;
    return TryStrToFloat(Trim(GetText()), value) ? value : FMinFloatValue;
}

void TAsgSpinEdit::SetFloatValue(double Value)
{
    Value = ClampFloat(Value);
    SetText(FPrecision != 0 ? FloatToStrF(Value, ffFixed, 15, FPrecision) : FloatToStr(Value));
}

TDateTime TAsgSpinEdit::GetDateValue()
{
    const String text = Trim(GetText());
    if (text.empty() || text == L"0")
        return Now();
    TDateTime value = 0;
    return TryStrToDate(text, value) ? value : FMinDateValue;
}

void TAsgSpinEdit::WriteKeepingCaret(const String& Text)
{
    if (!HandleAllocated()) {
        SetText(Text);
        return;
    }
    const int caret = GetSelStart();
    SetText(Text);
    SetSelStart(caret);
}

void TAsgSpinEdit::SetDateValue(TDateTime Value)
{
    FDateValue = Value;
    if (ComponentState().Contains(csLoading))
        return;
    FDateValue = ClampDate(Value);
    WriteKeepingCaret(DateToStr(FDateValue));
}

TDateTime TAsgSpinEdit::GetTimeValue()
{
    TDateTime value = 0;
    return TryStrToTime(Trim(GetText()), value) ? value : 0;
}

void TAsgSpinEdit::SetTimeValue(TDateTime Value)
{
    FTimeValue = Value;
    if (ComponentState().Contains(csLoading))
        return;
    FTimeValue = ClampDate(Value);
    WriteKeepingCaret(TimeText(FTimeValue, FShowSeconds));
}

void TAsgSpinEdit::SetSpinType(TAsgSpinType Value)
{
    FSpinType = Value;
    switch (FSpinType) {
    case sptNormal: SetValue(GetValue()); break;
    case sptFloat: SetFloatValue(GetFloatValue()); break;
    case sptDate: SetDateValue(GetDateValue()); break;
    case sptTime: SetTimeValue(GetTimeValue()); break;
    }
}

void TAsgSpinEdit::SetPrecision(int Value)
{
    FPrecision = Value;
    if (FSpinType == sptFloat)
        SetFloatValue(GetFloatValue());
}

void TAsgSpinEdit::SetDirection(TSpinDirection Value)
{
    FDirection = Value;
    if (FButton)
        FButton->SetDirection(Value);
    // One pixel wider and back lays the button out again.
    SetWidth(GetWidth() + 1);
    SetWidth(GetWidth() - 1);
}

void TAsgSpinEdit::SetEditAlign(TEditAlign Value)
{
    if (FEditAlign == Value)
        return;
    FEditAlign = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TAsgSpinEdit::SetSpinFlat(bool Value)
{
    FSpinFlat = Value;
    if (FButton) {
        FButton->UpButton()->SetFlat(Value);
        FButton->DownButton()->SetFlat(Value);
    }
}

void TAsgSpinEdit::SetSpinTransparent(bool Value)
{
    FSpinTransparent = Value;
    if (FButton) {
        FButton->UpButton()->SetTransparent(Value);
        FButton->DownButton()->SetTransparent(Value);
    }
    SetWidth(GetWidth() + 1);
    SetWidth(GetWidth() - 1);
}

void TAsgSpinEdit::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    if (FButton)
        FButton->SetIsWinXP(Value);
}

// --- stepping ----------------------------------------------------------------------

void TAsgSpinEdit::IncrementValue(bool Page) { Step(true, Page); }
void TAsgSpinEdit::DecrementValue(bool Page) { Step(false, Page); }

void TAsgSpinEdit::Step(bool Up, bool Page)
{
    if (GetReadOnly()) {
        MessageBeep(0);
        return;
    }
    const int sign = Up ? 1 : -1;
    switch (FSpinType) {
    case sptNormal: SetValue(GetValue() + sign * FIncrement); break;
    case sptFloat: SetFloatValue(GetFloatValue() + sign * (Page ? FIncrementFloatPage : FIncrementFloat)); break;
    case sptDate: StepDate(Up); break;
    case sptTime: StepTime(Up); break;
    }
}

void TAsgSpinEdit::StepDate(bool Up)
{
    const String format = UpperCase(FormatSettings.ShortDateFormat);
    const size_t month = format.find(L'M'), day = format.find(L'D');
    FUsDates = month != String::npos && (day == String::npos || month < day);
    const auto [s1, s2] = SeparatorPositions(GetText(), FormatSettings.DateSeparator);
    const int caret = HandleAllocated() ? GetSelStart() : 0;
    const int field = caret < s1 ? 0 : caret < s2 ? 1 : 2;
    enum { fMonth, fDay, fYear };
    static constexpr int usFields[] = {fMonth, fDay, fYear};
    static constexpr int otherFields[] = {fDay, fMonth, fYear};
    const int which = FUsDates ? usFields[field] : otherFields[field];

    const int sign = Up ? 1 : -1;
    TDateTime value = GetDateValue();
    switch (which) {
    case fMonth: value = IncMonth(value, sign); break;
    case fDay: value += sign; break;
    case fYear: {
        Word y = 0, m = 0, d = 0;
        DecodeDate(value, y, m, d);
        // Raises for 29 February into a year without it; the value stays.
        value = EncodeDate(static_cast<Word>(y + sign), m, d) + (value - std::floor(value));
        break;
    }
    }
    SetDateValue(value);
}

void TAsgSpinEdit::StepTime(bool Up)
{
    const auto [s1, s2] = SeparatorPositions(GetText(), FormatSettings.TimeSeparator);
    const int caret = HandleAllocated() ? GetSelStart() : 0;
    double step = 0;
    if (caret < s1)
        step = FIncrementHours / 24.0;
    else if (FShowSeconds && s2 > 0 && caret >= s2)
        step = FIncrementSeconds / 86400.0;
    else
        step = FIncrementMinutes / 1440.0;
    TDateTime t = GetTimeValue();
    if (Up) {
        t += step;
    } else {
        // A step of a day or more would leave the day: only its time of day counts.
        step = std::fmod(step, 1.0);
        t = t + 1 - step;
        if (t > 1)
            t -= 1;
    }
    SetTimeValue(t);
}

// --- characters and keys -----------------------------------------------------------

bool TAsgSpinEdit::AcceptsChar(wchar_t& Key)
{
    const wchar_t D = FormatSettings.DecimalSeparator, T = FormatSettings.ThousandSeparator,
                  TS = FormatSettings.TimeSeparator, DS = FormatSettings.DateSeparator;
    if (Key == VK_BACK)
        return FEditorEnabled;
    const String text = GetText();
    const String selected = HandleAllocated() ? GetSelText() : String();
    const int caret = HandleAllocated() ? GetSelStart() : 0;

    bool accept = Key == D || Key == T || Key == TS || Key == DS || IsNumberChar(Key) || Key == L'-';
    if (!accept)
        accept = Key < 32 && Key != 13;
    auto separatorRule = [&](wchar_t Separator, TAsgSpinType OwnKind) {
        if (Key != Separator || FSpinType == OwnKind)
            return;
        if (Separator == D || Separator == T || Separator == L'-' || Separator == L'+')
            accept = accept && (FSpinType == sptNormal || FSpinType == sptFloat);
        else
            accept = false;
    };
    separatorRule(TS, sptTime);
    separatorRule(DS, sptDate);
    if (Key == L'-') {
        if (text.find(L'-') == String::npos)
            accept = accept && caret == 0;
        else
            accept = accept && selected.find(L'-') != String::npos && caret == 0;
    }
    if (FSpinType == sptNormal)
        accept = accept && (IsNumberChar(Key) || Key == L'-');
    if (FSpinType == sptFloat && Key != 27 && Key != 13 && Key != 8) {
        if (Key == T)
            accept = false;
        if (Key == D && text.find(D) != String::npos && selected.find(D) == String::npos)
            accept = false;
        const size_t at = text.find(D);
        if (FPrecision > 0 && at != String::npos && accept) {
            const int p = static_cast<int>(at) + 1;
            if (caret >= p && selected.empty())
                accept = static_cast<int>(text.size()) < p + FPrecision;
        }
    }
    if (FSpinType == sptTime && Key == TS && std::count(text.begin(), text.end(), TS) >= 2)
        accept = false;
    if (!FEditorEnabled && accept && !(Key < 32 && Key != 8))
        accept = false;
    return accept;
}

void TAsgSpinEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        PostMessageW(GetHandle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_DELETE && !FEditorEnabled)
        Key = 0;
    TCustomMaskEdit::KeyDown(Key, Shift);
}

void TAsgSpinEdit::KeyPress(wchar_t& Key)
{
    if (!AcceptsChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key != 0)
        TCustomMaskEdit::KeyPress(Key);
}

void TAsgSpinEdit::ClampOnExit()
{
    switch (FSpinType) {
    case sptNormal: {
        const int v = GetValue();
        if (ClampInt(v) != v)
            SetValue(v);
        break;
    }
    case sptFloat: {
        const double v = GetFloatValue();
        if (ClampFloat(v) != v)
            SetFloatValue(v);
        break;
    }
    case sptDate: {
        const TDateTime v = GetDateValue();
        if (ClampDate(v) != v)
            SetDateValue(v);
        break;
    }
    case sptTime: {
        const TDateTime v = GetTimeValue();
        if (ClampDate(v) != v)
            SetTimeValue(v);
        break;
    }
    }
}

void TAsgSpinEdit::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN:
        switch (Message.WParam) {
        case VK_UP:
        case VK_DOWN:
        case VK_PRIOR:
        case VK_NEXT: {
            const bool page = Message.WParam == VK_PRIOR || Message.WParam == VK_NEXT;
            try {
                if (Message.WParam == VK_UP || Message.WParam == VK_PRIOR)
                    IncrementValue(page);
                else
                    DecrementValue(page);
            } catch (const std::exception&) {
                // The step could not be made: the value stays as it was.
            }
            Message.Result = 0;
            return;
        }
        }
        break;
    case WM_CHAR:
        if (FExcelStyleDecimalSeparator && Message.WParam == L'.' && (Message.LParam & (1 << 22)))
            Message.WParam = FormatSettings.DecimalSeparator;
        break;
    case WM_PASTE:
    case WM_CUT:
        if (!FEditorEnabled || GetReadOnly())
            return;
        break;
    case CM_ENTER:
        if (GetAutoSelect() && !(GetKeyState(VK_LBUTTON) < 0 && FEditorEnabled))
            SelectAll();
        break;
    case CM_EXIT:
        TCustomMaskEdit::Dispatch(Message);
        ClampOnExit();
        return;
    case WM_SIZE:
        TCustomMaskEdit::Dispatch(Message);
        Resized();
        return;
    }
    TCustomMaskEdit::Dispatch(Message);
}

// --- layout ------------------------------------------------------------------------

void TAsgSpinEdit::CreateParams(TCreateParams& Params)
{
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN;
    if (FEditAlign == eaRight)
        Params.Style = (Params.Style & ~ES_CENTER) | ES_RIGHT;
    else if (FEditAlign == eaCenter)
        Params.Style = (Params.Style & ~ES_RIGHT) | ES_CENTER;
}

void TAsgSpinEdit::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    SetEditRect();
}

void TAsgSpinEdit::SetEditRect()
{
    if (!HandleAllocated() || !FButton)
        return;
    const bool none = GetBorderStyle() == bsNone;
    const int margin = none ? 3 : 0;
    RECT r{margin, margin, GetClientWidth() - FButton->GetWidth() - (none ? 3 : 0) - 2, GetClientHeight() + 1};
    SendMessageW(GetHandle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&r));
}

void TAsgSpinEdit::Resized()
{
    if (!FButton)
        return;
    const int fontHeight = FontPixelHeight(GetFont()->GetHandle());
    const int systemHeight = FontPixelHeight(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
    int minHeight = fontHeight + std::min(fontHeight, systemHeight) / 4 + 2;
    if (GetBorderStyle() == bsSingle)
        minHeight += 4 * GetSystemMetrics(SM_CYBORDER);
    if (GetHeight() < minHeight) {
        SetHeight(minHeight);
        return;
    }
    const bool none = GetBorderStyle() == bsNone;
    const int width = FButton->GetWidth();
    FButton->SetBounds(GetWidth() - width - (none ? 1 : 5), 0, width, GetHeight() - (none ? 1 : 5));
    SetEditRect();
}

void TAsgSpinEdit::Loaded()
{
    TCustomMaskEdit::Loaded();
    if (FSpinType == sptDate)
        SetText(DateToStr(FDateValue));
    else if (FSpinType == sptTime)
        SetText(TimeText(FTimeValue, FShowSeconds));
    SetSpinType(FSpinType);
}
