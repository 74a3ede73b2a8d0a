// What an inventory run changes in the main window. The worker writes these
// changes in a fixed order; the window applies them on the main thread.
#pragma once

#include "System.h"

class TInventoryTarget {
public:
    virtual ~TInventoryTarget() = default;

    // A cell of the inventory table, addressed as column, row.
    virtual void SetCellText(int ACol, int ARow, const String& Value) = 0;
    // A column's width in pixels.
    virtual void SetColWidth(int ACol, int Value) = 0;
    // The progress gauge.
    virtual void SetGaugeMaximum(int Value) = 0;
    virtual void SetGaugePosition(int Value) = 0;
    virtual void SetGaugeVisible(bool Value) = 0;
    // The enabled state of the "Cancel" button.
    virtual void SetCancelEnabled(bool Value) = 0;
};
