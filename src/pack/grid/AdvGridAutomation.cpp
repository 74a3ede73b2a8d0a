#include "AdvGridAutomation.h"

#include <cwctype>

namespace advgrid_automation {

String ColumnLetters(int Column)
{
    String letters;
    for (; Column > 0; Column = (Column - 1) / 26)
        letters.insert(letters.begin(), static_cast<wchar_t>(L'A' + (Column - 1) % 26));
    return letters;
}

int ColumnNumber(const String& Letters)
{
    long long number = 0;
    for (wchar_t c : Letters) {
        const wchar_t upper = static_cast<wchar_t>(std::towupper(c));
        if (upper < L'A' || upper > L'Z' || number > 1000000)
            return 0;
        number = number * 26 + (upper - L'A' + 1);
    }
    return static_cast<int>(number);
}

Variant StartApplication(const wchar_t* ProgId)
{
    for (int attempt = 1;; ++attempt) {
        try {
            return CreateOleObject(ProgId);
        } catch (const EOleSysError& e) {
            const bool unknown = e.ErrorCode == REGDB_E_CLASSNOTREG || e.ErrorCode == CO_E_CLASSSTRING;
            if (unknown || attempt == 3)
                throw;
            Sleep(250 * attempt);
        }
    }
}

TStartedApplication::~TStartedApplication()
{
    if (!FStarted)
        return;
    try {
        FApp.OleProcedure(L"Quit");
    } catch (const Exception&) {
        // An application that will not quit ends with its last reference.
    }
}

} // namespace advgrid_automation
