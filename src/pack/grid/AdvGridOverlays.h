// Small windows and bitmaps the grid places over itself: the arrows that
// mark where a moved column or row lands, the layered popup that carries the
// focus frame round the edited cell with the masks it is painted from.
#pragma once

#include "Controls.h"
#include "ExtCtrls.h"
#include "Graphics.h"

enum TArrowDirection { arrUp, arrDown, arrLeft, arrRight };

// A lime arrow-shaped popup; its window region is the arrow's outline.
class TArrowWindow : public TPanel {
public:
    explicit TArrowWindow(TComponent* AOwner);
    // Stores the direction, colours the panel and puts it, hidden, on AOwner.
    void Init(TWinControl* AOwner, TArrowDirection Direction);
    TArrowDirection GetDir() const { return dir_; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;

private:
    TArrowDirection dir_ = arrUp;
};

// The popup of the focus frame; it paints nothing itself: the frame code
// makes it layered and hands it its pixels.
class TGridFocusWindow : public TCustomControl {
public:
    explicit TGridFocusWindow(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
};

// A 32-bit bitmap of premultiplied pixels with a constant opacity.
class TGridAlphaMask : public TBitmap {
public:
    TGridAlphaMask();
    // From another mask: its opacity and the pixels both masks share (the
    // overlap of their sizes); from any other graphic as a bitmap. Either
    // way the result is 32 bits.
    void Assign(TPersistent* Source) override;
    // Takes Bitmap's size and pixels, each multiplied by the red byte of
    // Mask's pixel as alpha. Nothing unless Bitmap and Mask are 24 bits and
    // Mask is at least Bitmap's size. Color takes no part.
    void MergeMask(TBitmap* Mask, TBitmap* Bitmap, TColor Color);
    Byte GetOpacity() const { return FOpacity; }
    void SetOpacity(Byte Value) { FOpacity = Value; }

private:
    Byte FOpacity = 255;
};

// Bitmap: 24 bits, Width x Height, black with a white rounded rectangle
// (filled when PenWidth < 1, else an outline of PenWidth), blurred by
// BlurRadius when above 0.
void CreateRoundRectMask(TBitmap* Bitmap, int Width, int Height, double BlurRadius, int Rounding, int PenWidth);
// A Gaussian blur for frame masks: only the 20-pixel bands along the edges
// are computed, the uniform middle is copied. Raises for a bitmap that is
// not 24 bits; a Radius of 0 or less leaves the bitmap.
void BlurBitmap(TBitmap* Bitmap, double Radius);

class TAdvStringGrid;

// The popup that follows the mouse while a column header is dragged: the
// look of the grid's cell (0, 0) with the caption, plain or marked up.
class THeaderDragButton : public TCustomControl {
public:
    explicit THeaderDragButton(TComponent* AOwner);
    TAdvStringGrid* GetGrid() const { return FGrid; }
    void SetGrid(TAdvStringGrid* Value) { FGrid = Value; }
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;

private:
    TAdvStringGrid* FGrid = nullptr;
    String FCaption;
    bool FFlat = false;
};

enum TScrollDirection { sdVertical, sdHorizontal };

// A slim scroller drawn inside the grid in place of the system scroll
// bars: a thumb bar over the grid's own background. It pages on a press
// beside the thumb and drags the view with the thumb.
class TScrollControl : public TCustomControl {
public:
    explicit TScrollControl(TComponent* AOwner);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    int GetScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int Value) { FScrollWidth = Value; }
    TScrollDirection GetDirection() const { return FDirection; }
    void SetDirection(TScrollDirection Value) { FDirection = Value; }
    // The thumb as painted, in client coordinates; empty when every row
    // (column) shows or the parent is no data grid.
    TRect ThumbRect();

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Paint() override;

private:
    TAdvStringGrid* Grid() const;
    TColor FColor = 0xC0C0C0;
    int FScrollWidth = 4;
    TScrollDirection FDirection = sdVertical;
    bool FDragging = false;
    int FPressAt = 0;
    int FPressFirst = 0;
};
