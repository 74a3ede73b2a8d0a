// The fill description and its plain painting.
#include "GDIPFill.h"

void TGDIPFill::Assign(TPersistent* Source)
{
    auto* src = dynamic_cast<TGDIPFill*>(Source);
    if (!src)
        return;
    // One notification for the whole copy.
    BeginUpdate();
    SetColor(src->FColor);
    SetColorTo(src->FColorTo);
    SetColorMirror(src->FColorMirror);
    SetColorMirrorTo(src->FColorMirrorTo);
    SetGradientType(src->FGradientType);
    SetGradientMirrorType(src->FGradientMirrorType);
    SetBorderColor(src->FBorderColor);
    SetBorderWidth(src->FBorderWidth);
    EndUpdate();
    Changed();
}

void TGDIPFill::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
}

void TGDIPFill::Changed()
{
    if (FUpdateCount == 0 && OnChange)
        OnChange(this);
}

void TGDIPFill::Fill(TCanvas* Canvas, const TRect& R) const
{
    if (!Canvas || R.IsEmpty())
        return;
    TBrush* brush = Canvas->GetBrush();
    brush->SetStyle(bsSolid);
    // Path and texture kinds need what this version does not draw yet.
    auto area = [&](TAdvGradientType kind, TColor color, const TRect& part) {
        if (color == clNone || kind == gtNone || kind == gtPath || kind == gtTexture)
            return;
        brush->SetColor(color);
        Canvas->FillRect(part);
    };
    const bool oneArea = FGradientType == gtHatch || FGradientType == gtTexture || FColorMirror == clNone;
    if (oneArea) {
        area(FGradientType, FColor, R);
    } else {
        // The halves overlap by two pixels around the middle.
        const int half = R.Height() / 2;
        area(FGradientType, FColor, TRect(R.left, R.top, R.right, R.bottom - half + 1));
        area(FGradientMirrorType, FColorMirror, TRect(R.left, R.top + half - 1, R.right, R.bottom));
    }
    if (FBorderWidth > 0 && FBorderColor != clNone) {
        TPen* pen = Canvas->GetPen();
        pen->SetStyle(psInsideFrame);
        pen->SetColor(FBorderColor);
        pen->SetWidth(FBorderWidth);
        brush->SetStyle(bsClear);
        Canvas->Rectangle(R);
        pen->SetStyle(psSolid);
        pen->SetWidth(1);
        brush->SetStyle(bsSolid);
    }
}
