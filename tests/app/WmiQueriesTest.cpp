// The query series of one computer against scripted answers: which query
// asks what, in which order, and what each answer turns into in the row.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdint>
#include <vector>
#include "RecordingTarget.h"
#include "ScriptedSeries.h"
#include "WmiQueries.h"

namespace {

const TInventoryTexts Texts{L"unavailable", L"hint 2003", L"hint XP"};

class QuerySeries : public testing::Test {
protected:
    void Answer(int query, TScriptedAnswer answer) { ::Answer(computer_, query, std::move(answer)); }

    // Runs the series for row 1 and returns the cells it filled.
    std::map<int, String> Run(const String& name = L"PC1")
    {
        auto connection = client_.Connect(name);
        TComputerInventory inventory(target_, 1, Texts, longest_);
        inventory.Run(*connection, name);
        return target_.Row(1);
    }

    TScriptedWmiClient client_;
    TScriptedComputer& computer_ = QuietComputer(client_);
    TRecordingTarget target_;
    TLongestTexts longest_;
};

// Cells that every computer gets from counting queries, plus the case's own.
std::map<int, String> RowWith(std::map<int, String> cells)
{
    cells.insert({{11, L"0"}, {12, L"0"}, {13, L"0"}});
    return cells;
}

struct TQueryCase {
    const char* Name;
    std::vector<std::pair<int, TScriptedAnswer>> Answers;
    std::map<int, String> Cells;   // every non-empty cell of the row
    std::map<int, int> Widths;     // -1: the width is never set
};

const TQueryCase QueryCases[] = {
    {"operating system: the last caption wins",
     {{qOS, Objects({{{L"Caption", L"Windows 7"}}, {{L"Caption", L"Windows 10 Pro"}}, {}})}},
     RowWith({{19, L"Windows 10 Pro"}})},
    {"motherboard: product and maker",
     {{qBoard, Objects({{{L"Product", L"X570-P"}, {L"Manufacturer", L"ASUSTeK"}}})}},
     RowWith({{2, L"X570-P ASUSTeK"}})},
    {"motherboard: a missing maker gives a dash",
     {{qBoard, Objects({{{L"Product", L"X570-P"}}})}},
     RowWith({{2, L"-"}})},
    {"failure prediction: one failing disk marks the computer",
     {{qPredict, Objects({{{L"PredictFailure", true}}, {{L"PredictFailure", false}}})}},
     RowWith({{14, L"FAILED"}})},
    {"failure prediction: a later sound disk does not hide a failing one",
     {{qPredict, Objects({{{L"PredictFailure", false}}, {{L"PredictFailure", true}},
                          {{L"PredictFailure", false}}})}},
     RowWith({{14, L"FAILED"}})},
    {"failure prediction: all sound",
     {{qPredict, Objects({{{L"PredictFailure", false}}, {}, {{L"PredictFailure", false}}})}},
     RowWith({{14, L"OK"}})},
    {"failure prediction: a failing query gives a dash and the series goes on",
     {{qPredict, TScriptedAnswer::Failure()}},
     RowWith({{14, L"-"}})},
    {"failure prediction: a failure mid-walk replaces what was written",
     {{qPredict, {{{{L"PredictFailure", false}}, {{L"PredictFailure", false}}}, 1}}},
     RowWith({{14, L"-"}})},
    {"failure prediction: a failure after a failing disk keeps it shown",
     {{qPredict, {{{{L"PredictFailure", false}}, {{L"PredictFailure", true}}, {{L"PredictFailure", false}}}, 2}}},
     RowWith({{14, L"FAILED"}})},
    {"monitor: maker and model, serial number, zero bytes dropped",
     {{qMonitors, Objects({{{L"SerialNumberID", Bytes("CN0K1234")},
                            {L"ManufacturerName", Bytes("DEL")},
                            {L"UserFriendlyName", Bytes("DELL U2412M")}}})}},
     RowWith({{18, L"DEL DELL U2412M"}, {27, L"CN0K1234"}})},
    {"monitors: several are listed, one without a serial number adds nothing",
     {{qMonitors, Objects({{{L"SerialNumberID", Bytes("CN0K1234")},
                            {L"ManufacturerName", Bytes("DEL")},
                            {L"UserFriendlyName", Bytes("DELL U2412M")}},
                           {{L"ManufacturerName", Bytes("ACR")}},
                           {{L"SerialNumberID", Bytes("H9XZ")},
                            {L"ManufacturerName", Bytes("SAM")},
                            {L"UserFriendlyName", Bytes("SyncMaster")}}})}},
     RowWith({{18, L"DEL DELL U2412M; SAM SyncMaster"}, {27, L"CN0K1234; H9XZ"}})},
    {"monitors: a failing query is ignored",
     {{qMonitors, TScriptedAnswer::Failure()}},
     RowWith({})},
    {"memory arrays: slots and capacities add up",
     {{qArrays, Objects({{{L"MemoryDevices", 4}, {L"MaxCapacity", 16777216}},
                         {{L"MemoryDevices", 2}, {L"MaxCapacity", 8388608}},
                         {{L"MaxCapacity", 8388608}}})}},
     RowWith({{11, L"6"}, {10, L"24 GB"}})},
    {"memory arrays: no known capacity leaves the maximum empty",
     {{qArrays, Objects({{{L"MemoryDevices", 2}}, {{L"MemoryDevices", 2}, {L"MaxCapacity", 0}}})}},
     RowWith({{11, L"4"}})},
    {"memory modules: every module counts, the last typed one decides",
     {{qModules, Objects({{{L"DeviceLocator", L"DIMM0"}, {L"MemoryType", 0}, {L"Speed", 2400}},
                          {{L"MemoryType", 0}, {L"Speed", 2400}},
                          {{L"DeviceLocator", L"DIMM2"}, {L"MemoryType", 24}, {L"Speed", 1600}}})}},
     RowWith({{8, L"DDR3"}, {12, L"3"}})},
    {"processor: the first one only, spaces collapsed",
     {{qCpu, Objects({{{L"Name", L"Intel(R)  Core(TM)   i5-8400 "}, {L"MaxClockSpeed", 2808},
                       {L"SocketDesignation", L"LGA1151"}, {L"NumberOfCores", 6}},
                      {{L"Name", L"Second"}, {L"MaxClockSpeed", 1}}})}},
     RowWith({{4, L"Intel(R) Core(TM) i5-8400 "}, {5, L"2808"}, {7, L"6"}, {3, L"LGA1151"}})},
    {"processor: a failing query on 2003 gives its update hint",
     {{qOS, Objects({{{L"Caption", L"Microsoft Windows Server 2003 R2"}}})},
      {qCpu, TScriptedAnswer::Failure()}},
     RowWith({{19, L"Microsoft Windows Server 2003 R2"}, {4, L"hint 2003"}})},
    {"processor: a failing query on XP gives its update hint",
     {{qOS, Objects({{{L"Caption", L"Microsoft Windows XP Professional"}}})},
      {qCpu, TScriptedAnswer::Failure()}},
     RowWith({{19, L"Microsoft Windows XP Professional"}, {4, L"hint XP"}})},
    {"processor: a failure elsewhere keeps what the query wrote (contains is case-sensitive)",
     {{qOS, Objects({{{L"Caption", L"Windows xp"}}})},
      {qCpu, {{{{L"Name", L"Athlon"}, {L"MaxClockSpeed", 2000}}}, 1}}},
     RowWith({{19, L"Windows xp"}, {4, L"Athlon"}, {5, L"2000"}})},
    {"logical disks: size, integer percentage of free space, width from the longest",
     {{qDisks, Objects({{{L"DeviceID", L"C:"}, {L"FreeSpace", L"214748364800"},
                         {L"Size", L"536870912000"}},
                        {{L"DeviceID", L"D:"}, {L"FreeSpace", L"1073741824"}, {L"Size", L"2147483648"}},
                        {{L"DeviceID", L"E:"}, {L"FreeSpace", L"2"}, {L"Size", L"3"}}})}},
     RowWith({{15, L"C: 500 GB (40%); D: 2 GB (50%); E: 3 Bytes (66%)"}}),
     {{15, 104}}},  // "E: 3 Bytes (66%)": 16 x 6.5
    {"logical disks: 13 characters give 84.5, rounded to the even 84",
     {{qDisks, Objects({{{L"DeviceID", L"D:"}, {L"FreeSpace", L"1073741824"}, {L"Size", L"2147483648"}}})}},
     RowWith({{15, L"D: 2 GB (50%)"}}),
     {{15, 84}}},
    {"logical disks: no free space value, no size or size 0 give no entry",
     {{qDisks, Objects({{{L"DeviceID", L"C:"}, {L"Size", L"100"}},
                        {{L"DeviceID", L"D:"}, {L"FreeSpace", L"0"}},
                        {{L"DeviceID", L"E:"}, {L"FreeSpace", L"0"}, {L"Size", L"0"}}})}},
     RowWith({}),
     {{15, -1}}},
    {"disk drives: removable media compared exactly, unknown media not counted",
     {{qDrives, Objects({{{L"MediaType", L"Fixed hard disk media"}}, {{L"MediaType", L"Removable Media"}},
                         {{L"MediaType", L"removable media"}}, {}})}},
     RowWith({{13, L"2"}}),
     {{13, 70}}},
    {"enclosure serial number",
     {{qEnclosure, Objects({{{L"SerialNumber", L"CZC1234XYZ"}}})}},
     RowWith({{26, L"CZC1234XYZ"}})},
    {"network: IPv4 addresses only, one MAC entry per address",
     {{qNetwork, Objects({{{L"IPAddress", Strings({L"192.168.1.10", L"fe80::1c2d:3e4f"})},
                           {L"MACAddress", L"00:11:22:33:44:55"}},
                          {{L"MACAddress", L"0A:0B:0C:0D:0E:0F"}},
                          {{L"IPAddress", Strings({L"10.0.0.5", L"10.0.0.6"})},
                           {L"MACAddress", L"66:77:88:99:AA:BB"}}})}},
     RowWith({{21, L"192.168.1.10; 10.0.0.5; 10.0.0.6"},
              {22, L"00:11:22:33:44:55; 66:77:88:99:AA:BB; 66:77:88:99:AA:BB"}}),
     {{21, 78}, {22, 110}}},  // 12 x 6.5; 17 x 6.5 = 110.5 to the even 110
    {"network: an IPv6-only adapter lists nothing and sizes nothing",
     {{qNetwork, Objects({{{L"IPAddress", Strings({L"fe80::1"})}, {L"MACAddress", L"00:11:22:33:44:55"}}})}},
     RowWith({}),
     {{21, -1}, {22, -1}}},
    {"computer system: model, user, processors, memory",
     {{qSystem, Objects({{{L"Model", L"OptiPlex 7050"}, {L"UserName", L"CORP\\jdoe"},
                          {L"NumberOfProcessors", 2}, {L"TotalPhysicalMemory", L"17179869184"}}})}},
     RowWith({{1, L"OptiPlex 7050"}, {24, L"CORP\\jdoe"}, {6, L"2"}, {9, L"16 GB"}}),
     {{24, 63}}},
    {"computer system: nobody logged on leaves the user column's width",
     {{qSystem, Objects({{{L"Model", L"PowerEdge"}}})}},
     RowWith({{1, L"PowerEdge"}}),
     {{24, -1}}},
    {"video: caption and memory as an unsigned 32-bit count",
     {{qVideo, Objects({{{L"Caption", L"Radeon RX 580"}, {L"AdapterRAM", -2147483647 - 1}}})}},
     RowWith({{16, L"Radeon RX 580"}, {17, L"2 GB"}})},
    {"shares: disk shares only, print$ skipped, width from the longest name",
     {{qShares, Objects({{{L"Name", L"ADMIN$"}, {L"Type", 2147483648LL}},
                         {{L"Name", L"C$"}, {L"Type", 2147483648LL}},
                         {{L"Name", L"IPC$"}, {L"Type", 2147483651LL}},
                         {{L"Name", L"print$"}, {L"Type", 0}},
                         {{L"Name", L"Docs"}, {L"Type", 0}},
                         {{L"Name", L"Printer"}, {L"Type", 1}},
                         {{L"Name", L"Public"}, {L"Type", 0}}})}},
     RowWith({{23, L"Docs; Public"}}),
     {{23, 42}}},
    {"shares: none listed, no width",
     {{qShares, Objects({{{L"Name", L"print$"}, {L"Type", 0}}})}},
     RowWith({}),
     {{23, -1}}},
    {"activation: the last Windows product with a key decides",
     {{qActivation, Objects({{{L"Name", L"Office 16, Professional"}, {L"LicenseStatus", 1},
                              {L"PartialProductKey", L"AB12C"}},
                             {{L"Name", L"Windows(R), Professional edition"}, {L"LicenseStatus", 1},
                              {L"PartialProductKey", L"3V66T"}},
                             {{L"Name", L"Windows(R), Other edition"}, {L"LicenseStatus", 0}}})}},
     RowWith({{25, L"Activated"}})},
    {"activation: an office suite listed after Windows changes nothing",
     {{qActivation, Objects({{{L"Name", L"Windows(R), Professional edition"}, {L"LicenseStatus", 1},
                              {L"PartialProductKey", L"3V66T"}},
                             {{L"Name", L"Office 16, Professional"}, {L"LicenseStatus", 0},
                              {L"PartialProductKey", L"AB12C"}}})}},
     RowWith({{25, L"Activated"}})},
    {"activation: notification status is not activated",
     {{qActivation, Objects({{{L"Name", L"Windows(R), Professional edition"}, {L"LicenseStatus", 5},
                              {L"PartialProductKey", L"3V66T"}}})}},
     RowWith({{25, L"Not activated"}})},
    {"activation: unlicensed is not activated",
     {{qActivation, Objects({{{L"Name", L"Windows(R), Professional edition"}, {L"LicenseStatus", 0},
                              {L"PartialProductKey", L"3V66T"}}})}},
     RowWith({{25, L"Not activated"}})},
    {"activation: out of grace is not activated",
     {{qActivation, Objects({{{L"Name", L"Windows(R), Professional edition"}, {L"LicenseStatus", 3},
                              {L"PartialProductKey", L"3V66T"}}})}},
     RowWith({{25, L"Not activated"}})},
    {"activation: products that are not Windows decide nothing",
     {{qActivation, Objects({{{L"Name", L"Office 16, Professional"}, {L"LicenseStatus", 1},
                              {L"PartialProductKey", L"AB12C"}}})}},
     RowWith({})},
};

TEST_F(QuerySeries, EachRuleTurnsItsAnswerIntoCellsAndWidths)
{
    for (const TQueryCase& c : QueryCases) {
        SCOPED_TRACE(c.Name);
        TScriptedWmiClient client;
        TScriptedComputer& computer = QuietComputer(client);
        for (const auto& [query, answer] : c.Answers)
            ::Answer(computer, query, answer);

        TRecordingTarget target;
        TLongestTexts longest;
        TComputerInventory inventory(target, 1, Texts, longest);
        auto connection = client.Connect(L"PC1");
        ASSERT_NO_THROW(inventory.Run(*connection, L"PC1"));

        EXPECT_EQ(target.Row(1), c.Cells);
        for (const auto& [col, width] : c.Widths)
            EXPECT_EQ(target.Width(col), width) << "column " << col;
        EXPECT_EQ(client.Calls().size(), static_cast<std::size_t>(SeriesLength));
    }
}

struct TMemoryTypeCase {
    TWmiValue Type;
    TWmiValue Speed;
    const wchar_t* Expected;  // empty: column 8 is not written
};

TEST_F(QuerySeries, MemoryTypeFromTypeAndSpeed)
{
    const TMemoryTypeCase cases[] = {
        {0, 1600, L"DDR3"},       {0, 2400, L"DDR4"},    {0, 2100, L""},
        {24, 1600, L"DDR3"},      {24, 2400, L"DDR3"},   {26, 2666, L"DDR4"},
        {26, 1600, L"DDR4"},      {26, {}, L"Virtual"},  {25, 1600, L""},
        {24, {}, L"Virtual"},     {20, 400, L"DDR"},
        {21, 800, L"DDR2"},       {22, 800, L"DDR2"},    {20, {}, L"Virtual"},
        {0, {}, L"Virtual"},      {9, {}, L"Other"},     {1, 1600, L"Other"},
        {19, 2400, L"Other"},     {{}, 1600, L""},       {0, L"1600", L"DDR3"},
    };
    for (const TMemoryTypeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.Type.AsText() << ", speed "
                                        << (c.Speed.IsNull() ? L"null" : c.Speed.AsText()));
        target_ = TRecordingTarget();
        Answer(qModules, Objects({{{L"DeviceLocator", L"DIMM0"}, {L"MemoryType", c.Type},
                                   {L"Speed", c.Speed}}}));
        std::map<int, String> row = Run();
        EXPECT_EQ(row.count(8) ? row[8] : String(), c.Expected);
        EXPECT_EQ(row[12], L"1");
    }
}

