// HTML export: the cells as one HTML table with a style class per distinct
// cell look, cell pictures as JPEG files in a folder beside the page, and
// the page written, appended to and opened. Every cell text is escaped and
// every attribute quoted; marked-up cells (only where the grid shows markup)
// keep only the markup a page may safely show, and the page loads nothing
// from outside its own folder.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "Forms.h"
#include "HTMLUtils.h"
#include "Jpeg.h"
#include <shellapi.h>
#include <algorithm>
#include <cwctype>

namespace {

const wchar_t* const CRLF = L"\r\n";

// A value inside double quotes.
String QuotedAttribute(const String& Value)
{
    return L"\"" + EncodeHTMLEntities(Value, false) + L"\"";
}

// An address a page may link to or load: none that runs script or carries
// its own content. Browsers ignore blanks and control characters in the
// scheme, so they are ignored here too.
bool IsSafeAddress(const String& Address)
{
    String compact;
    for (wchar_t ch : Address)
        if (ch > L' ')
            compact += static_cast<wchar_t>(std::towlower(ch));
    for (const wchar_t* scheme : {L"javascript:", L"vbscript:", L"data:"})
        if (compact.starts_with(scheme))
            return false;
    return true;
}

// An address a page may load by itself (a picture): one inside the page's
// own folder, so that opening the page fetches nothing from elsewhere. No
// scheme, drive or root; no step up, spelled plainly or percent-encoded;
// browsers read a backslash as a slash.
bool IsPageFolderAddress(const String& Address)
{
    String compact;
    for (wchar_t ch : Address)
        if (ch > L' ')
            compact += ch == L'\\' ? L'/' : ch;
    if (compact.empty() || compact[0] == L'/' || compact.find_first_of(L":%") != String::npos)
        return false;
    for (std::size_t start = 0; start <= compact.size();) {
        const std::size_t end = std::min(compact.find_first_of(L"/?#", start), compact.size());
        if (compact.compare(start, end - start, L"..") == 0)
            return false;
        if (end == compact.size() || compact[end] != L'/')
            break;
        start = end + 1;
    }
    return true;
}

// A font name that cannot end the style rule or the style block.
String SafeFontName(const String& Name)
{
    String safe;
    for (wchar_t ch : Name)
        if (ch >= L' ' && !wcschr(L";{}<>\"\\", ch))
            safe += ch;
    return safe;
}

// --- marked-up cells ----------------------------------------------------------------------

struct AllowedTag {
    const wchar_t* name;
    std::initializer_list<const wchar_t*> attributes;
};

// The markup of cells that a browser shows as the grid does; each keeps
// only these attributes.
const AllowedTag AllowedTags[] = {
    {L"b", {}},       {L"i", {}},   {L"u", {}},     {L"s", {}},     {L"strike", {}},
    {L"sub", {}},     {L"sup", {}}, {L"br", {}},    {L"hr", {}},    {L"ul", {}},
    {L"ol", {}},      {L"li", {}},  {L"p", {L"align"}},
    {L"font", {L"color", L"bgcolor", L"face", L"size"}},
    {L"a", {L"href", L"title"}},
    {L"img", {L"src", L"alt", L"title", L"width", L"height", L"align"}},
};
// The grid's own tags (shadow, indent, highlight, hidden text, blinking),
// which a browser would not show: left out of the page.
const wchar_t* const GridOnlyTags[] = {L"shad", L"ind", L"hi", L"e", L"z", L"blink", L"body"};

const AllowedTag* FindAllowedTag(const String& Name)
{
    for (const AllowedTag& tag : AllowedTags)
        if (Name == tag.name)
            return &tag;
    return nullptr;
}

bool IsNameChar(wchar_t ch)
{
    return std::iswalnum(ch) || ch == L'-' || ch == L'_' || ch == L':';
}

// The attributes of a tag's inside ("a href=x title='y z'"), names in lower case.
std::vector<std::pair<String, String>> TagAttributes(const String& Inside, std::size_t From)
{
    std::vector<std::pair<String, String>> attributes;
    std::size_t i = From;
    while (i < Inside.size()) {
        while (i < Inside.size() && !IsNameChar(Inside[i]))
            ++i;
        const std::size_t start = i;
        while (i < Inside.size() && IsNameChar(Inside[i]))
            ++i;
        if (start == i)
            break;
        const String name = LowerCase(Inside.substr(start, i - start));
        while (i < Inside.size() && Inside[i] == L' ')
            ++i;
        String value;
        if (i < Inside.size() && Inside[i] == L'=') {
            ++i;
            while (i < Inside.size() && Inside[i] == L' ')
                ++i;
            if (i < Inside.size() && (Inside[i] == L'"' || Inside[i] == L'\'')) {
                const wchar_t quote = Inside[i++];
                const std::size_t end = Inside.find(quote, i);
                value = Inside.substr(i, end == String::npos ? String::npos : end - i);
                i = end == String::npos ? Inside.size() : end + 1;
            } else {
                const std::size_t valueStart = i;
                while (i < Inside.size() && Inside[i] != L' ')
                    ++i;
                value = Inside.substr(valueStart, i - valueStart);
            }
        }
        attributes.emplace_back(name, DecodeHTMLEntities(value, true));
    }
    return attributes;
}

// One tag ("<...>" without its brackets) as the page gets it: an allowed tag
// rebuilt with its allowed attributes quoted, a grid-only tag left out, any
// other tag as text.
String SafeTag(const String& Inside)
{
    const bool closing = !Inside.empty() && Inside[0] == L'/';
    std::size_t i = closing ? 1 : 0;
    const std::size_t nameStart = i;
    while (i < Inside.size() && IsNameChar(Inside[i]))
        ++i;
    const String name = LowerCase(Inside.substr(nameStart, i - nameStart));
    if (const AllowedTag* tag = FindAllowedTag(name)) {
        if (closing)
            return L"</" + name + L">";
        String out = L"<" + name;
        for (const auto& [attribute, value] : TagAttributes(Inside, i)) {
            const bool allowed = std::any_of(tag->attributes.begin(), tag->attributes.end(),
                                             [&](const wchar_t* a) { return attribute == a; });
            const bool safe = attribute == L"src"    ? IsPageFolderAddress(value)
                              : attribute == L"href" ? IsSafeAddress(value)
                                                     : true;
            if (allowed && safe)
                out += L" " + attribute + L"=" + QuotedAttribute(value);
        }
        return out + L">";
    }
    if (std::any_of(std::begin(GridOnlyTags), std::end(GridOnlyTags), [&](const wchar_t* t) { return name == t; }))
        return String();
    return EncodeHTMLEntities(L"<" + Inside + L">", false);
}

// Whether an "&" at Pos starts an entity ("&amp;", "&#38;", "&#x26;").
bool StartsEntity(const String& Text, std::size_t Pos)
{
    std::size_t i = Pos + 1;
    if (i < Text.size() && Text[i] == L'#') {
        ++i;
        const bool hex = i < Text.size() && (Text[i] == L'x' || Text[i] == L'X');
        if (hex)
            ++i;
        const std::size_t digits = i;
        while (i < Text.size() && (hex ? std::iswxdigit(Text[i]) : std::iswdigit(Text[i])))
            ++i;
        return i > digits && i < Text.size() && Text[i] == L';';
    }
    const std::size_t letters = i;
    while (i < Text.size() && std::iswalnum(Text[i]))
        ++i;
    return i > letters && i < Text.size() && Text[i] == L';';
}

// A marked-up cell's text with its deliberate markup and entities kept and
// everything else escaped.
String SafeMarkup(const String& Text)
{
    String out;
    for (std::size_t i = 0; i < Text.size();) {
        const wchar_t ch = Text[i];
        if (ch == L'<') {
            const std::size_t end = Text.find(L'>', i + 1);
            const std::size_t next = Text.find(L'<', i + 1);
            if (end != String::npos && (next == String::npos || end < next)) {
                out += SafeTag(Text.substr(i + 1, end - i - 1));
                i = end + 1;
                continue;
            }
            out += L"&lt;";
        } else if (ch == L'>') {
            out += L"&gt;";
        } else if (ch == L'&' && !StartsEntity(Text, i)) {
            out += L"&amp;";
        } else {
            out += ch;
        }
        ++i;
    }
    return out;
}

void ReplaceCR(String& Text, const String& With)
{
    for (std::size_t p = Text.find(L'\r'); p != String::npos; p = Text.find(L'\r', p + With.size()))
        Text.replace(p, 1, With);
}

// The cell text as a link when it holds an address: the whole text is the
// address, and the shown part is all of it or what follows the scheme.
bool LinkText(const String& Raw, bool Full, String& Content)
{
    String shown;
    bool link = false;
    if (Raw.find(L"://") != String::npos && Raw.find(L"</") == String::npos) {
        shown = Full ? Raw : Raw.substr(Raw.find(L"://") + 3, 255);
        link = true;
    }
    if (Raw.find(L"mailto:") != String::npos) {
        shown = Full ? Raw : Raw.substr(Raw.find(L"mailto:") + 7, 255);
        link = true;
    }
    if (!link || !IsSafeAddress(Raw))
        return false;
    String text = EncodeHTMLEntities(shown, false);
    ReplaceCR(text, L"<br>");
    Content = L"<a href=" + QuotedAttribute(Raw) + L">" + text + L"</a>";
    return true;
}

// Pages are written in 7-bit text with every other character as a
// character reference, so that nothing is lost.
AnsiString SevenBitPage(const String& Text)
{
    AnsiString out;
    out.reserve(Text.size());
    for (std::size_t i = 0; i < Text.size(); ++i) {
        unsigned code = Text[i];
        if (code < 0x80) {
            out += static_cast<char>(code);
            continue;
        }
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < Text.size() && Text[i + 1] >= 0xDC00 && Text[i + 1] < 0xE000)
            code = 0x10000 + ((code - 0xD800) << 10) + (Text[++i] - 0xDC00);
        out += "&#" + std::to_string(code) + ";";
    }
    return out;
}

} // namespace

