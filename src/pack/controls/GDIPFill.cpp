// The fill description: its values and its painting through GDI+.
#include "GDIPFill.h"
#include <cmath>

using namespace GDIPFill;

TGDIPFill::TGDIPFill()
{
    FPicture.reset(New<TAdvGDIPPicture>());
    FBackGroundPicture.reset(New<TAdvGDIPPicture>());
    FPicture->OnChange = [this](TObject*) { Changed(); };
    FBackGroundPicture->OnChange = [this](TObject*) { Changed(); };
}

TGDIPFill::~TGDIPFill() = default;

void TGDIPFill::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TGDIPFill*>(Source);
    if (!src || src == this)
        return;
    // One notification for the whole copy.
    BeginUpdate();
    SetColor(src->FColor);
    SetColorTo(src->FColorTo);
    SetColorMirror(src->FColorMirror);
    SetColorMirrorTo(src->FColorMirrorTo);
    SetGradientType(src->FGradientType);
    SetGradientMirrorType(src->FGradientMirrorType);
    SetHatchStyle(src->FHatchStyle);
    SetHatchStyleMirror(src->FHatchStyleMirror);
    SetBackGroundPictureAspectRatio(src->FBackGroundPictureAspectRatio);
    SetBackGroundPictureMode(src->FBackGroundPictureMode);
    FBackGroundPicture->Assign(src->FBackGroundPicture.get());
    SetBackGroundPicturePosition(src->FBackGroundPicturePosition);
    SetBackGroundPictureLeft(src->FBackGroundPictureLeft);
    SetBackGroundPictureTop(src->FBackGroundPictureTop);
    SetBackGroundPictureAspectMode(src->FBackGroundPictureAspectMode);
    FPicture->Assign(src->FPicture.get());
    SetPicturePosition(src->FPicturePosition);
    SetPictureLeft(src->FPictureLeft);
    SetPictureTop(src->FPictureTop);
    SetPictureSize(src->FPictureSize);
    SetPictureWidth(src->FPictureWidth);
    SetPictureHeight(src->FPictureHeight);
    SetPictureAspectRatio(src->FPictureAspectRatio);
    SetPictureAspectMode(src->FPictureAspectMode);
    SetOpacity(src->FOpacity);
    SetOpacityTo(src->FOpacityTo);
    SetOpacityMirror(src->FOpacityMirror);
    SetOpacityMirrorTo(src->FOpacityMirrorTo);
    SetBorderColor(src->FBorderColor);
    SetBorderOpacity(src->FBorderOpacity);
    SetBorderWidth(src->FBorderWidth);
    SetRounding(src->FRounding);
    SetRoundingType(src->FRoundingType);
    SetShadowColor(src->FShadowColor);
    SetShadowOffset(src->FShadowOffset);
    SetShadowType(src->FShadowType);
    SetAngle(src->FAngle);
    SetGlow(src->FGlow);
    SetGlowGradientColor(src->FGlowGradientColor);
    SetGlowRadialColor(src->FGlowRadialColor);
    EndUpdate();
    Changed();
}

void TGDIPFill::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
}

void TGDIPFill::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange(this);
}

void TGDIPFill::SetBackGroundPicture(TAdvGDIPPicture* Value)
{
    if (Value != FBackGroundPicture.get())
        FBackGroundPicture->Assign(Value);
    Changed();
}

void TGDIPFill::SetPicture(TAdvGDIPPicture* Value)
{
    if (Value != FPicture.get())
        FPicture->Assign(Value);
    Changed();
}

// --- geometry ---------------------------------------------------------------------------

