// Visual-styles functions of the drop-down editor controls.
#pragma once

#include "XPVSLoader.h"

XPVS_UNIT_DECLARATIONS(ATXPVS)
