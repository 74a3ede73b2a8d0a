// Typed views on cell texts (whole numbers, floats, dates), the current
// cell's and hidden rows' readers, the in-place editor's text, and the
// accessors of one cell property for a cell, a row or a block.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "GridHTML.h"
#include "HTMLUtils.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Converts with "." as the only decimal point, whatever the locale says.
bool PointTextToFloat(const String& Text, double& Value)
{
    if (Text.empty())
        return false;
    int code = 0;
    Val(Text, Value, code);
    return code == 0 && std::isfinite(Value);
}

bool FitsInteger(double Value)
{
    return Value >= std::numeric_limits<int>::min() && Value <= std::numeric_limits<int>::max();
}

TGridItem* HiddenItem(THiddenRowItems* Items, int ARealRow)
{
    for (int i = 0; i < Items->Count(); ++i)
        if (TGridItem* item = Items->Item(i); item->GetIdx() == ARealRow)
            return item;
    return nullptr;
}

} // namespace

double CellTextToFloat(const String& Text)
{
    const String trimmed = Trim(Text);
    if (trimmed.empty() || trimmed == L"-")
        return 0;
    double value = 0;
    if (!PointTextToFloat(NormalizeNumberText(trimmed), value))
        throw EAdvGridError(L"Cell does not contain a float value");
    return value;
}

// --- whole numbers, floats and dates ----------------------------------------------------

int TAdvStringGrid::GetIntegerCell(int ACol, int ARow)
{
    const String text = Trim(StripHTMLTags(GetCellText(ACol, ARow)));
    if (text.empty() || text == L"-")
        return 0;
    const wchar_t decimal = FormatSettings.DecimalSeparator;
    const wchar_t thousand = FormatSettings.ThousandSeparator;
    double value = 0;
    if (text.find(decimal) != String::npos || (thousand && text.find(thousand) != String::npos)) {
        // Separators of the locale: read as GetFloatCell reads, then rounded.
        if (!PointTextToFloat(NormalizeNumberText(text), value))
            throw EAdvGridError(L"Cell does not contain integer value");
        value = std::nearbyint(value);
    } else {
        Int64 whole = 0;
        if (!TryStrToInt64(text, whole))
            throw EAdvGridError(L"Cell does not contain integer value");
        value = static_cast<double>(whole);
    }
    if (!FitsInteger(value))
        throw EAdvGridError(L"Cell does not contain integer value");
    return static_cast<int>(value);
}

void TAdvStringGrid::SetIntegerCell(int ACol, int ARow, int Value)
{
    SetCellText(ACol, ARow, IntToStr(Value));
    if (NumHiddenColumns() > 0)
        RepaintCell(DisplColIndex(ACol), ARow);
}

void TAdvStringGrid::SetFloatCell(int ACol, int ARow, double Value)
{
    String pattern;
    GetColumnFloatFormat(ACol, ARow, pattern);
    // Formatted before anything is written: a bad pattern leaves the cell.
    const String text = Format(pattern, {Value});
    SetCellText(ACol, ARow, text);
}

void TAdvStringGrid::SetDateCell(int ACol, int ARow, TDateTime Value)
{
    if (Value > 0 || FShowNullDates)
        SetCellText(ACol, ARow, DateToStr(Value));
    else
        SetCellText(ACol, ARow, L"");
}

void TAdvStringGrid::GetColumnFloatFormat(int ACol, int ARow, String& Format)
{
    Format = FFloatFormat;
    if (!OnGetFloatFormat)
        return;
    bool isFloat = false;
    String floatFormat;
    OnGetFloatFormat(this, ACol, ARow, isFloat, floatFormat);
    if (isFloat)
        Format = floatFormat;
}

// --- the current cell, hidden rows and sorted rows --------------------------------------

String TAdvStringGrid::GetCurrentCellText()
{
    if (FVirtualEdit)
        return GetCurrentCellDisplText();
    const TPoint base = BaseCell(RealColIndex(GetCol()), GetRow());
    return GetRawCell(base.x, base.y);
}

void TAdvStringGrid::SetCurrentCellText(const String& Value) { SetCellText(RealColIndex(GetCol()), GetRow(), Value); }

String TAdvStringGrid::GetCurrentCellDisplText() { return GetCellText(RealColIndex(GetCol()), GetRow()); }