std::unique_ptr<TGPGraphicsPath> TGDIPFill::CreateRoundedPath(const TGPRectF& R, int Radius,
                                                              TFillRoundingType RoundingType)
{
    auto path = std::make_unique<TGPGraphicsPath>(FillModeAlternate);
    if (RoundingType < rtNone || RoundingType > rtRight) {
        path->CloseFigure();
        return path;
    }
    // Which corners are round: top-left, top-right, bottom-right, bottom-left.
    static constexpr bool round[6][4] = {
        {false, false, false, false}, {true, true, false, false}, {false, false, true, true},
        {true, true, true, true},     {true, false, false, true}, {false, true, true, false},
    };
    const float d = 2.0f * static_cast<float>(Radius);
    const float x = R.X, y = R.Y, right = R.X + R.Width, bottom = R.Y + R.Height;
    struct Corner {
        float px, py;    // the corner point
        float ax, ay;    // the arc square's top-left
        float start;
    };
    const Corner corners[4] = {
        {x, y, x, y, 180}, {right, y, right - d, y, 270}, {right, bottom, right - d, bottom - d, 0},
        {x, bottom, x, bottom - d, 90}};
    for (int i = 0; i < 4; ++i) {
        const Corner& c = corners[i];
        if (Radius > 0 && round[RoundingType][i])
            path->AddArc(c.ax, c.ay, d, d, c.start, 90);
        else
            path->AddLine(c.px, c.py, c.px, c.py);
    }
    path->CloseFigure();
    return path;
}

TSize TGDIPFill::FitPictureToRect(int w, int h, int width, int height, TPictureMode AspectMode)
{
    if (w <= 0 || h <= 0 || width <= 0 || height <= 0)
        return TSize(0, 0);
    if (w < width && h < height && AspectMode == pmNormal)
        return TSize(w, h);
    if (static_cast<double>(width) / height > static_cast<double>(w) / h)
        return TSize(static_cast<int>(std::lround(static_cast<double>(w) * height / h)), height);
    return TSize(width, static_cast<int>(std::lround(static_cast<double>(h) * width / w)));
}

// --- painting ---------------------------------------------------------------------------

namespace {

// The smoothing mode for one stretch of drawing, put back afterwards.
class TSmoothing {
public:
    TSmoothing(TGPGraphics* Graphics, SmoothingMode Mode) : graphics_(Graphics), saved_(Graphics->GetSmoothingMode())
    {
        graphics_->SetSmoothingMode(Mode);
    }
    ~TSmoothing()
    {
        if (saved_ != SmoothingModeInvalid)
            graphics_->SetSmoothingMode(saved_);
    }
    TSmoothing(const TSmoothing&) = delete;
    TSmoothing& operator=(const TSmoothing&) = delete;

private:
    TGPGraphics* graphics_;
    SmoothingMode saved_;
};

TGPRectF Grown(const TGPRectF& r, float by)
{
    return {r.X - by, r.Y - by, r.Width + 2 * by, r.Height + 2 * by};
}

} // namespace

void TGDIPFill::FillRadialArea(TGPGraphics* Graphics, const TGPRectF& R, TColor Color, TColor ColorTo,
                               Byte AlphaColor, Byte AlphaColorTo, bool AtTop, int Radius,
                               TFillRoundingType RoundingType)
{
    // The background in the surround colour, which then clips the glow of
    // the centre colour.
    const std::unique_ptr<TGPGraphicsPath> outline = CreateRoundedPath(R, Radius, RoundingType);
    const ARGB background = AtTop ? ColorToGPColorAlpha(AlphaColor, Color) : ColorToGPColorAlpha(AlphaColorTo, ColorTo);
    TGPSolidBrush solid(background);
    Graphics->FillPath(&solid, outline.get());
    Graphics->SetClip(outline.get());

    TGPGraphicsPath ellipse;
    if (AtTop)
        ellipse.AddEllipse(R.X, R.Y - R.Height / 2, R.Width, 1.5f * R.Height);
    else
        ellipse.AddEllipse(R.X, R.Y, R.Width, 1.5f * R.Height);
    TGPPathGradientBrush brush(&ellipse);
    brush.SetCenterPoint(TGPPointF{R.X + R.Width / 2, AtTop ? R.Y : R.Y + R.Height});
    ARGB centre, surround;
    if (AtTop) {
        centre = ColorToGPColorAlpha(AlphaColorTo, ColorTo);
        surround = ColorToGPColorAlpha(AlphaColor, Color);
    } else {
        centre = ColorToGPColorAlpha(AlphaColor, Color);
        surround = ColorToGPColorAlpha(AlphaColorTo, ColorTo);
    }
    brush.SetCenterColor(centre);
    int count = 1;
    brush.SetSurroundColors(&surround, count);
    Graphics->FillRectangle(&brush, R);
    Graphics->ResetClip();
}

