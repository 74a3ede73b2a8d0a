// Cells read and written as numbers and dates, the readers of the current
// cell, hidden rows and sorted rows, the editor's text, alignment, and the
// accessors of one property for a cell, a row or a block.
#include "DataGridSupport.h"
#include "GridHTML.h"
#include "GridHTMLEngine.h"
#include "ScopeExit.h"
#include "SysUtils.h"
#include <gtest/gtest.h>
#include <optional>

using namespace datagrid_test;

namespace {

// The locale's separators for the length of a test.
[[nodiscard]] auto Separators(wchar_t Decimal, wchar_t Thousand)
{
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = Decimal;
    FormatSettings.ThousandSeparator = Thousand;
    return TScopeExit([saved] { FormatSettings = saved; });
}

String ErrorOf(const std::function<void()>& Read)
{
    try {
        Read();
    } catch (const EAdvGridError& e) {
        return e.Message();
    }
    return L"";
}

// The in-place editor's side of the grid.
struct TEditorsGrid : TAdvStringGrid {
    using TAdvStringGrid::TAdvStringGrid;
    using TAdvStringGrid::GetEditText;
    using TAdvStringGrid::SetEditText;
};

} // namespace

TEST(TypedCells, NumbersUnderEitherDecimalSeparator)
{
    const String noInteger = L"Cell does not contain integer value";
    const String noFloat = L"Cell does not contain a float value";
    struct Case {
        wchar_t decimal, thousand;
        const wchar_t* text;
        std::optional<int> integer; // none: the integer error
        std::optional<double> real; // none: the float error
    };
    const Case cases[] = {
        {L'.', L',', L"", 0, 0},
        {L'.', L',', L"-", 0, 0},
        {L'.', L',', L"<b></b>", 0, 0},
        {L'.', L',', L"42", 42, 42},
        {L'.', L',', L"<b>-7</b>", -7, -7},
        {L'.', L',', L"3.5", 4, 3.5},
        {L'.', L',', L"2.5", 2, 2.5},
        {L'.', L',', L"1,234", 1234, 1234},
        {L'.', L',', L"(12.5)", -12, -12.5},
        {L'.', L',', L"12.5 kg", 12, 12.5},
        {L'.', L',', L"abc", std::nullopt, std::nullopt},
        {L'.', L',', L"4294967296", std::nullopt, 4294967296.0},
        {L'.', L',', L"3000000000.5", std::nullopt, 3000000000.5},
        {L',', L' ', L"3,5", 4, 3.5},
        {L',', L' ', L"-2,5", -2, -2.5},
        {L',', L' ', L"1 000,25", 1000, 1000.25},
        {L',', L' ', L"7", 7, 7},
        {L',', L' ', L"x,y", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << std::string(c.text, c.text + wcslen(c.text)) << "' with "
                                        << char(c.decimal));
        auto restore = Separators(c.decimal, c.thousand);
        TFilledGrid<> g(2, 2);
        g->SetCells(1, 1, c.text);
        if (c.integer)
            EXPECT_EQ(g->GetIntegerCell(1, 1), *c.integer);
        else
            EXPECT_EQ(ErrorOf([&] { g->GetIntegerCell(1, 1); }), noInteger);
        if (c.real)
            EXPECT_DOUBLE_EQ(g->GetFloatCell(1, 1), *c.real);
        else
            EXPECT_EQ(ErrorOf([&] { g->GetFloatCell(1, 1); }), noFloat);
    }
}

