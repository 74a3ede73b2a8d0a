// The time edit. Its text, Time and the popup clock follow each other: a
// text change is parsed into Time, Time writes the text, and every completed
// clock move writes Time while the popup is open. FInternalCall is raised
// only around the editor's own mask and text writes that must not be parsed.
#include "AdvTimePickerDropDown.h"

#include "ScopeExit.h"
#include "SysUtils.h"

#include <algorithm>
#include <cmath>

namespace {

String TwoDigitText(int Value)
{
    String s = IntToStr(Value);
    while (s.size() < 2)
        s.insert(0, 1, L'0');
    return s;
}

// The first character, and the second if any, are digits; an empty text
// passes. The rest must be digits too, or the number would not convert.
bool IsTimeNumberText(const String& S)
{
    return std::all_of(S.begin(), S.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

int NumberValue(const String& S)
{
    int value = 0;
    for (wchar_t c : S)
        value = std::min(value * 10 + (c - L'0'), 1000000);
    return value;
}

int CountChar(const String& S, wchar_t C)
{
    return static_cast<int>(std::count(S.begin(), S.end(), C));
}

// The same time of day to the millisecond.
bool SameTimeOfDay(TDateTime A, TDateTime B)
{
    const double a = A - std::floor(A), b = B - std::floor(B);
    return std::llround(a * 86400000.0) == std::llround(b * 86400000.0);
}

} // namespace

TAdvTimePickerDropDown::TAdvTimePickerDropDown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FWatchAppearance(New<TWatchAppearance>()), FWatchSettings(New<TWatchSettings>())
{
    // Changes reach the clock when the popup opens.
    FWatchAppearance->OnChange = [](TObject*) {};
}

TAdvTimePickerDropDown::~TAdvTimePickerDropDown() = default;

void TAdvTimePickerDropDown::AfterConstruction()
{
    TAdvCustomDropDown::AfterConstruction();
    FShowTimePicker = false;
    SetEditorEnabled(false);
    SetDropDownEnabled(true);
    FShowSeconds = true;
    {
        FInternalCall = true;
        TScopeExit lower([this] { FInternalCall = false; });
        ApplyTimeMask();
        SetRawText(FormatTimeText(0, 0, 0));
    }
    FShowWatchAMPM = true;
    FShowWatchNumbers = true;
    FAnimation = true;
    FAnimationFactor = 10;
    FDropDownHeader->SetVisible(false);
    FDropDownFooter->SetVisible(false);
}

// ---------------------------------------------------------------------------
// Text.

String TAdvTimePickerDropDown::FormatTimeText(Word H, Word M, Word S) const
{
    const String sep(1, FormatSettings.TimeSeparator);
    String text = TwoDigitText(H) + sep + TwoDigitText(M);
    if (FShowSeconds)
        text += sep + TwoDigitText(S);
    return text;
}

void TAdvTimePickerDropDown::ApplyTimeMask()
{
    const String sep(1, FormatSettings.TimeSeparator);
    SetEditMask(FShowSeconds ? L"!90" + sep + L"00" + sep + L"00;1; " : L"!90" + sep + L"00;1; ");
}

void TAdvTimePickerDropDown::SetText(const String& Value)
{
    {
        FInternalCall = true;
        TScopeExit lower([this] { FInternalCall = false; });
        if (!Value.empty())
            ApplyTimeMask();
        else
            SetEditMask(String());
    }
    TAdvCustomDropDown::SetText(Value);
}

void TAdvTimePickerDropDown::Change()
{
    TAdvCustomDropDown::Change();
    ParseText();
}

void TAdvTimePickerDropDown::ParseText()
{
    const String text = GetText();
    if (text.empty() || FInternalCall)
        return;
    const wchar_t sep = FormatSettings.TimeSeparator;
    if (CountChar(text, sep) != (FShowSeconds ? 2 : 1))
        return;
    String s = text;
    std::replace(s.begin(), s.end(), L' ', L'0');
    const size_t first = s.find(sep);
    const String hourText = Trim(s.substr(0, first));
    if (!IsTimeNumberText(hourText))
        return;
    const String rest = Trim(s.substr(first + 1));
    const size_t second = rest.find(sep);
    const String minuteText = FShowSeconds ? Trim(rest.substr(0, second)) : rest;
    if (!IsTimeNumberText(minuteText))
        return;
    String secondText;
    if (FShowSeconds) {
        secondText = Trim(rest.substr(second + 1));
        if (!IsTimeNumberText(secondText))
            return;
    }
    const int hour = NumberValue(hourText);
    const int minute = NumberValue(minuteText);
    const int sec = FShowSeconds ? NumberValue(secondText) : 0;
    // A typed 25:00:00 is no time: Time and the text stay as they are.
    TDateTime parsed = 0;
    if (hour > 23 || minute > 59 || sec > 59 || !TryEncodeTime(hour, minute, sec, 0, parsed))
        return;
    FTime = parsed;
    const String canonical = FormatTimeText(hour, minute, sec);
    if (canonical != text && minute == 0 && sec == 0) {
        FInternalCall = true;
        TScopeExit lower([this] { FInternalCall = false; });
        SetText(canonical);
    }
}

void TAdvTimePickerDropDown::SetTime(TDateTime Value)
{
    if (Value == FTime)
        return;
    if (FEditorEnabled && Value != 0 && GetEditMask().empty()) {
        FInternalCall = true;
        TScopeExit lower([this] { FInternalCall = false; });
        ApplyTimeMask();
    }
    FTime = Value;
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(Value, h, m, s, ms);
    SetRawText(FormatTimeText(h, m, s));
    // Without a window no change notification comes to parse the text.
    if (!HandleAllocated())
        ParseText();
    if (FDroppedDown && FWatch) {
        FWatch->SetTime(Value);
        if (FShowTimePicker && FTimePicker)
            FTimePicker->SetTime(Value);
    }
}

void TAdvTimePickerDropDown::SetShowSeconds(bool Value)
{
    if (Value == FShowSeconds)
        return;
    FShowSeconds = Value;
    const TDateTime t = FTime;
    {
        FInternalCall = true;
        TScopeExit lower([this] { FInternalCall = false; });
        SetEditMask(String());
        SetText(String());
    }
    FInternalCall = false;
    ApplyTimeMask();
    FTime = t + 1;
    SetTime(t);
}

void TAdvTimePickerDropDown::DoExit()
{
    TAdvCustomDropDown::DoExit();
    FInternalCall = false;
    ParseText();
}

// ---------------------------------------------------------------------------
// Up and Down change the part under the caret.

void TAdvTimePickerDropDown::KeyDown(Word& Key, TShiftState Shift)
{
    TAdvCustomDropDown::KeyDown(Key, Shift);
    if (GetKeyState(VK_MENU) < 0 || Shift.Contains(ssAlt) || Shift.Contains(ssCtrl))
        return;
    if (Key != VK_UP && Key != VK_DOWN)
        return;
    const bool up = Key == VK_UP;
    const String text = GetText();
    const int caret = HandleAllocated() ? GetSelStart() : 0;
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(FTime, h, m, s, ms);
    const wchar_t sep = FormatSettings.TimeSeparator;
    const size_t firstAt = text.find(sep);
    const int a = firstAt == String::npos ? 0 : static_cast<int>(firstAt) + 1;
    if (caret < a) {
        ChangeHour(up ? (h == 0 ? 23 : h - 1) : (h == 23 ? 0 : h + 1));
    } else {
        const String rest = text.substr(static_cast<size_t>(std::min<int>(a, static_cast<int>(text.size()))));
        const size_t secondAt = rest.find(sep);
        const int b = secondAt == String::npos ? 0 : static_cast<int>(secondAt) + 1;
        if (FShowSeconds && b > 0 && caret - a >= b)
            ChangeSecond(up ? (s == 0 ? 59 : s - 1) : (s == 59 ? 0 : s + 1));
        else
            ChangeMinute(up ? (m == 0 ? 59 : m - 1) : (m == 59 ? 0 : m + 1));
    }
    if (HandleAllocated())
        SetSelStart(caret);
}

void TAdvTimePickerDropDown::ChangeHour(int Value)
{
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(FTime, h, m, s, ms);
    if (Value == h || Value > 23 || Value < 0)
        return;
    SetTime(EncodeTime(Value, m, s, ms));
    if (OnTimeChange)
        OnTimeChange(this);
}

void TAdvTimePickerDropDown::ChangeMinute(int Value)
{
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(FTime, h, m, s, ms);
    if (Value == m || Value > 59 || Value < 0)
        return;
    SetTime(EncodeTime(h, Value, s, ms));
    if (OnTimeChange)
        OnTimeChange(this);
}

void TAdvTimePickerDropDown::ChangeSecond(int Value)
{
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(FTime, h, m, s, ms);
    if (Value == s || Value > 59 || Value < 0)
        return;
    SetTime(EncodeTime(h, m, Value, ms));
    if (OnTimeChange)
        OnTimeChange(this);
}

// ---------------------------------------------------------------------------
// The popup.

void TAdvTimePickerDropDown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    if (!FPanel) {
        FPanel = New<TPanel>(this);
        FPanel->SetParent(FDropDownForm);
        FPanel->SetBorderWidth(0);
        FPanel->SetBevelInner(bvNone);
        FPanel->SetBevelOuter(bvNone);
    }
    FPanel->SetLeft(0);
    FPanel->SetTop(0);
    FPanel->SetHeight(180);
    if (!FWatch) {
        FWatch = New<TAdvWatch>(this);
        FWatch->SetParent(FPanel);
        FWatch->SetAlign(alClient);
    }
    SetControl(FPanel);
}

void TAdvTimePickerDropDown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    // Escape puts back the text shown when the popup opened.
    FOldText = GetText();
    if (!FPanel || !FWatch)
        return;
    FPanel->SetAlign(alNone);
    FPanel->SetWidth(170);
    FPanel->SetHeight(170);
    FDropDownForm->SetWidth(FDropDownForm->GetWidth() + 1);
    FDropDownForm->SetWidth(FDropDownForm->GetWidth() - 1);
    // Closing by clicking elsewhere keeps the clock's time.
    FDropDownForm->SetCancelOnDeActivate(false);
    FPanel->SetColor(FDropDownColor);
    FWatch->OnChange = nullptr;
    FWatch->SetAppearance(FWatchAppearance.get());
    FWatch->SetSettings(FWatchSettings.get());
    FWatch->SetShowAMPM(FShowWatchAMPM);
    FWatch->SetShowNumbers(FShowWatchNumbers);
    FWatch->SetAnimation(FAnimation);
    FWatch->SetAnimationFactor(FAnimationFactor);
    if (!FWatchSettings->GetAuto())
        FWatch->SetTime(FTime);
    // A text the time parser rejects leaves the clock at Time.
    const String text = GetText();
    TDateTime typed = 0;
    if (text.empty())
        FWatch->SetTime(0);
    else if (TryStrToTime(text, typed))
        FWatch->SetTime(typed);
    FWatch->OnChange = [this](TObject* s) { WatchChanged(s); };
    if (FShowTimePicker) {
        if (!FTimePicker) {
            FTimePicker = New<TDateTimePicker>(this);
            FTimePicker->SetParent(FPanel);
            FTimePicker->SetKind(dtkTime);
        }
        FTimePicker->OnChange = nullptr;
        FTimePicker->SetAlign(alBottom);
        FTimePicker->SetVisible(true);
        FTimePicker->SetTime(FWatch->GetTime());
        FTimePicker->BringToFront();
        FTimePicker->OnChange = [this](TObject* s) { TimePickerChanged(s); };
        FTimePicker->OnKeyDown = [this](TObject*, Word& k, TShiftState sh) { ControlKeyDown(k, sh); };
        FTimePicker->OnKeyUp = [this](TObject*, Word& k, TShiftState sh) { ControlKeyUp(k, sh); };
        FTimePicker->OnKeyPress = [this](TObject*, wchar_t& k) { ControlKeyPress(k); };
        FTimePicker->SetFormat(FShowSeconds ? L"HH:mm:ss" : L"HH:mm");
        FPanel->SetHeight(FTimePicker->GetHeight() + 170);
    } else if (FTimePicker) {
        FTimePicker->SetVisible(false);
    }
}

