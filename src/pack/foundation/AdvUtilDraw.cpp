// Cell backgrounds and selection bands, drawn with plain GDI through the canvas.
#include "AdvUtil.h"
#include "SysUtils.h"
#include <algorithm>
#include <utility>

namespace {

// Bands and lines must cover exactly their pixels: a wider or dashed pen or
// a clear brush left by earlier drawing would spill over or leave gaps.
void PlainPenAndBrush(TCanvas* Canvas)
{
    Canvas->GetPen()->SetWidth(1);
    Canvas->GetPen()->SetStyle(psSolid);
    Canvas->GetBrush()->SetStyle(bsSolid);
}

void FillSolid(TCanvas* Canvas, TColor Color, const TRect& R)
{
    Canvas->GetPen()->SetColor(Color);
    Canvas->GetBrush()->SetColor(Color);
    Canvas->Rectangle(R);
}

// A line from (X1, Y1) up to, not including, (X2, Y2).
void Line(TCanvas* Canvas, TColor Color, int X1, int Y1, int X2, int Y2)
{
    Canvas->GetPen()->SetColor(Color);
    Canvas->MoveTo(X1, Y1);
    Canvas->LineTo(X2, Y2);
}

int Channel(COLORREF From, COLORREF To, int Shift, int Step, int Steps)
{
    const int from = (From >> Shift) & 0xFF;
    const int to = (To >> Shift) & 0xFF;
    return from + static_cast<int>(Round(static_cast<double>(Step) * (to - from) / Steps));
}

} // namespace

void DrawGradientRect(TCanvas* Canvas, TColor ColorFrom, TColor ColorTo, int Steps, const TRect& R,
                      bool Horizontal)
{
    TRect rect = R;
    if (rect.top > rect.bottom)
        std::swap(rect.top, rect.bottom);
    if (!Canvas || rect.IsEmpty() || (ColorFrom == clNone && ColorTo == clNone))
        return;
    PlainPenAndBrush(Canvas);
    if (ColorFrom == clNone || ColorTo == clNone) {
        FillSolid(Canvas, ColorFrom == clNone ? ColorTo : ColorFrom, rect);
        return;
    }
    const COLORREF from = ColorToRGB(ColorFrom);
    const COLORREF to = ColorToRGB(ColorTo);
    const int extent = Horizontal ? rect.Width() : rect.Height();
    // The bands are spaced over all pixels but the last; the band after the
    // last step lands on that pixel, so ColorTo itself shows at the far edge.
    const int size = extent - 1;
    const int steps = std::clamp(Steps, 1, std::max(size, 1));
    const double bandSpacing = static_cast<double>(size) / steps;
    const int bandLength = static_cast<int>(Trunc(bandSpacing + 1));
    for (int i = 0; i <= steps; ++i) {
        const int start = static_cast<int>(Trunc(i * bandSpacing));
        const int end = std::min(start + bandLength, extent);
        if (start >= end)
            continue;
        const TColor band = static_cast<TColor>(RGB(Channel(from, to, 0, i, steps), Channel(from, to, 8, i, steps),
                                                    Channel(from, to, 16, i, steps)));
        if (Horizontal)
            FillSolid(Canvas, band, TRect(rect.left + start, rect.top, rect.left + end, rect.bottom));
        else
            FillSolid(Canvas, band, TRect(rect.left, rect.top + start, rect.right, rect.top + end));
    }
}

