// CSV: the writer, the reader with its delimiter guess, and the forms that
// feed the reader from files, encodings and streams.
//
// The reader works on the whole decoded text in one pass. A quote count per
// physical line decides which lines belong together (a quoted field may hold
// line breaks); joined lines are built once, so a stray quote near the top
// of a large file costs one pass, leaving the rest of the file in one field.
// Each line is then cut into fields by a cursor that only moves forward.
// Everything that can refuse the file (its size, its encoding, having no
// line) does so before the grid changes.
#include "AdvGrid.h"
#include "AdvGridTextIO.h"
#include <algorithm>
#include <cmath>

using namespace advgrid_text;

namespace {

constexpr wchar_t Quote = L'"';

// The delimiters a guess tries, in order.
constexpr wchar_t DelimiterCandidates[] = {L',', L';', L'#', L'\t', L'|', L'@', L'*', L'-', L'+', L'&'};

std::size_t CountChar(wchar_t Ch, const String& S)
{
    return static_cast<std::size_t>(std::count(S.begin(), S.end(), Ch));
}

// Occurrences that are not part of a doubled pair: one for every run of odd length.
std::size_t CountSingleChars(wchar_t Ch, const String& S)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < S.size();) {
        if (S[i] != Ch) {
            ++i;
            continue;
        }
        std::size_t run = 0;
        while (i < S.size() && S[i] == Ch) {
            ++run;
            ++i;
        }
        count += run % 2;
    }
    return count;
}

// The first candidate with the highest count, among those Qualifies accepts.
template <class Count, class Qualifies>
wchar_t BestCandidate(const String& First, const String& Second, Count count, Qualifies qualifies)
{
    wchar_t best = 0;
    std::size_t bestCount = 0;
    for (wchar_t ch : DelimiterCandidates) {
        const std::size_t a = count(ch, First);
        const std::size_t b = count(ch, Second);
        std::size_t value = 0;
        if (qualifies(a, b, value) && value > bestCount) {
            best = ch;
            bestCount = value;
        }
    }
    return best;
}

wchar_t GuessDelimiter(const String& First, const String& Second)
{
    auto equalInBoth = [](std::size_t a, std::size_t b, std::size_t& value) {
        value = a;
        return a == b && a > 0;
    };
    wchar_t found = BestCandidate(First, Second, CountSingleChars, equalInBoth);
    if (!found)
        found = BestCandidate(First, Second, CountChar, equalInBoth);
    if (!found)
        found = BestCandidate(First, Second, CountChar, [](std::size_t a, std::size_t b, std::size_t& value) {
            value = std::max(a, b);
            return true;
        });
    return found;
}

String Undouble(const String& S)
{
    String out;
    out.reserve(S.size());
    for (std::size_t i = 0; i < S.size(); ++i) {
        out += S[i];
        if (S[i] == Quote && i + 1 < S.size() && S[i + 1] == Quote)
            ++i;
    }
    return out;
}

String ReplaceAll(const String& S, wchar_t From, const wchar_t* To)
{
    if (S.find(From) == String::npos)
        return S;
    String out;
    for (wchar_t ch : S)
        if (ch == From)
            out += To;
        else
            out += ch;
    return out;
}

// A field's text as the cell holds it.
String ConvertField(const String& Field, bool JavaCSV)
{
    if (JavaCSV)
        return Field == L"^" ? String() : ReplaceAll(Field, L'~', L"\r\n");
    return ReplaceAll(Field, wchar_t(11), L"\r\n");
}