TEST_F(QuerySeries, AsksEveryQueryInOrderOnItsNamespace)
{
    Run();
    std::vector<TScriptedCall> calls = client_.Calls();
    ASSERT_EQ(calls.size(), static_cast<std::size_t>(SeriesLength));
    for (int i = 0; i < SeriesLength; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(calls[i].Computer, L"PC1");
        EXPECT_EQ(calls[i].Namespace, Series[i].Namespace);
        EXPECT_EQ(calls[i].Query, Series[i].Text);
    }
}

TEST_F(QuerySeries, AnUnguardedFailureEndsTheComputerAndKeepsWhatWasWritten)
{
    for (int failing = 0; failing < SeriesLength; ++failing) {
        if (failing == qPredict || failing == qMonitors || failing == qCpu)
            continue;
        SCOPED_TRACE(failing + 1);
        TScriptedWmiClient client;
        TScriptedComputer& computer = QuietComputer(client);
        ::Answer(computer, qOS, Objects({{{L"Caption", L"Windows 10 Pro"}}}));
        // Fails after its first object, so what that object wrote stays.
        ::Answer(computer, failing, {{{{L"Caption", L"Windows 10 Pro"}}, {}}, 1});

        TRecordingTarget target;
        TLongestTexts longest;
        TComputerInventory inventory(target, 2, Texts, longest);
        auto connection = client.Connect(L"PC1");
        EXPECT_THROW(inventory.Run(*connection, L"PC1"), EOleSysError);
        EXPECT_EQ(client.Calls().size(), static_cast<std::size_t>(failing + 1));
        EXPECT_EQ(target.Cell(19, 2), L"Windows 10 Pro");
    }
}

