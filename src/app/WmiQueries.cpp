#include "WmiQueries.h"
#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------------------
// Value formatting

namespace {

const wchar_t* const SizeUnits[] = {L"Bytes", L"KB", L"MB", L"GB", L"TB",
                                    L"PB",    L"EB", L"ZB", L"YB"};
constexpr int SizeUnitCount = sizeof(SizeUnits) / sizeof(SizeUnits[0]);
constexpr double UnitSizes[SizeUnitCount] = {0x1p0,  0x1p10, 0x1p20, 0x1p30, 0x1p40,
                                             0x1p50, 0x1p60, 0x1p70, 0x1p80};

// Writes the decimal digits of a number at out; returns the end.
wchar_t* WriteDigits(wchar_t* out, std::uint64_t value)
{
    wchar_t digits[20];
    int count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0)
        *out++ = digits[--count];
    return out;
}

} // namespace

// The sizes read as FormatFloat("###0.##") shows them, which rounds the value
// to 15 significant digits and then to two places, half up. Rounding the
// binary value to two places at once gives the same text unless it lies
// within a hair of a half hundredth, where the first step may tip it: those
// few values go through FormatFloat itself. This keeps the worker clear of
// FormatFloat's parsing and printing for the four or five sizes of each computer.
String FormatByteSize(std::uint64_t Value, const TFormatSettings& Settings)
{
    const double value = static_cast<double>(Value);
    int unit = 0;
    while (unit + 1 < SizeUnitCount && value > UnitSizes[unit + 1])
        ++unit;
    const double scaled = value / UnitSizes[unit];  // exact: a power of two
    const double whole = std::floor(scaled);
    const double hundredths = (scaled - whole) * 100;
    const double below = std::floor(hundredths);
    const double rest = hundredths - below;
    if (std::fabs(rest - 0.5) < 1e-6) {
        static const String Pattern = L"###0.##";
        return FormatFloat(Pattern, scaled, Settings) + L" " + SizeUnits[unit];
    }
    const auto rounded = static_cast<std::uint64_t>(whole) * 100 +
                         static_cast<std::uint64_t>(below) + (rest > 0.5 ? 1 : 0);
    // Built in place, so the text is allocated once.
    wchar_t text[40];
    wchar_t* end = WriteDigits(text, rounded / 100);
    if (const auto fraction = static_cast<unsigned>(rounded % 100); fraction != 0) {
        *end++ = Settings.DecimalSeparator;
        *end++ = static_cast<wchar_t>(L'0' + fraction / 10);
        if (fraction % 10 != 0)
            *end++ = static_cast<wchar_t>(L'0' + fraction % 10);
    }
    *end++ = L' ';
    for (const wchar_t* name = SizeUnits[unit]; *name; ++name)
        *end++ = *name;
    return String(text, end);
}

String FormatByteSize(std::uint64_t Value) { return FormatByteSize(Value, FormatSettings); }

String FormatByteSize32(Cardinal Value, const TFormatSettings& Settings)
{
    return FormatByteSize(Value, Settings);
}

String FormatByteSize32(Cardinal Value) { return FormatByteSize32(Value, FormatSettings); }

String CollapseSpaces(const String& Text)
{
    String result;
    result.reserve(Text.size());
    for (wchar_t c : Text)
        if (c != L' ' || result.empty() || result.back() != L' ')
            result += c;
    return result;
}

// ---------------------------------------------------------------------------
// Helpers of the query rules

namespace {

bool Contains(const String& text, const String& part) { return text.find(part) != String::npos; }

// The non-zero bytes of a WMI byte array as text in the system's 8-bit code page.
String BytesToText(const TWmiValue& bytes)
{
    AnsiString narrow;
    for (const TWmiValue& item : bytes.Items()) {
        Int64 code = item.AsInteger();
        if (code != 0)
            narrow += static_cast<char>(code & 0xFF);
    }
    return AnsiToWide(narrow);
}

// The longest-text counters only grow.
void GrowTo(int& longest, const String& text)
{
    longest = std::max(longest, static_cast<int>(text.size()));
}

// Appends the text with a backslash before each backslash and each quote character.
void AppendEscaped(String& to, const String& value, wchar_t quote)
{
    for (wchar_t c : value) {
        if (c == L'\\' || c == quote)
            to += L'\\';
        to += c;
    }
}

// Appends an entry to a list of entries separated by "; ".
void AppendEntry(String& list, const String& entry)
{
    if (!list.empty())
        list += L"; ";
    list += entry;
}

// "\\PC\root\cimv2:Win32_UserAccount.Domain="CORP",Name="Administrator"" gives CORP\Administrator:
// from the first quote on, the separator of domain and name becomes a
// backslash and the other quotes go.
String MemberFromPath(const String& partComponent)
{
    static const String Separator = L"\",Name=\"";
    std::size_t at = partComponent.find(L'"');
    if (at == String::npos)
        at = 0;
    String member;
    member.reserve(partComponent.size() - at);
    while (at < partComponent.size()) {
        if (partComponent.compare(at, Separator.size(), Separator) == 0) {
            member += L'\\';
            at += Separator.size();
        } else {
            if (partComponent[at] != L'"')
                member += partComponent[at];
            ++at;
        }
    }
    return member;
}

} // namespace

