// The clipboard transfers the clipboard keys need: the selection as
// tab-separated text (rows end with CR LF) to and from the clipboard, and
// the cut that empties the editable cells it copied.
#include "AdvGrid.h"
#include "Clipbrd.h"
#include <algorithm>

namespace {

TGridRect NormalisedSelection(const TGridRect& R)
{
    return {std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
            std::max(R.Top, R.Bottom)};
}

} // namespace

void TAdvStringGrid::CopySelectionToClipboard()
{
    const TGridRect sel = NormalisedSelection(GetSelection());
    String text;
    for (int r = sel.Top; r <= sel.Bottom; ++r) {
        for (int c = sel.Left; c <= sel.Right; ++c) {
            if (c > sel.Left)
                text += L'\t';
            text += GetRawCell(RealColIndex(c), r);
        }
        text += L"\r\n";
    }
    Clipboard()->SetAsText(text);
}

void TAdvStringGrid::CutSelectionToClipboard()
{
    CopySelectionToClipboard();
    const TGridRect sel = NormalisedSelection(GetSelection());
    for (int r = sel.Top; r <= sel.Bottom; ++r)
        for (int c = sel.Left; c <= sel.Right; ++c)
            if (IsEditable(RealColIndex(c), r))
                SetCellText(RealColIndex(c), r, String());
}

void TAdvStringGrid::PasteSelectionFromClipboard()
{
    const String text = Clipboard()->GetAsText();
    if (text.empty())
        return;
    const TGridRect sel = NormalisedSelection(GetSelection());
    int r = sel.Top;
    std::size_t lineStart = 0;
    while (lineStart < text.size() && r < GetRowCount()) {
        std::size_t lineEnd = text.find(L'\n', lineStart);
        if (lineEnd == String::npos)
            lineEnd = text.size();
        String line = text.substr(lineStart, lineEnd - lineStart);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        int c = sel.Left;
        std::size_t cellStart = 0;
        for (;;) {
            const std::size_t tab = line.find(L'\t', cellStart);
            if (c < GetColCount())
                SetCellText(RealColIndex(c), r, line.substr(cellStart, tab == String::npos ? String::npos : tab - cellStart));
            if (tab == String::npos)
                break;
            cellStart = tab + 1;
            ++c;
        }
        lineStart = lineEnd + 1;
        ++r;
    }
}
