// What the inventory worker costs per computer, next to what WMI itself
// costs: the worker's own cost with scripted answers as a fraction of one
// real local WMI round trip (goal: under 1%), and a run of 1,000 scripted
// computers that must leave the handle and GDI object counts as they were.
//
// Run: scripts/build x86_64 bench_InventoryBench, then under the project's
// Wine prefix: wine build/x86_64/bench/bench_InventoryBench.exe
#include <windows.h>
#include <objbase.h>
#include <algorithm>
#include <cstdio>
#include "BenchClock.h"
#include "InventoryRun.h"
#include "ScriptedWmiClient.h"
#include "TestSupport.h"

namespace {

using bench::Best;
using bench::Median;
using bench::Seconds;

// Real local round trips, each a query and the walk over its answer, timed
// one by one: their spread under Wine is wide, so the benchmark works with
// the median and shows the spread.
struct TRoundTrips {
    double Median = 0;
    double Low = 0;   // a tenth of the samples are faster
    double High = 0;  // a tenth are slower
    int Samples = 0;
};

TRoundTrips LocalRoundTrips(IWmiConnection& connection, int samples)
{
    String caption;
    auto ask = [&] {
        connection.ExecQuery(wnCimv2, L"Select Caption From Win32_OperatingSystem",
                             [&](const TWmiObject& os) { caption = os.Get(L"Caption").AsText(); });
    };
    ask();  // the first query loads the provider
    std::vector<double> times;
    for (int i = 0; i < samples; ++i) {
        double start = Seconds();
        ask();
        times.push_back(Seconds() - start);
    }
    std::sort(times.begin(), times.end());
    auto at = [&](double fraction) {
        return times[static_cast<std::size_t>(fraction * (samples - 1) + 0.5)];
    };
    return {Median(times), at(0.1), at(0.9), samples};
}

TScriptedObject Object(std::initializer_list<std::pair<String, TWmiValue>> properties)
{
    return TScriptedObject(properties);
}

TWmiValue Bytes(const char* text)
{
    std::vector<TWmiValue> bytes;
    for (const char* p = text; *p; ++p)
        bytes.emplace_back(static_cast<int>(*p));
    bytes.insert(bytes.end(), 3, TWmiValue(0));
    return TWmiValue(std::move(bytes));
}

// A typical office computer, answering for every name.
std::shared_ptr<TScriptedWmiClient> TypicalComputers()
{
    auto client = std::make_shared<TScriptedWmiClient>();
    TScriptedComputer& pc = client->Computer(L"*");
    auto answer = [&](TWmiNamespace ns, const wchar_t* wql, std::vector<TScriptedObject> objects) {
        pc.Answer(ns, wql, {std::move(objects), -1});
    };
    answer(wnCimv2, L"Select Caption From Win32_OperatingSystem",
           {Object({{L"Caption", L"Microsoft Windows 10 Pro"}})});
    answer(wnCimv2, L"Select Product, Manufacturer From Win32_BaseBoard",
           {Object({{L"Product", L"0XHGV1"}, {L"Manufacturer", L"Dell Inc."}})});
    answer(wnWmi, L"Select PredictFailure From MSStorageDriver_FailurePredictStatus",
           {Object({{L"PredictFailure", false}}), Object({{L"PredictFailure", false}})});
    answer(wnWmi, L"Select * From WmiMonitorID",
           {Object({{L"SerialNumberID", Bytes("CN0K1234ABCD")}, {L"ManufacturerName", Bytes("DEL")},
                    {L"UserFriendlyName", Bytes("DELL U2412M")}})});
    answer(wnCimv2, L"Select MemoryDevices, MaxCapacity From Win32_PhysicalMemoryArray",
           {Object({{L"MemoryDevices", 4}, {L"MaxCapacity", 33554432}})});
    answer(wnCimv2, L"Select DeviceLocator, MemoryType, speed From win32_PhysicalMemory",
           {Object({{L"DeviceLocator", L"DIMM1"}, {L"MemoryType", 0}, {L"Speed", 2666}}),
            Object({{L"DeviceLocator", L"DIMM2"}, {L"MemoryType", 0}, {L"Speed", 2666}})});
    answer(wnCimv2,
           L"Select Name, MaxClockSpeed, SocketDesignation, NumberOfCores From Win32_Processor",
           {Object({{L"Name", L"Intel(R) Core(TM) i5-8500 CPU @ 3.00GHz"}, {L"MaxClockSpeed", 3000},
                    {L"SocketDesignation", L"U3E1"}, {L"NumberOfCores", 6}})});
    answer(wnCimv2, L"Select DeviceID, FreeSpace, Size From Win32_LogicalDisk where drivetype=3",
           {Object({{L"DeviceID", L"C:"}, {L"FreeSpace", L"102005473280"}, {L"Size", L"254721126400"}}),
            Object({{L"DeviceID", L"D:"}, {L"FreeSpace", L"812345678912"}, {L"Size", L"1000202039296"}})});
    answer(wnCimv2, L"Select MediaType From Win32_DiskDrive",
           {Object({{L"MediaType", L"Fixed hard disk media"}}),
            Object({{L"MediaType", L"Fixed hard disk media"}})});
    answer(wnCimv2, L"Select SerialNumber From Win32_SystemEnclosure",
           {Object({{L"SerialNumber", L"7XK2Q13"}})});
    answer(wnCimv2,
           L"SELECT IPAddress,MACAddress FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled='True'",
           {Object({{L"IPAddress", std::vector<TWmiValue>{L"10.20.30.40", L"fe80::a1b2:c3d4:e5f6:1"}},
                    {L"MACAddress", L"D4:81:D7:12:34:56"}}),
            Object({{L"MACAddress", L"0A:00:27:00:00:05"}})});
    answer(wnCimv2,
           L"Select name, NumberOfProcessors, Model, username, TotalPhysicalMemory From Win32_ComputerSystem",
           {Object({{L"Name", L"BENCH"}, {L"NumberOfProcessors", 1}, {L"Model", L"OptiPlex 5060"},
                    {L"UserName", L"CORP\\j.smith"}, {L"TotalPhysicalMemory", L"17026248704"}})});
    answer(wnCimv2, L"Select Caption, AdapterRAM From Win32_videoController",
           {Object({{L"Caption", L"Intel(R) UHD Graphics 630"}, {L"AdapterRAM", 1073741824}})});
    answer(wnCimv2, L"Select name From Win32_Group Where LocalAccount=TRUE And SID='S-1-5-32-544'",
           {Object({{L"Name", L"Administrators"}})});
    answer(wnCimv2,
           L"Select PartComponent From Win32_GroupUser WHERE (GroupComponent = "
           L"\"Win32_Group.Domain='BENCH',Name='Administrators'\")",
           {Object({{L"GroupComponent", L"g"},
                    {L"PartComponent", L"\\\\BENCH\\root\\cimv2:Win32_UserAccount.Domain=\"BENCH\",Name=\"Administrator\""}}),
            Object({{L"GroupComponent", L"g"},
                    {L"PartComponent", L"\\\\BENCH\\root\\cimv2:Win32_Group.Domain=\"CORP\",Name=\"Domain Admins\""}})});
    answer(wnCimv2, L"Select Name, Type From Win32_Share",
           {Object({{L"Name", L"ADMIN$"}, {L"Type", 2147483648LL}}),
            Object({{L"Name", L"C$"}, {L"Type", 2147483648LL}}),
            Object({{L"Name", L"IPC$"}, {L"Type", 2147483651LL}}),
            Object({{L"Name", L"print$"}, {L"Type", 0}}),
            Object({{L"Name", L"Scans"}, {L"Type", 0}})});
    answer(wnCimv2,
           L"Select name, applicationID, licensestatus, partialproductkey From softwarelicensingproduct",
           {Object({{L"Name", L"Office 16, Office16ProPlusVL_KMS_Client edition"}, {L"LicenseStatus", 0}}),
            Object({{L"Name", L"Windows(R), Professional edition"}, {L"LicenseStatus", 1},
                    {L"PartialProductKey", L"T83GX"}})});
    return client;
}

// The window's controls, as cheap as they can be.
class TCountingTarget : public TInventoryTarget {
public:
    void SetCellText(int, int, const String&) override { ++Changes; }
    void SetColWidth(int, int) override { ++Changes; }
    void SetGaugeMaximum(int) override { ++Changes; }
    void SetGaugePosition(int) override { ++Changes; }
    void SetGaugeVisible(bool) override { ++Changes; }
    void SetCancelEnabled(bool) override { ++Changes; }
    long Changes = 0;
};

// Runs the names to the end and returns the worker's time: the main thread
// waits meanwhile, so that time is the worker's alone. The changes are
// applied afterwards, as the window's message loop would.
double RunToTheEnd(TInventoryRun& run, int computers, double* applyTime = nullptr)
{
    double start = Seconds();
    run.Start(std::vector<String>(static_cast<std::size_t>(computers), L"PC"), TInventoryTexts());
    run.WaitForWorker(INFINITE);
    double worker = Seconds() - start;
    start = Seconds();
    run.ApplyChanges();
    if (applyTime)
        *applyTime = Seconds() - start;
    return worker;
}

// What one computer's inventory asks of the client: each query, and for each
// object of its answer the properties read, in order.
struct TQueryReads {
    TWmiNamespace Namespace = wnCimv2;
    String Query;
    std::vector<std::vector<String>> Reads;  // per object
};

class TLoggingObject : public TWmiObject {
public:
    TLoggingObject(const TWmiObject& inner, std::vector<String>& reads)
        : inner_(inner), reads_(reads)
    {
    }
    TWmiValue Get(const wchar_t* name) const override
    {
        reads_.emplace_back(name);
        return inner_.Get(name);
    }

private:
    const TWmiObject& inner_;
    std::vector<String>& reads_;
};

class TLoggingConnection : public IWmiConnection {
public:
    TLoggingConnection(IWmiConnection& inner, std::vector<TQueryReads>& log)
        : inner_(inner), log_(log)
    {
    }
    void ExecQuery(TWmiNamespace ns, const String& wql, const TWmiVisitor& visit) override
    {
        log_.push_back({ns, wql, {}});
        std::size_t query = log_.size() - 1;
        inner_.ExecQuery(ns, wql, [&](const TWmiObject& object) {
            std::vector<std::vector<String>>& reads = log_[query].Reads;
            reads.emplace_back();
            visit(TLoggingObject(object, reads.back()));
        });
    }

private:
    IWmiConnection& inner_;
    std::vector<TQueryReads>& log_;
};

std::vector<TQueryReads> ReadsOfOneComputer(IWmiClient& client)
{
    std::vector<TQueryReads> log;
    std::unique_ptr<IWmiConnection> connection = client.Connect(L"PC");
    TLoggingConnection logging(*connection, log);
    TCountingTarget ignored;
    TLongestTexts longest;
    TComputerInventory(ignored, 1, TInventoryTexts(), longest).Run(logging, L"PC");
    return log;
}

// What the scripted client itself takes for one computer: the connection,
// the same queries answered and walked, and every property read the worker
// makes, with nobody using the values. A real client's reads belong to its
// round trips in the same way.
double ScriptedClientShare(IWmiClient& client, const std::vector<TQueryReads>& reads,
                           int computers)
{
    double start = Seconds();
    for (int i = 0; i < computers; ++i) {
        std::unique_ptr<IWmiConnection> connection = client.Connect(L"PC");
        for (const TQueryReads& query : reads) {
            std::size_t object = 0;
            try {
                connection->ExecQuery(query.Namespace, query.Query, [&](const TWmiObject& o) {
                    if (object < query.Reads.size())
                        for (const String& name : query.Reads[object])
                            o.Get(name.c_str());
                    ++object;
                });
            } catch (const Exception&) {
                // A scripted failure costs the client; the worker's handling is its own.
            }
        }
    }
    return Seconds() - start;
}

// Wine answers GetProcessHandleCount with 0, so handles are counted by
// asking after every handle value instead.
DWORD OpenHandles()
{
    DWORD count = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return count;
}

struct TCounts {
    DWORD Handles = 0;
    DWORD GdiObjects = 0;
    bool operator==(const TCounts&) const = default;
};

TCounts CountsNow() { return {OpenHandles(), testing_support::GdiObjectCount()}; }

// A finished worker's thread object goes a moment after its last change.
TCounts SettledCounts(const TCounts& expected)
{
    TCounts counts = CountsNow();
    for (int i = 0; i < 100 && !(counts == expected); ++i) {
        Sleep(10);
        counts = CountsNow();
    }
    return counts;
}

} // namespace

