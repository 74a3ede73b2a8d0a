#include "Objects.h"
#include <cwchar>

namespace xlserver {

namespace {

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

// The rows or columns of a range, as far as they are counted.
class CountObject : public AppObject {
public:
    CountObject(std::shared_ptr<AppState> app, long count) : AppObject(std::move(app)), count_(count) {}

protected:
    std::vector<Member> Members() override
    {
        return {{L"Count", Kind::Method, 0, [this](const Args&, Result& r) { r.Integer(count_); }}};
    }

private:
    long count_;
};

IDispatch* SheetItem(const std::shared_ptr<AppState>& app, const std::shared_ptr<Book>& book, long number);

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
            {L"Value", Kind::Method, 0, [this](const Args&, Result& r) { GetValue(r); }},
            {L"Address", Kind::Method, 0, [this](const Args&, Result& r) { r.String(Address()); }},
            {L"Rows", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new CountObject(SharedApp(), range_.Rows())); }},
            {L"Columns", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new CountObject(SharedApp(), range_.Columns())); }},
            {L"Cells", Kind::Get, 2, [this](const Args& a, Result& r) { Cell(a.Integer(0), a.Integer(1), r); }},
        };
    }

private:
    static std::wstring Absolute(xlsx::CellRef cell)
    {
        return L"$" + xlsx::ColumnName(cell.col) + L"$" + std::to_wstring(cell.row);
    }

    // "$B$2:$D$4", or "$C$7" for one cell.
    std::wstring Address() const
    {
        if (range_.first == range_.last)
            return Absolute(range_.first);
        return Absolute(range_.first) + L":" + Absolute(range_.last);
    }

    // A cell counted from the range's top-left corner, from 1.
    void Cell(long row, long col, Result& result)
    {
        const long r = range_.first.row + row - 1, c = range_.first.col + col - 1;
        if (row < 1 || col < 1 || r > xlsx::MaxRows || c > xlsx::MaxColumns)
            Fail(L"There is no cell (" + std::to_wstring(row) + L", " + std::to_wstring(col) + L") here.",
                 DISP_E_BADINDEX);
        const xlsx::CellRef cell{static_cast<int>(r), static_cast<int>(c)};
        result.Object(new RangeObject(SharedApp(), SharedBook(), sheet_, {cell, cell}));
    }

    // One cell's value; texts without the quote that marks them as text.
    VARIANT CellValue(xlsx::CellRef cell) const
    {
        VARIANT value;
        VariantInit(&value);
        const xlsx::Sheet& sheet = Data().sheets[sheet_];
        const auto found = sheet.cells.find(cell);
        if (found == sheet.cells.end())
            return value;
        const std::wstring& text = found->second;
        switch (sheet.KindOf(cell)) {
        case xlsx::CellKind::Number:
            V_VT(&value) = VT_R8;
            V_R8(&value) = std::wcstod(text.c_str(), nullptr);
            break;
        case xlsx::CellKind::Boolean:
            V_VT(&value) = VT_BOOL;
            V_BOOL(&value) = text == L"1" ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case xlsx::CellKind::Error:
            V_VT(&value) = VT_ERROR;
            V_ERROR(&value) = ErrorCode(text);
            break;
        case xlsx::CellKind::Text: {
            const bool quoted = !text.empty() && text.front() == L'\'';
            V_VT(&value) = VT_BSTR;
            V_BSTR(&value) = SysAllocString(quoted ? text.c_str() + 1 : text.c_str());
            if (!V_BSTR(&value))
                throw std::bad_alloc();
            break;
        }
        }
        return value;
    }

    // The codes the application gives its error values in automation.
    static SCODE ErrorCode(const std::wstring& text)
    {
        static const std::pair<const wchar_t*, SCODE> codes[] = {
            {L"#NULL!", 0x800A07D0}, {L"#DIV/0!", 0x800A07D7}, {L"#VALUE!", 0x800A07DF}, {L"#REF!", 0x800A07E7},
            {L"#NAME?", 0x800A07ED}, {L"#NUM!", 0x800A07F4},   {L"#N/A", 0x800A07FA}};
        for (const auto& [name, code] : codes)
            if (text == name)
                return code;
        return 0x800A07FA;
    }

    // One cell gives its value, a block a two-dimensional array counted from 1.
    void GetValue(Result& result)
    {
        if (range_.first == range_.last) {
            VARIANT value = CellValue(range_.first);
            result.Variant(value);
            return;
        }
        SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(range_.Rows()), 1},
                                    {static_cast<ULONG>(range_.Columns()), 1}};
        SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
        if (!array)
            throw std::bad_alloc();
        for (int r = 1; r <= range_.Rows(); ++r)
            for (int c = 1; c <= range_.Columns(); ++c) {
                VARIANT value = CellValue({range_.first.row + r - 1, range_.first.col + c - 1});
                LONG index[2] = {r, c};
                SafeArrayPutElement(array, index, &value);
                VariantClear(&value);
            }
        VARIANT value;
        V_VT(&value) = VT_ARRAY | VT_VARIANT;
        V_ARRAY(&value) = array;
        result.Variant(value);
    }

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
                Data().sheets[sheet_].kinds.erase({r, c});
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
            {L"UsedRange", Kind::Method, 0,
             [this](const Args&, Result& r) {
                 r.Object(new RangeObject(SharedApp(), SharedBook(), sheet_, Sheet().UsedRange()));
             }},
            // The whole sheet as rows and as columns: cells counted from A1.
            {L"Rows", Kind::Method, 0, [this](const Args&, Result& r) { r.Object(WholeSheet()); }},
            {L"Columns", Kind::Method, 0, [this](const Args&, Result& r) { r.Object(WholeSheet()); }},
            {L"Cells", Kind::Get, 2,
             [this](const Args& a, Result& r) {
                 const long row = a.Integer(0), col = a.Integer(1);
                 if (row < 1 || col < 1 || row > xlsx::MaxRows || col > xlsx::MaxColumns)
                     Fail(L"There is no cell (" + std::to_wstring(row) + L", " + std::to_wstring(col) + L").",
                          DISP_E_BADINDEX);
                 const xlsx::CellRef cell{static_cast<int>(row), static_cast<int>(col)};
                 r.Object(new RangeObject(SharedApp(), SharedBook(), sheet_, {cell, cell}));
             }},
        };
    }

