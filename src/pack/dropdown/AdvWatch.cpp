// The analog clock's model: its settings objects, the held time and the AM
// flag, geometry and hit testing, clicks and keys, and the hand animation.
//
// Every change a user makes (a click, a key, or SetHour / SetMinute from
// code) raises OnChange exactly once, when it is complete: at once without
// animation, or when an animated move reaches its target. The steps of a
// move run with FAnimationStep set and stay silent; the Time setter is
// always silent.
#include "AdvTimePickerDropDown.h"

#include "ScopeExit.h"
#include "SysUtils.h"

#include <algorithm>
#include <cmath>

namespace {

// Rounds to the nearest integer, a half to the even neighbour.
int RoundEven(double x)
{
    return static_cast<int>(std::nearbyint(x));
}

constexpr double kPi = 3.14159265358979323846;

void Decode(TDateTime Time, Word& H, Word& M, Word& S, Word& MS)
{
    DecodeTime(Time, H, M, S, MS);
}

} // namespace

// ---------------------------------------------------------------------------
// Appearance and settings.

TWatchAppearance::TWatchAppearance()
{
    SetDefaults();
}

TWatchAppearance::~TWatchAppearance() = default;

void TWatchAppearance::SetDefaults()
{
    if (!FHourFont)
        FHourFont.reset(New<TFont>());
    if (!FAMPMFont)
        FAMPMFont.reset(New<TFont>());
    if (!FPicture) {
        FPicture.reset(New<TPicture>());
        FPicture->OnChange = [this](TObject*) { Changed(); };
    }
    FHourFont->SetName(L"Tahoma");
    FHourFont->SetSize(8);
    FAMPMFont->SetName(L"Tahoma");
    FAMPMFont->SetSize(10);
    FSize = 0;
    FHourPointer = clBlack;
    FBackgroundColor = clWhite;
    FMinutePointerShadow = clBtnShadow;
    FBackgroundColorTo = clNone;
    FHourPointerShadow = clBtnShadow;
    FSecondPointer = clRed;
    FBorderColor = clBlack;
    FMinutePointer = clBlack;
    FAMPMFrame = apRect;
    FShape = wsCircle;
    FPointerStyle = psLine;
    FBorderStyle = wbLine;
    FHourPointerSize = 4;
    FSecondPointerSize = 1;
    FMinutePointerSize = 3;
    FHourColor = clBlack;
    FMinuteColor = clGray;
    FCenterPointSize = 4;
    FCenterPointColor = clBlack;
    FCenterPointBorderColor = clNone;
    FBackgroundGradient = wgVertical;
    FHourMarkLength = 0;
    FHourMarkWidth = 1;
    FMinuteMarkLength = 0;
    FMinuteMarkWidth = 1;
    FBorderWidth = 4;
    FAMPMColor = clWhite;
    FAMPMBorderColor = clBlack;
    FCenterPointOuterBorderColor = clNone;
    FTickMarks = tmAll;
    FHourMarkStyle = hmsLine;
}

void TWatchAppearance::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TWatchAppearance::SetHourFont(TFont* Value)
{
    FHourFont->Assign(Value);
    Changed();
}

void TWatchAppearance::SetAMPMFont(TFont* Value)
{
    FAMPMFont->Assign(Value);
    Changed();
}

void TWatchAppearance::SetPicture(TPicture* Value)
{
    FPicture->Assign(Value);
    Changed();
}

