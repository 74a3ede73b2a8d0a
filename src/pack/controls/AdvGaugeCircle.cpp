// The circular gauge: its values, its painting through GDI+ and its step
// pictures.
#include "AdvGaugeCircle.h"
#include "GdiHandles.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>

TAdvGaugeCircle::TAdvGaugeCircle(TComponent* AOwner) : TCustomControl(AOwner)
{
    FBackground.reset(New<TGDIPFill>());
    FBackground->SetColor(clWhite);
    FBackground->SetColorTo(clWhite);
    FBackground->OnChange = [this](TObject*) { Invalidate(); };
    FPictureUp.reset(New<TAdvGDIPPicture>());
    FPictureDown.reset(New<TAdvGDIPPicture>());
    // A missing resource leaves the picture empty: neither drawn nor clickable.
    FPictureUp->LoadFromResourceName(HInstance(), L"PACKGUP");
    FPictureDown->LoadFromResourceName(HInstance(), L"PACKGDOWN");
    FPictureUp->OnChange = [this](TObject*) { Invalidate(); };
    FPictureDown->OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(GetLeft(), GetTop(), 100, 100);
    SetDoubleBuffered(true);
    GetFont()->SetName(L"Trebuchet Sans MS");
    GetFont()->SetSize(14);
    GetFont()->SetColor(clBlack);
}

TAdvGaugeCircle::~TAdvGaugeCircle() = default;

void TAdvGaugeCircle::SetMaximum(double Value)
{
    if (Value != FMaximum && Value > FMinimum)
        Store(FMaximum, Value);
}

void TAdvGaugeCircle::SetMinimum(double Value)
{
    if (Value != FMinimum && Value < FMaximum)
        Store(FMinimum, Value);
}

void TAdvGaugeCircle::SetPosition(double Value)
{
    if (Value >= FMinimum && Value <= FMaximum)
        Store(FPosition, Value);
}

void TAdvGaugeCircle::SetIncrement(double Value) { Store(FIncrement, Value); }
void TAdvGaugeCircle::SetEndPosition(double Value) { Store(FEndPosition, Value); }
void TAdvGaugeCircle::SetMinText(const String& Value) { Store(FMinText, Value); }
void TAdvGaugeCircle::SetMaxText(const String& Value) { Store(FMaxText, Value); }
void TAdvGaugeCircle::SetInnerMargin(int Value) { Store(FInnerMargin, Value); }
void TAdvGaugeCircle::SetArcWidth(double Value) { Store(FArcWidth, Value); }
void TAdvGaugeCircle::SetPenColor(TColor Value) { Store(FPenColor, Value); }
void TAdvGaugeCircle::SetPenOpacity(Byte Value) { Store(FPenOpacity, Value); }
void TAdvGaugeCircle::SetCircleBackgroundColor(TColor Value) { Store(FCircleBackgroundColor, Value); }
void TAdvGaugeCircle::SetFormat(const String& Value) { Store(FFormat, Value); }
void TAdvGaugeCircle::SetText(const String& Value) { Store(FText, Value); }
void TAdvGaugeCircle::SetShowUpDown(bool Value) { Store(FShowUpDown, Value); }

void TAdvGaugeCircle::SetPictureUp(TAdvGDIPPicture* Value)
{
    if (Value != FPictureUp.get())
        FPictureUp->Assign(Value);
    Invalidate();
}

void TAdvGaugeCircle::SetPictureDown(TAdvGDIPPicture* Value)
{
    if (Value != FPictureDown.get())
        FPictureDown->Assign(Value);
    Invalidate();
}

String TAdvGaugeCircle::ValueText() const
{
    if (FFormat.empty())
        return FloatToStr(FPosition);
    // A format that does not take a floating argument would otherwise raise
    // out of every paint.
    try {
        return Format(FFormat, FPosition);
    } catch (const EConvertError&) {
        return FloatToStr(FPosition);
    }
}

void TAdvGaugeCircle::Dispatch(TMessage& Message)
{
    // The background fill covers the whole client area.
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(Message);
}

namespace {

bool Drawable(TAdvGDIPPicture* Picture) { return Picture && !Picture->GetEmpty(); }

// The picture's size scaled down to fit Space high and Side wide; no size
// when there is no room at all.
void ScaleStep(double& w, double& h, double Space, double Side)
{
    if (Space <= 0 || Side <= 0) {
        w = h = 0;
        return;
    }
    if (Space < h && h != 0) {
        w = w * Space / h;
        h = Space;
    }
    if (w > Side && w != 0) {
        h = h * Side / w;
        w = Side;
    }
}

} // namespace

