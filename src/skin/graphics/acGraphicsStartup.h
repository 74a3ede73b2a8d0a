// Start-up and shut-down of the skin library's graphics units in their
// fixed order. The program entry calls these after the run-time and class
// libraries (the screen takes the library's cursor) and before the
// component pack.
#pragma once

void SkinGraphics_Initialize();
void SkinGraphics_Finalize();
