// Process-wide start-up of the suite.
#include "DropDownSurface.h"

namespace {

// Wine creates a few GDI objects for good the first time a process draws on
// a DIB (stock objects made on demand, font caches); drawing once here keeps
// them out of the tests' leak checks.
class DropDownEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        TDropDownSurface surface(8, 8, RGB(255, 255, 255));
        surface.Canvas()->Rectangle(0, 0, 4, 4);
        surface.Canvas()->TextOut(0, 0, L"Wg");
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new DropDownEnvironment);

} // namespace
