// The colour picker drop-down and its four choosers: a list of named colours
// (the item selector), a grid of colour boxes, a honeycomb colour cube and a
// spectrum picture to pick any pixel from.
#pragma once

#include "AdvDropDownSelector.h"
#include "ExtCtrls.h"

// ---------------------------------------------------------------------------
// The panels' common base.

class TAdvCustomColorSelectorPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    // Raised on a mouse release over the cube or the spectrum.
    TNotifyEvent OnShouldHide;

protected:
    void ShouldHide()
    {
        if (OnShouldHide)
            OnShouldHide(this);
    }
};

// ---------------------------------------------------------------------------
// The colour cube: 127 hexagonal cells of a fixed web palette, numbered 1..127.

class TAdvColorCubePanel : public TAdvCustomColorSelectorPanel {
public:
    static constexpr int CellCount = 127;

    explicit TAdvColorCubePanel(TComponent* AOwner);

    void InitCells();
    void ResetHotCell();
    // Color becomes the selection; Index in 1..127 names the cell, any other
    // value looks the colour up (-1 when no cell has it). No repaint.
    void SelectCell(TColor Color, int Index);
    int CellAtPos(int X, int Y) const;
    bool PointInCell(int Index, int X, int Y) const;
    POINT GetCellCenter(int Index) const;
    TColor GetCellColor(int Index) const;
    void DrawCell(int Index);
    void DrawCells();
    void DrawHexagon(TCanvas* Canvas, POINT Center, int X, int Y);

    TColor GetSelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value) { SelectCell(Value, -1); }
    int GetSelectedIndex() const { return FSelectedIndex; }
    int GetHotIndex() const { return FHotIndex; }
    bool GetShowRGBHint() const { return FShowRGBHint; }
    void SetShowRGBHint(bool Value);

    TNotifyEvent OnSelect;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    struct Cell {
        POINT center;
        TColor color;
    };
    bool IsCell(int Index) const { return Index >= 1 && Index <= CellCount; }
    void DrawFrame(TCanvas* Canvas, POINT Center, TColor Outer);

    Cell FCubeCells[CellCount + 1] = {};
    POINT FCubeSize{6, 3};
    TColor FSelectedColor = clNone;
    int FSelectedIndex = -1;
    int FHotIndex = -1;
    bool FShowRGBHint = true;
};

// ---------------------------------------------------------------------------
// The spectrum: a 128 x 128 picture with a swatch of the colour under the
// mouse and one of the chosen colour.

// The screen cursor number of the spectrum's pipette.
constexpr TCursor crPackPointer = 54;

class TAdvColorSpectrumPanel : public TAdvCustomColorSelectorPanel {
public:
    explicit TAdvColorSpectrumPanel(TComponent* AOwner);

    void ArrangeSpectrum();
    void DrawHotSwatch();
    void DrawSelectedSwatch();

    TColor GetSelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value) { FSelectedColor = Value; }
    TColor GetHotColor() const { return FHotColor; }
    TImage* GetSpectrumImage() const { return FSpectrumImage; }
    TRect GetHotRect() const { return FHotRect; }
    TRect GetSelectedRect() const { return FSelectedRect; }

    TNotifyEvent OnSelect;

protected:
    void Paint() override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void ImageMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void ImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void DrawSwatch(const TRect& R, TColor Color);

    TImage* FSpectrumImage = nullptr;
    TColor FHotColor = clNone;
    TColor FSelectedColor = clWhite;
    TRect FHotRect;
    TRect FSelectedRect;
};

// ---------------------------------------------------------------------------
// The colour box selector.

enum TItemPos { ipStandAlone, ipTop, ipMiddle, ipBottom };

class TColorBoxAppearance : public TPersistent {
public:
    void Assign(TPersistent* Source) override;

    TNotifyEvent OnChange;
    TColor BorderColor = RGB(197, 197, 197);
    TColor OuterBorderColorHot = RGB(242, 148, 54);
    TColor InnerBorderColorHot = RGB(255, 226, 148);
    TColor OuterBorderColorSelected = RGB(255, 0, 0);
    TColor InnerBorderColorSelected = RGB(255, 226, 148);
};

class TColorBoxItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    void Assign(TPersistent* Source) override;

    TColor GetColor() const { return FColor; }
    // A different colour is reported to the collection.
    void SetColor(TColor Value);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    const TRect& GetRect() const { return FRect; }
    void SetRect(const TRect& Value) { FRect = Value; }
    TItemPos GetColorBoxPos() const { return FColorBoxPos; }
    void SetColorBoxPos(TItemPos Value) { FColorBoxPos = Value; }