// --- the page's markup -------------------------------------------------------------------

String TAdvStringGrid::HTMLCellStyle(int ACol, int ARow, bool Fixed)
{
    TOwned<TFont> font(New<TFont>());
    font->Assign(Fixed ? GetFixedFont() : GetFont());
    font->SetColor(clNone);
    font->SetStyle({});
    TOwned<TBrush> brush(New<TBrush>());
    brush->SetColor(clNone);
    TGridDrawState state;
    if (Fixed)
        state << gdFixed;
    DoGetCellColor(ACol, ARow, state, brush.get(), font.get());
    const TColor background = Fixed ? GetFixedColor() : brush->GetColor();

    const int real = RealColIndex(ACol);
    TAlignment align = FDefaultAlignment;
    TVAlignment valign = FVAlignment;
    if (FAutoNumAlign) {
        const Byte kind = DetectValueKind(Trim(GetCellText(real, ARow)));
        if (kind == vkInteger || kind == vkFloat || kind == vkFloatExponent)
            align = taRightJustify;
    } else if (HasCellProperties(real, ARow)) {
        align = GetCellProperties(real, ARow)->GetAlignment();
    }
    DoGetAlignment(real, ARow, align, valign);

    std::vector<String> parts;
    if (background != clNone && FHTMLSettings->GetSaveColor())
        parts.push_back(L"background-color: #" + ColorToHTMLHex(ColorToRGB(background)));
    if (font->GetColor() != clNone && FHTMLSettings->GetSaveColor())
        parts.push_back(L"color: #" + ColorToHTMLHex(ColorToRGB(font->GetColor())));
    parts.push_back(L"font-size:" + IntToStr(font->GetSize()) + L"pt");
    if (font->GetStyle().Contains(fsItalic))
        parts.push_back(L"font-style: italic");
    if (font->GetStyle().Contains(fsBold))
        parts.push_back(L"font-weight: bold");
    parts.push_back(L"font-family: " + SafeFontName(font->GetName()));
    if (align == taRightJustify)
        parts.push_back(L"text-align: right");
    else if (align == taCenter)
        parts.push_back(L"text-align: center");
    parts.push_back(valign == vtaTop ? L"vertical-align: top"
                                     : valign == vtaCenter ? L"vertical-align: middle" : L"vertical-align: bottom");
    String style;
    for (const String& part : parts)
        style += (style.empty() ? L"" : L";") + part;
    return style;
}

