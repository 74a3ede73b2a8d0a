// Putting graphics and in-cell controls into cells, reading them back,
// changing and removing them: one kind after the other, each as the store
// keeps it (see AdvGridCellGraphic.h for what each kind holds where).
#include "AdvGrid.h"
#include "AdvGridLists.h"
#include "SysUtils.h"
#include <algorithm>

// --- shared steps -----------------------------------------------------------------------

TCellGraphic* TAdvStringGrid::NewGraphicFor(int ACol, int ARow)
{
    return IsStorageCell(ACol, ARow) ? CreateCellGraphic(ACol, ARow) : nullptr;
}

TCellGraphic* TAdvStringGrid::NewOwnedGraphicFor(int ACol, int ARow)
{
    if (!IsStorageCell(ACol, ARow))
        throw Exception(L"Invalid cell");
    return CreateCellGraphic(ACol, ARow);
}

void TAdvStringGrid::ForEveryCell(const std::function<void(int ACol, int ARow)>& Visit)
{
    for (int c = 0; c < GetColCount(); ++c)
        for (int r = 0; r < GetRowCount(); ++r)
            Visit(c, r);
}

namespace {

// The graphic of Kind at the cell, or null.
TCellGraphic* GraphicOf(TAdvStringGrid* Grid, int ACol, int ARow, TCellType Kind)
{
    TCellGraphic* graphic = Grid->GetCellGraphic(ACol, ARow);
    return graphic && graphic->GetCellType() == Kind ? graphic : nullptr;
}

// The same at the base cell of a merged block.
TCellGraphic* BaseGraphicOf(TAdvStringGrid* Grid, int ACol, int ARow, TCellType Kind)
{
    if (!Grid->IsStorageCell(ACol, ARow))
        return nullptr;
    const TPoint base = Grid->BaseCell(ACol, ARow);
    return GraphicOf(Grid, base.x, base.y, Kind);
}

} // namespace

// --- bitmaps, pictures, icons -----------------------------------------------------------

void TAdvStringGrid::AddBitmap(int ACol, int ARow, TBitmap* ABmp, bool Transparent, TCellHAlign hal,
                               TCellVAlign val)
{
    if (TCellGraphic* graphic = NewGraphicFor(ACol, ARow))
        graphic->SetBitmap(ABmp, Transparent, hal, val);
}

TBitmap* TAdvStringGrid::CreateBitmap(int ACol, int ARow, bool Transparent, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* graphic = NewOwnedGraphicFor(ACol, ARow);
    auto* bitmap = New<TBitmap>();
    graphic->SetBitmap(bitmap, Transparent, hal, val);
    graphic->SetCellCreated(true);
    return bitmap;
}

TBitmap* TAdvStringGrid::GetBitmap(int ACol, int ARow)
{
    TCellGraphic* graphic = GraphicOf(this, ACol, ARow, ctBitmap);
    return graphic ? dynamic_cast<TBitmap*>(graphic->GetCellBitmap()) : nullptr;
}

void TAdvStringGrid::AddPicture(int ACol, int ARow, TPicture* APicture, bool Transparent, TStretchMode StretchMode,
                                int Padding, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* graphic = NewGraphicFor(ACol, ARow))
        graphic->SetPicture(APicture, Transparent, StretchMode, Padding, hal, val);
}

TPicture* TAdvStringGrid::CreatePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode, int Padding,
                                        TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* graphic = NewOwnedGraphicFor(ACol, ARow);
    auto* picture = New<TPicture>();
    graphic->SetPicture(picture, Transparent, StretchMode, Padding, hal, val);
    graphic->SetCellCreated(true);
    return picture;
}

TPicture* TAdvStringGrid::GetPicture(int ACol, int ARow)
{
    TCellGraphic* graphic = GraphicOf(this, ACol, ARow, ctPicture);
    return graphic ? dynamic_cast<TPicture*>(graphic->GetCellBitmap()) : nullptr;
}

void TAdvStringGrid::AddFilePicture(int ACol, int ARow, TFilePicture* AFilePicture, bool Transparent,
                                    TStretchMode StretchMode, int Padding, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* graphic = NewGraphicFor(ACol, ARow))
        graphic->SetFilePicture(AFilePicture, Transparent, StretchMode, Padding, hal, val);
}

