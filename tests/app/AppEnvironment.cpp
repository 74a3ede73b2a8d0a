// Start-up and shut-down of every unit for the whole suite, in the order the
// program entry runs them.
#include <gtest/gtest.h>
#include "Forms.h"
#include "ProgramUnits.h"

namespace {

class TAppEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        InitializeProgramUnits();
        Application->Initialize();
    }
    void TearDown() override { FinalizeProgramUnits(); }
};

const auto* const environment = testing::AddGlobalTestEnvironment(new TAppEnvironment);

} // namespace
