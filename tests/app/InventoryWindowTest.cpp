// "Start inventory" and "Cancel" through the main window: its buttons, its
// table, its gauge and its list, with the computers scripted (and once the
// real WMI of this machine).
#include <gtest/gtest.h>
#include "GdiHandles.h"
#include "ScriptedSeries.h"
#include "StartedWindow.h"
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

using testing_support::AnswerNextMessageBox;
using testing_support::MessageBoxText;
using testing_support::PumpMessages;
using testing_support::SourceDir;
using testing_support::TempDir;

namespace {

constexpr DWORD WorkerTimeout = 10000;

// The main window in a program folder of its own, with the shipped
// language file and a "settings.ini" when asked, a list and a WMI client.
class TInventoryWindow {
public:
    TInventoryWindow(std::shared_ptr<IWmiClient> Client, const String& List, bool Languages = false,
                     const std::string& Settings = {})
    {
        if (Languages) {
            const String shipped = SourceDir() + L"\\resources\\languages.lng";
            CopyFileW(shipped.c_str(), folder.File(L"languages.lng").c_str(), FALSE);
        }
        if (!Settings.empty())
            WriteBytes(folder.File(L"settings.ini"), Settings);
        window.emplace(folder.Path());
        Form()->WmiClient = std::move(Client);
        Form()->Memo2->SetText(List);
        PumpMessages();
    }

    TForm1* Form() const { return window->Form(); }
    TAdvStringGrid* Grid() const { return Form()->StringGrid1; }
    String Cell(int ACol, int ARow) const { return Grid()->GetCells(ACol, ARow); }
    // The cells of a data row that hold text, by column.
    std::map<int, String> Row(int ARow) const
    {
        std::map<int, String> row;
        for (int col = 0; col < InventoryColumnCount; ++col)
            if (String text = Cell(col, ARow); !text.empty())
                row[col] = text;
        return row;
    }
    std::vector<String> AllCells() const
    {
        std::vector<String> cells;
        for (int row = 0; row < Grid()->GetRowCount(); ++row)
            for (int col = 0; col < InventoryColumnCount; ++col)
                cells.push_back(Cell(col, row));
        return cells;
    }
    int Gauge() const { return static_cast<int>(Form()->AdvGaugeCircle1->GetPosition()); }
    bool GaugeShown() const { return Form()->AdvGaugeCircle1->GetVisible(); }
    bool CancelEnabled() const { return Form()->BtnStop->GetEnabled(); }

    void Start() { Click(Form()->BtnHDD); }
    bool WaitUntilEnded(DWORD Timeout = 30000)
    {
        return PumpUntil([this] { return !CancelEnabled(); }, Timeout);
    }
    // The worker of the latest run has ended, whatever it was doing.
    bool WorkerEnded() const
    {
        return !Form()->InventoryRun() || Form()->InventoryRun()->WaitForWorker(WorkerTimeout);
    }