void TAdvStringGrid::SetCurrentCellEditText(const String& Value) { SetEditText(GetCol(), GetRow(), Value); }

String TAdvStringGrid::GetStrippedCellText(int ACol, int ARow) { return GridHTMLToText(GetCellText(ACol, ARow)); }

String TAdvStringGrid::GetRealRowCellText(int ACol, int ARealRow)
{
    if (ACol < 0 || ARealRow < 0)
        return L"";
    if (TGridItem* item = HiddenItem(FGridItems.get(), ARealRow)) {
        TStrings* items = item->GetItems();
        String text = ACol < items->Count() ? items->Get(ACol) : String();
        GetDisplText(ACol, ARealRow, text);
        return text;
    }
    return GetCellText(ACol, DisplRowIndex(ARealRow));
}

TObject* TAdvStringGrid::GetRealRowObject(int ACol, int ARealRow)
{
    if (ACol < 0 || ARealRow < 0)
        return nullptr;
    if (TGridItem* item = HiddenItem(FGridItems.get(), ARealRow)) {
        TStrings* items = item->GetItems();
        return ACol < items->Count() ? items->GetObject(ACol) : nullptr;
    }
    const int row = DisplRowIndex(ARealRow);
    if (ACol >= TotalColCount() || row >= GetRowCount())
        return nullptr;
    return GetRawObject(ACol, row);
}

TStrings* TAdvStringGrid::GetHiddenRowStrings(int ARealRow)
{
    TGridItem* item = HiddenItem(FGridItems.get(), ARealRow);
    return item ? item->GetItems() : nullptr;
}

TControl* TAdvStringGrid::GetCellControl(int ACol, int ARow)
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    return props ? props->GetControl() : nullptr;
}

int TAdvStringGrid::SortedRowIndex(int ARow)
{
    if (ARow < 0)
        return ARow;
    if (ARow < FSortRowXRef->Count())
        ARow = FSortRowXRef->GetItem(ARow);
    return RealRowIndex(ARow);
}

int TAdvStringGrid::UnSortedRowIndex(int ARow)
{
    if (FSortRowXRef->Count() == 0)
        return ARow;
    for (int i = 0; i < FSortRowXRef->Count(); ++i)
        if (FSortRowXRef->GetItem(i) == ARow)
            return i;
    return FSortRowXRef->Count();
}

// --- the in-place editor's text ---------------------------------------------------------

String TAdvStringGrid::GetEditText(int ACol, int ARow)
{
    const TPoint base = BaseCell(RealColIndex(ACol), ARow);
    String text = TBaseGrid::GetEditText(base.x, base.y);
    return FEditWithTags ? text : StripHTMLTags(text);
}

void TAdvStringGrid::SetEditText(int ACol, int ARow, const String& Value)
{
    const TPoint base = BaseCell(RealColIndex(ACol), ARow);
    TBaseGrid::SetEditText(base.x, base.y, Value);
}

// --- alignment --------------------------------------------------------------------------

void TAdvStringGrid::GetCellAlignment(int ACol, int ARow, TAlignment& HA, TVAlignment& VA)
{
    HA = FDefaultAlignment;
    VA = FVAlignment;
    if (FAutoNumAlign) {
        String text = GetCellText(ACol, ARow);
        if (!text.empty()) {
            const bool formula = text[0] == L'=';
            const bool packedFormula = text.size() > 3 && IsPackedWideText(text) && text[3] == L'=';
            if (formula || packedFormula)
                GetCellTextForSave(ACol, ARow, text);
            const Byte kind = DetectValueKind(Trim(text));
            if (kind == vkInteger || kind == vkFloat || kind == vkFloatExponent)
                HA = taRightJustify;
        }
    } else if (const TCellProperties* props = PropertiesOf(ACol, ARow)) {
        HA = props->GetAlignment();
    }
    DoGetAlignment(ACol, ARow, HA, VA);
}

// --- one property of a cell -------------------------------------------------------------

TCellProperties* TAdvStringGrid::WritableProperties(int ACol, int ARow)
{
    return IsStorageCell(ACol, ARow) ? GetCellProperties(ACol, ARow) : nullptr;
}

void TAdvStringGrid::RepaintUnlessUpdating(int ACol, int ARow)
{
    if (FUpdateCount == 0)
        RepaintCell(DisplColIndex(ACol), ARow);
}

