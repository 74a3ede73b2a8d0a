// Soft shadow bitmaps for window shadows, popup shadows and glow masks.
#pragma once

#include "sConst.h"

// A new 32-bit bitmap (the caller owns it), 2 * Radius + ExtraWidth + 1
// wide and 2 * Radius + ExtraHeight + Offset + 1 high: a blurred rounded
// shadow whose top Offset rows stay empty. Color is 0xAABBGGRR. Normal mode
// gives premultiplied colour with fading alpha; GreyMode an opaque grey mask
// on white.
TBitmap* MakeShadowBitmap(Cardinal Color, int Radius, int Offset, int ExtraHeight, int ExtraWidth,
                          int Blur, bool GreyMode);
