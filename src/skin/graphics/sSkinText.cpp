#include "sSkinText.h"
#include "GdiHandles.h"
#include "ScopeExit.h"
#include "acPNG.h"
#include "acProviderServices.h"
#include "acntUtils.h"
#include "sAlphaGraph.h"
#include "sGraphUtilsRows.h"
#include <algorithm>
#include <cmath>

namespace {

constexpr int MaxDrawTextLength = 5460;

void MoveRect(TRect& R, int DX, int DY) { OffsetRect(&R, DX, DY); }

void DrawAt(HDC DC, const String& Text, TRect R, int DX, int DY, UINT Format)
{
    MoveRect(R, DX, DY);
    DrawTextWide(DC, Text, R, Format);
}

// The contour colours of a state, each drawn one pixel off to its side.
template <class F>
void ForEachContour(const TsFontColor& Font, F Draw)
{
    const struct {
        TColor Color;
        int DX, DY;
    } sides[] = {{Font.Left, -1, 0}, {Font.Top, 0, -1}, {Font.Right, 1, 0}, {Font.Bottom, 0, 1}};
    for (const auto& side : sides)
        if (side.Color != -1)
            Draw(side.Color, side.DX, side.DY);
}

void WritePlainText(TCanvas* Canvas, HDC DC, const String& Text, bool Enabled, const TRect& R, UINT Format)
{
    if (!Enabled) {
        SetTextColor(DC, ColorToRGB(clBtnHighlight));
        DrawAt(DC, Text, R, 1, 1, Format);
        Canvas->GetFont()->SetColor(clBtnShadow);
        SetTextColor(DC, ColorToRGB(clBtnShadow));
    } else {
        SetTextColor(DC, ColorToRGB(Canvas->GetFont()->GetColor()));
    }
    DrawAt(DC, Text, R, 0, 0, Format);
}

bool MaskMatches(const TBitmap* Mask, const TGlowMask* Key, const String& Text, TFont* Font, UINT Format, int Sides,
                 int GlowSize, int Width, int Height)
{
    if (!Mask || Mask->GetWidth() != Width || Mask->GetHeight() != Height)
        return false;
    // A plain bitmap says nothing of what it holds.
    return Key && Key->Text == Text && Key->FontName == Font->GetName() && Key->FontHeight == Font->GetHeight() &&
           Key->FontStyle == Font->GetStyle() && Key->Format == Format &&
           Key->Sides == Sides && Key->GlowSize == GlowSize;
}

} // namespace

// ---------------------------------------------------------------------------
int DrawTextWide(HDC DC, const String& Text, TRect& R, UINT Format)
{
    const int length = std::min<int>(static_cast<int>(Text.size()), MaxDrawTextLength);
    return DrawTextW(DC, Text.c_str(), length, &R, Format);
}

int DrawCanvasTextW(TCanvas* Canvas, const wchar_t* Text, UINT Format, TRect& R)
{
    return DrawTextW(Canvas->GetHandle(), Text, static_cast<int>(wcslen(Text)), &R, Format);
}

int TextWidthOf(TCanvas* Canvas, const String& Text) { return Canvas->TextExtent(Text).cx; }
int TextHeightOf(TCanvas* Canvas, const String& Text) { return Canvas->TextExtent(Text).cy; }
void GetTextExtentOf(TCanvas* Canvas, const String& Text, TSize& Size) { Size = Canvas->TextExtent(Text); }
void CanvasTextRect(TCanvas* Canvas, const TRect& R, int X, int Y, const String& Text) { Canvas->TextRect(R, X, Y, Text); }

bool GetTextSize(HDC DC, const String& Text, TSize& Size, HFONT Font)
{
    if (DC)
        return GetTextExtentPoint32W(DC, Text.c_str(), static_cast<int>(Text.size()), &Size) != 0;
    const TWindowDC screen(nullptr);
    const TSelectObject font(screen.Get(), Font);
    return GetTextExtentPoint32W(screen.Get(), Text.c_str(), static_cast<int>(Text.size()), &Size) != 0;
}

int GetFontTextHeight(HFONT Font, bool NoLeading)
{
    const TWindowDC screen(nullptr);
    const TSelectObject font(screen.Get(), Font);
    TEXTMETRICW tm;
    if (!GetTextMetricsW(screen.Get(), &tm))
        return 0;
    return NoLeading ? tm.tmHeight - tm.tmInternalLeading - tm.tmExternalLeading : tm.tmHeight + 6;
}

