// The graphic or in-cell control a data grid cell can carry besides its
// text, kept in the cell's properties: the kinds and the record that holds
// one of them. What each field means depends on the kind.
#pragma once

#include "Graphics.h"
#include "StdCtrls.h"
#include "Variants.h"

class TIntList;
class TFilePicture;

enum TCellType {
    ctBitmap, ctIcon, ctNone, ctImageList, ctCheckBox, ctDataCheckBox, ctRotated, ctDataImage, ctNode, ctRadio,
    ctEmpty, ctImages, ctPicture, ctFilePicture, ctValue, ctProgress, ctComment, ctButton, ctBitButton,
    ctVirtCheckBox, ctRowCheckBox, ctProgressPie, ctSummary, ctRangeIndicator, ctXPProgress, ctInterface,
    ctScrollbar, ctRadioButton, ctBalloon, ctShape, ctRating, ctTriStateCheckBox, ctExpand
};
enum TCellHAlign { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
// Which other radio buttons a ctRadioButton unchecks when it is checked.
enum TRadioButtonGroup { rgNone, rgCol, rgRow };
enum TStretchMode { noStretch, Stretch, StretchWithAspectRatio, Shrink, ShrinkWithAspectRatio };
enum TBalloonIcon { biNone, biInfo, biWarning, biError };
// An in-cell scroll bar's page and range.
struct TScrollProp {
    int PageSize = 0;
    int Range = 0;
};

// An object that a ctInterface cell shows; it draws itself and tells its
// size (0 in a dimension: the cell's).
class TInterfacedPersistent : public TPersistent {
public:
    virtual TSize GetCellSize() const { return {0, 0}; }
    virtual void Draw(TCanvas* Canvas, const TRect& R) {}
};

// A new record is ctNone with every other field zero or empty.
class TBaseCellGraphic : public TPersistent {
public:
    // Frees what the record owns for its kind.
    ~TBaseCellGraphic() override;
    // Copies the published fields of another record (not CellCheckBoxState)
    // and CellCreated. The object slots are not copied: what this record
    // owned is freed and its slots are emptied first, so that no record
    // ends up owning an object it did not create.
    void Assign(TPersistent* Source) override;

    // --- typed setters: the kind and its fields, nothing else
    void SetBitmap(TBitmap* ABmp, bool Transparent, TCellHAlign hal, TCellVAlign val);
    void SetIcon(TIcon* AIcon, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    // A horizontal strip for dir 0; the graphic owns the new index list.
    void SetMultiImage(int Col, int Row, int dir, TCellHAlign hal, TCellVAlign val);
    void SetPicture(TPicture* APicture, bool Transparent, int StretchMode, int padding, TCellHAlign hal,
                    TCellVAlign val);
    void SetFilePicture(TFilePicture* APicture, bool Transparent, int StretchMode, int padding, TCellHAlign hal,
                        TCellVAlign val);
    void SetCheckBox(bool Value, bool Data, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState Value, bool Flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool Value, bool Flat, TCellHAlign hal, TCellVAlign val, TRadioButtonGroup Group);
    // The size packed in CellIndex: width in the low 16 bits, height in the high.
    void SetButton(int bw, int bh, const String& Caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const String& Caption, TBitmap* Glyph, TCellHAlign hal, TCellVAlign val);
    void SetInterfacedCell(TInterfacedPersistent* AObject);
    // ctRotated with the angle brought into 0 .. 360 (360 itself stays).
    void SetAngle(int AAngle);
    // The size a picture takes in a cw x rh cell by its stretch mode, for
    // ctPicture and ctFilePicture; other kinds leave Size as it is.
    void GetPictureSize(int cw, int rh, bool HasText, TPoint& Size) const;
    // Frees what the record owns for its kind and empties both slots.
    void ReleaseOwned();

    // The virtual and row check boxes: one object serves many cells and
    // belongs to none of them.
    bool IsShared() const { return FCellType == ctVirtCheckBox || FCellType == ctRowCheckBox; }

    // --- published fields
    TCellType GetCellType() const { return FCellType; }
    void SetCellType(TCellType Value) { FCellType = Value; }
    TCellVAlign GetCellVAlign() const { return FCellVAlign; }
    void SetCellVAlign(TCellVAlign Value) { FCellVAlign = Value; }
    TCellHAlign GetCellHAlign() const { return FCellHAlign; }
    void SetCellHAlign(TCellHAlign Value) { FCellHAlign = Value; }
    int GetCellIndex() const { return FCellIndex; }
    void SetCellIndex(int Value) { FCellIndex = Value; }
    bool GetCellTransparent() const { return FCellTransparent; }
    void SetCellTransparent(bool Value) { FCellTransparent = Value; }
    // The objects in the slots were made by the grid and belong to the record.
    bool GetCellCreated() const { return FCellCreated; }
    void SetCellCreated(bool Value) { FCellCreated = Value; }
    bool GetCellBoolean() const { return FCellBoolean; }
    void SetCellBoolean(bool Value) { FCellBoolean = Value; }
    TCheckBoxState GetCellCheckBoxState() const { return FCellCheckBoxState; }
    void SetCellCheckBoxState(TCheckBoxState Value) { FCellCheckBoxState = Value; }
    int GetCellAngle() const { return FCellAngle; }
    void SetCellAngle(int Value) { FCellAngle = Value; }
    double GetCellValue() const { return FCellValue; }
    void SetCellValue(double Value) { FCellValue = Value; }
    int GetCellErrFrom() const { return FCellErrFrom; }
    void SetCellErrFrom(int Value) { FCellErrFrom = Value; }
    int GetCellErrLen() const { return FCellErrLen; }
    void SetCellErrLen(int Value) { FCellErrLen = Value; }
    const String& GetCellText() const { return FCellText; }
    void SetCellText(const String& Value) { FCellText = Value; }

    // --- slots, by kind: a TBitmap, TPicture, TFilePicture, TStrings or
    // TIntList; and a TIcon
    TObject* GetCellBitmap() const { return FCellBitmap; }
    void SetCellBitmap(TObject* Value) { FCellBitmap = Value; }
    TIcon* GetCellIcon() const { return FCellIcon; }
    void SetCellIcon(TIcon* Value) { FCellIcon = Value; }
    Variant CellVar;

private:
    TCellType FCellType = ctNone;
    TObject* FCellBitmap = nullptr;
    TIcon* FCellIcon = nullptr;
    TCellVAlign FCellVAlign = vaTop;
    TCellHAlign FCellHAlign = haLeft;
    int FCellIndex = 0;
    bool FCellTransparent = false;
    bool FCellCreated = false;
    bool FCellBoolean = false;
    int FCellAngle = 0;
    double FCellValue = 0;
    int FCellErrFrom = 0;
    int FCellErrLen = 0;
    String FCellText;
    TCheckBoxState FCellCheckBoxState = cbUnchecked;
};

class TCellGraphic : public TBaseCellGraphic {
public:
    // Also copies the comment and its colour from another TCellGraphic.
    void Assign(TPersistent* Source) override;

    const String& GetCellComment() const { return FCellComment; }
    void SetCellComment(const String& Value) { FCellComment = Value; }
    TColor GetCommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor Value) { FCommentColor = Value; }

private:
    String FCellComment;
    TColor FCommentColor = 0;
};

// Frees a graphic a cell lets go of when the cell owns it: a TCellGraphic
// record that is not shared. Objects of other classes hung on a cell, derived
// ones included, stay with whoever made them.
void FreeCellGraphic(TObject* Graphic);