    TempDir folder;
    std::optional<TStartedWindow> window;
};

bool PumpUntilHeld(const TQueryHold& Hold)
{
    return PumpUntil([&] { return Hold.IsReached(); });
}

TEST(InventoryWindow, ThreeComputersWhereTheSecondFails)
{
    auto client = ThreeComputers();
    client->Computer(L"PC2").Answer(wnCimv2, Series[qArrays].Text, TScriptedAnswer::Failure());
    // Each computer waits at its first query, so that the window can be
    // looked at between computers.
    TQueryHold atPC1(*client, L"PC1", Series[qOS].Text);
    TQueryHold atPC2(*client, L"PC2", Series[qOS].Text);
    TQueryHold atPC3(*client, L"PC3", Series[qOS].Text);
    TInventoryWindow w(client, L"PC1\r\nPC2\r\nPC3", true);
    ASSERT_EQ(LanguageCode, L"ru");
    w.Form()->Label11->SetVisible(true);

    w.Start();
    EXPECT_FALSE(w.Form()->Label11->GetVisible());
    EXPECT_EQ(w.Grid()->GetRowCount(), 4);
    struct TStep {
        TQueryHold* Hold;
        int Row;
        const wchar_t* Name;
        int GaugeBefore;
    };
    const TStep steps[] = {{&atPC1, 1, L"PC1", 0}, {&atPC2, 2, L"PC2", 33}, {&atPC3, 3, L"PC3", 67}};
    for (const TStep& step : steps) {
        ASSERT_TRUE(PumpUntil([&] { return step.Hold->IsReached() && w.Cell(0, step.Row) == step.Name; }))
            << step.Name;
        EXPECT_EQ(w.Gauge(), step.GaugeBefore) << step.Name;
        EXPECT_TRUE(w.GaugeShown()) << step.Name;
        EXPECT_TRUE(w.CancelEnabled()) << step.Name;
        step.Hold->Release();
    }
    ASSERT_TRUE(w.WaitUntilEnded());

    EXPECT_EQ(w.Gauge(), 100);
    EXPECT_FALSE(w.GaugeShown());
    EXPECT_EQ(w.Row(1), (std::map<int, String>{{0, L"PC1"}, {19, L"Windows of PC1"}, {11, L"0"}, {12, L"0"},
                                               {13, L"0"}}));
    // The failure text of the window's language.
    TOwned<TMemIniFile> languages(New<TMemIniFile>(w.folder.File(L"languages.lng")));
    const String unavailable = languages->ReadString(L"messages_ru", L"grid_wmi", L"");
    ASSERT_NE(unavailable, L"");
    EXPECT_EQ(w.Row(2), (std::map<int, String>{{0, L"PC2"}, {19, L"Windows of PC2"}, {1, unavailable}}));
    EXPECT_EQ(w.Row(3)[19], L"Windows of PC3");
    EXPECT_EQ(w.Grid()->GetColWidths(13), 70);
    ASSERT_TRUE(w.WorkerEnded());
}

TEST(InventoryWindow, CancelDuringTheFirstComputerEndsTheRunAtOnce)
{
    auto client = ThreeComputers();
    TQueryHold hold(*client, L"PC1", Series[qArrays].Text);
    TInventoryWindow w(client, L"PC1\r\nPC2\r\nPC3");
    w.Start();
    ASSERT_TRUE(PumpUntil([&] { return hold.IsReached() && !w.Cell(19, 1).empty(); }));

    Click(w.Form()->BtnStop);
    // Cancel did not wait for the query in flight.
    EXPECT_FALSE(hold.Left());
    EXPECT_EQ(w.Gauge(), 100);
    EXPECT_TRUE(w.GaugeShown());
    EXPECT_FALSE(w.CancelEnabled());
    EXPECT_EQ(w.Row(1), (std::map<int, String>{{0, L"PC1"}, {19, L"Windows of PC1"}}));
    EXPECT_TRUE(w.Row(2).empty());
    EXPECT_TRUE(w.Row(3).empty());

    // The abandoned query ends; nothing of it reaches the table.
    const std::vector<String> atCancel = w.AllCells();
    hold.Release();
    ASSERT_TRUE(w.WorkerEnded());
    EXPECT_FALSE(hold.TimedOut());
    Sleep(100);
    PumpMessages();
    EXPECT_EQ(w.AllCells(), atCancel);
    EXPECT_EQ(w.Gauge(), 100);
    const std::vector<TScriptedCall> calls = client->Calls();
    EXPECT_EQ(calls.back().Query, Series[qArrays].Text);
    EXPECT_TRUE(std::all_of(calls.begin(), calls.end(), [](const TScriptedCall& c) { return c.Computer == L"PC1"; }));
}

TEST(InventoryWindow, StartDuringARunIsIgnoredAndTheRunKeepsTheListItStartedWith)
{
    auto client = ThreeComputers();
    TQueryHold hold(*client, L"PC2", Series[qOS].Text);
    TInventoryWindow w(client, L"PC1\r\nPC2");
    w.Start();
    ASSERT_TRUE(PumpUntil([&] { return hold.IsReached() && w.Cell(0, 2) == L"PC2"; }));

    w.Form()->Memo2->SetText(L"PC3\r\nPC3\r\nPC3");
    w.Start();
    EXPECT_EQ(w.Grid()->GetRowCount(), 3);
    EXPECT_EQ(w.Cell(19, 1), L"Windows of PC1");
    EXPECT_TRUE(w.CancelEnabled());

    hold.Release();
    ASSERT_TRUE(w.WaitUntilEnded());
    EXPECT_EQ(w.Grid()->GetRowCount(), 3);
    EXPECT_EQ(w.Cell(0, 2), L"PC2");
    EXPECT_EQ(w.Cell(19, 2), L"Windows of PC2");
    const std::vector<TScriptedCall> calls = client->Calls();
    EXPECT_TRUE(std::none_of(calls.begin(), calls.end(), [](const TScriptedCall& c) { return c.Computer == L"PC3"; }));
    ASSERT_TRUE(w.WorkerEnded());
}

TEST(InventoryWindow, EmptyListShowsItsMessageAndStartsNothing)
{
    TInventoryWindow w(ThreeComputers(), L"");
    String shown;
    AnswerNextMessageBox([&](HWND box) {
        shown = MessageBoxText(box);
        return IDOK;
    });
    w.Start();
    EXPECT_EQ(shown, L"The list of computers is empty!");
    EXPECT_EQ(GetFocus(), w.Form()->Memo2->Handle());
    EXPECT_FALSE(w.CancelEnabled());
    EXPECT_FALSE(w.GaugeShown());
    EXPECT_EQ(w.Grid()->GetRowCount(), 2);
    EXPECT_EQ(w.Form()->InventoryRun(), nullptr);
}

TEST(InventoryWindow, ClosingTheWindowDuringARunLeavesTheWorkerNothingToTouch)
{
    // Closed as a person closes it, and freed without closing.
    for (const bool closeFirst : {true, false}) {
        SCOPED_TRACE(closeFirst ? "closed" : "freed");
        auto client = ThreeComputers();
        TQueryHold hold(*client, L"PC1", Series[qArrays].Text);
        {
            TInventoryWindow w(client, L"PC1\r\nPC2");
            w.Start();
            ASSERT_TRUE(PumpUntilHeld(hold));
            if (closeFirst) {
                w.window->Close();
                EXPECT_FALSE(w.CancelEnabled());
                TOwned<TMemIniFile> settings(New<TMemIniFile>(w.folder.File(L"settings.ini")));
                EXPECT_NE(settings->ReadString(L"GRID", L"colstate", L""), L"");
            }
        }
        hold.Release();
        // The worker holds the client until it ends.
        ASSERT_TRUE(PumpUntil([&] { return client.use_count() == 1; }, WorkerTimeout));
        const std::vector<TScriptedCall> calls = client->Calls();
        EXPECT_EQ(calls.back().Query, Series[qArrays].Text);
        EXPECT_EQ(calls.back().Computer, L"PC1");
    }
}

// One fixed disk of 500 GB with 200 GB free, under the given name.
TScriptedAnswer OneDisk(const wchar_t* DeviceID)
{
    return Objects({{{L"DeviceID", DeviceID},
                     {L"FreeSpace", L"214748364800"},
                     {L"Size", L"536870912000"}}});
}

TEST(InventoryWindow, ANewRunStartsFromAnEmptyTableAndSizesColumnsFromItsOwnTexts)
{
    auto client = std::make_shared<TScriptedWmiClient>();
    TScriptedComputer& big = QuietComputer(*client, L"BIG");
    Answer(big, qDisks, OneDisk(L"Archive-Volume:"));
    Answer(big, qVideo, Objects({{{L"Caption", L"Big video"}}}));
    Answer(QuietComputer(*client, L"PC1"), qDisks, OneDisk(L"C:"));
    TInventoryWindow w(client, L"BIG\r\nPC1");

    w.Start();
    ASSERT_TRUE(w.WaitUntilEnded());
    ASSERT_EQ(w.Cell(16, 1), L"Big video");
    ASSERT_EQ(w.Cell(15, 1), L"Archive-Volume: 500 GB (40%)");
    EXPECT_EQ(w.Grid()->GetColWidths(15), 182);  // 28 characters

    w.Form()->Memo2->SetText(L"PC1");
    w.Start();
    ASSERT_TRUE(w.WaitUntilEnded());
    EXPECT_EQ(w.Grid()->GetRowCount(), 2);
    EXPECT_EQ(w.Row(1), (std::map<int, String>{{0, L"PC1"}, {11, L"0"}, {12, L"0"}, {13, L"0"},
                                               {15, L"C: 500 GB (40%)"}}));
    EXPECT_EQ(w.Grid()->GetColWidths(15), 98);  // 15 characters
    ASSERT_TRUE(w.WorkerEnded());
}

TEST(InventoryWindow, ARestoredLayoutKeepsEveryValueUnderItsTitle)
{
    auto client = std::make_shared<TScriptedWmiClient>();
    TScriptedComputer& pc = QuietComputer(*client, L"PC1");
    Answer(pc, qOS, Objects({{{L"Caption", L"Windows of PC1"}}}));
    Answer(pc, qBoard, Objects({{{L"Product", L"Board"}, {L"Manufacturer", L"Maker"}}}));
    Answer(pc, qSystem, Objects({{{L"Name", L"PC1"}, {L"Model", L"Model A"}}}));
    Answer(pc, qDisks, OneDisk(L"C:"));
    Answer(pc, qCpu, Objects({{{L"Name", L"CPU"}, {L"MaxClockSpeed", 3000}}}));
    // Columns 1 and 2 change places, "CPU frequency" is hidden.
    std::string order = "0,2,1", widths = "120", flags = "1";
    for (int col = 3; col < InventoryColumnCount; ++col)
        order += "," + std::to_string(col);
    for (int col = 1; col < InventoryColumnCount; ++col) {
        widths += ",100";
        flags += col == 5 ? ",0" : ",1";
    }
    TInventoryWindow w(client, L"PC1", false, "[GRID]\r\ncolstate=28#" + widths + "#" + order + "#" + flags + "\r\n");
    TAdvStringGrid* grid = w.Grid();
    ASSERT_TRUE(grid->IsHiddenColumn(5));

    w.Start();
    ASSERT_TRUE(w.WaitUntilEnded());
    const auto underTitle = [&](int titleIndex) {
        const int col = grid->ColumnByHeader(ColumnTitles[static_cast<std::size_t>(titleIndex)].Default);
        return col < 0 ? String(L"<no such title>") : w.Cell(col, 1);
    };
    EXPECT_EQ(underTitle(1), L"Model A");
    EXPECT_EQ(underTitle(2), L"Board Maker");
    EXPECT_EQ(underTitle(5), L"3000");
    EXPECT_EQ(underTitle(19), L"Windows of PC1");
    EXPECT_EQ(underTitle(15), L"C: 500 GB (40%)");
    // The disk column got its width, and no column beside it.
    const int diskCol = grid->ColumnByHeader(ColumnTitles[15].Default);
    EXPECT_EQ(grid->GetColWidths(grid->DisplColIndex(diskCol)), 98);
    EXPECT_EQ(grid->GetColWidths(grid->DisplColIndex(diskCol) + 1), 100);
    ASSERT_TRUE(w.WorkerEnded());
}

TEST(InventoryWindow, SortingWaitsUntilTheRunHasEnded)
{
    auto client = std::make_shared<TScriptedWmiClient>();
    // Each reports the name the scripted series asks its members under.
    for (auto [name, model] : {std::pair{L"PC3", L"Model C"}, {L"PC1", L"Model A"}, {L"PC2", L"Model B"}})
        Answer(QuietComputer(*client, name), qSystem, Objects({{{L"Name", L"PC1"}, {L"Model", model}}}));
    TQueryHold hold(*client, L"PC2", Series[qOS].Text);
    TInventoryWindow w(client, L"PC3\r\nPC1\r\nPC2");
    TAdvStringGrid* grid = w.Grid();
    const auto clickModelTitle = [&] {
        ClickAt(grid, grid->GetColWidths(0) + grid->GetColWidths(1) / 2, grid->GetRowHeights(0) / 2);
    };

    w.Start();
    ASSERT_TRUE(PumpUntil([&] { return hold.IsReached() && w.Cell(0, 3) == L"PC2"; }));
    ASSERT_EQ(w.Cell(1, 2), L"Model A");
    clickModelTitle();
    EXPECT_EQ(w.Cell(0, 1), L"PC3");
    EXPECT_EQ(w.Cell(0, 2), L"PC1");

    hold.Release();
    ASSERT_TRUE(w.WaitUntilEnded());
    EXPECT_EQ(w.Cell(1, 3), L"Model B");
    clickModelTitle();
    EXPECT_EQ(w.Cell(1, 1), L"Model A");
    EXPECT_EQ(w.Cell(0, 1), L"PC1");
    ASSERT_TRUE(w.WorkerEnded());
}

TEST(InventoryWindow, TheRealClientFillsTheTableForLocalhost)
{
    TInventoryWindow w(std::make_shared<TWbemClient>(), L"localhost");
    w.Start();
    ASSERT_TRUE(w.WaitUntilEnded(60000));
    const std::map<int, String> row = w.Row(1);
    EXPECT_EQ(row.at(0), L"localhost");
    EXPECT_EQ(row.at(19).rfind(L"Microsoft Windows", 0), 0u) << row.at(19);
    EXPECT_FALSE(row.at(4).empty());
    EXPECT_NE(row.count(1) ? row.at(1) : String(), L"Computer or WMI service is unavailable.");
    EXPECT_FALSE(w.GaugeShown());
    ASSERT_TRUE(w.WorkerEnded());
}

// The gauge's pixels, as it paints itself (Shown false) or as the screen
// shows it (Shown true), in a 32-bit DIB.
class TGaugePicture {
public:
    TGaugePicture(TAdvGaugeCircle* Gauge, bool Shown) : width_(Gauge->GetWidth()), height_(Gauge->GetHeight())
    {
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(bi.bmiHeader), width_, -height_, 1, 32, BI_RGB};
        void* bits = nullptr;
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const DWORD*>(bits);
        const TSelectObject select(dc_.Get(), bitmap_.Get());
        if (Shown) {
            RedrawWindow(Gauge->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            HDC screen = GetDC(Gauge->Handle());
            BitBlt(dc_.Get(), 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
            ReleaseDC(Gauge->Handle(), screen);
        } else {
            Gauge->PaintTo(dc_.Get(), 0, 0);
        }
        GdiFlush();
    }
    TColor Pixel(int X, int Y) const
    {
        const DWORD p = bits_[Y * width_ + X];
        return static_cast<TColor>(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    // The ring's centre line: side 100 - 2 * 10 - 3 from (11, 11).
    TColor Ring(double Degrees) const
    {
        const double rad = Degrees * 3.14159265358979 / 180.0;
        return Pixel(static_cast<int>(std::lround(49.5 + 38.5 * std::sin(rad))),
                     static_cast<int>(std::lround(49.5 - 38.5 * std::cos(rad))));
    }
    // Blocks of rows inside the ring that hold dark ink (text), top to bottom.
    std::vector<TRect> InkBlocks() const
    {
        std::vector<TRect> blocks;
        bool inBlock = false;
        for (int y = 14; y < 86; ++y) {
            int left = 100, right = -1;
            for (int x = 14; x < 86; ++x)
                if (Dark(Pixel(x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x + 1);
                }
            if (right < 0) {
                inBlock = false;
                continue;
            }
            if (!inBlock)
                blocks.push_back(TRect(left, y, right, y + 1));
            blocks.back().left = std::min<LONG>(blocks.back().left, left);
            blocks.back().right = std::max<LONG>(blocks.back().right, right);
            blocks.back().bottom = y + 1;
            inBlock = true;
        }
        return blocks;
    }
    static bool Dark(TColor c) { return GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128; }

private:
    int width_;
    int height_;
    TMemoryDC dc_;
    TBitmapHandle bitmap_;
    const DWORD* bits_ = nullptr;
};

TEST(InventoryWindow, TheGaugeShowsTheRunsProgress)
{
    auto client = ThreeComputers();
    TQueryHold atPC2(*client, L"PC2", Series[qOS].Text);
    TQueryHold atPC3(*client, L"PC3", Series[qOS].Text);
    TInventoryWindow w(client, L"PC1\r\nPC2\r\nPC3\r\nPC4");
    TAdvGaugeCircle* gauge = w.Form()->AdvGaugeCircle1;
    w.Start();
    // Halfway: two of four computers begun, the first done.
    ASSERT_TRUE(PumpUntil([&] { return atPC2.IsReached() && w.Gauge() == 25; }));
    atPC2.Release();
    ASSERT_TRUE(PumpUntil([&] { return atPC3.IsReached() && w.Gauge() == 50; }));
    PumpMessages();
    {
        const TGaugePicture half(gauge, false);
        for (double degrees : {5.0, 45.0, 90.0, 135.0, 175.0})
            EXPECT_EQ(half.Ring(degrees), gauge->GetPenColor()) << degrees;
        for (double degrees : {185.0, 225.0, 270.0, 315.0, 355.0})
            EXPECT_EQ(half.Ring(degrees), clSilver) << degrees;
        for (POINT corner : {POINT{1, 1}, POINT{98, 1}, POINT{1, 98}, POINT{98, 98}})
            EXPECT_EQ(half.Pixel(corner.x, corner.y), clWhite);
        const std::vector<TRect> ink = half.InkBlocks();
        ASSERT_EQ(ink.size(), 2u) << "the value and the %";
        EXPECT_NEAR((ink[0].left + ink[0].right) / 2.0, 49.5, 2);
        EXPECT_NEAR((ink[1].left + ink[1].right) / 2.0, 49.5, 2);
        EXPECT_GT(ink[1].top, ink[0].bottom);
        EXPECT_LT(ink[1].bottom, 88);
    }
    // On the screen: a ring 3 pixels wide with whole-pixel edges, at 3 and
    // at 12 o'clock, and the value's ink smoothed.
    {
        const TGaugePicture screen(gauge, true);
        // Across the ring: white, exactly three pixels of the pen, white.
        auto across = [&](auto pixel, int from, int to) {
            std::vector<int> inked;
            for (int i = from; i <= to; ++i) {
                const TColor c = pixel(i);
                if (c != clWhite) {
                    EXPECT_EQ(c, gauge->GetPenColor()) << i;
                    inked.push_back(i);
                }
            }
            return inked.size() == 3 && inked[2] - inked[0] == 2;
        };
        EXPECT_TRUE(across([&](int x) { return screen.Pixel(x, 49); }, 80, 95)) << "at 3 o'clock";
        EXPECT_TRUE(across([&](int y) { return screen.Pixel(51, y); }, 4, 20)) << "at 12 o'clock";
        const std::vector<TRect> ink = screen.InkBlocks();
        ASSERT_EQ(ink.size(), 2u);
        int greys = 0;
        for (int y = ink[0].top; y < ink[0].bottom; ++y)
            for (int x = ink[0].left; x < ink[0].right; ++x) {
                const TColor c = screen.Pixel(x, y);
                greys += c != clBlack && c != clWhite;
            }
        EXPECT_GT(greys, 5) << "smoothed text";
    }

    const int fiftyWide = TGaugePicture(gauge, false).InkBlocks()[0].Width();
    Click(w.Form()->BtnStop);
    PumpMessages();
    ASSERT_EQ(w.Gauge(), 100);
    const TGaugePicture full(gauge, false);
    for (double degrees = 5; degrees < 360; degrees += 30)
        EXPECT_EQ(full.Ring(degrees), gauge->GetPenColor()) << degrees;
    const std::vector<TRect> ink = full.InkBlocks();
    ASSERT_EQ(ink.size(), 2u);
    EXPECT_GT(ink[0].Width(), fiftyWide) << "100 is wider than 50";
    atPC3.Release();
    ASSERT_TRUE(w.WorkerEnded());
}

} // namespace

namespace {

// What a control paints of its client area, read at pixels.
class TClientPicture {
public:
    explicit TClientPicture(TWinControl* Control) : bitmap_(New<TBitmap>())
    {
        bitmap_->SetPixelFormat(pf32bit);
        bitmap_->SetSize(Control->GetClientWidth(), Control->GetClientHeight());
        Control->PaintTo(bitmap_->GetCanvas()->GetHandle(), 0, 0);
    }
    COLORREF Pixel(int x, int y) const
    {
        const DWORD p = static_cast<const DWORD*>(bitmap_->GetScanLine(y))[x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

private:
    TOwned<TBitmap> bitmap_;
};

bool ChannelsBetween(COLORREF p, COLORREF a, COLORREF b)
{
    const auto in = [](int v, int x, int y) { return v >= std::min(x, y) && v <= std::max(x, y); };
    return in(GetRValue(p), GetRValue(a), GetRValue(b)) && in(GetGValue(p), GetGValue(a), GetGValue(b)) &&
           in(GetBValue(p), GetBValue(a), GetBValue(b));
}

} // namespace

TEST(InventoryWindow, TheTableDrawsItsHeaderAndSelectionInTheVistaLook)
{
    TInventoryWindow w(ThreeComputers(), L"PC1\r\nPC2\r\nPC3");
    w.Start();
    ASSERT_TRUE(w.WaitUntilEnded());
    ASSERT_TRUE(w.WorkerEnded());
    TAdvStringGrid* grid = w.Grid();
    grid->SetFocus();
    // A click on the second computer's row selects it.
    const TRect row2 = grid->CellRect(3, 2);
    ClickAt(grid, row2.left + 5, row2.top + 5);
    PumpMessages();
    ASSERT_EQ(GetFocus(), grid->GetHandle());

    const TClientPicture picture(grid);
    // The header: a white upper half over a lower half from FAF8F7 to F4F2F1,
    // sampled just inside the title's left edge, clear of its text and of the
    // filter button at its right.
    const TRect header = grid->CellRect(3, 0);
    const int x = header.left + 1;
    const int mid = (header.top + header.bottom) / 2;
    EXPECT_EQ(picture.Pixel(x, header.top + 2), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_TRUE(ChannelsBetween(picture.Pixel(x, header.bottom - 4), RGB(0xF7, 0xF8, 0xFA), RGB(0xF1, 0xF2, 0xF4)));
    EXPECT_NE(picture.Pixel(x, mid + 3), RGB(0xFF, 0xFF, 0xFF));
    // The selected row: the focused Vista band, from FDF8F1 down to FCEFD5, in
    // every column of the row but inside its rounded border.
    const TRect selected = grid->CellRect(3, 2);
    EXPECT_TRUE(ChannelsBetween(picture.Pixel(selected.right - 6, selected.top + 4), RGB(0xF1, 0xF8, 0xFD),
                                RGB(0xD5, 0xEF, 0xFC)));
    // A row not selected stays white.
    const TRect other = grid->CellRect(3, 3);
    EXPECT_EQ(picture.Pixel(other.right - 6, other.top + 4), RGB(0xFF, 0xFF, 0xFF));
}