void DrawCellBackground(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor MirrorColor,
                        TColor MirrorColorTo, bool Vertical, TColor BorderColor, bool SidesOnly, bool Fill)
{
    if (!Canvas)
        return;
    constexpr int Steps = 128;
    if (Fill && Color != clNone) {
        if (MirrorColor == clNone && ColorTo == clNone) {
            Canvas->GetBrush()->SetStyle(bsSolid);
            Canvas->GetBrush()->SetColor(Color);
            Canvas->FillRect(TRect(R.left, R.top, R.right, R.bottom + 1));
        } else if (MirrorColor == clNone) {
            DrawGradientRect(Canvas, Color, ColorTo, Steps, R, !Vertical);
        } else {
            TRect first = R;
            TRect second = R;
            if (Vertical)
                first.bottom = second.top = R.top + R.Height() / 2;
            else
                first.right = second.left = R.left + R.Width() / 2;
            DrawGradientRect(Canvas, Color, ColorTo, Steps, first, !Vertical);
            DrawGradientRect(Canvas, MirrorColor, MirrorColorTo, Steps, second, !Vertical);
        }
    }
    if (BorderColor == clNone)
        return;
    if (SidesOnly) {
        PlainPenAndBrush(Canvas);
        Line(Canvas, BorderColor, R.left, R.top, R.left, R.bottom);
        Line(Canvas, BorderColor, R.right - 1, R.top, R.right - 1, R.bottom);
    } else {
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->GetBrush()->SetColor(BorderColor);
        Canvas->FrameRect(R);
    }
}

void DrawStyledSelectionRect(TCanvas* Canvas, TColor Color, TColor ColorTo, TColor MirrorColor,
                             TColor MirrorColorTo, TColor InnerTopColor, TColor InnerBottomColor,
                             TColor BorderColor, TColor CornerColor, TColor BackgroundColor, const TRect& R,
                             int Part)
{
    if (!Canvas)
        return;
    // Columns Left .. Right - 1 and rows Top .. Bottom: the cell less the
    // column and row its grid lines take.
    const int left = R.left;
    const int top = R.top;
    const int right = R.right - 1;
    const int bottom = R.bottom - 2;
    if (right <= left || bottom <= top)
        return;
    const bool roundLeft = Part == 0 || Part == 1;
    const bool roundRight = Part == 0 || Part == 2;
    const int insetLeft = roundLeft || Part > 3 ? 2 : 0;
    const int insetRight = roundRight || Part > 3 ? 2 : 0;
    const int middle = (top + bottom) / 2;
    PlainPenAndBrush(Canvas);

    const TRect inside(left + insetLeft, top + 2, right - insetRight, bottom - 1);
    constexpr int Steps = 16;
    if (ColorTo == clNone) {
        FillSolid(Canvas, Color, inside);
    } else if (MirrorColor == clNone) {
        DrawGradientRect(Canvas, Color, ColorTo, Steps, inside, false);
    } else {
        const int half = inside.top + inside.Height() / 2;
        DrawGradientRect(Canvas, Color, ColorTo, Steps, TRect(inside.left, inside.top, inside.right, half), false);
        DrawGradientRect(Canvas, MirrorColor, MirrorColorTo, Steps,
                         TRect(inside.left, half, inside.right, inside.bottom), false);
    }

    const int innerLeft = roundLeft ? left + 1 : left + insetLeft;
    const int innerRight = roundRight ? right - 1 : right - insetRight;
    Line(Canvas, InnerTopColor, innerLeft, top + 1, innerRight, top + 1);
    Line(Canvas, InnerBottomColor, innerLeft, bottom - 1, innerRight, bottom - 1);
    Line(Canvas, BorderColor, left + insetLeft, top, right - insetRight, top);
    Line(Canvas, BorderColor, left + insetLeft, bottom, right - insetRight, bottom);

    // A rounded end: outer and inner edge, then the 2 x 2 corners, whose
    // outermost pixel shows the surface behind the band.
    auto roundEnd = [&](int outerX, int innerX, int inward) {
        Line(Canvas, InnerTopColor, innerX, top + 1, innerX, middle);
        Line(Canvas, InnerBottomColor, innerX, middle, innerX, bottom);
        Line(Canvas, BorderColor, outerX, top + 2, outerX, bottom - 1);
        for (int cornerY : {top, bottom}) {
            const int towardsMiddle = cornerY == top ? 1 : -1;
            Canvas->SetPixels(outerX, cornerY, BackgroundColor);
            Canvas->SetPixels(innerX, cornerY, CornerColor);
            Canvas->SetPixels(outerX, cornerY + towardsMiddle, CornerColor);
            Canvas->SetPixels(outerX + inward, cornerY + towardsMiddle, CornerColor);
        }
    };
    if (roundLeft)
        roundEnd(left, left + 1, 1);
    if (roundRight)
        roundEnd(right - 1, right - 2, -1);
}