TFilePicture* TAdvStringGrid::CreateFilePicture(int ACol, int ARow, bool Transparent, TStretchMode StretchMode,
                                                int Padding, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* graphic = NewOwnedGraphicFor(ACol, ARow);
    auto* picture = New<TFilePicture>();
    graphic->SetFilePicture(picture, Transparent, StretchMode, Padding, hal, val);
    graphic->SetCellCreated(true);
    return picture;
}

TFilePicture* TAdvStringGrid::GetFilePicture(int ACol, int ARow)
{
    TCellGraphic* graphic = GraphicOf(this, ACol, ARow, ctFilePicture);
    return graphic ? dynamic_cast<TFilePicture*>(graphic->GetCellBitmap()) : nullptr;
}

void TAdvStringGrid::AddIcon(int ACol, int ARow, TIcon* AIcon, TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* graphic = NewGraphicFor(ACol, ARow))
        graphic->SetIcon(AIcon, hal, val);
}

TIcon* TAdvStringGrid::CreateIcon(int ACol, int ARow, TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* graphic = NewOwnedGraphicFor(ACol, ARow);
    auto* icon = New<TIcon>();
    graphic->SetIcon(icon, hal, val);
    graphic->SetCellCreated(true);
    return icon;
}

// --- images of the grid's image list ----------------------------------------------------

void TAdvStringGrid::AddImageIdx(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages)
        return;
    if (TCellGraphic* graphic = NewGraphicFor(ACol, ARow))
        graphic->SetImageIdx(Aidx, hal, val);
}

bool TAdvStringGrid::GetImageIdx(int ACol, int ARow, int& idx)
{
    TCellGraphic* graphic = FGridImages ? GraphicOf(this, ACol, ARow, ctImageList) : nullptr;
    if (!graphic)
        return false;
    idx = graphic->GetCellIndex();
    return true;
}

void TAdvStringGrid::SetImageIdx(int ACol, int ARow, int Idx)
{
    if (TCellGraphic* graphic = FGridImages ? GraphicOf(this, ACol, ARow, ctImageList) : nullptr)
        graphic->SetCellIndex(Idx);
}

void TAdvStringGrid::AddDataImage(int ACol, int ARow, int Aidx, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages)
        return;
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetDataImage(Aidx, hal, val);
    if (GetCellText(ACol, ARow).empty())
        SetCellText(ACol, ARow, IntToStr(Aidx));
}

void TAdvStringGrid::RemoveDataImage(int ACol, int ARow)
{
    if (RemoveCellGraphicOfType(ACol, ARow, ctDataImage))
        SetCellText(ACol, ARow, L"");
}

void TAdvStringGrid::AddMultiImage(int ACol, int ARow, int Dir, TCellHAlign hal, TCellVAlign val)
{
    if (!FGridImages)
        return;
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetMultiImage(ACol, ARow, Dir, hal, val);
    if (auto* indexes = dynamic_cast<TIntList*>(graphic->GetCellBitmap()))
        indexes->OnChange = [this](TObject*, int Col, int Row) { RepaintCell(DisplColIndex(Col), Row); };
}

void TAdvStringGrid::AddInterfacedCell(int ACol, int ARow, TInterfacedPersistent* AObject)
{
    if (TCellGraphic* graphic = NewGraphicFor(ACol, ARow))
        graphic->SetInterfacedCell(AObject);
}

TInterfacedPersistent* TAdvStringGrid::GetInterfacedCell(int ACol, int ARow)
{
    TCellGraphic* graphic = GraphicOf(this, ACol, ARow, ctInterface);
    return graphic ? dynamic_cast<TInterfacedPersistent*>(graphic->GetCellBitmap()) : nullptr;
}

// --- bars, pies and ranges: the colours ride in the object slots as numbers --------------

