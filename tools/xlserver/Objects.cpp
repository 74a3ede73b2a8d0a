#include "Objects.h"

namespace xlserver {

namespace {

std::wstring FullPath(const std::wstring& name)
{
    if (name.empty())
        Fail(L"A file name is needed.", E_INVALIDARG);
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    std::wstring path(size, L'\0');
    const DWORD length = size ? GetFullPathNameW(name.c_str(), size, path.data(), nullptr) : 0;
    if (length == 0 || length >= size)
        Fail(L"\"" + name + L"\" is not a valid file name.", E_INVALIDARG);
    path.resize(length);
    return path;
}

std::wstring RangeName(const xlsx::CellRange& range)
{
    return xlsx::CellName(range.first) + L":" + xlsx::CellName(range.last);
}

std::wstring Plural(long n, const wchar_t* noun)
{
    return std::to_wstring(n) + L" " + noun + (n == 1 ? L"" : L"s");
}

// Base of the objects that live inside the application.
class AppObject : public DispatchBase {
public:
    explicit AppObject(std::shared_ptr<AppState> app) : DispatchBase(app), app_(std::move(app)) {}

protected:
    AppState& App() const { return *app_; }
    const std::shared_ptr<AppState>& SharedApp() const { return app_; }

private:
    std::shared_ptr<AppState> app_;
};

// Base of the objects that belong to one workbook.
class BookObject : public AppObject {
public:
    BookObject(std::shared_ptr<AppState> app, std::shared_ptr<Book> book)
        : AppObject(std::move(app)), book_(std::move(book)) {}

protected:
    Book& ThisBook() const { return *book_; }
    xlsx::Workbook& Data() const { return book_->data; }
    const std::shared_ptr<Book>& SharedBook() const { return book_; }

private:
    std::shared_ptr<Book> book_;
};

class SafeArrayLock {
public:
    explicit SafeArrayLock(SAFEARRAY* array) : array_(array)
    {
        if (FAILED(::SafeArrayLock(array)))
            Fail(L"The array cannot be read.");
    }
    ~SafeArrayLock() { SafeArrayUnlock(array_); }
    SafeArrayLock(const SafeArrayLock&) = delete;
    SafeArrayLock& operator=(const SafeArrayLock&) = delete;

private:
    SAFEARRAY* array_;
};

class RangeObject : public BookObject {
public:
    RangeObject(std::shared_ptr<AppState> app, std::shared_ptr<Book> book, std::size_t sheet,
                xlsx::CellRange range)
        : BookObject(std::move(app), std::move(book)), sheet_(sheet), range_(range) {}

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"Row", Kind::Method, 0, [this](const Args&, Result& r) { r.Integer(range_.first.row); }},
            {L"Value", Kind::Put, 1, [this](const Args& a, Result&) { PutValue(a.Value(0)); }},
        };
    }

