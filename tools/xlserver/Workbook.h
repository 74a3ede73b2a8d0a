// A workbook as the stand-in server keeps it: sheets of text cells, read from
// and written to Office Open XML (.xlsx) files.
#pragma once
#include <compare>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xlsx {

constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384;
constexpr std::size_t MaxCellText = 32767;
constexpr std::size_t MaxSheetName = 31;

struct CellRef {
    int row = 0; // from 1
    int col = 0; // from 1
    // Row first, so that a map of cells walks the sheet row by row.
    auto operator<=>(const CellRef&) const = default;
};

struct CellRange {
    CellRef first;
    CellRef last;
    int Rows() const { return last.row - first.row + 1; }
    int Columns() const { return last.col - first.col + 1; }
};

std::wstring ColumnName(int col); // 1 "A", 26 "Z", 27 "AA", 702 "ZZ", 703 "AAA"
std::wstring CellName(CellRef cell); // "AB4"
// "AB4", "ab4" or "$AB$4"; nothing when the text is no cell of a sheet.
std::optional<CellRef> ParseCellName(std::wstring_view text);
// "A1:AB4" or a single cell; corners in any order.
std::optional<CellRange> ParseRange(std::wstring_view text);

enum class CellKind { Text, Number, Boolean, Error };

struct Sheet {
    std::wstring name;
    // The texts as given, an empty text is no cell. A text given behind the
    // quote prefix ("'=1+2", text the application must not read as a
    // formula) keeps it; the file spells it as the application does.
    std::map<CellRef, std::wstring> cells;
    CellRef activeCell{1, 1};
    // What a cell's text stands for when it is not plain text: a number
    // ("1.5"), a truth value ("1" or "0") or an error value ("#N/A").
    std::map<CellRef, CellKind> kinds;

    CellKind KindOf(CellRef cell) const
    {
        const auto kind = kinds.find(cell);
        return kind == kinds.end() ? CellKind::Text : kind->second;
    }
    // The smallest range holding every cell; A1 for an empty sheet.
    CellRange UsedRange() const;
};

struct Workbook {
    std::vector<Sheet> sheets;
    std::size_t activeSheet = 0;
};

// Why `name` cannot name sheet `index` of the workbook; empty when it can.
std::wstring SheetNameProblem(const Workbook& book, std::size_t index, std::wstring_view name);
// The sheet of that name (names compare without case), or null.
const Sheet* FindSheet(const Workbook& book, std::wstring_view name);

std::string WorkbookToXlsx(const Workbook& book);
// Raises Error when the bytes are not a workbook it can read.
Workbook WorkbookFromXlsx(std::string bytes);

// Writes through a temporary file, so a failed save leaves an existing file as it was.
void SaveWorkbook(const Workbook& book, const std::wstring& path);
void SaveFileBytes(const std::string& bytes, const std::wstring& path);
Workbook LoadWorkbook(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);

} // namespace xlsx
