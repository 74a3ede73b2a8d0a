// File names, folders, file search and the command line.
#include "SysUtils.h"
#include <shellapi.h>

namespace {

bool IsDelimiter(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// The position just after the last path delimiter or drive colon.
std::size_t NameStart(const String& s)
{
    std::size_t p = s.find_last_of(L"\\/:");
    return p == String::npos ? 0 : p + 1;
}

int FileTimeToDos(const FILETIME& utc)
{
    FILETIME local;
    WORD date = 0, time = 0;
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToDosDateTime(&local, &date, &time);
    return static_cast<int>((static_cast<DWORD>(date) << 16) | time);
}

// Skips entries whose attributes the caller did not ask for.
int FindMatching(TSearchRec& F)
{
    while (F.FindData.dwFileAttributes & static_cast<DWORD>(F.ExcludeAttr)) {
        if (!FindNextFileW(F.FindHandle, &F.FindData))
            return static_cast<int>(GetLastError());
    }
    F.Time = FileTimeToDos(F.FindData.ftLastWriteTime);
    F.Size = (static_cast<Int64>(F.FindData.nFileSizeHigh) << 32) | F.FindData.nFileSizeLow;
    F.Attr = static_cast<int>(F.FindData.dwFileAttributes);
    F.Name = F.FindData.cFileName;
    return 0;
}

std::vector<String>& Arguments()
{
    static std::vector<String> args = [] {
        std::vector<String> list;
        int count = 0;
        LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
        for (int i = 0; i < count; ++i)
            list.emplace_back(argv[i]);
        if (argv)
            LocalFree(argv);
        return list;
    }();
    return args;
}

} // namespace

int FindFirst(const String& Path, int Attr, TSearchRec& F)
{
    F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    F.FindHandle = FindFirstFileW(Path.c_str(), &F.FindData);
    if (F.FindHandle == INVALID_HANDLE_VALUE)
        return static_cast<int>(GetLastError());
    int result = FindMatching(F);
    if (result != 0)
        FindClose(F);
    return result;
}

int FindNext(TSearchRec& F)
{
    if (F.FindHandle == INVALID_HANDLE_VALUE)
        return ERROR_INVALID_HANDLE;
    if (!FindNextFileW(F.FindHandle, &F.FindData))
        return static_cast<int>(GetLastError());
    return FindMatching(F);
}

void FindClose(TSearchRec& F)
{
    if (F.FindHandle != INVALID_HANDLE_VALUE) {
        ::FindClose(F.FindHandle);
        F.FindHandle = INVALID_HANDLE_VALUE;
    }
}

String ExtractFilePath(const String& FileName)
{
    return FileName.substr(0, NameStart(FileName));
}

String ExtractFileDir(const String& FileName)
{
    std::size_t start = NameStart(FileName);
    // Keep the delimiter of a root ("C:\", "\") so the result stays a folder.
    if (start > 0 && IsDelimiter(FileName[start - 1]) && start > 1 && FileName[start - 2] != L':' &&
        !IsDelimiter(FileName[start - 2]))
        --start;
    return FileName.substr(0, start);
}

String ExtractFileName(const String& FileName)
{
    return FileName.substr(NameStart(FileName));
}

String ExtractFileExt(const String& FileName)
{
    std::size_t p = FileName.find_last_of(L".\\/:");
    return p != String::npos && FileName[p] == L'.' ? FileName.substr(p) : String();
}

String ChangeFileExt(const String& FileName, const String& Extension)
{
    std::size_t p = FileName.find_last_of(L".\\/:");
    if (p == String::npos || FileName[p] != L'.')
        return FileName + Extension;
    return FileName.substr(0, p) + Extension;
}

String IncludeTrailingPathDelimiter(const String& S)
{
    return !S.empty() && IsDelimiter(S.back()) ? S : S + L'\\';
}

String ExcludeTrailingPathDelimiter(const String& S)
{
    return !S.empty() && IsDelimiter(S.back()) ? S.substr(0, S.size() - 1) : S;
}

String ExpandFileName(const String& FileName)
{
    wchar_t* part = nullptr;
    DWORD n = GetFullPathNameW(FileName.c_str(), 0, nullptr, &part);
    if (n == 0)
        return FileName;
    String r(n, L'\0');
    n = GetFullPathNameW(FileName.c_str(), n, r.data(), &part);
    r.resize(n);
    return r;
}

bool FileExists(const String& FileName)
{
    DWORD a = GetFileAttributesW(FileName.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const String& Directory)
{
    DWORD a = GetFileAttributesW(Directory.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const String& Dir)
{
    return CreateDirectoryW(Dir.c_str(), nullptr) != 0;
}

bool ForceDirectories(const String& Dir)
{
    String d = ExcludeTrailingPathDelimiter(Dir);
    if (d.empty())
        return false;
    if (DirectoryExists(d))
        return true;
    String parent = ExcludeTrailingPathDelimiter(ExtractFilePath(d));
    if (!parent.empty() && parent != d && !ForceDirectories(parent))
        return false;
    return CreateDir(d) || DirectoryExists(d);
}

bool RemoveDir(const String& Dir)
{
    return RemoveDirectoryW(Dir.c_str()) != 0;
}

String GetCurrentDir()
{
    DWORD n = GetCurrentDirectoryW(0, nullptr);
    String r(n, L'\0');
    n = GetCurrentDirectoryW(n, r.data());
    r.resize(n);
    return r;
}

int ParamCount()
{
    return static_cast<int>(Arguments().size()) - 1;
}

String ParamStr(int Index)
{
    if (Index == 0) {
        // The module's own name, not argv[0], which may be relative or bare.
        String name(MAX_PATH, L'\0');
        for (;;) {
            DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
            if (n < name.size()) {
                name.resize(n);
                return name;
            }
            name.resize(name.size() * 2);
        }
    }
    const auto& args = Arguments();
    return Index > 0 && Index < static_cast<int>(args.size()) ? args[static_cast<std::size_t>(Index)]
                                                               : String();
}

String ExeFolder()
{
    return ExtractFilePath(ParamStr(0));
}
