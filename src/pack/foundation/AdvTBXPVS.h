// Visual-styles functions of the toolbar family (no control of this
// program uses them). Loading and unloading are guarded by a critical
// section and counted.
#pragma once

#include "XPVSLoader.h"

XPVS_UNIT_DECLARATIONS(AdvTBXPVS)

namespace AdvTBXPVS {
// How many loads are not yet unloaded.
int ReferenceCount();
}