void TWatchAppearance::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TWatchAppearance*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FSize = s->FSize;
    FHourPointer = s->FHourPointer;
    FBackgroundColor = s->FBackgroundColor;
    FMinutePointerShadow = s->FMinutePointerShadow;
    FBackgroundColorTo = s->FBackgroundColorTo;
    FHourPointerShadow = s->FHourPointerShadow;
    FSecondPointer = s->FSecondPointer;
    FBorderColor = s->FBorderColor;
    FMinutePointer = s->FMinutePointer;
    FHourFont->Assign(s->FHourFont.get());
    FAMPMFont->Assign(s->FAMPMFont.get());
    {
        // The picture's own change event would report the copy.
        TNotifyEvent hook = std::move(FPicture->OnChange);
        FPicture->OnChange = nullptr;
        TScopeExit rehook([&] { FPicture->OnChange = std::move(hook); });
        FPicture->Assign(s->FPicture.get());
    }
    FAMPMFrame = s->FAMPMFrame;
    FShape = s->FShape;
    FPointerStyle = s->FPointerStyle;
    FBorderStyle = s->FBorderStyle;
    FHourPointerSize = s->FHourPointerSize;
    FSecondPointerSize = s->FSecondPointerSize;
    FMinutePointerSize = s->FMinutePointerSize;
    FHourColor = s->FHourColor;
    FMinuteColor = s->FMinuteColor;
    FCenterPointSize = s->FCenterPointSize;
    FCenterPointColor = s->FCenterPointColor;
    FCenterPointBorderColor = s->FCenterPointBorderColor;
    FBackgroundGradient = s->FBackgroundGradient;
    FHourMarkLength = s->FHourMarkLength;
    FHourMarkWidth = s->FHourMarkWidth;
    FMinuteMarkLength = s->FMinuteMarkLength;
    FMinuteMarkWidth = s->FMinuteMarkWidth;
    FBorderWidth = s->FBorderWidth;
    FAMPMColor = s->FAMPMColor;
    FAMPMBorderColor = s->FAMPMBorderColor;
    SetCenterPointOuterBorderColor(s->FCenterPointOuterBorderColor);
    SetTickMarks(s->FTickMarks);
    SetHourMarkStyle(s->FHourMarkStyle);
}

void TWatchSettings::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TWatchSettings::SetAuto(bool Value)
{
    if (Value == FAuto)
        return;
    FAuto = Value;
    Changed();
}

void TWatchSettings::SetSecond(bool Value)
{
    if (Value == FSecond)
        return;
    FSecond = Value;
    Changed();
}

void TWatchSettings::SetTimeOffset(int Value)
{
    if (Value == FTimeOffset)
        return;
    FTimeOffset = Value;
    Changed();
}

void TWatchSettings::Assign(TPersistent* Source)
{
    auto* s = dynamic_cast<TWatchSettings*>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FSecond = s->FSecond;
    FTimeOffset = s->FTimeOffset;
    SetAuto(s->FAuto);
}

// ---------------------------------------------------------------------------
// The clock.

TAdvWatch::TAdvWatch(TComponent* AOwner)
    : TCustomControl(AOwner), FAppearance(New<TWatchAppearance>()), FSettings(New<TWatchSettings>())
{
    FCache.reset(New<TBitmap>());
    FCache->SetPixelFormat(pf32bit);
}

void TAdvWatch::AfterConstruction()
{
    TCustomControl::AfterConstruction();
    FAppearance->OnChange = [this](TObject*) { Invalidate(); };
    FSettings->OnChange = [this](TObject* s) { SettingsChanged(s); };
    FClockTimer = New<TTimer>(this);
    FClockTimer->SetEnabled(FSettings->GetAuto());
    FClockTimer->SetInterval(100);
    FClockTimer->OnTimer = [this](TObject*) { RepaintHands(); };
    FAnimationTimer = New<TTimer>(this);
    FAnimationTimer->SetEnabled(false);
    FAnimationTimer->SetInterval(1);
    FAnimationTimer->OnTimer = [this](TObject* s) { AnimationTick(s); };
    SetWidth(180);
    SetHeight(180);
    FCache->SetSize(180, 180);
}

TAdvWatch::~TAdvWatch()
{
    // The timers are owned components; they must not tick into a half-freed clock.
    if (FAnimationTimer)
        FAnimationTimer->SetEnabled(false);
    if (FClockTimer)
        FClockTimer->SetEnabled(false);
}

Cardinal TAdvWatch::GetVersionNr() const
{
    return (1u << 24) | (1u << 16) | (1u << 8) | 3u;
}