void MeasureText(HFONT Font, const String& Text, UINT Format, TSize& Size, int MaxWidth, bool MultiLine)
{
    const TWindowDC screen(nullptr);
    const TSelectObject font(screen.Get(), Font);
    if (MultiLine) {
        TRect r(0, 0, MaxWidth, 0);
        DrawTextWide(screen.Get(), Text, r, Format | DT_CALCRECT);
        const TPoint size = RectSize(r);
        Size = TSize(size.x, size.y);
    } else if (!GetTextExtentPoint32W(screen.Get(), Text.c_str(), static_cast<int>(Text.size()), &Size)) {
        Size = TSize(0, 0);
    }
}

void CutTextToWidth(TCanvas* Canvas, const String& Text, int MaxWidth, String& Result)
{
    if (MaxWidth < 1) {
        Result.clear();
        return;
    }
    Result = Text;
    if (Canvas->TextWidth(Result) <= MaxWidth)
        return;
    while (!Result.empty() && Canvas->TextWidth(Result + L"...") > MaxWidth)
        Result.pop_back();
    if (!Result.empty())
        Result += L"...";
}

bool FontsEqual(TFont* A, TFont* B)
{
    return A->GetStyle() == B->GetStyle() && A->GetSize() == B->GetSize() && A->GetColor() == B->GetColor() &&
           A->GetName() == B->GetName();
}

void DrawDCLine(HDC DC, int X1, int Y1, int X2, int Y2)
{
    MoveToEx(DC, X1, Y1, nullptr);
    LineTo(DC, X2, Y2);
}

TColor AdjustColorForControl(TColor Color, TsCommonData* SkinData)
{
    Cardinal c = static_cast<Cardinal>(Color);
    if (SkinData->FColorTone != clNone)
        c = ApplyColorTone(c, SwapRedBlue(ColorToRGB(SkinData->FColorTone)));
    c = ChangeHue(SkinData->FHUEOffset, c);
    c = ChangeSaturation(c, SkinData->FSaturation * 256 / 100);
    return static_cast<TColor>(ColorToRGB(static_cast<TColor>(c)));
}

void WriteControlText(TCanvas* Canvas, const String& Text, bool Enabled, TRect R, UINT Format,
                      TsCommonData* SkinData, int State, bool Glow)
{
    if (Text.empty() || !Canvas)
        return;
    TsSkinManager* m = SkinData ? SkinData->GetSkinManager() : nullptr;
    if (State != 0 && m && SkinData->SkinIndex >= 0 && SkinData->SkinIndex == m->ConstData.Sections[ssWebBtn]) {
        TFontStyles style = Canvas->GetFont()->GetStyle();
        style.Include(fsUnderline);
        Canvas->GetFont()->SetStyle(style);
    }
    Canvas->GetBrush()->SetStyle(bsClear);
    HDC dc = Canvas->GetHandle();
    auto saved = std::make_unique<TSavedDC>(dc);
    SetBkMode(dc, TRANSPARENT);
    if (!SkinData || !SkinData->Skinned(false) || SkinData->FCustomFont) {
        WritePlainText(Canvas, dc, Text, Enabled, R, Format);
        return;
    }
    int s = SkinData->SkinIndex;
    TControl* control = SkinData->FOwnerControl;
    if (control && control->GetParent() && s >= 0 && s <= ssButton) {
        for (int section = ssMenuItem; section <= ssButton; ++section)
            if (m->ConstData.Sections[section] == s) {
                s = ResolveParentSkinIndex(control, s, m, State);
                break;
            }
    }
    if (s < 0 && control && control->GetParent()) {
        Canvas->GetFont()->SetColor(control->GetParent()->GetFont()->GetColor());
        WritePlainText(Canvas, dc, Text, Enabled, R, Format);
        return;
    }
    if (!m->IsValidSkinIndex(s)) {
        DrawAt(dc, Text, R, 0, 0, Format);
        return;
    }
    const TsGenState& p = m->gd[static_cast<std::size_t>(s)].Props[std::max(0, std::min(State, 2))];
    if (Glow && SkinData->FCacheBmp && p.GlowSize != 0) {
        IntersectClipRect(dc, R.left, R.top, R.right, R.bottom);
        TBitmap* mask = nullptr;
        const TScopeExit freeMask([&mask] {
            if (mask)
                mask->Free();
        });
        DrawTextGlow(SkinData->FCacheBmp, Text, R, mask, AdjustColorForControl(p.GlowColor, SkinData), p.GlowSize, 15,
                     Format);
        saved = std::make_unique<TSavedDC>(dc);
        SetBkMode(dc, TRANSPARENT);
    }
    if (!Enabled) {
        const TColor color = AdjustColorForControl(p.FontColor.Color, SkinData);
        Canvas->GetFont()->SetColor(color);
        SetTextColor(dc, ColorToRGB(color));
        DrawAt(dc, Text, R, 0, 0, Format);
        return;
    }
    ForEachContour(p.FontColor, [&](TColor color, int dx, int dy) {
        SetTextColor(dc, ColorToRGB(AdjustColorForControl(color, SkinData)));
        DrawAt(dc, Text, R, dx, dy, Format);
    });
    SetTextColor(dc, ColorToRGB(AdjustColorForControl(p.FontColor.Color, SkinData)));
    DrawAt(dc, Text, R, 0, 0, Format);
}

