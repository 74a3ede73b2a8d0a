// The width of a column in characters, as the text exports lay it out.
#include "AdvGrid.h"

int TAdvStringGrid::GetMaxCellLineLength(int ACol)
{
    std::size_t longest = 0;
    for (int r = 0; r < GetRowCount(); ++r) {
        const String text = SaveCell(ACol, r);
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find_first_of(L"\r\n", start);
            if (end == String::npos)
                end = text.size();
            longest = std::max(longest, end - start);
            if (!FMultilineCells || end == text.size())
                break;
            start = end + 1;
            if (text[end] == L'\r' && start < text.size() && text[start] == L'\n')
                ++start;
        }
    }
    return static_cast<int>(std::min<std::size_t>(longest, INT_MAX));
}
