#include "WordObjects.h"
#include "Error.h"
#include <algorithm>

namespace xlserver {

namespace {

constexpr long GoToBookmark = -1;
constexpr long GoToLine = 3;
constexpr long GoToLast = -1;

class WordObject : public DispatchBase {
public:
    explicit WordObject(std::shared_ptr<WordState> word) : DispatchBase(word), word_(std::move(word)) {}

protected:
    WordState& Word() const { return *word_; }
    const std::shared_ptr<WordState>& SharedWord() const { return word_; }

private:
    std::shared_ptr<WordState> word_;
};

class DocObject : public WordObject {
public:
    DocObject(std::shared_ptr<WordState> word, std::shared_ptr<WordDocument> doc)
        : WordObject(std::move(word)), doc_(std::move(doc)) {}

protected:
    WordDocument& Doc() const { return *doc_; }
    docx::Document& Data() const { return doc_->data; }
    const std::shared_ptr<WordDocument>& SharedDoc() const { return doc_; }

private:
    std::shared_ptr<WordDocument> doc_;
};

// Where a range is: a span of character positions, or one table cell.
struct RangeTarget {
    long start = 0;
    long end = 0;
    bool cell = false;
    std::size_t table = 0; // block index of the table
    int row = 0;           // from 0
    int column = 0;
};

class ParagraphFormatObject : public DocObject {
public:
    ParagraphFormatObject(std::shared_ptr<WordState> word, std::shared_ptr<WordDocument> doc, RangeTarget target)
        : DocObject(std::move(word), std::move(doc)), target_(target) {}

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"Alignment", Kind::Put, 1, [this](const Args& a, Result&) { SetAlignment(a.Integer(0)); }},
            {L"Alignment", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Integer(static_cast<long>(Paragraphs().front()->alignment)); }},
        };
    }

private:
    // The paragraphs the range touches.
    std::vector<docx::Paragraph*> Paragraphs() const
    {
        std::vector<docx::Paragraph*> found;
        if (target_.cell) {
            found.push_back(&Data().blocks.at(target_.table).table.Cell(target_.row, target_.column));
            return found;
        }
        const std::size_t first = Data().BlockAt(target_.start), last = Data().BlockAt(std::max(target_.start, target_.end - 1));
        for (std::size_t i = first; i <= last && i < Data().blocks.size(); ++i)
            if (docx::Block& block = Data().blocks[i]; block.isTable)
                for (docx::Paragraph& cell : block.table.cells)
                    found.push_back(&cell);
            else
                found.push_back(&block.paragraph);
        return found;
    }

    void SetAlignment(long value)
    {
        if (value < 0 || value > 2)
            Fail(L"Alignment takes 0 (left), 1 (centre) or 2 (right).", E_INVALIDARG);
        for (docx::Paragraph* paragraph : Paragraphs())
            paragraph->alignment = static_cast<docx::Alignment>(value);
    }

    RangeTarget target_;
};

class RangeObject : public DocObject {
public:
    RangeObject(std::shared_ptr<WordState> word, std::shared_ptr<WordDocument> doc, RangeTarget target)
        : DocObject(std::move(word), std::move(doc)), target_(target) {}
    const RangeTarget& Target() const { return target_; }

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"InsertAfter", Kind::Method, 1, [this](const Args& a, Result&) { InsertAfter(a.String(0)); }},
            {L"ParagraphFormat", Kind::Method, 0,
             [this](const Args&, Result& r) {
                 r.Object(new ParagraphFormatObject(SharedWord(), SharedDoc(), target_));
             }},
            {L"Start", Kind::Method, 0, [this](const Args&, Result& r) { r.Integer(target_.start); }},
            {L"End", Kind::Method, 0, [this](const Args&, Result& r) { r.Integer(target_.end); }},
            {L"Text", Kind::Method, 0, [this](const Args&, Result& r) { r.String(Text()); }},
        };
    }

private:
    docx::Paragraph& CellParagraph() const
    {
        docx::Block& block = Data().blocks.at(target_.table);
        if (!block.isTable)
            Fail(L"The table of this cell is gone.");
        return block.table.Cell(target_.row, target_.column);
    }

    std::wstring Text() const
    {
        if (target_.cell)
            return CellParagraph().text;
        long offset = 0;
        const std::size_t block = Data().BlockAt(target_.start, &offset);
        if (block >= Data().blocks.size() || Data().blocks[block].isTable)
            return {};
        const std::wstring& text = Data().blocks[block].paragraph.text;
        const long from = std::min<long>(offset, static_cast<long>(text.size()));
        return text.substr(from, std::max(0L, target_.end - target_.start));
    }

    void InsertAfter(const std::wstring& text)
    {
        if (target_.cell) {
            CellParagraph().text += text;
            return;
        }
        long offset = 0;
        const std::size_t block = Data().BlockAt(target_.end, &offset);
        if (block >= Data().blocks.size() || Data().blocks[block].isTable)
            Fail(L"Text cannot be inserted into a table this way; use a cell's range.");
        Data().blocks[block].paragraph.text.insert(static_cast<std::size_t>(offset), text);
        target_.end += static_cast<long>(text.size());
    }

    RangeTarget target_;
};

