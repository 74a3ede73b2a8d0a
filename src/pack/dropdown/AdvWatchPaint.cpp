// How the analog clock paints: the face, marks, numbers and AM/PM box go
// into a cache bitmap once per full paint; every tick and hand move copies
// the cache with the hands on it to the window in one blit. Also the look
// presets, the component-style colours and the unit's drawing routines.
#include "AdvTimePickerDropDown.h"

#include "AdvGDIP.h"
#include "GdiHandles.h"
#include "ScopeExit.h"
#include "SysUtils.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

int RoundEven(double x)
{
    return static_cast<int>(std::nearbyint(x));
}

double Rad(double Degrees)
{
    return Degrees * kPi / 180.0;
}

// The point at angle a (clockwise from twelve) and distance r from C.
TGPPointF At(POINT C, double a, double r)
{
    return {static_cast<float>(C.x + r * std::sin(Rad(a))), static_cast<float>(C.y - r * std::cos(Rad(a)))};
}

// A shadow colour keeps the stored bytes as they are, system colours included.
ARGB RawShadowColor(TColor Color)
{
    const auto c = static_cast<DWORD>(Color);
    return MakeGPColor(80, Byte(c & 0xFF), Byte((c >> 8) & 0xFF), Byte((c >> 16) & 0xFF));
}

void PrepareSurface(TGPGraphics& G)
{
    G.SetSmoothingMode(SmoothingModeAntiAlias);
}

Byte ClampByte(int Value)
{
    return static_cast<Byte>(std::clamp(Value, 0, 255));
}

} // namespace

// ---------------------------------------------------------------------------
// Drawing routines of the unit.

std::unique_ptr<TGPGraphicsPath> CreateRoundRectPath(const TGPRectF& R, float Radius)
{
    auto path = std::make_unique<TGPGraphicsPath>();
    const float d = 2 * Radius;
    const float l = R.X, t = R.Y, r = R.X + R.Width, b = R.Y + R.Height;
    path->AddLine(l + Radius, t, r - Radius, t);
    path->AddArc(r - d, t, d, d, 270, 90);
    path->AddLine(r, t + Radius, r, b - Radius);
    path->AddArc(r - d, b - d, d, d, 0, 90);
    path->AddLine(r - Radius, b, l + Radius, b);
    path->AddArc(l, b - d, d, d, 90, 90);
    path->AddLine(l, b - Radius, l, t + Radius);
    path->AddArc(l, t, d, d, 180, 90);
    path->CloseFigure();
    return path;
}

std::unique_ptr<TGPGraphicsPath> CreateRectPath(const TGPRectF& R)
{
    auto path = std::make_unique<TGPGraphicsPath>();
    path->AddLine(R.X, R.Y, R.X + R.Width, R.Y);
    path->AddLine(R.X + R.Width, R.Y, R.X + R.Width, R.Y + R.Height);
    path->AddLine(R.X + R.Width, R.Y + R.Height, R.X, R.Y + R.Height);
    path->AddLine(R.X, R.Y + R.Height, R.X, R.Y);
    path->CloseFigure();
    return path;
}

void WatchDrawRoundRect(TGPGraphics* G, TGPPen* Pen, float X, float Y, float Width, float Height, float Radius)
{
    auto path = CreateRoundRectPath({X, Y, Width, Height}, Radius);
    G->DrawPath(Pen, path.get());
}

void WatchFillRoundRect(TGPGraphics* G, TGPBrush* Brush, float X, float Y, float Width, float Height, float Radius)
{
    auto path = CreateRoundRectPath({X, Y, Width, Height}, Radius);
    G->FillPath(Brush, path.get());
}

TRect WatchDrawText(TCanvas* Canvas, TGPGraphics* G, int Alignment, const TRect& R, const String& Text,
                    TFont* Font, bool Enabled, bool DrawIt, int Mode)
{
    if ((!G && !Canvas) || Text.empty())
        return TRect();
    std::unique_ptr<TGPGraphics> own;
    if (!G) {
        own = std::make_unique<TGPGraphics>(Canvas->GetHandle());
        G = own.get();
    }
    int style = FontStyleRegular;
    if (Font->GetStyle().Contains(fsBold))
        style |= FontStyleBold;
    if (Font->GetStyle().Contains(fsItalic))
        style |= FontStyleItalic;
    if (Font->GetStyle().Contains(fsUnderline))
        style |= FontStyleUnderline;
    const float size = static_cast<float>(Font->GetSize());
    // GDI+ knows few of the faces the looks name: then "Arial", and where
    // that cannot make the font either the generic sans-serif family.
    std::unique_ptr<TGPFontFamily> family;
    std::unique_ptr<TGPFont> made;
    for (const String& name : {Font->GetName(), String(L"Arial")}) {
        family = std::make_unique<TGPFontFamily>(name);
        if (family->GetLastStatus() != Ok)
            continue;
        made = std::make_unique<TGPFont>(family.get(), size, style, UnitPoint);
        if (made->GetLastStatus() == Ok)
            break;
        made.reset();
    }
    if (!made)
        made = std::make_unique<TGPFont>(TGPFontFamily::GenericSansSerif(), size, style, UnitPoint);
    TGPFont& font = *made;
    G->SetSmoothingMode(SmoothingModeAntiAlias);
    TGPStringFormat format;
    format.SetAlignment(Alignment == 1 ? StringAlignmentFar
                                       : (Alignment == 2 ? StringAlignmentCenter : StringAlignmentNear));
    format.SetLineAlignment(StringAlignmentNear);
    format.SetHotkeyPrefix(HotkeyPrefixShow);
    format.SetTrimming(StringTrimmingNone);
    TGPSolidBrush brush(Enabled ? ColorToGPColor(Font->GetColor()) : MakeOpaqueGPColor(128, 128, 128));
    if (Mode == 1)
        G->SetTextRenderingHint(TextRenderingHintClearTypeGridFit);
    else if (Mode == 2)
        G->SetTextRenderingHint(TextRenderingHintAntiAlias);
    const TGPRectF layout{static_cast<float>(R.left), static_cast<float>(R.top), static_cast<float>(R.Width()),
                          static_cast<float>(R.Height())};
    TRect bounds;
    if (Mode != 0 || !Canvas) {
        TGPRectF box;
        G->MeasureString(Text, static_cast<int>(Text.size()), &font, layout, &format, box);
        bounds = TRect(RoundEven(box.X), RoundEven(box.Y), RoundEven(box.X + box.Width),
                       RoundEven(box.Y + box.Height));
    } else {
        RECT r = R;
        Canvas->GetFont()->Assign(Font);
        DrawTextW(Canvas->GetHandle(), Text.c_str(), static_cast<int>(Text.size()), &r, DT_CALCRECT | DT_WORDBREAK);
        bounds = TRect(r);
    }
    if (DrawIt) {
        if (Mode != 0 || !Canvas) {
            G->DrawString(Text, static_cast<int>(Text.size()), &font, layout, &format, &brush);
        } else {
            Canvas->GetBrush()->SetStyle(bsClear);
            RECT r = R;
            UINT flags = DT_VCENTER | DT_SINGLELINE;
            if (Alignment == 1)
                flags |= DT_RIGHT;
            else if (Alignment == 2)
                flags |= DT_CENTER;
            DrawTextW(Canvas->GetHandle(), Text.c_str(), static_cast<int>(Text.size()), &r, flags);
        }
    }
    return bounds;
}