void WriteSectionText(TCanvas* Canvas, const String& Text, bool Enabled, TsSkinManager* SkinManager, int State,
                      int SkinIndex, UINT Format, TRect R)
{
    DoWriteSectionText(Canvas, Text, Enabled, SkinManager, State, SkinIndex, Format, R);
}

void DoWriteSectionText(TCanvas* Canvas, const String& Text, bool Enabled, TsSkinManager* SkinManager, int State,
                        int SkinIndex, UINT Format, TRect R)
{
    if (!Canvas || Text.empty())
        return;
    TsSkinManager* m = SkinManager ? SkinManager : DefaultManager;
    HDC dc = Canvas->GetHandle();
    SetBkMode(dc, TRANSPARENT);
    if (!m || !m->IsValidSkinIndex(SkinIndex)) {
        SetTextColor(dc, ColorToRGB(Canvas->GetFont()->GetColor()));
        DrawAt(dc, Text, R, 0, 0, Format);
        return;
    }
    const TsGeneralData& section = m->gd[static_cast<std::size_t>(SkinIndex)];
    if (Enabled) {
        const TsGenState& p = section.Props[std::max(0, std::min(State, 2))];
        ForEachContour(p.FontColor, [&](TColor color, int dx, int dy) {
            SetTextColor(dc, ColorToRGB(color));
            DrawAt(dc, Text, R, dx, dy, Format);
        });
        SetTextColor(dc, ColorToRGB(p.FontColor.Color));
    } else {
        const TsGenState& p = section.Props[0];
        const TColor color = static_cast<TColor>(MixColors(ColorToRGB(p.FontColor.Color), ColorToRGB(p.Color),
                                                           DisabledBlend) & 0xFFFFFF);
        Canvas->GetFont()->SetColor(color);
        SetTextColor(dc, ColorToRGB(color));
    }
    DrawAt(dc, Text, R, 0, 0, Format);
}