void TGDIPFill::DrawGradientBackGround(TGPGraphics* Graphics, const TGPRectF& R, bool Mirror, Byte oc, Byte octo,
                                       Byte ocmr, Byte ocmrto)
{
    if (!Graphics)
        return;
    TAdvGradientType kind = Mirror ? FGradientMirrorType : FGradientType;
    const TColor from = Mirror ? FColorMirror : FColor;
    const TColor to = Mirror ? FColorMirrorTo : FColorTo;
    if (from == clNone)
        kind = gtNone;
    else if (to == clNone)
        kind = gtSolid;

    TGradientFillParams params;
    params.Graphics = Graphics;
    params.Rect = R;
    params.Kind = kind;
    params.Color = from;
    params.ColorTo = to;
    params.Opacity = Mirror ? ocmr : oc;
    params.OpacityTo = Mirror ? ocmrto : octo;
    params.HatchStyle = Mirror ? FHatchStyleMirror : FHatchStyle;
    params.Angle = FAngle;
    params.Picture = FBackGroundPicturePosition == ppTiled ? FBackGroundPicture.get() : nullptr;
    params.BorderColor = clNone;
    params.BorderWidth = 0;
    params.BorderDashStyle = DashStyleSolid;
    params.IsMirror = Mirror;

    if (FRounding == 0) {
        FillGradientTypeArea(params);
        return;
    }
    // Two halves round only their own outer corners.
    TFillRoundingType corners = FRoundingType;
    if (FColorMirror != clNone) {
        if (Mirror)
            corners = (corners == rtNone || corners == rtTop) ? rtNone
                      : (corners == rtBottom || corners == rtBoth) ? rtBottom : corners;
        else
            corners = (corners == rtNone || corners == rtBottom) ? rtNone
                      : (corners == rtTop || corners == rtBoth) ? rtTop : corners;
    }
    const std::unique_ptr<TGPGraphicsPath> outline = CreateRoundedPath(R, FRounding, corners);
    const TSmoothing smoothing(Graphics, SmoothingModeAntiAlias);
    params.Path = outline.get();
    params.UsePath = true;
    FillGradientTypeArea(params);
}

