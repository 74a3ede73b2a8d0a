// "Export to Excel" and "Export to HTML" through the main window: the check
// for data, the save dialogs answered through their windows, the workbook
// written by the spreadsheet stand-in server and read back, and the errors
// in place of the completion box.
#include <gtest/gtest.h>
#include "ComObj.h"
#include "ScriptedSeries.h"
#include "StandIn.h"
#include "StartedWindow.h"
#include "Workbook.h"
#include <commdlg.h>
#include <dlgs.h>
#include <algorithm>
#include <optional>

using testing_support::TempDir;

namespace {

const wchar_t* const NoData = L"There is no data to export.";
const wchar_t* const Completed = L"Export was completed!";
const wchar_t* const Unavailable = L"Computer or WMI service is unavailable.";

// What one export command showed.
struct TExportSeen {
    bool DialogShown = false;
    std::vector<String> Boxes;
};

bool SpreadsheetRunning()
{
    try {
        GetActiveOleObject(xlserver::ProgId);
        return true;
    } catch (const EOleSysError&) {
        return false;
    }
}

class TExportWindow {
public:
    TExportWindow() { window.emplace(folder.Path()); }

    TForm1* Form() const { return window->Form(); }
    TAdvStringGrid* Grid() const { return Form()->StringGrid1; }

    void Inventory(std::shared_ptr<IWmiClient> Client, const String& List)
    {
        Form()->WmiClient = std::move(Client);
        Form()->Memo2->SetText(List);
        Click(Form()->BtnHDD);
        ASSERT_TRUE(PumpUntil([this] { return !Form()->BtnStop->GetEnabled(); }));
        ASSERT_TRUE(Form()->InventoryRun()->WaitForWorker(10000));
    }

    // Clicks the export button. Its save dialog, if it shows, gets Name typed
    // and Save pressed, or Cancel without a name; every message box after it
    // is noted and answered with OK.
    TExportSeen Export(TAdvGlowButton* Button, TSaveDialog* Dialog, const String& Name)
    {
        TExportSeen seen;
        std::optional<TAnsweredBoxes> boxes(std::in_place);
        Dialog->OnShow = [&](TObject*) {
            seen.DialogShown = true;
            boxes.reset();
            HWND wnd = Dialog->GetHandle();
            if (!Name.empty())
                SendMessageW(wnd, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(Name.c_str()));
            PostMessageW(wnd, WM_COMMAND, Name.empty() ? IDCANCEL : IDOK, 0);
        };
        Dialog->OnClose = [&](TObject*) { boxes.emplace(); };
        Click(Button);
        Dialog->OnShow = nullptr;
        Dialog->OnClose = nullptr;
        if (boxes)
            seen.Boxes = boxes->Texts;
        return seen;
    }
    TExportSeen ExportToExcel(const String& Name) { return Export(Form()->BtnExcel, Form()->SaveDialog1, Name); }

    // The table as the spreadsheet should hold it: every cell, titles and
    // names included, from A1.
    std::map<xlsx::CellRef, std::wstring> TableCells() const
    {
        std::map<xlsx::CellRef, std::wstring> cells;
        for (int row = 0; row < Grid()->GetRowCount(); ++row)
            for (int col = 0; col < Grid()->GetColCount(); ++col)
                if (String text = Grid()->GetCells(col, row); !text.empty())
                    cells[{row + 1, col + 1}] = text;
        return cells;
    }

    TempDir folder;
    std::optional<TStartedWindow> window;
};

// PC1 with a model and a few more values, then whatever follows.
std::shared_ptr<TScriptedWmiClient> ComputersWithModel()
{
    auto client = std::make_shared<TScriptedWmiClient>();
    TScriptedComputer& pc = QuietComputer(*client, L"PC1");
    Answer(pc, qSystem, Objects({{{L"Name", L"PC1"}, {L"Model", L"OptiPlex 7050"}, {L"UserName", L"CORP\\jdoe"}}}));
    Answer(pc, qOS, Objects({{{L"Caption", L"Windows & <Server>"}}}));
    Answer(pc, qShares, Objects({{{L"Name", L"Docs"}, {L"Type", 0}}, {{L"Name", L"Общие"}, {L"Type", 0}}}));
    QuietComputer(*client, L"PC2");
    return client;
}

class ExcelExport : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(SpreadsheetRunning()) << "an application runs from before"; }
    void TearDown() override { EXPECT_FALSE(SpreadsheetRunning()) << "the export left the application running"; }
};

