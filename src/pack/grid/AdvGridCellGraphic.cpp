// Cell graphics: the record with what it owns by kind, and the grid's store
// of one graphic per cell in the cell's properties.
#include "AdvGridCellGraphic.h"
#include "AdvGrid.h"
#include "AdvGridEditing.h"
#include "AsgCombo.h"
#include <algorithm>
#include <cmath>

// --- the record ---------------------------------------------------------------------

TBaseCellGraphic::~TBaseCellGraphic() { ReleaseOwned(); }

void TBaseCellGraphic::ReleaseOwned()
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
        // The only thing these kinds keep in the slot is an attached
        // balloon's title and text.
        if (FCellBitmap)
            FCellBitmap->Free();
        break;
    default:
        break;
    }
    FCellBitmap = nullptr;
    FCellIcon = nullptr;
    FCellCreated = false;
}

void TBaseCellGraphic::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TBaseCellGraphic*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    ReleaseOwned();
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

void TBaseCellGraphic::SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val,
                                      TRadioButtonGroup Group)
{
    FCellType = ctRadioButton;
    FCellAngle = Group;
    FCellBoolean = Value;
    FCellTransparent = Flat;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetButton(int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val)
{
    FCellType = ctButton;
    FCellIndex = static_cast<int>((static_cast<unsigned>(bw) & 0xFFFF) | (static_cast<unsigned>(bh) << 16));
    FCellBoolean = false;
    FCellText = Caption;
    FCellHAlign = hal;
    FCellVAlign = val;
}

void TBaseCellGraphic::SetBitButton(int bw, int bh, const String& Caption, TBitmap* Glyph, TCellHAlign hal,
                                    TCellVAlign val)
{
    SetButton(bw, bh, Caption, hal, val);
    FCellType = ctBitButton;
    FCellBitmap = Glyph;
}

void TBaseCellGraphic::SetInterfacedCell(TInterfacedPersistent* AObject)
{
    FCellType = ctInterface;
    FCellBitmap = AObject;
}

void TBaseCellGraphic::SetAngle(int AAngle)
{
    FCellType = ctRotated;
    // Whole turns come off at once; the remainder lands in 1 .. 360 or 0.
    if (AAngle < 0) {
        AAngle %= 360;
        if (AAngle < 0)
            AAngle += 360;
    } else if (AAngle > 360)
        AAngle = AAngle % 360 == 0 ? 360 : AAngle % 360;
    FCellAngle = AAngle;
}

void TBaseCellGraphic::GetPictureSize(int cw, int rh, bool HasText, TPoint& Size) const
{
    int w = 0;
    int h = 0;
    if (FCellType == ctPicture) {
        if (auto* picture = dynamic_cast<TPicture*>(FCellBitmap)) {
            w = picture->GetWidth();
            h = picture->GetHeight();
        }
    } else if (FCellType == ctFilePicture) {
        if (auto* picture = dynamic_cast<TFilePicture*>(FCellBitmap)) {
            w = picture->GetWidth();
            h = picture->GetHeight();
        }
    } else {
        return;
    }
    const int aw = cw - FCellIndex;
    const int ah = rh - FCellIndex;
    const bool fits = w <= aw && h <= ah;
    auto keepAspect = [&](bool capAtOne) {
        double rx = w > 0 ? static_cast<double>(aw) / w : 1.0;
        double ry = h > 0 ? static_cast<double>(ah) / h : 1.0;
        if (capAtOne) {
            rx = std::min(rx, 1.0);
            ry = std::min(ry, 1.0);
        }
        if (rx >= ry)
            Size = TPoint(static_cast<int>(std::nearbyint(w * ry)), ah);
        else
            Size = TPoint(aw, static_cast<int>(std::nearbyint(h * rx)));
    };
    switch (FCellAngle) {
    case Stretch:
        Size = TPoint(aw, ah);
        break;
    case StretchWithAspectRatio:
        keepAspect(false);
        break;
    case Shrink:
        Size = fits ? TPoint(w, h) : TPoint(aw, ah);
        break;
    case ShrinkWithAspectRatio:
        if (fits)
            Size = TPoint(w, h);
        else
            keepAspect(true);
        break;
    default:
        Size = TPoint(w, h);
        break;
    }
}

// --- the grid's store ------------------------------------------------------------------

TCellGraphic* TAdvStringGrid::GetCellGraphic(int ACol, int ARow)
{
    if (!IsStorageCell(ACol, ARow))
        return nullptr;
    if (ACol == 0 && FMouseActions->GetHotmailRowSelect()) {
        TCellGraphic* box = FRowCheckBox.get();
        box->SetCellType(ctRowCheckBox);
        const int normalRows = GetRowCount() - GetFixedRows();
        if (ARow == 0) {
            const int selected = FSelectedRows->Count();
            box->SetCellAngle(selected > 0 && selected < normalRows ? 1 : 0);
            box->SetCellBoolean(selected >= normalRows);
        } else {
            box->SetCellAngle(0);
        }
        box->SetCellTransparent(FControlLook->GetControlStyle() == csFlat);
        if (ARow != 0)
            box->SetCellBoolean(GetRowSelect(RealRowIndex(ARow)));
        return box;
    }
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
    if (Operation == opRemove && AComponent == FCellChecker)
        FCellChecker = nullptr;
    if (Operation == opRemove && AComponent == FEditLink)
        FEditLink = nullptr;
    if (Operation == opRemove && AComponent == FCombobox)
        FCombobox = nullptr;
}

TIntList* TAdvStringGrid::GetMultiImageList(int ACol, int ARow)
{
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    return graphic && graphic->GetCellType() == ctImages ? dynamic_cast<TIntList*>(graphic->GetCellBitmap())
                                                          : nullptr;
}

// --- kinds, keys and sizes -------------------------------------------------------------

bool TAdvStringGrid::HasGraphicOfKinds(int ACol, int ARow, const Set<TCellType>& Kinds)
{
    if (!IsStorageCell(ACol, ARow))
        return false;
    const TPoint base = BaseCell(ACol, ARow);
    const TCellGraphic* graphic = GetCellGraphic(base.x, base.y);
    return graphic && Kinds.Contains(graphic->GetCellType());
}

intptr_t TAdvStringGrid::GetCellImageKey(int ACol, int ARow)
{
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic)
        return -1;
    switch (graphic->GetCellType()) {
    case ctBitmap:
        return reinterpret_cast<intptr_t>(graphic->GetCellBitmap());
    case ctIcon:
        return reinterpret_cast<intptr_t>(graphic->GetCellIcon());
    case ctImageList:
        return graphic->GetCellIndex();
    default:
        return -1;
    }
}

