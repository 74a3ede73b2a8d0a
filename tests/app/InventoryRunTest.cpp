// A whole inventory run on its worker thread, seen from the main thread the
// way the window sees it: changes arrive through its message loop, in order.
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include "InventoryRun.h"
#include "RecordingTarget.h"
#include "ScriptedSeries.h"
#include "StartedWindow.h"

namespace {

// The main window's part: the start command's own steps on the target, and
// a message loop that lets the run apply its changes.
class TWindowStandIn {
public:
    explicit TWindowStandIn(std::shared_ptr<IWmiClient> client)
        : run(std::make_unique<TInventoryRun>(target, std::move(client)))
    {
    }

    bool Start(std::vector<String> names)
    {
        if (run->Running())
            return false;
        target.SetCancelEnabled(true);
        target.SetGaugeVisible(true);
        target.SetGaugePosition(0);
        target.Log.clear();
        target.GaugePositions.clear();
        return run->Start(std::move(names), TInventoryTexts());
    }

    bool PumpUntil(const std::function<bool()>& done, DWORD timeout = 30000)
    {
        return ::PumpUntil(done, timeout);
    }
    bool PumpUntilIdle(DWORD timeout = 30000)
    {
        return PumpUntil([this] { return !run->Running(); }, timeout);
    }