// ---------------------------------------------------------------------------
// TComputerInventory

TComputerInventory::TComputerInventory(TInventoryTarget& Target, int Row,
                                       const TInventoryTexts& Texts, TLongestTexts& Longest,
                                       const TFormatSettings& Settings)
    : target_(Target), row_(Row), texts_(Texts), longest_(Longest), settings_(Settings)
{
}

void TComputerInventory::WriteName(const String& Name) { SetCell(0, Name); }

void TComputerInventory::Run(IWmiConnection& Connection, const String& Name,
                             const std::function<bool()>& Stopped)
{
    using TQuery = void (TComputerInventory::*)();
    static constexpr TQuery Series[] = {
        &TComputerInventory::QueryOperatingSystem,
        &TComputerInventory::QueryBaseBoard,
        &TComputerInventory::QueryFailurePrediction,
        &TComputerInventory::QueryMonitors,
        &TComputerInventory::QueryMemoryArrays,
        &TComputerInventory::QueryMemoryModules,
        &TComputerInventory::QueryProcessor,
        &TComputerInventory::QueryLogicalDisks,
        &TComputerInventory::QueryDiskDrives,
        &TComputerInventory::QueryEnclosure,
        &TComputerInventory::QueryNetwork,
        &TComputerInventory::QueryComputerSystem,
        &TComputerInventory::QueryVideo,
        &TComputerInventory::QueryAdminGroup,
        &TComputerInventory::QueryAdminMembers,
        &TComputerInventory::QueryShares,
        &TComputerInventory::QueryActivation,
    };
    connection_ = &Connection;
    groupDomain_ = Name;
    groupName_.clear();
    adminList_.clear();
    lastShareName_.clear();
    monitorNames_.clear();
    monitorSerials_.clear();
    for (TQuery query : Series) {
        if (Stopped && Stopped())
            throw EAbort(L"The inventory was cancelled");
        (this->*query)();
    }
    connection_ = nullptr;
}

void TComputerInventory::WriteFailure()
{
    if (Cell(4).empty())
        SetCell(1, texts_.GridWmi);
}

void TComputerInventory::SetCell(int ACol, String Value)
{
    String& cell = cells_.at(static_cast<std::size_t>(ACol));
    cell = std::move(Value);
    target_.SetCellText(ACol, row_, cell);
}

// A null property leaves its cell as it is.
void TComputerInventory::SetCellFrom(int ACol, TWmiValue Value)
{
    if (!Value.IsNull())
        SetCell(ACol, std::move(Value).AsText());
}

void TComputerInventory::AppendCell(int ACol, const String& Entry)
{
    String& cell = cells_.at(static_cast<std::size_t>(ACol));
    AppendEntry(cell, Entry);
    target_.SetCellText(ACol, row_, cell);
}

// A run that has seen no text of a kind yet would give the column width 0,
// which hides it; such a column keeps its width.
void TComputerInventory::SetWidthFrom(int ACol, int Length, double PixelsPerChar)
{
    auto width = static_cast<int>(Round(Length * PixelsPerChar));
    if (width > 0)
        target_.SetColWidth(ACol, width);
}

void TComputerInventory::Exec(TWmiNamespace ns, const String& wql, const TWmiVisitor& visit)
{
    connection_->ExecQuery(ns, wql, visit);
}

void TComputerInventory::QueryOperatingSystem()
{
    static const String Query = L"Select Caption From Win32_OperatingSystem";
    Exec(wnCimv2, Query, [&](const TWmiObject& os) { SetCellFrom(19, os.Get(L"Caption")); });
}

