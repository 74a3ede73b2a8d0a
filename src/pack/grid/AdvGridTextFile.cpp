// The grid's own text file and its UTF-16 cell stream: a line "columns,rows",
// a "cw column,width" line per column and a "column,row,text" line per
// non-empty cell, texts in their one-line form. Both readers take every line
// first and change the grid only when all of them read, so a bad file or
// stream leaves the grid as it was.
#include "AdvGrid.h"
#include "AdvGridTextIO.h"
#include "Forms.h"
#include <climits>
#include <cmath>

using namespace advgrid_text;

namespace {

// Declared counts beyond these are no file of ours: the grid would spend
// memory on every column and row before reading a cell.
constexpr Int64 MaxFileCols = 1 << 20;
constexpr Int64 MaxFileRows = 1 << 24;

struct TWidthLine {
    int col = 0;
    int width = 0;
};
struct TCellLine {
    int col = 0;
    int row = 0;
    String text;
};

bool IsWidthLine(const String& Line)
{
    return Line.size() >= 2 && Line[0] == L'c' && Line[1] == L'w';
}

// "C,R" into counts added to the offsets; false when they do not read.
bool ReadCounts(const String& Line, Int64 ColOffset, Int64 RowOffset, int& Cols, int& Rows)
{
    const std::size_t comma = Line.find(L',');
    if (comma == String::npos)
        return false;
    Int64 cols = 0;
    Int64 rows = 0;
    if (!ReadInteger(Trim(Line.substr(0, comma)), cols) || !ReadInteger(Trim(Line.substr(comma + 1)), rows))
        return false;
    if (cols < 0 || rows < 0 || ColOffset + cols > MaxFileCols || RowOffset + rows > MaxFileRows)
        return false;
    Cols = static_cast<int>(ColOffset + cols);
    Rows = static_cast<int>(RowOffset + rows);
    return true;
}

// The platform's conversion of the cell stream: a text that is no number
// raises EConvertError.
int StreamNumber(const String& S)
{
    Int64 value = 0;
    if (!ReadInteger(S, value) || value < INT_MIN || value > INT_MAX)
        throw EConvertError(L"'" + S + L"' is not a valid integer value");
    return static_cast<int>(value);
}

int StreamCount(const String& S, Int64 Offset, Int64 Max)
{
    const Int64 value = StreamNumber(S);
    if (value < 0 || Offset + value > Max)
        throw EConvertError(L"'" + S + L"' is not a count of cells a grid can hold");
    return static_cast<int>(Offset + value);
}

[[noreturn]] void OutsideGrid()
{
    throw EInvalidGridOperation(L"Grid index out of range");
}

} // namespace

// --- the text file ------------------------------------------------------------------------

void TAdvStringGrid::SaveToFile(const String& FileName, bool Unicode)
{
    const int hidden = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int startCol = SaveStartCol();
    const int endCol = SaveEndCol() + hidden;
    const int startRow = SaveStartRow();
    const int endRow = SaveEndRow();

    TOwned<TStringList> lines(New<TStringList>());
    lines->Add(IntToStr(hidden + SaveColCount()) + L"," + IntToStr(SaveRowCount()));
    for (int c = startCol; c <= endCol; ++c)
        lines->Add(L"cw " + IntToStr(c) + L"," + IntToStr(GetColWidths(c)));

    ExportNotification(0, startRow);
    int lastProgress = -1;
    for (int r = startRow; r <= endRow; ++r) {
        ExportNotification(5, r);
        for (int c = startCol; c <= endCol; ++c) {
            const String text = SaveCell(c, r);
            if (!text.empty())
                lines->Add(IntToStr(c) + L"," + IntToStr(r) + L"," + EncodeLineBreakChars(text));
        }
        FireFileProgress(static_cast<int>(std::nearbyint(100.0 * (r - startRow) / std::max(1, SaveRowCount() - 1))),
                         lastProgress);
    }
    ExportNotification(2, -1);
    WriteFileText(FileName, lines->GetText(), Unicode ? TEncoding::Unicode() : TEncoding::Default(), true);
}

