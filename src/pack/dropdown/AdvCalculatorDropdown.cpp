// The calculator engine. The edit text is the display: results are written
// through the text setter (so they take Precision's format) and operands are
// read back from it. Evaluation runs strictly left to right. A value that is
// no finite 64-bit number is never shown nor kept: the display says "Error"
// and the next digit starts a new number, as after a division by zero.
#include "AdvCalculatorDropdown.h"

#include "SysUtils.h"

#include <cmath>

namespace {

// The next decimal place is no longer grown once a digit there could not
// change the shown number any more (and long before the counter overflows).
constexpr long long MaxDecim = 1000000000000000000LL;

bool IsNumeric(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

bool IsFinite64(long double v) { return std::isfinite(static_cast<double>(v)); }

} // namespace

TAdvCalculatorDropdown::TAdvCalculatorDropdown(TComponent* AOwner)
    : TAdvCustomDropDown(AOwner), FCalcButtonAppearance(New<TButtonAppearance>())
{
}

void TAdvCalculatorDropdown::AfterConstruction()
{
    TAdvCustomDropDown::AfterConstruction();
    SetDropDownColor(clWhite);
    SetDropDownWidth(230);
    FDropDownHeader->SetVisible(false);
    FDropDownFooter->SetVisible(false);
    SetEditType(etFloat);
    FPrevop = -1;
    SetPrecision(2);
    FDecim = 0;
    FCalcClosed = true;
    SetSigned(true);
    FMVal = 0;
}

// ---------------------------------------------------------------------------
// The popup.

void TAdvCalculatorDropdown::CreateDropDownForm()
{
    TAdvCustomDropDown::CreateDropDownForm();
    if (!FAdvButtonPanel) {
        FAdvButtonPanel = New<TCustomButtonPanel>(this);
        FAdvButtonPanel->SetParent(FDropDownForm);
        FAdvButtonPanel->SetAdvDropDown(this);
        FAdvButtonPanel->SetHeight(150);
        FAdvButtonPanel->CreateButtons();
    }
    SetControl(FAdvButtonPanel);
    FAdvButtonPanel->OnButtonClick = [this](TObject* Sender, int Index) { ButtonPanelClick(Sender, Index); };
}

void TAdvCalculatorDropdown::BeforeDropDown()
{
    TAdvCustomDropDown::BeforeDropDown();
    if (FDropDownForm)
        FDropDownForm->SetCancelOnDeActivate(false);
    if (FAdvButtonPanel) {
        FAdvButtonPanel->GetButtonAppearance()->Assign(FCalcButtonAppearance.get());
        FAdvButtonPanel->SetColor(FDropDownColor);
        FAdvButtonPanel->ArrangeButtons();
    }
    SetSigned(false);
    FNewval = true;
    FDecim = 0;
    FCalcClosed = false;
    FOpenText = Display();
}

void TAdvCalculatorDropdown::CloseDropDown(bool Cancel)
{
    // Every key writes the display through the text setter, so the text the
    // base restores on a cancel is the last one shown: bring back the one
    // shown at opening instead, and forget the operation begun since.
    const bool open = FDropDownForm && FDropDownForm->GetVisible();
    if (Cancel && open)
        FOldText = FOpenText;
    TAdvCustomDropDown::CloseDropDown(Cancel);
    if (Cancel && open) {
        FPrevop = -1;
        FNewval = true;
        FDecim = 0;
    }
    SetSigned(true);
}

bool TAdvCalculatorDropdown::CalculatorClosed() const
{
    return FCalcClosed || (FDropDownForm && !FDropDownForm->GetVisible());
}

bool TAdvCalculatorDropdown::AtMaxLength() const
{
    return GetMaxLength() > 0 && static_cast<int>(Display().size()) == GetMaxLength();
}

// ---------------------------------------------------------------------------
// Values.

long double TAdvCalculatorDropdown::Parse() const
{
    return StrToFloat(RemoveThousandSeparators(Display()));
}

long double TAdvCalculatorDropdown::GetValue()
{
    String s = Display();
    if (s.empty())
        s = L"0";
    double v = 0;
    return TryStrToFloat(RemoveThousandSeparators(s), v) ? v : 0;
}

void TAdvCalculatorDropdown::SetValue(long double Value)
{
    if (!IsFinite64(Value)) {
        ShowError();
        return;
    }
    SetText(::Format(L"%g", {static_cast<double>(Value)}));
}

void TAdvCalculatorDropdown::ShowError()
{
    SetText(L"Error");
    FNewval = true;
}

bool TAdvCalculatorDropdown::Show(long double v)
{
    if (!IsFinite64(v)) {
        ShowError();
        return false;
    }
    SetFloatValue(static_cast<double>(v));
    return true;
}

void TAdvCalculatorDropdown::SetShowThousandSeparator(bool Value)
{
    if (Value == FShowThousandSeparator)
        return;
    FShowThousandSeparator = Value;
    const double v = static_cast<double>(GetValue());
    SetEditType(Value ? etMoney : etFloat);
    SetFloatValue(v);
}

// ---------------------------------------------------------------------------
// Operations.

void TAdvCalculatorDropdown::ApplyPendingOperation()
{
    if (Display().empty() || Display() == L"Error")
        SetText(L"0");
    const long double x = Parse();
    long double result = 0;
    switch (FPrevop) {
    case 0:
        result = FPrevval + x;
        break;
    case 1:
        result = FPrevval * x;
        break;
    case 2:
        result = FPrevval - x;
        break;
    case 3:
        if (x == 0) {
            FPrevval = 0;
            SetText(L"Error");
            return;
        }
        result = FPrevval / x;
        break;
    default:
        result = x;
        break;
    }
    if (!IsFinite64(result)) {
        FPrevval = 0;
        ShowError();
        return;
    }
    FPrevval = result;
    Show(FPrevval);
    FNewval = true;
}

void TAdvCalculatorDropdown::StartOperation(int Op)
{
    ApplyPendingOperation();
    FPrevop = Op;
}

void TAdvCalculatorDropdown::CalcEquals()
{
    ApplyPendingOperation();
    if (Display().empty())
        SetText(L"0");
    FPrevop = -1;
    if (Display() != L"Error")
        FPrevval = Parse();
}

void TAdvCalculatorDropdown::CalcPercent()
{
    if (Display().empty() || Display() == L"Error")
        SetText(L"0");
    const long double p = FPrevval * Parse() / 100;
    if (!IsFinite64(p))
        ShowError();
    else
        SetText(::Format(L"%g", {static_cast<double>(p)}));
    FNewval = true;
    FDecim = 0;
}

void TAdvCalculatorDropdown::AddDigit(int Digit)
{
    const double v = GetFloatValue();
    if ((v == 0 && FDecim == 0) || FNewval) {
        SetText(IntToStr(Digit));
        FNewval = false;
        return;
    }
    // A digit extends the magnitude; the sign stays in front.
    const long double magnitude = std::fabs(static_cast<long double>(v));
    const long double sign = std::signbit(v) ? -1 : 1;
    if (FDecim > 0) {
        const long double next = magnitude + static_cast<long double>(Digit) / FDecim;
        if (!Show(sign * next))
            return;
        const double shown = std::fabs(GetFloatValue());
        if (FDecim < MaxDecim && static_cast<double>(shown + 9.0L / (FDecim * 10.0L)) != shown)
            FDecim *= 10;
    } else {
        Show(sign * (magnitude * 10 + Digit));
    }
}

void TAdvCalculatorDropdown::ClearEntry(bool)
{
    SetText(L"0");
    FPrevval = 0;
    FPrevop = -1;
    FDecim = 0;
}

void TAdvCalculatorDropdown::ToggleDisplaySign()
{
    const String d = Display();
    if (!d.empty() && d[0] == L'-')
        SetText(d.substr(1));
    else
        SetText(L"-" + d);
}

void TAdvCalculatorDropdown::BackSpace()
{
    if (FPrevop >= 0)
        return;
    String s = FloatToStr(GetFloatValue());
    // An exponent form has no last digit to take away.
    if (s.find_first_of(L"Ee") != String::npos)
        return;
    if (!s.empty())
        s.pop_back();
    const size_t dp = s.find(FormatSettings.DecimalSeparator);
    FDecim = 0;
    if (dp != String::npos) {
        FDecim = 10;
        for (size_t i = dp + 1; i < s.size() && FDecim < MaxDecim; ++i)
            FDecim *= 10;
    }
    SetText(s);
}

void TAdvCalculatorDropdown::ButtonPanelClick(TObject*, int Index)
{
    if (!FAdvButtonPanel || Index < 0 || Index >= FAdvButtonPanel->GetButtons()->Count())
        return;
    BeforeCalcInput();
    const int t = FAdvButtonPanel->GetButtons()->GetItem(Index)->Tag;
    // The sign key leaves decimal entry going: 5 . +/- 3 is -5.3.
    if ((t >= 10 && t <= 13) || (t >= 16 && t <= 18))
        FDecim = 0;
    if (((t >= 0 && t <= 9) || t == 14 || t == 15) && AtMaxLength())
        return;
    switch (t) {
    case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7: case 8: case 9:
        AddDigit(t);
        break;
    case 10:
        StartOperation(0);
        break;
    case 11:
        StartOperation(2);
        break;
    case 12:
        StartOperation(1);
        break;
    case 13:
        StartOperation(3);
        break;
    case 14:
        ToggleDisplaySign();
        break;
    case 15: {
        const String d = Display();
        if (d.find(FormatSettings.DecimalSeparator) == String::npos)
            SetText(d + FormatSettings.DecimalSeparator);
        FDecim = 10;
        if (FNewval)
            SetText(L"0");
        FNewval = false;
        break;
    }
    case 16:
    case 30:
    case 32:
        ClearEntry(true);
        break;
    case 17:
        CalcEquals();
        break;
    case 18:
        CalcPercent();
        break;
    case 31:
        BackSpace();
        break;
    case 33:
        FMVal = 0;
        break;
    case 34:
        Show(FMVal);
        FNewval = true;
        FDecim = 0;
        break;
    case 35:
        FMVal = Parse();
        break;
    case 36: {
        const long double sum = FMVal + Parse();
        if (IsFinite64(sum))
            FMVal = sum;
        else
            ShowError();
        break;
    }
    case 37: {
        const long double v = GetFloatValue();
        if (v >= 0)
            Show(std::sqrt(v));
        else
            SetText(L"Error");
        FNewval = true;
        FDecim = 0;
        break;
    }
    case 38: {
        const long double v = GetFloatValue();
        if (v != 0)
            Show(1 / v);
        else
            SetText(L"Error");
        FNewval = true;
        FDecim = 0;
        break;
    }
    default:
        break;
    }
    SetModifiedFlag(true);
}

// ---------------------------------------------------------------------------
// Keys.

void TAdvCalculatorDropdown::DropDownKeyPress(wchar_t& Key)
{
    TAdvCustomDropDown::DropDownKeyPress(Key);
    CalcKeyPress(Key);
}

void TAdvCalculatorDropdown::CalcKeyPress(wchar_t Key)
{
    const bool alt = GetKeyState(VK_MENU) < 0;
    BeforeCalcInput();
    const wchar_t decimal = FormatSettings.DecimalSeparator;
    if (Key == decimal && Display().find(decimal) == String::npos)
        SetText(Display() + decimal);
    if (IsNumeric(Key) && AtMaxLength())
        return;
    switch (Key) {
    case L'-':
        StartOperation(2);
        break;
    case L'*':
        StartOperation(1);
        break;
    case L'+':
        StartOperation(0);
        break;
    case L'/':
        StartOperation(3);
        break;
    case L'%':
        CalcPercent();
        break;
    case L'=':
        CalcEquals();
        break;
    case 13:
        CalcEquals();
        CloseDropDown(false);
        break;
    case 27:
        CloseDropDown(true);
        break;
    case L'&':
        if (alt)
            CloseDropDown(true);
        break;
    case L'C':
    case L'c':
        SetText(L"0");
        FPrevval = 0;
        FNewval = true;
        FPrevop = -1;
        break;
    default:
        if (IsNumeric(Key))
            FNewval = false;
        break;
    }
}

void TAdvCalculatorDropdown::DropDownKeyDown(Word& Key, TShiftState Shift)
{
    TAdvCustomDropDown::DropDownKeyDown(Key, Shift);
    if (Key == VK_TAB || Key == VK_F4) {
        CloseDropDown(false);
    } else if (Key == VK_BACK) {
        String d = Display();
        if (!d.empty())
            d.pop_back();
        if (d.empty() || d == L"Error")
            d = L"0";
        SetText(d);
    }
}

void TAdvCalculatorDropdown::HandleKeyPress(wchar_t& Key)
{
    if (CalculatorClosed()) {
        switch (Key) {
        case 13:
        case L'=':
            CalcEquals();
            break;
        case L'%':
            CalcPercent();
            break;
        case L'*':
            StartOperation(1);
            break;
        case L'+':
            StartOperation(0);
            break;
        case L'-':
            StartOperation(2);
            break;
        case L'/':
            StartOperation(3);
            break;
        case L'C':
        case L'c':
            SetText(L"0");
            FNewval = true;
            FPrevop = -1;
            break;
        default:
            break;
        }
    }
    const wchar_t decimal = FormatSettings.DecimalSeparator;
    if (!IsNumeric(Key) && Key != decimal && Key != 8 && Key != L'-') {
        Key = 0;
        return;
    }
    const String d = Display();
    // A shown zero reads "0" or, with Precision, "0.00"; a shown error reads
    // as zero too, so that the next digit replaces it as on the keypad.
    const bool zero = d == L"0" || d == L"Error" ||
                      (FPrecision > 0 && d == ::Format(String(L"%.") + IntToStr(FPrecision) + L"f", {0.0}));
    auto caretAfterFirst = [this] {
        if (!HandleAllocated())
            return;
        SetSelStart(static_cast<int>(GetPrefix().size()) + 1);
        SetSelLength(0);
    };
    if ((zero || FNewval) && IsNumeric(Key)) {
        SetText(String(1, Key));
        Key = 0;
        caretAfterFirst();
        FNewval = false;
        return;
    }
    if (d.size() == 1 && Key == 8) {
        SetText(L"0");
        Key = 0;
        caretAfterFirst();
        return;
    }
    if (Key == FormatSettings.ThousandSeparator || (Key == decimal && d.find(decimal) != String::npos))
        Key = 0;
}

void TAdvCalculatorDropdown::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CHAR: {
        wchar_t key = static_cast<wchar_t>(Message.WParam);
        HandleKeyPress(key);
        if (!key) {
            Message.Result = 0;
            return;
        }
        Message.WParam = key;
        break;
    }
    case WM_KEYDOWN:
        TAdvCustomDropDown::Dispatch(Message);
        if (Message.WParam == VK_DELETE && (Display().empty() || Display() == L"Error"))
            SetText(L"0");
        return;
    default:
        break;
    }
    TAdvCustomDropDown::Dispatch(Message);
}

