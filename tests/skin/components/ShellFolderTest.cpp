// The shell helpers against Wine's shell: identifier lists byte for byte,
// hand-made shell answers, and items of a real temporary folder (names,
// attributes, icons, renaming, opening by the default verb).
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>
#include <cstring>
#include <string>
#include <vector>
#include "Forms.h"
#include "SysUtils.h"
#include "TestSupport.h"
#include "acShellCtrls.h"

using testing_support::TempDir;

namespace {

// A list of items, each given as its payload bytes (cb is added).
std::string ListBytes(const std::vector<std::string>& items)
{
    std::string bytes;
    for (const std::string& item : items) {
        const auto cb = static_cast<USHORT>(item.size() + 2);
        bytes.append(reinterpret_cast<const char*>(&cb), 2);
        bytes += item;
    }
    bytes.append(2, '\0');
    return bytes;
}

TPidl MakeList(const std::string& bytes)
{
    TPidl id(PidlAlloc(static_cast<int>(bytes.size())));
    std::memcpy(id.Get(), bytes.data(), bytes.size());
    return id;
}

std::string Bytes(PItemIDList id) { return std::string(reinterpret_cast<const char*>(id), PidlSize(id)); }

String LongPath(const String& path)
{
    wchar_t buffer[MAX_PATH * 2];
    DWORD n = GetLongPathNameW(path.c_str(), buffer, MAX_PATH * 2);
    return n ? String(buffer, n) : path;
}

TPidl ParsePath(const String& path)
{
    TPidl id;
    SHParseDisplayName(path.c_str(), nullptr, id.Put(), 0, nullptr);
    return id;
}

} // namespace

TEST(PidlRoutines, SizesNextCopyAndConcatenation)
{
    EXPECT_EQ(PidlSize(nullptr), 0);
    TPidl empty = MakeList(ListBytes({}));
    EXPECT_EQ(PidlSize(empty.Get()), 2);

    const std::string bytesA = ListBytes({"abc", "de"});
    const std::string bytesB = ListBytes({"fghij"});
    TPidl a = MakeList(bytesA), b = MakeList(bytesB);
    EXPECT_EQ(PidlSize(a.Get()), 5 + 4 + 2);
    EXPECT_EQ(reinterpret_cast<BYTE*>(PidlNext(a.Get())) - reinterpret_cast<BYTE*>(a.Get()), 5);

    TPidl copy(PidlCopy(a.Get()));
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.Get(), a.Get());
    EXPECT_EQ(Bytes(copy.Get()), bytesA);

    struct Case {
        const char* what;
        PItemIDList first;
        PItemIDList second;
        std::string expected;
    } cases[] = {
        {"A then B", a.Get(), b.Get(), ListBytes({"abc", "de", "fghij"})},
        {"nil then B", nullptr, b.Get(), bytesB},
        {"A then an empty list", a.Get(), empty.Get(), bytesA},
        {"empty then B", empty.Get(), b.Get(), bytesB},
    };
    for (const Case& c : cases) {
        TPidl joined(PidlConcat(c.first, c.second));
        ASSERT_TRUE(joined) << c.what;
        EXPECT_EQ(Bytes(joined.Get()), c.expected) << c.what;
    }
}

