// Library-wide switches and sizes that the skin engine, the window handlers
// and the skinned components read, with their start values.
#pragma once

#include "Controls.h"

// Transparency of disabled content over its background.
extern Byte DisabledContentBlend;
// Weight of a disabled control's text colour against its parent's colour.
extern Byte DisabledFontBlend;
// Edit-kind controls take hot colours on hover only while set; nothing here sets it.
extern bool HoverEditColors;
// Title fonts take the default character set.
extern bool UseDefaultCharset;
// Taskbar thumbnails and iconic representations are answered.
extern bool TaskbarThumbnails;
// When set, repainted forms tell this control with command 3.
extern TWinControl* RepaintListenerControl;

// Sizes the default skin manager rescales when the scale changes.
struct TLibraryMetrics {
    int ArrowSize = 7;
    int ArrowHalf = 4;        // rounded up
    int SmallMargin = 4;
    int SmallMargin2 = 5;
    int Sizes[4] = {16, 6, 2, 16};
    int MessageFontSize = 0;  // of the screen's message font, read at start-up
};
extern TLibraryMetrics LibraryMetrics;

void acLibraryGlobals_Initialize();
