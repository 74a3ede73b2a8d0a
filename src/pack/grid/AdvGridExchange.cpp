// Workbook and database import and word-processor export, each through its
// automation server; and the grid's fonts following a change of scale.
#include "AdvGrid.h"
#include "AdvGridAutomation.h"
#include "AdvGridTextIO.h"

#include <algorithm>

using namespace advgrid_automation;

namespace {

const wchar_t* const SpreadsheetProgId = L"excel.application";
const wchar_t* const WordProcessorProgId = L"word.application";
const wchar_t* const ConnectionText = L"Driver={Microsoft Access Driver (*.mdb)};DBQ=";

[[noreturn]] void IncorrectFile() { throw Exception(L"Incorrect XLS file"); }

Variant NewSpreadsheet()
{
    try {
        return StartApplication(SpreadsheetProgId);
    } catch (const Exception&) {
        throw EAdvGridError(L"Excel OLE server not found");
    }
}

// A corner of a used-range address: the row after the "$" (or the whole
// part), -1 when that is no number; the column from the letters before it.
struct TAddressCorner {
    int Col = -1;
    int Row = -1;
};

TAddressCorner ReadCorner(const String& Part, bool WithColumn)
{
    TAddressCorner corner;
    const std::size_t dollar = Part.find(L'$');
    const String rowText = dollar == String::npos ? Part : Part.substr(dollar + 1);
    corner.Row = StrToIntDef(rowText, -1);
    if (rowText.empty() || rowText.find_first_not_of(L"0123456789") != String::npos)
        corner.Row = -1;
    if (WithColumn && dollar != String::npos) {
        const int col = ColumnNumber(Part.substr(0, dollar));
        corner.Col = col > 0 ? col : -1;
    }
    return corner;
}

struct TUsedRange {
    int FirstCol = -1, FirstRow = -1, LastCol = -1, LastRow = -1;
    bool SingleCell = false;
};

// "$A$1:$D$20", "$C$7", or row spans such as "1:5" (all 256 columns).
TUsedRange ParseUsedRange(const String& Address)
{
    TUsedRange used;
    const std::size_t colon = Address.find(L':');
    if (colon != String::npos) {
        String left = Address.substr(0, colon), right = Address.substr(colon + 1);
        const bool columns = left.find(L'$') != String::npos;
        if (!left.empty() && left.front() == L'$')
            left.erase(0, 1);
        if (!right.empty() && right.front() == L'$')
            right.erase(0, 1);
        const TAddressCorner first = ReadCorner(left, columns), last = ReadCorner(right, columns);
        used.FirstRow = first.Row;
        used.LastRow = last.Row;
        used.FirstCol = columns ? first.Col : 1;
        used.LastCol = columns ? last.Col : 256;
        return used;
    }
    used.SingleCell = true;
    if (Address.find(L'$') == String::npos) {
        used.FirstCol = used.LastCol = used.FirstRow = used.LastRow = 1;
        return used;
    }
    const TAddressCorner corner = ReadCorner(Address.substr(1), true);
    used.FirstCol = used.LastCol = corner.Col;
    used.FirstRow = used.LastRow = corner.Row;
    return used;
}

// Closes a record set or connection on every way out of the import.
class TOpenAdoObject {
public:
    explicit TOpenAdoObject(Variant& Object) : FObject(Object) {}
    ~TOpenAdoObject()
    {
        if (!FOpen)
            return;
        try {
            FObject.OleProcedure(L"Close");
        } catch (const Exception&) {
            // Already closed by its server; the reference goes with the variant.
        }
    }
    TOpenAdoObject(const TOpenAdoObject&) = delete;
    TOpenAdoObject& operator=(const TOpenAdoObject&) = delete;
    void Opened() { FOpen = true; }
    void Close()
    {
        FOpen = false;
        FObject.OleProcedure(L"Close");
    }

private:
    Variant& FObject;
    bool FOpen = false;
};

} // namespace