TEST(StrRetToText, ReadsEachKindAndStaysInsideTheItem)
{
    // One item of cb 12: "abc\0" at offset 2, "wxyz\0" at offset 6.
    const std::string item = ListBytes({std::string("abc\0wxyz\0\0", 10)});
    TPidl id = MakeList(item);
    const int cb = id.Get()->mkid.cb;
    ASSERT_EQ(cb, 12);
    // Unterminated characters running to the item's end.
    TPidl open = MakeList(ListBytes({std::string("xxxxqrst", 8)}));

    auto wide = [](const wchar_t* text) {
        STRRET r{};
        r.uType = STRRET_WSTR;
        if (text) {
            const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
            r.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
            std::memcpy(r.pOleStr, text, bytes);
        }
        return r;
    };
    auto offset = [](UINT at) {
        STRRET r{};
        r.uType = STRRET_OFFSET;
        r.uOffset = at;
        return r;
    };
    auto ansi = [](const char* text) {
        STRRET r{};
        r.uType = STRRET_CSTR;
        strcpy(r.cStr, text);
        return r;
    };
    STRRET unknown{};
    unknown.uType = 7;

    struct Case {
        const char* what;
        STRRET answer;
        PItemIDList item;
        const wchar_t* expected;
    } cases[] = {
        {"wide string", wide(L"Report"), id.Get(), L"Report"},
        {"nil wide string", wide(nullptr), id.Get(), L""},
        {"offset to a terminated text", offset(2), id.Get(), L"abc"},
        {"offset to the second text", offset(6), id.Get(), L"wxyz"},
        {"offset to a text ending with the item", offset(6), open.Get(), L"qrst"},
        {"offset at the item's end", offset(12), id.Get(), L""},
        {"offset past the item", offset(4000), id.Get(), L""},
        {"C string", ansi("Plain"), id.Get(), L"Plain"},
        {"unknown kind", unknown, id.Get(), L"unchanged"},
        {"question mark and digits", wide(L"?12?3"), id.Get(), L"123"},
        {"question mark and a letter", wide(L"?a?b"), id.Get(), L"?a?b"},
        {"a lone question mark", wide(L"?"), id.Get(), L"?"},
    };
    for (Case& c : cases) {
        String text = L"unchanged";
        StrRetToText(c.item, c.answer, text);
        EXPECT_EQ(text, c.expected) << c.what;
        if (c.answer.uType == STRRET_WSTR)
            EXPECT_EQ(c.answer.pOleStr, nullptr) << c.what << ": the string is freed and forgotten";
    }
}

