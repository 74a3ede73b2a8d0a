// What the grid's exchanges through automation servers share: starting an
// application and quitting the one an exchange started, however it ends.
#pragma once

#include "ComObj.h"

namespace advgrid_automation {

// A spreadsheet's column letters: "A" for 1, "Z" for 26, "AA" for 27, "ZZ"
// for 702, "AAA" for 703; and back, 0 for a text that is no such letters.
String ColumnLetters(int Column);
int ColumnNumber(const String& Letters);

// A new application. A server that is not registered fails at once; one
// that could not start in time, or that was still going away after an
// earlier exchange quit it, gets two more chances.
Variant StartApplication(const wchar_t* ProgId);

// Quits an application the exchange started; one it attached to stays open.
class TStartedApplication {
public:
    TStartedApplication(Variant& App, bool Started) : FApp(App), FStarted(Started) {}
    ~TStartedApplication();
    TStartedApplication(const TStartedApplication&) = delete;
    TStartedApplication& operator=(const TStartedApplication&) = delete;

private:
    Variant& FApp;
    bool FStarted;
};

} // namespace advgrid_automation
