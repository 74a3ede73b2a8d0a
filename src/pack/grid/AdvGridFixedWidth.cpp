// Fixed-width text, written and read by column positions, and the padded
// ASCII table. Neither touches ColCount: hidden columns saved with
// SaveHiddenCells are reached by their real indexes past the display count.
#include "AdvGrid.h"
#include "AdvGridTextIO.h"
#include "AdvUtil.h"
#include <algorithm>

using namespace advgrid_text;

namespace {

// The text before the first line break: one line of the file per row.
String FirstLine(const String& S)
{
    return S.substr(0, S.find_first_of(L"\r\n"));
}

std::vector<String> TextLines(const String& S)
{
    std::vector<String> lines;
    for (const TLineSpan& span : SplitLines(S))
        lines.push_back(LineAt(S, span));
    if (lines.empty())
        lines.emplace_back();
    return lines;
}

String Blanks(std::size_t Count)
{
    return String(Count, L' ');
}

// Right-aligned text gets blanks in front up to Width; centred text one
// blank on each side until it reaches Width (it may end one longer).
String AlignText(String Text, std::size_t Width, TAlignment Alignment)
{
    if (Alignment == taRightJustify && Text.size() < Width)
        Text.insert(0, Width - Text.size(), L' ');
    else if (Alignment == taCenter)
        while (Text.size() < Width)
            Text = L' ' + Text + L' ';
    return Text;
}

} // namespace

// --- fixed width --------------------------------------------------------------------------

void TAdvStringGrid::SaveToFixed(const String& FileName, TIntList* positions)
{
    TOwned<TFileStream> file = CreateTextFile(FileName);
    const int hidden = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int startCol = SaveStartCol();
    const int endCol = SaveEndCol() + hidden;
    auto real = [&](int c) { return FSaveHiddenCells ? c : RealColIndex(c); };
    for (int c = startCol; c <= endCol; ++c)
        if (c - startCol >= positions->Count())
            positions->Add(GetMaxCellLineLength(real(c)) + 1);

    String text;
    ExportNotification(0, SaveStartRow());
    for (int r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        ExportNotification(5, r);
        for (int c = startCol; c <= endCol; ++c) {
            const auto width = static_cast<std::size_t>(std::max(0, positions->GetItem(c - startCol)));
            String cell = FirstLine(SaveCell(real(c), r));
            cell.resize(width, L' ');
            text += cell;
        }
        text += L"\r\n";
    }
    ExportNotification(2, -1);
    WriteStreamText(file.get(), text, TEncoding::Default(), false);
}

void TAdvStringGrid::LoadFromFixed(const String& FileName, TIntList* positions, bool DoTrim, int MaxRows)
{
    if (!FileExists(FileName))
        throw EAdvGridError(L"File " + FileName + L" not found");
    if (positions->Count() < 2)
        throw EAdvGridError(L"A fixed-width file needs at least two positions");
    String text;
    try {
        text = ReadFileText(FileName, nullptr);
    } catch (const EStreamError&) {
        throw EAdvGridError(L"File " + FileName + L" not found");
    }
    const std::vector<TLineSpan> lines = SplitLines(text);

    std::vector<int> bounds;
    for (int i = 0; i < positions->Count(); ++i)
        bounds.push_back(positions->GetItem(i));
    std::sort(bounds.begin(), bounds.end());
    for (std::size_t i = 0; i < bounds.size(); ++i)
        positions->SetItem(static_cast<int>(i), bounds[i]);

    // Any limit below 1 reads one line.
    std::size_t toRead = lines.size();
    if (MaxRows != -1)
        toRead = std::min<std::size_t>(toRead, static_cast<std::size_t>(std::max(1, MaxRows)));
    const int startCol = SaveStartCol();
    int row = SaveStartRow();
    SetColCount(GetFixedCols() + static_cast<int>(bounds.size()) - 1);
    if (toRead > 0 && row + static_cast<Int64>(toRead) > GetRowCount())
        SetRowCount(row + static_cast<int>(toRead));
    for (std::size_t i = 0; i < toRead; ++i, ++row) {
        const TLineSpan& line = lines[i];
        for (std::size_t k = 1; k < bounds.size(); ++k) {
            // 1-based positions, cut to the line.
            const auto from = static_cast<std::size_t>(std::clamp<Int64>(Int64(bounds[k - 1]) - 1, 0, line.length));
            const auto to = static_cast<std::size_t>(std::clamp<Int64>(Int64(bounds[k]) - 1, 0, line.length));
            String field = text.substr(line.start + from, to - from);
            if (DoTrim)
                field = Trim(field);
            LoadCellText(startCol + static_cast<int>(k) - 1, row, field);
        }
    }
    DoCellsChanged(TRect(0, 0, GetColCount(), GetRowCount()));
    RecalcAllFooters();
}

