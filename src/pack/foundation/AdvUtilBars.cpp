// Colour arithmetic and the bars of cells: the two-colour progress bar, the
// level bar, the balance bar and the pie.
#include "AdvUtil.h"
#include "AdvUtilCanvas.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

int Channel(COLORREF Color, int Shift) { return (Color >> Shift) & 0xFF; }

TColor FromChannels(int Red, int Green, int Blue)
{
    return static_cast<TColor>(RGB(std::clamp(Red, 0, 255), std::clamp(Green, 0, 255), std::clamp(Blue, 0, 255)));
}

void SolidPen(TCanvas* Canvas, TColor Color, int Width = 1)
{
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetPen()->SetWidth(Width);
    Canvas->GetPen()->SetColor(Color);
}

void SolidBrush(TCanvas* Canvas, TColor Color)
{
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(Color);
}

void FillSolid(TCanvas* Canvas, TColor Color, const TRect& R)
{
    SolidPen(Canvas, Color);
    SolidBrush(Canvas, Color);
    Canvas->Rectangle(R);
}

TRect Shrunk(const TRect& R, int X, int Y) { return TRect(R.left + X, R.top + Y, R.right - X, R.bottom - Y); }

// The formatted value: rounded for integer formats. A format that does not
// take the value that way gets it the other way before it gets no text.
String FormatValue(const String& Fmt, double Value)
{
    const bool integer = Fmt.find_first_of(L"du") != String::npos;
    try {
        return integer ? Format(Fmt, static_cast<int>(Round(Value))) : Format(Fmt, Value);
    } catch (const EConvertError&) {
    }
    try {
        return integer ? Format(Fmt, Value) : Format(Fmt, static_cast<int>(Round(Value)));
    } catch (const EConvertError&) {
        return L"";
    }
}

} // namespace

TColor InterpolateColor(TColor ColorFrom, TColor ColorTo, int StepFrom, int StepTo, int Step)
{
    if (ColorTo == clNone || StepTo == StepFrom)
        return ColorFrom;
    const COLORREF from = ColorToRGB(ColorFrom);
    const COLORREF to = ColorToRGB(ColorTo);
    auto mix = [&](int shift) {
        const int f = Channel(from, shift);
        return f + static_cast<int>(Round(static_cast<double>(Channel(to, shift) - f) / (StepTo - StepFrom) * Step));
    };
    return FromChannels(mix(0), mix(8), mix(16));
}

TColor HalveColor(TColor Color)
{
    const COLORREF c = ColorToRGB(Color);
    return FromChannels(Channel(c, 0) >> 1, Channel(c, 8) >> 1, Channel(c, 16) >> 1);
}

TColor BrightenColor(TColor Color, int Percent)
{
    const COLORREF c = ColorToRGB(Color);
    auto scale = [&](int shift) {
        const int v = Channel(c, shift);
        return static_cast<int>(Round(v + v * Percent / 100.0));
    };
    return FromChannels(scale(0), scale(8), scale(16));
}

void FillRectColor(TCanvas* Canvas, const TRect& R, TColor Color)
{
    if (!Canvas)
        return;
    SolidBrush(Canvas, Color);
    Canvas->FillRect(R);
}

void DrawSmallDownArrow(TCanvas* Canvas, int X, int Y, TColor Color)
{
    if (!Canvas)
        return;
    SolidPen(Canvas, Color);
    SolidBrush(Canvas, Color);
    Canvas->Polygon({TPoint(X - 3, Y), TPoint(X + 3, Y), TPoint(X, Y + 3)});
}

