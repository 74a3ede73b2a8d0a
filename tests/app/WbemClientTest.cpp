// The platform's WMI, reached through the real client: the computer these
// tests run on, named three ways, and a name that reaches nothing.
#include <gtest/gtest.h>
#include <objbase.h>
#include <cwctype>
#include <regex>
#include "RecordingTarget.h"
#include "WmiQueries.h"

namespace {

class ComScope {
public:
    ComScope() { result_ = CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    ~ComScope()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }

private:
    HRESULT result_ = E_FAIL;
};

String ComputerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(name, &length);
    return String(name, length);
}

String UserName()
{
    wchar_t name[256];
    DWORD length = 256;
    GetUserNameW(name, &length);
    return name;
}

bool IsNumber(const String& text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return std::iswdigit(c); });
}

std::size_t CountOf(const String& text, const String& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != String::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::map<int, String> InventoryOf(const String& name)
{
    TWbemClient client;
    auto connection = client.Connect(name);
    TRecordingTarget target;
    TLongestTexts longest;
    TComputerInventory inventory(target, 1, TInventoryTexts(), longest);
    inventory.Run(*connection, name);
    return target.Row(1);
}

TEST(WbemClient, TheLocalComputerFillsTheColumnsThePlatformAnswers)
{
    ComScope com;
    std::map<int, String> row = InventoryOf(String());

    EXPECT_EQ(row[19].rfind(L"Microsoft Windows", 0), 0u) << row[19];
    EXPECT_FALSE(row[1].empty());
    EXPECT_FALSE(row[2].empty());
    EXPECT_FALSE(row[4].empty());
    EXPECT_TRUE(IsNumber(row[5])) << row[5];
    EXPECT_TRUE(IsNumber(row[6])) << row[6];
    EXPECT_TRUE(IsNumber(row[7])) << row[7];
    EXPECT_TRUE(IsNumber(row[11])) << row[11];
    EXPECT_TRUE(IsNumber(row[12])) << row[12];
    EXPECT_TRUE(IsNumber(row[13])) << row[13];
    EXPECT_FALSE(row[16].empty());
    EXPECT_NE(row[17].find(L"B"), String::npos) << row[17];

    MEMORYSTATUSEX memory{sizeof(memory)};
    GlobalMemoryStatusEx(&memory);
    EXPECT_EQ(row[9], FormatByteSize(memory.ullTotalPhys));

    const std::wregex disks(LR"(C: \d+([.,]\d\d?)? (KB|MB|GB|TB) \(\d{1,3}%\)(; [A-Z]: .*)?)");
    EXPECT_TRUE(std::regex_match(row[15], disks)) << row[15];

    EXPECT_TRUE(SameText(row[24], ComputerName() + L"\\" + UserName())) << row[24];

    // One MAC entry per IPv4 address.
    ASSERT_FALSE(row[21].empty());
    EXPECT_EQ(row[21].find(L':'), String::npos) << row[21];
    EXPECT_EQ(CountOf(row[21], L"; "), CountOf(row[22], L"; "));
}

TEST(WbemClient, LocalhostAndTheOwnNameReachTheSameComputer)
{
    ComScope com;
    std::map<int, String> local = InventoryOf(String());
    local.erase(15);  // free space moves between runs
    for (const String& name : {String(L"localhost"), ComputerName()}) {
        SCOPED_TRACE(name);
        std::map<int, String> named = InventoryOf(name);
        EXPECT_FALSE(named[15].empty());
        named.erase(15);
        EXPECT_EQ(named, local);
    }
}

TEST(WbemClient, AnUnknownComputerCannotBeReached)
{
    ComScope com;
    TWbemClient client;
    EXPECT_THROW(client.Connect(L"no-such-computer.invalid"), EOleSysError);
}

} // namespace
