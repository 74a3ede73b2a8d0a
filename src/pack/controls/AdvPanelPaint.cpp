// How a panel draws itself: background, border and bevels, picture, body
// text, caption bar with its buttons and text, status bar and size grip.
#include "AdvPanel.h"
#include "APXPVS.h"
#include "GdiHandles.h"
#include "HTMLUtils.h"
#include "ImgList.h"
#include <cmath>
#include <vsstyle.h>

namespace {

int RoundHalfEven(double Value)
{
    return static_cast<int>(std::nearbyint(Value));
}

// The pen and brush both in Color.
void PenAndBrush(TCanvas* Canvas, TColor Color)
{
    Canvas->GetPen()->SetColor(Color);
    Canvas->GetBrush()->SetColor(Color);
    Canvas->GetBrush()->SetStyle(bsSolid);
}

// Text through a copy of the canvas font turned by Escapement (tenths of a
// degree), drawn with the brush clear.
void DrawRotatedText(TCanvas* Canvas, TFont* Font, int Escapement, const TRect& Clip, int X, int Y,
                     const String& Text, UINT Format)
{
    LOGFONTW lf{};
    GetObjectW(Font->GetHandle(), sizeof(lf), &lf);
    lf.lfEscapement = Escapement;
    lf.lfOrientation = 30;
    const TFontHandle rotated(CreateFontIndirectW(&lf));
    HDC dc = Canvas->GetHandle();
    const TSelectObject font(dc, rotated.Get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font->GetColor()));
    if (Format == 0) {
        RECT clip = Clip;
        ExtTextOutW(dc, X, Y, ETO_CLIPPED, &clip, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
    } else {
        RECT r = Clip;
        DrawTextW(dc, Text.c_str(), -1, &r, Format);
    }
    SetBkMode(dc, oldMode);
}

} // namespace

TColor BlendColors(TColor Color1, TColor Color2, int Percent)
{
    if (Percent == 100)
        return Color1;
    const COLORREF c1 = ColorToRGB(Color1);
    const COLORREF c2 = ColorToRGB(Color2);
    const double x = Percent / 100.0;
    auto mix = [x](int a, int b) { return RoundHalfEven(x * a + (1 - x) * b); };
    return static_cast<TColor>(RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)),
                                   mix(GetBValue(c1), GetBValue(c2))));
}

void DrawBandGradient(TCanvas* Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& Rect,
                      int Bands)
{
    const int n = std::clamp(Bands, 1, 32);
    const COLORREF from = ColorToRGB(FromColor);
    const COLORREF to = ColorToRGB(ToColor);
    const double stepR = (GetRValue(to) - GetRValue(from)) / static_cast<double>(n);
    const double stepG = (GetGValue(to) - GetGValue(from)) / static_cast<double>(n);
    const double stepB = (GetBValue(to) - GetBValue(from)) / static_cast<double>(n);
    const double d = (Horizontal ? Rect.right - Rect.left : Rect.bottom - Rect.top) / static_cast<double>(n);
    for (int i = 0; i < n; ++i) {
        const int r = GetRValue(from) + RoundHalfEven(i * stepR);
        const int g = GetGValue(from) + RoundHalfEven(i * stepG);
        const int b = GetBValue(from) + RoundHalfEven(i * stepB);
        PenAndBrush(Canvas, static_cast<TColor>(r + g * 256 + b * 65536));
        const int o = static_cast<Word>(RoundHalfEven(i * d));
        const int size = static_cast<int>(d) + 1;
        if (Horizontal)
            Canvas->Rectangle(Rect.left + o, Rect.top, std::min<int>(Rect.right, Rect.left + o + size), Rect.bottom);
        else
            Canvas->Rectangle(Rect.left, Rect.top + o, Rect.right, std::min<int>(Rect.bottom, Rect.top + o + size));
    }
}

