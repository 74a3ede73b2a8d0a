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
    TExportSeen ExportToHTML(const String& Name) { return Export(Form()->BtnHTML, Form()->SaveDialog2, Name); }

    // What the window handed to the shell, instead of starting a browser.
    struct TOpened {
        String Verb;
        String Target;
        int Show = -1;
        bool operator==(const TOpened&) const = default;
    };
    void RecordShell()
    {
        Form()->ShellOpen = [this](const String& Verb, const String& Target, int Show) {
            opened.push_back({Verb, Target, Show});
        };
    }
    std::vector<TOpened> opened;

    // The table as the spreadsheet should hold it: every cell, titles and
    // names included, from A1, each given as text behind the quote prefix.
    std::map<xlsx::CellRef, std::wstring> TableCells() const
    {
        std::map<xlsx::CellRef, std::wstring> cells;
        for (int row = 0; row < Grid()->GetRowCount(); ++row)
            for (int col = 0; col < Grid()->GetColCount(); ++col)
                if (String text = Grid()->GetCells(col, row); !text.empty())
                    cells[{row + 1, col + 1}] = L"'" + text;
        return cells;
    }

    TempDir folder;
    std::optional<TStartedWindow> window;
};

// PC1 with a model and a few more values, PC2 without a model and with a
// share whose name a spreadsheet would take for a formula.
std::shared_ptr<TScriptedWmiClient> ComputersWithModel()
{
    auto client = std::make_shared<TScriptedWmiClient>();
    TScriptedComputer& pc = QuietComputer(*client, L"PC1");
    Answer(pc, qSystem, Objects({{{L"Name", L"PC1"}, {L"Model", L"OptiPlex 7050"}, {L"UserName", L"CORP\\jdoe"}}}));
    Answer(pc, qOS, Objects({{{L"Caption", L"Windows & <Server>"}}}));
    Answer(pc, qShares, Objects({{{L"Name", L"Docs"}, {L"Type", 0}}, {{L"Name", L"Общие"}, {L"Type", 0}}}));
    Answer(QuietComputer(*client, L"PC2"), qShares, Objects({{{L"Name", L"=1+2"}, {L"Type", 0}}}));
    return client;
}

// Names that look like markup, as a list file may hold them.
const wchar_t* const MarkupName = L"<img src=x onerror=alert(1)>";
const wchar_t* const BoldName = L"a&b\"c<b>bold</b>";

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
    RunInventory(w.Form(), ComputersWithModel(), L"PC1\r\nOFFLINE\r\nPC2");
    ASSERT_EQ(w.Grid()->GetCells(1, 2), Unavailable);

    // Without an extension the dialog adds the default one.
    const TExportSeen seen = w.ExportToExcel(w.folder.File(L"inventory"));
    EXPECT_TRUE(seen.DialogShown);
    EXPECT_EQ(seen.Boxes, std::vector<String>{Completed});
    const xlsx::Workbook book = xlsx::LoadWorkbook(w.folder.File(L"inventory.xlsx"));
    ASSERT_EQ(book.sheets.size(), 1u);
    const auto& cells = book.sheets[0].cells;
    EXPECT_EQ(cells, w.TableCells());
    EXPECT_EQ(cells.at({1, 1}), L"'Computer name");
    EXPECT_EQ(cells.at({2, 2}), L"'OptiPlex 7050");
    EXPECT_EQ(cells.at({3, 2}), String(L"'") + Unavailable);
    EXPECT_EQ(cells.at({2, 24}), L"'Docs; Общие");
    EXPECT_EQ(cells.at({4, 1}), L"'PC2");
    // Text, never a formula: the file marks the cell as text given behind
    // the prefix, as the application does.
    EXPECT_EQ(cells.at({4, 24}), L"'=1+2");
}

