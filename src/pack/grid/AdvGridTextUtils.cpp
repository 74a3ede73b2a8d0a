// Cell texts in bulk: headers from string lists, search highlights and
// error marks wrapped around found text, a cell checker run over cells,
// test fills and the distinct values of a column.
//
// A highlight of a plain text (one without markup) makes it markup and so
// encodes its "&", quotes, "<" and ">"; taking the highlight out of such a
// cell decodes them again, so that the cell reads as before. Cells that
// hold no highlight are never written, so their entities stay as they are.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "ComCtrls.h"
#include "HTMLUtils.h"
#include "SysUtils.h"
#include <random>
#include <set>
#include <vector>

namespace {

const String HighlightTag = L"hi";
const String MarkTag = L"e";

} // namespace

// --- headers ----------------------------------------------------------------------------

void TAdvStringGrid::SetColumnHeaders(TStrings* Value)
{
    FColumnHeaders->Assign(Value);
    if (GetFixedRows() > 0)
        ClearColumnHeaders();
    ShowColumnHeaders();
}

void TAdvStringGrid::SetRowHeaders(TStrings* Value)
{
    FRowHeaders->Assign(Value);
    if (DesignTime() && GetFixedCols() > 0)
        ClearRowHeaders();
    ShowRowHeaders();
}

void TAdvStringGrid::ClearColumnHeaders()
{
    for (int c = 0; c < GetColCount(); ++c)
        SetCellText(c, 0, L"");
}

void TAdvStringGrid::ClearRowHeaders()
{
    for (int r = 0; r < GetRowCount(); ++r)
        SetCellText(0, r, L"");
}

// --- highlights and marks in texts ------------------------------------------------------

String TAdvStringGrid::HilightText(bool DoCase, const String& S, const String& Text)
{
    return HighlightHTMLText(S, Text, HighlightTag, DoCase, false);
}

String TAdvStringGrid::MarkText(bool DoCase, const String& S, const String& Text)
{
    return HighlightHTMLText(S, Text, MarkTag, DoCase, false);
}

String TAdvStringGrid::UnHilightText(const String& S) { return UnhighlightHTMLText(S, HighlightTag); }

String TAdvStringGrid::UnMarkText(const String& S) { return UnhighlightHTMLText(S, MarkTag); }

// --- highlights and marks in cells ------------------------------------------------------

TAdvStringGrid::TSpan TAdvStringGrid::ColumnRows(bool DoFixed) const
{
    if (DoFixed)
        return {0, GetRowCount() - 1};
    return {GetFixedRows(), GetRowCount() - FFixedFooters - 1};
}

TAdvStringGrid::TSpan TAdvStringGrid::RowColumns(bool DoFixed, bool AllColumns) const
{
    const int count = AllColumns ? TotalColCount() : GetColCount();
    if (DoFixed)
        return {0, count - 1};
    return {GetFixedCols(), count - FFixedRightCols - 1};
}

void TAdvStringGrid::ForBaseCells(TSpan Cols, TSpan Rows, const std::function<void(int ACol, int ARow)>& Visit)
{
    for (int r = std::max(Rows.from, 0); r <= Rows.to && r < GetRowCount(); ++r)
        for (int c = std::max(Cols.from, 0); c <= Cols.to && c < TotalColCount(); ++c)
            if (IsBaseCell(c, r))
                Visit(c, r);
}

void TAdvStringGrid::HighlightCell(int Col, int Row, const String& Tag, bool DoCase, const String& HiText,
                                   bool FullText)
{
    if (!IsStorageCell(Col, Row))
        return;
    const String text = OnGetDisplText ? GetCellText(Col, Row) : GetRawCell(Col, Row);
    // The highlighter compares with the text as shown, entities decoded, so
    // the search text goes to it as the user typed it.
    const String highlighted = HighlightHTMLText(text, HiText, Tag, DoCase, FullText);
    if (highlighted != text)
        SetCellText(Col, Row, highlighted);
}

void TAdvStringGrid::UnhighlightCell(int Col, int Row, const String& Tag)
{
    if (!IsStorageCell(Col, Row))
        return;
    const String text = GetRawCell(Col, Row);
    // The renderer's routine also decodes a text that only the highlight
    // had made markup.
    const String plain = UnhighlightHTMLText(text, Tag);
    if (plain != text)
        SetCellText(Col, Row, plain);
}

void TAdvStringGrid::HilightInCell(bool DoCase, int Col, int Row, const String& HiText, bool FullText)
{
    ForBaseCells({Col, Col}, {Row, Row},
                 [&](int c, int r) { HighlightCell(c, r, HighlightTag, DoCase, HiText, FullText); });
}

