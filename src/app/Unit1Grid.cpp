// The inventory table: every call the main window makes into its grid.
#include "Unit1.h"

namespace {

// Widths of the columns whose titles or values run longer than the others.
struct TColumnWidth {
    int Col;
    int Width;
};
constexpr TColumnWidth DefaultColumnWidths[] = {{0, 160}, {7, 140}, {15, 130}, {19, 125}, {24, 130}};

} // namespace

void TForm1::CreateInventoryTable()
{
    StringGrid1 = Make<TStringGrid>(L"StringGrid1");
    StringGrid1->SetBounds(1, 1, 768, 342);
    StringGrid1->SetAlign(alClient);
    StringGrid1->SetColCount(InventoryColumnCount);
    StringGrid1->SetRowCount(2);
    StringGrid1->SetFixedCols(1);
    StringGrid1->SetFixedRows(1);
    StringGrid1->SetDefaultColWidth(120);
    StringGrid1->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
                             goColSizing, goRowSelect, goThumbTracking});
    StringGrid1->SetDrawingStyle(gdsClassic);
    StringGrid1->GetFont()->SetName(L"Tahoma");
    StringGrid1->GetFont()->SetHeight(-11);
    StringGrid1->SetScrollBars(ssBoth);
    StringGrid1->SetParent(Panel8);
}

void TForm1::WriteColumnTitles()
{
    for (int col = 0; col < InventoryColumnCount; ++col)
        StringGrid1->SetCells(col, 0, LanguageText(L"table_", ColumnTitles[static_cast<std::size_t>(col)]));
}

void TForm1::RestoreColumnLayout()
{
    for (const TColumnWidth& column : DefaultColumnWidths)
        StringGrid1->SetColWidths(column.Col, column.Width);
}
