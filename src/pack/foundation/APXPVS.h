// Visual-styles functions of the panels, which also ask for part sizes.
#pragma once

#include "XPVSLoader.h"

XPVS_UNIT_DECLARATIONS(APXPVS)

namespace APXPVS {
XPVS_DECLARE(GetThemePartSize)
}