TStringList* TAdvStringGrid::GetXLSSheets(const String& FileName)
{
    advgrid_text::THourGlass hourGlass;
    Variant app = NewSpreadsheet();
    TStartedApplication quit(app, true);
    TOwned<TStringList> names(New<TStringList>());
    Variant book = app.OleFunction(L"WorkBooks").OleFunction(L"Open", {FileName});
    Variant sheets = book.OleFunction(L"WorkSheets");
    const int count = sheets.OleFunction(L"Count").ToInteger();
    for (int i = 1; i <= count; ++i)
        names->Add(sheets.OlePropertyGet(L"item", {i}).OleFunction(L"Name").ToString());
    book.OlePropertySet(L"Saved", true);
    return names.release();
}

void TAdvStringGrid::LoadFromXLS(const String& Filename) { LoadFromXLSWorker(Filename, String()); }

void TAdvStringGrid::LoadFromXLSSheet(const String& Filename, const String& SheetName)
{
    LoadFromXLSWorker(Filename, SheetName);
}

void TAdvStringGrid::LoadFromXLSWorker(const String& Filename, const String& SheetName)
{
    advgrid_text::THourGlass hourGlass;
    Variant app = NewSpreadsheet();
    // However the import ends, the whole grid is announced as changed and
    // its footers recalculated, after the application quit.
    TScopeExit announce([this] {
        DoCellsChanged(TRect(0, 0, GetColCount() - 1, GetRowCount() - 1));
        RecalcAllFooters();
    });
    TStartedApplication quit(app, true);

    Variant book = app.OleFunction(L"WorkBooks").OleFunction(L"Open", {Filename});
    Variant sheet;
    if (!SheetName.empty()) {
        const int count = book.OleFunction(L"WorkSheets").OleFunction(L"Count").ToInteger();
        for (int i = 1; i <= count; ++i) {
            Variant candidate = book.OlePropertyGet(L"Sheets", {i});
            if (candidate.OleFunction(L"Name").ToString() == SheetName)
                sheet = candidate;
        }
        if (!sheet.IsDispatch())
            throw EAdvGridError(L"Excel worksheet " + SheetName + L" not found");
    } else {
        sheet = book.OleFunction(L"ActiveSheet");
    }

    Variant usedRange = sheet.OleFunction(L"UsedRange");
    TUsedRange used = ParseUsedRange(usedRange.OleFunction(L"Address").ToString());
    if (used.FirstCol < 0 || used.FirstRow < 0 || used.LastCol < 0 || used.LastRow < 0) {
        used.FirstCol = used.FirstRow = 1;
        used.LastRow = usedRange.OleFunction(L"Rows").OleFunction(L"Count").ToInteger();
        used.LastCol = usedRange.OleFunction(L"Columns").OleFunction(L"Count").ToInteger();
    }
    if (used.LastCol < used.FirstCol || used.LastRow < used.FirstRow)
        IncorrectFile();

    const int oldFixedCols = GetFixedCols(), oldFixedRows = GetFixedRows();
    const int colOffset = GetSaveFixedCells() || GetSaveFixedCols() ? 0 : oldFixedCols;
    const int rowOffset = GetSaveFixedCells() || GetSaveFixedRows() ? 0 : oldFixedRows;
    SetColCount(used.LastCol - used.FirstCol + 1 + colOffset);
    SetRowCount(used.LastRow - used.FirstRow + 1 + rowOffset);
    if (oldFixedCols < GetColCount() && GetFixedCols() != oldFixedCols)
        SetFixedCols(oldFixedCols);
    if (oldFixedRows < GetRowCount() && GetFixedRows() != oldFixedRows)
        SetFixedRows(oldFixedRows);

    if (used.SingleCell) {
        String text;
        try {
            text = VarToStr(sheet.OleFunction(L"Rows").OlePropertyGet(L"Cells", {used.FirstRow, used.FirstCol})
                                .OleFunction(L"Value"));
        } catch (const Exception&) {
            IncorrectFile();
        }
        LoadCellText(colOffset, rowOffset, text);
    } else {
        const String rangeText = ColumnLetters(used.FirstCol) + IntToStr(used.FirstRow) + L":" +
                                 ColumnLetters(used.LastCol) + IntToStr(used.LastRow);
        const Variant values = sheet.OlePropertyGet(L"Range", {rangeText}).OleFunction(L"Value");
        if (VarArrayDimCount(values) != 2)
            IncorrectFile();
        const int rowLow = VarArrayLowBound(values, 1), rowHigh = VarArrayHighBound(values, 1);
        const int colLow = VarArrayLowBound(values, 2), colHigh = VarArrayHighBound(values, 2);
        for (int i = 1; i <= GetRowCount() - rowOffset; ++i)
            for (int j = 1; j <= GetColCount() - colOffset; ++j) {
                // The server's array must hold every cell of the range it was asked.
                if (i < rowLow || i > rowHigh || j < colLow || j > colHigh)
                    IncorrectFile();
                Variant element;
                try {
                    element = VarArrayGet(values, {i, j});
                } catch (const Exception&) {
                    IncorrectFile();
                }
                const VARTYPE type = element.VarType();
                if (type == VT_DISPATCH || type == VT_UNKNOWN || type == VT_ERROR)
                    continue;
                String text;
                try {
                    text = element.IsEmpty() ? String() : VarToStr(element);
                } catch (const Exception&) {
                    IncorrectFile();
                }
                LoadCellText(colOffset + j - 1, rowOffset + i - 1, text);
            }
    }
    book.Invoke(L"Close", DISPATCH_METHOD, {TOleArg(L"SaveChanges", false)});
}

