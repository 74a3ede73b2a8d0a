// The computer list of the main window, driven through its windows as a
// person would: typing and pasting, clearing, saving beside the program,
// loading a text file through the open dialog, the servers and workstations
// boxes, and listing the user's domain from the directory that ./test starts.
#include <gtest/gtest.h>
#include "Clipbrd.h"
#include "ScriptedSeries.h"
#include "StartedWindow.h"
#include <commdlg.h>
#include <dlgs.h>
#include <optional>

using testing_support::AnswerNextMessageBox;
using testing_support::MessageBoxText;
using testing_support::PumpMessages;
using testing_support::TempDir;
using testing_support::WindowText;

namespace {

const wchar_t* const DomainMessage = L"Can't get the list of computers from your domain!";

std::string ReadBytes(const std::wstring& Path)
{
    HANDLE file = CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    return bytes;
}

void Type(TWinControl* Control, const String& Keys)
{
    for (wchar_t key : Keys)
        SendMessageW(Control->Handle(), WM_CHAR, key, 1);
    PumpMessages();
}

// What a message box showed, and the state of things while it did.
struct TBoxSeen {
    bool Shown = false;
    String Caption;
    String Text;
    TCursor Cursor = crDefault;
    String List;
};

class ComputerList : public testing::Test {
protected:
    void SetUp() override { window.emplace(folder.Path()); }

    TForm1* Form() const { return window->Form(); }
    String Text() const { return Form()->Memo2->GetText(); }
    String Count() const { return Form()->Label2->GetCaption(); }
    std::vector<String> Lines() const
    {
        TOwned<TStringList> lines(New<TStringList>());
        lines->SetText(Text());
        std::vector<String> out;
        for (int i = 0; i < lines->Count(); ++i)
            out.push_back(lines->Get(i));
        return out;
    }

    // The next message box is noted in Seen and answered with OK.
    void AnswerBox(TBoxSeen& Seen)
    {
        AnswerNextMessageBox([this, &Seen](HWND box) {
            Seen.Shown = true;
            Seen.Caption = WindowText(box);
            Seen.Text = MessageBoxText(box);
            Seen.Cursor = Screen->GetCursor();
            Seen.List = Text();
            return IDOK;
        });
    }

    // Clicks Control, which is to show a message box, and presses its OK.
    TBoxSeen ClickAnsweringBox(TWinControl* Control)
    {
        TBoxSeen seen;
        AnswerBox(seen);
        Click(Control);
        return seen;
    }

    // The next open dialog: the folder it opens in is noted, then Name is
    // typed and Open pressed; with no Name, or in a folder other than the
    // program's (where Name would be the wrong file), Cancel is pressed.
    void AnswerOpenDialog(const String& Name)
    {
        openedIn.clear();
        TOpenDialog* dialog = Form()->OpenDialog1;
        dialog->OnShow = [this, dialog, Name](TObject*) {
            HWND wnd = dialog->GetHandle();
            wchar_t path[MAX_PATH * 2] = {};
            SendMessageW(wnd, CDM_GETFOLDERPATH, MAX_PATH * 2, reinterpret_cast<LPARAM>(path));
            openedIn = path;
            const bool open = !Name.empty() && SameText(IncludeTrailingPathDelimiter(openedIn),
                                                        IncludeTrailingPathDelimiter(folder.Path()));
            if (open)
                SendMessageW(wnd, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(Name.c_str()));
            PostMessageW(wnd, WM_COMMAND, open ? IDOK : IDCANCEL, 0);
        };
    }

    void SetBoxes(bool Servers, bool Workstations)
    {
        if (Form()->CBServers->GetChecked() != Servers)
            SendMessageW(Form()->CBServers->Handle(), BM_CLICK, 0, 0);
        if (Form()->CBComputers->GetChecked() != Workstations)
            SendMessageW(Form()->CBComputers->Handle(), BM_CLICK, 0, 0);
        PumpMessages();
        ASSERT_EQ(Form()->CBServers->GetChecked(), Servers);
        ASSERT_EQ(Form()->CBComputers->GetChecked(), Workstations);
    }

