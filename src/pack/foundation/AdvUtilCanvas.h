// Inside AdvUtil: text through DrawTextW with the canvas's font and colours.
#pragma once

#include "GdiHandles.h"
#include "Graphics.h"

namespace advutil {

// DrawTextW on the canvas's DC with its font, text colour and brush (a clear
// brush draws no background); the DC is as it was afterwards.
inline int CanvasDrawText(TCanvas* Canvas, const String& Text, RECT& R, UINT Format)
{
    HDC dc = Canvas->GetHandle();
    TSavedDC saved(dc);
    TSelectObject font(dc, Canvas->GetFont()->GetHandle());
    SetTextColor(dc, ColorToRGB(Canvas->GetFont()->GetColor()));
    TBrush* brush = Canvas->GetBrush();
    SetBkColor(dc, ColorToRGB(brush->GetColor()));
    SetBkMode(dc, brush->GetStyle() == bsClear ? TRANSPARENT : OPAQUE);
    return DrawTextW(dc, Text.c_str(), static_cast<int>(Text.size()), &R, Format);
}

} // namespace advutil