namespace {

// A temporary folder with a file, a read-only file, a sub-folder and a
// shell link, and its shell item.
class ShellFolderFixture : public testing::Test {
protected:
    void SetUp() override
    {
        testing_support::WriteBytes(dir.File(L"report.txt"), "text");
        testing_support::WriteBytes(dir.File(L"locked.txt"), "text");
        SetFileAttributesW(dir.File(L"locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        CreateDirectoryW(dir.File(L"sub").c_str(), nullptr);
        MakeLink(dir.File(L"shortcut.lnk"), dir.File(L"report.txt"));

        path = LongPath(dir.Path());
        TPidl absolute = ParsePath(path);
        ASSERT_TRUE(absolute);
        TComPtr<IShellFolder> desktop = GetDesktopShellFolder();
        ASSERT_TRUE(SUCCEEDED(desktop->BindToObject(absolute.Get(), nullptr, IID_IShellFolder,
                                                    reinterpret_cast<void**>(shell.ReleaseAndGetAddressOf()))));
        folder.reset(New<TacShellFolder>(nullptr, absolute.Get(), shell.Get()));
    }
    void TearDown() override
    {
        items.clear();
        folder.reset();
        SetFileAttributesW(dir.File(L"locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    }

    static void MakeLink(const String& linkPath, const String& target)
    {
        TComPtr<IShellLinkW> link;
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                               reinterpret_cast<void**>(link.ReleaseAndGetAddressOf()))));
        link->SetPath(target.c_str());
        TComPtr<IPersistFile> file = link.As<IPersistFile>();
        ASSERT_TRUE(file);
        ASSERT_TRUE(SUCCEEDED(file->Save(linkPath.c_str(), TRUE)));
    }

    TacShellFolder* Child(const String& name)
    {
        TPidl relative;
        ULONG eaten = 0;
        String parsed = name;
        if (FAILED(shell->ParseDisplayName(nullptr, nullptr, parsed.data(), &eaten, relative.Put(), nullptr)))
            return nullptr;
        items.emplace_back(New<TacShellFolder>(folder.get(), relative.Get(), nullptr));
        return items.back().get();
    }

    TempDir dir;
    String path;
    TComPtr<IShellFolder> shell;
    TOwned<TacShellFolder> folder;
    std::vector<TOwned<TacShellFolder>> items;
};

} // namespace

TEST_F(ShellFolderFixture, ItemsKnowTheirPathsLevelsAndAttributes)
{
    EXPECT_TRUE(SameText(folder->PathName(), path));
    EXPECT_EQ(folder->Parent(), RootShellFolder);
    EXPECT_EQ(folder->Level(), 0);

    struct Case {
        const wchar_t* name;
        bool isFolder, isFile, isFileFolder, readOnly, link;
    } cases[] = {
        {L"sub", true, false, true, false, false},
        {L"report.txt", false, true, false, false, false},
        {L"locked.txt", false, true, false, true, false},
        {L"shortcut.lnk", false, false, false, false, true},
    };
    for (const Case& c : cases) {
        TacShellFolder* item = Child(c.name);
        ASSERT_NE(item, nullptr) << c.name;
        EXPECT_EQ(item->Level(), 1) << c.name;
        EXPECT_TRUE(SameText(item->PathName(), path + L"\\" + c.name)) << c.name;
        // The absolute list is the folder's joined with the item's.
        TPidl parsed = ParsePath(path + L"\\" + c.name);
        EXPECT_TRUE(ILIsEqual(item->AbsoluteID(), parsed.Get())) << c.name;
        EXPECT_EQ(item->IsFolder(), c.isFolder) << c.name;
        EXPECT_EQ(item->IsFile(), c.isFile) << c.name;
        EXPECT_EQ(item->IsFileFolder(), c.isFileFolder) << c.name;
        EXPECT_EQ(item->IsReadOnly(), c.readOnly) << c.name;
        const TacShellFolderProperties properties = item->Properties();
        EXPECT_EQ(properties.Contains(fpReadOnly), c.readOnly) << c.name;
        EXPECT_EQ(properties.Contains(fpIsLink), c.link) << c.name;
        EXPECT_TRUE(properties.Contains(fpFileSystem)) << c.name;
        EXPECT_FALSE(properties.Contains(fpCut)) << c.name;
        const TacShellFolderCapabilities capabilities = item->Capabilities();
        EXPECT_TRUE(capabilities.Contains(fcCanRename)) << c.name;
        EXPECT_TRUE(capabilities.Contains(fcCanCopy)) << c.name;
        EXPECT_TRUE(capabilities.Contains(fcCanDelete)) << c.name;
    }
}

TEST_F(ShellFolderFixture, DisplayNamesFollowTheExtensionSetting)
{
    TacShellFolder* file = Child(L"report.txt");
    ASSERT_NE(file, nullptr);
    const String system = file->DisplayName(seSystem);
    EXPECT_TRUE(system == L"report.txt" || system == L"report") << system;
    EXPECT_EQ(file->DisplayName(seShow), L"report.txt");
    EXPECT_EQ(file->DisplayName(seHide), L"report");
    // A folder has no file of its name: the extension settings leave it alone.
    TacShellFolder* sub = Child(L"sub");
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->DisplayName(seShow), L"sub");
    EXPECT_EQ(sub->DisplayName(seHide), L"sub");
}

TEST(ShellFolderDrive, DriveCIsAFileSystemFolderOfTheComputer)
{
    // The computer's item under the desktop, then drive C: inside it.
    TPidl drives;
    ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.Put())));
    TComPtr<IShellFolder> drivesFolder;
    ASSERT_TRUE(SUCCEEDED(GetDesktopShellFolder()->BindToObject(
        drives.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(drivesFolder.ReleaseAndGetAddressOf()))));
    TOwned<TacShellFolder> computer(New<TacShellFolder>(nullptr, drives.Get(), drivesFolder.Get()));
    TPidl drive;
    ULONG eaten = 0;
    wchar_t name[] = L"C:\\";
    ASSERT_TRUE(SUCCEEDED(drivesFolder->ParseDisplayName(nullptr, nullptr, name, &eaten, drive.Put(), nullptr)));
    TOwned<TacShellFolder> c(New<TacShellFolder>(computer.get(), drive.Get(), nullptr));
    EXPECT_EQ(c->Level(), 1);
    EXPECT_TRUE(SameText(c->PathName(), L"C:\\"));
    EXPECT_TRUE(c->IsFolder());
    EXPECT_TRUE(c->IsFileFolder());
    EXPECT_TRUE(c->SubFolders());
    EXPECT_TRUE(c->Properties().Contains(fpFileSystem));
    EXPECT_NE(c->DisplayName().find(L"C:"), String::npos) << c->DisplayName();
}