    TempDir folder;
    std::optional<TStartedWindow> window;
    String openedIn;
};

// ---------------------------------------------------------------------------
// Typing, pasting, clearing and the count beside the list.

TEST_F(ComputerList, CountFollowsEveryChangeOfTheList)
{
    struct TStep {
        const char* Name;
        std::function<void()> Do;
        const wchar_t* Text;
        const wchar_t* Count;
    };
    const TStep steps[] = {
        {"a name typed", [&] { Type(Form()->Memo2, L"PC-1"); }, L"PC-1", L"1"},
        {"Enter and a second name", [&] { Type(Form()->Memo2, L"\rPC-2"); }, L"PC-1\r\nPC-2", L"2"},
        // An empty last line is no line, an empty line before another is.
        {"Enter after the last name", [&] { Type(Form()->Memo2, L"\r"); }, L"PC-1\r\nPC-2\r\n", L"2"},
        {"an empty line", [&] { Type(Form()->Memo2, L"\r"); }, L"PC-1\r\nPC-2\r\n\r\n", L"3"},
        {"two names pasted",
         [&] {
             Clipboard()->SetAsText(L"Сервер-1\r\nPC-3");
             SendMessageW(Form()->Memo2->Handle(), WM_PASTE, 0, 0);
             PumpMessages();
         },
         L"PC-1\r\nPC-2\r\n\r\nСервер-1\r\nPC-3", L"5"},
        {"a name deleted",
         [&] { Type(Form()->Memo2, String(4, L'\b')); }, L"PC-1\r\nPC-2\r\n\r\nСервер-1\r\n", L"4"},
        {"the clear button", [&] { Click(Form()->BtnClear); }, L"", L"0"},
    };
    Form()->Memo2->SetFocus();
    for (const TStep& step : steps) {
        step.Do();
        EXPECT_EQ(Text(), step.Text) << step.Name;
        EXPECT_EQ(Count(), step.Count) << step.Name;
    }
}

TEST_F(ComputerList, CtrlASelectsTheWholeListWithoutTypingACharacter)
{
    Form()->Memo2->SetText(L"PC-1\r\nPC-2\r\nPC-3");
    Form()->Memo2->SetFocus();
    Form()->Memo2->SetSelStart(3);
    Form()->Memo2->SetSelLength(0);
    PumpMessages();

    // The keys themselves, so that the platform makes the character.
    INPUT keys[4] = {};
    const WORD codes[] = {VK_CONTROL, 'A', 'A', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
    }
    ASSERT_EQ(SendInput(4, keys, sizeof(INPUT)), 4u);
    PumpMessages();
    EXPECT_EQ(Text(), L"PC-1\r\nPC-2\r\nPC-3");
    EXPECT_EQ(Form()->Memo2->GetSelStart(), 0);
    EXPECT_EQ(Form()->Memo2->GetSelLength(), static_cast<int>(Text().size()));

    // The character alone, as another program might send it, is consumed too.
    Form()->Memo2->SetSelStart(3);
    Form()->Memo2->SetSelLength(0);
    Type(Form()->Memo2, L"\x01");
    EXPECT_EQ(Text(), L"PC-1\r\nPC-2\r\nPC-3");
    EXPECT_EQ(Form()->Memo2->GetSelLength(), static_cast<int>(Text().size()));

    // What is typed next replaces everything.
    Type(Form()->Memo2, L"X");
    EXPECT_EQ(Text(), L"X");
    EXPECT_EQ(Count(), L"1");
}

// ---------------------------------------------------------------------------
// Saving beside the program.

TEST_F(ComputerList, SaveWritesEveryLineEndedByCrLfReplacingTheFile)
{
    struct TSaveCase {
        const char* Name;
        const wchar_t* Typed;
        std::string Bytes;
    };
    // Names the system's code page cannot hold make the file UTF-8 with its mark.
    const std::string cyrillic = GetACP() == 1251 ? "\xC4\xCA-1\r\n\xEF\xEA-2\r\n"
                                                  : "\xEF\xBB\xBF\xD0\x94\xD0\x9A-1\r\n\xD0\xBF\xD0\xBA-2\r\n";
    const TSaveCase cases[] = {
        {"names and an empty line", L"PC-1\r\n\r\nPC-2", "PC-1\r\n\r\nPC-2\r\n"},
        {"Enter after the last name", L"PC-1\r\nPC-2\r\n", "PC-1\r\nPC-2\r\n"},
        {"an empty last line", L"PC-1\r\n\r\n", "PC-1\r\n\r\n"},
        {"only an empty line", L"\r\n", "\r\n"},
        {"names as typed, spaces kept", L" pc-1 \r\nPC-1", " pc-1 \r\nPC-1\r\n"},
        {"Cyrillic names", L"ДК-1\r\nпк-2", cyrillic},
        {"an empty list", L"", ""},
    };
    const String path = folder.File(L"pclist.txt");
    for (const TSaveCase& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteBytes(path, "an older list\r\nthat was longer than any of these\r\n");
        Form()->Memo2->SetText(c.Typed);
        Click(Form()->BtnSave);
        EXPECT_EQ(ReadBytes(path), c.Bytes);

        // The next start reads back exactly what the list held.
        const std::vector<String> saved = Lines();
        TStartedWindow next(folder.Path());
        TOwned<TStringList> reread(New<TStringList>());
        reread->SetText(next->Memo2->GetText());
        EXPECT_EQ(reread->Count(), static_cast<int>(saved.size()));
        for (int i = 0; i < reread->Count() && i < static_cast<int>(saved.size()); ++i)
            EXPECT_EQ(reread->Get(i), saved[static_cast<std::size_t>(i)]) << "line " << i;
    }
}

// A list file whose last line is empty: that line is a row with an empty
// name (this computer) through the start, the run and "Save the list".
TEST_F(ComputerList, AListFileEndingInAnEmptyLineKeepsThatRowThroughTheRunAndTheSave)
{
    const String path = folder.File(L"pclist.txt");
    const std::string list = "PC1\r\n\r\n";
    WriteBytes(path, list);
    window.reset();
    window.emplace(folder.Path());
    EXPECT_EQ(Lines(), (std::vector<String>{L"PC1", L""}));
    EXPECT_EQ(Count(), L"2");

    auto client = std::make_shared<TScriptedWmiClient>();
    QuietComputer(*client, L"PC1");
    Answer(QuietComputer(*client, L""), qOS, Objects({{{L"Caption", L"Windows of this computer"}}}));
    Form()->WmiClient = client;
    Click(Form()->BtnHDD);
    ASSERT_TRUE(PumpUntil([this] { return !Form()->BtnStop->GetEnabled(); }));
    ASSERT_TRUE(Form()->InventoryRun()->WaitForWorker(10000));
    TAdvStringGrid* grid = Form()->StringGrid1;
    EXPECT_EQ(grid->GetRowCount(), 3);
    EXPECT_EQ(grid->GetCells(0, 1), L"PC1");
    EXPECT_EQ(grid->GetCells(0, 2), L"");
    EXPECT_EQ(grid->GetCells(19, 2), L"Windows of this computer");

    WriteBytes(path, "an older list\r\n");
    Click(Form()->BtnSave);
    EXPECT_EQ(ReadBytes(path), list);
}

TEST_F(ComputerList, SaveThatCannotWriteShowsTheErrorAndChangesNothing)
{
    // A folder stands where the file would be written.
    ASSERT_TRUE(CreateDirectoryW(folder.File(L"pclist.txt").c_str(), nullptr));
    Form()->Memo2->SetText(L"PC-1\r\nPC-2");
    const TBoxSeen box = ClickAnsweringBox(Form()->BtnSave);
    ASSERT_TRUE(box.Shown);
    EXPECT_NE(box.Text.find(L"pclist.txt"), String::npos) << box.Text;
    EXPECT_EQ(Text(), L"PC-1\r\nPC-2");
    EXPECT_EQ(Count(), L"2");
    EXPECT_EQ(GetFileAttributesW(folder.File(L"pclist.txt").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

// ---------------------------------------------------------------------------
// A text file.

TEST_F(ComputerList, TextFileFromTheProgramFolderReplacesTheList)
{
    WriteBytes(folder.File(L"names.txt"), "\xEF\xBB\xBFPC-1\r\n\r\n\xD0\x94\xD0\x9A-1\nlast");
    Form()->Memo2->SetText(L"typed by hand");

    AnswerOpenDialog(L"names.txt");
    Click(Form()->BtnFromTXT);
    EXPECT_TRUE(SameText(IncludeTrailingPathDelimiter(openedIn), IncludeTrailingPathDelimiter(folder.Path())))
        << std::string(openedIn.begin(), openedIn.end());
    EXPECT_EQ(Lines(), (std::vector<String>{L"PC-1", L"", L"ДК-1", L"last"}));
    EXPECT_EQ(Count(), L"4");

    // Cancelled, the list stays.
    AnswerOpenDialog(String());
    Click(Form()->BtnFromTXT);
    EXPECT_EQ(Lines(), (std::vector<String>{L"PC-1", L"", L"ДК-1", L"last"}));
    EXPECT_EQ(Count(), L"4");
}

TEST_F(ComputerList, TextFileThatCannotBeReadShowsTheErrorAndKeepsTheList)
{
    const String locked = folder.File(L"locked.txt");
    WriteBytes(locked, "PC-9\r\n");
    HANDLE holder = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    Form()->Memo2->SetText(L"PC-1\r\nPC-2");

    AnswerOpenDialog(L"locked.txt");
    // Armed once the dialog has gone, which would look like a box as well.
    TBoxSeen box;
    Form()->OpenDialog1->OnClose = [&](TObject*) { AnswerBox(box); };
    Click(Form()->BtnFromTXT);
    Form()->OpenDialog1->OnClose = nullptr;
    CloseHandle(holder);
    ASSERT_TRUE(box.Shown);
    EXPECT_NE(box.Text.find(L"locked.txt"), String::npos) << box.Text;
    EXPECT_EQ(Text(), L"PC-1\r\nPC-2");
    EXPECT_EQ(Count(), L"2");
}

// ---------------------------------------------------------------------------
// The servers and workstations boxes.

TEST_F(ComputerList, UncheckingServersChecksWorkstationsAgain)
{
    struct TStep {
        const char* Click;  // "servers" or "workstations"
        bool Servers;
        bool Workstations;
    };
    const TStep steps[] = {
        {"servers", false, true},       // workstations already checked: stays
        {"servers", true, true},        // checking servers changes nothing else
        {"workstations", true, false},
        {"servers", false, true},       // the rule: workstations come back
        {"workstations", false, false}, // and may be unchecked afterwards
        {"servers", true, false},
    };
    for (const TStep& step : steps) {
        TCheckBox* box = std::string(step.Click) == "servers" ? Form()->CBServers : Form()->CBComputers;
        SendMessageW(box->Handle(), BM_CLICK, 0, 0);
        PumpMessages();
        EXPECT_EQ(Form()->CBServers->GetChecked(), step.Servers) << step.Click;
        EXPECT_EQ(Form()->CBComputers->GetChecked(), step.Workstations) << step.Click;
        EXPECT_EQ(SendMessageW(Form()->CBComputers->Handle(), BM_GETCHECK, 0, 0),
                  step.Workstations ? BST_CHECKED : BST_UNCHECKED);
    }
}

// ---------------------------------------------------------------------------
// The user's domain, from the test directory (tools/ldap/domains).

class DirectoryList : public ComputerList {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(testing_support::TestDirectoryAddress().empty())
            << "the test directory runs only under ./test";
        ComputerList::SetUp();
    }

    void SignIn(const String& UserName)
    {
        Form()->UserNameText = [UserName](int Format) {
            EXPECT_EQ(Format, 12) << "the name with the DNS domain";
            return UserName;
        };
    }

    // Lists, failing the test on any message box.
    void List()
    {
        TAnsweredBoxes boxes;
        Click(Form()->BtnFromAD);
        EXPECT_EQ(boxes.Texts, std::vector<String>());
        EXPECT_EQ(Screen->GetCursor(), crDefault);
    }
};

struct TListingCase {
    const char* Name;
    bool Servers;
    bool Workstations;
    std::vector<String> Names;
    const wchar_t* Count;  // of the records found, nameless ones included
};

const std::vector<String> ExampleWorkstations = {L"LEGACY01", L"WS-alpha", L"ws-bravo", L"ws-bravo",
                                                 L"Ws-Charlie", L"ДИРЕКТОР-ПК"};

const TListingCase ExampleCom[] = {
    {"all", true, true,
     {L"DC01", L"LEGACY01", L"SRV-FILE", L"srv-mail", L"WS-alpha", L"ws-bravo", L"ws-bravo", L"Ws-Charlie",
      L"ДИРЕКТОР-ПК"},
     L"11"},
    {"servers", true, false, {L"DC01", L"SRV-FILE", L"srv-mail"}, L"4"},
    {"workstations", false, true, ExampleWorkstations, L"7"},
    {"neither box: workstations", false, false, ExampleWorkstations, L"7"},
    // Listing again gives the same list, not one added to the last.
    {"all again", true, true,
     {L"DC01", L"LEGACY01", L"SRV-FILE", L"srv-mail", L"WS-alpha", L"ws-bravo", L"ws-bravo", L"Ws-Charlie",
      L"ДИРЕКТОР-ПК"},
     L"11"},
};

TEST_F(DirectoryList, ListsTheComputersTheBoxesAskForAndCountsTheRecords)
{
    SignIn(L"example.com\\tester");
    Form()->Memo2->SetText(L"typed by hand");
    for (const TListingCase& c : ExampleCom) {
        SCOPED_TRACE(c.Name);
        SetBoxes(c.Servers, c.Workstations);
        List();
        EXPECT_EQ(Lines(), c.Names);
        EXPECT_EQ(Count(), c.Count);
    }
    // The count of records stands until the list next changes; the open
    // dialog, even cancelled, shows the count of lines again.
    AnswerOpenDialog(String());
    Click(Form()->BtnFromTXT);
    EXPECT_EQ(Count(), L"9");
}

TEST_F(DirectoryList, DomainOfMoreThanOnePageComesBackWhole)
{
    SignIn(L"big.example.net\\tester");
    List();
    const std::vector<String> lines = Lines();
    ASSERT_EQ(lines.size(), 1210u);
    EXPECT_EQ(lines.front(), L"PC-0001");
    EXPECT_EQ(lines[1149], L"PC-1150");
    EXPECT_EQ(lines[1150], L"SRV-001");
    EXPECT_EQ(lines.back(), L"SRV-060");
    EXPECT_EQ(Count(), L"1210");
}

TEST_F(DirectoryList, NoReachableDirectoryShowsTheDomainMessageAndLeavesTheListEmpty)
{
    struct TFailureCase {
        const char* Name;
        std::function<void()> SignIn;
    };
    std::vector<TFailureCase> cases = {
        {"a user without a domain", [&] { SignIn(L"tester"); }},
        {"a domain whose server does not answer", [&] { SignIn(L"offline.example.com\\tester"); }},
        {"a name that resolves nowhere", [&] { SignIn(L"nowhere.invalid\\tester"); }},
    };
    // Where the platform signs the user into no domain, as here, its own
    // user is one more such case.
    try {
        GetUserNameText(12);
    } catch (const EOSError&) {
        cases.push_back({"the platform's own user", [&] { Form()->UserNameText = GetUserNameText; }});
    }
    for (const TFailureCase& c : cases) {
        SCOPED_TRACE(c.Name);
        c.SignIn();
        Form()->Memo2->SetText(L"typed by hand");
        const TBoxSeen box = ClickAnsweringBox(Form()->BtnFromAD);
        ASSERT_TRUE(box.Shown);
        EXPECT_EQ(box.Text, DomainMessage);
        EXPECT_EQ(box.Caption, L"Error");
        EXPECT_EQ(box.Cursor, crHourGlass);
        EXPECT_EQ(box.List, L"");
        EXPECT_EQ(Screen->GetCursor(), crDefault);
        EXPECT_EQ(Text(), L"");
        EXPECT_EQ(Count(), L"0");
    }
}

} // namespace
