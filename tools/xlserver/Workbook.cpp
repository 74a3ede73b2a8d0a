#include "Workbook.h"
#include <algorithm>
#include "Error.h"
#include <windows.h>

namespace xlsx {

namespace {

std::wstring SystemMessage(DWORD code)
{
    wchar_t* buffer = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = buffer ? buffer : L"error " + std::to_wstring(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    bool Close()
    {
        const bool ok = !Valid() || CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE h_;
};

} // namespace

std::wstring ColumnName(int col)
{
    std::wstring name;
    for (; col > 0; col = (col - 1) / 26)
        name.insert(name.begin(), static_cast<wchar_t>(L'A' + (col - 1) % 26));
    return name;
}

std::wstring CellName(CellRef cell) { return ColumnName(cell.col) + std::to_wstring(cell.row); }

std::optional<CellRef> ParseCellName(std::wstring_view text)
{
    std::size_t i = 0;
    auto skipDollar = [&] {
        if (i < text.size() && text[i] == L'$')
            ++i;
    };
    skipDollar();
    CellRef cell;
    const std::size_t lettersAt = i;
    for (; i < text.size() && i - lettersAt < 4; ++i) {
        const wchar_t c = text[i] >= L'a' && text[i] <= L'z' ? text[i] - 32 : text[i];
        if (c < L'A' || c > L'Z')
            break;
        cell.col = cell.col * 26 + (c - L'A' + 1);
    }
    if (i == lettersAt || cell.col > MaxColumns)
        return std::nullopt;
    skipDollar();
    const std::size_t digitsAt = i;
    for (; i < text.size() && i - digitsAt < 8; ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        cell.row = cell.row * 10 + (text[i] - L'0');
    }
    if (i == digitsAt || i != text.size() || text[digitsAt] == L'0' || cell.row > MaxRows)
        return std::nullopt;
    return cell;
}

std::optional<CellRange> ParseRange(std::wstring_view text)
{
    const std::size_t colon = text.find(L':');
    const auto a = ParseCellName(text.substr(0, colon));
    const auto b = colon == std::wstring_view::npos ? a : ParseCellName(text.substr(colon + 1));
    if (!a || !b)
        return std::nullopt;
    return CellRange{{std::min(a->row, b->row), std::min(a->col, b->col)},
                     {std::max(a->row, b->row), std::max(a->col, b->col)}};
}

std::wstring SheetNameProblem(const Workbook& book, std::size_t index, std::wstring_view name)
{
    if (name.empty())
        return L"A sheet name cannot be empty.";
    if (name.size() > MaxSheetName)
        return L"A sheet name has at most 31 characters.";
    if (name.find_first_of(L":\\/?*[]") != std::wstring_view::npos)
        return L"A sheet name cannot contain : \\ / ? * [ or ].";
    if (name.front() == L'\'' || name.back() == L'\'')
        return L"A sheet name cannot begin or end with an apostrophe.";
    for (wchar_t c : name)
        if (c < 0x20)
            return L"A sheet name cannot contain control characters.";
    const Sheet* same = FindSheet(book, name);
    if (same && same != &book.sheets[index])
        return L"Another sheet is already named \"" + same->name + L"\".";
    return {};
}

CellRange Sheet::UsedRange() const
{
    if (cells.empty())
        return {{1, 1}, {1, 1}};
    CellRange used{cells.begin()->first, cells.begin()->first};
    for (const auto& [cell, text] : cells) {
        used.first.col = std::min(used.first.col, cell.col);
        used.last.col = std::max(used.last.col, cell.col);
        used.last.row = cell.row;
    }
    return used;
}

const Sheet* FindSheet(const Workbook& book, std::wstring_view name)
{
    for (const Sheet& sheet : book.sheets)
        if (CompareStringOrdinal(sheet.name.data(), static_cast<int>(sheet.name.size()),
                                 name.data(), static_cast<int>(name.size()), TRUE) == CSTR_EQUAL)
            return &sheet;
    return nullptr;
}

std::string ReadFileBytes(const std::wstring& path)
{
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw Error(L"Cannot open \"" + path + L"\": " + SystemMessage(GetLastError()));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x40000000)
        throw Error(L"\"" + path + L"\" is too large for this server.");
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD done = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
         done != bytes.size()))
        throw Error(L"Cannot read \"" + path + L"\": " + SystemMessage(GetLastError()));
    return bytes;
}

void SaveWorkbook(const Workbook& book, const std::wstring& path) { SaveFileBytes(WorkbookToXlsx(book), path); }

void SaveFileBytes(const std::string& bytes, const std::wstring& path)
{
    const std::wstring temp = path + L".~" + std::to_wstring(GetCurrentProcessId());
    DWORD error = 0;
    {
        Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid())
            throw Error(L"Cannot save \"" + path + L"\": " + SystemMessage(GetLastError()));
        DWORD done = 0;
        if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
            done != bytes.size() || !FlushFileBuffers(file.get()))
            error = GetLastError() ? GetLastError() : ERROR_WRITE_FAULT;
        if (!file.Close() && !error)
            error = GetLastError();
    }
    if (!error && !MoveFileExW(temp.c_str(), path.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error) {
        DeleteFileW(temp.c_str());
        throw Error(L"Cannot save \"" + path + L"\": " + SystemMessage(error));
    }
}

Workbook LoadWorkbook(const std::wstring& path)
{
    try {
        return WorkbookFromXlsx(ReadFileBytes(path));
    } catch (const Error& e) {
        if (e.Message().find(path) != std::wstring::npos)
            throw;
        throw Error(L"\"" + path + L"\" is not a workbook this server can read: " + e.Message());
    }
}

} // namespace xlsx
