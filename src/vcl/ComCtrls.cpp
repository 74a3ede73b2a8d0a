#include "ComCtrls.h"

#include "SysUtils.h"
#include <cmath>
#include <commctrl.h>

TDateTimePicker::TDateTimePicker(TComponent* AOwner)
    : TWinControl(AOwner)
{
    dateTime_ = Now();
    SetBounds(0, 0, 186, 21);
    SetTabStop(true);
}

void TDateTimePicker::CreateParams(TCreateParams& Params)
{
    // The class exists once the common controls have registered it.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES};
    InitCommonControlsEx(&icc);
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, DATETIMEPICK_CLASSW);
    if (kind_ == dtkTime)
        Params.Style |= DTS_TIMEFORMAT;
    else if (dateFormat_ == dfLong)
        Params.Style |= DTS_LONGDATEFORMAT;
    if (showCheckbox_)
        Params.Style |= DTS_SHOWNONE;
    if (parseInput_)
        Params.Style |= DTS_APPCANPARSE;
}

void TDateTimePicker::CreateWnd()
{
    // Until the stored value is in the new window, the window's own value
    // (today) must not be read back over it.
    windowHasValue_ = false;
    TWinControl::CreateWnd();
    if (!format_.empty())
        SendMessageW(GetHandle(), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format_.c_str()));
    WriteSystemTime(dateTime_, !showCheckbox_ || checked_);
    windowHasValue_ = true;
}

void TDateTimePicker::DestroyWnd()
{
    // Keep what the window holds for the next one.
    GetDateTime();
    GetChecked();
    TWinControl::DestroyWnd();
}

void TDateTimePicker::WriteSystemTime(TDateTime Value, bool Valid)
{
    dateTime_ = Value;
    if (!HandleAllocated())
        return;
    SYSTEMTIME st{};
    DateTimeToSystemTime(Value, st);
    SendMessageW(GetHandle(), DTM_SETSYSTEMTIME, Valid ? GDT_VALID : GDT_NONE, reinterpret_cast<LPARAM>(&st));
}

TDateTime TDateTimePicker::GetDateTime()
{
    if (HandleAllocated() && windowHasValue_) {
        SYSTEMTIME st{};
        if (SendMessageW(GetHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID)
            dateTime_ = SystemTimeToDateTime(st);
    }
    return dateTime_;
}

void TDateTimePicker::SetDateTime(TDateTime Value)
{
    WriteSystemTime(Value, true);
    if (showCheckbox_)
        checked_ = true;
}

TDateTime TDateTimePicker::GetDate() { return std::floor(GetDateTime()); }
TDateTime TDateTimePicker::GetTime()
{
    const TDateTime v = GetDateTime();
    return v - std::floor(v);
}

void TDateTimePicker::SetDate(TDateTime Value) { SetDateTime(std::floor(Value) + GetTime()); }
void TDateTimePicker::SetTime(TDateTime Value) { SetDateTime(GetDate() + (Value - std::floor(Value))); }

void TDateTimePicker::SetKind(TDateTimeKind Value)
{
    if (kind_ == Value)
        return;
    kind_ = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value)
{
    if (dateFormat_ == Value)
        return;
    dateFormat_ = Value;
    if (HandleAllocated())
        RecreateWnd();
}

void TDateTimePicker::SetFormat(const String& Value)
{
    format_ = Value;
    if (HandleAllocated())
        SendMessageW(GetHandle(), DTM_SETFORMATW, 0,
                     format_.empty() ? 0 : reinterpret_cast<LPARAM>(format_.c_str()));
}

void TDateTimePicker::SetShowCheckbox(bool Value)
{
    if (showCheckbox_ == Value)
        return;
    showCheckbox_ = Value;
    if (HandleAllocated())
        RecreateWnd();
}

bool TDateTimePicker::GetChecked()
{
    if (HandleAllocated() && windowHasValue_ && showCheckbox_) {
        SYSTEMTIME st{};
        checked_ = SendMessageW(GetHandle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)) == GDT_VALID;
    }
    return checked_;
}

void TDateTimePicker::SetChecked(bool Value)
{
    checked_ = Value;
    if (showCheckbox_)
        WriteSystemTime(dateTime_, Value);
}

void TDateTimePicker::SetParseInput(bool Value)
{
    if (parseInput_ == Value)
        return;
    parseInput_ = Value;
    if (HandleAllocated())
        RecreateWnd();
}

bool TDateTimePicker::GetDroppedDown()
{
    // Wine keeps its calendar window while it is closed: only a shown one is dropped.
    if (!HandleAllocated())
        return false;
    const HWND calendar = reinterpret_cast<HWND>(SendMessageW(GetHandle(), DTM_GETMONTHCAL, 0, 0));
    return calendar && IsWindowVisible(calendar);
}

void TDateTimePicker::Change()
{
    if (OnChange)
        OnChange(this);
}

void TDateTimePicker::Dispatch(TMessage& Message)
{
    if (Message.Msg == CN_NOTIFY) {
        CNNotify(Message);
        return;
    }
    TWinControl::Dispatch(Message);
}

void TDateTimePicker::CNNotify(TMessage& Message)
{
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    switch (header->code) {
    case DTN_DATETIMECHANGE: {
        auto* change = reinterpret_cast<NMDATETIMECHANGE*>(Message.LParam);
        if (change->dwFlags == GDT_VALID) {
            dateTime_ = SystemTimeToDateTime(change->st);
            checked_ = true;
        } else {
            checked_ = false;
        }
        Change();
        break;
    }
    case DTN_USERSTRINGW: {
        auto* user = reinterpret_cast<NMDATETIMESTRINGW*>(Message.LParam);
        const String text = user->pszUserString ? user->pszUserString : L"";
        TDateTime value = dateTime_;
        bool allow = TryStrToDateTime(text, value);
        if (OnUserInput)
            OnUserInput(this, text, value, allow);
        user->dwFlags = allow ? GDT_VALID : GDT_ERROR;
        if (allow)
            DateTimeToSystemTime(value, user->st);
        break;
    }
    case DTN_DROPDOWN:
        if (OnDropDown)
            OnDropDown(this);
        break;
    case DTN_CLOSEUP:
        if (OnCloseUp)
            OnCloseUp(this);
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}