TEST_F(QuerySeries, AValueThatDoesNotConvertFailsTheComputer)
{
    Answer(qModules, Objects({{{L"DeviceLocator", L"DIMM0"}, {L"MemoryType", 0}, {L"Speed", L"fast"}}}));
    EXPECT_THROW(Run(), EConvertError);
    EXPECT_EQ(client_.Calls().size(), static_cast<std::size_t>(qModules + 1));
}

TEST_F(QuerySeries, AdministratorsComeFromTheLocalizedGroupOfTheReportedComputerName)
{
    Answer(qSystem, Objects({{{L"Name", L"SRV-01"}}}));
    Answer(qGroup, Objects({{{L"Name", L"Administrateurs"}}}));
    computer_.Answer(
        wnCimv2,
        LR"(Select PartComponent From Win32_GroupUser WHERE (GroupComponent = "Win32_Group.Domain='SRV-01',Name='Administrateurs'"))",
        Objects({{{L"GroupComponent", L"x"},
                  {L"PartComponent",
                   LR"(\\SRV-01\root\cimv2:Win32_UserAccount.Domain="CORP",Name="Administrator")"}},
                 {{L"PartComponent", L"no group component: skipped"}},
                 {{L"GroupComponent", L"x"},
                  {L"PartComponent", LR"(\\SRV-01\root\cimv2:Win32_Group.Domain="CORP",Name="Domain Admins")"}}}));
    std::map<int, String> row = Run();
    EXPECT_EQ(row[20], L"CORP\\Administrator; CORP\\Domain Admins");
    EXPECT_EQ(target_.Width(20), 117);  // 18 characters x 6.5
}