namespace {

TObject* ColorSlot(TColor Color) { return reinterpret_cast<TObject*>(static_cast<intptr_t>(Color)); }

void SetProgressFields(TCellGraphic* Graphic, TColor FGColor, TColor BKColor)
{
    Graphic->SetCellType(ctProgress);
    Graphic->SetCellHAlign(haLeft);
    Graphic->SetCellVAlign(vaTop);
    Graphic->SetCellBitmap(ColorSlot(FGColor));
    Graphic->SetCellIcon(reinterpret_cast<TIcon*>(static_cast<intptr_t>(BKColor)));
    Graphic->SetCellErrFrom(0);
    Graphic->SetCellErrLen(100);
    Graphic->SetCellBoolean(false);
    Graphic->SetCellText(L"");
}

} // namespace

void TAdvStringGrid::AddProgress(int ACol, int ARow, TColor FGColor, TColor BKColor)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    SetProgressFields(graphic, FGColor, BKColor);
    if (FAutoNumAlign)
        SetCellTextAlignment(ACol, ARow, taRightJustify);
}

void TAdvStringGrid::AddProgressEx(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                   TColor BKTextColor)
{
    AddProgressFormatted(ACol, ARow, FGColor, FGTextColor, BKColor, BKTextColor, L"", 0, 100);
}

void TAdvStringGrid::AddProgressFormatted(int ACol, int ARow, TColor FGColor, TColor FGTextColor, TColor BKColor,
                                          TColor BKTextColor, const String& Fmt, int Min, int Max)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    SetProgressFields(graphic, FGColor, BKColor);
    graphic->SetCellBoolean(true);
    graphic->SetCellIndex(FGTextColor);
    graphic->SetCellAngle(BKTextColor);
    graphic->SetCellText(Fmt);
    graphic->SetCellErrFrom(Min);
    graphic->SetCellErrLen(Max);
    if (FAutoNumAlign)
        SetCellTextAlignment(ACol, ARow, taRightJustify);
}

void TAdvStringGrid::AddAdvProgress(int ACol, int ARow, int Min, int Max)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetCellType(ctXPProgress);
    graphic->SetCellHAlign(haLeft);
    graphic->SetCellVAlign(vaTop);
    graphic->SetCellErrFrom(Min);
    graphic->SetCellErrLen(Max);
    graphic->SetCellBoolean(false);
    graphic->SetCellText(L"");
}

void TAdvStringGrid::AddProgressPie(int ACol, int ARow, TColor Color, int Value)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetCellType(ctProgressPie);
    graphic->SetCellHAlign(haBeforeText);
    graphic->SetCellVAlign(vaTop);
    graphic->SetCellBitmap(ColorSlot(Color));
    graphic->SetCellAngle(Value);
}

void TAdvStringGrid::SetProgressPie(int ACol, int ARow, int Value)
{
    if (TCellGraphic* graphic = GraphicOf(this, ACol, ARow, ctProgressPie)) {
        graphic->SetCellAngle(Value);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

void TAdvStringGrid::AddRangeIndicator(int ACol, int ARow, int Range, TColor NegColor, TColor PosColor,
                                       bool ShowValue)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetCellType(ctRangeIndicator);
    graphic->SetCellHAlign(haLeft);
    graphic->SetCellVAlign(vaTop);
    graphic->SetCellIndex(Range);
    graphic->SetCellBitmap(ColorSlot(NegColor));
    graphic->SetCellIcon(reinterpret_cast<TIcon*>(static_cast<intptr_t>(PosColor)));
    graphic->SetCellBoolean(ShowValue);
}

// --- shapes and ratings -----------------------------------------------------------------

void TAdvStringGrid::AddShape(int ACol, int ARow, int Shape, TColor FillColor, TColor LineColor,
                              TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetCellType(ctShape);
    graphic->SetCellAngle(Shape);
    graphic->SetCellIndex(FillColor);
    graphic->SetCellBitmap(ColorSlot(LineColor));
    graphic->SetCellHAlign(hal);
    graphic->SetCellVAlign(val);
}

TColor TAdvStringGrid::GetShapeColor(int ACol, int ARow)
{
    const TCellGraphic* graphic = GraphicOf(this, ACol, ARow, ctShape);
    return graphic ? graphic->GetCellIndex() : clNone;
}

void TAdvStringGrid::SetShapeColor(int ACol, int ARow, TColor FillColor)
{
    if (TCellGraphic* graphic = GraphicOf(this, ACol, ARow, ctShape))
        graphic->SetCellIndex(FillColor);
}

void TAdvStringGrid::AddRating(int ACol, int ARow, int Scale, TColor FillColor, TColor EmptyColor)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetCellType(ctRating);
    graphic->SetCellAngle(Scale);
    graphic->SetCellIndex(FillColor);
    graphic->SetCellBitmap(ColorSlot(EmptyColor));
    graphic->SetCellHAlign(haFull);
    graphic->SetCellVAlign(vaTop);
}

