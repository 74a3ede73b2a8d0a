// Process-wide start-up of the suite: the units the drop-down unit uses, in
// the program's order.
#include "DropDownSurface.h"
#include "GridHTML.h"
#include "SysUtils.h"

namespace {

class DropDownEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        SysUtils_Initialize();
        GridHTML_Initialize();
        // Wine creates a few GDI objects for good the first time a process
        // draws on a bitmap (stock objects made on demand, font caches);
        // drawing once here keeps them out of the tests' leak checks.
        TDropDownSurface surface(8, 8, RGB(255, 255, 255));
        surface.Canvas()->Rectangle(0, 0, 4, 4);
        surface.Canvas()->TextOut(0, 0, L"Wg");
    }
    void TearDown() override
    {
        GridHTML_Finalize();
        SysUtils_Finalize();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new DropDownEnvironment);

} // namespace