void DrawGraphicGDIP(TGPGraphics* G, TCanvas* Canvas, const TRect& R, TGraphic* Graphic, bool Transparent,
                     bool Stretch)
{
    if (!Graphic || Graphic->GetEmpty() || (!G && !Canvas))
        return;
    // Runs inside WM_PAINT: a picture that cannot be saved or decoded, or
    // memory that runs out, must not fail the paint, which would only be
    // asked for again at once.
    try {
        std::unique_ptr<TGPGraphics> own;
        if (!G) {
            own = std::make_unique<TGPGraphics>(Canvas->GetHandle());
            G = own.get();
        }
        TOwned<TMemoryStream> bytes(New<TMemoryStream>());
        Graphic->SaveToStream(bytes.get());
        if (bytes->GetSize() == 0)
            return;
        TGPDecodedImage decoded(bytes.get());
        TGPImage* image = decoded.Image();
        if (!image || image->GetLastStatus() != Ok)
            return;
        const int w = static_cast<int>(image->GetWidth());
        const int h = static_cast<int>(image->GetHeight());
        if (w <= 0 || h <= 0)
            return;
        if (!Transparent || image->GetFormat() == ifPNG) {
            G->DrawImage(image, R.left, R.top);
            return;
        }
        ARGB key = 0;
        if (auto bitmap = TGPBitmap::FromStream(decoded.Stream()); bitmap && bitmap->GetLastStatus() == Ok)
            bitmap->GetPixel(0, 0, key);
        TGPImageAttributes attributes;
        attributes.SetColorKey(key, key);
        const TGPRectF dest = Stretch ? TGPRectF{static_cast<float>(R.left), static_cast<float>(R.top),
                                                 static_cast<float>(R.Width()), static_cast<float>(R.Height())}
                                      : TGPRectF{static_cast<float>(R.left), static_cast<float>(R.top),
                                                 static_cast<float>(w), static_cast<float>(h)};
        G->DrawImage(image, dest, 0, 0, static_cast<float>(w), static_cast<float>(h), UnitPixel, &attributes);
    } catch (...) {
    }
}

// ---------------------------------------------------------------------------
// Full paint and hands.

void TAdvWatch::Paint()
{
    TCustomControl::Paint();
    PaintAllOn(GetCanvas()->GetHandle());
}

void TAdvWatch::PaintAll()
{
    if (!HandleAllocated())
        return;
    TWindowDC dc(Handle());
    PaintAllOn(dc.Get());
}

void TAdvWatch::PaintAllOn(HDC Target)
{
    const int w = GetClientWidth();
    const int h = GetClientHeight();
    if (w <= 0 || h <= 0)
        return;
    if (FCache->GetWidth() != w || FCache->GetHeight() != h)
        FCache->SetSize(w, h);
    TCanvas* cache = FCache->GetCanvas();
    // The erased background is the control's colour.
    cache->GetBrush()->SetStyle(bsSolid);
    cache->GetBrush()->SetColor(GetColor());
    cache->FillRect(TRect(0, 0, w, h));
    {
        TGPGraphics g(cache->GetHandle());
        PrepareSurface(g);
        DrawBackground(&g, TRect(0, 0, w, h));
        DrawTickMarks(&g);
    }
    DrawNumbers(nullptr, cache);
    DrawAMPM(nullptr, cache);
    BitBlt(Target, 0, 0, w, h, cache->GetHandle(), 0, 0, SRCCOPY);
    TGPGraphics g(Target);
    PrepareSurface(g);
    DrawHands(&g);
}

void TAdvWatch::RepaintHands()
{
    if (!HandleAllocated())
        return;
    TWindowDC dc(Handle());
    RepaintHandsOn(dc.Get());
}

