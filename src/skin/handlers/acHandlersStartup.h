// Start-up and shut-down of the window handlers' unit, for the program
// entry: the scroll-bar and flat scroll-bar entry points bound by name.
#pragma once

void acSBUtils_Initialize();
void acSBUtils_Finalize();
