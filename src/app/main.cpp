// The program entry: unit initializations in link order, the main window and
// its message loop, then the finalizations in reverse.
#include <windows.h>
#include "ComObj.h"
#include "Forms.h"
#include "SysUtils.h"
#include "Unit1.h"
#include "acGraphicsStartup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // Run time: the run-time library, then the class library.
    SysUtils_Initialize();
    ComObj_Initialize();
    Graphics_Initialize();
    Controls_Initialize();
    Forms_Initialize();
    // Skin library.
    SkinGraphics_Initialize();
    // Application.
    Unit1_Initialize();

    int result = RunMainWindow();

    Unit1_Finalize();
    SkinGraphics_Finalize();
    Forms_Finalize();
    Controls_Finalize();
    Graphics_Finalize();
    ComObj_Finalize();
    SysUtils_Finalize();
    return result;
}