void TAdvWatch::RepaintHandsOn(HDC Target)
{
    const int w = GetClientWidth();
    const int h = GetClientHeight();
    if (w <= 0 || h <= 0)
        return;
    TOwned<TBitmap> frame(New<TBitmap>());
    frame->SetPixelFormat(pf32bit);
    frame->SetSize(w, h);
    BitBlt(frame->GetCanvas()->GetHandle(), 0, 0, w, h, FCache->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
    {
        TGPGraphics g(frame->GetCanvas()->GetHandle());
        PrepareSurface(g);
        DrawHands(&g);
    }
    BitBlt(Target, 0, 0, w, h, frame->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
}

void TAdvWatch::DrawBackground(TGPGraphics* G, const TRect& R)
{
    const TColor face = FAppearance->GetBackgroundColor();
    const TColor rim = FAppearance->GetBackgroundColorTo() == clNone ? face : FAppearance->GetBackgroundColorTo();
    const POINT c = GetCenter();
    const float radius = static_cast<float>(GetRadius());
    const float w = static_cast<float>(R.Width());
    const float h = static_cast<float>(R.Height());
    const TGPRectF box{static_cast<float>(R.left), static_cast<float>(R.top), w, h};
    const TWatchShape shape = FAppearance->GetShape();
    TGraphic* picture = FAppearance->GetPicture()->GetGraphic();
    if (picture && !picture->GetEmpty()) {
        DrawGraphicGDIP(G, nullptr, R, picture, true, true);
    } else if (FAppearance->GetBackgroundGradient() == wgRadial) {
        std::unique_ptr<TGPGraphicsPath> path;
        if (shape == wsCircle) {
            path = std::make_unique<TGPGraphicsPath>();
            path->AddEllipse(c.x - radius, c.y - radius, 2 * radius, 2 * radius);
        } else if (shape == wsRect) {
            path = CreateRectPath(box);
        } else {
            path = CreateRoundRectPath(box, 8);
        }
        TGPPathGradientBrush brush(path.get());
        brush.SetCenterColor(ColorToGPColor(face));
        brush.SetCenterPoint(TGPPointF{static_cast<float>(c.x), static_cast<float>(c.y)});
        // A system colour as the rim is resolved like every other colour.
        const COLORREF rimRGB = ColorToRGB(rim);
        ARGB surround = MakeOpaqueGPColor(GetRValue(rimRGB), GetGValue(rimRGB), GetBValue(rimRGB));
        int count = 1;
        brush.SetSurroundColors(&surround, count);
        if (shape == wsCircle)
            G->FillEllipse(&brush, c.x - radius, c.y - radius, 2 * radius, 2 * radius);
        else
            G->FillPath(&brush, path.get());
    } else {
        const LinearGradientMode mode = FAppearance->GetBackgroundGradient() == wgVertical
                                            ? LinearGradientModeVertical
                                            : (FAppearance->GetBackgroundGradient() == wgDiagonalForward
                                                   ? LinearGradientModeForwardDiagonal
                                                   : LinearGradientModeBackwardDiagonal);
        TGPLinearGradientBrush brush(box, ColorToGPColor(face), ColorToGPColor(rim), mode);
        if (shape == wsCircle)
            G->FillEllipse(&brush, c.x - radius, c.y - radius, 2 * radius, 2 * radius);
        else if (shape == wsRect)
            G->FillRectangle(&brush, box);
        else
            WatchFillRoundRect(G, &brush, box.X, box.Y, w, h, 8);
    }
    if (FAppearance->GetBorderStyle() == wbNone || FAppearance->GetBorderWidth() < 1 ||
        FAppearance->GetBorderColor() == clNone)
        return;
    TGPPen pen(ColorToGPColor(FAppearance->GetBorderColor()), static_cast<float>(FAppearance->GetBorderWidth()));
    if (shape == wsCircle)
        G->DrawEllipse(&pen, c.x - radius, c.y - radius, 2 * radius, 2 * radius);
    else if (shape == wsRect)
        G->DrawRectangle(&pen, box.X, box.Y, w - 1, h - 1);
    else
        WatchDrawRoundRect(G, &pen, box.X, box.Y, w - 1, h - 1, 8);
}

void TAdvWatch::DrawFaceMarks(TGPGraphics* G, TCanvas* Canvas)
{
    DrawTickMarks(G);
    DrawNumbers(G, Canvas);
}

void TAdvWatch::DrawTickMarks(TGPGraphics* G)
{
    const TTickMarks marks = FAppearance->GetTickMarks();
    if (marks == tmNone)
        return;
    const POINT c = GetCenter();
    const double ro = GetRadius() - FAppearance->GetBorderWidth() / 2;
    const double rh = FAppearance->GetHourMarkLength() > 0 ? ro - FAppearance->GetHourMarkLength() : 0.9 * ro;
    // Angles from three o'clock here.
    auto line = [&](TGPPen& pen, double a, double r1, double r2, float dx, float dy) {
        const double ca = std::cos(Rad(a)), sa = std::sin(Rad(a));
        G->DrawLine(&pen, static_cast<float>(c.x + r1 * ca) + dx, static_cast<float>(c.y + r1 * sa) + dy,
                    static_cast<float>(c.x + r2 * ca) + dx, static_cast<float>(c.y + r2 * sa) + dy);
    };
    {
        TGPPen pen(ColorToGPColor(FAppearance->GetHourColor()), FAppearance->GetHourMarkWidth());
        for (int q = 0; q < 4; ++q) {
            const double a = 90.0 * q;
            if (FAppearance->GetHourMarkStyle() == hmsQuartDblLine) {
                const bool horizontal = q % 2 == 0;
                line(pen, a, ro, rh, horizontal ? 0.0f : -2.0f, horizontal ? -2.0f : 0.0f);
                line(pen, a, ro, rh, horizontal ? 0.0f : 2.0f, horizontal ? 2.0f : 0.0f);
            } else {
                line(pen, a, ro, rh, 0, 0);
            }
        }
        if (marks == tmAll || marks == tmHours)
            for (int i = 1; i <= 11; ++i)
                if (i % 3 != 0)
                    line(pen, 30.0 * i, ro, rh, 0, 0);
    }
    if (marks != tmAll)
        return;
    const double rm = FAppearance->GetMinuteMarkLength() > 0 ? ro - FAppearance->GetMinuteMarkLength() : 0.95 * ro;
    TGPPen pen(ColorToGPColor(FAppearance->GetMinuteColor()), FAppearance->GetMinuteMarkWidth());
    for (int i = 0; i < 60; ++i)
        if (i % 5 != 0)
            line(pen, 6.0 * i, ro, rm, 0, 0);
}

void TAdvWatch::DrawNumbers(TGPGraphics*, TCanvas* Canvas)
{
    if (!Canvas || !FShowNumbers)
        return;
    const POINT c = GetCenter();
    const double ro = GetRadius() - FAppearance->GetBorderWidth() / 2;
    const int d = FAppearance->GetHourMarkLength() > 0 ? FAppearance->GetHourMarkLength()
                                                       : RoundEven(ro - 0.9 * ro) + 2;
    const double rt = ro - 2 * d - 2;
    Canvas->GetFont()->Assign(FAppearance->GetHourFont());
    Canvas->GetBrush()->SetStyle(bsClear);
    for (int i = 1; i <= 12; ++i) {
        if (FAppearance->GetTickMarks() == tmQuartHours && i % 3 != 0)
            continue;
        const String text = IntToStr(i);
        RECT box{0, 0, 1000, 500};
        DrawTextW(Canvas->GetHandle(), text.c_str(), static_cast<int>(text.size()), &box,
                  DT_CALCRECT | DT_SINGLELINE);
        const int tw = box.right - box.left;
        const int th = box.bottom - box.top;
        const int adj = i == 10 ? RoundEven(0.2 * th) : (i == 11 ? RoundEven(0.15 * th) : 0);
        const double r = rt - adj + d / 2;
        const int x = c.x + 1 + RoundEven(r * std::sin(Rad(30.0 * i)));
        const int y = c.y + 1 - RoundEven(r * std::cos(Rad(30.0 * i)));
        Canvas->TextOut(x - tw / 2 - 1, y - th / 2 - 1, text);
    }
}

void TAdvWatch::DrawAMPMFrame(TCanvas* Canvas, const TRect& Box, bool Fill)
{
    const TColor fill = FAppearance->GetAMPMColor();
    const TColor border = FAppearance->GetAMPMBorderColor();
    if (Fill && fill != clNone) {
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->GetBrush()->SetColor(fill);
    } else {
        Canvas->GetBrush()->SetStyle(bsClear);
    }
    if (border != clNone) {
        Canvas->GetPen()->SetStyle(psSolid);
        Canvas->GetPen()->SetColor(border);
    } else {
        Canvas->GetPen()->SetStyle(TPenStyle::psClear);
    }
    if (FAppearance->GetAMPMFrame() == apRect)
        Canvas->Rectangle(Box.left, Box.top, Box.right, Box.bottom);
    else
        Canvas->RoundRect(Box.left, Box.top, Box.right, Box.bottom, 5, 5);
    Canvas->GetPen()->SetStyle(psSolid);
}

void TAdvWatch::DrawAMPM(TGPGraphics* G, TCanvas* Canvas)
{
    if (!Canvas || !FShowAMPM)
        return;
    const TRect box = GetAMPMRect();
    if (FAppearance->GetAMPMColor() != clNone || FAppearance->GetAMPMBorderColor() != clNone)
        DrawAMPMFrame(Canvas, box, true);
    Canvas->GetBrush()->SetStyle(bsClear);
    WatchDrawText(Canvas, G, 2, box, FAM ? L"AM" : L"PM", FAppearance->GetAMPMFont(), true, true, 2);
}

void TAdvWatch::DrawHands(TGPGraphics* G)
{
    const TDateTime shown = GetDisplayTime();
    Word hour = 0, m = 0, s = 0, ms = 0;
    DecodeTime(shown, hour, m, s, ms);
    if (FSettings->GetAuto()) {
        FInternalSet = true;
        TScopeExit done([this] { FInternalSet = false; });
        if (FAM != (hour < 12)) {
            // The flag follows the running time; the box is repainted by the
            // full paint that comes with the next invalidation.
            FAM = hour < 12;
            Invalidate();
        }
    }
    const int h = hour % 12;
    const POINT c = GetCenter();
    const double R = GetRadius();
    const double th = 30.0 * h + m / 2.0;
    const double tm = 6.0 * m;
    const double ts = 6.0 * s;
    TWatchAppearance* a = FAppearance.get();
    auto drawLine = [&](ARGB color, float width, TGPPointF p1, TGPPointF p2, float dx, float dy) {
        TGPPen pen(color, width);
        G->DrawLine(&pen, p1.X + dx, p1.Y + dy, p2.X + dx, p2.Y + dy);
    };
    if (a->GetPointerStyle() == psPointer) {
        auto kite = [&](double theta, double length, ARGB color, float dx, float dy) {
            TGPPointF pts[4] = {At(c, theta + 180, 0.1 * R), At(c, theta - 90, 0.05 * R), At(c, theta, length * R),
                                At(c, theta + 90, 0.05 * R)};
            for (auto& p : pts) {
                p.X += dx;
                p.Y += dy;
            }
            TGPSolidBrush brush(color);
            G->FillPolygon(&brush, pts, 4);
        };
        if (a->GetHourPointerShadow() != clNone)
            kite(th, 0.5, RawShadowColor(a->GetHourPointerShadow()), 1, 3);
        kite(th, 0.5, ColorToGPColor(a->GetHourPointer()), 0, 0);
        if (a->GetMinutePointerShadow() != clNone)
            kite(tm, 0.7, RawShadowColor(a->GetMinutePointerShadow()), 1, 3);
        kite(tm, 0.7, ColorToGPColor(a->GetMinutePointer()), 0, 0);
    } else {
        const double tail = a->GetPointerStyle() == psShortLine ? 0.0 : 0.1;
        const float hourWidth = a->GetHourPointerSize();
        const float minuteWidth = a->GetMinutePointerSize();
        if (a->GetHourPointerShadow() != clNone)
            drawLine(RawShadowColor(a->GetHourPointerShadow()), hourWidth, At(c, th + 180, tail * R),
                     At(c, th, 0.46 * R), -1, 3);
        drawLine(ColorToGPColor(a->GetHourPointer()), hourWidth, At(c, th + 180, tail * R), At(c, th, 0.5 * R), 0,
                 0);
        if (a->GetPointerStyle() == psLineArrow) {
            TGPPen pen(ColorToGPColor(a->GetHourPointer()), hourWidth);
            TGPGraphicsPath path;
            path.AddLine(At(c, th, 0.5 * R), At(c, th + 10, 0.4 * R));
            path.AddLine(At(c, th - 10, 0.4 * R), At(c, th, 0.5 * R));
            G->DrawPath(&pen, &path);
        }
        if (a->GetMinutePointerShadow() != clNone)
            drawLine(RawShadowColor(a->GetMinutePointerShadow()), minuteWidth, At(c, tm + 180, tail * R),
                     At(c, tm, 0.65 * R), 0, 3);
        if (a->GetPointerStyle() == psLineArrow) {
            TGPPen pen(ColorToGPColor(a->GetMinutePointer()), minuteWidth);
            TGPGraphicsPath path;
            path.AddLine(At(c, tm, 0.7 * R), At(c, tm + 7, 0.6 * R));
            path.AddLine(At(c, tm - 7, 0.6 * R), At(c, tm, 0.7 * R));
            G->DrawPath(&pen, &path);
        }
        drawLine(ColorToGPColor(a->GetMinutePointer()), minuteWidth, At(c, tm + 180, tail * R), At(c, tm, 0.7 * R),
                 0, 0);
    }
    if (FSettings->GetAuto() && FSettings->GetSecond())
        drawLine(ColorToGPColor(a->GetSecondPointer()), a->GetSecondPointerSize(), At(c, ts + 180, 0.2 * R),
                 At(c, ts, 0.9 * R), 0, 0);
    const int size = a->GetCenterPointSize();
    if (size <= 0)
        return;
    const float left = c.x - size / 2.0f, top = c.y - size / 2.0f;
    if (a->GetCenterPointColor() != clNone) {
        TGPSolidBrush brush(ColorToGPColor(a->GetCenterPointColor()));
        G->FillEllipse(&brush, left, top, static_cast<float>(size), static_cast<float>(size));
    }
    int q = 0;
    if (a->GetCenterPointOuterBorderColor() != clNone) {
        q = RoundEven(0.2 * size);
        TGPPen pen(ColorToGPColor(a->GetCenterPointOuterBorderColor()), static_cast<float>(q));
        G->DrawEllipse(&pen, left, top, static_cast<float>(size), static_cast<float>(size));
    }
    if (a->GetCenterPointBorderColor() != clNone) {
        const float inner = static_cast<float>(size - q);
        TGPPen pen(ColorToGPColor(a->GetCenterPointBorderColor()), static_cast<float>(RoundEven(0.1 * size)));
        G->DrawEllipse(&pen, c.x - inner / 2, c.y - inner / 2, inner, inner);
    }
}

// ---------------------------------------------------------------------------
// The AM flag and its roll.

void TAdvWatch::SetAM(bool Value)
{
    if (Value == FAM)
        return;
    FAM = Value;
    if (FAnimation && FShowAMPM && FAppearance->GetAMPMColor() != clNone && !FInternalSet)
        RollAMPM();
    PaintAll();
}

void TAdvWatch::RollAMPM()
{
    if (!HandleAllocated() || GetClientWidth() <= 0 || GetClientHeight() <= 0)
        return;
    TRect inner = GetAMPMRect();
    const TRect box = inner;
    InflateRect(&inner, -1, -1);
    const int w = inner.Width();
    const int h = inner.Height();
    if (w <= 0 || h <= 0)
        return;
    TOwned<TBitmap> strip(New<TBitmap>());
    strip->SetSize(w, 2 * h);
    TCanvas* sc = strip->GetCanvas();
    sc->GetBrush()->SetColor(FAppearance->GetAMPMColor());
    sc->GetPen()->SetColor(FAppearance->GetAMPMColor());
    sc->Rectangle(0, 0, w, 2 * h);
    WatchDrawText(sc, nullptr, 2, TRect(0, 0, w, h), L"AM", FAppearance->GetAMPMFont(), true, true, 2);
    WatchDrawText(sc, nullptr, 2, TRect(0, h, w, 2 * h), L"PM", FAppearance->GetAMPMFont(), true, true, 2);
    const int cw = GetClientWidth(), ch = GetClientHeight();
    TWindowDC screen(Handle());
    // Towards PM the window slides from "AM" down to "PM", towards AM back up.
    for (int frame = 0; frame < h; ++frame) {
        const int offset = FAM ? h - frame : frame;
        TOwned<TBitmap> picture(New<TBitmap>());
        picture->SetPixelFormat(pf32bit);
        picture->SetSize(cw, ch);
        TCanvas* pc = picture->GetCanvas();
        BitBlt(pc->GetHandle(), 0, 0, cw, ch, FCache->GetCanvas()->GetHandle(), 0, 0, SRCCOPY);
        BitBlt(pc->GetHandle(), inner.left, inner.top, w, h, sc->GetHandle(), 0, offset, SRCCOPY);
        if (FAppearance->GetAMPMBorderColor() != clNone)
            DrawAMPMFrame(pc, box, false);
        {
            TGPGraphics g(pc->GetHandle());
            PrepareSurface(g);
            DrawHands(&g);
        }
        BitBlt(screen.Get(), 0, 0, cw, ch, pc->GetHandle(), 0, 0, SRCCOPY);
        Sleep(10);
    }
}

// ---------------------------------------------------------------------------
// Looks.

namespace {

void SetPresetFont(TFont* Font, const wchar_t* Name, int Size, TFontStyles Style, TColor Color)
{
    if (Name)
        Font->SetName(Name);
    if (Size > 0)
        Font->SetSize(Size);
    Font->SetStyle(Style);
    if (Color != clNone)
        Font->SetColor(Color);
}

const TFontStyles kBold = TFontStyles() << fsBold;

} // namespace

void TAdvWatch::SetStyle(TWatchStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    TWatchAppearance* a = FAppearance.get();
    a->SetDefaults();
    const int side = std::min(GetHeight(), GetWidth());
    TFont* ampm = a->GetAMPMFont();
    TFont* hour = a->GetHourFont();
    switch (Value) {
    case wsClassic:
        SetPresetFont(ampm, L"MS Sans Serif", 0, {}, clNone);
        SetPresetFont(hour, L"Comic Sans MS", 10, kBold, clNone);
        a->SetHourMarkLength(8);
        a->SetHourPointer(clBlack);
        a->SetHourPointerShadow(clBtnShadow);
        a->SetMinutePointerShadow(clBtnShadow);
        a->SetHourPointerSize(5);
        a->SetMinuteMarkLength(4);
        FAnimation = true;
        FAnimationFactor = 10;
        SetShowAMPM(true);
        SetShowNumbers(true);
        break;
    case wsTower:
        SetPresetFont(ampm, L"MS Sans Serif", 0, {}, clNone);
        a->SetAMPMFrame(apRect);
        a->SetBorderWidth(1);
        a->SetBackgroundColor(RGB(254, 240, 177));
        a->SetBackgroundColorTo(RGB(232, 204, 91));
        a->SetBackgroundGradient(wgDiagonalForward);
        a->SetCenterPointColor(RGB(213, 43, 0));
        a->SetCenterPointSize(6);
        SetPresetFont(hour, L"Century", 0, kBold, clWindowText);
        a->SetHourPointer(clBlack);
        a->SetHourPointerShadow(clBtnShadow);
        a->SetMinutePointerShadow(clBtnShadow);
        a->SetHourPointerSize(5);
        a->SetSecondPointer(RGB(213, 43, 0));
        a->SetShape(wsRect);
        a->SetPointerStyle(psPointer);
        a->StoreAMPMColor(RGB(254, 240, 177));
        SetShowNumbers(false);
        a->SetTickMarks(tmHours);
        break;
    case wsFluorescent:
        SetPresetFont(ampm, L"MS Sans Serif", 10, {}, clWindowText);
        a->SetAMPMFrame(apRoundRect);
        a->SetBorderColor(RGB(62, 62, 255));
        a->SetBackgroundColor(clBlack);
        a->SetBackgroundColorTo(clBlack);
        a->SetCenterPointColor(RGB(62, 62, 255));
        a->SetCenterPointBorderColor(clBlack);
        a->SetCenterPointOuterBorderColor(clBlack);
        a->SetCenterPointSize(20);
        SetPresetFont(hour, L"MS Sans Serif", 8, {}, clWindowText);
        a->SetHourColor(RGB(62, 62, 255));
        a->SetMinuteColor(RGB(62, 62, 255));
        a->SetHourMarkLength(10);
        a->SetHourPointer(RGB(62, 62, 255));
        a->SetMinutePointer(RGB(62, 62, 255));
        a->SetHourPointerShadow(clBtnShadow);
        a->SetMinutePointerShadow(clBtnShadow);
        a->SetHourPointerSize(2);
        a->SetMinutePointerSize(2);
        a->SetShape(wsRoundRect);
        a->SetHourMarkWidth(2);
        a->SetHourMarkStyle(hmsQuartDblLine);
        a->SetTickMarks(tmHours);
        SetShowAMPM(false);
        SetShowNumbers(false);
        break;
    case wsEmerald:
        SetPresetFont(ampm, L"MS Sans Serif", 0, {}, RGB(0, 0, 160));
        a->SetAMPMFrame(apRoundRect);
        a->SetBorderColor(RGB(0, 232, 58));
        a->SetBackgroundColor(RGB(0, 232, 58));
        a->SetBackgroundColorTo(clBlack);
        a->SetBackgroundGradient(wgDiagonalForward);
        a->SetCenterPointBorderColor(RGB(0, 255, 64));
        a->SetCenterPointColor(RGB(0, 225, 56));
        a->SetCenterPointSize(16);
        SetPresetFont(hour, L"MS Sans Serif", 0, {}, RGB(0, 232, 58));
        a->SetHourPointer(RGB(0, 255, 64));
        a->SetMinutePointer(RGB(0, 255, 64));
        a->SetHourPointerShadow(clBtnShadow);
        a->SetMinutePointerShadow(clBtnShadow);
        a->SetHourPointerSize(5);
        a->SetShape(wsRect);
        a->SetPointerStyle(psPointer);
        a->StoreAMPMColor(clNone);
        a->SetCenterPointOuterBorderColor(clBlack);
        a->SetHourMarkStyle(hmsQuartDblLine);
        a->SetHourColor(RGB(0, 232, 58));
        a->SetSecondPointer(clYellow);
        a->SetTickMarks(tmHours);
        SetShowNumbers(false);
        SetShowAMPM(false);
        break;
    case wsBlueStar:
        SetPresetFont(ampm, L"MS Sans Serif", 10, {}, RGB(0, 0, 160));
        a->StoreAMPMBorderColor(clNone);
        a->SetAMPMFrame(apRoundRect);
        a->SetBorderColor(RGB(213, 213, 255));
        a->SetBackgroundColor(RGB(213, 213, 255));
        a->SetBackgroundColorTo(RGB(0, 0, 160));
        a->SetBackgroundGradient(wgRadial);
        SetPresetFont(hour, L"MS Sans Serif", 8, {}, RGB(213, 213, 255));
        a->SetHourPointer(RGB(0, 0, 160));
        a->SetMinutePointer(RGB(0, 0, 160));
        a->SetHourPointerShadow(clBtnShadow);
        a->SetMinutePointerShadow(clBtnShadow);
        a->SetHourPointerSize(5);
        a->SetShape(wsRoundRect);
        a->SetPointerStyle(psPointer);
        a->StoreAMPMColor(clNone);
        SetShowAMPM(true);
        SetShowNumbers(true);
        break;
    case wsFuchsia:
        SetPresetFont(ampm, L"MS Sans Serif", 10, {}, clWindowText);
        a->SetAMPMFrame(apRoundRect);
        a->SetBorderColor(RGB(255, 208, 255));
        a->SetBackgroundColor(clBlack);
        a->SetBackgroundColorTo(clBlack);
        a->SetCenterPointBorderColor(RGB(221, 104, 221));
        a->SetCenterPointSize(20);
        SetPresetFont(hour, L"MS Sans Serif", 8, {}, clWindowText);
        a->SetHourColor(RGB(255, 208, 255));
        a->SetMinuteColor(RGB(255, 208, 255));
        a->SetHourPointer(RGB(255, 208, 255));
        a->SetMinutePointer(RGB(255, 208, 255));
        a->SetHourMarkLength(10);
        a->SetHourPointerShadow(clBtnShadow);
        a->SetMinutePointerShadow(clBtnShadow);
        a->SetHourPointerSize(2);
        a->SetMinutePointerSize(2);
        a->SetShape(wsRect);
        a->SetCenterPointOuterBorderColor(clBlack);
        a->SetHourMarkWidth(2);
        a->SetHourMarkStyle(hmsQuartDblLine);
        a->SetSecondPointer(RGB(221, 104, 221));
        a->SetTickMarks(tmQuartHours);
        SetShowAMPM(false);
        SetShowNumbers(false);
        break;
    case wsBlack:
        SetPresetFont(ampm, L"MS Sans Serif", 0, {}, clNone);
        a->SetBackgroundColor(RGB(32, 32, 32));
        a->SetBackgroundColorTo(clNone);
        a->SetBorderColor(clBlack);
        a->SetCenterPointBorderColor(clWhite);
        a->SetCenterPointOuterBorderColor(clWhite);
        a->SetCenterPointColor(clWhite);
        a->SetHourColor(RGB(88, 88, 88));
        a->SetMinuteColor(RGB(88, 88, 88));
        SetPresetFont(hour, L"Century Gothic", 11, hour->GetStyle(), clWhite);
        a->SetHourPointer(clWhite);
        a->SetMinutePointer(clWhite);
        a->SetHourPointerShadow(clBtnShadow);
        a->SetMinutePointerShadow(clBtnShadow);
        a->SetHourPointerSize(5);
        a->SetMinuteMarkLength(4);
        SetShowAMPM(false);
        SetShowNumbers(true);
        break;
    case wsBlackWhite:
        a->SetBackgroundColor(clWhite);
        a->SetBackgroundColorTo(clNone);
        a->SetBorderColor(clBlack);
        a->SetBorderWidth(8);
        a->SetCenterPointBorderColor(clBlack);
        a->SetCenterPointOuterBorderColor(clBlack);
        a->SetCenterPointColor(clBlack);
        a->SetCenterPointSize(8);
        a->SetHourColor(RGB(88, 88, 88));
        SetPresetFont(hour, L"Century Gothic", 14, kBold, clBlack);
        a->SetHourPointer(clBlack);
        a->SetMinutePointer(clBlack);
        a->SetHourPointerShadow(clBtnShadow);
        a->SetMinutePointerShadow(clBtnShadow);
        a->SetHourPointerSize(5);
        a->SetMinuteMarkLength(4);
        a->SetSecondPointer(clMaroon);
        a->SetPointerStyle(psPointer);
        a->SetTickMarks(tmQuartHours);
        SetShowAMPM(false);
        SetShowNumbers(true);
        break;
    case wsGray:
        SetPresetFont(ampm, L"MS Sans Serif", 10, ampm->GetStyle(), clNone);
        a->SetBackgroundColor(RGB(209, 209, 209));
        a->SetBackgroundColorTo(RGB(108, 108, 108));
        a->SetBackgroundGradient(wgRadial);
        a->SetBorderColor(RGB(69, 69, 69));
        a->SetCenterPointBorderColor(RGB(69, 69, 69));
        a->SetCenterPointColor(clBlack);
        a->SetCenterPointOuterBorderColor(clNone);
        a->SetHourColor(clBlack);
        SetPresetFont(hour, L"Comic Sans MS", 8, {}, clNone);
        a->SetHourPointer(RGB(78, 78, 78));
        a->SetMinutePointer(RGB(78, 78, 78));
        a->SetHourPointerShadow(clNone);
        a->SetMinutePointerShadow(clNone);
        a->SetHourPointerSize(1);
        a->SetMinutePointerSize(1);
        a->SetMinuteColor(clGray);
        a->SetSecondPointer(clRed);
        SetShowAMPM(true);
        SetShowNumbers(true);
        break;
    case wsSuperNova:
        a->SetBackgroundColorTo(RGB(211, 211, 209));
        a->SetBorderColor(clNone);
        a->SetCenterPointOuterBorderColor(clBlack);
        a->SetCenterPointSize(10);
        // The marks are bytes: a large clock gets the longest mark there is,
        // not the computed length modulo 256.
        a->SetHourMarkLength(ClampByte(RoundEven(side / 4.5)));
        a->SetHourPointer(clBlack);
        a->SetHourPointerShadow(clBtnShadow);
        a->SetMinuteColor(clGray);
        a->SetMinuteMarkLength(ClampByte(side / 3));
        a->SetMinutePointer(clBlack);
        SetShowAMPM(false);
        SetShowNumbers(false);
        break;
    case wsSports:
        a->SetBackgroundColor(clBlack);
        a->SetBackgroundColorTo(clNone);
        a->SetBorderColor(clBlack);
        a->SetBorderWidth(1);
        a->SetCenterPointBorderColor(clBlue);
        a->SetCenterPointOuterBorderColor(clBlack);
        a->SetCenterPointColor(RGB(25, 25, 25));
        a->SetCenterPointSize(ClampByte(RoundEven(side / 3.6)));
        a->SetHourColor(RGB(177, 176, 171));
        SetPresetFont(hour, L"Times New Roman", 9, hour->GetStyle(), RGB(121, 121, 121));
        a->SetHourPointer(clRed);
        a->SetHourPointerShadow(clNone);
        a->SetHourPointerSize(2);
        a->SetMinuteColor(clGray);
        a->SetMinutePointer(clYellow);
        a->SetMinutePointerSize(2);
        a->SetMinutePointerShadow(clNone);
        a->SetMinuteMarkLength(1);
        a->SetSecondPointer(RGB(254, 139, 24));
        a->SetTickMarks(tmQuartHours);
        SetShowAMPM(false);
        SetShowNumbers(true);
        break;
    case wsSmooth:
        a->SetBackgroundColor(clWhite);
        a->SetBackgroundColorTo(RGB(177, 176, 171));
        a->SetBorderColor(RGB(88, 88, 88));
        a->SetBorderWidth(1);
        a->SetCenterPointBorderColor(clBlack);
        a->SetCenterPointOuterBorderColor(RGB(74, 74, 74));
        a->SetCenterPointColor(clWhite);
        a->SetCenterPointSize(6);
        a->SetHourColor(RGB(177, 176, 171));
        SetPresetFont(hour, L"Times New Roman", 9, hour->GetStyle(), RGB(121, 121, 121));
        a->SetHourPointer(RGB(74, 74, 74));
        a->SetMinutePointer(RGB(74, 74, 74));
        a->SetHourPointerShadow(RGB(178, 178, 178));
        a->SetMinutePointerShadow(RGB(178, 178, 178));
        a->SetHourPointerSize(2);
        a->SetMinutePointerSize(2);
        a->SetMinuteColor(clGray);
        a->SetMinuteMarkLength(1);
        a->SetSecondPointer(RGB(74, 74, 74));
        a->SetTickMarks(tmQuartHours);
        SetShowAMPM(false);
        SetShowNumbers(true);
        break;
    }
    Invalidate();
}

namespace {

struct TWatchStyleColors {
    TPackStyle Style;
    TColor Background, BackgroundTo, Border, AMPM, AMPMBorder, CenterPoint, CenterPointBorder, Marks, Hands,
        Shadows, Second;
};

constexpr TColor kGray = RGB(128, 128, 128);

const TWatchStyleColors kWatchStyleColors[] = {
    {tsOffice2003Blue, RGB(175, 210, 255), RGB(175, 210, 255), RGB(89, 135, 214), RGB(89, 135, 214),
     RGB(0, 45, 150), RGB(89, 135, 214), RGB(89, 135, 214), RGB(89, 135, 214), RGB(89, 135, 214), clWhite,
     clWhite},
    {tsOffice2003Silver, RGB(216, 216, 230), RGB(216, 216, 230), RGB(165, 164, 189), RGB(165, 164, 189),
     RGB(0, 45, 150), RGB(165, 164, 189), RGB(165, 164, 189), RGB(165, 164, 189), RGB(165, 164, 189), clWhite,
     clWhite},
    {tsOffice2003Olive, RGB(225, 234, 185), RGB(225, 234, 185), RGB(175, 192, 130), RGB(175, 192, 130),
     RGB(0, 45, 150), RGB(175, 192, 130), RGB(175, 192, 130), RGB(175, 192, 130), RGB(175, 192, 130), clWhite,
     clWhite},
    {tsOffice2003Classic, RGB(242, 242, 242), RGB(242, 242, 242), kGray, kGray, RGB(0, 45, 150), kGray, kGray, kGray,
     kGray, clWhite, kGray},
    {tsOffice2007Luna, RGB(227, 239, 255), RGB(227, 239, 255), RGB(208, 222, 240), RGB(208, 222, 240),
     RGB(208, 222, 240), RGB(227, 239, 255), RGB(227, 239, 255), RGB(8, 55, 114), RGB(8, 55, 114), clWhite,
     RGB(8, 55, 114)},
    {tsOffice2007Obsidian, RGB(76, 83, 92), RGB(76, 83, 92), RGB(240, 241, 242), RGB(76, 83, 92),
     RGB(240, 241, 242), RGB(227, 239, 255), RGB(227, 239, 255), RGB(240, 241, 242), RGB(240, 241, 242), clWhite,
     RGB(240, 241, 242)},
    {tsWindowsXP, clBtnFace, clBtnFace, clBlack, clBtnFace, clBlack, clBlack, clBlack, clBlack, clBlack, clWhite,
     clBlack},
    {tsWhidbey, RGB(250, 249, 245), RGB(250, 249, 245), RGB(152, 152, 126), RGB(250, 249, 245), RGB(152, 152, 126),
     RGB(152, 152, 126), RGB(152, 152, 126), RGB(152, 152, 126), RGB(152, 152, 126), clWhite, RGB(152, 152, 126)},
    {tsOffice2007Silver, RGB(241, 244, 248), RGB(241, 244, 248), RGB(219, 224, 232), RGB(241, 244, 248),
     RGB(219, 224, 232), RGB(111, 112, 116), RGB(219, 224, 232), RGB(111, 112, 116), RGB(111, 112, 116), clWhite,
     RGB(111, 112, 116)},
    {tsWindowsVista, RGB(249, 253, 255), RGB(240, 250, 255), RGB(154, 223, 254), RGB(249, 253, 255),
     RGB(154, 223, 254), RGB(154, 223, 254), RGB(154, 223, 254), RGB(154, 223, 254), RGB(154, 223, 254), clWhite,
     RGB(154, 223, 254)},
    {tsWindows7, RGB(250, 251, 253), RGB(235, 243, 253), RGB(184, 214, 251), RGB(250, 251, 253), RGB(184, 214, 251),
     RGB(184, 214, 251), RGB(184, 214, 251), RGB(184, 214, 251), RGB(184, 214, 251), clWhite, RGB(184, 214, 251)},
    {tsTerminal, clBtnFace, clBtnFace, kGray, clBtnFace, kGray, kGray, kGray, kGray, kGray, clWhite, kGray},
    {tsOffice2010Blue, RGB(239, 246, 253), RGB(239, 246, 253), RGB(159, 178, 199), RGB(199, 218, 240),
     RGB(159, 178, 199), RGB(159, 178, 199), RGB(159, 178, 199), RGB(159, 178, 199), RGB(159, 178, 199), clWhite,
     RGB(159, 178, 199)},
    {tsOffice2010Silver, clWhite, clWhite, RGB(200, 205, 210), RGB(224, 229, 237), RGB(200, 205, 210),
     RGB(200, 205, 210), RGB(200, 205, 210), RGB(200, 205, 210), RGB(200, 205, 210), clSilver, RGB(200, 205, 210)},
    {tsOffice2010Black, RGB(191, 191, 191), RGB(191, 191, 191), RGB(109, 109, 109), RGB(145, 145, 145),
     RGB(109, 109, 109), RGB(109, 109, 109), RGB(109, 109, 109), RGB(109, 109, 109), RGB(109, 109, 109), clWhite,
     RGB(109, 109, 109)},
};

} // namespace

void ApplyWatchComponentStyle(TWatchAppearance* a, TPackStyle AStyle)
{
    if (!a)
        return;
    a->SetCenterPointOuterBorderColor(clBlack);
    a->GetHourFont()->SetColor(clBlack);
    a->GetAMPMFont()->SetColor(clBlack);
    for (const TWatchStyleColors& row : kWatchStyleColors) {
        if (row.Style != AStyle)
            continue;
        a->SetBackgroundColor(row.Background);
        a->SetBackgroundColorTo(row.BackgroundTo);
        a->SetBorderColor(row.Border);
        a->StoreAMPMColor(row.AMPM);
        a->StoreAMPMBorderColor(row.AMPMBorder);
        a->SetCenterPointColor(row.CenterPoint);
        a->SetCenterPointBorderColor(row.CenterPointBorder);
        a->SetHourColor(row.Marks);
        a->SetMinuteColor(row.Marks);
        a->SetHourPointer(row.Hands);
        a->SetMinutePointer(row.Hands);
        a->SetHourPointerShadow(row.Shadows);
        a->SetMinutePointerShadow(row.Shadows);
        a->SetSecondPointer(row.Second);
        if (AStyle == tsOffice2007Obsidian) {
            a->GetAMPMFont()->SetColor(RGB(240, 241, 242));
            a->GetHourFont()->SetColor(RGB(240, 241, 242));
        }
        break;
    }
}

void TAdvWatch::SetComponentStyle(TPackStyle AStyle)
{
    ApplyWatchComponentStyle(FAppearance.get(), AStyle);
    Invalidate();
}