private:
    TColor FColor = clNone;
    bool FEnabled = true;
    TRect FRect;
    TItemPos FColorBoxPos = ipStandAlone;
};

class TColorBoxItems : public TCollection {
public:
    explicit TColorBoxItems(TPersistent* AOwner) : TCollection(ItemClass<TColorBoxItem>(), AOwner) {}
    TColorBoxItem* Add() { return static_cast<TColorBoxItem*>(TCollection::Add()); }
    TColorBoxItem* Insert(int Index) { return static_cast<TColorBoxItem*>(TCollection::Insert(Index)); }
    TColorBoxItem* GetItem(int Index) const { return static_cast<TColorBoxItem*>(TCollection::GetItem(Index)); }
    void DoChange()
    {
        if (OnChange)
            OnChange(this);
    }

    TNotifyEvent OnChange;
};

class TCustomColorSelector : public TAdvCustomColorSelectorPanel {
public:
    explicit TCustomColorSelector(TComponent* AOwner);

    virtual void DrawItem(int Index, TCanvas* Canvas);
    virtual void GetItemArea(TRect& Rect);
    virtual void GetBoxSize(TSize& Size);
    virtual void ArrangeItems();
    virtual void InvalidateItem(int Index);

    void AddDefaultColorBoxes();
    TRect GetItemRect(int Index) const;
    int ItemAtPos(int X, int Y) const;
    void SelectFirst();
    void SelectLast();
    void SelectNext();
    void SelectPrevious();
    void HotNext();
    void HotPrevious();
    void HandleKey(Word Key, bool EditorEnabled, bool DroppedDown);

    int GetItemIndex() const { return FItemIndex; }
    // An index at or beyond Count, or naming a disabled box, is ignored.
    void SetItemIndex(int Value);
    int GetItemHot() const { return FItemHot; }
    void SetItemHot(int Value);
    TColorBoxItems* GetItems() const { return FItems.get(); }
    void SetItems(TColorBoxItems* Value) { FItems->Assign(Value); }
    TColorBoxAppearance* GetColorBoxAppearance() const { return FColorBoxAppearance.get(); }
    void SetColorBoxAppearance(TColorBoxAppearance* Value) { FColorBoxAppearance->Assign(Value); }
    int GetColumns() const { return FColumns; }
    void SetColumns(int Value);
    int GetColumnGap() const { return FColumnGap; }
    void SetColumnGap(int Value);
    int GetColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value);
    int GetColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value);
    TSelectionColorStyle GetItemColorStyle() const { return FItemColorStyle; }
    void SetItemColorStyle(TSelectionColorStyle Value);
    TColor GetSelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);

    TNotifyEvent OnItemSelect;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseLeave() override;

private:
    bool IsItem(int Index) const { return Index >= 0 && Index < FItems->Count(); }
    bool IsDisabled(int Index) const { return IsItem(Index) && !FItems->GetItem(Index)->GetEnabled(); }

    int FItemIndex = -1;
    int FItemHot = -1;
    int FOffSetX = 4;
    int FOffSetY = 4;
    int FColumns = 10;
    int FColumnGap = 4;
    int FColorBoxHeight = 12;
    int FColorBoxWidth = 12;
    TOwned<TColorBoxAppearance> FColorBoxAppearance;
    TOwned<TColorBoxItems> FItems;
    TSelectionColorStyle FItemColorStyle = scCustom;
    TColor FSelectedColor = clNone;
};

// ---------------------------------------------------------------------------
// The picker.

enum TColorSelectionStyle { csList, csDiscrete, csColorCube, csSpectrum };
enum TColorValueText { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

class TColorItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    void Assign(TPersistent* Source) override;

    // These two report a different value to the collection.
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value) { FEnabled = Value; }
    const TRect& GetRect() const { return FRect; }
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }

private:
    void ItemChanged();
    String FCaption;
    TColor FColor = clNone;
    bool FEnabled = true;
    TRect FRect;
    String FHint;
};

class TColorItems : public TCollection {
public:
    explicit TColorItems(TPersistent* AOwner) : TCollection(ItemClass<TColorItem>(), AOwner) {}
    TColorItem* Add() { return static_cast<TColorItem*>(TCollection::Add()); }
    TColorItem* Insert(int Index) { return static_cast<TColorItem*>(TCollection::Insert(Index)); }
    TColorItem* GetItem(int Index) const { return static_cast<TColorItem*>(TCollection::GetItem(Index)); }
    void DoChange()
    {
        if (OnChange)
            OnChange(this);
    }

    TNotifyEvent OnChange;
};