void TAdvTimePickerDropDown::WatchChanged(TObject*)
{
    if (!FWatch)
        return;
    if (FTimePicker && FShowTimePicker && !SameTimeOfDay(FTimePicker->GetTime(), FWatch->GetTime())) {
        FTimePicker->SetTime(FWatch->GetTime());
        if (OnTimeChange)
            OnTimeChange(this);
    }
    SetTime(FWatch->GetTime());
}

void TAdvTimePickerDropDown::TimePickerChanged(TObject*)
{
    if (!FTimePicker || !FWatch || FWatchSettings->GetAuto())
        return;
    const TDateTime picked = FTimePicker->GetTime();
    FWatch->SetTime(picked);
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(picked, h, m, s, ms);
    const String text = FormatTimeText(h, m, s);
    if (text != GetText()) {
        FInternalCall = true;
        TScopeExit lower([this] { FInternalCall = false; });
        SetText(text);
    }
}

void TAdvTimePickerDropDown::CloseDropDown(bool Cancel)
{
    TAdvCustomDropDown::CloseDropDown(Cancel);
    if (!FWatch)
        return;
    if (Cancel)
        FWatch->SetTime(FTime);
    else
        SetTime(FWatch->GetTime());
}

void TAdvTimePickerDropDown::AfterCloseUp()
{
    TAdvCustomDropDown::AfterCloseUp();
    if (FWatch)
        SetTime(FWatch->GetTime());
}

