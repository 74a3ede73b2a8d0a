// What the graphics units need of the skin engine before the engine itself
// exists: the composition query and the skin loader's image record. The
// engine builds on these instead of declaring its own.
#pragma once

#include "System.h"

class TBitmap;

// Whether desktop composition is on: never before Windows 6.
bool IsAeroEnabled();

// One image as the skin loader reads it.
struct TacExtFileData {
    TBitmap* Bmp = nullptr;
    String FileName;
    Integer MaskType = 0;
};
