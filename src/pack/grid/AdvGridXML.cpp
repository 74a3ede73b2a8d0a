// XML and JSON. The XML writer names the encoding it writes in and writes
// in it; a character that encoding lacks goes as a character reference. The
// reader leaves the parsing to the system's XML parser object and maps the
// elements and attributes it reports onto cells, never above the first row
// it loads into and never outside the grid except by growing it. JSON is
// written in 7-bit text, so it reads the same in any code page.
#include "AdvGrid.h"
#include "AdvGridTextIO.h"
#include "ComObj.h"
#include <cmath>
#include <cwctype>

using namespace advgrid_text;

namespace {

// --- the XML writer's encoding --------------------------------------------------------------

// The code page an encoding name stands for; 20127 (7-bit text, with
// references for the rest) for a name not known here.
UINT XMLCodePage(const String& Name)
{
    const String name = UpperCase(Trim(Name));
    if (name == L"UTF-8")
        return CP_UTF8;
    if (name == L"UTF-16")
        return 1200;
    Int64 number = 0;
    if (name.rfind(L"ISO-8859-", 0) == 0 && ReadInteger(name.substr(9), number) && number >= 1 && number <= 15 &&
        number != 12 && IsValidCodePage(static_cast<UINT>(28590 + number)))
        return static_cast<UINT>(28590 + number);
    for (const wchar_t* prefix : {L"WINDOWS-", L"CP"})
        if (name.rfind(prefix, 0) == 0 && ReadInteger(name.substr(wcslen(prefix)), number) && number > 0 &&
            number < 65536 && IsValidCodePage(static_cast<UINT>(number)))
            return static_cast<UINT>(number);
    return 20127;
}

// Characters XML 1.0 allows in a document at all.
bool IsXMLChar(unsigned CodePoint)
{
    return CodePoint == 9 || CodePoint == 10 || CodePoint == 13 || (CodePoint >= 0x20 && CodePoint <= 0xD7FF) ||
           (CodePoint >= 0xE000 && CodePoint <= 0xFFFD) || (CodePoint >= 0x10000 && CodePoint <= 0x10FFFF);
}

class TXMLTextWriter {
public:
    explicit TXMLTextWriter(UINT CodePage) : codePage_(CodePage) {}

    // The cell text in the writer's form: "&" as "$amp;", then ">", "<" and
    // the double quote as entities. Line breaks go as references, since a
    // parser hands back a raw CR LF as LF; a character the encoding lacks
    // goes as a reference, one XML cannot hold at all as U+FFFD.
    String Escape(const String& S)
    {
        String out;
        out.reserve(S.size());
        for (std::size_t i = 0; i < S.size(); ++i) {
            const wchar_t ch = S[i];
            switch (ch) {
            case L'&':
                out += L"$amp;";
                continue;
            case L'>':
                out += L"&gt;";
                continue;
            case L'<':
                out += L"&lt;";
                continue;
            case L'"':
                out += L"&quot;";
                continue;
            case L'\r':
                out += L"&#13;";
                continue;
            case L'\n':
                out += L"&#10;";
                continue;
            default:
                break;
            }
            unsigned codePoint = ch;
            if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < S.size() && S[i + 1] >= 0xDC00 && S[i + 1] <= 0xDFFF) {
                codePoint = 0x10000 + ((ch - 0xD800u) << 10) + (S[i + 1] - 0xDC00u);
                if (codePage_ == CP_UTF8 || codePage_ == 1200) {
                    out += ch;
                    out += S[++i];
                } else {
                    out += L"&#" + IntToStr(codePoint) + L";";
                    ++i;
                }
                continue;
            }
            if (!IsXMLChar(codePoint))
                codePoint = 0xFFFD;
            if (codePoint < 0x80 || Encodable(static_cast<wchar_t>(codePoint)))
                out += static_cast<wchar_t>(codePoint);
            else
                out += L"&#" + IntToStr(codePoint) + L";";
        }
        return out;
    }

    TBytes Bytes(const String& Text) const
    {
        if (codePage_ == 1200) {
            TBytes bytes = TEncoding::Unicode()->GetPreamble();
            const TBytes body = TEncoding::Unicode()->GetBytes(Text);
            bytes.insert(bytes.end(), body.begin(), body.end());
            return bytes;
        }
        return TMBCSEncoding(codePage_).GetBytes(Text);
    }

private:
    bool Encodable(wchar_t Ch)
    {
        if (codePage_ == CP_UTF8 || codePage_ == 1200)
            return Ch < 0xD800 || Ch > 0xDFFF;
        if (codePage_ == 28591)
            return Ch < 0x100;
        if (codePage_ == 20127)
            return false;
        char bytes[8];
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(codePage_, WC_NO_BEST_FIT_CHARS, &Ch, 1, bytes, sizeof bytes, nullptr,
                                          &usedDefault);
        return n > 0 && !usedDefault;
    }