class CellObject : public DocObject {
public:
    CellObject(std::shared_ptr<WordState> word, std::shared_ptr<WordDocument> doc, RangeTarget target)
        : DocObject(std::move(word), std::move(doc)), target_(target) {}

protected:
    std::vector<Member> Members() override
    {
        return {{L"Range", Kind::Method, 0,
                 [this](const Args&, Result& r) { r.Object(new RangeObject(SharedWord(), SharedDoc(), target_)); }}};
    }

private:
    RangeTarget target_;
};

class TableObject : public DocObject {
public:
    TableObject(std::shared_ptr<WordState> word, std::shared_ptr<WordDocument> doc, std::size_t block)
        : DocObject(std::move(word), std::move(doc)), block_(block) {}

protected:
    std::vector<Member> Members() override
    {
        return {{L"Cell", Kind::Method, 2,
                 [this](const Args& a, Result& r) { r.Object(Cell(a.Integer(0), a.Integer(1))); },
                 {L"Row", L"Column"}}};
    }

private:
    IDispatch* Cell(long row, long column)
    {
        const docx::Block& block = Data().blocks.at(block_);
        if (!block.isTable)
            Fail(L"The table is gone.");
        if (row < 1 || row > block.table.rows || column < 1 || column > block.table.columns)
            Fail(L"There is no cell (" + std::to_wstring(row) + L", " + std::to_wstring(column) + L"); the table has " +
                     std::to_wstring(block.table.rows) + L" rows and " + std::to_wstring(block.table.columns) +
                     L" columns, counted from 1.",
                 DISP_E_BADINDEX);
        RangeTarget target;
        target.cell = true;
        target.table = block_;
        target.row = static_cast<int>(row - 1);
        target.column = static_cast<int>(column - 1);
        return new CellObject(SharedWord(), SharedDoc(), target);
    }

    std::size_t block_;
};

class TablesObject : public DocObject {
public:
    using DocObject::DocObject;

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"Add", Kind::Method, 3,
             [this](const Args& a, Result& r) { r.Object(Add(a.Value(0), a.Integer(1), a.Integer(2))); },
             {L"Range", L"NumRows", L"NumColumns"}},
            {L"Count", Kind::Method, 0, [this](const Args&, Result& r) { r.Integer(Count()); }},
        };
    }

private:
    long Count() const
    {
        return static_cast<long>(std::count_if(Data().blocks.begin(), Data().blocks.end(),
                                               [](const docx::Block& block) { return block.isTable; }));
    }

    // The table goes before the paragraph the range starts in; a range in
    // the middle of a paragraph splits it first.
    IDispatch* Add(const VARIANT& where, long rows, long columns)
    {
        if (V_VT(&where) != VT_DISPATCH || !V_DISPATCH(&where))
            Fail(L"Tables.Add takes a range of this document first.", DISP_E_TYPEMISMATCH);
        if (rows < 1 || columns < 1 || rows * columns > docx::MaxTableCells || columns > 63)
            Fail(L"A table needs 1 to 63 columns and at least one row.", E_INVALIDARG);
        // Ranges of this server come back as the objects they are; a foreign
        // object's position is asked for.
        VARIANT start;
        VariantInit(&start);
        DISPID id = 0;
        LPOLESTR name = const_cast<LPOLESTR>(L"Start");
        DISPPARAMS none{};
        IDispatch* range = V_DISPATCH(&where);
        if (FAILED(range->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)) ||
            FAILED(range->Invoke(id, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &start, nullptr,
                                 nullptr)) ||
            FAILED(VariantChangeType(&start, &start, 0, VT_I4)))
            Fail(L"Tables.Add takes a range of this document first.", DISP_E_TYPEMISMATCH);
        long offset = 0;
        std::size_t at = Data().BlockAt(V_I4(&start), &offset);
        auto& blocks = Data().blocks;
        if (at < blocks.size() && !blocks[at].isTable && offset > 0) {
            docx::Block tail = blocks[at];
            tail.paragraph.text = blocks[at].paragraph.text.substr(static_cast<std::size_t>(offset));
            tail.paragraph.bookmarks.clear();
            blocks[at].paragraph.text.resize(static_cast<std::size_t>(offset));
            blocks.insert(blocks.begin() + static_cast<std::ptrdiff_t>(at) + 1, std::move(tail));
            ++at;
        }
        docx::Block block;
        block.isTable = true;
        block.table.rows = static_cast<int>(rows);
        block.table.columns = static_cast<int>(columns);
        block.table.cells.resize(static_cast<std::size_t>(rows * columns));
        blocks.insert(blocks.begin() + static_cast<std::ptrdiff_t>(std::min(at, blocks.size())), std::move(block));
        return new TableObject(SharedWord(), SharedDoc(), std::min(at, blocks.size() - 1));
    }
};