// From a member path's first quote on, the separator of domain and name
// becomes a backslash and every other quote goes.
TEST_F(QuerySeries, MembersAreReadFromTheirPaths)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {LR"(\\PC\root\cimv2:Win32_UserAccount.Domain="CORP",Name="Admin")", LR"(CORP\Admin)"},
        {L"a path without quotes", L"a path without quotes"},
        {LR"(x:Win32_UserAccount.Domain="PC",Name="O\"Brien")", LR"(PC\O\Brien)"},
        {LR"(x:Win32_Group.Domain="A",Name="B",Name="C")", LR"(A\B\C)"},
        {LR"(x:Win32_UserAccount.Domain="A",Name=")", LR"(A\)"},
        {LR"(x:Win32_UserAccount.Domain="A",Name=)", LR"(A,Name=)"},
    };
    Answer(qSystem, Objects({{{L"Name", L"PC"}}}));
    Answer(qGroup, Objects({{{L"Name", L"G"}}}));
    for (const auto& [path, member] : cases) {
        SCOPED_TRACE(testing::PrintToString(String(path)));
        computer_.Answer(
            wnCimv2,
            LR"(Select PartComponent From Win32_GroupUser WHERE (GroupComponent = "Win32_Group.Domain='PC',Name='G'"))",
            Objects({{{L"GroupComponent", L"x"}, {L"PartComponent", path}}}));
        EXPECT_EQ(Run()[20], member);
    }
}