String TAdvWatch::GetVersion() const
{
    const Cardinal v = GetVersionNr();
    return IntToStr(static_cast<int>(v >> 24)) + L"." + IntToStr(static_cast<int>((v >> 16) & 0xFF)) + L"." +
           IntToStr(static_cast<int>((v >> 8) & 0xFF)) + L"." + IntToStr(static_cast<int>(v & 0xFF));
}

void TAdvWatch::SetShowAMPM(bool Value)
{
    if (Value == FShowAMPM)
        return;
    FShowAMPM = Value;
    Invalidate();
}

void TAdvWatch::SetShowNumbers(bool Value)
{
    if (Value == FShowNumbers)
        return;
    FShowNumbers = Value;
    Invalidate();
}

// ---------------------------------------------------------------------------
// Geometry.

TRect TAdvWatch::GetFaceRect()
{
    const int w = GetClientWidth();
    const int h = GetClientHeight();
    int side = 0;
    if (FAppearance->GetSize() > 0)
        side = std::min({FAppearance->GetSize(), w, h});
    else
        side = std::min(w, h) - 20;
    // A clock smaller than its margins has no face rather than a negative one.
    side = std::max(side, 0);
    const int left = (w - side) / 2;
    const int top = (h - side) / 2;
    return TRect(left, top, left + side, top + side);
}

POINT TAdvWatch::GetCenter()
{
    const TRect face = GetFaceRect();
    const int side = face.Width();
    return {face.left + side / 2, face.top + side / 2};
}

double TAdvWatch::GetRadius()
{
    const TRect face = GetFaceRect();
    return static_cast<double>((face.right - face.left) / 2);
}

TRect TAdvWatch::GetAMPMRect()
{
    if (!FShowAMPM)
        return TRect(-1, -1, -1, -1);
    // Measured on a screen-compatible DC, which needs no window and keeps
    // no DC of the window's behind.
    RECT r{0, 0, 200, 200};
    {
        TMemoryDC dc;
        TSelectObject font(dc.Get(), FAppearance->GetAMPMFont()->GetHandle());
        DrawTextW(dc.Get(), L"AM", 2, &r, DT_CALCRECT);
    }
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const POINT c = GetCenter();
    const double radius = GetRadius();
    const int left = c.x - (w + 8) / 2;
    const int top = c.y + RoundEven((radius - h) / 3);
    return TRect(left, top, left + w + 8, top + h);
}

TDateTime TAdvWatch::GetDisplayTime()
{
    if (FSettings->GetAuto())
        return Now() + FSettings->GetTimeOffset() / 1440.0;
    return FTime;
}

int TAdvWatch::XYToMinute(int X, int Y)
{
    const POINT c = GetCenter();
    int dy = std::abs(c.y - Y);
    int dx = std::abs(c.x - X);
    if (dy == 0)
        dy = 1;
    if (dx == 0)
        dx = 1;
    const int d = RoundEven(std::atan(static_cast<double>(dy) / dx) * 180.0 / kPi / 6.0);
    int result = 0;
    if (X >= c.x && Y >= c.y)
        result = d + 15;
    else if (X <= c.x && Y >= c.y)
        result = 45 - d;
    else if (X <= c.x && Y <= c.y)
        result = d + 45;
    else
        result = 15 - d;
    if (result < 0 || result > 59)
        result = 0;
    return result;
}

int TAdvWatch::XYToHour(int X, int Y)
{
    const int p = RoundEven(XYToMinute(X, Y) / 5.0) % 12;
    return FAM ? p : p + 12;
}

namespace {

bool IsPointInEllipse(POINT P, const TRect& Bounds)
{
    TRegionHandle region(CreateEllipticRgn(Bounds.left, Bounds.top, Bounds.right, Bounds.bottom));
    return region && PtInRegion(region.Get(), P.x, P.y);
}

} // namespace

// ---------------------------------------------------------------------------
// Time, hour and minute.

void TAdvWatch::Changed()
{
    if (OnChange)
        OnChange(this);
}