void TAdvStringGrid::LoadFromMDBTable(const String& Filename, const String& Table)
{
    // Bracketed, its closing brackets doubled: a name cannot reach past the
    // table into the query.
    String quoted;
    for (wchar_t c : Table) {
        quoted += c;
        if (c == L']')
            quoted += L']';
    }
    LoadFromMDBSQL(Filename, L"SELECT * FROM [" + quoted + L"]");
}

void TAdvStringGrid::LoadFromMDBSQL(const String& Filename, const String& SQL)
{
    Variant connection = CreateOleObject(L"ADODB.Connection");
    TOpenAdoObject connectionOpen(connection);
    connection.OleProcedure(L"Open", {String(ConnectionText) + Filename});
    connectionOpen.Opened();
    Variant records = CreateOleObject(L"ADODB.RecordSet");
    TOpenAdoObject recordsOpen(records);
    records.OlePropertySet(L"ActiveConnection", connection);
    records.OleProcedure(L"Open", {SQL});
    recordsOpen.Opened();

    const int fieldCount = records.OleFunction(L"Fields").OleFunction(L"Count").ToInteger();
    const int fixedCols = GetFixedCols(), fixedRows = GetFixedRows();
    SetColCount(fieldCount + fixedCols);
    if (fixedRows > 0)
        for (int i = 0; i < fieldCount; ++i)
            SetCells(fixedCols + i, fixedRows - 1,
                     records.OlePropertyGet(L"Fields", {i}).OleFunction(L"Name").ToString());
    const int recordCount = records.OleFunction(L"RecordCount").ToInteger();
    if (recordCount > 0)
        SetRowCount(fixedRows + recordCount);

    int row = fixedRows;
    while (!records.OleFunction(L"Eof").ToBool()) {
        // The row is there before a record is written into it.
        if (GetRowCount() <= row)
            SetRowCount(row + 1);
        for (int i = 0; i < fieldCount; ++i) {
            Variant field = records.OlePropertyGet(L"Fields", {i});
            const String text =
                field.OleFunction(L"ActualSize").ToInteger() > 0 ? VarToStr(field.OleFunction(L"Value")) : String();
            LoadCellText(fixedCols + i, row, text);
        }
        records.OleProcedure(L"MoveNext");
        ++row;
    }
    // Rows of earlier contents past the records do not stay behind.
    SetRowCount(std::max(row, 1));
    recordsOpen.Close();
    connectionOpen.Close();
}

void TAdvStringGrid::SaveToDOC(const String& Filename, bool CreateNewDocument)
{
    SaveToDOCWorker(Filename, String(), CreateNewDocument, false);
}