void TAdvGaugeCircle::Paint()
{
    TCanvas* canvas = GetCanvas();
    const HDC dc = canvas->GetHandle();
    const int w = GetWidth();
    const int h = GetHeight();

    TGPGraphics graphics(dc);
    graphics.SetSmoothingMode(SmoothingModeAntiAlias);
    graphics.SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
    FBackground->Fill(&graphics, TGPRectF{0, 0, static_cast<float>(w), static_cast<float>(h)}, 255, 255, 255, 255,
                      255);

    // The ring's square, centred in the client area.
    const double side = std::min(w, h) - 2.0 * FInnerMargin - FArcWidth;
    const double halfPen = std::trunc(FArcWidth / 2);
    const double left = std::max(0.0, (w - h) / 2.0) + FInnerMargin + halfPen;
    const double top = std::max(0.0, (h - w) / 2.0) + FInnerMargin + halfPen;
    const float fl = static_cast<float>(left), ft = static_cast<float>(top), fs = static_cast<float>(side);

    // A Maximum lowered (or a Minimum raised) past Position leaves Position
    // where it was: the ring shows it as full (or empty).
    double fraction = FMaximum == FMinimum ? 0.0 : (FPosition - FMinimum) / (FMaximum - FMinimum);
    fraction = std::clamp(fraction, 0.0, 1.0);
    const float sweep = static_cast<float>(fraction * 360.0);
    TGPPen valuePen(ColorToGPColorAlpha(FPenOpacity, FPenColor), static_cast<float>(FArcWidth));
    TGPPen ringPen(ColorToGPColorAlpha(FPenOpacity, FCircleBackgroundColor), static_cast<float>(FArcWidth));
    if (sweep < 360)
        graphics.DrawArc(&ringPen, fl, ft, fs, fs, 270 + sweep, 360 - sweep);
    if (sweep > 0)
        graphics.DrawArc(&valuePen, fl, ft, fs, fs, 270, sweep);

    // The font as GDI realises it, so that a face that is not installed
    // takes the platform's substitute rather than failing.
    std::unique_ptr<TGPFont> font;
    {
        const TSelectObject selected(dc, GetFont()->GetHandle());
        font = std::make_unique<TGPFont>(dc);
    }
    if (font->GetLastStatus() != Ok)
        font = graphics.MakeFont(GetFont());
    TGPSolidBrush textBrush(ColorToGPColorAlpha(255, GetFont()->GetColor()));
    const TGPRectF layout{0, 0, 10000, 10000};

    const String value = ValueText();
    TGPRectF valueBox;
    graphics.MeasureString(value, -1, font.get(), layout, valueBox);
    const float valueLeft = fl + fs / 2 - valueBox.Width / 2;
    const float valueTop = ft + fs / 2 - valueBox.Height / 2;
    graphics.DrawString(value, -1, font.get(), TGPPointF{valueLeft, valueTop}, &textBrush);
    const float valueBottom = valueTop + valueBox.Height;

    // The hit areas are what this paint draws: nothing when the pictures
    // are off or missing.
    FRectUp = TGPRectF{};
    FRectDown = TGPRectF{0, valueBottom, 0, 0};
    if (FShowUpDown) {
        const double space = valueTop - top;
        if (Drawable(FPictureUp.get())) {
            double pw = FPictureUp->GetWidth(), ph = FPictureUp->GetHeight();
            ScaleStep(pw, ph, space, side);
            if (pw > 0 && ph > 0) {
                FRectUp = TGPRectF{static_cast<float>(left + side / 2 - pw / 2), static_cast<float>(valueTop - ph),
                                   static_cast<float>(pw), static_cast<float>(ph)};
                FPictureUp->GDIPDraw(&graphics, FRectUp);
            }
        }
        if (Drawable(FPictureDown.get())) {
            double pw = FPictureDown->GetWidth(), ph = FPictureDown->GetHeight();
            ScaleStep(pw, ph, space, side);
            if (pw > 0 && ph > 0) {
                FRectDown = TGPRectF{static_cast<float>(left + side / 2 - pw / 2), valueBottom,
                                     static_cast<float>(pw), static_cast<float>(ph)};
                FPictureDown->GDIPDraw(&graphics, FRectDown);
            }
        }
    }

    // The caption under the value (or under the down picture), when it
    // stays inside the ring's square.
    if (!FText.empty()) {
        TGPRectF textBox;
        graphics.MeasureString(FText, -1, font.get(), layout, textBox);
        const float x = fl + fs / 2 - textBox.Width / 2;
        const float y = FRectDown.Y + FRectDown.Height;
        if (y + textBox.Height < ft + fs)
            graphics.DrawString(FText, -1, font.get(), TGPPointF{x, y}, &textBrush);
    }
}

bool TAdvGaugeCircle::Hits(const TGPRectF& Area, int X, int Y) const
{
    if (!FShowUpDown || Area.Width <= 0 || Area.Height <= 0)
        return false;
    return X >= Area.X && X <= Area.X + Area.Width && Y >= Area.Y && Y <= Area.Y + Area.Height;
}

void TAdvGaugeCircle::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Drawable(FPictureDown.get()) && Hits(FRectDown, X, Y)) {
        SetPosition(std::max(FMinimum, FPosition - FIncrement));
        FireEvent(OnClickDown, this);
    }
    if (Drawable(FPictureUp.get()) && Hits(FRectUp, X, Y)) {
        SetPosition(std::min(FMaximum, FPosition + FIncrement));
        FireEvent(OnClickUp, this);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}
