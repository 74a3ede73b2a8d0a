// How a cell looks before it is painted, printed or measured: its font,
// brush, gradient, alignment and word wrap. The sources are consulted in a
// fixed order (grid defaults, cell properties, bands, the look's fixed-cell
// colours, the filter edit row, automatic number colours, the colour and
// gradient events, the selection, disabled rows); a later source wins.
#include "AdvGrid.h"
#include "AdvUtil.h"
#include "SysUtils.h"
#include <algorithm>
#include <cmath>

namespace {

// Cells without a graphic of their own, whose own colour nothing replaces.
bool IsPlainKind(const TCellGraphic* Graphic)
{
    if (!Graphic)
        return true;
    const TCellType kind = Graphic->GetCellType();
    return kind == ctNone || kind == ctRotated || kind == ctEmpty;
}

// The looks that paint fixed cells with the header gradient.
bool HasGradientHeaders(TGridLook Look)
{
    return Look == glPack || Look == glXP || Look == glVista || Look == glWin7 || Look == glOffice2007 ||
           Look == glCustom;
}

} // namespace

TColor MixSelectionColor(TColor SelColor, TColor CellColor, int Factor)
{
    if (Factor >= 100)
        return SelColor;
    if (Factor <= 0 || SelColor == clNone)
        return CellColor;
    if (CellColor == clNone)
        return SelColor;
    const COLORREF sel = ColorToRGB(SelColor);
    const COLORREF cell = ColorToRGB(CellColor);
    const double f = Factor / 100.0;
    // Halves go to the even neighbour, as the platform's rounding does.
    const auto mix = [f](int s, int c) {
        return std::min(255, static_cast<int>(std::nearbyint(f * s + (1 - f) * c)));
    };
    return RGB(mix(GetRValue(sel), GetRValue(cell)), mix(GetGValue(sel), GetGValue(cell)),
               mix(GetBValue(sel), GetBValue(cell)));
}

TColor ApplySelectionMixer(TColor SelColor, TColor CellColor, bool Mixer, int Factor)
{
    return Mixer ? MixSelectionColor(SelColor, CellColor, Factor) : SelColor;
}

bool TAdvStringGrid::IsSelectionShown()
{
    if (!FShowSelection)
        return false;
    if (!FAutoHideSelection)
        return true;
    return HandleAllocated() && ::GetFocus() == GetHandle();
}

bool TAdvStringGrid::IsFixed(int ACol, int ARow)
{
    const int realCol = RealColIndex(ACol);
    const TPoint base = IsStorageCell(realCol, ARow) ? BaseCell(realCol, ARow) : TPoint(realCol, ARow);
    return IsFixedCell(DisplColIndex(base.x), base.y);
}

void TAdvStringGrid::SetSelectionColorMixerFactor(int Value)
{
    StoreAndInvalidate(FSelectionColorMixerFactor, std::clamp(Value, 0, 100));
}

void TAdvStringGrid::GetCellDefaults(int ACol, int ARow, TFont* AFont, TBrush* ABrush, TColor& ColorTo,
                                     TColor& MirrorColor, TColor& MirrorColorTo, TAlignment& HAlign,
                                     TVAlignment& VAlign, bool& WordWrap, TCellGradientDirection& GradientDirection)
{
    GradientDirection = GradientVertical;
    TGridDrawState state;
    // The defaults a cell keeps are its look without the disabled-row font.
    const bool useDisabledFont = FUseDisabledFont;
    FUseDisabledFont = false;
    const TScopeExit restore([this, useDisabledFont] { FUseDisabledFont = useDisabledFont; });
    GetVisualProperties(ACol, ARow, state, false, false, false, ABrush, ColorTo, MirrorColor, MirrorColorTo, AFont,
                        HAlign, VAlign, WordWrap, GradientDirection);
    const bool gradientBackground =
        FBackGround->GetDisplay() == bdGradientHorz || FBackGround->GetDisplay() == bdGradientVert;
    if (ACol < GetFixedCols() || ARow < GetFixedRows() || IsFixed(ACol, ARow) || FBands->GetActive() ||
        gradientBackground || state.Contains(gdSelected)) {
        ABrush->SetColor(clNone);
        ColorTo = clNone;
    }
}

TColor TAdvStringGrid::SelectionFill(TColor Brush)
{
    if (Brush == GetColor())
        return FSelectionColor;
    return ApplySelectionMixer(FSelectionColor, Brush, FSelectionColorMixer, FSelectionColorMixerFactor);
}

void TAdvStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print, bool Select,
                                         bool Remap, TBrush* ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                         TColor& AMirrorColorTo, TFont* AFont, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD)
{
    const int fixedCols = GetFixedCols();
    const int fixedRows = GetFixedRows();
    const bool inFixedBand = ACol < fixedCols || ARow < fixedRows;
    TPrintSettings* print = FPrintSettings.get();
    const bool printFonts = Print && !print->GetUseDisplayFont();
    if (inFixedBand)
        AFont->Assign(printFonts ? print->GetFixedFont() : FFixedFont.get());
    else
        AFont->Assign(printFonts ? print->GetFont() : GetFont());

    const int RCol = Remap ? RealColIndex(ACol) : ACol;
    TMouseActions* actions = FMouseActions.get();
    const bool usesEnabledRows = FEnabledRows->Count() > 0;
    const int SelRow =
        (actions->GetDisjunctRowSelect() && actions->GetRowSelectPersistent()) || usesEnabledRows ? RealRowIndex(ARow)
                                                                                                   : ARow;

    ABrush->SetColor(clNone);
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    bool final = false;

    if (HasCellProperties(RCol, ARow)) {
        TCellProperties* props = GetCellProperties(RCol, ARow);
        if (IsPlainKind(GetCellGraphic(RCol, ARow))) {
            if (props->GetBrushColor() != clNone) {
                ABrush->SetColor(props->GetBrushColor());
                final = true;
            }
        } else {
            ABrush->SetColor(props->GetBrushColor());
        }
        if (props->GetFontColor() != clNone)
            AFont->SetColor(props->GetFontColor());
        if (!props->GetFontStyle().Empty())
            AFont->SetStyle(props->GetFontStyle());
        if (print->GetUseDisplayFont()) {
            if (props->GetFontSize() != 0)
                AFont->SetSize(props->GetFontSize());
            if (!props->GetFontName().empty())
                AFont->SetName(props->GetFontName());
        }
        WW = props->GetWordWrap();
        AColorTo = props->GetBrushColorTo();
        GD = props->GetGradientDirection();
    }
    if (AState.Contains(gdSelected))
        GD = GradientVertical;

    const int colCount = GetColCount();
    const int rowCount = GetRowCount();
    if (ABrush->GetColor() == clNone) {
        ABrush->SetColor(GetColor());
        TBands* bands = FBands.get();
        const bool normal = ACol >= fixedCols && ACol < colCount + FNumHidden - FFixedRightCols &&
                            ARow >= fixedRows && ARow < rowCount - FFixedFooters;
        if (bands->GetActive() && (bands->GetPrint() == Print || !Print) && normal && bands->GetTotalLength() > 0)
            ABrush->SetColor((ARow - fixedRows) % bands->GetTotalLength() < bands->GetPrimaryLength()
                                 ? bands->GetPrimaryColor()
                                 : bands->GetSecondaryColor());
        if (inFixedBand || ACol >= colCount - FFixedRightCols || ARow >= rowCount - FFixedFooters)
            ABrush->SetColor(GetFixedColor());
    }

    const bool fixed = IsFixed(ACol, ARow) || inFixedBand;
    if (fixed && !Print && !final) {
        ABrush->SetColor(GetFixedColor());
        AFont->Assign(FFixedFont.get());
        AState << gdFixed;
    }
    if (fixed && !final && HasGradientHeaders(FLook)) {
        ABrush->SetColor(FPackGradFrom);
        AColorTo = FPackGradTo;
        AMirrorColor = FPackGradMirrorFrom;
        AMirrorColorTo = FPackGradMirrorTo;
    }

    if (ARow == FFilterEdit->GetRow() && DoHasFilterEdit(RCol, ARow)) {
        const TColor filterColor = FFilterEdit->GetColor();
        ABrush->SetColor(filterColor);
        AColorTo = filterColor;
        AMirrorColor = filterColor;
        AMirrorColorTo = filterColor;
    }

    if (FAutoColor->IsActive()) {
        const String text = GetCellText(RCol, ARow);
        const Byte kind = DetectValueKind(text);
        double value = 0;
        if ((kind == vkInteger || kind == vkFloat) && TryStrToFloat(Trim(text), value)) {
            const TColorSetting* setting =
                value < 0 ? FAutoColor->GetNegativeNumber() : FAutoColor->GetPositiveNumber();
            if (setting->GetTextColor() != clNone)
                AFont->SetColor(setting->GetTextColor());
            if (setting->GetBkgColor() != clNone)
                ABrush->SetColor(setting->GetBkgColor());
        }
    }

    if (Print)
        DoGetCellPrintColor(RCol, ARow, AState, ABrush, AFont);
    else
        DoGetCellColor(RCol, ARow, AState, ABrush, AFont);

    if (OnGetCellGradient) {
        TColor color = ABrush->GetColor();
        OnGetCellGradient(this, ARow, RCol, color, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush->SetColor(color);
    }

    const TColor cellColor = ABrush->GetColor();
    const TColor cellFontColor = AFont->GetColor();
    const bool mouseDown = FPress.FMouseDown;
    const bool shown = IsSelectionShown();
    const auto takeSelection = [&](TColor fill) {
        ABrush->SetColor(fill);
        AColorTo = FSelectionColorTo;
        AMirrorColor = FSelectionMirrorColor;
        AMirrorColorTo = FSelectionMirrorColorTo;
        if (FSelectionTextColor != clNone)
            AFont->SetColor(FSelectionTextColor);
    };

    if (!fixed && actions->GetDisjunctRowSelect() && !Print && Select && shown) {
        const bool flagged = GetRowSelect(SelRow);
        if ((( mouseDown && ARow == GetRow()) || !flagged) && (!mouseDown || flagged || !AState.Contains(gdSelected))) {
            AState >> gdSelected;
        } else {
            AState = TGridDrawState{gdSelected};
            takeSelection(SelectionFill(ABrush->GetColor()));
        }
    }
    if (!fixed && actions->GetDisjunctColSelect() && !Print && Select && shown) {
        const bool flagged = GetColSelect(ACol);
        if (((!mouseDown || ACol != GetCol()) && flagged) ||
            (mouseDown && !flagged && AState.Contains(gdSelected))) {
            AState = TGridDrawState{gdSelected};
            takeSelection(FSelectionColor);
        }
    }
    const bool disjunct = actions->GetDisjunctRowSelect() || actions->GetDisjunctColSelect();
    if ((Select && !Print && shown && !fixed && GetSelection().Contains(ACol, ARow) && !disjunct) ||
        (AState.Contains(gdSelected) && mouseDown && shown)) {
        takeSelection(SelectionFill(ABrush->GetColor()));
        AState << gdSelected;
    }
    if (actions->GetDisjunctCellSelect() && shown) {
        const bool listed = IsSelected(ACol, ARow);
        if (!listed && ACol == GetCol() && ARow == GetRow()) {
            AState >> gdSelected;
            ABrush->SetColor(cellColor);
            AFont->SetColor(cellFontColor);
        } else if (listed) {
            takeSelection(FSelectionColor);
            AState << gdSelected;
        }
    }

    if (FUseDisabledFont && (!GetRowEnabled(SelRow) || !GetEnabled()))
        AFont->SetColor(FDisabledFontColor);

    if (AState.Contains(gdSelected) && shown && !Print && ARow != GetRow() && actions->GetDisjunctRowSelect() &&
        FSelectionColorTo == clNone)
        ABrush->SetColor(BrightenColor(ABrush->GetColor(), -10));

    DoGetWordWrap(RCol, ARow, WW);
    GetCellAlignment(RCol, ARow, HA, VA);
}

void TAdvStringGrid::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState AState, TFont* AFont,
                                       TBrush* ABrush, bool Remap)
{
    const bool fixed = IsFixed(ACol, ARow) || ACol < GetFixedCols() || ARow < GetFixedRows();
    AFont->Assign(fixed ? FFixedFont.get() : GetFont());
    if (HasCellProperties(RCol, ARow)) {
        TCellProperties* props = GetCellProperties(RCol, ARow);
        if (props->GetFontColor() != clNone)
            AFont->SetColor(props->GetFontColor());
        if (!props->GetFontStyle().Empty())
            AFont->SetStyle(props->GetFontStyle());
        if (props->GetFontSize() != 0)
            AFont->SetSize(props->GetFontSize());
        if (!props->GetFontName().empty())
            AFont->SetName(props->GetFontName());
    }
    DoGetCellColor(RCol, ARow, AState, ABrush, AFont);
}
