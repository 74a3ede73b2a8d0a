// The inventory table: every call the main window makes into its grid.
#include "Unit1.h"

namespace {

const wchar_t* const GridSection = L"GRID";
const wchar_t* const ColumnStateKey = L"colstate";

// Widths of the columns whose titles or values run longer than the others.
struct TColumnWidth {
    int Col;
    int Width;
};
constexpr TColumnWidth DefaultColumnWidths[] = {{0, 160}, {7, 140}, {15, 130}, {19, 125}, {24, 130}};

// The colours of the title row's gradients.
constexpr TSettingValue<TControlLook, TColor> FixedGradients[] = {
    {&TControlLook::SetFixedGradientMirrorFrom, 16447735},
    {&TControlLook::SetFixedGradientMirrorTo, 16052977},
    {&TControlLook::SetFixedGradientHoverFrom, 16775139},
    {&TControlLook::SetFixedGradientHoverTo, 16775139},
    {&TControlLook::SetFixedGradientHoverMirrorFrom, 16772541},
    {&TControlLook::SetFixedGradientHoverMirrorTo, 16508855},
    {&TControlLook::SetFixedGradientDownFrom, 16377020},
    {&TControlLook::SetFixedGradientDownTo, 16377020},
    {&TControlLook::SetFixedGradientDownMirrorFrom, 16242317},
    {&TControlLook::SetFixedGradientDownMirrorTo, 16109962},
    {&TControlLook::SetFixedGradientDownBorder, 11440207},
};

// The table is read-only and copied from: no key may start an edit or turn
// a paste into new rows.
constexpr TSettingValue<TNavigation, bool> NavigationSwitches[] = {
    {&TNavigation::SetAllowClipboardShortCuts, true},
    {&TNavigation::SetAllowClipboardAlways, true},
    {&TNavigation::SetKeepScrollOnSort, true},
    {&TNavigation::SetKeepHorizScroll, true},
    {&TNavigation::SetAdvanceAutoEdit, false},
    {&TNavigation::SetAdvanceSkipReadOnlyCells, false},
    {&TNavigation::SetAutoComboSelect, false},
    {&TNavigation::SetAllowCtrlEnter, false},
    {&TNavigation::SetAllowClipboardRowGrow, false},
    {&TNavigation::SetAllowClipboardColGrow, false},
    {&TNavigation::SetEditSelectAll, false},
    {&TNavigation::SetCopyHTMLTagsToClipboard, false},
    {&TNavigation::SetSkipFixedCells, false},
    {&TNavigation::SetSkipDisabledRows, false},
};

const TSettingValue<TSearchFooter, const String&> SearchFooterTexts[] = {
    {&TSearchFooter::SetFindNextCaption, L"Find &next"},
    {&TSearchFooter::SetFindPrevCaption, L"Find &previous"},
    {&TSearchFooter::SetMatchCaseCaption, L"Match case"},
    {&TSearchFooter::SetHighLightCaption, L"Highlight"},
    {&TSearchFooter::SetHintClose, L"Close"},
    {&TSearchFooter::SetHintFindNext, L"Find next occurrence"},
    {&TSearchFooter::SetHintFindPrev, L"Find previous occurrence"},
    {&TSearchFooter::SetHintHighlight, L"Highlight occurrences"},
};

void SetTahoma(TFont* Font, TFontStyles Style = {})
{
    Font->SetName(L"Tahoma");
    Font->SetHeight(-11);
    Font->SetStyle(Style);
}

// A saved layout the table can take: one the grid will parse (it checks
// the rest) for exactly the table's columns. Any other would leave fewer or
// more columns than the titles and the inventory fill.
bool FitsTheTable(const String& ColumnState)
{
    const std::size_t hash = ColumnState.find(L'#');
    return hash != String::npos && StrToIntDef(ColumnState.substr(0, hash), -1) == InventoryColumnCount;
}

} // namespace

