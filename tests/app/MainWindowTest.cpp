// The main window started in a program folder of its own with each kind of
// files a person may have beside the program: what it shows, where it
// stands, and what it leaves in "settings.ini" after closing.
#include <gtest/gtest.h>
#include "StartedWindow.h"
#include <map>
#include <optional>

using testing_support::PumpMessages;
using testing_support::SourceDir;
using testing_support::TempDir;

namespace {

enum TLanguageFileKind { lfNone, lfShipped, lfWithoutBtnStop };
enum TPlacementKind { plDefault, plSaved, plPulledIn };

struct TStartCase {
    const char* Name;
    // Beside the program.
    TLanguageFileKind LanguageFile;
    const char* Settings;      // "settings.ini" as typed in a text editor, or null
    const char* ComputerList;  // "pclist.txt", or null
    // What shows.
    const wchar_t* TextSection;  // suffix of the language file's sections the texts come from
    int PickerIndex;
    bool PickerVisible;
    const wchar_t* Caption;
    const wchar_t* ApplicationTitle;
    const wchar_t* Link;
    const wchar_t* Label4;
    const wchar_t* BtnStop;
    const wchar_t* ComputerCount;
    TPlacementKind Placement;
    TRect SavedBounds;  // for plSaved
    // What close writes as the language.
    const wchar_t* WrittenLanguage;
    // [GRID] "colstate" in "settings.ini", or null; whether the table takes it.
    const char* ColumnState = nullptr;
    bool LayoutRestored = false;
};

// The column layout as the table shows it: widths by displayed column, and
// the hidden column if any.
struct TLayout {
    std::vector<int> Widths;
    int HiddenCol = -1;

