// Cell graphics: the record with what it owns by kind, and the grid's store
// of one graphic per cell in the cell's properties.
#include "AdvGridCellGraphic.h"
#include "AdvGrid.h"

// --- the record ---------------------------------------------------------------------

TBaseCellGraphic::~TBaseCellGraphic()
{
    switch (FCellType) {
    case ctBitmap:
    case ctRadio:
    case ctPicture:
    case ctFilePicture:
    case ctBitButton:
        if (FCellCreated && FCellBitmap)
            FCellBitmap->Free();
        break;
    case ctImages:
    case ctBalloon:
        if (FCellBitmap)
            FCellBitmap->Free();
        break;
    case ctIcon:
        if (FCellCreated && FCellIcon)
            FCellIcon->Free();
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctRadioButton:
        // A balloon's title and text hang on the check box.
        if (FCellAngle == 1 && FCellBitmap)
            FCellBitmap->Free();
        break;
    default:
        break;
    }
}

void TBaseCellGraphic::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TBaseCellGraphic*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    FCellType = source->FCellType;
    FCellVAlign = source->FCellVAlign;
    FCellHAlign = source->FCellHAlign;
    FCellIndex = source->FCellIndex;
    FCellTransparent = source->FCellTransparent;
    FCellValue = source->FCellValue;
    FCellAngle = source->FCellAngle;
    FCellBoolean = source->FCellBoolean;
    FCellErrFrom = source->FCellErrFrom;
    FCellErrLen = source->FCellErrLen;
    FCellText = source->FCellText;
    FCellCreated = source->FCellCreated;
}

void TCellGraphic::Assign(TPersistent* Source)
{
    TBaseCellGraphic::Assign(Source);
    if (auto* source = dynamic_cast<TCellGraphic*>(Source)) {
        FCommentColor = source->FCommentColor;
        FCellComment = source->FCellComment;
    }
}

void TBaseCellGraphic::SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctBitmap;
    FCellBitmap = ABmp;
    FCellTransparent = Transparent;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetIcon(TIcon* AIcon, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctIcon;
    FCellIcon = AIcon;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctImageList;
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctDataImage;
    FCellIndex = idx;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctImages;
    FCellHAlign = hal;
    FCellVAlign = val;
    FCellBoolean = dir == 0;
    FCellBitmap = New<TIntList>(Col, Row);
    FCellCreated = true;
}

void TBaseCellGraphic::SetPicture(TPicture* APicture, bool Transparent, int StretchMode, int padding,
                                  TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctPicture;
    FCellBitmap = APicture;
    FCellTransparent = Transparent;
    FCellAngle = StretchMode;
    FCellIndex = padding;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetFilePicture(TFilePicture* APicture, bool Transparent, int StretchMode, int padding,
                                      TCellHAlign hal, TCellVAlign val)
{
    SetPicture(nullptr, Transparent, StretchMode, padding, hal, val);
    FCellType = ctFilePicture;
    FCellBitmap = APicture;
}

void TBaseCellGraphic::SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = Data ? ctDataCheckBox : ctCheckBox;
    FCellAngle = 0;
    FCellBoolean = Value;
    FCellTransparent = Flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctTriStateCheckBox;
    FCellCheckBoxState = Value;
    FCellBoolean = false;
    FCellTransparent = Flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

// --- the grid's store ------------------------------------------------------------------

TCellGraphic* TAdvStringGrid::GetCellGraphic(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    return dynamic_cast<TCellGraphic*>(GetCellGraphicObject(ACol, ARow));
}

TCellType TAdvStringGrid::GetCellGraphicType(int ACol, int ARow)
{
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    return graphic ? graphic->GetCellType() : ctEmpty;
}

bool TAdvStringGrid::HasNoCellGraphic(int ACol, int ARow)
{
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    return !graphic || (graphic->GetCellType() == ctNone && graphic->GetCellComment().empty());
}

TCellGraphic* TAdvStringGrid::CreateCellGraphic(int ACol, int ARow)
{
    if (TCellGraphic* old = GetCellGraphic(ACol, ARow)) {
        SetCellGraphicObject(ACol, ARow, nullptr);
        FreeCellGraphic(old);
    }
    auto* graphic = New<TCellGraphic>();
    SetCellGraphicObject(ACol, ARow, graphic);
    if (GetParent())
        RepaintCell(DisplColIndex(ACol), ARow);
    return graphic;
}

bool TAdvStringGrid::RemoveCellGraphic(int ACol, int ARow)
{
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic)
        return false;
    SetCellGraphicObject(ACol, ARow, nullptr);
    FreeCellGraphic(graphic);
    if (!Destroying() && GetParent())
        RepaintCell(DisplColIndex(ACol), ARow);
    return true;
}

bool TAdvStringGrid::RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType)
{
    return GetCellGraphicType(ACol, ARow) == CellType && RemoveCellGraphic(ACol, ARow);
}

void FreeCellGraphic(TObject* Graphic)
{
    auto* graphic = dynamic_cast<TCellGraphic*>(Graphic);
    if (graphic && graphic->ClassName() == L"TCellGraphic" && !graphic->IsShared())
        graphic->Free();
}

void TAdvStringGrid::SetGridImages(TCustomImageList* Value)
{
    if (FGridImages)
        FGridImages->RemoveFreeNotification(this);
    FGridImages = Value;
    if (FGridImages)
        FGridImages->FreeNotification(this);
}

void TAdvStringGrid::Notification(TComponent* AComponent, TOperation Operation)
{
    TBaseGrid::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FGridImages)
        FGridImages = nullptr;
}

TIntList* TAdvStringGrid::GetMultiImageList(int ACol, int ARow)
{
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    return graphic && graphic->GetCellType() == ctImages ? dynamic_cast<TIntList*>(graphic->GetCellBitmap())
                                                          : nullptr;
}