// ---------------------------------------------------------------------------
// Style.

void STDMETHODCALLTYPE TAdvCalculatorDropdown::SetComponentStyle(TPackStyle AStyle)
{
    TAdvCustomDropDown::SetComponentStyle(AStyle);
    TAdvButtonAppearance* b = FButtonAppearance.get();
    TButtonAppearance* c = FCalcButtonAppearance.get();
    c->SetBorderColor(b->GetBorderColor());
    c->SetBorderColorHot(b->GetBorderColorHot());
    c->SetBorderColorDown(b->GetBorderColorDown());
    c->SetColor(b->GetColor());
    c->SetColorTo(b->GetColorTo());
    c->SetColorDown(b->GetColorDown());
    c->SetColorDownTo(b->GetColorDownTo());
    c->SetColorDisabled(b->GetColorDisabled());
    c->SetColorDisabledTo(b->GetColorDisabledTo());
    c->SetColorHot(b->GetColorHot());
    c->SetColorHotTo(b->GetColorHotTo());
    if (AStyle == tsOffice2010Blue || AStyle == tsOffice2010Silver || AStyle == tsOffice2010Black) {
        c->SetGlowColorHot(b->GetColorHot());
        c->SetGlowColorDown(b->GetColorHot());
    } else {
        c->SetGlowColorDown(RGB(68, 194, 213));
        c->SetGlowColorHot(b->GetColorDownTo());
    }
}
