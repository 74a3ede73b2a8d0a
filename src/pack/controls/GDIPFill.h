// A fill description that a control owns as a sub-object: body colours in
// one area or two halves, the kind of gradient per half, and a border.
// Every change fires OnChange unless an update is in progress.
//
// This version paints the body solid in its start colours and the border as
// a plain frame; gradients, opacities, rounding, shadow, glow and pictures
// come later.
#pragma once

#include "AdvGDIP.h"
#include "Graphics.h"
#include "System.h"

class TGDIPFill : public TPersistent {
public:
    TGDIPFill() = default;

    // Copies every value from another fill, then notifies once; any other
    // source changes nothing.
    void Assign(TPersistent* Source) override;
    void BeginUpdate() { ++FUpdateCount; }
    // Lowers the update count; never notifies (the owner repaints itself).
    void EndUpdate();

    // Paints the fill into R.
    void Fill(TCanvas* Canvas, const TRect& R) const;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value) { Set(FColor, Value); }
    TColor GetColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { Set(FColorTo, Value); }
    TColor GetColorMirror() const { return FColorMirror; }
    void SetColorMirror(TColor Value) { Set(FColorMirror, Value); }
    TColor GetColorMirrorTo() const { return FColorMirrorTo; }
    void SetColorMirrorTo(TColor Value) { Set(FColorMirrorTo, Value); }
    TAdvGradientType GetGradientType() const { return FGradientType; }
    void SetGradientType(TAdvGradientType Value) { Set(FGradientType, Value); }
    TAdvGradientType GetGradientMirrorType() const { return FGradientMirrorType; }
    void SetGradientMirrorType(TAdvGradientType Value) { Set(FGradientMirrorType, Value); }
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value) { Set(FBorderColor, Value); }
    int GetBorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int Value) { Set(FBorderWidth, Value); }

    TNotifyEvent OnChange;

private:
    template <class T>
    void Set(T& field, T value)
    {
        if (StoreChanged(field, value))
            Changed();
    }
    void Changed();

    TColor FColor = 0xC0C0C0;
    TColor FColorTo = 0x808080;
    TColor FColorMirror = clNone;
    TColor FColorMirrorTo = clNone;
    TAdvGradientType FGradientType = gtVertical;
    TAdvGradientType FGradientMirrorType = gtSolid;
    TColor FBorderColor = clNone;
    int FBorderWidth = 1;
    int FUpdateCount = 0;
};
