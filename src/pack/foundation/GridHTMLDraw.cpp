// The engine's line loop with its two passes and the text runs, and the
// grid variant's entry.
#include "GridHTMLEngine.h"
#include "ScopeExit.h"

#include "AdvXPVS.h"
#include "HTMLMarkup.h"
#include "PlatformProbe.h"
#include "SysUtils.h"
#include <algorithm>

namespace gridhtml {

namespace {

TColor highlightColor = clHighlight;
TColor highlightTextColor = clHighlightText;
bool platformThemes = false;

} // namespace

TColor HighlightColor() { return highlightColor; }
TColor HighlightTextColor() { return highlightTextColor; }
bool PlatformThemes() { return platformThemes; }

TEngine::TEngine(TDrawCall& Call)
    : call_(Call), canvas_(Call.Canvas), baseFont_(New<TFont>()), lineFont_(New<TFont>()),
      rotationFont_(New<TFont>())
{
    baseFont_->Assign(canvas_->GetFont());
    startBrushColor_ = canvas_->GetBrush()->GetColor();

    flags_ = DT_BOTTOM | DT_SINGLELINE | DT_EXPANDTABS | DT_EXTERNALLEADING;
    // A right-to-left system reads right to left unless the control says otherwise.
    if (GetSystemMetrics(SM_MIDEASTENABLED)) {
        if (call_.BiDiMode == bdRightToLeft)
            flags_ |= DT_RIGHT;
        if (call_.BiDiMode != bdLeftToRight)
            flags_ |= DT_RTLREADING;
    }
    if (!call_.WordWrap)
        flags_ |= DT_END_ELLIPSIS;
    // A panel text with a free-standing ampersand means the ampersands it writes.
    if (Panel() && call_.Text.find(L" & ") != String::npos)
        flags_ |= DT_NOPREFIX;
    themed_ = !Panel() && PlatformThemes() && PlatformProbe().ThemeActive && AdvXPVS::Loaded();
}

TEngine::~TEngine() = default;

bool TEngine::Run()
{
    TDrawCall& c = call_;
    String text = PreprocessHTML(c.Text);
    TRect r = c.Rect;
    if (!Panel())
        r.left += 1;
    bool hit = false;

    while (true) {
        if (Panel())
            text = Trim(text);
        if (text.empty())
            break;
        TLineMetrics m;
        const int startHeight = TextHeight();
        // A panel line is as tall as what it holds: pictures alone set its height.
        m.Height = Panel() ? 0 : startHeight;
        state_.Sub = state_.Sup = false;
        const TTagState lineState = state_;
        const int offset = hanging_;
        lineFont_->Assign(canvas_->GetFont());

        // The hanging offset narrows the line for breaking and for drawing alike.
        TLinePass measure;
        measure.Measuring = true;
        measure.Line = r;
        measure.Line.left += offset;
        measure.LineLeft = measure.Line.left;
        measure.Offset = offset;
        measure.Width = r.Width() - offset;
        const std::size_t before = text.size();
        RenderLine(measure, text, m);
        // A line that takes nothing would come back for ever: let its first
        // item through on its own.
        if (text.size() == before && !text.empty()) {
            std::size_t end = text[0] == L'<' ? text.find(L'>') : text.find(L'<');
            end = end == String::npos ? text.size() : end + (text[0] == L'<' ? 1 : 0);
            measure.Source += text.substr(0, end);
            text.erase(0, end);
        }
        m.Height += c.LineSpacing;
        // The panel's lines advance by their measured height.
        const int measuredAdvance = m.Height + m.SubExtra + m.SupExtra;

        if (!c.CheckHeight) {
            state_ = lineState;
            canvas_->GetFont()->Assign(lineFont_.get());
            TRect r2 = r;
            if (alignment_ == 1 && r.right - m.Width > r.left)
                r2.left = r.right - m.Width;
            else if (alignment_ == 2 && r.Width() - m.Width > 0)
                r2.left = r.left + (r.Width() - m.Width) / 2;
            r2.left += indent_;
            r2.bottom = r.top + m.Height + m.SubExtra + m.SupExtra;

            TLinePass second;
            second.Measuring = c.CheckHotSpot;
            second.Line = r2;
            second.Line.left += offset;
            second.LineLeft = second.Line.left;
            second.Offset = offset;
            second.Width = r2.Width() - offset;
            String source = measure.Source;
            RenderLine(second, source, m);
            const int textBottom = r2.bottom - m.Baseline;
            if (second.ItemHit ||
                (second.AnchorTextHit && textBottom - startHeight < c.HitY && c.HitY < textBottom))
                hit = true;
        }

        const int advance = Panel() ? measuredAdvance : m.Height + m.SubExtra + m.SupExtra;
        r.top += advance;
        c.YSize += advance;
        if (!c.CheckHeight && startHeight + r.top > c.Rect.bottom)
            break;
    }

    if (c.YSize == 0)
        c.YSize = TextHeight();
    c.HyperLinks = state_.AnchorCount;
    return hit;
}

void TEngine::RenderLine(TLinePass& pass, String& text, TLineMetrics& m)
{
    pass.Line.bottom -= m.SubExtra;
    if (state_.InAnchor) {
        anchorStartX_ = pass.LineLeft;
        anchorStartTop_ = pass.Line.top;
    }
    if (Drawing(pass) && state_.ParagraphFill)
        FillArea(TRect(call_.Rect.left, pass.Line.top, call_.Rect.right, pass.Line.top + m.Height),
                 state_.Background);

    while (!text.empty() && !pass.Ended && !pass.Full) {
        if (text[0] != L'<') {
            TextRun(pass, text, m);
            continue;
        }
        // A "<" with at most one character after it ends the text unseen.
        if (text.size() < 3) {
            text.clear();
            break;
        }
        const std::size_t close = text.find(L'>');
        const String tag = close == String::npos ? text : text.substr(0, close + 1);
        if (!Tag(pass, tag, m))
            break;
        pass.Source += tag;
        text.erase(0, tag.size());
    }
    EndPass(pass, m);
}

void TEngine::TextRun(TLinePass& pass, String& text, TLineMetrics& m)
{
    TDrawCall& c = call_;
    std::size_t end = std::min(text.find(L'<'), text.size());
    if (c.WordWrap) {
        const std::size_t blank = text.find(L' ');
        if (blank < end)
            end = blank + 1;
    }
    const String raw = text.substr(0, end);
    const String run = DecodeRunEntities(raw, !Panel());
    auto consume = [&] {
        pass.Source += raw;
        text.erase(0, end);
    };
    if (run.empty()) {
        consume();
        return;
    }

    const int th = TextHeight();
    m.Height = std::max(m.Height, th);
    if (state_.Sub)
        m.SubExtra = std::max(m.SubExtra, th / 4);
    if (state_.Sup)
        m.SupExtra = std::max(m.SupExtra, th / 4);
    c.StripVal += run;
    if (state_.Hidden) {
        consume();
        return;
    }

    if (pass.Measuring) {
        const int w = MeasureText(run, pass.Line);
        pass.X += w;
        const bool fits = pass.X < pass.Width || w >= pass.Width;
        // A word stays with text it touches, even across a tag.
        const bool stays = fits || (pass.HasRun && !pass.EndsWithBlank);
        if (!stays && c.WordWrap) {
            pass.X -= w;
            pass.Full = true;
            return;
        }
        if (state_.InAnchor && state_.AnchorHasRef) {
            const int hx = c.HitX - pass.LineLeft;
            if (hx >= pass.X - w && hx <= pass.X) {
                pass.AnchorTextHit = true;
                if (pass.Line.top < c.HitY) {
                    c.AnchorVal = state_.Href;
                    c.AnchorHint = state_.Title;
                    pendingHover_ = true;
                }
            }
        }
        consume();
        const bool overflow = !fits && pass.HasRun && !c.WordWrap;
        pass.HasRun = pass.HasContent = true;
        pass.EndsWithBlank = raw.back() == L' ';
        pass.TrailingBlank = pass.EndsWithBlank ? MeasureText(L" ", pass.Line) : 0;
        // Without word wrap a line never breaks; what does not fit is dropped.
        if (overflow)
            text.clear();
        return;
    }

    DrawRun(pass, run, m);
    consume();
    pass.HasRun = pass.HasContent = true;
    pass.EndsWithBlank = raw.back() == L' ';
}

void TEngine::DrawRun(TLinePass& pass, const String& run, const TLineMetrics& m)
{
    TDrawCall& c = call_;
    TRect rc = pass.Line;
    if (state_.Sup)
        rc.bottom -= m.SupExtra;
    if (state_.Sub)
        rc.bottom += m.SubExtra;
    rc.bottom -= m.Baseline;

    const TColor color = canvas_->GetFont()->GetColor();
    UINT flags = flags_;
    int w = 0;
    bool visible = true;
    if (Panel()) {
        // The panel draws a run into its own extent only; italics lean out by 2 pixels.
        flags &= ~DT_EXTERNALLEADING;
        w = MeasureText(run, rc);
        rc.right = rc.left + w + (canvas_->GetFont()->GetStyle().Contains(fsItalic) ? 2 : 0);
        visible = c.WordWrap || rc.left < pass.Line.right - canvas_->TextWidth(L"l");
    }
    if (visible) {
        if (state_.Shadow) {
            TRect shadow = rc;
            OffsetRect(&shadow, c.ShadowOffset, c.ShadowOffset);
            DrawText(run, shadow, c.ShadowColor, clNone, flags);
        }
        DrawText(run, rc, color, state_.Background, flags);
    }
    if (!Panel())
        w = MeasureText(run, rc);
    if (inFocusAnchor_)
        c.FocusAnchor = state_.Href;

    if (state_.ErrorLine) {
        // A zigzag whose phase follows x, so that neighbouring runs join.
        TPen* pen = canvas_->GetPen();
        pen->SetColor(clRed);
        pen->SetWidth(1);
        const int bottom = pass.Line.bottom;
        int x = rc.left & ~1;
        canvas_->MoveTo(x, x % 4 == 0 ? bottom - 1 : bottom + 1);
        for (x += 2; x <= rc.left + w; x += 2)
            canvas_->LineTo(x, x % 4 == 0 ? bottom - 1 : bottom + 1);
    }
    pass.Line.left += w;
}

void TEngine::EndPass(TLinePass& pass, TLineMetrics& m)
{
    // A hanging offset is part of the line's width, for alignment and XSize.
    m.Width = pass.Offset + pass.X - pass.TrailingBlank;
    if (!Panel())
        call_.XSize = std::max(call_.XSize, m.Width);
    else if (m.Width > call_.XSize)
        call_.XSize = m.Width + 2; // room for the italic lean and the focus frame
    if (Drawing(pass) && inFocusAnchor_) {
        CloseFocusRect(pass, m);
        focusRect_.left = pass.LineLeft + 1;
        focusRect_.top = pass.Line.bottom;
    }
}

void TEngine::CloseFocusRect(TLinePass& pass, const TLineMetrics& m)
{
    focusRect_.right = pass.Line.left;
    focusRect_.bottom = pass.Line.bottom - m.Baseline;
    focusRect_.top = focusRect_.bottom - TextHeight();
    TRect frame = focusRect_;
    InflateRect(&frame, 1, 1);
    canvas_->DrawFocusRect(frame);
}

int TEngine::TextHeight()
{
    return canvas_->TextHeight(L"gh");
}

int TEngine::MeasureText(const String& text, const TRect& rect)
{
    HDC dc = canvas_->GetHandle();
    TSelectObject font(dc, canvas_->GetFont()->GetHandle());
    RECT rc = rect;
    // Measured without the ellipsis, which would cut the width to the rectangle.
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rc,
                (flags_ & ~DT_END_ELLIPSIS) | DT_CALCRECT);
    return rc.right - rc.left;
}