class BookmarksObject : public DocObject {
public:
    using DocObject::DocObject;

protected:
    std::vector<Member> Members() override
    {
        return {{L"Exists", Kind::Method, 1, [this](const Args& a, Result& r) {
                     r.Boolean(Data().FindBookmark(a.String(0)) < Data().blocks.size());
                 }}};
    }
};

class ParagraphsObject : public DocObject {
public:
    using DocObject::DocObject;

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"Add", Kind::Method, 0, [this](const Args&, Result& r) { Add(r); }},
            {L"Count", Kind::Method, 0,
             [this](const Args&, Result& r) {
                 r.Integer(static_cast<long>(std::count_if(Data().blocks.begin(), Data().blocks.end(),
                                                           [](const docx::Block& b) { return !b.isTable; })));
             }},
        };
    }

private:
    // A new empty paragraph at the end of the document.
    void Add(Result& result)
    {
        const long start = Data().End();
        Data().blocks.emplace_back();
        result.Object(new RangeObject(SharedWord(), SharedDoc(), RangeTarget{start, start}));
    }
};

// Where a "Goto" lands: a bookmark's place, or the start of the last line.
long GoToPosition(const docx::Document& data, const Args& a)
{
    const long what = a.Integer(0);
    if (what == GoToBookmark) {
        const std::wstring name = a.Has(3) ? a.String(3) : std::wstring();
        const std::size_t block = data.FindBookmark(name);
        if (block >= data.blocks.size())
            Fail(L"The document has no bookmark \"" + name + L"\".", E_INVALIDARG);
        return data.StartOf(block);
    }
    if (what == GoToLine && a.Has(1) && a.Integer(1) == GoToLast) {
        for (std::size_t i = data.blocks.size(); i-- > 0;)
            if (!data.blocks[i].isTable)
                return data.StartOf(i);
        return data.End();
    }
    Fail(L"This stand-in goes to bookmarks (what -1) and to the last line (what 3, which -1) only.", E_INVALIDARG);
}

const std::vector<const wchar_t*> GoToParams{L"what", L"which", L"count", L"name"};

class DocumentObject : public DocObject {
public:
    using DocObject::DocObject;

protected:
    std::vector<Member> Members() override
    {
        return {
            // Nothing is checked for spelling here, so the flag is only taken.
            {L"ShowSpellingErrors", Kind::Put, 1, [](const Args& a, Result&) { a.Boolean(0); }},
            {L"Paragraphs", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new ParagraphsObject(SharedWord(), SharedDoc())); }},
            {L"Bookmarks", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new BookmarksObject(SharedWord(), SharedDoc())); }},
            {L"Tables", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new TablesObject(SharedWord(), SharedDoc())); }},
            {L"Range", Kind::Method, 2, [this](const Args& a, Result& r) { Range(a, r); }, {L"start", L"end"}},
            {L"Goto", Kind::Method, 4,
             [this](const Args& a, Result& r) {
                 const long at = GoToPosition(Data(), a);
                 r.Object(new RangeObject(SharedWord(), SharedDoc(), RangeTarget{at, at}));
             },
             GoToParams},
            {L"SaveAs", Kind::Method, 1, [this](const Args& a, Result&) { SaveAs(a.String(0)); }},
        };
    }

private:
    void Range(const Args& a, Result& result)
    {
        const long end = Data().End();
        const long from = a.Has(0) ? a.Integer(0) : 0;
        const long to = a.Has(1) ? a.Integer(1) : end;
        if (from < 0 || to < from || to > end)
            Fail(L"The range " + std::to_wstring(from) + L" to " + std::to_wstring(to) +
                     L" is not inside the document (0 to " + std::to_wstring(end) + L").",
                 E_INVALIDARG);
        result.Object(new RangeObject(SharedWord(), SharedDoc(), RangeTarget{from, to}));
    }

    void SaveAs(const std::wstring& name)
    {
        const std::wstring path = FullPath(name);
        docx::SaveDocument(Data(), path);
        Doc().path = path;
    }
};