// --- ASCII tables -------------------------------------------------------------------------

void TAdvStringGrid::SaveToASCII(const String& FileName, bool Unicode)
{
    WriteASCII(FileName, Unicode, false);
}

void TAdvStringGrid::AppendToASCII(const String& FileName, bool Unicode)
{
    WriteASCII(FileName, Unicode, true);
}

TAlignment TAdvStringGrid::SavedCellAlignment(int ACol, int ARow)
{
    TAlignment align = FDefaultAlignment;
    TVAlignment valign = FVAlignment;
    if (FAutoNumAlign) {
        const Byte kind = DetectValueKind(Trim(GetCellText(ACol, ARow)));
        if (kind == vkInteger || kind == vkFloat || kind == vkFloatExponent)
            align = taRightJustify;
    } else if (HasCellProperties(ACol, ARow)) {
        align = GetCellProperties(ACol, ARow)->GetAlignment();
    }
    DoGetAlignment(ACol, ARow, align, valign);
    return align;
}

void TAdvStringGrid::WriteASCII(const String& FileName, bool Unicode, bool Append)
{
    THourGlass hourGlass;
    String text;
    if (Append && FileExists(FileName)) {
        TOwned<TStringList> existing(New<TStringList>());
        existing->LoadFromFile(FileName);
        text = existing->GetText();
    }
    const int hidden = FSaveHiddenCells ? NumHiddenColumns() : 0;
    const int startCol = FSaveFixedCells || FSaveFixedCols ? 0 : GetFixedCols();
    const int startRow = FSaveFixedCells || FSaveFixedRows ? 0 : GetFixedRows();
    const int endCol = GetColCount() - 1 + hidden;
    auto real = [&](int c) { return FSaveHiddenCells ? c : RealColIndex(c); };

    // Widths in characters and where each column starts on a line.
    std::vector<std::size_t> widths;
    std::vector<std::size_t> offsets;
    std::size_t offset = 0;
    for (int c = startCol; c <= endCol; ++c) {
        widths.push_back(static_cast<std::size_t>(GetMaxCellLineLength(real(c))));
        offsets.push_back(offset);
        offset += widths.back() + 1;
    }

    ExportNotification(0, startRow);
    for (int r = startRow; r < GetRowCount(); ++r) {
        ExportNotification(5, r);
        String line;
        std::vector<String> continuation;
        for (int c = startCol; c <= endCol; ++c) {
            const std::size_t k = static_cast<std::size_t>(c - startCol);
            const std::size_t width = widths[k];
            const String t = SaveCell(real(c), r);
            const TAlignment alignment = SavedCellAlignment(real(c), r);
            String main;
            if (FMultilineCells && t.find_first_of(L"\r\n") != String::npos) {
                const std::vector<String> parts = TextLines(t);
                main = parts.front();
                for (std::size_t i = 1; i < parts.size(); ++i) {
                    if (continuation.size() < i)
                        continuation.emplace_back();
                    String& more = continuation[i - 1];
                    if (more.size() < offsets[k])
                        more.resize(offsets[k], L' ');
                    more += AlignText(parts[i], width, alignment);
                }
            } else {
                main = FirstLine(t);
            }
            main = AlignText(main, width, alignment);
            line += main;
            if (main.size() <= width)
                line += Blanks(width - main.size() + 1);
        }
        text += line + L"\r\n";
        for (const String& more : continuation)
            text += more + L"\r\n";
    }
    ExportNotification(2, -1);
    WriteFileText(FileName, text, Unicode ? FEncoding : TEncoding::Default(), true);
}