TEST_F(ShellFolderFixture, ZipNamesAnswerWithoutTheShell)
{
    // The folder itself is a folder to the shell; a zip name says otherwise.
    ASSERT_TRUE(folder->IsFolder(L"data"));
    for (const wchar_t* name : {L"archive.zip", L"Archive.ZIP", L"a.Zip"}) {
        EXPECT_FALSE(folder->IsFolder(name, false)) << name;
        EXPECT_TRUE(folder->IsFile(name, false)) << name;
        EXPECT_TRUE(folder->IsFolder(name, true)) << name;
        EXPECT_FALSE(folder->IsFile(name, true)) << name;
    }
}

TEST_F(ShellFolderFixture, ImageIndexesAreTheSystemListsForTheItem)
{
    for (const wchar_t* name : {L"report.txt", L"sub"}) {
        TacShellFolder* item = Child(name);
        ASSERT_NE(item, nullptr);
        for (bool large : {false, true}) {
            SHFILEINFOW info{};
            SHGetFileInfoW(dir.File(name).c_str(), 0, &info, sizeof(info),
                           SHGFI_SYSICONINDEX | (large ? 0 : SHGFI_SMALLICON));
            EXPECT_EQ(item->ImageIndex(large), info.iIcon) << name << (large ? " large" : " small");
        }
    }
    EXPECT_NE(Child(L"report.txt")->ImageIndex(false), Child(L"sub")->ImageIndex(false));
}

TEST_F(ShellFolderFixture, RenameRenamesOnDiskAndTakesTheNewIdentifiers)
{
    TacShellFolder* file = Child(L"report.txt");
    ASSERT_NE(file, nullptr);
    const std::string oldRelative = Bytes(file->RelativeID());
    ASSERT_TRUE(file->Rename(L"renamed.txt"));
    EXPECT_TRUE(FileExists(dir.File(L"renamed.txt")));
    EXPECT_FALSE(FileExists(dir.File(L"report.txt")));
    EXPECT_NE(Bytes(file->RelativeID()), oldRelative);
    TPidl parsed = ParsePath(path + L"\\renamed.txt");
    EXPECT_TRUE(ILIsEqual(file->AbsoluteID(), parsed.Get()));
    EXPECT_TRUE(SameText(file->PathName(), path + L"\\renamed.txt"));
    EXPECT_EQ(file->DisplayName(seShow), L"renamed.txt");
}

TEST(ShellFolderRename, WithoutTheCapabilityAnswersFalseAndRaisesNothing)
{
    // The desktop's own item cannot be renamed.
    ASSERT_NE(RootShellFolder, nullptr);
    ASSERT_FALSE(RootShellFolder->Capabilities().Contains(fcCanRename));
    const std::string before = Bytes(RootShellFolder->AbsoluteID());
    bool renamed = true;
    EXPECT_NO_THROW(renamed = RootShellFolder->Rename(L"Elsewhere"));
    EXPECT_FALSE(renamed);
    EXPECT_EQ(Bytes(RootShellFolder->AbsoluteID()), before);
}

namespace {

// A file type of the test's own among the prefix's classes (Wine's shell
// looks for it there, not in the user's), opened by a command that records
// it ran; removed again at the end.
class TRegisteredType {
public:
    TRegisteredType()
    {
        SetString(L".tvlshelltest", L"Tavelin.ShellTest");
        SetString(L"Tavelin.ShellTest\\shell\\open\\command",
                  L"\"C:\\windows\\system32\\cmd.exe\" /c echo ran>\"%1.ran\"");
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    }
    ~TRegisteredType()
    {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Tavelin.ShellTest");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".tvlshelltest");
    }

private:
    static void SetString(const wchar_t* key, const wchar_t* value)
    {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, value,
                        static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
    }
};

} // namespace

TEST_F(ShellFolderFixture, ExecuteDefaultOpensWithTheRegisteredProgram)
{
    TRegisteredType type;
    testing_support::WriteBytes(dir.File(L"doc.tvlshelltest"), "x");
    TacShellFolder* file = Child(L"doc.tvlshelltest");
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(file->ExecuteDefault());
    const String marker = dir.File(L"doc.tvlshelltest.ran");
    // The program runs apart from us: wait for its mark (not a timing check).
    for (int i = 0; i < 600 && !FileExists(marker); ++i)
        Sleep(50);
    EXPECT_TRUE(FileExists(marker));
}