void TAdvStringGrid::HilightInCol(bool DoFixed, bool DoCase, int Col, const String& HiText, bool FullText)
{
    ForBaseCells({Col, Col}, ColumnRows(DoFixed),
                 [&](int c, int r) { HighlightCell(c, r, HighlightTag, DoCase, HiText, FullText); });
}

void TAdvStringGrid::HilightInRow(bool DoFixed, bool DoCase, int Row, const String& HiText, bool FullText)
{
    ForBaseCells(RowColumns(DoFixed, false), {Row, Row},
                 [&](int c, int r) { HighlightCell(c, r, HighlightTag, DoCase, HiText, FullText); });
}

void TAdvStringGrid::HilightInGrid(bool DoFixed, bool DoCase, const String& HiText, bool FullText)
{
    ForBaseCells(DoFixed ? RowColumns(true, false) : RowColumns(false, true), ColumnRows(DoFixed),
                 [&](int c, int r) { HighlightCell(c, r, HighlightTag, DoCase, HiText, FullText); });
}

void TAdvStringGrid::MarkInCell(bool DoCase, int Col, int Row, const String& HiText)
{
    ForBaseCells({Col, Col}, {Row, Row}, [&](int c, int r) { HighlightCell(c, r, MarkTag, DoCase, HiText, false); });
}

void TAdvStringGrid::MarkInCol(bool DoFixed, bool DoCase, int Col, const String& HiText)
{
    ForBaseCells({Col, Col}, ColumnRows(DoFixed),
                 [&](int c, int r) { HighlightCell(c, r, MarkTag, DoCase, HiText, false); });
}

void TAdvStringGrid::MarkInRow(bool DoFixed, bool DoCase, int Row, const String& HiText)
{
    ForBaseCells(RowColumns(DoFixed, false), {Row, Row},
                 [&](int c, int r) { HighlightCell(c, r, MarkTag, DoCase, HiText, false); });
}

void TAdvStringGrid::MarkInGrid(bool DoFixed, bool DoCase, const String& HiText)
{
    ForBaseCells(RowColumns(DoFixed, false), ColumnRows(DoFixed),
                 [&](int c, int r) { HighlightCell(c, r, MarkTag, DoCase, HiText, false); });
}

void TAdvStringGrid::UnHilightInCell(int Col, int Row)
{
    ForBaseCells({Col, Col}, {Row, Row}, [&](int c, int r) { UnhighlightCell(c, r, HighlightTag); });
}

void TAdvStringGrid::UnHilightInCol(bool DoFixed, int Col)
{
    ForBaseCells({Col, Col}, ColumnRows(DoFixed), [&](int c, int r) { UnhighlightCell(c, r, HighlightTag); });
}

void TAdvStringGrid::UnHilightInRow(bool DoFixed, int Row)
{
    ForBaseCells(RowColumns(DoFixed, true), {Row, Row}, [&](int c, int r) { UnhighlightCell(c, r, HighlightTag); });
}

void TAdvStringGrid::UnHilightInGrid(bool DoFixed)
{
    ForBaseCells(RowColumns(DoFixed, true), ColumnRows(DoFixed),
                 [&](int c, int r) { UnhighlightCell(c, r, HighlightTag); });
}

void TAdvStringGrid::UnMarkInCell(int Col, int Row)
{
    ForBaseCells({Col, Col}, {Row, Row}, [&](int c, int r) { UnhighlightCell(c, r, MarkTag); });
}

void TAdvStringGrid::UnMarkInCol(bool DoFixed, int Col)
{
    ForBaseCells({Col, Col}, ColumnRows(DoFixed), [&](int c, int r) { UnhighlightCell(c, r, MarkTag); });
}

void TAdvStringGrid::UnMarkInRow(bool DoFixed, int Row)
{
    ForBaseCells(RowColumns(DoFixed, true), {Row, Row}, [&](int c, int r) { UnhighlightCell(c, r, MarkTag); });
}

void TAdvStringGrid::UnMarkInGrid(bool DoFixed)
{
    ForBaseCells(RowColumns(DoFixed, true), ColumnRows(DoFixed), [&](int c, int r) { UnhighlightCell(c, r, MarkTag); });
}

// --- the cell checker -------------------------------------------------------------------

bool TAdvStringGrid::CheckCell(int Col, int Row)
{
    if (!FCellChecker || !IsStorageCell(Col, Row))
        return true;
    const String stripped = UnMarkText(GetCellText(Col, Row));
    if (FCellChecker->GetGotoCell())
        MoveCurrentCell(DisplColIndex(Col), Row);
    String text = stripped;
    if (FCellChecker->GetUseCorrect())
        text = FCellChecker->Correct(Col, Row, stripped);
    if (FCellChecker->GetUseMarkError())
        text = FCellChecker->MarkError(Col, Row, stripped);
    SetCellText(Col, Row, text);
    return text == stripped;
}