// ---------------------------------------------------------------------------
void DrawTextGlow(TBitmap* Dst, const String& Text, const TRect& R, TBitmap*& Mask, TColor Color, int GlowSize,
                  int Sides, UINT Format)
{
    TPixelRows dst = PixelRows32(Dst);
    if (!dst)
        return;
    TRect r = R;
    MoveRect(r, 1, 1);
    const int pad = GlowSize + 4;
    const int gw = (r.right - r.left) + 2 * pad, gh = (r.bottom - r.top) + 2 * pad;
    if (gw <= 0 || gh <= 0)
        return;
    TFont* font = Dst->GetCanvas()->GetFont();
    auto* key = dynamic_cast<TGlowMask*>(Mask);
    if (!MaskMatches(Mask, key, Text, font, Format, Sides, GlowSize, gw, gh)) {
        if (!Mask) {
            key = New<TGlowMask>();
            Mask = key;
        }
        Mask->SetPixelFormat(pf8bit);
        Mask->SetSize(gw, gh);
        // The text is drawn black on white in 32 bits; its blue byte becomes the mask.
        TOwned<TBitmap> canvas(MakeBitmap32(gw, gh));
        FillBitmap32Rect(canvas.get(), TRect(0, 0, gw, gh), clWhite, 255);
        TCanvas* c = canvas->GetCanvas();
        c->GetFont()->Assign(font);
        c->GetFont()->SetColor(clBlack);
        c->GetBrush()->SetStyle(bsClear);
        HDC dc = c->GetHandle();
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, 0);
        const TRect t(pad, pad, pad + (r.right - r.left), pad + (r.bottom - r.top));
        if (Sides & 1)
            DrawAt(dc, Text, t, -1, 0, Format);
        if (Sides & 2)
            DrawAt(dc, Text, t, 0, -1, Format);
        if (Sides & 4)
            DrawAt(dc, Text, t, 1, 0, Format);
        if (Sides & 8)
            DrawAt(dc, Text, t, 0, 1, Format);
        DrawAt(dc, Text, t, 0, 0, Format);
        TransferChannel8(canvas.get(), Mask, 0, true);
        BlurMask8(Mask, GlowSize);
        if (key) {
            key->Text = Text;
            key->FontName = font->GetName();
            key->FontHeight = font->GetHeight();
            key->FontStyle = font->GetStyle();
            key->Format = Format;
            key->Sides = Sides;
            key->GlowSize = GlowSize;
        }
    }
    Byte* base = nullptr;
    std::ptrdiff_t stride = 0;
    if (!GetScanlineBase(Mask, base, stride))
        return;
    const Cardinal rgb = ColorToRGB(Color);
    const int colour[3] = {static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                           static_cast<int>(rgb & 0xFF)};
    for (int row = 0; row < gh; ++row) {
        const Byte* m = base + row * stride;
        for (int col = 0; col < gw; ++col) {
            const int v = m[col];
            const int x = r.left - pad + col, y = r.top - pad + row;
            if (v == 255 || !dst.Contains(x, y))
                continue;
            Byte* p = reinterpret_cast<Byte*>(&dst.Row(y)[x]);
            p[3] = static_cast<Byte>(p[3] + (((255 - p[3]) * (255 - v)) >> 8));
            for (int k = 0; k < 3; ++k)
                p[k] = static_cast<Byte>(((255 - v) * colour[k] + p[k] * v) >> 8);
        }
    }
}

void BlurMask8(TBitmap* Mask, int Radius)
{
    Byte* base = nullptr;
    std::ptrdiff_t stride = 0;
    // Radius 0 would divide by zero: nothing to blur.
    if (!Mask || Radius <= 0 || Mask->GetPixelFormat() != pf8bit || !GetScanlineBase(Mask, base, stride))
        return;
    double w[33];
    double sum = 0;
    for (int k = -16; k <= 16; ++k) {
        const double q = static_cast<double>(k) / Radius;
        w[k + 16] = std::round(std::exp(-q * q / 2));
        sum += w[k + 16];
    }
    for (double& v : w)
        v /= sum;
    int r = 16;
    double tail = 0;
    while (r > 1) {
        tail += 2 * w[r + 16];
        if (tail >= 1.0 / 510)
            break;
        --r;
    }
    // The outermost pair that ended the search is dropped.
    r = std::max(1, r - 1);
    double central = 0;
    for (int k = -r; k <= r; ++k)
        central += w[k + 16];
    std::vector<double> kernel(static_cast<std::size_t>(2 * r + 1));
    for (int k = -r; k <= r; ++k)
        kernel[static_cast<std::size_t>(k + r)] = central > 0 ? w[k + 16] / central : 0;
    const int width = Mask->GetWidth(), height = Mask->GetHeight();
    auto convolve = [&](int n, auto At) {
        std::vector<Byte> line(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            double v = 0;
            for (int k = -r; k <= r; ++k)
                v += At(std::clamp(i - k, 0, n - 1)) * kernel[static_cast<std::size_t>(k + r)];
            line[static_cast<std::size_t>(i)] = static_cast<Byte>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
        }
        for (int i = 0; i < n; ++i)
            At(i) = line[static_cast<std::size_t>(i)];
    };
    for (int y = 0; y < height; ++y) {
        Byte* row = base + y * stride;
        convolve(width, [row](int i) -> Byte& { return row[i]; });
    }
    for (int x = 0; x < width; ++x)
        convolve(height, [&](int i) -> Byte& { return base[i * stride + x]; });
}