void DrawProgressBar(TCanvas* Canvas, const TRect& R, TColor FillColor, TColor FillTextColor, TColor EmptyColor,
                     TColor EmptyTextColor, double Value, int MarginX, int MarginY, double Min, double Max,
                     const String& Format, TColor BorderColor, bool TextBelowCentre)
{
    if (!Canvas)
        return;
    const TRect bar = Shrunk(R, MarginX, MarginY);
    if (bar.IsEmpty())
        return;
    const TColor entryBrush = Canvas->GetBrush()->GetColor();
    String text;
    Int64 percent = 0;
    if (!Format.empty()) {
        text = FormatValue(Format, Value);
        // No range, no progress: an empty bar rather than a division by zero.
        if (Max != Min)
            percent = Round((Value - Min) * 100 / (Max - Min));
    } else {
        percent = Round(Value);
        text = IntToStr(percent) + L"%";
    }
    percent = std::clamp<Int64>(percent, 0, 100);

    const int fillEnd = bar.left + static_cast<int>(Round(static_cast<double>(percent) * bar.Width() / 100));
    const TSize extent = Canvas->TextExtent(text);
    const int x = bar.left + (bar.Width() - extent.cx) / 2;
    const int y = TextBelowCentre ? bar.top + (bar.Height() + extent.cy) / 2 : bar.top + (bar.Height() - extent.cy) / 2;
    // One text position for both parts, so the text changes colour where the fill ends.
    SolidBrush(Canvas, FillColor);
    Canvas->GetFont()->SetColor(FillTextColor);
    Canvas->TextRect(TRect(bar.left, bar.top, fillEnd, bar.bottom), x, y, text);
    SolidBrush(Canvas, EmptyColor);
    Canvas->GetFont()->SetColor(EmptyTextColor);
    Canvas->TextRect(TRect(fillEnd, bar.top, bar.right, bar.bottom), x, y, text);

    const TRect border = Shrunk(bar, -1, -1);
    if (BorderColor != clNone) {
        SolidBrush(Canvas, BorderColor);
        Canvas->FrameRect(border);
    }
    SolidBrush(Canvas, entryBrush);
    SolidPen(Canvas, entryBrush);
    Canvas->FrameRect(Shrunk(border, -1, -1));
}

void DrawLevelProgressBar(TCanvas* Canvas, const TRect& R, int Percent, const TProgressBarParams& Params)
{
    if (!Canvas || R.IsEmpty())
        return;
    const int percent = std::clamp(Percent, 0, 100);
    const TProgressBarParams& p = Params;
    const TColor outline = p.ShowBorder ? p.BorderColor : p.BackgroundColor;
    SolidPen(Canvas, outline);
    SolidBrush(Canvas, p.BackgroundColor);
    Canvas->Rectangle(R);
    const int size = (p.Vertical ? R.Height() : R.Width()) - 2;

    // A bar From units past the start (the left edge, or the bottom edge of
    // a vertical bar) and Length long, one unit in from each side.
    auto paint = [&](int from, int length, TColor color, TColor colorTo) {
        if (length <= 0)
            return;
        const TRect bar = p.Vertical
                              ? TRect(R.left + 1, R.bottom - 1 - from - length, R.right - 1, R.bottom - 1 - from)
                              : TRect(R.left + 1 + from, R.top + 1, R.left + 1 + from + length, R.bottom - 1);
        if (!p.ShowGradient) {
            FillSolid(Canvas, color, bar);
            return;
        }
        // Light at both sides, the colour itself in the middle.
        TRect first = bar, second = bar;
        if (p.Vertical)
            first.right = second.left = bar.left + bar.Width() / 2;
        else
            first.bottom = second.top = bar.top + bar.Height() / 2;
        DrawGradientRect(Canvas, colorTo, color, p.Steps, first, p.Vertical);
        DrawGradientRect(Canvas, color, colorTo, p.Steps, second, p.Vertical);
    };
    auto length = [&](int part) { return static_cast<int>(Round(static_cast<double>(size) * part / 100)); };

    if (percent > 0) {
        if (p.Stacked) {
            const int first = length(std::min(percent, p.Level1Perc));
            paint(0, first, p.Level0Color, p.Level0ColorTo);
            if (percent >= p.Level1Perc) {
                const int second = length(std::min(percent, p.Level2Perc) - p.Level1Perc);
                paint(first, second, p.Level1Color, p.Level1ColorTo);
                if (percent >= p.Level2Perc) {
                    const int third = percent == 100 ? size - first - second : length(percent - p.Level2Perc);
                    paint(first + second, third, p.Level3Color, p.Level3ColorTo);
                }
            }
        } else {
            TColor color = p.Level2Color, colorTo = p.Level2ColorTo;
            if (percent < p.Level1Perc)
                color = p.Level0Color, colorTo = p.Level0ColorTo;
            else if (percent < p.Level2Perc)
                color = p.Level1Color, colorTo = p.Level1ColorTo;
            else if (percent > 99)
                color = p.Level3Color, colorTo = p.Level3ColorTo;
            if (p.CompletionSmooth) {
                paint(0, static_cast<int>(Round(percent / 100.0 * size)), color, colorTo);
            } else {
                // Blocks of 7 with gaps of 2, from 2 units in.
                const int filled = length(percent);
                if (filled > 9) {
                    const int blocks = filled / 9;
                    for (int i = 0; i < blocks; ++i)
                        paint(1 + i * 9, 7, color, colorTo);
                    const int rest = filled % 9;
                    if (rest > 2)
                        paint(1 + blocks * 9, rest - 1, color, colorTo);
                } else if (filled > 1) {
                    paint(1, filled - 1, color, colorTo);
                }
            }
        }
    }

    if (p.ShowPercentage) {
        TFont* font = Canvas->GetFont();
        if (p.Font) {
            font->SetName(p.Font->GetName());
            font->SetSize(p.Font->GetSize());
            font->SetStyle(p.Font->GetStyle());
        }
        font->SetColor(p.CompleteFontColor);
        Canvas->GetBrush()->SetStyle(bsClear);
        const String text = IntToStr(percent) + L"%";
        const TSize extent = Canvas->TextExtent(text);
        if (p.Vertical) {
            font->SetOrientation(900);
            // Rotated text runs upwards from its start, its top to the left.
            Canvas->TextOut(R.left + (R.Width() - extent.cy) / 2, R.top + (R.Height() + extent.cx) / 2, text);
            font->SetOrientation(0);
        } else {
            Canvas->TextOut(R.left + (R.Width() - extent.cx) / 2, R.top + (R.Height() - extent.cy) / 2, text);
        }
    }
    Canvas->GetBrush()->SetStyle(bsClear);
    SolidPen(Canvas, outline);
    Canvas->Rectangle(R);
}