bool TAdvStringGrid::CheckCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    if (!FCellChecker)
        return true;
    TAdvStringGridCheck* checker = FCellChecker;
    checker->StartCheck();
    const int oldCol = GetCol();
    const int oldRow = GetRow();
    bool passed = true;
    bool stopped = false;
    for (int r = FromRow; r <= ToRow && !stopped; ++r)
        for (int c = FromCol; c <= ToCol; ++c) {
            if (!CheckCell(c, r))
                passed = false;
            if (checker->GetLastResult() != mrOk) {
                stopped = true;
                break;
            }
        }
    checker->StopCheck();
    if (checker->GetGotoCell()) {
        SetRow(oldRow);
        SetCol(oldCol);
    }
    return passed;
}

bool TAdvStringGrid::CheckCol(bool DoFixed, int Col)
{
    const TSpan rows = ColumnRows(DoFixed);
    return CheckCells(Col, rows.from, Col, rows.to);
}

bool TAdvStringGrid::CheckRow(bool DoFixed, int Row)
{
    const TSpan cols = RowColumns(DoFixed, false);
    return CheckCells(cols.from, Row, cols.to, Row);
}

bool TAdvStringGrid::CheckGrid(bool DoFixed)
{
    const TSpan cols = RowColumns(DoFixed, false);
    const TSpan rows = ColumnRows(DoFixed);
    return CheckCells(cols.from, rows.from, cols.to, rows.to);
}

// --- fills ------------------------------------------------------------------------------

void TAdvStringGrid::FillNormalCells(bool DoFixed, const std::function<String(int ACol, int ARow)>& Text)
{
    const TSpan cols = DoFixed ? TSpan{0, GetColCount() - 1} : TSpan{GetFixedCols(), GetColCount() - FFixedRightCols - 1};
    const TSpan rows = DoFixed ? TSpan{0, GetRowCount() - 1} : TSpan{GetFixedRows(), GetRowCount() - FFixedFooters - 1};
    // Every text first: a text that cannot be made leaves the grid as it was.
    std::vector<String> texts;
    for (int c = cols.from; c <= cols.to; ++c)
        for (int r = rows.from; r <= rows.to; ++r)
            texts.push_back(Text(c, r));
    size_t i = 0;
    for (int c = cols.from; c <= cols.to; ++c)
        for (int r = rows.from; r <= rows.to; ++r)
            SetCellText(c, r, texts[i++]);
    RecalcAllFooters();
}

void TAdvStringGrid::TextFill(bool DoFixed, const String& Txt)
{
    FillNormalCells(DoFixed, [&](int, int) { return Txt; });
}

void TAdvStringGrid::FormatFill(bool DoFixed, const String& Fmt)
{
    FillNormalCells(DoFixed, [&](int c, int r) { return Format(Fmt, {c, r}); });
}

void TAdvStringGrid::RandomFill(bool DoFixed, int Rnd)
{
    static std::mt19937 engine{std::random_device{}()};
    FillNormalCells(DoFixed, [&](int, int) {
        if (Rnd < 1)
            return String(L"0");
        return IntToStr(std::uniform_int_distribution<int>(0, Rnd - 1)(engine));
    });
}

void TAdvStringGrid::LinearFill(bool DoFixed)
{
    FillNormalCells(DoFixed, [](int c, int r) { return IntToStr(c) + L":" + IntToStr(r); });
}

// --- distinct values --------------------------------------------------------------------

TStrings* TAdvStringGrid::DistinctValues(int ACol, bool CaseSensitive)
{
    TOwned<TStringList> values(New<TStringList>());
    std::set<String> seen;
    std::vector<String> kept;
    const TSpan rows = ColumnRows(false);
    for (int r = rows.from; r <= rows.to; ++r) {
        const String text = SaveCell(ACol, r);
        // The first of texts equal but for case is the one kept.
        if (seen.insert(CaseSensitive ? text : AnsiUpperCase(text)).second)
            kept.push_back(text);
    }
    values->SetCaseSensitive(CaseSensitive);
    for (const String& text : kept)
        values->Add(text);
    values->SetSorted(true);
    return values.release();
}

// --- rich text --------------------------------------------------------------------------

void TAdvStringGrid::CellToRich(int Col, int Row, TRichEdit* Richeditor)
{
    const String text = GetCellText(Col, Row);
    if (text.empty()) {
        Richeditor->Clear();
        return;
    }
    Richeditor->LoadRTF(WideToAnsi(text));
}

String TAdvStringGrid::RichToString(TRichEdit* Richeditor)
{
    if (Destroying())
        return L"";
    return AnsiToWide(Richeditor->SaveRTF());
}

void TAdvStringGrid::RichToCell(int Col, int Row, TRichEdit* Richeditor)
{
    SetCellText(Col, Row, RichToString(Richeditor));
}
