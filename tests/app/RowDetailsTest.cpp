// A click on a row of the inventory table, through the grid's own window,
// shows that computer's administrators, shares, addresses and disks in the
// four side lists.
#include <gtest/gtest.h>
#include "ScriptedSeries.h"
#include "StartedWindow.h"
#include <optional>

using testing_support::PumpMessages;
using testing_support::TempDir;

namespace {

using TLines = std::vector<String>;

class TDetailsWindow {
public:
    explicit TDetailsWindow(const std::string& Settings = {})
    {
        if (!Settings.empty())
            WriteBytes(folder.File(L"settings.ini"), Settings);
        window.emplace(folder.Path());
    }

    TForm1* Form() const { return window->Form(); }
    TAdvStringGrid* Grid() const { return Form()->StringGrid1; }

    // A press and release on a data cell of the row, as the mouse makes them.
    void ClickRow(int ARow)
    {
        const TRect cell = Grid()->CellRect(2, ARow);
        ASSERT_FALSE(IsRectEmpty(&cell)) << "row " << ARow << " is not on the screen";
        ClickAt(Grid(), (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        ASSERT_EQ(Grid()->GetRow(), ARow);
    }

    static TLines Lines(TListBox* List)
    {
        TLines lines;
        for (int i = 0; i < List->GetItems()->Count(); ++i)
            lines.push_back(List->GetItems()->Get(i));
        return lines;
    }
    TLines Admins() const { return Lines(Form()->LBAdmins); }
    TLines Shares() const { return Lines(Form()->LBShares); }
    TLines Network() const { return Lines(Form()->LBNetwork); }
    TLines Disks() const { return Lines(Form()->LBHDD); }

    TempDir folder;
    std::optional<TStartedWindow> window;
};

// A computer with two administrators, three shares, two adapters (the
// second without a MAC address) and two disks.
void ScriptDetailedComputer(TScriptedWmiClient& Client, const String& Name)
{
    TScriptedComputer& pc = QuietComputer(Client, Name);
    Answer(pc, qMembers,
           Objects({{{L"GroupComponent", L"x"},
                     {L"PartComponent", LR"(\\PC1\root\cimv2:Win32_UserAccount.Domain="PC1",Name="Administrator")"}},
                    {{L"GroupComponent", L"x"},
                     {L"PartComponent", LR"(\\PC1\root\cimv2:Win32_Group.Domain="CORP",Name="Domain Admins")"}}}));
    Answer(pc, qShares,
           Objects({{{L"Name", L"A"}, {L"Type", 0}},
                    {{L"Name", L"ADMIN$"}, {L"Type", 2147483648LL}},
                    {{L"Name", L"B"}, {L"Type", 0}},
                    {{L"Name", L"C"}, {L"Type", 0}}}));
    Answer(pc, qNetwork,
           Objects({{{L"IPAddress", Strings({L"192.168.1.10", L"fe80::1"})}, {L"MACAddress", L"00:11:22:33:44:55"}},
                    {{L"IPAddress", Strings({L"10.8.0.2", L"10.8.0.3"})}}}));
    Answer(pc, qDisks,
           Objects({{{L"DeviceID", L"C:"}, {L"FreeSpace", L"214748364800"}, {L"Size", L"536870912000"}},
                    {{L"DeviceID", L"D:"}, {L"FreeSpace", L"107374182400"}, {L"Size", L"107374182400"}}}));
}

const TLines DetailedAdmins = {L"CORP\\Domain Admins", L"PC1\\Administrator"};
const TLines DetailedShares = {L"C", L"B", L"A"};
// The adapter without a MAC address keeps its addresses apart from the
// other adapter's MAC.
const TLines DetailedNetwork = {L"10.8.0.3 - ", L"10.8.0.2 - ", L"192.168.1.10 - 00:11:22:33:44:55"};
const TLines DetailedDisks = {L"D: 100 GB (100%)", L"C: 500 GB (40%)"};

TEST(RowDetails, AClickedRowShowsItsComputerAndAnUnreachableOneEmptiesTheLists)
{
    auto client = std::make_shared<TScriptedWmiClient>();
    ScriptDetailedComputer(*client, L"PC1");
    TDetailsWindow w;
    RunInventory(w.Form(), client, L"PC1\r\nOFFLINE");
    ASSERT_EQ(w.Grid()->GetCells(1, 2), L"Computer or WMI service is unavailable.");

    w.ClickRow(1);
    EXPECT_EQ(w.Admins(), DetailedAdmins);
    EXPECT_EQ(w.Shares(), DetailedShares);
    EXPECT_EQ(w.Network(), DetailedNetwork);
    EXPECT_EQ(w.Disks(), DetailedDisks);

    w.ClickRow(2);
    EXPECT_EQ(w.Admins(), TLines{});
    EXPECT_EQ(w.Shares(), TLines{});
    EXPECT_EQ(w.Network(), TLines{});
    EXPECT_EQ(w.Disks(), TLines{});

    // Back on the first row the lists fill again, nothing twice.
    w.ClickRow(1);
    EXPECT_EQ(w.Shares(), DetailedShares);
    EXPECT_EQ(w.Network(), DetailedNetwork);
}

TEST(RowDetails, ARestoredLayoutStillShowsEachColumnInItsOwnList)
{
    // Shares and administrators change places, the disks column is hidden.
    std::string order, widths, flags;
    for (int col = 0; col < InventoryColumnCount; ++col) {
        const int shown = col == 20 ? 23 : col == 23 ? 20 : col;
        order += (col ? "," : "") + std::to_string(shown);
        widths += col ? ",100" : "120";
        flags += col == 0 ? "1" : col == 15 ? ",0" : ",1";
    }
    auto client = std::make_shared<TScriptedWmiClient>();
    ScriptDetailedComputer(*client, L"PC1");
    TDetailsWindow w("[GRID]\r\ncolstate=28#" + widths + "#" + order + "#" + flags + "\r\n");
    ASSERT_TRUE(w.Grid()->IsHiddenColumn(15));
    RunInventory(w.Form(), client, L"PC1");

    w.ClickRow(1);
    EXPECT_EQ(w.Admins(), DetailedAdmins);
    EXPECT_EQ(w.Shares(), DetailedShares);
    EXPECT_EQ(w.Network(), DetailedNetwork);
    EXPECT_EQ(w.Disks(), DetailedDisks);
}

TEST(RowDetails, CellTextsAreCutIntoEntriesShownLastFirst)
{
    struct TCase {
        const char* Name;
        const wchar_t* Text;
        TLines Lines;
    };
    const TCase cases[] = {
        {"one entry", L"Public", {L"Public"}},
        {"entries in reverse order", L"A; B; C", {L"C", L"B", L"A"}},
        {"empty parts dropped", L";A;; ;B;", {L"B", L"A"}},
        {"line breaks cut too", L"A\r\nB\nC\rD", {L"D", L"C", L"B", L"A"}},
        {"spaces and control characters trimmed", L" \tA \x01; B\x1f ", {L"B", L"A"}},
        {"a quoted part keeps its ';'", L"\"Team; Docs\"; 'x;y' z; Public",
         {L"Public", L"'x;y' z", L"\"Team; Docs\""}},
        {"a quote inside a name opens nothing", L"CORP\\O'Brien; CORP\\Admin; 'Q",
         {L"'Q", L"CORP\\Admin", L"CORP\\O'Brien"}},
        {"a quote is not carried over a line break", L"\"A;\r\nB\"; C", {L"C", L"B\"", L"\"A"}},
        {"nothing", L"", {}},
    };
    TDetailsWindow w;
    TAdvStringGrid* grid = w.Grid();
    grid->SetRowCount(3);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        for (int col : {15, 20, 23})
            grid->SetCells(col, 1, c.Text);
        w.ClickRow(2);
        w.ClickRow(1);
        EXPECT_EQ(w.Shares(), c.Lines);
        EXPECT_EQ(w.Admins(), c.Lines);
        EXPECT_EQ(w.Disks(), c.Lines);
    }
}

TEST(RowDetails, AddressesArePairedWithTheirMacAddresses)
{
    struct TCase {
        const char* Name;
        const wchar_t* Addresses;
        const wchar_t* Macs;
        TLines Lines;
    };
    const TCase cases[] = {
        {"entry for entry", L"10.0.0.1; 10.0.0.2", L"AA; BB", {L"10.0.0.2 - BB", L"10.0.0.1 - AA"}},
        {"fewer MAC entries", L"10.0.0.1; 10.0.0.2", L"AA", {L"10.0.0.2 - ", L"10.0.0.1 - AA"}},
        {"an empty MAC entry keeps its place", L"10.0.0.1; 10.0.0.2", L"; BB", {L"10.0.0.2 - BB", L"10.0.0.1 - "}},
        {"more MAC entries than addresses", L"10.0.0.1", L"AA; BB", {L"10.0.0.1 - AA"}},
        {"no addresses", L"", L"AA", {}},
    };
    TDetailsWindow w;
    TAdvStringGrid* grid = w.Grid();
    grid->SetRowCount(3);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        grid->SetCells(21, 1, c.Addresses);
        grid->SetCells(22, 1, c.Macs);
        w.ClickRow(2);
        w.ClickRow(1);
        EXPECT_EQ(w.Network(), c.Lines);
    }
}

} // namespace