bool TAdvStringGrid::HTMLCellWraps(int ACol, int ARow)
{
    const int real = RealColIndex(ACol);
    bool wrap = HasCellProperties(real, ARow) ? GetCellProperties(real, ARow)->GetWordWrap() : GetWordWrap();
    DoGetWordWrap(real, ARow, wrap);
    return wrap;
}

String TAdvStringGrid::SaveToHTMLString(const String& dir)
{
    THTMLSettings* settings = FHTMLSettings.get();
    const String folder = dir + settings->GetImageFolder();
    int pictureNumber = 1;
    std::vector<String> styles;
    std::vector<String> body;

    auto styleClass = [&styles](const String& style) {
        for (std::size_t i = 0; i < styles.size(); ++i)
            if (SameText(styles[i], style))
                return static_cast<int>(i);
        styles.push_back(style);
        return static_cast<int>(styles.size() - 1);
    };
    // Writes one picture file and gives its tag.
    auto picture = [&](TGraphic* graphic) {
        if (!DirectoryExists(folder) && !ForceDirectories(folder))
            throw EFCreateError(L"Cannot create " + folder);
        const String path = folder + L"/" + settings->GetImageBaseName() + IntToStr(pictureNumber) + L".jpg";
        if (dynamic_cast<TJPEGImage*>(graphic)) {
            graphic->SaveToFile(path);
        } else {
            TOwned<TBitmap> bitmap(New<TBitmap>());
            bitmap->SetPixelFormat(pf24bit);
            bitmap->SetSize(graphic->GetWidth(), graphic->GetHeight());
            bitmap->GetCanvas()->Draw(0, 0, graphic);
            TOwned<TJPEGImage> jpeg(New<TJPEGImage>());
            jpeg->Assign(bitmap.get());
            jpeg->SaveToFile(path);
        }
        ++pictureNumber;
        return L"<img src= " + QuotedAttribute(L"file://" + path) + L">";
    };
    auto imageListPicture = [&](TCustomImageList* images, int index) {
        TOwned<TBitmap> bitmap(New<TBitmap>());
        images->GetBitmap(index, bitmap.get());
        return picture(bitmap.get());
    };
    auto spanText = [this](int c, int r) {
        const TPoint span = CellSpan(RealColIndex(c), r);
        String text;
        if (span.x > 0)
            text += L" colspan=\"" + IntToStr(span.x + 1) + L"\"";
        if (span.y > 0)
            text += L" rowspan=\"" + IntToStr(span.y + 1) + L"\"";
        return text;
    };
    auto widthText = [settings](int index) {
        TIntList* widths = settings->GetColWidths();
        return index >= 0 && index < widths->Count() ? L" width=\"" + IntToStr((*widths)[index]) + L"px\"" : String();
    };
    // The cell line, with the cell's pictures around its content.
    auto cellLine = [&](int c, int r, const String& attributes, const String& content, const String& saved) {
        String inner = content;
        String end = L"</td>";
        TCellGraphic* graphic = settings->GetExportImages() ? GetCellGraphic(RealColIndex(c), r) : nullptr;
        TCustomImageList* images = GetCellImageList(RealColIndex(c), r);
        const int imageCount = images ? images->Count() : 0;
        switch (graphic ? graphic->GetCellType() : ctEmpty) {
        case ctBitmap:
            if (auto* bitmap = dynamic_cast<TBitmap*>(graphic->GetCellBitmap()); bitmap && !bitmap->GetEmpty())
                inner = content + picture(bitmap);
            break;
        case ctImageList:
            if (graphic->GetCellIndex() >= 0 && graphic->GetCellIndex() < imageCount)
                inner = imageListPicture(images, graphic->GetCellIndex()) + content;
            else
                end = L"</TD>";
            break;
        case ctDataImage: {
            int index = -1;
            if (TryStrToInt(saved, index) && index >= 0 && index < imageCount)
                inner = imageListPicture(images, index);
            break;
        }
        case ctImages:
            if (auto* indexes = dynamic_cast<TIntList*>(graphic->GetCellBitmap()); indexes && images) {
                inner.clear();
                for (int i = 0; i < indexes->Count(); ++i)
                    if ((*indexes)[i] >= 0 && (*indexes)[i] < imageCount)
                        inner += imageListPicture(images, (*indexes)[i]);
                inner += content;
            }
            break;
        case ctPicture:
            if (auto* held = dynamic_cast<TPicture*>(graphic->GetCellBitmap()); held && held->GetGraphic())
                inner = content + picture(held->GetGraphic());
            break;
        case ctNode:
            inner = L"+" + content;
            break;
        default:
            break;
        }
        return L"<td" + attributes + L">" + inner + end;
    };
    // A data cell's text for the page: escaped, or, where the grid shows
    // markup, its markup made safe; an address becomes a link.
    auto cellContent = [this, settings](const String& raw, bool body) {
        String content;
        if (ClassifyCellText(raw, FEnableHTML) == ctkHTML) {
            content = SafeMarkup(raw);
        } else {
            content = EncodeHTMLEntities(raw, body && settings->GetConvertSpecialChars());
            if (body && settings->GetNonBreakingText())
                content = SpacesToNbsp(content);
        }
        ReplaceCR(content, L"<br>");
        if (FURLShow)
            LinkText(raw, FURLFull, content);
        return content;
    };

    const int startCol = FSaveFixedCells || FSaveFixedCols ? 0 : GetFixedCols();
    int firstRow = FSaveFixedCells || FSaveFixedRows ? 0 : GetFixedRows();

    String table = L"<table border=\"" + IntToStr(settings->GetBorderSize()) + L"\" cellspacing=\"" +
                   IntToStr(settings->GetCellSpacing()) + L"\" cellpadding=\"" + IntToStr(settings->GetCellPadding()) +
                   L"\" ";
    if (!settings->GetSummary().empty())
        table += L"summary=" + QuotedAttribute(settings->GetSummary()) + L" ";
    if (!settings->GetTableStyle().empty())
        table += L" " + settings->GetTableStyle() + L" ";
    body.push_back(table + L" width=\"" + IntToStr(settings->GetWidth()) + L"%\">");

    const bool headerRow = GetFixedRows() > 0 && (FSaveFixedCells || FSaveFixedRows);
    if (headerRow) {
        String line = L"<tr>";
        for (int c = startCol; c < GetColCount(); ++c) {
            if (!IsBaseCell(RealColIndex(c), 0))
                continue;
            const String saved = SaveCell(RealColIndex(c), 0);
            String content = cellContent(saved, false);
            if (content.empty())
                content = L"&nbsp;";
            const int cls = styleClass(HTMLCellStyle(c, 0, true));
            const String attributes = L" class=\"c" + IntToStr(cls) + L"\"" + spanText(c, 0) +
                                      (HTMLCellWraps(c, 0) ? L"" : L" nowrap=\"nowrap\"") + widthText(c);
            line += cellLine(c, 0, attributes, content, saved);
        }
        body.push_back(line + L"</tr>");
        firstRow = 1;
    }

    ExportNotification(0, firstRow);
    for (int r = firstRow; r < GetRowCount(); ++r) {
        ExportNotification(5, r);
        String line = L"<tr>";
        for (int c = startCol; c < GetColCount(); ++c) {
            if (!IsBaseCell(RealColIndex(c), r))
                continue;
            const String saved = SaveCell(RealColIndex(c), r);
            String content = cellContent(saved, true);
            const int cls = styleClass(HTMLCellStyle(c, r, IsFixedCell(c, r)));
            if (Trim(content).empty())
                content = L"&nbsp;";
            const String attributes = L" class=\"c" + IntToStr(cls) + L"\"" + spanText(c, r) +
                                      (HTMLCellWraps(c, r) ? L"" : L" nowrap=\"nowrap\"") +
                                      (headerRow ? String() : widthText(c - startCol));
            line += cellLine(c, r, attributes, content, saved);
        }
        body.push_back(line + L"</tr>");
    }
    ExportNotification(2, -1);
    body.push_back(L"</table>");
    if (!settings->GetSuffixTag().empty())
        body.push_back(settings->GetSuffixTag());
    if (!settings->GetFooterText().empty())
        body.push_back(settings->GetFooterText());
    if (settings->GetXHTML())
        body.push_back(L"</HTML>");

    String page;
    if (settings->GetXHTML())
        page = String(L"<?xml version=\"1.0\" encoding=\"utf-8\"?>") + CRLF +
               L"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"" + CRLF +
               L"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">" + CRLF +
               L"<HTML xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">" + CRLF;
    page += settings->GetHeaderText() + settings->GetPrefixTag();
    page += String(L"<style>") + CRLF;
    for (std::size_t i = 0; i < styles.size(); ++i)
        page += L".c" + IntToStr(static_cast<int>(i)) + L" {" + styles[i] + L"}" + CRLF;
    page += String(L"</style>") + CRLF;
    for (const String& line : body)
        page += line + CRLF;
    return page;
}