void PaintSoftRoundRect(TBitmap* Bmp, const TRect& R, int Percent, TColor Color, int EdgeWidth, int Radius)
{
    const int w = R.right - R.left, h = R.bottom - R.top;
    if (!Bmp || w <= 0 || h <= 0)
        return;
    TOwned<TBitmap> copy(MakeBitmap32(w, h)), mask(MakeBitmap32(w, h));
    BitBlt(copy->GetCanvas()->GetHandle(), 0, 0, w, h, Bmp->GetCanvas()->GetHandle(), R.left, R.top, SRCCOPY);
    const int e = std::min({w / 2, h / 2, EdgeWidth}), c = std::min({w / 2, h / 2, Radius});
    const int v = Percent * 255 / 100;
    TCanvas* canvas = mask->GetCanvas();
    canvas->GetPen()->SetStyle(psClear);
    canvas->GetBrush()->SetStyle(bsSolid);
    for (int i = 0; i <= e; ++i) {
        const int grey = i == 0 ? 255 : v + static_cast<int>(std::lround((e - i + 1) * (255 - v) / double(e + 1)));
        canvas->GetBrush()->SetColor(RGB(grey, grey, grey));
        canvas->RoundRect(i, i, w - i, h - i, c, c);
    }
    canvas->GetBrush()->SetColor(RGB(v, v, v));
    canvas->RoundRect(e, e, w - e, h - e, e, e);
    MixColorByMask(copy.get(), mask.get(), Color);
    BitBlt(Bmp->GetCanvas()->GetHandle(), R.left, R.top, w, h, copy->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
}

void PaintBevelFrame(HDC DC, TRect& R, TColor LightColor, TColor DarkColor, int& Count)
{
    TPenHandle light(CreatePen(PS_SOLID, 1, ColorToRGB(LightColor)));
    TPenHandle dark(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(DarkColor)));
    const TSelectObject brush(DC, GetStockObject(NULL_BRUSH));
    const TSelectObject pen(DC, light.Get());
    --R.right;
    --R.bottom;
    while (Count > 0) {
        --Count;
        const POINT lit[3] = {{R.left, R.bottom}, {R.left, R.top}, {R.right, R.top}};
        SelectObject(DC, light.Get());
        Polyline(DC, lit, 3);
        const POINT shade[3] = {{R.right, R.top}, {R.right, R.bottom}, {R.left - 1, R.bottom}};
        SelectObject(DC, dark.Get());
        Polyline(DC, shade, 3);
        InflateRect(&R, -1, -1);
    }
    ++R.right;
    ++R.bottom;
}

void DrawDottedFrame(TCanvas* Canvas, TRect R, TColor Color1, TColor Color2)
{
    const int cw = (R.right - R.left) / 2, ch = (R.bottom - R.top) / 2;
    --R.right;
    --R.bottom;
    auto dot = [Canvas](int x, int y, TColor c) {
        if (c != clNone)
            Canvas->SetPixels(x, y, c);
    };
    for (int i = 0; i < cw; ++i) {
        const int b = (cw - i) * 2;
        dot(R.left + b, R.top, Color2);
        dot(R.left + b, R.bottom, Color2);
        dot(R.left + b - 1, R.top, Color1);
        dot(R.left + b - 1, R.bottom, Color1);
    }
    for (int i = 0; i < ch; ++i) {
        const int b = (ch - i) * 2;
        dot(R.left, R.top + b, Color2);
        dot(R.right, R.top + b, Color2);
        dot(R.left, R.top + b - 1, Color1);
        dot(R.right, R.top + b - 1, Color1);
    }
}

