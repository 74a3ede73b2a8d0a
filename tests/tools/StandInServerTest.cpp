// The spreadsheet stand-in driven the way the grid's export drives it, through the
// run-time library's late-bound calls: created or attached to, new workbook or named
// sheet, save-as or in place; and every call outside that answered with an error.
#include <gtest/gtest.h>
#include "Error.h"
#include "LateBound.h"
#include "StandIn.h"
#include "TestSupport.h"
#include "Workbook.h"
#include "Zip.h"

using namespace tools_test;

namespace {

class ComApartment : public testing::Environment {
public:
    void SetUp() override { ComObj_Initialize(); }
    void TearDown() override { ComObj_Finalize(); }
};
const auto* const apartment = testing::AddGlobalTestEnvironment(new ComApartment);

// A grid's texts: distinct per cell, with markup, ampersands, line feeds, padding and
// text beyond the Basic Multilingual Plane among them.
std::vector<std::vector<std::wstring>> GridTexts(int rows, int cols)
{
    const std::wstring specials[] = {L"<script>alert('x')</script>", L"Fish & Chips",
                                     L"two\nlines", L"  padded  ", L"Z\u00FCrich \u6771\u4EAC \U0001F600",
                                     L"\"quoted\""};
    std::vector<std::vector<std::wstring>> texts(rows, std::vector<std::wstring>(cols));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            texts[r][c] = (r * cols + c) % 7 == 3 ? specials[(r * cols + c) % 6]
                                                  : L"R" + std::to_wstring(r) + L"C" + std::to_wstring(c);
    return texts;
}

// Every text of the block, at the sheet cell it belongs to, and nothing else.
void ExpectBlockAt(const std::map<std::wstring, std::wstring>& cells,
                   const std::vector<std::vector<std::wstring>>& texts, int firstRow)
{
    std::size_t expected = 0;
    for (std::size_t r = 0; r < texts.size(); ++r)
        for (std::size_t c = 0; c < texts[r].size(); ++c, ++expected) {
            const std::wstring ref = xlsx::CellName({firstRow + static_cast<int>(r), static_cast<int>(c) + 1});
            const auto found = cells.find(ref);
            ASSERT_NE(found, cells.end()) << "no cell " << xlsx::ToUtf8(ref);
            EXPECT_EQ(found->second, texts[r][c]) << "cell " << xlsx::ToUtf8(ref);
        }
    EXPECT_EQ(cells.size(), expected);
}

using StandInServer = StandInSuite;

TEST_F(StandInServer, CreatedApplicationSavesTheBlockAsANewWorkbook)
{
    const std::wstring file = dir_.File(L"export.xls");
    const auto texts = GridTexts(4, 28);
    {
        ASSERT_TRUE(RunningApplication().IsEmpty());
        Variant app = CreateApplication();
        QuitGuard guard(app);
        Variant books = app.OleFunction(L"WorkBooks");
        ASSERT_EQ(books.OleFunction(L"Count").ToInteger(), 0);
        Variant book = books.OleFunction(L"Add");
        Variant sheet = book.OlePropertyGet(L"Sheets", {1});
        Variant range = sheet.OlePropertyGet(L"Range", {L"A1:AB4"});
        Variant block = Block(texts);
        range.OlePropertySet(L"Value", Variant::ByRef(block));
        book.OleProcedure(L"SaveAs", {file});
        app.OleProcedure(L"Quit");
    }
    ExpectBlockAt(SheetCells(file, 1), texts, 1);
    EXPECT_EQ(SheetNames(file), std::vector<std::wstring>{L"Sheet1"});

    const xlsx::ZipReader zip(xlsx::ReadFileBytes(file));
    for (const char* part : {"[Content_Types].xml", "_rels/.rels", "xl/workbook.xml",
                             "xl/_rels/workbook.xml.rels", "xl/worksheets/sheet1.xml"}) {
        const auto* entry = zip.Find(part);
        ASSERT_NE(entry, nullptr) << part;
        EXPECT_EQ(entry->method, 8) << part << " is not deflated";
    }
    EXPECT_NE(zip.Read("xl/worksheets/sheet1.xml").find("<dimension ref=\"A1:AB4\"/>"), std::string::npos);
}

TEST_F(StandInServer, AttachedApplicationTakesTheBlockAtTheActiveCellRowAndStaysOpen)
{
    // The user's workbook: its active cell is C10, one cell is filled already.
    const std::wstring mine = dir_.File(L"mine.xlsx");
    const std::wstring exported = dir_.File(L"exported.xlsx");
    xlsx::Workbook start;
    start.sheets.push_back({L"Data", {{{1, 1}, L"keep"}}, {10, 3}});
    xlsx::SaveWorkbook(start, mine);

    Variant user = CreateApplication();
    QuitGuard guard(user);
    user.OleFunction(L"WorkBooks").OleFunction(L"Open", {mine});

    const auto texts = GridTexts(2, 3);
    {
        Variant app = RunningApplication();
        ASSERT_FALSE(app.IsEmpty()) << "the running application is not found";
        ASSERT_EQ(app.OleFunction(L"WorkBooks").OleFunction(L"Count").ToInteger(), 1);
        Variant book = app.OleFunction(L"ActiveWorkBook");
        Variant sheet = book.OleFunction(L"ActiveSheet");
        const int row = app.OleFunction(L"ActiveCell").OleFunction(L"Row").ToInteger();
        ASSERT_EQ(row, 10);
        Variant range = sheet.OlePropertyGet(L"Range", {L"A10:C11"});
        Variant block = Block(texts);
        range.OlePropertySet(L"Value", Variant::ByRef(block));
        book.OleProcedure(L"SaveAs", {exported});
    }

    // Still running, with the workbook open in it under its new name: opening that file
    // gives the open workbook, opening the old one a second workbook.
    Variant again = RunningApplication();
    ASSERT_FALSE(again.IsEmpty());
    Variant books = again.OleFunction(L"WorkBooks");
    EXPECT_EQ(books.OleFunction(L"Count").ToInteger(), 1);
    books.OleFunction(L"Open", {exported});
    EXPECT_EQ(books.OleFunction(L"Count").ToInteger(), 1);
    books.OleFunction(L"Open", {mine});
    EXPECT_EQ(books.OleFunction(L"Count").ToInteger(), 2);

    auto cells = SheetCells(exported, 1);
    EXPECT_EQ(cells[L"A1"], L"keep");
    cells.erase(L"A1");
    ExpectBlockAt(cells, texts, 10);
    EXPECT_EQ(SheetCells(mine, 1), (std::map<std::wstring, std::wstring>{{L"A1", L"keep"}}));
    EXPECT_EQ(xlsx::LoadWorkbook(exported).sheets[0].activeCell, (xlsx::CellRef{10, 3}));
}

TEST_F(StandInServer, NamedSheetIsFoundOrAddedAndTheWorkbookSavedInPlace)
{
    const std::wstring file = dir_.File(L"book.xlsx");
    xlsx::Workbook start;
    start.sheets.push_back({L"Data", {{{1, 1}, L"data"}}});
    start.sheets.push_back({L"Other", {{{5, 5}, L"outside the block"}, {{1, 1}, L"overwritten"}}});
    xlsx::SaveWorkbook(start, file);

    // As the grid does: open, walk the sheets by name, and put the block into the match.
    auto exportInto = [&](const std::wstring& sheetName, const std::vector<std::vector<std::wstring>>& texts,
                          const wchar_t* rangeText) {
        Variant app = CreateApplication();
        QuitGuard guard(app);
        Variant book = app.OleFunction(L"WorkBooks").OleFunction(L"Open", {file});
        const int count = book.OleFunction(L"Sheets").OleFunction(L"Count").ToInteger();
        Variant target;
        for (int i = 1; i <= count; ++i) {
            Variant sheet = book.OlePropertyGet(L"Sheets", {i});
            if (sheet.OleFunction(L"Name").ToString() == sheetName)
                target = sheet;
        }
        if (target.IsEmpty()) {
            target = book.OleFunction(L"WorkSheets").OleFunction(L"Add");
            target.OlePropertySet(L"Name", sheetName);
        }
        Variant block = Block(texts);
        target.OlePropertyGet(L"Range", {rangeText}).OlePropertySet(L"Value", Variant::ByRef(block));
        book.OleProcedure(L"Save");
        app.OleProcedure(L"Quit");
    };

    const auto first = GridTexts(2, 2);
    exportInto(L"Other", first, L"A1:B2");
    EXPECT_EQ(SheetNames(file), (std::vector<std::wstring>{L"Data", L"Other"}));
    EXPECT_EQ(SheetCells(file, 1), (std::map<std::wstring, std::wstring>{{L"A1", L"data"}}));
    auto other = SheetCells(file, 2);
    EXPECT_EQ(other[L"E5"], L"outside the block");
    other.erase(L"E5");
    ExpectBlockAt(other, first, 1);

    const auto second = GridTexts(3, 2);
    exportInto(L"Inventory", second, L"A1:B3");
    EXPECT_EQ(SheetNames(file), (std::vector<std::wstring>{L"Data", L"Other", L"Inventory"}));
    ExpectBlockAt(SheetCells(file, 3), second, 1);
    EXPECT_EQ(SheetCells(file, 1), (std::map<std::wstring, std::wstring>{{L"A1", L"data"}}));
}

TEST_F(StandInServer, OpenFailsClearlyOnFilesThatAreNoWorkbook)
{
    auto write = [](const std::wstring& file, const std::string& bytes) {
        HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    };
    const std::wstring text = dir_.File(L"notes.xlsx");
    write(text, "just text");
    const std::wstring zipOnly = dir_.File(L"zip-only.xlsx");
    write(zipOnly, xlsx::WriteZip({{"readme.txt", "no workbook here"}}));
    const struct {
        std::wstring file;
        const wchar_t* says;
    } cases[] = {
        {dir_.File(L"missing.xlsx"), L"Cannot open"},
        {text, L"not a zip archive"},
        {zipOnly, L"no workbook"},
    };

    Variant app = CreateApplication();
    QuitGuard guard(app);
    Variant books = app.OleFunction(L"WorkBooks");
    for (const auto& c : cases) {
        const Answer answer = Try([&] { books.OleFunction(L"Open", {c.file}); });
        EXPECT_EQ(answer.code, DISP_E_EXCEPTION) << xlsx::ToUtf8(c.file);
        EXPECT_NE(answer.message.find(c.file), String::npos) << xlsx::ToUtf8(answer.message);
        EXPECT_NE(answer.message.find(c.says), String::npos) << xlsx::ToUtf8(answer.message);
    }
    // The grid goes on with a new workbook.
    EXPECT_EQ(books.OleFunction(L"Count").ToInteger(), 0);
    books.OleFunction(L"Add");
    EXPECT_EQ(books.OleFunction(L"Count").ToInteger(), 1);
}

TEST_F(StandInServer, ColumnsPastZZAreWrittenAtTheirReferences)
{
    const std::wstring file = dir_.File(L"wide.xlsx");
    const auto texts = GridTexts(2, 731); // up to column ABC
    Variant app = CreateApplication();
    QuitGuard guard(app);
    Variant book = app.OleFunction(L"WorkBooks").OleFunction(L"Add");
    Variant sheet = book.OlePropertyGet(L"Sheets", {1});

    // Two letters stop at 702 columns; a range text built with two letters beyond
    // that is refused rather than written somewhere else.
    const Answer refused = Try([&] { sheet.OlePropertyGet(L"Range", {L"A1:[A2"}); });
    EXPECT_EQ(refused.code, DISP_E_EXCEPTION);
    EXPECT_NE(refused.message.find(L"A1:[A2"), String::npos);

    Variant block = Block(texts);
    sheet.OlePropertyGet(L"Range", {L"A1:ABC2"}).OlePropertySet(L"Value", Variant::ByRef(block));
    book.OleProcedure(L"SaveAs", {file});
    const auto cells = SheetCells(file, 1);
    ExpectBlockAt(cells, texts, 1);
    EXPECT_EQ(cells.at(L"Z1"), texts[0][25]);
    EXPECT_EQ(cells.at(L"ZZ2"), texts[1][701]);
    EXPECT_EQ(cells.at(L"AAA1"), texts[0][702]);
}

// Each object the grid reaches, for the table of calls below.
enum class On { App, Books, Book, Sheets, WorkSheets, Sheet, Range };

TEST_F(StandInServer, CallsAreAnsweredOnlyInTheKindsTheGridUses)
{
    Variant app = CreateApplication();
    QuitGuard guard(app);
    Variant books = app.OleFunction(L"WorkBooks");
    Variant book = books.OleFunction(L"Add");
    Variant sheet = book.OlePropertyGet(L"Sheets", {1});
    const std::map<On, Variant> objects{
        {On::App, app},
        {On::Books, books},
        {On::Book, book},
        {On::Sheets, book.OleFunction(L"Sheets")},
        {On::WorkSheets, book.OleFunction(L"WorkSheets")},
        {On::Sheet, sheet},
        {On::Range, sheet.OlePropertyGet(L"Range", {L"A1:B2"})},
    };
    constexpr WORD Method = DISPATCH_METHOD, Get = DISPATCH_PROPERTYGET, Put = DISPATCH_PROPERTYPUT;
    const struct {
        On on;
        const wchar_t* name;
        WORD flags;
        std::vector<Variant> args; // a put's value last
        HRESULT expected;
    } cases[] = {
        // What the grid uses, also when a caller asks for method and get at once.
        {On::App, L"WorkBooks", Method, {}, S_OK},
        {On::App, L"WorkBooks", Method | Get, {}, S_OK},
        {On::App, L"WORKBOOKS", Method, {}, S_OK},
        {On::Book, L"Sheets", Method | Get, {1}, S_OK},
        {On::Book, L"Sheets", Method | Get, {}, S_OK},
        {On::Sheet, L"Range", Method | Get, {L"B2"}, S_OK},
        {On::Sheets, L"Count", Method, {}, S_OK},
        {On::Range, L"Row", Method, {}, S_OK},
        // Members the grid never calls.
        {On::App, L"Visible", Method, {}, DISP_E_UNKNOWNNAME},
        {On::Book, L"PrintOut", Method, {}, DISP_E_UNKNOWNNAME},
        {On::Sheets, L"Add", Method, {}, DISP_E_UNKNOWNNAME},
        {On::WorkSheets, L"Delete", Method, {}, DISP_E_UNKNOWNNAME},
        {On::Range, L"Text", Get, {}, DISP_E_UNKNOWNNAME},
        // Known members in a kind the grid does not use.
        {On::App, L"WorkBooks", Get, {}, DISP_E_MEMBERNOTFOUND},
        {On::Books, L"Count", Put, {1}, DISP_E_MEMBERNOTFOUND},
        {On::Sheet, L"Range", Method, {L"B2"}, DISP_E_MEMBERNOTFOUND},
        {On::Sheet, L"Name", Get, {}, DISP_E_MEMBERNOTFOUND},
        {On::Range, L"Value", Get, {}, DISP_E_MEMBERNOTFOUND},
        {On::Range, L"Row", Put, {1}, DISP_E_MEMBERNOTFOUND},
        // Wrong argument counts and types.
        {On::App, L"Quit", Method, {1}, DISP_E_BADPARAMCOUNT},
        {On::Books, L"Open", Method, {}, DISP_E_BADPARAMCOUNT},
        {On::Books, L"Add", Method, {L"Sheet1"}, DISP_E_BADPARAMCOUNT},
        {On::Sheet, L"Cells", Get, {1}, DISP_E_BADPARAMCOUNT},
        {On::Books, L"Open", Method, {1}, DISP_E_TYPEMISMATCH},
        {On::Book, L"Sheets", Get, {L"Sheet1"}, DISP_E_TYPEMISMATCH},
        {On::Book, L"Sheets", Get, {2.5}, DISP_E_TYPEMISMATCH},
        {On::Sheet, L"Name", Put, {1}, DISP_E_TYPEMISMATCH},
        // Right calls whose values cannot be served.
        {On::Book, L"Sheets", Get, {0}, DISP_E_EXCEPTION},
        {On::Book, L"Sheets", Get, {2}, DISP_E_EXCEPTION},
        {On::Book, L"Save", Method, {}, DISP_E_EXCEPTION},
        {On::Sheet, L"Range", Get, {L"Sheet1"}, DISP_E_EXCEPTION},
    };
    for (const auto& c : cases) {
        const std::vector<TOleArg> args(c.args.begin(), c.args.end());
        const Answer answer = Try([&] { objects.at(c.on).Invoke(c.name, c.flags, args); });
        EXPECT_EQ(answer.code, c.expected) << xlsx::ToUtf8(c.name) << " flags " << c.flags;
        if (c.expected == DISP_E_EXCEPTION) {
            EXPECT_FALSE(answer.message.empty()) << xlsx::ToUtf8(c.name) << " gave no message";
        }
    }

    // A put must name its value as the put argument.
    IDispatch* raw = sheet.ToDispatch();
    LPOLESTR name = const_cast<LPOLESTR>(L"Name");
    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(raw->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    Variant renamed(L"Renamed");
    VARIANT value = renamed.Raw();
    DISPPARAMS unnamed{&value, nullptr, 1, 0};
    EXPECT_EQ(raw->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, Put, &unnamed, nullptr, nullptr, nullptr),
              DISP_E_PARAMNOTFOUND);
    EXPECT_EQ(sheet.OleFunction(L"Name").ToString(), L"Sheet1");
}

TEST_F(StandInServer, ValueTakesOnlyABlockOfStringsThatFitsTheRange)
{
    const std::wstring file = dir_.File(L"values.xlsx");
    Variant app = CreateApplication();
    QuitGuard guard(app);
    Variant book = app.OleFunction(L"WorkBooks").OleFunction(L"Add");
    Variant sheet = book.OlePropertyGet(L"Sheets", {1});
    Variant range = sheet.OlePropertyGet(L"Range", {L"B2:D3"}); // 2 rows, 3 columns

    // Strings everywhere but at (1, 2).
    auto withElement = [](const Variant& odd) {
        Variant block = Block(GridTexts(2, 3));
        VarArrayPut(block, odd, {1, 2});
        return block;
    };
    const std::wstring tooLong(xlsx::MaxCellText + 1, L'x');
    struct {
        const char* what;
        Variant value;
        const wchar_t* says;
    } refused[] = {
        {"transposed", Block(GridTexts(3, 2)), L"has 2 rows and 3 columns, but the array has 3 rows and 2 columns"},
        {"one row short", Block(GridTexts(1, 3)), L"the array has 1 row and 3 columns"},
        {"one dimension", VarArrayCreate({0, 5}, VT_VARIANT), L"two-dimensional"},
        {"array of integers", VarArrayCreate({0, 1, 0, 2}, VT_I4), L"two-dimensional array of string variants"},
        {"an integer element", withElement(7), L"(1, 2) is not a string"},
        {"an empty element", withElement(Variant()), L"(1, 2) is not a string"},
        {"a plain string", Variant(L"text"), L"two-dimensional"},
        {"a text too long for a cell", Block({{L"a", L"b", L"c"}, {L"d", L"e", tooLong}}), L"32767"},
    };
    for (auto& c : refused) {
        const Answer answer = Try([&] { range.OlePropertySet(L"Value", Variant::ByRef(c.value)); });
        EXPECT_EQ(answer.code, DISP_E_EXCEPTION) << c.what;
        EXPECT_NE(answer.message.find(c.says), String::npos) << c.what << ": " << xlsx::ToUtf8(answer.message);
    }
    book.OleProcedure(L"SaveAs", {file});
    EXPECT_TRUE(SheetCells(file, 1).empty()) << "a refused block changed the sheet";

    // By reference, by value, and as a referenced array with other lower bounds; an
    // empty text clears its cell.
    Variant byRef = Block({{L"a", L"b", L"c"}, {L"d", L"e", L"f"}});
    range.OlePropertySet(L"Value", Variant::ByRef(byRef));
    range.OlePropertySet(L"Value", Block({{L"A", L"", L"C"}, {L"D", L"E", L"F"}}));
    Variant oneBased = Block({{L"1", L"2", L"3"}, {L"4", L"5", L""}}, 1, 1);
    VARIANT arrayRef;
    V_VT(&arrayRef) = VT_BYREF | VT_ARRAY | VT_VARIANT;
    V_ARRAYREF(&arrayRef) = &V_ARRAY(oneBased.Ptr());
    sheet.OlePropertyGet(L"Range", {L"B3:D4"}).OlePropertySet(L"Value", Variant::Attach(arrayRef));
    book.OleProcedure(L"Save");
    EXPECT_EQ(SheetCells(file, 1), (std::map<std::wstring, std::wstring>{
                                       {L"B2", L"A"}, {L"D2", L"C"}, {L"B3", L"1"}, {L"C3", L"2"},
                                       {L"D3", L"3"}, {L"B4", L"4"}, {L"C4", L"5"}}));
}

TEST_F(StandInServer, SheetNamesFollowTheWorkbookRules)
{
    Variant app = CreateApplication();
    QuitGuard guard(app);
    Variant book = app.OleFunction(L"WorkBooks").OleFunction(L"Add");
    Variant added = book.OleFunction(L"WorkSheets").OleFunction(L"Add");
    EXPECT_EQ(added.OleFunction(L"Name").ToString(), L"Sheet2");
    EXPECT_EQ(book.OleFunction(L"Sheets").OleFunction(L"Count").ToInteger(), 2);
    EXPECT_EQ(book.OleFunction(L"ActiveSheet").OleFunction(L"Name").ToString(), L"Sheet2");

    const struct {
        std::wstring name;
        bool accepted;
    } cases[] = {
        {L"Inventory 2024", true},
        {std::wstring(31, L'n'), true},
        {L"Sheet2", true}, // its own name
        {L"", false},
        {std::wstring(32, L'n'), false},
        {L"a:b", false},
        {L"a\\b", false},
        {L"a/b", false},
        {L"a?b", false},
        {L"a*b", false},
        {L"a[b", false},
        {L"a]b", false},
        {L"'quoted'", false},
        {L"SHEET1", false}, // names differ in more than case
        {L"tab\there", false},
    };
    for (const auto& c : cases) {
        const Answer answer = Try([&] { added.OlePropertySet(L"Name", c.name); });
        EXPECT_EQ(answer.code, c.accepted ? S_OK : DISP_E_EXCEPTION) << xlsx::ToUtf8(c.name);
        EXPECT_EQ(added.OleFunction(L"Name").ToString() == c.name, c.accepted) << xlsx::ToUtf8(c.name);
    }
}

TEST_F(StandInServer, FailedSaveIsReportedAndLeavesTheFileAsItWas)
{
    Variant app = CreateApplication();
    QuitGuard guard(app);
    Variant book = app.OleFunction(L"WorkBooks").OleFunction(L"Add");
    Variant block = Block({{L"new"}});
    book.OlePropertyGet(L"Sheets", {1}).OlePropertyGet(L"Range", {L"A1"}).OlePropertySet(L"Value", Variant::ByRef(block));

    const std::wstring nowhere = dir_.File(L"no such folder\\book.xlsx");
    Answer answer = Try([&] { book.OleProcedure(L"SaveAs", {nowhere}); });
    EXPECT_EQ(answer.code, DISP_E_EXCEPTION);
    EXPECT_NE(answer.message.find(nowhere), String::npos) << xlsx::ToUtf8(answer.message);
    EXPECT_EQ(GetFileAttributesW(nowhere.c_str()), INVALID_FILE_ATTRIBUTES);

    // A file another program holds open cannot be replaced; it keeps its old content.
    const std::wstring held = dir_.File(L"held.xlsx");
    xlsx::Workbook old;
    old.sheets.push_back({L"Old", {{{1, 1}, L"old"}}});
    xlsx::SaveWorkbook(old, held);
    const std::string before = xlsx::ReadFileBytes(held);
    HANDLE h = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    answer = Try([&] { book.OleProcedure(L"SaveAs", {held}); });
    CloseHandle(h);
    EXPECT_EQ(answer.code, DISP_E_EXCEPTION);
    EXPECT_EQ(xlsx::ReadFileBytes(held), before);
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(dir_.File(L"*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        if (found.cFileName[0] != L'.')
            files.push_back(found.cFileName);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    EXPECT_EQ(files, std::vector<std::wstring>{L"held.xlsx"}) << "a temporary file was left behind";
}

TEST_F(StandInServer, QuitOrTheLastReleaseEndsTheApplication)
{
    {
        Variant app = CreateApplication();
        Variant books = app.OleFunction(L"WorkBooks");
        books.OleFunction(L"Add");
        ASSERT_FALSE(RunningApplication().IsEmpty());
        app.OleProcedure(L"Quit");
        EXPECT_TRUE(RunningApplication().IsEmpty()) << "a quit application is still offered to attach to";
        const Answer answer = Try([&] { books.OleFunction(L"Count"); });
        EXPECT_EQ(answer.code, DISP_E_EXCEPTION);
        EXPECT_NE(answer.message.find(L"quit"), String::npos);
    }
    {
        Variant app = CreateApplication();
        app.OleFunction(L"WorkBooks").OleFunction(L"Add");
        ASSERT_FALSE(RunningApplication().IsEmpty());
    }
    EXPECT_TRUE(RunningApplication().IsEmpty()) << "releasing every reference did not end the application";

    // Each creation is an application of its own.
    Variant a = CreateApplication();
    QuitGuard quitA(a);
    Variant b = CreateApplication();
    QuitGuard quitB(b);
    a.OleFunction(L"WorkBooks").OleFunction(L"Add");
    EXPECT_EQ(a.OleFunction(L"WorkBooks").OleFunction(L"Count").ToInteger(), 1);
    EXPECT_EQ(b.OleFunction(L"WorkBooks").OleFunction(L"Count").ToInteger(), 0);
}

// Registration, apart from the suite above that keeps the server registered.
TEST(StandInRegistration, RegisteredOnlyWhileAsked)
{
    CLSID clsid{};
    ASSERT_FALSE(SUCCEEDED(CLSIDFromProgID(xlserver::ProgId, &clsid))) << "registered before the test";
    {
        xlserver::StandInRegistration registration;
        ASSERT_TRUE(registration.Registered());
        ASSERT_TRUE(SUCCEEDED(CLSIDFromProgID(xlserver::ProgId, &clsid)));
        EXPECT_EQ(clsid, xlserver::StandInClsid);
        CreateApplication().OleProcedure(L"Quit");
    }
    EXPECT_EQ(CLSIDFromProgID(xlserver::ProgId, &clsid), CO_E_CLASSSTRING);
    IDispatch* app = nullptr;
    EXPECT_EQ(CoCreateInstance(xlserver::StandInClsid, nullptr, CLSCTX_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&app)),
              REGDB_E_CLASSNOTREG);
    EXPECT_THROW(CreateApplication(), EOleSysError);
    EXPECT_TRUE(RunningApplication().IsEmpty());
}

TEST(StandInRegistration, AnotherServersRegistrationIsLeftAlone)
{
    const std::wstring key = std::wstring(xlserver::ProgId) + L"\\CLSID";
    const wchar_t other[] = L"{00000000-1111-2222-3333-444444444444}";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, other, sizeof(other)),
              ERROR_SUCCESS);
    EXPECT_NE(xlserver::RunStandInServer(L"/regserver"), 0);
    EXPECT_EQ(xlserver::RunStandInServer(L"/unregserver"), 0);
    wchar_t value[64]{};
    DWORD size = sizeof(value);
    EXPECT_EQ(RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, other);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, xlserver::ProgId);
}

} // namespace
