#include "acLibraryGlobals.h"

Byte DisabledContentBlend = 100;
Byte DisabledFontBlend = 100;
bool HoverEditColors = false;
bool UseDefaultCharset = true;
bool TaskbarThumbnails = false;
TWinControl* RepaintListenerControl = nullptr;
TLibraryMetrics LibraryMetrics;

void acLibraryGlobals_Initialize()
{
    LibraryMetrics = TLibraryMetrics();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        LibraryMetrics.MessageFontSize = metrics.lfMessageFont.lfHeight;
}