void TComputerInventory::QueryBaseBoard()
{
    static const String Query = L"Select Product, Manufacturer From Win32_BaseBoard";
    Exec(wnCimv2, Query, [&](const TWmiObject& board) {
        TWmiValue product = board.Get(L"Product");
        TWmiValue maker = board.Get(L"Manufacturer");
        if (product.IsNull() || maker.IsNull())
            SetCell(2, L"-");
        else
            SetCell(2, std::move(product).AsText() + L" " + std::move(maker).AsText());
    });
}

void TComputerInventory::QueryFailurePrediction()
{
    static const String Query = L"Select PredictFailure From MSStorageDriver_FailurePredictStatus";
    bool failing = false;
    try {
        Exec(wnWmi, Query, [&](const TWmiObject& disk) {
            TWmiValue predict = disk.Get(L"PredictFailure");
            if (failing || predict.IsNull())
                return;
            failing = predict.AsBoolean();
            SetCell(14, failing ? L"FAILED" : L"OK");
        });
    } catch (const Exception&) {
        // A disk already found failing stays shown.
        if (!failing)
            SetCell(14, L"-");
    }
}

// Each monitor with a serial number adds one entry; several monitors are
// listed like the other multi-valued cells.
void TComputerInventory::QueryMonitors()
{
    static const String Query = L"Select * From WmiMonitorID";
    try {
        Exec(wnWmi, Query, [&](const TWmiObject& monitor) {
            TWmiValue serial = monitor.Get(L"SerialNumberID");
            if (!serial.IsNull()) {
                TWmiValue maker = monitor.Get(L"ManufacturerName");
                TWmiValue model = monitor.Get(L"UserFriendlyName");
                String name = (maker.IsNull() ? String() : BytesToText(maker)) + L" " +
                              (model.IsNull() ? String() : BytesToText(model));
                String serialText = BytesToText(serial);
                AppendEntry(monitorNames_, name);
                AppendEntry(monitorSerials_, serialText);
            }
            SetCell(18, monitorNames_);
            SetCell(27, monitorSerials_);
        });
    } catch (const Exception&) {
        // Many computers have no monitor class; the columns keep what they hold.
    }
}

void TComputerInventory::QueryMemoryArrays()
{
    static const String Query = L"Select MemoryDevices, MaxCapacity From Win32_PhysicalMemoryArray";
    Int64 slots = 0;
    std::uint64_t capacityKB = 0;
    Exec(wnCimv2, Query, [&](const TWmiObject& array) {
        TWmiValue devices = array.Get(L"MemoryDevices");
        if (devices.IsNull())
            return;
        slots += devices.AsInteger();
        TWmiValue capacity = array.Get(L"MaxCapacity");
        if (!capacity.IsNull())
            capacityKB += static_cast<std::uint64_t>(capacity.AsInteger());
    });
    SetCell(11, IntToStr(slots));
    // An unknown capacity leaves the cell empty rather than claiming 0 Bytes.
    if (capacityKB != 0)
        SetCell(10, FormatByteSize(capacityKB * 1024, settings_));
}

void TComputerInventory::QueryMemoryModules()
{
    static const String Query =
        L"Select DeviceLocator, MemoryType, speed From win32_PhysicalMemory";
    int modules = 0;
    Exec(wnCimv2, Query, [&](const TWmiObject& module) {
        ++modules;
        if (module.Get(L"DeviceLocator").IsNull())
            return;
        // A null memory type matches no rule that tests it.
        TWmiValue typeValue = module.Get(L"MemoryType");
        bool typeKnown = !typeValue.IsNull();
        Int64 type = typeKnown ? typeValue.AsInteger() : -1;
        String memoryType;
        if (typeKnown && type == 20)
            memoryType = L"DDR";
        if (typeKnown && (type == 21 || type == 22))
            memoryType = L"DDR2";
        // The platform's own codes of the later generations.
        if (typeKnown && type == 24)
            memoryType = L"DDR3";
        if (typeKnown && type == 26)
            memoryType = L"DDR4";
        TWmiValue speedValue = module.Get(L"Speed");
        if (speedValue.IsNull()) {
            memoryType = L"Virtual";
        } else {
            Int64 speed = speedValue.AsInteger();
            if (speed < 2100 && typeKnown && type == 0)
                memoryType = L"DDR3";
            if (speed > 2100 && typeKnown && type == 0)
                memoryType = L"DDR4";
        }
        if (typeKnown && type > 0 && type < 20)
            memoryType = L"Other";
        if (!memoryType.empty())
            SetCell(8, memoryType);
    });
    SetCell(12, IntToStr(modules));
}

