// The default manager's application hooks: the application window's
// messages and the thread-wide window hook that skins dialogs and popup
// menus. Only one manager, the default one, holds them at a time.
#include "sSkinManager.h"

// The hook procedures are not written yet: a default manager notes that it
// holds the hooks, so that the hand-over between defaults stays right.
void TsSkinManager::InstallHook()
{
    if (IsDefault())
        GlobalHookInstalled = true;
}

void TsSkinManager::UninstallHook()
{
    GlobalHookInstalled = false;
}