TColor TAdvStringGrid::GetCellBrushColor(int ACol, int ARow)
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    return props ? props->GetBrushColor() : clNone;
}

void TAdvStringGrid::SetCellBrushColor(int ACol, int ARow, TColor Value)
{
    if (TCellProperties* props = WritableProperties(ACol, ARow)) {
        props->SetBrushColor(Value);
        RepaintUnlessUpdating(ACol, ARow);
    }
}

void TAdvStringGrid::SetCellBrushColorTo(int ACol, int ARow, TColor Value)
{
    if (TCellProperties* props = WritableProperties(ACol, ARow)) {
        props->SetBrushColorTo(Value);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

void TAdvStringGrid::SetCellFontColor(int ACol, int ARow, TColor Value)
{
    if (TCellProperties* props = WritableProperties(ACol, ARow)) {
        props->SetFontColor(Value);
        RepaintUnlessUpdating(ACol, ARow);
    }
}

TFontStyles TAdvStringGrid::GetCellFontStyle(int ACol, int ARow)
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    return props ? props->GetFontStyle() : TFontStyles();
}

void TAdvStringGrid::SetCellFontStyle(int ACol, int ARow, TFontStyles Value)
{
    if (TCellProperties* props = WritableProperties(ACol, ARow)) {
        props->SetFontStyle(Value);
        RepaintUnlessUpdating(ACol, ARow);
    }
}

void TAdvStringGrid::SetCellFontFace(int ACol, int ARow, const String& Value)
{
    if (TCellProperties* props = WritableProperties(ACol, ARow)) {
        props->SetFontName(Value);
        RepaintUnlessUpdating(ACol, ARow);
    }
}

void TAdvStringGrid::SetCellFontPointSize(int ACol, int ARow, int Value)
{
    if (TCellProperties* props = WritableProperties(ACol, ARow)) {
        props->SetFontSize(Value);
        RepaintUnlessUpdating(ACol, ARow);
    }
}

TAlignment TAdvStringGrid::GetCellTextAlignment(int ACol, int ARow)
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    return props ? props->GetAlignment() : taLeftJustify;
}

void TAdvStringGrid::SetCellTextAlignment(int ACol, int ARow, TAlignment Value)
{
    if (TCellProperties* props = WritableProperties(ACol, ARow)) {
        props->SetAlignment(Value);
        RepaintUnlessUpdating(ACol, ARow);
    }
}

bool TAdvStringGrid::GetCellReadOnly(int ACol, int ARow)
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    return props && props->GetReadOnly();
}

// --- rows -------------------------------------------------------------------------------

namespace {

// A cell whose properties carry more than looks: they stay when a row's
// colour is taken off.
bool KeepsProperties(TAdvStringGrid* Grid, int ACol, int ARow)
{
    return !Grid->HasNoCellGraphic(ACol, ARow) || Grid->GetCellObject(ACol, ARow) != 0 ||
           Grid->IsMergedCell(ACol, ARow);
}

} // namespace

void TAdvStringGrid::SetRowColor(int ARow, TColor Value)
{
    if (ARow < 0 || ARow >= GetRowCount())
        return;
    for (int c = GetFixedCols(); c < GetAllColCount(); ++c) {
        if (Value != clNone)
            GetCellProperties(c, ARow)->SetBrushColor(Value);
        else if (TCellProperties* props = PropertiesOf(c, ARow)) {
            if (KeepsProperties(this, c, ARow))
                props->SetBrushColor(clNone);
            else
                FreeCellProperties(c, ARow);
        }
    }
    RepaintRow(ARow);
}

void TAdvStringGrid::SetRowColorTo(int ARow, TColor Value)
{
    if (ARow < 0 || ARow >= GetRowCount())
        return;
    for (int c = GetFixedCols(); c < GetAllColCount(); ++c) {
        if (Value != clNone)
            GetCellProperties(c, ARow)->SetBrushColorTo(Value);
        else if (TCellProperties* props = PropertiesOf(c, ARow)) {
            if (KeepsProperties(this, c, ARow))
                props->SetBrushColorTo(clNone);
            else
                FreeCellProperties(c, ARow);
        }
    }
    RepaintRow(ARow);
}

