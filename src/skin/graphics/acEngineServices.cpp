#include "acEngineServices.h"
#include "PlatformProbe.h"

bool IsAeroEnabled()
{
    const TPlatformProbe& probe = PlatformProbe();
    return probe.IsVistaOrLater() && probe.CompositionEnabled;
}
