#include "acGraphicsStartup.h"
#include "acColorTools.h"
#include "acLibraryGlobals.h"
#include "acEncodings.h"
#include "acGdiPlus.h"
#include "acPNG.h"
#include "acntUtils.h"
#include "sConst.h"
#include "sFormRegistry.h"
#include "sGradient.h"
#include "sGraphUtils.h"
#include "sWindowHelpers.h"

// Units of later parts of the library join this order where their comments stand.
void SkinGraphics_Initialize()
{
    sConst_Initialize();
    acLibraryGlobals_Initialize();
    acEncodings_Initialize();
    acGdiPlus_Initialize();
    sGradient_Initialize();
    sFormRegistry_Initialize();
    acPNG_Initialize();
    sGraphUtils_Initialize();
    sWindowHelpers_Initialize();
    acColorTools_Initialize();
    acntUtils_Initialize();
}

void SkinGraphics_Finalize()
{
    acntUtils_Finalize();
    acColorTools_Finalize();
    sWindowHelpers_Finalize();
    sGraphUtils_Finalize();
    acPNG_Finalize();
    sFormRegistry_Finalize();
    sGradient_Finalize();
    acGdiPlus_Finalize();
    acEncodings_Finalize();
    sConst_Finalize();
}
