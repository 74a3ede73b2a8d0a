// The program entry: every unit's start-up in link order, the Russian thread
// locale, the application with its main window and message loop, then the
// shut-downs in reverse.
#include <windows.h>
#include "ProgramUnits.h"
#include "Unit1.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    InitializeProgramUnits();
    SetThreadLocale(MAKELCID(1049, SORT_DEFAULT));
    Application->Initialize();
    Application->SetTitle(L"Tavelin");
    Application->CreateForm(Form1);
    Application->Run();
    FreeAndNil(Form1);
    FinalizeProgramUnits();
    return 0;
}