TEST_F(QuerySeries, QuotesAndBackslashesInNamesCannotChangeTheMembersQuery)
{
    Answer(qSystem, Objects({{{L"Name", L"PC'1\\x"}}}));
    Answer(qGroup, Objects({{{L"Name", L"O'Brien\" Or \"1\"=\"1"}}}));
    computer_.Answer(
        wnCimv2,
        LR"wql(Select PartComponent From Win32_GroupUser WHERE (GroupComponent = "Win32_Group.Domain='PC\\'1\\\\x',Name='O\\'Brien\" Or \"1\"=\"1'"))wql",
        Objects({{{L"GroupComponent", L"x"}, {L"PartComponent", LR"(x:Win32_UserAccount.Domain="PC",Name="Admin")"}}}));
    std::map<int, String> row = Run();
    EXPECT_EQ(row[20], L"PC\\Admin");
}

TEST_F(QuerySeries, LongestTextsGrowOverTheRun)
{
    Answer(qDisks, Objects({{{L"DeviceID", L"C:"}, {L"FreeSpace", L"214748364800"}, {L"Size", L"536870912000"}}}));
    Run();
    EXPECT_EQ(target_.Width(15), 98);  // "C: 500 GB (40%)": 15 x 6.5 = 97.5 to the even 98
    EXPECT_EQ(longest_.LongestDiskText, 15);

    Answer(qDisks, Objects({{{L"DeviceID", L"D:"}, {L"FreeSpace", L"1"}, {L"Size", L"2"}}}));
    TComputerInventory second(target_, 2, Texts, longest_);
    auto connection = client_.Connect(L"PC1");
    second.Run(*connection, L"PC1");
    EXPECT_EQ(target_.Cell(15, 2), L"D: 2 Bytes (50%)");
    EXPECT_EQ(target_.Width(15), 104);  // the new, longer entry: 16 x 6.5

    Answer(qDisks, Objects({{{L"DeviceID", L"E:"}, {L"FreeSpace", L"0"}, {L"Size", L"1"}}}));
    TComputerInventory third(target_, 3, Texts, longest_);
    third.Run(*connection, L"PC1");
    EXPECT_EQ(target_.Width(15), 104);  // a shorter entry does not narrow the column
}