TEST_F(ExcelExport, WithoutAnyValueBesidesTheNamesThereIsNoDataAndCancelWritesNothing)
{
    struct TCase {
        const char* Name;
        std::function<void(TExportWindow&)> Fill;
        bool DialogShown;
        std::vector<String> Boxes;
    };
    const TCase cases[] = {
        {"no inventory yet", nullptr, false, {NoData}},
        {"names only", [](TExportWindow& w) {
             w.Grid()->SetRowCount(3);
             w.Grid()->SetCells(0, 1, L"PC1");
             w.Grid()->SetCells(0, 2, L"PC2");
         }, false, {NoData}},
        // The first computer has no model; the data of the next one counts.
        // The dialog is cancelled.
        {"a first computer without a model",
         [](TExportWindow& w) { RunInventory(w.Form(), ComputersWithModel(), L"PC2\r\nPC1"); }, true, {}},
        {"only a value far right",
         [](TExportWindow& w) {
             w.Grid()->SetRowCount(3);
             w.Grid()->SetCells(0, 2, L"PC2");
             w.Grid()->SetCells(InventoryColumnCount - 1, 2, L"CN0K1234");
         }, true, {}},
        // A failed inventory leaves its text there, which is data.
        {"a first computer that failed",
         [](TExportWindow& w) { RunInventory(w.Form(), ComputersWithModel(), L"OFFLINE"); }, true, {}},
        {"a first computer with a model",
         [](TExportWindow& w) { RunInventory(w.Form(), ComputersWithModel(), L"PC1"); }, true, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TExportWindow w;
        w.RecordShell();
        if (c.Fill)
            c.Fill(w);
        for (const bool excel : {true, false}) {
            SCOPED_TRACE(excel ? "Excel" : "HTML");
            const TExportSeen seen = excel ? w.ExportToExcel(String()) : w.ExportToHTML(String());
            EXPECT_EQ(seen.DialogShown, c.DialogShown);
            EXPECT_EQ(seen.Boxes, c.Boxes);
        }
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW(w.folder.File(L"*.*").c_str(), &found);
        bool written = false;
        if (search != INVALID_HANDLE_VALUE) {
            do
                written = written || !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        EXPECT_FALSE(written) << "a file was written";
        EXPECT_TRUE(w.opened.empty());
    }
}

TEST_F(ExcelExport, WithoutASpreadsheetApplicationTheErrorShowsAndNoCompletion)
{
    TExportWindow w;
    RunInventory(w.Form(), ComputersWithModel(), L"PC1");
    CLSID clsid{};
    ASSERT_FALSE(SUCCEEDED(CLSIDFromProgID(xlserver::ProgId, &clsid))) << "the stand-in is registered";
    const TExportSeen seen = w.ExportToExcel(w.folder.File(L"none.xlsx"));
    EXPECT_TRUE(seen.DialogShown);
    EXPECT_EQ(seen.Boxes, std::vector<String>{L"Excel OLE server not found."});
    EXPECT_EQ(GetFileAttributesW(w.folder.File(L"none.xlsx").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(HtmlExport, TheWholeTableGoesIntoThePageWhichIsThenOpened)
{
    TExportWindow w;
    w.RecordShell();
    RunInventory(w.Form(), ComputersWithModel(),
                 String(L"PC1\r\nOFFLINE\r\nPC2\r\n") + MarkupName + L"\r\n" + BoldName);

    // Without an extension the dialog adds the default one.
    const TExportSeen seen = w.ExportToHTML(w.folder.File(L"inventory"));
    EXPECT_TRUE(seen.DialogShown);
    EXPECT_EQ(seen.Boxes, std::vector<String>{Completed});
    const String page = w.folder.File(L"inventory.html");
    EXPECT_EQ(w.opened, (std::vector<TExportWindow::TOpened>{{L"open", page, SW_SHOWNORMAL}}));

    // UTF-8 with its mark; every cell, titles and names included, as text.
    TOwned<TStringList> lines(New<TStringList>());
    lines->LoadFromFile(page);
    const String text = lines->GetText();
    std::string bytes(3, '\0');
    HANDLE file = CreateFileW(page.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD read = 0;
    ReadFile(file, bytes.data(), 3, &read, nullptr);
    CloseHandle(file);
    EXPECT_EQ(bytes, "\xEF\xBB\xBF");
    // Names and values are text in the page as in the table, markup or not.
    for (const wchar_t* cell : {L">Computer name<", L">PC1<", L">OptiPlex 7050<", L">Windows &amp; &lt;Server&gt;<",
                                L">Docs; Общие<", L">OFFLINE<", L">Computer or WMI service is unavailable.<", L">PC2<",
                                L">=1+2<", L">&lt;img src=x onerror=alert(1)&gt;<",
                                L">a&amp;b&quot;c&lt;b&gt;bold&lt;/b&gt;<"})
        EXPECT_NE(text.find(cell), String::npos) << String(cell);
    EXPECT_EQ(text.find(L"<img"), String::npos);
    EXPECT_EQ(text.find(L"<b>"), String::npos);
    EXPECT_LT(text.find(L">PC1<"), text.find(L">OFFLINE<"));
    EXPECT_LT(text.find(L">OFFLINE<"), text.find(L">PC2<"));
}

// The file the dialog names is held open by another program.
TEST_F(ExcelExport, AFileThatCannotBeWrittenShowsItsErrorAndNoCompletion)
{
    xlserver::StandInRegistration server;
    ASSERT_TRUE(server.Registered());
    TExportWindow w;
    w.RecordShell();
    RunInventory(w.Form(), ComputersWithModel(), L"PC1");
    for (const bool excel : {true, false}) {
        SCOPED_TRACE(excel ? "Excel" : "HTML");
        const String held = w.folder.File(excel ? L"held.xlsx" : L"held.html");
        WriteBytes(held, "in use");
        HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        const TExportSeen seen = excel ? w.ExportToExcel(held) : w.ExportToHTML(held);
        CloseHandle(holder);
        EXPECT_TRUE(seen.DialogShown);
        ASSERT_EQ(seen.Boxes.size(), 1u);
        EXPECT_NE(seen.Boxes[0], Completed);
        EXPECT_NE(seen.Boxes[0].find(held.substr(held.rfind(L'\\') + 1)), String::npos) << seen.Boxes[0];
    }
    EXPECT_TRUE(w.opened.empty());
}

} // namespace
