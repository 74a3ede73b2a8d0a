// The cell button under the mouse, which the painter draws hot. Only the
// button's own rectangle counts (as the last paint placed it), not the rest
// of its cell; leaving the grid leaves no button hot.
#include "AdvGrid.h"

void TAdvStringGrid::TrackHoverButton(int ACol, int ARow, int X, int Y)
{
    TPoint hovered{-1, -1};
    if (ACol >= 0 && ARow >= 0 && ACol < GetColCount() && ARow < GetRowCount()) {
        const int RCol = RealColIndex(ACol);
        TRect button;
        switch (GetCellGraphicType(RCol, ARow)) {
        case ctButton:
        case ctBitButton:
            GetCellGraphicRect(ACol, ARow, button);
            break;
        case ctExpand:
            GetExpandButtonRect(RCol, ARow, button);
            break;
        default:
            break;
        }
        const POINT at{X, Y};
        if (PtInRect(&button, at))
            hovered = TPoint{ACol, ARow};
    }
    if (hovered == FHoverButton)
        return;
    const TPoint old = FHoverButton;
    FHoverButton = hovered;
    if (old.x >= 0 && old.y >= 0)
        RepaintCell(old.x, old.y);
    if (hovered.x >= 0)
        RepaintCell(hovered.x, hovered.y);
}
