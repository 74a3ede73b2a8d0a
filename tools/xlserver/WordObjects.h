// The word processor's object model, as far as the grid's export drives it:
// application, documents, document, selection, ranges, tables and cells.
#pragma once
#include "Dispatch.h"
#include "Document.h"

namespace xlserver {

struct WordDocument {
    docx::Document data;
    std::wstring path; // full path; empty until opened or saved
    long selectionStart = 0;
    long selectionEnd = 0;
};

struct WordState : ServerState {
    std::vector<std::shared_ptr<WordDocument>> documents;
    std::shared_ptr<WordDocument> active;
};

// The application object, with one reference for the caller.
IDispatch* NewWordApplication(std::shared_ptr<WordState> word);

} // namespace xlserver