class SelectionObject : public DocObject {
public:
    using DocObject::DocObject;

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"TypeText", Kind::Method, 1, [this](const Args& a, Result&) { TypeText(a.String(0)); }},
            {L"TypeParaGraph", Kind::Method, 0, [this](const Args&, Result&) { TypeParagraph(); }},
            {L"Goto", Kind::Method, 4,
             [this](const Args& a, Result& r) {
                 Doc().selectionStart = Doc().selectionEnd = GoToPosition(Data(), a);
                 r.Object(new RangeObject(SharedWord(), SharedDoc(), RangeTarget{Doc().selectionStart,
                                                                                 Doc().selectionEnd}));
             },
             GoToParams},
            {L"Start", Kind::Method, 0, [this](const Args&, Result& r) { r.Integer(Doc().selectionStart); }},
            {L"End", Kind::Method, 0, [this](const Args&, Result& r) { r.Integer(Doc().selectionEnd); }},
        };
    }

private:
    docx::Paragraph& ParagraphAtSelection(long& offset)
    {
        const std::size_t block = Data().BlockAt(Doc().selectionEnd, &offset);
        if (block >= Data().blocks.size() || Data().blocks[block].isTable)
            Fail(L"Typing inside a table is not something this stand-in does.");
        return Data().blocks[block].paragraph;
    }

    void TypeText(const std::wstring& text)
    {
        long offset = 0;
        ParagraphAtSelection(offset).text.insert(static_cast<std::size_t>(offset), text);
        Doc().selectionStart = Doc().selectionEnd += static_cast<long>(text.size());
    }

    // Ends the paragraph at the selection: what follows starts a new one.
    void TypeParagraph()
    {
        long offset = 0;
        docx::Paragraph& paragraph = ParagraphAtSelection(offset);
        docx::Block tail;
        tail.paragraph.text = paragraph.text.substr(static_cast<std::size_t>(offset));
        tail.paragraph.alignment = paragraph.alignment;
        paragraph.text.resize(static_cast<std::size_t>(offset));
        const std::size_t block = Data().BlockAt(Doc().selectionEnd);
        Data().blocks.insert(Data().blocks.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(tail));
        Doc().selectionStart = Doc().selectionEnd += 1;
    }
};

class DocumentsObject : public WordObject {
public:
    using WordObject::WordObject;

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"Count", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Integer(static_cast<long>(Word().documents.size())); }},
            {L"Add", Kind::Method, 0, [this](const Args&, Result& r) { Activate(std::make_shared<WordDocument>(), r); }},
            {L"Open", Kind::Method, 1, [this](const Args& a, Result& r) { Open(a.String(0), r); }},
        };
    }

private:
    void Activate(std::shared_ptr<WordDocument> doc, Result& result)
    {
        if (std::find(Word().documents.begin(), Word().documents.end(), doc) == Word().documents.end())
            Word().documents.push_back(doc);
        Word().active = doc;
        result.Object(new DocumentObject(SharedWord(), std::move(doc)));
    }

    void Open(const std::wstring& name, Result& result)
    {
        const std::wstring path = FullPath(name);
        for (const auto& doc : Word().documents)
            if (CompareStringOrdinal(doc->path.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL)
                return Activate(doc, result);
        auto doc = std::make_shared<WordDocument>();
        doc->data = docx::LoadDocument(path);
        doc->path = path;
        Activate(std::move(doc), result);
    }
};

class WordApplicationObject : public WordObject {
public:
    using WordObject::WordObject;

protected:
    std::vector<Member> Members() override
    {
        return {
            {L"Documents", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new DocumentsObject(SharedWord())); }},
            {L"ActiveDocument", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new DocumentObject(SharedWord(), Active())); }},
            {L"Selection", Kind::Method, 0,
             [this](const Args&, Result& r) { r.Object(new SelectionObject(SharedWord(), Active())); }},
            {L"Quit", Kind::Method, 0, [this](const Args&, Result&) { Quit(); }},
        };
    }

private:
    const std::shared_ptr<WordDocument>& Active() const
    {
        if (!Word().active)
            Fail(L"No document is open.", E_FAIL);
        return Word().active;
    }

    // Open documents are closed without saving; the process ends once callers let go.
    void Quit()
    {
        Word().quit = true;
        Word().documents.clear();
        Word().active.reset();
        if (Word().onQuit)
            Word().onQuit();
    }
};

} // namespace

IDispatch* NewWordApplication(std::shared_ptr<WordState> word) { return new WordApplicationObject(std::move(word)); }

} // namespace xlserver
