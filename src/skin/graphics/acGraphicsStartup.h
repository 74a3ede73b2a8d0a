// Start-up and shut-down of the skin library's graphics units in their
// fixed order. The program entry calls these between the run-time library
// and the component pack.
#pragma once

void SkinGraphics_Initialize();
void SkinGraphics_Finalize();
