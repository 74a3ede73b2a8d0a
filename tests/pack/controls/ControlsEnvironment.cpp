// Start-up and shut-down of the visual units for the whole suite, as the
// program entry does them.
#include <gtest/gtest.h>
#include "Forms.h"

namespace {

class TControlsEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        Controls_Initialize();
        Forms_Initialize();
        Application->Initialize();
    }
    void TearDown() override
    {
        Forms_Finalize();
        Controls_Finalize();
    }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new TControlsEnvironment);

} // namespace
