// Spreadsheet export: the cells as one block of texts, handed to the
// spreadsheet application's automation server in a single range, which the
// application saves as a workbook. Every cell arrives as text, never as a
// formula or a number the application guessed.
#include "AdvGrid.h"
#include "AdvGridAutomation.h"
#include "AdvGridTextIO.h"
#include "Forms.h"

namespace {

const wchar_t* const ServerProgId = L"excel.application";
constexpr wchar_t TextPrefix = L'\'';

} // namespace

void TAdvStringGrid::SaveToXLS(const String& Filename, bool CreateNewSheet)
{
    SaveToXLSWorker(Filename, String(), CreateNewSheet);
}

void TAdvStringGrid::SaveToXLSSheet(const String& Filename, const String& SheetName)
{
    SaveToXLSWorker(Filename, SheetName, true);
}

void TAdvStringGrid::SaveToXLSWorker(const String& Filename, const String& SheetName, bool CreateNewSheet)
{
    advgrid_text::THourGlass hourGlass;

    Variant app;
    bool started = false;
    try {
        app = GetActiveOleObject(ServerProgId);
    } catch (const Exception&) {
        try {
            app = advgrid_automation::StartApplication(ServerProgId);
            started = true;
        } catch (const Exception&) {
            throw EAdvGridError(L"Excel OLE server not found");
        }
    }
    advgrid_automation::TStartedApplication quit(app, started);

    Variant book;
    Variant sheet;
    int firstRow = 1;
    bool saveInPlace = false;
    if (SheetName.empty()) {
        Variant books = app.OleFunction(L"WorkBooks");
        if (books.OleFunction(L"Count").ToInteger() == 0 || CreateNewSheet) {
            book = books.OleFunction(L"Add");
            sheet = book.OlePropertyGet(L"Sheets", {1});
        } else {
            book = app.OleFunction(L"ActiveWorkBook");
            sheet = book.OleFunction(L"ActiveSheet");
            firstRow = app.OleFunction(L"ActiveCell").OleFunction(L"Row").ToInteger();
        }
    } else {
        Variant books = app.OleFunction(L"WorkBooks");
        try {
            if (FileExists(Filename)) {
                book = books.OleFunction(L"Open", {Filename});
                saveInPlace = true;
            } else {
                book = books.OleFunction(L"Add");
            }
        } catch (const Exception&) {
            // A file the application cannot open is written anew; when even
            // a new workbook cannot be had, the caller hears why.
            if (!book.IsDispatch())
                book = books.OleFunction(L"Add");
            saveInPlace = false;
        }
        const int count = book.OleFunction(L"Sheets").OleFunction(L"Count").ToInteger();
        for (int i = 1; i <= count; ++i) {
            Variant candidate = book.OlePropertyGet(L"Sheets", {i});
            if (candidate.OleFunction(L"Name").ToString() == SheetName)
                sheet = candidate;
        }
        if (!sheet.IsDispatch()) {
            sheet = book.OleFunction(L"WorkSheets").OleFunction(L"Add");
            sheet.OlePropertySet(L"Name", SheetName);
        }
    }

    const int startRow = SaveStartRow();
    const int startCol = SaveStartCol();
    const int rows = GetRowCount() - startRow;
    const int cols = GetColCount() - startCol;
    if (rows > 0 && cols > 0) {
        Variant block = VarArrayCreate({0, rows - 1, 0, cols - 1}, VT_VARIANT);
        ExportNotification(0, startRow);
        for (int r = startRow; r < GetRowCount(); ++r) {
            ExportNotification(5, r);
            for (int c = startCol; c < GetColCount(); ++c) {
                String text = SaveCell(RealColIndex(c), r);
                std::erase(text, L'\r');
                // The application reads what it is given as if typed, so
                // "=1+2" or "@x" would become a formula: every cell goes in
                // behind the prefix that makes it text and is not shown.
                if (!text.empty())
                    text.insert(text.begin(), TextPrefix);
                VarArrayPut(block, Variant(text), {r - startRow, c - startCol});
            }
        }
        ExportNotification(2, -1);
        const String range = L"A" + IntToStr(firstRow) + L":" + advgrid_automation::ColumnLetters(cols) + IntToStr(firstRow + rows - 1);
        sheet.OlePropertyGet(L"Range", {range}).OlePropertySet(L"Value", Variant::ByRef(block));
    }

    if (saveInPlace)
        book.OleProcedure(L"Save");
    else
        book.OleProcedure(L"SaveAs", {Filename});
}
