// TsHtml: the walk over the text, tags, fonts, entities and word wrapping.
// Positions are 0-based indexes into Origin; UppedText has the same length,
// so a tag found in it is cut from Origin at the same place.
#include "sHtmlParse.h"
#include "SysUtils.h"
#include "acEngineServices.h"
#include "sAlphaGraph.h"
#include "sGraphUtils.h"
#include <algorithm>
#include <cwctype>

bool BreakOnCarriageReturn = false;

namespace {

struct TEntity {
    const wchar_t* Name;
    const wchar_t* Reference;
    wchar_t Character;
};

constexpr TEntity Entities[] = {
    {L"ndash", L"#8211", 0x2013},
    {L"mdash", L"#8212", 0x2014},
    {L"nbsp", L"#160", 0x00A0},
    {L"iexcl", L"#161", 0x00A1},
    {L"iquest", L"#191", 0x00BF},
    {L"quot", L"#34", 0x0022},
    {L"ldquo", L"#8220", 0x201C},
    {L"rdquo", L"#8221", 0x201D},
    {L"39", L"#39", 0x0027},
    {L"lsquo", L"#8216", 0x2018},
    {L"rsquo", L"#8217", 0x2019},
    {L"laquo", L"#171", 0x00AB},
    {L"raquo", L"#187", 0x00BB},
    {L"amp", L"#38", 0x0026},
    {L"cent", L"#162", 0x00A2},
    {L"copy", L"#169", 0x00A9},
    {L"divide", L"#247", 0x00F7},
    {L"gt", L"#62", 0x003E},
    {L"lt", L"#60", 0x003C},
    {L"micro", L"#181", 0x00B5},
    {L"middot", L"#183", 0x00B7},
    {L"para", L"#182", 0x00B6},
    {L"plusmn", L"#177", 0x00B1},
    {L"euro", L"#8364", 0x20AC},
    {L"pound", L"#163", 0x00A3},
    {L"reg", L"#174", 0x00AE},
    {L"sect", L"#167", 0x00A7},
    {L"trade", L"#153", 0x2122},
    {L"yen", L"#165", 0x00A5},
    {L"szlig", L"#223", 0x00DF},
    {L"yuml", L"#255", 0x00FF},
    {L"aacute", L"#225", 0x00E1},
    {L"Aacute", L"#193", 0x00C1},
    {L"agrave", L"#224", 0x00E0},
    {L"Agrave", L"#192", 0x00C0},
    {L"acirc", L"#226", 0x00E2},
    {L"Acirc", L"#194", 0x00C2},
    {L"aring", L"#229", 0x00E5},
    {L"Aring", L"#197", 0x00C5},
    {L"atilde", L"#227", 0x00E3},
    {L"Atilde", L"#195", 0x00C3},
    {L"auml", L"#228", 0x00E4},
    {L"Auml", L"#196", 0x00C4},
    {L"aelig", L"#230", 0x00E6},
    {L"AElig", L"#198", 0x00C6},
    {L"ccedil", L"#231", 0x00E7},
    {L"Ccedil", L"#199", 0x00C7},
    {L"eacute", L"#233", 0x00E9},
    {L"Eacute", L"#201", 0x00C9},
    {L"egrave", L"#232", 0x00E8},
    {L"Egrave", L"#200", 0x00C8},
    {L"ecirc", L"#234", 0x00EA},
    {L"Ecirc", L"#202", 0x00CA},
    {L"euml", L"#235", 0x00EB},
    {L"Euml", L"#203", 0x00CB},
    {L"iacute", L"#237", 0x00ED},
    {L"Iacute", L"#205", 0x00CD},
    {L"igrave", L"#236", 0x00EC},
    {L"Igrave", L"#204", 0x00CC},
    {L"icirc", L"#238", 0x00EE},
    {L"Icirc", L"#206", 0x00CE},
    {L"iuml", L"#239", 0x00EF},
    {L"Iuml", L"#207", 0x00CF},
    {L"ntilde", L"#241", 0x00F1},
    {L"Ntilde", L"#209", 0x00D1},
    {L"oacute", L"#243", 0x00F3},
    {L"Oacute", L"#211", 0x00D3},
    {L"ograve", L"#242", 0x00F2},
    {L"Ograve", L"#210", 0x00D2},
    {L"ocirc", L"#244", 0x00F4},
    {L"Ocirc", L"#212", 0x00D4},
    {L"oslash", L"#248", 0x00F8},
    {L"Oslash", L"#216", 0x00D8},
    {L"otilde", L"#245", 0x00F5},
    {L"Otilde", L"#213", 0x00D5},
    {L"ouml", L"#246", 0x00F6},
    {L"Ouml", L"#214", 0x00D6},
    {L"uacute", L"#250", 0x00FA},
    {L"Uacute", L"#218", 0x00DA},
    {L"ugrave", L"#249", 0x00F9},
    {L"Ugrave", L"#217", 0x00D9},
    {L"ucirc", L"#251", 0x00FB},
    {L"Ucirc", L"#219", 0x00DB},
    {L"uuml", L"#252", 0x00FC},
    {L"Uuml", L"#220", 0x00DC},
    {L"#180", L"#180", 0x00B4},
    {L"#96", L"#96", 0x0060},
};

struct TNamedColor {
    const wchar_t* Name;
    TColor Color;
};

constexpr TNamedColor NamedColors[] = {
    {L"AQUA", 0xFFFF00},   {L"BLACK", 0x000000},  {L"BLUE", 0xFF0000},  {L"FUCHSIA", 0xFF00FF},
    {L"GRAY", 0x808080},   {L"GREEN", 0x008000},  {L"LIME", 0x00FF00},  {L"MAROON", 0x000080},
    {L"NAVY", 0x800000},   {L"OLIVE", 0x008080},  {L"PURPLE", 0x800080}, {L"RED", 0x0000FF},
    {L"SILVER", 0xC0C0C0}, {L"TEAL", 0x808000},   {L"WHITE", 0xFFFFFF}, {L"YELLOW", 0x00FFFF},
};

// An entity name is looked at within this many characters after the "&".
constexpr Integer MaxEntityLength = 255;

bool SameNoCase(const String& A, const wchar_t* B)
{
    return CompareStringOrdinal(A.c_str(), static_cast<int>(A.size()), B, -1, TRUE) == CSTR_EQUAL;
}

const TEntity* FindEntity(const String& Name)
{
    for (const TEntity& e : Entities)
        if (Name == e.Name)
            return &e;
    for (const TEntity& e : Entities)
        if (SameNoCase(Name, e.Name))
            return &e;
    for (const TEntity& e : Entities)
        if (Name == e.Reference)
            return &e;
    return nullptr;
}

// Hexadecimal RRGGBB as a colour; text that is no hex number counts as 0.
TColor HexColor(const String& Hex)
{
    if (Hex.empty() || Hex.size() > 8)
        return 0;
    Cardinal value = 0;
    for (wchar_t c : Hex) {
        if (!std::iswxdigit(c))
            return 0;
        value = value * 16 + (c <= L'9' ? c - L'0' : (std::towupper(c) - L'A' + 10));
    }
    return static_cast<TColor>(ReverseColorBytes(value & 0xFFFFFF));
}

// The FONT tag's words: split at blanks, line ends, quotes, "<", "=" and ">".
std::vector<String> TagWords(const String& s)
{
    std::vector<String> words;
    String word;
    for (wchar_t c : s) {
        if (c == L' ' || c == L'\r' || c == L'\n' || c == L'"' || c == L'<' || c == L'=' || c == L'>') {
            if (!word.empty())
                words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

bool ParseInt(const String& s, Integer& Value)
{
    if (s.empty() || s.size() > 9)
        return false;
    Integer v = 0;
    for (wchar_t c : s) {
        if (c < L'0' || c > L'9')
            return false;
        v = v * 10 + (c - L'0');
    }
    Value = v;
    return true;
}

// The URL of a link tag as written: the text after "HREF" and its "=",
// without quotes and the closing bracket; empty when there is no HREF.
String LinkURL(const String& Tag)
{
    const String upper = UpperCase(Tag);
    auto href = upper.find(L"HREF");
    if (href == String::npos)
        return {};
    auto eq = Tag.find(L'=', href + 4);
    if (eq == String::npos)
        return {};
    String url;
    for (wchar_t c : Tag.substr(eq + 1))
        if (c != L'\'' && c != L'"' && c != L'>')
            url += c;
    return Trim(url);
}

} // namespace

TColor HtmlColorValue(const String& UpperValue)
{
    if (!UpperValue.empty() && UpperValue[0] == L'#')
        return HexColor(UpperValue.substr(1));
    for (const TNamedColor& c : NamedColors)
        if (UpperValue == c.Name)
            return c.Color;
    return HexColor(UpperValue);
}

TsHtml::TsHtml() = default;
TsHtml::~TsHtml() = default;

void TsHtml::Init(TBitmap* Bmp, const String& Text, Integer APressedLink, Integer AHotLink, const TRect& aRect)
{
    Bitmap = Bmp;
    Origin = Text;
    Area = aRect;
    // Tags are found in the upper-cased text and cut from Origin at the same
    // place, so a locale mapping that changes the length falls back to ASCII.
    UppedText = AnsiUpperCase(Text);
    if (UppedText.size() != Text.size())
        UppedText = UpperCase(Text);
    Len = static_cast<Integer>(Text.size());
    CurX = Area.left;
    CurY = Area.top;
    MaxBmpWidth = MaxBmpHeight = CurWidthValue = CurrentRowHeight = 0;
    PressedLink = APressedLink;
    HotLink = AHotLink;
    openLink_ = -1;
}

TRect TsHtml::HTMLText(TacLinks& ALinks, bool CalcOnly)
{
    Links.clear();
    openLink_ = -1;
    Calculating = CalcOnly;
    try {
        Integer pos = 0;
        Integer last = 0;
        while (pos < Len) {
            const wchar_t c = Origin[pos];
            if (c == L'&') {
                ShowCut(pos, last);
                const String entity = GetSpecialCharacter(Origin, pos);
                if (!entity.empty()) {
                    pos += static_cast<Integer>(entity.size());
                    last = pos;
                } else if (pos + 1 < Len && Origin[pos + 1] == L'&') {
                    // Two ampersands show one.
                    last = pos + 1;
                    pos += 2;
                } else {
                    last = pos;
                    ++pos;
                }
            } else if (c == L'<') {
                ShowCut(pos, last);
                if (pos + 1 < Len && Origin[pos + 1] == L'<') {
                    last = pos + 1;
                    pos += 2;
                    continue;
                }
                const auto close = UppedText.find(L'>', pos);
                if (close == String::npos) {
                    last = ++pos;
                    continue;
                }
                const String tag = UppedText.substr(pos, close - pos + 1);
                if (ExecTag(tag, pos)) {
                    pos = static_cast<Integer>(close) + 1;
                    last = pos;
                } else {
                    last = pos;
                    ++pos;
                }
            } else if (c == L'\r' && BreakOnCarriageReturn) {
                ShowCut(pos, last);
                if (CurrentRowHeight == 0)
                    CurrentRowHeight = Bitmap->GetCanvas()->TextHeight(L"Yy");
                NewRow();
                CurX = Area.left;
                last = ++pos;
            } else {
                ++pos;
            }
        }
        ShowCut(Len, last);
    } catch (const Exception&) {
        // What was laid out so far is the answer.
    }
    MaxBmpWidth = std::max(MaxBmpWidth, CurWidthValue);
    MaxBmpHeight = CurY + CurrentRowHeight;
    Calculating = false;
    ALinks = Links;
    return TRect(0, 0, MaxBmpWidth, MaxBmpHeight);
}

void TsHtml::DrawPiece(Integer X, Integer Y, const String& Text, const TSize& Size)
{
    if (Calculating)
        return;
    TCanvas* canvas = Bitmap->GetCanvas();
    if (AlphaChannel) {
        DrawTextOnBitmap32(Bitmap, Text.c_str(), true, TRect(X, Y, X + Size.cx, Y + Size.cy),
                           DT_NOPREFIX | DT_SINGLELINE, canvas->GetFont()->GetColor());
    } else {
        canvas->GetBrush()->SetStyle(bsClear);
        canvas->TextOut(X, Y + std::max(0, CurrentRowHeight - static_cast<Integer>(Size.cy)), Text);
    }
}

void TsHtml::ShowCut(Integer inCurPos, Integer inLastPos)
{
    if (inCurPos <= inLastPos)
        return;
    String text;
    text.reserve(inCurPos - inLastPos);
    for (Integer i = inLastPos; i < inCurPos && i < Len; ++i)
        if (Origin[i] != L'\r' && Origin[i] != L'\n')
            text += Origin[i];
    if (text.empty())
        return;
    TCanvas* canvas = Bitmap->GetCanvas();
    canvas->GetBrush()->SetStyle(bsClear);
    const TSize size = canvas->TextExtent(text);
    CurrentRowHeight = std::max<Integer>(CurrentRowHeight, size.cy);
    if (Area.right > 0 && CurX + size.cx > Area.right) {
        if (text[0] == L' ')
            CurX += canvas->TextWidth(L" ");
        WrapWords(text);
        return;
    }
    DrawPiece(CurX, CurY, text, size);
    CurX += size.cx;
    CurWidthValue = std::max<Integer>(CurWidthValue + size.cx, CurX);
}

// A loop over the words, not one call per row: a long text must not run the
// stack down.
void TsHtml::WrapWords(const String& Text)
{
    TCanvas* canvas = Bitmap->GetCanvas();
    const Integer blank = canvas->TextWidth(L" ");
    const Integer h = canvas->TextHeight(L"X");
    const Integer areaWidth = Area.right - Area.left;
    std::vector<String> words;
    String word;
    for (wchar_t c : Text) {
        if (c == L' ') {
            words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    words.push_back(std::move(word));
    // The leading blank has moved the pen already.
    std::size_t first = (!Text.empty() && Text[0] == L' ') ? 1 : 0;
    for (std::size_t i = first; i < words.size(); ++i) {
        const String& w = words[i];
        if (w.empty() && i + 1 == words.size())
            break;
        const TSize size = canvas->TextExtent(w);
        const Integer ww = size.cx;
        if (CurX + ww > Area.right && CurX > Area.left) {
            CurX = Area.left;
            CurrentRowHeight = std::max(CurrentRowHeight, h);
            CurY += CurrentRowHeight;
            --i; // this word again, at the start of the new row
            continue;
        }
        if (ww > areaWidth) {
            // A word wider than the area fills a row by itself.
            CurX = Area.left;
            DrawPiece(CurX, CurY, w, size);
            CurrentRowHeight = std::max(CurrentRowHeight, h);
            CurY += CurrentRowHeight;
            CurWidthValue = std::max(CurWidthValue, ww);
            continue;
        }
        DrawPiece(CurX, CurY, w, size);
        CurX += ww + blank;
        CurWidthValue = std::max(CurWidthValue, CurX);
        CurrentRowHeight = std::max(CurrentRowHeight, h);
    }
}

void TsHtml::NewRow()
{
    CurY += CurrentRowHeight + 2;
    MaxBmpWidth = std::max(MaxBmpWidth, CurWidthValue);
    CurWidthValue = 0;
    CurrentRowHeight = 0;
}

void TsHtml::RowBreak()
{
    CurX = Area.left;
    if (CurrentRowHeight == 0)
        CurrentRowHeight = Bitmap->GetCanvas()->TextHeight(L"X");
    NewRow();
}

bool TsHtml::ExecTag(const String& s, Integer CurPos)
{
    TFont* font = Bitmap->GetCanvas()->GetFont();
    auto setStyle = [font](TFontStyle style, bool on) {
        TFontStyles styles = font->GetStyle();
        if (on)
            styles.Include(style);
        else
            styles.Exclude(style);
        font->SetStyle(styles);
    };
    if (s.size() > 1 && s[1] == L'/') {
        auto after = [&s](const wchar_t* name) { return s.find(name) == 2; };
        if (after(L"B")) {
            setStyle(fsBold, false);
            return true;
        }
        if (after(L"I")) {
            setStyle(fsItalic, false);
            return true;
        }
        if (after(L"U")) {
            setStyle(fsUnderline, false);
            return true;
        }
        if (after(L"FONT")) {
            BackFont();
            return true;
        }
        if (after(L"A")) {
            // Without an open link there is nothing to end.
            if (openLink_ >= 0) {
                TacLink& link = Links[openLink_];
                link.URL = LinkURL(link.URL);
                link.Bounds.right = CurX;
                link.Bounds.bottom = link.Bounds.top + CurrentRowHeight;
                openLink_ = -1;
                BackFont();
            }
            return true;
        }
        return false;
    }
    if (s == L"<BR>" || s == L"<BR/>" || s == L"<P>") {
        RowBreak();
        return true;
    }
    if (s == L"<B>") {
        setStyle(fsBold, true);
        return true;
    }
    if (s == L"<I>") {
        setStyle(fsItalic, true);
        return true;
    }
    if (s == L"<U>") {
        setStyle(fsUnderline, true);
        return true;
    }
    auto inTag = [&s](const wchar_t* name) {
        const auto at = s.find(name);
        return at != String::npos && at + 1 < s.size();
    };
    if (inTag(L"FONT")) {
        NewFont(s, false, 0);
        return true;
    }
    if (inTag(L"A")) {
        const Integer index = static_cast<Integer>(Links.size());
        NewFont(s, true, (index == PressedLink ? 1 : 0) + (index == HotLink ? 1 : 0));
        TacLink link;
        link.Bounds = TRect(CurX, CurY, CurX, CurY);
        link.URL = CurPos >= 0 ? Origin.substr(CurPos, s.size()) : s;
        Links.push_back(std::move(link));
        openLink_ = index;
        return true;
    }
    return false;
}

void TsHtml::NewFont(const String& s, bool IsLink, Integer State)
{
    TFont* font = Bitmap->GetCanvas()->GetFont();
    TOwned<TFont> saved(New<TFont>());
    saved->Assign(font);
    aFonts.push_back(std::move(saved));
    if (IsLink) {
        const bool skinned = SkinManager && SkinManager->GetActive();
        if (!skinned) {
            font->SetColor(State == 2 ? TColor(0x0000FF) : TColor(0xFF0000));
        } else if (State == 0) {
            font->SetColor(SkinManager->Palette[pcWebText]);
        } else if (State == 1) {
            font->SetColor(SkinManager->Palette[pcWebTextHot]);
        } else {
            font->SetColor(static_cast<TColor>(
                MixColors(SkinManager->Palette[pcWebTextHot], SkinManager->Palette[pcLabelText], 127)));
        }
        if (State > 0) {
            TFontStyles styles = font->GetStyle();
            font->SetStyle(styles.Include(fsUnderline));
        }
        return;
    }
    const std::vector<String> words = TagWords(s);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const bool hasNext = i + 1 < words.size();
        if (words[i] == L"SIZE" && hasNext) {
            const String& v = words[i + 1];
            Integer n = 0;
            if (!v.empty() && (v[0] == L'+' || v[0] == L'-') && ParseInt(v.substr(1), n))
                font->SetSize(font->GetSize() + (v[0] == L'+' ? n : -n));
            else if (ParseInt(v, n))
                font->SetSize(n);
            else
                font->SetSize(8);
        } else if (words[i] == L"COLOR" && hasNext) {
            font->SetColor(HtmlColorValue(words[i + 1]));
        } else if (words[i] == L"FACE") {
            const auto at = s.find(L"FACE");
            const auto open = s.find(L'"', at);
            const auto close = open == String::npos ? String::npos : s.find(L'"', open + 1);
            if (close != String::npos && close > open + 1)
                font->SetName(s.substr(open + 1, close - open - 1));
        }
    }
}

void TsHtml::BackFont()
{
    if (aFonts.empty())
        return;
    Bitmap->GetCanvas()->GetFont()->Assign(aFonts.back().get());
    aFonts.pop_back();
}

String TsHtml::GetSpecialCharacter(const String& inString, Integer inPos)
{
    const Integer size = static_cast<Integer>(inString.size());
    const Integer end = std::min(size, inPos + 1 + MaxEntityLength);
    Integer semicolon = -1;
    for (Integer i = inPos + 1; i < end; ++i) {
        if (inString[i] == L';') {
            semicolon = i;
            break;
        }
        if (inString[i] == L' ')
            return {};
    }
    if (semicolon < 0)
        return {};
    const String name = inString.substr(inPos + 1, semicolon - inPos - 1);
    const TEntity* entity = FindEntity(name);
    if (!entity)
        return {};
    TCanvas* canvas = Bitmap->GetCanvas();
    const String character(1, entity->Character);
    const TSize extent = canvas->TextExtent(character);
    if (Area.right > 0 && CurX + extent.cx > Area.right) {
        CurX = Area.left;
        NewRow();
    }
    CurrentRowHeight = std::max<Integer>(CurrentRowHeight, canvas->TextHeight(L"X"));
    DrawPiece(CurX, CurY, character, extent);
    CurX += extent.cx;
    CurWidthValue = CurX;
    return inString.substr(inPos, semicolon - inPos + 1);
}
