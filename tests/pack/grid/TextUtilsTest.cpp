// Cell texts in bulk: headers with line-break escapes, highlights and marks
// in and out of cells (other cells left byte for byte), a checker run over
// cells, the fills and the distinct values of a column.
#include "DataGridSupport.h"
#include "ComCtrls.h"
#include <gtest/gtest.h>

using namespace datagrid_test;

namespace {

std::vector<String> AllCells(TAdvStringGrid* Grid)
{
    std::vector<String> all;
    for (int r = 0; r < Grid->GetRowCount(); ++r)
        for (int c = 0; c < Grid->GetColCount(); ++c)
            all.push_back(Grid->GetCells(c, r));
    return all;
}

// Marks every "teh" as an error, or corrects it; counts its runs.
class TSpellCheck : public TAdvStringGridCheck {
public:
    using TAdvStringGridCheck::TAdvStringGridCheck;
    String MarkError(int, int, const String& s) override
    {
        const size_t at = s.find(L"teh");
        return at == String::npos ? s : s.substr(0, at) + L"<e>teh</e>" + s.substr(at + 3);
    }
    String Correct(int, int, const String& s) override
    {
        const size_t at = s.find(L"teh");
        ++corrected;
        if (at != String::npos && stopAfterFirst)
            SetLastResult(mrCancel);
        return at == String::npos ? s : s.substr(0, at) + L"the" + s.substr(at + 3);
    }
    void StartCheck() override { ++started; }
    void StopCheck() override { ++stopped; }
    int started = 0, stopped = 0, corrected = 0;
    bool stopAfterFirst = false;
};

} // namespace

TEST(TextUtils, HeadersWithEscapedLineBreaks)
{
    TFilledGrid<> g(3, 3);
    g->GetColumnHeaders()->SetText(L"A\\nB\r\nSize\r\nDate\r\nExtra\r\n");
    EXPECT_EQ(g->GetCells(0, 0), L"A\rB");
    EXPECT_EQ(g->GetCells(2, 0), L"Date");
    EXPECT_EQ(AllCells(g.grid).size(), 9u) << "no column for the fourth header";
    TOwned<TStringList> two(New<TStringList>());
    two->SetCommaText(L"x,y");
    g->SetColumnHeaders(two.get());
    EXPECT_EQ(g->GetCells(1, 0), L"y");
    EXPECT_EQ(g->GetCells(2, 0), L"") << "cleared before the new headers";
    g->GetRowHeaders()->SetCommaText(L"h0,h1\\nsecond");
    EXPECT_EQ(g->GetCells(0, 1), L"h1\rsecond");
    g->SetFixedRows(0);
    g->GetColumnHeaders()->SetCommaText(L"p,q");
    EXPECT_EQ(g->GetCells(0, 0), L"h0") << "no fixed row, no headers";
}

TEST(TextUtils, HighlightsComeAndGoLeavingOtherCellsAlone)
{
    TFilledGrid<> g(3, 3);
    g->SetFixedRows(0);
    g->SetFixedCols(0);
    const std::vector<String> texts = {L"<b>a&lt;b</b>", L"&lt;b&gt; shown", L"x &amp; a<b", L"plain a<b",
                                       L"<i>none</i>", L"", L"A<B upper", L"tom &quot;a<b&quot;", L"&amp;"};
    for (int i = 0; i < 9; ++i)
        g->SetCells(i % 3, i / 3, texts[i]);
    const auto before = AllCells(g.grid);

    g->HilightInCell(false, 0, 0, L"a<b");
    EXPECT_EQ(g->GetCells(0, 0), L"<b><HI>a&lt;b</HI></b>") << "the encoded text found in markup";
    g->HilightInGrid(true, true, L"nothing here");
    EXPECT_EQ(g->GetCells(1, 0), before[1]);
    g->HilightInCol(true, false, 0, L"a<b");
    EXPECT_NE(g->GetCells(0, 1), before[3]);
    EXPECT_EQ(g->HilightText(false, L"abc", L"b"), L"a<HI>b</HI>c");
    EXPECT_EQ(g->UnHilightText(L"a<HI>b</HI>c"), L"abc");

    // Every cell, highlighted or not, reads as before.
    g->UnHilightInGrid(true);
    EXPECT_EQ(AllCells(g.grid), before);

    g->MarkInRow(true, false, 2, L"a<b");
    EXPECT_NE(g->GetCells(1, 2), before[7]);
    g->UnMarkInGrid(true);
    EXPECT_EQ(AllCells(g.grid), before);
}