    // The column-state string of this layout with the columns in their order.
    std::string ColumnState() const
    {
        std::string widths, order, flags;
        for (int col = 0; col < InventoryColumnCount; ++col) {
            const char* comma = col == 0 ? "" : ",";
            const std::size_t at = static_cast<std::size_t>(col);
            widths += comma + std::to_string(at < Widths.size() ? Widths[at] : 120);
            order += comma + std::to_string(col);
            flags += comma + std::string(col == HiddenCol ? "0" : "1");
        }
        return std::to_string(InventoryColumnCount) + "#" + widths + "#" + order + "#" + flags;
    }
};

String Wide(const std::string& Ascii)
{
    return String(Ascii.begin(), Ascii.end());
}

TLayout DefaultLayout()
{
    TLayout layout{std::vector<int>(InventoryColumnCount, 120)};
    for (auto [col, width] : {std::pair{0, 160}, {7, 140}, {15, 130}, {19, 125}, {24, 130}})
        layout.Widths[static_cast<std::size_t>(col)] = width;
    return layout;
}

// A layout a person left: narrower columns and "CPU frequency" hidden.
TLayout SavedLayout()
{
    TLayout layout{std::vector<int>(InventoryColumnCount - 1, 80), 5};
    layout.Widths[0] = 150;
    layout.Widths[14] = 210;
    return layout;
}
const std::string SavedColumnState = SavedLayout().ColumnState();
// Well-formed up to its last flag: a table that took it field by field
// would show every column 50 wide.
const std::string MalformedColumnState = [] {
    std::string state = TLayout{std::vector<int>(InventoryColumnCount, 50)}.ColumnState();
    state.back() = '2';
    return state;
}();

const TStartCase StartCases[] = {
    {"NoFilesAtAll", lfNone, nullptr, nullptr, L"en", 1, false, L"Tavelin (v.1.0.2)", L"Tavelin",
     EnglishSiteAddress, L"Get a list of computers", L"Cancel", L"", plDefault, {}, L"english"},
    // A list whose last line is empty keeps that line.
    {"LanguageFileWithoutSettingsIsRussian", lfShipped, nullptr, "PC-1\r\n\r\nPC-2\r\n\r\n", L"ru", 0, true,
     L"Тавелин (v.1.0.2)", L"Tavelin", RussianSiteAddress, L"Получить список компьютеров", L"Отменить",
     L"4", plDefault, {}, L"russian"},
    {"LanguageEnglish", lfShipped, "[options]\r\nlanguage=english\r\n", nullptr, L"en", 1, true,
     L"Tavelin (v.1.0.2)", L"Tavelin", EnglishSiteAddress, L"Get a list of computers", L"Cancel", L"",
     plDefault, {}, L"english"},
    // Matches neither word: no language, the defaults, the design caption
    // and link, and the picker still on image 0.
    {"LanguageCapitalisedMatchesNeither", lfShipped, "[options]\r\nlanguage=English\r\n", nullptr, L"", 0,
     true, L"Tavelin", L"Tavelin", RussianSiteAddress, L"Get a list of computers", L"Cancel", L"",
     plDefault, {}, L"russian"},
    {"FormSectionWithoutOneKey", lfWithoutBtnStop, "[options]\r\nlanguage=english\r\n", nullptr, L"en", 1,
     true, L"Tavelin (v.1.0.2)", L"Tavelin", EnglishSiteAddress, L"Файл: Get a list of computers",
     L"Cancel", L"", plDefault, {}, L"english"},
    {"LanguageRussianAtSavedPlace", lfShipped,
     "[options]\r\nlanguage=russian\r\nform_left=20\r\nform_top=30\r\nform_width=1000\r\n"
     "form_height=600\r\nform_state_maximized=0\r\n",
     nullptr, L"ru", 0, true, L"Тавелин (v.1.0.2)", L"Тавелин", RussianSiteAddress,
     L"Получить список компьютеров", L"Отменить", L"", plSaved, Bounds(20, 30, 1000, 600), L"russian"},
    {"SavedEntirelyOffTheScreen", lfShipped,
     "[options]\r\nlanguage=english\r\nform_left=5000\r\nform_top=4000\r\nform_width=1000\r\n"
     "form_height=700\r\n",
     nullptr, L"en", 1, true, L"Tavelin (v.1.0.2)", L"Tavelin", EnglishSiteAddress,
     L"Get a list of computers", L"Cancel", L"", plPulledIn, {}, L"english"},
    // The column layout: the one saved on close comes back; one the table
    // cannot take gives the designed widths, not a part of it or all 120.
    {"SavedColumnLayoutComesBack", lfShipped, "[options]\r\nlanguage=english\r\n", nullptr, L"en", 1, true,
     L"Tavelin (v.1.0.2)", L"Tavelin", EnglishSiteAddress, L"Get a list of computers", L"Cancel", L"",
     plDefault, {}, L"english", SavedColumnState.c_str(), true},
    {"MalformedColumnLayoutGivesTheDefaults", lfShipped, "[options]\r\nlanguage=english\r\n", nullptr, L"en", 1,
     true, L"Tavelin (v.1.0.2)", L"Tavelin", EnglishSiteAddress, L"Get a list of computers", L"Cancel", L"",
     plDefault, {}, L"english", MalformedColumnState.c_str()},
    {"ColumnLayoutWithoutSeparatorsGivesTheDefaults", lfShipped, "[options]\r\nlanguage=english\r\n", nullptr,
     L"en", 1, true, L"Tavelin (v.1.0.2)", L"Tavelin", EnglishSiteAddress, L"Get a list of computers",
     L"Cancel", L"", plDefault, {}, L"english", "160,120,120"},
    {"ColumnLayoutOfAnotherColumnCountGivesTheDefaults", lfShipped, "[options]\r\nlanguage=english\r\n",
     nullptr, L"en", 1, true, L"Tavelin (v.1.0.2)", L"Tavelin", EnglishSiteAddress,
     L"Get a list of computers", L"Cancel", L"", plDefault, {}, L"english", "3#50,50,50#0,1,2#1,1,1"},
};

String ShippedLanguageFile()
{
    return SourceDir() + L"\\resources\\languages.lng";
}

// The program folder of one case.
void PrepareFolder(const TStartCase& c, const TempDir& Folder)
{
    const String lng = Folder.File(L"languages.lng");
    if (c.LanguageFile == lfShipped) {
        ASSERT_TRUE(CopyFileW(ShippedLanguageFile().c_str(), lng.c_str(), FALSE));
    } else if (c.LanguageFile == lfWithoutBtnStop) {
        TOwned<TIniFile> file(New<TIniFile>(lng));
        for (const TLanguageText& text : FormTexts)
            if (String(text.Key) != L"btn_stop")
                file->WriteString(L"form_en", text.Key, String(L"Файл: ") + text.Default);
    }
    std::string settings = c.Settings ? c.Settings : "";
    if (c.ColumnState)
        settings += std::string("[GRID]\r\ncolstate=") + c.ColumnState + "\r\n";
    if (!settings.empty())
        WriteBytes(Folder.File(L"settings.ini"), settings);
    if (c.ComputerList)
        WriteBytes(Folder.File(L"pclist.txt"), c.ComputerList);
}

// What a text should read: the language file's entry when it has one (read
// by the in-memory reader, not the profile functions), else the default.
String ExpectedText(const TStartCase& c, const TempDir& Folder, const String& Prefix, const TLanguageText& Text)
{
    if (c.LanguageFile == lfNone)
        return Text.Default;
    TOwned<TMemIniFile> file(New<TMemIniFile>(Folder.File(L"languages.lng")));
    return file->ReadString(Prefix + c.TextSection, Text.Key, Text.Default);
}

TRect WorkArea()
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

TRect ExpectedBounds(const TStartCase& c)
{
    switch (c.Placement) {
    case plDefault: return Bounds(100, 100, 990, 657);
    case plSaved: return c.SavedBounds;
    case plPulledIn: {
        const TRect work = WorkArea();
        return Bounds(work.right - 1000, work.bottom - 700, 1000, 700);
    }
    }
    return {};
}

std::map<String, String> SectionValues(const String& Path, const String& Section)
{
    TOwned<TMemIniFile> file(New<TMemIniFile>(Path));
    TOwned<TStringList> lines(New<TStringList>());
    file->ReadSectionValues(Section, lines.get());
    std::map<String, String> values;
    for (int i = 0; i < lines->Count(); ++i)
        values[lines->Names(i)] = lines->ValueFromIndex(i);
    return values;
}

TRect NormalBounds(TForm1* Form)
{
    WINDOWPLACEMENT placement{sizeof placement};
    GetWindowPlacement(Form->Handle(), &placement);
    TRect r(placement.rcNormalPosition);
    const TRect work = WorkArea();
    OffsetRect(&r, work.left, work.top);
    return r;
}

// The settings the window writes on close for a normal rectangle.
std::map<String, String> PlacementValues(const TRect& Normal, bool Maximized)
{
    return {{L"form_left", IntToStr(Normal.left)},
            {L"form_top", IntToStr(Normal.top)},
            {L"form_width", IntToStr(Normal.Width())},
            {L"form_height", IntToStr(Normal.Height())},
            {L"form_state_maximized", Maximized ? L"1" : L"0"}};
}

class MainWindowStart : public testing::TestWithParam<TStartCase> {
protected:
    void SetUp() override { Application->SetTitle(L"Tavelin"); }
};

TEST_P(MainWindowStart, ShowsItsFilesAndWritesTheSettingsOnClose)
{
    const TStartCase& c = GetParam();
    TempDir folder;
    PrepareFolder(c, folder);
    TStartedWindow form(folder.Path());

    EXPECT_EQ(LanguageCode, c.TextSection);
    EXPECT_EQ(form->GetCaption(), c.Caption);
    EXPECT_EQ(Application->GetTitle(), c.ApplicationTitle);
    EXPECT_EQ(form->Label18->GetCaption(), c.Link);
    EXPECT_EQ(form->ImagePicker1->GetItemIndex(), c.PickerIndex);
    EXPECT_EQ(form->ImagePicker1->GetVisible(), c.PickerVisible);

    // Every text of the form, each where it shows.
    EXPECT_EQ(form->Label4->GetCaption(), c.Label4);
    EXPECT_EQ(form->BtnStop->GetCaption(), c.BtnStop);
    const std::pair<const wchar_t*, String> shown[] = {
        {L"lbl_getcomp", form->Label4->GetCaption()},
        {L"lbl_objects", form->Label1->GetCaption()},
        {L"btn_fromtxt", form->BtnFromTXT->GetCaption()},
        {L"btn_fromad", form->BtnFromAD->GetCaption()},
        {L"btn_start", form->BtnHDD->GetCaption()},
        {L"btn_stop", form->BtnStop->GetCaption()},
        {L"btn_excel", form->BtnExcel->GetCaption()},
        {L"btn_html", form->BtnHTML->GetCaption()},
        {L"cb_servers", form->CBServers->GetCaption()},
        {L"cb_workstations", form->CBComputers->GetCaption()},
        {L"btn_clear_hint", form->BtnClear->GetHint()},
        {L"btn_save_hint", form->BtnSave->GetHint()},
        {L"pn_folder", form->AdvPanelGroupShares->GetText()},
        {L"pn_admins", form->AdvPanelGroupAdmins->GetText()},
        {L"pn_network", form->AdvPanelGroupLAN->GetText()},
        {L"pn_hdd", form->AdvPanelGroupHDD->GetText()},
    };
    ASSERT_EQ(std::size(shown), FormTexts.size());
    for (std::size_t i = 0; i < FormTexts.size(); ++i) {
        ASSERT_STREQ(shown[i].first, FormTexts[i].Key);
        EXPECT_EQ(shown[i].second, ExpectedText(c, folder, L"form_", FormTexts[i])) << FormTexts[i].Key;
    }
    for (int col = 0; col < InventoryColumnCount; ++col)
        EXPECT_EQ(form->StringGrid1->GetCells(col, 0),
                  ExpectedText(c, folder, L"table_", ColumnTitles[static_cast<std::size_t>(col)]))
            << "col" << col;
    TAdvStringGrid* grid = form->StringGrid1;
    const TLayout layout = c.LayoutRestored ? SavedLayout() : DefaultLayout();
    EXPECT_EQ(grid->GetAllColCount(), InventoryColumnCount);
    std::vector<int> widths;
    for (int col = 0; col < grid->GetColCount(); ++col)
        widths.push_back(grid->GetColWidths(col));
    EXPECT_EQ(widths, layout.Widths);
    for (int col = 0; col < InventoryColumnCount; ++col)
        EXPECT_EQ(grid->IsHiddenColumn(col), col == layout.HiddenCol) << "col" << col;
    // The title row fits its titles in the layout shown.
    const int titleHeight = grid->GetRowHeights(0);
    grid->AutoSizeRow(0, 0);
    EXPECT_EQ(grid->GetRowHeights(0), titleHeight);

    EXPECT_EQ(form->Label2->GetCaption(), c.ComputerCount);
    if (c.ComputerList) {
        // A line is a name exactly as written, an empty one included.
        ASSERT_EQ(form->Memo2->GetLines()->Count(), 4);
        EXPECT_EQ(form->Memo2->GetLines()->Get(0), L"PC-1");
        EXPECT_EQ(form->Memo2->GetLines()->Get(1), L"");
        EXPECT_EQ(form->Memo2->GetLines()->Get(2), L"PC-2");
        EXPECT_EQ(form->Memo2->GetLines()->Get(3), L"");
    }

    const TRect expected = ExpectedBounds(c);
    EXPECT_EQ(form->GetBoundsRect(), expected);
    EXPECT_EQ(form->GetWindowState(), wsNormal);
    EXPECT_FALSE(IsZoomed(form->Handle()));

    form.Close();
    auto written = PlacementValues(expected, false);
    written[L"language"] = c.WrittenLanguage;
    EXPECT_EQ(SectionValues(folder.File(L"settings.ini"), L"options"), written);
    EXPECT_EQ(SectionValues(folder.File(L"settings.ini"), L"GRID"),
              (std::map<String, String>{{L"colstate", Wide(layout.ColumnState())}}));
}

INSTANTIATE_TEST_SUITE_P(Table, MainWindowStart, testing::ValuesIn(StartCases),
                         [](const testing::TestParamInfo<TStartCase>& info) { return info.param.Name; });

TEST(MainWindow, ClosedMaximizedKeepsTheNormalRectangleForTheNextStart)
{
    Application->SetTitle(L"Tavelin");
    TempDir folder;
    WriteBytes(folder.File(L"settings.ini"),
              "[options]\r\nlanguage=english\r\nform_left=150\r\nform_top=120\r\nform_width=1000\r\n"
              "form_height=700\r\n");
    const TRect normal = Bounds(150, 120, 1000, 700);
    {
        TStartedWindow form(folder.Path());
        ASSERT_EQ(form->GetBoundsRect(), normal);
        form->SetWindowState(wsMaximized);
        PumpMessages();
        ASSERT_TRUE(IsZoomed(form->Handle()));
        form.Close();
    }
    auto written = PlacementValues(normal, true);
    written[L"language"] = L"english";
    EXPECT_EQ(SectionValues(folder.File(L"settings.ini"), L"options"), written);

    TStartedWindow form(folder.Path());
    EXPECT_EQ(form->GetWindowState(), wsMaximized);
    EXPECT_TRUE(IsZoomed(form->Handle()));
    EXPECT_EQ(NormalBounds(form.Form()), normal);
    // Restored, it goes back to where it stood before it was maximized.
    form->SetWindowState(wsNormal);
    PumpMessages();
    EXPECT_EQ(form->GetBoundsRect(), normal);
}

// ---------------------------------------------------------------------------
// Files that cannot be read or written, and a close from outside.

const std::string UsersSettings = "[options]\r\nlanguage=russian\r\nform_left=20\r\nform_top=30\r\n"
                                  "form_width=1000\r\nform_height=600\r\nform_state_maximized=0\r\n"
                                  "[GRID]\r\ncolstate=" + SavedColumnState + "\r\n";

// "settings.ini" made read-only for as long as it lives. The tests may run
// with rights that write a read-only file all the same (as root here), so a
// handle that lets others only read it keeps it unwritable as well.
class TReadOnlyFile {
public:
    explicit TReadOnlyFile(const String& Path) : path_(Path)
    {
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY);
        holder_ = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    ~TReadOnlyFile()
    {
        if (holder_ != INVALID_HANDLE_VALUE)
            CloseHandle(holder_);
        SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    TReadOnlyFile(const TReadOnlyFile&) = delete;
    TReadOnlyFile& operator=(const TReadOnlyFile&) = delete;
    bool Held() const { return holder_ != INVALID_HANDLE_VALUE; }

private:
    String path_;
    HANDLE holder_ = INVALID_HANDLE_VALUE;
};

std::map<String, std::map<String, String>> AllSettings(const String& Path)
{
    return {{L"options", SectionValues(Path, L"options")}, {L"GRID", SectionValues(Path, L"GRID")}};
}

// Held open by another program: the list stays empty, and everything else
// of the start happens, so that close gives back the settings it found.
TEST(MainWindow, AComputerListThatCannotBeReadCostsNothingElseOfTheStart)
{
    Application->SetTitle(L"Tavelin");
    TempDir folder;
    ASSERT_TRUE(CopyFileW(ShippedLanguageFile().c_str(), folder.File(L"languages.lng").c_str(), FALSE));
    WriteBytes(folder.File(L"settings.ini"), UsersSettings);
    const auto before = AllSettings(folder.File(L"settings.ini"));
    WriteBytes(folder.File(L"pclist.txt"), "PC-1\r\n");
    HANDLE holder = CreateFileW(folder.File(L"pclist.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    TAnsweredBoxes boxes;
    {
        TStartedWindow form(folder.Path());
        ASSERT_EQ(boxes.Texts.size(), 1u);
        EXPECT_NE(boxes.Texts[0].find(L"pclist.txt"), String::npos) << boxes.Texts[0];
        EXPECT_EQ(form->Memo2->GetText(), L"");
        EXPECT_EQ(LanguageCode, L"ru");
        EXPECT_EQ(form->Label4->GetCaption(), L"Получить список компьютеров");
        EXPECT_EQ(form->StringGrid1->GetCells(0, 0), L"Имя компьютера");
        EXPECT_EQ(form->StringGrid1->GetColWidths(0), SavedLayout().Widths[0]);
        EXPECT_TRUE(form->StringGrid1->IsHiddenColumn(SavedLayout().HiddenCol));
        EXPECT_EQ(form->GetBoundsRect(), Bounds(20, 30, 1000, 600));
        form.Close();
    }
    CloseHandle(holder);
    EXPECT_EQ(boxes.Texts.size(), 1u);
    EXPECT_EQ(AllSettings(folder.File(L"settings.ini")), before);
}

// A read-only "settings.ini": closing still closes, and says once why
// nothing was saved; the file stays as it was.
TEST(MainWindow, SettingsThatCannotBeWrittenAreSaidOnceAndTheWindowClosesAllTheSame)
{
    TempDir folder;
    const String path = folder.File(L"settings.ini");
    WriteBytes(path, UsersSettings);
    {
        TReadOnlyFile readOnly(path);
        ASSERT_TRUE(readOnly.Held());
        TStartedWindow form(folder.Path());
        TAnsweredBoxes boxes;
        form.Close();
        EXPECT_FALSE(IsWindowVisible(form->Handle()));
        ASSERT_EQ(boxes.Texts.size(), 1u);
        EXPECT_NE(boxes.Texts[0].find(L"settings.ini"), String::npos) << boxes.Texts[0];
    }
    EXPECT_EQ(testing_support::FileBytes(path), UsersSettings);
}

// A shutdown or a task manager posts a close to every top-level window of
// the program: the picker's dropped list, the application's window and the
// main window. The settings are written once, as the window shows them,
// and the program ends.
TEST(MainWindow, ClosedFromOutsideItWritesItsSettingsOnceAndEnds)
{
    struct TCase {
        const char* Name;
        bool ReadOnly;
        const wchar_t* Language;  // written, or null: nothing can be written
        std::size_t Boxes;
    };
    const TCase cases[] = {
        {"no files beside the program", false, L"english", 0},
        {"a read-only settings file", true, nullptr, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TempDir folder;
        const String path = folder.File(L"settings.ini");
        std::optional<TReadOnlyFile> readOnly;
        if (c.ReadOnly) {
            WriteBytes(path, UsersSettings);
            readOnly.emplace(path);
            ASSERT_TRUE(readOnly->Held());
        }
        TStartedWindow form(folder.Path());
        TCustomForm* mainForm = Application->GetMainForm();
        Application->SetMainForm(form.Form());
        struct TRestore {
            TCustomForm* Form;
            ~TRestore() { Application->SetMainForm(Form); }
        } restore{mainForm};
        HWND list = form->ImagePicker1->ListHandle();
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(form->ImagePicker1->GetItemIndex(), 1);

        TAnsweredBoxes boxes;
        for (HWND wnd : {list, Application->GetHandle(), form->Handle()})
            PostMessageW(wnd, WM_CLOSE, 0, 0);
        bool ended = false;
        MSG msg;
        const DWORD start = GetTickCount();
        while (!ended && GetTickCount() - start < 10000) {
            if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
                continue;
            }
            ended = msg.message == WM_QUIT;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        EXPECT_TRUE(ended) << "the program did not end";
        EXPECT_EQ(boxes.Texts.size(), c.Boxes);
        readOnly.reset();
        if (c.Language)
            EXPECT_EQ(SectionValues(path, L"options")[L"language"], c.Language);
        else
            EXPECT_EQ(testing_support::FileBytes(path), UsersSettings);
    }
}

TEST(MainWindow, TitleRowFitsItsTitlesInTheLayoutShownAndOnEachActivation)
{
    TempDir defaultFolder;
    int defaultHeight = 0;
    {
        TStartedWindow form(defaultFolder.Path());
        defaultHeight = form->StringGrid1->GetRowHeights(0);
    }

    // Narrow columns wrap the titles onto more lines.
    TempDir narrowFolder;
    WriteBytes(narrowFolder.File(L"settings.ini"),
               "[GRID]\r\ncolstate=" + TLayout{std::vector<int>(InventoryColumnCount, 60)}.ColumnState() + "\r\n");
    TStartedWindow form(narrowFolder.Path());
    TAdvStringGrid* grid = form->StringGrid1;
    ASSERT_EQ(grid->GetColWidths(3), 60);
    const int narrowHeight = grid->GetRowHeights(0);
    EXPECT_GT(narrowHeight, defaultHeight);

    // Columns widened while the window was in the background: the title row
    // shrinks back when the window is active again.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    PumpMessages();
    for (int col = 0; col < grid->GetColCount(); ++col)
        grid->SetColWidths(col, 400);
    EXPECT_EQ(grid->GetRowHeights(0), narrowHeight);
    SetForegroundWindow(form->Handle());
    PumpMessages();
    DestroyWindow(other);
    EXPECT_LT(grid->GetRowHeights(0), narrowHeight);
    EXPECT_LE(grid->GetRowHeights(0), defaultHeight);
}

TEST(MainWindow, AWheelNotchMovesOneRow)
{
    TempDir folder;
    TStartedWindow form(folder.Path());
    TAdvStringGrid* grid = form->StringGrid1;
    grid->SetRowCount(100);
    grid->SetFocus();
    PumpMessages();
    ASSERT_EQ(grid->GetRow(), 1);
    POINT centre{grid->GetWidth() / 2, grid->GetHeight() / 2};
    ClientToScreen(grid->Handle(), &centre);
    SendMessageW(grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(centre.x, centre.y));
    PumpMessages();
    EXPECT_EQ(grid->GetRow(), 2);
}

TEST(MainWindow, TheTableHasItsBorderInTheLooksColour)
{
    TempDir folder;
    TStartedWindow form(folder.Path());
    TAdvStringGrid* grid = form->StringGrid1;
    ASSERT_TRUE(grid->GetFitCellsInGrid());
    // The border the grid draws on its window DC after the system's
    // non-client paint, drawn here into a bitmap of the window's size.
    TOwned<TBitmap> window(New<TBitmap>());
    window->SetPixelFormat(pf32bit);
    window->SetSize(grid->GetWidth(), grid->GetHeight());
    window->GetCanvas()->GetBrush()->SetColor(clWhite);
    window->GetCanvas()->FillRect(TRect(0, 0, grid->GetWidth(), grid->GetHeight()));
    grid->DrawBorderFrame(window->GetCanvas()->GetHandle());
    auto at = [&](int x, int y) {
        const DWORD p = static_cast<const DWORD*>(window->GetScanLine(y))[x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    };
    const int middle = grid->GetHeight() / 2;
    EXPECT_EQ(at(1, middle), ColorToRGB(0xB99D7F));
    EXPECT_EQ(at(grid->GetWidth() / 2, 1), ColorToRGB(0xB99D7F));
    EXPECT_EQ(at(grid->GetWidth() - 2, middle), ColorToRGB(0xB99D7F));
    EXPECT_EQ(at(0, middle), ColorToRGB(grid->GetParent()->GetColor())) << "the parent's colour outside it";
}

TEST(MainWindow, StartsWithTheGaugeHiddenAtZeroAndCancelDisabled)
{
    TempDir folder;
    TStartedWindow form(folder.Path());
    EXPECT_EQ(form->AdvGaugeCircle1->GetPosition(), 0);
    EXPECT_FALSE(form->AdvGaugeCircle1->GetVisible());
    EXPECT_FALSE(form->BtnStop->GetEnabled());
    EXPECT_FALSE(form->Label11->GetVisible());
    EXPECT_EQ(form->StringGrid1->GetColCount(), InventoryColumnCount);
    EXPECT_EQ(form->StringGrid1->GetRowCount(), 2);
}

// ---------------------------------------------------------------------------
// Texts read when needed, and the shipped language file.

TEST(LanguageTexts, MessagesAreReadFromTheFileEachTimeTheyAreNeeded)
{
    TempDir folder;
    TStartedWindow form(folder.Path());
    EXPECT_EQ(MessageText(L"msg_empty"), L"There is no data to export.");

    // A file that appears after the start: the language stays, the texts are new.
    TOwned<TIniFile> file(New<TIniFile>(folder.File(L"languages.lng")));
    file->WriteString(L"messages_en", L"msg_export", L"Готово!");
    EXPECT_EQ(MessageText(L"msg_export"), L"Готово!");
    EXPECT_EQ(MessageText(L"grid_wmi"), L"Computer or WMI service is unavailable.");
    EXPECT_THROW(MessageText(L"msg_unknown"), EListError);
}

TEST(LanguageTexts, ShippedFileHasEveryTextInBothLanguages)
{
    TOwned<TMemIniFile> file(New<TMemIniFile>(ShippedLanguageFile()));
    struct TSection {
        const wchar_t* Prefix;
        const TLanguageText* Texts;
        std::size_t Count;
    };
    const TSection sections[] = {
        {L"form_", FormTexts.data(), FormTexts.size()},
        {L"table_", ColumnTitles.data(), ColumnTitles.size()},
        {L"messages_", MessageTexts.data(), MessageTexts.size()},
    };
    for (const TSection& section : sections) {
        TOwned<TStringList> russianKeys(New<TStringList>());
        file->ReadSection(String(section.Prefix) + L"ru", russianKeys.get());
        EXPECT_EQ(static_cast<std::size_t>(russianKeys->Count()), section.Count) << section.Prefix;
        for (std::size_t i = 0; i < section.Count; ++i) {
            const TLanguageText& text = section.Texts[i];
            EXPECT_NE(file->ReadString(String(section.Prefix) + L"ru", text.Key, L""), L"") << text.Key;
            // The English section says what the built-in texts say; panel
            // texts only add bold markup.
            String english = file->ReadString(String(section.Prefix) + L"en", text.Key, L"");
            if (english.rfind(L"<B> ", 0) == 0 && english.size() > 8)
                english = english.substr(4, english.size() - 8);
            EXPECT_EQ(english, text.Default) << text.Key;
        }
    }
}

TEST(LanguageTexts, LastShutDownOfTheUnitReleasesItsState)
{
    TempDir folder;
    WriteBytes(folder.File(L"languages.lng"), "[form_ru]\r\n");
    {
        TStartedWindow form(folder.Path());
        form.Close();
    }
    ASSERT_NE(LanguageFile, nullptr);
    ASSERT_EQ(LanguageCode, L"ru");

    // A nested start-up and shut-down keeps it; the last shut-down releases it.
    Unit1_Initialize();
    Unit1_Finalize();
    EXPECT_NE(LanguageFile, nullptr);
    Unit1_Finalize();
    EXPECT_EQ(LanguageFile, nullptr);
    EXPECT_EQ(LanguageCode, L"");
    Unit1_Initialize();
}

} // namespace