// --- buttons ----------------------------------------------------------------------------

void TAdvStringGrid::AddButton(int ACol, int ARow, int bw, int bh, const String& Caption, TCellHAlign hal,
                               TCellVAlign val)
{
    if (TCellGraphic* graphic = NewGraphicFor(ACol, ARow))
        graphic->SetButton(bw, bh, Caption, hal, val);
}

void TAdvStringGrid::AddBitButton(int ACol, int ARow, int bw, int bh, const String& Caption, TBitmap* Glyph,
                                  TCellHAlign hal, TCellVAlign val)
{
    if (TCellGraphic* graphic = NewGraphicFor(ACol, ARow))
        graphic->SetBitButton(bw, bh, Caption, Glyph, hal, val);
}

TBitmap* TAdvStringGrid::CreateBitButton(int ACol, int ARow, int bw, int bh, const String& Caption,
                                         TCellHAlign hal, TCellVAlign val)
{
    TCellGraphic* graphic = NewOwnedGraphicFor(ACol, ARow);
    auto* glyph = New<TBitmap>();
    graphic->SetBitButton(bw, bh, Caption, glyph, hal, val);
    graphic->SetCellCreated(true);
    return glyph;
}

String TAdvStringGrid::GetButtonText(int ACol, int ARow)
{
    const TCellGraphic* graphic = GetCellGraphic(RealColIndex(ACol), ARow);
    return graphic ? graphic->GetCellText() : String();
}

void TAdvStringGrid::SetButtonText(int ACol, int ARow, const String& Value)
{
    if (TCellGraphic* graphic = GetCellGraphic(RealColIndex(ACol), ARow)) {
        graphic->SetCellText(Value);
        RepaintCell(ACol, ARow);
    }
}

void TAdvStringGrid::PushButton(int ACol, int ARow, bool Push)
{
    TCellGraphic* graphic = GetCellGraphic(RealColIndex(ACol), ARow);
    if (graphic && graphic->GetCellType() != ctNode) {
        graphic->SetCellBoolean(Push);
        RepaintCell(ACol, ARow);
    }
}

void TAdvStringGrid::RemoveButton(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctButton);
    RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void TAdvStringGrid::RemoveAllButtons()
{
    ForEveryCell([this](int c, int r) { RemoveButton(c, r); });
}

// --- in-cell scroll bars ----------------------------------------------------------------

void TAdvStringGrid::AddScrollBar(int ACol, int ARow, bool AutoRange)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetCellType(ctScrollbar);
    graphic->SetCellAngle(0);
    graphic->SetCellErrFrom(100);
    graphic->SetCellIndex(0);
    graphic->SetCellBoolean(AutoRange);
    if (AutoRange)
        MeasureScrollBarRange(ACol, ARow);
}

void TAdvStringGrid::MeasureScrollBarRange(int ACol, int ARow)
{
    TCellGraphic* graphic = GraphicOf(this, ACol, ARow, ctScrollbar);
    if (!graphic || !graphic->GetCellBoolean())
        return;
    // The text's height as automatic row sizing measures it, wrapped to the
    // column's width when the cell wraps.
    const int dc = DisplColIndex(ACol);
    const bool wrap = CellWordWrap(dc, ARow);
    const int width = std::max(GetColWidths(dc) - GetTotalXOffset(), 1);
    graphic->SetCellAngle(GetRowHeights(ARow));
    graphic->SetCellErrFrom(MeasureCellText(dc, ARow, wrap, width).cy);
}

void TAdvStringGrid::CellWritten(int ACol, int ARow)
{
    TBaseGrid::CellWritten(ACol, ARow);
    MeasureScrollBarRange(ACol, ARow);
}