TEST(TypedCells, WritingNumbersAndDates)
{
    TFilledGrid<> g(3, 3);
    g->SetIntegerCell(1, 1, -15);
    EXPECT_EQ(g->GetCells(1, 1), L"-15");
    g->SetFloatFormat(L"%.2f");
    g->SetFloatCell(1, 1, 3.14159);
    EXPECT_EQ(g->GetCells(1, 1), L"3.14");
    // The column's format from the event.
    g->OnGetFloatFormat = [](TObject*, int ACol, int, bool& IsFloat, String& Format) {
        IsFloat = ACol == 2;
        Format = L"%.1f";
    };
    g->SetFloatCell(2, 1, 2.24);
    EXPECT_EQ(g->GetCells(2, 1), L"2.2");
    g->OnGetFloatFormat = nullptr;
    // A pattern that cannot format a float raises and writes nothing.
    g->SetFloatFormat(L"%d items");
    EXPECT_THROW(g->SetFloatCell(1, 1, 1.5), EConvertError);
    EXPECT_EQ(g->GetCells(1, 1), L"3.14");

    g->SetShowNullDates(false);
    g->SetDateCell(1, 2, 0);
    EXPECT_EQ(g->GetCells(1, 2), L"");
    g->SetDateCell(1, 2, EncodeDate(2024, 3, 5));
    EXPECT_EQ(g->GetCells(1, 2), DateToStr(EncodeDate(2024, 3, 5)));
    g->SetShowNullDates(true);
    g->SetDateCell(1, 2, 0);
    EXPECT_EQ(g->GetCells(1, 2), DateToStr(0));
}

TEST(TypedCells, CurrentHiddenAndSortedRows)
{
    TFilledGrid<> g(3, 5);
    g->MergeCells(1, 1, 2, 2);
    g->SetCol(2);
    g->SetRow(2);
    EXPECT_EQ(g->GetCurrentCellText(), CellName(1, 1)) << "the base cell of the block";
    g->SetCurrentCellText(L"new");
    EXPECT_EQ(g->GetCells(1, 1), L"new");

    g->SetCells(1, 3, L"<b>bold</b>");
    EXPECT_EQ(g->GetStrippedCellText(1, 3), L"bold");

    // A hidden row reads from its item; past its entries it is empty and
    // its list keeps its length.
    g->HideRow(3);
    EXPECT_EQ(g->GetRealRowCellText(1, 3), L"<b>bold</b>");
    TStrings* items = g->GetHiddenRowStrings(3);
    ASSERT_NE(items, nullptr);
    const int entries = items->Count();
    EXPECT_EQ(g->GetRealRowCellText(entries + 5, 3), L"");
    EXPECT_EQ(g->GetRealRowObject(entries + 5, 3), nullptr);
    EXPECT_EQ(items->Count(), entries);
    EXPECT_EQ(g->GetRealRowCellText(-1, 3), L"");
    EXPECT_EQ(g->GetRealRowCellText(0, 4), CellName(0, 4));
    EXPECT_EQ(g->GetHiddenRowStrings(4), nullptr);

    EXPECT_EQ(g->UnSortedRowIndex(3), 3);
    EXPECT_EQ(g->SortedRowIndex(-1), -1);
    g->GetSortRowXRef()->Add(2);
    g->GetSortRowXRef()->Add(0);
    EXPECT_EQ(g->UnSortedRowIndex(0), 1);
    EXPECT_EQ(g->UnSortedRowIndex(9), 2);
    EXPECT_EQ(g->SortedRowIndex(0), 2);
}

TEST(TypedCells, EditorTextAndAlignment)
{
    TFilledGrid<TEditorsGrid> g(3, 3);
    g->SetCells(1, 1, L"<i>x</i>");
    EXPECT_EQ(g->GetEditText(1, 1), L"x");
    g->SetEditWithTags(true);
    EXPECT_EQ(g->GetEditText(1, 1), L"<i>x</i>");
    g->MergeCells(1, 1, 2, 1);
    g->SetEditText(2, 1, L"typed");
    EXPECT_EQ(g->GetCells(1, 1), L"typed");

    TAlignment ha = taCenter;
    TVAlignment va = vtaTop;
    g->SetVAlignment(vtaBottom);
    g->SetCells(1, 2, L"12.5");
    g->GetCellAlignment(1, 2, ha, va);
    EXPECT_EQ(ha, taLeftJustify);
    EXPECT_EQ(va, vtaBottom);
    g->SetCellTextAlignment(1, 2, taCenter);
    g->GetCellAlignment(1, 2, ha, va);
    EXPECT_EQ(ha, taCenter);
    g->SetAutoNumAlign(true);
    g->GetCellAlignment(1, 2, ha, va);
    EXPECT_EQ(ha, taRightJustify) << "numbers go right";
    g->GetCellAlignment(0, 2, ha, va);
    EXPECT_EQ(ha, taLeftJustify);
    g->OnGetAlignment = [](TObject*, int, int, TAlignment& HAlign, TVAlignment&) { HAlign = taCenter; };
    g->GetCellAlignment(1, 2, ha, va);
    EXPECT_EQ(ha, taCenter);
}