void DrawBalanceBar(TCanvas* Canvas, const TRect& R, int Value, int MaxValue, bool ShowValue, TColor NegativeColor,
                    TColor PositiveColor)
{
    if (!Canvas)
        return;
    const TRect bar = Shrunk(R, 2, 2);
    const int half = bar.Width() / 2;
    const int centre = bar.left + half;
    // Without a range there is no bar to draw.
    if (MaxValue > 0 && half > 0) {
        const int value = std::clamp(Value, -MaxValue, MaxValue);
        const int x = static_cast<int>(Round(static_cast<double>(half) * value / MaxValue));
        if (x < 0)
            FillSolid(Canvas, NegativeColor, TRect(centre + x, bar.top, centre, bar.bottom));
        else if (x > 0)
            FillSolid(Canvas, PositiveColor, TRect(centre, bar.top, centre + x, bar.bottom));
    }
    if (ShowValue) {
        Canvas->GetBrush()->SetStyle(bsClear);
        RECT textRect = bar;
        advutil::CanvasDrawText(Canvas, IntToStr(Value), textRect, DT_CENTER | DT_NOPREFIX);
    }
}

void DrawPieGlyph(TCanvas* Canvas, const TRect& R, TColor Color, int Percent, bool FillAbove)
{
    if (!Canvas || R.IsEmpty())
        return;
    constexpr TColor Grey = 0x808080;
    SolidPen(Canvas, Grey);
    Canvas->GetBrush()->SetStyle(bsClear);
    Canvas->Ellipse(R);
    const int cx = R.left + R.Width() / 2;
    const int cy = R.top + R.Height() / 2;
    Canvas->MoveTo(cx, cy);
    Canvas->LineTo(cx, R.top);
    const double angle = Percent / 100.0 * 2 * std::numbers::pi;
    Canvas->MoveTo(cx, cy);
    Canvas->LineTo(cx + static_cast<int>(Round(std::sin(angle) * (R.Width() / 2 + 1))),
                   cy - static_cast<int>(Round(std::cos(angle) * (R.Height() / 2 + 1))));
    if (Percent != 0) {
        SolidBrush(Canvas, Color);
        Canvas->FloodFill(cx + 1, FillAbove ? R.top - 2 : R.top + 2, Grey, fsBorder);
    }
}