TEST_F(QuerySeries, FailureTextOnlyWhenNoProcessorNameOrHint)
{
    TComputerInventory plain(target_, 1, Texts, longest_);
    plain.WriteName(L"PC1");
    plain.WriteFailure();
    EXPECT_EQ(target_.Row(1), (std::map<int, String>{{0, L"PC1"}, {1, L"unavailable"}}));

    Answer(qOS, Objects({{{L"Caption", L"Windows XP"}}}));
    Answer(qCpu, TScriptedAnswer::Failure());
    Answer(qDisks, TScriptedAnswer::Failure());
    TComputerInventory hinted(target_, 3, Texts, longest_);
    auto connection = client_.Connect(L"PC1");
    EXPECT_THROW(hinted.Run(*connection, L"PC1"), EOleSysError);
    hinted.WriteFailure();
    EXPECT_EQ(target_.Row(3), (std::map<int, String>{{19, L"Windows XP"}, {4, L"hint XP"},
                                                     {11, L"0"}, {12, L"0"}}));
}

TEST_F(QuerySeries, StoppingEndsTheSeriesBeforeTheNextQuery)
{
    TComputerInventory inventory(target_, 1, Texts, longest_);
    auto connection = client_.Connect(L"PC1");
    EXPECT_THROW(inventory.Run(*connection, L"PC1", [&] { return client_.Calls().size() == 3; }),
                 EAbort);
    EXPECT_EQ(client_.Calls().size(), 3u);
}

