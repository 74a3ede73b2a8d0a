// The spreadsheet application's object model, as far as the grid's export drives it:
// application, workbooks, workbook, sheets, worksheet and range.
#pragma once
#include "Dispatch.h"
#include "Workbook.h"

namespace xlserver {

struct Book {
    xlsx::Workbook data;
    std::wstring path; // full path; empty until the workbook is opened or saved
};

struct AppState : ServerState {
    std::vector<std::shared_ptr<Book>> books;
    std::shared_ptr<Book> activeBook;
};

// The application object, with one reference for the caller.
IDispatch* NewApplication(std::shared_ptr<AppState> app);

} // namespace xlserver
