// Gradients, colour mixing and text measuring shared by the drop-down editors.
#include "AdvDropDown.h"
#include "GridHTML.h"
#include "ImgList.h"
#include <algorithm>

namespace {

struct TChannels {
    int r, g, b;
};

TChannels Channels(TColor Color)
{
    COLORREF c = ColorToRGB(Color);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

TColor FromChannels(int r, int g, int b)
{
    return static_cast<TColor>(RGB(r, g, b));
}

// a / b rounded to the nearest integer, halves to the even neighbour. The
// quotient is formed in one step so that exact halves stay exact.
int RoundDiv(int a, int b)
{
    return static_cast<int>(Round(static_cast<double>(a) / b));
}

// DrawTextW on the canvas's DC with the canvas's font and text colour; the
// canvas's handle alone does not select them.
class TCanvasText {
public:
    explicit TCanvasText(TCanvas* Canvas)
        : dc_(Canvas->GetHandle()), saved_(dc_), font_(dc_, Canvas->GetFont()->GetHandle())
    {
        SetTextColor(dc_, ColorToRGB(Canvas->GetFont()->GetColor()));
        TBrush* brush = Canvas->GetBrush();
        SetBkColor(dc_, ColorToRGB(brush->GetColor()));
        SetBkMode(dc_, brush->GetStyle() == bsClear ? TRANSPARENT : OPAQUE);
    }
    int Draw(const String& Text, RECT& R, UINT Format)
    {
        return DrawTextW(dc_, Text.c_str(), static_cast<int>(Text.size()), &R, Format);
    }

private:
    HDC dc_;
    TSavedDC saved_;
    TSelectObject font_;
};

} // namespace

void DrawStepGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R,
                      bool Horizontal)
{
    // An empty rectangle (a hidden column) gets nothing, not a stray line.
    if (!Canvas || R.IsEmpty())
        return;
    if (Steps == 0)
        Steps = 1;
    if (Steps < 0)
        return;

    const TChannels from = Channels(FromColor);
    const TChannels to = Channels(ToColor);
    // The last row or column is left out of the band spacing, and each band is
    // one pixel longer than its share, so neighbours overlap.
    const int length = Horizontal ? R.Width() - 1 : R.Height() - 1;
    const int bandLength = RoundDiv(length, Steps) + 1;

    TPen* pen = Canvas->GetPen();
    TBrush* brush = Canvas->GetBrush();
    // A wider or clear pen, or a clear brush left by an earlier drawing,
    // would spill over or leave the bands empty.
    pen->SetWidth(1);
    pen->SetStyle(psSolid);
    brush->SetStyle(bsSolid);
    for (int i = 0; i < Steps; ++i) {
        const TColor band = FromChannels(from.r + RoundDiv(i * (to.r - from.r), Steps),
                                         from.g + RoundDiv(i * (to.g - from.g), Steps),
                                         from.b + RoundDiv(i * (to.b - from.b), Steps));
        pen->SetColor(band);
        brush->SetColor(band);
        // A band rounded up past the far edge would paint the neighbour's first
        // pixel (the next cell, a grid line), so it stops at the edge.
        const int start = RoundDiv(i * length, Steps);
        if (Horizontal)
            Canvas->Rectangle(R.left + start, R.top, std::min(R.left + start + bandLength, R.right), R.bottom);
        else
            Canvas->Rectangle(R.left, R.top + start, R.right, std::min(R.top + start + bandLength, R.bottom));
    }
}

TColor BlendColor(TColor Color1, TColor Color2, int Percent)
{
    if (Percent >= 100)
        return Color1;
    if (Percent <= 0)
        return Color2;
    const TChannels c1 = Channels(Color1);
    const TChannels c2 = Channels(Color2);
    auto mix = [Percent](int a, int b) { return RoundDiv(Percent * a + (100 - Percent) * b, 100); };
    return FromChannels(mix(c1.r, c2.r), mix(c1.g, c2.g), mix(c1.b, c2.b));
}