void CalcButtonLayout(const TRect& Client, const TPoint& GlyphSize, const TPoint& TextSize, int Layout, int HAlign,
                      int Margin, int Spacing, TPoint& GlyphPos, TRect& TextRect, int BiDiFlags, int VAlign)
{
    if (BiDiFlags & DT_RIGHT) {
        if (Layout == blGlyphLeft)
            Layout = blGlyphRight;
        else if (Layout == blGlyphRight)
            Layout = blGlyphLeft;
    }
    const int cw = Client.right - Client.left, ch = Client.bottom - Client.top;
    const int tw = TextSize.x, th = TextSize.y, gx = GlyphSize.x, gy = GlyphSize.y;
    TextRect = TRect(0, 0, tw, th);
    GlyphPos = TPoint(0, 0);
    const bool vertical = Layout >= blGlyphTop;
    int textX = 0, textY = 0;
    if (vertical) {
        GlyphPos.x = (cw - gx + 1) / 2;
        textX = (cw + 1 - tw) / 2;
    } else {
        GlyphPos.y = (ch - gy + 1) / 2;
        textY = (ch + 1 - th) / 2;
    }
    if (tw == 0 || gx == 0)
        Spacing = 0;
    const int clientExtent = vertical ? ch : cw, glyphExtent = vertical ? gy : gx, textExtent = vertical ? th : tw;
    int m = Margin, s = Spacing;
    if (Margin == -1 && Spacing < 0) {
        m = (clientExtent - glyphExtent - textExtent) / 3;
        s = m;
    } else if (Margin == -1) {
        if (VAlign == 0 || VAlign == 1 || (VAlign == 2 && HAlign != 2))
            m = 2;
        else if (VAlign == 2)
            m = (clientExtent - (Spacing + glyphExtent + textExtent) + 1) / 2;
    } else if (Spacing < 0) {
        s = (clientExtent - Margin - glyphExtent - textExtent) / 2;
    }
    switch (Layout) {
    case blGlyphRight:
        if (HAlign == 0) {
            GlyphPos.x = m + tw + s;
            textX = m;
        } else if (HAlign == 1) {
            GlyphPos.x = cw - m - gx;
            TextRect.right = GlyphPos.x - s;
            textX = 0;
        } else {
            textX = (cw - tw - s - gx) / 2;
            GlyphPos.x = s + textX + tw;
        }
        break;
    case blGlyphTop:
        GlyphPos.y = (ch - gy - s - th) / 2;
        textY = GlyphPos.y + gy + s;
        break;
    case blGlyphBottom: {
        const int g = ch - gy;
        GlyphPos.y = g - (g - s - th) / 2;
        textY = GlyphPos.y - s - th;
        break;
    }
    default:
        if (HAlign == 1) {
            textX = cw - m - tw;
            GlyphPos.x = textX - s - gx;
        } else if (HAlign == 2) {
            GlyphPos.x = std::max((cw - tw - s - gx) / 2, m);
            textX = s + GlyphPos.x + gx;
        } else if (gx > 0) {
            GlyphPos.x = m;
            textX = m + gx + s;
            TextRect.right = Client.right - m - textX;
        } else {
            TextRect.right = m + tw;
            textX = m;
        }
        break;
    }
    GlyphPos.x += Client.left;
    GlyphPos.y += Client.top;
    MoveRect(TextRect, textX + Client.left, textY + Client.top);
    if (VAlign != 0 && VAlign != 1)
        return;
    const int edge = std::max(0, Margin);
    if (VAlign == 0) {
        if (Layout == blGlyphTop) {
            MoveRect(TextRect, 0, edge - GlyphPos.y);
            GlyphPos.y = edge;
        } else if (Layout == blGlyphBottom) {
            GlyphPos.y = edge + GlyphPos.y - TextRect.top;
            MoveRect(TextRect, 0, edge - TextRect.top);
        } else {
            GlyphPos.y = edge;
            MoveRect(TextRect, 0, edge - TextRect.top);
        }
        return;
    }
    const int bottom = Client.bottom - edge;
    if (Layout == blGlyphTop) {
        GlyphPos.y += bottom - TextRect.bottom;
        MoveRect(TextRect, 0, bottom - TextRect.bottom);
    } else if (Layout == blGlyphBottom) {
        MoveRect(TextRect, 0, bottom - GlyphPos.y - gy);
        GlyphPos.y = bottom - gy;
    } else {
        GlyphPos.y = bottom - gy;
        MoveRect(TextRect, 0, bottom - TextRect.bottom);
    }
}

void LoadPngFileToBitmap(TBitmap* Bmp, const String& FileName)
{
    TOwned<TPNGGraphic> png(New<TPNGGraphic>());
    png->LoadFromFile(FileName);
    Bmp->Assign(png.get());
    ApplyPngAlpha(Bmp, png.get());
}

void LoadPngStreamToBitmap(TBitmap* Bmp, TStream* Stream)
{
    TOwned<TPNGGraphic> png(New<TPNGGraphic>());
    png->LoadFromStream(Stream);
    const bool transparent = Bmp->GetTransparent();
    Bmp->Assign(png.get());
    Bmp->SetTransparent(transparent);
    ApplyPngAlpha(Bmp, png.get());
}
