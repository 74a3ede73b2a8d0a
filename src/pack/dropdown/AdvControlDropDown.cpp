#include "AdvDropDown.h"

void TAdvControlDropDown::Loaded()
{
    TAdvDropDown::Loaded();
    if (!ComponentState().Contains(csDesigning))
        PlaceControl();
}