TColor ScaleColorChannels(TColor Color, int PercentRed, int PercentGreen, int PercentBlue)
{
    const TChannels c = Channels(Color);
    // Clamped to a byte: a percent above 255 or below -100 must not wrap
    // into an unrelated colour.
    auto scale = [](int value, int percent) {
        int scaled = value == 0 ? percent : RoundDiv(std::min(100, 100 + percent) * value, 100);
        return std::clamp(scaled, 0, 255);
    };
    return FromChannels(scale(c.r, PercentRed), scale(c.g, PercentGreen), scale(c.b, PercentBlue));
}

void FillGradientRect(TCanvas* Canvas, const TRect& R, TColor Color, TColor ColorTo, TColor BorderColor,
                      int BorderWidth, AdvDropDown::TGradientDirection Direction)
{
    if (!Canvas)
        return;
    if (ColorTo != clNone) {
        DrawStepGradient(Canvas, Color, ColorTo, 80, R, Direction == AdvDropDown::gdHorizontal);
    } else if (Color != clNone) {
        Canvas->GetBrush()->SetColor(Color);
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->FillRect(R);
    }
    if (BorderColor != clNone && BorderWidth > 0) {
        Canvas->GetBrush()->SetStyle(bsClear);
        Canvas->GetPen()->SetStyle(psSolid);
        Canvas->GetPen()->SetWidth(BorderWidth);
        Canvas->GetPen()->SetColor(BorderColor);
        Canvas->Rectangle(R);
    }
}

void DrawImageAndText(TCanvas* Canvas, const TRect& R, const String& Text, int ImageIndex,
                      TCustomImageList* Images)
{
    if (!Canvas)
        return;
    TRect textRect = R;
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (ImageIndex >= 0 && Images) {
        Images->Draw(Canvas, R.left + 4, R.top + (R.Height() - Images->GetHeight()) / 2, ImageIndex, true);
        textRect.left += Images->GetWidth() + 8;
    } else {
        format |= DT_CENTER;
    }
    if (!Text.empty())
        TCanvasText(Canvas).Draw(Text, textRect, format);
}

TSize MeasureTextSize(TCanvas* Canvas, const String& Text)
{
    if (!Canvas || Text.empty())
        return {0, 0};
    RECT r{0, 0, 1000, 500};
    TCanvasText(Canvas).Draw(Text, r, DT_CALCRECT | DT_SINGLELINE);
    return {r.right, r.bottom};
}

String FitTextToWidth(TCanvas* Canvas, const String& Text, int MaxWidth, bool AddEllipsis)
{
    if (MeasureTextSize(Canvas, Text).cx <= MaxWidth)
        return Text;
    for (size_t keep = Text.size(); keep-- > 0;) {
        String candidate = Text.substr(0, keep);
        if (AddEllipsis)
            candidate += L"...";
        if (MeasureTextSize(Canvas, candidate).cx < MaxWidth)
            return candidate;
    }
    return Text;
}

TSize DrawHTMLText(TCanvas* Canvas, const String& Text, const TRect& R, TCustomImageList* Images, bool Paint,
                   HWND Handle)
{
    if (!Canvas || Text.empty())
        return {0, 0};
    String anchor, strip, focusAnchor, anchorHint, controlId, controlValue, controlType;
    int width = 0, height = 0, hyperLinks = 0, mouseLink = 0;
    TRect hoverRect, controlRect;
    GridHTMLDraw(Canvas, Text, R, Images, 0, 0, -1, -1, 1, false, !Paint, false, false, true, false, true, false,
                 String(), 1.0, clBlue, clNone, clNone, clGray, anchor, strip, focusAnchor, anchorHint, width,
                 height, hyperLinks, mouseLink, hoverRect, controlRect, controlId, controlValue, controlType,
                 nullptr, nullptr, Handle, bdLeftToRight);
    return {width, height};
}
