// What the data grid's CSV costs on the inventory window's table size:
// 200,000 rows of 28 columns, every field quoted, some holding the
// delimiter, a doubled quote or a line break. LoadFromCSV of the file the
// grid wrote runs against a plain one-pass reader of the same file into
// vectors of strings; SaveToCSV against writing the same texts plainly with
// the same quoting. The grid reads through its cell store and its save and
// load hooks, so it cannot match the bare loops; the ratios say by how much
// it stays behind, and that both stay linear in the file.
//
// Run: scripts/build x86_64 bench_CsvBench, then under the project's Wine
// prefix: wine build/x86_64/bench/bench_CsvBench.exe
#include <cstdio>
#include <string>
#include <vector>
#include "AdvGrid.h"
#include "BenchClock.h"
#include "Forms.h"

namespace {

using bench::Best;
using bench::Seconds;

constexpr int Rows = 200000;
constexpr int Cols = 28;

String CellText(unsigned value, int col)
{
    switch (value % 16) {
    case 0:
        return L"a,b" + std::to_wstring(col);
    case 1:
        return L"say \"hi\"";
    case 2:
        return L"two\r\nlines";
    default:
        return L"v" + std::to_wstring(value % 100000);
    }
}

void Fill(TAdvStringGrid* grid)
{
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->SetColCount(Cols);
    grid->SetRowCount(Rows);
    unsigned seed = 12345;
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) {
            seed = seed * 1103515245u + 12345u;
            grid->SetCells(c, r, CellText(seed >> 8, c));
        }
}

// The plain writer: every field quoted, quotes doubled, rows joined by CR LF.
double PlainWrite(TAdvStringGrid* grid, const String& FileName)
{
    std::vector<std::vector<String>> texts(Rows);
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c)
            texts[static_cast<std::size_t>(r)].push_back(grid->GetCells(c, r));
    return Best(2, [&] {
        const double start = Seconds();
        String out;
        for (const auto& row : texts) {
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (c > 0)
                    out += L',';
                out += L'"';
                for (wchar_t ch : row[c]) {
                    out += ch;
                    if (ch == L'"')
                        out += ch;
                }
                out += L'"';
            }
            out += L"\r\n";
        }
        const AnsiString bytes = WideToAnsi(out);
        HANDLE file = CreateFileW(FileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return Seconds() - start;
    });
}

// The plain reader: one pass over the decoded text, quotes open and close
// fields, line breaks inside quotes belong to the field.
double PlainRead(const String& FileName, std::size_t& cells)
{
    return Best(2, [&] {
        const double start = Seconds();
        HANDLE file = CreateFileW(FileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        LARGE_INTEGER size{};
        GetFileSizeEx(file, &size);
        std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        const String text = AnsiToWide(bytes);
        std::vector<std::vector<String>> rows(1);
        String field;
        bool quoted = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const wchar_t ch = text[i];
            if (quoted) {
                if (ch == L'"') {
                    if (i + 1 < text.size() && text[i + 1] == L'"')
                        field += text[++i];
                    else
                        quoted = false;
                } else {
                    field += ch;
                }
            } else if (ch == L'"') {
                quoted = true;
            } else if (ch == L',') {
                rows.back().push_back(std::move(field));
                field.clear();
            } else if (ch == L'\r' || ch == L'\n') {
                if (ch == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                    ++i;
                rows.back().push_back(std::move(field));
                field.clear();
                rows.emplace_back();
            } else {
                field += ch;
            }
        }
        if (rows.back().empty())
            rows.pop_back();
        cells = 0;
        for (const auto& row : rows)
            cells += row.size();
        return Seconds() - start;
    });
}

} // namespace

int wmain()
{
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    Application->Initialize();
    {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        const String gridFile = String(folder) + L"bench-grid.csv";
        const String plainFile = String(folder) + L"bench-plain.csv";

        TOwned<TAdvStringGrid> grid(New<TAdvStringGrid>(nullptr));
        Fill(grid.get());
        grid->SetAlwaysQuotes(true);
        grid->SetMultilineCells(true);
        const double gridSave = Best(2, [&] {
            const double start = Seconds();
            grid->SaveToCSV(gridFile);
            return Seconds() - start;
        });
        const double plainSave = PlainWrite(grid.get(), plainFile);

        std::size_t plainCells = 0;
        const double plainLoad = PlainRead(gridFile, plainCells);
        int loadedRows = 0;
        const double gridLoad = Best(2, [&] {
            TOwned<TAdvStringGrid> loaded(New<TAdvStringGrid>(nullptr));
            loaded->SetFixedRows(0);
            loaded->SetFixedCols(0);
            loaded->SetMultilineCells(true);
            const double start = Seconds();
            loaded->LoadFromCSV(gridFile);
            const double seconds = Seconds() - start;
            loadedRows = loaded->GetRowCount();
            return seconds;
        });

        WIN32_FILE_ATTRIBUTE_DATA info{};
        GetFileAttributesExW(gridFile.c_str(), GetFileExInfoStandard, &info);
        std::printf("rows: %d, columns: %d, file: %.1f MB\n", Rows, Cols,
                    (static_cast<double>(info.nFileSizeHigh) * 4294967296.0 + info.nFileSizeLow) / 1048576.0);
        std::printf("LoadFromCSV: grid %.3f s (%d rows), one-pass reader %.3f s (%zu cells), ratio %.1f\n", gridLoad,
                    loadedRows, plainLoad, plainCells, gridLoad / plainLoad);
        std::printf("SaveToCSV:   grid %.3f s, plain writer %.3f s, ratio %.1f\n", gridSave, plainSave,
                    gridSave / plainSave);
        DeleteFileW(gridFile.c_str());
        DeleteFileW(plainFile.c_str());
    }
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    return 0;
}