bool TAdvStringGrid::HasAutoRangeScrollBar(int ACol, int ARow)
{
    const TCellGraphic* graphic = BaseGraphicOf(this, ACol, ARow, ctScrollbar);
    return graphic && graphic->GetCellBoolean();
}

int TAdvStringGrid::GetScrollPosition(int ACol, int ARow)
{
    const TCellGraphic* graphic = BaseGraphicOf(this, ACol, ARow, ctScrollbar);
    return graphic ? graphic->GetCellIndex() : -1;
}

void TAdvStringGrid::SetScrollPosition(int ACol, int ARow, int Pos)
{
    if (TCellGraphic* graphic = BaseGraphicOf(this, ACol, ARow, ctScrollbar)) {
        graphic->SetCellIndex(Pos);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

TScrollProp TAdvStringGrid::GetScrollProp(int ACol, int ARow)
{
    const TCellGraphic* graphic = BaseGraphicOf(this, ACol, ARow, ctScrollbar);
    if (!graphic)
        return {-1, -1};
    return {graphic->GetCellAngle(), graphic->GetCellErrFrom()};
}

void TAdvStringGrid::SetScrollProp(int ACol, int ARow, const TScrollProp& Prop)
{
    if (TCellGraphic* graphic = BaseGraphicOf(this, ACol, ARow, ctScrollbar)) {
        graphic->SetCellAngle(Prop.PageSize);
        graphic->SetCellErrFrom(Prop.Range);
    }
}

// --- balloons ---------------------------------------------------------------------------

namespace {

bool CarriesBalloon(TCellType Kind) { return Kind == ctCheckBox || Kind == ctDataCheckBox || Kind == ctRadioButton; }

} // namespace

void TAdvStringGrid::AddBalloon(int ACol, int ARow, const String& Title, const String& Text, TBalloonIcon Icon)
{
    if (!IsStorageCell(ACol, ARow))
        return;
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic && (!CarriesBalloon(graphic->GetCellType()) || graphic->GetCellBitmap()))
        return;
    if (!graphic) {
        graphic = CreateCellGraphic(ACol, ARow);
        graphic->SetCellType(ctBalloon);
        graphic->SetCellAngle(0);
    } else if (graphic->GetCellType() != ctRadioButton) {
        // A radio button keeps its group in CellAngle; only check boxes
        // flag their balloon there.
        graphic->SetCellAngle(1);
    }
    auto* lines = New<TStringList>();
    lines->Add(Title);
    lines->Add(Text);
    graphic->SetCellBitmap(lines);
    graphic->SetCellIndex(Icon);
}

bool TAdvStringGrid::IsBalloon(int ACol, int ARow, String& Title, String& Text, TBalloonIcon& Icon)
{
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic)
        return false;
    const TCellType kind = graphic->GetCellType();
    if (kind != ctBalloon && !(CarriesBalloon(kind) && graphic->GetCellBitmap()))
        return false;
    if (auto* lines = dynamic_cast<TStrings*>(graphic->GetCellBitmap()); lines && lines->Count() >= 2) {
        Title = lines->Get(0);
        Text = lines->Get(1);
        Icon = static_cast<TBalloonIcon>(graphic->GetCellIndex());
    }
    return true;
}

void TAdvStringGrid::RemoveBalloon(int ACol, int ARow)
{
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic && CarriesBalloon(graphic->GetCellType())) {
        if (TObject* lines = graphic->GetCellBitmap()) {
            graphic->SetCellBitmap(nullptr);
            lines->Free();
            if (graphic->GetCellType() != ctRadioButton)
                graphic->SetCellAngle(0);
        }
        return;
    }
    RemoveCellGraphicOfType(ACol, ARow, ctBalloon);
}

// --- expand cells -----------------------------------------------------------------------

void TAdvStringGrid::AddExpand(int ACol, int ARow, int ExpandedHeight)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetCellType(ctExpand);
    graphic->SetCellAngle(ExpandedHeight);
    graphic->SetCellIndex(GetRowHeights(ARow));
    graphic->CellVar = Variant(false);
}