// The fields of one line, as the reader cuts them.
std::vector<String> SplitFields(const String& Line, wchar_t Delimiter)
{
    std::vector<String> fields;
    const std::size_t end = Line.size();
    std::size_t pos = 0;
    const std::size_t lastDelimiter = Delimiter ? Line.rfind(Delimiter) : String::npos;
    // The part of the line not yet cut holds the delimiter.
    while (lastDelimiter != String::npos && pos <= lastDelimiter && pos < end) {
        while (end - pos > 1 && Line[pos] == L' ')
            ++pos;
        if (Line[pos] == Quote) {
            // To the first quote that is no doubled pair; an unclosed field
            // keeps the rest of the line.
            String content;
            std::size_t j = pos + 1;
            bool closed = false;
            while (j < end) {
                if (Line[j] == Quote) {
                    if (j + 1 < end && Line[j + 1] == Quote) {
                        content += Quote;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                content += Line[j++];
            }
            fields.push_back(std::move(content));
            pos = closed ? j + 1 : end;
            const std::size_t next = pos < end ? Line.find(Delimiter, pos) : String::npos;
            if (next != String::npos)
                pos = next + 1;
        } else {
            const std::size_t next = Line.find(Delimiter, pos);
            fields.push_back(Line.substr(pos, next - pos));
            pos = next + 1;
        }
    }
    if (pos < end) {
        while (end - pos > 1 && Line[pos] == L' ')
            ++pos;
        String rest = Line.substr(pos);
        if (rest[0] == Quote) {
            rest.erase(0, 1);
            if (!rest.empty() && rest.back() == Quote)
                rest.pop_back();
            rest = Undouble(rest);
        }
        fields.push_back(std::move(rest));
    }
    return fields;
}

// Physical lines [first, first + count) that make one line of the file.
struct TJoinedLine {
    std::size_t first = 0;
    std::size_t count = 1;
};

String MakeLine(const String& Text, const std::vector<TLineSpan>& Spans, const TJoinedLine& Line)
{
    if (Line.count == 1)
        return LineAt(Text, Spans[Line.first]);
    std::size_t size = 0;
    for (std::size_t i = 0; i < Line.count; ++i)
        size += Spans[Line.first + i].length + 2;
    String out;
    out.reserve(size);
    for (std::size_t i = 0; i < Line.count; ++i) {
        if (i > 0)
            out += L"\r\n";
        const TLineSpan& span = Spans[Line.first + i];
        out.append(Text, span.start, span.length);
    }
    return out;
}

} // namespace

// --- writing ------------------------------------------------------------------------------

void TAdvStringGrid::SaveToCSV(const String& FileName, bool Unicode)
{
    WriteCSV(FileName, Unicode, false);
}

void TAdvStringGrid::AppendToCSV(const String& FileName, bool Unicode)
{
    WriteCSV(FileName, Unicode, true);
}

void TAdvStringGrid::WriteCSV(const String& FileName, bool Unicode, bool Append)
{
    const wchar_t delimiter = FDelimiter ? FDelimiter : L',';
    const int hidden = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int startCol = SaveStartCol();
    const int endCol = SaveEndCol() + hidden;
    const int startRow = SaveStartRow();
    const int endRow = SaveEndRow();

    String text;
    if (Append) {
        TOwned<TStringList> existing(New<TStringList>());
        existing->LoadFromFile(FileName);
        text = existing->GetText();
    }
    ExportNotification(0, startRow);
    int lastProgress = -1;
    for (int r = startRow; r <= endRow; ++r) {
        ExportNotification(5, r);
        for (int c = startCol; c <= endCol; ++c) {
            if (c > startCol)
                text += delimiter;
            String t = SaveCell(FSaveHiddenCells ? c : RealColIndex(c), r);
            t = ReplaceAll(t, Quote, L"\"\"");
            if (FOemConvert)
                t = StringToOEM(t);
            bool quoted = false;
            // A reader drops the blanks that open a field; quotes keep them.
            const bool leadingBlank = !t.empty() && t[0] == L' ';
            if (FAlwaysQuotes || ((t.find(delimiter) == String::npos) && (t.find(Quote) != String::npos || leadingBlank))) {
                t = Quote + t + Quote;
                quoted = true;
            }
            if (t.empty()) {
                if (FJavaCSV)
                    t = L"^";
                else if (FQuoteEmptyCells)
                    t = L"\"\"";
            }
            const bool multiLine = t.find_first_of(L"\r\n") != String::npos;
            if (t.find(delimiter) != String::npos || multiLine) {
                if (FJavaCSV) {
                    t = ReplaceAll(ReplaceAll(t, L'\n', L""), L'\r', L"~");
                    // Unquoted, the delimiter would cut the field in two.
                    if (!quoted && t.find(delimiter) != String::npos)
                        t = Quote + t + Quote;
                } else if (FMultilineCells) {
                    if (!quoted)
                        t = Quote + t + Quote;
                } else if (quoted) {
                    t = StringReplace(t, L"\r\n", L"\n", TReplaceFlags() << rfReplaceAll);
                } else {
                    t = StringReplace(t, L"\r\n", String(1, wchar_t(11)), TReplaceFlags() << rfReplaceAll);
                    t = Quote + t + Quote;
                }
            }
            text += t;
        }
        text += L"\r\n";
        FireFileProgress(static_cast<int>(std::nearbyint(100.0 * r / std::max(1, GetRowCount() - 1))), lastProgress);
    }
    ExportNotification(2, -1);
    WriteFileText(FileName, text, Unicode ? FEncoding : TEncoding::Default(), true);
}

// --- reading ------------------------------------------------------------------------------

void TAdvStringGrid::LoadFromCSV(const String& FileName, int MaxRows)
{
    bool empty = false;
    const String text = ReadFileText(FileName, nullptr, &empty);
    if (!empty)
        ReadCSVText(text, MaxRows, false);
}

void TAdvStringGrid::LoadFromCSV(const String& FileName, TEncoding* AEncoding, int MaxRows)
{
    bool empty = false;
    const String text = ReadFileText(FileName, AEncoding, &empty);
    if (!empty)
        ReadCSVText(text, MaxRows, false);
}

void TAdvStringGrid::LoadFromCSVStream(TStream* AStream, int MaxRows)
{
    ReadCSVText(ReadStreamText(AStream, nullptr), MaxRows, false);
}

void TAdvStringGrid::InsertFromCSV(const String& FileName, int MaxRows)
{
    bool empty = false;
    const String text = ReadFileText(FileName, nullptr, &empty);
    if (!empty)
        ReadCSVText(text, MaxRows, true);
}

void TAdvStringGrid::ReadCSVText(const String& Text, int MaxRows, bool Insert)
{
    const std::vector<TLineSpan> spans = SplitLines(Text);
    if (spans.empty())
        throw EAdvGridError(L"File is empty");

    // Lines whose quotes do not pair up take the following lines in.
    std::vector<TJoinedLine> lines;
    lines.reserve(spans.size());
    for (std::size_t i = 0; i < spans.size();) {
        TJoinedLine line{i, 1};
        std::size_t quotes = std::count(Text.begin() + static_cast<std::ptrdiff_t>(spans[i].start),
                                        Text.begin() + static_cast<std::ptrdiff_t>(spans[i].start + spans[i].length),
                                        Quote);
        while (quotes % 2 == 1 && line.first + line.count < spans.size()) {
            const TLineSpan& next = spans[line.first + line.count];
            quotes += std::count(Text.begin() + static_cast<std::ptrdiff_t>(next.start),
                                 Text.begin() + static_cast<std::ptrdiff_t>(next.start + next.length), Quote);
            ++line.count;
        }
        lines.push_back(line);
        i = line.first + line.count;
    }

    int target = SaveStartRow();
    bool footerSaved = false;
    std::vector<String> footer;
    if (Insert) {
        target = GetRowCount();
        if (FFloatingFooter->GetVisible()) {
            const int last = GetRowCount() - 1;
            for (int c = 0; c < TotalColCount(); ++c)
                footer.push_back(GetRawCell(c, last));
            ClearRows(last, 1);
            footerSaved = true;
            target = last;
        }
    }

    wchar_t delimiter = FDelimiter;
    if (!delimiter)
        delimiter = GuessDelimiter(MakeLine(Text, spans, lines[0]),
                                   lines.size() > 1 ? MakeLine(Text, spans, lines[1]) : String());

    std::size_t index = FLoadFirstRow ? 0 : 1;
    const std::size_t toRead = lines.size() - std::min(index, lines.size());
    if (OnFileProgress && toRead > 0)
        SetRowCount(Insert ? static_cast<int>(toRead) + GetRowCount()
                           : target + static_cast<int>(toRead) + FFixedFooters);

    const int hidden = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int startCol = SaveStartCol();
    int lastProgress = -1;
    int read = 0;
    for (; index < lines.size() && (MaxRows <= 0 || read < MaxRows); ++index, ++read) {
        String line = MakeLine(Text, spans, lines[index]);
        if (FOemConvert)
            line = OEMToString(line);
        if (target >= GetRowCount() - FFixedFooters)
            SetRowCount(target + 1000);
        const std::vector<String> fields = SplitFields(line, delimiter);
        const int needed = startCol + static_cast<int>(fields.size()) - hidden;
        if (needed > GetColCount())
            SetColCount(needed);
        for (std::size_t k = 0; k < fields.size(); ++k)
            LoadCellText(startCol + static_cast<int>(k), target, ConvertField(fields[k], FJavaCSV));
        ++target;
        if (OnFileProgress && toRead > 0)
            FireFileProgress(static_cast<int>(std::nearbyint(100.0 * (read + 1) / static_cast<double>(toRead))),
                             lastProgress);
    }

    SetRowCount(target + FFixedFooters);
    FMaxRowCount = GetRowCount();
    if (footerSaved)
        for (std::size_t c = 0; c < footer.size(); ++c)
            SetRawCell(static_cast<int>(c), GetRowCount() - 1, footer[c]);
    DoCellsChanged(TRect(0, 0, GetColCount(), GetRowCount()));
    RecalcAllFooters();
}