private:
    xlsx::Sheet& Sheet() const { return Data().sheets[sheet_]; }

    IDispatch* WholeSheet()
    {
        return new RangeObject(SharedApp(), SharedBook(), sheet_, {{1, 1}, {xlsx::MaxRows, xlsx::MaxColumns}});
    }

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

IDispatch* SheetItem(const std::shared_ptr<AppState>& app, const std::shared_ptr<Book>& book, long number)
{
    const long count = static_cast<long>(book->data.sheets.size());
    if (number < 1 || number > count)
        Fail(L"There is no sheet " + std::to_wstring(number) + L"; the workbook has " + Plural(count, L"sheet") +
                 L", counted from 1.",
             DISP_E_BADINDEX);
    return new WorksheetObject(app, book, static_cast<std::size_t>(number - 1));
}

// The workbook's "Sheets": counted, and indexed through the workbook itself.
class SheetsObject : public BookObject {
public:
    using BookObject::BookObject;

protected:
    std::vector<Member> Members() override
    {
        return {{L"Count", Kind::Method, 0,
                 [this](const Args&, Result& r) { r.Integer(static_cast<long>(Data().sheets.size())); }},
                {L"item", Kind::Get, 1,
                 [this](const Args& a, Result& r) { r.Object(SheetItem(SharedApp(), SharedBook(), a.Integer(0))); }}};
    }
};

// The workbook's "WorkSheets": where a sheet is added.
class WorksheetsObject : public BookObject {
public:
    using BookObject::BookObject;

protected:
    std::vector<Member> Members() override
    {
        return {{L"Add", Kind::Method, 0, [this](const Args&, Result& r) { Add(r); }},
                {L"Count", Kind::Method, 0,
                 [this](const Args&, Result& r) { r.Integer(static_cast<long>(Data().sheets.size())); }},
                {L"item", Kind::Get, 1,
                 [this](const Args& a, Result& r) { r.Object(SheetItem(SharedApp(), SharedBook(), a.Integer(0))); }}};
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
            // Nothing here asks whether to save, so the flag is only taken.
            {L"Saved", Kind::Put, 1, [](const Args& a, Result&) { a.Boolean(0); }},
            {L"Close", Kind::Method, 0, [this](const Args&, Result&) { Close(false); }},
            {L"Close", Kind::Method, 1, [this](const Args& a, Result&) { Close(a.Boolean(0)); },
             {L"SaveChanges"}},
        };
    }

private:
    IDispatch* Sheet(std::size_t index) { return new WorksheetObject(SharedApp(), SharedBook(), index); }

    IDispatch* Item(long number) { return SheetItem(SharedApp(), SharedBook(), number); }

    void Close(bool saveChanges)
    {
        if (saveChanges)
            Save();
        auto& books = App().books;
        std::erase(books, SharedBook());
        if (App().activeBook == SharedBook())
            App().activeBook = books.empty() ? nullptr : books.back();
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
