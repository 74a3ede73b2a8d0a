// The circular gauge: its values and its plain painting.
#include "AdvGaugeCircle.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <numbers>

TAdvGaugeCircle::TAdvGaugeCircle(TComponent* AOwner) : TCustomControl(AOwner)
{
    FBackground.reset(New<TGDIPFill>());
    FBackground->SetColor(clWhite);
    FBackground->SetColorTo(clWhite);
    FBackground->OnChange = [this](TObject*) { Invalidate(); };
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

void TAdvGaugeCircle::SetIncrement(double Value)
{
    Store(FIncrement, Value);
}

void TAdvGaugeCircle::SetInnerMargin(int Value)
{
    Store(FInnerMargin, Value);
}

void TAdvGaugeCircle::SetArcWidth(double Value)
{
    Store(FArcWidth, Value);
}

void TAdvGaugeCircle::SetPenColor(TColor Value)
{
    Store(FPenColor, Value);
}

void TAdvGaugeCircle::SetCircleBackgroundColor(TColor Value)
{
    Store(FCircleBackgroundColor, Value);
}

void TAdvGaugeCircle::SetFormat(const String& Value)
{
    Store(FFormat, Value);
}

void TAdvGaugeCircle::SetText(const String& Value)
{
    Store(FText, Value);
}

String TAdvGaugeCircle::ValueText() const
{
    return FFormat.empty() ? FloatToStr(FPosition) : Format(FFormat, FPosition);
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

// The point on the ray from the centre at Degrees clockwise from the top,
// far enough out that rounding does not bend the ray.
TPoint RayPoint(double cx, double cy, double Degrees)
{
    const double rad = Degrees * std::numbers::pi / 180.0;
    constexpr double reach = 10000.0;
    return {static_cast<LONG>(std::lround(cx + reach * std::sin(rad))),
            static_cast<LONG>(std::lround(cy - reach * std::cos(rad)))};
}

} // namespace

void TAdvGaugeCircle::Paint()
{
    TCanvas* canvas = GetCanvas();
    const int w = GetWidth();
    const int h = GetHeight();
    FBackground->Fill(canvas, TRect(0, 0, w, h));

    // The ring's square, centred in the client area.
    const double side = std::min(w, h) - 2.0 * FInnerMargin - FArcWidth;
    const double halfPen = std::trunc(FArcWidth / 2);
    const double left = std::max(0.0, (w - h) / 2.0) + FInnerMargin + halfPen;
    const double top = std::max(0.0, (h - w) / 2.0) + FInnerMargin + halfPen;
    const double cx = left + side / 2;
    const double cy = top + side / 2;

    const double fraction = FMaximum == FMinimum ? 0.0 : (FPosition - FMinimum) / (FMaximum - FMinimum);
    const double sweep = fraction * 360.0;
    const TRect ring(static_cast<LONG>(std::lround(left)), static_cast<LONG>(std::lround(top)),
                     static_cast<LONG>(std::lround(left + side)), static_cast<LONG>(std::lround(top + side)));
    TPen* pen = canvas->GetPen();
    pen->SetStyle(psSolid);
    pen->SetWidth(std::max(1, static_cast<int>(std::lround(FArcWidth))));
    // The canvas draws arcs counter-clockwise from the start ray to the end
    // ray, so a clockwise sweep is drawn from its end back to its start.
    const TPoint topRay = RayPoint(cx, cy, 0);
    const TPoint valueRay = RayPoint(cx, cy, sweep);
    // Equal rays make the canvas draw a whole circle: then only the longer
    // of the two arcs is drawn.
    const bool sameRay = valueRay == topRay;
    if (sweep < 360.0 && !(sameRay && sweep > 180.0)) {
        pen->SetColor(FCircleBackgroundColor);
        canvas->Arc(ring.left, ring.top, ring.right, ring.bottom, topRay.x, topRay.y, valueRay.x, valueRay.y);
    }
    if (sweep > 0.0 && !(sameRay && sweep < 180.0)) {
        pen->SetColor(FPenColor);
        canvas->Arc(ring.left, ring.top, ring.right, ring.bottom, valueRay.x, valueRay.y, topRay.x, topRay.y);
    }

    canvas->GetFont()->Assign(GetFont());
    canvas->GetBrush()->SetStyle(bsClear);
    const String value = ValueText();
    const TSize valueSize = canvas->TextExtent(value);
    const double valueTop = cy - valueSize.cy / 2.0;
    canvas->TextOut(static_cast<int>(cx - valueSize.cx / 2.0), static_cast<int>(valueTop), value);

    // The caption goes right under the value, when it fits inside the ring's square.
    if (!FText.empty()) {
        const TSize textSize = canvas->TextExtent(FText);
        const double textTop = valueTop + valueSize.cy;
        if (textTop + textSize.cy < top + side)
            canvas->TextOut(static_cast<int>(cx - textSize.cx / 2.0), static_cast<int>(textTop), FText);
    }
    canvas->GetBrush()->SetStyle(bsSolid);
}