TEST(TypedCells, TakingARowColourOffKeepsWhatIsMoreThanLooks)
{
    using Setter = void (TAdvStringGrid::*)(int, TColor);
    for (Setter off : {&TAdvStringGrid::SetRowColor, &TAdvStringGrid::SetRowColorTo,
                       &TAdvStringGrid::SetRowFontColor}) {
        TFilledGrid<> g(6, 3);
        g->AddCheckBox(1, 1, true, false);
        g->MergeCells(2, 1, 2, 1);
        g->SetCellObject(4, 1, 99);
        g->SetCellFontStyle(5, 1, TFontStyles{fsBold});
        g->SetCellBrushColor(5, 1, clNone);
        (g.grid->*off)(1, clNone);
        EXPECT_EQ(g->GetCellGraphicType(1, 1), ctCheckBox);
        EXPECT_TRUE(g->IsMergedCell(2, 1));
        EXPECT_EQ(g->GetCellObject(4, 1), 99);
        EXPECT_FALSE(g->HasCellProperties(5, 1)) << "a plain cell falls back to the defaults";
    }
    TFilledGrid<> g(3, 3);
    g->SetRowColor(1, 0xFF);
    EXPECT_EQ(g->GetCellBrushColor(1, 1), 0xFF);
    EXPECT_EQ(g->GetCellBrushColor(0, 1), clNone) << "fixed columns stay";
    g->SetRowFontColor(1, clNone);
    EXPECT_TRUE(g->HasCellProperties(1, 1)) << "a cell with its own colour keeps it";
}

TEST(TypedCells, HighlightColoursReachTheRenderer)
{
    const TColor color = gridhtml::HighlightColor(), text = gridhtml::HighlightTextColor();
    TScopeExit restore([&] { SetHTMLHighlightColors(color, text); });
    TFilledGrid<> g(3, 3);
    g->SetHighlightColor(0x00FF00);
    EXPECT_EQ(gridhtml::HighlightColor(), 0x00FF00);
    EXPECT_EQ(gridhtml::HighlightTextColor(), g->GetHighlightTextColor());
    g->SetHighlightTextColor(0x0000FF);
    EXPECT_EQ(gridhtml::HighlightColor(), 0x00FF00);
    EXPECT_EQ(gridhtml::HighlightTextColor(), 0x0000FF);
}

TEST(TypedCells, Blocks)
{
    TFilledGrid<> g(4, 4);
    EXPECT_TRUE(g->IsFontStyle(TGridRect{2, 0, 1, 3}, fsBold)) << "no columns";
    g->SetFontStyle(TGridRect{1, 1, 2, 2}, fsBold, true);
    EXPECT_TRUE(g->IsFontStyle(TGridRect{1, 1, 2, 2}, fsBold));
    EXPECT_FALSE(g->IsFontStyle(TGridRect{1, 1, 3, 2}, fsBold));
    g->SetFontStyle(TGridRect{2, 2, 2, 2}, fsBold, false);
    EXPECT_FALSE(g->IsFontStyle(TGridRect{1, 1, 2, 2}, fsBold));
    g->SetAlignment(TGridRect{0, 0, 3, 3}, taRightJustify);
    EXPECT_TRUE(g->IsAlignment(TGridRect{0, 0, 3, 3}, taRightJustify));
    g->SetCellTextColor(TGridRect{1, 1, 1, 1}, 0x80);
    g->SetCellFontName(TGridRect{1, 1, 1, 1}, L"Tahoma");
    g->SetCellFontSize(TGridRect{1, 1, 1, 1}, 14);
    const TCellProperties* props = g->GetCellProperties(1, 1);
    EXPECT_EQ(props->GetFontColor(), 0x80);
    EXPECT_EQ(props->GetFontName(), L"Tahoma");
    EXPECT_EQ(props->GetFontSize(), 14);
    // Fixed cells start from the fixed font; a normal cell outside the block is not bold.
    EXPECT_FALSE(g->HasCellProperties(3, 3) && g->GetCellFontStyle(3, 3).Contains(fsBold));
}