using TOnDrawSelectedColor = std::function<void(TObject* Sender, TCanvas* Canvas, TRect R)>;

class TAdvColorPickerDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvColorPickerDropDown(TComponent* AOwner);
    void AfterConstruction() override;
    ~TAdvColorPickerDropDown() override;

    void AddDefaultColors();
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    TColorItems* GetColors() const { return FColors.get(); }
    void SetColors(TColorItems* Value) { FColors->Assign(Value); }
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TColor GetSelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    String GetSelectedColorText() { return GetColorValueText(); }
    virtual String GetColorValueText();

    int GetColumns() const { return FColumns; }
    void SetColumns(int Value) { FColumns = Value; }
    TItemLayout GetLayout() const { return FLayout; }
    void SetLayout(TItemLayout Value) { FLayout = Value; }
    int GetColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value) { FColorBoxHeight = Value; }
    int GetColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value) { FColorBoxWidth = Value; }
    TItemAppearance* GetItemAppearance() const { return FItemAppearance.get(); }
    void SetItemAppearance(TItemAppearance* Value) { FItemAppearance->Assign(Value); }
    bool GetShowText() const { return FShowText; }
    void SetShowText(bool Value);
    TColorValueText GetColorValueTextFormat() const { return FColorValueText; }
    void SetColorValueText(TColorValueText Value);
    TColorSelectionStyle GetColorSelectionStyle() const { return FColorSelectionStyle; }
    void SetColorSelectionStyle(TColorSelectionStyle Value);

    TAdvCustomItemSelector* GetItemSelector() const { return FItemSelector; }
    TCustomColorSelector* GetColorSelector() const { return FColorSelector; }
    TAdvColorCubePanel* GetColorCubePanel() const { return FColorCubePanel; }
    TAdvColorSpectrumPanel* GetSpectrumPanel() const { return FSpectrumPanel; }
    const String& GetCurSearch() const { return FCurSearch; }
    TTimer* GetKeyTimer() const { return FKeyTimer; }

    void BeforeDropDown() override;
    void PlaceControl() override;
    void AdjustDropDownSize() override;
    void CloseDropDown(bool Cancel) override;
    void DropDownFormDestroyed() override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void STDMETHODCALLTYPE SetComponentStyle(TPackStyle AStyle) override;

    TNotifyEvent OnSelect;
    TOnDrawSelectedColor OnDrawSelectedColor;
    AdvDropDown::TDrawItemEvent OnDrawColor;

protected:
    void CreateDropDownForm() override;
    void Loaded() override;
    void CreateWnd() override;
    void Dispatch(TMessage& Message) override;
    void WheelDown() override;
    void WheelUp() override;
    void PaintEditArea() override;

private:
    void CreateItemSelector();
    void CreateColorSelector();
    void CreateCubePanel();
    void CreateSpectrumPanel();
    void CreateStyleChooser();
    void InstallStyle();
    void RefillItemSelector();
    void ConfigureItemSelector();
    void ItemSelectorSelect(TObject* Sender);
    void ColorSelectorSelect(TObject* Sender);
    void CubeSelect(TObject* Sender);
    void SpectrumSelect(TObject* Sender);
    void KeyTimerExpired(TObject* Sender);
    void PaintSelectedColor();
    void HandleColorKeyDown(TMessage& Message);
    void SelectInList(int Index);
    void SelectFirstColor();
    void SelectLastColor();
    void SelectNextColor();
    void SelectPreviousColor();
    TControl* StyleChooser() const;
    void SizeForChooser();

    int FUpdateCount = 0;
    TAdvCustomItemSelector* FItemSelector = nullptr;
    TAdvColorCubePanel* FColorCubePanel = nullptr;
    TAdvColorSpectrumPanel* FSpectrumPanel = nullptr;
    TCustomColorSelector* FColorSelector = nullptr;
    int FColumns = 1;
    TItemLayout FLayout = ilCaptionRight;
    TOwned<TColorItems> FColors;
    int FItemIndex = -1;
    int FColorBoxWidth = 14;
    int FColorBoxHeight = 14;
    TColorSelectionStyle FColorSelectionStyle = csList;
    TColor FSelectedColor = clNone;
    bool FShowText = true;
    TOwned<TItemAppearance> FItemAppearance;
    bool FInternalCall = false;
    TTimer* FKeyTimer = nullptr;
    String FCurSearch;
    int FOldItemIndex = -1;
    TColor FOldSelectedColor = clNone;
    bool FDesignTime = false;
    TColorValueText FColorValueText = cvtNone;
    bool FDestroying = false;
};