bool TAdvStringGrid::ToggleExpand(int ACol, int ARow)
{
    TCellGraphic* graphic = BaseGraphicOf(this, ACol, ARow, ctExpand);
    if (!graphic)
        return false;
    const bool expanded = !GetExpandState(ACol, ARow);
    graphic->CellVar = Variant(expanded);
    return expanded;
}

bool TAdvStringGrid::GetExpandState(int ACol, int ARow)
{
    const TCellGraphic* graphic = BaseGraphicOf(this, ACol, ARow, ctExpand);
    return graphic && !graphic->CellVar.IsEmpty() && graphic->CellVar.ToInteger() != 0;
}

int TAdvStringGrid::GetExpandHeight(int ACol, int ARow, bool Expanded)
{
    const TCellGraphic* graphic = BaseGraphicOf(this, ACol, ARow, ctExpand);
    if (!graphic)
        return GetDefaultRowHeight();
    return Expanded ? graphic->GetCellAngle() : graphic->GetCellIndex();
}

// --- rotated text -----------------------------------------------------------------------

void TAdvStringGrid::AddRotated(int ACol, int ARow, int AAngle, const String& s)
{
    TCellGraphic* graphic = NewGraphicFor(ACol, ARow);
    if (!graphic)
        return;
    graphic->SetAngle(AAngle);
    SetCellText(ACol, ARow, s);
}

bool TAdvStringGrid::IsRotated(int ACol, int ARow, int& aAngle)
{
    const TCellGraphic* graphic = GraphicOf(this, ACol, ARow, ctRotated);
    if (!graphic)
        return false;
    aAngle = graphic->GetCellAngle();
    return true;
}

void TAdvStringGrid::SetRotated(int ACol, int ARow, int AAngle)
{
    if (!IsStorageCell(ACol, ARow))
        return;
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic || graphic->IsShared())
        graphic = CreateCellGraphic(ACol, ARow);
    // What the old kind held goes: a rotated text keeps nothing in its slots.
    graphic->ReleaseOwned();
    graphic->SetAngle(AAngle);
}

// --- comments and error markers ---------------------------------------------------------

void TAdvStringGrid::AddComment(int ACol, int ARow, const String& Comment)
{
    AddColorComment(ACol, ARow, Comment, FControlLook->GetCommentColor());
}

void TAdvStringGrid::AddColorComment(int ACol, int ARow, const String& Comment, TColor Color)
{
    if (!IsStorageCell(ACol, ARow))
        return;
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic)
        graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellComment(Comment);
    graphic->SetCommentColor(Color);
}

bool TAdvStringGrid::IsComment(int ACol, int ARow, String& Comment)
{
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic || graphic->GetCellComment().empty())
        return false;
    Comment = graphic->GetCellComment();
    return true;
}

void TAdvStringGrid::RemoveComment(int ACol, int ARow)
{
    if (TCellGraphic* graphic = GetCellGraphic(ACol, ARow))
        graphic->SetCellComment(L"");
}

void TAdvStringGrid::RemoveAllComments()
{
    ForEveryCell([this](int c, int r) { RemoveComment(c, r); });
    Invalidate();
}

void TAdvStringGrid::AddMarker(int ACol, int ARow, int ErrPos, int ErrLen)
{
    if (!IsStorageCell(ACol, ARow))
        return;
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (!graphic) {
        graphic = CreateCellGraphic(ACol, ARow);
        graphic->SetCellType(ctEmpty);
    }
    graphic->SetCellErrFrom(ErrPos);
    graphic->SetCellErrLen(ErrLen);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TAdvStringGrid::GetMarker(int ACol, int ARow, int& ErrPos, int& ErrLen)
{
    const TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    ErrPos = graphic ? graphic->GetCellErrFrom() : 0;
    ErrLen = graphic ? graphic->GetCellErrLen() : 0;
}

void TAdvStringGrid::RemoveMarker(int ACol, int ARow)
{
    if (RemoveCellGraphicOfType(ACol, ARow, ctEmpty))
        return;
    if (TCellGraphic* graphic = GetCellGraphic(ACol, ARow)) {
        graphic->SetCellErrFrom(0);
        graphic->SetCellErrLen(0);
    }
}

void TAdvStringGrid::RemoveAllMarkers()
{
    ForEveryCell([this](int c, int r) { RemoveMarker(c, r); });
}
