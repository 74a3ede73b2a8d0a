// What each tag of the markup does to the layout and drawing of either
// variant. A tag is recognised by the first one or two characters of its name.
#include "GridHTMLEngine.h"

#include "HTMLMarkup.h"
#include "PanelHTML.h"
#include <algorithm>

namespace gridhtml {

namespace {

wchar_t At(const String& s, std::size_t i) { return i < s.size() ? s[i] : L'\0'; }

bool StartsWith(const String& s, const wchar_t* prefix) { return s.compare(0, wcslen(prefix), prefix) == 0; }

void SetStyle(TFont* font, TFontStyle style, bool on)
{
    TFontStyles styles = font->GetStyle();
    if (on)
        styles.Include(style);
    else
        styles.Exclude(style);
    font->SetStyle(styles);
}

// FONT SIZE numbers 1 to 5 are the HTML sizes; any other number is points.
int FontSizePoints(int size)
{
    constexpr int htmlSizes[] = {8, 10, 12, 14, 16};
    return size >= 1 && size <= 5 ? htmlSizes[size - 1] : size;
}

} // namespace

bool TEngine::Tag(TLinePass& pass, const String& tag, TLineMetrics& m)
{
    const String upper = HTMLUpperCase(tag);
    if (At(upper, 1) == L'/') {
        ClosingTag(pass, upper, m);
        return true;
    }
    return OpeningTag(pass, tag, upper, m);
}

bool TEngine::OpeningTag(TLinePass& pass, const String& tag, const String& upper, TLineMetrics& m)
{
    TDrawCall& c = call_;
    TFont* font = canvas_->GetFont();
    const wchar_t second = At(upper, 2);
    switch (At(upper, 1)) {
    case L'A':
        Anchor(pass, tag);
        break;
    case L'B':
        if (second == L'L') {
            // Blinking text is invisible while the blink phase is off.
            if (!c.Blink)
                SetFontColor(startBrushColor_);
        } else if (second == L'O') {
            if (Drawing(pass) && !Panel())
                Body(tag);
            else if (Drawing(pass) && !c.Selected)
                PanelBody(pass, tag);
        } else if (second == L'R') {
            pass.Ended = true;
            c.StripVal += L'\r';
            if (Panel())
                m.Height = std::max(m.Height, TextHeight());
        } else {
            SetStyle(font, fsBold, true);
        }
        break;
    case L'C':
        // The panel has no form controls: the tag is dropped.
        if (Panel())
            break;
        return Control(pass, tag, m);
    case L'E':
        if (Drawing(pass))
            state_.ErrorLine = true;
        break;
    case L'F':
        if (tag.back() == L'>')
            Font(pass, tag);
        break;
    case L'H':
        if (second == L'I') {
            if (Drawing(pass)) {
                state_.Highlight = true;
                state_.HighlightFont = font->GetColor();
                state_.HighlightBackground = state_.Background;
                state_.Background = Panel() ? clHighlight : HighlightColor();
                SetFontColor(Panel() ? clHighlightText : HighlightTextColor());
            }
        } else if (second == L'R') {
            pass.Ended = true;
            if (Drawing(pass))
                Rule(pass, tag);
        }
        break;
    case L'I':
        if (second == L'N') {
            Integer x = 0;
            if (HTMLValidNumber(HTMLTagAttribute(tag, L"X"), x) && x > pass.X) {
                pass.X = x;
                pass.Line.left = c.Rect.left + x;
            }
        } else if (second == L'M') {
            return Picture(pass, tag, m);
        } else {
            SetStyle(font, fsItalic, true);
        }
        break;
    case L'L':
        return ListItem(pass, tag);
    case L'O':
        if (second == L'F' && Panel()) {
            HangingOffset(pass, tag);
        } else if (second == L'L') {
            ++state_.ListLevel;
            state_.Ordered = true;
            state_.ItemNumber = 1;
            if (pass.HasContent)
                pass.Ended = true;
        }
        break;
    case L'P':
        Paragraph(pass, tag);
        break;
    case L'R':
        if (!state_.Rotated) {
            rotationFont_->Assign(font);
            state_.Rotated = true;
        }
        font->SetOrientation(HTMLLeadingInteger(HTMLTagAttribute(tag, L"A")) * 10);
        break;
    case L'S':
        if (upper == L"<S>" || second == L'T')
            SetStyle(font, fsStrikeOut, true);
        else if (second == L'H')
            state_.Shadow = true;
        else if (second == L'P') {
            const String style = HTMLTagAttribute(tag, L"STYLE");
            TColor color = clNone;
            if (StartsWith(HTMLUpperCase(style), L"BACKGROUND-COLOR:") &&
                HTMLHexColor(style.substr(17), color)) {
                state_.SpanBackground = state_.Background;
                state_.Background = color;
            }
        } else if (upper == L"<SUB>")
            state_.Sub = true;
        else if (upper == L"<SUP>")
            state_.Sup = true;
        break;
    case L'U':
        if (upper == L"<U>") {
            SetStyle(font, fsUnderline, true);
        } else {
            ++state_.ListLevel;
            state_.Ordered = false;
            if (pass.HasContent)
                pass.Ended = true;
        }
        break;
    case L'Z':
        state_.Hidden = true;
        break;
    }
    return true;
}

void TEngine::ClosingTag(TLinePass& pass, const String& upper, TLineMetrics& m)
{
    TDrawCall& c = call_;
    TFont* font = canvas_->GetFont();
    switch (At(upper, 2)) {
    case L'A':
        AnchorEnd(pass, m);
        break;
    case L'B':
        if (upper == L"</B>")
            SetStyle(font, fsBold, false);
        else if (!c.Selected)
            SetFontColor(baseFont_->GetColor());
        break;
    case L'E':
        state_.ErrorLine = false;
        break;
    case L'F':
        font->SetName(baseFont_->GetName());
        font->SetSize(baseFont_->GetSize());
        if (Drawing(pass) && !c.Selected) {
            SetFontColor(baseFont_->GetColor());
            state_.Background = state_.FontBackground;
        }
        break;
    case L'H':
        if (Drawing(pass) && state_.Highlight) {
            SetFontColor(state_.HighlightFont);
            state_.Background = state_.HighlightBackground;
            state_.Highlight = false;
        }
        break;
    case L'I':
        SetStyle(font, fsItalic, false);
        break;
    case L'L':
        pass.Ended = true;
        break;
    case L'O':
        if (At(upper, 3) == L'L' && state_.ListLevel > 0) {
            --state_.ListLevel;
            if (Panel() && Drawing(pass))
                state_.Ordered = false;
        } else if (Panel() && (upper == L"</O>" || At(upper, 3) == L'L')) {
            hanging_ = 0;
        }
        break;
    case L'P':
        pass.Ended = true;
        state_.ParagraphFill = false;
        if (Drawing(pass)) {
            alignment_ = 0;
            if (!Panel() || !c.Selected)
                state_.Background = state_.ParagraphBackground;
        }
        break;
    case L'R':
        if (state_.Rotated) {
            font->Assign(rotationFont_.get());
            state_.Rotated = false;
        }
        break;
    case L'S':
        if (upper == L"</S>" || At(upper, 3) == L'T')
            SetStyle(font, fsStrikeOut, false);
        else if (At(upper, 3) == L'H')
            state_.Shadow = false;
        else if (At(upper, 3) == L'P')
            state_.Background = clNone;
        else if (At(upper, 3) == L'U')
            state_.Sub = state_.Sup = false;
        break;
    case L'U':
        if (upper != L"</U>" && state_.ListLevel > 0)
            --state_.ListLevel;
        else
            SetStyle(font, fsUnderline, false);
        break;
    case L'Z':
        state_.Hidden = false;
        break;
    }
}

void TEngine::Anchor(TLinePass& pass, const String& tag)
{
    TDrawCall& c = call_;
    // The panel returns to the colour in force before the anchor at </A>.
    if (Panel())
        baseFont_->SetColor(canvas_->GetFont()->GetColor());
    if (Drawing(pass) && state_.AnchorCount == c.FocusLink) {
        inFocusAnchor_ = true;
        focusRect_.left = pass.Line.left;
        focusRect_.top = pass.Line.top;
    }
    ++state_.AnchorCount;
    state_.AnchorNumber = state_.AnchorCount;
    const bool hovered = state_.AnchorNumber == c.HoverLink;
    if (Drawing(pass) && (!c.HoverStyle || hovered)) {
        SetStyle(canvas_->GetFont(), fsUnderline, true);
        if (c.HoverColor != clNone) {
            state_.AnchorBackground = state_.Background;
            state_.Background = c.HoverColor;
        }
        if (c.HoverFontColor != clNone) {
            state_.AnchorFont = canvas_->GetFont()->GetColor();
            SetFontColor(c.HoverFontColor);
        }
    }
    if (!c.Selected && !(c.HoverStyle && hovered && c.HoverFontColor != clNone))
        SetFontColor(c.URLColor);

    state_.InAnchor = true;
    state_.AnchorHasRef = HTMLTagAttribute(tag, L"HREF", state_.Href);
    state_.Title = HTMLTagAttribute(tag, L"TITLE");
    anchorStartX_ = pass.LineLeft + pass.X;
    anchorStartTop_ = pass.Line.top;
}

void TEngine::AnchorEnd(TLinePass& pass, TLineMetrics& m)
{
    TDrawCall& c = call_;
    const bool hovered = state_.AnchorNumber == c.HoverLink;
    if (state_.InAnchor && Drawing(pass) && (!c.HoverStyle || hovered)) {
        SetStyle(canvas_->GetFont(), fsUnderline, false);
        if (c.HoverColor != clNone)
            state_.Background = state_.AnchorBackground;
        if (c.HoverFontColor != clNone)
            SetFontColor(state_.AnchorFont);
    }
    if (!c.Selected)
        SetFontColor(baseFont_->GetColor());
    state_.InAnchor = false;
    if (pendingHover_) {
        c.HoverRect = TRect(anchorStartX_, anchorStartTop_, pass.LineLeft + pass.X, pass.Line.bottom);
        c.MouseLink = state_.AnchorNumber;
        pendingHover_ = false;
    }
    if (Drawing(pass) && inFocusAnchor_) {
        CloseFocusRect(pass, m);
        inFocusAnchor_ = false;
    }
}

void TEngine::Font(TLinePass& pass, const String& tag)
{
    TDrawCall& c = call_;
    TFont* font = canvas_->GetFont();
    String value;
    if (HTMLTagAttribute(tag, L"FACE", value))
        font->SetName(value);
    if (Panel()) {
        // Every FONT tag keeps the background, and its colour, for its </FONT>.
        state_.FontBackground = state_.Background;
        if (HTMLTagAttribute(tag, L" COLOR", value) && Drawing(pass) && !c.Selected) {
            baseFont_->SetColor(font->GetColor());
            SetFontColor(HTMLColor(value));
        }
        if (HTMLTagAttribute(tag, L"BGCOLOR", value) && Drawing(pass) && !c.Selected)
            state_.Background = HTMLColor(value);
    } else {
        if (HTMLTagAttribute(tag, L" COLOR", value) && !c.Selected)
            SetFontColor(HTMLColor(value));
        if (HTMLTagAttribute(tag, L"BGCOLOR", value) && Drawing(pass) && !c.Selected) {
            state_.FontBackground = state_.Background;
            state_.Background = HTMLColor(value);
        }
    }
    if (HTMLTagAttribute(tag, L"STYLE", value)) {
        // Only a leading font size in points is understood.
        const String style = HTMLUpperCase(value);
        const std::size_t pt = style.find(L"PT");
        if (StartsWith(style, L"FONT-SIZE:") && pt != String::npos && pt >= 10)
            font->SetSize(HTMLLeadingInteger(Trim(style.substr(10, pt - 10))));
    } else if (HTMLTagAttribute(tag, L"SIZE", value)) {
        font->SetSize(FontSizePoints(HTMLLeadingInteger(value)));
    }
}

void TEngine::Paragraph(const TLinePass& pass, const String& tag)
{
    TDrawCall& c = call_;
    String value;
    if (HTMLTagAttribute(tag, L"ALIGN", value)) {
        const String align = HTMLUpperCase(value);
        if (align.find(L"RIGHT") != String::npos)
            alignment_ = 1;
        if (align.find(L"LEFT") != String::npos)
            alignment_ = 0;
        if (align.find(L"CENTER") != String::npos)
            alignment_ = 2;
    }
    if (HTMLTagAttribute(tag, L"INDENT", value))
        indent_ = HTMLLeadingInteger(value);
    if (HTMLTagAttribute(tag, L"BGCOLOR", value) && Drawing(pass) && !(Panel() && c.Selected)) {
        state_.ParagraphBackground = state_.Background;
        state_.Background = HTMLColor(value);
        String to;
        if (Panel() && HTMLTagAttribute(tag, L"BGCOLORTO", to)) {
            GradientFillRect(canvas_, state_.Background, HTMLColor(to), true,
                             TRect(c.Rect.left, pass.Line.top, c.Rect.right, pass.Line.bottom + 2), 64, clNone);
            canvas_->GetBrush()->SetStyle(bsClear);
        } else {
            FillArea(TRect(c.Rect.left, pass.Line.top, c.Rect.right, pass.Line.bottom), state_.Background);
        }
        state_.ParagraphFill = true;
    }
}

void TEngine::PanelBody(const TLinePass& pass, const String& tag)
{
    TDrawCall& c = call_;
    String value;
    if (HTMLTagAttribute(tag, L"BACKGROUND", value) || HTMLTagAttribute(tag, L"BGTOPLEFT", value))
        CornerPicture(pass, value, false);
    if (HTMLTagAttribute(tag, L"BGTOPRIGHT", value))
        CornerPicture(pass, value, true);
    if (!HTMLTagAttribute(tag, L"BGCOLOR", value))
        return;
    const TColor color = HTMLColor(value);
    String to;
    if (HTMLTagAttribute(tag, L"BGCOLORTO", to)) {
        String dir;
        const bool horizontal = !HTMLTagAttribute(tag, L"DIR", dir) || HTMLUpperCase(dir) == L"H";
        GradientFillRect(canvas_, color, HTMLColor(to), horizontal, c.Rect, 64, clNone);
        canvas_->GetBrush()->SetStyle(bsClear);
        return;
    }
    state_.FontBackground = state_.Background;
    const TColor penColor = canvas_->GetPen()->GetColor();
    FillArea(TRect(c.Rect.left - 2, c.Rect.top, c.Rect.right, c.Rect.bottom), color);
    canvas_->GetPen()->SetColor(penColor);
}

void TEngine::Rule(const TLinePass& pass, const String& tag)
{
    TPen* pen = canvas_->GetPen();
    const TColor penColor = pen->GetColor();
    String value;
    pen->SetColor(Panel() && HTMLTagAttribute(tag, L"COLOR", value) ? HTMLColor(value) : clBlack);
    pen->SetWidth(1);
    canvas_->MoveTo(pass.LineLeft, pass.Line.bottom + 1);
    canvas_->LineTo(Panel() ? pass.Line.right : call_.Rect.right, pass.Line.bottom + 1);
    if (Panel())
        pen->SetColor(penColor);
}

void TEngine::HangingOffset(TLinePass& pass, const String& tag)
{
    // The offset counts from the rectangle's left edge; lines that start
    // already offset count from there.
    hanging_ = HTMLLeadingInteger(HTMLTagAttribute(tag, L"X"));
    pass.X = std::max(0, hanging_ - pass.Offset);
    pass.Line.left = pass.LineLeft + pass.X;
}

void TEngine::Body(const String& tag)
{
    String value;
    if (HTMLTagAttribute(tag, L"BACKGROUND", value))
        TileBackground(HTMLUpperCase(value));
    if (HTMLTagAttribute(tag, L"BGCOLOR", value)) {
        // A colour only in a form the grid recognises; otherwise the background in force.
        const String upper = HTMLUpperCase(value);
        TColor color = state_.Background;
        if (upper.find(L"CL") != String::npos)
            color = HTMLColor(value);
        else if (upper.find(L"#") != String::npos)
            HTMLHexColor(value, color);
        const TColor penColor = canvas_->GetPen()->GetColor();
        FillArea(call_.Rect, color);
        canvas_->GetPen()->SetColor(penColor);
        state_.FontBackground = color;
    }
}

bool TEngine::ListItem(TLinePass& pass, const String& tag)
{
    if (pass.ListItemSeen) {
        pass.Full = true;
        return false;
    }
    pass.ListItemSeen = true;
    const int level = state_.ListLevel;
    pass.X += 12 * level;
    pass.Line.left += 12 * level - 12;
    if (Drawing(pass) && !state_.Hidden)
        DrawMarker(pass, tag, level);
    pass.Line.left += 12;
    return true;
}

void TEngine::DrawMarker(TLinePass& pass, const String& tag, int level)
{
    TFont* font = canvas_->GetFont();
    String value;
    // The panel's markers take COLOR, and the font colour without it.
    const TColor color = Panel() && HTMLTagAttribute(tag, L"COLOR", value) ? HTMLColor(value) : font->GetColor();
    if (Panel() && HTMLTagAttribute(tag, L"TYPE", value)) {
        const String type = HTMLUpperCase(value);
        if (type != L"SQUARE" && type != L"CIRCLE")
            return;
        TBrush* brush = canvas_->GetBrush();
        const TColor brushColor = brush->GetColor();
        const TBrushStyle brushStyle = brush->GetStyle();
        canvas_->GetPen()->SetColor(color);
        brush->SetColor(color);
        brush->SetStyle(bsSolid);
        const TRect box(pass.Line.left, pass.Line.top + 2, pass.Line.left + 8, pass.Line.top + 10);
        if (type == L"SQUARE")
            canvas_->Rectangle(box);
        else
            canvas_->Ellipse(box);
        brush->SetColor(brushColor);
        brush->SetStyle(brushStyle);
        return;
    }
    const String face = font->GetName();
    font->SetName(L"Symbol");
    const String marker = state_.Ordered ? IntToStr(state_.ItemNumber) + L". "
                                         : String(level % 2 == 1 ? L"\u00B7" : L"o");
    DrawText(marker, pass.Line, color, clNone, flags_);
    if (state_.Ordered) {
        ++state_.ItemNumber;
        pass.Line.left += MeasureText(marker, pass.Line) - 12;
    }
    font->SetName(face);
}

} // namespace gridhtml