private:
    // The whole block is checked before any cell changes, so a bad call changes nothing.
    void PutValue(const VARIANT& value)
    {
        SAFEARRAY* array = nullptr;
        if (V_VT(&value) == (VT_ARRAY | VT_VARIANT))
            array = V_ARRAY(&value);
        else if (V_VT(&value) == (VT_BYREF | VT_ARRAY | VT_VARIANT) && V_ARRAYREF(&value))
            array = *V_ARRAYREF(&value);
        VARTYPE type = VT_EMPTY;
        if (!array || SafeArrayGetDim(array) != 2 || FAILED(SafeArrayGetVartype(array, &type)) ||
            type != VT_VARIANT)
            Fail(L"Value takes a two-dimensional array of string variants.", DISP_E_TYPEMISMATCH);
        // Dimension 1 runs down the rows, dimension 2 across the columns.
        LONG rowLow = 0, rowHigh = -1, colLow = 0, colHigh = -1;
        SafeArrayGetLBound(array, 1, &rowLow);
        SafeArrayGetUBound(array, 1, &rowHigh);
        SafeArrayGetLBound(array, 2, &colLow);
        SafeArrayGetUBound(array, 2, &colHigh);
        const long rows = rowHigh - rowLow + 1, cols = colHigh - colLow + 1;
        if (rows != range_.Rows() || cols != range_.Columns())
            Fail(L"The range " + RangeName(range_) + L" has " + Plural(range_.Rows(), L"row") +
                     L" and " + Plural(range_.Columns(), L"column") + L", but the array has " +
                     Plural(rows, L"row") + L" and " + Plural(cols, L"column") + L".",
                 E_INVALIDARG);

        std::vector<std::wstring> texts;
        texts.reserve(static_cast<std::size_t>(rows) * cols);
        {
            SafeArrayLock lock(array);
            for (long r = 0; r < rows; ++r)
                for (long c = 0; c < cols; ++c) {
                    LONG index[2] = {rowLow + r, colLow + c};
                    VARIANT* element = nullptr;
                    SafeArrayPtrOfIndex(array, index, reinterpret_cast<void**>(&element));
                    const std::wstring where = L"The array element (" + std::to_wstring(index[0]) +
                                               L", " + std::to_wstring(index[1]) + L")";
                    if (!element || V_VT(element) != VT_BSTR)
                        Fail(where + L" is not a string; every element must be a string variant.",
                             DISP_E_TYPEMISMATCH);
                    const UINT length = SysStringLen(V_BSTR(element));
                    if (length > xlsx::MaxCellText)
                        Fail(where + L" is longer than the 32767 characters a cell holds.", E_INVALIDARG);
                    texts.emplace_back(V_BSTR(element) ? V_BSTR(element) : L"", length);
                }
        }
        auto& cells = Data().sheets[sheet_].cells;
        auto text = texts.begin();
        for (int r = range_.first.row; r <= range_.last.row; ++r)
            for (int c = range_.first.col; c <= range_.last.col; ++c, ++text) {
                if (text->empty())
                    cells.erase({r, c});
                else
                    cells[{r, c}] = std::move(*text);
            }
    }

    std::size_t sheet_;
    xlsx::CellRange range_;
};

class WorksheetObject : public BookObject {
public:
    WorksheetObject(std::shared_ptr<AppState> app, std::shared_ptr<Book> book, std::size_t sheet)
        : BookObject(std::move(app), std::move(book)), sheet_(sheet) {}

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"Name", Kind::Method, 0, [this](const Args&, Result& r) { r.String(Sheet().name); }},
            {L"Name", Kind::Put, 1, [this](const Args& a, Result&) { SetName(a.String(0)); }},
            {L"Range", Kind::Get, 1, [this](const Args& a, Result& r) { GetRange(a.String(0), r); }},
        };
    }

private:
    xlsx::Sheet& Sheet() const { return Data().sheets[sheet_]; }

    void SetName(const std::wstring& name)
    {
        const std::wstring problem = xlsx::SheetNameProblem(Data(), sheet_, name);
        if (!problem.empty())
            Fail(problem, E_INVALIDARG);
        Sheet().name = name;
    }

    void GetRange(const std::wstring& text, Result& result)
    {
        const auto range = xlsx::ParseRange(text);
        if (!range)
            Fail(L"\"" + text + L"\" is not a range of cells such as \"A1:AB4\".", E_INVALIDARG);
        result.Object(new RangeObject(SharedApp(), SharedBook(), sheet_, *range));
    }

    std::size_t sheet_;
};

// The workbook's "Sheets": counted, and indexed through the workbook itself.
class SheetsObject : public BookObject {
public:
    using BookObject::BookObject;

protected:
    std::vector<Member> Members() override
    {
        return {{L"Count", Kind::Method, 0,
                 [this](const Args&, Result& r) { r.Integer(static_cast<long>(Data().sheets.size())); }}};
    }
};

// The workbook's "WorkSheets": where a sheet is added.
class WorksheetsObject : public BookObject {
public:
    using BookObject::BookObject;

protected:
    std::vector<Member> Members() override
    {
        return {{L"Add", Kind::Method, 0, [this](const Args&, Result& r) { Add(r); }}};
    }

private:
    // A new sheet goes last and becomes the active one, named as the next free "SheetN".
    void Add(Result& result)
    {
        xlsx::Workbook& data = Data();
        xlsx::Sheet sheet;
        for (std::size_t n = data.sheets.size() + 1; sheet.name.empty() || xlsx::FindSheet(data, sheet.name); ++n)
            sheet.name = L"Sheet" + std::to_wstring(n);
        data.sheets.push_back(std::move(sheet));
        data.activeSheet = data.sheets.size() - 1;
        result.Object(new WorksheetObject(SharedApp(), SharedBook(), data.activeSheet));
    }
};