bool TAdvStringGrid::HasSortIndicator(int ACol, int ARow)
{
    int row = ARow;
    if (IsMergedCell(ACol, ARow))
        row += CellSpan(ACol, ARow).y;
    return row == FSortSettings->GetRow() && FSortSettings->GetShow() && GetRowCount() > GetFixedRows() + 1;
}

void TAdvStringGrid::CellGraphicSizeEx(int ACol, int ARow, TSize& Size, int Extra)
{
    MeasureCellGraphic(GetCanvas(), ACol, ARow, Size, 1.0, Extra);
}

namespace {

bool BesideText(TCellHAlign a) { return a == haBeforeText || a == haAfterText; }
bool AcrossText(TCellVAlign a) { return a == vaUnderText || a == vaAboveText; }

int ScaledRound(double Value) { return static_cast<int>(std::nearbyint(Value)); }

} // namespace

void TAdvStringGrid::MeasureCellGraphic(TCanvas* Canvas, int ACol, int ARow, TSize& Size, double Scale, int Extra)
{
    Size = TSize(0, 0);
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic || Scale <= 0)
        return;
    const bool hasText = !GetCellText(ACol, ARow).empty();
    const TCellHAlign ha = graphic->GetCellHAlign();
    const TCellVAlign va = graphic->GetCellVAlign();
    const int dc = DisplColIndex(ACol);
    const TPoint cell = CellSize(dc, ARow);
    bool fullSize = true;
    auto besideOrAlone = [&](int w, int h) {
        Size.cx = BesideText(ha) || !hasText ? w : 0;
        Size.cy = AcrossText(va) || !hasText ? h : 0;
    };
    switch (graphic->GetCellType()) {
    case ctBitmap:
        if (auto* bmp = dynamic_cast<TBitmap*>(graphic->GetCellBitmap()))
            besideOrAlone(bmp->GetWidth(), bmp->GetHeight());
        break;
    case ctIcon:
        if (TIcon* icon = graphic->GetCellIcon()) {
            besideOrAlone(icon->GetWidth(), 0);
            Size.cy = icon->GetHeight();
        }
        break;
    case ctImageList:
    case ctDataImage:
        if (TCustomImageList* images = GetCellImageList(ACol, ARow))
            besideOrAlone(images->GetWidth(), images->GetHeight());
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
        Size = TSize(FControlLook->GetCheckSize(), FControlLook->GetCheckSize());
        break;
    case ctRadioButton:
        Size = TSize(FControlLook->GetRadioSize(), FControlLook->GetRadioSize());
        break;
    case ctRadio:
        if (auto* options = dynamic_cast<TStrings*>(graphic->GetCellBitmap())) {
            const int lineHeight = Canvas->TextHeight(L"gh");
            if (graphic->GetCellBoolean()) {
                for (int i = 0; i < options->Count(); ++i)
                    Size.cx += Canvas->TextWidth(options->Get(i)) + 12;
                Size.cy = lineHeight;
            } else {
                int widest = 12;
                for (int i = 0; i < options->Count(); ++i)
                    widest = std::max(widest, Canvas->TextWidth(options->Get(i)) + 12);
                Size.cx = widest;
                Size.cy = std::max(16, ScaledRound((lineHeight + 3) * options->Count() / Scale));
            }
        }
        break;
    case ctImages:
        if (auto* indexes = dynamic_cast<TIntList*>(graphic->GetCellBitmap()))
            if (TCustomImageList* images = GetCellImageList(ACol, ARow)) {
                const int n = indexes->Count();
                if (graphic->GetCellBoolean())
                    Size = TSize(n * images->GetWidth(), images->GetHeight());
                else
                    Size = TSize(images->GetWidth(), n * images->GetHeight());
            }
        break;
    case ctPicture:
    case ctFilePicture: {
        TPoint picture(0, 0);
        graphic->GetPictureSize(cell.x - GetTotalXOffset() - 1, cell.y - GetTotalYOffset() - Extra - 1, hasText,
                                picture);
        Size = TSize(picture.x, picture.y);
        break;
    }
    case ctButton:
    case ctBitButton: {
        const unsigned packed = static_cast<unsigned>(graphic->GetCellIndex());
        Size = TSize(static_cast<int>(packed & 0xFFFF), static_cast<int>(packed >> 16));
        if (hasText) {
            if (ha == haCenter)
                Size.cx = 0;
            if (ha == haFull)
                Size.cx = ScaledRound((Canvas->TextWidth(graphic->GetCellText()) + 4) / Scale);
            if (!BesideText(ha) && !AcrossText(va))
                Size.cy = 0;
            if (AcrossText(va))
                Size.cx = 0;
        } else if (ha == haFull) {
            const bool fixed = ACol < GetFixedCols() || ARow < GetFixedRows();
            Canvas->GetFont()->Assign(fixed ? GetFixedFont() : GetFont());
            Size.cx = ScaledRound((Canvas->TextWidth(graphic->GetCellText()) + 8) / Scale);
            if (!graphic->GetCellText().empty())
                fullSize = false;
        }
        break;
    }
    case ctProgressPie:
        Size = TSize(20, 20);
        break;
    case ctInterface:
        if (auto* object = dynamic_cast<TInterfacedPersistent*>(graphic->GetCellBitmap())) {
            Size = object->GetCellSize();
            if (Size.cx == 0 || Size.cy == 0)
                Size = TSize(cell.x, cell.y);
        }
        break;
    case ctShape:
        Size = TSize(GetDefaultRowHeight() - 4, GetDefaultRowHeight() - 4);
        break;
    case ctRating:
        Size = TSize(graphic->GetCellAngle() * 18, 16);
        fullSize = false;
        break;
    default:
        break;
    }
    if (fullSize) {
        if (va == vaFull)
            Size.cy = cell.y;
        if (ha == haFull)
            Size.cx = cell.x;
    }
}