    UINT codePage_;
};

// --- the XML reader --------------------------------------------------------------------------

// The reader's decoding of a text the parser returns; "$amp;" last, so
// that a cell that held "&lt;" does not come back as "<".
String DecodeXMLText(String S)
{
    const TReplaceFlags all = TReplaceFlags() << rfReplaceAll;
    S = StringReplace(S, L"&gt;", L">", all);
    S = StringReplace(S, L"&lt;", L"<", all);
    S = StringReplace(S, L"&quot;", L"\"", all);
    return StringReplace(S, L"$amp;", L"&", all);
}

int Length(const Variant& List)
{
    return List.OlePropertyGet(L"length").ToInteger();
}

Variant Item(const Variant& List, int Index)
{
    return List.OlePropertyGet(L"item", {Index});
}

// --- JSON ----------------------------------------------------------------------------------

String JSONEscape(const String& S)
{
    static const wchar_t hex[] = L"0123456789abcdef";
    String out;
    out.reserve(S.size());
    for (wchar_t ch : S) {
        switch (ch) {
        case L'"':
            out += L"\\\"";
            break;
        case L'\\':
            out += L"\\\\";
            break;
        case L'\b':
            out += L"\\b";
            break;
        case L'\f':
            out += L"\\f";
            break;
        case L'\n':
            out += L"\\n";
            break;
        case L'\r':
            out += L"\\r";
            break;
        case L'\t':
            out += L"\\t";
            break;
        default:
            if (ch < 0x20 || ch > 0x7E) {
                out += L"\\u";
                for (int shift = 12; shift >= 0; shift -= 4)
                    out += hex[(ch >> shift) & 0xF];
            } else {
                out += ch;
            }
        }
    }
    return out;
}

} // namespace

// --- XML -----------------------------------------------------------------------------------