// --- the file ----------------------------------------------------------------------------

void TAdvStringGrid::SaveToHTML(const String& FileName, bool Show, bool Unicode)
{
    WriteHTMLFile(FileName, Show, Unicode, false);
}

void TAdvStringGrid::AppendToHTML(const String& FileName, bool Show, bool Unicode)
{
    WriteHTMLFile(FileName, Show, Unicode, true);
}

void TAdvStringGrid::WriteHTMLFile(const String& FileName, bool Show, bool Unicode, bool Append)
{
    THTMLSettings* settings = FHTMLSettings.get();
    TOwned<TStringList> lines(New<TStringList>());
    if (Append) {
        try {
            lines->LoadFromFile(FileName);
        } catch (const Exception&) {
            // A page that is not there yet is an empty one.
        }
    }
    TOwned<TStringList> part(New<TStringList>());
    if (!settings->GetHeaderFile().empty()) {
        part->LoadFromFile(settings->GetHeaderFile());
        lines->AddStrings(part.get());
    }
    String dir = ExtractFilePath(FileName);
    std::replace(dir.begin(), dir.end(), L'\\', L'/');
    lines->Add(SaveToHTMLString(dir));
    if (!settings->GetFooterFile().empty()) {
        part->LoadFromFile(settings->GetFooterFile());
        lines->AddStrings(part.get());
    }

    if (Unicode) {
        lines->WriteBOM = true;
        lines->SaveToFile(FileName, TEncoding::UTF8());
    } else {
        const AnsiString page = SevenBitPage(lines->GetText());
        TOwned<TFileStream> file(New<TFileStream>(FileName, fmCreate));
        file->WriteBuffer(page.data(), static_cast<Int64>(page.size()));
    }
    if (Show || settings->GetAutoPreview())
        ShellExecuteW(Application->GetHandle(), L"open", FileName.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
