// Visual-styles functions of the combo box and the image picker.
#pragma once

#include "XPVSLoader.h"

XPVS_UNIT_DECLARATIONS(ACXPVS)