TEST(TextUtils, CheckerMarksAndCorrects)
{
    TFilledGrid<> g(3, 3);
    EXPECT_TRUE(g->CheckCells(0, 0, 2, 2)) << "no checker";
    const auto before = AllCells(g.grid);
    EXPECT_EQ(AllCells(g.grid), before);

    TOwned<TSpellCheck> checker(New<TSpellCheck>(nullptr));
    g->SetCellChecker(checker.get());
    g->SetCells(1, 1, L"teh cat");
    g->SetCells(2, 2, L"teh dog");
    checker->SetUseMarkError(true);
    EXPECT_FALSE(g->CheckCells(1, 1, 2, 2));
    EXPECT_EQ(g->GetCells(1, 1), L"<e>teh</e> cat");
    EXPECT_EQ(g->GetCells(2, 1), CellName(2, 1));
    EXPECT_EQ(checker->started, 1);
    EXPECT_EQ(checker->stopped, 1);
    // Marks come off before the next check; correcting passes them.
    checker->SetUseMarkError(false);
    checker->SetUseCorrect(true);
    EXPECT_FALSE(g->CheckGrid(false));
    EXPECT_EQ(g->GetCells(1, 1), L"the cat");
    EXPECT_EQ(g->GetCells(2, 2), L"the dog");
    EXPECT_TRUE(g->CheckGrid(false));
    // A dialog result other than OK ends the run.
    g->SetCells(1, 1, L"teh");
    g->SetCells(2, 2, L"teh");
    checker->stopAfterFirst = true;
    g->CheckGrid(false);
    EXPECT_EQ(g->GetCells(1, 1), L"the");
    EXPECT_EQ(g->GetCells(2, 2), L"teh");
    g->SetCellChecker(nullptr);
}

TEST(TextUtils, FillsAndDistinctValues)
{
    TFilledGrid<> g(3, 2);
    g->LinearFill(true);
    EXPECT_EQ(AllCells(g.grid), (std::vector<String>{L"0:0", L"1:0", L"2:0", L"0:1", L"1:1", L"2:1"}));
    g->FormatFill(false, L"%d/%d");
    EXPECT_EQ(g->GetCells(1, 1), L"1/1");
    EXPECT_EQ(g->GetCells(0, 1), L"0:1") << "fixed cells stay";
    const auto before = AllCells(g.grid);
    EXPECT_THROW(g->FormatFill(true, L"%s and %s"), EConvertError);
    EXPECT_EQ(AllCells(g.grid), before);
    g->RandomFill(true, 0);
    EXPECT_EQ(AllCells(g.grid), std::vector<String>(6, L"0"));
    g->RandomFill(true, 3);
    for (const String& text : AllCells(g.grid))
        EXPECT_TRUE(text == L"0" || text == L"1" || text == L"2") << text;
    g->TextFill(false, L"t");
    EXPECT_EQ(g->GetCells(2, 1), L"t");

    TFilledGrid<> d(2, 5);
    for (int r = 1; r < 5; ++r)
        d->SetCells(1, r, std::vector<String>{L"b", L"A", L"a", L"B"}[r - 1]);
    TOwned<TStrings> values(d->DistinctValues(1, false));
    EXPECT_EQ(values->GetCommaText(), L"A,b");
    values.reset(d->DistinctValues(1, true));
    EXPECT_EQ(values->Count(), 4);
}

TEST(TextUtils, RichTextRoundTrip)
{
    TShownGrid<> g(3, 3);
    auto* rich = New<TRichEdit>(g.form);
    rich->SetParent(g.form);
    rich->SetBounds(0, 310, 300, 60);
    g->SetCells(1, 1, L"{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0 Hello \\b bold\\b0  world\\par}");
    g->CellToRich(1, 1, rich);
    EXPECT_EQ(Trim(rich->GetLines()->GetText()), L"Hello bold world");
    g->RichToCell(2, 2, rich);
    const String saved = g->GetCells(2, 2);
    EXPECT_EQ(saved.rfind(L"{\\rtf", 0), 0u) << "saved as RTF";
    EXPECT_NE(saved.find(L"\\b"), String::npos) << "bold kept";
    // The saved text loads back to the same content.
    rich->Clear();
    g->CellToRich(2, 2, rich);
    EXPECT_EQ(Trim(rich->GetLines()->GetText()), L"Hello bold world");
    // An empty cell empties the rich edit.
    g->SetCells(0, 2, L"");
    g->CellToRich(0, 2, rich);
    EXPECT_EQ(rich->GetLines()->GetText(), L"");
}