// ---------------------------------------------------------------------------
// Keys while the popup shows: the page and arrow keys reach the edit only
// with Alt; everything reaches the clock.

bool TAdvTimePickerDropDown::PopupArrowKey(Word Key)
{
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
}

void TAdvTimePickerDropDown::DropDownKeyDown(Word& Key, TShiftState Shift)
{
    if (!PopupArrowKey(Key) || Shift.Contains(ssAlt))
        TAdvCustomDropDown::DropDownKeyDown(Key, Shift);
    if (FDropDownForm && FDropDownForm->GetVisible() && FWatch)
        FWatch->HandleKey(Key);
}

void TAdvTimePickerDropDown::DropDownKeyUp(Word& Key, TShiftState Shift)
{
    if (!PopupArrowKey(Key) || Shift.Contains(ssAlt))
        TAdvCustomDropDown::DropDownKeyUp(Key, Shift);
}

// Keys of the time field go to the edit only, not to the clock.
void TAdvTimePickerDropDown::ControlKeyDown(Word& Key, TShiftState Shift)
{
    if (!PopupArrowKey(Key) || Shift.Contains(ssAlt))
        TAdvCustomDropDown::DropDownKeyDown(Key, Shift);
}

void TAdvTimePickerDropDown::ControlKeyUp(Word& Key, TShiftState Shift)
{
    if (!PopupArrowKey(Key) || Shift.Contains(ssAlt))
        TAdvCustomDropDown::DropDownKeyUp(Key, Shift);
}

void TAdvTimePickerDropDown::ControlKeyPress(wchar_t& Key)
{
    if (!PopupArrowKey(static_cast<Word>(Key)) || GetKeyState(VK_MENU) < 0)
        TAdvCustomDropDown::ControlKeyPress(Key);
}

void STDMETHODCALLTYPE TAdvTimePickerDropDown::SetComponentStyle(TPackStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    ApplyWatchComponentStyle(FWatchAppearance.get(), AStyle);
}