    TRecordingTarget target;
    std::unique_ptr<TInventoryRun> run;
};

std::vector<String> Matching(const std::vector<String>& log, const std::vector<String>& prefixes)
{
    std::vector<String> kept;
    for (const String& entry : log)
        for (const String& prefix : prefixes)
            if (entry.rfind(prefix, 0) == 0) {
                kept.push_back(entry);
                break;
            }
    return kept;
}

TEST(InventoryRun, ThreeComputersWhereTheSecondFails)
{
    auto client = ThreeComputers();
    client->Computer(L"PC2").Answer(wnCimv2, Series[qArrays].Text, TScriptedAnswer::Failure());
    TWindowStandIn window(client);

    ASSERT_TRUE(window.Start({L"PC1", L"PC2", L"PC3"}));
    ASSERT_TRUE(window.PumpUntilIdle());

    TRecordingTarget& target = window.target;
    EXPECT_EQ(target.Row(1), (std::map<int, String>{{0, L"PC1"}, {19, L"Windows of PC1"},
                                                    {11, L"0"}, {12, L"0"}, {13, L"0"}}));
    EXPECT_EQ(target.Row(2), (std::map<int, String>{{0, L"PC2"}, {19, L"Windows of PC2"},
                                                    {1, L"Computer or WMI service is unavailable."}}));
    EXPECT_EQ(target.Row(3)[19], L"Windows of PC3");
    EXPECT_EQ(target.GaugePositions, (std::vector<int>{33, 67, 100}));
    EXPECT_EQ(target.GaugeMaximum, 100);
    EXPECT_FALSE(target.GaugeVisible);
    EXPECT_FALSE(target.CancelEnabled);

    // The worker's order reaches the window unchanged: each computer's
    // frame around its cells, the end state last.
    EXPECT_EQ(Matching(target.Log, {L"cell 0,", L"cell 1,", L"maximum", L"position", L"gauge",
                                    L"cancel"}),
              (std::vector<String>{L"maximum 100", L"cell 0,1=PC1", L"position 33",
                                   L"maximum 100", L"cell 0,2=PC2",
                                   L"cell 1,2=Computer or WMI service is unavailable.",
                                   L"position 67", L"maximum 100", L"cell 0,3=PC3",
                                   L"position 100", L"cancel disabled", L"gauge hidden"}));
    auto at = [&](const String& entry) {
        return std::find(target.Log.begin(), target.Log.end(), entry) - target.Log.begin();
    };
    EXPECT_LT(at(L"cell 19,1=Windows of PC1"), at(L"position 33"));
    EXPECT_LT(at(L"width 13=70"), at(L"position 33"));
}

// The window cannot take a change (a cell, a column width): the run goes
// on, and the change's row shows why where a failed computer shows its
// failure.
TEST(InventoryRun, AChangeTheWindowRefusesShowsInItsRowAndTheRunGoesOn)
{
    struct TCase {
        const char* Name;
        const wchar_t* Refused;
        int Row;
    };
    const TCase cases[] = {
        {"a cell", L"cell 19,2=Windows of PC2", 2},
        {"a column width", L"width 13=70", 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TWindowStandIn window(ThreeComputers());
        bool refused = false;
        window.target.Refuse = [&](const String& change) {
            if (!refused && change == c.Refused) {
                refused = true;
                throw EInvalidOperation(L"Refused: " + change);
            }
        };
        ASSERT_TRUE(window.Start({L"PC1", L"PC2", L"PC3"}));
        ASSERT_TRUE(window.PumpUntilIdle());

        TRecordingTarget& target = window.target;
        EXPECT_TRUE(refused);
        EXPECT_EQ(target.Cell(1, c.Row), String(L"Refused: ") + c.Refused);
        for (int row = 1; row <= 3; ++row) {
            EXPECT_EQ(target.Cell(0, row), L"PC" + IntToStr(row));
            if (row != c.Row)
                EXPECT_EQ(target.Cell(1, row), L"") << row;
        }
        EXPECT_EQ(target.Cell(19, 3), L"Windows of PC3");
        EXPECT_EQ(target.GaugePositions, (std::vector<int>{33, 67, 100}));
        EXPECT_FALSE(target.GaugeVisible);
        EXPECT_FALSE(target.CancelEnabled);
    }
}

TEST(InventoryRun, ProgressRoundsHalvesToTheEvenNeighbour)
{
    TWindowStandIn window(std::make_shared<TScriptedWmiClient>());  // reaches nothing
    ASSERT_TRUE(window.Start(std::vector<String>(8, L"offline")));
    ASSERT_TRUE(window.PumpUntilIdle());
    EXPECT_EQ(window.target.GaugePositions, (std::vector<int>{12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(window.target.Cell(1, 8), L"Computer or WMI service is unavailable.");
}

// The main thread takes changes while the worker goes on writing into the
// room it handed back: the window sees the same changes as when it takes
// them all at the end.
TEST(InventoryRun, ChangesTakenDuringTheRunArriveAsIfTakenAtTheEnd)
{
    const std::vector<String> names{L"PC1", L"PC2", L"PC3"};
    TWindowStandIn whole(ThreeComputers());
    ASSERT_TRUE(whole.Start(names));
    ASSERT_TRUE(whole.run->WaitForWorker(10000));
    whole.run->ApplyChanges();
    ASSERT_FALSE(whole.run->Running());

    auto client = ThreeComputers();
    TQueryHold hold(*client, L"PC2", Series[qArrays].Text);
    TWindowStandIn pieces(client);
    ASSERT_TRUE(pieces.Start(names));
    ASSERT_TRUE(pieces.PumpUntil([&] { return WaitForSingleObject(hold.Reached(), 0) == WAIT_OBJECT_0; }));
    pieces.run->ApplyChanges();
    EXPECT_EQ(pieces.target.Cell(19, 2), L"Windows of PC2");
    hold.Release();
    ASSERT_TRUE(pieces.PumpUntilIdle());

    EXPECT_EQ(pieces.target.Log, whole.target.Log);
}

TEST(InventoryRun, CancelDuringTheFirstComputerStopsEverythingAtOnce)
{
    auto client = ThreeComputers();
    TQueryHold hold(*client, L"PC1", Series[qArrays].Text);
    TWindowStandIn window(client);
    TRecordingTarget& target = window.target;

    ASSERT_TRUE(window.Start({L"PC1", L"PC2", L"PC3"}));
    ASSERT_TRUE(window.PumpUntil([&] { return WaitForSingleObject(hold.Reached(), 0) == WAIT_OBJECT_0; }));
    ASSERT_TRUE(window.PumpUntil([&] { return !target.Cell(19, 1).empty(); }));
    EXPECT_FALSE(window.Start({L"PC3"}));  // a second start during the run is ignored

    window.run->Cancel();
    // Cancel did not wait for the query in flight.
    EXPECT_FALSE(hold.Left());
    EXPECT_FALSE(window.run->Running());
    EXPECT_EQ(target.GaugePositions.back(), 100);
    EXPECT_TRUE(target.GaugeVisible);
    EXPECT_FALSE(target.CancelEnabled);
    EXPECT_EQ(target.Row(1), (std::map<int, String>{{0, L"PC1"}, {19, L"Windows of PC1"}}));
    EXPECT_TRUE(target.Row(2).empty());
    EXPECT_TRUE(target.Row(3).empty());
    const std::size_t changesAtCancel = target.Log.size();

    hold.Release();
    ASSERT_TRUE(window.run->WaitForWorker(10000));
    EXPECT_FALSE(hold.TimedOut());
    Sleep(50);
    testing_support::PumpMessages();
    window.run->ApplyChanges();
    EXPECT_EQ(target.Log.size(), changesAtCancel);

    // The worker abandoned its computer and started no other.
    std::vector<TScriptedCall> calls = client->Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().Query, Series[qArrays].Text);
    EXPECT_TRUE(std::all_of(calls.begin(), calls.end(), [](const TScriptedCall& c) { return c.Computer == L"PC1"; }));
}

TEST(InventoryRun, ARunStartedAfterCancelNeverSeesTheOldWorker)
{
    auto client = ThreeComputers();
    TQueryHold hold(*client, L"PC1", Series[qArrays].Text);
    TWindowStandIn window(client);

    ASSERT_TRUE(window.Start({L"PC1", L"PC2"}));
    ASSERT_TRUE(window.PumpUntil([&] { return WaitForSingleObject(hold.Reached(), 0) == WAIT_OBJECT_0; }));
    window.run->Cancel();
    window.target.Cells.clear();  // the window clears the table on start

    ASSERT_TRUE(window.Start({L"PC3"}));
    ASSERT_TRUE(window.PumpUntilIdle());
    hold.Release();
    Sleep(100);
    testing_support::PumpMessages();

    EXPECT_EQ(window.target.Row(1)[0], L"PC3");
    EXPECT_EQ(window.target.Row(1)[19], L"Windows of PC3");
    EXPECT_TRUE(window.target.Row(2).empty());
    EXPECT_EQ(window.target.GaugePositions, (std::vector<int>{100}));
    EXPECT_FALSE(window.target.GaugeVisible);
}

TEST(InventoryRun, ClosingTheWindowDuringARunLeavesTheWorkerNothingToTouch)
{
    auto client = ThreeComputers();
    TQueryHold hold(*client, L"PC1", Series[qArrays].Text);
    TWindowStandIn window(client);
    ASSERT_TRUE(window.Start({L"PC1", L"PC2"}));
    ASSERT_TRUE(window.PumpUntil([&] { return WaitForSingleObject(hold.Reached(), 0) == WAIT_OBJECT_0; }));
    testing_support::PumpMessages();
    const std::size_t changesAtClose = window.target.Log.size();

    window.run.reset();
    EXPECT_EQ(window.target.Log.size(), changesAtClose);
    hold.Release();
    // The worker holds the client until it ends.
    ASSERT_TRUE(window.PumpUntil([&] { return client.use_count() == 1; }, 10000));
    EXPECT_EQ(window.target.Log.size(), changesAtClose);
    EXPECT_EQ(client->Calls().back().Query, Series[qArrays].Text);
}

TEST(InventoryRun, TheRealClientInventoriesThisComputerAndFailsAnUnknownOne)
{
    TWindowStandIn window(std::make_shared<TWbemClient>());
    ASSERT_TRUE(window.Start({L"", L"no-such-computer.invalid"}));
    ASSERT_TRUE(window.PumpUntilIdle(60000));

    std::map<int, String> local = window.target.Row(1);
    EXPECT_EQ(local.count(0), 0u);  // an empty name stands for this computer
    EXPECT_EQ(local[19].rfind(L"Microsoft Windows", 0), 0u) << local[19];
    EXPECT_FALSE(local[4].empty());
    EXPECT_NE(local[1], L"Computer or WMI service is unavailable.");
    EXPECT_EQ(window.target.Row(2),
              (std::map<int, String>{{0, L"no-such-computer.invalid"},
                                     {1, L"Computer or WMI service is unavailable."}}));
    EXPECT_EQ(window.target.GaugePositions, (std::vector<int>{50, 100}));
    EXPECT_FALSE(window.target.GaugeVisible);
}

} // namespace
