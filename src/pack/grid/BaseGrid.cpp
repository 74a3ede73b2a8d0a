// The base grid's cell store: cell properties in the object slots, the cell
// reader and writer through base cells, the display-text hooks.
#include "BaseGrid.h"
#include "AdvGridCellGraphic.h"
#include "AdvUtil.h"

// --- TCellProperties --------------------------------------------------------------

TCellProperties::TCellProperties(TBaseGrid* AOwner, int ACol, int ARow)
    : FOwnerGrid(AOwner), FOwnerCol(ACol), FOwnerRow(ARow)
{
    if (FOwnerGrid) {
        FWordWrap = FOwnerGrid->GetWordWrap();
        FOwnerGrid->FHasCellProps = true;
    }
}

TCellProperties::~TCellProperties()
{
    FreeCellGraphic(FGraphicObject);
}

void TCellProperties::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TCellProperties*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    FIsBaseCell = source->FIsBaseCell;
    FCellSpanX = source->FCellSpanX;
    FCellSpanY = source->GetCellSpanY();
    FOwnerRow = source->FOwnerRow;
    FOwnerCol = source->FOwnerCol;
    FObject = source->FObject;
    FAlignment = source->FAlignment;
    FBorderColor = source->FBorderColor;
    FBorderWidth = source->FBorderWidth;
    FBrushColor = source->FBrushColor;
    FBrushStyle = source->FBrushStyle;
    FFontColor = source->FFontColor;
    FFontStyle = source->FFontStyle;
    FFontName = source->FFontName;
    FFontSize = source->FFontSize;
    FReadOnly = source->FReadOnly;
    FEditor = source->FEditor;
    FVAlignment = source->FVAlignment;
    FWordWrap = source->FWordWrap;
    FNodeLevel = source->FNodeLevel;
    FControl = source->FControl;
    FMergeCollaps = source->FMergeCollaps;
}

TPoint TCellProperties::GetBaseCell(int c, int r) const
{
    if (!FIsBaseCell && FCellSpanX != -1 && GetCellSpanY() >= 0)
        return {c - FCellSpanX, r - GetCellSpanY()};
    return {c, r};
}

void TCellProperties::Repaint()
{
    if (FOwnerGrid)
        FOwnerGrid->RepaintCell(FOwnerGrid->DisplColIndex(FOwnerCol), FOwnerRow);
}

void TCellProperties::SetVAlignment(TVAlignment Value)
{
    FVAlignment = Value;
    Repaint();
}

void TCellProperties::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    Repaint();
}

void TCellProperties::SetBrushColor(TColor Value)
{
    FBrushColor = Value;
    Repaint();
}

void TCellProperties::SetBrushColorTo(TColor Value)
{
    FBrushColorTo = Value;
    Repaint();
}

// --- TBaseGrid: life cycle ----------------------------------------------------------

TBaseGrid::TBaseGrid(TComponent* AOwner) : TStringGrid(AOwner)
{
    // The grid paints its own texts and lines; the class library's stay off for good.
    TStringGrid::SetGridLineWidth(0);
    TStringGrid::SetDefaultDrawing(false);
    FNormalRowCount = GetRowCount();
    FDefFont.reset(New<TFont>());
    FDefBrush.reset(New<TBrush>());
}

TBaseGrid::~TBaseGrid() = default;

void TBaseGrid::BeforeDestruction()
{
    FreeCellPropertiesRange(0, 0, TotalColCount() - 1, GetRowCount() - 1);
    TStringGrid::BeforeDestruction();
}

void TBaseGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    FNormalRowCount = GetRowCount();
    TStringGrid::SizeChanged(OldColCount, OldRowCount);
}

void TBaseGrid::SetGridLineWidth(int Value)
{
    FGridLineWidth = Value;
    TStringGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor Value)
{
    FGridLineColor = Value;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor Value)
{
    FGridFixedLineColor = Value;
    Invalidate();
}

// --- cell properties ---------------------------------------------------------------

TCellProperties* TBaseGrid::PropertiesOf(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount())
        return nullptr;
    return dynamic_cast<TCellProperties*>(GetRawObject(ACol, ARow));
}

bool TBaseGrid::HasCellProperties(int ACol, int ARow) const
{
    return PropertiesOf(ACol, ARow) != nullptr;
}

TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow)
{
    // Properties outside the grid would be out of reach of everything that frees them.
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= GetRowCount())
        throw EInvalidGridOperation(L"Grid index out of range");
    if (auto* props = dynamic_cast<TCellProperties*>(GetRawObject(ACol, ARow)))
        return props;
    return CreateCellProperties(ACol, ARow);
}

TCellProperties* TBaseGrid::CreateCellProperties(int c, int r)
{
    auto* props = New<TCellProperties>(this, c, r);
    SetRawObject(c, r, props);
    TLookOutputs look;
    look.WordWrap = FWordWrap;
    GetCellDefaults(c, r, FDefFont.get(), FDefBrush.get(), look.ColorTo, look.MirrorColor, look.MirrorColorTo,
                    look.HAlign, look.VAlign, look.WordWrap, look.Direction);
    // Plain field writes: a new cell's properties repaint nothing.
    props->FCalcType = acNONE;
    props->FAlignment = look.HAlign;
    props->FVAlignment = look.VAlign;
    props->FWordWrap = look.WordWrap;
    props->FFontName = FDefFont->GetName();
    props->FFontSize = FDefFont->GetSize();
    props->FFontStyle = FDefFont->GetStyle();
    props->FFontColor = FDefFont->GetColor();
    props->FBrushColor = FDefBrush->GetColor();
    props->FBrushColorTo = look.ColorTo;
    props->FGradientDirection = look.Direction;
    return props;
}