void TForm1::CreateInventoryTable()
{
    StringGrid1 = Make<TAdvStringGrid>(L"StringGrid1");
    TAdvStringGrid* grid = StringGrid1;
    grid->SetBounds(1, 1, 768, 342);
    grid->SetAlign(alClient);
    grid->SetColCount(InventoryColumnCount);
    grid->SetRowCount(2);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->SetDefaultColWidth(120);
    grid->SetFixedColWidth(120);
    grid->SetFixedRowHeight(22);
    grid->SetFixedRowAlways(true);
    grid->SetOptions({goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect, goColSizing,
                      goRowSelect, goThumbTracking});
    grid->SetDrawingStyle(gdsClassic);
    // The look first: the colours below are the window's own over it.
    grid->SetLook(glVista);
    // The grid's font is its own even where it matches a new font's
    // defaults, which change nothing and so would leave it following the
    // window's font.
    grid->SetParentFont(false);
    SetTahoma(grid->GetFont());
    SetTahoma(grid->GetFixedFont(), {fsBold});
    grid->GetFixedFont()->SetColor(clBlack);
    grid->GetActiveCellFont()->SetStyle({fsBold});
    grid->SetActiveCellColor(16644337);
    grid->SetActiveCellColorTo(16576469);
    grid->SetGridLineColor(15527152);
    grid->SetGridFixedLineColor(13947601);
    grid->SetHoverRowCells({hcNormal, hcSelected});
    // Names come from a list anyone may write and values from remote
    // computers: every cell is data, shown, printed and exported as it is,
    // never read as markup.
    grid->SetEnableHTML(false);
    grid->SetMultilineCells(true);
    grid->SetEnhTextSize(true);
    grid->SetFloatFormat(L"%.2f");
    grid->SetScrollBars(ssBoth);
    grid->SetScrollWidth(16);
    grid->SetScrollProportional(true);

    grid->SetFilterDropDownAuto(true);
    grid->SetFilterDropDownCheck(true);
    grid->SetFilterDropDownClear(L"(All)");
    grid->GetFilterDropDown()->SetTextChecked(L"Checked");
    grid->GetFilterDropDown()->SetTextUnChecked(L"Unchecked");

    TSortSettings* sorting = grid->GetSortSettings();
    sorting->SetShow(true);
    sorting->SetDefaultFormat(ssAutomatic);
    sorting->SetAutoFormat(false);
    sorting->SetHeaderColor(16579058);
    sorting->SetHeaderColorTo(16579058);
    sorting->SetHeaderMirrorColor(16380385);
    sorting->SetHeaderMirrorColorTo(16182488);

    grid->GetMouseActions()->SetDisjunctRowSelect(true);
    ApplySettings(grid->GetNavigation(), NavigationSwitches);
    grid->GetHTMLSettings()->SetImageFolder(L"images");
    grid->GetHTMLSettings()->SetImageBaseName(L"img");
    ApplySettings(grid->GetControlLook(), FixedGradients);
    ApplySettings(grid->GetSearchFooter(), SearchFooterTexts);
    grid->GetPrintSettings()->SetDateFormat(L"dd/mm/yyyy");
    grid->GetPrintSettings()->SetPageNumSep(L"/");
    grid->SetParent(Panel8);
}

void TForm1::WriteColumnTitles()
{
    for (int col = 0; col < InventoryColumnCount; ++col)
        StringGrid1->SetCells(col, 0, LanguageText(L"table_", ColumnTitles[static_cast<std::size_t>(col)]));
}

void TForm1::FitTitleRow()
{
    StringGrid1->AutoSizeRow(0, 0);
}

// A saved layout the grid refuses, or one for another number of columns,
// gives the designed widths rather than a layout half applied or all 120.
void TForm1::RestoreColumnLayout()
{
    const String saved = SettingsFile->ReadString(GridSection, ColumnStateKey, String());
    if (FitsTheTable(saved)) {
        try {
            StringGrid1->StringToColumnStates(saved);
            return;
        } catch (const EConvertError&) {
        } catch (const EListError&) {
        }
    }
    for (const TColumnWidth& column : DefaultColumnWidths)
        StringGrid1->SetColWidths(column.Col, column.Width);
}

void TForm1::WriteColumnLayout()
{
    SettingsFile->WriteString(GridSection, ColumnStateKey, StringGrid1->ColumnStatesToString());
}