// ---------------------------------------------------------------------------
// Value formatting

TEST(ValueFormatting, FormatByteSizeTakesTheLargestUnitNotExceeded)
{
    TFormatSettings comma;
    comma.DecimalSeparator = L',';
    const std::pair<std::uint64_t, const wchar_t*> cases[] = {
        {0, L"0 Bytes"},
        {1, L"1 Bytes"},
        {1024, L"1024 Bytes"},  // exactly 1024 stays in bytes
        {1025, L"1 KB"},
        {1536, L"1,5 KB"},
        {1152, L"1,13 KB"},     // 1.125: half up on the decimal digits
        {1048576, L"1024 KB"},
        {1048577, L"1 MB"},
        {1610612736, L"1,5 GB"},
        {8589934592ULL, L"8 GB"},
        {536870912000ULL, L"500 GB"},
        {1099511627776ULL * 3 / 2, L"1,5 TB"},
        {1125899906842625ULL, L"1 PB"},
        {18446744073709551615ULL, L"16 EB"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(FormatByteSize(value, comma), expected) << value;
}

// Sets the global decimal separator for the test's life.
class DecimalSeparatorScope {
public:
    explicit DecimalSeparatorScope(wchar_t separator) : saved_(FormatSettings)
    {
        FormatSettings.DecimalSeparator = separator;
    }
    ~DecimalSeparatorScope() { FormatSettings = saved_; }

private:
    TFormatSettings saved_;
};

TEST(ValueFormatting, FormatByteSizeUsesTheGlobalDecimalSeparator)
{
    for (wchar_t separator : {L',', L'.'}) {
        DecimalSeparatorScope scope(separator);
        EXPECT_EQ(FormatByteSize(1536), String(L"1") + separator + L"5 KB");
        EXPECT_EQ(FormatByteSize32(2684354560u), String(L"2") + separator + L"5 GB");
    }
}

TEST(ValueFormatting, FormatByteSize32CoversTheWholeUnsignedRange)
{
    DecimalSeparatorScope scope(L'.');
    EXPECT_EQ(FormatByteSize32(0), L"0 Bytes");
    EXPECT_EQ(FormatByteSize32(536870912), L"512 MB");
    EXPECT_EQ(FormatByteSize32(4294967295u), L"4 GB");
}

// A size as FormatFloat shows it in the largest unit not exceeded: the
// general routine the sizes' own formatting must match.
String SizeThroughFormatFloat(std::uint64_t value, const TFormatSettings& settings)
{
    const wchar_t* const units[] = {L"Bytes", L"KB", L"MB", L"GB", L"TB",
                                    L"PB",    L"EB", L"ZB", L"YB"};
    const double v = static_cast<double>(value);
    int unit = 0;
    while (unit + 1 < 9 && v > std::pow(1024.0, unit + 1))
        ++unit;
    return FormatFloat(L"###0.##", v / std::pow(1024.0, unit), settings) + L" " + units[unit];
}

TEST(ValueFormatting, FormatByteSizeShowsWhatFormatFloatShows)
{
    std::vector<std::uint64_t> values{0, 1, 999, 18446744073709551615ULL};
    for (int unit = 1; unit <= 6; ++unit) {
        const std::uint64_t size = 1ULL << (10 * unit);
        // Each unit's edges.
        values.insert(values.end(), {size - 1, size, size + 1, size * 1023, size * 1024 - 1});
        // Sizes next to every half hundredth, where rounding to 15 digits
        // first could tip the second decimal.
        for (std::uint64_t whole : {1ULL, 7ULL, 15ULL, 99ULL, 512ULL, 1023ULL}) {
            if (whole >= ~0ULL / size)
                continue;
            for (std::uint64_t hundredth = 0; hundredth < 100; ++hundredth) {
                const std::uint64_t half = whole * size + size / 200 * (2 * hundredth + 1) +
                                           size % 200 * (2 * hundredth + 1) / 200;
                for (std::uint64_t nearby : {half - 2, half - 1, half, half + 1, half + 2})
                    values.push_back(nearby);
            }
        }
    }
    // A spread over every magnitude.
    std::uint64_t seed = 0x9E3779B97F4A7C15ULL;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        values.push_back(seed >> (seed % 61));
    }

    TFormatSettings comma;
    comma.DecimalSeparator = L',';
    int mismatches = 0;
    for (std::uint64_t value : values) {
        const String expected = SizeThroughFormatFloat(value, comma);
        const String actual = FormatByteSize(value, comma);
        if (actual != expected) {
            ADD_FAILURE() << value << ": " << UTF8Encode(actual) << " instead of " << UTF8Encode(expected);
            if (++mismatches == 10)
                break;
        }
    }
}

TEST(ValueFormatting, CollapseSpacesLeavesOneSpaceOfEveryRun)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Intel(R)  Core(TM)     i7", L"Intel(R) Core(TM) i7"},
        {L"   leading", L" leading"},
        {L"trailing   ", L"trailing "},
        {L"tabs\t\tstay", L"tabs\t\tstay"},
        {L"", L""},
        {L"    ", L" "},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(CollapseSpaces(text), expected);
}

} // namespace