void TGDIPFill::DrawGlow(TGPGraphics* Graphics, const TGPRectF& R)
{
    if (!Graphics || FGlow == gmNone || FGlow < gmNone || FGlow > gmRadialGradient)
        return;
    const TGPRegion clip(R);
    Graphics->SetClip(&clip);
    const TGPRectF in{R.X + 1, R.Y + 1, R.Width - 2, R.Height - 2};

    if (FGlow == gmGradient || FGlow == gmRadialGradient) {
        const std::unique_ptr<TGPGraphicsPath> outline = CreateRoundedPath(in, FRounding, FRoundingType);
        TGPPen pen(ColorToGPColorAlpha(200, FGlowGradientColor), 1);
        Graphics->DrawPath(&pen, outline.get());

        // A band along the top, fading downwards, with its two end triangles.
        const float right = in.X + in.Width;
        {
            const TGPRectF band{in.X + 5, in.Y, in.Width - 10, 4};
            TGPGraphicsPath shape;
            shape.AddRectangle(band);
            const TGPPointF left[3] = {{in.X, in.Y}, {in.X + 5, in.Y}, {in.X + 5, in.Y + 4}};
            const TGPPointF rightEnd[3] = {{right, in.Y}, {right - 5, in.Y}, {right - 5, in.Y + 4}};
            shape.AddPolygon(left, 3);
            shape.AddPolygon(rightEnd, 3);
            TGPLinearGradientBrush brush(Grown(band, 1), ColorToGPColorAlpha(175, FGlowGradientColor),
                                         ColorToGPColorAlpha(0, FGlowGradientColor), LinearGradientModeVertical);
            Graphics->FillPath(&brush, &shape);
        }
        // And along the bottom, growing downwards.
        {
            const float b = in.Y + in.Height;
            const TGPRectF band{in.X + 5, b - 7, in.Width - 10, 7};
            TGPGraphicsPath shape;
            shape.AddRectangle(band);
            const TGPPointF left[3] = {{in.X, b}, {in.X + 5, b}, {in.X + 5, b - 7}};
            const TGPPointF rightEnd[3] = {{right, b}, {right - 5, b}, {right - 5, b - 7}};
            shape.AddPolygon(left, 3);
            shape.AddPolygon(rightEnd, 3);
            TGPLinearGradientBrush brush(Grown(band, 1), ColorToGPColorAlpha(0, FGlowGradientColor),
                                         ColorToGPColorAlpha(220, FGlowGradientColor), LinearGradientModeVertical);
            Graphics->FillPath(&brush, &shape);
        }
    }
    if (FGlow == gmRadial || FGlow == gmRadialGradient) {
        TGPGraphicsPath ellipse;
        const TGPRectF e{in.X + 10, in.Y - in.Height / 2, in.Width - 20, 3 * in.Height};
        ellipse.AddEllipse(e);
        TGPPathGradientBrush brush(&ellipse);
        brush.SetCenterPoint(TGPPointF{e.X + e.Width / 2, e.Y + e.Height / 2});
        brush.SetCenterColor(ColorToGPColorAlpha(150, FGlowRadialColor));
        const ARGB surround = ColorToGPColorAlpha(0, FColor);
        int count = 1;
        brush.SetSurroundColors(&surround, count);
        Graphics->FillPath(&brush, &ellipse);
    }
    Graphics->ResetClip();
}

void TGDIPFill::DrawFillPicture(TGPGraphics* Graphics, bool AspectRatio, TPictureMode AspectMode,
                                TAdvGDIPPicture* Picture, TFillPicturePosition Position, int w, int h,
                                const TGPRectF& R, int X, int Y)
{
    if (!Picture || Picture->GetEmpty())
        return;
    int left = static_cast<int>(std::lround(R.X));
    int top = static_cast<int>(std::lround(R.Y));
    const int width = static_cast<int>(std::lround(R.Width));
    const int height = static_cast<int>(std::lround(R.Height));
    int x = X, y = Y;
    if (Position != ppCustom) {
        left += X;
        top += Y;
        x = left;
        y = top;
    }
    const int right = left + width;
    const int bottom = top + height;
    auto draw = [&](int px, int py, int pw, int ph) { Picture->GDIPDraw(Graphics, TRect(px, py, px + pw, py + ph)); };
    switch (Position) {
    case ppTopLeft: draw(left, top, w, h); break;
    case ppTopCenter: draw(left + (width - w) / 2, top, w, h); break;
    case ppTopRight: draw(right - w, top, w, h); break;
    case ppBottomLeft: draw(left, bottom - h, w, h); break;
    case ppBottomCenter: draw(left + (width - w) / 2, bottom - h, w, h); break;
    case ppBottomRight: draw(right - w, bottom - h, w, h); break;
    case ppCenterLeft: draw(left, top + (height - h) / 2, w, h); break;
    case ppCenterCenter: draw(left + (width - w) / 2, top + (height - h) / 2, w, h); break;
    case ppCenterRight: draw(right - w, top + (height - h) / 2, w, h); break;
    case ppCustom: draw(x, y, w, h); break;
    case ppTiled: {
        TGradientFillParams params;
        params.Graphics = Graphics;
        params.Rect = TGPRectF{static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
                               static_cast<float>(height)};
        params.Kind = gtTexture;
        params.Picture = Picture;
        params.BorderColor = clNone;
        FillGradientTypeArea(params);
        break;
    }
    case ppStretched: {
        const TSize size = AspectRatio ? FitPictureToRect(w, h, width, height, AspectMode) : TSize(width, height);
        const int px = left + static_cast<int>(std::lround((width - size.cx) / 2.0));
        const int py = top + static_cast<int>(std::lround((height - size.cy) / 2.0));
        draw(px, py, size.cx, size.cy);
        break;
    }
    }
}