void TComputerInventory::QueryProcessor()
{
    static const String Query =
        L"Select Name, MaxClockSpeed, SocketDesignation, NumberOfCores From Win32_Processor";
    try {
        bool first = true;
        Exec(wnCimv2, Query, [&](const TWmiObject& cpu) {
            if (!first)
                return;
            first = false;
            TWmiValue name = cpu.Get(L"Name");
            if (!name.IsNull())
                SetCell(4, CollapseSpaces(std::move(name).AsText()));
            SetCellFrom(5, cpu.Get(L"MaxClockSpeed"));
            SetCellFrom(7, cpu.Get(L"NumberOfCores"));
            SetCellFrom(3, cpu.Get(L"SocketDesignation"));
        });
    } catch (const Exception&) {
        // Older systems lack the processor class until an update is installed.
        if (Contains(Cell(19), L"2003"))
            SetCell(4, texts_.GridInstKb2003);
        if (Contains(Cell(19), L"XP"))
            SetCell(4, texts_.GridInstKbXP);
    }
}

void TComputerInventory::QueryLogicalDisks()
{
    static const String Query =
        L"Select DeviceID, FreeSpace, Size From Win32_LogicalDisk where drivetype=3";
    Exec(wnCimv2, Query, [&](const TWmiObject& disk) {
        TWmiValue freeValue = disk.Get(L"FreeSpace");
        if (freeValue.IsNull())
            return;
        TWmiValue sizeValue = disk.Get(L"Size");
        auto size = static_cast<std::uint64_t>(sizeValue.IsNull() ? 0 : sizeValue.AsInteger());
        // Without a size there is no percentage to show.
        if (size == 0)
            return;
        std::uint64_t free = static_cast<std::uint64_t>(freeValue.AsInteger());
        auto percent = static_cast<Int64>(
            std::trunc(static_cast<double>(free) * 100.0 / static_cast<double>(size)));
        String entry = disk.Get(L"DeviceID").AsText() + L" " + FormatByteSize(size, settings_) +
                       L" (" + IntToStr(percent) + L"%)";
        AppendCell(15, entry);
        GrowTo(longest_.LongestDiskText, entry);
    });
    SetWidthFrom(15, longest_.LongestDiskText, 6.5);
}

void TComputerInventory::QueryDiskDrives()
{
    static const String Query = L"Select MediaType From Win32_DiskDrive";
    int fixedDisks = 0;
    Exec(wnCimv2, Query, [&](const TWmiObject& drive) {
        TWmiValue media = drive.Get(L"MediaType");
        if (!media.IsNull() && std::move(media).AsText() != L"Removable Media")
            ++fixedDisks;
    });
    SetCell(13, IntToStr(fixedDisks));
    target_.SetColWidth(13, 70);
}

void TComputerInventory::QueryEnclosure()
{
    static const String Query = L"Select SerialNumber From Win32_SystemEnclosure";
    Exec(wnCimv2, Query,
         [&](const TWmiObject& enclosure) { SetCellFrom(26, enclosure.Get(L"SerialNumber")); });
}

void TComputerInventory::QueryNetwork()
{
    static const String Query =
        L"SELECT IPAddress,MACAddress FROM Win32_NetworkAdapterConfiguration WHERE "
        L"IPEnabled='True'";
    Exec(wnCimv2, Query, [&](const TWmiObject& adapter) {
        TWmiValue addresses = adapter.Get(L"IPAddress");
        if (!addresses.IsNull()) {
            String mac = adapter.Get(L"MACAddress").AsText();
            for (const TWmiValue& item : addresses.Items()) {
                String address = item.AsText();
                if (Contains(address, L":"))
                    continue; // IPv6
                // One MAC entry per address keeps both lists aligned.
                if (Cell(21).empty()) {
                    SetCell(21, address);
                    SetCell(22, mac);
                } else {
                    SetCell(21, Cell(21) + L"; " + address);
                    SetCell(22, Cell(22) + L"; " + mac);
                }
                GrowTo(longest_.LongestIPText, address);
                GrowTo(longest_.LongestMACText, mac);
            }
        }
        SetWidthFrom(21, longest_.LongestIPText, 6.5);
        SetWidthFrom(22, longest_.LongestMACText, 6.5);
    });
}

