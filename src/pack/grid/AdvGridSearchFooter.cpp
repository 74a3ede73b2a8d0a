// The search bar under the grid's cells.
#include "AdvGrid.h"

void TSearchPanel::FocusSearchEdit()
{
    if (CanFocus())
        SetFocus();
}
