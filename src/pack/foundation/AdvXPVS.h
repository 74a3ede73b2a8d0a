// Visual-styles functions of the grid and its auxiliary objects, the grid's
// HTML renderer and the shared glyph drawing.
#pragma once

#include "XPVSLoader.h"

XPVS_UNIT_DECLARATIONS(AdvXPVS)
