// The skin manager unit's start-up and shut-down, for the program entry:
// the platform family, the "/acver" switch and the process DPI binding.
#pragma once

void sSkinManager_Initialize();
void sSkinManager_Finalize();