class WorkbookObject : public BookObject {
public:
    using BookObject::BookObject;

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"ActiveSheet", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(Sheet(Data().activeSheet)); }},
            {L"Sheets", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new SheetsObject(SharedApp(), SharedBook())); }},
            {L"Sheets", Kind::Get, 1, [this](const Args& a, Result& r) { r.Object(Item(a.Integer(0))); }},
            {L"WorkSheets", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new WorksheetsObject(SharedApp(), SharedBook())); }},
            {L"SaveAs", Kind::Method, 1, [this](const Args& a, Result&) { SaveAs(a.String(0)); }},
            {L"Save", Kind::Method, 0, [this](const Args&, Result&) { Save(); }},
        };
    }

private:
    IDispatch* Sheet(std::size_t index) { return new WorksheetObject(SharedApp(), SharedBook(), index); }

    IDispatch* Item(long number)
    {
        const long count = static_cast<long>(Data().sheets.size());
        if (number < 1 || number > count)
            Fail(L"There is no sheet " + std::to_wstring(number) + L"; the workbook has " +
                     Plural(count, L"sheet") + L", counted from 1.",
                 DISP_E_BADINDEX);
        return Sheet(static_cast<std::size_t>(number - 1));
    }

    void SaveAs(const std::wstring& name)
    {
        const std::wstring path = FullPath(name);
        xlsx::SaveWorkbook(Data(), path);
        ThisBook().path = path;
    }

    void Save()
    {
        if (ThisBook().path.empty())
            Fail(L"The workbook has never been saved; give it a file name with SaveAs.", E_INVALIDARG);
        xlsx::SaveWorkbook(Data(), ThisBook().path);
    }
};

class WorkbooksObject : public AppObject {
public:
    using AppObject::AppObject;

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"Count", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Integer(static_cast<long>(App().books.size())); }},
            {L"Add", Kind::Method, 0, [this](const Args&, Result& r) { Add(r); }},
            {L"Open", Kind::Method, 1, [this](const Args& a, Result& r) { Open(a.String(0), r); }},
        };
    }

private:
    void Activate(std::shared_ptr<Book> book, Result& result)
    {
        App().activeBook = book;
        result.Object(new WorkbookObject(SharedApp(), std::move(book)));
    }

    void Add(Result& result)
    {
        auto book = std::make_shared<Book>();
        book->data.sheets.push_back(xlsx::Sheet{L"Sheet1"});
        App().books.push_back(book);
        Activate(std::move(book), result);
    }

    // A workbook already open from that file is the one returned, as it is in memory.
    void Open(const std::wstring& name, Result& result)
    {
        const std::wstring path = FullPath(name);
        for (const auto& book : App().books)
            if (CompareStringOrdinal(book->path.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL)
                return Activate(book, result);
        auto book = std::make_shared<Book>();
        book->data = xlsx::LoadWorkbook(path);
        book->path = path;
        App().books.push_back(book);
        Activate(std::move(book), result);
    }
};

class ApplicationObject : public AppObject {
public:
    using AppObject::AppObject;

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"WorkBooks", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new WorkbooksObject(SharedApp())); }},
            {L"ActiveWorkBook", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new WorkbookObject(SharedApp(), ActiveBook())); }},
            {L"ActiveCell", Kind::Method, 0, [this](const Args&, Result& r) { ActiveCell(r); }},
            {L"Quit", Kind::Method, 0, [this](const Args&, Result&) { Quit(); }},
        };
    }

private:
    const std::shared_ptr<Book>& ActiveBook() const
    {
        if (!App().activeBook)
            Fail(L"No workbook is open.", E_FAIL);
        return App().activeBook;
    }

    void ActiveCell(Result& result)
    {
        const auto& book = ActiveBook();
        const std::size_t sheet = book->data.activeSheet;
        const xlsx::CellRef cell = book->data.sheets[sheet].activeCell;
        result.Object(new RangeObject(SharedApp(), book, sheet, {cell, cell}));
    }

    // Open workbooks are closed without saving; the process ends once callers let go.
    void Quit()
    {
        App().quit = true;
        App().books.clear();
        App().activeBook.reset();
        if (App().onQuit)
            App().onQuit();
    }
};

} // namespace

IDispatch* NewApplication(std::shared_ptr<AppState> app) { return new ApplicationObject(std::move(app)); }

} // namespace xlserver
