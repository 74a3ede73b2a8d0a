// The WMI query series that fills one computer's row of the inventory table,
// and the value formatting its cells use.
#pragma once

#include "InventoryTarget.h"
#include "WmiClient.h"
#include <array>
#include <cstdint>
#include <functional>

// Byte counts as text with the largest unit not exceeded ("1024 Bytes",
// "1.5 KB", "8 GB"): at most two decimals, the decimal separator of the
// settings (by default the global FormatSettings, the user's).
String FormatByteSize(std::uint64_t Value);
String FormatByteSize(std::uint64_t Value, const TFormatSettings& Settings);
String FormatByteSize32(Cardinal Value);
String FormatByteSize32(Cardinal Value, const TFormatSettings& Settings);

// Every run of consecutive spaces becomes one space.
String CollapseSpaces(const String& Text);

constexpr int InventoryColCount = 28;

// The language texts a run writes into cells, taken from the language file's
// section "messages_" + language code when the run starts.
struct TInventoryTexts {
    String GridWmi = L"Computer or WMI service is unavailable.";
    String GridInstKb2003 = L"Install KB932370 on target PC.";
    String GridInstKbXP = L"Install KB932370 on target PC.";
};

// Text lengths that size columns; they grow over a whole run.
struct TLongestTexts {
    int LongestDiskText = 0;
    int LongestAdminText = 0;
    int LongestIPText = 0;
    int LongestMACText = 0;
    int LongestShareText = 0;
    int LongestUserText = 0;
};

// The inventory of one computer: runs the query series over a connection and
// writes the row's cells and the column widths through the target. It keeps
// the row's texts itself, since the rules read back what they wrote and the
// target may apply the writes later on another thread.
class TComputerInventory {
public:
    // Settings formats the sizes; a worker passes its own copy, since the
    // global FormatSettings belongs to the main thread.
    TComputerInventory(TInventoryTarget& Target, int Row, const TInventoryTexts& Texts,
                       TLongestTexts& Longest, const TFormatSettings& Settings = FormatSettings);

    // Column 0: the name as listed.
    void WriteName(const String& Name);
    // The query series in its order. A failure that no query guards itself
    // raises; Stopped, when set, is asked before each query and ends the
    // series with EAbort once it answers true.
    void Run(IWmiConnection& Connection, const String& Name,
             const std::function<bool()>& Stopped = nullptr);
    // A computer that failed: the failure text into column 1, unless column 4
    // already holds a processor name or the update hint.
    void WriteFailure();

    const String& Cell(int ACol) const { return cells_.at(static_cast<std::size_t>(ACol)); }

private:
    void SetCell(int ACol, String Value);
    void SetCellFrom(int ACol, TWmiValue Value);
    void AppendCell(int ACol, const String& Entry);
    void SetWidthFrom(int ACol, int Length, double PixelsPerChar);
    void Exec(TWmiNamespace ns, const String& wql, const TWmiVisitor& visit);

    void QueryOperatingSystem();
    void QueryBaseBoard();
    void QueryFailurePrediction();
    void QueryMonitors();
    void QueryMemoryArrays();
    void QueryMemoryModules();
    void QueryProcessor();
    void QueryLogicalDisks();
    void QueryDiskDrives();
    void QueryEnclosure();
    void QueryNetwork();
    void QueryComputerSystem();
    void QueryVideo();
    void QueryAdminGroup();
    void QueryAdminMembers();
    void QueryShares();
    void QueryActivation();

    TInventoryTarget& target_;
    int row_;
    const TInventoryTexts& texts_;
    TLongestTexts& longest_;
    const TFormatSettings& settings_;
    std::array<String, InventoryColCount> cells_{};

    IWmiConnection* connection_ = nullptr;
    String groupDomain_;    // the computer's name as used in the members query
    String groupName_;
    String adminList_;
    String lastShareName_;
    String monitorNames_;
    String monitorSerials_;
};