int wmain()
{
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    TRoundTrips roundTrips;
    double realComputer = 0;
    try {
        TWbemClient wbem;
        std::unique_ptr<IWmiConnection> local = wbem.Connect(String());
        roundTrips = LocalRoundTrips(*local, 400);
        TCountingTarget ignored;
        TLongestTexts longest;
        realComputer = Best(3, [&] {
            double start = Seconds();
            std::unique_ptr<IWmiConnection> connection = wbem.Connect(String());
            TComputerInventory(ignored, 1, TInventoryTexts(), longest).Run(*connection, String());
            return Seconds() - start;
        });
    } catch (const Exception& e) {
        std::fwprintf(stderr, L"local WMI is not available: %ls\n", e.Message().c_str());
        return 1;
    }
    if (SUCCEEDED(com))
        CoUninitialize();

    auto client = TypicalComputers();
    TCountingTarget target;
    TInventoryRun run(target, client);
    RunToTheEnd(run, 20);  // warm-up: first COM start, allocations that stay

    // A run's own start and end (its thread, COM's first start there) come
    // once per run: a run of one computer shows them. Over the long run
    // measured here they count for about a microsecond per computer.
    double runOfOne = Best(5, [&] { return RunToTheEnd(run, 1); });
    const std::vector<TQueryReads> reads = ReadsOfOneComputer(*client);
    std::size_t propertyReads = 0;
    for (const TQueryReads& query : reads)
        for (const auto& object : query.Reads)
            propertyReads += object.size();
    // Worker runs and the client's share taken in turns, so that both meet
    // the same load; each is the median of its runs.
    const int sample = 1000;
    const int runs = 41;
    std::vector<double> workerRuns, clientRuns, applyRuns;
    for (int i = 0; i < runs; ++i) {
        double apply = 0;
        workerRuns.push_back(RunToTheEnd(run, sample, &apply) / sample);
        applyRuns.push_back(apply / sample);
        clientRuns.push_back(ScriptedClientShare(*client, reads, sample) / sample);
    }
    const double worker = Median(workerRuns);
    const double clientShare = Median(clientRuns);
    const double own = worker - clientShare;
    // How far the runs scatter: the own cost of each worker run against the
    // client's run next to it.
    std::vector<double> ownRuns;
    for (int i = 0; i < runs; ++i)
        ownRuns.push_back(workerRuns[static_cast<std::size_t>(i)] - clientRuns[static_cast<std::size_t>(i)]);
    std::sort(ownRuns.begin(), ownRuns.end());
    const double ownLow = ownRuns[runs / 4];
    const double ownHigh = ownRuns[runs - 1 - runs / 4];
    const double roundTrip = roundTrips.Median;

    TCounts before = SettledCounts(CountsNow());
    const int computers = 1000;
    target.Changes = 0;
    RunToTheEnd(run, computers);
    TCounts after = SettledCounts(before);

    std::wprintf(L"local WMI round trip (one query and its walk): median %.1f us of %d, "
                 L"a tenth below %.1f us, a tenth above %.1f us\n",
                 roundTrip * 1e6, roundTrips.Samples, roundTrips.Low * 1e6, roundTrips.High * 1e6);
    std::wprintf(L"local computer, real (connection and the 17 queries): %.1f ms\n",
                 realComputer * 1e3);
    std::wprintf(L"a run's start and end (a run of one computer): %.2f ms, once per run\n",
                 runOfOne * 1e3);
    std::wprintf(L"worker per computer over a run of %d, scripted, median of %d runs: %.1f us, of "
                 L"which the scripted client %.1f us (%u queries, %u property reads)\n",
                 sample, runs, worker * 1e6, clientShare * 1e6, static_cast<unsigned>(reads.size()),
                 static_cast<unsigned>(propertyReads));
    std::wprintf(L"worker's own cost per computer: %.1f us = %.2f%% of one round trip "
                 L"(goal: under 1%%), %.3f%% of a real local computer\n",
                 own * 1e6, own / roundTrip * 100, own / realComputer * 100);
    std::wprintf(L"  pairs of runs side by side: a quarter below %.1f us, a quarter above %.1f us\n",
                 ownLow * 1e6, ownHigh * 1e6);
    std::wprintf(L"main thread applying one computer's changes: %.1f us\n",
                 Median(applyRuns) * 1e6);
    std::wprintf(L"%d computers, %ld changes; handles %lu before, %lu after; GDI objects %lu "
                 L"before, %lu after: %ls\n",
                 computers, target.Changes, before.Handles, after.Handles, before.GdiObjects,
                 after.GdiObjects, before == after ? L"unchanged" : L"CHANGED");
    return before == after ? 0 : 1;
}