void DrawMirrorGradient(TCanvas* Canvas, const TRect& Rect, TColor FromColor, bool Fill, TColor FrameColor,
                        TGradientDirection Direction, TColor MirrorToColor, TColor MirrorFromColor, TColor ToColor)
{
    if (Fill && FromColor != clNone) {
        TRect first = Rect, second = Rect;
        if (Direction == gdHorizontal) {
            first.right = Rect.left + (Rect.right - Rect.left) / 2;
            second.left = first.right;
        } else {
            first.bottom = Rect.top + (Rect.bottom - Rect.top) / 2;
            second.top = first.bottom;
        }
        const bool horizontal = Direction == gdHorizontal;
        DrawBandGradient(Canvas, FromColor, ToColor, horizontal, first, 32);
        DrawBandGradient(Canvas, MirrorFromColor, MirrorToColor, horizontal, second, 32);
    }
    if (FrameColor != clNone) {
        Canvas->GetBrush()->SetColor(FrameColor);
        Canvas->FrameRect(Rect);
    }
}

bool TCustomAdvPanel::IsThemed() const
{
    return FIsWinXP && APXPVS::IsThemeActive && APXPVS::IsThemeActive();
}

void TCustomAdvPanel::Paint()
{
    TCustomPanel::Paint();
    if (!FBuffered) {
        PaintAll(GetCanvas());
        return;
    }
    TOwned<TBitmap> buffer(New<TBitmap>(std::max(1, GetClientWidth()), std::max(1, GetClientHeight())));
    PaintAll(buffer->GetCanvas());
    GetCanvas()->Draw(0, 0, buffer.get());
}

void TCustomAdvPanel::PaintBackground(TCanvas* ACanvas, TRect& CR)
{
    if (FColorTo == clNone) {
        PenAndBrush(ACanvas, GetColor());
        ACanvas->Rectangle(CR);
    } else if (FColorMirror == clNone) {
        DrawBandGradient(ACanvas, GetColor(), FColorTo, FGradientDirection == gdHorizontal, CR, 64);
    } else {
        DrawMirrorGradient(ACanvas, CR, GetColor(), true, clNone, FGradientDirection, FColorMirrorTo, FColorMirror,
                           FColorTo);
    }
    if (FBorderColor != clNone && GetBorderWidth() != 0) {
        ACanvas->GetBrush()->SetStyle(bsClear);
        ACanvas->GetPen()->SetColor(FBorderColor);
        if (FBorderShadow) {
            CR.right -= 2;
            CR.bottom -= 2;
        }
        ACanvas->Rectangle(CR);
        if (FBorderShadow) {
            ACanvas->MoveTo(CR.right, CR.top + 1);
            ACanvas->GetPen()->SetColor(BlendColors(FBorderColor, clBtnFace, 50));
            ACanvas->LineTo(CR.right, CR.bottom);
            ACanvas->LineTo(CR.left, CR.bottom);
            ACanvas->MoveTo(CR.right + 1, CR.top + 2);
            ACanvas->GetPen()->SetColor(BlendColors(FBorderColor, clBtnFace, 20));
            ACanvas->LineTo(CR.right + 1, CR.bottom + 1);
            ACanvas->LineTo(CR.left, CR.bottom + 1);
        }
        ACanvas->GetBrush()->SetStyle(bsSolid);
    }
    TRect bevel = CR;
    if (GetBevelOuter() != bvNone) {
        const bool lowered = GetBevelOuter() == bvLowered;
        Frame3D(ACanvas, bevel, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow,
                GetBevelWidth());
    }
    if (FBorderColor == clNone)
        Frame3D(ACanvas, bevel, GetColor(), GetColor(), 1);
    if (GetBevelInner() != bvNone) {
        const bool lowered = GetBevelInner() == bvLowered;
        Frame3D(ACanvas, bevel, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow,
                GetBevelWidth());
    }
}