bool TAdvWatch::CanAnimate() const
{
    return FAnimation && !FInternalCall && !ComponentState().Contains(csLoading) &&
           !ComponentState().Contains(csDesigning);
}

bool TAdvWatch::IsAnimating() const
{
    return FAnimationTimer && FAnimationTimer->GetEnabled();
}

void TAdvWatch::StartAnimation()
{
    if (FAnimationTimer)
        FAnimationTimer->SetEnabled(true);
}

void TAdvWatch::StopAnimation()
{
    if (FAnimationTimer)
        FAnimationTimer->SetEnabled(false);
}

void TAdvWatch::StoreTime(TDateTime Value)
{
    if (Value == FTime)
        return;
    FTime = Value;
    Word h = 0, m = 0, s = 0, ms = 0;
    Decode(Value, h, m, s, ms);
    FInternalSet = true;
    TScopeExit done([this] { FInternalSet = false; });
    SetAM(h < 12);
}

void TAdvWatch::SetTime(TDateTime Value)
{
    if (Value == FTime)
        return;
    StoreTime(Value);
    RepaintHands();
}

void TAdvWatch::SetHour(Byte Value)
{
    Word h = 0, m = 0, s = 0, ms = 0;
    Decode(GetDisplayTime(), h, m, s, ms);
    if (Value == h)
        return;
    if (CanAnimate()) {
        FTargetHour = Value;
        FHourAnimating = true;
        StartAnimation();
        return;
    }
    StoreTime(EncodeTime(Value, m, s, ms));
    RepaintHands();
    if (!FAnimationStep)
        Changed();
}

void TAdvWatch::SetMinute(Byte Value)
{
    Word h = 0, m = 0, s = 0, ms = 0;
    Decode(GetDisplayTime(), h, m, s, ms);
    if (Value >= 60)
        throw Exception(L"Invalid time");
    if (Value == m)
        return;
    if (CanAnimate()) {
        FTargetMinute = Value;
        FHourAnimating = false;
        FMinuteFrom = static_cast<Byte>(m);
        StartAnimation();
        return;
    }
    if (!FAnimation)
        FMinuteFrom = static_cast<Byte>(m);
    m = Value;
    if (Value == 0 && FMinuteFrom > 30) {
        // The minute hand passed twelve o'clock clockwise: the next hour.
        h = h == 23 ? 0 : h + 1;
        FMinuteFrom = 0;
    }
    StoreTime(EncodeTime(h, m, s, ms));
    RepaintHands();
    if (!FAnimationStep)
        Changed();
}

void TAdvWatch::AnimationTick(TObject*)
{
    if (!FAnimation || ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning))
        return;
    Word h = 0, m = 0, s = 0, ms = 0;
    Decode(GetDisplayTime(), h, m, s, ms);
    const int factor = std::max(FAnimationFactor, 1);
    FInternalCall = true;
    TScopeExit done([this] { FInternalCall = false; });
    if (FHourAnimating) {
        const int target = FTargetHour;
        if (h == target) {
            // Reached by another way (the Time setter); the move is over.
            StopAnimation();
            Changed();
            return;
        }
        const int step = std::max(1, RoundEven(std::abs(target - static_cast<int>(h)) / static_cast<double>(factor)));
        const int next = h < target ? std::min<int>(h + step, target) : std::max<int>(h - step, target);
        if (next == target) {
            StopAnimation();
            SetHour(static_cast<Byte>(target));
        } else {
            FAnimationStep = true;
            TScopeExit stepDone([this] { FAnimationStep = false; });
            SetHour(static_cast<Byte>(next));
        }
        return;
    }
    const int target = FTargetMinute;
    if (m == target) {
        StopAnimation();
        Changed();
        return;
    }
    const bool forwardThroughTwelve = target == 0 && m > 30;
    const int distance = forwardThroughTwelve ? 60 - m : std::abs(target - static_cast<int>(m));
    const int step = std::max(1, RoundEven(distance / static_cast<double>(factor)));
    int next = 0;
    if (m < target || forwardThroughTwelve) {
        next = m + step;
        if (next >= 60)
            next = 0;
        else if (!forwardThroughTwelve)
            next = std::min(next, target);
    } else {
        next = std::max(static_cast<int>(m) - step, target);
    }
    if (next == target) {
        StopAnimation();
        SetMinute(static_cast<Byte>(target));
    } else {
        FAnimationStep = true;
        TScopeExit stepDone([this] { FAnimationStep = false; });
        SetMinute(static_cast<Byte>(next));
    }
}

