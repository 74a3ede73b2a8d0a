// File names, folders, file search and the program's own location.
#include <gtest/gtest.h>
#include "SysUtils.h"
#include "TestSupport.h"
#include <algorithm>
#include <vector>

using testing_support::TempDir;

namespace {

void Touch(const String& name)
{
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, "abc", 3, &written, nullptr);
    CloseHandle(h);
}

} // namespace

TEST(Files, NamePartsSplitAtTheLastDelimiter)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* path;
        const wchar_t* dir;
        const wchar_t* file;
        const wchar_t* ext;
    } cases[] = {
        {L"C:\\data\\report.v2.txt", L"C:\\data\\", L"C:\\data", L"report.v2.txt", L".txt"},
        {L"C:\\report", L"C:\\", L"C:\\", L"report", L""},
        {L"C:report.ini", L"C:", L"C:", L"report.ini", L".ini"},
        {L"folder.d\\name", L"folder.d\\", L"folder.d", L"name", L""},
        {L"a/b.c", L"a/", L"a", L"b.c", L".c"},
        {L"plain", L"", L"", L"plain", L""},
        {L"\\\\server\\share\\x.png", L"\\\\server\\share\\", L"\\\\server\\share", L"x.png", L".png"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
        EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
        EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
        EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
    }
    EXPECT_EQ(ChangeFileExt(L"C:\\a.b\\report.txt", L".csv"), L"C:\\a.b\\report.csv");
    EXPECT_EQ(ChangeFileExt(L"C:\\a.b\\report", L".csv"), L"C:\\a.b\\report.csv");
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\x"), L"C:\\x\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\x\\"), L"C:\\x\\");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\x\\"), L"C:\\x");
}

TEST(Files, FoldersAreCreatedAndFound)
{
    TempDir temp;
    const String deep = temp.File(L"a\\b\\ц");
    EXPECT_FALSE(DirectoryExists(deep));
    EXPECT_FALSE(CreateDir(deep)) << "the parent is missing";
    EXPECT_TRUE(ForceDirectories(deep + L"\\"));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep)) << "a folder is no file";
    Touch(deep + L"\\f.txt");
    EXPECT_TRUE(FileExists(deep + L"\\f.txt"));
    EXPECT_FALSE(DirectoryExists(deep + L"\\f.txt"));
    EXPECT_FALSE(RemoveDir(deep)) << "not empty";
    EXPECT_TRUE(ForceDirectories(deep)) << "an existing folder is fine";
}

TEST(Files, FindFirstListsMatchesAndHonoursTheAttributeMask)
{
    TempDir temp;
    Touch(temp.File(L"one.png"));
    Touch(temp.File(L"two.png"));
    Touch(temp.File(L"три.png"));
    Touch(temp.File(L"skip.txt"));
    CreateDir(temp.File(L"sub.png"));
    Touch(temp.File(L"hidden.png"));
    SetFileAttributesW(temp.File(L"hidden.png").c_str(), FILE_ATTRIBUTE_HIDDEN);

    auto list = [&](int attr) {
        std::vector<String> names;
        TSearchRec sr;
        if (FindFirst(temp.File(L"*.png"), attr, sr) == 0) {
            do
                names.push_back(sr.Name);
            while (FindNext(sr) == 0);
            FindClose(sr);
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(list(faArchive | faNormal | faReadOnly),
              (std::vector<String>{L"one.png", L"two.png", L"три.png"}));
    EXPECT_EQ(list(faAnyFile),
              (std::vector<String>{L"hidden.png", L"one.png", L"sub.png", L"two.png", L"три.png"}));

    TSearchRec sr;
    ASSERT_EQ(FindFirst(temp.File(L"one.png"), faAnyFile, sr), 0);
    EXPECT_EQ(sr.Size, 3);
    EXPECT_NE(sr.Time, 0);
    FindClose(sr);
    EXPECT_NE(FindFirst(temp.File(L"*.none"), faAnyFile, sr), 0);
}

TEST(Files, TheProgramKnowsItsOwnFileAndFolder)
{
    const String exe = ParamStr(0);
    EXPECT_TRUE(FileExists(exe)) << exe.c_str();
    EXPECT_EQ(ExtractFileExt(exe), L".exe");
    EXPECT_EQ(ExeFolder(), ExtractFilePath(exe));
    EXPECT_TRUE(DirectoryExists(ExeFolder()));
    EXPECT_GE(ParamCount(), 0);
    EXPECT_EQ(ParamStr(ParamCount() + 1), L"");
}

TEST(Files, OsErrorsCarryTheSystemText)
{
    try {
        RaiseLastOSError(ERROR_FILE_NOT_FOUND);
        ADD_FAILURE();
    } catch (const EOSError& e) {
        EXPECT_EQ(e.Message().rfind(L"System Error.  Code: 2.", 0), 0u) << e.what();
        EXPECT_GT(e.Message().size(), 25u) << "the system's own reason follows";
    }
    EXPECT_THROW(Abort(), EAbort);
}