void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties* Value)
{
    auto* present = dynamic_cast<TCellProperties*>(GetRawObject(ACol, ARow));
    if (present && present == Value)
        return;
    if (present && Value && present->GetGraphicObject() == Value->GetGraphicObject())
        present->SetGraphicObject(nullptr);
    FreeCellProperties(ACol, ARow);
    SetRawObject(ACol, ARow, Value);
}

void TBaseGrid::FreeCellProperties(int ACol, int ARow)
{
    if (auto* props = dynamic_cast<TCellProperties*>(GetRawObject(ACol, ARow))) {
        SetRawObject(ACol, ARow, nullptr);
        props->Free();
    }
}

void TBaseGrid::FreeCellPropertiesRange(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (!FHasCellProps)
        return;
    for (int r = std::max(ARow1, 0); r <= ARow2; ++r)
        for (int c = std::max(ACol1, 0); c <= ACol2; ++c) {
            // Objects of other kinds in a slot are not the grid's to free.
            auto* props = dynamic_cast<TCellProperties*>(GetRawObject(c, r));
            if (!props)
                continue;
            SetRawObject(c, r, nullptr);
            props->Free();
        }
}

intptr_t TBaseGrid::GetCellObject(int ACol, int ARow) const
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    return props ? props->GetCellObject() : 0;
}

void TBaseGrid::SetCellObject(int ACol, int ARow, intptr_t Value)
{
    GetCellProperties(ACol, ARow)->SetCellObject(Value);
}

TObject* TBaseGrid::GetCellGraphicObject(int ACol, int ARow) const
{
    const TCellProperties* props = PropertiesOf(ACol, ARow);
    return props ? props->GetGraphicObject() : nullptr;
}

void TBaseGrid::SetCellGraphicObject(int ACol, int ARow, TObject* Graphic)
{
    // While the grid goes, graphics are only let go of, never attached.
    if (Destroying()) {
        if (TCellProperties* props = PropertiesOf(ACol, ARow); props && !Graphic)
            props->SetGraphicObject(nullptr);
        return;
    }
    GetCellProperties(ACol, ARow)->SetGraphicObject(Graphic);
}

void TBaseGrid::GetCellDefaults(int, int, TFont* AFont, TBrush* ABrush, TColor& ColorTo, TColor& MirrorColor,
                                TColor& MirrorColorTo, TAlignment& HAlign, TVAlignment& VAlign, bool& WordWrap,
                                TCellGradientDirection& GradientDirection)
{
    AFont->Assign(GetFont());
    ABrush->SetColor(GetColor());
    ColorTo = clNone;
    MirrorColor = clNone;
    MirrorColorTo = clNone;
    HAlign = taLeftJustify;
    VAlign = vtaTop;
    WordWrap = FWordWrap;
    GradientDirection = GradientVertical;
}

// --- cell text ---------------------------------------------------------------------

String TBaseGrid::GetCellText(int ACol, int ARow)
{
    TPoint base(ACol, ARow);
    if (const TCellProperties* props = PropertiesOf(ACol, ARow))
        base = props->GetBaseCell(ACol, ARow);
    String text = GetRawCell(base.x, base.y);
    if (base.y < FNormalRowCount) {
        GetDisplText(base.x, base.y, text);
        if (OnGetDisplWideText) {
            String wide = UnpackWideText(text);
            GetDisplWideText(base.x, base.y, wide);
            text = PackWideText(wide);
        }
    }
    return text;
}

void TBaseGrid::SetCellText(int ACol, int ARow, const String& Value)
{
    if (const TCellProperties* props = PropertiesOf(ACol, ARow)) {
        const TPoint base = props->GetBaseCell(ACol, ARow);
        SetRawCell(base.x, base.y, Value);
        CellWritten(base.x, base.y);
        if (GetParent())
            RepaintCell(DisplColIndex(ACol), ARow);
    } else {
        const TRaised editCellSet(FEditCellSet);
        SetRawCell(ACol, ARow, Value);
    }
    if (FHideLastRow && GetRowCount() == ARow + 1)
        LastRowChanged();
}

void TBaseGrid::GetDisplText(int ACol, int ARow, String& Value)
{
    if (OnGetDisplText)
        OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, String& Value)
{
    if (OnGetDisplWideText)
        OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::ClearCell(int ACol, int ARow)
{
    SetCellText(ACol, ARow, {});
    SetRawObject(ACol, ARow, nullptr);
}

void TBaseGrid::ClearColumnCells(int ACol)
{
    for (int r = 0, n = GetRowCount(); r < n; ++r) {
        SetRawObject(ACol, r, nullptr);
        SetCellText(ACol, r, {});
    }
}

void TBaseGrid::ClearRowCells(int ARow)
{
    for (int c = 0, n = TotalColCount(); c < n; ++c) {
        SetRawObject(c, ARow, nullptr);
        SetCellText(c, ARow, {});
    }
}