void TAdvStringGrid::AppendToDoc(const String& Filename, const String& Bookmark)
{
    SaveToDOCWorker(Filename, Bookmark, false, true);
}

void TAdvStringGrid::SaveToDOCWorker(const String& Filename, const String& Bookmark, bool CreateNewDocument,
                                     bool Append)
{
    advgrid_text::THourGlass hourGlass;
    Variant app;
    bool started = false;
    try {
        app = GetActiveOleObject(WordProcessorProgId);
    } catch (const Exception&) {
        try {
            app = StartApplication(WordProcessorProgId);
            started = true;
        } catch (const Exception&) {
            throw EAdvGridError(L"Word OLE server not found");
        }
    }
    TStartedApplication quit(app, started);

    Variant documents = app.OleFunction(L"Documents");
    Variant document;
    if (Append)
        document = documents.OleFunction(L"Open", {Filename});
    else if (!CreateNewDocument && documents.OleFunction(L"Count").ToInteger() > 0)
        document = app.OleFunction(L"ActiveDocument");
    else
        document = documents.OleFunction(L"Add");

    document.OlePropertySet(L"ShowSpellingErrors", false);
    Variant selection = app.OleFunction(L"Selection");
    selection.OleProcedure(L"TypeText", {GetText()});
    selection.OleProcedure(L"TypeParaGraph");

    Variant range;
    if (!Append) {
        range = document.Invoke(L"Range", DISPATCH_METHOD, {TOleArg(L"start", 0), TOleArg(L"end", 0)});
    } else if (!Bookmark.empty() &&
               document.OleFunction(L"Bookmarks").OleFunction(L"Exists", {Bookmark}).ToBool()) {
        range = document.Invoke(L"Goto", DISPATCH_METHOD, {TOleArg(L"what", -1), TOleArg(L"name", Bookmark)});
    } else {
        document.OleFunction(L"Paragraphs").OleFunction(L"Add");
        selection.Invoke(L"Goto", DISPATCH_METHOD, {TOleArg(L"what", 3), TOleArg(L"which", -1)});
        const int end = selection.OleFunction(L"End").ToInteger();
        range = document.Invoke(L"Range", DISPATCH_METHOD, {TOleArg(L"start", end), TOleArg(L"end", end)});
    }

    Variant table = document.OleFunction(L"Tables").Invoke(
        L"Add", DISPATCH_METHOD,
        {TOleArg(range), TOleArg(L"numRows", GetRowCount()), TOleArg(L"numColumns", GetColCount())});
    ExportNotification(0, 0);
    for (int r = 0; r < GetRowCount(); ++r) {
        ExportNotification(5, r);
        for (int c = 0; c < GetColCount(); ++c) {
            Variant cellRange =
                table.Invoke(L"Cell", DISPATCH_METHOD, {TOleArg(L"Row", r + 1), TOleArg(L"Column", c + 1)})
                    .OleFunction(L"Range");
            cellRange.OleProcedure(L"InsertAfter", {SaveCell(RealColIndex(c), r)});
            TAlignment horizontal = taLeftJustify;
            TVAlignment vertical = vtaTop;
            GetCellAlignment(c, r, horizontal, vertical);
            if (horizontal == taRightJustify)
                cellRange.OleFunction(L"ParagraphFormat").OlePropertySet(L"Alignment", 2);
            else if (horizontal == taCenter)
                cellRange.OleFunction(L"ParagraphFormat").OlePropertySet(L"Alignment", 1);
        }
    }
    ExportNotification(2, -1);
    document.OleProcedure(L"SaveAs", {Filename});
}

void TAdvStringGrid::ChangeScale(int M, int D)
{
    TStringGrid::ChangeScale(M, D);
    if (ComponentState().Contains(csDesigning) || M == D || D == 0)
        return;
    GetFixedFont()->SetSize(MulDiv(GetFixedFont()->GetSize(), M, D));
    GetActiveCellFont()->SetSize(MulDiv(GetActiveCellFont()->GetSize(), M, D));
}
