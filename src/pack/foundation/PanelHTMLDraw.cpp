// The panel variant's entry, and the banded gradient its backgrounds use.
#include "PanelHTML.h"

#include "GridHTMLEngine.h"
#include "ScopeExit.h"
#include "SysUtils.h"
#include <algorithm>

using namespace gridhtml;

bool PanelHTMLDraw(TCanvas* Canvas, const String& Text, const TRect& Rect, TCustomImageList* Images,
                   int HitX, int HitY, int FocusLink, int HoverLink, int ShadowOffset,
                   bool CheckHotSpot, bool CheckHeight, bool Print, bool Selected, bool Blink,
                   bool HoverStyle, bool WordWrap, double ResFactor, TColor URLColor,
                   TColor HoverColor, TColor HoverFontColor, TColor ShadowColor, String& AnchorVal,
                   String& StripVal, String& FocusAnchor, int& XSize, int& YSize, int& HyperLinks,
                   int& MouseLink, TRect& HoverRect, THTMLPictureCache* PictureCache,
                   TPictureContainer* PictureContainer, int LineSpacing, TBiDiMode BiDiMode)
{
    TBrush* brush = Canvas->GetBrush();
    const TColor brushColor = brush->GetColor();
    const TBrushStyle brushStyle = brush->GetStyle();
    brush->SetStyle(bsClear);

    StripVal.clear();
    FocusAnchor.clear();
    XSize = YSize = HyperLinks = 0;
    MouseLink = -1;

    // No form controls: their outputs go nowhere. The anchor's TITLE goes to
    // FocusAnchor, the panel's only text output besides the HREF.
    TRect controlRect;
    String controlID, controlValue, controlType;
    TDrawCall call{Canvas, Text, Rect, Images, HitX, HitY, FocusLink, HoverLink, ShadowOffset,
                   CheckHotSpot, CheckHeight, Print, Selected, Blink, HoverStyle, WordWrap, false,
                   String(), ResFactor, URLColor, HoverColor, HoverFontColor, ShadowColor,
                   PictureCache, PictureContainer, nullptr, BiDiMode,
                   AnchorVal, StripVal, FocusAnchor, FocusAnchor, XSize, YSize, HyperLinks,
                   MouseLink, HoverRect, controlRect, controlID, controlValue, controlType};
    call.Panel = true;
    call.LineSpacing = LineSpacing;

    const TOwned<TFont> font(New<TFont>());
    font->Assign(Canvas->GetFont());
    const TScopeExit restore([&] {
        Canvas->GetFont()->Assign(font.get());
        Canvas->GetBrush()->SetColor(brushColor);
        Canvas->GetBrush()->SetStyle(brushStyle);
        // Text colours and background modes were set on the DC directly.
        Canvas->Refresh();
    });

    TEngine engine(call);
    return engine.Run();
}

void GradientFillRect(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal,
                      const TRect& Rect, int Steps, TColor BorderColor)
{
    Steps = std::max(Steps, 1);
    const COLORREF from = ColorToRGB(FromColor);
    const COLORREF to = ColorToRGB(ToColor);
    const double band =
        static_cast<double>(Horizontal ? Rect.right - Rect.left : Rect.bottom - Rect.top) / Steps;
    auto channel = [Steps](int a, int b, int i) {
        return static_cast<int>(Round(a + static_cast<double>(i) * (b - a) / Steps));
    };
    TPen* pen = Canvas->GetPen();
    TBrush* brush = Canvas->GetBrush();
    pen->SetWidth(1); // a wider pen would spill out of the rectangle
    brush->SetStyle(bsSolid);
    for (int i = 0; i < Steps; ++i) {
        const TColor color = static_cast<TColor>(RGB(channel(GetRValue(from), GetRValue(to), i),
                                                     channel(GetGValue(from), GetGValue(to), i),
                                                     channel(GetBValue(from), GetBValue(to), i)));
        pen->SetColor(color);
        brush->SetColor(color);
        // Each band reaches one pixel past its share, so that rounding leaves no gap.
        if (Horizontal) {
            const int x0 = Rect.left + static_cast<int>(Round(i * band));
            Canvas->Rectangle(x0, Rect.top, std::min<int>(Rect.right, x0 + static_cast<int>(band) + 1), Rect.bottom);
        } else {
            const int y0 = Rect.top + static_cast<int>(Round(i * band));
            Canvas->Rectangle(Rect.left, y0, Rect.right, std::min<int>(Rect.bottom, y0 + static_cast<int>(band) + 1));
        }
    }
    if (BorderColor != clNone) {
        brush->SetStyle(bsClear);
        pen->SetColor(BorderColor);
        Canvas->Rectangle(Rect);
    }
}