TEST_F(ExcelExport, TheWholeTableGoesIntoTheWorkbookNamedInTheDialog)
{
    xlserver::StandInRegistration server;
    ASSERT_TRUE(server.Registered());
    TExportWindow w;
    w.Inventory(ComputersWithModel(), L"PC1\r\nOFFLINE\r\nPC2");
    ASSERT_EQ(w.Grid()->GetCells(1, 2), Unavailable);

    // Without an extension the dialog adds the default one.
    const TExportSeen seen = w.ExportToExcel(w.folder.File(L"inventory"));
    EXPECT_TRUE(seen.DialogShown);
    EXPECT_EQ(seen.Boxes, std::vector<String>{Completed});
    const xlsx::Workbook book = xlsx::LoadWorkbook(w.folder.File(L"inventory.xlsx"));
    ASSERT_EQ(book.sheets.size(), 1u);
    const auto& cells = book.sheets[0].cells;
    EXPECT_EQ(cells, w.TableCells());
    EXPECT_EQ(cells.at({1, 1}), L"Computer name");
    EXPECT_EQ(cells.at({2, 2}), L"OptiPlex 7050");
    EXPECT_EQ(cells.at({3, 2}), Unavailable);
    EXPECT_EQ(cells.at({2, 24}), L"Docs; Общие");
    EXPECT_EQ(cells.at({4, 1}), L"PC2");
}

TEST_F(ExcelExport, AnEmptyFirstModelCellIsNoDataAndCancelWritesNothing)
{
    struct TCase {
        const char* Name;
        std::function<std::shared_ptr<TScriptedWmiClient>()> Client;
        const wchar_t* List;
        bool DialogShown;
        std::vector<String> Boxes;
    };
    const TCase cases[] = {
        {"no inventory yet", nullptr, L"", false, {NoData}},
        // Other rows with data do not count: the first one has no model.
        {"a first computer without a model", ComputersWithModel, L"PC2\r\nPC1", false, {NoData}},
        // A failed inventory leaves its text there, which is data; the
        // dialog is cancelled.
        {"a first computer that failed", ComputersWithModel, L"OFFLINE\r\nPC1", true, {}},
        {"a first computer with a model", ComputersWithModel, L"PC1", true, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TExportWindow w;
        if (c.Client)
            w.Inventory(c.Client(), c.List);
        const TExportSeen seen = w.ExportToExcel(String());
        EXPECT_EQ(seen.DialogShown, c.DialogShown);
        EXPECT_EQ(seen.Boxes, c.Boxes);
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(w.folder.File(L"*.xlsx").c_str(), &found);
        EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a file was written";
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
    }
}

TEST_F(ExcelExport, FailuresShowTheirErrorAndNoCompletion)
{
    TExportWindow w;
    w.Inventory(ComputersWithModel(), L"PC1");

    // No spreadsheet application at all.
    {
        CLSID clsid{};
        ASSERT_FALSE(SUCCEEDED(CLSIDFromProgID(xlserver::ProgId, &clsid))) << "the stand-in is registered";
        const TExportSeen seen = w.ExportToExcel(w.folder.File(L"none.xlsx"));
        EXPECT_TRUE(seen.DialogShown);
        EXPECT_EQ(seen.Boxes, std::vector<String>{L"Excel OLE server not found."});
        EXPECT_EQ(GetFileAttributesW(w.folder.File(L"none.xlsx").c_str()), INVALID_FILE_ATTRIBUTES);
    }

    // A workbook the application cannot save: the file is held open.
    xlserver::StandInRegistration server;
    ASSERT_TRUE(server.Registered());
    const String held = w.folder.File(L"held.xlsx");
    WriteBytes(held, "in use");
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const TExportSeen seen = w.ExportToExcel(held);
    CloseHandle(holder);
    EXPECT_TRUE(seen.DialogShown);
    ASSERT_EQ(seen.Boxes.size(), 1u);
    EXPECT_NE(seen.Boxes[0], Completed);
    EXPECT_NE(seen.Boxes[0].find(L"held.xlsx"), String::npos) << std::string(seen.Boxes[0].begin(), seen.Boxes[0].end());
}

} // namespace
