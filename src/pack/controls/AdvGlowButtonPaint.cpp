// The glow button's painting: the colour set of the state (blended while a
// fade runs), two gradient halves, the border by group position, the focus
// frame, caption and notes through GDI+ or GDI, the glyph, the drop-down
// arrow and split part, the automatic size and the parent's background at
// the rounded corners.
//
// Paint chooses everything first (TGlowPaint) and the renderer only draws:
// it runs once to measure an auto-sized button and once to draw. Nothing
// raises out of painting; a picture that cannot be decoded is skipped.
#include "AdvGlowButton.h"
#include "Forms.h"
#include "GdiHandles.h"
#include "ImgList.h"
#include "ScopeExit.h"
#include "ToolBarMessages.h"
#include <cmath>

using namespace AdvGlowButton;

namespace {

struct TFace {
    TColor Color = clNone, ColorTo = clNone, ColorMirror = clNone, ColorMirrorTo = clNone, Border = clNone;
    TGDIPGradient Gradient = ggVertical, GradientMirror = ggVertical;
};

TFace NormalFace(const TGlowButtonAppearance& a)
{
    return {a.GetColor(), a.GetColorTo(), a.GetColorMirror(), a.GetColorMirrorTo(), a.GetBorderColor(),
            a.GetGradient(), a.GetGradientMirror()};
}
TFace HotFace(const TGlowButtonAppearance& a)
{
    return {a.GetColorHot(), a.GetColorHotTo(), a.GetColorMirrorHot(), a.GetColorMirrorHotTo(),
            a.GetBorderColorHot(), a.GetGradientHot(), a.GetGradientMirrorHot()};
}
TFace DownFace(const TGlowButtonAppearance& a)
{
    return {a.GetColorDown(), a.GetColorDownTo(), a.GetColorMirrorDown(), a.GetColorMirrorDownTo(),
            a.GetBorderColorDown(), a.GetGradientDown(), a.GetGradientMirrorDown()};
}
TFace CheckedFace(const TGlowButtonAppearance& a)
{
    return {a.GetColorChecked(), a.GetColorCheckedTo(), a.GetColorMirrorChecked(), a.GetColorMirrorCheckedTo(),
            a.GetBorderColorChecked(), a.GetGradientChecked(), a.GetGradientMirrorChecked()};
}
TFace DisabledFace(const TGlowButtonAppearance& a)
{
    return {a.GetColorDisabled(), a.GetColorDisabledTo(), a.GetColorMirrorDisabled(), a.GetColorMirrorDisabledTo(),
            a.GetBorderColorDisabled(), a.GetGradientDisabled(), a.GetGradientMirrorDisabled()};
}

// The four colours of From blended towards To; the border too when asked.
void BlendFace(TFace& Face, const TFace& From, const TFace& To, int Percent, bool Border)
{
    Face.Color = BlendColor(From.Color, To.Color, Percent);
    Face.ColorTo = BlendColor(From.ColorTo, To.ColorTo, Percent);
    Face.ColorMirror = BlendColor(From.ColorMirror, To.ColorMirror, Percent);
    Face.ColorMirrorTo = BlendColor(From.ColorMirrorTo, To.ColorMirrorTo, Percent);
    if (Border)
        Face.Border = BlendColor(From.Border, To.Border, Percent);
}

TFace Darkened(const TFace& Face)
{
    TFace d = Face;
    for (TColor* c : {&d.Color, &d.ColorTo, &d.ColorMirror, &d.ColorMirrorTo})
        if (*c != clNone)
            *c = DarkenColor(*c, -10);
    return d;
}

bool IsHorizontal(TButtonLayout Layout)
{
    return Layout == blGlyphLeft || Layout == blGlyphRight || Layout == blGlyphLeftAdjusted ||
           Layout == blGlyphRightAdjusted;
}

bool IsVertical(TButtonLayout Layout)
{
    return Layout == blGlyphTop || Layout == blGlyphBottom || Layout == blGlyphTopAdjusted ||
           Layout == blGlyphBottomAdjusted;
}

TGPRectF RectF(const TRect& R)
{
    return {static_cast<float>(R.left), static_cast<float>(R.top), static_cast<float>(R.Width()),
            static_cast<float>(R.Height())};
}

// One half of the background: a solid fill, then the gradient over it.
void DrawGlowHalf(TGPGraphics& G, const TRect& R, bool Upper, TGDIPGradient Gradient, TColor C1, TColor C2)
{
    if (R.Width() <= 0 || R.Height() <= 0)
        return;
    if (C1 == clNone)
        C1 = C2;
    if (C2 == clNone)
        C2 = C1;
    if (C1 == clNone)
        return;
    const TGPSolidBrush solid(ColorToARGB(Upper ? C2 : C1));
    G.FillRectangle(&solid, RectF(R));
    if (Gradient == ggRadial) {
        TRect ellipse = R;
        if (Upper) {
            ellipse.top -= R.Height() / 2 - 2;
            ellipse.bottom -= R.Height() / 2 - 2;
        }
        TGPGraphicsPath path;
        path.AddEllipse(RectF(ellipse));
        TGPPathGradientBrush brush(&path);
        const float centreX = static_cast<float>(R.left) + R.Width() / 2.0f;
        brush.SetCenterPoint(TGPPointF{centreX, static_cast<float>(Upper ? R.top : R.bottom)});
        brush.SetCenterColor(ColorToARGB(Upper ? C1 : C2));
        ARGB surround = ColorToARGB(Upper ? C2 : C1);
        int count = 1;
        brush.SetSurroundColors(&surround, count);
        G.FillRectangle(&brush, RectF(R));
        return;
    }
    const LinearGradientMode mode = Gradient == ggDiagonalForward    ? LinearGradientModeForwardDiagonal
                                    : Gradient == ggDiagonalBackward ? LinearGradientModeBackwardDiagonal
                                                                     : LinearGradientModeVertical;
    const TGPLinearGradientBrush brush(RectF(R), ColorToARGB(C2), ColorToARGB(C1), mode);
    G.FillRectangle(&brush, RectF(R));
}

// The outline of a rectangle (x, y, w, h) with corners of Radius, the
// corners named in Rounded rounded (top-left, top-right, bottom-right,
// bottom-left), the others square.
void AddRoundRect(TGPGraphicsPath& Path, float X, float Y, float W, float H, int Radius, const bool (&Rounded)[4])
{
    const float d = 2.0f * Radius;
    auto corner = [&](int i, float cx, float cy, float start, float px, float py) {
        if (Radius > 0 && Rounded[i])
            Path.AddArc(cx, cy, d, d, start, 90);
        else
            Path.AddLine(px, py, px, py);
    };
    corner(0, X, Y, 180, X, Y);
    corner(1, X + W - d, Y, 270, X + W, Y);
    corner(2, X + W - d, Y + H - d, 0, X + W, Y + H);
    corner(3, X, Y + H - d, 90, X, Y + H);
    Path.CloseFigure();
}

void DrawButtonBorder(TGPGraphics& G, const TRect& R, TColor Color, int Radius, DashStyle Dash = DashStyleSolid)
{
    TGPPen pen(ColorToARGB(Color), 1);
    pen.SetDashStyle(Dash);
    if (Radius == 0) {
        G.DrawRectangle(&pen, RectF(R));
        return;
    }
    TGPGraphicsPath path;
    const bool all[4] = {true, true, true, true};
    AddRoundRect(path, static_cast<float>(R.left), static_cast<float>(R.top), static_cast<float>(R.Width()),
                 static_cast<float>(R.Height()), Radius, all);
    G.DrawPath(&pen, &path);
}

void DrawLine(TGPGraphics& G, TColor Color, float X1, float Y1, float X2, float Y2)
{
    const TGPPen pen(ColorToARGB(Color), 1);
    G.DrawLine(&pen, X1, Y1, X2, Y2);
}

// A segment of a button group: the outer corners rounded, the inner edges
// as separator lines, lighter when the segment is idle.
void DrawPieceBorder(TGPGraphics& G, const TRect& R, TColor Border, int Radius, TButtonPosition Position,
                     bool Lit)
{
    const float l = static_cast<float>(R.left), t = static_cast<float>(R.top);
    const float r = static_cast<float>(R.right), b = static_cast<float>(R.bottom);
    const TColor separator = DarkenColor(Border, -5);
    const TColor inner = Lit ? separator : DarkenColor(clWhite, -10);
    switch (Position) {
    case bpLeft: {
        const TGPPen pen(ColorToARGB(Border), 1);
        TGPGraphicsPath path;
        const bool left[4] = {true, false, false, true};
        AddRoundRect(path, l, t, r - l, b - t, Radius, left);
        G.DrawPath(&pen, &path);
        DrawLine(G, separator, r, t, r, b);
        break;
    }
    case bpMiddle:
        DrawLine(G, Border, l, t, r, t);
        DrawLine(G, Border, l, b, r, b);
        DrawLine(G, separator, r, t, r, b);
        if (Lit)
            DrawLine(G, inner, l, t, l, b);
        else
            DrawLine(G, inner, l, t + 2, l, b - 2);
        break;
    case bpRight: {
        const TGPPen pen(ColorToARGB(Border), 1);
        TGPGraphicsPath path;
        const bool right[4] = {false, true, true, false};
        AddRoundRect(path, l, t, r - l, b - t, Radius, right);
        G.DrawPath(&pen, &path);
        if (Lit)
            DrawLine(G, inner, l, t, l, b);
        else
            DrawLine(G, inner, l, t + 2, l, b - 2);
        break;
    }
    default:
        break;
    }
}

// A filled triangle of N rows (down) or columns (right) from (X, Y).
void DrawDropDownArrow(HDC DC, int X, int Y, int N, bool Down, TColor Color)
{
    const TBrushHandle brush(CreateSolidBrush(ColorToRGB(Color)));
    for (int i = 0; i < N; ++i) {
        const RECT row = Down ? RECT{X + i, Y + i, X + 2 * N - 1 - i, Y + i + 1}
                              : RECT{X + i, Y + i, X + i + 1, Y + 2 * N - 1 - i};
        FillRect(DC, &row, brush.Get());
    }
}

// A disabled image-list entry drawn saturated (grey), as from Vista on.
void DrawImageSaturated(TCanvas* Canvas, TCustomImageList* Images, int Index, int X, int Y)
{
    IMAGELISTDRAWPARAMS params{};
    params.cbSize = sizeof(params);
    params.himl = Images->GetHandle();
    params.i = Index;
    params.hdcDst = Canvas->GetHandle();
    params.x = X;
    params.y = Y;
    params.rgbBk = CLR_NONE;
    params.rgbFg = CLR_NONE;
    params.fStyle = ILD_TRANSPARENT;
    params.fState = ILS_SATURATE;
    ImageList_DrawIndirect(&params);
}

bool IsTrueTypeOnScreen(TCanvas* Canvas, TFont* Font)
{
    if (!Screen || Screen->Fonts()->IndexOf(Font->GetName()) < 0)
        return false;
    Canvas->GetFont()->Assign(Font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(Canvas->GetHandle(), &metrics);
    return (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

constexpr int StringFormatFlagsNoWrap = 0x00001000;

} // namespace

// ---------------------------------------------------------------------------
struct TAdvCustomGlowButton::TGlowPaint {
    TFace Face;
    bool Highlighted = false;
    int SplitState = 0;
    bool FocusFrame = false;
    bool HotFocus = false;
    TCustomImageList* Images = nullptr;
    bool ImagesEnabled = true;
    TGDIPPicture* Picture = nullptr;
    String Caption;
    TOwned<TFont> Font;
    // Auto-sized buttons below the large state draw a 16 x 16 glyph.
    TSize ForcedGlyph;
};

bool TAdvCustomGlowButton::HidePrefix() const
{
    const TWinControl* top = this;
    while (top->GetParent())
        top = top->GetParent();
    if (!top->HandleAllocated())
        return false;
    const LRESULT state = SendMessageW(const_cast<TWinControl*>(top)->Handle(), WM_QUERYUISTATE, 0, 0);
    return (state & UISF_HIDEACCEL) != 0;
}

void TAdvCustomGlowButton::PaintParentInto(HDC DC, HRGN Clip)
{
    TWinControl* parent = GetParent();
    if (!parent || !parent->HandleAllocated())
        return;
    const TSavedDC saved(DC);
    POINT viewport{}, window{};
    GetViewportOrgEx(DC, &viewport);
    GetWindowOrgEx(DC, &window);
    if (Clip) {
        // The region is in button pixels; clipping works in device pixels.
        OffsetRgn(Clip, viewport.x - window.x, viewport.y - window.y);
        ExtSelectClipRgn(DC, Clip, RGN_AND);
        OffsetRgn(Clip, window.x - viewport.x, window.y - viewport.y);
    } else {
        IntersectClipRect(DC, 0, 0, GetWidth(), GetHeight());
    }
    // The parent paints at its own origin: shift ours by the button's place.
    OffsetWindowOrgEx(DC, GetLeft(), GetTop(), nullptr);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
}

void TAdvCustomGlowButton::ChooseFace(TGlowPaint& P)
{
    const TGlowButtonAppearance& a = *FAppearance;
    const bool fading = FTimer != nullptr;
    const bool enabled = GetEnabled();
    const bool checkDown = FStyle == bsCheck && FState == absDown;
    TFace& face = P.Face;
    if ((FState != absDisabled && enabled) || !FShowDisabled) {
        if (FState == absDown && FStyle == bsButton) {
            face = DownFace(a);
            P.Highlighted = true;
        } else if (FState == absExclusive || checkDown) {
            face = CheckedFace(a);
            if (FHot && a.GetBorderColorCheckedHot() != clNone && !FMouseDown)
                face.Border = a.GetBorderColorCheckedHot();
            const bool blend = (FMouseInControl || (FStyle != bsCheck && (FGroupIndex < 1 || FState == absDown))) ||
                               (FMouseEnter && checkDown);
            if (fading && blend)
                BlendFace(face, CheckedFace(a), DownFace(a), FStepPush, false);
        } else if (FHot) {
            face = HotFace(a);
            P.Highlighted = true;
        } else {
            face = NormalFace(a);
        }
    } else {
        face = DisabledFace(a);
    }
    if (face.ColorMirror == clNone)
        face.ColorMirror = face.Color;

    if (fading) {
        if (FDown || FTransparent || FState == absExclusive || checkDown) {
            if (checkDown && FDown) {
                if (FMouseEnter)
                    BlendFace(face, CheckedFace(a), DownFace(a), FStepPush, false);
                else
                    BlendFace(face, DownFace(a), CheckedFace(a), FStepPush, false);
            } else if (FDown && FState != absExclusive && !FKeepDown) {
                BlendFace(face, DownFace(a), HotFace(a), FStepPush, true);
            }
        } else {
            BlendFace(face, HotFace(a), NormalFace(a), FStepHover, true);
        }
    }

    if (FDropDownButton && (FMouseInControl || FMouseEnter || FMouseDown))
        P.SplitState = FInButton ? 1 : 2;
    if (FButtonPosition != bpStandalone && FMouseDown && FCompStyle <= tsOffice2003Classic)
        face.Border = a.GetBorderColor();
    if ((FState == absDisabled || !enabled) && FShowDisabled)
        face = DisabledFace(a);
    P.HotFocus = FHasFocus && (FFocusType == ftHot || FFocusType == ftHotBorder) && !FDown;
    if (P.HotFocus) {
        face = HotFace(a);
        P.Highlighted = true;
    }
    P.FocusFrame = FHasFocus && (FFocusType == ftBorder || FFocusType == ftHotBorder);
}

void TAdvCustomGlowButton::ChooseGlyph(TGlowPaint& P)
{
    const bool enabled = GetEnabled();
    if (enabled || !FDisabledImages) {
        P.Images = FHot && FHotImages ? FHotImages : FImages;
        P.ImagesEnabled = enabled;
    } else {
        P.Images = FDisabledImages;
        P.ImagesEnabled = true;
    }
    if (!enabled && !FIDisabledPicture->GetEmpty())
        P.Picture = FIDisabledPicture.get();
    else if (FHot && !FIHotPicture->GetEmpty())
        P.Picture = FIHotPicture.get();
    else
        P.Picture = FIPicture.get();

    // An action's images stand in for the button's own.
    auto* action = dynamic_cast<TCustomAction*>(GetAction());
    if (action && action->GetImageIndex() >= 0) {
        TCustomActionList* list = action->GetActionList();
        if (auto* manager = dynamic_cast<TActionManager*>(list)) {
            const bool large = FButtonSizeState == bsLarge;
            if (!enabled && manager->GetDisabledImages()) {
                P.Images = large && manager->GetLargeDisabledImages() ? manager->GetLargeDisabledImages()
                                                                      : manager->GetDisabledImages();
                P.ImagesEnabled = true;
            } else if (manager->GetImages()) {
                P.Images = large && manager->GetLargeImages() ? manager->GetLargeImages() : manager->GetImages();
            }
        } else if (list && list->GetImages() && (!P.Images || FImageListType == ipActionList)) {
            P.Images = list->GetImages();
        }
    }
    if (GetAutoSize() && FButtonSizeState < bsLarge) {
        P.ForcedGlyph = TSize(16, 16);
        if (P.Images && FImageIndex >= 0)
            P.Picture = nullptr;
        if (FButtonSizeState == bsGlyph)
            P.Caption.clear();
    }
}

void TAdvCustomGlowButton::Paint()
{
    if (FPainting)
        return;
    FPainting = true;
    const TScopeExit painted([this] { FPainting = false; });
    TCanvas* canvas = GetCanvas();
    const TRect client(0, 0, GetWidth(), GetHeight());

    if (FTransparent && (FAppearance->TranspHover || !FMouseEnter || FStaticButton))
        PaintParentInto(canvas->GetHandle(), nullptr);

    if (GetEnabled()) {
        if (FState == absDisabled)
            FState = FDownChecked && FGroupIndex != 0 ? absExclusive : absUp;
    } else {
        FState = absDisabled;
        FDragging = false;
    }
    if (FStyle == bsCheck && FDownChecked)
        FState = absDown;
    if (FKeepDown) {
        FState = absDown;
        FDown = true;
    }

    TGlowPaint p;
    ChooseFace(p);
    if (FShowCaption)
        p.Caption = GetCaption().empty() ? FWideCaption : GetCaption();
    ChooseGlyph(p);
    p.Font.reset(New<TFont>());
    p.Font->Assign(GetFont());
    if (FHot)
        p.Font->SetColor(FAppearance->GetTextColorHot());
    if (FState == absDown)
        p.Font->SetColor(FAppearance->GetTextColorDown());
    if (FStyle == bsCheck && FState == absDown)
        p.Font->SetColor(FAppearance->GetTextColorChecked());
    if (FAppearance->GetSystemFont())
        p.Font->SetName(GetDefaultUIFontName());

    if (FDoAutoSize || (FFirstPaint && GetAutoSize())) {
        const TSize content = DrawGlowButton(canvas, TRect(0, 0, GetWidth(), 4096), p, true);
        int w = 3 * FSpacing + content.cx + 2 * FMarginHorz + 2;
        int h = IsVertical(FLayout) ? 2 * FMarginVert + content.cy : 2 * FSpacing + content.cy + 2 * FMarginVert;
        if (FDropDownButton) {
            if (FDropDownPosition == dpBottom)
                h += 14;
            else
                w += 14;
        }
        if (OnSetButtonSize)
            OnSetButtonSize(this, w, h);
        FDoAutoSize = false;
        if (w != GetWidth() || h != GetHeight())
            SetBounds(GetLeft(), GetTop(), w, h);
    }
    FFirstPaint = false;

    const TRect drawn(0, 0, GetWidth(), GetHeight());
    DrawGlowButton(canvas, drawn, p, false);
    if (OnDrawButton) {
        const TGlowButtonState state = FState == absDown ? gsDown : FMouseEnter ? gsHot : gsNormal;
        OnDrawButton(this, canvas, drawn, state);
    }

    // Rounded corners: the parent shows through the single corner pixels.
    if (GetParent() && FRounded && (!FTransparent || FMouseEnter || FState == absDown || FHot) &&
        FButtonPosition != bpMiddle) {
        const int r = drawn.right - 1, b = drawn.bottom - 1;
        const bool corners[4] = {FButtonPosition != bpRight, FButtonPosition != bpLeft, FButtonPosition != bpLeft,
                                 FButtonPosition != bpRight};
        const POINT at[4] = {{0, 0}, {r, 0}, {r, b}, {0, b}};
        const TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
        for (int i = 0; i < 4; ++i) {
            if (!corners[i])
                continue;
            const TRegionHandle pixel(CreateRectRgn(at[i].x, at[i].y, at[i].x + 1, at[i].y + 1));
            CombineRgn(region.Get(), region.Get(), pixel.Get(), RGN_OR);
        }
        PaintParentInto(canvas->GetHandle(), region.Get());
    }
}

// ---------------------------------------------------------------------------
TSize TAdvCustomGlowButton::DrawGlowButton(TCanvas* Canvas, const TRect& R, const TGlowPaint& P, bool Measure)
{
    const HDC dc = Canvas->GetHandle();
    const float scale = GetGlowDPIScale();
    const int area = static_cast<int>(std::lround(14 * scale));
    const TGlowButtonAppearance& a = *FAppearance;
    TFace face = P.Face;
    const bool enabled = GetEnabled();

    TRect content = R;
    TRect arrowArea;
    if (FDropDownButton) {
        if (FDropDownPosition == dpBottom) {
            arrowArea = TRect(R.left, R.bottom - area, R.right, R.bottom);
            if (FDropDownSplit)
                content.bottom -= area;
        } else {
            arrowArea = TRect(R.right - area, R.top, R.right, R.bottom);
            content.right -= area;
        }
    }
    const TButtonLayout layout = FNotes->Count() > 0 ? blGlyphLeftAdjusted : FLayout;
    if (face.ColorMirrorTo == clNone && face.ColorMirror == clNone)
        face.ColorMirrorTo = face.Color;

    // Background, border and focus frame through GDI+; the object goes (and
    // flushes) before GDI draws text and glyphs over it.
    bool background = false;
    if (!Measure) {
        TGPGraphics g(dc);
        background = !(FStaticButton || (FTransparent && !FMouseEnter && !P.HotFocus && FState != absDown)) ||
                     FDroppedDown || FDownChecked;
        if (background) {
            auto halves = [&](const TRect& part, const TFace& f, bool radialUpper) {
                const int h = part.Height() / 2;
                DrawGlowHalf(g, TRect(part.left, part.top + h - 1, part.right, part.bottom), false, f.GradientMirror,
                             f.ColorMirror, f.ColorMirrorTo);
                DrawGlowHalf(g, TRect(part.left, part.top, part.right, part.bottom - h), true,
                             radialUpper ? ggRadial : f.Gradient, f.ColorTo, f.Color);
            };
            if (FDropDownButton && FDropDownSplit && P.Highlighted) {
                const bool transpHover = FTransparent && a.TranspHover;
                TRect button = R, arrow = arrowArea;
                if (FDropDownPosition == dpRight)
                    button.right = arrowArea.left;
                else
                    button.bottom = arrowArea.top;
                const TFace dark = Darkened(face);
                auto drawArrowPart = [&](const TFace& f, bool radialUpper) {
                    if (FDropDownPosition == dpRight)
                        halves(arrow, f, radialUpper);
                    else
                        DrawGlowHalf(g, arrow, true, radialUpper ? ggRadial : f.Gradient, f.ColorTo, f.Color);
                };
                if (P.SplitState == 2) {
                    halves(button, face, false);
                    if (!transpHover)
                        drawArrowPart(dark, false);
                } else {
                    if (!transpHover)
                        halves(button, dark, false);
                    drawArrowPart(face, true);
                }
            } else {
                halves(R, face, false);
            }
        }
        g.SetSmoothingMode(SmoothingModeAntiAlias);
        const int radius = FRounded ? 3 : 0;
        if (background && FBorderStyle == bsSingle && face.Border != clNone &&
            (!a.NoBorderDefault || FMouseEnter || FDroppedDown)) {
            const TRect frame(R.left, R.top, R.right - 1, R.bottom - 1);
            if (FButtonPosition == bpStandalone)
                DrawButtonBorder(g, frame, face.Border, radius);
            else
                DrawPieceBorder(g, frame, face.Border, radius, FButtonPosition, FMouseEnter || FDownChecked);
        }
        if (P.FocusFrame) {
            DrawButtonBorder(g, TRect(R.left + 1, R.top + 1, R.left + R.Width() - 2, R.top + R.Height() - 2),
                             a.GetBorderColorFocused(), radius);
            DrawButtonBorder(g, TRect(R.left + 2, R.top + 2, R.left + R.Width() - 3, R.top + R.Height() - 3),
                             0x808080, radius, DashStyleDot);
        }
    }

    // Glyph size, with the spacing to the caption.
    int gw = 0, gh = 0;
    const bool hasImage = P.Images && FImageIndex >= 0 && FImageIndex < P.Images->Count();
    if (P.ForcedGlyph.cx > 0 && (hasImage || (P.Picture && !P.Picture->GetEmpty()))) {
        gw = P.ForcedGlyph.cx;
        gh = P.ForcedGlyph.cy;
    } else if (P.Picture && !P.Picture->GetEmpty()) {
        gw = P.Picture->GetWidth();
        gh = P.Picture->GetHeight();
    } else if (hasImage) {
        gw = P.Images->GetWidth();
        gh = P.Images->GetHeight();
    }
    const bool hasGlyph = gw > 0 && gh > 0;
    String caption = P.Caption;
    const bool forced = P.ForcedGlyph.cx > 0;
    for (std::size_t at; (at = caption.find(L"\\n")) != String::npos;)
        caption.replace(at, 2, forced ? L" " : L"\n\r");
    const bool hasCaption = !caption.empty();
    int wq = gw, hq = gh;
    if (hasCaption && hasGlyph) {
        if (IsHorizontal(layout))
            wq += FSpacing;
        else if (layout == blGlyphTop || layout == blGlyphTopAdjusted)
            hq += FSpacing;
    }
    if (Measure && caption.empty())
        caption = L"!";

    const int x0 = content.left + (layout == blGlyphLeftAdjusted && !Measure ? FMarginHorz : 0);
    const int y0 = content.top;
    const int W = content.Width(), H = content.Height();
    int tw = 0, th = 0, tx = 0, notesH = 0, notesW = 0;
    TPoint glyphAt;
    TRect textRect = content;
    const String notes = FNotes->Count() > 0 ? FNotes->GetText() : String();
    const bool gdiplus = FAntiAlias != aaNone && IsTrueTypeOnScreen(Canvas, P.Font.get());

    // Where glyph and text go, from the measured text.
    auto place = [&](bool viaGdiplus) {
        textRect = content;
        switch (layout) {
        case blGlyphLeft:
            textRect = TRect(x0 + wq + 2, y0, x0 + W, y0 + H);
            glyphAt.x = std::max(2, viaGdiplus ? tx - wq / 2 : tx);
            glyphAt.y = y0 + std::max(0, (H - hq) / 2);
            break;
        case blGlyphTop:
            textRect = TRect(x0, y0 + hq, x0 + W, y0 + H - 2);
            glyphAt.x = x0 + std::max(0, (W - wq) / 2);
            glyphAt.y = std::max(2, y0 + hq + std::max(0, (H - hq - 2 - th) / 2) - hq - (viaGdiplus ? 0 : 4));
            break;
        case blGlyphRight: {
            textRect = TRect(2, y0, 2 + W - wq - 4, y0 + H);
            int x = std::max(0, (W - wq - 4 - tw) / 2) + tw + 4;
            if (x > W - wq)
                x = W - wq - 2;
            glyphAt.x = x + FSpacing;
            glyphAt.y = y0 + std::max(0, (H - hq) / 2);
            break;
        }
        case blGlyphBottom: {
            textRect = TRect(x0, 2, x0 + W, 2 + H - hq - 2);
            glyphAt.x = x0 + std::max(0, (W - wq) / 2);
            int y = std::max(0, (H - hq - 2 - th) / 2) + th + (viaGdiplus ? 2 : 5);
            if (y > H - hq)
                y = H - hq - 2;
            glyphAt.y = y;
            break;
        }
        case blGlyphLeftAdjusted:
            textRect = TRect(x0 + wq + 2, y0, x0 + W, y0 + H);
            glyphAt.x = std::max(2, x0 - wq / 2) + FMarginHorz;
            glyphAt.y = y0 + std::max(0, (H - hq) / 2);
            break;
        case blGlyphRightAdjusted:
            textRect = TRect(2, y0, 2 + W - wq - 4, y0 + H);
            glyphAt.x = W - wq - 2 + FSpacing;
            glyphAt.y = y0 + std::max(0, (H - hq) / 2);
            break;
        case blGlyphTopAdjusted:
            textRect = TRect(x0, y0 + hq, x0 + W, y0 + H - 2);
            glyphAt.x = x0 + std::max(0, (W - wq) / 2);
            glyphAt.y = std::max(2, y0);
            break;
        case blGlyphBottomAdjusted:
            textRect = TRect(x0, 2, x0 + W, 2 + H - hq - (viaGdiplus ? 2 : 4));
            glyphAt.x = x0 + std::max(0, (W - wq) / 2);
            if (viaGdiplus) {
                const int y = H / 2 + th + 2;
                glyphAt.y = y > H - hq ? H - hq - 2 : y;
            } else {
                glyphAt.y = H - hq - 2;
            }
            break;
        }
        if (FOverlappedText)
            textRect = R;
    };

    const TColor textColor = enabled ? P.Font->GetColor() : static_cast<TColor>(0x808080);
    const bool hidePrefix = HidePrefix() && !FAlwaysShowAccel;
    if (gdiplus) {
        TGPGraphics g(dc);
        g.SetTextRenderingHint(FAntiAlias == aaAntiAlias ? TextRenderingHintAntiAlias
                                                         : TextRenderingHintClearTypeGridFit);
        const std::unique_ptr<TGPFont> font = g.MakeFont(P.Font.get());
        TGPStringFormat format(FWordWrap ? 0 : StringFormatFlagsNoWrap);
        format.SetAlignment(layout == blGlyphLeftAdjusted    ? StringAlignmentNear
                            : layout == blGlyphRightAdjusted ? StringAlignmentFar
                                                             : StringAlignmentCenter);
        format.SetLineAlignment(layout == blGlyphTopAdjusted      ? StringAlignmentNear
                                : layout == blGlyphBottomAdjusted ? StringAlignmentFar
                                                                  : StringAlignmentCenter);
        format.SetHotkeyPrefix(hidePrefix ? HotkeyPrefixHide : HotkeyPrefixShow);
        format.SetTrimming(FTrimming);
        const TGPRectF layoutBox = Measure ? TGPRectF{0, 0, 4096, 4096} : RectF(content);
        TGPRectF box;
        g.MeasureString(caption, -1, font.get(), layoutBox, &format, box);
        tw = static_cast<int>(std::ceil(box.Width));
        th = static_cast<int>(std::ceil(box.Height));
        tx = static_cast<int>(box.X);
        std::unique_ptr<TGPFont> notesFont;
        if (!notes.empty()) {
            notesFont = g.MakeFont(FNotesFont.get());
            TGPRectF notesBox;
            g.MeasureString(notes, -1, notesFont.get(), layoutBox, &format, notesBox);
            notesW = static_cast<int>(std::ceil(notesBox.Width));
            notesH = static_cast<int>(std::ceil(notesBox.Height));
        }
        place(true);
        if (!Measure && hasCaption) {
            const TGPSolidBrush brush(ColorToARGB(textColor));
            TGPRectF at = RectF(textRect);
            at.X -= 1;
            if (!notes.empty()) {
                // Caption and notes as one block, centred vertically.
                const float top = at.Y + (at.Height - th - notesH) / 2.0f;
                format.SetLineAlignment(StringAlignmentNear);
                g.DrawString(caption, -1, font.get(), TGPRectF{at.X, top, at.Width, static_cast<float>(th)}, &format,
                             &brush);
                const TGPSolidBrush notesBrush(ColorToARGB(enabled ? FNotesFont->GetColor() : 0x808080));
                g.DrawString(notes, -1, notesFont.get(),
                             TGPRectF{at.X, top + th, at.Width, static_cast<float>(notesH)}, &format, &notesBrush);
            } else {
                g.DrawString(caption, -1, font.get(), at, &format, &brush);
            }
        }
    } else {
        Canvas->GetFont()->Assign(P.Font.get());
        Canvas->GetFont()->SetColor(textColor);
        UINT flags = FWordWrap ? DT_WORDBREAK : DT_SINGLELINE;
        if (hidePrefix)
            flags |= DT_HIDEPREFIX;
        RECT measured{0, 0, Measure ? 4096 : std::max(1, W - wq - 2), 0};
        DrawTextW(Canvas->GetHandle(), caption.c_str(), -1, &measured, flags | DT_CALCRECT);
        tw = measured.right - measured.left;
        th = measured.bottom - measured.top;
        tx = (W - tw - wq) / 2;
        if (!notes.empty()) {
            Canvas->GetFont()->Assign(FNotesFont.get());
            RECT notesRect{0, 0, Measure ? 4096 : std::max(1, W), 0};
            DrawTextW(Canvas->GetHandle(), notes.c_str(), -1, &notesRect, DT_CALCRECT | DT_WORDBREAK);
            notesW = notesRect.right;
            notesH = notesRect.bottom;
            Canvas->GetFont()->Assign(P.Font.get());
            Canvas->GetFont()->SetColor(textColor);
        }
        place(false);
        if (!Measure && hasCaption) {
            UINT align = DT_CENTER;
            bool vcentre = false;
            RECT r = textRect;
            switch (layout) {
            case blGlyphLeft:
            case blGlyphRight:
            case blGlyphBottom: vcentre = true; break;
            case blGlyphTop:
            case blGlyphTopAdjusted: break;
            case blGlyphLeftAdjusted:
                align = DT_LEFT;
                vcentre = true;
                r.left += 2;
                break;
            case blGlyphRightAdjusted:
                align = DT_RIGHT;
                vcentre = true;
                break;
            case blGlyphBottomAdjusted: align = DT_CENTER | DT_BOTTOM | DT_SINGLELINE; break;
            }
            SetBkMode(Canvas->GetHandle(), TRANSPARENT);
            const int block = th + notesH;
            if (vcentre) {
                // DT_VCENTER serves single lines only: wrapped text is placed by hand.
                r.top = r.top + std::max(0, (static_cast<int>(r.bottom - r.top) - block) / 2);
            }
            RECT textAt = r;
            DrawTextW(Canvas->GetHandle(), caption.c_str(), -1, &textAt, flags | align);
            if (!notes.empty()) {
                Canvas->GetFont()->Assign(FNotesFont.get());
                if (!enabled)
                    Canvas->GetFont()->SetColor(0x808080);
                RECT notesAt{r.left, r.top + th, r.right, r.bottom};
                SetBkMode(Canvas->GetHandle(), TRANSPARENT);
                DrawTextW(Canvas->GetHandle(), notes.c_str(), -1, &notesAt, DT_WORDBREAK | align);
            }
        }
    }
    if (!hasCaption)
        tw = th = 0;

    if (Measure) {
        if (IsHorizontal(layout))
            return TSize(std::max(tw, notesW) + wq + FSpacing, std::max(th + notesH + FSpacing, hq + FSpacing));
        return TSize(std::max(std::max(tw, notesW) + FSpacing, wq + FSpacing), th + notesH + hq + FSpacing);
    }

    // The glyph, at the layout's place or centred when there is no caption.
    if (hasGlyph) {
        TRect centring = content;
        if (FDropDownButton) {
            if (FDropDownPosition == dpBottom)
                centring.bottom = std::max(centring.top, static_cast<LONG>(R.bottom - 8));
            else
                centring.right = std::max(centring.left, static_cast<LONG>(R.right - 12));
        }
        TPoint at = glyphAt;
        if (!hasCaption)
            at = TPoint(centring.left + (centring.Width() - gw) / 2, centring.top + (centring.Height() - gh) / 2);
        if (P.Picture && !P.Picture->GetEmpty()) {
            const int w = forced ? gw : std::min<int>(gw, content.Width());
            const int h = forced ? gh : std::min<int>(gh, content.Height());
            Canvas->StretchDraw(TRect(at.x, at.y, at.x + w, at.y + h), P.Picture);
        } else if (hasImage) {
            if (!P.ImagesEnabled && IsWindowsVistaOrLater())
                DrawImageSaturated(Canvas, P.Images, FImageIndex, at.x, at.y);
            else
                P.Images->Draw(Canvas, at.x, at.y, FImageIndex, P.ImagesEnabled);
        }
    }

    if (FDropDownButton) {
        if (P.Highlighted && FDropDownSplit) {
            TGPGraphics g(dc);
            if (FDropDownPosition == dpBottom)
                DrawLine(g, face.Border, static_cast<float>(arrowArea.left), static_cast<float>(arrowArea.top),
                         static_cast<float>(arrowArea.right), static_cast<float>(arrowArea.top));
            else
                DrawLine(g, face.Border, static_cast<float>(arrowArea.left), static_cast<float>(arrowArea.top),
                         static_cast<float>(arrowArea.left), static_cast<float>(arrowArea.bottom));
        }
        const int n = static_cast<int>(std::lround(3 * scale));
        const bool down = FDropDownDirection == ddDown;
        const bool narrow = (down && FDroppedDown) || (!down && !FDroppedDown);
        int x = arrowArea.left + (arrowArea.Width() - (narrow ? 3 : 5)) / 2;
        int y = arrowArea.top + (arrowArea.Height() - 3) / 2 + 1;
        x -= (n - 3) / 2;
        y -= (n - 3) / 2;
        DrawDropDownArrow(dc, x, y, n, down, enabled ? clBlack : static_cast<TColor>(0x808080));
    }
    return TSize(tw, th);
}