void TComputerInventory::QueryComputerSystem()
{
    static const String Query =
        L"Select name, NumberOfProcessors, Model, username, TotalPhysicalMemory From "
        L"Win32_ComputerSystem";
    Exec(wnCimv2, Query, [&](const TWmiObject& system) {
        TWmiValue name = system.Get(L"Name");
        if (!name.IsNull())
            groupDomain_ = std::move(name).AsText();
        SetCellFrom(1, system.Get(L"Model"));
        SetCellFrom(24, system.Get(L"UserName"));
        SetCellFrom(6, system.Get(L"NumberOfProcessors"));
        TWmiValue memory = system.Get(L"TotalPhysicalMemory");
        if (!memory.IsNull())
            SetCell(9, FormatByteSize(static_cast<std::uint64_t>(memory.AsInteger()), settings_));
    });
    GrowTo(longest_.LongestUserText, Cell(24));
    SetWidthFrom(24, longest_.LongestUserText, 7);
}

void TComputerInventory::QueryVideo()
{
    static const String Query = L"Select Caption, AdapterRAM From Win32_videoController";
    Exec(wnCimv2, Query, [&](const TWmiObject& video) {
        SetCellFrom(16, video.Get(L"Caption"));
        TWmiValue memory = video.Get(L"AdapterRAM");
        if (!memory.IsNull())
            SetCell(17, FormatByteSize32(static_cast<Cardinal>(memory.AsInteger()), settings_));
    });
}

void TComputerInventory::QueryAdminGroup()
{
    static const String Query =
        L"Select name From Win32_Group Where LocalAccount=TRUE And SID='S-1-5-32-544'";
    // The group's name is localized; its well-known SID is not.
    Exec(wnCimv2, Query, [&](const TWmiObject& group) {
        TWmiValue name = group.Get(L"Name");
        if (!name.IsNull())
            groupName_ = std::move(name).AsText();
    });
}

void TComputerInventory::QueryAdminMembers()
{
    // The group's path is a string literal of the query and holds the names
    // as quoted key values: each level escapes its own quote and the
    // backslash, so no name can end either literal early.
    // Each text is written into room enough for every character escaped:
    // this query goes out for every computer.
    static const String PathStart = L"Win32_Group.Domain='";
    static const String QueryStart =
        L"Select PartComponent From Win32_GroupUser WHERE (GroupComponent = \"";
    String groupPath;
    groupPath.reserve(PathStart.size() + 2 * (groupDomain_.size() + groupName_.size()) + 9);
    groupPath += PathStart;
    AppendEscaped(groupPath, groupDomain_, L'\'');
    groupPath += L"',Name='";
    AppendEscaped(groupPath, groupName_, L'\'');
    groupPath += L'\'';
    String query;
    query.reserve(QueryStart.size() + 2 * groupPath.size() + 2);
    query += QueryStart;
    AppendEscaped(query, groupPath, L'"');
    query += L"\")";
    Exec(wnCimv2, query, [&](const TWmiObject& link) {
        if (link.Get(L"GroupComponent").IsNull())
            return;
        String member = MemberFromPath(link.Get(L"PartComponent").AsText());
        AppendEntry(adminList_, member);
        GrowTo(longest_.LongestAdminText, member);
    });
    SetCell(20, adminList_);
    SetWidthFrom(20, longest_.LongestAdminText, 6.5);
}

void TComputerInventory::QueryShares()
{
    static const String Query = L"Select Name, Type From Win32_Share";
    Exec(wnCimv2, Query, [&](const TWmiObject& share) {
        TWmiValue name = share.Get(L"Name");
        TWmiValue type = share.Get(L"Type");
        // Administrative and IPC shares have other types than 0 (disk).
        if (name.IsNull() || type.IsNull() || type.AsInteger() != 0 || name.AsText() == L"print$")
            return;
        String shareName = std::move(name).AsText();
        AppendCell(23, shareName);
        GrowTo(longest_.LongestShareText, shareName);
        lastShareName_ = shareName;
    });
    if (!lastShareName_.empty())
        SetWidthFrom(23, longest_.LongestShareText, 7);
}

void TComputerInventory::QueryActivation()
{
    static const String Query =
        L"Select name, applicationID, licensestatus, partialproductkey From "
        L"softwarelicensingproduct";
    // Only Windows itself decides, and only the licensed state (1) is
    // activated: an office suite listed after it changes nothing.
    constexpr Int64 Licensed = 1;
    Exec(wnCimv2, Query, [&](const TWmiObject& product) {
        TWmiValue status = product.Get(L"LicenseStatus");
        if (status.IsNull() || product.Get(L"PartialProductKey").IsNull() ||
            !Contains(product.Get(L"Name").AsText(), L"Windows"))
            return;
        SetCell(25, status.AsInteger() == Licensed ? L"Activated" : L"Not activated");
    });
}
