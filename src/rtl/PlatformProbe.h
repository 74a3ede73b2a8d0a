// The platform facts that change which way the code goes. Read once from the
// running system; tests overwrite the fields to drive either branch and call
// ResetPlatformProbe afterwards.
#pragma once

#include <windows.h>

struct TPlatformProbe {
    DWORD WindowsMajor = 0;       // 6 for Vista to 8.1, 10 for 10 and 11
    DWORD WindowsMinor = 0;
    DWORD WindowsBuild = 0;
    int ComCtlMajor = 0;          // version of the comctl32 actually loaded
    int ComCtlMinor = 0;
    bool ThemeActive = false;     // a visual style is active for this program
    bool CompositionEnabled = false;
    bool LayeredWindows = false;  // layered windows (alpha, click-through) work
    bool HighContrast = false;    // the system's high-contrast setting is on
    // The angle (90 or 270) by which printers turn landscape pages; 0 leaves
    // it to the printer driver (Wine's turns by 90).
    int PrinterLandscapeAngle = 0;
    // The resolution printers report, in dots per inch; -1 leaves it to the
    // printer driver (Wine's reports 300), 0 stands for a driver reporting none.
    int PrinterPixelsPerInch = -1;
    // An entry point of the comctl32 the process has loaded, looked up
    // whenever asked (null when the module or the entry is missing); tests
    // swap it to drive the branches of entry points a system lacks.
    FARPROC (*ComCtlEntry)(const char* Name) = nullptr;

    bool IsVistaOrLater() const { return WindowsMajor >= 6; }
    bool IsWin7OrLater() const { return WindowsMajor > 6 || (WindowsMajor == 6 && WindowsMinor >= 1); }
    bool IsWin8OrLater() const { return WindowsMajor > 6 || (WindowsMajor == 6 && WindowsMinor >= 2); }
    bool IsWin10OrLater() const { return WindowsMajor >= 10; }
    bool ComCtl6() const { return ComCtlMajor >= 6; }
};

// The process-wide probe, filled from the system on first use.
TPlatformProbe& PlatformProbe();
// Reads the system again, dropping values a test has set.
void ResetPlatformProbe();