void TAdvStringGrid::SaveToXML(const String& FileName, const String& ListDescr, const String& RecordDescr,
                               TStrings* FieldDescr, bool ExportEmptyCells)
{
    TOwned<TFileStream> file = CreateTextFile(FileName);
    TXMLTextWriter writer(XMLCodePage(FXMLEncoding));
    const int hidden = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int startCol = SaveStartCol();
    const int endCol = SaveEndCol() + hidden;
    const int startRow = SaveStartRow();
    const int endRow = SaveEndRow();

    String text = L"<?xml version=\"1.0\" encoding=\"" + FXMLEncoding + L"\" ?>\r\n";
    text += L"<" + ListDescr + L">\r\n";
    ExportNotification(0, startRow);
    int lastProgress = -1;
    for (int r = startRow; r <= endRow; ++r) {
        ExportNotification(5, r);
        text += L"<" + RecordDescr + L">\r\n";
        for (int c = startCol; c <= endCol; ++c) {
            if (!IsBaseCell(RealColIndex(c), r))
                continue;
            String t = SaveCell(c, r);
            if (t.empty() && !ExportEmptyCells)
                continue;
            if (t.empty() && FQuoteEmptyCells)
                t = L"\"\"";
            const int k = c - startCol;
            const String tag = FieldDescr && k < FieldDescr->Count() ? FieldDescr->Get(k) : L"FIELD" + IntToStr(k);
            text += L"<" + tag + L">" + writer.Escape(t) + L"</" + tag + L">\r\n";
        }
        text += L"</" + RecordDescr + L">\r\n";
        FireFileProgress(static_cast<int>(std::nearbyint(100.0 * (r - startRow) / std::max(1, endRow - startRow))),
                         lastProgress);
    }
    text += L"</" + ListDescr + L">\r\n";
    ExportNotification(2, -1);
    const TBytes bytes = writer.Bytes(text);
    if (!bytes.empty())
        file->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

void TAdvStringGrid::LoadFromXML(const String& FileName, bool LevelToRow, bool LoadFieldDescr)
{
    if (!FileExists(FileName))
        throw EAdvGridError(L"XML file not found");
    Variant document = CreateOleObject(L"Microsoft.XMLDOM");
    // The parser object may load in the background unless told not to.
    document.OlePropertySet(L"async", false);
    document.OleFunction(L"load", {FileName});
    const Variant parseError = document.OlePropertyGet(L"parseError");
    const int errorCode = parseError.OlePropertyGet(L"errorCode").ToInteger();
    if (errorCode != 0)
        throw EAdvGridError(L"XMLDOM Parsing error " + IntToStr(errorCode) + L" on line " +
                            IntToStr(parseError.OlePropertyGet(L"line").ToInteger()));

    const int startCol = SaveStartCol();
    const int startRow = LoadFieldDescr || !(FSaveFixedCells || FSaveFixedRows) ? GetFixedRows() : 0;
    const bool headers = FSaveFixedCells || FSaveFixedRows;
    int q = 0;
    int s = 0;
    int level = 0;
    int highestCol = startCol;
    int highestRow = startRow;
    // Row s holds a value of this load.
    bool rowUsed = false;

    auto grow = [&](int col, int row) {
        if (col >= GetColCount())
            SetColCount(col + 1);
        if (row >= GetRowCount())
            SetRowCount(row + 1);
    };
    auto writeHeader = [&](const String& name) {
        const int col = startCol + q;
        if (headers && GetRawCell(col, 0).empty()) {
            grow(col, 0);
            LoadCellText(col, 0, name);
        }
    };
    auto writeValue = [&](const String& value) {
        // A value never lands above the first row loaded into.
        s = std::max(s, 0);
        const int col = startCol + q;
        const int row = startRow + s;
        grow(col, row);
        LoadCellText(col, row, value);
        rowUsed = true;
        highestCol = std::max(highestCol, col);
        highestRow = std::max(highestRow, row);
        ++q;
    };

    std::function<void(const Variant&)> walk = [&](const Variant& node) {
        bool openedRow = false;
        const Variant attributes = node.OlePropertyGet(L"attributes");
        if (attributes.IsDispatch()) {
            const int count = Length(attributes);
            // Attributes open a row of their own: values an earlier record
            // left on this row stay where they are.
            if (LevelToRow && count > 0 && rowUsed) {
                ++s;
                rowUsed = false;
            }
            for (int k = 0; k < count; ++k) {
                const Variant attribute = Item(attributes, k);
                writeHeader(attribute.OlePropertyGet(L"nodeName").ToString());
                writeValue(DecodeXMLText(attribute.OlePropertyGet(L"text").ToString()));
            }
            if (LevelToRow && count > 0) {
                ++s;
                rowUsed = false;
                q = level;
                openedRow = true;
            }
        }
        const Variant children = node.OlePropertyGet(L"childNodes");
        const int count = Length(children);
        if (count > 1) {
            if (LevelToRow && !openedRow) {
                ++s;
                rowUsed = false;
                q = 0;
            }
            ++level;
            for (int i = 0; i < count; ++i)
                walk(Item(children, i));
        } else if (count == 0) {
            // An empty element empties its cell, when that is in the grid.
            const int col = startCol + q;
            const int row = startRow + std::max(s, 0);
            if (col < TotalColCount() && row < GetRowCount())
                LoadCellText(col, row, String());
            ++q;
        } else {
            if (LoadFieldDescr)
                writeHeader(node.OlePropertyGet(L"nodeName").ToString());
            String value = DecodeXMLText(node.OlePropertyGet(L"text").ToString());
            if (FQuoteEmptyCells && value == L"\"\"")
                value.clear();
            writeValue(value);
        }
    };

    const Variant records = document.OlePropertyGet(L"documentElement").OlePropertyGet(L"childNodes");
    const int count = Length(records);
    for (int i = 0; i < count; ++i) {
        const Variant record = Item(records, i);
        q = 0;
        level = 1;
        if (LevelToRow && i == 0) {
            const Variant attributes = record.OlePropertyGet(L"attributes");
            if (!attributes.IsDispatch() || Length(attributes) == 0)
                s = -1;
        }
        walk(record);
        if (!LevelToRow) {
            ++s;
            rowUsed = false;
        }
    }
    SetColCount(highestCol + 1);
    SetRowCount(highestRow + 1);
    RecalcAllFooters();
}

// --- JSON ----------------------------------------------------------------------------------

void TAdvStringGrid::SaveToJSON(const String& FileName, const String& RecordDescr, TStrings* FieldDescr)
{
    const int startCol = SaveStartCol();
    const int endCol = SaveEndCol();
    const bool named = FieldDescr && FieldDescr->Count() >= endCol - startCol + 1;
    TOwned<TStringList> lines(New<TStringList>());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        String items;
        for (int c = startCol; c <= endCol; ++c) {
            if (c > startCol)
                items += L",";
            const String t = L"\"" + JSONEscape(SaveCell(c, r)) + L"\"";
            items += named ? L"{\"" + JSONEscape(FieldDescr->Get(c - startCol)) + L"\":" + t + L"}" : t;
        }
        const String row = RecordDescr.empty() ? L"[" + items + L"]"
                                               : L"{\"" + JSONEscape(RecordDescr) + L"\":[" + items + L"]}";
        lines->Add(lines->Count() == 0 ? L"{\"grid\":[" + row : L"," + row);
    }
    // An empty range still makes a whole document.
    if (lines->Count() == 0)
        lines->Add(L"{\"grid\":[");
    lines->Add(L"]}");
    lines->SaveToFile(FileName, TEncoding::Default());
}