void TAdvStringGrid::LoadFromFile(const String& FileName)
{
    const String text = ReadFileText(FileName, nullptr);
    const std::vector<TLineSpan> spans = SplitLines(text);
    const int colOffset = FSaveFixedCells || FSaveFixedCols ? 0 : GetFixedCols();
    const int rowOffset = FSaveFixedCells || FSaveFixedRows ? 0 : GetFixedRows();

    int cols = GetColCount();
    int rows = GetRowCount();
    const String first = spans.empty() ? String() : LineAt(text, spans.front());
    if (!first.empty() && !ReadCounts(first, colOffset, rowOffset, cols, rows))
        cols = 0;
    if (cols == 0 || rows == 0)
        throw EAdvGridError(L"File contains no data or corrupt file " + FileName);

    // Lines that do not read or point outside the grid are passed over.
    std::vector<TWidthLine> widths;
    std::vector<TCellLine> cells;
    for (std::size_t i = 1; i < spans.size(); ++i) {
        String line = LineAt(text, spans[i]);
        Int64 col = 0;
        Int64 value = 0;
        if (IsWidthLine(line)) {
            const std::size_t comma = line.find(L',');
            if (comma != String::npos && comma >= 3 && ReadInteger(Trim(line.substr(3, comma - 3)), col) &&
                ReadInteger(Trim(line.substr(comma + 1)), value) && col >= 0 && col < cols && value >= 0 &&
                value <= INT_MAX)
                widths.push_back({static_cast<int>(col), static_cast<int>(value)});
            continue;
        }
        const String colText = ExtractToken(line, L',');
        const String rowText = ExtractToken(line, L',');
        if (ReadInteger(colText, col) && ReadInteger(rowText, value) && col >= 0 && col < cols && value >= 0 &&
            value < rows)
            cells.push_back({static_cast<int>(col), static_cast<int>(value), std::move(line)});
    }

    SetColCount(cols);
    SetRowCount(rows);
    for (const TWidthLine& w : widths) {
        SetColWidths(w.col, w.width);
        Application->ProcessMessages();
    }
    int lastProgress = -1;
    for (const TCellLine& cell : cells) {
        LoadCellText(cell.col, cell.row, DecodeLineBreakChars(cell.text, FMultilineCells));
        FireFileProgress(static_cast<int>(std::nearbyint(100.0 * cell.row / std::max(1, GetRowCount() - 1))),
                         lastProgress);
        Application->ProcessMessages();
    }
    DoCellsChanged(TRect(0, 0, GetColCount(), GetRowCount()));
    RecalcAllFooters();
}

// --- the cell stream ----------------------------------------------------------------------

void TAdvStringGrid::SaveToStream(TStream* Stream)
{
    const int startCol = SaveStartCol();
    const int startRow = SaveStartRow();
    String text = IntToStr(SaveColCount()) + L"," + IntToStr(SaveRowCount()) + L"\r\n";
    for (int c = 0; c < GetColCount(); ++c)
        text += L"cw " + IntToStr(c) + L"," + IntToStr(GetColWidths(c)) + L"\r\n";
    for (int r = startRow; r <= SaveEndRow(); ++r)
        for (int c = startCol; c <= SaveEndCol(); ++c) {
            const String cell = SaveCell(c, r);
            if (!cell.empty())
                text += IntToStr(c - startCol) + L"," + IntToStr(r - startRow) + L"," + EncodeLineBreakChars(cell) +
                        L"\r\n";
        }
    const TBytes bytes = TEncoding::Unicode()->GetBytes(text);
    if (!bytes.empty())
        Stream->WriteBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
}

void TAdvStringGrid::LoadFromStream(TStream* Stream)
{
    // The stream's text from here: two bytes per character, no mark.
    const Int64 origin = Stream->GetPosition();
    const Int64 size = Stream->GetSize() - origin;
    if (size > INT_MAX)
        throw EEncodingError(L"A text of " + IntToStr(size) + L" bytes is more than can be read at once");
    TBytes bytes(static_cast<std::size_t>(std::max<Int64>(size, 0)));
    if (!bytes.empty())
        Stream->ReadBuffer(bytes.data(), static_cast<Int64>(bytes.size()));
    const String text = TEncoding::Unicode()->GetString(bytes);
    std::size_t at = 0;
    // A line runs up to CR; the character after the CR goes with it.
    auto readLine = [&] {
        const std::size_t cr = text.find(L'\r', at);
        const std::size_t end = cr == String::npos ? text.size() : cr;
        String line = text.substr(at, end - at);
        at = cr == String::npos ? text.size() : std::min(text.size(), cr + 2);
        return line;
    };

    const int startCol = SaveStartCol();
    const int startRow = SaveStartRow();
    int cols = GetColCount();
    int rows = GetRowCount();
    if (at < text.size()) {
        String first = readLine();
        if (!first.empty()) {
            const String colText = ExtractToken(first, L',');
            cols = StreamCount(colText, startCol, MaxFileCols);
            rows = StreamCount(first, startRow, MaxFileRows);
        }
    }

    std::vector<TWidthLine> widths;
    std::vector<TCellLine> cells;
    while (at < text.size()) {
        const std::size_t lineStart = at;
        String line = readLine();
        if (IsWidthLine(line)) {
            line.erase(0, 3);
            const int col = StreamNumber(ExtractToken(line, L','));
            const int width = StreamNumber(line);
            if (col < 0 || col >= cols)
                OutsideGrid();
            widths.push_back({col, width});
            continue;
        }
        const String colText = ExtractToken(line, L',');
        const String rowText = ExtractToken(line, L',');
        if (colText.empty() || rowText.empty()) {
            // Not a line of ours: the rest belongs to the caller.
            Stream->SetPosition(origin + static_cast<Int64>(lineStart * sizeof(wchar_t)));
            break;
        }
        const Int64 col = Int64(StreamNumber(colText)) + startCol;
        const Int64 row = Int64(StreamNumber(rowText)) + startRow;
        if (col < 0 || col >= cols || row < 0 || row >= rows)
            OutsideGrid();
        cells.push_back({static_cast<int>(col), static_cast<int>(row), std::move(line)});
    }

    SetColCount(cols);
    SetRowCount(rows);
    for (const TWidthLine& w : widths)
        SetColWidths(w.col, w.width);
    for (const TCellLine& cell : cells)
        LoadCellText(cell.col, cell.row, DecodeLineBreakChars(cell.text, FMultilineCells));
    DoCellsChanged(TRect(0, 0, GetColCount(), GetRowCount()));
    RecalcAllFooters();
}
