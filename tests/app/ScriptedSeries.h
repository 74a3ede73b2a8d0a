// The query series written out for scripting computers, and helpers to
// build scripted answers.
#pragma once

#include "ScriptedWmiClient.h"
#include <windows.h>
#include <atomic>
#include <memory>

struct TQueryText {
    TWmiNamespace Namespace;
    const wchar_t* Text;
};

enum {
    qOS, qBoard, qPredict, qMonitors, qArrays, qModules, qCpu, qDisks, qDrives, qEnclosure,
    qNetwork, qSystem, qVideo, qGroup, qMembers, qShares, qActivation
};

// The series of a computer that reports the name "PC1" and whose
// administrators group is "Administrators".
inline const TQueryText Series[] = {
    {wnCimv2, L"Select Caption From Win32_OperatingSystem"},
    {wnCimv2, L"Select Product, Manufacturer From Win32_BaseBoard"},
    {wnWmi, L"Select PredictFailure From MSStorageDriver_FailurePredictStatus"},
    {wnWmi, L"Select * From WmiMonitorID"},
    {wnCimv2, L"Select MemoryDevices, MaxCapacity From Win32_PhysicalMemoryArray"},
    {wnCimv2, L"Select DeviceLocator, MemoryType, speed From win32_PhysicalMemory"},
    {wnCimv2, L"Select Name, MaxClockSpeed, SocketDesignation, NumberOfCores From Win32_Processor"},
    {wnCimv2, L"Select DeviceID, FreeSpace, Size From Win32_LogicalDisk where drivetype=3"},
    {wnCimv2, L"Select MediaType From Win32_DiskDrive"},
    {wnCimv2, L"Select SerialNumber From Win32_SystemEnclosure"},
    {wnCimv2, L"SELECT IPAddress,MACAddress FROM Win32_NetworkAdapterConfiguration WHERE IPEnabled='True'"},
    {wnCimv2, L"Select name, NumberOfProcessors, Model, username, TotalPhysicalMemory From Win32_ComputerSystem"},
    {wnCimv2, L"Select Caption, AdapterRAM From Win32_videoController"},
    {wnCimv2, L"Select name From Win32_Group Where LocalAccount=TRUE And SID='S-1-5-32-544'"},
    {wnCimv2, LR"(Select PartComponent From Win32_GroupUser WHERE (GroupComponent = "Win32_Group.Domain='PC1',Name='Administrators'"))"},
    {wnCimv2, L"Select Name, Type From Win32_Share"},
    {wnCimv2, L"Select name, applicationID, licensestatus, partialproductkey From softwarelicensingproduct"},
};
constexpr int SeriesLength = sizeof(Series) / sizeof(Series[0]);

inline TScriptedAnswer Objects(std::initializer_list<TScriptedObject> objects)
{
    return {objects, -1};
}

// A WMI byte array: the text's bytes, padded with zeros as monitors report them.
inline TWmiValue Bytes(const char* text)
{
    std::vector<TWmiValue> bytes;
    for (const char* p = text; *p; ++p)
        bytes.emplace_back(static_cast<int>(static_cast<unsigned char>(*p)));
    bytes.insert(bytes.end(), 3, TWmiValue(0));
    return TWmiValue(std::move(bytes));
}

inline TWmiValue Strings(std::initializer_list<const wchar_t*> texts)
{
    std::vector<TWmiValue> items;
    for (const wchar_t* text : texts)
        items.emplace_back(text);
    return TWmiValue(std::move(items));
}

inline void Answer(TScriptedComputer& computer, int query, TScriptedAnswer answer)
{
    computer.Answer(Series[query].Namespace, Series[query].Text, std::move(answer));
}

// A computer that answers every query of the series with nothing but its
// reported name and its administrators group; a case replaces the answers
// it is about.
inline TScriptedComputer& QuietComputer(TScriptedWmiClient& client, const String& name = L"PC1")
{
    TScriptedComputer& computer = client.Computer(name);
    for (const TQueryText& query : Series)
        computer.Answer(query.Namespace, query.Text, {});
    Answer(computer, qSystem, Objects({{{L"Name", L"PC1"}}}));
    Answer(computer, qGroup, Objects({{{L"Name", L"Administrators"}}}));
    return computer;
}

// Three computers that answer as quiet ones, each reporting its own
// operating system ("Windows of PC1" ...).
inline std::shared_ptr<TScriptedWmiClient> ThreeComputers()
{
    auto client = std::make_shared<TScriptedWmiClient>();
    for (const wchar_t* name : {L"PC1", L"PC2", L"PC3"})
        Answer(QuietComputer(*client, name), qOS, Objects({{{L"Caption", String(L"Windows of ") + name}}}));
    return client;
}

// Holds one query of one computer in flight until the test lets it go or
// the hold goes. Holds chain: each one keeps the handler the client had.
// Set them up before the client is used: the handler is read unlocked.
class TQueryHold {
public:
    TQueryHold(TScriptedWmiClient& client, const String& computer, const String& query)
        : state_(std::make_shared<TState>())
    {
        // The handler keeps the state, so a worker that outlives the hold
        // finds it still there.
        client.OnQuery = [previous = client.OnQuery, state = state_, computer, query](const TScriptedCall& call) {
            if (previous)
                previous(call);
            if (call.Computer != computer || call.Query != query)
                return;
            SetEvent(state->reached);
            if (WaitForSingleObject(state->release, 20000) != WAIT_OBJECT_0)
                state->timedOut = true;
            state->left = true;
        };
    }
    ~TQueryHold() { Release(); }
    TQueryHold(const TQueryHold&) = delete;
    TQueryHold& operator=(const TQueryHold&) = delete;

    HANDLE Reached() const { return state_->reached; }
    bool IsReached() const { return WaitForSingleObject(state_->reached, 0) == WAIT_OBJECT_0; }
    void Release() { SetEvent(state_->release); }
    bool Left() const { return state_->left; }
    bool TimedOut() const { return state_->timedOut; }

private:
    struct TState {
        HANDLE reached = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::atomic<bool> left{false};
        std::atomic<bool> timedOut{false};
        ~TState()
        {
            CloseHandle(reached);
            CloseHandle(release);
        }
    };
    std::shared_ptr<TState> state_;
};