void TAdvStringGrid::GetExpandButtonRect(int ACol, int ARow, TRect& Rect)
{
    Rect = TRect();
    if (GetCellGraphicType(ACol, ARow) != ctExpand)
        return;
    const TRect cell = CellRect(DisplColIndex(ACol), ARow);
    Rect = TRect(cell.right - 13, cell.top + 2, cell.right - 2, cell.top + 13);
}

void TAdvStringGrid::GetCellGraphicRect(int ACol, int ARow, TRect& Rect)
{
    Rect = TRect();
    const TCellGraphic* graphic = GetCellGraphic(RealColIndex(ACol), ARow);
    if (!graphic)
        return;
    const TRect cell = CellRect(ACol, ARow);
    const unsigned offset = static_cast<unsigned>(std::llround(graphic->GetCellValue()));
    const unsigned size = static_cast<unsigned>(graphic->GetCellIndex());
    Rect.left = cell.left + static_cast<int>(offset & 0xFFFF);
    Rect.top = cell.top + static_cast<int>(offset >> 16);
    Rect.right = Rect.left + static_cast<int>(size & 0xFFFF);
    Rect.bottom = Rect.top + static_cast<int>(size >> 16);
    if (graphic->GetCellVAlign() == vaFull) {
        Rect.top = cell.top;
        Rect.bottom = cell.bottom;
    }
    if (graphic->GetCellHAlign() == haFull) {
        Rect.left = cell.left;
        Rect.right = cell.right;
    }
}