void TEngine::DrawText(const String& text, TRect rect, TColor color, TColor background, UINT flags)
{
    HDC dc = canvas_->GetHandle();
    TSelectObject font(dc, canvas_->GetFont()->GetHandle());
    ::SetTextColor(dc, ColorToRGB(color));
    if (background == clNone) {
        ::SetBkMode(dc, TRANSPARENT);
    } else {
        ::SetBkMode(dc, OPAQUE);
        ::SetBkColor(dc, ColorToRGB(background));
    }
    // Rotated text leaves its line rectangle, which would clip it away.
    if (canvas_->GetFont()->GetOrientation() != 0)
        flags |= DT_NOCLIP;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

void TEngine::FillArea(const TRect& rect, TColor color)
{
    if (color == clNone)
        return;
    canvas_->GetPen()->SetColor(color);
    canvas_->GetBrush()->SetColor(color);
    canvas_->GetBrush()->SetStyle(bsSolid);
    canvas_->Rectangle(rect);
    canvas_->GetBrush()->SetStyle(bsClear);
}

void TEngine::SetFontColor(TColor color)
{
    canvas_->GetFont()->SetColor(color);
}

} // namespace gridhtml

using namespace gridhtml;

bool GridHTMLDraw(TCanvas* Canvas, const String& Text, const TRect& Rect, TCustomImageList* Images,
                  int HitX, int HitY, int FocusLink, int HoverLink, int ShadowOffset,
                  bool CheckHotSpot, bool CheckHeight, bool Print, bool Selected, bool Blink,
                  bool HoverStyle, bool WordWrap, bool CtrlDown, const String& CtrlDownID,
                  double ResFactor, TColor URLColor, TColor HoverColor, TColor HoverFontColor,
                  TColor ShadowColor, String& AnchorVal, String& StripVal, String& FocusAnchor,
                  String& AnchorHint, int& XSize, int& YSize, int& HyperLinks, int& MouseLink,
                  TRect& HoverRect, TRect& ControlRect, String& ControlID, String& ControlValue,
                  String& ControlType, THTMLPictureCache* PictureCache,
                  TPictureContainer* PictureContainer, HWND OwnerWindow, TBiDiMode BiDiMode)
{
    TPen* pen = Canvas->GetPen();
    TBrush* brush = Canvas->GetBrush();
    const TColor penColor = pen->GetColor();
    const int penWidth = pen->GetWidth();
    const TColor brushColor = brush->GetColor();
    const TBrushStyle brushStyle = brush->GetStyle();
    brush->SetStyle(bsClear);

    ControlValue.clear();
    ControlType.clear();
    StripVal.clear();
    FocusAnchor.clear();
    AnchorHint.clear();
    if (!CheckHotSpot)
        ControlID.clear();
    ControlRect = TRect();
    XSize = YSize = HyperLinks = 0;
    MouseLink = -1;

    TDrawCall call{Canvas, Text, Rect, Images, HitX, HitY, FocusLink, HoverLink, ShadowOffset,
                   CheckHotSpot, CheckHeight, Print, Selected, Blink, HoverStyle, WordWrap, CtrlDown,
                   CtrlDownID, std::max(ResFactor, 1.0), URLColor, HoverColor, HoverFontColor,
                   ShadowColor, PictureCache, PictureContainer, OwnerWindow, BiDiMode,
                   AnchorVal, StripVal, FocusAnchor, AnchorHint, XSize, YSize, HyperLinks,
                   MouseLink, HoverRect, ControlRect, ControlID, ControlValue, ControlType};

    // Whatever happens inside, the canvas gets its tools back.
    const TOwned<TFont> font(New<TFont>());
    font->Assign(Canvas->GetFont());
    const TScopeExit restore([&] {
        Canvas->GetFont()->Assign(font.get());
        Canvas->GetPen()->SetColor(penColor);
        Canvas->GetPen()->SetWidth(penWidth);
        Canvas->GetBrush()->SetColor(brushColor);
        Canvas->GetBrush()->SetStyle(brushStyle);
        // Text colours and background modes were set on the DC directly.
        Canvas->Refresh();
    });

    TEngine engine(call);
    return engine.Run();
}

void SetHTMLHighlightColors(TColor Color, TColor TextColor)
{
    highlightColor = Color;
    highlightTextColor = TextColor;
}

void GridHTML_Initialize()
{
    const TPlatformProbe& probe = PlatformProbe();
    platformThemes = probe.WindowsMajor > 5 || (probe.WindowsMajor == 5 && probe.WindowsMinor > 0);
}

void GridHTML_Finalize()
{
    platformThemes = false;
}
