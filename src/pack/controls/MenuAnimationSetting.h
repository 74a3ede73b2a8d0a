// Switches the system's menu animation off while the program runs and puts
// the setting found at start back at exit. The change is broadcast only,
// never written to the user's profile, so a program that is killed leaves
// animation off until the user or the system changes it.
#pragma once

// Counted: only the first start-up and the last shut-down act.
void MenuAnimationSetting_Initialize();
void MenuAnimationSetting_Finalize();
