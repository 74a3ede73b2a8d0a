// A word-processing document as the word-processor stand-in keeps it:
// paragraphs and tables in order, with bookmarks, read from and written to
// Office Open XML (.docx) files.
#pragma once
#include <string>
#include <vector>

namespace docx {

enum class Alignment { Left, Center, Right };

struct Paragraph {
    std::wstring text;
    Alignment alignment = Alignment::Left;
    // Bookmarks that start where this paragraph starts.
    std::vector<std::wstring> bookmarks;
};

struct Table {
    int rows = 0;
    int columns = 0;
    std::vector<Paragraph> cells; // row by row

    Paragraph& Cell(int row, int column) { return cells[static_cast<std::size_t>(row * columns + column)]; }
    const Paragraph& Cell(int row, int column) const
    {
        return cells[static_cast<std::size_t>(row * columns + column)];
    }
};

struct Block {
    bool isTable = false;
    Paragraph paragraph;
    Table table;
};

// Character positions count every paragraph's text and mark, and a table's
// cells with their marks and one mark for each row's end, as the word
// processor counts them.
struct Document {
    std::vector<Block> blocks{Block{}}; // a new document holds one empty paragraph

    long Length(const Block& block) const;
    long StartOf(std::size_t block) const;
    long End() const;
    // The block a position falls in, and the offset inside a paragraph's
    // text; positions past the end are the last paragraph's end.
    std::size_t BlockAt(long position, long* offset = nullptr) const;
    // The paragraph where the bookmark starts, or blocks.size().
    std::size_t FindBookmark(const std::wstring& name) const;
};

constexpr int MaxTableCells = 1 << 20;

std::string DocumentToDocx(const Document& document);
// Raises xlsx::Error when the bytes are not a document it can read.
Document DocumentFromDocx(std::string bytes);
void SaveDocument(const Document& document, const std::wstring& path);
Document LoadDocument(const std::wstring& path);

} // namespace docx
