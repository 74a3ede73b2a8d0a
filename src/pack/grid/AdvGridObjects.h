// The data grid's bookkeeping lists, its option objects and its settings
// objects, one header each. The grid creates them in its constructor,
// publishes them and wires their change events; the behaviour that reads
// them lives with the grid.
#pragma once

#include "AdvGridLists.h"
#include "AdvGridOptions.h"
#include "AdvGridSettings.h"