void TAdvWatch::SettingsChanged(TObject*)
{
    if (FClockTimer)
        FClockTimer->SetEnabled(FSettings->GetAuto());
    if (FSettings->GetAuto()) {
        FTime = Now();
        Word h = 0, m = 0, s = 0, ms = 0;
        Decode(FTime, h, m, s, ms);
        FInternalSet = true;
        TScopeExit done([this] { FInternalSet = false; });
        SetAM(h < 12);
    }
    Invalidate();
}

// ---------------------------------------------------------------------------
// Input.

void TAdvWatch::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FReadOnly || FSettings->GetAuto())
        return;
    const POINT p{X, Y};
    if (!IsPointInEllipse(p, GetFaceRect())) {
        SetMinute(static_cast<Byte>(XYToMinute(X, Y)));
        return;
    }
    const TRect ampm = GetAMPMRect();
    if (PtInRect(&ampm, p)) {
        if (FAnimation)
            SetAM(!FAM);
        Word h = 0, m = 0, s = 0, ms = 0;
        Decode(FTime, h, m, s, ms);
        const int other = h < 12 ? h + 12 : h - 12;
        FTargetHour = static_cast<Byte>(other);
        FInternalCall = true;
        TScopeExit done([this] { FInternalCall = false; });
        SetHour(static_cast<Byte>(other));
        return;
    }
    SetHour(static_cast<Byte>(XYToHour(X, Y)));
}

void TAdvWatch::HandleKey(Word Key)
{
    if (FSettings->GetAuto())
        return;
    Word h = 0, m = 0, s = 0, ms = 0;
    Decode(GetDisplayTime(), h, m, s, ms);
    auto internalHour = [this](int Hour) {
        FInternalCall = true;
        TScopeExit done([this] { FInternalCall = false; });
        SetHour(static_cast<Byte>(Hour));
    };
    switch (Key) {
    case 'A':
        if (h > 11)
            SetHour(static_cast<Byte>(h - 12));
        break;
    case 'P':
        if (h < 12)
            SetHour(static_cast<Byte>(h + 12));
        break;
    case VK_PRIOR:
        if (h == 23)
            internalHour(0);
        else
            SetHour(static_cast<Byte>(h + 1));
        break;
    case VK_NEXT:
        if (h == 0)
            internalHour(23);
        else
            SetHour(static_cast<Byte>(h - 1));
        break;
    case VK_HOME:
        internalHour(12);
        break;
    case VK_END:
        SetMinute(0);
        break;
    case VK_LEFT:
        if (m == 0) {
            // Back across the hour: one completed change, reported here
            // since the Time setter is silent.
            StopAnimation();
            SetTime(EncodeTime(h == 0 ? 23 : h - 1, 59, s, ms));
            Changed();
        } else {
            SetMinute(static_cast<Byte>(m - 1));
        }
        break;
    case VK_RIGHT:
        SetMinute(m == 59 ? 0 : static_cast<Byte>(m + 1));
        break;
    default:
        break;
    }
}

void TAdvWatch::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = GetTabStop() ? (DLGC_WANTARROWS | DLGC_WANTALLKEYS) : 0;
        return;
    case WM_SETCURSOR:
        if (!ComponentState().Contains(csDesigning)) {
            TCustomControl::Dispatch(Message);
            POINT p{};
            GetCursorPos(&p);
            p = ScreenToClient(p);
            const TRect ampm = GetAMPMRect();
            SetCursor(PtInRect(&ampm, p) ? crHandPoint : crDefault);
            return;
        }
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}
