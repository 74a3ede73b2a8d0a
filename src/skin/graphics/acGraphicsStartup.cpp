#include "acGraphicsStartup.h"
#include "acEncodings.h"
#include "acntUtils.h"
#include "sConst.h"

void SkinGraphics_Initialize()
{
    sConst_Initialize();
    acEncodings_Initialize();
    acntUtils_Initialize();
}

void SkinGraphics_Finalize()
{
    acntUtils_Finalize();
    acEncodings_Finalize();
    sConst_Finalize();
}