void TCustomAdvPanel::PaintBody(TCanvas* ACanvas)
{
    PenAndBrush(ACanvas, GetColor());
    const int W = GetWidth(), H = GetHeight();
    const int bevelWidth = GetBevelWidth();
    TRect r(0, 0, GetClientWidth(), GetClientHeight());
    if (FCaption->GetVisible()) {
        const int CH = FCaption->GetHeight();
        switch (FCaption->GetPosition()) {
        case cpTop: r.top += CH - 2 * bevelWidth; break;
        case cpLeft: r.left += CH - 2 * bevelWidth + 2; break;
        case cpRight: r.right += 2 * bevelWidth - CH - 2; break;
        }
    }
    if (FBorderShadow) {
        r.right -= 2;
        r.bottom -= 3;
    }
    HDC dc = ACanvas->GetHandle();
    {
        const TSavedDC saved(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        if (!FImage->GetEmpty()) {
            const int pw = FImage->GetWidth(), ph = FImage->GetHeight();
            auto at = [&](int x, int y) { ACanvas->Draw(x, y, FImage.get()); };
            const int rightX = std::max<int>(r.left, (r.right - r.left) - pw - bevelWidth);
            const int bottomY = std::max<int>(r.top, H - ph - bevelWidth);
            switch (FBackgroundPosition) {
            case bpTopLeft: at(r.left, r.top); break;
            case bpTopRight: at(rightX, r.top); break;
            case bpBottomLeft: at(r.left, bottomY); break;
            case bpBottomRight: at(rightX, bottomY); break;
            case bpTiled:
                // A picture that decoded to no size would never advance.
                if (pw > 0 && ph > 0)
                    for (int y = r.top; y < H; y += ph)
                        for (int x = r.left; x < W; x += pw)
                            at(x, y);
                break;
            case bpStretched: ACanvas->StretchDraw(TRect(r.left, r.top - 4, r.right, r.bottom + 4), FImage.get()); break;
            case bpCenter:
                at(static_cast<int>(static_cast<unsigned>(rightX) / 2), static_cast<int>(static_cast<unsigned>(bottomY) / 2));
                break;
            }
        }
        const int inset = GetBorderWidth() + 1;
        r.left += inset + FIndent;
        r.top += inset + FTopIndent;
        r.right -= inset;
        r.bottom -= inset;
        if (FStatusBar->GetVisible()) {
            const int sh = FStatusBar->GetHeight();
            switch (FCaption->GetPosition()) {
            case cpTop: r.bottom -= sh; break;
            case cpLeft: r.right -= sh; break;
            case cpRight: r.left += sh; break;
            }
        }
        ACanvas->GetFont()->Assign(GetFont());
        int xsize = 0, ysize = 0;
        if (FTextVAlign != tvaTop) {
            DrawHTML(ACanvas, FText, r, FHoverHyperLink, !FEllipsis, true, false, xsize, ysize);
            if (ysize < r.Height())
                r.top = FTextVAlign == tvaCenter ? r.top + (r.bottom - r.top - ysize) / 2 : r.bottom - ysize;
        }
        DrawHTML(ACanvas, FText, r, FHoverHyperLink, !FEllipsis, false, false, xsize, ysize);
    }
}

void TCustomAdvPanel::PaintAll(TCanvas* ACanvas)
{
    TRect CR(0, 0, GetClientWidth(), GetClientHeight());
    TRect border = CR;
    PaintBackground(ACanvas, border);
    PaintBody(ACanvas);
    if (FCaption->GetVisible())
        PaintCaption(ACanvas);
    if (FStatusBar->GetVisible())
        PaintStatusBar(ACanvas);
    if (FShowSizeMoveGrip && !FCollaps && FCanSize)
        PaintSizeGrip(ACanvas);
    if (FCaption->GetPosition() == cpRight && FBorderColor != clNone && GetBorderWidth() != 0) {
        ACanvas->GetBrush()->SetStyle(bsClear);
        ACanvas->GetPen()->SetColor(FBorderColor);
        ACanvas->Rectangle(border);
        ACanvas->GetBrush()->SetStyle(bsSolid);
    }
    if (OnPaint)
        OnPaint(this, ACanvas, CR);
}

void TCustomAdvPanel::PaintCaption(TCanvas* ACanvas)
{
    const int W = GetWidth(), H = GetHeight();
    const int BW = GetBorderWidth();
    const int bevelWidth = GetBevelWidth();
    const int CH = FCaption->GetHeight();
    const TCaptionPosition position = FCaption->GetPosition();
    const bool leftButtons = FCaption->GetButtonPosition() == cbpLeft;
    TRect CR(0, 0, W, H);
    if (FBorderShadow && BW > 0) {
        switch (position) {
        case cpTop: CR = TRect(BW, BW, CR.right - BW - 2, CR.bottom); break;
        case cpLeft: CR = TRect(BW, BW, CR.right, CR.bottom - BW + 1); break;
        case cpRight: CR = TRect(CR.left, BW, CR.right - BW, CR.bottom - BW + 1); break;
        }
    }
    if (GetBevelOuter() != bvNone || GetBevelInner() != bvNone)
        CR = TRect(CR.left + bevelWidth, CR.top + bevelWidth, CR.right - bevelWidth, CR.bottom - bevelWidth);
    PenAndBrush(ACanvas, FCollaps ? FCaption->GetCloseColor() : FCaption->GetColor());

    // 10b: the strip.
    const TShadeType shade = FCaption->GetShadeType();
    const bool themed = shade == stXPCaption && IsThemed();
    TRect strip;
    switch (position) {
    case cpTop: strip = TRect(CR.left, CR.top, CR.right, CR.top + CH - 2 * bevelWidth); break;
    case cpLeft: strip = TRect(CR.left, CR.top, CR.left + CH - 2 * bevelWidth, CR.bottom); break;
    case cpRight: strip = TRect(CR.right - CH, CR.top, CR.right, CR.bottom); break;
    }
    if (shade != stNormal && (shade != stXPCaption || themed)) {
        DrawShadedCaption(ACanvas, strip);
    } else {
        TRect fill = strip;
        if (position != cpTop)
            fill.bottom -= FBorderShadow ? 3 : 0;
        if (FCaption->GetColorTo() == clNone)
            ACanvas->Rectangle(fill);
        else
            DrawBandGradient(ACanvas, FCaption->GetColor(), FCaption->GetColorTo(),
                             FCaption->GetGradientDirection() == gdHorizontal, fill, 64);
    }

    LONG& L = CR.left;
    LONG& T = CR.top;
    LONG& R = CR.right;
    LONG& B = CR.bottom;
    // Row of the button tables: 0 cpTop/cbpLeft .. 5 cpRight/cbpRight.
    const int row = static_cast<int>(position) * 2 + (leftButtons ? 0 : 1);
    HTHEME theme = nullptr;
    if (themed && HandleAllocated())
        theme = APXPVS::OpenThemeData(GetHandle(), L"window");
    auto themedRect = [&]() -> TRect {
        switch (row) {
        case 0: return TRect(L + 2, T + 4, L + 16, T + 18);
        case 1: return TRect(R - 16, T + 4, R - 2, T + 18);
        case 2: return TRect(L + 4, B - 16, L + 18, B - 2);
        case 3: return TRect(L + 4, T + 2, L + 18, T + 16);
        case 4: return TRect(R - 18, T + 2, R - 4, T + 16);
        default: return TRect(R - 18, B - 16, R - 4, B - 2);
        }
    };
    auto glyphOrigin = [&](TBitmap* glyph, bool fixedTwelve) -> TPoint {
        const int gw = glyph->GetWidth(), gh = glyph->GetHeight();
        switch (row) {
        case 0: return TPoint(L, T + 2);
        case 1: return TPoint(R - gw, T + 2);
        case 2: return TPoint(L + 2, B - gh);
        case 3: return TPoint(L + 2, T);
        case 4: return TPoint(fixedTwelve ? R - 12 : R - gw - 2, T);
        default: return fixedTwelve ? TPoint(R - 12, B - gh) : TPoint(R - gw - 2, B - gh - 2);
        }
    };
    auto drawGlyph = [&](TBitmap* glyph, TPoint at) {
        glyph->SetTransparent(true);
        ACanvas->Draw(at.x, at.y, glyph);
    };
    // Moves the caption rectangle's button-side edge by n.
    auto takeRoom = [&](int n) {
        switch (row) {
        case 0: L += n; break;
        case 1: R -= n; break;
        case 2: case 5: B -= n; break;
        default: T += n; break;
        }
    };

    // 10c: close button.
    if (FCaption->GetCloseButton()) {
        TBitmap* closeMin = FCaption->GetCloseMinGlyph();
        TBitmap* closeMax = FCaption->GetCloseMaxGlyph();
        if (theme) {
            const TRect r = themedRect();
            APXPVS::DrawThemeBackground(theme, ACanvas->GetHandle(), WP_CLOSEBUTTON, 1, &r, nullptr);
            takeRoom(14);
        } else if (!closeMin->GetEmpty() && !closeMax->GetEmpty()) {
            TBitmap* glyph = FCollaps ? closeMin : closeMax;
            drawGlyph(glyph, glyphOrigin(glyph, false));
            takeRoom(position == cpTop ? glyph->GetWidth() : glyph->GetHeight());
        } else {
            const TColor hover = FCaption->GetCloseButtonHoverColor();
            ACanvas->GetPen()->SetColor(FHoverCloseBtn && hover != clNone ? hover : FCaption->GetCloseButtonColor());
            ACanvas->GetPen()->SetWidth(2);
            static const int cross[6][8] = {
                {4, 4, 10, 10, 10, 4, 4, 10},     {-10, 4, -4, 10, -4, 4, -10, 10},
                {4, -4, 10, -10, 10, -4, 4, -10}, {4, 4, 10, 10, 10, 4, 4, 10},
                {-10, 4, -4, 10, -4, 4, -10, 10}, {-4, -12, -10, -6, -10, -12, -4, -6}};
            // x offsets count from L (positive) or R (negative); y from T or B likewise.
            const bool fromRight = row == 1 || row == 4 || row == 5;
            const bool fromBottom = row == 2 || row == 5;
            const int* c = cross[row];
            auto px = [&](int v) { return fromRight ? R + v : L + v; };
            auto py = [&](int v) { return fromBottom ? B + v : T + v; };
            ACanvas->MoveTo(px(c[0]), py(c[1]));
            ACanvas->LineTo(px(c[2]), py(c[3]));
            ACanvas->MoveTo(px(c[4]), py(c[5]));
            ACanvas->LineTo(px(c[6]), py(c[7]));
            ACanvas->GetPen()->SetWidth(1);
            takeRoom(row == 5 ? 14 : 12);
        }
    }

    // 10d: collapse button.
    if (FCaption->GetMinMaxButton()) {
        TBitmap* maxGlyph = FCaption->GetMaxGlyph();
        TBitmap* minGlyph = FCaption->GetMinGlyph();
        if (theme) {
            const TRect r = themedRect();
            APXPVS::DrawThemeBackground(theme, ACanvas->GetHandle(), FCollaps ? WP_RESTOREBUTTON : WP_MINBUTTON, 1,
                                        &r, nullptr);
        } else if (FCollaps && !maxGlyph->GetEmpty()) {
            drawGlyph(maxGlyph, glyphOrigin(maxGlyph, false));
        } else if (!FCollaps && !minGlyph->GetEmpty()) {
            drawGlyph(minGlyph, glyphOrigin(minGlyph, true));
        } else {
            const TColor hover = FCaption->GetMinMaxButtonHoverColor();
            const TColor color = FHoverMinMaxBtn && hover != clNone ? hover : FCaption->GetMinMaxButtonColor();
            ACanvas->GetPen()->SetWidth(1);
            PenAndBrush(ACanvas, color);
            // Offsets as (x from L or R, y from T or B); collapsed points into the panel.
            static const int collapsed[6][6] = {
                {4, 5, 10, 5, 7, 8},     {-10, 5, -4, 5, -7, 8},   {5, -4, 5, -10, 8, -7},
                {5, 10, 5, 4, 8, 7},     {-6, 10, -6, 4, -9, 7},   {-6, -4, -6, -10, -9, -7}};
            static const int expanded[6][6] = {
                {4, 8, 10, 8, 7, 5},     {-10, 8, -4, 8, -7, 5},   {8, -4, 8, -10, 5, -7},
                {8, 10, 8, 4, 5, 7},     {-9, 10, -9, 4, -6, 7},   {-9, -4, -9, -10, -6, -7}};
            const int* p = FCollaps ? collapsed[row] : expanded[row];
            const bool fromRight = position == cpRight || row == 1;
            const bool fromBottom = row == 2 || row == 5;
            std::vector<TPoint> points;
            for (int i = 0; i < 3; ++i)
                points.emplace_back(fromRight ? R + p[2 * i] : L + p[2 * i], fromBottom ? B + p[2 * i + 1] : T + p[2 * i + 1]);
            ACanvas->Polygon(points);
        }
    }
    if (theme)
        APXPVS::CloseThemeData(theme);

    // 10e: caption text.
    ACanvas->GetFont()->Assign(FCaption->GetFont());
    const int buttons = (FCaption->GetCloseButton() ? 20 : 0) + (FCaption->GetMinMaxButton() ? 20 : 0);
    takeRoom(buttons);
    const String raw = PanelHTMLToText(FCaption->GetText());
    if (position == cpTop) {
        B = T + CH;
        L += FCaption->GetIndent() + 2;
        T += FCaption->GetTopIndent();
        int xsize = 0, ysize = 0;
        DrawHTML(ACanvas, FCaption->GetText(), CR, FCaptionHoverHyperLink, false, false, false, xsize, ysize);
    } else if (position == cpLeft) {
        R = L + CH;
        B -= FCaption->GetIndent();
        L += FCaption->GetTopIndent();
        B += ACanvas->TextHeight(L"gh") - 2;
        ACanvas->GetBrush()->SetStyle(bsClear);
        DrawRotatedText(ACanvas, FCaption->GetFont(), -2700, CR, 0, 0, raw, DT_SINGLELINE | DT_BOTTOM | DT_NOCLIP);
    } else {
        R = W;
        L = W - CH + FCaption->GetTopIndent();
        T += FCaption->GetIndent() + 2;
        ACanvas->GetBrush()->SetStyle(bsClear);
        DrawRotatedText(ACanvas, FCaption->GetFont(), -900, CR, R - 4, T, raw, 0);
    }
    ACanvas->GetBrush()->SetStyle(bsSolid);
}

void TCustomAdvPanel::PaintStatusBar(TCanvas* ACanvas)
{
    const int W = GetWidth(), H = GetHeight();
    const int BW = GetBorderWidth();
    const int height = FStatusBar->GetHeight();
    const TCaptionPosition position = FCaption->GetPosition();
    int k = GetBevelOuter() != bvNone || GetBevelInner() != bvNone ? 2 : 1;
    if (FBorderShadow && BW != 0)
        k += 2;
    TRect sb;
    switch (position) {
    case cpTop: sb = TRect(k, H - height - 1, W - k, H - k); break;
    case cpLeft: sb = TRect(W - height - k, 1, W - k, H - k); break;
    case cpRight: sb = TRect(k, 1, k + height, H - k); break;
    }
    const TColor color = FStatusBar->GetColor();
    if (color != clNone && FStatusBar->GetColorTo() != clNone)
        DrawBandGradient(ACanvas, color, FStatusBar->GetColorTo(),
                         FStatusBar->GetGradientDirection() == gdHorizontal, sb, 40);
    else if (color != clNone) {
        PenAndBrush(ACanvas, color);
        ACanvas->Rectangle(sb);
    }
    if (FStatusBar->GetImageIndex() >= 0 && FImages) {
        const int iw = FImages->GetWidth(), ih = FImages->GetHeight();
        if (position == cpTop) {
            FImages->Draw(ACanvas, sb.left + 1, sb.top + 2, FStatusBar->GetImageIndex());
            sb.left += iw + 2;
        } else {
            const int y = FCollaps || !FCanSize ? sb.bottom - ih - 1 : sb.bottom - ih - 12;
            FImages->Draw(ACanvas, sb.left + 2, y, FStatusBar->GetImageIndex());
            sb.bottom -= ih + 2;
        }
    }
    const String raw = PanelHTMLToText(FStatusBar->GetText());
    if (position == cpLeft) {
        const int y = FCollaps || !FCanSize ? sb.bottom - 2 : sb.bottom - 16;
        DrawRotatedText(ACanvas, FStatusBar->GetFont(), -2700, TRect(0, 0, W, H), sb.left + 2, y, raw, 0);
    } else if (position == cpRight) {
        DrawRotatedText(ACanvas, FStatusBar->GetFont(), -900, TRect(0, 0, W, H), sb.right - 2, sb.top + 3, raw, 0);
    } else {
        sb.left += 2;
        sb.top += FStatusBar->GetTopIndent();
        ACanvas->GetFont()->Assign(FStatusBar->GetFont());
        int xsize = 0, ysize = 0;
        DrawHTML(ACanvas, FStatusBar->GetText(), sb, FCaptionHoverHyperLink, false, false, false, xsize, ysize);
        sb.left -= 2;
    }
    if (FStatusBar->GetBorderStyle() == bsSingle && FStatusBar->GetBorderColor() != clNone) {
        ACanvas->GetPen()->SetWidth(1);
        ACanvas->GetPen()->SetColor(FStatusBar->GetBorderColor());
        ACanvas->GetBrush()->SetStyle(bsClear);
        switch (position) {
        case cpLeft: ACanvas->Rectangle(sb.left, sb.top, sb.right + 1, H); break;
        case cpRight: ACanvas->Rectangle(sb.left - 1, sb.top, sb.right, H); break;
        case cpTop: ACanvas->Rectangle(BW, sb.top, sb.right - BW + 1, sb.bottom - BW + 1); break;
        }
        ACanvas->GetBrush()->SetStyle(bsSolid);
    }
    if (FStatusBar->GetBevelInner()) {
        ACanvas->GetPen()->SetWidth(1);
        auto line = [&](TColor c, std::initializer_list<TPoint> pts) {
            ACanvas->GetPen()->SetColor(c);
            auto it = pts.begin();
            ACanvas->MoveTo(it->x, it->y);
            for (++it; it != pts.end(); ++it)
                ACanvas->LineTo(it->x, it->y);
        };
        const int L = sb.left, T = sb.top, R = sb.right, B = sb.bottom;
        switch (position) {
        case cpTop:
            line(0x808080, {TPoint(0, B - 1), TPoint(0, T), TPoint(R, T)});
            line(0xFFFFFF, {TPoint(0, B - 1), TPoint(R - 1, B - 1), TPoint(R - 1, T)});
            break;
        case cpLeft:
            line(0x808080, {TPoint(L, H), TPoint(L, T), TPoint(R - 1, T)});
            line(0xFFFFFF, {TPoint(L, H), TPoint(R - 1, H), TPoint(R - 1, T)});
            break;
        case cpRight:
            line(0x808080, {TPoint(L, H), TPoint(R - 1, H), TPoint(R - 1, T)});
            line(0xFFFFFF, {TPoint(L, H), TPoint(L, T), TPoint(R - 1, T)});
            break;
        }
    }
}

void TCustomAdvPanel::PaintSizeGrip(TCanvas* ACanvas)
{
    TRect r(0, 0, GetClientWidth(), GetClientHeight());
    if (GetBevelOuter() != bvNone || GetBevelInner() != bvNone) {
        const int b = 2 * GetBevelWidth();
        r = TRect(r.left + b, r.top + b, r.right - b, r.bottom - b);
    }
    if (FBorderShadow) {
        r.right -= 4;
        r.bottom -= 4;
    }
    const bool leftGrip = FCaption->GetPosition() == cpRight;
    const int R = r.right, B = r.bottom;
    const int L = leftGrip ? r.left + 1 : R;
    // x at distance n from the corner.
    auto x = [&](int n) { return leftGrip ? L + n : R - n; };
    auto line = [&](int a, int b) {
        ACanvas->MoveTo(x(0), B - a);
        ACanvas->LineTo(x(b), B);
    };
    ACanvas->GetPen()->SetColor(0x808080);
    ACanvas->GetPen()->SetWidth(2);
    line(11, 11);
    line(6, 7);
    line(3, 3);
    ACanvas->GetPen()->SetColor(0xFFFFFF);
    ACanvas->GetPen()->SetWidth(1);
    line(12, 12);
    line(8, 8);
    line(4, 4);
}