void TAdvStringGrid::SetRowFontColor(int ARow, TColor Value)
{
    if (ARow < 0 || ARow >= GetRowCount())
        return;
    for (int c = GetFixedCols(); c < GetAllColCount(); ++c) {
        if (Value != clNone)
            GetCellProperties(c, ARow)->SetFontColor(Value);
        else if (TCellProperties* props = PropertiesOf(c, ARow); props && props->GetBrushColor() == clNone) {
            if (KeepsProperties(this, c, ARow))
                props->SetFontColor(clNone);
            else
                FreeCellProperties(c, ARow);
        }
    }
    RepaintRow(ARow);
}

// --- blocks -----------------------------------------------------------------------------

namespace {

// Runs Visit over the cells of R inside the grid, columns outside, rows
// inside; Visit returning false ends that column.
template <class F>
void ForBlock(TAdvStringGrid* Grid, const TGridRect& R, F Visit)
{
    const int left = std::max(R.Left, 0);
    const int right = std::min(R.Right, Grid->GetAllColCount() - 1);
    const int top = std::max(R.Top, 0);
    const int bottom = std::min(R.Bottom, Grid->GetRowCount() - 1);
    for (int c = left; c <= right; ++c)
        for (int r = top; r <= bottom; ++r)
            if (!Visit(c, r))
                break;
}

} // namespace

void TAdvStringGrid::SetCellColor(const TGridRect& GridRect, TColor AColor)
{
    ForBlock(this, GridRect, [&](int c, int r) { return SetCellBrushColor(c, r, AColor), true; });
}

void TAdvStringGrid::SetCellTextColor(const TGridRect& GridRect, TColor AColor)
{
    ForBlock(this, GridRect, [&](int c, int r) { return SetCellFontColor(c, r, AColor), true; });
}

void TAdvStringGrid::SetCellFontName(const TGridRect& GridRect, const String& AFontName)
{
    ForBlock(this, GridRect, [&](int c, int r) { return SetCellFontFace(c, r, AFontName), true; });
}

void TAdvStringGrid::SetCellFontSize(const TGridRect& GridRect, int AFontSize)
{
    ForBlock(this, GridRect, [&](int c, int r) { return SetCellFontPointSize(c, r, AFontSize), true; });
}

void TAdvStringGrid::SetAlignment(const TGridRect& GridRect, TAlignment AAlignment)
{
    ForBlock(this, GridRect, [&](int c, int r) { return SetCellTextAlignment(c, r, AAlignment), true; });
}

void TAdvStringGrid::SetFontStyle(const TGridRect& GridRect, TFontStyle AStyle, bool DoSet)
{
    ForBlock(this, GridRect, [&](int c, int r) {
        TFontStyles style = GetCellFontStyle(c, r);
        if (DoSet)
            style.Include(AStyle);
        else
            style.Exclude(AStyle);
        SetCellFontStyle(c, r, style);
        return true;
    });
}

bool TAdvStringGrid::IsFontStyle(const TGridRect& GridRect, TFontStyle AStyle)
{
    bool all = true;
    ForBlock(this, GridRect, [&](int c, int r) {
        if (!GetCellFontStyle(c, r).Contains(AStyle))
            all = false;
        return all;
    });
    return all;
}

bool TAdvStringGrid::IsAlignment(const TGridRect& GridRect, TAlignment AAlignment)
{
    bool all = true;
    ForBlock(this, GridRect, [&](int c, int r) {
        if (GetCellTextAlignment(c, r) != AAlignment)
            all = false;
        return all;
    });
    return all;
}

void TAdvStringGrid::SetCellChecker(TAdvStringGridCheck* Value)
{
    if (FCellChecker == Value)
        return;
    if (FCellChecker)
        FCellChecker->RemoveFreeNotification(this);
    FCellChecker = Value;
    if (FCellChecker) {
        FCellChecker->FreeNotification(this);
        FCellChecker->SetGrid(this);
    }
}

// The renderer's HI colours are process-wide: the grid that changes its
// colours last decides them for every grid.
void TAdvStringGrid::SetHighlightColor(TColor Value)
{
    if (Value == FHighlightColor)
        return;
    FHighlightColor = Value;
    SetHTMLHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TAdvStringGrid::SetHighlightTextColor(TColor Value)
{
    if (Value == FHighlightTextColor)
        return;
    FHighlightTextColor = Value;
    SetHTMLHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}
