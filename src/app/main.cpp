// The program entry: unit initializations in link order, the main window and
// its message loop, then the finalizations in reverse.
#include <windows.h>
#include "Unit1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    Unit1_Initialize();
    int result = RunMainWindow();
    Unit1_Finalize();
    return result;
}
