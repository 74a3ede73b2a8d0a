#include "MenuAnimationSetting.h"
#include <windows.h>

namespace {

int starts = 0;
BOOL animationAtStart = FALSE;

void SetMenuAnimation(BOOL On)
{
    SystemParametersInfoW(SPI_SETMENUANIMATION, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(On)),
                          SPIF_SENDCHANGE);
}

} // namespace

void MenuAnimationSetting_Initialize()
{
    if (starts++ > 0)
        return;
    animationAtStart = FALSE;
    SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &animationAtStart, 0);
    SetMenuAnimation(FALSE);
}

void MenuAnimationSetting_Finalize()
{
    if (starts == 0 || --starts > 0)
        return;
    SetMenuAnimation(animationAtStart);
}