TGPRectF TGDIPFill::Fill(TGPGraphics* Graphics, const TGPRectF& Rect, Byte ABorderOpacity, Byte AOpacity,
                         Byte AOpacityTo, Byte AOpacityMirror, Byte AOpacityMirrorTo)
{
    const Byte borderAlpha = ABorderOpacity == 255 ? FBorderOpacity : ABorderOpacity;
    const Byte o = AOpacity == 255 ? FOpacity : AOpacity;
    const Byte ot = AOpacityTo == 255 ? FOpacityTo : AOpacityTo;
    const Byte m = AOpacityMirror == 255 ? FOpacityMirror : AOpacityMirror;
    const Byte mt = AOpacityMirrorTo == 255 ? FOpacityMirrorTo : AOpacityMirrorTo;
    TGPRectF R = Rect;
    // A rectangle without width or height has nothing to paint.
    if (!Graphics || R.Width <= 0 || R.Height <= 0)
        return R;

    if (R.Height == 1 || R.Width == 1) {
        // Too thin for a body: only the border, as a line.
        if (FBorderWidth > 0 && FBorderColor != clNone) {
            TGPPen pen(ColorToGPColorAlpha(borderAlpha, FBorderColor), static_cast<float>(FBorderWidth));
            Graphics->DrawLine(&pen, R.X, R.Y, R.X + R.Width, R.Y + R.Height);
        }
    } else {
        // Shadow.
        const int so = FShadowOffset;
        if (so > 0 && FShadowColor != clNone) {
            const float off = static_cast<float>(so);
            if (FShadowType == stRightBottom || FShadowType == stSurround) {
                const std::unique_ptr<TGPGraphicsPath> outline =
                    FShadowType == stRightBottom ? CreateRoundedPath(R, FRounding, FRoundingType)
                                                 : CreateRoundedPath(R, so, rtBoth);
                TGPPathGradientBrush brush(outline.get());
                brush.SetWrapMode(WrapModeClamp);
                const ARGB shade = ColorToGPColorAlpha(180, FShadowColor);
                const ARGB colours[3] = {0, shade, shade};
                const float positions[3] = {0.0f, 0.1f, 1.0f};
                // Wine's GDI+ has no preset blend for path gradients: the same
                // shadow without its narrow transparent rim, from centre and
                // surround colours, is what shows there.
                brush.SetCenterColor(shade);
                ARGB rim = 0;
                int count = 1;
                brush.SetSurroundColors(&rim, count);
                brush.SetInterpolationColors(colours, positions, 3);
                Graphics->FillPath(&brush, outline.get());
                if (FShadowType == stSurround)
                    R = TGPRectF{R.X + off, R.Y + off, R.Width - 2 * off, R.Height - 2 * off};
                else
                    R = TGPRectF{R.X, R.Y, R.Width - off, R.Height - off};
            } else if (FShadowType == stBottom) {
                FillRadialArea(Graphics, TGPRectF{R.X, R.Y + R.Height - 2 * off, R.Width, 2 * off}, FShadowColor,
                               FShadowColor, 0, 255, true, FRounding, rtBottom);
                R.Height -= off;
            }
        }

        // Body.
        const TColor radialTo = FColorTo == clNone ? FColor : FColorTo;
        if (FGradientType == gtHatch || FGradientType == gtTexture || FColorMirror == clNone) {
            if (FGradientType == gtRadial) {
                if (FColor != clNone)
                    FillRadialArea(Graphics, R, FColor, radialTo, o, ot, true, FRounding, FRoundingType);
            } else {
                DrawGradientBackGround(Graphics, R, false, o, ot, m, mt);
            }
        } else {
            // The halves overlap by two pixels around the middle.
            const float h = R.Height / 2;
            const TGPRectF upper{R.X, R.Y, R.Width, R.Height - h + 1};
            const TGPRectF lower{R.X, R.Y + h - 1, R.Width, R.Height - h + 1};
            if (FGradientType == gtRadial) {
                if (FColor != clNone)
                    FillRadialArea(Graphics, upper, FColor, radialTo, o, ot, true, FRounding, rtTop);
            } else {
                DrawGradientBackGround(Graphics, upper, false, o, ot, m, mt);
            }
            if (FGradientMirrorType == gtRadial && FColorMirror != clNone)
                FillRadialArea(Graphics, lower, FColorMirror, FColorMirrorTo == clNone ? FColorMirror : FColorMirrorTo,
                               m, mt, false, FRounding, rtBottom);
            else
                DrawGradientBackGround(Graphics, lower, true, o, ot, m, mt);
        }

        // Background picture inside the outline.
        if (FBackGroundPictureMode == pmInsideFill && !FBackGroundPicture->GetEmpty() && FGradientType == gtTexture) {
            const std::unique_ptr<TGPGraphicsPath> outline = CreateRoundedPath(R, FRounding, FRoundingType);
            Graphics->SetClip(outline.get());
            DrawFillPicture(Graphics, FBackGroundPictureAspectRatio, FBackGroundPictureAspectMode,
                            FBackGroundPicture.get(), FBackGroundPicturePosition, FBackGroundPicture->GetWidth(),
                            FBackGroundPicture->GetHeight(), R, FBackGroundPictureLeft, FBackGroundPictureTop);
            Graphics->ResetClip();
        }

        // Border.
        if (FBorderWidth > 0 && FBorderColor != clNone) {
            const std::unique_ptr<TGPGraphicsPath> outline = CreateRoundedPath(R, FRounding, FRoundingType);
            TGPPen pen(ColorToGPColorAlpha(borderAlpha, FBorderColor), static_cast<float>(FBorderWidth));
            Graphics->DrawPath(&pen, outline.get());
        }
    }

    DrawGlow(Graphics, R);

    const float b = static_cast<float>(FBorderWidth);
    FFocusRect = TGPRectF{R.X + b, R.Y + b, R.Width - 2 * b, R.Height - 2 * b};
    if (FFocus) {
        // A negative radius (rounding inside a wider border) means square corners.
        const int radius = FRounding - FBorderWidth;
        const std::unique_ptr<TGPGraphicsPath> outline =
            CreateRoundedPath(FFocusRect, radius, radius > 0 ? FRoundingType : rtNone);
        TGPPen pen(ColorToGPColorAlpha(o, FFocusColor), 1);
        pen.SetDashStyle(DashStyleDot);
        const TSmoothing smoothing(Graphics, SmoothingModeDefault);
        Graphics->DrawPath(&pen, outline.get());
    }

    if (FBackGroundPictureMode == pmOutsideFill && !FBackGroundPicture->GetEmpty() &&
        FGradientType == gtTexture)
        DrawFillPicture(Graphics, FBackGroundPictureAspectRatio, FBackGroundPictureAspectMode, FBackGroundPicture.get(),
                        FBackGroundPicturePosition, FBackGroundPicture->GetWidth(), FBackGroundPicture->GetHeight(), R,
                        FBackGroundPictureLeft, FBackGroundPictureTop);

    if (!FPicture->GetEmpty()) {
        int w = 0, h = 0;
        if (FPictureSize == psOriginal) {
            w = FPicture->GetWidth();
            h = FPicture->GetHeight();
        } else if (FPictureSize == psCustom) {
            w = FPictureWidth;
            h = FPictureHeight;
        }
        DrawFillPicture(Graphics, FPictureAspectRatio, FPictureAspectMode, FPicture.get(), FPicturePosition, w, h, R,
                        FPictureLeft, FPictureTop);
    }
    return R;
}
